// The gallery's pages: each page paints one group of elements in a column,
// once for each look (classic on the left, XP on the right), and may create
// live child windows. A page registers itself from its own file with
// GALLERY_PAGE; "--page NAME" picks the page shown, and the gallery's test
// paints every page in turn.
#pragma once
#include <string>
#include <vector>

#include "afxwin.h"
#include "paint/paint_manager.h"

// Where a colour of the gallery's picture is, to check it.
struct GallerySwatch {
    CRect rect;
    COLORREF colour;
    std::string what;
};

// One look's column of a page being painted.
class GalleryCanvas {
public:
    GalleryCanvas(CDC& dc, VEzaPaintManager& pm, std::vector<GallerySwatch>& swatches);

    CDC& dc;
    VEzaPaintManager& pm;
    // "classic" or "XP", to name swatches.
    const std::string look;

    // A line of text in the manager's normal (or bold) font, black.
    void Label(int x, int y, const char* text, bool bold = false);
    // A filled rectangle framed in black, recorded as a swatch.
    void Fill(const CRect& r, COLORREF c, const std::string& what);
    // Records that the pixel at the rectangle's centre must show colour.
    void Expect(const CRect& r, COLORREF c, const std::string& what);

private:
    std::vector<GallerySwatch>& m_swatches;
};

struct GalleryPage {
    const char* name;
    // Paints the page for one look inside area.
    void (*paint)(GalleryCanvas& canvas, const CRect& area);
    // Optional: creates live child windows of the gallery window (parent);
    // classic is the left column's manager, xp the right's.
    void (*create)(HWND parent, VEzaPaintManager& classic, VEzaPaintManager& xp);
};

std::vector<GalleryPage>& GalleryPages();

struct GalleryPageRegistrar {
    explicit GalleryPageRegistrar(const GalleryPage& page) { GalleryPages().push_back(page); }
};

#define GALLERY_PAGE_CAT2(a, b) a##b
#define GALLERY_PAGE_CAT(a, b) GALLERY_PAGE_CAT2(a, b)
// GALLERY_PAGE("name", paint, create-or-nullptr) at namespace scope.
#define GALLERY_PAGE(name, paint, create) \
    static GalleryPageRegistrar GALLERY_PAGE_CAT(g_galleryPage, __LINE__)(GalleryPage{name, paint, create})

// Column geometry shared by the pages.
constexpr int kGalleryColumnWidth = 430;
constexpr int kGalleryHeight = 640;
