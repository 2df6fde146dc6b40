#include "registry.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override { RegSetStorageFolder(dir_.path()); }
    void TearDown() override { RegSetStorageFolder(""); }

    std::string hive_file() const { return dir_.file("HKEY_LOCAL_MACHINE.reg"); }

    HKEY create(const char* path)
    {
        HKEY key = nullptr;
        DWORD disposition = 0;
        EXPECT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, &disposition))
            << RegGetLastErrorText();
        return key;
    }

    static LONG set_text(HKEY key, const char* name, const std::string& text)
    {
        return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                              static_cast<DWORD>(text.size()));
    }

    static LONG get_text(HKEY key, const char* name, std::string& out, DWORD room = 1000)
    {
        std::vector<char> buf(room + 1, '\x7f');
        DWORD size = room;
        DWORD type = REG_NONE;
        LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()),
                                   &size);
        if (rc == ERROR_SUCCESS) {
            EXPECT_EQ(REG_SZ, type);
            out.assign(buf.data(), size);
        }
        return rc;
    }

    static LONG set_dword(HKEY key, const char* name, DWORD value)
    {
        return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                              sizeof value);
    }

    static LONG get_dword(HKEY key, const char* name, DWORD& out)
    {
        DWORD size = sizeof out;
        DWORD type = REG_NONE;
        LONG rc = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&out), &size);
        if (rc == ERROR_SUCCESS) {
            EXPECT_EQ(REG_DWORD, type);
            EXPECT_EQ(4u, size);
        }
        return rc;
    }

    TempDir dir_;
};

TEST_F(Registry, ValuesSurviveInTheFileInRegedit4Form)
{
    HKEY key = create("SOFTWARE\\Tarvane\\Settings");
    DWORD disposition = 0;
    HKEY again = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvane\\Settings", 0,
                                             nullptr, 0, KEY_ALL_ACCESS, nullptr, &again,
                                             &disposition));
    EXPECT_EQ(REG_OPENED_EXISTING_KEY, disposition);
    RegCloseKey(again);

    ASSERT_EQ(ERROR_SUCCESS, set_dword(key, "LogLevel", 42));
    ASSERT_EQ(ERROR_SUCCESS, set_dword(key, "Minus", 0xffffffffu));
    ASSERT_EQ(ERROR_SUCCESS, set_text(key, "Path", "C:\\dir\\\"quoted\""));
    ASSERT_EQ(ERROR_SUCCESS, set_text(key, "", "default"));
    ASSERT_EQ(ERROR_SUCCESS, RegCloseKey(key));

    EXPECT_EQ("REGEDIT4\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarvane]\n"
              "\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarvane\\Settings]\n"
              "\"LogLevel\"=dword:0000002a\n"
              "\"Minus\"=dword:ffffffff\n"
              "\"Path\"=\"C:\\\\dir\\\\\\\"quoted\\\"\"\n"
              "@=\"default\"\n"
              "\n",
              ReadWholeFile(hive_file()));

    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarvane\\Settings", 0, KEY_READ, &key));
    DWORD number = 0;
    ASSERT_EQ(ERROR_SUCCESS, get_dword(key, "LogLevel", number));
    EXPECT_EQ(42u, number);
    ASSERT_EQ(ERROR_SUCCESS, get_dword(key, "Minus", number));
    EXPECT_EQ(0xffffffffu, number);
    std::string text;
    ASSERT_EQ(ERROR_SUCCESS, get_text(key, "Path", text));
    EXPECT_EQ("C:\\dir\\\"quoted\"", text);
    ASSERT_EQ(ERROR_SUCCESS, get_text(key, nullptr, text));
    EXPECT_EQ("default", text);
    RegCloseKey(key);
}

TEST_F(Registry, TextsRoundTrip)
{
    const std::string long_text(299, 'x');
    struct Case {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"quotes and backslashes", "\\\\server\\share \"a\" \\\" \\"},
        {"trailing backslash", "ends with \\"},
        {"line breaks", "two\nlines\r\nand more"},
        {"semicolon and brackets", "; not a comment [x] = @"},
        {"high bytes", "caf\xc3\xa9 \x01\x7f"},
        {"299 characters", long_text},
    };
    HKEY key = create("SOFTWARE\\Texts");
    for (const Case& c : cases)
        ASSERT_EQ(ERROR_SUCCESS, set_text(key, c.what, c.text)) << c.what;
    RegCloseKey(key);

    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Texts", 0, KEY_READ, &key));
    for (const Case& c : cases) {
        std::string text = "untouched";
        EXPECT_EQ(ERROR_SUCCESS, get_text(key, c.what, text)) << c.what;
        EXPECT_EQ(c.text, text) << c.what;
    }
    RegCloseKey(key);
}

TEST_F(Registry, TextSizeIsItsLengthAndTooSmallBufferGivesMoreData)
{
    HKEY key = create("SOFTWARE\\Sizes");
    ASSERT_EQ(ERROR_SUCCESS, set_text(key, "t299", std::string(299, 'a')));
    ASSERT_EQ(ERROR_SUCCESS, set_text(key, "t300", std::string(300, 'b')));
    // A zero byte ends the stored text.
    const char with_zero[] = "abc\0def";
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, "zero", 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(with_zero), 8));

    char buf[300];
    std::memset(buf, 0, sizeof buf);
    DWORD size = 299;
    EXPECT_EQ(ERROR_SUCCESS,
              RegQueryValueExA(key, "t299", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size));
    EXPECT_EQ(299u, size);
    EXPECT_EQ(std::string(299, 'a'), std::string(buf));

    std::memset(buf, 0, sizeof buf);
    size = 299;
    EXPECT_EQ(ERROR_MORE_DATA,
              RegQueryValueExA(key, "t300", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size));
    EXPECT_EQ(300u, size);
    EXPECT_EQ(0, buf[0]) << "nothing is copied when the buffer is too small";

    size = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "t300", nullptr, nullptr, nullptr, &size));
    EXPECT_EQ(300u, size);

    std::string text;
    ASSERT_EQ(ERROR_SUCCESS, get_text(key, "zero", text));
    EXPECT_EQ("abc", text);
    RegCloseKey(key);
}

TEST_F(Registry, MissingKeysAndValues)
{
    HKEY key = nullptr;
    // No file at all yet.
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nowhere", 0, KEY_READ, &key));
    EXPECT_EQ(nullptr, key);
    EXPECT_NE(std::string::npos, RegGetLastErrorText().find("SOFTWARE\\Nowhere"));

    key = create("SOFTWARE\\Here");
    DWORD number = 7;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, get_dword(key, "absent", number));
    EXPECT_EQ(7u, number);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteValueA(key, "absent"));
    EXPECT_EQ(ERROR_SUCCESS, RegCloseKey(key));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(key));
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegCloseKey(nullptr));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Here\\Deeper", 0, KEY_READ, &key));
    // Another root keeps its own file.
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Here", 0, KEY_READ, &key));
}

TEST_F(Registry, NamesCompareWithoutCase)
{
    HKEY key = create("Software\\Tarvane\\Mixed Case");
    ASSERT_EQ(ERROR_SUCCESS, set_dword(key, "LogLevel", 1));
    ASSERT_EQ(ERROR_SUCCESS, set_dword(key, "LOGLEVEL", 2));
    RegCloseKey(key);

    DWORD disposition = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\TARVANE\\mixed case",
                                             0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                             &disposition));
    EXPECT_EQ(REG_OPENED_EXISTING_KEY, disposition);
    DWORD number = 0;
    ASSERT_EQ(ERROR_SUCCESS, get_dword(key, "loglevel", number));
    EXPECT_EQ(2u, number);
    RegCloseKey(key);

    std::string file = ReadWholeFile(hive_file());
    EXPECT_NE(std::string::npos, file.find("[HKEY_LOCAL_MACHINE\\Software\\Tarvane\\Mixed Case]"));
    EXPECT_EQ(std::string::npos, file.find("TARVANE"));
    EXPECT_EQ(std::string::npos, file.find("LOGLEVEL")) << "one value under its first name";
}

TEST_F(Registry, DeleteValuesAndKeys)
{
    HKEY parent = create("SOFTWARE\\Del");
    HKEY child = create("SOFTWARE\\Del\\Child");
    ASSERT_EQ(ERROR_SUCCESS, set_dword(child, "a", 1));
    ASSERT_EQ(ERROR_SUCCESS, set_dword(child, "b", 2));

    ASSERT_EQ(ERROR_SUCCESS, RegDeleteValueA(child, "A"));
    DWORD number = 0;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, get_dword(child, "a", number));
    EXPECT_EQ(ERROR_SUCCESS, get_dword(child, "b", number));

    EXPECT_EQ(ERROR_ACCESS_DENIED, RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Del"));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(parent, "child"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegDeleteKeyA(parent, "child"));

    // A handle outlives its key; using it says so.
    EXPECT_EQ(ERROR_KEY_DELETED, set_dword(child, "b", 3));
    EXPECT_EQ(ERROR_KEY_DELETED, get_dword(child, "b", number));
    RegCloseKey(child);

    HKEY key = nullptr;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Del\\Child", 0, KEY_READ, &key));
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Del"));
    RegCloseKey(parent);
    EXPECT_EQ(std::string::npos, ReadWholeFile(hive_file()).find("Del"));
}

TEST_F(Registry, FilesAreReadableByTheOwnerOnly)
{
    ::umask(022);
    HKEY key = create("SOFTWARE\\Secret");
    ASSERT_EQ(ERROR_SUCCESS, set_text(key, "AdminDBPassword", "hidden"));
    RegCloseKey(key);
    for (const std::string& name : {std::string("HKEY_LOCAL_MACHINE.reg"),
                                    std::string("HKEY_LOCAL_MACHINE.reg.lock")}) {
        struct stat st{};
        ASSERT_EQ(0, ::stat(dir_.file(name).c_str(), &st)) << name;
        EXPECT_EQ(0600u, st.st_mode & 0777u) << name;
    }
    // A file made by hand with wider rights is narrowed by the next write.
    ASSERT_EQ(0, ::chmod(hive_file().c_str(), 0644));
    key = create("SOFTWARE\\Secret");
    ASSERT_EQ(ERROR_SUCCESS, set_text(key, "AdminDBPassword", "changed"));
    RegCloseKey(key);
    struct stat st{};
    ASSERT_EQ(0, ::stat(hive_file().c_str(), &st));
    EXPECT_EQ(0600u, st.st_mode & 0777u);
}

TEST_F(Registry, HandWrittenFilesAreRead)
{
    WriteWholeFile(hive_file(),
                   "\r\nREGEDIT4\r\n"
                   "; written by hand\r\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Hand]   \r\n"
                   "@=\"root text\"\r\n"
                   "\"Bin\"=hex:01,02,\\\r\n"
                   "  03,ff\r\n"
                   "\"Short\"=dword:7\r\n"
                   "\"Multi\"=hex(7):61,00,62,00,00\r\n"
                   "\"Text\"=hex(1):6c,69,6e,65,0a,32,00\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Hand", 0, KEY_READ, &key))
        << RegGetLastErrorText();
    std::string text;
    ASSERT_EQ(ERROR_SUCCESS, get_text(key, "", text));
    EXPECT_EQ("root text", text);
    ASSERT_EQ(ERROR_SUCCESS, get_text(key, "Text", text));
    EXPECT_EQ("line\n2", text);
    DWORD number = 0;
    ASSERT_EQ(ERROR_SUCCESS, get_dword(key, "short", number));
    EXPECT_EQ(7u, number);

    BYTE bin[8] = {};
    DWORD size = sizeof bin;
    DWORD type = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Bin", nullptr, &type, bin, &size));
    EXPECT_EQ(REG_BINARY, type);
    ASSERT_EQ(4u, size);
    EXPECT_EQ(0xff, bin[3]);
    size = sizeof bin;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Multi", nullptr, &type, bin, &size));
    EXPECT_EQ(REG_MULTI_SZ, type);
    EXPECT_EQ(5u, size);

    // Rewriting keeps every value, in a form that reads back the same.
    ASSERT_EQ(ERROR_SUCCESS, set_dword(key, "Added", 1));
    size = sizeof bin;
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExA(key, "Multi", nullptr, &type, bin, &size));
    EXPECT_EQ(REG_MULTI_SZ, type);
    EXPECT_EQ(0, std::memcmp(bin, "a\0b\0", 5));
    ASSERT_EQ(ERROR_SUCCESS, get_text(key, "Text", text));
    EXPECT_EQ("line\n2", text);
    RegCloseKey(key);
    EXPECT_NE(std::string::npos, ReadWholeFile(hive_file()).find("\"Text\"=hex(1):6c,69,6e,65,0a,32\n"));
}

TEST_F(Registry, CorruptFileFailsClearlyAndIsLeftAlone)
{
    struct Case {
        const char* text;
        const char* cause;
    } cases[] = {
        {"", "REGEDIT4"},
        {"Windows Registry Editor Version 5.00\n", "REGEDIT4"},
        {"REGEDIT4\n\"v\"=dword:1\n", "line 2: value before the first key"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"C:\\dir\"\n", "line 3"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=\"open\n", "line 3: a quoted text is not closed"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=dword:123456789\n", "line 3"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\n\"v\"=hex:1,2\n", "line 3: bad hex"},
        {"REGEDIT4\n[HKEY_USERS\\A]\n", "line 2: key outside HKEY_LOCAL_MACHINE"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A\n", "line 2"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\A]\ngarbage\n", "line 3: neither a key nor a value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteWholeFile(hive_file(), c.text);
        HKEY key = nullptr;
        EXPECT_EQ(ERROR_BADDB, RegOpenKeyExA(HKEY_LOCAL_MACHINE, "A", 0, KEY_READ, &key));
        const std::string error = RegGetLastErrorText();
        EXPECT_NE(std::string::npos, error.find(hive_file())) << error;
        EXPECT_NE(std::string::npos, error.find("corrupt")) << error;
        EXPECT_NE(std::string::npos, error.find(c.cause)) << error;

        EXPECT_EQ(ERROR_BADDB, RegCreateKeyExA(HKEY_LOCAL_MACHINE, "B", 0, nullptr, 0,
                                               KEY_ALL_ACCESS, nullptr, &key, nullptr));
        EXPECT_EQ(nullptr, key);
        DWORD one = 1;
        EXPECT_EQ(ERROR_BADDB, RegSetValueExA(HKEY_LOCAL_MACHINE, "v", 0, REG_DWORD,
                                              reinterpret_cast<BYTE*>(&one), 4));
        EXPECT_EQ(ERROR_BADDB, RegDeleteValueA(HKEY_LOCAL_MACHINE, "v"));
        EXPECT_EQ(ERROR_BADDB, RegDeleteKeyA(HKEY_LOCAL_MACHINE, "A"));
        EXPECT_EQ(c.text, ReadWholeFile(hive_file()));
    }
}

TEST_F(Registry, StorageFolderChoice)
{
    EXPECT_EQ(dir_.path(), RegGetStorageFolder());
    RegSetStorageFolder("");
    const char* saved = std::getenv("TRV_REGISTRY_DIR");
    const std::string previous = saved ? saved : "";
    ::setenv("TRV_REGISTRY_DIR", dir_.file("from-env").c_str(), 1);
    EXPECT_EQ(dir_.file("from-env"), RegGetStorageFolder());
    // The folder is made on the first write.
    HKEY key = create("SOFTWARE\\Env");
    RegCloseKey(key);
    struct stat st{};
    EXPECT_EQ(0, ::stat(dir_.file("from-env/HKEY_LOCAL_MACHINE.reg").c_str(), &st));
    ::unsetenv("TRV_REGISTRY_DIR");
    const std::string fallback = RegGetStorageFolder();
    EXPECT_EQ("/registry", fallback.substr(fallback.size() - 9));
    EXPECT_NE(dir_.path(), fallback.substr(0, dir_.path().size()));
    if (saved)
        ::setenv("TRV_REGISTRY_DIR", previous.c_str(), 1);
}

}  // namespace
