// Dialog data exchange with a grid: focus both ways, the focused row's cell
// identifier, and the identifiers of the selected rows.
#include <vector>

#include "afxwin.h"
#include "grid_test_util.h"
#include "gridwnd/grid_ctrl.h"
#include "gridwnd/grid_ddx.h"
#include "wtest.h"

namespace {

struct DdxFixture {
    HWND owner = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    CDefGridCtrl grid;
    gt::Chain chain;

    DdxFixture()
    {
        chain = gt::MakeChain({{"A", COLUMN_TYPE_TEXT}, {"B", COLUMN_TYPE_TEXT}},
                              {{"a0", "b0"}, {"a1", "b1"}, {"a2", "b2"}, {"a3", "b3"}});
        // Identifiers in column 1 only: 100 + data row.
        for (int r = 0; r < 4; ++r) {
            VARIANT& v = chain.data->GetCell(1, r).extraValue;
            v.vt = VT_I4;
            v.lVal = 100 + r;
        }
        grid.Create(WS_CHILD, CRect(0, 0, 300, 200), CWnd::FromHandle(owner), 3);
        grid.SetView(chain.owner.release());
        grid.RestoreOriginalOrder();
    }
    ~DdxFixture()
    {
        grid.DestroyWindow();
        ::DestroyWindow(owner);
    }
};

std::vector<long> Values(const std::vector<VARIANT_CELL_ID>& ids)
{
    std::vector<long> out;
    for (const VARIANT_CELL_ID& id : ids) out.push_back(id.vt == VT_I4 ? id.lVal : -1);
    return out;
}

}  // namespace

WTEST(ddx_exchanges_the_focus_and_reads_cell_identifiers)
{
    DdxFixture f;
    CDataExchange load(nullptr, FALSE), save(nullptr, TRUE);
    // No focused row: the identifier stays as it was.
    VARIANT_CELL_ID id;
    id.vt = VT_I4;
    id.lVal = 7;
    DDX_GridVectorCellID(&save, &f.grid, id, 1);
    WCHECK(id.vt == VT_I4 && id.lVal == 7);

    int row = 3;   // grid row 3 is data row 2 (row 0 is the header)
    DDX_GridFocus(&load, &f.grid, row);
    WCHECK_EQ(f.grid.GetFocusedRow(), 3);
    int saved = 0;
    DDX_GridFocus(&save, &f.grid, saved);
    WCHECK_EQ(saved, 3);
    DDX_GridVectorCellID(&save, &f.grid, id, 1);
    WCHECK(id.vt == VT_I4 && id.lVal == 102);
    // Loading reads nothing; a cell without an identifier gives an empty one.
    DDX_GridVectorCellID(&load, &f.grid, id, 0);
    WCHECK(id.lVal == 102);
    GetVectorCellID(&f.grid, id, 0);
    WCHECK(id.vt == VT_EMPTY);
    WCHECK(!GetVectorCellID(f.grid.GetView()->GetActiveView(), CELL_COORD(1, 9), id));

    CELL_RANGE range(0, 2, 2, 3);
    DDX_GridFocus(&load, &f.grid, range);
    CELL_RANGE back;
    DDX_GridFocus(&save, &f.grid, back);
    WCHECK(back == range);
}

WTEST(ddx_appends_the_identifiers_of_the_selected_rows)
{
    DdxFixture f;
    CDataExchange save(nullptr, TRUE), load(nullptr, FALSE);
    f.grid.ModifyRowState(2, ROW_STATE_SELECTED, 0);
    f.grid.ModifyRowState(4, ROW_STATE_SELECTED, 0);
    f.grid.ModifyRowState(0, ROW_STATE_SELECTED, 0);   // the header never counts
    std::vector<VARIANT_CELL_ID> ids;
    DDX_GridVectorSelection(&save, &f.grid, ids, 1);
    WCHECK(Values(ids) == std::vector<long>({101, 103}));
    DDX_GridVectorSelection(&save, &f.grid, ids, 1);
    WCHECK(Values(ids) == std::vector<long>({101, 103, 101, 103}));
    DDX_GridVectorSelection(&load, &f.grid, ids, 1);
    WCHECK_EQ(ids.size(), size_t(4));
}
