// Speed of the grid model on a 50,000-row by 10-column vector view, built as
// the console builds its grids (a filter decorator over a border decorator
// with typed column labels over a grid-lines decorator over the data):
// filling, collecting the column values, sorting by each type of column,
// filtering, saving and loading filters, a value list, and render passes
// (measuring every row, drawing every cell, drawing and hit-testing one
// screen) into a 32-bit DIB. Prints one line per figure, in milliseconds.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grid/grid_border.h"
#include "grid/grid_draw_device.h"
#include "grid/grid_filter.h"
#include "grid/grid_filter_list.h"
#include "grid/grid_hittest.h"
#include "grid/grid_lines.h"
#include "grid/grid_text_device.h"
#include "grid/grid_title.h"
#include "grid/grid_vector.h"

namespace {

constexpr int kRows = 50000;
constexpr int kColumns = 10;
constexpr int kScreenWidth = 1280, kScreenHeight = 1024;
constexpr int kRowHeight = 18, kColumnWidth = 120;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double Time(const std::function<void()>& work) {
    const double start = Now();
    work();
    return Now() - start;
}

// The median of several runs, each after an untimed preparation.
double Median(int runs, const std::function<void()>& work, const std::function<void()>& prepare = nullptr) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        if (prepare) prepare();
        t.push_back(Time(work));
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

void Report(const char* what, double ms) { std::printf("%-58s %10.2f ms\n", what, ms); }

// Deterministic pseudo-random numbers.
unsigned Next(unsigned& state) {
    state = state * 1103515245u + 12345u;
    return state >> 8;
}

struct Grid {
    CFilterDecorator* filter = nullptr;
    CVectorGridView* data = nullptr;
    std::unique_ptr<CFilterDecorator> owner;
};

Grid Build() {
    Grid g;
    g.data = new CVectorGridView;
    g.data->Resize(kColumns, kRows);
    static const char* vendors[] = {"Acme", "Globex", "Initech", "Umbrella", "Hooli", "Vandelay", "Stark", "Wayne"};
    static const char* kinds[] = {"switch", "router", "printer", "server", "workstation", "phone", "camera"};
    unsigned seed = 12345;
    char text[64];
    wchar_t wide[64];
    for (int r = 0; r < kRows; ++r) {
        const unsigned n = Next(seed);
        std::snprintf(text, sizeof text, "host-%05u", (n ^ unsigned(r * 7919)) % 100000u);
        g.data->SetCellText(0, r, text);
        const unsigned address = 0x0A000000u | (Next(seed) & 0xFFFFFFu);
        std::swprintf(wide, 64, L"%u.%u.%u.%u", address >> 24, (address >> 16) & 255, (address >> 8) & 255, address & 255);
        g.data->SetCellVariant(1, r, _variant_t(wide), _variant_t(double(address)));
        g.data->SetCellVariant(2, r, _variant_t(long(Next(seed) % 5000)), _variant_t());
        g.data->SetCellVariant(3, r, _variant_t(45000.0 + double(Next(seed) % 2000) + 0.5, VT_DATE), _variant_t());
        g.data->SetCellText(4, r, vendors[Next(seed) % 8]);
        g.data->SetCellText(5, r, kinds[Next(seed) % 7]);
        std::snprintf(text, sizeof text, "serial %08X", Next(seed));
        g.data->SetCellText(6, r, text);
        std::snprintf(text, sizeof text, "rack %u / slot %u", Next(seed) % 40, Next(seed) % 16);
        g.data->SetCellText(7, r, text);
        g.data->SetCellText(8, r, (Next(seed) % 4) ? "up" : "down");
        std::snprintf(text, sizeof text, "%u ports", Next(seed) % 48 + 1);
        g.data->SetCellText(9, r, text);
    }
    auto* labels = new CTitleGridView(true);
    const char* names[kColumns] = {"Name", "Address", "Count", "Seen", "Vendor", "Kind", "Serial", "Place", "State", "Ports"};
    const int types[kColumns] = {1, 3, 2, 4, 1, 1, 1, 1, 1, 1};
    for (int c = 0; c < kColumns; ++c) labels->SetColumnLabel(c, names[c], types[c]);
    auto* border = new CBorderDecorator(new CGridLinesDecorator(g.data, 6));
    border->SetBorderView(GRID_ELEMENT_HEADER, labels);
    g.filter = new CFilterDecorator(border);
    g.owner.reset(g.filter);
    return g;
}

CELL_LAYOUT Layout(int columns, int rows) {
    CELL_LAYOUT layout;
    for (int c = 0; c < columns; ++c) {
        COLUMN_INFO col;
        col.position = c * kColumnWidth;
        col.width = kColumnWidth;
        layout.columns.push_back(col);
    }
    for (int r = 0; r < rows; ++r) {
        ROW_INFO row;
        row.position = r * kRowHeight;
        row.height = kRowHeight;
        layout.rows.push_back(row);
    }
    return layout;
}

struct Dib {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    Dib() {
        dc = ::CreateCompatibleDC(nullptr);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = kScreenWidth;
        bi.bmiHeader.biHeight = -kScreenHeight;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = ::CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = ::SelectObject(dc, bitmap);
    }
    ~Dib() {
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
    }
};

}  // namespace

int main() {
    std::printf("grid of %d rows x %d columns\n", kRows, kColumns);
    Grid g;
    Report("fill the vector view", Time([&] { g = Build(); }));
    CFilterDecorator& f = *g.filter;
    Report("row trees (first use)", Time([&] { f.GetHierarchy(); }));
    Report("collect every column's values (one pass)", Time([&] { f.GetGridMap(); }));

    struct SortCase {
        const char* what;
        int column;
        bool ascending;
    } sorts[] = {
        {"sort by a text column, ascending", 0, true},  {"sort by a text column, descending", 0, false},
        {"sort by an IP address column", 1, true},      {"sort by an integer column", 2, false},
        {"sort by a date column", 3, true},             {"sort by a text column of few values", 4, true},
    };
    for (const SortCase& s : sorts) {
        TOrderComporator order(s.ascending);
        Report(s.what, Median(5, [&] { f.Sort(s.column, &order); }));
    }
    Report("back to the unsorted order", Median(5, [&] { f.Sort(GRID_UNSET, nullptr); }));

    // Filter: keep the rows of two vendors, then half the kinds as well.
    auto keep = [&](int column, const std::vector<std::string>& values) {
        TRowBits& mask = f.GetVisibleRows(column);
        TGridColumn& col = *f.GetGridMap()[size_t(column)].column;
        std::string text;
        mask[0] = false;
        for (size_t id = 1; id < mask.size(); ++id) {
            col.GetText(int(id), text);
            mask[id] = std::find(values.begin(), values.end(), text) != values.end();
        }
    };
    Report("filter one column and apply", Median(5, [&] {
               keep(4, {"Acme", "Stark"});
               f.ApplyFilter();
           }));
    Report("filter a second column and apply", Median(5, [&] {
               keep(5, {"switch", "router", "server"});
               f.ApplyFilter();
           }));
    {
        TOrderComporator order(true);
        Report("sort a filtered grid by a text column", Median(5, [&] { f.Sort(6, &order); }));
    }
    FILTER_SAVE saved;
    Report("save the filters", Median(5, [&] { saved = f.SaveFilter(); }));
    Report("load the filters", Median(5, [&] { f.LoadFilter(saved); }));
    f.SetActiveColumn(0);
    Report("value list of a column of 50,000 distinct values", Median(3, [&] { delete f.GetDropDownView(0); }));
    f.SetActiveColumn(4);
    Report("value list of a column of 8 values", Median(3, [&] { delete f.GetDropDownView(4); }));
    Report("remove the filters (values collected again)", Median(3, [&] { f.RemoveFilter(); }));

    // Render passes over the sorted, unfiltered grid.
    {
        TOrderComporator order(true);
        f.Sort(1, &order);
    }
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    const CELL_COORD size = f.GetSize();
    CELL_LAYOUT layout = Layout(size.column, size.row);
    Dib dib;
    Report("measuring pass: every row's height", Median(3, [&] {
               CELL_IMAGE image(layout);
               image.range = CELL_RANGE(0, 0, size.column, size.row);
               DRAW_DEVICE device(dib.dc, image, *styles, true);
               device.SetMeasuring(true);
               f.Draw(device, CELL_INFO(image.range));
           }));
    Report("full render pass: every cell laid out, nothing drawn", Median(3, [&] {
               CELL_IMAGE image(layout);
               image.range = CELL_RANGE(0, 0, size.column, size.row);
               HITTEST_RESULT result;
               HITTEST_DEVICE device(image, *styles, CPoint(-10, -10));
               device.SetResult(&result);
               f.Draw(device, CELL_INFO(image.range));
           }));
    Report("full render pass: every cell drawn (DrawText and all)", Median(3, [&] {
               CELL_IMAGE image(layout);
               image.range = CELL_RANGE(0, 0, size.column, size.row);
               DRAW_DEVICE device(dib.dc, image, *styles, false);
               f.Draw(device, CELL_INFO(image.range));
           }));
    // One screen scrolled to the middle: the header, then the rows that fit.
    const int visibleRows = kScreenHeight / kRowHeight;
    const int top = kRows / 2;
    auto screen = [&](bool tree) {
        f.ShowHierarchy(tree);
        return [&, tree] {
            CELL_IMAGE body(layout);
            body.origin = CPoint(0, -top * kRowHeight + kRowHeight);
            body.range = CELL_RANGE(0, top, size.column + (tree ? 1 : 0), top + visibleRows);
            DRAW_DEVICE device(dib.dc, body, *styles, false);
            f.Draw(device, CELL_INFO(body.range));
            CELL_IMAGE header(layout);
            header.range = CELL_RANGE(0, 0, size.column + (tree ? 1 : 0), 1);
            DRAW_DEVICE headerDevice(dib.dc, header, *styles, false);
            f.Draw(headerDevice, CELL_INFO(header.range));
        };
    };
    if (layout.columns.size() < size_t(size.column + 1)) {
        COLUMN_INFO extra;
        extra.position = size.column * kColumnWidth;
        extra.width = kColumnWidth;
        layout.columns.push_back(extra);
    }
    Report("one screen drawn (57 rows x 10 columns)", Median(20, screen(false)));
    Report("one screen drawn with the tree column", Median(20, screen(true)));
    Report("the same, first paint after the filter changed", Median(9, screen(true), [&] { f.ApplyFilter(); }));
    f.ShowHierarchy(false);
    Report("one screen hit-tested", Median(20, [&] {
               CELL_IMAGE body(layout);
               body.origin = CPoint(0, -top * kRowHeight + kRowHeight);
               body.range = CELL_RANGE(0, top, size.column, top + visibleRows);
               HITTEST_RESULT result;
               HITTEST_DEVICE device(body, *styles, CPoint(300, 400));
               device.SetResult(&result);
               f.Draw(device, CELL_INFO(body.range));
           }));
    Report("copy the whole grid as text", Median(3, [&] {
               TTextDevice device(size, nullptr);
               f.Draw(device, CELL_INFO(CELL_RANGE(0, 0, size.column, size.row)));
           }));
    return 0;
}
