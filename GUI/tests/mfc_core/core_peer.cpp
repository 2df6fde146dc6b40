#include "core_peer.h"

IMPLEMENT_SERIAL(CPeerNode, CObject, 1)
IMPLEMENT_SERIAL(CPeerLeaf, CPeerNode, 1)

void CPeerNode::Serialize(CArchive& ar) {
    if (ar.IsStoring())
        ar << m_nValue << m_strName;
    else
        ar >> m_nValue >> m_strName;
}

CObject* PeerCreateByName(const char* className) { return CRuntimeClass::CreateObject(className); }

BOOL PeerIsKindOf(const CObject* p, const char* className) {
    CRuntimeClass* c = CRuntimeClass::FromName(className);
    return c != nullptr && p->IsKindOf(c);
}

CRuntimeClass* PeerStringArrayClass() { return RUNTIME_CLASS(CStringArray); }

CObject* PeerNewStringList() { return new CStringList; }

void PeerThrowArchive(int cause, const char* fileName) { AfxThrowArchiveException(cause, fileName); }

AFX_MODULE_STATE* PeerModuleState() { return AfxGetStaticModuleState(); }

CObject* PeerLoadObject(const BYTE* data, UINT size, const char* requiredName) {
    CMemFile file(const_cast<BYTE*>(data), size);
    CArchive ar(&file, CArchive::load);
    return ar.ReadObject(requiredName != nullptr ? CRuntimeClass::FromName(requiredName) : nullptr);
}

namespace {
AFX_MODULE_STATE* gStateAtStaticInit = nullptr;
AFX_MODULE_STATE* gStateInDllMain = nullptr;
struct RecordState {
    RecordState() { gStateAtStaticInit = AfxGetModuleState(); }
} recordState;
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) gStateInDllMain = AfxGetModuleState();
    return TRUE;
}

AFX_MODULE_STATE* PeerStateAtStaticInit() { return gStateAtStaticInit; }
AFX_MODULE_STATE* PeerStateInDllMain() { return gStateInDllMain; }
const void* PeerStaticAddress() { return &gStateAtStaticInit; }
