#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace platform {
class TStringGrid;
}

// One kind of label sheet and the page it is printed on. Every length is an integer number of
// hundredths of a millimetre, held as decimal text in the row exactly as the family files store
// it; numbers are read from the text only where a computation needs them.
namespace station {

// Cells of a format row, in file order.
enum TFormatColumn {
    cfName = 0,
    cfWidth = 1,
    cfHeight = 2,
    cfColumns = 3,
    cfRows = 4,
    cfGapHorizontal = 5,
    cfGapVertical = 6,
    cfMarginLeft = 7,
    cfMarginTop = 8,
    cfEllipseWidth = 9,
    cfEllipseHeight = 10,
};
constexpr int FormatCellCount = 11;

// A margin of this text centres the labels on the page.
inline const QString CentredMargin = QStringLiteral("99999");

// Labels across and down: a sheet never holds more than 50 either way.
constexpr int MaxLabelCount = 50;
// Counts outside 1..50 (a hand-edited file, an old sheet) are clamped where they are used.
int ClampLabelCount(int count);

// The paper of a format, told by the beginning of its name; never stored.
enum TTypePapier {
    tpA4 = 0,
    tpA5 = 1,
    tpContinuous12 = 2, // continuous paper, 12 inches per page
    tpContinuous6 = 3,  // continuous paper, 6 inches per page
    tpRoll = 4,         // a roll: one label per page
};

// The texts of the format window's table that name papers in the active language. Names made in
// the editor begin with them, so the paper of such a name depends on the language it was made in.
struct TPaperNames {
    QString Continuous12 = QStringLiteral("12\" continuous paper");
    QString Continuous6 = QStringLiteral("6\" continuous paper");
    QString Roll = QStringLiteral("Roll");
    QString DefaultFormat = QStringLiteral("Default format");
};

// One sheet format: the 11 cells of a family row.
struct TLigneFormat {
    std::array<QString, FormatCellCount> Cells;

    const QString& Nom() const { return Cells[cfName]; }
    // The integer in a cell; EConvertError when the cell is not a number.
    int Integer(int cell) const;
    // Columns and rows clamped to 1..50 (EConvertError when not numbers).
    int NbColonnes() const;
    int NbLignes() const;
    // Round labels, the cells read as numbers: the preview and the station decide this way.
    bool IsRound() const;
    // Round labels, the cells compared as text: the editor decides this way. Rows written by the
    // program hold either copies of cells 1 and 2 or "0", so both readings agree on them.
    bool IsRoundAsText() const;
    bool AllEmpty() const;

    // "Default format": 3 x 7 labels of 70 x 42 mm, no gaps, no margins, not round.
    static TLigneFormat Default(const QString& name);
    static TLigneFormat FromGrid(const platform::TStringGrid& grid, int row);
    void ToGrid(platform::TStringGrid& grid, int row) const;
    QStringList List() const;
};

TTypePapier TypePapier(const QString& name, const TPaperNames& names);
QString NomPapier(TTypePapier type, const TPaperNames& names);

// Page width: 21000 on A4 and A5 sheets; on continuous paper and rolls the labels across and
// their gaps make the width. Columns are clamped to 1..50.
int LargeurPage(const QString& name, int labelWidth, int columns, int gapHorizontal,
                const TPaperNames& names);
// Page height: fixed per paper, one label high on a roll.
int HauteurPage(const QString& name, int labelHeight, const TPaperNames& names);

enum class TMarginDirection { Largeur, Hauteur };

// The margin of `format` as text: `value` itself, unless it is "99999", which gives the margin
// that centres the labels (integer division toward zero). The centring deliberately leaves the
// gaps out: sheets stored over the years were laid out against that rule.
QString CalculerMarge(const QString& value, TMarginDirection direction, const TLigneFormat& format,
                      const TPaperNames& names);
// The same as a number (EConvertError when it is not one).
int ComputedMargin(const QString& value, TMarginDirection direction, const TLigneFormat& format,
                  const TPaperNames& names);

// What a sheet preview shows of one format (lengths resolved, counts clamped).
struct TSheetPreview {
    int LargeurPage = 0;
    int HauteurPage = 0;
    int LargeurEtiquette = 0;
    int HauteurEtiquette = 0;
    int MargeHaut = 0;
    int MargeGauche = 0;
    int EcartVertical = 0;
    int EcartHorizontal = 0;
    int NbColonnes = 1;
    int NbLignes = 1;
    bool EtiquetteRonde = false;
};

// Fills a preview from a row; EConvertError on a cell that is not a number.
TSheetPreview FillSheetPreview(const TLigneFormat& format, const TPaperNames& names);

} // namespace station
