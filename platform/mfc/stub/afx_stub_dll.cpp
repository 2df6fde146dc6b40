// Entry point of every DLL that uses the class layer (linked with
// -e TrvmfcDllEntry): the module's state is registered and current while
// the C runtime runs the DLL's static constructors and its DllMain, so that
// an application object or resource lookups made then belong to this DLL.
#include "afx_module_state.h"

extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE hDllHandle, DWORD dwReason, LPVOID lpreserved);

extern "C" BOOL WINAPI TrvmfcDllEntry(HANDLE hDllHandle, DWORD dwReason, LPVOID lpreserved) {
    if (dwReason != DLL_PROCESS_ATTACH) return DllMainCRTStartup(hDllHandle, dwReason, lpreserved);
    AFX_MODULE_STATE* state = AfxGetStaticModuleState();
    state->m_bDLL = TRUE;
    state->m_hCurrentInstanceHandle = static_cast<HINSTANCE>(hDllHandle);
    state->m_hCurrentResourceHandle = static_cast<HINSTANCE>(hDllHandle);
    AfxRegisterModuleState(state);
    AFX_MODULE_STATE* previous = AfxSetModuleState(state);
    const BOOL ok = DllMainCRTStartup(hDllHandle, dwReason, lpreserved);
    AfxSetModuleState(previous);
    if (!ok) AfxUnregisterModuleState(state);
    return ok;
}
