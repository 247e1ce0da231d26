// Packed bitmaps and BMP files as they come from the clipboard or a file: whatever the header
// says, the block is either refused or read within its bounds, and what is read has the size
// the header states and survives a trip back to a block. The header sniffers that tell a
// picture's format and depth run on the same bytes.
#include "FuzzSupport.h"

#include "imaging/Dib.h"
#include "imaging/ImageFiles.h"

using namespace imaging;

namespace {

void checkBlock(const QByteArray& block)
{
    ILTDib dib(block);
    (void)dib.ColorCount();
    (void)dib.Palette();
    (void)dib.TotalSize();
    const std::optional<DibLayout> layout = checkDib(block);
    int bits = 0;
    const QImage image = dibToImage(block, &bits);
    if (!layout) {
        FUZZ_CHECK(image.isNull());
        return;
    }
    if (image.isNull()) {
        // Only damaged runs are refused after the header was taken.
        FUZZ_CHECK(layout->compression == BI_RLE8 || layout->compression == BI_RLE4);
        return;
    }
    FUZZ_CHECK(image.width() == layout->width && image.height() == layout->height);
    FUZZ_CHECK(bits == layout->bits);
    const QByteArray again = imageToDib(image, bits);
    FUZZ_CHECK(checkDib(again).has_value());
    const QImage back = dibToImage(again);
    FUZZ_CHECK(back.size() == image.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::startGuiApplication();
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    checkBlock(bytes);
    const QByteArray inFile = dibOfBmpFile(bytes);
    if (!inFile.isEmpty())
        checkBlock(inFile);
    ImageFileInfo info;
    if (fileInfoOf(QString(), bytes, info))
        FUZZ_CHECK(info.width > 0 && info.height > 0 && info.bits > 0 && !info.format.isEmpty());
    return 0;
}
