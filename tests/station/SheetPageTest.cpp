#include "station/SheetPage.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace station;

// Every change of a cell keeps the filled count right, whatever the cell held before; cells
// outside the page are neither kept nor counted.
TEST(SheetPage, FilledCountFollowsEveryChange)
{
    TSheetPage page;
    page.SetCell(1, 1, "a");
    page.SetCell(1, 1, "b"); // replacing a model is not a new cell
    page.SetCell(50, 50, "c");
    page.SetCell(0, 1, "x");
    page.SetCell(1, 51, "x");
    EXPECT_EQ(page.NbCasesRemplies(), 2);
    EXPECT_EQ(page.Cell(1, 1), "b");
    EXPECT_EQ(page.Cell(0, 1), "");
    page.SetCell(50, 50, "");
    page.SetCell(2, 2, "");
    EXPECT_EQ(page.NbCasesRemplies(), 1);
    page.Clear();
    EXPECT_TRUE(page.IsEmpty());
    EXPECT_EQ(page.Cell(1, 1), "");
}

// Whoever changes the page, its listener hears of it once per change and only after the change
// is whole: a run of cells set as one change, a nested change, one that fails half-way.
TEST(SheetPage, TellsItsListenerOncePerWholeChange)
{
    TSheetPage page;
    QList<int> told; // the filled count each time the page told
    page.Changed = [&] { told << page.NbCasesRemplies(); };

    page.SetCell(1, 1, "a");
    page.SetCell(1, 1, "a"); // what the cell held: no change
    page.SetCell(0, 0, "x"); // outside the page: no change
    EXPECT_EQ(told, QList<int>({1}));

    told.clear();
    const int placed = page.Change([&] {
        page.Change([&] { page.SetCell(2, 1, "b"); });
        page.SetCell(3, 1, "c");
        return 2;
    });
    EXPECT_EQ(placed, 2);
    EXPECT_EQ(told, QList<int>({3}));

    told.clear();
    page.Change([&] { page.SetCell(4, 1, ""); }); // an empty cell emptied: nothing to tell
    EXPECT_TRUE(told.isEmpty());

    told.clear();
    EXPECT_THROW(page.Change([&] {
        page.SetCell(1, 1, "");
        throw std::runtime_error("half-way");
    }),
                 std::runtime_error);
    EXPECT_EQ(told, QList<int>({2}));

    // A clear is told even on an empty page: whoever shows it comes to its empty state.
    told.clear();
    page.Clear();
    page.Clear();
    EXPECT_EQ(told, QList<int>({0, 0}));
}
