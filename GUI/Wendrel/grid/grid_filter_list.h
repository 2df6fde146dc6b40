// The value list of a column's filter popup: a one-column view whose rows
// are "(All)", then "(Blanks)" and "(NonBlanks)" where the column has blank
// cells, then every distinct value once, in the column's order (by level
// first where the rows form a tree). Each item covers the rows (ids) that
// carry its value. Refers to the filter decorator's plain tree and column
// map, which must outlive it. GUI thread only.
#pragma once

#include <string>
#include <vector>

#include "grid/grid_filter.h"
#include "grid/grid_view.h"
#include "wendrel_export.h"

class WENDREL_API TFilterListView : public CDefGridViewImpl {
public:
    struct Item {
        bool group = false;   // the "(NonBlanks)" item
        int first = 0;        // positions in the row list: [first, end)
        int end = 0;
    };

    TFilterListView(const TGridHierarchy& plain, const TColumnMap& column);
    TFilterListView(const TFilterListView&) = default;
    ~TFilterListView() override = default;

    CELL_COORD GetSize() const override { return CELL_COORD(1, int(m_items.size())); }
    void Draw(GRID_DEVICE& device, const CELL_INFO& info) override;

    const std::vector<Item>& GetItems() const { return m_items; }
    // Row ids of the value rows, in list order.
    const std::vector<int>& GetRowList() const { return m_rows; }
    // What item k reads.
    std::string GetItemText(int k) const;
    // The style item k is drawn in.
    int GetItemStyle(int k) const;

private:
    std::vector<Item> m_items;
    std::vector<int> m_rows;
    const TGridHierarchy& m_plain;
    const TColumnMap& m_column;
};
