// How map entries bind to handlers: an entry calls the member of the class whose map
// lists it, handlers are plain members, the first matching entry wins; the window
// message entries crack their arguments; thread messages; the default tooltip text and
// help hit test; the thin CWnd wrappers over placement, update region, locking, radio
// groups, owners and scroll bars.
#include "afxwin.h"

#include <string>
#include <vector>

#include "wtest.h"

namespace {

const CRect kRect(0, 0, 200, 120);

template <class T>
bool CreateTop(T& w, DWORD style = WS_POPUP)
{
    return w.CreateEx(0, nullptr, "map", style, kRect, nullptr, 0) != FALSE;
}

// ---- binding

class CBaseHandlers : public CWnd {
public:
    std::vector<std::string> log;
    afx_msg void OnLButtonDown(UINT, CPoint) { log.push_back("base button"); }
    afx_msg void OnKeyDown(UINT, UINT, UINT) { log.push_back("base key"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseHandlers, CWnd)
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

// Declares a handler of the same name but does not list the entry.
class CUnlisted : public CBaseHandlers {
public:
    afx_msg void OnLButtonDown(UINT, CPoint) { log.push_back("unlisted button"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUnlisted, CBaseHandlers)
END_MESSAGE_MAP()

// Lists the entry: its own member runs, and may call the base one.
class CListed : public CBaseHandlers {
public:
    afx_msg void OnLButtonDown(UINT flags, CPoint p)
    {
        log.push_back("listed button");
        CBaseHandlers::OnLButtonDown(flags, p);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListed, CBaseHandlers)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

// One level further down, again unlisted: the nearest listing class's member runs.
class CBelowListed : public CListed {
public:
    afx_msg void OnLButtonDown(UINT, CPoint) { log.push_back("below button"); }
};

std::vector<std::string> Press(CBaseHandlers& w)
{
    w.log.clear();
    w.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
    w.SendMessage(WM_KEYDOWN, 'A', 1);
    return w.log;
}

using Log = std::vector<std::string>;

// ---- map order

enum : UINT { kMsgTwice = WM_USER + 20, kCmdInRange = 105, kCmdDeclined = 120 };

class COrderBase : public CWnd {
public:
    std::vector<std::string> log;
    LRESULT OnBaseMsg(WPARAM, LPARAM) { log.push_back("base message"); return 1; }
    void OnBaseCommand() { log.push_back("base command"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COrderBase, CWnd)
    ON_MESSAGE(kMsgTwice, OnBaseMsg)
    ON_COMMAND(kCmdInRange, OnBaseCommand)
END_MESSAGE_MAP()

class COrder : public COrderBase {
public:
    LRESULT OnFirst(WPARAM, LPARAM) { log.push_back("first"); return 2; }
    LRESULT OnSecond(WPARAM, LPARAM) { log.push_back("second"); return 3; }
    void OnRange(UINT id) { log.push_back("range " + std::to_string(id)); }
    void OnSingle() { log.push_back("single"); }
    BOOL OnDeclining(UINT) { log.push_back("declined"); return FALSE; }
    void OnAfterDecline() { log.push_back("after decline"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(COrder, COrderBase)
    ON_MESSAGE(kMsgTwice, OnFirst)
    ON_MESSAGE(kMsgTwice, OnSecond)
    ON_COMMAND_RANGE(100, 110, OnRange)
    ON_COMMAND(kCmdInRange, OnSingle)
    ON_COMMAND_EX(kCmdDeclined, OnDeclining)
    ON_COMMAND(kCmdDeclined, OnAfterDecline)
END_MESSAGE_MAP()

}  // namespace

WTEST(a_handler_runs_through_the_map_of_the_class_that_declares_it)
{
    struct Case {
        const char* what;
        CBaseHandlers* wnd;
        Log expected;
    };
    CBaseHandlers base;
    CUnlisted unlisted;
    CListed listed;
    CBelowListed below;
    const Case cases[] = {
        {"base", &base, {"base button", "base key"}},
        // The same-named member of a class whose map does not list the entry never runs.
        {"unlisted", &unlisted, {"base button", "base key"}},
        {"listed", &listed, {"listed button", "base button", "base key"}},
        {"below listed", &below, {"listed button", "base button", "base key"}},
    };
    for (const Case& c : cases) {
        WCHECK(CreateTop(*c.wnd));
        Log got = Press(*c.wnd);
        std::string joined;
        for (auto& s : got) joined += s + "; ";
        if (got != c.expected) wtest::fail(__FILE__, __LINE__, std::string(c.what) + ": " + joined);
        c.wnd->DestroyWindow();
    }
}

WTEST(the_first_matching_entry_in_map_order_wins)
{
    COrder w;
    WCHECK(CreateTop(w));
    // Two entries for one message in one map, a third in the base map: the first.
    WCHECK_EQ(w.SendMessage(kMsgTwice), 2);
    // A range listed before a single id takes it; the base map's entry never comes.
    w.SendMessage(WM_COMMAND, kCmdInRange);
    // A declining _EX entry ends the search in this target: the next entry is not tried.
    w.SendMessage(WM_COMMAND, kCmdDeclined);
    WCHECK_EQ(w.log.size(), size_t(3));
    if (w.log.size() == 3) {
        WCHECK_EQ(w.log[0], "first");
        WCHECK_EQ(w.log[1], "range 105");
        WCHECK_EQ(w.log[2], "declined");
    }
    AFX_CMDHANDLERINFO info{};
    WCHECK(w.OnCmdMsg(kCmdDeclined, CN_COMMAND, nullptr, &info));
    WCHECK(info.pTarget == &w);
    w.DestroyWindow();
}

// ---- cracking

namespace {

// Records each handler's arguments as text; answers fixed results.
class CCracker : public CWnd {
public:
    std::string last;
    HWND other = nullptr;  // a second window that handles may name

    std::string Name(CWnd* w) const
    {
        if (!w) return "null";
        if (w->m_hWnd == m_hWnd) return "self";
        if (w->m_hWnd == other) return "other";
        return "?";
    }
    static std::string Pt(CPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    void Rec(std::string s) { last = std::move(s); }

    afx_msg void OnActivateApp(BOOL a, DWORD t) { Rec("activateapp " + std::to_string(a) + " " + std::to_string(t)); }
    afx_msg void OnNcLButtonUp(UINT h, CPoint p) { Rec("nclup " + std::to_string(h) + " " + Pt(p)); }
    afx_msg void OnNcRButtonDown(UINT h, CPoint p) { Rec("ncrdown " + std::to_string(h) + " " + Pt(p)); }
    afx_msg void OnNcRButtonUp(UINT h, CPoint p) { Rec("ncrup " + std::to_string(h) + " " + Pt(p)); }
    afx_msg void OnNcRButtonDblClk(UINT h, CPoint p) { Rec("ncrdbl " + std::to_string(h) + " " + Pt(p)); }
    afx_msg void OnNcMButtonDown(UINT h, CPoint p) { Rec("ncmdown " + std::to_string(h) + " " + Pt(p)); }
    afx_msg void OnNcMButtonUp(UINT h, CPoint p) { Rec("ncmup " + std::to_string(h) + " " + Pt(p)); }
    afx_msg void OnNcMButtonDblClk(UINT h, CPoint p) { Rec("ncmdbl " + std::to_string(h) + " " + Pt(p)); }
    afx_msg void OnMButtonDblClk(UINT f, CPoint p) { Rec("mdbl " + std::to_string(f) + " " + Pt(p)); }
    afx_msg BOOL OnNcActivate(BOOL a) { Rec("ncactivate " + std::to_string(a)); return 77; }
    afx_msg void OnStyleChanging(int t, LPSTYLESTRUCT s) { Rec("stylechanging " + std::to_string(t) + " " + std::to_string(s->styleNew)); }
    afx_msg void OnStyleChanged(int t, LPSTYLESTRUCT s) { Rec("stylechanged " + std::to_string(t) + " " + std::to_string(s->styleOld)); }
    afx_msg void OnSysChar(UINT c, UINT r, UINT f) { Rec("syschar " + std::to_string(c) + " " + std::to_string(r) + " " + std::to_string(f)); }
    afx_msg void OnSysKeyUp(UINT c, UINT r, UINT f) { Rec("syskeyup " + std::to_string(c) + " " + std::to_string(r) + " " + std::to_string(f)); }
    afx_msg void OnSysDeadChar(UINT c, UINT, UINT) { Rec("sysdeadchar " + std::to_string(c)); }
    afx_msg void OnDeadChar(UINT c, UINT, UINT) { Rec("deadchar " + std::to_string(c)); }
    afx_msg void OnParentNotify(UINT m, LPARAM l) { Rec("parentnotify " + std::to_string(m) + " " + std::to_string(l)); }
    afx_msg void OnMDIActivate(BOOL a, CWnd* on, CWnd* off) { Rec("mdiactivate " + std::to_string(a) + " " + Name(on) + " " + Name(off)); }
    afx_msg void OnEnterIdle(UINT why, CWnd* who) { Rec("enteridle " + std::to_string(why) + " " + Name(who)); }
    afx_msg void OnPaletteChanged(CWnd* w) { Rec("palettechanged " + Name(w)); }
    afx_msg BOOL OnQueryNewPalette() { Rec("querynewpalette"); return 5; }
    afx_msg void OnTimeChange() { Rec("timechange"); }
    afx_msg void OnDeleteItem(int id, LPDELETEITEMSTRUCT d) { Rec("deleteitem " + std::to_string(id) + " " + std::to_string(d->itemData)); }
    afx_msg int OnCompareItem(int id, LPCOMPAREITEMSTRUCT c) { Rec("compareitem " + std::to_string(id) + " " + std::to_string(c->itemData1)); return -1; }
    afx_msg void OnMenuSelect(UINT item, UINT flags, HMENU) { Rec("menuselect " + std::to_string(item) + " " + std::to_string(flags)); }
    afx_msg void OnEnterMenuLoop(BOOL t) { Rec("entermenuloop " + std::to_string(t)); }
    afx_msg void OnExitMenuLoop(BOOL t) { Rec("exitmenuloop " + std::to_string(t)); }
    afx_msg void OnMouseHover(UINT f, CPoint p) { Rec("hover " + std::to_string(f) + " " + Pt(p)); }
    afx_msg void OnMouseLeave() { Rec("leave"); }
    afx_msg void OnSizing(UINT side, LPRECT r) { Rec("sizing " + std::to_string(side)); r->right = r->left + 50; }
    afx_msg BOOL OnQueryOpen() { Rec("queryopen"); return TRUE; }
    afx_msg int OnCharToItem(UINT ch, CListBox* lb, UINT index)
    {
        Rec("chartoitem " + std::to_string(ch) + " " + Name(reinterpret_cast<CWnd*>(lb)) + " " + std::to_string(index));
        return -2;
    }
    afx_msg LRESULT OnNcHitTest(CPoint p) { Rec("nchittest " + Pt(p)); return HTCAPTION; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCracker, CWnd)
    ON_WM_ACTIVATEAPP()
    ON_WM_NCLBUTTONUP()
    ON_WM_NCRBUTTONDOWN()
    ON_WM_NCRBUTTONUP()
    ON_WM_NCRBUTTONDBLCLK()
    ON_WM_NCMBUTTONDOWN()
    ON_WM_NCMBUTTONUP()
    ON_WM_NCMBUTTONDBLCLK()
    ON_WM_MBUTTONDBLCLK()
    ON_WM_NCACTIVATE()
    ON_WM_STYLECHANGING()
    ON_WM_STYLECHANGED()
    ON_WM_SYSCHAR()
    ON_WM_SYSKEYUP()
    ON_WM_SYSDEADCHAR()
    ON_WM_DEADCHAR()
    ON_WM_PARENTNOTIFY()
    ON_WM_MDIACTIVATE()
    ON_WM_ENTERIDLE()
    ON_WM_PALETTECHANGED()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_TIMECHANGE()
    ON_WM_DELETEITEM()
    ON_WM_COMPAREITEM()
    ON_WM_MENUSELECT()
    ON_WM_ENTERMENULOOP()
    ON_WM_EXITMENULOOP()
    ON_WM_MOUSEHOVER()
    ON_WM_MOUSELEAVE()
    ON_WM_SIZING()
    ON_WM_QUERYOPEN()
    ON_WM_CHARTOITEM()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

}  // namespace

WTEST(window_message_entries_crack_their_arguments)
{
    CCracker w;
    WCHECK(CreateTop(w));
    CWnd other;
    WCHECK(CreateTop(other));
    w.other = other.m_hWnd;
    LPARAM at = MAKELPARAM(-5, 7);  // client and screen points are signed 16-bit
    STYLESTRUCT styles{WS_POPUP, WS_POPUP | WS_BORDER};
    DELETEITEMSTRUCT del{ODT_LISTBOX, 9, 3, nullptr, 1234};
    COMPAREITEMSTRUCT cmp{ODT_LISTBOX, 9, nullptr, 0, 55, 1, 66, 0};
    RECT sizing{10, 10, 400, 400};
    struct Case {
        UINT msg;
        WPARAM w;
        LPARAM l;
        const char* expected;
        LRESULT result;
    };
    const Case cases[] = {
        {WM_ACTIVATEAPP, TRUE, 4321, "activateapp 1 4321", 0},
        {WM_NCLBUTTONUP, HTCAPTION, at, "nclup 2 -5,7", 0},
        {WM_NCRBUTTONDOWN, HTCAPTION, at, "ncrdown 2 -5,7", 0},
        {WM_NCRBUTTONUP, HTSYSMENU, at, "ncrup 3 -5,7", 0},
        {WM_NCRBUTTONDBLCLK, HTCAPTION, at, "ncrdbl 2 -5,7", 0},
        {WM_NCMBUTTONDOWN, HTCAPTION, at, "ncmdown 2 -5,7", 0},
        {WM_NCMBUTTONUP, HTCAPTION, at, "ncmup 2 -5,7", 0},
        {WM_NCMBUTTONDBLCLK, HTCAPTION, at, "ncmdbl 2 -5,7", 0},
        {WM_MBUTTONDBLCLK, MK_MBUTTON, at, "mdbl 16 -5,7", 0},
        {WM_NCACTIVATE, TRUE, 0, "ncactivate 1", 77},
        {WM_STYLECHANGING, (WPARAM)GWL_STYLE, (LPARAM)&styles, "stylechanging -16 2155872256", 0},
        {WM_STYLECHANGED, (WPARAM)GWL_STYLE, (LPARAM)&styles, "stylechanged -16 2147483648", 0},
        {WM_SYSCHAR, 'x', MAKELPARAM(2, 0x2038), "syschar 120 2 8248", 0},
        {WM_SYSKEYUP, VK_F10, MAKELPARAM(1, 0xC044), "syskeyup 121 1 49220", 0},
        {WM_SYSDEADCHAR, '^', 0, "sysdeadchar 94", 0},
        {WM_DEADCHAR, '`', 0, "deadchar 96", 0},
        {WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(8, 9), "parentnotify 513 589832", 0},
        // Sent to the child being activated: wParam names the one deactivated.
        {WM_MDIACTIVATE, (WPARAM)other.m_hWnd, (LPARAM)w.m_hWnd, "mdiactivate 1 self other", 0},
        {WM_MDIACTIVATE, (WPARAM)w.m_hWnd, (LPARAM)other.m_hWnd, "mdiactivate 0 other self", 0},
        {WM_ENTERIDLE, MSGF_DIALOGBOX, (LPARAM)other.m_hWnd, "enteridle 0 other", 0},
        {WM_PALETTECHANGED, (WPARAM)other.m_hWnd, 0, "palettechanged other", 0},
        {WM_QUERYNEWPALETTE, 0, 0, "querynewpalette", 5},
        {WM_TIMECHANGE, 0, 0, "timechange", 0},
        // Of a child without an object: nothing to reflect to, the parent's entry answers.
        {WM_DELETEITEM, 9, (LPARAM)&del, "deleteitem 9 1234", TRUE},
        {WM_COMPAREITEM, 9, (LPARAM)&cmp, "compareitem 9 55", -1},
        {WM_MENUSELECT, MAKEWPARAM(57600, MF_POPUP), 0, "menuselect 57600 16", 0},
        {WM_ENTERMENULOOP, TRUE, 0, "entermenuloop 1", 0},
        {WM_EXITMENULOOP, FALSE, 0, "exitmenuloop 0", 0},
        {WM_MOUSEHOVER, MK_SHIFT, at, "hover 4 -5,7", 0},
        {WM_MOUSELEAVE, 0, 0, "leave", 0},
        {WM_SIZING, WMSZ_RIGHT, (LPARAM)&sizing, "sizing 2", TRUE},
        {WM_QUERYOPEN, 0, 0, "queryopen", TRUE},
        {WM_CHARTOITEM, MAKEWPARAM('k', 4), (LPARAM)other.m_hWnd, "chartoitem 107 other 4", -2},
        {WM_NCHITTEST, 0, at, "nchittest -5,7", HTCAPTION},
    };
    for (const Case& c : cases) {
        w.last.clear();
        LRESULT r = w.SendMessage(c.msg, c.w, c.l);
        if (w.last != c.expected || r != c.result)
            wtest::fail(__FILE__, __LINE__, "message 0x" + std::to_string(c.msg) + ": got \"" + w.last + "\" result " +
                                                std::to_string(r) + ", expected \"" + c.expected + "\"");
    }
    WCHECK_EQ(sizing.right, 60L);  // the handler's change reaches the sender
    other.DestroyWindow();
    w.DestroyWindow();
}

// ---- thread messages

namespace {

enum : UINT { kThreadMsg = WM_APP + 3 };

class CThreadMapApp : public CWinApp {
public:
    std::vector<std::string> log;
    void OnThreadMsg(WPARAM w, LPARAM l) { log.push_back("thread " + std::to_string(w) + " " + std::to_string(l)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThreadMapApp, CWinApp)
    ON_THREAD_MESSAGE(kThreadMsg, OnThreadMsg)
END_MESSAGE_MAP()

}  // namespace

WTEST(thread_messages_reach_the_thread_objects_map)
{
    CThreadMapApp app;
    WCHECK(AfxGetThread() == &app);
    WCHECK(::PostThreadMessageA(::GetCurrentThreadId(), kThreadMsg, 5, 6));
    WCHECK(AfxPumpMessage());
    WCHECK_EQ(app.log.size(), size_t(1));
    if (!app.log.empty()) WCHECK_EQ(app.log[0], "thread 5 6");
    // A thread message without an entry is left alone.
    WCHECK(::PostThreadMessageA(::GetCurrentThreadId(), kThreadMsg + 1, 0, 0));
    WCHECK(AfxPumpMessage());
    WCHECK_EQ(app.log.size(), size_t(1));
}

// ---- tooltip text and help hit test

namespace {

// Answers tools of id 2000 itself; declines the others, which then get the default.
class CTipHost : public CWnd {
public:
    int asked = 0;
    BOOL OnTipText(UINT id, NMHDR* nm, LRESULT*)
    {
        ++asked;
        if (id != 2000) return FALSE;
        reinterpret_cast<NMTTDISPINFOA*>(nm)->lpszText = const_cast<LPSTR>("own text");
        return TRUE;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTipHost, CWnd)
    ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnTipText)
    ON_MESSAGE(WM_HELPHITTEST, OnHelpHitTest)
END_MESSAGE_MAP()

std::string AskTip(CWnd& host, HWND tip, UINT_PTR id, UINT flags)
{
    NMTTDISPINFOA di{};
    di.hdr.hwndFrom = tip;
    di.hdr.idFrom = id;
    di.hdr.code = TTN_NEEDTEXTA;
    di.uFlags = flags;
    char none[] = "<none>";
    di.lpszText = none;
    host.SendMessage(WM_NOTIFY, (WPARAM)id, (LPARAM)&di);
    return di.lpszText ? di.lpszText : "<null>";
}

}  // namespace

WTEST(tool_tips_default_to_the_tip_part_of_the_tools_string)
{
    CTipHost host;
    WCHECK(CreateTop(host));
    CToolTipCtrl tip;
    WCHECK(tip.Create(&host));
    CWnd open, plain, two, none;
    WCHECK(open.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 20, 20), &host, 1001));
    WCHECK(plain.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(30, 0, 50, 20), &host, 1002));
    WCHECK(two.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(60, 0, 80, 20), &host, 1003));
    WCHECK(none.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(90, 0, 110, 20), &host, 1004));
    // A control tool names its window; its control id picks the string.
    WCHECK_EQ(AskTip(host, tip, (UINT_PTR)open.m_hWnd, TTF_IDISHWND), "Open");
    WCHECK_EQ(AskTip(host, tip, (UINT_PTR)two.m_hWnd, TTF_IDISHWND), "Tip");
    // No tip part, or no string: nothing is given.
    WCHECK_EQ(AskTip(host, tip, (UINT_PTR)plain.m_hWnd, TTF_IDISHWND), "<none>");
    WCHECK_EQ(AskTip(host, tip, (UINT_PTR)none.m_hWnd, TTF_IDISHWND), "<none>");
    // A tool by id: a declining handler leaves it to the default, a taking one keeps it.
    int asked = host.asked;
    WCHECK_EQ(AskTip(host, tip, 1001, 0), "Open");
    WCHECK_EQ(AskTip(host, tip, 2000, 0), "own text");
    WCHECK_EQ(host.asked, asked + 2);

    // Help hit test: the tool under the point, as a command help id.
    WCHECK_EQ(host.SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(65, 10)), (LRESULT)(HID_BASE_COMMAND + 1003));
    WCHECK_EQ(host.SendMessage(WM_HELPHITTEST, 0, MAKELPARAM(150, 80)), 0);
    tip.DestroyWindow();
    host.DestroyWindow();
}

// ---- wrappers

namespace {

enum : UINT { kMsgCurrent = WM_USER + 30, kMsgInner = WM_USER + 31 };

class CCurrent : public CWnd {
public:
    MSG outer{}, inner{}, afterInner{};
    LRESULT OnCurrent(WPARAM, LPARAM)
    {
        outer = *GetCurrentMessage();
        SendMessage(kMsgInner, 7, 8);
        afterInner = *GetCurrentMessage();
        return 0;
    }
    LRESULT OnInner(WPARAM, LPARAM)
    {
        inner = *GetCurrentMessage();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCurrent, CWnd)
    ON_MESSAGE(kMsgCurrent, OnCurrent)
    ON_MESSAGE(kMsgInner, OnInner)
END_MESSAGE_MAP()

// Its vertical bar is a sibling control, as a splitter's panes have.
class CSharedBar : public CWnd {
public:
    CScrollBar* bar = nullptr;
    CScrollBar* GetScrollBarCtrl(int which) const override { return which == SB_VERT ? bar : nullptr; }
};

}  // namespace

WTEST(current_message_is_the_one_being_dispatched)
{
    CCurrent w;
    WCHECK(CreateTop(w));
    w.SendMessage(kMsgCurrent, 3, 4);
    WCHECK(w.outer.hwnd == w.m_hWnd);
    WCHECK_EQ(w.outer.message, (UINT)kMsgCurrent);
    WCHECK_EQ(w.outer.wParam, (WPARAM)3);
    WCHECK_EQ(w.inner.message, (UINT)kMsgInner);
    WCHECK_EQ(w.inner.lParam, (LPARAM)8);
    // A nested message leaves the outer one current again.
    WCHECK_EQ(w.afterInner.message, (UINT)kMsgCurrent);
    WCHECK_EQ(w.afterInner.lParam, (LPARAM)4);
    w.DestroyWindow();
}

WTEST(placement_update_region_and_window_locking)
{
    CWnd w;
    WCHECK(CreateTop(w));
    WINDOWPLACEMENT wp{};
    wp.showCmd = SW_HIDE;
    wp.rcNormalPosition = CRect(10, 20, 210, 170);
    WCHECK(w.SetWindowPlacement(&wp));  // length filled in by the wrapper
    CRect r;
    w.GetWindowRect(&r);
    WCHECK(r == CRect(10, 20, 210, 170));
    WINDOWPLACEMENT got{};
    WCHECK(w.GetWindowPlacement(&got));
    WCHECK_EQ(got.length, (UINT)sizeof(WINDOWPLACEMENT));
    WCHECK(CRect(got.rcNormalPosition) == CRect(10, 20, 210, 170));

    w.ShowWindow(SW_SHOWNA);
    w.UpdateWindow();
    w.ValidateRect(nullptr);
    CRect update;
    WCHECK(!w.GetUpdateRect(&update));
    WCHECK(update.IsRectEmpty());
    w.InvalidateRect(CRect(5, 6, 20, 30), FALSE);
    WCHECK(w.GetUpdateRect(&update));
    WCHECK(update == CRect(5, 6, 20, 30));
    CRgn rgn;
    WCHECK(rgn.CreateRectRgn(0, 0, 0, 0));
    WCHECK_EQ(w.GetUpdateRgn(&rgn), SIMPLEREGION);
    w.ValidateRgn(&rgn);
    WCHECK(!w.GetUpdateRect(&update));

    // One locked window at a time.
    CWnd second;
    WCHECK(CreateTop(second));
    WCHECK(w.LockWindowUpdate());
    WCHECK(!second.LockWindowUpdate());
    w.UnlockWindowUpdate();
    WCHECK(second.LockWindowUpdate());
    second.UnlockWindowUpdate();
    second.DestroyWindow();
    w.DestroyWindow();
}

WTEST(radio_groups_owners_and_shared_scroll_bars)
{
    CSharedBar top;
    WCHECK(CreateTop(top));
    CButton a, b, c;
    WCHECK(a.Create("a", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | WS_GROUP, CRect(0, 0, 40, 20), &top, 11));
    WCHECK(b.Create("b", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(0, 20, 40, 40), &top, 12));
    WCHECK(c.Create("c", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(0, 40, 40, 60), &top, 13));
    WCHECK_EQ(top.GetCheckedRadioButton(11, 13), 0);
    top.CheckRadioButton(11, 13, 12);
    WCHECK_EQ(top.GetCheckedRadioButton(11, 13), 12);

    CWnd inner, innermost;
    WCHECK(inner.Create(nullptr, nullptr, WS_CHILD, CRect(50, 0, 150, 100), &top, 20));
    WCHECK(innermost.Create(nullptr, nullptr, WS_CHILD, CRect(0, 0, 10, 10), &inner, 21));
    WCHECK(innermost.GetParentOwner() == &top);
    WCHECK(top.GetParentOwner() == &top);
    HWND topLevel = nullptr;
    WCHECK(CWnd::GetSafeOwner(&innermost, &topLevel) == &top);
    WCHECK(topLevel == top.m_hWnd);

    // The window's own horizontal bar, the sibling control for the vertical one.
    CScrollBar sibling;
    WCHECK(sibling.Create(WS_CHILD | SBS_VERT, CRect(180, 0, 196, 100), &top, 30));
    top.bar = &sibling;
    SCROLLINFO si{};
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = 0;
    si.nMax = 100;
    si.nPage = 10;
    si.nPos = 40;
    top.SetScrollInfo(SB_VERT, &si);
    WCHECK_EQ(sibling.GetScrollPos(), 40);
    WCHECK_EQ(top.GetScrollPos(SB_VERT), 40);
    WCHECK_EQ(top.GetScrollLimit(SB_VERT), 91);
    top.SetScrollPos(SB_VERT, 70);
    WCHECK_EQ(sibling.GetScrollPos(), 70);
    top.SetScrollRange(SB_HORZ, 0, 50);
    top.SetScrollPos(SB_HORZ, 20);
    WCHECK_EQ(::GetScrollPos(top.m_hWnd, SB_HORZ), 20);
    WCHECK_EQ(top.GetScrollLimit(SB_HORZ), 50);
    top.EnableScrollBarCtrl(SB_VERT, FALSE);
    WCHECK(!sibling.IsWindowEnabled());
    top.DestroyWindow();
}
