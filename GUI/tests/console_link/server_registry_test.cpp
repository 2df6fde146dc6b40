// The console's server list in Wine's registry (a fresh prefix per run):
// values as the console writes and reads them, a value of 300 characters
// stored without terminating zero, and renames, also of the letter case.
#include "win_server_registry.h"

#include "wtest.h"

#include <windows.h>

namespace {

HKEY CreateEntryKey(const std::string& name)
{
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(Win32ServerRegistry::servers_key) + "\\" + name).c_str(), 0,
                    nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    return key;
}

void Clear(Win32ServerRegistry& registry)
{
    for (const std::string& name : registry.KeyNames())
        registry.DeleteKey(name);
}

}  // namespace

WTEST(AnEntryIsStoredAsTheConsoleAlwaysStoredIt)
{
    Win32ServerRegistry registry;
    Clear(registry);
    TServerConnectInfo e;
    e.name = "Office";
    e.server = "10.0.0.5";
    e.port = 7001;
    e.login = "admin";
    e.password = "secret";
    e.auto_login = true;
    WCHECK_EQ(SaveServer(registry, e, ""), 0);
    HKEY key = CreateEntryKey("Office");
    char text[64] = {};
    DWORD size = sizeof text, type = 0;
    WCHECK_EQ(RegQueryValueExA(key, "Server", nullptr, &type, reinterpret_cast<BYTE*>(text), &size), ERROR_SUCCESS);
    WCHECK_EQ(type, static_cast<DWORD>(REG_SZ));
    WCHECK_EQ(std::string(text), std::string("10.0.0.5"));
    size = sizeof text;
    RegQueryValueExA(key, "Password", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    WCHECK_EQ(size, 0u);  // not saved
    DWORD port = 0;
    size = sizeof port;
    RegQueryValueExA(key, "Port", nullptr, &type, reinterpret_cast<BYTE*>(&port), &size);
    WCHECK_EQ(type, static_cast<DWORD>(REG_DWORD));
    WCHECK_EQ(port, 7001u);
    RegCloseKey(key);
    std::vector<TServerConnectInfo> servers;
    LoadServers(registry, servers);
    WCHECK_EQ(servers.size(), 1u);
    if (servers.size() == 1) {
        WCHECK_EQ(servers[0].server, std::string("10.0.0.5"));
        WCHECK(servers[0].auto_login);
        WCHECK(!servers[0].save_password);
    }
}

WTEST(AValueOfThreeHundredCharactersWithoutItsZeroReadsWhole)
{
    Win32ServerRegistry registry;
    Clear(registry);
    const std::string long_name(300, 'h');
    HKEY key = CreateEntryKey("Long");
    RegSetValueExA(key, "Server", 0, REG_SZ, reinterpret_cast<const BYTE*>(long_name.data()), 300);
    RegSetValueExA(key, "Login", 0, REG_SZ, reinterpret_cast<const BYTE*>("ab"), 2);
    RegCloseKey(key);
    std::vector<TServerConnectInfo> servers;
    LoadServers(registry, servers);
    WCHECK_EQ(servers.size(), 1u);
    if (servers.size() == 1) {
        WCHECK_EQ(servers[0].server, long_name);
        WCHECK_EQ(servers[0].login, std::string("ab"));
        WCHECK_EQ(servers[0].port, 5432);
    }
}

WTEST(RenamesInTheRegistry)
{
    Win32ServerRegistry registry;
    Clear(registry);
    TServerConnectInfo a;
    a.name = "Office";
    a.server = "a";
    TServerConnectInfo b = a;
    b.name = "Lab";
    SaveServer(registry, a, "");
    SaveServer(registry, b, "");
    a.name = "lab";
    WCHECK_EQ(SaveServer(registry, a, "Office"), 1);  // taken, whatever the case
    a.name = "OFFICE";
    WCHECK_EQ(SaveServer(registry, a, "Office"), 0);  // the same entry
    std::vector<std::string> names = registry.KeyNames();
    WCHECK_EQ(names.size(), 2u);
    bool upper = false;
    for (const std::string& n : names)
        upper = upper || n == "OFFICE";
    WCHECK(upper);
    a.name = "Head office";
    WCHECK_EQ(SaveServer(registry, a, "OFFICE"), 0);
    WCHECK(registry.KeyExists("Head office"));
    WCHECK(!registry.KeyExists("Office"));
    WCHECK_EQ(DeleteServer(registry, "head OFFICE"), 1);
    WCHECK(registry.KeyNames() == std::vector<std::string>{"Lab"});
}
