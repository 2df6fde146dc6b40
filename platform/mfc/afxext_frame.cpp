// Frame windows: creation from a resource id, command routing, layout and idle work,
// the message bar, menus, activation and modal state, and the thread's frame list.
#include "afxwin.h"
#include "afxext_viewseam.h"
#include "afxwin_state.h"

#include <algorithm>
#include <vector>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_CLOSE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_SETFOCUS()
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_INITMENUPOPUP()
    ON_WM_SYSCOMMAND()
    ON_WM_MENUSELECT()
    ON_WM_ENTERIDLE()
    ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
    ON_MESSAGE(WM_POPMESSAGESTRING, OnPopMessageString)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_INDICATOR_KANA, OnUpdateKeyIndicator)
    ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
    ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
    ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

// ---- the thread's frames

namespace {

// The frames of this thread (the layer's registration list), in registration order:
// a copy, since the work done for one may create or destroy others.
std::vector<CFrameWnd*> ThreadFrames()
{
    std::vector<CFrameWnd*> frames;
    for (int i = 0, n = AfxGetThreadFrameCount(); i < n; ++i)
        if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetThreadFrame(i))) frames.push_back(frame);
    return frames;
}

thread_local CFrameWnd* t_routingFrame = nullptr;

// Field index of a text split by sep (the first field is 0); empty when missing.
CString ExtractField(const CString& text, int index, char sep)
{
    int start = 0;
    for (int i = 0; i < index; ++i) {
        int at = text.Find(sep, start);
        if (at < 0) return CString();
        start = at + 1;
    }
    int end = text.Find(sep, start);
    return end < 0 ? text.Mid(start) : text.Mid(start, end - start);
}

// Whether window is parent or lies below it through parents and owners.
bool IsDescendantOrOwned(HWND parent, HWND window)
{
    for (HWND h = window; h; h = ::GetParent(h))
        if (h == parent) return true;
    return false;
}

}  // namespace

CFrameWnd* AfxGetRoutingFrame() { return t_routingFrame; }

CPushRoutingFrame::CPushRoutingFrame(CFrameWnd* frame) : m_pOldRoutingFrame(t_routingFrame)
{
    t_routingFrame = frame;
}

CPushRoutingFrame::~CPushRoutingFrame() { t_routingFrame = m_pOldRoutingFrame; }

// ---- construction and creation

CFrameWnd::CFrameWnd()
{
    AfxAddThreadFrame(this);
}

CFrameWnd::~CFrameWnd()
{
    AfxRemoveThreadFrame(this);
    if (t_routingFrame == this) t_routingFrame = nullptr;
    delete[] m_phWndDisable;
}

void CFrameWnd::PostNcDestroy()
{
    // Frames live on the heap; the end of the window ends the object.
    delete this;
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1));
    if (cs.style & FWS_ADDTOTITLE) cs.style |= FWS_PREFIXTITLE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                       LPCSTR menuName, DWORD exStyle, CCreateContext* context)
{
    HMENU menu = nullptr;
    if (menuName) {
        HINSTANCE inst = AfxFindResourceHandle(menuName, (LPCSTR)RT_MENU);
        menu = ::LoadMenuA(inst, menuName);
        if (!menu) {
            ::OutputDebugStringA("CFrameWnd::Create: the frame's menu resource is missing\n");
            PostNcDestroy();
            return FALSE;
        }
    }
    m_strTitle = windowName;
    // The default rectangle lets the system place and size the frame.
    int x = rect.left, y = rect.top, cx = CW_USEDEFAULT, cy = CW_USEDEFAULT;
    if (rect.left != CW_USEDEFAULT) {
        cx = rect.right - rect.left;
        cy = rect.bottom - rect.top;
    } else {
        y = CW_USEDEFAULT;
    }
    if (!CreateEx(exStyle, className, windowName, style, x, y, cx, cy, parent ? parent->m_hWnd : nullptr, menu,
                  (LPVOID)context)) {
        if (menu) ::DestroyMenu(menu);
        return FALSE;
    }
    return TRUE;
}

LPCSTR CFrameWnd::GetIconWndClass(DWORD style, UINT idResource)
{
    if (style & WS_CHILD) return nullptr;
    HINSTANCE inst = AfxFindResourceHandle(MAKEINTRESOURCEA(idResource), (LPCSTR)RT_GROUP_ICON);
    HICON icon = ::LoadIconA(inst, MAKEINTRESOURCEA(idResource));
    if (!icon) return nullptr;
    return AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                               (HBRUSH)(COLOR_WINDOW + 1), icon);
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR resourceName)
{
    if (m_hAccelTable) return FALSE;  // loaded once
    HINSTANCE inst = AfxFindResourceHandle(resourceName, (LPCSTR)RT_ACCELERATOR);
    m_hAccelTable = ::LoadAcceleratorsA(inst, resourceName);
    return m_hAccelTable != nullptr;
}

BOOL CFrameWnd::LoadFrame(UINT idResource, DWORD defaultStyle, CWnd* parent, CCreateContext* context)
{
    m_nIDHelp = idResource;
    CString full;
    if (full.LoadString(idResource)) m_strTitle = ExtractField(full, 0, '\n');
    LPCSTR cls = GetIconWndClass(defaultStyle, idResource);
    CString title = m_strTitle;
    if (!Create(cls, title, defaultStyle, rectDefault, parent, MAKEINTRESOURCEA(idResource), 0, context))
        return FALSE;  // the object is gone (PostNcDestroy)
    m_hMenuDefault = ::GetMenu(m_hWnd);
    LoadAccelTable(MAKEINTRESOURCEA(idResource));
    if (!context) SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

int CFrameWnd::OnCreate(LPCREATESTRUCTA cs)
{
    return OnCreateHelper(cs, (CCreateContext*)cs->lpCreateParams);
}

int CFrameWnd::OnCreateHelper(LPCREATESTRUCTA cs, CCreateContext* context)
{
    if (CWnd::OnCreate(cs) == -1) return -1;
    if (!OnCreateClient(cs, context)) return -1;
    // The idle prompt once the bars exist.
    PostMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext* context)
{
    if (context && context->m_pNewViewClass) return CreateView(context, AFX_IDW_PANE_FIRST) != nullptr;
    return TRUE;
}

CWnd* CFrameWnd::CreateView(CCreateContext* context, UINT id)
{
    if (!context || !context->m_pNewViewClass) return nullptr;
    CObject* object = context->m_pNewViewClass->CreateObject();
    if (!object) return nullptr;
    if (!object->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete object;
        return nullptr;
    }
    auto* view = static_cast<CWnd*>(object);
    // A view that fails to be created has had its PostNcDestroy (views delete themselves).
    if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 0, 0, 0), this, id, context))
        return nullptr;
    // The view draws the sunken edge; the frame gives up its own.
    if (view->GetExStyle() & WS_EX_CLIENTEDGE) ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    return view;
}

void CFrameWnd::OnDestroy()
{
    DestroyDockBars();
    // The menu the frame was made with goes with the window, not one set later.
    if (m_hMenuDefault && ::GetMenu(m_hWnd) != m_hMenuDefault) ::SetMenu(m_hWnd, m_hMenuDefault);
    CWnd::OnDestroy();
}

void CFrameWnd::OnClose()
{
    if (m_lpfnCloseProc) {  // print preview closes itself
        m_lpfnCloseProc(this);
        return;
    }
    CDocument* doc = GetActiveDocument();
    if (doc && !AfxDocCanCloseFrame(doc, this)) return;
    DestroyWindow();
}

// ---- views

void CFrameWnd::SetActiveView(CView* viewNew, BOOL notify)
{
    CView* viewOld = m_pViewActive;
    if (viewNew == viewOld) return;
    m_pViewActive = nullptr;
    if (viewOld) AfxViewNotifyActivate(viewOld, FALSE, viewNew, viewOld);
    // The old view may have moved the activation itself; that wins.
    if (m_pViewActive) return;
    m_pViewActive = viewNew;
    if (viewNew && notify) AfxViewNotifyActivate(viewNew, TRUE, viewNew, viewOld);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    CView* view = GetActiveView();
    return view ? AfxViewGetDocument(view) : nullptr;
}

// ---- command routing

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    CPushRoutingFrame push(this);
    if (CView* view = GetActiveView())
        if (AfxViewRouteCmdMsg(view, nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND ctrl = (HWND)lParam;
    UINT id = LOWORD(wParam);
    CFrameWnd* top = GetTopLevelFrame();
    if (top && top->m_bHelpMode && !ctrl && id != ID_HELP && id != ID_DEFAULT_HELP && id != ID_CONTEXT_HELP) {
        // In help mode a command asks for its help instead of running.
        if (!SendMessage(WM_COMMANDHELP, 0, (LPARAM)(HID_BASE_COMMAND + id))) SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg)) return TRUE;
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        HACCEL accel = GetDefaultAccelerator();
        return accel && ::TranslateAcceleratorA(m_hWnd, accel, msg);
    }
    return FALSE;
}

// ---- layout

void CFrameWnd::RecalcLayout(BOOL notify)
{
    if (m_bInRecalcLayout) return;
    m_bInRecalcLayout = TRUE;
    // A layout asked for at idle time is done now.
    if (m_nIdleFlags & idleNotify) notify = TRUE;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    (void)notify;  // in-place servers would hear of the new borders; there are none
    if (GetStyle() & FWS_SNAPTOBARS) {
        // The frame takes the size its bars ask for.
        CRect rect(0, 0, 32767, 32767);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect, &rect, FALSE);
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder, &rect, TRUE);
        CalcWindowRect(&rect);
        SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOZORDER);
    } else {
        RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposExtra, &m_rectBorder);
    }
    m_bInRecalcLayout = FALSE;
}

void CFrameWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (type != SIZE_MINIMIZED) RecalcLayout();
}

BOOL CFrameWnd::OnEraseBkgnd(CDC* dc)
{
    if (m_pViewActive) return TRUE;  // the view paints the client area
    return CWnd::OnEraseBkgnd(dc);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    if (m_nIdleFlags & idleMenu) {
        m_nIdleFlags &= ~idleMenu;
        OnUpdateFrameMenu(m_hMenuAlt);
    }
    if (m_nIdleFlags & idleTitle) OnUpdateFrameTitle(TRUE);
    if (m_nIdleFlags & idleLayout) {
        RecalcLayout(m_nIdleFlags & idleNotify);
        UpdateWindow();
    }
    if (m_nIDTracking != m_nIDLastMessage) SetMessageText(m_nIDTracking);
    m_nIdleFlags = 0;
    ApplyFloatingShowDelays();
    return 0;
}

void CFrameWnd::ApplyFloatingShowDelays()
{
    // A floating frame shown or hidden with a delay changes now, at its owner's idle time.
    std::vector<CFrameWnd*> frames = ThreadFrames();
    for (CFrameWnd* frame : frames) {
        if (frame == this || frame->m_nShowDelay == -1 || !frame->m_hWnd) continue;
        if (::GetWindow(frame->m_hWnd, GW_OWNER) != m_hWnd) continue;
        int show = frame->m_nShowDelay;
        frame->m_nShowDelay = -1;
        frame->ShowWindow(show);
    }
}

void CFrameWnd::ActivateFrame(int cmdShow)
{
    if (cmdShow == -1) {
        if (!IsWindowVisible())
            cmdShow = SW_SHOWNORMAL;
        else if (IsIconic())
            cmdShow = SW_RESTORE;
    }
    BringToTop(cmdShow);
    if (cmdShow != -1) {
        ShowWindow(cmdShow);
        BringToTop(cmdShow);
    }
}

void CFrameWnd::BringToTop(int cmdShow)
{
    if (cmdShow == SW_HIDE || cmdShow == SW_MINIMIZE || cmdShow == SW_SHOWMINNOACTIVE || cmdShow == SW_SHOWNA ||
        cmdShow == SW_SHOWNOACTIVATE)
        return;
    ::BringWindowToTop(::GetLastActivePopup(m_hWnd));
}

void CFrameWnd::OnUpdateFrameTitle(BOOL addToTitle)
{
    if (!(GetStyle() & FWS_ADDTOTITLE)) return;
    CDocument* doc = GetActiveDocument();
    if (addToTitle && doc) {
        CString name = AfxDocGetTitle(doc);
        UpdateFrameTitleForDocument(name);
    } else {
        UpdateFrameTitleForDocument(nullptr);
    }
}

void CFrameWnd::UpdateFrameTitleForDocument(LPCSTR docName)
{
    CString text;
    CString number;
    if (m_nWindow > 0) number.Format(":%d", m_nWindow);
    if (GetStyle() & FWS_PREFIXTITLE) {
        if (docName) text = CString(docName) + number + " - ";
        text += m_strTitle;
    } else {
        text = m_strTitle;
        if (docName) text += CString(" - ") + docName + number;
    }
    CString now;
    GetWindowText(now);
    if (now != text) SetWindowText(text);
}

void CFrameWnd::DelayUpdateFrameMenu(HMENU menuAlt)
{
    m_hMenuAlt = menuAlt;
    m_nIdleFlags |= idleMenu;
}

void CFrameWnd::OnUpdateFrameMenu(HMENU menuAlt)
{
    if (!menuAlt) menuAlt = m_hMenuDefault;
    if (::GetMenu(m_hWnd) != menuAlt) ::SetMenu(m_hWnd, menuAlt);
}

// ---- focus, activation, enabling

void CFrameWnd::OnSetFocus(CWnd* oldWnd)
{
    CWnd* view = m_pViewActive ? AfxViewWindow(m_pViewActive) : nullptr;
    if (view && view->m_hWnd)
        view->SetFocus();
    else
        CWnd::OnSetFocus(oldWnd);
}

void CFrameWnd::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CWnd::OnActivate(state, other, minimized);
    // The frame counts as active while one of its own floating windows is.
    CFrameWnd* top = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
    if (!top) top = this;
    bool active = state != WA_INACTIVE;
    if (!active && other && other->m_hWnd && ::GetWindow(other->m_hWnd, GW_OWNER) == top->m_hWnd) active = true;
    NotifyFloatingWindows(active ? FS_ACTIVATE : FS_DEACTIVATE);
    // The active view hears first, while the focus is still where the user left it.
    if (m_pViewActive) AfxViewNotifyActivateFrame(m_pViewActive, state, this);
    if (state != WA_INACTIVE && !minimized && m_pViewActive)
        AfxViewNotifyActivate(m_pViewActive, TRUE, m_pViewActive, m_pViewActive);
}

void CFrameWnd::OnEnable(BOOL enable)
{
    CWnd::OnEnable(enable);
    NotifyFloatingWindows(enable ? FS_ENABLE : FS_DISABLE);
}

void CFrameWnd::NotifyFloatingWindows(DWORD flags)
{
    CFrameWnd* top = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
    if (!top) top = this;
    std::vector<CFrameWnd*> frames = ThreadFrames();
    for (CFrameWnd* frame : frames) {
        if (frame == top || !frame->m_hWnd || !::IsWindow(frame->m_hWnd)) continue;
        if (::GetWindow(frame->m_hWnd, GW_OWNER) == top->m_hWnd)
            ::SendMessageA(frame->m_hWnd, WM_FLOATSTATUS, flags, 0);
    }
}

// ---- modal state

void CFrameWnd::BeginModalState()
{
    if (m_cModalStack++ > 0) return;
    CFrameWnd* top = (GetStyle() & WS_CHILD) ? this : GetTopLevelFrame();
    if (!top) top = this;
    std::vector<HWND> disabled;
    for (HWND h = ::GetWindow(::GetDesktopWindow(), GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (!::IsWindowEnabled(h) || !FromHandlePermanent(h)) continue;
        if (!IsDescendantOrOwned(top->m_hWnd, h)) continue;
        if (::SendMessageA(h, WM_DISABLEMODAL, 0, 0) != 0) continue;  // it stays enabled
        ::EnableWindow(h, FALSE);
        disabled.push_back(h);
    }
    delete[] m_phWndDisable;
    m_phWndDisable = new HWND[disabled.size() + 1];
    std::copy(disabled.begin(), disabled.end(), m_phWndDisable);
    m_phWndDisable[disabled.size()] = nullptr;
}

void CFrameWnd::EndModalState()
{
    if (m_cModalStack == 0 || --m_cModalStack > 0 || !m_phWndDisable) return;
    for (HWND* h = m_phWndDisable; *h; ++h)
        if (::IsWindow(*h)) ::EnableWindow(*h, TRUE);
    delete[] m_phWndDisable;
    m_phWndDisable = nullptr;
}

// ---- menus and prompts

void CFrameWnd::OnInitMenuPopup(CMenu* popup, UINT index, BOOL sysMenu)
{
    (void)index;
    if (sysMenu || !popup) return;
    CCmdUI state;
    state.m_pMenu = popup;
    // The menu bar holding this popup, when it is one of the frame's own.
    if (HMENU bar = ::GetMenu(GetTopLevelParent()->m_hWnd)) {
        int n = ::GetMenuItemCount(bar);
        for (int i = 0; i < n; ++i) {
            if (::GetSubMenu(bar, i) == popup->m_hMenu) {
                state.m_pParentMenu = CMenu::FromHandle(bar);
                break;
            }
        }
    }
    state.m_nIndexMax = (UINT)popup->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = popup->GetMenuItemID((int)state.m_nIndex);
        if (state.m_nID == 0) continue;  // separator
        if (state.m_nID == (UINT)-1) {
            // A submenu follows its first item's update handler, never auto-disabled.
            state.m_pSubMenu = popup->GetSubMenu((int)state.m_nIndex);
            if (!state.m_pSubMenu) continue;
            state.m_nID = state.m_pSubMenu->GetMenuItemID(0);
            if (state.m_nID == 0 || state.m_nID == (UINT)-1) continue;
            state.DoUpdate(this, FALSE);
        } else {
            state.m_pSubMenu = nullptr;
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // Update handlers may add or remove items: keep the walk on the same items.
        UINT count = (UINT)popup->GetMenuItemCount();
        if (count < state.m_nIndexMax) {
            state.m_nIndex -= state.m_nIndexMax - count;
            while (state.m_nIndex < count && popup->GetMenuItemID((int)state.m_nIndex) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = count;
    }
}

void CFrameWnd::OnMenuSelect(UINT itemId, UINT flags, HMENU sysMenu)
{
    CFrameWnd* top = GetTopLevelFrame();
    if (!top) top = this;
    if (flags == 0xFFFF && !sysMenu) {
        // The menu closed: back to the idle prompt now.
        m_nIDTracking = top->m_bHelpMode ? AFX_IDS_HELPMODEMESSAGE : AFX_IDS_IDLEMESSAGE;
        SendMessage(WM_SETMESSAGESTRING, m_nIDTracking);
        if (CWnd* bar = GetMessageBar()) bar->UpdateWindow();
    } else {
        if (itemId == 0 || (flags & (MF_SEPARATOR | MF_POPUP)))
            m_nIDTracking = 0;
        else if (itemId >= 0xF000 && itemId < 0xF1F0)
            m_nIDTracking = ID_COMMAND_FROM_SC(itemId);
        else if (itemId >= AFX_IDM_FIRST_MDICHILD)
            m_nIDTracking = AFX_IDS_MDICHILD;
        else
            m_nIDTracking = itemId;
    }
    // The prompt follows at the next idle time (WM_ENTERIDLE while the menu is open).
    if (m_nIDTracking != m_nIDLastMessage && GetParent()) PostMessage(WM_NULL);
}

void CFrameWnd::OnEnterIdle(UINT why, CWnd* who)
{
    CWnd::OnEnterIdle(why, who);
    if (why != MSGF_MENU || m_nIDTracking == m_nIDLastMessage) return;
    SetMessageText(m_nIDTracking);
}

void CFrameWnd::OnSysCommand(UINT id, LPARAM lParam)
{
    CFrameWnd* top = GetTopLevelFrame();
    UINT item = id & 0xFFF0;
    if (top && top->m_bHelpMode) {
        switch (item) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_CLOSE:
        case SC_RESTORE:
        case SC_TASKLIST:
            if (!SendMessage(WM_COMMANDHELP, 0, (LPARAM)(HID_BASE_COMMAND + ID_COMMAND_FROM_SC(item))))
                SendMessage(WM_COMMAND, ID_DEFAULT_HELP);
            return;
        default: break;
        }
    }
    CWnd::OnSysCommand(id, lParam);
}

CWnd* CFrameWnd::GetMessageBar() { return GetDescendantWindow(AFX_IDW_STATUS_BAR, TRUE); }

void CFrameWnd::GetMessageString(UINT id, CString& message) const
{
    CString full;
    if (!full.LoadString(id)) {
        message.Empty();
        return;
    }
    message = ExtractField(full, 0, '\n');
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    UINT last = m_nIDLastMessage;
    if (CWnd* bar = GetMessageBar()) {
        CString text;
        if (lParam)
            text = (LPCSTR)lParam;
        else if (wParam)
            GetMessageString((UINT)wParam, text);
        bar->SetWindowText(text);
        // The frame that owns the bar tracks the prompt too.
        CFrameWnd* owner = bar->GetParentFrame();
        if (owner && owner != this) {
            owner->m_nIDLastMessage = (UINT)wParam;
            owner->m_nIDTracking = (UINT)wParam;
        }
    }
    m_nIDLastMessage = (UINT)wParam;
    m_nIDTracking = (UINT)wParam;
    return (LRESULT)last;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

void CFrameWnd::SetMessageText(LPCSTR text) { SendMessage(WM_SETMESSAGESTRING, 0, (LPARAM)text); }
void CFrameWnd::SetMessageText(UINT id) { SendMessage(WM_SETMESSAGESTRING, id); }

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* cmdUI)
{
    int key = 0;
    switch (cmdUI->m_nID) {
    case ID_INDICATOR_CAPS: key = VK_CAPITAL; break;
    case ID_INDICATOR_NUM: key = VK_NUMLOCK; break;
    case ID_INDICATOR_SCRL: key = VK_SCROLL; break;
    case ID_INDICATOR_KANA: key = VK_KANA; break;
    default: return;
    }
    // Shown (enabled) while the key is locked.
    cmdUI->Enable(::GetKeyState(key) & 1);
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* cmdUI)
{
    CControlBar* bar = GetControlBar(cmdUI->m_nID);
    if (!bar) {
        cmdUI->ContinueRouting();
        return;
    }
    cmdUI->SetCheck((bar->GetStyle() & WS_VISIBLE) != 0);
}

BOOL CFrameWnd::OnBarCheck(UINT id)
{
    CControlBar* bar = GetControlBar(id);
    if (!bar) return FALSE;
    ShowControlBar(bar, (bar->GetStyle() & WS_VISIBLE) == 0, FALSE);
    return TRUE;
}
