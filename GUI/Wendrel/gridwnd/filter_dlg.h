// The filter popup of a grid window: a modeless dialog under a header cell
// listing the column's values ("(All)", "(Blanks)", "(NonBlanks)", then each
// distinct value) in a one-column grid. Apply writes the column's row mask
// and re-filters; Apply, Cancel and loss of activation close it. The dialog
// asks its parent grid to destroy it (a posted WM_GRID_KILLPOPUP) and deletes
// itself once its window is gone. It refers to the parent grid, the filter
// element and the column's row mask (the decorator's); the value list goes
// to the list grid's view chain. GUI thread only.
#pragma once

#include <memory>

#include "afxwin.h"
#include "button/ext_button.h"
#include "grid/grid_filter.h"
#include "gridwnd/grid_ctrl.h"
#include "wendrel_export.h"

class TFilterListView;

// The popup's push buttons (Apply and Cancel): themed like the rest.
typedef VEzaButton TFilterButton;

class WENDREL_API CFilterDlg : public CDialog {
    DECLARE_DYNAMIC(CFilterDlg)
public:
    explicit CFilterDlg(CWnd* parent);
    ~CFilterDlg() override;

    CDefGridCtrl* GetParentGrid() const { return m_parentGrid; }
    // What the popup filters: a decorator column, its element, a new value
    // list of it (taken) and the column's row mask.
    void SetFilter(int column, IFilterElement* element, TFilterListView* list, TRowBits* mask);
    int GetColumn() const { return m_column; }
    CDefGridCtrl& GetListGrid() { return m_listGrid; }
    TFilterListView* GetValueList() const { return m_list; }
    // The list grid's laid-out extent less its window size.
    CSize GetDiff();
    // Closes without change.
    void CommitSuicide();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void PostNcDestroy() override;

    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnBnClickedAll();
    afx_msg void OnGdnSelChange(NMHDR* header, LRESULT* result);
    afx_msg void OnGdnApply(NMHDR* header, LRESULT* result);
    DECLARE_MESSAGE_MAP()

    void LayoutControls();
    // Selects the list rows that the column's row mask lets through.
    void Preselect();
    void Close();

    CDefGridCtrl* m_parentGrid;
    IFilterElement* m_element = nullptr;
    TFilterListView* m_list = nullptr;           // in the list grid's chain once set up
    std::unique_ptr<TFilterListView> m_ownList;  // until then
    TRowBits* m_mask = nullptr;
    int m_column = GRID_UNSET;
    TFilterButton m_apply;
    TFilterButton m_cancel;
    CDefGridCtrl m_listGrid;
    bool m_closing = false;
};
