// Dock markers off-screen: regions from bitmaps, marker placement with and
// without frame pictures, picture loading and refusals, group composition
// from the library's pictures, the docking-area tint on pixel arrays; and
// the drag marks and date picker elements painted into DIBs.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "paint/dock_marker.h"
#include "paint_test_util.h"

using namespace pt;

namespace {

using Marker = VEzaPaintManager::DockMarkerBase;
using Beta2 = VEzaPaintManager::DockMarkerBeta2;

const COLORREF kBack = RGB(1, 2, 3), kGreen = RGB(0, 255, 0);

std::string Show(const CRect& r)
{
    char s[64];
    std::snprintf(s, sizeof s, "(%ld,%ld,%ld,%ld)", (long)r.left, (long)r.top, (long)r.right, (long)r.bottom);
    return s;
}

// A bitmap drawn from rows of text: '#' a dark pixel, 'o' a near-green one,
// anything else green.
HBITMAP Picture(const std::vector<std::string>& rows)
{
    const int w = int(rows[0].size()), h = int(rows.size());
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HDC dc = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ::SetPixel(dc, x, y, rows[y][x] == '#' ? RGB(20, 30, 40) : rows[y][x] == 'o' ? RGB(2, 255, 1) : kGreen);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

// A solid w by h bitmap.
HBITMAP Solid(int w, int h, COLORREF c)
{
    std::vector<std::string> rows(size_t(h), std::string(size_t(w), c == kGreen ? '.' : '#'));
    return Picture(rows);
}

// The region as text, one character per pixel: '#' inside, '.' outside.
std::string RegionRows(HRGN region, int w, int h)
{
    std::string s;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            s += ::PtInRegion(region, x, y) ? '#' : '.';
        s += '\n';
    }
    return s;
}

std::string Join(const std::vector<std::string>& rows)
{
    std::string s;
    for (const std::string& r : rows)
        s += r + '\n';
    return s;
}

bool IsGdiObject(HGDIOBJ h)
{
    return ::GetObjectType(h) != 0;
}

// Puts a dock-marker style into the current manager while it lives.
struct MarkerStyle {
    explicit MarkerStyle(int style) : saved(g_PaintManager->m_nDockMarkerType)
    {
        g_PaintManager->m_nDockMarkerType = style;
    }
    ~MarkerStyle() { g_PaintManager->m_nDockMarkerType = saved; }
    int saved;
};

CSize SizeOf(CBitmap& bitmap)
{
    BITMAP info = {};
    bitmap.GetBitmap(&info);
    return CSize(info.bmWidth, info.bmHeight);
}

}  // namespace

// ---- Regions

WTEST(region_from_bitmap_holds_every_pixel_that_is_not_transparent)
{
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        COLORREF tolerance;
        std::vector<std::string> expected;
    } cases[] = {
        // clang-format off
        {"runs of one row and several rows",
         {"..##.#", "######", "......", "#....#"},
         0,
         {"..##.#", "######", "......", "#....#"}},
        {"near-green is opaque without tolerance", {"o#o", ".o."}, 0, {"###", ".#."}},
        {"and transparent within it", {"o#o", ".o."}, RGB(2, 0, 1), {".#.", "..."}},
        {"no opaque pixel: an empty region", {"....", "...."}, 0, {"....", "...."}},
        // clang-format on
    };
    for (const Case& c : cases) {
        HBITMAP bitmap = Picture(c.rows);
        HRGN region = VEzaPaintManager::stat_GetRegionFromBitmap(bitmap, kGreen, c.tolerance);
        WCHECK(region != nullptr);
        if (region == nullptr)
            continue;
        const int w = int(c.rows[0].size()), h = int(c.rows.size());
        WCHECK_EQ(c.what + std::string("\n") + RegionRows(region, w, h), c.what + std::string("\n") + Join(c.expected));
        ::DeleteObject(region);
        ::DeleteObject(bitmap);
    }
    WCHECK(VEzaPaintManager::stat_GetRegionFromBitmap(nullptr, kGreen, 0) == nullptr);
}

WTEST(region_from_bitmap_with_more_runs_than_one_block_holds)
{
    // 3 × 1600 single-pixel runs: the blocks are merged more than once.
    const int w = 160, h = 60;
    std::vector<std::string> rows(h, std::string(w, '.'));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((x + y) % 2 == 0)
                rows[y][x] = '#';
    HBITMAP bitmap = Picture(rows);
    HRGN region = VEzaPaintManager::stat_GetRegionFromBitmap(bitmap, kGreen, 0);
    WCHECK(region != nullptr);
    WCHECK_EQ(RegionRows(region, w, h), Join(rows));
    ::DeleteObject(region);
    ::DeleteObject(bitmap);
}

// ---- Placement

WTEST(marker_placement_by_kind)
{
    struct Case {
        int kind;
        CSize size;
        CRect expected;
    } cases[] = {
        // clang-format off
        {0, {20, 30}, {40, 0, 60, 30}},   {1, {20, 30}, {40, 70, 60, 100}}, {2, {20, 30}, {0, 35, 20, 65}},
        {3, {20, 30}, {80, 35, 100, 65}}, {4, {21, 31}, {39, 34, 60, 65}},  {8, {20, 30}, {40, 35, 60, 65}},
        {5, {20, 30}, {0, 0, 100, 100}},
        // clang-format on
    };
    for (const Case& c : cases) {
        for (bool beta2 : {false, true}) {
            std::unique_ptr<Marker> m(beta2 ? new Beta2 : new Marker);
            m->m_size = c.size;
            m->Position(c.kind, CRect(0, 0, 100, 100), nullptr);
            CRect expected = c.expected;
            // The second set's tab-area marker stands one pixel further in.
            if (beta2 && c.kind == 8)
                expected.OffsetRect(1, 1);
            WCHECK_EQ(std::to_string(c.kind) + (beta2 ? " beta2 " : " base ") + Show(m->m_rect),
                      std::to_string(c.kind) + (beta2 ? " beta2 " : " base ") + Show(expected));
        }
    }
}

WTEST(separate_arrow_stands_on_its_frame_picture)
{
    MarkerStyle style(3);
    struct Case {
        int kind;
        CSize arrow;
        CRect expected;
        CPoint offset;
        CSize frame;
        CPoint centreShift;
    } cases[] = {
        // clang-format off
        {0, {30, 20}, {30, 5, 70, 33}, {6, 4}, {40, 28}, {1, 10}},
        {1, {30, 20}, {30, 67, 70, 95}, {6, 3}, {40, 28}, {1, -8}},
        {2, {20, 30}, {5, 30, 33, 70}, {4, 6}, {28, 40}, {10, 1}},
        {3, {20, 30}, {67, 30, 95, 70}, {3, 6}, {28, 40}, {-8, 1}},
        // clang-format on
    };
    for (const Case& c : cases) {
        for (bool withCentre : {false, true}) {
            Beta2 m;
            m.m_dwFlags = Marker::FlagSeparate;
            Marker centre;
            WCHECK(m.TakePictures(0, 0, 100, 100, c.kind, kGreen, Solid(c.arrow.cx, c.arrow.cy, 0),
                                  Solid(c.arrow.cx, c.arrow.cy, 0)));
            // Placed again around a compass centre: the frame stays, the shift is added.
            if (withCentre)
                m.Position(c.kind, CRect(0, 0, 100, 100), &centre);
            CRect expected = c.expected;
            if (withCentre) {
                // The second placement starts from the frame picture's size.
                Marker plain;
                plain.m_size = c.frame;
                plain.Position(c.kind, CRect(0, 0, 100, 100), nullptr);
                expected = plain.m_rect;
                expected.OffsetRect(c.centreShift);
            }
            const std::string what = std::to_string(c.kind) + (withCentre ? " centre " : " ");
            WCHECK_EQ(what + Show(m.m_rect), what + Show(expected));
            WCHECK(m.m_ptPictureOffset == c.offset);
            WCHECK(m.m_size == c.frame);
            WCHECK(SizeOf(m.m_bmpFrame) == c.frame);
            // The shape is the frame's: its cut corners are outside.
            RECT box = {};
            ::GetRgnBox(HRGN(m.m_rgn.GetSafeHandle()), &box);
            WCHECK(CRect(box) == CRect(CPoint(0, 0), c.frame));
            WCHECK(!::PtInRegion(HRGN(m.m_rgn.GetSafeHandle()), 0, 0));
            WCHECK(::PtInRegion(HRGN(m.m_rgn.GetSafeHandle()), c.frame.cx / 2, c.frame.cy / 2));
        }
    }
}

WTEST(frame_pictures_only_for_separate_side_arrows_of_the_second_set)
{
    MarkerStyle style(3);
    {
        // Clearing deletes the frame too, so that a marker built again gets its own.
        Beta2 m;
        m.m_dwFlags = Marker::FlagSeparate;
        WCHECK(m.TakePictures(0, 0, 100, 100, 2, kGreen, Solid(20, 30, 0), Solid(20, 30, 0)));
        const HGDIOBJ frame = m.m_bmpFrame.GetSafeHandle();
        WCHECK(frame != nullptr);
        m.Clear();
        WCHECK(m.m_bmpFrame.GetSafeHandle() == nullptr && !IsGdiObject(frame));
        WCHECK(m.m_ptPictureOffset == CPoint(0, 0));
    }
    struct Case {
        bool beta2;
        DWORD flags;
        int kind;
    } cases[] = {{true, 0, 2}, {false, Marker::FlagSeparate, 2}, {true, Marker::FlagSeparate, 4}};
    for (const Case& c : cases) {
        std::unique_ptr<Marker> m(c.beta2 ? new Beta2 : new Marker);
        m->m_dwFlags = c.flags;
        WCHECK(m->TakePictures(0, 0, 100, 100, c.kind, kGreen, Solid(20, 30, 0), Solid(20, 30, 0)));
        WCHECK(m->m_bmpFrame.GetSafeHandle() == nullptr);
        WCHECK(m->m_size == CSize(20, 30));
    }
}

// ---- Pictures

WTEST(pictures_of_different_sizes_or_without_shape_are_refused_and_deleted)
{
    struct Case {
        const char* what;
        HBITMAP hover, idle;
    } cases[] = {
        // clang-format off
        {"sizes differ", Solid(20, 30, 0), Solid(20, 31, 0)},
        {"all transparent", Solid(20, 30, kGreen), Solid(20, 30, 0)},
        {"no idle picture", Solid(20, 30, 0), nullptr},
        // clang-format on
    };
    for (const Case& c : cases) {
        Marker m;
        WCHECK(!m.TakePictures(0, 0, 100, 100, 2, kGreen, c.hover, c.idle));
        WCHECK(!IsGdiObject(c.hover));
        WCHECK(c.idle == nullptr || !IsGdiObject(c.idle));
        WCHECK(m.IsEmpty());
        WCHECK(m.m_bmpHover.GetSafeHandle() == nullptr);
    }
    Marker m;
    WCHECK(!m.LoadFromResources(0, 0, 100, 100, 2, kGreen, MAKEINTRESOURCEA(30999), MAKEINTRESOURCEA(2)));
    WCHECK(m.IsEmpty());
}

WTEST(taking_pictures_keeps_them_and_places_the_marker)
{
    MarkerStyle style(3);
    Marker m;
    HBITMAP hover = Picture({"..##..", ".####.", "######"}), idle = Solid(6, 3, 0);
    WCHECK(m.TakePictures(0, 0, 100, 100, 2, kGreen, hover, idle));
    WCHECK(!m.IsEmpty());
    WCHECK_EQ(m.m_nType, 2);
    WCHECK(m.m_bmpHover.GetSafeHandle() == hover);
    WCHECK(m.m_bmpIdle.GetSafeHandle() == idle);
    WCHECK(m.m_rect == CRect(0, 48, 6, 51));
    WCHECK_EQ(RegionRows(HRGN(m.m_rgn.GetSafeHandle()), 6, 3), std::string("..##..\n.####.\n######\n"));
    m.Clear();
    WCHECK(m.IsEmpty());
    WCHECK(!IsGdiObject(hover));
    WCHECK(!IsGdiObject(idle));
    WCHECK(m.m_rect.IsRectEmpty() && m.m_size == CSize(0, 0));
}

// ---- Groups from the library's pictures

WTEST(marker_objects_by_style)
{
    for (int style : {1, 2, 3}) {
        MarkerStyle s(style);
        std::unique_ptr<Marker> m(g_PaintManager->DockMarker_CreateObject());
        WCHECK_EQ(dynamic_cast<Beta2*>(m.get()) != nullptr, style != 1);
    }
    MarkerStyle s(4);
    WCHECK_THROWS(g_PaintManager->DockMarker_CreateObject(), CNotSupportedException*);
}

WTEST(single_markers_load_their_set_of_pictures)
{
    struct Case {
        int style, kind;
        CSize size;
    } cases[] = {
        // clang-format off
        {1, 0, {26, 26}}, {1, 2, {26, 26}}, {1, 4, {88, 88}}, {1, 8, {26, 26}},
        {3, 0, {30, 20}}, {3, 1, {30, 20}}, {3, 2, {20, 30}}, {3, 3, {20, 30}}, {3, 4, {88, 88}}, {3, 8, {28, 28}},
        // clang-format on
    };
    for (const Case& c : cases) {
        MarkerStyle s(c.style);
        std::unique_ptr<Marker> m(g_PaintManager->DockMarker_CreateObject());
        const std::string what = std::to_string(c.style) + "/" + std::to_string(c.kind);
        WCHECK_EQ(what + (m->Create(true, c.kind, CRect(0, 0, 300, 200)) ? " ok" : " failed"), what + " ok");
        WCHECK(SizeOf(m->m_bmpHover) == c.size);
        WCHECK(SizeOf(m->m_bmpIdle) == c.size);
        WCHECK_EQ(m->m_nType, c.kind);
        WCHECK(m->m_children.empty());
        // Green never belongs to the shape.
        WCHECK(!::PtInRegion(HRGN(m->m_rgn.GetSafeHandle()), 0, 0) || c.style == 1);
    }
    Marker none;
    WCHECK(none.Create(true, -1, CRect(0, 0, 300, 200)));
    WCHECK(none.IsEmpty() && none.m_children.empty());
    WCHECK(!none.Create(true, 9, CRect(0, 0, 300, 200)));
}

WTEST(groups_hold_their_children_in_order)
{
    MarkerStyle s(3);
    auto kinds = [](const Marker& m) {
        std::string k;
        for (const Marker* c : m.m_children)
            k += std::to_string(c->m_nType) + (c->m_dwFlags & 1 ? "f " : " ");
        return k;
    };
    const CRect rect(0, 0, 300, 200);
    Marker m;
    // Separate side arrows: flagged, each on its frame at its edge.
    WCHECK(m.Create(false, 5, rect));
    WCHECK_EQ(m.m_nType, 5);
    WCHECK_EQ(kinds(m), std::string("0f 1f 2f 3f "));
    WCHECK(m.m_children[0]->m_rect == CRect(130, 5, 170, 33));
    WCHECK(m.m_children[3]->m_rect == CRect(267, 80, 295, 120));
    WCHECK(SizeOf(m.m_children[2]->m_bmpFrame) == CSize(28, 40));

    // The compass: centre first, arms placed around it without frames.
    WCHECK(m.Create(true, 6, rect));
    WCHECK_EQ(kinds(m), std::string("4 0 1 2 3 "));
    WCHECK(m.m_children[0]->m_rect == CRect(106, 56, 194, 144));
    // Around (100, 50, 200, 150): arms at its edges, moved in.
    WCHECK(m.m_children[1]->m_rect == CRect(136, 60, 166, 80));
    WCHECK(m.m_children[2]->m_rect == CRect(136, 122, 166, 142));
    WCHECK(m.m_children[3]->m_rect == CRect(110, 86, 130, 116));
    WCHECK(m.m_children[4]->m_rect == CRect(172, 86, 192, 116));
    for (const Marker* c : m.m_children)
        WCHECK(c->m_bmpFrame.GetSafeHandle() == nullptr);

    WCHECK(m.Create(true, 7, rect));
    WCHECK_EQ(kinds(m), std::string("4 0 1 2 3 8 "));
    WCHECK(m.m_children[5]->m_rect == CRect(137, 87, 165, 115));

    // The classic set: the same composition from its own pictures.
    MarkerStyle classic(1);
    WCHECK(m.Create(true, 7, rect));
    WCHECK_EQ(kinds(m), std::string("4 0 1 2 3 8 "));
    WCHECK(SizeOf(m.m_children[1]->m_bmpHover) == CSize(26, 26));
    WCHECK(m.Create(false, -1, rect));
    WCHECK(m.m_children.empty());
}

// ---- Docking-area tint

namespace {

// A tint case: the area's picture as text from the top ('B' border mix, 'F'
// fill mix, 'S' the shadow colour, '.' untouched).
std::string Tint(VEzaPaintManager& pm, int w, int h, bool tab, bool above, const CRect& main, const CRect& tabArea,
                 int bw, COLORREF pixel, COLORREF fill, COLORREF border, COLORREF shadow)
{
    std::vector<COLORREF> px(size_t(w) * size_t(h), pixel);
    pm.DockMarker_AdjustHighlightedArea(px.data(), w, h, tab, above, main, tabArea, COLORREF(-1), COLORREF(-1), bw);
    std::string s;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const COLORREF p = px[size_t(h - 1 - y) * size_t(w) + size_t(x)];
            s += p == fill ? 'F' : p == border ? 'B' : p == shadow ? 'S' : p == pixel ? '.' : '?';
        }
        s += '\n';
    }
    return s;
}

// 0x00RRGGBB of a colour.
COLORREF DibPixel(COLORREF c)
{
    return (COLORREF(GetRValue(c)) << 16) | (COLORREF(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace

WTEST(docking_area_tint_on_a_pixel_array)
{
    const COLORREF pixel = RGB(40, 100, 200);  // as 0x00RRGGBB below
    struct Case {
        const char* what;
        int bpp, style, w, h;
        bool tab, above;
        CRect main, tab_;
        int bw;
        std::vector<std::string> expected;
    } cases[] = {
        // clang-format off
        {"border 2 below",
         32, 1, 8, 6, false, false, {}, {}, 2,
         {"BBBBBBBB", "BBBBBBBB", "BBFFFFBB", "BBFFFFBB", "BBBBBBBB", "BBBBBBBB"}},
        {"border 2 above",
         32, 1, 8, 6, false, true, {}, {}, 2,
         {"BBBBBBBB", "BBBBBBBB", "BBBBBBBB", "BBFFFFBB", "BBFFFFBB", "BBBBBBBB"}},
        {"no border", 32, 3, 4, 2, false, false, {}, {}, 0, {"FFFF", "FFFF"}},
        {"tab below",
         32, 1, 12, 10, true, false, {0, 0, 12, 7}, {2, 7, 6, 10}, 1,
         {"BBBBBBBBBBBB", "BFFFFFFFFFFB", "BFFFFFFFFFFB", "BFFFFFFFFFFB", "BFFFFFFFFFFB", "BFFFFFFFFFFB",
          "BBBFFBBBBBBB", "..BFFB......", "..BFFB......", "..BBBB......"}},
        {"palette display", 8, 1, 5, 3, false, false, {}, {}, 2, {".S.S.", "S.S.S", ".S.S."}},
        {"palette display, tab", 8, 1, 5, 4, true, false, {0, 0, 5, 2}, {1, 2, 3, 4}, 2,
         {"S.S.S", ".S.S.", "..S..", ".S..."}},
        // clang-format on
    };
    for (const Case& c : cases) {
        InjectedSystem system(c.bpp);
        VEzaPaintManager pm;
        pm.OnSysColorChange();
        pm.m_nDockMarkerType = c.style;
        const COLORREF p = DibPixel(pixel);
        // Halfway to the colour, then a tenth lighter.
        auto mix = [&](COLORREF c2) {
            const COLORREF m = RGB(40 + (int(GetRValue(c2)) - 40) / 2, 100 + (int(GetGValue(c2)) - 100) / 2,
                                   200 + (int(GetBValue(c2)) - 200) / 2);
            return DibPixel(VEzaPaintManager::stat_AdjustColorHLS(m, 0, 0.1, 0));
        };
        const COLORREF fill = mix(c.style == 1 ? InjectedSystem::kHighlight : RGB(0, 64, 196));
        const COLORREF border = mix(InjectedSystem::kFace);
        const COLORREF shadow = DibPixel(pm.GetColor(COLOR_BTNSHADOW));
        const std::string got = Tint(pm, c.w, c.h, c.tab, c.above, c.main, c.tab_, c.bw, p, fill, border, shadow);
        WCHECK_EQ(c.what + ("\n" + got), c.what + ("\n" + Join(c.expected)));
    }
}

// ---- Drag marks

WTEST(drop_divider_shapes)
{
    InjectedSystem system(32);
    VEzaPaintManager pm;
    pm.OnSysColorChange();
    struct Case {
        bool before, vertical;
        std::vector<std::string> expected;  // x 0..19, y 0..19
    } cases[] = {
        // clang-format off
        {true, true, {}}, {false, true, {}}, {true, false, {}}, {false, false, {}},
        // clang-format on
    };
    // Drawn from the geometry: an I-beam 2 thick with 6-wide end rows and
    // 4-wide blocks two deep at both ends.
    auto beam = [](bool vertical, int at, int from, int to) {
        std::vector<std::string> rows(20, std::string(20, '.'));
        auto set = [&](int a, int b) {
            if (vertical)
                rows[b][a] = 'X';
            else
                rows[a][b] = 'X';
        };
        for (int i = from; i <= to; ++i)
            set(at, i), set(at + 1, i);
        for (int d = -2; d <= 3; ++d)
            set(at + d, from), set(at + d, to);
        for (int d = -1; d <= 2; ++d)
            set(at + d, from + 1), set(at + d, to - 1);
        return rows;
    };
    // The rectangle is (5, 5, 15, 15).
    cases[0].expected = beam(true, 4, 4, 15);
    cases[1].expected = beam(true, 14, 4, 15);
    cases[2].expected = beam(false, 4, 4, 15);
    cases[3].expected = beam(false, 14, 4, 14);
    for (const Case& c : cases) {
        Dib dib(20, 20, kBack);
        DibCDC dc(dib);
        pm.PaintDropDivider(dc, CRect(5, 5, 15, 15), c.before, c.vertical);
        WCHECK_EQ(dib.Rows({0, 0, 20, 20}, {{kBack, '.'}, {InjectedSystem::kText, 'X'}}), Join(c.expected));
    }
    // Before an item at x = 50 in a row from y = 10 to y = 30.
    Dib dib(60, 40, kBack);
    DibCDC dc(dib);
    pm.PaintDropDivider(dc, CRect(50, 10, 80, 30), true, true);
    WCHECK_EQ(dib.CountOther({49, 9, 51, 31}, InjectedSystem::kText), 0);
    WCHECK_EQ(dib.CountOther({47, 9, 53, 10}, InjectedSystem::kText), 0);
    WCHECK_EQ(dib.CountOther({47, 30, 53, 31}, InjectedSystem::kText), 0);
    // The line, the end rows' 4 more pixels and the blocks' 2 more each end.
    WCHECK_EQ(dib.CountOther({0, 0, 60, 40}, kBack), 2 * 22 + 2 * 4 + 2 * 2);
}

WTEST(drag_source_frame_only_where_visible)
{
    InjectedSystem system(32);
    VEzaPaintManager pm;
    pm.OnSysColorChange();
    for (bool clipped : {false, true}) {
        Dib dib(30, 20, kBack);
        DibCDC dc(dib);
        if (clipped)
            dc.IntersectClipRect(20, 0, 30, 20);
        pm.PaintDragSourceRect(dc, CRect(2, 2, 12, 10));
        if (!clipped)
            WCHECK_EQ(dib.Rows({2, 2, 12, 10}, {{kBack, '.'}, {InjectedSystem::kText, 'X'}}),
                      std::string("XXXXXXXXXX\nXXXXXXXXXX\nXX......XX\nXX......XX\n"
                                  "XX......XX\nXX......XX\nXXXXXXXXXX\nXXXXXXXXXX\n"));
        WCHECK_EQ(dib.CountOther({0, 0, 30, 20}, kBack), clipped ? 0 : 10 * 8 - 6 * 4);
    }
}

WTEST(drag_source_frame_stays_inside_a_small_rectangle)
{
    InjectedSystem system(32);
    VEzaPaintManager pm;
    pm.OnSysColorChange();
    for (int size : {1, 2, 3}) {
        Dib dib(10, 10, kBack);
        DibCDC dc(dib);
        pm.PaintDragSourceRect(dc, CRect(4, 4, 4 + size, 4 + size));
        WCHECK_EQ(dib.CountOther({4, 4, 4 + size, 4 + size}, InjectedSystem::kText), 0);
        WCHECK_EQ(dib.CountOther({0, 0, 10, 10}, kBack), size * size);
    }
}

WTEST(tear_off_button_in_both_looks)
{
    InjectedSystem system(32);
    VEzaPaintManager classic;
    classic.OnSysColorChange();
    VEzaPaintManagerXP xp;
    xp.OnSysColorChange();
    {
        Dib dib(100, 9, kBack);
        DibCDC dc(dib);
        classic.PaintMenuTearOffButton(dc, CRect(0, 0, 100, 9), true, false, nullptr, 0);
        WCHECK_EQ(dib.CountOther({1, 0, 100, 8}, InjectedSystem::kHighlight), 0);
        WCHECK_EQ(dib.CountOther({0, 0, 1, 9}, kBack) + dib.CountOther({0, 8, 100, 9}, kBack), 0);
    }
    struct Case {
        bool hover, pushed;
        const char* rows;  // the column x = 40 from y = 0 to 8: F fill, E frame, L lines
    } cases[] = {
        // clang-format off
        {false, false, "FLFLFLFF."},
        {true, false, "EFLFLFFE."},
        {false, true, "EFLFLFFE."},
        // clang-format on
    };
    for (const Case& c : cases) {
        Dib dib(100, 9, kBack);
        DibCDC dc(dib);
        xp.PaintMenuTearOffButton(dc, CRect(0, 0, 100, 9), c.hover, c.pushed, nullptr, 0);
        const bool active = c.hover || c.pushed;
        const COLORREF fill = xp.GetColor(active ? 1001 : 2000), frame = xp.GetColor(2004),
                       lines = xp.GetColor(active ? COLOR_BTNTEXT : COLOR_BTNSHADOW);
        const std::vector<std::pair<COLORREF, char>> legend = {{kBack, '.'}, {fill, 'F'}, {frame, 'E'}, {lines, 'L'}};
        std::string column = dib.Rows({40, 0, 41, 9}, legend);
        std::string flat;
        for (char ch : column)
            if (ch != '\n')
                flat += ch;
        WCHECK_EQ(flat, std::string(c.rows));
        // The grip is 33 pixels wide in the middle: x = 33 to 65.
        const int y = active ? 2 : 1;
        WCHECK_EQ(dib.CountOther({33, y, 66, y + 1}, lines), 0);
        WCHECK(dib.At(32, y) != lines && dib.At(66, y) != lines);
    }
    // Narrower than the grip: nothing beyond the button.
    Dib dib(40, 9, kBack);
    DibCDC dc(dib);
    xp.PaintMenuTearOffButton(dc, CRect(10, 0, 30, 9), false, false, nullptr, 0);
    WCHECK_EQ(dib.CountOther({0, 0, 10, 9}, kBack) + dib.CountOther({30, 0, 40, 9}, kBack), 0);
}

// ---- Date picker

WTEST(date_picker_border_header_and_separator)
{
    InjectedSystem system(32);
    const COLORREF white = RGB(255, 255, 255);
    for (bool xpLook : {false, true}) {
        std::unique_ptr<VEzaPaintManager> pm(xpLook ? new VEzaPaintManagerXP : new VEzaPaintManager);
        pm->OnSysColorChange();
        Dib dib(40, 30, kBack);
        DibCDC dc(dib);
        pm->PaintDatePickerBorder(dc, CRect(0, 0, 20, 20), nullptr, 0);
        // Top-left and bottom-right colours of the four frames, outside in.
        const COLORREF face = pm->GetColor(COLOR_BTNFACE), shadow = pm->GetColor(COLOR_BTNSHADOW),
                       dark = pm->GetColor(COLOR_3DDKSHADOW);
        const COLORREF tl[4] = {face, white, face, shadow};
        const COLORREF br[4] = {dark, shadow, face, white};
        for (int i = 0; i < 4; ++i) {
            WCHECK_EQ(Hex(dib.At(i, 10)), Hex(tl[i]));
            WCHECK_EQ(Hex(dib.At(10, i)), Hex(tl[i]));
            WCHECK_EQ(Hex(dib.At(19 - i, 10)), Hex(br[i]));
            WCHECK_EQ(Hex(dib.At(10, 19 - i)), Hex(br[i]));
        }
        WCHECK_EQ(dib.CountOther({4, 4, 16, 16}, kBack), 0);

        pm->PaintDatePickerButtonsSeparator(dc, CRect(22, 2, 38, 3), nullptr, 0);
        WCHECK_EQ(dib.CountOther({22, 2, 38, 3}, shadow), 0);

        pm->PaintDatePickerHeaderBackground(0, 0, dc, 2026, 12, CRect(22, 5, 38, 15), CRect(24, 7, 36, 13), {}, {}, {},
                                            nullptr, 0);
        WCHECK_EQ(dib.CountOther({22, 5, 37, 6}, white), 0);
        WCHECK_EQ(dib.CountOther({22, 5, 23, 14}, white), 0);
        WCHECK_EQ(dib.CountOther({22, 14, 38, 15}, shadow), 0);
        WCHECK_EQ(dib.CountOther({37, 5, 38, 15}, shadow), 0);
        WCHECK_EQ(dib.CountOther({24, 7, 36, 13}, pm->GetColor(1000)), 0);
        WCHECK_EQ(dib.CountOther({23, 6, 24, 14}, kBack), 0);

        // Outside the clip region nothing is drawn.
        Dib clipped(40, 30, kBack);
        DibCDC cdc(clipped);
        cdc.IntersectClipRect(30, 25, 40, 30);
        pm->PaintDatePickerBorder(cdc, CRect(0, 0, 20, 20), nullptr, 0);
        pm->PaintDatePickerButtonsSeparator(cdc, CRect(0, 22, 20, 23), nullptr, 0);
        pm->PaintDatePickerHeaderBackground(0, 0, cdc, 2026, 12, CRect(0, 0, 20, 20), CRect(25, 25, 40, 30), {}, {}, {},
                                            nullptr, 0);
        WCHECK_EQ(clipped.CountOther({0, 0, 40, 30}, kBack), 0);
    }
}

WTEST(date_picker_buttons_are_push_buttons_of_their_flags)
{
    InjectedSystem system(32);
    using Data = VEzaPaintManager::PAINTPUSHBUTTONDATA;
    struct Case {
        bool flat, border, pushed, hover;
    } cases[] = {
        {false, true, false, false}, {true, true, false, true}, {true, true, true, false},
        {false, false, true, true},  {true, false, false, false},
    };
    const CRect rect(2, 2, 62, 24);
    for (bool xpLook : {false, true}) {
        std::unique_ptr<VEzaPaintManager> pm(xpLook ? new VEzaPaintManagerXP : new VEzaPaintManager);
        pm->OnSysColorChange();
        const HFONT font = HFONT(pm->m_FontNormal.GetSafeHandle());
        std::vector<std::vector<unsigned>> drawn;
        for (const Case& c : cases) {
            // The same as a centred, enabled, opaque push button of the
            // flags: flat, border, pushed, hover in that order.
            Dib viaPicker(64, 26, kBack), direct(64, 26, kBack);
            DibCDC pickerDC(viaPicker), directDC(direct);
            pm->PaintDatePickerPushButton(pickerDC, rect, 2, "Today", c.flat, c.border, c.pushed, c.hover, nullptr,
                                          0);
            Data data(nullptr, true, rect, "Today", nullptr, c.flat, c.hover, c.pushed, false, true, c.border, false,
                      false, 9, font, false, 0, false);
            pm->PaintPushButton(directDC, data);
            WCHECK(viaPicker.Pixels() == direct.Pixels());
            WCHECK(viaPicker.CountOther({0, 0, 64, 26}, kBack) > 0);
            drawn.push_back(viaPicker.Pixels());
        }
        // Hovered (the fourth flag) is not plain; in the classic look it is not
        // pushed (the third) either (the XP look fills both alike).
        WCHECK(drawn[1] != drawn[4]);
        if (!xpLook)
            WCHECK(drawn[1] != drawn[2]);
        // Invisible: nothing.
        Dib clipped(64, 26, kBack);
        DibCDC cdc(clipped);
        cdc.IntersectClipRect(62, 24, 64, 26);
        pm->PaintDatePickerPushButton(cdc, rect, 0, "Today", false, true, false, false, nullptr, 0);
        WCHECK_EQ(clipped.CountOther({0, 0, 64, 26}, kBack), 0);
    }
}
