#include "gridwnd/grid_tools.h"

#include <algorithm>

#include "grid/grid_filter.h"
#include "gridwnd/grid_ctrl.h"

namespace {

bool KeyDown(int key) { return ::GetKeyState(key) < 0; }

// The active rows [top, bottom) of a grid, empty when unset.
void ActiveRows(CDefGridCtrl& grid, int& top, int& bottom)
{
    const CELL_RANGE& a = grid.GetActiveRange();
    top = a.top == GRID_UNSET ? 0 : a.top;
    bottom = a.bottom == GRID_UNSET ? top : std::min(a.bottom, grid.GetRowCount());
}

void ActiveColumns(CDefGridCtrl& grid, int& left, int& right)
{
    const CELL_RANGE& a = grid.GetActiveRange();
    left = a.left == GRID_UNSET ? 0 : a.left;
    right = a.right == GRID_UNSET ? left : std::min(a.right, grid.GetColumnCount());
}

HRGN EmptyRegion() { return ::CreateRectRgn(0, 0, 0, 0); }

}  // namespace

// ---------------------------------------------------------------- resize

CResizeTool::CResizeTool(CDefGridCtrl* grid, int column) : CColumnTool(grid, column)
{
    SetKindName("CResizeTool");
    SetCursors(133, 133);
}

void CResizeTool::OnLButtonDown(UINT, CPoint point) { m_last = point; }

void CResizeTool::OnMouseMove(UINT, CPoint point, CPoint)
{
    ResizeSelectedColumn(point.x - m_last.x);
    m_last = point;
}

bool CResizeTool::OnLButtonDblClk(UINT, CPoint)
{
    m_grid->MeasureColumns();
    m_grid->SetColumnWidth(m_column, m_grid->GetColumns()[size_t(m_column)].prefWidth);
    return true;
}

void CResizeTool::OnKeyDown(UINT key, UINT, UINT)
{
    if (key == VK_LEFT) ResizeSelectedColumn(-5);
    else if (key == VK_RIGHT) ResizeSelectedColumn(5);
}

void CResizeTool::ResizeSelectedColumn(int delta)
{
    m_grid->SetColumnWidth(m_column, std::max(0, m_grid->GetColumnWidth(m_column) + delta));
}

// ---------------------------------------------------------------- sort

CSortTool::CSortTool(CDefGridCtrl* grid, int column) : CColumnTool(grid, column)
{
    SetKindName("CSortTool");
    SetCursors(136, 136);
}

void CSortTool::OnLButtonDown(UINT, CPoint)
{
    m_grid->ClearSelection();
    m_grid->Sort(m_column, true);
}

// ---------------------------------------------------------------- hand

CHandTool::CHandTool(CDefGridCtrl* grid) : CDefGridTool(grid)
{
    SetKindName("CHandTool");
    SetCursors(130, 131);
}

void CHandTool::OnLButtonDown(UINT, CPoint point) { m_last = point; }

void CHandTool::OnMouseMove(UINT, CPoint point, CPoint)
{
    m_grid->Scroll(CSize(point.x - m_last.x, point.y - m_last.y));
    m_last = point;
}

// ---------------------------------------------------------------- cell click

CCellClickTool::CCellClickTool(CDefGridCtrl* grid, const CELL_RANGE& cell, IGridElement* element)
    : CDefGridTool(grid), m_cell(cell), m_element(element)
{
    SetKindName("CCellClickTool");
    SetCursors(32649, 32649);
}

void CCellClickTool::OnLButtonDown(UINT, CPoint)
{
    tagNM_DEFGRID record{};
    record.range = m_cell;
    record.data = reinterpret_cast<DWORD_PTR>(m_element);
    m_grid->NotifyOwner(GN_CELL_COMMAND, record);
}

// ---------------------------------------------------------------- expand

CExpandTool::CExpandTool(CDefGridCtrl* grid, IPlusElement* element, const HITTEST_RESULT& hit)
    : CDefGridTool(grid), m_element(element), m_elementViewRange(hit.elementViewRange), m_level(hit.elementData)
{
    SetKindName("CExpandTool");
    SetCursors(135, 135);
}

void CExpandTool::OnLButtonDown(UINT, CPoint)
{
    if (!m_element) return;
    if (m_level == -1) {
        const int row = m_elementViewRange.top;
        m_element->Expand(row, !m_element->IsExpanded(row));
    } else {
        m_element->ExpandLevel(m_level, !m_element->IsLevelExpanded(m_level));
    }
}

// ---------------------------------------------------------------- rows

CRowSelectTool::CRowSelectTool(CDefGridCtrl* grid, bool extension) : CDefGridTool(grid), m_extension(extension)
{
    SetKindName("CRowSelectTool");
    SetCursors(138, 138);
}

int CRowSelectTool::RowAt(CPoint point) const
{
    int top, bottom;
    ActiveRows(*m_grid, top, bottom);
    const int y = point.y - m_grid->GetGridOrg().y;
    for (int r = top; r < bottom; ++r) {
        const ROW_INFO& row = m_grid->GetRows()[size_t(r)];
        if (y >= row.position && y < row.position + row.height) return r;
    }
    return GRID_UNSET;
}

void CRowSelectTool::ReflectRowChange(int row, bool keep, bool extend)
{
    if (row == GRID_UNSET) return;
    int top, bottom;
    ActiveRows(*m_grid, top, bottom);
    if (!(keep && m_extension)) m_grid->ModifyRowStateRange(top, bottom, 0, ROW_STATE_SELECTED);
    if (extend && m_extension) {
        if (m_anchor == GRID_UNSET) m_anchor = m_grid->GetFocusedRow();
        if (m_anchor == GRID_UNSET) m_grid->ModifyRowState(row, ROW_STATE_SELECTED, 0);
        else
            m_grid->ModifyRowStateRange(std::min(m_anchor, row), std::max(m_anchor, row) + 1, ROW_STATE_SELECTED, 0);
    } else {
        m_anchor = GRID_UNSET;
        const bool on = (m_grid->GetRowState(row) & ROW_STATE_SELECTED) != 0;
        m_grid->ModifyRowState(row, on ? 0 : ROW_STATE_SELECTED, on ? ROW_STATE_SELECTED : 0);
    }
    m_grid->FocusRow(row);
}

void CRowSelectTool::OnLButtonDown(UINT flags, CPoint point)
{
    ReflectRowChange(RowAt(point), (flags & MK_CONTROL) != 0, (flags & MK_SHIFT) != 0);
}

void CRowSelectTool::OnMouseMove(UINT flags, CPoint point, CPoint)
{
    ReflectRowChange(RowAt(point), (flags & MK_CONTROL) != 0, true);
}

void CRowSelectTool::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    int top, bottom;
    ActiveRows(*m_grid, top, bottom);
    const int f = m_grid->GetFocusedRow();
    const CELL_RANGE& visible = m_grid->GetVisibleRange();
    const int page = std::max(0, visible.bottom - visible.top);
    const bool ctrl = KeyDown(VK_CONTROL);
    int target;
    switch (key) {
    case VK_PRIOR: target = f == GRID_UNSET ? top : f - page; break;
    case VK_NEXT: target = f == GRID_UNSET ? top : f + page; break;
    case VK_UP: target = f == GRID_UNSET ? top : f - 1; break;
    case VK_DOWN: target = f == GRID_UNSET ? top : f + 1; break;
    case VK_END:
        if (!ctrl) return CDefGridTool::OnKeyDown(key, repeat, flags);
        target = f == GRID_UNSET ? top : bottom - 1;
        break;
    case VK_HOME:
        if (!ctrl) return CDefGridTool::OnKeyDown(key, repeat, flags);
        target = top;
        break;
    default: return CDefGridTool::OnKeyDown(key, repeat, flags);
    }
    if (bottom <= top) return CDefGridTool::OnKeyDown(key, repeat, flags);
    target = std::max(top, std::min(target, bottom - 1));
    target = FindVisibleRow(m_grid->GetRows(), top, bottom, f == GRID_UNSET ? top : f, target);
    if (target == f) return CDefGridTool::OnKeyDown(key, repeat, flags);
    ReflectRowChange(target, false, KeyDown(VK_SHIFT));
}

// ---------------------------------------------------------------- cells

CSelectTool::CSelectTool(CDefGridCtrl* grid, bool headerClick) : CDefGridTool(grid), m_headerClick(headerClick)
{
    SetKindName("CSelectTool");
    SetCursors(139, 139);
}

CELL_COORD CSelectTool::HitActive(CPoint point) const
{
    const CELL_IMAGE image = m_grid->GetActiveImage();
    if (image.range.IsEmpty()) return CELL_COORD();
    const CELL_COORD hit = image.WinHitTest(point, HIT_INFO());
    return image.AdjustCoord(image.WinToMy(point), hit);
}

void CSelectTool::Anchor(const CELL_COORD& cell, bool keep)
{
    m_anchor = cell;
    HRGN region = EmptyRegion();
    if (keep) ::CombineRgn(region, m_grid->GetSelection(), nullptr, RGN_COPY);
    m_anchorRegion.Reset(region);
    m_grid->Select(EmptyRegion());
}

void CSelectTool::ReflectRange(const CELL_COORD& cell, UINT flags)
{
    CELL_RANGE range(std::min(m_anchor.column, cell.column), std::min(m_anchor.row, cell.row),
                     std::max(m_anchor.column, cell.column) + 1, std::max(m_anchor.row, cell.row) + 1);
    if (m_anchor.column == GRID_UNSET || m_anchor.row == GRID_UNSET) range = CELL_RANGE(cell);
    m_grid->FocusRange(CELL_RANGE(cell));
    SelectRange(range, flags);
}

void CSelectTool::SelectRange(const CELL_RANGE& range, UINT flags)
{
    HRGN cells = ::CreateRectRgn(range.left, range.top, range.right, range.bottom);
    if (!(flags & 1)) {
        m_grid->Select(cells);
        return;
    }
    HRGN anchor = m_anchorRegion.Get();
    if (!anchor) {
        m_anchorRegion.Reset(EmptyRegion());
        anchor = m_anchorRegion.Get();
    }
    HRGN result = EmptyRegion();
    if (flags & 4) {
        // Whether every cell of the range but the focus cell is selected.
        HRGN rest = ::CreateRectRgn(range.left, range.top, range.right, range.bottom);
        const CELL_RANGE& focus = m_grid->GetFocusedRange();
        if (focus.left != GRID_UNSET && focus.top != GRID_UNSET) {
            HRGN focusCell = ::CreateRectRgn(focus.left, focus.top, focus.left + 1, focus.top + 1);
            ::CombineRgn(rest, rest, focusCell, RGN_DIFF);
            ::DeleteObject(focusCell);
        }
        const bool allSelected = ::CombineRgn(rest, rest, anchor, RGN_DIFF) == NULLREGION;
        ::DeleteObject(rest);
        ::CombineRgn(result, anchor, cells, allSelected ? RGN_DIFF : RGN_OR);
    } else {
        ::CombineRgn(result, anchor, cells, RGN_XOR);
    }
    ::DeleteObject(cells);
    m_grid->Select(result);
}

bool CSelectTool::ClickOnHeader(CPoint point)
{
    const CELL_IMAGE header = m_grid->GetHeaderImage();
    if (header.range.IsEmpty()) return false;
    const CELL_COORD cell = header.WinHitTest(point, HIT_INFO());
    if (cell.column == GRID_UNSET || cell.row == GRID_UNSET) return false;
    int left, right;
    ActiveColumns(*m_grid, left, right);
    if (cell.column < left || cell.column >= right || !m_headerClick) return false;
    HRGN region = ::CreateRectRgn(cell.column, cell.row, cell.column + 1, cell.row + 1);
    {
        CELL_IMAGE overall = m_grid->GetOverallImage();
        THighlightDevice device(THighlightDevice::GROW_REGION, overall, region);
        m_grid->GetView()->Draw(device, CELL_INFO(overall.range));
    }
    m_grid->Select(region);
    const CELL_RANGE& visible = m_grid->GetVisibleRange();
    if (visible.IsEmpty()) m_grid->FocusRange(CELL_RANGE());
    else m_grid->FocusRange(CELL_RANGE(CELL_COORD(cell.column, visible.top)));
    m_anchor = CELL_COORD();
    return true;
}

void CSelectTool::OnLButtonDown(UINT flags, CPoint point)
{
    if (ClickOnHeader(point)) return;
    m_grid->SetTimer(1, 100);
    const CELL_COORD cell = HitActive(point);
    if (cell.column == GRID_UNSET || cell.row == GRID_UNSET) return;
    const bool ctrl = (flags & MK_CONTROL) != 0;
    Anchor(cell, ctrl);
    ReflectRange(m_anchor, ctrl ? 1 : 0);
}

void CSelectTool::OnMouseMove(UINT flags, CPoint point, CPoint)
{
    if (m_anchor.column == GRID_UNSET || m_anchor.row == GRID_UNSET) return;
    const CELL_COORD cell = HitActive(point);
    if (cell.column != GRID_UNSET && cell.row != GRID_UNSET) ReflectRange(cell, (flags & MK_CONTROL) ? 1 : 0);
}

void CSelectTool::OnLButtonUp(UINT, CPoint) { m_grid->KillTimer(1); }

void CSelectTool::OnTimer(UINT_PTR id)
{
    if (id != 1 || m_anchor.column == GRID_UNSET || m_anchor.row == GRID_UNSET) return;
    CPoint point;
    ::GetCursorPos(&point);
    ::ScreenToClient(m_grid->m_hWnd, &point);
    const CELL_COORD cell = HitActive(point);
    if (cell.column != GRID_UNSET && cell.row != GRID_UNSET) ReflectRange(cell, KeyDown(VK_CONTROL) ? 1 : 0);
}

bool CSelectTool::OnLButtonDblClk(UINT flags, CPoint point)
{
    const CELL_IMAGE header = m_grid->GetHeaderImage();
    if (!header.range.IsEmpty()) {
        const CELL_COORD top = header.WinHitTest(point, HIT_INFO());
        if (top.column != GRID_UNSET && top.row != GRID_UNSET) return false;
    }
    const CELL_COORD cell = HitActive(point);
    if (cell.column == GRID_UNSET || cell.row == GRID_UNSET) return false;
    int top, bottom, left, right;
    ActiveRows(*m_grid, top, bottom);
    ActiveColumns(*m_grid, left, right);
    const CELL_RANGE range = (flags & MK_SHIFT) ? CELL_RANGE(cell.column, top, cell.column + 1, bottom)
                                                : CELL_RANGE(left, cell.row, right, cell.row + 1);
    SelectRange(range, (flags & MK_CONTROL) ? 5 : 4);
    return false;
}

void CSelectTool::OnRButtonDown(UINT, CPoint point)
{
    if (ClickOnHeader(point)) return;
    const CELL_IMAGE visible = m_grid->GetVisibleImage();
    if (visible.range.IsEmpty()) return;
    const CELL_COORD cell = visible.WinHitTest(point, HIT_INFO());
    if (cell.column == GRID_UNSET || cell.row == GRID_UNSET || m_grid->IsCellSelected(cell)) return;
    m_grid->FocusRange(CELL_RANGE(cell));
    m_grid->SelectRange(CELL_RANGE(cell));
    m_anchor = CELL_COORD();
}

void CSelectTool::OnKeyDown(UINT key, UINT, UINT)
{
    int top, bottom, left, right;
    ActiveRows(*m_grid, top, bottom);
    ActiveColumns(*m_grid, left, right);
    if (bottom <= top || right <= left) return;
    const CELL_RANGE& focus = m_grid->GetFocusedRange();
    const int r = focus.top, c = focus.left;
    const CELL_RANGE& visible = m_grid->GetVisibleRange();
    const int page = std::max(0, visible.bottom - visible.top);
    const bool ctrl = KeyDown(VK_CONTROL);
    int nr = r, nc = c;
    switch (key) {
    case VK_PRIOR: nr = r == GRID_UNSET ? top : r - page; break;
    case VK_NEXT: nr = r == GRID_UNSET ? top : r + page; break;
    case VK_UP: nr = r == GRID_UNSET ? top : r - 1; break;
    case VK_DOWN: nr = r == GRID_UNSET ? top : r + 1; break;
    case VK_END:
        if (ctrl) nr = bottom - 1;
        else nc = r == GRID_UNSET ? left : right - 1;
        break;
    case VK_HOME:
        if (ctrl) nr = top;
        else nc = left;
        break;
    case VK_LEFT: nc = r == GRID_UNSET ? left : c - 1; break;
    case VK_RIGHT: nc = r == GRID_UNSET ? left : c + 1; break;
    default: return;
    }
    const bool rowChanged = nr != r, columnChanged = nc != c;
    if (!rowChanged && !columnChanged) return;
    if (rowChanged) {
        nr = std::max(top, std::min(nr, bottom - 1));
        nr = FindVisibleRow(m_grid->GetRows(), top, bottom, r == GRID_UNSET ? top : r, nr);
    }
    if (columnChanged || nc == GRID_UNSET) nc = std::max(left, std::min(nc == GRID_UNSET ? left : nc, right - 1));
    if (nr == GRID_UNSET) nr = top;
    const CELL_COORD target(nc, nr);
    if (!ctrl) Anchor(target, false);
    ReflectRange(target, 0);
}
