// CWnd: a C++ object bound to a window. Objects made by Create/CreateEx are attached
// before the window's first message (a thread creation hook), then see every message
// through the layer's window procedure: map entries first, the saved procedure after.
// Handle maps are per thread: FromHandlePermanent finds attached objects, FromHandle
// also wraps foreign windows in temporaries freed at idle. Every window procedure stops
// exceptions (logged, counted) so none crosses into the system. GUI thread only.
#pragma once
#include "afxwin_cmd.h"
#include "afxwin_gdi.h"
#include <commctrl.h>

#ifdef GetNextWindow
#undef GetNextWindow  // a method name here
#endif

class CMenu;
class CScrollBar;
class CFrameWnd;
class CDataExchange;
class CToolTipCtrl;
class CImageList;
struct CCreateContext;

// m_nFlags bits.
enum : UINT {
    WF_TOOLTIPS = 0x0001,
    WF_TEMPHIDE = 0x0002,
    WF_STAYDISABLED = 0x0004,
    WF_MODALLOOP = 0x0008,
    WF_CONTINUEMODAL = 0x0010,
    WF_OLECTLCONTAINER = 0x0100,
    WF_TRACKINGTOOLTIPS = 0x0400,
};

// Modal loop flags.
enum : DWORD { MLF_NOIDLEMSG = 0x0001, MLF_NOKICKIDLE = 0x0002, MLF_SHOWONIDLE = 0x0004 };

// WM_CTLCOLOR* arrive under this one key, with the control type as the code.
constexpr UINT AFX_WM_CTLCOLOR = 0x0019;

class TRVMFC_API CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    HWND m_hWnd = nullptr;
    HWND m_hWndOwner = nullptr;
    UINT m_nFlags = 0;
    WNDPROC m_pfnSuper = nullptr;  // procedure in place before ours (DefWindowProc target)
    int m_nModalResult = -1;       // set by EndModalLoop

    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    CWnd() = default;
    explicit CWnd(HWND h) : m_hWnd(h) {}
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Handle maps.
    static CWnd* PASCAL FromHandle(HWND h);
    static CWnd* PASCAL FromHandlePermanent(HWND h);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HWND h);
    HWND Detach();
    BOOL SubclassWindow(HWND h);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    bool operator==(const CWnd& o) const { return m_hWnd == o.m_hWnd; }
    bool operator!=(const CWnd& o) const { return m_hWnd != o.m_hWnd; }

    // Creation and teardown.
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                        UINT id, CCreateContext* context = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                          int cx, int cy, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                          CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL DestroyWindow();
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual void PreSubclassWindow() {}
    virtual void PostNcDestroy() {}
    virtual void CalcWindowRect(LPRECT client, UINT adjustType = 0);

    // Message flow.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual BOOL PreTranslateMessage(MSG* msg);
    BOOL PreTranslateInput(MSG* msg);
    // Default handling of the message now being dispatched, with its original parameters.
    LRESULT Default();
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    static BOOL PASCAL ReflectLastMsg(HWND child, LRESULT* result = nullptr);
    // Calls PreTranslateMessage from msg's window up through parents and owners (each
    // window once), stopping at stop or at the first that takes the message.
    static BOOL PASCAL WalkPreTranslateTree(HWND stop, MSG* msg);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE,
                                  BOOL onlyPermanent = FALSE);
    virtual BOOL IsFrameWnd() const { return FALSE; }
    // Lays out the children: each permanent child whose id lies in [first, last] gets
    // WM_SIZEPARENT in z-order and takes its room; the child leftOver gets the rest
    // (less the insets in rectParam with reposExtra). reposQuery moves nothing and
    // answers in rectParam the free room (stretch) or the bars' total size.
    enum RepositionFlags { reposDefault = 0, reposQuery = 1, reposExtra = 2, reposNoPosLeftOver = 0x8000 };
    void RepositionBars(UINT first, UINT last, UINT leftOver, UINT flags = reposDefault, LPRECT rectParam = nullptr,
                        LPCRECT rectClient = nullptr, BOOL stretch = TRUE);
    virtual int RunModalLoop(DWORD flags = 0);
    virtual BOOL ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }
    virtual void EndModalLoop(int result);

    // Data exchange.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange*) {}
    void UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler);

    // Tooltips (one control per thread).
    BOOL EnableToolTips(BOOL enable = TRUE);
    static void PASCAL CancelToolTips(BOOL keys = FALSE);
    virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* ti) const;
    void FilterToolTipMessage(MSG* msg);

    // Navigation.
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, parent ? parent->m_hWnd : nullptr)); }
    CWnd* GetOwner() const;
    void SetOwner(CWnd* owner) { m_hWndOwner = owner ? owner->m_hWnd : nullptr; }
    CFrameWnd* GetParentFrame() const;
    CFrameWnd* GetTopLevelFrame() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetTopLevelOwner() const;
    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    void GetDlgItem(int id, HWND* h) const { *h = ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return (int)::SetWindowLongPtrA(m_hWnd, GWLP_ID, id); }
    CWnd* GetWindow(UINT cmd) const { return FromHandle(::GetWindow(m_hWnd, cmd)); }
    CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
    CWnd* GetNextWindow(UINT flag = GW_HWNDNEXT) const { return FromHandle(::GetWindow(m_hWnd, flag)); }
    CWnd* GetDescendantWindow(int id, BOOL onlyPermanent = FALSE) const;
    CWnd* ChildWindowFromPoint(POINT p) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, p)); }
    CWnd* ChildWindowFromPoint(POINT p, UINT flags) const { return FromHandle(::ChildWindowFromPointEx(m_hWnd, p, flags)); }
    static CWnd* PASCAL WindowFromPoint(POINT p) { return FromHandle(::WindowFromPoint(p)); }
    static CWnd* PASCAL GetFocus() { return FromHandle(::GetFocus()); }
    static CWnd* PASCAL GetCapture() { return FromHandle(::GetCapture()); }
    static CWnd* PASCAL GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    static CWnd* PASCAL GetForegroundWindow() { return FromHandle(::GetForegroundWindow()); }
    static CWnd* PASCAL GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* PASCAL FindWindow(LPCSTR cls, LPCSTR name) { return FromHandle(::FindWindowA(cls, name)); }
    BOOL IsChild(const CWnd* w) const { return ::IsChild(m_hWnd, w->m_hWnd); }

    // Style and state.
    DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_STYLE); }
    DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0) { return ModifyStyle(m_hWnd, remove, add, swpFlags); }
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT swpFlags = 0) { return ModifyStyleEx(m_hWnd, remove, add, swpFlags); }
    static BOOL PASCAL ModifyStyle(HWND h, DWORD remove, DWORD add, UINT swpFlags);
    static BOOL PASCAL ModifyStyleEx(HWND h, DWORD remove, DWORD add, UINT swpFlags);
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL ShowWindow(int cmd) { return ::ShowWindow(m_hWnd, cmd); }
    void ShowOwnedPopups(BOOL show = TRUE) { ::ShowOwnedPopups(m_hWnd, show); }
    void SetRedraw(BOOL redraw = TRUE) { ::SendMessageA(m_hWnd, WM_SETREDRAW, redraw, 0); }

    // Text.
    void SetWindowText(LPCSTR s) { ::SetWindowTextA(m_hWnd, s); }
    int GetWindowText(LPSTR buf, int n) const { return ::GetWindowTextA(m_hWnd, buf, n); }
    void GetWindowText(CString& s) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetDlgItemText(int id, LPCSTR s) { ::SetDlgItemTextA(m_hWnd, id, s); }
    int GetDlgItemText(int id, CString& s) const;
    int GetDlgItemText(int id, LPSTR buf, int n) const { return (int)::GetDlgItemTextA(m_hWnd, id, buf, n); }
    void SetDlgItemInt(int id, UINT v, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, v, isSigned); }
    UINT GetDlgItemInt(int id, BOOL* ok = nullptr, BOOL isSigned = TRUE) const { return ::GetDlgItemInt(m_hWnd, id, ok, isSigned); }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }
    void SetFont(CFont* font, BOOL redraw = TRUE) {
        ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)(font ? font->m_hObject : nullptr), redraw);
    }
    CFont* GetFont() const { return CFont::FromHandle((HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)); }

    // Geometry.
    void GetClientRect(LPRECT r) const { ::GetClientRect(m_hWnd, r); }
    void GetWindowRect(LPRECT r) const { ::GetWindowRect(m_hWnd, r); }
    void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
    void ScreenToClient(LPRECT r) const { ::MapWindowPoints(nullptr, m_hWnd, (LPPOINT)r, 2); }
    void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
    void ClientToScreen(LPRECT r) const { ::MapWindowPoints(m_hWnd, nullptr, (LPPOINT)r, 2); }
    void MapWindowPoints(CWnd* to, LPPOINT p, UINT n) const { ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, p, n); }
    void MapWindowPoints(CWnd* to, LPRECT r) const { ::MapWindowPoints(m_hWnd, to ? to->m_hWnd : nullptr, (LPPOINT)r, 2); }
    void MoveWindow(int x, int y, int w, int h, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, w, h, repaint); }
    void MoveWindow(LPCRECT r, BOOL repaint = TRUE) { MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, repaint); }
    BOOL SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags) {
        return ::SetWindowPos(m_hWnd, after ? after->m_hWnd : nullptr, x, y, cx, cy, flags);
    }
    void CenterWindow(CWnd* alternateOwner = nullptr);
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    // The window keeps a copy; rgn stays the caller's.
    int SetWindowRgn(HRGN rgn, BOOL redraw);
    int GetWindowRgn(HRGN rgn) const { return ::GetWindowRgn(m_hWnd, rgn); }

    // Painting.
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT r, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, r, erase); }
    void InvalidateRgn(CRgn* rgn, BOOL erase = TRUE) { ::InvalidateRgn(m_hWnd, (HRGN)rgn->m_hObject, erase); }
    void ValidateRect(LPCRECT r) { ::ValidateRect(m_hWnd, r); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT r = nullptr, CRgn* rgn = nullptr, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
        return ::RedrawWindow(m_hWnd, r, rgn ? (HRGN)rgn->m_hObject : nullptr, flags);
    }
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    int ReleaseDC(CDC* dc) { return ::ReleaseDC(m_hWnd, dc->m_hDC); }
    CDC* BeginPaint(LPPAINTSTRUCT ps) { return CDC::FromHandle(::BeginPaint(m_hWnd, ps)); }
    void EndPaint(LPPAINTSTRUCT ps) { ::EndPaint(m_hWnd, ps); }
    void ScrollWindow(int dx, int dy, LPCRECT scroll = nullptr, LPCRECT clip = nullptr) {
        ::ScrollWindow(m_hWnd, dx, dy, scroll, clip);
    }
    int ScrollWindowEx(int dx, int dy, LPCRECT scroll, LPCRECT clip, CRgn* update, LPRECT updateRect, UINT flags) {
        return ::ScrollWindowEx(m_hWnd, dx, dy, scroll, clip, update ? (HRGN)update->m_hObject : nullptr, updateRect, flags);
    }

    // Scroll bars.
    int GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE) { return ::SetScrollPos(m_hWnd, bar, pos, redraw); }
    void GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const { ::GetScrollRange(m_hWnd, bar, minPos, maxPos); }
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE) { ::SetScrollRange(m_hWnd, bar, minPos, maxPos, redraw); }
    BOOL GetScrollInfo(int bar, LPSCROLLINFO si, UINT mask = SIF_ALL) const;
    BOOL SetScrollInfo(int bar, LPSCROLLINFO si, BOOL redraw = TRUE) { ::SetScrollInfo(m_hWnd, bar, si, redraw); return TRUE; }
    void ShowScrollBar(UINT bar, BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, bar, show); }
    BOOL EnableScrollBar(int bar, UINT arrows = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, bar, arrows); }

    // Focus, capture, timers, messages, menus, icons.
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, m, w, l); }
    BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, m, w, l); }
    LRESULT SendDlgItemMessage(int id, UINT m, WPARAM w = 0, LPARAM l = 0) const {
        return ::SendDlgItemMessageA(m_hWnd, id, m, w, l);
    }
    CMenu* GetMenu() const;
    BOOL SetMenu(CMenu* menu);
    CMenu* GetSystemMenu(BOOL revert) const;
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
    HICON SetIcon(HICON icon, BOOL big) { return (HICON)::SendMessageA(m_hWnd, WM_SETICON, big, (LPARAM)icon); }
    HICON GetIcon(BOOL big) const { return (HICON)::SendMessageA(m_hWnd, WM_GETICON, big, 0); }
    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK) { return ::MessageBoxA(m_hWnd, text, caption, type); }

    // Handlers (afx_msg): the defaults pass the message on with Default().
    virtual int OnCreate(LPCREATESTRUCTA cs);
    virtual BOOL OnNcCreate(LPCREATESTRUCTA cs);
    virtual void OnDestroy();
    virtual void OnNcDestroy();
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* dc);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnRButtonDown(UINT flags, CPoint point);
    virtual void OnRButtonUp(UINT flags, CPoint point);
    virtual void OnRButtonDblClk(UINT flags, CPoint point);
    virtual void OnMButtonDown(UINT flags, CPoint point);
    virtual void OnMButtonUp(UINT flags, CPoint point);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    virtual void OnKeyDown(UINT ch, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT ch, UINT repeat, UINT flags);
    virtual void OnSysKeyDown(UINT ch, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);
    virtual void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    virtual void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    virtual void OnClose();
    virtual HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    virtual LRESULT OnNcHitTest(CPoint point);
    virtual void OnGetMinMaxInfo(MINMAXINFO* mmi);
    virtual void OnShowWindow(BOOL show, UINT status);
    virtual void OnContextMenu(CWnd* wnd, CPoint point);
    virtual void OnCaptureChanged(CWnd* wnd);
    virtual void OnDrawItem(int id, LPDRAWITEMSTRUCT dis);
    virtual void OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis);
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    virtual void OnActivate(UINT state, CWnd* other, BOOL minimized);
    virtual int OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message);
    virtual UINT OnGetDlgCode();
    virtual void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    virtual void OnNcPaint();
    virtual void OnNcLButtonDown(UINT hitTest, CPoint point);
    virtual void OnNcLButtonDblClk(UINT hitTest, CPoint point);
    virtual void OnNcMouseMove(UINT hitTest, CPoint point);
    virtual void OnWindowPosChanging(WINDOWPOS* wp);
    virtual void OnWindowPosChanged(WINDOWPOS* wp);
    virtual void OnSettingChange(UINT flags, LPCSTR section);
    virtual void OnSysColorChange();
    virtual void OnEnable(BOOL enable);
    virtual void OnCancelMode();
    virtual void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);

    // Layer internals, public for the window procedure and the hook.
    static LRESULT CALLBACK AfxWndProc(HWND h, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT PASCAL CallWndProc(CWnd* wnd, HWND h, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    DECLARE_MESSAGE_MAP()
    friend struct AfxCreateHookScope;
};

TRVMFC_API CMenu* AfxMenuFromHandle(HMENU h);

// Registers (once per argument set) a window class on DefWindowProc and returns its name.
TRVMFC_API LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                                       HICON icon = nullptr);
// RegisterClass that treats "already registered" as success.
TRVMFC_API BOOL AfxRegisterClass(WNDCLASSA* wc);
// Instance used for window classes and templates of this process.
TRVMFC_API HINSTANCE AfxWinInstance();
// Frees the thread's temporary window, DC, GDI, menu and image-list wrappers.
TRVMFC_API void AfxDeleteTempMaps();
// The thread's tooltip control, made on first use by a window with tooltips enabled.
TRVMFC_API CToolTipCtrl* AfxGetThreadToolTip();
// Number of exceptions the window procedures of this thread have stopped.
TRVMFC_API unsigned AfxGetFirewallCount();
// Records an exception stopped at a window procedure or callback (call inside a catch).
TRVMFC_API void AfxFirewallCaught(const char* where, UINT message);
// The same for the exception being handled (call inside catch (...)): logs what it
// says and deletes a framework exception.
TRVMFC_API void AfxFirewallCaughtCurrent(const char* where, UINT message);

// ---- window message entries

#define AFX_WM(msg, body) AFX_MSG_ENTRY(msg, 0, 0, 0, nullptr, body return TRUE;)
#define ON_WM_CREATE() AFX_WM(WM_CREATE, call.result = self->OnCreate((LPCREATESTRUCTA)call.lParam);)
#define ON_WM_NCCREATE() AFX_WM(WM_NCCREATE, call.result = self->OnNcCreate((LPCREATESTRUCTA)call.lParam);)
#define ON_WM_DESTROY() AFX_WM(WM_DESTROY, self->OnDestroy();)
#define ON_WM_NCDESTROY() AFX_WM(WM_NCDESTROY, self->OnNcDestroy();)
#define ON_WM_PAINT() AFX_WM(WM_PAINT, self->OnPaint();)
#define ON_WM_ERASEBKGND() AFX_WM(WM_ERASEBKGND, call.result = self->OnEraseBkgnd(CDC::FromHandle((HDC)call.wParam));)
#define ON_WM_SIZE() AFX_WM(WM_SIZE, self->OnSize((UINT)call.wParam, (short)LOWORD(call.lParam), (short)HIWORD(call.lParam));)
#define ON_WM_MOVE() AFX_WM(WM_MOVE, self->OnMove((short)LOWORD(call.lParam), (short)HIWORD(call.lParam));)
#define ON_WM_TIMER() AFX_WM(WM_TIMER, self->OnTimer((UINT_PTR)call.wParam);)
#define AFX_WM_MOUSE(msg, fn) AFX_WM(msg, self->fn((UINT)call.wParam, CPoint(call.lParam));)
#define ON_WM_LBUTTONDOWN() AFX_WM_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_WM_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_WM_MOUSE(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MOUSEMOVE() AFX_WM_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSEWHEEL() \
    AFX_WM(WM_MOUSEWHEEL, call.result = self->OnMouseWheel(LOWORD(call.wParam), (short)HIWORD(call.wParam), CPoint(call.lParam));)
#define AFX_WM_KEY(msg, fn) AFX_WM(msg, self->fn((UINT)call.wParam, LOWORD(call.lParam), HIWORD(call.lParam));)
#define ON_WM_KEYDOWN() AFX_WM_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_SYSKEYDOWN() AFX_WM_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_CHAR() AFX_WM_KEY(WM_CHAR, OnChar)
#define ON_WM_SETFOCUS() AFX_WM(WM_SETFOCUS, self->OnSetFocus(CWnd::FromHandle((HWND)call.wParam));)
#define ON_WM_KILLFOCUS() AFX_WM(WM_KILLFOCUS, self->OnKillFocus(CWnd::FromHandle((HWND)call.wParam));)
#define ON_WM_HSCROLL() \
    AFX_WM(WM_HSCROLL, self->OnHScroll(LOWORD(call.wParam), HIWORD(call.wParam), \
                                       reinterpret_cast<CScrollBar*>(CWnd::FromHandle((HWND)call.lParam)));)
#define ON_WM_VSCROLL() \
    AFX_WM(WM_VSCROLL, self->OnVScroll(LOWORD(call.wParam), HIWORD(call.wParam), \
                                       reinterpret_cast<CScrollBar*>(CWnd::FromHandle((HWND)call.lParam)));)
#define ON_WM_CLOSE() AFX_WM(WM_CLOSE, self->OnClose();)
#define ON_WM_CTLCOLOR() \
    AFX_WM(AFX_WM_CTLCOLOR, call.result = (LRESULT)self->OnCtlColor(CDC::FromHandle((HDC)call.wParam), \
                                                                    CWnd::FromHandle((HWND)call.lParam), call.nID);)
#define ON_WM_SETCURSOR() \
    AFX_WM(WM_SETCURSOR, call.result = self->OnSetCursor(CWnd::FromHandle((HWND)call.wParam), LOWORD(call.lParam), HIWORD(call.lParam));)
#define ON_WM_NCHITTEST() AFX_WM(WM_NCHITTEST, call.result = self->OnNcHitTest(CPoint(call.lParam));)
#define ON_WM_GETMINMAXINFO() AFX_WM(WM_GETMINMAXINFO, self->OnGetMinMaxInfo((MINMAXINFO*)call.lParam);)
#define ON_WM_SHOWWINDOW() AFX_WM(WM_SHOWWINDOW, self->OnShowWindow((BOOL)call.wParam, (UINT)call.lParam);)
#define ON_WM_CONTEXTMENU() AFX_WM(WM_CONTEXTMENU, self->OnContextMenu(CWnd::FromHandle((HWND)call.wParam), CPoint(call.lParam));)
#define ON_WM_CAPTURECHANGED() AFX_WM(WM_CAPTURECHANGED, self->OnCaptureChanged(CWnd::FromHandle((HWND)call.lParam));)
#define ON_WM_DRAWITEM() AFX_WM(WM_DRAWITEM, self->OnDrawItem((int)call.wParam, (LPDRAWITEMSTRUCT)call.lParam); call.result = TRUE;)
#define ON_WM_MEASUREITEM() \
    AFX_WM(WM_MEASUREITEM, self->OnMeasureItem((int)call.wParam, (LPMEASUREITEMSTRUCT)call.lParam); call.result = TRUE;)
#define ON_WM_SYSCOMMAND() AFX_WM(WM_SYSCOMMAND, self->OnSysCommand((UINT)call.wParam, call.lParam);)
#define ON_WM_ACTIVATE() \
    AFX_WM(WM_ACTIVATE, self->OnActivate(LOWORD(call.wParam), CWnd::FromHandle((HWND)call.lParam), HIWORD(call.wParam));)
#define ON_WM_MOUSEACTIVATE() \
    AFX_WM(WM_MOUSEACTIVATE, call.result = self->OnMouseActivate(CWnd::FromHandle((HWND)call.wParam), LOWORD(call.lParam), HIWORD(call.lParam));)
#define ON_WM_GETDLGCODE() AFX_WM(WM_GETDLGCODE, call.result = self->OnGetDlgCode();)
#define ON_WM_NCCALCSIZE() AFX_WM(WM_NCCALCSIZE, self->OnNcCalcSize((BOOL)call.wParam, (NCCALCSIZE_PARAMS*)call.lParam);)
#define ON_WM_NCPAINT() AFX_WM(WM_NCPAINT, self->OnNcPaint();)
#define ON_WM_NCLBUTTONDOWN() AFX_WM(WM_NCLBUTTONDOWN, self->OnNcLButtonDown((UINT)call.wParam, CPoint(call.lParam));)
#define ON_WM_NCLBUTTONDBLCLK() AFX_WM(WM_NCLBUTTONDBLCLK, self->OnNcLButtonDblClk((UINT)call.wParam, CPoint(call.lParam));)
#define ON_WM_NCMOUSEMOVE() AFX_WM(WM_NCMOUSEMOVE, self->OnNcMouseMove((UINT)call.wParam, CPoint(call.lParam));)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM(WM_WINDOWPOSCHANGING, self->OnWindowPosChanging((WINDOWPOS*)call.lParam);)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM(WM_WINDOWPOSCHANGED, self->OnWindowPosChanged((WINDOWPOS*)call.lParam);)
#define ON_WM_SETTINGCHANGE() AFX_WM(WM_SETTINGCHANGE, self->OnSettingChange((UINT)call.wParam, (LPCSTR)call.lParam);)
#define ON_WM_SYSCOLORCHANGE() AFX_WM(WM_SYSCOLORCHANGE, self->OnSysColorChange();)
#define ON_WM_ENABLE() AFX_WM(WM_ENABLE, self->OnEnable((BOOL)call.wParam);)
#define ON_WM_CANCELMODE() AFX_WM(WM_CANCELMODE, self->OnCancelMode();)
#define ON_WM_INITMENUPOPUP() \
    AFX_WM(WM_INITMENUPOPUP, self->OnInitMenuPopup(AfxMenuFromHandle((HMENU)call.wParam), LOWORD(call.lParam), HIWORD(call.lParam));)
