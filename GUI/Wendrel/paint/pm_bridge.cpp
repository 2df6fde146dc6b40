#include "paint/pm_bridge.h"

#include "paint/paint_manager.h"

VEzaPmBridge::~VEzaPmBridge() = default;

void VEzaPmBridge::PmBridge_OnPaintManagerChanged(VEzaPaintManager* pm) {
    if (pm != PmBridge_GetPM()) return;
    HWND wnd = PmBridge_GetSafeHwnd();
    if (wnd == nullptr || !::IsWindow(wnd)) return;
    ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void VEzaPmBridge::PmBridge_OnSysColorChange(VEzaPaintManager*, CWnd*) {}
void VEzaPmBridge::PmBridge_OnSettingChange(VEzaPaintManager*, CWnd*, UINT, LPCSTR) {}
void VEzaPmBridge::PmBridge_OnDisplayChange(VEzaPaintManager*, CWnd*, INT, INT, INT) {}
void VEzaPmBridge::PmBridge_OnThemeChanged(VEzaPaintManager*, CWnd*, WPARAM, LPARAM) {}

VEzaPmWndBridge::VEzaPmWndBridge(const CWnd* wnd) : m_pBridgeWnd(wnd) { VEzaPmWndBridge::PmBridge_Install(); }

VEzaPmWndBridge::~VEzaPmWndBridge() { VEzaPmWndBridge::PmBridge_Uninstall(); }

void VEzaPmWndBridge::PmBridge_Install() { g_PaintManager.RegisterBridge(this); }

void VEzaPmWndBridge::PmBridge_Uninstall() { g_PaintManager.UnregisterBridge(this); }

HWND VEzaPmWndBridge::PmBridge_GetSafeHwnd() const {
    return m_pBridgeWnd != nullptr ? m_pBridgeWnd->GetSafeHwnd() : nullptr;
}

VEzaPaintManager* VEzaPmWndBridge::PmBridge_GetPM() const { return g_PaintManager.GetPM(); }
