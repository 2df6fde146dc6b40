// Spin buttons in both looks: the arrow drawn as a Marlett character sized
// to the button, and the button's frames (classic) or fill and frame (XP).
#include <algorithm>

#include "paint/paint_manager.h"
#include "paint/pm_clip_to.h"

int VEzaPaintManager::stat_GetSpinArrowFontSize(const CRect& rect) {
    const int size = ::MulDiv(std::min(rect.Width(), rect.Height()), 2, 3);
    return size > 5 ? size : 6;
}

void VEzaPaintManager::PaintSpinButtonArrow(CDC& dc, const CRect& rect, bool up, bool horizontal, bool enabled,
                                            bool pushed, bool hover, bool highlighted, CObject* object,
                                            LPARAM lParam) {
    if (rect.IsRectEmpty()) return;
    // A character larger than a small button is cut at its edges.
    const VEzaClipTo clip(dc, rect);
    const int size = stat_GetSpinArrowFontSize(rect);
    // The font is as many points as the size value at 96 dots per inch.
    CFont font;
    font.CreatePointFont(::MulDiv(size * 10, 96, dc.GetDeviceCaps(LOGPIXELSX)), "Marlett", &dc);
    CFont* oldFont = dc.SelectObject(&font);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    // Marlett: 3 left, 4 right, 5 up, 6 down.
    const char* character = horizontal ? (up ? "3" : "4") : (up ? "5" : "6");
    CRect measured(0, 0, 0, 0);
    dc.DrawText(character, 1, &measured, DT_CALCRECT | DT_SINGLELINE);
    CRect r(CPoint(rect.left + (rect.Width() - measured.Width()) / 2,
                   rect.top + (rect.Height() - measured.Height()) / 2),
            measured.Size());
    if (measured.Width() % 2 == 0) r.OffsetRect(1, 0);
    if (pushed) r.OffsetRect(GetPushedOffset());
    COLORREF oldColour;
    if (enabled) {
        oldColour = dc.SetTextColor(hover && highlighted ? RGB(0, 0, 128) : GetColor(COLOR_BTNTEXT, object, lParam));
        dc.DrawText(character, 1, &r, DT_SINGLELINE);
    } else {
        // Embossed: a window-coloured copy one pixel down and right.
        oldColour = dc.SetTextColor(GetColor(COLOR_WINDOW, object, lParam));
        CRect shifted = r;
        shifted.OffsetRect(1, 1);
        dc.DrawText(character, 1, &shifted, DT_SINGLELINE);
        dc.SetTextColor(GetColor(COLOR_BTNSHADOW, object, lParam));
        dc.DrawText(character, 1, &r, DT_SINGLELINE);
    }
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}

void VEzaPaintManager::PaintSpinButton(CDC& dc, const CRect& rect, bool up, bool horizontal, bool enabled,
                                       bool flat, bool drawBorder, bool pushed, bool hover, bool highlighted,
                                       CObject* object, LPARAM lParam) {
    if (rect.IsRectEmpty()) return;
    const VEzaClipTo clip(dc, rect);
    if (!enabled) pushed = hover = false;
    auto c = [&](int index) { return GetColor(index, object, lParam); };
    if (pushed) {
        if (!flat || drawBorder) dc.Draw3dRect(&rect, c(1007), c(1005));
    } else {
        if (!flat || (hover && drawBorder)) dc.Draw3dRect(&rect, c(1004), c(1006));
        if (!flat && hover) {
            dc.Draw3dRect(&rect, c(1006), c(1008));
            CRect inner = rect;
            inner.DeflateRect(1, 1);
            dc.Draw3dRect(&inner, c(1004), c(1006));
        }
    }
    PaintSpinButtonArrow(dc, rect, up, horizontal, enabled, pushed, hover, highlighted, object, lParam);
}

void VEzaPaintManagerXP::PaintSpinButton(CDC& dc, const CRect& rect, bool up, bool horizontal, bool enabled,
                                         bool flat, bool drawBorder, bool pushed, bool hover, bool highlighted,
                                         CObject* object, LPARAM lParam) {
    if (rect.IsRectEmpty()) return;
    const VEzaClipTo clip(dc, rect);
    if (!enabled) pushed = hover = false;
    int fill = flat ? 1000 : COLOR_BTNFACE;
    if (hover)
        fill = pushed ? 2003 : 1001;
    else if (pushed)
        fill = 2003;
    dc.FillSolidRect(&rect, GetColor(fill, object, lParam));
    const int frame = hover || pushed || flat ? 2004 : COLOR_BTNSHADOW;
    if (!flat || (drawBorder && (pushed || hover))) {
        const COLORREF colour = GetColor(frame, object, lParam);
        dc.Draw3dRect(&rect, colour, colour);
    }
    PaintSpinButtonArrow(dc, rect, up, horizontal, enabled, pushed, hover, highlighted, object, lParam);
}
