// Glyphs: copies, turning, the built-in expand-button pictures, and painting
// them pixel by pixel through a colour map.
#include <algorithm>
#include <vector>

#include "paint/paint_manager.h"

using glyph_t = VEzaPaintManager::glyph_t;

glyph_t::glyph_t(UINT width, UINT height, UINT colors, const UINT* pixels)
    : m_nWidth(width), m_nHeight(height), m_nColors(colors), m_pPixels(pixels), m_bOwnsPixels(false) {}

glyph_t::glyph_t(const glyph_t& other) { *this = other; }

glyph_t::glyph_t(const glyph_t& source, int angle) {
    *this = source;
    Rotate(angle);
}

glyph_t& glyph_t::operator=(const glyph_t& other) {
    if (this == &other) return *this;
    Free();
    m_nWidth = other.m_nWidth;
    m_nHeight = other.m_nHeight;
    m_nColors = other.m_nColors;
    if (other.m_pPixels != nullptr) {
        const size_t n = size_t(m_nWidth) * m_nHeight;
        UINT* copy = new UINT[n];
        std::copy(other.m_pPixels, other.m_pPixels + n, copy);
        m_pPixels = copy;
        m_bOwnsPixels = true;
    }
    return *this;
}

glyph_t::~glyph_t() { Free(); }

void glyph_t::Free() {
    if (m_bOwnsPixels) delete[] m_pPixels;
    m_pPixels = nullptr;
    m_bOwnsPixels = false;
}

void glyph_t::Rotate(int angle) {
    if (angle != 90 && angle != 180 && angle != 270) return;
    if (m_pPixels == nullptr) return;
    const UINT w = m_nWidth, h = m_nHeight;
    const size_t n = size_t(w) * h;
    std::vector<UINT> turned(n);
    const UINT newWidth = angle == 180 ? w : h;
    for (UINT i = 0; i < h; ++i)
        for (UINT j = 0; j < w; ++j) {
            UINT row = 0, col = 0;
            switch (angle) {
            case 90: row = j; col = h - 1 - i; break;
            case 180: row = h - 1 - i; col = w - 1 - j; break;
            default: row = w - 1 - j; col = i; break;
            }
            turned[size_t(row) * newWidth + col] = m_pPixels[size_t(i) * w + j];
        }
    // Static pixel data is never written: the glyph takes a copy of its own.
    if (!m_bOwnsPixels) {
        m_pPixels = new UINT[n];
        m_bOwnsPixels = true;
    }
    std::copy(turned.begin(), turned.end(), const_cast<UINT*>(m_pPixels));
    if (angle != 180) std::swap(m_nWidth, m_nHeight);
}

namespace {

const UINT kExpandBottom[5 * 3] = {
    1, 1, 1, 1, 1,
    0, 1, 1, 1, 0,
    0, 0, 1, 0, 0,
};

const UINT kExpandRight2[8 * 5] = {
    1, 1, 0, 0, 1, 1, 0, 0,
    0, 1, 1, 0, 0, 1, 1, 0,
    0, 0, 1, 1, 0, 0, 1, 1,
    0, 1, 1, 0, 0, 1, 1, 0,
    1, 1, 0, 0, 1, 1, 0, 0,
};

}  // namespace

const glyph_t& VEzaPaintManager::GlyphExpandBottom() {
    static const glyph_t glyph(5, 3, 1, kExpandBottom);
    return glyph;
}

const glyph_t& VEzaPaintManager::GlyphExpandRight2() {
    static const glyph_t glyph(8, 5, 1, kExpandRight2);
    return glyph;
}

// The turned copies are defined in the library's initialisation order
// (toolkit/static_init.cpp).
const glyph_t& VEzaPaintManager::GlyphExpandBottomTurned() { return g_glyphExpandBottomTurned; }

const glyph_t& VEzaPaintManager::GlyphExpandRight2Turned() { return g_glyphExpandRight2Turned; }

void VEzaPaintManager::PaintGlyph(CDC& dc, POINT topLeft, const glyph_t& glyph, const COLORREF* colors) {
    if (glyph.GetSurface() == nullptr || colors == nullptr) return;
    const CRect rect(topLeft, glyph.Size());
    if (!dc.RectVisible(&rect)) return;
    for (UINT y = 0; y < glyph.GetHeight(); ++y)
        for (UINT x = 0; x < glyph.GetWidth(); ++x) {
            const UINT index = glyph.GetColorPixel(int(x), int(y));
            if (index != 0) dc.SetPixel(topLeft.x + int(x), topLeft.y + int(y), colors[index]);
        }
}

void VEzaPaintManager::PaintGlyphCentered(CDC& dc, const RECT& rect, const glyph_t& glyph,
                                          const COLORREF* colors) {
    CRect r(rect);
    r.NormalizeRect();
    if (r.IsRectEmpty()) return;
    const CSize size = glyph.Size();
    if (r.Width() < size.cx || r.Height() < size.cy) return;
    const POINT at = {r.left + (r.Width() - size.cx) / 2, r.top + (r.Height() - size.cy) / 2};
    PaintGlyph(dc, at, glyph, colors);
}
