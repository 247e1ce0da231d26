#include "database/CardLayout.h"
#include "database/DbTable.h"

#include <gtest/gtest.h>

using namespace database;

namespace {

// A table of `fields` fields and `records` records, cells "<col>:<row>", marks and copies set
// from the row so that moves can be followed.
void fill(DbTable& t, int fields, int records)
{
    TTableData d;
    d.ColWidths = QList<int>(fields, DefaultColWidth);
    d.AttributChamp.fill(1);
    d.Card = TCardLayout::Defaults();
    for (int r = 0; r <= records; ++r) {
        QStringList cells;
        for (int c = 0; c < fields; ++c)
            cells << (r == 0 ? QString("F%1").arg(c + 1) : QString("%1:%2").arg(c).arg(r));
        d.Rows << cells;
        d.Marques << r % 2;
        d.Copies << r + 10;
    }
    t.Adopt(d, "t.FIC");
}

QStringList column(const DbTable& t, int col)
{
    QStringList out;
    for (int r = 1; r < t.RowCount(); ++r)
        out << t.Grille.Cell(col, r);
    return out;
}

} // namespace

TEST(DbTable, NewTable)
{
    DbTable t;
    t.New("Field ");
    EXPECT_EQ(t.ColCount(), 10);
    EXPECT_EQ(t.NbFiches(), 1);
    EXPECT_EQ(t.FieldName(9), "Field 10");
    EXPECT_EQ(t.ColWidths, QList<int>(10, 64));
    EXPECT_TRUE(t.NomFichier.isEmpty());
    EXPECT_FALSE(t.Modifie);
    EXPECT_EQ(t.Card, TCardLayout::Defaults());
    EXPECT_EQ(TCardLayout::DefaultPosition(9), QPoint(96, 88));
}

// Rows below a deletion move up with their marks and copies; the entries freed become (0, 1),
// so a row added later does not inherit a removed record's copies.
TEST(DbTable, DeleteRecordsMovesListsWithRows)
{
    DbTable t;
    fill(t, 2, 5);
    t.DeleteRecords(2, 3);
    EXPECT_EQ(column(t, 0), QStringList({"0:1", "0:4", "0:5"}));
    EXPECT_EQ(t.Grille.Copies.mid(0, 6), QList<int>({10, 11, 14, 15, 1, 1}));
    EXPECT_EQ(t.Grille.Marques.mid(0, 6), QList<int>({0, 1, 0, 1, 0, 0}));
    t.AddRecord();
    EXPECT_EQ(t.Grille.CopiesOf(4), 1);
    EXPECT_EQ(t.Grille.Row(), 4);
    EXPECT_TRUE(t.Modifie);
    // Every record gone: one empty record stays.
    t.DeleteRecords(1, t.NbFiches());
    EXPECT_EQ(t.NbFiches(), 1);
    EXPECT_EQ(column(t, 1), QStringList({""}));
    EXPECT_EQ(t.FieldName(1), "F2");
}

// Field deletion moves the texts left, names included; widths and card positions stay with the
// column number. The last field is only emptied.
TEST(DbTable, DeleteAndAddFields)
{
    DbTable t;
    fill(t, 5, 2);
    t.ColWidths = {10, 20, 30, 40, 50};
    t.DeleteFields(1, 1);
    EXPECT_EQ(t.ColCount(), 4);
    EXPECT_EQ(t.FieldName(1), "F3");
    EXPECT_EQ(t.Grille.Cell(3, 2), "4:2");
    EXPECT_EQ(t.ColWidths, QList<int>({10, 20, 30, 40}));
    EXPECT_EQ(t.Card.Left[1], TCardLayout::DefaultPosition(1).x());
    EXPECT_TRUE(t.AddField("Field "));
    EXPECT_EQ(t.FieldName(4), "Field 5");
    EXPECT_EQ(t.ColWidths[4], DefaultColWidth);
    EXPECT_EQ(t.Grille.Col(), 4);
    t.DeleteFields(0, 4);
    EXPECT_EQ(t.ColCount(), 1);
    EXPECT_EQ(t.FieldName(0), "");
    EXPECT_EQ(column(t, 0), QStringList({"", ""}));

    DbTable full;
    fill(full, MaxFields, 1);
    full.Modifie = false;
    EXPECT_FALSE(full.AddField("Field "));
    EXPECT_EQ(full.ColCount(), MaxFields);
    EXPECT_FALSE(full.Modifie);
}

// Erasing every entry marks the table modified (the save question must come) and keeps rows,
// names and lists; a typed cell is taken only inside the table, without line breaks.
TEST(DbTable, EraseAllAndCellEdits)
{
    DbTable t;
    fill(t, 2, 3);
    t.EraseAll();
    EXPECT_TRUE(t.Modifie);
    EXPECT_EQ(column(t, 0), QStringList({"", "", ""}));
    EXPECT_EQ(t.FieldName(0), "F1");
    EXPECT_EQ(t.Grille.CopiesOf(3), 13);

    t.Modifie = false;
    EXPECT_FALSE(t.SetCell(0, 1, ""));
    EXPECT_FALSE(t.Modifie);
    EXPECT_FALSE(t.SetCell(0, 4, "past the end"));
    EXPECT_FALSE(t.SetCell(0, 0, "title row"));
    EXPECT_EQ(t.RowCount(), 4);
    EXPECT_TRUE(t.SetCell(1, 2, "a\r\nb\nc"));
    EXPECT_EQ(t.Grille.Cell(1, 2), "a b c");
    EXPECT_FALSE(t.RenameField(0, "F1"));
    EXPECT_TRUE(t.RenameField(0, "Name"));
}

TEST(DbTable, DuplicateAndCopyStructure)
{
    DbTable t;
    fill(t, 3, 2);
    t.Grille.SetRow(1);
    t.Duplicate();
    EXPECT_EQ(t.NbFiches(), 3);
    EXPECT_EQ(t.Grille.Row(), 3);
    EXPECT_EQ(t.Grille.Rows(3), t.Grille.Rows(1));
    EXPECT_EQ(t.Grille.CopiesOf(3), 1);
    t.Card.Top[0] = 200;
    t.CopyStructure();
    EXPECT_EQ(t.NbFiches(), 1);
    EXPECT_EQ(t.FieldName(2), "F3");
    EXPECT_EQ(column(t, 2), QStringList({""}));
    EXPECT_EQ(t.Card.Top[0], 200);
    EXPECT_TRUE(t.NomFichier.isEmpty());
    EXPECT_FALSE(t.Modifie);
}

TEST(DbTable, CaptionCountAndName)
{
    const QDate day(2024, 3, 1);
    const QString date = QLocale().toString(day, QLocale::ShortFormat);
    EXPECT_EQ(CaptionWithCount("Database : File clients (1 entry) - x", 12, "entry", "entries", day),
              "Database : File clients (12 entries) - " + date);
    EXPECT_EQ(CaptionWithCount("Database : UNNAMED file (", 1, "entry", "entries", day),
              "Database : UNNAMED file (1 entry) - " + date);
    EXPECT_EQ(CaptionWithCount("no bracket", 2, "entry", "entries", day), "2 entries) - " + date);
    EXPECT_EQ(CaptionFileName("/data/clients.2024.FIC"), "clients");
    EXPECT_EQ(CaptionFileName("/data/noext"), "");
}

// Dragging stops at the tool bar, a drop snaps toward zero to multiples of 8, and the tab order
// follows the places, an edit on another's place going last.
TEST(CardLayout, DragSnapAndTabOrder)
{
    EXPECT_EQ(SnapCaption({13, 45}), QPoint(8, 40));
    EXPECT_EQ(SnapCaption({-13, 47}), QPoint(-8, 40));
    EXPECT_EQ(DragCaption({8, 40}, {5, 5}, {30, -100}), QPoint(33, 40));
    EXPECT_EQ(DragCaption({8, 88}, {5, 5}, {-20, 10}), QPoint(-17, 93));

    TCardLayout card = TCardLayout::Defaults();
    std::vector<int> order = CardTabOrder(card);
    EXPECT_EQ(std::vector<int>(order.begin(), order.begin() + 6), std::vector<int>({0, 8, 16, 24, 32, 1}));
    card.Top[2] = 32;
    order = CardTabOrder(card);
    EXPECT_EQ(order.front(), 2);
    card.Left[3] = card.Left[1];
    card.Top[3] = card.Top[1];
    order = CardTabOrder(card);
    EXPECT_EQ(order.back(), 3);
    EXPECT_EQ(order.size(), 40u);
}

// Records sort on the text of a field, capitals before small letters and accents after z, each
// row keeping its mark and copies.
TEST(DbTable, SortMovesListsWithRows)
{
    DbTable t;
    fill(t, 2, 5);
    const QStringList names{"b", "é", "", "a", "B"};
    for (int r = 1; r <= 5; ++r)
        t.SetCell(1, r, names[r - 1]);
    t.Sort(1);
    EXPECT_EQ(column(t, 1), QStringList({"", "B", "a", "b", "é"}));
    EXPECT_EQ(column(t, 0), QStringList({"0:3", "0:5", "0:4", "0:1", "0:2"}));
    EXPECT_EQ(t.Grille.Copies.mid(1, 5), QList<int>({13, 15, 14, 11, 12}));
    EXPECT_EQ(t.Grille.Marques.mid(1, 5), QList<int>({1, 1, 0, 1, 0}));
}

// Import fills a blank single record, never a filled one, and gives new rows mark 0 and copies 1;
// export writes the records without the title row, as other programs read them.
TEST(DbTable, ImportAndExport)
{
    DbTable t;
    fill(t, 3, 0);
    t.Grille.SetRowCount(2);
    t.Grille.Copies = {1, 7, 9};
    const QList<QStringList> records{{"a", "b"}, {"c", "d"}};
    EXPECT_EQ(t.Import(records, {1, -1, 0}), 2);
    EXPECT_EQ(t.NbFiches(), 2);
    EXPECT_EQ(t.Grille.Rows(1), QStringList({"b", "", "a"}));
    EXPECT_EQ(t.Grille.CopiesOf(2), 1);
    EXPECT_EQ(t.Grille.Row(), 2);
    EXPECT_TRUE(t.Modifie);
    EXPECT_EQ(t.ExportBytes(u';'), "b;;a\r\nd;;c\r\n");

    DbTable filled;
    fill(filled, 2, 1);
    filled.Import({{"x"}}, {0, -1});
    EXPECT_EQ(filled.NbFiches(), 2);
    EXPECT_EQ(filled.Grille.Cell(0, 1), "0:1");
    EXPECT_EQ(filled.ExportBytes(u'\t'), "0:1\t1:1\r\nx\t\r\n");
}

TEST(DbTable, ListLines)
{
    DbTable t;
    fill(t, 3, 3);
    EXPECT_EQ(TableListLines(t, 2, 3, 1, 2, "T"),
              QStringList({"", "\tT", "", "", "\t1:2 2:2 ", "", "\t1:3 2:3 ", ""}));
    EXPECT_EQ(TableListLines(t, 1, 99, 0, 99, "T").size(), 4 + 2 * 3);
}
