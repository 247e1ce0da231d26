#include "platform/TStringGrid.h"
#include "station/FormatFamilies.h"
#include "station/SheetFormat.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace station;

namespace {

QString dossierFormats()
{
    return QStringLiteral(PRAVOLIS_SOURCE_DIR "/data/formats");
}

} // namespace

// The reference families shipped beside the program: every format must lie wholly on its page,
// with its margins resolved as the print loop resolves them.
TEST(ShippedFormats, EveryFormatFitsItsPage)
{
    const TPaperNames noms;
    const std::vector<TFamilyFile> fichiers = ListFamilies(dossierFormats());
    // The custom family is not shipped: the program makes it.
    ASSERT_GE(fichiers.size(), 9u);
    EXPECT_FALSE(QFile::exists(fichiers.back().Path));

    int formats = 0;
    QSet<QString> vus;
    QSet<int> papiers;
    for (size_t f = 0; f + 1 < fichiers.size(); ++f) {
        const TFamilyFile& fichier = fichiers[f];
        SCOPED_TRACE(fichier.Name.toStdString());
        EXPECT_FALSE(IsCustomFamily(fichier.Name));
        EXPECT_FALSE(fichier.Name.contains(u'.'));
        platform::TStringGrid g;
        LireFamilleFormats(fichier.Path, g, noms.DefaultFormat);
        EXPECT_NE(g.Cell(cfName, 0), noms.DefaultFormat); // the file was read
        QSet<int> typesFamille;
        for (int r = 0; r < g.RowCount(); ++r) {
            const TLigneFormat l = TLigneFormat::FromGrid(g, r);
            SCOPED_TRACE(l.Nom().toStdString());
            ++formats;
            // Reference names begin with a numeric code, so their paper never depends on the
            // interface language.
            EXPECT_TRUE(QRegularExpression("^\\d{5} - ").match(l.Nom()).hasMatch());
            EXPECT_FALSE(vus.contains(l.Nom()));
            vus.insert(l.Nom());
            // The size and layout the name announces are the ones the cells hold: "W x H mm (C x R)"
            // or "D mm round (C x R)", millimetres with a decimal comma.
            const QRegularExpressionMatch m =
                QRegularExpression("^\\d{5} - ([\\d,]+)(?: x ([\\d,]+))? mm (?:round )?\\((\\d+) x (\\d+)\\)$")
                    .match(l.Nom());
            EXPECT_TRUE(m.hasMatch());
            if (m.hasMatch()) {
                const auto centiemes = [](const QString& mm) {
                    const QStringList p = mm.split(u',');
                    return p[0].toInt() * 100 + (p.size() > 1 ? p[1].leftJustified(2, u'0').toInt() : 0);
                };
                EXPECT_EQ(centiemes(m.captured(1)), l.Integer(cfWidth));
                EXPECT_EQ(centiemes(m.captured(2).isEmpty() ? m.captured(1) : m.captured(2)), l.Integer(cfHeight));
                EXPECT_EQ(m.captured(3).toInt(), l.Integer(cfColumns));
                EXPECT_EQ(m.captured(4).toInt(), l.Integer(cfRows));
                EXPECT_EQ(m.captured(2).isEmpty(), l.IsRound());
            }

            const int colonnes = l.Integer(cfColumns);
            const int lignes = l.Integer(cfRows);
            EXPECT_TRUE(colonnes >= 1 && colonnes <= MaxLabelCount);
            EXPECT_TRUE(lignes >= 1 && lignes <= MaxLabelCount);
            const TSheetPreview a = FillSheetPreview(l, noms);
            EXPECT_GT(a.LargeurEtiquette, 0);
            EXPECT_GT(a.HauteurEtiquette, 0);
            EXPECT_GE(a.EcartHorizontal, 0);
            EXPECT_GE(a.EcartVertical, 0);
            EXPECT_GE(a.MargeGauche, 0);
            EXPECT_GE(a.MargeHaut, 0);
            EXPECT_LE(a.MargeGauche + a.NbColonnes * a.LargeurEtiquette + (a.NbColonnes - 1) * a.EcartHorizontal,
                      a.LargeurPage);
            EXPECT_LE(a.MargeHaut + a.NbLignes * a.HauteurEtiquette + (a.NbLignes - 1) * a.EcartVertical,
                      a.HauteurPage);
            // Centring leaves the gaps out, so it is only used where there are none.
            if (l.Cells[cfMarginLeft] == CentredMargin) {
                EXPECT_EQ(a.EcartHorizontal, 0);
            }
            if (l.Cells[cfMarginTop] == CentredMargin) {
                EXPECT_EQ(a.EcartVertical, 0);
            }
            // Round or not, the two readings of the ellipse cells agree.
            EXPECT_EQ(l.IsRound(), l.IsRoundAsText());
            if (!l.IsRound()) {
                EXPECT_EQ(l.Cells[cfEllipseWidth], "0");
                EXPECT_EQ(l.Cells[cfEllipseHeight], "0");
            }
            typesFamille.insert(TypePapier(l.Nom(), noms));
        }
        // One paper per family.
        EXPECT_EQ(typesFamille.size(), 1);
        papiers.unite(typesFamille);
    }
    EXPECT_GE(formats, 40);
    EXPECT_EQ(papiers, (QSet<int>{tpA4, tpA5, tpContinuous12, tpContinuous6, tpRoll}));
}

// The commonest sheets are there with their real dimensions.
TEST(ShippedFormats, CommonSheetsArePresent)
{
    const TPaperNames noms;
    struct Attendu {
        int largeur, hauteur, colonnes, lignes;
        bool rond;
    };
    const Attendu attendus[] = {
        {9910, 3810, 2, 7, false}, {7000, 3600, 3, 8, false}, {6350, 3810, 3, 7, false},
        {9910, 6770, 2, 4, false}, {21000, 29700, 1, 1, false}, {8500, 5400, 2, 5, false},
        {4000, 4000, 4, 6, true},
    };
    QList<TLigneFormat> tous;
    for (const TFamilyFile& f : ListFamilies(dossierFormats())) {
        platform::TStringGrid g;
        LireFamilleFormats(f.Path, g, noms.DefaultFormat);
        for (int r = 0; r < g.RowCount(); ++r)
            tous << TLigneFormat::FromGrid(g, r);
    }
    for (const Attendu& a : attendus) {
        const bool trouve = std::any_of(tous.begin(), tous.end(), [&](const TLigneFormat& l) {
            return TypePapier(l.Nom(), noms) == tpA4 && l.Integer(cfWidth) == a.largeur
                   && l.Integer(cfHeight) == a.hauteur && l.Integer(cfColumns) == a.colonnes
                   && l.Integer(cfRows) == a.lignes && l.IsRound() == a.rond;
        });
        EXPECT_TRUE(trouve) << a.largeur << " x " << a.hauteur << " (" << a.colonnes << " x " << a.lignes << ")";
    }
}
