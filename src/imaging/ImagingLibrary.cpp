#include "imaging/ImagingLibrary.h"

#include "imaging/Dib.h"
#include "imaging/DxfFile.h"
#include "imaging/EpsFile.h"
#include "imaging/ImageFiles.h"
#include "imaging/PcdReader.h"
#include "imaging/PcxReader.h"
#include "imaging/Scanner.h"
#include "imaging/TgaReader.h"
#include "imaging/TiffFile.h"
#include "platform/Heap.h"

#include <QFile>
#include <QSaveFile>

namespace imaging {

namespace {

bool readAll(const QString& name, QByteArray& bytes, QString* why)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = file.errorString();
        return false;
    }
    bytes = file.readAll();
    return true;
}

// A side no block holds, refused with its own code before a decoder spends time and memory on it.
bool sideTooLong(qint64 width, qint64 height)
{
    return width > kMaxPictureSide || height > kMaxPictureSide;
}

QString tooLargeDetail(qint64 width, qint64 height)
{
    return QStringLiteral("%1 x %2 pixels").arg(width).arg(height);
}

// Encoders write at most 10 scans for a progressive picture (the usual script: 10 for colour, 6
// for grey), and hand-made scripts rarely twice that. Each scan costs a pass over every block of
// the picture whatever its few bytes say, so a file of repeated scans takes minutes to decode:
// 100 scans keep a picture's decoding within a small multiple of its pixels.
constexpr int kMaxJpegScans = 100;

bool depthAsked(int bits)
{
    return bits == 0 || bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24
           || bits == 32;
}

} // namespace

QString imagingLibraryName()
{
    return QStringLiteral("CRDE2000.DLL");
}

bool ImagingLibrary::hasEntry(const QString&) const
{
    return true;
}

QString ImagingLibrary::errorText(quint16 code) const
{
    QString text;
    switch (qint16(code)) {
    case errFileOpen: text = QStringLiteral("Can't open the file"); break;
    case errBadFormat: text = QStringLiteral("The file is not a picture of this format"); break;
    case errDamaged: text = QStringLiteral("The picture file is damaged or truncated"); break;
    case errNoMemory: text = QStringLiteral("Not enough memory for the picture"); break;
    case errWrite: text = QStringLiteral("Can't write the file"); break;
    case errDepth: text = QStringLiteral("This bit depth is not supported"); break;
    case errCancelled: text = QStringLiteral("Stopped by the user"); break;
    case errNoScanner:
        text = QStringLiteral("No scanner found: SANE sees no device. Connect and switch on the "
                              "scanner, then check that \"scanimage -L\" lists it");
        break;
    case errScanner: text = QStringLiteral("The scanner reported an error"); break;
    case errNoPage: text = QStringLiteral("The file has no such page"); break;
    case errEmptyPicture: text = QStringLiteral("Input image is empty"); break;
    case errFileTooShort: text = QStringLiteral("File too short"); break;
    case errRender: text = QStringLiteral("The drawing cannot be rendered"); break;
    case errTooLarge:
        text = QStringLiteral("The picture is larger than %1 pixels a side").arg(kMaxPictureSide);
        break;
    case errTooManyScans:
        text = QStringLiteral("The JPEG picture has more than %1 scans").arg(kMaxJpegScans);
        break;
    default: text = QStringLiteral("Unknown imaging error"); break;
    }
    if (!m_detail.isEmpty())
        text += QStringLiteral(": ") + m_detail;
    return text;
}

qint16 ImagingLibrary::fail(qint16 code, const QString& detail)
{
    m_detail = detail;
    return code;
}

qint16 ImagingLibrary::fileinfo(const QString& name, ImageFileInfo& info)
{
    QByteArray bytes;
    QString why;
    if (!readAll(name, bytes, &why))
        return fail(errFileOpen, why);
    if (!fileInfoOf(name, bytes, info, &why))
        return fail(info.format.isEmpty() ? errBadFormat : errDamaged, why);
    return 1;
}

qint16 ImagingLibrary::getinfo(const QString& name, int page, TiffPageInfo& info)
{
    TiffFacts facts;
    QString why;
    if (!tiffFacts(name, page, facts, &why))
        return fail(facts.pages > 0 ? errNoPage : errBadFormat, why);
    info.width = facts.width;
    info.height = facts.height;
    info.compression = qint16(quint16(facts.compression));
    info.pages = qint16(qMin(facts.pages, 32767));
    info.bits = qint16(facts.bits);
    return 0;
}

qint16 ImagingLibrary::getdxfinfo(const QString& name, qint32& width, qint32& height, qint16& bits)
{
    DxfDrawing drawing;
    QString why;
    if (!readDxf(name, drawing, &why))
        return fail(errBadFormat, why);
    const QSize size = dxfPixelSize(drawing);
    width = size.width();
    height = size.height();
    bits = 24;
    return 1;
}

qint16 ImagingLibrary::readWith(const QString& name, int bits, bool dither, QByteArray& dib, int page,
                                const Progress& progress,
                                const std::function<QImage(const QByteArray&, int*, QString*)>& decode)
{
    if (!depthAsked(bits))
        return fail(errDepth, QStringLiteral("%1 bits per pixel").arg(bits));
    if (progress && !progress(0))
        return fail(errCancelled, {});
    QByteArray bytes;
    QString why;
    if (!readAll(name, bytes, &why))
        return fail(errFileOpen, why);
    ImageFileInfo stated;
    TiffFacts facts;
    if (sniffFormat(bytes) == QLatin1String("TIF")) {
        if (tiffFacts(name, page, facts) && sideTooLong(facts.width, facts.height))
            return fail(errTooLarge, tooLargeDetail(facts.width, facts.height));
    } else if (fileInfoOf(name, bytes, stated) && sideTooLong(stated.width, stated.height)) {
        return fail(errTooLarge, tooLargeDetail(stated.width, stated.height));
    }
    if (stated.format == QLatin1String("JPEG")) {
        if (const int scans = jpegScanCount(bytes); scans > kMaxJpegScans)
            return fail(errTooManyScans, QStringLiteral("%1 scans").arg(scans));
    }
    int natural = 24;
    QImage image = decode(bytes, &natural, &why);
    // From here on the read holds no more than the picture and its block: the file's bytes go
    // back by the memory policy.
    bytes = QByteArray();
    platform::GiveBackFreedMemory();
    if (image.isNull())
        return fail(errDamaged, why);
    // A file whose header tells less than its picture (a GIF's frames, say).
    if (sideTooLong(image.width(), image.height()))
        return fail(errTooLarge, tooLargeDetail(image.width(), image.height()));
    // Qt's readers give four bytes a pixel; a block of 24 bits holds three. Brought to three
    // first (in place where Qt can), the picture and its block are never held at four and three.
    const int target = bits == 0 ? natural : bits;
    if (target >= 16 && image.depth() == 32 && !image.hasAlphaChannel())
        image = std::move(image).convertToFormat(QImage::Format_RGB888);
    QByteArray block = imageToDib(image, target, dither);
    image = QImage();
    if (block.isEmpty())
        return fail(errNoMemory, {});
    if (progress && !progress(100))
        return fail(errCancelled, {});
    dib = block;
    return 1;
}

qint16 ImagingLibrary::rdbmpfiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                    const Progress& progress)
{
    return readWith(name, bits, dither, dib, 0, progress, [](const QByteArray& f, int* b, QString* w) {
        return readBmp(f, b, w);
    });
}

qint16 ImagingLibrary::rdpngfiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                    const Progress& progress)
{
    return readWith(name, bits, dither, dib, 0, progress, [](const QByteArray& f, int* b, QString* w) {
        return readWithQt(f, "png", b, w);
    });
}

qint16 ImagingLibrary::rdgiffiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                    const Progress& progress)
{
    return readWith(name, bits, dither, dib, 0, progress, [](const QByteArray& f, int* b, QString* w) {
        return readWithQt(f, "gif", b, w);
    });
}

qint16 ImagingLibrary::rdjpgfiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                    const Progress& progress)
{
    return readWith(name, bits, dither, dib, 0, progress, [](const QByteArray& f, int* b, QString* w) {
        return readWithQt(f, "jpeg", b, w);
    });
}

qint16 ImagingLibrary::readtgafiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                      const Progress& progress)
{
    return readWith(name, bits, dither, dib, 0, progress, [](const QByteArray& f, int* b, QString* w) {
        return readTga(f, b, w);
    });
}

qint16 ImagingLibrary::rdpcxfiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                    const Progress& progress)
{
    return readWith(name, bits, dither, dib, 0, progress, [](const QByteArray& f, int* b, QString* w) {
        return readPcx(f, b, w);
    });
}

qint16 ImagingLibrary::readpcdfiledib(const QString& name, int bits, bool dither, int pcdMode,
                                      QByteArray& dib, const Progress& progress)
{
    return readWith(name, bits, dither, dib, 0, progress,
                    [pcdMode](const QByteArray& f, int* b, QString* w) {
                        *b = 24;
                        return readPcd(f, pcdMode, w);
                    });
}

qint16 ImagingLibrary::readepsfiledib(const QString& name, int bits, bool dither, QByteArray& dib,
                                      const Progress& progress)
{
    return readWith(name, bits, dither, dib, 0, progress,
                    [&name](const QByteArray&, int* b, QString* w) {
                        *b = 24;
                        return renderEps(name, w);
                    });
}

qint16 ImagingLibrary::readtiffiledib(const QString& name, int bits, bool dither, int page,
                                      QByteArray& dib, const Progress& progress)
{
    return readWith(name, bits, dither, dib, page, progress,
                    [&name, page](const QByteArray&, int* b, QString* w) {
                        return readTiff(name, page, b, w);
                    });
}

qint16 ImagingLibrary::readdxftoddb(const QString& name, int bits, bool dither, Bitmap& bitmap,
                                    const Progress& progress)
{
    if (!depthAsked(bits))
        return fail(errDepth, QStringLiteral("%1 bits per pixel").arg(bits));
    if (progress && !progress(0))
        return fail(errCancelled, {});
    DxfDrawing drawing;
    QString why;
    if (!readDxf(name, drawing, &why))
        return fail(errBadFormat, why);
    const QImage drawn = renderDxf(drawing);
    const int depth = bits == 0 || bits == 16 || bits == 32 ? 24 : bits;
    const QImage image = imageAtDepth(drawn, depth, dither);
    if (image.isNull())
        return fail(errRender, {});
    bitmap = Bitmap{image, depth};
    return 1;
}

qint16 ImagingLibrary::wrbmpfiledib(const QString& name, int bits, const QByteArray& dib,
                                    const Progress& progress)
{
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24)
        return fail(errDepth, QStringLiteral("BMP files are written at 1, 4, 8 or 24 bits"));
    if (progress && !progress(0))
        return fail(errCancelled, {});
    QString why;
    const QImage image = dibToImage(dib, nullptr, &why);
    if (image.isNull())
        return fail(errEmptyPicture, why);
    const QByteArray block = imageToDib(image, bits);
    if (block.isEmpty())
        return fail(errNoMemory, {});
    QSaveFile file(name);
    if (!file.open(QIODevice::WriteOnly) || file.write(bmpFileOf(block)) < 0 || !file.commit())
        return fail(errWrite, file.errorString());
    if (progress)
        progress(100);
    return 1;
}

qint16 ImagingLibrary::selectsource()
{
    QList<ScanDevice> devices;
    QString why;
    if (!scanDevices(devices, &why))
        return fail(errScanner, why);
    if (devices.isEmpty())
        return fail(errNoScanner, {});
    const int chosen = chooseScanSource(devices);
    if (chosen < 0 || chosen >= devices.size())
        return fail(errCancelled, {});
    chosenScanDevice() = devices[chosen].name;
    return 0;
}

qint16 ImagingLibrary::aquiredibimage(int bits, bool dither, int, QByteArray& dib,
                                      const Progress& progress)
{
    if (!depthAsked(bits))
        return fail(errDepth, QStringLiteral("%1 bits per pixel").arg(bits));
    QString device = chosenScanDevice();
    if (device.isEmpty()) {
        // No source chosen yet: the first one SANE sees.
        QList<ScanDevice> devices;
        QString why;
        if (!scanDevices(devices, &why))
            return fail(errScanner, why);
        if (devices.isEmpty())
            return fail(errNoScanner, {});
        device = devices.first().name;
    }
    int natural = 24;
    QString why;
    bool stopped = false;
    const QImage page = scanPage(device, &natural, &why, [&](int percent) {
        stopped = progress && !progress(percent);
        return !stopped;
    });
    if (page.isNull())
        return fail(stopped ? errCancelled : errScanner, why);
    dib = imageToDib(page, bits == 0 ? natural : bits, dither);
    if (dib.isEmpty())
        return fail(errNoMemory, {});
    return 0;
}

QByteArray ImagingLibrary::convertDib(const QString& entry, const QByteArray& dib)
{
    static const struct {
        const char* name;
        int from;
        int to;
    } kConverters[] = {
        {"DIB1to4", 1, 4},   {"DIB1To8", 1, 8},   {"DIB1To24", 1, 24}, {"DIB4To8", 4, 8},
        {"DIB4To24", 4, 24}, {"DIB16To24", 16, 24}, {"DIB32To24", 32, 24}, {"DIB8To24", 8, 24},
    };
    for (const auto& c : kConverters)
        if (entry == QLatin1String(c.name)) {
            int bits = 0;
            const QImage image = dibToImage(dib, &bits);
            if (image.isNull() || bits != c.from)
                return {};
            return imageToDib(image, c.to);
        }
    return {};
}

qint16 ImagingLibrary::DibtoDdb(const QByteArray& dib, Bitmap& bitmap)
{
    int bits = 0;
    QString why;
    const QImage image = dibToImage(dib, &bits, &why);
    if (image.isNull())
        return fail(errDamaged, why);
    bitmap = Bitmap{image, bits};
    return 1;
}

} // namespace imaging
