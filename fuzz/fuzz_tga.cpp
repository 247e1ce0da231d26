// Truevision files: any bytes are refused or read into a picture of the header's size.
#include "FuzzSupport.h"

#include "imaging/TgaReader.h"

using namespace imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    int bits = 0;
    QString why;
    const QImage image = readTga(bytes, &bits, &why);
    if (image.isNull()) {
        FUZZ_CHECK(!why.isEmpty());
        return 0;
    }
    const auto* p = reinterpret_cast<const uchar*>(bytes.constData());
    FUZZ_CHECK(image.width() == (p[12] | p[13] << 8) && image.height() == (p[14] | p[15] << 8));
    FUZZ_CHECK(bits == 8 || bits == 24);
    return 0;
}
