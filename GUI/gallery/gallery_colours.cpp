// The first page: what both managers hold: the system colour table, the
// translated colours, the helper brushes, the glyphs and small pictures,
// gradients, and command icons (tree boxes and marks) as drawn normal and
// disabled.
#include <string>

#include "gallery_page.h"
#include "icons/cmd_icon.h"

namespace {

const int kSwatch = 16;

// A glyph painted at 1:1 and, beside it, four times as large.
void Glyph(CDC& dc, VEzaPaintManager& pm, int x, int y, const VEzaPaintManager::glyph_t& glyph,
           const COLORREF* colours) {
    pm.PaintGlyph(dc, CPoint(x, y), glyph, colours);
    const CSize size = glyph.Size();
    CDC small;
    small.CreateCompatibleDC(&dc);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&dc, size.cx, size.cy);
    CBitmap* old = small.SelectObject(&bitmap);
    small.FillSolidRect(0, 0, size.cx, size.cy, RGB(255, 255, 255));
    pm.PaintGlyph(small, CPoint(0, 0), glyph, colours);
    dc.StretchBlt(x + size.cx + 6, y, size.cx * 4, size.cy * 4, &small, 0, 0, size.cx, size.cy, SRCCOPY);
    small.SelectObject(old);
}

void PaintColours(GalleryCanvas& canvas, const CRect& area) {
    CDC& dc = canvas.dc;
    VEzaPaintManager& pm = canvas.pm;
    const std::string& name = canvas.look;
    int x = area.left + 10, y = area.top + 8;
    canvas.Label(x, y, pm.GetRuntimeClass()->m_lpszClassName, true);
    y += 24;

    canvas.Label(x, y, "System colours 0..49");
    y += 18;
    for (int i = 0; i < 50; ++i) {
        const CRect r(CPoint(x + (i % 10) * (kSwatch + 4), y + (i / 10) * (kSwatch + 4)), CSize(kSwatch, kSwatch));
        canvas.Fill(r, pm.GetColor(i), name + " colour " + std::to_string(i));
    }
    y += 5 * (kSwatch + 4) + 8;

    canvas.Label(x, y, "Translated colours 1000..1021, 2000..2011");
    y += 18;
    int n = 0;
    for (int id = 1000; id <= 2011; ++id) {
        if (id == 1022) id = 2000;
        const CRect r(CPoint(x + (n % 12) * (kSwatch + 4), y + (n / 12) * (kSwatch + 4)), CSize(kSwatch, kSwatch));
        canvas.Fill(r, pm.GetColor(id), name + " translated " + std::to_string(id));
        ++n;
    }
    y += 3 * (kSwatch + 4) + 8;

    canvas.Label(x, y, "Helper brushes 1..12");
    y += 18;
    for (int i = 0; i < VEzaPaintManager::kHelperBrushCount; ++i) {
        const CRect r(CPoint(x + i * (kSwatch + 12), y), CSize(kSwatch + 8, kSwatch + 8));
        dc.FillRect(&r, &pm.m_brushHelper[i]);
        dc.Draw3dRect(r.left - 1, r.top - 1, r.Width() + 2, r.Height() + 2, RGB(0, 0, 0), RGB(0, 0, 0));
    }
    y += kSwatch + 8 + 14;

    canvas.Label(x, y, "Glyphs, check mark, radio dot, frame");
    y += 18;
    const COLORREF ink[2] = {0, pm.GetColor(COLOR_BTNTEXT)};
    Glyph(dc, pm, x, y, VEzaPaintManager::GlyphExpandBottom(), ink);
    Glyph(dc, pm, x + 50, y, VEzaPaintManager::GlyphExpandRight2(), ink);
    Glyph(dc, pm, x + 110, y, VEzaPaintManager::GlyphExpandBottomTurned(), ink);
    Glyph(dc, pm, x + 150, y, VEzaPaintManager::GlyphExpandRight2Turned(), ink);
    VEzaPaintManager::stat_PaintCheckMark(dc, x + 200, y, pm.GetColor(COLOR_BTNTEXT));
    VEzaPaintManager::stat_PaintRadioDot(dc, x + 220, y, pm.GetColor(COLOR_BTNTEXT));
    VEzaPaintManager::stat_PaintFrameWithoutCorners(dc, CRect(x + 240, y, x + 270, y + 20),
                                                    pm.GetColor(COLOR_BTNHIGHLIGHT), pm.GetColor(COLOR_BTNSHADOW));
    pm.PaintTabNcAreaRect(dc, CRect(x + 280, y, x + 310, y + 20), nullptr, 0);
    y += 40;

    canvas.Label(x, y, "Gradients: face to shadow, vertical, two steps, bands");
    y += 18;
    const COLORREF face = pm.GetColor(1000), shadow = pm.GetColor(COLOR_BTNSHADOW),
                   light = pm.GetColor(COLOR_BTNHIGHLIGHT), accent = pm.GetColor(COLOR_HIGHLIGHT);
    VEzaPaintManager::stat_PaintGradientRect(dc, CRect(x, y, x + 180, y + 24), face, shadow, false);
    VEzaPaintManager::stat_PaintGradientRect(dc, CRect(x + 190, y, x + 214, y + 60), face, accent, true);
    VEzaPaintManager::stat_PaintTwoStepGradient(dc, CRect(x + 224, y, x + 404, y + 24), light, accent, shadow,
                                                false, 1, 3);
    {
        // The band painting that runs without GradientFill.
        auto saved = g_PaintManager.m_pfnGradientFill;
        g_PaintManager.m_pfnGradientFill = nullptr;
        VEzaPaintManager::stat_PaintGradientRect(dc, CRect(x, y + 36, x + 180, y + 60), face, accent, false, 12);
        g_PaintManager.m_pfnGradientFill = saved;
    }
    y += 72;

    canvas.Label(x, y, "Menu frame fill, docker background");
    y += 18;
    canvas.Fill(CRect(CPoint(x, y), CSize(80, 20)), pm.GetMenuFrameFillColor(nullptr, 0), name + " menu frame");
    pm.PaintDockerBkgnd(true, dc, CRect(x + 90, y, x + 170, y + 20), CRect(), 0);
    canvas.Expect(CRect(x + 90, y, x + 170, y + 20), pm.GetColor(1000), name + " docker");
    y += 32;

    canvas.Label(x, y, "Icons: tree boxes, check and radio marks; normal, disabled, x3");
    y += 18;
    VEzaCmdIcon icons[4];
    pm.LoadWinXpTreeBox(icons[0], true);
    pm.LoadWinXpTreeBox(icons[1], false);
    icons[2].CreateCheckMarkBitmap(16, 16, COLORREF(-1), pm.GetColor(1010));
    icons[3].CreateRadioMarkBitmap(16, 16, COLORREF(-1), pm.GetColor(1010));
    for (int i = 0; i < 4; ++i) {
        const int left = x + i * 100;
        icons[i].Paint(dc.GetSafeHdc(), CPoint(left, y), 0);
        icons[i].Paint(dc.GetSafeHdc(), CPoint(left, y + 24), 1);
        const CSize size = icons[i].GetSize();
        VEzaCmdIcon large;
        large.CreateScaledCopy(icons[i], size.cx * 3, size.cy * 3);
        large.Paint(dc.GetSafeHdc(), CPoint(left + 24, y), 0);
    }
    // The tree box's frame, painted through its icon.
    canvas.Expect(CRect(x + 1, y, x + 2, y + 1), RGB(0x78, 0x98, 0xB5), name + " tree box frame");
}

}  // namespace

GALLERY_PAGE("colours", &PaintColours, nullptr);
