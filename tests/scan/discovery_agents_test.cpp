// Discovery against agents that are slow to get ready: the agent-type probe
// retries while the QOR agent answers "not ready", and a tab whose agent is
// still preparing is tried again only as often as SNMPTabAttempts allows.
// Real snmpd agents on 127.0.65.x, a real SQLite inventory and the fixture
// administration data.
#include "scan_fixture.h"

#include "admin_fixture.h"
#include "discovery.h"
#include "loader.h"
#include "snmp_agents.h"
#include "snmp_master.h"
#include "snmp_session.h"
#include "temp_dir.h"

#include "qr_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

const char* const Plain = "127.0.65.1";     // no QOR subtree at all
const char* const Hardware = "127.0.65.2";  // QOR agent with the hardware tables
const char* const Late = "127.0.65.3";      // the same, "not ready" for its first three answers
const char* const Never = "127.0.65.4";     // the same, never ready
const char* const TabsOnce = "127.0.65.10";   // the QOR agent's name "not ready" once
const char* const TabsTwice = "127.0.65.11";  // the same, for a scan that may try twice

// The device of the tab hosts; its Summary row reads sysName and the QOR
// agent's name, which the agent prepares first.
const char* const TabDevice = ".1.3.6.1.4.1.77.65";
const char* const PreparedOid = ".1.3.6.1.4.1.39871.1.1";

TestAgents* agents = nullptr;
TempDir* folder = nullptr;  // program folder: registry

void add_admin_rows()
{
    auto c = AdminFixture::get("sqlite").connect();
    const std::string d = TabDevice;
    c->get_stmnt_results("INSERT INTO SNMPMibMap (OID, VendorId, GroupId, ClassId) VALUES (?, 77, 1, 10)", {d});
    for (auto [tab, order] : {std::pair{1, 10}, std::pair{2, 20}})
        c->get_stmnt_results("INSERT INTO SNMPWhat2Scan (TabId, ScanOrder, Enabled, SysObjId) VALUES (?, ?, 1, ?)",
                             {int32_t(tab), int32_t(order), d});
    c->get_stmnt_results("INSERT INTO MapSummary (UID, RowType, ScanOrder, Plugin, SysObjId, f1, f2) "
                         "VALUES (6501, 'VALUE', 1, 'std', ?, '.1.3.6.1.2.1.1.5', ?)",
                         {d, std::string(PreparedOid)});
    c->get_stmnt_results("INSERT INTO MapInterfaces (UID, RowType, ScanOrder, \"TableOID\", Plugin, SysObjId, f1) "
                         "VALUES (6502, 'TABLE', 1, '.1.3.6.1.2.1.2.2.1', 'std', ?, '.1.3.6.1.2.1.2.2.1.2')",
                         {d});
}

class DiscoveryAgentsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new TempDir;
        ::setenv("TRV_REGISTRY_DIR", folder->file("registry").c_str(), 1);
        WriteRegistryInt("SNMPTimeout", 1);
        WriteRegistryInt("SNMPRetries", 1);
        add_admin_rows();
        agents = new TestAgents;
        AgentSpec plain{Plain, "dis-plain", "Plain box", ".1.3.6.1.4.1.8072.3.2.10"};
        plain.qor = false;
        ASSERT_TRUE(agents->start(plain)) << agents->error();
        AgentSpec hardware{Hardware, "dis-hw", "QOR box", ".1.3.6.1.4.1.8072.3.2.10"};
        hardware.hardware = true;
        ASSERT_TRUE(agents->start(hardware)) << agents->error();
        AgentSpec late = hardware;
        late.address = Late;
        late.name = "dis-late";
        late.qor_not_ready = 3;
        ASSERT_TRUE(agents->start(late)) << agents->error();
        AgentSpec never = hardware;
        never.address = Never;
        never.name = "dis-never";
        never.qor_not_ready = -1;
        ASSERT_TRUE(agents->start(never)) << agents->error();
        for (const char* address : {TabsOnce, TabsTwice}) {
            AgentSpec tabs{address, std::string("dis-tabs-") + address, "Preparing box", TabDevice};
            tabs.qor_not_ready = 1;
            tabs.qor_not_ready_under = PreparedOid;
            ASSERT_TRUE(agents->start(tabs)) << agents->error();
        }
    }
    static void TearDownTestSuite()
    {
        delete agents;
        delete folder;
    }
};

TEST_F(DiscoveryAgentsTest, AgentTypeProbe)
{
    struct {
        const char* address;
        int category;
        int expected;
        int not_ready;  // "Agent not ready" lines the probe logs
        const char* type_line;
    } cases[] = {
        {Plain, 0, 1, 0, "Hardware Agent Type=Standard Agent"},
        {Plain, 1, 1, 0, "Software Agent Type=Standard Agent"},
        {Hardware, 0, 2, 0, "Hardware Agent Type=QOR Agent"},
        // The enterprise subtree is served, but nothing under the monitoring OID.
        {Hardware, 2, 1, 0, "Monitoring Agent Type=Standard Agent"},
        {Late, 0, 2, 3, "Hardware Agent Type=QOR Agent"},
        // Ten answers "not ready": taken for a standard agent.
        {Never, 0, 1, 10, "Hardware Agent Type=Standard Agent"},
    };
    CSnmpMaster master;
    Scanner scanner(ScanBench::quick_options());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.address) + " category " + std::to_string(c.category));
        std::unique_ptr<CSnmpSession> session(master.create_session(c.address, "public", false, 1, 1));
        ASSERT_TRUE(session) << master.get_error_text();
        LogCapture log;
        EXPECT_EQ(probe_agent_type(scanner, session.get(), c.category, c.address, "public", ""), c.expected);
        EXPECT_EQ(log.count("Agent not ready, ip=" + std::string(c.address) + ",cs=public"), c.not_ready);
        EXPECT_EQ(log.count(" Agent Type="), 1);
        EXPECT_EQ(log.count(c.type_line), 1) << log.text();
    }
}

// The Summary tab's agent prepares its data once. One attempt gives up on
// the tab and writes nothing for it; two attempts write it after the
// Interfaces tab.
TEST_F(DiscoveryAgentsTest, TabWhoseAgentIsPreparing)
{
    struct {
        const char* address;
        int attempts;
        bool written;
    } cases[] = {
        {TabsOnce, 1, false},
        {TabsTwice, 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.address);
        WriteRegistryInt("SNMPTabAttempts", c.attempts);
        ScannerOptions options = ScanBench::quick_options();
        options.snmp_threads = 1;
        options.program_dir = folder->path();
        ScanBench bench(1, {c.address}, {"public"}, "", options);
        bench.services.set_data_source("ADMIN", AdminFixture::get("sqlite").loader.get());
        int id = bench.register_scan();
        bench.scanner->start();
        start_scan_request(*bench.scanner, id, bench.snapshot, "", false, 0, ScanClient);
        ASSERT_TRUE(bench.wait_for_end(id)) << "the scan did not end";
        ASSERT_EQ(bench.logs_with("End Scan "), 1);

        auto db = bench.db->connect();
        DB_DATA host = db->get_stmnt_results("SELECT uid FROM InventoryHosts WHERE AsOfId=? AND NetAddr=?",
                                             {int32_t(bench.snapshot), std::string(c.address)});
        ASSERT_EQ(host.RowCount(), 1);
        const int uid = static_cast<int>(host.Column("uid").GetLong(0));
        DB_DATA tabs = db->get_stmnt_results("SELECT name FROM InventoryTabs WHERE host_id=? ORDER BY uid",
                                             {int32_t(uid)});
        std::vector<std::string> names;
        for (int r = 0; r < tabs.RowCount(); ++r)
            names.push_back(tabs.Column("name").GetString(r));
        ScanDataTable summary;
        DataLoader::read_data_table(bench.db->loader.get(), summary, "ScanSummaryData", uid);

        EXPECT_EQ(bench.logs_with("Tab Summary: Agent is preparing requested data. Go to the next tab."), 1);
        EXPECT_EQ(bench.logs_with("Tab Summary: Scanning. Attempt "), c.written ? 2 : 1);
        EXPECT_EQ(bench.logs_with("Tab Summary: Scanning. Attempt 1 of " + std::to_string(c.attempts)), 1);
        EXPECT_EQ(bench.logs_with("Tab Interfaces: Scanning. Attempt 1 of " + std::to_string(c.attempts)), 1);
        if (c.written) {
            EXPECT_EQ(names, (std::vector<std::string>{"Interfaces", "Summary"}));
            EXPECT_EQ(bench.logs_with("Tab Summary: Scanning. Attempt 2 of 2"), 1);
            EXPECT_EQ(bench.logs_with("Tab Summary: Scan failed due to agent unavailability."), 0);
            const std::string name = std::string("dis-tabs-") + c.address;
            ASSERT_EQ(summary.columns.size(), 1u);
            EXPECT_EQ(summary.columns[0].value_at(0), name);
            EXPECT_EQ(summary.columns[0].value_at(1), "QOR agent " + name);
        } else {
            EXPECT_EQ(names, std::vector<std::string>{"Interfaces"});
            EXPECT_EQ(bench.logs_with("Tab Summary: Scan failed due to agent unavailability."), 1);
            EXPECT_TRUE(summary.columns.empty());
        }
        EXPECT_EQ(bench.scanner->jobs().count(), 0);
    }
}

}  // namespace
