// Painting into 32-bit DIBs, checked pixel by pixel: the memory DC in its
// options (off-screen and flushed at destruction, copy-through, DIB surface,
// printing and right-to-left targets), glyphs, the check mark and the frame
// without corners, gradients with and without GradientFill at both depths,
// bitmap HLS adjustment and copies.
#include "paint/memory_dc.h"
#include "paint_test_util.h"

using namespace pt;

namespace {

const COLORREF kBack = RGB(1, 2, 3), kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kGreen = RGB(0, 200, 0);

// Turns GradientFill off while it lives, so the band painting runs.
struct NoGradientFill {
    NoGradientFill() : saved(g_PaintManager.m_pfnGradientFill) { g_PaintManager.m_pfnGradientFill = nullptr; }
    ~NoGradientFill() { g_PaintManager.m_pfnGradientFill = saved; }
    VEzaPaintManager::VEzaPaintManagerAutoPtr::PfnGradientFill saved;
};

}  // namespace

WTEST(memory_dc_paints_offscreen_and_flushes_on_destruction) {
    Dib dib(40, 30, kBack);
    DibCDC target(dib);
    target.SetBkColor(kBlue);
    const RECT area = {10, 5, 30, 25};
    {
        VEzaMemoryDC mem(&target, &area);
        WCHECK(mem.IsOffscreen());
        WCHECK(mem.GetSafeHdc() != dib.dc());
        // The surface starts with the target's background colour.
        WCHECK_EQ(Hex(mem.GetPixel(10, 5)), Hex(kBlue));
        mem.FillSolidRect(12, 7, 4, 3, kRed);
        // Nothing reaches the target before the end.
        WCHECK_EQ(dib.CountOther({0, 0, 40, 30}, kBack), 0);
    }
    WCHECK_EQ(dib.CountOther({12, 7, 16, 10}, kRed), 0);
    WCHECK_EQ(Hex(dib.At(11, 7)), Hex(kBlue));
    WCHECK_EQ(Hex(dib.At(29, 24)), Hex(kBlue));
    // Outside the rectangle the target is untouched.
    WCHECK_EQ(Hex(dib.At(9, 5)), Hex(kBack));
    WCHECK_EQ(Hex(dib.At(30, 24)), Hex(kBack));
    WCHECK_EQ(Hex(dib.At(10, 25)), Hex(kBack));
}

WTEST(memory_dc_copy_through_keeps_the_target_picture) {
    Dib dib(30, 20, kBack);
    DibCDC target(dib);
    target.FillSolidRect(0, 0, 30, 10, kGreen);
    target.SetBkColor(kBlue);
    const RECT area = {5, 5, 25, 15};
    {
        VEzaMemoryDC mem(&target, &area, VEzaMemoryDC::MDCOPT_TO_MEMORY | VEzaMemoryDC::MDCOPT_FILL_SURFACE |
                                              VEzaMemoryDC::MDCOPT_FILL_BITS);
        mem.FillSolidRect(20, 12, 2, 2, kRed);
    }
    WCHECK_EQ(dib.CountOther({5, 5, 25, 10}, kGreen), 0);
    WCHECK_EQ(dib.CountOther({20, 12, 22, 14}, kRed), 0);
    WCHECK_EQ(Hex(dib.At(5, 10)), Hex(kBack));
    WCHECK_EQ(Hex(dib.At(19, 12)), Hex(kBack));
}

WTEST(memory_dc_dib_surface_and_monochrome_bitmap) {
    Dib dib(20, 20, kBack);
    DibCDC target(dib);
    const RECT area = {2, 3, 12, 9};
    {
        VEzaMemoryDC mem(&target, &area, VEzaMemoryDC::MDCOPT_TO_MEMORY | VEzaMemoryDC::MDCOPT_FORCE_DIB);
        WCHECK(mem.GetDibSurface() != nullptr);
        BITMAP info = {};
        mem.GetBitmap().GetBitmap(&info);
        WCHECK_EQ(info.bmWidth, 10L);
        WCHECK_EQ(info.bmHeight, 6L);
        WCHECK_EQ(int(info.bmBitsPixel), 32);
        mem.SetPixel(2, 3, kRed);
        ::GdiFlush();
        // Bottom-up: the top-left pixel is the first of the last row.
        WCHECK_EQ(mem.GetDibSurface()[5 * 10] & 0xFFFFFF, COLORREF(0xFF0000));
    }
    WCHECK_EQ(Hex(dib.At(2, 3)), Hex(kRed));
    {
        VEzaMemoryDC mem(&target, &area,
                         VEzaMemoryDC::MDCOPT_TO_MEMORY | VEzaMemoryDC::MDCOPT_FORCE_BLACK_AND_WHITE);
        BITMAP info = {};
        mem.GetBitmap().GetBitmap(&info);
        WCHECK_EQ(int(info.bmBitsPixel), 1);
        WCHECK(mem.GetDibSurface() == nullptr);
    }
}

WTEST(memory_dc_without_the_targets_mapping_paints_from_its_own_origin) {
    Dib dib(30, 20, kBack);
    DibCDC target(dib);
    target.FillSolidRect(0, 0, 30, 20, kGreen);
    const RECT area = {10, 6, 20, 16};
    {
        VEzaMemoryDC mem(&target, &area,
                         VEzaMemoryDC::MDCOPT_TO_MEMORY | VEzaMemoryDC::MDCOPT_NO_COPY_OPT |
                             VEzaMemoryDC::MDCOPT_FILL_BITS);
        mem.SetPixel(0, 0, kRed);
        mem.SetPixel(9, 9, kBlue);
    }
    WCHECK_EQ(Hex(dib.At(10, 6)), Hex(kRed));
    WCHECK_EQ(Hex(dib.At(19, 15)), Hex(kBlue));
    WCHECK_EQ(dib.CountOther({11, 7, 19, 15}, kGreen), 0);
}

WTEST(memory_dc_on_a_printing_target_paints_straight_into_it) {
    Dib dib(20, 20, kBack);
    DibCDC target(dib);
    target.m_bPrinting = TRUE;
    const RECT area = {0, 0, 10, 10};
    {
        VEzaMemoryDC mem(&target, &area, VEzaMemoryDC::MDCOPT_TO_MEMORY);
        WCHECK(!mem.IsOffscreen());
        WCHECK(mem.GetSafeHdc() == dib.dc());
        WCHECK(mem.IsPrinting());
        mem.FillSolidRect(1, 1, 2, 2, kRed);
        WCHECK_EQ(dib.CountOther({1, 1, 3, 3}, kRed), 0);
    }
    // The borrowed DC still works.
    WCHECK(::GetObjectType(dib.dc()) == OBJ_MEMDC);
    VEzaMemoryDC empty(nullptr);
    WCHECK(empty.GetSafeHdc() == nullptr);
}

WTEST(memory_dc_lands_where_direct_painting_lands) {
    // Right to left and a moved window origin: the same drawing, direct and
    // through the memory DC, gives the same picture.
    // origin 2: a scaled mapping (two device pixels per logical one).
    for (int rtl = 0; rtl < 2; ++rtl)
        for (int origin = 0; origin < 3; ++origin) {
            Dib direct(60, 40, kBack), buffered(60, 40, kBack);
            auto draw = [](CDC& dc) {
                dc.FillSolidRect(6, 4, 5, 3, kRed);
                dc.FillSolidRect(14, 9, 2, 2, kGreen);
                dc.SetPixel(6, 12, kBlue);
            };
            auto prepare = [&](CDC& dc) {
                if (rtl) dc.SetLayout(LAYOUT_RTL);
                if (origin == 1) dc.SetWindowOrg(-3, -2);
                if (origin == 2) {
                    dc.SetMapMode(MM_ANISOTROPIC);
                    dc.SetWindowExt(1, 1);
                    dc.SetViewportExt(2, 2);
                }
                dc.SetBkColor(kBack);
            };
            {
                DibCDC target(direct);
                prepare(target);
                draw(target);
            }
            {
                DibCDC target(buffered);
                prepare(target);
                const RECT area = {2, 2, 30, 16};
                VEzaMemoryDC mem(&target, &area);
                draw(mem);
            }
            const bool same = direct.Pixels() == buffered.Pixels();
            if (!same) {
                const auto legend = std::vector<std::pair<COLORREF, char>>{
                    {kBack, '.'}, {kRed, 'R'}, {kGreen, 'G'}, {kBlue, 'B'}};
                wtest::fail(__FILE__, __LINE__,
                            "rtl " + std::to_string(rtl) + " origin " + std::to_string(origin) + " differ\n" +
                                direct.Rows({0, 0, 60, 40}, legend) + "\n" + buffered.Rows({0, 0, 60, 40}, legend));
            }
        }
}

WTEST(glyphs_paint_their_colour_indices) {
    Dib dib(12, 8, kBack);
    DibCDC dc(dib);
    VEzaPaintManager& pm = *g_PaintManager.GetPM();
    const COLORREF colours[2] = {0, kRed};
    pm.PaintGlyph(dc, CPoint(1, 1), VEzaPaintManager::GlyphExpandBottom(), colours);
    const auto legend = std::vector<std::pair<COLORREF, char>>{{kBack, '.'}, {kRed, 'X'}};
    WCHECK_EQ(dib.Rows({0, 0, 7, 5}, legend), std::string(".......\n.XXXXX.\n..XXX..\n...X...\n.......\n"));
    dib.Fill(kBack);
    // Too small a rectangle: nothing.
    pm.PaintGlyphCentered(dc, CRect(0, 0, 4, 4), VEzaPaintManager::GlyphExpandBottom(), colours);
    WCHECK_EQ(dib.CountOther({0, 0, 12, 8}, kBack), 0);
    // Centred in 11 by 7, given upside down: at (3, 2).
    pm.PaintGlyphCentered(dc, CRect(11, 7, 0, 0), VEzaPaintManager::GlyphExpandBottom(), colours);
    WCHECK_EQ(Hex(dib.At(3, 2)), Hex(kRed));
    WCHECK_EQ(Hex(dib.At(7, 2)), Hex(kRed));
    WCHECK_EQ(Hex(dib.At(5, 4)), Hex(kRed));
    WCHECK_EQ(dib.CountOther({0, 0, 12, 8}, kBack), 9);
}

WTEST(glyphs_outside_the_clip_region_are_not_painted) {
    Dib dib(12, 8, kBack);
    DibCDC dc(dib);
    const COLORREF colours[2] = {0, kRed};
    ::IntersectClipRect(dib.dc(), 6, 0, 12, 8);
    g_PaintManager->PaintGlyph(dc, CPoint(0, 0), VEzaPaintManager::GlyphExpandBottom(), colours);
    WCHECK_EQ(dib.CountOther({0, 0, 12, 8}, kBack), 0);
    g_PaintManager->PaintGlyph(dc, CPoint(4, 0), VEzaPaintManager::GlyphExpandBottom(), colours);
    // Partly visible: painted where the clip allows.
    WCHECK_EQ(Hex(dib.At(6, 0)), Hex(kRed));
    WCHECK_EQ(Hex(dib.At(5, 0)), Hex(kBack));
}

WTEST(text_measurement_expands_tabs) {
    Dib dib(10, 10, kBack);
    DibCDC dc(dib);
    CFont& font = g_PaintManager->m_FontNormal;
    const int a = VEzaPaintManager::stat_CalcTextWidth(dc, font, "a");
    const int ab = VEzaPaintManager::stat_CalcTextWidth(dc, font, "ab");
    WCHECK(a > 0 && ab > a);
    WCHECK_EQ(VEzaPaintManager::stat_CalcTextWidth(dc, font, ""), 0);
    // A tab stands for 8 average characters: "a<tab>b" reaches past "a" + 4 "b"s.
    const CRect tabbed = VEzaPaintManager::stat_CalcTextDimension(dc, font, "a\tb", DT_SINGLELINE);
    WCHECK(tabbed.left == 0 && tabbed.top == 0);
    WCHECK(tabbed.Width() > VEzaPaintManager::stat_CalcTextWidth(dc, font, "abbbb"));
    const CRect twoLines = VEzaPaintManager::stat_CalcTextDimension(dc, font, "a\nb", 0);
    const CRect oneLine = VEzaPaintManager::stat_CalcTextDimension(dc, font, "a", 0);
    WCHECK_EQ(twoLines.Height(), 2 * oneLine.Height());
}

WTEST(check_mark_and_frame_without_corners) {
    Dib dib(10, 10, kBack);
    DibCDC dc(dib);
    const COLORREF c = RGB(0, 0, 0), shadow = RGB(255, 255, 255);
    VEzaPaintManager::stat_PaintCheckMark(dc, 1, 1, c);
    const auto legend = std::vector<std::pair<COLORREF, char>>{{kBack, '.'}, {c, 'X'}, {shadow, 's'}};
    WCHECK_EQ(dib.Rows({1, 1, 8, 8}, legend),
              std::string("......X\n.....XX\nX...XXs\nXX.XXs.\nsXXXs..\n.sXs...\n..s....\n"));
    dib.Fill(kBack);
    VEzaPaintManager::stat_PaintFrameWithoutCorners(dc, CRect(1, 1, 6, 5), kRed, kBlue);
    const auto frame = std::vector<std::pair<COLORREF, char>>{{kBack, '.'}, {kRed, 'R'}, {kBlue, 'B'}};
    WCHECK_EQ(dib.Rows({1, 1, 6, 5}, frame), std::string(".RRR.\nR...B\nR...B\n.BBB.\n"));
}

WTEST(radio_dot_has_its_colour_inside_and_shadow_outside) {
    Dib dib(10, 10, kBack);
    DibCDC dc(dib);
    VEzaPaintManager::stat_PaintRadioDot(dc, 2, 2, RGB(0, 0, 0));
    WCHECK_EQ(Hex(dib.At(4, 4)), Hex(RGB(0, 0, 0)));
    WCHECK_EQ(Hex(dib.At(7, 7)), Hex(RGB(255, 255, 255)));
    WCHECK_EQ(Hex(dib.At(0, 0)), Hex(kBack));
    WCHECK_EQ(dib.CountOther({9, 0, 10, 10}, kBack), 0);
}

WTEST(gradient_bands_without_gradient_fill) {
    NoGradientFill off;
    const COLORREF a = RGB(0, 0, 0), b = RGB(200, 100, 40);
    {
        // As many bands as pixels at most.
        InjectedSystem system(32);
        Dib dib(2, 1, kBack);
        DibCDC dc(dib);
        VEzaPaintManager::stat_PaintGradientRect(dc, CRect(0, 0, 2, 1), a, b, false, 64);
        WCHECK_EQ(Hex(dib.At(0, 0)), Hex(a));
        WCHECK_EQ(Hex(dib.At(1, 0)), Hex(RGB(100, 50, 20)));
    }
    {
        // Palette displays: bands of at least 4 pixels.
        InjectedSystem system(8);
        Dib dib(40, 1, kBack);
        DibCDC dc(dib);
        VEzaPaintManager::stat_PaintGradientRect(dc, CRect(0, 0, 40, 1), a, b, false, 64);
        for (int k = 0; k < 10; ++k) {
            const COLORREF band = RGB(200 * k / 10, 100 * k / 10, 40 * k / 10);
            WCHECK_EQ(dib.CountOther({4 * k, 0, 4 * k + 4, 1}, band), 0);
        }
    }
    {
        // Vertical: A at the bottom, B at the top; an empty rectangle paints nothing.
        InjectedSystem system(32);
        Dib dib(1, 10, kBack);
        DibCDC dc(dib);
        VEzaPaintManager::stat_PaintGradientRect(dc, CRect(0, 0, 1, 10), a, b, true, 5);
        WCHECK_EQ(dib.CountOther({0, 8, 1, 10}, a), 0);
        WCHECK_EQ(dib.CountOther({0, 0, 1, 2}, RGB(160, 80, 32)), 0);
        dib.Fill(kBack);
        VEzaPaintManager::stat_PaintGradientRect(dc, CRect(0, 5, 1, 5), a, b, true, 5);
        WCHECK_EQ(dib.CountOther({0, 0, 1, 10}, kBack), 0);
    }
    {
        // Two steps: A to B over the first quarter, B to C over the rest.
        InjectedSystem system(32);
        Dib dib(8, 1, kBack);
        DibCDC dc(dib);
        VEzaPaintManager::stat_PaintTwoStepGradient(dc, CRect(0, 0, 8, 1), a, b, kBlue, false, 1, 4, 2);
        WCHECK_EQ(Hex(dib.At(0, 0)), Hex(a));
        WCHECK_EQ(Hex(dib.At(1, 0)), Hex(RGB(100, 50, 20)));
        WCHECK_EQ(Hex(dib.At(2, 0)), Hex(b));
        WCHECK_EQ(Hex(dib.At(7, 0)), Hex(RGB(100, 50, 147)));
    }
}

WTEST(gradient_fill_runs_from_a_to_b) {
    WCHECK(g_PaintManager.m_pfnGradientFill != nullptr);
    Dib dib(64, 64, kBack);
    DibCDC dc(dib);
    const COLORREF a = RGB(0, 0, 0), b = RGB(252, 128, 64);
    VEzaPaintManager::stat_PaintGradientRect(dc, CRect(0, 0, 64, 8), a, b, false);
    WCHECK_EQ(Hex(dib.At(0, 0)), Hex(a));
    WCHECK(GetRValue(dib.At(63, 0)) >= 240 && GetRValue(dib.At(32, 0)) < GetRValue(dib.At(40, 0)));
    VEzaPaintManager::stat_PaintGradientRect(dc, CRect(0, 16, 8, 64), a, b, true);
    WCHECK(GetRValue(dib.At(0, 16)) >= 240);
    WCHECK(GetRValue(dib.At(0, 63)) <= 8);
}

WTEST(bitmap_hls_adjustment_keeps_the_transparent_colour) {
    const COLORREF magenta = RGB(255, 0, 255);
    HDC screen = ::GetDC(nullptr);
    CBitmap bitmap;
    bitmap.Attach(::CreateCompatibleBitmap(screen, 4, 1));
    ::ReleaseDC(nullptr, screen);
    {
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, bitmap.GetSafeHandle());
        ::SetPixelV(dc, 0, 0, magenta);
        ::SetPixelV(dc, 1, 0, RGB(255, 0, 0));
        ::SetPixelV(dc, 2, 0, RGB(0, 0, 0));
        ::SetPixelV(dc, 3, 0, RGB(254, 0, 254));
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
    }
    WCHECK(VEzaPaintManager::stat_ReplaceBitmapHLS(bitmap, magenta, 0, 0, 0.5, 0));
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap.GetSafeHandle());
    WCHECK_EQ(Hex(::GetPixel(dc, 0, 0)), Hex(magenta));
    WCHECK_EQ(Hex(::GetPixel(dc, 1, 0)), Hex(RGB(255, 127, 127)));
    WCHECK_EQ(Hex(::GetPixel(dc, 2, 0)), Hex(RGB(127, 127, 127)));
    WCHECK(::GetPixel(dc, 3, 0) != RGB(254, 0, 254));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    CBitmap none;
    WCHECK(!VEzaPaintManager::stat_ReplaceBitmapHLS(none, magenta, 0, 0, 0.5, 0));
    WCHECK(VEzaPaintManager::stat_ReplaceBitmapHLS(bitmap, magenta, 0, 0, 0, 0));
    WCHECK(VEzaPaintManager::stat_AdjustBitmapHLS(nullptr, 0, 0, 0, 0.5, 0) == nullptr);
}

WTEST(bitmap_copies_and_packed_dibs) {
    Dib dib(6, 4, kBack);
    HDC screen = ::GetDC(nullptr);
    HBITMAP source = ::CreateCompatibleBitmap(screen, 6, 4);
    ::ReleaseDC(nullptr, screen);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, source);
    ::BitBlt(dc, 0, 0, 6, 4, dib.dc(), 0, 0, SRCCOPY);
    ::SetPixelV(dc, 3, 2, kRed);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);

    COLORREF* bits = nullptr;
    const RECT part = {2, 1, 5, 4};
    HBITMAP copy = VEzaPaintManager::stat_CloneBitmap(source, &part, &bits);
    WCHECK(copy != nullptr && bits != nullptr);
    BITMAP info = {};
    ::GetObjectA(copy, sizeof info, &info);
    WCHECK_EQ(info.bmWidth, 3L);
    WCHECK_EQ(info.bmHeight, 3L);
    ::GdiFlush();
    // Bottom-up DIB: (1, 1) of the copy is row 1 from the bottom.
    WCHECK_EQ(bits[1 * 3 + 1] & 0xFFFFFF, COLORREF(0xFF0000));
    ::DeleteObject(copy);

    HGLOBAL packed = VEzaPaintManager::stat_DDBtoPackedDIB(source);
    WCHECK(packed != nullptr);
    auto* header = static_cast<BITMAPINFOHEADER*>(::GlobalLock(packed));
    WCHECK_EQ(header->biSize, DWORD(40));
    WCHECK_EQ(header->biWidth, 6L);
    WCHECK_EQ(header->biHeight, 4L);
    WCHECK_EQ(int(header->biBitCount), 32);
    const DWORD* pixels = reinterpret_cast<const DWORD*>(header + 1);
    WCHECK_EQ(pixels[1 * 6 + 3] & 0xFFFFFF, DWORD(0xFF0000));
    ::GlobalUnlock(packed);
    ::GlobalFree(packed);
    ::DeleteObject(source);
    WCHECK(VEzaPaintManager::stat_CloneBitmap(nullptr) == nullptr);
}

WTEST(dock_marker_pictures_are_lightened_for_the_first_marker_set) {
    InjectedSystem system(32);
    VEzaPaintManager pm;
    pm.m_nDockMarkerType = 1;
    HDC screen = ::GetDC(nullptr);
    CBitmap hover, idle;
    hover.Attach(::CreateCompatibleBitmap(screen, 1, 1));
    idle.Attach(::CreateCompatibleBitmap(screen, 1, 1));
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ before = idle.GetSafeHandle();
    pm.DockMarker_AdjustBmps(1, hover, RGB(255, 0, 255), idle, RGB(255, 0, 255));
    WCHECK(idle.GetSafeHandle() != before);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, idle.GetSafeHandle());
    // Black rises 35 % of the way to white.
    WCHECK_EQ(Hex(::GetPixel(dc, 0, 0)), Hex(RGB(89, 89, 89)));
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    before = idle.GetSafeHandle();
    pm.DockMarker_AdjustBmps(4, hover, 0, idle, 0);
    WCHECK(idle.GetSafeHandle() == before);
}

WTEST(docker_background_and_nc_rectangles) {
    InjectedSystem system(32);
    VEzaPaintManagerXP xp;
    xp.OnSysColorChange();
    VEzaPaintManager classic;
    classic.OnSysColorChange();
    Dib dib(10, 10, kBack);
    DibCDC dc(dib);
    WCHECK(xp.PaintDockerBkgnd(true, dc, CRect(0, 0, 10, 10), CRect(), 0));
    WCHECK_EQ(dib.CountOther({0, 0, 10, 10}, RGB(219, 216, 209)), 0);
    classic.PaintTabNcAreaRect(dc, CRect(0, 0, 4, 4), nullptr, 0);
    WCHECK_EQ(Hex(dib.At(0, 0)), Hex(InjectedSystem::kShadow));
    WCHECK_EQ(Hex(dib.At(3, 3)), Hex(InjectedSystem::kLight));
    xp.PaintResizableBarChildNcAreaRect(dc, CRect(0, 0, 4, 4), nullptr, 0);
    WCHECK_EQ(Hex(dib.At(3, 3)), Hex(InjectedSystem::kShadow));
}
