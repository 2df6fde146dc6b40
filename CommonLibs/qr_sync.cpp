#include "qr_sync.h"

#include <chrono>

qr_semaphore::qr_semaphore(unsigned initial_count)
    : count_(initial_count > max_count ? max_count : initial_count)
{
}

void qr_semaphore::wait()
{
    std::unique_lock<std::mutex> lk(m_);
    cv_.wait(lk, [this] { return count_ > 0; });
    --count_;
}

bool qr_semaphore::wait_for_ms(long milliseconds)
{
    std::unique_lock<std::mutex> lk(m_);
    if (!cv_.wait_for(lk, std::chrono::milliseconds(milliseconds), [this] { return count_ > 0; }))
        return false;
    --count_;
    return true;
}

bool qr_semaphore::post()
{
    // Notify under the lock: a waiter that takes the last count may destroy
    // the semaphore as soon as it can lock, which must not be before this
    // thread is done with the condition variable.
    std::lock_guard<std::mutex> lk(m_);
    if (count_ >= max_count)
        return false;
    ++count_;
    cv_.notify_one();
    return true;
}

qr_rwmutex::qr_rwmutex() : resource_(1) {}

// Unchecked: a writer leaves holding entry_, and the last reader out may be
// another thread than the first one in.
void qr_rwmutex::lock(qr_rwlock_t mode) NO_THREAD_SAFETY_ANALYSIS
{
    if (mode == QR_RWLOCK_SHARED) {
        qr_automutex entry(entry_);
        qr_automutex count(count_mutex_);
        if (readers_++ == 0)
            resource_.wait();
    } else if (mode == QR_RWLOCK_EXCLUSIVE) {
        // The writer keeps the entry mutex while it waits for the readers to
        // leave, so no reader arriving after it gets in first.
        entry_.lock();
        resource_.wait();
    }
}

void qr_rwmutex::unlock(qr_rwlock_t mode) NO_THREAD_SAFETY_ANALYSIS
{
    if (mode == QR_RWLOCK_SHARED) {
        qr_automutex count(count_mutex_);
        if (--readers_ == 0)
            resource_.post();
    } else if (mode == QR_RWLOCK_EXCLUSIVE) {
        resource_.post();
        entry_.unlock();
    }
}
