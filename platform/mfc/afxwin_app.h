// CWinThread and CWinApp: the message pump with idle processing and pre-translation.
// Run peeks; with an empty queue it calls OnIdle(0, 1, ...) until that answers FALSE,
// then pumps. Idle 0 updates command UI (WM_IDLEUPDATECMDUI to the main window and its
// descendants), idle 1 frees the thread's temporary wrappers. Pumps are re-entrant:
// modal loops use the same PumpMessage path. Each object belongs to its GUI thread.
#pragma once
#include "afxwin_wnd.h"

class TRVMFC_API CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWnd* m_pMainWnd = nullptr;
    CWnd* m_pActiveWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    MSG m_msgCur{};

    CWinThread();
    ~CWinThread() override;

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance();
    virtual int Run();
    // Messages posted to the thread (no window) go to this object's map first
    // (ON_THREAD_MESSAGE); then the window chain.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Calls the map entry for a thread message; FALSE when there is none.
    virtual BOOL DispatchThreadMessageEx(MSG* msg);
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG count);
    virtual BOOL IsIdleMessage(MSG* msg);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    // Takes one message if there is one, through the same path as Run (never blocks).
    BOOL PumpOneMessage();
};

class TRVMFC_API CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    LPCSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    BOOL InitInstance() override { return TRUE; }

    // Document templates, profile settings, printing and shell commands come with the
    // frame and document support.
};

// The thread object and application of the calling thread (null when none was made).
// The calling thread's own thread object, else the current module's application.
TRVMFC_API CWinThread* AfxGetThread();
// The application's main window, under any module state.
TRVMFC_API CWnd* AfxGetMainWnd();
// Pumps one message through the thread's PreTranslateMessage path (blocks for one);
// FALSE on WM_QUIT, which the caller re-posts if an outer loop must end too.
TRVMFC_API BOOL AfxPumpMessage();
// Pre-translation without a thread object: the window chain, then the main window.
TRVMFC_API BOOL AfxPreTranslateMessage(MSG* msg);
// FALSE for messages that must not restart idle processing: mouse moves to the same
// point, WM_PAINT, the caret blink timer.
TRVMFC_API BOOL AfxIsIdleMessage(MSG* msg);
// Runs the idle work of OnIdle(count) for a thread without its own object.
TRVMFC_API BOOL AfxIdle(LONG count);

// The program's run of its application: InitInstance, then Run until WM_QUIT (whose
// code is returned by ExitInstance); ExitInstance alone when InitInstance refuses.
// Exceptions escaping the application are logged and end the run with -1.
TRVMFC_API int AFXAPI AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int cmdShow);
