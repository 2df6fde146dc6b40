// Half-tone bitmaps and the helper brushes: on displays of 8 bits per pixel
// or less a mix of two colours is a 16 by 16 pattern, on deeper displays a
// solid brush of the mixed colour.
#include "paint/paint_manager.h"
#include "paint/paint_system.h"

HBITMAP VEzaPaintManager::stat_GenerateHalftoneBitmap(COLORREF a, COLORREF b, int xMask, int yMask,
                                                      int xOffsetMask, int yOffsetMask, COLORREF overrideColor) {
    const VEzaPaintSystem& system = VEzaGetPaintSystem();
    if (a == COLORREF(-1)) a = system.pfnGetSysColor(COLOR_BTNFACE);
    if (b == COLORREF(-1)) b = system.pfnGetSysColor(COLOR_BTNHIGHLIGHT);
    if (overrideColor == COLORREF(-1)) overrideColor = a;
    HDC screen = ::GetDC(nullptr);
    if (screen == nullptr) return nullptr;
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = dc != nullptr ? ::CreateCompatibleBitmap(screen, 16, 16) : nullptr;
    ::ReleaseDC(nullptr, screen);
    if (bitmap == nullptr) {
        if (dc != nullptr) ::DeleteDC(dc);
        return nullptr;
    }
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            COLORREF c;
            if ((xOffsetMask & x) != 0 || (yOffsetMask & y) != 0)
                c = overrideColor;
            else
                c = ((yMask & y) != 0 ? (xMask & x) != 0 : (xMask & x) == 0) ? a : b;
            ::SetPixelV(dc, x, y, c);
        }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return bitmap;
}

namespace {

// A + (B − A)·numerator/denominator per channel; one half is a truncating
// division by 2, other fractions are rounded (MulDiv).
COLORREF Mix(COLORREF a, COLORREF b, int numerator, int denominator) {
    auto channel = [&](int ca, int cb) {
        const int diff = cb - ca;
        return ca + (numerator * 2 == denominator ? diff / 2 : ::MulDiv(diff, numerator, denominator));
    };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
}

struct Pattern {
    COLORREF a, b;
    int xOffsetMask, yOffsetMask;
    COLORREF overrideColor;  // −1: A
};

void Build(CBrush& brush, bool palette, COLORREF mixA, COLORREF mixB, int numerator, int denominator,
           const Pattern& pattern) {
    brush.DeleteObject();
    if (!palette) {
        brush.CreateSolidBrush(Mix(mixA, mixB, numerator, denominator));
        return;
    }
    HBITMAP bitmap = VEzaPaintManager::stat_GenerateHalftoneBitmap(pattern.a, pattern.b, 1, 1, pattern.xOffsetMask,
                                                                   pattern.yOffsetMask, pattern.overrideColor);
    if (bitmap == nullptr) return;
    brush.Attach(::CreatePatternBrush(bitmap));
    ::DeleteObject(bitmap);
}

}  // namespace

void VEzaPaintManager::InitHelperBrushes() {
    const VEzaPaintSystem& system = VEzaGetPaintSystem();
    const bool palette = system.pfnGetScreenBpp() <= 8;
    const COLORREF pmFace = GetColor(COLOR_BTNFACE), pmLight = GetColor(COLOR_BTNHIGHLIGHT),
                   pmShadow = GetColor(COLOR_BTNSHADOW), pmDark = GetColor(COLOR_3DDKSHADOW);
    const COLORREF face = system.pfnGetSysColor(COLOR_BTNFACE), light = system.pfnGetSysColor(COLOR_BTNHIGHLIGHT),
                   shadow = system.pfnGetSysColor(COLOR_BTNSHADOW), dark = system.pfnGetSysColor(COLOR_3DDKSHADOW);
    const COLORREF none = COLORREF(-1);
    auto checker = [](COLORREF a, COLORREF b) { return Pattern{a, b, 0, 0, none}; };
    auto sparse1 = [](COLORREF a, COLORREF b) { return Pattern{a, b, 1, 1, b}; };
    auto sparse2 = [](COLORREF a, COLORREF b) { return Pattern{a, b, 2, 2, b}; };
    auto solidA = [none](COLORREF a, COLORREF b) { return Pattern{a, b, 1, 1, none}; };

    Build(m_brushHelper[0], palette, pmFace, pmLight, 1, 2, checker(pmFace, pmLight));
    Build(m_brushHelper[1], palette, face, light, 1, 2, checker(face, light));
    Build(m_brushHelper[2], palette, pmShadow, pmFace, 1, 2, checker(pmShadow, pmFace));
    Build(m_brushHelper[3], palette, shadow, face, 1, 2, checker(shadow, face));
    Build(m_brushHelper[4], palette, pmFace, pmLight, 3, 5, sparse1(pmFace, pmLight));
    Build(m_brushHelper[5], palette, face, light, 3, 5, sparse1(face, light));
    Build(m_brushHelper[6], palette, pmShadow, pmFace, 2, 5, solidA(pmShadow, pmFace));
    Build(m_brushHelper[7], palette, shadow, face, 2, 5, solidA(shadow, face));
    Build(m_brushHelper[8], palette, pmFace, pmLight, 4, 5, sparse2(pmFace, pmLight));
    Build(m_brushHelper[9], palette, face, light, 4, 5, sparse2(face, light));
    Build(m_brushHelper[10], palette, pmShadow, pmFace, 1, 5, checker(pmDark, pmShadow));
    Build(m_brushHelper[11], palette, shadow, face, 1, 5, checker(dark, shadow));
}
