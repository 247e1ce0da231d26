#pragma once

// The allocator settings the program, its benchmarks and its tests take once at start.
namespace platform {

// Blocks of this size and larger get a mapping of their own; smaller ones come from the heap. It is
// the highest glibc's own sliding threshold reaches on 64-bit systems.
inline constexpr long HeapMmapThreshold = 32L * 1024 * 1024;
// Freed memory at the top of the heap is kept up to this size instead of going back to the system:
// twice the mapping threshold, the pair glibc's sliding rule keeps.
inline constexpr long HeapTrimThreshold = 2 * HeapMmapThreshold;

// Holds the heap across the pages of a print job (see Heap.cpp for why). Call first thing in
// main(), before any thread starts. True when the allocator took the settings; false on another C
// library or under a sanitizer's allocator, where printing runs as before.
bool HoldHeapAcrossPages();

} // namespace platform
