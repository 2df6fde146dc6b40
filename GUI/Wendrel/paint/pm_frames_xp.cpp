// Separators, borders and frames of the XP look: flat one-pixel lines in
// the XP manager's mixed colours.
#include "paint/paint_manager.h"
#include "paint/pm_frame_draw.h"

void VEzaPaintManagerXP::PaintSeparator(CDC& dc, const RECT& rect, bool horizontal, bool transparent,
                                        CObject* object, LPARAM lParam) {
    if (!transparent) pmdraw::Fill(dc, rect, GetColor(1000, object, lParam));
    CRect r(rect);
    if (horizontal) {
        const int start = r.left, half = (r.right - r.left) / 2;
        r.left = start + half - 1;
        r.right = start + half;
        r.DeflateRect(0, 1);
    } else {
        const int start = r.top, half = (r.bottom - r.top) / 2;
        r.top = start + half - 1;
        r.bottom = start + half;
        r.DeflateRect(1, 0);
    }
    pmdraw::Fill(dc, r, GetColor(2002, object, lParam));
}

void VEzaPaintManagerXP::PaintMenuBorder(CDC& dc, const RECT& rect, CObject* object, LPARAM lParam) {
    pmdraw::Frame(dc, rect, GetColor(2007, object, lParam));
}

void VEzaPaintManagerXP::PaintMenuCombinedArea(CDC& dc, const RECT& rect, const RECT& exclude, int areaType,
                                               CObject* object, LPARAM lParam) {
    CRect r(rect);
    if (r.IsRectEmpty()) return;
    pmdraw::Fill(dc, r, GetColor(2000, object, lParam));
    switch (areaType) {
    case 1: r.bottom += 1; break;
    case 2: r.top -= 1; break;
    case 3: r.left -= 1; break;
    case 4: r.right += 1; break;
    default: break;
    }
    CRect cut(exclude);
    cut.DeflateRect(1, 1);
    const int saved = dc.SaveDC();
    dc.ExcludeClipRect(&cut);
    pmdraw::Frame(dc, r, GetColor(2007, object, lParam));
    dc.RestoreDC(saved);
}

void VEzaPaintManagerXP::PaintControlBarBorders(CDC& dc, PAINTCONTROLBARBORDERSDATA& data) {
    if (data.m_eBorderStyle != 2) {
        VEzaPaintManager::PaintControlBarBorders(dc, data);
        return;
    }
    pmdraw::Frame(dc, data.m_rc, GetColor(COLOR_BTNSHADOW, data.m_pHelperSrc, data.m_lParam));
}

void VEzaPaintManagerXP::PaintDockingFrame(CDC& dc, PAINTDOCKINGFRAMEDATA& data) {
    const CRect r(data.m_rcWindow);
    if (r.IsRectEmpty()) return;
    CObject* object = data.m_pHelperSrc;
    const LPARAM lParam = data.m_lParam;
    const int saved = dc.SaveDC();
    dc.ExcludeClipRect(&data.m_rcClient);
    const bool floating = data.Has(PAINTDOCKINGFRAMEDATA::Floating), extBar = data.Has(PAINTDOCKINGFRAMEDATA::ExtBar);
    const COLORREF fill = GetColor(floating ? (extBar ? 2008 : 2009) : 1000, object, lParam);
    const COLORREF shadow = GetColor(COLOR_BTNSHADOW, object, lParam);
    if (floating) {
        pmdraw::Fill(dc, r, fill);
        pmdraw::Frame(dc, r, shadow);
        pmdraw::Frame(dc, CRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), shadow);
        // Rounds the inner frame's corners.
        if (r.Width() > 5 && r.Height() > 5) {
            dc.SetPixel(r.left + 2, r.top + 2, shadow);
            dc.SetPixel(r.right - 3, r.top + 2, shadow);
            dc.SetPixel(r.left + 2, r.bottom - 3, shadow);
            dc.SetPixel(r.right - 3, r.bottom - 3, shadow);
        }
    } else if (!pmdraw::IsToolbarInheritingBackground(object)) {
        pmdraw::Fill(dc, r, fill);
        if (!extBar) pmdraw::Frame(dc, r, GetColor(COLOR_BTNFACE, object, lParam));
        if (!data.Has(PAINTDOCKINGFRAMEDATA::SideBar) && dc.GetDeviceCaps(BITSPIXEL) <= 8) {
            // On a palette display the docked bar gets a dotted outline.
            static const WORD kDots[8] = {0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55};
            CBitmap pattern;
            CBrush dots;
            CPen pen;
            if (pattern.CreateBitmap(8, 8, 1, 1, kDots) && dots.CreatePatternBrush(&pattern)) {
                LOGBRUSH lb = {};
                dots.GetObject(sizeof lb, &lb);
                pen.Attach(::ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 1, &lb, 0, nullptr));
            }
            if (pen.GetSafeHandle() == nullptr) pen.CreatePen(PS_SOLID, 1, shadow);
            CPen* old = pen.GetSafeHandle() != nullptr ? dc.SelectObject(&pen)
                                                       : static_cast<CPen*>(dc.SelectStockObject(BLACK_PEN));
            const int l = r.left, t = r.top, rr = r.right - 1, b = r.bottom - 1;
            if ((m_nXpOptions & XpOptDockingFrame) != 0) {
                const POINT edge[] = {{l, t}, {rr, t}, {rr, b}, {l, b}, {l, t}};
                dc.Polyline(edge, 5);
            } else {
                const POINT cut[] = {{l + 2, t}, {rr - 2, t}, {rr, t + 2}, {rr, b - 2}, {rr - 2, b},
                                     {l + 2, b}, {l, b - 2},  {l, t + 2},  {l + 2, t}};
                dc.Polyline(cut, 9);
            }
            dc.SelectObject(old);
        }
    }
    dc.RestoreDC(saved);
}

void VEzaPaintManagerXP::PaintControlFrame(CDC& dc, PAINTCONTROLFRAMEDATA& data) {
    CObject* object = data.m_pHelperSrc;
    const LPARAM lParam = data.m_lParam;
    CRect r(data.m_rcClient);
    const COLORREF window = GetColor(COLOR_WINDOW, object, lParam);
    for (int i = 0; i < 3; ++i) {
        r.InflateRect(1, 1);
        pmdraw::Frame(dc, r, window);
    }
    int fourth = 1000, fifth = 1000;
    const bool hover = data.Has(PAINTCONTROLFRAMEDATA::Hover), focus = data.Has(PAINTCONTROLFRAMEDATA::Focus);
    if (data.Has(PAINTCONTROLFRAMEDATA::Enabled) && (hover || focus)) {
        fourth = 2004;
        if (hover && focus) fifth = 2004;
    }
    r.InflateRect(1, 1);
    pmdraw::Frame(dc, r, GetColor(fourth, object, lParam));
    r.InflateRect(1, 1);
    pmdraw::Frame(dc, r, GetColor(fifth, object, lParam));
}
