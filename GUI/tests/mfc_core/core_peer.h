// A second module using the class layer, standing in for the toolkit DLL: a
// class of its own, creation and kind tests done on its side, and strings
// whose ids collide with the program's.
#pragma once

#include "afx.h"

#ifdef CORE_PEER_BUILD
#define CORE_PEER_API __declspec(dllexport)
#else
#define CORE_PEER_API __declspec(dllimport)
#endif

// String ids: kSharedStringId exists in both modules with different texts.
enum { kSharedStringId = 300, kPeerOnlyStringId = 301, kExeOnlyStringId = 302 };

class CORE_PEER_API CPeerNode : public CObject {
    DECLARE_SERIAL(CPeerNode)
public:
    void Serialize(CArchive& ar) override;
    LONG m_nValue = 0;
    CString m_strName;
};

class CORE_PEER_API CPeerLeaf : public CPeerNode {
    DECLARE_SERIAL(CPeerLeaf)
};

// Creation and kind tests made inside the peer.
CORE_PEER_API CObject* PeerCreateByName(const char* className);
CORE_PEER_API BOOL PeerIsKindOf(const CObject* p, const char* className);
CORE_PEER_API CRuntimeClass* PeerStringArrayClass();
CORE_PEER_API CObject* PeerNewStringList();
// Throws the layer's exceptions from the peer.
CORE_PEER_API void PeerThrowArchive(int cause, const char* fileName);
// The peer's own module state.
CORE_PEER_API AFX_MODULE_STATE* PeerModuleState();
// The module state current while the peer's static objects were built.
CORE_PEER_API AFX_MODULE_STATE* PeerStateAtStaticInit();
CORE_PEER_API AFX_MODULE_STATE* PeerStateInDllMain();
CORE_PEER_API const void* PeerStaticAddress();
// Reads an object from bytes, requiring class requiredName (NULL: any).
CORE_PEER_API CObject* PeerLoadObject(const BYTE* data, UINT size, const char* requiredName);
