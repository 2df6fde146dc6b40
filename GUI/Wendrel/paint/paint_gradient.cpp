// Gradients: one GradientFill where msimg32 has it, else solid bands.
#include <algorithm>

#include "paint/paint_manager.h"

namespace {

TRIVERTEX Vertex(int x, int y, COLORREF c) {
    TRIVERTEX v = {};
    v.x = x;
    v.y = y;
    v.Red = COLOR16(GetRValue(c) << 8);
    v.Green = COLOR16(GetGValue(c) << 8);
    v.Blue = COLOR16(GetBValue(c) << 8);
    return v;
}

BYTE BandChannel(int a, int b, int k, int bands) {
    return BYTE(((long long)a * (bands - k) + (long long)b * k) / bands);
}

}  // namespace

void VEzaPaintManager::stat_PaintGradientRect(CDC& dc, const CRect& rect, COLORREF a, COLORREF b, bool vertical,
                                              int bands) {
    auto gradientFill = g_PaintManager.m_pfnGradientFill;
    if (gradientFill != nullptr && g_PaintManager.HasOs(VEzaPaintManagerAutoPtr::OsWinNT)) {
        TRIVERTEX v[2] = {Vertex(rect.left, rect.top, vertical ? b : a),
                          Vertex(rect.right, rect.bottom, vertical ? a : b)};
        GRADIENT_RECT mesh = {0, 1};
        gradientFill(dc.GetSafeHdc(), v, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
        return;
    }
    if (rect.IsRectEmpty()) return;
    const int extent = vertical ? rect.Height() : rect.Width();
    bands = std::min(bands, extent);
    // Palette displays dither each band: keep bands at least 4 pixels wide.
    if (bands > 0 && stat_GetBPP() <= 8 && extent / bands < 4) bands = extent / 4;
    if (bands <= 0) return;
    for (int k = 0; k < bands; ++k) {
        const COLORREF c = RGB(BandChannel(GetRValue(a), GetRValue(b), k, bands),
                               BandChannel(GetGValue(a), GetGValue(b), k, bands),
                               BandChannel(GetBValue(a), GetBValue(b), k, bands));
        CRect band(rect);
        const bool last = k == bands - 1;
        if (vertical) {
            band.bottom = rect.bottom - ::MulDiv(k, extent, bands);
            band.top = last ? rect.top : rect.bottom - ::MulDiv(k + 1, extent, bands);
        } else {
            band.left = rect.left + ::MulDiv(k, extent, bands);
            band.right = last ? rect.right : rect.left + ::MulDiv(k + 1, extent, bands);
        }
        CBrush brush;
        if (brush.CreateSolidBrush(c)) dc.FillRect(&band, &brush);
    }
}

void VEzaPaintManager::stat_PaintTwoStepGradient(CDC& dc, const CRect& rect, COLORREF a, COLORREF b, COLORREF c,
                                                 bool vertical, int numerator, int denominator, int bands) {
    CRect first(rect), second(rect);
    if (vertical) {
        const int split = rect.top + ::MulDiv(rect.Height(), numerator, denominator);
        first.bottom = second.top = split;
        // Each part runs top to bottom: its first colour at the top.
        stat_PaintGradientRect(dc, first, b, a, true, bands);
        stat_PaintGradientRect(dc, second, c, b, true, bands);
    } else {
        const int split = rect.left + ::MulDiv(rect.Width(), numerator, denominator);
        first.right = second.left = split;
        stat_PaintGradientRect(dc, first, a, b, false, bands);
        stat_PaintGradientRect(dc, second, b, c, false, bands);
    }
}
