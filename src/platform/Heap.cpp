#include "platform/Heap.h"

#include <cstdint>
#include <cstdlib> // brings the C library's own macros, __GLIBC__ among them

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#ifdef __linux__
#include <sys/mman.h>
#endif

namespace platform {

namespace {
// The user-interface thread alone prints and reads pictures.
int holds = 0;
} // namespace

bool HoldHeapAcrossPages()
{
#if defined(__GLIBC__)
    // Qt's PDF writer compresses each page through two buffers of 16 MB, touched only as far as
    // the page's content reaches, and frees them when the page is written. With glibc's sliding
    // thresholds the first pages map and unmap them, then the heap grows by 32 MB for each page
    // and is trimmed back after it: four system calls and some thirty page faults a page, each
    // page taking its memory from the system anew. Fixed thresholds above those buffers keep
    // them in the heap from one page to the next. (Reading a file of several megabytes slides
    // glibc's thresholds up far enough on its own; a job from a smaller file, or from a book
    // that grew record by record, pays the churn at every page.) Setting either threshold stops
    // both sliding, so both are set. The cost: up to 64 MB of address space, resident only as
    // far as it was touched, kept after a large job.
    const bool mapped = mallopt(M_MMAP_THRESHOLD, static_cast<int>(HeapMmapThreshold)) == 1;
    const bool trimmed = mallopt(M_TRIM_THRESHOLD, static_cast<int>(HeapTrimThreshold)) == 1;
    return mapped && trimmed;
#else
    return false;
#endif
}

HeapHold::HeapHold()
{
    ++holds;
}

HeapHold::~HeapHold()
{
    --holds;
}

bool HeapHeld()
{
    return holds > 0;
}

bool GiveBackFreedMemory()
{
    if (HeapHeld())
        return false;
#if defined(__GLIBC__)
    malloc_trim(0);
    return true;
#else
    return false;
#endif
}

void PreferHugePages(void* data, qint64 bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr qint64 kWorthIt = 8LL * 1024 * 1024;
    constexpr std::uintptr_t kPage = 4096;
    if (data == nullptr || bytes < kWorthIt)
        return;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kPage - 1) & ~(kPage - 1);
    const std::uintptr_t end = (start + std::uintptr_t(bytes)) & ~(kPage - 1);
    if (end > first)
        madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace platform
