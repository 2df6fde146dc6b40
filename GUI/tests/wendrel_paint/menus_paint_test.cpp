// Menu items and the menu and bar ornaments of both looks painted into
// DIBs: fills, frames and marks exact, text checked by where its ink lies
// and in which colour.
#include "icons/cmd_icon.h"
#include "paint_test_util.h"
#include "toolkit/menu_types.h"

using namespace pt;

namespace {

const COLORREF kBack = RGB(90, 91, 92);
// Copies of the chosen system colours (those are not defined out of class).
const COLORREF kFace = InjectedSystem::kFace, kLight = InjectedSystem::kLight, kShadow = InjectedSystem::kShadow,
               kHighlight = InjectedSystem::kHighlight, kHighlightText = InjectedSystem::kHighlightText,
               kWindowText = InjectedSystem::kWindowText, kWindow = InjectedSystem::kWindow,
               kText = InjectedSystem::kText;
// The XP look's mixed colours for the chosen system colours.
const COLORREF kXpFace = RGB(219, 216, 209), kXpSelection = RGB(182, 189, 210), kXpMenu = RGB(249, 248, 247),
               kXpCheckSelected = RGB(133, 146, 181), kXpRarely = RGB(204, 200, 193), kXpLine = RGB(166, 166, 166);

struct Looks {
    explicit Looks(int bpp = 32) : system(bpp) {
        classic.OnSysColorChange();
        xp.OnSysColorChange();
    }
    VEzaPaintManager& Get(bool isXp) { return isXp ? static_cast<VEzaPaintManager&>(xp) : classic; }
    InjectedSystem system;
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
};

using Item = VEzaPaintManager::PAINTMENUITEMDATA;

// A popup menu laid out right to left.
class RtlMenu : public VEzaPopupMenuWnd {
public:
    bool OnQueryLayoutRTL() const override { return true; }
};

// An item over the whole row 0,0..200,20 with a gutter of 24.
Item MakeItem(BYTE state, BYTE state2 = 0, LPCSTR text = "", LPCSTR accel = "", CObject* source = nullptr,
              VEzaCmdIcon* icon = nullptr) {
    const CRect r(0, 0, 200, 20);
    Item item(source, r, r, 24, text, accel, icon, (state & Item::Popup) != 0, (state & Item::Selected) != 0,
              (state & Item::Checked) != 0, (state & Item::Radio) != 0, false, (state & Item::Enabled) != 0,
              (state & Item::RarelyUsed) != 0, (state & Item::RarelyUsedPrev) != 0,
              (state2 & Item::RarelyUsedNext) != 0, 0, nullptr);
    item.m_nState2 = BYTE(item.m_nState2 | state2);
    return item;
}

COLORREF HelperColour(VEzaPaintManager& pm, int index) {
    LOGBRUSH lb = {};
    pm.m_brushHelper[index].GetLogBrush(&lb);
    return lb.lbColor;
}

const BYTE E = Item::Enabled, S = Item::Selected;

}  // namespace

WTEST(menu_item_record_defaults) {
    const CRect r(0, 0, 10, 10);
    Item item(nullptr, r, r, 20, nullptr, nullptr, nullptr, true, false, true, false, true, true, false, true, true,
              61536, nullptr);
    WCHECK_EQ(std::string(item.m_sText), std::string(""));
    WCHECK_EQ(std::string(item.m_sAccelText), std::string(""));
    WCHECK_EQ(int(item.m_nState), int(Item::Popup | Item::Checked | Item::Reserved | Item::Enabled | Item::RarelyUsedPrev));
    WCHECK_EQ(int(item.m_nState2), int(Item::RarelyUsedNext));
    WCHECK(item.m_rcInPlaceWnd.IsRectEmpty());
    WCHECK(item.m_sInPlaceText.IsEmpty());
    WCHECK_EQ(item.m_clrIcon, COLORREF(-1));
    WCHECK_EQ(item.m_lParam, LPARAM(0));
    RtlMenu rtl;
    VEzaPopupMenuWnd ltr;
    WCHECK(MakeItem(E, 0, "", "", &rtl).IsRTL());
    WCHECK(!MakeItem(E, 0, "", "", &ltr).IsRTL());
    WCHECK(!MakeItem(E).IsRTL());
}

WTEST(menu_item_fills_by_state) {
    Looks looks;
    const COLORREF halftone = HelperColour(looks.classic, 0);
    const struct {
        const char* name;
        bool xp;
        BYTE state, state2;
        // Colours at: the item's first column, inside the gutter, just
        // after the gutter, the text area, its top row and its bottom row.
        COLORREF edge, gutter, afterGutter, text, top, bottom;
    } cases[] = {
        {"plain", false, E, 0, kFace, kFace, kFace, kFace, kFace, kFace},
        {"selected", false, BYTE(E | S), 0, kFace, kHighlight, kHighlight, kHighlight, kHighlight, kHighlight},
        {"selected, checked", false, BYTE(E | S | Item::Checked), 0, kFace, kFace, kHighlight, kHighlight, kHighlight,
         kHighlight},
        {"rarely used", false, BYTE(E | Item::RarelyUsed), 0, halftone, halftone, halftone, halftone, kShadow, kLight},
        {"rarely used inside a run", false, BYTE(E | Item::RarelyUsed | Item::RarelyUsedPrev), Item::RarelyUsedNext,
         halftone, halftone, halftone, halftone, halftone, halftone},
        {"rarely used, selected", false, BYTE(E | S | Item::RarelyUsed), 0, halftone, kHighlight, kHighlight,
         kHighlight, kHighlight, kHighlight},
        {"xp plain", true, E, 0, kXpFace, kXpFace, kXpMenu, kXpMenu, kXpMenu, kXpMenu},
        {"xp selected", true, BYTE(E | S), 0, kHighlight, kXpSelection, kXpSelection, kXpSelection, kHighlight,
         kHighlight},
        {"xp rarely used", true, BYTE(E | Item::RarelyUsed), 0, kXpRarely, kXpRarely, kXpMenu, kXpMenu, kXpMenu,
         kXpMenu},
        {"xp without gutter", true, E, Item::NoGutter, kXpMenu, kXpMenu, kXpMenu, kXpMenu, kXpMenu, kXpMenu},
    };
    for (const auto& c : cases) {
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        Item item = MakeItem(c.state, c.state2);
        looks.Get(c.xp).PaintMenuItem(dc, item);
        const std::string got = Hex(dib.At(0, 10)) + " " + Hex(dib.At(1, 10)) + " " + Hex(dib.At(25, 10)) + " " +
                                Hex(dib.At(150, 10)) + " " + Hex(dib.At(150, 0)) + " " + Hex(dib.At(150, 19));
        const std::string want = Hex(c.edge) + " " + Hex(c.gutter) + " " + Hex(c.afterGutter) + " " + Hex(c.text) +
                                 " " + Hex(c.top) + " " + Hex(c.bottom);
        if (got != want) wtest::fail(__FILE__, __LINE__, std::string(c.name) + ": " + got + ", want " + want);
    }
    // An empty selection draws nothing at all.
    for (bool xp : {false, true}) {
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        Item item = MakeItem(BYTE(E | S | Item::Checked | Item::Popup), 0, "Text", "Ctrl+T");
        item.m_rcSelection.SetRect(0, 0, 0, 20);
        looks.Get(xp).PaintMenuItem(dc, item);
        WCHECK_EQ(dib.CountOther({0, 0, 200, 20}, kBack), 0);
    }
}

WTEST(menu_item_text_placement_and_colour) {
    Looks looks;
    RtlMenu rtl;
    const struct {
        const char* name;
        bool xp, rtl;
        BYTE state, state2;
        COLORREF background, ink;
        // Where the caption's ink may start (left to right) or end (right
        // to left), and the accelerator's far edge.
        int captionEdge, accelEdge;
    } cases[] = {
        // Classic: gutter 24, one pixel, then 6 inset; the accelerator ends
        // 16 before the text area's right (200 - 6 - 16).
        {"classic", false, false, E, 0, kFace, kWindowText, 31, 178},
        {"classic selected", false, false, BYTE(E | S), 0, kHighlight, kHighlightText, 31, 178},
        // XP: gutter 24, 3 inset and 5 more; the accelerator 5 further in.
        {"xp", true, false, E, 0, kXpMenu, kWindowText, 32, 173},
        {"xp disabled", true, false, 0, 0, kXpMenu, kShadow, 32, 173},
        {"xp without gutter", true, false, E, Item::NoGutter, kXpMenu, kWindowText, 8, 173},
        {"classic right to left", false, true, E, 0, kFace, kWindowText, 200 - 24 - 6, 6 + 16},
        // XP right to left: the accelerator's box starts 5 further out and
        // is right-aligned in a box 16 wider than the text.
        {"xp right to left", true, true, E, 0, kXpMenu, kWindowText, 200 - 24 - 3 - 5, 3 + 5 + 16},
    };
    for (const auto& c : cases) {
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        Item item = MakeItem(c.state, c.state2, "Hello", "Ctrl+H", c.rtl ? &rtl : nullptr);
        looks.Get(c.xp).PaintMenuItem(dc, item);
        const std::string name = c.name;
        // The caption is on the leading half, the accelerator on the
        // trailing; the gutter (with its own fills) is left out.
        const int gutter = (c.state2 & Item::NoGutter) != 0 ? 0 : 24;
        const CRect lead = c.rtl ? CRect(100, 2, 199 - gutter, 18) : CRect(1 + gutter, 2, 100, 18);
        const CRect trail = c.rtl ? CRect(1, 2, 100, 18) : CRect(100, 2, 199, 18);
        const CRect caption = Ink(dib, lead, c.background), accel = Ink(dib, trail, c.background);
        if (caption.IsRectEmpty() || accel.IsRectEmpty()) {
            wtest::fail(__FILE__, __LINE__, name + ": no text");
            continue;
        }
        if (CountOf(dib, lead, c.ink) == 0) wtest::fail(__FILE__, __LINE__, name + ": caption not in its colour");
        const int edge = c.rtl ? caption.right : caption.left;
        const int accelEdge = c.rtl ? accel.left : accel.right;
        // The ink may stop short of the text's box by the glyphs' side
        // bearings.
        const int slack = 5;
        if (c.rtl ? (edge > c.captionEdge || edge < c.captionEdge - slack)
                  : (edge < c.captionEdge || edge > c.captionEdge + slack))
            wtest::fail(__FILE__, __LINE__, name + ": caption edge " + std::to_string(edge));
        if (c.rtl ? (accelEdge < c.accelEdge || accelEdge > c.accelEdge + slack)
                  : (accelEdge > c.accelEdge || accelEdge < c.accelEdge - slack))
            wtest::fail(__FILE__, __LINE__, name + ": accelerator edge " + std::to_string(accelEdge));
        // Centred vertically.
        WCHECK(caption.top >= 4 && caption.bottom <= 17);
    }
    // No texts: no ink beyond the fills.
    for (bool xp : {false, true}) {
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        const CRect r(0, 0, 200, 20);
        Item item(nullptr, r, r, 24, nullptr, nullptr, nullptr, false, false, false, false, false, true, false, false,
                  false, 0, nullptr);
        looks.Get(xp).PaintMenuItem(dc, item);
        WCHECK_EQ(dib.CountOther({30, 0, 200, 20}, xp ? kXpMenu : kFace), 0);
    }
}

WTEST(menu_item_check_and_radio_marks) {
    Looks looks;
    const COLORREF halftone = HelperColour(looks.classic, 0);
    const struct {
        const char* name;
        bool xp;
        BYTE state;
        bool check;  // a check mark, else a radio dot
        // The icon rectangle's left; the box is 2 larger.
        int iconLeft;
        COLORREF boxTopLeft, boxBottomRight, boxFill;
    } cases[] = {
        {"classic checked", false, BYTE(E | Item::Checked), true, 4, kShadow, kLight, halftone},
        {"classic radio", false, BYTE(E | Item::Radio), false, 4, kShadow, kLight, halftone},
        {"classic both", false, BYTE(E | Item::Checked | Item::Radio), true, 4, kShadow, kLight, halftone},
        {"xp checked", true, BYTE(E | Item::Checked), true, 3, kHighlight, kHighlight, kXpSelection},
        {"xp radio selected", true, BYTE(E | S | Item::Radio), false, 3, kHighlight, kHighlight, kXpCheckSelected},
    };
    for (const auto& c : cases) {
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        Item item = MakeItem(c.state);
        looks.Get(c.xp).PaintMenuItem(dc, item);
        const std::string name = c.name;
        const CRect box(c.iconLeft - 2, 0, c.iconLeft + 18, 20);
        if (dib.At(box.left, box.top) != c.boxTopLeft || dib.At(box.right - 1, box.bottom - 1) != c.boxBottomRight)
            wtest::fail(__FILE__, __LINE__, name + ": box frame " + Hex(dib.At(box.left, box.top)));
        WCHECK_EQ(Hex(dib.At(box.left + 2, box.top + 2)), Hex(c.boxFill));
        // The mark's top-left is the icon rectangle's centre less 3.
        const int mx = c.iconLeft + 8 - 3, my = 2 + 8 - 3;
        if (c.check) {
            // The check mark's first row has one pixel, at its right.
            WCHECK_EQ(Hex(dib.At(mx + 6, my)), Hex(kWindowText));
            WCHECK_EQ(Hex(dib.At(mx, my + 2)), Hex(kWindowText));
            WCHECK(dib.At(mx + 5, my) != kWindowText);
        } else {
            WCHECK_EQ(Hex(dib.At(mx + 3, my + 3)), Hex(kWindowText));
            WCHECK(dib.At(mx + 6, my) != kWindowText);
        }
    }
}

WTEST(menu_item_icon_layout) {
    Looks looks;
    const COLORREF kRed = RGB(250, 0, 0), kKey = RGB(0, 255, 0);
    const struct {
        int width, height;
        bool extraMark;
        CRect where;  // where the icon's pixels land in the classic look
    } cases[] = {
        // 16 by 12 is laid out as 16 by 16: centred in the gutter and row.
        {16, 12, false, CRect(4, 2, 20, 14)},
        // 20 by 12 keeps its size.
        {20, 12, false, CRect(2, 4, 22, 16)},
        // With the extra mark the icon moves to the gutter's second half:
        // (24 / 2 + (24 / 2 - 16) / 2) - 2 = 8.
        {16, 16, true, CRect(8, 2, 24, 18)},
    };
    for (const auto& c : cases) {
        Dib source(c.width, c.height, kRed);
        HBITMAP bitmap = ::CreateCompatibleBitmap(source.dc(), c.width, c.height);
        HDC copy = ::CreateCompatibleDC(source.dc());
        HGDIOBJ old = ::SelectObject(copy, bitmap);
        ::BitBlt(copy, 0, 0, c.width, c.height, source.dc(), 0, 0, SRCCOPY);
        ::SelectObject(copy, old);
        ::DeleteDC(copy);
        VEzaCmdIcon icon;
        icon.AssignFromHBITMAP(bitmap, kKey, nullptr, false);
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        Item item = MakeItem(E, c.extraMark ? Item::ExtraMark : 0, "Icon", "", nullptr, &icon);
        looks.classic.PaintMenuItem(dc, item);
        WCHECK(Ink(dib, {0, 0, 30, 20}, kFace) == c.where);
        WCHECK_EQ(CountOf(dib, c.where, kRed), c.where.Width() * c.where.Height());
    }
}

WTEST(menu_item_extra_mark_square) {
    Looks looks;
    const COLORREF halftone = HelperColour(looks.classic, 0);
    RtlMenu rtl;
    for (bool xp : {false, true})
        for (bool right : {false, true})
            for (bool checked : {false, true}) {
                Dib dib(200, 20, kBack);
                DibCDC dc(dib);
                Item item = MakeItem(E, BYTE(Item::ExtraMark | (checked ? Item::ExtraMarkChecked : 0)), "", "",
                                     right ? &rtl : nullptr);
                looks.Get(xp).PaintMenuItem(dc, item);
                // The square spans 1..19 from the leading edge, both ways.
                const CRect mark = right ? CRect(181, 1, 199, 19) : CRect(1, 1, 19, 19);
                const COLORREF frame = xp ? kHighlight : kShadow;
                WCHECK_EQ(dib.At(mark.left, mark.top) == frame, checked);
                WCHECK_EQ(dib.At(mark.left + 1, mark.top + 1) == (xp ? kXpSelection : halftone), checked);
                const CPoint centre = mark.CenterPoint();
                WCHECK_EQ(dib.At(centre.x - 3 + 6, centre.y - 3) == kWindowText, checked);
            }
}

WTEST(menu_item_submenu_arrows) {
    Looks looks;
    RtlMenu rtl;
    const struct {
        const char* name;
        bool xp, rtl;
        BYTE state, state2;
    } cases[] = {
        {"classic", false, false, BYTE(E | Item::Popup), 0},
        {"classic right to left", false, true, BYTE(E | Item::Popup), 0},
        {"xp", true, false, BYTE(E | Item::Popup), 0},
        {"xp right to left", true, true, BYTE(E | Item::Popup), 0},
    };
    for (const auto& c : cases) {
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        Item item = MakeItem(c.state, c.state2, "", "", c.rtl ? &rtl : nullptr);
        looks.Get(c.xp).PaintMenuItem(dc, item);
        // The arrow lies in the 16-pixel column at the trailing edge.
        const CRect column = c.rtl ? CRect(3, 3, 19, 17) : CRect(181, 3, 197, 17);
        const COLORREF back = c.xp ? kXpMenu : kFace;
        const CRect ink = Ink(dib, c.rtl ? CRect(1, 1, 175, 19) : CRect(25, 1, 199, 19), back);
        const std::string name = c.name;
        if (ink.IsRectEmpty() || ink.left < column.left || ink.right > column.right)
            wtest::fail(__FILE__, __LINE__, name + ": arrow at " + std::to_string(ink.left) + ".." +
                                                std::to_string(ink.right));
        WCHECK(CountOf(dib, column, kWindowText) > 3);
        // Pointing away from the text: the tip is on the trailing side.
        const int tipColumn = c.rtl ? ink.left : ink.right - 1;
        WCHECK(CountOf(dib, {tipColumn, 0, tipColumn + 1, 20}, kWindowText) <= 2);
    }
}

WTEST(menu_item_separated_submenu_part) {
    Looks looks;
    // Not selected: an etched (classic) or flat (XP) line at the column's
    // leading edge (x = 181) over the text area's height.
    {
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        Item item = MakeItem(BYTE(E | Item::Popup), Item::SeparatedPopup);
        looks.classic.PaintMenuItem(dc, item);
        WCHECK_EQ(Hex(dib.At(180, 8)), Hex(kShadow));
        WCHECK_EQ(Hex(dib.At(181, 8)), Hex(kLight));
    }
    {
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        Item item = MakeItem(BYTE(E | Item::Popup), Item::SeparatedPopup);
        looks.xp.PaintMenuItem(dc, item);
        WCHECK_EQ(Hex(dib.At(180, 8)), Hex(kXpLine));
    }
    // Selected: the part from the column to the trailing edge has its own
    // fill, the arrow its own colour.
    {
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        Item item = MakeItem(BYTE(E | S | Item::Popup), Item::SeparatedPopup);
        looks.classic.PaintMenuItem(dc, item);
        WCHECK_EQ(Hex(dib.At(180, 1)), Hex(kHighlight));
        WCHECK_EQ(Hex(dib.At(181, 1)), Hex(kFace));
        WCHECK_EQ(Hex(dib.At(199, 19)), Hex(kFace));
        WCHECK(CountOf(dib, {181, 3, 197, 17}, kText) > 3);
    }
    {
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        Item item = MakeItem(BYTE(E | S | Item::Popup), Item::SeparatedPopup);
        looks.xp.PaintMenuItem(dc, item);
        WCHECK_EQ(Hex(dib.At(179, 5)), Hex(kXpSelection));
        WCHECK_EQ(Hex(dib.At(180, 5)), Hex(kHighlight));
        WCHECK_EQ(Hex(dib.At(181, 1)), Hex(kXpCheckSelected));
        WCHECK_EQ(Hex(dib.At(198, 18)), Hex(kXpCheckSelected));
        WCHECK_EQ(Hex(dib.At(199, 19)), Hex(kHighlight));
        WCHECK(CountOf(dib, {181, 3, 197, 17}, kHighlightText) > 3);
    }
    // The extra glyph replaces the arrow: the separated form has its bar.
    for (bool separated : {false, true}) {
        Dib dib(200, 20, kBack);
        DibCDC dc(dib);
        Item item = MakeItem(BYTE(E | S | Item::Popup), BYTE(Item::ExtraGlyph | (separated ? Item::SeparatedPopup : 0)));
        looks.classic.PaintMenuItem(dc, item);
        const CRect ink = Ink(dib, {150, 0, 200, 20}, kHighlight);
        WCHECK_EQ(ink.Width(), separated ? 7 : 4);
        WCHECK_EQ(ink.Height(), 7);
        WCHECK_EQ(CountOf(dib, ink, kHighlightText), separated ? 7 + 16 : 16);
    }
}

WTEST(menu_item_in_place_strips) {
    Looks looks;
    const int thumb = ::GetSystemMetrics(SM_CXHTHUMB);
    const struct {
        const char* name;
        bool xp;
        BYTE state;
        // Pixels of the strip's outer frame and of one inside it.
        CPoint outer, inner;
        COLORREF outerColour, innerColour;
    } cases[] = {
        // Classic: the strip is the in-place rectangle 2 larger (3 at the
        // bottom); a face frame, then a face or sunken frame inside.
        {"classic", false, E, CPoint(78, 2), CPoint(79, 3), kFace, kFace},
        {"classic selected", false, BYTE(E | S), CPoint(78, 2), CPoint(79, 3), kFace, kShadow},
        {"classic disabled", false, 0, CPoint(80, 4), CPoint(81, 5), kWindow, kFace},
        // XP: 1 larger across, 2 up and down; filled with the window colour.
        {"xp", true, E, CPoint(79, 2), CPoint(80, 3), kFace, kWindow},
        {"xp selected", true, BYTE(E | S), CPoint(79, 2), CPoint(80, 3), kHighlight, kWindow},
        {"xp disabled", true, 0, CPoint(79, 2), CPoint(80, 3), RGB(166, 166, 166), kFace},
    };
    for (const auto& c : cases) {
        Dib dib(200, 24, kBack);
        DibCDC dc(dib);
        const CRect r(0, 0, 200, 24);
        Item item(nullptr, r, r, 24, "Find:", "", nullptr, false, (c.state & S) != 0, false, false, false,
                  (c.state & E) != 0, false, false, false, 0, nullptr);
        item.m_rcInPlaceWnd.SetRect(80, 4, 160, 18);
        item.m_sInPlaceText = "abc";
        looks.Get(c.xp).PaintMenuItem(dc, item);
        const std::string name = c.name;
        if (dib.At(c.outer.x, c.outer.y) != c.outerColour || dib.At(c.inner.x, c.inner.y) != c.innerColour)
            wtest::fail(__FILE__, __LINE__,
                        name + ": " + Hex(dib.At(c.outer.x, c.outer.y)) + " " + Hex(dib.At(c.inner.x, c.inner.y)));
        // The text sits in the strip, 5 in from its left.
        const CRect ink = Ink(dib, {84, 6, 158, 18}, dib.At(120, 10));
        WCHECK(!ink.IsRectEmpty());
        WCHECK(ink.left >= (c.xp ? 84 : 83) && ink.left <= 88);
        WCHECK(CountOf(dib, {84, 6, 158, 18}, (c.state & E) != 0 ? kText : kShadow) > 0);
    }
    // A popup strip grows by the thumb width and shows the drop-down arrow.
    for (bool xp : {false, true}) {
        Dib dib(240, 24, kBack);
        DibCDC dc(dib);
        const CRect r(0, 0, 240, 24);
        Item item(nullptr, r, r, 24, "Zoom:", "", nullptr, true, false, false, false, false, false, false, false,
                  false, 0, nullptr);
        item.m_rcInPlaceWnd.SetRect(80, 4, 160, 18);
        looks.Get(xp).PaintMenuItem(dc, item);
        // The 9 pixels of the arrow glyph, right of the strip's old end.
        const CRect button(162, 2, 162 + thumb, 21);
        WCHECK_EQ(CountOf(dib, button, xp ? kShadow : kText), 9);
        WCHECK_EQ(CountOf(dib, {70, 0, 162, 24}, xp ? kShadow : kText), 0);
    }
}

WTEST(xp_menu_separator) {
    Looks looks;
    RtlMenu rtl;
    const struct {
        bool rarely, rtl;
    } cases[] = {{false, false}, {true, false}, {false, true}};
    for (const auto& c : cases) {
        Dib dib(100, 8, kBack);
        DibCDC dc(dib);
        looks.xp.PaintMenuSeparator(dc, CRect(0, 0, 100, 8), 24, c.rarely, c.rtl ? &rtl : nullptr, 0);
        const COLORREF gutter = c.rarely ? kXpRarely : kXpFace;
        const CRect g = c.rtl ? CRect(76, 0, 100, 8) : CRect(0, 0, 24, 8);
        WCHECK_EQ(CountOf(dib, g, gutter), 24 * 8);
        // One line at row 3 (a pixel above the middle), from 3 pixels
        // past the gutter to the far end.
        const CRect line = c.rtl ? CRect(0, 3, 73, 4) : CRect(27, 3, 100, 4);
        WCHECK_EQ(CountOf(dib, line, kXpLine), 73);
        WCHECK_EQ(CountOf(dib, {0, 0, 100, 8}, kXpLine), 73);
        WCHECK_EQ(CountOf(dib, {0, 0, 100, 8}, kXpMenu), 76 * 8 - 73);
    }
    Dib dib(10, 8, kBack);
    DibCDC dc(dib);
    looks.xp.PaintMenuSeparator(dc, CRect(0, 0, 0, 8), 24, false, nullptr, 0);
    WCHECK_EQ(dib.CountOther({0, 0, 10, 8}, kBack), 0);
}

WTEST(xp_bar_captions) {
    Looks looks;
    using G = VEzaPaintManager::PAINTGRIPPERDATA;
    const COLORREF captionText = InjectedSystem::Chosen(COLOR_CAPTIONTEXT);
    const struct {
        const char* name;
        bool active, floating, noBackground;
        COLORREF fill, corner, edge, ink;
    } cases[] = {
        {"active", true, false, false, kHighlight, kHighlight, kHighlight, captionText},
        // Inactive: a frame without its corner pixels.
        {"inactive", false, false, false, kXpFace, kXpFace, kShadow, kText},
        {"floating", false, true, false, kShadow, kShadow, kShadow, captionText},
        {"no background", false, false, true, kBack, kBack, kBack, kText},
    };
    for (const auto& c : cases) {
        Dib dib(100, 20, kBack);
        DibCDC dc(dib);
        G data(nullptr, CRect(0, 0, 100, 20), CRect(4, 2, 96, 18), c.active, c.floating, false, !c.floating, "Caption");
        if (c.noBackground) data.m_nFlags2 = G::NoBackground;
        looks.xp.PaintGripper(dc, data);
        const std::string name = c.name;
        if (dib.At(50, 1) != c.fill || dib.At(0, 0) != c.corner || dib.At(1, 0) != c.edge)
            wtest::fail(__FILE__, __LINE__, name + ": " + Hex(dib.At(50, 1)) + " " + Hex(dib.At(0, 0)));
        const CRect ink = Ink(dib, {2, 2, 98, 18}, c.fill);
        WCHECK(!ink.IsRectEmpty() && ink.left >= 4 && ink.left < 8 && ink.right < 96);
        WCHECK(CountOf(dib, {4, 2, 96, 18}, c.ink) > 0);
    }
}

WTEST(xp_toolbar_gripper_dots) {
    using G = VEzaPaintManager::PAINTGRIPPERDATA;
    for (int bpp : {32, 8})
        for (bool horzBar : {true, false}) {
            Looks looks(bpp);
            Dib dib(40, 40, kBack);
            DibCDC dc(dib);
            const CRect gripper = horzBar ? CRect(0, 0, 14, 30) : CRect(0, 0, 30, 14);
            G data(nullptr, gripper, CRect(0, 0, 0, 0), false, false, horzBar);
            looks.xp.PaintGripper(dc, data);
            const COLORREF face = bpp > 8 ? kXpFace : kFace;
            // The strip: 3 wide from left + 6 (across bars) or 3 high from
            // top + 6 (along), the rest of the gripper face.
            const CRect strip = horzBar ? CRect(6, 2, 9, 28) : CRect(3, 6, 29, 9);
            const CRect dots = Ink(dib, {1, 1, gripper.right - 1, gripper.bottom - 1}, face);
            WCHECK(!dots.IsRectEmpty());
            WCHECK(CRect().IntersectRect(dots, strip) && CRect(dots | strip) == strip);
            // Dotted every other row (across) or column (along).
            int dotted = 0;
            const int lines = horzBar ? strip.Height() : strip.Width();
            for (int i = 0; i < lines; ++i) {
                const COLORREF p = horzBar ? dib.At(7, strip.top + i) : dib.At(strip.left + i, 7);
                dotted += p != face;
                if ((p != face) != (((horzBar ? strip.top : strip.left) + i) % 2 == (bpp > 8 ? 0 : 1)))
                    wtest::fail(__FILE__, __LINE__, "line " + std::to_string(i) + " at " + std::to_string(bpp));
            }
            WCHECK_EQ(dotted, lines / 2);
            WCHECK_EQ(dib.At(0, 0), kBack);
        }
}

WTEST(date_picker_client_area) {
    Looks looks;
    for (bool xp : {false, true}) {
        Dib dib(60, 40, kBack);
        DibCDC dc(dib);
        looks.Get(xp).PaintDatePickerClientArea(dc, CRect(0, 0, 50, 30), CRect(5, 5, 45, 25), nullptr, 0);
        WCHECK_EQ(CountOf(dib, {5, 5, 45, 25}, kWindow), 40 * 20);
        WCHECK_EQ(CountOf(dib, {0, 0, 50, 30}, xp ? kXpFace : kFace), 50 * 30 - 40 * 20);
        WCHECK_EQ(dib.At(55, 35), kBack);
        // Not visible: nothing.
        dib.Fill(kBack);
        ::ExcludeClipRect(dib.dc(), 0, 0, 60, 40);
        looks.Get(xp).PaintDatePickerClientArea(dc, CRect(0, 0, 50, 30), CRect(5, 5, 45, 25), nullptr, 0);
        ::SelectClipRgn(dib.dc(), nullptr);
        WCHECK_EQ(dib.CountOther({0, 0, 60, 40}, kBack), 0);
    }
}

WTEST(transparent_blit_leaves_the_key_colour_out) {
    const COLORREF kKey = RGB(255, 0, 255), kInk = RGB(0, 0, 200), kGround = RGB(0, 160, 0);
    Dib source(4, 4, kKey);
    ::SetPixel(source.dc(), 1, 1, kInk);
    ::SetPixel(source.dc(), 2, 1, kInk);
    ::SetPixel(source.dc(), 3, 3, kInk);
    {
        Dib target(10, 10, kGround);
        VEzaPaintManager::stat_TransparentBlt(target.dc(), 2, 2, 4, 4, source.dc(), 0, 0, 4, 4, kKey);
        const std::vector<std::pair<COLORREF, char>> legend = {{kGround, '.'}, {kInk, 'X'}, {kKey, 'K'}};
        WCHECK_EQ(target.Rows({0, 0, 8, 8}, legend),
                  std::string("........\n........\n........\n...XX...\n........\n.....X..\n........\n........\n"));
    }
    {
        // Stretched to twice the size.
        Dib target(10, 10, kGround);
        VEzaPaintManager::stat_TransparentBlt(target.dc(), 0, 0, 8, 8, source.dc(), 0, 0, 4, 4, kKey);
        WCHECK_EQ(CountOf(target, {0, 0, 10, 10}, kInk), 12);
        WCHECK_EQ(CountOf(target, {0, 0, 10, 10}, kKey), 0);
        WCHECK_EQ(CountOf(target, {2, 2, 6, 4}, kInk), 8);
    }
}

WTEST(toolbar_chevron_glyphs) {
    Looks looks;
    const struct {
        const char* name;
        bool xp, horizontal, enabled, pushed, firstOnly;
        CRect rect;
        // The glyphs' top-left corners (the second's x < 0: not drawn).
        CPoint first, second;
    } cases[] = {
        // Across: the down arrow 3 above the bottom, the chevrons 3 below
        // the top, both centred.
        {"classic", false, true, true, false, false, CRect(0, 0, 14, 24), CPoint(4, 18), CPoint(3, 3)},
        {"classic pushed", false, true, true, true, false, CRect(0, 0, 14, 24), CPoint(5, 19), CPoint(4, 4)},
        {"classic first only", false, true, true, false, true, CRect(0, 0, 14, 24), CPoint(4, 18), CPoint(-1, 0)},
        {"classic inverted", false, true, true, false, false, CRect(14, 24, 0, 0), CPoint(4, 18), CPoint(3, 3)},
        {"xp pushed", true, true, true, true, false, CRect(0, 0, 14, 24), CPoint(4, 18), CPoint(3, 3)},
        // Along: turned glyphs, 3 from the left and right edges.
        {"classic along", false, false, true, false, false, CRect(0, 0, 24, 14), CPoint(3, 4), CPoint(16, 3)},
        {"xp along", true, false, true, false, false, CRect(0, 0, 24, 14), CPoint(3, 4), CPoint(16, 3)},
    };
    for (const auto& c : cases) {
        Dib dib(30, 30, kBack);
        DibCDC dc(dib);
        looks.Get(c.xp).PaintToolbarExpandButton(dc, c.rect, c.horizontal, c.firstOnly, c.enabled, c.pushed, false,
                                                 nullptr, 0);
        const std::string name = c.name;
        const auto& first = c.horizontal ? VEzaPaintManager::GlyphExpandBottom() : VEzaPaintManager::GlyphExpandBottomTurned();
        const auto& second =
            c.horizontal ? VEzaPaintManager::GlyphExpandRight2() : VEzaPaintManager::GlyphExpandRight2Turned();
        auto check = [&](const VEzaPaintManager::glyph_t& g, CPoint at) {
            for (UINT y = 0; y < g.GetHeight(); ++y)
                for (UINT x = 0; x < g.GetWidth(); ++x)
                    if (g.GetColorPixel(int(x), int(y)) != 0 && dib.At(at.x + int(x), at.y + int(y)) != kWindowText)
                        return false;
            return true;
        };
        if (!check(first, c.first)) wtest::fail(__FILE__, __LINE__, name + ": first glyph");
        const int ink = CountOf(dib, {0, 0, 30, 30}, kWindowText);
        const int firstCount = 9, secondCount = 20;  // the glyphs' painted pixels
        if (c.second.x >= 0) {
            if (!check(second, c.second)) wtest::fail(__FILE__, __LINE__, name + ": second glyph");
            WCHECK_EQ(ink, firstCount + secondCount);
        } else {
            WCHECK_EQ(ink, firstCount);
        }
    }
    // Disabled: only the first glyph, embossed.
    for (bool xp : {false, true}) {
        Dib dib(30, 30, kBack);
        DibCDC dc(dib);
        looks.Get(xp).PaintToolbarExpandButton(dc, CRect(0, 0, 14, 24), true, false, false, false, false, nullptr, 0);
        WCHECK_EQ(CountOf(dib, {0, 0, 30, 30}, kWindowText), 0);
        WCHECK_EQ(CountOf(dib, {0, 0, 30, 30}, kShadow) >= 9, true);
        WCHECK_EQ(Hex(dib.At(4, 18)), Hex(kShadow));
        WCHECK_EQ(Hex(dib.At(9, 19)), Hex(kLight));
    }
    // Not visible: nothing.
    Dib dib(30, 30, kBack);
    DibCDC dc(dib);
    ::ExcludeClipRect(dib.dc(), 0, 0, 30, 30);
    looks.classic.PaintToolbarExpandButton(dc, CRect(0, 0, 14, 24), true, false, true, false, false, nullptr, 0);
    ::SelectClipRgn(dib.dc(), nullptr);
    WCHECK_EQ(dib.CountOther({0, 0, 30, 30}, kBack), 0);
}

WTEST(menu_expand_buttons) {
    Looks looks;
    const COLORREF halftone = HelperColour(looks.classic, 0);
    const struct {
        const char* name;
        bool xp, pushed;
        COLORREF fill, left, bottomRight;
    } cases[] = {
        {"classic", false, false, kFace, kFace, kFace},
        {"classic pushed", false, true, halftone, kLight, kShadow},
        {"xp", true, false, kXpMenu, kXpMenu, kXpMenu},
    };
    for (const auto& c : cases) {
        Dib dib(40, 14, kBack);
        DibCDC dc(dib);
        looks.Get(c.xp).PaintMenuExpandButton(dc, CRect(0, 0, 40, 14), c.pushed, false, nullptr, 0);
        const std::string name = c.name;
        const std::string got = Hex(dib.At(10, 2)) + " " + Hex(dib.At(1, 5)) + " " + Hex(dib.At(38, 13));
        const std::string want = Hex(c.fill) + " " + Hex(c.left) + " " + Hex(c.bottomRight);
        if (got != want) wtest::fail(__FILE__, __LINE__, name + ": " + got + ", want " + want);
        // The turned double chevron (5 by 8), centred, in the text colour.
        const CRect ink = Ink(dib, {2, 1, 38, 13}, c.fill);
        WCHECK_EQ(CountOf(dib, {0, 0, 40, 14}, kWindowText), 20);
        WCHECK(ink.Width() == 5 && ink.Height() == 8);
        WCHECK_EQ(ink.left, 17L);
    }
}

WTEST(menu_scroll_buttons_point_their_way) {
    Looks looks;
    for (bool xp : {false, true})
        for (bool up : {true, false})
            for (bool pushed : {false, true}) {
                Dib dib(60, 16, kBack);
                DibCDC dc(dib);
                looks.Get(xp).PaintMenuScrollButton(dc, pushed, false, up, CRect(0, 0, 60, 16), nullptr, 0);
                // The arrow's rows: the tip row is the narrowest.
                const COLORREF back = dib.At(2, 2);
                const CRect ink = Ink(dib, {2, 2, 58, 14}, back);
                WCHECK(!ink.IsRectEmpty());
                WCHECK(ink.Width() >= 3 && ink.left > 20 && ink.right < 40);
                const int topRow = CountOf(dib, {ink.left, ink.top, ink.right, ink.top + 1}, dib.At(ink.CenterPoint().x, ink.top));
                const int bottomRow =
                    CountOf(dib, {ink.left, ink.bottom - 1, ink.right, ink.bottom}, dib.At(ink.CenterPoint().x, ink.bottom - 1));
                WCHECK(up ? topRow < bottomRow : topRow > bottomRow);
            }
}

WTEST(combo_frame_arrow_and_missing_icon_glyph) {
    Looks looks;
    const int thumb = ::GetSystemMetrics(SM_CXHTHUMB);
    for (bool xp : {false, true})
        for (bool enabled : {true, false}) {
            Dib dib(60, 20, kBack);
            DibCDC dc(dib);
            VEzaPaintManager::PAINTCOMBOFRAMEDATA data(nullptr, CRect(0, 0, 60, 20), false, false, enabled);
            looks.Get(xp).PaintComboFrame(dc, data);
            // The symbol font's down arrow, in the button area only: wider
            // at its top than at its tip.
            const CRect button(59 - thumb + 2, 3, 57, 17);
            const COLORREF back = dib.At(button.left + 1, button.top + 1);
            const CRect ink = Ink(dib, button, back);
            WCHECK(!ink.IsRectEmpty());
            WCHECK(ink.Width() >= 3 && ink.Width() < thumb);
            WCHECK(CountOf(dib, {ink.left, ink.top, ink.right, ink.top + 1}, dib.At(ink.CenterPoint().x, ink.top)) >
                   CountOf(dib, {ink.left, ink.bottom - 1, ink.right, ink.bottom},
                           dib.At(ink.CenterPoint().x, ink.bottom - 1)));
            WCHECK_EQ(Ink(dib, {3, 3, 59 - thumb - 3, 17}, kBack).IsRectEmpty(), true);
        }
    // An item without an icon shows its system command's glyph in the
    // icon area; none for command 0.
    for (bool xp : {false, true})
        for (UINT command : {UINT(SC_CLOSE), 0U}) {
            Dib dib(200, 20, kBack);
            DibCDC dc(dib);
            const CRect r(0, 0, 200, 20);
            VEzaPaintManager::PAINTMENUITEMDATA item(nullptr, r, r, 24, "", "", nullptr, false, false, false, false,
                                                     false, true, false, false, false, command, nullptr);
            looks.Get(xp).PaintMenuItem(dc, item);
            const CRect ink = Ink(dib, {2, 1, 22, 19}, dib.At(1, 1));
            WCHECK_EQ(ink.IsRectEmpty(), command == 0);
        }
}

WTEST(xp_in_place_drop_down_button) {
    Looks looks;
    const int thumb = ::GetSystemMetrics(SM_CXHTHUMB);
    const struct {
        bool selected, pressed;
        COLORREF stripFrame, arrow;
    } cases[] = {
        {false, false, kFace, kText},
        {true, false, kHighlight, kText},
        {true, true, kHighlight, kHighlightText},
    };
    for (const auto& c : cases) {
        Dib dib(240, 24, kBack);
        DibCDC dc(dib);
        const CRect r(0, 0, 240, 24);
        VEzaPaintManager::PAINTMENUITEMDATA item(nullptr, r, r, 24, "Zoom:", "", nullptr, true, c.selected, false,
                                                 false, false, true, false, false, false, 0, nullptr);
        item.m_rcInPlaceWnd.SetRect(80, 4, 160, 18);
        item.m_nInPlaceState = c.pressed ? 1 : 0;
        looks.xp.PaintMenuItem(dc, item);
        // The strip: 1 wider across, 2 up and down, grown by the thumb.
        WCHECK_EQ(Hex(dib.At(79, 2)), Hex(c.stripFrame));
        WCHECK_EQ(Hex(dib.At(160 + thumb, 19)), Hex(c.stripFrame));
        WCHECK_EQ(CountOf(dib, {162, 3, 160 + thumb, 19}, c.arrow) >= 9, true);
        WCHECK_EQ(Hex(dib.At(100, 10)), Hex(kWindow));
    }
}

WTEST(menu_items_smaller_than_their_parts_paint_nothing_outside) {
    InjectedSystem system(32);
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    classic.OnSysColorChange();
    xp.OnSysColorChange();
    const CRect rects[] = {CRect(10, 10, 11, 11), CRect(10, 10, 14, 13), CRect(10, 10, 20, 16)};
    for (VEzaPaintManager* pm : {&classic, static_cast<VEzaPaintManager*>(&xp)})
        for (const CRect& rect : rects)
            for (int bits = 0; bits < 16; ++bits) {
                Dib dib(40, 40, kBack);
                DibCDC dc(dib);
                Item item(nullptr, rect, rect, 24, "&Open", "Ctrl+O", nullptr, (bits & 1) != 0, (bits & 2) != 0,
                          (bits & 4) != 0, false, false, true, (bits & 8) != 0, false, false, 0, nullptr);
                pm->PaintMenuItem(dc, item);
                const std::string what = std::string(pm->GetRuntimeClass()->m_lpszClassName) + " " +
                                         std::to_string(rect.Width()) + " " + std::to_string(bits) + " ";
                WCHECK_EQ(what + std::to_string(CountOf(dib, CRect(0, 0, 40, 40), kBack)),
                          what + std::to_string(CountOf(dib, rect, kBack) + 40 * 40 - rect.Width() * rect.Height()));
            }
}
