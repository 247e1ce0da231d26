#include "platform/Errors.h"
#include "station/SheetFormat.h"

#include <gtest/gtest.h>

using namespace station;

namespace {

TLigneFormat ligne(const QString& nom, int largeur, int hauteur, int colonnes, int lignes, int ecartH = 0,
                   int ecartV = 0, const QString& gauche = "0", const QString& haut = "0")
{
    TLigneFormat l;
    l.Cells = {nom, QString::number(largeur), QString::number(hauteur), QString::number(colonnes),
               QString::number(lignes), QString::number(ecartH), QString::number(ecartV), gauche, haut,
               "0", "0"};
    return l;
}

TNomsPapier francais()
{
    TNomsPapier n;
    n.Paravent12 = QStringLiteral("Paravent 12\"");
    n.Paravent6 = QStringLiteral("Paravent 6\"");
    n.Rouleau = QStringLiteral("Rouleau");
    n.FormatParDefaut = QStringLiteral("Format par défaut");
    return n;
}

} // namespace

TEST(PaperType, NumericCodesAndPrefixes)
{
    const TNomsPapier en;
    EXPECT_EQ(TypePapier("11901 - 99,1 x 38,1 mm", en), tpA4);
    EXPECT_EQ(TypePapier("", en), tpA4);
    for (const char* a5 : {"114x", "011", "012 b", "115", "A5", "A5 - Cards", "A51"})
        EXPECT_EQ(TypePapier(a5, en), tpA5) << a5;
    EXPECT_EQ(TypePapier("a5 - Cards", en), tpA4); // case-sensitive
    EXPECT_EQ(TypePapier("11", en), tpA4);         // too short for a code
    EXPECT_EQ(TypePapier("120", en), tpParavent12);
    EXPECT_EQ(TypePapier("020 - x", en), tpParavent6);
    EXPECT_EQ(TypePapier("19001", en), tpRouleau);
    // The later test wins: "A5" followed by nothing special stays A5, but a roll code beats it.
    EXPECT_EQ(TypePapier("190A5", en), tpRouleau);
}

TEST(PaperType, EditorNamesFollowTheActiveLanguage)
{
    const TNomsPapier en;
    const TNomsPapier fr = francais();
    EXPECT_EQ(TypePapier("12\" continuous paper - Tags", en), tpParavent12);
    EXPECT_EQ(TypePapier("6\" continuous paper - Tags", en), tpParavent6);
    EXPECT_EQ(TypePapier("Roll - Tags", en), tpRouleau);
    EXPECT_EQ(TypePapier("Rollo", en), tpRouleau); // a prefix is enough
    // A name made in French is only recognised while French is active.
    EXPECT_EQ(TypePapier("Rouleau - Tags", en), tpA4);
    EXPECT_EQ(TypePapier("Rouleau - Tags", fr), tpRouleau);
    EXPECT_EQ(TypePapier("Paravent 6\" - x", fr), tpParavent6);
    EXPECT_EQ(TypePapier("roll - Tags", en), tpA4);

    // An empty paper text must not make every name that paper.
    TNomsPapier vide;
    vide.Rouleau.clear();
    EXPECT_EQ(TypePapier("Tags", vide), tpA4);

    EXPECT_EQ(NomPapier(tpA4, en), "A4");
    EXPECT_EQ(NomPapier(tpA5, fr), "A5");
    EXPECT_EQ(NomPapier(tpParavent12, fr), "Paravent 12\"");
    EXPECT_EQ(NomPapier(tpRouleau, en), "Roll");
}

TEST(PageSize, FixedSheetsContinuousPaperAndRolls)
{
    const TNomsPapier en;
    EXPECT_EQ(LargeurPage("A4 - x", 7000, 3, 500, en), 21000);
    EXPECT_EQ(HauteurPage("A4 - x", 4200, en), 29700);
    EXPECT_EQ(LargeurPage("A5", 7000, 3, 500, en), 21000);
    EXPECT_EQ(HauteurPage("A51", 4200, en), 14850);
    EXPECT_EQ(HauteurPage("12001", 2340, en), 30480);
    EXPECT_EQ(HauteurPage("02001", 2340, en), 15240);
    // Continuous paper and rolls are as wide as their labels and the gaps between them.
    EXPECT_EQ(LargeurPage("12002", 8900, 2, 500, en), 18300);
    EXPECT_EQ(LargeurPage("19001", 8900, 1, 500, en), 8900);
    EXPECT_EQ(LargeurPage("19008", 3800, 3, 300, en), 12000);
    EXPECT_EQ(HauteurPage("19008", 2500, en), 2500);
    // Counts outside 1..50 are clamped before they multiply.
    EXPECT_EQ(LargeurPage("19001", 1000, 0, 100, en), 1000);
    EXPECT_EQ(LargeurPage("19001", 1000, 80, 100, en), 50 * 1000 + 49 * 100);
    EXPECT_EQ(LargeurPage("19001", 1000, -3, 100, en), 1000);
}

TEST(Margin, CentringIgnoresGapsAndTruncatesTowardZero)
{
    const TNomsPapier en;
    // 3 x 7 labels of 70 x 42 mm on A4: the gaps play no part in the centring.
    const TLigneFormat a4 = ligne("A4 - x", 7000, 4200, 3, 7, 800, 900, MargeCentree, MargeCentree);
    EXPECT_EQ(CalculerMarge(MargeCentree, TDirectionMarge::Largeur, a4, en), "0");
    EXPECT_EQ(CalculerMarge(MargeCentree, TDirectionMarge::Hauteur, a4, en), "150");
    // Any other value comes back as it was, even one that is not a number.
    EXPECT_EQ(CalculerMarge("725", TDirectionMarge::Largeur, a4, en), "725");
    EXPECT_EQ(CalculerMarge(" 99999", TDirectionMarge::Largeur, a4, en), " 99999");
    EXPECT_EQ(CalculerMarge("abc", TDirectionMarge::Hauteur, a4, en), "abc");

    // Odd remainders truncate: (29700 - 3 x 9899) = 3 -> 1.
    const TLigneFormat impair = ligne("A4", 1000, 9899, 1, 3);
    EXPECT_EQ(CalculerMarge(MargeCentree, TDirectionMarge::Hauteur, impair, en), "1");
    // Labels larger than the page give a negative margin, truncated toward zero (-1, not -2).
    const TLigneFormat trop = ligne("A4", 10501, 1000, 2, 1);
    EXPECT_EQ(CalculerMarge(MargeCentree, TDirectionMarge::Largeur, trop, en), "-1");
    // A roll: the page is the labels themselves, so centring gives gap-related offsets only.
    const TLigneFormat rouleau = ligne("19008", 3800, 2500, 2, 1, 300);
    EXPECT_EQ(CalculerMarge(MargeCentree, TDirectionMarge::Largeur, rouleau, en), "150");
    EXPECT_EQ(CalculerMarge(MargeCentree, TDirectionMarge::Hauteur, rouleau, en), "0");
    // Counts of 0 or above 50 are clamped where the margin uses them.
    const TLigneFormat zero = ligne("A4", 7000, 4200, 0, 99);
    EXPECT_EQ(CalculerMarge(MargeCentree, TDirectionMarge::Largeur, zero, en), "7000");
    EXPECT_EQ(CalculerMarge(MargeCentree, TDirectionMarge::Hauteur, zero, en), QString::number((29700 - 50 * 4200) / 2));
}

TEST(Margin, BadCellsRaiseConversionErrors)
{
    const TNomsPapier en;
    TLigneFormat l = ligne("A4", 7000, 4200, 3, 7, 0, 0, MargeCentree, MargeCentree);
    l.Cells[cfLignes] = "sept";
    EXPECT_THROW(CalculerMarge(MargeCentree, TDirectionMarge::Hauteur, l, en), platform::EConvertError);
    EXPECT_EQ(CalculerMarge(MargeCentree, TDirectionMarge::Largeur, l, en), "0"); // rows not needed
    l.Cells[cfLargeur] = "";
    EXPECT_THROW(CalculerMarge(MargeCentree, TDirectionMarge::Largeur, l, en), platform::EConvertError);
    EXPECT_THROW(RemplirApercu(l, en), platform::EConvertError);
    EXPECT_THROW(RemplirApercu(TLigneFormat{}, en), platform::EConvertError);
}

TEST(FormatRow, RoundLabelsAndDefaultRow)
{
    TLigneFormat l = ligne("11801", 3000, 3000, 6, 8);
    EXPECT_FALSE(l.Ronde());
    l.Cells[cfEllipseLargeur] = "3000";
    l.Cells[cfEllipseHauteur] = "3000";
    EXPECT_TRUE(l.Ronde());
    EXPECT_TRUE(l.RondeTexte());
    // The two readings differ only on rows no writer makes: equal values, different texts.
    l.Cells[cfEllipseLargeur] = "03000";
    EXPECT_TRUE(l.Ronde());
    EXPECT_FALSE(l.RondeTexte());
    // A zero size is never round.
    TLigneFormat nul = ligne("x", 0, 0, 1, 1);
    EXPECT_FALSE(nul.Ronde());
    EXPECT_FALSE(nul.RondeTexte());

    const TLigneFormat d = TLigneFormat::ParDefaut("Default format");
    EXPECT_EQ(d.Liste(), (QStringList{"Default format", "7000", "4200", "3", "7", "0", "0", "0", "0", "0", "0"}));
    EXPECT_FALSE(d.Ronde());
}

TEST(FormatRow, PreviewTakesResolvedMarginsAndClampedCounts)
{
    const TNomsPapier en;
    TLigneFormat l = ligne("11905", 7000, 3600, 3, 8, 0, 0, MargeCentree, MargeCentree);
    TApercuPlanche a = RemplirApercu(l, en);
    EXPECT_EQ(a.LargeurPage, 21000);
    EXPECT_EQ(a.HauteurPage, 29700);
    EXPECT_EQ(a.MargeGauche, 0);
    EXPECT_EQ(a.MargeHaut, 450);
    EXPECT_EQ(a.NbColonnes, 3);
    EXPECT_EQ(a.NbLignes, 8);
    EXPECT_FALSE(a.EtiquetteRonde);

    l = ligne("19009", 4000, 4000, 0, 51, 100, 200, "12", "34");
    l.Cells[cfEllipseLargeur] = "4000";
    l.Cells[cfEllipseHauteur] = "4000";
    a = RemplirApercu(l, en);
    EXPECT_EQ(a.NbColonnes, 1);
    EXPECT_EQ(a.NbLignes, 50);
    EXPECT_EQ(a.LargeurPage, 4000);
    EXPECT_EQ(a.HauteurPage, 4000);
    EXPECT_EQ(a.MargeGauche, 12);
    EXPECT_EQ(a.MargeHaut, 34);
    EXPECT_EQ(a.EcartHorizontal, 100);
    EXPECT_EQ(a.EcartVertical, 200);
    EXPECT_TRUE(a.EtiquetteRonde);
}
