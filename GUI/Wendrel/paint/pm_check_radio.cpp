// Check boxes and radio buttons in one call: the box placed beside its label,
// the label in its state's colour with its focus frame, and the box itself
// through the visual style when there is one, else DrawFrameControl.
#include <algorithm>

#include "paint/paint_manager.h"

using PM = VEzaPaintManager;

namespace {

const COLORREF kNone = COLORREF(-1);
const int kPartRadio = 2, kPartCheck = 3;

struct BoxState {
    int theme;
    UINT frame;
};

// By row: unchecked, checked, mixed; normal, pressed, hot, disabled.
const BoxState kBoxStates[12] = {
    {1, 0},
    {5, DFCS_CHECKED},
    {9, DFCS_CHECKED | DFCS_BUTTON3STATE},
    {3, DFCS_PUSHED},
    {7, DFCS_CHECKED | DFCS_PUSHED},
    {11, DFCS_CHECKED | DFCS_PUSHED | DFCS_BUTTON3STATE},
    {2, 0},
    {6, DFCS_CHECKED},
    {10, DFCS_CHECKED | DFCS_BUTTON3STATE},
    {4, DFCS_INACTIVE},
    {8, DFCS_CHECKED | DFCS_INACTIVE},
    {12, DFCS_CHECKED | DFCS_INACTIVE | DFCS_BUTTON3STATE},
};

COLORREF Pick(COLORREF first, COLORREF second) { return first != kNone ? first : second; }

void PaintBox(CDC& dc, const PM::PAINTCHECKRADIOBUTTONDATA& data, bool radio) {
    const int index = PM::stat_GetBoxStateIndex(data, radio);
    const BoxState state = index >= 0 ? kBoxStates[index] : BoxState{0, 0};
    CRect box(data.m_rcBox);
    CWnd* wnd = dynamic_cast<CWnd*>(data.m_pSourceObject);
    const HWND hwnd = wnd != nullptr ? wnd->GetSafeHwnd() : nullptr;
    UxThemeWrapper& theme = g_PaintManager.m_UxTheme;
    if (state.theme != 0 && theme.IsAppThemed() && HIWORD(theme.m_dwComCtlVersion) > 5) {
        if (theme.OpenThemeData(hwnd, L"BUTTON") != nullptr &&
            SUCCEEDED(theme.DrawThemeBackground(dc.GetSafeHdc(), radio ? kPartRadio : kPartCheck, state.theme, &box,
                                                nullptr)))
            return;
    }
    UINT flags = state.frame | (radio ? DFCS_BUTTONRADIO : DFCS_BUTTONCHECK);
    if (data.m_bFlat || (hwnd != nullptr && (wnd->GetStyle() & BS_FLAT) != 0)) flags |= DFCS_FLAT;
    dc.DrawFrameControl(&box, DFC_BUTTON, flags);
}

}  // namespace

PM::PAINTCHECKRADIOBUTTONDATA::PAINTCHECKRADIOBUTTONDATA(CObject* source, const RECT& rect, LPCSTR text,
                                                         eBoxState_t state, bool boxAtRight, bool multiline,
                                                         bool hover, bool pushed, bool enabled, bool focused,
                                                         int textAlignment, HFONT font)
    : m_pSourceObject(source), m_rcClient(rect), m_sText(text), m_eState(state), m_bBoxAtRight(boxAtRight),
      m_bMultiline(multiline), m_bHover(hover), m_bPushed(pushed), m_bEnabled(enabled), m_bFocused(focused),
      m_nTextAlignment(textAlignment), m_hFont(font), m_rcBox(0, 0, 0, 0) {}

PM::check_radio_layout_t VEzaPaintManager::stat_LayoutCheckRadio(const RECT& client, CSize boxSize,
                                                                 bool boxAtRight) {
    check_radio_layout_t layout;
    layout.box = CRect(CPoint(client.left, client.top), boxSize);
    layout.label = client;
    if (boxAtRight) {
        layout.box.MoveToX(client.right - boxSize.cx);
        layout.label.right = layout.box.left - 2;
        layout.label.left = client.left + 1;
    } else {
        layout.label.left = layout.box.right + 4;
    }
    layout.label.DeflateRect(1, 1);
    return layout;
}

int VEzaPaintManager::stat_GetBoxStateIndex(const PAINTCHECKRADIOBUTTONDATA& data, bool radio) {
    const int checked = int(data.m_eState);
    if (checked < 0 || checked > 2 || (radio && checked == 2)) return -1;
    if (!data.m_bEnabled) return 9 + checked;
    if (data.m_bPushed) return 3 + checked;
    if (data.m_bHover) return 6 + checked;
    return checked;
}

void VEzaPaintManager::PaintCheckButton(CDC& dc, PAINTCHECKRADIOBUTTONDATA& data) {
    if (data.m_rcClient.IsRectEmpty()) return;
    if (!data.m_bEnabled) data.m_bHover = data.m_bFocused = false;
    PaintCheckOrRadioButtonText(dc, data, GetCheckButtonBoxSize(), data.m_rcBox);
    PaintCheckButtonBox(dc, data);
}

void VEzaPaintManager::PaintRadioButton(CDC& dc, PAINTCHECKRADIOBUTTONDATA& data) {
    if (data.m_rcClient.IsRectEmpty()) return;
    if (!data.m_bEnabled) data.m_bHover = data.m_bFocused = false;
    PaintCheckOrRadioButtonText(dc, data, GetRadioButtonBoxSize(), data.m_rcBox);
    PaintRadioButtonBox(dc, data);
}

void VEzaPaintManager::PaintCheckOrRadioButtonText(CDC& dc, PAINTCHECKRADIOBUTTONDATA& data, CSize boxSize,
                                                   CRect& box) {
    const CRect client(data.m_rcClient);
    if (client.IsRectEmpty()) return;
    if (!data.m_bEnabled) data.m_bHover = data.m_bFocused = false;
    check_radio_layout_t layout = stat_LayoutCheckRadio(client, boxSize, data.m_bBoxAtRight);
    const int vertical = data.m_nTextAlignment & 0x1C;
    if (vertical == 0x10)
        layout.box.MoveToY(client.bottom - boxSize.cy);
    else if (vertical != 4)
        layout.box.MoveToY(client.top + (client.Height() - boxSize.cy) / 2);
    box = layout.box;

    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const CRect& label = layout.label;
    if (data.m_sText != nullptr && *data.m_sText != '\0' && !label.IsRectEmpty()) {
        COLORREF colour = QueryObjectTextColor(dc, data.m_bEnabled, data.m_bFocused, data.m_bHover, data.m_bPushed,
                                               data.m_pSourceObject, 0);
        if (colour == kNone) {
            const COLORREF normal = Pick(data.m_clrText, GetColor(COLOR_BTNTEXT, data.m_pSourceObject, data.m_lParam));
            if (!data.m_bEnabled)
                colour = Pick(data.m_clrDisabledText, GetColor(COLOR_BTNSHADOW, data.m_pSourceObject, data.m_lParam));
            else if (data.m_bPushed)
                colour = Pick(data.m_clrPushedText, Pick(data.m_bHover ? data.m_clrHoverText : kNone, normal));
            else if (data.m_bHover)
                colour = Pick(data.m_clrHoverText, normal);
            else
                colour = normal;
        }
        const HFONT font = data.m_hFont != nullptr ? data.m_hFont : HFONT(m_FontNormal.GetSafeHandle());
        const HGDIOBJ oldFont = font != nullptr ? ::SelectObject(dc.GetSafeHdc(), font) : nullptr;
        const COLORREF oldColour = dc.SetTextColor(colour);

        CRect text(0, 0, data.m_bMultiline ? label.Width() : 0, 0);
        const UINT lines = data.m_bMultiline ? DT_WORDBREAK : DT_SINGLELINE;
        dc.DrawText(data.m_sText, -1, &text, DT_CALCRECT | lines);
        const int width = std::min(text.Width(), label.Width()), height = std::min(text.Height(), label.Height());
        UINT flags = lines;
        int x = label.left, y = label.top + (label.Height() - height) / 2;
        switch (data.m_nTextAlignment & 3) {
        case 1:
            flags |= DT_CENTER;
            x = label.left + (label.Width() - width) / 2;
            break;
        case 2:
            flags |= DT_RIGHT;
            x = label.right - width;
            break;
        default: break;
        }
        if (vertical == 0x10)
            y = label.bottom - height;
        else if (vertical == 4)
            y = label.top;
        // Drawn into the text's own place inside the label area, so that a
        // multi-line label sits where a single line would.
        CRect place(CPoint(x, y), CSize(width, height));
        dc.DrawText(data.m_sText, -1, &place, flags);
        dc.SetTextColor(oldColour);
        if (oldFont != nullptr) ::SelectObject(dc.GetSafeHdc(), oldFont);

        if (data.m_bFocused) {
            CRect focus(place);
            focus.InflateRect(2, 2);
            focus.IntersectRect(&focus, &label);
            dc.DrawFocusRect(&focus);
        }
    }
    dc.SetBkMode(oldMode);
}

void VEzaPaintManager::PaintCheckButtonBox(CDC& dc, PAINTCHECKRADIOBUTTONDATA& data) { PaintBox(dc, data, false); }

void VEzaPaintManager::PaintRadioButtonBox(CDC& dc, PAINTCHECKRADIOBUTTONDATA& data) { PaintBox(dc, data, true); }
