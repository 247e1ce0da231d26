#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

namespace platform {
class TStringGrid;
}

// Text files exchanged with other programs: one record per line, fields split by one separator
// (a tab in ".TXT" files, ";" in ".CSV" files), no quoting and no title line. The address book
// and the database tables read and write them through these functions.
namespace addressbook {

// Filter 1 is the text filter, filter 2 the CSV one.
QChar SeparatorOfFilter(int filter);
QString ExtensionOfFilter(int filter);

// The records of a file (UTF-8 or Windows-1252): a line ends with CR LF, LF or CR alone, and
// each line is a record. The first record's field count is the file's: later fields past it are ignored;
// missing ones are empty and not stored (a record holds the fields its line has), so a file
// costs what its bytes hold, not its lines times the first line's fields. A last line without
// a line feed is a record; an empty file has none.
QList<QStringList> ReadExchangeRecords(QByteArray bytes, QChar separator);

// Rows first..last of a grid, every column, the separator between two cells, CR LF after each
// row, UTF-8.
QByteArray ExchangeBytes(const platform::TStringGrid& grid, int first, int last, QChar separator);

// How many cells of rows first..last hold the separator: each would split into two fields.
int CellsHoldingSeparator(const platform::TStringGrid& grid, int first, int last, QChar separator);

// The name an export writes: the filter's extension, kept in the letter case typed when it is
// already there, put in place of any other.
QString ExportFileName(const QString& chosen, int filter);

// Adds the records to a grid, each grid column k taking the record's field `links[k]` (-1 or a
// missing field: left empty). The records go after the last row, except that a book holding a
// single record of empty cells takes the first record in that row. New rows get mark 0 and
// copies 1. Returns the number of rows written.
int AppendRecords(platform::TStringGrid& grid, QList<QStringList> records, const QList<int>& links);

} // namespace addressbook
