// A static splitter: a fixed grid of panes (made by CreateView) separated by bars the
// user drags. Column and row sizes start from their ideal sizes; the last column and
// row take the rest. A pane whose ideal size is below its minimum is not shown.
// Dragging is modal inside the splitter: StartTracking on the button press, the bar
// follows the mouse, StopTracking(TRUE) on release, StopTracking(FALSE) on Esc or lost
// capture. Commands and notifications of the panes go on to the splitter's parent.
// GUI thread only.
#pragma once
#include "afxwin.h"

#include <vector>

class TRVMFC_API CSplitterWnd : public CWnd {
    DECLARE_DYNAMIC(CSplitterWnd)
public:
    CSplitterWnd() = default;

    BOOL CreateStatic(CWnd* parent, int rows, int cols, DWORD style = WS_CHILD | WS_VISIBLE,
                      UINT id = AFX_IDW_PANE_FIRST);
    virtual BOOL CreateView(int row, int col, CRuntimeClass* viewClass, SIZE initial, CCreateContext* context);

    int GetRowCount() const { return m_nRows; }
    int GetColumnCount() const { return m_nCols; }
    int IdFromRowCol(int row, int col) const { return (int)AFX_IDW_PANE_FIRST + row * 16 + col; }
    CWnd* GetPane(int row, int col) const { return GetDlgItem(IdFromRowCol(row, col)); }
    void GetColumnInfo(int col, int& current, int& minimum) const;
    void SetColumnInfo(int col, int ideal, int minimum);
    void GetRowInfo(int row, int& current, int& minimum) const;
    void SetRowInfo(int row, int ideal, int minimum);
    // Places the panes and bars for the current client size.
    virtual void RecalcLayout();

    // Bar dragging; hit is the bar (column bars count from 1, row bars from 101).
    virtual void StartTracking(int hit);
    virtual void StopTracking(BOOL accept);
    BOOL IsTracking() const { return m_bTracking; }
    // Bar under the client point, 0 for none.
    int HitTest(CPoint pt) const;

    int m_cxSplitterGap = 6;  // width of a bar between columns
    int m_cySplitterGap = 6;  // height of a bar between rows

protected:
    struct CRowColInfo {
        int nMinSize = 0;
        int nIdealSize = 0;
        int nCurSize = 0;
    };
    int m_nRows = 0;
    int m_nCols = 0;
    std::vector<CRowColInfo> m_rowInfo;
    std::vector<CRowColInfo> m_colInfo;
    BOOL m_bTracking = FALSE;
    int m_htTrack = 0;
    int m_trackPos = 0;     // bar's leading edge while dragging (client units)
    int m_trackOffset = 0;  // mouse position within the bar
    bool m_trackerShown = false;

    void LayoutAxis(std::vector<CRowColInfo>& info, int total, int gap);
    CRect BarRect(int hit, int pos) const;
    void InvertTracker();
    int BarStart(int hit) const;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnKeyDown(UINT ch, UINT repeat, UINT flags);
    afx_msg void OnCancelMode();
    afx_msg void OnCaptureChanged(CWnd* wnd);
    DECLARE_MESSAGE_MAP()
};
