// VEzaButton: painting. Until the paint manager's push-button painter is in
// this library the button paints a plain face: the manager's colour, its
// caption centred with the mnemonic underlined.
#include "button/ext_button.h"
#include "paint/memory_dc.h"
#include "paint/paint_manager.h"

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
    const bool lit = (m_nState & (STATE_HOVER | STATE_PUSHED)) != 0;
    if (!transparent) dc.FillSolidRect(client, pm->GetColor(lit ? 1001 : 1000, this));
    CString text;
    OnQueryWindowText(text);
    CFont* old = dc.SelectObject(CFont::FromHandle(OnQueryFont()));
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(pm->GetColor(OnQueryWindowEnabledState() ? COLOR_BTNTEXT : COLOR_BTNSHADOW, this));
    dc.DrawText(text, client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SelectObject(old);
}
