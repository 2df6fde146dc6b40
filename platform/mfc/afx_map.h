// CMap: a hash map from KEY to VALUE. Iteration (GetStartPosition,
// GetNextAssoc) visits the buckets in ascending order and, within a bucket,
// the newest entry first; integer and pointer keys hash to (key >> 4) mod
// the table size (17 unless InitHashTable chose another). String keys are
// case-sensitive. Not synchronised.
#pragma once

#include <utility>

#include "afx_exceptions.h"

template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key) {
    return UINT(UINT_PTR(key) >> 4);
}

inline UINT AFXAPI HashKey(LPCSTR key) {
    UINT nHash = 0;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(key); p && *p; ++p)
        nHash = (nHash << 5) + nHash + *p;
    return nHash;
}
inline UINT AFXAPI HashKey(const CString& key) { return HashKey(key.GetString()); }
inline UINT AFXAPI HashKey(LPSTR key) { return HashKey(static_cast<LPCSTR>(key)); }

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
public:
    struct CPair {
        const KEY key;
        VALUE value;
    };

protected:
    struct CAssoc : CPair {
        CAssoc* pNext;
        UINT nHashValue;
    };

public:
    using BASE_KEY = KEY;
    using BASE_ARG_KEY = ARG_KEY;
    using BASE_VALUE = VALUE;

    explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    ~CMap() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }
    UINT GetHashTableSize() const { return m_nHashTableSize; }

    // Only before the first entry; later calls keep the current table.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
        if (m_nCount != 0 || hashSize == 0) return;
        delete[] m_pHashTable;
        m_pHashTable = nullptr;
        m_nHashTableSize = hashSize;
        if (bAllocNow) AllocTable();
    }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
        const CAssoc* a = Find(key);
        if (a == nullptr) return FALSE;
        rValue = a->value;
        return TRUE;
    }
    const CPair* PLookup(ARG_KEY key) const { return Find(key); }
    CPair* PLookup(ARG_KEY key) { return Find(key); }

    VALUE& operator[](ARG_KEY key) {
        if (CAssoc* a = Find(key)) return a->value;
        if (m_pHashTable == nullptr) AllocTable();
        const UINT h = HashKey(key) % m_nHashTableSize;
        CAssoc* a = new CAssoc{{KEY(key), VALUE()}, m_pHashTable[h], h};
        m_pHashTable[h] = a;  // newest first within its bucket
        ++m_nCount;
        return a->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key) {
        if (m_pHashTable == nullptr) return FALSE;
        for (CAssoc** pp = &m_pHashTable[HashKey(key) % m_nHashTableSize]; *pp; pp = &(*pp)->pNext)
            if ((*pp)->key == key) {
                CAssoc* a = *pp;
                *pp = a->pNext;
                delete a;
                --m_nCount;
                return TRUE;
            }
        return FALSE;
    }
    void RemoveAll() {
        if (m_pHashTable != nullptr)
            for (UINT i = 0; i < m_nHashTableSize; ++i)
                while (CAssoc* a = m_pHashTable[i]) {
                    m_pHashTable[i] = a->pNext;
                    delete a;
                }
        delete[] m_pHashTable;
        m_pHashTable = nullptr;
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount == 0 ? nullptr : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
        CAssoc* a = Current(rNextPosition);
        rKey = a->key;
        rValue = a->value;
        rNextPosition = reinterpret_cast<POSITION>(After(a));
    }
    CPair* PGetFirstAssoc() { return First(); }
    const CPair* PGetFirstAssoc() const { return First(); }
    CPair* PGetNextAssoc(const CPair* p) { return After(static_cast<const CAssoc*>(p)); }
    const CPair* PGetNextAssoc(const CPair* p) const { return After(static_cast<const CAssoc*>(p)); }

protected:
    void AllocTable() {
        m_pHashTable = new CAssoc*[m_nHashTableSize]();
    }
    CAssoc* Find(ARG_KEY key) const {
        if (m_pHashTable == nullptr) return nullptr;
        for (CAssoc* a = m_pHashTable[HashKey(key) % m_nHashTableSize]; a; a = a->pNext)
            if (a->key == key) return a;
        return nullptr;
    }
    CAssoc* First() const {
        if (m_pHashTable == nullptr) return nullptr;
        for (UINT i = 0; i < m_nHashTableSize; ++i)
            if (m_pHashTable[i] != nullptr) return m_pHashTable[i];
        return nullptr;
    }
    CAssoc* After(const CAssoc* a) const {
        if (a->pNext != nullptr) return a->pNext;
        for (UINT i = a->nHashValue + 1; i < m_nHashTableSize; ++i)
            if (m_pHashTable[i] != nullptr) return m_pHashTable[i];
        return nullptr;
    }
    CAssoc* Current(POSITION p) const {
        if (p == nullptr) AfxThrowInvalidArgException();
        if (p != BEFORE_START_POSITION) return reinterpret_cast<CAssoc*>(p);
        CAssoc* a = First();
        if (a == nullptr) AfxThrowInvalidArgException();
        return a;
    }

    CAssoc** m_pHashTable = nullptr;
    UINT m_nHashTableSize = 17;
    INT_PTR m_nCount = 0;
};
