// A frame's bars: the bar list, the four dock bars, docking, floating and showing
// bars; and the mini frame window.
#include "afxwin.h"

namespace {

// The frame's dock bars in creation (and so layout) order, with their styles.
struct DockBarSide {
    UINT id;
    DWORD style;
};
constexpr DockBarSide kDockBarSides[4] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_TOP},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_BOTTOM},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_LEFT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_RIGHT},
};

CDockBar* AsDockBar(CControlBar* bar)
{
    return bar && bar->IsDockBar() ? static_cast<CDockBar*>(bar) : nullptr;
}

// x, y, cx, cy of a creation rectangle; the default rectangle lets the system choose.
void CreationGeometry(const RECT& r, int& x, int& y, int& cx, int& cy)
{
    x = r.left;
    y = r.top;
    if (r.left == CW_USEDEFAULT) {
        y = cx = cy = CW_USEDEFAULT;
    } else {
        cx = r.right - r.left;
        cy = r.bottom - r.top;
    }
}

}  // namespace

// ---- the bar list

void CFrameWnd::AddControlBar(CControlBar* bar)
{
    if (!m_listControlBars.Find(bar)) m_listControlBars.AddTail(bar);
}

void CFrameWnd::RemoveControlBar(CControlBar* bar)
{
    if (POSITION pos = m_listControlBars.Find(bar)) m_listControlBars.RemoveAt(pos);
}

CControlBar* CFrameWnd::GetControlBar(UINT id)
{
    if (id == 0) return nullptr;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (bar->m_hWnd && (UINT)(WORD)::GetDlgCtrlID(bar->m_hWnd) == id) return bar;
    }
    return nullptr;
}

// ---- dock bars

void CFrameWnd::EnableDocking(DWORD dockStyle)
{
    m_pFloatingFrameClass = RUNTIME_CLASS(CMiniDockFrameWnd);
    for (const DockBarSide& side : kDockBarSides) {
        if (!(side.style & dockStyle & CBRS_ALIGN_ANY) || GetControlBar(side.id)) continue;
        auto* dock = new CDockBar;
        if (!dock->Create(this, WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CHILD | WS_VISIBLE | side.style, side.id))
            AfxThrowResourceException();
    }
}

void CFrameWnd::DestroyDockBars()
{
    // By handle: the list changes while dock bars and mini frames go.
    CList<HWND, HWND> docks;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(m_listControlBars.GetNext(pos));
        if (bar->IsDockBar() && bar->m_hWnd) docks.AddTail(bar->m_hWnd);
    }
    for (POSITION pos = docks.GetHeadPosition(); pos;) {
        HWND h = docks.GetNext(pos);
        auto* dock = AsDockBar(static_cast<CControlBar*>(FromHandlePermanent(h)));
        if (!dock) continue;
        if (dock->m_bFloating) {
            if (CFrameWnd* mini = dock->GetParentFrame()) mini->DestroyWindow();
        } else {
            dock->DestroyWindow();
        }
    }
}

DWORD CFrameWnd::CanDock(CRect rect, DWORD dockStyle, CDockBar** dockBar)
{
    // A floating dock bar takes bars only when both allow several bars per frame.
    dockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
    if (dockBar) *dockBar = nullptr;
    for (POSITION pos = m_listControlBars.GetHeadPosition(); pos;) {
        CDockBar* dock = AsDockBar(static_cast<CControlBar*>(m_listControlBars.GetNext(pos)));
        if (!dock || !dock->m_hWnd || !dock->IsWindowVisible()) continue;
        if (!(dock->m_dwStyle & dockStyle & CBRS_ALIGN_ANY)) continue;
        if (dock->m_bFloating && !(dockStyle & dock->m_dwStyle & CBRS_FLOAT_MULTI)) continue;
        CRect bounds;
        dock->GetWindowRect(&bounds);
        // An empty dock bar is a line along its side; it still catches rectangles.
        if (bounds.Width() == 0) bounds.right++;
        if (bounds.Height() == 0) bounds.bottom++;
        CRect meet;
        if (meet.IntersectRect(bounds, rect)) {
            if (dockBar) *dockBar = dock;
            return dock->m_dwStyle & dockStyle;
        }
    }
    return 0;
}

void CFrameWnd::DockControlBar(CControlBar* bar, UINT dockBarId, LPCRECT rect)
{
    CDockBar* dock = dockBarId ? AsDockBar(GetControlBar(dockBarId)) : nullptr;
    DockControlBar(bar, dock, rect);
}

void CFrameWnd::DockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect)
{
    if (!bar) return;
    if (!dockBar) {
        // The side the bar is aligned to, else the first side it may dock at.
        for (const DockBarSide& side : kDockBarSides) {
            if ((side.style & CBRS_ALIGN_ANY) == (bar->m_dwStyle & CBRS_ALIGN_ANY)) {
                dockBar = AsDockBar(GetControlBar(side.id));
                break;
            }
        }
        for (const DockBarSide& side : kDockBarSides) {
            if (dockBar) break;
            if (side.style & bar->m_dwDockStyle & CBRS_ALIGN_ANY) dockBar = AsDockBar(GetControlBar(side.id));
        }
    }
    if (!dockBar) {
        ::OutputDebugStringA("CFrameWnd::DockControlBar: no dock bar for the bar (EnableDocking missing)\n");
        return;
    }
    dockBar->DockControlBar(bar, rect);
}

void CFrameWnd::ReDockControlBar(CControlBar* bar, CDockBar* dockBar, LPCRECT rect)
{
    if (!bar) return;
    if (!dockBar) {
        // The side that kept the bar's place, else the first side it may dock at.
        CDockBar* possible = nullptr;
        auto placeholder = (CControlBar*)(UINT_PTR)(WORD)::GetDlgCtrlID(bar->m_hWnd);
        for (const DockBarSide& side : kDockBarSides) {
            if (!(side.style & bar->m_dwDockStyle & CBRS_ALIGN_ANY)) continue;
            CDockBar* dock = AsDockBar(GetControlBar(side.id));
            if (!dock) continue;
            if (dock->FindBar(placeholder) > 0) {
                dockBar = dock;
                break;
            }
            if (!possible) possible = dock;
        }
        if (!dockBar) dockBar = possible;
    }
    if (!dockBar) {
        DockControlBar(bar, (CDockBar*)nullptr, rect);
        return;
    }
    dockBar->ReDockControlBar(bar, rect);
}

CMiniDockFrameWnd* CFrameWnd::CreateFloatingFrame(DWORD style)
{
    CRuntimeClass* cls = m_pFloatingFrameClass ? m_pFloatingFrameClass : RUNTIME_CLASS(CMiniDockFrameWnd);
    CObject* object = cls->CreateObject();
    if (!object) AfxThrowMemoryException();
    if (!object->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd))) {
        delete object;
        AfxThrowResourceException();
    }
    auto* frame = static_cast<CMiniDockFrameWnd*>(object);
    if (!frame->Create(this, style)) AfxThrowResourceException();
    return frame;
}

void CFrameWnd::FloatControlBar(CControlBar* bar, CPoint point, DWORD style)
{
    if (!bar) return;
    // Alone in a floating frame of the same orientation: only the frame moves.
    if (bar->m_pDockSite && bar->m_pDockBar) {
        CDockBar* dock = bar->m_pDockBar;
        if (dock->m_bFloating && dock->GetDockedCount() == 1 && (style & dock->m_dwStyle & CBRS_ALIGN_ANY)) {
            if (CFrameWnd* mini = dock->GetParentFrame()) {
                mini->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
                mini->RecalcLayout(TRUE);
                mini->UpdateWindow();
                return;
            }
        }
    }
    if (bar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
        // Dynamic bars float horizontally.
        style |= CBRS_SIZE_DYNAMIC;
        if (style & CBRS_ORIENT_VERT) style = (style & ~CBRS_ALIGN_ANY) | CBRS_ALIGN_TOP;
    }
    CMiniDockFrameWnd* mini = CreateFloatingFrame(style);
    mini->SetWindowPos(nullptr, point.x, point.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Commands of the floating frame go to the frame the bar belongs to.
    if (!mini->m_hWndOwner) mini->m_hWndOwner = m_hWnd;
    CDockBar* dock = mini->GetDockBar();
    if (!dock || !dock->m_hWnd) return;
    dock->DockControlBar(bar);
    mini->RecalcLayout(TRUE);
    if (::GetWindowLongPtrA(bar->m_hWnd, GWL_STYLE) & WS_VISIBLE) {
        mini->ShowWindow(SW_SHOWNA);
        mini->UpdateWindow();
    }
    if (bar->m_pDockContext) bar->m_pDockContext->m_ptMRUFloatPos = point;
}

void CFrameWnd::ShowControlBar(CControlBar* bar, BOOL show, BOOL delay)
{
    if (!bar || !bar->m_hWnd) return;
    CFrameWnd* frame = bar->GetDockingFrame();
    if (!frame) frame = this;
    if (delay) {
        bar->DelayShow(show);
        frame->DelayRecalcLayout();
    } else {
        bar->SetWindowPos(nullptr, 0, 0, 0, 0,
                          SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        bar->DelayShow(show);  // clears any contrary delayed request
        if (show || !bar->IsFloating()) frame->RecalcLayout(FALSE);
    }
    // A floating frame shows while it holds a visible bar.
    if (bar->IsFloating()) {
        int visible = bar->m_pDockBar ? bar->m_pDockBar->GetDockedVisibleCount() : (show ? 1 : 0);
        if (visible == 1 && show) {
            frame->m_nShowDelay = -1;
            if (delay) {
                frame->m_nShowDelay = SW_SHOWNA;
                frame->RecalcLayout(FALSE);
            } else {
                frame->ShowWindow(SW_SHOWNA);
            }
        } else if (visible == 0) {
            frame->m_nShowDelay = -1;
            if (delay)
                frame->m_nShowDelay = SW_HIDE;
            else
                frame->ShowWindow(SW_HIDE);
        } else if (!delay) {
            frame->RecalcLayout(FALSE);
        }
    }
}

// ---- mini frames

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_WM_NCACTIVATE()
    ON_WM_SHOWWINDOW()
    ON_WM_NCHITTEST()
    ON_WM_GETMINMAXINFO()
    ON_MESSAGE(WM_FLOATSTATUS, OnFloatStatus)
END_MESSAGE_MAP()

CMiniFrameWnd::CMiniFrameWnd() = default;

BOOL CMiniFrameWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, className, windowName, style, rect, parent, id);
}

BOOL CMiniFrameWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                             CWnd* parent, UINT id)
{
    m_strCaption = windowName;
    if (!className)
        className = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
    int x, y, cx, cy;
    CreationGeometry(rect, x, y, cx, cy);
    // Only a child has an id; a popup's menu argument is a menu.
    HMENU idOrMenu = (style & WS_CHILD) ? (HMENU)(UINT_PTR)id : nullptr;
    return CWnd::CreateEx(exStyle, className, windowName, style, x, y, cx, cy, parent ? parent->m_hWnd : nullptr,
                          idOrMenu);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCTA& cs)
{
    if (cs.style & (MFS_THICKFRAME | MFS_4THICKFRAME)) cs.style |= WS_THICKFRAME;
    // A caption makes it a tool window: the small caption.
    if (cs.style & WS_CAPTION) cs.dwExStyle |= WS_EX_TOOLWINDOW;
    if (!CFrameWnd::PreCreateWindow(cs)) return FALSE;
    cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
    return TRUE;
}

void CMiniFrameWnd::CalcBorders(LPRECT clientRect, DWORD style, DWORD exStyle)
{
    (void)exStyle;
    ::AdjustWindowRectEx(clientRect, style, FALSE, WS_EX_PALETTEWINDOW);
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL active)
{
    if (GetStyle() & MFS_SYNCACTIVE) {
        // The caption looks active while its owner frame, or a window it owns, is.
        HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
        HWND now = ::GetActiveWindow();
        active = now && (now == m_hWnd || (owner && (now == owner || ::GetWindow(now, GW_OWNER) == owner)));
    }
    return (BOOL)DefWindowProc(WM_NCACTIVATE, active, 0);
}

void CMiniFrameWnd::OnShowWindow(BOOL show, UINT)
{
    Default();
    // Shown without activation, it still takes its owner's caption state.
    if (show && (GetStyle() & MFS_SYNCACTIVE)) SendMessage(WM_NCACTIVATE, FALSE);
}

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point)
{
    (void)point;
    LRESULT hit = Default();
    DWORD style = GetStyle();
    if ((style & MFS_MOVEFRAME) && hit >= HTLEFT && hit <= HTBOTTOMRIGHT) return HTCAPTION;
    if (style & MFS_4THICKFRAME) {
        // Sizing by the edges only.
        if (hit == HTTOPLEFT || hit == HTTOPRIGHT) return HTTOP;
        if (hit == HTBOTTOMLEFT || hit == HTBOTTOMRIGHT) return HTBOTTOM;
    }
    return hit;
}

void CMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* mmi)
{
    Default();
    // As small as its contents: a floating bar may be narrower than a window's usual
    // minimum.
    CRect frame(0, 0, 0, 0);
    ::AdjustWindowRectEx(&frame, GetStyle(), FALSE, GetExStyle());
    mmi->ptMinTrackSize.x = frame.Width();
    mmi->ptMinTrackSize.y = frame.Height();
}

LRESULT CMiniFrameWnd::OnFloatStatus(WPARAM wParam, LPARAM)
{
    if (wParam & (FS_SHOW | FS_HIDE))
        SetWindowPos(nullptr, 0, 0, 0, 0,
                     ((wParam & FS_SHOW) ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE |
                         SWP_NOACTIVATE);
    if (wParam & (FS_ENABLE | FS_DISABLE)) EnableWindow((wParam & FS_ENABLE) != 0);
    if ((wParam & (FS_ACTIVATE | FS_DEACTIVATE)) && (GetStyle() & MFS_SYNCACTIVE))
        DefWindowProc(WM_NCACTIVATE, (wParam & FS_ACTIVATE) != 0, 0);
    return (wParam & FS_SYNCACTIVE) && (GetStyle() & MFS_SYNCACTIVE);
}
