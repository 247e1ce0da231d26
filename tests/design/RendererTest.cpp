#include "RendererTestSupport.h"

#include "TestSupport.h"

#include "barcode/Barcode.h"
#include "platform/Errors.h"
#include "platform/Rounding.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace design;
using barcode::EAN_13;
using barcode::rotate_000;
using barcode::SC2;
using platform::TPoint;
using testsupport::darkPixels;

namespace {

TShape* blackBox(TDesignModel& m, int left, int top, int width, int height,
                 TShapeType shape = stRectangle)
{
    TShape* s = m.AddShape(left, top, shape, 1, platform::psSolid, platform::clBlack, platform::bsSolid,
                           platform::clBlack, height, width, false);
    s->SetBounds(left, top, width, height);
    return s;
}

} // namespace

TEST(Renderer, OriginAndScaleMapping)
{
    RenderFixture f;
    blackBox(f.model, 10, 20, 30, 10);
    // As on the design surface.
    EXPECT_EQ(darkBounds(f.render(300, 200, {0, 0}, 1, 1)), QRect(10, 20, 30, 10));
    // Origin (-100, -50): the label's corner lands at device (100, 50).
    EXPECT_EQ(darkBounds(f.render(400, 300, {-100, -50}, 1, 1)), QRect(110, 70, 30, 10));
    // Each axis has its own scale; positions and sizes round halves to even (12.5 -> 12).
    EXPECT_EQ(darkBounds(f.render(500, 300, {0, 0}, 1.25, 2)), QRect(12, 40, 38, 20));
    // A positive origin moves the drawing up and left.
    EXPECT_EQ(darkBounds(f.render(300, 200, {5, 15}, 1, 1)), QRect(5, 5, 30, 10));
}

TEST(Renderer, ClippedToTheLabelAndNothingWithoutScaleOrSize)
{
    RenderFixture f;
    blackBox(f.model, 150, 80, 100, 100); // runs past the 200 x 100 label
    blackBox(f.model, -20, -20, 30, 30);
    const QImage image = f.render(400, 300, {-50, -50}, 1, 1);
    const QRect b = darkBounds(image);
    EXPECT_EQ(b, QRect(50, 50, 200, 100));
    EXPECT_EQ(darkPixels(image, 251, 0, 399, 299), 0);
    EXPECT_EQ(darkPixels(image, 0, 151, 399, 299), 0);

    EXPECT_TRUE(darkBounds(f.render(100, 100, {0, 0}, 0, 1)).isNull());
    EXPECT_TRUE(darkBounds(f.render(100, 100, {0, 0}, 1, 0)).isNull());
    EXPECT_TRUE(darkBounds(f.render(100, 100, {0, 0}, std::nan(""), 1)).isNull());
    EXPECT_EQ(DesignScale(300, 0), 0.0);
    EXPECT_EQ(DesignScale(0, 96), 0.0);
    EXPECT_DOUBLE_EQ(DesignScale(300, 96), 3.125);
    f.model.HauteurEtiquettePx = 0;
    EXPECT_TRUE(darkBounds(f.render(100, 100, {0, 0}, 1, 1)).isNull());
}

TEST(Renderer, ClippingBeforeDrawingComesBack)
{
    RenderFixture f;
    blackBox(f.model, 0, 0, 10, 10);
    QImage image(50, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    platform::TCanvas canvas(&image);
    canvas.SetClipRect({1, 1, 40, 40});
    f.draw(canvas, {0, 0}, 1, 1, false, 1, -1);
    ASSERT_TRUE(canvas.HasClip());
    EXPECT_EQ(canvas.ClipRect(), (platform::TRect{1, 1, 40, 40}));
}

TEST(Renderer, RoundedRectangleCornersAreAQuarterOfTheShortSide)
{
    RenderFixture f;
    blackBox(f.model, 0, 0, 80, 40, stRoundRect);
    const QImage image = f.render(100, 60, {-10, -10}, 1, 1);
    EXPECT_EQ(darkBounds(image), QRect(10, 10, 80, 40));
    // Corner ellipses of 10 x 10: the corner pixel is left out, the straight edge starts 5
    // pixels in (a 20 x 20 corner would leave pixel 16 of the top row white).
    EXPECT_EQ(darkPixels(image, 10, 10, 10, 10), 0);
    EXPECT_EQ(darkPixels(image, 16, 10, 16, 10), 1);
    EXPECT_EQ(darkPixels(image, 10, 16, 10, 16), 1);
    EXPECT_EQ(darkPixels(image, 89, 49, 89, 49), 0);
}

TEST(Renderer, LinePenWidthScalesWithHalvesToEven)
{
    RenderFixture f;
    TLine* line = f.model.AddLine(0, 0, ltHorizontal, 2, platform::psSolid, platform::clBlack, 0, 16, false);
    line->SetBounds(0, 0, 16, 8);
    // 2 x 6.25 = 12.5 draws 12 pixels thick.
    const QImage image = f.render(200, 100, {0, 0}, 6.25, 6.25);
    EXPECT_EQ(darkPixels(image, 50, 0, 50, 99), 12);

    // The other kinds run corner to corner or through the middle.
    RenderFixture g;
    TLine* up = g.model.AddLine(0, 0, ltUpDiagonal, 1, platform::psSolid, platform::clBlack, 0, 0, false);
    up->SetBounds(10, 10, 40, 40);
    const QImage diag = g.render(100, 100, {0, 0}, 1, 1);
    EXPECT_EQ(darkPixels(diag, 10, 50, 10, 50), 1); // starts at the bottom left
    EXPECT_EQ(darkPixels(diag, 10, 10, 12, 12), 0);
    EXPECT_GT(darkPixels(diag, 47, 10, 49, 13), 0); // runs to the top right
}

TEST(Renderer, TextBlockDrawsOnlyTheLinesThatEndAboveItsBottom)
{
    RenderFixture f;
    TMemo* memo = f.model.AddMemo(0, 0, bsNone, {}, platform::clBlack, 8, "Arial", -11, platform::clWhite,
                                  {"AAAA", "BBBB", "CCCC", "DDDD", "EEEE"}, taLeftJustify, 0, 0, false);
    const platform::TTextMetric tm = platform::GetTextMetrics(memo->Font);
    const int p = tm.tmHeight + tm.tmExternalLeading;
    ASSERT_GT(p, 5);
    // Running sums p, 2p, 3p are below 3p + 1; 4p is not.
    memo->SetBounds(0, 0, 180, 3 * p + 1);
    const QImage image = f.render(200, 100, {0, 0}, 1, 1);
    for (int k = 0; k < 3; ++k)
        EXPECT_GT(darkPixels(image, 0, 2 + k * p, 180, 2 + (k + 1) * p - 1), 0) << "line " << k;
    EXPECT_EQ(darkPixels(image, 0, 2 + 3 * p, 199, 99), 0);

    // One pixel less and the third line is gone too.
    memo->Height = 3 * p;
    const QImage shorter = f.render(200, 100, {0, 0}, 1, 1);
    EXPECT_EQ(darkPixels(shorter, 0, 2 + 2 * p, 199, 99), 0);
}

TEST(Renderer, FittingStepsDownToSizeThree)
{
    QImage image(10, 10, QImage::Format_RGB32);
    platform::TCanvas canvas(&image);
    canvas.SetLogPixels(96, 96);
    platform::TFont font;
    font.SetName("Arial");
    font.SetSize(10);
    const unsigned flags = platform::DT_WORDBREAK | platform::DT_NOPREFIX;

    // Fits at its own size: kept.
    FitTextFont(font, {0, 0, 400, 100}, flags, "Short", canvas, 1.0);
    EXPECT_EQ(canvas.Font.Height(), font.Height());

    // Never fits: size 3, scaled (size 3 is height -4 at 96 dpi, x 2.5 = -10).
    FitTextFont(font, {0, 0, 4, 2}, flags, "Far too long for this box", canvas, 2.5);
    EXPECT_EQ(canvas.Font.Height(), -10);

    // In between: the largest size that fits.
    const platform::TRect box{0, 0, 60, 40};
    FitTextFont(font, box, flags, "Wrapped words in a box", canvas, 1.0);
    const int chosen = canvas.Font.Height();
    EXPECT_LT(chosen, 0);
    EXPECT_GT(chosen, font.Height());
    platform::TRect r = box;
    canvas.DrawText("Wrapped words in a box", r, flags | platform::DT_CALCRECT);
    EXPECT_LE(r.Width(), box.Width());
    EXPECT_LE(r.Height(), box.Height());
    platform::TFont bigger = font;
    bigger.SetSize(-MulDiv(chosen, 72, 96) + 1);
    canvas.Font = bigger;
    r = box;
    canvas.DrawText("Wrapped words in a box", r, flags | platform::DT_CALCRECT);
    EXPECT_TRUE(r.Width() > box.Width() || r.Height() > box.Height());
}

TEST(Renderer, SimpleTextIsMergedAndBackedWhenOpaque)
{
    RenderFixture f;
    TLabel* label = f.model.AddLabel(0, 0, false, {}, platform::clBlack, 10, "Arial", -13,
                                     platform::clYellow, "<Surname>", taLeftJustify, 0, 0, false);
    label->SetBounds(10, 10, 120, 30);
    const QImage image = f.render(200, 100, {0, 0}, 1, 1);
    // The yellow background covers the box; the text is drawn over it.
    EXPECT_EQ(image.pixel(12, 36) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(image.pixel(129, 39) & 0xFFFFFF, 0xFFFF00u);
    EXPECT_EQ(image.pixel(130, 39) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_GT(darkPixels(image, 10, 10, 129, 39), 20);

    label->Transparent = true;
    EXPECT_EQ(pixelsOfColour(f.render(200, 100, {0, 0}, 1, 1), 0xFFFF00), 0);
}

TEST(Renderer, TiltedTextIsSizedByTheCaptionAsTyped)
{
    RenderFixture f;
    TRotateLabel* label = f.model.AddRotateLabel(0, 0, false, {}, platform::clBlack, 10, "Arial", -13,
                                                 platform::clYellow, 0, "<Surname>", 0, 0, false);
    label->SetBounds(20, 10, 80, 80);
    f.grid.SetCell(0, 1, "");
    const int emptyValue = pixelsOfColour(f.render(200, 100, {0, 0}, 1, 1), 0xFFFF00);
    f.grid.SetCell(0, 1, "A much longer surname than the code");
    const QImage longer = f.render(200, 100, {0, 0}, 1, 1);

    // Backing of the typed code's width plus 7 by its height plus 5, whatever the value.
    QImage probe(1, 1, QImage::Format_RGB32);
    platform::TCanvas measure(&probe);
    measure.SetLogPixels(96, 96);
    measure.Font = label->Font;
    const int tw = measure.TextWidth("<Surname>");
    const int th = measure.TextHeight("<Surname>");
    EXPECT_NEAR(emptyValue, (tw + 7 - 2) * (th + 5 - 2), (tw + th) * 2);
    const QRect yellow = [&] {
        QRect r;
        for (int y = 0; y < longer.height(); ++y)
            for (int x = 0; x < longer.width(); ++x)
                if ((longer.pixel(x, y) & 0xFFFFFF) == 0xFFFF00)
                    r |= QRect(x, y, 1, 1);
        return r;
    }();
    EXPECT_NEAR(yellow.width(), tw + 7 - 2, 2);
    EXPECT_NEAR(yellow.center().x(), 60, 2); // centred on the square's centre (20 + 80 / 2)
    // The longer value starts where the code would and runs past the backing.
    EXPECT_GT(darkPixels(longer, yellow.right() + 3, 0, 199, 99), 0);
    EXPECT_EQ(darkPixels(longer, 0, 0, yellow.left() - 3, 99), 0);

    // Turned by 90 degrees the backing stands upright.
    label->SetAngle(90);
    f.grid.SetCell(0, 1, "");
    const QImage turned = f.render(200, 100, {0, 0}, 1, 1);
    QRect up;
    for (int y = 0; y < turned.height(); ++y)
        for (int x = 0; x < turned.width(); ++x)
            if ((turned.pixel(x, y) & 0xFFFFFF) == 0xFFFF00)
                up |= QRect(x, y, 1, 1);
    EXPECT_NEAR(up.height(), tw + 7 - 2, 2);
    EXPECT_NEAR(up.width(), th + 5 - 2, 2);
}

TEST(Renderer, CircularTextOfOneCharacterDrawsNothingAndTheRestGoesOn)
{
    for (const char* value : {"X", ""}) {
        RenderFixture f;
        TCircleLabel* c = f.model.AddCircleLabel(0, 0, false, {}, platform::clBlack, 10, "Arial", -13, 180,
                                                 180, "<Surname>", 0, 0, false);
        c->SetBounds(0, 0, 100, 100);
        f.grid.SetCell(0, 1, value);
        TBarcodeObject* bar = f.model.AddBarcode(120, 10, 100, "Arial", false, false, "", rotate_000, EAN_13,
                                                 "4006381333931", 100, SC2, false);
        ASSERT_NE(bar, nullptr);
        const QImage image = f.render(210, 110, {0, 0}, 1, 1, true);
        EXPECT_EQ(darkPixels(image, 1, 1, 99, 98), 0) << value;
        EXPECT_GT(darkPixels(image, 120, 10, 199, 90), 100) << value;    // the barcode
        EXPECT_EQ(darkPixels(image, 0, 50, 0, 50), 1) << value;          // the outline
    }
}

TEST(Renderer, CircularTextWithoutArcDrawsNothing)
{
    RenderFixture f;
    TCircleLabel* c = f.model.AddCircleLabel(0, 0, false, {}, platform::clBlack, 10, "Arial", -13, 180, 180,
                                             "Around", 0, 0, false);
    c->SetBounds(10, 10, 0, 0);
    EXPECT_TRUE(darkBounds(f.render(200, 100, {0, 0}, 1, 1)).isNull());
    c->SetBounds(10, 10, 80, 80);
    // 80 x 0.003 x pi is below one pixel: no circumference to spread over.
    EXPECT_TRUE(darkBounds(f.render(200, 100, {0, 0}, 0.003, 1)).isNull());
    const QImage drawn = f.render(200, 100, {0, 0}, 1, 1);
    const QRect b = darkBounds(drawn);
    ASSERT_FALSE(b.isNull());
    EXPECT_TRUE(QRect(10, 10, 80, 80).contains(b)) << b.x() << "," << b.y() << " " << b.width() << "x" << b.height();
}

TEST(Renderer, ImagesDrawOnlyInTheirDisplayModes)
{
    QTemporaryDir dir;
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString file = dir.filePath("pic.png");
    ASSERT_TRUE(red.save(file));

    RenderFixture f;
    f.model.ProgramFolder = dir.path();
    f.grid.SetCell(6, 1, file); // the town column names the record's picture
    TImage* image = f.model.AddImage(0, 0, 0, false, "<Town>", false, false, false, 20, 40, false);
    ASSERT_NE(image, nullptr);
    image->SetBounds(10, 10, 40, 20);
    EXPECT_EQ(pixelsOfColour(f.render(200, 100, {0, 0}, 1, 1), 0xFF0000), 0);

    image->Stretch = true;
    QImage drawn = f.render(200, 100, {0, 0}, 2, 2);
    EXPECT_EQ(pixelsOfColour(drawn, 0xFF0000), 80 * 40);

    // Centre: a window of the object's size in the middle of the picture, white around it.
    image->Stretch = false;
    image->Center = true;
    image->SetBounds(10, 10, 60, 20);
    drawn = f.render(200, 100, {0, 0}, 1, 1);
    EXPECT_EQ(pixelsOfColour(drawn, 0xFF0000), 40 * 20);
    EXPECT_EQ(drawn.pixel(20, 15) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(drawn.pixel(15, 15) & 0xFFFFFF, 0xFFFFFFu);

    // A merged path that names no file draws nothing, without a message.
    f.grid.SetCell(6, 1, dir.filePath("missing.png"));
    EXPECT_EQ(pixelsOfColour(f.render(200, 100, {0, 0}, 1, 1), 0xFF0000), 0);
}

TEST(Renderer, AutoSizeShowsTheTopLeftOfThePictureAlsoOnAPrinter)
{
    QTemporaryDir dir;
    // Red left half, blue right half.
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            picture.setPixel(x, y, qRgb(255, 0, 0));
    const QString file = dir.filePath("halves.png");
    ASSERT_TRUE(picture.save(file));

    RenderFixture f;
    f.grid.SetCell(6, 1, file);
    TImage* image = f.model.AddImage(0, 0, 0, false, "<Town>", false, false, true, 20, 40, false);
    ASSERT_NE(image, nullptr);
    image->SetBounds(10, 10, 30, 30); // narrower and taller than the picture
    for (const bool printer : {false, true}) {
        f.inputs.Printer = printer;
        const QImage drawn = f.render(200, 100, {0, 0}, 2, 2);
        // The window's 20 red columns, its 10 blue ones, white below the picture's 20 rows.
        EXPECT_EQ(pixelsOfColour(drawn, 0xFF0000), 40 * 40) << printer;
        EXPECT_EQ(pixelsOfColour(drawn, 0x0000FF), 20 * 40) << printer;
        EXPECT_EQ(drawn.pixel(25, 65) & 0xFFFFFF, 0xFFFFFFu) << printer;
        EXPECT_EQ(drawn.pixel(79, 20) & 0xFFFFFF, 0x0000FFu) << printer;
        EXPECT_EQ(drawn.pixel(80, 20) & 0xFFFFFF, 0xFFFFFFu) << printer;
    }
}

TEST(Renderer, FieldPictureKeepsProportionsOfItsPlaceholder)
{
    QTemporaryDir dir;
    QImage blue(50, 50, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    const QString file = dir.filePath("square.png");
    ASSERT_TRUE(blue.save(file));

    RenderFixture f;
    f.grid.SetCell(6, 1, file);
    TImage* image = f.model.AddImage(0, 0, 0, true, "<Town>", true, false, false, 30, 60, false);
    ASSERT_NE(image, nullptr);
    image->PlaceholderSize = QSize(60, 15);
    image->SetBounds(0, 0, 60, 40);
    const QImage drawn = f.render(200, 100, {0, 0}, 1, 1);
    // Height 60 x 15 / 60 = 15 for this drawing; the model keeps its own.
    EXPECT_EQ(pixelsOfColour(drawn, 0x0000FF), 60 * 15);
    EXPECT_EQ(image->Height, 40);
}

TEST(Renderer, BarcodeAtPrinterResolutionOrAsAScreenBitmap)
{
    RenderFixture f;
    f.model.LargeurEtiquettePx = 200;
    TBarcodeObject* bar = f.model.AddBarcode(10, 10, 100, "Arial", false, false, "", rotate_000, EAN_13,
                                             "<Code>", 100, SC2, false);
    ASSERT_NE(bar, nullptr);
    f.inputs.Printer = true;
    const double scale = 300.0 / 96.0;
    const int left = R(scale * 10);

    // Printer, option off: modules of R(0.33 x 300 / 25.4) = 4 pixels, 95 modules after a
    // 40-pixel margin.
    QImage printer = f.render(700, 400, {0, 0}, scale, scale, false, 1, 1, 300);
    QRect bars = darkBounds(printer);
    EXPECT_EQ(bars.left(), left + 40);
    EXPECT_EQ(bars.width(), 95 * 4);

    // Option on: drawn at 96 dpi (1-pixel modules, 10-pixel margin) and stretched.
    f.inputs.Wysiwyg = true;
    QImage wysiwyg = f.render(700, 400, {0, 0}, scale, scale, false, 1, 1, 300);
    bars = darkBounds(wysiwyg);
    EXPECT_NEAR(bars.left(), left + 10 * scale, 1);
    EXPECT_NEAR(bars.width(), 95 * scale, 2);

    // On screen the option does not matter.
    f.inputs.Printer = false;
    f.inputs.Wysiwyg = false;
    EXPECT_EQ(f.render(700, 400, {0, 0}, scale, scale, false, 1, 1, 300), wysiwyg);
    EXPECT_EQ(bar->Barcode().Bar_Caption(), "<Code>");
}

TEST(Renderer, BarcodeTextsComeBackWhenDrawingFails)
{
    RenderFixture f;
    TBarcodeObject* bar = f.model.AddBarcode(10, 10, 100, "Arial", true, false, "<Fax>", rotate_000, EAN_13,
                                             "<Surname>", 100, SC2, false);
    ASSERT_NE(bar, nullptr);
    f.grid.SetCell(11, 1, "12");
    bar->Barcode().SetBar_CodeType(20); // no such symbology: the encoder refuses to draw
    EXPECT_ANY_THROW(f.render(200, 100, {0, 0}, 1, 1));
    EXPECT_EQ(bar->Barcode().Bar_Caption(), "<Surname>");
    EXPECT_EQ(bar->Barcode().Bar_CodeAddon(), "<Fax>");
    f.inputs.Printer = true;
    EXPECT_ANY_THROW(f.render(200, 100, {0, 0}, 1, 1));
    EXPECT_EQ(bar->Barcode().Bar_Caption(), "<Surname>");
}

TEST(Renderer, RoundLabelOutline)
{
    RenderFixture f;
    f.format.EtiquetteRonde = true;
    f.model.LargeurEtiquettePx = 100;
    const QImage round = f.render(120, 120, {-10, -10}, 1, 1, true);
    EXPECT_EQ(darkPixels(round, 10, 10, 12, 12), 0);
    EXPECT_EQ(darkPixels(round, 60, 10, 60, 10), 1);
    f.format.EtiquetteRonde = false;
    const QImage square = f.render(120, 120, {-10, -10}, 1, 1, true);
    EXPECT_EQ(darkPixels(square, 10, 10, 10, 10), 1);
    EXPECT_EQ(darkPixels(square, 109, 109, 109, 109), 1);
    EXPECT_EQ(darkPixels(square, 110, 110, 119, 119), 0);
}

TEST(Renderer, RotatedTextLeavesTheCanvasFont)
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    platform::TCanvas canvas(&image);
    canvas.Font.SetSize(20);
    canvas.Font.SetEscapement(450);
    DrawRotatedText(canvas, 50, 50, "W", 900);
    EXPECT_EQ(canvas.Font.Escapement(), 450);
    EXPECT_GT(darkPixels(image, 0, 0, 99, 99), 0);
}

TEST(Renderer, CircularTextLeavesWhatIsUnderItsLetters)
{
    // Drawn on a coloured surface with the canvas as it comes (solid white brush): the letters
    // must not carry white boxes, whatever the passes before them left on the canvas.
    RenderFixture f;
    TCircleLabel* c = f.model.AddCircleLabel(0, 0, false, {}, platform::clBlack, 10, "Arial", -16, 180, 180,
                                             "Around the world", 0, 0, false);
    c->SetBounds(10, 10, 80, 80);
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::red);
    platform::TCanvas canvas(&image);
    canvas.SetLogPixels(96, 96);
    f.draw(canvas, {0, 0}, 1, 1, false, 1, -1);
    canvas.End();
    int white = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(255, 255, 255))
                ++white;
    EXPECT_EQ(white, 0);
    EXPECT_FALSE(darkBounds(image, 60).isNull());
}
