// The separators, borders and frames of both looks painted into DIBs and
// read back as pictures, one character per pixel.
#include "paint_test_util.h"
#include "toolkit/bar_types.h"

using namespace pt;

namespace {

const COLORREF kBack = RGB(1, 2, 3);
// Copies of the chosen system colours (those are not defined out of class).
const COLORREF kFace = InjectedSystem::kFace, kLight = InjectedSystem::kLight, kShadow = InjectedSystem::kShadow,
               kDark = InjectedSystem::kDark, kHighlight = InjectedSystem::kHighlight;
// The XP look's mixed colours for the chosen system colours.
const COLORREF kXpFace = RGB(219, 216, 209), kXpLine = RGB(166, 166, 166), kXpBorder = RGB(102, 102, 102),
               kXpMenu = RGB(249, 248, 247);

using Legend = std::vector<std::pair<COLORREF, char>>;

// Face F, highlight/window W, shadow S, dark shadow D, untouched '.', and
// the XP colours: face X, line L, border G, menu M, selection frame H.
const Legend kLegend = {{kBack, '.'},
                        {kFace, 'F'},
                        {kLight, 'W'},
                        {kShadow, 'S'},
                        {kDark, 'D'},
                        {kXpFace, 'X'},
                        {kXpLine, 'L'},
                        {kXpBorder, 'G'},
                        {kXpMenu, 'M'},
                        {kHighlight, 'H'}};

// Both managers over the chosen system colours at a depth.
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

// Lines joined, for pictures written one row per string.
std::string Pic(std::initializer_list<const char*> rows) {
    std::string s;
    for (const char* r : rows) s += std::string(r) + "\n";
    return s;
}

void CheckPicture(const char* file, int line, const std::string& name, const std::string& got,
                  const std::string& want) {
    if (got != want) wtest::fail(file, line, name + ": got\n" + got + "want\n" + want);
}
#define CHECK_PIC(name, got, want) CheckPicture(__FILE__, __LINE__, name, got, want)

}  // namespace

WTEST(separators_in_both_looks) {
    Looks looks;
    const struct {
        const char* name;
        bool xp, horizontal, transparent;
        std::string picture;
    } cases[] = {
        {"classic across", false, true, false,
         Pic({"FFFFSWFFFF", "FFFFSWFFFF", "FFFFSWFFFF", "FFFFSWFFFF", "FFFFWWFFFF", "FFFFFFFFFF"})},
        {"classic across transparent", false, true, true,
         Pic({"....SW....", "....SW....", "....SW....", "....SW....", "....WW....", ".........."})},
        {"classic along", false, false, false,
         Pic({"FFFFFFFFFF", "FFFFFFFFFF", "SSSSSSSSWF", "WWWWWWWWWF", "FFFFFFFFFF", "FFFFFFFFFF"})},
        {"xp across", true, true, false,
         Pic({"XXXXXXXXXX", "XXXXLXXXXX", "XXXXLXXXXX", "XXXXLXXXXX", "XXXXLXXXXX", "XXXXXXXXXX"})},
        {"xp across transparent", true, true, true,
         Pic({"..........", "....L.....", "....L.....", "....L.....", "....L.....", ".........."})},
        {"xp along", true, false, false,
         Pic({"XXXXXXXXXX", "XXXXXXXXXX", "XLLLLLLLLX", "XXXXXXXXXX", "XXXXXXXXXX", "XXXXXXXXXX"})},
    };
    for (const auto& c : cases) {
        Dib dib(12, 8, kBack);
        DibCDC dc(dib);
        looks.Get(c.xp).PaintSeparator(dc, CRect(1, 1, 11, 7), c.horizontal, c.transparent, nullptr, 0);
        CHECK_PIC(c.name, dib.Rows({1, 1, 11, 7}, kLegend), c.picture);
        // Nothing outside the rectangle.
        WCHECK_EQ(dib.CountOther({0, 0, 12, 8}, kBack), dib.CountOther({1, 1, 11, 7}, kBack));
    }
}

WTEST(menu_borders_and_the_empty_rectangle) {
    Looks looks;
    for (bool xp : {false, true}) {
        Dib dib(10, 10, kBack);
        DibCDC dc(dib);
        VEzaPaintManager& pm = looks.Get(xp);
        pm.PaintMenuBorder(dc, CRect(1, 1, 1, 9), nullptr, 0);
        pm.PaintMenuBorder(dc, CRect(9, 9, 1, 1), nullptr, 0);
        WCHECK_EQ(dib.CountOther({0, 0, 10, 10}, kBack), 0);
        pm.PaintMenuBorder(dc, CRect(0, 0, 10, 10), nullptr, 0);
        const std::string want =
            xp ? Pic({"GGGGGGGGGG", "G........G", "G........G", "G........G", "G........G", "G........G",
                      "G........G", "G........G", "G........G", "GGGGGGGGGG"})
               : Pic({"FFFFFFFFFD", "FWWWWWWWSD", "FWFFFFFFSD", "FWFFFFFFSD", "FWFF..FFSD", "FWFF..FFSD",
                      "FWFFFFFFSD", "FWFFFFFFSD", "FSSSSSSSSD", "DDDDDDDDDD"});
        CHECK_PIC(xp ? "xp" : "classic", dib.Rows({0, 0, 10, 10}, kLegend), want);
        WCHECK_EQ(pm.GetMenuBorderMetrics(nullptr, 0).left, xp ? 1L : 2L);
    }
    // A rectangle smaller than the four rings keeps the rings inside it.
    Dib dib(8, 8, kBack);
    DibCDC dc(dib);
    looks.classic.PaintMenuBorder(dc, CRect(2, 2, 5, 5), nullptr, 0);
    WCHECK_EQ(dib.CountOther({0, 0, 8, 8}, kBack), dib.CountOther({2, 2, 5, 5}, kBack));
    WCHECK_EQ(dib.CountOther({2, 2, 5, 5}, kBack), 9);
}

WTEST(menu_separators_classic) {
    Looks looks;
    const int half = ::GetSystemMetrics(SM_CXSMICON) / 2;
    for (bool rarely : {false, true}) {
        Dib dib(40, 8, kBack);
        DibCDC dc(dib);
        looks.classic.PaintMenuSeparator(dc, CRect(0, 0, 40, 8), 20, rarely, nullptr, 0);
        // The two-pixel etched line sits at rows 3 and 4, narrowed by half
        // a small icon at each end.
        const COLORREF topLeft = rarely ? kFace : kShadow;
        WCHECK_EQ(dib.At(half, 3), topLeft);
        WCHECK_EQ(dib.At(39 - half - 1, 3), topLeft);
        WCHECK_EQ(dib.At(39 - half, 3), kLight);
        WCHECK_EQ(dib.At(half, 4), kLight);
        WCHECK_EQ(dib.At(39 - half, 4), kLight);
        // Outside the line: the fill (a face and highlight checker when
        // rarely used).
        LOGBRUSH helper = {};
        looks.classic.m_brushHelper[1].GetLogBrush(&helper);
        const COLORREF fill = rarely ? helper.lbColor : kFace;
        WCHECK(!rarely || (fill != kFace && fill != kLight));
        WCHECK_EQ(dib.CountOther({0, 0, 40, 3}, fill), 0);
        WCHECK_EQ(dib.CountOther({0, 5, 40, 8}, fill), 0);
        WCHECK_EQ(dib.At(half - 1, 3), fill);
    }
    Dib dib(10, 10, kBack);
    DibCDC dc(dib);
    looks.classic.PaintMenuSeparator(dc, CRect(0, 0, 0, 10), 0, false, nullptr, 0);
    WCHECK_EQ(dib.CountOther({0, 0, 10, 10}, kBack), 0);
}

WTEST(menu_combined_area_opens_the_joined_side) {
    Looks looks;
    // A button 8 wide and 5 high; the menu lies below it, joined along the
    // button's bottom edge.
    const CRect button(2, 1, 10, 6), joint(2, 5, 10, 8);
    {
        Dib dib(12, 12, kBack);
        DibCDC dc(dib);
        looks.xp.PaintMenuCombinedArea(dc, button, joint, 1, nullptr, 0);
        CHECK_PIC("xp below", dib.Rows({0, 0, 12, 8}, kLegend),
                  Pic({"............", "..GGGGGGGG..", "..GXXXXXXG..", "..GXXXXXXG..", "..GXXXXXXG..",
                       "..GXXXXXXG..", "..G......G..", "............"}));
    }
    {
        Dib dib(12, 12, kBack);
        DibCDC dc(dib);
        looks.classic.PaintMenuCombinedArea(dc, button, joint, 1, nullptr, 0);
        // Filled two rows into the menu's border, the side lines as far;
        // the bottom stays open.
        CHECK_PIC("classic below", dib.Rows({0, 0, 12, 12}, kLegend),
                  Pic({"............", "..FFFFFFFS..", "..FWWWWWDS..", "..FWFFFFDS..", "..FWFFFFDS..",
                       "..FWFFFFDS..", "..FWFFFFDS..", "..FWFFFFDS..", "............", "............",
                       "............", "............"}));
    }
    Dib dib(12, 12, kBack);
    DibCDC dc(dib);
    looks.xp.PaintMenuCombinedArea(dc, CRect(2, 2, 2, 9), joint, 1, nullptr, 0);
    looks.classic.PaintMenuCombinedArea(dc, CRect(2, 2, 9, 2), joint, 1, nullptr, 0);
    WCHECK_EQ(dib.CountOther({0, 0, 12, 12}, kBack), 0);
}

WTEST(control_bar_borders_follow_the_bar_style) {
    Looks looks;
    const DWORD all = CBRS_BORDER_LEFT | CBRS_BORDER_TOP | CBRS_BORDER_RIGHT | CBRS_BORDER_BOTTOM;
    const struct {
        const char* name;
        bool xp;
        int borderStyle;
        DWORD barStyle;
        std::string picture;
    } cases[] = {
        {"sunken", false, 2, 0, Pic({"SSSSSSSW", "S......W", "S......W", "S......W", "S......W", "WWWWWWWW"})},
        {"xp sunken", true, 2, 0, Pic({"SSSSSSSS", "S......S", "S......S", "S......S", "S......S", "SSSSSSSS"})},
        {"no sides", false, 1, CBRS_BORDER_3D, Pic({"........", "........", "........", "........", "........",
                                                    "........"})},
        {"left and top", true, 1, CBRS_BORDER_LEFT | CBRS_BORDER_TOP,
         Pic({"XXXXXXXX", "........", "X.......", "X.......", "X.......", "X......."})},
        {"all flat", false, 1, all, Pic({"FFFFFFFF", "........", "F......F", "F......F", "........", "FFFFFFFF"})},
        {"all 3d", false, 1, all | CBRS_BORDER_3D,
         Pic({"FFFFFFFF", "FFFFFFFF", "FF....FF", "FF....FF", "FFFFFFFF", "FFFFFFFF"})},
        {"right and bottom 3d", false, 1, CBRS_BORDER_RIGHT | CBRS_BORDER_BOTTOM | CBRS_BORDER_3D,
         Pic({"......FF", "......FF", "......FF", "......FF", "FFFFFFFF", "FFFFFFFF"})},
    };
    for (const auto& c : cases) {
        Dib dib(10, 8, kBack);
        DibCDC dc(dib);
        VEzaPaintManager::PAINTCONTROLBARBORDERSDATA data(nullptr, c.borderStyle, c.barStyle, CRect(1, 1, 9, 7));
        looks.Get(c.xp).PaintControlBarBorders(dc, data);
        CHECK_PIC(c.name, dib.Rows({1, 1, 9, 7}, kLegend), c.picture);
        WCHECK_EQ(dib.CountOther({0, 0, 10, 8}, kBack), dib.CountOther({1, 1, 9, 7}, kBack));
    }
}

WTEST(docking_frames_in_both_looks) {
    Looks looks;
    using D = VEzaPaintManager::PAINTDOCKINGFRAMEDATA;
    const struct {
        const char* name;
        bool xp, floating, extBar;
        std::string picture;
    } cases[] = {
        {"classic floating", false, true, false,
         Pic({"FFFFFFFFFD", "FWWWWWWWSD", "FWFFFFFFSD", "FWF...FFSD", "FWF...FFSD", "FWFFFFFFSD", "FSSSSSSSSD",
              "DDDDDDDDDD"})},
        {"classic docked", false, false, false,
         Pic({"WWWWWWWWWS", "WFFFFFFFFS", "WFFFFFFFFS", "WFF...FFFS", "WFF...FFFS", "WFFFFFFFFS", "WFFFFFFFFS",
              "SSSSSSSSSS"})},
        {"classic docked without edge", false, false, true,
         Pic({"FFFFFFFFFF", "FFFFFFFFFF", "FFFFFFFFFF", "FFF...FFFF", "FFF...FFFF", "FFFFFFFFFF", "FFFFFFFFFF",
              "FFFFFFFFFF"})},
        {"xp floating", true, true, false,
         Pic({"SSSSSSSSSS", "SSSSSSSSSS", "SSSXXXXSSS", "SSX...XXSS", "SSX...XXSS", "SSSXXXXSSS", "SSSSSSSSSS",
              "SSSSSSSSSS"})},
        {"xp docked", true, false, false,
         Pic({"FFFFFFFFFF", "FXXXXXXXXF", "FXXXXXXXXF", "FXX...XXXF", "FXX...XXXF", "FXXXXXXXXF", "FXXXXXXXXF",
              "FFFFFFFFFF"})},
        {"xp docked without frame", true, false, true,
         Pic({"XXXXXXXXXX", "XXXXXXXXXX", "XXXXXXXXXX", "XXX...XXXX", "XXX...XXXX", "XXXXXXXXXX", "XXXXXXXXXX",
              "XXXXXXXXXX"})},
    };
    for (const auto& c : cases) {
        Dib dib(12, 10, kBack);
        DibCDC dc(dib);
        D data(nullptr, CRect(1, 1, 11, 9), CRect(4, 4, 7, 6), c.floating, c.extBar, false);
        looks.Get(c.xp).PaintDockingFrame(dc, data);
        // The XP floating fill (2009) is the XP face.
        CHECK_PIC(c.name, dib.Rows({1, 1, 11, 9}, kLegend), c.picture);
        WCHECK_EQ(dib.CountOther({0, 0, 12, 10}, kBack), dib.CountOther({1, 1, 11, 9}, kBack));
    }
    // A toolbar that leaves its background to its parent gets no frame.
    VEzaToolControlBar toolbar;
    toolbar.SetBackgroundInherited(true);
    for (bool xp : {false, true}) {
        Dib dib(12, 10, kBack);
        DibCDC dc(dib);
        D data(&toolbar, CRect(1, 1, 11, 9), CRect(4, 4, 7, 6), false, false, false);
        looks.Get(xp).PaintDockingFrame(dc, data);
        WCHECK_EQ(dib.CountOther({0, 0, 12, 10}, kBack), 0);
    }
}

WTEST(toolbar_grippers_classic) {
    Looks looks;
    using G = VEzaPaintManager::PAINTGRIPPERDATA;
    for (bool horzBar : {true, false}) {
        Dib dib(14, 14, kBack);
        DibCDC dc(dib);
        G data(nullptr, CRect(0, 0, 12, 12), CRect(0, 0, 0, 0), false, false, horzBar);
        looks.classic.PaintGripper(dc, data);
        const std::string want =
            horzBar ? Pic({"..............", "....WWSWWS....", "....W.SW.S....", "....W.SW.S....",
                           "....W.SW.S....", "....W.SW.S....", "....W.SW.S....", "....W.SW.S...."})
                    : Pic({"..............", "..............", "..............", "..............",
                           ".WWWWWWWWWWS..", ".W.........S..", ".SSSSSSSSSSS..", ".WWWWWWWWWWS.."});
        CHECK_PIC(horzBar ? "across" : "along", dib.Rows({0, 0, 14, 8}, kLegend), want);
        // Across, the bars end at the gripper's bottom; along, the second
        // bar is the first three rows down.
        if (horzBar) {
            WCHECK_EQ(dib.Rows({0, 10, 14, 14}, kLegend),
                      Pic({"....W.SW.S....", "....SSSSSS....", "..............", ".............."}));
        } else {
            WCHECK_EQ(dib.Rows({0, 8, 14, 14}, kLegend),
                      Pic({".W.........S..", ".SSSSSSSSSSS..", "..............", "..............",
                           "..............", ".............."}));
        }
    }
}

namespace {

}  // namespace

WTEST(caption_grippers_classic) {
    using G = VEzaPaintManager::PAINTGRIPPERDATA;
    const CRect gripper(0, 0, 70, 20), text(4, 3, 60, 17);
    const COLORREF active = InjectedSystem::Chosen(COLOR_ACTIVECAPTION),
                   activeEnd = InjectedSystem::Chosen(COLOR_GRADIENTACTIVECAPTION),
                   inactive = InjectedSystem::Chosen(COLOR_INACTIVECAPTION),
                   activeText = InjectedSystem::Chosen(COLOR_CAPTIONTEXT),
                   inactiveText = InjectedSystem::Chosen(COLOR_INACTIVECAPTIONTEXT);
    const COLORREF highlightText = InjectedSystem::kHighlightText;
    const struct {
        const char* name;
        int bpp;
        bool active, floating, sideBar, rtl;
        CRect filled;
        COLORREF left, right, ink;
    } cases[] = {
        {"active, palette", 8, true, false, true, false, CRect(1, 1, 69, 19), active, active, activeText},
        {"inactive, palette", 8, false, false, true, false, CRect(1, 1, 69, 19), inactive, inactive, inactiveText},
        {"active gradient", 32, true, false, true, false, CRect(1, 1, 69, 19), active, activeEnd, activeText},
        {"right to left gradient", 32, true, false, true, true, CRect(1, 1, 69, 19), activeEnd, active, activeText},
        {"floating", 32, false, true, false, false, CRect(0, 0, 70, 20), kHighlight, kHighlight, highlightText},
    };
    for (const auto& c : cases) {
        Looks looks(c.bpp);
        Dib dib(72, 22, kBack);
        DibCDC dc(dib);
        G data(nullptr, gripper, text, c.active, c.floating, false, c.sideBar, "Properties", c.rtl);
        looks.classic.PaintGripper(dc, data);
        const std::string name = c.name;
        WCHECK_EQ(dib.At(c.filled.left, c.filled.top), c.left);
        WCHECK_EQ(dib.At(c.filled.left, c.filled.bottom - 1), c.left);
        if (c.left == c.right) {
            WCHECK_EQ(dib.At(c.filled.right - 1, c.filled.bottom - 1), c.right);
        } else {
            // The far end of the gradient within a band's step.
            const COLORREF farEnd = dib.At(c.filled.right - 1, c.filled.top);
            WCHECK(std::abs(int(GetRValue(farEnd)) - int(GetRValue(c.right))) <= 1);
        }
        WCHECK_EQ(dib.CountOther({0, 0, 72, 22}, kBack), c.filled.Width() * c.filled.Height());
        // The caption text in its colour, inside the caption rectangle, at
        // its leading side.
        if (c.left == c.right) {
            if (CountOf(dib, text, c.ink) == 0) wtest::fail(__FILE__, __LINE__, name + ": no text");
            const CRect all = Ink(dib, c.filled, c.left);
            if (!(all.left >= text.left && all.right <= text.right && all.top >= text.top &&
                  all.bottom <= text.bottom))
                wtest::fail(__FILE__, __LINE__, name + ": text outside its rectangle");
            WCHECK(all.left < text.left + 4);
        }
    }
}

WTEST(caption_text_is_cut_only_when_given) {
    using G = VEzaPaintManager::PAINTGRIPPERDATA;
    Looks looks(8);
    for (LPCSTR caption : {static_cast<LPCSTR>(nullptr), ""}) {
        Dib dib(72, 22, kBack);
        DibCDC dc(dib);
        G data(nullptr, CRect(0, 0, 70, 20), CRect(4, 3, 60, 17), true, false, false, true, caption);
        looks.classic.PaintGripper(dc, data);
        WCHECK_EQ(CountOf(dib, {0, 0, 72, 22}, InjectedSystem::Chosen(COLOR_ACTIVECAPTION)), 68 * 18);
    }
    // A vertical caption runs upwards inside its rectangle; nothing of it
    // lands above the caption rectangle.
    Dib dib(24, 90, kBack);
    DibCDC dc(dib);
    G data(nullptr, CRect(0, 0, 20, 88), CRect(2, 20, 18, 86), true, false, true, true, "Properties of it all");
    looks.classic.PaintGripper(dc, data);
    const COLORREF fill = InjectedSystem::Chosen(COLOR_ACTIVECAPTION);
    const CRect ink = Ink(dib, {1, 1, 19, 87}, fill);
    WCHECK(!ink.IsRectEmpty());
    WCHECK(ink.top >= 20);
    WCHECK(ink.bottom <= 86);
    WCHECK(ink.left >= 2 && ink.right <= 18);
    // Turned text is taller than wide.
    WCHECK(ink.Height() > ink.Width());
}

WTEST(resizing_gripper_diagonals) {
    Looks looks;
    for (bool xp : {false, true}) {
        Dib dib(14, 14, kBack);
        DibCDC dc(dib);
        looks.Get(xp).PaintResizingGripper(dc, CRect(1, 1, 13, 13), nullptr, 0);
        CHECK_PIC(xp ? "xp" : "classic", dib.Rows({1, 1, 13, 13}, kLegend),
                  Pic({"...........W", "..........WS", ".........WSS", "........WSS.", ".......WSS.W", "......WSS.WS",
                       ".....WSS.WSS", "....WSS.WSS.", "...WSS.WSS.W", "..WSS.WSS.WS", ".WSS.WSS.WSS",
                       "WSS.WSS.WSS."}));
        dib.Fill(kBack);
        looks.Get(xp).PaintResizingGripper(dc, CRect(13, 13, 1, 1), nullptr, 0);
        WCHECK_EQ(dib.CountOther({0, 0, 14, 14}, kBack), 0);
    }
}

WTEST(control_frames_by_state) {
    Looks looks;
    using C = VEzaPaintManager::PAINTCONTROLFRAMEDATA;
    const COLORREF face = kFace;
    const struct {
        bool xp, hover, enabled, focus;
        COLORREF fourthTL, fourthBR, fifthTL, fifthBR;
    } cases[] = {
        {false, true, false, true, face, face, face, face},
        {false, false, true, false, face, face, face, face},
        {false, true, true, false, kShadow, kLight, face, face},
        {false, false, true, true, kShadow, kLight, face, face},
        {false, true, true, true, kDark, face, kShadow, kLight},
        {true, true, false, true, kXpFace, kXpFace, kXpFace, kXpFace},
        {true, false, true, false, kXpFace, kXpFace, kXpFace, kXpFace},
        {true, true, true, false, kHighlight, kHighlight, kXpFace, kXpFace},
        {true, false, true, true, kHighlight, kHighlight, kXpFace, kXpFace},
        {true, true, true, true, kHighlight, kHighlight, kHighlight, kHighlight},
    };
    for (const auto& c : cases) {
        Dib dib(14, 14, kBack);
        DibCDC dc(dib);
        C data(nullptr, CRect(5, 5, 9, 9), false, c.hover, c.enabled, c.focus);
        looks.Get(c.xp).PaintControlFrame(dc, data);
        WCHECK_EQ(dib.CountOther({5, 5, 9, 9}, kBack), 0);
        // Three window-coloured rings of 6, 8 and 10 pixels a side.
        WCHECK_EQ(dib.CountOther({2, 2, 12, 12}, kBack), 20 + 28 + 36);
        for (int i = 2; i <= 4; ++i) {
            WCHECK_EQ(dib.At(i, i), kLight);
            WCHECK_EQ(dib.At(13 - i, 13 - i), kLight);
        }
        WCHECK_EQ(dib.At(1, 1), c.fourthTL);
        WCHECK_EQ(dib.At(12, 12), c.fourthBR);
        WCHECK_EQ(dib.At(0, 0), c.fifthTL);
        WCHECK_EQ(dib.At(13, 13), c.fifthBR);
    }
}

WTEST(frames_leave_the_callers_clip_region_as_they_found_it) {
    Looks looks;
    const COLORREF kRed = RGB(250, 0, 0);
    auto clipAfter = [&](const std::function<void(CDC&)>& paint) {
        Dib dib(20, 20, kBack);
        DibCDC dc(dib);
        dc.IntersectClipRect(2, 2, 18, 18);
        paint(dc);
        dib.Fill(kBack);
        dc.FillSolidRect(0, 0, 20, 20, kRed);
        return CountOf(dib, {0, 0, 20, 20}, kRed);
    };
    using D = VEzaPaintManager::PAINTDOCKINGFRAMEDATA;
    for (bool xp : {false, true}) {
        WCHECK_EQ(clipAfter([&](CDC& dc) {
                      looks.Get(xp).PaintMenuCombinedArea(dc, CRect(4, 4, 12, 10), CRect(4, 8, 12, 12), 1, nullptr, 0);
                  }),
                  16 * 16);
    }
    WCHECK_EQ(clipAfter([&](CDC& dc) {
                  D data(nullptr, CRect(0, 0, 20, 20), CRect(6, 6, 14, 14), true, false, false);
                  looks.xp.PaintDockingFrame(dc, data);
              }),
              16 * 16);
    // The classic docking frame leaves the client area cut out, for the
    // caller's painting of the frame's other parts.
    WCHECK_EQ(clipAfter([&](CDC& dc) {
                  D data(nullptr, CRect(0, 0, 20, 20), CRect(6, 6, 14, 14), true, false, false);
                  looks.classic.PaintDockingFrame(dc, data);
              }),
              16 * 16 - 8 * 8);
}

WTEST(combo_frames_by_state) {
    Looks looks;
    const int thumb = ::GetSystemMetrics(SM_CXHTHUMB);
    const int b = 39 - thumb;  // the button area's left, inside the outer frame
    const COLORREF kGreen = RGB(0, 128, 0);
    const struct {
        const char* name;
        bool xp, hover, pushed, enabled;
        COLORREF inner;
        // The outer frame's top-left and bottom-right, the inner frame, the
        // button area's top-left corner, the field strip beside it.
        COLORREF outerTL, outerBR, innerFrame, buttonCorner, strip;
    } cases[] = {
        {"classic", false, false, false, true, COLORREF(-1), kFace, kFace, kFace, kLight, kLight},
        {"classic hover", false, true, false, true, COLORREF(-1), kShadow, kLight, kFace, kFace, kLight},
        {"classic pushed", false, false, true, true, COLORREF(-1), kShadow, kLight, kFace, kFace, kLight},
        {"classic disabled", false, false, false, false, COLORREF(-1), kFace, kFace, kLight, kLight, kFace},
        {"classic coloured", false, false, false, true, kGreen, kFace, kFace, kGreen, kGreen, kGreen},
        {"classic coloured hover", false, true, false, true, kGreen, kShadow, kLight, kFace, kFace, kLight},
        {"xp", true, false, false, true, COLORREF(-1), kXpFace, kXpFace, kXpMenu, kXpMenu, kLight},
        {"xp hover", true, true, false, true, COLORREF(-1), kXpFace, kXpFace, kHighlight, kHighlight, kLight},
        {"xp disabled", true, false, false, false, COLORREF(-1), kXpFace, kXpFace, kXpMenu, kXpMenu, kFace},
        {"xp coloured", true, false, false, true, kGreen, kXpFace, kXpFace, kGreen, kGreen, kGreen},
    };
    for (const auto& c : cases) {
        Dib dib(42, 18, kBack);
        DibCDC dc(dib);
        VEzaPaintManager::PAINTCOMBOFRAMEDATA data(nullptr, CRect(0, 0, 40, 16), c.hover, c.pushed, c.enabled);
        data.m_clrInner = c.inner;
        looks.Get(c.xp).PaintComboFrame(dc, data);
        const std::string got = Hex(dib.At(0, 0)) + " " + Hex(dib.At(39, 15)) + " " + Hex(dib.At(1, 8)) + " " +
                                Hex(dib.At(b, 1)) + " " + Hex(dib.At(b - 2, 8)) + " " + Hex(dib.At(b - 3, 8));
        const std::string want = Hex(c.outerTL) + " " + Hex(c.outerBR) + " " + Hex(c.innerFrame) + " " +
                                 Hex(c.buttonCorner) + " " + Hex(c.strip) + " " + Hex(kBack);
        if (got != want) wtest::fail(__FILE__, __LINE__, std::string(c.name) + ": " + got + ", want " + want);
        // Nothing outside the rectangle.
        WCHECK_EQ(dib.CountOther({40, 0, 42, 18}, kBack) + dib.CountOther({0, 16, 40, 18}, kBack), 0);
    }
    // Without the outer frame (inside menus and bars) the XP frame leaves
    // the outermost ring alone.
    Dib dib(42, 18, kBack);
    DibCDC dc(dib);
    VEzaPaintManager::PAINTCOMBOFRAMEDATA data(nullptr, CRect(0, 0, 40, 16), false, false, true);
    data.m_bNoOuterFrame = true;
    looks.xp.PaintComboFrame(dc, data);
    WCHECK_EQ(dib.At(0, 0), kBack);
    WCHECK_EQ(dib.At(1, 1), kXpMenu);
}
