// The frames page: separators, menu borders and the border joining a menu
// to its button, bar borders, docking frames, grippers and bar captions,
// combo frames, the resizing gripper and the frames round hosted controls,
// each in its states.
#include <string>

#include "gallery_page.h"

namespace {

using PM = VEzaPaintManager;

void PaintFrames(GalleryCanvas& canvas, const CRect& area) {
    CDC& dc = canvas.dc;
    PM& pm = canvas.pm;
    const std::string& look = canvas.look;
    const COLORREF face = pm.GetColor(1000);
    // A backdrop darker than the face, so that light edges show.
    dc.FillSolidRect(&area, RGB(176, 186, 204));
    int x = area.left + 10, y = area.top + 6;
    canvas.Label(x, y, "Separators: across, along, transparent (on window colour)");
    y += 16;
    pm.PaintSeparator(dc, CRect(x, y, x + 10, y + 24), true, false, nullptr, 0);
    pm.PaintSeparator(dc, CRect(x + 20, y, x + 80, y + 10), false, false, nullptr, 0);
    dc.FillSolidRect(x + 90, y, 70, 24, pm.GetColor(COLOR_WINDOW));
    pm.PaintSeparator(dc, CRect(x + 90, y, x + 100, y + 24), true, true, nullptr, 0);
    pm.PaintSeparator(dc, CRect(x + 100, y, x + 160, y + 10), false, true, nullptr, 0);
    canvas.Expect(CRect(x + 110, y + 18, x + 111, y + 19), pm.GetColor(COLOR_WINDOW), look + " transparent separator");
    canvas.Label(x + 170, y, "Menu separators: normal, rarely used");
    pm.PaintMenuSeparator(dc, CRect(x + 170, y + 14, x + 280, y + 22), 22, false, nullptr, 0);
    pm.PaintMenuSeparator(dc, CRect(x + 290, y + 14, x + 400, y + 22), 22, true, nullptr, 0);
    y += 32;

    canvas.Label(x, y, "Menu border, joined to its button (below, above, left, right)");
    y += 16;
    pm.PaintMenuBorder(dc, CRect(x, y + 20, x + 80, y + 70), nullptr, 0);
    dc.FillSolidRect(x + 2, y + 22, 76, 46, pm.GetMenuFrameFillColor(nullptr, 0));
    pm.PaintMenuCombinedArea(dc, CRect(x + 10, y, x + 50, y + 20), CRect(x + 10, y + 18, x + 50, y + 23), 1,
                             nullptr, 0);
    const COLORREF menu = pm.GetMenuFrameFillColor(nullptr, 0);
    dc.FillSolidRect(x + 100, y, 80, 50, menu);
    dc.FillSolidRect(x + 200, y + 10, 60, 60, menu);
    dc.FillSolidRect(x + 340, y + 10, 60, 60, menu);
    pm.PaintMenuBorder(dc, CRect(x + 100, y, x + 180, y + 50), nullptr, 0);
    pm.PaintMenuCombinedArea(dc, CRect(x + 110, y + 50, x + 150, y + 70), CRect(x + 110, y + 47, x + 150, y + 52),
                             2, nullptr, 0);
    pm.PaintMenuBorder(dc, CRect(x + 200, y + 10, x + 260, y + 70), nullptr, 0);
    pm.PaintMenuCombinedArea(dc, CRect(x + 260, y + 20, x + 290, y + 40), CRect(x + 257, y + 20, x + 262, y + 40),
                             3, nullptr, 0);
    pm.PaintMenuBorder(dc, CRect(x + 340, y + 10, x + 400, y + 70), nullptr, 0);
    pm.PaintMenuCombinedArea(dc, CRect(x + 310, y + 20, x + 340, y + 40), CRect(x + 338, y + 20, x + 343, y + 40),
                             4, nullptr, 0);
    canvas.Expect(CRect(x + 20, y + 10, x + 21, y + 11), pm.GetColor(look == "XP" ? 2000 : 1000),
                  look + " combined area");
    y += 80;

    canvas.Label(x, y, "Bar borders: sunken, none, left+top, all, all 3-D");
    y += 16;
    const DWORD all = CBRS_BORDER_LEFT | CBRS_BORDER_TOP | CBRS_BORDER_RIGHT | CBRS_BORDER_BOTTOM;
    const struct {
        int style;
        DWORD bar;
    } bars[] = {{2, 0}, {1, 0}, {1, CBRS_BORDER_LEFT | CBRS_BORDER_TOP}, {1, all}, {1, all | CBRS_BORDER_3D}};
    for (int i = 0; i < 5; ++i) {
        const CRect r(x + i * 80, y, x + i * 80 + 70, y + 24);
        dc.FillSolidRect(&r, pm.GetColor(COLOR_BTNSHADOW));
        PM::PAINTCONTROLBARBORDERSDATA data(nullptr, bars[i].style, bars[i].bar, r);
        pm.PaintControlBarBorders(dc, data);
    }
    y += 34;

    canvas.Label(x, y, "Docking frames: floating, docked, docked without edge");
    y += 16;
    for (int i = 0; i < 3; ++i) {
        const CRect r(x + i * 110, y, x + i * 110 + 100, y + 40);
        const CRect client(r.left + 6, r.top + 6, r.right - 6, r.bottom - 6);
        dc.FillSolidRect(&client, pm.GetColor(COLOR_WINDOW));
        PM::PAINTDOCKINGFRAMEDATA data(nullptr, r, client, i == 0, i == 2, true);
        // The classic frame leaves the clip region cut to the frame.
        const int saved = dc.SaveDC();
        pm.PaintDockingFrame(dc, data);
        dc.RestoreDC(saved);
    }
    canvas.Expect(CRect(x + 30, y + 20, x + 31, y + 21), pm.GetColor(COLOR_WINDOW), look + " docking client");
    y += 50;

    canvas.Label(x, y, "Grippers: across, along; captions");
    y += 16;
    dc.FillSolidRect(x, y, 100, 26, face);
    PM::PAINTGRIPPERDATA across(nullptr, CRect(x, y, x + 14, y + 26), CRect(0, 0, 0, 0), false, false, true);
    pm.PaintGripper(dc, across);
    PM::PAINTGRIPPERDATA along(nullptr, CRect(x + 30, y, x + 60, y + 12), CRect(0, 0, 0, 0), false, false, false);
    pm.PaintGripper(dc, along);
    const struct {
        bool active, floating, rtl, noBackground;
        const char* text;
    } captions[] = {
        {true, false, false, false, "Active bar"},
        {false, false, false, false, "Inactive bar"},
        {true, false, true, false, "Right aligned"},
        {false, true, false, false, "Floating frame"},
    };
    for (int i = 0; i < 4; ++i) {
        const int left = x + 110 + (i % 2) * 150, top = y + (i / 2) * 24;
        const CRect g(left, top, left + 140, top + 20);
        const auto& c = captions[i];
        PM::PAINTGRIPPERDATA data(nullptr, g, CRect(g.left + 4, g.top + 2, g.right - 4, g.bottom - 2), c.active,
                                  c.floating, false, !c.floating, c.text, c.rtl);
        pm.PaintGripper(dc, data);
    }
    PM::PAINTGRIPPERDATA vertical(nullptr, CRect(x + 400, y - 10, x + 420, y + 100),
                                  CRect(x + 400, y - 6, x + 420, y + 96), true, false, true, true, "Vertical");
    pm.PaintGripper(dc, vertical);
    y += 54;

    canvas.Label(x, y, "Combo frames: normal, hover, pushed, disabled, inner colour");
    y += 16;
    const struct {
        bool hover, pushed, enabled;
        COLORREF inner;
    } combos[] = {{false, false, true, COLORREF(-1)},
                  {true, false, true, COLORREF(-1)},
                  {true, true, true, COLORREF(-1)},
                  {false, false, false, COLORREF(-1)},
                  {false, false, true, RGB(0, 128, 0)}};
    for (int i = 0; i < 5; ++i) {
        const CRect r(x + i * 80, y, x + i * 80 + 72, y + 22);
        dc.FillSolidRect(&r, face);
        PM::PAINTCOMBOFRAMEDATA data(nullptr, r, combos[i].hover, combos[i].pushed, combos[i].enabled);
        data.m_clrInner = combos[i].inner;
        pm.PaintComboFrame(dc, data);
    }
    y += 32;

    canvas.Label(x, y, "Resizing gripper; control frames: off, hover, focus, both");
    y += 16;
    dc.FillSolidRect(x, y, 30, 30, face);
    pm.PaintResizingGripper(dc, CRect(x, y, x + 30, y + 30), nullptr, 0);
    for (int i = 0; i < 4; ++i) {
        const CRect r(x + 60 + i * 80, y + 5, x + 60 + i * 80 + 60, y + 25);
        dc.FillSolidRect(r.left - 6, r.top - 6, r.Width() + 12, r.Height() + 12, face);
        dc.FillSolidRect(&r, pm.GetColor(COLOR_WINDOW));
        PM::PAINTCONTROLFRAMEDATA data(nullptr, r, false, i == 1 || i == 3, true, i == 2 || i == 3);
        pm.PaintControlFrame(dc, data);
    }
}

}  // namespace

GALLERY_PAGE("frames", &PaintFrames, nullptr);
