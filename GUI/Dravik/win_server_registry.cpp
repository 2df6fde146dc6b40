#include "win_server_registry.h"

#include "qr_log.h"

#include <windows.h>

#include <vector>

const char* const Win32ServerRegistry::servers_key = "SOFTWARE\\Tarvane\\Console\\Servers";

namespace {

class Key {
public:
    explicit Key(HKEY key = nullptr) : key_(key) {}
    ~Key()
    {
        if (key_)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_;
};

std::string PathOf(const std::string& name)
{
    return std::string(Win32ServerRegistry::servers_key) + "\\" + name;
}

// The whole text, however long, terminated here whether or not the
// registry stored a terminating zero.
bool ReadText(HKEY key, const char* value, std::string& text)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return false;
    std::vector<char> buffer(size + 1, '\0');
    if (RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
        return false;
    text.assign(buffer.data(), size);
    const std::size_t end = text.find('\0');
    if (end != std::string::npos)
        text.erase(end);
    return true;
}

bool ReadNumber(HKEY key, const char* value, std::uint32_t& number)
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    if (RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof data)
        return false;
    number = data;
    return true;
}

}  // namespace

std::vector<std::string> Win32ServerRegistry::KeyNames()
{
    std::vector<std::string> names;
    Key servers;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, servers_key, 0, KEY_READ, servers.out()) != ERROR_SUCCESS)
        return names;
    DWORD count = 0;
    DWORD longest = 0;
    if (RegQueryInfoKeyA(servers.get(), nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr, nullptr,
                         nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<char> name(longest + 2, '\0');
    for (DWORD i = 0; i < count; ++i) {
        DWORD size = static_cast<DWORD>(name.size());
        if (RegEnumKeyExA(servers.get(), i, name.data(), &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            names.emplace_back(name.data(), size);
    }
    return names;
}

bool Win32ServerRegistry::KeyExists(const std::string& name)
{
    Key key;
    return RegOpenKeyExA(HKEY_LOCAL_MACHINE, PathOf(name).c_str(), 0, KEY_READ, key.out()) == ERROR_SUCCESS;
}

bool Win32ServerRegistry::ReadValues(const std::string& name, RegistryValues& values)
{
    Key key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, PathOf(name).c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS)
        return false;
    for (const char* text : {"Server", "Login", "Password"}) {
        std::string value;
        if (ReadText(key.get(), text, value))
            values.texts[text] = value;
    }
    for (const char* number : {"Port", "AutoLogin", "SavedPassword"}) {
        std::uint32_t value = 0;
        if (ReadNumber(key.get(), number, value))
            values.numbers[number] = value;
    }
    return true;
}

bool Win32ServerRegistry::WriteValues(const std::string& name, const RegistryValues& values)
{
    Key key;
    LONG rc = RegCreateKeyExA(HKEY_LOCAL_MACHINE, PathOf(name).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, key.out(), nullptr);
    if (rc != ERROR_SUCCESS) {
        TRV_LOG(qr_Error, "Registry key " << PathOf(name) << " could not be opened, error " << rc);
        return false;
    }
    bool written = true;
    // Texts are stored with their length and no terminating zero, as the
    // console always has.
    for (const auto& [value, text] : values.texts)
        written = RegSetValueExA(key.get(), value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                                 static_cast<DWORD>(text.size())) == ERROR_SUCCESS &&
                  written;
    for (const auto& [value, number] : values.numbers) {
        const DWORD data = number;
        written = RegSetValueExA(key.get(), value.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                                 sizeof data) == ERROR_SUCCESS &&
                  written;
    }
    if (!written)
        TRV_LOG(qr_Error, "Registry key " << PathOf(name) << " was not written whole");
    return written;
}

bool Win32ServerRegistry::DeleteKey(const std::string& name)
{
    Key servers;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, servers_key, 0, KEY_ALL_ACCESS, servers.out()) != ERROR_SUCCESS)
        return false;
    return RegDeleteKeyA(servers.get(), name.c_str()) == ERROR_SUCCESS;
}
