#include "TableSearch.h"

#include "DbTable.h"

#include "platform/TStringGrid.h"

namespace database {

int FindInText(QStringView text, const QString& needle, int from)
{
    if (needle.isEmpty() || from < 1)
        return 0;
    const qsizetype at = text.indexOf(needle, from - 1, Qt::CaseInsensitive);
    return at >= 0 ? static_cast<int>(at) + 1 : 0;
}

namespace {

// The cell after (col, row), row 1 after the last cell.
void nextCell(const platform::TStringGrid& grid, int col, int row, int& nextCol, int& nextRow)
{
    if (col < grid.ColCount() - 1) {
        nextCol = col + 1;
        nextRow = row;
    } else {
        nextCol = 0;
        nextRow = row < grid.RowCount() - 1 ? row + 1 : 1;
    }
}

} // namespace

std::optional<TCellHit> TFindCursor::FindNext(const platform::TStringGrid& grid, const QString& needle)
{
    if (!needle.isEmpty()) {
        const int startRow = std::max(1, LigneDepart);
        for (int r = startRow; r < grid.RowCount(); ++r) {
            for (int c = r == startRow ? std::max(0, ColDepart) : 0; c < grid.ColCount(); ++c) {
                const int pos = FindInText(grid.CellView(c, r), needle, 1);
                if (pos > 0) {
                    nextCell(grid, c, r, ColDepart, LigneDepart);
                    return TCellHit{c, r, pos};
                }
            }
        }
    }
    Reset();
    return std::nullopt;
}

std::optional<TCellHit> TReplaceCursor::FindNext(const platform::TStringGrid& grid,
                                                  const QString& needle)
{
    if (!needle.isEmpty()) {
        const int startRow = std::max(1, LigneDepart);
        for (int r = startRow; r < grid.RowCount(); ++r) {
            for (int c = r == startRow ? std::max(0, ColDepart) : 0; c < grid.ColCount(); ++c) {
                const QStringView cell = grid.CellView(c, r);
                const int from = r == startRow && c == ColDepart ? std::max(1, PosDepart) : 1;
                const int p = FindInText(cell, needle, from);
                if (p == 0)
                    continue;
                PosTrouvee = p;
                LastHit = TCellHit{c, r, p};
                if (p < cell.size() - needle.size() + 1) {
                    ColDepart = c;
                    LigneDepart = r;
                    PosDepart = p + 1;
                } else {
                    nextCell(grid, c, r, ColDepart, LigneDepart);
                    PosDepart = 1;
                }
                return LastHit;
            }
        }
    }
    Reset();
    return std::nullopt;
}

bool TReplaceCursor::Replace(DbTable& table, const QString& needle, const QString& replacement)
{
    if (!LastHit || needle.isEmpty())
        return false;
    const TCellHit h = *LastHit;
    const QString cell = table.Grille.Cell(h.Col, h.Row);
    if (h.Row < 1 || h.Row >= table.RowCount() || h.Col >= table.ColCount()
        || cell.mid(h.Pos - 1, needle.size()).compare(needle, Qt::CaseInsensitive) != 0)
        return false;
    table.SetCell(h.Col, h.Row, cell.left(h.Pos - 1) + replacement + cell.mid(h.Pos - 1 + needle.size()));
    table.Modifie = true;
    return true;
}

TReplaceCursor::TReplaceAll TReplaceCursor::ReplaceAll(DbTable& table, const QString& needle,
                                                       const QString& replacement)
{
    TReplaceAll result;
    Reset();
    if (needle.isEmpty())
        return result;
    for (int r = 1; r < table.RowCount(); ++r) {
        for (int c = 0; c < table.ColCount(); ++c) {
            // Most cells do not hold the text: they are searched where they are, not copied.
            int p = FindInText(table.Grille.CellView(c, r), needle, 1);
            if (p == 0)
                continue;
            QString cell = table.Grille.Cell(c, r);
            for (; p > 0; p = FindInText(cell, needle, p + static_cast<int>(replacement.size()))) {
                cell.replace(p - 1, needle.size(), replacement);
                ++result.Count;
                result.Last = TCellHit{c, r, p};
            }
            table.SetCell(c, r, cell);
        }
    }
    if (result.Count > 0)
        table.Modifie = true;
    return result;
}

} // namespace database
