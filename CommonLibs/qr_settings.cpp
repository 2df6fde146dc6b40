#include "qr_settings.h"

#include "qr_exception.h"
#include "qr_log.h"
#include "registry.h"

#include <cstring>

const char* const SettingsKey = "SOFTWARE\\Tarvane\\Tarvane Network Inventory Server\\Settings";

namespace {

// A text setting is read into a zeroed buffer of this size; the last byte
// always stays zero, so a stored text must be shorter than this.
constexpr DWORD kTextBuffer = 300;

// The key under HKEY_LOCAL_MACHINE, opened with full access for one call and
// created when it cannot be opened.
class OpenedKey {
public:
    explicit OpenedKey(const std::string& path)
    {
        status_ = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, &key_);
        if (status_ != ERROR_SUCCESS)
            status_ = RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr,
                                      REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key_,
                                      nullptr);
        if (status_ != ERROR_SUCCESS) {
            key_ = nullptr;
            cause_ = RegGetLastErrorText();
        }
    }
    ~OpenedKey()
    {
        if (key_ != nullptr)
            RegCloseKey(key_);
    }
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    HKEY get() const { return key_; }
    LONG status() const { return status_; }
    const std::string& cause() const { return cause_; }

private:
    HKEY key_ = nullptr;
    LONG status_ = ERROR_SUCCESS;
    std::string cause_;
};

void LogOpenFailure(const OpenedKey& key, const std::string& path)
{
    TRV_LOG(qr_Error, "Cannot open registry key " << path << ": error " << key.status() << ", "
                                                  << key.cause());
}

}  // namespace

int ReadRegistryInt(const std::string& name, int def)
{
    try {
        OpenedKey key(SettingsKey);
        if (key.get() == nullptr) {
            LogOpenFailure(key, SettingsKey);
            return def;
        }
        // The value's type is not checked: its first four bytes are the number.
        BYTE data[4] = {0, 0, 0, 0};
        DWORD size = sizeof data;
        DWORD type = REG_NONE;
        LONG rc = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, data, &size);
        if (rc != ERROR_SUCCESS) {
            if (rc != ERROR_FILE_NOT_FOUND)
                TRV_LOG(qr_Warning, "Cannot read setting " << name << ": error " << rc << ", "
                                                           << RegGetLastErrorText());
            return def;
        }
        std::uint32_t value = static_cast<std::uint32_t>(data[0]) |
                              static_cast<std::uint32_t>(data[1]) << 8 |
                              static_cast<std::uint32_t>(data[2]) << 16 |
                              static_cast<std::uint32_t>(data[3]) << 24;
        return static_cast<int>(value);
    } catch (...) {
        // Only allocation can fail here; a setting read must never end the caller.
        return def;
    }
}

void WriteRegistryInt(const std::string& name, int value)
{
    OpenedKey key(SettingsKey);
    if (key.get() == nullptr) {
        LogOpenFailure(key, SettingsKey);
        qr_exception("Cannot write setting %s: registry key not available (%s)", name.c_str(), key.cause().c_str());
    }
    const std::uint32_t bits = static_cast<std::uint32_t>(value);
    const BYTE data[4] = {static_cast<BYTE>(bits), static_cast<BYTE>(bits >> 8),
                          static_cast<BYTE>(bits >> 16), static_cast<BYTE>(bits >> 24)};
    LONG rc = RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, data, sizeof data);
    if (rc != ERROR_SUCCESS) {
        std::string cause = RegGetLastErrorText();
        TRV_LOG(qr_Error, "Cannot write setting " << name << ": error " << rc << ", " << cause);
        qr_exception("Cannot write setting %s: %s", name.c_str(), cause.c_str());
    }
}

bool ReadRegistryString(const std::string& key_path, const std::string& name, std::string& out)
{
    try {
        OpenedKey key(key_path);
        if (key.get() == nullptr) {
            LogOpenFailure(key, key_path);
            return false;
        }
        char buffer[kTextBuffer];
        std::memset(buffer, 0, sizeof buffer);
        DWORD size = kTextBuffer - 1;
        DWORD type = REG_NONE;
        LONG rc = RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
        if (rc != ERROR_SUCCESS) {
            if (rc != ERROR_FILE_NOT_FOUND)
                TRV_LOG(qr_Warning, "Cannot read setting " << name << ": error " << rc << ", "
                                                           << RegGetLastErrorText());
            return false;
        }
        out = buffer;
        return true;
    } catch (...) {
        return false;
    }
}

std::string ReadRegistryStringDefault(const std::string& name, const std::string& def)
{
    try {
        std::string value;
        if (ReadRegistryString(SettingsKey, name, value))
            return value;
        return def;
    } catch (...) {
        return def;
    }
}

void WriteRegistryString(const std::string& name, const std::string& text)
{
    OpenedKey key(SettingsKey);
    if (key.get() == nullptr) {
        LogOpenFailure(key, SettingsKey);
        qr_exception("Cannot write setting %s: registry key not available (%s)", name.c_str(), key.cause().c_str());
    }
    // Stored without a terminating zero: the value's length is the text's length.
    LONG rc = RegSetValueExA(key.get(), name.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(text.data()),
                             static_cast<DWORD>(text.size()));
    if (rc != ERROR_SUCCESS) {
        std::string cause = RegGetLastErrorText();
        TRV_LOG(qr_Error, "Cannot write setting " << name << ": error " << rc << ", " << cause);
        qr_exception("Cannot write setting %s: %s", name.c_str(), cause.c_str());
    }
}
