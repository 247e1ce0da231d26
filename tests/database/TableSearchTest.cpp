#include "database/DbTable.h"
#include "database/TableSearch.h"

#include <gtest/gtest.h>

using namespace database;

namespace {

// A table of the given records (one list of cells each) under fields A, B, ...
void fill(DbTable& t, const QList<QStringList>& records)
{
    TTableData d;
    const int fields = static_cast<int>(records.front().size());
    d.ColWidths = QList<int>(fields, DefaultColWidth);
    QStringList names;
    for (int c = 0; c < fields; ++c)
        names << QString(QChar(u'A' + c));
    d.Rows << names << records;
    d.Marques = QList<int>(d.Rows.size(), 0);
    d.Copies = QList<int>(d.Rows.size(), 1);
    t.Adopt(d, {});
}

} // namespace

// Cell to cell, field names never searched, the next start at the next cell and row 1 after the
// last; a miss starts over.
TEST(TableFind, CellToCell)
{
    DbTable t;
    fill(t, {{"x", "paris"}, {"Paris", "y"}, {"z", "PARIS"}});
    TFindCursor f;
    const std::vector<std::optional<TCellHit>> expected{
        TCellHit{1, 1, 1}, TCellHit{0, 2, 1}, TCellHit{1, 3, 1}, TCellHit{1, 1, 1}, TCellHit{0, 2, 1}};
    for (const auto& e : expected)
        EXPECT_EQ(f.FindNext(t.Grille, "pAris"), e);
    EXPECT_EQ(f.LigneDepart, 2);
    EXPECT_FALSE(f.FindNext(t.Grille, "B").has_value());
    EXPECT_EQ(f.LigneDepart, 1);
    // Stale start past the table after deletions: a miss, then from the top.
    f.LigneDepart = 9;
    f.ColDepart = 7;
    EXPECT_FALSE(f.FindNext(t.Grille, "paris").has_value());
    EXPECT_EQ(f.FindNext(t.Grille, "paris"), (TCellHit{1, 1, 1}));
}

// Within cells: "eEe" gives positions 1, 2 and 3, then the next cell; after the last hit of the
// table the next search starts at row 1.
TEST(TableReplace, PositionsWithinCells)
{
    DbTable t;
    fill(t, {{"eEe", "le"}});
    TReplaceCursor r;
    const TCellHit expected[] = {{0, 1, 1}, {0, 1, 2}, {0, 1, 3}, {1, 1, 2}, {0, 1, 1}};
    for (const TCellHit& e : expected)
        EXPECT_EQ(r.FindNext(t.Grille, "e"), e);
    r.PosDepart = 50; // stale position: next cell
    EXPECT_EQ(r.FindNext(t.Grille, "e"), (TCellHit{1, 1, 2}));
}

// Replace splices the replacement as typed over the needle's length, only while the remembered
// cell still holds the needle there.
TEST(TableReplace, ReplaceChecksTheRememberedHit)
{
    DbTable t;
    fill(t, {{"Hello"}, {"other"}});
    TReplaceCursor r;
    ASSERT_TRUE(r.FindNext(t.Grille, "L"));
    EXPECT_TRUE(r.Replace(t, "L", "x"));
    EXPECT_EQ(t.Grille.Cell(0, 1), "Hexlo");
    EXPECT_TRUE(t.Modifie);
    // The cell changed under the dialog: nothing is cut out of it.
    ASSERT_TRUE(r.FindNext(t.Grille, "l"));
    t.SetCell(0, 1, "Hi");
    EXPECT_FALSE(r.Replace(t, "l", "y"));
    EXPECT_EQ(t.Grille.Cell(0, 1), "Hi");
    t.DeleteRecords(1, 2);
    EXPECT_FALSE(r.Replace(t, "l", "y"));
}

// Replace all makes one pass and never wraps: replacements that still match, longer or shorter
// ones, all end with the right count.
TEST(TableReplace, ReplaceAllOnePass)
{
    struct Case {
        QStringList cells;
        QString needle, replacement;
        QStringList after;
        int count;
    };
    const Case cases[] = {
        {{"paris", "Paris x paris"}, "paris", "Paris", {"Paris", "Paris x Paris"}, 3},
        {{"aaaa", "ba"}, "a", "", {"", "b"}, 5},
        {{"e", "ee"}, "e", "ee", {"ee", "eeee"}, 3},
        {{"abc", "xyz"}, "q", "r", {"abc", "xyz"}, 0},
        {{"AbAB", ""}, "ab", "-", {"--", ""}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.needle.toStdString() + " -> " + c.replacement.toStdString());
        DbTable t;
        fill(t, {c.cells});
        t.Modifie = false;
        TReplaceCursor r;
        const auto result = r.ReplaceAll(t, c.needle, c.replacement);
        EXPECT_EQ(result.Count, c.count);
        EXPECT_EQ(t.Grille.Rows(1), c.after);
        EXPECT_EQ(t.Modifie, c.count > 0);
        EXPECT_EQ(r.LigneDepart, 1);
    }
}
