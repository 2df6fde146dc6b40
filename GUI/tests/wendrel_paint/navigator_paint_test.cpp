// Page navigator and task pane painters off-screen: the caption, splitter
// and group-caption layouts without drawing; borders, fills, items, the
// splitter and its dots, the configuration button and the group captions as
// exact pixels in both looks; caption texts by where their ink lies and its
// colour.
#include <algorithm>
#include <climits>

#include "icons/cmd_icon.h"
#include "paint_test_util.h"

using namespace pt;

namespace {

using PM = VEzaPaintManager;
const COLORREF kBack = RGB(1, 2, 3);

// Turns GradientFill off while it lives, so that gradients come in exact bands.
struct NoGradientFill {
    NoGradientFill() : saved(g_PaintManager.m_pfnGradientFill) { g_PaintManager.m_pfnGradientFill = nullptr; }
    ~NoGradientFill() { g_PaintManager.m_pfnGradientFill = saved; }
    PM::VEzaPaintManagerAutoPtr::PfnGradientFill saved;
};

// A look whose task pane ids 1012..1021 each have a colour of their own.
template <class Base>
class DistinctIds : public Base {
public:
    DistinctIds() { DistinctColours(*this); }
    void InitTranslatedColors() override {
        Base::InitTranslatedColors();
        for (int id = 1012; id <= 1021; ++id) this->InstallTranslation(id, this->InstallColor(Id(id)));
    }
    // The ids a gradient joins (1012 and 1013, 1018 and 1020, 1019 and 1021)
    // differ widely in one channel.
    static COLORREF Id(int id) { return RGB(id % 4 < 2 ? 20 : 230, (id - 1000) * 10, id % 2 ? 200 : 40); }
};

// Text drawn with the painters' colours but no smoothing of its own: the
// ink is every pixel that is neither the background nor a fill colour.
CRect InkBounds(const Dib& dib, const std::vector<COLORREF>& notInk, const CRect& region) {
    CRect r(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = region.top; y < region.bottom; ++y)
        for (int x = region.left; x < region.right; ++x) {
            const COLORREF c = dib.At(x, y);
            if (std::find(notInk.begin(), notInk.end(), c) != notInk.end()) continue;
            r.left = std::min<LONG>(r.left, x);
            r.top = std::min<LONG>(r.top, y);
            r.right = std::max<LONG>(r.right, x + 1);
            r.bottom = std::max<LONG>(r.bottom, y + 1);
        }
    return r.left == INT_MAX ? CRect(0, 0, 0, 0) : r;
}

}  // namespace

WTEST(page_navigator_caption_layout_places_icon_and_text) {
    const struct {
        CRect rect;
        CSize icon;
        bool expanded;
        int column;
        CRect box;
    } rows[] = {
        {{0, 0, 200, 30}, {16, 16}, true, 24, {4, 7, 20, 23}},
        {{0, 0, 200, 30}, {16, 16}, false, 24, {92, 7, 108, 23}},
        {{50, 0, 250, 30}, {16, 16}, true, 24, {54, 7, 70, 23}},
        {{0, 0, 200, 30}, {15, 15}, true, 23, {4, 7, 19, 22}},    // 7.5 rounds up
        {{0, 10, 40, 42}, {32, 32}, true, 48, {8, 10, 40, 42}},
        {{0, 0, 200, 30}, {0, 0}, true, 0, {0, 15, 0, 15}},       // no icon: the text starts at the left
        {{0, 0, 10, 30}, {16, 16}, false, 24, {-3, 7, 13, 23}},   // wider than the rectangle: still centred
    };
    for (const auto& row : rows) {
        const auto layout = PM::stat_CalcPageNavigatorCaptionLayout(row.rect, row.icon, row.expanded);
        const std::string what = Str(row.rect) + " " + std::to_string(row.icon.cx) + (row.expanded ? " expanded" : "");
        WCHECK_EQ(what + " " + std::to_string(layout.nIconColumn) + " " + Str(layout.rcIcon) + " " +
                      std::to_string(layout.bText) + " " + std::to_string(layout.nTextInset),
                  what + " " + std::to_string(row.column) + " " + Str(row.box) + " " +
                      std::to_string(row.expanded) + " " + std::to_string(row.column));
    }
}

WTEST(splitter_dots_start_centred_and_may_overhang) {
    const struct {
        CRect rect;
        int dy;
        CPoint origin;
    } rows[] = {
        {{0, 0, 100, 8}, 0, {32, 3}},  {{0, 0, 100, 8}, 5, {32, 8}},  {{10, 20, 46, 23}, 0, {10, 21}},
        {{0, 0, 20, 8}, 0, {-8, 3}},   {{0, 0, 37, 4}, -1, {0, 0}},   {{5, 0, 6, 1}, 0, {-12, 0}},
    };
    for (const auto& row : rows) {
        const CPoint p = PM::stat_CalcPageNavigatorSplitterDotsOrigin(row.rect, row.dy);
        WCHECK_EQ(Str(row.rect) + " " + std::to_string(p.x) + "," + std::to_string(p.y),
                  Str(row.rect) + " " + std::to_string(row.origin.x) + "," + std::to_string(row.origin.y));
    }
}

WTEST(task_pane_caption_layout_gives_the_button_room_only_when_it_fits) {
    const struct {
        CRect rect;
        bool button;
        bool fits;
        CRect box, text;
    } rows[] = {
        {{0, 0, 24, 25}, true, true, {1, 4, 18, 20}, {0, 0, 7, 25}},
        {{0, 0, 23, 25}, true, false, {0, 0, 0, 0}, {0, 0, 23, 25}},
        {{0, 0, 10, 25}, true, false, {0, 0, 0, 0}, {0, 0, 10, 25}},
        {{10, 5, 210, 30}, true, true, {187, 9, 204, 25}, {10, 5, 193, 30}},
        {{10, 5, 210, 30}, false, false, {0, 0, 0, 0}, {10, 5, 210, 30}},
        {{0, 0, 100, 10}, true, true, {77, -3, 94, 13}, {0, 0, 83, 10}},
    };
    for (const auto& row : rows) {
        const auto layout = PM::stat_CalcTaskPaneGroupCaptionLayout(row.rect, row.button);
        WCHECK_EQ(Str(row.rect) + " " + std::to_string(layout.bButton) + " " +
                      (layout.bButton ? Str(layout.rcButton) : Str(CRect(0, 0, 0, 0))) + " " + Str(layout.rcText),
                  Str(row.rect) + " " + std::to_string(row.fits) + " " + Str(row.box) + " " + Str(row.text));
    }
}

WTEST(borders_are_3d_in_classic_and_one_colour_in_xp) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    const auto legend = [](PM& pm) {
        return std::vector<std::pair<COLORREF, char>>{
            {kBack, '.'}, {pm.GetColor(COLOR_BTNSHADOW), 's'}, {pm.GetColor(COLOR_WINDOW), 'w'}};
    };
    const char* classic3d = "......\n.sssw.\n.s..w.\n.s..w.\n.wwww.\n......\n";
    const char* flat = "......\n.ssss.\n.s..s.\n.s..s.\n.ssss.\n......\n";
    const struct {
        PM* pm;
        bool taskPane;
        const char* rows;
    } rows[] = {{&classic, false, classic3d}, {&classic, true, classic3d}, {&xp, false, flat}, {&xp, true, flat}};
    for (const auto& row : rows) {
        Dib dib(6, 6, kBack);
        DibCDC dc(dib);
        if (row.taskPane)
            row.pm->TaskPanePaintBorder(dc, CRect(1, 1, 5, 5), nullptr);
        else
            row.pm->PaintPageNavigatorBorder(dc, CRect(1, 1, 5, 5));
        const std::string what = std::string(row.pm->GetRuntimeClass()->m_lpszClassName) +
                                 (row.taskPane ? " task pane\n" : " navigator\n");
        WCHECK_EQ(what + dib.Rows({0, 0, 6, 6}, legend(*row.pm)), what + row.rows);
    }
}

WTEST(client_areas_fill_and_the_task_pane_shades_when_its_colours_differ) {
    InjectedSystem system(32);
    NoGradientFill bands;
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    DistinctIds<VEzaPaintManager> shaded;
    const CRect area(2, 2, 22, 34);
    for (PM* pm : {static_cast<PM*>(&classic), static_cast<PM*>(&xp), static_cast<PM*>(&shaded)}) {
        const std::string name = pm->GetRuntimeClass()->m_lpszClassName;
        Dib dib(24, 36, kBack);
        DibCDC dc(dib);
        pm->PaintPageNavigatorClientArea(dc, area, nullptr);
        WCHECK_EQ(name + " " + std::to_string(dib.CountOther(area, pm->GetColor(COLOR_WINDOW))), name + " 0");
        WCHECK_EQ(dib.CountOther({0, 0, 24, 36}, kBack), dib.CountOther(area, kBack));
        dib.Fill(kBack);
        pm->TaskPanePaintClientAreaToolbar(dc, area, nullptr);
        WCHECK_EQ(name + " " + std::to_string(dib.CountOther(area, pm->GetColor(1012))), name + " 0");
        dib.Fill(kBack);
        pm->TaskPanePaintClientArea(dc, area, nullptr);
        const COLORREF top = pm->GetColor(1012), bottom = pm->GetColor(1013);
        if (pm != &shaded) {
            // Both standard looks give the two ids one colour: a solid fill.
            WCHECK_EQ(Hex(top), Hex(bottom));
            WCHECK_EQ(name + " " + std::to_string(dib.CountOther(area, top)), name + " 0");
            continue;
        }
        // Bottom row exactly the lower colour, rows moving towards the upper.
        WCHECK_EQ(dib.CountOther({area.left, area.bottom - 1, area.right, area.bottom}, bottom), 0);
        WCHECK_EQ(dib.CountOther({area.left, area.top, area.right, area.top + 1}, dib.At(area.left, area.top)), 0);
        // Blue falls from 200 at the bottom to 40 at the top, row by row.
        int previous = 256;
        for (int y = area.bottom - 1; y >= area.top; --y) {
            const int blue = GetBValue(dib.At(area.left, y));
            WCHECK(blue <= previous);
            previous = blue;
        }
        WCHECK(GetBValue(dib.At(area.left, area.top)) < 50);
        WCHECK_EQ(dib.CountOther({0, 0, 24, 36}, kBack), dib.CountOther(area, kBack));
    }
}

WTEST(splitter_has_a_light_edge_and_dark_dots_with_light_shadows) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    for (PM* pm : {static_cast<PM*>(&classic), static_cast<PM*>(&xp)}) {
        const std::string name = pm->GetRuntimeClass()->m_lpszClassName;
        const auto legend = std::vector<std::pair<COLORREF, char>>{{kBack, '.'},
                                                                   {pm->GetColor(1000), 'f'},
                                                                   {pm->GetColor(COLOR_BTNSHADOW), 's'},
                                                                   {pm->GetColor(COLOR_WINDOW), 'w'},
                                                                   {pm->GetColor(COLOR_3DDKSHADOW), 'D'}};
        for (bool dots : {false, true}) {
            Dib dib(100, 8, kBack);
            DibCDC dc(dib);
            pm->PaintPageNavigatorSplitter(dc, CRect(0, 0, 100, 8), dots);
            // Columns 0..3 (the edge) and 30..41 (the first three dots).
            std::string picture = dib.Rows({0, 0, 4, 8}, legend) + dib.Rows({30, 0, 42, 8}, legend);
            const std::string expected = std::string("ssss\nwwww\nwfff\nwfff\nwfff\nwfff\nwfff\nwfff\n") +
                                         "ssssssssssss\nwwwwwwwwwwww\nffffffffffff\n" +
                                         (dots ? "ffDDffDDffDD\nffDDwfDDwfDD\nfffwwffwwffw\n"
                                               : "ffffffffffff\nffffffffffff\nffffffffffff\n") +
                                         "ffffffffffff\nffffffffffff\n";
            WCHECK_EQ(name + "\n" + picture, name + "\n" + expected);
            // Nine dots: 4 dark pixels each, the last ending at x = 65.
            WCHECK_EQ(100 * 8 - dib.CountOther({0, 0, 100, 8}, pm->GetColor(COLOR_3DDKSHADOW)), dots ? 36 : 0);
            WCHECK_EQ(Hex(dib.At(65, 4)), Hex(pm->GetColor(dots ? COLOR_3DDKSHADOW : 1000)));
            WCHECK_EQ(Hex(dib.At(66, 3)), Hex(pm->GetColor(1000)));
        }
    }
}

WTEST(splitter_dots_follow_the_offset_and_overhang_a_narrow_rectangle) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    DistinctColours(classic);
    const COLORREF dark = classic.GetColor(COLOR_3DDKSHADOW), light = classic.GetColor(COLOR_WINDOW);
    Dib dib(60, 20, kBack);
    DibCDC dc(dib);
    // A 20-pixel rectangle at x = 20: the row runs from x = 12 to 47.
    classic.PaintPageNavigatorSplitterDots(dc, CRect(20, 2, 40, 10), 4);
    WCHECK_EQ(Str(Bounds(dib, dark)), Str(CRect(12, 9, 46, 11)));
    WCHECK_EQ(Str(Bounds(dib, light)), Str(CRect(13, 10, 47, 12)));
    WCHECK_EQ(dib.CountOther({0, 0, 60, 20}, kBack), 9 * 4 + 9 * 3);
}

WTEST(config_button_glyph_is_the_same_in_every_state) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    const std::string glyph =
        "XX.XX..\n.XX.XX.\n..XX.XX\n.XX.XX.\nXX.XX..\n.......\n.......\n.......\n.......\n.XXXXX.\n..XXX..\n...X...\n";
    for (PM* pm : {static_cast<PM*>(&classic), static_cast<PM*>(&xp)})
        for (int state = 0; state < 4; ++state) {
            Dib dib(20, 24, kBack);
            DibCDC dc(dib);
            // 17 by 22 at (1, 1): the glyph at (1 + 5, 1 + 5).
            pm->PaintPageNavigatorConfigButton(dc, CRect(1, 1, 18, 23), (state & 1) != 0, (state & 2) != 0);
            const auto legend = std::vector<std::pair<COLORREF, char>>{{kBack, '.'},
                                                                       {pm->GetColor(COLOR_BTNTEXT), 'X'}};
            const std::string what = std::string(pm->GetRuntimeClass()->m_lpszClassName) + " " +
                                     std::to_string(state) + "\n";
            WCHECK_EQ(what + dib.Rows({6, 6, 13, 18}, legend), what + glyph);
            WCHECK_EQ(dib.CountOther({0, 0, 20, 24}, kBack), dib.CountOther({6, 6, 13, 18}, kBack));
        }
}

WTEST(classic_items_by_state) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    DistinctColours(classic);
    const auto legend = std::vector<std::pair<COLORREF, char>>{{kBack, '.'},
                                                               {classic.GetColor(COLOR_BTNSHADOW), 's'},
                                                               {classic.GetColor(COLOR_WINDOW), 'w'},
                                                               {classic.GetColor(COLOR_3DDKSHADOW), 'D'}};
    // The item (1, 1, 7, 6) in an 8 by 7 picture.
    const struct {
        bool expanded, selected, hover;
        const char* rows;
    } rows[] = {
        {false, false, false, "........\n.ssssss.\n.ssssss.\n.ssssss.\n.ssssss.\n.ssssss.\n........\n"},
        {false, false, true, "........\n.wwwwwD.\n.wssssD.\n.wssssD.\n.wssssD.\n.DDDDDD.\n........\n"},
        {false, true, false, "........\n.DDDDDw.\n.Dssssw.\n.Dssssw.\n.Dssssw.\n.wwwwww.\n........\n"},
        {false, true, true, "........\n.DDDDDw.\n.Dssssw.\n.Dssssw.\n.Dssssw.\n.wwwwww.\n........\n"},
        {true, false, false, "........\n..DDDD..\n..ssss..\n..ssss..\n..ssss..\n........\n........\n"},
        {true, false, true, "........\n..wwwD..\n..wssD..\n..wssD..\n..DDDD..\n........\n........\n"},
        {true, true, false, "........\n..DDDw..\n..Dssw..\n..Dssw..\n..wwww..\n........\n........\n"},
    };
    for (const auto& row : rows) {
        Dib dib(8, 7, kBack);
        DibCDC dc(dib);
        classic.PaintPageNavigatorItem(dc, CRect(1, 1, 7, 6), nullptr, nullptr, row.expanded, row.selected, row.hover);
        const std::string what = std::to_string(row.expanded) + std::to_string(row.selected) +
                                 std::to_string(row.hover) + "\n";
        WCHECK_EQ(what + dib.Rows({0, 0, 8, 7}, legend), what + row.rows);
    }
}

WTEST(xp_items_not_lit_are_framed_and_filled) {
    InjectedSystem system(32);
    VEzaPaintManagerXP xp;
    DistinctColours(xp);
    const auto legend = std::vector<std::pair<COLORREF, char>>{
        {kBack, '.'}, {xp.GetColor(COLOR_BTNSHADOW), 's'}, {xp.GetColor(1000), 'f'}};
    const struct {
        bool expanded;
        const char* rows;
    } rows[] = {
        {false, "......\n.ffff.\n.ffff.\n.ffff.\n......\n"},
        {true, "......\n.ssss.\n.sffs.\n.ssss.\n......\n"},
    };
    for (const auto& row : rows) {
        Dib dib(6, 5, kBack);
        DibCDC dc(dib);
        xp.PaintPageNavigatorItem(dc, CRect(1, 1, 5, 4), nullptr, nullptr, row.expanded, false, false);
        WCHECK_EQ(std::to_string(row.expanded) + "\n" + dib.Rows({0, 0, 6, 5}, legend),
                  std::to_string(row.expanded) + "\n" + row.rows);
    }
}

WTEST(xp_lit_items_are_flat_borderless_push_buttons) {
    InjectedSystem system(32);
    VEzaPaintManagerXP xp;
    DistinctColours(xp);
    const CRect rect(2, 2, 62, 30);
    const struct {
        bool expanded, selected, hover;
    } rows[] = {{false, false, true}, {false, true, false}, {true, true, true}, {true, false, true}};
    for (const auto& row : rows) {
        const std::string what = std::to_string(row.expanded) + std::to_string(row.selected) +
                                 std::to_string(row.hover) + " ";
        Dib got(64, 32, kBack), want(64, 32, kBack);
        {
            DibCDC dc(got);
            xp.PaintPageNavigatorItem(dc, rect, nullptr, nullptr, row.expanded, row.selected, row.hover);
        }
        {
            // The frame round an expanded item, then the button inside it.
            DibCDC dc(want);
            CRect r(rect);
            if (row.expanded) {
                CBrush frame(xp.GetColor(COLOR_BTNSHADOW));
                dc.FrameRect(&rect, &frame);
                r.DeflateRect(1, 1);
            }
            PM::PAINTPUSHBUTTONDATA button(&xp, true, r, "", nullptr, true, row.hover, row.selected, false, true,
                                           false, false, false, 0);
            xp.PaintPushButton(dc, button);
        }
        WCHECK(got.At(32, 16) != kBack && got.At(32, 16) != xp.GetColor(1000));
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 64; ++x)
                if (got.At(x, y) != want.At(x, y)) {
                    WCHECK_EQ(what + std::to_string(x) + "," + std::to_string(y) + " " + Hex(got.At(x, y)),
                              what + std::to_string(x) + "," + std::to_string(y) + " " + Hex(want.At(x, y)));
                    y = 32;
                    break;
                }
    }
}

WTEST(item_icon_sits_in_its_column_or_centred_and_moves_when_pushed) {
    InjectedSystem system(32);
    const COLORREF kIcon = RGB(10, 200, 30), kKey = RGB(255, 0, 255);
    VEzaCmdIcon icon;
    std::vector<unsigned> px(16 * 16, (GetRValue(kIcon) << 16) | (GetGValue(kIcon) << 8) | GetBValue(kIcon));
    icon.AssignFromHBITMAP(::CreateBitmap(16, 16, 1, 32, px.data()), kKey, nullptr, false);
    VEzaPaintManager classic;
    DistinctColours(classic);
    // A 16-pixel icon has a 24-pixel column; the item is 120 by 30.
    const struct {
        bool expanded, selected;
        CRect icon;
    } rows[] = {
        {true, false, CRect(4, 7, 20, 23)},
        {true, true, CRect(5, 8, 21, 24)},
        {false, false, CRect(52, 7, 68, 23)},
        {false, true, CRect(53, 8, 69, 24)},
    };
    for (const auto& row : rows) {
        Dib dib(120, 30, kBack);
        DibCDC dc(dib);
        classic.PaintPageNavigatorCaption(dc, CRect(0, 0, 120, 30), nullptr, &icon, row.expanded, row.selected,
                                          false, true);
        const std::string what = std::to_string(row.expanded) + std::to_string(row.selected) + " ";
        // The pushed icon moves out of its box and is cut at the box's edge.
        CRect expected(row.icon);
        if (row.selected) expected.IntersectRect(&expected, CRect(row.icon.left - 1, row.icon.top - 1,
                                                                   row.icon.right - 1, row.icon.bottom - 1));
        WCHECK_EQ(what + Str(Bounds(dib, kIcon)), what + Str(expected));
        WCHECK_EQ(what + std::to_string(dib.CountOther({0, 0, 120, 30}, kBack)),
                  what + std::to_string(expected.Width() * expected.Height()));
    }
}

WTEST(item_and_pane_captions_fill_then_place_their_text) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    const CRect rect(10, 5, 190, 40);
    for (PM* pm : {static_cast<PM*>(&classic), static_cast<PM*>(&xp)}) {
        const std::string name = pm->GetRuntimeClass()->m_lpszClassName;
        {
            Dib dib(200, 45, kBack);
            DibCDC dc(dib);
            pm->PaintPageNavigatorItemCaption(dc, rect, "Mail");
            const COLORREF fill = pm->GetColor(COLOR_BTNSHADOW), ink = pm->GetColor(COLOR_WINDOW);
            const CRect text = Bounds(dib, ink);
            // The large bold caption: white ink starting 4 in, vertically
            // centred, on the shadow fill.
            WCHECK(!text.IsRectEmpty());
            WCHECK_EQ(name + " " + std::to_string(text.left - rect.left >= 4 && text.left - rect.left <= 6),
                      name + " 1");
            WCHECK(text.Height() >= 10);
            WCHECK(std::abs((text.top - rect.top) - (rect.bottom - text.bottom)) <= 5);
            WCHECK_EQ(InkBounds(dib, {fill, kBack, ink}, rect).IsRectEmpty(), false);  // smoothed edges allowed
            WCHECK_EQ(dib.CountOther({0, 0, 200, 45}, kBack), dib.CountOther(rect, kBack));
            WCHECK_EQ(Hex(dib.At(rect.right - 1, rect.bottom - 1)), Hex(fill));
        }
        {
            Dib dib(200, 45, kBack);
            DibCDC dc(dib);
            pm->PaintPageNavigatorItemPaneCaption(dc, rect, "Folders");
            const COLORREF face = pm->GetColor(COLOR_BTNFACE), line = pm->GetColor(COLOR_BTNSHADOW),
                           ink = pm->GetColor(COLOR_WINDOWTEXT);
            WCHECK_EQ(dib.CountOther({rect.left, rect.bottom - 1, rect.right, rect.bottom}, line), 0);
            WCHECK_EQ(Hex(dib.At(rect.left, rect.top)), Hex(face));
            const CRect text = InkBounds(dib, {face, line, kBack}, rect);
            WCHECK_EQ(name + " " + std::to_string(text.left - rect.left >= 7 && text.left - rect.left <= 9),
                      name + " 1");
            WCHECK(!Bounds(dib, ink).IsRectEmpty());
            WCHECK(text.bottom < rect.bottom - 1);
            WCHECK(std::abs((text.top - rect.top) - (rect.bottom - text.bottom)) <= 5);
        }
    }
}

WTEST(long_captions_end_with_an_ellipsis_in_the_pane_and_are_cut_on_items) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    DistinctColours(classic);
    const char* text = "Calendar of every meeting";
    const CRect rect(0, 0, 90, 24);
    // The painter's picture against the text drawn by hand both ways at the
    // painter's place: the pane caption matches the ellipsis form, the item
    // caption the cut-off form.
    const struct {
        bool pane;
        UINT expected;
    } rows[] = {{true, DT_END_ELLIPSIS}, {false, 0}};
    for (const auto& row : rows) {
        Dib painted(100, 30, kBack);
        DibCDC dc(painted);
        if (row.pane)
            classic.PaintPageNavigatorItemPaneCaption(dc, rect, text);
        else
            classic.PaintPageNavigatorItemCaption(dc, rect, text);
        LOGFONTA lf = {};
        ::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0);
        if (!row.pane) {
            ::lstrcpynA(lf.lfFaceName, "Arial", LF_FACESIZE);
            lf.lfHeight = 20;
            lf.lfWeight = 700;
        }
        const int inset = row.pane ? 7 : 4;
        std::vector<unsigned> forms[2];
        for (int form = 0; form < 2; ++form) {
            Dib dib(100, 30, kBack);
            DibCDC ref(dib);
            if (row.pane) {
                ref.FillSolidRect(&rect, classic.GetColor(COLOR_BTNFACE));
                ref.FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, classic.GetColor(COLOR_BTNSHADOW));
            } else {
                ref.FillSolidRect(&rect, classic.GetColor(COLOR_BTNSHADOW));
            }
            CFont font;
            font.CreateFontIndirect(&lf);
            CFont* old = ref.SelectObject(&font);
            ref.SetBkMode(TRANSPARENT);
            ref.SetTextColor(classic.GetColor(row.pane ? COLOR_WINDOWTEXT : COLOR_WINDOW));
            CRect measured(rect);
            ref.DrawText(text, -1, &measured, DT_CALCRECT);
            CRect at(inset, (rect.Height() - measured.Height()) / 2, rect.right,
                     (rect.Height() + measured.Height()) / 2);
            ref.DrawText(text, -1, &at, form == 0 ? 0 : DT_END_ELLIPSIS);
            ref.SelectObject(old);
            forms[form] = dib.Pixels();
        }
        WCHECK(forms[0] != forms[1]);
        const std::string what = row.pane ? "pane " : "item ";
        WCHECK_EQ(what + std::to_string(painted.Pixels() == forms[row.expected == 0 ? 0 : 1]), what + "1");
    }
}

WTEST(caption_text_colour_inset_and_icon_column) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    DistinctColours(classic);
    const CRect rect(0, 0, 200, 30);
    const COLORREF window = classic.GetColor(COLOR_WINDOW), text = classic.GetColor(COLOR_BTNTEXT);
    const struct {
        bool expanded, selected, hover, onItem;
        COLORREF ink;
    } rows[] = {
        {true, true, true, true, window}, {true, true, true, false, text},  {true, true, false, true, text},
        {true, false, true, true, text},  {true, false, false, false, text}, {false, true, true, true, 0},
    };
    for (const auto& row : rows) {
        Dib dib(200, 30, kBack);
        DibCDC dc(dib);
        classic.PaintPageNavigatorCaption(dc, rect, "Contacts", nullptr, row.expanded, row.selected, row.hover,
                                          row.onItem);
        const std::string what = std::to_string(row.expanded) + std::to_string(row.selected) +
                                 std::to_string(row.hover) + std::to_string(row.onItem) + " ";
        if (row.ink == 0) {
            // Collapsed: an icon only, no text.
            WCHECK_EQ(what + std::to_string(dib.CountOther({0, 0, 200, 30}, kBack)), what + "0");
            continue;
        }
        const CRect ink = Bounds(dib, row.ink);
        WCHECK_EQ(what + std::to_string(!ink.IsRectEmpty() && ink.left <= 2), what + "1");
        WCHECK(Bounds(dib, row.ink == window ? text : window).IsRectEmpty());
    }
}

WTEST(no_text_paints_no_text) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    const CRect rect(0, 0, 120, 30);
    for (PM* pm : {static_cast<PM*>(&classic), static_cast<PM*>(&xp)})
        for (LPCSTR text : {static_cast<LPCSTR>(nullptr), ""}) {
            const std::function<void(CDC&)> calls[] = {
                [&](CDC& dc) { pm->PaintPageNavigatorItemCaptionText(dc, rect, text); },
                [&](CDC& dc) { pm->PaintPageNavigatorItemPaneCaptionText(dc, rect, text); },
                [&](CDC& dc) { pm->PaintPageNavigatorCaption(dc, rect, text, nullptr, true, true, true, true); },
                [&](CDC& dc) { pm->TaskPanePaintGroupCaptionText(dc, rect, text, true, true, true, nullptr); },
            };
            for (const auto& call : calls) {
                Dib dib(120, 30, kBack);
                DibCDC dc(dib);
                call(dc);
                WCHECK_EQ(dib.CountOther({0, 0, 120, 30}, kBack), 0);
            }
        }
}

WTEST(group_caption_background_by_state) {
    InjectedSystem system(32);
    NoGradientFill bands;
    using Look = DistinctIds<VEzaPaintManager>;
    Look shaded;
    VEzaPaintManager classic;
    DistinctColours(classic);
    const CRect rect(0, 0, 150, 6);
    // Standard looks: one colour for both ends, a solid fill whatever the state.
    for (bool special : {false, true}) {
        Dib dib(150, 6, kBack);
        DibCDC dc(dib);
        classic.TaskPanePaintGroupCaptionBackground(dc, rect, false, false, special, false, false, true, nullptr);
        WCHECK_EQ(dib.CountOther(rect, classic.GetColor(special ? COLOR_HIGHLIGHT : COLOR_BTNFACE)), 0);
    }
    const struct {
        bool special, twoStep;
        int solid;  // columns of the left colour exactly
    } rows[] = {{false, false, 1}, {false, true, 71}, {true, false, 1}, {true, true, 1}};
    for (const auto& row : rows) {
        Dib dib(150, 6, kBack);
        DibCDC dc(dib);
        shaded.TaskPanePaintGroupCaptionBackground(dc, rect, true, true, row.special, false, false, row.twoStep,
                                                   nullptr);
        const COLORREF c1 = Look::Id(row.special ? 1019 : 1018), c2 = Look::Id(row.special ? 1021 : 1020);
        int solid = 0;
        while (solid < 150 && dib.CountOther({solid, 0, solid + 1, 6}, c1) == 0) ++solid;
        const std::string what = std::to_string(row.special) + std::to_string(row.twoStep) + " ";
        WCHECK_EQ(what + std::to_string(solid), what + std::to_string(row.solid));
        // Red runs from 230 down to near 20 at the right end.
        WCHECK_EQ(what + std::to_string(GetRValue(dib.At(149, 0)) < 25 && GetRValue(c2) == 20), what + "1");
    }
}

WTEST(group_caption_background_cuts_rounded_corners_out_of_the_clip) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    DistinctColours(classic);
    const COLORREF face = classic.GetColor(COLOR_BTNFACE);
    const auto legend = std::vector<std::pair<COLORREF, char>>{{kBack, '.'}, {face, 'f'}, {kBack ^ 0xFFFFFF, 'x'}};
    const struct {
        bool left, right;
        const char* rows;
    } rows[] = {
        {false, false, "xffffffx\nxffffffx\nxffffffx\n"},
        {true, false, "x..ffffx\nx.fffffx\nxffffffx\n"},
        {false, true, "xffff..x\nxfffff.x\nxffffffx\n"},
        {true, true, "x..ff..x\nx.ffff.x\nxffffffx\n"},
    };
    for (const auto& row : rows) {
        Dib dib(8, 3, kBack);
        DibCDC dc(dib);
        classic.TaskPanePaintGroupCaptionBackground(dc, CRect(1, 0, 7, 3), false, false, false, row.left, row.right,
                                                    false, nullptr);
        // The cut stays after the call: a later fill leaves the corners too.
        dc.FillSolidRect(0, 0, 1, 3, kBack ^ 0xFFFFFF);
        dc.FillSolidRect(7, 0, 1, 3, kBack ^ 0xFFFFFF);
        dc.FillSolidRect(1, 0, 6, 3, face);
        const std::string what = std::to_string(row.left) + std::to_string(row.right) + "\n";
        WCHECK_EQ(what + dib.Rows({0, 0, 8, 3}, legend), what + row.rows);
    }
}

WTEST(classic_group_caption_expand_button_by_state) {
    InjectedSystem system(32);
    using Look = DistinctIds<VEzaPaintManager>;
    Look classic;
    const CRect rect(0, 0, 60, 24);
    // The box (37, 4, 54, 20), the glyph centred at (42, 8).
    const std::string collapse = "...X...\n..XXX..\n.XX.XX.\nXX...XX\n...X...\n..XXX..\n.XX.XX.\nXX...XX\n";
    const std::string expand = "XX...XX\n.XX.XX.\n..XXX..\n...X...\nXX...XX\n.XX.XX.\n..XXX..\n...X...\n";
    const struct {
        bool hover, special, expanded;
        int id;
    } rows[] = {{false, false, false, 1014}, {true, false, true, 1015}, {false, true, true, 1016},
                {true, true, false, 1017}};
    for (const auto& row : rows) {
        Dib dib(60, 24, kBack);
        DibCDC dc(dib);
        classic.TaskPanePaintGroupCaption(dc, rect, nullptr, row.hover, false, row.special, true, row.expanded,
                                          nullptr);
        const COLORREF back = Look::Id(row.special ? 1019 : 1018), ink = Look::Id(row.id);
        const COLORREF light = classic.GetColor(COLOR_BTNHIGHLIGHT), shade = classic.GetColor(COLOR_BTNSHADOW);
        const auto legend = std::vector<std::pair<COLORREF, char>>{{back, '.'}, {ink, 'X'}};
        const std::string what = std::to_string(row.hover) + std::to_string(row.special) +
                                 std::to_string(row.expanded) + "\n";
        std::string glyph = dib.Rows({42, 8, 49, 16}, legend);
        std::replace(glyph.begin(), glyph.end(), '?', '.');  // a shaded background
        WCHECK_EQ(what + glyph, what + (row.expanded ? collapse : expand));
        // Raised edges round the box under the mouse only.
        const auto edge = [&](int x, int y) {
            const COLORREF c = dib.At(x, y);
            return std::string(c == light ? "light" : c == shade ? "shade" : "back");
        };
        WCHECK_EQ(what + edge(37, 4) + edge(37, 19) + edge(53, 4) + edge(53, 19) + edge(36, 4) + edge(54, 19),
                  what + (row.hover ? "lightshadeshadeshade" : "backbackbackback") + "backback");
    }
}

WTEST(group_caption_text_margins_colours_and_narrow_captions) {
    InjectedSystem system(32);
    DistinctIds<VEzaPaintManager> classic;
    DistinctIds<VEzaPaintManagerXP> xp;
    const CRect rect(0, 0, 160, 25);
    const struct {
        PM* pm;
        bool hover, special;
        int id;
        int left;
    } rows[] = {{&classic, false, false, 1014, 13}, {&classic, true, true, 1017, 13},
                {&xp, true, false, 1015, 0},        {&xp, false, true, 1016, 0}};
    for (const auto& row : rows) {
        const std::string what = std::string(row.pm->GetRuntimeClass()->m_lpszClassName) + " " +
                                 std::to_string(row.id) + " ";
        Dib dib(170, 25, kBack);
        DibCDC dc(dib);
        row.pm->TaskPanePaintGroupCaption(dc, rect, "Other Places to visit today", row.hover, false, row.special,
                                          false, false, nullptr);
        const COLORREF ink = DistinctIds<VEzaPaintManager>::Id(row.id);
        const CRect text = Bounds(dib, ink);
        WCHECK_EQ(what + std::to_string(!text.IsRectEmpty() && text.left >= row.left && text.left <= row.left + 2),
                  what + "1");
        // Two pixels kept free on the right, whichever look: a word too
        // long for the caption is cut there.
        dib.Fill(kBack);
        row.pm->TaskPanePaintGroupCaption(dc, rect, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", row.hover, false, row.special,
                                          false, false, nullptr);
        const CRect cut = Bounds(dib, ink);
        WCHECK_EQ(what + std::to_string(cut.right), what + "158");
        if (row.pm == &xp) {
            // The XP caption: a line under it, nothing behind the text.
            WCHECK_EQ(dib.CountOther({0, 24, 160, 25}, xp.GetColor(COLOR_BTNSHADOW)), 0);
            WCHECK_EQ(Hex(dib.At(159, 0)), Hex(kBack));
        }
    }
    // 24 wide: the button at 1..18 leaves the text 7 pixels, less than its
    // margins: no text anywhere, only the button's glyph.
    Dib dib(30, 25, kBack);
    DibCDC dc(dib);
    classic.TaskPanePaintGroupCaption(dc, CRect(0, 0, 24, 25), "Details", false, false, false, true, false,
                                      nullptr);
    const COLORREF ink = DistinctIds<VEzaPaintManager>::Id(1014);
    WCHECK_EQ(Str(Bounds(dib, ink)), Str(CRect(6, 8, 13, 16)));
    WCHECK_EQ(dib.CountOther({24, 0, 30, 25}, kBack), 0);
}

WTEST(xp_item_fill_follows_the_depth_of_the_dc) {
    InjectedSystem system(32);
    VEzaPaintManagerXP xp;
    DistinctColours(xp);
    // A DC that reports a depth of its own (as a palette printer would).
    struct DepthCDC : DibCDC {
        DepthCDC(const Dib& dib, int bpp) : DibCDC(dib), m_bpp(bpp) {}
        int GetDeviceCaps(int index) const override {
            return index == BITSPIXEL ? m_bpp : DibCDC::GetDeviceCaps(index);
        }
        int m_bpp;
    };
    const struct {
        int bpp;
        int id;
    } rows[] = {{32, 1000}, {16, 1000}, {8, 2001}, {4, 2001}};
    WCHECK(xp.GetColor(1000) != xp.GetColor(2001));
    for (const auto& row : rows) {
        Dib dib(8, 4, kBack);
        DepthCDC dc(dib, row.bpp);
        xp.PaintPageNavigatorItem(dc, CRect(1, 1, 7, 3), nullptr, nullptr, false, false, false);
        WCHECK_EQ(std::to_string(row.bpp) + " " + std::to_string(dib.CountOther({1, 1, 7, 3}, xp.GetColor(row.id))),
                  std::to_string(row.bpp) + " 0");
    }
}

WTEST(caption_icons_sit_in_their_box_and_move_by_state) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    const COLORREF kIcon = RGB(200, 30, 90);
    VEzaCmdIcon icon16, icon15;
    SolidIcon(icon16, 16, 16, kIcon);
    SolidIcon(icon15, 15, 15, kIcon);
    const struct {
        PM* pm;
        VEzaCmdIcon* icon;
        CRect rect;
        bool expanded, selected, hover;
        CRect ink;
    } rows[] = {
        {&classic, &icon16, {0, 0, 200, 30}, true, false, false, {4, 7, 20, 23}},
        {&classic, &icon16, {0, 0, 200, 30}, false, false, false, {92, 7, 108, 23}},
        {&classic, &icon16, {50, 0, 250, 30}, true, false, true, {54, 7, 70, 23}},
        // Pushed: one right and down. The icon painter keeps the icon inside
        // the box it is given, so the moved icon loses its last row and column.
        {&classic, &icon16, {0, 0, 200, 30}, true, true, false, {5, 8, 20, 23}},
        {&classic, &icon15, {0, 0, 200, 31}, true, false, false, {4, 8, 19, 23}},
        // The XP look draws one pixel right and down of the box, and a
        // hovered icon two pixels up and left of that, over its shadow (all
        // inside the box).
        {&xp, &icon16, {0, 0, 200, 30}, true, false, false, {5, 8, 20, 23}},
        {&xp, &icon16, {0, 0, 200, 30}, true, true, false, {5, 8, 20, 23}},
        {&xp, &icon16, {0, 0, 200, 30}, true, false, true, {4, 7, 19, 22}},
    };
    for (const auto& row : rows) {
        Dib dib(260, 32, kBack);
        DibCDC dc(dib);
        row.pm->PaintPageNavigatorCaption(dc, row.rect, nullptr, row.icon, row.expanded, row.selected, row.hover,
                                          false);
        const std::string what = std::string(row.pm->GetRuntimeClass()->m_lpszClassName) + " " + Str(row.rect) +
                                 std::to_string(row.expanded) + std::to_string(row.selected) +
                                 std::to_string(row.hover) + " ";
        WCHECK_EQ(what + Str(Bounds(dib, kIcon)), what + Str(row.ink));
    }
    // With text: the text starts right of the icon column.
    Dib dib(200, 30, kBack);
    DibCDC dc(dib);
    classic.PaintPageNavigatorCaption(dc, CRect(0, 0, 200, 30), "Journal", &icon16, true, false, false, true);
    const CRect text = Bounds(dib, classic.GetColor(COLOR_BTNTEXT));
    WCHECK_EQ(std::to_string(text.left >= 24 && text.left <= 26), "1");
    WCHECK_EQ(Str(Bounds(dib, kIcon)), Str(CRect(4, 7, 20, 23)));
}

WTEST(xp_lit_items_are_flat_buttons) {
    InjectedSystem system(32);
    VEzaPaintManagerXP xp;
    DistinctColours(xp);
    const CRect rect(1, 1, 31, 21);
    const struct {
        bool expanded, selected, hover;
    } rows[] = {{false, false, true}, {false, true, false}, {false, true, true}, {true, false, true},
                {true, true, true}};
    for (const auto& row : rows) {
        const std::string what = std::to_string(row.expanded) + std::to_string(row.selected) +
                                 std::to_string(row.hover) + " ";
        // The item against the flat push button painted straight on the
        // same rectangle (inside the item's frame when expanded).
        Dib item(32, 22, kBack), button(32, 22, kBack);
        {
            DibCDC dc(item);
            xp.PaintPageNavigatorItem(dc, rect, nullptr, nullptr, row.expanded, row.selected, row.hover);
        }
        {
            DibCDC dc(button);
            CRect r(rect);
            if (row.expanded) {
                CBrush frame(xp.GetColor(COLOR_BTNSHADOW));
                dc.FrameRect(&rect, &frame);
                r.DeflateRect(1, 1);
            }
            VEzaPaintManager::PAINTPUSHBUTTONDATA data(&xp, true, r, "", nullptr, true, row.hover, row.selected,
                                                       false, true, false, false, false, 0);
            xp.PaintPushButton(dc, data);
        }
        WCHECK_EQ(what + std::to_string(item.Pixels() == button.Pixels()), what + "1");
        // Lit: not the plain item fill.
        WCHECK(item.At(rect.left + 5, rect.top + 5) != xp.GetColor(1000));
        if (row.expanded) WCHECK_EQ(Hex(item.At(rect.left, rect.top)), Hex(xp.GetColor(COLOR_BTNSHADOW)));
    }
}
