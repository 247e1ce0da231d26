// Label printing into one multi-page PDF at 300 dpi, 14 labels a page (2 x 7 on A4):
// - "address": address labels (a frame, three merged text lines, a Code 39 of a merged number)
//   for records read from a CSV file, drawn by the design renderer and, in the same run, by a
//   plain QPainter program drawing the same frame, texts and bars to the same kind of PDF writer;
//   their ratio is what the renderer costs over QPainter itself; each round also runs the
//   renderer in a child process with glibc's default allocator settings, and the "heap page:"
//   line compares the best run of each with the program's own settings (from about 100,000
//   records on, reading the CSV file slides glibc's thresholds up far enough on their own, and the
//   two come close);
// - "design": a fuller design (tilted text, text block, line, EAN-13), barcodes at the printer's
//   resolution and as screen bitmaps ("wysiwyg").
// One line per figure: labels, seconds, labels per second, peak resident memory of the run.
//
//   bench_render [labels] [output folder] [address|design|all] [rounds of the address job, 3 by default]
#include "LabelBench.h"

#include "design/DesignModel.h"
#include "design/Pictures.h"
#include "design/Renderer.h"

#include "barcode/Barcode.h"
#include "platform/FontEngine.h"
#include "platform/PdfPrinter.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"
#include "platform/TStringGrid.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>

using namespace design;
using barcode::CODE39;
using barcode::EAN_13;
using barcode::rotate_000;
using barcode::SC1;
using barcode::TBarcodeGeometry;
using barcode::TLLBarcode;

using namespace labelbench;

namespace {

// ---- address labels

// The address book as a CSV file (semicolon-separated, UTF-8, a title line), one record a label.
void writeAddressCsv(const QString& path, int records)
{
    static const char* const surnames[] = {"Dupont", "Martin", "Durand", "Lefèvre", "Moreau", "Bernard", "Roux"};
    static const char* const firstNames[] = {"Jeanne", "Pierre", "Marie-Claire", "Louis", "Émilie", "Antoine"};
    static const char* const streets[] = {"rue des Lilas", "avenue Jean Jaurès", "place du Marché",
                                          "boulevard Victor Hugo", "chemin des Vignes"};
    static const char* const towns[] = {"Paris", "Lyon", "Marseille", "Toulouse", "Saint-Étienne", "Lille", "Nantes"};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot write %s", qPrintable(path));
    file.write("Surname;First name;Title;Address 1;Address 2;Postcode;Town;Country;Position;Company;"
               "Phone 1;Fax;Miscellaneous;Phone 2;Mobile;Internet\r\n");
    for (int r = 1; r <= records; ++r) {
        const QString line = QStringLiteral("%1;%2;%3;%4, %5;;%6;%7;France;;;;;%8;;;\r\n")
                                 .arg(QString::fromUtf8(surnames[r % 7]), QString::fromUtf8(firstNames[r % 6]),
                                      QString::fromLatin1(r % 3 == 0 ? "M." : "Mme"), QString::number(r % 180 + 1),
                                      QString::fromUtf8(streets[r % 5]), QString::number(10000 + r * 7 % 89999),
                                      QString::fromUtf8(towns[r % 7]), QString::number(1000000 + r));
        file.write(line.toUtf8());
    }
}

void readCsv(const QString& path, platform::TStringGrid& grid)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    const QStringList lines = platform::splitLines(QString::fromUtf8(file.readAll()));
    grid.SetColCount(16);
    grid.SetRowCount(static_cast<int>(lines.size()));
    for (int r = 0; r < lines.size(); ++r)
        grid.SetRow(r, lines[r].split(u';'));
}


// The address book read from its CSV file, and the address design over it.
struct AddressJob {
    explicit AddressJob(int labels) : labels(labels), model(format)
    {
        const QString csv = temp.filePath(QStringLiteral("addresses.csv"));
        writeAddressCsv(csv, labels);
        readCsv(csv, grid);
        buildAddressDesign(model);
        inputs.Source = {&grid, false, RepertItemsEnglish()};
    }

    int labels;
    QTemporaryDir temp;
    platform::TStringGrid grid;
    TCurrentFormat format;
    TDesignModel model;
    TDrawInputs inputs;
    const double scale = DesignScale(Dpi, TDesignModel::DesignPixelsPerInch);
};

// The station's page printing: the design's texts planned once, then each label prepared from
// its record and drawn by the renderer.
Figures rendererRun(AddressJob& job, const QString& file)
{
    const TFieldMerge merge(job.inputs.Source, job.inputs.Numbering);
    const TLabelPreparation preparation(job.model, merge);
    TPreparedLabel label;
    TPictureCache pictures;
    platform::PdfPrinter printer(file);
    printer.SetResolution(Dpi);
    return timed(
        job.labels,
        [&] {
            printer.BeginDoc();
            job.inputs.Printer = printer.Canvas().IsPrinterCanvas();
        },
        [&](int i) {
            const platform::TPoint at = labelOrigin(i);
            preparation.Prepare(i + 1, i + 1, pictures, label);
            DrawDesign(printer.Canvas(), job.model, label, job.inputs, {-at.X, -at.Y}, job.scale, job.scale, false);
        },
        [&] { printer.NewPage(); }, [&] { printer.EndDoc(); });
}

// The child run with glibc's heap defaults: the address labels once, into the file given; its
// figures go to the parent.
int glibcHeapChild(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_render %s labels file\n", bench::GlibcHeapFlag);
        return 2;
    }
    AddressJob job(std::max(1, atoi(argv[2])));
    writeChildFigures(rendererRun(job, QString::fromLocal8Bit(argv[3])));
    return 0;
}

void runAddressLabels(int labels, const QString& folder, int rounds)
{
    AddressJob job(labels);
    std::printf("address labels: %d records from CSV, peak RSS before printing %.1f MB\n", labels, peakKb() / 1024.0);

    // The three take turns, `rounds` times each; the ratios compare the best run of each, so that
    // a busy moment of the machine weighs on none.
    Figures bestPlain;
    Figures bestRenderer;
    Figures bestGlibc;
    const QString plainFile = QDir(folder).filePath(QStringLiteral("bench_address_qpainter.pdf"));
    const QString rendererFile = QDir(folder).filePath(QStringLiteral("bench_address_renderer.pdf"));
    const QString glibcFile = QDir(folder).filePath(QStringLiteral("bench_address_renderer_glibc.pdf"));
    auto runPlain = [&]() {
        std::unique_ptr<QPdfWriter> writer;
        QPainter painter;
        PlainAddressPrinter plainPrinter(job.model, job.grid, job.scale);
        return timed(
            labels,
            [&] {
                writer.reset(newPdfWriter(plainFile));
                painter.begin(writer.get());
                painter.setRenderHint(QPainter::Antialiasing, false);
            },
            [&](int i) {
                const platform::TPoint at = labelOrigin(i);
                plainPrinter.draw(painter, i + 1, QPoint(at.X, at.Y));
            },
            [&] { writer->newPage(); },
            [&] {
                painter.end();
                writer.reset();
            });
    };
    for (int round = 0; round < rounds; ++round) {
        const Figures plain = runPlain();
        printFigures("plain QPainter", plain, plainFile);
        if (plain.perSecond() > bestPlain.perSecond())
            bestPlain = plain;
        const Figures renderer = rendererRun(job, rendererFile);
        printFigures("renderer", renderer, rendererFile);
        if (renderer.perSecond() > bestRenderer.perSecond())
            bestRenderer = renderer;
        const Figures glibc =
            readChildFigures(bench::runWithGlibcHeap({QString::number(labels), glibcFile}));
        printFigures("renderer, glibc heap defaults (child)", glibc, glibcFile);
        if (glibc.perSecond() > bestGlibc.perSecond())
            bestGlibc = glibc;
    }
    std::printf("renderer / plain QPainter, best of %d runs each: rate ratio %.3f, CPU-time ratio %.3f\n", rounds,
                bestPlain.perSecond() > 0 ? bestRenderer.perSecond() / bestPlain.perSecond() : 0.0,
                bestRenderer.cpuSeconds > 0 ? bestPlain.cpuSeconds / bestRenderer.cpuSeconds : 0.0);
    printHeapPair("page", bestRenderer, bestGlibc);
}

// ---- the fuller design

// A valid EAN-13 for record i.
QString ean13(int i)
{
    QString digits = QStringLiteral("400%1").arg(i, 9, 10, QLatin1Char('0'));
    int sum = 0;
    for (int k = 0; k < 12; ++k)
        sum += (digits[k].unicode() - u'0') * (k % 2 == 0 ? 1 : 3);
    return digits + QString::number((10 - sum % 10) % 10);
}

// An address book of `records` records.
void fillRecords(platform::TStringGrid& grid, int records)
{
    static const char* const surnames[] = {"Dupont", "Martin", "Durand", "Lefèvre", "Moreau", "Bernard"};
    static const char* const towns[] = {"Paris", "Lyon", "Marseille", "Toulouse", "Saint-Étienne", "Lille"};
    grid.SetColCount(16);
    grid.SetRowCount(records + 1);
    for (int r = 1; r <= records; ++r) {
        QStringList cells;
        for (int c = 0; c < 16; ++c)
            cells << QString();
        cells[0] = QString::fromUtf8(surnames[r % 6]);
        cells[1] = QStringLiteral("Client %1").arg(r);
        cells[2] = QStringLiteral("Mme");
        cells[3] = QStringLiteral("%1, rue des Lilas").arg(r % 200 + 1);
        cells[5] = QStringLiteral("%1").arg(10000 + r % 89999);
        cells[6] = QString::fromUtf8(towns[r % 6]);
        cells[9] = ean13(r); // the company column carries the article number
        grid.SetRow(r, cells);
    }
}

// Three merged text lines, a tilted text, a text block, a rectangle, a line and an EAN-13 on a
// 99.1 x 38.1 mm label.
void buildDesign(TDesignModel& model)
{
    using namespace platform;
    model.LargeurEtiquettePx = R(96.0 * 9910 / 2540);
    model.HauteurEtiquettePx = R(96.0 * 3810 / 2540);
    model.AddShape(2, 2, stRectangle, 1, psSolid, clBlack, bsClear, clWhite, 140, 370, false);
    model.AddLabel(8, 6, true, {fsBold}, clBlack, 10, "Arial", -13, clWhite, "<Title> <FirstName> <Surname>",
                   taLeftJustify, 18, 220, false);
    model.AddLabel(8, 26, true, {}, clBlack, 9, "Arial", -12, clWhite, "<Address1>", taLeftJustify, 16, 220, false);
    model.AddLabel(8, 44, true, {}, clBlack, 9, "Arial", -12, clWhite, "<Code> <Town>", taLeftJustify, 16, 220, false);
    // A horizontal line is ten times its pen width thick, as its layout makes it.
    model.AddLine(8, 64, ltHorizontal, 1, psSolid, clBlack, 10, 130, false);
    model.AddMemo(8, 78, bsSingle, {}, clBlack, 8, "Arial", -11, clWhite,
                  {"Order <Autonum>", "Printed on <Date1>", "Thank you"}, taLeftJustify, 56, 130, false);
    model.AddRotateLabel(140, 70, true, {fsItalic}, clBlack, 9, "Arial", -12, clWhite, 20, "PRIORITY", 0, 0, false);
    model.AddBarcode(222, 14, 100, "Arial", true, false, "", rotate_000, EAN_13, "<Company>", 80, SC1, false);
}

void runFullDesign(int labels, const QString& folder)
{
    platform::TStringGrid grid;
    fillRecords(grid, labels);
    TCurrentFormat format;
    TDesignModel model(format);
    buildDesign(model);
    TDrawInputs inputs;
    inputs.Source = {&grid, false, RepertItemsEnglish()};
    inputs.Numbering = {false, 1, QStringLiteral("08/12/2026"), QStringLiteral("09/12/2026")};
    const double scale = DesignScale(Dpi, TDesignModel::DesignPixelsPerInch);

    std::printf("full design: %d records, peak RSS before printing %.1f MB\n", labels, peakKb() / 1024.0);
    for (const bool wysiwyg : {false, true}) {
        const QString file = QDir(folder).filePath(wysiwyg ? "bench_render_wysiwyg.pdf" : "bench_render.pdf");
        const TFieldMerge merge(inputs.Source, inputs.Numbering);
        const TLabelPreparation preparation(model, merge);
        TPreparedLabel label;
        TPictureCache pictures;
        platform::PdfPrinter printer(file);
        printer.SetResolution(Dpi);
        const Figures f = timed(
            labels,
            [&] {
                printer.BeginDoc();
                inputs.Printer = printer.Canvas().IsPrinterCanvas();
                inputs.Wysiwyg = wysiwyg;
            },
            [&](int i) {
                const platform::TPoint at = labelOrigin(i);
                preparation.Prepare(i + 1, i + 1, pictures, label);
                DrawDesign(printer.Canvas(), model, label, inputs, {-at.X, -at.Y}, scale, scale, false);
            },
            [&] { printer.NewPage(); }, [&] { printer.EndDoc(); });
        printFigures(wysiwyg ? "barcodes as screen bitmaps (wysiwyg)" : "barcodes at printer resolution", f, file);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const bool glibcHeap = bench::takeProgramHeap(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (glibcHeap)
        return glibcHeapChild(argc, argv);
    const int labels = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    const QByteArray job = argc > 3 ? QByteArray(argv[3]) : QByteArray("all");
    const int rounds = argc > 4 ? std::max(1, atoi(argv[4])) : 3;
    if (job != "address" && job != "design" && job != "all") {
        std::fprintf(stderr, "usage: bench_render [labels] [output folder] [address|design|all] [rounds]\n");
        return 2;
    }
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "bench_render: cannot make the output folder %s\n", qPrintable(folder));
        return 1;
    }
    std::printf("%d labels, %d labels a page, %d dpi\n", labels, LabelsPerPage, Dpi);
    if (job != "design")
        runAddressLabels(labels, folder, rounds);
    if (job != "address")
        runFullDesign(labels, folder);
    return 0;
}
