// g_PaintManager: installation of the current paint manager, the registry of
// themed windows and the relay of system changes, the operating-system facts,
// visual-style detection and the optional functions bound by name.
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "commands/cmd_manager.h"
#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"
#include "paint/paint_log.h"
#include "paint/pm_bridge.h"
#include "toolkit/bar_types.h"

using AutoPtr = VEzaPaintManager::VEzaPaintManagerAutoPtr;

// g_PaintManager itself is defined with the library's other process-wide
// objects, right after g_CmdManager (toolkit/static_init.cpp).

namespace {

// The command manager relays only what this holder accepts as a source.
bool CmdManagerSourceTest(CWnd* wnd) { return g_PaintManager.IsNotificationSourceWnd(wnd); }

// Command icons take their variant colour and lightness from the current
// paint manager.
void IconAlphaQuery(COLORREF* color, double* percent) {
    const VEzaPaintManager* pm = g_PaintManager.GetPM();
    *color = pm != nullptr ? pm->GetIconAlphaColor() : COLORREF(-1);
    *percent = pm != nullptr ? pm->GetIconAlphaAdjustPercent() : 0.0;
}

template <class F>
F Bind(HMODULE module, const char* name) {
    return module != nullptr ? reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
                             : nullptr;
}

void Lower(WCHAR* text) {
    for (; *text != L'\0'; ++text) *text = WCHAR(std::towlower(*text));
}

}  // namespace

AutoPtr::VEzaPaintManagerAutoPtr() : m_mapBridges(10), m_strOsVer("Unknown") {
    std::memset(&m_osVerData, 0, sizeof m_osVerData);
    m_osVerData.dwOSVersionInfoSize = sizeof m_osVerData;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool known = ::GetVersionExA(&m_osVerData) != FALSE;
#pragma GCC diagnostic pop
    if (known) InitOsFlags(m_osVerData);
    stat_DetectXpTheme();

    m_hDllMsImg = ::LoadLibraryA("msimg32.dll");
    m_pfnGradientFill = Bind<PfnGradientFill>(m_hDllMsImg, "GradientFill");
    m_pfnAlphaBlend = Bind<PfnAlphaBlend>(m_hDllMsImg, "AlphaBlend");
    m_pfnAlphaDIBBlend = Bind<PfnAlphaDIBBlend>(m_hDllMsImg, "AlphaDIBBlend");
    m_pfnTransparentBlt = Bind<PfnTransparentBlt>(m_hDllMsImg, "TransparentBlt");
    m_pfnTransparentDIBits = Bind<PfnTransparentDIBits>(m_hDllMsImg, "TransparentDIBits");
    m_hDllUser32 = ::LoadLibraryA("user32.dll");
    m_pfnAnimateWindow = Bind<PfnAnimateWindow>(m_hDllUser32, "AnimateWindow");
    m_pfnSetLayeredWindowAttributes = Bind<PfnSetLayeredWindowAttributes>(m_hDllUser32, "SetLayeredWindowAttributes");
    m_pfnUpdateLayeredWindow = Bind<PfnUpdateLayeredWindow>(m_hDllUser32, "UpdateLayeredWindow");

    if (m_pPaintManager == nullptr) InstallPaintManager(static_cast<VEzaPaintManager*>(nullptr));
    if (this == &g_PaintManager) {
        VEzaCmdManager::VEzaCmdManagerAutoPtr::SetNotificationSourceTest(&CmdManagerSourceTest);
        VEzaCmdIcon::SetPaintManagerAlphaQuery(&IconAlphaQuery);
    }
}

AutoPtr::~VEzaPaintManagerAutoPtr() {
    if (this == &g_PaintManager) {
        VEzaCmdManager::VEzaCmdManagerAutoPtr::SetNotificationSourceTest(nullptr);
        VEzaCmdIcon::SetPaintManagerAlphaQuery(nullptr);
    }
    m_mapBridges.RemoveAll();
    m_pfnGradientFill = nullptr;
    m_pfnAlphaBlend = nullptr;
    m_pfnAlphaDIBBlend = nullptr;
    m_pfnTransparentBlt = nullptr;
    m_pfnTransparentDIBits = nullptr;
    m_pfnAnimateWindow = nullptr;
    m_pfnSetLayeredWindowAttributes = nullptr;
    m_pfnUpdateLayeredWindow = nullptr;
    if (m_hDllMsImg != nullptr) ::FreeLibrary(m_hDllMsImg);
    if (m_hDllUser32 != nullptr) ::FreeLibrary(m_hDllUser32);
    delete m_pPaintManager;
    m_pPaintManager = nullptr;
    // The visual-style binding closes its theme and frees its module.
}

void AutoPtr::InitOsFlags(const OSVERSIONINFOA& v) {
    m_wOsFlags &= OsThemeColorsRead;
    CString name;
    switch (v.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        m_wOsFlags |= OsWin32s;
        name = "Win32s";
        break;
    case VER_PLATFORM_WIN32_WINDOWS:
        m_wOsFlags |= OsWin9x;
        name = "Windows ";
        if (v.dwMajorVersion > 4 || (v.dwMajorVersion == 4 && v.dwMinorVersion != 0)) m_wOsFlags |= OsWin98orLater;
        if (v.dwMajorVersion == 4 && v.dwMinorVersion == 0) m_wOsFlags |= OsWin95;
        if (v.dwMajorVersion == 4 && v.dwMinorVersion != 0) m_wOsFlags |= OsWin98;
        if (!HasOs(OsWin98orLater))
            name += "95";
        else
            name += HasOs(OsWin98) ? "98" : "98 or later";
        break;
    case VER_PLATFORM_WIN32_NT:
        m_wOsFlags |= OsWinNT;
        name = "Windows NT";
        if (v.dwMajorVersion == 4) m_wOsFlags |= OsWinNT4;
        if (v.dwMajorVersion == 5 && v.dwMinorVersion == 0) {
            m_wOsFlags |= OsWin2000;
            name = "Windows 2000";
        }
        if (v.dwMajorVersion == 5 && v.dwMinorVersion == 1) {
            m_wOsFlags |= OsWinXP;
            name = "Windows XP";
        }
        if (v.dwMajorVersion == 5 && v.dwMinorVersion >= 2) name.Empty();
        if (v.dwMajorVersion > 3) m_wOsFlags |= OsWinNT4orLater;
        if (v.dwMajorVersion > 4) m_wOsFlags |= OsWin2000orLater;
        if (v.dwMajorVersion > 4 && !(v.dwMajorVersion == 5 && v.dwMinorVersion == 0)) m_wOsFlags |= OsWinXPorLater;
        break;
    default:
        break;
    }
    m_strOsVer.Format("%s v.%lu.%lu (build %lu) %s", (LPCSTR)name, (unsigned long)v.dwMajorVersion,
                      (unsigned long)v.dwMinorVersion, (unsigned long)v.dwBuildNumber, v.szCSDVersion);
}

void AutoPtr::stat_DetectXpTheme() {
    m_wOsFlags &= WORD(~OsThemeColorsRead);
    m_eXpScheme = 0;
    if (!m_UxTheme.IsAppThemed()) return;
    WCHAR file[260] = {}, colour[260] = {};
    if (m_UxTheme.GetCurrentThemeName(file, 260, colour, 260, nullptr, 0) == S_OK) {
        Lower(file);
        Lower(colour);
        if (std::wcsstr(file, L"luna.msstyles") != nullptr) {
            if (std::wcscmp(colour, L"normalcolor") == 0)
                m_eXpScheme = 1;
            else if (std::wcscmp(colour, L"homestead") == 0)
                m_eXpScheme = 2;
            else if (std::wcscmp(colour, L"metallic") == 0)
                m_eXpScheme = 3;
        }
    }
    HTHEME theme = m_UxTheme.OpenThemeData(::GetDesktopWindow(), L"TASKBAND");
    if (theme != nullptr) {
        static const int kProperties[7] = {3804, 3805, 3806, 3807, 3808, 3821, 3823};
        int read = 0;
        for (int prop : kProperties) {
            COLORREF c = 0;
            if (m_UxTheme.GetThemeColor(2, 0, prop, &c) != S_OK) break;
            m_clrThemeColors[read++] = c;
        }
        if (read == 7) m_wOsFlags |= OsThemeColorsRead;
        m_UxTheme.CloseThemeData(theme);
    }
    m_UxTheme.ResetOpenTheme();
}

bool AutoPtr::InstallPaintManager(VEzaPaintManager* manager) {
    if (m_pPaintManager != nullptr) {
        if (m_pPaintManager == manager) return true;
        delete m_pPaintManager;
        m_pPaintManager = nullptr;
    }
    if (manager == nullptr) {
        manager = new VEzaPaintManagerXP;
        if (!manager->IsKindOf(RUNTIME_CLASS(VEzaPaintManager))) {
            delete manager;
            return false;
        }
    }
    m_pPaintManager = manager;
    manager->SyncSysColors();
    manager->InitTranslatedColors();
    manager->InitHelperBrushes();
    for (VEzaPmBridge* bridge : SnapshotBridges())
        if (IsBridgeRegistered(bridge)) bridge->PmBridge_OnPaintManagerChanged(manager);
    return true;
}

bool AutoPtr::InstallPaintManager(CRuntimeClass* managerClass) {
    if (managerClass == nullptr || !managerClass->IsDerivedFrom(RUNTIME_CLASS(VEzaPaintManager))) {
        PaintLogFailure("InstallPaintManager: %s is not a paint manager class",
                        managerClass != nullptr ? managerClass->m_lpszClassName : "no class");
        return false;
    }
    CObject* object = managerClass->CreateObject();
    if (object == nullptr) {
        PaintLogFailure("InstallPaintManager: %s cannot be created", managerClass->m_lpszClassName);
        return false;
    }
    if (!object->IsKindOf(RUNTIME_CLASS(VEzaPaintManager))) {
        delete object;
        return false;
    }
    return InstallPaintManager(static_cast<VEzaPaintManager*>(object));
}

void AutoPtr::RegisterBridge(VEzaPmBridge* bridge) {
    if (bridge != nullptr) m_mapBridges.SetAt(bridge, nullptr);
}

bool AutoPtr::UnregisterBridge(VEzaPmBridge* bridge) { return m_mapBridges.RemoveKey(bridge) != FALSE; }

bool AutoPtr::IsBridgeRegistered(VEzaPmBridge* bridge) const {
    void* value = nullptr;
    return m_mapBridges.Lookup(bridge, value) != FALSE;
}

std::vector<VEzaPmBridge*> AutoPtr::SnapshotBridges() const {
    std::vector<VEzaPmBridge*> bridges;
    POSITION pos = m_mapBridges.GetStartPosition();
    while (pos != nullptr) {
        VEzaPmBridge* bridge = nullptr;
        void* value = nullptr;
        m_mapBridges.GetNextAssoc(pos, bridge, value);
        bridges.push_back(bridge);
    }
    return bridges;
}

bool AutoPtr::IsNotificationSourceWnd(CWnd* wnd) {
    if (wnd == nullptr) return true;
    if (wnd->IsKindOf(RUNTIME_CLASS(VEzaStatusControlBar))) return true;
    CFrameWnd* frame =
        wnd->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ? static_cast<CFrameWnd*>(wnd) : wnd->GetParentFrame();
    if (frame == nullptr) return true;
    if (frame->IsKindOf(RUNTIME_CLASS(VEzaMiniDockFrameWnd))) frame = frame->GetParentFrame();
    if (frame == nullptr || frame->IsKindOf(RUNTIME_CLASS(CMiniFrameWnd))) return true;
    CControlBar* status = frame->GetControlBar(AFX_IDW_STATUS_BAR);
    if (status != nullptr && status->IsKindOf(RUNTIME_CLASS(VEzaStatusControlBar))) return status == wnd;
    for (UINT id : {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}) {
        CControlBar* bar = frame->GetControlBar(id);
        if (bar != nullptr && bar->IsKindOf(RUNTIME_CLASS(VEzaDockOuterBar))) return bar == wnd;
    }
    // Without those, the frame's MDI tab window (its first such child) relays.
    for (HWND child = ::GetWindow(frame->GetSafeHwnd(), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        CWnd* object = CWnd::FromHandlePermanent(child);
        if (object != nullptr && object->IsKindOf(RUNTIME_CLASS(VEzaTabMdiWnd)) &&
            static_cast<VEzaTabMdiWnd*>(object)->_IsMdiTabCtrl())
            return object == wnd;
    }
    return true;
}

template <class Call>
static void Broadcast(AutoPtr& holder, const std::vector<VEzaPmBridge*>& bridges, Call call) {
    for (VEzaPmBridge* bridge : bridges)
        if (holder.IsBridgeRegistered(bridge)) call(bridge);
}

void AutoPtr::OnSysColorChange(CWnd* wnd) {
    if (!IsNotificationSourceWnd(wnd)) return;
    m_pPaintManager->OnSysColorChange();
    VEzaPaintManager* pm = m_pPaintManager;
    Broadcast(*this, SnapshotBridges(), [&](VEzaPmBridge* b) { b->PmBridge_OnSysColorChange(pm, wnd); });
}

void AutoPtr::OnSettingChange(CWnd* wnd, UINT flags, LPCSTR section) {
    if (!IsNotificationSourceWnd(wnd)) return;
    m_bChanged = false;
    m_pPaintManager->OnSettingChange(flags, section);
    VEzaPaintManager* pm = m_pPaintManager;
    Broadcast(*this, SnapshotBridges(), [&](VEzaPmBridge* b) { b->PmBridge_OnSettingChange(pm, wnd, flags, section); });
}

void AutoPtr::OnDisplayChange(CWnd* wnd, INT bitsPerPixel, CPoint resolution) {
    if (!IsNotificationSourceWnd(wnd)) return;
    m_bChanged = false;
    m_pPaintManager->OnDisplayChange(bitsPerPixel, resolution);
    VEzaPaintManager* pm = m_pPaintManager;
    Broadcast(*this, SnapshotBridges(), [&](VEzaPmBridge* b) {
        b->PmBridge_OnDisplayChange(pm, wnd, bitsPerPixel, resolution.x, resolution.y);
    });
}

void AutoPtr::OnThemeChanged(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
    if (!IsNotificationSourceWnd(wnd)) return;
    m_bChanged = false;
    m_pPaintManager->OnThemeChanged(wParam, lParam);
    VEzaPaintManager* pm = m_pPaintManager;
    Broadcast(*this, SnapshotBridges(), [&](VEzaPmBridge* b) { b->PmBridge_OnThemeChanged(pm, wnd, wParam, lParam); });
}

int AutoPtr::GetMouseWheelScrollLines() {
    if (m_nWheelScrollLines == 0) {
        UINT lines = 3;
        if (!HasOs(OsWin95)) ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
        m_nWheelScrollLines = int(lines) < 2 ? 2 : int(lines);
    }
    return m_nWheelScrollLines;
}
