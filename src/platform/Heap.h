#pragma once

#include <QImage>
#include <QtGlobal>

// The program's memory policy, all of it here: when freed memory stays in the process and when it
// goes back to the system.
//
// - Kept between the pages of a print job. The allocator's thresholds are fixed at start
//   (HoldHeapAcrossPages): blocks below HeapMmapThreshold come from the heap, and up to
//   HeapTrimThreshold of freed memory at its top stays there, so the buffers a page takes and
//   frees are found again by the next page instead of being asked of the system anew.
// - Kept while a job runs. Every printer holds the heap (a HeapHold) from BeginDoc until EndDoc or
//   Abort; GiveBackFreedMemory() does nothing meanwhile, so a picture read in the middle of a job
//   (a miss of the picture cache) leaves the job's buffers where they are.
// - Given back after large work outside a job. A reader that held a file of some MB calls
//   GiveBackFreedMemory() when it is done: the heap's free pages return to the system at once,
//   rather than staying in the process after a picture was shown.
// - Large pages for a large buffer written once (PreferHugePages): the page faults of 4 KB pages
//   would cost more than what is written into it.
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

// Keeps freed memory in the process while alive; holds nest. Taken by the printers for a job.
class HeapHold {
public:
    HeapHold();
    ~HeapHold();
    HeapHold(const HeapHold&) = delete;
    HeapHold& operator=(const HeapHold&) = delete;
};

// Whether a HeapHold is alive.
bool HeapHeld();

// Gives the heap's free pages back to the system, unless the heap is held. True when it did.
bool GiveBackFreedMemory();

// Asks for large pages for a buffer of many MB before its first write (Linux; nothing elsewhere,
// nor for small buffers). Only whole pages of the buffer are advised, none of its neighbours'.
void PreferHugePages(void* data, qint64 bytes);

inline void PreferHugePages(QImage& image)
{
    if (!image.isNull())
        PreferHugePages(image.bits(), image.sizeInBytes());
}

} // namespace platform
