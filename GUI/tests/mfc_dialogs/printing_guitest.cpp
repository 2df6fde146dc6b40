// Common dialogs and printing under Wine. Without a printer (a fresh prefix) the print
// dialogs answer at once and never create a window (the system's page set-up would put
// up a modal "no printer" box). The dialogs' set-up structures carry the callers'
// flags, filters and defaults; the file, colour, font and page set-up dialogs run for
// real, answered from inside their own loop. A job of three pages goes through the
// printing primitives into a recording printer, page by page and pixel by pixel, and
// through the system's printing into a PostScript file on a print-to-file printer.
#include "afxdlgs.h"

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "wprint.h"
#include "wtest.h"

namespace {

// Refuses and counts every window made while it lives, so that a dialog that would
// block shows nothing and the test goes on.
class WindowGuard {
public:
    WindowGuard() { s_hook = ::SetWindowsHookExA(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId()); }
    ~WindowGuard()
    {
        ::UnhookWindowsHookEx(s_hook);
        s_hook = nullptr;
    }
    static int refused;

private:
    static HHOOK s_hook;
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            ++refused;
            return 1;
        }
        return ::CallNextHookEx(s_hook, code, wParam, lParam);
    }
};
int WindowGuard::refused = 0;
HHOOK WindowGuard::s_hook = nullptr;

// Answers the next system dialog of this thread from inside its modal loop: a timer
// waits until the dialog shows, then acts on it. A dialog the action leaves open is
// cancelled after a while, and that is a failure.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(HWND)> act) : m_act(std::move(act))
    {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 20, &Tick);
    }
    ~DialogDriver()
    {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    bool acted = false;
    bool forced = false;

private:
    static BOOL CALLBACK FindDialog(HWND h, LPARAM out)
    {
        char cls[16] = "";
        ::GetClassNameA(h, cls, sizeof cls);
        if (std::string(cls) == "#32770" && ::IsWindowVisible(h) && ::IsWindowEnabled(h)) {
            *reinterpret_cast<HWND*>(out) = h;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        DialogDriver* d = s_current;
        if (!d) return;
        HWND dialog = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &FindDialog, (LPARAM)&dialog);
        if (!dialog) return;
        if (!d->acted) {
            d->acted = true;
            d->m_act(dialog);
        } else if (++d->m_ticksAfter > 250) {
            d->forced = true;
            ::PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    }
    static DialogDriver* s_current;
    std::function<void(HWND)> m_act;
    UINT_PTR m_timer = 0;
    int m_ticksAfter = 0;
};
DialogDriver* DialogDriver::s_current = nullptr;

void PressOk(HWND dialog) { ::SendMessageA(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }

std::string TempDir()
{
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    std::string s = dir;
    if (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

std::string ReadFile(const std::string& path)
{
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::string();
    std::string text(::GetFileSize(f, nullptr), '\0');
    DWORD got = 0;
    ::ReadFile(f, text.data(), (DWORD)text.size(), &got, nullptr);
    ::CloseHandle(f);
    text.resize(got);
    return text;
}

int Count(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

BOOL CALLBACK KeepPrinting(HDC, int) { return TRUE; }

// Page n carries n black bars, 10 pixels wide and 40 apart, from the top left corner
// of the printable area, drawn in screen units scaled to the printer's resolution.
void PrintBars(CDC& dc, CPrintInfo& info)
{
    CClientDC screen(nullptr);
    int screenDpi = screen.GetDeviceCaps(LOGPIXELSX);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(screenDpi, screenDpi);
    dc.SetViewportExt(dc.GetDeviceCaps(LOGPIXELSX), dc.GetDeviceCaps(LOGPIXELSY));
    CBrush black(RGB(0, 0, 0));
    for (UINT bar = 0; bar < info.m_nCurPage; ++bar) {
        // 10 and 40 printer pixels in screen units.
        int x = MulDiv(40 * (int)bar, screenDpi, dc.GetDeviceCaps(LOGPIXELSX));
        int w = MulDiv(10, screenDpi, dc.GetDeviceCaps(LOGPIXELSX));
        CRect r(x, 0, x + w, MulDiv(100, screenDpi, dc.GetDeviceCaps(LOGPIXELSY)));
        dc.FillRect(&r, &black);
    }
    dc.SetMapMode(MM_TEXT);
}

// Bars along the top row of a page: how many black runs start on row 5.
int BarsOn(const wprint::Page& page)
{
    int bars = 0;
    bool inBar = false;
    for (int x = 0; x < page.width; ++x) {
        bool black = page.At(x, 5) == RGB(0, 0, 0);
        if (black && !inBar) ++bars;
        inBar = black;
    }
    return bars;
}

}  // namespace

WTEST(without_a_printer_the_print_dialogs_answer_at_once_and_show_nothing)
{
    WCHECK(!AfxHasDefaultPrinter());
    {
        WindowGuard guard;
        WindowGuard::refused = 0;
        CPageSetupDialog setup(PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS);
        WCHECK_EQ(setup.DoModal(), INT_PTR(IDCANCEL));
        CPrintDialog print(FALSE);
        WCHECK_EQ(print.DoModal(), INT_PTR(IDCANCEL));
        WCHECK(!print.GetDefaults());
        CPrintDialog printSetup(TRUE);
        WCHECK_EQ(printSetup.DoModal(), INT_PTR(IDCANCEL));
        WCHECK(print.GetPrinterCDC() == nullptr);
        CWinApp app("printing test");
        PRINTDLGA pd{};
        WCHECK(!app.GetPrinterDeviceDefaults(&pd));
        WCHECK(pd.hDevNames == nullptr && app.m_hDevNames == nullptr);
        app.OnFilePrintSetup();
        WCHECK_EQ(WindowGuard::refused, 0);
        // What the check spares the caller: the system's own page set-up tries to put
        // up its box even when only the defaults are asked for.
        PAGESETUPDLGA psd{};
        psd.lStructSize = sizeof psd;
        psd.Flags = PSD_RETURNDEFAULT;
        WCHECK(!::PageSetupDlgA(&psd));
        WCHECK(WindowGuard::refused > 0);
    }
}

WTEST(dialog_set_up_carries_the_callers_choices)
{
    CFileDialog save(FALSE, "xml", "Dravik.xml", 0x800006, "XML Files (*.xml)|*.xml|All Files (*.*)|*.*||");
    WCHECK_EQ(save.m_ofn.Flags, DWORD(0x800006 | OFN_EXPLORER));
    WCHECK_EQ(save.m_ofn.nMaxFile, DWORD(260));
    WCHECK_EQ(std::string(save.m_ofn.lpstrFile), std::string("Dravik.xml"));
    WCHECK_EQ(std::string(save.m_ofn.lpstrDefExt), std::string("xml"));
    const char expected[] = "XML Files (*.xml)\0*.xml\0All Files (*.*)\0*.*\0";
    WCHECK(std::memcmp(save.m_ofn.lpstrFilter, expected, sizeof expected) == 0);  // ends with an empty string
    CFileDialog noClosing(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, "Log Files (*.log)|*.log");
    const char closed[] = "Log Files (*.log)\0*.log\0";
    WCHECK(std::memcmp(noClosing.m_ofn.lpstrFilter, closed, sizeof closed) == 0);

    CColorDialog colour(RGB(1, 2, 3), CC_FULLOPEN);
    WCHECK_EQ(colour.m_cc.Flags, DWORD(CC_FULLOPEN | CC_RGBINIT));
    WCHECK_EQ(colour.GetColor(), COLORREF(RGB(1, 2, 3)));
    CColorDialog mixed(0, CC_FULLOPEN);  // columns that disagree: no initial colour
    WCHECK_EQ(mixed.m_cc.Flags, DWORD(CC_FULLOPEN));

    LOGFONTA lf{};
    lf.lfHeight = -13;
    ::lstrcpyA(lf.lfFaceName, "Tahoma");
    CFontDialog font(&lf, CF_SCREENFONTS);
    WCHECK_EQ(font.m_cf.Flags, DWORD(CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT));
    WCHECK(font.m_cf.lpLogFont == &font.m_lf);
    WCHECK_EQ(std::string(font.m_lf.lfFaceName), std::string("Tahoma"));

    CPageSetupDialog setup(PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS);
    WCHECK_EQ(setup.m_psd.Flags, DWORD(PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS));
    CPrintDialog print(FALSE);
    WCHECK(print.m_pd.Flags & PD_RETURNDC);
    CPrintDialog printSetup(TRUE);
    WCHECK(printSetup.m_pd.Flags & PD_PRINTSETUP);
    WCHECK(!(printSetup.m_pd.Flags & PD_RETURNDC));

    CPrintInfo info;
    WCHECK_EQ(info.GetFromPage(), UINT(1));
    info.SetMaxPage(3);
    WCHECK_EQ(info.GetMaxPage(), UINT(3));
    WCHECK_EQ(info.GetToPage(), UINT(3));
    info.m_pPD->m_pd.Flags |= PD_PAGENUMS;  // a range chosen in the dialog
    info.m_pPD->m_pd.nFromPage = 2;
    info.m_pPD->m_pd.nToPage = 2;
    WCHECK_EQ(info.GetFromPage(), UINT(2));
    WCHECK_EQ(info.GetToPage(), UINT(2));
    WCHECK(info.m_bContinuePrinting);
    WCHECK(!info.m_bPreview && !info.m_bDirect && info.m_lpUserData == nullptr);
}

WTEST(file_colour_and_font_dialogs_return_the_choice)
{
    std::string dir = TempDir();
    auto typeName = [](const char* text) {
        return [text](HWND d) {
            HWND name = ::GetDlgItem(d, 1148);  // the file name box
            if (!name) name = ::GetDlgItem(d, 1152);
            ::SetWindowTextA(name, text);
            PressOk(d);
        };
    };
    {
        // Saving adds the default extension to a name typed without one.
        CFileDialog save(FALSE, "xml", "Dravik.xml", 0x800006, "XML Files (*.xml)|*.xml|All Files (*.*)|*.*||");
        save.m_ofn.lpstrInitialDir = dir.c_str();
        save.m_ofn.lpstrTitle = "Save settings";
        DialogDriver driver(typeName("saved"));
        WCHECK_EQ(save.DoModal(), INT_PTR(IDOK));
        WCHECK(driver.acted && !driver.forced);
        WCHECK_EQ(std::string(save.GetPathName()), dir + "\\saved.xml");
        WCHECK_EQ(std::string(save.GetFileName()), std::string("saved.xml"));
        WCHECK_EQ(std::string(save.GetFileExt()), std::string("xml"));
        WCHECK_EQ(std::string(save.GetFileTitle()), std::string("saved"));
    }
    {
        std::string existing = dir + "\\picked.xml";
        ::CloseHandle(::CreateFileA(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        CFileDialog open(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST,
                         "XML Files (*.xml)|*.xml|All Files (*.*)|*.*||");
        open.m_ofn.lpstrInitialDir = dir.c_str();
        DialogDriver driver(typeName("picked.xml"));
        WCHECK_EQ(open.DoModal(), INT_PTR(IDOK));
        WCHECK(driver.acted && !driver.forced);
        WCHECK_EQ(std::string(open.GetPathName()), existing);
    }
    {
        CColorDialog colour(RGB(10, 20, 30), CC_FULLOPEN);
        DialogDriver driver(&PressOk);
        WCHECK_EQ(colour.DoModal(), INT_PTR(IDOK));
        WCHECK(driver.acted && !driver.forced);
        WCHECK_EQ(colour.GetColor(), COLORREF(RGB(10, 20, 30)));
    }
    {
        LOGFONTA lf{};
        lf.lfHeight = -16;
        lf.lfWeight = FW_BOLD;
        ::lstrcpyA(lf.lfFaceName, "Tahoma");
        CFontDialog font(&lf, CF_SCREENFONTS);
        DialogDriver driver(&PressOk);
        WCHECK_EQ(font.DoModal(), INT_PTR(IDOK));
        WCHECK(driver.acted && !driver.forced);
        LOGFONTA chosen{};
        font.GetCurrentFont(&chosen);
        WCHECK_EQ(std::string(chosen.lfFaceName), std::string("Tahoma"));
        WCHECK(font.IsBold());
    }
    {
        CColorDialog colour(RGB(10, 20, 30));
        DialogDriver driver([](HWND d) { ::SendMessageA(::GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); });
        WCHECK_EQ(colour.DoModal(), INT_PTR(IDCANCEL));
    }
}

WTEST(three_pages_through_the_printing_primitives_into_a_recording_printer)
{
    wprint::RecordingPrinter printer;
    wprint::ScopedPrinter scope(&printer);
    WCHECK(AfxHasDefaultPrinter());

    CPrintInfo info;
    info.SetMaxPage(3);
    info.m_bDirect = TRUE;
    WCHECK(info.m_pPD->GetDefaults());  // no dialog for a direct print
    WCHECK_EQ(printer.printDialogs, 1);
    WCHECK_EQ(std::string(info.m_pPD->GetDeviceName()), std::string("Recording Printer"));
    CDC* dc = info.m_pPD->GetPrinterCDC();
    WCHECK(dc != nullptr && dc->m_hDC == info.m_pPD->m_pd.hDC);
    if (!dc) return;
    WCHECK(dc->IsPrinting());
    WCHECK_EQ(dc->GetDeviceCaps(LOGPIXELSX), 100);
    WCHECK_EQ(dc->GetDeviceCaps(PHYSICALOFFSETX), 25);
    info.m_rectDraw.SetRect(0, 0, dc->GetDeviceCaps(HORZRES), dc->GetDeviceCaps(VERTRES));
    WCHECK_EQ(info.m_rectDraw.Width(), 800);

    WCHECK(dc->SetAbortProc(&KeepPrinting) > 0);
    info.m_nJobNumber = dc->StartDoc("Three pages");
    WCHECK(info.m_nJobNumber > 0);
    for (info.m_nCurPage = info.GetFromPage(); info.m_nCurPage <= info.GetToPage() && info.m_bContinuePrinting;
         ++info.m_nCurPage) {
        WCHECK(dc->StartPage() > 0);
        PrintBars(*dc, info);
        WCHECK(dc->EndPage() > 0);
    }
    WCHECK(dc->EndDoc() > 0);

    WCHECK_EQ(printer.journal.Calls(), std::string("SetAbortProc, StartDoc Three pages, StartPage, EndPage, StartPage, "
                                                   "EndPage, StartPage, EndPage, EndDoc"));
    WCHECK_EQ(printer.journal.pages.size(), size_t(3));
    for (size_t i = 0; i < printer.journal.pages.size(); ++i) {
        const wprint::Page& page = printer.journal.pages[i];
        WCHECK_EQ(BarsOn(page), int(i + 1));
        WCHECK_EQ(page.At(0, 0), COLORREF(RGB(0, 0, 0)));
        WCHECK_EQ(page.At(9, 99), COLORREF(RGB(0, 0, 0)));   // 10 x 100 printer pixels
        WCHECK_EQ(page.At(10, 5), COLORREF(RGB(255, 255, 255)));
        WCHECK_EQ(page.At(0, 100), COLORREF(RGB(255, 255, 255)));
    }

    // An abandoned job keeps nothing of its open page.
    std::unique_ptr<CDC> second(info.m_pPD->CreatePrinterDC());
    WCHECK(second != nullptr);
    if (second) {
        second->StartDoc("Abandoned");
        second->StartPage();
        second->AbortDoc();
        WCHECK_EQ(printer.journal.pages.size(), size_t(3));
        WCHECK_EQ(printer.journal.calls.back(), std::string("AbortDoc"));
    }
    ::GlobalFree(info.m_pPD->m_pd.hDevMode);
    ::GlobalFree(info.m_pPD->m_pd.hDevNames);
}

WTEST(the_application_keeps_the_printer_its_dialogs_chose)
{
    wprint::RecordingPrinter printer;
    wprint::ScopedPrinter scope(&printer);
    CWinApp app("printing test");
    // The default printer on first use, lent to the caller.
    PRINTDLGA pd{};
    WCHECK(app.GetPrinterDeviceDefaults(&pd));
    WCHECK(pd.hDevNames != nullptr && pd.hDevNames == app.m_hDevNames && pd.hDevMode == app.m_hDevMode);
    WCHECK_EQ(std::string(AfxDevNamesDevice(app.m_hDevNames)), std::string("Recording Printer"));

    // Page set-up on the application's printer, then the printer chosen there.
    CPageSetupDialog setup(PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS);
    setup.m_psd.hDevNames = pd.hDevNames;
    setup.m_psd.hDevMode = pd.hDevMode;
    WCHECK_EQ(setup.DoModal(), INT_PTR(IDOK));
    app.SelectPrinter(setup.m_psd.hDevNames, setup.m_psd.hDevMode);
    WCHECK(app.m_hDevNames == pd.hDevNames);  // the same memory: nothing freed

    // A job's print dialog starts from the application's printer and hands it back.
    CPrintInfo info;
    WCHECK_EQ(app.DoPrintDialog(info.m_pPD), INT_PTR(IDOK));
    WCHECK(info.m_pPD->m_pd.hDevNames == app.m_hDevNames);
    WCHECK(info.m_pPD->GetPrinterCDC() != nullptr);
    printer.dialogAnswer = FALSE;
    WCHECK_EQ(app.DoPrintDialog(info.m_pPD), INT_PTR(IDCANCEL));
    WCHECK(app.m_hDevNames != nullptr);

    // Another printer replaces the first, whose memory goes.
    HGLOBAL names = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVNAMES) + 3);
    app.SelectPrinter(names, nullptr);
    WCHECK(app.m_hDevNames == names && app.m_hDevMode == nullptr);
    WCHECK_EQ(printer.dcsMade, 1);
}

WTEST(a_print_to_file_printer_prints_three_pages_and_runs_the_print_dialogs)
{
    std::string installed = wprint::InstallFilePrinter("Tarvane File Printer");
    WCHECK_EQ(installed, std::string());
    if (!installed.empty()) return;
    WCHECK(AfxHasDefaultPrinter());

    // The system's printer provider all the way to a PostScript file.
    CPrintInfo info;
    info.SetMaxPage(3);
    WCHECK(info.m_pPD->GetDefaults());
    WCHECK_EQ(std::string(info.m_pPD->GetDeviceName()), std::string("Tarvane File Printer"));
    CDC* dc = info.m_pPD->GetPrinterCDC();
    WCHECK(dc != nullptr);
    if (!dc) return;
    WCHECK(dc->IsPrinting());
    WCHECK_EQ(dc->GetDeviceCaps(LOGPIXELSX), 300);
    std::string output = TempDir() + "\\three.ps";
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = "Three pages";
    doc.lpszOutput = output.c_str();
    WCHECK(dc->StartDoc(&doc) > 0);
    for (info.m_nCurPage = info.GetFromPage(); info.m_nCurPage <= info.GetToPage(); ++info.m_nCurPage) {
        WCHECK(dc->StartPage() > 0);
        CString text;
        text.Format("page %u of 3", info.m_nCurPage);
        dc->TextOut(100, 100, text);
        WCHECK(dc->EndPage() > 0);
    }
    WCHECK(dc->EndDoc() > 0);
    std::string ps = ReadFile(output);
    WCHECK_EQ(ps.substr(0, 14), std::string("%!PS-Adobe-3.0"));
    WCHECK_EQ(Count(ps, "%%Page: "), 3);
    WCHECK(ps.find("%%Pages: 3") != std::string::npos);
    WCHECK(ps.find("%%Title: Three pages") != std::string::npos);

    // With a printer the print dialog runs; the DC it was asked for comes from the
    // provider and stays the dialog's.
    {
        CPrintDialog print(FALSE);
        DialogDriver driver(&PressOk);
        WCHECK_EQ(print.DoModal(), INT_PTR(IDOK));
        WCHECK(driver.acted && !driver.forced);
        WCHECK(print.GetPrinterCDC() != nullptr && print.GetPrinterDC() == print.GetPrinterCDC()->m_hDC);
        WCHECK(print.m_pd.Flags & PD_RETURNDC);
        WCHECK_EQ(std::string(print.GetDeviceName()), std::string("Tarvane File Printer"));
        WCHECK_EQ(print.GetCopies(), 1);
        ::GlobalFree(print.m_pd.hDevMode);
        ::GlobalFree(print.m_pd.hDevNames);
    }

    // With a printer the page set-up dialog runs; it keeps the caller's margins.
    CPageSetupDialog setup(PSD_MARGINS | PSD_INHUNDREDTHSOFMILLIMETERS);
    setup.m_psd.rtMargin = CRect(1500, 1600, 1700, 1800);
    DialogDriver driver(&PressOk);
    WCHECK_EQ(setup.DoModal(), INT_PTR(IDOK));
    WCHECK(driver.acted && !driver.forced);
    CRect margins;
    setup.GetMargins(&margins, nullptr);
    WCHECK(margins == CRect(1500, 1600, 1700, 1800));
    WCHECK_EQ(std::string(setup.GetDeviceName()), std::string("Tarvane File Printer"));
    WCHECK(setup.GetPaperSize().cx > 0);
    ::GlobalFree(setup.m_psd.hDevMode);
    ::GlobalFree(setup.m_psd.hDevNames);
    ::GlobalFree(info.m_pPD->m_pd.hDevMode);
    ::GlobalFree(info.m_pPD->m_pd.hDevNames);
}
