// A manual-reset event: stays signalled until reset, and every waiter sees
// it. Any thread may set, reset or wait.
#pragma once

#include "qr_sync.h"

#include <chrono>

class SnmpEvent {
public:
    explicit SnmpEvent(bool signalled) : signalled_(signalled) {}

    void set()
    {
        {
            qr_automutex lock(m_);
            signalled_ = true;
        }
        cv_.notify_all();
    }
    void reset()
    {
        qr_automutex lock(m_);
        signalled_ = false;
    }
    bool is_set()
    {
        qr_automutex lock(m_);
        return signalled_;
    }
    // True when signalled within the time; a time of 0 only looks.
    bool wait_ms(long milliseconds)
    {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds < 0 ? 0 : milliseconds);
        qr_automutex lock(m_);
        while (!signalled_ && cv_.wait_until(m_, deadline)) { }
        return signalled_;
    }

private:
    qr_mutex m_;
    qr_condition cv_;
    bool signalled_ GUARDED_BY(m_);
};
