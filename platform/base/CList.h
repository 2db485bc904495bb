#pragma once
// A doubly linked list walked with POSITION values, with the members of the
// classic template. A POSITION is the address of a node: it stays valid until
// that node is removed. A null POSITION is "none"; the head and tail
// operations on an empty list read a default element and remove nothing.
//
// Not synchronised: one thread at a time, or the owner's lock.

#include "platform/base/types.h"

#include <utility>

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList {
    struct CNode {
        CNode* pNext = nullptr;
        CNode* pPrev = nullptr;
        TYPE data{};
    };

public:
    CList() = default;
    explicit CList(INT_PTR /*nBlockSize*/) {}
    CList(const CList& other) { AddTail(&other); }
    CList& operator=(const CList& other)
    {
        if (this != &other) {
            RemoveAll();
            AddTail(&other);
        }
        return *this;
    }
    virtual ~CList() { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return m_pHead ? m_pHead->data : Dummy(); }
    const TYPE& GetHead() const { return m_pHead ? m_pHead->data : Dummy(); }
    TYPE& GetTail() { return m_pTail ? m_pTail->data : Dummy(); }
    const TYPE& GetTail() const { return m_pTail ? m_pTail->data : Dummy(); }

    // Removing from an empty list returns a default element.
    TYPE RemoveHead()
    {
        if (!m_pHead)
            return TYPE{};
        TYPE value = std::move(m_pHead->data);
        FreeNode(m_pHead);
        return value;
    }
    TYPE RemoveTail()
    {
        if (!m_pTail)
            return TYPE{};
        TYPE value = std::move(m_pTail->data);
        FreeNode(m_pTail);
        return value;
    }

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(m_pHead, newElement, true); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(m_pTail, newElement, true); }
    void AddHead(const CList* pNewList)
    {
        if (!pNewList)
            return;
        CList copy(*pNewList);  // the list may be this one
        for (CNode* n = copy.m_pTail; n; n = n->pPrev)
            AddHead(n->data);
    }
    void AddTail(const CList* pNewList)
    {
        if (!pNewList)
            return;
        if (pNewList == this) {
            CList copy(*pNewList);
            AddTail(&copy);
            return;
        }
        for (CNode* n = pNewList->m_pHead; n; n = n->pNext)
            AddTail(n->data);
    }
    void RemoveAll()
    {
        CNode* n = m_pHead;
        while (n) {
            CNode* next = n->pNext;
            delete n;
            n = next;
        }
        m_pHead = m_pTail = nullptr;
        m_nCount = 0;
    }

    POSITION GetHeadPosition() const { return m_pHead; }
    POSITION GetTailPosition() const { return m_pTail; }
    // Returns the element at rPosition and moves rPosition to the next one
    // (null after the tail).
    TYPE& GetNext(POSITION& rPosition)
    {
        CNode* n = Node(rPosition);
        if (!n)
            return Dummy();
        rPosition = n->pNext;
        return n->data;
    }
    const TYPE& GetNext(POSITION& rPosition) const { return const_cast<CList*>(this)->GetNext(rPosition); }
    TYPE& GetPrev(POSITION& rPosition)
    {
        CNode* n = Node(rPosition);
        if (!n)
            return Dummy();
        rPosition = n->pPrev;
        return n->data;
    }
    const TYPE& GetPrev(POSITION& rPosition) const { return const_cast<CList*>(this)->GetPrev(rPosition); }
    TYPE& GetAt(POSITION position)
    {
        CNode* n = Node(position);
        return n ? n->data : Dummy();
    }
    const TYPE& GetAt(POSITION position) const { return const_cast<CList*>(this)->GetAt(position); }
    void SetAt(POSITION pos, ARG_TYPE newElement)
    {
        if (CNode* n = Node(pos))
            n->data = newElement;
    }
    void RemoveAt(POSITION position)
    {
        if (CNode* n = Node(position))
            FreeNode(n);
    }
    // A null position inserts at the head (before) or the tail (after).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement)
    {
        return InsertBefore(Node(position) ? position : m_pHead, newElement, true);
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement)
    {
        return InsertAfter(Node(position) ? position : m_pTail, newElement, true);
    }

    // The first element equal to searchValue after startAfter (from the
    // head when null), or null.
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const
    {
        CNode* n = startAfter ? static_cast<CNode*>(startAfter)->pNext : m_pHead;
        for (; n; n = n->pNext)
            if (n->data == searchValue)
                return n;
        return nullptr;
    }
    POSITION FindIndex(INT_PTR nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nCount)
            return nullptr;
        CNode* n = m_pHead;
        while (nIndex-- > 0)
            n = n->pNext;
        return n;
    }

private:
    // Positions come from this list; the cast is the classic contract.
    static CNode* Node(POSITION pos) { return static_cast<CNode*>(pos); }

    POSITION InsertBefore(POSITION position, ARG_TYPE newElement, bool)
    {
        CNode* next = Node(position);
        CNode* n = new CNode;
        n->data = newElement;
        n->pNext = next;
        n->pPrev = next ? next->pPrev : nullptr;
        Link(n);
        return n;
    }
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement, bool)
    {
        CNode* prev = Node(position);
        CNode* n = new CNode;
        n->data = newElement;
        n->pPrev = prev;
        n->pNext = prev ? prev->pNext : nullptr;
        Link(n);
        return n;
    }
    void Link(CNode* n)
    {
        if (n->pPrev)
            n->pPrev->pNext = n;
        else
            m_pHead = n;
        if (n->pNext)
            n->pNext->pPrev = n;
        else
            m_pTail = n;
        ++m_nCount;
    }
    void FreeNode(CNode* n)
    {
        if (n->pPrev)
            n->pPrev->pNext = n->pNext;
        else
            m_pHead = n->pNext;
        if (n->pNext)
            n->pNext->pPrev = n->pPrev;
        else
            m_pTail = n->pPrev;
        delete n;
        --m_nCount;
    }
    static TYPE& Dummy()
    {
        thread_local TYPE dummy{};
        dummy = TYPE{};
        return dummy;
    }

    CNode* m_pHead = nullptr;
    CNode* m_pTail = nullptr;
    INT_PTR m_nCount = 0;
};
