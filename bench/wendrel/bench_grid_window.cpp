// Speed of the grid window on a 50,000-row by 10-column grid built as the
// console builds it (a filter decorator over a border decorator with column
// labels over the data): setting the view (laying out and measuring every
// row), scrolling one page down and repainting the window, a wheel notch,
// a page up from the last row, and a full repaint. Prints one line per
// figure, in milliseconds.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "grid/grid_border.h"
#include "grid/grid_filter.h"
#include "grid/grid_title.h"
#include "grid/grid_vector.h"
#include "gridwnd/grid_ctrl.h"

namespace {

constexpr int kRows = 50000;
constexpr int kColumns = 10;

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double Median(int runs, const std::function<void()>& work)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const double start = Now();
        work();
        t.push_back(Now() - start);
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void Report(const char* what, double ms) { std::printf("%-58s %10.2f ms\n", what, ms); }

CDefGridView* Build()
{
    auto* data = new CVectorGridView;
    data->Resize(kColumns, kRows);
    char text[64];
    unsigned seed = 12345;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            seed = seed * 1103515245u + 12345u;
            std::snprintf(text, sizeof text, "cell %u-%u", unsigned(c), (seed >> 8) % 100000u);
            data->SetCellText(c, r, text);
        }
    auto* labels = new CTitleGridView(true);
    for (int c = 0; c < kColumns; ++c) {
        std::snprintf(text, sizeof text, "Column %d", c);
        labels->SetColumnLabel(c, text, 1);
    }
    auto* border = new CBorderDecorator(data);
    border->SetBorderView(GRID_ELEMENT_HEADER, labels);
    return new CFilterDecorator(border);
}

}  // namespace

int main()
{
    HWND owner = ::CreateWindowExA(0, "STATIC", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1280, 1024, nullptr, nullptr,
                                   ::GetModuleHandleA(nullptr), nullptr);
    CDefGridCtrl grid;
    // Without a display there is no window to lay out or paint, and every
    // figure would read 0: refuse instead of reporting them.
    if (!owner || !grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 1280, 1024), CWnd::FromHandle(owner), 1)) {
        std::fprintf(stderr, "bench_grid_window: no grid window (run it with a display: wine-run.sh --display)\n");
        return 1;
    }
    CDefGridView* view = nullptr;
    const double start = Now();
    view = Build();
    Report("fill the data view (50,000 x 10)", Now() - start);
    const double layout = Now();
    grid.SetView(view);
    Report("set the view: lay out and measure every row", Now() - layout);
    grid.UpdateWindow();
    Report("scroll one page down and repaint", Median(21, [&] {
               grid.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
               grid.UpdateWindow();
           }));
    Report("one wheel notch and repaint", Median(21, [&] {
               grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(-120))), 0);
               grid.UpdateWindow();
           }));
    // Far down the rows a page costs what it costs at the top.
    grid.SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    grid.UpdateWindow();
    Report("scroll one page up from the last row and repaint", Median(21, [&] {
               grid.SendMessage(WM_VSCROLL, SB_PAGEUP, 0);
               grid.UpdateWindow();
           }));
    Report("full repaint of one screen", Median(21, [&] {
               grid.Invalidate(FALSE);
               grid.UpdateWindow();
           }));
    grid.DestroyWindow();
    ::DestroyWindow(owner);
    return 0;
}
