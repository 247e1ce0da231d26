#include "design/DesignDocument.h"
#include "design/window/ObjectViews.h"
#include "design/window/TForm1.h"
#include "design/window/TStretchHandle.h"
#include "ui_TForm1.h"

#include "design/PropertyCommands.h"
#include "design/window/Rulers.h"
#include "platform/window/Dialogs.h"

#include "DesignWindowFixture.h"
#include "TestSupport.h"

#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

using namespace design;

namespace {

// The design window's surface as a user meets it: what lies above what, where a press goes, what
// shows at the label's edge and in the pointer's position.
class DesignWindowSurface : public DesignWindowFixture {
protected:
    void SetUp() override
    {
        DesignWindowFixture::SetUp();
        platform::dialogHooks().messageBox = [](QMessageBox& box) {
            QAbstractButton* no = box.button(QMessageBox::No);
            (no != nullptr ? no : box.button(QMessageBox::Ok))->click();
        };
        openWindow([](TForm1& window) { window.ScreenPixelsPerInch = 96; });
        form->ChooseTool(TDesignTool::Selection);
    }

    QWindow* window() { return form->windowHandle(); }
    void click(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseMove(window(), at(p));
        QTest::mousePress(window(), button, {}, at(p));
        QTest::mouseRelease(window(), button, {}, at(p));
    }
    void drag(QPoint from, QPoint to)
    {
        QTest::mouseMove(window(), at(from));
        QTest::mousePress(window(), Qt::LeftButton, {}, at(from));
        QTest::mouseMove(window(), at((from + to) / 2));
        QTest::mouseMove(window(), at(to));
        QTest::mouseRelease(window(), Qt::LeftButton, {}, at(to));
    }
    // The object whose view is uppermost at a surface point (none: the bare surface).
    TDesignObject* shownAt(QPoint p)
    {
        for (QWidget* w = ui().Feuille->childAt(p); w != nullptr && w != ui().Feuille; w = w->parentWidget())
            if (TDesignObject* o = form->ObjectOf(w))
                return o;
        return nullptr;
    }
    TDesignObject* last() { return model().Object(model().Count() - 1); }
    // Whether any pixel of `r` differs between two pictures of the surface.
    static bool differs(const QImage& shown, const QImage& bare, const QRect& r)
    {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (shown.pixel(x, y) != bare.pixel(x, y))
                    return true;
        return false;
    }
    QPlainTextEdit* editorOf(TDesignObject* memo) { return qobject_cast<TMemoView*>(form->ViewOf(memo))->Editor(); }
};

using V = std::vector<TDesignObject*>;

TEST_F(DesignWindowSurface, TextBlocksStayAboveEveryOtherKindPlacedReopenedOrDragged)
{
    const TDesignTool tools[] = {TDesignTool::Rectangle, TDesignTool::Ellipse, TDesignTool::Text,
                                 TDesignTool::Line, TDesignTool::Barcode};
    for (const TDesignTool tool : tools) {
        SCOPED_TRACE(static_cast<int>(tool));
        form->SpeedButton1Click();
        TDesignObject* memo = PlaceMemo(model(), 30, 20, "Text");
        // Placed just left of the block, running over it.
        form->ChooseTool(tool);
        click({memo->Left - 10, memo->Top + 3});
        form->ChooseTool(TDesignTool::Selection);
        ASSERT_EQ(model().Count(), 2);
        const QRect both = QRect(memo->Left, memo->Top, memo->Width, memo->Height)
                               .intersected(QRect(last()->Left, last()->Top, last()->Width, last()->Height));
        ASSERT_FALSE(both.isEmpty());
        const QPoint overlap = both.center();
        // Still selected after placing, the new object leaves the block its presses.
        ASSERT_EQ(form->Selection(), V{last()});
        click(overlap);
        EXPECT_EQ(QApplication::focusWidget(), editorOf(memo)) << "selected, under the block";
        form->EmptySelection();
        EXPECT_EQ(shownAt(overlap), memo) << "placed";

        const QString path = dir.filePath("stack.car");
        SaveDesignDocument(model(), path);
        form->OpenDesign(path);
        ASSERT_EQ(model().Count(), 2);
        memo = model().Object(0)->Kind() == TDesignObjectKind::Memo ? model().Object(0) : model().Object(1);
        EXPECT_EQ(shownAt(overlap), memo) << "reopened";
    }
    // Dragged onto the block from elsewhere.
    const QPoint overlap(60, 40);
    form->SpeedButton1Click();
    TDesignObject* memo = PlaceMemo(model(), 30, 20, "Text");
    TShape* shape = PlaceShape(model(), 150, 100, stRectangle);
    click({shape->Left + 30, shape->Top + 30});
    ASSERT_EQ(form->Selection(), V{shape});
    drag({shape->Left + 30, shape->Top + 30}, {overlap.x() + 5, overlap.y() + 5});
    form->EmptySelection();
    ASSERT_LT(shape->Left, overlap.x());
    EXPECT_EQ(shownAt(overlap), memo) << "dragged";
}

TEST_F(DesignWindowSurface, OtherKindsLieOverEachOtherAsTheyPrint)
{
    // The first object placed prints over the second, which is placed later over it.
    struct Case {
        const char* name;
        std::function<TDesignObject*(TDesignModel&)> over, under;
    };
    const Case cases[] = {
        {"barcode over filled rectangle", [](TDesignModel& m) { return PlaceBarcode(m, 20, 20); },
         [](TDesignModel& m) { return PlaceShape(m, 30, 30, stRectangle); }},
        {"text over filled rectangle", [](TDesignModel& m) { return PlaceLabel(m, 20, 20, "Over the frame"); },
         [](TDesignModel& m) { return PlaceShape(m, 30, 22, stRectangle); }},
        {"barcode over text", [](TDesignModel& m) { return PlaceBarcode(m, 20, 20); },
         [](TDesignModel& m) { return PlaceLabel(m, 30, 30, "Under the bars"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->SpeedButton1Click();
        TDesignObject* over = c.over(model());
        TDesignObject* under = c.under(model());
        QCoreApplication::processEvents();
        const QRect both = QRect(over->Left, over->Top, over->Width, over->Height)
                               .intersected(QRect(under->Left, under->Top, under->Width, under->Height));
        ASSERT_FALSE(both.isEmpty());
        const QPoint overlap = both.center();
        EXPECT_EQ(shownAt(overlap), over) << "placed";
        const TDesignObjectKind overKind = over->Kind();

        const QString path = dir.filePath("layers.car");
        SaveDesignDocument(model(), path);
        form->OpenDesign(path);
        ASSERT_EQ(model().Count(), 2);
        ASSERT_NE(shownAt(overlap), nullptr);
        EXPECT_EQ(shownAt(overlap)->Kind(), overKind) << "reopened";
    }
}

TEST_F(DesignWindowSurface, PressesReachWhatLiesUnderAHollowFrame)
{
    TMemo* memo = PlaceMemo(model(), 20, 20, "Text");
    TLabel* label = PlaceLabel(model(), 150, 20, "Name");
    TBarcodeObject* barcode = PlaceBarcode(model(), 20, 110);
    TImage* image = PlaceImage(model(), 200, 110, "<Photo>");
    ASSERT_NE(image, nullptr);
    // A frame the size of the label, placed last, drawn by its outline only.
    TShape* frame = PlaceShape(model(), 0, 0, stRectangle);
    frame->Brush.SetStyle(platform::bsClear);
    qobject_cast<TDesignObjectView*>(form->ViewOf(frame))->SetObjectBounds(QRect(0, 0, 300, 200));
    form->EmptySelection();

    const auto middle = [](const TDesignObject* o) { return QPoint(o->Left + o->Width / 2, o->Top + o->Height / 2); };
    for (TDesignObject* o : V{label, barcode, image}) {
        SCOPED_TRACE(static_cast<int>(o->Kind()));
        form->EmptySelection();
        click(middle(o));
        EXPECT_EQ(form->Selection(), V{o});
    }
    form->EmptySelection();
    click(middle(memo));
    EXPECT_EQ(form->Selection(), V{});
    EXPECT_EQ(QApplication::focusWidget(), editorOf(memo));
    // A right click opens the menu of the object under the pointer, not the frame's.
    {
        testsupport::MenuAnswer closeMenus([](QMenu& menu) { menu.close(); });
        click(middle(label), Qt::RightButton);
        EXPECT_EQ(form->PropertyCommands().ObjetPopup, label);
        click(middle(image), Qt::RightButton);
        EXPECT_EQ(form->PropertyCommands().ObjetPopup, image);
    }
    // Its outline still takes the press, and a press inside it on nothing starts a rubber band.
    form->EmptySelection();
    click({1, 100});
    EXPECT_EQ(form->Selection(), V{frame});
    click({150, 90});
    EXPECT_EQ(form->Selection(), V{});
}

TEST_F(DesignWindowSurface, ATextBlockShowsItsFirstLineWhenEditingEnds)
{
    form->ChooseTool(TDesignTool::Memo);
    click({30, 20});
    form->ChooseTool(TDesignTool::Selection);
    TDesignObject* memo = last();
    QPlainTextEdit* editor = editorOf(memo);
    ASSERT_EQ(QApplication::focusWidget(), editor);
    for (int i = 0; i < 12; ++i) {
        QTest::keyClicks(editor, QString("line %1").arg(i));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    ASSERT_GT(editor->verticalScrollBar()->value(), 0); // scrolled to the caret while typing
    click({250, 180}); // the surface: editing ends
    ASSERT_NE(QApplication::focusWidget(), editor);
    EXPECT_EQ(editor->verticalScrollBar()->value(), 0);
}

TEST_F(DesignWindowSurface, ObjectsAreCutAtTheLabelsEdgeAsPrinted)
{
    // Each object runs 20 pixels past the 300 x 200 label, to the right and below.
    struct Case {
        const char* kind;
        std::function<TDesignObject*()> place;
    };
    const Case cases[] = {
        {"shape", [this] { return PlaceShape(model(), 255, 155, stRectangle); }},
        {"text block", [this] { return PlaceMemo(model(), 255, 155, "Text"); }},
        {"picture", [this] { return PlaceImage(model(), 255, 155, "<Photo>"); }},
    };
    const QImage bare = ui().Feuille->grab().toImage();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        form->SpeedButton1Click();
        TDesignObject* o = c.place();
        qobject_cast<TDesignObjectView*>(form->ViewOf(o))->SetObjectBounds(QRect(255, 155, 65, 65));
        form->EmptySelection();
        QCoreApplication::processEvents();
        const QImage shown = ui().Feuille->grab().toImage();
        // Inside the label the object shows; past its edges only its dotted outline does.
        const QRect r = form->ViewOf(o)->geometry();
        for (const QPoint p : {QPoint(255, 180), QPoint(280, 155)})
            EXPECT_NE(shown.pixel(p), bare.pixel(p)) << p.x() << "," << p.y();
        EXPECT_TRUE(differs(shown, bare, QRect(r.right() - 1, 160, 1, 40))) << "right outline";
        EXPECT_TRUE(differs(shown, bare, QRect(260, r.bottom() - 1, 40, 1))) << "bottom outline";
        EXPECT_FALSE(differs(shown, bare, QRect(QPoint(300, 158), QPoint(r.right() - 3, 199)))) << "right";
        EXPECT_FALSE(differs(shown, bare, QRect(QPoint(258, 200), QPoint(r.right() - 3, r.bottom() - 3)))) << "below";
        // A press past the edge is no press on the object.
        EXPECT_EQ(shownAt({310, 170}), nullptr);
        EXPECT_EQ(shownAt({290, 190}), o);
    }
    // A larger label shows what was cut.
    model().LargeurEtiquettePx = 400;
    model().HauteurEtiquettePx = 300;
    form->hide();
    form->show();
    EXPECT_EQ(shownAt({310, 170}), last());
}

TEST_F(DesignWindowSurface, HandlesShowWholeAndResizeWhereTheirObjectDoesNotShow)
{
    // Handles lie half over their object: over a part cut at the label's edge (300 x 200) or the
    // inside of a hollow shape, they still show whole and take the drag that resizes.
    struct Case {
        const char* shape;
        QPoint at;
        bool hollow;
    };
    for (const Case& c : {Case{"cut at the label's edge", {255, 100}, false}, Case{"hollow", {100, 50}, true}}) {
        SCOPED_TRACE(c.shape);
        form->SpeedButton1Click();
        TShape* shape = PlaceShape(model(), c.at.x(), c.at.y(), stRectangle);
        if (c.hollow)
            shape->Brush.SetStyle(platform::bsClear);
        qobject_cast<TDesignObjectView*>(form->ViewOf(shape))->SetObjectBounds(QRect(c.at, QSize(65, 65)));
        form->EmptySelection();
        click(c.at + QPoint(30, 2));
        ASSERT_EQ(form->Selection(), V{shape});
        QCoreApplication::processEvents();
        // The right side's middle handle.
        const QRect square(c.at.x() + 65 + 2 - 8, c.at.y() - 2 + 69 / 2 - 4, 8, 8);
        const QImage shown = ui().Feuille->grab().toImage();
        const QRgb handle = shown.pixel(square.topRight());
        int bare = 0;
        for (int y = square.top(); y <= square.bottom(); ++y)
            for (int x = square.left(); x <= square.right(); ++x)
                bare += shown.pixel(x, y) != handle;
        EXPECT_EQ(bare, 0);
        drag(square.center(), square.center() - QPoint(20, 0));
        EXPECT_LT(shape->Width, 50);
        EXPECT_EQ(shape->Left, c.at.x());
    }
}

TEST_F(DesignWindowSurface, AnObjectPlacedBesideTheLabelStaysInSightByItsOutline)
{
    // The label is 300 x 200: each object lies wholly beside it, where print draws nothing. A text
    // block shows whole while it is typed into; afterwards each shows its outline only, and a press
    // on the outline reaches it.
    const QImage bare = ui().Feuille->grab().toImage();
    for (const TDesignTool tool : {TDesignTool::Memo, TDesignTool::Barcode, TDesignTool::Rectangle}) {
        SCOPED_TRACE(static_cast<int>(tool));
        form->SpeedButton1Click();
        form->ChooseTool(tool);
        click({340, 60});
        TDesignObject* o = last();
        const QRect box(o->Left, o->Top, o->Width, o->Height);
        ASSERT_GE(box.left(), 300);
        const bool memo = Is<TMemo>(o);
        if (memo) {
            ASSERT_EQ(QApplication::focusWidget(), editorOf(o));
            EXPECT_TRUE(differs(ui().Feuille->grab().toImage(), bare, box.adjusted(3, 3, -3, -3))) << "while typing";
            EXPECT_EQ(shownAt(box.center()), o);
        }
        form->ChooseTool(TDesignTool::Selection);
        click({150, 150}); // editing ends, the selection empties
        ASSERT_EQ(form->Selection(), V{});
        if (memo) {
            ASSERT_NE(QApplication::focusWidget(), editorOf(o));
        }
        QCoreApplication::processEvents();
        const QImage shown = ui().Feuille->grab().toImage();
        EXPECT_FALSE(differs(shown, bare, box.adjusted(3, 3, -3, -3))) << "inside";
        const QRect line = box.adjusted(1, 1, -1, -1);
        for (const QRect side : {QRect(line.topLeft(), QSize(line.width(), 1)), QRect(line.topLeft(), QSize(1, line.height()))})
            EXPECT_TRUE(differs(shown, bare, side)) << "outline";
        EXPECT_EQ(shownAt(box.center()), nullptr);
        // The outline is grabbed a pixel beside its line.
        click({box.left(), box.center().y()});
        if (memo) {
            EXPECT_EQ(QApplication::focusWidget(), editorOf(o));
        } else {
            EXPECT_EQ(form->Selection(), V{o});
        }
    }
}

TEST_F(DesignWindowSurface, ThePointerPositionIsClearedWhenThePointerLeavesTheSurface)
{
    QTest::mouseMove(window(), at({38, 19}));
    EXPECT_EQ(ui().Label1->text(), "x=10mm, y=5mm");
    struct Case {
        const char* onto;
        QWidget* widget;
    };
    for (const Case& c : {Case{"ruler", form->HRuler}, Case{"window edge", form->centralWidget()}}) {
        SCOPED_TRACE(c.onto);
        QTest::mouseMove(window(), at({38, 19}));
        ASSERT_FALSE(ui().Label1->text().isEmpty());
        const QPoint p = c.widget->mapTo(form.get(), QPoint(c.widget->width() - 2, c.widget->height() - 2));
        ASSERT_FALSE(ui().ScrollBox->viewport()->rect().contains(ui().ScrollBox->viewport()->mapFrom(form.get(), p)));
        QTest::mouseMove(window(), p);
        EXPECT_EQ(ui().Label1->text(), "");
    }
}

} // namespace
