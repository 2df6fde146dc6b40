// The mouse tool of a header cell's filter button: hovering lights the
// button, a press opens the column's filter popup under the cell (closing
// another popup of the grid first). Refers to the filter element, which the
// grid's view chain owns. GUI thread only.
#pragma once

#include "grid/grid_content.h"
#include "grid/grid_geometry.h"
#include "gridwnd/grid_tool.h"

class IFilterElement;
class CFilterDlg;

class WENDREL_API CFilterTool : public CDefGridTool {
public:
    CFilterTool(CDefGridCtrl* grid, IFilterElement* element, const HITTEST_RESULT& hit);
    void OnMouseHover(UINT flags, bool hover) override;
    void OnLButtonDown(UINT flags, CPoint point) override;

    IFilterElement* GetElement() const { return m_element; }
    // The header cell of the button; its left is the column.
    const CELL_RANGE& GetElementCell() const { return m_elementCell; }
    int GetColumn() const { return m_elementCell.left; }

private:
    IFilterElement* m_element;
    CELL_RANGE m_elementCell;
};

// Where the popup goes for a header cell (screen coordinates, widened by a
// pixel each side) when the main window's bottom is at mainBottom: under the
// cell, two thirds of the room down to mainBottom high, at least 150 wide.
WENDREL_API CRect FilterPopupRect(const CRect& cell, int mainBottom);
