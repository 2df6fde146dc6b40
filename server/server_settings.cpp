#include "server_settings.h"

#include "progdir.h"

namespace {

SettingDefault Number(const char* name, int value)
{
    return SettingDefault{name, true, value, std::string(), false};
}

SettingDefault Text(const char* name, std::string value, bool stored_encoded = false)
{
    return SettingDefault{name, false, 0, std::move(value), stored_encoded};
}

std::vector<SettingDefault> BuildTable()
{
    return {
        Number("LogLevel", 1),
        Text("LogFileName", GetProgramFolder() + "/Logs/server.log"),
        Number("MaxLogSizeMb", 1),
        Number("LogCutPerc", 50),
        Number("PingThreads", 10),
        Number("ScanThreads", 10),
        Number("SNMPTabAttempts", 20),
        Number("SNMPRetries", 2),
        Number("SNMPTimeout", 5),
        Number("PINGRetries", 1),
        Number("PINGTimeout", 2),
        Text("ServerName", "TRV Server"),
        Text("ServerHost", "localhost"),
        Text("ServerPort", "5432"),
        Text("ServerInterface", "any"),
        Number("ServerMaxRequests", 1024),
        Text("AdminDBHost", "localhost"),
        Text("AdminDBDSN", "TarvaneSrvAdmin"),
        Text("AdminDBLogin", ""),
        // The administration database's default password; the registry keeps
        // it only in the payload encoding.
        Text("AdminDBPassword", "trvadmin", true),
        Number("AdminDBMaxConn", 10),
        Text("UserDBHost", "localhost"),
        Text("UserDBDSN", "TrvConsoleSrvData"),
        Text("UserDBLogin", ""),
        Text("UserDBPassword", ""),
        Number("UserDBMaxConn", 10),
    };
}

}  // namespace

const std::vector<SettingDefault>& ServerSettingDefaults()
{
    static const std::vector<SettingDefault> table = BuildTable();
    return table;
}
