// The markers page: dock-marker pictures (the classic set in the left
// column, the second set in the right one), an assembled compass, the
// separate side arrows on their frames, the outline and compass lines of
// the second set, the docking-area tint, the drag marks and the date
// picker's elements.
#include <memory>
#include <string>
#include <vector>

#include "gallery_page.h"
#include "paint/dock_marker.h"
#include "toolkit/bar_types.h"

namespace {

using Marker = VEzaPaintManager::DockMarkerBase;

// A marker window's stand-in for the paint manager's highlighting: what a
// marker window tells it (kind, outline, arm under the mouse).
class GalleryMarkerWnd : public VEzaDynDockMarkerWnd, public VEzaDockMarkerWndState {
public:
    GalleryMarkerWnd(int kind, bool outline) : m_kind(kind), m_outline(outline) { }
    int DockMarker_GetKind() const override { return m_kind; }
    bool DockMarker_IsOutlined() const override { return m_outline; }
    HWND DockMarker_GetHoverArm() const override { return m_arm; }
    HWND m_arm = nullptr;

private:
    int m_kind;
    bool m_outline;
};

// Uses a dock-marker style in the current manager (which the markers ask)
// and in the column's manager while it lives.
struct MarkerStyle {
    MarkerStyle(VEzaPaintManager& pm, int style)
        : m_pm(pm), m_saved(g_PaintManager->m_nDockMarkerType), m_savedColumn(pm.m_nDockMarkerType)
    {
        g_PaintManager->m_nDockMarkerType = style;
        pm.m_nDockMarkerType = style;
    }
    ~MarkerStyle()
    {
        g_PaintManager->m_nDockMarkerType = m_saved;
        m_pm.m_nDockMarkerType = m_savedColumn;
    }
    VEzaPaintManager& m_pm;
    int m_saved, m_savedColumn;
};

// Draws a bitmap with green left out.
void Picture(CDC& dc, HBITMAP bitmap, CPoint at)
{
    BITMAP info = {};
    if (bitmap == nullptr || ::GetObject(bitmap, sizeof info, &info) == 0)
        return;
    CDC mem;
    mem.CreateCompatibleDC(&dc);
    HGDIOBJ old = ::SelectObject(mem.GetSafeHdc(), bitmap);
    if (g_PaintManager.m_pfnTransparentBlt != nullptr)
        g_PaintManager.m_pfnTransparentBlt(dc.GetSafeHdc(), at.x, at.y, info.bmWidth, info.bmHeight, mem.GetSafeHdc(),
                                           0, 0, info.bmWidth, info.bmHeight, kDockMarkerTransparent);
    else
        ::BitBlt(dc.GetSafeHdc(), at.x, at.y, info.bmWidth, info.bmHeight, mem.GetSafeHdc(), 0, 0, SRCCOPY);
    ::SelectObject(mem.GetSafeHdc(), old);
}

// A marker as its window shows it, at its rectangle moved by origin: the
// frame picture (if any) and the hover or idle picture, inside its region.
void DrawMarker(CDC& dc, Marker& m, CPoint origin, bool hover)
{
    const CPoint at = m.m_rect.TopLeft() + origin;
    HRGN clip = ::CreateRectRgn(0, 0, 0, 0);
    ::CombineRgn(clip, HRGN(m.m_rgn.GetSafeHandle()), nullptr, RGN_COPY);
    ::OffsetRgn(clip, at.x, at.y);
    ::ExtSelectClipRgn(dc.GetSafeHdc(), clip, RGN_AND);
    HBITMAP picture = HBITMAP((hover ? m.m_bmpHover : m.m_bmpIdle).GetSafeHandle());
    if (m.m_bmpFrame.GetSafeHandle() != nullptr) {
        Picture(dc, HBITMAP(m.m_bmpFrame.GetSafeHandle()), at);
        Picture(dc, picture, at + m.m_ptPictureOffset);
    } else {
        Picture(dc, picture, at);
    }
    ::SelectClipRgn(dc.GetSafeHdc(), nullptr);
    ::DeleteObject(clip);
}

void DrawGroup(CDC& dc, Marker& group, CPoint origin, bool hover)
{
    if (group.m_bmpHover.GetSafeHandle() != nullptr)
        DrawMarker(dc, group, origin, hover);
    for (Marker* child : group.m_children)
        DrawGroup(dc, *child, origin, hover);
}

// A made-up window content for the tint: white with grey text lines.
void FakeContent(COLORREF* bits, int w, int h)
{
    for (int r = 0; r < h; ++r) {
        const int y = h - 1 - r;
        for (int x = 0; x < w; ++x)
            bits[r * w + x] = (y % 8 == 4 && x > 6 && x < w - 10 - (y * 7) % 30) ? 0x808080 : 0xFFFFFF;
    }
}

void Tint(GalleryCanvas& canvas, int x, int y, int w, int h, bool tab)
{
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;  // bottom-up, as the docking highlight has it
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<COLORREF> bits(size_t(w) * size_t(h));
    FakeContent(bits.data(), w, h);
    const CRect main(0, 0, w, h - 14), tabArea(8, h - 14, 48, h);
    canvas.pm.DockMarker_AdjustHighlightedArea(bits.data(), w, h, tab, false, main, tabArea, COLORREF(-1), COLORREF(-1),
                                               3);
    ::SetDIBitsToDevice(canvas.dc.GetSafeHdc(), x, y, DWORD(w), DWORD(h), 0, 0, 0, UINT(h), bits.data(), &bi,
                        DIB_RGB_COLORS);
    canvas.dc.Draw3dRect(x - 1, y - 1, w + 2, h + 2, RGB(0, 0, 0), RGB(0, 0, 0));
}

void PaintMarkers(GalleryCanvas& canvas, const CRect& area)
{
    CDC& dc = canvas.dc;
    VEzaPaintManager& pm = canvas.pm;
    const bool xp = canvas.look == "XP";
    const std::string& name = canvas.look;
    const int x = area.left + 10;
    int y = area.top + 8;
    canvas.Label(x, y, pm.GetRuntimeClass()->m_lpszClassName, true);
    y += 22;
    // The classic column shows the first picture set, the XP column the second.
    MarkerStyle style(pm, xp ? 3 : 1);

    canvas.Label(x, y, xp ? "Second set (styles 2, 3): hover, idle" : "Classic set (style 1): hover, idle");
    canvas.Label(x + 210, y, "Compass (kind 7), idle");
    y += 18;
    const int kinds[5] = {0, 1, 2, 3, 8};
    for (int i = 0; i < 5; ++i) {
        std::unique_ptr<Marker> m(pm.DockMarker_CreateObject());
        if (!m->Create(true, kinds[i], CRect(0, 0, 0, 0))) {
            canvas.Label(x + i * 38, y, "?");
            continue;
        }
        m->m_rect = CRect(CPoint(0, 0), m->m_size);
        DrawMarker(dc, *m, CPoint(x + i * 38, y), true);
        DrawMarker(dc, *m, CPoint(x + i * 38, y + 36), false);
    }
    {
        std::unique_ptr<Marker> compass(pm.DockMarker_CreateObject());
        if (compass->Create(true, 7, CRect(0, 0, 150, 150)))
            DrawGroup(dc, *compass, CPoint(x + 220, y), false);
        dc.Draw3dRect(x + 220, y, 150, 150, RGB(160, 160, 160), RGB(160, 160, 160));
    }
    y += 76;

    canvas.Label(x, y, "Separate side arrows (kind 5), hover");
    y += 18;
    {
        std::unique_ptr<Marker> sides(pm.DockMarker_CreateObject());
        if (sides->Create(false, 5, CRect(0, 0, 200, 110)))
            DrawGroup(dc, *sides, CPoint(x, y), true);
        dc.Draw3dRect(x, y, 200, 110, RGB(160, 160, 160), RGB(160, 160, 160));
    }
    y += 130;

    canvas.Label(x, y, "Outline of a hovered arrow (kind 1), centre with the top arm");
    y += 18;
    {
        // The bottom arrow on its frame, then the paint manager's outline.
        Marker* sides = pm.DockMarker_CreateObject();
        std::unique_ptr<Marker> owner(sides);
        if (sides->Create(false, 5, CRect(0, 0, 120, 80))) {
            Marker& bottom = *sides->m_children[1];
            const CPoint at(x, y);
            CRect rect = bottom.m_rect;
            rect.OffsetRect(-rect.left, -rect.top);
            DrawMarker(dc, bottom, at - bottom.m_rect.TopLeft(), true);
            GalleryMarkerWnd wnd(1, true);
            const CPoint old = dc.SetViewportOrg(at);
            pm.DockMarker_PostRender(dc, rect, 1, true, &wnd, 0);
            dc.SetViewportOrg(old);
            if (xp)
                canvas.Expect(CRect(at.x + 20, at.y + rect.bottom - 1, at.x + 21, at.y + rect.bottom), RGB(0, 96, 196),
                              name + " arrow outline");
        }
        std::unique_ptr<Marker> centre(pm.DockMarker_CreateObject());
        GalleryMarkerWnd arm(0, false);
        arm.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 1, 1), nullptr, 0);
        if (centre->Create(true, 4, CRect(0, 0, 0, 0))) {
            const CPoint at(x + 80, y);
            centre->m_rect = CRect(CPoint(0, 0), centre->m_size);
            DrawMarker(dc, *centre, at, true);
            GalleryMarkerWnd wnd(4, false);
            wnd.m_arm = arm.GetSafeHwnd();
            const CPoint old = dc.SetViewportOrg(at);
            pm.DockMarker_PostRender(dc, CRect(CPoint(0, 0), centre->m_size), 4, false, &wnd, 0);
            dc.SetViewportOrg(old);
            if (xp)
                canvas.Expect(CRect(at.x + 29, at.y + 10, at.x + 30, at.y + 11), RGB(0, 96, 196),
                              name + " compass line");
        }
        arm.DestroyWindow();
    }
    y += 96;

    canvas.Label(x, y, "Docking-area tint: whole area, tab shape (border 3)");
    y += 18;
    Tint(canvas, x, y, 150, 70, false);
    Tint(canvas, x + 170, y, 150, 70, true);
    y += 82;

    canvas.Label(x, y, "Drop dividers, drag source, tear-off: normal, hover, pushed");
    y += 20;
    {
        const COLORREF itemFrame = RGB(160, 160, 160);
        // Three items in a row with the divider before the middle one, and a
        // column of two with the divider after the top one.
        for (int i = 0; i < 3; ++i)
            dc.Draw3dRect(x + i * 24, y, 20, 20, itemFrame, itemFrame);
        pm.PaintDropDivider(dc, CRect(x + 24, y, x + 44, y + 20), true, true);
        canvas.Expect(CRect(x + 23, y + 10, x + 24, y + 11), pm.GetColor(COLOR_BTNTEXT), name + " divider");
        dc.Draw3dRect(x + 84, y, 30, 12, itemFrame, itemFrame);
        dc.Draw3dRect(x + 84, y + 16, 30, 12, itemFrame, itemFrame);
        pm.PaintDropDivider(dc, CRect(x + 84, y, x + 114, y + 13), false, false);
        pm.PaintDragSourceRect(dc, CRect(x + 124, y, x + 154, y + 24));
        for (int s = 0; s < 3; ++s) {
            const CRect r(x + 164 + s * 80, y, x + 164 + s * 80 + 70, y + 9);
            pm.PaintMenuTearOffButton(dc, r, s == 1, s == 2, nullptr, 0);
        }
        canvas.Expect(CRect(x + 165, y + 2, x + 166, y + 3), xp ? pm.GetColor(2000) : pm.GetColor(COLOR_HIGHLIGHT),
                      name + " tear-off");
    }
    y += 40;

    canvas.Label(x, y, "Date picker: border, header, separator, buttons normal, hover, pushed");
    y += 18;
    {
        const CRect border(x, y, x + 200, y + 70);
        pm.PaintDatePickerBorder(dc, border, nullptr, 0);
        canvas.Expect(CRect(x, y + 30, x + 1, y + 31), pm.GetColor(COLOR_BTNFACE), name + " date border");
        canvas.Expect(CRect(x + 199, y + 30, x + 200, y + 31), pm.GetColor(COLOR_3DDKSHADOW),
                      name + " date border shadow");
        const CRect header(x + 4, y + 4, x + 196, y + 24), title(x + 6, y + 6, x + 194, y + 22);
        pm.PaintDatePickerHeaderBackground(0, 0, dc, 2026, 12, header, title, CRect(), CRect(), CRect(), nullptr, 0);
        canvas.Label(x + 70, y + 7, "December 2026");
        pm.PaintDatePickerButtonsSeparator(dc, CRect(x + 8, y + 44, x + 192, y + 45), nullptr, 0);
        canvas.Expect(CRect(x + 100, y + 44, x + 101, y + 45), pm.GetColor(COLOR_BTNSHADOW), name + " separator");
        // Buttons: normal, hovered, pushed.
        const char* texts[3] = {"Today", "Hover", "None"};
        for (int i = 0; i < 3; ++i)
            pm.PaintDatePickerPushButton(dc, CRect(x + 10 + i * 62, y + 48, x + 66 + i * 62, y + 66), i, texts[i],
                                         false, true, i == 2, i == 1, nullptr, 0);
    }
}

}  // namespace

GALLERY_PAGE("markers", &PaintMarkers, nullptr);
