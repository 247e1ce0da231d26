// Mailings into one multi-page PDF at 300 dpi, 14 labels a sheet (2 x 7 on A4), one label per
// record of an address book:
// - "addresses": simple address labels (the block of up to five lines, fitted and centred);
// - "design": the address design (a frame, three merged texts, a Code 39 of a merged number)
//   drawn for each record.
// Each mode runs against a plain QPainter program drawing the same labels to the same kind of
// PDF writer in the same run; their ratio is what the mailing costs over QPainter itself. Each
// round also runs the mailing in a child process with glibc's default allocator settings; the
// "heap <mode>:" line compares the best run of each with the program's own settings. Peak
// resident memory is measured per run: nothing is kept per record once its label is drawn.
// One line per figure.
//
//   bench_mailing [records] [output folder] [addresses|design|all] [rounds, 3 by default]
#include "LabelBench.h"

#include "addressbook/MailingPrint.h"
#include "design/DesignDocument.h"
#include "platform/PdfPrinter.h"

#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QTemporaryDir>

using namespace labelbench;
using addressbook::TMailingJob;
using addressbook::TMailingMode;

namespace {

// 2 x 7 labels of 99.1 x 38.1 mm, 4.65 mm left margin, 15.15 mm top margin, 2.5 mm between the
// columns: where labelOrigin() puts them.
design::TCurrentFormat sheetFormat()
{
    design::TCurrentFormat f;
    f.NomFormat = QStringLiteral("A4 2 x 7");
    f.LargeurEtiquette = 9910;
    f.HauteurEtiquette = 3810;
    f.NbColonnes = 2;
    f.NbLignes = 7;
    f.EcartHorizontal = 250;
    f.MargeGauche = 465;
    f.MargeHaut = 1515;
    return f;
}

void fillBook(platform::TStringGrid& grid, int records)
{
    static const char* const surnames[] = {"Dupont", "Martin", "Durand", "Lefèvre", "Moreau", "Bernard", "Roux"};
    static const char* const firstNames[] = {"Jeanne", "Pierre", "Marie-Claire", "Louis", "Émilie", "Antoine"};
    static const char* const streets[] = {"rue des Lilas", "avenue Jean Jaurès", "place du Marché",
                                          "boulevard Victor Hugo", "chemin des Vignes"};
    static const char* const towns[] = {"Paris", "Lyon", "Marseille", "Toulouse", "Saint-Étienne", "Lille", "Nantes"};
    grid.SetColCount(16);
    grid.SetRowCount(records + 1);
    grid.Marques = QList<int>(records + 1, 1);
    grid.Copies = QList<int>(records + 1, 1);
    for (int r = 1; r <= records; ++r) {
        QStringList cells(16);
        cells[0] = QString::fromUtf8(surnames[r % 7]);
        cells[1] = QString::fromUtf8(firstNames[r % 6]);
        cells[2] = QString::fromLatin1(r % 3 == 0 ? "M." : "Mme");
        cells[3] = QStringLiteral("%1, %2").arg(r % 180 + 1).arg(QString::fromUtf8(streets[r % 5]));
        cells[5] = QString::number(10000 + r * 7 % 89999);
        cells[6] = QString::fromUtf8(towns[r % 7]);
        cells[7] = QStringLiteral("France");
        cells[12] = QString::number(1000000 + r);
        grid.SetRow(r, cells);
    }
}

// Simple address labels drawn with QPainter alone: the same lines, measured, the block centred in
// the label, each line drawn at the font's own size (every block of these records fits).
class PlainAddressBlocks {
public:
    PlainAddressBlocks(const platform::TStringGrid& grid, QPaintDevice* device) : m_grid(grid)
    {
        m_font = QFont(QStringLiteral("Liberation Sans"));
        m_font.setPixelSize(R(12 * Dpi / 96.0));
        m_metrics = std::make_unique<QFontMetrics>(m_font, device);
        m_size = QSize(R(Dpi * 9910 / 2540.0), R(Dpi * 3810 / 2540.0));
    }

    void draw(QPainter& painter, int row, QPoint at)
    {
        const QStringList lines = addressbook::AddressText(m_grid, row).split(u'\r', Qt::SkipEmptyParts);
        int width = 0;
        for (const QString& line : lines)
            width = std::max(width, m_metrics->horizontalAdvance(line));
        const int height = static_cast<int>(lines.size()) * m_metrics->height();
        const QRect label(at, m_size);
        const int left = label.left() + (label.width() - width) / 2;
        int baseline = label.top() + (label.height() - height) / 2 + m_metrics->ascent();
        painter.setFont(m_font);
        painter.setPen(Qt::black);
        painter.setClipRect(label);
        for (const QString& line : lines) {
            painter.drawText(QPoint(left, baseline), line);
            baseline += m_metrics->height();
        }
        painter.setClipping(false);
    }

private:
    const platform::TStringGrid& m_grid;
    QFont m_font;
    std::unique_ptr<QFontMetrics> m_metrics;
    QSize m_size;
};

Figures plainRun(int records, const QString& file, const std::function<void(QPainter&, QPaintDevice*, int, QPoint)>& draw)
{
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
    return timed(
        records,
        [&] {
            writer.reset(newPdfWriter(file));
            painter.begin(writer.get());
        },
        [&](int i) {
            const platform::TPoint at = labelOrigin(i);
            draw(painter, writer.get(), i + 1, QPoint(at.X, at.Y));
        },
        [&] { writer->newPage(); },
        [&] {
            painter.end();
            writer.reset();
        });
}

// What a mailing run adds to the memory already held (the book): its peak less the resident
// memory at its start.
long g_growthKb = 0;

Figures mailingRun(const TMailingJob& job, const QString& file)
{
    platform::PdfPrinter printer(file);
    printer.SetResolution(Dpi);
    resetPeak();
    const long before = bench::rssKb();
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    const addressbook::TMailingPrintResult result = addressbook::ImprimerMailing(job, printer);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const long peak = peakKb();
    g_growthKb = std::max(g_growthKb, peak - before);
    return {static_cast<int>(result.Labels), seconds, static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC,
            peak};
}

void compare(const char* mode, int rounds, const std::function<Figures()>& plain, const QString& plainFile,
             const std::function<Figures()>& mailing, const QString& mailingFile, const QStringList& childArgs)
{
    // The three take turns; the ratios compare the best run of each, so that a busy moment of the
    // machine weighs on none.
    Figures bestPlain;
    Figures bestMailing;
    Figures bestGlibc;
    long worstPeak = 0;
    g_growthKb = 0;
    for (int round = 0; round < rounds; ++round) {
        const Figures p = plain();
        printFigures("plain QPainter", p, plainFile);
        if (p.perSecond() > bestPlain.perSecond())
            bestPlain = p;
        const Figures m = mailing();
        printFigures("mailing", m, mailingFile);
        if (m.perSecond() > bestMailing.perSecond())
            bestMailing = m;
        worstPeak = std::max(worstPeak, m.peakKb);
        const Figures g = readChildFigures(bench::runWithGlibcHeap(childArgs));
        printFigures("mailing, glibc heap defaults (child)", g, childArgs.at(1));
        if (g.perSecond() > bestGlibc.perSecond())
            bestGlibc = g;
    }
    std::printf("%s: mailing / plain QPainter, best of %d runs each: rate ratio %.3f, CPU-time ratio %.3f; mailing peak RSS %.1f MB, "
                "%.1f MB over the book held before it\n",
                mode, rounds, bestPlain.perSecond() > 0 ? bestMailing.perSecond() / bestPlain.perSecond() : 0.0,
                bestMailing.cpuSeconds > 0 ? bestPlain.cpuSeconds / bestMailing.cpuSeconds : 0.0, worstPeak / 1024.0,
                g_growthKb / 1024.0);
    printHeapPair(mode, bestMailing, bestGlibc);
}

// The book of `records` records, all marked, and the simple address label job over it.
void prepareJob(platform::TStringGrid& grid, TMailingJob& job, int records)
{
    fillBook(grid, records);
    job.Grid = &grid;
    addressbook::TFirstLabel first;
    job.Layout = addressbook::CalculerMiseEnPage(sheetFormat(), addressbook::SelectionOfMarks(grid), 96, first);
    job.Font.SetPixelsPerInch(96);
    job.Font.SetName(QStringLiteral("Liberation Sans"));
    job.Font.SetHeight(-12);
    job.Title = QStringLiteral("bench");
}

// The job in design mode: the address design, saved in `folder` for the mailing to load.
TMailingJob designJobOf(const TMailingJob& job, TDesignModel& model, const QString& folder)
{
    buildAddressDesign(model);
    TMailingJob designJob = job;
    designJob.Mode = TMailingMode::Design;
    designJob.DesignPath = QDir(folder).filePath(QStringLiteral("address.car"));
    design::SaveDesignDocument(model, designJob.DesignPath);
    return designJob;
}

// The child run with glibc's heap defaults: one mailing of `records` records in one mode, into
// `file`; its figures go to the parent.
int glibcHeapChild(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_mailing %s records file addresses|design\n", bench::GlibcHeapFlag);
        return 2;
    }
    const int records = std::max(1, atoi(argv[2]));
    const QString file = QString::fromLocal8Bit(argv[3]);
    platform::TStringGrid grid;
    TMailingJob job;
    prepareJob(grid, job, records);
    if (qstrcmp(argv[4], "design") != 0) {
        writeChildFigures(mailingRun(job, file));
        return 0;
    }
    QTemporaryDir temp;
    design::TCurrentFormat format = sheetFormat();
    TDesignModel model(format);
    writeChildFigures(mailingRun(designJobOf(job, model, temp.path()), file));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool glibcHeap = bench::takeProgramHeap(argc, argv);
    bench::offscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    if (glibcHeap)
        return glibcHeapChild(argc, argv);
    const int records = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::tempPath();
    const QString which = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QStringLiteral("all");
    const int rounds = argc > 4 ? std::max(1, atoi(argv[4])) : 3;

    platform::TStringGrid grid;
    TMailingJob job;
    prepareJob(grid, job, records);
    std::printf("%d records, %d sheets; peak RSS before printing %.1f MB\n", records, job.Layout.NbFeuilles,
                peakKb() / 1024.0);

    if (which == "all" || which == "addresses") {
        const QString plainFile = QDir(folder).filePath("bench_mailing_addresses_qpainter.pdf");
        const QString mailingFile = QDir(folder).filePath("bench_mailing_addresses.pdf");
        const QString glibcFile = QDir(folder).filePath("bench_mailing_addresses_glibc.pdf");
        compare(
            "address", rounds,
            [&] {
                std::unique_ptr<PlainAddressBlocks> blocks;
                return plainRun(records, plainFile, [&](QPainter& painter, QPaintDevice* device, int row, QPoint at) {
                    if (!blocks)
                        blocks = std::make_unique<PlainAddressBlocks>(grid, device);
                    blocks->draw(painter, row, at);
                });
            },
            plainFile, [&] { return mailingRun(job, mailingFile); }, mailingFile,
            {QString::number(records), glibcFile, QStringLiteral("addresses")});
    }
    if (which == "all" || which == "design") {
        QTemporaryDir temp;
        design::TCurrentFormat format = sheetFormat();
        TDesignModel model(format);
        const TMailingJob designJob = designJobOf(job, model, temp.path());
        const double scale = DesignScale(Dpi, TDesignModel::DesignPixelsPerInch);
        const QString plainFile = QDir(folder).filePath("bench_mailing_design_qpainter.pdf");
        const QString mailingFile = QDir(folder).filePath("bench_mailing_design.pdf");
        const QString glibcFile = QDir(folder).filePath("bench_mailing_design_glibc.pdf");
        compare(
            "design", rounds,
            [&] {
                PlainAddressPrinter plainPrinter(model, grid, scale);
                return plainRun(records, plainFile, [&](QPainter& painter, QPaintDevice*, int row, QPoint at) {
                    plainPrinter.draw(painter, row, at);
                });
            },
            plainFile, [&] { return mailingRun(designJob, mailingFile); }, mailingFile,
            {QString::number(records), glibcFile, QStringLiteral("design")});
    }
    return 0;
}
