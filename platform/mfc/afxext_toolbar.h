// CToolBar: a control bar whose window is a toolbar common control (ToolbarWindow32).
// Buttons come from a toolbar resource (type 241: 16-bit version, button width and
// height, count, then the command ids, 0 for a separator) with the bitmap of the same
// id, or from SetButtons. Its buttons follow their commands' update handlers at idle
// time; clicks arrive at the owner as WM_COMMAND. Styles of buttons are reported in
// the TBBS_* form: the control's style in the low word, its state in the high word,
// with the enabled bit inverted (TBBS_DISABLED). GUI thread only.
#pragma once
#include "afxext_bar.h"

#define TBBS_BUTTON MAKELONG(TBSTYLE_BUTTON, 0)
#define TBBS_SEPARATOR MAKELONG(TBSTYLE_SEP, 0)
#define TBBS_CHECKBOX MAKELONG(TBSTYLE_CHECK, 0)
#define TBBS_GROUP MAKELONG(TBSTYLE_GROUP, 0)
#define TBBS_CHECKGROUP MAKELONG(TBSTYLE_CHECKGROUP, 0)
#define TBBS_DROPDOWN MAKELONG(TBSTYLE_DROPDOWN, 0)
#define TBBS_AUTOSIZE MAKELONG(TBSTYLE_AUTOSIZE, 0)
#define TBBS_NOPREFIX MAKELONG(TBSTYLE_NOPREFIX, 0)
#define TBBS_CHECKED MAKELONG(0, TBSTATE_CHECKED)
#define TBBS_PRESSED MAKELONG(0, TBSTATE_PRESSED)
#define TBBS_DISABLED MAKELONG(0, TBSTATE_ENABLED)
#define TBBS_INDETERMINATE MAKELONG(0, TBSTATE_INDETERMINATE)
#define TBBS_HIDDEN MAKELONG(0, TBSTATE_HIDDEN)
#define TBBS_WRAPPED MAKELONG(0, TBSTATE_WRAP)
#define TBBS_ELLIPSES MAKELONG(0, TBSTATE_ELLIPSES)
#define TBBS_MARKED MAKELONG(0, TBSTATE_MARKED)

class TRVMFC_API CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    virtual BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT,
                          DWORD style = WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, CRect borders = CRect(0, 0, 0, 0),
                          UINT id = AFX_IDW_TOOLBAR);

    // Buttons and bitmap of a toolbar resource; FALSE when either is missing.
    BOOL LoadToolBar(LPCSTR resourceName);
    BOOL LoadToolBar(UINT id) { return LoadToolBar(MAKEINTRESOURCEA(id)); }
    BOOL LoadBitmap(LPCSTR resourceName);
    BOOL LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEA(id)); }
    // Takes over bitmap (a strip of images); the toolbar deletes it.
    BOOL SetBitmap(HBITMAP bitmap);
    // Replaces the buttons: one per id, 0 for a separator; images count up over the
    // buttons. Without ids, count blank buttons.
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);
    void SetHeight(int height);

    int CommandToIndex(UINT id) const;
    UINT GetItemID(int index) const;
    virtual void GetItemRect(int index, LPRECT rect) const;
    UINT GetButtonStyle(int index) const;
    void SetButtonStyle(int index, UINT style);
    void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
    void SetButtonInfo(int index, UINT id, UINT style, int image);
    BOOL SetButtonText(int index, LPCSTR text);
    CString GetButtonText(int index) const;

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override;
    CSize CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override;
    void OnBarStyleChange(DWORD oldStyle, DWORD newStyle) override;
    INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* ti) const override;

    CSize m_sizeButton;
    CSize m_sizeImage;
    HBITMAP m_hbmImageWell = nullptr;  // the bitmap the buttons show
    HRSRC m_hRsrcImageWell = nullptr;

protected:
    // The control's button at index (enabled bit inverted, as TBBS_DISABLED).
    BOOL GetButton(int index, TBBUTTON* button) const;
    void SetButton(int index, TBBUTTON* button);
    // Lays the buttons out in rows no longer than width (wrap flags in the control)
    // and answers the size they take.
    CSize Layout(int width, bool oneColumn);

    afx_msg int OnCreate(LPCREATESTRUCTA cs);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()
};
