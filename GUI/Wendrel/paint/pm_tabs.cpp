// Tab painting in the classic look: the item layout, the drawing both looks
// share, the strip backgrounds and the strip's small buttons.
#include <algorithm>
#include <initializer_list>

#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"
#include "paint/pm_clip_to.h"
#include "toolkit/bar_types.h"

namespace {

// The line from one point towards another (the end point left out, as GDI
// draws lines), in a one-pixel solid pen.
void Line(CDC& dc, COLORREF colour, std::initializer_list<CPoint> points) {
    CPen pen(PS_SOLID, 1, colour);
    CPen* old = dc.SelectObject(&pen);
    auto it = points.begin();
    dc.MoveTo(*it);
    for (++it; it != points.end(); ++it) dc.LineTo(*it);
    dc.SelectObject(old);
}

bool Given(COLORREF c) { return c != COLORREF(-1); }

// The tab window's style word, or 0 when the object is not a tab window.
DWORD TabWndStyleOf(CObject* object) {
    const auto* tabWnd = DYNAMIC_DOWNCAST(VEzaTabWnd, object);
    return tabWnd != nullptr ? tabWnd->GetTabWndStyle() : 0;
}

}  // namespace

VEzaPaintManager::tab_item_layout_t VEzaPaintManager::stat_CalcTabItemLayout(
    bool topLeft, bool horizontal, bool selected, bool centeredText, bool groupedMode, bool inGroupActive,
    bool invertedVertical, const CRect& rcEntireItem, CSize sizeTextMeasured, CSize iconSize) {
    tab_item_layout_t layout;
    CRect e = rcEntireItem;
    if (groupedMode) {
        layout.body = TabBodyGrouped;
        CRect r = e;
        if (horizontal) {
            r.right += 1;
            r.InflateRect(0, 2);
        } else {
            r.bottom += 1;
            r.InflateRect(2, 0);
        }
        layout.rcBody = layout.rcFill = r;
    } else if (selected) {
        layout.body = TabBodySelected;
        CRect r = e;
        // The outline keeps its side towards the page open; the fill reaches
        // one pixel over the line between tab and page.
        if (horizontal && topLeft) {
            r.left -= 1;
            r.bottom += 1;
            layout.rcFill.SetRect(r.left + 1, r.top + 1, r.right - 1, r.bottom);
        } else if (horizontal) {
            r.left -= 1;
            r.top -= 1;
            layout.rcFill.SetRect(r.left + 1, r.top, r.right - 1, r.bottom - 1);
        } else if (topLeft) {
            r.top -= 1;
            r.right += 1;
            layout.rcFill.SetRect(r.left + 1, r.top + 1, r.right, r.bottom - 1);
        } else {
            r.left -= 1;
            r.top -= 1;
            layout.rcFill.SetRect(r.left, r.top + 1, r.right - 1, r.bottom - 1);
        }
        layout.rcBody = r;
    } else {
        layout.body = TabBodySeparator;
        if (horizontal)
            layout.rcBody.SetRect(e.right - 1, e.top + 2, e.right, e.bottom - 2);
        else
            layout.rcBody.SetRect(e.left + 2, e.bottom - 1, e.right - 2, e.bottom);
        layout.rcFill.SetRectEmpty();
    }

    e.DeflateRect(2, 2);
    const bool hasIcon = iconSize.cx > 0 && iconSize.cy > 0;
    CRect icon(0, 0, 0, 0);
    if (hasIcon) {
        icon = CRect(e.TopLeft(), iconSize);
        if (horizontal)
            icon.OffsetRect(0, (e.Height() - iconSize.cy) / 2);
        else
            icon.OffsetRect((e.Width() - iconSize.cx) / 2, 0);
        // At least one pixel inside the item, and reaching to one pixel
        // inside its far edges: PaintIcon places the icon in it.
        icon.left = std::max(icon.left, e.left + 1);
        icon.top = std::max(icon.top, e.top + 1);
        icon.right = std::max(icon.right, e.right - 1);
        icon.bottom = std::max(icon.bottom, e.bottom - 1);
    }

    CRect text = e;
    if (horizontal) {
        if (iconSize.cx > 0) text.left += iconSize.cx + 3;
    } else {
        if (iconSize.cy > 0) text.top += iconSize.cy + 3;
        if (invertedVertical)
            text.left -= 6;
        else
            text.right += 6;
    }

    if (text.Width() <= 0 || text.Height() <= 0) {
        text.SetRectEmpty();
        // No room for text: the icon goes to the middle of the item.
        if (!(groupedMode && !inGroupActive)) {
            if (horizontal)
                icon.OffsetRect((e.Width() - iconSize.cx) / 2, 0);
            else
                icon.OffsetRect(0, (e.Height() - iconSize.cy) / 2);
        }
    } else if (!horizontal) {
        text.OffsetRect(invertedVertical ? sizeTextMeasured.cy / 2 : -(sizeTextMeasured.cy / 2), 0);
        layout.ptText.x = text.left + text.Width() / 2;
        if (centeredText)
            layout.ptText.y = text.top + text.Height() / 2;
        else
            layout.ptText.y = invertedVertical ? text.top + sizeTextMeasured.cx - 4 : text.top + 4;
    }
    layout.rcText = text;

    // The icon is drawn only when its rectangle is as long as the icon along
    // the strip; PaintIcon's placement adds back what this offset takes.
    const bool fits = horizontal ? icon.Width() >= iconSize.cx : icon.Height() >= iconSize.cy;
    if (hasIcon && fits) {
        icon.OffsetRect(-4, -1);
        layout.rcIcon = icon;
    } else {
        layout.rcIcon.SetRectEmpty();
    }
    return layout;
}

void VEzaPaintManager::PaintTabItem(CDC& dc, CRect&, bool topLeft, bool horizontal, bool selected,
                                    bool centeredText, bool groupedMode, bool inGroupActive, bool invertedVertical,
                                    const CRect& rcEntireItem, CSize sizeTextMeasured, CFont* font, LPCSTR text,
                                    VEzaCmdIcon* icon, CObject* object, LPARAM lParam, COLORREF clrForceText,
                                    COLORREF clrForceTabBk, COLORREF clrForceTabBorderLT,
                                    COLORREF clrForceTabBorderRB, COLORREF clrForceTabSeparator) {
    if (!Given(clrForceText))
        clrForceText = GetColor(!selected && !groupedMode ? COLOR_BTNHIGHLIGHT : COLOR_BTNTEXT, object, lParam);
    if (!Given(clrForceTabBk)) clrForceTabBk = GetColor(COLOR_BTNFACE, object, lParam);
    if (!Given(clrForceTabBorderLT))
        clrForceTabBorderLT = GetColor(groupedMode ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT, object, lParam);
    if (!Given(clrForceTabBorderRB))
        clrForceTabBorderRB = GetColor(groupedMode ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, object, lParam);
    if (!Given(clrForceTabSeparator))
        clrForceTabSeparator = GetColor(groupedMode ? COLOR_BTNSHADOW : COLOR_3DLIGHT, object, lParam);
    const bool drawIcon = icon != nullptr && !icon->IsEmpty() && (TabWndStyleOf(object) & 0x00800000) == 0;
    PaintTabItemCommon(dc, topLeft, horizontal, selected, centeredText, groupedMode, inGroupActive,
                       invertedVertical, rcEntireItem, sizeTextMeasured, font, text, icon, drawIcon, clrForceText,
                       clrForceTabBk, clrForceTabBorderLT, clrForceTabBorderRB, clrForceTabSeparator);
}

void VEzaPaintManager::PaintTabItemCommon(CDC& dc, bool topLeft, bool horizontal, bool selected,
                                          bool centeredText, bool groupedMode, bool inGroupActive,
                                          bool invertedVertical, const CRect& rcEntireItem, CSize sizeTextMeasured,
                                          CFont* font, LPCSTR text, VEzaCmdIcon* icon, bool drawIcon,
                                          COLORREF clrText, COLORREF clrTabBk, COLORREF clrTabBorderLT,
                                          COLORREF clrTabBorderRB, COLORREF clrTabSeparator) {
    const CSize iconSize = drawIcon && icon != nullptr ? CSize(icon->GetSize()) : CSize(0, 0);
    const tab_item_layout_t layout =
        stat_CalcTabItemLayout(topLeft, horizontal, selected, centeredText, groupedMode, inGroupActive,
                               invertedVertical, rcEntireItem, sizeTextMeasured, iconSize);

    const CRect& r = layout.rcBody;
    switch (layout.body) {
    case TabBodyGrouped:
        if (Given(clrTabBk)) dc.FillSolidRect(&r, clrTabBk);
        if (Given(clrTabBorderLT) && Given(clrTabBorderRB)) dc.Draw3dRect(&r, clrTabBorderLT, clrTabBorderRB);
        break;
    case TabBodySelected:
        if (Given(clrTabBorderLT) && Given(clrTabBorderRB)) {
            if (horizontal && topLeft) {
                Line(dc, clrTabBorderLT, {{r.left, r.bottom - 1}, {r.left, r.top}, {r.right - 1, r.top}});
                Line(dc, clrTabBorderRB, {{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}});
            } else if (horizontal) {
                Line(dc, clrTabBorderLT, {{r.left, r.top - 1}, {r.left, r.bottom - 1}});
                Line(dc, clrTabBorderRB,
                     {{r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1}});
            } else if (topLeft) {
                Line(dc, clrTabBorderLT, {{r.right - 1, r.top}, {r.left, r.top}, {r.left, r.bottom}});
                Line(dc, clrTabBorderRB, {{r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}});
            } else {
                Line(dc, clrTabBorderLT, {{r.left, r.top}, {r.right - 1, r.top}});
                Line(dc, clrTabBorderRB,
                     {{r.right - 1, r.top}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}});
            }
        }
        if (Given(clrTabBk)) dc.FillSolidRect(&layout.rcFill, clrTabBk);
        break;
    case TabBodySeparator:
        if (Given(clrTabSeparator)) dc.FillSolidRect(&r, clrTabSeparator);
        break;
    }

    if (!layout.rcIcon.IsRectEmpty()) {
        // The current manager's icon painter places the icon by its rule for
        // alignment 0 inside the rectangle and draws it.
        CRect caption(0, 0, 0, 0);
        g_PaintManager->PaintIcon(dc, true, text, icon, layout.rcIcon, caption, false, true, false, 0, false,
                                  COLORREF(-1));
    }

    if (layout.rcText.IsRectEmpty() || text == nullptr || *text == '\0') return;
    const COLORREF oldColour = dc.SetTextColor(clrText);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    CFont* oldFont = font != nullptr ? dc.SelectObject(font) : nullptr;
    CRect rcText = layout.rcText;
    if (horizontal) {
        dc.DrawText(text, int(::lstrlenA(text)), &rcText,
                    DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | (centeredText ? DT_CENTER : 0));
    } else {
        const UINT oldAlign = dc.SetTextAlign(TA_BASELINE | (centeredText ? TA_CENTER : 0));
        dc.ExtTextOut(layout.ptText.x, layout.ptText.y, ETO_CLIPPED, &rcText, text, UINT(::lstrlenA(text)),
                      nullptr);
        dc.SetTextAlign(oldAlign);
    }
    if (oldFont != nullptr) dc.SelectObject(oldFont);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColour);
}

void VEzaPaintManager::PaintTabClientArea(CDC& dc, CRect& rcClient, CRect&, CRect& rcTabNearBorderArea,
                                          DWORD orientation, bool groupedMode, CObject* object, LPARAM lParam) {
    dc.FillSolidRect(&rcClient, GetColor(groupedMode ? COLOR_BTNFACE : COLOR_BTNSHADOW, object, lParam));
    if (groupedMode) return;
    stat_PaintTabNearBorder(dc, rcTabNearBorderArea, orientation, GetColor(COLOR_BTNFACE, object, lParam),
                            GetColor(COLOR_BTNHIGHLIGHT, object, lParam), GetColor(COLOR_3DDKSHADOW, object, lParam));
}

void VEzaPaintManager::stat_PaintTabNearBorder(CDC& dc, const CRect& rcNear, DWORD orientation, COLORREF fill,
                                               COLORREF light, COLORREF dark) {
    dc.FillSolidRect(&rcNear, fill);
    CRect line = rcNear;
    switch (orientation) {
    case 0: line.bottom = line.top + 1; break;
    case 1: line.top = line.bottom - 1; break;
    case 2: line.right = line.left + 1; break;
    case 3: line.left = line.right - 1; break;
    default: return;
    }
    dc.FillSolidRect(&line, orientation == 0 || orientation == 2 ? light : dark);
}

void VEzaPaintManager::PaintTabbedTabClientArea(CDC& dc, CRect& rcClient, CRect& rcTabItemsArea, CRect&,
                                                DWORD orientation, bool, CObject* object, LPARAM) {
    if (object == nullptr || !object->IsKindOf(RUNTIME_CLASS(VEzaTabWnd))) return;
    dc.FillSolidRect(&rcClient, GetColor(1000, nullptr, 0));
    const CRect& items = rcTabItemsArea;
    CRect line;
    int colour = COLOR_BTNHIGHLIGHT;
    switch (orientation) {
    case 0: line.SetRect(rcClient.left, items.bottom, rcClient.right, items.bottom + 1); break;
    case 1:
        line.SetRect(rcClient.left, items.top - 1, rcClient.right, items.top);
        colour = COLOR_BTNSHADOW;
        break;
    case 2: line.SetRect(items.right, rcClient.top, items.right + 1, rcClient.bottom); break;
    case 3:
        line.SetRect(items.left - 1, rcClient.top, items.left, rcClient.bottom);
        colour = COLOR_BTNSHADOW;
        break;
    default: return;
    }
    dc.FillSolidRect(&line, GetColor(colour, nullptr, 0));
}

void VEzaPaintManager::PaintTabButton(CDC& dc, CRect& rcButton, int kind, bool, bool horizontal, bool enabled,
                                      bool hover, bool pushed, bool, CObject* object, LPARAM lParam) {
    if (rcButton.IsRectEmpty()) return;
    const VEzaClipTo clip(dc, rcButton);
    int position = 0;
    switch (kind) {
    case TabButtonScrollBack: position = horizontal ? (enabled ? 4 : 19) : (enabled ? 2 : 17); break;
    case TabButtonScrollForward: position = horizontal ? (enabled ? 5 : 20) : (enabled ? 3 : 18); break;
    case TabButtonHelp: position = 9; break;
    case TabButtonClose: position = 1; break;
    case TabButtonList: position = 45; break;
    case TabButtonFirst: position = horizontal ? 50 : 49; break;
    case TabButtonLast: position = horizontal ? 52 : 51; break;
    default: break;  // an unknown kind gets its frame only
    }
    if (const glyph_t* glyph = stat_GetTabGlyph(position)) {
        const COLORREF colours[2] = {0, GetColor(enabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW, object, lParam)};
        g_PaintManager->PaintGlyphCentered(dc, rcButton, *glyph, colours);
    }
    if (!hover && !pushed) return;
    const COLORREF light = GetColor(COLOR_BTNHIGHLIGHT, object, lParam),
                   dark = GetColor(COLOR_3DDKSHADOW, object, lParam);
    if (pushed)
        dc.Draw3dRect(&rcButton, dark, light);
    else
        dc.Draw3dRect(&rcButton, light, dark);
}
