// Runtime classes across module boundaries, creation by name, exceptions as
// pointers, module state and the resource lookup order.
#include <memory>

#include "afx.h"
#include "core_check.h"
#include "core_peer.h"
#include "wtest.h"

class CExeNode : public CPeerNode {
    DECLARE_SERIAL(CExeNode)
};
IMPLEMENT_SERIAL(CExeNode, CPeerNode, 1)

class CExeOnlyDynamic : public CObject {
    DECLARE_DYNAMIC(CExeOnlyDynamic)
};
IMPLEMENT_DYNAMIC(CExeOnlyDynamic, CObject)

namespace {

int gCountedAlive = 0;
class CCountedException : public CUserException {
public:
    CCountedException() { ++gCountedAlive; }
    ~CCountedException() override { --gCountedAlive; }
};

}  // namespace

WTEST(layer_class_made_in_exe_is_known_to_peer) {
    std::unique_ptr<CObject> p(RUNTIME_CLASS(CStringArray)->CreateObject());
    WCHECK(p != nullptr);
    WCHECK(RUNTIME_CLASS(CStringArray) == PeerStringArrayClass());
    WCHECK(p->IsKindOf(RUNTIME_CLASS(CObject)));
    WCHECK(PeerIsKindOf(p.get(), "CStringArray"));
    WCHECK(PeerIsKindOf(p.get(), "CObject"));
    WCHECK(!PeerIsKindOf(p.get(), "CStringList"));
    WCHECK(!p->IsKindOf(RUNTIME_CLASS(CPeerNode)));
}

WTEST(objects_made_in_peer_are_known_to_exe) {
    std::unique_ptr<CObject> list(PeerNewStringList());
    WCHECK(list->IsKindOf(RUNTIME_CLASS(CStringList)));
    WCHECK(list->GetRuntimeClass() == RUNTIME_CLASS(CStringList));
    WCHECK(DYNAMIC_DOWNCAST(CStringList, list.get()) != nullptr);
    WCHECK(DYNAMIC_DOWNCAST(CStringArray, list.get()) == nullptr);

    // An exe class, created by name inside the peer.
    std::unique_ptr<CObject> node(PeerCreateByName("CExeNode"));
    WCHECK(node != nullptr);
    WCHECK(node->IsKindOf(RUNTIME_CLASS(CExeNode)));
    WCHECK(node->IsKindOf(RUNTIME_CLASS(CPeerNode)));
    WCHECK(PeerIsKindOf(node.get(), "CPeerNode"));
    WCHECK(!PeerIsKindOf(node.get(), "CPeerLeaf"));
}

WTEST(creation_by_name_over_all_modules) {
    struct Case {
        const char* name;
        CRuntimeClass* expected;  // NULL: not creatable
    };
    const Case cases[] = {
        {"CPeerLeaf", RUNTIME_CLASS(CPeerLeaf)},   // peer DLL
        {"CExeNode", RUNTIME_CLASS(CExeNode)},     // this program
        {"CObArray", RUNTIME_CLASS(CObArray)},     // layer DLL
        {"CExeOnlyDynamic", nullptr},               // known, but not creatable
        {"CObject", nullptr},
        {"CNoSuchClass", nullptr},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CObject> p(CRuntimeClass::CreateObject(c.name));
        WCHECK_EQ(p ? p->GetRuntimeClass() : nullptr, c.expected);
    }
    WCHECK(CRuntimeClass::FromName("CExeOnlyDynamic") == RUNTIME_CLASS(CExeOnlyDynamic));
    WCHECK(CRuntimeClass::FromName("CNoSuchClass") == nullptr);
    WCHECK_EQ(std::string(RUNTIME_CLASS(CPeerLeaf)->m_lpszClassName), std::string("CPeerLeaf"));
    WCHECK(RUNTIME_CLASS(CPeerLeaf)->GetBaseClass() == RUNTIME_CLASS(CPeerNode));
    WCHECK(RUNTIME_CLASS(CExeNode)->IsDerivedFrom(RUNTIME_CLASS(CObject)));
    WCHECK(!RUNTIME_CLASS(CObject)->IsDerivedFrom(RUNTIME_CLASS(CExeNode)));
}

WTEST(exceptions_are_pointers_across_modules) {
    const Thrown t = ThrownBy([] { PeerThrowArchive(CArchiveException::badClass, "tree.bin"); });
    WCHECK(t.kind == RUNTIME_CLASS(CArchiveException));
    WCHECK_EQ(t.cause, int(CArchiveException::badClass));
    WCHECK_EQ(std::string(t.fileName), std::string("tree.bin"));

    struct Case {
        void (*thrower)();
        CRuntimeClass* kind;
    };
    const Case cases[] = {
        {[] { AfxThrowNotSupportedException(); }, RUNTIME_CLASS(CNotSupportedException)},
        {[] { AfxThrowInvalidArgException(); }, RUNTIME_CLASS(CInvalidArgException)},
        {[] { AfxThrowResourceException(); }, RUNTIME_CLASS(CResourceException)},
        {[] { AfxThrowUserException(); }, RUNTIME_CLASS(CUserException)},
        {[] { AfxThrowMemoryException(); }, RUNTIME_CLASS(CMemoryException)},
        {[] { AfxThrowFileException(CFileException::fileNotFound, 2, "x"); }, RUNTIME_CLASS(CFileException)},
    };
    for (const Case& c : cases) {
        const Thrown k = ThrownBy(c.thrower);
        WCHECK(k.kind == c.kind);
        WCHECK(k.kind != nullptr && k.kind->IsDerivedFrom(RUNTIME_CLASS(CException)));
    }
}

WTEST(delete_frees_only_self_owned_exceptions) {
    try {
        throw new CCountedException;
    } catch (CException* e) {
        WCHECK_EQ(gCountedAlive, 1);
        WCHECK(e->IsKindOf(RUNTIME_CLASS(CUserException)));
        e->Delete();
    }
    WCHECK_EQ(gCountedAlive, 0);

    // Not self-owned: Delete() leaves it to its owner.
    {
        CCountedException onStack;
        onStack.m_bAutoDelete = FALSE;
        onStack.Delete();
        WCHECK_EQ(gCountedAlive, 1);
    }
    WCHECK_EQ(gCountedAlive, 0);

    // The memory exception is shared and survives Delete(): throwing it
    // needs no allocation.
    CException* first = nullptr;
    CException* second = nullptr;
    try { AfxThrowMemoryException(); } catch (CException* e) { first = e; e->Delete(); }
    try { AfxThrowMemoryException(); } catch (CException* e) { second = e; e->Delete(); }
    WCHECK(first != nullptr && first == second);
    WCHECK(second->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    char text[64] = "";
    WCHECK(second->GetErrorMessage(text, sizeof(text)));
    WCHECK(text[0] != '\0');
}

WTEST(module_states_switch_per_scope) {
    AFX_MODULE_STATE* exe = AfxGetStaticModuleState();
    AFX_MODULE_STATE* peer = PeerModuleState();
    WCHECK(exe != peer);
    WCHECK(!exe->m_bDLL);
    WCHECK(peer->m_bDLL);
    WCHECK(AfxGetAppModuleState() == exe);
    WCHECK(AfxGetModuleState() == exe);
    WCHECK(AfxGetInstanceHandle() == GetModuleHandleA(nullptr));
    {
        AFX_MANAGE_STATE(peer);
        WCHECK(AfxGetModuleState() == peer);
        WCHECK(AfxGetInstanceHandle() == GetModuleHandleA("mfc_core_peer.dll"));
        WCHECK(AfxGetAppModuleState() == exe);
        {
            AFX_MANAGE_STATE(AfxGetAppModuleState());
            WCHECK(AfxGetModuleState() == exe);
        }
        WCHECK(AfxGetModuleState() == peer);
    }
    WCHECK(AfxGetModuleState() == exe);
}

WTEST(a_dll_builds_and_starts_under_its_own_state) {
    WCHECK(PeerStateAtStaticInit() == PeerModuleState());
    WCHECK(PeerStateInDllMain() == PeerModuleState());
    WCHECK(AfxGetModuleState() == AfxGetStaticModuleState());  // restored after loading
    static int exeStatic;
    WCHECK(AfxFindModuleStateOf(&exeStatic) == AfxGetStaticModuleState());
    WCHECK(AfxFindModuleStateOf(PeerStaticAddress()) == PeerModuleState());
    WCHECK(AfxFindModuleStateOf(reinterpret_cast<const void*>(&GetTickCount)) == nullptr);
}

WTEST(resources_are_found_current_module_first) {
    const HINSTANCE exeRes = GetModuleHandleA(nullptr);
    const HINSTANCE peerRes = GetModuleHandleA("mfc_core_peer.dll");
    struct Case {
        bool underPeer;
        UINT id;
        HINSTANCE expectedHandle;
        const char* expectedText;  // NULL: LoadString fails
    };
    const Case cases[] = {
        {false, kSharedStringId, exeRes, "exe shared"},
        {true, kSharedStringId, peerRes, "peer shared"},
        {false, kPeerOnlyStringId, peerRes, "peer only"},
        {true, kExeOnlyStringId, exeRes, "exe only"},
        {false, 999, exeRes, nullptr},
        {true, 999, peerRes, nullptr},
    };
    for (const Case& c : cases) {
        AFX_MANAGE_STATE(c.underPeer ? PeerModuleState() : AfxGetStaticModuleState());
        WCHECK(AfxFindStringResourceHandle(c.id) == c.expectedHandle);
        CString s;
        const BOOL found = s.LoadString(c.id);
        WCHECK_EQ(found != FALSE, c.expectedText != nullptr);
        if (c.expectedText != nullptr) WCHECK_EQ(std::string(s), std::string(c.expectedText));
    }
    // The resource handle can point elsewhere without changing the instance.
    AfxSetResourceHandle(peerRes);
    CString s;
    WCHECK(s.LoadString(kSharedStringId) && s == "peer shared");
    AfxSetResourceHandle(exeRes);
    WCHECK(AfxGetResourceHandle() == exeRes);
}
