#include "imaging/TiffFile.h"

#include "imaging/HugePages.h"

#include <QFile>
#include <QList>

#include <tiffio.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace imaging {

namespace {

constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

// libtiff prints its complaints to stderr unless told otherwise; a bad file is reported through
// our own error instead.
void quiet(const char*, const char*, va_list) {}

struct Closer {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using Tiff = std::unique_ptr<TIFF, Closer>;

Tiff open(const QString& path, QString* why)
{
    static const bool silenced = [] {
        TIFFSetErrorHandler(quiet);
        TIFFSetWarningHandler(quiet);
        return true;
    }();
    (void)silenced;
    Tiff tiff(TIFFOpen(QFile::encodeName(path).constData(), "r"));
    if (!tiff && why != nullptr)
        *why = QStringLiteral("not a TIFF file");
    return tiff;
}

bool toPage(TIFF* tiff, int page, QString* why)
{
    if (page < 0 || page > 65535 || !TIFFSetDirectory(tiff, tdir_t(page))) {
        if (why != nullptr)
            *why = QStringLiteral("the TIFF file has no page %1").arg(page + 1);
        return false;
    }
    return true;
}

// Eight-bit RGB or grey in strips, top row first: the common page, read a row at a time
// straight into the picture, so a page that compresses far costs its picture and no more (the
// RGBA reader below holds four bytes a pixel on top of it). A null image for any other page.
QImage readPlainRows(TIFF* tiff, uint32_t w, uint32_t h, uint16_t bps, uint16_t spp, int* bits, QString* why)
{
    uint16_t photometric = 0, planar = PLANARCONFIG_CONTIG, orientation = ORIENTATION_TOPLEFT;
    uint16_t extra = 0;
    uint16_t* extraKinds = nullptr;
    if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric))
        return {};
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ORIENTATION, &orientation);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extra, &extraKinds);
    uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
    const bool rgb = photometric == PHOTOMETRIC_RGB && spp == 3;
    const bool grey = photometric == PHOTOMETRIC_MINISBLACK && spp == 1;
    if (bps != 8 || !(rgb || grey) || extra != 0 || sampleFormat != SAMPLEFORMAT_UINT || planar != PLANARCONFIG_CONTIG
        || orientation != ORIENTATION_TOPLEFT || TIFFIsTiled(tiff) || TIFFScanlineSize64(tiff) < uint64_t(w) * spp)
        return {};
    QImage image(int(w), int(h), rgb ? QImage::Format_RGB888 : QImage::Format_Indexed8);
    if (image.isNull()) {
        if (why != nullptr)
            *why = QStringLiteral("Can't allocate memory");
        return {};
    }
    preferHugePages(image);
    if (grey) {
        QList<QRgb> greys;
        for (int i = 0; i < 256; ++i)
            greys.append(qRgb(i, i, i));
        image.setColorTable(greys);
    }
    std::vector<uint8_t> row(size_t(TIFFScanlineSize64(tiff)));
    for (uint32_t y = 0; y < h; ++y) {
        if (TIFFReadScanline(tiff, row.data(), y, 0) < 0) {
            if (why != nullptr)
                *why = QStringLiteral("TIFF file is damaged or truncated");
            return {};
        }
        std::copy_n(row.data(), size_t(w) * spp, image.scanLine(int(y)));
    }
    if (bits != nullptr)
        *bits = rgb ? 24 : 8;
    return image;
}

} // namespace

bool tiffFacts(const QString& path, int page, TiffFacts& f, QString* why)
{
    Tiff tiff = open(path, why);
    if (!tiff)
        return false;
    f.pages = int(TIFFNumberOfDirectories(tiff.get()));
    if (!toPage(tiff.get(), page, why))
        return false;
    uint32_t w = 0, h = 0;
    uint16_t compression = COMPRESSION_NONE, bps = 1, spp = 1, unit = RESUNIT_INCH;
    float xres = 0, yres = 0;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_COMPRESSION, &compression);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_RESOLUTIONUNIT, &unit);
    TIFFGetField(tiff.get(), TIFFTAG_XRESOLUTION, &xres);
    TIFFGetField(tiff.get(), TIFFTAG_YRESOLUTION, &yres);
    const double perInch = unit == RESUNIT_CENTIMETER ? 2.54 : 1.0;
    f.width = int(qMin<uint32_t>(w, 0x7FFFFFFF));
    f.height = int(qMin<uint32_t>(h, 0x7FFFFFFF));
    f.compression = compression;
    f.bits = bps * spp;
    f.dpiX = xres > 0 && xres < 100000 ? int(xres * perInch + 0.5) : 0;
    f.dpiY = yres > 0 && yres < 100000 ? int(yres * perInch + 0.5) : 0;
    return true;
}

QImage readTiff(const QString& path, int page, int* bits, QString* why)
{
    Tiff tiff = open(path, why);
    if (!tiff || !toPage(tiff.get(), page, why))
        return {};
    uint32_t w = 0, h = 0;
    uint16_t bps = 1, spp = 1;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &spp);
    if (w == 0 || h == 0 || w > 32767 || h > 32767 || qint64(w) * h > kMaxPixels) {
        if (why != nullptr)
            *why = QStringLiteral("TIFF page size %1 x %2 is not supported").arg(w).arg(h);
        return {};
    }
    QString failed;
    if (QImage plain = readPlainRows(tiff.get(), w, h, bps, spp, bits, &failed); !plain.isNull() || !failed.isEmpty()) {
        if (why != nullptr && plain.isNull())
            *why = failed;
        return plain;
    }
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tiff.get(), message)) {
        if (why != nullptr)
            *why = QStringLiteral("TIFF page cannot be read: %1").arg(QString::fromLocal8Bit(message));
        return {};
    }
    std::vector<uint32_t> raster(size_t(w) * h);
    if (!TIFFReadRGBAImageOriented(tiff.get(), w, h, raster.data(), ORIENTATION_TOPLEFT, 1)) {
        if (why != nullptr)
            *why = QStringLiteral("TIFF file is damaged or truncated");
        return {};
    }
    // libtiff's RGBA reader hands colours multiplied by their alpha, whatever the file holds:
    // stored as such, they are flattened onto white once.
    QImage image(int(w), int(h), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        if (why != nullptr)
            *why = QStringLiteral("Can't allocate memory");
        return {};
    }
    for (uint32_t y = 0; y < h; ++y) {
        auto* d = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        const uint32_t* s = raster.data() + size_t(y) * w;
        for (uint32_t x = 0; x < w; ++x) {
            // A damaged file's colours may exceed their alpha, which no premultiplied pixel can.
            const int a = spp == 2 || spp == 4 ? int(TIFFGetA(s[x])) : 255;
            d[x] = qRgba(qMin(int(TIFFGetR(s[x])), a), qMin(int(TIFFGetG(s[x])), a),
                         qMin(int(TIFFGetB(s[x])), a), a);
        }
    }
    const int depth = bps * spp;
    if (bits != nullptr)
        *bits = depth <= 1 ? 1 : depth <= 4 ? 4 : depth <= 8 ? 8 : 24;
    if (spp != 2 && spp != 4)
        image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

} // namespace imaging
