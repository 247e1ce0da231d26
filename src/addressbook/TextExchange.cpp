#include "TextExchange.h"

#include "platform/TStringGrid.h"
#include "platform/TextCodec.h"

#include <QFileInfo>

namespace addressbook {

QChar SeparatorOfFilter(int filter)
{
    return filter == 1 ? QChar(u'\t') : QChar(u';');
}

QString ExtensionOfFilter(int filter)
{
    return filter == 1 ? QStringLiteral(".TXT") : QStringLiteral(".CSV");
}

QList<QStringList> ReadExchangeRecords(QByteArray bytes, QChar separator)
{
    QString text = platform::decodeText(bytes);
    bytes = QByteArray(); // the text holds it all now; a large file needs the room
    // Byte-order marks left inside a file made by joining exported files are invisible and mean
    // nothing in a field; kept, the one that began an exported file would be taken for a mark on
    // reading it back, and the first field would change between an export and its import.
    if (text.contains(QChar(0xFEFF)))
        text.remove(QChar(0xFEFF));
    QList<QStringList> records;
    qsizetype fields = -1; // set by the first record
    QStringList record;
    // A field is cut out of the text in one piece, at its exact size (a book of 100,000 records
    // holds a million of them).
    const QChar* data = text.constData();
    qsizetype start = 0;
    const auto endField = [&](qsizetype end) {
        if (fields < 0 || record.size() < fields)
            record << QStringView(data + start, end - start).toString();
        start = end + 1;
    };
    const auto endRecord = [&](qsizetype end) {
        endField(end);
        if (fields < 0)
            fields = record.size();
        records << record;
        record = QStringList();
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = data[i];
        if (c == separator) {
            endField(i);
        } else if (c == u'\n') {
            endRecord(i);
        } else if (c == u'\r') {
            // A field holds no line break, so a carriage return ends the line whether a line feed
            // follows (our own files) or not (files of old Macs): taken for part of a field it
            // would glue two records together.
            endRecord(i);
            if (i + 1 < n && data[i + 1] == u'\n')
                start = ++i + 1;
        }
    }
    // A last line without a line break is a record as much as the others.
    if (start < n || !record.isEmpty())
        endRecord(n);
    return records;
}

QByteArray ExchangeBytes(const platform::TStringGrid& grid, int first, int last, QChar separator)
{
    QByteArray out;
    const QByteArray sep = QString(separator).toUtf8();
    for (int row = std::max(first, 0); row <= last && row < grid.RowCount(); ++row) {
        for (int col = 0; col < grid.ColCount(); ++col) {
            if (col > 0)
                out += sep;
            out += grid.Cell(col, row).toUtf8();
        }
        out += "\r\n";
    }
    return out;
}

int CellsHoldingSeparator(const platform::TStringGrid& grid, int first, int last, QChar separator)
{
    int count = 0;
    for (int row = std::max(first, 0); row <= last && row < grid.RowCount(); ++row)
        for (int col = 0; col < grid.ColCount(); ++col)
            if (grid.Cell(col, row).contains(separator))
                ++count;
    return count;
}

QString ExportFileName(const QString& chosen, int filter)
{
    const QString ext = ExtensionOfFilter(filter);
    if (chosen.endsWith(ext, Qt::CaseInsensitive))
        return chosen;
    const QString suffix = QFileInfo(chosen).suffix();
    if (suffix.isEmpty())
        return chosen + ext;
    return chosen.left(chosen.size() - suffix.size() - 1) + ext;
}

int AppendRecords(platform::TStringGrid& grid, QList<QStringList> records, const QList<int>& links)
{
    if (records.isEmpty())
        return 0;
    int row = grid.RowCount();
    // The blank record of an empty book is taken by the first record; one the user has filled
    // never is.
    if (grid.RowCount() == 2) {
        bool blank = true;
        for (int col = 0; col < grid.ColCount() && blank; ++col)
            blank = grid.Cell(col, 1).isEmpty();
        if (blank)
            row = 1;
    }
    grid.PadLists();
    QList<platform::TCellRow> rows;
    rows.reserve(records.size());
    QList<QStringView> cells(grid.ColCount());
    for (QStringList& record : records) {
        for (int col = 0; col < grid.ColCount(); ++col) {
            const int field = col < links.size() ? links[col] : -1;
            cells[col] = field >= 0 && field < record.size() ? QStringView(record[field]) : QStringView();
        }
        rows << platform::TCellRow(cells);
        // The record's list goes as soon as its row is made: the two copies of a large import
        // are never held whole side by side.
        record = QStringList();
    }
    const int count = row + static_cast<int>(rows.size());
    grid.ReplaceRowsFrom(row, std::move(rows));
    grid.Marques.resize(std::max<qsizetype>(grid.Marques.size(), count));
    grid.Copies.resize(std::max<qsizetype>(grid.Copies.size(), count));
    for (int r = row; r < count; ++r) {
        grid.Marques[r] = 0;
        grid.Copies[r] = 1;
    }
    return count - row;
}

} // namespace addressbook
