// Print preview: a view that shows the printed pages of another view, one page at a
// time, scaled to the window (zoomed in up to twice). It takes the place of the
// printed view in the frame while it runs (the frame's bars hidden, a bar of buttons
// on top: Print..., Next Page, Prev Page, Zoom In, Zoom Out, Close) and gives it back
// when closed (Close, the frame's close box, or Print Preview again). Pages are drawn
// by the printed view's OnPrepareDC and OnPrint on a DC that reports the printer's
// device caps and scales printer units to the screen. GUI thread only.
#pragma once
#include "afxview_view.h"

// Command ids of the preview bar.
#define AFX_ID_PREVIEW_CLOSE 0xE300
#define AFX_ID_PREVIEW_NUMPAGE 0xE301
#define AFX_ID_PREVIEW_NEXT 0xE302
#define AFX_ID_PREVIEW_PREV 0xE303
#define AFX_ID_PREVIEW_PRINT 0xE304
#define AFX_ID_PREVIEW_ZOOMIN 0xE305
#define AFX_ID_PREVIEW_ZOOMOUT 0xE306

// A screen or memory DC that answers device caps from a printer DC and draws in that
// printer's units, scaled by a world transform (set by SetScale).
class TRVMFC_API CPreviewDC : public CDC {
public:
    CPreviewDC() = default;
    // printer stays the caller's.
    void SetPrinter(CDC* printer) { m_pPrinter = printer; }
    // Draws printer units at scale pixels each, with printer (0,0) at origin; origins
    // set later (printer pixels) are scaled too.
    void SetScale(double scale, POINT origin);
    int GetDeviceCaps(int index) const override;
    CPoint SetViewportOrg(int x, int y) override;
    CPoint OffsetViewportOrg(int dx, int dy) override;
    CPoint SetWindowOrg(int x, int y) override;
    CPoint OffsetWindowOrg(int dx, int dy) override;

private:
    CDC* m_pPrinter = nullptr;
    double m_scale = 1.0;
    int Scaled(int v) const;
};

class TRVMFC_API CPreviewView : public CScrollView {
    DECLARE_DYNCREATE(CPreviewView)
public:
    CPreviewView();
    ~CPreviewView() override;

    // Prepares the preview of view (OnPreparePrinting with m_bPreview, the printer DC,
    // OnBeginPrinting); FALSE when it cannot be printed.
    BOOL SetPrintView(CView* view);
    UINT GetCurrentPage() const { return m_nCurrentPage; }
    int GetZoomState() const { return m_nZoomState; }
    CPrintInfo* GetPrintInfo() const { return m_pPreviewInfo; }
    // Shows page (within the job's pages; a job of unknown length ends where the view
    // stops it).
    void SetCurrentPage(UINT page);
    // Draws the current page at scale into dc with the page's corner at origin:
    // white paper, then the printed view's drawing.
    void RenderPage(CDC* dc, double scale, POINT origin);
    // The page's rectangle in the client area at the current zoom.
    CRect PageRect() const;
    // Scroll sizes for the page at the current zoom.
    void UpdateScrollSizes();
    // Gives the frame back to the printed view and destroys the preview.
    void ClosePreview();

    void OnDraw(CDC* dc) override;
    void OnActivateView(BOOL activate, CView* activateView, CView* deactiveView) override;

    CView* m_pPrintView = nullptr;
    CView* m_pOrigView = nullptr;
    CPrintPreviewState* m_pPreviewState = nullptr;
    CControlBar* m_pToolBar = nullptr;

protected:
    CPrintInfo* m_pPreviewInfo = nullptr;
    CDC* m_pPrinterDC = nullptr;
    UINT m_nCurrentPage = 1;
    int m_nZoomState = 0;  // 0: whole page; 1, 2: larger
    CSize m_sizePrinter;   // printable area in printer pixels

    double FitScale() const;
    double CurrentScale() const;
    BOOL CanGoNext();

    afx_msg void OnPreviewClose();
    afx_msg void OnPreviewPrint();
    afx_msg void OnNextPage();
    afx_msg void OnPrevPage();
    afx_msg void OnZoomIn();
    afx_msg void OnZoomOut();
    afx_msg void OnUpdateNextPage(CCmdUI* cmdUI);
    afx_msg void OnUpdatePrevPage(CCmdUI* cmdUI);
    afx_msg void OnUpdateZoomIn(CCmdUI* cmdUI);
    afx_msg void OnUpdateZoomOut(CCmdUI* cmdUI);
    afx_msg void OnUpdateNumPage(CCmdUI* cmdUI);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()
};
