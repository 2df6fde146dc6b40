// Linked into every module that uses the class layer (trvmfc_stub): defines
// that module's state and registers it for the life of the module.
#include "afx_module_state.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

HINSTANCE thisModule() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

struct StubState {
    AFX_MODULE_STATE state;
    StubState() : state(thisModule() != GetModuleHandleA(nullptr)) {
        state.m_hCurrentInstanceHandle = thisModule();
        state.m_hCurrentResourceHandle = thisModule();
        AfxRegisterModuleState(&state);
    }
    ~StubState() { AfxUnregisterModuleState(&state); }
};

// Registered before the module's other static objects, so that classes,
// registered messages and apps created at static initialisation find it.
__attribute__((init_priority(101))) StubState stubState;

}  // namespace

AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState() { return &stubState.state; }
