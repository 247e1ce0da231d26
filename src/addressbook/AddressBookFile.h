#pragma once

#include "platform/TCellRow.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform {
class TStringGrid;
}

// The address-book file: one value per line, CR LF, no quoting. The row count R (titles
// included), the sort column, then for each row its mark, its copies and its 16 cells.
namespace addressbook {

constexpr int ColumnCount = 16;

// What a file held, read into a structure of its own so that a damaged file never reaches the
// live book half-read.
struct TRepContents {
    QList<platform::TCellRow> Rows; // the rows read whole, row 0 being the titles
    QList<int> Marques;      // one item per row of Rows
    QList<int> Copies;
    int ColonneTri = 0;
    // Empty when the file was read to its end; else what stopped the reading (the rows read
    // whole before it are kept).
    QString Error;
};

// Reads a file's bytes (UTF-8 or Windows-1252, CR LF or LF). Values a file may hold but the book
// cannot: copies below 1 read as 1, a mark other than 1 as 0, a sort column outside 0..15 as 0.
// `name` names the file in the error.
TRepContents ParseRepertoire(QByteArray bytes, const QString& name);

// The file of a grid of 16 columns: every row, titles first, UTF-8 with CR LF. A cell's line
// breaks are written as blanks: they would shift every later value of the file.
QByteArray RepertoireBytes(const platform::TStringGrid& grid, int colonneTri);

} // namespace addressbook
