// A command profile: one named set of command items with their icons,
// filled from menus, toolbars and string resources, that can store its usage
// statistics (Serialize) and keep them in the registry (SerializeState). The
// command manager owns every profile. GUI thread only.
#pragma once

#include "afxext.h"
#include "afxtempl.h"
#include "afxwin.h"
#include "commands/cmd_item.h"
#include "wendrel_export.h"

class VEzaCmdIcon;

class WENDREL_API VEzaCmdProfile {
public:
    explicit VEzaCmdProfile(LPCSTR name = nullptr);
    VEzaCmdProfile(const VEzaCmdProfile&) = delete;
    VEzaCmdProfile& operator=(const VEzaCmdProfile&) = delete;

    virtual ~VEzaCmdProfile();
    virtual bool CmdSetup(const VEzaCmdItem& item, bool replace = false, bool* added = nullptr);
    virtual bool CmdRemove(UINT id, bool* removed = nullptr);
    virtual void CmdRemoveAll();
    virtual void CmdRemoveByMask(DWORD maskA, DWORD maskB = 0, bool allOfA = false, bool allOfB = false);
    virtual VEzaCmdItem* CmdAllocPtr(UINT id = 0);
    virtual VEzaCmdItem* CmdGetPtr(UINT id);
    virtual bool CmdSetIcon(UINT id, VEzaCmdIcon* icon, bool adopt);
    virtual VEzaCmdIcon* CmdGetIconPtr(UINT id);
    virtual bool CmdIsRegistered(UINT id);
    virtual bool UpdateFromMenu(UINT menuId, bool replace = false, bool loadTips = true);
    virtual bool UpdateFromMenu(HMENU menu, bool replace = false, bool recursive = true, bool loadTips = true);
    // The caller frees *ids with delete[].
    virtual bool UpdateFromToolBar(UINT resourceId, UINT** ids = nullptr, INT* count = nullptr,
                                   bool replace = false, bool loadTips = true,
                                   COLORREF transparent = RGB(192, 192, 192));
    virtual bool UpdateFromToolBar(CToolBar* bar, bool replace = false, bool loadTips = true);
    virtual bool SetBasicCommands(const UINT* ids, bool basic = true);
    virtual bool Serialize(CArchive& ar, bool rethrow = false);
    virtual bool SerializeState(LPCSTR regKeyName, LPCSTR appName, bool save, HKEY root = HKEY_CURRENT_USER,
                                bool throwOnError = false);
    virtual void OnSysColorChange();
    virtual void OnSettingChange(UINT flags, LPCSTR section);
    virtual void OnDisplayChange(int bitsPerPixel, int cx, int cy);
    virtual void OnThemeChanged(WPARAM wParam, LPARAM lParam);
    virtual void ResetUsageStatistics();
    virtual void AssignFrom(const VEzaCmdProfile& other);
    virtual VEzaCmdItem* CreateCmdItem(const VEzaCmdItem& item);

    CString m_sName;
    UINT m_nRarelyUsedPercent = 10;
    UINT m_nTotalUsage = 0;
    CMap<UINT, UINT, VEzaCmdItem*, VEzaCmdItem*> m_cmds;
    CArray<VEzaCmdIcon*, VEzaCmdIcon*> m_icons;
    DWORD m_dwReserved = 0;

private:
    // Drops icon index idx from the array; items above it move down by one.
    void RemoveIconAt(int idx);
};
