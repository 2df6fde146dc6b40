// The expand tool driven by synthetic mouse messages on a tree grid: a press
// on a row's glyph collapses and expands that row, a press on a level button
// of the corner cell collapses and expands the level, and moving within one
// glyph keeps the tool while another glyph makes a new one.
#include <iterator>
#include <string>
#include <vector>

#include "afxwin.h"
#include "grid/grid_filter.h"
#include "grid_test_util.h"
#include "gridwnd/grid_ctrl.h"
#include "gridwnd/grid_tools.h"
#include "wtest.h"

namespace {

struct TreeFixture {
    HWND owner;
    CDefGridCtrl grid;
    gt::Chain chain;

    TreeFixture()
    {
        owner = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                  ::GetModuleHandleA(nullptr), nullptr);
        // A (a1 (a1a)), B (b1): three levels below the title row.
        chain = gt::MakeChain({{"Name", COLUMN_TYPE_TEXT}}, {{"A"}, {"a1"}, {"a1a"}, {"B"}, {"b1"}});
        const struct {
            int key, parent;
        } keys[] = {{1, 0}, {11, 1}, {15, 11}, {2, 0}, {12, 2}};
        for (size_t i = 0; i < std::size(keys); ++i) {
            chain.data->GetRows()[i].key = keys[i].key;
            chain.data->GetRows()[i].parentKey = keys[i].parent;
        }
        chain.data->SetHierarchyColumn(0);
        chain.filter->ArrangeHierarchy();
        chain.filter->ShowHierarchy(true);
        grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), CWnd::FromHandle(owner), 79);
        grid.SetView(chain.owner.release());
    }
    ~TreeFixture()
    {
        grid.DestroyWindow();
        ::DestroyWindow(owner);
    }
    CFilterDecorator& Tree() { return *chain.filter; }
    void Send(UINT message, UINT flags, CPoint p) { grid.SendMessage(message, flags, MAKELPARAM(p.x, p.y)); }
    // Lays the grid out again after a view change, as its queued update does.
    void Sync()
    {
        MSG msg;
        while (::PeekMessageA(&msg, grid.m_hWnd, WM_USER + 1, WM_USER + 1, PM_REMOVE)) ::DispatchMessageA(&msg);
    }
    int RowY(int row)
    {
        const ROW_INFO& r = grid.GetRows()[size_t(row)];
        return (row == 0 ? 1 : grid.GetGridOrg().y + r.position) + r.height / 2;
    }
    // The expand tool the mouse finds moving along a row of the tree column,
    // with the point where it was found; level -2 when none.
    struct Found {
        CPoint point{0, 0};
        int level = -2;
        int top = GRID_UNSET;
    };
    std::vector<Found> ExpandToolsAlong(int row)
    {
        std::vector<Found> found;
        const CDefGridTool* last = nullptr;
        for (int x = 0; x < 120; ++x) {
            const CPoint p(x, RowY(row));
            Send(WM_MOUSEMOVE, 0, p);
            auto* tool = dynamic_cast<const CExpandTool*>(grid.GetCurrentTool());
            if (tool && tool != last) {
                WCHECK(tool->GetElement() == static_cast<IPlusElement*>(&Tree()));
                found.push_back({p, tool->GetLevel(), tool->GetElementViewRange().top});
            }
            last = grid.GetCurrentTool();
        }
        return found;
    }
    void Click(CPoint p)
    {
        Send(WM_MOUSEMOVE, 0, p);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, p);
        Send(WM_LBUTTONUP, 0, p);
        Sync();
    }
};

}  // namespace

WTEST(expand_tool_flips_a_row_by_its_glyph)
{
    TreeFixture f;
    WCHECK(f.Tree().IsExpanded(1) && f.Tree().IsExpanded(2));
    // Row 2 (a1) has one glyph, for itself.
    std::vector<TreeFixture::Found> glyphs = f.ExpandToolsAlong(2);
    WCHECK_EQ(glyphs.size(), size_t(1));
    if (glyphs.empty()) return;
    WCHECK_EQ(glyphs[0].level, -1);
    WCHECK_EQ(glyphs[0].top, 2);

    // Moving inside the same glyph keeps the tool; a press makes no new one.
    f.Send(WM_MOUSEMOVE, 0, glyphs[0].point);
    const CDefGridTool* tool = f.grid.GetCurrentTool();
    WCHECK_EQ(tool->GetKindName(), std::string("CExpandTool"));
    f.Send(WM_MOUSEMOVE, 0, CPoint(glyphs[0].point.x + 1, glyphs[0].point.y));
    WCHECK(f.grid.GetCurrentTool() == tool);

    f.Click(glyphs[0].point);
    WCHECK(!f.Tree().IsExpanded(2));
    WCHECK(f.Tree().IsExpanded(1));
    // a1a, under the collapsed a1, is no longer laid out with a height.
    WCHECK_EQ(f.grid.GetRows()[3].height, 0);
    f.Click(glyphs[0].point);
    WCHECK(f.Tree().IsExpanded(2));
    WCHECK(f.grid.GetRows()[3].height > 0);

    // Another row's glyph is another tool.
    std::vector<TreeFixture::Found> other = f.ExpandToolsAlong(4);
    WCHECK_EQ(other.size(), size_t(1));
    if (other.empty()) return;
    WCHECK_EQ(other[0].top, 4);
    f.Click(other[0].point);
    WCHECK(!f.Tree().IsExpanded(4));
    WCHECK(f.Tree().IsExpanded(2));
}

WTEST(expand_tool_flips_a_level_by_its_button)
{
    TreeFixture f;
    // Levels 1 and 2 get buttons in the corner cell, left to right.
    std::vector<TreeFixture::Found> buttons = f.ExpandToolsAlong(0);
    WCHECK_EQ(buttons.size(), size_t(2));
    if (buttons.size() != 2) return;
    WCHECK_EQ(buttons[0].level, 1);
    WCHECK_EQ(buttons[1].level, 2);
    WCHECK(f.Tree().IsLevelExpanded(1) && f.Tree().IsLevelExpanded(2));

    // Collapsing level 2 collapses a1 only; level 1 stays open.
    f.Click(buttons[1].point);
    WCHECK(!f.Tree().IsLevelExpanded(2));
    WCHECK(f.Tree().IsLevelExpanded(1));
    WCHECK(!f.Tree().IsExpanded(2));
    WCHECK(f.Tree().IsExpanded(1) && f.Tree().IsExpanded(4));
    // Collapsing level 1 closes A and B; expanding it opens every level up to it.
    f.Click(buttons[0].point);
    WCHECK(!f.Tree().IsLevelExpanded(1));
    WCHECK(!f.Tree().IsExpanded(1) && !f.Tree().IsExpanded(4));
    WCHECK_EQ(f.grid.GetRows()[2].height, 0);
    f.Click(buttons[0].point);
    WCHECK(f.Tree().IsLevelExpanded(1));
    WCHECK(f.Tree().IsExpanded(1) && f.Tree().IsExpanded(4));
    WCHECK(f.grid.GetRows()[2].height > 0);
    WCHECK(!f.Tree().IsLevelExpanded(2));
}
