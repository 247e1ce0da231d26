#include "CanvasTestImages.h"
#include "platform/PdfPrinter.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;
using canvastest::darkBox;
using canvastest::whiteImageAt;

namespace {

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString pdfInfo(const QString& file, const QString& key)
{
    const QRegularExpression re("^" + key + ":\\s*(.*)$", QRegularExpression::MultilineOption);
    return re.match(run("pdfinfo", {file})).captured(1).trimmed();
}

void drawSample(TCanvas& canvas)
{
    canvas.Font.SetName("Arial");
    canvas.Font.SetHeight(-60);
    canvas.Font.SetColor(clBlack);
    canvas.Brush.SetStyle(bsClear);
    canvas.TextOut(100, 120, "Identical output");
    canvas.Font.SetName("Times New Roman");
    canvas.Font.SetHeight(-40);
    canvas.Font.SetEscapement(900);
    canvas.TextOut(60, 500, "Turned");
    canvas.Font.SetEscapement(0);
    canvas.Pen.SetWidth(3);
    canvas.Rectangle(700, 300, 1100, 550);
    TRect r = Rect(300, 250, 650, 560);
    canvas.Font.SetHeight(-30);
    canvas.DrawText("Word wrapped text in a box of labels", r, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
}

} // namespace

TEST(PrinterPdf, WritesOnePdfPagePerPageWithItsText)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("three.pdf");
    PdfPrinter printer(file);
    printer.SetTitle("Labels - mailing");
    printer.SetCopies(5);
    EXPECT_FALSE(printer.Printing());
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 1);
    TCanvas& canvas = printer.Canvas();
    EXPECT_TRUE(canvas.IsPrinterCanvas());
    EXPECT_EQ(canvas.GetDeviceCaps(LOGPIXELSX), 300);
    canvas.Font.SetName("Arial");
    canvas.Font.SetSize(20);
    canvas.Font.SetColor(clBlack);
    canvas.TextOut(300, 300, "Sheet one");
    printer.NewPage();
    canvas.TextOut(300, 300, "Sheet two");
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 3);
    EXPECT_EQ(canvas.Font.Size(), 20) << "the canvas keeps its font across pages";
    canvas.TextOut(300, 300, "Sheet three");
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.Copies(), 5);

    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(pdfInfo(file, "Pages"), "3");
    EXPECT_EQ(pdfInfo(file, "Title"), "Labels - mailing");
    EXPECT_TRUE(pdfInfo(file, "Page size").contains("A4")) << pdfInfo(file, "Page size").toStdString();
    const QString text = run("pdftotext", {"-layout", file, "-"});
    const int one = text.indexOf("Sheet one");
    const int two = text.indexOf("Sheet two");
    const int three = text.indexOf("Sheet three");
    EXPECT_GE(one, 0);
    EXPECT_GT(two, one);
    EXPECT_GT(three, two);
    EXPECT_EQ(text.count(QChar('\f')), 3);
}

TEST(PrinterPdf, PageGeometryFollowsSizeResolutionAndOrientation)
{
    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath("size.pdf"));
    EXPECT_EQ(printer.PixelsPerInchX(), 300);
    EXPECT_EQ(printer.PixelsPerInchY(), 300);
    EXPECT_EQ(printer.PrintingOffset(), Point(0, 0));
    // PDF pages are whole points: A4 is 595 x 842 points, 2479.2 x 3508.3 pixels.
    EXPECT_EQ(printer.PageWidth(), 2479);
    EXPECT_EQ(printer.PageHeight(), 3508);
    printer.SetOrientation(poLandscape);
    EXPECT_EQ(printer.PageWidth(), 3508);
    EXPECT_EQ(printer.PageHeight(), 2479);
    printer.SetResolution(600);
    printer.SetPageSizeMM(100, 50); // 283 x 142 points
    printer.SetOrientation(poPortrait);
    EXPECT_EQ(printer.PageWidth(), 2358);
    EXPECT_EQ(printer.PageHeight(), 1183);
    printer.BeginDoc();
    EXPECT_EQ(printer.PageWidth(), 2358) << "the same before and while printing";
    EXPECT_EQ(printer.PageHeight(), 1183);
    EXPECT_EQ(printer.Canvas().GetDeviceCaps(HORZRES), 2358);
    EXPECT_EQ(printer.Canvas().GetDeviceCaps(LOGPIXELSY), 600);
    printer.EndDoc();
    EXPECT_TRUE(pdfInfo(dir.filePath("size.pdf"), "Page size").startsWith("283 x 142"))
        << pdfInfo(dir.filePath("size.pdf"), "Page size").toStdString();
}

TEST(PrinterPdf, RefusesCallsOutOfTurnAndAbortDropsTheDocument)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("aborted.pdf");
    PdfPrinter printer(file);
    EXPECT_THROW(printer.NewPage(), EPrinter);
    EXPECT_THROW(printer.EndDoc(), EPrinter);
    printer.SetCopies(0);
    EXPECT_EQ(printer.Copies(), 1);

    printer.BeginDoc();
    EXPECT_THROW(printer.BeginDoc(), EPrinter);
    EXPECT_THROW(printer.SetOrientation(poLandscape), EPrinter);
    EXPECT_THROW(printer.SetResolution(600), EPrinter);
    EXPECT_EQ(printer.Orientation(), poPortrait);
    printer.Canvas().TextOut(10, 10, "never printed");
    printer.Abort();
    EXPECT_TRUE(printer.Aborted());
    EXPECT_FALSE(printer.Printing());
    EXPECT_FALSE(QFile::exists(file));

    printer.BeginDoc();
    EXPECT_FALSE(printer.Aborted());
    printer.EndDoc();
    EXPECT_TRUE(QFile::exists(file));

    PdfPrinter nowhere(dir.filePath("missing-folder/x.pdf"));
    EXPECT_THROW(nowhere.BeginDoc(), EPrinter);
    EXPECT_FALSE(nowhere.Printing());
}

TEST(PrinterPdf, CanvasBeforeTheDocumentMeasuresAtThePrinterResolution)
{
    QTemporaryDir dir;
    PdfPrinter printer(dir.filePath("measure.pdf"));
    TCanvas& before = printer.Canvas();
    EXPECT_EQ(before.GetDeviceCaps(LOGPIXELSX), 300);
    before.Font.SetName("Arial");
    before.Font.SetSize(10);
    EXPECT_EQ(before.Font.Height(), -42);
    const int width = before.TextWidth("Measured before printing");
    printer.BeginDoc();
    TCanvas& page = printer.Canvas();
    page.Font.SetName("Arial");
    page.Font.SetSize(10);
    EXPECT_EQ(page.TextWidth("Measured before printing"), width);
    printer.EndDoc();
}

// What a PDF shows must be what an image of the same resolution shows: the label renderer fits
// texts by measuring them, and previews are drawn on images.
TEST(PrinterPdf, TextAndShapesLandOnTheSamePixelsAsOnAnImage)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("same.pdf");
    PdfPrinter printer(file);
    printer.SetPageSizeMM(100, 50);
    printer.BeginDoc();
    drawSample(printer.Canvas());
    printer.EndDoc();

    QImage image = whiteImageAt(printer.PageWidth(), printer.PageHeight(), 300);
    {
        TCanvas canvas(&image);
        drawSample(canvas);
    }

    const QString base = dir.filePath("page");
    run("pdftoppm", {"-r", "300", "-gray", "-singlefile", file, base});
    QImage rendered(base + ".pgm");
    ASSERT_FALSE(rendered.isNull());
    ASSERT_LE(std::abs(rendered.width() - image.width()), 1); // the rasteriser rounds up
    ASSERT_LE(std::abs(rendered.height() - image.height()), 1);

    const QRect regions[] = {QRect(90, 100, 600, 100), QRect(20, 250, 100, 300), QRect(280, 240, 390, 330),
                             QRect(690, 290, 420, 270)};
    for (const QRect& region : regions) {
        const TRect a = darkBox(image.copy(region));
        const TRect b = darkBox(rendered.copy(region));
        EXPECT_NEAR(a.Left, b.Left, 1) << region.x() << "," << region.y();
        EXPECT_NEAR(a.Top, b.Top, 1) << region.x() << "," << region.y();
        EXPECT_NEAR(a.Right, b.Right, 1) << region.x() << "," << region.y();
        EXPECT_NEAR(a.Bottom, b.Bottom, 1) << region.x() << "," << region.y();
    }

    // The PDF's own idea of where the words are agrees too (points at 72 per inch).
    const QString bbox = run("pdftotext", {"-bbox", file, "-"});
    const QRegularExpression word("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\"[^>]*>Identical</word>");
    const auto m = word.match(bbox);
    ASSERT_TRUE(m.hasMatch()) << bbox.toStdString();
    EXPECT_NEAR(m.captured(1).toDouble() * 300 / 72, 100, 2);
    TCanvas measure;
    measure.Font.SetName("Arial");
    measure.Font.SetHeight(-60);
    EXPECT_NEAR((m.captured(3).toDouble() - m.captured(1).toDouble()) * 300 / 72, measure.TextWidth("Identical"), 3);
}

// The canvas sends its clip to the PDF writer only when a drawing could cross it; the clip still
// holds for such drawings on every page, and a text that overflows its box is still cut.
TEST(PrinterPdf, ClipsHoldOnEveryPage)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("clips.pdf");
    PdfPrinter printer(file);
    printer.SetPageSizeMM(50.8, 50.8); // 300 x 300 pixels: edges fall between pixels
    printer.SetResolution(150);
    printer.BeginDoc();
    auto page = [&](bool last) {
        TCanvas& canvas = printer.Canvas();
        canvas.Brush.SetColor(clBlack);
        canvas.SetClipRect(Rect(50, 50, 150, 150));
        canvas.FillRect(Rect(60, 60, 70, 70)); // well inside: no clip needed
        canvas.FillRect(Rect(140, 140, 200, 200));
        canvas.Font.SetName("Arial");
        canvas.Font.SetHeight(-20);
        canvas.Brush.SetStyle(bsClear);
        TRect box = Rect(60, 80, 90, 110);
        canvas.DrawText("Overflowing", box, DT_SINGLELINE);
        canvas.RemoveClip();
        canvas.Brush.SetStyle(bsSolid);
        canvas.FillRect(Rect(200, 200, 210, 210));
        if (!last)
            printer.NewPage();
    };
    page(false);
    page(true);
    printer.EndDoc();

    // The rasteriser may darken a pixel beyond a clipped edge.
    const QString base = dir.filePath("page");
    run("pdftoppm", {"-r", "150", "-gray", file, base});
    for (const char* name : {"page-1.pgm", "page-2.pgm"}) {
        const QImage rendered(dir.filePath(name));
        ASSERT_FALSE(rendered.isNull()) << name;
        const TRect fill = darkBox(rendered.copy(130, 130, 40, 40));
        EXPECT_EQ(fill.Left, 10) << name;
        EXPECT_NEAR(fill.Right, 19, 1) << name;
        EXPECT_NEAR(fill.Bottom, 19, 1) << name;
        const TRect text = darkBox(rendered.copy(55, 75, 60, 40));
        EXPECT_GE(text.Left, 5) << name;
        EXPECT_NEAR(text.Right, 34, 1) << name; // up to the box's edge and no further
        EXPECT_EQ(darkBox(rendered.copy(195, 195, 20, 20)), (TRect{5, 5, 14, 14})) << name;
    }
}

// A job's orientation and range hold while it prints and the printer's own come back however it
// ends: sent, dropped, or never started.
TEST(PrinterPdf, AJobsSettingsHoldForItAloneHoweverItEnds)
{
    QTemporaryDir dir;
    enum End { Sent, Dropped, NotStarted };
    const struct {
        const char* name;
        End end;
        TPrinterOrientation own;
        TPrintJob job;
    } cases[] = {
        {"landscape job sent", Sent, poPortrait, {poLandscape, prSelection}},
        {"portrait job dropped", Dropped, poLandscape, {poPortrait, prSelection}},
        {"job of the printer's orientation", Sent, poLandscape, {std::nullopt, prAllPages}},
        {"job that cannot start", NotStarted, poPortrait, {poLandscape, prSelection}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QStringLiteral("%1.pdf").arg(c.name));
        PdfPrinter printer(c.end == NotStarted ? dir.filePath("no/such/folder/x.pdf") : file);
        printer.SetOrientation(c.own);
        if (c.end == NotStarted) {
            EXPECT_THROW(printer.BeginDoc(c.job), EPrinter);
        } else {
            printer.BeginDoc(c.job);
            const TPrinterOrientation jobs = c.job.Orientation.value_or(c.own);
            EXPECT_EQ(printer.Orientation(), jobs);
            EXPECT_EQ(printer.Range(), c.job.Range);
            EXPECT_EQ(printer.PageWidth() > printer.PageHeight(), jobs == poLandscape);
            printer.Canvas().TextOut(100, 100, "Job");
            if (c.end == Sent)
                printer.EndDoc();
            else
                printer.Abort();
        }
        EXPECT_EQ(printer.Orientation(), c.own);
        EXPECT_EQ(printer.Range(), prAllPages);
        EXPECT_EQ(printer.PageWidth() > printer.PageHeight(), c.own == poLandscape);
        if (c.end == Sent) {
            const QStringList size = pdfInfo(file, "Page size").split(' ');
            ASSERT_GE(size.size(), 3);
            EXPECT_EQ(size[0].toDouble() > size[2].toDouble(), c.job.Orientation.value_or(c.own) == poLandscape);
        }
    }
}
