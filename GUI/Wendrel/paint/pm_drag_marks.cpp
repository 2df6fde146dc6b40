// The marks of drag-and-drop editing (drop divider, dragged item's frame and
// a menu's tear-off strip) and the date picker's frame, header, separator
// and buttons, in the classic look; the XP look has its own tear-off strip.
#include "paint/paint_manager.h"

namespace {

void FillBox(CDC& dc, int x, int y, int cx, int cy, COLORREF colour)
{
    CBrush brush(colour);
    const CRect r(CPoint(x, y), CSize(cx, cy));
    dc.FillRect(&r, &brush);
}

}  // namespace

void VEzaPaintManager::PaintDropDivider(CDC& dc, const CRect& rect, bool before, bool verticalLine)
{
    const COLORREF c = GetColor(COLOR_BTNTEXT);
    CRect r = rect;
    if (verticalLine) {
        // An I-beam two pixels wide on the left or right edge.
        r.InflateRect(0, 1);
        const int x = (before ? r.left : r.right) - 1;
        FillBox(dc, x, r.top, 2, r.Height(), c);
        FillBox(dc, x - 2, r.top, 6, 1, c);
        FillBox(dc, x - 1, r.top, 4, 2, c);
        FillBox(dc, x - 2, r.bottom - 1, 6, 1, c);
        FillBox(dc, x - 1, r.bottom - 2, 4, 2, c);
        return;
    }
    r.InflateRect(1, 0);
    const int y = (before ? r.top : r.bottom) - 1;
    if (!before)
        r.right -= 1;
    FillBox(dc, r.left, y, r.Width(), 2, c);
    FillBox(dc, r.left, y - 2, 1, 6, c);
    FillBox(dc, r.left, y - 1, 2, 4, c);
    FillBox(dc, r.right - 1, y - 2, 1, 6, c);
    FillBox(dc, r.right - 2, y - 1, 2, 4, c);
}

void VEzaPaintManager::PaintDragSourceRect(CDC& dc, const CRect& rect)
{
    if (rect.IsRectEmpty() || !dc.RectVisible(&rect))
        return;
    const COLORREF c = GetColor(COLOR_BTNTEXT);
    CRect r = rect;
    // A rectangle too small for two frames gets what fits inside it.
    for (int i = 0; i < 2 && !r.IsRectEmpty(); ++i) {
        dc.Draw3dRect(&r, c, c);
        r.DeflateRect(1, 1);
    }
}

void VEzaPaintManager::PaintMenuTearOffButton(CDC& dc, const CRect& rect, bool, bool, CObject*, LPARAM)
{
    CRect r = rect;
    r.left += 1;
    r.bottom -= 1;
    if (r.IsRectEmpty())
        return;
    FillBox(dc, r.left, r.top, r.Width(), r.Height(), GetColor(COLOR_HIGHLIGHT));
}

void VEzaPaintManagerXP::PaintMenuTearOffButton(CDC& dc, const CRect& rect, bool hover, bool pushed, CObject*, LPARAM)
{
    CRect r = rect;
    r.bottom -= 1;
    if (r.IsRectEmpty())
        return;
    const bool active = hover || pushed;
    FillBox(dc, r.left, r.top, r.Width(), r.Height(), GetColor(active ? 1001 : 2000));
    // A grip of short lines, 33 pixels wide, in the middle.
    const int kStripe = 33;
    const int left = r.left + (r.Width() - kStripe) / 2;
    CRect stripe(left, r.top, left + kStripe, r.bottom);
    COLORREF lines = GetColor(COLOR_BTNSHADOW);
    if (active) {
        const COLORREF frame = GetColor(2004);
        dc.Draw3dRect(&r, frame, frame);
        stripe.DeflateRect(0, 2);
        lines = GetColor(COLOR_BTNTEXT);
    } else {
        stripe.DeflateRect(0, 1);
    }
    // Never beyond the button when it is narrower than the grip.
    stripe.IntersectRect(&stripe, &r);
    for (int y = stripe.top; y < stripe.bottom; y += 2)
        FillBox(dc, stripe.left, y, stripe.Width(), 1, lines);
}

// ---- Date picker

void VEzaPaintManager::PaintDatePickerBorder(CDC& dc, const CRect& rect, CObject* object, LPARAM lParam)
{
    if (!dc.RectVisible(&rect))
        return;
    const COLORREF white = RGB(255, 255, 255), face = GetColor(COLOR_BTNFACE, object, lParam),
                   shadow = GetColor(COLOR_BTNSHADOW, object, lParam),
                   dark = GetColor(COLOR_3DDKSHADOW, object, lParam);
    const COLORREF frames[4][2] = {{face, dark}, {white, shadow}, {face, face}, {shadow, white}};
    CRect r = rect;
    for (const auto& f : frames) {
        if (r.IsRectEmpty())
            break;
        dc.Draw3dRect(&r, f[0], f[1]);
        r.DeflateRect(1, 1);
    }
}

void VEzaPaintManager::PaintDatePickerHeaderBackground(int, int, CDC& dc, int, int, const CRect& header,
                                                       const CRect& second, const CRect&, const CRect&, const CRect&,
                                                       CObject* object, LPARAM lParam)
{
    if (!dc.RectVisible(&header))
        return;
    dc.Draw3dRect(&header, RGB(255, 255, 255), GetColor(COLOR_BTNSHADOW, object, lParam));
    if (!second.IsRectEmpty())
        FillBox(dc, second.left, second.top, second.Width(), second.Height(), GetColor(1000, object, lParam));
}

void VEzaPaintManager::PaintDatePickerButtonsSeparator(CDC& dc, const CRect& rect, CObject* object, LPARAM lParam)
{
    if (!dc.RectVisible(&rect) || rect.IsRectEmpty())
        return;
    FillBox(dc, rect.left, rect.top, rect.Width(), rect.Height(), GetColor(COLOR_BTNSHADOW, object, lParam));
}

void VEzaPaintManager::PaintDatePickerPushButton(CDC& dc, const CRect& rect, int, LPCSTR text, bool flat,
                                                 bool drawBorder, bool pushed, bool hover, CObject* object, LPARAM)
{
    if (!dc.RectVisible(&rect))
        return;
    PAINTPUSHBUTTONDATA data(object, true, rect, text != nullptr ? text : "", nullptr, flat, hover, pushed, false, true,
                             drawBorder, false, false, 9, HFONT(m_FontNormal.GetSafeHandle()), false, 0, false);
    PaintPushButton(dc, data);
}
