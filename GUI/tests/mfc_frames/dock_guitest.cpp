// Docking: the frame's four dock bars, docking bars at each side and into rows,
// floating a bar into a mini frame and docking it back (rows and placeholders after
// each move), delayed showing and hiding at idle time, the mini frame's dock bar
// factory, and dragging bars with synthetic mouse and keyboard input (Esc cancels,
// Ctrl keeps the bar floating).
#include "afxext.h"

#include <algorithm>
#include <vector>

#include "frame_testing.h"
#include "wtest.h"

using namespace frametest;

namespace {

// A dockable bar of a fixed size: 100 x 24 along a horizontal side, 40 x 100 along a
// vertical one; it stretches along its side when asked to.
class CProbeBar : public CControlBar {
public:
    int idleUpdates = 0;
    BOOL CreateBar(CWnd* parent, UINT id, DWORD align = CBRS_ALIGN_TOP)
    {
        m_dwStyle = align;
        if (!CWnd::Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), parent, id)) return FALSE;
        EnableDocking(CBRS_ALIGN_ANY);
        return TRUE;
    }
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override
    {
        if (horz) return CSize(stretch ? 32767 : 100, 24);
        return CSize(40, stretch ? 32767 : 100);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override { ++idleUpdates; }
};

class CDockFrame : public CFrameWnd {
public:
    CProbeBar a, b, c, d, e;
    int childCommands = 0;
    afx_msg void OnChildCommand() { ++childCommands; }
    CWnd view;  // the client window in the middle
    BOOL Make()
    {
        if (!Create(nullptr, "dock", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 700, 500))) return FALSE;
        EnableDocking(CBRS_ALIGN_ANY);
        CProbeBar* bars[] = {&a, &b, &c, &d, &e};
        for (int i = 0; i < 5; ++i)
            if (!bars[i]->CreateBar(this, 300 + (UINT)i)) return FALSE;
        if (!view.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), this, AFX_IDW_PANE_FIRST))
            return FALSE;
        return TRUE;
    }
    CDockBar* Dock(UINT id) { return static_cast<CDockBar*>(GetControlBar(id)); }
    DECLARE_MESSAGE_MAP()
};

constexpr UINT kChildButton = 500;

BEGIN_MESSAGE_MAP(CDockFrame, CFrameWnd)
    ON_COMMAND(kChildButton, OnChildCommand)
END_MESSAGE_MAP()

// The dock bar's array: "0" for a row end, "#id" for a placeholder, "id" for a bar.
std::string Rows(CDockBar* dock)
{
    std::string s;
    for (INT_PTR i = 0; i < dock->m_arrBars.GetSize(); ++i) {
        auto v = (UINT_PTR)dock->m_arrBars[i];
        if (!s.empty()) s += " ";
        if (v == 0)
            s += "0";
        else if (v <= 0xFFFF)
            s += "#" + std::to_string(v);
        else
            s += std::to_string(static_cast<CControlBar*>(dock->m_arrBars[i])->GetDlgCtrlID());
    }
    return s;
}

CRect ScreenRect(CWnd* w)
{
    CRect r;
    w->GetWindowRect(&r);
    return r;
}

}  // namespace

WTEST(enable_docking_makes_the_four_dock_bars)
{
    auto* f = new CFrameWnd;
    WCHECK(f->Create(nullptr, "sides", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 200)));
    f->EnableDocking(CBRS_ALIGN_TOP);
    WCHECK(f->GetControlBar(AFX_IDW_DOCKBAR_TOP) != nullptr);
    WCHECK(f->GetControlBar(AFX_IDW_DOCKBAR_LEFT) == nullptr);
    f->EnableDocking(CBRS_ALIGN_ANY);
    WCHECK(f->m_pFloatingFrameClass == RUNTIME_CLASS(CMiniDockFrameWnd));
    struct Side {
        UINT id;
        DWORD align;
    };
    // Top, bottom, left, right: created (and so laid out) in this order.
    const Side sides[] = {{AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
                          {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM},
                          {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
                          {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT}};
    HWND child = ::GetWindow(f->m_hWnd, GW_CHILD);
    for (const Side& side : sides) {
        CControlBar* bar = f->GetControlBar(side.id);
        WCHECK(bar != nullptr && bar->IsDockBar() && bar->IsKindOf(RUNTIME_CLASS(CDockBar)));
        if (!bar) continue;
        WCHECK_EQ(bar->m_dwStyle & CBRS_ALIGN_ANY, side.align);
        WCHECK(!static_cast<CDockBar*>(bar)->m_bFloating);
        WCHECK_EQ(Rows(static_cast<CDockBar*>(bar)), "0");
        WCHECK(child == bar->m_hWnd);
        child = ::GetWindow(child, GW_HWNDNEXT);
    }
    // Empty dock bars take no room.
    f->RecalcLayout();
    WCHECK_EQ(WindowRectIn(f->GetControlBar(AFX_IDW_DOCKBAR_TOP), f).Height(), 0L);
    f->DestroyWindow();

    // A bar aligned to a side without a dock bar docks at a side it may use; with no
    // dock bar at all it stays where it is (the framework would dereference none).
    auto* g = new CFrameWnd;
    WCHECK(g->Create(nullptr, "left only", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 300, 200)));
    CProbeBar bar, lone;
    WCHECK(bar.CreateBar(g, 310, CBRS_ALIGN_TOP));
    WCHECK(lone.CreateBar(g, 311, CBRS_ALIGN_TOP));
    g->DockControlBar(&lone);
    WCHECK(lone.m_pDockBar == nullptr);
    g->EnableDocking(CBRS_ALIGN_LEFT);
    g->DockControlBar(&bar);
    WCHECK(bar.m_pDockBar == g->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
    WCHECK_EQ(bar.m_dwStyle & CBRS_ALIGN_ANY, DWORD(CBRS_ALIGN_LEFT));
    g->DestroyWindow();
}

WTEST(bars_dock_at_each_side_in_rows)
{
    auto* f = new CDockFrame;
    WCHECK(f->Make());
    CDockBar* top = f->Dock(AFX_IDW_DOCKBAR_TOP);
    CDockBar* left = f->Dock(AFX_IDW_DOCKBAR_LEFT);
    CDockBar* bottom = f->Dock(AFX_IDW_DOCKBAR_BOTTOM);
    CDockBar* right = f->Dock(AFX_IDW_DOCKBAR_RIGHT);

    f->b.ShowWindow(SW_HIDE);  // not in the layout until docked below
    f->DockControlBar(&f->a);  // the side it is aligned to
    f->DockControlBar(&f->c, AFX_IDW_DOCKBAR_LEFT);
    f->DockControlBar(&f->d, AFX_IDW_DOCKBAR_BOTTOM);
    f->DockControlBar(&f->e, right);
    f->RecalcLayout();
    WCHECK_EQ(Rows(top), "0 300 0");
    WCHECK_EQ(Rows(left), "0 302 0");
    WCHECK_EQ(Rows(bottom), "0 303 0");
    WCHECK_EQ(Rows(right), "0 304 0");
    WCHECK(f->a.m_pDockBar == top && f->a.GetParent() == top);
    WCHECK_EQ(f->c.m_dwStyle & CBRS_ALIGN_ANY, DWORD(CBRS_ALIGN_LEFT));
    WCHECK_EQ(f->c.m_dwStyle & CBRS_BORDER_ANY, DWORD(CBRS_BORDER_ANY));
    WCHECK(!f->a.IsFloating());
    WCHECK_EQ(f->a.m_pDockContext->m_uMRUDockID, UINT(AFX_IDW_DOCKBAR_TOP));

    // Rows overlap the dock bar's edge by the bars' 2-pixel borders; the dock bar's own
    // etched border on its inner edge adds 2: a 24-pixel bar makes a 22-pixel top or
    // bottom dock bar. Left and right dock bars have their borders above and below.
    CRect client;
    f->GetClientRect(&client);
    WCHECK_EQ(RectText(WindowRectIn(top, f)), RectText(CRect(0, 0, client.right, 22)));
    WCHECK_EQ(RectText(WindowRectIn(bottom, f)), RectText(CRect(0, client.bottom - 22, client.right, client.bottom)));
    WCHECK_EQ(WindowRectIn(left, f).Width(), 36L);
    WCHECK_EQ(WindowRectIn(left, f).top, 22L);
    WCHECK_EQ(RectText(WindowRectIn(&f->view, f)), RectText(CRect(36, 22, client.right - 36, client.bottom - 22)));

    // A rectangle right of a bar joins its row; one below the row starts a new one;
    // one above all rows makes the first row.
    CRect ra = ScreenRect(&f->a);
    CRect beside(ra.right + 10, ra.top, ra.right + 110, ra.bottom);
    f->DockControlBar(&f->b, top, &beside);
    f->b.ShowWindow(SW_SHOW);
    WCHECK_EQ(Rows(top), "0 300 301 0");
    f->RecalcLayout();
    WCHECK(ScreenRect(&f->b).left >= ra.right - 2);  // keeps its place along the row
    CRect below(ra.left, ra.bottom + 10, ra.left + 100, ra.bottom + 34);
    f->DockControlBar(&f->d, top, &below);
    WCHECK_EQ(Rows(top), "0 300 301 0 303 0");
    WCHECK_EQ(Rows(bottom), "0");
    f->RecalcLayout();
    WCHECK_EQ(WindowRectIn(top, f).Height(), 44L);  // two rows, overlapping by 2
    CRect above(ra.left, ra.top - 40, ra.left + 100, ra.top - 16);
    f->DockControlBar(&f->e, top, &above);
    WCHECK_EQ(Rows(top), "0 304 0 300 301 0 303 0");
    WCHECK_EQ(Rows(right), "0");

    // A bar's window going away takes its entry with it.
    f->b.DestroyWindow();
    WCHECK_EQ(Rows(top), "0 304 0 300 0 303 0");
    WCHECK(f->GetControlBar(301) == nullptr);
    f->d.DestroyWindow();
    WCHECK_EQ(Rows(top), "0 304 0 300 0");
    f->DestroyWindow();
}

WTEST(a_floated_bar_leaves_a_placeholder_and_docks_back_into_it)
{
    auto* f = new CDockFrame;
    WCHECK(f->Make());
    CDockBar* top = f->Dock(AFX_IDW_DOCKBAR_TOP);
    f->DockControlBar(&f->a, top);
    f->RecalcLayout();
    CRect ra = ScreenRect(&f->a);
    CRect beside(ra.right + 10, ra.top, ra.right + 110, ra.bottom);
    f->DockControlBar(&f->b, top, &beside);
    f->RecalcLayout();
    WCHECK_EQ(Rows(top), "0 300 301 0");

    f->FloatControlBar(&f->a, CPoint(300, 320));
    WCHECK(f->a.IsFloating());
    WCHECK_EQ(Rows(top), "0 #300 301 0");
    CDockBar* floating = f->a.m_pDockBar;
    WCHECK(floating != nullptr && floating->m_bFloating);
    WCHECK_EQ(floating->GetDlgCtrlID(), int(AFX_IDW_DOCKBAR_FLOAT));
    WCHECK_EQ(Rows(floating), "0 300 0");
    CFrameWnd* mini = f->a.GetParentFrame();
    WCHECK(mini != nullptr && mini->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    WCHECK(mini && mini->IsWindowVisible());
    WCHECK(mini && ::GetWindow(mini->m_hWnd, GW_OWNER) == f->m_hWnd);
    WCHECK_EQ(ScreenRect(mini).left, 300L);
    WCHECK_EQ(ScreenRect(mini).top, 320L);
    // The mini frame fits its bar, whose borders lie under its dock bar's edge.
    CRect miniClient;
    mini->GetClientRect(&miniClient);
    WCHECK_EQ(RectText(miniClient), "0,0,96,20");
    WCHECK(f->GetControlBar(300) == &f->a);  // floating bars stay the frame's
    WCHECK(f->a.GetDockingFrame() == mini);
    WCHECK((f->a.m_dwStyle & CBRS_FLOATING) != 0);

    // The mini frame's caption double click docks it back where it was.
    HWND miniHandle = mini->m_hWnd;
    mini->SendMessage(WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    WCHECK_EQ(Rows(top), "0 300 301 0");
    WCHECK(f->a.m_pDockBar == top);
    WCHECK(!::IsWindow(miniHandle));
    WCHECK((f->a.m_dwStyle & CBRS_FLOATING) == 0);
    f->RecalcLayout();
    WCHECK(ScreenRect(&f->a).left < ScreenRect(&f->b).left);

    // Toggling floats it at its last floating place, and docks it back again.
    f->a.m_pDockContext->ToggleDocking();
    WCHECK(f->a.IsFloating());
    WCHECK_EQ(ScreenRect(f->a.GetParentFrame()).left, 300L);
    WCHECK_EQ(Rows(top), "0 #300 301 0");
    f->a.m_pDockContext->ToggleDocking();
    WCHECK_EQ(Rows(top), "0 300 301 0");

    // Floating a bar alone in its frame again only moves the frame.
    f->FloatControlBar(&f->b, CPoint(200, 200));
    CFrameWnd* miniB = f->b.GetParentFrame();
    f->FloatControlBar(&f->b, CPoint(220, 230));
    WCHECK(f->b.GetParentFrame() == miniB);
    WCHECK_EQ(ScreenRect(miniB).left, 220L);
    WCHECK_EQ(Rows(top), "0 300 #301 0");
    // Docking it elsewhere leaves the placeholder where it was.
    f->DockControlBar(&f->b, AFX_IDW_DOCKBAR_LEFT);
    WCHECK_EQ(Rows(f->Dock(AFX_IDW_DOCKBAR_LEFT)), "0 301 0");
    WCHECK_EQ(Rows(top), "0 300 #301 0");
    f->DestroyWindow();
}

WTEST(show_control_bar_delayed_hides_and_shows_at_idle_time)
{
    auto* f = new CDockFrame;
    WCHECK(f->Make());
    CDockBar* top = f->Dock(AFX_IDW_DOCKBAR_TOP);
    f->DockControlBar(&f->a, top);
    f->RecalcLayout();
    RunIdle();
    WCHECK_EQ(WindowRectIn(top, f).Height(), 22L);
    int updates = f->a.idleUpdates;
    WCHECK(updates > 0);  // visible bars update their items at idle time

    f->ShowControlBar(&f->a, FALSE, TRUE);
    WCHECK(f->a.IsWindowVisible());  // not yet
    WCHECK(!f->a.IsVisible());
    WCHECK_EQ(f->m_nIdleFlags, UINT(CFrameWnd::idleLayout | CFrameWnd::idleNotify));
    RunIdle();
    WCHECK(!f->a.IsWindowVisible());
    WCHECK_EQ(f->a.m_nStateFlags, 0u);
    WCHECK_EQ(WindowRectIn(top, f).Height(), 0L);
    WCHECK_EQ(Rows(top), "0 300 0");  // hidden bars keep their place
    updates = f->a.idleUpdates;
    RunIdle();
    WCHECK_EQ(f->a.idleUpdates, updates);  // hidden bars do not

    f->ShowControlBar(&f->a, TRUE, TRUE);
    WCHECK(!f->a.IsWindowVisible());
    WCHECK(f->a.IsVisible());
    RunIdle();
    WCHECK(f->a.IsWindowVisible());
    WCHECK_EQ(WindowRectIn(top, f).Height(), 22L);

    // At once.
    f->ShowControlBar(&f->a, FALSE, FALSE);
    WCHECK(!f->a.IsWindowVisible());
    WCHECK_EQ(WindowRectIn(top, f).Height(), 0L);
    f->ShowControlBar(&f->a, TRUE, FALSE);

    // A floating bar's frame hides with its last visible bar, at idle time too.
    f->FloatControlBar(&f->a, CPoint(300, 300));
    CFrameWnd* mini = f->a.GetParentFrame();
    WCHECK(mini->IsWindowVisible());
    f->ShowControlBar(&f->a, FALSE, TRUE);
    WCHECK_EQ(mini->m_nShowDelay, SW_HIDE);
    WCHECK(mini->IsWindowVisible());
    RunIdle();
    WCHECK(!mini->IsWindowVisible());
    WCHECK(!f->a.IsWindowVisible());
    f->ShowControlBar(&f->a, TRUE, TRUE);
    RunIdle();
    WCHECK(mini->IsWindowVisible());
    WCHECK(f->a.IsWindowVisible());
    // Closing the mini frame hides its bar; the frame stays for showing it again.
    mini->SendMessage(WM_CLOSE);
    WCHECK(!f->a.IsWindowVisible());
    WCHECK(::IsWindow(mini->m_hWnd) && !mini->IsWindowVisible());
    f->DestroyWindow();
}

namespace {

int g_customDocks = 0;
int g_customRemovals = 0;

class CCustomDockBar : public CDockBar {
public:
    explicit CCustomDockBar(BOOL floating) : CDockBar(floating) {}
    void DockControlBar(CControlBar* bar, LPCRECT rect) override
    {
        ++g_customDocks;
        CDockBar::DockControlBar(bar, rect);
    }
    BOOL RemoveControlBar(CControlBar* bar, int posExclude, int addPlaceholder) override
    {
        ++g_customRemovals;
        return CDockBar::RemoveControlBar(bar, posExclude, addPlaceholder);
    }
};

class CCustomMiniFrame : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(CCustomMiniFrame)
public:
    CDockBar* CreateDockBar() override { return new CCustomDockBar(TRUE); }
};
IMPLEMENT_DYNCREATE(CCustomMiniFrame, CMiniDockFrameWnd)

}  // namespace

WTEST(mini_frames_take_their_dock_bar_from_a_virtual_factory)
{
    auto* f = new CDockFrame;
    WCHECK(f->Make());
    f->DockControlBar(&f->a, AFX_IDW_DOCKBAR_TOP);
    f->m_pFloatingFrameClass = RUNTIME_CLASS(CCustomMiniFrame);
    f->FloatControlBar(&f->a, CPoint(250, 250));
    WCHECK(f->a.GetParentFrame() != nullptr && f->a.GetParentFrame()->IsKindOf(RUNTIME_CLASS(CCustomMiniFrame)));
    WCHECK(dynamic_cast<CCustomDockBar*>(f->a.m_pDockBar) != nullptr);
    WCHECK_EQ(g_customDocks, 1);  // the framework docks through the virtual operation
    f->a.m_pDockContext->ToggleDocking();
    WCHECK_EQ(g_customRemovals, 1);
    WCHECK(f->a.m_pDockBar == f->Dock(AFX_IDW_DOCKBAR_TOP));
    f->DestroyWindow();
}

namespace {

// Presses the left button at from (screen) and moves through path: input queued
// before the drag loop starts, which takes it from the queue.
void Drag(POINT from, std::initializer_list<POINT> path)
{
    MouseTo(from);
    MouseButton(true);
    for (POINT p : path) MouseTo(p);
}

}  // namespace

WTEST(dragging_a_bar_with_the_mouse_docks_floats_and_cancels)
{
    auto* f = new CDockFrame;
    WCHECK(f->Make());
    CDockBar* top = f->Dock(AFX_IDW_DOCKBAR_TOP);
    CDockBar* left = f->Dock(AFX_IDW_DOCKBAR_LEFT);
    f->DockControlBar(&f->a, top);
    f->RecalcLayout();
    f->SetForegroundWindow();
    f->SetFocus();
    PumpPending();
    CRect frameClient;
    f->GetClientRect(&frameClient);
    f->ClientToScreen(&frameClient);
    // Presses follow each other quickly: each one elsewhere on the bar, or the second
    // would be a double click (which toggles docking).
    auto grabAt = [&](int x) { CRect r = ScreenRect(&f->a); return CPoint(r.left + x, r.top + r.Height() / 2); };
    CPoint grab = grabAt(20);
    // Over the (empty) left dock bar: along the left edge, half way down.
    CPoint overLeft(frameClient.left + 4, frameClient.top + frameClient.Height() / 2);
    CPoint nowhere(frameClient.left + frameClient.Width() / 2, frameClient.top + frameClient.Height() / 2);

    // Esc cancels: nothing moves.
    Drag(grab, {overLeft});
    Key(VK_ESCAPE, true);
    Key(VK_ESCAPE, false);
    MouseButton(false);
    WCHECK(PumpUntil([&] { return ::GetCapture() == nullptr && !(::GetAsyncKeyState(VK_LBUTTON) & 0x8000); }));
    PumpPending();
    WCHECK_EQ(Rows(top), "0 300 0");
    WCHECK_EQ(Rows(left), "0");

    // Released over the left dock bar: docked there, upright.
    grab = grabAt(70);
    Drag(grab, {overLeft});
    MouseButton(false);
    WCHECK(PumpUntil([&] { return f->a.m_pDockBar == left; }));
    WCHECK_EQ(Rows(left), "0 300 0");
    WCHECK_EQ(Rows(top), "0");
    WCHECK_EQ(f->a.m_dwStyle & CBRS_ALIGN_ANY, DWORD(CBRS_ALIGN_LEFT));
    WCHECK_EQ(f->a.m_pDockContext->m_uMRUDockID, UINT(AFX_IDW_DOCKBAR_LEFT));
    f->RecalcLayout();
    WCHECK_EQ(WindowRectIn(left, f).Width(), 36L);

    // With Ctrl held it floats where it is dropped, even over a dock bar.
    grab = ScreenRect(&f->a).CenterPoint();  // upright now: elsewhere than before
    // On the (empty) top dock bar's line: an upright bar's outline reaches it only there.
    CPoint overTop(frameClient.left + frameClient.Width() / 2, frameClient.top);
    Drag(grab, {});
    Key(VK_CONTROL, true);
    MouseTo(overTop);
    MouseButton(false);
    Key(VK_CONTROL, false);
    WCHECK(PumpUntil([&] { return f->a.IsFloating(); }));
    WCHECK_EQ(Rows(left), "0 #300 0");
    WCHECK_EQ(Rows(top), "0");

    // Dragged by its mini frame's caption onto the top dock bar: docked at the top.
    CFrameWnd* mini = f->a.GetParentFrame();
    HWND miniHandle = mini ? mini->m_hWnd : nullptr;
    CRect miniRect = ScreenRect(mini), miniClient;
    mini->GetClientRect(&miniClient);
    mini->ClientToScreen(&miniClient);
    // Upright, the frame is narrow: grab its caption at the left, clear of the close box.
    CPoint caption(miniClient.left + 2, (miniRect.top + miniClient.top) / 2);
    WCHECK_EQ(mini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(caption.x, caption.y)), LRESULT(HTCAPTION));
    Drag(caption, {overTop});
    MouseButton(false);
    WCHECK(PumpUntil([&] { return f->a.m_pDockBar == top; }));
    WCHECK_EQ(Rows(top), "0 300 0");
    WCHECK(!::IsWindow(miniHandle));  // its last bar left
    WCHECK_EQ(Rows(left), "0 #300 0");

    // Dropped in the middle of the frame it floats there.
    grab = grabAt(80);
    Drag(grab, {nowhere});
    MouseButton(false);
    WCHECK(PumpUntil([&] { return f->a.IsFloating(); }));
    WCHECK_EQ(Rows(top), "0 #300 0");
    f->DestroyWindow();
}

namespace {

// A bar whose floating width follows the frame border the user drags (height 60).
class CDynamicBar : public CProbeBar {
public:
    int width = 120;
    int committed = 0;
    CSize CalcDynamicLayout(int length, DWORD mode) override
    {
        if (mode & (LM_HORZDOCK | LM_VERTDOCK)) return CProbeBar::CalcDynamicLayout(length, mode);
        int w = length > 0 && !(mode & LM_LENGTHY) ? std::max(length, 40) : width;
        if (mode & LM_COMMIT) {
            committed = length;
            width = w;
        }
        return CSize(w, 60);
    }
};

}  // namespace

WTEST(a_floating_dynamic_bar_resizes_by_its_frame_border)
{
    auto* f = new CDockFrame;
    WCHECK(f->Make());
    CDynamicBar bar;
    WCHECK(bar.CreateBar(f, 320));
    bar.SetBarStyle(bar.GetBarStyle() | CBRS_SIZE_DYNAMIC);
    f->FloatControlBar(&bar, CPoint(300, 300));
    CFrameWnd* mini = bar.GetParentFrame();
    WCHECK(mini && !(mini->GetStyle() & MFS_MOVEFRAME));  // its borders size the bar
    CRect client;
    mini->GetClientRect(&client);
    WCHECK_EQ(client.Width(), 116L);  // 120 less the borders under the dock bar's edge
    mini->SetForegroundWindow();
    PumpPending();

    CRect frame = ScreenRect(mini);
    CPoint edge(frame.right - 2, frame.top + frame.Height() / 2);
    WCHECK_EQ(mini->SendMessage(WM_NCHITTEST, 0, MAKELPARAM(edge.x, edge.y)), LRESULT(HTRIGHT));
    Drag(edge, {CPoint(edge.x + 50, edge.y)});
    MouseButton(false);
    WCHECK(PumpUntil([&] { return bar.committed != 0; }));
    WCHECK_EQ(bar.committed, 170);
    WCHECK(PumpUntil([&] {
        mini->GetClientRect(&client);
        return client.Width() == 166;
    }));
    WCHECK_EQ(ScreenRect(mini).left, frame.left);  // the left edge stays
    f->DestroyWindow();
}

WTEST(the_modal_state_disables_the_frame_and_its_floating_frames)
{
    auto* f = new CDockFrame;
    WCHECK(f->Make());
    f->DockControlBar(&f->a, AFX_IDW_DOCKBAR_TOP);
    f->FloatControlBar(&f->a, CPoint(300, 300));
    CFrameWnd* mini = f->a.GetParentFrame();
    f->BeginModalState();
    WCHECK(!f->IsWindowEnabled());
    WCHECK(!mini->IsWindowEnabled());
    f->EndModalState();
    WCHECK(f->IsWindowEnabled());
    WCHECK(mini->IsWindowEnabled());
    f->DestroyWindow();
}

WTEST(commands_of_a_bars_children_reach_its_frame_docked_or_floating)
{
    auto* f = new CDockFrame;
    WCHECK(f->Make());
    f->DockControlBar(&f->a, AFX_IDW_DOCKBAR_TOP);
    CButton button;
    WCHECK(button.Create("go", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 20, 20), &f->a, kChildButton));
    WCHECK(f->a.GetOwner() == f);
    button.SendMessage(BM_CLICK);
    WCHECK_EQ(f->childCommands, 1);
    f->FloatControlBar(&f->a, CPoint(300, 300));
    button.SendMessage(BM_CLICK);
    WCHECK_EQ(f->childCommands, 2);
    f->DestroyWindow();
}
