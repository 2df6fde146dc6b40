// The process-wide command manager: command profiles by name (it owns them)
// and the binding of windows to profiles, so that a menu or toolbar finds the
// commands of the frame it belongs to. Held by g_CmdManager, created by the
// library's static initialisation with the profile "default". Every
// operation taking a profile name treats NULL as "default". GUI thread only.
#pragma once

#include "afxtempl.h"
#include "afxwin.h"
#include "commands/cmd_item.h"
#include "commands/cmd_profile.h"
#include "wendrel_export.h"

class VEzaCmdIcon;

class WENDREL_API VEzaCmdManager {
public:
    VEzaCmdManager();
    VEzaCmdManager(const VEzaCmdManager&) = delete;
    VEzaCmdManager& operator=(const VEzaCmdManager&) = delete;
    // Deletes every profile.
    virtual ~VEzaCmdManager();

    virtual void CmdRemoveAll(LPCSTR profile);
    virtual void OnSysColorChange();
    virtual void OnSettingChange(UINT flags, LPCSTR section);
    virtual void OnDisplayChange(int bitsPerPixel, int cx, int cy);
    virtual void OnThemeChanged(WPARAM wParam, LPARAM lParam);

    bool CmdSetup(LPCSTR profile, const VEzaCmdItem& item, bool replace = false, bool* added = nullptr);
    bool CmdRemove(LPCSTR profile, UINT id, bool* removed = nullptr);
    bool CmdRemoveByMask(LPCSTR profile, DWORD maskA, DWORD maskB = 0, bool allOfA = false, bool allOfB = false);
    VEzaCmdItem* CmdAllocPtr(LPCSTR profile, UINT id = 0);
    VEzaCmdItem* CmdGetPtr(LPCSTR profile, UINT id);
    VEzaCmdIcon* CmdGetIconPtr(LPCSTR profile, UINT id);
    // Cuts the part of bitmap (all of it when NULL) into an icon and sets it.
    bool CmdSetIcon(LPCSTR profile, UINT id, HBITMAP bitmap, COLORREF transparent, const RECT* part = nullptr);
    bool UpdateFromMenu(LPCSTR profile, UINT menuId, bool replace = false, bool loadTips = true);
    bool UpdateFromMenu(LPCSTR profile, HMENU menu, bool replace = false, bool recursive = true,
                        bool loadTips = true);
    bool ProfileSetup(LPCSTR name = nullptr, HWND hwnd = nullptr, VEzaCmdProfile* profile = nullptr);
    bool ProfileWndAdd(LPCSTR name, HWND hwnd);
    // Undoes ProfileWndAdd; *removed tells whether a binding went. The flag
    // is taken for the console's call and changes nothing: profiles stay
    // until the manager goes.
    bool ProfileWndRemove(HWND hwnd, bool flag = false, bool* removed = nullptr);
    LPCSTR ProfileNameFromWnd(HWND hwnd);
    VEzaCmdProfile* ProfileGetPtr(LPCSTR name);
    bool SerializeState(LPCSTR profile, LPCSTR regKeyName, LPCSTR appName, bool save,
                        HKEY root = HKEY_CURRENT_USER, bool throwOnError = false);

    // The forms the toolkit's windows use.
    LPCSTR FindProfileName(HWND hwnd) { return ProfileNameFromWnd(hwnd); }
    VEzaCmdItem* LookUpCommand(LPCSTR profile, UINT id) { return CmdGetPtr(profile, id); }
    VEzaCmdItem* GetOrCreateCommand(LPCSTR profile, UINT id);
    static bool IsCommand(UINT id) { return VEzaCmdItem::IsCommandId(id); }

    class WENDREL_API VEzaCmdManagerAutoPtr {
    public:
        VEzaCmdManagerAutoPtr();
        ~VEzaCmdManagerAutoPtr();
        VEzaCmdManagerAutoPtr(const VEzaCmdManagerAutoPtr&) = delete;
        VEzaCmdManagerAutoPtr& operator=(const VEzaCmdManagerAutoPtr&) = delete;
        VEzaCmdManager* operator->() const { return m_pManager; }
        VEzaCmdManager* Get() const { return m_pManager; }

        // System notifications relayed when the paint manager takes the
        // window for a notification source.
        void OnSysColorChange(CWnd* wnd);
        void OnSettingChange(CWnd* wnd, UINT flags, LPCSTR section);
        void OnDisplayChange(CWnd* wnd, int bitsPerPixel, int cx, int cy);
        void OnThemeChanged(CWnd* wnd, WPARAM wParam, LPARAM lParam);

        // The paint manager's notification-source test (installed by the
        // paint manager holder; without one every window is a source).
        // Returns the test it replaces.
        using SourceTest = bool (*)(CWnd* wnd);
        static SourceTest SetNotificationSourceTest(SourceTest test);

    private:
        bool IsSource(CWnd* wnd) const;
        VEzaCmdManager* m_pManager;
    };

private:
    VEzaCmdProfile* Find(LPCSTR name);

    CMapStringToPtr m_profiles;
    CMap<HWND, HWND, VEzaCmdProfile*, VEzaCmdProfile*&> m_wndBindings;
};

WENDREL_API extern VEzaCmdManager::VEzaCmdManagerAutoPtr g_CmdManager;
