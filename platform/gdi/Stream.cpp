#include "platform/gdi/stream.h"

#include "platform/kernel/global_memory.h"

namespace {

class BlockStream : public IStream {
public:
    BlockStream(HGLOBAL mem, bool own) : m_mem(mem), m_own(own) {}
    ~BlockStream() override
    {
        if (m_own)
            GlobalFree(m_mem);
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override
    {
        ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }
    const unsigned char* Data() const override
    {
        auto* p = static_cast<const unsigned char*>(GlobalLock(m_mem));
        GlobalUnlock(m_mem);
        return p;
    }
    size_t Size() const override { return GlobalSize(m_mem); }

private:
    HGLOBAL m_mem;
    bool m_own;
    ULONG m_refs = 1;
};

}  // namespace

HRESULT CreateStreamOnHGlobal(HGLOBAL mem, BOOL deleteOnRelease, LPSTREAM* stream)
{
    if (!stream)
        return E_INVALIDARG;
    *stream = nullptr;
    // A null block would be a new growing stream; nothing here writes one.
    if (!mem || GlobalSize(mem) == 0)
        return E_INVALIDARG;
    *stream = new BlockStream(mem, deleteOnRelease != FALSE);
    return S_OK;
}
