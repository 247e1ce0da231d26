#include "barcode/BarLL.h"

#include "TestSupport.h"
#include "platform/TCanvas.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every entry of every pattern table a scanner can read, read back by zbarimg: a single wrong
// flag in a table makes the symbols holding that character unreadable.

using namespace barcode;
using namespace platform;

namespace {

QString scanOne(TLLBarcode& bar, const QString& file)
{
    const int dpi = 300;
    TCanvas measure;
    measure.SetLogPixels(dpi, dpi);
    const TBarcodeGeometry g = bar.Layout(measure);
    const int quiet = 100;
    QImage image = testsupport::whiteImage(g.Width + 2 * quiet, g.Height + 2 * quiet);
    {
        TCanvas canvas(&image);
        canvas.SetLogPixels(dpi, dpi);
        int w = 0;
        int h = 0;
        bar.Draw(canvas, quiet, quiet, w, h);
    }
    if (!image.convertToFormat(QImage::Format_Grayscale8).save(file))
        return QStringLiteral("not saved");
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"),
               {QStringLiteral("--quiet"), QStringLiteral("--raw"), QStringLiteral("-Sean2.enable"), QStringLiteral("-Sean5.enable"),
                QStringLiteral("-Supce.enable"), QStringLiteral("-Scodabar.enable"), QStringLiteral("-Si25.enable"),
                QStringLiteral("-Si25.min=4"), QStringLiteral("-Scode39.enable"), QStringLiteral("-Scode128.enable"),
                file});
    zbar.waitForFinished(30000);
    QStringList lines = QString::fromLatin1(zbar.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    lines.sort();
    return lines.join(u'|');
}

struct TableCase {
    btCodeTypes type;
    QByteArray caption;
    QByteArray addon;
    QString expected;
};

} // namespace

TEST(BarcodeScan, EveryTableEntryReadsBack)
{
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty())
        GTEST_SKIP() << "zbarimg is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    QList<TableCase> cases = {
        // Code 39: the 43 data characters.
        {CODE39, "0123456789ABCDEFGHIJK", {}, "0123456789ABCDEFGHIJK"},
        {CODE39, "LMNOPQRSTUVWXYZ-. $/+%", {}, "LMNOPQRSTUVWXYZ-. $/+%"},
        // Codabar: every data character and the four start/stop characters in both places.
        {Codabar, "A0123456789B", {}, "A0123456789B"},
        {Codabar, "C-$:/.+D", {}, "C-$:/.+D"},
        {Codabar, "D1234A", {}, "D1234A"},
        {Codabar, "B5678C", {}, "B5678C"},
        // Interleaved 2 of 5: every digit as bars and as spaces.
        {CODE25i, "0123456789", {}, "0123456789"},
        {CODE25i, "1032547698", {}, "1032547698"},
    };
    // Code 128 set B: every printable character; set C: every pair.
    QByteArray printable;
    for (int c = 32; c <= 126; ++c)
        printable.append(static_cast<char>(c));
    for (int start = 0; start < printable.size(); start += 32) {
        const QByteArray part = printable.mid(start, 32);
        cases.append({CODE128_B, part, {}, QString::fromLatin1(part)});
    }
    QByteArray pairs;
    for (int v = 0; v < 100; ++v)
        pairs.append(QByteArray::number(v).rightJustified(2, '0'));
    for (int start = 0; start < pairs.size(); start += 50) {
        const QByteArray part = pairs.mid(start, 50);
        cases.append({CODE128_C, part, {}, QString::fromLatin1(part)});
    }
    // Set A: capitals, digits and punctuation share their values with set B.
    cases.append({CODE128_A, "AZ09 !/?@[]^_", {}, "AZ09 !/?@[]^_"});
    // EAN-13: every first digit (parity pattern) and every digit in the three sets.
    const QByteArray body = "01234567890"; // digits 2 to 12
    for (char first = '0'; first <= '9'; ++first)
        cases.append({EAN_13, first + body, {}, QString()});
    cases.append({EAN_13, "198765432109", {}, QString()});
    // EAN-8 and UPC-A: every digit on both halves.
    cases.append({EAN_8, "0123456", {}, QString()});
    cases.append({EAN_8, "7890123", {}, QString()});
    cases.append({UPC_A, "01234567890", {}, QString()});
    cases.append({UPC_A, "98765432109", {}, QString()});
    // UPC-E: six digits chosen so that the check digits run through 0 to 9.
    for (int n = 0; n < 40; ++n) {
        const QByteArray six = QByteArray::number(123450 + n * 7).right(6);
        cases.append({UPC_E, six, {}, QString()});
    }
    // Two-digit add-ons: the four parity patterns; five-digit add-ons: all ten.
    for (const char* addon : {"00", "01", "02", "03"})
        cases.append({EAN_13, "400638133393", addon, QStringLiteral("%1|4006381333931").arg(QLatin1String(addon))});
    for (int sum = 0; sum < 10; ++sum) {
        const int d5 = (sum * 7) % 10; // 3 x d5 = sum (mod 10) with the other digits 0
        const QByteArray addon = "0000" + QByteArray::number(d5);
        cases.append({EAN_13, "400638133393", addon, QString::fromLatin1(addon) + QStringLiteral("|4006381333931")});
    }

    // The EAN/UPC cases expect the encoder's own data: the scanner must read the same digits, so
    // the parity patterns and check digits agree with the standard.
    QSet<QString> upceChecks;
    int index = 0;
    for (TableCase& c : cases) {
        TLLBarcode bar;
        bar.Params.CodeType = c.type;
        bar.Params.Caption = c.caption;
        bar.Params.Addon = c.addon;
        bar.Params.ModuleWidth = SC2;
        bar.Encode();
        if (c.expected.isEmpty()) {
            if (c.type == UPC_E) {
                // zbar reports UPC-E expanded to its number system and check digit.
                c.expected = QStringLiteral("0") + QString::fromLatin1(bar.Data);
                upceChecks.insert(QString(QChar::fromLatin1(bar.Data.back())));
            } else if (c.type == UPC_A) {
                // Read as the EAN-13 it is a subset of.
                c.expected = QStringLiteral("0") + QString::fromLatin1(bar.Data);
            } else {
                c.expected = QString::fromLatin1(bar.Data);
            }
        }
        const QString file = dir.filePath(QStringLiteral("table-%1.png").arg(index++));
        EXPECT_EQ(scanOne(bar, file).toStdString(), c.expected.toStdString())
            << "type " << int(c.type) << " caption " << c.caption.constData() << " addon " << c.addon.constData();
    }
    EXPECT_EQ(upceChecks.size(), 10);
}
