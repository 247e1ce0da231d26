// Table files: any bytes are either refused with a message or give a table inside its limits (1
// to 40 fields, at least one record, every row as wide as the table). A table read is written and
// read again to the same table, and its bytes are then stable. The commands that reshape a table
// and a replace-all pass keep it inside those limits.
#include "FuzzSupport.h"

#include "database/DbTable.h"
#include "database/TableFile.h"
#include "database/TableSearch.h"
#include "platform/Errors.h"

using namespace database;

namespace {

bool withinLimits(const TTableData& d)
{
    if (d.ColCount() < 1 || d.ColCount() > MaxFields || d.Rows.size() < 2)
        return false;
    if (d.Marques.size() < d.Rows.size() || d.Copies.size() < d.Rows.size())
        return false;
    for (const QStringList& row : d.Rows)
        if (row.size() != d.ColCount())
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes = fuzzsupport::bytesOf(data, size);
    TTableData d;
    try {
        d = ParseTableFile(bytes, QStringLiteral("fuzz.FIC"));
    } catch (const platform::Exception&) {
        d.Rows.clear();
    }
    // The reader that packs rows as it goes accepts and refuses the same files, with the same rows.
    QList<platform::TCellRow> packed;
    bool packedRead = true;
    try {
        ParseTableFile(bytes, QStringLiteral("fuzz.FIC"), packed);
    } catch (const platform::Exception&) {
        packedRead = false;
    }
    FUZZ_CHECK(packedRead == !d.Rows.isEmpty());
    if (!packedRead)
        return 0;
    FUZZ_CHECK(packed.size() == d.Rows.size());
    for (qsizetype r = 0; r < packed.size(); ++r)
        FUZZ_CHECK(packed[r].ToList() == d.Rows[r]);
    FUZZ_CHECK(withinLimits(d));
    const QByteArray written = TableFileBytes(d);
    const TTableData again = ParseTableFile(written, QStringLiteral("again.FIC"));
    FUZZ_CHECK(again.Rows == d.Rows);
    FUZZ_CHECK(again.ColWidths == d.ColWidths);
    FUZZ_CHECK(again.Card == d.Card);
    FUZZ_CHECK(TableFileBytes(again) == written);

    DbTable table;
    table.Adopt(d, QStringLiteral("fuzz.FIC"));
    FUZZ_CHECK(table.FileBytes() == written); // written from the grid as from the rows
    const QString needle = table.Grille.Cell(0, 1).left(2);
    TReplaceCursor replace;
    replace.ReplaceAll(table, needle, needle + needle);
    table.AddField(QStringLiteral("Field "));
    table.DeleteFields(1, 2);
    table.DeleteRecords(1, 2);
    table.Sort(0);
    FUZZ_CHECK(withinLimits(table.Data()));
    return 0;
}
