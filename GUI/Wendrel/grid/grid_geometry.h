// Cell coordinates, half-open cell ranges and the geometry of a laid-out grid.
// Plain values copied freely; a CELL_IMAGE only points at the layout it reads
// (owned by the grid image, which must outlive it). Coordinates are given
// column first, then row; GRID_UNSET in any field means unset or not found.
// GUI thread only.
#pragma once

#include <climits>
#include <bitset>
#include <vector>

#include <boost/shared_ptr.hpp>

#include "afxwin.h"
#include "wendrel_export.h"

// 0x80000000: the unset coordinate, column or row.
constexpr int GRID_UNSET = INT_MIN;

struct GRAPHIC_CELL_STYLE;

struct CELL_COORD {
    int column = GRID_UNSET;
    int row = GRID_UNSET;

    CELL_COORD() = default;
    CELL_COORD(int c, int r) : column(c), row(r) {}
    bool operator==(const CELL_COORD& o) const { return column == o.column && row == o.row; }
    bool operator!=(const CELL_COORD& o) const { return !(*this == o); }
};

// Columns [left, right), rows [top, bottom).
struct CELL_RANGE {
    int left = GRID_UNSET;
    int top = GRID_UNSET;
    int right = GRID_UNSET;
    int bottom = GRID_UNSET;

    CELL_RANGE() = default;
    CELL_RANGE(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    // The one cell (c, r, c+1, r+1).
    explicit CELL_RANGE(const CELL_COORD& c) : left(c.column), top(c.row), right(c.column + 1), bottom(c.row + 1) {}

    bool IsUnset() const { return left == GRID_UNSET && top == GRID_UNSET && right == GRID_UNSET && bottom == GRID_UNSET; }
    // No cell: no columns or no rows (an unset range is empty too).
    bool IsEmpty() const { return IsUnset() || right <= left || bottom <= top; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(const CELL_COORD& c) const {
        return c.column >= left && c.column < right && c.row >= top && c.row < bottom;
    }
    bool Intersects(const CELL_RANGE& o) const {
        return !IsEmpty() && !o.IsEmpty() && left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    bool operator==(const CELL_RANGE& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const CELL_RANGE& o) const { return !(*this == o); }
};

// The range a render pass wants a view to draw (all fields unset by default).
struct CELL_INFO {
    CELL_RANGE range;

    CELL_INFO() = default;
    explicit CELL_INFO(const CELL_RANGE& r) : range(r) {}
};

// Tolerance of a hit test: a point closer than the margin to a column's
// (row's) edge hits no column (row).
struct HIT_INFO {
    int cx = 0;
    int cy = 0;

    HIT_INFO() = default;
    HIT_INFO(int x, int y) : cx(x), cy(y) {}
};

// Column state bits.
enum : unsigned {
    COLUMN_STATE_SELECTED = 0x4,    // the whole column is selected
    COLUMN_STATE_EMPTY = 0x100,     // no cell of the column has text
    COLUMN_STATE_PARTIAL = 0x200,   // some cell of the column is selected
};
// Row state bit: the row is selected.
constexpr unsigned ROW_STATE_SELECTED = 0x4;

// One laid-out column.
struct COLUMN_INFO {
    int position = GRID_UNSET;    // left edge in image coordinates
    int width = 100;
    int minWidth = 0;             // measured from the header cells
    int prefWidth = 0;            // measured from all cells
    int savedWidth = 0;           // width kept while the column is hidden as empty
    unsigned state = 0;
    std::bitset<5> differs;       // aspects in which the own style differs
    boost::shared_ptr<GRAPHIC_CELL_STYLE> style;  // the column's own style, or empty
};

// One laid-out row; height 0 hides the row.
struct ROW_INFO {
    int position = GRID_UNSET;    // top edge in image coordinates
    int height = 0;
    unsigned state = 0;
};

// The columns and rows of a grid, indexed by absolute column and row.
struct CELL_LAYOUT {
    std::vector<COLUMN_INFO> columns;
    std::vector<ROW_INFO> rows;
};

// A view onto a stretch of a layout: image point + origin = window point.
struct WENDREL_API CELL_IMAGE {
    CPoint origin;
    CELL_RANGE range;
    CELL_LAYOUT* layout;

    explicit CELL_IMAGE(CELL_LAYOUT& l) : origin(0, 0), layout(&l) {}

    CPoint WinToMy(CPoint p) const { return CPoint(p.x - origin.x, p.y - origin.y); }
    CPoint MyToWin(CPoint p) const { return CPoint(p.x + origin.x, p.y + origin.y); }
    void MyToWin(CRect& r) const { r.OffsetRect(origin.x, origin.y); }

    const COLUMN_INFO& GetColumn(int c) const { return layout->columns[size_t(c)]; }
    const ROW_INFO& GetRow(int r) const { return layout->rows[size_t(r)]; }
    COLUMN_INFO& GetColumnVar(int c) const { return layout->columns[size_t(c)]; }
    ROW_INFO& GetRowVar(int r) const { return layout->rows[size_t(r)]; }
    unsigned GetColumnState(int c) const { return GetColumn(c).state; }
    int GetColumnCount() const { return int(layout->columns.size()); }
    int GetRowCount() const { return int(layout->rows.size()); }
    // Whether the layout holds every cell of a non-empty range.
    bool HoldsRange(const CELL_RANGE& r) const;

    int GetCellWidth(const CELL_COORD& c) const { return GetColumn(c.column).width; }
    int GetCellClientWidth(const CELL_COORD& c) const { return GetCellWidth(c) - 1; }
    // Columns [first, last).
    int GetRangeWidth(int first, int last) const;
    int GetRangeClientWidth(int first, int last) const { return GetRangeWidth(first, last) - 1; }
    int GetRowBottom(int row) const { return GetRow(row).position + GetRow(row).height; }

    void GetCellRect(const CELL_COORD& c, RECT& r) const;
    // Without the grid-line pixel on the right and at the bottom.
    void GetCellClientRect(const CELL_COORD& c, RECT& r) const;
    void GetRowRangeRect(int row, int first, int last, RECT& r) const;
    void GetColumnRect(int column, RECT& r) const;
    void GetRowRect(int row, RECT& r) const;
    void GetRangeRect(const CELL_RANGE& range, RECT& r) const;
    void GetRangeClientRect(const CELL_RANGE& range, RECT& r) const;

    // The cell under an image point; each part unset when nothing is hit.
    CELL_COORD HitTest(CPoint p, const HIT_INFO& hit) const;
    CELL_COORD WinHitTest(CPoint p, const HIT_INFO& hit) const { return HitTest(WinToMy(p), hit); }
    // Fills the unset parts of coord with the nearest edge column or row when
    // the point lies outside the cells on that side.
    CELL_COORD AdjustCoord(CPoint p, const CELL_COORD& coord) const;
};

// The row to move to from current towards target, stepping over hidden rows
// (height 0) within [first, last); current when there is none.
WENDREL_API int FindVisibleRow(const std::vector<ROW_INFO>& rows, int first, int last, int current, int target);
