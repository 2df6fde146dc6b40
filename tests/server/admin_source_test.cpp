// The administration data source as an administrator sets it up: on
// PostgreSQL exactly by the steps of the README (a user that logs in with a
// password, the data source in the server's odbc.ini, the database filled by
// make_database, the password setting), scanning real agents into tabs; and
// what consoles are told when it is not open, or cannot be read, instead of
// scans that complete without tabs.
#include "pg_cluster.h"
#include "server_process.h"
#include "snmp_agents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr const char* HostA = "127.0.68.1";
constexpr const char* HostB = "127.0.68.2";
constexpr const char* Mask = "127.0.68.1-2";
constexpr const char* Password = "Secret-42";

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

bool IsLogWith(const Reply& r, const std::string& what)
{
    return r.name == "LOG" && Contains(r.attr("text"), what);
}

// Reads until `done` holds for a frame; every frame read is kept.
std::vector<Reply> ReadUntil(ConsoleClient& client, const std::function<bool(const Reply&)>& done)
{
    std::vector<Reply> seen;
    for (;;) {
        std::optional<Reply> r = client.Next(120);
        if (!r) {
            ADD_FAILURE() << "no end after " << seen.size() << " frames";
            return seen;
        }
        seen.push_back(*r);
        if (done(*r))
            return seen;
    }
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Puts `line` in place of the value `name` of the registry file, as an
// administrator edits it: the value's line and any continuation lines go.
void SetRegistryLine(const std::string& path, const std::string& name, const std::string& line)
{
    std::istringstream in(ReadText(path));
    std::string out;
    std::string text;
    bool continuing = false;
    bool replaced = false;
    while (std::getline(in, text)) {
        if (continuing || text.rfind("\"" + name + "\"=", 0) == 0) {
            continuing = !text.empty() && text.back() == '\\';
            if (!replaced)
                out += line + "\n";
            replaced = true;
            continue;
        }
        out += text + "\n";
    }
    ASSERT_TRUE(replaced) << path;
    std::ofstream(path, std::ios::trunc) << out;
}

// Takes the section of `name` out of an ini file, as an administrator
// deletes its lines; the new section is then written in its place.
void ReplaceIniSection(const std::string& path, const std::string& name)
{
    std::istringstream in(ReadText(path));
    std::string out;
    std::string line;
    bool inside = false;
    bool found = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '[') {
            inside = line == "[" + name + "]";
            found = found || inside;
        }
        if (!inside)
            out += line + "\n";
    }
    ASSERT_TRUE(found) << ReadText(path);
    std::ofstream(path, std::ios::trunc) << out;
}

class AdminSource : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        agents_ = new TestAgents;
        for (AgentSpec spec : {AgentSpec{HostA, "adm-a", "Plain box", ".1.3.6.1.4.1.8072.3.2.10"},
                               AgentSpec{HostB, "adm-b", "Plain box", ".1.3.6.1.4.1.8072.3.2.10"}}) {
            spec.host_resources = false;
            ASSERT_TRUE(agents_->start(spec)) << agents_->error();
        }
        cluster_ = new PgCluster;
        cluster_->start(std::string("host all tarvane 127.0.0.1/32 scram-sha-256"));
        Psql({"-c", "CREATE ROLE tarvane LOGIN CREATEDB PASSWORD '" + std::string(Password) + "'"});
    }
    static void TearDownTestSuite()
    {
        delete cluster_;
        delete agents_;
        cluster_ = nullptr;
        agents_ = nullptr;
    }

    static void Psql(std::vector<std::string> args)
    {
        std::vector<std::string> argv = {"psql", "-X", "-q", "-v", "ON_ERROR_STOP=1", "-h", "127.0.0.1", "-p",
                                         std::to_string(cluster_->port()), "-U", PgCluster::user(), "-d",
                                         "postgres"};
        argv.insert(argv.end(), args.begin(), args.end());
        int status = -1;
        const std::string out = run_program(argv, &status);
        ASSERT_EQ(status, 0) << out;
    }

    // A program folder whose scans wait little on the agents.
    static void QuickScans(ServerFolder& folder)
    {
        folder.SetInt("SNMPTimeout", 1);
        folder.SetInt("SNMPRetries", 1);
        folder.SetInt("SNMPTabAttempts", 2);
        folder.SetInt("ScanThreads", 4);
        folder.SetInt("PingThreads", 2);
        folder.SetInt("UserDBMaxConn", 3);
        folder.SetInt("AdminDBMaxConn", 3);
    }

    // The README's steps up to the password setting: a first start makes the
    // folder's registry and ODBC files; with the server stopped the
    // administration data source goes into odbc/odbc.ini; make_database fills
    // the (new, empty) database.
    static void RegisterAndFill(ServerFolder& folder, const std::string& database)
    {
        {
            auto first = StartListening(folder);
            ASSERT_NE(first, nullptr);
            ASSERT_EQ(first->Stop(), 0);
        }
        Psql({"-c", "CREATE DATABASE " + database + " OWNER tarvane"});
        ReplaceIniSection(folder.file("odbc/odbc.ini"), "TarvaneSrvAdmin");
        std::ofstream(folder.file("odbc/odbc.ini"), std::ios::app)
            << "\n[TarvaneSrvAdmin]\n"
            << "Driver      = PostgreSQL Unicode\n"
            << "Description = Tarvane administration database\n"
            << "Servername  = 127.0.0.1\n"
            << "Port        = " << cluster_->port() << "\n"
            << "Database    = " << database << "\n"
            << "Username    = tarvane\n"
            << "Password    = " << Password << "\n";
        const std::string bin = std::string(std::getenv("TRV_BINARY_DIR")) + "/bin";
        const std::string command = "cd " + bin + " && ./make_database --program-folder " + folder.path() +
                                    " --dsn TarvaneSrvAdmin sql/postgresql/admin.sql sql/table_names.sql "
                                    "admin/admin_content.sql --enterprises /usr/share/wireshark/enterprises.tsv";
        int status = -1;
        const std::string out = run_program({"sh", "-c", command + " 2>&1"}, &status);
        ASSERT_EQ(status, 0) << out;
    }

    // Adds an inventory over the agents and scans it; the frames up to the end.
    static std::vector<Reply> AddAndScan(ConsoleClient& console, const std::string& name)
    {
        EXPECT_TRUE(console.Send("<ADDTREEITEM uid=\"-5\" parent=\"0\" type=\"1\" synch=\"1\" name=\"" + name +
                                 "\" ping=\"3\" tabs=\"\"><IP from=\"" + Mask +
                                 "\" to=\"\" file=\"\"/><COMM name=\"public\"/></ADDTREEITEM>"));
        const std::optional<Reply> item = console.NextNamed("TREEITEM");
        EXPECT_TRUE(item.has_value());
        if (!item)
            return {};
        EXPECT_TRUE(console.Send("<SCAN uid=\"" + item->attr("uid") + "\" synch=\"2\"/>"));
        return ReadUntil(console, [&](const Reply& r) {
            return IsLogWith(r, "End Scan <" + name + ">") || r.name == "ERROR";
        });
    }

    inline static TestAgents* agents_ = nullptr;
    inline static PgCluster* cluster_ = nullptr;
};

TEST_F(AdminSource, ThePostgresqlSetUpOfTheReadmeScansAgentsIntoTabs)
{
    ServerFolder folder;
    QuickScans(folder);
    RegisterAndFill(folder, "tarvane_admin");
    // The last step: the empty password, so that the data source's is used.
    SetRegistryLine(folder.file("registry/HKEY_LOCAL_MACHINE.reg"), "AdminDBPassword",
                    "\"AdminDBPassword\"=\"         0\"");

    auto server = StartListening(folder);
    ASSERT_NE(server, nullptr);
    // The lines of this start, after those of the first one.
    const std::string log = folder.LogText();
    const std::string start = log.substr(log.rfind("Starting service"));
    EXPECT_TRUE(Contains(start, "Data source 'TarvaneSrvAdmin' is the PostgreSQL database 'tarvane_admin' on "
                                "127.0.0.1:" + std::to_string(cluster_->port()) + "."))
        << start;
    EXPECT_TRUE(Contains(start, "Administration data source 'TarvaneSrvAdmin' is open.")) << start;
    EXPECT_FALSE(Contains(start, "TarvaneSrvAdmin.db")) << start;

    ConsoleClient console(folder.port());
    ASSERT_FALSE(console.Login("Readme").empty());
    const std::vector<Reply> frames = AddAndScan(console, "Office");
    ASSERT_FALSE(frames.empty());
    EXPECT_TRUE(IsLogWith(frames.back(), "End Scan <Office>")) << frames.back().xml;
    std::vector<std::string> hosts;
    for (const Reply& r : frames) {
        EXPECT_FALSE(r.has("alert")) << r.xml;
        if (r.name == "TREEITEM" && r.attr("type") == "3" && r.has("ip") &&
            std::find(hosts.begin(), hosts.end(), r.attr("uid")) == hosts.end())
            hosts.push_back(r.attr("uid"));
    }
    ASSERT_EQ(hosts.size(), 2u);
    for (const std::string& host : hosts) {
        ASSERT_TRUE(console.Send("<GETTREESIBLING root=\"" + host + "\" synch=\"3\"/>"));
        const std::optional<Reply> tabs = console.NextNamed("TREESIBLINGS");
        ASSERT_TRUE(tabs.has_value());
        std::vector<std::string> names;
        for (const Reply& tab : tabs->children)
            names.push_back(tab.attr("name"));
        EXPECT_NE(std::find(names.begin(), names.end(), "Summary"), names.end()) << tabs->xml;
        EXPECT_NE(std::find(names.begin(), names.end(), "Interfaces"), names.end()) << tabs->xml;
    }
    EXPECT_EQ(server->Stop(), 0);
}

// Without the password step the server logs in with the default password of
// its settings, which the database refuses: the log and every console say so,
// and a scan is refused with an alert rather than completing without tabs.
// A console's settings can then give the password (here the empty one).
TEST_F(AdminSource, AnAdministrationSourceThatIsNotOpenIsToldAndRefusesScans)
{
    ServerFolder folder;
    QuickScans(folder);
    RegisterAndFill(folder, "tarvane_shut");
    auto server = StartListening(folder);
    ASSERT_NE(server, nullptr);
    EXPECT_TRUE(Contains(folder.LogText(), "The administration data source 'TarvaneSrvAdmin' (PostgreSQL database "
                                           "'tarvane_shut' on 127.0.0.1:" +
                                               std::to_string(cluster_->port()) + ") is not open"))
        << folder.LogText();

    ConsoleClient console(folder.port());
    ASSERT_FALSE(console.Login("Shut").empty());
    const std::optional<Reply> connected = console.Next();
    ASSERT_TRUE(connected.has_value());
    EXPECT_TRUE(IsLogWith(*connected, "Connected to server: ")) << connected->xml;
    const std::optional<Reply> told = console.Next();
    ASSERT_TRUE(told.has_value());
    EXPECT_TRUE(IsLogWith(*told, "The administration data source 'TarvaneSrvAdmin' is not open")) << told->xml;
    EXPECT_EQ(told->attr("alert"), "1");

    const std::vector<Reply> refused = AddAndScan(console, "Closed");
    ASSERT_FALSE(refused.empty());
    const Reply& error = refused.back();
    ASSERT_EQ(error.name, "ERROR") << error.xml;
    EXPECT_EQ(error.attr("type"), "254");
    EXPECT_EQ(error.attr("alert"), "1");
    EXPECT_TRUE(Contains(error.attr("message"), "Can not start scan. The administration data source")) << error.xml;
    bool alerted = false;
    for (const Reply& r : refused) {
        EXPECT_FALSE(r.name == "TREEITEM" && r.attr("type") == "2") << "a snapshot was made: " << r.xml;
        alerted = alerted || (IsLogWith(r, "Can not start scan. ") && r.attr("alert") == "1");
    }
    EXPECT_TRUE(alerted);

    ASSERT_TRUE(console.Send("<SETSERVERINFO synch=\"4\"><ADMINDB password=\"\"/></SETSERVERINFO>"));
    ASSERT_TRUE(console.Send("<PING synch=\"5\"/>"));
    const std::vector<Reply> set = ReadUntil(console, [](const Reply& r) { return r.name == "PONG"; });
    for (const Reply& r : set)
        EXPECT_NE(r.name, "LOG") << r.xml;  // no "Can not connect to database" line
    const std::vector<Reply> frames = AddAndScan(console, "Opened");
    ASSERT_FALSE(frames.empty());
    EXPECT_TRUE(IsLogWith(frames.back(), "End Scan <Opened>")) << frames.back().xml;
    EXPECT_EQ(server->Stop(), 0);
}

// An administration database that opens but holds no mapping tables: the
// scan is stopped with an alert and ends as aborted.
TEST_F(AdminSource, AScanThatCannotReadTheMappingTablesEndsAbortedWithAnAlert)
{
    ServerFolder folder;
    QuickScans(folder);
    fs::remove(folder.file("TarvaneSrvAdmin.db"));
    {
        std::ofstream empty(folder.file("TarvaneSrvAdmin.db"));
    }
    auto server = StartListening(folder);
    ASSERT_NE(server, nullptr);
    ConsoleClient console(folder.port());
    ASSERT_FALSE(console.Login("Bare").empty());
    const std::vector<Reply> frames = AddAndScan(console, "Bare");
    ASSERT_FALSE(frames.empty());
    bool alerted = false;
    bool aborted = false;
    for (const Reply& r : frames) {
        alerted = alerted || (IsLogWith(r, "Can not read the mapping tables of the administration data source") &&
                              r.attr("alert") == "1");
        aborted = aborted || IsLogWith(r, "Scan <Bare> has been aborted.");
        EXPECT_FALSE(IsLogWith(r, "has been completed.")) << r.xml;
    }
    EXPECT_TRUE(alerted);
    EXPECT_TRUE(aborted);
    EXPECT_EQ(server->Stop(), 0);
}

}  // namespace
