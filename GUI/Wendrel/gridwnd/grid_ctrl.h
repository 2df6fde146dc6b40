// The grid window: shows the cells of one view chain, scrolls its body while
// the header rows, footer rows and frozen left columns stay in place, keeps a
// selection region and a focused range, and reports to its owner through
// WM_NOTIFY (tagNM_DEFGRID). Painting goes through one off-screen bitmap.
//
// Geometry: active columns and rows are laid out from 0 and drawn at the
// grid origin, so they scroll; frozen columns are laid out from
// 1 - origin x so that they stay at window x = 1; header rows are drawn at
// y = 1 and footer rows under the view. The scroll position of an axis is
// header size - origin.
//
// View changes are coalesced: OnChange sets a dirty bit and keeps at most one
// WM_USER+1 queued, whose handler lays the grid out again. GUI thread only.
#pragma once

#include <bitset>
#include <memory>
#include <vector>

#include "afxwin.h"
#include "grid/grid_comparator.h"
#include "grid/grid_hittest.h"
#include "grid/grid_view.h"
#include "gridwnd/grid_image.h"
#include "gridwnd/grid_notify.h"
#include "wendrel_export.h"

class CDefGridTool;
class TStyleAction;

class WENDREL_API CDefGridCtrl : public CWnd, public CDefGridImage, public CDefGridViewSink, public IGridViewSite {
public:
    CDefGridCtrl();
    ~CDefGridCtrl() override;
    CDefGridCtrl(const CDefGridCtrl&) = delete;
    CDefGridCtrl& operator=(const CDefGridCtrl&) = delete;

    // A child of class "DefGridCtrl" without a title; tool tips on success.
    virtual BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual BOOL CreateEx(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                          LPVOID param = nullptr);

    // ---- view
    // The window owns the new view (may be null); the old one is deleted when owned.
    void SetView(CDefGridView* view);
    CDefGridView* GetView() const { return m_view.Get(); }
    void UpdateColumns();
    void Update();
    void OnChange(const CELL_RANGE* range) override;
    const GRID_TOOL_SET& GetEnabledTools() const override { return m_enabledTools; }

    // ---- layout and scrolling
    void CalculateColumns();
    void CalculateRows();
    void Scroll(CSize delta);
    void SetGridOrg(CPoint origin);
    CPoint GetGridOrg() const { return m_gridOrg; }
    CPoint GetViewOrg() const { return CPoint(m_headerWidth, m_headerHeight); }
    CSize GetViewSize() const { return CSize(m_viewWidth, m_viewHeight); }
    CSize GetGridSize() const { return CSize(m_activeWidth, m_activeHeight); }
    CSize GetTotalSize() const { return CSize(m_totalWidth, m_totalHeight); }
    int GetFooterHeight() const { return m_footerHeight; }
    void EnsureColumnRangeVisible(int first, int last);
    void EnsureRowRangeVisible(int first, int last);
    void EnsureColumnVisible(int column) { EnsureColumnRangeVisible(column, column + 1); }
    void EnsureRowVisible(int row) { EnsureRowRangeVisible(row, row + 1); }
    void EnsureRangeVisible(const CELL_RANGE& range);
    void FocusRow(int row);
    void FocusRange(const CELL_RANGE& range);
    const CELL_RANGE& GetFocusedRange() const { return m_focused; }
    int GetFocusedRow() const { return m_focused.top; }
    void ReflectWindowSize();
    void ReflectViewChange(bool both, int which);
    void RecalcVisibleRange();
    const CELL_RANGE& GetActiveRange() const { return m_activeRange; }
    const CELL_RANGE& GetVisibleRange() const { return m_visibleRange; }

    // The images handed to passes and tools (they point into this layout).
    CELL_IMAGE GetVisibleImage();
    CELL_IMAGE GetActiveImage();
    CELL_IMAGE GetHeaderImage();
    CELL_IMAGE GetFooterImage();
    CELL_RANGE GetHeaderRange() const;
    CELL_RANGE GetFooterRange() const;

    // ---- columns and rows
    void SetColumnWidth(int column, int width);
    int GetColumnWidth(int column) const { return m_layout.columns[size_t(column)].width; }
    unsigned GetColumnState(int column) const { return m_layout.columns[size_t(column)].state; }
    unsigned GetRowState(int row) const { return m_layout.rows[size_t(row)].state; }
    int GetActiveColumn(int i) const { return m_activeRange.left + i; }
    unsigned GetActiveColumnState(int i) const { return GetColumnState(GetActiveColumn(i)); }
    unsigned ModifyActiveColumnState(int i, unsigned set, unsigned clear) {
        return ModifyColumnState(GetActiveColumn(i), set, clear);
    }
    unsigned ModifyColumnState(int column, unsigned set, unsigned clear);
    void ModifyColumnStateRange(int first, int last, unsigned set, unsigned clear);
    void ModifyAllColumnState(unsigned set, unsigned clear) { ModifyColumnStateRange(0, GetColumnCount(), set, clear); }
    unsigned ModifyRowState(int row, unsigned set, unsigned clear);
    void ModifyRowStateRange(int first, int last, unsigned set, unsigned clear);

    // ---- measuring and fitting
    void MeasureColumns();
    void ResizeToFit();
    void SetFitMode(bool on);
    bool GetFitMode() const { return m_fitMode; }

    // ---- sorting
    bool Sort(int column, bool ascending);
    bool RestoreOriginalOrder() { return Sort(GRID_UNSET, true); }
    bool InOriginalOrder() const { return m_sortedColumn == GRID_UNSET; }
    int GetSortedColumn() const { return m_sortedColumn; }
    bool GetSortOrder() const { return m_sortAscending; }
    void SetSortedColumn(int column) { m_sortedColumn = column; }
    void SetSortOrder(bool ascending) { m_sortAscending = ascending; }

    // ---- selection (cell units)
    void Select(HRGN region) override;
    void SelectRange(const CELL_RANGE& range);
    void SelectAll() { SelectRange(GetOverallRange()); }
    void ClearSelection();
    void SelectCell(const CELL_COORD& cell, bool add);
    bool IsSelectionEmpty() const;
    bool IsCellSelected(const CELL_COORD& cell) const;
    bool GetSelectionBoundingRange(CELL_RANGE& range) const;
    // Appends the distinct style indices of the cells in a region, in the order met.
    void CollectStyles(HRGN region, std::vector<int>& styles);

    // Changes one aspect of the selected columns, or else of the styles of
    // the selected cells; without the dialog it only collects the current value.
    void ApplyAction(TStyleAction& action, bool showDialog);

    // ---- hit testing (window points; later images overwrite earlier hits)
    void HitTest(const CELL_IMAGE& image, unsigned flags, CPoint point, HITTEST_RESULT& result);
    // The visible, the footer and the header image.
    void HitTest(unsigned flags, CPoint point, HITTEST_RESULT& result);
    // A tip for a text that does not fit its cell: the text's rectangle and a
    // heap copy of the text; the id names the element's cell, else the hit
    // cell, so that each cut text is a tool of its own. -1 without one.
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* info) const override;

    // ---- tools and options
    CDefGridTool* GetCurrentTool() const { return m_tool.get(); }
    HCURSOR GetCurrentCursor() const;
    // Replaces the current tool (the grid owns it).
    void SetCurrentTool(std::unique_ptr<CDefGridTool> tool);
    // The tool for what lies under a point, or none when it equals current.
    std::unique_ptr<CDefGridTool> ChooseTool(const HITTEST_RESULT& hit, const GRID_TOOL_SET& enabled, UINT toolId,
                                             const CDefGridTool* current);
    void RefreshCurrentTool(UINT flags, CPoint point);
    void SetTool(UINT id);
    UINT GetTool() const { return m_toolId; }
    void TrackMouse(DWORD flags);
    void EnableTool(int tool, bool on);
    bool IsToolEnabled(int tool) const;
    bool IsOptionSet(UINT id) const;
    void SetOption(UINT id, bool on);
    void ShowEmptyColumns(const CELL_IMAGE& image, bool show);
    void SetPopupWindow(CWnd* popup) { m_popup = popup; }
    CWnd* GetPopupWindow() const { return m_popup; }

    // ---- owner
    LRESULT NotifyOwner(int code, tagNM_DEFGRID& record);
    LRESULT NotifyOwner(int code);

    // The focus frame of the focused range over an image.
    void DrawFocus(HDC dc, const CELL_IMAGE& image);
    void BeforeRenderRange(const CELL_RANGE& range, CELL_CONTENT& content) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg LRESULT OnGetFont(WPARAM, LPARAM);
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnSetFocus(CWnd* oldWnd);
    afx_msg UINT OnGetDlgCode();
    afx_msg void OnKillFocus(CWnd* newWnd);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg LRESULT OnSync(WPARAM, LPARAM);
    afx_msg LRESULT OnKillPopup(WPARAM, LPARAM);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg int OnMouseActivate(CWnd* top, UINT hitTest, UINT message);
    afx_msg void OnMouseLeave();
    afx_msg void OnMouseHover(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnGridTool(UINT id);
    afx_msg void OnUpdateGridTool(CCmdUI* ui);
    afx_msg void OnGridOption(UINT id);
    afx_msg void OnUpdateGridOption(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

    // One axis: clamp the origin; apply a scroll code; set the bar.
    static int UniversalValidate(int origin, int extent, int header, int page);
    int UniversalScroll(int origin, int extent, int header, int page, int bar, UINT code);
    void UniversalSetScrollPos(LONG& origin, int extent, int header, int page, int bar);
    void UniversalSetScrollInfo(LONG& origin, int extent, int header, int page, int bar);
    void PositionFrozenColumns();
    // Clamp, bar positions, frozen columns, visible range, code 2, invalidate.
    void RefreshScroll();
    void AfterScroll();

    std::unique_ptr<CDefGridTool> m_tool;
    GRID_TOOL_SET m_enabledTools;
    UINT m_toolId = 0;
    CRect m_client;
    int m_changeCounter = 0;
    CPoint m_gridOrg{0, 0};
    int m_activeWidth = 0, m_activeHeight = 0;
    int m_headerWidth = 0, m_headerHeight = 0;
    int m_viewWidth = 0, m_viewHeight = 0;
    int m_footerHeight = -1;
    int m_totalWidth = 0, m_totalHeight = 0;
    CELL_RANGE m_activeRange;
    CELL_RANGE m_visibleRange;
    TOwnPtr<CDefGridView> m_view;
    CPoint m_pressPoint{0, 0};
    bool m_captured = false;
    CELL_RANGE m_focused;
    unsigned m_dirty = 0;
    int m_sortedColumn = GRID_UNSET;
    bool m_sortAscending = true;
    bool m_fitMode = false;
    CWnd* m_popup = nullptr;
    std::bitset<32> m_options;
};
