// Fixtures of the grid model tests: layouts, a device that records what a
// pass receives, views that count their deletion, a DIB to paint into, and
// small builders. Header only; each test program includes it once.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "grid/grid_border.h"
#include "grid/grid_device.h"
#include "grid/grid_filter.h"
#include "grid/grid_style.h"
#include "grid/grid_title.h"
#include "grid/grid_vector.h"
#include "wtest.h"

namespace gt {

inline std::string Show(const CELL_RANGE& r) {
    auto f = [](int v) { return v == GRID_UNSET ? std::string("unset") : std::to_string(v); };
    return "(" + f(r.left) + "," + f(r.top) + "," + f(r.right) + "," + f(r.bottom) + ")";
}

// Columns and rows laid out side by side from 0.
inline CELL_LAYOUT MakeLayout(const std::vector<int>& widths, const std::vector<int>& heights) {
    CELL_LAYOUT layout;
    int x = 0;
    for (int w : widths) {
        COLUMN_INFO c;
        c.position = x;
        c.width = w;
        layout.columns.push_back(c);
        x += w;
    }
    int y = 0;
    for (int h : heights) {
        ROW_INFO r;
        r.position = y;
        r.height = h;
        layout.rows.push_back(r);
        y += h;
    }
    return layout;
}

// Lays rows out again from their heights (after a measuring pass).
inline void PlaceRows(CELL_LAYOUT& layout) {
    int y = 0;
    for (ROW_INFO& r : layout.rows) {
        r.position = y;
        y += r.height;
    }
}

// What a pass received for one cell or merged range.
struct Rendered {
    CELL_RANGE view;
    CELL_RANGE grid;
    int style;
    std::string text;
    bool hasText;
    VARTYPE valueType;
    VARTYPE value2Type;
    // The right element (where the filter decorator puts its button).
    int rightImage;
    int rightToolKind;
    int rightKind;
    UINT rightState;
    IGridElement* rightElement;
};

class RecordingDevice : public GRID_DEVICE {
public:
    std::vector<Rendered> cells;
    std::vector<int> begun, ended;
    std::vector<int> refuse;   // rows (absolute) for which BeginRow says false

    bool BeginRow(int row) override {
        if (std::find(refuse.begin(), refuse.end(), row + GetCellMap().row) != refuse.end()) return false;
        if (!GRID_DEVICE::BeginRow(row)) return false;
        begun.push_back(row + GetCellMap().row);
        return true;
    }
    void EndRow(int row) override { ended.push_back(row + GetCellMap().row); }
    void DoRenderRange(const CELL_RANGE& view, const CELL_RANGE& grid, CELL_CONTENT& content) override {
        CallSinks(grid, content);
        cells.push_back(Rendered{view, grid, GetStyleIndex(), content.middle.text ? content.middle.text : "",
                                 content.middle.text != nullptr, content.middle.value.vt, content.middle.value2.vt,
                                 content.right.image, content.right.toolKind, content.right.buttonKind,
                                 content.right.buttonState, content.right.element});
    }
    const Rendered* At(int column, int row) const {
        for (const Rendered& c : cells)
            if (c.grid.left == column && c.grid.top == row) return &c;
        return nullptr;
    }
    std::string TextAt(int column, int row) const {
        const Rendered* c = At(column, row);
        return c ? c->text : "<none>";
    }
};

// A view without data that counts its deletion and can carry an ID.
class CountedView : public CDefGridViewImpl {
public:
    CountedView(int* deleted, CELL_COORD size = CELL_COORD(0, 0), int id = GRID_UNSET)
        : m_deleted(deleted), m_size(size), m_id(id) {}
    ~CountedView() override {
        if (m_deleted) ++*m_deleted;
    }
    CELL_COORD GetSize() const override { return m_size; }
    int GetID() override { return m_id; }
    bool Sort(int column, TRowComparator*) override {
        sortedBy.push_back(column);
        return true;
    }
    void Draw(GRID_DEVICE&, const CELL_INFO& info) override { drawn.push_back(info.range); }

    std::vector<int> sortedBy;
    std::vector<CELL_RANGE> drawn;

private:
    int* m_deleted;
    CELL_COORD m_size;
    int m_id;
};

class CountingSink : public CDefGridViewSink {
public:
    int calls = 0;
    void OnChange(const CELL_RANGE*) override { ++calls; }
};

class AllTools : public IGridViewSite {
public:
    GRID_TOOL_SET tools;
    AllTools() { tools.set(); }
    const GRID_TOOL_SET& GetEnabledTools() const override { return tools; }
};

// An element that counts its deletion.
class CountedElement : public IGridElement {
public:
    explicit CountedElement(int* deleted) : m_deleted(deleted) {}
    ~CountedElement() override { ++*m_deleted; }

private:
    int* m_deleted;
};

// A vector view filled from rows of texts.
inline CVectorGridView* MakeTable(const std::vector<std::vector<std::string>>& rows) {
    auto* v = new CVectorGridView;
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c) v->SetCellText(int(c), int(r), rows[r][c].c_str());
    return v;
}

// The console's usual chain: a filter decorator over a border decorator
// whose header holds typed column labels, over the data.
struct Chain {
    CFilterDecorator* filter;
    CBorderDecorator* border;
    CTitleGridView* title;
    CVectorGridView* data;
    std::unique_ptr<CFilterDecorator> owner;
};

inline Chain MakeChain(const std::vector<std::pair<std::string, int>>& labels,
                       const std::vector<std::vector<std::string>>& rows) {
    Chain c;
    c.data = MakeTable(rows);
    c.data->SetColumnCount(int(labels.size()));
    c.title = new CTitleGridView(true);
    for (size_t i = 0; i < labels.size(); ++i) c.title->SetColumnLabel(int(i), labels[i].first.c_str(), labels[i].second);
    c.border = new CBorderDecorator(c.data);
    c.border->SetBorderView(GRID_ELEMENT_HEADER, c.title);
    c.filter = new CFilterDecorator(c.border);
    c.owner.reset(c.filter);
    return c;
}

// Display texts of one column of a chain's data, in display order.
inline std::vector<std::string> ColumnTexts(const CVectorGridView& v, int column) {
    std::vector<std::string> out;
    for (int r = 0; r < v.GetRowCount(); ++r) {
        const char* t = v.GetCellText(column, r);
        out.push_back(t ? t : "");
    }
    return out;
}

inline std::string Join(const std::vector<std::string>& v) {
    std::string s;
    for (size_t i = 0; i < v.size(); ++i) s += (i ? "|" : "") + v[i];
    return s;
}

// Texts of one data column in the rows a pass over the decorator draws.
inline std::string Shown(CFilterDecorator& f, int column = 0) {
    RecordingDevice device;
    const CELL_COORD size = f.GetSize();
    f.Draw(device, CELL_INFO(CELL_RANGE(0, 0, size.column, size.row)));
    std::vector<std::string> out;
    for (int r = 1; r < size.row; ++r)
        if (const Rendered* c = device.At(f.GetLeftCount() + column, r)) out.push_back(c->text.empty() ? "-" : c->text);
    return Join(out);
}

// Element glyphs as the console gives its grids: 13 pictures of 9 pixels
// on a masked white ground, each a down arrow; the filter button's two
// (9 plain, 10 filtering) in black and blue. The caller destroys the list.
inline HIMAGELIST MakeArrowGlyphs() {
    const int size = 9;
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 13, 0);
    HDC screen = ::GetDC(nullptr);
    for (int i = 0; i < 13; ++i) {
        HBITMAP bmp = ::CreateCompatibleBitmap(screen, size, size);
        HDC dc = ::CreateCompatibleDC(screen);
        HGDIOBJ old = ::SelectObject(dc, bmp);
        RECT all = {0, 0, size, size};
        ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        const COLORREF ink = i == 10 ? RGB(0, 0, 255) : RGB(0, 0, 0);
        for (int row = 0; row < 4; ++row)
            for (int x = 1 + row; x < size - 1 - row; ++x) ::SetPixel(dc, x, 3 + row, ink);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ImageList_AddMasked(list, bmp, RGB(255, 255, 255));
        ::DeleteObject(bmp);
    }
    ::ReleaseDC(nullptr, screen);
    return list;
}

// A 32-bit top-down DIB section selected into a memory DC.
class Dib {
public:
    Dib(int width, int height, COLORREF fill) : m_width(width), m_height(height) {
        m_dc = ::CreateCompatibleDC(nullptr);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        m_bitmap = ::CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~Dib() {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    HDC dc() const { return m_dc; }
    void Fill(COLORREF c) {
        HBRUSH b = ::CreateSolidBrush(c);
        RECT r = {0, 0, m_width, m_height};
        ::FillRect(m_dc, &r, b);
        ::DeleteObject(b);
    }
    // The pixel as a COLORREF (0x00BBGGRR).
    COLORREF At(int x, int y) const {
        ::GdiFlush();
        const unsigned p = m_bits[size_t(y) * size_t(m_width) + size_t(x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Pixels of a rectangle that differ from a colour.
    int CountOther(const RECT& r, COLORREF c) const {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) != c) ++n;
        return n;
    }
    int CountColour(const RECT& r, COLORREF c) const {
        return (r.right - r.left) * (r.bottom - r.top) - CountOther(r, c);
    }
    // Whether a rectangle matches another DIB's pixel for pixel.
    bool SameAs(const Dib& o, const RECT& r) const {
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (At(x, y) != o.At(x, y)) return false;
        return true;
    }
    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    unsigned* m_bits = nullptr;
};

}  // namespace gt
