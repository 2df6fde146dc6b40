// CArray: a growable array of TYPE passed as ARG_TYPE. Elements are
// relocated by move construction (never by raw byte copies), so elements
// may own resources. An index outside [0, GetSize()) in GetAt, SetAt,
// ElementAt, operator[] and RemoveAt throws CInvalidArgException*; growth
// failure throws CMemoryException*. Not synchronised.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

#include "afx_exceptions.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    ~CArray() override { SetSize(0); ::operator delete(m_pData); }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }

    // Grows or shrinks to nNewSize; new elements are value-initialised.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
        if (nNewSize < 0) AfxThrowInvalidArgException();
        if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
        if (nNewSize > m_nMaxSize) Reserve(nNewSize);
        while (m_nSize < nNewSize) {
            new (&m_pData[m_nSize]) TYPE();
            ++m_nSize;
        }
        while (m_nSize > nNewSize) {
            --m_nSize;
            m_pData[m_nSize].~TYPE();
        }
    }
    void FreeExtra() {
        if (m_nMaxSize > m_nSize) Relocate(m_nSize);
    }
    void RemoveAll() { SetSize(0); }

    const TYPE& GetAt(INT_PTR nIndex) const { return m_pData[Check(nIndex)]; }
    TYPE& GetAt(INT_PTR nIndex) { return m_pData[Check(nIndex)]; }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_pData[Check(nIndex)] = newElement; }
    const TYPE& ElementAt(INT_PTR nIndex) const { return m_pData[Check(nIndex)]; }
    TYPE& ElementAt(INT_PTR nIndex) { return m_pData[Check(nIndex)]; }
    const TYPE& operator[](INT_PTR nIndex) const { return m_pData[Check(nIndex)]; }
    TYPE& operator[](INT_PTR nIndex) { return m_pData[Check(nIndex)]; }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
        if (nIndex < 0) AfxThrowInvalidArgException();
        if (nIndex >= m_nSize) {
            TYPE copy(newElement);  // newElement may live in this array
            SetSize(nIndex + 1);
            m_pData[nIndex] = std::move(copy);
        } else {
            m_pData[nIndex] = newElement;
        }
    }
    INT_PTR Add(ARG_TYPE newElement) {
        const INT_PTR i = m_nSize;
        SetAtGrow(i, newElement);
        return i;
    }
    INT_PTR Append(const CArray& src) {
        const INT_PTR old = m_nSize;
        if (&src == this) {
            const INT_PTR n = m_nSize;
            Reserve(old + n);
            for (INT_PTR i = 0; i < n; ++i) Add(m_pData[i]);
        } else {
            Reserve(old + src.m_nSize);
            for (INT_PTR i = 0; i < src.m_nSize; ++i) Add(src.m_pData[i]);
        }
        return old;
    }
    void Copy(const CArray& src) {
        if (&src == this) return;
        SetSize(src.m_nSize);
        for (INT_PTR i = 0; i < m_nSize; ++i) m_pData[i] = src.m_pData[i];
    }

    // Inserting at or beyond the end grows the array to hold the new ones.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
        if (nIndex < 0 || nCount < 0) AfxThrowInvalidArgException();
        if (nCount == 0) return;
        TYPE copy(newElement);
        const INT_PTR oldSize = m_nSize;
        if (nIndex >= oldSize) {
            SetSize(nIndex + nCount);
        } else {
            SetSize(oldSize + nCount);
            for (INT_PTR i = oldSize - 1; i >= nIndex; --i) m_pData[i + nCount] = std::move(m_pData[i]);
        }
        for (INT_PTR i = nIndex; i < nIndex + nCount; ++i) m_pData[i] = copy;
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray) {
        if (pNewArray == nullptr || nStartIndex < 0) AfxThrowInvalidArgException();
        if (pNewArray == this || pNewArray->m_nSize == 0) {
            if (pNewArray == this) {
                CArray copy;
                copy.Copy(*this);
                InsertAt(nStartIndex, &copy);
            }
            return;
        }
        InsertAt(nStartIndex, pNewArray->m_pData[0], pNewArray->m_nSize);
        for (INT_PTR i = 1; i < pNewArray->m_nSize; ++i) m_pData[nStartIndex + i] = pNewArray->m_pData[i];
    }
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
        if (nIndex < 0 || nCount < 0 || nIndex + nCount > m_nSize) AfxThrowInvalidArgException();
        for (INT_PTR i = nIndex; i + nCount < m_nSize; ++i) m_pData[i] = std::move(m_pData[i + nCount]);
        SetSize(m_nSize - nCount);
    }

protected:
    INT_PTR Check(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nSize) AfxThrowInvalidArgException();
        return nIndex;
    }
    void Reserve(INT_PTR nNeeded) {
        if (nNeeded <= m_nMaxSize) return;
        INT_PTR grow = m_nGrowBy;
        if (grow <= 0) grow = m_nSize / 8 < 4 ? 4 : (m_nSize / 8 > 1024 ? 1024 : m_nSize / 8);
        Relocate(nNeeded < m_nMaxSize + grow ? m_nMaxSize + grow : nNeeded);
    }
    void Relocate(INT_PTR nNewMax) {
        if (nNewMax > INT_PTR(PTRDIFF_MAX / sizeof(TYPE))) AfxThrowMemoryException();
        TYPE* p = nullptr;
        if (nNewMax > 0) {
            p = static_cast<TYPE*>(::operator new(size_t(nNewMax) * sizeof(TYPE), std::nothrow));
            if (p == nullptr) AfxThrowMemoryException();
        }
        for (INT_PTR i = 0; i < m_nSize; ++i) {
            new (&p[i]) TYPE(std::move(m_pData[i]));
            m_pData[i].~TYPE();
        }
        ::operator delete(m_pData);
        m_pData = p;
        m_nMaxSize = nNewMax;
    }

    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = -1;
};
