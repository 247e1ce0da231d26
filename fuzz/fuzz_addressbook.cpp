// Address-book files and the text files it imports: any bytes read into a consistent book that
// writes back what it read, and any text file read into records of one field count that export
// and read back the same.
#include "FuzzSupport.h"

#include "addressbook/AddressBook.h"
#include "addressbook/AddressBookFile.h"
#include "addressbook/TextExchange.h"
#include "platform/TextFile.h"

#include <QTemporaryDir>

#include <memory>

using namespace addressbook;

namespace {

QString folder()
{
    static std::unique_ptr<QTemporaryDir> dir = fuzzsupport::scratchFolder();
    return dir->path();
}

void book(const QByteArray& bytes)
{
    const TRepContents c = ParseRepertoire(bytes, QStringLiteral("fuzz.rep"));
    FUZZ_CHECK(c.Marques.size() == c.Rows.size() && c.Copies.size() == c.Rows.size());
    FUZZ_CHECK(c.ColonneTri >= 0 && c.ColonneTri < ColumnCount);
    for (qsizetype r = 0; r < c.Rows.size(); ++r) {
        FUZZ_CHECK(c.Rows[r].size() == ColumnCount);
        FUZZ_CHECK(c.Marques[r] == 0 || c.Marques[r] == 1);
        FUZZ_CHECK(c.Copies[r] >= 1);
    }

    const QString path = folder() + QStringLiteral("/fuzz.rep");
    platform::writeFileAtomically(path, bytes);
    TAddressBook b;
    b.DerniereLigne = bytes.isEmpty() ? 1 : static_cast<signed char>(bytes.front());
    const QString error = b.LireRepertoire(path);
    FUZZ_CHECK(error.isEmpty() == c.Error.isEmpty());
    FUZZ_CHECK(b.NbFiches() >= 1 && b.NbFiches() == std::max<qsizetype>(c.Rows.size() - 1, 1));
    FUZZ_CHECK(b.Grille.Row() >= 1 && b.Grille.Row() <= b.LastRow());
    FUZZ_CHECK(b.Grille.Marques.size() >= b.Grille.RowCount() && b.Grille.Copies.size() >= b.Grille.RowCount());

    // What the book writes reads back to the same book, and writes the same bytes again.
    const QByteArray written = RepertoireBytes(b.Grille, b.ColonneTri);
    const TRepContents again = ParseRepertoire(written, QStringLiteral("again.rep"));
    FUZZ_CHECK(again.Error.isEmpty());
    FUZZ_CHECK(again.Rows.size() == b.Grille.RowCount());
    for (int r = 1; r < b.Grille.RowCount(); ++r) {
        FUZZ_CHECK(again.Marques[r] == b.Grille.MarkOf(r) && again.Copies[r] == b.Grille.CopiesOf(r));
        for (int col = 0; col < ColumnCount; ++col) {
            // Line breaks inside a value are written as blanks; nothing else changes.
            QString cell = b.Grille.Cell(col, r);
            cell.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
            cell.replace(u'\r', u' ');
            cell.replace(u'\n', u' ');
            FUZZ_CHECK(again.Rows[r][col] == cell);
        }
    }
    TAddressBook second;
    platform::writeFileAtomically(path, written);
    FUZZ_CHECK(second.LireRepertoire(path).isEmpty());
    FUZZ_CHECK(RepertoireBytes(second.Grille, second.ColonneTri) == written);
}

void exchange(const QByteArray& bytes, QChar separator)
{
    const QList<QStringList> records = ReadExchangeRecords(bytes, separator);
    if (records.isEmpty())
        return;
    const qsizetype fields = records.front().size();
    qsizetype stored = 0;
    for (const QStringList& r : records) {
        FUZZ_CHECK(r.size() <= fields);
        stored += r.size();
        for (const QString& f : r)
            FUZZ_CHECK(!f.contains(separator) && !f.contains(u'\n') && !f.contains(u'\r'));
    }
    // Each stored field but a record's first took a separator of the file.
    FUZZ_CHECK(stored <= bytes.size() + records.size());
    // A grid holds every cell of every record: the trip through one is made for files whose
    // grid stays small.
    if (fields * records.size() > 100000)
        return;
    // Records into a grid and out again: the same records, lines of the same field count.
    platform::TStringGrid grid;
    grid.SetColCount(static_cast<int>(fields));
    QList<int> links;
    for (int k = 0; k < fields; ++k)
        links << k;
    const int added = AppendRecords(grid, records, links);
    FUZZ_CHECK(added == records.size());
    FUZZ_CHECK(CellsHoldingSeparator(grid, 1, grid.RowCount() - 1, separator) == 0);
    const QByteArray out = ExchangeBytes(grid, grid.RowCount() - added, grid.RowCount() - 1, separator);
    // The grid writes every field, so the records come back at the first record's count.
    QList<QStringList> padded = records;
    for (QStringList& r : padded)
        while (r.size() < fields)
            r << QString();
    FUZZ_CHECK(ReadExchangeRecords(out, separator) == padded);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    book(bytes);
    exchange(bytes, u';');
    exchange(bytes, u'\t');
    return 0;
}
