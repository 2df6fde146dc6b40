// Printing a grid through a recording printer: pages cut across first, each
// page's cells inside its clip, and the centred footers; the same through a
// view's print loop, to the recording printer and to a PostScript file.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "afxdlgs.h"
#include "afxext.h"
#include "afxres.h"
#include "grid_test_util.h"
#include "gridwnd/grid_ctrl.h"
#include "gridwnd/grid_print.h"
#include "wprint.h"
#include "wtest.h"

namespace {

// Dark pixels (the footer's text) in a band of a page.
int DarkPixels(const wprint::Page& page, int top, int bottom, int left, int right)
{
    int n = 0;
    for (int y = std::max(0, top); y < std::min(bottom, page.height); ++y)
        for (int x = std::max(0, left); x < std::min(right, page.width); ++x) {
            const COLORREF c = page.At(x, y);
            if (GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128) ++n;
        }
    return n;
}

// A view that shows a grid and prints it as the console's views do: its
// print handlers hand over to the grid's.
class CGridPrintView : public CView {
public:
    CDefGridCtrl grid;
    UINT pagesCounted = 0;

    void OnDraw(CDC*) override {}
    // Three 500-pixel columns: three pages across.
    bool MakeGrid()
    {
        if (!grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), this, 5)) return false;
        gt::Chain chain = gt::MakeChain({{"A", COLUMN_TYPE_TEXT}, {"B", COLUMN_TYPE_TEXT}, {"C", COLUMN_TYPE_TEXT}},
                                        {{"a1", "b1", "c1"}, {"a2", "b2", "c2"}, {"a3", "b3", "c3"}});
        grid.SetView(chain.owner.release());
        for (int c = 0; c < 3; ++c) grid.SetColumnWidth(c, 500);
        return true;
    }
    void OnBeginPrinting(CDC* dc, CPrintInfo* info) override
    {
        DefGrid_OnBeginPrinting(&grid, CRect(500, 500, 500, 500), dc, info);
        pagesCounted = info->GetMaxPage();
    }
    void OnPrint(CDC* dc, CPrintInfo* info) override { DefGrid_OnPrint(dc, info); }
    void OnEndPrinting(CDC* dc, CPrintInfo* info) override { DefGrid_OnEndPrinting(dc, info); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGridPrintView, CView)
    ON_COMMAND(ID_FILE_PRINT_DIRECT, CView::OnFilePrint)
END_MESSAGE_MAP()

// A frame with one grid view; the frame (and with it the view) is deleted
// when its window goes.
struct PrintFrame {
    CFrameWnd* frame = new CFrameWnd;
    CGridPrintView* view = new CGridPrintView;
    bool ok = false;

    PrintFrame()
    {
        if (!frame->Create(nullptr, "Grid print", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300))) {
            delete frame;
            frame = nullptr;
            delete view;
            return;
        }
        if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), frame, AFX_IDW_PANE_FIRST)) {
            delete view;
            return;
        }
        frame->SetActiveView(view);
        ok = view->MakeGrid();
    }
    ~PrintFrame()
    {
        if (frame) frame->DestroyWindow();
    }
    void PrintDirect() { view->SendMessage(WM_COMMAND, ID_FILE_PRINT_DIRECT); }
};

std::string ReadWholeFile(const std::string& path)
{
    HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::string();
    std::string text(::GetFileSize(f, nullptr), '\0');
    DWORD got = 0;
    ::ReadFile(f, text.data(), DWORD(text.size()), &got, nullptr);
    ::CloseHandle(f);
    text.resize(got);
    return text;
}

// Points a printer's port at a file (level 2, the level the spooler keeps
// the port in), and reads it back.
bool SetPrinterPort(const char* name, const std::string& file)
{
    HANDLE handle = nullptr;
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!::OpenPrinterA(const_cast<LPSTR>(name), &handle, &access) || !handle) return false;
    DWORD needed = 0;
    ::GetPrinterA(handle, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    bool ok = needed && ::GetPrinterA(handle, 2, buffer.data(), needed, &needed);
    if (ok) {
        auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
        info->pPortName = const_cast<LPSTR>(file.c_str());
        info->pSecurityDescriptor = nullptr;
        ok = ::SetPrinterA(handle, 2, buffer.data(), 0) != FALSE;
    }
    if (ok) {
        ::GetPrinterA(handle, 2, nullptr, 0, &needed);
        std::vector<BYTE> check(needed ? needed : 1);
        ok = needed && ::GetPrinterA(handle, 2, check.data(), needed, &needed) &&
             file == reinterpret_cast<PRINTER_INFO_2A*>(check.data())->pPortName;
    }
    ::ClosePrinter(handle);
    return ok;
}

int CountOf(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

WTEST(a_grid_view_prints_three_pages_through_the_print_loop)
{
    wprint::RecordingPrinter printer;
    wprint::ScopedPrinter use(&printer);
    PrintFrame f;
    WCHECK(f.ok);
    if (!f.ok) return;
    f.PrintDirect();
    WCHECK_EQ(f.view->pagesCounted, 3u);
    WCHECK_EQ(printer.journal.Calls(), std::string("SetAbortProc, StartDoc Grid print, StartPage, EndPage, StartPage, "
                                                   "EndPage, StartPage, EndPage, EndDoc"));
    WCHECK_EQ(int(printer.journal.pages.size()), 3);
    // Each page: its column's cells at the top left, its own footer.
    std::vector<std::string> footers;
    for (const wprint::Page& page : printer.journal.pages) {
        WCHECK(DarkPixels(page, 0, 100, 0, 100) > 0);
        WCHECK_EQ(DarkPixels(page, 0, page.height - 40, 540, page.width), 0);
        std::string band;
        for (int y = page.height - 40; y < page.height; ++y)
            for (int x = page.width / 2 - 40; x < page.width / 2 + 40; ++x) band += page.At(x, y) == 0xFFFFFF ? '.' : '#';
        WCHECK(band.find('#') != std::string::npos);
        footers.push_back(band);
    }
    if (footers.size() == 3) WCHECK(footers[0] != footers[1] && footers[1] != footers[2]);

    // Without a printer nothing is asked and nothing printed.
    printer.hasPrinter = false;
    printer.journal = wprint::PrintJournal{};
    const int asked = printer.printDialogs, dcs = printer.dcsMade;
    f.PrintDirect();
    WCHECK_EQ(printer.journal.Calls(), std::string());
    WCHECK_EQ(printer.printDialogs, asked);
    WCHECK_EQ(printer.dcsMade, dcs);
}

WTEST(a_grid_view_prints_to_a_postscript_file)
{
    const std::string installed = wprint::InstallFilePrinter("Tarvane Grid Printer");
    WCHECK_EQ(installed, std::string());
    if (!installed.empty()) return;
    // The printer writes each job to one file: its port names the file.
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    const std::string output = std::string(dir) + "tarvane-grid.ps";
    ::DeleteFileA(output.c_str());
    // Printing must never stop at the spooler's file-name prompt: without the
    // port set, nothing is printed.
    if (!SetPrinterPort("Tarvane Grid Printer", output)) {
        WCHECK(!"the printer's port could not be set to the output file");
        return;
    }
    PrintFrame f;
    WCHECK(f.ok);
    if (!f.ok) return;
    f.PrintDirect();
    WCHECK_EQ(f.view->pagesCounted, 3u);
    const std::string ps = ReadWholeFile(output);
    WCHECK_EQ(ps.substr(0, 14), std::string("%!PS-Adobe-3.0"));
    WCHECK_EQ(CountOf(ps, "%%Page: "), 3);
    WCHECK(ps.find("%%Pages: 3") != std::string::npos);
    WCHECK(ps.find("%%Title: Grid print") != std::string::npos);
    ::DeleteFileA(output.c_str());
}

WTEST(a_grid_three_columns_wide_prints_on_three_pages_with_footers)
{
    HWND owner = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    CDefGridCtrl grid;
    gt::Chain chain = gt::MakeChain({{"A", COLUMN_TYPE_TEXT}, {"B", COLUMN_TYPE_TEXT}, {"C", COLUMN_TYPE_TEXT}},
                                    {{"a1", "b1", "c1"}, {"a2", "b2", "c2"}, {"a3", "b3", "c3"}});
    WCHECK(grid.Create(WS_CHILD, CRect(0, 0, 300, 200), CWnd::FromHandle(owner), 5));
    grid.SetView(chain.owner.release());
    for (int c = 0; c < 3; ++c) grid.SetColumnWidth(c, 500);

    wprint::PrinterGeometry geometry;
    wprint::PrintJournal journal;
    wprint::RecordingPrinterDC dc(geometry, &journal);
    CPrintInfo info;
    // 5 mm margins: 20 printer pixels, inside the 25-pixel unprintable edge.
    DefGrid_OnBeginPrinting(&grid, CRect(500, 500, 500, 500), &dc, &info);
    auto* print = static_cast<CDefGridPrint*>(info.m_lpUserData);
    WCHECK(print != nullptr);
    if (!print) return;
    WCHECK(print->GetMargins() == CRect(0, 0, 0, 0));
    WCHECK_EQ(print->GetPageCount(), 3);
    WCHECK_EQ(info.GetMaxPage(), 3u);
    for (int p = 0; p < 3; ++p) {
        WCHECK(print->GetPage(p).range == CELL_RANGE(p, 0, p + 1, 4));
        WCHECK_EQ(print->GetPage(p).origin.x, 500 * p - 1);
        WCHECK_EQ(print->GetPage(p).origin.y, -1);
    }
    WCHECK_EQ(print->GetColumnWidth(2), 500L);

    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = "grid";
    dc.StartDoc(&doc);
    for (UINT page = 1; page <= 3; ++page) {
        dc.StartPage();
        info.m_nCurPage = page;
        DefGrid_OnPrint(&dc, &info);
        dc.EndPage();
    }
    dc.EndDoc();
    DefGrid_OnEndPrinting(&dc, &info);
    WCHECK(info.m_lpUserData == nullptr);
    WCHECK_EQ(journal.Calls(), std::string("StartDoc grid, StartPage, EndPage, StartPage, EndPage, StartPage, EndPage, EndDoc"));
    WCHECK_EQ(int(journal.pages.size()), 3);
    if (journal.pages.size() != 3) return;

    // The footer sits under the body, centred: text in the middle of the
    // band, none at its ends; the three footers differ ("1 of 3", ...).
    std::vector<std::string> footers;
    for (const wprint::Page& page : journal.pages) {
        const int bodyBottom = page.height - 40;
        WCHECK(DarkPixels(page, bodyBottom, page.height, page.width / 2 - 40, page.width / 2 + 40) > 0);
        WCHECK_EQ(DarkPixels(page, bodyBottom, page.height, 0, page.width / 2 - 60), 0);
        WCHECK_EQ(DarkPixels(page, bodyBottom, page.height, page.width / 2 + 60, page.width), 0);
        std::string band;
        for (int y = bodyBottom; y < page.height; ++y)
            for (int x = page.width / 2 - 40; x < page.width / 2 + 40; ++x) band += page.At(x, y) == 0xFFFFFF ? '.' : '#';
        footers.push_back(band);
    }
    WCHECK(footers[0] != footers[1] && footers[1] != footers[2]);
    // Each page shows its own column's cells: text in the first 500 logical
    // units of the body, nothing right of them.
    for (const wprint::Page& page : journal.pages) {
        WCHECK(DarkPixels(page, 0, 100, 0, 100) > 0);
        WCHECK_EQ(DarkPixels(page, 0, page.height - 40, 540, page.width), 0);
    }
    grid.DestroyWindow();
    ::DestroyWindow(owner);
}

namespace {

// A grid of the given column widths over rows of one-word cells, cut into
// pages for the recording printer; the pages stay in the print info until
// EndPrinting.
struct PageCut {
    HWND owner = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    CDefGridCtrl grid;
    wprint::PrinterGeometry geometry;
    wprint::RecordingPrinterDC dc{geometry, nullptr};
    CPrintInfo info;
    CDefGridPrint* print = nullptr;

    // tallRow, when given, is a data row of 150 lines in its first cell.
    PageCut(const std::vector<int>& widths, int rows, int tallRow = -1)
    {
        std::vector<std::pair<std::string, int>> labels;
        for (size_t c = 0; c < widths.size(); ++c) labels.push_back({"L" + std::to_string(c), COLUMN_TYPE_TEXT});
        std::vector<std::vector<std::string>> data(size_t(rows), std::vector<std::string>(widths.size(), "x"));
        if (tallRow >= 0) {
            std::string lines = "line";
            for (int i = 1; i < 150; ++i) lines += "\nline";
            data[size_t(tallRow)][0] = lines;
        }
        gt::Chain chain = gt::MakeChain(labels, data);
        grid.Create(WS_CHILD, CRect(0, 0, 300, 200), CWnd::FromHandle(owner), 5);
        grid.SetView(chain.owner.release());
        for (size_t c = 0; c < widths.size(); ++c) grid.SetColumnWidth(int(c), widths[c]);
        DefGrid_OnBeginPrinting(&grid, CRect(1000, 1000, 1000, 1000), &dc, &info);
        print = static_cast<CDefGridPrint*>(info.m_lpUserData);
    }
    ~PageCut()
    {
        DefGrid_OnEndPrinting(&dc, &info);
        grid.DestroyWindow();
        ::DestroyWindow(owner);
    }
};

}  // namespace

WTEST(pages_are_cut_across_first_then_down)
{
    // The body's size depends on the printer and the margins alone.
    CSize body;
    {
        PageCut probe({10}, 1);
        WCHECK(probe.print != nullptr);
        if (!probe.print) return;
        body = probe.print->GetBodySize();
    }
    const int w = body.cx;
    WCHECK(w > 200 && body.cy > 200);
    // (columns' widths, data rows, a data row taller than the body, first
    // column of each column band, row bands)
    const struct {
        const char* name;
        std::vector<int> widths;
        int rows, tallRow;
        std::vector<int> columnStarts;
        int rowBands;
    } cases[] = {
        {"one page", {w / 5, w / 5, w / 5}, 3, -1, {0}, 1},
        {"two wide and two tall", {w * 3 / 5, w * 3 / 5}, 80, -1, {0, 1}, 2},
        {"a column wider than the body", {w + 40, w / 3, w / 3}, 3, -1, {0, 1}, 1},
        {"columns filling the body less one unit", {w / 2, w - 1 - w / 2, 10}, 3, -1, {0, 2}, 1},
        {"columns filling the whole body", {w / 2, w - w / 2, 10}, 3, -1, {0, 1}, 1},
        {"a row taller than the body", {w / 5}, 3, 1, {0}, 3},
    };
    for (const auto& c : cases) {
        PageCut cut(c.widths, c.rows, c.tallRow);
        if (c.tallRow >= 0 && cut.print) WCHECK(cut.print->GetRows()[size_t(c.tallRow) + 1].height > body.cy);
        CDefGridPrint* print = cut.print;
        WCHECK(print != nullptr);
        if (!print) continue;
        const int across = int(c.columnStarts.size()), columns = int(c.widths.size()), rows = c.rows + 1;
        WCHECK_EQ(print->GetPageCount(), across * c.rowBands);
        WCHECK_EQ(int(cut.info.GetMaxPage()), across * c.rowBands);
        if (print->GetPageCount() != across * c.rowBands) {
            std::printf("  in case: %s\n", c.name);
            continue;
        }
        const std::vector<ROW_INFO>& layoutRows = print->GetRows();
        int bandTop = 0;
        for (int band = 0; band < c.rowBands; ++band) {
            const CELL_IMAGE& first = print->GetPage(band * across);
            WCHECK_EQ(first.range.top, bandTop);
            const int bottom = first.range.bottom;
            WCHECK(bottom > bandTop && bottom <= rows);
            // The band's rows fit the body (a single row always goes), and
            // the next row would not.
            const int top = layoutRows[size_t(bandTop)].position;
            auto endOf = [&](int r) { return layoutRows[size_t(r)].position + layoutRows[size_t(r)].height - top; };
            WCHECK(bottom == bandTop + 1 || endOf(bottom - 1) <= body.cy - 1);
            if (bottom < rows) WCHECK(endOf(bottom) > body.cy - 1);
            for (int k = 0; k < across; ++k) {
                const CELL_IMAGE& page = print->GetPage(band * across + k);
                const int right = k + 1 < across ? c.columnStarts[size_t(k) + 1] : columns;
                WCHECK(page.range == CELL_RANGE(c.columnStarts[size_t(k)], bandTop, right, bottom));
                WCHECK_EQ(page.origin.x, print->GetColumns()[size_t(c.columnStarts[size_t(k)])].position -
                                             print->GetMargins().left - 1);
                WCHECK_EQ(page.origin.y, top - print->GetMargins().top - 1);
            }
            bandTop = bottom;
        }
        WCHECK_EQ(bandTop, rows);
    }
}
