// Every picture format read from files that other programs made: Qt's writers, libtiff and
// dxflib here, and the committed files of tests/data/imaging made by ImageMagick and netpbm
// (quads: red, green / blue, white quarters; the EPS is netpbm's, drawn here by Ghostscript). Pixels and depths are checked, and cut or
// lying files of every format give an error, never a picture.
#include "ImagingTestSupport.h"
#include "TiffWriter.h"

#include "imaging/Binding.h"
#include "imaging/EpsFile.h"
#include "imaging/PcdReader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <dxflib/dl_dxf.h>
#include <tiffio.h>

using namespace imaging;
using imagingtest::BindingFixture;
using imagingtest::fixture;
using imagingtest::hasQuarters;

namespace {

QImage quarters(int w = 40, int h = 30)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, y < h / 2 ? (x < w / 2 ? qRgb(255, 0, 0) : qRgb(0, 255, 0))
                                           : (x < w / 2 ? qRgb(0, 0, 255) : qRgb(255, 255, 255)));
    return image;
}

// A TIFF of several pages written by libtiff, each in its own compression: RGB pages for the
// colour compressions, a 1-bit page for the fax ones.
void writeTiff(const QString& path, const QList<std::pair<QImage, int>>& pages)
{
    QList<tifftest::Page> described;
    for (const auto& [image, compression] : pages) {
        tifftest::Page page;
        page.width = image.width();
        page.height = image.height();
        page.compression = uint16_t(compression);
        if (compression == COMPRESSION_CCITTFAX4) {
            const QImage mono = image.convertToFormat(QImage::Format_Mono);
            page.samples = 1;
            page.bits = 1;
            page.photometric = PHOTOMETRIC_MINISWHITE; // 1 is black
            page.pixel = [mono](int x, int y, uint8_t* into) {
                into[0] = mono.pixel(x, y) == qRgb(255, 255, 255) ? 0 : 1;
            };
        } else {
            page.pixel = [colours = image](int x, int y, uint8_t* into) {
                const QRgb p = colours.pixel(x, y);
                into[0] = uint8_t(qRed(p));
                into[1] = uint8_t(qGreen(p));
                into[2] = uint8_t(qBlue(p));
            };
        }
        described += page;
    }
    tifftest::writeTiff(path, described);
}

// A drawing written by dxflib: a 100 x 50 frame of lines and a red circle inside it.
void writeDxf(const QString& path)
{
    DL_Dxf dxf;
    DL_WriterA* dw = dxf.out(QFile::encodeName(path).constData(), DL_Codes::AC1015);
    ASSERT_NE(dw, nullptr);
    dxf.writeHeader(*dw);
    dw->sectionEnd();
    dw->sectionEntities();
    const DL_Attributes black("0", 7, -1, "CONTINUOUS", 1.0);
    const double corners[5][2] = {{0, 0}, {100, 0}, {100, 50}, {0, 50}, {0, 0}};
    for (int i = 0; i < 4; ++i)
        dxf.writeLine(*dw, DL_LineData(corners[i][0], corners[i][1], 0, corners[i + 1][0],
                                       corners[i + 1][1], 0),
                      black);
    dxf.writeCircle(*dw, DL_CircleData(25, 25, 0, 10), DL_Attributes("0", 1, -1, "CONTINUOUS", 1.0));
    dw->sectionEnd();
    dw->dxfEOF();
    dw->close();
    delete dw;
}

class Readers : public BindingFixture {
protected:
    void SetUp() override
    {
        BindingFixture::SetUp();
        ASSERT_TRUE(dir.isValid());
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    QString saved(const QImage& image, const QString& name, int quality = -1)
    {
        const QString p = path(name);
        EXPECT_TRUE(image.save(p, nullptr, quality));
        return p;
    }
    QTemporaryDir dir;
};

using Reader = bool (*)(const QString&, int, bool, ProgressContext*, Bitmap&);

bool readTiff0(const QString& n, int b, bool d, ProgressContext* c, Bitmap& m)
{
    return ImgReadTiffBitmap(n, b, d, 0, c, m);
}
bool readPcdBase(const QString& n, int b, bool d, ProgressContext* c, Bitmap& m)
{
    return ImgReadPcdBitmap(n, b, d, pcd_BASE, c, m);
}
bool readDxf(const QString& n, int b, bool d, ProgressContext* c, Bitmap& m)
{
    return ImgReadDxf(n, b, d, m, c);
}

} // namespace

TEST_F(Readers, EachFormatGivesItsPixelsAndItsOwnDepth)
{
    const QImage q = quarters();
    QImage mono = q.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    writeTiff(path("pages.tif"), {{q, COMPRESSION_NONE}});
    const struct {
        QString file;
        Reader read;
        int bits;        // the depth of the picture read at 0 (its own)
        int tolerance;   // -1: check black and white only
    } cases[] = {
        {saved(mono, "mono.bmp"), ImgReadBmpBitmap, 1, -1},
        {fixture("quads4.bmp"), ImgReadBmpBitmap, 4, 0},
        // Qt writes an indexed picture of 16 colours or fewer as a 4-bit file.
        {saved(q.convertToFormat(QImage::Format_Indexed8), "q4.bmp"), ImgReadBmpBitmap, 4, 0},
        {fixture("quads-rle8.bmp"), ImgReadBmpBitmap, 8, 0},
        {saved(q.convertToFormat(QImage::Format_RGB888), "q24.bmp"), ImgReadBmpBitmap, 24, 0},
        {saved(q.convertToFormat(QImage::Format_ARGB32), "q32.bmp"), ImgReadBmpBitmap, 24, 0},
        {fixture("quads.png"), ImgReadPngBitmap, 4, 0},
        {saved(q, "q.png"), ImgReadPngBitmap, 24, 0},
        {fixture("quads.gif"), ImgReadGifBitmap, 4, 0},
        {fixture("mono.gif"), ImgReadGifBitmap, 1, -1},
        {saved(q, "q.jpg", 95), ImgReadJpegBitmap, 24, 40},
        {fixture("quads.tga"), ImgReadTgaBitmap, 8, 0},
        {fixture("quads-rle.tga"), ImgReadTgaBitmap, 8, 0},
        {fixture("quads24.tga"), ImgReadTgaBitmap, 24, 0},
        {fixture("quads-rle24.tga"), ImgReadTgaBitmap, 24, 0},
        {fixture("grey.tga"), ImgReadTgaBitmap, 8, -1},
        {path("pages.tif"), readTiff0, 24, 0},
        {fixture("mono.pcx"), ImgReadPcxBitmap, 1, -1},
        {fixture("planes2.pcx"), ImgReadPcxBitmap, 4, 0},
        {fixture("packed2.pcx"), ImgReadPcxBitmap, 4, 0},
        {fixture("palette8.pcx"), ImgReadPcxBitmap, 8, 0},
        {fixture("rgb24.pcx"), ImgReadPcxBitmap, 24, 0},
        {fixture("quads.pcd"), readPcdBase, 24, 48},
        {fixture("quads.eps"), ImgReadEpsBitmap, 24, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        Bitmap bitmap;
        ASSERT_TRUE(c.read(c.file, 0, false, nullptr, bitmap)) << qPrintable(binding().ImgLastErrorText);
        EXPECT_EQ(bitmap.bits, c.bits);
        if (c.tolerance >= 0) {
            EXPECT_TRUE(hasQuarters(bitmap.image, c.tolerance));
        } else {
            // Red and blue are dark, white light (green lies on the threshold).
            EXPECT_LT(qGray(bitmap.image.pixel(5, 5)), 128);
            EXPECT_LT(qGray(bitmap.image.pixel(5, 25)), 128);
            EXPECT_GT(qGray(bitmap.image.pixel(35, 25)), 128);
        }
        // At an asked depth the picture comes at that depth.
        Bitmap deep;
        ASSERT_TRUE(c.read(c.file, 24, false, nullptr, deep));
        EXPECT_EQ(deep.bits, 24);
        EXPECT_EQ(deep.image.size(), bitmap.image.size());
        Bitmap flat;
        ASSERT_TRUE(c.read(c.file, 1, false, nullptr, flat));
        EXPECT_EQ(flat.bits, 1);
        EXPECT_EQ(flat.image.format(), QImage::Format_Mono);
    }
}

TEST_F(Readers, FileInformationStatesTheHeaderDepth)
{
    writeTiff(path("pages.tif"), {{quarters(), COMPRESSION_NONE}});
    const QImage q = quarters();
    const struct {
        QString file;
        const char* format;
        int width, height, bits;
    } cases[] = {
        {fixture("quads4.bmp"), "BMP", 40, 30, 4},
        {saved(q.convertToFormat(QImage::Format_Mono), "m.bmp"), "BMP", 40, 30, 1},
        {fixture("quads.png"), "PNG", 40, 30, 4},
        {fixture("quads.gif"), "GIF", 40, 30, 3},
        {fixture("mono.gif"), "GIF", 40, 30, 1},
        {saved(q, "q.jpg"), "JPEG", 40, 30, 24},
        {saved(q.convertToFormat(QImage::Format_Grayscale8), "g.jpg"), "JPEG", 40, 30, 8},
        {fixture("quads.tga"), "TGA", 40, 30, 8},
        {fixture("quads24.tga"), "TGA", 40, 30, 24},
        {path("pages.tif"), "TIF", 40, 30, 24},
        {fixture("mono.pcx"), "PCX", 40, 30, 1},
        {fixture("planes4.pcx"), "PCX", 36, 6, 4},
        {fixture("rgb24.pcx"), "PCX", 40, 30, 24},
        {fixture("quads.pcd"), "PCD", 768, 512, 24},
        {fixture("portrait.pcd"), "PCD", 512, 768, 24},
        {fixture("quads.eps"), "EPS", 83, 63, 24}, // 40 x 30 points at 150 dots per inch
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        ImageFileInfo info;
        ASSERT_TRUE(ImgFileInfo(c.file, info)) << qPrintable(binding().ImgLastErrorText);
        EXPECT_EQ(info.format, QLatin1String(c.format));
        EXPECT_EQ(info.width, c.width);
        EXPECT_EQ(info.height, c.height);
        EXPECT_EQ(info.bits, c.bits);
    }
    // A top-down BMP of the most negative height is measured without overflow.
    QByteArray tall = testsupport::readBytes(fixture("quads4.bmp"));
    tall.replace(22, 4, QByteArray("\x00\x00\x00\x80", 4));
    testsupport::writeBytes(path("tall.bmp"), tall);
    ImageFileInfo tallInfo;
    ASSERT_TRUE(ImgFileInfo(path("tall.bmp"), tallInfo));
    EXPECT_EQ(tallInfo.height, 0x7FFFFFFF);
    Bitmap none;
    EXPECT_FALSE(ImgReadBmpBitmap(path("tall.bmp"), 0, false, nullptr, none));

    // The content decides, not the name: a PNG named .dat is a PNG.
    QFile::copy(fixture("quads.png"), path("picture.dat"));
    ImageFileInfo info;
    ASSERT_TRUE(ImgFileInfo(path("picture.dat"), info));
    EXPECT_EQ(info.format, QStringLiteral("PNG"));
}

TEST_F(Readers, PcxPlanesGiveTheirColours)
{
    // Nine stripes of four pixels in the VGA colours, in four one-bit planes.
    Bitmap bitmap;
    ASSERT_TRUE(ImgReadPcxBitmap(fixture("planes4.pcx"), 0, false, nullptr, bitmap));
    EXPECT_EQ(bitmap.bits, 4);
    const QRgb stripes[] = {qRgb(0, 0, 0),     qRgb(128, 0, 0),   qRgb(0, 128, 0),
                            qRgb(128, 128, 0), qRgb(0, 0, 128),   qRgb(128, 0, 128),
                            qRgb(0, 128, 128), qRgb(192, 192, 192), qRgb(255, 0, 0)};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(bitmap.image.pixel(4 * i + 2, 3), stripes[i]) << i;
}

TEST_F(Readers, TiffPagesAndTheirCompression)
{
    const QString file = path("pages.tif");
    writeTiff(file, {{quarters(40, 30), COMPRESSION_NONE},
                     {quarters(20, 10), COMPRESSION_LZW},
                     {quarters(16, 8), COMPRESSION_PACKBITS},
                     {quarters(32, 16), COMPRESSION_CCITTFAX4}});
    const struct {
        int width, height, bits;
        const char* compression;
    } pages[] = {{40, 30, 24, "NONE"}, {20, 10, 24, "LZW"}, {16, 8, 24, "PACKBITS"},
                 {32, 16, 1, "FAXCCITT4"}};
    for (int page = 0; page < 4; ++page) {
        SCOPED_TRACE(page);
        TiffPageInfo info;
        ASSERT_TRUE(ImgTiffInfo(file, page, info));
        EXPECT_EQ(info.pages, 4);
        EXPECT_EQ(info.width, pages[page].width);
        EXPECT_EQ(info.bits, pages[page].bits);
        EXPECT_EQ(ImgTiffCompressionName(info.compression), QLatin1String(pages[page].compression));
        Bitmap bitmap;
        ASSERT_TRUE(ImgReadTiffBitmap(file, 0, false, page, nullptr, bitmap));
        EXPECT_EQ(bitmap.image.size(), QSize(pages[page].width, pages[page].height));
        EXPECT_EQ(bitmap.bits, pages[page].bits);
        if (pages[page].bits == 24)
            EXPECT_TRUE(hasQuarters(bitmap.image, 0));
        else
            EXPECT_LT(qGray(bitmap.image.pixel(2, 2)), 128); // red is black in one bit
    }
    TiffPageInfo info;
    EXPECT_FALSE(ImgTiffInfo(file, 4, info));
    Bitmap none;
    EXPECT_FALSE(ImgReadTiffBitmap(file, 0, false, 4, nullptr, none));
    EXPECT_EQ(binding().ImgLastErrorCode, errDamaged);
}

TEST_F(Readers, PhotoCdGivesItsThreeBaseResolutionsTurnedUpright)
{
    const struct {
        int mode;
        QSize landscape;
    } modes[] = {{pcd_BASE16, {192, 128}}, {pcd_BASE4, {384, 256}}, {pcd_BASE, {768, 512}}};
    for (const auto& m : modes) {
        SCOPED_TRACE(m.mode);
        Bitmap bitmap;
        ASSERT_TRUE(ImgReadPcdBitmap(fixture("quads.pcd"), 24, false, m.mode, nullptr, bitmap));
        EXPECT_EQ(bitmap.image.size(), m.landscape);
        // Pure red and blue lie outside Photo YCC's range: the file's encoder clipped them.
        EXPECT_TRUE(hasQuarters(bitmap.image, 48));
        // The portrait pack is stored lying: it comes back standing, the quads turned with it
        // (blue, red / white, green).
        ASSERT_TRUE(ImgReadPcdBitmap(fixture("portrait.pcd"), 24, false, m.mode, nullptr, bitmap));
        EXPECT_EQ(bitmap.image.size(), m.landscape.transposed());
        const QImage& p = bitmap.image;
        const int w = p.width(), h = p.height();
        EXPECT_TRUE(imagingtest::near(p.pixel(w / 4, h / 4), qRgb(0, 0, 255), 48));
        EXPECT_TRUE(imagingtest::near(p.pixel(3 * w / 4, h / 4), qRgb(255, 0, 0), 48));
        EXPECT_TRUE(imagingtest::near(p.pixel(w / 4, 3 * h / 4), qRgb(255, 255, 255), 48));
        EXPECT_TRUE(imagingtest::near(p.pixel(3 * w / 4, 3 * h / 4), qRgb(0, 255, 0), 48));
    }
}

TEST_F(Readers, EpsInADosBinaryHeaderIsDrawnToo)
{
    const QByteArray ps = testsupport::readBytes(fixture("quads.eps"));
    QByteArray dos(30, '\0');
    const quint32 fields[] = {0xC6D3D0C5, 30, quint32(ps.size()), 0, 0, 0, 0};
    for (int i = 0; i < 7; ++i)
        for (int b = 0; b < 4; ++b)
            dos[4 * i + b] = char(fields[i] >> (8 * b));
    dos[28] = dos[29] = char(0xFF);
    testsupport::writeBytes(path("dos.eps"), dos + ps);
    Bitmap bitmap;
    ASSERT_TRUE(ImgReadEpsBitmap(path("dos.eps"), 24, false, nullptr, bitmap))
        << qPrintable(binding().ImgLastErrorText);
    EXPECT_EQ(bitmap.image.size(), QSize(83, 63));
    EXPECT_TRUE(hasQuarters(bitmap.image, 8));
}

TEST_F(Readers, EpsThatNeverEndsIsStoppedAtTheTimeLimit)
{
    setEpsTimeLimit(500);
    testsupport::writeBytes(path("loop.eps"),
                            "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n{ } loop\n");
    Bitmap bitmap;
    EXPECT_FALSE(ImgReadEpsBitmap(path("loop.eps"), 24, false, nullptr, bitmap));
    setEpsTimeLimit(30000);
    EXPECT_EQ(binding().ImgLastErrorCode, errDamaged);
    EXPECT_TRUE(binding().ImgLastErrorText.contains(QStringLiteral("did not end")))
        << qPrintable(binding().ImgLastErrorText);
}

TEST_F(Readers, DxfDrawingsAreDrawnInTheirColours)
{
    writeDxf(path("frame.dxf"));
    qint32 width = 0, height = 0;
    qint16 bits = 0;
    ASSERT_TRUE(ImgDxfInfo(path("frame.dxf"), width, height, bits));
    // One pixel per unit, a margin of two around, y upwards.
    EXPECT_EQ(width, 105);
    EXPECT_EQ(height, 55);
    Bitmap bitmap;
    ASSERT_TRUE(ImgReadDxf(path("frame.dxf"), 24, false, bitmap)) << qPrintable(binding().ImgLastErrorText);
    const QImage& image = bitmap.image;
    ASSERT_EQ(image.size(), QSize(width, height));
    EXPECT_LT(qGray(image.pixel(52, 2)), 100);                   // the top line
    EXPECT_LT(qGray(image.pixel(2, 27)), 100);                   // the left line
    EXPECT_EQ(image.pixel(70, 27), qRgb(255, 255, 255));         // inside
    EXPECT_GT(qRed(image.pixel(37, 27)), 150);                   // the circle's right edge
    EXPECT_LT(qGreen(image.pixel(37, 27)), 120);
    ImageFileInfo info;
    ASSERT_TRUE(ImgFileInfo(path("frame.dxf"), info));
    EXPECT_EQ(info.format, QStringLiteral("DXF"));
}

TEST_F(Readers, CutAndLyingFilesOfEveryFormatAreErrors)
{
    const QImage q = quarters(64, 64);
    writeTiff(path("good.tif"), {{q, COMPRESSION_LZW}});
    writeDxf(path("good.dxf"));
    auto cut = [](const QString& source, double keep) {
        QByteArray b = testsupport::readBytes(source);
        return b.left(qMax<qsizetype>(30, qsizetype(b.size() * keep)));
    };
    auto patched = [](const QString& source, int at, const QByteArray& bytes) {
        QByteArray b = testsupport::readBytes(source);
        b.replace(at, bytes.size(), bytes);
        return b;
    };
    const QString bmp = saved(q.convertToFormat(QImage::Format_RGB888), "good.bmp");
    const QString png = saved(q, "good.png");
    const QString jpg = saved(q, "good.jpg");
    const struct {
        const char* what;
        QByteArray bytes;
        Reader read;
    } cases[] = {
        {"cut BMP", cut(bmp, 0.6), ImgReadBmpBitmap},
        {"BMP taller than its rows", patched(bmp, 22, QByteArray("\x30\x75\0\0", 4)), ImgReadBmpBitmap},
        {"cut PNG", cut(png, 0.6), ImgReadPngBitmap},
        {"PNG header garbled", patched(png, 16, QByteArray(8, '\xFF')), ImgReadPngBitmap},
        {"cut GIF", cut(fixture("quads.gif"), 0.6), ImgReadGifBitmap},
        {"cut JPEG", cut(jpg, 0.6), ImgReadJpegBitmap},
        {"JPEG frame garbled", patched(jpg, 2, QByteArray(40, '\x01')), ImgReadJpegBitmap},
        {"cut TGA", cut(fixture("quads24.tga"), 0.6), ImgReadTgaBitmap},
        {"TGA wider than its pixels", patched(fixture("quads24.tga"), 12, QByteArray("\x30\x75", 2)), ImgReadTgaBitmap},
        {"cut TIFF", cut(path("good.tif"), 0.5), readTiff0},
        {"TIFF directory beyond the end", patched(path("good.tif"), 4, QByteArray("\xFF\xFF\xFF\x0F", 4)), readTiff0},
        {"cut PCX", cut(fixture("rgb24.pcx"), 0.6), ImgReadPcxBitmap},
        {"PCX lines too short", patched(fixture("rgb24.pcx"), 66, QByteArray("\x01\x00", 2)), ImgReadPcxBitmap},
        {"cut PCD", cut(fixture("quads.pcd"), 0.6), readPcdBase},
        {"PCD without its signature", patched(fixture("quads.pcd"), 0x800, "XXXXXXX"), readPcdBase},
        {"EPS without a bounding box", "%!PS-Adobe-3.0 EPSF-3.0\n0 0 moveto 10 10 lineto stroke\n", ImgReadEpsBitmap},
        {"EPS with a PostScript error", "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\nnosuchoperator\n", ImgReadEpsBitmap},
        {"DXF with nothing to draw", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n", readDxf},
        {"DXF cut in its entities", cut(path("good.dxf"), 0.95), readDxf},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString file = path(QStringLiteral("hostile"));
        testsupport::writeBytes(file, c.bytes);
        binding().ImgLastErrorCode = 0;
        binding().ImgLastErrorText.clear();
        Bitmap bitmap;
        EXPECT_FALSE(c.read(file, 24, false, nullptr, bitmap));
        EXPECT_FALSE(bitmap.HasHandle());
        EXPECT_NE(binding().ImgLastErrorCode, 0);
        EXPECT_FALSE(binding().ImgLastErrorText.isEmpty());
    }
}

TEST_F(Readers, PathsLongerThanFiveHundredElevenCharactersAreUsedWhole)
{
    // A path whose first 511 characters name another file: the full one must be read.
    QString folder = dir.path();
    while (folder.size() < 560)
        folder += QStringLiteral("/") + QString(60, QLatin1Char('d'));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString file = folder + QStringLiteral("/picture.png");
    ASSERT_GT(file.size(), 511);
    ASSERT_TRUE(quarters().save(file));
    Bitmap bitmap;
    ASSERT_TRUE(ImgReadPngBitmap(file, 24, false, nullptr, bitmap));
    EXPECT_TRUE(hasQuarters(bitmap.image, 0));
    const QString written = folder + QStringLiteral("/written.bmp");
    EXPECT_TRUE(ImgWriteBmpBitmap(written, 8, bitmap));
    EXPECT_TRUE(QFile::exists(written));
}

namespace {

// A one-row RGBA TIFF written by libtiff, its alpha stated as unassociated (straight) or
// associated (colours already multiplied by it, as such files store them).
void writeAlphaTiff(const QString& path, const QList<QRgb>& row, bool associated)
{
    tifftest::Page page;
    page.width = int(row.size());
    page.samples = 4;
    page.extraSample = associated ? EXTRASAMPLE_ASSOCALPHA : EXTRASAMPLE_UNASSALPHA;
    page.pixel = [row, associated](int x, int, uint8_t* into) {
        const QRgb c = row[x];
        const int a = qAlpha(c);
        auto stored = [&](int v) { return uint8_t(associated ? (v * a + 127) / 255 : v); };
        into[0] = stored(qRed(c));
        into[1] = stored(qGreen(c));
        into[2] = stored(qBlue(c));
        into[3] = uint8_t(a);
    };
    tifftest::writeTiff(path, {page});
}

// A PNG of one row whose colours are a palette with see-through entries.
QString writePalettePng(const QString& path, const QList<QRgb>& table)
{
    QImage image(int(table.size()), 1, QImage::Format_Indexed8);
    image.setColorTable(table);
    for (int x = 0; x < image.width(); ++x)
        image.setPixel(x, 0, uint(x));
    EXPECT_TRUE(image.save(path, "png"));
    return path;
}

// What a colour of the given alpha shows on white.
QRgb overWhite(QRgb c)
{
    const int a = qAlpha(c);
    auto blend = [a](int v) { return (v * a + 255 * (255 - a) + 127) / 255; };
    return qRgb(blend(qRed(c)), blend(qGreen(c)), blend(qBlue(c)));
}

} // namespace

TEST_F(Readers, SeeThroughPixelsShowWhiteBehindThemOnceInEveryKindOfPicture)
{
    const QList<QRgb> row = {qRgba(78, 141, 192, 175), qRgba(200, 30, 30, 255),
                             qRgba(0, 0, 0, 0), qRgba(0, 0, 255, 128)};
    writeAlphaTiff(path("straight.tif"), row, false);
    writeAlphaTiff(path("multiplied.tif"), row, true);
    const QString palette = writePalettePng(path("palette.png"), row);
    const struct {
        QString file;
        Reader read;
        int bits;
        int tolerance;
    } cases[] = {
        {path("straight.tif"), readTiff0, 0, 1},
        {path("straight.tif"), readTiff0, 24, 1},
        {path("multiplied.tif"), readTiff0, 0, 2},
        {palette, ImgReadPngBitmap, 0, 1},
        {palette, ImgReadPngBitmap, 8, 1},
        {palette, ImgReadPngBitmap, 4, 1},
        {palette, ImgReadPngBitmap, 24, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString() + " at " + std::to_string(c.bits));
        Bitmap bitmap;
        ASSERT_TRUE(c.read(c.file, c.bits, false, nullptr, bitmap)) << qPrintable(binding().ImgLastErrorText);
        for (int x = 0; x < int(row.size()); ++x)
            EXPECT_TRUE(imagingtest::near(bitmap.image.pixel(x, 0), overWhite(row[x]), c.tolerance))
                << "pixel " << x << " is " << qPrintable(QColor(bitmap.image.pixel(x, 0)).name())
                << ", expected " << qPrintable(QColor(overWhite(row[x])).name());
    }
    // In black and white the see-through pixel is white, the red one black.
    Bitmap mono;
    ASSERT_TRUE(ImgReadPngBitmap(palette, 1, false, nullptr, mono));
    EXPECT_EQ(mono.image.pixel(2, 0), qRgb(255, 255, 255));
    EXPECT_EQ(mono.image.pixel(1, 0), qRgb(0, 0, 0));
}

TEST_F(Readers, TiffPagesOfEveryLayoutReadAsStored)
{
    // Pages big enough to be read in several bands, in the layouts that go through libtiff's RGBA
    // reader: every pixel lands where it belongs, flattened onto white.
    constexpr int W = 2048, H = 1100;
    auto stored = [](int x, int y) {
        return qRgba(y % 256, (y / 256) * 40 + x % 7, x % 256, (x + y) % 3 == 0 ? 128 : 255);
    };
    const struct {
        const char* what;
        int samples;
        uint32_t rowsPerStrip; // 0: tiles of 16 x 16
        uint16_t orientation;
    } cases[] = {
        {"strips of one row, alpha", 4, 1, ORIENTATION_TOPLEFT},
        {"strips of 7 rows, alpha", 4, 7, ORIENTATION_TOPLEFT},
        {"one strip, alpha", 4, H, ORIENTATION_TOPLEFT},
        {"tiles, alpha", 4, 0, ORIENTATION_TOPLEFT},
        {"tiles, no alpha", 3, 0, ORIENTATION_TOPLEFT},
        {"bottom row first, alpha", 4, 1, ORIENTATION_BOTLEFT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString file = path("layout.tif");
        tifftest::Page page;
        page.width = W;
        page.height = H;
        page.samples = c.samples;
        page.orientation = c.orientation;
        page.compression = COMPRESSION_ADOBE_DEFLATE;
        page.rowsPerStrip = c.rowsPerStrip;
        page.tileSide = c.rowsPerStrip == 0 ? 16 : 0;
        page.pixel = [&](int x, int y, uint8_t* into) {
            const QRgb p = stored(x, y);
            into[0] = uint8_t(qRed(p));
            into[1] = uint8_t(qGreen(p));
            into[2] = uint8_t(qBlue(p));
            if (c.samples == 4)
                into[3] = uint8_t(qAlpha(p));
        };
        tifftest::writeTiff(file, {page});

        Bitmap bitmap;
        ASSERT_TRUE(readTiff0(file, 24, false, nullptr, bitmap)) << qPrintable(binding().ImgLastErrorText);
        ASSERT_EQ(bitmap.image.size(), QSize(W, H));
        int wrong = 0;
        QString first;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const int fileRow = c.orientation == ORIENTATION_BOTLEFT ? H - 1 - y : y;
                const QRgb want = c.samples == 4 ? overWhite(stored(x, fileRow)) : (stored(x, fileRow) | 0xFF000000u);
                if (!imagingtest::near(bitmap.image.pixel(x, y), want, 1) && wrong++ == 0)
                    first = QStringLiteral("(%1, %2) is %3, expected %4")
                                .arg(x).arg(y).arg(QColor(bitmap.image.pixel(x, y)).name(), QColor(want).name());
        }
        EXPECT_EQ(wrong, 0) << qPrintable(first);
    }
}

TEST_F(Readers, SixteenBitBmpChannelsReachTheirFullRange)
{
    // One row of 16-bit pixels under each channel layout: its masks (none for the plain 5-5-5
    // layout), the pixels and what they read as.
    const struct {
        const char* what;
        QList<quint32> masks;
        QList<quint16> pixels;
        QList<QRgb> expected;
    } cases[] = {
        {"5-6-5", {0xF800, 0x07E0, 0x001F}, {0xFFFF, 0xF800, 0x07E0, 0x8410},
         {qRgb(255, 255, 255), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(131, 129, 131)}},
        {"5-5-5 stated", {0x7C00, 0x03E0, 0x001F}, {0x7FFF, 0x001F}, {qRgb(255, 255, 255), qRgb(0, 0, 255)}},
        {"5-5-5 plain", {}, {0x7FFF, 0x03E0}, {qRgb(255, 255, 255), qRgb(0, 255, 0)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int width = int(c.pixels.size());
        const int stride = (width * 2 + 3) / 4 * 4;
        const int pixelsAt = 14 + 40 + 4 * int(c.masks.size());
        QByteArray file(pixelsAt + stride, '\0');
        auto put = [&](int at, quint32 v, int size) {
            for (int i = 0; i < size; ++i)
                file[at + i] = char(v >> (8 * i));
        };
        file[0] = 'B';
        file[1] = 'M';
        put(2, quint32(file.size()), 4);
        put(10, quint32(pixelsAt), 4);
        put(14, 40, 4);
        put(18, quint32(width), 4);
        put(22, 1, 4);
        put(26, 1, 2);
        put(28, 16, 2);
        put(30, c.masks.isEmpty() ? 0 : 3, 4); // plain or bit fields
        for (int i = 0; i < int(c.masks.size()); ++i)
            put(54 + 4 * i, c.masks[i], 4);
        for (int x = 0; x < width; ++x)
            put(pixelsAt + 2 * x, c.pixels[x], 2);
        testsupport::writeBytes(path("sixteen.bmp"), file);
        Bitmap bitmap;
        ASSERT_TRUE(ImgReadBmpBitmap(path("sixteen.bmp"), 24, false, nullptr, bitmap))
            << qPrintable(binding().ImgLastErrorText);
        for (int x = 0; x < width; ++x)
            EXPECT_EQ(QColor(bitmap.image.pixel(x, 0)).name().toStdString(),
                      QColor(c.expected[x]).name().toStdString()) << x;
    }
}

TEST_F(Readers, EpsFileInformationStatesTheSizeOfThePictureDrawn)
{
    // The finer box counts where the file has one.
    const struct {
        const char* boxes;
        QSize size; // at 150 dots per inch
    } cases[] = {
        {"%%BoundingBox: 0 0 135 211\n", {281, 440}},
        {"%%BoundingBox: 0 0 135 211\n%%HiResBoundingBox: 0.4 0.3 134.5 210.2\n", {279, 437}},
        {"%%HiResBoundingBox: 10.2 20.7 50.9 61.1\n%%BoundingBox: 10 20 51 62\n", {85, 84}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boxes);
        testsupport::writeBytes(path("boxed.eps"),
                                QByteArray("%!PS-Adobe-3.0 EPSF-3.0\n") + c.boxes
                                    + "%%EndComments\n0 0 1 setrgbcolor 0 0 moveto 200 0 lineto "
                                      "200 300 lineto 0 300 lineto fill\n");
        ImageFileInfo info;
        ASSERT_TRUE(ImgFileInfo(path("boxed.eps"), info)) << qPrintable(binding().ImgLastErrorText);
        Bitmap bitmap;
        ASSERT_TRUE(ImgReadEpsBitmap(path("boxed.eps"), 24, false, nullptr, bitmap))
            << qPrintable(binding().ImgLastErrorText);
        EXPECT_EQ(QSize(info.width, info.height), c.size);
        EXPECT_EQ(bitmap.image.size(), c.size);
    }
}

namespace {

// A DXF drawing of the given entities, written as group code and value lines.
QByteArray dxfOf(const QByteArray& entities)
{
    return "0\nSECTION\n2\nENTITIES\n" + entities + "0\nENDSEC\n0\nEOF\n";
}

QByteArray dxfLine(double x1, double y1, double x2, double y2, int color)
{
    return QStringLiteral("0\nLINE\n8\n0\n62\n%5\n10\n%1\n20\n%2\n11\n%3\n21\n%4\n")
        .arg(x1).arg(y1).arg(x2).arg(y2).arg(color).toLatin1();
}

} // namespace

TEST_F(Readers, EachDxfEntityKeepsItsOwnColour)
{
    // Three horizontal strokes, bottom to top in the drawing: an old-style polyline ended by a
    // sequence end of another colour, a lightweight polyline followed by a line of a third.
    const QByteArray entities =
        "0\nPOLYLINE\n8\n0\n62\n6\n66\n1\n70\n0\n"
        "0\nVERTEX\n8\n0\n10\n0\n20\n0\n"
        "0\nVERTEX\n8\n0\n10\n100\n20\n0\n"
        "0\nSEQEND\n8\n0\n"
        "0\nLWPOLYLINE\n8\n0\n62\n5\n90\n2\n70\n0\n10\n0\n20\n20\n10\n100\n20\n20\n"
        + dxfLine(0, 40, 100, 40, 3);
    testsupport::writeBytes(path("colours.dxf"), dxfOf(entities));
    Bitmap bitmap;
    ASSERT_TRUE(ImgReadDxf(path("colours.dxf"), 24, false, bitmap)) << qPrintable(binding().ImgLastErrorText);
    const QImage& image = bitmap.image;
    ASSERT_EQ(image.size(), QSize(105, 45));
    const struct {
        int drawingY;
        QRgb color;
    } strokes[] = {{0, qRgb(255, 0, 255)}, {20, qRgb(0, 0, 255)}, {40, qRgb(0, 255, 0)}};
    for (const auto& s : strokes) {
        const QRgb got = image.pixel(50, image.height() - 3 - s.drawingY);
        EXPECT_TRUE(imagingtest::near(got, s.color, 100))
            << "stroke at " << s.drawingY << " is " << qPrintable(QColor(got).name());
    }
}

TEST_F(Readers, DxfLinesOfAnyLengthAreRead)
{
    // dxflib cannot read a line of 1024 bytes or more: such lines must not reach it. The
    // drawing is still read, whatever the file is named.
    const struct {
        const char* what;
        QByteArray drawing;
    } cases[] = {
        {"long comment", dxfOf("999\n" + QByteArray(5000, 'c') + "\n" + dxfLine(0, 0, 100, 50, 1))},
        {"long layer name", dxfOf("0\nLINE\n8\n" + QByteArray(1024, 'L') + "\n10\n0\n20\n0\n11\n100\n21\n50\n")},
        {"carriage returns", dxfOf("999\r\n" + QByteArray(1100, 'c') + "\r\n" + dxfLine(0, 0, 100, 50, 1))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::writeBytes(path("long.txt"), c.drawing);
        ImageFileInfo info;
        ASSERT_TRUE(ImgFileInfo(path("long.txt"), info)) << qPrintable(binding().ImgLastErrorText);
        EXPECT_EQ(info.format, QStringLiteral("DXF"));
        EXPECT_EQ(QSize(info.width, info.height), QSize(105, 55));
    }
}

TEST_F(Readers, DxfDrawingsOfAnyExtentGiveAPictureOfBoundedSize)
{
    // The longer side is brought within 64 to 2048 pixels; a drawing too small to measure
    // stays a point.
    const struct {
        const char* what;
        QByteArray entity;
        QSize size;
    } cases[] = {
        {"point", "0\nPOINT\n8\n0\n10\n3\n20\n4\n", {5, 5}},
        {"circle too small to measure", "0\nCIRCLE\n8\n0\n10\n0\n20\n0\n40\n1e-310\n", {6, 6}},
        {"tiny line", dxfLine(0, 0, 1e-8, 5e-9, 7), {69, 37}},
        {"small line", dxfLine(0, 0, 10, 5, 7), {69, 37}},
        {"line", dxfLine(0, 0, 100, 50, 7), {105, 55}},
        {"huge line", dxfLine(-1e9, -1e9, 1e9, 1e9, 7), {2053, 2053}},
        {"line and a point past it", dxfLine(0, 0, 100, 50, 7) + "0\nPOINT\n8\n0\n10\n200\n20\n50\n", {205, 55}},
        {"horizontal and vertical lines apart", dxfLine(0, 0, 100, 0, 7) + dxfLine(0, 50, 0, 100, 7), {105, 105}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        testsupport::writeBytes(path("extent.dxf"), dxfOf(c.entity));
        qint32 width = 0, height = 0;
        qint16 bits = 0;
        ASSERT_TRUE(ImgDxfInfo(path("extent.dxf"), width, height, bits));
        EXPECT_EQ(width, c.size.width());
        EXPECT_EQ(height, c.size.height());
    }
}

TEST_F(Readers, DxfEllipseArcsGoFromStartToEndWithinOneTurn)
{
    // A circle as an ellipse of radius 100 around the origin: the arc's parameters decide how
    // much of it is drawn, whatever their size; the picture is the arc's extent.
    const struct {
        double start, end;
        QSize size;
    } cases[] = {
        {0, 2 * M_PI, {205, 205}},                          // whole
        {0, M_PI / 2, {105, 105}},                          // first quarter
        {0, 1000 * 2 * M_PI + M_PI / 2, {105, 105}},        // the same quarter, many turns later
        {-1000 * 2 * M_PI, -1000 * 2 * M_PI + M_PI, {205, 105}}, // upper half
        {M_PI, 0, {205, 105}},                              // lower half, across the zero
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.start) + " to " + std::to_string(c.end));
        const QByteArray ellipse = QStringLiteral("0\nELLIPSE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n100\n"
                                                  "21\n0\n31\n0\n40\n1.0\n41\n%1\n42\n%2\n")
                                       .arg(c.start, 0, 'g', 17)
                                       .arg(c.end, 0, 'g', 17)
                                       .toLatin1();
        testsupport::writeBytes(path("ellipse.dxf"), dxfOf(ellipse));
        qint32 width = 0, height = 0;
        qint16 bits = 0;
        ASSERT_TRUE(ImgDxfInfo(path("ellipse.dxf"), width, height, bits));
        // A pixel either way for the rounding of the arc's ends.
        EXPECT_NEAR(width, c.size.width(), 1);
        EXPECT_NEAR(height, c.size.height(), 1);
    }
}
