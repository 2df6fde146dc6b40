// The server process as a whole: first start, a second instance, bad
// configuration, a port in use, a scanner that cannot start, settings that
// cannot be read, stop and restart, a scan cut short by a stop or a crash, the
// connection limit, log trimming, and installing and removing the service unit.
#include "qr_payload.h"
#include "qr_settings.h"
#include "registry.h"
#include "server_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <arpa/inet.h>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

TEST(ServerLifecycle, FirstStartWritesDefaultsAndASecondInstanceIsRefused)
{
    ServerFolder folder;
    folder.SetInt("PingThreads", -1);  // reads as missing
    auto started = StartListening(folder);
    ASSERT_NE(started, nullptr);
    ServerProcess& first = *started;

    RegSetStorageFolder(folder.file("registry"));
    EXPECT_EQ(ReadRegistryInt("PingThreads", -1), 10);
    EXPECT_EQ(ReadRegistryInt("ServerMaxRequests", -1), 1024);
    EXPECT_EQ(ReadRegistryInt("UserDBMaxConn", -1), 10);
    EXPECT_EQ(ReadRegistryStringDefault("ServerName", ""), "TRV Server");
    EXPECT_EQ(ReadRegistryStringDefault("AdminDBDSN", ""), "TarvaneSrvAdmin");
    EXPECT_EQ(ReadRegistryStringDefault("LogFileName", ""), folder.file("Logs/server.log"));
    // What the test set before the start is kept.
    EXPECT_EQ(ReadRegistryStringDefault("ServerPort", ""), std::to_string(folder.port()));
    EXPECT_EQ(ReadRegistryInt("LogLevel", -1), 9);
    // The password is stored encoded only.
    const std::string stored = ReadRegistryStringDefault("AdminDBPassword", "");
    EXPECT_FALSE(DecompressPayload(stored, true).empty());
    EXPECT_NE(stored, DecompressPayload(stored, true));
    RegSetStorageFolder("");

    // The scanner runs with the default worker counts.
    EXPECT_TRUE(Contains(folder.LogText(), "Scaner initialized: ping:10,snmp:10")) << folder.LogText();

    ServerProcess second(folder);
    EXPECT_EQ(second.WaitExit(), 2);
    EXPECT_TRUE(Contains(folder.LogText(), "Only one server instance can be started."));

    ConsoleClient client(folder.port());
    EXPECT_FALSE(client.Login("Console").empty());
    EXPECT_EQ(first.Stop(), 0);
}

TEST(ServerLifecycle, AConfigurationThatDoesNotLoadEndsTheProcessWithCode1)
{
    const char* configurations[] = {nullptr, "", "<SERVER", "<SERVER></CLIENT>"};
    for (const char* text : configurations) {
        ServerFolder folder;
        fs::remove(folder.file("server.xml"));
        if (text != nullptr)
            WriteWholeFile(folder.file("server.xml"), text);
        ServerProcess server(folder);
        EXPECT_EQ(server.WaitExit(), 1) << (text ? text : "(no file)");
    }
}

TEST(ServerLifecycle, APortInUseEndsStartUpWithAnErrorCode)
{
    ServerFolder folder;
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(folder.port()));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(fd, 1), 0);

    ServerProcess server(folder);
    EXPECT_EQ(server.WaitExit(), 4);
    EXPECT_TRUE(Contains(folder.LogText(), "Could not run TARVANE SERVER")) << folder.LogText();
    ::close(fd);
}

TEST(ServerLifecycle, StopEndsTheProcessAndTheNextStartReusesTheDatabases)
{
    ServerFolder folder;
    std::string first_session;
    std::string item_uid;
    {
        // A thread checker build sleeps a second at exit on purpose, to catch
        // late races; that second is the checker's, not the server's.
        const char* checker = std::getenv("TSAN_OPTIONS");
        ServerProcess server(folder, {},
                             {{"TSAN_OPTIONS", std::string(checker ? checker : "") + ":atexit_sleep_ms=0"}});
        ASSERT_TRUE(server.WaitListening()) << server.Output();
        ConsoleClient client(folder.port());
        first_session = client.Login("Console");
        ASSERT_FALSE(first_session.empty());
        ASSERT_TRUE(client.Send("<ADDTREEITEM uid=\"-1\" parent=\"0\" type=\"0\" synch=\"1\" name=\"Kept &amp; sound\"/>"));
        auto added = client.NextNamed("TREEITEM");
        ASSERT_TRUE(added.has_value());
        item_uid = added->attr("uid");

        // A scan, in another client type's inventory, in the middle of its
        // SNMP time-outs: addresses without agents answer ping, then keep
        // every SNMP worker waiting (5 s a try, 2 retries by default).
        ConsoleClient scanning(folder.port());
        ASSERT_FALSE(scanning.Login("Scanning").empty());
        ASSERT_TRUE(scanning.Send("<ADDTREEITEM uid=\"-2\" parent=\"0\" type=\"1\" synch=\"2\" name=\"Silent\" "
                                  "ping=\"2\" tabs=\"\"><IP from=\"127.0.93.1-40\" to=\"\" file=\"\"/>"
                                  "<COMM name=\"public\"/></ADDTREEITEM>"));
        auto inventory = scanning.NextNamed("TREEITEM");
        ASSERT_TRUE(inventory.has_value());
        ASSERT_TRUE(scanning.Send("<SCAN uid=\"" + inventory->attr("uid") + "\" synch=\"3\"/>"));
        std::optional<Reply> asking;
        do
            asking = scanning.NextNamed("LOG", 60);
        while (asking && asking->attr("text").find("SNMP Discovering") == std::string::npos);
        ASSERT_TRUE(asking.has_value()) << "no SNMP exchange of the scan began";

        // Neither the running scan nor a console still connected holds up the
        // stop beyond its bound of 5 s.
        EXPECT_EQ(server.Stop(5), 0);
    }
    EXPECT_TRUE(fs::exists(folder.file("Console-SrvData.db")));
    EXPECT_TRUE(Contains(folder.LogText(), "Stopping..."));

    auto started = StartListening(folder);
    ASSERT_NE(started, nullptr);
    ServerProcess& server = *started;
    ConsoleClient client(folder.port());
    const std::string second_session = client.Login("Console");
    ASSERT_FALSE(second_session.empty());
    // Ids come from the database's index, which survived the restart.
    EXPECT_GT(std::stoll(second_session), std::stoll(first_session));
    ASSERT_TRUE(client.NextNamed("LOG").has_value());
    ASSERT_TRUE(client.Send("<GETTREE root=\"0\" synch=\"2\"/>"));
    auto tree = client.Next();
    ASSERT_TRUE(tree.has_value());
    ASSERT_EQ(tree->children.size(), 1u) << tree->xml;
    EXPECT_EQ(tree->children[0].attr("uid"), item_uid);
    EXPECT_EQ(tree->children[0].attr("name"), "Kept & sound");
    EXPECT_EQ(server.Stop(5), 0);
}

TEST(ServerLifecycle, AScannerWithoutItsSnmpSessionsEndsStartUpWithAnErrorCode)
{
#if defined(__SANITIZE_ADDRESS__)
    // The undefined-behaviour checker of this build needs free descriptors
    // to check an object's type; with none left it reports faults that are
    // not there and ends the program. The plain and thread-checker builds
    // run this case.
    GTEST_SKIP() << "needs descriptors the checker of this build cannot do without";
#endif
    ServerFolder folder;
    folder.SetInt("ScanThreads", 256);
    // Each SNMP session holds descriptors of its own: 256 of them cannot be
    // opened under this limit, which the server inherits.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = std::min<rlim_t>(saved.rlim_cur, 128);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    auto server = std::make_unique<ServerProcess>(folder);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);

    EXPECT_EQ(server->WaitExit(), 3);
    const std::string log = folder.LogText();
    EXPECT_TRUE(Contains(log, "Could not initialize scaner [Cannot open SNMP session ")) << log;
    EXPECT_FALSE(Contains(log, "Scaner initialized")) << log;
}

TEST(ServerLifecycle, SettingsThatCannotBeReadEndStartUpAndStayAsTheyAre)
{
    struct Case {
        const char* what;
        const char* text;  // none: a folder stands where the file belongs
        const char* cause;
    };
    const Case cases[] = {
        {"no header", "not a registry file\n", "is corrupt (does not start with REGEDIT4)"},
        {"a damaged value",
         "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarvane\\Tarvane Network Inventory Server\\Settings]\n"
         "\"ServerPort\"=dword:zz\n",
         "is corrupt (line 4: "},
        {"not a file", nullptr, "cannot read registry file "},
    };
    for (const Case& c : cases) {
        ServerFolder folder;
        const std::string file = folder.file("registry/HKEY_LOCAL_MACHINE.reg");
        fs::remove(file);
        if (c.text != nullptr)
            WriteWholeFile(file, c.text);
        else
            fs::create_directory(file);

        ServerProcess server(folder);
        EXPECT_EQ(server.WaitExit(), 6) << c.what;
        const std::string log = folder.LogText();
        EXPECT_TRUE(Contains(log, "The server settings cannot be read or written [")) << c.what << "\n" << log;
        EXPECT_TRUE(Contains(log, c.cause)) << c.what << "\n" << log;
        EXPECT_TRUE(Contains(log, "; the server does not start.")) << c.what;
        EXPECT_FALSE(Contains(log, "Starting service ...")) << c.what;
        EXPECT_TRUE(Contains(server.Output(), "The server settings cannot be read or written [")) << c.what;
        EXPECT_TRUE(Contains(server.Output(), "; the server does not start.")) << c.what;
        // Never replaced by defaults.
        if (c.text != nullptr)
            EXPECT_EQ(ReadWholeFile(file), c.text) << c.what;
        else
            EXPECT_TRUE(fs::is_directory(file)) << c.what;
    }
}

TEST(ServerLifecycle, ADataSourceThatCannotOpenRefusesOnlyThatLogin)
{
    ServerFolder folder;
    folder.SetInt("UserDBMaxConn", 0);  // a pool without connections cannot serve a loader
    auto started = StartListening(folder);
    ASSERT_NE(started, nullptr);
    ServerProcess& server = *started;
    for (int attempt = 0; attempt < 2; ++attempt) {
        ConsoleClient client(folder.port());
        ASSERT_TRUE(client.Send("<LOGIN Type=\"Console\" synch=\"3\"/>"));
        auto error = client.Next();
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->name, "ERROR");
        EXPECT_EQ(error->attr("type"), "254");
        EXPECT_TRUE(Contains(error->attr("message"), "Can not open data source of client type Console"))
            << error->attr("message");
        ASSERT_TRUE(client.Send("<PING synch=\"4\"/>"));
        auto pong = client.Next();
        ASSERT_TRUE(pong.has_value());
        EXPECT_EQ(pong->name, "PONG");
    }
    EXPECT_TRUE(Contains(folder.LogText(), "Failed to initialize database connection Pool. Reason is ["));
    // Nothing of the refused logins is left for the next one to find.
    EXPECT_FALSE(fs::exists(folder.file("Console-SrvData.db")));
    EXPECT_FALSE(Contains(ReadWholeFile(folder.file("odbc/odbc.ini")), "TrvConsoleSrvData"));
    EXPECT_EQ(server.Stop(), 0);
}

TEST(ServerLifecycle, TheConnectionLimitHoldsBackTheNextClient)
{
    ServerFolder folder;
    folder.SetInt("ServerMaxRequests", 1);
    auto started = StartListening(folder);
    ASSERT_NE(started, nullptr);
    ServerProcess& server = *started;
    // WaitListening's own probe has come and gone; let its slot free again.
    auto first = std::make_unique<ConsoleClient>(folder.port());
    std::optional<Reply> pong;
    for (int attempt = 0; attempt < 100 && !pong; ++attempt) {
        ASSERT_TRUE(first->Send("<PING synch=\"1\"/>"));
        pong = first->Next(1);
    }
    ASSERT_TRUE(pong.has_value());

    ConsoleClient second(folder.port());
    ASSERT_TRUE(second.Send("<PING synch=\"2\"/>"));
    EXPECT_FALSE(second.Next(2).has_value());
    first.reset();
    auto late = second.Next();
    ASSERT_TRUE(late.has_value());
    EXPECT_EQ(late->attr("synch"), "2");
    EXPECT_EQ(server.Stop(), 0);
}

// The limit is told in the log once it is reached. Connections that never
// log in and send nothing then hold a place only for the short pre-login
// limit: a console waiting behind them in the backlog logs in, and a
// logged-in console silent for longer than them stays.
TEST(ServerLifecycle, SilentConnectionsAtTheLimitMakeWayForAConsole)
{
    ServerFolder folder;
    folder.SetInt("ServerMaxRequests", 2);
    auto started = StartListening(folder, {{"TRV_LOGIN_IDLE_LIMIT_MS", "500"}});
    ASSERT_NE(started, nullptr);
    ServerProcess& server = *started;
    ConsoleClient member(folder.port());
    ASSERT_FALSE(member.Login("Console").empty());
    ASSERT_TRUE(member.NextNamed("LOG").has_value());
    auto second = std::make_unique<ConsoleClient>(folder.port());
    ASSERT_FALSE(second->Login("Console").empty());
    EXPECT_TRUE(WaitUntil([&] {
        return Contains(folder.LogText(), "Connection limit reached: 2 connections are open (ServerMaxRequests)");
    })) << folder.LogText();

    second.reset();
    ConsoleClient silent1(folder.port());
    ConsoleClient silent2(folder.port());
    ConsoleClient newcomer(folder.port());
    ASSERT_FALSE(newcomer.Login("Console").empty());
    EXPECT_TRUE(silent1.Closed());
    EXPECT_TRUE(silent2.Closed());
    // The member has been silent since before the others came.
    ASSERT_TRUE(member.Send("<PING synch=\"5\"/>"));
    const std::optional<Reply> pong = member.NextNamed("PONG");
    ASSERT_TRUE(pong.has_value());
    EXPECT_EQ(pong->attr("synch"), "5");
    EXPECT_TRUE(Contains(folder.LogText(), "Connection dropped: no LOGIN, and nothing within 500 ms. Close session."))
        << folder.LogText();
    EXPECT_EQ(server.Stop(), 0);
}

TEST(ServerLifecycle, ALogAboveItsLimitLosesItsFront)
{
    ServerFolder folder;
    folder.SetInt("MaxLogSizeMb", 1);
    folder.SetInt("LogCutPerc", 50);
    fs::create_directories(folder.file("Logs"));
    {
        std::ofstream log(folder.file("Logs/server.log"));
        log << "HEAD-MARK\n";
        for (int i = 0; i < 30000; ++i)
            log << "0123456789012345678901234567890123456789012345678\n";
        log << "TAIL-MARK\n";
    }
    auto started = StartListening(folder, QuickLogTrim());
    ASSERT_NE(started, nullptr);
    ServerProcess& server = *started;
    ASSERT_TRUE(WaitUntil([&] { return fs::file_size(folder.file("Logs/server.log")) < 1000000; }));
    const std::string log = folder.LogText();
    EXPECT_FALSE(Contains(log, "HEAD-MARK"));
    EXPECT_TRUE(Contains(log, "TAIL-MARK"));
    // Logging goes on into the trimmed file.
    ConsoleClient client(folder.port());
    ASSERT_FALSE(client.Login("Console").empty());
    EXPECT_TRUE(Contains(folder.LogText(), "Login request recieved."));
    EXPECT_EQ(server.Stop(), 0);
}

TEST(ServerLifecycle, InstallAndRemoveTheServiceUnit)
{
    ServerFolder folder;
    TempDir units;
    const std::map<std::string, std::string> env = {{"TRV_SYSTEMD_UNIT_DIR", units.path()}};
    const std::string unit = units.file("TRVServer.service");
    const std::string wants = units.file("multi-user.target.wants/TRVServer.service");

    for (const char* install : {"-i", "/Fi", "-I", "/fi"}) {
        ServerProcess installer(folder, {install}, env);
        ASSERT_EQ(installer.WaitExit(), 0) << install;
        ASSERT_TRUE(fs::exists(unit)) << install;
        const std::string text = ReadWholeFile(unit);
        EXPECT_TRUE(Contains(text, "\nDescription=Tarvane Server\n")) << text;
        EXPECT_TRUE(Contains(text, "\nExecStart=\"" + folder.file("trvserver") + "\"\n")) << text;
        EXPECT_TRUE(Contains(text, "\nWantedBy=multi-user.target\n")) << text;
        EXPECT_TRUE(Contains(text, "\nRestart=on-failure\n")) << text;
        EXPECT_TRUE(fs::is_symlink(wants)) << install;
        EXPECT_EQ(fs::read_symlink(wants), fs::path(unit));

        ServerProcess remover(folder, {install[0] == '-' ? "-u" : "/U"}, env);
        ASSERT_EQ(remover.WaitExit(), 0);
        EXPECT_FALSE(fs::exists(unit));
        EXPECT_FALSE(fs::exists(fs::symlink_status(wants)));
    }
    EXPECT_TRUE(Contains(folder.LogText(), "TRVServer installed..."));
    EXPECT_TRUE(Contains(folder.LogText(), "TRVServer uninstalled..."));

    // Removing while the service runs stops it first.
    ServerProcess installer(folder, {"-i"}, env);
    ASSERT_EQ(installer.WaitExit(), 0);
    ServerProcess running(folder, {}, env);
    ASSERT_TRUE(running.WaitListening()) << running.Output();
    ServerProcess remover(folder, {"-u"}, env);
    EXPECT_EQ(remover.WaitExit(), 0);
    EXPECT_EQ(running.WaitExit(), 0);
    EXPECT_FALSE(fs::exists(unit));
}

// A scan cut short by a stop or a crash: the console loses its connection
// and hears of no end of the scan. At the first login of its client type
// after the next start, the snapshot that was being scanned is interrupted
// (status 4) and the internal-scan marks are gone, before the console reads
// anything.
TEST(ServerLifecycle, AScanCutShortByAStopOrACrashIsInterruptedAtTheNextLogin)
{
    for (const int signal : {SIGTERM, SIGKILL}) {
        SCOPED_TRACE(signal == SIGTERM ? "stop" : "crash");
        ServerFolder folder;
        std::string inventory, snapshot;
        {
            auto started = StartListening(folder);
            ASSERT_NE(started, nullptr);
            ServerProcess& server = *started;
            ConsoleClient scanning(folder.port());
            ASSERT_FALSE(scanning.Login("Scanning").empty());
            // Addresses without agents answer ping, then hold every SNMP
            // worker in its time-outs (5 s a try, 2 retries): the scan is
            // still running when the server goes.
            ASSERT_TRUE(scanning.Send("<ADDTREEITEM uid=\"-2\" parent=\"0\" type=\"1\" synch=\"2\" name=\"Silent\" "
                                      "ping=\"2\" tabs=\"\"><IP from=\"127.0.94.1-40\" to=\"\" file=\"\"/>"
                                      "<COMM name=\"public\"/></ADDTREEITEM>"));
            auto added = scanning.NextNamed("TREEITEM");
            ASSERT_TRUE(added.has_value());
            inventory = added->attr("uid");
            ASSERT_TRUE(scanning.Send("<SCAN uid=\"" + inventory + "\" synch=\"3\"/>"));
            for (std::optional<Reply> pushed = scanning.Next(60); pushed; pushed = scanning.Next(60)) {
                if (pushed->name == "TREEITEM" && pushed->attr("type") == "2")
                    snapshot = pushed->attr("uid");
                if (pushed->name == "LOG" && Contains(pushed->attr("text"), "SNMP Discovering"))
                    break;
            }
            ASSERT_FALSE(snapshot.empty()) << "no snapshot was announced";
            ASSERT_EQ(::kill(server.pid(), signal), 0);
            EXPECT_TRUE(server.WaitExit().has_value());
            EXPECT_TRUE(scanning.Closed(60));
        }
        auto started = StartListening(folder);
        ASSERT_NE(started, nullptr);
        ConsoleClient client(folder.port());
        ASSERT_FALSE(client.Login("Scanning").empty());
        ASSERT_TRUE(client.Send("<GETTREE root=\"0\" synch=\"4\"/>"));
        std::optional<Reply> tree = client.NextNamed("TREE");
        ASSERT_TRUE(tree.has_value());
        std::map<std::string, const Reply*> items;
        for (const Reply& item : tree->children) {
            items[item.attr("uid")] = &item;
            if (item.attr("parent") == snapshot) {
                EXPECT_NE(item.attr("status"), "1") << item.xml;  // none left as being scanned
            }
        }
        ASSERT_TRUE(items.count(inventory) && items.count(snapshot)) << tree->xml;
        EXPECT_EQ(items[inventory]->attr("has_int_scan"), "0");
        EXPECT_EQ(items[snapshot]->attr("parent"), inventory);
        EXPECT_EQ(items[snapshot]->attr("status"), "4");
        EXPECT_EQ(items[snapshot]->attr("has_int_scan"), "0");
        EXPECT_EQ(started->Stop(), 0);
    }
}

}  // namespace
