#include "outside/vxnet/BitrateMeter.h"

#include <chrono>

namespace vxnet {

void BitrateMeter::add(size_t bytes, int64_t now_ms)
{
    int64_t index = now_ms / kSlotMs;
    std::lock_guard lock(m_mutex);
    Slot& s = m_slots[static_cast<size_t>(index % kSlots)];
    if (s.index != index) {
        s.index = index;
        s.bytes = 0;
    }
    s.bytes += bytes;
}

double BitrateMeter::bitsPerSecond(int64_t now_ms) const
{
    int64_t index = now_ms / kSlotMs;
    uint64_t total = 0;
    std::lock_guard lock(m_mutex);
    // The current slot and the nine before it: one second.
    for (const Slot& s : m_slots)
        if (s.index > index - kSlots && s.index <= index)
            total += s.bytes;
    return static_cast<double>(total) * 8.0;
}

void BitrateMeter::reset()
{
    std::lock_guard lock(m_mutex);
    m_slots = {};
}

int64_t BitrateMeter::nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace vxnet
