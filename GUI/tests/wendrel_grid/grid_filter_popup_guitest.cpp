// The filter popup driven by synthetic input: the header's filter button
// opens the value list under its cell, a selection applied filters the grid,
// "(All)" clears it, Cancel and a click elsewhere leave it as it was, and
// the popup's size follows its header cell.
#include <set>
#include <string>
#include <vector>

#include "afxwin.h"
#include "app/wendrel_app.h"
#include "grid/grid_filter.h"
#include "grid/grid_filter_list.h"
#include "grid_test_util.h"
#include "gridwnd/filter_dlg.h"
#include "gridwnd/filter_tool.h"
#include "gridwnd/grid_ctrl.h"
#include "wtest.h"

namespace {

struct PopupFixture {
    CWnd owner;
    CWnd other;
    CDefGridCtrl grid;
    gt::Chain chain;
    HIMAGELIST glyphs = gt::MakeArrowGlyphs();

    explicit PopupFixture(int firstWidth = 100)
    {
        owner.CreateEx(0, nullptr, "filter owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 420, 400), nullptr, 0);
        other.CreateEx(0, nullptr, "elsewhere", WS_POPUP | WS_VISIBLE, CRect(500, 0, 600, 100), nullptr, 0);
        // Blank, repeated and case-differing values in column 0.
        chain = gt::MakeChain({{"Name", COLUMN_TYPE_TEXT}, {"Host", COLUMN_TYPE_TEXT}},
                              {{"b", "h1"}, {"a", "h2"}, {"", "h3"}, {"b", "h4"}, {"c", "h5"}, {"", "h6"}});
        grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &owner, 77);
        for (GRAPHIC_CELL_STYLE& s : *grid.GetStyles())
            s.elementImages = glyphs;
        grid.SetView(chain.owner.release());
        grid.SetColumnWidth(0, firstWidth);
        owner.SetActiveWindow();
        Pump();
    }
    ~PopupFixture()
    {
        grid.DestroyWindow();
        Pump();
        other.DestroyWindow();
        owner.DestroyWindow();
        ImageList_Destroy(glyphs);
    }
    // Handles what is queued (the grid's deferred updates, the popup's close
    // request); posted work runs here, never after a wait.
    static void Pump()
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    void Send(CWnd& to, UINT message, UINT flags, CPoint p) { to.SendMessage(message, flags, MAKELPARAM(p.x, p.y)); }
    void Click(CWnd& to, CPoint p, UINT flags = 0)
    {
        Send(to, WM_MOUSEMOVE, flags, p);
        Send(to, WM_LBUTTONDOWN, flags | MK_LBUTTON, p);
        Send(to, WM_LBUTTONUP, flags, p);
        Pump();
    }
    // The filter button of a header cell, found by moving the mouse along it.
    CPoint FilterButton(int column)
    {
        const COLUMN_INFO& c = grid.GetColumns()[size_t(column)];
        const int y = 1 + grid.GetRows()[0].height / 2;
        for (int x = grid.GetGridOrg().x + c.position; x < grid.GetGridOrg().x + c.position + c.width; ++x) {
            Send(grid, WM_MOUSEMOVE, 0, CPoint(x, y));
            auto* tool = dynamic_cast<const CFilterTool*>(grid.GetCurrentTool());
            if (tool && tool->GetColumn() == column)
                return CPoint(x + 2, y);
        }
        return CPoint(-1, -1);
    }
    CFilterDlg* Popup() { return dynamic_cast<CFilterDlg*>(grid.GetPopupWindow()); }
    CFilterDlg* Open(int column)
    {
        const CPoint button = FilterButton(column);
        WCHECK(button.x >= 0);
        if (button.x < 0)
            return nullptr;
        Click(grid, button);
        WCHECK(Popup() != nullptr);
        return Popup();
    }
    // What the popup lists, with "*" before the selected items.
    static std::string Listed(CFilterDlg& dlg)
    {
        std::vector<std::string> out;
        TFilterListView* list = dlg.GetValueList();
        for (int k = 0; k < list->GetSize().row; ++k)
            out.push_back((dlg.GetListGrid().IsCellSelected(CELL_COORD(0, k + 1)) ? "*" : "") + list->GetItemText(k));
        return gt::Join(out);
    }
    // Clicks list items by their texts, the first alone, the others with Ctrl.
    static void Choose(PopupFixture& f, CFilterDlg& dlg, const std::vector<std::string>& texts)
    {
        CDefGridCtrl& list = dlg.GetListGrid();
        TFilterListView* values = dlg.GetValueList();
        for (size_t i = 0; i < texts.size(); ++i) {
            int row = -1;
            for (int k = 0; k < values->GetSize().row; ++k)
                if (values->GetItemText(k) == texts[i])
                    row = k + 1;
            WCHECK(row > 0);
            if (row < 0)
                continue;
            const ROW_INFO& r = list.GetRows()[size_t(row)];
            const CPoint p(20, list.GetGridOrg().y + r.position + r.height / 2);
            f.Click(list, p, i == 0 ? 0 : MK_CONTROL);
        }
    }
    // Presses a popup button as the mouse does; the themed button looks
    // where the cursor is, so the cursor goes there first.
    void Press(CFilterDlg& dlg, int id)
    {
        CWnd* button = dlg.GetDlgItem(id);
        CRect r;
        button->GetClientRect(&r);
        CPoint screen = r.CenterPoint();
        button->ClientToScreen(&screen);
        ::SetCursorPos(screen.x, screen.y);
        Send(*button, WM_MOUSEMOVE, 0, r.CenterPoint());
        Send(*button, WM_LBUTTONDOWN, MK_LBUTTON, r.CenterPoint());
        Send(*button, WM_LBUTTONUP, 0, r.CenterPoint());
        Pump();
    }
    bool ApplyEnabled(CFilterDlg& dlg) { return dlg.GetDlgItem(IDOK)->IsWindowEnabled() != FALSE; }
};

}  // namespace

WTEST(filter_popup_lists_the_values_and_applies_and_clears_a_filter)
{
    PopupFixture f;
    // The button under the mouse lights up, and goes dark when it leaves.
    const CPoint button = f.FilterButton(1);
    WCHECK_EQ(f.chain.filter->GetHotColumn(), 1);
    f.Send(f.grid, WM_MOUSEMOVE, 0, CPoint(button.x - 30, button.y + 40));
    WCHECK_EQ(f.chain.filter->GetHotColumn(), GRID_UNSET);
    CFilterDlg* dlg = f.Open(0);
    if (!dlg)
        return;
    WCHECK(dlg->IsWindowVisible());
    WCHECK(::GetActiveWindow() == dlg->m_hWnd);
    WCHECK_EQ(f.chain.filter->GetActiveColumn(), 0);
    // A fresh filter selects "(All)" only; each value once, blanks as a group.
    WCHECK_EQ(PopupFixture::Listed(*dlg), std::string("*(All)|(Blanks)|(NonBlanks)|a|b|c"));
    WCHECK(f.ApplyEnabled(*dlg));

    PopupFixture::Choose(f, *dlg, {"b", "c"});
    WCHECK_EQ(PopupFixture::Listed(*dlg), std::string("(All)|(Blanks)|(NonBlanks)|a|*b|*c"));
    f.Press(*dlg, IDOK);
    WCHECK(f.grid.GetPopupWindow() == nullptr);
    WCHECK_EQ(f.chain.filter->GetActiveColumn(), GRID_UNSET);
    WCHECK_EQ(gt::Shown(*f.chain.filter), std::string("b|b|c"));
    WCHECK_EQ(gt::Shown(*f.chain.filter, 1), std::string("h1|h4|h5"));
    WCHECK(f.chain.filter->GetGridMap()[0].IsFiltered());

    // Reopening shows what passes; "(All)" clears the filter again.
    dlg = f.Open(0);
    if (!dlg)
        return;
    WCHECK_EQ(PopupFixture::Listed(*dlg), std::string("(All)|(Blanks)|(NonBlanks)|a|*b|*c"));
    PopupFixture::Choose(f, *dlg, {"(All)"});
    f.Press(*dlg, IDOK);
    WCHECK(f.grid.GetPopupWindow() == nullptr);
    WCHECK_EQ(gt::Shown(*f.chain.filter), std::string("b|a|-|b|c|-"));
    WCHECK(!f.chain.filter->GetGridMap()[0].IsFiltered());
}

WTEST(filter_popup_non_blanks_blanks_and_the_list_apply_gesture)
{
    PopupFixture f;
    CFilterDlg* dlg = f.Open(0);
    if (!dlg)
        return;
    PopupFixture::Choose(f, *dlg, {"(NonBlanks)"});
    f.Press(*dlg, IDOK);
    WCHECK_EQ(gt::Shown(*f.chain.filter), std::string("b|a|b|c"));
    // "(NonBlanks)" shows selected and the values it covers do not.
    dlg = f.Open(0);
    if (!dlg)
        return;
    WCHECK_EQ(PopupFixture::Listed(*dlg), std::string("(All)|(Blanks)|*(NonBlanks)|a|b|c"));
    // Space in the list applies, as the Apply button does.
    PopupFixture::Choose(f, *dlg, {"(Blanks)"});
    dlg->GetListGrid().SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    PopupFixture::Pump();
    WCHECK(f.grid.GetPopupWindow() == nullptr);
    WCHECK_EQ(gt::Shown(*f.chain.filter), std::string("-|-"));
    WCHECK_EQ(gt::Shown(*f.chain.filter, 1), std::string("h3|h6"));

    // A column without blanks lists no blank entries.
    dlg = f.Open(1);
    if (!dlg)
        return;
    WCHECK_EQ(PopupFixture::Listed(*dlg), std::string("*(All)|h1|h2|h3|h4|h5|h6"));
    f.Press(*dlg, IDCANCEL);
}

WTEST(filter_popup_closes_without_change_on_cancel_and_elsewhere)
{
    PopupFixture f;
    CFilterDlg* dlg = f.Open(0);
    if (!dlg)
        return;
    PopupFixture::Choose(f, *dlg, {"a"});
    f.Press(*dlg, IDCANCEL);
    WCHECK(f.grid.GetPopupWindow() == nullptr);
    WCHECK_EQ(f.chain.filter->GetActiveColumn(), GRID_UNSET);
    WCHECK_EQ(gt::Shown(*f.chain.filter), std::string("b|a|-|b|c|-"));

    // With nothing selected Apply is off; activating another window closes.
    dlg = f.Open(0);
    if (!dlg)
        return;
    const HWND first = dlg->m_hWnd;
    dlg->GetListGrid().ClearSelection();
    WCHECK(!f.ApplyEnabled(*dlg));
    PopupFixture::Choose(f, *dlg, {"c"});
    WCHECK(f.ApplyEnabled(*dlg));
    // The same column's button leaves the open popup alone.
    f.Click(f.grid, f.FilterButton(0));
    WCHECK(f.Popup() == dlg);
    f.other.SetActiveWindow();
    PopupFixture::Pump();
    WCHECK(f.grid.GetPopupWindow() == nullptr);
    WCHECK(!::IsWindow(first));
    WCHECK_EQ(gt::Shown(*f.chain.filter), std::string("b|a|-|b|c|-"));

    // Another column's button replaces the open popup.
    dlg = f.Open(0);
    if (!dlg)
        return;
    const HWND replaced = dlg->m_hWnd;
    CFilterDlg* next = f.Open(1);
    WCHECK(next != nullptr && next->GetColumn() == 1);
    WCHECK(!::IsWindow(replaced));

    // New rows close the popup: its list was made from the rows before.
    dlg = f.Open(0);
    if (!dlg)
        return;
    const HWND beforeRows = dlg->m_hWnd;
    f.chain.data->SetCellText(0, 6, "d");
    f.chain.data->SetCellText(1, 6, "h7");
    f.grid.Update();
    PopupFixture::Pump();
    WCHECK(f.grid.GetPopupWindow() == nullptr);
    WCHECK(!::IsWindow(beforeRows));
    dlg = f.Open(0);
    if (!dlg)
        return;
    WCHECK_EQ(PopupFixture::Listed(*dlg), std::string("*(All)|(Blanks)|(NonBlanks)|a|b|c|d"));
    PopupFixture::Choose(f, *dlg, {"d"});
    f.Press(*dlg, IDOK);
    WCHECK_EQ(gt::Shown(*f.chain.filter, 1), std::string("h7"));
    next = f.Open(1);

    // A new view closes the popup, which worked on the old one.
    const HWND onOldView = next ? next->m_hWnd : nullptr;
    f.chain = gt::MakeChain({{"Name", COLUMN_TYPE_TEXT}}, {{"x"}, {"y"}});
    f.grid.SetView(f.chain.owner.release());
    PopupFixture::Pump();
    WCHECK(f.grid.GetPopupWindow() == nullptr);
    WCHECK(!::IsWindow(onOldView));
    WCHECK_EQ(gt::Shown(*f.chain.filter), std::string("x|y"));
}

WTEST(filter_popup_lies_under_its_cell_at_least_150_wide)
{
    const struct {
        CRect cell;
        int mainBottom;
        CRect popup;
    } cases[] = {
        {CRect(10, 20, 110, 40), 340, CRect(-15, 40, 135, 240)},  // 100 wide: 25 more each side
        {CRect(10, 20, 211, 40), 100, CRect(10, 40, 211, 80)},    // wider than 150: the cell's width
        {CRect(0, 50, 150, 70), 70, CRect(0, 70, 150, 70)},       // no room below
    };
    for (const auto& c : cases)
        WCHECK(FilterPopupRect(c.cell, c.mainBottom) == c.popup);

    // A real popup under a 200-pixel column: the cell's width plus a pixel
    // each side, and no taller than its list needs.
    PopupFixture f(200);
    CFilterDlg* dlg = f.Open(0);
    if (!dlg)
        return;
    CRect window, grid;
    dlg->GetWindowRect(&window);
    f.grid.GetWindowRect(&grid);
    WCHECK_EQ(window.Width(), 200 - 1 + 2);
    WCHECK_EQ(window.left, grid.left + f.grid.GetGridOrg().x - 1);
    WCHECK_EQ(window.top, grid.top + 1 + f.grid.GetRows()[0].height - 1);
    WCHECK(dlg->GetDiff().cy >= 0);
    CDefGridCtrl& list = dlg->GetListGrid();
    CRect listClient;
    list.GetClientRect(&listClient);
    WCHECK_EQ(list.GetColumnWidth(0), listClient.Width() - 1);
    f.Press(*dlg, IDCANCEL);
}

namespace {

// The program's application object as a console's: unless told otherwise its
// loop hands each message to the library's filter. The popup belongs to the library, so only that filter gives it
// its dialog keys.
class CHookedApp : public CWinApp {
public:
    bool hooked = true;
    CHookedApp() : CWinApp("GridPopupHooks") { }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (CWinApp::PreTranslateMessage(msg))
            return TRUE;
        return hooked && FilterDllMsg(msg);
    }
    // Runs the loop until the queue is empty.
    void Drain()
    {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE))
            PumpMessage();
    }
    void Key(HWND to, UINT key)
    {
        ::PostMessageA(to, WM_KEYDOWN, key, 1);
        ::PostMessageA(to, WM_KEYUP, key, 0xC0000001);
        Drain();
    }
};

}  // namespace

WTEST(filter_popup_gets_its_dialog_keys_through_the_library_hooks)
{
    // (hooked, keys pressed from the list, what happens): Tab leads through
    // the buttons, Return applies, Escape cancels, Space presses the focused
    // button.
    const struct {
        bool hooked;
        std::vector<UINT> keys;
        const char* focus;  // "list", "apply", "cancel" or "closed"
        const char* shown;
    } cases[] = {
        {true, {VK_TAB}, "apply", "b|a|-|b|c|-"},
        {true, {VK_TAB, VK_TAB}, "cancel", "b|a|-|b|c|-"},
        {true, {VK_RETURN}, "closed", "b|b"},
        {true, {VK_ESCAPE}, "closed", "b|a|-|b|c|-"},
        {true, {VK_TAB, VK_TAB, VK_SPACE}, "closed", "b|a|-|b|c|-"},
        {false, {VK_TAB}, "list", "b|a|-|b|c|-"},
        {false, {VK_RETURN}, "list", "b|a|-|b|c|-"},
    };
    for (const auto& c : cases) {
        CHookedApp app;
        app.hooked = c.hooked;
        PopupFixture f;
        CFilterDlg* dlg = f.Open(0);
        if (!dlg)
            return;
        PopupFixture::Choose(f, *dlg, {"b"});
        const HWND list = dlg->GetListGrid().m_hWnd, apply = dlg->GetDlgItem(IDOK)->m_hWnd,
                   cancel = dlg->GetDlgItem(IDCANCEL)->m_hWnd;
        WCHECK(::GetFocus() == list);
        for (UINT key : c.keys)
            app.Key(::GetFocus(), key);
        std::string focus = "other";
        if (!f.grid.GetPopupWindow())
            focus = "closed";
        else if (::GetFocus() == list)
            focus = "list";
        else if (::GetFocus() == apply)
            focus = "apply";
        else if (::GetFocus() == cancel)
            focus = "cancel";
        WCHECK_EQ(focus, std::string(c.focus));
        WCHECK_EQ(gt::Shown(*f.chain.filter), std::string(c.shown));
        if (CFilterDlg* open = f.Popup())
            f.Press(*open, IDCANCEL);
    }
}

WTEST(filter_popup_closes_when_asked_and_never_outlives_its_grid)
{
    // (close request's wParam: 0 any popup, 1 the popup's own handle, 2 some
    // other window's; whether the popup goes)
    const struct {
        int which;
        bool closes;
    } cases[] = {{0, true}, {1, true}, {2, false}};
    for (const auto& c : cases) {
        PopupFixture f;
        CFilterDlg* dlg = f.Open(0);
        if (!dlg)
            return;
        const HWND popup = dlg->m_hWnd;
        const WPARAM target = c.which == 0 ? 0 : c.which == 1 ? WPARAM(popup) : WPARAM(f.other.m_hWnd);
        f.grid.SendMessage(WM_GRID_KILLPOPUP, target);
        PopupFixture::Pump();
        WCHECK_EQ(::IsWindow(popup) != FALSE, !c.closes);
        WCHECK_EQ(f.grid.GetPopupWindow() == nullptr, c.closes);
        WCHECK(::IsWindow(f.other.m_hWnd));
        // The filter stays as it was either way.
        WCHECK_EQ(gt::Shown(*f.chain.filter), std::string("b|a|-|b|c|-"));
        if (!c.closes) {
            // Going with its grid.
            f.grid.DestroyWindow();
            PopupFixture::Pump();
            WCHECK(!::IsWindow(popup));
        }
    }
}
