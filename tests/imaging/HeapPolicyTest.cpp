// The memory policy seen from a picture read: the file's bytes go back to the system after a read,
// except while a print job holds the heap for its next page.
#include "ImagingTestSupport.h"

#include "imaging/Binding.h"
#include "platform/Heap.h"
#include "platform/PdfPrinter.h"

#include <QFile>

#include <cstdlib>
#include <cstring>

#include "SanitizedHeap.h"

using namespace imaging;
using imagingtest::BindingFixture;

namespace {

// Only glibc's own heap is measured; under the sanitizer the test skips.
#if defined(__GLIBC__) && !defined(PRAVOLIS_SANITIZED_HEAP)
void* volatile escape = nullptr;

// Resident memory of the process in MB.
double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / (1024.0 * 1024.0) : -1;
}
#endif

} // namespace

class HeapPolicy : public BindingFixture {};

TEST_F(HeapPolicy, APictureReadGivesFreedMemoryBackExceptDuringAPrintJob)
{
#if !defined(__GLIBC__) || defined(PRAVOLIS_SANITIZED_HEAP)
    GTEST_SKIP() << "the policy applies to glibc's own allocator only";
#else
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("small.png"));
    QImage small(16, 16, QImage::Format_RGB32);
    small.fill(Qt::red);
    ASSERT_TRUE(small.save(picture));
    platform::PdfPrinter printer(dir.filePath(QStringLiteral("job.pdf")));

    constexpr size_t kBlock = 24 * 1024 * 1024; // a page's buffers: below the mapping threshold
    for (const bool duringJob : {true, false}) {
        SCOPED_TRACE(duringJob ? "during a job" : "outside a job");
        if (duringJob)
            printer.BeginDoc();
        EXPECT_EQ(platform::HeapHeld(), duringJob);
        malloc_trim(0); // whatever earlier steps left free in the heap goes first
        const double before = residentMb();
        void* block = std::malloc(kBlock);
        ASSERT_NE(block, nullptr);
        std::memset(block, 1, kBlock);
        escape = block; // else the compiler may take out the block and its writes
        const double taken = residentMb();
        ASSERT_GT(taken, before + 16) << "the block is not resident";
        std::free(block);
        Bitmap bitmap;
        ASSERT_TRUE(ImgReadPngBitmap(picture, 24, false, nullptr, bitmap)) << qPrintable(binding().ImgLastErrorText);
        const double after = residentMb();
        if (duringJob) {
            EXPECT_GT(after, taken - 8) << "the job's freed memory went back to the system";
            printer.EndDoc();
            EXPECT_FALSE(platform::HeapHeld());
        } else {
            EXPECT_LT(after, taken - 16) << "the freed memory stayed after the read";
        }
    }
    // An aborted job lets go of the heap as an ended one does.
    printer.BeginDoc();
    printer.Abort();
    EXPECT_FALSE(platform::HeapHeld());
#endif
}
