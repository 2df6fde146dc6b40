// The inventory fixture holds what its header promises, byte for byte, on
// both databases.
#include "inventory_fixture.h"

#include "db_test_env.h"

#include <gtest/gtest.h>

namespace {

using namespace inventory_fixture;

class InventoryFixtureTest : public DbBackendTest {};

TEST_P(InventoryFixtureTest, TreeHostsTabsAndDataAsDescribed)
{
    auto db = InventoryDb::make(backend());
    const InventoryIds& ids = db->ids;
    auto c = db->connect();

    DB_DATA tree = c->query("SELECT uid, parentid, type, name, comment, Tabs2Scan FROM InventoryTree ORDER BY uid");
    ASSERT_EQ(tree.RowCount(), 3);
    EXPECT_EQ(tree.Column("parentid").GetLong(1), ids.folder);
    EXPECT_EQ(tree.Column("parentid").GetLong(2), ids.inventory);
    EXPECT_EQ(tree.Column("type").GetString(2), "2");
    EXPECT_EQ(tree.Column("name").GetString(0), folder_name);
    EXPECT_EQ(tree.Column("name").GetString(1), inventory_name);
    EXPECT_EQ(tree.Column("comment").GetString(1), inventory_comment);
    EXPECT_EQ(tree.Column("Tabs2Scan").GetString(1), tabs_to_scan);

    EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM InventoryHosts WHERE AsOfId = ?", {int32_t(ids.snapshot)}), 2);
    EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM InventoryTabs WHERE host_id = ?", {int32_t(ids.host_a)}), 2);
    EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM InventoryIPs WHERE InventoryID = ?", {int32_t(ids.inventory)}), 2);
    EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM InventoryComms WHERE InventoryID = ?", {int32_t(ids.inventory)}), 2);
    EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM ScanInterfacesData WHERE host_id = ?", {int32_t(ids.host_a)}), 2);
    DB_DATA summary = c->get_stmnt_results("SELECT Data1, Data2 FROM ScanSummaryData WHERE host_id = ?",
                                           {int32_t(ids.host_a)});
    ASSERT_EQ(summary.RowCount(), 1);
    EXPECT_EQ(summary.Column("Data1").GetString(0), summary_device);
    EXPECT_EQ(summary.Column("Data2").GetString(0), summary_text);

    // Uids are distinct and all come from the allocator.
    EXPECT_EQ(db->count("SELECT MAX(uid) AS n FROM TrvIndex"), ids.tab_interfaces);
    EXPECT_LT(ids.folder, ids.inventory);
    EXPECT_LT(ids.host_b, ids.tab_summary);
}

INSTANTIATE_TEST_SUITE_P(Backends, InventoryFixtureTest, TRV_DB_BACKENDS);

}  // namespace
