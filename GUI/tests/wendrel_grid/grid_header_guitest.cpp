// Header cells that sort by a click, and tool tips of texts cut by their
// cells, driven by synthetic mouse messages: the owner hears the sort, the
// header shows its arrow, and the thread's tool tip carries the cut text.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "afxcmn.h"
#include "afxwin.h"
#include "grid/grid_border.h"
#include "grid/grid_filter.h"
#include "grid/grid_title.h"
#include "grid/grid_vector.h"
#include "grid_test_util.h"
#include "gridwnd/grid_ctrl.h"
#include "gridwnd/grid_tool.h"
#include "wtest.h"

namespace {

std::vector<int> g_headerCodes;

LRESULT CALLBACK HeaderOwnerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_NOTIFY)
        g_headerCodes.push_back(int(reinterpret_cast<const NMHDR*>(l)->code));
    return ::DefWindowProcA(h, m, w, l);
}

// Column labels as the console's header cells give them: flat push buttons
// that sort their column when pressed.
class SortHeaderView : public CTitleGridView {
public:
    explicit SortHeaderView(int columns) : m_columns(columns)
    {
        for (int c = 0; c < columns; ++c)
            SetColumnLabel(c, "", COLUMN_TYPE_TEXT);
    }
    void Draw(GRID_DEVICE& device, const CELL_INFO& info) override
    {
        const CELL_RANGE& r = info.range;
        if (r.IsEmpty() || r.top > 0 || r.bottom <= 0 || !device.BeginRow(0))
            return;
        for (int c = std::max(r.left, 0); c < std::min(r.right, m_columns); ++c) {
            CELL_CONTENT content;
            content.middle.buttonKind = DFC_BUTTON;
            content.middle.buttonState = DFCS_BUTTONPUSH | DFCS_FLAT;
            content.middle.toolKind = GRID_TOOL_SORT;
            device.RenderRange(CELL_RANGE(c, 0, c + 1, 1), content);
        }
        device.EndRow(0);
    }

private:
    int m_columns;
};

// A grid whose header cells sort, over rows of (name, number) behind the
// filter decorator, as in the console.
struct HeaderFixture {
    HWND owner;
    CDefGridCtrl grid;
    CVectorGridView* data;

    HeaderFixture()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HeaderOwnerProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "GridHeaderOwnerTest";
        ::RegisterClassA(&wc);
        owner = ::CreateWindowExA(0, "GridHeaderOwnerTest", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                  nullptr, ::GetModuleHandleA(nullptr), nullptr);
        data = gt::MakeTable({{"delta", "3"},
                              {"alpha", "1"},
                              {"charlie", "4"},
                              {"bravo", "2"},
                              {"an address far too long for its narrow column", "5"},
                              {"echo echo echo echo echo echo echo", "6"}});
        data->SetColumnCount(2);
        auto* header = new SortHeaderView(2);
        auto* border = new CBorderDecorator(data);
        border->SetBorderView(GRID_ELEMENT_HEADER, header);
        grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), CWnd::FromHandle(owner), 81);
        // Header cells sort here rather than select their column or filter.
        grid.EnableTool(GRID_TOOL_SELECT, false);
        grid.EnableTool(GRID_TOOL_FILTER, false);
        grid.SetView(new CFilterDecorator(border));
        Sync();
        grid.SetColumnWidth(0, 90);
        grid.SetColumnWidth(1, 60);
        g_headerCodes.clear();
    }
    ~HeaderFixture()
    {
        grid.DestroyWindow();
        ::DestroyWindow(owner);
    }
    void Sync()
    {
        MSG msg;
        while (::PeekMessageA(&msg, grid.m_hWnd, WM_GRID_SYNC, WM_GRID_SYNC, PM_REMOVE))
            ::DispatchMessageA(&msg);
    }
    void Send(UINT message, UINT flags, CPoint p) { grid.SendMessage(message, flags, MAKELPARAM(p.x, p.y)); }
    CPoint HeaderCell(int column)
    {
        const COLUMN_INFO& c = grid.GetColumns()[size_t(column)];
        return CPoint(grid.GetGridOrg().x + c.position + c.width / 2, 1 + grid.GetRows()[0].height / 2);
    }
    CPoint Cell(int column, int row)
    {
        const ROW_INFO& r = grid.GetRows()[size_t(row)];
        const COLUMN_INFO& c = grid.GetColumns()[size_t(column)];
        return CPoint(grid.GetGridOrg().x + c.position + 4, grid.GetGridOrg().y + r.position + r.height / 2);
    }
    void Click(CPoint p)
    {
        Send(WM_MOUSEMOVE, 0, p);
        Send(WM_LBUTTONDOWN, MK_LBUTTON, p);
        Send(WM_LBUTTONUP, 0, p);
        Sync();
    }
    std::string Names() { return gt::Join(gt::ColumnTexts(*data, 0)); }
    // The sort arrow the header cell of a column is drawn with (-1 none).
    int ArrowOf(int column)
    {
        CELL_CONTENT content;
        grid.BeforeRenderRange(CELL_RANGE(column, 0, column + 1, 1), content);
        return content.left.image;
    }
};

}  // namespace

WTEST(header_click_sorts_by_its_column_and_the_owner_hears_it)
{
    HeaderFixture f;
    const std::string natural = f.Names();
    f.grid.SelectCell(CELL_COORD(1, 2), true);
    f.Send(WM_MOUSEMOVE, 0, f.HeaderCell(0));
    WCHECK_EQ(f.grid.GetCurrentTool()->GetKindName(), std::string("CSortTool"));

    const struct {
        int column;
        const char* names;
    } clicks[] = {
        {0,
         "alpha|an address far too long for its narrow column|bravo|charlie|delta|echo echo echo echo echo echo echo"},
        {1,
         "alpha|bravo|delta|charlie|an address far too long for its narrow column|echo echo echo echo echo echo echo"},
    };
    for (const auto& c : clicks) {
        g_headerCodes.clear();
        f.Click(f.HeaderCell(c.column));
        WCHECK_EQ(f.Names(), std::string(c.names));
        WCHECK_EQ(f.grid.GetSortedColumn(), c.column);
        WCHECK(f.grid.GetSortOrder());
        WCHECK(f.grid.IsSelectionEmpty());
        WCHECK(std::count(g_headerCodes.begin(), g_headerCodes.end(), int(GN_SORTED)) == 1);
        WCHECK_EQ(f.ArrowOf(c.column), 11);
        WCHECK_EQ(f.ArrowOf(1 - c.column), -1);
    }
    // Descending shows the other arrow; the natural order shows none.
    WCHECK(f.grid.Sort(1, false));
    WCHECK_EQ(f.Names(), std::string("echo echo echo echo echo echo echo|an address far too long for its narrow "
                                     "column|charlie|delta|bravo|alpha"));
    WCHECK_EQ(f.ArrowOf(1), 12);
    WCHECK(f.grid.RestoreOriginalOrder());
    WCHECK_EQ(f.Names(), natural);
    WCHECK_EQ(f.ArrowOf(0), -1);
    WCHECK_EQ(f.ArrowOf(1), -1);
}

WTEST(tool_tips_carry_texts_cut_by_their_cells)
{
    HeaderFixture f;
    // (column, row, tip): a cut text gives its own tool; a fitting one none.
    const struct {
        int column, row;
        const char* tip;
    } cases[] = {
        {0, 5, "an address far too long for its narrow column"},
        {0, 6, "echo echo echo echo echo echo echo"},
        {0, 1, nullptr},
        {1, 5, nullptr},
    };
    for (const auto& c : cases) {
        TOOLINFOA info{};
        info.cbSize = sizeof info;
        const CPoint p = f.Cell(c.column, c.row);
        const INT_PTR id = f.grid.OnToolHitTest(p, &info);
        if (!c.tip) {
            WCHECK_EQ(id, INT_PTR(-1));
            continue;
        }
        WCHECK_EQ(id, INT_PTR(c.column | (c.row << 16)));
        WCHECK(info.hwnd == f.grid.m_hWnd);
        WCHECK(info.lpszText != nullptr && std::string(info.lpszText) == c.tip);
        WCHECK(::PtInRect(&info.rect, p));
        WCHECK(info.rect.right <= f.grid.GetGridOrg().x + 90);
        std::free(info.lpszText);
    }

    // Through the window's own message filter, as the message loop runs it:
    // the thread's tool tip gets the cut text as a tool of the grid.
    CPoint p = f.Cell(0, 5);
    f.grid.ClientToScreen(&p);
    MSG move{f.grid.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(f.Cell(0, 5).x, f.Cell(0, 5).y), 0, {p.x, p.y}};
    f.grid.PreTranslateMessage(&move);
    CToolTipCtrl* tip = AfxGetThreadToolTip();
    WCHECK(tip != nullptr && tip->m_hWnd != nullptr);
    if (!tip || !tip->m_hWnd)
        return;
    WCHECK_EQ(int(tip->SendMessage(TTM_GETTOOLCOUNT)), 1);
    char text[128] = "";
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = f.grid.m_hWnd;
    tool.uId = UINT_PTR(0 | (5 << 16));
    tool.lpszText = text;
    tip->SendMessage(TTM_GETTEXTA, sizeof text, LPARAM(&tool));
    WCHECK_EQ(std::string(text), std::string("an address far too long for its narrow column"));
    // Another cut text is another tool with its own text.
    CPoint e = f.Cell(0, 6);
    f.grid.ClientToScreen(&e);
    MSG next{f.grid.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(f.Cell(0, 6).x, f.Cell(0, 6).y), 0, {e.x, e.y}};
    f.grid.PreTranslateMessage(&next);
    WCHECK_EQ(int(tip->SendMessage(TTM_GETTOOLCOUNT)), 1);
    tool.uId = UINT_PTR(0 | (6 << 16));
    text[0] = 0;
    tip->SendMessage(TTM_GETTEXTA, sizeof text, LPARAM(&tool));
    WCHECK_EQ(std::string(text), std::string("echo echo echo echo echo echo echo"));
    // Moving onto a text that fits takes the tool away.
    CPoint q = f.Cell(0, 1);
    f.grid.ClientToScreen(&q);
    MSG away{f.grid.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(f.Cell(0, 1).x, f.Cell(0, 1).y), 0, {q.x, q.y}};
    f.grid.PreTranslateMessage(&away);
    WCHECK_EQ(int(tip->SendMessage(TTM_GETTOOLCOUNT)), 0);
}
