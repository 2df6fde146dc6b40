// VEzaButton: painting through the paint manager's push-button painter.
#include "button/ext_button.h"
#include "icons/cmd_icon.h"
#include "paint/memory_dc.h"
#include "paint/paint_manager.h"

namespace {

const CSize kCheckGlyphSize(24, 16);

// The picture a check box or radio button that is not push-like shows
// instead of its icon: the manager's box in the button's state, centred in
// 24 by 16, magenta around it transparent.
void MakeCheckGlyph(VEzaCmdIcon& icon, VEzaPaintManager& pm, CObject* source, bool radio, int check, bool hover,
                    bool pushed, bool enabled)
{
    const CRect area(CPoint(0, 0), kCheckGlyphSize);
    const COLORREF key = RGB(255, 0, 255);
    HDC screen = ::GetDC(nullptr);
    CDC mem;
    mem.Attach(::CreateCompatibleDC(screen));
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, area.Width(), area.Height());
    ::ReleaseDC(nullptr, screen);
    if (bitmap == nullptr || mem.GetSafeHdc() == nullptr) {
        if (bitmap != nullptr) ::DeleteObject(bitmap);
        return;
    }
    HGDIOBJ old = ::SelectObject(mem.GetSafeHdc(), bitmap);
    mem.FillSolidRect(area, key);
    VEzaPaintManager::eBoxState_t state = VEzaPaintManager::BoxUnchecked;
    if (check == 2 && !radio)
        state = VEzaPaintManager::BoxIndeterminate;
    else if (check != 0)
        state = VEzaPaintManager::BoxChecked;
    VEzaPaintManager::PAINTCHECKRADIOBUTTONDATA data(source, area, nullptr, state, false, false, hover, pushed,
                                                     enabled, false);
    const CSize box = radio ? pm.GetRadioButtonBoxSize() : pm.GetCheckButtonBoxSize();
    data.m_rcBox = CRect(CPoint((area.Width() - box.cx) / 2, (area.Height() - box.cy) / 2), box);
    if (radio)
        pm.PaintRadioButtonBox(mem, data);
    else
        pm.PaintCheckButtonBox(mem, data);
    ::SelectObject(mem.GetSafeHdc(), old);
    icon.AssignFromHBITMAP(bitmap, key, nullptr, false);
}

}  // namespace

void VEzaButton::RepaintNow()
{
    if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return;
    CClientDC dc(this);
    PaintToTarget(dc);
    ::ValidateRect(m_hWnd, nullptr);
}

void VEzaButton::PaintToTarget(CDC& target)
{
    CRect client;
    GetClientRect(&client);
    VEzaMemoryDC dc(&target, &client, VEzaMemoryDC::MDCOPT_TO_MEMORY | VEzaMemoryDC::MDCOPT_FILL_SURFACE);
    _RenderImpl(dc);
}

void VEzaButton::DrawItem(LPDRAWITEMSTRUCT dis)
{
    if (dis == nullptr || dis->hDC == nullptr) return;
    PaintToTarget(*CDC::FromHandle(dis->hDC));
}

void VEzaButton::_RenderImpl(CDC& dc, bool transparent, bool)
{
    VEzaPaintManager* pm = PmBridge_GetPM();
    if (pm == nullptr) return;
    CRect client;
    GetClientRect(&client);

    CString text;
    OnQueryWindowText(text);
    const bool hover = (m_nState & STATE_HOVER) != 0;
    bool pushed = (m_nState & STATE_PUSHED) != 0;
    bool focus = ::GetFocus() == m_hWnd && (m_nState & STATE_FOCUS_RECT) != 0;
    bool flat = false;
    const bool enabled = OnQueryWindowEnabledState();

    VEzaCmdIcon icon;
    HICON iconHandle = hover && !IsMenuTracking() ? m_hIconHover : m_hIconNormal;
    if (iconHandle != nullptr) icon.AssignFromHICON(iconHandle, true);
    if (IsCheckType() || IsRadioType()) {
        if ((GetStyle() & BS_PUSHLIKE) != 0) {
            if (m_nCheck != 0) pushed = true;
        } else {
            flat = true;
            focus = false;
            icon.Empty();
            MakeCheckGlyph(icon, *pm, this, IsRadioType(), m_nCheck, hover, pushed, enabled);
        }
    }
    if (DYNAMIC_DOWNCAST(CControlBar, GetParent()) != nullptr) {
        flat = true;
        focus = false;
    }

    if (!transparent) {
        // Hovered, pressed or not: this library's managers paint no inherited
        // bar background, so the face is filled.
        const COLORREF back = m_clrBackground != COLORREF(-1) ? m_clrBackground : pm->GetColor(1000, this);
        dc.FillSolidRect(client, back);
    }

    HFONT baseFont = OnQueryFont();
    pm->AdjustControlFont(baseFont, this, 0);
    LOGFONTA lf = {};
    CFont font;
    if (baseFont != nullptr && ::GetObjectA(baseFont, sizeof lf, &lf) != 0) {
        lf.lfWeight = m_nButtonType == BS_DEFPUSHBUTTON ? FW_BOLD : FW_NORMAL;
        font.CreateFontIndirect(&lf);
    }

    VEzaPaintManager::PAINTPUSHBUTTONDATA data(
        this, true, client, text, icon.IsEmpty() ? nullptr : &icon, flat, hover, pushed, false, enabled,
        (m_nState & STATE_BORDER) != 0, focus, m_nButtonType == BS_DEFPUSHBUTTON, m_nTextAlign,
        HFONT(font.GetSafeHandle()), _IsMenuAvail(), 0, transparent);
    data.m_bSeparatedDropDown = (m_nState & STATE_SPLIT) != 0;
    if (data.m_bSeparatedDropDown && m_nPressedPart == PART_DROPDOWN && data.m_bPushed) {
        data.m_bPushed = false;
        data.m_bDropDownPushed = true;
    }
    data.m_clrBackground = m_clrBackground;
    data.m_clrDisabledText = m_clrDisabledText;
    data.m_clrText = m_clrText;
    data.m_clrHoverText = m_clrHoverText;
    data.m_clrPushedText = m_clrPushedText;
    data.m_bForceRtl = (GetExStyle() & WS_EX_LAYOUTRTL) != 0;
    data.m_bWordBreak = (GetStyle() & BS_MULTILINE) != 0;
    pm->PaintPushButton(dc, data);
}
