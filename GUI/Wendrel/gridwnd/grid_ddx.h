// Dialog data exchange with grid windows: the focused cell or row, and the
// identifiers a CVectorGridView keeps with its cells (the cell's extra
// value) for the focused row and for every selected row.
#pragma once

#include <vector>

#include "afxwin.h"
#include "grid/grid_geometry.h"
#include "wendrel_export.h"

class CDataExchange;
class CDefGridCtrl;
class CDefGridView;

// A cell identifier: a VARIANT (same layout), empty when there is none.
struct WENDREL_API VARIANT_CELL_ID : VARIANT {
    VARIANT_CELL_ID() { ::VariantInit(this); }
    VARIANT_CELL_ID(const VARIANT_CELL_ID& src);
    VARIANT_CELL_ID& operator=(const VARIANT_CELL_ID& src);
    ~VARIANT_CELL_ID() { ::VariantClear(this); }
};

WENDREL_API void DDX_GridFocus(CDataExchange* dx, CDefGridCtrl* grid, CELL_RANGE& range);
WENDREL_API void DDX_GridFocus(CDataExchange* dx, CDefGridCtrl* grid, int& row);
// The identifier of a cell of a vector view (column, row in its own rows);
// false, leaving id alone, when the view has no such cell.
WENDREL_API bool GetVectorCellID(CDefGridView* view, const CELL_COORD& cell, VARIANT_CELL_ID& id);
// The identifier of the focused row's cell in a column; nothing without a focused row.
WENDREL_API void GetVectorCellID(CDefGridCtrl* grid, VARIANT_CELL_ID& id, int column);
WENDREL_API void DDX_GridVectorCellID(CDataExchange* dx, CDefGridCtrl* grid, VARIANT_CELL_ID& id, int column);
// Appends (without clearing) the identifiers of the selected rows' cells in a column.
WENDREL_API void DDX_GridVectorSelection(CDataExchange* dx, CDefGridCtrl* grid, std::vector<VARIANT_CELL_ID>& ids,
                                         int column);
