#include "database/DbTable.h"
#include "database/TableFile.h"

#include "TestSupport.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace database;

namespace {

// A small table file: `fields` named A, B, C...; `records` records whose cells are "<field><row>".
QStringList tableLines(int fields, int records)
{
    QStringList l{QString::number(fields), QString::number(records + 1), "1", "327", "450"};
    for (int i = 0; i < fields; ++i) {
        const QPoint p = TCardLayout::DefaultPosition(i);
        l << QString::number(64 + i) << QString::number(p.x()) << QString::number(p.y()) << "1";
    }
    for (int r = 0; r <= records; ++r) {
        l << (r == 2 ? "1" : "0") << (r == 2 ? "3" : "1");
        for (int c = 0; c < fields; ++c)
            l << (r == 0 ? QString(QChar(u'A' + c)) : QString(QChar(u'A' + c)) + QString::number(r));
    }
    return l;
}

} // namespace

// What the file holds comes back byte for byte, cells with ";", TAB and accents included, and so
// does a new table's file.
TEST(TableFile, RoundTripsByteForByte)
{
    QStringList lines = tableLines(3, 2);
    lines[lines.indexOf("B1")] = "a;b\tc é";
    lines[3] = "500"; // card width
    lines[5 + 4 + 1] = "-13";
    for (const QByteArray& bytes : {testsupport::crlfLines(lines), TableFileBytes(DbTable().Data())}) {
        const TTableData d = ParseTableFile(bytes, "t.FIC");
        EXPECT_EQ(TableFileBytes(d), bytes);
    }
    const TTableData d = ParseTableFile(testsupport::crlfLines(lines), "t.FIC");
    EXPECT_EQ(d.Rows[1][1], "a;b\tc é");
    EXPECT_EQ(d.Card.Width, 500);
    EXPECT_EQ(d.Card.Left[1], -13);
    EXPECT_EQ(d.Marques, QList<int>({0, 0, 1}));
    EXPECT_EQ(d.Copies, QList<int>({1, 1, 3}));
    EXPECT_EQ(d.ColWidths, QList<int>({64, 65, 66}));
    // A new table is ten fields of width 64 and one empty record: 5 + 40 + 2 x 12 lines.
    EXPECT_EQ(TableFileBytes(DbTable().Data()).count("\r\n"), 69);
}

// Integer lines are read up to the first blank; LF alone and Windows-1252 files read as well.
TEST(TableFile, ReadsOlderSpellings)
{
    QStringList lines = tableLines(2, 1);
    lines[1] = "2 rows";
    lines[lines.indexOf("B1")] = "cafe";
    QByteArray bytes = testsupport::crlfLines(lines);
    bytes.replace("\r\n", "\n");
    bytes.replace("cafe", "caf\xe9");
    const TTableData d = ParseTableFile(bytes, "old.FIC");
    EXPECT_EQ(d.Rows.size(), 2);
    EXPECT_EQ(d.Rows[1][1], QString::fromUtf8("café"));
}

// Any line end reads the same table, the last one optional, whether the rows come as lists or
// packed for the grid.
TEST(TableFile, EveryLineEndReadsTheSameTable)
{
    const QByteArray crlf = testsupport::crlfLines(tableLines(3, 2));
    const TTableData expected = ParseTableFile(crlf, "t.FIC");
    ASSERT_EQ(expected.Rows.size(), 3);
    EXPECT_EQ(expected.Rows[2], QStringList({"A2", "B2", "C2"}));
    QByteArray lf = crlf;
    lf.replace("\r\n", "\n");
    QByteArray cr = crlf;
    cr.replace("\r\n", "\r");
    QByteArray mixed = crlf;
    mixed.replace("A1\r\n", "A1\r").replace("B1\r\n", "B1\n");
    const std::pair<const char*, QByteArray> cases[] = {
        {"CR LF", crlf}, {"LF", lf}, {"CR", cr}, {"mixed", mixed}, {"no end to the last line", crlf.chopped(2)},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        EXPECT_EQ(ParseTableFile(bytes, "t.FIC").Rows, expected.Rows);
        QList<platform::TCellRow> packed;
        const TTableData d = ParseTableFile(bytes, "t.FIC", packed);
        EXPECT_TRUE(d.Rows.isEmpty());
        EXPECT_EQ(d.Marques, expected.Marques);
        ASSERT_EQ(packed.size(), expected.Rows.size());
        for (qsizetype r = 0; r < packed.size(); ++r)
            EXPECT_EQ(packed[r].ToList(), expected.Rows[r]) << "row " << r;
    }
}

// Damaged files of every kind are refused with a message naming the file; none allocates by a
// damaged count.
TEST(TableFile, RefusesCountsOutsideTheTable)
{
    const auto with = [](int index, const QString& value) {
        QStringList l = tableLines(3, 2);
        l[index] = value;
        return testsupport::crlfLines(l);
    };
    QByteArray truncated = testsupport::crlfLines(tableLines(3, 2));
    truncated.chop(10);
    QByteArray extra = testsupport::crlfLines(tableLines(3, 2)) + "0\r\n1\r\nx\r\ny\r\nz\r\n";
    const std::pair<const char*, QByteArray> cases[] = {
        {"no field", with(0, "0")},
        {"41 fields", testsupport::crlfLines(tableLines(41, 1))},
        {"no row", with(1, "0")},
        {"huge row count", with(1, "2000000000")},
        {"more rows than lines", with(1, "4")},
        {"fewer rows than lines", with(1, "2")},
        {"lines left over", extra},
        {"truncated", truncated},
        {"not a number", with(2, "x")},
        {"mark not a number", with(5 + 12, "")},
        {"attribute too large", with(8, "70000")},
        {"empty file", QByteArray()},
    };
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        try {
            ParseTableFile(bytes, "/some/where/bad.FIC");
            ADD_FAILURE() << "read";
        } catch (const platform::Exception& e) {
            EXPECT_TRUE(e.message().contains("bad.FIC")) << e.message().toStdString();
        }
    }
    // Blank lines after the last row carry nothing and are let through.
    EXPECT_NO_THROW(ParseTableFile(testsupport::crlfLines(tableLines(3, 2)) + "\r\n\r\n", "ok.FIC"));
}

// A file with the field names only is a table of one blank record.
TEST(TableFile, NoRecordGivesOneBlankRecord)
{
    const TTableData d = ParseTableFile(testsupport::crlfLines(tableLines(2, 0)), "t.FIC");
    ASSERT_EQ(d.Rows.size(), 2);
    EXPECT_EQ(d.Rows[1], QStringList({"", ""}));
    EXPECT_EQ(d.Marques.size(), 2);
    EXPECT_EQ(d.Copies[1], 1);
}

// A failed read keeps the table, its name and its modified flag: the exit save would otherwise
// write a half-read table over the good file.
TEST(DbTableFiles, FailedReadKeepsTheTable)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("good.FIC");
    const QString bad = dir.filePath("bad.FIC");
    testsupport::writeBytes(good, testsupport::crlfLines(tableLines(3, 2)));
    QStringList damaged = tableLines(3, 5);
    damaged = damaged.mid(0, damaged.size() - 7);
    testsupport::writeBytes(bad, testsupport::crlfLines(damaged));
    DbTable t;
    t.Read(good);
    t.SetCell(0, 1, "changed");
    EXPECT_THROW(t.Read(bad), platform::Exception);
    EXPECT_THROW(t.Read(dir.filePath("missing.FIC")), platform::Exception);
    EXPECT_EQ(t.NomFichier, good);
    EXPECT_TRUE(t.Modifie);
    EXPECT_EQ(t.NbFiches(), 2);
    EXPECT_EQ(t.Grille.Cell(0, 1), "changed");
}

// A save that fails leaves the table modified and named as it was, so the exit still knows it is
// unsaved.
TEST(DbTableFiles, FailedSaveKeepsTheFlag)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("t.FIC");
    DbTable t;
    t.SetCell(0, 1, "one");
    t.SaveTo(path);
    EXPECT_FALSE(t.Modifie);
    t.SetCell(0, 1, "two");
    EXPECT_THROW(t.SaveTo(dir.filePath("no/such/folder/t.FIC")), platform::Exception);
    EXPECT_TRUE(t.Modifie);
    EXPECT_EQ(t.NomFichier, path);
    // Read back, everything the file holds returns.
    t.Card.Left[2] = 200;
    t.Card.Height = 600;
    t.ColonneTri = 2;
    t.AttributChamp[1] = 7;
    t.SetListEntry(1, 1, 4);
    t.SaveTo(path);
    DbTable back;
    back.Read(path);
    EXPECT_EQ(back.Data().Rows, t.Data().Rows);
    EXPECT_EQ(back.Card, t.Card);
    EXPECT_EQ(back.ColonneTri, 2);
    EXPECT_EQ(back.AttributChamp[1], 7);
    EXPECT_EQ(back.Grille.CopiesOf(1), 4);
    EXPECT_EQ(back.Grille.MarkOf(1), 1);
}
