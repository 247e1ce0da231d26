#include "design/window/ObjectViews.h"

#include "RendererTestSupport.h"

#include "barcode/Barcode.h"
#include "TestSupport.h"

#include <QDir>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace design;

namespace {

// The surface the views are put on: white, like the label.
struct Surface {
    QWidget widget;
    Surface() { testsupport::showWhiteSurface(widget); }
};

} // namespace

// Every kind gets its own view, which draws the record where the model puts it and as the
// printed label shows it (both go through the renderer, or through the same geometry).
TEST(ObjectViews, EachKindDrawsItsRecordAsPrinted)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("images")));
    QImage picture(20, 10, QImage::Format_RGB32);
    picture.fill(Qt::red);
    for (int x = 0; x < 20; ++x)
        picture.setPixel(x, 4, qRgb(0, 0, 0));
    ASSERT_TRUE(picture.save(folder.filePath(QStringLiteral("images/stripe.png"))));

    struct Case {
        const char* name;
        std::function<TDesignObject*(TDesignModel&)> make;
        const QMetaObject* viewClass;
        bool asPrinted; // false: the surface shows what printing does not (a placeholder)
    };
    const Case cases[] = {
        {"picture", [](TDesignModel& m) { return PlaceImage(m, 30, 40, QStringLiteral("stripe.png")); },
         &TImageView::staticMetaObject, true},
        {"field picture", [](TDesignModel& m) { return PlaceImage(m, 30, 40, QStringLiteral("<Photo>")); },
         &TImageView::staticMetaObject, false},
        {"rectangle", [](TDesignModel& m) { return PlaceShape(m, 30, 40, stRectangle); },
         &TShapeView::staticMetaObject, true},
        {"rounded", [](TDesignModel& m) { return PlaceShape(m, 30, 40, stRoundRect); },
         &TShapeView::staticMetaObject, true},
        {"ellipse", [](TDesignModel& m) { return PlaceShape(m, 30, 40, stEllipse); },
         &TShapeView::staticMetaObject, true},
        {"text", [](TDesignModel& m) { return PlaceLabel(m, 30, 40, QStringLiteral("Hello world")); },
         &TLabelView::staticMetaObject, true},
        {"barcode",
         [](TDesignModel& m) {
             TBarcodeObject* b = PlaceBarcode(m, 30, 40);
             b->Barcode().SetBar_Caption(QStringLiteral("4006381333931"));
             return b;
         },
         &TBarcodeObjectView::staticMetaObject, true},
        {"tilted text", [](TDesignModel& m) { return PlaceRotateLabel(m, 30, 40, QStringLiteral("Tilted")); },
         &TRotateLabelView::staticMetaObject, true},
        {"line", [](TDesignModel& m) { return PlaceLine(m, 30, 40); }, &TLineView::staticMetaObject, true},
        {"block", [](TDesignModel& m) { return PlaceMemo(m, 30, 40, QStringLiteral("Some lines")); },
         &TMemoView::staticMetaObject, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RenderFixture fixture;
        fixture.model.LargeurEtiquettePx = 400;
        fixture.model.HauteurEtiquettePx = 300;
        fixture.model.ProgramFolder = folder.path();
        TDesignObject* object = c.make(fixture.model);
        ASSERT_NE(object, nullptr);
        Surface surface;
        TDesignObjectView* view = MakeObjectView(*object, &surface.widget);
        EXPECT_EQ(view->metaObject(), c.viewClass);
        EXPECT_EQ(&view->Object(), object);
        const QRect box(object->Left, object->Top, object->Width, object->Height);
        EXPECT_EQ(view->geometry(), box);

        const QImage screen = surface.widget.grab().toImage();
        const QRect drawn = darkBounds(screen);
        ASSERT_FALSE(drawn.isNull());
        EXPECT_TRUE(box.contains(drawn)) << drawn.x() << "," << drawn.y() << " " << drawn.width() << "x"
                                         << drawn.height();
        if (!c.asPrinted)
            continue;
        const QImage printed = fixture.render(400, 300, {0, 0}, 1.0, 1.0);
        const QRect expected = darkBounds(printed);
        // Within a pixel: a horizontal line strokes one pixel higher on screen than printed.
        const int off = std::max({std::abs(drawn.left() - expected.left()), std::abs(drawn.right() - expected.right()),
                                  std::abs(drawn.top() - expected.top()), std::abs(drawn.bottom() - expected.bottom())});
        EXPECT_LE(off, 1) << "screen " << drawn.x() << "," << drawn.y() << "-" << drawn.right() << "," << drawn.bottom()
                          << " print " << expected.x() << "," << expected.y() << "-" << expected.right() << ","
                          << expected.bottom();
        const int screenDark = testsupport::darkPixels(screen, 0, 0, 399, 299);
        const int printDark = testsupport::darkPixels(printed, 0, 0, 399, 299);
        EXPECT_NEAR(screenDark, printDark, printDark / 10 + 2);
        if (c.viewClass == &TImageView::staticMetaObject) {
            EXPECT_EQ(screen.pixel(40, 41) & 0xFFFFFF, 0xFF0000u); // the picture's red, stretched
        }
    }
}

TEST(ObjectViews, ABlockOfTextIsARealEditorOverItsRecord)
{
    TCurrentFormat format;
    TDesignModel model(format);
    TMemo* memo = PlaceMemo(model, 10, 20, model.BlockOfTextDefault);
    Surface surface;
    auto* view = static_cast<TMemoView*>(MakeObjectView(*memo, &surface.widget));
    int edits = 0;
    QObject::connect(view, &TMemoView::Edited, [&] { ++edits; });

    // The default text is preselected: typing replaces it, and every keystroke reaches the record.
    QTest::keyClicks(view->Editor(), QStringLiteral("Hi"));
    EXPECT_EQ(memo->Lines, QStringList{QStringLiteral("Hi")});
    QTest::keyClick(view->Editor(), Qt::Key_Return);
    QTest::keyClicks(view->Editor(), QStringLiteral("there"));
    EXPECT_EQ(memo->Lines, (QStringList{QStringLiteral("Hi"), QStringLiteral("there")}));
    EXPECT_GT(edits, 0);
    view->Editor()->clear();
    EXPECT_TRUE(memo->Lines.isEmpty());

    // A change of the record shows after Refresh, and is no edit of the user's.
    edits = 0;
    memo->Lines = QStringList{QStringLiteral("From the model")};
    memo->Alignment = taRightJustify;
    memo->BorderStyle = bsNone;
    view->Refresh();
    EXPECT_EQ(view->Editor()->toPlainText(), QStringLiteral("From the model"));
    EXPECT_EQ(view->Editor()->document()->defaultTextOption().alignment(), Qt::AlignRight);
    EXPECT_EQ(view->Editor()->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(edits, 0);

    // Presses reach the window's handler, double clicks as such, and the editor still takes them.
    QList<QEvent::Type> seen;
    view->OnMouseDown = [&](QMouseEvent* e) { seen.append(e->type()); };
    QTest::mouseClick(view->Editor()->viewport(), Qt::LeftButton, {}, {5, 5});
    QTest::mouseDClick(view->Editor()->viewport(), Qt::LeftButton, {}, {5, 5});
    EXPECT_EQ(seen, (QList<QEvent::Type>{QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}));
}

TEST(ObjectViews, MovingAViewWritesItsRecord)
{
    TCurrentFormat format;
    TDesignModel model(format);
    TShape* shape = PlaceShape(model, 10, 20, stEllipse);
    TBarcodeObject* barcode = PlaceBarcode(model, 50, 60);
    Surface surface;
    TDesignObjectView* shapeView = MakeObjectView(*shape, &surface.widget);
    TDesignObjectView* barcodeView = MakeObjectView(*barcode, &surface.widget);
    shapeView->SetObjectBounds({15, 25, 80, 40});
    EXPECT_EQ(shape->BoundsRect(), platform::Bounds(15, 25, 80, 40));
    EXPECT_EQ(shapeView->geometry(), QRect(15, 25, 80, 40));
    // A barcode keeps the size of its symbol wherever it goes.
    const QSize symbol = barcodeView->size();
    barcodeView->SetObjectBounds({70, 80, 10, 10});
    EXPECT_EQ(barcodeView->geometry(), QRect(QPoint(70, 80), symbol));
    EXPECT_EQ(barcode->Left, 70);
    EXPECT_EQ(barcode->Width, symbol.width());
    // Settings that do not encode leave a grey crossed frame to select, not an empty place.
    barcode->Barcode().SetBar_CodeType(20); // no such type
    barcodeView->Refresh();
    const QImage shown = barcodeView->grab().toImage();
    EXPECT_EQ(shown.pixel(0, 0) & 0xFFFFFF, 0x808080u);
    EXPECT_GT(testsupport::darkPixels(shown, 0, 0, shown.width() - 1, shown.height() - 1, 200),
              shown.width() + shown.height());
}
