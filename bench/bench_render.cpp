// Renders a realistic merged label for 10,000 records into one multi-page PDF at 300 dpi through
// the design renderer, 14 labels a page, and prints the labels per second and the peak memory:
// once with barcodes drawn at the printer's resolution, once with the "wysiwyg" option.
//
//   bench_render [records] [output folder]
#include "design/DesignModel.h"
#include "design/Pictures.h"
#include "design/Renderer.h"

#include "barcode/Barcode.h"
#include "platform/PdfPrinter.h"
#include "platform/Rounding.h"
#include "platform/TStringGrid.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <chrono>
#include <cstdio>

using namespace design;
using barcode::EAN_13;
using barcode::rotate_000;
using barcode::SC1;

namespace {

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

struct Result {
    double labelsPerSecond = 0;
    long peakKb = 0;
    int pages = 0;
};

Result run(const TDesignModel& model, TDrawInputs inputs, int records, const QString& file, bool wysiwyg)
{
    platform::PdfPrinter printer(file);
    printer.SetResolution(300);
    const double scale = design::DesignScale(300, TDesignModel::DesignPixelsPerInch);
    // 2 columns x 7 rows of 99.1 x 38.1 mm, 4.65 mm left margin, 15.15 mm top margin, 2.5 mm gap.
    auto px = [](int hundredthsMm) { return R(300.0 * hundredthsMm / 2540); };
    const int labelW = px(9910), labelH = px(3810), gap = px(250), left = px(465), top = px(1515);

    resetPeak();
    const auto start = std::chrono::steady_clock::now();
    printer.BeginDoc();
    inputs.Printer = printer.Canvas().IsPrinterCanvas();
    inputs.Wysiwyg = wysiwyg;
    const TFieldMerge merge(inputs.Source, inputs.Numbering);
    TPictureCache pictures;
    for (int i = 0; i < records; ++i) {
        const int cell = i % 14;
        if (i > 0 && cell == 0)
            printer.NewPage();
        const int x = left + (cell % 2) * (labelW + gap);
        const int y = top + (cell / 2) * labelH;
        const TPreparedLabel label = PrepareLabel(model, merge, i + 1, i + 1, pictures);
        DrawDesign(printer.Canvas(), model, label, inputs, {-x, -y}, scale, scale, false);
    }
    printer.EndDoc();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {records / seconds, peakKb(), (records + 13) / 14};
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int records = argc > 1 ? std::max(1, atoi(argv[1])) : 10000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();

    platform::TStringGrid grid;
    fillRecords(grid, records);
    TCurrentFormat format;
    TDesignModel model(format);
    buildDesign(model);
    TDrawInputs inputs;
    inputs.Source = {&grid, false, RepertItemsEnglish()};
    inputs.Numbering = {false, 1, QStringLiteral("08/12/2026"), QStringLiteral("09/12/2026")};

    const long before = peakKb();
    std::printf("records: %d, 14 labels a page, 300 dpi; peak memory before printing: %.1f MB\n", records,
                before / 1024.0);
    for (const bool wysiwyg : {false, true}) {
        const QString file = QDir(folder).filePath(wysiwyg ? "bench_render_wysiwyg.pdf" : "bench_render.pdf");
        const Result r = run(model, inputs, records, file, wysiwyg);
        std::printf("%s: %.0f labels/s, %d pages, peak memory %.1f MB, %s %.1f MB\n",
                    wysiwyg ? "barcodes as screen bitmaps (wysiwyg)" : "barcodes at printer resolution",
                    r.labelsPerSecond, r.pages, r.peakKb / 1024.0, qPrintable(file),
                    QFile(file).size() / 1048576.0);
    }
    return 0;
}
