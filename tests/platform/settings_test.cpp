// The server's settings readers and writers over the file-backed registry.
#include "qr_exception.h"
#include "qr_log.h"
#include "qr_settings.h"
#include "registry.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override { RegSetStorageFolder(dir_.path()); }
    void TearDown() override { RegSetStorageFolder(""); }

    std::string hive_file() const { return dir_.file("HKEY_LOCAL_MACHINE.reg"); }

    static void set_raw(const char* name, DWORD type, const std::string& bytes)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, SettingsKey, 0, nullptr, 0,
                                                 KEY_ALL_ACCESS, nullptr, &key, nullptr));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(key, name, 0, type,
                                                reinterpret_cast<const BYTE*>(bytes.data()),
                                                static_cast<DWORD>(bytes.size())));
        RegCloseKey(key);
    }

    TempDir dir_;
};

TEST_F(Settings, ReadingCreatesTheKeyAndGivesDefaults)
{
    EXPECT_EQ(1024, ReadRegistryInt("ServerMaxRequests", 1024));
    EXPECT_EQ("localhost", ReadRegistryStringDefault("ServerHost", "localhost"));
    std::string out = "untouched";
    EXPECT_FALSE(ReadRegistryString(SettingsKey, "ServerHost", out));
    EXPECT_EQ("untouched", out);
    EXPECT_NE(std::string::npos,
              ReadWholeFile(hive_file())
                  .find("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tarvane\\Tarvane Network Inventory "
                        "Server\\Settings]"));
}

TEST_F(Settings, WrittenValuesReadBack)
{
    struct IntCase {
        const char* name;
        int value;
    } ints[] = {{"LogLevel", 1}, {"MaxLogSizeMb", 0}, {"Minus", -1}, {"Big", 2147483647},
                {"Low", -2147483647 - 1}};
    for (const IntCase& c : ints)
        WriteRegistryInt(c.name, c.value);
    for (const IntCase& c : ints)
        EXPECT_EQ(c.value, ReadRegistryInt(c.name, 12345)) << c.name;
    EXPECT_NE(std::string::npos, ReadWholeFile(hive_file()).find("\"Minus\"=dword:ffffffff\n"));

    WriteRegistryString("ServerName", "TRV Server");
    WriteRegistryString("LogFileName", "C:\\Logs\\\"server\".log");
    WriteRegistryString("Empty", "");
    EXPECT_EQ("TRV Server", ReadRegistryStringDefault("servername", "x"));
    EXPECT_EQ("C:\\Logs\\\"server\".log", ReadRegistryStringDefault("LogFileName", "x"));
    std::string out = "untouched";
    EXPECT_TRUE(ReadRegistryString(SettingsKey, "Empty", out));
    EXPECT_EQ("", out);
}

TEST_F(Settings, TextsUpTo299CharactersOnly)
{
    const std::string fits(299, 'f');
    const std::string too_long(300, 'l');
    WriteRegistryString("Fits", fits);
    WriteRegistryString("TooLong", too_long);
    std::string out = "untouched";
    EXPECT_TRUE(ReadRegistryString(SettingsKey, "Fits", out));
    EXPECT_EQ(fits, out);
    out = "untouched";
    EXPECT_FALSE(ReadRegistryString(SettingsKey, "TooLong", out));
    EXPECT_EQ("untouched", out);
    EXPECT_EQ("default", ReadRegistryStringDefault("TooLong", "default"));
}

TEST_F(Settings, IntegerValuesLongerThanFourBytesGiveTheDefault)
{
    set_raw("Eight", REG_BINARY, std::string("\x01\x00\x00\x00\x00\x00\x00\x00", 8));
    EXPECT_EQ(-1, ReadRegistryInt("Eight", -1));
    // Shorter values fill the low bytes; the type is not looked at.
    set_raw("Two", REG_BINARY, std::string("\x01\x02", 2));
    EXPECT_EQ(0x0201, ReadRegistryInt("Two", -1));
}

TEST_F(Settings, CorruptFileIsLoggedReadsGiveDefaultsWritesThrow)
{
    const std::string corrupt = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n\"x\"=what\n";
    WriteWholeFile(hive_file(), corrupt);
    FILE* log = std::tmpfile();
    ASSERT_NE(nullptr, log);
    FILE* previous = get_log_file_fd();
    set_log_file_fd(log);
    set_errorlevel(qr_Warning);

    EXPECT_EQ(10, ReadRegistryInt("AdminDBMaxConn", 10));
    EXPECT_EQ("any", ReadRegistryStringDefault("ServerInterface", "any"));
    EXPECT_THROW(WriteRegistryInt("AdminDBMaxConn", 3), qr_exception_t);
    try {
        WriteRegistryString("ServerName", "x");
        ADD_FAILURE() << "no exception";
    } catch (const qr_exception_t& e) {
        EXPECT_NE(std::string::npos, e.message().find("ServerName")) << e.message();
    }

    set_log_file_fd(previous == stdout ? nullptr : previous);
    std::fflush(log);
    std::rewind(log);
    std::string text;
    for (int c; (c = std::fgetc(log)) != EOF;)
        text += static_cast<char>(c);
    std::fclose(log);
    EXPECT_NE(std::string::npos, text.find(hive_file() + " is corrupt (line 3")) << text;
    EXPECT_NE(std::string::npos, text.find("Error")) << text;
    EXPECT_EQ(corrupt, ReadWholeFile(hive_file()));
}

}  // namespace
