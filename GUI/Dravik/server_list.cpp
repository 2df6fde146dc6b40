#include "server_list.h"

#include "qr_log.h"

#include <cctype>

namespace {

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

RegistryValues ValuesOf(const TServerConnectInfo& entry)
{
    RegistryValues v;
    v.texts["Server"] = entry.server;
    v.numbers["Port"] = static_cast<std::uint32_t>(entry.port);
    v.texts["Login"] = entry.login;
    v.texts["Password"] = entry.save_password ? entry.password : std::string();
    v.numbers["AutoLogin"] = entry.auto_login ? 1 : 0;
    v.numbers["SavedPassword"] = entry.save_password ? 1 : 0;
    return v;
}

}  // namespace

void LoadServers(IServerRegistry& registry, std::vector<TServerConnectInfo>& servers)
{
    for (const std::string& name : registry.KeyNames()) {
        RegistryValues v;
        if (!registry.ReadValues(name, v))
            continue;
        TServerConnectInfo entry;
        entry.name = name;
        const auto text = [&](const char* key, std::string& field) {
            auto it = v.texts.find(key);
            if (it != v.texts.end())
                field = it->second;
        };
        text("Server", entry.server);
        text("Login", entry.login);
        text("Password", entry.password);
        if (auto it = v.numbers.find("Port"); it != v.numbers.end())
            entry.port = static_cast<std::int32_t>(it->second);
        if (auto it = v.numbers.find("AutoLogin"); it != v.numbers.end())
            entry.auto_login = it->second == 1;
        if (auto it = v.numbers.find("SavedPassword"); it != v.numbers.end())
            entry.save_password = it->second == 1;
        servers.push_back(entry);
    }
}

int SaveServer(IServerRegistry& registry, const TServerConnectInfo& entry, const std::string& old_name)
{
    const RegistryValues values = ValuesOf(entry);
    const bool renamed = !old_name.empty() && old_name != entry.name;
    if (!renamed) {
        if (!registry.WriteValues(entry.name, values))
            TRV_LOG(qr_Error, "Server entry " << entry.name << " could not be saved");
        return 0;
    }
    if (SameIgnoringCase(old_name, entry.name)) {
        // The registry takes both names for one key: the entry moves through
        // a key of its own, and is on disk under one name or another throughout.
        const std::string passing = old_name + " (renaming)";
        if (!registry.WriteValues(passing, values)) {
            TRV_LOG(qr_Error, "Server entry " << old_name << " could not be renamed to " << entry.name);
            return 0;
        }
        registry.DeleteKey(old_name);
        if (registry.WriteValues(entry.name, values))
            registry.DeleteKey(passing);
        else
            TRV_LOG(qr_Error, "Server entry " << entry.name << " was left as " << passing);
        return 0;
    }
    if (registry.KeyExists(entry.name))
        return 1;
    // The new key first: a failure leaves the old entry, never none.
    if (!registry.WriteValues(entry.name, values)) {
        TRV_LOG(qr_Error, "Server entry " << old_name << " could not be renamed to " << entry.name);
        return 0;
    }
    registry.DeleteKey(old_name);
    return 0;
}

int DeleteServer(IServerRegistry& registry, const std::string& name)
{
    if (!name.empty())
        registry.DeleteKey(name);
    return 1;
}
