// Files made to cost the reader: pictures wider than a block holds, and PostScript that never
// ends. Each is refused with its own code and text, and the windows go on while it is read.
#include "ImagingTestSupport.h"

#include "imaging/Binding.h"
#include "imaging/EpsFile.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <tiffio.h>

using namespace imaging;
using imagingtest::BindingFixture;

namespace {

void put16(QByteArray& b, int at, int v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
}

// A run-length PCX of `width` x 1 at 8 bits: 1.4 KB for 40000 pixels.
QByteArray widePcx(int width)
{
    QByteArray b(128, '\0');
    b[0] = 0x0A;
    b[1] = 5;
    b[2] = 1;
    b[3] = 8;
    put16(b, 8, width - 1);
    b[65] = 1;
    put16(b, 66, width);
    for (int left = width; left > 0; left -= 63)
        b += QByteArray(1, char(0xC0 | qMin(left, 63))) + '\x07';
    return b;
}

// A run-length grey TGA of `width` x 1.
QByteArray wideTga(int width)
{
    QByteArray b(18, '\0');
    b[2] = 11;
    put16(b, 12, width);
    put16(b, 14, 1);
    b[16] = 8;
    for (int left = width; left > 0; left -= 128)
        b += QByteArray(1, char(0x80 | (qMin(left, 128) - 1))) + '\x40';
    return b;
}

// A GIF whose screen is `width` x 1 around a frame of one pixel.
QByteArray wideGif(int width)
{
    QByteArray b("GIF89a");
    b += QByteArray(7, '\0');
    put16(b, 6, width);
    put16(b, 8, 1);
    b[10] = char(0x80); // a global table of two colours
    b += QByteArray("\0\0\0\xFF\xFF\xFF", 6);
    b += QByteArray("\x2C\0\0\0\0\x01\0\x01\0\0", 10);
    // Codes of three bits: clear, colour 0, end.
    b += QByteArray("\x02\x02\x44\x01\0;", 6);
    return b;
}

void writeWideTiff(const QString& path, int width)
{
    TIFF* tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, 1);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 1);
    QByteArray line(width, '\x20');
    ASSERT_GE(TIFFWriteScanline(tiff, line.data(), 0, 0), 0);
    TIFFClose(tiff);
}

using Reader = bool (*)(const QString&, int, bool, ProgressContext*, Bitmap&);

bool readTiff0(const QString& n, int b, bool d, ProgressContext* c, Bitmap& m)
{
    return ImgReadTiffBitmap(n, b, d, 0, c, m);
}

} // namespace

class HostileFiles : public BindingFixture {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(HostileFiles, APictureWiderOrTallerThanABlockHoldsIsRefusedWithItsOwnCode)
{
    const QImage wide = QImage(40000, 1, QImage::Format_Grayscale8);
    const QImage tall = QImage(1, 40000, QImage::Format_Grayscale8);
    ASSERT_TRUE(wide.save(path("wide.png")));
    ASSERT_TRUE(tall.save(path("tall.png")));
    ASSERT_TRUE(wide.save(path("wide.jpg")));
    ASSERT_TRUE(wide.save(path("wide.bmp")));
    writeWideTiff(path("wide.tif"), 40000);
    testsupport::writeBytes(path("wide.pcx"), widePcx(40000));
    testsupport::writeBytes(path("wide.tga"), wideTga(40000));
    testsupport::writeBytes(path("wide.gif"), wideGif(40000));
    const struct {
        const char* file;
        Reader read;
    } cases[] = {
        {"wide.pcx", ImgReadPcxBitmap}, {"wide.tga", ImgReadTgaBitmap}, {"wide.gif", ImgReadGifBitmap},
        {"wide.png", ImgReadPngBitmap}, {"tall.png", ImgReadPngBitmap}, {"wide.jpg", ImgReadJpegBitmap},
        {"wide.bmp", ImgReadBmpBitmap}, {"wide.tif", readTiff0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        // The previous failure's code must not be what this one reports.
        binding().ImgLastErrorCode = errFileTooShort;
        binding().ImgLastErrorText = QStringLiteral("File too short");
        Bitmap bitmap;
        EXPECT_FALSE(c.read(path(QString::fromLatin1(c.file)), 24, false, nullptr, bitmap));
        EXPECT_FALSE(bitmap.HasHandle());
        EXPECT_EQ(binding().ImgLastErrorCode, errTooLarge);
        EXPECT_TRUE(binding().ImgLastErrorText.contains(QStringLiteral("32767")))
            << qPrintable(binding().ImgLastErrorText);
    }
    // The largest side a block holds still reads.
    testsupport::writeBytes(path("edge.pcx"), widePcx(32767));
    Bitmap edge;
    EXPECT_TRUE(ImgReadPcxBitmap(path("edge.pcx"), 24, false, nullptr, edge))
        << qPrintable(binding().ImgLastErrorText);
    EXPECT_EQ(edge.image.width(), 32767);
}

TEST_F(HostileFiles, TheWindowsGoOnWhileGhostscriptRuns)
{
    // A PostScript that never ends keeps the reader waiting up to its limit: timers (and so
    // painting and the busy cursor) are served meanwhile.
    setEpsTimeLimit(1500);
    testsupport::writeBytes(path("loop.eps"),
                            "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n{ } loop\n");
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(50);
    Bitmap bitmap;
    EXPECT_FALSE(ImgReadEpsBitmap(path("loop.eps"), 24, false, nullptr, bitmap));
    setEpsTimeLimit(30000);
    EXPECT_GE(ticks, 5);
    EXPECT_EQ(binding().ImgLastErrorCode, errDamaged);
}
