// The grid model without a window: geometry and hit tests, cell styles, the
// view interface and its base implementations, columns and comparators, the
// vector, composite, border, title and grid-lines views.
#include <clocale>
#include <numeric>
#include <stdexcept>
#include <type_traits>

#include "grid/grid_column.h"
#include "grid/grid_comparator.h"
#include "grid/grid_composite.h"
#include "grid/grid_lines.h"
#include "grid_test_util.h"

using namespace gt;

// Views that own children, rows or columns are not copyable: a copy would
// delete what its source deletes too.
static_assert(!std::is_copy_constructible_v<CVectorGridView>);
static_assert(!std::is_copy_assignable_v<CVectorGridView>);
static_assert(!std::is_copy_constructible_v<CCompositeGridView>);
static_assert(!std::is_copy_constructible_v<CTitleGridView>);
static_assert(!std::is_copy_constructible_v<CFilterDecorator>);
// A growing style table moves its styles, keeping them as they are.
static_assert(std::is_nothrow_move_constructible_v<GRAPHIC_CELL_STYLE>);

namespace {

std::unique_ptr<TGridColumn> ColumnOfType(int type) {
    CTitleGridView title;
    title.SetColumnLabel(0, "c", type);
    return std::unique_ptr<TGridColumn>(title.CreateColumn(0));
}

void Put(TGridColumn& column, int id, const char* text, const _variant_t& sort = _variant_t(),
         const _variant_t& display = _variant_t()) {
    CELL_CONTENT content;
    content.middle.text = text;
    ::VariantCopy(&content.middle.value, const_cast<_variant_t*>(&sort));
    ::VariantCopy(&content.middle.value2, const_cast<_variant_t*>(&display));
    column.SetValue(id, content);
}

std::vector<int> SortedIds(TRowComparator& cmp, int count) {
    std::vector<int> ids(static_cast<size_t>(count));
    std::iota(ids.begin(), ids.end(), 0);
    std::stable_sort(ids.begin(), ids.end(), [&](int a, int b) { return cmp.Less(a, b); });
    return ids;
}

std::string Ids(const std::vector<int>& ids) {
    std::string s;
    for (int id : ids) s += (s.empty() ? "" : ",") + (id == GRID_UNSET ? std::string("unset") : std::to_string(id));
    return s;
}


void SetIds(CVectorGridView& v, const std::vector<int>& ids) {
    for (size_t r = 0; r < ids.size(); ++r) v.GetRows()[r].id = ids[r];
}

}  // namespace

// ---------------------------------------------------------------- geometry

WTEST(hit_test_and_adjust_coord) {
    // Columns at 0, 50, 110, 180 (widths 50, 60, 70, 80), rows of 20.
    CELL_LAYOUT layout = MakeLayout({50, 60, 70, 80}, {20, 20, 20});
    CELL_IMAGE image(layout);
    image.range = CELL_RANGE(0, 0, 4, 3);
    struct Case {
        int x, y, margin, column, row;
    } cases[] = {
        {180, 10, 0, 3, 0},            // on the border of columns 2 and 3: the right-hand one
        {179, 10, 0, 2, 0},
        {178, 10, 3, GRID_UNSET, 0},   // within 3 pixels of the border: no column, the row still found
        {183, 10, 3, 3, 0},
        {177, 30, 3, 2, 1},
        {-5, 45, 0, GRID_UNSET, 2},
        {300, 10, 0, GRID_UNSET, 0},
        {10, 61, 0, 0, GRID_UNSET},
    };
    for (const Case& c : cases) {
        const CELL_COORD hit = image.HitTest(CPoint(c.x, c.y), HIT_INFO(c.margin, c.margin));
        WCHECK_EQ(hit.column, c.column);
        WCHECK_EQ(hit.row, c.row);
    }
    // Outside the cells, AdjustCoord names the edge column or row on that side.
    WCHECK_EQ(image.AdjustCoord(CPoint(-5, 10), CELL_COORD(GRID_UNSET, 0)).column, 0);
    WCHECK_EQ(image.AdjustCoord(CPoint(300, 10), CELL_COORD(GRID_UNSET, 0)).column, 3);
    WCHECK_EQ(image.AdjustCoord(CPoint(10, 500), CELL_COORD(0, GRID_UNSET)).row, 2);
    WCHECK_EQ(image.AdjustCoord(CPoint(10, -1), CELL_COORD(0, GRID_UNSET)).row, 0);
    WCHECK_EQ(image.AdjustCoord(CPoint(178, 10), CELL_COORD(GRID_UNSET, 0)).column, GRID_UNSET);
    WCHECK_EQ(image.AdjustCoord(CPoint(-5, 10), CELL_COORD(2, 0)).column, 2);   // a set column is kept
    // Window points are image points plus the origin.
    image.origin = CPoint(10, 5);
    const CELL_COORD win = image.WinHitTest(CPoint(190, 15), HIT_INFO());
    WCHECK_EQ(win.column, 3);
    WCHECK_EQ(win.row, 0);
}

WTEST(range_rectangles) {
    CELL_LAYOUT layout = MakeLayout({100, 60, 70}, {20, 30, 40});
    CELL_IMAGE image(layout);
    image.range = CELL_RANGE(1, 1, 3, 3);
    CRect r;
    image.GetCellClientRect(CELL_COORD(0, 0), r);
    WCHECK(r == CRect(0, 0, 99, 19));
    image.GetCellRect(CELL_COORD(1, 2), r);
    WCHECK(r == CRect(100, 50, 160, 90));
    image.GetRangeRect(CELL_RANGE(0, 1, 2, 3), r);
    WCHECK(r == CRect(0, 20, 160, 90));
    image.GetRangeClientRect(CELL_RANGE(0, 1, 2, 3), r);
    WCHECK(r == CRect(0, 20, 159, 89));
    image.GetColumnRect(0, r);   // rows of the image range
    WCHECK(r == CRect(0, 20, 100, 90));
    image.GetRowRect(0, r);      // columns of the image range
    WCHECK(r == CRect(100, 0, 230, 20));
    image.GetRowRangeRect(2, 1, 3, r);
    WCHECK(r == CRect(100, 50, 230, 90));
    WCHECK_EQ(image.GetRangeWidth(0, 2), 160);
    WCHECK_EQ(image.GetRangeClientWidth(1, 3), 129);
    WCHECK_EQ(image.GetCellClientWidth(CELL_COORD(2, 0)), 69);
    WCHECK_EQ(image.GetRowBottom(1), 50);
    CRect w(0, 0, 10, 10);
    image.origin = CPoint(3, 4);
    image.MyToWin(w);
    WCHECK(w == CRect(3, 4, 13, 14));
}

WTEST(plain_values) {
    const CELL_INFO info;
    WCHECK_EQ(info.range.left, GRID_UNSET);
    WCHECK_EQ(info.range.top, GRID_UNSET);
    WCHECK_EQ(info.range.right, GRID_UNSET);
    WCHECK_EQ(info.range.bottom, GRID_UNSET);
    WCHECK(info.range.IsUnset() && info.range.IsEmpty());
    WCHECK(CELL_RANGE(CELL_COORD(4, 7)) == CELL_RANGE(4, 7, 5, 8));
    WCHECK(CELL_RANGE(0, 0, 2, 2).Intersects(CELL_RANGE(1, 1, 3, 3)));
    WCHECK(!CELL_RANGE(0, 0, 2, 2).Intersects(CELL_RANGE(2, 0, 3, 2)));   // half-open
    WCHECK(CELL_RANGE(2, 2, 2, 5).IsEmpty());
}

WTEST(find_visible_row_steps_over_hidden_rows) {
    std::vector<int> heights(12, 20);
    for (int r = 5; r <= 9; ++r) heights[size_t(r)] = 0;
    const CELL_LAYOUT layout = MakeLayout({10}, heights);
    struct Case {
        int first, last, current, target, expected;
    } cases[] = {
        {0, 12, 4, 5, 10},
        {0, 10, 4, 5, 4},    // no visible row ahead: the focus stays
        {0, 12, 11, 9, 4},
        {5, 12, 11, 9, 11},  // nothing visible from 9 down to 5
        {0, 12, 3, 3, 3},
        {0, 12, 0, 2, 2},
    };
    for (const Case& c : cases) WCHECK_EQ(FindVisibleRow(layout.rows, c.first, c.last, c.current, c.target), c.expected);
}

WTEST(row_mask_positions) {
    // Rows 0..5, rows 1 and 4 hidden; then read through a row order.
    std::vector<bool> shown = {true, false, true, true, false, true};
    TRowMask mask;
    mask.shown = &shown;
    mask.Rebuild(6);
    RecordingDevice device;
    device.SetFilter(&mask);
    const int visible[] = {0, 1, 1, 2, 3, 3};
    for (int r = 0; r < 6; ++r) {
        WCHECK_EQ(device.IsRowVisible(r), bool(shown[size_t(r)]));
        WCHECK_EQ(device.AbsToVisible(r), visible[r]);
    }
    WCHECK(device.AbsToVisible(CELL_RANGE(0, 1, 2, 5)) == CELL_RANGE(0, 1, 2, 3));
    WCHECK(!device.IsRangeVisible(CELL_RANGE(0, 4, 1, 5)));
    WCHECK(device.IsRangeVisible(CELL_RANGE(0, 3, 1, 5)));
    WCHECK(!device.IsRangeVisible(CELL_RANGE(0, 3, 1, 3)));   // no rows
    WCHECK(!device.IsRowVisible(6));                          // outside the mask
    // A sub-view's rows are moved by the cell map before the mask reads them.
    device.Offset(CELL_COORD(0, 3));
    WCHECK(!device.BeginRow(1));
    WCHECK(device.BeginRow(2));
    device.Offset(CELL_COORD(0, -3));
    // Through a row order: position p shows row id posToId[p].
    std::unique_ptr<TRowOrder> order(new TRowOrder);
    order->posToId = {4, 0, 1, 2, 3, 5};
    order->idToPos = {1, 2, 3, 4, 0, 5};
    mask.order = &order;
    mask.Rebuild(6);
    WCHECK(!device.IsRowVisible(0));   // id 4
    WCHECK(!device.IsRowVisible(2));   // id 1
    WCHECK_EQ(device.AbsToVisible(3), 1);
    WCHECK_EQ(mask.total, 4);
}

// ---------------------------------------------------------------- styles

WTEST(shade_of_a_background) {
    struct Case {
        COLORREF bk, shade;
    } cases[] = {{0x646464, 0x5F5F5F}, {0x000000, 0x050505}, {0xFFFFFF, 0xF2F2F2}, {0x0000FF, 0x0000F2}};
    for (const Case& c : cases) {
        GRAPHIC_CELL_STYLE s;
        s.SetBkColor(c.bk);
        WCHECK_EQ(s.shadeColor, c.shade);
        WCHECK_EQ(s.GetBkColor(), c.bk);
        LOGBRUSH lb;
        WCHECK(::GetObjectA(s.shadeBrush.Get(), sizeof lb, &lb) == sizeof lb && lb.lbColor == c.shade);
    }
}

WTEST(basic_styles) {
    CELL_STYLE_TABLE table = CreateBasicStyles();
    const CELL_STYLE_VECTOR& s = *table;
    WCHECK_EQ(s.size(), size_t(8));
    const DWORD formats[8] = {0x40800, 0x40825, 0x40800, 0x40825, 0x40801, 0x40800, 0x40800, 0x40801};
    const COLORREF texts[8] = {0, 0xA62E00, 0xA62E00, 0, 0, 0, 0xA62E00, 0};
    const LONG weights[8] = {400, 700, 700, 400, 400, 400, 700, 400};
    const int points[8] = {8, 8, 10, 8, 8, 8, 8, 8};
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    for (int i = 0; i < 8; ++i) {
        WCHECK_EQ(s[size_t(i)].format, formats[i]);
        WCHECK_EQ(s[size_t(i)].textColor, texts[i]);
        LOGFONTA lf;
        WCHECK(::GetObjectA(s[size_t(i)].font.Get(), sizeof lf, &lf) == sizeof lf);
        WCHECK_EQ(lf.lfWeight, weights[i]);
        WCHECK_EQ(lf.lfHeight, LONG(-::MulDiv(points[i], dpi, 72)));
        WCHECK_EQ(std::string(lf.lfFaceName), std::string("Arial"));
    }
    WCHECK(s[0].shadedRows && s[6].shadedRows && !s[1].shadedRows);
    WCHECK_EQ(s[1].hMargin, 5);
    WCHECK_EQ(s[2].vMargin, 10);
    const GRAPHIC_CELL_STYLE& header = s[STYLE_HEADER];
    WCHECK_EQ(header.bkColor, ::GetSysColor(COLOR_BTNFACE));
    WCHECK_EQ(header.edge, DWORD(BDR_RAISEDINNER));
    WCHECK_EQ(header.lineFlags, DWORD(0x1E0));
    WCHECK_EQ(header.focus.bkColor, COLORREF(0xD2BDB6));
    WCHECK_EQ(header.selection.bkColor, COLORREF(0x2D4249));
    WCHECK_EQ(header.selection.textColor, COLORREF(0xFFFFFF));
    WCHECK_EQ(header.inactiveSelection.bkColor, COLORREF(0x2D4249));
    // Equal sizes, five distinct font objects.
    const int same[] = {0, 3, 4, 5, 7};
    for (int a : same)
        for (int b : same)
            if (a < b) WCHECK(s[size_t(a)].font.Get() != s[size_t(b)].font.Get());
    // Each style its own brushes.
    WCHECK(s[0].bkBrush.Get() && s[0].bkBrush.Get() != s[5].bkBrush.Get());
}

WTEST(style_copies_and_assignment) {
    CELL_STYLE_TABLE table = CreateBasicStyles();
    // A copy makes its own font and brushes and has the system adornments.
    GRAPHIC_CELL_STYLE copy((*table)[STYLE_HEADER]);
    WCHECK_EQ(copy.selection.bkColor, ::GetSysColor(COLOR_HIGHLIGHT));
    WCHECK_EQ(copy.focus.bkColor, ::GetSysColor(COLOR_HIGHLIGHT));
    WCHECK(copy.font.Get() != (*table)[STYLE_HEADER].font.Get());
    WCHECK_EQ(copy.bkColor, ::GetSysColor(COLOR_BTNFACE));
    WCHECK_EQ(copy.edge, DWORD(BDR_RAISEDINNER));
    // Assignment takes the handles: destroying the source leaves the target's font alive.
    HFONT font;
    GRAPHIC_CELL_STYLE b;
    {
        GRAPHIC_CELL_STYLE a((*table)[0]);
        font = a.font.Get();
        b = a;
        WCHECK(b.font.IsOwned() && !a.font.IsOwned());
    }
    LOGFONTA lf;
    WCHECK(b.font.Get() == font && ::GetObjectA(font, sizeof lf, &lf) == sizeof lf);
}

WTEST(growing_style_table_keeps_colours) {
    // The console appends its own styles to the table; those already there
    // must keep their adornment colours.
    CELL_STYLE_TABLE table = CreateBasicStyles();
    CELL_STYLE_VECTOR& s = *table;
    HBRUSH selectionBrush = s[STYLE_HEADER].selection.brush.Get();
    HFONT font = s[STYLE_HEADER].font.Get();
    for (int i = 0; i < 20; ++i) s.push_back(GRAPHIC_CELL_STYLE());
    WCHECK(s.capacity() > 8);
    WCHECK_EQ(s[STYLE_HEADER].selection.bkColor, COLORREF(0x2D4249));
    WCHECK_EQ(s[STYLE_HEADER].focus.bkColor, COLORREF(0xD2BDB6));
    WCHECK_EQ(s[STYLE_HEADER].inactiveSelection.textColor, COLORREF(0xFFFFFF));
    WCHECK(s[STYLE_HEADER].selection.brush.Get() == selectionBrush && s[STYLE_HEADER].selection.brush.IsOwned());
    WCHECK(s[STYLE_HEADER].font.Get() == font && s[STYLE_HEADER].font.IsOwned());
    LOGBRUSH lb;
    WCHECK(::GetObjectA(selectionBrush, sizeof lb, &lb) == sizeof lb && lb.lbColor == 0x2D4249);
}

// ---------------------------------------------------------------- view interface

WTEST(capabilities) {
    CDefGridViewImpl view;
    const bool expected[6] = {false, true, true, false, false, true};
    for (int bit = 0; bit < 6; ++bit) WCHECK_EQ(view.CapableOf(bit), expected[bit]);
    WCHECK_EQ(view.GetCapabilityWord(), 0x26);
    for (int bad : {6, -1, 100}) {
        std::string what;
        try {
            view.CapableOf(bad);
        } catch (const std::out_of_range& e) {
            what = e.what();
        }
        WCHECK_EQ(what, std::string("invalid bitset<N> position"));
        WCHECK_THROWS(view.SetCapability(bad, true), const std::out_of_range&);
    }
    WCHECK_EQ(view.SetCapability(0, true), true);
    WCHECK(view.CapableOf(0));
    CELL_RANGE r(1, 1, 1, 1);
    view.GetActiveRange(r);
    WCHECK(r == CELL_RANGE(0, 0, 0, 0));
    WCHECK_EQ(view.GetID(), GRID_UNSET);
    TTrivialRowComparator cmp;
    WCHECK(!view.Sort(0, &cmp));
}

WTEST(event_source) {
    CDefGridViewImpl view;
    CountingSink a, b;
    view.Advise(&a);
    view.Advise(&b);
    view.Advise(&a);
    view.Unadvise(&a);   // the first entry of a
    view.Unadvise(&a);
    view.Unadvise(&a);   // not there any more: ignored
    view.FireOnChange();
    WCHECK_EQ(a.calls, 0);
    WCHECK_EQ(b.calls, 1);
    view.Advise(&a);
    view.Advise(&a);
    view.Unadvise(&a);
    view.FireOnChange();
    WCHECK_EQ(a.calls, 1);
    WCHECK_EQ(b.calls, 2);
}

WTEST(decorator_forwards_and_moves_ownership) {
    int deleted = 0;
    {
        auto* inner = new CountedView(&deleted, CELL_COORD(3, 4), 17);
        CGridLinesDecorator lines(inner, 6);
        WCHECK(lines.GetSize() == CELL_COORD(3, 4));
        WCHECK_EQ(lines.GetID(), 17);
        WCHECK(lines.GetActiveView() == inner);
        TTrivialRowComparator cmp;
        WCHECK(lines.Sort(2, &cmp));
        WCHECK_EQ(inner->sortedBy.size(), size_t(1));
        // Drawing passes through unchanged.
        RecordingDevice device;
        lines.Draw(device, CELL_INFO(CELL_RANGE(0, 1, 2, 3)));
        WCHECK(inner->drawn.size() == 1 && inner->drawn[0] == CELL_RANGE(0, 1, 2, 3));
        WCHECK_EQ(lines.ModifyFlags(0, 0), 6ul);
        WCHECK_EQ(lines.ModifyFlags(0x21, 0x21), 0x27ul);
        WCHECK_EQ(lines.ModifyFlags(0, 4), 0x23ul);
        // A copy takes the view; the source still points at it but no longer owns it.
        CGridLinesDecorator copy(lines);
        WCHECK(copy.OwnsInnerView() && !lines.OwnsInnerView());
        WCHECK(lines.GetInnerView() == inner);
    }
    WCHECK_EQ(deleted, 1);
    // Row data is not forwarded.
    CVectorGridView* data = MakeTable({{"a"}, {"b"}});
    data->SetRowData(1, 99);
    CGridLinesDecorator lines(data, 6);
    WCHECK_EQ(data->GetRowData(1), 99L);
    WCHECK_EQ(lines.GetRowData(1), 0L);
    lines.SetRowData(1, 5);
    WCHECK_EQ(data->GetRowData(1), 99L);
    WCHECK(lines.SaveFilter().empty());
}

WTEST(default_row_tree) {
    CountedView view(nullptr, CELL_COORD(1, 3));
    TGridHierarchy tree;
    TGridHierarchyBuilder builder(tree, 5);
    builder.EnterUnder(4, GRID_UNSET, 1);   // entered earlier by another view
    builder.offset = 2;
    view.BuildHierarchy(builder, false);
    WCHECK_EQ(tree[2].level, 0);
    WCHECK_EQ(tree[3].level, 0);
    WCHECK_EQ(tree[4].data, 1);   // left alone
    WCHECK_EQ(tree[2].data, 0x26);
    WCHECK_EQ(tree[0].level, GRID_UNSET);
    WCHECK_EQ(tree.depth, 1);
    // Under a parent: level + 1, recorded as its child.
    TGridHierarchy t2;
    TGridHierarchyBuilder b2(t2, 4);
    b2.Enter(0, 0x26);
    b2.parent = 0;
    b2.offset = 1;
    view.BuildHierarchy(b2, true);
    WCHECK_EQ(t2[3].level, 1);
    WCHECK_EQ(t2[3].parent, 0);
    WCHECK_EQ(t2[0].children.size(), size_t(3));
    WCHECK_EQ(t2.depth, 2);
}

// ---------------------------------------------------------------- columns and comparators

WTEST(text_column_order) {
    for (int type : {1, 5, 0, -3}) {   // any code but 2, 3, 4 is text
        auto col = ColumnOfType(type);
        col->Resize(4);
        Put(*col, 0, "b");
        Put(*col, 1, "");
        Put(*col, 2, "A");
        Put(*col, 3, "a");
        WCHECK_EQ(Ids(SortedIds(*col, 3)), std::string("2,0,1"));   // case folded, empty last
        WCHECK(!col->Equal(2, 3));
        WCHECK(!col->Less(2, 3) && !col->Less(3, 2));
        WCHECK(col->IsEmpty(1) && !col->IsEmpty(0));
        std::string text;
        col->GetText(2, text);
        WCHECK_EQ(text, std::string("A"));
    }
}

// Case folding above 0x7F is that of the system's code page: switching the C
// runtime's locale changes no order ("\xC9" and "\xE9" are one letter in
// both cases).
WTEST(text_order_ignores_the_runtime_locale) {
    for (const char* locale : {"C", ".1252", ".850", ".437"}) {
        std::setlocale(LC_ALL, locale);
        auto col = ColumnOfType(COLUMN_TYPE_TEXT);
        col->Resize(3);
        Put(*col, 0, "\xE9");
        Put(*col, 1, "\xC9");
        Put(*col, 2, "f");
        WCHECK(!col->Less(0, 1) && !col->Less(1, 0));
        WCHECK(col->Less(2, 1) && !col->Less(1, 2));
    }
    std::setlocale(LC_ALL, "C");
}

WTEST(typed_columns) {
    // Integer: the sort value, else the display value, else 0.
    auto ints = ColumnOfType(COLUMN_TYPE_INTEGER);
    ints->Resize(5);
    Put(*ints, 0, "17", _variant_t(), _variant_t(L"17"));   // sort value empty: display value
    Put(*ints, 1, "", _variant_t(), _variant_t());          // both empty: 0
    Put(*ints, 2, "9", _variant_t(9L), _variant_t(L"nine"));
    Put(*ints, 3, "-4", _variant_t(-4L));
    {
        CELL_CONTENT c;
        c.middle.text = "17";
        c.middle.value.vt = VT_NULL;
        _variant_t seventeen(17L);
        ::VariantCopy(&c.middle.value2, &seventeen);
        ints->SetValue(4, c);
    }
    WCHECK_EQ(Ids(SortedIds(*ints, 5)), std::string("3,1,2,0,4"));
    WCHECK(ints->Equal(0, 4));
    std::string text;
    ints->GetText(1, text);
    WCHECK(text.empty() && ints->IsEmpty(1));
    // IP address: unsigned 32-bit numbers, so 255.255.255.255 comes last.
    auto ips = ColumnOfType(COLUMN_TYPE_IP);
    ips->Resize(3);
    Put(*ips, 0, "10.0.0.1", _variant_t(167772161.0), _variant_t(L"10.0.0.1"));
    Put(*ips, 1, "9.255.255.255", _variant_t(167772159.0), _variant_t(L"9.255.255.255"));
    Put(*ips, 2, "255.255.255.255", _variant_t(4294967295.0), _variant_t(L"255.255.255.255"));
    WCHECK_EQ(Ids(SortedIds(*ips, 3)), std::string("1,0,2"));
    // Dates and real numbers: a date value, a real number, a text that is a date.
    auto reals = ColumnOfType(COLUMN_TYPE_REAL);
    reals->Resize(4);
    Put(*reals, 0, "2024-01-05", _variant_t(45296.0, VT_DATE));
    Put(*reals, 1, "1.5", _variant_t(), _variant_t(L"1.5"));
    Put(*reals, 2, "2023-12-31", _variant_t(), _variant_t(L"2023-12-31"));
    Put(*reals, 3, "-2", _variant_t(-2.0));
    WCHECK_EQ(Ids(SortedIds(*reals, 4)), std::string("3,1,2,0"));
}

WTEST(unconvertible_values_count_as_empty) {
    // "n/a" in an integer, IP or real column: no error, the number of an
    // empty value (0), in a sort as in the filters.
    for (int type : {COLUMN_TYPE_INTEGER, COLUMN_TYPE_IP, COLUMN_TYPE_REAL}) {
        auto col = ColumnOfType(type);
        col->Resize(4);
        bool threw = false;
        try {
            Put(*col, 0, "5", _variant_t(5L));
            Put(*col, 1, "n/a", _variant_t(), _variant_t(L"n/a"));
            Put(*col, 2, "0", _variant_t(0L));
            Put(*col, 3, "n/a", _variant_t(L"n/a"), _variant_t(L"n/a"));
        } catch (...) {
            threw = true;
        }
        WCHECK(!threw);
        WCHECK(col->Equal(1, 2) && col->Equal(1, 3));
        WCHECK(col->Less(1, 0) && !col->Less(0, 1));
        std::string text;
        col->GetText(1, text);
        WCHECK_EQ(text, std::string("n/a"));
    }
    // Through a vector view's sort by the column.
    CVectorGridView view;
    view.SetCellVariant(0, 0, _variant_t(L"12"), _variant_t());
    view.SetCellVariant(0, 1, _variant_t(L"n/a"), _variant_t());
    view.SetCellVariant(0, 2, _variant_t(L"3"), _variant_t());
    auto col = ColumnOfType(COLUMN_TYPE_INTEGER);
    col->Resize(3);
    RecordingDevice device;
    view.Draw(device, CELL_INFO(CELL_RANGE(0, 0, 1, 3)));
    WCHECK_EQ(device.cells.size(), size_t(3));
    for (int r = 0; r < 3; ++r) {
        CELL_CONTENT c;
        CVectorGridView::FillElement(*view.GetCellUnsafe(0, r), c.middle);
        col->SetValue(r, c);
    }
    SetIds(view, {0, 1, 2});
    TOrderComporator ascending(true);
    ascending.SetComparator(col.get());
    WCHECK(view.Sort(0, &ascending));
    WCHECK_EQ(Join(ColumnTexts(view, 0)), std::string("n/a|3|12"));
}

WTEST(plain_comparators) {
    TMultiComparator none;
    WCHECK(!none.Less(1, 2) && !none.Less(2, 1));
    WCHECK(none.Equal(1, 2));
    std::vector<int> primary = {1, 0, 1, 0}, secondary = {3, 2, 1, 0};
    TRowComparatorOnVector p(&primary), s(&secondary);
    TMultiComparator both({&p, &s});
    WCHECK_EQ(Ids(SortedIds(both, 4)), std::string("3,1,2,0"));
    WCHECK(!both.Equal(0, 2));
    TTrivialRowComparator trivial;
    WCHECK(trivial.Less(1, 2) && trivial.Equal(3, 3));
    // The order adapter: descending swaps the operands, so it stays strict.
    TOrderComporator down(false);
    WCHECK(!down.CanCompare());
    down.SetComparator(&s);
    WCHECK(down.CanCompare());
    WCHECK_EQ(Ids(SortedIds(down, 4)), std::string("0,1,2,3"));
    WCHECK(!down.Less(1, 1));
}

WTEST(sort_without_a_comparator_refuses) {
    // The grid's adapter reaches a sortable view with nothing to wrap (no
    // filter decorator gave it a column): the sort is refused, rows stay.
    CVectorGridView* view = MakeTable({{"c"}, {"a"}, {"b"}});
    std::unique_ptr<CVectorGridView> owner(view);
    SetIds(*view, {3, 1, 2});
    TOrderComporator empty(true);
    WCHECK(!view->Sort(0, &empty));
    WCHECK(!view->Sort(0, nullptr));
    WCHECK_EQ(Join(ColumnTexts(*view, 0)), std::string("c|a|b"));
    CCompositeGridView composite;
    composite.AppendView(MakeTable({{"x"}}));
    WCHECK(!composite.Sort(0, &empty));
    CBorderDecorator border(MakeTable({{"y"}, {"z"}}));
    WCHECK(!border.Sort(0, &empty));
    // With a comparator to wrap it sorts.
    TTrivialRowComparator natural;
    empty.SetComparator(&natural);
    WCHECK(view->Sort(0, &empty));
    WCHECK_EQ(Join(ColumnTexts(*view, 0)), std::string("a|b|c"));
}

// ---------------------------------------------------------------- vector view

WTEST(vector_cells_and_rows) {
    CVectorGridView v;
    v.SetCellText(5, 2, "x", 7);
    WCHECK(v.GetSize() == CELL_COORD(6, 3));
    WCHECK(v.GetRowUnsafe(0) && !v.GetRowUnsafe(0)->cells && !v.GetRowUnsafe(1)->cells);
    WCHECK(v.GetCellUnsafe(0, 0) == nullptr);
    WCHECK(v.GetCellUnsafe(0, 2) != nullptr && v.GetCellUnsafe(6, 2) == nullptr && v.GetCellUnsafe(-1, 2) == nullptr);
    int image = 5;
    WCHECK_EQ(std::string(v.GetCellText(5, 2, &image)), std::string("x"));
    WCHECK_EQ(image, -1);
    image = 5;
    WCHECK(v.GetCellText(1, 1, &image) == nullptr && image == -1);
    WCHECK_EQ(v.GetCellUnsafe(5, 2)->tag, 7);
    v.SetColumnCount(2);
    WCHECK(v.GetSize() == CELL_COORD(2, 3));
    WCHECK(v.GetCellUnsafe(5, 2) != nullptr);   // kept, outside the view
    // A missing cell draws as empty content.
    RecordingDevice device;
    v.Draw(device, CELL_INFO(CELL_RANGE(0, 0, 2, 1)));
    WCHECK_EQ(device.cells.size(), size_t(2));
    WCHECK(!device.cells[0].hasText);
    v.Resize(-1, 0);
    WCHECK(v.GetSize() == CELL_COORD(2, 0));
    VECTOR_ROW_ELEMENT* row = nullptr;
    WCHECK_EQ(v.AppendRow(&row), 0);
    row->data = 11;
    row->key = 3;
    v.InsertRow(0);
    v.InsertRow(2);
    v.InsertRow(7);   // outside: nothing
    WCHECK_EQ(v.GetRowCount(), 3);
    WCHECK_EQ(v.GetRowData(1), 11L);
    WCHECK_EQ(v.GetRowID(0), GRID_UNSET);
    WCHECK_EQ(v.GetRowUnsafe(0)->style, -1);
    v.DeleteRow(1);
    WCHECK_EQ(v.GetRowCount(), 2);
    WCHECK_EQ(v.GetRowData(1), 0L);
    WCHECK_THROWS(v.AllocateCell(-1, 0), const std::out_of_range&);
}

WTEST(vector_variant_cells) {
    CVectorGridView v;
    _variant_t null;
    null.vt = VT_NULL;
    v.SetCellVariant(0, 0, null, _variant_t(3L));
    v.SetCellVariant(1, 0, _variant_t(42L), _variant_t());
    v.SetCellVariant(2, 0, _variant_t(L"10.0.0.1"), _variant_t(167772161.0), 3);
    WCHECK_EQ(std::string(v.GetCellText(0, 0)), std::string(""));
    WCHECK_EQ(std::string(v.GetCellText(1, 0)), std::string("42"));
    WCHECK_EQ(std::string(v.GetCellText(2, 0)), std::string("10.0.0.1"));
    WCHECK_EQ(v.GetCellUnsafe(2, 0)->tag, 3);
    // A pass sees the sort value first and the display value second.
    RecordingDevice device;
    v.Draw(device, CELL_INFO(CELL_RANGE(2, 0, 3, 1)));
    WCHECK(device.cells.size() == 1 && device.cells[0].valueType == VT_R8 && device.cells[0].value2Type == VT_BSTR);
}

WTEST(vector_cells_move_their_elements) {
    int deleted = 0;
    {
        CVectorGridView v;
        VECTOR_CELL_DATA cell;
        cell.text = "button";
        cell.toolKind = GRID_TOOL_CELL_CLICK;
        cell.element.Reset(new CountedElement(&deleted));
        IGridElement* element = cell.element.Get();
        const VECTOR_CELL_DATA& constant = cell;
        v.SetCell(0, 0, constant);   // the source passed as a constant still gives it up
        WCHECK(!cell.element.IsOwned());
        WCHECK(v.GetCellUnsafe(0, 0)->element.Get() == element && v.GetCellUnsafe(0, 0)->element.IsOwned());
        v.SetCell(0, 0, *v.GetCellUnsafe(0, 0));   // onto itself: nothing changes
        WCHECK_EQ(deleted, 0);
        WCHECK(v.GetCellUnsafe(0, 0)->element.IsOwned());
        // Growing the row moves cells without losing the element.
        v.SetCellText(40, 0, "far");
        WCHECK(v.GetCellUnsafe(0, 0)->element.Get() == element);
        WCHECK_EQ(deleted, 0);
        // A pass borrows the element and the tool kind.
        RecordingDevice device;
        struct Probe : IDeviceSink {
            IGridElement* seen = nullptr;
            int kind = -1;
            void BeforeRenderRange(const CELL_RANGE&, CELL_CONTENT& c) override {
                if (c.middle.element) {
                    seen = c.middle.element;
                    kind = c.middle.toolKind;
                }
            }
        } probe;
        device.Advise(&probe);
        v.Draw(device, CELL_INFO(CELL_RANGE(0, 0, 1, 1)));
        WCHECK(probe.seen == element && probe.kind == GRID_TOOL_CELL_CLICK);
        // Replacing the cell deletes the element it owned.
        v.SetCellText(0, 0, "plain");
        WCHECK_EQ(deleted, 1);
        v.AllocateCell(1, 0).element.Reset(new CountedElement(&deleted));
    }
    WCHECK_EQ(deleted, 2);   // the view deletes what its cells own
}

WTEST(vector_draw_protocol) {
    CVectorGridView* v = MakeTable({{"a", "b"}, {"c", "d"}, {"e", "f"}});
    std::unique_ptr<CVectorGridView> owner(v);
    v->GetRows()[1].style = 4;
    RecordingDevice device;
    device.SetStyleIndex(2);
    device.refuse = {2};
    v->Draw(device, CELL_INFO(CELL_RANGE(0, 0, 2, 5)));   // rows beyond the view are skipped
    WCHECK_EQ(device.cells.size(), size_t(4));
    WCHECK_EQ(device.TextAt(1, 1), std::string("d"));
    WCHECK_EQ(device.At(1, 1)->style, 4);   // the row's own style
    WCHECK_EQ(device.At(0, 0)->style, 2);
    WCHECK_EQ(device.GetStyleIndex(), 2);   // restored
    WCHECK(device.At(0, 2) == nullptr);     // refused row: no cells, no EndRow
    WCHECK(device.ended == std::vector<int>({0, 1}));
    // IndexRows writes and reads the IDs in display order.
    std::vector<int> ids = {7, 8, 9, 99};
    WCHECK(v->IndexRows(true, ids.begin()) == ids.begin() + 3);
    std::vector<int> back(3, 0);
    v->IndexRows(false, back.begin());
    WCHECK(back == std::vector<int>({7, 8, 9}));
}

WTEST(vector_sort_by_ids) {
    CVectorGridView* v = MakeTable({{"three"}, {"unset"}, {"one"}});
    std::unique_ptr<CVectorGridView> owner(v);
    SetIds(*v, {3, GRID_UNSET, 1});
    TTrivialRowComparator byId;
    WCHECK(v->Sort(GRID_UNSET, &byId));
    WCHECK_EQ(Join(ColumnTexts(*v, 0)), std::string("unset|one|three"));
    SetIds(*v, {3, 2, 1});
    v->SetCapability(CAP_SORTABLE, false);
    WCHECK(!v->Sort(0, &byId));
    WCHECK_EQ(Join(ColumnTexts(*v, 0)), std::string("unset|one|three"));
    CVectorGridView empty;
    WCHECK(!empty.Sort(0, &byId));   // nothing reordered
}

WTEST(vector_key_tree) {
    // rows: key, parent key; a child listed before its parent, a chain in
    // reverse order, a missing parent and a cycle.
    struct Row {
        int key, parent, style;
    } rows[] = {
        {30, 10, -1},   // 0: child of row 2 (listed before it)
        {40, 30, -1},   // 1: grandchild, also before its parent
        {10, 0, -1},    // 2: top-level
        {20, 0, 6},     // 3: top-level, style 6
        {50, 99, -1},   // 4: no such parent
        {60, 70, -1},   // 5: cycle with 6
        {70, 60, -1},   // 6
        {80, 20, -1},   // 7: child of row 3
    };
    CVectorGridView v;
    for (size_t i = 0; i < std::size(rows); ++i) {
        v.SetCellText(0, int(i), std::to_string(rows[i].key).c_str());
        v.GetRows()[i].key = rows[i].key;
        v.GetRows()[i].parentKey = rows[i].parent;
        v.GetRows()[i].style = rows[i].style;
    }
    v.SetHierarchyColumn(0);
    TGridHierarchy tree;
    {
        TGridHierarchyBuilder b(tree, 9);
        b.Enter(0, 0);   // a title row above, as a border decorator enters it
        b.parent = 0;
        b.offset = 1;
        v.BuildHierarchy(b, true);
    }
    const int levels[] = {2, 3, 1, 1, GRID_UNSET, GRID_UNSET, GRID_UNSET, 2};
    for (int i = 0; i < 8; ++i) WCHECK_EQ(tree[i + 1].level, levels[i]);
    WCHECK_EQ(tree[1].parent, 3);
    WCHECK_EQ(tree[2].parent, 1);
    WCHECK_EQ(tree.depth, 4);
    WCHECK(tree[3].children == std::vector<int>({1}));
    WCHECK(tree[0].children == std::vector<int>({3, 4}));
    // Data: the capability word with 8 (tree mode off); 0x10 on top-level rows not of style 6.
    WCHECK_EQ(tree[3].data, 0x26 | 0x8 | 0x10);
    WCHECK_EQ(tree[4].data, 0x26 | 0x8);
    WCHECK_EQ(tree[1].data, 0x26 | 0x8);
    // Not asked for the tree: every row at top level under the current parent.
    TGridHierarchy plain;
    {
        TGridHierarchyBuilder b(plain, 8);
        v.BuildHierarchy(b, false);
    }
    for (int i = 0; i < 8; ++i) WCHECK_EQ(plain[i].level, 0);
    WCHECK_EQ(plain[0].data, 0x26);
}

// ---------------------------------------------------------------- composite

WTEST(composite_layout_and_draw) {
    int deleted = 0;
    auto* a = new CountedView(&deleted, CELL_COORD(3, 2));
    auto* b = new CountedView(&deleted, CELL_COORD(5, 0));
    auto* c = new CountedView(&deleted, CELL_COORD(4, 7));
    {
        CCompositeGridView composite;
        composite.AppendView(a);
        composite.AppendView(c);
        composite.InsertView(1, b);
        WCHECK_EQ(composite.GetViewCount(), 3u);
        WCHECK(composite.GetSize() == CELL_COORD(5, 9));   // the empty child counts for the width
        CELL_RANGE r;
        composite.GetViewRange(2, r);
        WCHECK(r == CELL_RANGE(0, 2, 5, 9));
        composite.GetActiveRange(2, r);
        WCHECK(r == CELL_RANGE(0, 2, 4, 9));
        composite.GetActiveRange(r);
        WCHECK(r == CELL_RANGE(0, 0, 5, 9));
        // Rows [1, 4): row 1 of a, an empty range of b, rows 0 and 1 of c.
        RecordingDevice device;
        composite.Draw(device, CELL_INFO(CELL_RANGE(0, 1, 5, 4)));
        WCHECK(a->drawn.size() == 1 && a->drawn[0] == CELL_RANGE(0, 1, 5, 2));
        WCHECK(b->drawn.size() == 1 && b->drawn[0].IsEmpty());
        WCHECK(c->drawn.size() == 1 && c->drawn[0] == CELL_RANGE(0, 0, 5, 2));
        WCHECK(device.GetCellMap() == CELL_COORD(0, 0));   // the row origin is put back
        // SetView gives the old child back; DeleteAllViews deletes only the new one.
        auto* d = new CountedView(&deleted, CELL_COORD(1, 1));
        CDefGridView* old = composite.SetView(0, d);
        WCHECK(old == a);
        composite.DeleteView(1);   // b
        WCHECK_EQ(deleted, 1);
        composite.DeleteAllViews();
        WCHECK_EQ(deleted, 3);
        delete old;
    }
    WCHECK_EQ(deleted, 4);
}

WTEST(composite_draws_children_at_their_rows) {
    CCompositeGridView composite;
    composite.AppendView(MakeTable({{"a0"}, {"a1"}}));
    composite.AppendView(MakeTable({{"b0"}, {"b1"}, {"b2"}}));
    RecordingDevice device;
    composite.Draw(device, CELL_INFO(CELL_RANGE(0, 1, 1, 4)));
    WCHECK_EQ(device.TextAt(0, 1), std::string("a1"));
    WCHECK_EQ(device.TextAt(0, 2), std::string("b0"));
    WCHECK_EQ(device.TextAt(0, 3), std::string("b1"));
    WCHECK(device.At(0, 4) == nullptr);
    WCHECK(device.At(0, 3)->view == CELL_RANGE(0, 1, 1, 2));   // the child's own coordinates
}

WTEST(composite_sorts_groups_by_id) {
    int deleted = 0;
    CCompositeGridView composite;
    auto* five = new CountedView(&deleted, CELL_COORD(1, 1), 5);
    auto* unset = new CountedView(&deleted, CELL_COORD(1, 1), GRID_UNSET);
    auto* two = new CountedView(&deleted, CELL_COORD(1, 1), 2);
    composite.AppendView(unset);
    composite.AppendView(five);
    composite.AppendView(two);
    TTrivialRowComparator ascending;
    WCHECK(composite.Sort(4, &ascending));
    WCHECK(composite.GetView(0) == unset && composite.GetView(1) == two && composite.GetView(2) == five);
    WCHECK(five->sortedBy == std::vector<int>({4}) && unset->sortedBy == std::vector<int>({4}));
    // Each child's rows come from the layout after the sort.
    CELL_RANGE r;
    composite.GetViewRange(2, r);
    WCHECK(r == CELL_RANGE(0, 2, 1, 3));
}

WTEST(composite_row_tree_before_any_layout) {
    // The tree is asked for before anything laid the composite out.
    CCompositeGridView composite;
    composite.AppendView(MakeTable({{"a"}, {"b"}}));
    composite.AppendView(MakeTable({{"c"}, {"d"}, {"e"}}));
    TGridHierarchy tree;
    TGridHierarchyBuilder builder(tree, 5);
    composite.BuildHierarchy(builder, false);
    for (int r = 0; r < 5; ++r) WCHECK_EQ(tree[r].level, 0);
    WCHECK_EQ(builder.offset, 0);
    // And after a child is inserted at the front.
    composite.InsertView(0, MakeTable({{"z"}}));
    TGridHierarchy t2;
    TGridHierarchyBuilder b2(t2, 6);
    composite.BuildHierarchy(b2, false);
    for (int r = 0; r < 6; ++r) WCHECK_EQ(t2[r].level, 0);
    std::vector<int> ids = {0, 1, 2, 3, 4, 5};
    WCHECK(composite.IndexRows(true, ids.begin()) == ids.end());
}

// ---------------------------------------------------------------- border and title

WTEST(border_geometry) {
    int deleted = 0;
    auto* centre = new CountedView(&deleted, CELL_COORD(4, 10));
    {
        CountedView stray(&deleted);
        CBorderDecorator border(centre);
        border.SetBorderView(GRID_ELEMENT_HEADER, new CountedView(&deleted, CELL_COORD(4, 1), 8));
        border.SetBorderView(GRID_ELEMENT_LEFT, new CountedView(&deleted, CELL_COORD(2, 10)));
        border.SetBorderView(512, &stray);   // not a border place: nothing, not taken
        WCHECK_EQ(deleted, 0);
        WCHECK(border.GetSize() == CELL_COORD(6, 11));
        CELL_RANGE r;
        border.GetActiveRange(r);
        WCHECK(r == CELL_RANGE(2, 1, 6, 11));
        WCHECK_EQ(border.GetID(), 8);
        TTrivialRowComparator cmp;
        border.Sort(3, &cmp);
        border.Sort(GRID_UNSET, &cmp);
        WCHECK(centre->sortedBy == std::vector<int>({1, GRID_UNSET}));
        // Draw: each part clipped to its size, at its place.
        centre->drawn.clear();
        RecordingDevice device;
        border.Draw(device, CELL_INFO(CELL_RANGE(0, 0, 3, 3)));
        WCHECK(centre->drawn.size() == 1 && centre->drawn[0] == CELL_RANGE(0, 0, 1, 2));
        border.SetBorderView(GRID_ELEMENT_HEADER, new CountedView(&deleted, CELL_COORD(4, 1)));
        WCHECK_EQ(deleted, 1);   // the replaced header
    }
    WCHECK_EQ(deleted, 5);
    // A centre without rows: the active range spans every column.
    CBorderDecorator empty(new CountedView(nullptr, CELL_COORD(3, 0)));
    empty.SetBorderView(GRID_ELEMENT_LEFT, new CountedView(nullptr, CELL_COORD(2, 0)));
    CELL_RANGE r;
    empty.GetActiveRange(r);
    WCHECK(r == CELL_RANGE(0, 0, 5, 0));
    WCHECK_EQ(empty.GetID(), GRID_UNSET);
    WCHECK(empty.CreateColumn(0) == nullptr);
}

WTEST(border_places_and_row_tree) {
    CBorderDecorator border(MakeTable({{"c00", "c01"}, {"c10", "c11"}}));
    border.SetBorderView(GRID_ELEMENT_HEADER, MakeTable({{"h0", "h1"}}));
    border.SetBorderView(GRID_ELEMENT_FOOTER, MakeTable({{"f0"}}));
    border.SetBorderView(GRID_ELEMENT_LEFT, MakeTable({{"l0"}, {"l1"}}));
    border.SetBorderView(GRID_ELEMENT_RIGHT, MakeTable({{"r0"}, {"r1"}}));
    WCHECK(border.GetSize() == CELL_COORD(4, 4));
    RecordingDevice device;
    border.Draw(device, CELL_INFO(CELL_RANGE(0, 0, 4, 4)));
    WCHECK_EQ(device.TextAt(1, 0), std::string("h0"));
    WCHECK_EQ(device.TextAt(2, 2), std::string("c11"));
    WCHECK_EQ(device.TextAt(1, 3), std::string("f0"));
    WCHECK_EQ(device.TextAt(0, 2), std::string("l1"));
    WCHECK_EQ(device.TextAt(3, 1), std::string("r0"));
    // Centre and footer rows hang under the header's first row.
    TGridHierarchy tree;
    TGridHierarchyBuilder builder(tree, 4);
    border.BuildHierarchy(builder, false);
    WCHECK_EQ(tree[0].level, 0);
    for (int r = 1; r < 4; ++r) {
        WCHECK_EQ(tree[r].level, 1);
        WCHECK_EQ(tree[r].parent, 0);
    }
    WCHECK(builder.offset == 0 && builder.parent == GRID_UNSET);
    std::vector<int> ids(5, -1);
    WCHECK(border.IndexRows(true, ids.begin()) == ids.begin() + 4);   // header, centre, footer
}

WTEST(title_view_styles_and_columns) {
    CTitleGridView* labels = new CTitleGridView(true);
    labels->SetColumnLabel(0, "Name", COLUMN_TYPE_TEXT);
    labels->SetColumnLabel(1, "Count", COLUMN_TYPE_INTEGER);
    labels->SetColumnLabel(2, "When", COLUMN_TYPE_REAL);
    WCHECK_EQ(labels->GetStyle(), int(STYLE_HEADER));
    CBorderDecorator border(MakeTable({{"a", "10", "1"}, {"b", "9", "2"}}));
    border.SetBorderView(GRID_ELEMENT_HEADER, labels);
    border.SetBorderView(GRID_ELEMENT_LEFT, MakeTable({{"x"}, {"y"}}));
    RecordingDevice device;
    border.Draw(device, CELL_INFO(CELL_RANGE(0, 0, 4, 1)));
    WCHECK_EQ(device.TextAt(2, 0), std::string("Count"));
    WCHECK_EQ(device.At(2, 0)->style, int(STYLE_HEADER));
    WCHECK_EQ(device.GetStyleIndex(), 0);
    // Column 2 of the border is the title's column 1: it sorts as numbers.
    std::unique_ptr<TGridColumn> count(border.CreateColumn(2));
    count->Resize(2);
    Put(*count, 0, "10", _variant_t(), _variant_t(L"10"));
    Put(*count, 1, "9", _variant_t(), _variant_t(L"9"));
    WCHECK(count->Less(1, 0));
    std::unique_ptr<TGridColumn> name(border.CreateColumn(1));
    name->Resize(2);
    Put(*name, 0, "10");
    Put(*name, 1, "9");
    WCHECK(name->Less(0, 1));   // text order
    // Title mode: one cell across the docked view, in style 1 (3 when vertical).
    CTitleGridView* title = new CTitleGridView(true);
    title->SetTitle("Filter column by:");
    WCHECK_EQ(title->GetTitle(), std::string("Filter column by:"));
    CBorderDecorator list(MakeTable({{"a", "b", "c"}}));
    list.SetBorderView(GRID_ELEMENT_HEADER, title);
    RecordingDevice d2;
    list.Draw(d2, CELL_INFO(CELL_RANGE(0, 0, 3, 2)));
    WCHECK(d2.At(0, 0) && d2.At(0, 0)->grid == CELL_RANGE(0, 0, 3, 1) && d2.At(0, 0)->style == STYLE_HORIZONTAL_TITLE1);
    WCHECK_EQ(d2.TextAt(0, 0), std::string("Filter column by:"));
    // A pass over the body rows alone gets the body, not the title.
    RecordingDevice body;
    list.Draw(body, CELL_INFO(CELL_RANGE(0, 1, 3, 2)));
    WCHECK_EQ(body.cells.size(), size_t(3));
    WCHECK(body.At(0, 0) == nullptr);
    WCHECK_EQ(body.TextAt(0, 1), std::string("a"));
    CTitleGridView vertical(false);
    vertical.GetTitleCell().text = "Side";
    CountedView docked(nullptr, CELL_COORD(2, 5));
    vertical.DockTo(&docked);
    RecordingDevice d3;
    vertical.Draw(d3, CELL_INFO(CELL_RANGE(0, 0, 1, 5)));
    WCHECK(d3.cells.size() == 1 && d3.cells[0].grid == CELL_RANGE(0, 0, 1, 5) && d3.cells[0].style == STYLE_VERTICAL_TITLE1);
    vertical.SetStyle(6);
    WCHECK_EQ(vertical.GetStyle(), 6);
    CTitleGridView undocked;
    undocked.SetTitle("t");
    RecordingDevice d4;
    undocked.Draw(d4, CELL_INFO(CELL_RANGE(0, 0, 1, 1)));
    WCHECK(d4.cells.empty());
}
