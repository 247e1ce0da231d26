#include "platform/window/WindowPlace.h"

#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

using namespace platform;

// A saved place (frame corner, inside size) comes back whole when it fits; otherwise its frame is
// cut to the area and moved in by as little as needed.
TEST(WindowPlace, FitsTheFrameIntoTheArea)
{
    const QMargins frame(4, 24, 4, 4);
    const QRect screen(0, 0, 1280, 1000);
    const QRect belowPanel(0, 30, 1280, 970);
    struct Case {
        const char* name;
        QRect place;
        QRect area;
        QRect fitted;
    };
    const Case cases[] = {
        {"fits", {100, 50, 400, 300}, screen, {100, 50, 400, 300}},
        {"as tall as the screen", {0, 0, 800, 1000}, screen, {0, 0, 800, 972}},
        {"as large as the screen", {0, 0, 1280, 1000}, screen, {0, 0, 1272, 972}},
        {"past the right and bottom", {1100, 900, 400, 300}, screen, {872, 672, 400, 300}},
        {"past the left and top", {-50, -30, 400, 300}, screen, {0, 0, 400, 300}},
        {"larger than the screen", {300, 300, 2000, 2000}, screen, {0, 0, 1272, 972}},
        {"under a panel", {0, 0, 400, 300}, belowPanel, {0, 30, 400, 300}},
        {"taller than below the panel", {10, 100, 400, 1000}, belowPanel, {10, 30, 400, 942}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QRect fitted = FitPlace(c.place, frame, c.area);
        EXPECT_EQ(fitted, c.fitted);
        EXPECT_TRUE(c.area.contains(QRect(fitted.topLeft(), fitted.size().grownBy(frame))));
    }
}

TEST(BesidePlace, BesideTheOwnerElseAtTheScreensEdgeBelowWhatStaysClear)
{
    const QRect screen(0, 0, 1280, 1024);
    struct Case {
        const char* where;
        QRect owner;
        QRect keepClear;
        QSize size;
        QPoint expected;
    };
    const Case cases[] = {
        {"at the right", {100, 100, 640, 480}, {100, 100, 640, 60}, {300, 250}, {740, 100}},
        {"at the left", {600, 100, 640, 480}, {600, 100, 640, 60}, {300, 250}, {300, 100}},
        {"no side has room", {200, 50, 900, 700}, {200, 50, 900, 60}, {853, 500}, {427, 110}},
        {"kept on the screen", {100, 900, 640, 480}, {100, 900, 640, 60}, {300, 250}, {740, 774}},
        {"taller than the screen", {100, 100, 640, 480}, {}, {300, 1100}, {740, 0}},
        {"no room, tool bar low", {0, 600, 1280, 400}, {0, 600, 1280, 60}, {853, 500}, {427, 524}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        EXPECT_EQ(BesidePlace(c.owner, c.keepClear, c.size, screen), c.expected);
    }
}

// A window put at a saved place shows with its frame inside the screen's available area, and its
// place read back puts another window exactly where it stands.
TEST(WindowPlace, AWindowReopensWhereItStood)
{
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect places[] = {
        {40, 20, 300, 200},
        {0, 0, area.width(), area.height()},
        {area.right() - 100, area.bottom() - 50, 300, 200},
    };
    for (const QRect& place : places) {
        SCOPED_TRACE(place.y());
        QWidget first;
        RestoreWindowPlace(&first, {place.x(), place.y(), place.width(), place.height(), false});
        first.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&first));
        EXPECT_TRUE(area.contains(first.frameGeometry()));
        if (place == places[0]) { // it fits: it stands as saved
            EXPECT_EQ(SaveWindowPlace(&first), TWindowPlace({place.x(), place.y(), place.width(), place.height(), false}));
        }
        QWidget again;
        RestoreWindowPlace(&again, SaveWindowPlace(&first));
        again.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
        EXPECT_EQ(again.frameGeometry(), first.frameGeometry());
        EXPECT_EQ(again.geometry(), first.geometry());
    }
}

// What the program does to a window between restoring its place and showing it (a card taking
// its table's size) stands when the window system's frame is fitted in.
TEST(WindowPlace, ASizeSetBeforeShowingStands)
{
    QWidget w;
    RestoreWindowPlace(&w, {40, 20, 300, 200, false});
    w.resize(350, 250);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.size(), QSize(350, 250));
    EXPECT_EQ(w.pos(), QPoint(40, 20));
}

// The frame is counted once: a place read from a framed window and given back with the same frame
// puts the window's inside, and so its frame, exactly where they stood, whatever the frame.
TEST(WindowPlace, ThePlaceCountsTheFrameOnce)
{
    const QRect area(0, 0, 1280, 1024);
    const QMargins frames[] = {{}, {1, 20, 1, 4}, {5, 30, 5, 5}, {10, 40, 10, 10}};
    const QRect insides[] = {{101, 120, 300, 200}, {20, 50, 640, 480}, {900, 700, 370, 310}};
    for (const QMargins& frame : frames) {
        for (const QRect& inside : insides) {
            SCOPED_TRACE(frame.top() * 10000 + inside.x());
            const TWindowPlace place = PlaceOf(inside, frame);
            EXPECT_EQ(QPoint(place.X, place.Y), inside.topLeft() - QPoint(frame.left(), frame.top()));
            EXPECT_EQ(QSize(place.W, place.H), inside.size());
            // Given back: the corner goes to move() (the frame's), the size to resize() (the inside's).
            const QRect fitted = FitPlace({place.X, place.Y, place.W, place.H}, frame, area);
            EXPECT_EQ(QRect(fitted.topLeft() + QPoint(frame.left(), frame.top()), fitted.size()), inside);
            EXPECT_FALSE(place.Maxi);
            EXPECT_TRUE(PlaceOf(inside, frame, true).Maxi);
        }
    }
}

// A maximised window saves the place it goes back to: the one it was restored to while it has not
// been shown unmaximised, then the one it last had unmaximised.
TEST(WindowPlace, AMaximisedWindowSavesThePlaceItGoesBackTo)
{
    QWidget w;
    const TWindowPlace saved{60, 40, 320, 240, true};
    RestoreWindowPlace(&w, saved);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.isMaximized(); }));
    EXPECT_EQ(SaveWindowPlace(&w), saved);
    w.showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.isMaximized() && QRect(w.pos(), w.size()) == QRect(60, 40, 320, 240); }))
        << w.x() << "," << w.y() << " " << w.width() << "x" << w.height() << " " << w.isMaximized();
    w.move(80, 50);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.pos() == QPoint(80, 50); })) << w.pos().x() << "," << w.pos().y();
    w.showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.isMaximized(); }));
    EXPECT_EQ(SaveWindowPlace(&w), TWindowPlace({80, 50, 320, 240, true}));
}

// A dialog shown again stands where it stood, where the user put it as where the program did,
// however many times it is shown; a place the program gives it while hidden still stands.
TEST(WindowPlace, AKeptDialogReopensWhereItStood)
{
    QWidget owner;
    owner.setGeometry(100, 100, 500, 400);
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    QDialog dialog(&owner);
    dialog.resize(200, 150);
    KeepWindowPlace(&dialog);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // Moved by the user, through the window system.
    dialog.windowHandle()->setFramePosition(QPoint(30, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.pos() == QPoint(30, 20); })) << dialog.pos().x() << "," << dialog.pos().y();
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        dialog.hide();
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(dialog.pos(), QPoint(30, 20));
    }
    dialog.hide();
    dialog.move(250, 90);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.pos(), QPoint(250, 90));
}

// The room beside what stays clear is the side where a window of the given proportions is
// largest; none when what stays clear takes the whole area.
TEST(RoomBeside, TheSideWhereTheWindowIsLargest)
{
    const QRect screen(0, 0, 1280, 1024);
    struct Case {
        const char* where;
        QRect keepClear;
        QSize size;
        QRect room;
    };
    const Case cases[] = {
        {"designer centred, wide window: below", {320, 272, 640, 480}, {853, 600}, {0, 752, 1280, 272}},
        {"designer centred, tall window: at a side", {320, 272, 640, 480}, {300, 700}, {960, 0, 320, 1024}},
        {"designer at the left", {0, 0, 700, 1024}, {853, 600}, {700, 0, 580, 1024}},
        {"designer at the right", {500, 0, 780, 1024}, {853, 600}, {0, 0, 500, 1024}},
        {"designer at the bottom", {0, 600, 1280, 424}, {853, 600}, {0, 0, 1280, 600}},
        {"whole screen", screen, {853, 600}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        const QRect room = RoomBeside(c.keepClear, c.size, screen);
        EXPECT_EQ(room, c.room);
        EXPECT_FALSE(room.intersects(c.keepClear));
    }
}
