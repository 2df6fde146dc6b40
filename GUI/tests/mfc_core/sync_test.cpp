// Events and critical sections: signal states and their consumption, and a
// critical section shared by threads.
#include <thread>
#include <vector>

#include "afx.h"
#include "wtest.h"

WTEST(auto_reset_event_is_consumed_by_one_lock) {
    CEvent e;
    WCHECK(!e.Lock(0));
    e.SetEvent();
    WCHECK(e.Lock(0));
    WCHECK(!e.Lock(0));  // consumed
    e.SetEvent();
    e.ResetEvent();
    WCHECK(!e.Lock(0));
    CEvent initially(TRUE);
    WCHECK(initially.Lock(0));
}

WTEST(manual_reset_event_stays_signalled) {
    CEvent e(FALSE, TRUE);
    e.SetEvent();
    WCHECK(e.Lock(0));
    WCHECK(e.Lock(0));
    e.ResetEvent();
    WCHECK(!e.Lock(0));
}

WTEST(event_wakes_a_waiting_thread) {
    CEvent go;
    CEvent done;
    std::thread t([&] {
        if (go.Lock()) done.SetEvent();
    });
    go.SetEvent();
    WCHECK(done.Lock());
    t.join();
}

WTEST(critical_section_guards_across_threads) {
    CCriticalSection cs;
    long counter = 0;  // guarded by cs
    std::vector<std::thread> threads;
    for (int i = 0; i < 4; ++i)
        threads.emplace_back([&] {
            for (int n = 0; n < 20000; ++n) {
                CSingleLock lock(&cs, TRUE);
                long v = counter;
                counter = v + 1;
            }
        });
    for (auto& t : threads) t.join();
    WCHECK_EQ(counter, 80000L);

    // Recursive on one thread; another thread cannot enter meanwhile.
    CSingleLock outer(&cs, TRUE);
    WCHECK(outer.IsLocked());
    WCHECK(cs.Lock(0));
    cs.Unlock();
    BOOL otherGot = TRUE;
    std::thread([&] { otherGot = cs.Lock(0); if (otherGot) cs.Unlock(); }).join();
    WCHECK(!otherGot);
    outer.Unlock();
    WCHECK(!outer.IsLocked());
    std::thread([&] { otherGot = cs.Lock(0); if (otherGot) cs.Unlock(); }).join();
    WCHECK(otherGot);
}
