// Tab painting off-screen: the item layout on all four sides without
// drawing, the item bodies as exact pixels per side and state, the default
// colours of both looks, text placement by bounding rectangle, icons hidden
// by the tab window's style, the strip backgrounds and the strip buttons'
// glyphs and frames.
#include "icons/cmd_icon.h"
#include "paint_test_util.h"
#include "toolkit/bar_types.h"

using namespace pt;

namespace {

using PM = VEzaPaintManager;
const COLORREF kBack = RGB(1, 2, 3), kLT = RGB(255, 0, 0), kRB = RGB(0, 0, 255), kFill = RGB(0, 255, 0),
               kSep = RGB(255, 0, 255), kInk = RGB(9, 9, 9);
const COLORREF kNone = COLORREF(-1);

// The drawing both looks share, reached directly: there a colour of -1
// paints nothing.
struct CommonPM : VEzaPaintManager {
    using VEzaPaintManager::PaintTabItemCommon;
};

// A tab window whose style word the test chooses.
struct StyledTabWnd : VEzaTabWnd {
    explicit StyledTabWnd(DWORD style) { m_dwTabWndStyle = style; }
};

bool Inside(const CRect& inner, const CRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

const std::vector<std::pair<COLORREF, char>> kLegend = {
    {kBack, '.'}, {kLT, 'L'}, {kRB, 'R'}, {kFill, 'F'}, {kSep, 'S'}};

}  // namespace

WTEST(tab_item_layout_on_all_four_sides) {
    // Item (10,10,90,34) horizontal or (10,10,34,90) vertical, text 40 by 13,
    // icon 16 by 16.
    const CRect h(10, 10, 90, 34), v(10, 10, 34, 90);
    const CSize text(40, 13), icon(16, 16), none(0, 0);
    const struct {
        const char* what;
        bool topLeft, horizontal, selected, centered, grouped, active, inverted;
        CRect item;
        CSize icon;
        PM::e_tab_body_t body;
        CRect rcBody, rcFill, rcIcon, rcText;
        CPoint ptText;
    } rows[] = {
        {"top selected", true, true, true, false, false, false, false, h, icon, PM::TabBodySelected,
         {9, 10, 90, 35}, {10, 11, 89, 35}, {9, 13, 83, 30}, {31, 12, 88, 32}, {0, 0}},
        {"bottom selected", false, true, true, false, false, false, false, h, none, PM::TabBodySelected,
         {9, 9, 90, 34}, {10, 9, 89, 33}, {0, 0, 0, 0}, {12, 12, 88, 32}, {0, 0}},
        {"left selected", true, false, true, false, false, false, false, v, icon, PM::TabBodySelected,
         {10, 9, 35, 90}, {11, 10, 35, 89}, {10, 12, 27, 86}, {6, 31, 32, 88}, {19, 35}},
        {"right selected inverted", false, false, true, false, false, false, true, v, icon, PM::TabBodySelected,
         {9, 9, 34, 90}, {9, 10, 33, 89}, {10, 12, 27, 86}, {12, 31, 38, 88}, {25, 67}},
        {"left centred text", true, false, false, true, false, false, false, v, icon, PM::TabBodySeparator,
         {12, 89, 32, 90}, {0, 0, 0, 0}, {10, 12, 27, 86}, {6, 31, 32, 88}, {19, 59}},
        {"top unselected", true, true, false, false, false, false, false, h, none, PM::TabBodySeparator,
         {89, 12, 90, 32}, {0, 0, 0, 0}, {0, 0, 0, 0}, {12, 12, 88, 32}, {0, 0}},
        {"bottom grouped", false, true, false, false, true, true, false, h, none, PM::TabBodyGrouped,
         {10, 8, 91, 36}, {10, 8, 91, 36}, {0, 0, 0, 0}, {12, 12, 88, 32}, {0, 0}},
        {"right grouped", false, false, true, false, true, false, false, v, none, PM::TabBodyGrouped,
         {8, 10, 36, 91}, {8, 10, 36, 91}, {0, 0, 0, 0}, {6, 12, 32, 88}, {19, 16}},
        // No room for text: the icon moves to the middle of the item...
        {"narrow top", true, true, true, false, false, false, false, {10, 10, 32, 34}, icon, PM::TabBodySelected,
         {9, 10, 32, 35}, {10, 11, 31, 35}, {10, 13, 26, 30}, {0, 0, 0, 0}, {0, 0}},
        // ...except in an inactive group.
        {"narrow grouped inactive", true, true, false, false, true, false, false, {10, 10, 32, 34}, icon,
         PM::TabBodyGrouped, {10, 8, 33, 36}, {10, 8, 33, 36}, {9, 13, 25, 30}, {0, 0, 0, 0}, {0, 0}},
        {"narrow left", true, false, true, false, false, false, false, {10, 10, 34, 32}, icon,
         PM::TabBodySelected, {10, 9, 35, 32}, {11, 10, 35, 31}, {10, 13, 27, 29}, {0, 0, 0, 0}, {0, 0}},
    };
    for (const auto& row : rows) {
        const PM::tab_item_layout_t l =
            PM::stat_CalcTabItemLayout(row.topLeft, row.horizontal, row.selected, row.centered, row.grouped,
                                       row.active, row.inverted, row.item, text, row.icon);
        const std::string what = std::string(row.what) + " ";
        WCHECK_EQ(what + std::to_string(l.body), what + std::to_string(row.body));
        WCHECK_EQ(what + Str(l.rcBody), what + Str(row.rcBody));
        if (l.body != PM::TabBodySeparator) WCHECK_EQ(what + Str(l.rcFill), what + Str(row.rcFill));
        WCHECK_EQ(what + Str(l.rcIcon), what + Str(row.rcIcon));
        WCHECK_EQ(what + Str(l.rcText), what + Str(row.rcText));
        if (!row.horizontal && !l.rcText.IsRectEmpty())
            WCHECK_EQ(what + std::to_string(l.ptText.x) + "," + std::to_string(l.ptText.y),
                      what + std::to_string(row.ptText.x) + "," + std::to_string(row.ptText.y));
    }
}

WTEST(tab_item_bodies_as_pixels_per_side_and_state) {
    InjectedSystem system(32);
    CommonPM pm;
    DistinctColours(pm);
    const CRect item(2, 2, 10, 8);
    const struct {
        const char* what;
        bool topLeft, horizontal, selected, grouped;
        COLORREF separator;
        const char* picture;
        // Without a second edge colour no outline or frame is drawn.
        COLORREF rb = kRB;
    } rows[] = {
        {"top selected", true, true, true, false, kSep,
         "............\n"
         "............\n"
         ".LLLLLLLLR..\n"
         ".LFFFFFFFR..\n"
         ".LFFFFFFFR..\n"
         ".LFFFFFFFR..\n"
         ".LFFFFFFFR..\n"
         ".LFFFFFFFR..\n"
         ".LFFFFFFF...\n"
         "............\n"},
        {"bottom selected", false, true, true, false, kSep,
         ".L..........\n"
         ".LFFFFFFFR..\n"
         ".LFFFFFFFR..\n"
         ".LFFFFFFFR..\n"
         ".LFFFFFFFR..\n"
         ".LFFFFFFFR..\n"
         ".LFFFFFFFR..\n"
         ".RRRRRRRRR..\n"
         "............\n"
         "............\n"},
        {"left selected", true, false, true, false, kSep,
         "............\n"
         "..LLLLLLLLL.\n"
         "..LFFFFFFFF.\n"
         "..LFFFFFFFF.\n"
         "..LFFFFFFFF.\n"
         "..LFFFFFFFF.\n"
         "..LFFFFFFFF.\n"
         "..RRRRRRRR..\n"
         "............\n"
         "............\n"},
        {"right selected", false, false, true, false, kSep,
         "............\n"
         ".LLLLLLLLR..\n"
         ".FFFFFFFFR..\n"
         ".FFFFFFFFR..\n"
         ".FFFFFFFFR..\n"
         ".FFFFFFFFR..\n"
         ".FFFFFFFFR..\n"
         "..RRRRRRRR..\n"
         "............\n"
         "............\n"},
        {"top grouped", true, true, false, true, kSep,
         "..LLLLLLLLR.\n"
         "..LFFFFFFFR.\n"
         "..LFFFFFFFR.\n"
         "..LFFFFFFFR.\n"
         "..LFFFFFFFR.\n"
         "..LFFFFFFFR.\n"
         "..LFFFFFFFR.\n"
         "..LFFFFFFFR.\n"
         "..LFFFFFFFR.\n"
         "..RRRRRRRRR.\n"},
        {"left grouped", true, false, true, true, kSep,
         "............\n"
         "............\n"
         "LLLLLLLLLLLR\n"
         "LFFFFFFFFFFR\n"
         "LFFFFFFFFFFR\n"
         "LFFFFFFFFFFR\n"
         "LFFFFFFFFFFR\n"
         "LFFFFFFFFFFR\n"
         "RRRRRRRRRRRR\n"
         "............\n"},
        {"bottom unselected", false, true, false, false, kSep,
         "............\n"
         "............\n"
         "............\n"
         "............\n"
         ".........S..\n"
         ".........S..\n"
         "............\n"
         "............\n"
         "............\n"
         "............\n"},
        {"right unselected", false, false, false, false, kSep,
         "............\n"
         "............\n"
         "............\n"
         "............\n"
         "............\n"
         "............\n"
         "............\n"
         "....SSSS....\n"
         "............\n"
         "............\n"},
        {"top selected without an edge colour", true, true, true, false, kSep,
         "............\n"
         "............\n"
         "............\n"
         "..FFFFFFF...\n"
         "..FFFFFFF...\n"
         "..FFFFFFF...\n"
         "..FFFFFFF...\n"
         "..FFFFFFF...\n"
         "..FFFFFFF...\n"
         "............\n",
         kNone},
        {"bottom grouped without an edge colour", false, true, true, true, kSep,
         "..FFFFFFFFF.\n"
         "..FFFFFFFFF.\n"
         "..FFFFFFFFF.\n"
         "..FFFFFFFFF.\n"
         "..FFFFFFFFF.\n"
         "..FFFFFFFFF.\n"
         "..FFFFFFFFF.\n"
         "..FFFFFFFFF.\n"
         "..FFFFFFFFF.\n"
         "..FFFFFFFFF.\n",
         kNone},
        {"unselected without separator colour", true, true, false, false, kNone,
         "............\n"
         "............\n"
         "............\n"
         "............\n"
         "............\n"
         "............\n"
         "............\n"
         "............\n"
         "............\n"
         "............\n"},
    };
    for (const auto& row : rows) {
        Dib dib(12, 10, kBack);
        DibCDC dc(dib);
        pm.PaintTabItemCommon(dc, row.topLeft, row.horizontal, row.selected, false, row.grouped, true, false, item,
                              CSize(0, 0), nullptr, nullptr, nullptr, false, kInk, kFill, kLT, row.rb, row.separator);
        WCHECK_EQ(std::string(row.what) + "\n" + dib.Rows({0, 0, 12, 10}, kLegend),
                  std::string(row.what) + "\n" + row.picture);
    }
}

WTEST(tab_item_default_colours_of_both_looks) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    const CRect item(10, 10, 40, 30);
    // Probes: inside the fill, on the left edge, on the right edge, on the
    // separator of an unselected tab; then the text colour.
    const struct {
        PM* pm;
        bool selected, grouped;
        int fill, left, right, separator, text;
    } rows[] = {
        {&classic, true, false, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, -1, COLOR_BTNTEXT},
        {&classic, false, false, -1, -1, COLOR_3DLIGHT, COLOR_3DLIGHT, COLOR_BTNHIGHLIGHT},
        {&classic, false, true, COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNSHADOW, -1, COLOR_BTNTEXT},
        {&xp, true, false, 2000, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, -1, COLOR_BTNTEXT},
        {&xp, false, false, -1, -1, COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNSHADOW},
        {&xp, false, true, COLOR_BTNFACE, COLOR_BTNSHADOW, COLOR_BTNSHADOW, -1, COLOR_BTNTEXT},
    };
    for (const auto& row : rows) {
        const std::string what = std::string(row.pm->GetRuntimeClass()->m_lpszClassName) +
                                 (row.selected ? " selected" : "") + (row.grouped ? " grouped" : "") + " ";
        Dib dib(60, 40, kBack);
        DibCDC dc(dib);
        CRect area(0, 0, 60, 40);
        row.pm->PaintTabItem(dc, area, true, true, row.selected, false, row.grouped, true, false, item,
                             CSize(0, 0), &row.pm->m_FontNormal, "W", nullptr, nullptr, 0);
        auto expect = [&](const char* probe, int x, int y, int index) {
            const COLORREF want = index < 0 ? kBack : row.pm->GetColor(index);
            WCHECK_EQ(what + probe + " " + Hex(dib.At(x, y)), what + probe + " " + Hex(want));
        };
        expect("fill", 34, 12, row.fill);
        expect("left", row.grouped ? 10 : 9, 20, row.left);
        expect("right", row.grouped ? 40 : 39, 20, row.right);
        if (row.separator >= 0) expect("separator", 39, 20, row.separator);
        // The letter, left of the separator, in the text colour.
        const CRect letter = Bounds(dib, row.pm->GetColor(row.text), {12, 12, 38, 28});
        WCHECK_EQ(what + std::to_string(!letter.IsRectEmpty() && letter.left <= 14), what + "1");
    }
}

WTEST(tab_item_text_lies_in_its_rectangle_on_every_side) {
    InjectedSystem system(32);
    VEzaPaintManager pm;
    DistinctColours(pm);
    const CSize measured(30, 13);
    const struct {
        const char* what;
        bool topLeft, horizontal, centered, inverted;
        CRect item;
        CFont* font;
    } rows[] = {
        {"top", true, true, false, false, {10, 10, 90, 34}, &pm.m_FontNormal},
        {"bottom centred", false, true, true, false, {10, 10, 90, 34}, &pm.m_FontNormal},
        {"left", true, false, false, false, {10, 10, 34, 90}, &pm.m_FontNormalVert},
        {"right inverted", false, false, false, true, {10, 10, 34, 90}, &pm.m_FontNormalVertX},
        {"left centred", true, false, true, false, {10, 10, 34, 90}, &pm.m_FontNormalVert},
    };
    for (const auto& row : rows) {
        const std::string what = std::string(row.what) + " ";
        Dib dib(100, 100, kBack);
        DibCDC dc(dib);
        CRect area(0, 0, 100, 100);
        pm.PaintTabItem(dc, area, row.topLeft, row.horizontal, true, row.centered, false, true, row.inverted,
                        row.item, measured, row.font, "EEE", nullptr, nullptr, 0, kInk, kFill, kLT, kRB, kSep);
        const PM::tab_item_layout_t l = PM::stat_CalcTabItemLayout(
            row.topLeft, row.horizontal, true, row.centered, false, true, row.inverted, row.item, measured, {0, 0});
        const CRect ink = Bounds(dib, kInk);
        WCHECK_EQ(what + std::to_string(ink.IsRectEmpty()), what + "0");
        WCHECK_EQ(what + Str(ink) + " in " + Str(l.rcText) + " " + std::to_string(Inside(ink, l.rcText)),
                  what + Str(ink) + " in " + Str(l.rcText) + " 1");
        if (row.horizontal) {
            // Vertically centred; left-aligned unless centred.
            WCHECK(std::abs((ink.top + ink.bottom) - (l.rcText.top + l.rcText.bottom)) <= 4);
            if (row.centered)
                WCHECK(std::abs((ink.left + ink.right) - (l.rcText.left + l.rcText.right)) <= 4);
            else
                WCHECK(ink.left - l.rcText.left <= 2);
        } else {
            // The baseline runs through the reference point; the letters lie
            // on the side the font's top faces.
            if (row.inverted)
                WCHECK(ink.right <= l.ptText.x + 1 && ink.bottom <= l.ptText.y + 1);
            else
                WCHECK(ink.left >= l.ptText.x - 1);
            if (!row.inverted && !row.centered) WCHECK(ink.top >= l.ptText.y - 1 && ink.top <= l.ptText.y + 2);
            if (row.centered) WCHECK(std::abs((ink.top + ink.bottom) / 2 - l.ptText.y) <= 2);
        }
    }
}

WTEST(tab_window_style_hides_item_icons) {
    InjectedSystem system(32);
    const COLORREF kIcon = RGB(200, 100, 0);
    VEzaCmdIcon icon;
    SolidIcon(icon, kIcon);
    WCHECK(!icon.IsEmpty());
    VEzaCmdIcon empty;
    StyledTabWnd plain(0), noIcons(0x00800000);
    const CRect item(10, 10, 90, 34);
    // The icon goes through the current manager's icon painter, which puts it
    // 3 pixels into the rectangle it is given (the XP look one further, for
    // its raised icons); the text starts after the icon only when it is shown.
    for (bool xpCurrent : {false, true}) {
        g_PaintManager.InstallPaintManager(xpCurrent ? new VEzaPaintManagerXP : new VEzaPaintManager);
        const CRect shownAt = xpCurrent ? CRect(13, 14, 29, 30) : CRect(12, 13, 28, 29);
        const struct {
            CObject* tabWnd;
            VEzaCmdIcon* icon;
            bool shown;
        } rows[] = {
            {&plain, &icon, true},     {&noIcons, &icon, false}, {&plain, &empty, false},
            {&plain, nullptr, false}, {nullptr, &icon, true},
        };
        int n = 0;
        for (const auto& row : rows) {
            const std::string what = std::string(xpCurrent ? "XP" : "classic") + " row " + std::to_string(n++) + " ";
            VEzaPaintManagerXP pm;
            DistinctColours(pm);
            Dib dib(100, 40, kBack);
            DibCDC dc(dib);
            CRect area(0, 0, 100, 40);
            pm.PaintTabItem(dc, area, true, true, true, false, false, true, false, item, CSize(20, 13),
                            &pm.m_FontNormal, "EEE", row.icon, row.tabWnd, 0, kInk, kFill, kLT, kRB, kSep);
            const CRect ink = Bounds(dib, kInk);
            const int textLeft = 12 + (row.shown ? 19 : 0);
            WCHECK_EQ(what + std::to_string(!ink.IsRectEmpty() && ink.left >= textLeft && ink.left <= textLeft + 2),
                      what + "1");
            WCHECK_EQ(what + Str(Bounds(dib, kIcon)), what + Str(row.shown ? shownAt : CRect(0, 0, 0, 0)));
        }
    }
}

WTEST(tab_client_areas_per_orientation_and_look) {
    for (int bpp : {32, 8}) {
        InjectedSystem system(bpp);
        VEzaPaintManager classic;
        VEzaPaintManagerXP xp;
        DistinctColours(classic);
        DistinctColours(xp);
        const int xpArea = bpp > 8 ? 2001 : 2000;
        const struct {
            PM* pm;
            DWORD orientation;
            bool grouped;
            int area, border, line;
            CPoint onLine, nextToLine;
        } rows[] = {
            {&classic, 0, false, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, {20, 20}, {20, 21}},
            {&classic, 1, false, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_3DDKSHADOW, {20, 29}, {20, 28}},
            {&classic, 2, false, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, {10, 25}, {11, 25}},
            {&classic, 3, false, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_3DDKSHADOW, {39, 25}, {38, 25}},
            {&classic, 0, true, COLOR_BTNFACE, -1, -1, {20, 20}, {20, 21}},
            {&xp, 0, false, xpArea, 2000, COLOR_BTNHIGHLIGHT, {20, 20}, {20, 21}},
            {&xp, 1, false, xpArea, 2000, COLOR_BTNSHADOW, {20, 29}, {20, 28}},
            {&xp, 2, false, xpArea, 2000, COLOR_BTNHIGHLIGHT, {10, 25}, {11, 25}},
            {&xp, 3, false, xpArea, 2000, COLOR_BTNSHADOW, {39, 25}, {38, 25}},
            {&xp, 2, true, xpArea, -1, -1, {10, 25}, {11, 25}},
        };
        for (const auto& row : rows) {
            const std::string what = std::string(row.pm->GetRuntimeClass()->m_lpszClassName) + " " +
                                     std::to_string(bpp) + " side " + std::to_string(row.orientation) +
                                     (row.grouped ? " grouped " : " ");
            Dib dib(60, 40, kBack);
            DibCDC dc(dib);
            CRect client(0, 0, 50, 40), items(0, 0, 50, 10), nearArea(10, 20, 40, 30);
            row.pm->PaintTabClientArea(dc, client, items, nearArea, row.orientation, row.grouped, nullptr, 0);
            WCHECK_EQ(what + "area " + Hex(dib.At(2, 2)), what + "area " + Hex(row.pm->GetColor(row.area)));
            WCHECK_EQ(what + "outside " + Hex(dib.At(55, 2)), what + "outside " + Hex(kBack));
            const COLORREF border = row.border < 0 ? row.pm->GetColor(row.area) : row.pm->GetColor(row.border);
            const COLORREF line = row.line < 0 ? border : row.pm->GetColor(row.line);
            WCHECK_EQ(what + "line " + Hex(dib.At(row.onLine.x, row.onLine.y)), what + "line " + Hex(line));
            WCHECK_EQ(what + "border " + Hex(dib.At(row.nextToLine.x, row.nextToLine.y)),
                      what + "border " + Hex(border));
        }
    }
}

WTEST(tabbed_client_area_line_outside_the_items) {
    InjectedSystem system(32);
    VEzaPaintManager pm;
    DistinctColours(pm);
    StyledTabWnd tabWnd(0);
    CWnd notTabWnd;
    const struct {
        DWORD orientation;
        CRect line;
        int colour;
    } rows[] = {
        {0, {0, 20, 60, 21}, COLOR_BTNHIGHLIGHT},
        {1, {0, 9, 60, 10}, COLOR_BTNSHADOW},
        {2, {40, 0, 41, 40}, COLOR_BTNHIGHLIGHT},
        {3, {9, 0, 10, 40}, COLOR_BTNSHADOW},
    };
    for (const auto& row : rows) {
        const std::string what = "side " + std::to_string(row.orientation) + " ";
        Dib dib(64, 44, kBack);
        DibCDC dc(dib);
        CRect client(0, 0, 60, 40), items(10, 10, 40, 20), nearArea(0, 0, 0, 0);
        pm.PaintTabbedTabClientArea(dc, client, items, nearArea, row.orientation, false, &notTabWnd, 0);
        WCHECK_EQ(what + std::to_string(dib.CountOther({0, 0, 64, 44}, kBack)), what + "0");
        pm.PaintTabbedTabClientArea(dc, client, items, nearArea, row.orientation, false, &tabWnd, 0);
        WCHECK_EQ(what + std::to_string(dib.CountOther(row.line, pm.GetColor(row.colour))), what + "0");
        // Everything else in the client rectangle is the bars' background.
        const int lineSize = row.line.Width() * row.line.Height();
        WCHECK_EQ(what + std::to_string(dib.CountOther(client, pm.GetColor(1000))), what + std::to_string(lineSize));
        WCHECK_EQ(what + Hex(dib.At(62, 42)), what + Hex(kBack));
    }
}

WTEST(tab_button_glyphs_and_frames) {
    InjectedSystem system(32);
    VEzaPaintManager pm;
    DistinctColours(pm);
    const struct {
        int kind;
        bool horizontal, enabled, hover, pushed;
        int glyph;
    } rows[] = {
        {PM::TabButtonScrollBack, true, true, false, false, 4},
        {PM::TabButtonScrollBack, false, true, true, false, 2},
        {PM::TabButtonScrollBack, true, false, false, false, 19},
        {PM::TabButtonScrollBack, false, false, false, false, 17},
        {PM::TabButtonScrollForward, true, true, false, true, 5},
        {PM::TabButtonScrollForward, false, true, false, false, 3},
        {PM::TabButtonScrollForward, true, false, false, false, 20},
        {PM::TabButtonScrollForward, false, false, false, false, 18},
        {PM::TabButtonHelp, true, false, false, false, 9},
        {PM::TabButtonClose, false, true, true, true, 1},
        {PM::TabButtonClose, true, false, false, false, 1},
        {PM::TabButtonList, true, true, false, false, 45},
        {PM::TabButtonFirst, true, true, false, false, 50},
        {PM::TabButtonFirst, false, false, false, false, 49},
        {PM::TabButtonLast, true, true, false, false, 52},
        {PM::TabButtonLast, false, true, false, false, 51},
        {-3, true, true, true, false, 0},
    };
    for (const auto& row : rows) {
        const std::string what = "kind " + std::to_string(row.kind) + " glyph " + std::to_string(row.glyph) + " ";
        Dib dib(17, 17, kBack);
        DibCDC dc(dib);
        CRect button(2, 2, 15, 15);
        pm.PaintTabButton(dc, button, row.kind, true, row.horizontal, row.enabled, row.hover, row.pushed, false,
                          nullptr, 0);
        const COLORREF ink = pm.GetColor(row.enabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
        // The glyph centred in the button, pixel for pixel.
        std::string want, got;
        if (const PM::glyph_t* g = PM::stat_GetTabGlyph(row.glyph)) {
            const int x0 = 2 + (13 - int(g->GetWidth())) / 2, y0 = 2 + (13 - int(g->GetHeight())) / 2;
            for (int y = 3; y < 14; ++y)
                for (int x = 3; x < 14; ++x) {
                    const bool set = x >= x0 && y >= y0 && x < x0 + int(g->GetWidth()) &&
                                     y < y0 + int(g->GetHeight()) && g->GetColorPixel(x - x0, y - y0) != 0;
                    want += set ? 'X' : '.';
                    got += dib.At(x, y) == ink ? 'X' : dib.At(x, y) == kBack ? '.' : '?';
                }
            WCHECK(want.find('X') != std::string::npos);
        } else {
            got = want = std::to_string(dib.CountOther({3, 3, 14, 14}, kBack));
            WCHECK_EQ(want, "0");
        }
        WCHECK_EQ(what + got, what + want);
        // The frame: raised under the mouse, sunken when pressed, else none.
        const COLORREF light = pm.GetColor(COLOR_BTNHIGHLIGHT), dark = pm.GetColor(COLOR_3DDKSHADOW);
        const COLORREF topLeft = row.pushed ? dark : row.hover ? light : kBack;
        const COLORREF bottomRight = row.pushed ? light : row.hover ? dark : kBack;
        WCHECK_EQ(what + Hex(dib.At(2, 8)) + Hex(dib.At(8, 2)), what + Hex(topLeft) + Hex(topLeft));
        WCHECK_EQ(what + Hex(dib.At(14, 8)) + Hex(dib.At(8, 14)), what + Hex(bottomRight) + Hex(bottomRight));
    }
}

WTEST(tab_glyphs_turned_copies) {
    // Each directional picture is the first one turned clockwise.
    const struct {
        int source, turned, angle;
    } rows[] = {{2, 3, 180}, {2, 4, 270}, {2, 5, 90}, {17, 18, 180}, {17, 19, 270},
                {17, 20, 90}, {49, 50, 270}, {49, 51, 180}, {49, 52, 90}};
    for (const auto& row : rows) {
        const PM::glyph_t expected(*PM::stat_GetTabGlyph(row.source), row.angle);
        const PM::glyph_t* got = PM::stat_GetTabGlyph(row.turned);
        WCHECK(got != nullptr);
        WCHECK_EQ(got->GetWidth(), expected.GetWidth());
        bool same = true;
        for (UINT y = 0; y < expected.GetHeight(); ++y)
            for (UINT x = 0; x < expected.GetWidth(); ++x)
                same = same && got->GetColorPixel(int(x), int(y)) == expected.GetColorPixel(int(x), int(y));
        WCHECK_EQ(std::to_string(row.turned) + (same ? " same" : " differs"), std::to_string(row.turned) + " same");
    }
    // The up arrow points up: its single-pixel tip is above its base.
    const PM::glyph_t* up = PM::stat_GetTabGlyph(2);
    WCHECK_EQ(up->GetColorPixel(4, 2), 1u);
    WCHECK_EQ(up->GetColorPixel(3, 2), 0u);
    WCHECK_EQ(up->GetColorPixel(1, 5), 1u);
    for (int unknown : {0, 6, 21, 44, 53}) WCHECK(PM::stat_GetTabGlyph(unknown) == nullptr);
}
