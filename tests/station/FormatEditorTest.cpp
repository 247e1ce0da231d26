#include "station/FormatEditor.h"

#include <gtest/gtest.h>

using namespace station;

namespace {

const TPaperNames english;

TEditorFields fields(const QString& name, const QString& width, const QString& height)
{
    TEditorFields f;
    f.Name = name;
    f.Width = width;
    f.Height = height;
    f.MarginTop = f.MarginLeft = f.GapHorizontal = f.GapVertical = QStringLiteral("0");
    return f;
}

} // namespace

TEST(FormatEditorRules, NamesArePrefixedWithTheirPaper)
{
    const struct {
        QString name, paper, expected;
    } cases[] = {
        {"A4 - Cards", "A5", "A5 - Cards"},
        {"Cards", "A4", "A4 - Cards"},
        {"", "A4", "A4 - "},
        {"x - y - z", "Roll", "Roll - y - z"}, // only the part before the first " - "
        {"A4 - ", "Roll", "Roll - "},
        {"119 Labels", "A5", "119 Labels"},
        {"1190", "Roll", "1190"},
        {"11", "A5", "A5 - 11"}, // too short for a code
        {"191 x", "A4", "A4 - 191 x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PrefixerNom(c.name, c.paper), c.expected) << c.name.toStdString();
    for (const char* code : {"119", "129", "130", "118", "114", "120", "020", "190", "011", "012", "115"})
        EXPECT_TRUE(IsReferenceName(QString(code) + " - x")) << code;
}

TEST(FormatEditorRules, MillimetreTextsConvertExactly)
{
    const struct {
        QString text;
        std::optional<qint64> hundredths;
    } cases[] = {
        {"70,125", 7012}, {"70,375", 7038}, {"70,015", 7002}, // halves to even on the decimal value
        {"70,0150001", 7002}, {"70,0149999", 7001}, {"70,0251", 7003}, {"-1,505", -150},
        {"-1,515", -152}, {"70", 7000}, {",5", 50}, {"1,", 100}, {"+0,07", 7}, {"007,5", 750},
        {"", std::nullopt}, {"-", std::nullopt}, {",", std::nullopt}, {"1,2,3", std::nullopt},
        {"1.5", std::nullopt}, {"1-", std::nullopt}, {"1e3", std::nullopt}, {" 1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MillimetreHundredths(c.text), c.hundredths) << c.text.toStdString();
    // Far too long a number stays far too long instead of wrapping round to a small one.
    EXPECT_GT(*MillimetreHundredths("99999999999999999999999"), MaxEditorLength);
    EXPECT_LT(*MillimetreHundredths("-184467440737095516160"), -MaxEditorLength);

    for (const auto& [v, text] : {std::pair{7000, "70,00"}, {-150, "-1,50"}, {5, "0,05"}, {0, "0,00"}})
        EXPECT_EQ(MillimetreText(v), text);
    EXPECT_EQ(CheckedMillimetreText("-"), "0");
    EXPECT_EQ(CheckedMillimetreText("12,5"), "12,5");
}

TEST(FormatEditorRules, EachPaperAllowsItsFields)
{
    const struct {
        TTypePapier paper;
        int columns;
        bool counts, margins, gap;
        std::optional<int> count;
        QString forcedMargins, forcedGap;
    } cases[] = {
        {tpA4, 3, true, true, true, std::nullopt, "", ""},
        {tpA5, 1, true, true, true, std::nullopt, "", ""},
        {tpContinuous12, 1, true, false, false, std::nullopt, "0", "0"},
        {tpContinuous6, 2, true, false, false, std::nullopt, "0", "5,00"},
        {tpRoll, 4, false, false, false, 1, "0", "0"},
    };
    for (const auto& c : cases) {
        const TPaperFields f = AdaptToPaper(c.paper, c.columns);
        SCOPED_TRACE(int(c.paper));
        EXPECT_EQ(f.CountsEnabled, c.counts);
        EXPECT_EQ(f.MarginsEnabled, c.margins);
        EXPECT_EQ(f.GapHorizontalEnabled, c.gap);
        EXPECT_EQ(f.Count, c.count);
        EXPECT_EQ(f.Margins, c.forcedMargins);
        EXPECT_EQ(f.GapHorizontal, c.forcedGap);
    }
}

TEST(FormatEditorRules, RefusesEmptyLabelsAndLengthsThatWouldOverflow)
{
    const struct {
        QString width, height, margin;
        TEditorRefusal expected;
    } cases[] = {
        {"70", "42", "0", TEditorRefusal::None},
        {"0", "42", "0", TEditorRefusal::LabelSize},
        {"70", "-1", "0", TEditorRefusal::LabelSize},
        {"0,004", "42", "0", TEditorRefusal::LabelSize}, // rounds to 0 hundredths
        {"10000", "42", "-10000", TEditorRefusal::None},
        {"10000,01", "42", "0", TEditorRefusal::OutOfRange},
        {"70", "42", "-10000,01", TEditorRefusal::OutOfRange},
        {"70", "42", "99999999999999999999", TEditorRefusal::OutOfRange},
        {"70", "42", "x", TEditorRefusal::OutOfRange},
    };
    for (const auto& c : cases) {
        TEditorFields f = fields("A4 - x", c.width, c.height);
        f.MarginTop = c.margin;
        EXPECT_EQ(CheckEditorFields(f), c.expected) << c.width.toStdString() << " " << c.margin.toStdString();
    }
}

TEST(FormatEditorRules, RowsRoundTripThroughTheFields)
{
    TLigneFormat centred;
    centred.Cells = {"A4 - Centred", "7000", "4200", "3", "7", "250", "100", "99999", "99999", "7000", "4200"};
    TEditorFields f = EditorFieldsFromRow(centred, english);
    // A centring margin is shown, and stored after a change, as the margin it gives.
    EXPECT_EQ(f.MarginLeft, "0,00");
    EXPECT_EQ(f.MarginTop, "1,50");
    EXPECT_EQ(f.Width, "70,00");
    EXPECT_EQ(f.GapHorizontal, "2,50");
    EXPECT_TRUE(f.Round);
    EXPECT_EQ(RowFromEditorFields(f).List(),
              (QStringList{"A4 - Centred", "7000", "4200", "3", "7", "250", "100", "0", "150", "7000", "4200"}));

    f.Round = false;
    f.Width = "70,125";
    f.Columns = 60; // counts beyond the sheet's 50 are held to it
    f.MarginLeft = "999,99"; // typed, it must not come back as "centre"
    EXPECT_EQ(RowFromEditorFields(f).List(),
              (QStringList{"A4 - Centred", "7012", "4200", "50", "7", "250", "100", "99998", "150", "0", "0"}));
}

TEST(FormatEditorRules, PreviewIsTheEditedSheet)
{
    TEditorFields f = fields("Roll - Tags", "50", "30");
    f.Columns = 2;
    f.GapHorizontal = "3";
    f.MarginLeft = "999,99"; // a typed margin, not the centring mark
    f.Round = true;
    const TSheetPreview p = EditorPreview(f, english);
    EXPECT_EQ(p.LargeurPage, 10300);
    EXPECT_EQ(p.HauteurPage, 3000);
    EXPECT_EQ(p.MargeGauche, 99999);
    EXPECT_TRUE(p.EtiquetteRonde);
    EXPECT_EQ(EditorPreview(fields("A5 - x", "70", "30"), english).HauteurPage, 14850);
}
