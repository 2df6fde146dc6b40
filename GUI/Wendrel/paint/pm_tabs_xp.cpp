// Tab painting in the XP look: its default item colours and its strip
// background; the rest is shared with the classic look.
#include "icons/cmd_icon.h"
#include "paint/paint_manager.h"
#include "toolkit/bar_types.h"

void VEzaPaintManagerXP::PaintTabItem(CDC& dc, CRect&, bool topLeft, bool horizontal, bool selected,
                                      bool centeredText, bool groupedMode, bool inGroupActive, bool invertedVertical,
                                      const CRect& rcEntireItem, CSize sizeTextMeasured, CFont* font, LPCSTR text,
                                      VEzaCmdIcon* icon, CObject* object, LPARAM lParam, COLORREF clrForceText,
                                      COLORREF clrForceTabBk, COLORREF clrForceTabBorderLT,
                                      COLORREF clrForceTabBorderRB, COLORREF clrForceTabSeparator) {
    const COLORREF none = COLORREF(-1);
    if (clrForceText == none)
        clrForceText = GetColor(!selected && !groupedMode ? COLOR_BTNSHADOW : COLOR_BTNTEXT, object, lParam);
    if (clrForceTabBk == none) clrForceTabBk = GetColor(groupedMode ? COLOR_BTNFACE : 2000, object, lParam);
    if (clrForceTabBorderLT == none)
        clrForceTabBorderLT = GetColor(groupedMode ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT, object, lParam);
    if (clrForceTabBorderRB == none)
        clrForceTabBorderRB = GetColor(groupedMode ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, object, lParam);
    if (clrForceTabSeparator == none) clrForceTabSeparator = GetColor(COLOR_BTNSHADOW, object, lParam);
    const auto* tabWnd = DYNAMIC_DOWNCAST(VEzaTabWnd, object);
    const DWORD style = tabWnd != nullptr ? tabWnd->GetTabWndStyle() : 0;
    const bool drawIcon = icon != nullptr && !icon->IsEmpty() && (style & 0x00800000) == 0;
    PaintTabItemCommon(dc, topLeft, horizontal, selected, centeredText, groupedMode, inGroupActive,
                       invertedVertical, rcEntireItem, sizeTextMeasured, font, text, icon, drawIcon, clrForceText,
                       clrForceTabBk, clrForceTabBorderLT, clrForceTabBorderRB, clrForceTabSeparator);
}

void VEzaPaintManagerXP::PaintTabClientArea(CDC& dc, CRect& rcClient, CRect&, CRect& rcTabNearBorderArea,
                                            DWORD orientation, bool groupedMode, CObject* object, LPARAM lParam) {
    dc.FillSolidRect(&rcClient, GetColor(stat_GetBPP() > 8 ? 2001 : 2000, object, lParam));
    if (groupedMode) return;
    stat_PaintTabNearBorder(dc, rcTabNearBorderArea, orientation, GetColor(2000, object, lParam),
                            GetColor(COLOR_BTNHIGHLIGHT, object, lParam), GetColor(COLOR_BTNSHADOW, object, lParam));
}
