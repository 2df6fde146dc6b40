// Dock bars (rows of bars, placeholders, row layout) and the floating mini frame.
#include "afxwin.h"

#include <algorithm>

namespace {
// Bars overlap their neighbours and the dock bar's edge by their 2-pixel border.
constexpr int kBorder2 = 2;

void* PlaceholderOf(CControlBar* bar)
{
    return (void*)(UINT_PTR)(WORD)::GetDlgCtrlID(bar->m_hWnd);
}
}  // namespace

IMPLEMENT_DYNAMIC(CDockBar, CControlBar)

BEGIN_MESSAGE_MAP(CDockBar, CControlBar)
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

CDockBar::CDockBar(BOOL floating) : m_bFloating(floating)
{
    m_arrBars.Add(nullptr);
    m_bAutoDelete = TRUE;
    m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

CDockBar::~CDockBar()
{
    // Bars still docked here outlive it; they no longer point at it.
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
        if (CControlBar* bar = GetDockedControlBar((int)i))
            if (bar->m_pDockBar == this) bar->m_pDockBar = nullptr;
}

BOOL CDockBar::Create(CWnd* parent, DWORD style, UINT id)
{
    m_dwStyle = style & CBRS_ALL;
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), (HBRUSH)(COLOR_BTNFACE + 1));
    // The bar style bits are not window styles (CBRS_GRIPPER is WS_DLGFRAME's bit).
    return CWnd::Create(cls, nullptr, style & ~CBRS_ALL, CRect(0, 0, 0, 0), parent, id);
}

// ---- the array

CControlBar* CDockBar::GetDockedControlBar(int pos) const
{
    void* entry = m_arrBars[pos];
    if ((UINT_PTR)entry <= 0xFFFF) return nullptr;  // row end or placeholder
    return static_cast<CControlBar*>(entry);
}

int CDockBar::FindBar(CControlBar* bar, int posExclude)
{
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
        if (i != posExclude && m_arrBars[i] == bar) return (int)i;
    return -1;
}

int CDockBar::GetDockedCount() const
{
    int n = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
        if (GetDockedControlBar((int)i)) ++n;
    return n;
}

int CDockBar::GetDockedVisibleCount() const
{
    int n = 0;
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i)
        if (CControlBar* bar = GetDockedControlBar((int)i))
            if (bar->IsVisible()) ++n;
    return n;
}

void CDockBar::RemovePlaceHolder(CControlBar* bar)
{
    void* id = PlaceholderOf(bar);
    if (!id) return;
    int pos = FindBar(static_cast<CControlBar*>(id));
    if (pos <= 0) return;
    m_arrBars.RemoveAt(pos);
    // An emptied row goes with it.
    if (pos < m_arrBars.GetSize() && !m_arrBars[pos - 1] && !m_arrBars[pos]) m_arrBars.RemoveAt(pos);
}

int CDockBar::Insert(CControlBar* barIns, CRect rect, CPoint mid)
{
    bool horz = (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
    int insertAfter = 0;
    int thickness = 0;  // of the row being scanned
    int total = 0;      // rows scanned so far
    for (INT_PTR pos = 0; pos < m_arrBars.GetSize(); ++pos) {
        CControlBar* bar = GetDockedControlBar((int)pos);
        if (bar) {
            if (!bar->IsVisible()) continue;
            CRect r;
            bar->GetWindowRect(&r);
            ScreenToClient(&r);
            thickness = std::max(thickness, horz ? r.Height() : r.Width());
            if (horz ? rect.left > r.left : rect.top > r.top) insertAfter = (int)pos;
        } else if (!m_arrBars[pos]) {
            // A row ends: the centre in it (rows overlap by their borders) puts the bar here.
            total += thickness - kBorder2;
            thickness = 0;
            if ((horz ? mid.y : mid.x) < total) {
                if (pos == 0) m_arrBars.InsertAt(insertAfter + 1, (void*)nullptr);  // above the first row
                m_arrBars.InsertAt(insertAfter + 1, barIns);
                return insertAfter + 1;
            }
            insertAfter = (int)pos;
        }
    }
    // Past the last row: a row of its own.
    m_arrBars.InsertAt(insertAfter + 1, (void*)nullptr);
    m_arrBars.InsertAt(insertAfter + 1, barIns);
    return insertAfter + 1;
}

// Style changes a bar takes on joining this dock bar.
static void AdoptBar(CDockBar* dock, CControlBar* bar)
{
    if (dock->m_bFloating && (bar->m_dwDockStyle & CBRS_FLOAT_MULTI)) dock->m_dwStyle |= CBRS_FLOAT_MULTI;
    dock->m_dwStyle &= ~(CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    dock->m_dwStyle |= bar->m_dwStyle & (CBRS_SIZE_FIXED | CBRS_SIZE_DYNAMIC);
    // A frame of one bar carries that bar's caption.
    if (!(dock->m_dwStyle & CBRS_FLOAT_MULTI)) {
        CString title;
        bar->GetWindowText(title);
        dock->SetWindowText(title);
    }
    DWORD style = (bar->GetBarStyle() & ~CBRS_ALIGN_ANY) | (dock->m_dwStyle & CBRS_ALIGN_ANY) | CBRS_BORDER_ANY;
    if (dock->m_bFloating)
        style |= CBRS_FLOATING;
    else
        style &= ~CBRS_FLOATING;
    bar->SetBarStyle(style);
}

void CDockBar::DockControlBar(CControlBar* bar, LPCRECT lpRect)
{
    if (!bar || !bar->m_hWnd) return;
    CRect now;
    bar->GetWindowRect(&now);
    if (bar->m_pDockBar == this && (!lpRect || now == *lpRect)) return;  // already there

    AdoptBar(this, bar);
    // Hidden while it changes dock bars, so that it does not flash in between.
    bool reshow = false;
    if (bar->m_pDockBar != this && bar->IsWindowVisible()) {
        bar->SetWindowPos(nullptr, 0, 0, 0, 0,
                          SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        reshow = true;
    }
    int pos = -1;
    if (lpRect) {
        CRect rect(lpRect);
        ScreenToClient(&rect);
        pos = Insert(bar, rect, rect.CenterPoint());
        bar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                          SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    } else {
        m_arrBars.Add(bar);
        m_arrBars.Add(nullptr);
        bar->SetWindowPos(nullptr, -kBorder2, -kBorder2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    if (::GetParent(bar->m_hWnd) != m_hWnd) bar->SetParent(this);
    if (bar->m_pDockBar == this)
        RemoveControlBar(bar, pos);
    else if (bar->m_pDockBar)
        bar->m_pDockBar->RemoveControlBar(bar, -1, m_bFloating && !bar->m_pDockBar->m_bFloating);
    bar->m_pDockBar = this;
    if (reshow)
        bar->SetWindowPos(nullptr, 0, 0, 0, 0,
                          SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RemovePlaceHolder(bar);
    if (!m_bFloating && bar->m_pDockContext) bar->m_pDockContext->m_uMRUDockID = (UINT)(WORD)GetDlgCtrlID();
    if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
}

void CDockBar::ReDockControlBar(CControlBar* bar, LPCRECT lpRect)
{
    if (!bar || !bar->m_hWnd) return;
    if (bar->m_pDockBar == this) {
        DockControlBar(bar, lpRect);
        return;
    }
    AdoptBar(this, bar);
    // Back into the place it left, when that place was kept.
    int pos = FindBar(static_cast<CControlBar*>(PlaceholderOf(bar)));
    if (pos > 0) m_arrBars[pos] = bar;
    if (lpRect) {
        CRect rect(lpRect);
        ScreenToClient(&rect);
        if (pos < 1) pos = Insert(bar, rect, rect.CenterPoint());
        bar->SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(),
                          SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    } else {
        if (pos < 1) {
            m_arrBars.Add(bar);
            m_arrBars.Add(nullptr);
        }
        bar->SetWindowPos(nullptr, -kBorder2, -kBorder2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    if (::GetParent(bar->m_hWnd) != m_hWnd) bar->SetParent(this);
    if (bar->m_pDockBar) bar->m_pDockBar->RemoveControlBar(bar);
    bar->m_pDockBar = this;
    if (!m_bFloating && bar->m_pDockContext) bar->m_pDockContext->m_uMRUDockID = (UINT)(WORD)GetDlgCtrlID();
    if (CFrameWnd* frame = GetDockingFrame()) frame->DelayRecalcLayout();
}

BOOL CDockBar::RemoveControlBar(CControlBar* bar, int posExclude, int addPlaceholder)
{
    int pos = FindBar(bar, posExclude);
    if (pos <= 0) return FALSE;
    void* id = bar->m_hWnd ? PlaceholderOf(bar) : nullptr;
    if (addPlaceholder == 1 && id) {
        m_arrBars[pos] = id;
        // One placeholder per bar: a second one goes, with its row if emptied.
        int older = FindBar(static_cast<CControlBar*>(id), pos);
        if (older > 0) {
            m_arrBars.RemoveAt(older);
            if (older < m_arrBars.GetSize() && !m_arrBars[older - 1] && !m_arrBars[older]) m_arrBars.RemoveAt(older);
        }
    } else {
        m_arrBars.RemoveAt(pos);
        if (pos < m_arrBars.GetSize() && !m_arrBars[pos - 1] && !m_arrBars[pos]) m_arrBars.RemoveAt(pos);
        if (addPlaceholder != -1) RemovePlaceHolder(bar);
    }
    // A bar being torn down does no more.
    if (!bar->m_pDockContext) return FALSE;
    CFrameWnd* frame = GetDockingFrame();
    if (!frame) return FALSE;
    if (m_bFloating && GetDockedVisibleCount() == 0) {
        if (GetDockedCount() == 0) {
            frame->DestroyWindow();
            return TRUE;
        }
        frame->ShowWindow(SW_HIDE);
    } else {
        frame->DelayRecalcLayout();
    }
    return FALSE;
}

void CDockBar::ShowAll(BOOL show)
{
    for (INT_PTR i = 0; i < m_arrBars.GetSize(); ++i) {
        CControlBar* bar = GetDockedControlBar((int)i);
        if (!bar) continue;
        if (CFrameWnd* frame = bar->GetDockingFrame()) frame->ShowControlBar(bar, show, FALSE);
    }
}

// ---- layout

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    auto* layout = (AFX_SIZEPARENTPARAMS*)lParam;
    BOOL wasQuery = m_bLayoutQuery;
    CRect wasRect = m_rectLayout;
    m_bLayoutQuery = layout->hDWP == nullptr;
    m_rectLayout = layout->rect;
    LRESULT result = CControlBar::OnSizeParent(wParam, lParam);
    m_bLayoutQuery = wasQuery;
    m_rectLayout = wasRect;
    return result;
}

CSize CDockBar::CalcFixedLayout(BOOL stretch, BOOL horz)
{
    CSize fixed = CControlBar::CalcFixedLayout(stretch, horz);
    CSize maxSize;
    if (!m_rectLayout.IsRectEmpty()) {
        maxSize = m_rectLayout.Size();
    } else {
        CRect client;
        if (CFrameWnd* frame = GetParentFrame()) frame->GetClientRect(&client);
        maxSize = client.Size();
    }

    AFX_SIZEPARENTPARAMS layout{};
    layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos((int)m_arrBars.GetSize());
    CPoint pt(-kBorder2, -kBorder2);
    int thickness = 0;     // of the row being laid out
    bool wrapped = false;  // a row break was just inserted before the current bar
    for (INT_PTR pos = 0; pos < m_arrBars.GetSize(); ++pos) {
        CControlBar* bar = GetDockedControlBar((int)pos);
        bool rowEnd = m_arrBars[pos] == nullptr;
        if (bar && bar->IsVisible()) {
            DWORD mode;
            if ((bar->m_dwStyle & CBRS_SIZE_DYNAMIC) && (bar->m_dwStyle & CBRS_FLOATING))
                mode = LM_HORZ | LM_MRUWIDTH;
            else if (bar->m_dwStyle & CBRS_ORIENT_HORZ)
                mode = LM_HORZ | LM_HORZDOCK;
            else
                mode = LM_VERTDOCK;
            CSize size = bar->CalcDynamicLayout(-1, mode);
            CRect rect(pt, size);
            CRect now;
            bar->GetWindowRect(&now);
            ScreenToClient(&now);
            // Along the row: x for horizontal rows, y for vertical ones.
            LONG& lead = horz ? rect.left : rect.top;
            LONG nowLead = horz ? now.left : now.top;
            LONG extent = horz ? rect.Width() : rect.Height();
            LONG room = horz ? maxSize.cx : maxSize.cy;
            LONG ptLead = horz ? pt.x : pt.y;
            auto shift = [&](LONG by) { horz ? rect.OffsetRect(by, 0) : rect.OffsetRect(0, by); };
            // A bar keeps a place further along the row that the user gave it.
            if (nowLead > lead && !m_bFloating) shift(nowLead - lead);
            // One running past the end moves back, but not over the bars before it.
            LONG trail = horz ? rect.right : rect.bottom;
            if (trail > room && !m_bFloating) shift(std::max(room - (extent - kBorder2), ptLead) - lead);
            if (wrapped) {
                wrapped = false;
                shift(-(lead + kBorder2));
            } else if (lead >= room - kBorder2 && pos > 0 && m_arrBars[pos - 1] != nullptr) {
                // No room left in this row: the bar starts the next one.
                m_arrBars.InsertAt(pos, (void*)nullptr);
                wrapped = true;
                bar = nullptr;
                rowEnd = true;
            }
            if (bar) {
                if (rect != now) {
                    if (!m_bLayoutQuery && !(bar->m_dwStyle & CBRS_FLOATING) && bar->m_pDockContext)
                        bar->m_pDockContext->m_rectMRUDockPos = rect;
                    AfxRepositionWindow(&layout, bar->m_hWnd, &rect);
                }
                if (horz) {
                    pt.x = rect.left + size.cx - kBorder2;
                    thickness = std::max(thickness, (int)size.cy);
                } else {
                    pt.y = rect.top + size.cy - kBorder2;
                    thickness = std::max(thickness, (int)size.cx);
                }
            }
        }
        if (bar) bar->RecalcDelayShow(&layout);
        if (rowEnd && thickness != 0) {
            if (horz) {
                pt.y += thickness - kBorder2;
                fixed.cx = std::max(fixed.cx, pt.x);
                fixed.cy = std::max(fixed.cy, pt.y);
                pt.x = -kBorder2;
            } else {
                pt.x += thickness - kBorder2;
                fixed.cx = std::max(fixed.cx, pt.x);
                fixed.cy = std::max(fixed.cy, pt.y);
                pt.y = -kBorder2;
            }
            thickness = 0;
        }
    }
    if (layout.hDWP && !::EndDeferWindowPos(layout.hDWP))
        ::OutputDebugStringA("CDockBar: deferred window positions failed\n");

    // The dock bar's own borders (outside its client area) add to its size.
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, horz);
    if ((!stretch || !horz) && fixed.cx != 0) fixed.cx += inside.left - inside.right;
    if ((!stretch || horz) && fixed.cy != 0) fixed.cy += inside.top - inside.bottom;
    return fixed;
}

void CDockBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* params)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
    params->rgrc[0].left += inside.left;
    params->rgrc[0].top += inside.top;
    params->rgrc[0].right += inside.right;
    params->rgrc[0].bottom += inside.bottom;
}

void CDockBar::OnNcPaint() { EraseNonClient(); }

void CDockBar::DoPaint(CDC*)
{
    // The background is all a dock bar shows; its borders are in the frame area.
}

// ---- floating mini frame

IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
    ON_WM_MOUSEACTIVATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CDockBar* CMiniDockFrameWnd::CreateDockBar() { return new CDockBar(TRUE); }

BOOL CMiniDockFrameWnd::Create(CWnd* parent, DWORD barStyle)
{
    // No layout until the dock bar is in place.
    m_bInRecalcLayout = TRUE;
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE |
                  MFS_BLOCKSYSMENU | FWS_SNAPTOBARS;
    if (barStyle & CBRS_SIZE_DYNAMIC) style &= ~MFS_MOVEFRAME;  // its borders resize the bar
    // On failure the frame object is gone (frames delete themselves).
    if (!CMiniFrameWnd::CreateEx(0, nullptr, "", style, rectDefault, parent)) return FALSE;
    DWORD dockStyle = (barStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
    dockStyle |= barStyle & CBRS_FLOAT_MULTI;
    if (CMenu* sys = GetSystemMenu(FALSE)) {
        sys->DeleteMenu(SC_SIZE, MF_BYCOMMAND);
        sys->DeleteMenu(SC_MINIMIZE, MF_BYCOMMAND);
        sys->DeleteMenu(SC_MAXIMIZE, MF_BYCOMMAND);
        sys->DeleteMenu(SC_RESTORE, MF_BYCOMMAND);
    }
    CDockBar* dock = CreateDockBar();
    if (!dock) {
        m_bInRecalcLayout = FALSE;
        return FALSE;
    }
    dock->m_bFloating = TRUE;
    dock->m_bAutoDelete = TRUE;
    // Made in the owning frame first, so that the dock bar joins that frame's bar list
    // (its dock site); then moved into this frame.
    CWnd* site = parent ? parent : this;
    if (!dock->Create(site, WS_CHILD | WS_VISIBLE | dockStyle, AFX_IDW_DOCKBAR_FLOAT)) {
        m_bInRecalcLayout = FALSE;
        return FALSE;  // the dock bar deleted itself with its window, or never had one
    }
    dock->SetParent(this);
    m_pWndDockBar = dock;
    m_bInRecalcLayout = FALSE;
    return TRUE;
}

CControlBar* CMiniDockFrameWnd::GetFirstBar() const
{
    if (!m_pWndDockBar) return nullptr;
    for (INT_PTR i = 1; i < m_pWndDockBar->m_arrBars.GetSize(); ++i)
        if (CControlBar* bar = m_pWndDockBar->GetDockedControlBar((int)i)) return bar;
    return nullptr;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL notify)
{
    if (m_bInRecalcLayout) return;
    CMiniFrameWnd::RecalcLayout(notify);
    // The caption is the dock bar's (its one bar's) text.
    if (m_pWndDockBar && m_pWndDockBar->m_hWnd) {
        CString title, now;
        m_pWndDockBar->GetWindowText(title);
        GetWindowText(now);
        if (title != now) SetWindowText(title);
    }
}

void CMiniDockFrameWnd::OnDestroy()
{
    m_pWndDockBar = nullptr;  // the dock bar goes with the window (auto-delete)
    CMiniFrameWnd::OnDestroy();
}

void CMiniDockFrameWnd::OnClose()
{
    // Closing hides the bars; the frame goes when they are docked elsewhere.
    if (m_pWndDockBar) m_pWndDockBar->ShowAll(FALSE);
}

// Activates the frame the floating window belongs to, unless the floating window is
// itself in the foreground.
static void ActivateOwnerFrame(CMiniDockFrameWnd* mini)
{
    HWND fg = ::GetForegroundWindow();
    if (fg == mini->m_hWnd || ::IsChild(mini->m_hWnd, fg)) return;
    HWND owner = ::GetWindow(mini->m_hWnd, GW_OWNER);
    if (owner) ::SetForegroundWindow(owner);
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT hitTest, CPoint point)
{
    if (hitTest == HTCAPTION) {
        ActivateOwnerFrame(this);
        // A frame of one bar: dragging the caption drags the bar.
        if (m_pWndDockBar && !(m_pWndDockBar->m_dwStyle & CBRS_FLOAT_MULTI)) {
            CControlBar* bar = GetFirstBar();
            if (bar && bar->m_pDockContext) {
                bar->m_pDockContext->StartDrag(point);
                return;
            }
        }
    } else if (hitTest >= HTLEFT && hitTest <= HTBOTTOMRIGHT) {
        ActivateOwnerFrame(this);
        CControlBar* bar = GetFirstBar();
        if (bar && bar->m_pDockContext && (bar->m_dwStyle & CBRS_SIZE_DYNAMIC)) {
            bar->m_pDockContext->StartResize((int)hitTest, point);
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDown(hitTest, point);
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT hitTest, CPoint point)
{
    if (hitTest == HTCAPTION && m_pWndDockBar && !(m_pWndDockBar->m_dwStyle & CBRS_FLOAT_MULTI)) {
        ActivateOwnerFrame(this);
        CControlBar* bar = GetFirstBar();
        if (bar && bar->m_pDockContext) {
            bar->m_pDockContext->ToggleDocking();  // may destroy this frame
            return;
        }
    }
    CMiniFrameWnd::OnNcLButtonDblClk(hitTest, point);
}

int CMiniDockFrameWnd::OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message)
{
    if (hitTest >= HTLEFT && hitTest <= HTBOTTOMRIGHT) return MA_NOACTIVATE;
    return CMiniFrameWnd::OnMouseActivate(topParent, hitTest, message);
}
