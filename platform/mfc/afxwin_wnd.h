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
class CListBox;
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

// Help ids: a command's is HID_BASE_COMMAND + its id.
enum : UINT { HID_BASE_COMMAND = 0x10000, HID_BASE_CONTROL = 0x50000 };

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
    // The message now being dispatched on this thread (time and cursor position of the
    // last message taken from the queue).
    static const MSG* PASCAL GetCurrentMessage();
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    static BOOL PASCAL ReflectLastMsg(HWND child, LRESULT* result = nullptr);
    // Calls PreTranslateMessage from msg's window up through parents and owners (each
    // window once), stopping at stop or at the first that takes the message.
    static BOOL PASCAL WalkPreTranslateTree(HWND stop, MSG* msg);
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE,
                                  BOOL onlyPermanent = FALSE);
    virtual BOOL IsFrameWnd() const { return FALSE; }
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
    // The first window up the parent chain that is not a child (this one when it is not).
    CWnd* GetParentOwner() const;
    // The window a dialog or message box should be owned by: parent (else the main
    // window) up to its top level, then that window's last active popup. topLevel gets
    // the top-level window itself.
    static CWnd* PASCAL GetSafeOwner(CWnd* parent = nullptr, HWND* topLevel = nullptr);
    CWnd* GetLastActivePopup() const { return FromHandle(::GetLastActivePopup(m_hWnd)); }
    CWnd* GetNextDlgTabItem(CWnd* ctl, BOOL previous = FALSE) const {
        return FromHandle(::GetNextDlgTabItem(m_hWnd, ctl ? ctl->m_hWnd : nullptr, previous));
    }
    CWnd* GetNextDlgGroupItem(CWnd* ctl, BOOL previous = FALSE) const {
        return FromHandle(::GetNextDlgGroupItem(m_hWnd, ctl ? ctl->m_hWnd : nullptr, previous));
    }
    BOOL IsDialogMessage(LPMSG msg) { return ::IsDialogMessageA(m_hWnd, msg); }
    // Whether this window's top-level parent is the active window.
    BOOL IsTopParentActive() const;
    void ActivateTopParent();
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
    // The checked button of first..last, 0 for none.
    int GetCheckedRadioButton(int first, int last) const;
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
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    BOOL FlashWindow(BOOL invert) { return ::FlashWindow(m_hWnd, invert); }
    // The placement's length is filled in.
    BOOL GetWindowPlacement(WINDOWPLACEMENT* wp) const {
        wp->length = sizeof(WINDOWPLACEMENT);
        return ::GetWindowPlacement(m_hWnd, wp);
    }
    BOOL SetWindowPlacement(const WINDOWPLACEMENT* wp) {
        WINDOWPLACEMENT copy = *wp;
        copy.length = sizeof copy;
        return ::SetWindowPlacement(m_hWnd, &copy);
    }
    // The window keeps a copy; rgn stays the caller's.
    int SetWindowRgn(HRGN rgn, BOOL redraw);
    int GetWindowRgn(HRGN rgn) const { return ::GetWindowRgn(m_hWnd, rgn); }

    // Painting.
    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT r, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, r, erase); }
    void InvalidateRgn(CRgn* rgn, BOOL erase = TRUE) { ::InvalidateRgn(m_hWnd, (HRGN)rgn->m_hObject, erase); }
    void ValidateRect(LPCRECT r) { ::ValidateRect(m_hWnd, r); }
    void ValidateRgn(CRgn* rgn) { ::ValidateRgn(m_hWnd, rgn ? (HRGN)rgn->m_hObject : nullptr); }
    BOOL GetUpdateRect(LPRECT r, BOOL erase = FALSE) { return ::GetUpdateRect(m_hWnd, r, erase); }
    int GetUpdateRgn(CRgn* rgn, BOOL erase = FALSE) { return ::GetUpdateRgn(m_hWnd, (HRGN)rgn->m_hObject, erase); }
    // One window of the desktop at a time; UnlockWindowUpdate ends it.
    BOOL LockWindowUpdate() { return ::LockWindowUpdate(m_hWnd); }
    void UnlockWindowUpdate() { ::LockWindowUpdate(nullptr); }
    void Print(CDC* dc, DWORD flags) const { ::SendMessageA(m_hWnd, WM_PRINT, (WPARAM)dc->m_hDC, (LPARAM)flags); }
    void PrintClient(CDC* dc, DWORD flags) const { ::SendMessageA(m_hWnd, WM_PRINTCLIENT, (WPARAM)dc->m_hDC, (LPARAM)flags); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT r = nullptr, CRgn* rgn = nullptr, UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE) {
        return ::RedrawWindow(m_hWnd, r, rgn ? (HRGN)rgn->m_hObject : nullptr, flags);
    }
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    CDC* GetDCEx(CRgn* clip, DWORD flags) {
        return CDC::FromHandle(::GetDCEx(m_hWnd, clip ? (HRGN)clip->m_hObject : nullptr, flags));
    }
    int ReleaseDC(CDC* dc) { return ::ReleaseDC(m_hWnd, dc->m_hDC); }
    CDC* BeginPaint(LPPAINTSTRUCT ps) { return CDC::FromHandle(::BeginPaint(m_hWnd, ps)); }
    void EndPaint(LPPAINTSTRUCT ps) { ::EndPaint(m_hWnd, ps); }
    void ScrollWindow(int dx, int dy, LPCRECT scroll = nullptr, LPCRECT clip = nullptr) {
        ::ScrollWindow(m_hWnd, dx, dy, scroll, clip);
    }
    int ScrollWindowEx(int dx, int dy, LPCRECT scroll, LPCRECT clip, CRgn* update, LPRECT updateRect, UINT flags) {
        return ::ScrollWindowEx(m_hWnd, dx, dy, scroll, clip, update ? (HRGN)update->m_hObject : nullptr, updateRect, flags);
    }

    // Scroll bars. A window whose bar is a sibling control (GetScrollBarCtrl) reads and
    // sets that control instead of its own bar.
    virtual CScrollBar* GetScrollBarCtrl(int bar) const;
    int GetScrollPos(int bar) const;
    int SetScrollPos(int bar, int pos, BOOL redraw = TRUE);
    void GetScrollRange(int bar, LPINT minPos, LPINT maxPos) const;
    void SetScrollRange(int bar, int minPos, int maxPos, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, LPSCROLLINFO si, UINT mask = SIF_ALL) const;
    BOOL SetScrollInfo(int bar, LPSCROLLINFO si, BOOL redraw = TRUE);
    // The highest position the bar's thumb can take (range max minus page plus one).
    int GetScrollLimit(int bar) const;
    void ShowScrollBar(UINT bar, BOOL show = TRUE) { ::ShowScrollBar(m_hWnd, bar, show); }
    BOOL EnableScrollBar(int bar, UINT arrows = ESB_ENABLE_BOTH) { return ::EnableScrollBar(m_hWnd, bar, arrows); }
    void EnableScrollBarCtrl(int bar, BOOL enable = TRUE);

    // Focus, capture, timers, messages, menus, icons.
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr) { return ::SetTimer(m_hWnd, id, elapse, proc); }
    BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
    BOOL CreateSolidCaret(int w, int h) { return ::CreateCaret(m_hWnd, nullptr, w, h); }
    BOOL CreateCaret(CBitmap* bmp) { return ::CreateCaret(m_hWnd, (HBITMAP)bmp->m_hObject, 0, 0); }
    void ShowCaret() { ::ShowCaret(m_hWnd); }
    void HideCaret() { ::HideCaret(m_hWnd); }
    static void PASCAL SetCaretPos(POINT p) { ::SetCaretPos(p.x, p.y); }
    static CPoint PASCAL GetCaretPos() { POINT p{}; ::GetCaretPos(&p); return CPoint(p.x, p.y); }
    // Sets WS_EX_ACCEPTFILES, which is what makes the system send WM_DROPFILES.
    void DragAcceptFiles(BOOL accept = TRUE) { ModifyStyleEx(accept ? 0 : WS_EX_ACCEPTFILES, accept ? WS_EX_ACCEPTFILES : 0); }
    LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::SendMessageA(m_hWnd, m, w, l); }
    BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const { return ::PostMessageA(m_hWnd, m, w, l); }
    BOOL SendNotifyMessage(UINT m, WPARAM w, LPARAM l) const { return ::SendNotifyMessageA(m_hWnd, m, w, l); }
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

    // Handlers: plain members called through map entries (see afxwin_cmd.h); each
    // default passes the message on with Default(). A class that handles a message
    // declares its own afx_msg member of the same signature and lists the entry.
    afx_msg int OnCreate(LPCREATESTRUCTA cs);
    afx_msg BOOL OnNcCreate(LPCREATESTRUCTA cs);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSizing(UINT side, LPRECT rect);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnMoving(UINT side, LPRECT rect);
    afx_msg void OnEnterSizeMove();
    afx_msg void OnExitSizeMove();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnMButtonDown(UINT flags, CPoint point);
    afx_msg void OnMButtonUp(UINT flags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg void OnMouseHover(UINT flags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnKeyUp(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnSysKeyDown(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnSysKeyUp(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnChar(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnDeadChar(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnSysChar(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnSysDeadChar(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg void OnKillFocus(CWnd* newWnd);
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnClose();
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* mmi);
    afx_msg void OnShowWindow(BOOL show, UINT status);
    afx_msg void OnContextMenu(CWnd* wnd, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    afx_msg void OnDrawItem(int id, LPDRAWITEMSTRUCT dis);
    afx_msg void OnMeasureItem(int id, LPMEASUREITEMSTRUCT mis);
    afx_msg void OnDeleteItem(int id, LPDELETEITEMSTRUCT dis);
    afx_msg int OnCompareItem(int id, LPCOMPAREITEMSTRUCT cis);
    afx_msg int OnCharToItem(UINT ch, CListBox* list, UINT index);
    afx_msg int OnVKeyToItem(UINT key, CListBox* list, UINT index);
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnActivateApp(BOOL active, DWORD threadId);
    afx_msg BOOL OnNcActivate(BOOL active);
    afx_msg int OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message);
    // activate: this child is the one being activated.
    afx_msg void OnMDIActivate(BOOL activate, CWnd* activated, CWnd* deactivated);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg void OnNcPaint();
    afx_msg void OnNcLButtonDown(UINT hitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT hitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT hitTest, CPoint point);
    afx_msg void OnNcRButtonDown(UINT hitTest, CPoint point);
    afx_msg void OnNcRButtonUp(UINT hitTest, CPoint point);
    afx_msg void OnNcRButtonDblClk(UINT hitTest, CPoint point);
    afx_msg void OnNcMButtonDown(UINT hitTest, CPoint point);
    afx_msg void OnNcMButtonUp(UINT hitTest, CPoint point);
    afx_msg void OnNcMButtonDblClk(UINT hitTest, CPoint point);
    afx_msg void OnNcMouseMove(UINT hitTest, CPoint point);
    afx_msg void OnWindowPosChanging(WINDOWPOS* wp);
    afx_msg void OnWindowPosChanged(WINDOWPOS* wp);
    afx_msg void OnStyleChanging(int styleType, LPSTYLESTRUCT styles);
    afx_msg void OnStyleChanged(int styleType, LPSTYLESTRUCT styles);
    afx_msg void OnSettingChange(UINT flags, LPCSTR section);
    afx_msg void OnSysColorChange();
    afx_msg void OnTimeChange();
    afx_msg void OnPaletteChanged(CWnd* focusWnd);
    afx_msg BOOL OnQueryNewPalette();
    afx_msg void OnEnable(BOOL enable);
    afx_msg void OnCancelMode();
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg void OnEnterIdle(UINT why, CWnd* who);
    afx_msg void OnInitMenu(CMenu* menu);
    afx_msg void OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu);
    afx_msg void OnMenuSelect(UINT item, UINT flags, HMENU menu);
    afx_msg LRESULT OnMenuChar(UINT ch, UINT flags, CMenu* menu);
    afx_msg void OnEnterMenuLoop(BOOL trackPopup);
    afx_msg void OnExitMenuLoop(BOOL trackPopup);
    afx_msg BOOL OnQueryEndSession();
    afx_msg void OnEndSession(BOOL ending);
    afx_msg BOOL OnQueryOpen();
    afx_msg void OnDropFiles(HDROP drop);
    afx_msg BOOL OnHelpInfo(HELPINFO* info);
    // WM_HELPHITTEST (hook with ON_MESSAGE): lParam is the client point. Answers the
    // help id of the tool there (0x10000 + its id), 0 for none.
    afx_msg LRESULT OnHelpHitTest(WPARAM wParam, LPARAM lParam);

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
// Answers a TTN_NEEDTEXT notification with the tip part of the string whose id is the
// tool's id (a control tool: its control id): the text after the first newline of
// "prompt\ntip". FALSE when there is no such string or tip.
TRVMFC_API BOOL AfxFillToolTipText(NMHDR* nm);

// ---- window message entries

// Handler signatures of the window message entries (see afx_sig in afxwin_cmd.h).
namespace afx_sig {
using i_cs = int(LPCREATESTRUCTA);
using b_cs = BOOL(LPCREATESTRUCTA);
using b_dc = BOOL(CDC*);
using v_uii = void(UINT, int, int);
using v_ii = void(int, int);
using v_u_rect = void(UINT, LPRECT);
using v_timer = void(UINT_PTR);
using v_u_pt = void(UINT, CPoint);
using b_u_s_pt = BOOL(UINT, short, CPoint);
using v_uuu = void(UINT, UINT, UINT);
using v_w = void(CWnd*);
using v_uu_bar = void(UINT, UINT, CScrollBar*);
using hbr_dc_w_u = HBRUSH(CDC*, CWnd*, UINT);
using hbr_dc_u = HBRUSH(CDC*, UINT);
using b_w_uu = BOOL(CWnd*, UINT, UINT);
using l_pt = LRESULT(CPoint);
using v_mmi = void(MINMAXINFO*);
using v_b_u = void(BOOL, UINT);
using v_w_pt = void(CWnd*, CPoint);
using v_i_dis = void(int, LPDRAWITEMSTRUCT);
using v_i_mis = void(int, LPMEASUREITEMSTRUCT);
using v_i_del = void(int, LPDELETEITEMSTRUCT);
using i_i_cmp = int(int, LPCOMPAREITEMSTRUCT);
using i_u_lb_u = int(UINT, CListBox*, UINT);
using v_dis = void(LPDRAWITEMSTRUCT);
using v_mis = void(LPMEASUREITEMSTRUCT);
using v_del = void(LPDELETEITEMSTRUCT);
using i_cmp = int(LPCOMPAREITEMSTRUCT);
using v_uu = void(UINT, UINT);
using v_u_l = void(UINT, LPARAM);
using v_u_w_b = void(UINT, CWnd*, BOOL);
using v_b_dw = void(BOOL, DWORD);
using b_b = BOOL(BOOL);
using i_w_uu = int(CWnd*, UINT, UINT);
using v_b_w_w = void(BOOL, CWnd*, CWnd*);
using u_v = UINT();
using v_b_nccs = void(BOOL, NCCALCSIZE_PARAMS*);
using v_wp = void(WINDOWPOS*);
using v_i_ss = void(int, LPSTYLESTRUCT);
using v_u_sz = void(UINT, LPCSTR);
using v_b = void(BOOL);
using v_u_w = void(UINT, CWnd*);
using v_menu = void(CMenu*);
using v_menu_u_b = void(CMenu*, UINT, BOOL);
using v_uu_hm = void(UINT, UINT, HMENU);
using l_uu_menu = LRESULT(UINT, UINT, CMenu*);
using v_drop = void(HDROP);
using b_help = BOOL(HELPINFO*);
}  // namespace afx_sig

#define AFX_WM(msg, body) AFX_MSG_ENTRY(msg, 0, 0, 0, nullptr, body return TRUE;)
#define AFX_WM_POINT(l) CPoint((short)LOWORD(l), (short)HIWORD(l))
#define ON_WM_CREATE() AFX_WM(WM_CREATE, call.result = AFX_HANDLER(i_cs, OnCreate)((LPCREATESTRUCTA)call.lParam);)
#define ON_WM_NCCREATE() AFX_WM(WM_NCCREATE, call.result = AFX_HANDLER(b_cs, OnNcCreate)((LPCREATESTRUCTA)call.lParam);)
#define ON_WM_DESTROY() AFX_WM(WM_DESTROY, AFX_HANDLER(v_v, OnDestroy)();)
#define ON_WM_NCDESTROY() AFX_WM(WM_NCDESTROY, AFX_HANDLER(v_v, OnNcDestroy)();)
#define ON_WM_PAINT() AFX_WM(WM_PAINT, AFX_HANDLER(v_v, OnPaint)();)
#define ON_WM_ERASEBKGND() \
    AFX_WM(WM_ERASEBKGND, call.result = AFX_HANDLER(b_dc, OnEraseBkgnd)(CDC::FromHandle((HDC)call.wParam));)
#define ON_WM_SIZE() \
    AFX_WM(WM_SIZE, AFX_HANDLER(v_uii, OnSize)((UINT)call.wParam, (short)LOWORD(call.lParam), (short)HIWORD(call.lParam));)
#define ON_WM_SIZING() AFX_WM(WM_SIZING, AFX_HANDLER(v_u_rect, OnSizing)((UINT)call.wParam, (LPRECT)call.lParam); call.result = TRUE;)
#define ON_WM_MOVE() AFX_WM(WM_MOVE, AFX_HANDLER(v_ii, OnMove)((short)LOWORD(call.lParam), (short)HIWORD(call.lParam));)
#define ON_WM_MOVING() AFX_WM(WM_MOVING, AFX_HANDLER(v_u_rect, OnMoving)((UINT)call.wParam, (LPRECT)call.lParam); call.result = TRUE;)
#define ON_WM_ENTERSIZEMOVE() AFX_WM(WM_ENTERSIZEMOVE, AFX_HANDLER(v_v, OnEnterSizeMove)();)
#define ON_WM_EXITSIZEMOVE() AFX_WM(WM_EXITSIZEMOVE, AFX_HANDLER(v_v, OnExitSizeMove)();)
#define ON_WM_TIMER() AFX_WM(WM_TIMER, AFX_HANDLER(v_timer, OnTimer)((UINT_PTR)call.wParam);)
#define AFX_WM_MOUSE(msg, fn) AFX_WM(msg, AFX_HANDLER(v_u_pt, fn)((UINT)call.wParam, AFX_WM_POINT(call.lParam));)
#define ON_WM_LBUTTONDOWN() AFX_WM_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_WM_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_WM_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_WM_MOUSE(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_WM_MOUSE(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSEMOVE() AFX_WM_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_MOUSEHOVER() AFX_WM_MOUSE(WM_MOUSEHOVER, OnMouseHover)
#define ON_WM_MOUSELEAVE() AFX_WM(WM_MOUSELEAVE, AFX_HANDLER(v_v, OnMouseLeave)();)
#define ON_WM_MOUSEWHEEL() \
    AFX_WM(WM_MOUSEWHEEL, call.result = AFX_HANDLER(b_u_s_pt, OnMouseWheel)(LOWORD(call.wParam), (short)HIWORD(call.wParam), \
                                                                           AFX_WM_POINT(call.lParam));)
#define AFX_WM_KEY(msg, fn) AFX_WM(msg, AFX_HANDLER(v_uuu, fn)((UINT)call.wParam, LOWORD(call.lParam), HIWORD(call.lParam));)
#define ON_WM_KEYDOWN() AFX_WM_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_SYSKEYDOWN() AFX_WM_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_WM_KEY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_CHAR() AFX_WM_KEY(WM_CHAR, OnChar)
#define ON_WM_DEADCHAR() AFX_WM_KEY(WM_DEADCHAR, OnDeadChar)
#define ON_WM_SYSCHAR() AFX_WM_KEY(WM_SYSCHAR, OnSysChar)
#define ON_WM_SYSDEADCHAR() AFX_WM_KEY(WM_SYSDEADCHAR, OnSysDeadChar)
#define ON_WM_SETFOCUS() AFX_WM(WM_SETFOCUS, AFX_HANDLER(v_w, OnSetFocus)(CWnd::FromHandle((HWND)call.wParam));)
#define ON_WM_KILLFOCUS() AFX_WM(WM_KILLFOCUS, AFX_HANDLER(v_w, OnKillFocus)(CWnd::FromHandle((HWND)call.wParam));)
#define ON_WM_HSCROLL() \
    AFX_WM(WM_HSCROLL, AFX_HANDLER(v_uu_bar, OnHScroll)(LOWORD(call.wParam), HIWORD(call.wParam), \
                                                       reinterpret_cast<CScrollBar*>(CWnd::FromHandle((HWND)call.lParam)));)
#define ON_WM_VSCROLL() \
    AFX_WM(WM_VSCROLL, AFX_HANDLER(v_uu_bar, OnVScroll)(LOWORD(call.wParam), HIWORD(call.wParam), \
                                                       reinterpret_cast<CScrollBar*>(CWnd::FromHandle((HWND)call.lParam)));)
#define ON_WM_CLOSE() AFX_WM(WM_CLOSE, AFX_HANDLER(v_v, OnClose)();)
#define ON_WM_CTLCOLOR() \
    AFX_WM(AFX_WM_CTLCOLOR, call.result = (LRESULT)AFX_HANDLER(hbr_dc_w_u, OnCtlColor)( \
                                CDC::FromHandle((HDC)call.wParam), CWnd::FromHandle((HWND)call.lParam), call.nID);)
#define ON_WM_SETCURSOR() \
    AFX_WM(WM_SETCURSOR, call.result = AFX_HANDLER(b_w_uu, OnSetCursor)(CWnd::FromHandle((HWND)call.wParam), \
                                                                       LOWORD(call.lParam), HIWORD(call.lParam));)
#define ON_WM_NCHITTEST() AFX_WM(WM_NCHITTEST, call.result = AFX_HANDLER(l_pt, OnNcHitTest)(AFX_WM_POINT(call.lParam));)
#define ON_WM_GETMINMAXINFO() AFX_WM(WM_GETMINMAXINFO, AFX_HANDLER(v_mmi, OnGetMinMaxInfo)((MINMAXINFO*)call.lParam);)
#define ON_WM_SHOWWINDOW() AFX_WM(WM_SHOWWINDOW, AFX_HANDLER(v_b_u, OnShowWindow)((BOOL)call.wParam, (UINT)call.lParam);)
#define ON_WM_CONTEXTMENU() \
    AFX_WM(WM_CONTEXTMENU, AFX_HANDLER(v_w_pt, OnContextMenu)(CWnd::FromHandle((HWND)call.wParam), AFX_WM_POINT(call.lParam));)
#define ON_WM_CAPTURECHANGED() AFX_WM(WM_CAPTURECHANGED, AFX_HANDLER(v_w, OnCaptureChanged)(CWnd::FromHandle((HWND)call.lParam));)
#define ON_WM_DRAWITEM() \
    AFX_WM(WM_DRAWITEM, AFX_HANDLER(v_i_dis, OnDrawItem)((int)call.wParam, (LPDRAWITEMSTRUCT)call.lParam); call.result = TRUE;)
#define ON_WM_MEASUREITEM() \
    AFX_WM(WM_MEASUREITEM, AFX_HANDLER(v_i_mis, OnMeasureItem)((int)call.wParam, (LPMEASUREITEMSTRUCT)call.lParam); \
                           call.result = TRUE;)
#define ON_WM_DELETEITEM() \
    AFX_WM(WM_DELETEITEM, AFX_HANDLER(v_i_del, OnDeleteItem)((int)call.wParam, (LPDELETEITEMSTRUCT)call.lParam); \
                          call.result = TRUE;)
#define ON_WM_COMPAREITEM() \
    AFX_WM(WM_COMPAREITEM, call.result = AFX_HANDLER(i_i_cmp, OnCompareItem)((int)call.wParam, (LPCOMPAREITEMSTRUCT)call.lParam);)
#define ON_WM_CHARTOITEM() \
    AFX_WM(WM_CHARTOITEM, call.result = AFX_HANDLER(i_u_lb_u, OnCharToItem)( \
                              LOWORD(call.wParam), reinterpret_cast<CListBox*>(CWnd::FromHandle((HWND)call.lParam)), \
                              HIWORD(call.wParam));)
#define ON_WM_VKEYTOITEM() \
    AFX_WM(WM_VKEYTOITEM, call.result = AFX_HANDLER(i_u_lb_u, OnVKeyToItem)( \
                              LOWORD(call.wParam), reinterpret_cast<CListBox*>(CWnd::FromHandle((HWND)call.lParam)), \
                              HIWORD(call.wParam));)
#define ON_WM_SYSCOMMAND() AFX_WM(WM_SYSCOMMAND, AFX_HANDLER(v_u_l, OnSysCommand)((UINT)call.wParam, call.lParam);)
#define ON_WM_ACTIVATE() \
    AFX_WM(WM_ACTIVATE, AFX_HANDLER(v_u_w_b, OnActivate)(LOWORD(call.wParam), CWnd::FromHandle((HWND)call.lParam), \
                                                        HIWORD(call.wParam));)
#define ON_WM_ACTIVATEAPP() AFX_WM(WM_ACTIVATEAPP, AFX_HANDLER(v_b_dw, OnActivateApp)((BOOL)call.wParam, (DWORD)call.lParam);)
#define ON_WM_NCACTIVATE() AFX_WM(WM_NCACTIVATE, call.result = AFX_HANDLER(b_b, OnNcActivate)((BOOL)call.wParam);)
#define ON_WM_MOUSEACTIVATE() \
    AFX_WM(WM_MOUSEACTIVATE, call.result = AFX_HANDLER(i_w_uu, OnMouseActivate)(CWnd::FromHandle((HWND)call.wParam), \
                                                                                LOWORD(call.lParam), HIWORD(call.lParam));)
#define ON_WM_MDIACTIVATE() \
    AFX_WM(WM_MDIACTIVATE, AFX_HANDLER(v_b_w_w, OnMDIActivate)((HWND)call.lParam == self->m_hWnd, \
                                                              CWnd::FromHandle((HWND)call.lParam), \
                                                              CWnd::FromHandle((HWND)call.wParam));)
#define ON_WM_GETDLGCODE() AFX_WM(WM_GETDLGCODE, call.result = AFX_HANDLER(u_v, OnGetDlgCode)();)
#define ON_WM_NCCALCSIZE() \
    AFX_WM(WM_NCCALCSIZE, AFX_HANDLER(v_b_nccs, OnNcCalcSize)((BOOL)call.wParam, (NCCALCSIZE_PARAMS*)call.lParam);)
#define ON_WM_NCPAINT() AFX_WM(WM_NCPAINT, AFX_HANDLER(v_v, OnNcPaint)();)
#define AFX_WM_NCMOUSE(msg, fn) AFX_WM(msg, AFX_HANDLER(v_u_pt, fn)((UINT)call.wParam, AFX_WM_POINT(call.lParam));)
#define ON_WM_NCLBUTTONDOWN() AFX_WM_NCMOUSE(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_WM_NCMOUSE(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_WM_NCMOUSE(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCRBUTTONDOWN() AFX_WM_NCMOUSE(WM_NCRBUTTONDOWN, OnNcRButtonDown)
#define ON_WM_NCRBUTTONUP() AFX_WM_NCMOUSE(WM_NCRBUTTONUP, OnNcRButtonUp)
#define ON_WM_NCRBUTTONDBLCLK() AFX_WM_NCMOUSE(WM_NCRBUTTONDBLCLK, OnNcRButtonDblClk)
#define ON_WM_NCMBUTTONDOWN() AFX_WM_NCMOUSE(WM_NCMBUTTONDOWN, OnNcMButtonDown)
#define ON_WM_NCMBUTTONUP() AFX_WM_NCMOUSE(WM_NCMBUTTONUP, OnNcMButtonUp)
#define ON_WM_NCMBUTTONDBLCLK() AFX_WM_NCMOUSE(WM_NCMBUTTONDBLCLK, OnNcMButtonDblClk)
#define ON_WM_NCMOUSEMOVE() AFX_WM_NCMOUSE(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_WINDOWPOSCHANGING() AFX_WM(WM_WINDOWPOSCHANGING, AFX_HANDLER(v_wp, OnWindowPosChanging)((WINDOWPOS*)call.lParam);)
#define ON_WM_WINDOWPOSCHANGED() AFX_WM(WM_WINDOWPOSCHANGED, AFX_HANDLER(v_wp, OnWindowPosChanged)((WINDOWPOS*)call.lParam);)
#define ON_WM_STYLECHANGING() \
    AFX_WM(WM_STYLECHANGING, AFX_HANDLER(v_i_ss, OnStyleChanging)((int)call.wParam, (LPSTYLESTRUCT)call.lParam);)
#define ON_WM_STYLECHANGED() \
    AFX_WM(WM_STYLECHANGED, AFX_HANDLER(v_i_ss, OnStyleChanged)((int)call.wParam, (LPSTYLESTRUCT)call.lParam);)
#define ON_WM_SETTINGCHANGE() \
    AFX_WM(WM_SETTINGCHANGE, AFX_HANDLER(v_u_sz, OnSettingChange)((UINT)call.wParam, (LPCSTR)call.lParam);)
#define ON_WM_SYSCOLORCHANGE() AFX_WM(WM_SYSCOLORCHANGE, AFX_HANDLER(v_v, OnSysColorChange)();)
#define ON_WM_TIMECHANGE() AFX_WM(WM_TIMECHANGE, AFX_HANDLER(v_v, OnTimeChange)();)
#define ON_WM_PALETTECHANGED() \
    AFX_WM(WM_PALETTECHANGED, AFX_HANDLER(v_w, OnPaletteChanged)(CWnd::FromHandle((HWND)call.wParam));)
#define ON_WM_QUERYNEWPALETTE() AFX_WM(WM_QUERYNEWPALETTE, call.result = AFX_HANDLER(b_v, OnQueryNewPalette)();)
#define ON_WM_ENABLE() AFX_WM(WM_ENABLE, AFX_HANDLER(v_b, OnEnable)((BOOL)call.wParam);)
#define ON_WM_CANCELMODE() AFX_WM(WM_CANCELMODE, AFX_HANDLER(v_v, OnCancelMode)();)
#define ON_WM_PARENTNOTIFY() \
    AFX_WM(WM_PARENTNOTIFY, AFX_HANDLER(v_u_l, OnParentNotify)((UINT)call.wParam, call.lParam);)
#define ON_WM_ENTERIDLE() \
    AFX_WM(WM_ENTERIDLE, AFX_HANDLER(v_u_w, OnEnterIdle)((UINT)call.wParam, CWnd::FromHandle((HWND)call.lParam));)
#define ON_WM_INITMENU() AFX_WM(WM_INITMENU, AFX_HANDLER(v_menu, OnInitMenu)(AfxMenuFromHandle((HMENU)call.wParam));)
#define ON_WM_INITMENUPOPUP() \
    AFX_WM(WM_INITMENUPOPUP, AFX_HANDLER(v_menu_u_b, OnInitMenuPopup)(AfxMenuFromHandle((HMENU)call.wParam), \
                                                                     LOWORD(call.lParam), HIWORD(call.lParam));)
#define ON_WM_MENUSELECT() \
    AFX_WM(WM_MENUSELECT, AFX_HANDLER(v_uu_hm, OnMenuSelect)(LOWORD(call.wParam), HIWORD(call.wParam), (HMENU)call.lParam);)
#define ON_WM_MENUCHAR() \
    AFX_WM(WM_MENUCHAR, call.result = AFX_HANDLER(l_uu_menu, OnMenuChar)(LOWORD(call.wParam), HIWORD(call.wParam), \
                                                                        AfxMenuFromHandle((HMENU)call.lParam));)
#define ON_WM_ENTERMENULOOP() AFX_WM(WM_ENTERMENULOOP, AFX_HANDLER(v_b, OnEnterMenuLoop)((BOOL)call.wParam);)
#define ON_WM_EXITMENULOOP() AFX_WM(WM_EXITMENULOOP, AFX_HANDLER(v_b, OnExitMenuLoop)((BOOL)call.wParam);)
#define ON_WM_QUERYENDSESSION() AFX_WM(WM_QUERYENDSESSION, call.result = AFX_HANDLER(b_v, OnQueryEndSession)();)
#define ON_WM_ENDSESSION() AFX_WM(WM_ENDSESSION, AFX_HANDLER(v_b, OnEndSession)((BOOL)call.wParam);)
#define ON_WM_QUERYOPEN() AFX_WM(WM_QUERYOPEN, call.result = AFX_HANDLER(b_v, OnQueryOpen)();)
#define ON_WM_DROPFILES() AFX_WM(WM_DROPFILES, AFX_HANDLER(v_drop, OnDropFiles)((HDROP)call.wParam);)
#define ON_WM_HELPINFO() AFX_WM(WM_HELP, call.result = AFX_HANDLER(b_help, OnHelpInfo)((HELPINFO*)call.lParam);)

// Reflected to the control itself (its own DrawItem, CtlColor, ... members).
#define ON_WM_CTLCOLOR_REFLECT() \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + AFX_WM_CTLCOLOR, 0, 0, 0, nullptr, \
                  call.result = (LRESULT)AFX_HANDLER(hbr_dc_u, CtlColor)(CDC::FromHandle((HDC)call.wParam), call.nID); \
                  return call.result != 0;)
#define ON_WM_DRAWITEM_REFLECT() \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, 0, nullptr, \
                  AFX_HANDLER(v_dis, DrawItem)((LPDRAWITEMSTRUCT)call.lParam); call.result = TRUE; return TRUE;)
#define ON_WM_MEASUREITEM_REFLECT() \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_MEASUREITEM, 0, 0, 0, nullptr, \
                  AFX_HANDLER(v_mis, MeasureItem)((LPMEASUREITEMSTRUCT)call.lParam); call.result = TRUE; return TRUE;)
#define ON_WM_DELETEITEM_REFLECT() \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_DELETEITEM, 0, 0, 0, nullptr, \
                  AFX_HANDLER(v_del, DeleteItem)((LPDELETEITEMSTRUCT)call.lParam); call.result = TRUE; return TRUE;)
#define ON_WM_COMPAREITEM_REFLECT() \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_COMPAREITEM, 0, 0, 0, nullptr, \
                  call.result = AFX_HANDLER(i_cmp, CompareItem)((LPCOMPAREITEMSTRUCT)call.lParam); return TRUE;)
#define ON_WM_HSCROLL_REFLECT() \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, 0, 0, 0, nullptr, \
                  AFX_HANDLER(v_uu, HScroll)(LOWORD(call.wParam), HIWORD(call.wParam)); return TRUE;)
#define ON_WM_VSCROLL_REFLECT() \
    AFX_MSG_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, 0, 0, 0, nullptr, \
                  AFX_HANDLER(v_uu, VScroll)(LOWORD(call.wParam), HIWORD(call.wParam)); return TRUE;)
