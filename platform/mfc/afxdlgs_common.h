// The common dialogs (file, colour, font, page set-up, print) over the system's
// commdlg functions. Each object holds the system's set-up structure (m_ofn, m_cc, m_cf,
// m_psd, m_pd) filled by its constructor; callers adjust it before DoModal, which runs
// the system dialog modally and answers IDOK or IDCANCEL. The owner is the parent
// given, else the application's main window.
//
// Printing dialogs never block on a missing printer: without a default printer (as on
// Wine without a print system) they answer IDCANCEL or FALSE at once and show nothing,
// so the caller reports it its own way (AfxHasDefaultPrinter tells beforehand). They
// reach the printers through the layer's printer provider (afx_print.h), which tests
// replace. The DEVMODE and DEVNAMES memory in m_pd and m_psd belongs to the caller, as
// with the system functions. GUI thread only.
#pragma once
#include "afxwin.h"
#include <commdlg.h>
#include <string>

class TRVMFC_API CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* parent = nullptr) { m_pParentWnd = parent; }

protected:
    // The top-level window that owns the system dialog.
    HWND OwnerForDialog() const { return OwnerWindow(); }
};

class TRVMFC_API CFileDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    OPENFILENAMEA m_ofn;

    // filter: "Name|pattern|Name|pattern||". The explorer style is always on; flags are
    // the caller's otherwise. The file name field holds up to 260 characters.
    explicit CFileDialog(BOOL openFileDialog, LPCSTR defaultExt = nullptr, LPCSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr,
                         CWnd* parent = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    INT_PTR DoModal() override;

    // The chosen file: full path, name with extension, extension, name without it.
    CString GetPathName() const { return CString(m_szFileName); }
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;

protected:
    BOOL m_bOpenFileDialog;
    char m_szFileName[260]{};
    char m_szFileTitle[260]{};
    std::string m_filter;  // '|' turned into '\0', two '\0' at the end
    CString m_strDefExt;
};

class TRVMFC_API CColorDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CColorDialog)
public:
    CHOOSECOLORA m_cc;

    // A non-zero initial colour is preselected (CC_RGBINIT).
    explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
    CColorDialog(const CColorDialog&) = delete;
    CColorDialog& operator=(const CColorDialog&) = delete;

    INT_PTR DoModal() override;
    COLORREF GetColor() const { return m_cc.rgbResult; }
    void SetCurrentColor(COLORREF c) { m_cc.rgbResult = c; m_cc.Flags |= CC_RGBINIT; }

protected:
    COLORREF m_custom[16];  // the dialog's custom colours, white at first
};

class TRVMFC_API CFontDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFontDialog)
public:
    CHOOSEFONTA m_cf;
    LOGFONTA m_lf{};  // the chosen font; m_cf points here

    // With an initial font the dialog starts from it (CF_INITTOLOGFONTSTRUCT).
    explicit CFontDialog(const LOGFONTA* initial = nullptr, DWORD flags = CF_EFFECTS | CF_SCREENFONTS,
                         CDC* printerDC = nullptr, CWnd* parent = nullptr);
    CFontDialog(const CFontDialog&) = delete;
    CFontDialog& operator=(const CFontDialog&) = delete;

    INT_PTR DoModal() override;
    void GetCurrentFont(LPLOGFONTA lf) const { *lf = m_lf; }
    CString GetFaceName() const { return CString(m_lf.lfFaceName); }
    int GetSize() const { return m_cf.iPointSize; }  // tenths of a point
    COLORREF GetColor() const { return m_cf.rgbColors; }
    int GetWeight() const { return (int)m_lf.lfWeight; }
    BOOL IsBold() const { return m_lf.lfWeight >= FW_SEMIBOLD; }
    BOOL IsItalic() const { return m_lf.lfItalic != 0; }
    BOOL IsUnderline() const { return m_lf.lfUnderline != 0; }
    BOOL IsStrikeOut() const { return m_lf.lfStrikeOut != 0; }
};

// Names of the printer described by a DEVNAMES block (empty without one).
TRVMFC_API CString AFXAPI AfxDevNamesDriver(HGLOBAL devNames);
TRVMFC_API CString AFXAPI AfxDevNamesDevice(HGLOBAL devNames);
TRVMFC_API CString AFXAPI AfxDevNamesPort(HGLOBAL devNames);

class TRVMFC_API CPageSetupDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CPageSetupDialog)
public:
    PAGESETUPDLGA m_psd;

    explicit CPageSetupDialog(DWORD flags = PSD_MARGINS | PSD_INWININIINTLMEASURE, CWnd* parent = nullptr);
    CPageSetupDialog(const CPageSetupDialog&) = delete;
    CPageSetupDialog& operator=(const CPageSetupDialog&) = delete;

    // IDCANCEL at once, showing nothing, when there is no default printer.
    INT_PTR DoModal() override;
    // Margins (and the printer's smallest ones) in the dialog's unit: thousandths of an
    // inch or hundredths of a millimetre (PSD_INHUNDREDTHSOFMILLIMETERS).
    void GetMargins(LPRECT margins, LPRECT minMargins) const;
    CSize GetPaperSize() const { return CSize(m_psd.ptPaperSize.x, m_psd.ptPaperSize.y); }
    CString GetDriverName() const { return AfxDevNamesDriver(m_psd.hDevNames); }
    CString GetDeviceName() const { return AfxDevNamesDevice(m_psd.hDevNames); }
    CString GetPortName() const { return AfxDevNamesPort(m_psd.hDevNames); }
    // A locked view of the DEVMODE (valid until the memory is freed), or null.
    LPDEVMODEA GetDevMode() const;
    // A DC of the chosen printer through the printer provider; the caller owns it.
    CDC* CreatePrinterDC();
};

class TRVMFC_API CPrintDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CPrintDialog)
public:
    PRINTDLGA m_pd;

    explicit CPrintDialog(BOOL printSetupOnly,
                          DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                        PD_NOSELECTION,
                          CWnd* parent = nullptr);
    CPrintDialog(const CPrintDialog&) = delete;
    CPrintDialog& operator=(const CPrintDialog&) = delete;
    ~CPrintDialog() override;

    // IDCANCEL at once, showing nothing, when there is no default printer. With
    // PD_RETURNDC the printer's DC comes from the printer provider and stays this
    // object's (GetPrinterCDC; m_pd.hDC is its handle).
    INT_PTR DoModal() override;
    // The default printer into m_pd without a dialog; FALSE when there is none.
    BOOL GetDefaults();
    // A new DC of the chosen printer through the printer provider; the caller owns it.
    CDC* CreatePrinterDC();
    // The DC made for PD_RETURNDC by DoModal or GetDefaults, null otherwise.
    CDC* GetPrinterCDC() const { return m_pPrinterDC; }
    HDC GetPrinterDC() const { return m_pd.hDC; }

    int GetCopies() const;
    BOOL PrintAll() const { return (m_pd.Flags & (PD_PAGENUMS | PD_SELECTION)) == 0; }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    BOOL PrintCollate() const { return (m_pd.Flags & PD_COLLATE) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }
    CString GetDriverName() const { return AfxDevNamesDriver(m_pd.hDevNames); }
    CString GetDeviceName() const { return AfxDevNamesDevice(m_pd.hDevNames); }
    CString GetPortName() const { return AfxDevNamesPort(m_pd.hDevNames); }
    LPDEVMODEA GetDevMode() const;

protected:
    // Runs the provider with the caller's flags less PD_RETURNDC/PD_RETURNIC, then makes
    // the DC itself when it was asked for.
    BOOL RunProvider(DWORD extraFlags);
    CDC* m_pPrinterDC = nullptr;
};
