#pragma once

// A sheet page of several designs in a program folder of its own, and what a reader and a
// scanner see of a printed PDF: the words with their boxes (pdftotext -bbox), the page image
// (pdftoppm) and the barcodes on it (zbarimg).
#include "TestSupport.h"

#include "barcode/Barcode.h"
#include "design/DesignDocument.h"
#include "design/DesignModel.h"
#include "platform/PdfPrinter.h"
#include "platform/TStringGrid.h"
#include "station/SheetPage.h"
#include "station/SheetPrint.h"
#include "station/StationFolders.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRectF>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace sheettest {

// A PDF printer standing for a real one: its printable area starts at an offset from the
// sheet's corner, and its driver may make the copies.
class OffsetPdfPrinter : public platform::PdfPrinter {
public:
    using PdfPrinter::PdfPrinter;
    platform::TPoint Offset{0, 0};
    bool Driver = false;
    platform::TPoint PrintingOffset() const override { return Offset; }
    bool DriverCopies() const override { return Driver; }
};

struct Word {
    QString text;
    QRectF box; // points
    int page = 1;
};

inline QString run(const QString& program, const QStringList& args, int timeoutMs = 60000)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit) {
        p.kill();
        p.waitForFinished(2000);
        return QStringLiteral("<%1 did not run>").arg(program);
    }
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline QList<Word> wordsOf(const QString& pdf)
{
    const QString html = pdf + QStringLiteral(".html");
    run("pdftotext", {"-bbox", pdf, html});
    QFile f(html);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromUtf8(f.readAll());
    static const QRegularExpression token(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Word> words;
    int page = 0;
    for (auto it = token.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith("<page")) {
            ++page;
            continue;
        }
        const QRectF box(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                         QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
        words.append({m.captured(5), box, page});
    }
    return words;
}

inline int pageCount(const QList<Word>& words)
{
    int pages = 0;
    for (const Word& w : words)
        pages = std::max(pages, w.page);
    return pages;
}

// Page 1 at `dpi`, grey.
inline QImage pageImage(const QString& pdf, int dpi)
{
    const QString stem = pdf + QStringLiteral(".page");
    run("pdftoppm", {"-r", QString::number(dpi), "-f", "1", "-l", "1", "-png", "-singlefile", pdf, stem});
    return QImage(stem + ".png").convertToFormat(QImage::Format_RGB32);
}

inline QStringList barcodesOf(const QString& pdf)
{
    pageImage(pdf, 300);
    QStringList codes = run("zbarimg", {"--raw", "-q", pdf + ".page.png"}).split('\n', Qt::SkipEmptyParts);
    codes.sort();
    return codes;
}

// The format of the sheet: 3 x 7 labels of 60 x 30 mm on A4, margins 10 mm left and 15 mm top,
// 5 mm gaps (1/100 mm).
inline design::TCurrentFormat sheetFormat()
{
    design::TCurrentFormat f;
    f.NomFormat = "Test 3x7";
    f.LargeurEtiquette = 6000;
    f.HauteurEtiquette = 3000;
    f.NbColonnes = 3;
    f.NbLignes = 7;
    f.EcartHorizontal = 500;
    f.EcartVertical = 500;
    f.MargeGauche = 1000;
    f.MargeHaut = 1500;
    return f;
}

// Cell (c, r) of sheetFormat() on the paper, in points.
inline QRectF cellPoints(int c, int r)
{
    const design::TCurrentFormat f = sheetFormat();
    const double k = 72.0 / 2540.0;
    const double x = f.MargeGauche + (c - 1) * (f.LargeurEtiquette + f.EcartHorizontal);
    const double y = f.MargeHaut + (r - 1) * (f.HauteurEtiquette + f.EcartVertical);
    return QRectF(x * k, y * k, f.LargeurEtiquette * k, f.HauteurEtiquette * k);
}

constexpr double HalfMmPoints = 72.0 / 25.4 / 2;

// A program folder whose perso/ holds the designs "alpha" (a text), "beta" (a text and an EAN-13),
// "gamma" (a text block and an EAN-13), "broken" (not a design) and "badpicture" (an image whose
// merged file no reader takes); the page places them and one missing design.
struct SheetFixture {
    QTemporaryDir dir;
    station::TStationFolders folders;
    station::TSheetPage page;
    platform::TStringGrid grid;
    station::TSheetPrintOptions options;

    SheetFixture()
    {
        QDir(dir.path()).mkpath("perso");
        folders = station::TStationFolders::Resolve(dir.path(), dir.filePath("user"), true);
        grid.SetColCount(16);
        grid.SetRowCount(2);
        // The picture a field-coded image names: a file no image reader takes.
        testsupport::writeBytes(dir.filePath("bad.png"), "not a picture");
        grid.SetCell(5, 1, dir.filePath("bad.png"));
        options.Source = {&grid, false, design::RepertItemsEnglish()};
        options.Title = "Sheet";

        save("alpha", [](design::TDesignModel& m) {
            m.AddLabel(5, 5, true, {}, platform::clBlack, 12, "Arial", -16, platform::clWhite, "Alpha N<Autonum>",
                       design::taLeftJustify, 24, 200, false);
        });
        save("beta", [](design::TDesignModel& m) {
            m.AddLabel(5, 5, true, {}, platform::clBlack, 12, "Arial", -16, platform::clWhite, "Beta N<Autonum>",
                       design::taLeftJustify, 24, 200, false);
            m.AddBarcode(20, 34, 100, "Arial", true, false, "", barcode::rotate_000, barcode::EAN_13,
                         "4006381333931", 100, barcode::SC2, false);
        });
        save("gamma", [](design::TDesignModel& m) {
            m.AddMemo(5, 5, design::bsNone, {}, platform::clBlack, 10, "Arial", -13, platform::clWhite,
                      {"Gamma N<Autonum>"}, design::taLeftJustify, 20, 200, false);
            m.AddBarcode(20, 34, 100, "Arial", true, false, "", barcode::rotate_000, barcode::EAN_13,
                         "9780201379624", 100, barcode::SC2, false);
        });
        save("badpicture", [](design::TDesignModel& m) {
            m.AddImage(10, 10, 0, false, "<Code>", true, false, false, 50, 50, false, true);
        });
        testsupport::writeBytes(dir.filePath("perso/broken.car"), "not a design\r\n");

        page.FormatPage = sheetFormat();
        page.LabelWidthPx = 227;
        page.LabelHeightPx = 113;
        page.SetCell(1, 1, "alpha");
        page.SetCell(2, 1, "gone");
        page.SetCell(3, 2, "beta");
        page.SetCell(1, 3, "broken");
        page.SetCell(2, 4, "gamma");
    }

    template <class Build>
    void save(const QString& name, Build build)
    {
        design::TCurrentFormat format = sheetFormat();
        design::TDesignModel model(format);
        model.LargeurEtiquettePx = 227;
        model.HauteurEtiquettePx = 113;
        build(model);
        design::SaveDesignDocument(model, dir.filePath("perso/" + name + ".car"));
    }

    // The box of a word on a page; null when it is not there.
    static QRectF boxOf(const QList<Word>& words, const QString& text, int page = 1)
    {
        for (const Word& w : words)
            if (w.text == text && w.page == page)
                return w.box;
        return {};
    }
};

} // namespace sheettest
