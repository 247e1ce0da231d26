#include "addressbook/AddressBook.h"
#include "addressbook/AddressBookFile.h"

#include "TestSupport.h"
#include "platform/Errors.h"
#include "platform/TIniFile.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace addressbook;
using testsupport::crlfLines;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// The lines of one row: mark, copies, then the 16 cells (the first ones given, the rest empty).
QStringList rowLines(int mark, int copies, QStringList cells)
{
    while (cells.size() < ColumnCount)
        cells << QString();
    return QStringList{QString::number(mark), QString::number(copies)} + cells;
}

QStringList titleLines()
{
    return rowLines(0, 1, DefaultTitles());
}

QStringList names(const TAddressBook& book)
{
    QStringList out;
    for (int row = 1; row <= book.LastRow(); ++row)
        out << book.Grille.Cell(Nom, row);
    return out;
}

} // namespace

TEST(AddressBookFile, RoundTripIsByteExact)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("book.rep");
    // A cell holding the exchange files' separators and accented letters stays as it is.
    const QByteArray bytes = crlfLines(QStringList{"3", "6"} + titleLines()
                                       + rowLines(1, 3, {"Dupont", "Zoë", "Mr", "1; rue\tHaute"})
                                       + rowLines(0, 1, {"Martin", "", "", "", "", "75001", "Paris"}));
    writeBytes(path, bytes);
    TAddressBook book;
    book.DerniereLigne = 2;
    EXPECT_EQ(book.LireRepertoire(path), "");
    EXPECT_EQ(book.NbFiches(), 2);
    EXPECT_EQ(book.ColonneTri, 6);
    EXPECT_EQ(book.Grille.Row(), 2);
    EXPECT_EQ(book.Grille.Cell(Adresse1, 1), "1; rue\tHaute");
    EXPECT_EQ(book.Grille.Marques.mid(0, 3), QList<int>({0, 1, 0}));
    EXPECT_EQ(book.Grille.Copies.mid(0, 3), QList<int>({1, 3, 1}));
    book.EcrireRepertoire(path);
    EXPECT_EQ(readBytes(path), bytes);

    // An empty book is one blank record; it too reads back as it was written.
    TAddressBook empty;
    empty.EcrireRepertoire(path);
    EXPECT_EQ(readBytes(path), crlfLines(QStringList{"2", "0"} + titleLines() + rowLines(0, 1, {})));
    TAddressBook again;
    EXPECT_EQ(again.LireRepertoire(path), "");
    EXPECT_EQ(again.NbFiches(), 1);
    EXPECT_EQ(RepertoireBytes(again.Grille, again.ColonneTri), readBytes(path));
}

// Values the book cannot hold are brought into range; a count below 2 is an empty book.
TEST(AddressBookFile, ValuesReadAreBroughtIntoRange)
{
    struct Case {
        const char* what;
        QStringList lines;
        int lastRowSetting;
        int records, mark, copies, sortColumn, currentRow;
    };
    const Case cases[] = {
        {"copies 0, mark 2, sort 99", QStringList{"2", "99"} + titleLines() + rowLines(2, 0, {"A"}), 1, 1, 0, 1, 0, 1},
        {"copies -5, mark 1, sort -1", QStringList{"2", "-1"} + titleLines() + rowLines(1, -5, {"A"}), 1, 1, 1, 1, 0, 1},
        {"last row past the end", QStringList{"3", "5"} + titleLines() + rowLines(0, 2, {"A"}) + rowLines(0, 1, {"B"}), 9, 2, 0, 2, 5, 2},
        {"last row 0", QStringList{"3", "5"} + titleLines() + rowLines(0, 2, {"A"}) + rowLines(0, 1, {"B"}), 0, 2, 0, 2, 5, 1},
        {"row count 1", QStringList{"1", "0"} + titleLines(), 1, 1, 0, 1, 0, 1},
        {"row count -3", QStringList{"-3", "0"}, 1, 1, 0, 1, 0, 1},
    };
    QTemporaryDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(dir.filePath("b.rep"), crlfLines(c.lines));
        TAddressBook book;
        book.DerniereLigne = c.lastRowSetting;
        EXPECT_EQ(book.LireRepertoire(dir.filePath("b.rep")), "");
        EXPECT_EQ(book.NbFiches(), c.records);
        EXPECT_EQ(book.Grille.MarkOf(1), c.mark);
        EXPECT_EQ(book.Grille.Copies.value(1), c.copies);
        EXPECT_EQ(book.ColonneTri, c.sortColumn);
        EXPECT_EQ(book.Grille.Row(), c.currentRow);
        EXPECT_GE(book.Grille.Marques.size(), book.Grille.RowCount());
        EXPECT_GE(book.Grille.Copies.size(), book.Grille.RowCount());
    }
}

// A damaged file keeps every record read whole, reports where it stopped, and goes aside as
// "<file>.bak" before the book is first written over it.
TEST(AddressBookFile, DamagedFileLosesNothingReadable)
{
    const QStringList whole = QStringList{"5", "0"} + titleLines() + rowLines(0, 1, {"A"}) + rowLines(1, 2, {"B"})
                              + rowLines(0, 1, {"C"}) + rowLines(0, 1, {"D"});
    struct Case {
        const char* what;
        QByteArray bytes;
        int records;
        QString firstName;
    };
    QStringList midRow3 = whole.mid(0, 2 + 18 * 3 + 7);
    QStringList badMark = whole;
    badMark[2 + 18 * 3] = "x";
    const Case cases[] = {
        {"ends in the middle of row 3", crlfLines(midRow3), 2, "A"},
        {"a mark that is no number", crlfLines(badMark), 2, "A"},
        {"ends within the titles", crlfLines(whole.mid(0, 9)), 1, ""},
        {"no number at all", "garbage\r\n", 1, ""},
    };
    QTemporaryDir dir;
    const QString path = dir.filePath("b.rep");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(path, c.bytes);
        QFile::remove(path + ".bak");
        TAddressBook book;
        EXPECT_NE(book.LireRepertoire(path), "");
        EXPECT_EQ(book.NbFiches(), c.records);
        EXPECT_EQ(book.Grille.Cell(Nom, 1), c.firstName);
        EXPECT_EQ(book.Grille.Cell(Nom, 0), "<Surname>");
        if (c.records == 2) {
            EXPECT_EQ(book.Grille.Copies.mid(0, 3), QList<int>({1, 1, 2}));
        }
        book.EcrireRepertoire(path);
        EXPECT_EQ(readBytes(path + ".bak"), c.bytes);
        // Only the first write keeps the original: later ones must not replace it with the book.
        book.EcrireRepertoire(path);
        EXPECT_EQ(readBytes(path + ".bak"), c.bytes);
        TAddressBook again;
        EXPECT_EQ(again.LireRepertoire(path), "");
        EXPECT_EQ(again.NbFiches(), c.records);
    }
    // A sound file makes no backup.
    QFile::remove(path + ".bak");
    writeBytes(path, crlfLines(whole));
    TAddressBook book;
    EXPECT_EQ(book.LireRepertoire(path), "");
    book.EcrireRepertoire(path);
    EXPECT_FALSE(QFile::exists(path + ".bak"));
}

TEST(AddressBookFile, FailedWriteIsReported)
{
    QTemporaryDir dir;
    // A folder that is a file: no write can succeed, whoever runs the test.
    writeBytes(dir.filePath("file"), "x");
    TAddressBook book;
    book.Ajouter();
    EXPECT_THROW(book.EcrireRepertoire(dir.filePath("file/b.rep")), platform::EInOutError);
    EXPECT_TRUE(book.Modifie);
}

TEST(AddressBook, AddDeleteAndEdit)
{
    TAddressBook book;
    QSignalSpy moves(&book.Grille, &platform::TStringGrid::currentChanged);
    book.Grille.SetCell(Nom, 1, "A");
    book.Ajouter();
    EXPECT_EQ(book.NbFiches(), 2);
    EXPECT_EQ(book.Grille.Row(), 2);
    EXPECT_EQ(moves.size(), 1);
    EXPECT_TRUE(book.Modifie);
    EXPECT_TRUE(book.ModifierCellule(Nom, 2, "B\r\nb"));
    EXPECT_EQ(book.Grille.Cell(Nom, 2), "Bb");
    EXPECT_FALSE(book.ModifierCellule(Nom, 2, "Bb"));
    book.Ajouter();
    book.ModifierCellule(Nom, 3, "C");
    book.Grille.Marques[3] = 1;
    book.Grille.Copies[3] = 4;

    // The rows below move up with their lists; the lists keep their length.
    book.Enlever(2, 2);
    EXPECT_EQ(names(book), QStringList({"A", "C"}));
    EXPECT_EQ(book.Grille.Marques, QList<int>({0, 0, 1, 0}));
    EXPECT_EQ(book.Grille.Copies, QList<int>({1, 1, 4, 1}));

    // Deleting every record leaves one blank record, mark 0, copies 1, and a count of 1, and
    // never makes the title row current.
    moves.clear();
    book.Enlever(1, 2);
    EXPECT_EQ(book.NbFiches(), 1);
    EXPECT_EQ(book.Grille.Cell(Nom, 1), "");
    EXPECT_EQ(book.Grille.MarkOf(1), 0);
    EXPECT_EQ(book.Grille.CopiesOf(1), 1);
    for (const QList<QVariant>& move : moves)
        EXPECT_GE(move.at(1).toInt(), 1);
}

TEST(AddressBook, SettingsKeys)
{
    QTemporaryDir dir;
    platform::TIniFile ini(dir.filePath("p.ini"));
    ini.WriteString("Colonnes", "Stale", "1");
    ini.WriteInteger("Colonnes", "Col3", 99);
    ini.WriteInteger("Options", "Cadre", 1);
    TAddressBook book;
    book.ReadSettings(ini);
    EXPECT_EQ(book.ColWidths[3], 99);
    EXPECT_EQ(book.ColWidths[12], 212);
    EXPECT_EQ(book.DerniereLigne, 1);
    book.Ajouter();
    book.WriteSettings(ini);
    EXPECT_EQ(ini.ReadSection("Colonnes").size(), 16);
    EXPECT_FALSE(ini.ValueExists("Colonnes", "Stale"));
    EXPECT_EQ(ini.ReadInteger("Options", "LastRow", 0), 2);
    EXPECT_EQ(ini.ReadInteger("Options", "Cadre", 0), 1);
}
