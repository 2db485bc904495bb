#pragma once
// A growable array with the members of the classic template. Indexes are
// INT_PTR. An index outside the array never touches memory that is not
// there: reads give a default-constructed element, writes and removals are
// ignored (the classic class raised an exception there, which in practice
// ended the program).
//
// Not synchronised: one thread at a time, or the owner's lock.

#include "platform/base/types.h"

#include <algorithm>
#include <utility>
#include <vector>

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray {
public:
    CArray() = default;
    CArray(const CArray&) = default;
    CArray(CArray&&) noexcept = default;
    CArray& operator=(const CArray&) = default;
    CArray& operator=(CArray&&) noexcept = default;
    virtual ~CArray() = default;

    INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
    INT_PTR GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_data.empty(); }
    INT_PTR GetUpperBound() const { return GetSize() - 1; }

    // New elements are value-initialised (zero for plain structs). The grow
    // step only matters for speed and is a capacity hint here.
    void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1)
    {
        if (nNewSize < 0)
            return;
        if (nGrowBy > 0 && static_cast<size_t>(nNewSize) > m_data.capacity())
            m_data.reserve(static_cast<size_t>(nNewSize + nGrowBy));
        m_data.resize(static_cast<size_t>(nNewSize));
    }
    void FreeExtra() { m_data.shrink_to_fit(); }
    void RemoveAll() { m_data.clear(); }

    const TYPE& GetAt(INT_PTR nIndex) const { return InRange(nIndex) ? m_data[Idx(nIndex)] : Dummy(); }
    TYPE& GetAt(INT_PTR nIndex) { return InRange(nIndex) ? m_data[Idx(nIndex)] : Dummy(); }
    void SetAt(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (InRange(nIndex))
            m_data[Idx(nIndex)] = newElement;
    }
    TYPE& ElementAt(INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE& ElementAt(INT_PTR nIndex) const { return GetAt(nIndex); }
    const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](INT_PTR nIndex) { return GetAt(nIndex); }
    const TYPE* GetData() const { return m_data.empty() ? nullptr : m_data.data(); }
    TYPE* GetData() { return m_data.empty() ? nullptr : m_data.data(); }

    // Grows the array to nIndex + 1 when needed, then stores.
    void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement)
    {
        if (nIndex < 0)
            return;
        TYPE copy(newElement);  // newElement may live in this array
        if (Idx(nIndex) >= m_data.size())
            m_data.resize(Idx(nIndex) + 1);
        m_data[Idx(nIndex)] = std::move(copy);
    }
    INT_PTR Add(ARG_TYPE newElement)
    {
        m_data.push_back(newElement);
        return GetSize() - 1;
    }
    // Returns the index of the first appended element.
    INT_PTR Append(const CArray& src)
    {
        INT_PTR old = GetSize();
        if (&src == this) {
            std::vector<TYPE> copy(m_data);
            m_data.insert(m_data.end(), copy.begin(), copy.end());
        } else {
            m_data.insert(m_data.end(), src.m_data.begin(), src.m_data.end());
        }
        return old;
    }
    void Copy(const CArray& src)
    {
        if (&src != this)
            m_data = src.m_data;
    }
    // An index at or past the end first grows the array to it.
    void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1)
    {
        if (nIndex < 0 || nCount <= 0)
            return;
        TYPE copy(newElement);
        if (Idx(nIndex) >= m_data.size())
            m_data.resize(Idx(nIndex));
        m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), copy);
    }
    void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray)
    {
        if (!pNewArray || nStartIndex < 0 || pNewArray->IsEmpty())
            return;
        std::vector<TYPE> copy(pNewArray->m_data);
        if (Idx(nStartIndex) >= m_data.size())
            m_data.resize(Idx(nStartIndex));
        m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
    }
    // Removes up to nCount elements from nIndex; a count past the end stops
    // at the end.
    void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1)
    {
        if (!InRange(nIndex) || nCount <= 0)
            return;
        INT_PTR n = std::min(nCount, GetSize() - nIndex);
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + n);
    }

    // Range-for and standard algorithms.
    auto begin() { return m_data.begin(); }
    auto end() { return m_data.end(); }
    auto begin() const { return m_data.begin(); }
    auto end() const { return m_data.end(); }

private:
    bool InRange(INT_PTR nIndex) const { return nIndex >= 0 && Idx(nIndex) < m_data.size(); }
    static size_t Idx(INT_PTR nIndex) { return static_cast<size_t>(nIndex); }
    // What an index outside the array reads: a fresh default element each
    // time, per thread, so a stray write through it is never seen again.
    static TYPE& Dummy()
    {
        thread_local TYPE dummy{};
        dummy = TYPE{};
        return dummy;
    }

    std::vector<TYPE> m_data;
};
