// The link's settings and files: the settings document accessors, the paths
// beside the program, the connection log with its cut and watch thread, and
// the server settings record.
#include "connection_link.h"
#include "connection_log.h"
#include "link_fakes.h"
#include "module_paths.h"
#include "server_settings.h"
#include "temp_dir.h"
#include "xml_settings.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

std::string ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& name, const std::string& text)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text;
}

}  // namespace

TEST(XmlSettings, KeysAreCleanedAndSectionsMadeWhenSaving)
{
    EXPECT_EQ(MakeXmlKey("Page Setup/Margin"), "Page_Setup_Margin");
    EXPECT_EQ(MakeXmlKey("a\tb\nc"), "a_b_c");
    TiXmlElement root("Settings");
    EXPECT_EQ(XmlSettingsNode(false, &root, "Page Setup"), nullptr);
    EXPECT_EQ(XmlSettingsNode(false, nullptr, "x"), nullptr);
    TiXmlElement* section = XmlSettingsNode(true, &root, "Page Setup");
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->ValueStr(), "Page_Setup");
    EXPECT_EQ(XmlSettingsNode(true, &root, "Page Setup"), section);
    EXPECT_EQ(XmlSettingsNode(false, &root, "Page Setup"), section);
    // A first child of that name that is no element counts as missing.
    TiXmlElement odd("Settings");
    odd.InsertEndChild(TiXmlComment("Grid"));
    odd.InsertEndChild(TiXmlElement("Grid"));
    EXPECT_EQ(XmlSettingsNode(false, &odd, "Grid"), nullptr);
}

TEST(XmlSettings, LoadingKeepsTheValueUnlessTheTextIsWhole)
{
    TiXmlElement e("S");
    std::uint32_t big = 3000000000u;
    EXPECT_TRUE(XmlSettingULong(true, &e, "size", big));
    EXPECT_STREQ(e.Attribute("size"), "-1294967296");  // written signed, as the console always has
    std::uint32_t read = 0;
    EXPECT_TRUE(XmlSettingULong(false, &e, "size", read));
    EXPECT_EQ(read, 3000000000u);
    const struct {
        const char* text;
        bool ok;
        std::uint32_t value;
    } cases[] = {{"42", true, 42},       {"42abc", false, 7}, {"", false, 7},   {" 42", false, 7},
                 {"4294967295", true, 4294967295u}, {"4294967296", false, 7}, {"-1", true, 4294967295u},
                 {"0x10", false, 7},    {"1e3", false, 7}};
    for (const auto& c : cases) {
        e.SetAttribute("v", c.text);
        std::uint32_t value = 7;
        EXPECT_EQ(XmlSettingULong(false, &e, "v", value), c.ok) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
    int level = 5;
    e.SetAttribute("level", "9x");
    EXPECT_FALSE(XmlSettingInt(false, &e, "level", level));
    EXPECT_EQ(level, 5);
    std::string text = "kept";
    EXPECT_FALSE(XmlSettingString(false, &e, "missing", text));
    EXPECT_FALSE(XmlSettingString(false, nullptr, "v", text));
    EXPECT_EQ(text, "kept");
}

TEST(XmlSettings, BinaryBlocksAreExactlyTwoLowercaseDigitsPerByte)
{
    TiXmlElement e("S");
    unsigned char data[3] = {0x0a, 0xff, 0x10};
    EXPECT_TRUE(XmlSettingBinary(true, &e, "Window Placement", data, 3));
    EXPECT_STREQ(e.Attribute("Window_Placement"), "0aff10");
    for (const char* bad : {"0aff1", "0aff1000", "0aff1g", ""}) {
        e.SetAttribute("b", bad);
        unsigned char out[3] = {1, 2, 3};
        EXPECT_FALSE(XmlSettingBinary(false, &e, "b", out, 3)) << bad;
        EXPECT_EQ(out[0], 1);
        EXPECT_EQ(out[2], 3);
    }
    e.SetAttribute("b", "0AfF10");
    unsigned char out[3] = {};
    EXPECT_TRUE(XmlSettingBinary(false, &e, "b", out, 3));
    EXPECT_EQ(out[1], 0xff);
}

TEST(ModulePaths, PathsAreMadeBesideTheModule)
{
    const std::string module = "C:\\Program Files\\Tarvane\\Dravik.exe";
    EXPECT_EQ(ModulePathDir(module), "C:\\Program Files\\Tarvane\\");
    EXPECT_EQ(ModulePathDir("C:Dravik.exe"), "C:");
    const struct {
        const char* path;
        const char* made;
    } cases[] = {{"help.chm", "C:\\Program Files\\Tarvane\\help.chm"},
                 {"SnmpOutput\\1.2.3.4_x.txt", "C:\\Program Files\\Tarvane\\SnmpOutput\\1.2.3.4_x.txt"},
                 {"\\Logs\\console.log", "C:\\Program Files\\Tarvane\\Logs\\console.log"},
                 {"D:\\other\\file.txt", "D:\\other\\file.txt"},
                 {"\\\\server\\share\\f.txt", "\\\\server\\share\\f.txt"}};
    for (const auto& c : cases)
        EXPECT_EQ(MakePathBesideModule(c.path, module), c.made) << c.path;
    EXPECT_EQ(ModuleFilePath("xml", module), "C:\\Program Files\\Tarvane\\Dravik.xml");
    EXPECT_EQ(ModuleFilePath(".chm", "C:/a.b/prog"), "C:/a.b/prog.chm");
}

TEST(ConnectionLog, CutLogFileDropsTheFrontBytes)
{
    TempDir dir;
    const std::string name = dir.file("console.log");
    const struct {
        float percent;
        const char* left;
    } cases[] = {{50, "defg"}, {0, "abcdefg"}, {100, ""}, {-5, "abcdefg"}, {150, ""}, {30, "cdefg"}};
    for (const auto& c : cases) {
        WriteFile(name, "abcdefg");  // odd: 50 % drops the smaller half
        EXPECT_TRUE(CutLogFile(name, c.percent)) << c.percent;
        EXPECT_EQ(ReadFile(name), c.left) << c.percent;
        EXPECT_FALSE(std::filesystem::exists(name + ".cut"));
    }
    EXPECT_FALSE(CutLogFile(dir.file("missing.log"), 50));
}

TEST(ConnectionLog, ACutThatCannotWriteItsNewFileLeavesTheOldOne)
{
    TempDir dir;
    const std::string name = dir.file("console.log");
    WriteFile(name, "line one\nline two\n");
    std::filesystem::create_directory(name + ".cut");  // the new file cannot be made
    EXPECT_FALSE(CutLogFile(name, 50));
    EXPECT_EQ(ReadFile(name), "line one\nline two\n");
}

TEST(ConnectionLog, StartsStopsAndSavesItsSettings)
{
    TempDir dir;
    TiXmlElement root("Settings");
    CConnectionLog log(5);
    log.SerializeSettings(false, &root);  // no section: defaults stay
    EXPECT_EQ(log.Settings().max_size, 10000000u);
    EXPECT_EQ(log.Settings().cut_percent, 50);
    EXPECT_EQ(log.Settings().level, 7);
    EXPECT_EQ(log.Start(), 1);  // no file name: the log stays off
    EXPECT_FALSE(log.Running());
    EXPECT_EQ(log.Stop(), 1);

    log.Settings().file_name = dir.file("console.log");
    log.Settings().max_size = 3000000000u;
    log.Settings().level = 0;
    log.SerializeSettings(true, &root);
    CConnectionLog loaded(5);
    loaded.SerializeSettings(false, &root);
    EXPECT_EQ(loaded.Settings().file_name, dir.file("console.log"));
    EXPECT_EQ(loaded.Settings().max_size, 3000000000u);
    EXPECT_EQ(loaded.Settings().level, 7);  // 0 loads as 7

    EXPECT_EQ(loaded.Start(), 0);
    EXPECT_TRUE(loaded.Running());
    EXPECT_EQ(loaded.Stop(), 0);
    EXPECT_EQ(loaded.Stop(), 1);  // a second stop finds it stopped, and returns
    EXPECT_NE(ReadFile(dir.file("console.log")).find("Log was started."), std::string::npos);
    EXPECT_NE(ReadFile(dir.file("console.log")).find("Log was stopped"), std::string::npos);
    EXPECT_EQ(loaded.Start(), 0);  // and it starts again
    EXPECT_EQ(loaded.Stop(), 0);
}

TEST(ConnectionLog, TheWatchThreadCutsAFileAboveItsMaximum)
{
    TempDir dir;
    const std::string name = dir.file("console.log");
    WriteFile(name, std::string(4000, 'x'));
    CConnectionLog log(1);
    log.Settings().file_name = name;
    log.Settings().max_size = 1000;
    log.Settings().cut_percent = 75;
    ASSERT_EQ(log.Start(), 0);
    EXPECT_TRUE(log.WaitForChecks(1, 60));
    EXPECT_EQ(log.Stop(), 0);
    const std::string left = ReadFile(name);
    EXPECT_NE(left.find("Log was truncated"), std::string::npos);
    EXPECT_LT(left.size(), 2000u);
    EXPECT_EQ(left.find(std::string(2000, 'x')), std::string::npos);
}

TEST(ConnectionLog, AMaximumAboveTwoGigabytesIsNoReasonToCut)
{
    TempDir dir;
    const std::string name = dir.file("console.log");
    WriteFile(name, std::string(100, 'x'));
    CConnectionLog log(1);
    log.Settings().file_name = name;
    log.Settings().max_size = 3000000000u;  // negative when read as a signed 32-bit number
    ASSERT_EQ(log.Start(), 0);
    EXPECT_TRUE(log.WaitForChecks(3, 60));
    EXPECT_EQ(log.Stop(), 0);
    const std::string left = ReadFile(name);
    EXPECT_EQ(left.find("Log was truncated"), std::string::npos);
    EXPECT_EQ(left.substr(0, 100), std::string(100, 'x'));
}

TEST(ConnectionLink, TheLinkShowsALogFileThatCannotBeCreated)
{
    {
        LinkWorld w;
        CConnectionLink link(w.services);  // no file name configured: nothing to tell
        EXPECT_TRUE(w.ui.boxes.empty());
    }
    LinkWorld w;
    TempDir dir;
    TiXmlElement* section = XmlSettingsNode(true, w.settings.XmlSettingsRoot(), "ConnectionLink");
    const std::string bad = dir.file("no-such-folder") + "/console.log";
    section->SetAttribute("LOGFILE", bad.c_str());
    {
        CConnectionLink link(w.services);
        EXPECT_EQ(w.ui.boxes, std::vector<std::string>{"Could not create log file " + bad + "|16"});
    }
    // Destroying the link saved the section back.
    EXPECT_STREQ(XmlSettingsNode(false, w.settings.XmlSettingsRoot(), "ConnectionLink")->Attribute("LOGFILE"),
                 bad.c_str());
}

namespace {

const char* const server_info =
    "<SERVERINFO version=\"1.81.703.13194\" synch=\"4\">"
    "<LOGINFO file=\"Logs/server.log\" loglevel=\"7\" logsize=\"10\" logkeep=\"50\"/>"
    "<SCANINFO pingthreads=\"8\" scanthreads=\"16\" pingretries=\"2\" scanretries=\"3\" pingtimeout=\"1\" "
    "scantimeout=\"5\"/>"
    "<CONNECTIONS server=\"srv\" interface=\"127.0.0.1\" port=\"7001\" maxrequests=\"1024\"/>"
    "<ADMINDB server=\"h\" database=\"TarvaneSrvAdmin\" login=\"\" password=\"pw\" maxcon=\"10\">"
    "<DBTYPE typename=\"Access Database\" selected=\"0\"/><DBTYPE typename=\"MySQL Database\" selected=\"1\"/>"
    "</ADMINDB>"
    "<USERDB server=\"u\" database=\"d\" login=\"l\" password=\"p\" maxcon=\"5\">"
    "<DBTYPE typename=\"Access Database\" selected=\"0\"/><DBTYPE typename=\"MySQL Database\" selected=\"0\"/>"
    "</USERDB><OTHER/></SERVERINFO>";

}  // namespace

TEST(ServerSettings, ARecordReadFromTheServerIsSentBackAsItCame)
{
    LinkWorld w;
    w.library.respond = [](const std::string&, std::string& out) {
        out = server_info;
        return true;
    };
    CConnectionLink link(w.services);
    std::unique_ptr<CServerAdmin> admin = CServerAdmin::Create(link);
    const TServerSettings s = admin->ParseServerInfo(0);
    EXPECT_EQ(w.library.sync_requests, std::vector<std::string>{"<GETSERVERINFO/>"});
    EXPECT_EQ(s.version, "1.81.703.13194");
    EXPECT_EQ(s.admin_db_types, (std::vector<std::string>{"Access Database", "MySQL Database"}));
    EXPECT_EQ(s.admin_db_type, 1);
    EXPECT_EQ(s.user_db_type, 0);
    EXPECT_EQ(s.scan_threads, 16);
    EXPECT_EQ(s.port, 7001);
    EXPECT_EQ(s.admin_password, "pw");
    admin->BuildServerInfo(s, 0);
    ASSERT_EQ(w.library.async_requests.size(), 1u);
    EXPECT_EQ(w.library.async_requests[0],
              "<SETSERVERINFO version=\"1.81.703.13194\">"
              "<LOGINFO file=\"Logs/server.log\" loglevel=\"7\" logsize=\"10\" logkeep=\"50\" />"
              "<SCANINFO pingthreads=\"8\" scanthreads=\"16\" pingretries=\"2\" scanretries=\"3\" pingtimeout=\"1\" "
              "scantimeout=\"5\" />"
              "<CONNECTIONS server=\"srv\" interface=\"127.0.0.1\" port=\"7001\" maxrequests=\"1024\" />"
              "<ADMINDB server=\"h\" database=\"TarvaneSrvAdmin\" login=\"\" password=\"pw\" maxcon=\"10\">"
              "<DBTYPE typename=\"Access Database\" selected=\"0\" /><DBTYPE typename=\"MySQL Database\" "
              "selected=\"1\" /></ADMINDB>"
              "<USERDB server=\"u\" database=\"d\" login=\"l\" password=\"p\" maxcon=\"5\">"
              "<DBTYPE typename=\"Access Database\" selected=\"1\" /><DBTYPE typename=\"MySQL Database\" "
              "selected=\"0\" /></USERDB></SETSERVERINFO>");
}

TEST(ServerSettings, AServerThatDoesNotAnswerGivesAnEmptyRecord)
{
    LinkWorld w;  // no reply
    CConnectionLink link(w.services);
    CServerAdmin admin(link);
    const TServerSettings s = admin.ParseServerInfo(0);
    EXPECT_TRUE(s.admin_db_types.empty());
    EXPECT_EQ(s.admin_db_type, 0);
    EXPECT_EQ(s.version, "");
    EXPECT_EQ(s.scan_threads, 0);
    // Missing numbers keep what the record had; missing texts are empty.
    TServerSettings kept;
    kept.scan_threads = 9;
    kept.log_file = "x";
    TiXmlElement info("SERVERINFO");
    info.InsertEndChild(TiXmlElement("SCANINFO"));
    info.InsertEndChild(TiXmlElement("LOGINFO"));
    CServerAdmin::FillFromServerInfo(info, kept);
    EXPECT_EQ(kept.scan_threads, 9);
    EXPECT_EQ(kept.log_file, "");
}
