// CStatusBar: a control bar whose window is a status bar common control
// (msctls_statusbar32) with one part per pane. Panes are named by command ids
// (SetIndicators: a pane's starting text is the string of its id; id 0 makes a pane
// without text of its own, the first such pane stretches and has no border). Pane
// texts are kept by the bar, also while a pane is disabled (a disabled pane shows no
// text). The window text is the text of the pane with id 0, where the frame's prompts
// go. Panes follow their commands' update handlers at idle time. A size grip shows
// when the parent has a sizing border. GUI thread only.
#pragma once
#include "afxext_bar.h"

#include <vector>

#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

class TRVMFC_API CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    ~CStatusBar() override;

    virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
    virtual BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = 0, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                          UINT id = AFX_IDW_STATUS_BAR);
    // One pane per id; FALSE when an id's string is missing (the panes stay).
    BOOL SetIndicators(const UINT* ids, int count);

    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    void GetItemRect(int index, LPRECT rect) const;
    void GetPaneInfo(int index, UINT& id, UINT& style, int& width) const;
    void SetPaneInfo(int index, UINT id, UINT style, int width);
    UINT GetPaneStyle(int index) const;
    void SetPaneStyle(int index, UINT style);
    CString GetPaneText(int index) const;
    void GetPaneText(int index, CString& text) const { text = GetPaneText(index); }
    BOOL SetPaneText(int index, LPCSTR text, BOOL update = TRUE);
    // Places the panes for the bar's width and/or pushes pending texts to the control.
    void UpdateAllPanes(BOOL updateRects, BOOL updateText);

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;

    int m_nMinHeight = 0;

protected:
    struct Pane {
        UINT nID = 0;
        int cxText = 0;  // width of the text area
        UINT nStyle = 0;
        bool pending = false;  // text not yet given to the control
        CString strText;
    };
    std::vector<Pane> m_panes;

    Pane* PaneAt(int index);
    const Pane* PaneAt(int index) const;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg void OnNcPaint();
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()
};
