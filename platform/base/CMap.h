#pragma once
// A hash map walked with POSITION values, with the members of the classic
// template. Keys are hashed with std::hash (CString has one); text pointer
// keys (const char*) are hashed and compared by their text. A POSITION is
// the address of an entry and stays valid until that entry is removed; the
// table grows as it fills, so adding entries while walking may reorder the
// walk.
//
// Not synchronised: one thread at a time, or the owner's lock.

#include "platform/base/CString.h"
#include "platform/base/types.h"

#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace vxbase {

template <class T>
constexpr bool IsTextPointer = std::is_same_v<std::decay_t<T>, const char*> || std::is_same_v<std::decay_t<T>, char*>;

// Text keys (CString, std::string, text pointers) hash their characters
// straight from the argument, so a lookup by const char* builds no string.
template <class KEY, class ARG>
size_t HashKey(const ARG& key)
{
    if constexpr (IsTextPointer<ARG>)
        return std::hash<std::string_view>()(key ? std::string_view(key) : std::string_view());
    else if constexpr (std::is_same_v<ARG, CString>)
        return std::hash<std::string_view>()(key.view());
    else if constexpr (std::is_same_v<ARG, std::string>)
        return std::hash<std::string_view>()(std::string_view(key));
    else
        return std::hash<KEY>()(key);
}

template <class KEY, class ARG>
bool KeysEqual(const KEY& a, const ARG& b)
{
    if constexpr (IsTextPointer<KEY>)
        return std::strcmp(a ? a : "", b ? b : "") == 0;
    else
        return a == b;
}

}  // namespace vxbase

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap {
public:
    struct CPair {
        const KEY key;
        VALUE value;

    protected:
        explicit CPair(ARG_KEY keyval) : key(keyval), value() {}
    };

private:
    struct CAssoc : CPair {
        explicit CAssoc(ARG_KEY k) : CPair(k) {}
        CAssoc* pNext = nullptr;
        size_t nHashValue = 0;
    };

public:
    explicit CMap(INT_PTR /*nBlockSize*/ = 10) {}
    CMap(const CMap& other) { CopyFrom(other); }
    CMap& operator=(const CMap& other)
    {
        if (this != &other) {
            RemoveAll();
            CopyFrom(other);
        }
        return *this;
    }
    virtual ~CMap() { RemoveAll(); }

    INT_PTR GetCount() const { return m_nCount; }
    INT_PTR GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const
    {
        const CAssoc* a = Find(key);
        if (!a)
            return FALSE;
        rValue = a->value;
        return TRUE;
    }
    const CPair* PLookup(ARG_KEY key) const { return Find(key); }
    CPair* PLookup(ARG_KEY key) { return Find(key); }

    // Adds the key with a default value when it is missing.
    VALUE& operator[](ARG_KEY key)
    {
        if (CAssoc* a = Find(key))
            return a->value;
        return Insert(key)->value;
    }
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }

    BOOL RemoveKey(ARG_KEY key)
    {
        if (m_buckets.empty())
            return FALSE;
        size_t h = vxbase::HashKey<KEY>(key);
        CAssoc** link = &m_buckets[h % m_buckets.size()];
        for (CAssoc* a = *link; a; link = &a->pNext, a = a->pNext) {
            if (a->nHashValue == h && vxbase::KeysEqual<KEY>(a->key, key)) {
                *link = a->pNext;
                delete a;
                --m_nCount;
                return TRUE;
            }
        }
        return FALSE;
    }
    void RemoveAll()
    {
        for (CAssoc*& head : m_buckets) {
            while (head) {
                CAssoc* next = head->pNext;
                delete head;
                head = next;
            }
        }
        m_nCount = 0;
    }

    POSITION GetStartPosition() const { return m_nCount ? FirstFrom(0) : nullptr; }
    // Reads the entry at rNextPosition and moves rNextPosition to the next
    // one (null after the last). A null position reads nothing.
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
    {
        const CAssoc* a = static_cast<const CAssoc*>(rNextPosition);
        if (!a)
            return;
        rKey = a->key;
        rValue = a->value;
        rNextPosition = Next(a);
    }
    const CPair* PGetFirstAssoc() const { return static_cast<const CAssoc*>(GetStartPosition()); }
    CPair* PGetFirstAssoc() { return static_cast<CAssoc*>(GetStartPosition()); }
    const CPair* PGetNextAssoc(const CPair* pAssoc) const
    {
        return pAssoc ? static_cast<const CAssoc*>(Next(static_cast<const CAssoc*>(pAssoc))) : nullptr;
    }
    CPair* PGetNextAssoc(const CPair* pAssoc)
    {
        return pAssoc ? static_cast<CAssoc*>(Next(static_cast<const CAssoc*>(pAssoc))) : nullptr;
    }

    UINT GetHashTableSize() const { return static_cast<UINT>(m_buckets.size()); }
    void InitHashTable(UINT hashSize, BOOL /*bAllocNow*/ = TRUE)
    {
        if (hashSize > 0)
            Rehash(hashSize);
    }

private:
    CAssoc* Find(ARG_KEY key) const
    {
        if (m_buckets.empty())
            return nullptr;
        size_t h = vxbase::HashKey<KEY>(key);
        for (CAssoc* a = m_buckets[h % m_buckets.size()]; a; a = a->pNext)
            if (a->nHashValue == h && vxbase::KeysEqual<KEY>(a->key, key))
                return a;
        return nullptr;
    }
    CAssoc* Insert(ARG_KEY key)
    {
        if (m_buckets.empty())
            Rehash(17);
        else if (static_cast<size_t>(m_nCount) >= m_buckets.size())
            Rehash(m_buckets.size() * 2 + 1);
        CAssoc* a = new CAssoc(key);
        a->nHashValue = vxbase::HashKey<KEY>(a->key);
        CAssoc*& head = m_buckets[a->nHashValue % m_buckets.size()];
        a->pNext = head;
        head = a;
        ++m_nCount;
        return a;
    }
    void Rehash(size_t size)
    {
        std::vector<CAssoc*> buckets(size, nullptr);
        for (CAssoc* head : m_buckets) {
            while (head) {
                CAssoc* next = head->pNext;
                CAssoc*& dst = buckets[head->nHashValue % size];
                head->pNext = dst;
                dst = head;
                head = next;
            }
        }
        m_buckets.swap(buckets);
    }
    POSITION FirstFrom(size_t bucket) const
    {
        for (size_t i = bucket; i < m_buckets.size(); ++i)
            if (m_buckets[i])
                return m_buckets[i];
        return nullptr;
    }
    POSITION Next(const CAssoc* a) const
    {
        if (a->pNext)
            return a->pNext;
        return FirstFrom(a->nHashValue % m_buckets.size() + 1);
    }
    void CopyFrom(const CMap& other)
    {
        for (POSITION pos = other.GetStartPosition(); pos;) {
            const CAssoc* a = static_cast<const CAssoc*>(pos);
            (*this)[a->key] = a->value;
            pos = other.Next(a);
        }
    }

    std::vector<CAssoc*> m_buckets;
    INT_PTR m_nCount = 0;
};
