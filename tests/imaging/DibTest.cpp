// Packed bitmaps: the block's layout, its measures, pictures to blocks and back at every depth,
// run-length blocks, and blocks whose header lies about their content.
#include "ImagingTestSupport.h"

#include "imaging/Binding.h"
#include "imaging/Dib.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

using namespace imaging;
using imagingtest::hasQuarters;

namespace {

void put32(QByteArray& b, int at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char(v >> (8 * i));
}

// A bare 40-byte header.
QByteArray header(qint32 width, qint32 height, int bits, int compression = BI_RGB,
                  quint32 colorsUsed = 0, quint32 sizeImage = 0)
{
    QByteArray b(40, '\0');
    put32(b, 0, 40);
    put32(b, 4, quint32(width));
    put32(b, 8, quint32(height));
    b[12] = 1;
    b[14] = char(bits);
    put32(b, 16, quint32(compression));
    put32(b, 20, sizeImage);
    put32(b, 32, colorsUsed);
    return b;
}

QByteArray table(std::initializer_list<QRgb> colors)
{
    QByteArray t;
    for (QRgb c : colors)
    {
        const char entry[4] = {char(qBlue(c)), char(qGreen(c)), char(qRed(c)), '\0'};
        t += QByteArray(entry, 4);
    }
    return t;
}

QImage quarters()
{
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            image.setPixel(x, y, y < 15 ? (x < 20 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                        : (x < 20 ? qRgb(0, 0, 255) : qRgb(255, 255, 255)));
    return image;
}

} // namespace

TEST(Dib, AllocateSizesTheBlockForEachDepth)
{
    const struct {
        int bits, width, height;
        bool ok;
        int storedBits, colors;
        qint64 rows, blockSize;
    } cases[] = {
        {4, 10, 3, true, 4, 16, 24, 40 + 64 + 24},
        {1, 33, 2, true, 1, 2, 16, 40 + 8 + 16},
        {2, 10, 1, true, 1, 2, 4, 40 + 8 + 4}, // stored as 1 bit, rows sized for 2
        {8, 3, 2, true, 8, 256, 8, 40 + 1024 + 8},
        {24, 3, 2, true, 24, 0, 24, 40 + 24},
        {16, 3, 1, true, 16, 0, 8, 40 + 8},
        {32, 2, 2, true, 32, 0, 16, 40 + 16},
        {12, 10, 3, false, 0, 0, 0, 0},
        {0, 10, 3, false, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        ILTDib dib;
        ASSERT_EQ(dib.Allocate(nullptr, c.width, c.bits, c.height), c.ok);
        if (!c.ok) {
            EXPECT_TRUE(dib.Empty());
            continue;
        }
        EXPECT_EQ(dib.Dib().size(), c.blockSize);
        EXPECT_EQ(dib.BitCount(), c.storedBits);
        EXPECT_EQ(dib.ColorCount(), c.colors);
        EXPECT_EQ(dib.HeaderSize(), 40 + 4 * c.colors);
        EXPECT_EQ(dib.TotalSize(), 40 + 4 * c.colors + c.rows);
        // 75 dots per inch, as every block we make states.
        EXPECT_EQ(quint8(dib.Dib()[24]) | quint8(dib.Dib()[25]) << 8, kPelsPerMeter);
    }
}

TEST(Dib, MeasuresFollowTheHeader)
{
    ILTDib empty;
    EXPECT_EQ(empty.BitCount(), 0);
    EXPECT_EQ(empty.ColorCount(), 0);
    EXPECT_EQ(empty.TotalSize(), 0);

    // biClrUsed 0 means every colour of the depth; 24 bits have none; a stated count wins.
    EXPECT_EQ(ILTDib(header(2, 2, 8)).ColorCount(), 256);
    EXPECT_EQ(ILTDib(header(2, 2, 24)).ColorCount(), 0);
    EXPECT_EQ(ILTDib(header(2, 2, 8, BI_RGB, 5)).ColorCount(), 5);
    EXPECT_EQ(ILTDib(header(2, 2, 8, BI_RGB, 5)).HeaderSize(), 60);

    // A zero image size is computed from the rows and written into the header.
    ILTDib dib(header(10, 3, 4, BI_RGB, 16) + QByteArray(64 + 24, '\0'));
    EXPECT_EQ(dib.TotalSize(), 40 + 64 + 24);
    EXPECT_EQ(quint8(dib.Dib()[20]), 24);

    // A header of the largest sizes measures without overflow.
    ILTDib huge(header(0x7FFFFFFF, -0x7FFFFFFF, 32));
    EXPECT_EQ(huge.TotalSize(), 40 + qint64(0xFFFFFFFF));

    const QList<QRgb> palette = {qRgb(10, 20, 30), qRgb(200, 100, 50)};
    ILTDib colored;
    ASSERT_TRUE(colored.Allocate(&palette, 8, 1, 1));
    EXPECT_EQ(colored.Palette(), palette);
}

TEST(Dib, PicturesGoToBlocksAndBackAtEveryDepth)
{
    const QImage source = quarters();
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        const QByteArray block = imageToDib(source, bits);
        ASSERT_TRUE(checkDib(block));
        EXPECT_EQ(ILTDib(block).BitCount(), bits);
        int read = 0;
        const QImage back = dibToImage(block, &read);
        EXPECT_EQ(read, bits);
        ASSERT_EQ(back.size(), source.size());
        if (bits == 1) {
            // Red and blue are dark, white light (green is on the threshold).
            EXPECT_LT(qGray(back.pixel(5, 5)), 128);
            EXPECT_LT(qGray(back.pixel(5, 25)), 128);
            EXPECT_GT(qGray(back.pixel(35, 25)), 128);
        } else {
            EXPECT_TRUE(hasQuarters(back, 0));
        }
    }
    // 16- and 32-bit pictures come back as 24-bit blocks.
    for (QImage::Format format : {QImage::Format_RGB16, QImage::Format_ARGB32}) {
        const QByteArray block = imageToDib(source.convertToFormat(format), 32);
        EXPECT_EQ(ILTDib(block).BitCount(), 24);
        EXPECT_TRUE(hasQuarters(dibToImage(block), 0));
    }
}

TEST(Dib, RowsAreStoredBottomUpInBlueGreenRed)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(1, 2, 3));   // top left
    image.setPixel(0, 1, qRgb(4, 5, 6));   // bottom left
    const QByteArray block = imageToDib(image, 24);
    ASSERT_EQ(block.size(), 40 + 2 * 12);
    EXPECT_EQ(block.mid(40, 3), QByteArray("\x06\x05\x04", 3)); // first stored row: the bottom
    EXPECT_EQ(block.mid(52, 3), QByteArray("\x03\x02\x01", 3));
}

TEST(Dib, ReadsDeepAndTopDownBlocks)
{
    // 16 bits, 5-5-5, one pixel of pure red; 32 bits with bit fields for green; a top-down
    // 8-bit block whose first stored row is the top one.
    QByteArray b16 = header(1, 1, 16) + QByteArray("\x00\x7C\x00\x00", 4);
    EXPECT_EQ(dibToImage(b16).pixel(0, 0), qRgb(255, 0, 0));

    QByteArray b32 = header(1, 1, 32, BI_BITFIELDS);
    b32 += QByteArray("\x00\x00\xFF\x00" "\x00\xFF\x00\x00" "\xFF\x00\x00\x00", 12);
    b32 += QByteArray("\x00\xFF\x00\x00", 4);
    EXPECT_EQ(dibToImage(b32).pixel(0, 0), qRgb(0, 255, 0));

    QByteArray top = header(1, -2, 8, BI_RGB, 2) + table({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    top += QByteArray("\x01\0\0\0" "\x00\0\0\0", 8);
    const QImage image = dibToImage(top);
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 0));
}

TEST(Dib, DecodesRunLengthBlocks)
{
    const QByteArray colors = table({qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)});
    // RLE8, 4 x 2: bottom row 3 x index 1 then one literal pixel 2; top row delta... end.
    QByteArray rle8 = header(4, 2, 8, BI_RLE8, 3) + colors;
    rle8 += QByteArray("\x03\x01" "\x00\x03\x02\x02\x02\x00" "\x00\x00" "\x04\x02" "\x00\x01", 14);
    int bits = 0;
    QImage image = dibToImage(rle8, &bits);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(bits, 8);
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(2, 1), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(3, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 255));

    // RLE4: a run alternates its two nibbles.
    QByteArray rle4 = header(4, 1, 4, BI_RLE4, 3) + colors;
    rle4 += QByteArray("\x04\x12" "\x00\x01", 4);
    image = dibToImage(rle4);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(1, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(2, 0), qRgb(255, 0, 0));

    // A literal run that goes past the block's end is damage, not a short picture.
    QByteArray cut = header(4, 1, 8, BI_RLE8, 3) + colors + QByteArray("\x00\x05\x01\x01", 4);
    EXPECT_TRUE(dibToImage(cut).isNull());
}

TEST(Dib, RefusesBlocksWhoseHeaderDoesNotMatchTheirSize)
{
    const QByteArray rows4x2x8(8, '\0');
    const struct {
        const char* what;
        QByteArray block;
    } cases[] = {
        {"shorter than a header", QByteArray(10, '\0')},
        {"header size beyond the block", [] { QByteArray b = header(1, 1, 24) + QByteArray(4, 0); put32(b, 0, 5000); return b; }()},
        {"header size below 40", [] { QByteArray b = header(1, 1, 24) + QByteArray(4, 0); put32(b, 0, 12); return b; }()},
        {"zero width", header(0, 1, 24) + QByteArray(4, '\0')},
        {"negative width", header(-4, 1, 24) + QByteArray(4, '\0')},
        {"zero height", header(1, 0, 24) + QByteArray(4, '\0')},
        {"no depth", header(1, 1, 12) + QByteArray(4, '\0')},
        {"1000 colours at 8 bits", header(4, 2, 8, BI_RGB, 1000) + QByteArray(4000, '\0') + rows4x2x8},
        {"colour table past the end", header(4, 2, 8) + QByteArray(100, '\0')},
        {"rows past the end", header(4, 2, 8, BI_RGB, 2) + QByteArray(8, '\0') + QByteArray(7, '\0')},
        {"huge height and tiny block", header(4, 30000, 24) + QByteArray(64, '\0')},
        {"run-length at 24 bits", header(4, 2, 24, BI_RLE8) + QByteArray(32, '\0')},
        {"top-down run-length", header(4, -2, 8, BI_RLE8, 2) + QByteArray(16, '\0')},
        {"unknown compression", header(4, 2, 8, 7, 2) + QByteArray(16, '\0')},
        {"bit fields without masks", header(1, 1, 32, BI_BITFIELDS) + QByteArray(4, '\0')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QString why;
        EXPECT_FALSE(checkDib(c.block, &why));
        EXPECT_FALSE(why.isEmpty());
        EXPECT_TRUE(dibToImage(c.block).isNull());
        Bitmap target{QImage(1, 1, QImage::Format_RGB32), 24};
        EXPECT_FALSE(ImgDibToBitmap(c.block, 24, false, nullptr, target));
        EXPECT_EQ(target.image.size(), QSize(1, 1)); // left as it was
    }
}

TEST(Dib, BmpFilesWrapTheBlock)
{
    const QByteArray block = imageToDib(quarters(), 8);
    const QByteArray file = bmpFileOf(block);
    EXPECT_TRUE(file.startsWith("BM"));
    EXPECT_EQ(file.size(), 14 + block.size());
    EXPECT_EQ(quint8(file[10]) | quint8(file[11]) << 8, 14 + 40 + 1024);
    EXPECT_EQ(dibOfBmpFile(file), block);

    // A gap between the colour table and the pixels, as the file header's offset states it.
    QByteArray gapped = file.left(14 + 40 + 1024) + QByteArray(6, 'x') + file.mid(14 + 40 + 1024);
    put32(gapped, 10, 14 + 40 + 1024 + 6);
    EXPECT_EQ(dibOfBmpFile(gapped), block);
    EXPECT_TRUE(dibOfBmpFile(file.left(60)).isEmpty());
}

TEST(Dib, ClipboardCarriesTheBlockAsBmp)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QByteArray block = imageToDib(quarters(), 4);
    ImgCopyDibToClipboard(block);
    ASSERT_TRUE(clipboard->mimeData()->hasFormat("image/bmp"));
    EXPECT_EQ(dibOfBmpFile(clipboard->mimeData()->data("image/bmp")), block);
    EXPECT_EQ(ImgDibFromClipboard(), block);

    // A damaged bitmap on the clipboard is not pasted.
    auto* data = new QMimeData;
    data->setData("image/bmp", bmpFileOf(header(4, 3000, 24)));
    clipboard->setMimeData(data);
    EXPECT_TRUE(ImgDibFromClipboard().isEmpty());
    clipboard->clear();
}
