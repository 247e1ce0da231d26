#include "imaging/HugePages.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace imaging {

void preferHugePages(void* data, qint64 bytes)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr qint64 kWorthIt = 8LL * 1024 * 1024;
    constexpr std::uintptr_t kPage = 4096;
    if (data == nullptr || bytes < kWorthIt)
        return;
    // Only whole pages of the buffer: the advice covers no byte of its neighbours.
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

} // namespace imaging
