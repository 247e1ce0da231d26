// Mailings printed to PDF and read back as a reader and a scanner see them: where each record's
// lines land, the design mode's barcodes and counters, the series copies, the preview against the
// print, and jobs that must not begin or must not stay open.
#include "MailingSupport.h"

#include "../station/SheetPrintSupport.h"

#include "addressbook/MailingPrint.h"
#include "platform/PdfPrinter.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <map>

using namespace addressbook;
using mailingtest::fillBook;
using sheettest::HalfMmPoints;
using sheettest::OffsetPdfPrinter;
using sheettest::Word;

namespace {

// Cell (c, r) of a format on the paper, in points.
QRectF cellPoints(const design::TCurrentFormat& f, int c, int r)
{
    const double k = 72.0 / 2540.0;
    const double x = f.MargeGauche + (c - 1) * (f.LargeurEtiquette + f.EcartHorizontal);
    const double y = f.MargeHaut + (r - 1) * (f.HauteurEtiquette + f.EcartVertical);
    return QRectF(x * k, y * k, f.LargeurEtiquette * k, f.HauteurEtiquette * k);
}

QImage pageImage(const QString& pdf, int page, int dpi)
{
    const QString stem = pdf + QStringLiteral(".p%1").arg(page);
    sheettest::run("pdftoppm", {"-r", QString::number(dpi), "-f", QString::number(page), "-l", QString::number(page),
                                "-png", "-singlefile", pdf, stem});
    return QImage(stem + ".png").convertToFormat(QImage::Format_RGB32);
}

// The barcode of each cell, read from the page image cut to that cell: the scanner reports equal
// codes on one image once.
QStringList barcodesInCells(const QString& pdf, int page, const design::TCurrentFormat& f,
                            const QList<QPoint>& cells)
{
    const int dpi = 300;
    const QImage image = pageImage(pdf, page, dpi);
    QStringList codes;
    for (const QPoint& c : cells) {
        const QRectF cell = cellPoints(f, c.x(), c.y());
        const QRect pixels(QPoint(int(cell.left() / 72 * dpi), int(cell.top() / 72 * dpi)),
                           QPoint(int(cell.right() / 72 * dpi), int(cell.bottom() / 72 * dpi)));
        const QString file = pdf + QStringLiteral(".cell.png");
        image.copy(pixels).save(file);
        codes.append(sheettest::run("zbarimg", {"--raw", "-q", file}).trimmed());
    }
    return codes;
}

bool dark(const QImage& image, int x, int y)
{
    return image.valid(x, y) && qGray(image.pixel(x, y)) < 160;
}

// Dark pixels of `a` in the rectangle with no dark pixel of `b` at most a pixel away.
int unmatchedInk(const QImage& a, const QImage& b, const QRect& area)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!dark(a, x, y))
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1 && !near; ++dy)
                for (int dx = -1; dx <= 1 && !near; ++dx)
                    near = dark(b, x + dx, y + dy);
            n += !near;
        }
    return n;
}

struct Placed {
    int page, c, r;
    QString word;
};

// Every expected word stands in its cell (within half a millimetre) and no word of the list stands
// anywhere else.
void expectPlaced(const QList<Word>& words, const design::TCurrentFormat& f, const QList<Placed>& expected,
                  QPointF shift)
{
    std::map<std::pair<int, QString>, int> count;
    for (const Placed& p : expected) {
        ++count[{p.page, p.word}];
        const QRectF cell = cellPoints(f, p.c, p.r).translated(shift).adjusted(-HalfMmPoints, -HalfMmPoints,
                                                                               HalfMmPoints, HalfMmPoints);
        bool found = false;
        for (const Word& w : words)
            found = found || (w.page == p.page && w.text == p.word && cell.contains(w.box));
        EXPECT_TRUE(found) << p.word.toStdString() << " on page " << p.page << " in cell " << p.c << "," << p.r;
    }
    for (const auto& [key, n] : count) {
        int seen = 0;
        for (const Word& w : words)
            seen += w.page == key.first && w.text == key.second;
        EXPECT_EQ(seen, n) << key.second.toStdString() << " on page " << key.first;
    }
}

struct MailingFixture {
    QTemporaryDir dir;
    platform::TStringGrid book;
    TMailingJob job;

    MailingFixture(const design::TCurrentFormat& format, const std::vector<mailingtest::Record>& records,
                   TFirstLabel first = {})
    {
        fillBook(book, records);
        for (int r = 1; r < book.RowCount(); ++r)
            book.SetCell(6, r, "Town" + book.Cell(0, r));
        job.Grid = &book;
        job.Layout = CalculerMiseEnPage(format, SelectionOfMarks(book), 96, first);
        job.Font.SetPixelsPerInch(96);
        job.Font.SetName("Liberation Sans");
        job.Font.SetSize(9);
        job.Title = "Mailing";
    }

    // A design of the format with the surname, the town and the label counter as texts, a frame
    // and a Code 39 barcode of the surname.
    QString saveDesign(const design::TCurrentFormat& format)
    {
        design::TCurrentFormat f = format;
        design::TDesignModel m(f);
        m.LargeurEtiquettePx = 227;
        m.HauteurEtiquettePx = 113;
        const QString surname = design::GetRepertFieldCode(0);
        const QString town = design::GetRepertFieldCode(6);
        m.AddLabel(6, 4, true, {}, platform::clBlack, 9, "Liberation Sans", -12, platform::clWhite, surname,
                   design::taLeftJustify, 16, 100, false);
        m.AddLabel(110, 4, true, {}, platform::clBlack, 9, "Liberation Sans", -12, platform::clWhite, town,
                   design::taLeftJustify, 16, 110, false);
        m.AddLabel(6, 22, true, {}, platform::clBlack, 9, "Liberation Sans", -12, platform::clWhite, "N<Autonum>",
                   design::taLeftJustify, 16, 80, false);
        m.AddShape(2, 2, design::stRectangle, 1, platform::psSolid, platform::clBlack, platform::bsClear,
                   platform::clWhite, 109, 223, false);
        m.AddBarcode(20, 44, 100, "Liberation Sans", false, false, "", barcode::rotate_000, barcode::CODE39, surname,
                     100, barcode::SC2, false);
        const QString path = dir.filePath("design.car");
        design::SaveDesignDocument(m, path);
        return path;
    }
};

} // namespace

TEST(MailingPrint, RecordsLandInTheirCellsOnEverySheetFromTheFirstLabel)
{
    const design::TCurrentFormat f = mailingtest::format(3, 2);
    MailingFixture m(f, {{"Alpha", 2}, {"Skipped", 4, false}, {"Bravo", 1}, {"Charlie", 3}, {"Delta", 1}}, {2, 2});
    ASSERT_EQ(m.job.Layout.NbFeuilles, 2);
    const QList<Placed> expected = {
        {1, 2, 2, "Alpha"}, {1, 3, 2, "Alpha"}, {2, 1, 1, "Bravo"},   {2, 2, 1, "Charlie"},
        {2, 3, 1, "Charlie"}, {2, 1, 2, "Charlie"}, {2, 2, 2, "Delta"},
    };
    for (const platform::TPoint offset : {platform::TPoint{0, 0}, platform::TPoint{100, 120}}) {
        const QString pdf = m.dir.filePath(QStringLiteral("addresses%1.pdf").arg(offset.X));
        OffsetPdfPrinter printer(pdf);
        printer.Offset = offset;
        const TMailingPrintResult result = ImprimerMailing(m.job, printer);
        EXPECT_EQ(result.Pages, 2);
        EXPECT_EQ(result.Labels, 7);
        const QList<Word> words = sheettest::wordsOf(pdf);
        EXPECT_EQ(sheettest::pageCount(words), 2);
        QList<Placed> all = expected;
        for (const Placed& p : expected)
            all.append({p.page, p.c, p.r, "Town" + p.word});
        expectPlaced(words, f, all, QPointF(-offset.X * 72.0 / 300, -offset.Y * 72.0 / 300));
    }
}

TEST(MailingPrint, TheLastRowOfATallSheetLandsWhereTheFormatPutsIt)
{
    // 27 rows of 10 mm: rounding each length to screen pixels first put row 27 1.4 mm low.
    design::TCurrentFormat f = mailingtest::format(1, 27);
    f.HauteurEtiquette = 1000;
    f.EcartVertical = 0;
    f.MargeHaut = 500;
    std::vector<mailingtest::Record> records;
    QList<Placed> expected;
    for (int r = 1; r <= 27; ++r) {
        records.push_back({QStringLiteral("R%1").arg(r), 1});
        expected.append({1, 1, r, QStringLiteral("R%1").arg(r)});
    }
    MailingFixture m(f, records);
    const QString pdf = m.dir.filePath("tall.pdf");
    OffsetPdfPrinter printer(pdf);
    ImprimerMailing(m.job, printer);
    expectPlaced(sheettest::wordsOf(pdf), f, expected, {});
}

TEST(MailingPrint, DesignModeDrawsEachRecordWithItsCounterAndBarcode)
{
    const design::TCurrentFormat f = mailingtest::format(3, 2);
    MailingFixture m(f, {{"ALPHA", 2}, {"BRAVO", 1}, {"CHARLIE", 3}}, {2, 2});
    m.job.Mode = TMailingMode::Design;
    m.job.DesignPath = m.saveDesign(f);
    const QString pdf = m.dir.filePath("design.pdf");
    OffsetPdfPrinter printer(pdf);
    EXPECT_EQ(ImprimerMailing(m.job, printer).Pages, 2);
    const QList<Placed> expected = {
        {1, 2, 2, "ALPHA"}, {1, 2, 2, "N1"},    {1, 3, 2, "ALPHA"},   {1, 3, 2, "N2"},
        {2, 1, 1, "BRAVO"}, {2, 1, 1, "N3"},    {2, 2, 1, "CHARLIE"}, {2, 2, 1, "N4"},
        {2, 3, 1, "CHARLIE"}, {2, 3, 1, "N5"},  {2, 1, 2, "CHARLIE"}, {2, 1, 2, "N6"},
    };
    expectPlaced(sheettest::wordsOf(pdf), f, expected, {});
    EXPECT_EQ(barcodesInCells(pdf, 1, f, {{2, 2}, {3, 2}}), (QStringList{"ALPHA", "ALPHA"}));
    EXPECT_EQ(barcodesInCells(pdf, 2, f, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}}),
              (QStringList{"BRAVO", "CHARLIE", "CHARLIE", "CHARLIE", ""}));
}

TEST(MailingPrint, SeriesCopiesGoToTheDriverOrAreSentAgain)
{
    MailingFixture m(mailingtest::format(2, 2), {{"Alpha", 3}, {"Bravo", 2}});
    m.job.SeriesCopies = 2;
    for (const bool driver : {true, false}) {
        const QString pdf = m.dir.filePath(driver ? "driver.pdf" : "loop.pdf");
        OffsetPdfPrinter printer(pdf);
        printer.Driver = driver;
        const TMailingPrintResult result = ImprimerMailing(m.job, printer);
        EXPECT_EQ(printer.Copies(), driver ? 2 : 1);
        EXPECT_EQ(result.Pages, driver ? 2 : 4);
        EXPECT_EQ(result.Labels, 5);
        const QList<Word> words = sheettest::wordsOf(pdf);
        EXPECT_EQ(sheettest::pageCount(words), driver ? 2 : 4);
        // Sheets A A A B and B; each copy of the series starts again with the first record.
        for (int p = 1; p <= sheettest::pageCount(words); ++p)
            EXPECT_EQ(sheettest::SheetFixture::boxOf(words, "Alpha", p).isNull(), p % 2 == 0) << p;
    }
}

TEST(MailingPrint, AnUnusableDesignBeginsNoJob)
{
    MailingFixture m(mailingtest::format(2, 2), {{"Alpha", 1}});
    m.job.Mode = TMailingMode::Design;
    testsupport::writeBytes(m.dir.filePath("broken.car"), "not a design\r\n");
    for (const QString& path : {m.dir.filePath("missing.car"), m.dir.filePath("broken.car")}) {
        m.job.DesignPath = path;
        const QString pdf = m.dir.filePath("never.pdf");
        OffsetPdfPrinter printer(pdf);
        try {
            ImprimerMailing(m.job, printer);
            ADD_FAILURE() << "printed with " << path.toStdString();
        } catch (const EMailingDesign& e) {
            EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
        }
        EXPECT_FALSE(printer.Printing());
        EXPECT_FALSE(printer.Aborted()) << "the job was never begun";
        EXPECT_FALSE(QFile::exists(pdf));
    }
}

TEST(MailingPrint, ADrawingErrorAbortsTheJobAndRestoresTheCursor)
{
    const design::TCurrentFormat f = mailingtest::format(2, 2);
    MailingFixture m(f, {{"Alpha", 1}, {"Bravo", 1}});
    // The second record's picture is a file no reader takes.
    testsupport::writeBytes(m.dir.filePath("bad.png"), "not a picture");
    m.book.SetCell(5, 2, m.dir.filePath("bad.png"));
    design::TCurrentFormat df = f;
    design::TDesignModel model(df);
    model.LargeurEtiquettePx = 227;
    model.HauteurEtiquettePx = 113;
    model.AddImage(10, 10, 0, false, design::GetRepertFieldCode(5), true, false, false, 50, 50, false, true);
    m.job.DesignPath = m.dir.filePath("picture.car");
    design::SaveDesignDocument(model, m.job.DesignPath);
    m.job.Mode = TMailingMode::Design;
    const QString pdf = m.dir.filePath("failed.pdf");
    OffsetPdfPrinter printer(pdf);
    EXPECT_ANY_THROW(ImprimerMailing(m.job, printer));
    EXPECT_FALSE(printer.Printing());
    EXPECT_TRUE(printer.Aborted());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(MailingPrint, AddressBlocksShrinkToThreePointsAndStayInTheLabel)
{
    platform::TStringGrid book;
    fillBook(book, {{"Martin", 1}});
    EXPECT_EQ(AddressText(book, 1), "Martin \r");
    book.SetCell(9, 1, "Acme");
    book.SetCell(2, 1, "Mr ");
    book.SetCell(5, 1, "69000");
    book.SetCell(6, 1, "Lyon");
    EXPECT_EQ(AddressText(book, 1), "Acme \rMr Martin \r69000 Lyon \r");

    platform::TFont font;
    font.SetPixelsPerInch(96);
    font.SetName("Liberation Sans");
    font.SetSize(9);
    const QString tall = "Acme Corporation \rMr Jean Martin \r12 rue des Lilas \rBatiment B \r69000 Lyon France \r";
    const struct {
        platform::TRect label;
        int minSize, maxSize;
    } cases[] = {
        {platform::Bounds(40, 40, 400, 300), 9, 9},  // fits at its own size
        {platform::Bounds(40, 40, 160, 60), 4, 8},   // shrinks until it fits
        {platform::Bounds(40, 40, 30, 12), 3, 3},    // fits at no size: 3 points, clipped
    };
    for (const auto& c : cases) {
        QImage image = testsupport::whiteImage(500, 400);
        platform::TCanvas canvas(&image);
        canvas.SetLogPixels(96, 96);
        DessinerAdresse(canvas, c.label, 1.0, font, tall, false, false);
        const int size = canvas.Font.Size();
        canvas.End();
        EXPECT_GE(size, c.minSize) << c.label.Width();
        EXPECT_LE(size, c.maxSize) << c.label.Width();
        const int inside = testsupport::darkPixels(image, c.label.Left, c.label.Top, c.label.Right - 1,
                                                   c.label.Bottom - 1, 200);
        EXPECT_GT(inside, 0);
        EXPECT_EQ(testsupport::darkPixels(image, 0, 0, 499, 399, 200), inside) << "ink outside the label";
    }
}

TEST(MailingPreview, ShowsTheSheetsThePrintPrints)
{
    const design::TCurrentFormat f = mailingtest::format(3, 2);
    MailingFixture m(f, {{"ALPHA", 2}, {"BRAVO", 1}, {"CHARLIE", 3}, {"DELTA", 3}}, {2, 2});
    for (const TMailingMode mode : {TMailingMode::Addresses, TMailingMode::Design}) {
        m.job.Mode = mode;
        m.job.DesignPath = m.saveDesign(f);
        const QString pdf = m.dir.filePath(mode == TMailingMode::Design ? "pd.pdf" : "pa.pdf");
        OffsetPdfPrinter printer(pdf);
        ImprimerMailing(m.job, printer);
        const int dpi = 96;
        // A frame as wide as the largest sheet at 96 dpi: the preview is drawn at that scale.
        const int bevel = platform::R(station::TailleMaxPlanche * dpi / 2540.0) + 16;
        const TPreviewLayout layout = CalculerMiseEnPagePreview(m.job, bevel, 21000, 29700);
        ASSERT_EQ(layout.NbPages, 3);
        std::unique_ptr<TMailingDesign> design;
        if (mode == TMailingMode::Design)
            design = std::make_unique<TMailingDesign>(m.job.DesignPath);
        station::TPrinterInfo noPrinter;
        for (int p = 1; p <= layout.NbPages; ++p) {
            const QImage printed = pageImage(pdf, p, dpi);
            const QImage shown = DessinerFeuille(m.job, design.get(), layout, p, noPrinter);
            ASSERT_FALSE(printed.isNull());
            ASSERT_LE(std::abs(printed.width() - shown.width()), 1);
            // Inside each cell, away from the outline the preview adds, the same texts in the same
            // place (the top of the cell: a printer draws barcodes at its own resolution).
            for (int r = 1; r <= 2; ++r)
                for (int c = 1; c <= 3; ++c) {
                    const QRectF cell = cellPoints(f, c, r);
                    const int left = platform::R(cell.left() / 72 * dpi) + 4;
                    const int top = platform::R(cell.top() / 72 * dpi) + 4;
                    const int right = platform::R(cell.right() / 72 * dpi) - 4;
                    const int bottom = platform::R((cell.top() + cell.height() * 0.35) / 72 * dpi);
                    const QRect band(QPoint(left, top), QPoint(right, bottom));
                    const int ink = testsupport::darkPixels(printed, left, top, right, bottom, 160);
                    EXPECT_EQ(ink == 0, testsupport::darkPixels(shown, left, top, right, bottom, 160) == 0)
                        << "sheet " << p << " cell " << c << "," << r;
                    EXPECT_LE(unmatchedInk(printed, shown, band) + unmatchedInk(shown, printed, band), ink / 10 + 4)
                        << "sheet " << p << " cell " << c << "," << r;
                }
        }
    }
}
