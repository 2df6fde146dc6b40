// Scans, tables, searches, comparisons and reports as a console drives them:
// the real server program over TCP, real snmpd agents on 127.0.64.x, the
// program folder's own databases with a few administration rows added. Built
// twice: on the embedded SQLite files, and with the administration data
// source (and so every inventory) on a throwaway PostgreSQL cluster.
#include "datasource_odbcinst.h"
#include "pg_cluster.h"
#include "server_process.h"
#include "snmp_agents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>

#ifndef TRV_SERVER_SCAN_ON_POSTGRESQL
#define TRV_SERVER_SCAN_ON_POSTGRESQL 0
#endif

namespace {

constexpr bool on_postgresql = TRV_SERVER_SCAN_ON_POSTGRESQL != 0;

const char* const HostA = "127.0.64.1";  // a mapped device: tabs Summary and Interfaces
const char* const HostB = "127.0.64.2";
const char* const HostC = "127.0.64.3";

// The message of a LOG line after its date prefix ("MM/DD/YYYY hh:mm:ss ").
std::string Message(const Reply& log)
{
    const std::string text = log.attr("text");
    return text.size() > 20 ? text.substr(20) : text;
}

bool IsLogWith(const Reply& r, const std::string& what)
{
    return r.name == "LOG" && r.attr("text").find(what) != std::string::npos;
}

// Reads until `done` holds for a frame; every frame read is kept.
std::vector<Reply> ReadUntil(ConsoleClient& client, const std::function<bool(const Reply&)>& done,
                             int seconds = 90)
{
    std::vector<Reply> seen;
    for (;;) {
        std::optional<Reply> r = client.Next(seconds);
        if (!r) {
            ADD_FAILURE() << "no end after " << seen.size() << " frames";
            return seen;
        }
        seen.push_back(*r);
        if (done(*r))
            return seen;
    }
}

// The values snmpwalk reads below root, quotes taken off.
std::vector<std::string> WalkValues(const std::string& address, const std::string& root)
{
    std::vector<std::string> values;
    const std::string text =
        run_program({"snmpwalk", "-v1", "-c", "public", "-Oqv", "-Oe", address, root}, static_cast<int*>(nullptr));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string v = text.substr(start, end - start);
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
            v = v.substr(1, v.size() - 2);
        if (!v.empty())
            values.push_back(v);
        start = end + 1;
    }
    return values;
}

class ScanRequests : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        agents_ = new TestAgents;
        // SNMP output walks every subtree at a time-out of 1 s.
        for (AgentSpec spec : {AgentSpec{HostA, "req-a", "Mapped router", ".1.3.6.1.4.1.9.1.516"},
                               AgentSpec{HostB, "req-b", "Plain box", ".1.3.6.1.4.1.8072.3.2.10"},
                               AgentSpec{HostC, "req-c", "Plain box", ".1.3.6.1.4.1.8072.3.2.10"}}) {
            spec.host_resources = false;
            ASSERT_TRUE(agents_->start(spec)) << agents_->error();
        }

        folder_ = new ServerFolder();
        if (on_postgresql)
            UsePostgresql();
        else
            SeedSqlite();
        std::filesystem::create_directories(folder_->file("SnmpOutput"));
        folder_->SetInt("SNMPTimeout", 1);
        folder_->SetInt("SNMPRetries", 1);
        folder_->SetInt("SNMPTabAttempts", 2);
        folder_->SetInt("ScanThreads", 4);
        folder_->SetInt("PingThreads", 2);
        server_ = StartListening(*folder_).release();
        ASSERT_NE(server_, nullptr);
    }
    static std::string Fixture(const std::string& name)
    {
        return std::string(std::getenv("TRV_SOURCE_DIR")) + "/tests/server/fixtures/" + name;
    }
    static void SeedSqlite()
    {
        // The shipped administration database has its own content; these
        // scans run on the small fixture instead, in a database of the bare schema.
        std::filesystem::remove(folder_->file("TarvaneSrvAdmin.db"));
        int made = -1;
        const std::string schema_out = run_program(
            {"sqlite3", folder_->file("TarvaneSrvAdmin.db"), ".read " + folder_->file("sql/sqlite/admin.sql")}, &made);
        ASSERT_EQ(made, 0) << schema_out;
        for (auto [db, seed] : {std::pair{"TarvaneSrvAdmin.db", "scan_admin.sql"},
                                std::pair{"DataTemplate.db", "scan_inventory.sql"}}) {
            int status = -1;
            const std::string out = run_program({"sqlite3", folder_->file(db), ".read " + Fixture(seed)}, &status);
            ASSERT_EQ(status, 0) << out;
        }
    }
    static std::string Psql(const std::string& database, std::vector<std::string> args)
    {
        std::vector<std::string> argv = {"psql", "-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-h", "127.0.0.1",
                                         "-p", std::to_string(cluster_->port()), "-U", PgCluster::user(),
                                         "-d", database};
        argv.insert(argv.end(), args.begin(), args.end());
        int status = -1;
        const std::string out = run_program(argv, &status);
        EXPECT_EQ(status, 0) << out;
        return out;
    }
    // The administration database on the cluster, registered in the program
    // folder's ODBC ini under the name the server opens; inventories follow.
    static void UsePostgresql()
    {
        cluster_ = new PgCluster;
        cluster_->start();
        Psql("postgres", {"-c", "CREATE DATABASE trvreqadmin"});
        Psql("trvreqadmin", {"-f", std::string(std::getenv("TRV_SOURCE_DIR")) + "/data/sql/postgresql/admin.sql"});
        Psql("trvreqadmin", {"-f", Fixture("scan_admin.sql")});
        odbc_use_ini_folder(odbc_ini_folder(folder_->path()));
        std::string error;
        const odbc_attributes attributes = {{"Servername", "127.0.0.1"},
                                            {"Port", std::to_string(cluster_->port())},
                                            {"Database", "trvreqadmin"},
                                            {"Username", PgCluster::user()},
                                            {"Password", ""}};
        ASSERT_TRUE(odbc_write_dsn("TarvaneSrvAdmin", odbc_postgresql_unicode_driver, attributes, error)) << error;
    }
    // A type's inventory made on the cluster gets the tab table names.
    static void SeedInventory(const std::string& type)
    {
        static std::set<std::string> seeded;
        if (!on_postgresql || !seeded.insert(type).second)
            return;
        const std::string database =
            Psql("postgres", {"-c", "SELECT datname FROM pg_database WHERE lower(datname) = lower('Trv" + type +
                                        "SrvData')"});
        ASSERT_FALSE(database.empty());
        Psql(database.substr(0, database.find('\n')), {"-f", Fixture("scan_inventory.sql")});
    }

    static void TearDownTestSuite()
    {
        if (server_ != nullptr) {
            EXPECT_EQ(server_->Stop(), 0);
        }
        delete server_;
        delete folder_;
        delete agents_;
        delete cluster_;
    }

    // Each test has a client type of its own, so no push of an earlier
    // test's scan reaches it.
    static std::unique_ptr<ConsoleClient> Console(const std::string& type)
    {
        auto client = std::make_unique<ConsoleClient>(folder_->port());
        EXPECT_FALSE(client->Login(type).empty());
        EXPECT_TRUE(client->NextNamed("LOG").has_value());
        SeedInventory(type);
        return client;
    }

    // Adds an inventory of the range with community "public"; its uid.
    // `mask` is an address mask such as "127.0.64.1-3"; `ping` 2 pings
    // first, 3 tries SNMP first.
    static int AddInventory(ConsoleClient& client, const std::string& name, const std::string& mask,
                            int startscan = 0, int ping = 3)
    {
        EXPECT_TRUE(client.Send("<ADDTREEITEM uid=\"-77\" parent=\"0\" type=\"1\" synch=\"5\" name=\"" + name +
                                "\" ping=\"" + std::to_string(ping) + "\" tabs=\"\" startscan=\"" +
                                std::to_string(startscan) + "\">"
                                "<IP from=\"" + mask + "\" to=\"\" file=\"\"/><COMM name=\"public\"/>"
                                "</ADDTREEITEM>"));
        std::optional<Reply> item = client.NextNamed("TREEITEM");
        EXPECT_TRUE(item.has_value());
        if (!item)
            return -1;
        EXPECT_EQ(item->attr("trvid"), "-77");
        return std::stoi(item->attr("uid"));
    }

    // The snapshot, the host uids by address, and every frame of the scan.
    struct ScanResult {
        std::string snapshot;
        std::map<std::string, std::string> hosts;  // address -> uid
        std::vector<Reply> frames;
    };
    static ScanResult ReadScan(ConsoleClient& client, const std::string& end_title)
    {
        ScanResult result;
        result.frames = ReadUntil(client, [&](const Reply& r) { return IsLogWith(r, "End Scan <" + end_title + ">"); });
        for (const Reply& r : result.frames) {
            if (r.name == "TREEITEM" && r.attr("type") == "2")
                result.snapshot = r.attr("uid");
            if (r.name == "TREEITEM" && r.attr("type") == "3" && r.has("ip"))
                result.hosts[r.attr("ip")] = r.attr("uid");
        }
        return result;
    }

    static std::string Uid(const ScanResult& scan, const char* address)
    {
        auto it = scan.hosts.find(address);
        return it == scan.hosts.end() ? std::string() : it->second;
    }

    static TestAgents* agents_;
    static ServerFolder* folder_;
    static ServerProcess* server_;
    static PgCluster* cluster_;
};

TestAgents* ScanRequests::agents_ = nullptr;
ServerFolder* ScanRequests::folder_ = nullptr;
ServerProcess* ScanRequests::server_ = nullptr;
PgCluster* ScanRequests::cluster_ = nullptr;

TEST_F(ScanRequests, InventoryScanTablesSearchCompareAndReport)
{
    auto a = Console("Lab");
    auto b = Console("Lab");
    const int inventory = AddInventory(*a, "Lab", "127.0.64.1-3");
    ASSERT_GT(inventory, 0);
    ASSERT_TRUE(b->NextNamed("TREEITEM").has_value());

    ASSERT_TRUE(a->Send("<SCAN uid=\"" + std::to_string(inventory) + "\" synch=\"6\"/>"));
    ScanResult scan = ReadScan(*a, "Lab");

    // The banner, the snapshot announced with the request's synch, one item
    // per host, then the two end lines; the end line is 80 characters.
    ASSERT_FALSE(scan.frames.empty());
    const Reply* banner = nullptr;
    const Reply* snapshot = nullptr;
    int completed = 0;
    for (const Reply& r : scan.frames) {
        if (banner == nullptr && IsLogWith(r, "Start Scan <Lab> "))
            banner = &r;
        if (snapshot == nullptr && r.name == "TREEITEM" && r.attr("type") == "2")
            snapshot = &r;
        completed += IsLogWith(r, "Scan <Lab> has been completed.");
    }
    ASSERT_NE(banner, nullptr);
    EXPECT_EQ(Message(*banner), "Start Scan <Lab> " + std::string(80 - 17, '-'));
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(snapshot->attr("synch"), "6");
    EXPECT_EQ(snapshot->attr("parent"), std::to_string(inventory));
    EXPECT_EQ(snapshot->attr("name").rfind("As of ", 0), 0u) << snapshot->xml;
    EXPECT_EQ(completed, 1);
    const std::string end_line = Message(scan.frames.back());
    EXPECT_EQ(end_line, "End Scan <Lab>" + std::string(80 - 14, '-'));
    EXPECT_EQ(scan.hosts.size(), 3u) << [&] {
        std::string all;
        for (const Reply& r : scan.frames)
            all += r.xml + "\n";
        return all;
    }();
    for (const char* address : {HostA, HostB, HostC})
        EXPECT_FALSE(Uid(scan, address).empty()) << address;

    // The other console saw the same scan.
    ScanResult seen_by_b = ReadScan(*b, "Lab");
    EXPECT_EQ(seen_by_b.snapshot, scan.snapshot);
    EXPECT_EQ(seen_by_b.hosts, scan.hosts);

    // GETTREE shows the snapshot and its hosts.
    ASSERT_TRUE(a->Send("<GETTREE root=\"" + std::to_string(inventory) + "\" synch=\"7\"/>"));
    std::optional<Reply> tree = a->NextNamed("TREE");
    ASSERT_TRUE(tree.has_value());
    std::set<std::string> listed;
    for (const Reply& child : tree->children)
        listed.insert(child.attr("uid"));
    EXPECT_TRUE(listed.count(scan.snapshot)) << tree->xml;
    for (const auto& [address, uid] : scan.hosts)
        EXPECT_TRUE(listed.count(uid)) << address << " " << tree->xml;

    // Search by address, by name, both (the address wins), and no match.
    struct Search {
        std::string attributes;
        std::vector<std::string> expected;
    };
    const std::vector<Search> searches = {
        {"ip=\"127.0.64.2\" text=\"\"", {Uid(scan, HostB)}},
        {"ip=\"\" text=\"req-c\"", {Uid(scan, HostC)}},
        {"ip=\"127.0.64.1\" text=\"req-c\"", {Uid(scan, HostA)}},
        {"ip=\"\" text=\"nothing-like-it\"", {}},
    };
    for (const Search& s : searches) {
        ASSERT_TRUE(a->Send("<START_SEARCH synch=\"8\" " + s.attributes + "/>"));
        std::optional<Reply> found = a->NextNamed("END_SEARCH");
        ASSERT_TRUE(found.has_value()) << s.attributes;
        EXPECT_EQ(found->attr("synch"), "8");
        std::vector<std::string> uids;
        for (const Reply& d : found->children) {
            EXPECT_EQ(d.name, "DEVICE");
            uids.push_back(d.attr("uid"));
        }
        EXPECT_EQ(uids, s.expected) << s.attributes;
    }

    // The tabs of host A, and their tables hold what snmpwalk reads.
    ASSERT_TRUE(a->Send("<GETTREESIBLING root=\"" + Uid(scan, HostA) + "\" synch=\"9\"/>"));
    std::optional<Reply> tabs = a->NextNamed("TREESIBLINGS");
    ASSERT_TRUE(tabs.has_value());
    std::map<std::string, std::string> tab_uid;
    for (const Reply& t : tabs->children)
        tab_uid[t.attr("name")] = t.attr("uid");
    ASSERT_TRUE(tab_uid.count("Summary") && tab_uid.count("Interfaces")) << tabs->xml;

    ASSERT_TRUE(a->Send("<GETTABLE tabid=\"" + tab_uid["Interfaces"] + "\" synch=\"10\"/>"));
    std::optional<Reply> table = a->Next();
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table->name, "TABLE") << table->xml;
    EXPECT_EQ(table->attr("tabid"), tab_uid["Interfaces"]);
    EXPECT_EQ(table->attr("synch"), "10");
    EXPECT_EQ(table->attr("horlayout"), "1");
    const std::vector<std::string> names = WalkValues(HostA, ".1.3.6.1.2.1.2.2.1.2");
    ASSERT_FALSE(names.empty());
    const std::vector<std::string> types = WalkValues(HostA, ".1.3.6.1.2.1.2.2.1.3");
    ASSERT_EQ(types.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i)
        EXPECT_NE(table->xml.find("<CELLS><CELL text=\"" + names[i] + "\" /><CELL text=\"" + types[i] + "\" /></CELLS>"),
                  std::string::npos)
            << names[i] << " in " << table->xml;

    ASSERT_TRUE(a->Send("<GETTABLE tabid=\"" + tab_uid["Summary"] + "\" synch=\"11\"/>"));
    table = a->Next();
    ASSERT_TRUE(table.has_value());
    ASSERT_EQ(table->name, "TABLE") << table->xml;
    EXPECT_EQ(table->attr("horlayout"), "0");
    for (const std::string& value : {WalkValues(HostA, ".1.3.6.1.2.1.1.5")[0], WalkValues(HostA, ".1.3.6.1.2.1.1.1")[0]})
        EXPECT_NE(table->xml.find("<CELL text=\"" + value + "\" />"), std::string::npos) << value << " in " << table->xml;

    // A tab that does not exist, and a host without rows in it.
    ASSERT_TRUE(a->Send("<GETTABLE tabid=\"987654\" synch=\"12\"/>"));
    std::optional<Reply> error = a->Next();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->xml, "<ERROR type=\"254\" message=\"Table not found for item.\" synch=\"12\" />");

    // Comparisons: an item with itself, two hosts that differ, two alike.
    ASSERT_TRUE(a->Send("<COMPARE uid1=\"" + Uid(scan, HostA) + "\" uid2=\"" + Uid(scan, HostA) + "\" synch=\"13\"/>"));
    std::optional<Reply> line = a->Next();
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->xml, "<LOG text=\"Can not compare tree item with itself\" alert=\"1\" />");

    ASSERT_TRUE(a->Send("<COMPARE uid1=\"" + Uid(scan, HostA) + "\" uid2=\"" + Uid(scan, HostB) + "\" synch=\"14\"/>"));
    line = a->Next();
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(Message(*line).rfind("Start comparing '", 0), 0u) << line->xml;
    std::optional<Reply> compared = a->Next();
    ASSERT_TRUE(compared.has_value());
    ASSERT_EQ(compared->name, "TABLE") << compared->xml;
    EXPECT_EQ(compared->attr("synch"), "14");
    EXPECT_EQ(compared->attr("compid"), "1");
    EXPECT_NE(compared->xml.find("[127.0.64.1]"), std::string::npos) << compared->xml;

    ASSERT_TRUE(a->Send("<COMPARE uid1=\"" + Uid(scan, HostB) + "\" uid2=\"" + Uid(scan, HostC) + "\" synch=\"15\"/>"));
    line = a->Next();
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(Message(*line).rfind("Start comparing '", 0), 0u) << line->xml;
    line = a->Next();
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->attr("alert"), "1");
    EXPECT_EQ(line->attr("text").rfind("No differences found between '", 0), 0u) << line->xml;

    // The report list and a report over the inventory; the report's TABLE
    // comes after the reply to a request sent behind it.
    ASSERT_TRUE(a->Send("<GET_REPORTTREE synch=\"16\"/>"));
    std::optional<Reply> reports = a->Next();
    ASSERT_TRUE(reports.has_value());
    ASSERT_EQ(reports->name, "REPORTTREE") << reports->xml;
    ASSERT_EQ(reports->children.size(), 1u) << reports->xml;
    EXPECT_EQ(reports->children[0].attr("name"), "Hosts");

    ASSERT_TRUE(a->Send("<CREATE_REPORT type=\"1\" root=\"" + std::to_string(inventory) + "\" synch=\"17\"/>"));
    std::vector<Reply> report = ReadUntil(*a, [](const Reply& r) { return r.name == "TABLE" || r.name == "ERROR"; });
    ASSERT_FALSE(report.empty());
    EXPECT_EQ(report.back().name, "TABLE") << report.back().xml;
    EXPECT_EQ(report.back().attr("synch"), "17");
    // Only host A has a summary to report.
    EXPECT_NE(report.back().xml.find("\"127.0.64.1\""), std::string::npos) << report.back().xml;
    EXPECT_NE(report.back().xml.find("\"req-a\""), std::string::npos) << report.back().xml;
    EXPECT_EQ(report.back().xml.find("127.0.64.2"), std::string::npos) << report.back().xml;
}

TEST_F(ScanRequests, HostRescanSnmpOutputAndRefusals)
{
    auto a = Console("Pairs");
    const int inventory = AddInventory(*a, "Pair", "127.0.64.2-3");
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + std::to_string(inventory) + "\" synch=\"20\"/>"));
    ScanResult first = ReadScan(*a, "Pair");
    const std::string host_c = Uid(first, HostC);
    ASSERT_FALSE(host_c.empty());

    // A second scan of the inventory replaces the unlocked snapshot.
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + std::to_string(inventory) + "\" synch=\"21\"/>"));
    ScanResult second = ReadScan(*a, "Pair");
    bool old_removed = false;
    for (const Reply& r : second.frames)
        old_removed |= r.name == "REMOVEBRANCH" && r.attr("uid") == first.snapshot &&
                       r.attr("parent") == std::to_string(inventory);
    EXPECT_TRUE(old_removed);
    EXPECT_NE(second.snapshot, first.snapshot);
    ASSERT_EQ(second.hosts.size(), 2u);

    // Rescanning one host keeps its snapshot and brings the host back.
    const std::string old_c = Uid(second, HostC);
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + old_c + "\" synch=\"22\"/>"));
    std::vector<Reply> rescan = ReadUntil(*a, [](const Reply& r) { return IsLogWith(r, "End Scan <As of "); });
    bool removed = false, snapshot_with_synch = false, host_back = false, completed = false;
    for (const Reply& r : rescan) {
        removed |= r.name == "REMOVEBRANCH" && r.attr("uid") == old_c && r.attr("parent") == second.snapshot;
        snapshot_with_synch |= r.name == "TREEITEM" && r.attr("uid") == second.snapshot && r.attr("synch") == "22";
        host_back |= r.name == "TREEITEM" && r.attr("ip") == HostC && r.attr("parent") == second.snapshot;
        completed |= IsLogWith(r, "has been completed.");
    }
    EXPECT_TRUE(removed);
    EXPECT_TRUE(snapshot_with_synch);
    EXPECT_TRUE(host_back);
    EXPECT_TRUE(completed);

    // The raw SNMP output of host B: its item and snapshot with the synch,
    // then the output lines and the end line.
    const std::string host_b = Uid(second, HostB);
    ASSERT_TRUE(a->Send("<GET_SNMP_OUTPUT uid=\"" + host_b + "\" synch=\"23\"/>"));
    std::vector<Reply> output =
        ReadUntil(*a, [](const Reply& r) { return IsLogWith(r, "End Getting SNMP Output"); });
    const Reply* lines = nullptr;
    bool started = false, host_marked = false;
    for (const Reply& r : output) {
        started |= IsLogWith(r, "Start Getting SNMP Output " + std::string(55, '-'));
        host_marked |= r.name == "TREEITEM" && r.attr("uid") == host_b && r.attr("synch") == "23";
        if (r.name == "SNMP_OUTPUT")
            lines = &r;
    }
    EXPECT_TRUE(started);
    EXPECT_TRUE(host_marked);
    ASSERT_NE(lines, nullptr);
    EXPECT_EQ(lines->attr("uid"), host_b);
    ASSERT_GT(lines->children.size(), 5u);
    bool has_name = false;
    for (const Reply& ln : lines->children) {
        EXPECT_EQ(ln.name, "LN");
        has_name |= ln.attr("d").find("req-b") != std::string::npos;
    }
    EXPECT_TRUE(has_name) << lines->xml.substr(0, 2000);

    // Refusals: SNMP output of an inventory, a scan of an item without inventories.
    ASSERT_TRUE(a->Send("<GET_SNMP_OUTPUT uid=\"" + std::to_string(inventory) + "\" synch=\"24\"/>"));
    std::vector<Reply> refused = ReadUntil(*a, [](const Reply& r) { return r.name == "ERROR"; });
    EXPECT_EQ(refused.back().xml, "<ERROR type=\"8\" message=\"Can not start SNMP output.\" synch=\"24\" />");
    bool refusal_logged = false;
    for (const Reply& r : refused)
        refusal_logged |= IsLogWith(r, "Can not start Getting SNMP output.");
    EXPECT_TRUE(refusal_logged);

    ASSERT_TRUE(a->Send("<ADDTREEITEM uid=\"-5\" parent=\"0\" type=\"0\" synch=\"25\" name=\"Empty folder\"/>"));
    // Items of the SNMP output job may still arrive: wait for the folder itself.
    std::vector<Reply> added =
        ReadUntil(*a, [](const Reply& r) { return r.name == "TREEITEM" && r.attr("name") == "Empty folder"; });
    ASSERT_FALSE(added.empty());
    const Reply& folder = added.back();
    ASSERT_EQ(folder.attr("name"), "Empty folder");
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + folder.attr("uid") + "\" synch=\"26\"/>"));
    refused = ReadUntil(*a, [](const Reply& r) { return r.name == "ERROR"; });
    EXPECT_EQ(refused.back().xml, "<ERROR type=\"254\" message=\"Can not start scan.\" synch=\"26\" />");
}

TEST_F(ScanRequests, FolderScanOneScanForAllInventoriesAndStartScanOfNewItem)
{
    auto a = Console("Sites");
    ASSERT_TRUE(a->Send("<ADDTREEITEM uid=\"-6\" parent=\"0\" type=\"0\" synch=\"30\" name=\"Site\"/>"));
    std::optional<Reply> site = a->NextNamed("TREEITEM");
    ASSERT_TRUE(site.has_value());
    const std::string site_uid = site->attr("uid");
    for (const char* name : {"One", "Two", "Three"}) {
        ASSERT_TRUE(a->Send(std::string("<ADDTREEITEM uid=\"-7\" parent=\"") + site_uid +
                            "\" type=\"1\" synch=\"31\" name=\"" + name + "\" ping=\"3\" tabs=\"\">"
                            "<IP from=\"127.0.64.2\" to=\"\" file=\"\"/><COMM name=\"public\"/></ADDTREEITEM>"));
        ASSERT_TRUE(a->NextNamed("TREEITEM").has_value());
    }

    // Three snapshots under one scan: one end, after every host.
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + site_uid + "\" synch=\"32\"/>"));
    std::vector<Reply> frames = ReadUntil(*a, [](const Reply& r) { return IsLogWith(r, "End Scan <Site>"); });
    int snapshots = 0, hosts = 0, ends = 0;
    for (const Reply& r : frames) {
        snapshots += r.name == "TREEITEM" && r.attr("type") == "2" && r.attr("synch") == "32";
        hosts += r.name == "TREEITEM" && r.attr("type") == "3" && r.attr("ip") == HostB;
        ends += IsLogWith(r, "Scan <Site> has been completed.");
    }
    EXPECT_EQ(snapshots, 3);
    EXPECT_GE(hosts, 3);
    EXPECT_EQ(ends, 1) << [&] {
        std::string all;
        for (const Reply& r : frames)
            all += r.xml + "\n";
        return all;
    }();

    // A new inventory scanned at once: the scan belongs to the new item.
    ASSERT_TRUE(a->Send("<ADDTREEITEM uid=\"-8\" parent=\"0\" type=\"1\" synch=\"33\" name=\"Quick\" ping=\"3\" "
                        "tabs=\"\" startscan=\"1\"><IP from=\"127.0.64.3\" to=\"\" file=\"\"/>"
                        "<COMM name=\"public\"/></ADDTREEITEM>"));
    frames = ReadUntil(*a, [](const Reply& r) { return IsLogWith(r, "End Scan <"); });
    bool named = false;
    for (const Reply& r : frames)
        named |= IsLogWith(r, "Scan <Quick> has been completed.");
    EXPECT_TRUE(named) << frames.back().xml;
    EXPECT_EQ(Message(frames.back()), "End Scan <Quick>" + std::string(80 - 16, '-'));
}

TEST_F(ScanRequests, CancelScanMidway)
{
    auto a = Console("Slow");
    // Many addresses without agents keep the scan busy for minutes. Pinged
    // first, each has its host row while SNMP waits for its time-out, so a
    // cancel then leaves aborted hosts however late it comes.
    const int inventory = AddInventory(*a, "Slow", "127.0.64.1-250", 0, 2);
    ASSERT_TRUE(a->Send("<SCAN uid=\"" + std::to_string(inventory) + "\" synch=\"40\"/>"));
    std::vector<Reply> frames = ReadUntil(*a, [](const Reply& r) {
        return r.name == "TREEITEM" && r.attr("type") == "3" && r.attr("ip").rfind("127.0.64.", 0) == 0 &&
               std::stoi(r.attr("ip").substr(9)) > 3;
    });
    ASSERT_TRUE(a->Send("<CANCELSCAN uid=\"" + std::to_string(inventory) + "\" synch=\"41\"/>"));
    frames = ReadUntil(*a, [](const Reply& r) { return IsLogWith(r, "End Scan <Slow>"); }, 120);
    bool aborted = false;
    for (const Reply& r : frames) {
        aborted |= IsLogWith(r, "Scan <Slow> has been aborted.");
        EXPECT_NE(r.name, "ERROR") << r.xml;  // CANCELSCAN never answers
    }
    EXPECT_TRUE(aborted);
}

TEST_F(ScanRequests, AnInventoryWhoseSnapshotCannotBeAddedIsNamedAndTheOthersAreScanned)
{
    auto a = Console("Refusing");
    ASSERT_TRUE(a->Send("<ADDTREEITEM uid=\"-9\" parent=\"0\" type=\"0\" synch=\"50\" name=\"Refused\"/>"));
    std::optional<Reply> folder = a->NextNamed("TREEITEM");
    ASSERT_TRUE(folder.has_value());
    for (const char* name : {"First", "Second", "Third"}) {
        ASSERT_TRUE(a->Send("<ADDTREEITEM uid=\"-10\" parent=\"" + folder->attr("uid") +
                            "\" type=\"1\" synch=\"51\" name=\"" + name + "\" ping=\"3\" tabs=\"\">"
                            "<IP from=\"127.0.64.2\" to=\"\" file=\"\"/><COMM name=\"public\"/></ADDTREEITEM>"));
        ASSERT_TRUE(a->NextNamed("TREEITEM").has_value());
    }
    // The inventory database takes one snapshot and refuses the next.
    if (on_postgresql) {
        const std::string database =
            Psql("postgres", {"-c", "SELECT datname FROM pg_database WHERE lower(datname) = lower('TrvRefusingSrvData')"});
        ASSERT_FALSE(database.empty());
        Psql(database.substr(0, database.find('\n')),
             {"-c",
              "CREATE FUNCTION refuse_second_snapshot() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
              "IF NEW.type = 2 AND (SELECT count(*) FROM InventoryTree WHERE type = 2) > 0 THEN "
              "RAISE EXCEPTION 'second snapshot refused'; END IF; RETURN NEW; END $$; "
              "CREATE TRIGGER refuse_second_snapshot BEFORE INSERT ON InventoryTree FOR EACH ROW "
              "EXECUTE FUNCTION refuse_second_snapshot();"});
    } else {
        int status = -1;
        const std::string out = run_program(
            {"sqlite3", folder_->file("Refusing-SrvData.db"),
             "CREATE TRIGGER refuse_second_snapshot BEFORE INSERT ON InventoryTree "
             "WHEN NEW.type = 2 AND (SELECT count(*) FROM InventoryTree WHERE type = 2) > 0 "
             "BEGIN SELECT RAISE(ABORT, 'second snapshot refused'); END;"},
            &status);
        ASSERT_EQ(status, 0) << out;
    }

    ASSERT_TRUE(a->Send("<SCAN uid=\"" + folder->attr("uid") + "\" synch=\"52\"/>"));
    std::vector<Reply> frames = ReadUntil(*a, [](const Reply& r) { return IsLogWith(r, "End Scan <Refused>"); });
    std::set<std::string> snapshots;
    int alerts = 0, completed = 0;
    for (const Reply& r : frames) {
        EXPECT_NE(r.name, "ERROR") << r.xml;  // the first inventory's scan did start
        if (r.name == "TREEITEM" && r.attr("type") == "2")
            snapshots.insert(r.attr("uid"));
        if (r.name == "LOG" && r.attr("alert") == "1") {
            ++alerts;
            EXPECT_EQ(r.attr("text").rfind("Can not start scan of <Second>, <Third> [", 0), 0u) << r.xml;
            EXPECT_NE(r.attr("text").find("second snapshot refused"), std::string::npos) << r.xml;
        }
        completed += IsLogWith(r, "Scan <Refused> has been completed.");
    }
    EXPECT_EQ(snapshots.size(), 1u);
    EXPECT_EQ(alerts, 1);
    EXPECT_EQ(completed, 1);
    EXPECT_NE(folder_->LogText().find("Can not start the scan of inventory "), std::string::npos);
}

}  // namespace
