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

TPaperNames francais()
{
    TPaperNames n;
    n.Continuous12 = QStringLiteral("Paravent 12\"");
    n.Continuous6 = QStringLiteral("Paravent 6\"");
    n.Roll = QStringLiteral("Rouleau");
    n.DefaultFormat = QStringLiteral("Format par défaut");
    return n;
}

} // namespace

TEST(PaperType, NumericCodesAndPrefixes)
{
    const TPaperNames en;
    EXPECT_EQ(TypePapier("11901 - 99,1 x 38,1 mm", en), tpA4);
    EXPECT_EQ(TypePapier("", en), tpA4);
    for (const char* a5 : {"114x", "011", "012 b", "115", "A5", "A5 - Cards", "A51"})
        EXPECT_EQ(TypePapier(a5, en), tpA5) << a5;
    EXPECT_EQ(TypePapier("a5 - Cards", en), tpA4); // case-sensitive
    EXPECT_EQ(TypePapier("11", en), tpA4);         // too short for a code
    EXPECT_EQ(TypePapier("120", en), tpContinuous12);
    EXPECT_EQ(TypePapier("020 - x", en), tpContinuous6);
    EXPECT_EQ(TypePapier("19001", en), tpRoll);
    // The later test wins: "A5" followed by nothing special stays A5, but a roll code beats it.
    EXPECT_EQ(TypePapier("190A5", en), tpRoll);
}

TEST(PaperType, EditorNamesFollowTheActiveLanguage)
{
    const TPaperNames en;
    const TPaperNames fr = francais();
    EXPECT_EQ(TypePapier("12\" continuous paper - Tags", en), tpContinuous12);
    EXPECT_EQ(TypePapier("6\" continuous paper - Tags", en), tpContinuous6);
    EXPECT_EQ(TypePapier("Roll - Tags", en), tpRoll);
    EXPECT_EQ(TypePapier("Rollo", en), tpRoll); // a prefix is enough
    // A name made in French is only recognised while French is active.
    EXPECT_EQ(TypePapier("Rouleau - Tags", en), tpA4);
    EXPECT_EQ(TypePapier("Rouleau - Tags", fr), tpRoll);
    EXPECT_EQ(TypePapier("Paravent 6\" - x", fr), tpContinuous6);
    EXPECT_EQ(TypePapier("roll - Tags", en), tpA4);

    // An empty paper text must not make every name that paper.
    TPaperNames vide;
    vide.Roll.clear();
    EXPECT_EQ(TypePapier("Tags", vide), tpA4);

    EXPECT_EQ(NomPapier(tpA4, en), "A4");
    EXPECT_EQ(NomPapier(tpA5, fr), "A5");
    EXPECT_EQ(NomPapier(tpContinuous12, fr), "Paravent 12\"");
    EXPECT_EQ(NomPapier(tpRoll, en), "Roll");
}

TEST(PageSize, FixedSheetsContinuousPaperAndRolls)
{
    const TPaperNames en;
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
    const TPaperNames en;
    // 3 x 7 labels of 70 x 42 mm on A4: the gaps play no part in the centring.
    const TLigneFormat a4 = ligne("A4 - x", 7000, 4200, 3, 7, 800, 900, CentredMargin, CentredMargin);
    EXPECT_EQ(CalculerMarge(CentredMargin, TMarginDirection::Largeur, a4, en), "0");
    EXPECT_EQ(CalculerMarge(CentredMargin, TMarginDirection::Hauteur, a4, en), "150");
    // Any other value comes back as it was, even one that is not a number.
    EXPECT_EQ(CalculerMarge("725", TMarginDirection::Largeur, a4, en), "725");
    EXPECT_EQ(CalculerMarge(" 99999", TMarginDirection::Largeur, a4, en), " 99999");
    EXPECT_EQ(CalculerMarge("abc", TMarginDirection::Hauteur, a4, en), "abc");

    // Odd remainders truncate: (29700 - 3 x 9899) = 3 -> 1.
    const TLigneFormat impair = ligne("A4", 1000, 9899, 1, 3);
    EXPECT_EQ(CalculerMarge(CentredMargin, TMarginDirection::Hauteur, impair, en), "1");
    // Labels larger than the page give a negative margin, truncated toward zero (-1, not -2).
    const TLigneFormat trop = ligne("A4", 10501, 1000, 2, 1);
    EXPECT_EQ(CalculerMarge(CentredMargin, TMarginDirection::Largeur, trop, en), "-1");
    // A roll: the page is the labels themselves, so centring gives gap-related offsets only.
    const TLigneFormat rouleau = ligne("19008", 3800, 2500, 2, 1, 300);
    EXPECT_EQ(CalculerMarge(CentredMargin, TMarginDirection::Largeur, rouleau, en), "150");
    EXPECT_EQ(CalculerMarge(CentredMargin, TMarginDirection::Hauteur, rouleau, en), "0");
    // Counts of 0 or above 50 are clamped where the margin uses them.
    const TLigneFormat zero = ligne("A4", 7000, 4200, 0, 99);
    EXPECT_EQ(CalculerMarge(CentredMargin, TMarginDirection::Largeur, zero, en), "7000");
    EXPECT_EQ(CalculerMarge(CentredMargin, TMarginDirection::Hauteur, zero, en), QString::number((29700 - 50 * 4200) / 2));
}

TEST(Margin, BadCellsRaiseConversionErrors)
{
    const TPaperNames en;
    TLigneFormat l = ligne("A4", 7000, 4200, 3, 7, 0, 0, CentredMargin, CentredMargin);
    l.Cells[cfRows] = "sept";
    EXPECT_THROW(CalculerMarge(CentredMargin, TMarginDirection::Hauteur, l, en), platform::EConvertError);
    EXPECT_EQ(CalculerMarge(CentredMargin, TMarginDirection::Largeur, l, en), "0"); // rows not needed
    l.Cells[cfWidth] = "";
    EXPECT_THROW(CalculerMarge(CentredMargin, TMarginDirection::Largeur, l, en), platform::EConvertError);
    EXPECT_THROW(FillSheetPreview(l, en), platform::EConvertError);
    EXPECT_THROW(FillSheetPreview(TLigneFormat{}, en), platform::EConvertError);
}

TEST(FormatRow, RoundLabelsAndDefaultRow)
{
    TLigneFormat l = ligne("11801", 3000, 3000, 6, 8);
    EXPECT_FALSE(l.IsRound());
    l.Cells[cfEllipseWidth] = "3000";
    l.Cells[cfEllipseHeight] = "3000";
    EXPECT_TRUE(l.IsRound());
    EXPECT_TRUE(l.IsRoundAsText());
    // The two readings differ only on rows no writer makes: equal values, different texts.
    l.Cells[cfEllipseWidth] = "03000";
    EXPECT_TRUE(l.IsRound());
    EXPECT_FALSE(l.IsRoundAsText());
    // A zero size is never round.
    TLigneFormat nul = ligne("x", 0, 0, 1, 1);
    EXPECT_FALSE(nul.IsRound());
    EXPECT_FALSE(nul.IsRoundAsText());

    const TLigneFormat d = TLigneFormat::Default("Default format");
    EXPECT_EQ(d.List(), (QStringList{"Default format", "7000", "4200", "3", "7", "0", "0", "0", "0", "0", "0"}));
    EXPECT_FALSE(d.IsRound());
}

TEST(FormatRow, PreviewTakesResolvedMarginsAndClampedCounts)
{
    const TPaperNames en;
    TLigneFormat l = ligne("11905", 7000, 3600, 3, 8, 0, 0, CentredMargin, CentredMargin);
    TSheetPreview a = FillSheetPreview(l, en);
    EXPECT_EQ(a.LargeurPage, 21000);
    EXPECT_EQ(a.HauteurPage, 29700);
    EXPECT_EQ(a.MargeGauche, 0);
    EXPECT_EQ(a.MargeHaut, 450);
    EXPECT_EQ(a.NbColonnes, 3);
    EXPECT_EQ(a.NbLignes, 8);
    EXPECT_FALSE(a.EtiquetteRonde);

    l = ligne("19009", 4000, 4000, 0, 51, 100, 200, "12", "34");
    l.Cells[cfEllipseWidth] = "4000";
    l.Cells[cfEllipseHeight] = "4000";
    a = FillSheetPreview(l, en);
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
