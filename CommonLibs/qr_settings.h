// The server's settings: values under HKEY_LOCAL_MACHINE
// "SOFTWARE\Tarvane\Tarvane Network Inventory Server\Settings", read at the
// moment they are needed, each call with its own default. Each call opens the
// key (creating it when missing) through the registry layer in platform/.
// Any thread may call these; the registry layer serialises writers.
#pragma once

#include <string>

extern const char* const SettingsKey;

// The REG_DWORD value, or `def` when it is missing or can't be read. Never throws.
int ReadRegistryInt(const std::string& name, int def);
void WriteRegistryInt(const std::string& name, int value);
// Reads a string value of at most 299 characters; false (out untouched) otherwise.
bool ReadRegistryString(const std::string& key, const std::string& name, std::string& out);
// The REG_SZ value of the settings key, or `def`. Never throws.
std::string ReadRegistryStringDefault(const std::string& name, const std::string& def);
void WriteRegistryString(const std::string& name, const std::string& text);
