#include "qr_counters.h"

qr_mutex& qr_counters_mutex()
{
    static qr_mutex m;
    return m;
}

qr_connection_counters& qr_counters()
{
    static qr_connection_counters c;
    return c;
}

qr_connection_counters qr_counters_snapshot()
{
    qr_automutex lk(qr_counters_mutex());
    return qr_counters();
}

void qr_counters_add(int qr_connection_counters::*counter, int delta)
{
    qr_automutex lk(qr_counters_mutex());
    qr_counters().*counter += delta;
}
