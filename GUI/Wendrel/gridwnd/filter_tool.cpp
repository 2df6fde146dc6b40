#include "gridwnd/filter_tool.h"

#include <algorithm>

#include "afxwin.h"
#include "grid/grid_filter.h"
#include "gridwnd/filter_dlg.h"
#include "gridwnd/grid_ctrl.h"
#include "resources/wendrel_res.h"

CFilterTool::CFilterTool(CDefGridCtrl* grid, IFilterElement* element, const HITTEST_RESULT& hit)
    : CDefGridTool(grid), m_element(element), m_elementCell(hit.elementCell)
{
    SetKindName("CFilterTool");
    SetCursors(135, 135);
}

void CFilterTool::OnMouseHover(UINT, bool hover)
{
    m_element->HottrackColumn(GetColumn(), hover);
    if (m_grid->m_hWnd)
        m_grid->Invalidate(TRUE);
}

CRect FilterPopupRect(const CRect& cell, int mainBottom)
{
    const int height = std::max(0, ::MulDiv(mainBottom - cell.bottom, 2, 3));
    const int half = cell.Width() < 150 ? (150 - cell.Width()) / 2 : 0;
    const int width = cell.Width() < 150 ? cell.Width() + 2 * half : cell.Width();
    return CRect(cell.left - half, cell.bottom, cell.left - half + width, cell.bottom + height);
}

void CFilterTool::OnLButtonDown(UINT, CPoint)
{
    const int column = GetColumn();
    if (CWnd* popup = m_grid->GetPopupWindow()) {
        auto* open = dynamic_cast<CFilterDlg*>(popup);
        if (open && open->GetColumn() == column)
            return;
        m_grid->SendMessage(WM_GRID_KILLPOPUP, 0, 0);
        MSG stale;
        while (::PeekMessageA(&stale, m_grid->m_hWnd, WM_GRID_KILLPOPUP, WM_GRID_KILLPOPUP, PM_REMOVE)) { }
    }

    // The mask first: an element without that column throws before anything is made.
    TRowBits& mask = m_element->GetVisibleRows(column);
    m_element->SetActiveColumn(column);
    auto* dlg = new CFilterDlg(m_grid);
    dlg->SetFilter(column, m_element, m_element->GetDropDownView(column), &mask);
    BOOL created;
    {
        // The template is the library's own.
        AFX_MANAGE_STATE(AfxGetStaticModuleState());
        created = dlg->Create(IDD_WENDREL_FILTER);
    }
    if (!created) {
        delete dlg;
        m_element->SetActiveColumn(GRID_UNSET);
        return;
    }

    // The header cell less its right and bottom line, widened by a pixel.
    const CELL_IMAGE header = m_grid->GetHeaderImage();
    const COLUMN_INFO& c = m_grid->GetColumns()[size_t(column)];
    const int row = m_elementCell.top == GRID_UNSET ? 0 : m_elementCell.top;
    const ROW_INFO& r = m_grid->GetRows()[size_t(row)];
    CRect cell(c.position, r.position, c.position + c.width - 1, r.position + r.height - 1);
    cell.OffsetRect(header.origin);
    cell.InflateRect(1, 0);
    m_grid->ClientToScreen(&cell);

    int mainBottom = ::GetSystemMetrics(SM_CYSCREEN);
    if (CWnd* main = AfxGetMainWnd(); main && main->m_hWnd) {
        CRect frame;
        main->GetWindowRect(&frame);
        mainBottom = frame.bottom;
    }
    CRect place = FilterPopupRect(cell, mainBottom);
    dlg->MoveWindow(place.left, place.top, place.Width(), place.Height());
    const CSize diff = dlg->GetDiff();
    if (diff.cy < 0)
        dlg->MoveWindow(place.left, place.top, place.Width(), std::max(0L, place.Height() + diff.cy));
    dlg->ShowWindow(SW_SHOW);
    m_grid->Invalidate(TRUE);
}
