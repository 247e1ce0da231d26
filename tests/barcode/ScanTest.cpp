#include "barcode/BarLL.h"

#include "TestSupport.h"
#include "platform/TCanvas.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

// Every symbol a scanner reads is rendered the way a printer would get it and read back with
// zbarimg, an independent decoder: the patterns, check characters and geometry must all be right
// for it to answer.

using namespace barcode;
using namespace platform;

namespace {

struct ScanCase {
    btCodeTypes type;
    QByteArray caption;
    QByteArray addon;
    QString expected; // zbarimg's "TYPE:data" lines, joined by '|'
};

// Renders at 300 dpi with a quiet zone of ten modules all around (the symbol's own margins
// aside), on a white image.
QImage render(TLLBarcode& bar, int dpi)
{
    TCanvas measure;
    measure.SetLogPixels(dpi, dpi);
    const TBarcodeGeometry g = bar.Layout(measure);
    const bool quarter = bar.Params.Rotation == rotate_090 || bar.Params.Rotation == rotate_270;
    const int w = quarter ? g.Height : g.Width;
    const int h = quarter ? g.Width : g.Height;
    const int quiet = dpi / 4;
    QImage image = testsupport::whiteImage(w + 2 * quiet, h + 2 * quiet);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    TCanvas canvas(&image);
    int dw = 0;
    int dh = 0;
    bar.Draw(canvas, quiet, quiet, dw, dh);
    EXPECT_EQ(dw, w);
    EXPECT_EQ(dh, h);
    return image.convertToFormat(QImage::Format_Grayscale8);
}

QStringList scan(const QString& file)
{
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"),
               {QStringLiteral("--quiet"), QStringLiteral("-Sean2.enable"), QStringLiteral("-Sean5.enable"),
                QStringLiteral("-Supca.enable"), QStringLiteral("-Supce.enable"),
                QStringLiteral("-Scodabar.enable"), QStringLiteral("-Si25.enable"),
                QStringLiteral("-Scode39.enable"), QStringLiteral("-Scode128.enable"), file});
    zbar.waitForFinished(30000);
    QStringList lines = QString::fromLatin1(zbar.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

} // namespace

TEST(BarcodeScan, DecodableSymbologiesReadBack)
{
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty())
        GTEST_SKIP() << "zbarimg is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QList<ScanCase> cases = {
        {EAN_8, "9638507", {}, "EAN-8:96385074"},
        {EAN_13, "590123412345", {}, "EAN-13:5901234123457"},
        {EAN_13, "978020137962", "12", "EAN-13:9780201379624|EAN-2:12"},
        {EAN_13, "400638133393", "52495", "EAN-13:4006381333931|EAN-5:52495"},
        {UPC_A, "03600029145", {}, "UPC-A:036000291452"},
        {UPC_E, "425261", {}, "UPC-E:04252614"},
        {CODE39, "code-39 $/+%.", {}, "CODE-39:CODE-39 $/+%."},
        {CODE25i, "1234567", {}, "I2/5:12345670"},
        {CODE25iP, "1234567890123", {}, "I2/5:12345678901236"},
        {CODE128_A, "PRAVOLIS", {}, "CODE-128:PRAVOLIS"},
        {CODE128_B, "Labels & cards", {}, "CODE-128:Labels & cards"},
        {CODE128_C, "0123456789", {}, "CODE-128:0123456789"},
        {Codabar, "A40156B", {}, "Codabar:A40156B"},
    };
    for (const ScanCase& c : cases) {
        for (btCodeSizes size : {SC0, SC2, SC6, SC9}) {
            for (btCodeRotate rotation : {rotate_000, rotate_090, rotate_180, rotate_270}) {
                TLLBarcode bar;
                bar.Params.CodeType = c.type;
                bar.Params.Caption = c.caption;
                bar.Params.Addon = c.addon;
                bar.Params.ModuleWidth = size;
                bar.Params.Rotation = rotation;
                const QString file = dir.filePath(QStringLiteral("scan-%1-%2-%3.png").arg(c.type).arg(size).arg(rotation));
                ASSERT_TRUE(render(bar, 300).save(file));
                EXPECT_EQ(scan(file).join(u'|').toStdString(), c.expected.toStdString())
                    << "type " << int(c.type) << " size " << int(size) << " rotation " << int(rotation);
            }
        }
    }
}

TEST(BarcodeScan, RatiosDensityZoomAndFineLinesStillRead)
{
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty())
        GTEST_SKIP() << "zbarimg is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Variant {
        btCodeTypes type;
        QByteArray caption;
        std::function<void(TBarcodeParams&)> set;
        QString expected;
    };
    const QList<Variant> variants = {
        {CODE39, "RATIO 2", [](TBarcodeParams& p) { p.Ratio = Ratio_2; }, "CODE-39:RATIO 2"},
        {CODE25i, "24680", [](TBarcodeParams& p) { p.Ratio = Ratio_2; }, "I2/5:246804"},
        {Codabar, "C31415D", [](TBarcodeParams& p) { p.Ratio = Ratio_2; }, "Codabar:C31415D"},
        {EAN_13, "400638133393", [](TBarcodeParams& p) { p.ZoomSize = true; }, "EAN-13:4006381333931"},
        {CODE128_B, "zoom", [](TBarcodeParams& p) { p.ZoomSize = true; p.ModuleWidth = SC5; }, "CODE-128:zoom"},
        {EAN_8, "5512345", [](TBarcodeParams& p) { p.WidthReduce = true; p.ModuleWidth = SC4; }, "EAN-8:55123457"},
        {CODE128_C, "31415926", [](TBarcodeParams& p) { p.HighDensity = true; p.ModuleWidth = SC9; }, "CODE-128:31415926"},
        {UPC_A, "12345678901", [](TBarcodeParams& p) { p.HeightPercent = 40; p.HumanReadable = false; }, "UPC-A:123456789012"},
    };
    int index = 0;
    for (const Variant& v : variants) {
        TLLBarcode bar;
        bar.Params.CodeType = v.type;
        bar.Params.Caption = v.caption;
        v.set(bar.Params);
        const QString file = dir.filePath(QStringLiteral("variant-%1.png").arg(index++));
        ASSERT_TRUE(render(bar, 300).save(file));
        EXPECT_EQ(scan(file).join(u'|').toStdString(), v.expected.toStdString()) << v.caption.constData();
    }
}

// A set-C digit left without its partner when the text switches to set A or B is read where it
// was typed, right before the characters of the new set. (A start symbol inside the text is no
// valid symbol for a scanner; the encoder test covers that switch.)
TEST(BarcodeScan, Code128OddDigitBeforeASwitchReadsInPlace)
{
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty())
        GTEST_SKIP() << "zbarimg is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const char codeC = '\x83', codeB = '\x84', codeA = '\x85';
    const QList<ScanCase> cases = {
        {CODE128_C, QByteArray("123") + codeB + "a", {}, "CODE-128:123a"},
        {CODE128_C, QByteArray("123") + codeA + "A", {}, "CODE-128:123A"},
        {CODE128_C, QByteArray("9") + codeA + "Q" + codeC + "12", {}, "CODE-128:9Q12"},
        {CODE128_B, QByteArray("AB") + codeC + "12345" + codeB + "z", {}, "CODE-128:AB12345z"},
        {CODE128_A, QByteArray("N") + codeC + "1" + codeB + "x" + codeC + "234" + codeA + "Z", {}, "CODE-128:N1x234Z"},
    };
    int index = 0;
    for (const ScanCase& c : cases) {
        TLLBarcode bar;
        bar.Params.CodeType = c.type;
        bar.Params.Caption = c.caption;
        const QString file = dir.filePath(QStringLiteral("pending-%1.png").arg(index++));
        ASSERT_TRUE(render(bar, 300).save(file));
        EXPECT_EQ(scan(file).join(u'|').toStdString(), c.expected.toStdString()) << c.expected.toStdString();
        EXPECT_EQ(bar.HumanReadableText(), c.expected.mid(9).toLatin1()) << c.expected.toStdString();
    }
}
