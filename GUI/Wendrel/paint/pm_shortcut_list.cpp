// The shortcut list in both looks: its background, its two scroll buttons
// and its items (icon with hover box, caption horizontal or turned, and the
// tip-coloured box behind an expanded caption).
#include <algorithm>

#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"
#include "paint/pm_clip_to.h"

namespace {

using Data = VEzaPaintManager::PAINTSHORTCUTLISTITEMSDATA;

bool Shown(CDC& dc, const CRect& r) { return !r.IsRectEmpty() && dc.RectVisible(&r); }

bool Usable(const VEzaCmdIcon* icon) { return icon != nullptr && !icon->IsEmpty(); }

// The preferred icon, else the big one, else the small one; null when none
// of them has a picture.
VEzaCmdIcon* ChooseIcon(const Data& data) {
    VEzaCmdIcon* preferred = (data.m_nState & Data::BigIconView) != 0 ? data.m_pBigIcon : data.m_pSmallIcon;
    if (Usable(preferred)) return preferred;
    if (Usable(data.m_pBigIcon)) return data.m_pBigIcon;
    if (Usable(data.m_pSmallIcon)) return data.m_pSmallIcon;
    return nullptr;
}

// The parts both looks draw alike; the look gives the hover box's fill and
// frame colours.
struct ItemColours {
    COLORREF fill;
    COLORREF frameTopLeft;
    COLORREF frameBottomRight;
    COLORREF text;
};

void PaintItem(VEzaPaintManager& pm, CDC& dc, Data& data, const ItemColours& colours) {
    const bool hover = (data.m_nState & Data::Hover) != 0, pushed = (data.m_nState & Data::Pushed) != 0,
               expanded = (data.m_nState & Data::Expanded) != 0;
    if ((data.m_nState & Data::ExpandedBackgroundPass) != 0) {
        if (expanded && Shown(dc, data.m_rcText)) {
            CRect box = data.m_rcText;
            box.InflateRect(2, 2);
            dc.FillSolidRect(&box, pm.GetColor(COLOR_INFOBK, data.m_pSourceObject, data.m_lParam));
            const COLORREF frame = pm.GetColor(COLOR_3DDKSHADOW, data.m_pSourceObject, data.m_lParam);
            dc.Draw3dRect(&box, frame, frame);
        }
        return;
    }
    if (!Shown(dc, data.m_rcItem)) return;

    if (Shown(dc, data.m_rcIcon)) {
        CRect box = data.m_rcIcon;
        box.InflateRect(2, 2);
        if (hover || pushed) dc.FillSolidRect(&box, colours.fill);
        if (VEzaCmdIcon* icon = ChooseIcon(data))
            ::DrawIconEx(dc.GetSafeHdc(), data.m_rcIcon.left, data.m_rcIcon.top, icon->GetIcon(true),
                         data.m_rcIcon.Width(), data.m_rcIcon.Height(), 0, nullptr, DI_NORMAL);
        if (hover || pushed) dc.Draw3dRect(&box, colours.frameTopLeft, colours.frameBottomRight);
    }

    if (!Shown(dc, data.m_rcText) || data.m_sText.IsEmpty()) return;
    HGDIOBJ oldFont = data.m_hFont != nullptr ? ::SelectObject(dc.GetSafeHdc(), data.m_hFont) : nullptr;
    const COLORREF oldColour = dc.SetTextColor(
        expanded ? pm.GetColor(COLOR_INFOTEXT, data.m_pSourceObject, data.m_lParam) : colours.text);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    if ((data.m_nState & Data::VerticalText) != 0) {
        const bool fromTop = (data.m_dwListStyle & Data::ListStyleTextTop) != 0;
        const CRect& t0 = data.m_rcText;
        CRect t = t0;
        t.InflateRect(3, 0);
        t.OffsetRect(fromTop ? -(t0.Width() / 2 - 2) : t0.Width() / 2, 0);
        const UINT oldAlign = dc.SetTextAlign(TA_BASELINE);
        const int y = fromTop ? t.top + 4 : t.top + t0.Height() - 4;
        dc.ExtTextOut(t.left + t.Width() / 2, y, ETO_CLIPPED, &t, data.m_sText, nullptr);
        dc.SetTextAlign(oldAlign);
    } else {
        CRect t = data.m_rcText;
        CRect limit = data.m_rcClient;
        limit.DeflateRect(1, 0);
        t.left = std::max(t.left, limit.left);
        t.right = std::min(t.right, limit.right);
        if (t.Width() > 0) dc.DrawText(data.m_sText, &t, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    }
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColour);
    if (oldFont != nullptr) ::SelectObject(dc.GetSafeHdc(), oldFont);
}

}  // namespace

void VEzaPaintManager::PaintShortcutListBkgnd(CDC& dc, const CRect& rect, CObject* object, LPARAM lParam) {
    if (Shown(dc, rect)) dc.FillSolidRect(&rect, GetColor(COLOR_BTNSHADOW, object, lParam));
}

void VEzaPaintManagerXP::PaintShortcutListBkgnd(CDC& dc, const CRect& rect, CObject* object, LPARAM lParam) {
    if (Shown(dc, rect)) dc.FillSolidRect(&rect, GetColor(1000, object, lParam));
}

void VEzaPaintManager::PaintShortcutListScrollButton(CDC& dc, bool horizontal, const CRect& rect, bool up,
                                                     bool hover, bool pushed, CObject* object, LPARAM lParam) {
    if (!Shown(dc, rect)) return;
    const VEzaClipTo clip(dc, rect);
    dc.FillSolidRect(&rect, GetColor(COLOR_BTNFACE, object, lParam));
    const int position = horizontal ? (up ? 4 : 5) : (up ? 2 : 3);
    const COLORREF ink[2] = {0, GetColor(COLOR_BTNTEXT, object, lParam)};
    CRect glyphRect = rect;
    if (pushed) glyphRect.OffsetRect(1, 1);
    PaintGlyphCentered(dc, glyphRect, *stat_GetTabGlyph(position), ink);

    // Outer and inner frames: top-left and bottom-right colours.
    int outer[2] = {COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW}, inner[2] = {COLOR_BTNFACE, COLOR_BTNFACE};
    if (pushed) {
        outer[0] = COLOR_3DDKSHADOW, outer[1] = COLOR_BTNHIGHLIGHT;
        inner[0] = COLOR_BTNSHADOW, inner[1] = COLOR_BTNFACE;
    } else if (hover) {
        outer[0] = COLOR_BTNFACE, outer[1] = COLOR_3DDKSHADOW;
        inner[0] = COLOR_BTNHIGHLIGHT, inner[1] = COLOR_BTNSHADOW;
    }
    CRect r = rect;
    dc.Draw3dRect(&r, GetColor(outer[0], object, lParam), GetColor(outer[1], object, lParam));
    r.DeflateRect(1, 1);
    dc.Draw3dRect(&r, GetColor(inner[0], object, lParam), GetColor(inner[1], object, lParam));
}

void VEzaPaintManager::PaintShortcutListItem(CDC& dc, PAINTSHORTCUTLISTITEMSDATA& data) {
    const bool pushed = (data.m_nState & Data::Pushed) != 0;
    auto c = [&](int index) { return GetColor(index, data.m_pSourceObject, data.m_lParam); };
    const ItemColours colours = {c(COLOR_BTNSHADOW), c(pushed ? COLOR_3DDKSHADOW : COLOR_BTNFACE),
                                 c(pushed ? COLOR_BTNFACE : COLOR_3DDKSHADOW), c(COLOR_BTNHIGHLIGHT)};
    PaintItem(*this, dc, data, colours);
}

void VEzaPaintManagerXP::PaintShortcutListItem(CDC& dc, PAINTSHORTCUTLISTITEMSDATA& data) {
    const bool pushed = (data.m_nState & Data::Pushed) != 0;
    auto c = [&](int index) { return GetColor(index, data.m_pSourceObject, data.m_lParam); };
    const ItemColours colours = {c(pushed ? 2003 : 1001), c(2004), c(2004), c(COLOR_BTNTEXT)};
    PaintItem(*this, dc, data, colours);
}
