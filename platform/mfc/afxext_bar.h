// CControlBar: the base of every bar a frame lays out along its sides (toolbars,
// status bars, dock bars, the toolkit's resizable bars). A bar keeps its own style word
// (CBRS_* bits: alignment, borders, floating), takes its room from the parent's free
// area when the parent repositions its bars (WM_SIZEPARENT), updates its items'
// command UI at idle time while visible, and passes its children's commands and
// notifications on to its owner. Docking state: the frame it docks in (m_pDockSite),
// the dock bar that holds it (m_pDockBar) and its drag context (m_pDockContext, owned
// by the bar, a plain heap object). Showing and hiding can be delayed until the next
// layout (DelayShow, applied by RecalcDelayShow). GUI thread only.
#pragma once
#include "afxwin_layout.h"
#include "afxres.h"

class CFrameWnd;
class CDockBar;
class CDockContext;

// Layout modes of CalcDynamicLayout.
#define LM_STRETCH 0x01
#define LM_HORZ 0x02
#define LM_MRUWIDTH 0x04
#define LM_HORZDOCK 0x08
#define LM_VERTDOCK 0x10
#define LM_LENGTHY 0x20
#define LM_COMMIT 0x40

class TRVMFC_API CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    int GetCount() const { return m_nCount; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    // Sets the style word; OnBarStyleChange hears of a change.
    void SetBarStyle(DWORD style);
    void SetBorders(LPCRECT rect) { SetBorders(rect->left, rect->top, rect->right, rect->bottom); }
    void SetBorders(int cxLeft = 0, int cyTop = 0, int cxRight = 0, int cyBottom = 0);
    CRect GetBorders() const { return CRect(m_cxLeftBorder, m_cyTopBorder, m_cxRightBorder, m_cyBottomBorder); }
    // The frame whose layout holds the bar: its parent frame (the mini frame of a
    // floating bar), else the dock site.
    CFrameWnd* GetDockingFrame() const;
    BOOL IsFloating() const;
    // Allows docking at the sides in dockStyle (CBRS_ALIGN_*, CBRS_FLOAT_MULTI) and
    // gives the bar its drag context; the owner becomes the current parent if unset.
    void EnableDocking(DWORD dockStyle);

    // Size the bar wants: the base stretches to 32767 along a stretched axis, else 0.
    virtual CSize CalcFixedLayout(BOOL stretch, BOOL horz);
    // Size for a layout mode (LM_*) and, for a positive length, that length.
    virtual CSize CalcDynamicLayout(int length, DWORD mode);
    // Updates the bar's items from target's update handlers.
    virtual void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) = 0;
    // Shrinks rect by the borders, margins and gripper.
    virtual void CalcInsideRect(CRect& rect, BOOL horz) const;
    virtual void DoPaint(CDC* dc);
    // Draws the style word's borders inside rect and shrinks rect by them.
    virtual void DrawBorders(CDC* dc, CRect& rect);
    virtual void DrawGripper(CDC* dc, const CRect& rect);
    // Records a show or hide for the next layout (nothing when already so).
    virtual void DelayShow(BOOL show);
    // Visible now, or about to be shown, and not about to be hidden.
    virtual BOOL IsVisible() const;
    // Applies a recorded show or hide through the layout's deferred positions and
    // answers the style the bar has then (alignment, borders, WS_VISIBLE). A query
    // answers the coming style and keeps the record for the real pass.
    virtual DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* layout);
    virtual BOOL IsDockBar() const { return FALSE; }
    virtual void OnBarStyleChange(DWORD oldStyle, DWORD newStyle);
    // Puts the prompt of command hit (-1: the idle prompt) into the frame's message bar.
    virtual BOOL SetStatusText(INT_PTR hit);

    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };

    BOOL m_bAutoDelete = FALSE;  // PostNcDestroy deletes the object
    int m_cxLeftBorder = 6;
    int m_cxRightBorder = 6;
    int m_cyTopBorder = 1;
    int m_cyBottomBorder = 1;
    int m_cxDefaultGap = 2;
    UINT m_nMRUWidth = 32767;  // last floating width of a dynamic bar
    int m_nCount = 0;          // number of items (buttons, panes)
    UINT m_nStateFlags = 0;
    DWORD m_dwStyle = 0;
    DWORD m_dwDockStyle = 0;
    CFrameWnd* m_pDockSite = nullptr;
    CDockBar* m_pDockBar = nullptr;
    CDockContext* m_pDockContext = nullptr;

    // Answers WM_HELPHITTEST: the tool under the point as a command help id, else the
    // bar's own id as a control help id.
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    // Draws borders and gripper in the window's frame area (bars that keep their
    // borders outside the client area call it from WM_NCPAINT).
    void EraseNonClient();

    afx_msg int OnCreate(LPCREATESTRUCTA cs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnInitialUpdate(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    INT_PTR m_nLastHit = -1;  // tool whose prompt the fly-by shows
};

// Gripper and border metrics the bars share.
constexpr int AFX_CX_GRIPPER = 3;
constexpr int AFX_CY_GRIPPER = 3;
constexpr int AFX_CX_BORDER_GRIPPER = 2;
constexpr int AFX_CY_BORDER_GRIPPER = 2;
