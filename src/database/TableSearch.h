#pragma once

#include <QString>

#include <optional>

namespace platform {
class TStringGrid;
}

// Find and replace over a table's records (never the field names), without regard to letter
// case. Rows are 1-based grid rows, columns 0-based, positions 1-based within a cell.
namespace database {

class DbTable;

struct TCellHit {
    int Col = 0;
    int Row = 0;
    int Pos = 0;
    bool operator==(const TCellHit&) const = default;
};

// Position (1-based) of `needle` in `text` from `from` (1-based) on, or 0.
int FindInText(QStringView text, const QString& needle, int from);

// The find dialog's search: from cell to cell.
class TFindCursor {
public:
    int LigneDepart = 1;
    int ColDepart = 0;

    void Reset() { *this = {}; }
    // The first cell holding the needle from the start cell on, to the end of the table. The next
    // search starts at the cell after it, at row 1 after the last cell. A miss (or an empty
    // needle) starts the next search at row 1 again. A start left past the table by deleted rows
    // or fields is a miss, never a read outside it.
    std::optional<TCellHit> FindNext(const platform::TStringGrid& grid, const QString& needle);
};

// The replace dialog's search: from occurrence to occurrence within the cells.
class TReplaceCursor {
public:
    int LigneDepart = 1;
    int ColDepart = 0;
    int PosDepart = 1;
    int PosTrouvee = 0;
    std::optional<TCellHit> LastHit;

    void Reset() { *this = {}; }
    // The next occurrence from the start position on. The next search starts one character
    // further in the same cell, or in the next cell (row 1 after the last).
    std::optional<TCellHit> FindNext(const platform::TStringGrid& grid, const QString& needle);
    // Puts `replacement` over the last hit, only when its cell still holds the needle there (the
    // dialog stays open while the user edits and moves). False when nothing was replaced.
    bool Replace(DbTable& table, const QString& needle, const QString& replacement);
    // One pass from the first record to the end of the table, never wrapping; within a cell the
    // search goes on after the inserted text, so a replacement holding the needle is not found
    // again and a shorter one skips nothing. Returns the count of replacements and the last hit.
    struct TReplaceAll {
        int Count = 0;
        std::optional<TCellHit> Last;
    };
    TReplaceAll ReplaceAll(DbTable& table, const QString& needle, const QString& replacement);
};

} // namespace database
