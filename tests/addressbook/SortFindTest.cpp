#include "addressbook/AddressBook.h"
#include "addressbook/GridFind.h"
#include "addressbook/GridSort.h"

#include <gtest/gtest.h>

using namespace addressbook;

namespace {

// A book whose records have these names, each record's other cells telling it apart.
void fill(TAddressBook& book, const QStringList& names)
{
    for (int i = 0; i < names.size(); ++i) {
        if (i > 0)
            book.Ajouter();
        book.Grille.SetCell(Nom, i + 1, names[i]);
        book.Grille.SetCell(CP, i + 1, QString::number(i));
        book.Grille.Marques[i + 1] = i % 2;
        book.Grille.Copies[i + 1] = i + 1;
    }
}

QStringList column(const TAddressBook& book, int col)
{
    QStringList out;
    for (int row = 1; row <= book.LastRow(); ++row)
        out << book.Grille.Cell(col, row);
    return out;
}

} // namespace

TEST(AddressBookSort, OrderAndRowsMovingWhole)
{
    struct Case {
        const char* what;
        QStringList names;
        int column;
        QStringList sorted;   // the sort column after the sort
        QStringList original; // the records' original places (CP) after the sort
    };
    const Case cases[] = {
        // Codes, not letters: empty first, capitals before small letters.
        {"b B a empty", {"b", "B", "a", ""}, Nom, {"", "B", "a", "b"}, {"3", "1", "2", "0"}},
        // Accented letters after z.
        {"accents", {"é", "z", "e"}, Nom, {"e", "z", "é"}, {"2", "1", "0"}},
        // Postal codes are texts: 10000 before 9000.
        {"postal codes", {"9000", "10000", "75001"}, Nom, {"10000", "75001", "9000"}, {"1", "2", "0"}},
        // Hoare's partition swaps two equal keys on every sort and reverses three: a stable sort
        // would keep them.
        {"two equal", {"Martin", "Martin"}, Nom, {"Martin", "Martin"}, {"1", "0"}},
        {"three equal", {"M", "M", "M"}, Nom, {"M", "M", "M"}, {"2", "1", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TAddressBook book;
        fill(book, c.names);
        book.Trier(c.column);
        EXPECT_EQ(column(book, c.column), c.sorted);
        EXPECT_EQ(column(book, CP), c.original);
        EXPECT_EQ(book.Grille.Row(), 1);
        for (int row = 1; row <= book.LastRow(); ++row) {
            const int was = book.Grille.Cell(CP, row).toInt();
            EXPECT_EQ(book.Grille.Marques[row], was % 2);
            EXPECT_EQ(book.Grille.Copies[row], was + 1);
        }
    }
}

TEST(AddressBookSort, LargeAndAdverseInputsStaySorted)
{
    // Sorted, reversed and all-equal runs are where a careless quicksort recurses once per row.
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        platform::TStringGrid grid;
        grid.SetColCount(2);
        const int n = 200000;
        QList<QStringList> rows{{"title", "t"}};
        for (int i = 0; i < n; ++i) {
            const int key = kind == 0 ? i : kind == 1 ? n - i : 7;
            rows << QStringList{QString::asprintf("%08d", key), QString::number(i)};
        }
        grid.Assign(rows);
        TriRapide(grid, 1, n, 0);
        for (int row = 2; row <= n; ++row)
            ASSERT_LE(CompareCells(grid.Cell(0, row - 1), grid.Cell(0, row)), 0) << row;
        EXPECT_EQ(grid.Cell(0, 0), "title");
    }
}

TEST(AddressBookFind, HitsWrapAndRestart)
{
    TAddressBook book;
    fill(book, {"DUPONT", "Martin", "Dupont", "ÉLODIE"});
    book.Grille.SetCell(Internet, 4, "dupont@example.org");
    TFindState state;
    struct Step {
        QString text;
        int col, row;
    };
    // Letters a-z without case, an accented small letter never its capital; after the last
    // cell of the last record, the first record again.
    const Step steps[] = {{"dupont", Nom, 1}, {"dupont", Nom, 3}, {"dupont", Internet, 4}, {"dupont", Nom, 1},
                          {"élodie", -1, -1}, {"ÉLO", Nom, 4}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.text.toStdString() + " " + std::to_string(s.row));
        const TFindHit hit = FindNext(book.Grille, state, s.text);
        EXPECT_EQ(hit.Col, s.col);
        EXPECT_EQ(hit.Row, s.row);
        if (!hit.Found()) {
            EXPECT_EQ(state.LigneDepart, 1);
            EXPECT_EQ(state.ColDepart, 0);
        }
    }
    // The title row holds "<Surname>": never a hit.
    state.Restart();
    EXPECT_FALSE(FindNext(book.Grille, state, "surname").Found());
}
