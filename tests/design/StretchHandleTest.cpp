#include "design/window/ObjectViews.h"
#include "design/window/TStretchHandle.h"

#include "TestSupport.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

using namespace stretch;

namespace {

// A white surface holding controls and the selection frame, driven through its window as a
// user would (presses reach the widget under the pointer, the frame's shape and grabs count).
class Surface {
public:
    Surface()
    {
        sh = new TStretchHandle(&parent);
        QObject::connect(sh, &TStretchHandle::Modified, [this] { ++modified; });
        testsupport::showWhiteSurface(parent);
    }

    QWidget* control(const QRect& r)
    {
        auto* w = new QWidget(&parent);
        w->setGeometry(r);
        w->show();
        return w;
    }

    QWindow* window() { return parent.windowHandle(); }
    void hover(QPoint p) { QTest::mouseMove(window(), p); }
    void press(QPoint p, Qt::KeyboardModifiers modifiers = {}) { QTest::mousePress(window(), Qt::LeftButton, modifiers, p); }
    void release(QPoint p) { QTest::mouseRelease(window(), Qt::LeftButton, {}, p); }
    // A press on the frame, a move and a release (surface coordinates).
    void drag(QPoint from, QPoint to)
    {
        hover(from);
        press(from);
        hover(to);
        release(to);
    }
    QImage image() { return parent.grab().toImage(); }

    QWidget parent;
    TStretchHandle* sh = nullptr;
    int modified = 0;
};

QRgb pixel(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace

TEST(StretchGeometry, DragRectSnapsTheControlsOwnEdgesAndSizes)
{
    // The frame of a control at (40, 30) of 100 x 50.
    const QRect frame(38, 28, 105, 55);
    struct Case {
        Zone zone;
        QPoint from, to;
        int grid;
        QRect expected;
    };
    const Case cases[] = {
        // Without snapping the control follows the pointer exactly (it used to land 2 px up-left).
        {zMove, {50, 20}, {57, 25}, 1, {45, 33, 105, 55}},
        // Snapped: a frame left of 45 before snapping puts the control on 40.
        {zMove, {50, 20}, {57, 25}, 8, {38, 30, 105, 55}},
        // A corner resize grows the control by what the pointer moved (it used to fall 3 short).
        {zBottomRight, {100, 50}, {110, 60}, 1, {38, 28, 115, 65}},
        {zBottomRight, {100, 50}, {110, 60}, 8, {38, 28, 109, 61}},
        {zTopLeft, {3, 3}, {-7, -2}, 1, {28, 23, 115, 60}},
        {zTopRight, {101, 3}, {111, -3}, 1, {38, 22, 115, 61}},
        {zBottomLeft, {3, 51}, {-7, 57}, 1, {28, 28, 115, 61}},
        {zTop, {52, 3}, {90, 10}, 1, {38, 35, 105, 48}},
        {zLeft, {3, 27}, {13, 90}, 1, {48, 28, 95, 55}},
        {zBottom, {52, 51}, {0, 41}, 1, {38, 28, 105, 45}},
        // Never below 8 x 8 (a control of 3 x 3).
        {zRight, {101, 27}, {-38, 27}, 1, {38, 28, 8, 55}},
        {zBottom, {52, 51}, {52, -100}, 8, {38, 28, 105, 8}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DragRect(frame, c.from, c.to, c.zone, c.grid, c.grid), c.expected)
            << "zone " << c.zone << " grid " << c.grid;
}

TEST(StretchGeometry, HandleZonesOfASingleControlsFrame)
{
    const QSize frame(105, 55);
    const std::pair<QPoint, Zone> cases[] = {
        {{3, 3}, zTopLeft},      {{101, 3}, zTopRight}, {{3, 51}, zBottomLeft}, {{100, 50}, zBottomRight},
        {{52, 2}, zTop},         {{52, 52}, zBottom},   {{2, 27}, zLeft},       {{102, 27}, zRight},
        {{30, 30}, zMove},       {{57, 2}, zMove},
    };
    for (const auto& [p, zone] : cases)
        EXPECT_EQ(ZoneAt(frame, p), zone) << p.x() << "," << p.y();
}

TEST(StretchHandle, AttachFitsTheControlsAndPaintsTheirHandles)
{
    Surface s;
    QWidget* a = s.control({40, 30, 100, 50});
    s.sh->Attach(a);
    EXPECT_EQ(s.sh->geometry(), QRect(38, 28, 105, 55));
    EXPECT_TRUE(s.sh->isVisible());
    QImage img = s.image();
    EXPECT_EQ(pixel(img, 38, 28), 0u);           // corner square, black
    EXPECT_EQ(pixel(img, 38 + 52, 28 + 2), 0u);  // middle of the top side
    EXPECT_EQ(pixel(img, 38 + 30, 28 + 30), 0xFFFFFFu);

    QWidget* b = s.control({200, 10, 20, 20});
    s.sh->Attach(b);
    EXPECT_EQ(s.sh->geometry(), QRect(38, 8, 185, 75));
    img = s.image();
    EXPECT_EQ(pixel(img, 38, 28), 0x808080u);          // corners in the secondary colour
    EXPECT_EQ(pixel(img, 38 + 52, 28 + 2), 0xFFFFFFu); // no side handles for several
    EXPECT_EQ(pixel(img, 221, 9), 0x808080u);        // the second control's corner

    // Nothing, a control already attached, a window: the selection stays as it is.
    s.sh->Attach(nullptr);
    s.sh->Attach(a);
    QWidget window;
    EXPECT_THROW(s.sh->Attach(&window), EBadChild);
    EXPECT_EQ(s.sh->AttachedCount(), 2);
    for (int index : {-1, 2, 3, 100})
        EXPECT_EQ(s.sh->Attached(index), nullptr) << index;
    EXPECT_EQ(s.sh->Attached(1), b);

    // A control of another parent starts a new selection there.
    QWidget other;
    auto* c = new QWidget(&other);
    c->setGeometry(5, 5, 10, 10);
    s.sh->Attach(c);
    EXPECT_EQ(s.sh->AttachedCount(), 1);
    EXPECT_EQ(s.sh->parentWidget(), &other);
    s.sh->setParent(&s.parent); // back to its owner before `other` goes
    s.sh->Detach();
    EXPECT_FALSE(s.sh->isVisible());
    EXPECT_EQ(s.sh->AttachedCount(), 0);
}

TEST(StretchHandle, DragsMoveAndResizeByHandle)
{
    struct Case {
        QPoint handle; // frame coordinates
        QPoint delta;
        int grid;
        QRect expected; // the control after the drag
    };
    const Case cases[] = {
        {{30, 30}, {7, 5}, 1, {47, 35, 100, 50}},
        {{30, 30}, {7, 5}, 8, {40, 32, 100, 50}},
        {{3, 3}, {-10, -6}, 1, {30, 24, 110, 56}},
        {{101, 3}, {10, -6}, 1, {40, 24, 110, 56}},
        {{3, 51}, {-10, 6}, 1, {30, 30, 110, 56}},
        {{101, 51}, {10, 6}, 1, {40, 30, 110, 56}},
        {{101, 51}, {10, 6}, 8, {40, 30, 104, 56}},
        {{52, 3}, {4, -6}, 1, {40, 24, 100, 56}},
        {{3, 27}, {-10, 4}, 1, {30, 30, 110, 50}},
        {{52, 51}, {4, 6}, 1, {40, 30, 100, 56}},
        {{101, 27}, {10, 4}, 1, {40, 30, 110, 50}},
    };
    for (const Case& c : cases) {
        Surface s;
        QWidget* w = s.control({40, 30, 100, 50});
        s.sh->Attach(w);
        s.sh->SetGridX(c.grid);
        s.sh->SetGridY(c.grid);
        const QPoint from = s.sh->pos() + c.handle;
        s.drag(from, from + c.delta);
        EXPECT_EQ(w->geometry(), c.expected) << c.handle.x() << "," << c.handle.y() << " grid " << c.grid;
        EXPECT_EQ(s.sh->geometry(), FrameAround({w->geometry()}));
        EXPECT_EQ(s.modified, 1);
    }
}

TEST(StretchHandle, SnapSwitchAndCursors)
{
    Surface s;
    s.sh->Attach(s.control({40, 30, 100, 50}));
    s.sh->SetSnapToGrid(true);
    EXPECT_EQ(s.sh->GridX(), 8);
    EXPECT_EQ(s.sh->GridY(), 8);
    s.sh->SetGridX(1);
    EXPECT_TRUE(s.sh->SnapToGrid());
    s.sh->SetSnapToGrid(false);
    EXPECT_FALSE(s.sh->SnapToGrid());

    const std::pair<QPoint, Qt::CursorShape> cases[] = {
        {{3, 3}, Qt::SizeFDiagCursor}, {{52, 2}, Qt::SizeVerCursor}, {{30, 30}, Qt::ArrowCursor}};
    for (const auto& [p, shape] : cases) {
        s.hover(s.sh->pos() + p);
        EXPECT_EQ(s.sh->cursor().shape(), shape);
    }
    s.sh->Locked = true;
    s.hover(s.sh->pos() + QPoint(31, 31));
    EXPECT_EQ(s.sh->cursor().shape(), Qt::ForbiddenCursor);
}

TEST(StretchHandle, SeveralControlsMoveTogetherAndOnlyMove)
{
    Surface s;
    QWidget* a = s.control({40, 30, 100, 50});
    QWidget* b = s.control({200, 10, 20, 20});
    s.sh->Attach(a);
    s.sh->Attach(b);
    // A press on a corner handle of the first control moves both: several are never resized.
    const QPoint corner = s.sh->pos() + QPoint(3, 23);
    s.drag(corner, corner + QPoint(15, 12));
    EXPECT_EQ(a->geometry(), QRect(55, 42, 100, 50));
    EXPECT_EQ(b->geometry(), QRect(215, 22, 20, 20));
    EXPECT_EQ(s.sh->geometry(), QRect(53, 20, 185, 75));
    EXPECT_EQ(s.modified, 1);
}

TEST(StretchHandle, FeedbackShowsWhereTheControlLandsAndLeavesNothing)
{
    Surface s;
    QWidget* w = s.control({40, 30, 100, 50});
    s.sh->Attach(w);
    const QPoint from = s.sh->pos() + QPoint(30, 30);
    s.hover(from);
    s.press(from);
    s.hover(from + QPoint(60, 40));
    EXPECT_EQ(s.sh->DragFeedback(), QRect(98, 68, 105, 55));
    EXPECT_EQ(w->geometry(), QRect(40, 30, 100, 50)); // nothing moves before the release
    // The dotted outline of the control's new place: its top edge at y = 70.
    EXPECT_GT(testsupport::darkPixels(s.image(), 110, 70, 140, 70), 5);
    s.release(from + QPoint(60, 40));
    EXPECT_TRUE(s.sh->DragFeedback().isNull());
    EXPECT_EQ(w->geometry(), QRect(100, 70, 100, 50));
    EXPECT_EQ(testsupport::darkPixels(s.image(), 110, 70, 140, 70), 0);
}

TEST(StretchHandle, ModifiedOnlyWhenSomethingReallyMoved)
{
    Surface s;
    QWidget* w = s.control({40, 30, 100, 50});
    s.sh->Attach(w);
    const QPoint inside = s.sh->pos() + QPoint(30, 30);
    s.press(inside);
    s.release(inside); // a click
    s.drag(inside, inside + QPoint(9, 0));
    EXPECT_EQ(s.modified, 1);
    const QPoint there = inside + QPoint(9, 0);
    s.hover(there);
    s.press(there);
    s.hover(there + QPoint(20, 20));
    s.hover(there);
    s.release(there); // dragged back to where it started
    EXPECT_EQ(s.modified, 1);

    // Arrow keys: one pixel whatever the grid, every control, and a signal each time.
    QWidget* other = s.control({200, 200, 10, 10});
    s.sh->Attach(other);
    s.sh->SetSnapToGrid(true);
    QTest::keyClick(s.sh, Qt::Key_Right);
    QTest::keyClick(s.sh, Qt::Key_Down);
    EXPECT_EQ(w->geometry(), QRect(50, 31, 100, 50));
    EXPECT_EQ(other->geometry(), QRect(201, 201, 10, 10));
    EXPECT_EQ(s.modified, 3);

    // Locked: neither keys nor drags move anything.
    s.sh->Locked = true;
    QTest::keyClick(s.sh, Qt::Key_Left);
    s.drag(s.sh->pos() + QPoint(30, 30), s.sh->pos() + QPoint(60, 60));
    EXPECT_EQ(w->geometry(), QRect(50, 31, 100, 50));
    EXPECT_EQ(s.modified, 3);

    // A tilted text keeps its square: resizing it changes nothing, so nothing is modified.
    design::TRotateLabel label;
    label.Caption = QStringLiteral("Tilted");
    label.SetBounds(100, 150, 10, 10);
    auto* view = new TRotateLabelView(&label, &s.parent);
    view->Refresh();
    const QRect square = view->geometry();
    s.sh->Detach();
    s.sh->Attach(view);
    const QPoint corner = s.sh->pos() + QPoint(s.sh->width() - 3, s.sh->height() - 3);
    s.drag(corner, corner + QPoint(30, 30));
    EXPECT_EQ(view->geometry(), square);
    EXPECT_EQ(s.modified, 3);
}

TEST(StretchHandle, ViewsCarryTheirRecordsAlong)
{
    Surface s;
    design::TLine line;
    line.SetLine(design::ltDownDiagonal);
    line.SetBounds(40, 30, 100, 50);
    auto* view = new TLineView(&line, &s.parent);
    view->Refresh();
    // Selecting the view on its press lets the same press drag it at once. The window's handler
    // reads Shift (add to the selection) from the event it is given.
    Qt::KeyboardModifiers modifiers;
    view->OnMouseDown = [&](QMouseEvent* e) {
        modifiers = e->modifiers();
        s.sh->Attach(view);
    };
    const QPoint p(60, 50);
    s.press(p, Qt::ShiftModifier);
    EXPECT_EQ(modifiers, Qt::ShiftModifier);
    s.hover(p + QPoint(1, 1)); // the drag starts on the first move
    s.hover(p + QPoint(21, 11));
    s.release(p + QPoint(21, 11));
    EXPECT_EQ(line.BoundsRect(), platform::Bounds(60, 40, 100, 50));
    EXPECT_EQ(view->geometry(), QRect(60, 40, 100, 50));
    EXPECT_EQ(s.modified, 1);
}

TEST(StretchHandle, PressesBesideTheControlsReachWhatIsUnderneath)
{
    Surface s;
    QWidget* under = s.control({150, 40, 30, 30}); // between the two selected controls
    int underPresses = 0;
    class Counter : public QObject {
    public:
        explicit Counter(int& n) : m_n(n) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::MouseButtonPress)
                ++m_n;
            return false;
        }
        int& m_n;
    } counter(underPresses);
    under->installEventFilter(&counter);
    s.sh->Attach(s.control({40, 30, 100, 50}));
    s.sh->Attach(s.control({200, 10, 20, 20}));
    int framePresses = 0;
    s.sh->OnMouseDown = [&](QMouseEvent*) { ++framePresses; };

    s.press({160, 50});
    s.release({160, 50});
    EXPECT_EQ(underPresses, 1);
    // An event handed to the frame itself beside the controls is passed on the same way.
    QTest::mousePress(s.sh, Qt::LeftButton, {}, QPoint(160, 50) - s.sh->pos());
    QTest::mouseRelease(s.sh, Qt::LeftButton, {}, QPoint(160, 50) - s.sh->pos());
    EXPECT_EQ(underPresses, 2);
    EXPECT_EQ(framePresses, 0);
    s.press({60, 50});
    s.release({60, 50});
    EXPECT_EQ(framePresses, 1);
}

TEST(StretchHandle, DeletedControlsLeaveTheSelection)
{
    Surface s;
    design::TShape shape;
    shape.SetBounds(40, 30, 100, 50);
    QWidget* a = MakeObjectView(shape, &s.parent);
    QWidget* b = s.control({200, 10, 20, 20});
    s.sh->Attach(a);
    s.sh->Attach(b);
    delete a;
    EXPECT_EQ(s.sh->AttachedCount(), 1);
    EXPECT_EQ(s.sh->Attached(0), b);
    EXPECT_EQ(s.sh->geometry(), QRect(198, 8, 25, 25));
    QTest::keyClick(s.sh, Qt::Key_Right);
    EXPECT_EQ(b->geometry(), QRect(201, 10, 20, 20));
    s.image(); // paints without the deleted control
    delete b;
    EXPECT_EQ(s.sh->AttachedCount(), 0);
    EXPECT_EQ(s.sh->Attached(0), nullptr);
    EXPECT_FALSE(s.sh->isVisible());
    s.sh->SetBounds(0, 0, 50, 50); // nothing left to move
    s.image();
}

TEST(StretchHandle, EmptyingTheSelectionHandsTheFocusToNoTextBlock)
{
    Surface s;
    s.parent.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&s.parent));
    design::TMemo memo;
    memo.SetBounds(200, 150, 100, 60);
    auto* block = static_cast<TMemoView*>(MakeObjectView(memo, &s.parent));
    int entered = 0;
    QObject::connect(block, &TMemoView::Entered, [&] { ++entered; });
    s.sh->Attach(s.control({40, 30, 100, 50}));
    ASSERT_TRUE(s.sh->hasFocus());
    s.sh->Detach();
    EXPECT_EQ(entered, 0);
    EXPECT_FALSE(block->Editor()->hasFocus());
}
