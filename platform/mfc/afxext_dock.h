// Docking: the dock bars along a frame's sides and inside floating mini frames, the
// drag context of a dockable bar, and the mini frame a bar floats in.
//
// CDockBar holds its bars in rows in m_arrBars: entry 0 is always NULL, a NULL entry
// ends a row, an entry up to 0xFFFF is a placeholder (the control id of a bar that
// floats or is hidden and may come back there), any other entry is a docked
// CControlBar. Toolkit dock bars edit the array directly and replace the docking
// operations (DockControlBar, RemoveControlBar, Insert are virtual). The dock bar lays
// its rows out in CalcFixedLayout; its bars are its child windows.
//
// CDockContext belongs to one bar (created by EnableDocking, deleted with the bar). It
// runs the modal loops that move a bar with the mouse: StartDrag (the outline shows
// where the bar would go; over a dock bar it docks, elsewhere it floats; Ctrl keeps it
// floating, Esc or the right button cancels), StartResize (a floating dynamic bar's
// frame border) and ToggleDocking (back to the last dock position or float position).
// The loops hold the mouse capture and draw on the screen DC; they dispatch every
// other message while they run.
//
// CMiniDockFrameWnd is the mini frame of floating bars; its one dock bar (id
// AFX_IDW_DOCKBAR_FLOAT, m_bFloating) comes from the virtual factory CreateDockBar.
// GUI thread only.
#pragma once
#include "afxext_frame.h"

class TRVMFC_API CDockBar : public CControlBar {
    DECLARE_DYNAMIC(CDockBar)
public:
    explicit CDockBar(BOOL floating = FALSE);
    ~CDockBar() override;

    BOOL Create(CWnd* parent, DWORD style, UINT id);

    // Docks bar here: at rect (screen coordinates) inserted by Insert, else in a new
    // last row. The bar leaves its old dock bar (a placeholder stays there when it
    // moves from a side to a floating dock bar) and any placeholder of it here goes.
    virtual void DockControlBar(CControlBar* bar, LPCRECT rect = nullptr);
    // Takes bar out, skipping position posExclude. addPlaceholder 1 leaves its id in
    // its place, 0 removes also any placeholder of it, -1 leaves placeholders alone.
    // An emptied floating dock bar hides its mini frame, or destroys it when no bar
    // is left at all (answer TRUE: the frame is gone).
    virtual BOOL RemoveControlBar(CControlBar* bar, int posExclude = -1, int addPlaceholder = 0);
    // Inserts bar for the client rectangle rect, centre mid: into the row whose
    // thickness holds the centre, after the last visible bar that starts before rect,
    // else in a new row; answers the new index.
    virtual int Insert(CControlBar* bar, CRect rect, CPoint mid);
    // Docks bar back where its placeholder is, else as DockControlBar.
    void ReDockControlBar(CControlBar* bar, LPCRECT rect = nullptr);
    void RemovePlaceHolder(CControlBar* bar);
    // Index of bar (or of a placeholder, given as its id) other than posExclude, or -1.
    int FindBar(CControlBar* bar, int posExclude = -1);
    // The bar at index pos, or NULL for a row end or placeholder.
    CControlBar* GetDockedControlBar(int pos) const;
    int GetDockedCount() const;
    int GetDockedVisibleCount() const;
    void ShowAll(BOOL show);

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void OnUpdateCmdUI(CFrameWnd* /*target*/, BOOL /*disableIfNoHandler*/) override {}
    BOOL IsDockBar() const override { return TRUE; }
    void DoPaint(CDC* dc) override;

    BOOL m_bFloating;
    CPtrArray m_arrBars;
    BOOL m_bLayoutQuery = FALSE;  // the layout running now is a query
    CRect m_rectLayout;           // room of the layout running now (empty: the frame's client)

protected:
    afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()
};

class TRVMFC_API CDockContext {
public:
    explicit CDockContext(CControlBar* bar);
    virtual ~CDockContext();
    CDockContext(const CDockContext&) = delete;
    CDockContext& operator=(const CDockContext&) = delete;

    // Moves the bar with the mouse from screen point pt until the button goes up.
    virtual void StartDrag(CPoint pt);
    // Resizes a floating dynamic bar from its frame border hitTest (HTLEFT...).
    virtual void StartResize(int hitTest, CPoint pt);
    // Docks a floating bar where it was last docked, or floats a docked one where it
    // last floated.
    virtual void ToggleDocking();

    void Move(CPoint pt);
    void EndDrag();
    void OnKey(int ch, BOOL down);
    void Stretch(CPoint pt);
    void EndResize();
    void InitLoop();
    void CancelLoop();
    BOOL Track();
    void DrawFocusRect(BOOL removeRect = FALSE);
    void UpdateState(BOOL* flag, BOOL newValue);
    // The dock alignment the drag rectangles are over now, 0 for none.
    DWORD CanDock();
    CDockBar* GetDockBar(DWORD overDockStyle);

    CPoint m_ptLast;
    CRect m_rectLast;
    CSize m_sizeLast;
    BOOL m_bDitherLast = FALSE;
    CRect m_rectDragHorz;        // outline docked horizontally
    CRect m_rectDragVert;        // outline docked vertically
    CRect m_rectFrameDragHorz;   // outline floating, horizontal
    CRect m_rectFrameDragVert;   // outline floating, vertical
    CControlBar* m_pBar;
    CFrameWnd* m_pDockSite;
    DWORD m_dwDockStyle = 0;     // sides the bar may dock at
    DWORD m_dwOverDockStyle = 0; // side the outline is over
    DWORD m_dwStyle = 0;         // the bar's style at the start
    BOOL m_bFlip = FALSE;        // Shift: the other orientation
    BOOL m_bForceFrame = FALSE;  // Ctrl: float, never dock
    CDC* m_pDC = nullptr;
    BOOL m_bDragging = FALSE;
    int m_nHitTest = 0;
    // Where the bar was docked last (dock bar id, rectangle in its client coordinates)
    // and where it floated last.
    UINT m_uMRUDockID = 0;
    CRect m_rectMRUDockPos;
    DWORD m_dwMRUFloatStyle = 0;
    CPoint m_ptMRUFloatPos{-1, -1};
    // Resizing.
    CRect m_rectRequestedSize;
    CRect m_rectActualSize;
    CRect m_rectActualFrameSize;
    CRect m_rectFrameBorders;
};

class TRVMFC_API CMiniDockFrameWnd : public CMiniFrameWnd {
    DECLARE_DYNCREATE(CMiniDockFrameWnd)
public:
    CMiniDockFrameWnd() = default;

    // A tool-window popup owned by parent, holding one floating dock bar whose style
    // follows barStyle (orientation, CBRS_FLOAT_MULTI).
    virtual BOOL Create(CWnd* parent, DWORD barStyle);
    // Makes the dock bar object (not yet its window); the frame owns it through its
    // window's life. Toolkit frames return their own dock bar class.
    virtual CDockBar* CreateDockBar();
    CDockBar* GetDockBar() const { return m_pWndDockBar; }
    // The first bar docked in the frame, or NULL.
    CControlBar* GetFirstBar() const;

    void RecalcLayout(BOOL notify = TRUE) override;

protected:
    CDockBar* m_pWndDockBar = nullptr;

    afx_msg void OnClose();
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT hitTest, CPoint point);
    afx_msg int OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()
};
