// Photo CD packs: at each base resolution the bytes are refused or give a picture of that
// resolution's size, turned as the pack says.
#include "FuzzSupport.h"

#include "imaging/PcdReader.h"

using namespace imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    for (int mode : {pcd_BASE16, pcd_BASE4, pcd_BASE}) {
        QString why;
        const QImage image = readPcd(bytes, mode, &why);
        if (image.isNull())
            FUZZ_CHECK(!why.isEmpty());
        else
            FUZZ_CHECK(image.size() == pcdSize(bytes, mode));
    }
    return 0;
}
