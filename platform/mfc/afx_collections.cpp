#include "afx_collections.h"

#include "afx_archive.h"

IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapStringToOb, CObject)
IMPLEMENT_DYNAMIC(CMapStringToString, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapWordToOb, CObject)

namespace {

// Count prefix, then each element.
template <class ARRAY, class ELEM>
void serializeArray(CArchive& ar, ARRAY& a) {
    if (ar.IsStoring()) {
        ar.WriteCount(DWORD_PTR(a.GetSize()));
        for (INT_PTR i = 0; i < a.GetSize(); ++i) ar << a[i];
    } else {
        const DWORD_PTR n = ar.ReadCount();
        a.RemoveAll();
        for (DWORD_PTR i = 0; i < n; ++i) {
            ELEM e{};
            ar >> e;
            a.Add(e);
        }
    }
}

template <class LIST, class ELEM>
void serializeList(CArchive& ar, LIST& l) {
    if (ar.IsStoring()) {
        ar.WriteCount(DWORD_PTR(l.GetCount()));
        for (POSITION pos = l.GetHeadPosition(); pos != nullptr;) ar << l.GetNext(pos);
    } else {
        const DWORD_PTR n = ar.ReadCount();
        for (DWORD_PTR i = 0; i < n; ++i) {
            ELEM e{};
            ar >> e;
            l.AddTail(e);
        }
    }
}

}  // namespace

void CByteArray::Serialize(CArchive& ar) { serializeArray<CByteArray, BYTE>(ar, *this); }
void CWordArray::Serialize(CArchive& ar) { serializeArray<CWordArray, WORD>(ar, *this); }
void CDWordArray::Serialize(CArchive& ar) { serializeArray<CDWordArray, DWORD>(ar, *this); }
void CObArray::Serialize(CArchive& ar) { serializeArray<CObArray, CObject*>(ar, *this); }
void CStringArray::Serialize(CArchive& ar) { serializeArray<CStringArray, CString>(ar, *this); }
void CObList::Serialize(CArchive& ar) { serializeList<CObList, CObject*>(ar, *this); }
void CStringList::Serialize(CArchive& ar) { serializeList<CStringList, CString>(ar, *this); }
