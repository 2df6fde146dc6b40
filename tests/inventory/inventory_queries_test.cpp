// Inventory reads, device identity, host search and the status roll-up on
// both databases.
#include "inventory_fixture.h"

#include "admin_fixture.h"
#include "db_test_env.h"
#include "qr_exception.h"
#include "qr_strings.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <vector>

namespace {

using namespace inventory_fixture;

std::vector<int> values(const IntArray& a)
{
    return std::vector<int>(a.begin(), a.end());
}

class InventoryQueriesTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        db = InventoryDb::make(backend());
        loader = db->loader.get();
        ids = db->ids;
    }
    void run(const std::string& sql, const qr_sql_params& params = {})
    {
        db->connect()->get_stmnt_results(sql, params);
    }
    int add_host(int snapshot, const std::string& address, const std::string& dns, const std::string& netname,
                 int stamp = 0, int status = 0)
    {
        auto c = db->connect();
        int uid = fixture_new_uid(*c);
        c->get_stmnt_results("INSERT INTO InventoryHosts (AsOfId, uid, NetAddr, DNSName, NetName, TimeStmp, Status) "
                             "VALUES (?, ?, ?, ?, ?, ?, ?)",
                             {int32_t(snapshot), int32_t(uid), address, dns, netname, int64_t(stamp), int32_t(status)});
        return uid;
    }

    std::unique_ptr<InventoryDb> db;
    DataLoader* loader = nullptr;
    InventoryIds ids;
};

TEST_P(InventoryQueriesTest, TabsAndHostRecords)
{
    std::string map, data;
    int horlayout = -5;
    EXPECT_EQ(DataLoader::get_tab_info(loader, ids.tab_interfaces, map, data, horlayout), interfaces_tab_type);
    EXPECT_EQ(map, "MapInterfaces");
    EXPECT_EQ(data, "ScanInterfacesData");
    EXPECT_EQ(horlayout, 1);
    EXPECT_EQ(DataLoader::get_tab_info(loader, 999999, map, data, horlayout), -1);
    EXPECT_EQ(DataLoader::get_tab_host(loader, ids.tab_summary), ids.host_a);
    EXPECT_EQ(DataLoader::get_tab_host(loader, 999999), -1);

    EXPECT_EQ(DataLoader::get_host_time_stamp(loader, ids.host_b), host_b_time);
    EXPECT_EQ(DataLoader::get_host_time_stamp(loader, 999999), 0);
    std::string sysobjid, dns;
    int cls = 0, grp = 0, vnd = 0, hard = 0, soft = 0, mon = 0, as_of = 0;
    EXPECT_TRUE(DataLoader::get_host_record(loader, ids.host_a, sysobjid, cls, grp, vnd, hard, soft, mon, as_of, dns));
    EXPECT_EQ(sysobjid, "1.3.6.1.4.1.9.1.516");
    EXPECT_EQ(std::vector<int>({cls, grp, vnd, hard, soft, mon, as_of}),
              std::vector<int>({20, 2, 9, 1, 2, 3, ids.snapshot}));
    EXPECT_EQ(dns, host_a_dns);
    EXPECT_FALSE(DataLoader::get_host_record(loader, 999999, sysobjid, cls, grp, vnd, hard, soft, mon, as_of, dns));
    EXPECT_EQ(DataLoader::get_host_as_of(loader, ids.host_b), ids.snapshot);
    EXPECT_EQ(DataLoader::get_host_as_of(loader, 999999), 0);
}

TEST_P(InventoryQueriesTest, ScanSettingsOfAnyItemAreItsInventorys)
{
    for (int uid : {ids.inventory, ids.snapshot, ids.host_a}) {
        IntArray tabs;
        ScanSettings s;
        DataLoader::get_scan_settings(loader, uid, tabs, s);
        EXPECT_EQ(values(tabs), (std::vector<int>{1, 2})) << uid;
        EXPECT_EQ(s.ping, 2);
        ASSERT_EQ(s.ranges.Count(), 2);
        EXPECT_EQ(s.ranges[0].from, "10.1.1.0");
        EXPECT_EQ(s.ranges[1].file, "walk's file.txt");
        ASSERT_EQ(s.communities.Count(), 2);
        EXPECT_EQ(s.communities[0].name, "public");
        EXPECT_EQ(s.communities[1].name, "pri'v\"ate");
    }
    LogCapture log;
    IntArray tabs;
    ScanSettings s;
    DataLoader::get_scan_settings(loader, ids.folder, tabs, s);  // no inventory above a folder
    DataLoader::get_scan_settings(loader, 999999, tabs, s);
    EXPECT_EQ(log.count("Can not find tree item with ID=0"), 1);
    EXPECT_EQ(log.count("Can not find tree item with ID=999999"), 1);
    EXPECT_EQ(s.ranges.Count(), 0);
}

TEST_P(InventoryQueriesTest, DataTablesReadBackInTheirOrder)
{
    ScanDataTable summary;
    DataLoader::read_data_table(loader, summary, "ScanSummaryData", ids.host_a);
    ASSERT_EQ(summary.columns.size(), 1u);
    EXPECT_EQ(summary.columns[0].values[0], summary_device);
    EXPECT_EQ(summary.columns[0].values[1], summary_text);

    for (const char* name : {"zeta", "Alpha", "beta"})
        run("INSERT INTO ScanInstalledSoftData (uid, host_id, Data1, Data2) VALUES (0, ?, 'x', ?)",
            {int32_t(ids.host_b), std::string(name)});
    ScanDataTable soft;
    DataLoader::read_data_table(loader, soft, "ScanInstalledSoftData", ids.host_b);
    ASSERT_EQ(soft.columns.size(), 3u);
    EXPECT_EQ(soft.columns[0].values[1], "Alpha");
    EXPECT_EQ(soft.columns[1].values[1], "beta");
    EXPECT_EQ(soft.columns[2].values[1], "zeta");

    LogCapture log;
    ScanDataTable none;
    DataLoader::read_data_table(loader, none, "InventoryHosts WHERE 1=1 --", ids.host_b);
    EXPECT_TRUE(none.columns.empty());
    EXPECT_EQ(log.count("Invalid data table name"), 1);

    DB_DATA result;
    DataLoader::run_query(loader, "SELECT NetAddr FROM InventoryHosts ORDER BY uid", result);
    EXPECT_EQ(result.RowCount(), 2);
    EXPECT_THROW(DataLoader::run_query(loader, "SELECT nothing FROM nowhere", result), qr_exception_t);
}

TEST_P(InventoryQueriesTest, ScanIsOverWhenHostAndSnapshotAreDoneOrCancelled)
{
    struct Case {
        int host_status, snapshot_status;
        bool over;
    } cases[] = {{0, 0, true}, {4, 4, true}, {0, 1, false}, {1, 0, false}};
    for (const Case& c : cases) {
        run("UPDATE InventoryHosts SET Status = ? WHERE uid = ?", {int32_t(c.host_status), int32_t(ids.host_a)});
        run("UPDATE InventoryTree SET status = ? WHERE uid = ?", {int32_t(c.snapshot_status), int32_t(ids.snapshot)});
        EXPECT_EQ(DataLoader::get_item_if_status(loader, ids.host_a), c.over) << c.host_status << c.snapshot_status;
    }
    EXPECT_FALSE(DataLoader::get_item_if_status(loader, 999999));
}

TEST_P(InventoryQueriesTest, RunningScanCountersAlongABranch)
{
    IntArray ancestors;
    DataLoader::get_ancestors(loader, ids.snapshot, ancestors);
    EXPECT_EQ(values(ancestors), (std::vector<int>{ids.inventory, ids.folder, 0}));

    // Counting a scan on the snapshot touches the folder and the inventory
    // (types 0 and 1), never the snapshot itself.
    PairArray changed;
    DataLoader::update_internal_scans(loader, ids.snapshot, changed, true);
    ASSERT_EQ(changed.Count(), 2);
    EXPECT_EQ(changed[0].first, ids.inventory);
    EXPECT_EQ(changed[0].second, 1);
    EXPECT_EQ(changed[1].first, ids.folder);
    changed.Clear();
    DataLoader::update_internal_scans(loader, ids.inventory, changed, true);
    EXPECT_EQ(changed.Count(), 0);  // 1 -> 2 changes no attribute
    EXPECT_EQ(DataLoader::get_internal_scans(loader, ids.folder), 2);
    for (int i = 0; i < 3; ++i) {
        changed.Clear();
        DataLoader::update_internal_scans(loader, ids.folder, changed, false);
    }
    // The third count-out finds 0, stays at 0 and still reports.
    EXPECT_EQ(changed.Count(), 2);
    EXPECT_EQ(DataLoader::get_internal_scans(loader, ids.folder), 0);
    EXPECT_EQ(DataLoader::get_internal_scans(loader, ids.snapshot), 0);
}

TEST_P(InventoryQueriesTest, SnapshotsConcernedByAnItem)
{
    struct Case {
        int uid;
        int host_status;
        std::vector<int> snapshots;
    } cases[] = {
        {ids.folder, 0, {ids.snapshot}},
        {ids.snapshot, 0, {ids.snapshot}},
        {ids.host_a, 0, {}},  // a finished host
        {ids.host_a, 1, {ids.snapshot}},
        {999999, 0, {}},
    };
    for (const Case& c : cases) {
        run("UPDATE InventoryHosts SET Status = ? WHERE uid = ?", {int32_t(c.host_status), int32_t(ids.host_a)});
        IntArray out;
        DataLoader::walk_subtree(loader, c.uid, out);
        EXPECT_EQ(values(out), c.snapshots) << c.uid;
    }
}

TEST_P(InventoryQueriesTest, DeviceIdentityFromTheFirstSourceThatHasOne)
{
    const int snap = ids.snapshot;
    const int with_summary = ids.host_a;  // summary id already set
    const int serial_only = add_host(snap, "10.7.0.2", "", "");
    run("INSERT INTO ScanSummaryData (uid, host_id, Data1) VALUES (0, ?, '')", {int32_t(serial_only)});
    run("INSERT INTO ScanEnclosureData (uid, host_id, Data9, Data11) VALUES (0, ?, 'SER''9', 'TAG')",
        {int32_t(serial_only)});
    const int mac_only = add_host(snap, "10.7.0.3", "", "");
    for (const char* mac : {"00:aa", "00:cc", "00:bb"})
        run("INSERT INTO ScanInterfacesData (uid, host_id, Data7) VALUES (0, ?, ?)",
            {int32_t(mac_only), std::string(mac)});
    const int name_only = add_host(snap, "10.7.0.4", "", "");
    const int nothing = add_host(snap, "10.7.0.5", "", "");

    struct Case {
        int host;
        std::string address, name, device;
    } cases[] = {
        {with_summary, "10.1.1.1", "n1", summary_device},
        {serial_only, "10.7.0.2", "n2", "SER'9"},
        {mac_only, "10.7.0.3", "n3", "00:cc"},  // the greatest, not the first
        {name_only, "10.7.0.4", "sys \"n4\"", "sys \"n4\""},
        {with_summary, "10.1.1.99", "n1", summary_device},  // a second address of a known device
    };
    for (const Case& c : cases)
        DataLoader::update_device_identity(loader, c.host, c.address, c.name);
    DataLoader::update_device_identity(loader, nothing, "10.7.0.5", "");

    DB_DATA devices = db->connect()->query("SELECT DeviceId, SerialNumber, SNMPAssetTag, MAC, SysName FROM InvDevices");
    ASSERT_EQ(devices.RowCount(), 4);  // none for the host without any id
    auto c = db->connect();
    for (const Case& k : cases) {
        EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM InvDevices WHERE DeviceId = ?", {k.device}), 1) << k.device;
        EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM InvDeviceSNMPInterfaces "
                            "WHERE DeviceID = ? AND NetworkAddress = ?",
                            {k.device, k.address}),
                  1)
            << k.device;
    }
    DB_DATA serial = c->query("SELECT * FROM InvDevices WHERE SerialNumber = 'SER''9'");
    EXPECT_EQ(serial.Column("SNMPAssetTag").GetString(0), "TAG");
    EXPECT_EQ(c->get_stmnt_results("SELECT Data1 FROM ScanSummaryData WHERE host_id = ?", {int32_t(serial_only)})
                  .Column("Data1")
                  .GetString(0),
              "SER'9");
    EXPECT_EQ(db->count("SELECT COUNT(*) AS n FROM InvDeviceSNMPInterfaces WHERE NetworkAddress = '10.7.0.5'"), 0);
}

TEST_P(InventoryQueriesTest, SearchByAddressAndByName)
{
    const int upper = add_host(ids.snapshot, "192.168.10.5", "Mail.Example.ORG", "MAILHOST");
    const int percent = add_host(ids.snapshot, "10.20.30.40", "", "100%_done");
    const int plain = add_host(ids.snapshot, "172.16.0.1", "", "100xAdone");
    struct Case {
        const char* pattern;
        bool by_name;
        std::vector<int> hosts;
    } cases[] = {
        {"10.*.5", false, {upper}},  // both pieces, anywhere
        {"10.1.", false, {ids.host_a, ids.host_b}},
        {" 10. 1.2 ", false, {ids.host_b}},  // blanks are dropped
        {"", false, {}},
        {"*", false, {ids.host_a, ids.host_b, upper, percent, plain}},
        // The console's form: four octets, each a value, a range or a star.
        {"10 . 1 . [1-2] . *", false, {ids.host_a, ids.host_b}},
        {"10 . [1-20] . * . [1-7]", false, {ids.host_a, ids.host_b}},
        {"* . * . * . [40-40]", false, {percent}},
        {"* . * . * . *", false, {ids.host_a, ids.host_b, upper, percent, plain}},
        {"0 . 1 . 1 . 1", false, {}},        // whole octets, not a piece of "10.1.1.1"
        {"10 . 1 . [2-1] . *", false, {}},   // malformed: nothing
        {"10 . 1 . [1-2]", false, {}},
        {"10 . 1 . 1 . [1-256]", false, {}},
        {"mail*", true, {upper}},            // case-insensitive on both databases
        {"*L.EXAMPLE.org", true, {upper}},
        {"mail", true, {}},                  // no star: the whole name
        {"host'a", true, {ids.host_a}},
        {"100%_done", true, {percent}},      // '%' and '_' are literal
        {"100*done", true, {percent, plain}},
        {"b_host%", true, {ids.host_b}},
        {"*'; DROP TABLE InventoryHosts; --", true, {}},
    };
    for (const Case& c : cases) {
        IntArray out;
        if (c.by_name)
            DataLoader::find_host_by_name(loader, c.pattern, out);
        else
            DataLoader::find_host_by_address(loader, c.pattern, out);
        EXPECT_EQ(values(out), c.hosts) << c.pattern;
    }
}

TEST_P(InventoryQueriesTest, StatusRollUp)
{
    EXPECT_EQ(DataLoader::children_status(loader, ids.folder), 0);
    const int empty = DataLoader::new_uid(loader);
    run("INSERT INTO InventoryTree (uid, parentid, type, status) VALUES (?, ?, 0, 4)",
        {int32_t(empty), int32_t(ids.folder)});
    EXPECT_EQ(DataLoader::children_status(loader, empty), 0);  // item statuses are not looked at
    run("UPDATE InventoryHosts SET Status = 4 WHERE uid = ?", {int32_t(ids.host_b)});
    for (int uid : {ids.folder, ids.inventory, ids.snapshot, ids.host_b})
        EXPECT_EQ(DataLoader::children_status(loader, uid), 4) << uid;
    EXPECT_EQ(DataLoader::children_status(loader, ids.host_a), 0);
}

TEST_P(InventoryQueriesTest, HostLabelsAndRows)
{
    EXPECT_EQ(DataLoader::get_host_label_with_date(loader, ids.host_b, ids.host_a),
              DataLoader::host_caption(loader, ids.host_b) + ", " + FormatDateTime(host_a_time));
    EXPECT_EQ(DataLoader::get_host_label_with_date(loader, ids.host_b, 999999),
              DataLoader::host_caption(loader, ids.host_b));

    TiXmlElement rows("ROWS");
    EXPECT_EQ(DataLoader::host_rows_to_xml(loader, IntArray(), rows, true), 0);
    IntArray hosts;
    hosts.Add(ids.host_a);
    hosts.Add(ids.host_b);
    EXPECT_EQ(DataLoader::host_rows_to_xml(loader, hosts, rows, true), 1);
    hosts.Clear();
    hosts.Add(ids.host_b);
    EXPECT_EQ(DataLoader::host_rows_to_xml(loader, hosts, rows, false), 1);
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    rows.Accept(&printer);
    const std::string a = DataLoader::host_caption(loader, ids.host_a);
    const std::string b = DataLoader::host_caption(loader, ids.host_b);
    EXPECT_EQ(printer.Str(), "<ROWS><ROW><CELLS><CELL /><CELL /><CELL text=\"" + a +
                                 "\" /><CELL /></CELLS></ROW><ROW><CELLS><CELL /><CELL /><CELL text=\"" + b +
                                 "\" /><CELL /></CELLS></ROW><ROW><CELLS><CELL /><CELL /><CELL /><CELL text=\"" + b +
                                 "\" /></CELLS></ROW></ROWS>");
}

TEST_P(InventoryQueriesTest, OneHostPerDevice)
{
    auto summary = [&](int host, const std::string& device) {
        run("INSERT INTO ScanSummaryData (uid, host_id, Data1) VALUES (0, ?, ?)", {int32_t(host), device});
    };
    const int older = add_host(ids.snapshot, "10.8.0.1", "", "", 100);
    const int newer = add_host(ids.snapshot, "10.8.0.2", "", "", 200);
    const int tie = add_host(ids.snapshot, "10.8.0.3", "", "", 200);
    summary(older, "dev");
    summary(newer, "dev");
    summary(tie, "dev");
    // host A has its own device; host B has no summary row; a host with an empty id.
    const int blank = add_host(ids.snapshot, "10.8.0.4", "", "", 5);
    summary(blank, "");
    IntArray hosts;
    for (int h : {older, ids.host_b, newer, ids.host_a, tie, blank})
        hosts.Add(h);
    DataLoader::keep_latest_per_device(loader, hosts);
    EXPECT_EQ(values(hosts), (std::vector<int>{newer, ids.host_b, ids.host_a, blank}));
}

TEST_P(InventoryQueriesTest, ThousandsOfHostsInOneList)
{
    // Far more uids than one statement should carry.
    const int n = 5000;
    const std::string numbers = "(WITH RECURSIVE seq(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM seq WHERE i < " +
                                std::to_string(n - 1) + ") SELECT i FROM seq) AS numbers";
    run("INSERT INTO InventoryHosts (AsOfId, uid, NetAddr, TimeStmp, Status) SELECT ?, 100000 + i, 'a', i, 0 FROM " +
            numbers,
        {int32_t(ids.snapshot)});
    run("INSERT INTO ScanSummaryData (uid, host_id, Data1) SELECT 0, 100000 + i, 'd' || (i % 1000) FROM " + numbers);
    IntArray hosts;
    DataLoader::collect_hosts(loader, ids.snapshot, hosts);
    ASSERT_EQ(hosts.Count(), n + 2);
    IntArray devices(hosts);
    DataLoader::keep_latest_per_device(loader, devices);
    ASSERT_EQ(devices.Count(), 1000 + 2);  // host A's device, and host B without an id
    DeviceDescrArray_ latest;
    DataLoader::latest_hosts_by_device(loader, hosts, latest);
    ASSERT_EQ(latest.Count(), 1001);
    for (const DeviceDescr& d : latest) {
        if (d.name == summary_device)
            continue;
        const int k = std::stoi(d.name.substr(1));
        EXPECT_EQ(d.first, 100000 + 4000 + k) << d.name;  // the newest of its five hosts
        EXPECT_EQ(d.second, 4000 + k);
    }
}

INSTANTIATE_TEST_SUITE_P(Db, InventoryQueriesTest, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

}  // namespace
