// Picture files of every format, read as the image control reads them (the format taken from
// the content): any bytes give a picture that a block can hold, or a failure that states its
// own code and text once the file has stated its picture. Drawings are left to their own
// reader's checks. An EPS is drawn at the size its information states, and its PostScript
// leaves the temporary folder the program shares (TMPDIR, here a folder of the target's own,
// holding a user's file) as it was.
#include "FuzzSupport.h"

#include "imaging/Binding.h"
#include "imaging/EpsFile.h"
#include "imaging/ImageFiles.h"
#include "imaging/PictureFile.h"

#include <QDir>
#include <QFile>

using namespace imaging;

namespace {

const QByteArray kUsersFile = "0 1 0\n";

// The shared temporary folder holds the user's file alone, unchanged.
bool untouched(const QString& shared)
{
    const QDir folder(shared);
    const QStringList names = folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    if (names != QStringList{QStringLiteral("planted")})
        return false;
    QFile planted(folder.filePath(QStringLiteral("planted")));
    return planted.open(QIODevice::ReadOnly) && planted.readAll() == kUsersFile;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzzsupport::startGuiApplication();
    static const std::unique_ptr<QTemporaryDir> folder = fuzzsupport::scratchFolder();
    static const std::unique_ptr<QTemporaryDir> shared = [] {
        auto dir = fuzzsupport::scratchFolder();
        qputenv("TMPDIR", QFile::encodeName(dir->path()));
        return dir;
    }();
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    const QString format = sniffFormat(bytes);
    if (format == QLatin1String("DXF"))
        return 0;
    const bool eps = format == QLatin1String("EPS");
    if (eps) {
        QDir(shared->path()).removeRecursively();
        QDir().mkpath(shared->path());
        QFile planted(shared->filePath(QStringLiteral("planted")));
        if (!planted.open(QIODevice::WriteOnly) || planted.write(kUsersFile) != kUsersFile.size())
            return 0;
    }
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
        if (eps)
            FUZZ_CHECK(image.size() == QSize(read.info.width, read.info.height));
    } else if (read.kind == PictureKind::Failed && read.info.width > 0) {
        // The file stated its picture; the read that failed after that says why.
        FUZZ_CHECK(binding().ImgLastErrorCode != 0);
        FUZZ_CHECK(!binding().ImgLastErrorText.isEmpty());
    }
    if (eps)
        FUZZ_CHECK(untouched(shared->path()));
    return 0;
}
