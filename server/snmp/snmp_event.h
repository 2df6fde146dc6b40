// A manual-reset event: stays signalled until reset, and every waiter sees
// it. Any thread may set, reset or wait.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

class SnmpEvent {
public:
    explicit SnmpEvent(bool signalled) : signalled_(signalled) {}

    void set()
    {
        {
            std::lock_guard<std::mutex> lock(m_);
            signalled_ = true;
        }
        cv_.notify_all();
    }
    void reset()
    {
        std::lock_guard<std::mutex> lock(m_);
        signalled_ = false;
    }
    bool is_set()
    {
        std::lock_guard<std::mutex> lock(m_);
        return signalled_;
    }
    // True when signalled within the time; a time of 0 only looks.
    bool wait_ms(long milliseconds)
    {
        std::unique_lock<std::mutex> lock(m_);
        return cv_.wait_for(lock, std::chrono::milliseconds(milliseconds < 0 ? 0 : milliseconds),
                            [this] { return signalled_; });
    }

private:
    std::mutex m_;
    std::condition_variable cv_;
    bool signalled_;  // guarded by m_
};
