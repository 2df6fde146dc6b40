// Page navigator and task pane painters of the XP look: one-colour frames
// instead of 3-D edges, items lit as flat buttons, and group captions with a
// line under the text and no background or expand button.
#include "paint/paint_manager.h"

void VEzaPaintManagerXP::PaintPageNavigatorBorder(CDC& dc, const RECT& rect) {
    if (!dc.RectVisible(&rect)) return;
    CBrush brush(GetColor(COLOR_BTNSHADOW, this));
    dc.FrameRect(&rect, &brush);
}

void VEzaPaintManagerXP::PaintPageNavigatorItem(CDC& dc, const CRect& rect, LPCSTR text, VEzaCmdIcon* icon,
                                                bool expanded, bool selected, bool hover) {
    if (!dc.RectVisible(&rect)) return;
    CRect r(rect);
    if (expanded) {
        CBrush brush(GetColor(COLOR_BTNSHADOW, this));
        dc.FrameRect(&rect, &brush);
        r.DeflateRect(1, 1);
    }
    if (hover || selected) {
        // A lit item is a flat, borderless push button without text.
        PAINTPUSHBUTTONDATA button(this, true, r, "", nullptr, true, hover, selected, false, true, false, false,
                                   false, 0);
        PaintPushButton(dc, button);
    } else {
        dc.FillSolidRect(&r, GetColor(dc.GetDeviceCaps(BITSPIXEL) > 8 ? 1000 : 2001, this));
    }
    PaintPageNavigatorCaption(dc, rect, text, icon, expanded, selected, hover, true);
}

void VEzaPaintManagerXP::TaskPanePaintBorder(CDC& dc, const RECT& rect, CObject* object) {
    if (!dc.RectVisible(&rect)) return;
    CBrush brush(GetColor(COLOR_BTNSHADOW, object));
    dc.FrameRect(&rect, &brush);
}

void VEzaPaintManagerXP::TaskPanePaintGroupCaption(CDC& dc, const CRect& rect, LPCSTR text, bool hover,
                                                   bool pressed, bool special, bool, bool, CObject* object) {
    if (!dc.RectVisible(&rect)) return;
    dc.FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, GetColor(COLOR_BTNSHADOW));
    TaskPanePaintGroupCaptionText(dc, rect, text, hover, pressed, special, object);
}
