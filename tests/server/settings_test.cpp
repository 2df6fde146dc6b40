// The server settings record over TCP: what GETSERVERINFO shows, what
// SETSERVERINFO stores, applies at once, refuses, and says in its one line.
#include "server_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

class Settings : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::make_unique<ServerFolder>();
        server_ = StartListening(*folder_, QuickLogTrim());
        ASSERT_NE(server_, nullptr);
        client_ = std::make_unique<ConsoleClient>(folder_->port());
        ASSERT_FALSE(client_->Login("Console").empty());
        ASSERT_TRUE(client_->NextNamed("LOG").has_value());
    }
    void TearDown() override
    {
        client_.reset();
        if (server_) {
            EXPECT_EQ(server_->Stop(), 0);
        }
    }

    Reply Info()
    {
        EXPECT_TRUE(client_->Send("<GETSERVERINFO synch=\"3\"/>"));
        std::optional<Reply> info = client_->Next();
        EXPECT_TRUE(info.has_value());
        EXPECT_EQ(info ? info->name : "", "SERVERINFO");
        return info.value_or(Reply{});
    }
    static const Reply& Child(const Reply& info, const std::string& name)
    {
        for (const Reply& c : info.children)
            if (c.name == name)
                return c;
        static const Reply none;
        ADD_FAILURE() << "no " << name << " in " << info.xml;
        return none;
    }

    // Sends the record and returns the alert line, or none when the server
    // answered nothing before the next PONG.
    std::optional<std::string> Set(const std::string& children)
    {
        EXPECT_TRUE(client_->Send("<SETSERVERINFO>" + children + "</SETSERVERINFO><PING synch=\"77\"/>"));
        std::optional<Reply> first = client_->Next();
        EXPECT_TRUE(first.has_value());
        if (!first || first->name == "PONG")
            return std::nullopt;
        EXPECT_EQ(first->name, "LOG") << first->xml;
        EXPECT_EQ(first->attr("alert"), "1");
        std::optional<Reply> pong = client_->Next();
        EXPECT_TRUE(pong.has_value() && pong->name == "PONG");
        return first->attr("text");
    }

    std::unique_ptr<ServerFolder> folder_;
    std::unique_ptr<ServerProcess> server_;
    std::unique_ptr<ConsoleClient> client_;
};

TEST_F(Settings, RecordShowsTheStoredSettingsOnlyAfterLogin)
{
    ConsoleClient stranger(folder_->port());
    ASSERT_TRUE(stranger.Send("<GETSERVERINFO synch=\"1\"/>"));
    std::optional<Reply> refused = stranger.Next();
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(refused->name, "ERROR");
    EXPECT_EQ(refused->xml.find("trvadmin"), std::string::npos);

    const Reply info = Info();
    EXPECT_EQ(info.attr("version"), "1.81.703.13194");
    EXPECT_EQ(info.attr("synch"), "3");
    std::vector<std::string> names;
    for (const Reply& c : info.children)
        names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"LOGINFO", "SCANINFO", "CONNECTIONS", "ADMINDB", "USERDB"}));
    EXPECT_EQ(Child(info, "LOGINFO").attr("loglevel"), "9");
    EXPECT_EQ(Child(info, "LOGINFO").attr("file"), folder_->file("Logs/server.log"));
    EXPECT_EQ(Child(info, "SCANINFO").attr("scanthreads"), "10");
    EXPECT_EQ(Child(info, "CONNECTIONS").attr("port"), std::to_string(folder_->port()));
    EXPECT_EQ(Child(info, "CONNECTIONS").attr("maxrequests"), "1024");
    const Reply& admin = Child(info, "ADMINDB");
    EXPECT_EQ(admin.attr("database"), "TarvaneSrvAdmin");
    EXPECT_EQ(admin.attr("password"), "trvadmin");  // stored encoded, shown in clear
    ASSERT_EQ(admin.children.size(), 2u);
    EXPECT_EQ(admin.children[0].xml, "<DBTYPE typename=\"Access Database\" selected=\"1\" />");
    EXPECT_EQ(admin.children[1].xml, "<DBTYPE typename=\"MySQL Database\" selected=\"0\" />");
}

TEST_F(Settings, ChangesNeedingRestartAreStoredAndNamed)
{
    const int new_port = FreePort();
    std::optional<std::string> line =
        Set("<SCANINFO pingthreads=\"12\" scanthreads=\"-1\" pingretries=\"2\" scanretries=\"3\" "
            "pingtimeout=\"4\" scantimeout=\"6\"/><CONNECTIONS server=\"Lab server\" interface=\"\" port=\"" +
            std::to_string(new_port) + "\" maxrequests=\"1024\"/>");
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(*line, "Number of scan threads was changed.\r\nServer listen port was changed.\r\n"
                     "To accept changes you need restart server.");

    line = Set("<CONNECTIONS maxrequests=\"20\"/>");
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(*line, "Number of active requests was changed.\r\nTo accept changes you need restart server.");

    const Reply info = Info();
    const Reply& scan = Child(info, "SCANINFO");
    EXPECT_EQ(scan.attr("pingthreads"), "12");
    EXPECT_EQ(scan.attr("scanthreads"), "10");
    EXPECT_EQ(scan.attr("pingretries"), "2");
    EXPECT_EQ(scan.attr("scanretries"), "3");
    EXPECT_EQ(scan.attr("pingtimeout"), "4");
    EXPECT_EQ(scan.attr("scantimeout"), "6");
    EXPECT_EQ(Child(info, "CONNECTIONS").attr("server"), "Lab server");
    EXPECT_EQ(Child(info, "CONNECTIONS").attr("interface"), "any");
    EXPECT_EQ(Child(info, "CONNECTIONS").attr("port"), std::to_string(new_port));
    EXPECT_EQ(Child(info, "CONNECTIONS").attr("maxrequests"), "20");

    // Nothing to say: the same values again, and a log size alone.
    EXPECT_FALSE(Set("<SCANINFO pingthreads=\"12\"/><CONNECTIONS port=\"" + std::to_string(new_port) + "\"/>"));
    EXPECT_FALSE(Set("<LOGINFO logsize=\"7\"/>"));
    EXPECT_EQ(Child(Info(), "LOGINFO").attr("logsize"), "7");

    // The next start listens on the new port.
    client_.reset();
    ASSERT_EQ(server_->Stop(), 0);
    server_ = std::make_unique<ServerProcess>(*folder_);
    EXPECT_TRUE(WaitUntil([&] {
        try {
            ConsoleClient c(new_port);
            return c.Send("<PING synch=\"1\"/>") && c.Next().has_value();
        } catch (const std::exception&) {
            return false;  // not listening yet
        }
    }));
}

TEST_F(Settings, OutOfRangeValuesAreRefusedAndKept)
{
    struct Case {
        std::string children;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"<SCANINFO pingthreads=\"1000000\"/>", "Value of pingthreads is out of range (1..256): 1000000; not changed."},
        {"<SCANINFO scanthreads=\"0\"/>", "Value of scanthreads is out of range (1..256): 0; not changed."},
        {"<SCANINFO scantimeout=\"2147483\"/>", "Value of scantimeout is out of range (1..60): 2147483; not changed."},
        {"<SCANINFO pingretries=\"-5\"/>", "Value of pingretries is out of range (0..10): -5; not changed."},
        {"<SCANINFO scanretries=\"x\"/>", "Value of scanretries is not a whole number: 'x'; not changed."},
        {"<CONNECTIONS port=\"65536\"/>", "Value of port is not a port number (1..65535): '65536'; not changed."},
        {"<CONNECTIONS port=\"80; rm\"/>", "Value of port is not a port number (1..65535): '80; rm'; not changed."},
        {"<CONNECTIONS maxrequests=\"10000\"/>", "Value of maxrequests is out of range (1..9999): 10000; not changed."},
        {"<ADMINDB maxcon=\"0\"/>", "Value of maxcon is out of range (1..1000): 0; not changed."},
    };
    for (const Case& c : cases) {
        std::optional<std::string> line = Set(c.children);
        ASSERT_TRUE(line.has_value()) << c.children;
        EXPECT_EQ(*line, c.line);
    }
    // Silently ignored, as before.
    EXPECT_FALSE(Set("<LOGINFO loglevel=\"12\" logsize=\"100\" logkeep=\"0\"/>"));
    EXPECT_FALSE(Set("<LOGINFO loglevel=\"0\"/>"));

    const Reply info = Info();
    const Reply& scan = Child(info, "SCANINFO");
    EXPECT_EQ(scan.attr("pingthreads"), "10");
    EXPECT_EQ(scan.attr("scanthreads"), "10");
    EXPECT_EQ(scan.attr("scantimeout"), "5");
    EXPECT_EQ(scan.attr("pingretries"), "1");
    EXPECT_EQ(scan.attr("scanretries"), "2");
    EXPECT_EQ(Child(info, "CONNECTIONS").attr("port"), std::to_string(folder_->port()));
    EXPECT_EQ(Child(info, "CONNECTIONS").attr("maxrequests"), "1024");
    EXPECT_EQ(Child(info, "ADMINDB").attr("maxcon"), "10");
    EXPECT_EQ(Child(info, "LOGINFO").attr("loglevel"), "9");
    EXPECT_EQ(Child(info, "LOGINFO").attr("logsize"), "1");
    EXPECT_EQ(Child(info, "LOGINFO").attr("logkeep"), "50");

    // A valid level is taken at once: level 1 leaves Debug lines out.
    EXPECT_FALSE(Set("<LOGINFO loglevel=\"1\"/>"));
    EXPECT_EQ(Child(Info(), "LOGINFO").attr("loglevel"), "1");
    const size_t before = folder_->LogText().size();
    ASSERT_TRUE(client_->Send("<GETTREE root=\"0\" synch=\"5\"/>"));
    ASSERT_TRUE(client_->NextNamed("TREE").has_value());
    EXPECT_EQ(folder_->LogText().substr(before).find("Get Tree request recieved."), std::string::npos);
}

// A number is read whole or not at all: "1e3" is not 1, "5abc" not 5, and
// a value past the integer range is not cut down to another one.
TEST_F(Settings, NumbersThatAreNotWholeOrInRangeAreRefusedAndNamed)
{
    const Reply before = Info();
    struct Case {
        std::string children;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"<SCANINFO scanthreads=\"1e3\"/>", "Value of scanthreads is not a whole number: '1e3'; not changed."},
        {"<SCANINFO pingtimeout=\"5abc\"/>", "Value of pingtimeout is not a whole number: '5abc'; not changed."},
        {"<SCANINFO scanretries=\" 3\"/>", "Value of scanretries is not a whole number: ' 3'; not changed."},
        {"<SCANINFO pingthreads=\"99999999999\"/>",
         "Value of pingthreads is out of range (1..256): 99999999999; not changed."},
        {"<SCANINFO scantimeout=\"-99999999999999999999\"/>",
         "Value of scantimeout is out of range (1..60): -99999999999999999999; not changed."},
        {"<CONNECTIONS maxrequests=\"4294967297\"/>",
         "Value of maxrequests is out of range (1..9999): 4294967297; not changed."},
        {"<ADMINDB maxcon=\"2.5\"/>", "Value of maxcon is not a whole number: '2.5'; not changed."},
        {"<LOGINFO loglevel=\"1e3\"/>", "Value of loglevel is not a whole number: '1e3'; not changed."},
    };
    for (const Case& c : cases) {
        std::optional<std::string> line = Set(c.children);
        ASSERT_TRUE(line.has_value()) << c.children;
        EXPECT_EQ(*line, c.line);
    }
    // Out of range, log values are still left alone without a word.
    EXPECT_FALSE(Set("<LOGINFO logsize=\"4294967297\"/>"));

    const Reply after = Info();
    for (const char* name : {"LOGINFO", "SCANINFO", "CONNECTIONS", "ADMINDB"})
        EXPECT_EQ(Child(after, name).xml, Child(before, name).xml) << name;
}

TEST_F(Settings, AdminDatabaseThatCannotOpenKeepsThePreviousOne)
{
    std::optional<std::string> line =
        Set("<ADMINDB server=\"dbhost\" database=\"NoSuchDsn\" login=\"\" password=\"trvadmin\" maxcon=\"10\"/>");
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(*line, "Can not connect to database: NoSuchDsn, using previous connection.");
    const Reply info = Info();
    EXPECT_EQ(Child(info, "ADMINDB").attr("database"), "TarvaneSrvAdmin");
    EXPECT_EQ(Child(info, "ADMINDB").attr("server"), "dbhost");

    // The old connection still serves the administration data.
    ASSERT_TRUE(client_->Send("<GET_REPORTTREE synch=\"6\"/>"));
    std::optional<Reply> reports = client_->Next();
    ASSERT_TRUE(reports.has_value());
    EXPECT_EQ(reports->xml.rfind("<REPORTTREE synch=\"6\">", 0), 0u) << reports->xml;
    EXPECT_NE(reports->xml.find("<REPORTITEM type=\"1\""), std::string::npos) << reports->xml;

    // The stored values again: nothing to reopen, nothing to say.
    EXPECT_FALSE(Set("<ADMINDB database=\"TarvaneSrvAdmin\" login=\"\" password=\"trvadmin\" maxcon=\"10\"/>"));

    // A working source under the same DSN with a new pool size is taken and stored.
    EXPECT_FALSE(Set("<ADMINDB database=\"TarvaneSrvAdmin\" login=\"\" password=\"trvadmin\" maxcon=\"4\"/>"));
    EXPECT_EQ(Child(Info(), "ADMINDB").attr("maxcon"), "4");
    ASSERT_TRUE(client_->Send("<GET_REPORTTREE synch=\"7\"/>"));
    reports = client_->Next();
    ASSERT_TRUE(reports.has_value());
    EXPECT_EQ(reports->xml.rfind("<REPORTTREE synch=\"7\">", 0), 0u) << reports->xml;
    EXPECT_NE(reports->xml.find("<REPORTITEM type=\"1\""), std::string::npos) << reports->xml;
}

TEST_F(Settings, LogFileMovesOnlyToANewLogFileInTheLogsFolder)
{
    const std::string outside = folder_->file("outside");
    fs::create_directories(outside);
    fs::create_directory_symlink(outside, folder_->file("Logs/elsewhere"));
    fs::create_directory_symlink(folder_->file("Logs"), folder_->file("logs-alias"));
    std::ofstream(folder_->file("Logs/kept.log")) << "kept\n";
    const std::vector<std::string> refused = {
        "../escape.log",                         // climbs out of Logs
        folder_->file("Logs/../escape.log"),     // the same, absolute
        "sub/new.log",                           // not a plain name
        "elsewhere/new.log",                     // a link out of Logs
        folder_->file("Logs/elsewhere/new.log"), // the same, absolute
        outside + "/server.log",                 // another existing folder
        outside + "/cron-job",                   // not a log file
        folder_->file("missing/new.log"),        // no such folder
        folder_->file("Logs/server.log.old"),    // not *.log
        folder_->file("Logs/.log"),              // no name
        folder_->file("Logs/kept.log"),          // exists already
        folder_->file("server.xml"),             // exists already, outside Logs
    };
    for (const std::string& name : refused) {
        EXPECT_EQ(Set("<LOGINFO file=\"" + name + "\"/>"),
                  "Value of file is not a new *.log file in the Logs folder: '" + name + "'; not changed.");
        EXPECT_NE(folder_->LogText().find("Can not create file " + name + ", using prevous "), std::string::npos)
            << name;
    }
    EXPECT_FALSE(fs::exists(folder_->file("escape.log")));
    EXPECT_FALSE(fs::exists(outside + "/new.log"));
    EXPECT_FALSE(fs::exists(outside + "/server.log"));
    EXPECT_FALSE(fs::exists(outside + "/cron-job"));
    EXPECT_EQ(ReadWholeFile(folder_->file("Logs/kept.log")), "kept\n");

    // Each accepted name takes the log at once.
    const std::vector<std::pair<std::string, std::string>> accepted = {
        {"moved.log", "Logs/moved.log"},                                   // a plain name, inside Logs
        {folder_->file("Logs/absolute.log"), "Logs/absolute.log"},         // an absolute one
        {folder_->file("logs-alias/aliased.log"), "Logs/aliased.log"},     // through a link to Logs
    };
    int synch = 8;
    for (const auto& [name, file] : accepted) {
        EXPECT_FALSE(Set("<LOGINFO file=\"" + name + "\"/>")) << name;
        ASSERT_TRUE(client_->Send("<GETTREE root=\"0\" synch=\"" + std::to_string(++synch) + "\"/>"));
        ASSERT_TRUE(client_->NextNamed("TREE").has_value());
        ASSERT_TRUE(fs::exists(folder_->file(file))) << name;
        std::ifstream moved(folder_->file(file));
        const std::string text((std::istreambuf_iterator<char>(moved)), std::istreambuf_iterator<char>());
        EXPECT_NE(text.find("Get Tree request recieved."), std::string::npos) << name << ": " << text;
    }
    // The last one is stored: the record shows it and the next start logs there.
    EXPECT_EQ(Child(Info(), "LOGINFO").attr("file"), fs::canonical(folder_->file("Logs/aliased.log")).string());
}

TEST_F(Settings, AMovedLogIsTrimmedToo)
{
    EXPECT_EQ(Child(Info(), "LOGINFO").attr("logsize"), "1");  // the default limit, in MB
    EXPECT_FALSE(Set("<LOGINFO file=\"moved.log\"/>"));
    const std::string moved = folder_->file("Logs/moved.log");
    {
        // Put in place whole: a trim must never find half of it.
        std::ofstream log(moved + ".new");
        log << "HEAD-MARK\n";
        for (int i = 0; i < 30000; ++i)
            log << "0123456789012345678901234567890123456789012345678\n";
        log << "TAIL-MARK\n";
    }
    fs::rename(moved + ".new", moved);
    ASSERT_TRUE(WaitUntil([&] { return fs::file_size(moved) < 1000000; }));
    auto read = [&] {
        std::ifstream in(moved);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(read().find("HEAD-MARK"), std::string::npos);
    EXPECT_NE(read().find("TAIL-MARK"), std::string::npos);
    // Logging goes on into the trimmed file.
    ASSERT_TRUE(client_->Send("<GETTREE root=\"0\" synch=\"9\"/>"));
    ASSERT_TRUE(client_->NextNamed("TREE").has_value());
    EXPECT_NE(read().find("Get Tree request recieved."), std::string::npos);
}

}  // namespace
