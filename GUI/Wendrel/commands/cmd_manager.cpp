#include "commands/cmd_manager.h"

#include <memory>

#include "icons/cmd_icon.h"

namespace {

LPCSTR NameOrDefault(LPCSTR name) { return (name == nullptr || *name == '\0') ? "default" : name; }

VEzaCmdManager::VEzaCmdManagerAutoPtr::SourceTest g_sourceTest = nullptr;

}  // namespace

VEzaCmdManager::VEzaCmdManager() : m_profiles(10), m_wndBindings(10) {
    m_wndBindings.InitHashTable(17);
    ProfileSetup("default");
}

VEzaCmdManager::~VEzaCmdManager() {
    POSITION pos = m_profiles.GetStartPosition();
    while (pos != nullptr) {
        CString name;
        void* p;
        m_profiles.GetNextAssoc(pos, name, p);
        delete static_cast<VEzaCmdProfile*>(p);
    }
    m_profiles.RemoveAll();
    m_wndBindings.RemoveAll();
}

VEzaCmdProfile* VEzaCmdManager::Find(LPCSTR name) {
    void* p = nullptr;
    return m_profiles.Lookup(NameOrDefault(name), p) ? static_cast<VEzaCmdProfile*>(p) : nullptr;
}

VEzaCmdProfile* VEzaCmdManager::ProfileGetPtr(LPCSTR name) { return Find(name); }

void VEzaCmdManager::CmdRemoveAll(LPCSTR profile) {
    if (VEzaCmdProfile* p = Find(profile)) p->CmdRemoveAll();
}

#define VEZA_FOR_EACH_PROFILE(call)                  \
    POSITION pos = m_profiles.GetStartPosition();   \
    while (pos != nullptr) {                        \
        CString name;                               \
        void* p;                                    \
        m_profiles.GetNextAssoc(pos, name, p);      \
        static_cast<VEzaCmdProfile*>(p)->call;      \
    }

void VEzaCmdManager::OnSysColorChange() { VEZA_FOR_EACH_PROFILE(OnSysColorChange()) }
void VEzaCmdManager::OnSettingChange(UINT flags, LPCSTR section) {
    VEZA_FOR_EACH_PROFILE(OnSettingChange(flags, section))
}
void VEzaCmdManager::OnDisplayChange(int bitsPerPixel, int cx, int cy) {
    VEZA_FOR_EACH_PROFILE(OnDisplayChange(bitsPerPixel, cx, cy))
}
void VEzaCmdManager::OnThemeChanged(WPARAM wParam, LPARAM lParam) {
    VEZA_FOR_EACH_PROFILE(OnThemeChanged(wParam, lParam))
}
#undef VEZA_FOR_EACH_PROFILE

bool VEzaCmdManager::CmdSetup(LPCSTR profile, const VEzaCmdItem& item, bool replace, bool* added) {
    if (added != nullptr) *added = false;
    VEzaCmdProfile* p = Find(profile);
    return p != nullptr && p->CmdSetup(item, replace, added);
}

bool VEzaCmdManager::CmdRemove(LPCSTR profile, UINT id, bool* removed) {
    if (removed != nullptr) *removed = false;
    VEzaCmdProfile* p = Find(profile);
    return p != nullptr && p->CmdRemove(id, removed);
}

bool VEzaCmdManager::CmdRemoveByMask(LPCSTR profile, DWORD maskA, DWORD maskB, bool allOfA, bool allOfB) {
    VEzaCmdProfile* p = Find(profile);
    if (p == nullptr) return false;
    p->CmdRemoveByMask(maskA, maskB, allOfA, allOfB);
    return true;
}

VEzaCmdItem* VEzaCmdManager::CmdAllocPtr(LPCSTR profile, UINT id) {
    VEzaCmdProfile* p = Find(profile);
    return p ? p->CmdAllocPtr(id) : nullptr;
}

VEzaCmdItem* VEzaCmdManager::CmdGetPtr(LPCSTR profile, UINT id) {
    VEzaCmdProfile* p = Find(profile);
    return p ? p->CmdGetPtr(id) : nullptr;
}

VEzaCmdItem* VEzaCmdManager::GetOrCreateCommand(LPCSTR profile, UINT id) {
    VEzaCmdProfile* p = Find(profile);
    if (p == nullptr) return nullptr;
    if (id != 0)
        if (VEzaCmdItem* item = p->CmdGetPtr(id)) return item;
    return p->CmdAllocPtr(id);
}

VEzaCmdIcon* VEzaCmdManager::CmdGetIconPtr(LPCSTR profile, UINT id) {
    VEzaCmdProfile* p = Find(profile);
    return p ? p->CmdGetIconPtr(id) : nullptr;
}

bool VEzaCmdManager::CmdSetIcon(LPCSTR profile, UINT id, HBITMAP bitmap, COLORREF transparent, const RECT* part) {
    VEzaCmdProfile* p = Find(profile);
    if (p == nullptr) return false;
    auto icon = std::make_unique<VEzaCmdIcon>();
    if (bitmap != nullptr) icon->AssignFromHBITMAP(bitmap, transparent, part, true);
    return p->CmdSetIcon(id, icon.release(), true);
}

bool VEzaCmdManager::UpdateFromMenu(LPCSTR profile, UINT menuId, bool replace, bool loadTips) {
    VEzaCmdProfile* p = Find(profile);
    return p != nullptr && p->UpdateFromMenu(menuId, replace, loadTips);
}

bool VEzaCmdManager::UpdateFromMenu(LPCSTR profile, HMENU menu, bool replace, bool recursive, bool loadTips) {
    VEzaCmdProfile* p = Find(profile);
    return p != nullptr && p->UpdateFromMenu(menu, replace, recursive, loadTips);
}

bool VEzaCmdManager::ProfileSetup(LPCSTR name, HWND hwnd, VEzaCmdProfile* profile) {
    name = NameOrDefault(name);
    if (Find(name) == nullptr) m_profiles.SetAt(name, profile != nullptr ? profile : new VEzaCmdProfile(name));
    if (hwnd == nullptr) return true;
    return ProfileWndAdd(name, hwnd);
}

bool VEzaCmdManager::ProfileWndAdd(LPCSTR name, HWND hwnd) {
    if (hwnd == nullptr) return false;
    VEzaCmdProfile* p = Find(name);
    if (p == nullptr) return false;
    VEzaCmdProfile* bound = nullptr;
    if (!m_wndBindings.Lookup(hwnd, bound)) m_wndBindings.SetAt(hwnd, p);
    return true;
}

bool VEzaCmdManager::ProfileWndRemove(HWND hwnd, bool, bool* removed) {
    bool gone = hwnd != nullptr && m_wndBindings.RemoveKey(hwnd);
    if (removed != nullptr) *removed = gone;
    return hwnd != nullptr;
}

LPCSTR VEzaCmdManager::ProfileNameFromWnd(HWND hwnd) {
    while (hwnd != nullptr) {
        VEzaCmdProfile* p = nullptr;
        if (m_wndBindings.Lookup(hwnd, p)) return p->m_sName;
        HWND parent = ::GetParent(hwnd);
        if (parent == nullptr) return nullptr;
        // A docked bar's parent is a dock bar; the bar's commands are its frame's.
        CControlBar* bar = DYNAMIC_DOWNCAST(CControlBar, CWnd::FromHandlePermanent(parent));
        if (bar != nullptr && !bar->IsDockBar() && bar->m_pDockSite != nullptr &&
            bar->m_pDockSite->GetSafeHwnd() != nullptr)
            hwnd = bar->m_pDockSite->GetSafeHwnd();
        else
            hwnd = parent;
    }
    return nullptr;
}

bool VEzaCmdManager::SerializeState(LPCSTR profile, LPCSTR regKeyName, LPCSTR appName, bool save, HKEY root,
                                    bool throwOnError) {
    VEzaCmdProfile* p = Find(profile);
    return p != nullptr && p->SerializeState(regKeyName, appName, save, root, throwOnError);
}

VEzaCmdManager::VEzaCmdManagerAutoPtr::VEzaCmdManagerAutoPtr() : m_pManager(new VEzaCmdManager) {}

VEzaCmdManager::VEzaCmdManagerAutoPtr::~VEzaCmdManagerAutoPtr() {
    delete m_pManager;
    m_pManager = nullptr;
}

VEzaCmdManager::VEzaCmdManagerAutoPtr::SourceTest VEzaCmdManager::VEzaCmdManagerAutoPtr::SetNotificationSourceTest(
    SourceTest test) {
    const SourceTest previous = g_sourceTest;
    g_sourceTest = test;
    return previous;
}

bool VEzaCmdManager::VEzaCmdManagerAutoPtr::IsSource(CWnd* wnd) const {
    return m_pManager != nullptr && (g_sourceTest == nullptr || g_sourceTest(wnd));
}

void VEzaCmdManager::VEzaCmdManagerAutoPtr::OnSysColorChange(CWnd* wnd) {
    if (IsSource(wnd)) m_pManager->OnSysColorChange();
}

void VEzaCmdManager::VEzaCmdManagerAutoPtr::OnSettingChange(CWnd* wnd, UINT flags, LPCSTR section) {
    if (IsSource(wnd)) m_pManager->OnSettingChange(flags, section);
}

void VEzaCmdManager::VEzaCmdManagerAutoPtr::OnDisplayChange(CWnd* wnd, int bitsPerPixel, int cx, int cy) {
    if (IsSource(wnd)) m_pManager->OnDisplayChange(bitsPerPixel, cx, cy);
}

void VEzaCmdManager::VEzaCmdManagerAutoPtr::OnThemeChanged(CWnd* wnd, WPARAM wParam, LPARAM lParam) {
    if (IsSource(wnd)) m_pManager->OnThemeChanged(wParam, lParam);
}
