#include "gridwnd/grid_ddx.h"

#include "grid/grid_log.h"
#include "grid/grid_vector.h"
#include "gridwnd/grid_ctrl.h"

VARIANT_CELL_ID::VARIANT_CELL_ID(const VARIANT_CELL_ID& src)
{
    ::VariantInit(this);
    const HRESULT hr = ::VariantCopy(this, const_cast<VARIANT_CELL_ID*>(&src));
    if (FAILED(hr)) GridLogFailure("VariantCopy of a cell identifier failed: 0x%08lx", static_cast<unsigned long>(hr));
}

VARIANT_CELL_ID& VARIANT_CELL_ID::operator=(const VARIANT_CELL_ID& src)
{
    if (this != &src) {
        const HRESULT hr = ::VariantCopy(this, const_cast<VARIANT_CELL_ID*>(&src));
        if (FAILED(hr))
            GridLogFailure("VariantCopy of a cell identifier failed: 0x%08lx", static_cast<unsigned long>(hr));
    }
    return *this;
}

void DDX_GridFocus(CDataExchange* dx, CDefGridCtrl* grid, CELL_RANGE& range)
{
    if (dx->m_bSaveAndValidate) range = grid->GetFocusedRange();
    else grid->FocusRange(range);
}

void DDX_GridFocus(CDataExchange* dx, CDefGridCtrl* grid, int& row)
{
    if (dx->m_bSaveAndValidate) row = grid->GetFocusedRow();
    else grid->FocusRow(row);
}

bool GetVectorCellID(CDefGridView* view, const CELL_COORD& cell, VARIANT_CELL_ID& id)
{
    auto* vector = dynamic_cast<CVectorGridView*>(view);
    if (!vector) return false;
    const VECTOR_CELL_DATA* data = vector->GetCellUnsafe(cell.column, cell.row);
    if (!data) return false;
    const HRESULT hr = ::VariantCopy(&id, const_cast<VARIANT*>(&data->extraValue));
    if (FAILED(hr)) {
        GridLogFailure("VariantCopy of the identifier of cell (%d, %d) failed: 0x%08lx", cell.column, cell.row,
                       static_cast<unsigned long>(hr));
        return false;
    }
    return true;
}

void GetVectorCellID(CDefGridCtrl* grid, VARIANT_CELL_ID& id, int column)
{
    const int row = grid->GetFocusedRow();
    CDefGridView* view = grid->GetView();
    if (row == GRID_UNSET || !view) return;
    CELL_RANGE active;
    view->GetActiveRange(active);
    GetVectorCellID(view->GetActiveView(), CELL_COORD(column, row - active.top), id);
}

void DDX_GridVectorCellID(CDataExchange* dx, CDefGridCtrl* grid, VARIANT_CELL_ID& id, int column)
{
    if (dx->m_bSaveAndValidate) GetVectorCellID(grid, id, column);
}

void DDX_GridVectorSelection(CDataExchange* dx, CDefGridCtrl* grid, std::vector<VARIANT_CELL_ID>& ids, int column)
{
    CDefGridView* view = grid->GetView();
    if (!dx->m_bSaveAndValidate || !view) return;
    CELL_RANGE active;
    view->GetActiveRange(active);
    if (active.IsEmpty()) return;
    CDefGridView* data = view->GetActiveView();
    for (int r = active.top; r < active.bottom && r < grid->GetRowCount(); ++r) {
        if (!(grid->GetRowState(r) & ROW_STATE_SELECTED)) continue;
        VARIANT_CELL_ID id;
        GetVectorCellID(data, CELL_COORD(column, r - active.top), id);
        ids.push_back(id);
    }
}
