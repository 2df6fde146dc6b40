// CWinThread and CWinApp: the message pump with idle processing and pre-translation,
// and the application's services.
//
// Run peeks; with an empty queue it calls OnIdle(0, 1, ...) until that answers FALSE,
// then pumps. Idle 0 updates command UI (WM_IDLEUPDATECMDUI to the main window, every
// frame of the thread and their descendants), idle 1 frees the thread's temporary
// wrappers and lets go of objects whose windows died unseen. Pumps are re-entrant:
// modal loops use the same PumpMessage path. A thread object belongs to the thread it
// runs (the application: the thread that made it); its members are that thread's.
// The program's run (AfxWinMain) initialises OLE on its thread for the application.
#pragma once
#include "afxres.h"
#include "afxwin_wnd.h"
#include <commdlg.h>

class CPrintDialog;
class CDocTemplate;
class CDocument;

class CCommandLineInfo;
class CRecentFileList;
class CWinThread;

typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID);

class TRVMFC_API CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWnd* m_pMainWnd = nullptr;
    CWnd* m_pActiveWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;
    HANDLE m_hThread = nullptr;  // a real handle once CreateThread made the thread
    DWORD m_nThreadID = 0;       // the thread that runs this object
    MSG m_msgCur{};
    AFX_THREADPROC m_pfnThreadProc = nullptr;  // a worker's function (no pump)
    LPVOID m_pThreadParams = nullptr;

    CWinThread();
    CWinThread(AFX_THREADPROC proc, LPVOID param);
    ~CWinThread() override;

    // Starts a thread that runs this object: the function of a worker, else
    // InitInstance, Run and ExitInstance (ExitInstance alone when InitInstance
    // refuses). The creator's module state is current on the thread, where AfxGetThread
    // answers this object. Exceptions stop at the thread's end (logged, code -1); with
    // m_bAutoDelete the object deletes itself there (its handle is closed then).
    BOOL CreateThread(DWORD flags = 0, UINT stackSize = 0, LPSECURITY_ATTRIBUTES security = nullptr);
    // Ends the object after its thread: deletes it when m_bAutoDelete.
    virtual void Delete();

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

// A thread running a new object of threadClass (made by CreateObject), or a worker
// running proc(param); null when the thread could not be started (the object is
// deleted then).
TRVMFC_API CWinThread* AFXAPI AfxBeginThread(CRuntimeClass* threadClass, int priority = THREAD_PRIORITY_NORMAL,
                                             UINT stackSize = 0, DWORD flags = 0,
                                             LPSECURITY_ATTRIBUTES security = nullptr);
TRVMFC_API CWinThread* AFXAPI AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                                             UINT stackSize = 0, DWORD flags = 0,
                                             LPSECURITY_ATTRIBUTES security = nullptr);

class TRVMFC_API CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // Name: the constructor's, else string 57344 of the module, else the module's
    // file name without extension. Registry key: see SetRegistryKey. Profile name: the
    // application's name under a registry key, else "<exe name>.INI".
    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszExeName = nullptr;
    LPCSTR m_pszRegistryKey = nullptr;
    LPCSTR m_pszProfileName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // The layer keeps no recent-file list: this stays null whatever
    // LoadStdProfileSettings is given.
    CRecentFileList* m_pRecentFileList = nullptr;
    UINT m_nNumPreviewPages = 0;  // profile "Settings"/"PreviewPages", 0: the view decides

    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    BOOL InitInstance() override { return TRUE; }

    // ---- printing (afx_print.cpp): the application's printer, as DEVMODE and DEVNAMES
    // memory it owns; the default printer until print set-up chooses another. Without
    // any printer the handles stay null and the dialogs answer Cancel at once.
    HGLOBAL m_hDevMode = nullptr;
    HGLOBAL m_hDevNames = nullptr;
    // Lends the application's printer to pd (made from the default printer on first
    // use); FALSE without one. The handles stay the application's.
    BOOL GetPrinterDeviceDefaults(PRINTDLGA* pd);
    // The application takes this printer; its previous handles are freed unless they
    // are the same or freeOld is FALSE.
    void SelectPrinter(HANDLE devNames, HANDLE devMode, BOOL freeOld = TRUE);
    // The default printer again when forced or when there is none yet.
    void UpdatePrinterSelection(BOOL forceDefaults);
    // Runs a print (or print set-up) dialog on the application's printer, which takes
    // the dialog's choice.
    INT_PTR DoPrintDialog(CPrintDialog* pd);
    // File Print Setup (57606): the print set-up dialog on the application's printer.
    afx_msg void OnFilePrintSetup();


    // ---- profile: HKEY_CURRENT_USER\Software\<key>\<profile name>\<section> once a
    // registry key is set (integers are REG_DWORD, strings REG_SZ, binaries
    // REG_BINARY), else the sections of the INI file m_pszProfileName.
    void SetRegistryKey(LPCSTR key);
    void SetRegistryKey(UINT keyStringId);
    // Reads "Settings"/"PreviewPages" (maxMRU is accepted for the framework's call;
    // see m_pRecentFileList).
    void LoadStdProfileSettings(UINT maxMRU = 4);
    // The application's key and a section's key, created when missing; the caller
    // closes them. NULL without a registry key or when they cannot be made.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCSTR section);
    UINT GetProfileInt(LPCSTR section, LPCSTR entry, int defaultValue);
    BOOL WriteProfileInt(LPCSTR section, LPCSTR entry, int value);
    CString GetProfileString(LPCSTR section, LPCSTR entry, LPCSTR defaultValue = nullptr);
    // A null value removes the entry; a null entry removes the whole section.
    BOOL WriteProfileString(LPCSTR section, LPCSTR entry, LPCSTR value);
    // *data gets a new[] copy the caller deletes with delete[]; FALSE when missing.
    BOOL GetProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE* data, UINT* bytes);
    BOOL WriteProfileBinary(LPCSTR section, LPCSTR entry, LPBYTE data, UINT bytes);

    // ---- command line: every argument after the program's name, in order, to
    // info.ParseParam; "-x" and "/x" are flags (given without their mark).
    void ParseCommandLine(CCommandLineInfo& info);
    // Runs the shell command info names: File New (the ID_FILE_NEW command, else
    // OnFileNew; TRUE when a main window came of it), File Open of its file, nothing
    // for FileNothing. Other commands are not supported (FALSE, logged).
    BOOL ProcessShellCommand(CCommandLineInfo& info);

    // ---- documents (afxview_app.cpp): the application owns its templates (deleted
    // with it) in the order added.
    void AddDocTemplate(CDocTemplate* docTemplate);
    POSITION GetFirstDocTemplatePosition() const { return m_docTemplates.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const { return (CDocTemplate*)m_docTemplates.GetNext(pos); }
    // The first template's OpenDocumentFile (path null: a new document).
    virtual CDocument* OpenDocumentFile(LPCSTR path);
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL endSession);
    // File New (0xE100): a new document of the first template.
    afx_msg void OnFileNew();

    // ---- cursors and icons: resources through the module chain (the current module
    // first), standard ones from the system.
    HCURSOR LoadCursor(LPCSTR name) const;
    HCURSOR LoadCursor(UINT id) const;
    HCURSOR LoadStandardCursor(LPCSTR name) const;
    HCURSOR LoadOEMCursor(UINT id) const;
    HICON LoadIcon(LPCSTR name) const;
    HICON LoadIcon(UINT id) const;
    HICON LoadStandardIcon(LPCSTR name) const;
    HICON LoadOEMIcon(UINT id) const;

    // ---- wait cursor: 1 begins a wait, -1 ends one, 0 shows the wait cursor again
    // while any wait runs. The waits of the calling thread are counted (all modules
    // together); while the count is positive the layer's windows answer WM_SETCURSOR
    // with the wait cursor. The last end puts back the cursor the first begin replaced.
    virtual void DoWaitCursor(int code);

private:
    CPtrList m_docTemplates;
    void DeleteDocTemplates();
    CString m_strAppName, m_strExeName, m_strRegistryKey, m_strProfileName;
    void SetProfileName();
};

// The wait cursor for the life of the object (DoWaitCursor 1 and -1).
class TRVMFC_API CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore();
};

// The wait cursor work of DoWaitCursor for a thread without an application.
TRVMFC_API void AFXAPI AfxDoWaitCursor(int code);
// Number of waits running on the calling thread.
TRVMFC_API int AFXAPI AfxGetWaitCursorCount();

// The message and idle hooks a library with its own application exports to the
// program's loop (its FilterDllMsg and ProcessDllIdle); the library passes its own
// AfxGetStaticModuleState(). Under that state: the thread object's
// PreTranslateMessage (the library's application on the thread that loaded it), or
// its OnIdle(0, 1, ...) until FALSE. An exception ends them (logged; FALSE).
TRVMFC_API BOOL AFXAPI AfxFilterDllMsg(AFX_MODULE_STATE* library, MSG* msg);
TRVMFC_API void AFXAPI AfxProcessDllIdle(AFX_MODULE_STATE* library);

// The calling thread's thread object under the current module state: the object a
// thread of CreateThread runs, or the module's application on the thread that made
// it; null on other threads.
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

// ---- frames of the thread: the registration point for frame windows
//
// OnIdle(0) sends WM_IDLEUPDATECMDUI (wParam TRUE) to the main window and to every
// registered frame of the calling thread whose window is visible, each followed by
// its descendants that have objects; each window once (a library's idle, run under
// its state through AfxProcessDllIdle, only those made under that state). A frame
// does its idle work
// (delayed layout, title, bars' command UI) in its WM_IDLEUPDATECMDUI handler.
// CFrameWnd (and so every mini frame and floating frame) calls AfxAddThreadFrame in
// its constructor; ~CWnd removes any object from the list, so no entry outlives its
// frame (AfxRemoveThreadFrame is for a frame leaving early). Order: registration.
// GUI thread only; each thread has its own list.
TRVMFC_API void AFXAPI AfxAddThreadFrame(CWnd* frame);
TRVMFC_API void AFXAPI AfxRemoveThreadFrame(CWnd* frame);
TRVMFC_API int AFXAPI AfxGetThreadFrameCount();
// The index-th registered frame of the calling thread (null outside 0..count-1).
TRVMFC_API CWnd* AFXAPI AfxGetThreadFrame(int index);

// The program's run of its application: InitInstance, then Run until WM_QUIT (whose
// code is returned by ExitInstance); ExitInstance alone when InitInstance refuses.
// OLE is initialised on the thread for the whole run (uninitialised after
// ExitInstance). Exceptions escaping the application are logged and end the run
// with -1.
TRVMFC_API int AFXAPI AfxWinMain(HINSTANCE instance, HINSTANCE previous, LPSTR cmdLine, int cmdShow);
