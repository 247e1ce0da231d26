#pragma once

#include <QString>

namespace platform {
class TStringGrid;
}

// The quicksort of the address book and the database tables: whole rows move, with their marks
// and copies, on the text of one column.
namespace addressbook {

// The order of two cells: character codes compared one by one, a text before any text it begins:
// case-sensitive, empty cells first, capitals before small letters, accented letters after z.
inline int CompareCells(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseSensitive);
}

// Sorts rows first..last of `grid` on `column` (Hoare's partition around the middle row's cell).
// Not stable, on purpose: equal cells come out in the order this partition leaves them, the
// order users of the book have always seen. Rows outside the grid are ignored.
void TriRapide(platform::TStringGrid& grid, int first, int last, int column);

} // namespace addressbook
