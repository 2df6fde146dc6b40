// The application run: InitInstance, the pump with pre-translation and idle processing
// (command UI updates to the main window and its descendants, then temporaries freed),
// and ExitInstance with the quit code once the windows are gone; the end of the main
// window, and exceptions in pre-translation.
#include "afxwin.h"

#include <string>
#include <vector>

#include "wtest.h"

namespace {

enum : UINT { kFinish = WM_USER + 1 };
constexpr int kTempMark = 4321;

class CIdleWnd : public CWnd {
public:
    int idleUpdates = 0;
    int preTranslated = 0;
    bool destroyOnFinish = false;
    LRESULT OnIdleUpdate(WPARAM, LPARAM) { ++idleUpdates; return 0; }
    LRESULT OnFinish(WPARAM, LPARAM)
    {
        DestroyWindow();
        ::PostQuitMessage(7);
        return 0;
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) ++preTranslated;
        return CWnd::PreTranslateMessage(msg);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleWnd, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
    ON_MESSAGE(kFinish, OnFinish)
END_MESSAGE_MAP()

class CIdleApp : public CWinApp {
public:
    CIdleWnd main, child;
    HWND mainHandle = nullptr;
    std::vector<LONG> idleCounts;
    bool finishPosted = false;
    bool mainGoneAtExit = false;
    // Per idle step: whether the temporary made in InitInstance was still there after it.
    std::vector<bool> tempKeptByIdle;
    HWND foreign = nullptr;
    bool refuse = false;

    CIdleApp() : CWinApp("IdleProbe") {}

    BOOL InitInstance() override
    {
        if (refuse) return FALSE;
        if (!main.CreateEx(0, nullptr, "main", WS_POPUP, CRect(0, 0, 100, 100), nullptr, 0)) return FALSE;
        child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &main, 1);
        main.ShowWindow(SW_SHOWNA);
        mainHandle = main.m_hWnd;
        m_pMainWnd = &main;
        child.PostMessage(WM_KEYDOWN, 'A', 0);
        foreign = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        // A temporary, freed at the next idle time; the mark tells it from a new one.
        CWnd::FromHandle(foreign)->m_nModalResult = kTempMark;
        return TRUE;
    }

    BOOL OnIdle(LONG count) override
    {
        idleCounts.push_back(count);
        BOOL more = CWinApp::OnIdle(count);
        tempKeptByIdle.push_back(CWnd::FromHandle(foreign)->m_nModalResult == kTempMark);
        if (!more && !finishPosted) {
            finishPosted = true;
            main.PostMessage(kFinish);
        }
        return more;
    }

    int ExitInstance() override
    {
        mainGoneAtExit = !::IsWindow(mainHandle);
        if (foreign) ::DestroyWindow(foreign);
        return CWinApp::ExitInstance();
    }
};

}  // namespace

WTEST(application_runs_init_pump_idle_and_exit)
{
    CIdleApp app;
    WCHECK(AfxGetApp() == &app);
    WCHECK(AfxGetThread() == &app);
    WCHECK_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW), 7);
    WCHECK(app.mainGoneAtExit);
    // Idle 0 updates command UI, idle 1 frees temporaries and ends the idle phase.
    WCHECK_EQ(app.idleCounts.size(), size_t(2));
    if (app.idleCounts.size() == 2) {
        WCHECK_EQ(app.idleCounts[0], LONG(0));
        WCHECK_EQ(app.idleCounts[1], LONG(1));
    }
    // Idle 0 keeps the temporaries, idle 1 frees them.
    WCHECK_EQ(app.tempKeptByIdle.size(), size_t(2));
    if (app.tempKeptByIdle.size() == 2) {
        WCHECK(app.tempKeptByIdle[0]);
        WCHECK(!app.tempKeptByIdle[1]);
    }
    WCHECK_EQ(app.main.idleUpdates, 1);
    WCHECK_EQ(app.child.idleUpdates, 1);
    // The key went to the child: pre-translated by it and by the main window once each.
    WCHECK_EQ(app.child.preTranslated, 1);
    WCHECK_EQ(app.main.preTranslated, 1);
}

WTEST(a_refusing_init_instance_skips_the_run)
{
    CIdleApp app;
    app.refuse = true;
    WCHECK_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW), 0);
    WCHECK(app.idleCounts.empty());
}

WTEST(pump_one_message_never_blocks)
{
    CIdleApp app;
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
    WCHECK(app.PumpOneMessage());  // empty queue: returns at once
    CIdleWnd w;
    WCHECK(w.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    ::PostMessageA(w.m_hWnd, WM_IDLEUPDATECMDUI, 0, 0);
    WCHECK(app.PumpOneMessage());
    WCHECK_EQ(w.idleUpdates, 1);
    ::PostQuitMessage(3);
    WCHECK(!app.PumpOneMessage());
    w.DestroyWindow();
}

namespace {

int g_mainDeleted = 0;

class CSelfDeletingMain : public CWnd {
public:
    ~CSelfDeletingMain() override { ++g_mainDeleted; }
    void PostNcDestroy() override { delete this; }
};

// Takes the quit message waiting in the queue, if any; its code, or -1.
int TakeQuit()
{
    MSG m;
    int code = -1;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE))
        if (m.message == WM_QUIT) code = (int)m.wParam;
    return code;
}

int g_countedDeleted = 0;

class CCountedException : public CException {
public:
    ~CCountedException() override { ++g_countedDeleted; }
};

class CThrowingTranslator : public CWnd {
public:
    int keys = 0;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) throw new CCountedException;
        return CWnd::PreTranslateMessage(msg);
    }
    afx_msg void OnKeyDown(UINT, UINT, UINT) { ++keys; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingTranslator, CWnd)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

}  // namespace

WTEST(exceptions_in_pre_translation_are_stopped_and_deleted)
{
    CIdleApp app;
    TakeQuit();
    CThrowingTranslator w;
    WCHECK(w.CreateEx(0, nullptr, "", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    unsigned caught = AfxGetFirewallCount();
    int deleted = g_countedDeleted;
    w.PostMessage(WM_KEYDOWN, 'A', 0);
    WCHECK(AfxPumpMessage());
    WCHECK_EQ(AfxGetFirewallCount(), caught + 1);
    WCHECK_EQ(g_countedDeleted, deleted + 1);
    WCHECK_EQ(w.keys, 0);  // a failed pre-translation takes the message
    // The pump goes on.
    w.PostMessage(WM_KEYUP, 'A', 0);
    WCHECK(AfxPumpMessage());
    w.DestroyWindow();
}

WTEST(a_destroyed_main_window_is_forgotten_and_ends_the_run)
{
    CIdleApp app;
    TakeQuit();
    auto* main = new CSelfDeletingMain;
    WCHECK(main->CreateEx(0, nullptr, "main", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    app.m_pMainWnd = main;
    app.m_pActiveWnd = main;
    // Another window going away changes nothing.
    CIdleWnd other;
    WCHECK(other.CreateEx(0, nullptr, "other", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    other.DestroyWindow();
    WCHECK(AfxGetMainWnd() == main);
    WCHECK_EQ(TakeQuit(), -1);

    int deleted = g_mainDeleted;
    main->DestroyWindow();  // deletes the object
    WCHECK_EQ(g_mainDeleted, deleted + 1);
    WCHECK(app.m_pMainWnd == nullptr);
    WCHECK(app.m_pActiveWnd == nullptr);
    WCHECK(AfxGetMainWnd() == nullptr);
    WCHECK_EQ(TakeQuit(), 0);
    // Idle work and dialogs after that find no main window to touch.
    WCHECK(app.CWinApp::OnIdle(0));
}
