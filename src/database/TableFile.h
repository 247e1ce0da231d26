#pragma once

#include "platform/TCellRow.h"

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <array>

// The table file (".FIC"): one value per line. The field and row counts, the sort column, the
// card's size, then four lines per field (column width, the card position of its caption, its
// attribute) and, for every row from the field names on, its mark, its copies and its cells.
namespace platform {
class TStringGrid;
}

namespace database {

// The per-field arrays and the card's caption/edit pairs are this long: no table has more fields.
inline constexpr int MaxFields = 40;
inline constexpr int DefaultColWidth = 64;
inline constexpr int DefaultCardWidth = 327;
inline constexpr int DefaultCardHeight = 450;

// Where the card shows each field: the caption's top-left corner (its edit sits 16 pixels
// lower) and the card's size, in pixels.
struct TCardLayout {
    std::array<int, MaxFields> Left{};
    std::array<int, MaxFields> Top{};
    int Width = DefaultCardWidth;
    int Height = DefaultCardHeight;

    // Five columns of eight fields.
    static QPoint DefaultPosition(int field);
    static TCardLayout Defaults();
    bool operator==(const TCardLayout&) const = default;
};

// Everything a table file holds.
struct TTableData {
    int ColonneTri = 0;
    QList<int> ColWidths; // one per field: the field count
    std::array<int, MaxFields> AttributChamp{};
    TCardLayout Card;
    QList<QStringList> Rows; // row 0: the field names; then one per record
    QList<int> Marques;      // by row, as long as Rows
    QList<int> Copies;

    int ColCount() const { return static_cast<int>(ColWidths.size()); }
};

// Parses a whole file; `name` names it in messages. Counts outside the table (no field, more than
// 40, no row, more rows than the lines hold, lines left over) and lines that are not numbers where
// numbers belong throw a platform::Exception saying which and where. A file without any record
// gets one blank record, so a table always has one.
TTableData ParseTableFile(const QByteArray& bytes, const QString& name);
// Reads the file (throws as above, or EInOutError when it cannot be read).
TTableData ReadTableFile(const QString& path);
// The same with the rows packed into `rows`, `Rows` left empty: a table of millions of cells is
// read without a string for each.
TTableData ParseTableFile(const QByteArray& bytes, const QString& name, QList<platform::TCellRow>& rows);
TTableData ReadTableFile(const QString& path, QList<platform::TCellRow>& rows);
// The bytes of the file; lines end in CR LF.
QByteArray TableFileBytes(const TTableData& data);
// The same with the cells read from `cells` (row 0: the field names), `data.Rows` left aside: a
// table is written without copying its rows.
QByteArray TableFileBytes(const TTableData& data, const platform::TStringGrid& cells);
// Writes through a temporary: the old file stays whole when writing fails (EInOutError).
void WriteTableFile(const QString& path, const TTableData& data);

} // namespace database
