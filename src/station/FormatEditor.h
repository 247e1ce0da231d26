#pragma once

#include "station/SheetFormat.h"

#include <QString>

#include <optional>

// The rules of the sheet-format editor, apart from its window: the paper prefix of a name, the
// millimetre texts and the row they make, what each paper allows, and the sheet it previews.
namespace station {

// Names of the shipped reference sheets start with a numeric code and keep their text.
bool IsReferenceName(const QString& name);

// The name with the paper's name in front: an empty name becomes "paper - ", the part before
// the first " - " is replaced, any other name gets the prefix. Reference names are left alone.
QString PrefixerNom(const QString& name, const QString& paperName);

// Hundredths of a millimetre as the editor shows them: two decimals, ',' separator ("70,00").
QString MillimetreText(int hundredths);
// The exact hundredths of a decimal millimetre text, the third decimal and beyond rounding half
// to even on the decimal value itself ("70,125" -> 7012, "70,375" -> 7038), not on a binary
// double. Nothing when the text is not a number. Very long numbers saturate far beyond any
// length the editor accepts instead of wrapping.
std::optional<qint64> MillimetreHundredths(const QString& text);
// The text a millimetre field keeps when it is left: itself when it is a number, else "0".
QString CheckedMillimetreText(const QString& text);
// A count field's value: anything below 1 becomes 1.
int CheckedCount(int value);

// Longest length the editor takes, either sign: 10 m. Fifty labels and their gaps then stay far
// inside the integer range every later computation (pages, cells, print positions) uses.
constexpr qint64 MaxEditorLength = 1000000;

// What a paper lets the user edit. Empty texts and unset counts leave a field as it is.
struct TPaperFields {
    bool CountsEnabled = true;
    bool MarginsEnabled = true;
    bool GapHorizontalEnabled = true;
    std::optional<int> Count; // columns and rows forced to this
    QString Margins;          // top and left margins forced to this
    QString GapHorizontal;    // horizontal gap forced to this
};
// The fields for a paper with `columns` labels across.
TPaperFields AdaptToPaper(TTypePapier paper, int columns);
// Continuous paper's horizontal gap: none with one column, 5 mm between columns otherwise.
QString ContinuousGap(int columns);

// The editor's fields as typed (millimetre texts) and the counts and check.
struct TEditorFields {
    QString Name;
    QString Width, Height;
    QString MarginTop, MarginLeft;
    QString GapHorizontal, GapVertical;
    int Columns = 1;
    int Rows = 1;
    bool Round = false;
};

// The fields that edit `row`: a centring margin is shown as the margin it gives.
TEditorFields EditorFieldsFromRow(const TLigneFormat& row, const TPaperNames& names);

enum class TEditorRefusal {
    None,
    LabelSize,  // width or height 0 or below
    OutOfRange, // a length beyond MaxEditorLength (or not a number)
};
TEditorRefusal CheckEditorFields(const TEditorFields& fields);

// The row the fields make (cells 9 and 10 copy the size for round labels). Lengths beyond the
// editor's range are held to it; CheckEditorFields tells the user before this is used. A margin
// never becomes the centring mark.
TLigneFormat RowFromEditorFields(const TEditorFields& fields);

// The preview of the fields being edited; the name's prefix decides the paper.
TSheetPreview EditorPreview(const TEditorFields& fields, const TPaperNames& names);

} // namespace station
