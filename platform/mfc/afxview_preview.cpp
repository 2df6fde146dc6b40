// Print preview: the preview DC, the preview view and its bar of buttons, and the
// view's switch into and out of preview.
#include "afxview_preview.h"
#include "afxview_doc.h"
#include "afx_log.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_DYNCREATE(CPreviewView, CScrollView)

BEGIN_MESSAGE_MAP(CPreviewView, CScrollView)
    ON_COMMAND(AFX_ID_PREVIEW_CLOSE, OnPreviewClose)
    ON_COMMAND(ID_FILE_PRINT_PREVIEW, OnPreviewClose)
    ON_COMMAND(AFX_ID_PREVIEW_PRINT, OnPreviewPrint)
    ON_COMMAND(AFX_ID_PREVIEW_NEXT, OnNextPage)
    ON_COMMAND(AFX_ID_PREVIEW_PREV, OnPrevPage)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMIN, OnZoomIn)
    ON_COMMAND(AFX_ID_PREVIEW_ZOOMOUT, OnZoomOut)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NEXT, OnUpdateNextPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_PREV, OnUpdatePrevPage)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMIN, OnUpdateZoomIn)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_ZOOMOUT, OnUpdateZoomOut)
    ON_UPDATE_COMMAND_UI(AFX_ID_PREVIEW_NUMPAGE, OnUpdateNumPage)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

constexpr int kMargin = 8;                // grey around the page
constexpr COLORREF kDesk = RGB(128, 128, 128);
constexpr double kZoom[] = {1.0, 1.5, 2.0};  // over the whole-page scale

// ---- the preview's bar: its buttons send their commands to the frame, which routes
// them to the active view (the preview).
class CPreviewBar : public CControlBar {
public:
    BOOL Create(CFrameWnd* frame)
    {
        m_dwStyle = CBRS_TOP | CBRS_BORDER_BOTTOM;
        m_bAutoDelete = TRUE;
        if (!CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 0, 0), frame,
                          AFX_IDW_PREVIEW_BAR))
            return FALSE;
        static const struct {
            UINT id;
            const char* text;
            int width;
        } buttons[] = {
            {AFX_ID_PREVIEW_PRINT, "&Print...", 64},    {AFX_ID_PREVIEW_NEXT, "&Next Page", 76},
            {AFX_ID_PREVIEW_PREV, "Pre&v Page", 76},    {AFX_ID_PREVIEW_ZOOMIN, "Zoom &In", 64},
            {AFX_ID_PREVIEW_ZOOMOUT, "Zoom &Out", 64}, {AFX_ID_PREVIEW_CLOSE, "&Close", 56},
        };
        HFONT font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
        int x = 4;
        for (const auto& b : buttons) {
            HWND h = ::CreateWindowExA(0, "BUTTON", b.text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, x, 3, b.width, 22,
                                       m_hWnd, (HMENU)(UINT_PTR)b.id, ::GetModuleHandleA(nullptr), nullptr);
            ::SendMessageA(h, WM_SETFONT, (WPARAM)font, FALSE);
            x += b.width + 4;
        }
        HWND page = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFT, x + 8, 7, 120, 16, m_hWnd,
                                      (HMENU)(UINT_PTR)AFX_ID_PREVIEW_NUMPAGE, ::GetModuleHandleA(nullptr), nullptr);
        ::SendMessageA(page, WM_SETFONT, (WPARAM)font, FALSE);
        return TRUE;
    }

    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override
    {
        CSize size = CControlBar::CalcFixedLayout(stretch, horz);
        size.cy = 28 + m_cyTopBorder + m_cyBottomBorder;
        return size;
    }

    void OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) override
    {
        UpdateDialogControls(target, disableIfNoHandler);
    }
};

// The preview's close box and Close: the frame asks the preview to end.
void AfxPreviewCloseProc(CFrameWnd* frame)
{
    if (auto* preview = dynamic_cast<CPreviewView*>(frame->GetActiveView())) preview->ClosePreview();
}

}  // namespace

// ---- CPreviewDC

void CPreviewDC::SetScale(double scale, POINT origin)
{
    m_scale = scale;
    ::SetGraphicsMode(m_hDC, GM_ADVANCED);
    XFORM x{(FLOAT)scale, 0, 0, (FLOAT)scale, (FLOAT)origin.x, (FLOAT)origin.y};
    ::SetWorldTransform(m_hDC, &x);
}

int CPreviewDC::GetDeviceCaps(int index) const
{
    return m_pPrinter ? m_pPrinter->GetDeviceCaps(index) : CDC::GetDeviceCaps(index);
}

// Device offsets are printer pixels: scaled like the drawing (the world transform
// applies before the mapping mode, so origins are scaled here).
CPoint CPreviewDC::SetViewportOrg(int x, int y) { return CDC::SetViewportOrg(Scaled(x), Scaled(y)); }
CPoint CPreviewDC::OffsetViewportOrg(int dx, int dy) { return CDC::OffsetViewportOrg(Scaled(dx), Scaled(dy)); }
CPoint CPreviewDC::SetWindowOrg(int x, int y) { return CDC::SetWindowOrg(Scaled(x), Scaled(y)); }
CPoint CPreviewDC::OffsetWindowOrg(int dx, int dy) { return CDC::OffsetWindowOrg(Scaled(dx), Scaled(dy)); }

int CPreviewDC::Scaled(int v) const { return (int)std::lround(v * m_scale); }

// ---- CView's switch into preview

BOOL CView::DoPrintPreview(CRuntimeClass* previewClass, CPrintPreviewState* state)
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame || !state || !previewClass) return FALSE;
    if (dynamic_cast<CPreviewView*>(frame->GetActiveView())) return FALSE;  // already previewing
    CObject* object = previewClass->CreateObject();
    auto* preview = dynamic_cast<CPreviewView*>(object);
    if (!preview) {
        delete object;
        return FALSE;
    }
    state->pViewActiveOld = frame->GetActiveView();
    state->nIDMainPane = AFX_IDW_PANE_FIRST;
    preview->m_pPreviewState = state;
    preview->m_pOrigView = state->pViewActiveOld;
    preview->m_pPrintView = this;
    // Made hidden beside the pane, so that a refusal changes nothing.
    if (!preview->Create(nullptr, nullptr, WS_CHILD | WS_HSCROLL | WS_VSCROLL, CRect(0, 0, 0, 0), frame,
                         AFX_IDW_PANE_LAST)) {
        return FALSE;  // deleted by its PostNcDestroy; the state stays the caller's
    }
    if (!preview->SetPrintView(this)) {
        preview->m_pPreviewState = nullptr;  // the caller keeps it
        preview->DestroyWindow();
        return FALSE;
    }
    // The frame's bars go; the preview's bar comes.
    int index = 0;
    POSITION pos = frame->m_listControlBars.GetHeadPosition();
    while (pos && index < 32) {
        auto* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
        if (bar->IsDockBar()) continue;
        if (bar->IsVisible()) {
            state->dwStates |= 1u << index;
            frame->ShowControlBar(bar, FALSE, TRUE);
        }
        ++index;
    }
    auto* bar = new CPreviewBar;
    if (!bar->Create(frame)) {
        delete bar;
        bar = nullptr;
    }
    preview->m_pToolBar = bar;
    state->hAccelTable = frame->m_hAccelTable;
    frame->m_hAccelTable = nullptr;  // the document's shortcuts do nothing in preview
    if (CWnd* pane = frame->GetDlgItem(AFX_IDW_PANE_FIRST)) {
        pane->SetDlgCtrlID(AFX_IDW_PANE_SAVE);
        pane->ShowWindow(SW_HIDE);
    }
    preview->SetDlgCtrlID(AFX_IDW_PANE_FIRST);
    preview->ShowWindow(SW_SHOW);
    frame->m_lpfnCloseProc = &AfxPreviewCloseProc;
    frame->SetActiveView(preview);
    frame->RecalcLayout();
    preview->UpdateScrollSizes();
    preview->Invalidate();
    return TRUE;
}

// ---- CPreviewView

CPreviewView::CPreviewView() = default;

CPreviewView::~CPreviewView()
{
    delete m_pPrinterDC;
    delete m_pPreviewInfo;
    delete m_pPreviewState;
}

BOOL CPreviewView::SetPrintView(CView* view)
{
    m_pPrintView = view;
    m_pPreviewInfo = new CPrintInfo;
    m_pPreviewInfo->m_bPreview = TRUE;
    if (!view->OnPreparePrinting(m_pPreviewInfo)) return FALSE;
    m_pPrinterDC = m_pPreviewInfo->m_pPD->CreatePrinterDC();
    if (!m_pPrinterDC) {
        AfxLogFailure("Print preview: no DC for the printer");
        return FALSE;
    }
    m_pPrinterDC->m_bPrinting = TRUE;
    m_sizePrinter = CSize(m_pPrinterDC->GetDeviceCaps(HORZRES), m_pPrinterDC->GetDeviceCaps(VERTRES));
    if (m_sizePrinter.cx <= 0 || m_sizePrinter.cy <= 0) {
        AfxLogFailure("Print preview: the printer reports no printable area");
        return FALSE;
    }
    view->OnBeginPrinting(m_pPrinterDC, m_pPreviewInfo);
    m_nCurrentPage = m_pPreviewInfo->GetFromPage();
    return TRUE;
}

double CPreviewView::FitScale() const
{
    CRect client;
    GetClientRect(&client);
    double sx = double(std::max(1L, client.Width() - 2L * kMargin)) / m_sizePrinter.cx;
    double sy = double(std::max(1L, client.Height() - 2L * kMargin)) / m_sizePrinter.cy;
    return std::max(0.01, std::min(sx, sy));
}

double CPreviewView::CurrentScale() const { return FitScale() * kZoom[m_nZoomState]; }

CRect CPreviewView::PageRect() const
{
    double scale = CurrentScale();
    CSize page((int)std::lround(m_sizePrinter.cx * scale), (int)std::lround(m_sizePrinter.cy * scale));
    CRect client;
    GetClientRect(&client);
    // Centred while it fits, else from the margin (and scrolled).
    int x = std::max(kMargin, (int)(client.Width() - page.cx) / 2);
    int y = std::max(kMargin, (int)(client.Height() - page.cy) / 2);
    return CRect(CPoint(x, y), page);
}

void CPreviewView::UpdateScrollSizes()
{
    if (!m_hWnd || m_sizePrinter.cx <= 0) return;
    CRect page = PageRect();
    SetScrollSizes(MM_TEXT, CSize(page.right + kMargin, page.bottom + kMargin));
}

void CPreviewView::RenderPage(CDC* dc, double scale, POINT origin)
{
    CSize size((int)std::lround(m_sizePrinter.cx * scale), (int)std::lround(m_sizePrinter.cy * scale));
    if (size.cx <= 0 || size.cy <= 0 || !m_pPrintView) return;
    // Drawn into a bitmap of its own whose corner is the page's, then copied.
    HDC memory = ::CreateCompatibleDC(dc->m_hDC);
    HBITMAP bitmap = ::CreateCompatibleBitmap(dc->m_hDC, size.cx, size.cy);
    if (!memory || !bitmap) {
        AfxLogFailure("Print preview: no bitmap for the page");
        if (memory) ::DeleteDC(memory);
        if (bitmap) ::DeleteObject(bitmap);
        return;
    }
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    RECT all{0, 0, size.cx, size.cy};
    ::FillRect(memory, &all, (HBRUSH)::GetStockObject(WHITE_BRUSH));

    CPrintInfo* info = m_pPreviewInfo;
    info->m_nCurPage = m_nCurrentPage;
    info->m_bContinuePrinting = TRUE;
    // The printable area in the view's units, as the printer's DC sets them up.
    int saved = m_pPrinterDC->SaveDC();
    m_pPrintView->OnPrepareDC(m_pPrinterDC, info);
    info->m_rectDraw.SetRect(0, 0, m_sizePrinter.cx, m_sizePrinter.cy);
    m_pPrinterDC->DPtoLP(&info->m_rectDraw);
    m_pPrinterDC->RestoreDC(saved);

    CPreviewDC page;
    page.Attach(memory);
    page.SetAttribDC(memory);
    page.SetPrinter(m_pPrinterDC);
    page.m_bPrinting = TRUE;
    int pageState = ::SaveDC(memory);
    page.SetScale(scale, CPoint(0, 0));
    info->m_bContinuePrinting = TRUE;
    m_pPrintView->OnPrepareDC(&page, info);
    if (info->m_bContinuePrinting) m_pPrintView->OnPrint(&page, info);
    ::RestoreDC(memory, pageState);
    page.ReleaseAttribDC();
    page.Detach();

    ::BitBlt(dc->m_hDC, origin.x, origin.y, size.cx, size.cy, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
}

void CPreviewView::OnDraw(CDC* dc)
{
    if (!m_pPreviewInfo || m_sizePrinter.cx <= 0) return;
    CRect page = PageRect();
    // The desk around the page, a shadow, then the page.
    CRect desk(0, 0, std::max(page.right + kMargin, (LONG)0), std::max(page.bottom + kMargin, (LONG)0));
    CRect client;
    GetClientRect(&client);
    CPoint scroll = GetDeviceScrollPosition();
    desk.right = std::max(desk.right, client.right + scroll.x);
    desk.bottom = std::max(desk.bottom, client.bottom + scroll.y);
    dc->FillSolidRect(&desk, kDesk);
    dc->FillSolidRect(page.left + 3, page.top + 3, page.Width(), page.Height(), RGB(0, 0, 0));
    RenderPage(dc, CurrentScale(), page.TopLeft());
}

BOOL CPreviewView::OnEraseBkgnd(CDC*) { return TRUE; }  // OnDraw covers everything

void CPreviewView::OnSize(UINT type, int cx, int cy)
{
    CScrollView::OnSize(type, cx, cy);
    UpdateScrollSizes();
}

void CPreviewView::OnActivateView(BOOL activate, CView* activateView, CView* deactiveView)
{
    CScrollView::OnActivateView(activate, activateView, deactiveView);
}

BOOL CPreviewView::CanGoNext()
{
    if (!m_pPreviewInfo) return FALSE;
    if (m_nCurrentPage >= m_pPreviewInfo->GetToPage()) return FALSE;
    if (m_pPreviewInfo->GetMaxPage() != 0xFFFF) return TRUE;
    // A job of unknown length goes on while the view prepares the next page.
    m_pPreviewInfo->m_nCurPage = m_nCurrentPage + 1;
    m_pPreviewInfo->m_bContinuePrinting = TRUE;
    int saved = m_pPrinterDC->SaveDC();
    m_pPrintView->OnPrepareDC(m_pPrinterDC, m_pPreviewInfo);
    m_pPrinterDC->RestoreDC(saved);
    m_pPreviewInfo->m_nCurPage = m_nCurrentPage;
    return m_pPreviewInfo->m_bContinuePrinting;
}

void CPreviewView::SetCurrentPage(UINT page)
{
    if (!m_pPreviewInfo) return;
    page = std::clamp(page, m_pPreviewInfo->GetFromPage(), std::max(m_pPreviewInfo->GetFromPage(),
                                                                     m_pPreviewInfo->GetToPage()));
    if (page == m_nCurrentPage) return;
    m_nCurrentPage = page;
    Invalidate();
}

void CPreviewView::OnNextPage()
{
    if (CanGoNext()) SetCurrentPage(m_nCurrentPage + 1);
}

void CPreviewView::OnPrevPage()
{
    if (m_nCurrentPage > m_pPreviewInfo->GetFromPage()) SetCurrentPage(m_nCurrentPage - 1);
}

void CPreviewView::OnZoomIn()
{
    if (m_nZoomState + 1 < (int)(sizeof kZoom / sizeof kZoom[0])) ++m_nZoomState;
    UpdateScrollSizes();
    Invalidate();
}

void CPreviewView::OnZoomOut()
{
    if (m_nZoomState > 0) --m_nZoomState;
    UpdateScrollSizes();
    Invalidate();
}

void CPreviewView::OnUpdateNextPage(CCmdUI* cmdUI) { cmdUI->Enable(CanGoNext()); }

void CPreviewView::OnUpdatePrevPage(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_pPreviewInfo && m_nCurrentPage > m_pPreviewInfo->GetFromPage());
}

void CPreviewView::OnUpdateZoomIn(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_nZoomState + 1 < (int)(sizeof kZoom / sizeof kZoom[0]));
}

void CPreviewView::OnUpdateZoomOut(CCmdUI* cmdUI) { cmdUI->Enable(m_nZoomState > 0); }

void CPreviewView::OnUpdateNumPage(CCmdUI* cmdUI)
{
    CString text;
    text.Format("Page %u", m_nCurrentPage);
    cmdUI->SetText(text);
}

void CPreviewView::OnPreviewPrint()
{
    CView* view = m_pPrintView;
    ClosePreview();  // this object is gone now
    // The print itself, as File Print would run it.
    if (view && view->m_hWnd) {
        if (CFrameWnd* frame = view->GetParentFrame()) frame->PostMessage(WM_COMMAND, ID_FILE_PRINT);
    }
}

void CPreviewView::OnPreviewClose() { ClosePreview(); }

void CPreviewView::ClosePreview()
{
    CFrameWnd* frame = GetParentFrame();
    if (!frame) {
        DestroyWindow();
        return;
    }
    frame->m_lpfnCloseProc = nullptr;
    if (m_pToolBar) {
        m_pToolBar->DestroyWindow();  // deletes itself
        m_pToolBar = nullptr;
    }
    if (m_pPrintView && m_pPrinterDC && m_pPreviewInfo)
        m_pPrintView->OnEndPrintPreview(m_pPrinterDC, m_pPreviewInfo, CPoint(0, 0), this);
    CPrintPreviewState* state = m_pPreviewState;
    SetDlgCtrlID(AFX_IDW_PANE_LAST);
    if (CWnd* pane = frame->GetDlgItem(AFX_IDW_PANE_SAVE)) {
        pane->SetDlgCtrlID(state ? (int)state->nIDMainPane : AFX_IDW_PANE_FIRST);
        pane->ShowWindow(SW_SHOW);
    }
    if (state) {
        frame->m_hAccelTable = state->hAccelTable;
        int index = 0;
        POSITION pos = frame->m_listControlBars.GetHeadPosition();
        while (pos && index < 32) {
            auto* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
            if (bar->IsDockBar()) continue;
            if (state->dwStates & (1u << index)) frame->ShowControlBar(bar, TRUE, TRUE);
            ++index;
        }
    }
    CView* old = m_pOrigView;
    if (old && !::IsWindow(old->m_hWnd)) old = nullptr;
    frame->SetActiveView(old);
    DestroyWindow();  // deletes this object, the job's state and the preview state
    frame->RecalcLayout();
}
