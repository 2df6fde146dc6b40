// Process-wide connection counters of the connection-serving frame, all
// guarded by one counters mutex. DBconn is kept by the connection pools.
// Failed is not stored: it is Total - Succeeded - Active.
#pragma once

#include "qr_sync.h"

struct qr_connection_counters {
    int Total = 0;      // connections accepted and started
    int Active = 0;     // handlers running or threads finishing
    int Succeeded = 0;  // handler calls that returned normally
    int DBconn = 0;     // pooled database connections lent and not yet returned
    int Failed() const { return Total - Succeeded - Active; }
};

// The counters mutex; hold it while reading or changing the counters.
qr_mutex& qr_counters_mutex();
// The counters themselves.
qr_connection_counters& qr_counters() REQUIRES(qr_counters_mutex());
// A consistent copy, taken under the counters mutex.
qr_connection_counters qr_counters_snapshot();
// Adds delta to one counter under the counters mutex.
void qr_counters_add(int qr_connection_counters::*counter, int delta);
