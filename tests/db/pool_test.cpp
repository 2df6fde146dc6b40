// Connection pools on a real SQLite data source: lending, blocking when all
// connections are out, refusing pointers the pool did not lend, the counter.
#include "blocked_thread.h"
#include "db_test_env.h"

#include "qr_counters.h"
#include "qr_exception.h"
#include "qr_pool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <set>
#include <thread>
#include <vector>

namespace {

int dbconn()
{
    return qr_counters_snapshot().DBconn;
}

std::unique_ptr<MSSQLPool> open_pool(int count)
{
    const std::string dsn = DbTestEnvironment::get().fresh_data_source("sqlite");
    std::unique_ptr<MSSQLPool> pool(MSSQLPool_ctor(count, dsn, dsn, "", ""));
    pool->open_all();
    return pool;
}

TEST(Pool, LendsDistinctOpenConnectionsAndCountsThem)
{
    auto pool = open_pool(3);
    const int before = dbconn();
    std::set<MSSQLODBCConnection*> lent;
    for (int n = 0; n < 3; ++n) lent.insert(pool->get());
    EXPECT_EQ(lent.size(), 3u);
    EXPECT_EQ(dbconn(), before + 3);
    for (auto* c : lent) {
        EXPECT_TRUE(c->connected());
        EXPECT_EQ(c->query("SELECT 1 AS one").Column("one").GetLong(0), 1);
        pool->release(c);
    }
    EXPECT_EQ(dbconn(), before);
}

// A connection whose construction fails once `allowed` of them exist.
class LimitedConnection : public MSSQLODBCConnection {
public:
    static inline int alive = 0;
    static inline int allowed = 0;
    LimitedConnection(std::string name, std::string dsn, std::string user, std::string password)
        : MSSQLODBCConnection(std::move(name), std::move(dsn), std::move(user), std::move(password))
    {
        if (alive >= allowed) qr_exception("No more connections allowed");
        ++alive;
    }
    ~LimitedConnection() override { --alive; }
};

TEST(Pool, AFailingConstructionFreesTheConnectionsMadeBeforeIt)
{
    LimitedConnection::allowed = 2;
    EXPECT_THROW(qr_pool<LimitedConnection>(3, "pool", "TrvNoSource", "", ""), qr_exception_t);
    EXPECT_EQ(LimitedConnection::alive, 0);
    {
        qr_pool<LimitedConnection> pool(2, "pool", "TrvNoSource", "", "");
        EXPECT_EQ(LimitedConnection::alive, 2);
    }
    EXPECT_EQ(LimitedConnection::alive, 0);
}

TEST(Pool, ForeignAndTwiceReleasedPointersAreRefusedAndTheCounterStays)
{
    auto pool = open_pool(1);
    auto other = open_pool(1);
    MSSQLODBCConnection* mine = pool->get();
    MSSQLODBCConnection* theirs = other->get();
    const int lent = dbconn();
    EXPECT_THROW(pool->release(theirs), qr_exception_t);
    EXPECT_EQ(dbconn(), lent);
    pool->release(mine);
    EXPECT_THROW(pool->release(mine), qr_exception_t);
    EXPECT_EQ(dbconn(), lent - 1);
    // A refused release must not have added a free slot: one get, then it would block.
    MSSQLODBCConnection* again = pool->get();
    EXPECT_EQ(again, mine);
    pool->release(again);
    other->release(theirs);
}

TEST(Pool, GuardGivesTheConnectionBackOnEveryWayOut)
{
    auto pool = open_pool(1);
    const int before = dbconn();
    try {
        PooledConnectionGuard guard(pool.get());
        EXPECT_EQ(dbconn(), before + 1);
        guard->query("SELECT no_such_column FROM no_such_table");
    } catch (const qr_exception_t&) {
    }
    EXPECT_EQ(dbconn(), before);
    PooledConnectionGuard guard(pool.get());
    EXPECT_EQ(guard.release(), 1);
    EXPECT_EQ(guard.release(), 0);
    EXPECT_EQ(dbconn(), before);
}

TEST(Pool, EmptyPoolRefusesInsteadOfWaitingForever)
{
    std::unique_ptr<MSSQLPool> pool(MSSQLPool_ctor(0, "none", "none", "", ""));
    EXPECT_THROW(pool->get(), qr_exception_t);
}

// With every connection lent, a borrower waits; a release lets it through.
TEST(Pool, ExhaustedPoolBlocksUntilAConnectionComesBack)
{
    auto pool = open_pool(2);
    MSSQLODBCConnection* a = pool->get();
    MSSQLODBCConnection* b = pool->get();
    std::atomic<MSSQLODBCConnection*> got{nullptr};
    std::atomic<pid_t> borrower_id{0};
    std::thread borrower([&] {
        borrower_id = trvtest::this_thread_id();
        got = pool->get();
    });
    EXPECT_TRUE(trvtest::poll_until([&] { return borrower_id.load() != 0; }) &&
                trvtest::wait_until_blocked_on(borrower_id.load(), *pool));
    EXPECT_EQ(got.load(), nullptr) << "get() returned while every connection was lent";
    pool->release(b);
    borrower.join();
    EXPECT_EQ(got.load(), b);
    pool->release(a);
    pool->release(got.load());
}

// Many threads share a small pool; each query runs on a connection no one else holds.
TEST(Pool, ThreadsSharingASmallPoolNeverShareAConnection)
{
    auto pool = open_pool(3);
    {
        PooledConnectionGuard guard(pool.get());
        guard->query("CREATE TABLE hits (worker INTEGER, n INTEGER)");
    }
    const int before = dbconn();
    std::atomic<int> in_use_twice{0};
    std::vector<MSSQLODBCConnection*> all;
    pool->for_each([&](MSSQLODBCConnection& c) { all.push_back(&c); });
    std::vector<std::atomic<int>> users(all.size());
    std::vector<std::thread> workers;
    for (int w = 0; w < 8; ++w) {
        workers.emplace_back([&, w] {
            for (int n = 0; n < 20; ++n) {
                PooledConnectionGuard guard(pool.get());
                auto slot = std::find(all.begin(), all.end(), guard.connection()) - all.begin();
                if (users[slot].fetch_add(1) != 0) ++in_use_twice;
                guard->get_stmnt_results("INSERT INTO hits (worker, n) VALUES (?, ?)", {int32_t(w), int32_t(n)});
                users[slot].fetch_sub(1);
            }
        });
    }
    for (auto& t : workers) t.join();
    EXPECT_EQ(in_use_twice.load(), 0);
    EXPECT_EQ(dbconn(), before);
    PooledConnectionGuard guard(pool.get());
    EXPECT_EQ(guard->query("SELECT COUNT(*) AS n FROM hits").Column("n").GetLong(0), 160);
}

}  // namespace
