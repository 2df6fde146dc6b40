// Printing primitives: CDC's print members, the system's printer provider, CPrintInfo.
#include "afxdlgs.h"
#include "afx_log.h"

#include <winspool.h>

#include <memory>

// ---- CDC print members

int CDC::StartDoc(LPCSTR docName)
{
    DOCINFOA info{};
    info.cbSize = sizeof(info);
    info.lpszDocName = docName;
    return StartDoc(&info);
}

BOOL CDC::ResetDC(const DEVMODEA* devMode)
{
    if (m_hAttribDC && m_hAttribDC != m_hDC && !::ResetDCA(m_hAttribDC, devMode)) return FALSE;
    return m_hDC && ::ResetDCA(m_hDC, devMode) != nullptr;
}

// ---- the system's printers

namespace {

class CSystemPrinterProvider : public CPrinterDCProvider {
public:
    BOOL HasDefaultPrinter() override
    {
        char name[1];
        DWORD size = sizeof name;
        // With a printer the name does not fit; without one the call fails otherwise.
        if (::GetDefaultPrinterA(name, &size)) return TRUE;
        return ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
    }

    BOOL PrintDlg(PRINTDLGA& pd) override { return ::PrintDlgA(&pd); }
    BOOL PageSetupDlg(PAGESETUPDLGA& psd) override { return ::PageSetupDlgA(&psd); }

    CDC* CreatePrinterDC(HGLOBAL devNames, HGLOBAL devMode) override
    {
        CString driver = AfxDevNamesDriver(devNames);
        CString device = AfxDevNamesDevice(devNames);
        if (device.IsEmpty()) {
            DWORD size = 0;
            ::GetDefaultPrinterA(nullptr, &size);
            if (size == 0 || !::GetDefaultPrinterA(device.GetBuffer((int)size), &size)) {
                AfxLogFailure("CreatePrinterDC: no printer named and no default printer");
                return nullptr;
            }
            device.ReleaseBuffer();
        }
        auto* mode = devMode ? static_cast<const DEVMODEA*>(::GlobalLock(devMode)) : nullptr;
        auto dc = std::make_unique<CDC>();
        BOOL made = dc->CreateDC(driver.IsEmpty() ? "WINSPOOL" : (LPCSTR)driver, device, nullptr, mode);
        DWORD error = ::GetLastError();
        if (mode) ::GlobalUnlock(devMode);
        if (!made) {
            AfxLogFailure("CreateDC for printer \"%s\" failed: error %lu", (LPCSTR)device, error);
            return nullptr;
        }
        dc->m_bPrinting = TRUE;
        return dc.release();
    }
};

CSystemPrinterProvider g_systemPrinters;
CPrinterDCProvider* g_printerProvider = nullptr;  // set by the GUI thread; null: the system's

}  // namespace

CPrinterDCProvider* AFXAPI AfxGetPrinterDCProvider()
{
    return g_printerProvider ? g_printerProvider : &g_systemPrinters;
}

CPrinterDCProvider* AFXAPI AfxSetPrinterDCProvider(CPrinterDCProvider* provider)
{
    CPrinterDCProvider* previous = AfxGetPrinterDCProvider();
    g_printerProvider = provider;
    return previous;
}

BOOL AFXAPI AfxHasDefaultPrinter() { return AfxGetPrinterDCProvider()->HasDefaultPrinter(); }

// ---- print job state

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)),
      m_strPageDesc("Page %u\nPages %u-%u\n")
{
}

// The DEVMODE and DEVNAMES in m_pPD stay the caller's (the application keeps its
// printer there); a DC made for the dialog goes with it.
CPrintInfo::~CPrintInfo() { delete m_pPD; }

UINT CPrintInfo::GetFromPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nFromPage : m_pPD->m_pd.nMinPage;
}

UINT CPrintInfo::GetToPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nToPage : m_pPD->m_pd.nMaxPage;
}

// ---- the application's printer

void CWinApp::SelectPrinter(HANDLE devNames, HANDLE devMode, BOOL freeOld)
{
    if (freeOld) {
        if (m_hDevNames && m_hDevNames != devNames) ::GlobalFree(m_hDevNames);
        if (m_hDevMode && m_hDevMode != devMode) ::GlobalFree(m_hDevMode);
    }
    m_hDevNames = devNames;
    m_hDevMode = devMode;
}

void CWinApp::UpdatePrinterSelection(BOOL forceDefaults)
{
    if (m_hDevNames && !forceDefaults) return;
    CPrintDialog defaults(TRUE);
    if (defaults.GetDefaults()) SelectPrinter(defaults.m_pd.hDevNames, defaults.m_pd.hDevMode);
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLGA* pd)
{
    UpdatePrinterSelection(FALSE);
    if (!m_hDevNames) return FALSE;
    pd->hDevNames = m_hDevNames;
    pd->hDevMode = m_hDevMode;
    return TRUE;
}

INT_PTR CWinApp::DoPrintDialog(CPrintDialog* pd)
{
    UpdatePrinterSelection(FALSE);
    pd->m_pd.hDevNames = m_hDevNames;
    pd->m_pd.hDevMode = m_hDevMode;
    INT_PTR result = pd->DoModal();
    // The dialog may hand back other memory for the printer (it frees what it replaces).
    SelectPrinter(pd->m_pd.hDevNames, pd->m_pd.hDevMode, FALSE);
    return result;
}

void CWinApp::OnFilePrintSetup()
{
    CPrintDialog setup(TRUE);
    DoPrintDialog(&setup);
}
