// Loader operations from several threads at once, on loaders that share the
// server's database mutex: nested operations neither deadlock nor race, also
// when every operation borrows its own connection from a small pool.
#include "admin_fixture.h"
#include "blocked_thread.h"
#include "db_test_env.h"

#include "datasource_odbcinst.h"
#include "dialect.h"
#include "loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

const std::string device_a = "1.3.6.1.4.1.9.1.516";

// One round of nested operations; returns a description of what went wrong, or "".
std::string one_round(DataLoader* loader)
{
    MapLineList lines;
    DataLoader::resolve_block(loader, lines, MapLineFilter("MapSummary", device_a, 20, 2, 9, 0), -1);
    if (lines.size() != 3 || lines[2].get_index() != 70)
        return "resolve_block gave " + std::to_string(lines.size()) + " lines";

    ScanSet tabs;
    DataLoader::get_tabs_to_scan(loader, MapLineFilter("SNMPWhat2Scan", device_a, 20, 2, 9, 0), tabs, IntArray(), 0);
    if (tabs.Count() != 2)
        return "get_tabs_to_scan gave " + std::to_string(tabs.Count()) + " tabs";
    for (const ScanEntry& e : tabs)
        if (e.map_name.empty() || e.name.empty())
            return "tab entry without names";

    std::string oid = "1.3.6.1.4.1.9.1.51";
    int cls = -1, grp = -1, vnd = -1;
    if (!DataLoader::find_device_by_sysobjid(loader, oid, cls, grp, vnd) || cls != 10)
        return "find_device_by_sysobjid failed";

    std::vector<ScanColumn> columns(1);
    columns[0].values = {"1", "2,3"};
    KeyedList<std::string> specs;
    specs[0] = "IfTypes";
    DataLoader::get_enum_value(loader, columns, specs);
    if (columns[0].values != std::vector<std::string>{"other", "Two,Dual,2,3"})
        return "get_enum_value gave " + columns[0].values[0];
    return std::string();
}

class LoaderThreadsTest : public DbBackendTest {};

TEST_P(LoaderThreadsTest, NestedOperationsFromManyThreads)
{
    AdminFixture& f = AdminFixture::get(backend());
    // A second loader on the same mutex that borrows a connection per
    // operation: nested calls hold up to three at a time on one thread.
    std::unique_ptr<MSSQLPool> small(MSSQLPool_ctor(3, f.dsn, f.dsn, "", ""));
    small->open_all();
    {
        DataLoader borrowing(small.get(), &f.db_mutex, false);
        ASSERT_EQ(one_round(&borrowing), "");  // one thread, three connections deep

        const int threads = 6, rounds = 8;
        std::atomic<int> failures{0};
        std::vector<std::string> errors(threads);
        std::vector<std::thread> workers;
        for (int t = 0; t < threads; ++t) {
            workers.emplace_back([&, t] {
                DataLoader* loader = t % 2 ? &borrowing : f.loader.get();
                for (int r = 0; r < rounds; ++r) {
                    std::string e = one_round(loader);
                    if (!e.empty()) {
                        errors[t] = e;
                        ++failures;
                        return;
                    }
                }
            });
        }
        for (auto& w : workers)
            w.join();
        EXPECT_EQ(failures.load(), 0);
        for (int t = 0; t < threads; ++t)
            EXPECT_EQ(errors[t], "") << "thread " << t;
    }
    // Every borrowed connection came back: three different ones can be taken
    // again at once, and each works. One missing would hold the third get
    // for good, so the gets run on a thread of their own and are waited for
    // a bounded time.
    std::mutex m;
    std::condition_variable cv;
    bool taken = false;
    std::vector<MSSQLODBCConnection*> got;
    std::thread taker([&] {
        std::vector<MSSQLODBCConnection*> three;
        for (int i = 0; i < 3; ++i)
            three.push_back(small->get());
        std::lock_guard<std::mutex> hold(m);
        got = three;
        taken = true;
        cv.notify_all();
    });
    bool in_time = false;
    {
        std::unique_lock<std::mutex> lock(m);
        in_time = cv.wait_for(lock, std::chrono::seconds(30), [&] { return taken; });
    }
    if (!in_time) {
        // The taker waits for a connection that never came back; it and the
        // pool it waits on are left alone for the rest of the process.
        taker.detach();
        small.release();
        FAIL() << "a connection lent during the rounds never came back to the pool";
    }
    taker.join();
    EXPECT_EQ(std::set<MSSQLODBCConnection*>(got.begin(), got.end()).size(), 3u);
    for (MSSQLODBCConnection* c : got) {
        EXPECT_EQ(c->query("SELECT 1 AS one").Column("one").GetLong(0), 1);
        small->release(c);
    }
}

TEST_P(LoaderThreadsTest, OperationWaitsForTheSharedMutex)
{
    AdminFixture& f = AdminFixture::get(backend());
    std::atomic<bool> done{false};
    std::string vendor;
    std::thread worker;
    {
        // While the database mutex is held elsewhere, no operation of any
        // loader on it can finish.
        qr_automutex hold(f.db_mutex);
        std::atomic<pid_t> id{0};
        worker = std::thread([&] {
            id = trvtest::this_thread_id();
            vendor = DataLoader::get_vendor_name(f.loader.get(), 9);
            done = true;
        });
        EXPECT_TRUE(trvtest::poll_until([&] { return id.load() != 0; }) &&
                    trvtest::wait_until_blocked_on(id.load(), f.db_mutex));
        EXPECT_FALSE(done.load());
    }
    worker.join();
    EXPECT_TRUE(done.load());
    EXPECT_EQ(vendor, "Cisco");
}

INSTANTIATE_TEST_SUITE_P(Db, LoaderThreadsTest, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

// Loaders of two client types, each on its own database, share the server's
// one database mutex: compaction holds it for its whole run, and an operation
// on the other type's database waits for it. Compaction is held up inside the
// database by a table lock of the test, seen in pg_stat_activity.
TEST(LoaderMutex, CompactionHoldsTheOneMutexAndAnotherTypesOperationWaits)
{
    auto& env = DbTestEnvironment::get();
    const std::string dsn_x = env.fresh_data_source("postgresql");
    const std::string dsn_y = env.fresh_data_source("postgresql");
    auto locker = open_connection(dsn_x);
    auto watcher = open_connection(env.postgresql_maintenance_dsn());
    locker->query("CREATE TABLE held (id INTEGER)");

    qr_mutex db_mutex;
    std::unique_ptr<MSSQLPool> pool_x(MSSQLPool_ctor(1, dsn_x, dsn_x, "", ""));
    std::unique_ptr<MSSQLPool> pool_y(MSSQLPool_ctor(1, dsn_y, dsn_y, "", ""));
    pool_x->open_all();
    pool_y->open_all();
    DataLoader loader_x(pool_x.get(), &db_mutex, true);
    DataLoader loader_y(pool_y.get(), &db_mutex, true);
    const SqlDialect& pg = SqlDialect::postgresql();

    locker->query("BEGIN");
    locker->query("LOCK TABLE held IN ACCESS EXCLUSIVE MODE");
    std::atomic<int> finished{0};
    int x_result = -2, y_result = -2, x_order = 0, y_order = 0;
    std::thread compacting([&] {
        x_result = DataLoader::compact_database(&loader_x, pg);
        x_order = ++finished;
    });
    // Handshake: the compaction waits for the test's lock inside database X.
    const std::string database_x = odbc_dsn_value(dsn_x, "Database");
    const std::string waiting =
        "SELECT pid AS pid FROM pg_stat_activity WHERE datname = ? AND wait_event_type = 'Lock' AND query = 'VACUUM'";
    while (watcher->get_stmnt_results(waiting, {database_x}).RowCount() == 0)
        std::this_thread::yield();
    // It holds the database mutex all the while.
    const bool mutex_free = db_mutex.trylock();
    if (mutex_free)
        db_mutex.unlock();
    EXPECT_FALSE(mutex_free);

    std::atomic<pid_t> other_id{0};
    std::thread other([&] {
        other_id = trvtest::this_thread_id();
        y_result = DataLoader::compact_database(&loader_y, pg);
        y_order = ++finished;
    });
    // Database Y is free, so only the mutex keeps the other operation from
    // finishing while X stays locked: it waits on the mutex.
    EXPECT_TRUE(trvtest::poll_until([&] { return other_id.load() != 0; }) &&
                trvtest::wait_until_blocked_on(other_id.load(), db_mutex));
    EXPECT_EQ(finished.load(), 0);

    locker->query("COMMIT");
    compacting.join();
    other.join();
    EXPECT_EQ(x_result, 0);
    EXPECT_EQ(y_result, 0);
    EXPECT_EQ(x_order, 1);
    EXPECT_EQ(y_order, 2);
    const bool free = db_mutex.trylock();
    EXPECT_TRUE(free);
    if (free)
        db_mutex.unlock();
}

}  // namespace
