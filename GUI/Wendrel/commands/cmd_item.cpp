#include "commands/cmd_item.h"

#include "commands/cmd_profile.h"
#include "icons/cmd_icon.h"
#include "resources/resource_manager.h"

bool g_bDisableCmdIfNoHandler = true;

bool VEzaCmdItem::IsSpecialId(UINT id) {
    return (id >= 0xE110 && id <= 0xE11F) || (id >= 0xE210 && id <= 0xE21F) || IsSystemCommandId(id) ||
           (id >= 0xFF00 && id <= 0xFF09);
}

VEzaCmdItem::VEzaCmdItem(UINT id) : m_nCmdID(id) {}

VEzaCmdItem::VEzaCmdItem(const VEzaCmdItem& other) : m_nCmdID(other.m_nCmdID) { AssignFrom(other); }

void VEzaCmdItem::AssignFrom(const VEzaCmdItem& other) {
    if (&other == this) return;
    m_pProfile = other.m_pProfile;
    m_nCmdID = other.m_nCmdID;
    m_dwState = other.m_dwState;
    m_dwState2 = other.m_dwState2;
    m_nIconIdx = other.m_nIconIdx;
    m_sMenuText = other.m_sMenuText;
    m_sToolbarText = other.m_sToolbarText;
    m_sTipText = other.m_sTipText;
    m_sStatusText = other.m_sStatusText;
    m_sAccelText = other.m_sAccelText;
    m_nNumber1 = other.m_nNumber1;
    m_nNumber2 = other.m_nNumber2;
    m_nNumber3 = other.m_nNumber3;
    m_nNumber4 = other.m_nNumber4;
    m_nUsage = other.m_nUsage;
}

void VEzaCmdItem::MergeTextsFrom(const VEzaCmdItem& other) {
    if (other.m_nIconIdx >= 0) m_nIconIdx = other.m_nIconIdx;
    if (!other.m_sMenuText.IsEmpty()) m_sMenuText = other.m_sMenuText;
    if (!other.m_sToolbarText.IsEmpty()) m_sToolbarText = other.m_sToolbarText;
    if (!other.m_sTipText.IsEmpty()) m_sTipText = other.m_sTipText;
    if (!other.m_sStatusText.IsEmpty()) m_sStatusText = other.m_sStatusText;
    if (!other.m_sAccelText.IsEmpty()) m_sAccelText = other.m_sAccelText;
}

void VEzaCmdItem::FillEmptyTextsFrom(const VEzaCmdItem& other) {
    if (m_nIconIdx < 0) m_nIconIdx = other.m_nIconIdx;
    if (m_sMenuText.IsEmpty()) m_sMenuText = other.m_sMenuText;
    if (m_sTipText.IsEmpty()) m_sTipText = other.m_sTipText;
    if (m_sStatusText.IsEmpty()) m_sStatusText = other.m_sStatusText;
    if (m_sAccelText.IsEmpty()) m_sAccelText = other.m_sAccelText;
}

void VEzaCmdItem::HalveUsageOnOverflow() {
    if (m_pProfile == nullptr || m_pProfile->m_nTotalUsage < 0xFFFFFFFEu) return;
    m_pProfile->m_nTotalUsage >>= 1;
    POSITION pos = m_pProfile->m_cmds.GetStartPosition();
    while (pos != nullptr) {
        UINT id;
        VEzaCmdItem* item;
        m_pProfile->m_cmds.GetNextAssoc(pos, id, item);
        item->m_nUsage >>= 1;
    }
}

void VEzaCmdItem::ClearTipTexts() {
    m_sTipText.Empty();
    m_sStatusText.Empty();
}

bool VEzaCmdItem::UpdateFromStringResource() {
    ClearTipTexts();
    if (!IsCommandId(m_nCmdID)) return false;
    CString text;
    if (!g_ResourceManager->LoadString(text, m_nCmdID)) return false;
    // Only blanks are trimmed: a whitespace trim would eat the line feed of a
    // text that holds a tooltip alone ("\nTip").
    text.Replace('\t', ' ');
    text.Remove('\r');
    text.Trim(' ');
    if (text.IsEmpty()) return false;
    int lf = text.ReverseFind('\n');
    if (lf < 0) {
        m_sStatusText = text;
        return true;
    }
    m_sStatusText = text.Left(lf);
    m_sStatusText.Trim(' ');
    m_sTipText = text.Mid(lf + 1);
    m_sTipText.Trim(' ');
    return true;
}

bool VEzaCmdItem::IsBasic() const { return IsSpecialId(m_nCmdID) || (m_dwState & STATE_BASIC) != 0; }

bool VEzaCmdItem::IsUsageExempt() const {
    return !IsSpecialId(m_nCmdID) && (m_dwState & STATE_USAGE_EXEMPT) != 0;
}

bool VEzaCmdItem::IsRarelyUsed() const {
    if (IsBasic()) return false;
    return GetUsagePercent() < GetProfileRarelyUsedPercent();
}

DWORD VEzaCmdItem::SetBit(DWORD bit, bool on) {
    if (on)
        m_dwState |= bit;
    else
        m_dwState &= ~bit;
    return m_dwState;
}

DWORD VEzaCmdItem::SetCheckGroup(DWORD bit, bool on) {
    m_dwState &= ~STATE_CHECK_GROUP;
    return SetBit(bit, on);
}

DWORD VEzaCmdItem::SetControlKind(DWORD bits, bool on) {
    m_dwState &= ~STATE_CONTROL_BITS;
    return SetBit(bits, on);
}

DWORD VEzaCmdItem::SetSecondFlagBit0(bool on) {
    if (on)
        m_dwState2 |= 1;
    else
        m_dwState2 &= ~DWORD(1);
    return m_dwState2;
}

bool VEzaCmdItem::DoUpdateCmdUI(CCmdTarget* target, int index) {
    VEzaCmdItemUI ui(this);
    ui.m_nID = m_nCmdID;
    ui.m_nIndex = UINT(index);
    if (IsSystemCommandId(m_nCmdID) || (m_nCmdID >= 0xFF00 && m_nCmdID <= 0xFF09)) {
        ui.m_bEnableChanged = TRUE;
        SetEnabled(true);
        return true;
    }
    return ui.DoUpdate(target, g_bDisableCmdIfNoHandler ? TRUE : FALSE) != FALSE;
}

bool VEzaCmdItem::Deliver(CControlBar* bar, bool send) {
    if (bar == nullptr || bar->GetSafeHwnd() == nullptr) return false;
    CWnd* target = bar->GetOwner();
    if (target == nullptr) target = bar->GetParent();
    if (target == nullptr) return false;
    return Deliver(target->GetSafeHwnd(), send);
}

bool VEzaCmdItem::Deliver(CWnd* wnd, bool send) {
    if (wnd == nullptr) return false;
    return Deliver(wnd->GetSafeHwnd(), send);
}

bool VEzaCmdItem::Deliver(HWND wnd, bool send) {
    if (wnd == nullptr) return false;
    IncrementUsageCount();
    UINT msg = WM_COMMAND;
    LPARAM lParam = 0;
    if (IsSystemCommandId(m_nCmdID)) {
        msg = WM_SYSCOMMAND;
        POINT pt{};
        ::GetCursorPos(&pt);
        lParam = MAKELPARAM(pt.x, pt.y);
    }
    if (send) return ::SendMessageA(wnd, msg, WPARAM(m_nCmdID), lParam) != 0;
    return ::PostMessageA(wnd, msg, WPARAM(m_nCmdID), lParam) != FALSE;
}

UINT VEzaCmdItem::GetUsagePercent() const {
    UINT total = GetProfileTotalUsage();
    if (total == 0) return 0;
    // 64 bits: a 32-bit product wraps once a counter passes about 43 million
    // and would call a busy command rarely used.
    return UINT(ULONGLONG(m_nUsage) * 100u / total);
}

void VEzaCmdItem::IncrementUsageCount() {
    if (IsBasic() || IsUsageExempt()) return;
    ++m_nUsage;
    if (m_pProfile != nullptr) ++m_pProfile->m_nTotalUsage;
    HalveUsageOnOverflow();
}

void VEzaCmdItem::ResetUsageStatistics() {
    if (IsBasic()) return;
    if (!IsUsageExempt()) m_nUsage = 0;
}

UINT VEzaCmdItem::GetProfileTotalUsage() const { return m_pProfile ? m_pProfile->m_nTotalUsage : 0; }

UINT VEzaCmdItem::GetProfileRarelyUsedPercent() const {
    return m_pProfile ? m_pProfile->m_nRarelyUsedPercent : 10;
}

void VEzaCmdItem::SetProfileRarelyUsedPercent(UINT percent) {
    if (m_pProfile != nullptr) m_pProfile->m_nRarelyUsedPercent = percent > 100 ? 100 : percent;
}

void VEzaCmdItem::OnSysColorChange() {
    if (m_pProfile == nullptr) return;
    if (VEzaCmdIcon* icon = m_pProfile->CmdGetIconPtr(m_nCmdID)) icon->OnSysColorChange();
}

void VEzaCmdItem::OnSettingChange(UINT flags, LPCSTR section) {
    if (m_pProfile == nullptr) return;
    if (VEzaCmdIcon* icon = m_pProfile->CmdGetIconPtr(m_nCmdID)) icon->OnSettingChange(flags, section);
}

void VEzaCmdItem::OnDisplayChange(int bitsPerPixel, int cx, int cy) {
    if (m_pProfile == nullptr) return;
    if (VEzaCmdIcon* icon = m_pProfile->CmdGetIconPtr(m_nCmdID)) icon->OnDisplayChange(bitsPerPixel, cx, cy);
}

void VEzaCmdItem::OnThemeChanged(WPARAM wParam, LPARAM lParam) {
    if (m_pProfile == nullptr) return;
    if (VEzaCmdIcon* icon = m_pProfile->CmdGetIconPtr(m_nCmdID)) icon->OnThemeChanged(wParam, lParam);
}

CString VEzaCmdItem::GetText(CString& text) const {
    text = GetText();
    return text;
}

CString VEzaCmdItem::GetText() const {
    if (!m_sMenuText.IsEmpty()) return m_sMenuText;
    if (!m_sTipText.IsEmpty()) return m_sTipText;
    if (!m_sToolbarText.IsEmpty()) return m_sToolbarText;
    return CString();
}

bool VEzaCmdItem::IsUsageSaved() const {
    return !IsBasic() && !IsUsageExempt() && !IsFlagBit6() && !IsSystemCommandId(m_nCmdID) && m_nUsage != 0;
}

void VEzaCmdItemUI::Enable(BOOL on) {
    m_bEnableChanged = TRUE;
    m_pItem->SetEnabled(on != FALSE);
}

void VEzaCmdItemUI::SetCheck(int check) {
    if (check == 0 || check == 1)
        m_pItem->SetChecked(check != 0);
    else
        m_pItem->SetIndeterminate(true);
}

void VEzaCmdItemUI::SetRadio(BOOL on) { m_pItem->SetRadio(on != FALSE); }

void VEzaCmdItemUI::SetText(LPCSTR text) { m_pItem->m_sMenuText = text; }
