// Module and thread state. Every module using the layer (the console exe,
// the toolkit DLL, test programs) owns one AFX_MODULE_STATE, defined by the
// small static library trvmfc_stub that it links, and registered here in
// load order. Each thread has a current module state (the application's,
// i.e. the exe's, unless AFX_MANAGE_STATE switched it); resources are
// looked up in the current module first, then in the others in registration
// order. A DLL module runs its static constructors and DllMain with its own
// state current (the stub wraps the DLL's entry point). The thread state holds what one GUI thread shares between modules.
// All functions may be called from any thread; a state's members belong to
// the threads that use that module.
#pragma once

#include "afx_base.h"

class CWinApp;
class CWinThread;

struct TRVMFC_API AFX_MODULE_STATE {
    // constexpr: a module's state exists before its static constructors run.
    explicit constexpr AFX_MODULE_STATE(BOOL bDLL) : m_bDLL(bDLL) {}
    AFX_MODULE_STATE(const AFX_MODULE_STATE&) = delete;
    AFX_MODULE_STATE& operator=(const AFX_MODULE_STATE&) = delete;

    HINSTANCE m_hCurrentInstanceHandle = nullptr;
    HINSTANCE m_hCurrentResourceHandle = nullptr;
    LPCSTR m_lpszCurrentAppName = nullptr;
    CWinApp* m_pCurrentWinApp = nullptr;
    CWinThread* m_pCurrentWinThread = nullptr;
    BOOL m_bDLL;
};

// Called by the stub of each module at load and unload.
TRVMFC_API void AFXAPI AfxRegisterModuleState(AFX_MODULE_STATE* pState);
TRVMFC_API void AFXAPI AfxUnregisterModuleState(AFX_MODULE_STATE* pState);

// The current thread's module state.
TRVMFC_API AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
// The exe's module state (the first non-DLL state registered).
TRVMFC_API AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState();
// Makes pNew current on this thread; returns the previous one.
TRVMFC_API AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pNew);

// The registered state of the module holding address p (a static object's
// address names its module), or NULL.
TRVMFC_API AFX_MODULE_STATE* AFXAPI AfxFindModuleStateOf(const void* p);

// Defined once per module by trvmfc_stub: that module's own state.
AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState();

// Scoped switch of the current module state.
class TRVMFC_API AFX_MAINTAIN_STATE {
public:
    explicit AFX_MAINTAIN_STATE(AFX_MODULE_STATE* pNewState);
    ~AFX_MAINTAIN_STATE();
    AFX_MAINTAIN_STATE(const AFX_MAINTAIN_STATE&) = delete;
    AFX_MAINTAIN_STATE& operator=(const AFX_MAINTAIN_STATE&) = delete;

private:
    AFX_MODULE_STATE* m_pPrevModuleState;
};

#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE _ctlState(p);

TRVMFC_API HINSTANCE AFXAPI AfxGetInstanceHandle();
TRVMFC_API HINSTANCE AFXAPI AfxGetResourceHandle();
TRVMFC_API void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
// The module holding resource (lpszName, lpszType): the current module's
// resource handle first, then the other modules in registration order;
// the current one's handle when none has it.
TRVMFC_API HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// The same for string nID: the module whose string table has that entry.
TRVMFC_API HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID);
TRVMFC_API CWinApp* AFXAPI AfxGetApp();
TRVMFC_API LPCSTR AFXAPI AfxGetAppName();

// Per-thread state shared by all modules. The window layer adds its maps
// and tooltip state here.
struct TRVMFC_API AFX_THREAD_STATE {
    MSG m_msgCur{};        // message being pumped
    MSG m_lastSentMsg{};   // message being dispatched (Default() uses it)
    int m_nDisablePumpCount = 0;
};

TRVMFC_API AFX_THREAD_STATE* AFXAPI AfxGetThreadState();
