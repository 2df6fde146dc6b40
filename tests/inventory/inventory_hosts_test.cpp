// Writes of hosts, tabs, scan settings and data rows on both databases, and
// the host rows written from scan jobs.
#include "inventory_fixture.h"

#include "admin_fixture.h"
#include "db_test_env.h"
#include "job.h"
#include "qr_exception.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <vector>

namespace {

using namespace inventory_fixture;

class InventoryHostsTest : public DbBackendTest {
protected:
    void SetUp() override
    {
        db = InventoryDb::make(backend());
        loader = db->loader.get();
        ids = db->ids;
    }

    long rows(const std::string& sql, const qr_sql_params& params = {})
    {
        return db->count("SELECT COUNT(*) AS n FROM " + sql, params);
    }
    DB_DATA host_row(int uid)
    {
        return db->connect()->get_stmnt_results("SELECT * FROM InventoryHosts WHERE uid = ?", {int32_t(uid)});
    }

    std::unique_ptr<InventoryDb> db;
    DataLoader* loader = nullptr;
    InventoryIds ids;
};

ScanColumn column(std::vector<std::string> values)
{
    ScanColumn c;
    c.values = std::move(values);
    return c;
}

TEST_P(InventoryHostsTest, UidsComeFromTheIndexInIncreasingOrder)
{
    auto empty = InventoryDb::make(backend(), false);
    const int first = DataLoader::new_uid(empty->loader.get());
    EXPECT_EQ(first, 1);
    EXPECT_EQ(DataLoader::new_uid(empty->loader.get()), 2);

    const int next = DataLoader::new_uid(loader);
    EXPECT_EQ(next, ids.tab_interfaces + 1);
    EXPECT_EQ(rows("TrvIndex"), next);

    db->connect()->query("DROP TABLE TrvIndex");
    EXPECT_EQ(DataLoader::new_uid(loader), 0);
}

TEST_P(InventoryHostsTest, TabsAreWrittenAndAFailedInsertGivesNoUid)
{
    TabRecord tab;
    tab.host_id = ids.host_b;
    tab.type = software_tab_type;
    tab.name = "Soft'ware <&>";
    tab.scanorder = 7;
    tab.horlayout = 1;
    EXPECT_FALSE(DataLoader::host_has_tabs(loader, ids.host_b));
    const int uid = DataLoader::insert_tab(loader, tab);
    ASSERT_GT(uid, ids.tab_interfaces);
    EXPECT_TRUE(DataLoader::host_has_tabs(loader, ids.host_b));
    DB_DATA row = db->connect()->get_stmnt_results("SELECT * FROM InventoryTabs WHERE uid = ?", {int32_t(uid)});
    EXPECT_EQ(row.Column("name").GetString(0), "Soft'ware <&>");
    EXPECT_EQ(row.Column("type").GetLong(0), software_tab_type);
    EXPECT_EQ(row.Column("scanorder").GetLong(0), 7);
    EXPECT_EQ(row.Column("host_id").GetLong(0), ids.host_b);

    db->connect()->query("DROP TABLE InventoryTabs");
    EXPECT_EQ(DataLoader::insert_tab(loader, tab), 0);
}

// A statement the database refuses is logged once, by the layer that ran it,
// with the database's own reason; the operation only gives its neutral result.
TEST_P(InventoryHostsTest, ARefusedStatementIsLoggedOnceWithItsCause)
{
    db->connect()->query("DROP TABLE InventoryTabs");
    TabRecord tab;
    tab.host_id = ids.host_b;
    tab.name = "Summary";
    LogCapture log;
    EXPECT_EQ(DataLoader::insert_tab(loader, tab), 0);
    const std::string text = log.text();
    const std::string line = "Error     Failed to Execute SQL Statement 'INSERT INTO InventoryTabs";
    const size_t at = text.find(line);
    ASSERT_NE(at, std::string::npos) << text;
    EXPECT_EQ(text.find(line, at + line.size()), std::string::npos) << "logged twice:\n" << text;
    // The database's reason is in that one line.
    EXPECT_NE(text.find("' is invalid. [Failed to Execute SQL Statement 'INSERT INTO InventoryTabs", at),
              std::string::npos)
        << text;
}

TEST_P(InventoryHostsTest, DataTablesAreStoredVerbatim)
{
    const std::string hostile = "it's \"quoted\" <a&b> 100% \xc3\xbc\\n";
    ScanDataTable table;
    table.add_column(column({"first", hostile}));
    table.add_column(column({"x"}));
    DataLoader::write_data_table(loader, table, "ScanCPUData", ids.host_b, false);

    ScanDataTable back;
    DataLoader::read_data_table(loader, back, "ScanCPUData", ids.host_b);
    ASSERT_EQ(back.columns.size(), 2u);
    EXPECT_EQ(back.columns[0].values.size(), 100u);  // every DataN column of the schema
    EXPECT_EQ(back.columns[0].get_index(), 0);
    EXPECT_EQ(back.columns[0].values[0], "first");
    EXPECT_EQ(back.columns[0].values[1], "x");
    EXPECT_EQ(back.columns[1].values[0], hostile);
    EXPECT_EQ(back.columns[1].values[1], "");

    // Replacing with an empty table deletes the host's rows and writes none.
    DataLoader::write_data_table(loader, ScanDataTable(), "ScanCPUData", ids.host_b, true);
    EXPECT_EQ(rows("ScanCPUData"), 0);
}

TEST_P(InventoryHostsTest, ABadRowIsSkippedAndTheNextOneWritten)
{
    LogCapture log;
    std::vector<std::string> too_many(101, "v");
    DataLoader::insert_data_row(loader, column(too_many), "ScanCPUData", ids.host_b);
    DataLoader::insert_data_row(loader, column({"a"}), "ScanCPUData; DROP TABLE InventoryTree", ids.host_b);
    DataLoader::insert_data_row(loader, column({"ok"}), "ScanCPUData", ids.host_b);
    EXPECT_EQ(rows("ScanCPUData"), 1);
    EXPECT_EQ(rows("InventoryTree"), 3);
    EXPECT_EQ(log.count("Error"), 2) << log.text();
}

// A tab is written at once; when the database refuses one of its rows
// (PostgreSQL refuses bytes that are no UTF-8), the rows are written one by
// one instead, the refused one left out, and what the tab replaces is gone
// either way.
TEST_P(InventoryHostsTest, ATabWithARefusedRowIsWrittenRowByRow)
{
    ScanDataTable old_tab;
    old_tab.add_column(column({"old"}));
    DataLoader::write_data_table(loader, old_tab, "ScanCPUData", ids.host_b, true);
    ScanDataTable tab;
    tab.add_column(column({"a", "\xff\xfe latin", "c"}));
    LogCapture log;
    DataLoader::write_data_table(loader, tab, "ScanCPUData", ids.host_b, true);
    ScanDataTable back;
    DataLoader::read_data_table(loader, back, "ScanCPUData", ids.host_b);
    std::vector<std::string> stored;
    for (const ScanColumn& row : back.columns)
        stored.push_back(row.value_at(0));
    if (is_postgresql()) {
        EXPECT_EQ(stored, (std::vector<std::string>{"a", "c"}));
        EXPECT_EQ(log.count("at once failed, row by row now"), 1) << log.text();
    } else {
        EXPECT_EQ(stored, (std::vector<std::string>{"a", "\xff\xfe latin", "c"}));
        EXPECT_EQ(log.count("Error"), 0) << log.text();
    }
}

TEST_P(InventoryHostsTest, ScanSettingsKeepTheirOrder)
{
    TiXmlElement item("TREEITEM");
    struct Range {
        const char *from, *to, *file;
    } ranges[] = {
        {"10.9.0.1", "10.9.0.9", nullptr}, {"0.0.0.0", nullptr, "walk 'x'.txt"}, {"10.2.0.1", "10.2.0.5", ""}};
    const char* communities[] = {"zeta", "alpha", "mid'dle \"q\""};
    for (int i = 0; i < 3; ++i) {
        TiXmlElement ip("IP");
        if (ranges[i].from) ip.SetAttribute("from", ranges[i].from);
        if (ranges[i].to) ip.SetAttribute("to", ranges[i].to);
        if (ranges[i].file) ip.SetAttribute("file", ranges[i].file);
        item.InsertEndChild(ip);
        TiXmlElement other("OTHER");
        item.InsertEndChild(other);
        TiXmlElement comm("COMM");
        comm.SetAttribute("name", communities[i]);
        item.InsertEndChild(comm);
    }
    const int uid = DataLoader::new_uid(loader);
    TreeItemRecord inv;
    inv.uid = uid;
    inv.type = 1;
    inv.Tabs2Scan = "4,,7";
    DataLoader::insert_tree_item(loader, inv);
    DataLoader::write_scan_settings(loader, uid, item);

    IntArray tabs;
    ScanSettings settings;
    settings.ping = 99;
    DataLoader::get_scan_settings(loader, uid, tabs, settings);
    EXPECT_EQ(settings.ping, 3);  // no "ping" attribute
    EXPECT_EQ(std::vector<int>(tabs.begin(), tabs.end()), (std::vector<int>{4, 0, 7}));
    ASSERT_EQ(settings.ranges.Count(), 3);
    ASSERT_EQ(settings.communities.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(settings.ranges[i].place_order, i);
        EXPECT_EQ(settings.communities[i].name, communities[i]);
        EXPECT_EQ(settings.communities[i].place_order, i);
    }
    EXPECT_EQ(settings.ranges[0].from, "10.9.0.1");
    EXPECT_EQ(settings.ranges[1].from, "");
    EXPECT_EQ(settings.ranges[1].file, "walk 'x'.txt");
    EXPECT_EQ(settings.ranges[2].to, "10.2.0.5");

    // Changing an item: delete, then write again.
    DataLoader::delete_scan_settings(loader, uid);
    EXPECT_EQ(rows("InventoryIPs WHERE InventoryID = ?", {int32_t(uid)}) +
                  rows("InventoryComms WHERE InventoryID = ?", {int32_t(uid)}) +
                  rows("InventoryPing WHERE InventoryID = ?", {int32_t(uid)}),
              0);
    for (auto [text, ping] : {std::pair{"1", 1}, std::pair{"junk", 3}}) {
        TiXmlElement p("TREEITEM");
        p.SetAttribute("ping", text);
        DataLoader::delete_scan_settings(loader, uid);
        DataLoader::write_scan_settings(loader, uid, p);
        ScanSettings s;
        DataLoader::get_scan_settings(loader, uid, tabs, s);
        EXPECT_EQ(s.ping, ping) << text;
        EXPECT_EQ(s.ranges.Count(), 0);
    }
}

TEST_P(InventoryHostsTest, HostStatusNameAndRemoval)
{
    EXPECT_TRUE(DataLoader::set_host_status(loader, ids.host_a, 4));
    EXPECT_FALSE(DataLoader::set_host_status(loader, ids.host_a, 4));  // already 4
    EXPECT_FALSE(DataLoader::set_host_status(loader, 999999, 4));
    EXPECT_EQ(DataLoader::get_status(loader, ids.host_a), 4);

    DataLoader::set_host_dns_name(loader, ids.host_b, "b's name");
    EXPECT_EQ(host_row(ids.host_b).Column("DNSName").GetString(0), "b's name");
    DataLoader::delete_host(loader, ids.host_b);
    EXPECT_EQ(host_row(ids.host_b).RowCount(), 0);
}

TEST_P(InventoryHostsTest, ResetAfterStartEndsInterruptedScans)
{
    auto c = db->connect();
    c->get_stmnt_results("UPDATE InventoryHosts SET HasPing = 'N', HasSnmp = 'N' WHERE uid = ?", {int32_t(ids.host_b)});
    c->get_stmnt_results("UPDATE InventoryHosts SET Status = 1 WHERE uid = ?", {int32_t(ids.host_a)});
    c->get_stmnt_results("UPDATE InventoryTree SET status = 1, has_internal_scans = 2 WHERE uid = ?",
                         {int32_t(ids.snapshot)});
    DataLoader::reset_after_start(loader);
    EXPECT_EQ(host_row(ids.host_b).RowCount(), 0);
    EXPECT_EQ(DataLoader::get_status(loader, ids.host_a), 4);
    EXPECT_EQ(DataLoader::get_status(loader, ids.snapshot), 4);
    EXPECT_EQ(DataLoader::get_status(loader, ids.inventory), 0);
    EXPECT_EQ(DataLoader::get_internal_scans(loader, ids.snapshot), 0);
}

void fill_job(Job& job, int uid, int as_of, const std::string& address)
{
    job.set_host_uid(uid);
    job.set_as_of_id(as_of);
    job.set_net_addr(address);
    job.set_dns_name("dns'name");
    job.set_net_name("NET \"N\"");
    job.set_community("pub'lic");
    job.set_sys_obj_id("1.3.6.1.4.1.9.1.1");
    job.set_dev_class_id(11);
    job.set_dev_group_id(12);
    job.set_dev_vendor_id(9);
    job.set_agent_type_hard(2);
    job.set_agent_type_soft(3);
    job.set_agent_type_mon(4);
}

TEST_P(InventoryHostsTest, ReplacingAHostWritesOneFreshRowOrLeavesTheOldOne)
{
    Job job;
    fill_job(job, ids.host_b, ids.snapshot, host_b_address);
    job.set_has_ping(1);
    job.set_state(JOB_SNMP_DONE);
    DataLoader::replace_host(loader, job);
    DB_DATA row = host_row(ids.host_b);
    ASSERT_EQ(row.RowCount(), 1);
    EXPECT_EQ(row.Column("Status").GetLong(0), 1);
    EXPECT_EQ(row.Column("HasPing").GetString(0), "Y");
    EXPECT_EQ(row.Column("HasSnmp").GetString(0), "Y");
    EXPECT_EQ(row.Column("NetAddrInt").GetLong(0), 10L * 16777216 + 1 * 65536 + 2 * 256 + 7);
    EXPECT_EQ(row.Column("DNSName").GetString(0), "dns'name");
    EXPECT_EQ(row.Column("NetName").GetString(0), "NET \"N\"");
    EXPECT_EQ(row.Column("TimeStmp").GetLong(0), job.get_time_stamp());

    // The new uid is taken by another host: the insert fails, the old row stays.
    Job clash;
    fill_job(clash, ids.host_a, ids.snapshot, host_b_address);
    clash.set_state(JOB_PINGING);
    DataLoader::replace_host(loader, clash);
    row = host_row(ids.host_b);
    ASSERT_EQ(row.RowCount(), 1);
    EXPECT_EQ(row.Column("NetAddr").GetString(0), host_b_address);
    EXPECT_EQ(rows("InventoryHosts"), 2);
}

TEST_P(InventoryHostsTest, HostUpdatesFromJobs)
{
    Job job;
    fill_job(job, ids.host_b, ids.snapshot, host_b_address);
    job.set_has_ping(0);
    job.set_state(JOB_SNMP_DONE);
    DataLoader::update_host_from_job(loader, job);
    DB_DATA row = host_row(ids.host_b);
    EXPECT_EQ(row.Column("CommunityStr").GetString(0), "pub'lic");
    EXPECT_EQ(row.Column("DNSName").GetString(0), "dns'name");
    EXPECT_EQ(row.Column("SysObjId").GetString(0), "1.3.6.1.4.1.9.1.1");
    EXPECT_EQ(row.Column("DevClassId").GetLong(0), 11);
    EXPECT_EQ(row.Column("AgentTypeMon").GetLong(0), 4);
    EXPECT_EQ(row.Column("HasPing").GetString(0), "N");
    EXPECT_EQ(row.Column("HasSnmp").GetString(0), "Y");
    EXPECT_EQ(row.Column("Status").GetLong(0), 0);
    EXPECT_EQ(host_row(ids.host_a).Column("DNSName").GetString(0), host_a_dns);  // only the job's host

    // A cancelled job leaves the answers as they were and marks the host 4.
    job.set_has_ping(1);
    job.set_state(JOB_CANCELLED);
    DataLoader::update_host_from_job(loader, job);
    row = host_row(ids.host_b);
    EXPECT_EQ(row.Column("HasPing").GetString(0), "N");
    EXPECT_EQ(row.Column("Status").GetLong(0), 4);

    Job output;
    fill_job(output, ids.host_b, ids.snapshot, host_b_address);
    output.set_dns_name("changed");
    output.set_snmp_output(true);
    DataLoader::update_host_from_job(loader, output);
    EXPECT_EQ(host_row(ids.host_b).Column("DNSName").GetString(0), "dns'name");
}

// Hosts of a snapshot with a summary row each: (uid, device id, time).
std::vector<int> add_hosts(InventoryDb& db, int snapshot, const std::vector<std::pair<std::string, int>>& hosts)
{
    auto c = db.connect();
    std::vector<int> uids;
    for (const auto& [device, stamp] : hosts) {
        int uid = fixture_new_uid(*c);
        c->get_stmnt_results("INSERT INTO InventoryHosts (AsOfId, uid, NetAddr, TimeStmp, Status) "
                             "VALUES (?, ?, '10.5.5.5', ?, 0)",
                             {int32_t(snapshot), int32_t(uid), int64_t(stamp)});
        c->get_stmnt_results("INSERT INTO ScanSummaryData (uid, host_id, Data1) VALUES (0, ?, ?)",
                             {int32_t(uid), device});
        uids.push_back(uid);
    }
    return uids;
}

TEST_P(InventoryHostsTest, NewestHostPerDevice)
{
    // 5 and 9 share a device and 9 is newer; two hosts without an id stay apart.
    std::vector<int> h =
        add_hosts(*db, ids.snapshot, {{"dev-x", 100}, {"dev-y", 100}, {"", 50}, {"", 60}, {"dev-x", 300}});
    IntArray list;
    for (int uid : h)
        list.Add(uid);
    list.Add(ids.host_b);  // no summary row
    DeviceDescrArray_ out;
    DataLoader::latest_hosts_by_device(loader, list, out);
    ASSERT_EQ(out.Count(), 2);
    EXPECT_EQ(out[0].name, "dev-x");
    EXPECT_EQ(out[0].first, h[4]);
    EXPECT_EQ(out[0].second, 300);
    EXPECT_EQ(out[1].name, "dev-y");
    EXPECT_EQ(out[1].first, h[1]);

    DataLoader::latest_hosts_by_device(loader, IntArray(), out);
    EXPECT_EQ(out.Count(), 0);
}

TEST_P(InventoryHostsTest, InterfaceAddressesAreRecordedOnce)
{
    for (int i = 0; i < 2; ++i)
        DataLoader::add_interface_address(loader, "dev'1", "10.1.1.1");
    DataLoader::add_interface_address(loader, "dev'1", "10.1.1.2");
    EXPECT_EQ(rows("InvDeviceSNMPInterfaces WHERE DeviceID = ?", {std::string("dev'1")}), 2);
}

INSTANTIATE_TEST_SUITE_P(Db, InventoryHostsTest, TRV_DB_BACKENDS, [](const auto& i) { return i.param; });

}  // namespace
