#pragma once
// How malloc treats the recording path's large, short-lived buffers; set once
// by vxplay_init for the whole process.

namespace vxplay {

// Blocks of at least this size are mapped apart from the heaps: freed, they
// go straight back to the system, but each new one costs a page fault per
// page, and its unmapping interrupts every thread. Buffers the recording path
// allocates again and again stay below it.
constexpr int kMappedBlockBytes = 256 * 1024;

// Free memory at the top of a heap is kept up to this size instead of being
// given back: each fragment's buffer is freed when the fragment is written
// and taken again for the next one, and giving it back in between made every
// fragment fault its pages in anew.
constexpr int kKeptHeapTopBytes = 1024 * 1024;

}  // namespace vxplay
