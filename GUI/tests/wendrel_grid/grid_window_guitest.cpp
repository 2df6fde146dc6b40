// The grid window on real windows: layout of a header and a scrolled body,
// the scroll bars, scrolling by keys, wheel and thumb, and the notifications
// its owner receives.
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <comdef.h>

#include "afxwin.h"
#include "grid_test_util.h"
#include "gridwnd/grid_ctrl.h"
#include "wtest.h"

namespace {

// Notification codes the owner window received, in order, and the owner's
// reply to a right press.
std::vector<int> g_codes;
LRESULT g_rightPressReply = 0;
// The window that got the last notification, with its record and wParam.
HWND g_notified = nullptr;
tagNM_DEFGRID g_record{};
WPARAM g_notifyWParam = 0;

LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_NOTIFY) {
        const auto* record = reinterpret_cast<const tagNM_DEFGRID*>(l);
        g_codes.push_back(int(record->hdr.code));
        g_notified = h;
        g_record = *record;
        g_notifyWParam = w;
        return record->hdr.code == UINT(NM_RDOWN) ? g_rightPressReply : 0;
    }
    return ::DefWindowProcA(h, m, w, l);
}

HWND MakeOwner()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "GridOwnerTest";
        ::RegisterClassA(&wc);
        registered = true;
    }
    return ::CreateWindowExA(0, "GridOwnerTest", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

// What a failing view throws: nothing, a standard exception, a COM error
// (as a variant conversion raises it), a framework exception.
enum class Failure { none, standard, com, framework };

// Draws through the view it wraps, or throws when told to.
class CThrowingView : public CDefGridDecoratorImpl {
public:
    explicit CThrowingView(CDefGridView* inner) : CDefGridDecoratorImpl(inner) {}
    Failure fail = Failure::none;
    int draws = 0;
    void Draw(GRID_DEVICE& device, const CELL_INFO& info) override
    {
        switch (fail) {
        case Failure::none: break;
        case Failure::standard: throw std::runtime_error("view failed");
        case Failure::com: throw _com_error(DISP_E_TYPEMISMATCH);
        case Failure::framework: AfxThrowMemoryException();
        }
        ++draws;
        m_view->Draw(device, info);
    }
};

// A grid of 5 columns under one header row, rows "r<i>c<j>"; the column
// emptyColumn, when given, has no text below its header.
struct GridFixture {
    HWND owner = MakeOwner();
    CDefGridCtrl grid;
    gt::Chain chain;
    CThrowingView* view = nullptr;

    explicit GridFixture(int rows, int emptyColumn = -1)
    {
        std::vector<std::vector<std::string>> data;
        for (int r = 0; r < rows; ++r) {
            std::vector<std::string> row;
            for (int c = 0; c < 5; ++c)
                row.push_back(c == emptyColumn ? std::string() : "r" + std::to_string(r) + "c" + std::to_string(c));
            data.push_back(row);
        }
        chain = gt::MakeChain({{"A", COLUMN_TYPE_TEXT}, {"B", COLUMN_TYPE_TEXT}, {"C", COLUMN_TYPE_TEXT},
                               {"D", COLUMN_TYPE_TEXT}, {"E", COLUMN_TYPE_TEXT}},
                              data);
        grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 200), CWnd::FromHandle(owner), 77);
        view = new CThrowingView(chain.owner.release());
        grid.SetView(view);
        g_codes.clear();
    }
    ~GridFixture()
    {
        grid.DestroyWindow();
        ::DestroyWindow(owner);
    }
    int Key(UINT key)
    {
        g_codes.clear();
        grid.SendMessage(WM_KEYDOWN, key, 0);
        return grid.GetGridOrg().y;
    }
    SCROLLINFO Bar(int bar)
    {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_ALL;
        ::GetScrollInfo(grid.m_hWnd, bar, &si);
        return si;
    }
};

void SetCtrl(bool down)
{
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    ::SetKeyboardState(keys);
}

}  // namespace

WTEST(grid_lays_out_header_and_body_and_shows_the_bars_it_needs)
{
    GridFixture f(100);
    WCHECK(f.grid.m_hWnd != nullptr);
    WCHECK_EQ(f.grid.GetRowCount(), 101);
    WCHECK_EQ(f.grid.GetColumnCount(), 5);
    const int header = f.grid.GetRows()[0].height + 1;
    WCHECK(header > 1);
    WCHECK(f.grid.GetViewOrg() == CPoint(1, header));
    WCHECK(f.grid.GetGridOrg() == CPoint(1, header));
    WCHECK_EQ(f.grid.GetGridSize().cx, 500);
    int body = 0;
    for (int r = 1; r < 101; ++r) body += f.grid.GetRows()[size_t(r)].height;
    WCHECK_EQ(f.grid.GetGridSize().cy, body);
    // Both bars: 500 pixels of columns and 100 rows do not fit.
    CRect client;
    f.grid.GetClientRect(&client);
    WCHECK_EQ(f.grid.GetViewSize().cx, client.Width() - 1);
    WCHECK_EQ(f.grid.GetViewSize().cy, client.Height() - header);
    const SCROLLINFO v = f.Bar(SB_VERT);
    WCHECK_EQ(v.nMax, body);
    WCHECK_EQ(int(v.nPage), f.grid.GetViewSize().cy);
    WCHECK_EQ(v.nPos, 0);
    const SCROLLINFO h = f.Bar(SB_HORZ);
    WCHECK_EQ(h.nMax, 500);
    WCHECK_EQ(int(h.nPage), f.grid.GetViewSize().cx);
    // The first visible rows start under the header.
    WCHECK_EQ(f.grid.GetVisibleRange().top, 1);
}

WTEST(grid_without_overflow_hides_its_bars_and_stays_at_the_header)
{
    GridFixture f(2);
    f.grid.SetColumnWidth(0, 20);
    for (int c = 0; c < 5; ++c) f.grid.SetColumnWidth(c, 20);
    f.grid.SendMessage(WM_GRID_SYNC);
    WCHECK(!(::GetWindowLongA(f.grid.m_hWnd, GWL_STYLE) & WS_VSCROLL));
    WCHECK(!(::GetWindowLongA(f.grid.m_hWnd, GWL_STYLE) & WS_HSCROLL));
    const CPoint top = f.grid.GetGridOrg();
    f.Key(VK_NEXT);
    f.Key(VK_RIGHT);
    WCHECK(f.grid.GetGridOrg() == top);
    WCHECK(f.grid.GetGridOrg() == f.grid.GetViewOrg());
}

WTEST(grid_scrolls_by_keys_wheel_and_thumb_and_tells_its_owner)
{
    GridFixture f(100);
    const int header = f.grid.GetViewOrg().y;
    const int page = f.grid.GetViewSize().cy;
    const int extent = f.grid.GetGridSize().cy;
    struct Step {
        UINT key;
        bool ctrl;
        int expected;
    } steps[] = {
        {VK_DOWN, false, header - 10},
        {VK_DOWN, false, header - 20},
        {VK_UP, false, header - 10},
        {VK_NEXT, false, header - 10 - page},
        {VK_PRIOR, false, header - 10},
        {VK_UP, false, header},
        {VK_UP, false, header},            // clamped at the top
        {VK_END, true, header + page - extent},
        {VK_DOWN, false, header + page - extent},  // clamped at the bottom
        {VK_HOME, true, header},
    };
    for (const Step& s : steps) {
        SetCtrl(s.ctrl);
        WCHECK_EQ(f.Key(s.key), s.expected);
        WCHECK(g_codes == std::vector<int>({GN_SCROLLED}));
        WCHECK_EQ(f.Bar(SB_VERT).nPos, header - s.expected);
    }
    SetCtrl(false);

    // Columns: a line, then the far right, then back.
    f.Key(VK_RIGHT);
    WCHECK_EQ(f.grid.GetGridOrg().x, 1 - 10);
    f.Key(VK_END);
    WCHECK_EQ(f.grid.GetGridOrg().x, 1 - (500 - f.grid.GetViewSize().cx));
    f.Key(VK_HOME);
    WCHECK_EQ(f.grid.GetGridOrg().x, 1);

    // One wheel notch down is 40 pixels.
    g_codes.clear();
    f.grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(short(-120))), MAKELPARAM(10, 10));
    WCHECK_EQ(f.grid.GetGridOrg().y, header - 40);
    WCHECK(!g_codes.empty() && g_codes.front() == GN_SCROLLED);

    // The thumb: the bar's position becomes the scroll position.
    ::SetScrollPos(f.grid.m_hWnd, SB_VERT, 137, FALSE);
    f.grid.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 137), 0);
    WCHECK_EQ(f.grid.GetGridOrg().y, header - 137);
    WCHECK_EQ(f.Bar(SB_VERT).nPos, 137);
}

WTEST(grid_reports_space_and_notifies_nobody_without_a_window)
{
    GridFixture f(3);
    f.grid.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    WCHECK(g_codes == std::vector<int>({GN_ACTIVATE}));
    CDefGridCtrl unmade;
    WCHECK_EQ(unmade.NotifyOwner(GN_SCROLLED), LRESULT(0));
    WCHECK_THROWS(f.grid.SetOption(40332, true), const std::out_of_range&);
    WCHECK_THROWS(f.grid.EnableTool(8, true), const std::out_of_range&);
}

WTEST(grid_coalesces_view_changes_into_one_update)
{
    GridFixture f(3);
    for (int i = 0; i < 10; ++i) f.grid.OnChange(nullptr);
    int queued = 0;
    MSG msg;
    while (::PeekMessageA(&msg, f.grid.m_hWnd, WM_GRID_SYNC, WM_GRID_SYNC, PM_REMOVE)) ++queued;
    WCHECK_EQ(queued, 1);
}

namespace {

// Copies what the window shows into a DIB.
void Capture(CWnd& wnd, gt::Dib& dib, int width, int height)
{
    wnd.UpdateWindow();
    HDC dc = ::GetDC(wnd.m_hWnd);
    ::BitBlt(dib.dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ::ReleaseDC(wnd.m_hWnd, dc);
}

}  // namespace

WTEST(grid_paints_selection_and_header_strip_through_its_bitmap)
{
    GridFixture f(20);
    for (int c = 0; c < 5; ++c) f.grid.SetColumnWidth(c, 40);
    f.grid.SendMessage(WM_GRID_SYNC);
    g_codes.clear();
    f.grid.SelectRange(CELL_RANGE(1, 1, 2, 2));
    WCHECK(g_codes == std::vector<int>({GN_SELECTION}));
    WCHECK(f.grid.IsCellSelected(CELL_COORD(1, 1)));
    WCHECK(!f.grid.IsCellSelected(CELL_COORD(2, 1)));
    CRect client;
    f.grid.GetClientRect(&client);
    gt::Dib dib(client.Width(), client.Height(), RGB(1, 2, 3));
    Capture(f.grid, dib, client.Width(), client.Height());
    const CELL_STYLE_VECTOR& styles = *f.grid.GetStyles();
    const CPoint org = f.grid.GetGridOrg();
    const int header = f.grid.GetViewOrg().y;
    // The selected cell, above its text, in the inactive selection colour
    // (the grid has no focus); the next cell in a body colour.
    const COLORREF selected = styles[STYLE_NORMAL].inactiveSelection.bkColor;
    const RECT inSelected{org.x + 40 + 25, org.y + 1, org.x + 40 + 38, org.y + 2};
    WCHECK_EQ(dib.CountOther(inSelected, selected), 0);
    const COLORREF next = dib.At(org.x + 80 + 30, org.y + 1);
    WCHECK(next == styles[STYLE_NORMAL].bkColor || next == styles[STYLE_NORMAL].shadeColor);
    WCHECK(next != selected);
    // Right of the last column the header band takes the header style's
    // background, inside its frame; below the rows the grid's background.
    const RECT strip{org.x + 200 + 2, 2, client.right - 2, header - 3};
    WCHECK_EQ(dib.CountOther(strip, styles[STYLE_HEADER].bkColor), 0);
    const RECT below{org.x + 200 + 2, client.bottom - 3, client.right - 2, client.bottom - 1};
    if (f.grid.GetGridSize().cy + header < client.Height() - 3)
        WCHECK_EQ(dib.CountOther(below, styles[STYLE_NORMAL].bkColor), 0);
}

WTEST(grid_survives_a_failing_view_while_painting)
{
    // (what the view throws, the message it throws under): the firewall
    // stops each once, and the grid goes on working.
    const struct {
        Failure fail;
        UINT message;
    } cases[] = {
        {Failure::standard, WM_PAINT},  {Failure::com, WM_PAINT},       {Failure::framework, WM_PAINT},
        {Failure::com, WM_MOUSEMOVE},   {Failure::standard, WM_LBUTTONDOWN},
    };
    for (const auto& c : cases) {
        GridFixture f(50);
        const unsigned caught = AfxGetFirewallCount();
        f.view->fail = c.fail;
        if (c.message == WM_PAINT) {
            f.grid.Invalidate(FALSE);
            f.grid.UpdateWindow();
        } else {
            f.grid.SendMessage(c.message, c.message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(40, 40));
            f.grid.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(40, 40));
        }
        WCHECK(AfxGetFirewallCount() > caught);
        // No paint is left pending, and the grid goes on working.
        f.view->fail = Failure::none;
        f.grid.UpdateWindow();
        WCHECK(!::GetUpdateRect(f.grid.m_hWnd, nullptr, FALSE));
        const unsigned after = AfxGetFirewallCount();
        const int header = f.grid.GetViewOrg().y;
        WCHECK_EQ(f.Key(VK_DOWN), header - 10);
        const int before = f.view->draws;
        f.grid.Invalidate(FALSE);
        f.grid.UpdateWindow();
        WCHECK(f.view->draws > before);
        WCHECK_EQ(AfxGetFirewallCount(), after);
    }
}

namespace {

// Records the check state an update handler gives an item.
struct CheckProbe : CCmdUI {
    int check = -1;
    void SetCheck(int state) override { check = state; }
};

int CheckOf(CDefGridCtrl& grid, UINT id)
{
    CheckProbe probe;
    probe.m_nID = id;
    probe.DoUpdate(&grid, FALSE);
    return probe.check;
}

}  // namespace

WTEST(option_commands_toggle_their_bits_and_hide_empty_columns_while_set)
{
    GridFixture f(6, 2);
    for (int c = 0; c < 5; ++c) f.grid.SetColumnWidth(c, 30 + 10 * c);
    f.grid.SendMessage(WM_GRID_SYNC);
    auto widths = [&] {
        std::string w;
        for (int c = 0; c < 5; ++c) w += std::to_string(f.grid.GetColumnWidth(c)) + " ";
        return w;
    };
    const std::string shown = widths();
    WCHECK_EQ(shown, std::string("30 40 50 60 70 "));
    // Each command toggles its own bit; only the first hides anything.
    struct Case {
        UINT id;
        bool set;
        const char* widths;
    } cases[] = {
        {40301, true, "30 40 50 60 70 "}, {40331, true, "30 40 50 60 70 "}, {40300, true, "30 40 0 60 70 "},
        {40301, false, "30 40 0 60 70 "}, {40300, false, "30 40 50 60 70 "}, {40331, false, "30 40 50 60 70 "},
    };
    for (const Case& c : cases) {
        f.grid.SendMessage(WM_COMMAND, c.id, 0);
        f.grid.SendMessage(WM_GRID_SYNC);
        WCHECK_EQ(f.grid.IsOptionSet(c.id), c.set);
        WCHECK_EQ(CheckOf(f.grid, c.id), c.set ? 1 : 0);
        WCHECK_EQ(widths(), std::string(c.widths));
    }
    for (UINT id = 40300; id <= 40331; ++id) WCHECK(!f.grid.IsOptionSet(id));
    // The hidden column's state mark goes with it.
    WCHECK_EQ(f.grid.GetColumnState(2) & COLUMN_STATE_EMPTY, 0u);
}

WTEST(an_owner_that_takes_the_right_press_keeps_the_tool_from_it)
{
    GridFixture f(6);
    f.grid.SendMessage(WM_COMMAND, ID_GRID_TOOL_SELECT, 0);
    const CPoint org = f.grid.GetGridOrg();
    // Cell (1, 2) of the body; the columns are 100 wide and the rows under 20 high.
    const CPoint at(org.x + 150, org.y + f.grid.GetRows()[2].position + 2);
    for (LRESULT reply : {LRESULT(1), LRESULT(0)}) {
        g_rightPressReply = reply;
        g_codes.clear();
        f.grid.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(at.x, at.y));
        WCHECK(!g_codes.empty() && g_codes.front() == int(NM_RDOWN));
        WCHECK_EQ(f.grid.IsCellSelected(CELL_COORD(1, 2)), reply == 0);
        WCHECK_EQ(f.grid.IsSelectionEmpty(), reply != 0);
    }
    g_rightPressReply = 0;
}

WTEST(column_ranges_are_brought_into_view_left_edge_first)
{
    GridFixture f(3);
    const int header = f.grid.GetViewOrg().x, view = f.grid.GetViewSize().cx;
    WCHECK(view > 100 && view < 400);  // five 100-pixel columns overflow the view
    // (first, last column, which edge ends at the view's edge: 'L' left at
    // its start, 'R' right at its end, '=' the origin stays)
    const struct {
        int first, last;
        char edge;
    } cases[] = {
        {4, 5, 'R'}, {3, 4, '='}, {0, 1, 'L'}, {1, 5, 'L'}, {0, 5, 'L'}, {2, 4, 'R'}, {2, 3, '='},
    };
    for (const auto& c : cases) {
        const int before = f.grid.GetGridOrg().x;
        f.grid.EnsureColumnRangeVisible(c.first, c.last);
        const int origin = f.grid.GetGridOrg().x;
        const int start = header - origin;  // the view's first image pixel
        const int left = f.grid.GetColumns()[size_t(c.first)].position;
        const COLUMN_INFO& lastColumn = f.grid.GetColumns()[size_t(c.last - 1)];
        const int right = lastColumn.position + lastColumn.width;
        if (c.edge == 'L') WCHECK_EQ(left, start);
        if (c.edge == 'R') WCHECK_EQ(right, start + view);
        if (c.edge == '=') WCHECK_EQ(origin, before);
        // What fits is wholly in view; what does not shows its left edge.
        WCHECK(left >= start && (right <= start + view || right - left > view));
    }
}

WTEST(fit_mode_spreads_the_columns_over_every_new_width)
{
    GridFixture f(3);
    f.grid.SetFitMode(true);
    for (int width : {300, 520, 260, 700}) {
        f.grid.SetWindowPos(nullptr, 0, 0, width, 200, SWP_NOZORDER | SWP_NOMOVE);
        CRect client;
        f.grid.GetClientRect(&client);
        int sum = 0;
        for (const COLUMN_INFO& c : f.grid.GetColumns()) {
            WCHECK(c.width >= c.minWidth && c.width > 0);
            sum += c.width;
        }
        // The columns fill the client width, short of it by rounding only.
        WCHECK(sum <= client.Width() && sum >= client.Width() - 5);
        WCHECK(f.grid.GetFitMode());
    }
}

WTEST(notifications_go_to_the_owner_else_the_parent_with_only_their_fields_filled)
{
    GridFixture f(40);
    HWND other = MakeOwner();
    const auto zeros = [](const tagNM_DEFGRID& r) {
        return r.range == CELL_RANGE(0, 0, 0, 0) && r.point.x == 0 && r.point.y == 0 && r.data == 0;
    };
    // (owner set, message to the grid, code heard, the window that hears it)
    const struct {
        bool owned;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int code;
    } cases[] = {
        {false, WM_VSCROLL, SB_LINEDOWN, 0, GN_SCROLLED},
        {true, WM_VSCROLL, SB_LINEDOWN, 0, GN_SCROLLED},
        {true, WM_KEYDOWN, VK_SPACE, 0, GN_ACTIVATE},
        {false, WM_RBUTTONDOWN, 0, MAKELPARAM(37, 61), int(NM_RDOWN)},
    };
    for (const auto& c : cases) {
        f.grid.SetOwner(c.owned ? CWnd::FromHandle(other) : nullptr);
        g_notified = nullptr;
        g_record = tagNM_DEFGRID{};
        f.grid.SendMessage(c.message, c.wParam, c.lParam);
        WCHECK(g_notified == (c.owned ? other : f.owner));
        WCHECK_EQ(int(g_record.hdr.code), c.code);
        WCHECK(g_record.hdr.hwndFrom == f.grid.m_hWnd);
        WCHECK_EQ(int(g_record.hdr.idFrom), 77);
        WCHECK_EQ(int(g_notifyWParam), 77);
        if (c.code == int(NM_RDOWN))
            WCHECK(g_record.point.x == 37 && g_record.point.y == 61 && g_record.range == CELL_RANGE(0, 0, 0, 0));
        else
            WCHECK(zeros(g_record));
    }
    f.grid.SetOwner(nullptr);
    ::DestroyWindow(other);
}
