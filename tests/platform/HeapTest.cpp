#include "platform/Heap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "SanitizedHeap.h"

// The test program starts as the program does; its heap must then hold the blocks a print job
// takes and frees page after page, and still hand the largest blocks back to the system.
TEST(Heap, BlocksOfAPrintJobStayInTheHeapAcrossPages)
{
#if !defined(__GLIBC__) || defined(PRAVOLIS_SANITIZED_HEAP)
    GTEST_SKIP() << "the settings apply to glibc's own allocator only";
#else
    constexpr size_t MB = 1024 * 1024;
    const struct {
        const char* what;
        std::vector<size_t> sizes; // taken together, then freed in order
        bool ownMapping;           // true: mapped apart and given back when freed
    } cases[] = {
        {"a compressor's state", {300 * 1024}, false},
        {"a page's content", {1 * MB}, false},
        {"the PDF writer's two page buffers", {16 * MB + 2, 16 * MB + 2}, false},
        {"the two buffers beside a page's content", {1 * MB, 16 * MB + 2, 16 * MB + 2}, false},
        {"a block beyond the mapping threshold", {static_cast<size_t>(platform::HeapMmapThreshold) + MB}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        malloc_trim(0); // whatever earlier tests left at the top of the heap goes first
        // Each page takes the blocks again: the second time round must find the heap as the first
        // left it.
        for (int page = 0; page < 3; ++page) {
            const struct mallinfo2 before = mallinfo2();
            std::vector<void*> blocks;
            for (const size_t size : c.sizes) {
                void* block = std::malloc(size);
                ASSERT_NE(block, nullptr);
                std::memset(block, 1, 64 * 1024); // touched as far as a page's content reaches
                blocks.push_back(block);
            }
            const struct mallinfo2 taken = mallinfo2();
            for (void* block : blocks)
                std::free(block);
            const struct mallinfo2 freed = mallinfo2();
            if (c.ownMapping) {
                EXPECT_GT(taken.hblkhd, before.hblkhd) << "page " << page;
                EXPECT_EQ(freed.hblkhd, before.hblkhd) << "page " << page;
            } else {
                EXPECT_EQ(taken.hblkhd, before.hblkhd) << "mapped apart, page " << page;
                EXPECT_EQ(freed.arena, taken.arena) << "heap trimmed, page " << page;
            }
        }
    }
#endif
}
