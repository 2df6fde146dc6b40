// Thread objects, the pump and idle processing.
#include "afxwin_state.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
// A thread object other than an application, per thread; written only by its thread.
thread_local CWinThread* t_thread = nullptr;
}  // namespace

CWinThread::CWinThread()
{
    m_hThread = ::GetCurrentThread();
    m_nThreadID = ::GetCurrentThreadId();
}

CWinThread::~CWinThread()
{
    if (t_thread == this) t_thread = nullptr;
}

// Registers in the module whose state is current while it is constructed (the
// module's own during its static initialisation).
CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName)
{
    AFX_MODULE_STATE* s = AfxGetModuleState();
    m_hInstance = s ? s->m_hCurrentInstanceHandle : ::GetModuleHandleA(nullptr);
    if (s && !s->m_pCurrentWinApp) {
        s->m_pCurrentWinApp = this;
        s->m_pCurrentWinThread = this;
        if (appName) s->m_lpszCurrentAppName = appName;
    }
}

CWinApp::~CWinApp()
{
    AFX_MODULE_STATE* s = AfxGetModuleState();
    if (s && s->m_pCurrentWinApp == this) {
        s->m_pCurrentWinApp = nullptr;
        s->m_pCurrentWinThread = nullptr;
    }
}

CWinThread* AfxGetThread()
{
    if (t_thread) return t_thread;
    AFX_MODULE_STATE* s = AfxGetModuleState();
    return s ? s->m_pCurrentWinThread : nullptr;
}

CWnd* AfxGetMainWnd()
{
    if (CWinThread* t = AfxGetThread())
        if (CWnd* w = t->GetMainWnd()) return w;
    AFX_MODULE_STATE* app = AfxGetAppModuleState();
    return app && app->m_pCurrentWinApp ? app->m_pCurrentWinApp->GetMainWnd() : nullptr;
}

BOOL AfxPreTranslateMessage(MSG* msg)
{
    CWnd* main = AfxGetMainWnd();
    HWND stop = main ? main->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(stop, msg)) return TRUE;
    // The main window gets its turn when it was not on the message's chain.
    if (main && main->m_hWnd) {
        for (HWND h = msg->hwnd; h; h = ::GetParent(h))
            if (h == main->m_hWnd) return FALSE;
        return main->PreTranslateMessage(msg);
    }
    return FALSE;
}

static BOOL PumpWith(CWinThread* thread, MSG& msg)
{
    if (!::GetMessageA(&msg, nullptr, 0, 0)) return FALSE;
    AfxGetThreadState()->m_msgCur = msg;
    BOOL taken = FALSE;
    try {
        taken = thread ? thread->PreTranslateMessage(&msg) : AfxPreTranslateMessage(&msg);
    } catch (...) {
        AfxFirewallCaughtCurrent("pre-translation", msg.message);
        taken = TRUE;
    }
    if (!taken) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

BOOL AfxPumpMessage()
{
    if (CWinThread* t = AfxGetThread()) return t->PumpMessage();
    MSG msg;
    return PumpWith(nullptr, msg);
}

BOOL AfxIsIdleMessage(MSG* msg)
{
    auto& st = AfxGetWinThreadState();
    if (msg->message == WM_MOUSEMOVE || msg->message == WM_NCMOUSEMOVE) {
        if (msg->pt.x == st.lastMousePos.x && msg->pt.y == st.lastMousePos.y) return FALSE;
        st.lastMousePos = msg->pt;
        return TRUE;
    }
    // 0x0118 is the system's caret blink timer message.
    return msg->message != WM_PAINT && msg->message != 0x0118;
}

BOOL AfxIdle(LONG count)
{
    if (count <= 0) {
        if (CWnd* main = AfxGetMainWnd()) {
            if (main->m_hWnd && ::IsWindowVisible(main->m_hWnd)) {
                main->SendMessage(WM_IDLEUPDATECMDUI, TRUE);
                main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
            }
        }
        // Further frames of the thread (mini frames, floating bars) join with frame support.
        return TRUE;
    }
    if (count == 1) {
        AfxDeleteTempMaps();
        return FALSE;
    }
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return (int)m_msgCur.wParam;
}

BOOL CWinThread::PreTranslateMessage(MSG* msg)
{
    if (!msg->hwnd && DispatchThreadMessageEx(msg)) return TRUE;
    return AfxPreTranslateMessage(msg);
}

BOOL CWinThread::DispatchThreadMessageEx(MSG* msg)
{
    const AFX_MSGMAP_ENTRY* e = AfxFindMessageEntry(GetMessageMap(), msg->message, 0, 0);
    if (!e) return FALSE;
    AFX_MSGCALL call{msg->message, msg->wParam, msg->lParam, 0, 0, nullptr, 0};
    return e->pfnDispatch(this, call);
}

BOOL CWinThread::PumpMessage()
{
    BOOL r = PumpWith(this, m_msgCur);
    return r;
}

BOOL CWinThread::PumpOneMessage()
{
    MSG peek;
    if (!::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) return TRUE;
    return PumpMessage();  // takes WM_QUIT too, like every pump
}

BOOL CWinThread::OnIdle(LONG count) { return AfxIdle(count); }

BOOL CWinThread::IsIdleMessage(MSG* msg) { return AfxIsIdleMessage(msg); }

int CWinThread::Run()
{
    bool idle = true;
    LONG idleCount = 0;
    MSG peek;
    for (;;) {
        while (idle && !::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            BOOL more = FALSE;
            try {
                more = OnIdle(idleCount++);
            } catch (...) {
                AfxFirewallCaughtCurrent("idle processing", 0);
            }
            if (!more) idle = false;
        }
        do {
            if (!PumpMessage()) return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageA(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

int AFXAPI AfxWinMain(HINSTANCE, HINSTANCE, LPSTR cmdLine, int cmdShow)
{
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    app->m_lpCmdLine = cmdLine;
    app->m_nCmdShow = cmdShow;
    try {
        if (!app->InitInstance()) return app->ExitInstance();
        return app->Run();
    } catch (...) {
        AfxFirewallCaughtCurrent("application", 0);
    }
    return -1;
}
