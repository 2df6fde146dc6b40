// Printing a grid through a recording printer: pages cut across first, each
// page's cells inside its clip, and the centred footers.
#include <algorithm>
#include <string>
#include <vector>

#include "afxdlgs.h"
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

}  // namespace

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
