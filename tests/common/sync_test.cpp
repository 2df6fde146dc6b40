#include "qr_exception.h"
#include "qr_sync.h"
#include "qr_thread.h"

#include "blocked_thread.h"

#include <gtest/gtest.h>

// These tests break the lock rules on purpose (a recursive hold, an adopting
// holder, a reader leaving on another thread than it came in on): the
// compiler's lock checking has nothing to say about them.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wthread-safety-analysis"
#endif

#include <atomic>
#include <chrono>
#include <future>
#include <string>
#include <thread>
#include <vector>

using trvtest::poll_until;
using trvtest::this_thread_id;
using trvtest::wait_until_blocked_on;

namespace {

// Runs fn on another thread and waits for its result.
template <typename F>
auto on_other_thread(F fn)
{
    return std::async(std::launch::async, fn).get();
}

// A thread that publishes its id before it runs `fn`.
class Watched {
public:
    template <typename F>
    explicit Watched(F fn) : thread_([this, fn] {
        id_ = this_thread_id();
        fn();
    })
    {
    }
    ~Watched()
    {
        if (thread_.joinable())
            thread_.join();
    }
    // True once the thread waits on a lock or condition inside `object`.
    template <typename T>
    bool blocked_on(const T& object)
    {
        return poll_until([&] { return id_.load() != 0; }) && wait_until_blocked_on(id_.load(), object);
    }
    void join() { thread_.join(); }

private:
    std::atomic<pid_t> id_{0};
    std::thread thread_;
};

}  // namespace

TEST(QrMutex, TrylockFailsForOtherThreadAndNestsForHolder)
{
    qr_mutex m;
    EXPECT_TRUE(on_other_thread([&] {
        bool got = m.trylock();
        if (got) m.unlock();
        return got;
    }));
    ASSERT_TRUE(m.trylock());
    EXPECT_FALSE(on_other_thread([&] { return m.trylock(); }));
    ASSERT_TRUE(m.trylock());  // recursive: the holder gets it again
    m.unlock();
    EXPECT_FALSE(on_other_thread([&] { return m.trylock(); })) << "one unlock must not free a twice-held mutex";
    m.unlock();
    EXPECT_TRUE(on_other_thread([&] {
        bool got = m.trylock();
        if (got) m.unlock();
        return got;
    }));
}

TEST(QrMutex, CopyIsIndependent)
{
    qr_mutex a;
    a.lock();
    qr_mutex b(a);
    EXPECT_TRUE(on_other_thread([&] {
        bool got = b.trylock();
        if (got) b.unlock();
        return got;
    }));
    a.unlock();
}

TEST(QrAutoHolders, AdoptingHolderUnlocksWithoutLocking)
{
    qr_mutex m;
    m.lock();
    { qr_automutex adopt(m, 0); }
    EXPECT_TRUE(on_other_thread([&] {
        bool got = m.trylock();
        if (got) m.unlock();
        return got;
    }));

    qr_semaphore s(0);
    { qr_autosemaphore adopt(s, 0); }  // posts once
    EXPECT_TRUE(s.wait_for_ms(0));
    EXPECT_FALSE(s.wait_for_ms(0));
}

TEST(QrSemaphore, ZeroBlocksUntilPostFromAnotherThread)
{
    qr_semaphore s(0);
    std::atomic<bool> passed{false};
    Watched waiter([&] {
        s.wait();
        passed = true;
    });
    EXPECT_TRUE(waiter.blocked_on(s));
    EXPECT_FALSE(passed.load());
    s.post();
    waiter.join();
    EXPECT_TRUE(passed.load());
}

TEST(QrSemaphore, CountNeverExceedsMaximum)
{
    qr_semaphore s(qr_semaphore::max_count - 1);
    EXPECT_TRUE(s.post());
    EXPECT_FALSE(s.post()) << "a post beyond the maximum is dropped";
    unsigned taken = 0;
    while (s.wait_for_ms(0))
        ++taken;
    EXPECT_EQ(taken, qr_semaphore::max_count);

    qr_semaphore capped(50000);
    taken = 0;
    while (capped.wait_for_ms(0))
        ++taken;
    EXPECT_EQ(taken, qr_semaphore::max_count) << "an initial count above the maximum is capped";
}

TEST(QrRwMutex, ReadersShareAndWriterWaitsForAll)
{
    qr_rwmutex rw;
    rw.lock(QR_RWLOCK_SHARED);
    rw.lock(QR_RWLOCK_SHARED);  // a second reader (same thread is fine for shared counting)
    std::atomic<bool> writing{false};
    Watched writer([&] {
        rw.lock(QR_RWLOCK_EXCLUSIVE);
        writing = true;
        rw.unlock(QR_RWLOCK_EXCLUSIVE);
    });
    EXPECT_TRUE(writer.blocked_on(rw));
    EXPECT_FALSE(writing.load());
    rw.unlock(QR_RWLOCK_SHARED);
    // One reader is still in: the writer waits on.
    EXPECT_TRUE(writer.blocked_on(rw));
    EXPECT_FALSE(writing.load()) << "the writer must wait for the last reader";
    rw.unlock(QR_RWLOCK_SHARED);
    writer.join();
    EXPECT_TRUE(writing.load());
}

TEST(QrRwMutex, WaitingWriterGoesBeforeLaterReaders)
{
    qr_rwmutex rw;
    std::vector<std::string> order;
    std::mutex order_mutex;
    auto note = [&](const std::string& what) {
        std::lock_guard<std::mutex> lk(order_mutex);
        order.push_back(what);
    };

    rw.lock(QR_RWLOCK_SHARED);
    Watched writer([&] {
        rw.lock(QR_RWLOCK_EXCLUSIVE);
        note("writer");
        rw.unlock(QR_RWLOCK_EXCLUSIVE);
    });
    // The entry was free, so the writer now waits for the readers holding it.
    EXPECT_TRUE(writer.blocked_on(rw));
    Watched late_reader([&] {
        rw.lock(QR_RWLOCK_SHARED);
        note("late reader");
        rw.unlock(QR_RWLOCK_SHARED);
    });
    EXPECT_TRUE(late_reader.blocked_on(rw));
    {
        std::lock_guard<std::mutex> lk(order_mutex);
        EXPECT_TRUE(order.empty()) << "neither may enter while the first reader holds the lock";
    }
    rw.unlock(QR_RWLOCK_SHARED);
    writer.join();
    late_reader.join();
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], "writer");
    EXPECT_EQ(order[1], "late reader");
}

TEST(QrRwMutex, LastReaderOnAnotherThreadReleasesTheWriter)
{
    qr_rwmutex rw;
    rw.lock(QR_RWLOCK_SHARED);  // first reader: this thread
    on_other_thread([&] {
        rw.lock(QR_RWLOCK_SHARED);  // second reader enters on another thread
        return 0;
    });
    rw.unlock(QR_RWLOCK_SHARED);  // this thread leaves first
    std::atomic<bool> writing{false};
    Watched writer([&] {
        rw.lock(QR_RWLOCK_EXCLUSIVE);
        writing = true;
        rw.unlock(QR_RWLOCK_EXCLUSIVE);
    });
    EXPECT_TRUE(writer.blocked_on(rw));
    EXPECT_FALSE(writing.load());
    on_other_thread([&] {
        rw.unlock(QR_RWLOCK_SHARED);  // the last reader leaves on yet another thread
        return 0;
    });
    writer.join();
    EXPECT_TRUE(writing.load());
}

TEST(QrRwMutex, UnknownModeDoesNothing)
{
    qr_rwmutex rw;
    rw.lock(7);
    rw.unlock(7);
    rw.lock(QR_RWLOCK_EXCLUSIVE);  // would hang if mode 7 had taken anything
    rw.unlock(QR_RWLOCK_EXCLUSIVE);
}

TEST(QrException, LongMessagesArriveWhole)
{
    for (size_t length : {size_t(0), size_t(1023), size_t(1024), size_t(5000)}) {
        std::string text(length, 'x');
        if (length > 0)
            text.back() = 'E';
        try {
            qr_exception("%s", text.c_str());
            FAIL() << "qr_exception returned";
        } catch (const qr_exception_t& e) {
            EXPECT_EQ(e.message(), text) << "length " << length;
            EXPECT_STREQ(e.what(), text.c_str());
        }
    }
}

TEST(QrThread, CreatesDetachedThreadAndReportsIds)
{
    static std::atomic<int> seen{0};
    static std::atomic<int> caller{0};
    static int forty_two = 42;
    caller = qr_thread_getid();
    qr_thread_create([](void* arg) { seen = *static_cast<int*>(arg) == 42 ? qr_thread_getid() : -1; },
                     &forty_two);
    ASSERT_TRUE(poll_until([] { return seen.load() != 0; }));
    EXPECT_GT(seen.load(), 0);
    EXPECT_NE(seen.load(), caller.load());
}

TEST(QrGetDllFunc, SplitsAtFirstColonAndReportsEachFailure)
{
    EXPECT_NE(qr_getdllfunc("libz.so.1:compress2"), nullptr);
    EXPECT_EQ(qr_getdllfunc("libz.so.1:compress2"), qr_getdllfunc("libz.so.1", "compress2"));

    struct Case {
        const char* spec;
        const char* message;
    } cases[] = {
        {"libz.so.1", "Bad function format [libz.so.1], should be library_file_name:function_name"},
        {"libz.so.1:", "Cannot find symbol [] in the shared library [libz.so.1]"},
        {"libz.so.1:compress2:x", "Cannot find symbol [compress2:x] in the shared library [libz.so.1]"},
        {"libdoes-not-exist.so:f", "Cannot load dinamic library [libdoes-not-exist.so], error="},
    };
    for (const Case& c : cases) {
        try {
            qr_getdllfunc(std::string(c.spec));
            ADD_FAILURE() << c.spec << " did not throw";
        } catch (const qr_exception_t& e) {
            EXPECT_EQ(e.message().rfind(c.message, 0), 0u) << c.spec << " -> " << e.message();
        }
    }
}
