// The frame of a combo box hosted in a bar or a menu, in both looks: outer
// and inner frames, the field strip beside the drop-down button, and the
// button with its arrow.
#include "paint/paint_manager.h"
#include "paint/pm_frame_draw.h"

#include <algorithm>

namespace {

// The rightmost scroll-thumb width of the rectangle.
CRect ButtonArea(const CRect& r) {
    CRect button(r);
    button.left = std::max(r.left, r.right - ::GetSystemMetrics(SM_CXHTHUMB));
    return button;
}

// The drop-down arrow: a flat push button showing the symbol font's down
// arrow ("6"), the manager itself as its source.
void PaintComboArrow(VEzaPaintManager& pm, CDC& dc, const CRect& button, bool hover,
                     const VEzaPaintManager::PAINTCOMBOFRAMEDATA& data) {
    CFont marlett;
    if (!marlett.CreatePointFont(::MulDiv(60, 96, dc.GetDeviceCaps(LOGPIXELSX)), "Marlett")) return;
    VEzaPaintManager::PAINTPUSHBUTTONDATA arrow(&pm, true, button, "6", nullptr, true, hover, data.m_bPushed, false,
                                                data.m_bEnabled, true, false, false, 9,
                                                HFONT(marlett.GetSafeHandle()), false, 0, false);
    pm.PaintPushButton(dc, arrow);
}

}  // namespace

void VEzaPaintManager::PaintComboFrame(CDC& dc, PAINTCOMBOFRAMEDATA& data) {
    CObject* object = data.m_pHelperSrc;
    const LPARAM lParam = data.m_lParam;
    const bool hot = data.IsHot(), enabled = data.m_bEnabled;
    CRect r(data.m_rcClient);
    if (r.IsRectEmpty()) return;
    COLORREF outerTL = data.m_clrOuter != COLORREF(-1) ? data.m_clrOuter : GetColor(1000, object, lParam);
    COLORREF outerBR = outerTL;
    if (hot) {
        outerTL = GetColor(1007, object, lParam);
        outerBR = GetColor(1005, object, lParam);
    }
    pmdraw::Edge(dc, r, outerTL, outerBR);
    r.DeflateRect(1, 1);

    COLORREF light = GetColor(1004, object, lParam), face = GetColor(1000, object, lParam);
    COLORREF field = GetColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE, object, lParam);
    if (data.m_clrInner != COLORREF(-1) && !hot) light = face = field = data.m_clrInner;
    pmdraw::Frame(dc, r, enabled ? face : light);

    CRect button = ButtonArea(r);
    pmdraw::Frame(dc, button, face);
    pmdraw::Frame(dc, CRect(button.left + 1, button.top + 1, button.right - 1, button.bottom - 1), light);
    pmdraw::Fill(dc, CRect(button.left - 2, r.top + 1, button.left + 1, r.bottom - 1), enabled ? field : face);
    if (hot) pmdraw::Fill(dc, button, face);
    button.left += 1;
    PaintComboArrow(*this, dc, button, data.m_bHover && !data.m_bPushed, data);
    if (!hot) pmdraw::Frame(dc, ButtonArea(r), light);
}

void VEzaPaintManagerXP::PaintComboFrame(CDC& dc, PAINTCOMBOFRAMEDATA& data) {
    CObject* object = data.m_pHelperSrc;
    const LPARAM lParam = data.m_lParam;
    const bool hot = data.IsHot();
    CRect r(data.m_rcClient);
    if (r.IsRectEmpty()) return;
    const int saved = dc.SaveDC();
    COLORREF field = GetColor(data.m_bEnabled ? COLOR_WINDOW : COLOR_BTNFACE, object, lParam);
    COLORREF face = GetColor(1000, object, lParam), frame = GetColor(2001, object, lParam);
    COLORREF hotFrame = GetColor(2004, object, lParam);
    if (!hot && data.m_clrInner != COLORREF(-1)) field = frame = hotFrame = data.m_clrInner;
    if (!hot && data.m_clrOuter != COLORREF(-1)) face = data.m_clrOuter;
    const COLORREF outer = hot && data.m_clrHotOuter != COLORREF(-1) ? data.m_clrHotOuter : face;

    if (!data.m_bNoOuterFrame) pmdraw::Frame(dc, r, outer);
    r.DeflateRect(1, 1);
    pmdraw::Frame(dc, r, frame);
    const CRect button = ButtonArea(r);
    pmdraw::Frame(dc, button, frame);
    pmdraw::Frame(dc, CRect(button.left + 1, button.top + 1, button.right - 1, button.bottom - 1), frame);
    pmdraw::Fill(dc, CRect(button.left - 2, r.top + 1, button.left + 1, r.bottom - 1), field);
    pmdraw::Fill(dc, button, face);
    if (hot) pmdraw::Frame(dc, r, hotFrame);
    CRect arrow(button);
    arrow.left += 1;
    PaintComboArrow(*this, dc, arrow, hot, data);
    if (!hot) pmdraw::Frame(dc, button, frame);
    dc.RestoreDC(saved);
}
