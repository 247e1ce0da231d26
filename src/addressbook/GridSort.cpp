#include "GridSort.h"

#include "platform/TStringGrid.h"

#include <algorithm>

namespace addressbook {

namespace {

void partitionSort(platform::TStringGrid& grid, int first, int last, int column)
{
    // The smaller side is sorted by recursion and the larger one by the loop, so the depth stays
    // logarithmic whatever the data; the sides are disjoint, so the order they are done in
    // changes nothing in the result.
    while (first < last) {
        const QString pivot = grid.CellView(column, first + (last - first) / 2).toString();
        int i = first;
        int j = last;
        do {
            while (CompareCells(grid.CellView(column, i), pivot) < 0)
                ++i;
            while (CompareCells(grid.CellView(column, j), pivot) > 0)
                --j;
            if (i <= j) {
                grid.SwapRows(i, j);
                ++i;
                --j;
            }
        } while (i <= j);
        if (j - first < last - i) {
            if (first < j)
                partitionSort(grid, first, j, column);
            first = i;
        } else {
            if (i < last)
                partitionSort(grid, i, last, column);
            last = j;
        }
    }
}

} // namespace

void TriRapide(platform::TStringGrid& grid, int first, int last, int column)
{
    first = std::max(first, 0);
    last = std::min(last, grid.RowCount() - 1);
    if (first >= last || column < 0 || column >= grid.ColCount())
        return;
    grid.PadLists();
    grid.BeginUpdate();
    partitionSort(grid, first, last, column);
    grid.EndUpdate();
}

} // namespace addressbook
