// The inventory tree on both databases: item writes and reads, the
// questions about a uid, the collectors, and removal of branches (no orphan
// rows, all or nothing).
#include "inventory_fixture.h"

#include "admin_fixture.h"

#include "db_test_env.h"
#include "qr_exception.h"
#include "qr_strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace inventory_fixture;

const char* const host_tables[] = {
    "ScanBaseBoardData",  "ScanBIOSData",     "ScanCiscoFlashChipsData",   "ScanCiscoFlashDevData",
    "ScanCPUData",        "ScanDevTableData", "ScanEnclosureData",         "ScanInstalledSoftData",
    "ScanInterfacesData", "ScanPCTableData",  "ScanPhysicalStructureData", "ScanPrtSuppliesData",
    "ScanRunnedSoftData", "ScanSlotsData",    "ScanSummaryData",           "InventoryTabs",
};

std::vector<int> values(const IntArray& a)
{
    return std::vector<int>(a.begin(), a.end());
}

class InventoryTreeTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        db = InventoryDb::make(backend());
        loader = db->loader.get();
        ids = db->ids;
    }

    long rows(const std::string& table) { return db->count("SELECT COUNT(*) AS n FROM " + table); }

    // Rows whose owner is gone, over every table of the schema that has an owner.
    long orphans()
    {
        long n = db->count("SELECT COUNT(*) AS n FROM InventoryTree t WHERE t.parentid <> 0 AND NOT EXISTS "
                           "(SELECT 1 FROM InventoryTree p WHERE p.uid = t.parentid)");
        n += db->count("SELECT COUNT(*) AS n FROM InventoryHosts h WHERE NOT EXISTS "
                       "(SELECT 1 FROM InventoryTree p WHERE p.uid = h.AsOfId)");
        for (const char* t : {"InventoryPing", "InventoryIPs", "InventoryComms"})
            n += db->count(std::string("SELECT COUNT(*) AS n FROM ") + t +
                           " x WHERE NOT EXISTS (SELECT 1 FROM InventoryTree p WHERE p.uid = x.InventoryID)");
        for (const char* t : host_tables)
            n += db->count(std::string("SELECT COUNT(*) AS n FROM ") + t +
                           " x WHERE NOT EXISTS (SELECT 1 FROM InventoryHosts h WHERE h.uid = x.host_id)");
        return n;
    }

    // A second snapshot under the inventory with one host and one data row.
    int add_snapshot(int locked, int stamp)
    {
        auto c = db->connect();
        int snap = fixture_new_uid(*c);
        c->get_stmnt_results("INSERT INTO InventoryTree (uid, parentid, type, status, locked, name, TimeStmp) "
                             "VALUES (?, ?, 2, 0, ?, 'later', ?)",
                             {int32_t(snap), int32_t(ids.inventory), int32_t(locked), int64_t(stamp)});
        int host = fixture_new_uid(*c);
        c->get_stmnt_results("INSERT INTO InventoryHosts (AsOfId, uid, NetAddr, Status) VALUES (?, ?, '10.9.9.9', 0)",
                             {int32_t(snap), int32_t(host)});
        c->get_stmnt_results("INSERT INTO ScanSlotsData (uid, host_id, Data1) VALUES (0, ?, 'slot')", {int32_t(host)});
        return snap;
    }

    std::unique_ptr<InventoryDb> db;
    DataLoader* loader = nullptr;
    InventoryIds ids;
};

TEST_P(InventoryTreeTest, ItemsWriteAndReadBackWithHostileTextsUnchanged)
{
    TreeItemRecord item;
    item.uid = DataLoader::new_uid(loader);
    item.parentid = ids.folder;
    item.type = 7;
    item.locked = 1;
    item.name = "It's \"new\" <x> & y \xc3\xbc%_";
    item.comment = "line 1\nline 2 \xe2\x82\xac '";
    item.Tabs2Scan = "3,1";
    item.TimeStmp = 1700001234;
    ASSERT_GT(item.uid, ids.tab_interfaces);
    EXPECT_EQ(DataLoader::insert_tree_item(loader, item), item.uid);
    EXPECT_THROW(DataLoader::insert_tree_item(loader, item), qr_exception_t);  // the uid is taken

    EXPECT_EQ(DataLoader::get_item_name(loader, item.uid), item.name);
    EXPECT_EQ(DataLoader::get_item_type(loader, item.uid), 7);
    EXPECT_EQ(DataLoader::get_parent_id(loader, item.uid), ids.folder);
    DB_DATA row = db->connect()->get_stmnt_results("SELECT * FROM InventoryTree WHERE uid = ?", {int32_t(item.uid)});
    EXPECT_EQ(row.Column("comment").GetString(0), item.comment);
    EXPECT_EQ(row.Column("Tabs2Scan").GetString(0), "3,1");
    EXPECT_EQ(row.Column("TimeStmp").GetLong(0), 1700001234);
    EXPECT_EQ(row.Column("locked").GetLong(0), 1);

    item.name = "renamed 'again'";
    item.parentid = ids.inventory;
    item.status = 1;
    item.TimeStmp = 5;  // not written by an update
    EXPECT_EQ(DataLoader::update_tree_item(loader, item), item.uid);
    row = db->connect()->get_stmnt_results("SELECT * FROM InventoryTree WHERE uid = ?", {int32_t(item.uid)});
    EXPECT_EQ(row.Column("name").GetString(0), "renamed 'again'");
    EXPECT_EQ(row.Column("parentid").GetLong(0), ids.inventory);
    EXPECT_EQ(row.Column("TimeStmp").GetLong(0), 1700001234);
    EXPECT_EQ(DataLoader::get_status(loader, item.uid), 1);

    DataLoader::set_tree_status(loader, item.uid, 4);
    EXPECT_EQ(DataLoader::get_status(loader, item.uid), 4);
    DataLoader::set_internal_scans(loader, item.uid, 3);
    EXPECT_EQ(DataLoader::get_internal_scans(loader, item.uid), 3);
    EXPECT_EQ(DataLoader::get_internal_scans(loader, 999999), -1);
}

TEST_P(InventoryTreeTest, QuestionsAboutAUid)
{
    struct Case {
        int uid;
        int type, status, parent;
    } cases[] = {
        {ids.folder, 0, 0, 0},
        {ids.inventory, 1, 0, ids.folder},
        {ids.snapshot, 2, 0, ids.inventory},
        {ids.host_a, 3, 0, -1},  // a host has no tree row
        {999999, -1, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DataLoader::get_item_type(loader, c.uid), c.type) << c.uid;
        EXPECT_EQ(DataLoader::get_status(loader, c.uid), c.status) << c.uid;
        EXPECT_EQ(DataLoader::get_parent_id(loader, c.uid), c.parent) << c.uid;
    }
    EXPECT_EQ(DataLoader::get_item_name(loader, ids.folder), folder_name);
    EXPECT_EQ(DataLoader::get_item_name(loader, 999999), "");
    EXPECT_EQ(DataLoader::get_host_address(loader, ids.host_b), host_b_address);
    EXPECT_EQ(DataLoader::get_host_address(loader, ids.folder), "");

    EXPECT_EQ(DataLoader::host_caption(loader, ids.host_a),
              std::string(host_a_dns) + " [" + host_a_address + "] " + FormatDateTime(host_a_time));
    EXPECT_EQ(DataLoader::host_caption(loader, ids.host_b),
              std::string("[") + host_b_address + "] " + FormatDateTime(host_b_time));
    EXPECT_EQ(DataLoader::host_caption(loader, 999999), "");
}

TEST_P(InventoryTreeTest, CollectorsOverABranch)
{
    // A second inventory in the folder; host A moves to its snapshot, so the
    // walk meets host B before the smaller host A.
    auto c = db->connect();
    int inv2 = fixture_new_uid(*c);
    int snap2 = fixture_new_uid(*c);
    c->get_stmnt_results("INSERT INTO InventoryTree (uid, parentid, type, name) VALUES (?, ?, 1, 'two')",
                         {int32_t(inv2), int32_t(ids.folder)});
    c->get_stmnt_results("INSERT INTO InventoryTree (uid, parentid, type, name) VALUES (?, ?, 2, 'snap two')",
                         {int32_t(snap2), int32_t(inv2)});
    c->get_stmnt_results("UPDATE InventoryHosts SET AsOfId = ? WHERE uid = ?", {int32_t(snap2), int32_t(ids.host_a)});

    struct Case {
        int uid;
        std::vector<int> inventories, hosts, subtree;
    } cases[] = {
        {ids.folder, {ids.inventory, inv2}, {ids.host_a, ids.host_b},
         {ids.folder, ids.inventory, ids.snapshot, inv2, snap2}},
        {ids.inventory, {ids.inventory}, {ids.host_b}, {ids.inventory, ids.snapshot}},
        {ids.snapshot, {ids.inventory}, {ids.host_b}, {ids.snapshot}},
        {ids.host_b, {ids.inventory}, {ids.host_b}, {ids.host_b}},
        {ids.host_a, {inv2}, {ids.host_a}, {ids.host_a}},
        {snap2, {inv2}, {ids.host_a}, {snap2}},
        {999999, {}, {}, {999999}},
    };
    for (const Case& k : cases) {
        IntArray inventories, hosts, subtree;
        DataLoader::collect_inventories(loader, k.uid, inventories);
        DataLoader::collect_hosts(loader, k.uid, hosts);
        DataLoader::collect_subtree(loader, k.uid, subtree);
        auto sorted = [](std::vector<int> v) {
            std::sort(v.begin(), v.end());
            return v;
        };
        EXPECT_EQ(sorted(values(inventories)), sorted(k.inventories)) << k.uid;
        EXPECT_EQ(values(hosts), k.hosts) << k.uid;  // ascending
        EXPECT_EQ(sorted(values(subtree)), sorted(k.subtree)) << k.uid;
        EXPECT_EQ(values(subtree).front(), k.uid);
    }
}

TEST_P(InventoryTreeTest, ALoopInTheParentsEndsTheWalks)
{
    // The folder moved below its own snapshot: every walk must still end.
    auto c = db->connect();
    c->get_stmnt_results("UPDATE InventoryTree SET parentid = ? WHERE uid = ?", {int32_t(ids.inventory), int32_t(ids.folder)});
    IntArray subtree, ancestors, hosts;
    DataLoader::collect_subtree(loader, ids.folder, subtree);
    EXPECT_EQ(subtree.Count(), 3);
    DataLoader::get_ancestors(loader, ids.snapshot, ancestors);
    EXPECT_EQ(values(ancestors), (std::vector<int>{ids.inventory, ids.folder}));
    DataLoader::collect_hosts(loader, ids.folder, hosts);
    EXPECT_EQ(hosts.Count(), 2);
    EXPECT_EQ(DataLoader::remove_tree_element(loader, ids.folder), 0);
    EXPECT_EQ(rows("InventoryTree"), 0);
    EXPECT_EQ(rows("InventoryHosts"), 0);
}

TEST_P(InventoryTreeTest, RemovalLeavesNoOrphansWhateverIsRemoved)
{
    struct Case {
        const char* what;
        int InventoryIds::*uid;
        long tree_left, hosts_left, tabs_left, settings_left;
    } cases[] = {
        {"host", &InventoryIds::host_a, 3, 1, 0, 5},
        {"snapshot", &InventoryIds::snapshot, 2, 0, 0, 5},
        {"inventory", &InventoryIds::inventory, 1, 0, 0, 0},
        {"folder", &InventoryIds::folder, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        ASSERT_EQ(orphans(), 0);
        EXPECT_EQ(DataLoader::remove_tree_element(loader, ids.*c.uid), 0);
        EXPECT_EQ(orphans(), 0);
        EXPECT_EQ(rows("InventoryTree"), c.tree_left);
        EXPECT_EQ(rows("InventoryHosts"), c.hosts_left);
        EXPECT_EQ(rows("InventoryTabs"), c.tabs_left);
        EXPECT_EQ(rows("InventoryPing") + rows("InventoryIPs") + rows("InventoryComms"), c.settings_left);
        EXPECT_EQ(rows("ScanSummaryData") + rows("ScanInterfacesData"), 0);
    }
}

TEST_P(InventoryTreeTest, AFailedRemovalLeavesEveryRow)
{
    // A table the removal needs is gone: the removal fails after it has
    // deleted the inventory's own rows.
    db->connect()->query("DROP TABLE ScanSlotsData");
    LogCapture log;
    const long tree = rows("InventoryTree"), hosts = rows("InventoryHosts"), tabs = rows("InventoryTabs"),
               data = rows("ScanSummaryData") + rows("ScanInterfacesData"), ips = rows("InventoryIPs");
    EXPECT_EQ(DataLoader::remove_tree_element(loader, ids.inventory), -1);
    EXPECT_EQ(rows("InventoryTree"), tree);
    EXPECT_EQ(rows("InventoryHosts"), hosts);
    EXPECT_EQ(rows("InventoryTabs"), tabs);
    EXPECT_EQ(rows("ScanSummaryData") + rows("ScanInterfacesData"), data);
    EXPECT_EQ(rows("InventoryIPs"), ips);
    // It failed on the dropped table, after the statements that delete the
    // inventory's tree and settings rows had run.
    EXPECT_GE(log.count("DELETE FROM ScanBaseBoardData"), 1);
    EXPECT_EQ(log.count("not removed"), 1);
    EXPECT_NE(log.text().find("ScanSlotsData"), std::string::npos);
    // The loader's connection is usable afterwards, outside any transaction.
    DataLoader::set_tree_status(loader, ids.folder, 4);
    EXPECT_EQ(DataLoader::get_status(loader, ids.folder), 4);
}

TEST_P(InventoryTreeTest, UnlockedSnapshotsAreRemovedLockedOnesStay)
{
    const int locked = add_snapshot(1, 10);
    const int second = add_snapshot(0, 20);
    EXPECT_EQ(DataLoader::remove_unlocked_snapshots(loader, ids.inventory), second);
    IntArray left;
    DataLoader::collect_subtree(loader, ids.inventory, left);
    EXPECT_EQ(values(left), (std::vector<int>{ids.inventory, locked}));
    EXPECT_EQ(orphans(), 0);
    EXPECT_EQ(rows("ScanSlotsData"), 1);  // the locked snapshot's host keeps its data
    EXPECT_EQ(DataLoader::remove_unlocked_snapshots(loader, ids.inventory), -1);
}

INSTANTIATE_TEST_SUITE_P(Db, InventoryTreeTest, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

}  // namespace
