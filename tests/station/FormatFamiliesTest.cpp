#include "platform/Errors.h"
#include "platform/TIniFile.h"
#include "platform/TStringGrid.h"
#include "station/FormatFamilies.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace station;
using platform::TStringGrid;
using testsupport::crlfLines;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const QString Defaut = QStringLiteral("Default format");

QByteArray format(const QString& nom, const QString& largeur = "7000")
{
    return crlfLines({nom, largeur, "4200", "3", "7", "0", "0", "0", "0", "0", "0"});
}

QStringList names(const TStringGrid& g)
{
    QStringList out;
    for (int r = 0; r < g.RowCount(); ++r)
        out << g.Cell(cfName, r);
    return out;
}

QStringList familyNames(const std::vector<TFamilyFile>& f)
{
    QStringList out;
    for (const TFamilyFile& x : f)
        out << x.Name;
    return out;
}

} // namespace

TEST(FamilyFile, MissingEmptyAndBlankFilesGiveTheDefaultRow)
{
    QTemporaryDir dir;
    TStringGrid g;
    g.SetColCount(FormatCellCount);
    g.SetRowCount(4);
    LireFamilleFormats(dir.filePath("missing.for"), g, Defaut);
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(TLigneFormat::FromGrid(g, 0).List(), TLigneFormat::Default(Defaut).List());

    // An existing but empty file, and one holding only blank lines, are no better than none:
    // the family still has its one row for every caller that reads row 0.
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\r\n"), QByteArray("\r\n\r\n\r\n")}) {
        writeBytes(dir.filePath("empty.for"), bytes);
        TStringGrid e;
        LireFamilleFormats(dir.filePath("empty.for"), e, Defaut);
        EXPECT_EQ(e.RowCount(), 1);
        EXPECT_EQ(e.Cell(cfName, 0), Defaut);
        EXPECT_EQ(e.ColCount(), FormatCellCount);
    }
}

TEST(FamilyFile, ShortRecordsAndTrailingBlankLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.for");
    // Two formats, then a stray blank line: the blank record is not a format.
    writeBytes(path, format("B") + format("A") + "\r\n");
    TStringGrid g;
    LireFamilleFormats(path, g, Defaut);
    EXPECT_EQ(names(g), (QStringList{"A", "B"}));

    // A record cut short keeps what it has and reads empty cells for the rest.
    writeBytes(path, format("B") + QByteArray("A\r\n6000\r\n"));
    LireFamilleFormats(path, g, Defaut);
    ASSERT_EQ(g.RowCount(), 2);
    EXPECT_EQ(g.Cell(cfName, 0), "A");
    EXPECT_EQ(g.Cell(cfWidth, 0), "6000");
    EXPECT_EQ(g.Cell(cfHeight, 0), "");
    EXPECT_EQ(g.Cell(cfEllipseHeight, 0), "");
    EXPECT_THROW(TLigneFormat::FromGrid(g, 0).Integer(cfHeight), platform::EConvertError);

    // A blank record in the middle is kept: only the end is tidied.
    writeBytes(path, format("B") + crlfLines(QStringList(11, QString())) + format("A"));
    LireFamilleFormats(path, g, Defaut);
    EXPECT_EQ(names(g), (QStringList{"", "A", "B"}));
}

TEST(FamilyFile, WriteAndReadRoundTripWithCrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Formats personnalisés.for");
    TStringGrid g;
    g.SetColCount(FormatCellCount);
    g.SetRowCount(2);
    g.SetRow(0, {"Roll - Étiquette 1\"", "8900", "3600", "1", "1", "0", "300", "0", "0", "0", "0"});
    g.SetRow(1, {"A4 - Cartes", "8500", "5400", "2", "5", "1000", "0", "99999", "99999", "0", "0"});
    EcrireFamilleFormats(g, path);

    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.startsWith("Roll - \xC3\x89tiquette 1\"\r\n8900\r\n"));
    EXPECT_TRUE(bytes.endsWith("99999\r\n99999\r\n0\r\n0\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 22);
    EXPECT_EQ(bytes.count('\n'), 22); // no bare line feeds

    TStringGrid back;
    LireFamilleFormats(path, back, Defaut);
    ASSERT_EQ(back.RowCount(), 2);
    // Read back sorted by name; the cells come back exactly as written.
    EXPECT_EQ(back.Rows(0), g.Rows(1));
    EXPECT_EQ(back.Rows(1), g.Rows(0));

    // Windows-1252 files from earlier versions read as well.
    writeBytes(path, "Format sp\xE9" "cial\r\n7000\r\n4200\r\n3\r\n7\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n");
    LireFamilleFormats(path, back, Defaut);
    EXPECT_EQ(back.Cell(cfName, 0), QStringLiteral("Format spécial"));
}

TEST(FamilyFile, FormatsOfTheSameNameKeepTheirFileOrderAtEveryReadAndWrite)
{
    // The remembered format is an index into the family: a pair of equal names swapping places
    // at each start would select the other one.
    QTemporaryDir dir;
    const QString path = dir.filePath("Family.for");
    writeBytes(path, format("Same", "1000") + format("Other", "2000") + format("Same", "3000")
                         + format("Alpha", "4000") + format("Same", "5000"));
    for (int round = 0; round < 3; ++round) {
        TStringGrid g;
        LireFamilleFormats(path, g, Defaut);
        ASSERT_EQ(g.RowCount(), 5);
        QStringList widths;
        for (int r = 0; r < g.RowCount(); ++r)
            widths << g.Cell(cfName, r) + ' ' + g.Cell(cfWidth, r);
        EXPECT_EQ(widths, (QStringList{"Alpha 4000", "Other 2000", "Same 1000", "Same 3000", "Same 5000"}))
            << "after " << round << " writes";
        EcrireFamilleFormats(g, path);
    }
}

TEST(FamilyFile, ALineBreakInACellNeverShiftsTheFollowingFormats)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("f.for");
    TStringGrid g;
    g.SetColCount(FormatCellCount);
    g.SetRowCount(3);
    g.SetRow(0, {"A - two\nlines", "8900", "3600", "1", "1", "0", "0", "0", "0", "0", "0"});
    g.SetRow(1, {"B - old\r\nend", "7000", "4200", "3", "7", "0", "0", "0", "0", "0", "0"});
    g.SetRow(2, {"C", "6000", "3000", "2", "4", "0", "0", "0", "0\r", "0", "0"});
    EcrireFamilleFormats(g, path);
    EXPECT_EQ(readBytes(path).count('\n'), 33);

    TStringGrid back;
    LireFamilleFormats(path, back, Defaut);
    EXPECT_EQ(names(back), (QStringList{"A - two lines", "B - old end", "C"}));
    EXPECT_EQ(back.Cell(cfWidth, 1), "7000");
    EXPECT_EQ(back.Cell(cfRows, 2), "4");
    EXPECT_EQ(back.Cell(cfMarginTop, 2), "0 ");
}

TEST(FamilyFile, UnreadableFileLeavesTheGridAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("dir.for");
    QDir().mkpath(path); // exists, but cannot be read as a file
    TStringGrid g;
    g.SetColCount(FormatCellCount);
    g.SetRow(0, {"Kept"});
    EXPECT_THROW(LireFamilleFormats(path, g, Defaut), platform::EInOutError);
    EXPECT_EQ(g.Cell(cfName, 0), "Kept");
}

TEST(SortGrid, OrdinalOrderWholeRows)
{
    TStringGrid g;
    g.SetColCount(3);
    const QStringList noms{"b", "B", "a", "Ab", "A", "é", "z", "A", "10", "9", "Œuvre", "€"};
    g.SetRowCount(static_cast<int>(noms.size()));
    for (int r = 0; r < noms.size(); ++r)
        g.SetRow(r, {noms[r], QString::number(r), noms[r] + "!"});
    TrierGrille(g, 0, g.RowCount() - 1, 0);
    // Digits, then capitals, then small letters; a prefix first; accented letters by their
    // Windows-1252 codes (0x80 euro, 0x8C OE, 0xE9 e acute) after ASCII.
    EXPECT_EQ(names(g), (QStringList{"10", "9", "A", "A", "Ab", "B", "a", "b", "z", "€", "Œuvre", "é"}));
    for (int r = 0; r < g.RowCount(); ++r) {
        EXPECT_EQ(g.Cell(2, r), g.Cell(0, r) + "!"); // rows moved whole
        EXPECT_EQ(noms[g.Cell(1, r).toInt()], g.Cell(0, r));
    }

    // Only the given range moves; the rest stays where it was.
    TStringGrid p;
    p.SetColCount(1);
    p.SetRowCount(5);
    const QStringList partiel{"e", "d", "c", "b", "a"};
    for (int r = 0; r < 5; ++r)
        p.SetCell(0, r, partiel[r]);
    TrierGrille(p, 1, 3, 0);
    EXPECT_EQ(names(p), (QStringList{"e", "b", "c", "d", "a"}));
    TrierGrille(p, 3, 1, 0); // an empty range changes nothing
    EXPECT_EQ(names(p), (QStringList{"e", "b", "c", "d", "a"}));

    // Large families in order or in reverse order sort without trouble.
    TStringGrid big;
    big.SetColCount(1);
    big.SetRowCount(2000);
    for (int r = 0; r < 2000; ++r)
        big.SetCell(0, r, QStringLiteral("%1").arg(2000 - r, 5, 10, QLatin1Char('0')));
    TrierGrille(big, 0, 1999, 0);
    for (int r = 1; r < 2000; ++r)
        ASSERT_LT(big.Cell(0, r - 1), big.Cell(0, r));
}

TEST(DeleteFormat, KeepsOneDefaultRowAndSelectsANeighbour)
{
    TStringGrid g;
    g.SetColCount(FormatCellCount);
    g.SetRowCount(3);
    g.SetRow(0, {"A", "1"});
    g.SetRow(1, {"B", "2"});
    g.SetRow(2, {"C", "3"});

    EXPECT_EQ(DeleteFormat(g, 1, Defaut), 1);
    EXPECT_EQ(names(g), (QStringList{"A", "C"}));
    EXPECT_EQ(g.Cell(cfWidth, 1), "3");
    // Deleting the last row selects the new last one.
    EXPECT_EQ(DeleteFormat(g, 1, Defaut), 0);
    EXPECT_EQ(names(g), (QStringList{"A"}));
    // The only format becomes the default row; the family never empties.
    EXPECT_EQ(DeleteFormat(g, 0, Defaut), 0);
    EXPECT_EQ(g.RowCount(), 1);
    EXPECT_EQ(TLigneFormat::FromGrid(g, 0).List(), TLigneFormat::Default(Defaut).List());

    // No selection deletes nothing.
    g.SetRowCount(2);
    g.SetRow(1, {"Z"});
    EXPECT_EQ(DeleteFormat(g, -1, Defaut), 0);
    EXPECT_EQ(g.RowCount(), 2);
}

TEST(FamilyList, CustomFamilyIsFoundIgnoringCaseAndKeptLast)
{
    QTemporaryDir dir;
    // No custom file: it is appended, with the path it will be written to.
    std::vector<TFamilyFile> f = ListFamilies(dir.path());
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].Name, CustomFamilyName);
    EXPECT_EQ(f[0].Path, dir.filePath(CustomFamilyName + ".for"));

    writeBytes(dir.filePath("b family.for"), format("x"));
    writeBytes(dir.filePath("A family.FOR"), format("x"));
    writeBytes(dir.filePath("FORMATS PERSONNALISÉS.for"), format("mine"));
    writeBytes(dir.filePath("Zeta.for"), format("x"));             // sorts after the custom one
    writeBytes(dir.filePath("cards.v2.for"), format("dotted"));    // a dot in the name
    writeBytes(dir.filePath("notes.txt"), "not a family");
    f = ListFamilies(dir.path());
    EXPECT_EQ(familyNames(f), (QStringList{"A family", "b family", "cards", "Zeta", "FORMATS PERSONNALISÉS"}));
    // The file with a dot keeps its real path, so it is read and written as one family.
    EXPECT_EQ(f[2].Path, dir.filePath("cards.v2.for"));
    EXPECT_EQ(f[4].Path, dir.filePath("FORMATS PERSONNALISÉS.for"));
    EXPECT_TRUE(IsCustomFamily("formats PERSONNALISés"));
    EXPECT_FALSE(IsCustomFamily("Formats personnalises"));

    // A decomposed accent (as some file systems store names) is the same family.
    EXPECT_TRUE(IsCustomFamily(QStringLiteral("Formats personnalise\u0301s")));
}

TEST(FamilyList, MoreThanNineFamiliesAllLoad)
{
    QTemporaryDir dir;
    for (int i = 0; i < 12; ++i)
        writeBytes(dir.filePath(QStringLiteral("Family %1.for").arg(i, 2, 10, QLatin1Char('0'))),
                   format(QStringLiteral("F%1").arg(i)));
    TFormatFamilies familles;
    EXPECT_TRUE(familles.Load(dir.path(), Defaut).isEmpty());
    ASSERT_EQ(familles.Count(), 13);
    EXPECT_EQ(familles.CustomIndex(), 12);
    EXPECT_EQ(familles.Family(11).Name, "Family 11");
    EXPECT_EQ(familles.Grid(11)->Cell(cfName, 0), "F11");
    EXPECT_EQ(familles.Grid(11)->objectName(), "Grille11");
    EXPECT_EQ(familles.Grid(12)->Cell(cfName, 0), Defaut);
    EXPECT_EQ(familles.Grid(13), nullptr);
    EXPECT_EQ(familles.Grid(-1), nullptr);
}

TEST(FamilyWrite, EveryFamilyIsWrittenAndFailuresAreReportedTogether)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("A.for"), format("a1"));
    writeBytes(dir.filePath("B.for"), format("b1"));
    TFormatFamilies familles;
    ASSERT_TRUE(familles.Load(dir.path(), Defaut).isEmpty());
    ASSERT_EQ(familles.Count(), 3);
    familles.Grid(2)->SetRow(0, {"Mine", "5000", "3000", "2", "2", "0", "0", "0", "0", "0", "0"});

    // Family B's file turns into a folder: it cannot be written, but the custom family after
    // it still is.
    QFile::remove(dir.filePath("B.for"));
    QDir().mkpath(dir.filePath("B.for"));
    familles.Grid(0)->SetCell(cfWidth, 0, "7100");
    const QStringList erreurs = familles.Write();
    ASSERT_EQ(erreurs.size(), 1);
    EXPECT_TRUE(erreurs[0].contains("B.for"));
    EXPECT_EQ(readBytes(dir.filePath("A.for")), format("a1", "7100"));
    EXPECT_EQ(readBytes(dir.filePath(CustomFamilyName + ".for")),
              crlfLines({"Mine", "5000", "3000", "2", "2", "0", "0", "0", "0", "0", "0"}));
}

TEST(FamilyWrite, AFamilyThatFailedToLoadIsNeverOverwritten)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("Good.for"), format("g"));
    QDir().mkpath(dir.filePath("Broken.for")); // exists, but cannot be read as a file
    std::vector<TFamilyFile> fichiers = ListFamilies(dir.path());
    fichiers.insert(fichiers.begin(), {"Broken", dir.filePath("Broken.for")});
    TFormatFamilies familles;
    const QStringList erreurs = familles.Load(fichiers, Defaut);
    ASSERT_EQ(erreurs.size(), 1);
    EXPECT_TRUE(erreurs[0].contains("Broken.for"));
    ASSERT_EQ(familles.Count(), 3);
    EXPECT_FALSE(familles.Family(0).Loaded);
    EXPECT_EQ(familles.Grid(0)->RowCount(), 1); // callers still find a row
    EXPECT_EQ(familles.Grid(0)->Cell(cfName, 0), Defaut);
    EXPECT_TRUE(familles.Family(1).Loaded);
    EXPECT_EQ(familles.Grid(1)->Cell(cfName, 0), "g"); // the others still load

    EXPECT_TRUE(familles.Write().isEmpty());
    EXPECT_TRUE(QFileInfo(dir.filePath("Broken.for")).isDir());
    EXPECT_TRUE(QFile::exists(dir.filePath(CustomFamilyName + ".for")));
}

TEST(RememberedFormat, SettingsKeysAndOutOfRangeIndices)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("p.ini");
    writeBytes(ini, "[Dernier format]\r\nFamille=7\r\nFormat=abc\r\nAutre=1\r\n");
    {
        const platform::TIniFile f(ini);
        const TLastFormat d = ReadLastFormat(f);
        EXPECT_EQ(d.Family, 7);
        EXPECT_EQ(d.Format, 0); // not a number: the default
    }
    EXPECT_EQ(ReadLastFormat(platform::TIniFile(dir.filePath("none.ini"))).Family, 0);
    {
        platform::TIniFile f(ini);
        WriteLastFormat(f, {2, 5});
        f.UpdateFile();
    }
    EXPECT_EQ(readBytes(ini), QByteArray("[Dernier format]\r\nFamille=2\r\nFormat=5\r\n\r\n"));

    EXPECT_EQ(ValidIndex(7, 3), 0);
    EXPECT_EQ(ValidIndex(3, 3), 0);
    EXPECT_EQ(ValidIndex(-1, 3), 0);
    EXPECT_EQ(ValidIndex(2, 3), 2);
}
