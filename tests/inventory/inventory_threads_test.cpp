// Inventory writes from several threads at once, as the scanner threads and
// request handlers make them: uids stay unique, removals and writes of
// other branches do not disturb each other.
#include "inventory_fixture.h"

#include "db_test_env.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <thread>
#include <vector>

namespace {

class InventoryThreadsTest : public DbBackendTest {};

TEST_P(InventoryThreadsTest, ConcurrentTabsGetDistinctUidsAndRemovalsStayWhole)
{
    auto db = InventoryDb::make(backend());
    // A loader that borrows a pool connection per operation, beside the fixture's own-connection one.
    DataLoader borrowing(db->pool.get(), &db->db_mutex, false);
    DataLoader* loaders[] = {db->loader.get(), &borrowing};
    const int threads = 4, per_thread = 15;
    std::vector<std::vector<int>> uids(threads);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            DataLoader* loader = loaders[t % 2];
            for (int i = 0; i < per_thread; ++i) {
                TabRecord tab;
                tab.host_id = db->ids.host_b;
                tab.type = 1;
                tab.name = "t" + std::to_string(t);
                uids[t].push_back(DataLoader::insert_tab(loader, tab));
            }
        });
    // Meanwhile another thread removes host A, its tabs and data.
    workers.emplace_back([&] { EXPECT_EQ(DataLoader::remove_tree_element(&borrowing, db->ids.host_a), 0); });
    for (auto& w : workers)
        w.join();

    std::set<int> all;
    for (const auto& v : uids)
        for (int uid : v) {
            EXPECT_GT(uid, 0);
            all.insert(uid);
        }
    EXPECT_EQ(all.size(), static_cast<size_t>(threads * per_thread));
    EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM InventoryTabs WHERE host_id = ?", {int32_t(db->ids.host_b)}),
              threads * per_thread);
    EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM InventoryTabs WHERE host_id = ?", {int32_t(db->ids.host_a)}), 0);
    EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM ScanInterfacesData"), 0);
}

INSTANTIATE_TEST_SUITE_P(Db, InventoryThreadsTest, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

}  // namespace
