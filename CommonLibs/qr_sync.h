// Locks shared by every thread of the server: a recursive mutex, a counting
// semaphore (at most 10240, may be posted by any thread), a reader-writer lock
// that gives a waiting writer precedence over readers arriving after it,
// scoped holders for all three, and a condition to wait for under a mutex.
// Every type may be shared between threads.
// The mutexes are capabilities the compiler checks (qr_thread_annotations.h):
// data says which lock guards it with GUARDED_BY. A reader-writer lock counts
// as held in either mode; which mode a writer needs stays the holder's care.
//
// Lock order of the server, written here and nowhere else (outer first; a
// lock named nowhere below is taken alone, nothing else under it):
//   database mutex -> global server mutex -> session registry rwlock
//     -> connector send mutex;
//   database mutex -> a pool's semaphore -> the pool's mutex -> counters mutex;
//   global server mutex -> data-source map mutex; data-source open mutex
//     -> data-source map mutex;
//   job table mutex -> a job's own mutex;
//   job table mutex -> its change-signal mutex -> the scanner's stop mutex;
//   SNMP master mutex -> an SNMP session's common-data mutex;
//   a WinSNMP session's lock -> the net-snmp library mutex (platform layer);
//   alone: the scan registry mutex, the scanner's thread-list and instance
//     mutexes, a report sink's mutex, the log file mutex;
//   never under the job table mutex: the database mutex, notification locks.
#pragma once

#include "qr_thread_annotations.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

class CAPABILITY("mutex") qr_mutex {
public:
    qr_mutex() = default;
    // Copying makes a new, independent mutex: a lock is never shared by value.
    qr_mutex(const qr_mutex&) {}
    qr_mutex& operator=(const qr_mutex&) { return *this; }

    void lock() ACQUIRE() { m_.lock(); }
    // True when the calling thread now holds the mutex (free, or already its own).
    bool trylock() TRY_ACQUIRE(true) { return m_.try_lock(); }
    void unlock() RELEASE() { m_.unlock(); }

private:
    std::recursive_mutex m_;
};

class qr_semaphore {
public:
    static constexpr unsigned max_count = 10240;

    explicit qr_semaphore(unsigned initial_count);
    qr_semaphore(const qr_semaphore&) = delete;
    qr_semaphore& operator=(const qr_semaphore&) = delete;

    void wait();
    // Returns false when the semaphore is already at its maximum (the post is dropped).
    bool post();
    // Waits at most the given time; true when a count was taken.
    bool wait_for_ms(long milliseconds);

private:
    std::mutex m_;
    std::condition_variable cv_;
    unsigned count_;  // guarded by m_
};

// 0 = shared (reader), 1 = exclusive (writer); other values do nothing.
typedef int qr_rwlock_t;
constexpr qr_rwlock_t QR_RWLOCK_SHARED = 0;
constexpr qr_rwlock_t QR_RWLOCK_EXCLUSIVE = 1;

class CAPABILITY("rwmutex") qr_rwmutex {
public:
    qr_rwmutex();
    qr_rwmutex(const qr_rwmutex&) = delete;
    qr_rwmutex& operator=(const qr_rwmutex&) = delete;

    void lock(qr_rwlock_t mode) ACQUIRE();
    // The caller passes the mode it locked with. The last reader out may be a
    // different thread from the first one in.
    void unlock(qr_rwlock_t mode) RELEASE();

private:
    qr_mutex entry_;          // a writer's for the whole write; each reader's on the way in
    qr_semaphore resource_;   // the writer's, or the reader group's as a whole
    qr_mutex count_mutex_;
    int readers_ GUARDED_BY(count_mutex_) = 0;
};

// Waits under a qr_mutex that the waiter holds exactly once (a recursive hold
// would stay locked while it waits). Waiters test their condition in a loop
// around wait/wait_until, under the mutex, so the compiler sees the guarded
// data read with its lock held. Any thread may notify.
class qr_condition {
public:
    void wait(qr_mutex& m) REQUIRES(m) { cv_.wait(m); }
    // False once `deadline` has passed.
    bool wait_until(qr_mutex& m, std::chrono::steady_clock::time_point deadline) REQUIRES(m)
    {
        return cv_.wait_until(m, deadline) == std::cv_status::no_timeout;
    }
    void notify_one() { cv_.notify_one(); }
    void notify_all() { cv_.notify_all(); }

private:
    std::condition_variable_any cv_;
};

class SCOPED_CAPABILITY qr_automutex {
public:
    // take != 0 locks now; with 0 the holder adopts a lock the caller already holds.
    qr_automutex(qr_mutex& m, char take = 1) ACQUIRE(m) NO_THREAD_SAFETY_ANALYSIS : m_(m)
    {
        if (take)
            m_.lock();
    }
    ~qr_automutex() RELEASE() NO_THREAD_SAFETY_ANALYSIS { m_.unlock(); }
    qr_automutex(const qr_automutex&) = delete;
    qr_automutex& operator=(const qr_automutex&) = delete;

private:
    qr_mutex& m_;
};

class qr_autosemaphore {
public:
    qr_autosemaphore(qr_semaphore& s, char take = 1) : s_(s) { if (take) s_.wait(); }
    ~qr_autosemaphore() { s_.post(); }
    qr_autosemaphore(const qr_autosemaphore&) = delete;
    qr_autosemaphore& operator=(const qr_autosemaphore&) = delete;

private:
    qr_semaphore& s_;
};

class SCOPED_CAPABILITY qr_autorwmutex {
public:
    qr_autorwmutex(qr_rwmutex& m, qr_rwlock_t mode, char take = 1) ACQUIRE(m) NO_THREAD_SAFETY_ANALYSIS : m_(m),
                                                                                                          mode_(mode)
    {
        if (take) m_.lock(mode_);
    }
    ~qr_autorwmutex() RELEASE() NO_THREAD_SAFETY_ANALYSIS { m_.unlock(mode_); }
    qr_autorwmutex(const qr_autorwmutex&) = delete;
    qr_autorwmutex& operator=(const qr_autorwmutex&) = delete;

private:
    qr_rwmutex& m_;
    qr_rwlock_t mode_;
};
