// Memory blocks: zero-filled byte vectors known by their address, so a
// stale or foreign handle is refused instead of read.
#include "platform/kernel/global_memory.h"

#include "platform/kernel/GlobalMemory_p.h"

#include <mutex>
#include <set>
#include <vector>

namespace {

struct Block {
    std::vector<unsigned char> bytes;
    int locks = 0;
};

std::mutex g_blockMutex;  // guards g_blocks
std::set<Block*> g_blocks;

Block* BlockOf(HGLOBAL h)
{
    std::lock_guard lock(g_blockMutex);
    auto* b = static_cast<Block*>(h);
    return g_blocks.count(b) ? b : nullptr;
}

}  // namespace

const std::vector<unsigned char>* vxk::GlobalBytes(HGLOBAL mem)
{
    Block* b = BlockOf(mem);
    return b ? &b->bytes : nullptr;
}

HGLOBAL GlobalAlloc(UINT, SIZE_T bytes)
{
    if (bytes > (SIZE_T{1} << 31))
        return nullptr;
    auto* b = new Block();
    b->bytes.assign(bytes, 0);
    std::lock_guard lock(g_blockMutex);
    g_blocks.insert(b);
    return b;
}

LPVOID GlobalLock(HGLOBAL mem)
{
    Block* b = BlockOf(mem);
    if (!b)
        return nullptr;
    ++b->locks;
    return b->bytes.empty() ? nullptr : b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL mem)
{
    Block* b = BlockOf(mem);
    if (!b || b->locks == 0)
        return FALSE;
    return --b->locks > 0;
}

SIZE_T GlobalSize(HGLOBAL mem)
{
    Block* b = BlockOf(mem);
    return b ? b->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL mem)
{
    if (!mem)
        return nullptr;
    std::lock_guard lock(g_blockMutex);
    auto* b = static_cast<Block*>(mem);
    if (!g_blocks.erase(b))
        return mem;
    delete b;
    return nullptr;
}
