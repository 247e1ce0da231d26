#include "station/SheetPage.h"

#include <gtest/gtest.h>

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
