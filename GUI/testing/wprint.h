// Printers for the Windows tests, through the class layer's printer provider
// (afx_print.h):
//
// - RecordingPrinterDC: a printer DC that draws each page into memory (a 32-bit DIB
//   the size of the printable area), keeps the finished pages and records the print
//   calls in a journal; its device caps describe a printer of the given geometry.
//   GDI's fixed mapping modes still use the screen's resolution underneath, so draw
//   in MM_TEXT or MM_ANISOTROPIC with extents from GetDeviceCaps, as printing code does.
// - RecordingPrinter: a provider whose default printer is such a printer; its dialogs
//   answer at once with DEVNAMES/DEVMODE of "Recording Printer" and count the calls.
// - InstallFilePrinter: makes a PostScript printer that writes to files the default
//   printer of the Wine prefix, so that the system's printing paths run for real.
//
// Test code only; GUI thread.
#pragma once
#include "afxdlgs.h"

#include <string>
#include <vector>

namespace wprint {

// The physical page in printer pixels; the printable area is inset by the offsets on
// every side.
struct PrinterGeometry {
    int dpi = 100;
    int width = 850;
    int height = 1100;
    int offsetX = 25;
    int offsetY = 25;
    int HorzRes() const { return width - 2 * offsetX; }
    int VertRes() const { return height - 2 * offsetY; }
};

struct Page {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;  // 0x00RRGGBB, row by row
    COLORREF At(int x, int y) const;
};

// What the printer saw: "SetAbortProc", "StartDoc <name>", "StartPage", "EndPage",
// "EndDoc", "AbortDoc", and "error: ..." for calls out of order; the pages printed.
struct PrintJournal {
    std::vector<std::string> calls;
    std::vector<Page> pages;
    std::string Calls() const;  // joined with ", "
};

class RecordingPrinterDC : public CDC {
public:
    // The journal outlives the DC.
    RecordingPrinterDC(const PrinterGeometry& geometry, PrintJournal* journal);
    ~RecordingPrinterDC() override;

    int GetDeviceCaps(int index) const override;
    int StartDoc(LPDOCINFOA docInfo) override;
    int StartPage() override;
    int EndPage() override;  // asks the abort procedure, as spooling does
    int EndDoc() override;
    int AbortDoc() override;
    int SetAbortProc(BOOL(CALLBACK* proc)(HDC, int)) override;

private:
    PrinterGeometry m_geometry;
    PrintJournal* m_journal;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    DWORD* m_bits = nullptr;
    bool m_inDoc = false;
    bool m_inPage = false;
    BOOL(CALLBACK* m_abortProc)(HDC, int) = nullptr;
};

class RecordingPrinter : public CPrinterDCProvider {
public:
    PrinterGeometry geometry;
    PrintJournal journal;   // of every DC this printer made
    bool hasPrinter = true;
    BOOL dialogAnswer = TRUE;  // what the interactive dialogs answer
    int printDialogs = 0;
    int pageSetupDialogs = 0;
    int dcsMade = 0;

    BOOL HasDefaultPrinter() override { return hasPrinter; }
    BOOL PrintDlg(PRINTDLGA& pd) override;
    BOOL PageSetupDlg(PAGESETUPDLGA& psd) override;
    CDC* CreatePrinterDC(HGLOBAL devNames, HGLOBAL devMode) override;
};

// Installs the provider for a scope, then puts the previous one back.
class ScopedPrinter {
public:
    explicit ScopedPrinter(CPrinterDCProvider* p) : m_previous(AfxSetPrinterDCProvider(p)) {}
    ~ScopedPrinter() { AfxSetPrinterDCProvider(m_previous); }
    ScopedPrinter(const ScopedPrinter&) = delete;
    ScopedPrinter& operator=(const ScopedPrinter&) = delete;

private:
    CPrinterDCProvider* m_previous;
};

// Empty on success, else which step failed and why.
std::string InstallFilePrinter(const char* name);

}  // namespace wprint
