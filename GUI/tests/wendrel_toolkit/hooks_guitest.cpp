// Hook sinks on real windows: order, consuming, detaching (also while a
// message is being offered), teardown at WM_NCDESTROY and nested messages;
// command delivery and the profile of a window inside a floating bar.
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "afxext.h"
#include "afxwin.h"
#include "commands/cmd_manager.h"
#include "icons/cmd_icon.h"
#include "hooks/hook_sink.h"
#include "hooks/mouse_capture_sink.h"
#include "toolkit/bar_types.h"
#include "wtest.h"

namespace {

// What the test windows' own procedure saw: "<message> <wParam> <lParam>".
std::vector<std::string> g_windowLog;

std::string Entry(UINT m, WPARAM w, LPARAM l) {
    return std::to_string(m) + " " + std::to_string(w) + " " + std::to_string(l);
}

LRESULT CALLBACK TestWndProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_SIZE || m >= WM_USER || m == WM_NCDESTROY || m == WM_COMMAND || m == WM_SYSCOMMAND) {
        g_windowLog.push_back(Entry(m, w, l));
        if (m >= WM_USER) return 1000 + (m - WM_USER);
        if (m == WM_SYSCOMMAND || m == WM_COMMAND) return 1;
    }
    return ::DefWindowProcA(h, m, w, l);
}

HWND NewWindow(HWND parent = nullptr) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = TestWndProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "WendrelHookTest";
        ::RegisterClassA(&wc);
        registered = true;
    }
    const DWORD style = parent ? WS_CHILD : WS_OVERLAPPEDWINDOW;
    return ::CreateWindowExA(0, "WendrelHookTest", "", style, 0, 0, 100, 80, parent, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

bool Logged(UINT m) {
    for (const std::string& e : g_windowLog)
        if (e.rfind(std::to_string(m) + " ", 0) == 0) return true;
    return false;
}

// A sink that logs what it is offered and does what the test tells it.
class TestSink : public VEzaHookSink {
public:
    TestSink(std::string name, std::vector<std::string>* log, bool autoDelete = false, bool detailed = false)
        : VEzaHookSink(detailed), m_name(std::move(name)), m_log(log), m_autoDelete(autoDelete) {}
    ~TestSink() override {
        if (m_alive) *m_alive = false;
    }
    bool IsAutoDeleteHookWndSink() override { return m_autoDelete; }
    bool OnHookWndMsg(LRESULT& result, HWND h, UINT m, WPARAM& w, LPARAM& l) override {
        if (m >= WM_USER || m == WM_SIZE) m_log->push_back(m_name + " " + std::to_string(m));
        if (m_onMsg && m_onMsg(result, h, m, w, l)) return true;
        return VEzaHookSink::OnHookWndMsg(result, h, m, w, l);
    }
    bool OnHookCmdMsg(LRESULT& result, HWND, WORD code, WORD id, HWND) override {
        m_log->push_back(m_name + " command " + std::to_string(code) + " " + std::to_string(id));
        result = 5;
        return true;
    }
    void OnHookWndNcDestroy() override { m_log->push_back(m_name + " ncdestroy"); }
    void OnHookWndAttach(HWND) override { m_log->push_back(m_name + " attach"); }
    void OnHookWndDetach(HWND) override { m_log->push_back(m_name + " detach"); }

    std::string m_name;
    std::vector<std::string>* m_log;
    bool m_autoDelete;
    bool* m_alive = nullptr;
    std::function<bool(LRESULT&, HWND, UINT, WPARAM&, LPARAM&)> m_onMsg;
};

bool InMap(HWND h) {
    VEzaHookSink::HookSinkArray_t* chain = nullptr;
    return VEzaHookSink::g_HookSinkMap.Lookup(h, chain) != FALSE;
}

}  // namespace

WTEST(attaching_twice_keeps_one_entry_and_head_sinks_come_first) {
    std::vector<std::string> log;
    HWND h = NewWindow();
    TestSink a("a", &log), b("b", &log);
    WCHECK(a.SetupHookWndSink(h));
    WCHECK(a.SetupHookWndSink(h));
    WCHECK(b.SetupHookWndSink(h, false, true));
    WCHECK(a.IsHookedWindow(h) && b.IsHookedWindow(h));
    ::SendMessageA(h, WM_USER + 1, 0, 0);
    const std::vector<std::string> expected = {"a attach", "b attach", "b 1025", "a 1025"};
    WCHECK(log == expected);
    WCHECK(Logged(WM_USER + 1));
    ::DestroyWindow(h);
}

WTEST(a_consuming_sink_answers_instead_of_the_window) {
    std::vector<std::string> log;
    g_windowLog.clear();
    HWND h = NewWindow();
    TestSink eater("eater", &log), later("later", &log);
    eater.m_onMsg = [](LRESULT& r, HWND, UINT m, WPARAM&, LPARAM&) {
        if (m != WM_SIZE) return false;
        r = 77;
        return true;
    };
    eater.SetupHookWndSink(h);
    later.SetupHookWndSink(h);
    g_windowLog.clear();
    WCHECK_EQ(::SendMessageA(h, WM_SIZE, 0, MAKELPARAM(10, 10)), LRESULT(77));
    WCHECK(!Logged(WM_SIZE));
    WCHECK(log.back() == "eater 5");
    // Others pass through, with the window's own answer.
    WCHECK_EQ(::SendMessageA(h, WM_USER + 3, 0, 0), LRESULT(1003));
    ::DestroyWindow(h);
}

WTEST(detaching_the_last_sink_keeps_the_subclass_until_the_window_dies) {
    std::vector<std::string> log;
    HWND h = NewWindow();
    const LONG_PTR own = ::GetWindowLongPtrA(h, GWLP_WNDPROC);
    TestSink a("a", &log);
    auto* deleting = new TestSink("auto", &log, true);
    bool deletingAlive = true;
    deleting->m_alive = &deletingAlive;
    a.SetupHookWndSink(h);
    deleting->SetupHookWndSink(h);
    WCHECK(a.SetupHookWndSink(h, true));
    WCHECK(!a.IsHookedWindow(h));
    WCHECK_EQ(::GetWindowLongPtrA(h, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&VEzaHookSink::HookWndProc));
    WCHECK(own != reinterpret_cast<LONG_PTR>(&VEzaHookSink::HookWndProc));

    g_windowLog.clear();
    ::DestroyWindow(h);
    WCHECK(Logged(WM_NCDESTROY));
    WCHECK(!InMap(h));
    WCHECK(!deletingAlive);  // an auto-deleting sink goes with its window
    WCHECK(log.back() == "auto ncdestroy");
}

WTEST(missing_windows) {
    std::vector<std::string> log;
    TestSink a("a", &log);
    HWND gone = NewWindow();
    ::DestroyWindow(gone);
    WCHECK(!a.SetupHookWndSink(gone));
    WCHECK(a.SetupHookWndSink(gone, true));
    WCHECK(!a.SetupHookWndSink(nullptr));
    WCHECK(log.empty());
}

WTEST(sinks_detached_while_a_message_is_offered_are_skipped) {
    std::vector<std::string> log;
    HWND h = NewWindow();
    auto* first = new TestSink("first", &log);
    auto* victim = new TestSink("victim", &log, true);
    auto* last = new TestSink("last", &log);
    bool victimAlive = true;
    victim->m_alive = &victimAlive;
    bool victimAliveInWindow = false;
    // The first sink detaches itself and the auto-deleting victim.
    first->m_onMsg = [&](LRESULT&, HWND hw, UINT m, WPARAM&, LPARAM&) {
        if (m == WM_USER + 5) {
            first->SetupHookWndSink(hw, true);
            victim->SetupHookWndSink(hw, true);
        }
        return false;
    };
    first->SetupHookWndSink(h);
    victim->SetupHookWndSink(h);
    last->SetupHookWndSink(h);
    g_windowLog.clear();
    TestSink watcher("watcher", &log);
    // The window's own procedure runs while the victim's deletion waits.
    watcher.m_onMsg = [&](LRESULT&, HWND, UINT m, WPARAM&, LPARAM&) {
        if (m == WM_USER + 5) victimAliveInWindow = victimAlive;
        return false;
    };
    watcher.SetupHookWndSink(h);
    WCHECK_EQ(::SendMessageA(h, WM_USER + 5, 0, 0), LRESULT(1005));
    const std::vector<std::string> expected = {"first attach", "victim attach", "last attach", "watcher attach",
                                               "first 1029",   "first detach",  "victim detach", "last 1029",
                                               "watcher 1029"};
    WCHECK(log == expected);
    WCHECK(victimAliveInWindow);
    WCHECK(!victimAlive);  // deleted once the dispatch returned
    WCHECK(Logged(WM_USER + 5));
    delete first;
    ::DestroyWindow(h);
    delete last;
}

WTEST(a_sink_may_swallow_the_windows_ncdestroy) {
    std::vector<std::string> log;
    HWND h = NewWindow();
    TestSink eater("eater", &log);
    eater.m_options |= VEzaHookSink::OPTION_EAT_NCDESTROY;
    eater.SetupHookWndSink(h);
    g_windowLog.clear();
    ::DestroyWindow(h);
    WCHECK(!Logged(WM_NCDESTROY));
    WCHECK(!InMap(h));
    WCHECK(!eater.IsHookedWindow(h));
}

WTEST(nested_messages_restore_the_hooked_message) {
    std::vector<std::string> log;
    HWND h = NewWindow();
    TestSink sink("s", &log);
    LRESULT fromDefault = 0;
    sink.m_onMsg = [&](LRESULT& r, HWND hw, UINT m, WPARAM&, LPARAM&) {
        if (m != WM_USER + 1) return false;
        ::SendMessageA(hw, WM_USER + 2, 22, 222);
        fromDefault = sink.OnHookWndMsgDefault();  // the message being hooked, not the nested one
        r = fromDefault;
        return true;
    };
    sink.SetupHookWndSink(h);
    g_windowLog.clear();
    WCHECK_EQ(::SendMessageA(h, WM_USER + 1, 11, 111), LRESULT(1001));
    const std::vector<std::string> expected = {Entry(WM_USER + 2, 22, 222), Entry(WM_USER + 1, 11, 111)};
    WCHECK(g_windowLog == expected);
    WCHECK_EQ(sink.OnHookWndMsgNextProcInvoke(WM_USER + 4, 0, 0), LRESULT(0));  // nothing hooked now
    ::DestroyWindow(h);
}

WTEST(detailed_hooks_route_commands) {
    std::vector<std::string> log;
    HWND h = NewWindow();
    TestSink plain("plain", &log), detailed("detailed", &log, false, true);
    plain.SetupHookWndSink(h);
    detailed.SetupHookWndSink(h);
    g_windowLog.clear();
    WCHECK_EQ(::SendMessageA(h, WM_COMMAND, MAKEWPARAM(40001, 3), 0), LRESULT(5));
    WCHECK(log.back() == "detailed command 3 40001");
    WCHECK(!Logged(WM_COMMAND));
    ::DestroyWindow(h);
}

WTEST(remove_all_hooks_of_an_auto_deleting_sink) {
    std::vector<std::string> log;
    HWND h1 = NewWindow(), h2 = NewWindow();
    auto* sink = new TestSink("all", &log, true);
    bool alive = true;
    sink->m_alive = &alive;
    sink->SetupHookWndSink(h1);
    sink->SetupHookWndSink(h2);
    sink->RemoveAllWndHooks();
    WCHECK(!alive);
    WCHECK_EQ(std::count(log.begin(), log.end(), std::string("all detach")), 2L);
    ::DestroyWindow(h1);
    ::DestroyWindow(h2);
}

WTEST(deliver_sends_system_commands_with_the_cursor_position) {
    HWND h = NewWindow();
    VEzaCmdProfile profile("deliver");
    profile.CmdSetup(VEzaCmdItem(0xF060));
    profile.CmdSetup(VEzaCmdItem(0xE210));
    profile.CmdSetup(VEzaCmdItem(40001));
    g_windowLog.clear();
    POINT pt{};
    ::GetCursorPos(&pt);
    WCHECK(profile.CmdGetPtr(0xF060)->Deliver(h, true));
    WCHECK(profile.CmdGetPtr(0xE210)->Deliver(h, true));
    WCHECK(profile.CmdGetPtr(40001)->Deliver(h, true));
    const std::vector<std::string> expected = {Entry(WM_SYSCOMMAND, 0xF060, MAKELPARAM(pt.x, pt.y)),
                                               Entry(WM_COMMAND, 0xE210, 0), Entry(WM_COMMAND, 40001, 0)};
    WCHECK(g_windowLog == expected);
    WCHECK_EQ(profile.CmdGetPtr(40001)->GetUsageCount(), UINT(1));
    WCHECK_EQ(profile.CmdGetPtr(0xF060)->GetUsageCount(), UINT(0));  // basic: not counted
    WCHECK_EQ(profile.m_nTotalUsage, UINT(1));
    WCHECK(!profile.CmdGetPtr(40001)->Deliver(HWND(nullptr)));
    WCHECK(!profile.CmdGetPtr(40001)->Deliver(static_cast<CControlBar*>(nullptr)));

    // Posted: arrives through the queue.
    g_windowLog.clear();
    WCHECK(profile.CmdGetPtr(40001)->Deliver(h, false));
    MSG msg;
    while (::PeekMessageA(&msg, h, 0, 0, PM_REMOVE)) ::DispatchMessageA(&msg);
    WCHECK(Logged(WM_COMMAND));
    ::DestroyWindow(h);
}

WTEST(a_control_in_a_floating_bar_finds_its_frames_profile) {
    VEzaCmdManager manager;
    manager.ProfileSetup("frame");
    HWND frameWnd = NewWindow();
    HWND miniFrame = NewWindow();  // a floating bar's frame: not a child of the frame
    HWND barWnd = NewWindow(miniFrame);
    HWND control = NewWindow(barWnd);
    WCHECK(manager.ProfileWndAdd("frame", frameWnd));

    CFrameWnd* frame = new CFrameWnd;
    WCHECK(frame->SubclassWindow(frameWnd));
    VEzaStatusControlBar bar;
    WCHECK(bar.SubclassWindow(barWnd));
    WCHECK(manager.ProfileNameFromWnd(control) == nullptr);  // no dock site yet
    bar.m_pDockSite = frame;
    WCHECK_EQ(CString(manager.ProfileNameFromWnd(control)), CString("frame"));
    WCHECK_EQ(CString(manager.ProfileNameFromWnd(frameWnd)), CString("frame"));
    bar.m_pDockSite = nullptr;
    bar.UnsubclassWindow();
    frame->UnsubclassWindow();
    delete frame;
    ::DestroyWindow(miniFrame);
    ::DestroyWindow(frameWnd);
}

WTEST(an_exception_from_a_sink_stops_at_the_window_procedure) {
    std::vector<std::string> log;
    HWND h = NewWindow();
    TestSink thrower("thrower", &log);
    thrower.m_onMsg = [](LRESULT&, HWND, UINT m, WPARAM&, LPARAM&) -> bool {
        if (m == WM_USER + 9) AfxThrowUserException();
        return false;
    };
    thrower.SetupHookWndSink(h);
    const MSG before = AfxGetThreadState()->m_lastSentMsg;
    WCHECK_EQ(::SendMessageA(h, WM_USER + 9, 0, 0), LRESULT(0));
    WCHECK(AfxGetThreadState()->m_lastSentMsg.hwnd == before.hwnd);
    WCHECK_EQ(AfxGetThreadState()->m_lastSentMsg.message, before.message);
    WCHECK_EQ(::SendMessageA(h, WM_USER + 8, 0, 0), LRESULT(1008));
    ::DestroyWindow(h);
}

namespace {

// A command target with an update handler for 40001 and a command handler for 40002.
class UpdateTarget : public CWnd {
public:
    void OnUpdateOpen(CCmdUI* ui) {
        ui->SetCheck(1);
        ui->Enable(FALSE);
    }
    void OnSave() {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(UpdateTarget, CWnd)
    ON_UPDATE_COMMAND_UI(40001, OnUpdateOpen)
    ON_COMMAND(40002, OnSave)
END_MESSAGE_MAP()

}  // namespace

WTEST(command_update_runs_the_targets_handlers) {
    UpdateTarget target;
    VEzaCmdItem open(40001), save(40002), none(40003);
    WCHECK(open.DoUpdateCmdUI(&target));
    WCHECK(open.IsChecked());
    WCHECK(!open.IsEnabled());
    // Without an update handler: enabled when a command handler exists.
    save.SetEnabled(false);
    WCHECK(!save.DoUpdateCmdUI(&target));
    WCHECK(save.IsEnabled());
    WCHECK(!none.DoUpdateCmdUI(&target));
    WCHECK(!none.IsEnabled());
}

WTEST(capture_goes_through_the_mix_in) {
    struct Counting : VEzaMouseCaptureSink {
        int calls = 0;
        HWND SetCapture(HWND h) override {
            ++calls;
            return VEzaMouseCaptureSink::SetCapture(h);
        }
    } sink;
    HWND h = NewWindow();
    ::ShowWindow(h, SW_SHOW);
    VEzaMouseCaptureSink& base = sink;
    base.SetCapture(h);
    WCHECK_EQ(sink.calls, 1);
    WCHECK(::GetCapture() == h);
    ::ReleaseCapture();
    ::DestroyWindow(h);
}

WTEST(update_from_a_toolbar_window_takes_texts_and_images) {
    CFrameWnd* frame = new CFrameWnd;
    WCHECK(frame->Create(nullptr, "toolbar"));
    CToolBar bar;
    WCHECK(bar.Create(frame));
    // A strip of three 16x15 images: red, green, blue squares on magenta.
    std::vector<DWORD> px(48 * 15, 0xFF00FF);
    const DWORD colours[] = {0xFF0000, 0x00A000, 0x0000FF};
    for (int i = 0; i < 3; ++i)
        for (int y = 3; y <= 11; ++y)
            for (int x = 3; x <= 12; ++x) px[y * 48 + i * 16 + x] = colours[i];
    WCHECK(bar.SetBitmap(::CreateBitmap(48, 15, 1, 32, px.data())));
    bar.SetSizes(CSize(23, 22), CSize(16, 15));
    const UINT ids[] = {40001, 0, 40004, 40002};
    WCHECK(bar.SetButtons(ids, 4));
    bar.SetButtonText(2, "Save");

    VEzaCmdProfile profile("bar");
    WCHECK(profile.UpdateFromToolBar(&bar, false, false));
    WCHECK_EQ(profile.m_cmds.GetCount(), INT_PTR(3));
    WCHECK_EQ(profile.CmdGetPtr(40004)->m_sToolbarText, CString("Save"));
    const UINT order[] = {40001, 40004, 40002};
    for (int i = 0; i < 3; ++i) {
        VEzaCmdIcon* icon = profile.CmdGetIconPtr(order[i]);
        WCHECK(icon != nullptr && !icon->IsBitmapBased());
        if (icon == nullptr) continue;
        BITMAPINFO bi{};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -15, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP dib = ::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, dib);
        std::fill(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 16 * 15, 0x808080);
        icon->Paint(dc, POINT{0, 0});
        ::GdiFlush();
        WCHECK_EQ(static_cast<DWORD*>(bits)[5 * 16 + 5] & 0xFFFFFF, colours[i]);
        // The toolbar's own image list holds the ground as it was drawn.
        WCHECK_EQ(static_cast<DWORD*>(bits)[0] & 0xFFFFFF, DWORD(0xFF00FF));
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ::DeleteObject(dib);
    }
    // A second pass keeps the icons it has.
    VEzaCmdIcon* first = profile.CmdGetIconPtr(40001);
    WCHECK(profile.UpdateFromToolBar(&bar, false, false));
    WCHECK(profile.CmdGetIconPtr(40001) == first);
    WCHECK_EQ(profile.m_icons.GetSize(), INT_PTR(3));
    frame->DestroyWindow();
}

WTEST(sinks_on_a_window_of_the_class_layer) {
    std::vector<std::string> log;
    CFrameWnd* frame = new CFrameWnd;  // deletes itself when its window goes
    WCHECK(frame->Create(nullptr, "hooked frame"));
    HWND h = frame->GetSafeHwnd();
    TestSink sink("frame", &log);
    sink.m_onMsg = [](LRESULT& r, HWND, UINT m, WPARAM&, LPARAM&) {
        if (m != WM_USER + 7) return false;
        r = 7;
        return true;
    };
    WCHECK(sink.SetupHookWndSink(h));
    WCHECK_EQ(::SendMessageA(h, WM_USER + 7, 0, 0), LRESULT(7));
    ::SetWindowTextA(h, "renamed");  // passes through to the frame's own procedure
    char text[32] = {};
    ::GetWindowTextA(h, text, sizeof text);
    WCHECK_EQ(std::string(text), std::string("renamed"));
    WCHECK(CWnd::FromHandlePermanent(h) == frame);
    frame->DestroyWindow();
    WCHECK(!::IsWindow(h));
    WCHECK(!InMap(h));
    WCHECK(CWnd::FromHandlePermanent(h) == nullptr);
    WCHECK(log.back() == "frame ncdestroy");
}
