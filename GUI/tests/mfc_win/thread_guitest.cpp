// What the layer keeps per GUI thread: the frames that idle time updates, objects
// whose windows died without WM_NCDESTROY reaching them, the thread objects of
// secondary threads, and the wait cursor.
#include "afxwin.h"

#include <string>
#include <thread>
#include <vector>

#include "wtest.h"

namespace {

const CRect kRect(0, 0, 120, 80);

// Counts idle updates; registers itself as a frame of the thread, as frames do.
class CIdleProbe : public CWnd {
public:
    int updates = 0;
    CIdleProbe* destroyOnUpdate = nullptr;  // deleted in this window's own update
    explicit CIdleProbe(bool frame = true)
    {
        if (frame) AfxAddThreadFrame(this);
    }
    LRESULT OnIdleUpdate(WPARAM, LPARAM)
    {
        ++updates;
        if (destroyOnUpdate) {
            delete destroyOnUpdate;
            destroyOnUpdate = nullptr;
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIdleProbe, CWnd)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdate)
END_MESSAGE_MAP()

bool CreateShown(CWnd& w, bool shown = true)
{
    if (!w.CreateEx(0, nullptr, "probe", WS_POPUP, kRect, nullptr, 0)) return false;
    if (shown) w.ShowWindow(SW_SHOWNA);
    return true;
}

class CProbeApp : public CWinApp {
public:
    CProbeApp() : CWinApp("ThreadProbe") {}
};

}  // namespace

WTEST(idle_updates_every_visible_frame_of_the_thread_once)
{
    CProbeApp app;
    CIdleProbe main, floating, hidden, plain(false), child(false);
    WCHECK(CreateShown(main));
    WCHECK(CreateShown(floating));
    WCHECK(CreateShown(hidden, false));
    WCHECK(CreateShown(plain));
    WCHECK(child.Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &floating, 1));
    app.m_pMainWnd = &main;  // also registered: still updated once
    int frames = AfxGetThreadFrameCount();
    WCHECK(frames >= 3);

    WCHECK(app.OnIdle(0));
    WCHECK_EQ(main.updates, 1);
    WCHECK_EQ(floating.updates, 1);
    WCHECK_EQ(child.updates, 1);  // a frame's descendants too
    WCHECK_EQ(hidden.updates, 0);
    WCHECK_EQ(plain.updates, 0);  // not a frame, not the main window

    // A frame that goes away leaves the list, also when it goes during an update.
    {
        CIdleProbe gone;
        WCHECK(CreateShown(gone));
        WCHECK_EQ(AfxGetThreadFrameCount(), frames + 1);
    }
    WCHECK_EQ(AfxGetThreadFrameCount(), frames);
    // A frame deleted by an earlier frame's update is not visited afterwards.
    CIdleProbe early;
    WCHECK(CreateShown(early));
    auto* late = new CIdleProbe;
    WCHECK(CreateShown(*late));
    early.destroyOnUpdate = late;
    WCHECK(app.OnIdle(0));
    WCHECK_EQ(early.updates, 1);
    WCHECK_EQ(AfxGetThreadFrameCount(), frames + 1);
    app.m_pMainWnd = nullptr;
}

// ---- windows that die without WM_NCDESTROY reaching their objects

namespace {

int g_postNcDestroy = 0;

enum : UINT { kMsgDieInside = WM_USER + 40 };

class CCounted : public CWnd {
public:
    int idleDuringHandler = -1;  // PostNcDestroy calls seen right after an idle pass in a handler
    ~CCounted() override = default;
    void PostNcDestroy() override
    {
        ++g_postNcDestroy;
        delete this;
    }
    // Destroys its own window under the swallowing subclass, then runs idle time as a
    // nested loop would, while this handler is still running.
    LRESULT OnDieInside(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCounted, CWnd)
    ON_MESSAGE(kMsgDieInside, OnDieInside)
END_MESSAGE_MAP()

// A procedure on top of the layer's that swallows WM_NCDESTROY, as a hook sink may.
WNDPROC g_layerProc = nullptr;
LRESULT CALLBACK Swallow(HWND h, UINT m, WPARAM w, LPARAM l)
{
    if (m == WM_NCDESTROY) return 0;
    return ::CallWindowProcA(g_layerProc, h, m, w, l);
}

void SwallowNcDestroy(HWND h) { g_layerProc = (WNDPROC)::SetWindowLongPtrA(h, GWLP_WNDPROC, (LONG_PTR)&Swallow); }

LRESULT CCounted::OnDieInside(WPARAM, LPARAM)
{
    HWND h = m_hWnd;
    SwallowNcDestroy(h);
    ::DestroyWindow(h);
    int before = g_postNcDestroy;
    WCHECK(CWnd::FromHandlePermanent(h) == nullptr);
    AfxGetThread()->OnIdle(1);
    idleDuringHandler = g_postNcDestroy - before;  // still alive: this member runs
    return 0;
}

}  // namespace

WTEST(an_object_whose_window_died_unseen_is_let_go_once)
{
    CProbeApp app;
    // Found dead by a lookup: detached at once, its PostNcDestroy at idle time, once.
    auto* looked = new CCounted;
    WCHECK(CreateShown(*looked));
    HWND h = looked->m_hWnd;
    app.m_pMainWnd = looked;
    SwallowNcDestroy(h);
    ::DestroyWindow(h);
    int start = g_postNcDestroy;
    WCHECK(CWnd::FromHandlePermanent(h) == nullptr);
    WCHECK(looked->m_hWnd == nullptr);
    WCHECK(app.m_pMainWnd == nullptr);  // no zombie main window
    WCHECK(AfxGetMainWnd() == nullptr);
    WCHECK_EQ(g_postNcDestroy, start);
    WCHECK(!app.OnIdle(1));
    WCHECK_EQ(g_postNcDestroy, start + 1);
    WCHECK(!app.OnIdle(1));
    WCHECK_EQ(g_postNcDestroy, start + 1);
    MSG m;
    while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    }  // the quit the main window's end posted

    // Never looked up again: idle time finds it all the same.
    auto* unseen = new CCounted;
    WCHECK(CreateShown(*unseen));
    SwallowNcDestroy(unseen->m_hWnd);
    ::DestroyWindow(unseen->m_hWnd);
    WCHECK(!app.OnIdle(1));
    WCHECK_EQ(g_postNcDestroy, start + 2);

    // Dying inside its own handler: not let go while the handler runs, but after.
    auto* inside = new CCounted;
    WCHECK(CreateShown(*inside));
    HWND insideHandle = inside->m_hWnd;
    ::SendMessageA(insideHandle, kMsgDieInside, 0, 0);
    WCHECK_EQ(inside->idleDuringHandler, 0);
    WCHECK_EQ(g_postNcDestroy, start + 2);
    WCHECK(!app.OnIdle(1));
    WCHECK_EQ(g_postNcDestroy, start + 3);
}

// ---- thread objects of secondary threads

namespace {

enum : UINT { kThreadPing = WM_APP + 7 };

struct ThreadSeen {
    CWinThread* inInit = nullptr;
    CWinThread* inHandler = nullptr;
    AFX_MODULE_STATE* module = nullptr;
};
ThreadSeen g_seen;

class CUiThread : public CWinThread {
    DECLARE_DYNCREATE(CUiThread)
public:
    BOOL InitInstance() override
    {
        g_seen.inInit = AfxGetThread();
        g_seen.module = AfxGetModuleState();
        ::PostThreadMessageA(::GetCurrentThreadId(), kThreadPing, 0, 0);
        return TRUE;
    }
    void OnPing(WPARAM, LPARAM)
    {
        g_seen.inHandler = AfxGetThread();
        ::PostQuitMessage(23);
    }
    int ExitInstance() override { return CWinThread::ExitInstance() + 1; }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CUiThread, CWinThread)

BEGIN_MESSAGE_MAP(CUiThread, CWinThread)
    ON_THREAD_MESSAGE(kThreadPing, OnPing)
END_MESSAGE_MAP()

UINT AFX_CDECL Worker(LPVOID param)
{
    *static_cast<CWinThread**>(param) = AfxGetThread();
    return 5;
}

DWORD WaitExit(HANDLE h)
{
    DWORD code = 0;
    if (::WaitForSingleObject(h, 30000) != WAIT_OBJECT_0) return (DWORD)-2;
    ::GetExitCodeThread(h, &code);
    return code;
}

}  // namespace

WTEST(a_secondary_thread_finds_its_own_thread_object)
{
    CProbeApp app;
    auto* ui = static_cast<CUiThread*>(AfxBeginThread(RUNTIME_CLASS(CUiThread), THREAD_PRIORITY_NORMAL, 0,
                                                      CREATE_SUSPENDED));
    WCHECK(ui != nullptr);
    if (!ui) return;
    ui->m_bAutoDelete = FALSE;  // kept for the checks below
    ::ResumeThread(ui->m_hThread);
    WCHECK_EQ(WaitExit(ui->m_hThread), DWORD(24));  // the quit code, through ExitInstance
    WCHECK(g_seen.inInit == ui);
    WCHECK(g_seen.inHandler == ui);
    WCHECK(g_seen.module == AfxGetModuleState());  // the creator's
    delete ui;

    // A worker: its own object too, deleted by itself at its end.
    CWinThread* seen = nullptr;
    CWinThread* worker = AfxBeginThread(&Worker, &seen, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    WCHECK(worker != nullptr);
    if (!worker) return;
    HANDLE copy = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), worker->m_hThread, ::GetCurrentProcess(), &copy, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    CWinThread* expected = worker;
    ::ResumeThread(worker->m_hThread);
    WCHECK_EQ(WaitExit(copy), DWORD(5));
    ::CloseHandle(copy);
    WCHECK(seen == expected);

    // A thread the layer did not start has no thread object; this one keeps the app.
    CWinThread* onPlain = &app;
    std::thread([&] { onPlain = AfxGetThread(); }).join();
    WCHECK(onPlain == nullptr);
    WCHECK(AfxGetThread() == &app);
    WCHECK(AfxGetApp() == &app);
}

// ---- wait cursor

WTEST(the_wait_cursor_holds_through_set_cursor_until_the_last_wait_ends)
{
    CProbeApp app;
    CWnd w;
    WCHECK(CreateShown(w));
    HCURSOR arrow = ::LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
    auto setCursor = [&] { w.SendMessage(WM_SETCURSOR, (WPARAM)w.m_hWnd, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)); };
    setCursor();
    WCHECK(::GetCursor() == arrow);
    {
        CWaitCursor outer;
        WCHECK(::GetCursor() == wait);
        {
            CWaitCursor inner;
            WCHECK_EQ(AfxGetWaitCursorCount(), 2);
        }
        // One wait still runs: the window's own cursor does not come back.
        setCursor();
        WCHECK(::GetCursor() == wait);
        ::SetCursor(arrow);  // something else changed it; Restore puts the wait back
        outer.Restore();
        WCHECK(::GetCursor() == wait);
    }
    WCHECK_EQ(AfxGetWaitCursorCount(), 0);
    WCHECK(::GetCursor() == arrow);
    setCursor();
    WCHECK(::GetCursor() == arrow);
    // An end without a begin changes nothing.
    app.DoWaitCursor(-1);
    WCHECK_EQ(AfxGetWaitCursorCount(), 0);
    w.DestroyWindow();
}
