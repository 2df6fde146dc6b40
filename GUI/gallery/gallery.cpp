// The paint gallery: a test fixture that paints what the two paint managers
// draw, side by side (classic on the left, XP on the right), for a person to
// look at, one page at a time (gallery_page.h).
//
// Run as a test it shows every page in turn and checks that the window shows
// each colour a page says it does; "--page NAME" shows only that page, and
// "--shot FILE" also writes the window's snapshot (taken through WM_PRINT) to
// FILE as a BMP. "--depth8" builds the managers as for a palette display
// (pattern brushes, plain XP colours, band gradients of at least 4 pixels).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "gallery_page.h"
#include "paint/memory_dc.h"
#include "paint/paint_manager.h"
#include "paint/paint_system.h"
#include "wtest.h"

std::vector<GalleryPage>& GalleryPages() {
    static std::vector<GalleryPage> pages;
    return pages;
}

GalleryCanvas::GalleryCanvas(CDC& dc_, VEzaPaintManager& pm_, std::vector<GallerySwatch>& swatches)
    : dc(dc_), pm(pm_), look(pm_.IsKindOf(RUNTIME_CLASS(VEzaPaintManagerXP)) ? "XP" : "classic"),
      m_swatches(swatches) {}

void GalleryCanvas::Label(int x, int y, const char* text, bool bold) {
    CFont* old = dc.SelectObject(bold ? &pm.m_FontBold : &pm.m_FontNormal);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.TextOut(x, y, text, int(std::strlen(text)));
    dc.SelectObject(old);
}

void GalleryCanvas::Fill(const CRect& r, COLORREF c, const std::string& what) {
    dc.FillSolidRect(&r, c);
    dc.Draw3dRect(r.left - 1, r.top - 1, r.Width() + 2, r.Height() + 2, RGB(0, 0, 0), RGB(0, 0, 0));
    Expect(r, c, what);
}

void GalleryCanvas::Expect(const CRect& r, COLORREF c, const std::string& what) { m_swatches.push_back({r, c, what}); }

namespace {

class Gallery {
public:
    explicit Gallery(const GalleryPage& page) : m_page(page) {
        m_classic.OnSysColorChange();
        m_xp.OnSysColorChange();
    }

    void Paint(CDC& dc, const CRect& client) {
        m_swatches.clear();
        dc.FillSolidRect(&client, RGB(255, 255, 255));
        PaintColumn(dc, m_classic, CRect(0, 0, kGalleryColumnWidth, client.bottom));
        PaintColumn(dc, m_xp, CRect(kGalleryColumnWidth, 0, 2 * kGalleryColumnWidth, client.bottom));
    }

    void CreateChildren(HWND parent) {
        if (m_page.create != nullptr) m_page.create(parent, m_classic, m_xp);
    }

    const std::vector<GallerySwatch>& Swatches() const { return m_swatches; }

private:
    void PaintColumn(CDC& dc, VEzaPaintManager& pm, const CRect& area) {
        GalleryCanvas canvas(dc, pm, m_swatches);
        m_page.paint(canvas, area);
    }

    const GalleryPage& m_page;
    VEzaPaintManager m_classic;
    VEzaPaintManagerXP m_xp;
    std::vector<GallerySwatch> m_swatches;
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
        case WM_PRINT: {
            // The system leaves the children out; live pages need them in the snapshot.
            const LRESULT r = ::DefWindowProcA(wnd, msg, wParam, lParam);
            if ((lParam & PRF_CHILDREN) != 0)
                VEzaPaintManager::stat_PrintChildren(wnd, msg, reinterpret_cast<HDC>(wParam), lParam, true);
            return r;
        }
        }
    } catch (...) {
        std::fprintf(stderr, "gallery: exception in message %u\n", msg);
        return 0;
    }
    return ::DefWindowProcA(wnd, msg, wParam, lParam);
}

HWND CreateGalleryWindow(const char* title) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &GalleryProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "TrvPaintGallery";
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    static const bool registered = ::RegisterClassA(&wc) != 0;
    if (!registered) return nullptr;
    RECT r = {0, 0, 2 * kGalleryColumnWidth, kGalleryHeight};
    ::AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
    return ::CreateWindowExA(0, "TrvPaintGallery", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
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
    // 24 bits: a 32-bit file's fourth byte (left 0 by GDI) reads as a fully
    // transparent alpha in most viewers and converters.
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const size_t stride = (size_t(info.bmWidth) * 3 + 3) & ~size_t(3);
    std::vector<BYTE> pixels(stride * size_t(info.bmHeight));
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

// Shows one page and checks its swatches; with --shot, writes the snapshot.
void ShowPage(const GalleryPage& page, const char* shotPath) {
    Gallery gallery(page);
    g_gallery = &gallery;
    const std::string title = std::string("Paint gallery: ") + page.name;
    HWND wnd = CreateGalleryWindow(title.c_str());
    WCHECK(wnd != nullptr);
    gallery.CreateChildren(wnd);
    ::UpdateWindow(wnd);
    HBITMAP shot = VEzaPaintManager::stat_PrintWnd(wnd, WM_PRINT, PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
    WCHECK(shot != nullptr);
    // Every swatch shows the colour the manager gives.
    int wrong = 0;
    for (const GallerySwatch& s : gallery.Swatches()) {
        const CPoint centre = s.rect.CenterPoint();
        if (Pixel(shot, centre.x, centre.y) != s.colour) {
            ++wrong;
            std::printf("page %s: swatch %s shows %06lX, not %06lX\n", page.name, s.what.c_str(),
                        (unsigned long)Pixel(shot, centre.x, centre.y), (unsigned long)s.colour);
        }
    }
    WCHECK_EQ(wrong, 0);
    WCHECK(!gallery.Swatches().empty());
    if (shotPath != nullptr) WCHECK(WriteBmp(shot, shotPath));
    ::DeleteObject(shot);
    ::DestroyWindow(wnd);
    g_gallery = nullptr;
}

}  // namespace

static COLORREF SystemColor(int index) { return ::GetSysColor(index); }
static HBRUSH SystemBrush(int index) { return ::GetSysColorBrush(index); }
static int PaletteDepth() { return 8; }

WTEST(gallery_shows_both_looks) {
    static const VEzaPaintSystem palette = {&SystemColor, &SystemBrush, &PaletteDepth};
    if (wtest::has_arg("--depth8")) VEzaSetPaintSystem(&palette);
    std::string only, shotPath;
    const auto& args = wtest::args();
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--page") only = args[i + 1];
        if (args[i] == "--shot") shotPath = args[i + 1];
    }
    if (only.empty() && !shotPath.empty()) only = "colours";
    int shown = 0;
    for (const GalleryPage& page : GalleryPages()) {
        if (!only.empty() && only != page.name) continue;
        ShowPage(page, shotPath.empty() ? nullptr : shotPath.c_str());
        ++shown;
    }
    WCHECK(shown > 0);
    VEzaSetPaintSystem(nullptr);
}
