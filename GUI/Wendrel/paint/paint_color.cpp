// Colour arithmetic: weighted blends, RGB and hue-luminance-saturation, and
// the HLS adjustment of colours and whole bitmaps.
#include <algorithm>

#include "paint/paint_manager.h"

COLORREF VEzaPaintManager::stat_BlendColors(COLORREF a, COLORREF b, int weight) {
    const int d = weight < 100 ? 100 : 1000;
    auto mix = [&](int ca, int cb) { return (ca * weight + cb * (d - weight) + d / 2) / d; };
    return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

void VEzaPaintManager::stat_ColorToHLS(COLORREF colour, double& hue, double& luminance, double& saturation) {
    const double r = GetRValue(colour) / 255.0, g = GetGValue(colour) / 255.0, b = GetBValue(colour) / 255.0;
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    luminance = (mx + mn) / 2.0;
    if (mx == mn) {
        hue = saturation = 0.0;
        return;
    }
    const double d = mx - mn;
    saturation = luminance < 0.5 ? d / (mx + mn) : d / (2.0 - mx - mn);
    if (r == mx)
        hue = (g - b) / d;
    else if (g == mx)
        hue = (b - r) / d + 2.0;
    else
        hue = (r - g) / d + 4.0;
    hue /= 6.0;
    if (hue < 0.0) hue += 1.0;
}

namespace {

double Component(double m1, double m2, double h) {
    if (h < 0.0)
        h += 1.0;
    else if (h > 1.0)
        h -= 1.0;
    if (h * 6.0 < 1.0) return m1 + (m2 - m1) * h * 6.0;
    if (h * 2.0 < 1.0) return m2;
    if (h * 3.0 < 2.0) return m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6.0;
    return m1;
}

// The low 8 bits of the truncated channel.
BYTE Channel(double v) { return BYTE(int(v * 255.0) & 0xFF); }

double Adjust(double v, double x) {
    if (x > 0.0)
        v += x * (1.0 - v);
    else if (x < 0.0)
        v *= 1.0 + x;
    return std::clamp(v, 0.0, 1.0);
}

}  // namespace

COLORREF VEzaPaintManager::stat_HLSToColor(double hue, double luminance, double saturation) {
    if (saturation == 0.0) {
        const BYTE v = Channel(luminance);
        return RGB(v, v, v);
    }
    const double m2 = luminance <= 0.5 ? luminance * (1.0 + saturation)
                                       : luminance + saturation - luminance * saturation;
    const double m1 = 2.0 * luminance - m2;
    return RGB(Channel(Component(m1, m2, hue + 1.0 / 3.0)), Channel(Component(m1, m2, hue)),
               Channel(Component(m1, m2, hue - 1.0 / 3.0)));
}

COLORREF VEzaPaintManager::stat_AdjustColorHLS(COLORREF colour, double dh, double dl, double ds) {
    double h = 0, l = 0, s = 0;
    stat_ColorToHLS(colour, h, l, s);
    return stat_HLSToColor(Adjust(h, dh), Adjust(l, dl), Adjust(s, ds));
}

HBITMAP VEzaPaintManager::stat_AdjustBitmapHLS(HBITMAP bitmap, COLORREF skip, COLORREF tolerance, double dh,
                                               double dl, double ds) {
    if (bitmap == nullptr || (dh == 0.0 && dl == 0.0 && ds == 0.0)) return nullptr;
    COLORREF* bits = nullptr;
    HBITMAP copy = stat_CloneBitmap(bitmap, nullptr, &bits);
    if (copy == nullptr || bits == nullptr) {
        if (copy != nullptr) ::DeleteObject(copy);
        return nullptr;
    }
    BITMAP info = {};
    ::GetObjectA(copy, sizeof info, &info);
    auto upper = [](int from, int span) { return std::min(255, from + span); };
    const int r0 = GetRValue(skip), g0 = GetGValue(skip), b0 = GetBValue(skip);
    const int r1 = upper(r0, GetRValue(tolerance)), g1 = upper(g0, GetGValue(tolerance)),
              b1 = upper(b0, GetBValue(tolerance));
    ::GdiFlush();
    const size_t n = size_t(info.bmWidth) * size_t(std::abs(info.bmHeight));
    for (size_t i = 0; i < n; ++i) {
        // DIB pixels are 0x00RRGGBB.
        const DWORD p = bits[i];
        const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (r >= r0 && r <= r1 && g >= g0 && g <= g1 && b >= b0 && b <= b1) continue;
        const COLORREF c = stat_AdjustColorHLS(RGB(r, g, b), dh, dl, ds);
        bits[i] = (DWORD(GetRValue(c)) << 16) | (DWORD(GetGValue(c)) << 8) | GetBValue(c);
    }
    return copy;
}

bool VEzaPaintManager::stat_ReplaceBitmapHLS(CBitmap& bitmap, COLORREF skip, COLORREF tolerance, double dh,
                                             double dl, double ds) {
    if (bitmap.GetSafeHandle() == nullptr) return false;
    if (dh == 0.0 && dl == 0.0 && ds == 0.0) return true;
    HBITMAP adjusted = stat_AdjustBitmapHLS((HBITMAP)bitmap.GetSafeHandle(), skip, tolerance, dh, dl, ds);
    if (adjusted == nullptr) return false;
    bitmap.DeleteObject();
    bitmap.Attach(adjusted);
    return true;
}
