#include "afx_object.h"

#include <cstring>
#include <mutex>
#include <vector>

#include "afx_archive.h"
#include "afx_exceptions.h"

namespace {

// The process-wide class list. Registration order is kept so that a name
// defined twice resolves to the first module that registered it.
struct ClassList {
    std::mutex mutex;
    std::vector<CRuntimeClass*> classes;  // guarded by mutex
};

ClassList& classList() {
    // Built on first use: other modules' static constructors may register
    // before or after this DLL's own.
    static ClassList* list = new ClassList;
    return *list;
}

}  // namespace

CRuntimeClass CObject::classCObject = {"CObject", int(sizeof(CObject)), 0xFFFF, nullptr,
                                       &CObject::_GetBaseClass, nullptr};
static AFX_CLASSINIT _init_CObject(&CObject::classCObject);

CRuntimeClass* PASCAL CObject::GetThisClass() { return &CObject::classCObject; }
CRuntimeClass* PASCAL CObject::_GetBaseClass() { return nullptr; }
CRuntimeClass* CObject::GetRuntimeClass() const { return &CObject::classCObject; }
void CObject::Serialize(CArchive&) {}
void CObject::AssertValid() const {}
void CObject::Dump(CDumpContext&) const {}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
    return pObject != nullptr && pObject->IsKindOf(pClass) ? pObject : nullptr;
}

CRuntimeClass* CRuntimeClass::GetBaseClass() const {
    return m_pfnGetBaseClass != nullptr ? m_pfnGetBaseClass() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* c = this; c != nullptr; c = c->GetBaseClass())
        if (c == pBaseClass) return TRUE;
    return FALSE;
}

CObject* CRuntimeClass::CreateObject() {
    if (m_pfnCreateObject == nullptr) return nullptr;
    try {
        return m_pfnCreateObject();
    } catch (CException* e) {
        e->Delete();
        return nullptr;
    }
}

CRuntimeClass* PASCAL CRuntimeClass::FromName(LPCSTR lpszClassName) {
    if (lpszClassName == nullptr) return nullptr;
    ClassList& list = classList();
    std::lock_guard<std::mutex> lock(list.mutex);
    for (CRuntimeClass* c : list.classes)
        if (std::strcmp(c->m_lpszClassName, lpszClassName) == 0) return c;
    return nullptr;
}

CObject* PASCAL CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
    CRuntimeClass* c = FromName(lpszClassName);
    return c != nullptr ? c->CreateObject() : nullptr;
}

void CRuntimeClass::Store(CArchive& ar) const {
    const size_t len = std::strlen(m_lpszClassName);
    ar << WORD(m_wSchema) << WORD(len);
    ar.Write(m_lpszClassName, UINT(len));
}

CRuntimeClass* PASCAL CRuntimeClass::Load(CArchive& ar, UINT* pwSchemaNum) {
    WORD schema = 0, len = 0;
    ar >> schema >> len;
    char name[64];
    // A longer name cannot be one of ours; reading it would only overrun.
    if (len >= sizeof(name) || ar.Read(name, len) != len) return nullptr;
    name[len] = '\0';
    if (pwSchemaNum != nullptr) *pwSchemaNum = schema;
    return FromName(name);
}

void AFXAPI AfxClassInit(CRuntimeClass* pNewClass) {
    ClassList& list = classList();
    std::lock_guard<std::mutex> lock(list.mutex);
    list.classes.push_back(pNewClass);
}

void AFXAPI AfxClassTerm(CRuntimeClass* pOldClass) {
    ClassList& list = classList();
    std::lock_guard<std::mutex> lock(list.mutex);
    for (auto it = list.classes.begin(); it != list.classes.end(); ++it)
        if (*it == pOldClass) {
            list.classes.erase(it);
            return;
        }
}

AFX_CLASSINIT::AFX_CLASSINIT(CRuntimeClass* pNewClass) : m_pClass(pNewClass) {
    AfxClassInit(pNewClass);
}

AFX_CLASSINIT::~AFX_CLASSINIT() { AfxClassTerm(m_pClass); }
