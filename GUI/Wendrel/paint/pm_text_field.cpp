// The text field a toolbar can carry, in both looks: its frame (a combo
// frame when it has a drop-down button), its edit area and its text.
#include "paint/paint_manager.h"
#include "paint/paint_system.h"
#include "resources/resource_manager.h"

namespace {

using Data = VEzaPaintManager::PAINTTOOLBARTEXTFIELDDATA;

COLORREF SysColor(int index) { return VEzaGetPaintSystem().pfnGetSysColor(index); }

int ThumbWidth() { return ::GetSystemMetrics(SM_CXHTHUMB); }

void Frame(CDC& dc, const CRect& r, COLORREF colour) { dc.Draw3dRect(&r, colour, colour); }

// The field's text, alike in both looks.
void PaintText(VEzaPaintManager& pm, CDC& dc, const Data& data) {
    if (data.m_sText.IsEmpty()) return;
    const bool enabled = (data.m_nState & Data::Enabled) != 0;
    const COLORREF oldColour = dc.SetTextColor(SysColor(enabled ? COLOR_BTNTEXT : COLOR_BTNSHADOW));
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    CFont* oldFont = dc.SelectObject(&pm.m_FontNormal);
    CRect r = data.m_rcText;
    r.left += 5;
    r.top += 2;
    UINT format = data.m_nDrawTextFlags;
    if (g_ResourceManager->IsRightToLeft()) format |= DT_RTLREADING | DT_RIGHT;
    dc.DrawText(data.m_sText, &r, format);
    dc.SelectObject(oldFont);
    dc.SetBkMode(oldMode);
    dc.SetTextColor(oldColour);
}

}  // namespace

void VEzaPaintManager::PaintToolbarTextField(CDC& dc, PAINTTOOLBARTEXTFIELDDATA& data) {
    const bool combo = (data.m_nState & Data::ComboBox) != 0, hover = (data.m_nState & Data::Hover) != 0,
               pushed = (data.m_nState & Data::Pushed) != 0, enabled = (data.m_nState & Data::Enabled) != 0;
    auto c = [&](int index) { return GetColor(index, data.m_pSourceObject, data.m_lParam); };
    CRect r = data.m_rcField;
    if (!enabled) r.DeflateRect(1, 2);
    if (combo && enabled) {
        PAINTCOMBOFRAMEDATA frame(data.m_pSourceObject, r, hover, pushed, enabled);
        frame.m_bNoOuterFrame = true;
        PaintComboFrame(dc, frame);
        dc.SelectClipRgn(nullptr);
    } else if (combo) {
        Frame(dc, r, c(COLOR_WINDOW));
        const CRect button(r.right - ThumbWidth(), r.top, r.right, r.bottom);
        const COLORREF ink[2] = {0, c(COLOR_BTNTEXT)};
        PaintGlyphCentered(dc, button, GlyphExpandBottom(), ink);
    } else if (!enabled) {
        Frame(dc, r, c(COLOR_WINDOW));
    } else if (hover || pushed) {
        dc.Draw3dRect(&r, c(COLOR_BTNSHADOW), c(COLOR_BTNHIGHLIGHT));
    }
    CRect edit = data.m_rcText;
    if (!enabled) edit.DeflateRect(0, 1);
    dc.FillSolidRect(&edit, c(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    PaintText(*this, dc, data);
}

void VEzaPaintManagerXP::PaintToolbarTextField(CDC& dc, PAINTTOOLBARTEXTFIELDDATA& data) {
    const bool combo = (data.m_nState & Data::ComboBox) != 0, hover = (data.m_nState & Data::Hover) != 0,
               pushed = (data.m_nState & Data::Pushed) != 0, enabled = (data.m_nState & Data::Enabled) != 0;
    auto c = [&](int index) { return GetColor(index, data.m_pSourceObject, data.m_lParam); };
    const COLORREF frame = c(2004);
    CRect e = data.m_rcText;
    e.bottom += 1;
    if (hover || pushed || !enabled) e.InflateRect(1, 1);
    const COLORREF fill = SysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    if (combo) {
        const int w = ThumbWidth();
        CRect button(e.right, e.top, e.right + w, e.bottom);
        e.right += w;
        if (enabled && !hover && !pushed) {
            // The idle button shows the bar behind it.
            button.DeflateRect(4, 1, 1, 1);
            dc.ExcludeClipRect(&button);
        }
        dc.FillSolidRect(&e, fill);
        dc.SelectClipRgn(nullptr);
        if (hover || !enabled) {
            if (enabled) {
                button.left += 1;
                // The drop-down part is a flat push button.
                PAINTPUSHBUTTONDATA push(this, true, button, "", nullptr, true, hover, pushed, false, enabled, true,
                                         false, false, 0, nullptr, false, 0, false);
                PaintPushButton(dc, push);
                Frame(dc, e, frame);
            } else {
                Frame(dc, e, c(2011));
            }
        }
        if (!enabled) button.left += 1;
        const COLORREF ink[2] = {0, !enabled ? SysColor(COLOR_BTNSHADOW) : pushed ? c(2006) : c(COLOR_BTNTEXT)};
        PaintGlyphCentered(dc, button, GlyphExpandBottom(), ink);
        e.right -= w;
    } else {
        dc.FillSolidRect(&e, fill);
        if (!enabled)
            Frame(dc, e, c(2011));
        else if (hover || pushed)
            Frame(dc, e, frame);
    }
    PaintText(*this, dc, data);
}
