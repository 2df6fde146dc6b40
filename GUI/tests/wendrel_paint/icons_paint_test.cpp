// Icon placement without drawing, icons painted in their states in both
// looks, the caption buttons of bars and the system-command glyphs, all as
// exact pixels in a DIB.
#include <climits>

#include "icons/cmd_icon.h"
#include "paint_test_util.h"

using namespace pt;

namespace {

using PM = VEzaPaintManager;
const COLORREF kBack = RGB(1, 2, 3), kIcon = RGB(200, 30, 40), kKey = RGB(255, 0, 255);

// A solid square icon of one colour.
void SolidIcon(VEzaCmdIcon& icon, int size, COLORREF colour) {
    std::vector<unsigned> px(size_t(size) * size,
                             (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour));
    icon.AssignFromHBITMAP(::CreateBitmap(size, size, 1, 32, px.data()), kKey, nullptr, false);
}

}  // namespace

WTEST(icon_placement_by_layout_alignment_and_side) {
    struct Case {
        bool horizontal, emptyText;
        int alignment;
        bool after;
        CRect item, icon, caption;
    };
    const CRect item(0, 0, 100, 40), tall(0, 0, 30, 100);
    const Case cases[] = {
        // Beside the text, before and after it; centred when there is no text.
        {true, false, 0, false, item, CRect(3, 0, 19, 16), CRect(19, 0, 100, 40)},
        {true, false, 0, true, item, CRect(81, 0, 97, 16), CRect(0, 0, 81, 40)},
        {true, true, 0, false, item, CRect(42, 0, 58, 16), item},
        {true, false, 1, false, item, CRect(3, 0, 19, 16), CRect(19, 0, 100, 40)},
        {true, false, 8, false, item, CRect(3, 12, 19, 28), CRect(19, 0, 100, 40)},
        {true, true, 9, false, item, CRect(42, 12, 58, 28), item},
        // Bit 1 alone: the icon at the caption's far side, centred vertically.
        {true, false, 2, false, item, CRect(81, 12, 97, 28), CRect(3, 0, 81, 40)},
        {true, false, 2, true, item, CRect(3, 12, 19, 28), CRect(19, 0, 97, 40)},
        {true, true, 2, false, item, CRect(42, 0, 58, 16), item},
        // One above the other.
        {false, false, 1, false, tall, CRect(0, 3, 16, 19), CRect(0, 19, 30, 100)},
        {false, false, 9, false, tall, CRect(7, 3, 23, 19), CRect(0, 19, 30, 100)},
        {false, true, 1, false, tall, CRect(0, 42, 16, 58), tall},
        {false, false, 2, false, tall, CRect(7, 81, 23, 97), CRect(0, 0, 30, 81)},
        {false, false, 0, false, tall, CRect(0, 3, 16, 19), CRect(0, 19, 30, 100)},
    };
    for (const Case& c : cases) {
        RECT caption = {};
        const CRect icon = PM::stat_PlaceIcon(c.horizontal, c.emptyText, CSize(16, 16), c.item, c.alignment, c.after,
                                              caption);
        WCHECK_EQ(Str(icon), Str(c.icon));
        WCHECK_EQ(Str(CRect(caption)), Str(c.caption));
    }
}

WTEST(icon_painted_in_its_state_in_both_looks) {
    InjectedSystem sys(32);
    PM classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    VEzaCmdIcon icon;
    SolidIcon(icon, 16, kIcon);
    const CRect item(0, 0, 100, 24);
    struct Case {
        PM* pm;
        bool pushed, enabled, hover;
        CRect iconAt;     // where the icon's own colour shows
        CRect shadowAt;   // where the XP shadow shows, empty for none
    };
    const Case cases[] = {
        {&classic, false, true, false, CRect(3, 0, 19, 16), CRect()},
        {&classic, true, true, false, CRect(4, 1, 20, 17), CRect()},
        {&classic, false, true, true, CRect(3, 0, 19, 16), CRect()},
        // XP: one pixel down and towards the text; raised over its shadow
        // when hovered, not moved when pushed.
        {&xp, false, true, false, CRect(4, 1, 20, 17), CRect()},
        {&xp, true, true, false, CRect(4, 1, 20, 17), CRect()},
        {&xp, true, true, true, CRect(4, 1, 20, 17), CRect()},
        {&xp, false, true, true, CRect(2, -1, 18, 15), CRect(4, 1, 20, 17)},
    };
    for (const Case& c : cases) {
        Dib dib(100, 24, kBack);
        DibCDC dc(dib);
        RECT caption = {};
        c.pm->PaintIcon(dc, true, "Text", &icon, item, caption, c.pushed, c.enabled, c.hover, 0, false);
        CRect expected(c.iconAt);
        expected.IntersectRect(&expected, &item);
        WCHECK_EQ(Str(Bounds(dib, kIcon)), Str(expected));
        WCHECK_EQ(Str(CRect(caption)), Str(CRect(19, 0, 100, 24)));
        const COLORREF shadow = c.pm->GetColor(COLOR_BTNSHADOW);
        if (c.shadowAt.IsRectEmpty()) {
            WCHECK_EQ(dib.CountOther(item, kBack), expected.Width() * expected.Height());
        } else {
            // The shadow shows as an L where the raised icon does not cover it.
            WCHECK_EQ(Hex(dib.At(c.shadowAt.right - 1, c.shadowAt.bottom - 1)), Hex(shadow));
            WCHECK_EQ(Hex(dib.At(c.shadowAt.left, c.shadowAt.bottom - 1)), Hex(shadow));
            WCHECK_EQ(Hex(dib.At(c.shadowAt.right - 1, c.shadowAt.top)), Hex(shadow));
        }
    }
}

WTEST(icon_disabled_empty_or_larger_than_its_item) {
    InjectedSystem sys(32);
    PM classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    VEzaCmdIcon icon, empty;
    SolidIcon(icon, 16, kIcon);
    for (PM* pm : {static_cast<PM*>(&classic), static_cast<PM*>(&xp)}) {
        // Disabled: drawn, but not in the icon's colour.
        {
            Dib dib(40, 20, kBack);
            DibCDC dc(dib);
            RECT caption = {};
            pm->PaintIcon(dc, true, "", &icon, CRect(0, 0, 40, 20), caption, false, false, false, 0, false);
            WCHECK_EQ(Str(Bounds(dib, kIcon)), Str(CRect()));
            WCHECK(dib.CountOther(CRect(12, 0, 28, 16), kBack) > 0);
        }
        // No icon: the caption is the item, nothing is drawn.
        for (VEzaCmdIcon* none : {&empty, static_cast<VEzaCmdIcon*>(nullptr)}) {
            Dib dib(40, 20, kBack);
            DibCDC dc(dib);
            RECT caption = {};
            pm->PaintIcon(dc, true, "Text", none, CRect(2, 3, 30, 15), caption, true, true, true, 0, false);
            WCHECK_EQ(Str(CRect(caption)), Str(CRect(2, 3, 30, 15)));
            WCHECK_EQ(dib.CountOther(CRect(0, 0, 40, 20), kBack), 0);
        }
        // An item smaller than the icon keeps the icon inside it.
        {
            Dib dib(40, 30, kBack);
            DibCDC dc(dib);
            RECT caption = {};
            const CRect small(10, 10, 20, 18);
            pm->PaintIcon(dc, true, "", &icon, small, caption, false, true, true, 9, false);
            WCHECK_EQ(Str(Bounds(dib, kIcon)), Str(small));
            WCHECK_EQ(dib.CountOther(CRect(0, 0, 40, 30), kBack), dib.CountOther(small, kBack));
        }
    }
}

WTEST(classic_caption_button_frames_and_glyph_by_state) {
    InjectedSystem sys(32);
    PM pm;
    DistinctColours(pm);
    const COLORREF face = InjectedSystem::kFace, shadow = InjectedSystem::kShadow, light = InjectedSystem::kLight,
                   dark = InjectedSystem::kDark, black = RGB(0, 0, 0);
    // A 9 by 10 button at (10, 10): 8 wide after the odd correction, then
    // one larger on each side and once more at the left and top.
    const CRect outer(9, 8, 20, 21);
    struct Case {
        bool hover, pushed, enabled;
        COLORREF topLeft, bottomRight, inner, glyph;
        int glyphShift;
    };
    const Case cases[] = {
        {false, false, true, light, shadow, face, black, 0},
        {true, false, true, face, dark, light, black, 0},
        {false, true, true, shadow, light, face, black, 1},
        {true, false, false, light, shadow, face, shadow, 0},
    };
    for (const Case& c : cases) {
        Dib dib(30, 30, kBack);
        DibCDC dc(dib);
        PM::PAINTDOCKINGCAPTIONBUTTONDATA data(nullptr, CRect(10, 10, 19, 20), PM::GlyphClose, c.hover, c.pushed,
                                               c.enabled, false, false, false);
        pm.PaintDockingCaptionButton(dc, data);
        WCHECK_EQ(Hex(dib.At(outer.left, outer.top)), Hex(c.topLeft));
        WCHECK_EQ(Hex(dib.At(outer.right - 1, outer.bottom - 1)), Hex(c.bottomRight));
        WCHECK_EQ(Hex(dib.At(outer.left + 1, outer.top + 1)), Hex(c.inner));
        WCHECK_EQ(
            dib.CountOther(CRect(0, 0, 30, outer.top), kBack) + dib.CountOther(CRect(0, 0, outer.left, 30), kBack), 0);
        // The classic close glyph: 7 by 7, centred, one further when pushed.
        const PM::glyph_t& glyph = PM::stat_GetBuiltinGlyph(PM::GlyphCloseClassic);
        const int gx = outer.left + (outer.Width() - 7) / 2 + c.glyphShift,
                  gy = outer.top + (outer.Height() - 7) / 2 + c.glyphShift;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 7; ++x)
                if (glyph.GetColorPixel(x, y) == 1) WCHECK_EQ(Hex(dib.At(gx + x, gy + y)), Hex(c.glyph));
    }
}

WTEST(xp_caption_button_fill_frame_and_glyph_by_state) {
    InjectedSystem sys(32);
    VEzaPaintManagerXP pm;
    DistinctColours(pm);
    const CRect rect(10, 10, 24, 24);
    struct Case {
        bool hover, pushed, enabled, active, floating;
        int glyph;
        COLORREF fill, frame, ink;
    };
    const COLORREF none = kBack;
    const Case cases[] = {
        {false, false, true, false, false, PM::GlyphClose, none, none, pm.GetColor(COLOR_HIGHLIGHTTEXT)},
        {false, false, true, true, false, PM::GlyphCloseXP, none, none, pm.GetColor(COLOR_3DDKSHADOW)},
        {true, false, true, false, false, PM::GlyphClose, pm.GetColor(1001), pm.GetColor(2004), RGB(0, 0, 0)},
        {false, true, true, false, true, PM::GlyphClose, pm.GetColor(2003), pm.GetColor(2003), RGB(0, 0, 0)},
        {true, false, false, false, false, PM::GlyphClose, none, none, pm.GetColor(COLOR_BTNSHADOW)},
    };
    for (const Case& c : cases) {
        Dib dib(40, 40, kBack);
        DibCDC dc(dib);
        PM::PAINTDOCKINGCAPTIONBUTTONDATA data(nullptr, rect, PM::GlyphClose, c.hover, c.pushed, c.enabled, c.active,
                                               c.floating, false);
        pm.PaintDockingCaptionButton(dc, data);
        WCHECK_EQ(Hex(dib.At(rect.left, rect.top)), Hex(c.fill));
        WCHECK_EQ(Hex(dib.At(rect.left - 1, rect.top - 1)), Hex(c.frame));
        WCHECK_EQ(Hex(dib.At(rect.right, rect.bottom)), Hex(c.frame));
        const PM::glyph_t& glyph = PM::stat_GetBuiltinGlyph(c.glyph);
        const int gx = rect.left + (rect.Width() - int(glyph.GetWidth())) / 2,
                  gy = rect.top + (rect.Height() - int(glyph.GetHeight())) / 2;
        for (int y = 0; y < int(glyph.GetHeight()); ++y)
            for (int x = 0; x < int(glyph.GetWidth()); ++x)
                WCHECK_EQ(Hex(dib.At(gx + x, gy + y)), Hex(glyph.GetColorPixel(x, y) == 1 ? c.ink : c.fill));
    }
}

WTEST(system_command_glyphs_by_command_and_state) {
    InjectedSystem sys(32);
    PM classic;
    VEzaPaintManagerXP xp;
    DistinctColours(classic);
    DistinctColours(xp);
    const CRect rect(10, 10, 30, 30);
    struct Case {
        PM* pm;
        UINT command;
        bool hover, pushed, enabled;
        int glyph;
        // Each drawing: offset from the centred place and colour.
        std::vector<std::pair<CPoint, COLORREF>> draws;
    };
    const Case cases[] = {
        {&classic, SC_CLOSE, false, false, true, PM::GlyphClose, {{CPoint(0, 0), classic.GetColor(1010)}}},
        {&classic, SC_MAXIMIZE, true, true, true, PM::GlyphMaximize, {{CPoint(1, 1), classic.GetColor(14)}}},
        {&classic, SC_MINIMIZE, false, false, false, PM::GlyphMinimize,
         {{CPoint(1, 1), classic.GetColor(1004)}, {CPoint(0, 0), classic.GetColor(1006)}}},
        {&classic, SC_MOVE, false, false, true, 0, {}},
        {&xp, SC_RESTORE, true, false, true, PM::GlyphRestore,
         {{CPoint(0, 0), xp.GetColor(COLOR_BTNSHADOW)}, {CPoint(-2, -2), xp.GetColor(1010)}}},
        {&xp, SC_CONTEXTHELP, true, true, true, PM::GlyphContextHelp, {{CPoint(0, 0), xp.GetColor(1010)}}},
        {&xp, SC_CLOSE, true, false, false, PM::GlyphClose, {{CPoint(0, 0), xp.GetColor(COLOR_BTNSHADOW)}}},
        {&xp, SC_SIZE, true, false, true, 0, {}},
    };
    for (const Case& c : cases) {
        Dib dib(40, 40, kBack), expected(40, 40, kBack);
        DibCDC dc(dib), want(expected);
        c.pm->PaintSysCmdGlyph(dc, c.command, rect, c.hover, c.pushed, c.enabled);
        if (c.glyph != 0) {
            const PM::glyph_t& glyph = PM::stat_GetBuiltinGlyph(c.glyph);
            const CPoint at(rect.left + (rect.Width() - int(glyph.GetWidth())) / 2,
                            rect.top + (rect.Height() - int(glyph.GetHeight())) / 2);
            for (const auto& [offset, colour] : c.draws)
                for (int y = 0; y < int(glyph.GetHeight()); ++y)
                    for (int x = 0; x < int(glyph.GetWidth()); ++x)
                        if (glyph.GetColorPixel(x, y) == 1)
                            want.SetPixel(at.x + offset.x + x, at.y + offset.y + y, colour);
            WCHECK(!c.draws.empty() && dib.CountOther(CRect(0, 0, 40, 40), kBack) > 0);
        }
        WCHECK(dib.Pixels() == expected.Pixels());
    }
}
