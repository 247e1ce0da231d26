// A merged label checked from the outside: printed to PDF, its texts are read back with
// pdftotext -bbox and its barcode is decoded with zbarimg, as a reader and a scanner would.
#include "RendererTestSupport.h"

#include "barcode/Barcode.h"
#include "platform/PdfPrinter.h"
#include "platform/Rounding.h"

#include <QFile>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace design;
using barcode::EAN_13;
using barcode::rotate_000;
using barcode::SC2;

namespace {

struct Word {
    QString text;
    QRectF box; // points
};

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return QStringLiteral("<%1 did not run>").arg(program);
    return QString::fromUtf8(p.readAllStandardOutput());
}

QList<Word> wordsOf(const QString& pdf, const QString& html)
{
    run("pdftotext", {"-bbox", pdf, html});
    QFile f(html);
    f.open(QIODevice::ReadOnly);
    const QString text = QString::fromUtf8(f.readAll());
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Word> words;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
        const double x1 = m.captured(3).toDouble(), y1 = m.captured(4).toDouble();
        QString t = m.captured(5);
        t.replace("&lt;", "<").replace("&gt;", ">").replace("&amp;", "&");
        words.append({t, QRectF(QPointF(x0, y0), QPointF(x1, y1))});
    }
    return words;
}

// The device box of an object at 300 dpi, in points, grown by half a point for rounding.
QRectF pointsBox(const platform::TRect& device)
{
    const double k = 72.0 / 300.0;
    return QRectF(QPointF(device.Left * k, device.Top * k), QPointF(device.Right * k, device.Bottom * k))
        .adjusted(-0.5, -0.5, 0.5, 0.5);
}

class RenderedPdf : public ::testing::Test {
protected:
    void SetUp() override
    {
        f.model.LargeurEtiquettePx = 380;
        f.model.HauteurEtiquettePx = 150;
        name = f.model.AddLabel(0, 0, true, {}, platform::clBlack, 12, "Arial", -16, platform::clWhite,
                                "<FirstName> <SURNAME>", taLeftJustify, 0, 0, false);
        name->SetBounds(10, 10, 180, 24);
        town = f.model.AddLabel(0, 0, false, {}, platform::clBlack, 12, "Arial", -16, platform::clWhite,
                                "<Town>", taCenter, 0, 0, false);
        town->SetBounds(10, 40, 180, 24);
        block = f.model.AddMemo(0, 0, bsSingle, {}, platform::clBlack, 10, "Arial", -13, platform::clWhite,
                                {"Ref <Autonum>", "Printed <Date1>"}, taLeftJustify, 0, 0, false);
        block->SetBounds(10, 70, 180, 60);
        bar = f.model.AddBarcode(200, 10, 100, "Arial", true, false, "", rotate_000, EAN_13, "<Code>", 100, SC2,
                                 false);
        ASSERT_NE(bar, nullptr);
        // The postcode column holds the article number that the barcode prints.
        f.grid.SetCell(5, 1, "4006381333931");
    }

    // Prints label 3 of a run for record 1, the label's corner at (origin) device pixels.
    QString print(bool wysiwyg)
    {
        const QString pdf = dir.filePath(wysiwyg ? "wysiwyg.pdf" : "printer.pdf");
        platform::PdfPrinter printer(pdf);
        printer.BeginDoc();
        f.inputs.Printer = printer.Canvas().IsPrinterCanvas();
        f.inputs.Wysiwyg = wysiwyg;
        f.draw(printer.Canvas(), {-origin, -origin}, scale, scale, true, 1, 3);
        printer.EndDoc();
        return pdf;
    }

    platform::TRect deviceBox(const TDesignObject& o) const
    {
        const int l = R(scale * o.Left) + origin, t = R(scale * o.Top) + origin;
        return {l, t, l + R(scale * o.Width), t + R(scale * o.Height)};
    }

    QString decode(const QString& pdf)
    {
        const QString png = dir.filePath("page");
        run("pdftoppm", {"-r", "300", "-png", "-singlefile", pdf, png});
        return run("zbarimg", {"--raw", "-q", png + ".png"}).trimmed();
    }

    QTemporaryDir dir;
    RenderFixture f;
    TLabel* name = nullptr;
    TLabel* town = nullptr;
    TMemo* block = nullptr;
    TBarcodeObject* bar = nullptr;
    const double scale = 300.0 / 96.0;
    const int origin = 150;
};

} // namespace

TEST_F(RenderedPdf, TextsLieInTheirBoxes)
{
    const QString pdf = print(false);
    const QList<Word> words = wordsOf(pdf, dir.filePath("words.html"));
    ASSERT_FALSE(words.isEmpty()) << "pdftotext found no words";
    auto boxOf = [&](const QString& text) {
        for (const Word& w : words)
            if (w.text == text)
                return w.box;
        return QRectF();
    };
    const QRectF nameBox = pointsBox(deviceBox(*name));
    EXPECT_TRUE(nameBox.contains(boxOf("Jean")));
    EXPECT_TRUE(nameBox.contains(boxOf("Dupont")));
    const QRectF townBox = pointsBox(deviceBox(*town));
    EXPECT_TRUE(townBox.contains(boxOf("Paris")));
    // Centred: as much room on the left of the line as on the right.
    const QRectF line = boxOf("Paris");
    EXPECT_NEAR(line.left() - townBox.left(), townBox.right() - line.right(), 2.0);
    // The block's lines: "<Autonum>" is the print-order number 3 + 10 - 1, the date the stamp's.
    const QRectF blockBox = pointsBox(deviceBox(*block));
    EXPECT_TRUE(blockBox.contains(boxOf("Ref")));
    EXPECT_TRUE(blockBox.contains(boxOf("12")));
    EXPECT_TRUE(blockBox.contains(boxOf("01/02/2024")));
    EXPECT_LT(boxOf("12").bottom(), boxOf("01/02/2024").top() + 1);
    for (const Word& w : words)
        EXPECT_FALSE(w.text.contains('<')) << w.text.toStdString();
    // The barcode's digits stand under it, right of the texts.
    EXPECT_GT(boxOf("006381").left(), nameBox.right());
}

TEST_F(RenderedPdf, BarcodeDecodesToTheMergedValue)
{
    EXPECT_EQ(decode(print(false)), "4006381333931");
    EXPECT_EQ(decode(print(true)), "4006381333931");
    EXPECT_EQ(bar->Barcode().Bar_Caption(), "<Code>");
}

TEST_F(RenderedPdf, NextRecordPrintsItsOwnValues)
{
    f.grid.SetCell(5, 1, "9780201379624");
    f.grid.SetCell(6, 1, "Lyon");
    const QString pdf = print(false);
    EXPECT_EQ(decode(pdf), "9780201379624");
    bool lyon = false;
    for (const Word& w : wordsOf(pdf, dir.filePath("next.html")))
        lyon = lyon || w.text == "Lyon";
    EXPECT_TRUE(lyon);
}

// A picture from a lossless file reaches the PDF with its own pixels, edges and flat colours
// intact (a drawing or a logo); a photo from a JPEG file may go in as JPEG again.
TEST(RenderedPdfPictures, LosslessFilesPrintLosslesslyAndPhotosMayStayJpeg)
{
    QTemporaryDir dir;
    // Sharp edges and single-pixel lines in many colours: what a JPEG encoder visibly alters.
    QImage drawing(96, 64, QImage::Format_RGB32);
    drawing.fill(Qt::white);
    for (int y = 0; y < drawing.height(); ++y)
        for (int x = 0; x < drawing.width(); ++x)
            if ((x / 8 + y / 8) % 2 == 0)
                drawing.setPixel(x, y, qRgb(x * 255 / 95, 40, y * 255 / 63));
            else if (x % 5 == 0)
                drawing.setPixel(x, y, qRgb(0, 0, 0));
    const struct {
        const char* file;
        bool lossless;
    } cases[] = {{"drawing.png", true}, {"drawing.bmp", true}, {"drawing.tif", true}, {"photo.jpg", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString picture = dir.filePath(c.file);
        ASSERT_TRUE(drawing.save(picture));
        RenderFixture f;
        f.model.LargeurEtiquettePx = 200;
        f.model.HauteurEtiquettePx = 150;
        ASSERT_NE(f.model.AddImage(10, 10, 0, false, "<Code>", true, false, false, 64, 96, false, true), nullptr);
        f.grid.SetCell(5, 1, picture);
        const QString pdf = dir.filePath(QStringLiteral("%1.pdf").arg(c.file));
        platform::PdfPrinter printer(pdf);
        printer.BeginDoc();
        f.inputs.Printer = true;
        f.draw(printer.Canvas(), {-100, -100}, 300.0 / 96.0, 300.0 / 96.0, false, 1, 1);
        printer.EndDoc();

        // "page num type width height color comp bpc enc ...", one line per image.
        const QStringList list = run("pdfimages", {"-list", pdf}).split('\n', Qt::SkipEmptyParts).mid(2);
        ASSERT_EQ(list.size(), 1) << run("pdfimages", {"-list", pdf}).toStdString();
        const QStringList columns = list[0].simplified().split(' ');
        ASSERT_GE(columns.size(), 9);
        EXPECT_EQ(columns[8] == "jpeg", !c.lossless) << list[0].toStdString();
        if (!c.lossless)
            continue;
        const QString stem = dir.filePath(QStringLiteral("%1-image").arg(c.file));
        run("pdfimages", {"-png", pdf, stem});
        const QImage sent = QImage(stem + "-000.png").convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(sent.size(), drawing.size());
        int differing = 0;
        for (int y = 0; y < sent.height(); ++y)
            for (int x = 0; x < sent.width(); ++x)
                differing += sent.pixel(x, y) != drawing.pixel(x, y);
        EXPECT_EQ(differing, 0);
    }
}
