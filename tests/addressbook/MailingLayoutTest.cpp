// The mailing's computations before drawing: the record list, the marks and label total, the
// layout with its sheet count and first label, the insert message, and the label walk.
#include "MailingSupport.h"

#include "addressbook/MailingWalk.h"
#include "platform/Errors.h"

#include <gtest/gtest.h>

using namespace addressbook;
using mailingtest::fillBook;
using mailingtest::format;

TEST(MailingLayout, SheetCountsMessagesAndTheFirstLabelHeldToTheSheet)
{
    platform::TStringGrid grid;
    fillBook(grid, {{"A", 1}, {"B", 2}, {"C", 3}});
    const TMailingSelection selection = SelectionOfMarks(grid);
    ASSERT_EQ(selection.TotalEtiquettes, 6);
    const struct {
        int ligne, colonne;    // first label asked
        int series;            // series copies
        int skipped, sheets;
        int ligneAfter, colonneAfter;
        const char* message;
    } cases[] = {
        {1, 1, 1, 0, 2, 1, 1, "Please insert 2 sheets of labels in your printer"},
        {1, 1, 2, 0, 2, 1, 1, "Please insert 4 sheets of labels in your printer"},
        {2, 2, 1, 3, 3, 2, 2, "Please insert 3 sheets of labels in your printer"},
        // A position left by a mailing on a larger sheet: row 7, column 3 is brought back to the
        // last cell, not counted as 14 skipped cells and 5 sheets.
        {7, 3, 1, 3, 3, 2, 2, "Please insert 3 sheets of labels in your printer"},
        {0, -4, 1, 0, 2, 1, 1, "Please insert 2 sheets of labels in your printer"},
    };
    for (const auto& c : cases) {
        TFirstLabel first{c.ligne, c.colonne};
        const TMailingLayout l = CalculerMiseEnPage(format(2, 2), selection, 96, first);
        EXPECT_EQ(l.Skipped, c.skipped) << c.ligne << "," << c.colonne;
        EXPECT_EQ(l.NbFeuilles, c.sheets) << c.ligne << "," << c.colonne;
        EXPECT_EQ(first.Ligne, c.ligneAfter);
        EXPECT_EQ(first.Colonne, c.colonneAfter);
        EXPECT_EQ(MajMessagePlanches(station::tpA4, c.series, l.NbFeuilles), c.message);
    }
    // 60 x 30 mm at 96 pixels per inch.
    TFirstLabel first;
    const TMailingLayout l = CalculerMiseEnPage(format(2, 2), selection, 96, first);
    EXPECT_EQ(l.LargeurEtiquettePx, 227);
    EXPECT_EQ(l.HauteurEtiquettePx, 113);

    EXPECT_EQ(MajMessagePlanches(station::tpA4, 1, 1), "Please insert a sheet of labels in your printer");
    EXPECT_EQ(MajMessagePlanches(station::tpA5, 0, 1), "Please insert a sheet of labels in your printer");
    EXPECT_EQ(MajMessagePlanches(station::tpRoll, 1, 1), "Please insert a roll with a new label in your printer.");
    // On a roll the count is of rows of labels, whatever the labels across.
    EXPECT_EQ(MajMessagePlanches(station::tpRoll, 3, 1), "Please insert a roll with 3 new labels in your printer.");
}

TEST(MailingLayout, FormatsWithoutLabelsAreRefusedAndLargeCountsHeld)
{
    TMailingSelection selection{1, 1};
    TFirstLabel first;
    for (const auto& [columns, rows] : {std::pair{0, 2}, std::pair{2, 0}, std::pair{-1, 3}})
        EXPECT_THROW(CalculerMiseEnPage(format(columns, rows), selection, 96, first), EMailingFormat);
    const TMailingLayout big = CalculerMiseEnPage(format(60, 70), selection, 96, first);
    EXPECT_EQ(big.NbColonnes(), 50);
    EXPECT_EQ(big.NbLignes(), 50);

    station::TLigneFormat row = station::TLigneFormat::Default("Family");
    row.Cells[station::cfColumns] = "0";
    EXPECT_THROW(MailingFormat(row, {}), EMailingFormat);
    // Round labels are told by the text of the cells, as the editor writes them.
    row = station::TLigneFormat::Default("Round");
    row.Cells[station::cfWidth] = "7000";
    row.Cells[station::cfHeight] = "4200";
    row.Cells[station::cfEllipseWidth] = "7000";
    row.Cells[station::cfEllipseHeight] = "4200";
    EXPECT_TRUE(MailingFormat(row, {}).EtiquetteRonde);
    row.Cells[station::cfEllipseWidth] = "07000";
    EXPECT_FALSE(MailingFormat(row, {}).EtiquetteRonde);
    // A centring margin is resolved for the layout.
    row.Cells[station::cfWidth] = "6000";
    row.Cells[station::cfMarginLeft] = "99999";
    EXPECT_EQ(MailingFormat(row, {}).MargeGauche, (21000 - 3 * 6000) / 2);
}

TEST(MailingLayout, RecordListLinesMarksAndTotals)
{
    platform::TStringGrid grid;
    fillBook(grid, {{"Martin", 2, true}, {"", 1, false}, {"Durand", 0, true}});
    grid.SetCell(9, 1, "Acme ");
    grid.SetCell(1, 1, "Paul");
    grid.SetCell(6, 1, "Lyon");
    TChoiceList list = RemplirChoix(grid, false);
    EXPECT_EQ(list.Lines, (QStringList{"Entry n°1 : Acme Paul Martin Lyon ", "Entry n°2 : ", "Entry n°3 : Durand "}));
    EXPECT_EQ(list.Chosen, (QList<bool>{true, false, true}));
    // A database lists every field in column order.
    EXPECT_EQ(RemplirChoix(grid, true).Lines[0], "Entry n°1 : Martin Paul Lyon Acme ");

    // A copies value of 0 in the file prints one label, and the total says so.
    TMailingSelection s = MarquerSelection(grid, {false, true, true});
    EXPECT_EQ(s.NbFichesChoisies, 2);
    EXPECT_EQ(s.TotalEtiquettes, 2);
    EXPECT_EQ(grid.Marques, (QList<int>{0, 0, 1, 1}));

    // The marks carry the choice through a sort: the chosen records are chosen in their new order.
    const QStringList first = grid.Rows(1);
    grid.SetRow(1, grid.Rows(3));
    grid.SetRow(3, first);
    std::swap(grid.Marques[1], grid.Marques[3]);
    list = RemplirChoix(grid, false);
    EXPECT_EQ(list.Chosen, (QList<bool>{true, true, false}));
    EXPECT_TRUE(list.Lines[0].endsWith("Durand "));

    EXPECT_EQ(SelectionCount(0), "  (no entry selected)");
    EXPECT_EQ(SelectionCount(1), "  (1 entry selected)");
    EXPECT_EQ(SelectionCount(12), "  (12 entries selected)");
}

namespace {

// Every sheet's cells as "record@counter" (".": empty), found the way the print finds them.
QStringList sheets(const platform::TStringGrid& grid, int columns, int rows, TFirstLabel first)
{
    TFirstLabel f = first;
    const TMailingLayout l = CalculerMiseEnPage(format(columns, rows), SelectionOfMarks(grid), 96, f);
    TLabelWalk walk(grid, l.Selection.NbFichesChoisies);
    QStringList out;
    for (int sheet = 1; sheet <= l.NbFeuilles; ++sheet) {
        QStringList cells(l.CellsPerSheet(), ".");
        WalkSheet(l, sheet, walk, [&](const TWalkCell& c) {
            cells[(c.Row - 1) * columns + c.Column - 1] = grid.Cell(0, c.Record) + QString::number(c.Index);
        });
        out.append(cells.join(' '));
    }
    return out;
}

} // namespace

TEST(MailingWalk, CellsFilledInRowsFromTheFirstLabel)
{
    platform::TStringGrid grid;
    fillBook(grid, {{"A", 2}, {"x", 5, false}, {"B", 1}});
    EXPECT_EQ(sheets(grid, 2, 2, {1, 1}), QStringList{"A1 A2 B3 ."});
    EXPECT_EQ(sheets(grid, 2, 2, {1, 2}), QStringList{". A1 A2 B3"});
    EXPECT_EQ(sheets(grid, 2, 2, {2, 2}), (QStringList{". . . A1", "A2 B3 . ."}));
    // Marks beyond the chosen count are not printed: the walk stops at the count chosen.
    TLabelWalk walk(grid, 1);
    EXPECT_EQ(walk.Next(), 1);
    EXPECT_EQ(walk.Next(), 1);
    EXPECT_EQ(walk.Next(), 0);
    EXPECT_EQ(walk.Next(), 0);
}

TEST(MailingWalk, ASheetStartsWhereTheEarlierSheetsLeaveTheWalk)
{
    platform::TStringGrid grid;
    fillBook(grid, {{"A", 3}, {"B", 3}, {"C", 3}});
    EXPECT_EQ(sheets(grid, 2, 2, {1, 1})[1], "B5 B6 C7 C8");

    // Jumping to a sheet gives what walking every cell before it gives, for copies that end
    // inside a sheet, on its edge and across several sheets, and for any first label.
    fillBook(grid, {{"A", 1}, {"B", 7}, {"-", 2, false}, {"C", 0}, {"D", 4}, {"E", 11}, {"F", 2}});
    for (const auto& [columns, rows] : {std::pair{2, 2}, std::pair{3, 1}, std::pair{1, 5}})
        for (int ligne = 1; ligne <= rows; ++ligne)
            for (int colonne = 1; colonne <= columns; ++colonne) {
                const QStringList all = sheets(grid, columns, rows, {ligne, colonne});
                TFirstLabel first{ligne, colonne};
                const TMailingLayout l = CalculerMiseEnPage(format(columns, rows), SelectionOfMarks(grid), 96, first);
                ASSERT_EQ(all.size(), l.NbFeuilles);
                for (int p = 1; p <= l.NbFeuilles; ++p) {
                    TLabelWalk walk(grid, l.Selection.NbFichesChoisies);
                    WalkToSheet(l, p, walk);
                    QStringList cells(l.CellsPerSheet(), ".");
                    const int across = columns; // clang 14 cannot capture a structured binding
                    WalkSheet(l, p, walk, [&](const TWalkCell& c) {
                        cells[(c.Row - 1) * across + c.Column - 1] = grid.Cell(0, c.Record) + QString::number(c.Index);
                    });
                    EXPECT_EQ(cells.join(' '), all[p - 1]) << columns << "x" << rows << " from " << ligne << ","
                                                           << colonne << " sheet " << p;
                }
            }
}
