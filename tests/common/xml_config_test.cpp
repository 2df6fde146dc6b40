#include "qr_config.h"

#include "log_capture.h"
#include "qr_exception.h"
#include "xmldom.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <sys/stat.h>

namespace {

class XmlConfigFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        set_errorlevel(qr_Debug);
        char pattern[] = "/tmp/trv-xmlconfig-XXXXXX";
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

    static std::string read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    size_t files_in_dir() const
    {
        size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_))
            ++count;
        return count;
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

const char* const kConsoleXml =
    "<?xml version=\"1.0\"?>\n"
    "<!-- the console's settings -->\n"
    "<CONSOLE Title=\"Main\" Empty=\"\">\n"
    "  <SERVER Host=\"alpha\" Port=\"5432\">\n"
    "    <POOL Size=\"4\"/>\n"
    "  </SERVER>\n"
    "  <VIEW Columns=\"7\"><SERVER Host=\"beta\"/></VIEW>\n"
    "  <B y=\"b1\"/><B y=\"b2\"/>\n"
    "</CONSOLE>\n";

std::string get_failure(const std::string& key, const std::string& section)
{
    return "Failed to get attribute '" + key + "' from section '" + section + "'";
}

}  // namespace

TEST(XmlDom, UsableHere)
{
    std::string reason;
    EXPECT_TRUE(XmlDomUsable(reason)) << reason;
}

TEST_F(XmlConfigFiles, GetByPathsWithinTheSection)
{
    std::string path = write("console.xml", kConsoleXml);
    XMLConfig file(path);
    std::string name;
    ASSERT_EQ(file.getName(name), 0);
    EXPECT_EQ(name, "CONSOLE");

    struct Case {
        const char* section;
        const char* key;
        const char* value;  // null: Get throws
    } cases[] = {
        {"CONSOLE", "Title", "Main"},  // the section's own element
        {"CONSOLE", "Empty", ""},
        {"SERVER", "Host", "alpha"},  // the first in document order
        {"SERVER", "Port", "5432"},
        {"POOL", "Size", "4"},
        {"B", "y", "b1"},
        {"SERVER", "Missing", nullptr},
        {"SERVER", "host", nullptr},  // names keep their case
        {"server", "Host", nullptr},
        {"NOPE", "Host", nullptr},
        // Not names: refused, where XPath would find b2, beta or alpha.
        {"B[2]", "y", nullptr},
        {"B[@y='b2']", "y", nullptr},
        {"B[@y=\"b2\"]", "y", nullptr},
        {"VIEW/SERVER", "Host", nullptr},
        {"*", "Host", nullptr},
        {"SERVER", "Host|//B/@y", nullptr},
        {"SERVER\"]", "Host", nullptr},
        {"", "Title", nullptr},
        {"SERVER", "", nullptr},
    };
    for (const Case& c : cases) {
        if (c.value != nullptr)
            EXPECT_EQ(file.Get(c.section, c.key), c.value) << c.section << "/" << c.key;
        else
            EXPECT_EQ(message_of([&] { file.Get(c.section, c.key); }), get_failure(c.key, c.section))
                << c.section << "/" << c.key;
    }

    std::string value = "unchanged";
    EXPECT_EQ(file.getValue("Title", value), 0);
    EXPECT_EQ(value, "Main");
    EXPECT_EQ(file.getValue("Host", value), -1);  // not the section's own attribute
    EXPECT_EQ(file.getValue("@Title", value), -1);
    EXPECT_EQ(value, "Main");
}

TEST_F(XmlConfigFiles, NestedSections)
{
    std::string path = write("console.xml", kConsoleXml);
    XMLConfig file(path);
    std::string name;
    std::string value;

    XMLConfig view(file, "VIEW");
    ASSERT_EQ(view.getName(name), 0);
    EXPECT_EQ(name, "VIEW");
    EXPECT_EQ(view.Get("SERVER", "Host"), "beta");  // the view's, not the file's first
    EXPECT_EQ(view.getValue("Columns", value), 0);
    EXPECT_EQ(value, "7");
    EXPECT_EQ(message_of([&] { view.Get("POOL", "Size"); }), get_failure("Size", "POOL"));

    XMLConfig server(file, "SERVER");
    XMLConfig pool(server, "POOL");
    ASSERT_EQ(pool.getName(name), 0);
    EXPECT_EQ(name, "POOL");
    EXPECT_EQ(pool.getValue("Size", value), 0);
    EXPECT_EQ(value, "4");
    XMLConfig itself(pool, "POOL");  // the section's own element counts
    EXPECT_EQ(itself.getName(name), 0);

    for (const char* missing : {"MISSING", "pool", "B[2]", "VIEW/SERVER"}) {
        XMLConfig none(file, missing);
        name = "unchanged";
        EXPECT_EQ(none.getName(name), -1) << missing;
        EXPECT_EQ(name, "unchanged");
        EXPECT_EQ(none.getValue("Size", value), -1);
        EXPECT_EQ(message_of([&] { none.Get("SERVER", "Host"); }), get_failure("Host", "SERVER"));
        EXPECT_EQ(XMLConfig(none, "SERVER").getName(name), -1);
    }

    // A section keeps its document alive after the object it came from.
    auto* owner = new XMLConfig(path);
    XMLConfig kept(*owner, "SERVER");
    delete owner;
    EXPECT_EQ(kept.Get("POOL", "Size"), "4");
}

TEST_F(XmlConfigFiles, PutWritesTheFileBackForAFreshReader)
{
    std::string path = write("console.xml", kConsoleXml);
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    {
        XMLConfig file(path);
        file.Put("SERVER", "Port", "6000");        // replaces
        file.Put("POOL", "Timeout", "30");          // adds an attribute
        file.Put("CONSOLE", "Title", "Second");     // the root's own
        file.Put("LOG", "Level", "a<b & \"c\" 'd'");  // adds an element
        XMLConfig view(file, "VIEW");
        EXPECT_EQ(view.setValue("Columns", "9"), 0);
        view.Put("SERVER", "Host", "gamma");        // within the view's section
        EXPECT_EQ(file.Get("SERVER", "Port"), "6000");
    }
    XMLConfig fresh(path);
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"SERVER", "Port", "6000"},
        {"SERVER", "Host", "alpha"},
        {"POOL", "Timeout", "30"},
        {"POOL", "Size", "4"},
        {"CONSOLE", "Title", "Second"},
        {"LOG", "Level", "a<b & \"c\" 'd'"},
        {"VIEW", "Columns", "9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fresh.Get(c.section, c.key), c.value) << c.section << "/" << c.key;
    EXPECT_EQ(XMLConfig(fresh, "VIEW").Get("SERVER", "Host"), "gamma");

    std::string text = read(path);
    EXPECT_NE(text.find("<!-- the console's settings -->"), std::string::npos) << text;
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(files_in_dir(), 1u);  // no temporary file left behind
}

TEST_F(XmlConfigFiles, RefusedPutsChangeNothing)
{
    std::string path = write("console.xml", kConsoleXml);
    XMLConfig file(path);
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        const char* cause;
    } cases[] = {
        {"B[2]", "y", "x", "'B[2]' is not an element name"},
        {"", "Title", "x", "'' is not an element name"},
        {"NEW", "a b", "x", "'a b' is not an attribute name"},
        {"NEW", "k", "bell\x07", "the value is not text an XML file can hold"},
        {"NEW", "k", "\xff\xfe", "the value is not text an XML file can hold"},
    };
    for (const Case& c : cases) {
        std::string message = message_of([&] { file.Put(c.section, c.key, c.value); });
        EXPECT_EQ(message.rfind(std::string("Failed to put attribute '") + c.key + "' into section '" +
                                    c.section + "': " + c.cause,
                                0),
                  0u)
            << message;
    }
    LogCapture log;
    EXPECT_EQ(file.setValue("k", std::string("nul\0", 4)), -1);
    EXPECT_NE(log.text().find("Failed to set attribute 'k'"), std::string::npos);
    EXPECT_EQ(message_of([&] { file.Get("NEW", "k"); }), get_failure("k", "NEW"));
    EXPECT_EQ(read(path), kConsoleXml);

    // A file that can't be replaced says why and leaves no temporary file.
    std::string gone = write("gone.xml", kConsoleXml);
    XMLConfig loaded(gone);
    ASSERT_TRUE(std::filesystem::remove(gone));
    ASSERT_TRUE(std::filesystem::create_directory(gone));  // rename can't replace a folder
    std::string message = message_of([&] { loaded.Put("SERVER", "Port", "1"); });
    EXPECT_NE(message.find("cannot write " + gone + ": Is a directory"), std::string::npos) << message;
    EXPECT_TRUE(std::filesystem::is_directory(gone));
    EXPECT_EQ(files_in_dir(), 2u);  // console.xml and the folder
}

TEST_F(XmlConfigFiles, FilesThatDoNotLoad)
{
    struct Case {
        const char* what;
        std::string path;
        const char* reason;  // part of the logged reason
    } cases[] = {
        {"mismatched end tag", write("tags.xml", "<SERVER><DB></SERVER>"), "Opening and ending tag mismatch"},
        {"unclosed", write("unclosed.xml", "<SERVER Port=\"1\">"), "unclosed.xml: Premature end of data in tag SERVER line 1 (line 1)"},
        {"empty", write("empty.xml", ""), "Document is empty"},
        {"attribute twice", write("twice.xml", "<SERVER a=\"1\" a=\"2\"/>"), "redefined"},
        {"missing", dir_ + "/missing.xml", "No such file or directory"},
    };
    for (const Case& c : cases) {
        std::string before = read(c.path);
        LogCapture log;
        XMLConfig config(c.path);
        std::string line = log.text();
        EXPECT_NE(line.find("Load document failed: "), std::string::npos) << c.what << ": " << line;
        EXPECT_NE(line.find(c.reason), std::string::npos) << c.what << ": " << line;

        std::string name;
        EXPECT_EQ(config.getName(name), -1) << c.what;
        EXPECT_EQ(message_of([&] { config.Get("SERVER", "Port"); }), get_failure("Port", "SERVER"));
        EXPECT_NE(message_of([&] { config.Put("SERVER", "Port", "2"); }).find("nothing is loaded"),
                  std::string::npos);
        EXPECT_EQ(read(c.path), before) << c.what;  // never overwritten
        EXPECT_EQ(std::filesystem::exists(c.path), std::string(c.what) != "missing");
    }

    // Reading another file gives the object a document of its own.
    std::string good = write("good.xml", "<SERVER Port=\"1\"/>");
    XMLConfig config(dir_ + "/missing.xml");
    config.ReadFromFile(good);
    EXPECT_EQ(config.Get("SERVER", "Port"), "1");
}
