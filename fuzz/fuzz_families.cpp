// Sheet-format family files: any bytes read into a grid; written and read again, the grid is
// the same, rows in the same order (a remembered format index depends on it). Each row then goes
// through the format editor's fields and back, and its preview picture stays within its bound.
#include "FuzzSupport.h"

#include "platform/Errors.h"
#include "platform/TStringGrid.h"
#include "platform/TextFile.h"
#include "station/FormatEditor.h"
#include "station/FormatFamilies.h"
#include "station/SheetDrawing.h"

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

    const TPaperNames names;
    for (int r = 0; r < grid.RowCount(); ++r) {
        const TLigneFormat row = TLigneFormat::FromGrid(grid, r);
        for (const QString& cell : row.Cells) {
            // A length the editor takes shows as a text that reads back as the same length.
            const std::optional<qint64> v = MillimetreHundredths(cell);
            if (v && *v >= -MaxEditorLength && *v <= MaxEditorLength)
                FUZZ_CHECK(MillimetreHundredths(MillimetreText(int(*v))) == v);
        }
        TEditorFields fields;
        try {
            fields = EditorFieldsFromRow(row, names);
        } catch (const platform::EConvertError&) {
            continue; // a cell that is not a number: the format window reports it
        }
        const QSize image = PreviewImageSize(EditorPreview(fields, names), 281.0 / 33500);
        FUZZ_CHECK(image.width() >= 1 && image.width() <= MaxPreviewSide);
        FUZZ_CHECK(image.height() >= 1 && image.height() <= MaxPreviewSide);
        if (CheckEditorFields(fields) == TEditorRefusal::None) {
            // What the editor stores shows again as the same fields.
            const TLigneFormat stored = RowFromEditorFields(fields);
            const TEditorFields shown = EditorFieldsFromRow(stored, names);
            FUZZ_CHECK(RowFromEditorFields(shown).List() == stored.List());
        }
    }

    // Deleting every format one by one ends with the default row, never an empty family.
    for (int n = grid.RowCount(); n > 1; --n) {
        const int next = DeleteFormat(grid, n / 2, QStringLiteral("Default format"));
        FUZZ_CHECK(grid.RowCount() == n - 1);
        FUZZ_CHECK(next >= 0 && next < grid.RowCount());
    }
    return 0;
}
