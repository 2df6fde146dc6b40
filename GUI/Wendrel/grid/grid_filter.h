// The filter and tree decorator: the link of a view chain that turns a flat
// table into a filterable tree. It keeps, per column of the wrapped view, a
// mask of the rows that column lets through (bit 0, the root row, stands for
// "(All)"); from all masks and the expanded rows it computes the rows shown
// and hands them to every render pass as a row mask. It can show a tree
// column with expand glyphs and level buttons, put a filter button into each
// header cell, sort the wrapped view by a column while keeping the tree, put
// the wrapped rows into tree order, and save and restore its filters.
//
// Rows are addressed by row id (the position a row had when the rows were
// first numbered, before the first column sort); after a sort, display
// positions map to ids through the row order. Values, styles and masks are
// kept by row id, so they stay on their rows whatever the order.
//
// The decorator owns the view it wraps (as every decorator), its trees, its
// column map with the column objects and its row order; it is not copyable.
// A value list from GetDropDownView belongs to the caller. The site is not
// owned. The trees are built on first use and again when the wrapped view's
// row count has changed. GUI thread only.
#pragma once

#include <memory>
#include <vector>

#include "grid/grid_column.h"
#include "grid/grid_device.h"
#include "grid/grid_view.h"
#include "wendrel_export.h"

class GRAPHIC_DEVICE;
class TFilterListView;

typedef std::vector<bool> TRowBits;

// The clickable filter button of a header cell.
class IFilterElement : public IGridElement {
public:
    // Decorator columns (including the tree column).
    virtual void HottrackColumn(int column, bool on) = 0;
    virtual void SetActiveColumn(int column) = 0;
    // A new value list of the active column (null when none is active); the caller owns it.
    virtual TFilterListView* GetDropDownView(int column) = 0;
    // The column's row mask, which a value list writes before ApplyFilter.
    virtual TRowBits& GetVisibleRows(int column) = 0;
    virtual void ApplyFilter() = 0;
};

// The clickable expand glyphs and level buttons of the tree column.
class IPlusElement : public IGridElement {
public:
    // row: a display row.
    virtual bool IsExpanded(int row) = 0;
    virtual void Expand(int row, bool expand) = 0;
    virtual bool IsLevelExpanded(int level) const = 0;
    virtual void ExpandLevel(int level, bool expand) = 0;
};

// One column of the wrapped view: its values and the styles its cells were
// drawn with (by row id), and the rows it lets through.
struct WENDREL_API TColumnMap {
    std::unique_ptr<TGridColumn> column;
    std::vector<int> styles;
    TRowBits mask;

    // A column filters when "(All)" is not chosen.
    bool IsFiltered() const { return !mask.empty() && !mask[0]; }
};

typedef std::vector<TColumnMap> TGridMap;

class WENDREL_API CFilterDecorator : public CDefGridDecoratorImpl,
                                     public IFilterElement,
                                     public IPlusElement,
                                     public IDeviceSink {
public:
    explicit CFilterDecorator(CDefGridView* view);
    CFilterDecorator(const CFilterDecorator&) = delete;
    CFilterDecorator& operator=(const CFilterDecorator&) = delete;
    ~CFilterDecorator() override;

    void SetSite(IGridViewSite* site) override { m_site = site; }
    IGridViewSite* GetSite() override { return m_site; }
    // The wrapped size with the tree column added.
    CELL_COORD GetSize() const override;
    void GetActiveRange(CELL_RANGE& range) const override;
    // column: a decorator column, or GRID_UNSET for the unsorted order.
    bool Sort(int column, TRowComparator* comparator) override;
    FILTER_SAVE SaveFilter() override;
    void LoadFilter(FILTER_SAVE save) override;
    // The wrapped view through the row mask, then the tree column.
    void Draw(GRID_DEVICE& device, const CELL_INFO& info) override;
    // The map entry of the active column (std::out_of_range when none is active).
    virtual const TColumnMap& GetColumnMap();

    // Shows the tree column (the left count becomes 1) or hides it.
    void ShowHierarchy(bool on) { m_leftCount = on ? 1 : 0; }
    int GetLeftCount() const { return m_leftCount; }

    void HottrackColumn(int column, bool on) override;
    void SetActiveColumn(int column) override;
    TFilterListView* GetDropDownView(int column) override;
    TRowBits& GetVisibleRows(int column) override;
    // Recomputes the shown rows, the row mask and the level buttons, and
    // tells the subscribers that the view changed.
    void ApplyFilter() override;

    bool IsExpanded(int row) override;
    void Expand(int row, bool expand) override;
    bool IsLevelExpanded(int level) const override;
    void ExpandLevel(int level, bool expand) override;

    // Puts the filter button into the header cells.
    void BeforeRenderRange(const CELL_RANGE& range, CELL_CONTENT& content) override;

    const TGridHierarchy& GetHierarchy();
    // The tree as entered without key trees (every data row under its group).
    const TGridHierarchy& GetPlainHierarchy();
    const TGridMap& GetGridMap();
    // Whether every column lets the row (id) through.
    bool IsRowSelected(int row);
    // Drops every column's filter (and the values collected) and applies.
    void RemoveFilter();
    // Sorts the wrapped rows into tree order: parents before their children,
    // groups before leaves, each keeping its earlier order. The tree order
    // is the unsorted order from then on.
    void ArrangeHierarchy();

    // Map indices (wrapped columns), GRID_UNSET when none.
    int GetActiveColumn() const { return m_activeColumn; }
    int GetHotColumn() const { return m_hotColumn; }
    const TRowMask& GetRowMask() const { return m_mask; }
    // Shown rows by row id.
    const TRowBits& GetShownRows() const { return m_shown; }
    bool HasRowOrder() const { return m_order != nullptr; }
    // The display position of a row id, and back.
    int PositionOf(int id) const;
    int RowIdAt(int position) const;

private:
    void ValidateActiveColumn() {}
    // IsRowSelected once the map is built.
    bool PassesColumns(int row) const;
    int RowCount() const { return m_rowCount; }
    void BuildGridMap();
    // After every change of the shown rows or their order.
    void RebuildRowMask();
    // The walk of the tree glyphs for the shown rows and their order.
    void BuildTreeCache();
    void RecomputeLevels();
    // The shown set from the root down.
    void ApplyFilterFromRoot();
    void Invalidate();
    void DrawTree(GRAPHIC_DEVICE& device, const CELL_RANGE& request);
    void DrawLevelButtons(GRAPHIC_DEVICE& device);

    std::vector<int> m_sortColumns;   // further sort columns (map indices)
    TRowBits m_shown;                 // by row id: the outcome of filtering and expansion
    TRowBits m_expanded;              // by row id: the row's children may show
    TRowBits m_levels;                // by level: every row of it with children is expanded
    int m_activeColumn = GRID_UNSET;
    int m_hotColumn = GRID_UNSET;
    int m_leftCount = 0;
    int m_rowCount = 0;
    std::unique_ptr<TGridHierarchy> m_hierarchy;
    std::unique_ptr<TGridHierarchy> m_plain;
    std::unique_ptr<TGridMap> m_map;
    std::unique_ptr<TRowOrder> m_order;
    std::unique_ptr<TMultiComparator> m_multi;
    TRowMask m_mask;
    IGridViewSite* m_site = nullptr;
    // What painting the tree column needs, kept from one paint to the next
    // until the shown rows or their order change: the rows the glyph walk
    // reaches, each row's last shown descendant (display position, -1 none),
    // and the rows with a connector (display position, row id) by position.
    bool m_treeCacheValid = false;
    std::vector<char> m_inWalk;
    std::vector<int> m_lastBelow;
    std::vector<std::pair<int, int>> m_connectors;
};
