// The server's settings with their defaults, in the order they are written at
// the first start: what the start-up writes for every value that is missing,
// and what the settings requests read and change. The table is built once, on
// first use, and never changes afterwards; any thread may read it.
#pragma once

#include <string>
#include <vector>

struct SettingDefault {
    std::string name;
    bool is_dword;        // REG_DWORD, else a REG_SZ text
    int number;           // the default of a DWORD setting
    std::string text;     // the default of a text setting, plain
    bool stored_encoded;  // the text is kept in the payload encoding, not as written here
};

// The twenty-six settings. LogFileName's default is "<program folder>/Logs/server.log".
const std::vector<SettingDefault>& ServerSettingDefaults();
