// The passes that lay cells out in pixels: painting into a 32-bit DIB
// checked pixel by pixel (cell fills, shaded rows, selection colours, edges
// and grid lines, tree lines and expand glyphs, wrapped text), measuring,
// hit testing, the element layout, and the small marking devices.
#include <cstring>

#include "grid/grid_draw_device.h"
#include "grid/grid_hittest.h"
#include "grid/grid_measure.h"
#include "grid_test_util.h"

#include <commctrl.h>

using namespace gt;

namespace {

const COLORREF kFill = 0x123456;   // the DIB before painting: what no cell paints

// An image list of solid squares, one per colour.
HIMAGELIST MakeGlyphs(const std::vector<COLORREF>& colours, int size = 9) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24, int(colours.size()), 0);
    HDC screen = ::GetDC(nullptr);
    for (COLORREF c : colours) {
        HBITMAP bmp = ::CreateCompatibleBitmap(screen, size, size);
        HDC dc = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(dc, bmp);
        HBRUSH brush = ::CreateSolidBrush(c);
        RECT r = {0, 0, size, size};
        ::FillRect(dc, &r, brush);
        ::DeleteObject(brush);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ImageList_Add(list, bmp, nullptr);
        ::DeleteObject(bmp);
    }
    ::ReleaseDC(nullptr, screen);
    return list;
}

const COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255);

// Whether every pixel of a cell's client area (less the grid-line pixels)
// has one colour, and the grid-line pixels kept the DIB's fill.
bool CellFilled(const Dib& dib, const RECT& cell, COLORREF colour) {
    const RECT client = {cell.left, cell.top, cell.right - 1, cell.bottom - 1};
    const RECT right = {cell.right - 1, cell.top, cell.right, cell.bottom};
    const RECT bottom = {cell.left, cell.bottom - 1, cell.right, cell.bottom};
    return dib.CountOther(client, colour) == 0 && dib.CountOther(right, kFill) == 0 && dib.CountOther(bottom, kFill) == 0;
}

RECT CellRect(const CELL_IMAGE& image, int column, int row) {
    RECT r;
    image.GetCellRect(CELL_COORD(column, row), r);
    ::OffsetRect(&r, image.origin.x, image.origin.y);
    return r;
}

// A canvas that logs what it is asked to draw.
class LogCanvas : public ICellCanvas {
public:
    std::vector<std::string> log;
    void DrawText(const char* text, int l, int t, int r, int b) override {
        log.push_back("text " + std::string(text) + " " + Rect(l, t, r, b));
    }
    void DrawButton(const RECT& rc, int, UINT state, int image) override {
        log.push_back("button " + std::to_string(image) + " " + std::to_string(state) + " " +
                      Rect(rc.left, rc.top, rc.right, rc.bottom));
    }
    void DrawImage(int index, const RECT& rc) override {
        log.push_back("image " + std::to_string(index) + " " + Rect(rc.left, rc.top, rc.right, rc.bottom));
    }
    static std::string Rect(int l, int t, int r, int b) {
        return std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," + std::to_string(b);
    }
};

// A graphic device that hands out the log canvas and logs grid lines.
class LogDevice : public GRAPHIC_DEVICE {
public:
    LogDevice(const CELL_IMAGE& image, const CELL_STYLE_VECTOR& styles) : GRAPHIC_DEVICE(nullptr, image, styles) {}
    ICellCanvas& GetCellCanvas(const CELL_RANGE&, const CELL_RANGE&, bool) override { return canvas; }
    void ReleaseCellCanvas(ICellCanvas&) override {}
    void HorizontalGridLine(int row, int x1, int x2, int y) override {
        lines.push_back("h" + std::to_string(row) + " " + LogCanvas::Rect(x1, y, x2, y));
    }
    void VerticalGridLine(int column, int x, int y1, int y2) override {
        lines.push_back("v" + std::to_string(column) + " " + LogCanvas::Rect(x, y1, x, y2));
    }
    LogCanvas canvas;
    std::vector<std::string> lines;
};

// A tree under a header of labels, with the tree column shown:
// rows 0 labels, 1 A, 2 a1, 3 a2 (under A), 4 B.
Chain MakeTree() {
    Chain c = MakeChain({{"Name", COLUMN_TYPE_TEXT}}, {{"A"}, {"a1"}, {"a2"}, {"B"}});
    const int keys[][2] = {{1, 0}, {2, 1}, {3, 1}, {4, 0}};
    for (int i = 0; i < 4; ++i) {
        c.data->GetRows()[size_t(i)].key = keys[i][0];
        c.data->GetRows()[size_t(i)].parentKey = keys[i][1];
    }
    c.data->SetHierarchyColumn(0);
    c.filter->ShowHierarchy(true);
    return c;
}

void DrawAll(CDefGridView& view, GRID_DEVICE& device) {
    const CELL_COORD size = view.GetSize();
    view.Draw(device, CELL_INFO(CELL_RANGE(0, 0, size.column, size.row)));
}

}  // namespace

// ---------------------------------------------------------------- painting

WTEST(cell_fills_and_shaded_rows) {
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    std::unique_ptr<CVectorGridView> view(MakeTable({{"", ""}, {"", ""}, {"", ""}, {"", ""}}));
    CELL_LAYOUT layout = MakeLayout({40, 40}, {20, 20, 20, 20});
    CELL_IMAGE image(layout);
    image.origin = CPoint(5, 5);
    image.range = CELL_RANGE(0, 0, 2, 4);
    Dib dib(100, 100, kFill);
    {
        DRAW_DEVICE device(dib.dc(), image, *styles, false);
        DrawAll(*view, device);
    }
    POINT origin;
    ::GetViewportOrgEx(dib.dc(), &origin);
    WCHECK(origin.x == 0 && origin.y == 0);   // put back
    const COLORREF shade = (*styles)[0].shadeColor;
    WCHECK_EQ(shade, COLORREF(0xF2F2F2));
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 2; ++c) WCHECK(CellFilled(dib, CellRect(image, c, r), r % 2 == 0 ? shade : 0xFFFFFF));
    // Under a row mask the visible position decides: hiding row 1 shifts the shading.
    std::vector<bool> shown = {true, false, true, true};
    TRowMask mask;
    mask.shown = &shown;
    mask.Rebuild(4);
    dib.Fill(kFill);
    {
        DRAW_DEVICE device(dib.dc(), image, *styles, false);
        device.SetFilter(&mask);
        DrawAll(*view, device);
    }
    WCHECK(CellFilled(dib, CellRect(image, 0, 0), shade));
    WCHECK_EQ(dib.CountOther(CellRect(image, 0, 1), kFill), 0);   // hidden: not painted
    WCHECK(CellFilled(dib, CellRect(image, 0, 2), 0xFFFFFF));
    WCHECK(CellFilled(dib, CellRect(image, 1, 3), shade));
    // A style without shading paints every row on its background.
    (*styles)[0].shadedRows = 0;
    dib.Fill(kFill);
    {
        DRAW_DEVICE device(dib.dc(), image, *styles, false);
        DrawAll(*view, device);
    }
    WCHECK(CellFilled(dib, CellRect(image, 1, 0), 0xFFFFFF));
}

WTEST(selection_and_focus_colours) {
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    GRAPHIC_CELL_STYLE& normal = (*styles)[0];
    normal.focus.bkColor = RGB(0, 200, 0);
    normal.focus.brush.Reset(::CreateSolidBrush(RGB(0, 200, 0)));
    std::unique_ptr<CVectorGridView> view(MakeTable({{"", "", ""}, {"", "", ""}, {"", "", ""}, {"", "", ""}}));
    CELL_LAYOUT layout = MakeLayout({30, 30, 30}, {16, 16, 16, 16});
    layout.rows[2].state = ROW_STATE_SELECTED;
    CELL_IMAGE image(layout);
    image.range = CELL_RANGE(0, 0, 3, 4);
    HRGN selection = ::CreateRectRgn(1, 1, 2, 2);   // cell (1, 1)
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT), face = ::GetSysColor(COLOR_BTNFACE);
    struct Case {
        bool active, showFocus;
        CELL_COORD focus;
        int column, row;
        COLORREF expected;
    } cases[] = {
        {true, false, CELL_COORD(0, 3), 1, 1, highlight},       // in the region
        {true, false, CELL_COORD(0, 3), 0, 2, highlight},       // a selected row
        {false, false, CELL_COORD(0, 3), 1, 1, face},           // inactive selection
        {false, false, CELL_COORD(0, 3), 2, 2, face},
        {true, true, CELL_COORD(0, 3), 0, 3, RGB(0, 200, 0)},   // the focus cell
        {true, false, CELL_COORD(0, 3), 0, 3, 0xFFFFFF},        // the same without the focus shown
        {true, true, CELL_COORD(0, 3), 1, 3, 0xFFFFFF},         // another cell of its row
        {true, true, CELL_COORD(1, 1), 1, 1, highlight},        // selected wins over focus
    };
    for (const Case& c : cases) {
        Dib dib(100, 70, kFill);
        {
            DRAW_DEVICE device(dib.dc(), image, *styles, false);
            device.SetSelection(selection);
            device.SetActiveSelection(c.active);
            device.SetFocusCell(c.focus);
            device.ShowFocus(c.showFocus);
            DrawAll(*view, device);
        }
        if (!CellFilled(dib, CellRect(image, c.column, c.row), c.expected))
            wtest::fail(__FILE__, __LINE__, "cell " + std::to_string(c.column) + "," + std::to_string(c.row));
    }
    // A column with selected cells (state 0x200) takes the focus colours when the focus is shown.
    layout.columns[2].state = COLUMN_STATE_PARTIAL;
    Dib dib(100, 70, kFill);
    {
        DRAW_DEVICE device(dib.dc(), image, *styles, false);
        device.ShowFocus(true);
        DrawAll(*view, device);
    }
    WCHECK(CellFilled(dib, CellRect(image, 2, 0), RGB(0, 200, 0)));
    WCHECK(CellFilled(dib, CellRect(image, 1, 0), 0xF2F2F2));
    ::DeleteObject(selection);
}

WTEST(header_edges_and_grid_lines) {
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    std::unique_ptr<CVectorGridView> view(MakeTable({{"", ""}}));
    view->GetRows()[0].style = STYLE_HEADER;
    CELL_LAYOUT layout = MakeLayout({40, 40}, {20});
    CELL_IMAGE image(layout);
    image.origin = CPoint(5, 5);
    image.range = CELL_RANGE(0, 0, 2, 1);
    Dib dib(100, 40, kFill);
    {
        DRAW_DEVICE device(dib.dc(), image, *styles, false);
        DrawAll(*view, device);
    }
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE), light = ::GetSysColor(COLOR_BTNHIGHLIGHT),
                   line = ::GetSysColor(COLOR_GRAYTEXT);
    const RECT cell = CellRect(image, 0, 0);   // (5, 5, 45, 25)
    const RECT inside = {cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
    WCHECK_EQ(dib.CountOther(inside, face), 0);
    // The raised edge: its light top and left lines; its dark lines fall on the grid lines.
    const RECT top = {cell.left, cell.top, cell.right - 1, cell.top + 1};
    const RECT left = {cell.left, cell.top, cell.left + 1, cell.bottom - 1};
    WCHECK_EQ(dib.CountOther(top, light), 0);
    WCHECK_EQ(dib.CountOther(left, light), 0);
    // Grid lines on all four sides (line flags 0x1E0).
    const RECT above = {cell.left, cell.top - 1, cell.right, cell.top};
    const RECT below = {cell.left, cell.bottom - 1, cell.right, cell.bottom};
    const RECT before = {cell.left - 1, cell.top, cell.left, cell.bottom};
    const RECT after = {cell.right - 1, cell.top, cell.right, cell.bottom};
    for (const RECT& r : {above, below, before, after}) WCHECK_EQ(dib.CountOther(r, line), 0);
    WCHECK_EQ(dib.At(cell.right + 20, cell.top + 5), face);   // the second header cell
    WCHECK_EQ(dib.At(2, 30), kFill);                          // nothing outside
}

WTEST(tree_lines_and_expand_glyphs) {
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    HIMAGELIST glyphs = MakeGlyphs({kRed, kGreen, kBlue});
    for (GRAPHIC_CELL_STYLE& s : *styles) s.elementImages = glyphs;
    Chain c = MakeTree();
    CELL_LAYOUT layout = MakeLayout({60, 60}, {20, 20, 20, 20, 20});
    CELL_IMAGE image(layout);
    image.range = CELL_RANGE(0, 0, 2, 5);
    Dib dib(120, 100, kFill);
    auto paint = [&] {
        dib.Fill(kFill);
        DRAW_DEVICE device(dib.dc(), image, *styles, false);
        DrawAll(*c.filter, device);
    };
    paint();
    // Glyph centres: 12 pixels a level right of the cell's left edge, halfway down the row.
    WCHECK_EQ(dib.At(12, 30), kGreen);   // A, expanded
    WCHECK_EQ(dib.At(24, 50), kBlue);    // a1, no children
    WCHECK_EQ(dib.At(24, 70), kBlue);    // a2
    WCHECK_EQ(dib.At(12, 90), kBlue);    // B
    WCHECK_EQ(dib.At(12, 10), kGreen);   // the level button of level 1 (three levels)
    // A's connector: dotted, straight down from its glyph to 3 pixels above
    // the bottom of its last row, then 4 pixels right.
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);
    int dots = 0;
    bool adjacent = false;
    for (int y = 36; y <= 77; ++y) {
        if (dib.At(12, y) == grey) {
            ++dots;
            if (y > 36 && dib.At(12, y - 1) == grey) adjacent = true;
        }
    }
    WCHECK(dots == 21 && !adjacent);
    WCHECK(dib.At(12, 78) != grey && dib.At(12, 79) != grey);
    int across = 0;
    for (int x = 13; x <= 16; ++x) across += dib.At(x, 77) == grey;
    WCHECK_EQ(across, 2);
    WCHECK(dib.At(17, 77) != grey && dib.At(18, 77) != grey);
    // Collapsed: its glyph and the level button change, its rows and the connector go.
    c.filter->Expand(1, false);
    paint();
    WCHECK_EQ(dib.At(12, 30), kRed);
    WCHECK_EQ(dib.At(12, 10), kRed);
    WCHECK_EQ(dib.At(24, 50), kFill);
    int after = 0;
    for (int y = 36; y <= 77; ++y) after += dib.At(12, y) == grey;
    WCHECK_EQ(after, 0);
    // Two levels only (the root and its rows): glyphs, but no level button.
    Chain flat = MakeChain({{"Name", COLUMN_TYPE_TEXT}}, {{"p"}, {"q"}});
    flat.filter->ShowHierarchy(true);
    dib.Fill(kFill);
    {
        DRAW_DEVICE device(dib.dc(), image, *styles, false);
        DrawAll(*flat.filter, device);
    }
    WCHECK_EQ(dib.At(12, 30), kBlue);
    WCHECK(dib.At(12, 10) != kGreen && dib.At(12, 10) != kRed);
    ImageList_Destroy(glyphs);
}

WTEST(wrapped_text_in_its_lines) {
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    GRAPHIC_CELL_STYLE& wrap = (*styles)[0];
    wrap.format = DT_WORDBREAK | DT_NOPREFIX;
    wrap.shadedRows = 0;
    // A cell exactly as wide as "aaaa/" plus the margins and a pixel to
    // spare: the text breaks after the slash.
    HDC screen = ::GetDC(nullptr);
    HDC measure = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ oldFont = ::SelectObject(measure, wrap.font.Get());
    SIZE first;
    ::GetTextExtentPoint32A(measure, "aaaa/", 5, &first);
    TEXTMETRICA tm;
    ::GetTextMetricsA(measure, &tm);
    ::SelectObject(measure, oldFont);
    ::DeleteDC(measure);
    const int width = int(first.cx) + 1 + 2 * wrap.hMargin + 1;
    const int lineHeight = int(tm.tmHeight);
    std::unique_ptr<CVectorGridView> view(MakeTable({{"aaaa/bbbb cc"}}));
    // Room for two lines and a half: the third is cut at the cell.
    CELL_LAYOUT layout = MakeLayout({width}, {2 * lineHeight + lineHeight / 2 + 5});
    CELL_IMAGE image(layout);
    image.origin = CPoint(3, 3);
    image.range = CELL_RANGE(0, 0, 1, 1);
    const RECT cell = CellRect(image, 0, 0);
    Dib painted(width + 10, 3 * lineHeight + 20, kFill);
    {
        DRAW_DEVICE device(painted.dc(), image, *styles, false);
        DrawAll(*view, device);
    }
    // The same lines drawn one by one, single-line, at their rectangles.
    Dib expected(width + 10, 3 * lineHeight + 20, kFill);
    const RECT client = {cell.left, cell.top, cell.right - 1, cell.bottom - 1};
    ::FillRect(expected.dc(), &client, wrap.bkBrush.Get());
    const int save = ::SaveDC(expected.dc());
    ::IntersectClipRect(expected.dc(), client.left, client.top, client.right, client.bottom);
    ::SelectObject(expected.dc(), wrap.font.Get());
    ::SetTextColor(expected.dc(), wrap.textColor);
    ::SetBkColor(expected.dc(), wrap.bkColor);
    const char* lines[] = {"aaaa/", "bbbb", "cc"};
    const int left = cell.left + wrap.hMargin, top = cell.top + wrap.vMargin;
    for (int k = 0; k < 3; ++k) {
        RECT r = {left, top + k * lineHeight, cell.right - 1 - wrap.hMargin, top + (k + 1) * lineHeight};
        ::DrawTextA(expected.dc(), lines[k], -1, &r, DT_NOPREFIX | DT_SINGLELINE);
    }
    ::RestoreDC(expected.dc(), save);
    const RECT all = {0, 0, painted.width(), painted.height()};
    WCHECK(painted.SameAs(expected, all));
    // Ink in each of the three line bands, the third cut at the cell's bottom.
    for (int k = 0; k < 3; ++k) {
        const RECT band = {client.left, top + k * lineHeight, client.right, std::min(top + (k + 1) * lineHeight, int(client.bottom))};
        WCHECK(painted.CountOther(band, wrap.bkColor) > 0);
    }
    const RECT under = {0, cell.bottom, painted.width(), painted.height()};
    WCHECK_EQ(painted.CountOther(under, kFill), 0);
    // Without DT_WORDBREAK, or with DT_SINGLELINE, the text goes to DrawText as it is.
    const TCharMetrics metrics;
    for (UINT format : {UINT(DT_NOPREFIX), UINT(DT_NOPREFIX | DT_WORDBREAK | DT_SINGLELINE), UINT(DT_CENTER | DT_WORD_ELLIPSIS)}) {
        Dib routine(80, 40, kFill), plain(80, 40, kFill);
        for (Dib* d : {&routine, &plain}) {
            ::SelectObject(d->dc(), wrap.font.Get());
            ::SetBkMode(d->dc(), TRANSPARENT);
        }
        RECT a = {2, 2, 60, 30}, b = a;
        DrawWrappedText(routine.dc(), "aaaa/bbbb cc dd", a, format, metrics);
        ::DrawTextA(plain.dc(), "aaaa/bbbb cc dd", -1, &b, format);
        WCHECK(routine.SameAs(plain, RECT{0, 0, 80, 40}));
        WCHECK(routine.CountOther(RECT{0, 0, 80, 40}, kFill) > 0);
    }
}

// ---------------------------------------------------------------- measuring

WTEST(measured_row_heights) {
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    (*styles)[STYLE_LEVEL1].format = DT_WORDBREAK | DT_NOPREFIX;
    std::unique_ptr<CVectorGridView> view(MakeTable({{"one line"}, {"aaaa bbbb cccc dddd eeee"}, {""}, {"x"}}));
    view->GetRows()[1].style = STYLE_LEVEL1;
    view->GetRows()[2].style = STYLE_HEADER;
    CELL_LAYOUT layout = MakeLayout({50}, {0, 0, 0, 100});
    CELL_IMAGE image(layout);
    image.range = CELL_RANGE(0, 0, 1, 4);
    DRAW_DEVICE device(nullptr, image, *styles, true);
    device.SetMeasuring(true);
    DrawAll(*view, device);
    // The font's line, the margins and the grid line (and the edge of style 4).
    HDC dc = device.GetDC();
    TEXTMETRICA tm;
    HGDIOBJ old = ::SelectObject(dc, (*styles)[0].font.Get());
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    WCHECK_EQ(layout.rows[0].height, int(tm.tmHeight) + 5);
    // Wrapped: as many lines as the wrap makes at the cell's text width.
    RECT r = {0, 0, 50 + 1 - 2 - 2 * (*styles)[STYLE_LEVEL1].hMargin, 0};
    old = ::SelectObject(dc, (*styles)[STYLE_LEVEL1].font.Get());
    const TCharMetrics metrics(dc);
    const int wrapped = DrawWrappedText(dc, "aaaa bbbb cccc dddd eeee", r, DT_WORDBREAK | DT_CALCRECT, metrics);
    ::SelectObject(dc, old);
    WCHECK(wrapped >= 2 * metrics.lineHeight);
    WCHECK_EQ(layout.rows[1].height, wrapped + 5);
    WCHECK_EQ(layout.rows[2].height, 6);     // no text: the margins, the edge and the line
    WCHECK_EQ(layout.rows[3].height, 100);   // measuring never lowers a height
}

WTEST(one_line_heights_match_drawtext) {
    // The measuring pass takes a one-line text's height from the font; it
    // must be what DrawText measures, line breaks going to DrawText itself.
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    CELL_LAYOUT layout = MakeLayout({200}, {20});
    CELL_IMAGE image(layout);
    image.range = CELL_RANGE(0, 0, 1, 1);
    const char* texts[] = {"x", "Hello, world", "a\tb", "two\nlines", "a\r\nb\r\nc", "&prefix", "trailing\n"};
    const DWORD formats[] = {0x40800, 0x40825, 0x40801, 0x40800 | DT_EXTERNALLEADING, 0x40800 | DT_EXPANDTABS};
    for (int style : {0, 2}) {
        for (DWORD format : formats) {
            (*styles)[size_t(style)].format = format;
            DRAW_DEVICE device(nullptr, image, *styles, true);
            device.SetStyleIndex(style);
            for (const char* text : texts) {
                CELL_ELEMENT e;
                e.text = text;
                const long measured = device.MeasureElement(e, 120);
                HDC dc = device.GetDC();
                HGDIOBJ old = ::SelectObject(dc, (*styles)[size_t(style)].font.Get());
                RECT r = {0, 0, 120 - 2 * (*styles)[size_t(style)].hMargin, 0};
                ::DrawTextA(dc, text, -1, &r, (format & ~UINT(DT_CENTER | DT_VCENTER | DT_WORD_ELLIPSIS)) | DT_CALCRECT);
                ::SelectObject(dc, old);
                if (measured != r.bottom)
                    wtest::fail(__FILE__, __LINE__, std::string("\"") + text + "\" format " + std::to_string(format) + ": " +
                                                        std::to_string(measured) + " != " + std::to_string(r.bottom));
            }
        }
    }
}

WTEST(column_widths_measured) {
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    std::unique_ptr<CVectorGridView> view(MakeTable({{"short", "a"}, {"a much longer text", ""}}));
    CELL_LAYOUT layout = MakeLayout({10, 10}, {20, 20});
    layout.columns[1].prefWidth = 500;
    CELL_IMAGE image(layout);
    image.range = CELL_RANGE(0, 0, 2, 2);
    TMeasureDevice device(nullptr, image, *styles, true);
    DrawAll(*view, device);
    const int longer = device.TextWidth("a much longer text");
    WCHECK_EQ(layout.columns[0].prefWidth, longer + 2 * 2 + 1);
    WCHECK_EQ(layout.columns[1].prefWidth, 500);   // never lowered
    WCHECK_EQ(layout.columns[0].minWidth, 0);
    TMeasureDevice headers(nullptr, image, *styles, false);
    view->Draw(headers, CELL_INFO(CELL_RANGE(0, 0, 2, 1)));
    WCHECK_EQ(layout.columns[0].minWidth, headers.TextWidth("short") + 5);
}

// ---------------------------------------------------------------- hit testing

WTEST(hit_test_elements_edges_and_tips) {
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    HIMAGELIST glyphs = MakeGlyphs({kRed, kGreen, kBlue});
    for (GRAPHIC_CELL_STYLE& s : *styles) s.elementImages = glyphs;
    Chain c = MakeTree();
    AllTools site;
    c.filter->SetSite(&site);
    c.data->SetCellText(0, 3, "a text far too wide for its cell");
    CELL_LAYOUT layout = MakeLayout({60, 60}, {20, 20, 20, 20, 20});
    CELL_IMAGE image(layout);
    image.origin = CPoint(10, 0);
    image.range = CELL_RANGE(0, 0, 2, 5);
    auto hit = [&](int x, int y, unsigned flags = 0) {
        HITTEST_RESULT result;
        result.flags = flags;
        HITTEST_DEVICE device(image, *styles, CPoint(x + 10, y));
        device.SetResult(&result);
        DrawAll(*c.filter, device);
        return result;
    };
    // The filter button of the header cell: a square of 13 at the right, at
    // the bottom of the cell's inside.
    HITTEST_RESULT button = hit(60 + 60 - 1 - 2 - 6, 10);
    WCHECK_EQ(button.toolKind, int(GRID_TOOL_FILTER));
    WCHECK(button.element == static_cast<IGridElement*>(static_cast<IFilterElement*>(c.filter)));
    WCHECK(button.elementCell == CELL_RANGE(1, 0, 2, 1));
    WCHECK(button.cell == CELL_RANGE(1, 0, 2, 1));
    WCHECK_EQ(button.style, int(STYLE_HEADER));
    // An expand glyph reports its row; a level button its level.
    HITTEST_RESULT glyph = hit(12, 30);
    WCHECK_EQ(glyph.toolKind, int(GRID_TOOL_EXPAND));
    WCHECK(glyph.element == static_cast<IGridElement*>(static_cast<IPlusElement*>(c.filter)));
    WCHECK_EQ(glyph.elementViewRange.top, 1);
    WCHECK_EQ(glyph.elementData, -1);
    HITTEST_RESULT level = hit(12, 10);
    WCHECK_EQ(level.toolKind, int(GRID_TOOL_EXPAND));
    WCHECK_EQ(level.elementData, 1);
    // A plain cell: the cell, no element.
    HITTEST_RESULT plain = hit(90, 50);
    WCHECK(plain.cell == CELL_RANGE(1, 2, 2, 3));
    WCHECK_EQ(plain.toolKind, -1);
    // Tool tips: only a text that does not fit.
    HITTEST_RESULT fits = hit(70, 50, 1);
    WCHECK(fits.text.empty());
    WCHECK(fits.textRect.left >= 10 + 60);   // window coordinates
    HITTEST_RESULT wide = hit(70, 90, 1);
    WCHECK_EQ(wide.text, std::string("a text far too wide for its cell"));
    HITTEST_RESULT noTips = hit(70, 90, 0);
    WCHECK(noTips.text.empty());
    ImageList_Destroy(glyphs);
}

WTEST(hit_test_column_edges) {
    // Header cells draw their right grid line (style 4); a point within 3
    // pixels of it reports the column, the higher one when two are that near.
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    std::unique_ptr<CVectorGridView> view(MakeTable({{"a", "b", "c", "d"}, {"1", "2", "3", "4"}}));
    view->GetRows()[0].style = STYLE_HEADER;
    CELL_LAYOUT layout = MakeLayout({60, 60, 5, 60}, {20, 20});
    CELL_IMAGE image(layout);
    image.range = CELL_RANGE(0, 0, 4, 2);
    struct Case {
        int x, y, edge;
    } cases[] = {
        {59, 10, 0}, {56, 10, 0}, {62, 10, 0}, {63, 10, GRID_UNSET}, {55, 10, GRID_UNSET},
        {121, 10, 2},           // near the edges of columns 1 (x 119) and 2 (x 124)
        {117, 10, 1},
        {59, 30, GRID_UNSET},   // data rows draw no lines
    };
    for (const Case& c : cases) {
        HITTEST_RESULT result;
        HITTEST_DEVICE device(image, *styles, CPoint(c.x, c.y));
        device.SetResult(&result);
        DrawAll(*view, device);
        if (result.columnEdge != c.edge)
            wtest::fail(__FILE__, __LINE__, "x " + std::to_string(c.x) + ": edge " + std::to_string(result.columnEdge));
    }
}

// ---------------------------------------------------------------- element layout

WTEST(element_layout_in_a_cell) {
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    HIMAGELIST glyphs = MakeGlyphs({kRed, kGreen, kBlue});
    (*styles)[0].elementImages = glyphs;
    (*styles)[0].cellImages = glyphs;
    CELL_LAYOUT layout = MakeLayout({30, 50, 20}, {20, 60});
    CELL_IMAGE image(layout);
    image.range = CELL_RANGE(0, 0, 3, 2);
    auto render = [&](int column, int row, auto fill) {
        LogDevice device(image, *styles);
        CELL_CONTENT content;
        fill(content);
        device.RenderRange(CELL_RANGE(column, row, column + 1, row + 1), content);
        return Join(device.canvas.log);
    };
    auto buttons = [](CELL_CONTENT& c) {
        for (CELL_ELEMENT* e : {&c.left, &c.right}) {
            e->buttonKind = DFC_BUTTON;
            e->buttonState = DFCS_BUTTONPUSH | DFCS_FLAT;
            e->image = 1;
        }
        c.middle.text = "middle";
    };
    // Left and right buttons (13 wide) leave no room in a 30-pixel cell:
    // inside 25 pixels, no middle element.
    WCHECK_EQ(render(0, 0, buttons), std::string("button 1 16400 2,2,15,17|button 1 16400 14,2,27,17"));
    // In a 50-pixel cell the text sits between them.
    WCHECK_EQ(render(1, 0, buttons),
              std::string("button 1 16400 32,2,45,17|button 1 16400 64,2,77,17|text middle 45,2,64,17"));
    // A push button in a tall narrow cell: a square at the bottom, unless flat.
    auto tall = [](UINT state) {
        return [state](CELL_CONTENT& c) {
            c.middle.buttonKind = DFC_BUTTON;
            c.middle.buttonState = state;
            c.middle.image = 0;
        };
    };
    WCHECK_EQ(render(2, 1, tall(DFCS_BUTTONPUSH)), std::string("button 0 16 82,62,97,77"));
    WCHECK_EQ(render(2, 1, tall(DFCS_BUTTONPUSH | DFCS_FLAT)), std::string("button 0 16400 82,22,97,77"));
    // An image, then the text after it and the margins.
    WCHECK_EQ(render(1, 1, [](CELL_CONTENT& c) {
                  c.middle.image = 2;
                  c.middle.text = "t";
              }),
              std::string("image 2 32,22,41,31|text t 45,22,77,77"));
    ImageList_Destroy(glyphs);
}

WTEST(grid_line_flags) {
    CELL_STYLE_TABLE styles = CreateBasicStyles();
    CELL_LAYOUT layout = MakeLayout({30, 40}, {20, 25});
    CELL_IMAGE image(layout);
    image.range = CELL_RANGE(0, 0, 2, 2);
    struct Case {
        DWORD flags;
        const char* lines;
    } cases[] = {
        {0x20, "h0 29,19,70,19"},
        {0x40, "h1 29,44,70,44"},
        {0x80, "v0 29,19,29,45"},
        {0x100, "v1 69,19,69,45"},
        {0x1E0, "h0 29,19,70,19|h1 29,44,70,44|v0 29,19,29,45|v1 69,19,69,45"},
        {0x1F, ""},
    };
    for (const Case& c : cases) {
        (*styles)[0].lineFlags = c.flags;
        LogDevice device(image, *styles);
        CELL_CONTENT content;
        device.RenderRange(CELL_RANGE(1, 1, 2, 2), content);
        if (Join(device.lines) != c.lines) wtest::fail(__FILE__, __LINE__, Join(device.lines));
    }
}

// ---------------------------------------------------------------- marking devices

WTEST(marking_devices) {
    std::unique_ptr<CVectorGridView> view(MakeTable({{"a", "", "c"}, {"d", "e", ""}, {"g", "h", "i"}}));
    view->GetRows()[1].style = 3;
    CELL_LAYOUT layout = MakeLayout({10, 10, 10}, {10, 10, 10});
    CELL_IMAGE image(layout);
    image.range = CELL_RANGE(0, 0, 3, 3);
    const CELL_INFO all(CELL_RANGE(0, 0, 3, 3));
    // Which view range, cell and style carry a cell.
    HITTEST_RESULT result;
    TCellTestDevice cellTest(CELL_COORD(2, 1));
    cellTest.SetResult(&result);
    view->Draw(cellTest, all);
    WCHECK(result.cell == CELL_RANGE(2, 1, 3, 2) && result.style == 3);
    // Columns without text keep the empty state.
    for (COLUMN_INFO& col : layout.columns) col.state = COLUMN_STATE_EMPTY;
    std::unique_ptr<CVectorGridView> sparse(MakeTable({{"", "b", ""}, {"", "", ""}}));
    TColumnTestDevice columnTest(image);
    sparse->Draw(columnTest, CELL_INFO(CELL_RANGE(0, 0, 3, 2)));
    WCHECK(layout.columns[0].state == COLUMN_STATE_EMPTY && layout.columns[1].state == 0 &&
           layout.columns[2].state == COLUMN_STATE_EMPTY);
    // Marking selected columns: 0x4 for a column whose row 0 is selected,
    // 0x200 for a column with any selected cell (style 0 cells only).
    for (COLUMN_INFO& col : layout.columns) col.state = 0;
    HRGN region = ::CreateRectRgn(0, 0, 1, 1);
    HRGN more = ::CreateRectRgn(2, 2, 3, 3);
    ::CombineRgn(region, region, more, RGN_OR);
    THighlightDevice mark(THighlightDevice::MARK_COLUMNS, image, region);
    view->Draw(mark, all);
    WCHECK_EQ(layout.columns[0].state, unsigned(COLUMN_STATE_SELECTED | COLUMN_STATE_PARTIAL));
    WCHECK_EQ(layout.columns[1].state, 0u);
    WCHECK_EQ(layout.columns[2].state, unsigned(COLUMN_STATE_PARTIAL));
    // Growing a region to whole columns (a header click).
    HRGN header = ::CreateRectRgn(1, 0, 2, 1);
    THighlightDevice grow(THighlightDevice::GROW_REGION, image, header);
    view->Draw(grow, all);
    WCHECK(RegionHoldsCell(header, 1, 2) && !RegionHoldsCell(header, 1, 1) && !RegionHoldsCell(header, 0, 2));
    // Growing by style (style actions): every cell drawn in style 3.
    HRGN styled = ::CreateRectRgn(0, 0, 0, 0);
    THighlightDevice byStyle(std::vector<int>{3}, image, styled);
    view->Draw(byStyle, all);
    RECT box;
    ::GetRgnBox(styled, &box);
    WCHECK(box.left == 0 && box.top == 1 && box.right == 3 && box.bottom == 2);
    // Styles of the cells that meet a region, each once.
    std::vector<int> found;
    HRGN two = ::CreateRectRgn(1, 0, 2, 3);
    TCollectDevice collect(two, found);
    view->Draw(collect, all);
    WCHECK(found == std::vector<int>({0, 3}));
    for (HRGN r : {region, more, header, styled, two}) ::DeleteObject(r);
}
