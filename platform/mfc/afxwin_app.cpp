// Thread objects, the pump and idle processing, the wait cursor, cursors and icons
// through the module chain, the library hooks and the program's run.
#include "afxwin_state.h"

#include <process.h>

#include <algorithm>
#include <cstdio>
#include <vector>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
// The object a thread of CreateThread runs, and the module state it was started
// under; written only by that thread.
thread_local CWinThread* t_thread = nullptr;
thread_local AFX_MODULE_STATE* t_threadModule = nullptr;
}  // namespace

CWinThread::CWinThread()
{
    m_hThread = ::GetCurrentThread();
    m_nThreadID = ::GetCurrentThreadId();
}

CWinThread::CWinThread(AFX_THREADPROC proc, LPVOID param) : CWinThread()
{
    m_pfnThreadProc = proc;
    m_pThreadParams = param;
}

CWinThread::~CWinThread()
{
    if (t_thread == this) t_thread = nullptr;
    if (m_hThread && m_hThread != ::GetCurrentThread()) ::CloseHandle(m_hThread);  // a real handle of CreateThread
}

void CWinThread::Delete()
{
    if (m_bAutoDelete) delete this;
}

namespace {
struct ThreadStart {
    CWinThread* thread;
    AFX_MODULE_STATE* module;
};

unsigned __stdcall ThreadEntry(void* p)
{
    ThreadStart start = *static_cast<ThreadStart*>(p);
    delete static_cast<ThreadStart*>(p);
    CWinThread* t = start.thread;
    AfxSetModuleState(start.module);
    t_thread = t;
    t_threadModule = start.module;
    int code = -1;
    try {
        if (t->m_pfnThreadProc) code = (int)t->m_pfnThreadProc(t->m_pThreadParams);
        else if (t->InitInstance()) code = t->Run();
        else code = t->ExitInstance();
    } catch (...) {
        AfxFirewallCaughtCurrent("thread", 0);
        code = -1;
    }
    try {
        AfxDeleteTempMaps();
        t_thread = nullptr;
        t->Delete();
    } catch (...) {
        AfxFirewallCaughtCurrent("thread end", 0);
    }
    t_thread = nullptr;
    return (unsigned)code;
}
}  // namespace

BOOL CWinThread::CreateThread(DWORD flags, UINT stackSize, LPSECURITY_ATTRIBUTES security)
{
    auto* start = new ThreadStart{this, AfxGetModuleState()};
    unsigned id = 0;
    // Suspended until the object knows its thread.
    uintptr_t h = ::_beginthreadex(security, stackSize, &ThreadEntry, start, flags | CREATE_SUSPENDED, &id);
    if (!h) {
        delete start;
        return FALSE;
    }
    if (m_hThread && m_hThread != ::GetCurrentThread()) ::CloseHandle(m_hThread);
    m_hThread = (HANDLE)h;
    m_nThreadID = id;
    if (!(flags & CREATE_SUSPENDED)) ::ResumeThread(m_hThread);
    return TRUE;
}

static CWinThread* StartThread(CWinThread* t, int priority, UINT stackSize, DWORD flags, LPSECURITY_ATTRIBUTES security)
{
    if (!t->CreateThread(flags | CREATE_SUSPENDED, stackSize, security)) {
        delete t;  // nobody else can reach it
        return nullptr;
    }
    ::SetThreadPriority(t->m_hThread, priority);
    if (!(flags & CREATE_SUSPENDED)) ::ResumeThread(t->m_hThread);
    return t;
}

CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* threadClass, int priority, UINT stackSize, DWORD flags,
                                  LPSECURITY_ATTRIBUTES security)
{
    CObject* object = threadClass ? threadClass->CreateObject() : nullptr;
    if (!object || !object->IsKindOf(RUNTIME_CLASS(CWinThread))) {
        delete object;
        return nullptr;
    }
    return StartThread(static_cast<CWinThread*>(object), priority, stackSize, flags, security);
}

CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize, DWORD flags,
                                  LPSECURITY_ATTRIBUTES security)
{
    return StartThread(new CWinThread(proc, param), priority, stackSize, flags, security);
}

// The module's file name without folder and extension.
static CString ModuleBaseName(HINSTANCE module)
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(module, path, MAX_PATH);
    CString name = path;
    int slash = name.ReverseFind('\\');
    if (slash >= 0) name = name.Mid(slash + 1);
    int dot = name.ReverseFind('.');
    if (dot > 0) name = name.Left(dot);
    return name;
}

// Registers in the module whose state is current while it is constructed (the
// module's own during its static initialisation).
CWinApp::CWinApp(LPCSTR appName)
{
    AFX_MODULE_STATE* s = AfxGetModuleState();
    m_hInstance = s ? s->m_hCurrentInstanceHandle : ::GetModuleHandleA(nullptr);
    HINSTANCE resources = s && s->m_hCurrentResourceHandle ? s->m_hCurrentResourceHandle : m_hInstance;
    m_strExeName = ModuleBaseName(m_hInstance);
    if (appName) m_strAppName = appName;
    else if (!m_strAppName.LoadString(resources, AFX_IDS_APP_TITLE)) m_strAppName = m_strExeName;
    m_pszAppName = m_strAppName;
    m_pszExeName = m_strExeName;
    SetProfileName();
    if (s && !s->m_pCurrentWinApp) {
        s->m_pCurrentWinApp = this;
        s->m_pCurrentWinThread = this;
        s->m_lpszCurrentAppName = m_pszAppName;
    }
}

CWinApp::~CWinApp()
{
    DeleteDocTemplates();
    SelectPrinter(nullptr, nullptr);  // frees the application's printer memory
    AFX_MODULE_STATE* s = AfxGetModuleState();
    if (s && s->m_pCurrentWinApp == this) {
        s->m_pCurrentWinApp = nullptr;
        s->m_pCurrentWinThread = nullptr;
        s->m_lpszCurrentAppName = nullptr;
    }
}

CWinThread* AfxGetThread()
{
    AFX_MODULE_STATE* s = AfxGetModuleState();
    if (t_thread && t_threadModule == s) return t_thread;
    CWinThread* t = s ? s->m_pCurrentWinThread : nullptr;
    return t && t->m_nThreadID == ::GetCurrentThreadId() ? t : nullptr;
}

CWnd* AfxGetMainWnd()
{
    if (CWinThread* t = AfxGetThread())
        if (CWnd* w = t->GetMainWnd()) return w;
    AFX_MODULE_STATE* app = AfxGetAppModuleState();
    return app && app->m_pCurrentWinApp ? app->m_pCurrentWinApp->GetMainWnd() : nullptr;
}

// ---- wait cursor

void AFXAPI AfxDoWaitCursor(int code)
{
    auto& st = AfxGetWinThreadState();
    HCURSOR wait = ::LoadCursorA(nullptr, IDC_WAIT);
    if (code > 0) {
        HCURSOR previous = ::SetCursor(wait);
        if (st.waitCursorCount++ == 0) st.waitCursorRestore = previous;
    } else if (code < 0) {
        if (st.waitCursorCount == 0) return;
        if (--st.waitCursorCount == 0) {
            HCURSOR restore = st.waitCursorRestore ? st.waitCursorRestore : ::LoadCursorA(nullptr, IDC_ARROW);
            st.waitCursorRestore = nullptr;
            ::SetCursor(restore);
        }
    } else if (st.waitCursorCount > 0) {
        ::SetCursor(wait);
    }
}

int AFXAPI AfxGetWaitCursorCount() { return AfxGetWinThreadState().waitCursorCount; }

void CWinApp::DoWaitCursor(int code) { AfxDoWaitCursor(code); }

static void WaitCursor(int code)
{
    if (CWinApp* app = AfxGetApp()) app->DoWaitCursor(code);
    else AfxDoWaitCursor(code);
}

void CCmdTarget::BeginWaitCursor() { WaitCursor(1); }
void CCmdTarget::EndWaitCursor() { WaitCursor(-1); }
void CCmdTarget::RestoreWaitCursor() { WaitCursor(0); }

CWaitCursor::CWaitCursor() { WaitCursor(1); }
CWaitCursor::~CWaitCursor() { WaitCursor(-1); }
void CWaitCursor::Restore() { WaitCursor(0); }

// ---- cursors and icons

HCURSOR CWinApp::LoadCursor(LPCSTR name) const { return ::LoadCursorA(AfxFindResourceHandle(name, RT_GROUP_CURSOR), name); }
HCURSOR CWinApp::LoadCursor(UINT id) const { return LoadCursor(MAKEINTRESOURCEA(id)); }
HCURSOR CWinApp::LoadStandardCursor(LPCSTR name) const { return ::LoadCursorA(nullptr, name); }
HCURSOR CWinApp::LoadOEMCursor(UINT id) const { return ::LoadCursorA(nullptr, MAKEINTRESOURCEA(id)); }
HICON CWinApp::LoadIcon(LPCSTR name) const { return ::LoadIconA(AfxFindResourceHandle(name, RT_GROUP_ICON), name); }
HICON CWinApp::LoadIcon(UINT id) const { return LoadIcon(MAKEINTRESOURCEA(id)); }
HICON CWinApp::LoadStandardIcon(LPCSTR name) const { return ::LoadIconA(nullptr, name); }
HICON CWinApp::LoadOEMIcon(UINT id) const { return ::LoadIconA(nullptr, MAKEINTRESOURCEA(id)); }

// ---- library hooks

BOOL AFXAPI AfxFilterDllMsg(AFX_MODULE_STATE* library, MSG* msg)
{
    AFX_MAINTAIN_STATE scope(library);
    try {
        CWinThread* t = AfxGetThread();
        return t ? t->PreTranslateMessage(msg) : FALSE;
    } catch (...) {
        AfxFirewallCaughtCurrent("library message filter", msg ? msg->message : 0);
    }
    return FALSE;
}

void AFXAPI AfxProcessDllIdle(AFX_MODULE_STATE* library)
{
    AFX_MAINTAIN_STATE scope(library);
    try {
        CWinThread* t = AfxGetThread();
        if (!t) return;
        for (LONG count = 0; t->OnIdle(count); ++count) {
        }
    } catch (...) {
        AfxFirewallCaughtCurrent("library idle processing", 0);
    }
}

BOOL AfxPreTranslateMessage(MSG* msg)
{
    CWnd* main = AfxGetMainWnd();
    HWND stop = main ? main->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(stop, msg)) return TRUE;
    // The main window gets its turn when it was not on the message's chain, and only
    // in its own module's loop (each window is pre-translated once).
    if (main && main->m_hWnd && AfxIsWindowOfCurrentModule(main->m_hWnd)) {
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

void AFXAPI AfxAddThreadFrame(CWnd* frame)
{
    auto& frames = AfxGetWinThreadState().frames;
    if (!frame || (frame->m_nFlags & WF_LAYER_FRAMELIST)) return;
    frames.push_back(frame);
    frame->m_nFlags |= WF_LAYER_FRAMELIST;
}

void AFXAPI AfxRemoveThreadFrame(CWnd* frame)
{
    if (!frame || !(frame->m_nFlags & WF_LAYER_FRAMELIST)) return;
    frame->m_nFlags &= ~WF_LAYER_FRAMELIST;
    auto& frames = AfxGetWinThreadState().frames;
    frames.erase(std::remove(frames.begin(), frames.end(), frame), frames.end());
}

int AFXAPI AfxGetThreadFrameCount() { return (int)AfxGetWinThreadState().frames.size(); }

CWnd* AFXAPI AfxGetThreadFrame(int index)
{
    auto& frames = AfxGetWinThreadState().frames;
    return index >= 0 && index < (int)frames.size() ? frames[index] : nullptr;
}

// WM_IDLEUPDATECMDUI to a visible window and its descendants with objects.
static void IdleUpdate(HWND h)
{
    if (!h || !::IsWindowVisible(h)) return;
    ::SendMessageA(h, WM_IDLEUPDATECMDUI, TRUE, 0);
    if (CWnd* w = CWnd::FromHandlePermanent(h)) w->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
}

BOOL AfxIdle(LONG count)
{
    if (count <= 0) {
        // The program's idle reaches every frame; a library's (its ProcessDllIdle,
        // under its state) only the windows made under that state.
        AFX_MODULE_STATE* appState = AfxGetAppModuleState();
        bool everything = !appState || AfxGetModuleState() == appState;
        auto ours = [&](HWND h) { return everything || AfxIsWindowOfCurrentModule(h); };
        CWnd* main = AfxGetMainWnd();
        HWND mainHandle = main ? main->m_hWnd : nullptr;
        if (mainHandle && ours(mainHandle)) IdleUpdate(mainHandle);
        // A frame's update may create or destroy frames: walk a copy, and skip any
        // that left the list meanwhile.
        auto& st = AfxGetWinThreadState();
        std::vector<CWnd*> frames = st.frames;
        for (CWnd* frame : frames) {
            if (std::find(st.frames.begin(), st.frames.end(), frame) == st.frames.end()) continue;
            HWND h = frame->m_hWnd;
            if (h && h != mainHandle && ours(h)) IdleUpdate(h);
        }
        return TRUE;
    }
    if (count == 1) {
        AfxDeleteTempMaps();
        AfxSweepDeadWindows();
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
    // OLE (drag and drop, the clipboard, automation) for the application's thread.
    struct OleScope {
        HRESULT hr = ::OleInitialize(nullptr);
        OleScope()
        {
            if (FAILED(hr)) {
                char text[128];
                std::snprintf(text, sizeof text, "application: OleInitialize failed (0x%08lX)\n", (unsigned long)hr);
                ::OutputDebugStringA(text);
                std::fputs(text, stderr);
            }
        }
        ~OleScope()
        {
            if (SUCCEEDED(hr)) ::OleUninitialize();
        }
    } ole;
    try {
        if (!app->InitInstance()) return app->ExitInstance();
        return app->Run();
    } catch (...) {
        AfxFirewallCaughtCurrent("application", 0);
    }
    return -1;
}
