// Files made to cost the reader: pictures wider than a block holds, and pictures whose pixels
// take a path of their own through the reader. Each is refused with its own code and text, or read whole.
#include "ImagingTestSupport.h"
#include "RunLengthPictures.h"
#include "ScanBomb.h"
#include "TiffWriter.h"

#include "imaging/Binding.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <tiffio.h>

using namespace imaging;
using imagingtest::BindingFixture;

namespace {

// A GIF whose screen is `width` x 1 around a frame of one pixel.
QByteArray wideGif(int width)
{
    QByteArray b("GIF89a");
    b += QByteArray(7, '\0');
    runlength::put16(b, 6, width);
    runlength::put16(b, 8, 1);
    b[10] = char(0x80); // a global table of two colours
    b += QByteArray("\0\0\0\xFF\xFF\xFF", 6);
    b += QByteArray("\x2C\0\0\0\0\x01\0\x01\0\0", 10);
    // Codes of three bits: clear, colour 0, end.
    b += QByteArray("\x02\x02\x44\x01\0;", 6);
    return b;
}

// A grey TIFF of one row `width` pixels wide.
void writeWideTiff(const QString& path, int width)
{
    tifftest::Page page;
    page.width = width;
    page.samples = 1;
    page.photometric = PHOTOMETRIC_MINISBLACK;
    page.compression = COMPRESSION_ADOBE_DEFLATE;
    page.pixel = [](int, int, uint8_t* into) { into[0] = 0x20; };
    tifftest::writeTiff(path, {page});
}

// A TIFF page of `spp` 8-bit samples (1 grey, 3 RGB) whose pixel (x, y) is (x, y, x + y), or
// grey x + y; in one strip or tiles of 16, with the predictor when asked.
void writePatternTiff(const QString& path, int w, int h, int spp, bool tiled, bool predictor)
{
    tifftest::Page page;
    page.width = w;
    page.height = h;
    page.samples = spp;
    page.photometric = spp == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    page.compression = COMPRESSION_ADOBE_DEFLATE;
    page.predictor = predictor ? PREDICTOR_HORIZONTAL : 0;
    page.tileSide = tiled ? 16 : 0;
    page.pixel = [spp](int x, int y, uint8_t* into) {
        if (spp == 1) {
            into[0] = uint8_t(x + y);
            return;
        }
        into[0] = uint8_t(x);
        into[1] = uint8_t(y);
        into[2] = uint8_t(x + y);
    };
    tifftest::writeTiff(path, {page});
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
    testsupport::writeBytes(path("wide.pcx"), runlength::pcx(40000, 1, 1));
    testsupport::writeBytes(path("wide.tga"), runlength::tga(40000, 1, 8));
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
    testsupport::writeBytes(path("edge.pcx"), runlength::pcx(32767, 1, 1));
    Bitmap edge;
    EXPECT_TRUE(ImgReadPcxBitmap(path("edge.pcx"), 24, false, nullptr, edge))
        << qPrintable(binding().ImgLastErrorText);
    EXPECT_EQ(edge.image.width(), 32767);
}

// TIFF pages of plain rows are decoded straight into the picture, the others through libtiff's
// RGBA reader: both give every pixel and the file's depth.
TEST_F(HostileFiles, TiffPagesReadRowByRowGiveTheSamePixels)
{
    const struct {
        const char* file;
        int spp;
        bool tiled, predictor;
    } cases[] = {
        {"rgb.tif", 3, false, false}, {"rgb-predictor.tif", 3, false, true}, {"grey.tif", 1, false, false},
        {"rgb-tiled.tif", 3, true, false}, {"grey-tiled.tif", 1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString file = path(QString::fromLatin1(c.file));
        writePatternTiff(file, 48, 32, c.spp, c.tiled, c.predictor);
        Bitmap bitmap;
        ASSERT_TRUE(ImgReadTiffBitmap(file, 0, false, 0, nullptr, bitmap)) << qPrintable(binding().ImgLastErrorText);
        EXPECT_EQ(bitmap.bits, c.spp == 3 ? 24 : 8);
        ASSERT_EQ(bitmap.image.size(), QSize(48, 32));
        int wrong = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 48; ++x) {
                const QRgb expected = c.spp == 3 ? qRgb(x, y, x + y) : qRgb(x + y, x + y, x + y);
                wrong += bitmap.image.pixel(x, y) != expected;
            }
        EXPECT_EQ(wrong, 0);
    }
}

namespace {

QByteArray dxfEntities(const QByteArray& entities)
{
    return "0\nSECTION\n2\nENTITIES\n" + entities + "0\nLINE\n10\n0\n20\n0\n11\n100\n21\n50\n0\nENDSEC\n0\nEOF\n";
}

} // namespace

// dxflib allocates and clears what a count group states, in int arithmetic, and leaves a number
// unset for an empty value line: such drawings are damaged, refused by the information and the
// reader alike, whatever the file is called. Counts the entity holds are read.
TEST_F(HostileFiles, DxfCountsAndValuesTheFileCannotHoldAreDamage)
{
    const QByteArray polyline = "0\nLWPOLYLINE\n8\n0\n90\n3\n70\n0\n10\n0\n20\n0\n10\n100\n20\n0\n10\n100\n20\n50\n";
    const QByteArray spline = "0\nSPLINE\n8\n0\n70\n8\n71\n1\n72\n4\n73\n2\n74\n0\n40\n0\n40\n0\n40\n1\n40\n1\n"
                              "10\n0\n20\n0\n30\n0\n10\n80\n20\n40\n30\n0\n";
    const QByteArray leader = "0\nLEADER\n8\n0\n76\n2\n10\n0\n20\n0\n10\n60\n20\n30\n";
    const struct {
        const char* name;
        QByteArray entities;
        bool sound;
    } cases[] = {
        {"polyline of its stated vertices", polyline, true},
        {"spline of its stated knots and points", spline, true},
        {"leader of its stated vertices", leader, true},
        {"vertex count that wraps 4 x n", "0\nLWPOLYLINE\n90\n1073741825\n", false},
        {"knot count of 3.2 GB", "0\nSPLINE\n72\n400000000\n", false},
        {"control point count that wraps 3 x n", "0\nSPLINE\n73\n715827883\n", false},
        {"fit point count that wraps 3 x n", "0\nSPLINE\n74\n715827883\n", false},
        {"leader count that wraps 3 x n", "0\nLEADER\n76\n715827883\n", false},
        {"count past int", "0\nLWPOLYLINE\n90\n4294967299\n10\n0\n20\n0\n", false},
        {"negative count", "0\nLWPOLYLINE\n90\n-2\n10\n0\n20\n0\n10\n5\n20\n5\n", false},
        {"more vertices than the entity has groups", QByteArray(polyline).replace("90\n3\n", "90\n10\n"), false},
        {"counts together more than the entity holds", QByteArray(spline).replace("74\n0\n", "74\n11\n"), false},
        {"count reaching into the next entity",
         QByteArray(leader).replace("76\n2\n", "76\n7\n") + "0\nLINE\n10\n0\n20\n0\n11\n9\n21\n9\n", false},
        {"empty coordinate", "0\nLINE\n10\n\n20\n0\n11\n100\n21\n50\n", false},
        {"blank coordinate", "0\nLINE\n10\n0\n20\n  \r\n11\n100\n21\n50\n", false},
        {"coordinate of letters", "0\nLINE\n10\n0\n20\n0\n11\nabc\n21\n50\n", false},
        {"empty count", "0\nLWPOLYLINE\n90\n\n10\n0\n20\n0\n", false},
        {"empty colour", "0\nLINE\n62\n\n10\n0\n20\n0\n11\n100\n21\n50\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Any name: the information finds a drawing by its content.
        const QString file = path(QStringLiteral("drawing.png"));
        testsupport::writeBytes(file, dxfEntities(c.entities));
        ImageFileInfo info;
        Bitmap bitmap;
        EXPECT_EQ(ImgFileInfo(file, info), c.sound);
        EXPECT_EQ(ImgReadDxf(file, 24, false, bitmap), c.sound) << qPrintable(binding().ImgLastErrorText);
        if (!c.sound) {
            EXPECT_TRUE(binding().ImgLastErrorText.contains(QStringLiteral("DXF drawing is damaged")))
                << qPrintable(binding().ImgLastErrorText);
            EXPECT_FALSE(bitmap.HasHandle());
        } else {
            EXPECT_EQ(info.format, QStringLiteral("DXF"));
            EXPECT_EQ(bitmap.image.size(), QSize(info.width, info.height));
        }
    }
}

// Each scan of a progressive JPEG is a pass over all its blocks: a picture reads whole up to 100
// scans, more than any encoder writes, and beyond is refused by its own code, before decoding.
TEST_F(HostileFiles, AJpegOfMoreScansThanAnyPictureHasIsRefused)
{
    const struct {
        int scans;
        bool reads;
    } cases[] = {{10, true}, {100, true}, {101, false}, {3000, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scans);
        const QByteArray jpeg = scanbomb::progressiveJpeg(64, 48, c.scans);
        ASSERT_FALSE(jpeg.isEmpty());
        const QString file = path(QStringLiteral("scans.jpg"));
        testsupport::writeBytes(file, jpeg);
        Bitmap bitmap;
        EXPECT_EQ(ImgReadJpegBitmap(file, 24, false, nullptr, bitmap), c.reads)
            << qPrintable(binding().ImgLastErrorText);
        if (c.reads) {
            EXPECT_EQ(bitmap.image.size(), QSize(64, 48));
        } else {
            EXPECT_EQ(binding().ImgLastErrorCode, errTooManyScans);
            EXPECT_EQ(binding().ImgLastErrorText,
                      QStringLiteral("The JPEG picture has more than 100 scans: %1 scans").arg(c.scans));
        }
    }
}
