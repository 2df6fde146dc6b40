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

struct DibCDC : CDC {
    explicit DibCDC(const Dib& dib) { Attach(dib.dc()); }
    ~DibCDC() override { Detach(); }
};

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

// A popup menu laid out right to left.
class RtlMenu : public VEzaPopupMenuWnd {
public:
    bool OnQueryLayoutRTL() const override { return true; }
};

std::string Hex(COLORREF c) {
    char s[16];
    std::snprintf(s, sizeof s, "%06lX", (unsigned long)c);
    return s;
}

// The box of the pixels of a rectangle that differ from a colour.
CRect Ink(const Dib& dib, const RECT& r, COLORREF background) {
    CRect box(0, 0, 0, 0);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (dib.At(x, y) != background) box.UnionRect(box, CRect(x, y, x + 1, y + 1));
    return box;
}

int CountOf(const Dib& dib, const RECT& r, COLORREF c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += dib.At(x, y) == c;
    return n;
}

}  // namespace

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
