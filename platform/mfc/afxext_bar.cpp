// Control bars: style word, layout answer, delayed show, idle command UI, routing to
// the owner, borders and gripper.
#include "afxwin.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_TIMER()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
END_MESSAGE_MAP()

namespace {
// Thickness of a drawn border line pair.
constexpr int kBorder2 = 2;
// Timer that notices the cursor leaving a fly-by bar.
constexpr UINT_PTR kFlyByTimer = 0xE000;
}  // namespace

CControlBar::CControlBar() = default;

CControlBar::~CControlBar()
{
    // The object is going already: the window's end must not delete it again.
    m_bAutoDelete = FALSE;
    DestroyWindow();
    if (m_pDockSite) m_pDockSite->RemoveControlBar(this);
    CDockContext* context = m_pDockContext;
    m_pDockContext = nullptr;
    delete context;
}

void CControlBar::SetBarStyle(DWORD style)
{
    if (m_dwStyle == style) return;
    DWORD old = m_dwStyle;
    m_dwStyle = style;
    OnBarStyleChange(old, style);
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    CFrameWnd* frame = GetParentFrame();
    return frame ? frame : m_pDockSite;
}

BOOL CControlBar::IsFloating() const
{
    if (IsDockBar()) return static_cast<const CDockBar*>(this)->m_bFloating;
    return m_pDockBar && m_pDockBar->m_bFloating;
}

void CControlBar::EnableDocking(DWORD dockStyle)
{
    m_dwDockStyle = dockStyle;
    if (!m_pDockContext) m_pDockContext = new CDockContext(this);
    if (!m_hWndOwner && m_hWnd) m_hWndOwner = ::GetParent(m_hWnd);
}

// ---- layout

CSize CControlBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    return CSize(stretch && horz ? 32767 : 0, stretch && !horz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int length, DWORD mode)
{
    // A docked bar asked for its layout answers for its dock's orientation.
    if (length == -1 && !(mode & (LM_MRUWIDTH | LM_COMMIT)) && (mode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout(mode & LM_STRETCH, mode & LM_HORZDOCK);
    return CalcFixedLayout(mode & LM_STRETCH, mode & LM_HORZ);
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL horz) const
{
    if (m_dwStyle & CBRS_BORDER_LEFT) rect.left += kBorder2;
    if (m_dwStyle & CBRS_BORDER_TOP) rect.top += kBorder2;
    if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right -= kBorder2;
    if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= kBorder2;
    bool gripper = (m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) == CBRS_GRIPPER;
    // The margins follow the bar: "left" is the leading edge along the bar.
    if (horz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
        if (gripper) rect.left += AFX_CX_BORDER_GRIPPER + AFX_CX_GRIPPER + AFX_CX_BORDER_GRIPPER;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
        if (gripper) rect.top += AFX_CY_BORDER_GRIPPER + AFX_CY_GRIPPER + AFX_CY_BORDER_GRIPPER;
    }
}

LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
    auto* layout = (AFX_SIZEPARENTPARAMS*)lParam;
    DWORD style = RecalcDelayShow(layout);
    if (!(style & WS_VISIBLE) || !(style & CBRS_ALIGN_ANY)) return 0;

    CRect rect(layout->rect);
    CSize avail = rect.Size();
    DWORD mode = layout->bStretch ? LM_STRETCH : 0;
    if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
        mode |= LM_HORZ | LM_MRUWIDTH;
    else if (style & CBRS_ORIENT_HORZ)
        mode |= LM_HORZ | LM_HORZDOCK;
    else
        mode |= LM_VERTDOCK;
    CSize size = CalcDynamicLayout(-1, mode);
    size.cx = std::min(size.cx, avail.cx);
    size.cy = std::min(size.cy, avail.cy);

    if (style & CBRS_ORIENT_HORZ) {
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
        if (style & CBRS_ALIGN_TOP) {
            layout->rect.top += size.cy;
        } else if (style & CBRS_ALIGN_BOTTOM) {
            rect.top = rect.bottom - size.cy;
            layout->rect.bottom -= size.cy;
        }
    } else if (style & CBRS_ORIENT_VERT) {
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
        // A right-to-left parent mirrors its client coordinates: left and right swap.
        bool rtl = m_pDockBar && (::GetWindowLongPtrA(::GetParent(m_hWnd), GWL_EXSTYLE) & WS_EX_LAYOUTRTL);
        DWORD side = style & CBRS_ORIENT_VERT;
        if (rtl) side = side == CBRS_ALIGN_LEFT ? CBRS_ALIGN_RIGHT : CBRS_ALIGN_LEFT;
        if (side & CBRS_ALIGN_LEFT) {
            layout->rect.left += size.cx;
        } else if (side & CBRS_ALIGN_RIGHT) {
            rect.left = rect.right - size.cx;
            layout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    if (layout->hDWP) AfxRepositionWindow(layout, m_hWnd, &rect);
    return 0;
}

// ---- delayed show and hide

void CControlBar::DelayShow(BOOL show)
{
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
    if (show && !visible)
        m_nStateFlags |= delayShow;
    else if (!show && visible)
        m_nStateFlags |= delayHide;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide) return FALSE;
    return (GetStyle() & WS_VISIBLE) || (m_nStateFlags & delayShow);
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* layout)
{
    DWORD style = (m_dwStyle & (CBRS_ALIGN_ANY | CBRS_BORDER_ANY)) | (GetStyle() & WS_VISIBLE);
    if (!(m_nStateFlags & (delayHide | delayShow))) return style;
    UINT swp = 0;
    if ((m_nStateFlags & delayHide) && (style & WS_VISIBLE))
        swp = SWP_HIDEWINDOW;
    else if ((m_nStateFlags & delayShow) && !(style & WS_VISIBLE))
        swp = SWP_SHOWWINDOW;
    if (!swp) {  // already as asked
        m_nStateFlags &= ~(delayHide | delayShow);
        return style;
    }
    style ^= WS_VISIBLE;
    // A query only reports the coming state; the layout pass that moves windows applies it.
    if (layout && layout->hDWP) {
        m_nStateFlags &= ~(delayHide | delayShow);
        layout->hDWP = ::DeferWindowPos(layout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0,
                                        swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return style;
}

// ---- idle command UI

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    // A show or hide still pending from a layout that did not run is applied now.
    BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
    UINT swp = 0;
    if ((m_nStateFlags & delayHide) && visible)
        swp = SWP_HIDEWINDOW;
    else if ((m_nStateFlags & delayShow) && !visible)
        swp = SWP_SHOWWINDOW;
    m_nStateFlags &= ~(delayShow | delayHide);
    if (swp) SetWindowPos(nullptr, 0, 0, 0, 0, swp | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    if (!(GetStyle() & WS_VISIBLE)) return 0;
    if (m_pDockBar && !(m_pDockBar->GetStyle() & WS_VISIBLE)) return 0;
    CWnd* owner = GetOwner();
    CFrameWnd* target = owner && owner->IsFrameWnd() ? static_cast<CFrameWnd*>(owner) : GetParentFrame();
    if (target) OnUpdateCmdUI(target, (BOOL)wParam);
    return 0;
}

LRESULT CControlBar::OnInitialUpdate(WPARAM, LPARAM)
{
    // The first update, before any idle time: enable by the handlers that exist.
    CWnd* owner = GetOwner();
    CFrameWnd* target = owner && owner->IsFrameWnd() ? static_cast<CFrameWnd*>(owner) : GetParentFrame();
    if (target) OnUpdateCmdUI(target, FALSE);
    return 0;
}

// ---- creation and teardown

BOOL CControlBar::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (!CWnd::PreCreateWindow(cs)) return FALSE;
    cs.style |= WS_CLIPSIBLINGS;
    // Without CBRS_BORDER_3D, a bar along one side gets the etched border of its
    // side's inner edge turned into the usual one.
    if (!(m_dwStyle & CBRS_BORDER_3D)) {
        DWORD border = 0;
        switch (m_dwStyle & (CBRS_BORDER_ANY | CBRS_ALIGN_ANY)) {
        case CBRS_LEFT: border = CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM; break;
        case CBRS_TOP: border = CBRS_BORDER_TOP; break;
        case CBRS_RIGHT: border = CBRS_BORDER_TOP | CBRS_BORDER_BOTTOM; break;
        case CBRS_BOTTOM: border = CBRS_BORDER_BOTTOM; break;
        default: break;
        }
        if (border) m_dwStyle = (m_dwStyle & ~CBRS_BORDER_ANY) | border | CBRS_BORDER_3D;
    }
    return TRUE;
}

int CControlBar::OnCreate(LPCREATESTRUCTA cs)
{
    if (CWnd::OnCreate(cs) == -1) return -1;
    if (m_dwStyle & CBRS_TOOLTIPS) EnableToolTips();
    // A bar created in a frame belongs to that frame for good, wherever it docks.
    CWnd* parent = FromHandlePermanent(::GetParent(m_hWnd));
    if (parent && parent->IsFrameWnd()) {
        m_pDockSite = static_cast<CFrameWnd*>(parent);
        m_pDockSite->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy()
{
    if (m_nStateFlags & statusSet) SetStatusText(-1);
    // Leave no pointer behind in the dock bar or the frame.
    if (m_pDockBar && ::IsWindow(m_pDockBar->m_hWnd)) {
        CPtrArray& bars = m_pDockBar->m_arrBars;
        for (INT_PTR i = 0; i < bars.GetSize(); ++i) {
            if (bars[i] != this) continue;
            bars.RemoveAt(i);
            if (i < bars.GetSize() && i > 0 && bars[i - 1] == nullptr && bars[i] == nullptr) bars.RemoveAt(i);
            break;
        }
    }
    m_pDockBar = nullptr;
    if (m_pDockSite) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = nullptr;
    }
    CWnd::OnDestroy();
}

BOOL CControlBar::DestroyWindow()
{
    // A bar floating alone takes its mini frame with it.
    if (m_hWnd && IsFloating() && m_pDockBar && m_pDockBar->GetDockedCount() == 1) {
        if (CFrameWnd* frame = GetParentFrame()) return frame->DestroyWindow();
    }
    return CWnd::DestroyWindow();
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete) delete this;
}

// ---- routing

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: {
        // The bar's own map and reflection first, then the owner (the frame).
        LRESULT result = 0;
        if (OnWndMsg(message, wParam, lParam, &result)) return result;
        CWnd* owner = GetOwner();
        if (!owner || owner == this) return CWnd::WindowProc(message, wParam, lParam);
        result = owner->SendMessage(message, wParam, lParam);
        if (message == WM_NOTIFY) {
            // A tooltip text the owner left empty: the bar may still give one.
            auto* nm = (NMHDR*)lParam;
            if (nm->code == TTN_NEEDTEXTA) {
                auto* ttt = (TOOLTIPTEXTA*)lParam;
                if (!ttt->hinst && (!ttt->lpszText || !*ttt->lpszText)) result = CWnd::WindowProc(message, wParam, lParam);
            }
        }
        return result;
    }
    default: return CWnd::WindowProc(message, wParam, lParam);
    }
}

BOOL CControlBar::PreTranslateMessage(MSG* msg)
{
    if (CWnd::PreTranslateMessage(msg)) return TRUE;
    // Fly-by prompts: the tool under the mouse gives its prompt to the message bar.
    if ((m_dwStyle & CBRS_FLYBY) && msg->message == WM_MOUSEMOVE && msg->hwnd == m_hWnd) {
        CPoint pt((short)LOWORD(msg->lParam), (short)HIWORD(msg->lParam));
        INT_PTR hit = OnToolHitTest(pt, nullptr);
        if (hit != m_nLastHit) {
            SetStatusText(hit);
            m_nLastHit = hit;
            if (hit != -1) SetTimer(kFlyByTimer, 200);
        }
    }
    // In context-help mode the frame's own handling decides.
    CFrameWnd* top = GetTopLevelFrame();
    if (top && top->m_bHelpMode) return FALSE;
    // Frame accelerators before the dialog-style keyboard handling of the bar.
    for (CWnd* owner = GetOwner(); owner; owner = owner->GetParentFrame()) {
        if (owner->PreTranslateMessage(msg)) return TRUE;
    }
    return PreTranslateInput(msg);
}

void CControlBar::OnTimer(UINT_PTR id)
{
    if (id != kFlyByTimer) {
        CWnd::OnTimer(id);
        return;
    }
    // The mouse left the bar (or the window lost it): back to the idle prompt.
    POINT pt;
    ::GetCursorPos(&pt);
    HWND under = ::WindowFromPoint(pt);
    if (under != m_hWnd && !::IsChild(m_hWnd, under)) {
        KillTimer(kFlyByTimer);
        m_nLastHit = -1;
        SetStatusText(-1);
    }
}

BOOL CControlBar::SetStatusText(INT_PTR hit)
{
    CWnd* owner = GetOwner();
    if (!owner) return FALSE;
    if (hit == -1) {
        if (!(m_nStateFlags & statusSet)) return FALSE;
        m_nStateFlags &= ~statusSet;
        owner->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    } else {
        m_nStateFlags |= statusSet;
        owner->SendMessage(WM_SETMESSAGESTRING, (WPARAM)hit);
    }
    return TRUE;
}

LRESULT CControlBar::OnHelpHitTest(WPARAM, LPARAM lParam)
{
    INT_PTR id = OnToolHitTest(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)), nullptr);
    if (id != -1) return (LRESULT)(HID_BASE_COMMAND + id);
    UINT own = (UINT)(WORD)GetDlgCtrlID();
    return own ? (LRESULT)(HID_BASE_CONTROL + own) : 0;
}

// ---- mouse: a press on the bar's free area drags it, a double click toggles docking

void CControlBar::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_pDockBar && m_pDockContext && OnToolHitTest(point, nullptr) == -1) {
        ClientToScreen(&point);
        m_pDockContext->StartDrag(point);
        return;
    }
    CWnd::OnLButtonDown(flags, point);
}

void CControlBar::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (m_pDockBar && m_pDockContext && OnToolHitTest(point, nullptr) == -1) {
        m_pDockContext->ToggleDocking();
        return;
    }
    CWnd::OnLButtonDblClk(flags, point);
}

// ---- painting

BOOL CControlBar::OnEraseBkgnd(CDC* dc)
{
    CRect rect;
    ::GetClipBox(dc->m_hDC, &rect);
    dc->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
    return TRUE;
}

void CControlBar::OnPaint()
{
    CPaintDC dc(this);
    if (IsVisible()) DoPaint(&dc);
}

void CControlBar::DoPaint(CDC* dc)
{
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(dc, rect);
    DrawGripper(dc, rect);
}

void CControlBar::DrawBorders(CDC* dc, CRect& rect)
{
    DWORD style = m_dwStyle;
    if (!(style & CBRS_BORDER_ANY)) return;
    // Each bordered side gets a shadow line, and with CBRS_BORDER_3D a highlight
    // line inside it (an etched edge).
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    bool etched = (style & CBRS_BORDER_3D) != 0;
    CRect r = rect;
    if (style & CBRS_BORDER_TOP) {
        dc->FillSolidRect(r.left, r.top, r.Width(), 1, shadow);
        if (etched) dc->FillSolidRect(r.left, r.top + 1, r.Width(), 1, hilite);
    }
    if (style & CBRS_BORDER_BOTTOM) {
        dc->FillSolidRect(r.left, r.bottom - 2, r.Width(), 1, shadow);
        if (etched) dc->FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, hilite);
    }
    if (style & CBRS_BORDER_LEFT) {
        dc->FillSolidRect(r.left, r.top, 1, r.Height(), shadow);
        if (etched) dc->FillSolidRect(r.left + 1, r.top, 1, r.Height(), hilite);
    }
    if (style & CBRS_BORDER_RIGHT) {
        dc->FillSolidRect(r.right - 2, r.top, 1, r.Height(), shadow);
        if (etched) dc->FillSolidRect(r.right - 1, r.top, 1, r.Height(), hilite);
    }
    if (style & CBRS_BORDER_LEFT) rect.left += kBorder2;
    if (style & CBRS_BORDER_TOP) rect.top += kBorder2;
    if (style & CBRS_BORDER_RIGHT) rect.right -= kBorder2;
    if (style & CBRS_BORDER_BOTTOM) rect.bottom -= kBorder2;
}

void CControlBar::DrawGripper(CDC* dc, const CRect& rect)
{
    if ((m_dwStyle & (CBRS_GRIPPER | CBRS_FLOATING)) != CBRS_GRIPPER) return;
    COLORREF hilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    if (m_dwStyle & CBRS_ORIENT_HORZ)
        dc->Draw3dRect(rect.left + AFX_CX_BORDER_GRIPPER, rect.top + m_cyTopBorder, AFX_CX_GRIPPER,
                       rect.Height() - m_cyTopBorder - m_cyBottomBorder, hilite, shadow);
    else
        dc->Draw3dRect(rect.left + m_cyTopBorder, rect.top + AFX_CY_BORDER_GRIPPER,
                       rect.Width() - m_cyTopBorder - m_cyBottomBorder, AFX_CY_GRIPPER, hilite, shadow);
}

void CControlBar::EraseNonClient()
{
    CWindowDC dc(this);
    CRect client;
    GetClientRect(&client);
    CRect window;
    GetWindowRect(&window);
    ScreenToClient(&window);
    client.OffsetRect(-window.left, -window.top);
    ::ExcludeClipRect(dc.m_hDC, client.left, client.top, client.right, client.bottom);
    window.OffsetRect(-window.left, -window.top);
    dc.FillSolidRect(&window, ::GetSysColor(COLOR_BTNFACE));
    DrawBorders(&dc, window);
    DrawGripper(&dc, window);
}
