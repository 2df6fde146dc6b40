// The application's profile: registry keys under HKEY_CURRENT_USER once a registry
// key is set, else an INI file.
#include "afxwin.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Logs a failed registry call once with its cause.
void LogRegistryFailure(const char* what, const char* name, LONG code)
{
    char text[512];
    std::snprintf(text, sizeof text, "profile: %s \"%s\" failed (error %ld)\n", what, name ? name : "", (long)code);
    ::OutputDebugStringA(text);
    std::fputs(text, stderr);
}

// Opens (create: creates) parent\name for reading and writing.
HKEY OpenKey(HKEY parent, LPCSTR name, bool create)
{
    HKEY key = nullptr;
    LONG rc = create ? ::RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                         nullptr, &key, nullptr)
                     : ::RegOpenKeyExA(parent, name, 0, KEY_READ | KEY_WRITE, &key);
    if (rc != ERROR_SUCCESS) {
        if (create) LogRegistryFailure("creating key", name, rc);
        return nullptr;
    }
    return key;
}

struct KeyCloser {
    HKEY key;
    ~KeyCloser()
    {
        if (key) ::RegCloseKey(key);
    }
};

}  // namespace

void CWinApp::SetProfileName()
{
    if (m_pszRegistryKey) {
        m_strProfileName = m_pszAppName ? m_pszAppName : "";
    } else {
        m_strProfileName = m_pszExeName ? m_pszExeName : "";
        m_strProfileName += ".INI";
    }
    m_pszProfileName = m_strProfileName;
}

void CWinApp::SetRegistryKey(LPCSTR key)
{
    m_strRegistryKey = key ? key : "";
    m_pszRegistryKey = m_strRegistryKey;
    SetProfileName();
}

void CWinApp::SetRegistryKey(UINT keyStringId)
{
    CString key;
    if (!key.LoadString(keyStringId)) AfxThrowResourceException();
    SetRegistryKey(key);
}

void CWinApp::LoadStdProfileSettings(UINT)
{
    m_nNumPreviewPages = GetProfileInt("Settings", "PreviewPages", 0);
}

// The application's key: Software\<registry key>\<profile name>.
static HKEY AppKey(const CWinApp* app, bool create)
{
    if (!app->m_pszRegistryKey || !app->m_pszProfileName) return nullptr;
    std::string path = std::string("Software\\") + app->m_pszRegistryKey + "\\" + app->m_pszProfileName;
    return OpenKey(HKEY_CURRENT_USER, path.c_str(), create);
}

static HKEY SectionKey(const CWinApp* app, LPCSTR section, bool create)
{
    HKEY appKey = AppKey(app, create);
    if (!appKey) return nullptr;
    KeyCloser closer{appKey};
    return OpenKey(appKey, section, create);
}

HKEY CWinApp::GetAppRegistryKey() { return AppKey(this, true); }

HKEY CWinApp::GetSectionKey(LPCSTR section) { return SectionKey(this, section, true); }

UINT CWinApp::GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue)
{
    if (!m_pszRegistryKey) return ::GetPrivateProfileIntA(section, entry, defaultValue, m_pszProfileName);
    KeyCloser key{SectionKey(this, section, false)};
    if (!key.key) return (UINT)defaultValue;
    DWORD value = 0, type = 0, size = sizeof value;
    if (::RegQueryValueExA(key.key, entry, nullptr, &type, (LPBYTE)&value, &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return (UINT)defaultValue;
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCSTR section, LPCSTR entry, int value)
{
    if (!m_pszRegistryKey) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", value);
        return ::WritePrivateProfileStringA(section, entry, text, m_pszProfileName);
    }
    KeyCloser key{SectionKey(this, section, true)};
    if (!key.key) return FALSE;
    DWORD v = (DWORD)value;
    LONG rc = ::RegSetValueExA(key.key, entry, 0, REG_DWORD, (const BYTE*)&v, sizeof v);
    if (rc != ERROR_SUCCESS) LogRegistryFailure("writing value", entry, rc);
    return rc == ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue)
{
    const char* fallback = defaultValue ? defaultValue : "";
    if (!m_pszRegistryKey) {
        // Grow until the value fits (the call answers size - 1 when it was cut).
        for (DWORD size = 256;; size *= 2) {
            CString s;
            DWORD n = ::GetPrivateProfileStringA(section, entry, fallback, s.GetBuffer((int)size), size, m_pszProfileName);
            s.ReleaseBuffer((int)n);
            if (n < size - 1 || size >= (1u << 20)) return s;
        }
    }
    KeyCloser key{SectionKey(this, section, false)};
    if (!key.key) return fallback;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key.key, entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
        return fallback;
    CString s;
    LPSTR buf = s.GetBuffer((int)size + 1);
    if (::RegQueryValueExA(key.key, entry, nullptr, &type, (LPBYTE)buf, &size) != ERROR_SUCCESS) {
        s.ReleaseBuffer(0);
        return fallback;
    }
    buf[size] = 0;
    s.ReleaseBuffer();  // up to the terminator the value carries
    return s;
}

BOOL CWinApp::WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value)
{
    if (!m_pszRegistryKey) return ::WritePrivateProfileStringA(section, entry, value, m_pszProfileName);
    if (!entry) {
        KeyCloser app{AppKey(this, false)};
        if (!app.key) return TRUE;  // nothing to remove
        LONG rc = ::RegDeleteTreeA(app.key, section);
        return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
    }
    if (!value) {
        KeyCloser key{SectionKey(this, section, false)};
        if (!key.key) return TRUE;
        LONG rc = ::RegDeleteValueA(key.key, entry);
        return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
    }
    KeyCloser key{SectionKey(this, section, true)};
    if (!key.key) return FALSE;
    LONG rc = ::RegSetValueExA(key.key, entry, 0, REG_SZ, (const BYTE*)value, (DWORD)std::strlen(value) + 1);
    if (rc != ERROR_SUCCESS) LogRegistryFailure("writing value", entry, rc);
    return rc == ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE* data, UINT* bytes)
{
    *data = nullptr;
    *bytes = 0;
    if (!m_pszRegistryKey) {
        // As hexadecimal text in the INI file, two digits per byte.
        CString text = GetProfileString(section, entry, nullptr);
        int n = text.GetLength();
        if (n == 0 || n % 2) return FALSE;
        auto* out = new BYTE[n / 2];
        for (int i = 0; i < n / 2; ++i) {
            unsigned v = 0;
            if (std::sscanf((LPCSTR)text + 2 * i, "%2x", &v) != 1) {
                delete[] out;
                return FALSE;
            }
            out[i] = (BYTE)v;
        }
        *data = out;
        *bytes = (UINT)(n / 2);
        return TRUE;
    }
    KeyCloser key{SectionKey(this, section, false)};
    if (!key.key) return FALSE;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key.key, entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_BINARY)
        return FALSE;
    auto* out = new BYTE[size ? size : 1];
    if (::RegQueryValueExA(key.key, entry, nullptr, &type, out, &size) != ERROR_SUCCESS) {
        delete[] out;
        return FALSE;
    }
    *data = out;
    *bytes = size;
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE data, UINT bytes)
{
    if (!m_pszRegistryKey) {
        std::string text;
        char two[3];
        for (UINT i = 0; i < bytes; ++i) {
            std::snprintf(two, sizeof two, "%02X", data[i]);
            text += two;
        }
        return WriteProfileString(section, entry, text.c_str());
    }
    KeyCloser key{SectionKey(this, section, true)};
    if (!key.key) return FALSE;
    LONG rc = ::RegSetValueExA(key.key, entry, 0, REG_BINARY, data, bytes);
    if (rc != ERROR_SUCCESS) LogRegistryFailure("writing value", entry, rc);
    return rc == ERROR_SUCCESS;
}
