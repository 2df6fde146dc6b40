// VEzaButton: the drop-down menu, putting the button into a bar's menu, and
// the tooltips it shows itself for buttons on a toolbar.
#include <cstdlib>
#include <cstring>

#include "button/ext_button.h"
#include "commands/cmd_item.h"
#include "commands/cmd_manager.h"
#include "icons/cmd_icon.h"
#include "toolkit/bar_types.h"
#include "toolkit/menu_types.h"

namespace {

// Menu placement of the toolkit: low four bits of the alignment.
enum : UINT { ALIGN_LEFT = 1, ALIGN_RIGHT = 3, ALIGN_TOP = 4, ALIGN_BOTTOM = 6 };
// Track flags of the toolkit.
enum : UINT { TRACK_SELECT_ANY = 0x40, TRACK_EXCLUDE_AREA = 0x20, TRACK_RETURN_CMD = 0x280 };

// Where the menu goes for a bar docked on one side of its frame.
UINT AlignmentOfDockBar(UINT dockBarId)
{
    switch (dockBarId) {
    case AFX_IDW_DOCKBAR_LEFT:
        return ALIGN_LEFT;
    case AFX_IDW_DOCKBAR_RIGHT:
        return ALIGN_RIGHT;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return ALIGN_BOTTOM;
    default:
        return ALIGN_TOP;
    }
}

// The system menu's placement for the toolkit alignment around the excluded
// rectangle: the menu opens beside the button on the side the bar faces.
UINT SystemFlagsForAlignment(UINT align, const CRect& exclude, POINT& at)
{
    switch (align & 0x0F) {
    case ALIGN_LEFT:
        at = CPoint(exclude.right, exclude.top);
        return TPM_LEFTALIGN | TPM_TOPALIGN | TPM_HORIZONTAL;
    case ALIGN_RIGHT:
        at = CPoint(exclude.left, exclude.top);
        return TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_HORIZONTAL;
    case ALIGN_BOTTOM:
        at = CPoint(exclude.left, exclude.top);
        return TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_VERTICAL;
    default:
        at = CPoint(exclude.left, exclude.bottom);
        return TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL;
    }
}

}  // namespace

bool VEzaButton::_OnTrackPopup(bool selectAny)
{
    if (!_IsMenuAvail()) return false;
    HWND self = m_hWnd;
    LPCSTR profile = g_CmdManager->ProfileNameFromWnd(self);
    if (profile != nullptr) g_CmdManager->UpdateFromMenu(profile, m_menu.GetSafeHmenu(), false, true, true);

    // The alignment and the window that receives the chosen command.
    UINT align = m_nMenuAlign;
    HWND owner = ::GetParent(self);
    for (CWnd* w = GetParent(); w != nullptr;) {
        CControlBar* bar = DYNAMIC_DOWNCAST(CControlBar, w);
        if (bar == nullptr) break;
        if (bar->IsFloating()) {
            CWnd* frame = bar->GetParentFrame();
            if (frame != nullptr && frame->GetParent() != nullptr) owner = frame->GetParent()->GetSafeHwnd();
            align = (align & ~0x0Fu) | ALIGN_TOP;
            break;
        }
        if (bar->m_pDockBar != nullptr && !bar->IsDockBar()) {
            align = (align & ~0x0Fu) | AlignmentOfDockBar(UINT(bar->m_pDockBar->GetDlgCtrlID()));
            break;
        }
        w = w->GetParent();
    }

    CRect exclude;
    GetWindowRect(&exclude);
    POINT at;
    UINT flags = SystemFlagsForAlignment(align, exclude, at) | TPM_RETURNCMD | TPM_LEFTBUTTON;
    TPMPARAMS params = {};
    params.cbSize = sizeof params;
    params.rcExclude = exclude;

    SetFocus();
    // Shown pressed under its menu.
    m_nState |= STATE_PUSHED;
    if ((m_nState & STATE_SPLIT) != 0) m_nPressedPart = PART_DROPDOWN;
    RepaintNow();
    // The menu loop reads the first key from the queue: keyboard activation
    // starts with the first item selected.
    if (selectAny) ::PostMessageA(self, WM_KEYDOWN, VK_DOWN, 0);
    ++g_nTrackingMenus;
    const UINT cmd = UINT(::TrackPopupMenuEx(m_menu.GetSafeHmenu(), flags, at.x, at.y, self, &params));
    --g_nTrackingMenus;
    if (!::IsWindow(self) || CWnd::FromHandlePermanent(self) != this) return true;
    m_nState &= BYTE(~STATE_TRANSIENT);
    m_nPressedPart = PART_NONE;
    RepaintNow();
    if (cmd == 0) return true;

    if ((m_nState & STATE_CMD_FROM_MENU) != 0) {
        SetDlgCtrlID(int(cmd));
        if ((m_nOptions & OPTION_TAKE_CMD_LOOK) != 0 && profile != nullptr) {
            if (VEzaCmdItem* item = g_CmdManager->CmdGetPtr(profile, cmd); item != nullptr) {
                SetWindowText(item->m_sToolbarText.IsEmpty() ? item->m_sMenuText : item->m_sToolbarText);
                if (VEzaCmdIcon* icon = g_CmdManager->CmdGetIconPtr(profile, cmd);
                    icon != nullptr && !icon->IsEmpty()) {
                    HICON h = icon->GetIcon();
                    SetIcon(h != nullptr ? ::CopyIcon(h) : nullptr, nullptr);
                }
            }
        }
        ::SendMessageA(::GetParent(self), WM_COMMAND, MAKEWPARAM(cmd, 0), LPARAM(self));
        if (::IsWindow(self)) RepaintNow();
    } else if (owner != nullptr) {
        // A menu command, as the menu itself would send it.
        ::SendMessageA(owner, WM_COMMAND, MAKEWPARAM(cmd, 0), 0);
    }
    return true;
}

bool VEzaButton::OnPutToPopupMenu(VEzaPopupMenuWnd* popup)
{
    // The toolkit's popup menu window cannot take items yet; the button stays
    // out of the bar's menu.
    (void)popup;
    return false;
}

INT_PTR VEzaButton::OnToolHitTest(CPoint point, TOOLINFOA* ti) const
{
    VEzaToolControlBar* bar = DYNAMIC_DOWNCAST(VEzaToolControlBar, GetParent());
    if (bar == nullptr) return CButton::OnToolHitTest(point, ti);
    CPoint barPoint = point;
    ::MapWindowPoints(m_hWnd, bar->GetSafeHwnd(), &barPoint, 1);
    TOOLINFOA barTi = {};
    barTi.cbSize = sizeof barTi;
    const INT_PTR hit = bar->OnToolHitTest(barPoint, &barTi);
    LPSTR text = barTi.lpszText;
    const bool ownText = hit != -1 && text != nullptr && text != LPSTR_TEXTCALLBACKA && !IS_INTRESOURCE(text);
    if (!ownText) return CButton::OnToolHitTest(point, ti);
    auto* self = const_cast<VEzaButton*>(this);
    if (m_wndToolTip.GetSafeHwnd() != nullptr && !m_wndToolTip.IsWindowVisible()) {
        if (self->m_wndToolTip.GetToolCount() == 0) {
            CRect client;
            GetClientRect(&client);
            self->m_wndToolTip.AddTool(self, text, &client, 1);
        }
        CWnd::CancelToolTips();
        self->m_wndToolTip.UpdateTipText(text, self, 1);
        self->m_wndToolTip.SetMaxTipWidth(std::strchr(text, '\r') != nullptr ? self->OnQueryMaxTipWidth(text) : -1);
        self->m_wndToolTip.Activate(TRUE);
    }
    std::free(text);
    return -1;
}
