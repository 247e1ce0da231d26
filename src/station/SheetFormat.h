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
enum TColonneFormat {
    cfNom = 0,
    cfLargeur = 1,
    cfHauteur = 2,
    cfColonnes = 3,
    cfLignes = 4,
    cfEcartHorizontal = 5,
    cfEcartVertical = 6,
    cfMargeGauche = 7,
    cfMargeHaut = 8,
    cfEllipseLargeur = 9,
    cfEllipseHauteur = 10,
};
constexpr int NbCellulesFormat = 11;

// A margin of this text centres the labels on the page.
inline const QString MargeCentree = QStringLiteral("99999");

// Labels across and down: a sheet never holds more than 50 either way.
constexpr int NbEtiquettesMax = 50;
// Counts outside 1..50 (a hand-edited file, an old sheet) are clamped where they are used.
int BornerNombre(int count);

// The paper of a format, told by the beginning of its name; never stored.
enum TTypePapier {
    tpA4 = 0,
    tpA5 = 1,
    tpParavent12 = 2, // continuous paper, 12 inches per page
    tpParavent6 = 3,  // continuous paper, 6 inches per page
    tpRouleau = 4,    // a roll: one label per page
};

// The texts of the format window's table that name papers in the active language. Names made in
// the editor begin with them, so the paper of such a name depends on the language it was made in.
struct TNomsPapier {
    QString Paravent12 = QStringLiteral("12\" continuous paper");
    QString Paravent6 = QStringLiteral("6\" continuous paper");
    QString Rouleau = QStringLiteral("Roll");
    QString FormatParDefaut = QStringLiteral("Default format");
};

// One sheet format: the 11 cells of a family row.
struct TLigneFormat {
    std::array<QString, NbCellulesFormat> Cells;

    const QString& Nom() const { return Cells[cfNom]; }
    // The integer in a cell; EConvertError when the cell is not a number.
    int Entier(int cell) const;
    // Columns and rows clamped to 1..50 (EConvertError when not numbers).
    int NbColonnes() const;
    int NbLignes() const;
    // Round labels, the cells read as numbers: the preview and the station decide this way.
    bool Ronde() const;
    // Round labels, the cells compared as text: the editor decides this way. Rows written by the
    // program hold either copies of cells 1 and 2 or "0", so both readings agree on them.
    bool RondeTexte() const;
    bool ToutVide() const;

    // "Default format": 3 x 7 labels of 70 x 42 mm, no gaps, no margins, not round.
    static TLigneFormat ParDefaut(const QString& nom);
    static TLigneFormat DeGrille(const platform::TStringGrid& grille, int row);
    void VersGrille(platform::TStringGrid& grille, int row) const;
    QStringList Liste() const;
};

TTypePapier TypePapier(const QString& nom, const TNomsPapier& noms);
QString NomPapier(TTypePapier type, const TNomsPapier& noms);

// Page width: 21000 on A4 and A5 sheets; on continuous paper and rolls the labels across and
// their gaps make the width. Columns are clamped to 1..50.
int LargeurPage(const QString& nom, int largeurEtiquette, int colonnes, int ecartHorizontal,
                const TNomsPapier& noms);
// Page height: fixed per paper, one label high on a roll.
int HauteurPage(const QString& nom, int hauteurEtiquette, const TNomsPapier& noms);

enum class TDirectionMarge { Largeur, Hauteur };

// The margin of `ligne` as text: `valeur` itself, unless it is "99999", which gives the margin
// that centres the labels (integer division toward zero). The centring deliberately leaves the
// gaps out: sheets stored over the years were laid out against that rule.
QString CalculerMarge(const QString& valeur, TDirectionMarge direction, const TLigneFormat& ligne,
                      const TNomsPapier& noms);
// The same as a number (EConvertError when it is not one).
int MargeCalculee(const QString& valeur, TDirectionMarge direction, const TLigneFormat& ligne,
                  const TNomsPapier& noms);

// What a sheet preview shows of one format (lengths resolved, counts clamped).
struct TApercuPlanche {
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
TApercuPlanche RemplirApercu(const TLigneFormat& ligne, const TNomsPapier& noms);

} // namespace station
