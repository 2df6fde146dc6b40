// Scans of real snmpd agents with the shipped administration database, into
// SQLite and PostgreSQL inventories: the standard MIB tabs hold what snmpwalk
// reads from the same agent, the enterprise agent's hardware tabs identify
// the device by serial number, codes arrive as names, and every report
// definition returns rows on the scanned inventory.
#include "admin_db.h"
#include "scan_fixture.h"

#include "loader.h"
#include "report_fixture.h"
#include "report_thread.h"
#include "snmp_agents.h"
#include "snmp_line.h"
#include "temp_dir.h"

#include "qr_settings.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const Plain = "127.0.69.1";     // net-snmp agent with printer supplies
const char* const Hardware = "127.0.69.2";  // net-snmp agent with the enterprise hardware tables
const char* const FromFile = "127.0.69.3";  // no agent: read from a walk file of Hardware
const char* const NetSnmpLinux = ".1.3.6.1.4.1.8072.3.2.10";
const char* const UpTime = ".1.3.6.1.2.1.1.3";         // sysUpTime
const char* const RunName = ".1.3.6.1.2.1.25.4.2.1.2";  // hrSWRunName

TestAgents* agents = nullptr;
TempDir* folder = nullptr;

class AdminScanTest : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite()
    {
        folder = new TempDir;
        ::setenv("TRV_REGISTRY_DIR", folder->file("registry").c_str(), 1);
        // The server's own margins: on CI (two cores, ThreadSanitizer, other
        // test programs beside this one) an agent listing ~2000 installed
        // packages can take seconds to answer. They cost nothing while the
        // agents answer at once.
        WriteRegistryInt("SNMPTimeout", 5);
        WriteRegistryInt("SNMPRetries", 2);
        WriteRegistryInt("SNMPTabAttempts", 2);
        ::mkdir(folder->file("SnmpOutput").c_str(), 0755);
        agents = new TestAgents;
        AgentSpec plain{Plain, "adm-plain", "Linux adm-plain 6.1.0 x86_64", NetSnmpLinux};
        plain.printer = true;
        AgentSpec hardware{Hardware, "adm-hw", "Linux adm-hw 6.1.0 x86_64", NetSnmpLinux};
        hardware.hardware = true;
        ASSERT_TRUE(agents->start(plain)) << agents->error();
        ASSERT_TRUE(agents->start(hardware)) << agents->error();
    }
    static void TearDownTestSuite()
    {
        delete agents;
        agents = nullptr;
        delete folder;
        folder = nullptr;
    }

    // Quick polling, and a ping timeout as generous as the SNMP one.
    static ScannerOptions options()
    {
        ScannerOptions o = ScanBench::quick_options();
        o.ping_threads = 1;
        o.snmp_threads = 2;
        o.ping_timeout_seconds = 5;
        o.program_dir = folder->path();
        return o;
    }

    // Scans both agents into a fresh inventory of the backend.
    std::unique_ptr<ScanBench> scan()
    {
        auto bench = std::make_unique<ScanBench>(3, std::vector<std::string>{"127.0.69.1-2"},
                                                 std::vector<std::string>{"public"}, "", options(), GetParam());
        bench->services.set_data_source("ADMIN", AdminDb::get(GetParam()).loader.get());
        int id = bench->register_scan();
        bench->scanner->start();
        start_scan_request(*bench->scanner, id, bench->snapshot, "", false, 0, ScanClient);
        EXPECT_TRUE(bench->wait_for_end(id)) << "the scan did not end";
        return bench;
    }

    // What snmpwalk reads from the agent; a walk cut short fails the test
    // here rather than as a puzzling difference further on.
    static std::vector<std::pair<std::string, std::string>> walk_rows(const std::string& address,
                                                                      const std::string& root)
    {
        int status = -1;
        auto rows = snmpwalk_rows(address, root, &status);
        EXPECT_EQ(status, 0) << "snmpwalk of " << root << " at " << address << " stopped early";
        return rows;
    }
    static std::vector<std::string> walk(const std::string& address, const std::string& root)
    {
        std::vector<std::string> values;
        for (auto& row : walk_rows(address, root))
            values.push_back(row.second);
        return values;
    }

    static int host_uid(ScanBench& bench, const std::string& address)
    {
        DB_DATA r = bench.db->connect()->get_stmnt_results(
            "SELECT uid FROM InventoryHosts WHERE AsOfId=? AND NetAddr=?", {int32_t(bench.snapshot), address});
        return r.RowCount() == 1 ? static_cast<int>(r.Column("uid").GetLong(0)) : -1;
    }
    static std::string host_text(ScanBench& bench, int uid, const std::string& column)
    {
        DB_DATA r = bench.db->connect()->get_stmnt_results("SELECT " + column + " AS v FROM InventoryHosts WHERE uid=?",
                                                           {int32_t(uid)});
        return r.RowCount() == 1 ? r.Column("v").GetString(0) : "<none>";
    }
    static std::set<int> tab_types(ScanBench& bench, int host)
    {
        DB_DATA r = bench.db->connect()->get_stmnt_results("SELECT type FROM InventoryTabs WHERE host_id=?",
                                                           {int32_t(host)});
        std::set<int> out;
        for (int i = 0; i < r.RowCount(); ++i)
            out.insert(static_cast<int>(r.Column("type").GetLong(i)));
        return out;
    }
    // Field f (from 0) of every stored row of the host's data table.
    static std::vector<std::string> stored(ScanBench& bench, const std::string& table, int host, size_t f)
    {
        ScanDataTable data;
        DataLoader::read_data_table(bench.db->loader.get(), data, table, host);
        std::vector<std::string> out;
        for (const ScanColumn& row : data.columns)
            out.push_back(row.value_at(f));
        return out;
    }
};

TEST_P(AdminScanTest, ScanFillsTabsAndReports)
{
    // Walked around the scan: values that move while the test runs.
    const auto running_before = walk_rows(Plain, RunName);
    const std::vector<std::string> up_before = walk(Plain, UpTime);
    auto bench = scan();
    const std::vector<std::string> up_after = walk(Plain, UpTime);
    const auto running_after = walk_rows(Plain, RunName);
    ScanBench& b = *bench;
    const int plain = host_uid(b, Plain), hw = host_uid(b, Hardware);
    ASSERT_GT(plain, 0);
    ASSERT_GT(hw, 0);
    for (int host : {plain, hw}) {
        EXPECT_EQ(host_text(b, host, "DevVendorId"), "8072");
        EXPECT_EQ(host_text(b, host, "DevClassId"), "5");
        EXPECT_EQ(host_text(b, host, "DevGroupId"), "2");
    }

    // Tabs: the standard ones on both, printer supplies where the agent has
    // them, the hardware tabs where the enterprise agent serves them.
    std::set<int> plain_tabs = tab_types(b, plain), hw_tabs = tab_types(b, hw);
    for (int tab : {1, 2, 3, 4, 5, 6}) {
        EXPECT_TRUE(plain_tabs.count(tab)) << tab;
        EXPECT_TRUE(hw_tabs.count(tab)) << tab;
    }
    EXPECT_TRUE(plain_tabs.count(8));
    EXPECT_FALSE(hw_tabs.count(8));
    for (int tab : {11, 12, 13, 14, 15}) {
        EXPECT_TRUE(hw_tabs.count(tab)) << tab;
        EXPECT_FALSE(plain_tabs.count(tab)) << tab;
    }

    // Summary: the system group as snmpwalk reads it.
    EXPECT_EQ(stored(b, "ScanSummaryData", plain, 1), walk(Plain, ".1.3.6.1.2.1.1.1"));
    EXPECT_EQ(stored(b, "ScanSummaryData", plain, 2), std::vector<std::string>{NetSnmpLinux});
    ASSERT_EQ(up_before.size(), 1u);
    ASSERT_EQ(up_after.size(), 1u);
    const std::vector<std::string> up = stored(b, "ScanSummaryData", plain, 3);
    ASSERT_EQ(up.size(), 1u);
    for (const std::string& ticks : {up_before[0], up[0], up_after[0]})
        EXPECT_TRUE(!ticks.empty() && ticks.find_first_not_of("0123456789") == std::string::npos) << ticks;
    EXPECT_LE(std::atoll(up_before[0].c_str()), std::atoll(up[0].c_str())) << up[0];
    EXPECT_LE(std::atoll(up[0].c_str()), std::atoll(up_after[0].c_str())) << up[0];
    EXPECT_EQ(stored(b, "ScanSummaryData", plain, 4), walk(Plain, ".1.3.6.1.2.1.1.4"));
    EXPECT_EQ(stored(b, "ScanSummaryData", plain, 5), std::vector<std::string>{"adm-plain"});
    EXPECT_EQ(stored(b, "ScanSummaryData", plain, 6), std::vector<std::string>{agents->location(Plain)});
    EXPECT_EQ(stored(b, "ScanSummaryData", plain, 7), std::vector<std::string>{"end-to-end, applications"});
    EXPECT_EQ(stored(b, "ScanSummaryData", plain, 8), std::vector<std::string>{Plain});
    std::vector<std::string> memory = walk(Plain, ".1.3.6.1.2.1.25.2.2");
    ASSERT_EQ(memory.size(), 1u);
    EXPECT_EQ(stored(b, "ScanSummaryData", plain, 10),
              std::vector<std::string>{std::to_string(std::atoll(memory[0].c_str()) * 1024)});

    // Interfaces: names and speeds as walked, codes as names, the MAC in field 7.
    EXPECT_EQ(stored(b, "ScanInterfacesData", plain, 1), walk(Plain, ".1.3.6.1.2.1.2.2.1.2"));
    EXPECT_EQ(stored(b, "ScanInterfacesData", plain, 4), walk(Plain, ".1.3.6.1.2.1.2.2.1.5"));
    EXPECT_EQ(stored(b, "ScanInterfacesData", plain, 2),
              (std::vector<std::string>{"softwareLoopback", "ethernetCsmacd", "ethernetCsmacd"}));
    EXPECT_EQ(stored(b, "ScanInterfacesData", plain, 7), (std::vector<std::string>{"up", "up", "down"}));
    std::vector<std::string> macs = stored(b, "ScanInterfacesData", plain, 6);
    ASSERT_EQ(macs.size(), 3u);
    EXPECT_FALSE(macs[0].empty());
    // ifPhysAddress as the agent serves it now, its octets written out.
    std::vector<std::string> live_macs = walk(Plain, ".1.3.6.1.2.1.2.2.1.6");
    for (std::string& mac : live_macs)
        mac.erase(std::remove(mac.begin(), mac.end(), ' '), mac.end());
    EXPECT_EQ(macs, live_macs);

    // Device identity: the greatest MAC without hardware data, the serial
    // number with it.
    EXPECT_EQ(stored(b, "ScanSummaryData", plain, 0), std::vector<std::string>{*std::max_element(macs.begin(), macs.end())});
    EXPECT_EQ(stored(b, "ScanSummaryData", hw, 0), std::vector<std::string>{"SN-adm-hw"});
    DB_DATA device = b.db->connect()->get_stmnt_results(
        "SELECT SerialNumber, SNMPAssetTag FROM InvDevices WHERE DeviceId=?", {std::string("SN-adm-hw")});
    ASSERT_EQ(device.RowCount(), 1);
    EXPECT_EQ(device.Column("SerialNumber").GetString(0), "SN-adm-hw");
    EXPECT_EQ(device.Column("SNMPAssetTag").GetString(0), "AT-adm-hw");

    // Host resources: processors, devices, software.
    std::vector<std::string> processors = walk(Plain, ".1.3.6.1.2.1.25.3.3.1.1");
    ASSERT_FALSE(processors.empty());
    std::vector<std::string> cpu_status = stored(b, "ScanCPUData", plain, 3);
    EXPECT_EQ(cpu_status.size(), processors.size());
    for (const std::string& s : cpu_status)
        EXPECT_EQ(s, "running");
    std::vector<std::string> cpu_names = stored(b, "ScanCPUData", plain, 2);
    std::vector<std::string> all_types = walk(Plain, ".1.3.6.1.2.1.25.3.2.1.2");
    std::vector<std::string> all_names = walk(Plain, ".1.3.6.1.2.1.25.3.2.1.3");
    std::vector<std::string> processor_names;
    for (size_t i = 0; i < all_types.size() && i < all_names.size(); ++i)
        if (all_types[i] == ".1.3.6.1.2.1.25.3.1.3")
            processor_names.push_back(all_names[i]);
    EXPECT_EQ(cpu_names, processor_names);
    EXPECT_EQ(stored(b, "ScanDevTableData", plain, 2), walk(Plain, ".1.3.6.1.2.1.25.3.2.1.3"));
    std::vector<std::string> device_types = stored(b, "ScanDevTableData", plain, 1);
    EXPECT_NE(std::find(device_types.begin(), device_types.end(), "processor"), device_types.end());
    for (const std::string& t : device_types)
        EXPECT_NE(t.rfind(".1.3", 0), 0u) << t;
    // Installed software comes back ordered by name. Debian versions hold
    // '~', which must stay a character.
    std::vector<std::string> installed = walk(Plain, ".1.3.6.1.2.1.25.6.3.1.2");
    ASSERT_FALSE(installed.empty());
    std::sort(installed.begin(), installed.end());
    EXPECT_EQ(stored(b, "ScanInstalledSoftData", plain, 1), installed);
    std::vector<std::string> programs = stored(b, "ScanRunnedSoftData", plain, 1);
    EXPECT_NE(std::find(programs.begin(), programs.end(), "snmpd"), programs.end());
    // Running software by process id. Processes start and end while the
    // test runs (other test programs run beside it), and the agent lists
    // them from a copy it keeps for some seconds, so the scan and a walk may
    // each see another moment. A process the agent listed under one
    // name both before and after the scan lived through it: the scan holds
    // it under that name.
    const std::vector<std::string> pids = stored(b, "ScanRunnedSoftData", plain, 0);
    ASSERT_EQ(pids.size(), programs.size());
    std::map<std::string, std::string> scanned, before(running_before.begin(), running_before.end());
    for (size_t i = 0; i < pids.size(); ++i)
        scanned[pids[i]] = programs[i];
    int lived = 0;
    for (const auto& [pid, name] : running_after) {
        auto was = before.find(pid);
        if (was == before.end() || was->second != name)
            continue;
        ++lived;
        EXPECT_EQ(scanned.count(pid) ? scanned[pid] : "<not scanned>", name) << "process " << pid;
    }
    EXPECT_TRUE(before.count(std::to_string(getpid()))) << "this test's own process";
    EXPECT_GE(lived, 3);  // at least this test and both agents
    const std::set<std::string> run_states{"running", "runnable", "notRunnable", "invalid"};
    for (const std::string& s : stored(b, "ScanRunnedSoftData", plain, 5))
        EXPECT_TRUE(run_states.count(s)) << s;

    // Printer supplies.
    EXPECT_EQ(stored(b, "ScanPrtSuppliesData", plain, 1),
              (std::vector<std::string>{"Black Toner adm-plain", "Waste Toner Box adm-plain"}));
    EXPECT_EQ(stored(b, "ScanPrtSuppliesData", plain, 2), (std::vector<std::string>{"toner", "wasteToner"}));
    EXPECT_EQ(stored(b, "ScanPrtSuppliesData", plain, 4), (std::vector<std::string>{"impressions", "percent"}));
    EXPECT_EQ(stored(b, "ScanPrtSuppliesData", plain, 6), (std::vector<std::string>{"7300", "12"}));

    // Hardware tabs of the enterprise agent.
    EXPECT_EQ(stored(b, "ScanEnclosureData", hw, 2), std::vector<std::string>{"Rack Mount Chassis"});
    EXPECT_EQ(stored(b, "ScanEnclosureData", hw, 4), std::vector<std::string>{"false"});
    EXPECT_EQ(stored(b, "ScanEnclosureData", hw, 7), std::vector<std::string>{"Warning"});
    EXPECT_EQ(stored(b, "ScanEnclosureData", hw, 8), std::vector<std::string>{"SN-adm-hw"});
    EXPECT_EQ(stored(b, "ScanEnclosureData", hw, 10), std::vector<std::string>{"AT-adm-hw"});
    EXPECT_EQ(stored(b, "ScanBIOSData", hw, 1), std::vector<std::string>{"Tarvane BIOS"});
    EXPECT_EQ(stored(b, "ScanBIOSData", hw, 4), std::vector<std::string>{"16777216"});
    EXPECT_EQ(stored(b, "ScanBaseBoardData", hw, 4), std::vector<std::string>{"BB-adm-hw"});
    EXPECT_EQ(stored(b, "ScanBaseBoardData", hw, 7), std::vector<std::string>{"Motherboard"});
    EXPECT_EQ(stored(b, "ScanSlotsData", hw, 2), (std::vector<std::string>{"PCI Express x16", "PCI Express x4"}));
    EXPECT_EQ(stored(b, "ScanSlotsData", hw, 4), (std::vector<std::string>{"In use", "Available"}));
    EXPECT_EQ(stored(b, "ScanPCTableData", hw, 7), std::vector<std::string>{std::to_string(16777216LL * 1024)});
    EXPECT_EQ(stored(b, "ScanPCTableData", hw, 8), std::vector<std::string>{std::to_string(953869LL * 1048576)});
    EXPECT_EQ(stored(b, "ScanPCTableData", hw, 11), std::vector<std::string>{"2400000000"});

    // Every report, built as a console asks for it, has rows on this inventory.
    DB_DATA reports = AdminDb::get(GetParam()).connect()->query("SELECT typeid, name FROM Reports ORDER BY typeid");
    ASSERT_GE(reports.RowCount(), 8);
    for (int i = 0; i < reports.RowCount(); ++i) {
        const int type = static_cast<int>(reports.Column("typeid").GetLong(i));
        SCOPED_TRACE(reports.Column("name").GetString(i));
        TiXmlElement request("CREATE_REPORT");
        request.SetAttribute("type", type);
        request.SetAttribute("root", b.inventory);
        request.SetAttribute("synch", 5);
        auto sink = std::make_shared<RecordingSink>(ScanClient);
        report_thread(request, sink);
        std::vector<std::string> sent = sink->sent();
        ASSERT_EQ(sent.size(), 3u);
        EXPECT_NE(sent[1].find("Report sent"), std::string::npos) << sent[1];
        EXPECT_EQ(sent[2].rfind("<TABLE", 0), 0u);
        EXPECT_NE(sent[2].find("<ROW>"), std::string::npos);
        if (type == 1) {
            EXPECT_NE(sent[2].find("text=\"net-snmp\""), std::string::npos);
        }
        if (type == 2) {
            EXPECT_NE(sent[2].find("text=\"Server\""), std::string::npos);
        }
        if (type == 3) {
            // Both agents run Linux: one group of both hosts, not a group
            // per system description (which holds the host name).
            TiXmlDocument doc;
            doc.Parse(sent[2].c_str());
            std::vector<std::pair<std::string, std::string>> groups;
            TiXmlElement* rows = TiXmlHandle(&doc).FirstChild("TABLE").FirstChild("ROWS").ToElement();
            ASSERT_TRUE(rows);
            for (TiXmlElement* row = rows->FirstChildElement("ROW"); row; row = row->NextSiblingElement("ROW")) {
                std::vector<std::string> cells;
                for (TiXmlElement* cell = TiXmlHandle(row).FirstChild("CELLS").FirstChild("CELL").ToElement(); cell;
                     cell = cell->NextSiblingElement("CELL"))
                    cells.push_back(cell->Attribute("text") ? cell->Attribute("text") : "");
                if (cells.size() > 1 && !cells[0].empty())
                    groups.emplace_back(cells[0], cells[1]);
            }
            EXPECT_EQ(groups, (std::vector<std::pair<std::string, std::string>>{{"Linux", "2"}})) << sent[2];
        }
    }
}

// A range read from a walk file that snmpwalk made of the hardware agent
// stores what the agent itself gives, tab by tab: the interfaces with their
// MAC addresses, the enterprise agent's hardware tabs (scrambled in the
// file), the installed software, and the steady fields of the summary.
TEST_P(AdminScanTest, WalkFileScanMatchesTheLiveAgent)
{
    int status = -1;
    std::string text = run_program(
        {"snmpwalk", "-v1", "-c", "public", "-On", "-Oe", "-Ot", "-t", "5", "-r", "2", Hardware, ".1"}, &status);
    ASSERT_EQ(status, 0) << "snmpwalk of " << Hardware << " stopped early";
    ASSERT_NE(text.find(".1.3.6.1.4.1.39871.1.3.1.1.1.9.1 = "), std::string::npos);
    WriteWholeFile(folder->file("SnmpOutput/hw.walk"), text);

    ScanBench b(3, {Hardware, std::string(FromFile) + "|hw.walk"}, {"public"}, "", options(), GetParam());
    b.services.set_data_source("ADMIN", AdminDb::get(GetParam()).loader.get());
    int id = b.register_scan();
    b.scanner->start();
    start_scan_request(*b.scanner, id, b.snapshot, "", false, 0, ScanClient);
    ASSERT_TRUE(b.wait_for_end(id)) << "the scan did not end";

    const int live = host_uid(b, Hardware), file = host_uid(b, FromFile);
    ASSERT_GT(live, 0);
    ASSERT_GT(file, 0);
    for (const char* column : {"NetName", "SysObjId", "DevVendorId", "DevClassId", "DevGroupId", "HasSnmp"})
        EXPECT_EQ(host_text(b, file, column), host_text(b, live, column)) << column;
    EXPECT_EQ(tab_types(b, file), tab_types(b, live));
    EXPECT_EQ(stored(b, "ScanInterfacesData", file, 6),
              (std::vector<std::string>{"001A2B3C4D01", "001A2B3C4D02", "001A2B3C4D03"}));
    EXPECT_EQ(stored(b, "ScanEnclosureData", file, 8), std::vector<std::string>{"SN-adm-hw"});
    for (const char* table : {"ScanInterfacesData", "ScanEnclosureData", "ScanBIOSData", "ScanBaseBoardData",
                              "ScanSlotsData", "ScanPCTableData", "ScanInstalledSoftData"}) {
        SCOPED_TRACE(table);
        ScanDataTable from_live, from_file;
        DataLoader::read_data_table(b.db->loader.get(), from_live, table, live);
        DataLoader::read_data_table(b.db->loader.get(), from_file, table, file);
        ASSERT_FALSE(from_live.columns.empty());
        ASSERT_EQ(from_file.columns.size(), from_live.columns.size());
        for (size_t r = 0; r < from_live.columns.size(); ++r)
            EXPECT_EQ(from_file.columns[r].values, from_live.columns[r].values) << "row " << r;
    }
    // Up time, address, DNS name, users, processes and the clock move or
    // belong to the address; the rest of the summary is the agent's.
    for (size_t f : {0, 1, 2, 4, 5, 6, 7, 10})
        EXPECT_EQ(stored(b, "ScanSummaryData", file, f), stored(b, "ScanSummaryData", live, f)) << "field " << f;
}

INSTANTIATE_TEST_SUITE_P(Backends, AdminScanTest, ::testing::Values(std::string("sqlite"), std::string("postgresql")));

}  // namespace
