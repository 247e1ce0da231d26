#include "design/Alignment.h"
#include "design/DesignModel.h"
#include "design/DesignNameCheck.h"
#include "design/PreviewGeometry.h"
#include "design/RulerTicks.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace design;

namespace {

// Shapes at the given (left, top, width, height), selected in the order given.
struct Selection {
    std::vector<std::unique_ptr<TShape>> owned;
    std::vector<TDesignObject*> objects;

    explicit Selection(std::initializer_list<std::array<int, 4>> bounds)
    {
        for (const auto& b : bounds) {
            owned.push_back(std::make_unique<TShape>());
            owned.back()->SetBounds(b[0], b[1], b[2], b[3]);
            objects.push_back(owned.back().get());
        }
    }
    std::vector<int> lefts() const
    {
        std::vector<int> v;
        for (const auto* o : objects)
            v.push_back(o->Left);
        return v;
    }
    std::vector<int> tops() const
    {
        std::vector<int> v;
        for (const auto* o : objects)
            v.push_back(o->Top);
        return v;
    }
};

} // namespace

TEST(Alignment, EachCommandMovesTheOthersOnTheReference)
{
    struct Case {
        TAlignCommand command;
        std::vector<int> lefts;
        std::vector<int> tops;
    };
    // Reference (40, 20, 30 x 50), then (5, 7, 21 x 30) and (100, 90, 10 x 11); label 300 x 200.
    const Case cases[] = {
        {TAlignCommand::Lefts, {40, 40, 40}, {20, 7, 90}},
        {TAlignCommand::Rights, {40, 49, 60}, {20, 7, 90}},
        {TAlignCommand::HorizontalCentres, {40, 45, 50}, {20, 7, 90}},
        {TAlignCommand::Tops, {40, 5, 100}, {20, 20, 20}},
        {TAlignCommand::Bottoms, {40, 5, 100}, {20, 40, 59}},
        {TAlignCommand::VerticalCentres, {40, 5, 100}, {20, 30, 40}},
        {TAlignCommand::CentreAcross, {135, 139, 145}, {20, 7, 90}},
        {TAlignCommand::CentreDown, {40, 5, 100}, {75, 85, 94}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.command));
        Selection s{{40, 20, 30, 50}, {5, 7, 21, 30}, {100, 90, 10, 11}};
        EXPECT_TRUE(AlignObjects(s.objects, c.command, 300, 200));
        EXPECT_EQ(s.lefts(), c.lefts);
        EXPECT_EQ(s.tops(), c.tops);
    }
}

TEST(Alignment, CentringTruncatesTowardZeroEvenForObjectsWiderThanTheLabel)
{
    Selection s{{0, 0, 101, 10}, {0, 0, 305, 10}};
    AlignObjects(s.objects, TAlignCommand::CentreAcross, 300, 100);
    EXPECT_EQ(s.lefts(), (std::vector<int>{99, -2}));
}

TEST(Alignment, EqualSpacingFollowsSelectionOrder)
{
    Selection inOrder{{10, 0, 20, 5}, {50, 0, 20, 5}, {200, 0, 30, 5}};
    AlignObjects(inOrder.objects, TAlignCommand::SpaceHorizontally, 300, 100);
    EXPECT_EQ(inOrder.lefts(), (std::vector<int>{10, 105, 200}));

    // Selected out of their order on the label: a negative gap, the objects cross.
    Selection crossed{{200, 0, 30, 5}, {10, 0, 20, 5}, {50, 0, 20, 5}};
    AlignObjects(crossed.objects, TAlignCommand::SpaceHorizontally, 300, 100);
    EXPECT_EQ(crossed.lefts(), (std::vector<int>{200, 130, 50}));

    Selection vertical{{0, 10, 5, 20}, {0, 50, 5, 20}, {0, 200, 5, 30}};
    AlignObjects(vertical.objects, TAlignCommand::SpaceVertically, 300, 300);
    EXPECT_EQ(vertical.tops(), (std::vector<int>{10, 105, 200}));
}

TEST(Alignment, TooFewObjectsOrNothingToMoveChangesNothing)
{
    for (TAlignCommand command : {TAlignCommand::Lefts, TAlignCommand::SpaceHorizontally,
                                  TAlignCommand::SpaceVertically, TAlignCommand::Bottoms}) {
        Selection one{{10, 10, 20, 20}};
        EXPECT_FALSE(AlignObjects(one.objects, command, 300, 200));
        EXPECT_EQ(one.lefts(), std::vector<int>{10});
        EXPECT_EQ(one.tops(), std::vector<int>{10});
    }
    EXPECT_FALSE(AlignObjects({}, TAlignCommand::CentreAcross, 300, 200));
    // Already aligned: the design is not marked modified.
    Selection aligned{{10, 10, 20, 20}, {10, 50, 30, 20}};
    EXPECT_FALSE(AlignObjects(aligned.objects, TAlignCommand::Lefts, 300, 200));
    EXPECT_EQ(MinimumSelection(TAlignCommand::CentreDown), 1);
    EXPECT_EQ(MinimumSelection(TAlignCommand::Tops), 2);
}

TEST(RulerTicks, MarksAtTheScreensMillimetres)
{
    const auto ticks = RulerTicks(0, 100, 96, 80);
    ASSERT_EQ(ticks.size(), 22u); // 21 steps of 3.78 pixels stay below 80
    const std::vector<int> first{ticks[0].Position, ticks[1].Position, ticks[2].Position, ticks[3].Position,
                                 ticks[4].Position, ticks[5].Position};
    EXPECT_EQ(first, (std::vector<int>{0, 4, 8, 11, 15, 19}));
    const std::vector<int> lengths{ticks[0].Length, ticks[1].Length, ticks[4].Length, ticks[5].Length};
    EXPECT_EQ(lengths, (std::vector<int>{9, 3, 3, 6}));
    EXPECT_EQ(ticks[10], (TRulerTick{38, 9, true, 1}));
    EXPECT_EQ(ticks[20], (TRulerTick{76, 9, true, 2}));

    const auto from25 = RulerTicks(25, 100, 96, 40);
    EXPECT_EQ(from25[0], (TRulerTick{0, 6, false, 2}));
    EXPECT_EQ(from25[5], (TRulerTick{19, 9, true, 3}));

    const auto negative = RulerTicks(-10, 100, 96, 40);
    EXPECT_EQ(negative[0], (TRulerTick{0, 9, true, -1}));
    EXPECT_EQ(negative[5].Length, 6);
    EXPECT_FALSE(negative[5].Labelled);
}

TEST(RulerTicks, ZoomScalesTheStepAndNonPositiveZoomGivesNoMarks)
{
    EXPECT_EQ(RulerTicks(0, 200, 96, 20)[1].Position, 8);
    EXPECT_EQ(RulerTicks(0, 50, 96, 20)[1].Position, 2);
    EXPECT_EQ(RulerTicks(0, 50, 96, 20).size(), 11u);
    EXPECT_TRUE(RulerTicks(0, 0, 96, 100).empty());
    EXPECT_TRUE(RulerTicks(0, -100, 96, 100).empty());
    EXPECT_TRUE(RulerTicks(0, 100, 0, 100).empty());
    EXPECT_EQ(RulerOrigin(96, 96), 25);  // 25.4 mm
    EXPECT_EQ(RulerOrigin(189, 96), 50); // 50.006
}

TEST(DesignNameCheck, RefusesNamesThatLeaveTheFolderOrReadAsAnotherDesign)
{
    for (const char* good : {"Card", "Carte de visite", "été 2024", "a-b_c"})
        EXPECT_TRUE(AcceptableDesignName(QString::fromUtf8(good))) << good;
    for (const QString& bad : {QString(), QStringLiteral("../x"), QStringLiteral("..\\images\\x"),
                               QStringLiteral("."), QStringLiteral(".."), QStringLiteral("v1.2"),
                               QStringLiteral("a/b"), QStringLiteral("tab\there"), QStringLiteral("nl\n"),
                               QString(QChar(0x7F))})
        EXPECT_FALSE(AcceptableDesignName(bad)) << bad.toStdString();
}

TEST(PreviewGeometry, ShowSizeFollowsTheScreenAndTheLabel)
{
    const QSize none(282, 200);
    // Wide label, frame of 8 on each side and a 20-pixel title: the window is 683 wide.
    const QSize wide = PreviewShowSize({1024, 768}, QMargins(8, 28, 8, 8), none, 400, 200, 33);
    EXPECT_EQ(wide, QSize(667, 334 + 33));
    // Halves go to the even neighbour: 533 / 2 = 266.5 -> 266.
    EXPECT_EQ(PreviewShowSize({800, 600}, {}, none, 400, 200, 33), QSize(533, 299));
    // Tall label: two thirds of the screen's height, the width from the height under the toolbar.
    EXPECT_EQ(PreviewShowSize({1024, 768}, {}, none, 200, 400, 33), QSize(240, 512));
    // A square label runs both rules, the width one last.
    EXPECT_EQ(PreviewShowSize({1024, 768}, {}, none, 300, 300, 33), QSize(683, 716));
    EXPECT_EQ(PreviewShowSize({1024, 768}, {}, none, 0, 300, 33), none);
    EXPECT_EQ(PreviewShowSize({1024, 768}, {}, none, 300, 0, 33), none);
}

TEST(PreviewGeometry, ResizeKeepsTheAspectWithAMinimumOf180)
{
    EXPECT_EQ(PreviewResizeSize({100, 50}, 400, 200, 33), QSize(180, 90 + 33));
    EXPECT_EQ(PreviewResizeSize({400, 50}, 400, 200, 33), QSize(400, 233));
    EXPECT_EQ(PreviewResizeSize({400, 100}, 200, 400, 33), QSize(90, 213));
    EXPECT_EQ(PreviewResizeSize({400, 433}, 200, 400, 33), QSize(200, 433));
    EXPECT_EQ(PreviewResizeSize({123, 45}, 0, 0, 33), QSize(123, 45));
}
