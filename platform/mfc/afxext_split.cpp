// Static splitter windows.
#include "afxext.h"
#include "afxext_viewseam.h"

IMPLEMENT_DYNAMIC(CSplitterWnd, CWnd)

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_KEYDOWN()
    ON_WM_CANCELMODE()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace {
constexpr int kRowBarBase = 100;  // hit codes of row bars start above it
}

BOOL CSplitterWnd::CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id)
{
    if (rows < 1 || cols < 1 || rows > 16 || cols > 16) return FALSE;
    m_nRows = rows;
    m_nCols = cols;
    m_rowInfo.assign((size_t)rows, CRowColInfo{});
    m_colInfo.assign((size_t)cols, CRowColInfo{});
    CRect rect;
    if (parent) parent->GetClientRect(&rect);
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW), (HBRUSH)(COLOR_3DFACE + 1));
    return CreateEx(0, cls, nullptr, style | WS_CHILD | WS_CLIPCHILDREN, rect, parent, id);
}

BOOL CSplitterWnd::CreateView(int row, int col, CRuntimeClass* viewClass, SIZE initial, CCreateContext* context)
{
    if (row < 0 || row >= m_nRows || col < 0 || col >= m_nCols || !viewClass) return FALSE;
    if (GetDlgItem(IdFromRowCol(row, col))) return FALSE;  // the pane exists already
    m_colInfo[(size_t)col].nIdealSize = initial.cx;
    m_rowInfo[(size_t)row].nIdealSize = initial.cy;
    CObject* obj = viewClass->CreateObject();
    if (!obj) return FALSE;
    if (!obj->IsKindOf(RUNTIME_CLASS(CWnd))) {
        delete obj;
        return FALSE;
    }
    auto* pane = static_cast<CWnd*>(obj);
    // Without a context the pane is on its own: it gets its initial update here.
    bool initialUpdate = context == nullptr;
    CCreateContext local;
    if (!context) {
        local.m_pNewViewClass = viewClass;
        context = &local;
    }
    // Made at its initial size; the splitter places it. A pane that fails to be created
    // has had its PostNcDestroy (views delete themselves).
    if (!pane->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(CPoint(0, 0), initial), this,
                      (UINT)IdFromRowCol(row, col), context))
        return FALSE;
    if (initialUpdate) pane->SendMessage(WM_INITIALUPDATE);
    RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::IsChildPane(CWnd* wnd, int* row, int* col) const
{
    if (!wnd || !wnd->m_hWnd || ::GetParent(wnd->m_hWnd) != m_hWnd) return FALSE;
    int id = wnd->GetDlgCtrlID() - (int)AFX_IDW_PANE_FIRST;
    int r = id / 16, c = id % 16;
    if (id < 0 || r >= m_nRows || c >= m_nCols) return FALSE;
    if (row) *row = r;
    if (col) *col = c;
    return TRUE;
}

CWnd* CSplitterWnd::GetActivePane(int* row, int* col) const
{
    // The frame's active view when it is one of the panes, else the pane with the focus.
    CWnd* pane = nullptr;
    if (CFrameWnd* frame = GetParentFrame())
        if (CView* view = frame->GetActiveView()) pane = AfxViewWindow(view);
    if (!IsChildPane(pane, row, col)) pane = CWnd::GetFocus();
    return IsChildPane(pane, row, col) ? pane : nullptr;
}

void CSplitterWnd::SetActivePane(int row, int col, CWnd* wnd)
{
    CWnd* pane = wnd ? wnd : GetPane(row, col);
    if (!pane || !pane->m_hWnd) return;
    // A view pane becomes the frame's active view (which gives it the focus).
    CFrameWnd* frame = GetParentFrame();
    if (auto* view = dynamic_cast<CView*>(pane); view && frame) {
        frame->SetActiveView(view);
        if (::GetFocus() != view->m_hWnd && !::IsChild(view->m_hWnd, ::GetFocus())) view->SetFocus();
        return;
    }
    pane->SetFocus();
}

void CSplitterWnd::GetColumnInfo(int col, int& current, int& minimum) const
{
    current = m_colInfo.at((size_t)col).nCurSize;
    minimum = m_colInfo.at((size_t)col).nMinSize;
}

void CSplitterWnd::SetColumnInfo(int col, int ideal, int minimum)
{
    auto& c = m_colInfo.at((size_t)col);
    c.nIdealSize = ideal;
    c.nMinSize = minimum;
}

void CSplitterWnd::GetRowInfo(int row, int& current, int& minimum) const
{
    current = m_rowInfo.at((size_t)row).nCurSize;
    minimum = m_rowInfo.at((size_t)row).nMinSize;
}

void CSplitterWnd::SetRowInfo(int row, int ideal, int minimum)
{
    auto& r = m_rowInfo.at((size_t)row);
    r.nIdealSize = ideal;
    r.nMinSize = minimum;
}

void CSplitterWnd::LayoutAxis(std::vector<CRowColInfo>& info, int total, int gap)
{
    int left = total;
    for (size_t i = 0; i < info.size(); ++i) {
        CRowColInfo& c = info[i];
        bool last = i + 1 == info.size();
        int size = last ? left : c.nIdealSize;
        if (size < c.nMinSize) size = 0;  // too small to show
        if (size > left) size = left;
        if (size < 0) size = 0;
        c.nCurSize = size;
        left -= size;
        if (!last) left -= gap;
        if (left < 0) left = 0;
    }
}

void CSplitterWnd::RecalcLayout()
{
    if (!m_hWnd || m_nRows == 0) return;
    CRect client;
    GetClientRect(&client);
    LayoutAxis(m_colInfo, client.Width(), m_cxSplitterGap);
    LayoutAxis(m_rowInfo, client.Height(), m_cySplitterGap);
    int y = 0;
    for (int r = 0; r < m_nRows; ++r) {
        int x = 0;
        int h = m_rowInfo[(size_t)r].nCurSize;
        for (int c = 0; c < m_nCols; ++c) {
            int w = m_colInfo[(size_t)c].nCurSize;
            if (HWND pane = ::GetDlgItem(m_hWnd, IdFromRowCol(r, c))) {
                ::SetWindowPos(pane, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
                ::ShowWindow(pane, (w > 0 && h > 0) ? SW_SHOWNA : SW_HIDE);
            }
            x += w + m_cxSplitterGap;
        }
        y += h + m_cySplitterGap;
    }
    Invalidate();
}

// Leading edge of the bar after column (hit) or row (hit - 100).
int CSplitterWnd::BarStart(int hit) const
{
    bool row = hit > kRowBarBase;
    const auto& info = row ? m_rowInfo : m_colInfo;
    int index = row ? hit - kRowBarBase : hit;
    int gap = row ? m_cySplitterGap : m_cxSplitterGap;
    int pos = 0;
    for (int i = 0; i < index; ++i) pos += info[(size_t)i].nCurSize + (i + 1 < index ? gap : 0);
    return pos;
}

CRect CSplitterWnd::BarRect(int hit, int pos) const
{
    CRect client;
    GetClientRect(&client);
    if (hit > kRowBarBase) return CRect(0, pos, client.right, pos + m_cySplitterGap);
    return CRect(pos, 0, pos + m_cxSplitterGap, client.bottom);
}

int CSplitterWnd::HitTest(CPoint pt) const
{
    for (int c = 1; c < m_nCols; ++c)
        if (BarRect(c, BarStart(c)).PtInRect(pt)) return c;
    for (int r = 1; r < m_nRows; ++r)
        if (BarRect(kRowBarBase + r, BarStart(kRowBarBase + r)).PtInRect(pt)) return kRowBarBase + r;
    return 0;
}

void CSplitterWnd::InvertTracker()
{
    CClientDC dc(this);
    CBrush* old = dc.SelectObject(CDC::GetHalftoneBrush());
    CRect r = BarRect(m_htTrack, m_trackPos);
    dc.PatBlt(r.left, r.top, r.Width(), r.Height(), PATINVERT);
    dc.SelectObject(old);
    m_trackerShown = !m_trackerShown;
}

void CSplitterWnd::StartTracking(int hit)
{
    if (hit <= 0) return;
    m_htTrack = hit;
    m_trackPos = BarStart(hit);
    m_bTracking = TRUE;
    SetCapture();
    SetFocus();  // Esc cancels
    InvertTracker();
}

void CSplitterWnd::StopTracking(BOOL accept)
{
    if (!m_bTracking) return;
    if (m_trackerShown) InvertTracker();
    m_bTracking = FALSE;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (!accept) return;
    bool row = m_htTrack > kRowBarBase;
    auto& info = row ? m_rowInfo : m_colInfo;
    int index = (row ? m_htTrack - kRowBarBase : m_htTrack) - 1;  // the pane before the bar
    int gap = row ? m_cySplitterGap : m_cxSplitterGap;
    int start = 0;
    for (int i = 0; i < index; ++i) start += info[(size_t)i].nCurSize + gap;
    int size = m_trackPos - start;
    info[(size_t)index].nIdealSize = size < 0 ? 0 : size;
    RecalcLayout();
}

BOOL CSplitterWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (CWnd::OnCommand(wParam, lParam)) return TRUE;
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) return FALSE;
    ::SendMessageA(parent, WM_COMMAND, wParam, lParam);
    return TRUE;
}

BOOL CSplitterWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (CWnd::OnNotify(wParam, lParam, result)) return TRUE;
    HWND parent = ::GetParent(m_hWnd);
    if (!parent) return FALSE;
    *result = ::SendMessageA(parent, WM_NOTIFY, wParam, lParam);
    return TRUE;
}

void CSplitterWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
}

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(this);
    COLORREF face = ::GetSysColor(COLOR_3DFACE);
    COLORREF light = ::GetSysColor(COLOR_3DHILIGHT);
    COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
    for (int c = 1; c < m_nCols; ++c) {
        CRect r = BarRect(c, BarStart(c));
        dc.FillSolidRect(&r, face);
        dc.Draw3dRect(&r, light, shadow);
    }
    for (int rw = 1; rw < m_nRows; ++rw) {
        CRect r = BarRect(kRowBarBase + rw, BarStart(kRowBarBase + rw));
        dc.FillSolidRect(&r, face);
        dc.Draw3dRect(&r, light, shadow);
    }
}

BOOL CSplitterWnd::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (hitTest == HTCLIENT && wnd == this) {
        POINT pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        int hit = m_bTracking ? m_htTrack : HitTest(CPoint(pt));
        if (hit) {
            ::SetCursor(::LoadCursorA(nullptr, hit > kRowBarBase ? IDC_SIZENS : IDC_SIZEWE));
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint point)
{
    if (m_bTracking) return;
    int hit = HitTest(point);
    if (!hit) return;
    StartTracking(hit);
    m_trackOffset = (hit > kRowBarBase ? point.y : point.x) - m_trackPos;
}

void CSplitterWnd::OnMouseMove(UINT, CPoint point)
{
    if (!m_bTracking) return;
    CRect client;
    GetClientRect(&client);
    bool row = m_htTrack > kRowBarBase;
    int pos = (row ? point.y : point.x) - m_trackOffset;
    int limit = (row ? client.Height() - m_cySplitterGap : client.Width() - m_cxSplitterGap);
    if (pos > limit) pos = limit;
    if (pos < 0) pos = 0;
    if (pos == m_trackPos) return;
    if (m_trackerShown) InvertTracker();
    m_trackPos = pos;
    InvertTracker();
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) { StopTracking(TRUE); }

void CSplitterWnd::OnKeyDown(UINT ch, UINT repeat, UINT flags)
{
    if (m_bTracking && ch == VK_ESCAPE) {
        StopTracking(FALSE);
        return;
    }
    CWnd::OnKeyDown(ch, repeat, flags);
}

void CSplitterWnd::OnCancelMode() { StopTracking(FALSE); }

void CSplitterWnd::OnCaptureChanged(CWnd* wnd)
{
    if (m_bTracking && (!wnd || wnd->m_hWnd != m_hWnd)) StopTracking(FALSE);
}
