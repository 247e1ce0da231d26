// Paintbrush files: any bytes are refused or read into a picture of the header's size, whose
// colour indexes all lie in its colour table.
#include "FuzzSupport.h"

#include "imaging/PcxReader.h"

using namespace imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    PcxHeader header;
    const bool known = readPcxHeader(bytes, header);
    int bits = 0;
    QString why;
    const QImage image = readPcx(bytes, &bits, &why);
    if (image.isNull()) {
        FUZZ_CHECK(!why.isEmpty());
        return 0;
    }
    FUZZ_CHECK(known);
    FUZZ_CHECK(image.width() == header.width && image.height() == header.height);
    FUZZ_CHECK(bits == 1 || bits == 4 || bits == 8 || bits == 24);
    if (image.format() == QImage::Format_Indexed8)
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                FUZZ_CHECK(image.constScanLine(y)[x] < image.colorCount());
    return 0;
}
