// CList: a doubly linked list of TYPE; POSITION values name nodes and stay
// valid until their node is removed. Asking for the head or tail of an
// empty list, or passing a NULL position, throws CInvalidArgException*.
// Not synchronised.
#pragma once

#include <utility>

#include "afx_exceptions.h"

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
    ~CList() override { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return NonEmpty(m_pNodeHead)->data; }
    const TYPE& GetHead() const { return NonEmpty(m_pNodeHead)->data; }
    TYPE& GetTail() { return NonEmpty(m_pNodeTail)->data; }
    const TYPE& GetTail() const { return NonEmpty(m_pNodeTail)->data; }

    TYPE RemoveHead() {
        CNode* n = NonEmpty(m_pNodeHead);
        TYPE value(std::move(n->data));
        Unlink(n);
        return value;
    }
    TYPE RemoveTail() {
        CNode* n = NonEmpty(m_pNodeTail);
        TYPE value(std::move(n->data));
        Unlink(n);
        return value;
    }
    POSITION AddHead(ARG_TYPE newElement) { return Link(new CNode{nullptr, nullptr, TYPE(newElement)}, nullptr, m_pNodeHead); }
    POSITION AddTail(ARG_TYPE newElement) { return Link(new CNode{nullptr, nullptr, TYPE(newElement)}, m_pNodeTail, nullptr); }
    void AddHead(const CList* pNewList) {
        if (pNewList == nullptr) AfxThrowInvalidArgException();
        CList copy;
        copy.AddTail(pNewList);
        for (CNode* n = copy.m_pNodeTail; n != nullptr; n = n->pPrev) AddHead(n->data);
    }
    void AddTail(const CList* pNewList) {
        if (pNewList == nullptr) AfxThrowInvalidArgException();
        const INT_PTR count = pNewList->m_nCount;  // the list may be this one
        CNode* n = pNewList->m_pNodeHead;
        for (INT_PTR i = 0; i < count; ++i, n = n->pNext) AddTail(n->data);
    }
    void RemoveAll() {
        while (m_pNodeHead != nullptr) Unlink(m_pNodeHead);
    }

    POSITION GetHeadPosition() const { return Pos(m_pNodeHead); }
    POSITION GetTailPosition() const { return Pos(m_pNodeTail); }
    TYPE& GetNext(POSITION& rPosition) {
        CNode* n = Node(rPosition);
        rPosition = Pos(n->pNext);
        return n->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const {
        CNode* n = Node(rPosition);
        rPosition = Pos(n->pNext);
        return n->data;
    }
    TYPE& GetPrev(POSITION& rPosition) {
        CNode* n = Node(rPosition);
        rPosition = Pos(n->pPrev);
        return n->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const {
        CNode* n = Node(rPosition);
        rPosition = Pos(n->pPrev);
        return n->data;
    }
    TYPE& GetAt(POSITION position) { return Node(position)->data; }
    const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data = newElement; }
    void RemoveAt(POSITION position) { Unlink(Node(position)); }
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
        if (position == nullptr) return AddHead(newElement);
        CNode* at = Node(position);
        return Link(new CNode{nullptr, nullptr, TYPE(newElement)}, at->pPrev, at);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
        if (position == nullptr) return AddTail(newElement);
        CNode* at = Node(position);
        return Link(new CNode{nullptr, nullptr, TYPE(newElement)}, at, at->pNext);
    }
    POSITION FindIndex(INT_PTR nIndex) const {
        if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
        CNode* n = m_pNodeHead;
        while (nIndex-- > 0) n = n->pNext;
        return Pos(n);
    }
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
        CNode* n = startAfter == nullptr ? m_pNodeHead : Node(startAfter)->pNext;
        for (; n != nullptr; n = n->pNext)
            if (n->data == searchValue) return Pos(n);
        return nullptr;
    }

private:
    static POSITION Pos(CNode* n) { return reinterpret_cast<POSITION>(n); }
    static CNode* Node(POSITION p) {
        if (p == nullptr || p == BEFORE_START_POSITION) AfxThrowInvalidArgException();
        return reinterpret_cast<CNode*>(p);
    }
    static CNode* NonEmpty(CNode* n) {
        if (n == nullptr) AfxThrowInvalidArgException();
        return n;
    }
    POSITION Link(CNode* n, CNode* prev, CNode* next) {
        n->pPrev = prev;
        n->pNext = next;
        (prev != nullptr ? prev->pNext : m_pNodeHead) = n;
        (next != nullptr ? next->pPrev : m_pNodeTail) = n;
        ++m_nCount;
        return Pos(n);
    }
    void Unlink(CNode* n) {
        (n->pPrev != nullptr ? n->pPrev->pNext : m_pNodeHead) = n->pNext;
        (n->pNext != nullptr ? n->pNext->pPrev : m_pNodeTail) = n->pPrev;
        --m_nCount;
        delete n;
    }

    CNode* m_pNodeHead = nullptr;
    CNode* m_pNodeTail = nullptr;
    INT_PTR m_nCount = 0;
};
