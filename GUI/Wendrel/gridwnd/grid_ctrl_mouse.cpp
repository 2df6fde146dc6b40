// The grid window's mouse and tool handling: hit tests, the tool factory and
// the messages it hands to the current tool.
#include <cstdlib>
#include <cstring>
#include <typeinfo>

#include "grid/grid_filter.h"
#include "grid/grid_hittest.h"
#include "gridwnd/filter_tool.h"
#include "gridwnd/grid_ctrl.h"
#include "gridwnd/grid_tools.h"

namespace {

// Tools of one kind compare equal unless their kind says more; plain tools
// are never compared (they always replace the current tool).
bool SameTool(const CDefGridTool& a, const CDefGridTool* b)
{
    if (!b || a.GetKindName() != b->GetKindName() || typeid(a) != typeid(*b)) return false;
    // Column tools (resize and sort) of another column differ: a fast move can
    // jump from one header cell to the next without crossing the edge between.
    if (auto* column = dynamic_cast<const CColumnTool*>(&a))
        return column->GetColumn() == static_cast<const CColumnTool*>(b)->GetColumn();
    if (auto* click = dynamic_cast<const CCellClickTool*>(&a)) {
        auto* other = static_cast<const CCellClickTool*>(b);
        return click->GetElement() == other->GetElement() && click->GetCell() == other->GetCell();
    }
    if (auto* filter = dynamic_cast<const CFilterTool*>(&a)) {
        auto* other = static_cast<const CFilterTool*>(b);
        return filter->GetElement() == other->GetElement() && filter->GetElementCell() == other->GetElementCell();
    }
    if (auto* expand = dynamic_cast<const CExpandTool*>(&a)) {
        auto* other = static_cast<const CExpandTool*>(b);
        return expand->GetElement() == other->GetElement() &&
               expand->GetElementViewRange() == other->GetElementViewRange() && expand->GetLevel() == other->GetLevel();
    }
    return true;
}

}  // namespace

void CDefGridCtrl::HitTest(const CELL_IMAGE& image, unsigned flags, CPoint point, HITTEST_RESULT& result)
{
    if (!m_view || image.range.IsEmpty()) return;
    result.flags = flags;
    HITTEST_DEVICE device(image, *m_styles, point);
    device.SetResult(&result);
    device.Advise(this);
    m_view->Draw(device, CELL_INFO(image.range));
}

void CDefGridCtrl::HitTest(unsigned flags, CPoint point, HITTEST_RESULT& result)
{
    HitTest(GetVisibleImage(), flags, point, result);
    HitTest(GetFooterImage(), flags, point, result);
    HitTest(GetHeaderImage(), flags, point, result);
}

INT_PTR CDefGridCtrl::OnToolHitTest(CPoint point, TOOLINFOA* info) const
{
    HITTEST_RESULT hit;
    // Hit testing lays the cells out again but changes nothing of the window.
    const_cast<CDefGridCtrl*>(this)->HitTest(1, point, hit);
    if (hit.text.empty()) return -1;
    // Texts without an element would all share id 0 and keep the first tip's text.
    const CELL_RANGE& cell = hit.elementCell.left == GRID_UNSET || hit.elementCell.top == GRID_UNSET
                                 ? hit.cell : hit.elementCell;
    const INT_PTR id = INT_PTR((unsigned(cell.left) & 0xFFFFu) | (unsigned(cell.top) << 16));
    if (info) {
        info->hwnd = m_hWnd;
        info->uId = UINT_PTR(id);
        info->rect = hit.textRect;
        auto* text = static_cast<char*>(std::malloc(hit.text.size() + 1));
        if (text) std::memcpy(text, hit.text.c_str(), hit.text.size() + 1);
        info->lpszText = text;
    }
    return id;
}

std::unique_ptr<CDefGridTool> CDefGridCtrl::ChooseTool(const HITTEST_RESULT& hit, const GRID_TOOL_SET& enabled,
                                                       UINT toolId, const CDefGridTool* current)
{
    std::unique_ptr<CDefGridTool> tool;
    const int left = m_activeRange.left == GRID_UNSET ? 0 : m_activeRange.left;
    const int right = m_activeRange.right == GRID_UNSET ? left : m_activeRange.right;
    if (hit.columnEdge != GRID_UNSET && enabled.test(GRID_TOOL_RESIZE) && hit.columnEdge >= left &&
        hit.columnEdge < right) {
        // A hidden empty column leaves its edge to the nearest shown one.
        int column = hit.columnEdge;
        while (column >= 0 && m_layout.columns[size_t(column)].savedWidth != 0) --column;
        if (column < 0) return std::make_unique<CDefGridTool>(this);
        tool = std::make_unique<CResizeTool>(this, column);
    } else if (hit.toolKind != -1) {
        if (hit.toolKind < 0 || hit.toolKind > 7) ThrowBitsetPosition();
        if (enabled.test(size_t(hit.toolKind))) {
            switch (hit.toolKind) {
            case GRID_TOOL_SELECT:
                tool = std::make_unique<CSelectTool>(this, enabled.test(GRID_TOOL_HEADER_SELECT));
                break;
            case GRID_TOOL_SORT: tool = std::make_unique<CSortTool>(this, hit.elementCell.left); break;
            case GRID_TOOL_FILTER:
                if (auto* filter = dynamic_cast<IFilterElement*>(hit.element))
                    tool = std::make_unique<CFilterTool>(this, filter, hit);
                break;
            case GRID_TOOL_EXPAND:
                // Only the tree decorator hands out this kind; anything else gets no tool.
                if (auto* plus = dynamic_cast<IPlusElement*>(hit.element))
                    tool = std::make_unique<CExpandTool>(this, plus, hit);
                break;
            case GRID_TOOL_CELL_CLICK:
                tool = std::make_unique<CCellClickTool>(this, hit.elementCell, hit.element);
                break;
            default: break;
            }
        }
    }
    if (!tool) {
        if (hit.cell.left == GRID_UNSET || hit.cell.top == GRID_UNSET || hit.cell.right == GRID_UNSET ||
            hit.cell.bottom == GRID_UNSET)
            return std::make_unique<CDefGridTool>(this);
        switch (toolId) {
        case ID_GRID_TOOL_HAND: tool = std::make_unique<CHandTool>(this); break;
        case ID_GRID_TOOL_ROWS: tool = std::make_unique<CRowSelectTool>(this, true); break;
        case ID_GRID_TOOL_SELECT:
            tool = std::make_unique<CSelectTool>(this, enabled.test(GRID_TOOL_HEADER_SELECT));
            break;
        case ID_GRID_TOOL_ONE_ROW: tool = std::make_unique<CRowSelectTool>(this, false); break;
        default: return std::make_unique<CDefGridTool>(this);
        }
    }
    if (SameTool(*tool, current)) return nullptr;
    return tool;
}

void CDefGridCtrl::SetCurrentTool(std::unique_ptr<CDefGridTool> tool)
{
    if (tool) m_tool = std::move(tool);
}

HCURSOR CDefGridCtrl::GetCurrentCursor() const { return m_tool ? m_tool->GetCursor(m_captured) : nullptr; }

void CDefGridCtrl::RefreshCurrentTool(UINT flags, CPoint point)
{
    HITTEST_RESULT hit;
    HitTest(0, point, hit);
    std::unique_ptr<CDefGridTool> tool = ChooseTool(hit, m_enabledTools, m_toolId, m_tool.get());
    if (tool) {
        if (m_tool) m_tool->OnMouseHover(flags, false);
        m_tool = std::move(tool);
        m_tool->OnMouseHover(flags, true);
    }
    ::SetCursor(GetCurrentCursor());
}

void CDefGridCtrl::SetTool(UINT id)
{
    m_toolId = id;
    m_tool = std::make_unique<CDefGridTool>(this);
    if (!m_hWnd) return;
    CPoint point;
    ::GetCursorPos(&point);
    ::ScreenToClient(m_hWnd, &point);
    RefreshCurrentTool(0, point);
}

void CDefGridCtrl::TrackMouse(DWORD flags)
{
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = flags;
    track.hwndTrack = m_hWnd;
    track.dwHoverTime = HOVER_DEFAULT;
    ::TrackMouseEvent(&track);
}

void CDefGridCtrl::OnGridTool(UINT id) { SetTool(id); }

void CDefGridCtrl::OnUpdateGridTool(CCmdUI* ui) { ui->SetCheck(ui->m_nID == m_toolId ? 1 : 0); }

void CDefGridCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    m_pressPoint = point;
    RefreshCurrentTool(flags, point);
    if (m_tool->NeedCapture()) {
        SetCapture();
        m_captured = true;
    }
    ::SetCursor(GetCurrentCursor());
    m_tool->OnLButtonDown(flags, point);
    Default();
}

void CDefGridCtrl::OnLButtonUp(UINT flags, CPoint point)
{
    if (m_captured) {
        m_captured = false;
        ::ReleaseCapture();
    }
    ::SetCursor(GetCurrentCursor());
    m_tool->OnLButtonUp(flags, point);
    Default();
}

void CDefGridCtrl::OnMouseMove(UINT flags, CPoint point)
{
    if (m_captured) m_tool->OnMouseMove(flags, point, m_pressPoint);
    else RefreshCurrentTool(flags, point);
    Default();
}

BOOL CDefGridCtrl::OnSetCursor(CWnd* wnd, UINT hitTest, UINT)
{
    if (wnd == this && hitTest == HTCLIENT) {
        ::SetCursor(GetCurrentCursor());
        return TRUE;
    }
    return BOOL(Default());
}

void CDefGridCtrl::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (!m_tool->OnLButtonDblClk(flags, point)) {
        tagNM_DEFGRID record{};
        record.range = CELL_RANGE(0, 0, 0, 0);
        record.point = point;
        if (NotifyOwner(NM_DBLCLK, record) != 0) return;
        NotifyOwner(GN_ACTIVATE);
    }
    Default();
}

int CDefGridCtrl::OnMouseActivate(CWnd*, UINT, UINT)
{
    SetFocus();
    return int(Default());
}

void CDefGridCtrl::OnMouseLeave()
{
    m_tool->OnMouseHover(0, false);
    m_tool = std::make_unique<CDefGridTool>(this);
}

void CDefGridCtrl::OnMouseHover(UINT, CPoint) {}

void CDefGridCtrl::OnRButtonDown(UINT flags, CPoint point)
{
    tagNM_DEFGRID record{};
    record.range = CELL_RANGE(0, 0, 0, 0);
    record.point = point;
    if (NotifyOwner(NM_RDOWN, record) == 0) {
        RefreshCurrentTool(flags, point);
        m_tool->OnRButtonDown(flags, point);
    }
    Default();
}
