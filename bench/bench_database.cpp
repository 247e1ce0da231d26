// A database table of 40 fields and 100,000 records: reading its file, writing it, sorting on a
// field and replacing a word present in every record. Prints the time of each step and the peak
// memory.
//   bench_database [records=100000]
#include "database/DbTable.h"
#include "database/TableFile.h"
#include "database/TableSearch.h"

#include "BenchSupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

using namespace database;

namespace {


const char* const Words[] = {"Martin", "Lyon", "rue", "Paris", "Besançon", "12", "Dupont", "Chêne", "blue",
                             "2024-03-01", "Nantes", "ref", "stock", "Müller", "green", "45,50"};

// Cells of one to three words; the word "order" stands in one cell of every record.
TTableData generate(int records)
{
    QRandomGenerator g(16);
    TTableData d;
    d.ColWidths = QList<int>(MaxFields, DefaultColWidth);
    d.AttributChamp.fill(1);
    d.Card = TCardLayout::Defaults();
    QStringList names;
    for (int c = 0; c < MaxFields; ++c)
        names << QStringLiteral("Field %1").arg(c + 1);
    d.Rows.reserve(records + 1);
    d.Rows << names;
    for (int r = 0; r < records; ++r) {
        QStringList cells;
        cells.reserve(MaxFields);
        for (int c = 0; c < MaxFields; ++c) {
            QString cell;
            for (quint32 w = g.bounded(1u, 4u); w > 0; --w)
                cell += QString::fromUtf8(Words[g.bounded(16u)]) + (w > 1 ? QStringLiteral(" ") : QString());
            cells << cell;
        }
        cells[static_cast<int>(g.bounded(static_cast<quint32>(MaxFields)))] += QStringLiteral(" order");
        d.Rows << cells;
    }
    d.Marques = QList<int>(d.Rows.size(), 0);
    d.Copies = QList<int>(d.Rows.size(), 1);
    return d;
}

double seconds(const QElapsedTimer& t)
{
    return static_cast<double>(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    bench::takeProgramHeap(argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    const QString path = dir.filePath("bench.FIC");
    WriteTableFile(path, generate(records));
    std::printf("table: %d fields, %d records, file %.1f MB\n", MaxFields, records,
                static_cast<double>(QFile(path).size()) / 1e6);

    DbTable table;
    QElapsedTimer t;
    t.start();
    table.Read(path);
    std::printf("load: %.3f s\n", seconds(t));

    t.restart();
    const QByteArray bytes = table.FileBytes();
    std::printf("save, the bytes alone: %.3f s\n", seconds(t));
    t.restart();
    table.SaveTo(dir.filePath("saved.FIC"));
    std::printf("save: %.3f s\n", seconds(t));

    t.restart();
    table.Sort(3);
    std::printf("sort on a field: %.3f s\n", seconds(t));

    TReplaceCursor replace;
    t.restart();
    const auto result = replace.ReplaceAll(table, QStringLiteral("ORDER"), QStringLiteral("command"));
    std::printf("replace all (%d changes): %.3f s\n", result.Count, seconds(t));
    std::printf("peak memory: %.0f MB\n", static_cast<double>(bench::peakKb()) / 1024.0);
    return result.Count >= records ? 0 : 1;
}
