// Printing primitives: the print job's state (CPrintInfo) and the printer provider, the
// one seam through which the layer reaches printers. The provider says whether a
// default printer exists, runs or answers the print and page set-up dialogs, and makes
// printer DCs. The system's provider uses the installed printers; a test installs its
// own (for example one that hands out DCs drawing each page into memory and reporting
// a printer's device caps: CDC's print members and GetDeviceCaps are virtual for it).
//
// A print loop (the view's, built on these) asks CPrintInfo::m_pPD for the printer
// (DoModal, or GetDefaults when m_bDirect), takes the DC from CPrintDialog's
// CreatePrinterDC, and runs StartDoc, then per page StartPage ... EndPage, then
// EndDoc (AbortDoc when stopped), with m_nCurPage and m_rectDraw set per page.
//
// The provider is process-wide and set by the GUI thread before printing starts;
// providers are used from the GUI thread only. Whoever installs a provider keeps it
// alive until it is replaced.
#pragma once
#include "afxdlgs_common.h"

class TRVMFC_API CPrinterDCProvider {
public:
    virtual ~CPrinterDCProvider() = default;
    // Whether there is a default printer. Never shows anything.
    virtual BOOL HasDefaultPrinter() = 0;
    // The PrintDlg contract on pd (PD_RETURNDEFAULT: no dialog). Never asked for a DC
    // (PD_RETURNDC and PD_RETURNIC are taken off): DCs come from CreatePrinterDC.
    virtual BOOL PrintDlg(PRINTDLGA& pd) = 0;
    // The PageSetupDlg contract on psd (PSD_RETURNDEFAULT: no dialog).
    virtual BOOL PageSetupDlg(PAGESETUPDLGA& psd) = 0;
    // A DC of the printer named by devNames (the default printer when null), set up
    // with devMode when given, m_bPrinting set; null when it cannot be made. The
    // caller deletes the object, which deletes its DC.
    virtual CDC* CreatePrinterDC(HGLOBAL devNames, HGLOBAL devMode) = 0;
};

// The provider in use: the one installed last, else the system's.
TRVMFC_API CPrinterDCProvider* AFXAPI AfxGetPrinterDCProvider();
// Installs a provider (null: back to the system's); returns the one it replaces.
TRVMFC_API CPrinterDCProvider* AFXAPI AfxSetPrinterDCProvider(CPrinterDCProvider* provider);
// The no-printer check: TRUE when the provider has a default printer.
TRVMFC_API BOOL AFXAPI AfxHasDefaultPrinter();

// State of one print job (or preview) as a print loop and the view's print handlers
// share it. Pages are numbered from 1; the page range lives in m_pPD's m_pd.
class TRVMFC_API CPrintInfo {
public:
    CPrintDialog* m_pPD;          // owned: the print dialog of the job (m_pd holds the range)
    BOOL m_bDirect = FALSE;       // print without asking (the default printer)
    BOOL m_bPreview = FALSE;      // the job is a print preview
    BOOL m_bContinuePrinting = TRUE;  // cleared by a handler to stop after this page
    UINT m_nCurPage = 1;          // page being prepared or printed
    UINT m_nNumPreviewPages = 1;  // pages shown side by side in preview (1 or 2)
    CString m_strPageDesc;        // preview status formats: "Page %u\nPages %u-%u\n"
    LPVOID m_lpUserData = nullptr;  // for the handlers (never freed here)
    CRect m_rectDraw;             // printable area of the current page, logical units
    BOOL m_bDocObject = FALSE;
    DWORD m_dwFlags = 0;
    UINT m_nOffsetPage = 0;
    int m_nJobNumber = 0;         // StartDoc's answer

    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT page) { m_pPD->m_pd.nMinPage = (WORD)page; }
    void SetMaxPage(UINT page) { m_pPD->m_pd.nMaxPage = (WORD)page; }
    UINT GetMinPage() const { return m_pPD->m_pd.nMinPage; }
    UINT GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }
    UINT GetOffsetPage() const { return m_nOffsetPage; }
    // The pages to print: the dialog's range when one was chosen, else min..max.
    UINT GetFromPage() const;
    UINT GetToPage() const;
};
