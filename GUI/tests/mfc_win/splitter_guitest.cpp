// Static splitters: panes made by class, their ids and layout, dragging a bar with the
// mouse (accepted on release, cancelled by Esc), and commands passed to the parent.
#include "afxext.h"

#include "wtest.h"

namespace {

class CPane : public CWnd {
    DECLARE_DYNCREATE(CPane)
};
IMPLEMENT_DYNCREATE(CPane, CWnd)

class CHost : public CWnd {
public:
    UINT lastCommand = 0;
    void OnPaneCommand(UINT id) { lastCommand = id; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHost, CWnd)
    ON_COMMAND_RANGE(700, 710, OnPaneCommand)
END_MESSAGE_MAP()

CRect PaneRect(CSplitterWnd& s, int row, int col)
{
    CRect r;
    s.GetPane(row, col)->GetWindowRect(&r);
    s.ScreenToClient(&r);
    return r;
}

void Mouse(CSplitterWnd& s, UINT msg, int x, int y) { s.SendMessage(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y)); }

}  // namespace

WTEST(static_splitter_places_panes_and_drags_bars)
{
    CHost host;
    WCHECK(host.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 306, 200), nullptr, 0));
    CSplitterWnd split;
    WCHECK(split.CreateStatic(&host, 1, 2));
    WCHECK_EQ(split.GetDlgCtrlID(), int(AFX_IDW_PANE_FIRST));
    WCHECK(split.CreateView(0, 0, RUNTIME_CLASS(CPane), CSize(100, 0), nullptr));
    WCHECK(split.CreateView(0, 1, RUNTIME_CLASS(CPane), CSize(0, 0), nullptr));
    WCHECK(!split.CreateView(0, 1, RUNTIME_CLASS(CPane), CSize(0, 0), nullptr));  // taken
    WCHECK(!split.CreateView(0, 2, RUNTIME_CLASS(CPane), CSize(0, 0), nullptr));  // outside the grid
    WCHECK_EQ(split.IdFromRowCol(0, 1), int(0xE901));
    CWnd* left = split.GetPane(0, 0);
    WCHECK(left != nullptr && left->IsKindOf(RUNTIME_CLASS(CPane)));

    CRect client;
    split.GetClientRect(&client);
    WCHECK_EQ(client.Width(), 306);
    struct Expect {
        int col;
        int left, right;
    };
    auto check = [&](std::initializer_list<Expect> cases) {
        for (const Expect& e : cases) {
            CRect r = PaneRect(split, 0, e.col);
            WCHECK_EQ(r.left, LONG(e.left));
            WCHECK_EQ(r.right, LONG(e.right));
        }
    };
    int cur = 0, min = 0;
    split.GetColumnInfo(0, cur, min);
    WCHECK_EQ(cur, 100);
    check({{0, 0, 100}, {1, 106, 306}});  // the last column takes the rest

    // Drag the bar from 102 to 152: the first column becomes 150 wide.
    Mouse(split, WM_LBUTTONDOWN, 102, 50);
    WCHECK(split.IsTracking());
    Mouse(split, WM_MOUSEMOVE, 152, 50);
    Mouse(split, WM_LBUTTONUP, 152, 50);
    WCHECK(!split.IsTracking());
    check({{0, 0, 150}, {1, 156, 306}});

    // Esc cancels a drag.
    Mouse(split, WM_LBUTTONDOWN, 152, 50);
    Mouse(split, WM_MOUSEMOVE, 60, 50);
    split.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    WCHECK(!split.IsTracking());
    check({{0, 0, 150}});

    // A column below its minimum is not shown.
    split.SetColumnInfo(0, 20, 30);
    split.RecalcLayout();
    WCHECK(!left->IsWindowVisible());
    check({{1, 6, 306}});

    // Pane commands reach the splitter's parent.
    split.SendMessage(WM_COMMAND, MAKEWPARAM(705, 0), 0);
    WCHECK_EQ(host.lastCommand, UINT(705));
    host.DestroyWindow();
}

namespace {

// A pane that records what its creation brought.
class CContextPane : public CWnd {
    DECLARE_DYNCREATE(CContextPane)
public:
    CCreateContext* context = nullptr;
    int initialUpdates = 0;
    afx_msg int OnCreate(LPCREATESTRUCTA cs)
    {
        context = (CCreateContext*)cs->lpCreateParams;
        return CWnd::OnCreate(cs);
    }
    afx_msg LRESULT OnInitialUpdate(WPARAM, LPARAM)
    {
        ++initialUpdates;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CContextPane, CWnd)

BEGIN_MESSAGE_MAP(CContextPane, CWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdate)
END_MESSAGE_MAP()

}  // namespace

WTEST(panes_get_the_creation_context_and_the_active_pane_follows_the_focus)
{
    CHost host;
    WCHECK(host.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 306, 200), nullptr, 0));
    CSplitterWnd split;
    WCHECK(split.CreateStatic(&host, 1, 2));
    CCreateContext context;
    context.m_pNewViewClass = RUNTIME_CLASS(CContextPane);
    WCHECK(split.CreateView(0, 0, RUNTIME_CLASS(CContextPane), CSize(100, 0), &context));
    WCHECK(split.CreateView(0, 1, RUNTIME_CLASS(CContextPane), CSize(0, 0), nullptr));
    auto* first = static_cast<CContextPane*>(split.GetPane(0, 0));
    auto* second = static_cast<CContextPane*>(split.GetPane(0, 1));
    WCHECK(first->IsKindOf(RUNTIME_CLASS(CContextPane)) && second->IsKindOf(RUNTIME_CLASS(CContextPane)));
    // The caller's context reaches the pane; it then sends the initial update itself.
    WCHECK(first->context == &context);
    WCHECK_EQ(first->initialUpdates, 0);
    // Without one the pane gets a context naming its class, and its initial update.
    WCHECK(second->context != nullptr && second->context != &context);
    WCHECK_EQ(second->initialUpdates, 1);

    int row = -1, col = -1;
    WCHECK(split.IsChildPane(second, &row, &col));
    WCHECK_EQ(row, 0);
    WCHECK_EQ(col, 1);
    WCHECK(!split.IsChildPane(&host));
    split.SetActivePane(0, 0);
    WCHECK(split.GetActivePane(&row, &col) == first);
    WCHECK_EQ(col, 0);
    second->SetFocus();
    WCHECK(split.GetActivePane() == second);
    host.SetFocus();
    WCHECK(split.GetActivePane() == nullptr);
    host.DestroyWindow();
}
