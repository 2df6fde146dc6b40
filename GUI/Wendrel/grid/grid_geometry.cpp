#include "grid/grid_geometry.h"

#include <algorithm>

bool CELL_IMAGE::HoldsRange(const CELL_RANGE& r) const {
    return !r.IsEmpty() && r.left >= 0 && r.top >= 0 && r.right <= GetColumnCount() && r.bottom <= GetRowCount();
}

int CELL_IMAGE::GetRangeWidth(int first, int last) const {
    const COLUMN_INFO& end = GetColumn(last - 1);
    return end.position + end.width - GetColumn(first).position;
}

void CELL_IMAGE::GetCellRect(const CELL_COORD& c, RECT& r) const {
    const COLUMN_INFO& col = GetColumn(c.column);
    const ROW_INFO& row = GetRow(c.row);
    r.left = col.position;
    r.right = col.position + col.width;
    r.top = row.position;
    r.bottom = row.position + row.height;
}

void CELL_IMAGE::GetCellClientRect(const CELL_COORD& c, RECT& r) const {
    GetCellRect(c, r);
    --r.right;
    --r.bottom;
}

void CELL_IMAGE::GetRowRangeRect(int row, int first, int last, RECT& r) const {
    r.left = GetColumn(first).position;
    r.right = GetColumn(last - 1).position + GetColumn(last - 1).width;
    r.top = GetRow(row).position;
    r.bottom = GetRowBottom(row);
}

void CELL_IMAGE::GetColumnRect(int column, RECT& r) const {
    r.left = GetColumn(column).position;
    r.right = r.left + GetColumn(column).width;
    r.top = GetRow(range.top).position;
    r.bottom = GetRowBottom(range.bottom - 1);
}

void CELL_IMAGE::GetRowRect(int row, RECT& r) const {
    r.top = GetRow(row).position;
    r.bottom = GetRowBottom(row);
    r.left = GetColumn(range.left).position;
    r.right = GetColumn(range.right - 1).position + GetColumn(range.right - 1).width;
}

void CELL_IMAGE::GetRangeRect(const CELL_RANGE& rg, RECT& r) const {
    r.left = GetColumn(rg.left).position;
    r.right = GetColumn(rg.right - 1).position + GetColumn(rg.right - 1).width;
    r.top = GetRow(rg.top).position;
    r.bottom = GetRowBottom(rg.bottom - 1);
}

void CELL_IMAGE::GetRangeClientRect(const CELL_RANGE& rg, RECT& r) const {
    GetRangeRect(rg, r);
    --r.right;
    --r.bottom;
}

CELL_COORD CELL_IMAGE::HitTest(CPoint p, const HIT_INFO& hit) const {
    CELL_COORD result;
    if (range.IsEmpty()) return result;
    // From the right (bottom): a point on the border between two columns
    // (rows) goes to the right-hand (lower) one.
    const int right = std::min(range.right, GetColumnCount());
    for (int c = right - 1; c >= std::max(range.left, 0); --c) {
        const COLUMN_INFO& col = GetColumn(c);
        if (col.position + hit.cx <= p.x && p.x <= col.position + col.width - hit.cx) {
            result.column = c;
            break;
        }
    }
    const int bottom = std::min(range.bottom, GetRowCount());
    for (int r = bottom - 1; r >= std::max(range.top, 0); --r) {
        const ROW_INFO& row = GetRow(r);
        if (row.position + hit.cy <= p.y && p.y <= row.position + row.height - hit.cy) {
            result.row = r;
            break;
        }
    }
    return result;
}

CELL_COORD CELL_IMAGE::AdjustCoord(CPoint p, const CELL_COORD& coord) const {
    CELL_COORD result = coord;
    if (range.IsEmpty()) return result;
    if (result.column == GRID_UNSET) {
        const COLUMN_INFO& first = GetColumn(range.left);
        const COLUMN_INFO& last = GetColumn(range.right - 1);
        if (p.x <= first.position)
            result.column = range.left;
        else if (p.x >= last.position + last.width)
            result.column = range.right - 1;
    }
    if (result.row == GRID_UNSET) {
        const ROW_INFO& first = GetRow(range.top);
        const ROW_INFO& last = GetRow(range.bottom - 1);
        if (p.y <= first.position)
            result.row = range.top;
        else if (p.y >= last.position + last.height)
            result.row = range.bottom - 1;
    }
    return result;
}

int FindVisibleRow(const std::vector<ROW_INFO>& rows, int first, int last, int current, int target) {
    const int count = int(rows.size());
    if (target == current) return current;
    if (target > current) {
        for (int i = std::max(target, 0); i < std::min(last, count); ++i)
            if (rows[size_t(i)].height != 0) return i;
        return current;
    }
    for (int i = std::min(target, count - 1); i >= std::max(first, 0); --i)
        if (rows[size_t(i)].height != 0) return i;
    return current;
}
