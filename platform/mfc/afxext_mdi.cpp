// MDI frames and their children.
#include "afxwin.h"
#include "afxwin_state.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIFrameWnd, CFrameWnd)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// ---- frame

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU menuBar)
{
    if (!menuBar) return nullptr;
    // The popup holding the window commands lists the children.
    int n = ::GetMenuItemCount(menuBar);
    for (int i = n - 1; i >= 0; --i) {
        HMENU popup = ::GetSubMenu(menuBar, i);
        if (!popup) continue;
        int items = ::GetMenuItemCount(popup);
        for (int j = 0; j < items; ++j) {
            UINT id = ::GetMenuItemID(popup, j);
            if (id >= ID_WINDOW_NEW && id <= ID_WINDOW_SPLIT) return popup;
        }
    }
    return nullptr;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCTA, CCreateContext*)
{
    CLIENTCREATESTRUCT ccs{};
    ccs.hWindowMenu = GetWindowMenuPopup(::GetMenu(m_hWnd));
    ccs.idFirstChild = AFX_IDM_FIRST_MDICHILD;
    m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr,
                                        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_HSCROLL | WS_VSCROLL,
                                        0, 0, 0, 0, m_hWnd, (HMENU)(UINT_PTR)AFX_IDW_PANE_FIRST, AfxWinInstance(), &ccs);
    if (!m_hWndMDIClient) return FALSE;
    // The client draws the sunken edge.
    ModifyStyleEx(WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
    return TRUE;
}

void CMDIFrameWnd::OnSize(UINT type, int, int)
{
    // No default handling: the frame procedure would make the client cover the bars.
    if (type != SIZE_MINIMIZED) RecalcLayout();
}

void CMDIFrameWnd::OnDestroy()
{
    CFrameWnd::OnDestroy();
    m_hWndMDIClient = nullptr;
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* maximized) const
{
    BOOL max = FALSE;
    HWND h = m_hWndMDIClient ? (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)&max) : nullptr;
    CWnd* w = FromHandlePermanent(h);
    auto* child = w && w->IsKindOf(RUNTIME_CLASS(CMDIChildWnd)) ? static_cast<CMDIChildWnd*>(w) : nullptr;
    if (maximized) *maximized = child ? max : FALSE;
    return child;
}

void CMDIFrameWnd::MDIActivate(CWnd* child)
{
    if (child) ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)child->m_hWnd, 0);
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* child = MDIGetActive();
    return child ? static_cast<CFrameWnd*>(child) : this;
}

BOOL CMDIFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CMDIChildWnd* child = MDIGetActive()) {
        CPushRoutingFrame push(this);
        if (child->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    }
    return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMDIFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CFrameWnd::OnCommand(wParam, lParam)) return TRUE;
    // The children's entries of the window menu belong to the client.
    if (!lParam && LOWORD(wParam) >= AFX_IDM_FIRST_MDICHILD) {
        DefWindowProc(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg)) return TRUE;
    CMDIChildWnd* child = MDIGetActive();
    if (child && child->PreTranslateMessage(msg)) return TRUE;
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST) {
        if (m_hAccelTable && ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, msg)) return TRUE;
        if (!GetActiveView() && (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) &&
            ::TranslateMDISysAccel(m_hWndMDIClient, msg))
            return TRUE;
    }
    return FALSE;
}

// ---- child

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND client = ::GetParent(m_hWnd);
    CWnd* frame = client ? FromHandlePermanent(::GetParent(client)) : nullptr;
    return frame && frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd)) ? static_cast<CMDIFrameWnd*>(frame) : nullptr;
}

BOOL CMDIChildWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.style |= WS_CHILD;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

BOOL CMDIChildWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CMDIFrameWnd* parent,
                          CCreateContext* context)
{
    if (!parent) {
        CWnd* main = AfxGetMainWnd();
        if (main && main->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) parent = static_cast<CMDIFrameWnd*>(main);
    }
    if (!parent || !parent->m_hWndMDIClient) {
        PostNcDestroy();
        return FALSE;
    }
    m_strTitle = windowName;
    CREATESTRUCTA cs{};
    cs.dwExStyle = WS_EX_MDICHILD;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style | WS_CHILD;
    if (rect.left == CW_USEDEFAULT) {
        cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    } else {
        cs.x = rect.left;
        cs.y = rect.top;
        cs.cx = rect.right - rect.left;
        cs.cy = rect.bottom - rect.top;
    }
    cs.hwndParent = parent->m_hWndMDIClient;
    cs.hInstance = AfxWinInstance();
    cs.lpCreateParams = context;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    cs.dwExStyle |= WS_EX_MDICHILD;
    // The client makes the child active and visible; a failed creation has freed us.
    return AfxCreateWithHook(this, cs) != nullptr;
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCTA cs)
{
    // An MDI child's creation parameter arrives inside the client's record.
    auto* mdi = (MDICREATESTRUCTA*)cs->lpCreateParams;
    auto* context = mdi ? (CCreateContext*)mdi->lParam : nullptr;
    return OnCreateHelper(cs, context);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0);
}

BOOL CMDIChildWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    // The client keeps its window list and menu in step.
    MDIDestroy();
    return TRUE;
}
