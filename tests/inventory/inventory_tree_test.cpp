// The inventory tree on both databases: item writes and reads, the
// questions about a uid, the collectors, and removal of branches (no orphan
// rows, all or nothing).
#include "inventory_fixture.h"

#include "admin_fixture.h"

#include "db_test_env.h"
#include "qr_exception.h"
#include "qr_strings.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <ctime>
#include <utility>
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

    // A plain item or inventory below parent, written directly.
    int add_item(int parent, int type, const std::string& name)
    {
        auto c = db->connect();
        const int uid = fixture_new_uid(*c);
        c->get_stmnt_results("INSERT INTO InventoryTree (uid, parentid, type, status, locked, name, TimeStmp) "
                             "VALUES (?, ?, ?, 0, 0, ?, 1)",
                             {int32_t(uid), int32_t(parent), int32_t(type), name});
        return uid;
    }

    // Every tree row as "uid:parent:type:status:locked:name", in uid order.
    std::vector<std::string> tree_rows()
    {
        DB_DATA rows = db->connect()->query("SELECT * FROM InventoryTree ORDER BY uid");
        std::vector<std::string> out;
        for (int r = 0; r < rows.RowCount(); ++r)
            out.push_back(rows.Column("uid").GetString(r) + ":" + rows.Column("parentid").GetString(r) + ":" +
                          rows.Column("type").GetString(r) + ":" + rows.Column("status").GetString(r) + ":" +
                          rows.Column("locked").GetString(r) + ":" + rows.Column("name").GetString(r));
        return out;
    }

    // An inventory's scan settings and tab list in one comparable text.
    std::string settings_of(int uid)
    {
        IntArray tabs;
        ScanSettings settings;
        settings.ping = -1;
        DataLoader::get_scan_settings(loader, uid, tabs, settings);
        std::string out = "ping " + std::to_string(settings.ping) + "; tabs";
        for (int t : tabs)
            out += " " + std::to_string(t);
        for (const IPRange& r : settings.ranges)
            out += "; ip " + r.from + "-" + r.to + " " + r.file + " @" + std::to_string(r.place_order);
        for (const Community& c : settings.communities)
            out += "; comm " + c.name + " @" + std::to_string(c.place_order);
        return out;
    }

    // The uids of the tree rows below parent, in uid order.
    std::vector<int> children(int parent)
    {
        DB_DATA rows = db->connect()->get_stmnt_results(
            "SELECT uid FROM InventoryTree WHERE parentid = ? ORDER BY uid", {int32_t(parent)});
        std::vector<int> out;
        for (int r = 0; r < rows.RowCount(); ++r)
            out.push_back(static_cast<int>(rows.Column("uid").GetLong(r)));
        return out;
    }

    DB_DATA tree_row(int uid)
    {
        return db->connect()->get_stmnt_results("SELECT * FROM InventoryTree WHERE uid = ?", {int32_t(uid)});
    }

    std::unique_ptr<InventoryDb> db;
    DataLoader* loader = nullptr;
    InventoryIds ids;
};

// A TREEITEM request element of an inventory with these settings.
TiXmlElement settings_element(int ping, std::vector<std::string> communities)
{
    TiXmlElement item("TREEITEM");
    item.SetAttribute("ping", ping);
    TiXmlElement ip("IP");
    ip.SetAttribute("from", "10.7.0.1");
    ip.SetAttribute("to", "10.7.0.9");
    item.InsertEndChild(ip);
    for (const std::string& name : communities) {
        TiXmlElement comm("COMM");
        comm.SetAttribute("name", name);
        item.InsertEndChild(comm);
    }
    return item;
}

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

    const int second_folder = add_item(0, 0, "second");
    item.name = "renamed 'again'";
    item.parentid = second_folder;
    item.status = 1;
    item.TimeStmp = 5;  // not written by an update
    EXPECT_EQ(DataLoader::update_tree_item(loader, item), item.uid);
    row = db->connect()->get_stmnt_results("SELECT * FROM InventoryTree WHERE uid = ?", {int32_t(item.uid)});
    EXPECT_EQ(row.Column("name").GetString(0), "renamed 'again'");
    EXPECT_EQ(row.Column("parentid").GetLong(0), second_folder);
    EXPECT_EQ(row.Column("TimeStmp").GetLong(0), 1700001234);
    EXPECT_EQ(DataLoader::get_status(loader, item.uid), 1);

    DataLoader::set_tree_status(loader, item.uid, 4);
    EXPECT_EQ(DataLoader::get_status(loader, item.uid), 4);
    item.status = keep_status;  // a rename keeps what the scan set
    item.name = "kept status";
    EXPECT_EQ(DataLoader::update_tree_item(loader, item), item.uid);
    EXPECT_EQ(DataLoader::get_status(loader, item.uid), 4);
    EXPECT_EQ(DataLoader::get_item_name(loader, item.uid), "kept status");
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
    c->get_stmnt_results("UPDATE InventoryTree SET parentid = ? WHERE uid = ?",
                         {int32_t(ids.inventory), int32_t(ids.folder)});
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

TEST_P(InventoryTreeTest, NoUidRemovesNothing)
{
    const std::vector<std::string> before = tree_rows();
    const long hosts = rows("InventoryHosts"), settings = rows("InventoryIPs");
    for (int uid : {0, -1})
        EXPECT_EQ(DataLoader::remove_tree_element(loader, uid), -1) << uid;
    EXPECT_EQ(tree_rows(), before);
    EXPECT_EQ(rows("InventoryHosts"), hosts);
    EXPECT_EQ(rows("InventoryIPs"), settings);
}

TEST_P(InventoryTreeTest, AParentInTheItemsOwnBranchIsRefused)
{
    const int sub = add_item(ids.folder, 0, "sub");
    const std::vector<std::string> before = tree_rows();
    for (int parent : {ids.folder, sub, ids.inventory, ids.snapshot}) {
        TreeItemRecord item;
        item.uid = ids.folder;
        item.parentid = parent;
        item.name = "looped";
        EXPECT_THROW(DataLoader::update_tree_item(loader, item), qr_exception_t) << parent;
    }
    EXPECT_EQ(tree_rows(), before);
    // A parent outside the branch is taken.
    TreeItemRecord item;
    item.uid = sub;
    item.parentid = 0;
    item.name = "sub";
    EXPECT_EQ(DataLoader::update_tree_item(loader, item), sub);
    EXPECT_EQ(DataLoader::get_parent_id(loader, sub), 0);
}

TEST_P(InventoryTreeTest, AChangeOfParentObeysTheRulesOfAMove)
{
    const int other = add_item(0, 0, "other");
    const TiXmlElement settings = settings_element(1, {"public"});
    const std::vector<std::string> before = tree_rows();
    const int settings_before = rows("InventoryComms");
    struct Case {
        const char* what;
        int uid, type, parent;
    } refused[] = {
        {"an item that does not exist", 987654, 1, 0},
        {"a snapshot to another inventory's folder", ids.snapshot, 2, other},
        {"a folder under an inventory", other, 0, ids.inventory},
        {"a folder under a parent that does not exist", other, 0, 987655},
    };
    for (const Case& c : refused) {
        TreeItemRecord item;
        item.uid = c.uid;
        item.type = c.type;
        item.parentid = c.parent;
        item.name = "changed";
        EXPECT_THROW(DataLoader::update_tree_item(loader, item, c.type == 1 ? &settings : nullptr), qr_exception_t)
            << c.what;
    }
    EXPECT_EQ(tree_rows(), before);
    EXPECT_EQ(rows("InventoryComms"), settings_before);

    // The parent it has already: a rename, taken.
    TreeItemRecord rename;
    rename.uid = ids.snapshot;
    rename.type = 2;
    rename.parentid = ids.inventory;
    rename.name = "renamed snapshot";
    EXPECT_EQ(DataLoader::update_tree_item(loader, rename), ids.snapshot);
    EXPECT_EQ(DataLoader::get_item_name(loader, ids.snapshot), "renamed snapshot");
}

TEST_P(InventoryTreeTest, SettingsChangeWithTheirItemOrNotAtAll)
{
    // A second community of one name fails after the old settings were
    // deleted and part of the new ones written.
    db->connect()->query("CREATE UNIQUE INDEX comms_name_once ON InventoryComms (Name)");
    const std::string old_settings = settings_of(ids.inventory);
    const TiXmlElement failing = settings_element(1, {"fresh", "twice", "twice"});

    TreeItemRecord item;
    item.uid = ids.inventory;
    item.parentid = ids.folder;
    item.type = 1;
    item.name = "renamed";
    item.Tabs2Scan = "9";
    EXPECT_THROW(DataLoader::update_tree_item(loader, item, &failing), qr_exception_t);
    EXPECT_EQ(settings_of(ids.inventory), old_settings);
    EXPECT_EQ(DataLoader::get_item_name(loader, ids.inventory), inventory_name);
    EXPECT_EQ(rows("InventoryComms"), 2);

    TreeItemRecord added;
    added.uid = DataLoader::new_uid(loader);
    added.parentid = ids.folder;
    added.type = 1;
    added.name = "added";
    EXPECT_THROW(DataLoader::insert_tree_item(loader, added, &failing), qr_exception_t);
    EXPECT_EQ(DataLoader::get_item_type(loader, added.uid), -1);
    EXPECT_EQ(orphans(), 0);

    // Settings that can be written replace the old ones with the row.
    const TiXmlElement good = settings_element(1, {"fresh", "other"});
    EXPECT_EQ(DataLoader::update_tree_item(loader, item, &good), ids.inventory);
    EXPECT_EQ(settings_of(ids.inventory), "ping 1; tabs 9; ip 10.7.0.1-10.7.0.9  @0; comm fresh @0; comm other @1");
    const TiXmlElement also_good = settings_element(2, {"third"});
    EXPECT_EQ(DataLoader::insert_tree_item(loader, added, &also_good), added.uid);
    EXPECT_EQ(settings_of(added.uid), "ping 2; tabs; ip 10.7.0.1-10.7.0.9  @0; comm third @0");
    EXPECT_EQ(orphans(), 0);
}

TEST_P(InventoryTreeTest, ACopyTakesFoldersAndInventoriesButNoSnapshots)
{
    // folder / sub / second inventory, beside the fixture's inventory; the
    // fixture's inventory has a scan running and is locked.
    const int sub = add_item(ids.folder, 0, "sub");
    const int second = add_item(sub, 1, "second");
    db->connect()->get_stmnt_results("UPDATE InventoryTree SET status = 1, locked = 1, has_internal_scans = 1 "
                                     "WHERE uid = ?",
                                     {int32_t(ids.inventory)});
    const long hosts = rows("InventoryHosts"), tabs = rows("InventoryTabs"), tree = rows("InventoryTree");
    const long snapshots = db->count("SELECT COUNT(*) AS n FROM InventoryTree WHERE type = 2");
    const int last_uid = DataLoader::new_uid(loader);

    const time_t start = std::time(nullptr);
    const int copy = DataLoader::copy_tree_item(loader, ids.folder, 0);
    ASSERT_GT(copy, last_uid);
    EXPECT_EQ(rows("InventoryTree"), tree + 4);
    EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM InventoryTree WHERE type = 2"), snapshots);
    EXPECT_EQ(rows("InventoryHosts"), hosts);
    EXPECT_EQ(rows("InventoryTabs"), tabs);
    EXPECT_EQ(orphans(), 0);

    DB_DATA top = tree_row(copy);
    EXPECT_EQ(top.Column("parentid").GetLong(0), 0);
    EXPECT_EQ(top.Column("name").GetString(0), folder_name);
    std::vector<int> below = children(copy);
    ASSERT_EQ(below.size(), 2u);
    if (tree_row(below[0]).Column("type").GetLong(0) != 1)
        std::swap(below[0], below[1]);  // the inventory's copy first, then sub's
    DB_DATA inventory = tree_row(below[0]);
    EXPECT_EQ(inventory.Column("type").GetLong(0), 1);
    EXPECT_EQ(inventory.Column("name").GetString(0), inventory_name);
    EXPECT_EQ(inventory.Column("comment").GetString(0), inventory_comment);
    EXPECT_EQ(inventory.Column("status").GetLong(0), 0);
    EXPECT_EQ(inventory.Column("has_internal_scans").GetLong(0), 0);
    EXPECT_EQ(inventory.Column("locked").GetLong(0), 1);
    EXPECT_GE(inventory.Column("TimeStmp").GetLong(0), start);
    EXPECT_EQ(settings_of(below[0]), settings_of(ids.inventory));
    EXPECT_TRUE(children(below[0]).empty());  // no snapshot
    EXPECT_EQ(tree_row(below[1]).Column("name").GetString(0), "sub");
    const std::vector<int> deeper = children(below[1]);
    ASSERT_EQ(deeper.size(), 1u);
    EXPECT_EQ(tree_row(deeper[0]).Column("name").GetString(0), "second");
    EXPECT_NE(deeper[0], second);

    // Into its own branch: the branch as it was, once.
    const long before_own = rows("InventoryTree");
    const int inside = DataLoader::copy_tree_item(loader, ids.folder, sub);
    ASSERT_GT(inside, 0);
    EXPECT_EQ(rows("InventoryTree"), before_own + 4);
    EXPECT_EQ(DataLoader::get_parent_id(loader, inside), sub);

    // An inventory alone.
    const int lone = DataLoader::copy_tree_item(loader, ids.inventory, sub);
    ASSERT_GT(lone, 0);
    EXPECT_EQ(settings_of(lone), settings_of(ids.inventory));
    EXPECT_TRUE(children(lone).empty());
    EXPECT_EQ(orphans(), 0);
}

TEST_P(InventoryTreeTest, RefusedOrFailedCopiesChangeNothing)
{
    const int sub = add_item(ids.folder, 0, "sub");
    const struct {
        const char* what;
        int uid, parent;
    } cases[] = {
        {"a snapshot", ids.snapshot, ids.folder},
        {"a host", ids.host_a, 0},
        {"an unknown item", 999999, 0},
        {"no item", 0, 0},
        {"under an inventory", sub, ids.inventory},
        {"under a snapshot", sub, ids.snapshot},
        {"under a host", sub, ids.host_b},
        {"under an unknown parent", sub, 999999},
        {"under a negative parent", sub, -3},
    };
    const std::vector<std::string> before = tree_rows();
    const long settings = rows("InventoryPing") + rows("InventoryIPs") + rows("InventoryComms");
    const long drawn = rows("TrvIndex");
    for (const auto& c : cases)
        EXPECT_EQ(DataLoader::copy_tree_item(loader, c.uid, c.parent), -1) << c.what;
    EXPECT_EQ(tree_rows(), before);
    EXPECT_EQ(rows("TrvIndex"), drawn);

    // A failure half way (the communities cannot be read) leaves no copy.
    db->connect()->query("DROP TABLE InventoryComms");
    EXPECT_EQ(DataLoader::copy_tree_item(loader, ids.folder, 0), -1);
    EXPECT_EQ(tree_rows(), before);
    EXPECT_EQ(rows("InventoryPing") + rows("InventoryIPs"), settings - 2);
}

TEST_P(InventoryTreeTest, MovesAndRefusedMoves)
{
    const int sub = add_item(ids.folder, 0, "sub");
    const int other = add_item(0, 7, "other");

    EXPECT_EQ(DataLoader::move_tree_item(loader, ids.inventory, other), ids.inventory);
    EXPECT_EQ(DataLoader::get_parent_id(loader, ids.inventory), other);
    EXPECT_EQ(DataLoader::move_tree_item(loader, ids.folder, other), ids.folder);
    EXPECT_EQ(DataLoader::move_tree_item(loader, ids.folder, 0), ids.folder);
    EXPECT_EQ(DataLoader::get_parent_id(loader, ids.folder), 0);
    // The branch moved with its item.
    EXPECT_EQ(DataLoader::get_parent_id(loader, sub), ids.folder);
    EXPECT_EQ(DataLoader::get_parent_id(loader, ids.snapshot), ids.inventory);
    // Onto the parent it has: nothing to do.
    EXPECT_EQ(DataLoader::move_tree_item(loader, ids.snapshot, ids.inventory), ids.snapshot);
    EXPECT_EQ(orphans(), 0);

    const int running = add_item(sub, 1, "running");
    db->connect()->get_stmnt_results("UPDATE InventoryTree SET has_internal_scans = 1 WHERE uid = ?",
                                     {int32_t(running)});
    const struct {
        const char* what;
        int uid, parent;
    } cases[] = {
        {"under itself", ids.folder, ids.folder},
        {"under its own child", ids.folder, sub},
        {"under its own grandchild", other, ids.snapshot},
        {"a snapshot elsewhere", ids.snapshot, sub},
        {"a host", ids.host_a, ids.folder},
        {"an unknown item", 999999, 0},
        {"under an inventory", sub, ids.inventory},
        {"under a snapshot", sub, ids.snapshot},
        {"under a host", sub, ids.host_a},
        {"under an unknown parent", sub, 999999},
        {"with a scan running", running, 0},
    };
    const std::vector<std::string> before = tree_rows();
    for (const auto& c : cases)
        EXPECT_EQ(DataLoader::move_tree_item(loader, c.uid, c.parent), -1) << c.what;
    EXPECT_EQ(tree_rows(), before);
}

INSTANTIATE_TEST_SUITE_P(Db, InventoryTreeTest, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

}  // namespace
