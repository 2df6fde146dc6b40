// Whole scans through the scanner's threads: real snmpd agents on
// 127.0.63.x, a real SQLite inventory and the fixture administration data,
// real ping, notifications through the recording services.
#include "scan_fixture.h"

#include "admin_fixture.h"
#include "loader.h"
#include "snmp_agents.h"
#include "snmp_line.h"
#include "temp_dir.h"

#include "qr_settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <thread>

namespace {

const char* const HostA = "127.0.63.1";  // mapped device: tabs Summary and Interfaces
const char* const HostB = "127.0.63.2";  // net-snmp device: class 30 by the mapping
const char* const Quiet = "127.0.63.3";  // no agent

TestAgents* agents = nullptr;
TempDir* folder = nullptr;  // program folder: registry, SnmpOutput

// Administration rows for host A's sysObjectID in the form the scanner reads
// it (leading dot): identity, its two tabs, and their map lines.
void add_admin_rows(const std::string& backend)
{
    auto c = AdminFixture::get(backend).connect();
    const std::string a = ".1.3.6.1.4.1.9.1.516";
    c->get_stmnt_results("INSERT INTO SNMPMibMap (OID, VendorId, GroupId, ClassId) VALUES (?, 9, 2, 20)", {a});
    for (auto [tab, order] : {std::pair{2, 20}, std::pair{1, 10}})
        c->get_stmnt_results("INSERT INTO SNMPWhat2Scan (TabId, ScanOrder, Enabled, SysObjId) VALUES (?, ?, 1, ?)",
                             {int32_t(tab), int32_t(order), a});
    c->get_stmnt_results("INSERT INTO MapInterfaces (UID, RowType, ScanOrder, \"TableOID\", Plugin, SysObjId, f1, f2, f3) "
                         "VALUES (110, 'TABLE', 1, '.1.3.6.1.2.1.2.2.1', 'std', ?, '.1.3.6.1.2.1.2.2.1.2', "
                         "'.1.3.6.1.2.1.2.2.1.3', 'server_index')",
                         {a});
    c->get_stmnt_results("INSERT INTO MapSummary (UID, RowType, ScanOrder, Plugin, SysObjId, f1, f2) "
                         "VALUES (170, 'VALUE', 1, 'std', ?, '.1.3.6.1.2.1.1.5', '.1.3.6.1.2.1.1.1')",
                         {a});
}

class ScanAgentsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new TempDir;
        ::setenv("TRV_REGISTRY_DIR", folder->file("registry").c_str(), 1);
        WriteRegistryInt("SNMPTimeout", 1);
        WriteRegistryInt("SNMPRetries", 1);
        WriteRegistryInt("SNMPTabAttempts", 2);
        ::mkdir(folder->file("SnmpOutput").c_str(), 0755);
        for (const char* backend : {"sqlite", "postgresql"})
            add_admin_rows(backend);
        agents = new TestAgents;
        // SNMP output walks every subtree at a time-out of 1 s.
        AgentSpec a{HostA, "e2e-a", "Mapped router", ".1.3.6.1.4.1.9.1.516"};
        AgentSpec b{HostB, "e2e-b", "Net-SNMP box", ".1.3.6.1.4.1.8072.3.2.10"};
        for (AgentSpec* spec : {&a, &b}) {
            spec->host_resources = false;
            ASSERT_TRUE(agents->start(*spec)) << agents->error();
        }
    }
    static void TearDownTestSuite()
    {
        delete agents;
        delete folder;
    }

    void range_scan(const std::string& backend);

    ScannerOptions options(int snmp_threads = 2)
    {
        ScannerOptions o = ScanBench::quick_options();
        o.ping_threads = 1;
        o.snmp_threads = snmp_threads;
        o.program_dir = folder->path();
        return o;
    }

    // Starts the scanner and a scan of the snapshot; waits for its end.
    static void run_scan(ScanBench& bench, int id, bool until_end = true, const std::string& backend = "sqlite")
    {
        bench.services.set_data_source("ADMIN", AdminFixture::get(backend).loader.get());
        bench.scanner->start();
        start_scan_request(*bench.scanner, id, bench.snapshot, "", false, 0, ScanClient);
        if (until_end)
            wait_for_end(bench, id);
    }
    static void wait_for_end(ScanBench& bench, int id, int end_lines = 1)
    {
        ASSERT_TRUE(bench.wait_for_end(id, end_lines)) << "the scan did not end";
    }

    static int host_uid(ScanBench& bench, const std::string& address)
    {
        auto c = bench.db->connect();
        DB_DATA r = c->get_stmnt_results("SELECT uid FROM InventoryHosts WHERE AsOfId=? AND NetAddr=?",
                                         {int32_t(bench.snapshot), address});
        return r.RowCount() == 1 ? static_cast<int>(r.Column("uid").GetLong(0)) : -1;
    }
    static std::string host_text(ScanBench& bench, int uid, const std::string& column)
    {
        auto c = bench.db->connect();
        DB_DATA r = c->get_stmnt_results("SELECT " + column + " AS v FROM InventoryHosts WHERE uid=?", {int32_t(uid)});
        return r.RowCount() == 1 ? r.Column("v").GetString(0) : "<none>";
    }
    // Column c of every stored row of the host's data table.
    static std::vector<std::string> stored_column(ScanBench& bench, const std::string& table, int host, size_t c)
    {
        ScanDataTable data;
        DataLoader::read_data_table(bench.db->loader.get(), data, table, host);
        std::vector<std::string> out;
        for (const ScanColumn& row : data.columns)
            out.push_back(row.value_at(c));
        return out;
    }
};

// SNMP first, two communities of which the agents answer only the second;
// the address without an agent is pinged after SNMP stayed silent.
void ScanAgentsTest::range_scan(const std::string& backend)
{
    ScanBench bench(3, {"127.0.63.1-3"}, {"wrong", "public"}, "", options(), backend);
    int id = bench.register_scan();
    run_scan(bench, id, true, backend);

    EXPECT_EQ(bench.value("SELECT COUNT(*) AS n FROM InventoryHosts WHERE AsOfId=?", bench.snapshot), 3);
    int a = host_uid(bench, HostA), b = host_uid(bench, HostB), q = host_uid(bench, Quiet);
    ASSERT_GT(a, 0);
    ASSERT_GT(b, 0);
    ASSERT_GT(q, 0);
    for (int uid : {a, b, q}) {
        EXPECT_EQ(host_text(bench, uid, "Status"), "0");
        EXPECT_EQ(bench.calls("SendTreeItem", uid) >= 1, true);
    }
    EXPECT_EQ(host_text(bench, a, "CommunityStr"), "public");
    EXPECT_EQ(host_text(bench, a, "NetName"), "e2e-a");
    EXPECT_EQ(host_text(bench, a, "HasSnmp"), "Y");
    EXPECT_EQ(host_text(bench, a, "DevClassId"), "20");
    EXPECT_EQ(host_text(bench, a, "DevGroupId"), "2");
    EXPECT_EQ(host_text(bench, a, "DevVendorId"), "9");
    EXPECT_EQ(host_text(bench, b, "DevClassId"), "30");
    EXPECT_EQ(host_text(bench, b, "DevVendorId"), "8072");
    EXPECT_EQ(host_text(bench, q, "HasSnmp"), "N");
    EXPECT_EQ(host_text(bench, q, "HasPing"), "Y");

    // One TREEITEM per host from the job, and the end-of-scan lines once.
    int from_jobs = 0;
    for (const auto& call : bench.services.calls())
        from_jobs += call.name == "BroadcastTreeItem";
    EXPECT_EQ(from_jobs, 3);
    EXPECT_EQ(bench.value("SELECT status FROM InventoryTree WHERE uid=?", bench.snapshot), 0);
    EXPECT_EQ(bench.logs_with("Scan <Inv> has been completed."), 1);
    EXPECT_EQ(bench.logs_with("End Scan <Inv>"), 1);
    EXPECT_EQ(bench.logs_with("ip:127.0.63.1 NO response"), 1);
    EXPECT_EQ(bench.logs_with("ip:127.0.63.3 NO response for any cs"), 1);

    // The interfaces tab holds what snmpwalk reads from the same agent.
    EXPECT_EQ(bench.value("SELECT COUNT(*) AS n FROM InventoryTabs WHERE host_id=?", a), 2);
    std::vector<std::string> names = snmpwalk_values(HostA, ".1.3.6.1.2.1.2.2.1.2");
    std::vector<std::string> types = snmpwalk_values(HostA, ".1.3.6.1.2.1.2.2.1.3");
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(stored_column(bench, "ScanInterfacesData", a, 0), names);
    EXPECT_EQ(stored_column(bench, "ScanInterfacesData", a, 1), types);
    EXPECT_EQ(stored_column(bench, "ScanInterfacesData", a, 2), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(stored_column(bench, "ScanSummaryData", a, 0), std::vector<std::string>{"e2e-a"});
    EXPECT_EQ(stored_column(bench, "ScanSummaryData", a, 1), std::vector<std::string>{"Mapped router"});
    EXPECT_EQ(bench.scanner->jobs().count(), 0);
}

TEST_F(ScanAgentsTest, RangeScanIntoSqlite)
{
    range_scan("sqlite");
}

TEST_F(ScanAgentsTest, RangeScanIntoPostgresql)
{
    range_scan("postgresql");
}

// Each stage wakes the next: with poll intervals far beyond the test's
// two-minute bound, the scan still ends, through every kind of thread (the
// request thread queues, SNMP workers discover, the silent host goes back to
// ping, the saver stores), and the host rows are the ones a polled scan makes.
TEST_F(ScanAgentsTest, StagesWakeEachOtherWithoutPolling)
{
    ScannerOptions o = options();
    o.ping_poll_ms = o.snmp_poll_ms = o.saver_poll_ms = 10 * 60 * 1000;
    ScanBench bench(3, {"127.0.63.1-3"}, {"public"}, "", o);
    run_scan(bench, bench.register_scan());
    EXPECT_EQ(bench.value("SELECT COUNT(*) AS n FROM InventoryHosts WHERE AsOfId=?", bench.snapshot), 3);
    EXPECT_EQ(host_text(bench, host_uid(bench, HostA), "NetName"), "e2e-a");
    EXPECT_EQ(host_text(bench, host_uid(bench, Quiet), "HasPing"), "Y");
    EXPECT_EQ(bench.logs_with("End Scan <Inv>"), 1);
    EXPECT_EQ(bench.scanner->jobs().count(), 0);
}

// A range read from a walk file of an agent gives the tables of the agent.
TEST_F(ScanAgentsTest, WalkFileScanMatchesTheLiveAgent)
{
    std::string text = run_program({"snmpwalk", "-v1", "-c", "public", "-On", "-Oe", "-Ot", HostA, ".1"});
    std::ofstream(folder->file("SnmpOutput/a.walk")) << text;

    ScanBench live(1, {HostA}, {"public"}, "", options(1));
    run_scan(live, live.register_scan());
    // The walk file answers for an address that has no agent.
    ScanBench file(1, {std::string(Quiet) + "|a.walk"}, {"public"}, "", options(1));
    run_scan(file, file.register_scan());

    int from_live = host_uid(live, HostA), from_file = host_uid(file, Quiet);
    ASSERT_GT(from_live, 0);
    ASSERT_GT(from_file, 0);
    EXPECT_EQ(host_text(file, from_file, "NetName"), "e2e-a");
    EXPECT_EQ(host_text(file, from_file, "DevClassId"), "20");
    for (const char* table : {"ScanInterfacesData", "ScanSummaryData"}) {
        SCOPED_TRACE(table);
        ScanDataTable a, b;
        DataLoader::read_data_table(live.db->loader.get(), a, table, from_live);
        DataLoader::read_data_table(file.db->loader.get(), b, table, from_file);
        ASSERT_FALSE(a.columns.empty());
        ASSERT_EQ(a.columns.size(), b.columns.size());
        for (size_t r = 0; r < a.columns.size(); ++r)
            EXPECT_EQ(a.columns[r].values, b.columns[r].values);
    }
}

// Raw output of a scanned host goes to the consoles and leaves its row as it
// was; for a silent agent the request ends without a ping.
TEST_F(ScanAgentsTest, SnmpOutputRequests)
{
    ScanBench bench(3, {"127.0.63.1", "127.0.63.3"}, {"public"}, "", options(1));
    run_scan(bench, bench.register_scan());
    int a = host_uid(bench, HostA), q = host_uid(bench, Quiet);
    ASSERT_GT(a, 0);
    ASSERT_GT(q, 0);
    const int pings = bench.logs_with("ip:127.0.63.3 Pinging");
    EXPECT_EQ(pings, 1);
    bench.services.clear();

    int id = bench.register_scan();
    start_scan_request(*bench.scanner, id, bench.snapshot, HostA, true, a, ScanClient);
    wait_for_end(bench, id);
    std::string output;
    for (const auto& push : bench.services.pushes())
        if (push.xml.rfind("<SNMP_OUTPUT", 0) == 0)
            output += push.xml;
    EXPECT_NE(output.find("uid=\"" + std::to_string(a) + "\""), std::string::npos);
    EXPECT_NE(output.find(".1.3.6.1.2.1.1.5.0 e2e-a"), std::string::npos);
    EXPECT_EQ(bench.logs_with("ip:127.0.63.1 SNMP output data collected."), 1);
    EXPECT_EQ(bench.value("SELECT COUNT(*) AS n FROM InventoryHosts WHERE AsOfId=?", bench.snapshot), 2);
    EXPECT_EQ(host_text(bench, a, "NetName"), "e2e-a");
    EXPECT_EQ(host_text(bench, a, "Status"), "0");

    id = bench.register_scan();
    start_scan_request(*bench.scanner, id, bench.snapshot, Quiet, true, q, ScanClient);
    wait_for_end(bench, id, 2);
    EXPECT_EQ(bench.logs_with("ip:127.0.63.3 NO response for any cs"), 1);
    EXPECT_EQ(bench.logs_with("Pinging"), 0);
    EXPECT_EQ(host_text(bench, q, "HasPing"), "Y");
    EXPECT_EQ(bench.scanner->jobs().count(), 0);
}

// Ping first; the hosts without an agent keep SNMP workers busy until the
// scan is cancelled: every job is let go, the snapshot ends with status 4.
TEST_F(ScanAgentsTest, CancelInTheMiddleAbortsTheScan)
{
    // 180 silent hosts at a time-out of 1 s on 2 SNMP workers: 90 s of
    // waiting, far more than the test itself takes to cancel on any machine.
    ScanBench bench(2, {"127.0.63.1-2", "127.0.63.20-199"}, {"public"}, "", options());
    int id = bench.register_scan();
    run_scan(bench, id, false);
    // Wait until host rows are in; most jobs are still before their end.
    for (int i = 0; i < 6000; ++i) {
        if (bench.value("SELECT COUNT(*) AS n FROM InventoryHosts WHERE AsOfId=?", bench.snapshot) >= 3)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_GE(bench.value("SELECT COUNT(*) AS n FROM InventoryHosts WHERE AsOfId=?", bench.snapshot), 3);
    ASSERT_FALSE(bench.scanner->all_jobs_done(bench.snapshot));
    cancel_host_scan(*bench.scanner, bench.inventory, ScanClient);
    wait_for_end(bench, id);
    EXPECT_EQ(bench.scanner->jobs().count(), 0);
    EXPECT_EQ(bench.value("SELECT status FROM InventoryTree WHERE uid=?", bench.snapshot), 4);
    EXPECT_GE(bench.value("SELECT COUNT(*) AS n FROM InventoryHosts WHERE AsOfId=? AND Status=4", bench.snapshot), 1);
    EXPECT_EQ(bench.value("SELECT COUNT(*) AS n FROM InventoryHosts WHERE AsOfId=? AND Status=1", bench.snapshot), 0);
    EXPECT_EQ(bench.logs_with("Scan <Inv> has been aborted."), 1);
    EXPECT_EQ(bench.logs_with(" has been "), 1);
}

}  // namespace
