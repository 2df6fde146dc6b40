// Dock markers with real windows: the marker windows a group builds (through
// a stand-in window factory of this test), and the outline and compass lines
// the paint manager draws for a marker window.
#include <memory>
#include <string>
#include <vector>

#include "paint/dock_marker.h"
#include "paint_test_util.h"
#include "toolkit/bar_types.h"

using namespace pt;

namespace {

const COLORREF kBack = RGB(1, 2, 3), kLine = RGB(0, 96, 196);

// A marker window as the docking code will build one: a popup of the
// marker's shape holding the pictures it was given.
class StandInMarkerWnd : public VEzaDynDockMarkerWnd, public VEzaDockMarkerWndState {
public:
    explicit StandInMarkerWnd(const VEzaDockMarkerWndParams& p) : params(p)
    {
        CreateEx(WS_EX_TOOLWINDOW, AfxRegisterWndClass(0), "", WS_POPUP, p.rect, nullptr, 0);
        if (GetSafeHwnd() != nullptr) {
            ::SetWindowRgn(GetSafeHwnd(), p.region, FALSE);
        } else if (p.region != nullptr) {
            ::DeleteObject(p.region);
        }
    }
    ~StandInMarkerWnd() override
    {
        if (GetSafeHwnd() != nullptr)
            DestroyWindow();
        for (HBITMAP b : {params.hover, params.idle, params.frame})
            if (b != nullptr)
                ::DeleteObject(b);
    }
    int DockMarker_GetKind() const override { return params.kind; }
    bool DockMarker_IsOutlined() const override { return params.outline; }
    HWND DockMarker_GetHoverArm() const override { return hoverArm; }

    VEzaDockMarkerWndParams params;
    HWND hoverArm = nullptr;
};

struct StandInFactory : VEzaDockMarkerWndFactory {
    StandInFactory() { Install(this); }
    ~StandInFactory() override { Install(nullptr); }
    VEzaDynDockMarkerWnd* CreateMarkerWnd(const VEzaDockMarkerWndParams& p) override { return new StandInMarkerWnd(p); }
};

struct MarkerStyle {
    explicit MarkerStyle(int style) : saved(g_PaintManager->m_nDockMarkerType)
    {
        g_PaintManager->m_nDockMarkerType = style;
    }
    ~MarkerStyle() { g_PaintManager->m_nDockMarkerType = saved; }
    int saved;
};

// Owns the windows of an array.
struct Windows {
    ~Windows() { Clear(); }
    void Clear()
    {
        for (INT_PTR i = 0; i < array.GetSize(); ++i)
            delete array[i];
        array.RemoveAll();
    }
    StandInMarkerWnd* at(INT_PTR i) { return static_cast<StandInMarkerWnd*>(array[i]); }
    VEzaPaintManager::DockMarkerWndArray array;
};

CSize SizeOf(HBITMAP bitmap)
{
    BITMAP info = {};
    ::GetObject(bitmap, sizeof info, &info);
    return CSize(info.bmWidth, info.bmHeight);
}

}  // namespace

WTEST(marker_groups_build_their_windows_in_order)
{
    MarkerStyle style(3);
    StandInFactory factory;
    const CRect area(100, 100, 400, 300);

    // A compass with the tab-area marker: every window in the child order,
    // where its marker stood, shaped like its picture.
    Windows w;
    WCHECK(g_PaintManager->DockMarker_CreateWnds(nullptr, 7, area, w.array));
    WCHECK_EQ(int(w.array.GetSize()), 6);
    VEzaPaintManager::DockMarkerBase model;
    WCHECK(model.Create(false, 7, area));
    std::string kinds;
    for (INT_PTR i = 0; i < w.array.GetSize(); ++i) {
        StandInMarkerWnd* wnd = w.at(i);
        kinds += std::to_string(wnd->params.kind) + " ";
        CRect placed;
        wnd->GetWindowRect(&placed);
        WCHECK(placed == model.m_children[size_t(i)]->m_rect);
        WCHECK(!wnd->params.outline && wnd->params.frame == nullptr);
        WCHECK(SizeOf(wnd->params.hover) == placed.Size());
        HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
        WCHECK_EQ(::GetWindowRgn(wnd->GetSafeHwnd(), shape), COMPLEXREGION);
        WCHECK(!::PtInRegion(shape, 0, 0));
        ::DeleteObject(shape);
    }
    WCHECK_EQ(kinds, std::string("4 0 1 2 3 8 "));

    // The separate side arrows: outlined, each with a copy of its frame. The
    // array is emptied first (its windows stay the caller's).
    std::vector<CWnd*> earlier;
    for (INT_PTR i = 0; i < w.array.GetSize(); ++i)
        earlier.push_back(w.array[i]);
    WCHECK(g_PaintManager->DockMarker_CreateWnds(nullptr, 5, area, w.array));
    for (CWnd* wnd : earlier)
        delete wnd;
    WCHECK_EQ(int(w.array.GetSize()), 4);
    for (INT_PTR i = 0; i < 4; ++i) {
        StandInMarkerWnd* wnd = w.at(i);
        WCHECK_EQ(wnd->params.kind, int(i));
        WCHECK(wnd->params.outline);
        CRect placed;
        wnd->GetWindowRect(&placed);
        WCHECK(SizeOf(wnd->params.frame) == placed.Size());
        WCHECK(SizeOf(wnd->params.hover) == (i < 2 ? CSize(30, 20) : CSize(20, 30)));
    }
    WCHECK(w.at(0)->params.pictureOffset == CPoint(6, 4));
    WCHECK(w.at(2)->params.pictureOffset == CPoint(4, 6));
    w.Clear();

    // Nothing to build is a success; no factory is not.
    WCHECK(g_PaintManager->DockMarker_CreateWnds(nullptr, -1, area, w.array));
    WCHECK_EQ(int(w.array.GetSize()), 0);
    VEzaDockMarkerWndFactory::Install(nullptr);
    WCHECK(!g_PaintManager->DockMarker_CreateWnds(nullptr, 0, area, w.array));
    WCHECK_EQ(int(w.array.GetSize()), 0);
    WCHECK(!g_PaintManager->DockMarker_CreateWnds(nullptr, 9, area, w.array));
}

WTEST(outline_of_a_hovered_separate_arrow)
{
    struct Case {
        int style, kind;
        bool highlighted, outline, markerWnd;
        const char* edges;  // t b l r: which edges carry the line
    } cases[] = {
        // clang-format off
        {3, 0, true, true, true, "t l r"},   {3, 1, true, true, true, "b l r"}, {2, 2, true, true, true, "t b l"},
        {3, 3, true, true, true, "t b r"},   {3, 4, true, true, true, ""},      {1, 1, true, true, true, ""},
        {3, 1, false, true, true, ""},       {3, 1, true, false, true, ""},     {3, 1, true, true, false, ""},
        // clang-format on
    };
    for (const Case& c : cases) {
        MarkerStyle style(c.style);
        VEzaDockMarkerWndParams p;
        p.kind = c.kind;
        p.outline = c.outline;
        p.rect = CRect(0, 0, 30, 20);
        StandInMarkerWnd marker(p);
        CWnd plain;
        Dib dib(30, 20, kBack);
        DibCDC dc(dib);
        g_PaintManager->DockMarker_PostRender(dc, CRect(0, 0, 30, 20), c.kind, c.highlighted,
                                              c.markerWnd ? static_cast<CObject*>(&marker) : &plain, 0);
        std::string edges;
        auto line = [&](const char* name, const RECT& r) {
            if (dib.CountOther(r, kLine) == 0)
                edges += edges.empty() ? name : std::string(" ") + name;
        };
        line("t", {0, 0, 30, 1});
        line("b", {0, 19, 30, 20});
        line("l", {0, 0, 1, 20});
        line("r", {29, 0, 30, 20});
        WCHECK_EQ(std::to_string(c.kind) + ": " + edges, std::to_string(c.kind) + ": " + c.edges);
        // Nothing but the lines.
        WCHECK_EQ(dib.CountOther({1, 1, 29, 19}, kBack), 0);
    }
}

WTEST(compass_centre_points_to_the_arm_under_the_mouse)
{
    MarkerStyle style(3);
    VEzaDockMarkerWndParams centreParams;
    centreParams.kind = 4;
    centreParams.rect = CRect(0, 0, 88, 88);
    StandInMarkerWnd centre(centreParams);
    struct Case {
        int arm;
        std::vector<CRect> lines;
    } cases[] = {
        // clang-format off
        {0, {{29, 0, 58, 1}, {29, 0, 30, 23}, {57, 0, 58, 23}}},
        {1, {{29, 87, 58, 88}, {29, 64, 30, 88}, {57, 64, 58, 88}}},
        {2, {{0, 29, 23, 30}, {0, 57, 23, 58}, {0, 29, 1, 58}}},
        {3, {{64, 29, 88, 30}, {64, 57, 88, 58}, {87, 29, 88, 58}}},
        // clang-format on
    };
    for (const Case& c : cases) {
        VEzaDockMarkerWndParams armParams;
        armParams.kind = c.arm;
        armParams.rect = CRect(0, 0, 30, 20);
        auto arm = std::make_unique<StandInMarkerWnd>(armParams);
        centre.hoverArm = arm->GetSafeHwnd();
        Dib dib(88, 88, kBack);
        DibCDC dc(dib);
        g_PaintManager->DockMarker_PostRender(dc, CRect(0, 0, 88, 88), 4, false, &centre, 0);
        int painted = 0;
        for (const CRect& r : c.lines) {
            WCHECK_EQ(dib.CountOther(r, kLine), 0);
            painted += r.Width() * r.Height();
        }
        // The three lines share their corner pixels.
        WCHECK_EQ(dib.CountOther({0, 0, 88, 88}, kBack), painted - 2);
        // Once the arm's window is gone nothing is drawn.
        arm.reset();
        dib.Fill(kBack);
        g_PaintManager->DockMarker_PostRender(dc, CRect(0, 0, 88, 88), 4, false, &centre, 0);
        WCHECK_EQ(dib.CountOther({0, 0, 88, 88}, kBack), 0);
    }
    // The tab-area arm: four short diagonal strokes (their end points left out).
    VEzaDockMarkerWndParams tabParams;
    tabParams.kind = 8;
    tabParams.rect = CRect(0, 0, 28, 28);
    StandInMarkerWnd tab(tabParams);
    centre.hoverArm = tab.GetSafeHwnd();
    Dib dib(88, 88, kBack);
    DibCDC dc(dib);
    g_PaintManager->DockMarker_PostRender(dc, CRect(0, 0, 88, 88), 4, false, &centre, 0);
    for (const POINT p : {POINT{23, 28}, POINT{28, 23}, POINT{58, 23}, POINT{63, 28}, POINT{58, 63}, POINT{63, 58},
                          POINT{23, 58}, POINT{28, 63}})
        WCHECK(dib.At(p.x, p.y) == kLine);
    WCHECK_EQ(dib.CountOther({0, 0, 88, 88}, kBack), 4 * 6);
    // The centre with no arm under the mouse draws nothing.
    centre.hoverArm = nullptr;
    dib.Fill(kBack);
    g_PaintManager->DockMarker_PostRender(dc, CRect(0, 0, 88, 88), 4, false, &centre, 0);
    WCHECK_EQ(dib.CountOther({0, 0, 88, 88}, kBack), 0);
}
