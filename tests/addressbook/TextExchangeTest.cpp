#include "addressbook/AddressBook.h"
#include "addressbook/TextExchange.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace addressbook;
using testsupport::dataPath;
using testsupport::readBytes;

namespace {

const QList<QStringList> people = {
    {"Dupont", "Zoë", "Besançon", "25000"}, {"Martin", "Jean", "Paris", "75001"}, {"Müller", "Œdipe", "Strasbourg", "67000"}};

} // namespace

// Files written by another program (Python's csv writer: tests/data/addressbook), and the
// same records in the other ways lines end.
TEST(TextExchange, ReadsFilesOfOtherPrograms)
{
    struct Case {
        const char* what;
        QByteArray bytes;
        QChar separator;
        QList<QStringList> records;
    };
    const QByteArray lf = "Dupont\tZoë\tBesançon\t25000\nMartin\tJean\tParis\t75001\nMüller\tŒdipe\tStrasbourg\t67000\n";
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    QByteArray cr = lf;
    cr.replace("\n", "\r");
    const Case cases[] = {
        // Windows-1252, CR LF, a header line: the header is the first record.
        {"cp1252 with header", readBytes(dataPath("addressbook/crlf_cp1252_header.csv")), u';',
         QList<QStringList>{{"Nom", "Prénom", "Ville", "Code"}} + people},
        // UTF-8, LF, the last line without a line break: imported all the same.
        {"utf-8 no final break", readBytes(dataPath("addressbook/lf_utf8_no_final_break.txt")), u'\t', people},
        {"lf", lf, u'\t', people},
        {"crlf", crlf, u'\t', people},
        // Old Mac files end lines with a carriage return alone: each still ends a record.
        {"cr", cr, u'\t', people},
        // A line ending in CR alone among CR LF and LF lines, and a CR right before the file
        // ends: no record glued to the next.
        {"mixed line ends", "1;a\r\n2;b\r3;c\n4;d\r\n5;e\r", u';',
         {{"1", "a"}, {"2", "b"}, {"3", "c"}, {"4", "d"}, {"5", "e"}}},
        // Two carriage returns, or a line feed then CR LF, hold an empty line between them.
        {"empty lines", "a\r\rb\n\r\nc", u';', {{"a"}, {""}, {"b"}, {""}, {"c"}}},
        // A first line of 3 fields fixes the count: later fields past it are dropped, missing
        // ones are not stored (they read as empty).
        {"field count", "a;b;c\r\n1;2;3;4;5\r\nx\r\n", u';', {{"a", "b", "c"}, {"1", "2", "3"}, {"x"}}},
        // No quoting: the other program's quotes stay and its quoted separator splits the cell.
        {"quoted separator", readBytes(dataPath("addressbook/quoted_separator.csv")), u';',
         {{"Durand", "\"12", " rue Haute\"", "Lyon"}, {"Petit", "3 place", "Nice"}}},
        // Two exports joined: the second one's byte-order mark is no part of its first field.
        {"joined exports", "\xEF\xBB\xBF" "a;b\r\n\xEF\xBB\xBF" "c;d\r\n", u';', {{"a", "b"}, {"c", "d"}}},
        {"empty file", "", u';', {}},
        {"one empty line", "\n", u';', {{""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadExchangeRecords(c.bytes, c.separator), c.records);
    }
}

TEST(TextExchange, ExportLinesAndSeparatorCells)
{
    TAddressBook book;
    book.Grille.SetCell(Nom, 1, "Dupont");
    book.Grille.SetCell(Adresse1, 1, "1; rue\tHaute");
    book.Ajouter();
    book.Grille.SetCell(Internet, 2, "a;b");
    const QByteArray csv = ExchangeBytes(book.Grille, 1, book.LastRow(), SeparatorOfFilter(2));
    const QList<QByteArray> lines = csv.split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[0], "Dupont;;;1; rue\tHaute;;;;;;;;;;;;\r");
    EXPECT_EQ(lines[1].count(';'), 16);
    EXPECT_EQ(CellsHoldingSeparator(book.Grille, 1, book.LastRow(), u';'), 2);
    EXPECT_EQ(CellsHoldingSeparator(book.Grille, 1, book.LastRow(), u'\t'), 1);
    // Our own export reads back as the same records when no cell holds the separator.
    book.Grille.SetCell(Adresse1, 1, "1 rue Haute");
    book.Grille.SetCell(Internet, 2, "ab");
    const QList<QStringList> back = ReadExchangeRecords(ExchangeBytes(book.Grille, 1, 2, u'\t'), u'\t');
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back[0], book.Grille.Rows(1));
    EXPECT_EQ(back[1], book.Grille.Rows(2));
}

TEST(TextExchange, ExportNameKeepsTheFiltersExtensionInAnyCase)
{
    const std::tuple<QString, int, QString> cases[] = {
        {"/d/list.csv", 2, "/d/list.csv"}, {"/d/list.CSV", 2, "/d/list.CSV"}, {"/d/list.txt", 2, "/d/list.CSV"},
        {"/d/list", 1, "/d/list.TXT"},     {"/d/list.Txt", 1, "/d/list.Txt"}, {"/d.v2/list", 2, "/d.v2/list.CSV"}};
    for (const auto& [chosen, filter, name] : cases)
        EXPECT_EQ(ExportFileName(chosen, filter), name) << chosen.toStdString();
}

TEST(TextExchange, ImportAppendsAndKeepsAFilledSingleEntry)
{
    const QList<int> links = {0, 1, -1, -1, -1, 3, 2}; // Nom, Prenom, CP, Ville
    struct Case {
        const char* what;
        QStringList existing; // names of the records before
        QStringList names;    // after
        int current;
    };
    const Case cases[] = {
        {"blank book", {""}, {"Dupont", "Martin", "Müller"}, 3},
        {"one filled entry", {"Kept"}, {"Kept", "Dupont", "Martin", "Müller"}, 4},
        {"five entries", {"a", "b", "c", "d", "e"}, {"a", "b", "c", "d", "e", "Dupont", "Martin", "Müller"}, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TAddressBook book;
        for (int i = 0; i < c.existing.size(); ++i) {
            if (i > 0)
                book.Ajouter();
            book.Grille.SetCell(Nom, i + 1, c.existing[i]);
            book.Grille.Marques[i + 1] = 1;
            book.Grille.Copies[i + 1] = 2;
        }
        book.Modifie = false;
        book.Importer(people, links);
        QStringList names;
        for (int row = 1; row <= book.LastRow(); ++row)
            names << book.Grille.Cell(Nom, row);
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(book.NbFiches(), c.names.size());
        EXPECT_EQ(book.Grille.Row(), c.current);
        EXPECT_TRUE(book.Modifie);
        const int firstNew = book.LastRow() - 2;
        EXPECT_EQ(book.Grille.Cell(Ville, firstNew), "Besançon");
        EXPECT_EQ(book.Grille.Cell(CP, firstNew), "25000");
        EXPECT_EQ(book.Grille.Cell(Civil, firstNew), "");
        for (int row = firstNew; row <= book.LastRow(); ++row) {
            EXPECT_EQ(book.Grille.Marques[row], 0);
            EXPECT_EQ(book.Grille.Copies[row], 1);
        }
        if (firstNew > 1) {
            EXPECT_EQ(book.Grille.Marques[1], 1);
            EXPECT_EQ(book.Grille.Copies[1], 2);
        }
    }
}

// A file that states many fields on its first line and then none on many lines: what is kept
// grows with the file's bytes, never with its lines times the first line's fields, and the
// short records still fill the grid with empty cells.
TEST(TextExchange, WhatAnImportKeepsGrowsWithTheFile)
{
    const struct {
        const char* what;
        int separators;
        const char* line;
        int lines;
    } cases[] = {
        {"wide first line, empty lines", 4000, "", 4000},
        {"wide first line, one field each", 3000, "x", 3000},
        {"narrow first line", 1, "a;b;c;d", 2000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray file = QByteArray(c.separators, ';') + "\n";
        for (int i = 0; i < c.lines; ++i)
            file += QByteArray(c.line) + "\n";
        const QList<QStringList> records = ReadExchangeRecords(file, u';');
        ASSERT_EQ(records.size(), c.lines + 1);
        EXPECT_EQ(records.front().size(), c.separators + 1);
        qsizetype stored = 0;
        for (const QStringList& r : records) {
            EXPECT_LE(r.size(), c.separators + 1);
            stored += r.size();
        }
        EXPECT_LE(stored, file.size() + records.size());
        TAddressBook book;
        book.Importer(records, {0, 1});
        EXPECT_EQ(book.NbFiches(), c.lines + 1);
        EXPECT_EQ(book.Grille.Cell(Prenom, book.LastRow()), records.back().value(1));
    }
}
