// CFrameWnd: a top-level (or MDI) window that hosts control bars along its sides and a
// client window (the view or splitter, child id AFX_IDW_PANE_FIRST) in the room left.
// It routes commands (active view, then itself, then the application), loads its
// menu, accelerators, icon and title from one resource id, shows command prompts in
// its message bar (the status bar, AFX_IDW_STATUS_BAR), and keeps its bars: the list
// of every bar created in it (m_listControlBars, floating ones too), the four dock bars
// made by EnableDocking, and the mini frames its bars float in. Layout is redone by
// RecalcLayout, at once or at the next idle time (DelayRecalcLayout sets m_nIdleFlags).
// Frames live on the heap and delete themselves when their window is gone.
//
// Every frame of a thread is registered with that thread while it exists; the idle
// processing of the thread updates every visible frame's command UI and runs its
// delayed layout and title work (WM_IDLEUPDATECMDUI), mini frames included.
//
// CMiniFrameWnd: a tool-window frame with a small caption (floating bars live in one).
// GUI thread only.
#pragma once
#include "afxext_bar.h"
#include "afxwin_context.h"

class CView;
class CDocument;
class CMiniDockFrameWnd;

class TRVMFC_API CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    static const CRect rectDefault;

    CFrameWnd();
    ~CFrameWnd() override;

    // Creates the window with the menu named menuName (loaded through the resource
    // chain; a missing menu fails the creation).
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style = WS_OVERLAPPEDWINDOW,
                        const RECT& rect = rectDefault, CWnd* parent = nullptr, LPCSTR menuName = nullptr,
                        DWORD exStyle = 0, CCreateContext* context = nullptr);
    // Creates the window from resource id: title from the string's first field, menu,
    // accelerators and icon of that id. Without a context the new windows get their
    // initial update at once.
    virtual BOOL LoadFrame(UINT idResource, DWORD defaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* parent = nullptr, CCreateContext* context = nullptr);
    BOOL LoadAccelTable(LPCSTR resourceName);

    // ---- views and documents
    CView* GetActiveView() const { return m_pViewActive; }
    // Makes view the active view; with notify both views hear of the change.
    void SetActiveView(CView* viewNew, BOOL notify = TRUE);
    virtual CDocument* GetActiveDocument();
    virtual CFrameWnd* GetActiveFrame() { return this; }
    // Creates the view of context's view class as child id of this frame.
    CWnd* CreateView(CCreateContext* context, UINT id = AFX_IDW_PANE_FIRST);
    // Start-up of a frame made for doc: the first view (child AFX_IDW_PANE_FIRST, or
    // the first pane of a splitter there) becomes active; with makeVisible the views
    // get WM_INITIALUPDATE, the frame is shown and the active view hears of its
    // activation; then the title.
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);

    // ---- layout
    // Places the bars and the client window now (guarded against re-entry).
    virtual void RecalcLayout(BOOL notify = TRUE);
    // Asks for RecalcLayout at the next idle time.
    void DelayRecalcLayout(BOOL notify = TRUE) { m_nIdleFlags |= (idleLayout | (notify ? idleNotify : 0)); }
    void DelayUpdateFrameTitle() { m_nIdleFlags |= idleTitle; }
    void DelayUpdateFrameMenu(HMENU menuAlt);
    virtual void ActivateFrame(int cmdShow = -1);
    void BringToTop(int cmdShow);
    virtual void OnUpdateFrameTitle(BOOL addToTitle);
    void UpdateFrameTitleForDocument(LPCSTR docName);
    virtual void OnUpdateFrameMenu(HMENU menuAlt);
    virtual HACCEL GetDefaultAccelerator() { return m_hAccelTable; }

    // ---- control bars
    void EnableDocking(DWORD dockStyle);
    // Docks bar into the dock bar with that id (0: the side the bar is aligned to),
    // at rect (screen coordinates) when given.
    void DockControlBar(CControlBar* bar, UINT dockBarId = 0, LPCRECT rect = nullptr);
    void DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect = nullptr);
    // Docks a floating bar back: at its placeholder when a dock bar keeps one, else
    // as DockControlBar.
    void ReDockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect = nullptr);
    // Floats bar in a mini frame (m_pFloatingFrameClass) at point (screen).
    void FloatControlBar(CControlBar* bar, CPoint point, DWORD style = CBRS_ALIGN_TOP);
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
    CControlBar* GetControlBar(UINT id);
    void AddControlBar(CControlBar* bar);
    void RemoveControlBar(CControlBar* bar);
    // The alignment of the first visible dock bar allowed by dockStyle whose window
    // meets rect (screen), with that dock bar in *dockBar; 0 when none.
    DWORD CanDock(CRect rect, DWORD dockStyle, CDockBar** dockBar = nullptr);
    CMiniDockFrameWnd* CreateFloatingFrame(DWORD style);
    // Tells the frame's floating mini frames of an activation or enabling change.
    void NotifyFloatingWindows(DWORD flags);

    // ---- message bar
    virtual CWnd* GetMessageBar();
    void SetMessageText(LPCSTR text);
    void SetMessageText(UINT id);
    // The prompt of command id: its string up to the first line feed.
    virtual void GetMessageString(UINT id, CString& message) const;

    // ---- modal state
    BOOL InModalState() const { return m_cModalStack != 0; }
    virtual void BeginModalState();
    virtual void EndModalState();

    BOOL IsFrameWnd() const override { return TRUE; }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Shows or hides now the floating frames this frame owns whose showing was delayed
    // (m_nShowDelay); part of the frame's idle work.
    void ApplyFloatingShowDelays();

    enum IdleFlags { idleMenu = 1, idleTitle = 2, idleNotify = 4, idleLayout = 8 };
    enum HelpMode { HELP_INACTIVE = 0, HELP_ACTIVE = 1, HELP_ENTERING = -1 };

    BOOL m_bAutoMenuEnable = TRUE;  // menu items without a handler are disabled
    int m_nWindow = -1;             // window number shown after the document title
    HMENU m_hMenuDefault = nullptr;
    HACCEL m_hAccelTable = nullptr;
    DWORD m_dwPromptContext = 0;
    int m_bHelpMode = HELP_INACTIVE;
    CRect m_rectBorder;                    // insets around the client window
    CPtrList m_listControlBars;            // every bar created in this frame
    int m_nShowDelay = -1;                 // show command for the owner's next idle time, or -1
    UINT m_nIdleFlags = 0;
    BOOL m_bInRecalcLayout = FALSE;
    CRuntimeClass* m_pFloatingFrameClass = nullptr;
    UINT m_nIDHelp = 0;
    UINT m_nIDTracking = 0;     // prompt being tracked (menus, fly-by)
    UINT m_nIDLastMessage = 0;  // prompt shown last
    CView* m_pViewActive = nullptr;
    // Print preview's close handler; OnClose hands over to it while it is set.
    void (*m_lpfnCloseProc)(CFrameWnd* frame) = nullptr;
    HMENU m_hMenuAlt = nullptr;
    CString m_strTitle;
    int m_cModalStack = 0;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Creates the client window: a view when the context names a view class.
    virtual BOOL OnCreateClient(LPCREATESTRUCTA cs, CCreateContext* context);
    int OnCreateHelper(LPCREATESTRUCTA cs, CCreateContext* context);
    // Window class with the icon of idResource, when there is one.
    LPCSTR GetIconWndClass(DWORD style, UINT idResource);
    void DestroyDockBars();

    afx_msg int OnCreate(LPCREATESTRUCTA cs);
    afx_msg void OnDestroy();
    afx_msg void OnClose();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnEnable(BOOL enable);
    afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    afx_msg void OnMenuSelect(UINT itemId, UINT flags, HMENU sysMenu);
    afx_msg void OnEnterIdle(UINT why, CWnd* who);
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPopMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg void OnUpdateKeyIndicator(CCmdUI* cmdUI);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* cmdUI);
    afx_msg BOOL OnBarCheck(UINT id);
    DECLARE_MESSAGE_MAP()

private:
    HWND* m_phWndDisable = nullptr;  // windows BeginModalState disabled
};

// Sets the thread's routing frame for its lifetime (commands routed by a frame).
class TRVMFC_API CPushRoutingFrame {
public:
    explicit CPushRoutingFrame(CFrameWnd* frame);
    ~CPushRoutingFrame();
    CPushRoutingFrame(const CPushRoutingFrame&) = delete;
    CPushRoutingFrame& operator=(const CPushRoutingFrame&) = delete;

private:
    CFrameWnd* m_pOldRoutingFrame;
};

// The frame routing a command on this thread now, or NULL.
TRVMFC_API CFrameWnd* AfxGetRoutingFrame();

// Flags of WM_FLOATSTATUS.
enum : DWORD {
    FS_SHOW = 0x01,
    FS_HIDE = 0x02,
    FS_ACTIVATE = 0x04,
    FS_DEACTIVATE = 0x08,
    FS_ENABLE = 0x10,
    FS_DISABLE = 0x20,
    FS_SYNCACTIVE = 0x40,
};

class TRVMFC_API CMiniFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMiniFrameWnd)
public:
    CMiniFrameWnd();

    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent = nullptr,
                UINT id = 0);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent = nullptr, UINT id = 0);
    // Grows a client rectangle (screen) by a mini frame's caption and frame.
    static void PASCAL CalcBorders(LPRECT clientRect, DWORD style = WS_THICKFRAME | WS_CAPTION, DWORD exStyle = 0);

    CString m_strCaption;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    afx_msg BOOL OnNcActivate(BOOL active);
    afx_msg void OnShowWindow(BOOL show, UINT status);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* mmi);
    afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
