// The in-process server: its class object, the DLL's COM entry points, and
// its registration as the spreadsheet program's automation class (machine
// wide, where every COM client of the prefix or machine looks: per-user
// class registrations are not read everywhere).
#include <windows.h>
#include <ole2.h>

#include <string>

#include "xl_dispatch.h"
#include "xl_objects.h"

namespace {

// The class of the server's application object.
const CLSID CLSID_TrvSpreadsheet = {0xeba401cf, 0x0a7b, 0x4665, {0x91, 0x86, 0x30, 0x54, 0x81, 0x18, 0xea, 0x43}};
const wchar_t kClsidText[] = L"{EBA401CF-0A7B-4665-9186-30548118EA43}";
const wchar_t kProgId[] = L"Excel.Application";
const wchar_t kDescription[] = L"Tarvane spreadsheet automation server";

HMODULE g_module = nullptr;
LONG g_locks = 0;

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // One static object: its references lock the server instead.
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(::InterlockedIncrement(&g_locks)); }
    ULONG STDMETHODCALLTYPE Release() override { return ULONG(::InterlockedDecrement(&g_locks)); }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        IDispatch* app = xl::NewApplication();
        const HRESULT hr = app->QueryInterface(riid, out);
        app->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            ::InterlockedIncrement(&g_locks);
        else
            ::InterlockedDecrement(&g_locks);
        return S_OK;
    }
};

Factory g_factory;

LONG SetText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
    HKEY key;
    LONG rc = ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    rc = ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD((value.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
    return rc;
}

const std::wstring kClasses = L"Software\\Classes\\";

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_TrvSpreadsheet)) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, out);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return xl::LiveObjects() == 0 && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
    wchar_t path[MAX_PATH];
    const DWORD n = ::GetModuleFileNameW(g_module, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    const std::wstring clsidKey = kClasses + L"CLSID\\" + kClsidText;
    const std::wstring progKey = kClasses + kProgId;
    struct Entry {
        std::wstring key;
        const wchar_t* name;
        std::wstring value;
    };
    const Entry entries[] = {
        {clsidKey, nullptr, kDescription},
        {clsidKey + L"\\InprocServer32", nullptr, path},
        {clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {clsidKey + L"\\ProgID", nullptr, kProgId},
        {progKey, nullptr, kDescription},
        {progKey + L"\\CLSID", nullptr, kClsidText},
    };
    LONG rc = ERROR_SUCCESS;
    for (const Entry& e : entries)
        if (rc == ERROR_SUCCESS) rc = SetText(HKEY_LOCAL_MACHINE, e.key, e.name, e.value);
    return HRESULT_FROM_WIN32(rc);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
    const std::wstring clsidKey = kClasses + L"CLSID\\" + kClsidText;
    const std::wstring progKey = kClasses + kProgId;
    // The program id is ours to remove only while it names our class.
    wchar_t current[64] = L"";
    LONG size = sizeof current;
    const bool ours = ::RegQueryValueW(HKEY_LOCAL_MACHINE, (progKey + L"\\CLSID").c_str(), current, &size) == ERROR_SUCCESS &&
                      _wcsicmp(current, kClsidText) == 0;
    LONG rc = ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, clsidKey.c_str());
    if (rc == ERROR_FILE_NOT_FOUND) rc = ERROR_SUCCESS;
    if (ours) {
        const LONG prog = ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, progKey.c_str());
        if (rc == ERROR_SUCCESS && prog != ERROR_FILE_NOT_FOUND) rc = prog;
    }
    return HRESULT_FROM_WIN32(rc);
}
