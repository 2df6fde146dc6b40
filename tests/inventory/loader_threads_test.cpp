// Loader operations from several threads at once, on loaders that share the
// server's database mutex: nested operations neither deadlock nor race, also
// when every operation borrows its own connection from a small pool.
#include "admin_fixture.h"
#include "db_test_env.h"

#include "loader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

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
    // Every borrowed connection came back: all three can be taken again.
    PooledConnectionGuard a(small.get()), b(small.get()), c(small.get());
    EXPECT_TRUE(a.connection() && b.connection() && c.connection());
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
        worker = std::thread([&] {
            vendor = DataLoader::get_vendor_name(f.loader.get(), 9);
            done = true;
        });
        for (int i = 0; i < 2000 && !done; ++i)
            std::this_thread::yield();
        EXPECT_FALSE(done.load());
    }
    worker.join();
    EXPECT_TRUE(done.load());
    EXPECT_EQ(vendor, "Cisco");
}

INSTANTIATE_TEST_SUITE_P(Db, LoaderThreadsTest, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

}  // namespace
