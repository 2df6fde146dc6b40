// Frames: creation from a resource id, the command route (frame, then application)
// with update handlers for menus, accelerators and toolbar buttons, the idle layout
// that a delayed RecalcLayout asks for, bar layout by WM_SIZEPARENT in query and
// layout modes with delayed showing, the message bar and the status bar's panes, a
// toolbar from a toolbar resource, and MDI frames.
#include "afxext.h"

#include "frame_ids.h"
#include "frame_testing.h"
#include "wtest.h"

using namespace frametest;

namespace {

int g_framesDeleted = 0;

class CProbeFrame : public CFrameWnd {
public:
    int alpha = 0;
    int beta = 0;
    int recalcs = 0;
    UINT commandHelp = 0;
    ~CProbeFrame() override { ++g_framesDeleted; }
    void OnAlpha() { ++alpha; }
    void OnBeta() { ++beta; }
    void OnUpdateBeta(CCmdUI* ui) { ui->Enable(FALSE); }
    LRESULT OnCommandHelp(WPARAM, LPARAM lParam)
    {
        commandHelp = (UINT)lParam;
        return TRUE;
    }
    void RecalcLayout(BOOL notify = TRUE) override
    {
        ++recalcs;
        CFrameWnd::RecalcLayout(notify);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeFrame, CFrameWnd)
    ON_COMMAND(ID_PROBE_ALPHA, OnAlpha)
    ON_COMMAND(ID_PROBE_BETA, OnBeta)
    ON_UPDATE_COMMAND_UI(ID_PROBE_BETA, OnUpdateBeta)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

class CProbeApp : public CWinApp {
public:
    int appCommands = 0;
    CFrameWnd* routingFrame = nullptr;
    CProbeApp() : CWinApp("FrameProbe") {}
    void OnAppCommand()
    {
        ++appCommands;
        routingFrame = AfxGetRoutingFrame();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeApp, CWinApp)
    ON_COMMAND(ID_PROBE_APP, OnAppCommand)
END_MESSAGE_MAP()

bool Grayed(HMENU menu, UINT id) { return (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

// A frame with a status bar and a toolbar, as programs build them in OnCreate.
class CBarFrame : public CProbeFrame {
public:
    CStatusBar status;
    CToolBar toolbar;
    BOOL withToolbar = FALSE;
    int OnCreate(LPCREATESTRUCTA cs)
    {
        if (CProbeFrame::OnCreate(cs) == -1) return -1;
        static const UINT indicators[] = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
        if (!status.Create(this) || !status.SetIndicators(indicators, 4)) return -1;
        if (withToolbar && (!toolbar.Create(this) || !toolbar.LoadToolBar(IDR_PROBE_TOOLBAR))) return -1;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBarFrame, CProbeFrame)
    ON_WM_CREATE()
END_MESSAGE_MAP()

std::string PartText(CStatusBar& bar, int index)
{
    char text[256] = "";
    bar.SendMessage(SB_GETTEXTA, (WPARAM)index, (LPARAM)text);
    return text;
}

}  // namespace

WTEST(load_frame_takes_title_menu_accelerators_and_icon)
{
    auto* f = new CProbeFrame;
    WCHECK(f->LoadFrame(IDR_PROBE_FRAME, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE));
    // The title is the string's first field.
    WCHECK_EQ(Text(f), "Probe Frame");
    WCHECK_EQ(std::string(f->m_strTitle), "Probe Frame");
    HMENU menu = ::GetMenu(f->m_hWnd);
    WCHECK(menu != nullptr);
    WCHECK(f->m_hMenuDefault == menu);
    WCHECK_EQ(::GetMenuItemID(::GetSubMenu(menu, 0), 0), UINT(ID_PROBE_ALPHA));
    WCHECK(f->m_hAccelTable != nullptr);
    WCHECK(::GetClassLongPtrA(f->m_hWnd, GCLP_HICON) != 0);
    WCHECK((f->GetStyle() & FWS_PREFIXTITLE) != 0);
    WCHECK(f->IsFrameWnd());
    WCHECK(f->GetActiveView() == nullptr && f->GetActiveDocument() == nullptr);
    WCHECK(!f->InModalState() && f->m_bAutoMenuEnable && !f->m_bHelpMode);

    // Titles: the frame's alone without a document; a document's name goes in front
    // (FWS_PREFIXTITLE) or after, with the window number.
    f->OnUpdateFrameTitle(TRUE);
    WCHECK_EQ(Text(f), "Probe Frame");
    f->m_nWindow = 2;
    f->UpdateFrameTitleForDocument("Doc");
    WCHECK_EQ(Text(f), "Doc:2 - Probe Frame");
    f->ModifyStyle(FWS_PREFIXTITLE, 0);
    f->UpdateFrameTitleForDocument("Doc");
    WCHECK_EQ(Text(f), "Probe Frame - Doc:2");

    int deleted = g_framesDeleted;
    f->DestroyWindow();
    WCHECK_EQ(g_framesDeleted, deleted + 1);  // frames free themselves

    // An id without a menu fails the creation and frees the frame.
    auto* g = new CProbeFrame;
    WCHECK(!g->LoadFrame(IDR_NO_MENU));
    WCHECK_EQ(g_framesDeleted, deleted + 2);
}

WTEST(commands_route_frame_then_application_with_update_handlers)
{
    CProbeApp app;
    auto* f = new CProbeFrame;
    WCHECK(f->LoadFrame(IDR_PROBE_FRAME));
    f->ShowWindow(SW_SHOW);

    f->SendMessage(WM_COMMAND, ID_PROBE_ALPHA);
    WCHECK_EQ(f->alpha, 1);
    // The frame's update handler disables Beta: a menu or key command is dropped.
    f->SendMessage(WM_COMMAND, ID_PROBE_BETA);
    WCHECK_EQ(f->beta, 0);
    // The application has the command the frame lacks, and sees the frame routing it.
    f->SendMessage(WM_COMMAND, ID_PROBE_APP);
    WCHECK_EQ(app.appCommands, 1);
    WCHECK(app.routingFrame == f);
    WCHECK(AfxGetRoutingFrame() == nullptr);

    // The popup's items follow the update handlers; items nobody handles are disabled
    // while m_bAutoMenuEnable is set.
    HMENU popup = ::GetSubMenu(::GetMenu(f->m_hWnd), 0);
    f->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, 0);
    WCHECK(!Grayed(popup, ID_PROBE_ALPHA));
    WCHECK(Grayed(popup, ID_PROBE_BETA));
    WCHECK(Grayed(popup, ID_PROBE_GAMMA));
    WCHECK(!Grayed(popup, ID_PROBE_APP));
    // Without it, items nobody handles are left as they are.
    f->m_bAutoMenuEnable = FALSE;
    ::EnableMenuItem(popup, ID_PROBE_GAMMA, MF_BYCOMMAND | MF_ENABLED);
    f->SendMessage(WM_INITMENUPOPUP, (WPARAM)popup, 0);
    WCHECK(!Grayed(popup, ID_PROBE_GAMMA));
    WCHECK(Grayed(popup, ID_PROBE_BETA));

    // Ctrl+B, typed: the frame's accelerator table sends the command to the application.
    f->SetForegroundWindow();
    f->SetFocus();
    PumpPending();
    Key(VK_CONTROL, true);
    Key('B', true);
    Key('B', false);
    Key(VK_CONTROL, false);
    WCHECK(PumpUntil([&] { return app.appCommands == 2; }));
    WCHECK_EQ(f->alpha, 1);

    f->DestroyWindow();
}

WTEST(delayed_layout_runs_once_at_the_next_idle_time)
{
    auto* f = new CProbeFrame;
    WCHECK(f->Create(nullptr, "idle", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 10, 410, 310)));
    PumpPending();
    RunIdle();
    int before = f->recalcs;
    f->DelayRecalcLayout();
    f->DelayRecalcLayout();
    WCHECK_EQ(f->m_nIdleFlags, UINT(CFrameWnd::idleLayout | CFrameWnd::idleNotify));
    WCHECK_EQ(f->recalcs, before);  // nothing until idle time
    RunIdle();
    WCHECK_EQ(f->recalcs, before + 1);
    WCHECK_EQ(f->m_nIdleFlags, 0u);
    RunIdle();
    WCHECK_EQ(f->recalcs, before + 1);

    // As the application's main window it still runs once per request.
    {
        CWinApp app("IdleLayout");
        app.m_pMainWnd = f;
        f->DelayRecalcLayout(FALSE);
        WCHECK_EQ(f->m_nIdleFlags, UINT(CFrameWnd::idleLayout));
        app.OnIdle(0);
        WCHECK_EQ(f->recalcs, before + 2);
        app.OnIdle(0);
        WCHECK_EQ(f->recalcs, before + 2);
        app.m_pMainWnd = nullptr;
    }
    // A layout asked for while one runs does nothing; the request stays for idle time.
    f->DelayRecalcLayout();
    f->m_bInRecalcLayout = TRUE;
    f->CFrameWnd::RecalcLayout();
    WCHECK_EQ(f->m_nIdleFlags, UINT(CFrameWnd::idleLayout | CFrameWnd::idleNotify));
    f->m_bInRecalcLayout = FALSE;
    // A layout done meanwhile clears the request.
    f->DelayRecalcLayout();
    f->RecalcLayout();
    WCHECK_EQ(f->m_nIdleFlags, 0u);
    RunIdle();
    WCHECK_EQ(f->recalcs, before + 3);
    f->DestroyWindow();
}

namespace {

// A bar of a fixed size that stretches along its side when asked to.
class CFixedBar : public CControlBar {
public:
    CSize natural;
    int sizeParents = 0;
    explicit CFixedBar(CSize size) : natural(size) {}
    BOOL CreateBar(CWnd* parent, DWORD barStyle, UINT id, BOOL visible = TRUE)
    {
        m_dwStyle = barStyle;
        return CWnd::Create(nullptr, nullptr, WS_CHILD | (visible ? WS_VISIBLE : 0), CRect(0, 0, 0, 0), parent, id);
    }
    CSize CalcFixedLayout(BOOL stretch, BOOL horz) override
    {
        return CSize(stretch && horz ? 32767 : natural.cx, stretch && !horz ? 32767 : natural.cy);
    }
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SIZEPARENT) ++sizeParents;
        return CControlBar::WindowProc(message, wParam, lParam);
    }
};

constexpr UINT kTopId = AFX_IDW_CONTROLBAR_FIRST + 20;
constexpr UINT kLeftId = AFX_IDW_CONTROLBAR_FIRST + 21;
constexpr UINT kBottomId = AFX_IDW_CONTROLBAR_FIRST + 22;

}  // namespace

WTEST(reposition_bars_queries_and_lays_out_by_size_parent)
{
    CWnd parent;
    WCHECK(parent.CreateEx(0, nullptr, "bars", WS_POPUP | WS_VISIBLE, CRect(20, 20, 320, 220), nullptr, 0));
    // Z-order (creation order) decides who takes room first.
    CFixedBar top(CSize(120, 30)), left(CSize(40, 100)), bottom(CSize(90, 20)), outside(CSize(10, 10));
    WCHECK(top.CreateBar(&parent, CBRS_ALIGN_TOP, kTopId));
    WCHECK(left.CreateBar(&parent, CBRS_ALIGN_LEFT, kLeftId));
    WCHECK(bottom.CreateBar(&parent, CBRS_ALIGN_BOTTOM, kBottomId));
    WCHECK(outside.CreateBar(&parent, CBRS_ALIGN_TOP, 0x100));  // id outside the range
    CWnd client;
    WCHECK(client.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1, 1), &parent, AFX_IDW_PANE_FIRST));
    const UINT first = AFX_IDW_CONTROLBAR_FIRST, last = AFX_IDW_CONTROLBAR_LAST;

    // Queries move nothing: stretched, the room left; else the bars' total size
    // (summed across their sides, the largest along them).
    CRect r;
    parent.RepositionBars(first, last, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &r, nullptr, TRUE);
    WCHECK_EQ(RectText(r), "40,30,300,180");
    parent.RepositionBars(first, last, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &r, nullptr, FALSE);
    WCHECK_EQ(RectText(r), "0,0,160,120");
    WCHECK_EQ(RectText(WindowRectIn(&top, &parent)), "0,0,0,0");
    CRect small(0, 0, 100, 80);
    parent.RepositionBars(first, last, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &r, &small, TRUE);
    WCHECK_EQ(RectText(r), "40,30,100,60");  // bars are cut to the room there is

    // Layout: each bar takes its side of what is left, the client the rest.
    parent.RepositionBars(first, last, AFX_IDW_PANE_FIRST);
    WCHECK_EQ(RectText(WindowRectIn(&top, &parent)), "0,0,300,30");
    WCHECK_EQ(RectText(WindowRectIn(&left, &parent)), "0,30,40,200");
    WCHECK_EQ(RectText(WindowRectIn(&bottom, &parent)), "40,180,300,200");
    WCHECK_EQ(RectText(WindowRectIn(&client, &parent)), "40,30,300,180");
    WCHECK_EQ(outside.sizeParents, 0);
    CRect insets(5, 6, 7, 8);
    parent.RepositionBars(first, last, AFX_IDW_PANE_FIRST, CWnd::reposExtra, &insets);
    WCHECK_EQ(RectText(WindowRectIn(&client, &parent)), "45,36,293,172");
    client.MoveWindow(1, 2, 3, 4);
    parent.RepositionBars(first, last, AFX_IDW_PANE_FIRST, CWnd::reposExtra | CWnd::reposNoPosLeftOver, &insets);
    WCHECK_EQ(RectText(WindowRectIn(&client, &parent)), "1,2,4,6");

    // A delayed show counts in a query (the window stays hidden) and happens in the
    // next layout; a delayed hide gives the room back.
    bottom.ShowWindow(SW_HIDE);
    parent.RepositionBars(first, last, AFX_IDW_PANE_FIRST);
    WCHECK_EQ(RectText(WindowRectIn(&client, &parent)), "40,30,300,200");
    bottom.DelayShow(TRUE);
    WCHECK(bottom.IsVisible());
    WCHECK(!bottom.IsWindowVisible());
    parent.RepositionBars(first, last, AFX_IDW_PANE_FIRST, CWnd::reposQuery, &r, nullptr, TRUE);
    WCHECK_EQ(RectText(r), "40,30,300,180");
    WCHECK(!bottom.IsWindowVisible());
    WCHECK((bottom.m_nStateFlags & CControlBar::delayShow) != 0);
    parent.RepositionBars(first, last, AFX_IDW_PANE_FIRST);
    WCHECK(bottom.IsWindowVisible());
    WCHECK_EQ(bottom.m_nStateFlags, 0u);
    WCHECK_EQ(RectText(WindowRectIn(&client, &parent)), "40,30,300,180");
    top.DelayShow(FALSE);
    WCHECK(!top.IsVisible());
    WCHECK(top.IsWindowVisible());
    parent.RepositionBars(first, last, AFX_IDW_PANE_FIRST);
    WCHECK(!top.IsWindowVisible());
    WCHECK_EQ(RectText(WindowRectIn(&left, &parent)), "0,0,40,200");
    WCHECK_EQ(RectText(WindowRectIn(&client, &parent)), "40,0,300,180");
    parent.DestroyWindow();
}

WTEST(message_bar_shows_prompts_and_status_panes_follow_their_commands)
{
    auto* f = new CBarFrame;
    WCHECK(f->LoadFrame(IDR_PROBE_FRAME));
    f->ShowWindow(SW_SHOW);
    CStatusBar& bar = f->status;
    WCHECK(f->GetMessageBar() == &bar);
    WCHECK(f->GetControlBar(AFX_IDW_STATUS_BAR) == &bar);
    WCHECK(bar.m_pDockSite == f);
    WCHECK((bar.GetStyle() & SBARS_SIZEGRIP) != 0);  // the frame has a sizing border
    PumpPending();  // the idle prompt posted at creation
    WCHECK_EQ(std::string(bar.GetPaneText(0)), "Ready");
    WCHECK_EQ(PartText(bar, 0), "Ready");

    // Panes by command id; the first, without text of its own, stretches borderless.
    WCHECK_EQ(bar.GetCount(), 4);
    WCHECK_EQ(bar.CommandToIndex(ID_INDICATOR_NUM), 2);
    WCHECK_EQ(bar.CommandToIndex(999), -1);
    UINT id = 1, style = 0;
    int width = 0;
    bar.GetPaneInfo(0, id, style, width);
    WCHECK_EQ(id, 0u);
    WCHECK_EQ(style, UINT(SBPS_STRETCH | SBPS_NOBORDERS));
    WCHECK_EQ(std::string(bar.GetPaneText(1)), "CAP");
    CRect panes[4];
    for (int i = 0; i < 4; ++i) bar.GetItemRect(i, &panes[i]);
    CRect client;
    bar.GetClientRect(&client);
    WCHECK(panes[0].Width() > panes[1].Width());
    for (int i = 1; i < 4; ++i) WCHECK(panes[i].left >= panes[i - 1].right);
    WCHECK(panes[3].right <= client.right);
    bar.SetPaneInfo(3, ID_INDICATOR_SCRL, SBPS_NORMAL, 120);
    CRect wider, stretch;
    bar.GetItemRect(3, &wider);
    bar.GetItemRect(0, &stretch);
    WCHECK(wider.Width() > panes[3].Width());
    WCHECK(stretch.Width() < panes[0].Width());  // the stretching pane gave the room

    // Prompts: a command's string up to its line feed, a text as it is, the idle prompt back.
    f->SetMessageText(ID_PROBE_ALPHA);
    WCHECK_EQ(PartText(bar, 0), "Alpha prompt");
    WCHECK_EQ(f->m_nIDLastMessage, UINT(ID_PROBE_ALPHA));
    f->SetMessageText("free text");
    WCHECK_EQ(Text(&bar), "free text");
    f->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    WCHECK_EQ(PartText(bar, 0), "Ready");
    // A menu item's prompt shows when the menu loop idles; a closed menu brings "Ready".
    HMENU popup = ::GetSubMenu(::GetMenu(f->m_hWnd), 0);
    f->SendMessage(WM_MENUSELECT, MAKEWPARAM(ID_PROBE_BETA, MF_STRING), (LPARAM)popup);
    WCHECK_EQ(f->m_nIDTracking, UINT(ID_PROBE_BETA));
    WCHECK_EQ(PartText(bar, 0), "Ready");
    f->SendMessage(WM_ENTERIDLE, MSGF_MENU, 0);
    WCHECK_EQ(PartText(bar, 0), "Beta prompt");
    f->SendMessage(WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    WCHECK_EQ(PartText(bar, 0), "Ready");
    f->SendMessage(WM_MENUSELECT, MAKEWPARAM(SC_CLOSE, MF_STRING | MF_SYSMENU), 0);
    WCHECK_EQ(f->m_nIDTracking, UINT(AFX_IDS_SCCLOSE));

    // Key indicators are enabled while their key is locked; a disabled pane keeps its
    // text but shows none.
    BYTE keys[256];
    ::GetKeyboardState(keys);
    keys[VK_CAPITAL] &= ~1;
    keys[VK_NUMLOCK] |= 1;
    ::SetKeyboardState(keys);
    RunIdle();
    WCHECK((bar.GetPaneStyle(1) & SBPS_DISABLED) != 0);
    WCHECK_EQ(std::string(bar.GetPaneText(1)), "CAP");
    WCHECK_EQ(PartText(bar, 1), "");
    WCHECK((bar.GetPaneStyle(2) & SBPS_DISABLED) == 0);
    WCHECK_EQ(PartText(bar, 2), "NUM");
    keys[VK_CAPITAL] |= 1;
    ::SetKeyboardState(keys);
    RunIdle();
    WCHECK((bar.GetPaneStyle(1) & SBPS_DISABLED) == 0);
    WCHECK_EQ(PartText(bar, 1), "CAP");
    keys[VK_CAPITAL] &= ~1;
    keys[VK_NUMLOCK] &= ~1;
    ::SetKeyboardState(keys);

    // In help mode a system command asks for its help: id 0x1EF00 + (SC - 0xF000) / 16.
    f->m_bHelpMode = CFrameWnd::HELP_ACTIVE;
    f->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    WCHECK_EQ(f->commandHelp, 0x1EF06u);
    WCHECK(::IsWindow(f->m_hWnd));
    f->m_bHelpMode = CFrameWnd::HELP_INACTIVE;

    // The status bar sits at the bottom of the client area, the whole width.
    CRect frameClient, barRect = WindowRectIn(&bar, f);
    f->GetClientRect(&frameClient);
    WCHECK_EQ(barRect.bottom, frameClient.bottom);
    WCHECK_EQ(barRect.Width(), frameClient.Width());
    // The standard command hides and shows it.
    f->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    WCHECK(!bar.IsWindowVisible());
    f->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    WCHECK(bar.IsWindowVisible());
    f->DestroyWindow();
}

namespace {

// A frame whose client is a static splitter, made as programs make it.
class CSplitFrame : public CBarFrame {
public:
    CSplitterWnd split;
    BOOL OnCreateClient(LPCREATESTRUCTA, CCreateContext* context) override
    {
        return split.CreateStatic(this, 1, 2) &&
               split.CreateView(0, 0, RUNTIME_CLASS(CWnd), CSize(80, 0), context) &&
               split.CreateView(0, 1, RUNTIME_CLASS(CWnd), CSize(0, 0), context);
    }
};

}  // namespace

WTEST(frame_client_window_takes_the_room_the_bars_leave_and_closing_ends_the_frame)
{
    auto* f = new CSplitFrame;
    WCHECK(f->Create(nullptr, "split", WS_OVERLAPPEDWINDOW, CRect(50, 50, 450, 350), nullptr,
                     MAKEINTRESOURCEA(IDR_PROBE_FRAME)));
    WCHECK(!f->IsWindowVisible());
    f->ActivateFrame();  // hidden: shown normally
    WCHECK(f->IsWindowVisible());
    WCHECK(f->split.GetDlgCtrlID() == int(AFX_IDW_PANE_FIRST));
    CRect client, split = WindowRectIn(&f->split, f), status = WindowRectIn(&f->status, f);
    f->GetClientRect(&client);
    WCHECK_EQ(RectText(split), RectText(CRect(0, 0, client.right, status.top)));
    int cur = 0, min = 0;
    f->split.GetColumnInfo(0, cur, min);
    WCHECK_EQ(cur, 80);

    // The modal state disables the frame until the last one ends.
    f->BeginModalState();
    f->BeginModalState();
    WCHECK(f->InModalState());
    WCHECK(!f->IsWindowEnabled());
    f->EndModalState();
    WCHECK(!f->IsWindowEnabled());
    f->EndModalState();
    WCHECK(!f->InModalState());
    WCHECK(f->IsWindowEnabled());

    // Closing a frame without a document destroys it, and the object with it.
    int deleted = g_framesDeleted;
    HWND h = f->m_hWnd;
    f->SendMessage(WM_CLOSE);
    WCHECK(!::IsWindow(h));
    WCHECK_EQ(g_framesDeleted, deleted + 1);
}

WTEST(toolbar_from_a_resource_follows_update_handlers_and_clicks)
{
    auto* f = new CBarFrame;
    f->withToolbar = TRUE;
    WCHECK(f->Create(nullptr, "toolbar", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 500, 400), nullptr,
                     MAKEINTRESOURCEA(IDR_PROBE_FRAME)));
    CToolBar& bar = f->toolbar;
    WCHECK(bar.m_hWnd != nullptr);
    WCHECK(f->GetControlBar(AFX_IDW_TOOLBAR) == &bar);

    // Five entries: 100, 101, separator, 102, 103; images count over the buttons.
    WCHECK_EQ(bar.GetCount(), 5);
    WCHECK_EQ(bar.CommandToIndex(ID_PROBE_GAMMA), 3);
    WCHECK_EQ(bar.GetItemID(2), 0u);
    UINT id = 0, style = 0;
    int image = -1;
    bar.GetButtonInfo(3, id, style, image);
    WCHECK_EQ(id, UINT(ID_PROBE_GAMMA));
    WCHECK_EQ(LOWORD(style), UINT(TBSTYLE_BUTTON));
    WCHECK_EQ(image, 2);
    bar.GetButtonInfo(2, id, style, image);
    WCHECK_EQ(LOWORD(style), UINT(TBSTYLE_SEP));
    WCHECK_EQ(image, 8);  // a separator's width
    WCHECK_EQ(bar.m_sizeImage.cx, 16L);
    WCHECK_EQ(bar.m_sizeButton.cx, 23L);
    WCHECK(bar.SendMessage(TB_GETIMAGELIST) != 0);
    CRect first, second;
    bar.GetItemRect(0, &first);
    bar.GetItemRect(1, &second);
    WCHECK_EQ(first.Width(), 23L);
    WCHECK_EQ(second.left, first.right);
    WCHECK(!bar.LoadToolBar(999));

    // The bar lies along the top of the frame's client area.
    CRect barRect = WindowRectIn(&bar, f), frameClient;
    f->GetClientRect(&frameClient);
    WCHECK_EQ(barRect.top, 0L);
    WCHECK_EQ(barRect.Width(), frameClient.Width());
    WCHECK(barRect.Height() >= 22);

    // Idle time: a command without a handler is disabled, Beta by its update handler.
    RunIdle();
    auto enabled = [&](UINT cmd) { return bar.SendMessage(TB_ISBUTTONENABLED, cmd) != 0; };
    WCHECK(enabled(ID_PROBE_ALPHA));
    WCHECK(!enabled(ID_PROBE_BETA));
    WCHECK(!enabled(ID_PROBE_GAMMA));
    WCHECK(!enabled(ID_PROBE_APP));
    WCHECK((bar.GetButtonStyle(1) & TBBS_DISABLED) != 0);
    WCHECK((bar.GetButtonStyle(0) & TBBS_DISABLED) == 0);

    // A click on the first button runs the frame's command.
    f->SetForegroundWindow();
    PumpPending();
    CPoint centre = first.CenterPoint();
    bar.ClientToScreen(&centre);
    MouseTo(centre);
    MouseButton(true);
    MouseButton(false);
    WCHECK(PumpUntil([&] { return f->alpha == 1; }));

    // Fly-by: the button under the mouse puts its prompt in the message bar; leaving
    // the bar brings the idle prompt back.
    bar.SetBarStyle(bar.GetBarStyle() | CBRS_FLYBY);
    f->SetMessageText(AFX_IDS_IDLEMESSAGE);
    CPoint over = second.CenterPoint();
    bar.ClientToScreen(&over);
    MouseTo(over);
    WCHECK(PumpUntil([&] { return PartText(f->status, 0) == "Beta prompt"; }));
    CRect frameClient2;
    f->GetClientRect(&frameClient2);
    CPoint away = frameClient2.CenterPoint();
    f->ClientToScreen(&away);
    MouseTo(away);
    WCHECK(PumpUntil([&] { return PartText(f->status, 0) == "Ready"; }));
    f->DestroyWindow();
}

namespace {

class CProbeChild : public CMDIChildWnd {
public:
    int alpha = 0;
    void OnAlpha() { ++alpha; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeChild, CMDIChildWnd)
    ON_COMMAND(ID_PROBE_ALPHA, OnAlpha)
END_MESSAGE_MAP()

}  // namespace

WTEST(mdi_frame_lays_out_its_client_and_routes_to_the_active_child)
{
    auto* f = new CMDIFrameWnd;
    WCHECK(f->LoadFrame(IDR_PROBE_MDI));
    f->ShowWindow(SW_SHOW);
    WCHECK(f->m_hWndMDIClient != nullptr);
    WCHECK_EQ(::GetDlgCtrlID(f->m_hWndMDIClient), int(AFX_IDW_PANE_FIRST));
    CRect clientRect, frameClient;
    ::GetWindowRect(f->m_hWndMDIClient, &clientRect);
    f->ScreenToClient(&clientRect);
    f->GetClientRect(&frameClient);
    WCHECK_EQ(RectText(clientRect), RectText(frameClient));
    WCHECK(f->MDIGetActive() == nullptr);

    auto* a = new CProbeChild;
    auto* b = new CProbeChild;
    WCHECK(a->Create(nullptr, "A", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(0, 0, 200, 150), f));
    WCHECK(b->Create(nullptr, "B", WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, CRect(20, 20, 220, 170), f));
    WCHECK(::GetParent(a->m_hWnd) == f->m_hWndMDIClient);
    WCHECK(a->GetMDIFrame() == f);
    WCHECK(f->MDIGetActive() == b);
    WCHECK(f->GetActiveFrame() == b);
    f->MDIActivate(a);
    BOOL maximized = TRUE;
    WCHECK(f->MDIGetActive(&maximized) == a);
    WCHECK(!maximized);
    // The frame's commands reach the active child first.
    f->SendMessage(WM_COMMAND, ID_PROBE_ALPHA);
    WCHECK_EQ(a->alpha, 1);
    WCHECK_EQ(b->alpha, 0);
    b->DestroyWindow();
    WCHECK(f->MDIGetActive() == a);
    f->DestroyWindow();
}
