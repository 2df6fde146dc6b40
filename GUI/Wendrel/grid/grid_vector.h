// The in-memory data view: a vector of rows, each with its own vector of
// cells (text cells, or variant cells with a display value and a separate
// sort value), a 32-bit data value, an ID used for sorting, a key and a
// parent key for tree rows, and a style index.
//
// The view owns its rows and their cells; a cell owns its clickable element
// (copying a cell moves the element to the copy). The view is not copyable:
// its rows must never be shared with another view. Whoever fills it keeps a
// plain pointer to it while the chain that owns it lives. GUI thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <comdef.h>

#include "grid/grid_content.h"
#include "grid/grid_view.h"
#include "wendrel_export.h"

struct WENDREL_API VECTOR_CELL_DATA {
    std::string text;             // drawn, exported and filtered
    int image = -1;               // index into the style's cell images, -1 none
    int index2 = -1;              // kept and copied
    VARIANT value;                // the display value
    VARIANT sortValue;            // what columns sort and filter by
    VARIANT extraValue;           // kept and copied
    int tag = 0;                  // in a title cell: the column's data-type code
    int toolKind = -1;            // GRID_TOOL_ID started by a click on the element, -1 none
    TOwnPtr<IGridElement> element;  // the cell's clickable element
    int reserved = 0;

    VECTOR_CELL_DATA();
    // Copies the values (a failed VariantCopy raises its COM error) and
    // moves the element: the copy owns it, the source no longer does.
    VECTOR_CELL_DATA(const VECTOR_CELL_DATA& src);
    VECTOR_CELL_DATA(VECTOR_CELL_DATA&& src) noexcept;
    VECTOR_CELL_DATA& operator=(const VECTOR_CELL_DATA& src);
    VECTOR_CELL_DATA& operator=(VECTOR_CELL_DATA&& src) noexcept;
    ~VECTOR_CELL_DATA();
};

struct WENDREL_API VECTOR_ROW_ELEMENT {
    std::unique_ptr<std::vector<VECTOR_CELL_DATA>> cells;  // null until a cell is allocated
    long data = 0;            // GetRowData / SetRowData
    int id = GRID_UNSET;      // written and read by IndexRows; what comparators compare
    int key = 0;              // the row's key in the tree
    int parentKey = 0;        // the parent's key; 0 for a top-level row
    int style = -1;           // style of the whole row; -1 keeps the pass's
};

class WENDREL_API CVectorGridView : public CDefGridViewImpl {
public:
    CVectorGridView() = default;
    CVectorGridView(const CVectorGridView&) = delete;
    CVectorGridView& operator=(const CVectorGridView&) = delete;
    ~CVectorGridView() override;

    CELL_COORD GetSize() const override { return CELL_COORD(m_columnCount, GetRowCount()); }
    int GetRowCount() const { return int(m_rows.size()); }
    int GetColumnCount() const { return m_columnCount; }
    // Cells are not touched: cells beyond the count stay but are outside the view.
    void SetColumnCount(int count) { m_columnCount = count; }
    // rows != -1: appends new rows or deletes rows from that index on;
    // columns != -1: sets the column count.
    void Resize(int columns, int rows);
    void DeleteAll() { Resize(0, 0); }
    // Inserts a new row before index row (0 to the row count).
    void InsertRow(int row);
    // Appends a new row; *out (when given) points at it until the rows next grow.
    int AppendRow(VECTOR_ROW_ELEMENT** out = nullptr);
    void DeleteRow(int row);
    VECTOR_ROW_ELEMENT* GetRowUnsafe(int row);
    const VECTOR_ROW_ELEMENT* GetRowUnsafe(int row) const;
    std::vector<VECTOR_ROW_ELEMENT>& GetRows() { return m_rows; }
    const std::vector<VECTOR_ROW_ELEMENT>& GetRows() const { return m_rows; }
    int GetRowID(int row) const;
    long GetRowData(int row) override;
    void SetRowData(int row, long data) override;

    // The cell, creating the rows, the row's cells and empty cells up to it
    // (the column count grows to include it). Negative indices throw std::out_of_range.
    VECTOR_CELL_DATA& AllocateCell(int column, int row);
    VECTOR_CELL_DATA& GetCell(int column, int row) { return AllocateCell(column, row); }
    // The cell, or null; never grows anything.
    VECTOR_CELL_DATA* GetCellUnsafe(int column, int row);
    const VECTOR_CELL_DATA* GetCellUnsafe(int column, int row) const;
    // The cell's text (null without a cell); *image gets its image (-1 first).
    const char* GetCellText(int column, int row, int* image = nullptr) const;
    void SetCell(int column, int row, const VECTOR_CELL_DATA& cell);
    void SetCellText(int column, int row, const char* text, int tag = 0);
    // The text is the value converted to text (empty for VT_EMPTY and VT_NULL).
    void SetCellVariant(int column, int row, const _variant_t& value, const _variant_t& sort, int tag = 0);
    void SetHierarchyColumn(int column) { m_hierarchyColumn = column; }
    int GetHierarchyColumn() const { return m_hierarchyColumn; }

    std::vector<int>::iterator IndexRows(bool store, std::vector<int>::iterator it) override;
    void Draw(GRID_DEVICE& device, const CELL_INFO& info) override;
    // Orders the rows by their IDs (unset first); false without capability 1,
    // or with a comparator that cannot compare.
    bool Sort(int column, TRowComparator* comparator) override;
    // Key tree (hierarchy column set): each row under the row whose key is
    // its parent key, whatever their order; rows whose parent never appears
    // stay out of the tree.
    void BuildHierarchy(TGridHierarchyBuilder& builder, bool tree) override;

    // Puts a cell's text, image, values and element into a content element.
    static void FillElement(const VECTOR_CELL_DATA& cell, CELL_ELEMENT& element);

protected:
    void DrawRange(GRID_DEVICE& device, const CELL_RANGE& range);

    TOwnPtr<TRowComparator> m_adapter;   // wraps the comparator of Sort when set
    bool m_treeMode = false;             // builds the tree even when not asked
    std::vector<VECTOR_ROW_ELEMENT> m_rows;
    int m_hierarchyColumn = -1;
    int m_columnCount = 0;
};
