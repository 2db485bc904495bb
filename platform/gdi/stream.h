#pragma once
// A read stream over a movable memory block, as picture decoding takes it.
// Thread: the one that made it.

#include "platform/base/types.h"

struct IStream {
    virtual ~IStream() = default;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;  // the last release frees the stream (and the block when asked)
    // The bytes of the stream; valid while the stream lives.
    virtual const unsigned char* Data() const = 0;
    virtual size_t Size() const = 0;
};
typedef IStream* LPSTREAM;

#define E_INVALIDARG  ((HRESULT)0x80070057L)
#define E_OUTOFMEMORY ((HRESULT)0x8007000EL)

// With deleteOnRelease the block is freed with the stream's last release.
HRESULT CreateStreamOnHGlobal(HGLOBAL mem, BOOL deleteOnRelease, LPSTREAM* stream);
