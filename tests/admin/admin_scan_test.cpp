// Scans of real snmpd agents with the shipped administration database, into
// SQLite and PostgreSQL inventories: the standard MIB tabs hold what snmpwalk
// reads from the same agent (dates and storage included), the enterprise
// agent's hardware tabs identify the device by serial number, codes arrive
// as names, and every report definition returns rows on the scanned
// inventory.
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
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char* const Plain = "127.0.69.1";     // net-snmp agent with printer supplies
const char* const Hardware = "127.0.69.2";  // net-snmp agent with the enterprise hardware tables
const char* const FromFile = "127.0.69.3";  // no agent: read from a walk file of Hardware
const char* const PlainFile = "127.0.69.4";  // no agent: read from a walk file of Plain
// Agents without the machine's own host resources, whose data stays the same
// between two scans: printer supplies and storage, and the hardware tables.
const char* const SteadyRange = "127.0.69.5-6";
const char* const NetSnmpLinux = ".1.3.6.1.4.1.8072.3.2.10";
const char* const UpTime = ".1.3.6.1.2.1.1.3";         // sysUpTime
const char* const RunName = ".1.3.6.1.2.1.25.4.2.1.2";  // hrSWRunName

const char* const SystemDate = ".1.3.6.1.2.1.25.1.2";            // hrSystemDate
const char* const InstallDate = ".1.3.6.1.2.1.25.6.3.1.5";       // hrSWInstalledDate
const char* const StorageEntry = ".1.3.6.1.2.1.25.2.3.1";        // hrStorageEntry

TestAgents* agents = nullptr;
TempDir* folder = nullptr;

// A DateAndTime as snmpwalk writes its octets ("07 EA 0C 0B ..."), as the
// text a scan stores: its first seven octets.
std::string date_text(const std::string& octets)
{
    std::istringstream in(octets);
    std::vector<unsigned> b;
    unsigned v = 0;
    while (in >> std::hex >> v)
        b.push_back(v);
    if (b.size() != 8 && b.size() != 11)
        return "<no DateAndTime: " + octets + ">";
    char text[64];
    std::snprintf(text, sizeof text, "%u-%02u-%02u, %02u:%02u:%02u", b[0] * 256 + b[1], b[2], b[3], b[4], b[5],
                  b[6]);
    return text;
}

typedef std::vector<std::vector<std::string>> Rows;

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
        plain.storage = true;
        AgentSpec hardware{Hardware, "adm-hw", "Linux adm-hw 6.1.0 x86_64", NetSnmpLinux};
        hardware.hardware = true;
        ASSERT_TRUE(agents->start(plain)) << agents->error();
        ASSERT_TRUE(agents->start(hardware)) << agents->error();
        AgentSpec steady_plain{"127.0.69.5", "adm-steady", "Linux adm-steady 6.1.0 x86_64", NetSnmpLinux};
        steady_plain.printer = true;
        steady_plain.storage = true;
        steady_plain.host_resources = false;
        AgentSpec steady_hw{"127.0.69.6", "adm-steady-hw", "Linux adm-steady-hw 6.1.0 x86_64", NetSnmpLinux};
        steady_hw.hardware = true;
        steady_hw.host_resources = false;
        ASSERT_TRUE(agents->start(steady_plain)) << agents->error();
        ASSERT_TRUE(agents->start(steady_hw)) << agents->error();
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
    // Fields first to first + count - 1 of every stored row.
    static Rows stored_rows(ScanBench& bench, const std::string& table, int host, size_t first, size_t count)
    {
        ScanDataTable data;
        DataLoader::read_data_table(bench.db->loader.get(), data, table, host);
        Rows out;
        for (const ScanColumn& row : data.columns) {
            out.emplace_back();
            for (size_t f = first; f < first + count; ++f)
                out.back().push_back(row.value_at(f));
        }
        return out;
    }

    // hrStorageTable as snmpwalk reads it, each row as the PC table stores
    // it (fields 13-19): index, description, type name, allocation unit, and
    // size, used and free space in bytes.
    static Rows storage_rows(const std::string& address)
    {
        const std::map<std::string, std::string> types{{".1.3.6.1.2.1.25.2.1.2", "ram"},
                                                       {".1.3.6.1.2.1.25.2.1.3", "virtualMemory"},
                                                       {".1.3.6.1.2.1.25.2.1.4", "fixedDisk"},
                                                       {".1.3.6.1.2.1.25.2.1.7", "compactDisc"}};
        std::map<std::string, std::map<int, std::string>> cells;  // index -> column -> value
        std::vector<std::string> order;
        for (int c = 1; c <= 6; ++c) {
            for (const auto& [index, value] : walk_rows(address, std::string(StorageEntry) + "." + std::to_string(c))) {
                if (c == 1)
                    order.push_back(index);
                cells[index][c] = value;
            }
        }
        Rows rows;
        for (const std::string& index : order) {
            auto& r = cells[index];
            const long long unit = std::atoll(r[4].c_str()), size = std::atoll(r[5].c_str()),
                            used = std::atoll(r[6].c_str());
            rows.push_back({r[1], r[3], types.count(r[2]) ? types.at(r[2]) : r[2], r[4], std::to_string(unit * size),
                            std::to_string(unit * used), std::to_string(unit * (size - used))});
        }
        return rows;
    }
    // The agent's clock, read now as the scan stores it.
    static std::string system_date(const std::string& address)
    {
        std::vector<std::string> now = walk(address, SystemDate);
        return now.size() == 1 ? date_text(now[0]) : "<" + std::to_string(now.size()) + " values>";
    }
    // (name, install date) of every installed package, as snmpwalk reads them.
    static std::vector<std::pair<std::string, std::string>> installed_with_dates(const std::string& address)
    {
        std::map<std::string, std::string> dates;
        for (const auto& [index, octets] : walk_rows(address, InstallDate))
            dates[index] = date_text(octets);
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& [index, name] : walk_rows(address, ".1.3.6.1.2.1.25.6.3.1.2"))
            out.emplace_back(name, dates.count(index) ? dates[index] : "<no date>");
        std::sort(out.begin(), out.end());
        return out;
    }
    static std::vector<std::pair<std::string, std::string>> stored_installed(ScanBench& bench, int host)
    {
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& row : stored_rows(bench, "ScanInstalledSoftData", host, 1, 4))
            out.emplace_back(row[0], row[3]);
        std::sort(out.begin(), out.end());
        return out;
    }
};

TEST_P(AdminScanTest, ScanFillsTabsAndReports)
{
    // Walked around the scan: values that move while the test runs.
    const auto running_before = walk_rows(Plain, RunName);
    const std::vector<std::string> up_before = walk(Plain, UpTime);
    const std::string date_before = system_date(Plain);
    auto bench = scan();
    const std::string date_after = system_date(Plain);
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
    // them, the hardware tabs where the enterprise agent serves them, and the
    // PC table on both: storage on the one, the computer on the other.
    std::set<int> plain_tabs = tab_types(b, plain), hw_tabs = tab_types(b, hw);
    for (int tab : {1, 2, 3, 4, 5, 6, 15}) {
        EXPECT_TRUE(plain_tabs.count(tab)) << tab;
        EXPECT_TRUE(hw_tabs.count(tab)) << tab;
    }
    EXPECT_TRUE(plain_tabs.count(8));
    EXPECT_FALSE(hw_tabs.count(8));
    for (int tab : {11, 12, 13, 14}) {
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
    // The agent's clock (an 11-octet DateAndTime) between the walks around
    // the scan; texts of one form compare as the times do.
    const std::vector<std::string> date = stored(b, "ScanSummaryData", plain, 13);
    ASSERT_EQ(date.size(), 1u);
    EXPECT_EQ(date[0].size(), std::string("2026-12-11, 07:30:58").size()) << date[0];
    EXPECT_LE(date_before, date[0]);
    EXPECT_LE(date[0], date_after);

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
    // With the date each was installed (DateAndTime, 11 octets from snmpd).
    const auto installed_dates = installed_with_dates(Plain);
    EXPECT_EQ(stored_installed(b, plain), installed_dates);
    EXPECT_EQ(std::count_if(installed_dates.begin(), installed_dates.end(),
                            [](const auto& p) { return p.second.size() != 20; }),
              0);

    // Storage: memory areas and file systems with their sizes in bytes, in
    // the PC table of the standard agent; the hardware agent's holds its
    // computer record alone.
    const Rows storage = storage_rows(Plain);
    ASSERT_EQ(storage.size(), 6u);
    EXPECT_EQ(storage[4], (std::vector<std::string>{"32", "/srv/adm-plain", "fixedDisk", "65536", "131072000000000",
                                                    "98304000065536", "32767999934464"}));
    EXPECT_EQ(stored_rows(b, "ScanPCTableData", plain, 12, 7), storage);
    EXPECT_EQ(stored(b, "ScanPCTableData", plain, 1), std::vector<std::string>(6, ""));
    EXPECT_EQ(stored(b, "ScanPCTableData", hw, 13), std::vector<std::string>{""});
    // As a console sees the tab: the storage group, sizes in MB.
    {
        MapLineFilter filter("MapPCTable", NetSnmpLinux, 5, 2, 8072, std::atoi(host_text(b, plain, "AgentTypeHard").c_str()));
        TabLayout layout = DataLoader::get_tab_layout(AdminDb::get(GetParam()).loader.get(), filter);
        ScanDataTable data;
        DataLoader::read_data_table(b.db->loader.get(), data, "ScanPCTableData", plain);
        TiXmlElement table("TABLE");
        DataLoader::tab_to_xml(data, table, layout, true);
        std::vector<std::string> header;
        for (TiXmlElement* c = TiXmlHandle(&table).FirstChild("HEADER").FirstChild("COLUMN").ToElement(); c;
             c = c->NextSiblingElement("COLUMN"))
            header.push_back(c->Attribute("name") ? c->Attribute("name") : "");
        EXPECT_EQ(header, (std::vector<std::string>{"Index", "Storage", "Type", "Allocation unit (bytes)", "Size",
                                                     "Used", "Free"}));
        std::vector<std::vector<std::string>> shown;
        for (TiXmlElement* row = TiXmlHandle(&table).FirstChild("ROWS").FirstChild("ROW").ToElement(); row;
             row = row->NextSiblingElement("ROW")) {
            shown.emplace_back();
            for (TiXmlElement* cell = TiXmlHandle(row).FirstChild("CELLS").FirstChild("CELL").ToElement(); cell;
                 cell = cell->NextSiblingElement("CELL"))
                shown.back().push_back(cell->Attribute("text") ? cell->Attribute("text") : "");
        }
        ASSERT_EQ(shown.size(), 6u);
        EXPECT_EQ(shown[0], (std::vector<std::string>{"1", "Physical memory", "ram", "1024", "16384 Mb", "4096 Mb",
                                                       "12288 Mb"}));
        EXPECT_EQ(shown[4], (std::vector<std::string>{"32", "/srv/adm-plain", "fixedDisk", "65536", "125000000 Mb",
                                                       "93750000 Mb", "31250000 Mb"}));
        EXPECT_EQ(shown[5][6], "");  // a full disc: no free space
    }
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
        if (type == 7) {
            // One record a host (its address in it): storage rows are not
            // computer records.
            size_t records = 0;
            for (size_t at = sent[2].find("text=\"127.0.69."); at != std::string::npos;
                 at = sent[2].find("text=\"127.0.69.", at + 1))
                ++records;
            EXPECT_EQ(records, 2u) << sent[2];
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
// file), the installed software with its dates, and the steady fields of the
// summary; its system date is the file's. A walk file of the standard agent
// gives its storage.
TEST_P(AdminScanTest, WalkFileScanMatchesTheLiveAgent)
{
    auto walk_text = [](const std::string& address, const std::string& root) {
        int status = -1;
        std::string text = run_program(
            {"snmpwalk", "-v1", "-c", "public", "-On", "-Oe", "-Ot", "-t", "5", "-r", "2", address, root}, &status);
        EXPECT_EQ(status, 0) << "snmpwalk of " << root << " at " << address << " stopped early";
        return text;
    };
    // The system date a walk file holds, as the scan stores it.
    auto file_date = [](const std::string& text) {
        const std::string mark = std::string(SystemDate) + ".0 = Hex-STRING: ";
        size_t at = text.find(mark);
        if (at == std::string::npos)
            return std::string("<no system date in the file>");
        at += mark.size();
        return date_text(text.substr(at, text.find('\n', at) - at));
    };
    std::string text = walk_text(Hardware, ".1");
    ASSERT_NE(text.find(".1.3.6.1.4.1.39871.1.3.1.1.1.9.1 = "), std::string::npos);
    WriteWholeFile(folder->file("SnmpOutput/hw.walk"), text);
    std::string plain_text;
    for (const char* root : {".1.3.6.1.2.1.1", ".1.3.6.1.2.1.25.1", ".1.3.6.1.2.1.25.2"})
        plain_text += walk_text(Plain, root);
    WriteWholeFile(folder->file("SnmpOutput/plain.walk"), plain_text);

    ScanBench b(3, {Hardware, std::string(FromFile) + "|hw.walk", std::string(PlainFile) + "|plain.walk"},
                {"public"}, "", options(), GetParam());
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
    const std::vector<std::string> dates = stored(b, "ScanInstalledSoftData", file, 4);
    EXPECT_EQ(std::count(dates.begin(), dates.end(), ""), 0);
    // Up time, address, DNS name, users, processes and the clock move or
    // belong to the address; the rest of the summary is the agent's.
    for (size_t f : {0, 1, 2, 4, 5, 6, 7, 10})
        EXPECT_EQ(stored(b, "ScanSummaryData", file, f), stored(b, "ScanSummaryData", live, f)) << "field " << f;
    EXPECT_EQ(stored(b, "ScanSummaryData", file, 13), std::vector<std::string>{file_date(text)});

    const int plain_file = host_uid(b, PlainFile);
    ASSERT_GT(plain_file, 0);
    EXPECT_EQ(stored_rows(b, "ScanPCTableData", plain_file, 12, 7), storage_rows(Plain));
    EXPECT_EQ(stored(b, "ScanSummaryData", plain_file, 13), std::vector<std::string>{file_date(plain_text)});
}

// A host's tabs hold the same rows and texts whether its columns are read
// side by side and kept for the host, or every walk asks the agent one value
// at a time: the same agents scanned both ways, every data table compared
// (the up time moves between the scans).
TEST_P(AdminScanTest, ColumnsReadTogetherStoreWhatSingleWalksStore)
{
    auto scan_steady = [&](bool together) {
        ScannerOptions o = options();
        o.host_walk_cache = together;
        auto bench = std::make_unique<ScanBench>(3, std::vector<std::string>{SteadyRange},
                                                 std::vector<std::string>{"public"}, "", o, GetParam());
        bench->services.set_data_source("ADMIN", AdminDb::get(GetParam()).loader.get());
        int id = bench->register_scan();
        bench->scanner->start();
        start_scan_request(*bench->scanner, id, bench->snapshot, "", false, 0, ScanClient);
        EXPECT_TRUE(bench->wait_for_end(id)) << "the scan did not end";
        return bench;
    };
    auto single = scan_steady(false);
    auto together = scan_steady(true);
    const std::vector<std::string> tables = {
        "ScanSummaryData",         "ScanInterfacesData",        "ScanCPUData",          "ScanDevTableData",
        "ScanInstalledSoftData",   "ScanRunnedSoftData",        "ScanPhysicalStructureData",
        "ScanPrtSuppliesData",     "ScanCiscoFlashDevData",     "ScanCiscoFlashChipsData",
        "ScanEnclosureData",       "ScanBIOSData",              "ScanBaseBoardData",    "ScanSlotsData",
        "ScanPCTableData"};
    size_t compared_rows = 0;
    for (const char* address : {"127.0.69.5", "127.0.69.6"}) {
        SCOPED_TRACE(address);
        const int a = host_uid(*single, address), b = host_uid(*together, address);
        ASSERT_GT(a, 0);
        ASSERT_GT(b, 0);
        for (const char* column : {"NetName", "SysObjId", "DevVendorId", "DevClassId", "DevGroupId", "HasSnmp",
                                   "AgentTypeHard", "AgentTypeSoft", "AgentTypeMon", "CommunityStr"})
            EXPECT_EQ(host_text(*together, b, column), host_text(*single, a, column)) << column;
        DB_DATA tabs_a = single->db->connect()->get_stmnt_results(
            "SELECT type, scanorder, horlayout, name FROM InventoryTabs WHERE host_id=? ORDER BY uid", {int32_t(a)});
        DB_DATA tabs_b = together->db->connect()->get_stmnt_results(
            "SELECT type, scanorder, horlayout, name FROM InventoryTabs WHERE host_id=? ORDER BY uid", {int32_t(b)});
        ASSERT_EQ(tabs_b.RowCount(), tabs_a.RowCount());
        ASSERT_GE(tabs_a.RowCount(), 4);
        for (int r = 0; r < tabs_a.RowCount(); ++r)
            for (const char* column : {"type", "scanorder", "horlayout", "name"})
                EXPECT_EQ(tabs_b.Column(column).GetString(r), tabs_a.Column(column).GetString(r)) << column;
        for (const std::string& table : tables) {
            SCOPED_TRACE(table);
            ScanDataTable from_single, from_together;
            DataLoader::read_data_table(single->db->loader.get(), from_single, table, a);
            DataLoader::read_data_table(together->db->loader.get(), from_together, table, b);
            ASSERT_EQ(from_together.columns.size(), from_single.columns.size());
            for (size_t r = 0; r < from_single.columns.size(); ++r) {
                std::vector<std::string> x = from_single.columns[r].values, y = from_together.columns[r].values;
                if (table == "ScanSummaryData" && x.size() > 3 && y.size() > 3)
                    x[3] = y[3] = "<up time>";
                EXPECT_EQ(y, x) << "row " << r;
                ++compared_rows;
            }
        }
    }
    EXPECT_GE(compared_rows, 20u);
}

INSTANTIATE_TEST_SUITE_P(Backends, AdminScanTest, ::testing::Values(std::string("sqlite"), std::string("postgresql")));

}  // namespace
