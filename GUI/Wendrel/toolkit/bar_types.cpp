#include "toolkit/bar_types.h"

#include "afxres.h"

// The registered messages, cursors, lists and maps of these classes are
// defined in static_init.cpp, where their order of creation is fixed.

IMPLEMENT_DYNAMIC(VEzaControlBar, CControlBar)
IMPLEMENT_DYNCREATE(VEzaDynamicControlBar, VEzaControlBar)
IMPLEMENT_DYNAMIC(VEzaDockBar, CDockBar)
IMPLEMENT_DYNAMIC(VEzaDockOuterBar, VEzaDockBar)
IMPLEMENT_DYNAMIC(VEzaMiniDockFrameWnd, CMiniDockFrameWnd)
IMPLEMENT_DYNAMIC(VEzaDynDockMarkerWnd, CWnd)
IMPLEMENT_DYNAMIC(VEzaTabPageContainerWnd, CWnd)
IMPLEMENT_DYNAMIC(VEzaToolControlBar, VEzaControlBar)
IMPLEMENT_DYNAMIC(VEzaMenuControlBar, VEzaToolControlBar)
IMPLEMENT_DYNAMIC(VEzaStatusControlBar, VEzaControlBar)
IMPLEMENT_DYNAMIC(VEzaTabWnd, CWnd)
IMPLEMENT_DYNAMIC(VEzaTabMdiWnd, VEzaTabWnd)
IMPLEMENT_DYNAMIC(VEzaBarButton, CObject)

VEzaControlBar::BarCursors_t::BarCursors_t()
    : m_hArrow(::LoadCursorA(nullptr, IDC_ARROW)),
      m_hSizeAll(::LoadCursorA(nullptr, IDC_SIZEALL)),
      m_hSizeNS(::LoadCursorA(nullptr, IDC_SIZENS)),
      m_hSizeWE(::LoadCursorA(nullptr, IDC_SIZEWE)) {}

VEzaControlBar::VEzaControlBar() : VEzaPmWndBridge(this) { g_AllBars.Add(this); }

VEzaControlBar::~VEzaControlBar() {
    for (INT_PTR i = g_AllBars.GetSize(); i-- > 0;)
        if (g_AllBars[i] == this) g_AllBars.RemoveAt(i);
}

void VEzaControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

bool VEzaControlBar::IsDockedVertically() const {
    if (m_pDockBar == nullptr || m_pDockBar->GetSafeHwnd() == nullptr) return false;
    const int id = m_pDockBar->GetDlgCtrlID();
    return id == AFX_IDW_DOCKBAR_LEFT || id == AFX_IDW_DOCKBAR_RIGHT;
}
