// The application's services: the profile in the registry or an INI file, the
// application's name, the command line, cursors, icons and image lists through the
// module chain, OLE for the program's run, and the hooks of a library's application.
#include "afxwin.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app_ids.h"
#include "app_peer.h"
#include "wtest.h"

namespace {

// Raw registry reads, to see what the profile functions stored.
bool ReadRaw(const char* key, const char* value, DWORD& type, std::string& data)
{
    HKEY k = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    char buf[256];
    DWORD size = sizeof buf;
    bool ok = ::RegQueryValueExA(k, value, nullptr, &type, (LPBYTE)buf, &size) == ERROR_SUCCESS;
    ::RegCloseKey(k);
    if (ok) data.assign(buf, size);
    return ok;
}

bool KeyExists(const char* key)
{
    HKEY k = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    ::RegCloseKey(k);
    return true;
}

}  // namespace

WTEST(profile_values_live_under_the_registry_key)
{
    CWinApp app("Probe App");
    WCHECK_EQ(std::string(app.m_pszProfileName), "mfc_app_guitest.INI");
    app.SetRegistryKey("TarvaneTest");
    WCHECK_EQ(std::string(app.m_pszRegistryKey), "TarvaneTest");
    WCHECK_EQ(std::string(app.m_pszProfileName), "Probe App");
    const char* section = "Software\\TarvaneTest\\Probe App\\Options";

    // Reading creates nothing.
    WCHECK_EQ(app.GetProfileInt("Options", "LoadDefaultSettings", 7), 7u);
    WCHECK(!KeyExists("Software\\TarvaneTest"));

    WCHECK(app.WriteProfileInt("Options", "LoadDefaultSettings", 5));
    DWORD type = 0;
    std::string raw;
    WCHECK(ReadRaw(section, "LoadDefaultSettings", type, raw));
    WCHECK_EQ(type, (DWORD)REG_DWORD);
    WCHECK(raw == std::string("\x05\0\0\0", 4));
    WCHECK_EQ(app.GetProfileInt("Options", "LoadDefaultSettings", 7), 5u);
    WCHECK(app.WriteProfileInt("Options", "Negative", -2));
    WCHECK_EQ((int)app.GetProfileInt("Options", "Negative", 0), -2);

    WCHECK(app.WriteProfileString("Options", "Name", "Tarvane"));
    WCHECK(ReadRaw(section, "Name", type, raw));
    WCHECK_EQ(type, (DWORD)REG_SZ);
    WCHECK_EQ(std::string(app.GetProfileString("Options", "Name")), "Tarvane");
    // A value of another type is not an integer.
    WCHECK_EQ(app.GetProfileInt("Options", "Name", 3), 3u);
    WCHECK_EQ(std::string(app.GetProfileString("Options", "Missing", "fallback")), "fallback");
    WCHECK_EQ(std::string(app.GetProfileString("Options", "Missing")), "");

    BYTE blob[] = {1, 0, 2, 0xFF, 0};
    WCHECK(app.WriteProfileBinary("Options", "Blob", blob, sizeof blob));
    LPBYTE got = nullptr;
    UINT bytes = 0;
    WCHECK(app.GetProfileBinary("Options", "Blob", &got, &bytes));
    WCHECK_EQ(bytes, (UINT)sizeof blob);
    WCHECK(got && std::memcmp(got, blob, sizeof blob) == 0);
    delete[] got;
    WCHECK(!app.GetProfileBinary("Options", "Missing", &got, &bytes));
    WCHECK(got == nullptr);

    // A null value removes the entry, a null entry the section.
    WCHECK(app.WriteProfileString("Options", "Name", nullptr));
    WCHECK(!ReadRaw(section, "Name", type, raw));
    WCHECK(app.WriteProfileString("Options", nullptr, nullptr));
    WCHECK(!KeyExists(section));
    WCHECK_EQ(app.GetProfileInt("Options", "LoadDefaultSettings", 9), 9u);

    WCHECK(app.WriteProfileInt("Settings", "PreviewPages", 2));
    app.LoadStdProfileSettings(0);
    WCHECK_EQ(app.m_nNumPreviewPages, 2u);
    WCHECK(app.m_pRecentFileList == nullptr);
}

WTEST(without_a_registry_key_the_profile_is_an_ini_file)
{
    CWinApp app("Ini App");
    WCHECK(app.WriteProfileInt("Window", "Width", 640));
    WCHECK_EQ(::GetPrivateProfileIntA("Window", "Width", 0, "mfc_app_guitest.INI"), 640u);
    WCHECK_EQ(app.GetProfileInt("Window", "Width", 0), 640u);
    WCHECK(app.WriteProfileString("Window", "Title", "Inventory"));
    WCHECK_EQ(std::string(app.GetProfileString("Window", "Title")), "Inventory");
    std::string longText(700, 'x');  // longer than a first read
    WCHECK(app.WriteProfileString("Window", "Long", longText.c_str()));
    WCHECK_EQ(std::string(app.GetProfileString("Window", "Long")), longText);
    BYTE blob[] = {0xAB, 0, 0x10};
    WCHECK(app.WriteProfileBinary("Window", "Blob", blob, sizeof blob));
    LPBYTE got = nullptr;
    UINT bytes = 0;
    WCHECK(app.GetProfileBinary("Window", "Blob", &got, &bytes));
    WCHECK_EQ(bytes, 3u);
    WCHECK(got && std::memcmp(got, blob, sizeof blob) == 0);
    delete[] got;
    WCHECK(app.WriteProfileString("Window", nullptr, nullptr));
    WCHECK_EQ(app.GetProfileInt("Window", "Width", 1), 1u);
}

WTEST(the_application_is_named_by_string_57344)
{
    {
        CWinApp app;
        WCHECK_EQ(std::string(app.m_pszAppName), "App Probe Title");
        WCHECK_EQ(std::string(AfxGetAppName()), "App Probe Title");
        WCHECK_EQ(std::string(app.m_pszExeName), "mfc_app_guitest");
        app.SetRegistryKey("Tarvane");
        WCHECK_EQ(std::string(app.m_pszProfileName), "App Probe Title");
    }
    // The library's application, made without a name, takes the library's string.
    WCHECK_EQ(std::string(PeerApp()->m_pszAppName), "Peer Library Title");
    WCHECK_EQ(std::string(PeerApp()->m_pszExeName), "mfc_app_peer");
}

WTEST(command_line_parameters)
{
    struct Case {
        std::vector<const char*> args;
        int command;
        const char* file;
        const char* printer;
        const char* port;
        BOOL splash;
    };
    using I = CCommandLineInfo;
    const Case cases[] = {
        {{}, I::FileNew, "", "", "", TRUE},
        {{"inventory.dvk"}, I::FileOpen, "inventory.dvk", "", "", TRUE},
        {{"/p", "report.dvk"}, I::FilePrint, "report.dvk", "", "", TRUE},
        {{"-pt", "a.dvk", "Printer", "Driver", "Port"}, I::FilePrintTo, "a.dvk", "Printer", "Port", TRUE},
        {{"/Embedding"}, I::FileNew, "", "", "", FALSE},
        {{"-unregserver"}, I::AppUnregister, "", "", "", TRUE},
        {{"/dde"}, I::FileDDE, "", "", "", TRUE},
        {{"first", "second"}, I::FileOpen, "first", "", "", TRUE},
    };
    CWinApp app("Cmd App");
    int savedArgc = __argc;
    char** savedArgv = __argv;
    for (const Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("prog.exe")};
        for (const char* a : c.args) argv.push_back(const_cast<char*>(a));
        argv.push_back(nullptr);
        __argc = (int)argv.size() - 1;
        __argv = argv.data();
        CCommandLineInfo info;
        app.ParseCommandLine(info);
        std::string what = c.args.empty() ? "(none)" : c.args[0];
        if (info.m_nShellCommand != c.command || std::string(info.m_strFileName) != c.file ||
            std::string(info.m_strPrinterName) != c.printer || std::string(info.m_strPortName) != c.port ||
            info.m_bShowSplash != c.splash)
            wtest::fail(__FILE__, __LINE__, "arguments starting " + what + ": command " +
                                                std::to_string(info.m_nShellCommand) + ", file " +
                                                std::string(info.m_strFileName));
    }
    __argc = savedArgc;
    __argv = savedArgv;
}

namespace {

POINT Hotspot(HCURSOR c)
{
    ICONINFO info{};
    if (!c || !::GetIconInfo(c, &info)) return POINT{-1, -1};
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    return POINT{(LONG)info.xHotspot, (LONG)info.yHotspot};
}

// The icon's colour at its centre, drawn into a 32-bit DIB.
COLORREF IconColour(HICON icon)
{
    if (!icon) return CLR_INVALID;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 32;
    bi.bmiHeader.biHeight = -32;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bmp = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    ::DrawIconEx(dc, 0, 0, icon, 32, 32, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
    DWORD px = static_cast<DWORD*>(bits)[16 * 32 + 16];
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
    return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
}

}  // namespace

WTEST(cursors_icons_and_image_lists_load_through_the_module_chain)
{
    CWinApp app("Chain App");
    // The program's own resource first, the library's under the library's state, a
    // resource only the library has from anywhere.
    POINT exe = Hotspot(app.LoadCursor(ID_SHARED_CURSOR));
    WCHECK_EQ(exe.x, 3L);
    POINT peer = Hotspot(PeerLoadCursor(ID_SHARED_CURSOR));
    WCHECK_EQ(peer.x, 7L);
    POINT peerOnly = Hotspot(app.LoadCursor(ID_PEER_ONLY_CURSOR));
    WCHECK_EQ(peerOnly.x, 11L);
    WCHECK(app.LoadCursor(999) == nullptr);
    WCHECK(app.LoadStandardCursor(IDC_IBEAM) == ::LoadCursorA(nullptr, IDC_IBEAM));
    WCHECK(app.LoadOEMCursor(32512) == ::LoadCursorA(nullptr, IDC_ARROW));

    WCHECK_EQ(IconColour(app.LoadIcon(ID_SHARED_ICON)), RGB(255, 0, 0));
    WCHECK_EQ(IconColour(PeerLoadIcon(ID_SHARED_ICON)), RGB(0, 0, 255));
    WCHECK(app.LoadStandardIcon(IDI_APPLICATION) == ::LoadIconA(nullptr, IDI_APPLICATION));

    CImageList exeList;
    WCHECK(exeList.Create(ID_SHARED_STRIP, 16, 0, CLR_NONE));
    WCHECK_EQ(exeList.GetImageCount(), 2);  // the program's strip: 32 pixels wide
    WCHECK_EQ(PeerImageCount(ID_SHARED_STRIP), 3);  // the library's: 48 pixels wide
    CImageList missing;
    WCHECK(!missing.Create(ID_MISSING_STRIP, 16, 0, CLR_NONE));
}

namespace {

class COleProbeApp : public CWinApp {
public:
    HRESULT during = E_FAIL;
    COleProbeApp() : CWinApp("Ole Probe") {}
    BOOL InitInstance() override
    {
        during = ::OleInitialize(nullptr);  // S_FALSE: already initialised on this thread
        if (SUCCEEDED(during)) ::OleUninitialize();
        return FALSE;
    }
};

}  // namespace

WTEST(ole_is_initialised_for_the_programs_run)
{
    COleProbeApp app;
    WCHECK_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW), 0);
    WCHECK_EQ(app.during, S_FALSE);
    // Uninitialised again after the run.
    HRESULT after = ::OleInitialize(nullptr);
    WCHECK_EQ(after, S_OK);
    if (SUCCEEDED(after)) ::OleUninitialize();
}

namespace {

class CMainProbe : public CWnd {
public:
    int preTranslated = 0;
    int idleUpdates = 0;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) ++preTranslated;
        return CWnd::PreTranslateMessage(msg);
    }
    LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++idleUpdates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainProbe, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

}  // namespace

WTEST(library_hooks_run_under_the_librarys_state)
{
    CWinApp app("Hook App");
    CMainProbe main;
    WCHECK(main.CreateEx(0, nullptr, "main", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0));
    main.ShowWindow(SW_SHOWNA);
    app.m_pMainWnd = &main;
    CPeerWnd* child = PeerCreateWindow(&main);
    CPeerWnd* frame = PeerCreateWindow(nullptr);
    WCHECK(child && frame);
    if (!child || !frame) return;
    PeerStats& stats = PeerGetStats();

    // The library's filter: its application under its state; only its own windows.
    MSG key{child->m_hWnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    WCHECK(!FilterDllMsg(&key));
    WCHECK_EQ(stats.preTranslated, 1);
    WCHECK(stats.stateInFilter == PeerModuleState());
    WCHECK_EQ(child->preTranslated, 1);
    WCHECK_EQ(main.preTranslated, 0);
    // The program's own pass takes its windows and leaves the library's alone.
    WCHECK(!app.PreTranslateMessage(&key));
    WCHECK_EQ(child->preTranslated, 1);
    WCHECK_EQ(main.preTranslated, 1);

    // The library's idle: OnIdle 0, 1 under its state; updates only its own frames.
    stats.idleCounts.clear();
    ProcessDllIdle();
    WCHECK(stats.idleCounts == std::vector<LONG>({0, 1}));
    WCHECK(stats.stateInIdle == PeerModuleState());
    WCHECK_EQ(frame->idleUpdates, 1);
    WCHECK_EQ(main.idleUpdates, 0);
    // The program's idle updates everything.
    WCHECK(app.OnIdle(0));
    WCHECK_EQ(main.idleUpdates, 1);
    WCHECK_EQ(frame->idleUpdates, 2);

    // Exceptions end the hooks without leaving them.
    unsigned caught = AfxGetFirewallCount();
    stats.throwInFilter = true;
    WCHECK(!FilterDllMsg(&key));
    stats.throwInFilter = false;
    stats.throwInIdle = true;
    stats.idleCounts.clear();
    ProcessDllIdle();
    stats.throwInIdle = false;
    WCHECK(stats.idleCounts == std::vector<LONG>({0}));
    WCHECK_EQ(AfxGetFirewallCount(), caught + 2);
    WCHECK(AfxGetModuleState() != PeerModuleState());  // the program's state is back

    frame->DestroyWindow();
    delete frame;
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
    delete child;
}
