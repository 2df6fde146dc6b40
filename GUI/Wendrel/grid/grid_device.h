// Render passes: a device receives the cells a view walks (RenderRange, one
// call per cell or merged range, between BeginRow and EndRow) and does the
// pass's work on each: draw, hit-test, measure, collect styles, mark
// columns, write text. The base keeps the coordinate side of every pass: the
// cell map (offsets added to what a sub-view draws), the current style
// index, and an optional row mask of the filter decorator that hides rows.
//
// A device is made for one pass on the stack and used on the GUI thread
// only. It does not own its sinks, its row mask or regions it is given.
#pragma once

#include <memory>
#include <vector>

#include "grid/grid_content.h"
#include "grid/grid_geometry.h"
#include "wendrel_export.h"

// Sees every cell's content before a pass works on it, and may change it.
class IDeviceSink {
public:
    virtual void BeforeRenderRange(const CELL_RANGE& range, CELL_CONTENT& content) = 0;

protected:
    ~IDeviceSink() = default;
};

// The order of the rows after a column sort: row id to display position and back.
struct TRowOrder {
    std::vector<int> idToPos;
    std::vector<int> posToId;
};

// Rows shown by a filter decorator, as a pass reads them. Display position p
// stands for row id order->posToId[p] when a row order exists, else for p;
// shown is indexed by row id. For every position the mask also keeps the
// number of shown rows before it and the ordinal of the last shown row at
// or before it (-1 when none).
struct WENDREL_API TRowMask {
    struct Entry {
        int before = 0;
        int last = -1;
    };
    const std::unique_ptr<TRowOrder>* order = nullptr;
    const std::vector<bool>* shown = nullptr;
    std::vector<Entry> entries;
    int total = 0;   // shown rows in all

    int GetCount() const { return int(entries.size()); }
    int RowIdAt(int pos) const { return order && *order ? (*order)->posToId[size_t(pos)] : pos; }
    // Whether the row at a display position is shown; positions outside the mask are not.
    bool IsShown(int pos) const;
    // Shown rows before a display position (0 to the row count).
    int ShownBefore(int pos) const;
    // Recomputes the entries from the shown set and the row order.
    void Rebuild(int rowCount);
};

class WENDREL_API GRID_DEVICE {
public:
    GRID_DEVICE() = default;
    virtual ~GRID_DEVICE();

    // False when the row (moved by the row offset) is hidden by the mask;
    // views skip such rows.
    virtual bool BeginRow(int row);
    virtual void EndRow(int) {}
    // Installs a mask (null: every row shown); returns the previous one.
    virtual const TRowMask* SetFilter(const TRowMask* mask);
    // The pass's work on one cell or merged range: the range as the view
    // gave it and as absolute grid cells.
    virtual void DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) = 0;

    // Hands a view's cell or merged range to the pass unless it is empty or
    // all its rows are hidden.
    void RenderRange(const CELL_RANGE& range, CELL_CONTENT& content);

    void Advise(IDeviceSink* sink) { m_sinks.push_back(sink); }
    void Unadvise(IDeviceSink* sink);

    const CELL_COORD& GetCellMap() const { return m_map; }
    // Adds d to the cell map; returns the coordinate that undoes it.
    CELL_COORD Offset(const CELL_COORD& d);
    // The current style index; returns the previous one.
    int SetStyleIndex(int index);
    int GetStyle() const { return m_style; }
    int GetStyleIndex() const { return m_style; }
    const TRowMask* GetFilter() const { return m_mask; }

    // Absolute rows under the mask.
    bool IsRowVisible(int row) const;
    bool IsRowRangeVisible(int top, int bottom) const;
    bool IsRangeVisible(const CELL_RANGE& range) const { return IsRowRangeVisible(range.top, range.bottom); }
    int AbsToVisible(int row) const;
    CELL_RANGE AbsToVisible(const CELL_RANGE& range) const;

protected:
    GRID_DEVICE(const GRID_DEVICE&) = default;
    GRID_DEVICE& operator=(const GRID_DEVICE&) = default;
    void CallSinks(const CELL_RANGE& gridRange, CELL_CONTENT& content);

    std::vector<IDeviceSink*> m_sinks;
    int m_style = 0;
    CELL_COORD m_map{0, 0};
    const TRowMask* m_mask = nullptr;
};

// Moves a device's cell map for a scope (also when drawing throws).
class TCellMapShift {
public:
    TCellMapShift(GRID_DEVICE& device, const CELL_COORD& d) : m_device(device), m_undo(device.Offset(d)) {}
    ~TCellMapShift() { m_device.Offset(m_undo); }
    TCellMapShift(const TCellMapShift&) = delete;
    TCellMapShift& operator=(const TCellMapShift&) = delete;

private:
    GRID_DEVICE& m_device;
    CELL_COORD m_undo;
};

// Sets a device's style index for a scope.
class TStyleScope {
public:
    TStyleScope(GRID_DEVICE& device, int style) : m_device(device), m_previous(device.SetStyleIndex(style)) {}
    ~TStyleScope() { m_device.SetStyleIndex(m_previous); }
    TStyleScope(const TStyleScope&) = delete;
    TStyleScope& operator=(const TStyleScope&) = delete;

private:
    GRID_DEVICE& m_device;
    int m_previous;
};

// Finds which view range, grid cell and style carry a target cell.
class WENDREL_API TCellTestDevice : public GRID_DEVICE {
public:
    explicit TCellTestDevice(const CELL_COORD& target) : m_target(target) {}
    void SetResult(HITTEST_RESULT* result) { m_result = result; }
    void DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) override;

private:
    HITTEST_RESULT* m_result = nullptr;
    CELL_COORD m_target;
};

// Clears the empty-column state of every column that shows a text.
class WENDREL_API TColumnTestDevice : public GRID_DEVICE {
public:
    explicit TColumnTestDevice(const CELL_IMAGE& image) : m_image(image) {}
    void DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) override;

private:
    CELL_IMAGE m_image;
};

// Marks selected columns (mode 0) or grows a region (mode 1) over the cells
// drawn in the listed styles (style 0 alone when the list is empty).
class WENDREL_API THighlightDevice : public GRID_DEVICE {
public:
    enum { MARK_COLUMNS = 0, GROW_REGION = 1 };
    // Whole-column flag set, empty list.
    THighlightDevice(int mode, const CELL_IMAGE& image, HRGN region);
    // Mode 1, the listed styles, cell by cell.
    THighlightDevice(const std::vector<int>& styles, const CELL_IMAGE& image, HRGN region);
    void DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) override;

private:
    bool Considers(int style) const;
    void AddToRegion(const CELL_RANGE& r);

    int m_mode;
    HRGN m_region;
    CELL_IMAGE m_image;
    std::vector<int> m_styles;
    bool m_wholeColumn;
};

// Collects the style indices of the cells that meet a region.
class WENDREL_API TCollectDevice : public GRID_DEVICE {
public:
    TCollectDevice(HRGN region, std::vector<int>& out) : m_region(region), m_out(out) {}
    void DoRenderRange(const CELL_RANGE& viewRange, const CELL_RANGE& gridRange, CELL_CONTENT& content) override;

private:
    HRGN m_region;
    std::vector<int>& m_out;
};

// Whether a region (in cell units) meets a range of cells.
WENDREL_API bool RegionMeetsRange(HRGN region, const CELL_RANGE& range);
// Whether a region holds one cell.
WENDREL_API bool RegionHoldsCell(HRGN region, int column, int row);
