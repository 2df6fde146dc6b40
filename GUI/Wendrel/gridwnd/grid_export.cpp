#include "gridwnd/grid_export.h"

#include <comdef.h>

#include <algorithm>

#include <vector>

#include "grid/grid_excel.h"
#include "gridwnd/grid_ctrl.h"

void ExportToExcel(const CDefGridCtrl* grid, const std::string& sheetName)
{
    if (!grid || !grid->GetView() || !grid->GetStyles()) _com_issue_error(E_POINTER);
    CDefGridView& view = *grid->GetView();
    // The layout may lag behind the view until the next update: a column it
    // does not know yet keeps the sheet's width.
    const int count = std::min(view.GetSize().column, grid->GetColumnCount());
    std::vector<int> widths;
    for (int f = 0; f < count; ++f) widths.push_back(grid->GetColumnWidth(f));
    ExportViewToExcel(view, *grid->GetStyles(), widths, sheetName);
}
