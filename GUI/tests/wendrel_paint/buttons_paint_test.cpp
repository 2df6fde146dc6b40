// Push buttons off-screen in both looks: fills and frames per state, the
// drop-down part and its arrow on every side, icon and system-command glyph
// placement, caption placement, mnemonic and colours by bounding rectangle,
// the focus rectangle.
#include <climits>

#include "icons/cmd_icon.h"
#include "paint_test_util.h"

using namespace pt;

namespace {

using PM = VEzaPaintManager;
using Data = PM::PAINTPUSHBUTTONDATA;
const COLORREF kBack = RGB(1, 2, 3), kIcon = RGB(200, 30, 40), kKey = RGB(255, 0, 255), kInk = RGB(9, 99, 199);
const COLORREF kNone = COLORREF(-1);

// A button of the given look and flags, no text unless given.
Data Button(const CRect& rect, bool flat, bool hover, bool pushed, bool enabled, LPCSTR text = "",
            bool horizontal = true) {
    return Data(nullptr, horizontal, rect, text, nullptr, flat, hover, pushed, false, enabled, true, false, false, 9);
}

struct Looks {
    InjectedSystem sys{32};
    PM classic;
    VEzaPaintManagerXP xp;
    Looks() {
        DistinctColours(classic);
        DistinctColours(xp);
    }
};

}  // namespace

WTEST(push_button_fill_and_frame_by_state_in_both_looks) {
    Looks looks;
    PM& c = looks.classic;
    PM& x = looks.xp;
    const CRect rect(0, 0, 40, 20);
    struct Case {
        PM* pm;
        bool flat, hover, pushed, enabled, drawBorder;
        COLORREF outerTL, outerBR, innerTL, fill;
    };
    const Case cases[] = {
        // Classic: raised, hovered (two frames), sunken; flat without frame
        // until hovered; disabled never hovered.
        {&c, false, false, false, true, true, c.GetColor(1004), c.GetColor(1006), c.GetColor(1000), c.GetColor(1000)},
        {&c, false, true, false, true, true, c.GetColor(1006), c.GetColor(1008), c.GetColor(1004), c.GetColor(1001)},
        {&c, false, false, true, true, true, c.GetColor(1007), c.GetColor(1005), c.GetColor(1001), c.GetColor(1001)},
        {&c, true, false, false, true, true, c.GetColor(1000), c.GetColor(1000), c.GetColor(1000), c.GetColor(1000)},
        {&c, true, true, false, true, true, c.GetColor(1004), c.GetColor(1006), c.GetColor(1001), c.GetColor(1001)},
        {&c, true, true, false, true, false, c.GetColor(1001), c.GetColor(1001), c.GetColor(1001), c.GetColor(1001)},
        {&c, true, false, true, true, false, c.GetColor(1001), c.GetColor(1001), c.GetColor(1001), c.GetColor(1001)},
        {&c, false, true, false, false, true, c.GetColor(1004), c.GetColor(1006), c.GetColor(1000), c.GetColor(1000)},
        // XP: one-colour frames, selection fills.
        {&x, false, false, false, true, true, x.GetColor(16), x.GetColor(16), x.GetColor(15), x.GetColor(15)},
        {&x, false, true, false, true, true, x.GetColor(2004), x.GetColor(2004), x.GetColor(1001), x.GetColor(1001)},
        {&x, false, true, true, true, true, x.GetColor(2004), x.GetColor(2004), x.GetColor(2003), x.GetColor(2003)},
        {&x, false, false, true, true, true, x.GetColor(2004), x.GetColor(2004), x.GetColor(1001), x.GetColor(1001)},
        {&x, true, false, false, true, true, x.GetColor(1000), x.GetColor(1000), x.GetColor(1000), x.GetColor(1000)},
        {&x, true, true, false, true, true, x.GetColor(2004), x.GetColor(2004), x.GetColor(1001), x.GetColor(1001)},
        {&x, false, true, false, false, true, x.GetColor(16), x.GetColor(16), x.GetColor(15), x.GetColor(15)},
    };
    for (const Case& k : cases) {
        Dib dib(40, 20, kBack);
        DibCDC dc(dib);
        Data d = Button(rect, k.flat, k.hover, k.pushed, k.enabled);
        d.m_bDrawBorder = k.drawBorder;
        k.pm->PaintPushButton(dc, d);
        WCHECK_EQ(Hex(dib.At(0, 0)), Hex(k.outerTL));
        WCHECK_EQ(Hex(dib.At(39, 19)), Hex(k.outerBR));
        WCHECK_EQ(Hex(dib.At(1, 1)), Hex(k.innerTL));
        WCHECK_EQ(Hex(dib.At(20, 10)), Hex(k.fill));
    }
}

WTEST(push_button_background_given_or_left_to_the_parent) {
    Looks looks;
    for (PM* pm : {&looks.classic, static_cast<PM*>(&looks.xp)}) {
        // Transparent: the parent's background stays; a given colour is
        // painted even then.
        for (COLORREF given : {kNone, kInk}) {
            Dib dib(40, 20, kBack);
            DibCDC dc(dib);
            Data d = Button(CRect(0, 0, 40, 20), true, false, false, true);
            d.m_bTransparentBackground = true;
            d.m_clrBackground = given;
            pm->PaintPushButton(dc, d);
            WCHECK_EQ(Hex(dib.At(20, 10)), Hex(given == kNone ? kBack : kInk));
        }
        // A null caption is an empty one: the face alone.
        {
            Dib dib(40, 20, kBack);
            DibCDC dc(dib);
            Data d(nullptr, true, CRect(0, 0, 40, 20), nullptr, nullptr, false, false, false, false, true, true, false,
                   false, 9);
            WCHECK(d.m_sText != nullptr && *d.m_sText == '\0');
            pm->PaintPushButton(dc, d);
            WCHECK_EQ(dib.CountOther(CRect(1, 1, 39, 19), dib.At(20, 10)), 0);
        }
        // An empty rectangle draws nothing.
        Dib dib(40, 20, kBack);
        DibCDC dc(dib);
        Data d = Button(CRect(10, 10, 10, 30), false, true, true, true, "Text");
        pm->PaintPushButton(dc, d);
        WCHECK_EQ(dib.CountOther(CRect(0, 0, 40, 20), kBack), 0);
    }
}

WTEST(push_button_drop_down_part_and_arrow_on_each_side) {
    Looks looks;
    PM& c = looks.classic;
    PM& x = looks.xp;
    struct Case {
        PM* pm;
        bool horizontal, rtl;
        CRect button;
        CPoint partEdge;  // the drop-down part's inner frame column or row
        CRect arrow;      // bounds of the arrow's colour
    };
    const Case cases[] = {
        {&c, true, false, CRect(0, 0, 60, 24), CPoint(49, 5), CRect(52, 10, 57, 13)},
        {&c, true, true, CRect(0, 0, 60, 24), CPoint(10, 5), CRect(3, 10, 8, 13)},
        {&c, false, false, CRect(0, 0, 24, 60), CPoint(5, 49), CRect(10, 52, 13, 57)},
        {&x, true, false, CRect(0, 0, 60, 24), CPoint(48, 5), CRect(51, 10, 56, 13)},
        {&x, true, true, CRect(0, 0, 60, 24), CPoint(11, 5), CRect(4, 10, 9, 13)},
        {&x, false, false, CRect(0, 0, 24, 60), CPoint(5, 48), CRect(10, 51, 13, 56)},
    };
    for (const Case& k : cases) {
        Dib dib(k.button.Width(), k.button.Height(), kBack);
        DibCDC dc(dib);
        Data d(nullptr, k.horizontal, k.button, "", nullptr, false, true, false, false, true, true, false, false, 9,
               nullptr, true);
        d.m_bSeparatedDropDown = true;
        d.m_bForceRtl = k.rtl;
        k.pm->PaintPushButton(dc, d);
        const bool xp = k.pm == &x;
        const COLORREF arrow = k.pm->GetColor(xp ? COLOR_BTNTEXT : 1010);
        WCHECK_EQ(Str(Bounds(dib, arrow)), Str(k.arrow));
        // The part is framed on its own: raised (classic) or in the frame colour.
        const COLORREF edge = xp ? x.GetColor(2004) : (k.rtl ? c.GetColor(1006) : c.GetColor(1004));
        WCHECK_EQ(Hex(dib.At(k.partEdge.x, k.partEdge.y)), Hex(edge));
    }
    // Not separated: one piece, no frame between content and part.
    Dib dib(60, 24, kBack);
    DibCDC dc(dib);
    Data d(nullptr, true, CRect(0, 0, 60, 24), "", nullptr, false, false, false, false, true, true, false, false, 9,
           nullptr, true);
    c.PaintPushButton(dc, d);
    WCHECK_EQ(dib.CountOther(CRect(1, 1, 59, 23), c.GetColor(1000)), 9);  // the 5 by 3 arrow only
}

WTEST(push_button_classic_drop_down_pressed_alone_keeps_its_face) {
    Looks looks;
    struct Case {
        PM* pm;
        COLORREF content, part;
    };
    const Case cases[] = {
        {&looks.classic, looks.classic.GetColor(1000), looks.classic.GetColor(1000)},
        {&looks.xp, looks.xp.GetColor(1001), looks.xp.GetColor(1001)},
    };
    for (const Case& k : cases) {
        Dib dib(60, 24, kBack);
        DibCDC dc(dib);
        Data d(nullptr, true, CRect(0, 0, 60, 24), "", nullptr, false, false, false, false, true, true, false, false,
               9, nullptr, true);
        d.m_bSeparatedDropDown = true;
        d.m_bDropDownPushed = true;
        k.pm->PaintPushButton(dc, d);
        WCHECK_EQ(Hex(dib.At(20, 12)), Hex(k.content));
        WCHECK_EQ(Hex(dib.At(52, 4)), Hex(k.part));
    }
}

WTEST(push_button_icon_or_system_glyph_in_the_content) {
    Looks looks;
    VEzaCmdIcon icon;
    std::vector<unsigned> px(16 * 16, (GetRValue(kIcon) << 16) | (GetGValue(kIcon) << 8) | GetBValue(kIcon));
    icon.AssignFromHBITMAP(::CreateBitmap(16, 16, 1, 32, px.data()), kKey, nullptr, false);
    struct Case {
        PM* pm;
        bool pushed;
        CRect iconAt;
    };
    const Case cases[] = {
        {&looks.classic, false, CRect(3, 4, 19, 20)},
        {&looks.classic, true, CRect(4, 5, 20, 21)},
        {&looks.xp, false, CRect(4, 5, 20, 21)},
        {&looks.xp, true, CRect(4, 5, 20, 21)},
    };
    for (const Case& k : cases) {
        Dib dib(80, 24, kBack);
        DibCDC dc(dib);
        Data d(nullptr, true, CRect(0, 0, 80, 24), "Go", &icon, false, false, k.pushed, false, true, true, false,
               false, 9);
        k.pm->PaintPushButton(dc, d);
        WCHECK_EQ(Str(Bounds(dib, kIcon)), Str(k.iconAt));
    }
    // Without an icon: the system-command glyph centred in the content.
    for (PM* pm : {&looks.classic, static_cast<PM*>(&looks.xp)}) {
        Dib dib(40, 24, kBack);
        DibCDC dc(dib);
        Data d(nullptr, true, CRect(0, 0, 40, 24), "", nullptr, true, false, false, false, true, true, false, false,
               9, nullptr, false, SC_CLOSE);
        pm->PaintPushButton(dc, d);
        const CRect at(16, 8, 24, 15);  // the 8 by 7 close glyph
        WCHECK_EQ(Str(Bounds(dib, pm->GetColor(1010))), Str(at));
    }
}

WTEST(push_button_caption_placement_mnemonic_and_colour) {
    Looks looks;
    PM& c = looks.classic;
    PM& x = looks.xp;
    const CRect rect(0, 0, 120, 30);
    auto paint = [&](PM& pm, Data d, Dib& dib) {
        DibCDC dc(dib);
        dc.SetTextColor(kInk);
        pm.PaintPushButton(dc, d);
    };
    struct Case {
        PM* pm;
        const char* text;
        int alignment;
        bool hover, pushed, enabled;
        COLORREF ink;
    };
    const Case cases[] = {
        {&c, "Go", 9, false, false, true, c.GetColor(COLOR_BTNTEXT)},
        {&c, "Go", 0, true, false, true, c.GetColor(COLOR_BTNTEXT)},
        {&c, "Go", 2, false, true, true, c.GetColor(COLOR_BTNTEXT)},
        {&x, "Go", 9, true, true, true, x.GetColor(2006)},
        {&x, "Go", 8, false, false, false, x.GetColor(COLOR_BTNSHADOW)},
    };
    for (const Case& k : cases) {
        Dib dib(120, 30, kBack);
        paint(*k.pm, Data(nullptr, true, rect, k.text, nullptr, true, k.hover, k.pushed, false, k.enabled, false,
                          false, false, k.alignment),
              dib);
        const CRect ink = Bounds(dib, k.ink);
        WCHECK(!ink.IsRectEmpty());
        const int shift = k.pushed ? k.pm->GetPushedOffset().cx : 0;
        const int narrow = k.pm == &x ? 3 : 2;
        if ((k.alignment & 1) != 0) {
            WCHECK(std::abs((ink.left + ink.right) / 2 - 60 - shift) <= 2);
        } else {
            // Left and right alignment both start at the text rectangle's left.
            WCHECK(ink.left >= narrow + shift && ink.left <= narrow + shift + 2);
        }
        if ((k.alignment & 8) != 0)
            WCHECK(std::abs((ink.top + ink.bottom) / 2 - 15) <= 3);
        else
            WCHECK(ink.top < 8);
    }
    // The mnemonic: "&Go" is as wide as "Go" and underlined below it.
    Dib plain(120, 30, kBack), marked(120, 30, kBack);
    paint(c, Button(rect, true, false, false, true, "Go"), plain);
    paint(c, Button(rect, true, false, false, true, "&Go"), marked);
    const CRect a = Bounds(plain, c.GetColor(COLOR_BTNTEXT)), b = Bounds(marked, c.GetColor(COLOR_BTNTEXT));
    WCHECK_EQ(a.left, b.left);
    WCHECK(b.bottom > a.bottom);
    // Classic disabled: embossed in highlight and shadow, or once in the
    // current colour with PlainCaption.
    Dib embossed(120, 30, kBack), flatText(120, 30, kBack);
    paint(c, Button(rect, true, false, false, false, "Go"), embossed);
    Data plainCaption = Button(rect, true, false, false, false, "Go");
    plainCaption.m_bPlainCaption = true;
    paint(c, plainCaption, flatText);
    const CRect light = Bounds(embossed, c.GetColor(COLOR_BTNHIGHLIGHT)),
                dark = Bounds(embossed, c.GetColor(COLOR_BTNSHADOW));
    WCHECK(!dark.IsRectEmpty());
    WCHECK_EQ(light.right, dark.right + 1);
    WCHECK_EQ(light.bottom, dark.bottom + 1);
    WCHECK_EQ(Str(Bounds(flatText, kInk)), Str(dark));
    WCHECK(Bounds(flatText, c.GetColor(COLOR_BTNHIGHLIGHT)).IsRectEmpty());
}

WTEST(push_button_vertical_caption_and_focus_rectangle) {
    Looks looks;
    PM& c = looks.classic;
    // A vertical caption runs down the button: taller than wide.
    Dib dib(30, 120, kBack);
    {
        DibCDC dc(dib);
        Data d = Button(CRect(0, 0, 30, 120), true, false, false, true, "&Vertical", false);
        c.PaintPushButton(dc, d);
    }
    const CRect ink = Bounds(dib, c.GetColor(COLOR_BTNTEXT));
    WCHECK(ink.Height() > 2 * ink.Width());
    WCHECK(ink.left >= 0 && ink.right <= 30);

    // Focus: a dotted frame 3 inside the text rectangle; a disabled button
    // shows none.
    for (bool enabled : {true, false}) {
        Dib with(60, 24, kBack), without(60, 24, kBack);
        for (Dib* target : {&with, &without}) {
            DibCDC dc(*target);
            Data d = Button(CRect(0, 0, 60, 24), true, false, false, enabled);
            d.m_bDrawFocusRect = target == &with;
            c.PaintPushButton(dc, d);
        }
        int differ = 0;
        for (int y = 0; y < 24; ++y)
            for (int xx = 0; xx < 60; ++xx)
                if (with.At(xx, y) != without.At(xx, y)) {
                    ++differ;
                    // Only on the frame: text rectangle (2,0,58,24) inset by 3.
                    WCHECK(xx == 5 || xx == 54 || y == 3 || y == 20);
                }
        WCHECK_EQ(differ > 0, enabled);
    }
}

WTEST(push_buttons_smaller_than_their_parts_paint_nothing_outside) {
    Looks looks;
    VEzaCmdIcon icon;
    std::vector<unsigned> px(16 * 16, 0x102030);
    icon.AssignFromHBITMAP(::CreateBitmap(16, 16, 1, 32, px.data()), kKey, nullptr, false);
    // Rectangles too small for the border, the drop-down arrow, the icon or
    // the text; every state that adds something to draw.
    const CRect rects[] = {CRect(10, 10, 11, 11), CRect(10, 10, 13, 12), CRect(10, 10, 14, 14), CRect(10, 10, 17, 15)};
    for (PM* pm : {&looks.classic, static_cast<PM*>(&looks.xp)})
        for (const CRect& rect : rects)
            for (int bits = 0; bits < 32; ++bits) {
                const bool horizontal = (bits & 1) != 0, pushed = (bits & 2) != 0, hover = (bits & 4) != 0,
                           dropDown = (bits & 8) != 0, withIcon = (bits & 16) != 0;
                Dib dib(30, 30, kBack);
                DibCDC dc(dib);
                Data d(nullptr, horizontal, rect, "&Text", withIcon ? &icon : nullptr, false, hover, pushed, false,
                       true, true, true, true, 9, nullptr, dropDown, withIcon ? 0 : SC_CLOSE);
                d.m_bSeparatedDropDown = dropDown;
                pm->PaintPushButton(dc, d);
                const std::string what = std::string(pm->GetRuntimeClass()->m_lpszClassName) + " " + Str(rect) +
                                         " " + std::to_string(bits) + " ";
                WCHECK_EQ(what + std::to_string(dib.CountOther(CRect(0, 0, 30, 30), kBack)),
                          what + std::to_string(dib.CountOther(rect, kBack)));
            }
}
