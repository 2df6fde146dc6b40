// CObject and runtime classes. Every class declared with the DYNAMIC,
// DYNCREATE or SERIAL macros owns one static CRuntimeClass in the module
// that implements it; the IMPLEMENT_* macros register it in the process-wide
// class list held by this DLL, so IsKindOf and creation by name work across
// modules. Registration happens during static initialisation and is undone
// when the module unloads. The class list may be read from any thread.
#pragma once

#include "afx_base.h"

class CObject;
class CArchive;
class CDumpContext;

#define VERSIONABLE_SCHEMA (0x80000000)

struct TRVMFC_API CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;  // 0xFFFF: not serialisable
    CObject* (PASCAL* m_pfnCreateObject)();
    CRuntimeClass* (PASCAL* m_pfnGetBaseClass)();
    CRuntimeClass* m_pNextClass;  // unused; the class list lives in the DLL

    CObject* CreateObject();
    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    CRuntimeClass* GetBaseClass() const;

    // Looks a registered class up by its plain name, over all modules.
    static CRuntimeClass* PASCAL FromName(LPCSTR lpszClassName);
    static CObject* PASCAL CreateObject(LPCSTR lpszClassName);

    // Class record of an archive: schema word, name length word, name.
    void Store(CArchive& ar) const;
    static CRuntimeClass* PASCAL Load(CArchive& ar, UINT* pwSchemaNum);
};

// Registers a class for the life of the object (one per IMPLEMENT_* use).
struct TRVMFC_API AFX_CLASSINIT {
    explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
    ~AFX_CLASSINIT();
    AFX_CLASSINIT(const AFX_CLASSINIT&) = delete;
    AFX_CLASSINIT& operator=(const AFX_CLASSINIT&) = delete;
    CRuntimeClass* m_pClass;
};

TRVMFC_API void AFXAPI AfxClassInit(CRuntimeClass* pNewClass);
TRVMFC_API void AFXAPI AfxClassTerm(CRuntimeClass* pOldClass);

#define RUNTIME_CLASS(class_name) (class_name::GetThisClass())

class TRVMFC_API CObject {
public:
    // Order matters: later classes append their virtuals after these five.
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject() = default;
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const;
    virtual void Dump(CDumpContext& dc) const;

    BOOL IsKindOf(const CRuntimeClass* pClass) const;
    BOOL IsSerializable() const;

    static CRuntimeClass classCObject;
    static CRuntimeClass* PASCAL GetThisClass();
    static CRuntimeClass* PASCAL _GetBaseClass();

protected:
    CObject() = default;

private:
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
};

TRVMFC_API CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
#define DYNAMIC_DOWNCAST(class_name, object) \
    (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))

#define DECLARE_DYNAMIC(class_name)                         \
public:                                                     \
    static CRuntimeClass class##class_name;                 \
    static CRuntimeClass* PASCAL GetThisClass();            \
    static CRuntimeClass* PASCAL _GetBaseClass();           \
    virtual CRuntimeClass* GetRuntimeClass() const;

#define DECLARE_DYNCREATE(class_name) \
    DECLARE_DYNAMIC(class_name)       \
    static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name)   \
    DECLARE_DYNCREATE(class_name)    \
    friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)              \
    CRuntimeClass* PASCAL class_name::_GetBaseClass() { return RUNTIME_CLASS(base_class_name); } \
    CRuntimeClass class_name::class##class_name = {                                          \
        #class_name, int(sizeof(class class_name)), wSchema, pfnNew,                         \
        &class_name::_GetBaseClass, nullptr};                                                \
    CRuntimeClass* PASCAL class_name::GetThisClass() { return &class_name::class##class_name; } \
    CRuntimeClass* class_name::GetRuntimeClass() const { return &class_name::class##class_name; } \
    static AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                      \
    CObject* PASCAL class_name::CreateObject() { return new class_name; }     \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, &class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)                         \
    CObject* PASCAL class_name::CreateObject() { return new class_name; }              \
    IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, &class_name::CreateObject) \
    CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb) {                      \
        pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));      \
        return ar;                                                                     \
    }
