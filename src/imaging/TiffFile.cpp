#include "imaging/TiffFile.h"

#include "imaging/Dib.h"
#include "imaging/ImagingErrors.h"
#include "platform/Heap.h"

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
            *why = imagingMessage(msgCantAllocate);
        return {};
    }
    platform::PreferHugePages(image);
    if (grey)
        image.setColorTable(greyTable());
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

// Every other page goes through libtiff's RGBA reader, which hands colours multiplied by their
// alpha whatever the file holds: they are flattened onto white once, as every see-through
// picture is. The reader is asked for a band of rows at a time (a strip's or a tile row's worth),
// so a page that compresses far costs its picture and one band, not four bytes a pixel more.
QImage readRgbaBands(TIFF* tiff, uint32_t w, uint32_t h, uint16_t bps, uint16_t spp, int* bits, QString* why)
{
    char message[1024] = {};
    TIFFRGBAImage reader{};
    if (!TIFFRGBAImageOK(tiff, message) || !TIFFRGBAImageBegin(&reader, tiff, 1, message)) {
        if (why != nullptr)
            *why = QStringLiteral("TIFF page cannot be read: %1").arg(QString::fromLocal8Bit(message));
        return {};
    }
    const std::unique_ptr<TIFFRGBAImage, void (*)(TIFFRGBAImage*)> end(&reader, TIFFRGBAImageEnd);
    reader.req_orientation = ORIENTATION_TOPLEFT;
    // The reader turns a page stored in another orientation within what it is asked for: such a
    // page is read whole.
    uint32_t band = h;
    if (reader.orientation == ORIENTATION_TOPLEFT) {
        uint32_t unit = 0;
        if (TIFFIsTiled(tiff) ? TIFFGetField(tiff, TIFFTAG_TILELENGTH, &unit) != 0
                              : TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &unit) != 0)
            if (unit > 0)
                band = unit;
        // Bands of a few megabytes, in whole strips or tile rows so that none is decoded twice.
        const uint32_t wanted = std::max<uint32_t>(1, uint32_t((4u << 20) / (uint64_t(w) * 4)));
        if (band < wanted)
            band = std::min(h, (wanted / band) * band);
        band = std::min(band, h);
    }
    QImage image(int(w), int(h), QImage::Format_RGB888);
    std::vector<uint32_t> raster;
    try {
        raster.resize(size_t(w) * band);
    } catch (const std::bad_alloc&) {
        image = QImage();
    }
    if (image.isNull()) {
        if (why != nullptr)
            *why = imagingMessage(msgCantAllocate);
        return {};
    }
    platform::PreferHugePages(image);
    const bool alpha = spp == 2 || spp == 4;
    for (uint32_t top = 0; top < h; top += band) {
        const uint32_t rows = std::min(band, h - top);
        reader.row_offset = int(top);
        reader.col_offset = 0;
        if (!TIFFRGBAImageGet(&reader, raster.data(), w, rows)) {
            if (why != nullptr)
                *why = QStringLiteral("TIFF file is damaged or truncated");
            return {};
        }
        for (uint32_t y = 0; y < rows; ++y) {
            uchar* d = image.scanLine(int(top + y));
            const uint32_t* s = raster.data() + size_t(y) * w;
            for (uint32_t x = 0; x < w; ++x, d += 3) {
                // A damaged file's colours may exceed their alpha, which no multiplied colour can.
                const uint32_t a = alpha ? TIFFGetA(s[x]) : 255;
                d[0] = uchar(std::min(TIFFGetR(s[x]), a) + 255 - a);
                d[1] = uchar(std::min(TIFFGetG(s[x]), a) + 255 - a);
                d[2] = uchar(std::min(TIFFGetB(s[x]), a) + 255 - a);
            }
        }
    }
    const int depth = bps * spp;
    if (bits != nullptr)
        *bits = depth <= 1 ? 1 : depth <= 4 ? 4 : depth <= 8 ? 8 : 24;
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
    if (w == 0 || h == 0 || w > kMaxPictureSide || h > kMaxPictureSide || qint64(w) * h > kMaxPixels) {
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
    return readRgbaBands(tiff.get(), w, h, bps, spp, bits, why);
}

} // namespace imaging
