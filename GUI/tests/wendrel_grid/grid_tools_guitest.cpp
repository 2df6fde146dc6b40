// The grid window's mouse tools driven by synthetic mouse messages: column
// resize and autofit, the hand, row selection with Ctrl and Shift, cell and
// range selection, the header click that selects a column, double clicks
// reported to the owner, and sorting and back.
#include <algorithm>
#include <memory>
#include <stdexcept>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "afxwin.h"
#include "grid/grid_text_device.h"
#include "grid_test_util.h"
#include "gridwnd/grid_ctrl.h"
#include "gridwnd/grid_tools.h"
#include "wtest.h"

namespace {

std::vector<int> g_toolCodes;
LRESULT g_doubleClickReply = 0;  // the owner's answer to NM_DBLCLK

LRESULT CALLBACK ToolOwnerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_NOTIFY) {
        const UINT code = reinterpret_cast<const tagNM_DEFGRID*>(l)->hdr.code;
        g_toolCodes.push_back(int(code));
        return code == UINT(NM_DBLCLK) ? g_doubleClickReply : 0;
    }
    return ::DefWindowProcA(h, m, w, l);
}

struct ToolFixture {
    HWND owner;
    CDefGridCtrl grid;
    gt::Chain chain;

    ToolFixture()
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSA wc{};
            wc.lpfnWndProc = ToolOwnerProc;
            wc.hInstance = ::GetModuleHandleA(nullptr);
            wc.lpszClassName = "GridToolOwnerTest";
            ::RegisterClassA(&wc);
            registered = true;
        }
        owner = ::CreateWindowExA(0, "GridToolOwnerTest", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
        // Column 0 holds the row's number in reverse, so a sort reorders.
        std::vector<std::vector<std::string>> data;
        for (int r = 0; r < 40; ++r)
            data.push_back({std::string(1, char('z' - r % 26)) + std::to_string(r), "b" + std::to_string(r),
                            "c" + std::to_string(r), "d", "e"});
        chain = gt::MakeChain({{"A", COLUMN_TYPE_TEXT}, {"B", COLUMN_TYPE_TEXT}, {"C", COLUMN_TYPE_TEXT},
                               {"D", COLUMN_TYPE_TEXT}, {"E", COLUMN_TYPE_TEXT}},
                              data);
        grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), CWnd::FromHandle(owner), 78);
        grid.SetView(chain.owner.release());
        g_toolCodes.clear();
    }
    ~ToolFixture()
    {
        grid.DestroyWindow();
        ::DestroyWindow(owner);
    }
    // The window point in the middle of a cell of the body (absolute row).
    CPoint Cell(int column, int row)
    {
        const ROW_INFO& r = grid.GetRows()[size_t(row)];
        const COLUMN_INFO& c = grid.GetColumns()[size_t(column)];
        return CPoint(grid.GetGridOrg().x + c.position + c.width / 2, grid.GetGridOrg().y + r.position + r.height / 2);
    }
    CPoint HeaderCell(int column)
    {
        const COLUMN_INFO& c = grid.GetColumns()[size_t(column)];
        return CPoint(grid.GetGridOrg().x + c.position + c.width / 2, 1 + grid.GetRows()[0].height / 2);
    }
    void Send(UINT message, UINT flags, CPoint p) { grid.SendMessage(message, flags, MAKELPARAM(p.x, p.y)); }
    void Click(CPoint p, UINT flags = 0)
    {
        Send(WM_MOUSEMOVE, flags, p);
        Send(WM_LBUTTONDOWN, flags | MK_LBUTTON, p);
        Send(WM_LBUTTONUP, flags, p);
    }
    std::vector<int> SelectedRows()
    {
        std::vector<int> rows;
        for (int r = 0; r < grid.GetRowCount(); ++r)
            if (grid.GetRowState(r) & ROW_STATE_SELECTED) rows.push_back(r);
        return rows;
    }
    std::string Kind() { return grid.GetCurrentTool()->GetKindName(); }
};

}  // namespace

WTEST(column_resizes_by_dragging_its_edge_and_fits_its_cells_on_double_click)
{
    ToolFixture f;
    const int y = f.HeaderCell(0).y;
    const int edge = f.grid.GetGridOrg().x + 100 - 1;
    f.Send(WM_MOUSEMOVE, 0, CPoint(edge, y));
    WCHECK_EQ(f.Kind(), std::string("CResizeTool"));
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, CPoint(edge, y));
    f.Send(WM_MOUSEMOVE, MK_LBUTTON, CPoint(edge + 30, y));
    f.Send(WM_MOUSEMOVE, MK_LBUTTON, CPoint(edge + 20, y));
    f.Send(WM_LBUTTONUP, 0, CPoint(edge + 20, y));
    WCHECK_EQ(f.grid.GetColumnWidth(0), 120);
    WCHECK_EQ(f.grid.GetColumns()[1].position, 120);
    // Keys move the edge by 5 and never below 0.
    f.grid.SendMessage(WM_KEYDOWN, VK_LEFT, 0);
    WCHECK_EQ(f.grid.GetColumnWidth(0), 115);
    // A double click on the edge fits the column to its widest cell and is
    // not reported to the owner.
    const int newEdge = f.grid.GetGridOrg().x + 115 - 1;
    f.Send(WM_MOUSEMOVE, 0, CPoint(newEdge, y));
    WCHECK_EQ(f.Kind(), std::string("CResizeTool"));
    g_toolCodes.clear();
    f.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, CPoint(newEdge, y));
    const int preferred = f.grid.GetColumns()[0].prefWidth;
    WCHECK(preferred > 0 && preferred < 115);
    WCHECK_EQ(f.grid.GetColumnWidth(0), preferred);
    WCHECK(g_toolCodes.empty());

    // Fit mode spreads the columns over the client width; a width set by
    // hand ends it.
    f.grid.SetFitMode(true);
    CRect client;
    f.grid.GetClientRect(&client);
    int sum = 0;
    for (const COLUMN_INFO& c : f.grid.GetColumns()) sum += c.width;
    WCHECK(sum <= client.Width() && sum >= client.Width() - 5);
    f.grid.SetColumnWidth(2, 10);
    WCHECK(!f.grid.GetFitMode());
}

WTEST(hand_tool_drags_the_body)
{
    ToolFixture f;
    WCHECK_EQ(f.grid.GetTool(), UINT(ID_GRID_TOOL_HAND));
    const CPoint org = f.grid.GetGridOrg();
    const CPoint from = f.Cell(1, 5);
    f.Send(WM_MOUSEMOVE, 0, from);
    WCHECK_EQ(f.Kind(), std::string("CHandTool"));
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, from);
    f.Send(WM_MOUSEMOVE, MK_LBUTTON, CPoint(from.x - 30, from.y - 25));
    f.Send(WM_LBUTTONUP, 0, CPoint(from.x - 30, from.y - 25));
    WCHECK(f.grid.GetGridOrg() == CPoint(org.x - 30, org.y - 25));
}

WTEST(rows_are_selected_with_ctrl_and_shift)
{
    ToolFixture f;
    f.grid.SendMessage(WM_COMMAND, ID_GRID_TOOL_ROWS, 0);
    WCHECK_EQ(f.grid.GetTool(), UINT(ID_GRID_TOOL_ROWS));
    f.Click(f.Cell(0, 3));
    WCHECK(f.SelectedRows() == std::vector<int>({3}));
    WCHECK_EQ(f.grid.GetFocusedRow(), 3);
    f.Click(f.Cell(0, 6), MK_SHIFT);
    WCHECK(f.SelectedRows() == std::vector<int>({3, 4, 5, 6}));
    f.Click(f.Cell(0, 8), MK_CONTROL);
    WCHECK(f.SelectedRows() == std::vector<int>({3, 4, 5, 6, 8}));
    f.Click(f.Cell(0, 4), MK_CONTROL);
    WCHECK(f.SelectedRows() == std::vector<int>({3, 5, 6, 8}));
    f.Click(f.Cell(0, 2));
    WCHECK(f.SelectedRows() == std::vector<int>({2}));
    // Down moves the selection; Shift+Down extends it from the anchor.
    f.grid.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    WCHECK(f.SelectedRows() == std::vector<int>({3}));

    // Without extension every click leaves exactly one row.
    f.grid.SendMessage(WM_COMMAND, ID_GRID_TOOL_ONE_ROW, 0);
    f.Click(f.Cell(0, 5), MK_CONTROL);
    WCHECK(f.SelectedRows() == std::vector<int>({5}));
    f.Click(f.Cell(0, 7), MK_SHIFT);
    WCHECK(f.SelectedRows() == std::vector<int>({7}));
}

WTEST(cells_and_ranges_are_selected_by_press_drag_and_ctrl)
{
    ToolFixture f;
    f.grid.SendMessage(WM_COMMAND, ID_GRID_TOOL_SELECT, 0);
    f.Send(WM_MOUSEMOVE, 0, f.Cell(1, 2));
    WCHECK_EQ(f.Kind(), std::string("CSelectTool"));
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Cell(1, 2));
    f.Send(WM_MOUSEMOVE, MK_LBUTTON, f.Cell(2, 4));
    f.Send(WM_LBUTTONUP, 0, f.Cell(2, 4));
    CELL_RANGE box;
    WCHECK(f.grid.GetSelectionBoundingRange(box));
    WCHECK(box == CELL_RANGE(1, 2, 3, 5));
    WCHECK(f.grid.GetFocusedRange() == CELL_RANGE(2, 4, 3, 5));
    // Ctrl+click on a selected cell takes it out.
    f.Click(f.Cell(2, 3), MK_CONTROL);
    WCHECK(!f.grid.IsCellSelected(CELL_COORD(2, 3)));
    WCHECK(f.grid.IsCellSelected(CELL_COORD(1, 3)));
    WCHECK(f.grid.IsCellSelected(CELL_COORD(2, 4)));
    // A plain click selects one cell; Ctrl+Right stretches from the anchor.
    f.Click(f.Cell(0, 6));
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    f.grid.SendMessage(WM_KEYDOWN, VK_RIGHT, 0);
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    WCHECK(f.grid.GetSelectionBoundingRange(box));
    WCHECK(box == CELL_RANGE(0, 6, 2, 7));

    // A header click selects the whole column and marks it.
    f.Click(f.HeaderCell(3));
    WCHECK(f.grid.IsCellSelected(CELL_COORD(3, 10)));
    WCHECK(!f.grid.IsCellSelected(CELL_COORD(2, 10)));
    WCHECK(f.grid.GetColumnState(3) & COLUMN_STATE_SELECTED);
    WCHECK(!(f.grid.GetColumnState(2) & COLUMN_STATE_SELECTED));

    // A double click selects the row and is still reported to the owner.
    g_toolCodes.clear();
    f.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, f.Cell(1, 9));
    WCHECK(f.grid.GetSelectionBoundingRange(box));
    WCHECK(box == CELL_RANGE(0, 9, 5, 10));
    WCHECK(std::find(g_toolCodes.begin(), g_toolCodes.end(), NM_DBLCLK) != g_toolCodes.end());
    WCHECK_EQ(g_toolCodes.back(), int(GN_ACTIVATE));
}

WTEST(sort_by_a_column_and_back_to_the_natural_order)
{
    ToolFixture f;
    auto column0 = [&] { return gt::ColumnTexts(*f.chain.data, 0); };
    WCHECK(f.grid.InOriginalOrder() || f.grid.GetSortedColumn() == 1);
    WCHECK(f.grid.RestoreOriginalOrder());
    const std::vector<std::string> natural = column0();
    g_toolCodes.clear();
    CSortTool sort(&f.grid, 0);
    sort.OnLButtonDown(0, CPoint(0, 0));
    WCHECK_EQ(f.grid.GetSortedColumn(), 0);
    WCHECK(f.grid.GetSortOrder());
    WCHECK(std::find(g_toolCodes.begin(), g_toolCodes.end(), int(GN_SORTED)) != g_toolCodes.end());
    std::vector<std::string> sorted = natural;
    std::sort(sorted.begin(), sorted.end());
    WCHECK(column0() == sorted);
    WCHECK(f.grid.Sort(0, false));
    WCHECK(column0() == std::vector<std::string>(sorted.rbegin(), sorted.rend()));
    WCHECK(f.grid.RestoreOriginalOrder());
    WCHECK(f.grid.InOriginalOrder());
    WCHECK(column0() == natural);
}

WTEST(selected_cells_copy_to_the_clipboard_as_tab_separated_text)
{
    ToolFixture f;
    WCHECK(f.grid.RestoreOriginalOrder());
    f.grid.SendMessage(WM_COMMAND, ID_GRID_TOOL_SELECT, 0);
    f.Send(WM_MOUSEMOVE, 0, f.Cell(1, 2));
    f.Send(WM_LBUTTONDOWN, MK_LBUTTON, f.Cell(1, 2));
    f.Send(WM_MOUSEMOVE, MK_LBUTTON, f.Cell(2, 4));
    f.Send(WM_LBUTTONUP, 0, f.Cell(2, 4));

    // What a copy command does: the selected cells as text, to the clipboard.
    TTextDevice text(f.grid.GetView()->GetSize(), f.grid.GetSelection());
    f.grid.GetView()->Draw(text, CELL_INFO(f.grid.GetOverallRange()));
    std::ostringstream out;
    text.Serialize(out);
    const std::string copied = out.str();
    WCHECK(::OpenClipboard(f.grid.m_hWnd));
    ::EmptyClipboard();
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, copied.size() + 1);
    std::memcpy(::GlobalLock(memory), copied.c_str(), copied.size() + 1);
    ::GlobalUnlock(memory);
    WCHECK(::SetClipboardData(CF_TEXT, memory) != nullptr);
    ::CloseClipboard();

    WCHECK(::OpenClipboard(nullptr));
    HANDLE pasted = ::GetClipboardData(CF_TEXT);
    WCHECK(pasted != nullptr);
    const std::string back = pasted ? static_cast<const char*>(::GlobalLock(pasted)) : "";
    if (pasted) ::GlobalUnlock(pasted);
    ::CloseClipboard();
    // Rows 2 to 4 of the grid are data rows 1 to 3: a tab between cells, a
    // line end between rows, none after the last.
    WCHECK_EQ(back, std::string("b1\tc1\nb2\tc2\nb3\tc3"));
}

WTEST(tool_follows_the_enabled_kinds_and_leaves_with_the_mouse)
{
    ToolFixture f;
    const int y = f.HeaderCell(0).y;
    const CPoint edge(f.grid.GetGridOrg().x + 100 - 1, y);
    // Just outside the edge's reach, over what lies below the edge.
    f.Send(WM_MOUSEMOVE, 0, CPoint(edge.x - 4, y));
    const std::string below = f.Kind();
    WCHECK(below != "CResizeTool" && below != "CDefGridTool");
    // (resize enabled, tool over the column's edge)
    const struct {
        bool resize;
        std::string kind;
    } cases[] = {{true, "CResizeTool"}, {false, below}, {true, "CResizeTool"}};
    for (const auto& c : cases) {
        f.grid.EnableTool(GRID_TOOL_RESIZE, c.resize);
        f.Send(WM_MOUSEMOVE, 0, edge);
        WCHECK_EQ(f.Kind(), c.kind);
    }
    // Leaving the window leaves a plain tool.
    f.grid.SendMessage(WM_MOUSELEAVE);
    WCHECK_EQ(f.Kind(), std::string("CDefGridTool"));
}

WTEST(owner_that_takes_a_double_click_stops_its_activation)
{
    ToolFixture f;
    f.grid.SendMessage(WM_COMMAND, ID_GRID_TOOL_SELECT, 0);
    // (owner's reply to NM_DBLCLK, codes the owner hears after it)
    for (LRESULT reply : {LRESULT(1), LRESULT(0)}) {
        g_doubleClickReply = reply;
        f.Send(WM_MOUSEMOVE, 0, f.Cell(1, 4));
        g_toolCodes.clear();
        f.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, f.Cell(1, 4));
        const auto at = std::find(g_toolCodes.begin(), g_toolCodes.end(), int(NM_DBLCLK));
        WCHECK(at != g_toolCodes.end());
        const std::vector<int> after(at == g_toolCodes.end() ? at : at + 1, g_toolCodes.end());
        WCHECK(after == (reply ? std::vector<int>() : std::vector<int>({GN_ACTIVATE})));
    }
    g_doubleClickReply = 0;
}

WTEST(double_clicks_select_rows_and_columns_and_ctrl_takes_a_full_one_out)
{
    ToolFixture f;
    f.grid.SendMessage(WM_COMMAND, ID_GRID_TOOL_SELECT, 0);
    const int rows = f.grid.GetRowCount();
    auto selectedInColumn = [&](int column) {
        int n = 0;
        for (int r = 1; r < rows; ++r) n += f.grid.IsCellSelected(CELL_COORD(column, r)) ? 1 : 0;
        return n;
    };
    auto selectedInRow = [&](int row) {
        int n = 0;
        for (int c = 0; c < 5; ++c) n += f.grid.IsCellSelected(CELL_COORD(c, row)) ? 1 : 0;
        return n;
    };
    // (flags, cell double clicked, selected cells then in its column and in its row)
    const struct {
        UINT flags;
        int column, row;
        int inColumn, inRow;
    } cases[] = {
        {0, 1, 3, 1, 5},                                 // the row
        {MK_SHIFT, 2, 7, rows - 1, 1},                   // the column, alone
        {MK_SHIFT | MK_CONTROL, 2, 9, 0, 0},             // a full column goes out
        {MK_SHIFT | MK_CONTROL, 2, 9, rows - 1, 1},      // and comes back
        {MK_CONTROL, 4, 5, 1, 5},                        // a row added to the column
        {MK_CONTROL, 4, 5, 0, 0},                        // out again, the column's cell with it
    };
    for (const auto& c : cases) {
        // As the mouse sends it: press, release, double click, release.
        const CPoint p = f.Cell(c.column, c.row);
        f.Send(WM_MOUSEMOVE, c.flags, p);
        f.Send(WM_LBUTTONDOWN, c.flags | MK_LBUTTON, p);
        f.Send(WM_LBUTTONUP, c.flags, p);
        f.Send(WM_LBUTTONDBLCLK, c.flags | MK_LBUTTON, p);
        f.Send(WM_LBUTTONUP, c.flags, p);
        WCHECK_EQ(selectedInColumn(c.column), c.inColumn);
        WCHECK_EQ(selectedInRow(c.row), c.inRow);
    }
    // The rest of the column stayed through the row's coming and going.
    WCHECK_EQ(selectedInColumn(2), rows - 2);
    WCHECK(!f.grid.IsCellSelected(CELL_COORD(2, 5)));
}

WTEST(tool_factory_by_edge_element_cell_and_tool_id)
{
    ToolFixture f;
    // Column 1 is hidden as empty: its edge belongs to column 0.
    f.grid.GetColumnVar(1).savedWidth = 100;
    // (column edge, element's tool kind, sort enabled, tool id, the tool made:
    // its kind and column, "" for none because it equals the current tool)
    const struct {
        int edge, kind;
        bool sort;
        UINT id;
        bool cell;
        const char* made;
        int column;
    } cases[] = {
        {2, -1, true, ID_GRID_TOOL_HAND, true, "CResizeTool", 2},
        {1, -1, true, ID_GRID_TOOL_HAND, true, "CResizeTool", 0},   // past the hidden column
        {9, -1, true, ID_GRID_TOOL_SELECT, true, "CSelectTool", -1},  // beyond the active columns
        {GRID_UNSET, GRID_TOOL_SORT, true, ID_GRID_TOOL_HAND, true, "CSortTool", 3},
        {GRID_UNSET, GRID_TOOL_SORT, false, ID_GRID_TOOL_SELECT, true, "CSelectTool", -1},
        {GRID_UNSET, GRID_TOOL_UNUSED, true, ID_GRID_TOOL_ONE_ROW, true, "CRowSelectTool", -1},
        {GRID_UNSET, -1, true, ID_GRID_TOOL_ROWS, false, "CDefGridTool", -1},   // no cell
        {GRID_UNSET, -1, true, 40250, true, "CDefGridTool", -1},
        {GRID_UNSET, -1, true, ID_GRID_TOOL_HAND, true, "", -1},    // the current tool again
    };
    for (const auto& c : cases) {
        HITTEST_RESULT hit;
        hit.columnEdge = c.edge;
        hit.toolKind = c.kind;
        hit.elementCell = CELL_RANGE(3, 0, 4, 1);
        if (c.cell) hit.cell = CELL_RANGE(3, 5, 4, 6);
        GRID_TOOL_SET enabled;
        enabled.set();
        enabled.set(GRID_TOOL_SORT, c.sort);
        CHandTool current(&f.grid);
        std::unique_ptr<CDefGridTool> made = f.grid.ChooseTool(hit, enabled, c.id, &current);
        WCHECK_EQ(made ? made->GetKindName() : std::string(), std::string(c.made));
        if (auto* column = dynamic_cast<CColumnTool*>(made.get())) WCHECK_EQ(column->GetColumn(), c.column);
    }
    // A kind beyond the eight is refused, and the current tool stays.
    HITTEST_RESULT odd;
    odd.toolKind = 8;
    GRID_TOOL_SET all;
    all.set();
    WCHECK_THROWS(f.grid.ChooseTool(odd, all, ID_GRID_TOOL_HAND, f.grid.GetCurrentTool()), const std::out_of_range&);
}
