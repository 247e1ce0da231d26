#include "SheetFormat.h"

#include "platform/Numbers.h"
#include "platform/TStringGrid.h"

#include <algorithm>
#include <limits>

namespace station {

namespace {

// Products of cells can leave the int range on absurd rows; keep the arithmetic defined.
int borne(qint64 v)
{
    return static_cast<int>(std::clamp<qint64>(v, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

bool commencePar(const QString& nom, const QString& prefixe)
{
    return !prefixe.isEmpty() && nom.startsWith(prefixe, Qt::CaseSensitive);
}

} // namespace

int BornerNombre(int count)
{
    return std::clamp(count, 1, NbEtiquettesMax);
}

int TLigneFormat::Entier(int cell) const
{
    return platform::StrToInt(Cells.at(static_cast<size_t>(cell)));
}

int TLigneFormat::NbColonnes() const
{
    return BornerNombre(Entier(cfColonnes));
}

int TLigneFormat::NbLignes() const
{
    return BornerNombre(Entier(cfLignes));
}

bool TLigneFormat::Ronde() const
{
    const int largeur = Entier(cfLargeur);
    const int hauteur = Entier(cfHauteur);
    return largeur > 0 && hauteur > 0 && Entier(cfEllipseLargeur) == largeur
           && Entier(cfEllipseHauteur) == hauteur;
}

bool TLigneFormat::RondeTexte() const
{
    if (Cells[cfLargeur] != Cells[cfEllipseLargeur] || Cells[cfHauteur] != Cells[cfEllipseHauteur])
        return false;
    return platform::StrToIntDef(Cells[cfLargeur], 0) > 0
           && platform::StrToIntDef(Cells[cfHauteur], 0) > 0;
}

bool TLigneFormat::ToutVide() const
{
    return std::all_of(Cells.begin(), Cells.end(), [](const QString& c) { return c.isEmpty(); });
}

TLigneFormat TLigneFormat::ParDefaut(const QString& nom)
{
    TLigneFormat l;
    l.Cells = {nom, QStringLiteral("7000"), QStringLiteral("4200"), QStringLiteral("3"),
               QStringLiteral("7"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
               QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0")};
    return l;
}

TLigneFormat TLigneFormat::DeGrille(const platform::TStringGrid& grille, int row)
{
    TLigneFormat l;
    for (int c = 0; c < NbCellulesFormat; ++c)
        l.Cells[static_cast<size_t>(c)] = grille.Cell(c, row);
    return l;
}

void TLigneFormat::VersGrille(platform::TStringGrid& grille, int row) const
{
    grille.SetRow(row, Liste());
}

QStringList TLigneFormat::Liste() const
{
    return QStringList(Cells.begin(), Cells.end());
}

TTypePapier TypePapier(const QString& nom, const TNomsPapier& noms)
{
    // Reference names carry a numeric code; names made in the editor carry the paper's name.
    // Later tests win, so a name can only be one paper.
    const QString code = nom.left(3);
    TTypePapier type = tpA4;
    if (code == u"114" || code == u"011" || code == u"012" || code == u"115" || nom.startsWith(u"A5"))
        type = tpA5;
    if (code == u"120" || commencePar(nom, noms.Paravent12))
        type = tpParavent12;
    if (code == u"020" || commencePar(nom, noms.Paravent6))
        type = tpParavent6;
    if (code == u"190" || commencePar(nom, noms.Rouleau))
        type = tpRouleau;
    return type;
}

QString NomPapier(TTypePapier type, const TNomsPapier& noms)
{
    switch (type) {
    case tpA4:
        return QStringLiteral("A4");
    case tpA5:
        return QStringLiteral("A5");
    case tpParavent12:
        return noms.Paravent12;
    case tpParavent6:
        return noms.Paravent6;
    case tpRouleau:
        return noms.Rouleau;
    }
    return QStringLiteral("A4");
}

int LargeurPage(const QString& nom, int largeurEtiquette, int colonnes, int ecartHorizontal,
                const TNomsPapier& noms)
{
    const TTypePapier type = TypePapier(nom, noms);
    if (type == tpA4 || type == tpA5)
        return 21000;
    const qint64 n = BornerNombre(colonnes);
    return borne(static_cast<qint64>(largeurEtiquette) * n + static_cast<qint64>(ecartHorizontal) * (n - 1));
}

int HauteurPage(const QString& nom, int hauteurEtiquette, const TNomsPapier& noms)
{
    switch (TypePapier(nom, noms)) {
    case tpA4:
        return 29700;
    case tpA5:
        return 14850;
    case tpParavent12:
        return 30480;
    case tpParavent6:
        return 15240;
    case tpRouleau:
        return hauteurEtiquette;
    }
    return 29700;
}

QString CalculerMarge(const QString& valeur, TDirectionMarge direction, const TLigneFormat& ligne,
                      const TNomsPapier& noms)
{
    if (valeur != MargeCentree)
        return valeur;
    qint64 marge;
    if (direction == TDirectionMarge::Hauteur) {
        const int hauteur = ligne.Entier(cfHauteur);
        const qint64 page = HauteurPage(ligne.Nom(), hauteur, noms);
        marge = (page - static_cast<qint64>(hauteur) * ligne.NbLignes()) / 2;
    } else {
        const int largeur = ligne.Entier(cfLargeur);
        const int colonnes = ligne.NbColonnes();
        const qint64 page = LargeurPage(ligne.Nom(), largeur, colonnes,
                                        ligne.Entier(cfEcartHorizontal), noms);
        marge = (page - static_cast<qint64>(largeur) * colonnes) / 2;
    }
    return QString::number(borne(marge));
}

int MargeCalculee(const QString& valeur, TDirectionMarge direction, const TLigneFormat& ligne,
                  const TNomsPapier& noms)
{
    return platform::StrToInt(CalculerMarge(valeur, direction, ligne, noms));
}

TApercuPlanche RemplirApercu(const TLigneFormat& ligne, const TNomsPapier& noms)
{
    TApercuPlanche a;
    a.LargeurEtiquette = ligne.Entier(cfLargeur);
    a.HauteurEtiquette = ligne.Entier(cfHauteur);
    a.NbColonnes = ligne.NbColonnes();
    a.NbLignes = ligne.NbLignes();
    a.EcartHorizontal = ligne.Entier(cfEcartHorizontal);
    a.EcartVertical = ligne.Entier(cfEcartVertical);
    a.LargeurPage = LargeurPage(ligne.Nom(), a.LargeurEtiquette, a.NbColonnes, a.EcartHorizontal, noms);
    a.HauteurPage = HauteurPage(ligne.Nom(), a.HauteurEtiquette, noms);
    a.MargeGauche = MargeCalculee(ligne.Cells[cfMargeGauche], TDirectionMarge::Largeur, ligne, noms);
    a.MargeHaut = MargeCalculee(ligne.Cells[cfMargeHaut], TDirectionMarge::Hauteur, ligne, noms);
    a.EtiquetteRonde = ligne.Ronde();
    return a;
}

} // namespace station
