#include "gridwnd/filter_dlg.h"

#include <vector>

#include "grid/grid_border.h"
#include "grid/grid_filter_list.h"
#include "grid/grid_title.h"
#include "gridwnd/splitter_ctrl.h"
#include "resources/wendrel_res.h"

IMPLEMENT_DYNAMIC(CFilterDlg, CDialog)

BEGIN_MESSAGE_MAP(CFilterDlg, CDialog)
    ON_WM_SIZE()
    ON_WM_ACTIVATE()
    ON_BN_CLICKED(IDC_WENDREL_FILTER_ALL, OnBnClickedAll)
    ON_NOTIFY(GN_SELECTION, IDC_WENDREL_FILTER_LIST, OnGdnSelChange)
    ON_NOTIFY(GN_ACTIVATE, IDC_WENDREL_FILTER_LIST, OnGdnApply)
END_MESSAGE_MAP()

CFilterDlg::CFilterDlg(CWnd* parent)
    : CDialog(IDD_WENDREL_FILTER, parent), m_parentGrid(dynamic_cast<CDefGridCtrl*>(parent))
{
}

CFilterDlg::~CFilterDlg() = default;

void CFilterDlg::SetFilter(int column, IFilterElement* element, TFilterListView* list, TRowBits* mask)
{
    m_column = column;
    m_element = element;
    m_ownList.reset(list);
    m_list = list;
    m_mask = mask;
}

void CFilterDlg::DoDataExchange(CDataExchange* dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_apply);
    DDX_Control(dx, IDCANCEL, m_cancel);
}

BOOL CFilterDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_parentGrid) m_listGrid.SetStyles(m_parentGrid->GetStyles());
    m_listGrid.SetTool(ID_GRID_TOOL_SELECT);
    m_listGrid.EnableTool(GRID_TOOL_RESIZE, false);
    m_listGrid.EnableTool(GRID_TOOL_HEADER_SELECT, false);
    if (!m_listGrid.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, CRect(0, 0, 0, 0), this,
                           IDC_WENDREL_FILTER_LIST)) {
        // Buttons only; still the grid's popup, so that closing destroys it.
        if (m_parentGrid) m_parentGrid->SetPopupWindow(this);
        return TRUE;
    }
    if (m_ownList) {
        auto* title = new CTitleGridView(true);
        title->SetTitle("Filter column by:");
        auto* border = new CBorderDecorator(m_ownList.release());
        border->SetBorderView(GRID_ELEMENT_HEADER, title);
        m_listGrid.SetView(border);
    }
    LayoutControls();
    Preselect();
    if (m_parentGrid) m_parentGrid->SetPopupWindow(this);
    m_listGrid.SetFocus();
    return FALSE;
}

void CFilterDlg::Preselect()
{
    if (!m_list || !m_mask) return;
    const std::vector<TFilterListView::Item>& items = m_list->GetItems();
    const std::vector<int>& rows = m_list->GetRowList();
    const TRowBits& mask = *m_mask;
    auto passes = [&](int position) {
        const size_t id = size_t(rows[size_t(position)]);
        return id < mask.size() && mask[id];
    };
    std::vector<bool> covered(rows.size(), false);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    for (size_t k = 0; k < items.size(); ++k) {
        const TFilterListView::Item& item = items[k];
        bool selected;
        if (item.group) {
            selected = true;
            for (int p = item.first; p < item.end && selected; ++p) selected = passes(p);
            if (selected)
                for (int p = item.first; p < item.end; ++p) covered[size_t(p)] = true;
        } else {
            selected = item.first < item.end && !covered[size_t(item.first)] && passes(item.first);
        }
        if (!selected) continue;
        HRGN cell = ::CreateRectRgn(0, int(k) + 1, 1, int(k) + 2);
        ::CombineRgn(region, region, cell, RGN_OR);
        ::DeleteObject(cell);
    }
    m_listGrid.Select(region);
}

void CFilterDlg::LayoutControls()
{
    if (!m_apply.m_hWnd || !m_listGrid.m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    CRect button;
    m_apply.GetWindowRect(&button);
    const int listHeight = std::max(0, client.Height() - button.Height() - 10);
    m_listGrid.MoveWindow(0, 0, client.Width(), listHeight);
    CRect listClient;
    m_listGrid.GetClientRect(&listClient);
    if (m_listGrid.GetColumnCount() > 0) m_listGrid.SetColumnWidth(0, std::max(0, listClient.Width() - 1));
    static const UINT buttons[] = {IDOK, IDCANCEL};
    LayoutFooterButtons(this, CRect(0, listHeight, client.right, client.bottom), buttons, 2, true);
}

CSize CFilterDlg::GetDiff()
{
    if (!m_listGrid.m_hWnd) return CSize(0, 0);
    m_listGrid.Update();
    CRect client;
    m_listGrid.GetClientRect(&client);
    // The header is drawn one pixel down; one more keeps the last row's line.
    const CSize total = m_listGrid.GetTotalSize();
    return CSize(total.cx + 2 - client.Width(), total.cy + 2 - client.Height());
}

void CFilterDlg::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    LayoutControls();
}

void CFilterDlg::OnOK()
{
    if (m_list && m_mask && m_listGrid.m_hWnd) {
        TRowBits& mask = *m_mask;
        mask.assign(mask.size(), false);
        const std::vector<TFilterListView::Item>& items = m_list->GetItems();
        const std::vector<int>& rows = m_list->GetRowList();
        for (size_t k = 0; k < items.size(); ++k) {
            if (!m_listGrid.IsCellSelected(CELL_COORD(0, int(k) + 1))) continue;
            for (int p = items[k].first; p < items[k].end; ++p) {
                const size_t id = size_t(rows[size_t(p)]);
                if (id < mask.size()) mask[id] = true;
            }
        }
        if (m_element) m_element->ApplyFilter();
    }
    Close();
}

void CFilterDlg::OnCancel() { Close(); }

void CFilterDlg::CommitSuicide() { Close(); }

void CFilterDlg::Close()
{
    // Once: losing activation while the window goes must not ask again.
    if (m_closing) return;
    m_closing = true;
    if (m_element) m_element->SetActiveColumn(GRID_UNSET);
    if (m_parentGrid && m_parentGrid->m_hWnd) {
        m_parentGrid->Invalidate(TRUE);
        m_parentGrid->PostMessage(WM_GRID_KILLPOPUP, WPARAM(m_hWnd), 0);
    }
}

void CFilterDlg::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CDialog::OnActivate(state, other, minimized);
    if (state == WA_INACTIVE) Close();
}

void CFilterDlg::OnBnClickedAll() {}

void CFilterDlg::OnGdnSelChange(NMHDR*, LRESULT* result)
{
    if (m_apply.m_hWnd) m_apply.EnableWindow(m_listGrid.IsSelectionEmpty() ? FALSE : TRUE);
    *result = 0;
}

void CFilterDlg::OnGdnApply(NMHDR*, LRESULT* result)
{
    *result = 0;
    OnOK();
}

void CFilterDlg::PostNcDestroy()
{
    CDialog::PostNcDestroy();
    delete this;
}
