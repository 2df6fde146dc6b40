// Linked into every module that uses the class layer (trvmfc_stub): defines
// that module's state and registers it for the life of the module.
#include "afx_module_state.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HINSTANCE thisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// Constant-initialised: the DLL entry wrapper (afx_stub_dll.cpp) uses it
// before any constructor of the module has run.
AFX_MODULE_STATE moduleState(FALSE);

struct StubRegistration {
    StubRegistration() {
        moduleState.m_bDLL = thisModule() != GetModuleHandleA(nullptr);
        moduleState.m_hCurrentInstanceHandle = thisModule();
        if (moduleState.m_hCurrentResourceHandle == nullptr) moduleState.m_hCurrentResourceHandle = thisModule();
        AfxRegisterModuleState(&moduleState);
    }
    ~StubRegistration() { AfxUnregisterModuleState(&moduleState); }
};

// Registered before the module's other static objects, so that classes,
// registered messages and apps created at static initialisation find it.
__attribute__((init_priority(101))) StubRegistration stubRegistration;

}  // namespace

AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState() { return &moduleState; }
