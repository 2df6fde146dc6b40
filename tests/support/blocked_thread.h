// Knowing that another thread of this process has reached a wait, instead of
// sleeping and hoping it has: Linux shows in /proc/self/task/<tid>/syscall
// the system call a thread is in and its arguments. A thread blocked on a
// mutex, condition variable or semaphore waits in futex() with the futex's
// address first, so "blocked on a member of this object" is exact; a thread in
// a timed sleep waits in (clock_)nanosleep.
//
// Header only, so that tests linking nothing but the common library can use
// it. Any thread may call these functions; the thread watched publishes its
// id (this_thread_id) before it blocks.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>
#include <sys/syscall.h>
#include <sys/types.h>
#include <thread>
#include <unistd.h>

namespace trvtest {

inline pid_t this_thread_id()
{
    return static_cast<pid_t>(::syscall(SYS_gettid));
}

// The system call thread `tid` is blocked in and its first argument; false
// while it runs, or when the thread is gone.
inline bool thread_in_syscall(pid_t tid, long& number, std::uintptr_t& first)
{
    std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/syscall");
    std::string text;
    if (!(in >> text) || text == "running")
        return false;
    number = std::stol(text);
    std::string argument;
    if (number < 0 || !(in >> argument))
        return false;
    first = static_cast<std::uintptr_t>(std::stoull(argument, nullptr, 16));
    return true;
}

// Polls `reached` until it holds. The bound only turns a thread that never
// gets there (a hang, a fault) into a failure; a slow machine never meets it.
template <typename Reached>
bool poll_until(Reached reached, int seconds = 120)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!reached()) {
        if (std::chrono::steady_clock::now() >= until)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// Waits until thread `tid` waits on a futex inside [object, object + size):
// a lock or condition that is a member of that object.
inline bool wait_until_blocked_on(pid_t tid, const void* object, std::size_t size, int seconds = 120)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(object);
    return poll_until(
        [&] {
            long number = -1;
            std::uintptr_t address = 0;
            return thread_in_syscall(tid, number, address) && number == SYS_futex && address >= begin &&
                   address < begin + size;
        },
        seconds);
}

template <typename T>
bool wait_until_blocked_on(pid_t tid, const T& object, int seconds = 120)
{
    return wait_until_blocked_on(tid, &object, sizeof object, seconds);
}

}  // namespace trvtest
