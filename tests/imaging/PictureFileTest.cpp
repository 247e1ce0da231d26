// Reading a picture file as the image control does: the reader by extension, else by the
// format the content states; an unknown format is an error; small depths read in black and
// white; the TIFF page asked for is lowered to the last page.
#include "ImagingTestSupport.h"

#include "imaging/PictureFile.h"

#include <QImageWriter>

using namespace imaging;
using imagingtest::BindingFixture;

namespace {

class PictureFile : public BindingFixture {
protected:
    QString write(const QString& name, const QImage& image, const char* format)
    {
        const QString path = dir.filePath(name);
        QImageWriter writer(path, format);
        EXPECT_TRUE(writer.write(image)) << qPrintable(writer.errorString());
        return path;
    }
    QString bytes(const QString& name, const QByteArray& content)
    {
        const QString path = dir.filePath(name);
        testsupport::writeBytes(path, content);
        return path;
    }
    QTemporaryDir dir;
};

QImage colourful()
{
    QImage image(20, 10, QImage::Format_RGB888);
    image.fill(qRgb(200, 40, 10));
    return image;
}

} // namespace

TEST_F(PictureFile, TheReaderComesFromTheExtensionElseFromTheContent)
{
    const QString bmp = write("a.bmp", colourful(), "bmp");
    QFile::copy(bmp, dir.filePath("wrong.jpg"));
    QFile::copy(bmp, dir.filePath("odd.xyz"));
    QFile::copy(bmp, dir.filePath("thumb.thb"));
    const struct {
        const char* name;
        PictureKind kind;
    } cases[] = {
        {"a.bmp", PictureKind::Bitmap},      {"odd.xyz", PictureKind::Bitmap},
        {"thumb.thb", PictureKind::Bitmap},  {"wrong.jpg", PictureKind::Failed},
        {"missing.png", PictureKind::Missing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureRead read = ImgReadPictureFile(dir.filePath(c.name), PictureReadOptions());
        EXPECT_EQ(read.kind, c.kind);
        if (c.kind == PictureKind::Bitmap) {
            EXPECT_EQ(read.bitmap.image.size(), QSize(20, 10));
            EXPECT_EQ(read.bitmap.image.pixel(3, 3), qRgb(200, 40, 10));
            EXPECT_EQ(read.info.format, QStringLiteral("BMP"));
        }
    }
}

TEST_F(PictureFile, AFormatNoReaderTakesIsAnErrorWithItsText)
{
    binding().ImgLastErrorCode = 0;
    for (const char* name : {"notes.xyz", "drawing.wmf"}) {
        SCOPED_TRACE(name);
        const PictureRead read =
            ImgReadPictureFile(bytes(name, QByteArray(64, 'x')), PictureReadOptions());
        EXPECT_EQ(read.kind, PictureKind::Failed);
        EXPECT_FALSE(read.bitmap.HasHandle());
        EXPECT_NE(binding().ImgLastErrorCode, 0);
        EXPECT_FALSE(binding().ImgLastErrorText.isEmpty());
    }
}

TEST_F(PictureFile, PicturesOfFewBitsAreReadInBlackAndWhite)
{
    QImage mono(16, 8, QImage::Format_Mono);
    mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    mono.fill(0);
    mono.setPixel(1, 1, 1);
    const QString monoBmp = write("mono.bmp", mono, "bmp");
    const QString colour = write("colour.png", colourful(), "png");
    const struct {
        QString path;
        int expectedBits;
    } cases[] = {
        {monoBmp, 1},
        {imagingtest::fixture("mono.gif"), 1},
        {colour, 24},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.path));
        PictureReadOptions options;
        options.bits = 24;
        const PictureRead read = ImgReadPictureFile(c.path, options);
        ASSERT_EQ(read.kind, PictureKind::Bitmap) << qPrintable(binding().ImgLastErrorText);
        EXPECT_EQ(read.bitmap.bits, c.expectedBits);
    }
}

TEST_F(PictureFile, ATiffPageBeyondTheLastIsLoweredToTheLast)
{
    const struct {
        int page, pages, expected;
    } cases[] = {{0, 1, 0}, {5, 2, 1}, {2, 2, 1}, {1, 2, 1}, {3, 0, 0}, {-1, 3, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ImgTiffPageFor(c.page, c.pages), c.expected) << c.page << " of " << c.pages;

    const QString tiff = write("one.tif", colourful(), "tiff");
    PictureReadOptions options;
    options.tiffPage = 3;
    const PictureRead read = ImgReadPictureFile(tiff, options);
    ASSERT_EQ(read.kind, PictureKind::Bitmap) << qPrintable(binding().ImgLastErrorText);
    EXPECT_EQ(read.tiffPage, 0);
    EXPECT_EQ(read.info.tiffPages, 1);
    EXPECT_EQ(read.bitmap.image.pixel(0, 0), qRgb(200, 40, 10));
}

TEST_F(PictureFile, EveryFailedReadStatesItsOwnCodeAndText)
{
    // Each read follows a failure of another kind, whose code and text must not be reported
    // again: by the file information and, where the file itself is bad, by the picture read.
    const QString tooShort = bytes("short.png", "\x89PNG");
    const QByteArray damagedTiff = "II*\0" + QByteArray("\xFF\xFF\x00\x00", 4) + QByteArray(100, '\x07');
    const struct {
        const char* what;
        QString path;
        qint16 code;
        bool readFails;
    } cases[] = {
        {"damaged TIFF", bytes("damaged.tif", damagedTiff), errBadFormat, true},
        {"PNG named as a TIFF", write("png.tif", colourful(), "png"), errBadFormat, true},
        {"TIFF without the asked page", write("one.TIFF", colourful(), "tiff"), errNoPage, false},
    };
    auto failShort = [&] {
        ASSERT_EQ(ImgReadPictureFile(tooShort, PictureReadOptions()).kind, PictureKind::Failed);
        ASSERT_EQ(binding().ImgLastErrorCode, errFileTooShort);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        failShort();
        TImageInfo info;
        EXPECT_FALSE(ImgGetImageInfo(c.path, 2, QSize(), info));
        EXPECT_EQ(binding().ImgLastErrorCode, c.code);
        EXPECT_FALSE(binding().ImgLastErrorText.isEmpty());
        EXPECT_NE(binding().ImgLastErrorText.toStdString(), "File too short");
        if (!c.readFails)
            continue;
        failShort();
        EXPECT_EQ(ImgReadPictureFile(c.path, PictureReadOptions()).kind, PictureKind::Failed);
        EXPECT_EQ(binding().ImgLastErrorCode, c.code);
        EXPECT_NE(binding().ImgLastErrorText.toStdString(), "File too short");
    }
}
