#include "station/Station.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace station;
using testsupport::dataPath;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// A station whose list holds "badge" (2 x 8 labels), "other" (the same format under another
// name) and "round" (4 x 5 round labels); the page is drawn at one pixel per millimetre.
class PageCore : public ::testing::Test {
protected:
    void SetUp() override
    {
        station.Start({1024, 768}, dir.path());
        copy("allkinds.car", "badge.car");
        copy("version9.car", "round.car");
        QByteArray other = readBytes(dataPath("design/allkinds.car"));
        other.replace("Badge 54 x 30", "Another sheet");
        writeBytes(dir.filePath("perso/other.car"), other);
        station.RemplirListeModeles();
        ASSERT_EQ(station.Models.Count(), 3);
        station.EchellePage = 0.01;
        station.ConfirmClearPage = [this](int filled) {
            asked << filled;
            return answerYes;
        };
        select("badge");
    }

    void copy(const QString& fixture, const QString& name)
    {
        ASSERT_TRUE(QFile::copy(dataPath("design/" + fixture), dir.filePath("perso/" + name)));
        QFile::setPermissions(dir.filePath("perso/" + name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    void select(const QString& name) { ASSERT_TRUE(station.SelectModel(station.Models.IndexOf(name))); }
    QPoint centre(int c, int r) { return station.PageGeometry().CellRect(c, r).center(); }
    QString cell(int c, int r) const { return station.Planche.Cell(c, r); }
    int count() const { return station.Planche.NbCasesRemplies(); }

    QTemporaryDir dir;
    TStation station{TStationFolders::Resolve(dir.path(), dir.filePath("user")), dir.filePath("p.ini")};
    QList<int> asked;
    bool answerYes = false;
};

} // namespace

// Clicks place the selected model in empty cells only; a click beside every cell places nothing;
// a filled cell starts a move only while there is an empty cell to move to.
TEST_F(PageCore, ClickPlacesAndStartsMoves)
{
    const TSheetGeometry g = station.PageGeometry();
    ASSERT_EQ(QPoint(g.Columns, g.Rows), QPoint(2, 8));
    EXPECT_EQ(station.LeftClick({1, 1}), TStation::TPageClick::Nothing);
    EXPECT_EQ(station.LeftClick(centre(2, 3)), TStation::TPageClick::Placed);
    EXPECT_EQ(cell(2, 3), "badge");
    EXPECT_EQ(station.LeftClick(centre(2, 3)), TStation::TPageClick::StartMove);
    EXPECT_EQ(station.LastCell, (TCellPos{2, 3}));
    EXPECT_EQ(count(), 1);

    // Fill takes every empty cell, rows top to bottom; then nothing can move or be added.
    select("other");
    EXPECT_TRUE(station.CanFill());
    EXPECT_EQ(station.Fill(), 15);
    EXPECT_TRUE(asked.isEmpty()); // formats differing by name only agree
    EXPECT_EQ(count(), 16);
    EXPECT_EQ(cell(1, 1), "other");
    EXPECT_EQ(cell(2, 3), "badge");
    EXPECT_FALSE(station.CanFill());
    EXPECT_EQ(station.LeftClick(centre(1, 1)), TStation::TPageClick::Nothing);
    EXPECT_EQ(station.Fill(), 0);
}

// A drop on a filled cell replaces its model; a move onto a filled cell replaces that one and the
// count follows; right-clicking the last model clears the page, which then follows the selection.
TEST_F(PageCore, DropMoveAndRemove)
{
    EXPECT_TRUE(station.DropModel({1, 1})); // a margin: the fallback cell
    EXPECT_EQ(cell(1, 1), "badge");
    EXPECT_EQ(station.LastCell, (TCellPos{1, 1}));
    EXPECT_TRUE(station.DropModel(centre(2, 8)));
    select("other");
    EXPECT_TRUE(station.DropModel(centre(2, 8)));
    EXPECT_EQ(cell(2, 8), "other");
    EXPECT_EQ(count(), 2);

    EXPECT_EQ(station.LeftClick(centre(1, 1)), TStation::TPageClick::StartMove);
    EXPECT_TRUE(station.MovePlaced(centre(2, 8)));
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(cell(2, 8), "badge");
    EXPECT_EQ(count(), 1);

    EXPECT_FALSE(station.RightClick(centre(1, 1)));
    select("round");
    answerYes = false;
    EXPECT_EQ(station.Fill(), 0);
    EXPECT_EQ(station.Planche.FormatPage.LargeurEtiquette, 5400);
    EXPECT_TRUE(station.RightClick(centre(2, 8)));
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(station.Planche.FormatPage.LargeurEtiquette, 5000);
    EXPECT_TRUE(station.Planche.FormatPage.EtiquetteRonde);
}

// The station's page commands each tell the page's listener once, with the page as the command
// leaves it: a move never shows its model gone from both cells, a page emptied by a right click
// already follows the selected model's format.
TEST_F(PageCore, EachPageCommandIsToldOnceWhenWhole)
{
    struct Told {
        int filled;
        int labelWidth;
        bool operator==(const Told&) const = default;
    };
    std::vector<Told> told;
    station.Planche.Changed = [&] {
        told.push_back({count(), station.Planche.FormatPage.LargeurEtiquette});
    };
    const auto expectTold = [&](const char* what, std::vector<Told> expected) {
        EXPECT_EQ(told, expected) << what;
        told.clear();
    };
    station.Fill();
    expectTold("fill", {{16, 5400}});
    station.LeftClick(centre(1, 1));
    station.RightClick(centre(1, 1));
    expectTold("right click", {{15, 5400}});
    EXPECT_EQ(station.LeftClick(centre(1, 2)), TStation::TPageClick::StartMove);
    expectTold("a press that starts a move", {});
    station.MovePlaced(centre(1, 1));
    expectTold("move", {{15, 5400}});
    station.ClearPage();
    station.DropModel(centre(1, 1));
    select("round");
    station.RightClick(centre(1, 1));
    expectTold("clear, drop, and the last model taken off", {{0, 5400}, {1, 5400}, {0, 5000}});
    station.ClearPage();
    expectTold("an empty page cleared", {{0, 5000}});
}

// Another format asks once, with the count of placed models: No leaves the page as it was; Yes
// clears the page for the model's format. The click is then looked up in the new cells and places
// only when one contains it.
TEST_F(PageCore, AnotherFormatAsksBeforeClearing)
{
    ASSERT_EQ(station.Fill(), 16);
    // A badge cell whose centre lies in no cell of the round format.
    const TSheetGeometry badge = station.PageGeometry();
    select("round");
    const TSheetGeometry round = SheetGeometry(station.CurrentFormat, station.EchellePage);
    QPoint outside;
    for (int r = 1; r <= badge.Rows && outside.isNull(); ++r)
        for (int c = 1; c <= badge.Columns && outside.isNull(); ++c)
            if (!round.HitTest(badge.CellRect(c, r).center()).Valid())
                outside = badge.CellRect(c, r).center();
    ASSERT_FALSE(outside.isNull());
    ASSERT_TRUE(station.RightClick(outside));
    ASSERT_EQ(count(), 15);

    EXPECT_EQ(station.LeftClick(outside), TStation::TPageClick::Nothing);
    EXPECT_FALSE(station.DropModel(outside));
    EXPECT_EQ(station.Fill(), 0);
    EXPECT_EQ(asked, (QList<int>{15, 15, 15}));
    EXPECT_EQ(count(), 15);
    EXPECT_EQ(station.Planche.FormatPage.LargeurEtiquette, 5400);

    answerYes = true;
    EXPECT_EQ(station.LeftClick(outside), TStation::TPageClick::Nothing);
    EXPECT_EQ(count(), 0);
    EXPECT_TRUE(station.Planche.FormatPage.EtiquetteRonde);
    EXPECT_EQ(station.LeftClick(round.CellRect(4, 5).center()), TStation::TPageClick::Placed);
    EXPECT_EQ(cell(4, 5), "round");
    EXPECT_EQ(asked.size(), 4);
}
