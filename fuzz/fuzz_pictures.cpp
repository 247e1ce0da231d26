// Picture files of every format, read as the image control reads them (the format taken from
// the content): any bytes give a picture that a block can hold, or a failure that states its
// own code and text once the file has stated its picture. Drawings are left to their own
// reader's checks.
#include "FuzzSupport.h"

#include "imaging/Binding.h"
#include "imaging/EpsFile.h"
#include "imaging/ImageFiles.h"
#include "imaging/PictureFile.h"

#include <QFile>

using namespace imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::startGuiApplication();
    static const std::unique_ptr<QTemporaryDir> folder = fuzzsupport::scratchFolder();
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    if (sniffFormat(bytes) == QLatin1String("DXF"))
        return 0;
    // PostScript that never ends is stopped well within the fuzzer's own time limit.
    setEpsTimeLimit(2000);
    setImagingMessageSink([](const QString&) {});
    const QString path = folder->filePath(QStringLiteral("picture"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();
    binding().ImgLastErrorCode = 0;
    binding().ImgLastErrorText.clear();
    PictureReadOptions options;
    options.bits = 24;
    PictureRead read;
    try {
        read = ImgReadPictureFile(path, options);
    } catch (const std::exception&) {
        return 0; // a file that cannot be opened is an error of its own kind
    }
    if (read.kind == PictureKind::Bitmap) {
        const QImage& image = read.bitmap.image;
        FUZZ_CHECK(!image.isNull() && image.width() <= 32767 && image.height() <= 32767);
    } else if (read.kind == PictureKind::Failed && read.info.width > 0) {
        // The file stated its picture; the read that failed after that says why.
        FUZZ_CHECK(binding().ImgLastErrorCode != 0);
        FUZZ_CHECK(!binding().ImgLastErrorText.isEmpty());
    }
    return 0;
}
