// The paint gallery: a test fixture that paints what the two paint managers
// hold, side by side (classic on the left, XP on the right), for a person to
// look at: the system colour table, the translated colours, the helper
// brushes, the glyphs and small pictures, gradients, and command icons (tree
// boxes and marks) as drawn normal and disabled.
//
// Run as a test it checks that the window shows each manager's colours
// where it says it does; with "--shot FILE" it also writes the window's
// snapshot (taken through WM_PRINT) to FILE as a BMP. "--depth8" builds the
// managers as for a palette display (pattern brushes, plain XP colours,
// band gradients of at least 4 pixels).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "icons/cmd_icon.h"
#include "paint/memory_dc.h"
#include "paint/paint_manager.h"
#include "paint/paint_system.h"
#include "wtest.h"

namespace {

const int kColumnWidth = 430;
const int kHeight = 640;
const int kSwatch = 16;

// Where a colour of the gallery's picture is, to check it.
struct Swatch {
    CRect rect;
    COLORREF colour;
    std::string what;
};

class Gallery {
public:
    Gallery() {
        m_classic.OnSysColorChange();
        m_xp.OnSysColorChange();
    }

    void Paint(CDC& dc, const CRect& client) {
        m_swatches.clear();
        dc.FillSolidRect(&client, RGB(255, 255, 255));
        PaintColumn(dc, m_classic, CRect(0, 0, kColumnWidth, client.bottom));
        PaintColumn(dc, m_xp, CRect(kColumnWidth, 0, 2 * kColumnWidth, client.bottom));
    }

    const std::vector<Swatch>& Swatches() const { return m_swatches; }

private:
    void Label(CDC& dc, VEzaPaintManager& pm, int x, int y, const char* text, bool bold = false) {
        CFont* old = dc.SelectObject(bold ? &pm.m_FontBold : &pm.m_FontNormal);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(0, 0, 0));
        dc.TextOut(x, y, text, int(std::strlen(text)));
        dc.SelectObject(old);
    }

    void Fill(CDC& dc, const CRect& r, COLORREF c, const std::string& what) {
        dc.FillSolidRect(&r, c);
        dc.Draw3dRect(r.left - 1, r.top - 1, r.Width() + 2, r.Height() + 2, RGB(0, 0, 0), RGB(0, 0, 0));
        m_swatches.push_back({r, c, what});
    }

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

    void PaintColumn(CDC& dc, VEzaPaintManager& pm, const CRect& area) {
        const std::string name = pm.IsKindOf(RUNTIME_CLASS(VEzaPaintManagerXP)) ? "XP" : "classic";
        int x = area.left + 10, y = area.top + 8;
        Label(dc, pm, x, y, pm.GetRuntimeClass()->m_lpszClassName, true);
        y += 24;

        Label(dc, pm, x, y, "System colours 0..49");
        y += 18;
        for (int i = 0; i < 50; ++i) {
            const CRect r(CPoint(x + (i % 10) * (kSwatch + 4), y + (i / 10) * (kSwatch + 4)), CSize(kSwatch, kSwatch));
            Fill(dc, r, pm.GetColor(i), name + " colour " + std::to_string(i));
        }
        y += 5 * (kSwatch + 4) + 8;

        Label(dc, pm, x, y, "Translated colours 1000..1021, 2000..2011");
        y += 18;
        int n = 0;
        for (int id = 1000; id <= 2011; ++id) {
            if (id == 1022) id = 2000;
            const CRect r(CPoint(x + (n % 12) * (kSwatch + 4), y + (n / 12) * (kSwatch + 4)), CSize(kSwatch, kSwatch));
            Fill(dc, r, pm.GetColor(id), name + " translated " + std::to_string(id));
            ++n;
        }
        y += 3 * (kSwatch + 4) + 8;

        Label(dc, pm, x, y, "Helper brushes 1..12");
        y += 18;
        for (int i = 0; i < VEzaPaintManager::kHelperBrushCount; ++i) {
            const CRect r(CPoint(x + i * (kSwatch + 12), y), CSize(kSwatch + 8, kSwatch + 8));
            dc.FillRect(&r, &pm.m_brushHelper[i]);
            dc.Draw3dRect(r.left - 1, r.top - 1, r.Width() + 2, r.Height() + 2, RGB(0, 0, 0), RGB(0, 0, 0));
        }
        y += kSwatch + 8 + 14;

        Label(dc, pm, x, y, "Glyphs, check mark, radio dot, frame");
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

        Label(dc, pm, x, y, "Gradients: face to shadow, vertical, two steps, bands");
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

        Label(dc, pm, x, y, "Menu frame fill, docker background");
        y += 18;
        Fill(dc, CRect(CPoint(x, y), CSize(80, 20)), pm.GetMenuFrameFillColor(nullptr, 0), name + " menu frame");
        pm.PaintDockerBkgnd(true, dc, CRect(x + 90, y, x + 170, y + 20), CRect(), 0);
        m_swatches.push_back({CRect(x + 90, y, x + 170, y + 20), pm.GetColor(1000), name + " docker"});
        y += 32;

        Label(dc, pm, x, y, "Icons: tree boxes, check and radio marks; normal, disabled, x3");
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
        m_swatches.push_back({CRect(x + 1, y, x + 2, y + 1), RGB(0x78, 0x98, 0xB5), name + " tree box frame"});
    }

    VEzaPaintManager m_classic;
    VEzaPaintManagerXP m_xp;
    std::vector<Swatch> m_swatches;
};

Gallery* g_gallery = nullptr;

LRESULT CALLBACK GalleryProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        switch (msg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hdc = ::BeginPaint(wnd, &ps);
            CDC* dc = CDC::FromHandle(hdc);
            CRect client;
            ::GetClientRect(wnd, &client);
            {
                VEzaMemoryDC mem(dc, &client);
                g_gallery->Paint(mem, client);
            }
            ::EndPaint(wnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT: {
            CRect client;
            ::GetClientRect(wnd, &client);
            CDC* dc = CDC::FromHandle(reinterpret_cast<HDC>(wParam));
            VEzaMemoryDC mem(dc, &client);
            g_gallery->Paint(mem, client);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        }
    } catch (...) {
        std::fprintf(stderr, "gallery: exception in message %u\n", msg);
        return 0;
    }
    return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

HWND CreateGalleryWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &GalleryProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "TrvPaintGallery";
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    ::RegisterClassA(&wc);
    RECT r = {0, 0, 2 * kColumnWidth, kHeight};
    ::AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    return ::CreateWindowExA(0, "TrvPaintGallery", "Paint gallery", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             r.right - r.left, r.bottom - r.top, nullptr, nullptr, ::GetModuleHandleA(nullptr),
                             nullptr);
}

bool WriteBmp(HBITMAP bitmap, const std::string& path) {
    BITMAP info = {};
    if (::GetObjectA(bitmap, sizeof info, &info) == 0) return false;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    std::vector<BYTE> pixels(size_t(info.bmWidth) * size_t(info.bmHeight) * 4);
    HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, bitmap, 0, UINT(info.bmHeight), pixels.data(),
                                 reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != info.bmHeight) return false;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = DWORD(file.bfOffBits + pixels.size());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    bool ok = std::fwrite(&file, sizeof file, 1, f) == 1 && std::fwrite(&header, sizeof header, 1, f) == 1 &&
              std::fwrite(pixels.data(), pixels.size(), 1, f) == 1;
    ok = std::fclose(f) == 0 && ok;
    return ok;
}

COLORREF Pixel(HBITMAP bitmap, int x, int y) {
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    const COLORREF c = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    return c;
}

}  // namespace

static COLORREF SystemColor(int index) { return ::GetSysColor(index); }
static HBRUSH SystemBrush(int index) { return ::GetSysColorBrush(index); }
static int PaletteDepth() { return 8; }

WTEST(gallery_shows_both_looks) {
    static const VEzaPaintSystem palette = {&SystemColor, &SystemBrush, &PaletteDepth};
    if (wtest::has_arg("--depth8")) VEzaSetPaintSystem(&palette);
    Gallery gallery;
    g_gallery = &gallery;
    HWND wnd = CreateGalleryWindow();
    WCHECK(wnd != nullptr);
    ::UpdateWindow(wnd);
    HBITMAP shot = VEzaPaintManager::stat_PrintWnd(wnd, WM_PRINT, PRF_CLIENT | PRF_ERASEBKGND);
    WCHECK(shot != nullptr);
    // Every swatch shows the colour the manager gives.
    int wrong = 0;
    for (const Swatch& s : gallery.Swatches()) {
        const CPoint centre = s.rect.CenterPoint();
        if (Pixel(shot, centre.x, centre.y) != s.colour) {
            ++wrong;
            std::printf("swatch %s shows %06lX, not %06lX\n", s.what.c_str(),
                        (unsigned long)Pixel(shot, centre.x, centre.y), (unsigned long)s.colour);
        }
    }
    WCHECK_EQ(wrong, 0);
    WCHECK(gallery.Swatches().size() > 100);
    const auto& args = wtest::args();
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == "--shot") WCHECK(WriteBmp(shot, args[i + 1]));
    ::DeleteObject(shot);
    ::DestroyWindow(wnd);
    g_gallery = nullptr;
    VEzaSetPaintSystem(nullptr);
}
