// Common dialogs.
#include "afxdlgs.h"
#include "afx_log.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CCommonDialog, CDialog)
IMPLEMENT_DYNAMIC(CFileDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CColorDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CFontDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CPageSetupDialog, CCommonDialog)
IMPLEMENT_DYNAMIC(CPrintDialog, CCommonDialog)

// Cancel leaves no error; anything else is a failure of the system dialog.
static INT_PTR DialogResult(BOOL ok, const char* what)
{
    if (ok) return IDOK;
    if (DWORD error = ::CommDlgExtendedError()) AfxLogFailure("%s failed: common dialog error 0x%lX", what, error);
    return IDCANCEL;
}

// ---- file dialog

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defaultExt, LPCSTR fileName, DWORD flags, LPCSTR filter,
                         CWnd* parent)
    : CCommonDialog(parent), m_bOpenFileDialog(openFileDialog)
{
    m_ofn = {};
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = sizeof m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = sizeof m_szFileTitle;
    m_ofn.Flags = flags | OFN_EXPLORER;
    if (fileName) ::lstrcpynA(m_szFileName, fileName, sizeof m_szFileName);
    if (defaultExt) {
        m_strDefExt = defaultExt;
        m_ofn.lpstrDefExt = m_strDefExt;
    }
    if (filter) {
        // "Name|pattern|...||" becomes the system's list of '\0'-ended strings, with an
        // empty one at the end even when the caller left out the closing "||".
        m_filter = filter;
        for (char& c : m_filter)
            if (c == '|') c = '\0';
        m_filter.append(2, '\0');
        m_ofn.lpstrFilter = m_filter.data();
    }
}

INT_PTR CFileDialog::DoModal()
{
    m_ofn.hwndOwner = OwnerForDialog();
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    return DialogResult(ok, m_bOpenFileDialog ? "GetOpenFileName" : "GetSaveFileName");
}

CString CFileDialog::GetFileName() const
{
    const char* name = m_szFileName;
    for (const char* p = m_szFileName; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    return CString(name);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

// ---- colour dialog

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) : CCommonDialog(parent)
{
    for (COLORREF& c : m_custom) c = RGB(255, 255, 255);
    m_cc = {};
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.rgbResult = initial;
    m_cc.Flags = flags;
    if (initial != 0) m_cc.Flags |= CC_RGBINIT;
    m_cc.lpCustColors = m_custom;
}

INT_PTR CColorDialog::DoModal()
{
    m_cc.hwndOwner = OwnerForDialog();
    return DialogResult(::ChooseColorA(&m_cc), "ChooseColor");
}

// ---- font dialog

CFontDialog::CFontDialog(const LOGFONTA* initial, DWORD flags, CDC* printerDC, CWnd* parent) : CCommonDialog(parent)
{
    m_cf = {};
    m_cf.lStructSize = sizeof(m_cf);
    m_cf.lpLogFont = &m_lf;
    m_cf.Flags = flags;
    if (initial) {
        m_lf = *initial;
        m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
    }
    if (printerDC) {
        m_cf.hDC = printerDC->m_hAttribDC;
        m_cf.Flags |= CF_PRINTERFONTS;
    }
}

INT_PTR CFontDialog::DoModal()
{
    m_cf.hwndOwner = OwnerForDialog();
    m_cf.lpLogFont = &m_lf;
    return DialogResult(::ChooseFontA(&m_cf), "ChooseFont");
}

// ---- printer names

namespace {
enum class DevNamesField { kDriver, kDevice, kPort };

CString DevNamesString(HGLOBAL devNames, DevNamesField field)
{
    if (!devNames) return CString();
    auto* names = static_cast<const DEVNAMES*>(::GlobalLock(devNames));
    if (!names) return CString();
    WORD offset = field == DevNamesField::kDriver   ? names->wDriverOffset
                  : field == DevNamesField::kDevice ? names->wDeviceOffset
                                                    : names->wOutputOffset;
    CString text(reinterpret_cast<const char*>(names) + offset);
    ::GlobalUnlock(devNames);
    return text;
}
}  // namespace

CString AFXAPI AfxDevNamesDriver(HGLOBAL devNames) { return DevNamesString(devNames, DevNamesField::kDriver); }
CString AFXAPI AfxDevNamesDevice(HGLOBAL devNames) { return DevNamesString(devNames, DevNamesField::kDevice); }
CString AFXAPI AfxDevNamesPort(HGLOBAL devNames) { return DevNamesString(devNames, DevNamesField::kPort); }

// ---- page set-up dialog

CPageSetupDialog::CPageSetupDialog(DWORD flags, CWnd* parent) : CCommonDialog(parent)
{
    m_psd = {};
    m_psd.lStructSize = sizeof(m_psd);
    m_psd.Flags = flags;
}

INT_PTR CPageSetupDialog::DoModal()
{
    // Without a default printer the system shows a modal "no printer" box of its own
    // even when only defaults are asked for: never get that far.
    if (!AfxHasDefaultPrinter()) return IDCANCEL;
    m_psd.hwndOwner = OwnerForDialog();
    return DialogResult(AfxGetPrinterDCProvider()->PageSetupDlg(m_psd), "PageSetupDlg");
}

void CPageSetupDialog::GetMargins(LPRECT margins, LPRECT minMargins) const
{
    if (margins) *margins = m_psd.rtMargin;
    if (minMargins) *minMargins = m_psd.rtMinMargin;
}

LPDEVMODEA CPageSetupDialog::GetDevMode() const
{
    return m_psd.hDevMode ? static_cast<LPDEVMODEA>(::GlobalLock(m_psd.hDevMode)) : nullptr;
}

CDC* CPageSetupDialog::CreatePrinterDC()
{
    return AfxGetPrinterDCProvider()->CreatePrinterDC(m_psd.hDevNames, m_psd.hDevMode);
}

// ---- print dialog

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent) : CCommonDialog(parent)
{
    m_pd = {};
    m_pd.lStructSize = sizeof(m_pd);
    m_pd.Flags = flags | (printSetupOnly ? PD_PRINTSETUP : PD_RETURNDC);
    m_pd.nMinPage = 1;
    m_pd.nMaxPage = 0xFFFF;
    m_pd.nFromPage = 1;
    m_pd.nToPage = 0xFFFF;
    m_pd.nCopies = 1;
}

CPrintDialog::~CPrintDialog() { delete m_pPrinterDC; }

BOOL CPrintDialog::RunProvider(DWORD extraFlags)
{
    if (!AfxHasDefaultPrinter()) return FALSE;
    delete m_pPrinterDC;
    m_pPrinterDC = nullptr;
    m_pd.hDC = nullptr;
    const DWORD dcFlags = PD_RETURNDC | PD_RETURNIC;
    DWORD asked = m_pd.Flags;
    m_pd.Flags = (asked | extraFlags) & ~dcFlags;
    m_pd.hwndOwner = OwnerForDialog();
    BOOL ok = AfxGetPrinterDCProvider()->PrintDlg(m_pd);
    // The dialog's answers (range, collation...) stay; the request bits come back.
    m_pd.Flags = (m_pd.Flags & ~extraFlags) | (asked & dcFlags);
    if (DialogResult(ok, "PrintDlg") != IDOK) return FALSE;
    if (asked & dcFlags) {
        m_pPrinterDC = CreatePrinterDC();
        m_pd.hDC = m_pPrinterDC ? m_pPrinterDC->m_hDC : nullptr;
    }
    return TRUE;
}

INT_PTR CPrintDialog::DoModal() { return RunProvider(0) ? IDOK : IDCANCEL; }

BOOL CPrintDialog::GetDefaults() { return RunProvider(PD_RETURNDEFAULT); }

CDC* CPrintDialog::CreatePrinterDC()
{
    return AfxGetPrinterDCProvider()->CreatePrinterDC(m_pd.hDevNames, m_pd.hDevMode);
}

int CPrintDialog::GetCopies() const
{
    if ((m_pd.Flags & PD_USEDEVMODECOPIES) && m_pd.hDevMode) {
        auto* dm = static_cast<const DEVMODEA*>(::GlobalLock(m_pd.hDevMode));
        int copies = dm ? dm->dmCopies : 1;
        ::GlobalUnlock(m_pd.hDevMode);
        return copies;
    }
    return m_pd.nCopies;
}

LPDEVMODEA CPrintDialog::GetDevMode() const
{
    return m_pd.hDevMode ? static_cast<LPDEVMODEA>(::GlobalLock(m_pd.hDevMode)) : nullptr;
}
