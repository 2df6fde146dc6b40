// Classes of the toolkit's menus and popups as far as the foundations use
// them: their run-time classes, the registered messages they own, the colour
// tables of the colour menus, the sound player holder and the customise-site
// map. The menu windows extend these classes. GUI thread only.
#pragma once

#include "afxmt.h"
#include "afxtempl.h"
#include "afxwin.h"
#include "paint/pm_bridge.h"
#include "wendrel_export.h"

// A popup menu is a themed window (in the paint manager's bridge registry
// while it exists), as is the date picker.
class WENDREL_API VEzaPopupMenuWnd : public CWnd, public VEzaPmWndBridge {
    DECLARE_DYNAMIC(VEzaPopupMenuWnd)
public:
    VEzaPopupMenuWnd() : VEzaPmWndBridge(this) {}
    ~VEzaPopupMenuWnd() override = default;

    // Whether the menu lays out right to left.
    virtual bool OnQueryLayoutRTL() const { return false; }
    // Number of items.
    virtual int ItemGetCount() const { return 0; }
    // The window that receives the menu's commands.
    virtual HWND GetCmdReceiverHWND() const { return m_hWndCmdReceiver; }
    void SetTrackOption(int option) { m_nTrackOption = option; }
    int GetTrackOption() const { return m_nTrackOption; }

    // The in-place edit of a menu item.
    class WENDREL_API CInPlaceEditWnd : public CEdit {
    public:
        static const UINT g_nMsgDeleteSelection;
        static const UINT g_nMsgSelectAll;
    };

    static const UINT g_nMsgPrepareMenu;
    static const UINT g_nMsgPrepareOneMenuLevel;
    static const UINT g_nMsgPrepareDesktopBk;
    static const UINT g_nMsgPopupNext;
    static const UINT g_nMsgPopupPrev;
    static const UINT g_nMsgNotifyMenuExpanded;
    static const UINT g_nMsgNotifyMenuClosed;
    static const UINT g_nMsgPopupDrawItem;
    static const UINT g_nMsgPopupDrawLeftArea;
    static const UINT g_nMsgPopupDrawBackground;
    static const UINT g_nMsgCreateInplaceEdit;
    static const UINT g_nMsgItemCoveringNotification;
    static const UINT g_nMsgTearOff;
    static const UINT g_nMsgCustomFloatPos;

protected:
    HWND m_hWndCmdReceiver = nullptr;
    int m_nTrackOption = 0;
};

class WENDREL_API VEzaPopupColorMenuWnd : public VEzaPopupMenuWnd {
    DECLARE_DYNAMIC(VEzaPopupColorMenuWnd)
public:
    struct WENDREL_API COLORREF_TABLE_ENTRY {
        UINT m_nCmdID;
        COLORREF m_clrValue;
        CString m_sName;
    };
    // The colour menu's content: 40 colours, and 16 of them for the short menu.
    static const COLORREF_TABLE_ENTRY g_colors[40];
    static const COLORREF_TABLE_ENTRY g_colors16[16];

    static const UINT g_nMsgNotifyColorChanged;
    static const UINT g_nMsgNotifyColorChangedFinally;
    static const UINT g_nMsgNotifyCustColor;
};

class WENDREL_API VEzaPopupControlMenuWnd : public VEzaPopupMenuWnd {
    DECLARE_DYNAMIC(VEzaPopupControlMenuWnd)
public:
    static const UINT g_nMsgControlInputRetranslate;
};

class WENDREL_API VEzaDatePickerWnd : public CWnd, public VEzaPmWndBridge {
    DECLARE_DYNAMIC(VEzaDatePickerWnd)
public:
    VEzaDatePickerWnd() : VEzaPmWndBridge(this) {}
    static const UINT g_nMsgSelectionNotification;
};

class WENDREL_API VEzaPopupInplaceListBox : public CListBox {
    DECLARE_DYNAMIC(VEzaPopupInplaceListBox)
public:
    static const UINT g_nMsgPopupListBoxInitContent;
    static const UINT g_nMsgPopupListBoxItemMeasure;
    static const UINT g_nMsgPopupListBoxItemDraw;
    static const UINT g_nMsgPopupListBoxSelEndOK;
    static const UINT g_nMsgPopupListBoxSelEndCancel;
    static const UINT g_nMsgPopupListBoxSelChange;
};

class WENDREL_API VEzaPopupInplaceDatePicker : public VEzaDatePickerWnd {
    DECLARE_DYNAMIC(VEzaPopupInplaceDatePicker)
public:
    static const UINT g_nMsgPopupDatePickerInitContent;
};

class WENDREL_API VEzaColorCtrl : public CWnd {
    DECLARE_DYNAMIC(VEzaColorCtrl)
public:
    static const UINT g_nMsgColorChanged;
};

class VEzaCustomizeSite;
class WENDREL_API VEzaCustomizeSite {
public:
    virtual ~VEzaCustomizeSite() = default;
    using CustomizeSiteMap_t = CMap<HWND, HWND, VEzaCustomizeSite*, VEzaCustomizeSite*>;
    // Window handle to the customise site of that window.
    static CustomizeSiteMap_t g_CustomizeSites;

    static const UINT g_nMsgQueryCustomizeSite;
    static const UINT g_nMsgAssignAccelTable;
    static const UINT g_nMsgSyncAccelTable;
    static const UINT g_nMsgSyncContent;
    static const UINT g_nMsgDelayCustomization;
};

// A node of the customisation tree of commands; created by name.
class WENDREL_API VEzaCustomizeCmdTreeNode : public CObject {
    DECLARE_DYNCREATE(VEzaCustomizeCmdTreeNode)
public:
    VEzaCustomizeCmdTreeNode() = default;
};

// The menus' sound player: the holder and the lock that serialises the start
// of its threads.
class WENDREL_API VEzaSoundPlayer {
public:
    virtual ~VEzaSoundPlayer() = default;

    class WENDREL_API VEzaSoundPlayerAutoPtr {
    public:
        VEzaSoundPlayerAutoPtr() : m_pPlayer(new VEzaSoundPlayer) {}
        ~VEzaSoundPlayerAutoPtr() { delete m_pPlayer; }
        VEzaSoundPlayerAutoPtr(const VEzaSoundPlayerAutoPtr&) = delete;
        VEzaSoundPlayerAutoPtr& operator=(const VEzaSoundPlayerAutoPtr&) = delete;
        VEzaSoundPlayer* operator->() const { return m_pPlayer; }

    private:
        VEzaSoundPlayer* m_pPlayer;
    };
    static VEzaSoundPlayerAutoPtr g_SoundPlayer;
    static CCriticalSection g_csSoundPlayer;
};
