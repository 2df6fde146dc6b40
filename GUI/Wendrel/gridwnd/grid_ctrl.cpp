// The grid window's creation, view, layout and message handling.
#include "gridwnd/grid_ctrl.h"

#include <algorithm>
#include <cstring>

#include "app/wendrel_app.h"
#include "grid/grid_draw_device.h"
#include "grid/grid_filter.h"
#include "grid/grid_measure.h"
#include "gridwnd/grid_tool.h"

namespace {

// Marks the left and the right element of every top header cell as a button
// while columns are measured, so header widths leave room for the sort and
// filter buttons.
class TMeasureSink : public IDeviceSink {
public:
    void BeforeRenderRange(const CELL_RANGE& range, CELL_CONTENT& content) override
    {
        if (range.top != 0 || range.Width() != 1 || range.Height() != 1) return;
        content.left.buttonKind = 4;
        content.right.buttonKind = 4;
    }
};

int Clamp(int v, int lo, int hi) { return std::max(lo, std::min(v, hi)); }

}  // namespace

BEGIN_MESSAGE_MAP(CDefGridCtrl, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
    ON_WM_MOUSEWHEEL()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_GETDLGCODE()
    ON_WM_KILLFOCUS()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEACTIVATE()
    ON_WM_MOUSELEAVE()
    ON_WM_MOUSEHOVER()
    ON_WM_TIMER()
    ON_MESSAGE(WM_GRID_SYNC, OnSync)
    ON_MESSAGE(WM_GRID_KILLPOPUP, OnKillPopup)
    ON_WM_DESTROY()
    ON_WM_RBUTTONDOWN()
    ON_COMMAND_RANGE(ID_GRID_TOOL_HAND, ID_GRID_TOOL_LAST, OnGridTool)
    ON_UPDATE_COMMAND_UI_RANGE(ID_GRID_TOOL_HAND, ID_GRID_TOOL_LAST, OnUpdateGridTool)
    ON_COMMAND_RANGE(ID_GRID_OPTION_FIRST, ID_GRID_OPTION_LAST, OnGridOption)
    ON_UPDATE_COMMAND_UI_RANGE(ID_GRID_OPTION_FIRST, ID_GRID_OPTION_LAST, OnUpdateGridOption)
END_MESSAGE_MAP()

CDefGridCtrl::CDefGridCtrl() : m_view(new CDefGridViewImpl)
{
    m_enabledTools.set();
    m_tool = std::make_unique<CDefGridTool>(this);
}

CDefGridCtrl::~CDefGridCtrl()
{
    if (m_view) m_view->Unadvise(this);
}

BOOL CDefGridCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CreateEx(0, style, rect, parent, id, nullptr);
}

BOOL CDefGridCtrl::CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id, LPVOID param)
{
    if (!CWnd::CreateEx(exStyle, WENDREL_GRID_CLASS, nullptr, style, rect, parent, id, param)) return FALSE;
    EnableToolTips(TRUE);
    return TRUE;
}

// ---------------------------------------------------------------- view

void CDefGridCtrl::SetView(CDefGridView* view)
{
    // An open popup works on the old chain (a filter popup on its decorator).
    if (m_popup && m_hWnd) SendMessage(WM_GRID_KILLPOPUP, 0, 0);
    m_focused = CELL_RANGE();
    if (m_view) {
        m_view->Unadvise(this);
        m_view->SetSite(nullptr);
    }
    m_view.Reset(view);
    if (!view) return;
    view->Advise(this);
    view->SetSite(this);
    UpdateColumns();
    if (!view->CapableOf(CAP_NATURAL_ORDER)) Sort(1, true);
}

void CDefGridCtrl::UpdateColumns()
{
    if (!m_view) return;
    m_layout.columns.assign(size_t(std::max(0, m_view->GetSize().column)), COLUMN_INFO());
    m_view->GetActiveRange(m_activeRange);
    m_gridOrg = CPoint(m_headerWidth, m_headerHeight);
    Update();
}

void CDefGridCtrl::Update()
{
    if (!m_hWnd || !m_view) return;
    // Rows came or went: a filter popup's value list refers to trees that
    // the view now builds anew.
    if (m_popup && m_view->GetSize().row != GetRowCount()) SendMessage(WM_GRID_KILLPOPUP, 0, 0);
    CalculateColumns();
    m_layout.rows.assign(size_t(std::max(0, m_view->GetSize().row)), ROW_INFO());
    CDefGridView* active = m_view->GetActiveView();
    CELL_RANGE range;
    m_view->GetActiveRange(range);
    m_activeRange.top = range.top;
    m_activeRange.bottom = range.bottom;
    if (active && active->CapableOf(CAP_ROW_DATA) && !range.IsEmpty())
        for (int i = range.top; i < range.bottom && i < GetRowCount(); ++i)
            m_layout.rows[size_t(i)].state = unsigned(active->GetRowData(i - range.top));
    {
        CClientDC dc(this);
        CELL_IMAGE image = GetOverallImage();
        DRAW_DEVICE device(dc.m_hDC, image, *m_styles, false);
        device.SetMeasuring(true);
        device.Advise(this);
        m_view->Draw(device, CELL_INFO(image.range));
    }
    CalculateRows();
    ReflectWindowSize();
    ReflectViewChange(true, 3);
    m_dirty &= ~1u;
}

void CDefGridCtrl::OnChange(const CELL_RANGE*)
{
    m_dirty |= 1;
    if (!m_hWnd) return;
    MSG queued;
    ::PeekMessageA(&queued, m_hWnd, WM_GRID_SYNC, WM_GRID_SYNC, PM_REMOVE);
    ::PostMessageA(m_hWnd, WM_GRID_SYNC, 0, 0);
}

LRESULT CDefGridCtrl::OnSync(WPARAM, LPARAM)
{
    if (m_dirty & 1) Update();
    return 0;
}

// ---------------------------------------------------------------- layout

namespace {

// The active span of an axis clamped to [0, count]; an unset span is empty.
void ActiveSpan(int from, int to, int count, int& first, int& last)
{
    first = from == GRID_UNSET ? 0 : Clamp(from, 0, count);
    last = to == GRID_UNSET ? first : Clamp(to, first, count);
}

}  // namespace

void CDefGridCtrl::CalculateColumns()
{
    int left, right;
    ActiveSpan(m_activeRange.left, m_activeRange.right, GetColumnCount(), left, right);
    const int oldHeader = m_headerWidth;
    m_headerWidth = CalculateColumnRange(0, left, 0) + 1;
    m_gridOrg.x += m_headerWidth - oldHeader;
    m_activeWidth = CalculateColumnRange(left, right, 0);
    CalculateColumnRange(right, GetColumnCount(), 0);
    m_totalWidth = m_headerWidth + m_activeWidth;
}

void CDefGridCtrl::CalculateRows()
{
    int top, bottom;
    ActiveSpan(m_activeRange.top, m_activeRange.bottom, GetRowCount(), top, bottom);
    const int oldHeader = m_headerHeight;
    m_headerHeight = CalculateRowRange(0, top) + 1;
    m_gridOrg.y += m_headerHeight - oldHeader;
    m_activeHeight = CalculateRowRange(top, bottom);
    m_footerHeight = CalculateRowRange(bottom, GetRowCount());
    m_totalHeight = m_headerHeight + m_activeHeight + m_footerHeight;
}

void CDefGridCtrl::ReflectWindowSize()
{
    m_viewWidth = m_client.Width() - m_headerWidth;
    m_viewHeight = m_client.Height() - m_headerHeight - std::max(0, m_footerHeight);
}

int CDefGridCtrl::UniversalValidate(int origin, int extent, int header, int page)
{
    return Clamp(origin, header - std::max(0, extent - page), header);
}

int CDefGridCtrl::UniversalScroll(int origin, int extent, int header, int page, int bar, UINT code)
{
    switch (code) {
    case SB_LINEUP: origin += 10; break;
    case SB_LINEDOWN: origin -= 10; break;
    case SB_PAGEUP: origin += page; break;
    case SB_PAGEDOWN: origin -= page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(bar, &si, SIF_TRACKPOS)) origin = header - si.nTrackPos;
        break;
    }
    case SB_TOP: origin = header; break;
    case SB_BOTTOM: origin = header + page - extent; break;
    default: break;
    }
    return UniversalValidate(origin, extent, header, page);
}

void CDefGridCtrl::UniversalSetScrollPos(LONG& origin, int extent, int header, int page, int bar)
{
    origin = UniversalValidate(origin, extent, header, page);
    if (m_hWnd) ::SetScrollPos(m_hWnd, bar, header - origin, TRUE);
}

void CDefGridCtrl::UniversalSetScrollInfo(LONG& origin, int extent, int header, int page, int bar)
{
    if (!m_hWnd) return;
    if (page < extent) {
        // Showing the bar resizes the window: a nested refresh then sets
        // both bars with the new page, and these values are stale.
        const int counter = m_changeCounter;
        ::ShowScrollBar(m_hWnd, bar, TRUE);
        if (counter != m_changeCounter) return;
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
        si.nMin = 0;
        si.nMax = extent;
        si.nPage = UINT(std::max(0, page));
        si.nPos = header - origin;
        SetScrollInfo(bar, &si, TRUE);
    } else {
        ::ShowScrollBar(m_hWnd, bar, FALSE);
    }
}

void CDefGridCtrl::PositionFrozenColumns()
{
    int left, right;
    ActiveSpan(m_activeRange.left, m_activeRange.right, GetColumnCount(), left, right);
    CalculateColumnRange(0, left, 1 - m_gridOrg.x);
}

void CDefGridCtrl::ReflectViewChange(bool both, int which)
{
    if (both) {
        const int counter = ++m_changeCounter;
        m_gridOrg.x = UniversalValidate(m_gridOrg.x, m_activeWidth, m_headerWidth, m_viewWidth);
        m_gridOrg.y = UniversalValidate(m_gridOrg.y, m_activeHeight, m_headerHeight, m_viewHeight);
        // Showing or hiding a bar resizes the window, which runs a nested
        // refresh with the new size; that one finishes the work.
        UniversalSetScrollInfo(m_gridOrg.x, m_activeWidth, m_headerWidth, m_viewWidth, SB_HORZ);
        if (counter != m_changeCounter) return;
        UniversalSetScrollInfo(m_gridOrg.y, m_activeHeight, m_headerHeight, m_viewHeight, SB_VERT);
        if (counter != m_changeCounter) return;
    } else {
        if (which == 0 || which == 3)
            UniversalSetScrollPos(m_gridOrg.x, m_activeWidth, m_headerWidth, m_viewWidth, SB_HORZ);
        if (which == 1 || which == 3)
            UniversalSetScrollPos(m_gridOrg.y, m_activeHeight, m_headerHeight, m_viewHeight, SB_VERT);
    }
    AfterScroll();
}

void CDefGridCtrl::AfterScroll()
{
    PositionFrozenColumns();
    RecalcVisibleRange();
    NotifyOwner(GN_SCROLLED);
    if (m_hWnd) Invalidate(TRUE);
}

void CDefGridCtrl::RefreshScroll()
{
    UniversalSetScrollPos(m_gridOrg.x, m_activeWidth, m_headerWidth, m_viewWidth, SB_HORZ);
    UniversalSetScrollPos(m_gridOrg.y, m_activeHeight, m_headerHeight, m_viewHeight, SB_VERT);
    AfterScroll();
}

void CDefGridCtrl::RecalcVisibleRange()
{
    m_visibleRange.left = 0;
    m_visibleRange.right = GetColumnCount();
    int top, bottom;
    ActiveSpan(m_activeRange.top, m_activeRange.bottom, GetRowCount(), top, bottom);
    const int t = m_headerHeight - m_gridOrg.y;
    const int b = t + m_viewHeight;
    // Active rows are laid out one under the other, so both ends are found
    // by bisection: a scroll costs the same at the top and far down.
    const auto begin = m_layout.rows.begin();
    const int first = int(std::partition_point(begin + top, begin + bottom,
                                               [t](const ROW_INFO& r) { return r.position + r.height <= t; }) -
                          begin);
    const int end = int(std::partition_point(begin + first, begin + bottom,
                                             [b](const ROW_INFO& r) { return r.position < b; }) -
                        begin);
    m_visibleRange.top = first;
    m_visibleRange.bottom = end;
}

void CDefGridCtrl::Scroll(CSize delta)
{
    m_gridOrg += delta;
    ReflectViewChange(false, 3);
}

void CDefGridCtrl::SetGridOrg(CPoint origin)
{
    m_gridOrg = origin;
    ReflectViewChange(false, 3);
}

void CDefGridCtrl::EnsureColumnRangeVisible(int first, int last)
{
    if (first < 0 || last > GetColumnCount() || last <= first) return;
    const int left = m_layout.columns[size_t(first)].position;
    const int right = m_layout.columns[size_t(last - 1)].position + m_layout.columns[size_t(last - 1)].width;
    if (right > m_headerWidth - m_gridOrg.x + m_viewWidth) m_gridOrg.x = m_viewWidth + m_headerWidth - right;
    if (left < m_headerWidth - m_gridOrg.x) m_gridOrg.x = m_headerWidth - left;
}

void CDefGridCtrl::EnsureRowRangeVisible(int first, int last)
{
    if (first < 0 || last > GetRowCount() || last <= first) return;
    const int top = m_layout.rows[size_t(first)].position;
    const int bottom = m_layout.rows[size_t(last - 1)].position + m_layout.rows[size_t(last - 1)].height;
    if (bottom > m_headerHeight - m_gridOrg.y + m_viewHeight) m_gridOrg.y = m_viewHeight + m_headerHeight - bottom;
    if (top < m_headerHeight - m_gridOrg.y) m_gridOrg.y = m_headerHeight - top;
}

void CDefGridCtrl::EnsureRangeVisible(const CELL_RANGE& range)
{
    if (range.top != GRID_UNSET && range.bottom != GRID_UNSET) EnsureRowRangeVisible(range.top, range.bottom);
    if (range.left != GRID_UNSET && range.right != GRID_UNSET) EnsureColumnRangeVisible(range.left, range.right);
}

void CDefGridCtrl::FocusRow(int row)
{
    m_focused = CELL_RANGE(m_activeRange.left, row, m_activeRange.right, row == GRID_UNSET ? GRID_UNSET : row + 1);
    if (row != GRID_UNSET && row != 0x7FFFFFFF) EnsureRowVisible(row);
    RefreshScroll();
}

void CDefGridCtrl::FocusRange(const CELL_RANGE& range)
{
    m_focused = range;
    EnsureRangeVisible(range);
    RefreshScroll();
}

CELL_IMAGE CDefGridCtrl::GetVisibleImage()
{
    CELL_IMAGE image(m_layout);
    image.origin = m_gridOrg;
    image.range = m_visibleRange;
    return image;
}

CELL_IMAGE CDefGridCtrl::GetActiveImage()
{
    CELL_IMAGE image(m_layout);
    image.origin = m_gridOrg;
    image.range = m_activeRange;
    return image;
}

CELL_RANGE CDefGridCtrl::GetHeaderRange() const
{
    int top, bottom;
    ActiveSpan(m_activeRange.top, m_activeRange.bottom, GetRowCount(), top, bottom);
    return CELL_RANGE(0, 0, GetColumnCount(), top);
}

CELL_RANGE CDefGridCtrl::GetFooterRange() const
{
    int top, bottom;
    ActiveSpan(m_activeRange.top, m_activeRange.bottom, GetRowCount(), top, bottom);
    return CELL_RANGE(0, bottom, GetColumnCount(), GetRowCount());
}

CELL_IMAGE CDefGridCtrl::GetHeaderImage()
{
    CELL_IMAGE image(m_layout);
    image.origin = CPoint(m_gridOrg.x, 1);
    image.range = GetHeaderRange();
    return image;
}

CELL_IMAGE CDefGridCtrl::GetFooterImage()
{
    CELL_IMAGE image(m_layout);
    image.origin = CPoint(m_gridOrg.x, m_headerHeight + m_viewHeight);
    image.range = GetFooterRange();
    return image;
}

// ---------------------------------------------------------------- columns and rows

void CDefGridCtrl::SetColumnWidth(int column, int width)
{
    m_fitMode = false;
    m_layout.columns[size_t(column)].width = width;
    CalculateColumns();
    OnChange(nullptr);
}

unsigned CDefGridCtrl::ModifyColumnState(int column, unsigned set, unsigned clear)
{
    unsigned& state = m_layout.columns[size_t(column)].state;
    state = set | (state & ~clear);
    if (m_hWnd) Invalidate(FALSE);
    return state;
}

void CDefGridCtrl::ModifyColumnStateRange(int first, int last, unsigned set, unsigned clear)
{
    for (int c = first; c < last; ++c) ModifyColumnState(c, set, clear);
}

unsigned CDefGridCtrl::ModifyRowState(int row, unsigned set, unsigned clear)
{
    unsigned& state = m_layout.rows[size_t(row)].state;
    state = set | (state & ~clear);
    if (m_hWnd) Invalidate(FALSE);
    return state;
}

void CDefGridCtrl::ModifyRowStateRange(int first, int last, unsigned set, unsigned clear)
{
    for (int r = first; r < last; ++r) ModifyRowState(r, set, clear);
}

// ---------------------------------------------------------------- measuring and fitting

void CDefGridCtrl::MeasureColumns()
{
    if (!m_view) return;
    TMeasureSink buttons;
    {
        CELL_IMAGE image = GetOverallImage();
        TMeasureDevice device(nullptr, image, *m_styles, true);
        device.Advise(this);
        device.Advise(&buttons);
        m_view->Draw(device, CELL_INFO(image.range));
    }
    {
        CELL_IMAGE image = GetHeaderImage();
        image.origin = CPoint(0, 0);
        TMeasureDevice device(nullptr, image, *m_styles, false);
        device.Advise(this);
        device.Advise(&buttons);
        m_view->Draw(device, CELL_INFO(image.range));
    }
}

void CDefGridCtrl::ResizeToFit()
{
    if (m_layout.columns.empty()) return;
    MeasureColumns();
    int d = 1;
    for (const COLUMN_INFO& c : m_layout.columns) d += c.prefWidth;
    const int n = m_client.Width();
    int s = 1;
    for (COLUMN_INFO& c : m_layout.columns) {
        c.width = std::max(::MulDiv(c.prefWidth, n, d), c.minWidth);
        s += c.width;
    }
    if (n < s && d < n) m_layout.columns.back().width += n - s;
    CalculateColumns();
    OnChange(nullptr);
}

void CDefGridCtrl::SetFitMode(bool on)
{
    const bool wasOn = m_fitMode;
    m_fitMode = on;
    if (on && !wasOn) ResizeToFit();
}

// ---------------------------------------------------------------- sorting

bool CDefGridCtrl::Sort(int column, bool ascending)
{
    if (!m_view) return false;
    TOrderComporator order(ascending);
    if (!m_view->Sort(column, &order)) return false;
    m_sortedColumn = column;
    m_sortAscending = ascending;
    NotifyOwner(GN_SORTED);
    Update();
    return true;
}

// ---------------------------------------------------------------- selection

void CDefGridCtrl::Select(HRGN region)
{
    CDefGridImage::Select(region);
    if (m_enabledTools.test(GRID_TOOL_HEADER_SELECT)) {
        for (COLUMN_INFO& c : m_layout.columns) c.state &= ~(COLUMN_STATE_SELECTED | COLUMN_STATE_PARTIAL);
        CELL_RANGE box;
        if (m_view && GetSelectionBoundingRange(box)) {
            CELL_IMAGE image = GetActiveImage();
            CELL_RANGE pass(std::max(box.left, 0), std::max(box.top, 0), std::min(box.right, GetColumnCount()),
                            std::min(box.bottom, GetRowCount()));
            if (!pass.IsEmpty()) {
                THighlightDevice device(THighlightDevice::MARK_COLUMNS, image, GetSelection());
                m_view->Draw(device, CELL_INFO(pass));
            }
        }
    }
    NotifyOwner(GN_SELECTION);
    if (m_hWnd) Invalidate(TRUE);
}

void CDefGridCtrl::SelectRange(const CELL_RANGE& range)
{
    Select(::CreateRectRgn(range.left, range.top, range.right, range.bottom));
}

void CDefGridCtrl::ClearSelection() { Select(::CreateRectRgn(0, 0, 0, 0)); }

void CDefGridCtrl::SelectCell(const CELL_COORD& cell, bool add)
{
    HRGN one = ::CreateRectRgn(cell.column, cell.row, cell.column + 1, cell.row + 1);
    ::CombineRgn(GetSelection(), GetSelection(), one, add ? RGN_OR : RGN_DIFF);
    ::DeleteObject(one);
    NotifyOwner(GN_SELECTION);
    if (m_hWnd) Invalidate(TRUE);
}

bool CDefGridCtrl::IsSelectionEmpty() const
{
    RECT box;
    return ::GetRgnBox(GetSelection(), &box) == NULLREGION;
}

bool CDefGridCtrl::IsCellSelected(const CELL_COORD& cell) const
{
    return ::PtInRegion(GetSelection(), cell.column, cell.row) != FALSE;
}

bool CDefGridCtrl::GetSelectionBoundingRange(CELL_RANGE& range) const
{
    RECT box;
    if (::GetRgnBox(GetSelection(), &box) == NULLREGION) return false;
    range = CELL_RANGE(box.left, box.top, box.right, box.bottom);
    return true;
}

// ---------------------------------------------------------------- tools and options

void CDefGridCtrl::EnableTool(int tool, bool on)
{
    if (tool < 0 || tool > 7) ThrowBitsetPosition();
    if (m_enabledTools.test(size_t(tool)) == on) return;
    m_enabledTools.set(size_t(tool), on);
    if (auto* filter = dynamic_cast<CFilterDecorator*>(m_view.Get())) filter->RemoveFilter();
    OnChange(nullptr);
}

bool CDefGridCtrl::IsToolEnabled(int tool) const
{
    if (tool < 0 || tool > 7) ThrowBitsetPosition();
    return m_enabledTools.test(size_t(tool));
}

bool CDefGridCtrl::IsOptionSet(UINT id) const
{
    if (id < ID_GRID_OPTION_FIRST || id > ID_GRID_OPTION_LAST) ThrowBitsetPosition();
    return m_options.test(id - ID_GRID_OPTION_FIRST);
}

void CDefGridCtrl::SetOption(UINT id, bool on)
{
    if (id < ID_GRID_OPTION_FIRST || id > ID_GRID_OPTION_LAST) ThrowBitsetPosition();
    if (id == ID_GRID_OPTION_HIDE_EMPTY && m_options.test(0) != on) ShowEmptyColumns(GetActiveImage(), !on);
    m_options.set(id - ID_GRID_OPTION_FIRST, on);
}

void CDefGridCtrl::OnGridOption(UINT id) { SetOption(id, !IsOptionSet(id)); }

void CDefGridCtrl::OnUpdateGridOption(CCmdUI* ui) { ui->SetCheck(IsOptionSet(ui->m_nID) ? 1 : 0); }

void CDefGridCtrl::ShowEmptyColumns(const CELL_IMAGE& image, bool show)
{
    if (!m_view || image.range.IsEmpty()) return;
    const int first = image.range.left, last = image.range.right;
    if (!show) {
        for (int c = first; c < last; ++c) m_layout.columns[size_t(c)].state |= COLUMN_STATE_EMPTY;
        TColumnTestDevice device(image);
        m_view->Draw(device, CELL_INFO(image.range));
    }
    for (int c = first; c < last; ++c) {
        COLUMN_INFO& column = m_layout.columns[size_t(c)];
        if (!(column.state & COLUMN_STATE_EMPTY)) continue;
        if (!show) {
            column.savedWidth = column.width;
            column.width = 0;
        } else {
            column.width = column.savedWidth;
            column.savedWidth = 0;
        }
        CalculateColumns();
        OnChange(nullptr);
    }
    if (show)
        for (int c = first; c < last; ++c) m_layout.columns[size_t(c)].state &= ~COLUMN_STATE_EMPTY;
}

// ---------------------------------------------------------------- owner

LRESULT CDefGridCtrl::NotifyOwner(int code, tagNM_DEFGRID& record)
{
    if (!m_hWnd) return 0;
    record.hdr.hwndFrom = m_hWnd;
    record.hdr.idFrom = UINT_PTR(::GetDlgCtrlID(m_hWnd));
    record.hdr.code = UINT(code);
    CWnd* target = GetOwner();
    if (!target || !target->m_hWnd) return 0;
    return ::SendMessageA(target->m_hWnd, WM_NOTIFY, record.hdr.idFrom, reinterpret_cast<LPARAM>(&record));
}

LRESULT CDefGridCtrl::NotifyOwner(int code)
{
    tagNM_DEFGRID record{};
    record.range = CELL_RANGE(0, 0, 0, 0);
    return NotifyOwner(code, record);
}

// ---------------------------------------------------------------- messages

int CDefGridCtrl::OnCreate(LPCREATESTRUCTA cs)
{
    if (CWnd::OnCreate(cs) == -1) return -1;
    GetClientRect(&m_client);
    ReflectWindowSize();
    Update();
    if (m_toolId == 0) SetTool(ID_GRID_TOOL_HAND);
    return 0;
}

void CDefGridCtrl::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    GetClientRect(&m_client);
    ReflectWindowSize();
    if (m_fitMode) ResizeToFit();
    else ReflectViewChange(true, 3);
}

LRESULT CDefGridCtrl::OnGetFont(WPARAM, LPARAM) { return 0; }

void CDefGridCtrl::OnHScroll(UINT code, UINT, CScrollBar*)
{
    m_gridOrg.x = UniversalScroll(m_gridOrg.x, m_activeWidth, m_headerWidth, m_viewWidth, SB_HORZ, code);
    UniversalSetScrollPos(m_gridOrg.x, m_activeWidth, m_headerWidth, m_viewWidth, SB_HORZ);
    AfterScroll();
    Default();
}

void CDefGridCtrl::OnVScroll(UINT code, UINT, CScrollBar*)
{
    m_gridOrg.y = UniversalScroll(m_gridOrg.y, m_activeHeight, m_headerHeight, m_viewHeight, SB_VERT, code);
    UniversalSetScrollPos(m_gridOrg.y, m_activeHeight, m_headerHeight, m_viewHeight, SB_VERT);
    AfterScroll();
    Default();
}

BOOL CDefGridCtrl::OnMouseWheel(UINT, short delta, CPoint)
{
    m_gridOrg.y += delta / 3;
    UniversalSetScrollPos(m_gridOrg.y, m_activeHeight, m_headerHeight, m_viewHeight, SB_VERT);
    AfterScroll();
    return BOOL(Default());
}

BOOL CDefGridCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

void CDefGridCtrl::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_SPACE) NotifyOwner(GN_ACTIVATE);
    else if (m_tool) m_tool->OnKeyDown(key, repeat, flags);
    Default();
}

void CDefGridCtrl::OnSetFocus(CWnd* oldWnd)
{
    CWnd::OnSetFocus(oldWnd);
    Invalidate(TRUE);
}

UINT CDefGridCtrl::OnGetDlgCode() { return UINT(Default()) | DLGC_WANTARROWS; }

void CDefGridCtrl::OnKillFocus(CWnd* newWnd)
{
    CWnd::OnKillFocus(newWnd);
    Invalidate(TRUE);
}

void CDefGridCtrl::OnTimer(UINT_PTR id)
{
    if (m_tool) m_tool->OnTimer(id);
    Default();
}

LRESULT CDefGridCtrl::OnKillPopup(WPARAM wParam, LPARAM)
{
    if (m_popup && (wParam == 0 || HWND(wParam) == m_popup->m_hWnd)) {
        CWnd* popup = m_popup;
        m_popup = nullptr;
        popup->DestroyWindow();
    }
    return 0;
}

void CDefGridCtrl::OnDestroy()
{
    CWnd::OnDestroy();
    SendMessage(WM_GRID_KILLPOPUP, 0, 0);
}

void CDefGridCtrl::BeforeRenderRange(const CELL_RANGE& range, CELL_CONTENT& content)
{
    if (range.top != 0 || range.Width() != 1 || range.Height() != 1) return;
    if (range.left == m_sortedColumn) {
        content.left.buttonKind = 4;
        content.left.buttonState = 0x4010;
        content.left.image = m_sortAscending ? 11 : 12;
    }
    if (m_enabledTools.test(GRID_TOOL_SELECT)) content.middle.toolKind = GRID_TOOL_SELECT;
}
