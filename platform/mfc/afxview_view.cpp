// Views: CView, CScrollView, CFormView; the frames' start-up of their views and the
// frame-to-view seam.
#include "afxview_view.h"
#include "afxview_doc.h"
#include "afxext_viewseam.h"
#include "afxext_split.h"
#include "afxwin_state.h"
#include "afx_log.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CScrollView, CView)
IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_MOUSEACTIVATE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMessage)
    ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CFormView, CScrollView)
    ON_WM_CREATE()
    ON_WM_SETFOCUS()
END_MESSAGE_MAP()

// ---- the seam the frames reach views through

BOOL AfxViewRouteCmdMsg(CView* view, UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    return view->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void AfxViewNotifyActivate(CView* view, BOOL activate, CView* activated, CView* deactivated)
{
    view->OnActivateView(activate, activated, deactivated);
}

void AfxViewNotifyActivateFrame(CView* view, UINT state, CFrameWnd* frame) { view->OnActivateFrame(state, frame); }

CWnd* AfxViewWindow(CView* view) { return view; }

CDocument* AfxViewGetDocument(CView* view) { return view->GetDocument(); }

BOOL AfxDocCanCloseFrame(CDocument* doc, CFrameWnd* frame) { return doc->CanCloseFrame(frame); }

CString AfxDocGetTitle(CDocument* doc) { return doc->GetTitle(); }

// ---- frame start-up

namespace {

// The view at child id AFX_IDW_PANE_FIRST of parent, looking into a splitter (or other
// plain window) found there.
CView* FirstPaneView(HWND parent, int depth = 0)
{
    HWND child = ::GetDlgItem(parent, AFX_IDW_PANE_FIRST);
    if (!child) return nullptr;
    CWnd* wnd = CWnd::FromHandlePermanent(child);
    if (auto* view = dynamic_cast<CView*>(wnd)) return view;
    return depth < 4 ? FirstPaneView(child, depth + 1) : nullptr;
}

}  // namespace

void CFrameWnd::InitialUpdateFrame(CDocument* doc, BOOL makeVisible)
{
    CView* view = nullptr;
    if (!GetActiveView()) {
        view = FirstPaneView(m_hWnd);
        if (view) SetActiveView(view, FALSE);
    }
    if (makeVisible) {
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
        // The main window shows as the program was asked to, once.
        int cmdShow = -1;
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            cmdShow = app->m_nCmdShow;
            app->m_nCmdShow = -1;
        }
        ActivateFrame(cmdShow);
        if (view) view->OnActivateView(TRUE, view, view);
    }
    if (doc) doc->UpdateFrameCounts();
    OnUpdateFrameTitle(TRUE);
}

// ---- CView

CView::~CView()
{
    if (m_pDocument) m_pDocument->RemoveView(this);
}

CSplitterWnd* PASCAL CView::GetParentSplitter(const CWnd* wnd, BOOL anyState)
{
    if (!wnd || !wnd->m_hWnd) return nullptr;
    auto* splitter = dynamic_cast<CSplitterWnd*>(CWnd::FromHandlePermanent(::GetParent(wnd->m_hWnd)));
    if (!splitter) return nullptr;
    (void)anyState;  // static splitters only: always in their working state
    return splitter;
}

BOOL CView::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(nullptr, IDC_ARROW),
                                           (HBRUSH)(COLOR_WINDOW + 1));
    // A view's border is the sunken client edge.
    if (cs.style & WS_BORDER) {
        cs.style &= ~WS_BORDER;
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
    }
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCTA cs)
{
    if (CWnd::OnCreate(cs) == -1) return -1;
    auto* context = static_cast<CCreateContext*>(cs->lpCreateParams);
    if (context && context->m_pCurrentDoc) context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->GetActiveView() == this) frame->SetActiveView(nullptr);
    CWnd::OnDestroy();
}

void CView::PostNcDestroy()
{
    // Views live on the heap; the window's end is the object's.
    delete this;
}

void CView::OnPaint()
{
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

LRESULT CView::OnPrintClient(WPARAM wParam, LPARAM)
{
    CDC* dc = CDC::FromHandle((HDC)wParam);
    if (!dc) return 0;
    int saved = dc->SaveDC();
    OnPrepareDC(dc);
    OnDraw(dc);
    dc->RestoreDC(saved);
    return 0;
}

void CView::OnPrepareDC(CDC* dc, CPrintInfo* info)
{
    (void)dc;
    // Without a known length a view prints one page.
    if (info && info->GetMaxPage() == 0xFFFF && info->m_nCurPage > 1) info->m_bContinuePrinting = FALSE;
}

LRESULT CView::OnInitialUpdateMessage(WPARAM, LPARAM)
{
    OnInitialUpdate();
    return 0;
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL activate, CView* activateView, CView*)
{
    // The view taking the activation takes the focus while its frame is active.
    if (activate && activateView == this && IsTopParentActive()) SetFocus();
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}

int CView::OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message)
{
    int result = CWnd::OnMouseActivate(topParent, hitTest, message);
    if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT) return result;
    // A click makes this the frame's active view.
    CFrameWnd* frame = GetParentFrame();
    if (frame && frame->GetActiveView() != this) frame->SetActiveView(this);
    return result;
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- CScrollView

const SIZE CScrollView::sizeDefault = {0, 0};

namespace {

// Logical size in mapMode to pixels (magnitudes).
CSize ToDevice(CWnd* wnd, int mapMode, SIZE size)
{
    if (mapMode == MM_TEXT) return CSize(size.cx, size.cy);
    HDC dc = ::GetDC(wnd->m_hWnd);
    ::SetMapMode(dc, mapMode);
    POINT p[2] = {{0, 0}, {size.cx, size.cy}};
    ::LPtoDP(dc, p, 2);
    ::ReleaseDC(wnd->m_hWnd, dc);
    return CSize(std::abs(p[1].x - p[0].x), std::abs(p[1].y - p[0].y));
}

}  // namespace

void CScrollView::SetScrollSizes(int mapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine)
{
    m_nMapMode = mapMode;
    m_totalLog = sizeTotal;
    m_totalDev = ToDevice(this, mapMode, sizeTotal);
    m_pageDev = ToDevice(this, mapMode, sizePage);
    m_lineDev = ToDevice(this, mapMode, sizeLine);
    if (m_pageDev.cx == 0) m_pageDev.cx = m_totalDev.cx / 10;
    if (m_pageDev.cy == 0) m_pageDev.cy = m_totalDev.cy / 10;
    if (m_lineDev.cx == 0) m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0) m_lineDev.cy = m_pageDev.cy / 10;
    if (m_hWnd) {
        UpdateBars();
        Invalidate(TRUE);
    }
}

CPoint CScrollView::GetDeviceScrollPosition() const
{
    return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT));
}

CPoint CScrollView::GetScrollPosition() const
{
    CPoint device = GetDeviceScrollPosition();
    if (m_nMapMode == MM_TEXT || m_nMapMode == 0) return device;
    HDC dc = ::GetDC(m_hWnd);
    ::SetMapMode(dc, m_nMapMode);
    POINT p[2] = {{0, 0}, {device.x, device.y}};
    ::DPtoLP(dc, p, 2);
    ::ReleaseDC(m_hWnd, dc);
    return CPoint(std::abs(p[1].x - p[0].x), std::abs(p[1].y - p[0].y));
}

void CScrollView::ScrollToPosition(POINT logical)
{
    CSize device = ToDevice(this, m_nMapMode ? m_nMapMode : MM_TEXT, CSize(logical.x, logical.y));
    ScrollToDevicePosition(CPoint(device.cx, device.cy));
}

void CScrollView::ScrollToDevicePosition(POINT device)
{
    int oldX = GetScrollPos(SB_HORZ), oldY = GetScrollPos(SB_VERT);
    if (GetStyle() & WS_HSCROLL) SetScrollPos(SB_HORZ, device.x);
    if (GetStyle() & WS_VSCROLL) SetScrollPos(SB_VERT, device.y);
    int dx = oldX - GetScrollPos(SB_HORZ), dy = oldY - GetScrollPos(SB_VERT);
    if (dx || dy) ScrollWindow(dx, dy);
}

void CScrollView::UpdateBars()
{
    if (m_bInsideUpdate || m_nMapMode == 0 || !m_hWnd) return;
    m_bInsideUpdate = TRUE;
    // The room without bars: the client area plus the bars now shown.
    CRect client;
    GetClientRect(&client);
    DWORD style = GetStyle();
    int cxBar = ::GetSystemMetrics(SM_CXVSCROLL), cyBar = ::GetSystemMetrics(SM_CYHSCROLL);
    CSize room(client.Width() + ((style & WS_VSCROLL) ? cxBar : 0), client.Height() + ((style & WS_HSCROLL) ? cyBar : 0));
    bool needH = m_totalDev.cx > room.cx, needV = m_totalDev.cy > room.cy;
    if (needH && !needV) needV = m_totalDev.cy > room.cy - cyBar;
    if (needV && !needH) needH = m_totalDev.cx > room.cx - cxBar;
    CSize view(room.cx - (needV ? cxBar : 0), room.cy - (needH ? cyBar : 0));
    CPoint pos = GetDeviceScrollPosition();
    int axes[2] = {SB_HORZ, SB_VERT};
    for (int bar : axes) {
        bool need = bar == SB_HORZ ? needH : needV;
        int total = (int)(bar == SB_HORZ ? m_totalDev.cx : m_totalDev.cy);
        int page = (int)(bar == SB_HORZ ? view.cx : view.cy);
        LONG& p = bar == SB_HORZ ? pos.x : pos.y;
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_PAGE | SIF_RANGE | SIF_POS;
        if (need) {
            p = std::clamp((int)p, 0, std::max(0, total - page));
            si.nMax = total - 1;
            si.nPage = (UINT)std::max(0, page);
            si.nPos = (int)p;
        } else {
            p = 0;
        }
        ::SetScrollInfo(m_hWnd, bar, &si, TRUE);
        ::ShowScrollBar(m_hWnd, bar, need);
    }
    m_bInsideUpdate = FALSE;
}

void CScrollView::OnPrepareDC(CDC* dc, CPrintInfo* info)
{
    if (m_nMapMode) {
        dc->SetMapMode(m_nMapMode);
        // On screen the drawing moves with the scroll position; printed pages do not.
        if (!dc->IsPrinting() && !info) {
            CPoint pos = GetDeviceScrollPosition();
            dc->SetViewportOrg(-pos.x, -pos.y);
        }
    }
    CView::OnPrepareDC(dc, info);
}

void CScrollView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    UpdateBars();
}

BOOL CScrollView::OnScroll(int bar, UINT code, UINT)
{
    if (!(GetStyle() & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL))) return FALSE;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ::GetScrollInfo(m_hWnd, bar, &si);
    int line = (int)(bar == SB_HORZ ? m_lineDev.cx : m_lineDev.cy);
    int page = (int)(bar == SB_HORZ ? m_pageDev.cx : m_pageDev.cy);
    int pos = si.nPos;
    switch (code) {
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = INT_MAX; break;
    case SB_LINEUP: pos -= std::max(1, line); break;
    case SB_LINEDOWN: pos += std::max(1, line); break;
    case SB_PAGEUP: pos -= std::max(1, page); break;
    case SB_PAGEDOWN: pos += std::max(1, page); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    default: return FALSE;
    }
    int maxPos = std::max(0, si.nMax - (int)si.nPage + 1);
    pos = std::clamp(pos, 0, maxPos);
    CPoint now = GetDeviceScrollPosition();
    if (bar == SB_HORZ) now.x = pos; else now.y = pos;
    ScrollToDevicePosition(now);
    return TRUE;
}

void CScrollView::OnHScroll(UINT code, UINT pos, CScrollBar* bar)
{
    if (bar) {
        CView::OnHScroll(code, pos, bar);
        return;
    }
    OnScroll(SB_HORZ, code, pos);
}

void CScrollView::OnVScroll(UINT code, UINT pos, CScrollBar* bar)
{
    if (bar) {
        CView::OnVScroll(code, pos, bar);
        return;
    }
    OnScroll(SB_VERT, code, pos);
}

BOOL CScrollView::OnMouseWheel(UINT flags, short delta, CPoint point)
{
    if (!(GetStyle() & WS_VSCROLL)) return CView::OnMouseWheel(flags, delta, point);
    int steps = delta / WHEEL_DELTA;
    CPoint now = GetDeviceScrollPosition();
    now.y -= steps * std::max(1L, m_lineDev.cy) * 3;
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    ::GetScrollInfo(m_hWnd, SB_VERT, &si);
    now.y = std::clamp((int)now.y, 0, std::max(0, si.nMax - (int)si.nPage + 1));
    ScrollToDevicePosition(now);
    return TRUE;
}

// ---- CFormView

namespace {

// Forms run the layer's procedure above the dialog manager; nothing is left for a
// dialog procedure.
INT_PTR CALLBACK AfxFormDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

CFormView::CFormView(UINT templateId) : m_lpszTemplateName(MAKEINTRESOURCEA(templateId)) {}

CFormView::CFormView(LPCSTR templateName) : m_lpszTemplateName(templateName) {}

BOOL CFormView::Create(LPCSTR, LPCSTR, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                       CCreateContext* context)
{
    HINSTANCE inst = AfxFindResourceHandle(m_lpszTemplateName, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    HRSRC res = ::FindResourceA(inst, m_lpszTemplateName, MAKEINTRESOURCEA(5));
    HGLOBAL mem = res ? ::LoadResource(inst, res) : nullptr;
    auto* tmpl = mem ? static_cast<LPCDLGTEMPLATEA>(::LockResource(mem)) : nullptr;
    if (!tmpl || !parent) {
        AfxLogFailure("CFormView: the form's dialog template is missing");
        PostNcDestroy();
        return FALSE;
    }
    m_pCreateContext = context;  // for OnCreate: a dialog's creation carries no context
    HWND h = AfxCreateDialogWithHook(this, inst, tmpl, parent->m_hWnd, &AfxFormDlgProc);
    m_pCreateContext = nullptr;
    if (!h) {
        AfxLogFailure("CFormView: the form could not be created (error %lu)", ::GetLastError());
        return FALSE;  // a window that existed has had its PostNcDestroy
    }
    if (!(GetStyle() & WS_CHILD)) AfxLogFailure("CFormView: the form's template is not a child dialog");
    SetDlgCtrlID((int)id);
    // The drawing is the form's size in its template.
    CRect made;
    GetWindowRect(&made);
    SetScrollSizes(MM_TEXT, made.Size());
    if (style & WS_BORDER) ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    ModifyStyle(0, style & (WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS));
    SetWindowPos(nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (style & WS_VISIBLE) ShowWindow(SW_SHOWNORMAL);
    return TRUE;
}

int CFormView::OnCreate(LPCREATESTRUCTA cs)
{
    if (CWnd::OnCreate(cs) == -1) return -1;
    if (m_pCreateContext && m_pCreateContext->m_pCurrentDoc) m_pCreateContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CFormView::OnInitialUpdate()
{
    UpdateData(FALSE);
    CScrollView::OnInitialUpdate();
}

BOOL CFormView::SaveFocusControl()
{
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(m_hWnd, focus)) {
        m_hWndFocus = focus;
        return TRUE;
    }
    return FALSE;
}

void CFormView::OnActivateView(BOOL activate, CView* activateView, CView* deactiveView)
{
    if (this != activateView) SaveFocusControl();  // losing the activation
    CScrollView::OnActivateView(activate, activateView, deactiveView);
}

void CFormView::OnActivateFrame(UINT state, CFrameWnd* frame)
{
    if (state == WA_INACTIVE) SaveFocusControl();
    CScrollView::OnActivateFrame(state, frame);
}

void CFormView::OnSetFocus(CWnd* oldWnd)
{
    if (m_hWndFocus && ::IsWindow(m_hWndFocus) && ::IsChild(m_hWnd, m_hWndFocus)) {
        ::SetFocus(m_hWndFocus);
        return;
    }
    m_hWndFocus = nullptr;
    CScrollView::OnSetFocus(oldWnd);  // the dialog manager picks the first control
}

BOOL CFormView::PreTranslateMessage(MSG* msg)
{
    if (CScrollView::PreTranslateMessage(msg)) return TRUE;
    if (msg->hwnd != m_hWnd && !::IsChild(m_hWnd, msg->hwnd)) return FALSE;
    // The frames' accelerators before the dialog keys, which would take them.
    for (CFrameWnd* frame = GetParentFrame(); frame; frame = frame->GetParentFrame())
        if (frame->PreTranslateMessage(msg)) return TRUE;
    return PreTranslateInput(msg);
}
