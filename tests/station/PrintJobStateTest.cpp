// Every print the program makes, on the one printer it shares, after a job that ended on
// something that changes the painter (a turned text, a circular text, a turned picture, a clip,
// a landscape sheet): each later job's PDF is read back and must be the PDF that job makes on a
// printer that never printed.
#include "SheetPrintSupport.h"

#include "../addressbook/MailingSupport.h"

#include "addressbook/CardPrint.h"
#include "addressbook/MailingPrint.h"
#include "database/DbTable.h"
#include "platform/window/QtPrinter.h"

#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

using namespace sheettest;
using platform::QtPrinter;

namespace {

// Pixels of two pages that differ clearly (a channel by more than a quarter).
int differingPixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height() + 1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            n += std::abs(qRed(p) - qRed(q)) > 64 || std::abs(qGreen(p) - qGreen(q)) > 64 ||
                 std::abs(qBlue(p) - qBlue(q)) > 64;
        }
    return n;
}

// The same text at the same places (a quarter point), and the same page to the eye.
void expectSamePrint(const QString& pdf, const QString& reference)
{
    const QImage page = pageImage(pdf, 50), expectedPage = pageImage(reference, 50);
    ASSERT_GT(testsupport::darkPixels(expectedPage, 0, 0, expectedPage.width() - 1, expectedPage.height() - 1), 0);
    EXPECT_EQ(differingPixels(page, expectedPage), 0);
    const QList<Word> words = wordsOf(pdf);
    const QList<Word> expected = wordsOf(reference);
    ASSERT_EQ(words.size(), expected.size());
    for (qsizetype i = 0; i < words.size(); ++i) {
        EXPECT_EQ(words[i].text, expected[i].text);
        const QRectF a = words[i].box, b = expected[i].box;
        EXPECT_LT(std::abs(a.left() - b.left()) + std::abs(a.top() - b.top()) + std::abs(a.right() - b.right()) +
                      std::abs(a.bottom() - b.bottom()),
                  1.0)
            << words[i].text.toStdString() << " at " << a.x() << "," << a.y() << " instead of " << b.x() << ","
            << b.y();
    }
}

struct JobStateFixture : SheetFixture {
    platform::TStringGrid book;
    addressbook::TMailingJob mailing;
    addressbook::TFirstLabel first;
    QImage card{240, 150, QImage::Format_RGB32};
    QStringList list{QString(), "\tAddress list", QString(), QString(), "\tDurand Lyon", QString(),
                     "\tMartin Paris", QString()};

    JobStateFixture()
    {
        // The designs that leave the painter changed: each one's last drawing does it.
        const QString picture = dir.filePath("arrow.png");
        QImage arrow(60, 30, QImage::Format_RGB32);
        arrow.fill(Qt::white);
        {
            QPainter p(&arrow);
            p.fillRect(0, 10, 45, 10, Qt::black);
            p.fillRect(45, 0, 15, 30, Qt::blue);
        }
        arrow.save(picture);
        grid.SetCell(5, 1, picture);
        save("tilted", [](design::TDesignModel& m) {
            m.AddLabel(5, 5, true, {}, platform::clBlack, 12, "Arial", -16, platform::clWhite, "Card",
                       design::taLeftJustify, 24, 100, false);
            m.AddRotateLabel(150, 10, true, {}, platform::clBlack, 10, "Arial", -13, platform::clWhite, 90,
                             "Tilted", 0, 0, false);
        });
        save("circular", [](design::TDesignModel& m) {
            m.AddCircleLabel(10, 5, false, {}, platform::clBlack, 10, "Arial", -13, 180, 180, "Around the label",
                             100, 100, false);
        });
        save("turnedpicture", [](design::TDesignModel& m) {
            m.AddImage(20, 10, 90, false, "<Code>", true, false, false, 60, 30, false, true);
        });
        save("clipped", [](design::TDesignModel& m) {
            m.AddMemo(5, 5, design::bsNone, {}, platform::clBlack, 10, "Arial", -13, platform::clWhite,
                      {"A block of text far too long for its little box, cut at its edge"}, design::taLeftJustify,
                      20, 60, false);
        });

        mailingtest::fillBook(book, {{"Durand"}, {"Martin"}, {"Petit"}});
        for (int r = 1; r < book.RowCount(); ++r)
            book.SetCell(6, r, "Town" + book.Cell(0, r));
        mailing.Grid = &book;
        mailing.Layout = addressbook::CalculerMiseEnPage(mailingtest::format(3, 7),
                                                         addressbook::SelectionOfMarks(book), 96, first);
        mailing.Font.SetPixelsPerInch(96);
        mailing.Font.SetName("Liberation Sans");
        mailing.Font.SetSize(9);
        mailing.Title = "Mailing";

        card.fill(Qt::white);
        QPainter p(&card);
        p.fillRect(10, 10, 100, 20, Qt::black);
        p.fillRect(200, 100, 30, 40, Qt::black);
    }

    // A page holding one design in its first cell, printed on `printer`.
    void printSpoiler(QtPrinter& printer, const QString& design, platform::TPrinterOrientation orientation)
    {
        station::TSheetPage one;
        one.FormatPage = page.FormatPage;
        one.LabelWidthPx = page.LabelWidthPx;
        one.LabelHeightPx = page.LabelHeightPx;
        one.SetCell(1, 1, design);
        station::TSheetPrintOptions o = options;
        o.Orientation = orientation;
        printer.SetOutputFile(dir.filePath(design + ".pdf"));
        EXPECT_EQ(station::PrintSheetPage(one, folders, printer, o).Labels, 1);
        EXPECT_FALSE(printer.Printing());
    }
};

} // namespace

TEST(PrintJobState, EveryJobOnTheSharedPrinterPrintsAsOnAPrinterThatNeverPrinted)
{
    JobStateFixture f;
    platform::TFont listFont;
    listFont.SetName("Liberation Sans");
    listFont.SetSize(12);
    const struct {
        const char* name;
        std::function<void(QtPrinter&)> print;
    } jobs[] = {
        {"page", [&](QtPrinter& p) { station::PrintSheetPage(f.page, f.folders, p, f.options); }},
        {"mailing", [&](QtPrinter& p) { addressbook::ImprimerMailing(f.mailing, p); }},
        {"card", [&](QtPrinter& p) { addressbook::PrintCardImage(f.card, 96, p); }},
        {"list", [&](QtPrinter& p) { database::PrintListLines(f.list, listFont, p); }},
    };
    for (const auto& job : jobs) {
        QtPrinter fresh;
        fresh.SetOutputFile(f.dir.filePath(QStringLiteral("%1-alone.pdf").arg(job.name)));
        job.print(fresh);
    }

    const struct {
        const char* design;
        platform::TPrinterOrientation orientation;
    } spoilers[] = {
        {"tilted", platform::poPortrait},
        {"circular", platform::poPortrait},
        {"turnedpicture", platform::poPortrait},
        {"clipped", platform::poLandscape},
    };
    // One printer for the whole run, as the program has: every job after every kind of ending.
    QtPrinter printer;
    for (const auto& spoiler : spoilers) {
        for (const auto& job : jobs) {
            SCOPED_TRACE(std::string(job.name) + " after " + spoiler.design);
            f.printSpoiler(printer, spoiler.design, spoiler.orientation);
            const QString pdf = f.dir.filePath(QStringLiteral("%1-after-%2.pdf").arg(job.name, spoiler.design));
            printer.SetOutputFile(pdf);
            job.print(printer);
            EXPECT_EQ(printer.Orientation(), platform::poPortrait);
            expectSamePrint(pdf, f.dir.filePath(QStringLiteral("%1-alone.pdf").arg(job.name)));
        }
    }
    // The spoilers themselves print what they hold.
    for (const char* word : {"Tilted", "Card"})
        EXPECT_FALSE(SheetFixture::boxOf(wordsOf(f.dir.filePath("tilted.pdf")), word).isNull()) << word;
}
