#include "afx_module_state.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct ModuleList {
    std::mutex mutex;
    std::vector<AFX_MODULE_STATE*> states;  // guarded by mutex; registration order
};

ModuleList& modules() {
    static ModuleList* list = new ModuleList;
    return *list;
}

thread_local AFX_MODULE_STATE* tCurrent = nullptr;

}  // namespace

// In the window part of the layer (afxwin_wnd.cpp).
void AfxUnregisterModuleClasses(AFX_MODULE_STATE* module);

void AFXAPI AfxRegisterModuleState(AFX_MODULE_STATE* pState) {
    ModuleList& list = modules();
    std::lock_guard<std::mutex> lock(list.mutex);
    if (std::find(list.states.begin(), list.states.end(), pState) == list.states.end())
        list.states.push_back(pState);
}

void AFXAPI AfxUnregisterModuleState(AFX_MODULE_STATE* pState) {
    {
        ModuleList& list = modules();
        std::lock_guard<std::mutex> lock(list.mutex);
        list.states.erase(std::remove(list.states.begin(), list.states.end(), pState), list.states.end());
        if (tCurrent == pState) tCurrent = nullptr;
    }
    // A DLL's window procedures leave with it, so its window classes must too.
    if (pState->m_bDLL) AfxUnregisterModuleClasses(pState);
}

AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState() {
    ModuleList& list = modules();
    std::lock_guard<std::mutex> lock(list.mutex);
    for (AFX_MODULE_STATE* s : list.states)
        if (!s->m_bDLL) return s;
    return list.states.empty() ? nullptr : list.states.front();
}

AFX_MODULE_STATE* AFXAPI AfxFindModuleStateOf(const void* p) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(p), &module))
        return nullptr;
    ModuleList& list = modules();
    std::lock_guard<std::mutex> lock(list.mutex);
    for (AFX_MODULE_STATE* s : list.states)
        if (s->m_hCurrentInstanceHandle == module) return s;
    return nullptr;
}

AFX_MODULE_STATE* AFXAPI AfxGetModuleState() {
    return tCurrent != nullptr ? tCurrent : AfxGetAppModuleState();
}

AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pNew) {
    AFX_MODULE_STATE* old = tCurrent;
    tCurrent = pNew;
    return old;
}

AFX_MAINTAIN_STATE::AFX_MAINTAIN_STATE(AFX_MODULE_STATE* pNewState)
    : m_pPrevModuleState(AfxSetModuleState(pNewState)) {}

AFX_MAINTAIN_STATE::~AFX_MAINTAIN_STATE() { AfxSetModuleState(m_pPrevModuleState); }

HINSTANCE AFXAPI AfxGetInstanceHandle() {
    AFX_MODULE_STATE* s = AfxGetModuleState();
    return s != nullptr ? s->m_hCurrentInstanceHandle : nullptr;
}

HINSTANCE AFXAPI AfxGetResourceHandle() {
    AFX_MODULE_STATE* s = AfxGetModuleState();
    return s != nullptr ? s->m_hCurrentResourceHandle : nullptr;
}

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource) {
    if (AFX_MODULE_STATE* s = AfxGetModuleState()) s->m_hCurrentResourceHandle = hInstResource;
}

namespace {

// The current module's resource handle if it passes `has`, else the first
// other module's in registration order, else the current one's.
template <class Has>
HINSTANCE findInChain(Has has) {
    AFX_MODULE_STATE* current = AfxGetModuleState();
    if (current != nullptr && current->m_hCurrentResourceHandle != nullptr &&
        has(current->m_hCurrentResourceHandle))
        return current->m_hCurrentResourceHandle;
    std::vector<HINSTANCE> others;
    {
        ModuleList& list = modules();
        std::lock_guard<std::mutex> lock(list.mutex);
        for (AFX_MODULE_STATE* s : list.states)
            if (s != current && s->m_hCurrentResourceHandle != nullptr)
                others.push_back(s->m_hCurrentResourceHandle);
    }
    // Searched outside the lock: resource calls may load and call into modules.
    for (HINSTANCE h : others)
        if (has(h)) return h;
    return current != nullptr ? current->m_hCurrentResourceHandle : nullptr;
}

// True when the string table of h has a non-empty entry nID (a block holds
// 16 counted UTF-16 strings; a block may exist without the entry).
bool hasString(HINSTANCE h, UINT nID) {
    HRSRC block = FindResourceA(h, MAKEINTRESOURCEA((nID >> 4) + 1), MAKEINTRESOURCEA(6));
    HGLOBAL g = block != nullptr ? LoadResource(h, block) : nullptr;
    const WCHAR* p = g != nullptr ? static_cast<const WCHAR*>(LockResource(g)) : nullptr;
    if (p == nullptr) return false;
    const WCHAR* end = p + SizeofResource(h, block) / sizeof(WCHAR);
    for (UINT i = 0; i < (nID & 15); ++i) {
        if (p >= end) return false;
        p += 1 + *p;
    }
    return p < end && *p != 0 && p + 1 + *p <= end;
}

}  // namespace

HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType) {
    return findInChain([&](HINSTANCE h) { return FindResourceA(h, lpszName, lpszType) != nullptr; });
}

HINSTANCE AFXAPI AfxFindStringResourceHandle(UINT nID) {
    return findInChain([&](HINSTANCE h) { return hasString(h, nID); });
}

CWinApp* AFXAPI AfxGetApp() {
    AFX_MODULE_STATE* s = AfxGetModuleState();
    return s != nullptr ? s->m_pCurrentWinApp : nullptr;
}

LPCSTR AFXAPI AfxGetAppName() {
    AFX_MODULE_STATE* s = AfxGetModuleState();
    return s != nullptr ? s->m_lpszCurrentAppName : nullptr;
}

AFX_THREAD_STATE* AFXAPI AfxGetThreadState() {
    thread_local AFX_THREAD_STATE state;
    return &state;
}
