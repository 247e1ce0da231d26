// The BMP writer: each depth is written as a standard file that Qt and `file` read back.
#include "ImagingTestSupport.h"

#include "imaging/Binding.h"

#include <QProcess>
#include <QTemporaryDir>

using namespace imaging;
using imagingtest::BindingFixture;
using imagingtest::hasQuarters;

namespace {

QImage quarters()
{
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, y < 15 ? (x < 20 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                        : (x < 20 ? qRgb(0, 0, 255) : qRgb(255, 255, 255)));
    return image;
}

QString fileSays(const QString& path)
{
    QProcess file;
    file.start(QStringLiteral("file"), {QStringLiteral("-b"), path});
    if (!file.waitForFinished(10000))
        return {};
    return QString::fromUtf8(file.readAllStandardOutput()).trimmed();
}

class Writer : public BindingFixture {
protected:
    void SetUp() override
    {
        BindingFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(Writer, WritesEachDepthAsAStandardBmpFile)
{
    const Bitmap picture{quarters(), 24};
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        const QString path = dir.filePath(QStringLiteral("w%1.bmp").arg(bits));
        ASSERT_TRUE(ImgWriteBmpBitmap(path, bits, picture)) << qPrintable(binding().ImgLastErrorText);
        EXPECT_EQ(binding().ImgProgressText, QStringLiteral("Writing ") + path);

        const QByteArray bytes = testsupport::readBytes(path);
        const int colors = bits <= 8 ? 1 << bits : 0;
        const int stride = ((40 * bits + 31) / 32) * 4;
        EXPECT_EQ(bytes.size(), 14 + 40 + 4 * colors + 30 * stride);
        EXPECT_EQ(quint8(bytes[10]) | quint8(bytes[11]) << 8, 14 + 40 + 4 * colors);

        const QImage read(path);
        ASSERT_FALSE(read.isNull());
        if (bits == 1) {
            EXPECT_LT(qGray(read.pixel(5, 5)), 128);
            EXPECT_GT(qGray(read.pixel(35, 25)), 128);
        } else {
            EXPECT_TRUE(hasQuarters(read, 0));
        }
        EXPECT_EQ(fileSays(path), QStringLiteral("PC bitmap, Windows 3.x format, 40 x 30 x %1, "
                                                 "image size %2, resolution 2953 x 2953 px/m%3, "
                                                 "cbSize %4, bits offset %5")
                                      .arg(bits)
                                      .arg(30 * stride)
                                      .arg(colors ? QStringLiteral(", %1 important colors").arg(colors)
                                                  : QString())
                                      .arg(bytes.size())
                                      .arg(14 + 40 + 4 * colors));
    }
}

TEST_F(Writer, RefusesDepthsAndPicturesItCannotWrite)
{
    const QString path = dir.filePath(QStringLiteral("x.bmp"));
    const QByteArray dib = imageToDib(quarters(), 24);
    EXPECT_FALSE(ImgWriteBmp(path, 16, dib));
    EXPECT_EQ(binding().ImgLastErrorCode, errDepth);
    EXPECT_FALSE(ImgWriteBmp(path, 8, dib.left(100)));
    EXPECT_EQ(binding().ImgLastErrorCode, errEmptyPicture);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_THROW(ImgWriteBmpBitmap(path, 8, Bitmap{}), ErrorInvalid);
    // A folder that does not exist is a write error that says so.
    EXPECT_FALSE(ImgWriteBmp(dir.filePath(QStringLiteral("no/such/x.bmp")), 8, dib));
    EXPECT_EQ(binding().ImgLastErrorCode, errWrite);
}
