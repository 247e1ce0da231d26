// Label printing into one multi-page PDF at 300 dpi, 14 labels a page (2 x 7 on A4):
// - "address": address labels (a frame, three merged text lines, a Code 39 of a merged number)
//   for records read from a CSV file, drawn by the design renderer and, in the same run, by a
//   plain QPainter program drawing the same frame, texts and bars to the same kind of PDF writer;
//   their ratio is what the renderer costs over QPainter itself;
// - "design": a fuller design (tilted text, text block, line, EAN-13), barcodes at the printer's
//   resolution and as screen bitmaps ("wysiwyg").
// One line per figure: labels, seconds, labels per second, peak resident memory of the run.
//
//   bench_render [labels] [output folder] [address|design|all] [rounds of the address job]
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

namespace {

constexpr int Dpi = 300;
constexpr int LabelsPerPage = 14;

// Peak resident memory of the process in kB, and its reset (Linux).
long peakKb()
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void resetPeak()
{
    QFile f("/proc/self/clear_refs");
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// Where label i of a run lands on its page, in device pixels: 2 columns x 7 rows of
// 99.1 x 38.1 mm, 4.65 mm left margin, 15.15 mm top margin, 2.5 mm between the columns.
platform::TPoint labelOrigin(int i)
{
    auto px = [](int hundredthsMm) { return R(Dpi * hundredthsMm / 2540.0); };
    const int cell = i % LabelsPerPage;
    return {px(465) + (cell % 2) * (px(9910) + px(250)), px(1515) + (cell / 2) * px(3810)};
}

struct Figures {
    int labels = 0;
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKb = 0;
    double perSecond() const { return seconds > 0 ? labels / seconds : 0; }
};

// Runs one print job: `drawLabel(i)` draws label i, `newPage()` starts the next sheet.
Figures timed(int labels, const std::function<void()>& begin, const std::function<void(int)>& drawLabel,
              const std::function<void()>& newPage, const std::function<void()>& end)
{
    resetPeak();
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    begin();
    for (int i = 0; i < labels; ++i) {
        if (i > 0 && i % LabelsPerPage == 0)
            newPage();
        drawLabel(i);
    }
    end();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {labels, seconds, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC, peakKb()};
}

void printFigures(const char* what, const Figures& f, const QString& file)
{
    std::printf("%-38s %7d labels %7.2f s (CPU %6.2f s) %7.0f labels/s  peak RSS %6.1f MB  %s %.1f MB\n", what,
                f.labels, f.seconds, f.cpuSeconds, f.perSecond(), f.peakKb / 1024.0, qPrintable(file),
                QFile(file).size() / 1048576.0);
    std::fflush(stdout);
}

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

// A 99.1 x 38.1 mm label: a frame, the name in bold, two address lines, the customer number
// (the "Miscellaneous" column) as Code 39.
void buildAddressDesign(TDesignModel& model)
{
    using namespace platform;
    model.LargeurEtiquettePx = R(96.0 * 9910 / 2540);
    model.HauteurEtiquettePx = R(96.0 * 3810 / 2540);
    model.AddShape(2, 2, stRectangle, 1, psSolid, clBlack, bsClear, clWhite, 140, 370, false);
    model.AddLabel(12, 10, true, {fsBold}, clBlack, 11, "Arial", -15, clWhite, "<Title> <FirstName> <Surname>",
                   taLeftJustify, 20, 300, false);
    model.AddLabel(12, 32, true, {}, clBlack, 10, "Arial", -13, clWhite, "<Address1>", taLeftJustify, 18, 300, false);
    model.AddLabel(12, 52, true, {}, clBlack, 10, "Arial", -13, clWhite, "<Code> <Town>", taLeftJustify, 18, 300,
                   false);
    model.AddBarcode(12, 78, 100, "Arial", true, false, "", rotate_000, CODE39, "<Miscellaneous>", 50, SC1, false);
}

// The plain QPainter program: everything the renderer works out from the design is taken once
// from the same model, then each label is drawn with QPainter calls only. Every text of these
// records fits its box at the design's own size, which is the size the renderer's fitting keeps;
// the two PDFs rasterise to the same pixels.
class PlainAddressPrinter {
public:
    PlainAddressPrinter(const TDesignModel& model, const platform::TStringGrid& grid, double scale)
        : m_grid(grid)
    {
        auto px = [scale](int v) { return R(scale * v); };
        const TShape* frame = model.ObjectsOf<TShape>().front();
        m_frame = QRect(px(frame->Left), px(frame->Top), px(frame->Width) - 1, px(frame->Height) - 1);
        for (const TLabel* label : model.ObjectsOf<TLabel>()) {
            const int height = R(label->Font.Height() * scale);
            const auto face = platform::fontengine::face(label->Font.Name(), height, label->Font.Style(), Dpi);
            m_lines.push_back({face->font, QPointF(px(label->Left), px(label->Top) + face->tm.tmAscent)});
        }
        const TBarcodeObject* barcode = model.ObjectsOf<TBarcodeObject>().front();
        m_barcode.Params = barcode->Barcode().Encoder().Params;
        m_barcodeAt = QPoint(px(barcode->Left), px(barcode->Top));
        m_measure.SetLogPixels(Dpi, Dpi);
    }

    void draw(QPainter& painter, int row, QPoint at)
    {
        painter.setPen(m_framePen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(m_frame.translated(at));

        const QString texts[3] = {
            m_grid.Cell(2, row) + u' ' + m_grid.Cell(1, row) + u' ' + m_grid.Cell(0, row),
            m_grid.Cell(3, row),
            m_grid.Cell(5, row) + u' ' + m_grid.Cell(6, row),
        };
        painter.setPen(QPen(Qt::black));
        for (int k = 0; k < 3; ++k) {
            painter.setFont(m_lines[k].font);
            painter.drawText(m_lines[k].baseline + at, texts[k]);
        }

        m_barcode.Params.Caption = platform::toCp1252(m_grid.Cell(12, row));
        const TBarcodeGeometry g = m_barcode.Layout(m_measure);
        const QPoint origin = m_barcodeAt + at;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (const TBarcodeGeometry::Bar& bar : g.Bars)
            painter.drawRect(QRect(origin.x() + bar.Left, origin.y() + bar.Top, bar.Right - bar.Left,
                                   bar.Bottom - bar.Top));
        if (!m_digits || m_digitsHeight != g.FontHeight) {
            m_digits = platform::fontengine::face(m_barcode.Params.Fontname, g.FontHeight, {}, Dpi);
            m_digitsHeight = g.FontHeight;
        }
        painter.setPen(QPen(Qt::black));
        painter.setFont(m_digits->font);
        for (const TBarcodeGeometry::Text& text : g.Texts) {
            const QString shown = platform::fromCp1252(text.Text);
            painter.drawText(QPointF(origin.x() + text.X - m_digits->width(shown) / 2,
                                     origin.y() + text.Y + m_digits->tm.tmAscent),
                             shown);
        }
    }

private:
    struct Line {
        QFont font;
        QPointF baseline;
    };
    const platform::TStringGrid& m_grid;
    QPen m_framePen{QBrush(Qt::black), 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin};
    QRect m_frame;
    std::vector<Line> m_lines;
    TLLBarcode m_barcode;
    QPoint m_barcodeAt;
    platform::TCanvas m_measure;
    std::shared_ptr<const platform::fontengine::Face> m_digits;
    int m_digitsHeight = 0;
};

QPdfWriter* newPdfWriter(const QString& file)
{
    auto* writer = new QPdfWriter(file);
    writer->setResolution(Dpi);
    writer->setPageLayout(QPageLayout(QPageSize(QSizeF(210.0, 297.0), QPageSize::Millimeter), QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    writer->setCreator(QStringLiteral("Pravolis"));
    return writer;
}

void runAddressLabels(int labels, const QString& folder, int rounds)
{
    QTemporaryDir temp;
    const QString csv = temp.filePath(QStringLiteral("addresses.csv"));
    writeAddressCsv(csv, labels);
    platform::TStringGrid grid;
    readCsv(csv, grid);

    TCurrentFormat format;
    TDesignModel model(format);
    buildAddressDesign(model);
    TDrawInputs inputs;
    inputs.Source = {&grid, false, RepertItemsEnglish()};
    const double scale = DesignScale(Dpi, TDesignModel::DesignPixelsPerInch);

    std::printf("address labels: %d records from CSV, peak RSS before printing %.1f MB\n", labels, peakKb() / 1024.0);

    // The two take turns, `rounds` times each; the ratio compares the best run of each, so that
    // a busy moment of the machine weighs on neither.
    Figures bestPlain;
    Figures bestRenderer;
    const QString plainFile = QDir(folder).filePath(QStringLiteral("bench_address_qpainter.pdf"));
    const QString rendererFile = QDir(folder).filePath(QStringLiteral("bench_address_renderer.pdf"));
    auto runPlain = [&]() {
        std::unique_ptr<QPdfWriter> writer;
        QPainter painter;
        PlainAddressPrinter plainPrinter(model, grid, scale);
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
    auto runRenderer = [&]() {
        const TFieldMerge merge(inputs.Source, inputs.Numbering);
        TPictureCache pictures;
        platform::PdfPrinter printer(rendererFile);
        printer.SetResolution(Dpi);
        return timed(
            labels,
            [&] {
                printer.BeginDoc();
                inputs.Printer = printer.Canvas().IsPrinterCanvas();
            },
            [&](int i) {
                const platform::TPoint at = labelOrigin(i);
                const TPreparedLabel label = PrepareLabel(model, merge, i + 1, i + 1, pictures);
                DrawDesign(printer.Canvas(), model, label, inputs, {-at.X, -at.Y}, scale, scale, false);
            },
            [&] { printer.NewPage(); }, [&] { printer.EndDoc(); });
    };
    for (int round = 0; round < rounds; ++round) {
        const Figures plain = runPlain();
        printFigures("plain QPainter", plain, plainFile);
        if (plain.perSecond() > bestPlain.perSecond())
            bestPlain = plain;
        const Figures renderer = runRenderer();
        printFigures("renderer", renderer, rendererFile);
        if (renderer.perSecond() > bestRenderer.perSecond())
            bestRenderer = renderer;
    }
    std::printf("renderer / plain QPainter, best of %d runs each: %.3f labels/s, %.3f CPU\n", rounds,
                bestPlain.perSecond() > 0 ? bestRenderer.perSecond() / bestPlain.perSecond() : 0.0,
                bestRenderer.cpuSeconds > 0 ? bestPlain.cpuSeconds / bestRenderer.cpuSeconds : 0.0);
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
                const TPreparedLabel label = PrepareLabel(model, merge, i + 1, i + 1, pictures);
                DrawDesign(printer.Canvas(), model, label, inputs, {-at.X, -at.Y}, scale, scale, false);
            },
            [&] { printer.NewPage(); }, [&] { printer.EndDoc(); });
        printFigures(wysiwyg ? "barcodes as screen bitmaps (wysiwyg)" : "barcodes at printer resolution", f, file);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int labels = argc > 1 ? std::max(1, atoi(argv[1])) : 1000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    const QByteArray job = argc > 3 ? QByteArray(argv[3]) : QByteArray("all");
    const int rounds = argc > 4 ? std::max(1, atoi(argv[4])) : 2;
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
