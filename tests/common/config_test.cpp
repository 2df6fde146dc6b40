#include "qr_config.h"

#include "log_capture.h"
#include "qr_exception.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace {

class ConfigFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/trv-config-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string write(const std::string& name, const std::string& content)
    {
        std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    std::string dir_;
};

std::string message_of(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (const qr_exception_t& e) {
        return e.what();
    }
    return "(no exception)";
}

const char* const kServerXml =
    "<?xml version=\"1.0\" ?>\n"
    "<!-- settings of the server -->\n"
    "<SERVER Port=\"5000\" Dsn=\"inv\">\n"
    "  <DB name=\"admin\" Port=\"6000\"><POOL size=\"4\"/></DB>\n"
    "  <server port=\"lower\"/>\n"
    "</SERVER>\n"
    "<OTHER x=\"1\"><DB name=\"other\"/></OTHER>\n";

}  // namespace

TEST_F(ConfigFiles, IniLinesAndLookups)
{
    std::string path = write("a.ini",
                             "top=level\n"
                             "# comment\n"
                             "   ; another = comment\n"
                             "\n"
                             "[ Net ] ignored text\n"
                             "port = 5432\n"
                             "key==value\n"
                             "Other value with  blanks  \r\n"
                             "alone\n"
                             "\tpadded\t=\t v \n"
                             "port = 1\n"
                             "[]\n"
                             "empty section = yes\n"
                             "[Next]\n"
                             "port=7");
    Config config;
    config.ReadFromFile(path);
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"", "TOP", "level"},
        {"net", "PORT", "5432"},  // the first of two values stays
        {"NET", "port", "5432"},
        {"Net", "key", "value"},
        {"net", "other", "value with  blanks"},
        {"net", "alone", ""},
        {"net", "padded", "v"},
        {"", "empty", "section = yes"},
        {"next", "port", "7"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(config.Get(c.section, c.key), c.value) << c.section << "/" << c.key;

    EXPECT_EQ(message_of([&] { config.Get("nowhere", "port"); }),
              "Cannot find section [nowhere] in the config");
    EXPECT_EQ(message_of([&] { config.Get("Net", "Missing"); }),
              "Cannot find parameter [Missing] in the section [Net] in the config");
    EXPECT_EQ(message_of([&] { config.Get("net", "comment"); }),
              "Cannot find parameter [comment] in the section [net] in the config");
}

TEST_F(ConfigFiles, PutKeepsTheFirstValueAndUpperCasesNames)
{
    Config config;
    config.Put("sect", "Key", "First");
    config.Put("SECT", "KEY", "second");
    EXPECT_EQ(config.Get("Sect", "kEy"), "First");
}

TEST_F(ConfigFiles, IniFailures)
{
    std::string missing = dir_ + "/missing.ini";
    Config config;
    EXPECT_EQ(message_of([&] { config.ReadFromFile(missing); }),
              "Cannot open config file '" + missing + "' (errno=2)");

    std::string bad = write("bad.ini", "[ok]\na=1\n\n# x\n[abc\nb=2\n");
    EXPECT_EQ(message_of([&] { config.ReadFromFile(bad); }),
              "Configuration file has wrong format (can't find ']') file '" + bad + "', line 5");
}

TEST_F(ConfigFiles, LongLinesAreReadInPiecesOfOneLineNumber)
{
    // The rest of a line longer than 2047 characters is read as a line of its
    // own, without counting a new line number.
    std::string first(2047, 'k');
    std::string path = write("long.ini", "[s]\n" + first + "tail=1\n[broken\n");
    Config config;
    EXPECT_EQ(message_of([&] { config.ReadFromFile(path); }),
              "Configuration file has wrong format (can't find ']') file '" + path + "', line 3");
    EXPECT_EQ(config.Get("s", first), "");
    EXPECT_EQ(config.Get("s", "tail"), "1");
}

TEST_F(ConfigFiles, TinySectionsOfAServerFile)
{
    std::string path = write("server.xml", kServerXml);
    TinyConfig file(path);
    std::string name = "unchanged";
    EXPECT_EQ(file.getName(name), 0);
    EXPECT_EQ(name, "");  // the first node is the declaration

    TinyConfig server(file, "SERVER");
    ASSERT_EQ(server.getName(name), 0);
    EXPECT_EQ(name, "SERVER");
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"SERVER", "Port", "5000"},
        {"SERVER", "port", ""},  // attributes keep their case
        {"SERVER", "Missing", ""},
        {"DB", "name", "admin"},  // depth first: the DB inside SERVER comes first
        {"POOL", "size", "4"},
        {"server", "port", "lower"},
        {"OTHER", "x", "1"},  // the following siblings are searched too
        {"Server", "port", ""},
        {"NOPE", "x", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(server.Get(c.section, c.key), c.value) << c.section << "/" << c.key;

    TinyConfig other(file, "OTHER");
    EXPECT_EQ(other.Get("DB", "name"), "other");
    EXPECT_EQ(other.Get("SERVER", "Port"), "");

    TinyConfig none(file, "server");  // case counts, and only top-level nodes
    name = "unchanged";
    EXPECT_EQ(none.getName(name), -1);
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(none.Get("SERVER", "Port"), "");
    TinyConfig nested(file, "DB");
    EXPECT_EQ(nested.getName(name), -1);
    TinyConfig from_empty(none, "SERVER");
    EXPECT_EQ(from_empty.getName(name), -1);

    TinyConfig copy(server);
    EXPECT_EQ(copy.getName(name), 0);
    EXPECT_EQ(name, "SERVER");
    EXPECT_EQ(copy.Get("DB", "Port"), "6000");

    copy.Put("SERVER", "Port", "1");
    EXPECT_EQ(copy.Get("SERVER", "Port"), "5000");
    std::string value = "v";
    EXPECT_EQ(copy.getValue("//SERVER/@Port", value), -1);
    EXPECT_EQ(value, "v");
    EXPECT_EQ(copy.setValue("//SERVER/@Port", "2"), -1);
}

TEST_F(ConfigFiles, TinyConfigWithoutDeclarationAndReload)
{
    std::string first = write("first.xml", "<SERVER Port=\"1\"/>");
    std::string second = write("second.xml", "<CONSOLE Port=\"2\"/>");
    TinyConfig config(first);
    std::string name;
    ASSERT_EQ(config.getName(name), 0);
    EXPECT_EQ(name, "SERVER");
    EXPECT_EQ(config.Get("SERVER", "Port"), "1");
    config.ReadFromFile(second);
    ASSERT_EQ(config.getName(name), 0);
    EXPECT_EQ(name, "CONSOLE");
    EXPECT_EQ(config.Get("CONSOLE", "Port"), "2");
    EXPECT_EQ(config.Get("SERVER", "Port"), "");
}

TEST_F(ConfigFiles, UnreadableXmlEndsTheProcess)
{
    struct Case {
        const char* what;
        std::string path;
    } cases[] = {
        {"missing", dir_ + "/missing.xml"},
        {"unclosed", write("unclosed.xml", "<SERVER Port=\"1\">")},
        {"empty", write("empty.xml", "")},
        {"mismatched end tag", write("tags.xml", "<SERVER><DB></SERVER>")},
        {"attribute twice", write("twice.xml", "<SERVER a=\"1\" a=\"2\"/>")},
    };
    for (const Case& c : cases) {
        EXPECT_EXIT(
            {
                set_errorlevel(qr_Error);
                set_log_file_fd(stderr);
                TinyConfig config(c.path);
                std::exit(0);
            },
            ::testing::ExitedWithCode(1), R"(\] Error     Load document failed )")
            << c.what;
    }
}

TEST_F(ConfigFiles, ReloadFailureEndsTheProcess)
{
    std::string good = write("good.xml", "<SERVER/>");
    std::string bad = write("bad.xml", "<SERVER>");
    EXPECT_EXIT(
        {
            set_log_file_fd(stderr);
            TinyConfig config(good);
            config.ReadFromFile(bad);
            std::exit(0);
        },
        ::testing::ExitedWithCode(1), "Load document failed");
}
