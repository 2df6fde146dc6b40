// VEzaButton: subclassing, mouse, keyboard, clicks, messages and lifecycle.
// Painting is in ext_button_paint.cpp, the drop-down menu and tooltips in
// ext_button_menu.cpp.
#include "button/ext_button.h"

#include "commands/cmd_manager.h"
#include "paint/paint_manager.h"
#include "toolkit/bar_types.h"
#include "toolkit/menu_types.h"

IMPLEMENT_DYNAMIC(VEzaButton, CButton)

int VEzaButton::g_nTrackingMenus = 0;

namespace {

// Whether hovering may show on wnd while reference is the active window: both
// exist, are enabled and visible, no drop-down menu is being tracked, and the
// top-level window of wnd is the reference or one of its owners.
bool IsHoverAllowedForWnd(HWND wnd, HWND reference)
{
    if (VEzaButton::IsMenuTracking()) return false;
    if (wnd == nullptr || reference == nullptr || !::IsWindow(wnd) || !::IsWindow(reference)) return false;
    if (!::IsWindowEnabled(wnd) || !::IsWindowEnabled(reference)) return false;
    if (!::IsWindowVisible(wnd) || !::IsWindowVisible(reference)) return false;
    HWND root = ::GetAncestor(wnd, GA_ROOT);
    for (HWND w = reference; w != nullptr; w = ::GetWindow(w, GW_OWNER)) {
        if (w == root) return true;
    }
    return false;
}

}  // namespace

VEzaButton::VEzaButton() : VEzaPmWndBridge(this) { EnableToolTips(TRUE); }

VEzaButton::~VEzaButton()
{
    VEzaPmWndBridge::PmBridge_Uninstall();
    // The window goes while the object is still whole (its tooltip, an owned
    // popup, with it).
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd) && CWnd::FromHandlePermanent(m_hWnd) == this) DestroyWindow();
    if (m_wndToolTip.GetSafeHwnd() != nullptr) m_wndToolTip.DestroyWindow();
    if (m_hIconNormal != nullptr && m_hIconNormal != m_hIconHover) ::DestroyIcon(m_hIconNormal);
    if (m_hIconHover != nullptr) ::DestroyIcon(m_hIconHover);
    if (m_hCursor != nullptr) ::DestroyCursor(m_hCursor);
    m_menu.DestroyMenu();
}

void VEzaButton::SetIcon(HICON hoverIcon, HICON normalIcon)
{
    if (m_hIconNormal != nullptr && m_hIconNormal != m_hIconHover) ::DestroyIcon(m_hIconNormal);
    if (m_hIconHover != nullptr) ::DestroyIcon(m_hIconHover);
    m_hIconHover = hoverIcon;
    m_hIconNormal = normalIcon != nullptr ? normalIcon : hoverIcon;
    if (GetSafeHwnd() != nullptr) RepaintNow();
}

void VEzaButton::SetIcon(UINT hoverIconId, UINT normalIconId)
{
    HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEA(hoverIconId), RT_GROUP_ICON);
    HICON hover = hoverIconId != 0
                      ? (HICON)::LoadImageA(module, MAKEINTRESOURCEA(hoverIconId), IMAGE_ICON, 0, 0, 0)
                      : nullptr;
    HICON normal = normalIconId != 0
                       ? (HICON)::LoadImageA(module, MAKEINTRESOURCEA(normalIconId), IMAGE_ICON, 0, 0, 0)
                       : nullptr;
    SetIcon(hover, normal);
}

void VEzaButton::SetDrawFocusRect(int draw)
{
    if (draw != 0)
        m_nState |= STATE_FOCUS_RECT;
    else
        m_nState &= BYTE(~STATE_FOCUS_RECT);
}

bool VEzaButton::IsPushType() const
{
    return m_nButtonType == BS_PUSHBUTTON || m_nButtonType == BS_DEFPUSHBUTTON || m_nButtonType == BS_USERBUTTON ||
           m_nButtonType == BS_OWNERDRAW;
}

bool VEzaButton::IsCheckType() const
{
    return m_nButtonType == BS_CHECKBOX || m_nButtonType == BS_AUTOCHECKBOX || m_nButtonType == BS_3STATE ||
           m_nButtonType == BS_AUTO3STATE;
}

bool VEzaButton::IsRadioType() const
{
    return m_nButtonType == BS_RADIOBUTTON || m_nButtonType == BS_AUTORADIOBUTTON;
}

CRect VEzaButton::GetDropDownRect() const
{
    CRect client;
    GetClientRect(&client);
    if ((m_nState & STATE_SPLIT) == 0) return CRect(0, 0, 0, 0);
    const int width = int(VEzaPaintManager::GlyphExpandBottom().GetWidth()) + 6;
    client.left = std::max(client.left, client.right - width);
    return client;
}

int VEzaButton::HitTestPart(CPoint client) const
{
    POINT screen = client;
    ::ClientToScreen(m_hWnd, &screen);
    if (::WindowFromPoint(screen) != m_hWnd) return PART_NONE;
    if ((m_nState & STATE_SPLIT) != 0 && GetDropDownRect().PtInRect(client)) return PART_DROPDOWN;
    return PART_MAIN;
}

int VEzaButton::CursorPart() const
{
    POINT p;
    ::GetCursorPos(&p);
    ::ScreenToClient(m_hWnd, &p);
    return HitTestPart(p);
}

bool VEzaButton::OnQueryWindowEnabledState() const
{
    // (A parent OLE control in design mode would answer enabled; this layer
    // hosts no OLE controls.)
    return IsWindowEnabled() != FALSE;
}

bool VEzaButton::_IsMenuAvail() { return m_menu.GetSafeHmenu() != nullptr; }

INT VEzaButton::OnQueryMaxTipWidth(LPCSTR) { return 250; }

void VEzaButton::OnQueryWindowText(CString& text) const { GetWindowText(text); }

HFONT VEzaButton::OnQueryFont() const
{
    HFONT font = (HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0);
    if (font == nullptr) {
        HWND parent = ::GetParent(m_hWnd);
        if (parent != nullptr) font = (HFONT)::SendMessageA(parent, WM_GETFONT, 0, 0);
    }
    if (font == nullptr) font = (HFONT)::GetStockObject(DEFAULT_GUI_FONT);
    if (font == nullptr) font = (HFONT)::GetStockObject(SYSTEM_FONT);
    return font;
}

bool VEzaButton::_QuickActivationCheck(DWORD key)
{
    if ((m_nActivation & ACTIVATION_MNEMONIC) == 0 || GetSafeHwnd() == nullptr || !::IsWindow(m_hWnd)) return false;
    if ((::GetKeyState(VK_SHIFT) & 0x8000) != 0 || (::GetKeyState(VK_CONTROL) & 0x8000) != 0) return false;
    CString text;
    GetWindowText(text);
    const int amp = text.Find('&');
    if (amp < 0 || amp + 1 >= text.GetLength()) return false;
    const UINT_PTR next = UINT_PTR(::CharUpperA(LPSTR(UINT_PTR(BYTE(text[amp + 1])))));
    return DWORD(next & 0xFF) == key;
}

bool VEzaButton::_QuickActivationHandle()
{
    _OnClick(true, (m_nActivation & ACTIVATION_SELECT_FIRST) != 0);
    return true;
}

void VEzaButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    const DWORD style = GetStyle();
    // Owner-drawn from now on: the button paints itself (the other style bits
    // stay, the paint reads BS_MULTILINE and BS_PUSHLIKE from them).
    ::SendMessageA(m_hWnd, BM_SETSTYLE, (style & 0xFFF0) | BS_OWNERDRAW, TRUE);
    m_nButtonType = int(style & 0x0F);
    int horizontal = 1;
    const DWORD h = style & BS_CENTER;
    if (h == BS_LEFT)
        horizontal = 0;
    else if (h == BS_RIGHT)
        horizontal = 2;
    int vertical = 8;
    const DWORD v = style & BS_VCENTER;
    if (v == BS_TOP)
        vertical = 4;
    else if (v == BS_BOTTOM)
        vertical = 16;
    m_nTextAlign = horizontal | vertical;
    // Asked before this object answers BM_GETCHECK itself.
    m_nCheck = int(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0));
    PostMessage(WM_ENABLE, OnQueryWindowEnabledState() ? TRUE : FALSE);
}

// ---- mouse

void VEzaButton::OnMouseMoveMsg()
{
    const int part = CursorPart();
    const bool held = (m_nState & STATE_HELD) != 0;
    bool hot = held ? (part != PART_NONE && part == m_nPressedPart) : part != PART_NONE;
    if (hot) hot = IsHoverAllowedForWnd(m_hWnd, ::GetActiveWindow());
    if (hot) {
        if (::GetCapture() != m_hWnd) VEzaMouseCaptureSink::SetCapture(m_hWnd);
        if ((m_nState & STATE_HOVER) == 0) {
            m_nState |= STATE_HOVER;
            if (held && (::GetAsyncKeyState(::GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000) != 0)
                m_nState |= STATE_PUSHED;
            RepaintNow();
        }
    } else {
        if (!held && ::GetCapture() == m_hWnd) ::ReleaseCapture();
        if ((m_nState & STATE_HOVER) != 0) {
            m_nState &= BYTE(~(STATE_HOVER | STATE_PUSHED));
            RepaintNow();
        }
    }
}

void VEzaButton::OnButtonDownMsg()
{
    m_nPressedPart = CursorPart();
    if (m_nPressedPart == PART_NONE) return;
    m_nState |= STATE_HOVER | STATE_PUSHED | STATE_HELD;
    if (::GetCapture() != m_hWnd) VEzaMouseCaptureSink::SetCapture(m_hWnd);
    RepaintNow();
}

void VEzaButton::OnButtonUpMsg()
{
    const int part = CursorPart();
    const bool click = (m_nState & STATE_PUSHED) != 0 && (m_nState & STATE_HELD) != 0 && part == m_nPressedPart;
    m_nState &= BYTE(~(STATE_HOVER | STATE_PUSHED | STATE_HELD));
    m_nPressedPart = PART_NONE;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    RepaintNow();
    if (click && ::IsWindow(m_hWnd) && IsWindowEnabled() && IsWindowVisible())
        _OnClick(false, (m_nState & STATE_SPLIT) != 0 && part == PART_DROPDOWN);
}

void VEzaButton::OnCancelModeMsg()
{
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    m_nState &= BYTE(~STATE_TRANSIENT);
    m_nPressedPart = PART_NONE;
    RepaintNow();
}

// ---- keyboard

BOOL VEzaButton::PreTranslateMessage(MSG* msg)
{
    if (!IsMenuTracking() && GetSafeHwnd() != nullptr) {
        if (m_wndToolTip.GetSafeHwnd() == nullptr) {
            m_wndToolTip.Create(this);
            m_wndToolTip.Activate(FALSE);
        }
        if (m_wndToolTip.GetSafeHwnd() != nullptr) m_wndToolTip.RelayEvent(msg);
    }
    const UINT m = msg->message;
    const bool key = m == WM_KEYDOWN || m == WM_KEYUP;
    if (msg->hwnd == m_hWnd && key && (msg->wParam == VK_RETURN || msg->wParam == VK_SPACE)) {
        if (!IsWindowEnabled() || !IsWindowVisible()) return TRUE;
        if (msg->wParam == VK_RETURN) {
            if (m == WM_KEYDOWN) _OnClick(true, false);
        } else if (m == WM_KEYDOWN) {
            if ((m_nState & STATE_HELD) == 0) {
                m_nState |= STATE_PUSHED | STATE_HELD | STATE_KEY_PRESS;
                RepaintNow();
            }
        } else {
            m_nState &= BYTE(~STATE_TRANSIENT);
            RepaintNow();
            _OnClick(true, false);
        }
        return TRUE;
    }
    // The character of the focused button's own mnemonic would also reach the
    // dialog manager, which clicks the button a second time (BM_CLICK); the
    // key-up below is the one activation.
    if ((m == WM_CHAR || m == WM_SYSCHAR) && msg->hwnd == m_hWnd) {
        const UINT_PTR upper = UINT_PTR(::CharUpperA(LPSTR(UINT_PTR(BYTE(msg->wParam)))));
        if (_QuickActivationCheck(DWORD(upper & 0xFF))) return TRUE;
    }
    if ((m == WM_KEYUP || m == WM_SYSKEYUP) && _QuickActivationCheck(DWORD(msg->wParam))) _QuickActivationHandle();
    return CButton::PreTranslateMessage(msg);
}

// ---- click

void VEzaButton::_OnClick(bool selectAny, bool dropDownClicked)
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr) return;
    if (IsPushType()) {
        if ((m_nState & STATE_SPLIT) == 0 || dropDownClicked) {
            if (_OnTrackPopup(selectAny)) return;
            if (_IsMenuAvail()) return;
        }
    } else if (IsCheckType() || IsRadioType()) {
        m_nCheck = m_nCheck == 0 ? 1 : 0;
    } else {
        return;
    }
    HWND self = m_hWnd;
    ::SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), LPARAM(self));
    if (::IsWindow(self) && CWnd::FromHandlePermanent(self) == this) RepaintNow();
}

// ---- messages

LRESULT VEzaButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if ((m_nState & STATE_KEY_PRESS) != 0) return 0;
        {
            const LRESULT r = CButton::WindowProc(message, wParam, lParam);
            OnMouseMoveMsg();
            return r;
        }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if ((m_nState & STATE_KEY_PRESS) != 0) return 0;
        OnButtonDownMsg();
        return 0;
    case WM_LBUTTONUP:
        if ((m_nState & STATE_KEY_PRESS) != 0) return 0;
        OnButtonUpMsg();
        return 0;
    case WM_CANCELMODE:
        OnCancelModeMsg();
        return 0;
    case WM_KILLFOCUS: {
        const LRESULT r = CButton::WindowProc(message, wParam, lParam);
        SendMessage(WM_CANCELMODE);
        return r;
    }
    case WM_CAPTURECHANGED:
        if (lParam != 0 && HWND(lParam) != m_hWnd) SendMessage(WM_CANCELMODE);
        return CButton::WindowProc(message, wParam, lParam);
    case WM_ACTIVATEAPP:
        if (wParam == FALSE) SendMessage(WM_CANCELMODE);
        return CButton::WindowProc(message, wParam, lParam);
    case WM_ENABLE: {
        const LRESULT r = CButton::WindowProc(message, wParam, lParam);
        RepaintNow();
        return r;
    }
    case WM_SETTEXT: {
        const LRESULT r = CButton::WindowProc(message, wParam, lParam);
        RepaintNow();
        return r;
    }
    case BM_GETCHECK:
        return m_nCheck;
    case BM_SETCHECK:
        m_nCheck = int(wParam);
        RepaintNow();
        return 0;
    case BM_SETSTYLE:
        // The control itself stays owner-drawn; the type asked for is kept.
        CButton::WindowProc(message, BS_OWNERDRAW | (wParam & ~WPARAM(0x0F)), lParam);
        m_nButtonType = int(wParam & 0x0F);
        RepaintNow();
        return 0;
    case BM_CLICK:
        // The dialog manager clicks a button whose mnemonic was typed while
        // another control has the focus; the default would press it only
        // when the cursor happens to be over it.
        if (IsWindowEnabled() && IsWindowVisible()) _QuickActivationHandle();
        return 0;
    case WM_UPDATEUISTATE:
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        if (m_hCursor != nullptr) {
            ::SetCursor(m_hCursor);
            return TRUE;
        }
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        CDC* dc = CDC::FromHandle(::BeginPaint(m_hWnd, &ps));
        PaintToTarget(*dc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        // Snapshots see the button as it paints itself, whatever its parent.
        if (wParam != 0) PaintToTarget(*CDC::FromHandle(HDC(wParam)));
        return 0;
    case WM_NOTIFY: {
        const NMHDR* nm = reinterpret_cast<const NMHDR*>(lParam);
        if (nm != nullptr && m_wndToolTip.GetSafeHwnd() != nullptr && nm->hwndFrom == m_wndToolTip.GetSafeHwnd() &&
            nm->code == TTN_SHOW) {
            ::SetWindowPos(nm->hwndFrom, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            return 0;
        }
        break;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_THEMECHANGED: {
        const LRESULT r = CButton::WindowProc(message, wParam, lParam);
        if (message == WM_SYSCOLORCHANGE) {
            g_PaintManager.OnSysColorChange(this);
            g_CmdManager.OnSysColorChange(this);
        } else if (message == WM_SETTINGCHANGE) {
            g_PaintManager.OnSettingChange(this, UINT(wParam), LPCSTR(lParam));
            g_CmdManager.OnSettingChange(this, UINT(wParam), LPCSTR(lParam));
        } else if (message == WM_DISPLAYCHANGE) {
            g_PaintManager.OnDisplayChange(this, INT(wParam), CPoint(lParam));
            g_CmdManager.OnDisplayChange(this, int(wParam), LOWORD(lParam), HIWORD(lParam));
        } else {
            g_PaintManager.OnThemeChanged(this, wParam, lParam);
            g_CmdManager.OnThemeChanged(this, wParam, lParam);
        }
        return r;
    }
    default:
        break;
    }
    if (message == VEzaToolControlBar::g_nMsgContinueTrackMenu) {
        _OnTrackPopup(lParam != 0);
        return 1;
    }
    if (message == VEzaControlBar::g_nMsgPutToPopupMenu)
        return OnPutToPopupMenu(reinterpret_cast<VEzaPopupMenuWnd*>(wParam)) ? 1 : 0;
    if (message == VEzaPopupMenuWnd::g_nMsgPrepareMenu || message == VEzaPopupMenuWnd::g_nMsgPopupNext ||
        message == VEzaPopupMenuWnd::g_nMsgPopupPrev || message == VEzaPopupMenuWnd::g_nMsgNotifyMenuExpanded ||
        message == VEzaPopupMenuWnd::g_nMsgNotifyMenuClosed || message == VEzaPopupMenuWnd::g_nMsgPopupDrawItem ||
        message == VEzaPopupMenuWnd::g_nMsgPopupDrawLeftArea) {
        HWND parent = ::GetParent(m_hWnd);
        return parent != nullptr ? ::SendMessageA(parent, message, wParam, lParam) : 0;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

LRESULT VEzaButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT r = CButton::DefWindowProc(message, wParam, lParam);
    switch (message) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    case BM_GETSTATE:
    case BM_SETSTATE:
    case BM_SETIMAGE:
        if (::IsWindow(m_hWnd)) Invalidate(FALSE);
        break;
    default:
        break;
    }
    return r;
}
