// The caption line of an undo or redo list in both looks: the menu's fill,
// a sunken box in the classic look, and the text centred in the icon-title
// font.
#include <cstring>

#include "paint/paint_manager.h"
#include "paint/pm_clip_to.h"

namespace {

// Centres the text's measured extent in box (left and top only; the right
// and bottom stay the box's) and draws it.
void PaintCaptionText(CDC& dc, const CRect& box, LPCSTR text, COLORREF colour) {
    LOGFONTA lf = {};
    if (!::SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof lf, &lf, 0))
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    lf.lfWeight = FW_NORMAL;
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* oldFont = dc.SelectObject(&font);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF oldColour = dc.SetTextColor(colour);
    const int length = ::lstrlenA(text);
    const UINT tabs = std::strchr(text, '\t') != nullptr ? DT_EXPANDTABS : 0;
    CRect measured(0, 0, 0, 0);
    dc.DrawText(text, length, &measured, DT_CALCRECT | tabs);
    CRect r(box.left + (box.Width() - measured.Width()) / 2, box.top + (box.Height() - measured.Height()) / 2,
            box.right, box.bottom);
    dc.DrawText(text, length, &r, DT_END_ELLIPSIS | tabs);
    dc.SetTextColor(oldColour);
    dc.SetBkMode(oldMode);
    dc.SelectObject(oldFont);
}

}  // namespace

void VEzaPaintManager::PaintUndoRedoCaption(CDC& dc, const CRect& rect, LPCSTR text, CObject* object,
                                            LPARAM lParam) {
    if (rect.IsRectEmpty()) return;
    const VEzaClipTo clip(dc, rect);
    dc.FillSolidRect(&rect, GetMenuFrameFillColor(this, 0));
    CRect box = rect;
    box.DeflateRect(3, 3);
    box.OffsetRect(0, 1);
    dc.Draw3dRect(&box, GetColor(COLOR_BTNSHADOW, object, lParam), GetColor(COLOR_WINDOW, object, lParam));
    PaintCaptionText(dc, box, text != nullptr ? text : "", GetColor(COLOR_WINDOWTEXT, object, lParam));
}

void VEzaPaintManagerXP::PaintUndoRedoCaption(CDC& dc, const CRect& rect, LPCSTR text, CObject* object,
                                              LPARAM lParam) {
    if (rect.IsRectEmpty()) return;
    const VEzaClipTo clip(dc, rect);
    dc.FillSolidRect(&rect, GetMenuFrameFillColor(this, 0));
    if (text == nullptr) return;
    PaintCaptionText(dc, rect, text, GetColor(COLOR_WINDOWTEXT, object, lParam));
}
