// The sheet print loop on PDF printers: where each label lands, which cells print and with which
// number, copies, cut lines, and a job that fails half-way.
#include "SheetPrintSupport.h"

#include "platform/PdfPrinter.h"
#include "station/SheetDrawing.h"
#include "platform/Rounding.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

using namespace sheettest;
using testsupport::darkPixels;
using station::PrintSheetPage;

TEST(SheetPrint, LabelsLandInTheirCellsLessTheOffsetNumberedRowsFirst)
{
    SheetFixture f;
    for (const platform::TPoint offset : {platform::TPoint{0, 0}, platform::TPoint{100, 120}}) {
        const QString pdf = f.dir.filePath(QStringLiteral("sheet%1.pdf").arg(offset.X));
        OffsetPdfPrinter printer(pdf);
        printer.Offset = offset;
        const station::TSheetPrintResult result = PrintSheetPage(f.page, f.folders, printer, f.options);
        EXPECT_EQ(result.Labels, 3);
        // The unreadable design is named once; the missing one stays silent.
        EXPECT_EQ(result.Unreadable, QStringList{"broken (1, 3)"});
        const QList<Word> words = wordsOf(pdf);
        const QPointF shift(-offset.X * 72.0 / 300, -offset.Y * 72.0 / 300);
        const struct {
            const char* word;
            int c, r;
        } labels[] = {{"N1", 1, 1}, {"N2", 3, 2}, {"N3", 2, 4}};
        for (const auto& l : labels) {
            const QRectF cell = cellPoints(l.c, l.r).translated(shift).adjusted(-HalfMmPoints, -HalfMmPoints,
                                                                                HalfMmPoints, HalfMmPoints);
            const QRectF box = SheetFixture::boxOf(words, l.word);
            EXPECT_TRUE(!box.isNull() && cell.contains(box))
                << l.word << " at offset " << offset.X << ": " << box.x() << "," << box.y();
        }
        EXPECT_TRUE(SheetFixture::boxOf(words, "N4").isNull());
        EXPECT_EQ(pageCount(words), 1);
    }
}

TEST(SheetPrint, CopiesGoToTheDriverOrArePagesWithTheSameNumbers)
{
    SheetFixture f;
    f.options.Copies = 3;
    for (const bool driver : {true, false}) {
        const QString pdf = f.dir.filePath(driver ? "driver.pdf" : "loop.pdf");
        OffsetPdfPrinter printer(pdf);
        printer.Driver = driver;
        const station::TSheetPrintResult result = PrintSheetPage(f.page, f.folders, printer, f.options);
        EXPECT_EQ(printer.Copies(), driver ? 3 : 1);
        EXPECT_EQ(result.Pages, driver ? 1 : 3);
        EXPECT_EQ(result.Unreadable.size(), 1) << "each copy lists the same cells once";
        const QList<Word> words = wordsOf(pdf);
        EXPECT_EQ(pageCount(words), driver ? 1 : 3);
        for (int p = 1; p <= pageCount(words); ++p) {
            EXPECT_FALSE(SheetFixture::boxOf(words, "N1", p).isNull()) << p;
            EXPECT_FALSE(SheetFixture::boxOf(words, "N3", p).isNull()) << p;
        }
    }
    // A second print numbers from 1 again.
    OffsetPdfPrinter again(f.dir.filePath("again.pdf"));
    f.options.Copies = 1;
    PrintSheetPage(f.page, f.folders, again, f.options);
    EXPECT_FALSE(SheetFixture::boxOf(wordsOf(f.dir.filePath("again.pdf")), "N1").isNull());
}

TEST(SheetPrint, CutLinesOutlineThePrintedLabelsOnly)
{
    SheetFixture f;
    const int dpi = 150;
    const double k = dpi / 2540.0;
    const design::TCurrentFormat fmt = sheetFormat();
    // Dark pixels on the top edge of a cell, away from its corners.
    auto topEdge = [&](const QImage& img, int c, int r) {
        const int x = platform::R((fmt.MargeGauche + (c - 1) * (fmt.LargeurEtiquette + fmt.EcartHorizontal)) * k);
        const int y = platform::R((fmt.MargeHaut + (r - 1) * (fmt.HauteurEtiquette + fmt.EcartVertical)) * k);
        return darkPixels(img, x + 10, y - 1, x + platform::R(fmt.LargeurEtiquette * k) - 10, y + 1);
    };
    for (const bool cut : {true, false}) {
        f.options.CutLines = cut;
        const QString pdf = f.dir.filePath(cut ? "cut.pdf" : "plain.pdf");
        OffsetPdfPrinter printer(pdf);
        PrintSheetPage(f.page, f.folders, printer, f.options);
        const QImage img = pageImage(pdf, dpi);
        ASSERT_FALSE(img.isNull());
        const int width = platform::R(fmt.LargeurEtiquette * k) - 20;
        if (cut) {
            EXPECT_GT(topEdge(img, 1, 1), width / 4) << "a dotted line along the label's top";
            EXPECT_GT(topEdge(img, 2, 4), width / 4);
        } else {
            EXPECT_EQ(topEdge(img, 1, 1), 0);
        }
        EXPECT_EQ(topEdge(img, 2, 1), 0) << "a missing design gets no cut line";
        EXPECT_EQ(topEdge(img, 1, 3), 0) << "nor does an unreadable one";
        EXPECT_EQ(topEdge(img, 1, 2), 0) << "nor an empty cell";
    }
}

TEST(SheetPrint, BarcodesOfEveryLabelScan)
{
    SheetFixture f;
    const QString pdf = f.dir.filePath("codes.pdf");
    OffsetPdfPrinter printer(pdf);
    PrintSheetPage(f.page, f.folders, printer, f.options);
    EXPECT_EQ(barcodesOf(pdf), (QStringList{"4006381333931", "9780201379624"}));
}

TEST(SheetPrint, ADrawingErrorAbortsTheJobAndRestoresTheCursor)
{
    SheetFixture f;
    f.page.SetCell(3, 5, "badpicture");
    const QString pdf = f.dir.filePath("failed.pdf");
    OffsetPdfPrinter printer(pdf);
    EXPECT_ANY_THROW(PrintSheetPage(f.page, f.folders, printer, f.options));
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(printer.Aborted());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(QFile::exists(pdf));
    // The printer takes the next job.
    f.page.SetCell(3, 5, QString());
    EXPECT_EQ(PrintSheetPage(f.page, f.folders, printer, f.options).Labels, 3);
}

TEST(SheetPrint, PictureOutlinesEveryCellAndDrawsThePrintableLabels)
{
    SheetFixture f;
    const double scale = 281.0 / 33500;
    const QImage img = station::DrawSheetPicture(f.page, f.folders, 21000, 29700, scale, QRectF(), f.options);
    EXPECT_EQ(img.size(), QSize(platform::R(21000 * scale), platform::R(29700 * scale)));
    const station::TSheetGeometry g = station::SheetGeometry(f.page.FormatPage, scale);
    auto inside = [&](int c, int r) {
        const QPoint p = g.CellRect(c, r).topLeft();
        return darkPixels(img, p.x() + 2, p.y() + 2, p.x() + g.W - 3, p.y() + g.H - 3);
    };
    auto edge = [&](int c, int r) {
        const QPoint p = g.CellRect(c, r).topLeft();
        return darkPixels(img, p.x() + 2, p.y(), p.x() + g.W - 3, p.y());
    };
    EXPECT_GT(inside(1, 1), 0);
    EXPECT_GT(inside(3, 2), 0);
    EXPECT_EQ(inside(2, 1), 0) << "missing design";
    EXPECT_EQ(inside(1, 3), 0) << "unreadable design";
    for (int r = 1; r <= 7; ++r)
        EXPECT_GT(edge(3, r), g.W / 2) << r;
    // A page format of no label size outlines nothing to draw in and does not divide by zero.
    f.page.LabelWidthPx = 0;
    EXPECT_FALSE(station::DrawSheetPicture(f.page, f.folders, 21000, 29700, scale, QRectF(), f.options).isNull());
}
