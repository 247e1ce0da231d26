#include "GridFind.h"

#include "platform/TStringGrid.h"

namespace addressbook {

QString UpperAscii(QString text)
{
    for (QChar& c : text)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return text;
}

TFindHit FindNext(const platform::TStringGrid& grid, TFindState& state, const QString& text)
{
    const QString needle = UpperAscii(text);
    const int last = grid.RowCount() - 1;
    const int lastCol = grid.ColCount() - 1;
    for (int row = std::max(1, state.LigneDepart); row <= last; ++row) {
        for (int col = row == state.LigneDepart ? std::max(0, state.ColDepart) : 0; col <= lastCol; ++col) {
            if (!UpperAscii(grid.Cell(col, row)).contains(needle))
                continue;
            if (col < lastCol) {
                state.ColDepart = col + 1;
                state.LigneDepart = row;
            } else {
                state.ColDepart = 0;
                state.LigneDepart = row == last ? 1 : row + 1;
            }
            return {col, row};
        }
    }
    state.Restart();
    return {};
}

} // namespace addressbook
