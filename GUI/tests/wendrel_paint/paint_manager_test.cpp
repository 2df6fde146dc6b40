// The paint managers off-screen: colour arithmetic and HLS, glyph turning,
// half-tone bitmaps, the palette, colour and brush tables with chosen system
// colours at both display depths, helper brushes, font derivation, the OS
// flags, the visual-style binding on its themed and unthemed paths, and
// installation with the change broadcast reaching every bridge.
#include <cmath>
#include <cstring>

#include "paint_test_util.h"

using namespace pt;

namespace {

// The pixel of a bitmap, through a 32-bit copy.
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return c;
}

}  // namespace

WTEST(blend_colors_by_percent_and_per_mille) {
    WCHECK_EQ(Hex(VEzaPaintManager::stat_BlendColors(RGB(255, 255, 255), 0, 50)), Hex(RGB(128, 128, 128)));
    WCHECK_EQ(Hex(VEzaPaintManager::stat_BlendColors(RGB(255, 255, 255), 0, 143)), Hex(RGB(36, 36, 36)));
    WCHECK_EQ(Hex(VEzaPaintManager::stat_BlendColors(RGB(255, 0, 0), RGB(0, 0, 255), 0)), Hex(RGB(0, 0, 255)));
    WCHECK_EQ(Hex(VEzaPaintManager::stat_BlendColors(RGB(255, 0, 0), RGB(0, 0, 255), 1000)), Hex(RGB(255, 0, 0)));
}

WTEST(hls_conversions_and_adjustments) {
    struct Case {
        COLORREF colour;
        double h, l, s;
        COLORREF back;  // channels are truncated on the way back
    } cases[] = {
        {RGB(255, 0, 0), 0.0, 0.5, 1.0, RGB(255, 0, 0)},
        {RGB(0, 255, 0), 1.0 / 3.0, 0.5, 1.0, RGB(0, 255, 0)},
        {RGB(0, 0, 255), 2.0 / 3.0, 0.5, 1.0, RGB(0, 0, 255)},
        {RGB(255, 255, 255), 0.0, 1.0, 0.0, RGB(255, 255, 255)},
        {RGB(0, 0, 0), 0.0, 0.0, 0.0, RGB(0, 0, 0)},
        {RGB(255, 0, 255), 5.0 / 6.0, 0.5, 1.0, RGB(255, 0, 254)},
    };
    for (const Case& c : cases) {
        double h = -1, l = -1, s = -1;
        VEzaPaintManager::stat_ColorToHLS(c.colour, h, l, s);
        WCHECK(std::fabs(h - c.h) < 1e-9);
        WCHECK(std::fabs(l - c.l) < 1e-9);
        WCHECK(std::fabs(s - c.s) < 1e-9);
        WCHECK_EQ(Hex(VEzaPaintManager::stat_HLSToColor(h, l, s)), Hex(c.back));
    }
    // Grey: the integer part of luminance·255.
    WCHECK_EQ(Hex(VEzaPaintManager::stat_HLSToColor(0.3, 0.5, 0.0)), Hex(RGB(127, 127, 127)));
    const COLORREF red = RGB(255, 0, 0);
    WCHECK_EQ(Hex(VEzaPaintManager::stat_AdjustColorHLS(red, 0, 1.0, 0)), Hex(RGB(255, 255, 255)));
    WCHECK_EQ(Hex(VEzaPaintManager::stat_AdjustColorHLS(red, 0, 0, -1.0)), Hex(RGB(127, 127, 127)));
    WCHECK_EQ(Hex(VEzaPaintManager::stat_AdjustColorHLS(red, 0, -1.0, 0)), Hex(RGB(0, 0, 0)));
    WCHECK_EQ(Hex(VEzaPaintManager::stat_AdjustColorHLS(red, 0, 0, 0)), Hex(red));
    // Luminance +0.5 moves red half way to white: l 0.75, s 1 → (255,127,127).
    WCHECK_EQ(Hex(VEzaPaintManager::stat_AdjustColorHLS(red, 0, 0.5, 0)), Hex(RGB(255, 127, 127)));
}

WTEST(glyphs_turn_clockwise_and_copies_own_their_pixels) {
    using glyph_t = VEzaPaintManager::glyph_t;
    const glyph_t& arrow = VEzaPaintManager::GlyphExpandBottom();
    auto rows = [](const glyph_t& g) {
        std::string s;
        for (UINT y = 0; y < g.GetHeight(); ++y) {
            for (UINT x = 0; x < g.GetWidth(); ++x) s += g.GetColorPixel(int(x), int(y)) ? 'X' : '.';
            s += '|';
        }
        return s;
    };
    WCHECK_EQ(rows(arrow), std::string("XXXXX|.XXX.|..X..|"));
    WCHECK_EQ(rows(VEzaPaintManager::GlyphExpandRight2()),
              std::string("XX..XX..|.XX..XX.|..XX..XX|.XX..XX.|XX..XX..|"));
    glyph_t turned(arrow);
    turned.Rotate(90);
    WCHECK_EQ(turned.GetWidth(), 3u);
    WCHECK_EQ(turned.GetHeight(), 5u);
    // The first row is the first column read from the bottom up.
    WCHECK_EQ(rows(turned), std::string("..X|.XX|XXX|.XX|..X|"));
    WCHECK_EQ(rows(VEzaPaintManager::GlyphExpandBottomTurned()), rows(turned));
    glyph_t half(arrow);
    half.Rotate(180);
    WCHECK_EQ(rows(half), std::string("..X..|.XXX.|XXXXX|"));
    glyph_t three(arrow);
    three.Rotate(270);
    glyph_t quarters(arrow);
    for (int i = 0; i < 3; ++i) quarters.Rotate(90);
    WCHECK_EQ(rows(three), rows(quarters));
    quarters.Rotate(90);
    WCHECK_EQ(rows(quarters), rows(arrow));
    glyph_t odd(arrow);
    odd.Rotate(45);
    WCHECK_EQ(rows(odd), rows(arrow));
    // Turning a glyph over static data leaves the data alone.
    glyph_t shared(5, 3, 1, arrow.GetSurface());
    shared.Rotate(90);
    WCHECK(shared.GetSurface() != arrow.GetSurface());
    WCHECK_EQ(rows(arrow), std::string("XXXXX|.XXX.|..X..|"));
}

WTEST(halftone_bitmaps_follow_the_mask_rule) {
    const COLORREF a = RGB(200, 10, 10), b = RGB(10, 200, 10);
    struct Case {
        int xo, yo;
        COLORREF override_;
        const char* rows;  // 4 by 4 top-left corner, A or B
    } cases[] = {
        {0, 0, COLORREF(-1), "ABAB|BABA|ABAB|BABA|"},
        {1, 1, b, "ABAB|BBBB|ABAB|BBBB|"},
        {2, 2, b, "ABBB|BABB|BBBB|BBBB|"},
        {1, 1, COLORREF(-1), "AAAA|AAAA|AAAA|AAAA|"},
    };
    for (const Case& c : cases) {
        HBITMAP bitmap = VEzaPaintManager::stat_GenerateHalftoneBitmap(a, b, 1, 1, c.xo, c.yo, c.override_);
        WCHECK(bitmap != nullptr);
        BITMAP info = {};
        ::GetObjectA(bitmap, sizeof info, &info);
        WCHECK_EQ(info.bmWidth, 16L);
        WCHECK_EQ(info.bmHeight, 16L);
        std::string s;
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                const COLORREF p = BitmapPixel(bitmap, x, y);
                s += p == a ? 'A' : p == b ? 'B' : '?';
            }
            s += '|';
        }
        WCHECK_EQ(s, std::string(c.rows));
        ::DeleteObject(bitmap);
    }
}

WTEST(wide_palette_has_252_entries_red_outermost) {
    VEzaPaintManager pm;
    WCHECK_EQ(pm.m_PaletteWide.GetEntryCount(), 252u);
    PALETTEENTRY e[252] = {};
    WCHECK_EQ(pm.m_PaletteWide.GetPaletteEntries(0, 252, e), 252u);
    auto rgb = [](const PALETTEENTRY& p) { return Hex(RGB(p.peRed, p.peGreen, p.peBlue)); };
    WCHECK_EQ(rgb(e[0]), Hex(RGB(0, 0, 0)));
    WCHECK_EQ(rgb(e[1]), Hex(RGB(0, 0, 51)));
    WCHECK_EQ(rgb(e[6]), Hex(RGB(0, 51, 0)));
    WCHECK_EQ(rgb(e[36]), Hex(RGB(42, 0, 0)));
    WCHECK_EQ(rgb(e[72]), Hex(RGB(85, 0, 0)));
    WCHECK_EQ(rgb(e[251]), Hex(RGB(255, 255, 255)));
}

WTEST(colour_and_brush_tables_fall_back_to_the_button_face) {
    InjectedSystem system(32);
    VEzaPaintManager pm;
    // Before the first system event: the system's face, not a failure.
    WCHECK_EQ(Hex(pm.GetColor(5)), Hex(InjectedSystem::kFace));
    pm.OnSysColorChange();
    WCHECK_EQ(pm.m_colors.GetSize(), INT_PTR(50));
    WCHECK_EQ(pm.m_brushes.GetSize(), INT_PTR(50));
    for (int i = 0; i < 50; ++i) {
        WCHECK_EQ(Hex(pm.GetColor(i)), Hex(InjectedSystem::Chosen(i)));
        WCHECK(pm.GetBrush(i) == InjectedSystem::BrushOf(i));
    }
    for (int index : {-5, 50, 999, 2001, 2011, 5000}) WCHECK_EQ(Hex(pm.GetColor(index)), Hex(InjectedSystem::kFace));
    for (int index : {-1, 50, 1000}) WCHECK(pm.GetBrush(index) == InjectedSystem::BrushOf(COLOR_BTNFACE));
    WCHECK_EQ(Hex(pm.GetMenuFrameFillColor(nullptr, 0)), Hex(InjectedSystem::kFace));
}

WTEST(classic_translated_colours_are_system_colours) {
    InjectedSystem system(32);
    VEzaPaintManager pm;
    pm.OnSysColorChange();
    const struct {
        int index;
        std::vector<int> ids;
    } table[] = {
        {COLOR_BTNFACE, {1000, 1001, 2000, 1018, 1020}}, {COLOR_3DLIGHT, {1002, 1003, 2002}},
        {COLOR_BTNHIGHLIGHT, {1004, 1005, 2004}},         {COLOR_BTNSHADOW, {1006, 1007, 2006, 2010}},
        {COLOR_3DDKSHADOW, {1008, 1009, 2008}},          {COLOR_WINDOWTEXT, {1010, 1011, 1014, 1015}},
        {COLOR_WINDOW, {1012, 1013}},                    {COLOR_HIGHLIGHTTEXT, {1016, 1017}},
        {COLOR_HIGHLIGHT, {1019, 1021}},
    };
    for (const auto& row : table)
        for (int id : row.ids) WCHECK_EQ(Hex(pm.GetColor(id)), Hex(InjectedSystem::Chosen(row.index)));
    WCHECK_EQ(pm.m_colors.GetSize(), INT_PTR(50));
    WCHECK_EQ(pm.m_DSS_DISABLED_style, DSS_DISABLED);
}

WTEST(xp_translated_colours_are_mixed_on_deep_displays) {
    InjectedSystem system(32);
    VEzaPaintManagerXP pm;
    pm.OnSysColorChange();
    const struct {
        int id;
        COLORREF colour;
    } table[] = {
        {1000, RGB(219, 216, 209)}, {1001, RGB(182, 189, 210)}, {1002, RGB(112, 112, 112)},
        {1009, RGB(112, 112, 112)}, {1011, RGB(0, 0, 0)},       {2011, RGB(166, 166, 166)},
        {2000, RGB(219, 216, 209)}, {2001, RGB(249, 248, 247)}, {2002, RGB(166, 166, 166)},
        {2003, RGB(133, 146, 181)}, {2004, InjectedSystem::kHighlight}, {2005, RGB(204, 200, 193)},
        {2007, RGB(102, 102, 102)}, {2008, RGB(249, 248, 247)}, {2009, RGB(219, 216, 209)},
        {1012, RGB(249, 248, 247)}, {1013, RGB(249, 248, 247)}, {1010, InjectedSystem::kWindowText},
        {1014, InjectedSystem::kWindowText}, {1017, InjectedSystem::kWindowText},
        {2006, InjectedSystem::kHighlightText}, {2010, InjectedSystem::kFace},
        {1018, InjectedSystem::kFace}, {1019, InjectedSystem::kHighlight},
    };
    for (const auto& row : table) {
        if (Hex(pm.GetColor(row.id)) != Hex(row.colour))
            wtest::fail(__FILE__, __LINE__, "id " + std::to_string(row.id) + ": " + Hex(pm.GetColor(row.id)));
    }
    WCHECK_EQ(pm.m_colors.GetSize(), INT_PTR(66));
    WCHECK_EQ(Hex(pm.GetMenuFrameFillColor(nullptr, 0)), Hex(RGB(249, 248, 247)));
    WCHECK_EQ(pm.m_DSS_DISABLED_style, DSS_MONO);
}

WTEST(xp_translated_colours_are_plain_on_palette_displays) {
    InjectedSystem system(8);
    VEzaPaintManagerXP pm;
    pm.OnSysColorChange();
    const struct {
        int id;
        COLORREF colour;
    } table[] = {
        {1000, InjectedSystem::kFace},   {1001, InjectedSystem::kFace},   {1002, InjectedSystem::kShadow},
        {1011, InjectedSystem::kLight},  {2011, InjectedSystem::kShadow}, {2001, InjectedSystem::kWindow},
        {2003, InjectedSystem::kShadow}, {2004, InjectedSystem::kText},   {2005, InjectedSystem::kShadow},
        {2007, RGB(102, 102, 102)},      {1012, InjectedSystem::kWindow}, {2009, InjectedSystem::kFace},
    };
    for (const auto& row : table) {
        if (Hex(pm.GetColor(row.id)) != Hex(row.colour))
            wtest::fail(__FILE__, __LINE__, "id " + std::to_string(row.id) + ": " + Hex(pm.GetColor(row.id)));
    }
}

// Each change used to append a further set of mixed colours.
WTEST(xp_colour_table_does_not_grow_on_repeated_changes) {
    InjectedSystem system(32);
    VEzaPaintManagerXP pm;
    pm.OnSysColorChange();
    const INT_PTR size = pm.m_colors.GetSize();
    pm.OnSettingChange(0, nullptr);
    pm.OnDisplayChange(32, CPoint(1280, 1024));
    pm.OnThemeChanged(0, 0);
    pm.OnSysColorChange();
    WCHECK_EQ(pm.m_colors.GetSize(), size);
    WCHECK_EQ(Hex(pm.GetColor(2001)), Hex(RGB(249, 248, 247)));
}

WTEST(helper_brushes_are_solid_mixes_or_patterns_by_depth) {
    {
        InjectedSystem system(32);
        VEzaPaintManager pm;
        pm.OnSysColorChange();
        const COLORREF expected[12] = {
            RGB(233, 231, 227), RGB(233, 231, 227), RGB(170, 168, 164), RGB(170, 168, 164),
            RGB(238, 236, 233), RGB(238, 236, 233), RGB(162, 160, 157), RGB(162, 160, 157),
            RGB(246, 246, 244), RGB(246, 246, 244), RGB(145, 144, 142), RGB(145, 144, 142),
        };
        for (int i = 0; i < 12; ++i) {
            LOGBRUSH lb = {};
            pm.m_brushHelper[i].GetLogBrush(&lb);
            WCHECK_EQ(lb.lbStyle, UINT(BS_SOLID));
            if (Hex(lb.lbColor) != Hex(expected[i]))
                wtest::fail(__FILE__, __LINE__, "brush " + std::to_string(i + 1) + ": " + Hex(lb.lbColor));
        }
    }
    {
        InjectedSystem system(8);
        VEzaPaintManager pm;
        pm.OnSysColorChange();
        for (int i = 0; i < 12; ++i) {
            LOGBRUSH lb = {};
            pm.m_brushHelper[i].GetLogBrush(&lb);
            WCHECK_EQ(lb.lbStyle, UINT(BS_PATTERN));
        }
        // Brush 1 paints a checkerboard of face and highlight; brush 11 one of
        // dark shadow and shadow.
        Dib dib(4, 2, 0);
        RECT r = {0, 0, 4, 2};
        ::FillRect(dib.dc(), &r, static_cast<HBRUSH>(pm.m_brushHelper[0].GetSafeHandle()));
        const auto legend = std::vector<std::pair<COLORREF, char>>{{InjectedSystem::kFace, 'F'},
                                                                  {InjectedSystem::kLight, 'L'},
                                                                  {InjectedSystem::kDark, 'D'},
                                                                  {InjectedSystem::kShadow, 'S'}};
        WCHECK_EQ(dib.Rows(r, legend), std::string("FLFL\nLFLF\n"));
        ::FillRect(dib.dc(), &r, static_cast<HBRUSH>(pm.m_brushHelper[10].GetSafeHandle()));
        WCHECK_EQ(dib.Rows(r, legend), std::string("DSDS\nSDSD\n"));
    }
}

namespace {

// A classic manager whose system menu font is chosen by the test.
class FontManager : public VEzaPaintManager {
public:
    explicit FontManager(LONG height) : m_height(height) {}
    HFONT CreateDefaultFont() override {
        LOGFONTA lf = {};
        lf.lfHeight = m_height;
        lf.lfWeight = FW_NORMAL;
        ::lstrcpyA(lf.lfFaceName, "Liberation Sans");
        return ::CreateFontIndirectA(&lf);
    }
    LONG m_height;
};

LOGFONTA Log(const CFont& font) {
    LOGFONTA lf = {};
    font.GetLogFont(&lf);
    return lf;
}

}  // namespace

WTEST(fonts_derive_from_the_normal_font) {
    for (LONG height : {-14L, -8L, 16L}) {
        FontManager pm(height);
        pm.SyncSysColors();
        const LONG caption = height < -11 ? -11 : height;
        WCHECK_EQ(Log(pm.m_FontNormal).lfHeight, height);
        WCHECK_EQ(Log(pm.m_FontBold).lfWeight, 900L);
        WCHECK_EQ(Log(pm.m_FontBold).lfHeight, height);
        WCHECK_EQ(Log(pm.m_FontNormalVert).lfEscapement, 2700L);
        WCHECK_EQ(Log(pm.m_FontNormalVertX).lfEscapement, 900L);
        WCHECK_EQ(Log(pm.m_FontBoldVert).lfEscapement, 2700L);
        WCHECK_EQ(Log(pm.m_FontBoldVert).lfWeight, 900L);
        WCHECK_EQ(Log(pm.m_FontBoldVertX).lfEscapement, 900L);
        WCHECK_EQ(std::string(Log(pm.m_FontNormalVert).lfFaceName), std::string("Liberation Sans"));
        const CFont* captions[] = {&pm.m_FontNormalBC, &pm.m_FontNormalVertBC, &pm.m_FontNormalVertXBC,
                                   &pm.m_FontBoldBC, &pm.m_FontBoldVertBC, &pm.m_FontBoldVertXBC};
        for (const CFont* f : captions) WCHECK_EQ(Log(*f).lfHeight, caption);
        WCHECK_EQ(Log(pm.m_FontBoldVertXBC).lfEscapement, 900L);
        WCHECK_EQ(Log(pm.m_FontBoldVertXBC).lfWeight, 900L);
        const LOGFONTA symbol = Log(pm.m_FontMarlett);
        WCHECK_EQ(std::string(symbol.lfFaceName), std::string("Marlett"));
        WCHECK_EQ(int(symbol.lfCharSet), SYMBOL_CHARSET);
        WCHECK_EQ(symbol.lfWeight, 0L);
        WCHECK_EQ(symbol.lfHeight, LONG(::GetSystemMetrics(SM_CYMENUCHECK) - 1));
    }
    // Rotated text in Arial on systems whose default face does not turn.
    const OSVERSIONINFOA saved = g_PaintManager.m_osVerData;
    OSVERSIONINFOA nt4 = saved;
    nt4.dwPlatformId = VER_PLATFORM_WIN32_NT;
    nt4.dwMajorVersion = 4;
    nt4.dwMinorVersion = 0;
    g_PaintManager.InitOsFlags(nt4);
    {
        FontManager pm(-12);
        pm.SyncSysColors();
        WCHECK_EQ(std::string(Log(pm.m_FontNormalVert).lfFaceName), std::string("Arial"));
        WCHECK_EQ(std::string(Log(pm.m_FontBoldVertX).lfFaceName), std::string("Arial"));
        WCHECK_EQ(std::string(Log(pm.m_FontNormal).lfFaceName), std::string("Liberation Sans"));
    }
    g_PaintManager.InitOsFlags(saved);
}

WTEST(default_font_prefers_tahoma_on_2000_and_later) {
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    WCHECK(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    VEzaPaintManager pm;
    WCHECK((pm.m_nOptions & VEzaPaintManager::OptPreferTahoma) != 0);
    pm.SyncSysColors();
    WCHECK_EQ(std::string(Log(pm.m_FontNormal).lfFaceName), std::string("Tahoma"));
    WCHECK_EQ(Log(pm.m_FontNormal).lfHeight, metrics.lfMenuFont.lfHeight);
    pm.m_nOptions &= BYTE(~VEzaPaintManager::OptPreferTahoma);
    pm.SyncSysColors();
    WCHECK_EQ(std::string(Log(pm.m_FontNormal).lfFaceName), std::string(metrics.lfMenuFont.lfFaceName));
    TEXTMETRICA tm = {};
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, pm.m_FontNormal.GetSafeHandle());
    ::GetTextMetricsA(dc, &tm);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    WCHECK_EQ(pm.GetTextHeight(true), int(tm.tmHeight) + 2);
}

WTEST(os_flags_and_version_text_from_version_records) {
    using A = VEzaPaintManager::VEzaPaintManagerAutoPtr;
    const OSVERSIONINFOA saved = g_PaintManager.m_osVerData;
    const struct {
        DWORD platform, major, minor;
        WORD flags;
        const char* name;
    } cases[] = {
        {0, 3, 1, A::OsWin32s, "Win32s"},
        {1, 4, 0, A::OsWin9x | A::OsWin95, "Windows 95"},
        {1, 4, 10, A::OsWin9x | A::OsWin98orLater | A::OsWin98, "Windows 98"},
        {1, 5, 0, A::OsWin9x | A::OsWin98orLater, "Windows 98 or later"},
        {2, 3, 51, A::OsWinNT, "Windows NT"},
        {2, 4, 0, A::OsWinNT | A::OsWinNT4 | A::OsWinNT4orLater, "Windows NT"},
        {2, 5, 0, A::OsWinNT | A::OsWin2000 | A::OsWinNT4orLater | A::OsWin2000orLater, "Windows 2000"},
        {2, 5, 1, A::OsWinNT | A::OsWinXP | A::OsWinNT4orLater | A::OsWin2000orLater | A::OsWinXPorLater,
         "Windows XP"},
        {2, 5, 2, A::OsWinNT | A::OsWinNT4orLater | A::OsWin2000orLater | A::OsWinXPorLater, ""},
        {2, 6, 1, A::OsWinNT | A::OsWinNT4orLater | A::OsWin2000orLater | A::OsWinXPorLater, "Windows NT"},
    };
    for (const auto& c : cases) {
        OSVERSIONINFOA v = {};
        v.dwOSVersionInfoSize = sizeof v;
        v.dwPlatformId = c.platform;
        v.dwMajorVersion = c.major;
        v.dwMinorVersion = c.minor;
        v.dwBuildNumber = 1234;
        ::lstrcpyA(v.szCSDVersion, "Service Pack 9");
        g_PaintManager.InitOsFlags(v);
        WCHECK_EQ(g_PaintManager.m_wOsFlags & WORD(~A::OsThemeColorsRead), c.flags);
        const std::string expected = std::string(c.name) + " v." + std::to_string(c.major) + "." +
                                     std::to_string(c.minor) + " (build 1234) Service Pack 9";
        WCHECK_EQ(std::string((LPCSTR)g_PaintManager.m_strOsVer), expected);
    }
    g_PaintManager.InitOsFlags(saved);
    // Wine reports 6.1.
    WCHECK(g_PaintManager.HasOs(A::OsWin2000orLater));
}

WTEST(constant_answers_of_both_looks) {
    VEzaPaintManager classic;
    VEzaPaintManagerXP xp;
    WCHECK_EQ(int(classic.OnQueryPaintManagerName()), 1);
    WCHECK_EQ(int(xp.OnQueryPaintManagerName()), 2);
    WCHECK_EQ(classic.GetSeparatorHeight(), 6);
    WCHECK_EQ(xp.GetSeparatorHeight(), 1);
    WCHECK(classic.GetMenuBorderMetrics(nullptr, 0) == CRect(2, 2, 2, 2));
    WCHECK(xp.GetMenuBorderMetrics(nullptr, 0) == CRect(1, 1, 1, 1));
    WCHECK(classic.GetPushedOffset() == CSize(1, 1));
    WCHECK(xp.GetPushedOffset() == CSize(0, 0));
    WCHECK(!classic.IsMenuMustCombineExcludeArea() && xp.IsMenuMustCombineExcludeArea());
    WCHECK(!classic.IsToolBarChevronMenuCombined() && xp.IsToolBarChevronMenuCombined());
    WCHECK_EQ(classic.TaskPaneQueryGroupCaptionMinHeight(nullptr, 0), 25);
    WCHECK_EQ(xp.TaskPaneQueryGroupCaptionMinHeight(nullptr, 0), 18);
    WCHECK(classic.TaskPaneQueryGroupCaptionTextMargins(nullptr, 0) == CRect(13, 0, 2, 0));
    WCHECK(xp.TaskPaneQueryGroupCaptionTextMargins(nullptr, 0) == CRect(0, 0, 2, 0));
    WCHECK(classic.TaskPaneQueryMarginsPage(nullptr, 0) == CRect(12, 9, 12, 12));
    WCHECK_EQ(classic.TaskPaneQueryGroupSpacing(nullptr, 0), 15);
    WCHECK(classic.GetCheckButtonBoxSize() == CSize(13, 13));
    WCHECK(classic.GetDropDividerMerics() == CSize(6, 6));
    WCHECK_EQ(classic.TearOff_GetCaptionHeight(), 8);
    WCHECK_EQ(classic.GetTipShadowSize(), 3);
    WCHECK_EQ(classic.GetMenuShadowSize(), 4);
    WCHECK_EQ(classic.Bar_SeparatorWidthGet(nullptr, 0), -1);
    WCHECK(!classic.NcFrame_IsSupported(nullptr, 0));
    WCHECK(classic.DockMarker_GetOuterDistance() == CRect(5, 5, 5, 5));
    classic.m_nDockMarkerType = 1;
    WCHECK(classic.DockMarker_GetOuterDistance() == CRect(0, 0, 0, 0));
    WCHECK(classic.DockMarker_IsAdjustBmpsRequired(0));
    WCHECK(!xp.DockMarker_IsAdjustBmpsRequired(0));
    WCHECK(!classic.IsCustomBackgroundInheritanceEnabled());
    classic.m_nOptions |= VEzaPaintManager::OptCustomBackgroundInheritance;
    WCHECK(classic.GetCb2DbTransparentMode(nullptr, 0));
    WCHECK_EQ(xp.m_nXpOptions, BYTE(3));
    for (int i = 0; i < 6; ++i) WCHECK(xp.m_pushButtonColors[i] == -1 && xp.m_pushButtonColors2[i] == -1);
    WCHECK(&xp.m_glyphExpandRight2 == &VEzaPaintManager::GlyphExpandRight2());
    WCHECK(RUNTIME_CLASS(VEzaPaintManagerXP)->IsDerivedFrom(RUNTIME_CLASS(VEzaPaintManager)));
    WCHECK_EQ(std::string(RUNTIME_CLASS(VEzaPaintManagerXP)->m_lpszClassName), std::string("VEzaPaintManagerXP"));
    WCHECK(CRuntimeClass::FromName("VEzaPaintManager") == RUNTIME_CLASS(VEzaPaintManager));
}

WTEST(tab_colours_of_the_classic_look) {
    InjectedSystem system(32);
    VEzaPaintManager pm;
    pm.OnSysColorChange();
    COLORREF c[5] = {};
    pm.GetTabOneNoteItemColors(true, false, c[0], c[1], c[2], c[3], c[4]);
    WCHECK_EQ(Hex(c[0]), Hex(InjectedSystem::kWindow));
    WCHECK_EQ(Hex(c[1]), Hex(InjectedSystem::kShadow));
    WCHECK_EQ(Hex(c[3]), Hex(InjectedSystem::kFace));
    WCHECK_EQ(Hex(c[4]), Hex(InjectedSystem::kText));
    pm.GetTabOneNoteItemColors(false, true, c[0], c[1], c[2], c[3], c[4]);
    WCHECK_EQ(Hex(c[2]), Hex(RGB(233, 233, 244)));
    WCHECK_EQ(Hex(c[3]), Hex(RGB(179, 179, 217)));
    WCHECK_EQ(Hex(c[4]), Hex(RGB(0, 0, 128)));
    pm.GetTabWhidbeyItemColors(false, false, c[0], c[1], c[2], c[3]);
    WCHECK_EQ(Hex(c[1]), Hex(InjectedSystem::k3dLight));
    WCHECK_EQ(Hex(c[3]), Hex(InjectedSystem::kText));
    COLORREF lower = 0;
    pm.GetThemeAccentTabColors(nullptr, &lower, nullptr, nullptr, nullptr, 0);
    WCHECK_EQ(Hex(lower), Hex(InjectedSystem::kFace));
}

// Fake visual-style functions: which exist and what they answer.
namespace fake {

int opens = 0, closes = 0;
bool themed = true;
const wchar_t* file = L"C:\\WINDOWS\\Resources\\Themes\\Luna\\LUNA.MSSTYLES";
const wchar_t* colour = L"Metallic";
int failColourAt = -1;  // property index whose read fails
HTHEME const kTheme = reinterpret_cast<HTHEME>(0x5150);

BOOL WINAPI IsAppThemed() { return themed; }
HRESULT WINAPI GetCurrentThemeName(LPWSTR f, int fn, LPWSTR c, int cn, LPWSTR, int) {
    ::lstrcpynW(f, file, fn);
    ::lstrcpynW(c, colour, cn);
    return S_OK;
}
HTHEME WINAPI OpenThemeData(HWND, LPCWSTR list) {
    ++opens;
    return ::lstrcmpW(list, L"TASKBAND") == 0 || ::lstrcmpW(list, L"BUTTON") == 0 ? kTheme : nullptr;
}
HRESULT WINAPI CloseThemeData(HTHEME) {
    ++closes;
    return S_OK;
}
int colourReads = 0;
HRESULT WINAPI GetThemeColor(HTHEME, int part, int, int prop, COLORREF* c) {
    if (colourReads++ == failColourAt) return E_FAIL;
    *c = RGB(prop & 0xFF, part, 7);
    return S_OK;
}

FARPROC Resolve(void*, const char* name) {
    const struct {
        const char* name;
        void* fn;
    } table[] = {{"IsAppThemed", (void*)&IsAppThemed},
                 {"GetCurrentThemeName", (void*)&GetCurrentThemeName},
                 {"OpenThemeData", (void*)&OpenThemeData},
                 {"CloseThemeData", (void*)&CloseThemeData},
                 {"GetThemeColor", (void*)&GetThemeColor}};
    for (const auto& e : table)
        if (std::strcmp(e.name, name) == 0) return reinterpret_cast<FARPROC>(e.fn);
    return nullptr;
}

FARPROC Missing(void*, const char*) { return nullptr; }

void Reset() {
    opens = closes = colourReads = 0;
    themed = true;
    file = L"C:\\WINDOWS\\Resources\\Themes\\Luna\\LUNA.MSSTYLES";
    colour = L"Metallic";
    failColourAt = -1;
}

}  // namespace fake

WTEST(theme_detection_through_bound_functions) {
    using A = VEzaPaintManager::VEzaPaintManagerAutoPtr;
    UxThemeWrapper& ux = g_PaintManager.m_UxTheme;
    VEzaPaintManagerXP xp;
    fake::Reset();
    ux.Bind(&fake::Resolve, nullptr);
    g_PaintManager.stat_DetectXpTheme();
    WCHECK_EQ(g_PaintManager.m_eXpScheme, 3);
    WCHECK(g_PaintManager.HasOs(A::OsThemeColorsRead));
    WCHECK_EQ(Hex(g_PaintManager.m_clrThemeColors[0]), Hex(RGB(3804 & 0xFF, 2, 7)));
    WCHECK_EQ(Hex(g_PaintManager.m_clrThemeColors[6]), Hex(RGB(3823 & 0xFF, 2, 7)));
    WCHECK_EQ(fake::opens, 1);
    WCHECK_EQ(fake::closes, 1);
    WCHECK(ux.m_hOpenTheme == nullptr && ux.m_hOpenWnd == nullptr && ux.m_szOpenClassList[0] == 0);
    WCHECK_EQ(int(xp.OnQuerySystemTheme()), 3);
    WCHECK(xp.OnQueryUseThemeColors());

    const struct {
        const wchar_t* file;
        const wchar_t* colour;
        int scheme;
    } schemes[] = {{L"c:\\x\\luna.msstyles", L"NormalColor", 1},
                   {L"c:\\x\\luna.msstyles", L"homestead", 2},
                   {L"c:\\x\\luna.msstyles", L"Silver", 0},
                   {L"c:\\x\\royale.msstyles", L"Metallic", 0}};
    for (const auto& s : schemes) {
        fake::file = s.file;
        fake::colour = s.colour;
        g_PaintManager.stat_DetectXpTheme();
        WCHECK_EQ(g_PaintManager.m_eXpScheme, s.scheme);
    }
    WCHECK(!xp.OnQueryUseThemeColors());

    // A colour that cannot be read leaves the colours unread.
    fake::Reset();
    fake::failColourAt = 4;
    g_PaintManager.stat_DetectXpTheme();
    WCHECK(!g_PaintManager.HasOs(A::OsThemeColorsRead));
    WCHECK_EQ(fake::colourReads, 5);

    // Themes off: nothing else is asked.
    fake::Reset();
    fake::themed = false;
    g_PaintManager.stat_DetectXpTheme();
    WCHECK_EQ(g_PaintManager.m_eXpScheme, 0);
    WCHECK_EQ(fake::opens, 0);

    // Wine's own binding: themes on, but no luna style and no TASKBAND data.
    ux.BindModule();
    WCHECK(ux.IsAppThemed());
    g_PaintManager.stat_DetectXpTheme();
    WCHECK_EQ(g_PaintManager.m_eXpScheme, 0);
    WCHECK(!g_PaintManager.HasOs(A::OsThemeColorsRead));
}

WTEST(unthemed_binding_gives_fixed_answers) {
    UxThemeWrapper& ux = g_PaintManager.m_UxTheme;
    ux.Bind(&fake::Missing, nullptr);
    VEzaPaintManagerXP xp;
    g_PaintManager.m_eXpScheme = 3;
    WCHECK(!ux.IsAppThemed());
    WCHECK(!xp.OnQueryUseThemeColors());
    WCHECK(ux.OpenThemeData(::GetDesktopWindow(), L"BUTTON") == nullptr);
    WCHECK_EQ(ux.CloseThemeData(fake::kTheme), HRESULT(1));
    WCHECK_EQ(ux.DrawThemeBackground(nullptr, 1, 1, nullptr, nullptr), HRESULT(1));
    COLORREF c = 0;
    WCHECK_EQ(ux.GetThemeColor(1, 1, 3804, &c), HRESULT(1));
    g_PaintManager.stat_DetectXpTheme();
    WCHECK_EQ(g_PaintManager.m_eXpScheme, 0);
    ux.BindModule();

    WCHAR buffer[8] = {L'x', 0};
    WCHECK(AnsiToWideBuffer(nullptr, "abc", 8, CP_ACP) == nullptr);
    WCHECK(AnsiToWideBuffer(buffer, nullptr, 8, CP_ACP) == nullptr);
    WCHECK(buffer[0] == L'x');
    WCHECK(AnsiToWideBuffer(buffer, "abc", 8, CP_ACP) == buffer);
    WCHECK(::lstrcmpW(buffer, L"abc") == 0);
    WCHECK(AnsiToWideBuffer(buffer, "far too long", 4, CP_ACP) == nullptr);
}

WTEST(installation_broadcasts_to_every_bridge) {
    std::vector<std::string> log;
    const INT_PTR before = g_PaintManager.GetBridgeCount();
    {
        RecordingBridge a(&log, "a"), b(&log, "b");
        WCHECK_EQ(g_PaintManager.GetBridgeCount(), before + 2);
        g_PaintManager.RegisterBridge(&a);
        WCHECK_EQ(g_PaintManager.GetBridgeCount(), before + 2);

        auto* classic = new VEzaPaintManager;
        WCHECK(g_PaintManager.InstallPaintManager(classic));
        WCHECK(g_PaintManager.GetPM() == classic);
        WCHECK_EQ(int(g_PaintManager->OnQueryPaintManagerName()), 1);
        // Installed managers load their tables at once.
        WCHECK_EQ(g_PaintManager->m_colors.GetSize(), INT_PTR(50));
        std::sort(log.begin(), log.end());
        WCHECK_EQ(log.size(), size_t(2));
        WCHECK_EQ(log[0], std::string("a: pm current"));
        WCHECK_EQ(log[1], std::string("b: pm current"));

        log.clear();
        WCHECK(g_PaintManager.InstallPaintManager(classic));
        WCHECK(log.empty());

        g_PaintManager.OnSettingChange(nullptr, 47, "intl");
        g_PaintManager.OnDisplayChange(nullptr, 16, CPoint(800, 600));
        g_PaintManager.OnThemeChanged(nullptr, 5, 6);
        std::sort(log.begin(), log.end());
        const std::vector<std::string> expected = {"a: display 16 800x600", "a: setting 47 intl", "a: theme 5 6",
                                                   "b: display 16 800x600", "b: setting 47 intl", "b: theme 5 6"};
        WCHECK(log == expected);

        WCHECK(g_PaintManager.InstallPaintManager(RUNTIME_CLASS(VEzaPaintManagerXP)));
        WCHECK_EQ(int(g_PaintManager->OnQueryPaintManagerName()), 2);
        WCHECK(!g_PaintManager.InstallPaintManager(RUNTIME_CLASS(CObject)));
        WCHECK(!g_PaintManager.InstallPaintManager(static_cast<CRuntimeClass*>(nullptr)));
        WCHECK_EQ(int(g_PaintManager->OnQueryPaintManagerName()), 2);
        WCHECK(g_PaintManager.InstallPaintManager(static_cast<VEzaPaintManager*>(nullptr)));
        WCHECK(g_PaintManager->IsKindOf(RUNTIME_CLASS(VEzaPaintManagerXP)));
    }
    WCHECK_EQ(g_PaintManager.GetBridgeCount(), before);
    WCHECK(g_PaintManager.IsNotificationSourceWnd(nullptr));
}

// A bridge that removes others (or itself) while a change is relayed: the
// removed ones are not called, and nothing else is missed.
WTEST(bridges_removed_during_a_broadcast_are_skipped) {
    std::vector<std::string> log;
    auto* a = new RecordingBridge(&log, "a");
    auto* b = new RecordingBridge(&log, "b");
    auto* c = new RecordingBridge(&log, "c");
    RecordingBridge* all[] = {a, b, c};
    // Whichever hears first deletes the other two.
    for (RecordingBridge* first : all)
        first->m_onEvent = [&all, first]() {
            for (RecordingBridge*& other : all)
                if (other != nullptr && other != first) {
                    delete other;
                    other = nullptr;
                }
        };
    g_PaintManager.OnSysColorChange(nullptr);
    WCHECK_EQ(log.size(), size_t(1));
    for (RecordingBridge* bridge : all) delete bridge;
}

WTEST(dll_versions) {
    WCHECK_EQ(VEzaPaintManager::stat_GetDllVersion("kernel32.dll"), DWORD(0));
    WCHECK_EQ(VEzaPaintManager::stat_GetDllVersion("no-such-library.dll"), DWORD(0));
    const DWORD comctl = VEzaPaintManager::stat_GetDllVersion("COMCTL32.DLL");
    WCHECK(HIWORD(comctl) >= 5);
    WCHECK_EQ(g_PaintManager.m_UxTheme.m_dwComCtlVersion, comctl);
    WCHECK(g_PaintManager.GetMouseWheelScrollLines() >= 2);
}
