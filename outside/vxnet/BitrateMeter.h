#pragma once
// Received bits per second over the last second, in 100 ms slots.
// Thread-safe: the reader thread adds, any thread reads.

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace vxnet {

class BitrateMeter {
public:
    void add(size_t bytes, int64_t now_ms);
    double bitsPerSecond(int64_t now_ms) const;
    void reset();

    static int64_t nowMs();  // monotonic clock

private:
    static constexpr int kSlots = 10;
    static constexpr int64_t kSlotMs = 100;
    struct Slot {
        int64_t index = -1;  // now_ms / kSlotMs of the slot's period
        uint64_t bytes = 0;
    };
    mutable std::mutex m_mutex;  // guards m_slots
    std::array<Slot, kSlots> m_slots{};
};

}  // namespace vxnet
