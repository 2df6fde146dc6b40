// The console's server list over a registry that, like Windows's, takes key
// names without regard to case: loading, saving, renaming, deleting.
#include "server_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <utility>

namespace {

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Keys in creation order; each remembers the case it was created with.
class MemoryRegistry : public IServerRegistry {
public:
    std::vector<std::string> KeyNames() override
    {
        std::vector<std::string> names;
        for (const auto& key : keys)
            names.push_back(key.first);
        return names;
    }
    bool KeyExists(const std::string& name) override { return Find(name) != keys.end(); }
    bool ReadValues(const std::string& name, RegistryValues& values) override
    {
        auto it = Find(name);
        if (it == keys.end())
            return false;
        values = it->second;
        return true;
    }
    bool WriteValues(const std::string& name, const RegistryValues& values) override
    {
        ++writes;
        if (fail_writes)
            return false;
        auto it = Find(name);
        if (it == keys.end()) {
            keys.emplace_back(name, RegistryValues{});
            it = keys.end() - 1;
        }
        for (const auto& [k, v] : values.texts)
            it->second.texts[k] = v;
        for (const auto& [k, v] : values.numbers)
            it->second.numbers[k] = v;
        return true;
    }
    bool DeleteKey(const std::string& name) override
    {
        auto it = Find(name);
        if (it == keys.end())
            return false;
        keys.erase(it);
        return true;
    }

    std::vector<std::pair<std::string, RegistryValues>> keys;
    bool fail_writes = false;
    int writes = 0;

private:
    std::vector<std::pair<std::string, RegistryValues>>::iterator Find(const std::string& name)
    {
        return std::find_if(keys.begin(), keys.end(),
                            [&](const auto& key) { return Lower(key.first) == Lower(name); });
    }
};

TServerConnectInfo Entry(const std::string& name)
{
    TServerConnectInfo e;
    e.name = name;
    e.server = "srv-" + name;
    e.port = 7001;
    e.login = "admin";
    e.password = "secret";
    return e;
}

}  // namespace

TEST(ServerList, EntriesLoadWithDefaultsForWhatIsMissing)
{
    MemoryRegistry registry;
    std::vector<TServerConnectInfo> servers;
    LoadServers(registry, servers);
    EXPECT_TRUE(servers.empty());
    registry.keys.emplace_back("Bare", RegistryValues{});
    RegistryValues flags;
    flags.numbers["AutoLogin"] = 2;  // only 1 sets a flag
    flags.numbers["SavedPassword"] = 1;
    registry.keys.emplace_back("Flags", flags);
    LoadServers(registry, servers);
    ASSERT_EQ(servers.size(), 2u);
    EXPECT_EQ(servers[0].name, "Bare");
    EXPECT_EQ(servers[0].port, 5432);
    EXPECT_EQ(servers[0].connection_id, -1);
    EXPECT_FALSE(servers[1].auto_login);
    EXPECT_TRUE(servers[1].save_password);
}

TEST(ServerList, APasswordIsStoredOnlyWhenSaved)
{
    MemoryRegistry registry;
    TServerConnectInfo e = Entry("A");
    EXPECT_EQ(SaveServer(registry, e, ""), 0);
    EXPECT_EQ(registry.keys[0].second.texts["Password"], "");
    EXPECT_EQ(registry.keys[0].second.numbers["SavedPassword"], 0u);
    e.save_password = true;
    e.auto_login = true;
    EXPECT_EQ(SaveServer(registry, e, "A"), 0);  // the same name: rewritten in place
    ASSERT_EQ(registry.keys.size(), 1u);
    EXPECT_EQ(registry.keys[0].second.texts["Password"], "secret");
    std::vector<TServerConnectInfo> servers;
    LoadServers(registry, servers);
    ASSERT_EQ(servers.size(), 1u);
    EXPECT_EQ(servers[0].server, "srv-A");
    EXPECT_EQ(servers[0].port, 7001);
    EXPECT_TRUE(servers[0].auto_login);
}

TEST(ServerList, RenamesKeepOneEntryAndNeverLoseIt)
{
    MemoryRegistry registry;
    SaveServer(registry, Entry("Office"), "");
    SaveServer(registry, Entry("Lab"), "");
    // Another entry's name is refused and changes nothing.
    TServerConnectInfo office = Entry("LAB");
    EXPECT_EQ(SaveServer(registry, office, "Office"), 1);
    EXPECT_EQ(registry.KeyNames(), (std::vector<std::string>{"Office", "Lab"}));
    // A plain rename.
    office.name = "Head office";
    EXPECT_EQ(SaveServer(registry, office, "Office"), 0);
    EXPECT_EQ(registry.KeyNames(), (std::vector<std::string>{"Lab", "Head office"}));
    // Only the letter case changes: the same entry, under its new name.
    office.name = "Head Office";
    EXPECT_EQ(SaveServer(registry, office, "Head office"), 0);
    EXPECT_EQ(registry.KeyNames(), (std::vector<std::string>{"Lab", "Head Office"}));
    // A rename whose new key cannot be written keeps the old one.
    registry.fail_writes = true;
    office.name = "Elsewhere";
    EXPECT_EQ(SaveServer(registry, office, "Head Office"), 0);
    EXPECT_EQ(registry.KeyNames(), (std::vector<std::string>{"Lab", "Head Office"}));
    registry.fail_writes = false;
    EXPECT_EQ(DeleteServer(registry, "lab"), 1);
    EXPECT_EQ(DeleteServer(registry, ""), 1);
    EXPECT_EQ(registry.KeyNames(), std::vector<std::string>{"Head Office"});
}
