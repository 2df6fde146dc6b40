// Views: child windows of a frame (or splitter) that show a document. A view joins
// the document named by its creation context, becomes the frame's active view when
// clicked, routes commands to its document after its own map, paints through
// OnPrepareDC + OnDraw, and prints through the same pair (OnFilePrint's print loop;
// OnFilePrintPreview shows the pages in a preview view in the same frame). Views live
// on the heap and delete themselves with their windows.
//
// CScrollView scrolls a drawing of a fixed logical size; CFormView is a view made from
// a child dialog template, and gives the focus back to the control that had it when
// it is activated again. GUI thread only.
#pragma once
#include "afxwin.h"
#include "afx_print.h"

class CDocument;
class CSplitterWnd;
class CPreviewView;
struct CPrintPreviewState;

class TRVMFC_API CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    // The splitter holding the view, when its parent is one.
    static CSplitterWnd* PASCAL GetParentSplitter(const CWnd* wnd, BOOL anyState);

    virtual void OnDraw(CDC* dc) = 0;
    // Sets up dc for drawing (screen) or for the page info->m_nCurPage (printing).
    // Printing a view of unknown length stops after page 1.
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr);
    virtual void OnInitialUpdate();
    // Repaints; views that draw from hints override it.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);
    // The view gains (activate) or loses the frame's activation.
    virtual void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView);
    // The frame holding the active view is activated or deactivated (WA_*).
    virtual void OnActivateFrame(UINT state, CFrameWnd* frame);

    // ---- printing
    virtual BOOL OnPreparePrinting(CPrintInfo* info);
    // The printer of the job: the print dialog, or for direct printing and preview the
    // application's printer. FALSE without a printer (nothing shown) or on Cancel.
    BOOL DoPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(CDC* dc, CPrintInfo* info) { (void)dc; (void)info; }
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnEndPrinting(CDC* dc, CPrintInfo* info) { (void)dc; (void)info; }
    virtual void OnEndPrintPreview(CDC* dc, CPrintInfo* info, POINT point, CPreviewView* view);
    // Runs the print loop on info (prepared by the caller with OnPreparePrinting):
    // StartDoc, per page OnPrepareDC, StartPage, OnPrint, EndPage, then EndDoc, or
    // AbortDoc when a call fails or the job is cancelled. FALSE when it did not end.
    BOOL PrintDocument(CPrintInfo* info);
    // Shows the preview view previewClass in place of this view; FALSE when it could not.
    BOOL DoPrintPreview(CRuntimeClass* previewClass, CPrintPreviewState* state);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    CDocument* m_pDocument = nullptr;

    // File Print and File Print Direct (the command being handled decides which).
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintPreview();

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PostNcDestroy() override;
    afx_msg int OnCreate(LPCREATESTRUCTA cs);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* topParent, UINT hitTest, UINT message);
    afx_msg LRESULT OnInitialUpdateMessage(WPARAM, LPARAM);
    // WM_PRINTCLIENT: the view's drawing into the given DC.
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    friend class CPreviewView;
};

class TRVMFC_API CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    static const SIZE sizeDefault;

    CScrollView() = default;

    // The drawing's size in logical units of mapMode; page and line steps (default:
    // a tenth of the total per page, a tenth of a page per line). A drawing no bigger
    // than the client area shows no scroll bars.
    void SetScrollSizes(int mapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CPoint GetScrollPosition() const;          // logical units
    CPoint GetDeviceScrollPosition() const;    // pixels
    CSize GetTotalSize() const { return m_totalLog; }
    int GetMapMode() const { return m_nMapMode; }
    void ScrollToPosition(POINT logical);
    void OnPrepareDC(CDC* dc, CPrintInfo* info = nullptr) override;

protected:
    int m_nMapMode = 0;  // 0 until SetScrollSizes
    CSize m_totalLog, m_totalDev, m_pageDev, m_lineDev;
    BOOL m_bInsideUpdate = FALSE;

    void UpdateBars();
    void ScrollToDevicePosition(POINT device);
    BOOL OnScroll(int bar, UINT code, UINT pos);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    DECLARE_MESSAGE_MAP()
};

class TRVMFC_API CFormView : public CScrollView {
    DECLARE_DYNAMIC(CFormView)
public:
    explicit CFormView(UINT templateId);
    explicit CFormView(LPCSTR templateName);

    // Creates the form from its template as child id of parent, with style's
    // visibility and border (a sunken edge) and at rect.
    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                CCreateContext* context = nullptr) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* dc) override { (void)dc; }
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;
    void OnActivateFrame(UINT state, CFrameWnd* frame) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // The control that gets the focus when the form is activated again.
    HWND GetFocusControl() const { return m_hWndFocus; }

protected:
    LPCSTR m_lpszTemplateName;
    CCreateContext* m_pCreateContext = nullptr;
    HWND m_hWndFocus = nullptr;

    // Remembers the focused control when it is one of the form's.
    BOOL SaveFocusControl();
    afx_msg int OnCreate(LPCREATESTRUCTA cs);
    afx_msg void OnSetFocus(CWnd* oldWnd);
    DECLARE_MESSAGE_MAP()
};

// Where OnFilePrintPreview puts things back when the preview closes.
struct CPrintPreviewState {
    UINT nIDMainPane = AFX_IDW_PANE_FIRST;
    HMENU hMenu = nullptr;
    DWORD dwStates = 0;     // bit i: the i-th of the frame's bars was visible
    CView* pViewActiveOld = nullptr;
    BOOL (*lpfnCloseProc)(CFrameWnd*) = nullptr;
    HACCEL hAccelTable = nullptr;
};
