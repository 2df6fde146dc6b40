// The console's Servers key in the Windows registry:
// HKEY_LOCAL_MACHINE\SOFTWARE\Tarvane\Console\Servers. GUI thread.
#pragma once

#include "server_list.h"

class Win32ServerRegistry : public IServerRegistry {
public:
    std::vector<std::string> KeyNames() override;
    bool KeyExists(const std::string& name) override;
    bool ReadValues(const std::string& name, RegistryValues& values) override;
    bool WriteValues(const std::string& name, const RegistryValues& values) override;
    bool DeleteKey(const std::string& name) override;

    static const char* const servers_key;
};
