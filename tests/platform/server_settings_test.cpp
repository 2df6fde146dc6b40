// The table of the server's settings and their defaults.
#include "progdir.h"
#include "server_settings.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <cctype>

namespace {

TEST(ServerSettings, TableIsWellFormed)
{
    const std::vector<SettingDefault>& table = ServerSettingDefaults();
    ASSERT_EQ(26u, table.size());
    EXPECT_EQ("LogLevel", table.front().name);
    EXPECT_EQ("UserDBMaxConn", table.back().name);

    std::set<std::string> lower_names;
    int dwords = 0;
    for (const SettingDefault& entry : table) {
        std::string lower = entry.name;
        for (char& ch : lower)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        EXPECT_TRUE(lower_names.insert(lower).second) << entry.name << " twice";
        if (entry.is_dword) {
            ++dwords;
            EXPECT_TRUE(entry.text.empty()) << entry.name;
            // -1 marks a missing DWORD setting, so no default may be -1.
            EXPECT_NE(-1, entry.number) << entry.name;
        }
        // A text setting of 300 characters or more would read as missing.
        EXPECT_LT(entry.text.size(), 300u) << entry.name;
        EXPECT_EQ(entry.name == "AdminDBPassword", entry.stored_encoded) << entry.name;
    }
    EXPECT_EQ(13, dwords);
}

TEST(ServerSettings, DefaultsThatOthersDependOn)
{
    struct Expected {
        const char* name;
        bool is_dword;
        int number;
        std::string text;
    } cases[] = {
        {"LogFileName", false, 0, GetProgramFolder() + "/Logs/server.log"},
        {"ServerMaxRequests", true, 1024, ""},
        {"ServerPort", false, 0, "5432"},
        {"ServerHost", false, 0, "localhost"},
        {"AdminDBDSN", false, 0, "TarvaneSrvAdmin"},
        {"SNMPTabAttempts", true, 20, ""},
        {"AdminDBLogin", false, 0, ""},
    };
    for (const Expected& c : cases) {
        const SettingDefault* found = nullptr;
        for (const SettingDefault& entry : ServerSettingDefaults())
            if (entry.name == c.name)
                found = &entry;
        ASSERT_NE(nullptr, found) << c.name;
        EXPECT_EQ(c.is_dword, found->is_dword) << c.name;
        EXPECT_EQ(c.number, found->number) << c.name;
        EXPECT_EQ(c.text, found->text) << c.name;
    }
}

}  // namespace
