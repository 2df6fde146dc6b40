// The view's printing: preparing the job (printer choice) and the print loop.
#include "afxview_view.h"
#include "afxview_doc.h"
#include "afxview_preview.h"
#include "afx_log.h"

namespace {

// The spooler asks between pages whether to go on. Windows waiting for paint are
// painted meanwhile (nothing else runs: the job's view stays as it is); a program
// that is quitting stops its job.
BOOL CALLBACK AfxPrintAbortProc(HDC, int)
{
    MSG msg;
    if (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return FALSE;
    while (::PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) ::DispatchMessageA(&msg);
    return TRUE;
}

}  // namespace

BOOL CView::OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }

BOOL CView::DoPreparePrinting(CPrintInfo* info)
{
    // Without a printer the system's dialogs would block or fail: nothing is shown.
    if (!AfxHasDefaultPrinter()) {
        AfxLogFailure("Printing: there is no default printer");
        return FALSE;
    }
    CPrintDialog* pd = info->m_pPD;
    CWinApp* app = AfxGetApp();
    if (info->m_bPreview || info->m_bDirect) {
        if (app ? !app->GetPrinterDeviceDefaults(&pd->m_pd) : !pd->GetDefaults()) {
            AfxLogFailure("Printing: the default printer could not be read");
            return FALSE;
        }
        return TRUE;
    }
    INT_PTR answer = app ? app->DoPrintDialog(pd) : pd->DoModal();
    return answer == IDOK;
}

void CView::OnPrint(CDC* dc, CPrintInfo*) { OnDraw(dc); }

void CView::OnEndPrintPreview(CDC* dc, CPrintInfo* info, POINT, CPreviewView* view)
{
    OnEndPrinting(dc, info);
    (void)view;
}

BOOL CView::PrintDocument(CPrintInfo* info)
{
    CDC* dc = info->m_pPD->CreatePrinterDC();
    if (!dc) {
        AfxLogFailure("Printing: no DC for the printer");
        return FALSE;
    }
    dc->m_bPrinting = TRUE;
    OnBeginPrinting(dc, info);

    CString title;
    if (m_pDocument) title = m_pDocument->GetTitle();
    if (title.IsEmpty()) {
        CFrameWnd* frame = GetParentFrame();
        if (frame) frame->GetWindowText(title);
    }
    DOCINFOA docInfo{};
    docInfo.cbSize = sizeof docInfo;
    docInfo.lpszDocName = title;
    dc->SetAbortProc(&AfxPrintAbortProc);

    bool ok = true;
    info->m_nJobNumber = dc->StartDoc(&docInfo);
    if (info->m_nJobNumber <= 0) {
        AfxLogFailure("Printing: StartDoc failed (error %lu)", ::GetLastError());
        ok = false;
    } else {
        UINT last = info->GetToPage();
        for (info->m_nCurPage = info->GetFromPage(); info->m_nCurPage <= last; ++info->m_nCurPage) {
            OnPrepareDC(dc, info);
            if (!info->m_bContinuePrinting) break;
            // The page's printable area in the view's logical units.
            info->m_rectDraw.SetRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
            dc->DPtoLP(&info->m_rectDraw);
            if (dc->StartPage() <= 0) {
                AfxLogFailure("Printing: StartPage %u failed", info->m_nCurPage);
                ok = false;
                break;
            }
            OnPrint(dc, info);
            if (dc->EndPage() <= 0) {
                AfxLogFailure("Printing: EndPage %u failed or the job was cancelled", info->m_nCurPage);
                ok = false;
                break;
            }
            if (info->m_nCurPage == 0xFFFF) break;
        }
        if (ok) {
            if (dc->EndDoc() <= 0) {
                AfxLogFailure("Printing: EndDoc failed");
                ok = false;
            }
        } else {
            dc->AbortDoc();
        }
    }
    OnEndPrinting(dc, info);
    delete dc;
    return ok;
}

void CView::OnFilePrint()
{
    CPrintInfo info;
    // File Print Direct prints without asking.
    const MSG* current = GetCurrentMessage();
    if (current && current->message == WM_COMMAND && LOWORD(current->wParam) == ID_FILE_PRINT_DIRECT)
        info.m_bDirect = TRUE;
    if (!OnPreparePrinting(&info)) return;
    PrintDocument(&info);
}

void CView::OnFilePrintPreview()
{
    auto* state = new CPrintPreviewState;
    if (!DoPrintPreview(RUNTIME_CLASS(CPreviewView), state)) {
        AfxLogFailure("Print preview could not be started");
        delete state;
    }
}
