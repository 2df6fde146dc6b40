// The small painters off-screen: spin buttons and their Marlett arrows, the
// shortcut list's background, scroll buttons and items (icon choice, hover
// box, clipped and expanded captions), the toolbar text field in both looks
// and right to left, and the undo/redo caption.
#include <functional>

#include "icons/cmd_icon.h"
#include "paint_test_util.h"
#include "resources/resource_manager.h"

using namespace pt;

namespace {

using PM = VEzaPaintManager;
const COLORREF kBack = RGB(1, 2, 3);

}  // namespace

WTEST(spin_arrow_font_size_follows_the_smaller_side) {
    const struct {
        CRect rect;
        int size;
    } rows[] = {{{0, 0, 6, 6}, 6},  {{0, 0, 30, 12}, 8}, {{0, 0, 9, 9}, 6},
                {{0, 0, 12, 12}, 8}, {{0, 0, 20, 40}, 13}, {{0, 0, 8, 100}, 6}};
    for (const auto& row : rows)
        WCHECK_EQ(Str(row.rect) + " " + std::to_string(PM::stat_GetSpinArrowFontSize(row.rect)),
                  Str(row.rect) + " " + std::to_string(row.size));
}

WTEST(spin_arrow_direction_colour_and_pushed_offset) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    const CRect rect(4, 4, 36, 28);
    const struct {
        PM* pm;
        bool up, horizontal;
        const char* points;  // where the tip is
    } rows[] = {
        {&classic, true, false, "up"},    {&classic, false, false, "down"}, {&classic, true, true, "left"},
        {&classic, false, true, "right"}, {&xp, true, false, "up"},         {&xp, false, true, "right"},
    };
    for (const auto& row : rows) {
        const std::string what = std::string(row.pm->GetRuntimeClass()->m_lpszClassName) + " " + row.points + " ";
        Dib dib(40, 32, kBack);
        DibCDC dc(dib);
        row.pm->PaintSpinButtonArrow(dc, rect, row.up, row.horizontal, true, false, false, false, nullptr, 0);
        const COLORREF ink = row.pm->GetColor(COLOR_BTNTEXT);
        const CRect b = Bounds(dib, ink);
        WCHECK_EQ(what + std::to_string(b.IsRectEmpty()), what + "0");
        // Nothing outside the rectangle (the font's smoothing may add shades
        // round the arrow).
        WCHECK_EQ(what + std::to_string(dib.CountOther({0, 0, 40, 32}, kBack) - dib.CountOther(rect, kBack)),
                  what + "0");
        // Centred in the rectangle, give or take the font's own placing of
        // the arrow in its cell.
        WCHECK(std::abs((b.left + b.right) - (rect.left + rect.right)) <= 6);
        WCHECK(std::abs((b.top + b.bottom) - (rect.top + rect.bottom)) <= 3);
        // The tip: the narrower end of the triangle.
        const bool vertical = !row.horizontal;
        const int first = vertical ? CountOf(dib, {b.left, b.top, b.right, b.top + 1}, ink)
                                   : CountOf(dib, {b.left, b.top, b.left + 1, b.bottom}, ink);
        const int last = vertical ? CountOf(dib, {b.left, b.bottom - 1, b.right, b.bottom}, ink)
                                  : CountOf(dib, {b.right - 1, b.top, b.right, b.bottom}, ink);
        const bool tipFirst = first < last;
        WCHECK_EQ(what + (tipFirst ? "tip first" : "tip last"), what + (row.up ? "tip first" : "tip last"));

        // Hovered and highlighted: dark blue; pressed: moved by the look's
        // pushed offset.
        Dib hot(40, 32, kBack);
        DibCDC hotDc(hot);
        row.pm->PaintSpinButtonArrow(hotDc, rect, row.up, row.horizontal, true, true, true, true, nullptr, 0);
        CRect moved = b;
        moved.OffsetRect(row.pm->GetPushedOffset());
        WCHECK_EQ(what + Str(Bounds(hot, RGB(0, 0, 128))), what + Str(moved));
    }
}

WTEST(spin_arrow_disabled_is_embossed) {
    InjectedSystem system(32);
    VEzaPaintManager pm;
    DistinctColours(pm);
    Dib dib(40, 32, kBack);
    DibCDC dc(dib);
    // Hover and highlight do not matter when disabled.
    pm.PaintSpinButtonArrow(dc, CRect(4, 4, 36, 28), false, false, false, false, true, true, nullptr, 0);
    const CRect shadow = Bounds(dib, pm.GetColor(COLOR_BTNSHADOW)), light = Bounds(dib, pm.GetColor(COLOR_WINDOW));
    WCHECK(!shadow.IsRectEmpty());
    // The light copy shows one pixel right of and below the shadow.
    WCHECK_EQ(std::to_string(light.right - shadow.right) + "," + std::to_string(light.bottom - shadow.bottom), "1,1");
    WCHECK(Bounds(dib, RGB(0, 0, 128)).IsRectEmpty());
    WCHECK(Bounds(dib, pm.GetColor(COLOR_BTNTEXT)).IsRectEmpty());
}

WTEST(spin_button_frames_and_fills_per_state) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    // Probes on the left edge, the right edge, one pixel in from the left,
    // and the fill (-1: untouched).
    const struct {
        PM* pm;
        bool enabled, flat, border, pushed, hover;
        int left, right, inner, fill;
    } rows[] = {
        {&classic, true, false, false, true, false, 1007, 1005, -1, -1},
        {&classic, true, false, false, false, false, 1004, 1006, -1, -1},
        {&classic, true, false, false, false, true, 1006, 1008, 1004, -1},
        {&classic, true, true, false, false, true, -1, -1, -1, -1},
        {&classic, true, true, true, false, true, 1004, 1006, -1, -1},
        {&classic, true, true, true, true, false, 1007, 1005, -1, -1},
        {&classic, true, true, false, true, false, -1, -1, -1, -1},
        {&classic, false, false, false, true, true, 1004, 1006, -1, -1},
        {&classic, false, true, true, true, true, -1, -1, -1, -1},
        {&xp, true, false, false, true, true, 2004, 2004, 2003, 2003},
        {&xp, true, false, false, false, true, 2004, 2004, 1001, 1001},
        {&xp, true, false, false, true, false, 2004, 2004, 2003, 2003},
        {&xp, true, false, false, false, false, COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE},
        {&xp, true, true, false, false, false, 1000, 1000, 1000, 1000},
        {&xp, true, true, false, false, true, 1001, 1001, 1001, 1001},
        {&xp, true, true, true, false, true, 2004, 2004, 1001, 1001},
        {&xp, false, false, true, true, true, COLOR_BTNSHADOW, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNFACE},
    };
    int n = 0;
    for (const auto& row : rows) {
        const std::string what = "row " + std::to_string(n++) + " ";
        Dib dib(40, 24, kBack);
        DibCDC dc(dib);
        row.pm->PaintSpinButton(dc, CRect(0, 0, 40, 24), true, false, row.enabled, row.flat, row.border, row.pushed,
                                row.hover, false, nullptr, 0);
        auto colour = [&](int id) { return id < 0 ? kBack : row.pm->GetColor(id); };
        WCHECK_EQ(what + "left " + Hex(dib.At(0, 12)), what + "left " + Hex(colour(row.left)));
        WCHECK_EQ(what + "right " + Hex(dib.At(39, 12)), what + "right " + Hex(colour(row.right)));
        WCHECK_EQ(what + "inner " + Hex(dib.At(1, 12)), what + "inner " + Hex(colour(row.inner)));
        WCHECK_EQ(what + "fill " + Hex(dib.At(4, 4)), what + "fill " + Hex(colour(row.fill)));
    }
}

WTEST(shortcut_list_background_and_scroll_buttons) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    for (PM* pm : {static_cast<PM*>(&classic), static_cast<PM*>(&xp)}) {
        const std::string look = pm->GetRuntimeClass()->m_lpszClassName;
        Dib dib(40, 20, kBack);
        DibCDC dc(dib);
        pm->PaintShortcutListBkgnd(dc, CRect(5, 5, 5, 15), nullptr, 0);
        WCHECK_EQ(look + " " + std::to_string(dib.CountOther({0, 0, 40, 20}, kBack)), look + " 0");
        dc.ExcludeClipRect(0, 0, 20, 20);
        pm->PaintShortcutListBkgnd(dc, CRect(2, 2, 18, 18), nullptr, 0);
        WCHECK_EQ(look + " " + std::to_string(dib.CountOther({0, 0, 40, 20}, kBack)), look + " 0");
        pm->PaintShortcutListBkgnd(dc, CRect(22, 2, 38, 18), nullptr, 0);
        const int fill = pm == &classic ? COLOR_BTNSHADOW : 1000;
        WCHECK_EQ(look + " " + std::to_string(dib.CountOther({22, 2, 38, 18}, pm->GetColor(fill))), look + " 0");
    }

    // Frames (outer and inner, top-left / bottom-right) and the arrow.
    const struct {
        bool horizontal, up, hover, pushed;
        int outer[2], inner[2];
        int glyph;
    } rows[] = {
        {false, true, false, false, {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}, {COLOR_BTNFACE, COLOR_BTNFACE}, 2},
        {false, false, true, false, {COLOR_BTNFACE, COLOR_3DDKSHADOW}, {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}, 3},
        {true, true, true, true, {COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT}, {COLOR_BTNSHADOW, COLOR_BTNFACE}, 4},
        {true, false, false, true, {COLOR_3DDKSHADOW, COLOR_BTNHIGHLIGHT}, {COLOR_BTNSHADOW, COLOR_BTNFACE}, 5},
    };
    for (PM* pm : {static_cast<PM*>(&classic), static_cast<PM*>(&xp)})
        for (const auto& row : rows) {
            const std::string what = std::string(pm->GetRuntimeClass()->m_lpszClassName) + " glyph " +
                                     std::to_string(row.glyph) + (row.pushed ? " pushed " : " ");
            Dib dib(24, 20, kBack);
            DibCDC dc(dib);
            const CRect rect(0, 0, 24, 20);
            pm->PaintShortcutListScrollButton(dc, row.horizontal, rect, row.up, row.hover, row.pushed, nullptr, 0);
            auto c = [&](int i) { return Hex(pm->GetColor(i)); };
            WCHECK_EQ(what + Hex(dib.At(0, 10)) + Hex(dib.At(23, 10)), what + c(row.outer[0]) + c(row.outer[1]));
            WCHECK_EQ(what + Hex(dib.At(1, 10)) + Hex(dib.At(22, 10)), what + c(row.inner[0]) + c(row.inner[1]));
            WCHECK_EQ(what + Hex(dib.At(4, 4)), what + c(COLOR_BTNFACE));
            // The arrow is the glyph centred, moved by one when pressed.
            const PM::glyph_t& g = *PM::stat_GetTabGlyph(row.glyph);
            const CRect at(CPoint((24 - int(g.GetWidth())) / 2 + (row.pushed ? 1 : 0),
                                  (20 - int(g.GetHeight())) / 2 + (row.pushed ? 1 : 0)),
                           g.Size());
            const COLORREF ink = pm->GetColor(COLOR_BTNTEXT);
            int wrong = 0, set = 0;
            for (int y = 0; y < int(g.GetHeight()); ++y)
                for (int x = 0; x < int(g.GetWidth()); ++x) {
                    const bool inked = dib.At(at.left + x, at.top + y) == ink;
                    set += g.GetColorPixel(x, y) != 0;
                    wrong += inked != (g.GetColorPixel(x, y) != 0);
                }
            WCHECK_EQ(what + std::to_string(wrong), what + "0");
            WCHECK_EQ(what + std::to_string(CountOf(dib, rect, ink)), what + std::to_string(set));
        }
}

WTEST(shortcut_list_item_icon_choice_and_hover_box) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    const COLORREF kBig = RGB(200, 0, 0), kSmall = RGB(0, 0, 200);
    VEzaCmdIcon big, small, empty;
    SolidIcon(big, kBig);
    SolidIcon(small, kSmall);
    enum { None = 0, Big, Small };
    const struct {
        PM* pm;
        VEzaCmdIcon *bigIcon, *smallIcon;
        BYTE state;
        int shown;
        int fill, frameTL, frameBR;
    } rows[] = {
        {&classic, &big, &small, PM::PAINTSHORTCUTLISTITEMSDATA::BigIconView, Big, -1, -1, -1},
        {&classic, &big, &small, 0, Small, -1, -1, -1},
        {&classic, &empty, &small, PM::PAINTSHORTCUTLISTITEMSDATA::BigIconView, Small, -1, -1, -1},
        {&classic, &big, &empty, 0, Big, -1, -1, -1},
        {&classic, &big, nullptr, 0, Big, -1, -1, -1},
        {&classic, &empty, &empty, PM::PAINTSHORTCUTLISTITEMSDATA::Hover, None, COLOR_BTNSHADOW, COLOR_BTNFACE,
         COLOR_3DDKSHADOW},
        {&classic, &big, &small, PM::PAINTSHORTCUTLISTITEMSDATA::Pushed, Small, COLOR_BTNSHADOW, COLOR_3DDKSHADOW,
         COLOR_BTNFACE},
        {&xp, nullptr, nullptr, PM::PAINTSHORTCUTLISTITEMSDATA::Hover, None, 1001, 2004, 2004},
        {&xp, nullptr, &small, PM::PAINTSHORTCUTLISTITEMSDATA::Pushed | PM::PAINTSHORTCUTLISTITEMSDATA::Hover,
         Small, 2003, 2004, 2004},
    };
    int n = 0;
    for (const auto& row : rows) {
        const std::string what = "row " + std::to_string(n++) + " ";
        Dib dib(60, 40, kBack);
        DibCDC dc(dib);
        PM::PAINTSHORTCUTLISTITEMSDATA data;
        data.m_pBigIcon = row.bigIcon;
        data.m_pSmallIcon = row.smallIcon;
        data.m_rcItem.SetRect(0, 0, 60, 40);
        data.m_rcIcon.SetRect(10, 10, 26, 26);
        data.m_rcClient.SetRect(0, 0, 60, 40);
        data.m_nState = row.state;
        row.pm->PaintShortcutListItem(dc, data);
        auto colour = [&](int id) { return id < 0 ? kBack : row.pm->GetColor(id); };
        const COLORREF icon = row.shown == Big ? kBig : row.shown == Small ? kSmall : colour(row.fill);
        WCHECK_EQ(what + "icon " + Hex(dib.At(18, 18)), what + "icon " + Hex(icon));
        WCHECK_EQ(what + "box " + Hex(dib.At(9, 18)), what + "box " + Hex(colour(row.fill)));
        WCHECK_EQ(what + "frame " + Hex(dib.At(8, 18)) + Hex(dib.At(27, 18)),
                  what + "frame " + Hex(colour(row.frameTL)) + Hex(colour(row.frameBR)));
        WCHECK_EQ(what + "outside " + Hex(dib.At(7, 18)), what + "outside " + Hex(kBack));
    }
}

WTEST(shortcut_list_captions_clipped_and_expanded) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    for (PM* pm : {static_cast<PM*>(&classic), static_cast<PM*>(&xp)}) {
        const std::string look = std::string(pm->GetRuntimeClass()->m_lpszClassName) + " ";
        PM::PAINTSHORTCUTLISTITEMSDATA data;
        data.m_rcItem.SetRect(0, 0, 100, 40);
        data.m_rcText.SetRect(4, 10, 96, 26);
        data.m_rcClient.SetRect(20, 0, 60, 40);
        data.m_sText = "WWWWWWWWWWWWWWWWWWWW";
        data.m_hFont = static_cast<HFONT>(pm->m_FontNormal.GetSafeHandle());
        {
            Dib dib(100, 40, kBack);
            DibCDC dc(dib);
            pm->PaintShortcutListItem(dc, data);
            const COLORREF ink = pm->GetColor(pm == &classic ? COLOR_BTNHIGHLIGHT : COLOR_BTNTEXT);
            const CRect b = Bounds(dib, ink);
            WCHECK_EQ(look + std::to_string(!b.IsRectEmpty() && b.left >= 21 && b.right <= 59), look + "1");
            WCHECK_EQ(look + std::to_string(dib.CountOther({0, 0, 100, 40}, kBack) - CountOf(dib, b, ink)),
                      look + "0");
        }
        // The background pass of an expanded caption: a tip-coloured box
        // framed in dark shadow, and nothing else.
        data.m_nState = PM::PAINTSHORTCUTLISTITEMSDATA::Expanded | PM::PAINTSHORTCUTLISTITEMSDATA::ExpandedBackgroundPass;
        {
            Dib dib(100, 40, kBack);
            DibCDC dc(dib);
            pm->PaintShortcutListItem(dc, data);
            const CRect box(2, 8, 98, 28);
            const COLORREF frame = pm->GetColor(COLOR_3DDKSHADOW);
            WCHECK_EQ(look + Hex(dib.At(2, 8)) + Hex(dib.At(97, 27)) + Hex(dib.At(50, 8)),
                      look + Hex(frame) + Hex(frame) + Hex(frame));
            WCHECK_EQ(look + std::to_string(dib.CountOther({3, 9, 97, 27}, pm->GetColor(COLOR_INFOBK))), look + "0");
            WCHECK_EQ(look + std::to_string(dib.CountOther({0, 0, 100, 40}, kBack)),
                      look + std::to_string(box.Width() * box.Height()));
        }
        // The caption pass of an expanded caption: tip text colour.
        data.m_nState = PM::PAINTSHORTCUTLISTITEMSDATA::Expanded;
        {
            Dib dib(100, 40, kBack);
            DibCDC dc(dib);
            pm->PaintShortcutListItem(dc, data);
            WCHECK(!Bounds(dib, pm->GetColor(COLOR_INFOTEXT)).IsRectEmpty());
        }
        // Not expanded: the background pass draws nothing.
        data.m_nState = PM::PAINTSHORTCUTLISTITEMSDATA::ExpandedBackgroundPass;
        {
            Dib dib(100, 40, kBack);
            DibCDC dc(dib);
            pm->PaintShortcutListItem(dc, data);
            WCHECK_EQ(look + std::to_string(dib.CountOther({0, 0, 100, 40}, kBack)), look + "0");
        }
    }
}

WTEST(toolbar_text_field_frames_fills_and_text) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    using F = PM::PAINTTOOLBARTEXTFIELDDATA;
    const int sys = 10000;  // + index: read with GetSysColor
    // Probes: the field's left edge (classic: the field rectangle's, XP: the
    // edit area's grown by one), the edit area, and the text colour.
    const struct {
        PM* pm;
        BYTE state;
        CPoint edge;
        int edgeColour, fill, text;
    } rows[] = {
        {&classic, 0, {11, 20}, COLOR_WINDOW, COLOR_BTNFACE, sys + COLOR_BTNSHADOW},
        {&classic, F::Enabled | F::Hover, {10, 20}, COLOR_BTNSHADOW, COLOR_WINDOW, sys + COLOR_BTNTEXT},
        {&classic, F::Enabled | F::Pushed, {10, 20}, COLOR_BTNSHADOW, COLOR_WINDOW, sys + COLOR_BTNTEXT},
        {&classic, F::Enabled, {10, 20}, -1, COLOR_WINDOW, sys + COLOR_BTNTEXT},
        {&classic, F::ComboBox, {11, 20}, COLOR_WINDOW, COLOR_BTNFACE, sys + COLOR_BTNSHADOW},
        {&xp, 0, {13, 20}, 2011, sys + COLOR_BTNFACE, sys + COLOR_BTNSHADOW},
        {&xp, F::Enabled | F::Hover, {13, 20}, 2004, sys + COLOR_WINDOW, sys + COLOR_BTNTEXT},
        {&xp, F::Enabled, {13, 20}, -1, sys + COLOR_WINDOW, sys + COLOR_BTNTEXT},
        {&xp, F::ComboBox, {13, 20}, 2011, sys + COLOR_BTNFACE, sys + COLOR_BTNSHADOW},
        {&xp, F::ComboBox | F::Enabled, {13, 20}, -1, sys + COLOR_WINDOW, sys + COLOR_BTNTEXT},
    };
    int n = 0;
    for (const auto& row : rows) {
        const std::string what = "row " + std::to_string(n++) + " ";
        Dib dib(140, 40, kBack);
        DibCDC dc(dib);
        F data;
        data.m_rcField.SetRect(10, 10, 110, 32);
        data.m_rcText.SetRect(14, 12, 80, 30);
        data.m_sText = "EEE";
        data.m_nDrawTextFlags = DT_SINGLELINE | DT_LEFT | DT_TOP;
        data.m_nState = row.state;
        row.pm->PaintToolbarTextField(dc, data);
        auto colour = [&](int id) {
            return id < 0 ? kBack : id >= sys ? InjectedSystem::Chosen(id - sys) : row.pm->GetColor(id);
        };
        WCHECK_EQ(what + "edge " + Hex(dib.At(row.edge.x, row.edge.y)), what + "edge " + Hex(colour(row.edgeColour)));
        WCHECK_EQ(what + "fill " + Hex(dib.At(15, 14)), what + "fill " + Hex(colour(row.fill)));
        const CRect ink = Bounds(dib, colour(row.text), {15, 13, 79, 29});
        WCHECK_EQ(what + "text " + std::to_string(!ink.IsRectEmpty() && ink.left >= 19 && ink.left <= 21),
                  what + "text 1");
    }
}

WTEST(toolbar_text_field_drop_down_arrow) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    using F = PM::PAINTTOOLBARTEXTFIELDDATA;
    const int w = ::GetSystemMetrics(SM_CXHTHUMB);
    // Where the 5 by 3 arrow is centred and in what colour.
    const struct {
        PM* pm;
        BYTE state;
        CRect button;
        COLORREF ink;
    } rows[] = {
        // Classic, disabled: the right strip of the field less 1 and 2.
        {&classic, F::ComboBox, {109 - w, 12, 109, 30}, classic.GetColor(COLOR_BTNTEXT)},
        // XP: the strip right of the edit area (14,12,80,31 grown by one).
        {&xp, F::ComboBox, {82, 11, 81 + w, 32}, InjectedSystem::Chosen(COLOR_BTNSHADOW)},
        // XP, idle: the strip inset.
        {&xp, F::ComboBox | F::Enabled, {84, 13, 79 + w, 30}, xp.GetColor(COLOR_BTNTEXT)},
        // XP, under the mouse: a flat push button right of the grown edit
        // area, the arrow white on it when pressed.
        {&xp, F::ComboBox | F::Enabled | F::Hover, {82, 11, 81 + w, 32}, xp.GetColor(COLOR_BTNTEXT)},
        {&xp, F::ComboBox | F::Enabled | F::Hover | F::Pushed, {82, 11, 81 + w, 32}, xp.GetColor(2006)},
    };
    int n = 0;
    for (const auto& row : rows) {
        const std::string what = "row " + std::to_string(n++) + " ";
        Dib dib(140, 40, kBack);
        DibCDC dc(dib);
        F data;
        data.m_rcField.SetRect(10, 10, 110, 32);
        data.m_rcText.SetRect(14, 12, 80, 30);
        data.m_nState = row.state;
        row.pm->PaintToolbarTextField(dc, data);
        const CRect at(CPoint(row.button.left + (row.button.Width() - 5) / 2,
                              row.button.top + (row.button.Height() - 3) / 2),
                       CSize(5, 3));
        WCHECK_EQ(what + Str(Bounds(dib, row.ink, {row.button.left, row.button.top + 2, row.button.right - 1,
                                                   row.button.bottom - 2})),
                  what + Str(at));
    }
}

WTEST(toolbar_text_field_right_to_left) {
    InjectedSystem system(32);
    VEzaPaintManager pm;
    DistinctColours(pm);
    const int saved = g_ResourceManager->SetRightToLeftOverride(1);
    Dib dib(140, 40, kBack);
    DibCDC dc(dib);
    PM::PAINTTOOLBARTEXTFIELDDATA data;
    data.m_rcField.SetRect(10, 10, 110, 32);
    data.m_rcText.SetRect(14, 12, 80, 30);
    data.m_sText = "EEE";
    data.m_nDrawTextFlags = DT_SINGLELINE;
    data.m_nState = PM::PAINTTOOLBARTEXTFIELDDATA::Enabled;
    pm.PaintToolbarTextField(dc, data);
    g_ResourceManager->SetRightToLeftOverride(saved);
    const CRect ink = Bounds(dib, InjectedSystem::Chosen(COLOR_BTNTEXT));
    WCHECK(!ink.IsRectEmpty());
    WCHECK_EQ(std::to_string(ink.right >= 77 && ink.right <= 80), "1");
}

WTEST(undo_redo_caption_in_both_looks) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    const CRect rect(0, 0, 160, 24);
    for (PM* pm : {static_cast<PM*>(&classic), static_cast<PM*>(&xp)}) {
        const bool isXp = pm == &xp;
        const std::string look = std::string(pm->GetRuntimeClass()->m_lpszClassName) + " ";
        const COLORREF fill = pm->GetMenuFrameFillColor(pm, 0);
        {
            // No text: the XP look fills only; the classic look draws its box.
            Dib dib(160, 24, kBack);
            DibCDC dc(dib);
            pm->PaintUndoRedoCaption(dc, rect, nullptr, nullptr, 0);
            const int others = dib.CountOther(rect, fill);
            WCHECK_EQ(look + std::to_string(others), look + std::to_string(isXp ? 0 : 2 * (154 + 18) - 4));
        }
        Dib dib(160, 24, kBack);
        DibCDC dc(dib);
        pm->PaintUndoRedoCaption(dc, rect, "Undo 3 Actions", nullptr, 0);
        // The box: rect less 3 on each side, one pixel lower.
        const CRect box = isXp ? rect : CRect(3, 4, 157, 22);
        if (!isXp) {
            WCHECK_EQ(Hex(dib.At(3, 12)) + Hex(dib.At(80, 4)), Hex(pm->GetColor(COLOR_BTNSHADOW)) +
                                                                 Hex(pm->GetColor(COLOR_BTNSHADOW)));
            WCHECK_EQ(Hex(dib.At(156, 12)) + Hex(dib.At(80, 21)),
                      Hex(pm->GetColor(COLOR_WINDOW)) + Hex(pm->GetColor(COLOR_WINDOW)));
        }
        const CRect ink = Bounds(dib, pm->GetColor(COLOR_WINDOWTEXT));
        WCHECK(!ink.IsRectEmpty());
        WCHECK_EQ(look + std::to_string(ink.left > box.left && ink.right < box.right && ink.top >= box.top &&
                                        ink.bottom <= box.bottom),
                  look + "1");
        WCHECK(std::abs((ink.left + ink.right) - (box.left + box.right)) <= 10);
    }
}

WTEST(tiny_rectangles_paint_nothing_outside) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    // Each painter in every state that draws frames, in rectangles too small
    // for its frames or its arrow.
    const std::vector<std::pair<std::string, std::function<void(PM&, CDC&, const CRect&)>>> painters = {
        {"tab button", [](PM& pm, CDC& dc, const CRect& r) {
             CRect button = r;
             pm.PaintTabButton(dc, button, PM::TabButtonClose, true, true, true, true, false, false, nullptr, 0);
             pm.PaintTabButton(dc, button, PM::TabButtonScrollBack, true, false, true, false, true, false, nullptr, 0);
         }},
        {"spin button", [](PM& pm, CDC& dc, const CRect& r) {
             pm.PaintSpinButton(dc, r, true, false, true, false, true, false, true, true, nullptr, 0);
             pm.PaintSpinButton(dc, r, false, true, true, true, true, true, false, false, nullptr, 0);
         }},
        {"spin arrow", [](PM& pm, CDC& dc, const CRect& r) {
             pm.PaintSpinButtonArrow(dc, r, true, false, false, false, false, false, nullptr, 0);
         }},
        {"scroll button", [](PM& pm, CDC& dc, const CRect& r) {
             pm.PaintShortcutListScrollButton(dc, false, r, true, true, false, nullptr, 0);
             pm.PaintShortcutListScrollButton(dc, true, r, false, false, true, nullptr, 0);
         }},
        {"undo caption", [](PM& pm, CDC& dc, const CRect& r) {
             pm.PaintUndoRedoCaption(dc, r, "Undo 3 Actions", nullptr, 0);
         }},
    };
    const CRect sizes[] = {{10, 10, 10, 10}, {10, 10, 11, 11}, {10, 10, 12, 12}, {10, 10, 13, 15}, {10, 10, 16, 7}};
    for (PM* pm : {static_cast<PM*>(&classic), static_cast<PM*>(&xp)})
        for (const auto& [name, paint] : painters)
            for (const CRect& r : sizes) {
                Dib dib(30, 30, kBack);
                DibCDC dc(dib);
                paint(*pm, dc, r);
                CRect inside = r;
                inside.NormalizeRect();
                const int outside = dib.CountOther({0, 0, 30, 30}, kBack) - dib.CountOther(inside, kBack);
                const std::string what =
                    std::string(pm->GetRuntimeClass()->m_lpszClassName) + " " + name + " " + Str(r) + " ";
                WCHECK_EQ(what + std::to_string(outside), what + "0");
            }
}
