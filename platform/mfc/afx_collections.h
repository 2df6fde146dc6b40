// The named collections: instantiations of CArray, CList and CMap with
// runtime classes, so that they can be told apart with IsKindOf and the
// serialisable ones stored in archives. The typed-pointer wrappers cast
// around a pointer collection. Not synchronised.
#pragma once

#include "afx_array.h"
#include "afx_list.h"
#include "afx_map.h"

class TRVMFC_API CPtrArray : public CArray<void*, void*> { DECLARE_DYNAMIC(CPtrArray) };
class TRVMFC_API CByteArray : public CArray<BYTE, BYTE> { DECLARE_SERIAL(CByteArray) void Serialize(CArchive&) override; };
class TRVMFC_API CWordArray : public CArray<WORD, WORD> { DECLARE_SERIAL(CWordArray) void Serialize(CArchive&) override; };
class TRVMFC_API CDWordArray : public CArray<DWORD, DWORD> { DECLARE_SERIAL(CDWordArray) void Serialize(CArchive&) override; };
class TRVMFC_API CUIntArray : public CArray<UINT, UINT> { DECLARE_DYNAMIC(CUIntArray) };
class TRVMFC_API CObArray : public CArray<CObject*, CObject*> { DECLARE_SERIAL(CObArray) void Serialize(CArchive&) override; };
class TRVMFC_API CStringArray : public CArray<CString, const CString&> {
    DECLARE_SERIAL(CStringArray)
    void Serialize(CArchive&) override;
};

class TRVMFC_API CPtrList : public CList<void*, void*> {
    DECLARE_DYNAMIC(CPtrList)
public:
    explicit CPtrList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};
class TRVMFC_API CObList : public CList<CObject*, CObject*> {
    DECLARE_SERIAL(CObList)
public:
    explicit CObList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
    void Serialize(CArchive&) override;
};
class TRVMFC_API CStringList : public CList<CString, const CString&> {
    DECLARE_SERIAL(CStringList)
public:
    explicit CStringList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
    void Serialize(CArchive&) override;
};

#define TRVMFC_NAMED_MAP(name, K, AK, V, AV)                                  \
    class TRVMFC_API name : public CMap<K, AK, V, AV> {                       \
        DECLARE_DYNAMIC(name)                                                 \
    public:                                                                   \
        explicit name(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}          \
    };
TRVMFC_NAMED_MAP(CMapStringToPtr, CString, LPCSTR, void*, void*)
TRVMFC_NAMED_MAP(CMapStringToOb, CString, LPCSTR, CObject*, CObject*)
TRVMFC_NAMED_MAP(CMapStringToString, CString, LPCSTR, CString, LPCSTR)
TRVMFC_NAMED_MAP(CMapPtrToPtr, void*, void*, void*, void*)
TRVMFC_NAMED_MAP(CMapPtrToWord, void*, void*, WORD, WORD)
TRVMFC_NAMED_MAP(CMapWordToPtr, WORD, WORD, void*, void*)
TRVMFC_NAMED_MAP(CMapWordToOb, WORD, WORD, CObject*, CObject*)
#undef TRVMFC_NAMED_MAP

// Typed views of the pointer collections.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(INT_PTR i) const { return static_cast<TYPE>(BASE_CLASS::GetAt(i)); }
    TYPE& ElementAt(INT_PTR i) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(i)); }
    void SetAt(INT_PTR i, TYPE p) { BASE_CLASS::SetAt(i, p); }
    void SetAtGrow(INT_PTR i, TYPE p) { BASE_CLASS::SetAtGrow(i, p); }
    INT_PTR Add(TYPE p) { return BASE_CLASS::Add(p); }
    void InsertAt(INT_PTR i, TYPE p, INT_PTR n = 1) { BASE_CLASS::InsertAt(i, p, n); }
    TYPE operator[](INT_PTR i) const { return GetAt(i); }
    TYPE& operator[](INT_PTR i) { return ElementAt(i); }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    TYPE& GetNext(POSITION& pos) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(pos)); }
    TYPE GetNext(POSITION& pos) const { return static_cast<TYPE>(BASE_CLASS::GetNext(pos)); }
    TYPE& GetPrev(POSITION& pos) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(pos)); }
    TYPE GetPrev(POSITION& pos) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(pos)); }
    TYPE& GetAt(POSITION pos) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(pos)); }
    TYPE GetAt(POSITION pos) const { return static_cast<TYPE>(BASE_CLASS::GetAt(pos)); }
    void SetAt(POSITION pos, TYPE p) { BASE_CLASS::SetAt(pos, p); }
    POSITION AddHead(TYPE p) { return BASE_CLASS::AddHead(p); }
    POSITION AddTail(TYPE p) { return BASE_CLASS::AddTail(p); }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
    using BaseKey = typename BASE_CLASS::BASE_KEY;
    using BaseValue = typename BASE_CLASS::BASE_VALUE;

public:
    explicit CTypedPtrMap(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const {
        BaseValue v{};
        if (!BASE_CLASS::Lookup(key, v)) return FALSE;
        rValue = static_cast<VALUE>(v);
        return TRUE;
    }
    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) {
        return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key));
    }
    void SetAt(typename BASE_CLASS::BASE_ARG_KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const {
        BaseKey k{};
        BaseValue v{};
        BASE_CLASS::GetNextAssoc(rPosition, k, v);
        rKey = static_cast<KEY>(k);
        rValue = static_cast<VALUE>(v);
    }
};
