// Classes of the toolkit's control bars, docking, toolbars, status bar and
// tabs as far as the foundations use them: run-time classes for kind tests,
// the registered messages they own, the list of all bars and the cursors
// loaded once. The bar and tab windows extend these classes. Every bar, dock
// bar, floating frame, tab window and tab page container is a themed window:
// it is in the paint manager's bridge registry while it exists. GUI thread only.
#pragma once

#include "afxext.h"
#include "afxtempl.h"
#include "afxwin.h"
#include "paint/pm_bridge.h"
#include "wendrel_export.h"

class VEzaControlBar;
using ExtControlBarArray_t = CTypedPtrArray<CPtrArray, VEzaControlBar*>;

class WENDREL_API VEzaControlBar : public CControlBar, public VEzaPmWndBridge {
    DECLARE_DYNAMIC(VEzaControlBar)
public:
    // Enters the list of all bars; the destructor takes it out.
    VEzaControlBar();
    ~VEzaControlBar() override;

    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    virtual bool IsFixedMode() const { return false; }
    // Whether the bar is docked in the left or right dock bar of its frame.
    bool IsDockedVertically() const;

    // The system cursors bars use, loaded once.
    struct WENDREL_API BarCursors_t {
        BarCursors_t();
        HCURSOR m_hArrow, m_hSizeAll, m_hSizeNS, m_hSizeWE;
    };
    // The state of a bar drag (and of the drag before it).
    struct WENDREL_API InternalDraggingState_t {
        bool m_bEmpty = true;
        VEzaControlBar* m_pBar = nullptr;
        CRect m_rcTrack;
        int m_nCircleNo = 0;
    };

    static BarCursors_t g_BarCursors;
    static ExtControlBarArray_t g_AllBars;
    static CMapPtrToPtr g_BarMap;
    static CMapPtrToPtr g_BarPtrMap;
    static InternalDraggingState_t g_DragStateOld;
    static InternalDraggingState_t g_DragStateNew;
    static ExtControlBarArray_t g_DockedBars;
    static ExtControlBarArray_t g_FloatingBars;

    static const UINT g_nMsgQueryRepositionCalcEffect;
    static const UINT g_nMsgQueryIcon;
    static const UINT g_nMsgPutToPopupMenu;
    static const UINT g_nMsgConstructPopupMenu;
    static const UINT g_nMsgCreateTabbedBar;
    static const UINT g_nMsgDrawTrackedArea;
    static const UINT g_nMsgCustomNcAreaQuery;
};

// A bar whose content is docked bars; created by name.
class WENDREL_API VEzaDynamicControlBar : public VEzaControlBar {
    DECLARE_DYNCREATE(VEzaDynamicControlBar)
public:
    VEzaDynamicControlBar() = default;
};

class WENDREL_API VEzaDynamicBarSite {
public:
    virtual ~VEzaDynamicBarSite() = default;
    static const UINT g_nMsgFindDynamicBarSite;
};

class WENDREL_API VEzaDockBar : public CDockBar, public VEzaPmWndBridge {
    DECLARE_DYNAMIC(VEzaDockBar)
public:
    VEzaDockBar() : VEzaPmWndBridge(this) {}
};

// The frame's outer dock bars (top, bottom, left, right).
class WENDREL_API VEzaDockOuterBar : public VEzaDockBar {
    DECLARE_DYNAMIC(VEzaDockOuterBar)
public:
    VEzaDockOuterBar() = default;
};

class WENDREL_API VEzaMiniDockFrameWnd : public CMiniDockFrameWnd, public VEzaPmWndBridge {
    DECLARE_DYNAMIC(VEzaMiniDockFrameWnd)
public:
    VEzaMiniDockFrameWnd() : VEzaPmWndBridge(this) {}
};

class WENDREL_API VEzaDynDockMarkerWnd : public CWnd {
    DECLARE_DYNAMIC(VEzaDynDockMarkerWnd)
public:
    VEzaDynDockMarkerWnd() = default;
};

class WENDREL_API VEzaTabPageContainerWnd : public CWnd, public VEzaPmWndBridge {
    DECLARE_DYNAMIC(VEzaTabPageContainerWnd)
public:
    VEzaTabPageContainerWnd() : VEzaPmWndBridge(this) {}
    static HCURSOR g_hCursor;
};

class WENDREL_API VEzaToolControlBar : public VEzaControlBar {
    DECLARE_DYNAMIC(VEzaToolControlBar)
public:
    bool IsFixedMode() const override { return true; }
    // The toolbar leaves its background to its parent.
    bool IsBackgroundInherited() const { return m_bInheritBackground; }
    void SetBackgroundInherited(bool on) { m_bInheritBackground = on; }

    static const UINT g_nMsgTrackButtonMenu;
    static const UINT g_nMsgContinueTrackMenu;

protected:
    bool m_bInheritBackground = false;
};

class WENDREL_API VEzaMenuControlBar : public VEzaToolControlBar {
    DECLARE_DYNAMIC(VEzaMenuControlBar)
public:
    static const UINT g_nMsgPrepareSystemMenu;
};

class WENDREL_API VEzaStatusControlBar : public VEzaControlBar {
    DECLARE_DYNAMIC(VEzaStatusControlBar)
};

class WENDREL_API VEzaTabWnd : public CWnd, public VEzaPmWndBridge {
    DECLARE_DYNAMIC(VEzaTabWnd)
public:
    VEzaTabWnd() : VEzaPmWndBridge(this) {}
    // Bits 0-1 orientation (top, bottom, left, right); 0x00800000 no item icons.
    DWORD GetTabWndStyle() const { return m_dwTabWndStyle; }
    static HCURSOR g_hCursor;

protected:
    DWORD m_dwTabWndStyle = 0;
};

class WENDREL_API VEzaTabMdiWnd : public VEzaTabWnd {
    DECLARE_DYNAMIC(VEzaTabMdiWnd)
public:
    virtual bool _IsMdiTabCtrl() const { return true; }
};

// A button of a toolbar.
class WENDREL_API VEzaBarButton : public CObject {
    DECLARE_DYNAMIC(VEzaBarButton)
public:
    explicit VEzaBarButton(VEzaToolControlBar* bar = nullptr) : m_pBar(bar) {}
    VEzaToolControlBar* GetBar() const { return m_pBar; }

protected:
    VEzaToolControlBar* m_pBar;
};
