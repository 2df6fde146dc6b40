// Filters and the tree decorator, the value list of a filter, the text
// device and the word wrap, without a window: chains built as the console
// builds them (a filter decorator over a border decorator with typed column
// labels over the data), passes recorded or written as text.
#include <set>
#include <sstream>

#include "grid/grid_composite.h"
#include "grid/grid_filter_list.h"
#include "grid/grid_text_device.h"
#include "grid/grid_wrap.h"
#include "grid_test_util.h"

using namespace gt;

namespace {

// Five hosts: a name, a count and an address (one that is not an address).
Chain Inventory() {
    Chain c = MakeChain({{"Name", COLUMN_TYPE_TEXT}, {"Count", COLUMN_TYPE_INTEGER}, {"Address", COLUMN_TYPE_IP}},
                        {{"alpha"}, {"Beta"}, {"gamma"}, {""}, {"alpha"}});
    const long counts[] = {3, 1, 2, 5, 4};
    const wchar_t* addresses[] = {L"10.0.0.1", L"10.0.0.20", L"9.0.0.1", L"n/a", L"10.0.0.3"};
    const double numbers[] = {167772161.0, 167772180.0, 150994945.0, 0, 167772163.0};
    for (int r = 0; r < 5; ++r) {
        c.data->SetCellVariant(1, r, _variant_t(counts[r]), _variant_t());
        if (r == 3)
            c.data->SetCellVariant(2, r, _variant_t(addresses[r]), _variant_t());
        else
            c.data->SetCellVariant(2, r, _variant_t(addresses[r]), _variant_t(numbers[r]));
    }
    return c;
}

// Lets through only the rows of a column whose texts are listed.
void KeepOnly(CFilterDecorator& f, int column, const std::set<std::string>& keep) {
    TRowBits& mask = f.GetVisibleRows(column + f.GetLeftCount());
    TGridColumn& values = *f.GetGridMap()[size_t(column)].column;
    mask[0] = false;
    std::string text;
    for (size_t id = 1; id < mask.size(); ++id) {
        values.GetText(int(id), text);
        mask[id] = keep.count(text) != 0;
    }
    f.ApplyFilter();
}

std::vector<std::string> Strings(const std::list<CString>& list) {
    std::vector<std::string> out;
    for (const CString& s : list) out.push_back(s.GetString());
    return out;
}

// Groups of hosts, each a border decorator with its title row over its
// data, under one header of labels: the rows of a group hang under its title.
struct Groups {
    CFilterDecorator* filter;
    std::unique_ptr<CFilterDecorator> owner;
};

Groups MakeGroups() {
    auto group = [](const char* title, std::vector<std::vector<std::string>> rows) {
        auto* border = new CBorderDecorator(MakeTable(rows));
        auto* t = new CTitleGridView(true);
        t->SetTitle(title);
        border->SetBorderView(GRID_ELEMENT_HEADER, t);
        return border;
    };
    auto* composite = new CCompositeGridView;
    composite->AppendView(group("Europe", {{"Paris"}, {"Lyon"}}));
    composite->AppendView(group("Asia", {{"Osaka"}, {"Tokyo"}}));
    auto* labels = new CTitleGridView(true);
    labels->SetColumnLabel(0, "City", COLUMN_TYPE_TEXT);
    auto* border = new CBorderDecorator(composite);
    border->SetBorderView(GRID_ELEMENT_HEADER, labels);
    Groups g;
    g.filter = new CFilterDecorator(border);
    g.owner.reset(g.filter);
    return g;
}

}  // namespace

// ---------------------------------------------------------------- filters

WTEST(filter_masks_choose_the_rows_shown) {
    Chain c = Inventory();
    CFilterDecorator& f = *c.filter;
    CountingSink sink;
    f.Advise(&sink);
    WCHECK(f.GetSize() == CELL_COORD(3, 6));
    WCHECK_EQ(Shown(f), std::string("alpha|Beta|gamma|-|alpha"));
    for (int r = 0; r < 6; ++r) WCHECK(f.IsRowSelected(r));
    KeepOnly(f, 0, {"alpha"});
    WCHECK_EQ(sink.calls, 1);
    WCHECK_EQ(Shown(f), std::string("alpha|alpha"));
    WCHECK(!f.IsRowSelected(2) && f.IsRowSelected(5));
    // Every column lets a row through for it to show.
    KeepOnly(f, 1, {"4", "2"});
    WCHECK_EQ(Shown(f), std::string("alpha"));
    WCHECK_EQ(Shown(f, 1), std::string("4"));
    f.RemoveFilter();
    WCHECK_EQ(Shown(f), std::string("alpha|Beta|gamma|-|alpha"));
    WCHECK_EQ(sink.calls, 3);
    // The tree column adds a column on the left; the active range moves with it.
    f.ShowHierarchy(true);
    WCHECK(f.GetSize() == CELL_COORD(4, 6));
    CELL_RANGE active;
    f.GetActiveRange(active);
    WCHECK(active == CELL_RANGE(1, 1, 4, 6));
    KeepOnly(f, 0, {"Beta"});
    WCHECK_EQ(Shown(f), std::string("Beta"));
    f.Unadvise(&sink);
}

WTEST(filter_buttons_in_header_cells) {
    Chain c = Inventory();
    CFilterDecorator& f = *c.filter;
    AllTools site;
    f.SetSite(&site);
    f.ShowHierarchy(true);
    auto pass = [&](RecordingDevice& d) { f.Draw(d, CELL_INFO(CELL_RANGE(0, 0, 4, 3))); };
    RecordingDevice plain;
    pass(plain);
    WCHECK(plain.At(0, 0) == nullptr);   // the tree column: only for passes that lay cells out
    for (int col = 1; col < 4; ++col) {
        const Rendered* h = plain.At(col, 0);
        WCHECK(h->rightImage == 9 && h->rightToolKind == GRID_TOOL_FILTER && h->rightKind == DFC_BUTTON &&
               h->rightState == UINT(DFCS_BUTTONPUSH));
        WCHECK(h->rightElement == static_cast<IGridElement*>(static_cast<IFilterElement*>(&f)));
    }
    WCHECK_EQ(plain.At(1, 1)->rightToolKind, -1);   // data rows have none
    KeepOnly(f, 1, {"3"});
    f.SetActiveColumn(3);
    WCHECK_EQ(f.GetActiveColumn(), 2);
    RecordingDevice filtered;
    pass(filtered);
    WCHECK_EQ(filtered.At(2, 0)->rightImage, 10);   // the column that filters
    WCHECK_EQ(filtered.At(1, 0)->rightImage, 9);
    WCHECK_EQ(filtered.At(3, 0)->rightState, UINT(DFCS_BUTTONPUSH | DFCS_PUSHED));   // its list is open
    f.HottrackColumn(2, true);
    WCHECK_EQ(f.GetHotColumn(), 1);
    f.HottrackColumn(2, false);
    WCHECK_EQ(f.GetHotColumn(), GRID_UNSET);
    // Without the filter tool, or without a site, no buttons.
    site.tools.reset(GRID_TOOL_FILTER);
    RecordingDevice disabled;
    pass(disabled);
    WCHECK_EQ(disabled.At(1, 0)->rightToolKind, -1);
    f.SetSite(nullptr);
    RecordingDevice none;
    pass(none);
    WCHECK_EQ(none.At(1, 0)->rightToolKind, -1);
}

WTEST(save_and_load_filters) {
    Chain c = Inventory();
    KeepOnly(*c.filter, 0, {"alpha"});
    FILTER_SAVE save = c.filter->SaveFilter();
    WCHECK_EQ(save.size(), size_t(3));
    WCHECK_EQ(Join(Strings(save[0])), std::string("Beta|gamma|"));
    WCHECK(save[1].empty() && save[2].empty());
    // Restored into a new chain over the same data.
    Chain d = Inventory();
    d.filter->LoadFilter(save);
    WCHECK_EQ(Shown(*d.filter), std::string("alpha|alpha"));
    // A text several rows carry is saved once and filters all of them.
    KeepOnly(*d.filter, 0, {"Beta", "gamma", ""});
    save = d.filter->SaveFilter();
    WCHECK(save[0] == std::list<CString>({CString("alpha")}));
    Chain e = Inventory();
    e.filter->LoadFilter(save);
    WCHECK_EQ(Shown(*e.filter), std::string("Beta|gamma|-"));
    // A save of another column count changes nothing.
    for (size_t n : {size_t(2), size_t(4)}) {
        FILTER_SAVE other(n, std::list<CString>({CString("Beta")}));
        e.filter->LoadFilter(other);
        WCHECK_EQ(Shown(*e.filter), std::string("Beta|gamma|-"));
    }
    // "(All)" chosen: an empty list, whatever the other bits say.
    TRowBits& mask = e.filter->GetVisibleRows(0);
    mask[0] = true;
    e.filter->ApplyFilter();
    WCHECK(e.filter->SaveFilter()[0].empty());
}

WTEST(saved_filter_keeps_every_text) {
    // No text is special: one that could serve as a marker is saved and
    // restored like any other.
    const std::string odd = "They shall unbreak the holy laws";
    auto make = [&] { return MakeChain({{"Name", COLUMN_TYPE_TEXT}}, {{odd}, {"plain"}, {odd}}); };
    Chain c = make();
    KeepOnly(*c.filter, 0, {"plain"});
    FILTER_SAVE save = c.filter->SaveFilter();
    WCHECK_EQ(Join(Strings(save[0])), odd);
    Chain d = make();
    d.filter->LoadFilter(save);
    WCHECK_EQ(Shown(*d.filter), std::string("plain"));
}

WTEST(sort_keeps_values_on_their_rows) {
    Chain c = Inventory();
    CFilterDecorator& f = *c.filter;
    TOrderComporator ascending(true);
    WCHECK(f.Sort(1, &ascending));
    WCHECK(f.HasRowOrder());
    WCHECK_EQ(Join(ColumnTexts(*c.data, 0)), std::string("Beta|gamma|alpha|alpha|"));
    WCHECK_EQ(Shown(f), std::string("Beta|gamma|alpha|alpha|-"));
    // The values are collected again after the sort (as when a tool is
    // switched): each stays with its row.
    f.RemoveFilter();
    const TGridMap& map = f.GetGridMap();
    std::string text;
    for (int p = 1; p < 6; ++p) {
        map[0].column->GetText(f.RowIdAt(p), text);
        WCHECK_EQ(text, std::string(c.data->GetCellText(0, p - 1)));
        WCHECK_EQ(f.PositionOf(f.RowIdAt(p)), p);
    }
    KeepOnly(f, 0, {"gamma"});
    WCHECK_EQ(Shown(f), std::string("gamma"));
    WCHECK_EQ(Shown(f, 1), std::string("2"));
    KeepOnly(f, 0, {"alpha", "Beta", "gamma", ""});
    // Descending by address: as unsigned numbers, the text that is no address as 0.
    TOrderComporator descending(false);
    WCHECK(f.Sort(2, &descending));
    WCHECK_EQ(Shown(f, 2), std::string("10.0.0.20|10.0.0.3|10.0.0.1|9.0.0.1|n/a"));
    // Back to the unsorted order; filters stay.
    KeepOnly(f, 0, {"alpha", "gamma"});
    WCHECK(f.Sort(GRID_UNSET, nullptr));
    WCHECK(!f.HasRowOrder());
    WCHECK_EQ(Shown(f), std::string("alpha|gamma|alpha"));
    c.data->SetCapability(CAP_NATURAL_ORDER, false);
    WCHECK(!f.Sort(GRID_UNSET, nullptr));
    WCHECK(!f.Sort(1, nullptr));
}

// ---------------------------------------------------------------- trees

WTEST(groups_filter_and_collapse) {
    Groups g = MakeGroups();
    CFilterDecorator& f = *g.filter;
    const TGridHierarchy& tree = f.GetHierarchy();
    // 0 labels; 1 Europe, 2 Paris, 3 Lyon; 4 Asia, 5 Osaka, 6 Tokyo.
    WCHECK_EQ(tree.depth, 3);
    WCHECK(tree[1].parent == 0 && tree[4].parent == 0 && tree[6].parent == 4 && tree[6].level == 2);
    WCHECK_EQ(Shown(f), std::string("Europe|Paris|Lyon|Asia|Osaka|Tokyo"));
    // A group with a matching row stays, though it does not match itself.
    KeepOnly(f, 0, {"Tokyo"});
    WCHECK_EQ(Shown(f), std::string("Asia|Tokyo"));
    // Every row under a matching row stays.
    KeepOnly(f, 0, {"Asia"});
    WCHECK_EQ(Shown(f), std::string("Asia|Osaka|Tokyo"));
    // Collapsing a row hides its subtree, matching rows too.
    KeepOnly(f, 0, {"Tokyo", "Paris"});
    WCHECK(f.IsExpanded(4));
    f.Expand(4, false);
    WCHECK(!f.IsExpanded(4));
    WCHECK_EQ(Shown(f), std::string("Europe|Paris|Asia"));
    WCHECK(f.IsLevelExpanded(0) && !f.IsLevelExpanded(1) && !f.IsLevelExpanded(2));
    WCHECK(!f.IsExpanded(0));   // the root: not every child expanded
    f.Expand(0, true);          // the root expands all its children
    WCHECK_EQ(Shown(f), std::string("Europe|Paris|Asia|Tokyo"));
    WCHECK(f.IsLevelExpanded(1));
    f.RemoveFilter();
    f.ExpandLevel(1, false);
    WCHECK_EQ(Shown(f), std::string("Europe|Asia"));
    WCHECK(!f.IsLevelExpanded(1));
    f.ExpandLevel(1, true);
    WCHECK_EQ(Shown(f), std::string("Europe|Paris|Lyon|Asia|Osaka|Tokyo"));
}

WTEST(key_tree_rows_in_any_order) {
    // Children listed before their parents, and a parent that never comes.
    Chain c = MakeChain({{"Name", COLUMN_TYPE_TEXT}}, {{"a1"}, {"x"}, {"A"}, {"B"}, {"b1"}, {"a2"}, {"lost"}, {"a1a"}});
    struct Keys {
        int key, parent;
    } keys[] = {{11, 1}, {10, 0}, {1, 0}, {2, 0}, {12, 2}, {13, 1}, {14, 99}, {15, 11}};
    for (size_t i = 0; i < std::size(keys); ++i) {
        c.data->GetRows()[i].key = keys[i].key;
        c.data->GetRows()[i].parentKey = keys[i].parent;
    }
    c.data->SetHierarchyColumn(0);
    CFilterDecorator& f = *c.filter;
    const TGridHierarchy& tree = f.GetHierarchy();
    const int levels[] = {0, 2, 1, 1, 1, 2, 2, GRID_UNSET, 3};
    for (int r = 0; r < 9; ++r) WCHECK_EQ(tree[r].level, levels[r]);
    WCHECK_EQ(tree.depth, 4);
    // Into tree order: parents first, groups before leaves, earlier order kept.
    f.ArrangeHierarchy();
    WCHECK_EQ(Join(ColumnTexts(*c.data, 0)), std::string("lost|A|a1|a1a|a2|B|b1|x"));
    const TGridHierarchy& arranged = f.GetHierarchy();
    WCHECK_EQ(arranged[2].level, 1);   // A
    WCHECK_EQ(arranged[3].parent, 2);  // a1 under A
    WCHECK_EQ(arranged[4].parent, 3);  // a1a under a1
    // The key tree's rows show only when they pass themselves; a row left
    // out of the tree is not filtered.
    WCHECK(arranged[3].data & NODE_SELF_FILTER);
    KeepOnly(f, 0, {"a1a"});
    WCHECK_EQ(Shown(f), std::string("lost|a1a"));
    // The tree order is the unsorted order from now on.
    f.RemoveFilter();
    WCHECK(f.Sort(GRID_UNSET, nullptr));
    WCHECK_EQ(Join(ColumnTexts(*c.data, 0)), std::string("lost|A|a1|a1a|a2|B|b1|x"));
    WCHECK_EQ(Shown(f), std::string("lost|A|a1|a1a|a2|B|b1|x"));
    TOrderComporator descending(false);
    WCHECK(f.Sort(f.GetLeftCount(), &descending));
    WCHECK_EQ(Join(ColumnTexts(*c.data, 0)), std::string("x|lost|b1|B|a2|a1a|a1|A"));
    WCHECK(f.Sort(GRID_UNSET, nullptr));
    WCHECK_EQ(Join(ColumnTexts(*c.data, 0)), std::string("lost|A|a1|a1a|a2|B|b1|x"));
}

// ---------------------------------------------------------------- value lists

WTEST(value_list_items) {
    Chain c = MakeChain({{"Name", COLUMN_TYPE_TEXT}, {"Count", COLUMN_TYPE_INTEGER}},
                        {{"abc"}, {"ABC"}, {"abc"}, {""}, {"x"}, {""}});
    for (int r = 0; r < 6; ++r)
        if (r != 3) c.data->SetCellVariant(1, r, _variant_t(long(r % 2)), _variant_t());
    CFilterDecorator& f = *c.filter;
    WCHECK(f.GetDropDownView(0) == nullptr);   // no column is active
    f.SetActiveColumn(0);
    std::unique_ptr<TFilterListView> list(f.GetDropDownView(0));
    std::vector<std::string> texts;
    for (int k = 0; k < list->GetSize().row; ++k) texts.push_back(list->GetItemText(k));
    // Equal values once; texts that differ only in case are different values.
    WCHECK_EQ(Join(texts), std::string("(All)|(Blanks)|(NonBlanks)|ABC|abc|x"));
    const auto& items = list->GetItems();
    const auto& rows = list->GetRowList();
    auto ids = [&](int k) {
        std::vector<std::string> out;
        for (int i = items[size_t(k)].first; i < items[size_t(k)].end; ++i) out.push_back(std::to_string(rows[size_t(i)]));
        return Join(out);
    };
    WCHECK_EQ(ids(1), std::string("4|6"));
    WCHECK_EQ(ids(2), std::string("2|1|3|5"));
    WCHECK(items[2].group && !items[4].group);
    WCHECK_EQ(ids(4), std::string("1|3"));
    WCHECK_EQ(list->GetItemStyle(0), int(STYLE_FILTER_ALL));
    WCHECK_EQ(list->GetItemStyle(3), 0);
    // Drawn as a one-column view.
    RecordingDevice device;
    list->Draw(device, CELL_INFO(CELL_RANGE(0, 0, 1, 6)));
    WCHECK_EQ(device.TextAt(0, 2), std::string("(NonBlanks)"));
    WCHECK_EQ(device.At(0, 0)->style, int(STYLE_FILTER_ALL));
    // A numeric column: blank cells stay apart from the value 0.
    f.SetActiveColumn(1);
    list.reset(f.GetDropDownView(1));
    texts.clear();
    for (int k = 0; k < list->GetSize().row; ++k) texts.push_back(list->GetItemText(k));
    WCHECK_EQ(Join(texts), std::string("(All)|(Blanks)|(NonBlanks)|0|1"));
    // No blanks: no "(Blanks)" nor "(NonBlanks)"; only blanks: "(Blanks)" alone.
    Chain full = MakeChain({{"N", COLUMN_TYPE_TEXT}}, {{"b"}, {"a"}, {"b"}});
    full.filter->SetActiveColumn(0);
    list.reset(full.filter->GetDropDownView(0));
    WCHECK_EQ(list->GetSize().row, 3);
    WCHECK_EQ(list->GetItemText(1), std::string("a"));
    Chain blank = MakeChain({{"N", COLUMN_TYPE_TEXT}}, {{""}, {""}});
    blank.filter->SetActiveColumn(0);
    list.reset(blank.filter->GetDropDownView(0));
    WCHECK_EQ(list->GetSize().row, 2);
    WCHECK_EQ(list->GetItemText(1), std::string("(Blanks)"));
}

// ---------------------------------------------------------------- text device

WTEST(text_device_output) {
    struct Case {
        const char* name;
        std::vector<RECT> region;   // cells kept; empty: every cell
        CELL_RANGE range;
        const char* expected;
    } cases[] = {
        {"two by two", {}, CELL_RANGE(0, 0, 2, 2), "a\tb\nc\td"},
        {"one column", {}, CELL_RANGE(1, 0, 2, 3), "b\nd\nf"},
        {"not rectangular", {{0, 0, 1, 1}, {1, 2, 2, 3}}, CELL_RANGE(0, 0, 2, 3), "a\t\n\t\n\tf"},
        {"nothing", {{5, 5, 6, 6}}, CELL_RANGE(0, 0, 2, 3), ""},
    };
    std::unique_ptr<CVectorGridView> view(MakeTable({{"a", "b"}, {"c", "d"}, {"e", "f"}}));
    for (const Case& c : cases) {
        HRGN region = nullptr;
        if (!c.region.empty()) {
            region = ::CreateRectRgn(0, 0, 0, 0);
            for (const RECT& r : c.region) {
                HRGN part = ::CreateRectRgnIndirect(&r);
                ::CombineRgn(region, region, part, RGN_OR);
                ::DeleteObject(part);
            }
        }
        // Made from the size the view returns: the device keeps its own copy.
        TTextDevice device(view->GetSize(), region);
        view->Draw(device, CELL_INFO(c.range));
        std::ostringstream out;
        device.Serialize(out);
        if (out.str() != c.expected) wtest::fail(__FILE__, __LINE__, std::string(c.name) + ": [" + out.str() + "]");
        WCHECK(device.GetSize() == CELL_COORD(2, 3));
        if (region) ::DeleteObject(region);
    }
    // A merged cell's text once, in its first cell; a cell outside the size is ignored.
    TTextDevice device(CELL_COORD(3, 2), nullptr);
    CELL_CONTENT title;
    title.middle.text = "Title";
    device.RenderRange(CELL_RANGE(0, 0, 3, 1), title);
    CELL_CONTENT outside;
    outside.middle.text = "far";
    device.RenderRange(CELL_RANGE(7, 9, 8, 10), outside);
    CELL_CONTENT empty;
    empty.middle.text = "";
    device.RenderRange(CELL_RANGE(1, 1, 2, 2), empty);   // an empty text counts for the used range
    std::ostringstream out;
    device.Serialize(out);
    WCHECK_EQ(out.str(), std::string("Title\t\t\n\t\t"));
    WCHECK(device.GetUsedRange() == CELL_RANGE(0, 0, 3, 2));
    // A copy is a copy: each frees its own strings.
    TTextDevice copy(device);
    WCHECK_EQ(copy.GetString(CELL_COORD(0, 0)), std::string("Title"));
}

WTEST(text_device_through_filter_and_tree) {
    // Rows the filter hides between rows it shows come out as empty lines;
    // the tree column is an empty field (a text pass draws no glyphs).
    Chain c = Inventory();
    c.filter->ShowHierarchy(true);
    KeepOnly(*c.filter, 0, {"alpha"});
    const CELL_COORD size = c.filter->GetSize();
    TTextDevice device(size, nullptr);
    c.filter->Draw(device, CELL_INFO(CELL_RANGE(0, 0, size.column, size.row)));
    std::ostringstream out;
    device.Serialize(out);
    WCHECK_EQ(out.str(), std::string("Name\tCount\tAddress\nalpha\t3\t10.0.0.1\n\t\t\n\t\t\n\t\t\nalpha\t4\t10.0.0.3"));
    TTextDevice nothing(size, nullptr);
    std::ostringstream none;
    nothing.Serialize(none);
    WCHECK(none.str().empty());
}

// ---------------------------------------------------------------- word wrap

WTEST(word_wrap_lines) {
    // Every character 10 pixels wide, a blank 5; é (0xE9) 10.
    int widths[256];
    for (int& w : widths) w = 10;
    widths[int(' ')] = 5;
    struct Case {
        const char* text;
        int width;
        const char* lines;
    } cases[] = {
        {"abc/def", 45, "abc/|def"},             // breaks after the slash, which stays
        {"ab    cd", 30, "ab|cd"},               // no blank at either end of a line
        {"one two three", 70, "one two|three"},
        {"abcdefghij", 35, "abc|def|ghi|j"},     // a word wider than the cell, between characters
        {"a(b)c-d", 20, "a(|b)|c-|d"},
        {"\xe9\xe9\xe9-\xe9", 30, "\xe9\xe9\xe9|-\xe9"},   // high characters never break
        {"x", 0, "x"},                           // at least one character a line
        {"  lead", 60, "lead"},
        {"", 50, ""},
        {"   ", 50, ""},
        {"a\tb c", 100, "a\tb c"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        WrapTextLines(c.text, int(strlen(c.text)), widths, c.width,
                      [&](const char* p, int n) { lines.push_back(std::string(p, size_t(n))); });
        if (Join(lines) != c.lines)
            wtest::fail(__FILE__, __LINE__, std::string("\"") + c.text + "\": [" + Join(lines) + "]");
    }
    for (int c = 0; c < 256; ++c) {
        const bool expected = c < 0x80 && std::string(" \t\n\r.-\\/()[]<>*+").find(char(c)) != std::string::npos && c != 0;
        WCHECK_EQ(IsWrapBreakChar(static_cast<unsigned char>(c)), expected);
    }
    // Measuring: the height of the lines, 0 for no text.
    TCharMetrics metrics;
    for (int i = 0; i < 256; ++i) metrics.widths[i] = widths[i];
    metrics.lineHeight = 13;
    RECT r = {10, 20, 55, 0};
    WCHECK_EQ(DrawWrappedText(nullptr, "abc/def gh", r, DT_WORDBREAK | DT_CALCRECT, metrics), 39);
    WCHECK_EQ(r.bottom, 59L);
    RECT e = {0, 7, 45, 100};
    DrawWrappedText(nullptr, "", e, DT_WORDBREAK | DT_CALCRECT, metrics);
    WCHECK_EQ(e.bottom, 7L);
}
