// The console's list of servers in the registry: one key per entry under
// HKEY_LOCAL_MACHINE\SOFTWARE\Tarvane\Console\Servers, named by the entry,
// holding Server, Port, Login, Password (only when saved), AutoLogin and
// SavedPassword. The list logic is plain C++ over IServerRegistry, the
// Servers key as the registry shows it (names compare without regard to
// case); Win32ServerRegistry (win_server_registry.h) is the real one.
// GUI thread.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct TServerConnectInfo {
    std::string server;
    std::int32_t port = 5432;
    std::string login;
    std::string password;  // empty unless the user chose to save it
    std::string name;      // the entry's key and its node's label
    bool save_password = false;
    bool auto_login = false;
    std::int32_t connection_id = -1;
};

// One key's values: texts and double words by value name.
struct RegistryValues {
    std::map<std::string, std::string> texts;
    std::map<std::string, std::uint32_t> numbers;
};

class IServerRegistry {
public:
    virtual ~IServerRegistry() = default;
    // The subkeys of the Servers key, in the registry's order; empty when
    // the key does not open.
    virtual std::vector<std::string> KeyNames() = 0;
    virtual bool KeyExists(const std::string& name) = 0;
    // The key's values; false when it does not open. Texts are read whole.
    virtual bool ReadValues(const std::string& name, RegistryValues& values) = 0;
    // Opens the key, creating it when missing, and writes the values.
    virtual bool WriteValues(const std::string& name, const RegistryValues& values) = 0;
    virtual bool DeleteKey(const std::string& name) = 0;
};

// Appends one entry per key that opens; missing values keep their defaults.
void LoadServers(IServerRegistry& registry, std::vector<TServerConnectInfo>& servers);
// 0 saved; 1 the new name is another entry's (nothing changed). A rename
// writes the new key before it deletes the old one; a new name that differs
// from the old one only in letter case is the same entry, renamed.
int SaveServer(IServerRegistry& registry, const TServerConnectInfo& entry, const std::string& old_name);
// Deletes the entry's key; 1 in every case.
int DeleteServer(IServerRegistry& registry, const std::string& name);
