#include "gridwnd/grid_tool.h"

#include "gridwnd/grid_ctrl.h"

CDefGridTool::CDefGridTool(CDefGridCtrl* grid) : m_grid(grid), m_kind("CDefGridTool") {}

CDefGridTool::~CDefGridTool() = default;

void CDefGridTool::SetCursors(UINT normal, UINT captured)
{
    m_cursor = normal;
    m_capturedCursor = captured ? captured : normal;
}

HCURSOR CDefGridTool::GetCursor(bool captured) const
{
    const UINT id = captured ? m_capturedCursor : m_cursor;
    if (id >= 32000) return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id));
}

void CDefGridTool::OnKeyDown(UINT key, UINT, UINT)
{
    const bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
    UINT message = WM_VSCROLL;
    UINT code;
    switch (key) {
    case VK_PRIOR: code = SB_PAGEUP; break;
    case VK_NEXT: code = SB_PAGEDOWN; break;
    case VK_END:
        message = ctrl ? WM_VSCROLL : WM_HSCROLL;
        code = ctrl ? SB_BOTTOM : SB_RIGHT;
        break;
    case VK_HOME:
        message = ctrl ? WM_VSCROLL : WM_HSCROLL;
        code = ctrl ? SB_TOP : SB_LEFT;
        break;
    case VK_LEFT: message = WM_HSCROLL; code = SB_LINELEFT; break;
    case VK_RIGHT: message = WM_HSCROLL; code = SB_LINERIGHT; break;
    case VK_UP: code = SB_LINEUP; break;
    case VK_DOWN: code = SB_LINEDOWN; break;
    default: return;
    }
    m_grid->SendMessage(message, code, 0);
}
