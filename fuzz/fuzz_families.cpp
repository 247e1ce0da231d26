// Sheet-format family files: any bytes read into a grid; written and read again, the grid is
// the same, rows in the same order (a remembered format index depends on it).
#include "FuzzSupport.h"

#include "platform/Errors.h"
#include "platform/TStringGrid.h"
#include "platform/TextFile.h"
#include "station/FormatFamilies.h"

#include <QTemporaryDir>

#include <memory>

using namespace station;

namespace {

QString folder()
{
    static std::unique_ptr<QTemporaryDir> dir = fuzzsupport::scratchFolder();
    return dir->path();
}

QList<QStringList> rows(const platform::TStringGrid& grid)
{
    QList<QStringList> out;
    for (int r = 0; r < grid.RowCount(); ++r)
        out << grid.Rows(r);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = folder() + QStringLiteral("/fuzz.for");
    const QString copy = folder() + QStringLiteral("/copy.for");
    platform::writeFileAtomically(path, fuzzsupport::bytesOf(data, size));

    platform::TStringGrid grid;
    LireFamilleFormats(path, grid, QStringLiteral("Default format"));
    FUZZ_CHECK(grid.RowCount() >= 1);
    FUZZ_CHECK(grid.ColCount() == FormatCellCount);

    EcrireFamilleFormats(grid, copy);
    platform::TStringGrid again;
    LireFamilleFormats(copy, again, QStringLiteral("Default format"));
    FUZZ_CHECK(rows(again) == rows(grid));

    // Deleting every format one by one ends with the default row, never an empty family.
    for (int n = grid.RowCount(); n > 1; --n) {
        const int next = DeleteFormat(grid, n / 2, QStringLiteral("Default format"));
        FUZZ_CHECK(grid.RowCount() == n - 1);
        FUZZ_CHECK(next >= 0 && next < grid.RowCount());
    }
    return 0;
}
