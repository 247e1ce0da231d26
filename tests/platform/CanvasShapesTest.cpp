#include "CanvasTestImages.h"
#include "TestSupport.h"
#include "platform/TCanvas.h"

#include <QPainter>
#include <gtest/gtest.h>

#include <functional>

using namespace platform;
using testsupport::darkPixels;
using testsupport::whiteImage;

using canvastest::dark;
using canvastest::darkBox;

namespace {

QRgb at(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace

TEST(CanvasShapes, RectangleCoversLeftTopUpToRightBottomExcluded)
{
    QImage image = whiteImage(20, 20);
    {
        TCanvas canvas(&image);
        canvas.Brush.SetColor(clBlack);
        canvas.Rectangle(2, 3, 12, 13);
    }
    EXPECT_EQ(darkPixels(image, 0, 0, 19, 19), 100);
    EXPECT_EQ(darkBox(image), Rect(2, 3, 11, 12));
}

TEST(CanvasShapes, RectangleOutlineIsInsideAndBrushFillsTheRest)
{
    QImage image = whiteImage(20, 20);
    {
        TCanvas canvas(&image);
        canvas.Pen.SetColor(clRed);
        canvas.Brush.SetColor(clBlue);
        canvas.Rectangle(0, 0, 10, 10);
    }
    EXPECT_EQ(at(image, 0, 0), 0xFF0000u);
    EXPECT_EQ(at(image, 9, 9), 0xFF0000u);
    EXPECT_EQ(at(image, 9, 5), 0xFF0000u);
    EXPECT_EQ(at(image, 5, 5), 0x0000FFu);
    EXPECT_EQ(at(image, 8, 8), 0x0000FFu);
    EXPECT_EQ(at(image, 10, 5), 0xFFFFFFu);
    EXPECT_EQ(at(image, 5, 10), 0xFFFFFFu);
}

TEST(CanvasShapes, RectangleWithClearPenFillsOnePixelLess)
{
    QImage image = whiteImage(20, 20);
    {
        TCanvas canvas(&image);
        canvas.Pen.SetStyle(psClear);
        canvas.Brush.SetColor(clBlack);
        canvas.Rectangle(0, 0, 10, 10);
    }
    EXPECT_EQ(darkBox(image), Rect(0, 0, 8, 8));
}

TEST(CanvasShapes, FillRectCoversExactlyTheRectangle)
{
    QImage image = whiteImage(20, 20);
    {
        TCanvas canvas(&image);
        canvas.Brush.SetColor(clBlack);
        canvas.FillRect(Rect(5, 5, 8, 15));
        canvas.Brush.SetStyle(bsClear);
        canvas.FillRect(Rect(0, 0, 20, 3)); // a clear brush fills nothing
    }
    EXPECT_EQ(darkPixels(image, 0, 0, 19, 19), 30);
    EXPECT_EQ(darkBox(image), Rect(5, 5, 7, 14));
}

TEST(CanvasShapes, LineToLeavesOutTheEndPointAndMovesThePen)
{
    QImage image = whiteImage(20, 20);
    {
        TCanvas canvas(&image);
        canvas.MoveTo(2, 5);
        canvas.LineTo(12, 5);
        EXPECT_EQ(canvas.PenPos(), Point(12, 5));
        canvas.LineTo(12, 15); // continues from the pen position
    }
    EXPECT_TRUE(dark(image, 2, 5));
    EXPECT_TRUE(dark(image, 11, 5));
    EXPECT_TRUE(dark(image, 12, 5)) << "start of the second line";
    EXPECT_TRUE(dark(image, 12, 14));
    EXPECT_FALSE(dark(image, 12, 15));
    EXPECT_EQ(darkPixels(image, 0, 0, 19, 19), 20);

    // The end is left out whichever way the line runs.
    struct Segment {
        TPoint from, to;
    };
    const Segment segments[] = {{{15, 5}, {3, 5}}, {{5, 15}, {5, 3}}, {{15, 15}, {3, 3}},
                                {{3, 15}, {15, 3}}, {{15, 10}, {3, 4}}, {{3, 4}, {15, 10}}};
    for (const Segment& seg : segments) {
        QImage line = whiteImage(20, 20);
        {
            TCanvas canvas(&line);
            canvas.MoveTo(seg.from.X, seg.from.Y);
            canvas.LineTo(seg.to.X, seg.to.Y);
        }
        EXPECT_TRUE(dark(line, seg.from.X, seg.from.Y)) << seg.from.X << "," << seg.from.Y;
        EXPECT_FALSE(dark(line, seg.to.X, seg.to.Y)) << seg.to.X << "," << seg.to.Y;
        EXPECT_EQ(darkPixels(line, 0, 0, 19, 19), 12);
    }
}

TEST(CanvasShapes, WidePensAreCentredOnTheLine)
{
    QImage image = whiteImage(40, 40);
    {
        TCanvas canvas(&image);
        canvas.Pen.SetWidth(5);
        canvas.MoveTo(10, 20);
        canvas.LineTo(30, 20);
    }
    for (int y = 18; y <= 22; ++y)
        EXPECT_TRUE(dark(image, 20, y)) << y;
    EXPECT_FALSE(dark(image, 20, 17));
    EXPECT_FALSE(dark(image, 20, 23));
}

TEST(CanvasShapes, EllipseStaysInsideItsBounds)
{
    QImage image = whiteImage(40, 40);
    {
        TCanvas canvas(&image);
        canvas.Brush.SetColor(clBlack);
        canvas.Ellipse(5, 10, 35, 30);
    }
    EXPECT_EQ(darkBox(image), Rect(5, 10, 34, 29));
    EXPECT_FALSE(dark(image, 5, 10)) << "corners stay empty";
    EXPECT_FALSE(dark(image, 34, 29));
    EXPECT_TRUE(dark(image, 20, 20));
}

TEST(CanvasShapes, RoundRectHasRoundedCornersInsideItsBounds)
{
    QImage image = whiteImage(100, 60);
    {
        TCanvas canvas(&image);
        canvas.Brush.SetColor(clBlack);
        canvas.RoundRect(10, 10, 90, 50, 20, 20);
    }
    EXPECT_EQ(darkBox(image), Rect(10, 10, 89, 49));
    EXPECT_FALSE(dark(image, 10, 10));
    EXPECT_FALSE(dark(image, 89, 49));
    EXPECT_TRUE(dark(image, 50, 10)) << "straight edge";
    EXPECT_TRUE(dark(image, 10, 30));
    EXPECT_TRUE(dark(image, 13, 13)) << "inside the corner arc";
}

TEST(CanvasShapes, PolygonIsFilledWithTheBrushAndOutlinedWithThePen)
{
    QImage image = whiteImage(40, 40);
    {
        TCanvas canvas(&image);
        canvas.Pen.SetColor(clRed);
        canvas.Brush.SetColor(clBlue);
        canvas.Polygon({{5, 5}, {30, 5}, {30, 30}});
    }
    EXPECT_EQ(at(image, 5, 5), 0xFF0000u);
    EXPECT_EQ(at(image, 30, 30), 0xFF0000u) << "the outline reaches every vertex";
    EXPECT_EQ(at(image, 30, 15), 0xFF0000u);
    EXPECT_EQ(at(image, 25, 12), 0x0000FFu);
    EXPECT_EQ(at(image, 10, 25), 0xFFFFFFu) << "outside the triangle";
}

TEST(CanvasShapes, HatchedBrushesDrawTheirLinesOnATransparentBackground)
{
    const TBrushStyle styles[] = {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross};
    for (TBrushStyle style : styles) {
        QImage image = whiteImage(40, 40);
        {
            TCanvas canvas(&image);
            canvas.Pen.SetStyle(psClear);
            canvas.Brush.SetColor(clBlack);
            canvas.Brush.SetStyle(style);
            canvas.FillRect(Rect(0, 0, 40, 40));
        }
        const int n = darkPixels(image, 0, 0, 39, 39);
        EXPECT_GT(n, 40 * 40 / 16) << style;
        EXPECT_LT(n, 40 * 40 / 2) << style;
    }
    // The direction of the lines: horizontal hatches fill whole rows, vertical whole columns.
    QImage rows = whiteImage(16, 16);
    QImage cols = whiteImage(16, 16);
    {
        TCanvas a(&rows);
        a.Brush.SetColor(clBlack);
        a.Brush.SetStyle(bsHorizontal);
        a.FillRect(Rect(0, 0, 16, 16));
        TCanvas b(&cols);
        b.Brush.SetColor(clBlack);
        b.Brush.SetStyle(bsVertical);
        b.FillRect(Rect(0, 0, 16, 16));
    }
    int fullRows = 0;
    int fullCols = 0;
    for (int i = 0; i < 16; ++i) {
        fullRows += darkPixels(rows, 0, i, 15, i) == 16;
        fullCols += darkPixels(cols, i, 0, i, 15) == 16;
    }
    EXPECT_EQ(fullRows, 2);
    EXPECT_EQ(fullCols, 2);
    // The diagonals: bsBDiagonal rises from left to right ("/"), bsFDiagonal falls ("\"); a dark
    // pixel continues up-right or down-right.
    for (const auto& [style, rising] : {std::pair{bsBDiagonal, true}, std::pair{bsFDiagonal, false}}) {
        QImage image = whiteImage(16, 16);
        {
            TCanvas canvas(&image);
            canvas.Brush.SetColor(clBlack);
            canvas.Brush.SetStyle(style);
            canvas.FillRect(Rect(0, 0, 16, 16));
        }
        int up = 0;
        int down = 0;
        for (int y = 1; y < 15; ++y)
            for (int x = 0; x < 15; ++x)
                if (dark(image, x, y)) {
                    up += dark(image, x + 1, y - 1);
                    down += dark(image, x + 1, y + 1);
                }
        EXPECT_GT(rising ? up : down, 0) << style;
        EXPECT_EQ(rising ? down : up, 0) << style;
    }
}

TEST(CanvasShapes, StyledPensLeaveGapsAndWidePensDoNot)
{
    const TPenStyle styles[] = {psDash, psDot, psDashDot, psDashDotDot};
    for (TPenStyle style : styles) {
        QImage image = whiteImage(200, 10);
        {
            TCanvas canvas(&image);
            canvas.Pen.SetStyle(style);
            canvas.MoveTo(0, 5);
            canvas.LineTo(200, 5);
        }
        const int n = darkPixels(image, 0, 5, 199, 5);
        EXPECT_GT(n, 60) << style;
        EXPECT_LT(n, 180) << style;
    }
    QImage dots = whiteImage(20, 3);
    {
        TCanvas canvas(&dots);
        canvas.Pen.SetStyle(psDot);
        canvas.MoveTo(0, 1);
        canvas.LineTo(20, 1);
    }
    EXPECT_TRUE(dark(dots, 0, 1));
    EXPECT_TRUE(dark(dots, 2, 1));
    EXPECT_FALSE(dark(dots, 3, 1));
    EXPECT_FALSE(dark(dots, 5, 1));
    EXPECT_TRUE(dark(dots, 6, 1));

    QImage wide = whiteImage(200, 10);
    {
        TCanvas canvas(&wide);
        canvas.Pen.SetStyle(psDash);
        canvas.Pen.SetWidth(2);
        canvas.MoveTo(0, 5);
        canvas.LineTo(200, 5);
    }
    EXPECT_EQ(darkPixels(wide, 1, 5, 198, 5), 198);
}

TEST(CanvasShapes, ClearPenDrawsNoOutline)
{
    QImage image = whiteImage(20, 20);
    {
        TCanvas canvas(&image);
        canvas.Pen.SetStyle(psClear);
        canvas.Brush.SetStyle(bsClear);
        canvas.Rectangle(0, 0, 20, 20);
        canvas.Ellipse(0, 0, 20, 20);
        canvas.MoveTo(0, 0);
        canvas.LineTo(19, 19);
    }
    EXPECT_EQ(darkPixels(image, 0, 0, 19, 19), 0);
}

TEST(CanvasShapes, NotXorPenDrawnTwiceRestoresThePixels)
{
    QImage image = whiteImage(40, 40);
    {
        TCanvas canvas(&image);
        canvas.Brush.SetColor(clBlack);
        canvas.FillRect(Rect(0, 0, 20, 40)); // half black, half white
        canvas.Pen.SetMode(pmNotXor);
        canvas.Brush.SetStyle(bsClear);
        canvas.Rectangle(5, 5, 35, 35);
        EXPECT_EQ(canvas.Pixel(5, 20), clWhite) << "black turned white";
        EXPECT_EQ(canvas.Pixel(34, 20), clBlack) << "white turned black";
        canvas.Rectangle(5, 5, 35, 35);
        canvas.Pen.SetStyle(psDot); // the rubber band of the design surface
        canvas.Rectangle(3, 3, 25, 25);
        canvas.Rectangle(3, 3, 25, 25);
        canvas.Pen.SetMode(pmXor); // red xor white is cyan
        canvas.Pen.SetColor(clRed);
        canvas.Pen.SetStyle(psSolid);
        canvas.MoveTo(30, 2);
        canvas.LineTo(38, 2);
        EXPECT_EQ(canvas.Pixel(31, 2), clAqua);
        canvas.MoveTo(30, 2);
        canvas.LineTo(38, 2);
        canvas.Pen.SetMode(pmNot);
        canvas.MoveTo(30, 3);
        canvas.LineTo(38, 3);
        canvas.MoveTo(30, 3);
        canvas.LineTo(38, 3);
    }
    EXPECT_EQ(qAlpha(image.pixel(31, 2)), 255);
    EXPECT_EQ(darkPixels(image, 0, 0, 39, 39), 20 * 40);
    EXPECT_EQ(darkPixels(image, 0, 0, 19, 39), 20 * 40);
}

TEST(CanvasShapes, ImagesAndPixelsAreCopiedWhateverThePenMode)
{
    QImage red(2, 2, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    QImage image = whiteImage(20, 20);
    image.fill(Qt::black); // an exclusive-or would show red as cyan here
    {
        TCanvas canvas(&image);
        canvas.Pen.SetMode(pmNotXor); // the rubber band drawn last
        canvas.MoveTo(0, 0);
        canvas.LineTo(5, 0);
        canvas.StretchDraw(Rect(5, 5, 10, 10), red);
        canvas.Draw(12, 12, red);
        canvas.SetPixel(1, 10, clRed);
        EXPECT_EQ(canvas.Pixel(1, 10), clRed);
    }
    EXPECT_EQ(at(image, 7, 7), 0xFF0000u);
    EXPECT_EQ(at(image, 13, 13), 0xFF0000u);
    EXPECT_EQ(at(image, 2, 0), 0xFFFFFFu) << "the pen itself still inverts";
}

TEST(CanvasShapes, FocusRectangleDrawnTwiceRestoresThePixels)
{
    QImage image = whiteImage(30, 30); // with alpha: inverting must keep pixels opaque
    const QImage before = image;
    {
        TCanvas canvas(&image);
        canvas.DrawFocusRect(Rect(2, 2, 28, 20));
        EXPECT_GT(darkPixels(image, 0, 0, 29, 29), 20);
        EXPECT_EQ(darkPixels(image, 3, 3, 26, 18), 0);
        EXPECT_EQ(qAlpha(image.pixel(2, 2)), 255);
        canvas.DrawFocusRect(Rect(2, 2, 28, 20));
    }
    EXPECT_EQ(image, before);
}

TEST(CanvasShapes, PixelsReadAndWrite)
{
    QImage image = whiteImage(10, 10);
    TCanvas canvas(&image);
    canvas.SetPixel(3, 4, clSilver);
    EXPECT_EQ(canvas.Pixel(3, 4), clSilver);
    EXPECT_EQ(canvas.Pixel(4, 4), clWhite);
    EXPECT_EQ(canvas.Pixel(40, 4), -1);
}

TEST(CanvasShapes, ClipRectangleLimitsDrawingAndTheGuardRestoresIt)
{
    QImage image = whiteImage(40, 40);
    {
        TCanvas canvas(&image);
        canvas.Brush.SetColor(clBlack);
        {
            TClipGuard clip(canvas, Rect(10, 10, 20, 20));
            EXPECT_TRUE(canvas.HasClip());
            canvas.FillRect(Rect(0, 0, 40, 40));
            {
                TClipGuard inner(canvas, Rect(0, 0, 5, 5));
                canvas.FillRect(Rect(0, 0, 40, 40));
            }
            EXPECT_EQ(canvas.ClipRect(), Rect(10, 10, 20, 20));
        }
        EXPECT_FALSE(canvas.HasClip());
        canvas.FillRect(Rect(30, 30, 32, 32));
    }
    EXPECT_EQ(darkPixels(image, 10, 10, 19, 19), 100);
    EXPECT_EQ(darkPixels(image, 0, 0, 4, 4), 25);
    EXPECT_EQ(darkPixels(image, 0, 0, 39, 39), 100 + 25 + 4);
}

TEST(CanvasShapes, StretchDrawScalesAnImageIntoTheRectangle)
{
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(0, 0, 0));
    source.setPixel(1, 0, qRgb(255, 0, 0));
    QImage image = whiteImage(40, 20);
    {
        TCanvas canvas(&image);
        canvas.StretchDraw(Rect(10, 5, 30, 15), source);
        canvas.Draw(0, 0, source);
    }
    EXPECT_EQ(at(image, 10, 5), 0x000000u);
    EXPECT_EQ(at(image, 19, 14), 0x000000u);
    EXPECT_EQ(at(image, 20, 5), 0xFF0000u);
    EXPECT_EQ(at(image, 29, 14), 0xFF0000u);
    EXPECT_EQ(at(image, 30, 10), 0xFFFFFFu);
    EXPECT_EQ(at(image, 20, 15), 0xFFFFFFu);
    EXPECT_EQ(at(image, 0, 0), 0x000000u);
    EXPECT_EQ(at(image, 1, 0), 0xFF0000u);
}

TEST(CanvasShapes, CanvasKeepsWorkingWhenThePenAndBrushChangeBetweenShapes)
{
    QImage image = whiteImage(30, 10);
    {
        TCanvas canvas(&image);
        canvas.Brush.SetColor(clRed);
        canvas.Pen.SetColor(clRed);
        canvas.Rectangle(0, 0, 10, 10);
        canvas.Brush.SetColor(clLime);
        canvas.Pen.SetColor(clLime);
        canvas.Rectangle(10, 0, 20, 10);
        canvas.Brush.SetColor(clBlue);
        canvas.Pen.SetColor(clBlue);
        canvas.Rectangle(20, 0, 30, 10);
    }
    EXPECT_EQ(at(image, 5, 5), 0xFF0000u);
    EXPECT_EQ(at(image, 15, 5), 0x00FF00u);
    EXPECT_EQ(at(image, 25, 5), 0x0000FFu);
}

TEST(CanvasShapes, BorrowedPainterKeepsItsOwnerAndItsTransformation)
{
    QImage image = whiteImage(200, 100);
    QPainter painter(&image);
    painter.translate(100, 50); // a widget scrolled by its owner
    {
        TCanvas canvas(&painter);
        canvas.Brush.SetColor(clBlack);
        canvas.Rectangle(0, 0, 10, 10);
        canvas.Font.SetEscapement(900);
        canvas.TextOut(50, 40, "up");
        canvas.Font.SetEscapement(0);
        canvas.Rectangle(20, 0, 30, 10);
    }
    EXPECT_TRUE(painter.isActive());
    EXPECT_EQ(painter.transform(), QTransform::fromTranslate(100, 50));
    painter.end();
    EXPECT_EQ(darkPixels(image, 100, 50, 109, 59), 100);
    EXPECT_EQ(darkPixels(image, 120, 50, 129, 59), 100);
    EXPECT_EQ(darkPixels(image, 0, 0, 99, 99), 0);
}

TEST(CanvasShapes, BorrowedPainterGetsItsOwnersStateBack)
{
    QImage image = whiteImage(40, 40);
    QPainter painter(&image);
    painter.setClipRect(QRect(0, 0, 30, 40));
    painter.setPen(QPen(Qt::red));
    {
        TCanvas canvas(&painter);
        canvas.SetClipRect(Rect(0, 0, 10, 10));
        canvas.Pen.SetMode(pmXor);
        canvas.MoveTo(0, 5);
        canvas.LineTo(8, 5);
    }
    EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
    EXPECT_EQ(painter.pen().color(), QColor(Qt::red));
    ASSERT_TRUE(painter.hasClipping());
    EXPECT_EQ(painter.clipBoundingRect(), QRectF(0, 0, 30, 40));
    painter.fillRect(0, 20, 40, 1, Qt::black); // the owner's own clip holds again
    painter.end();
    EXPECT_EQ(darkPixels(image, 0, 20, 39, 20), 30);
}

// The canvas hands its clip to the painter only for a drawing that could cross it, and judges
// that from what the drawing can paint: pen widths, turned text, glyphs. Each drawing below
// paints beyond the clip (checked without it), after one drawn well inside (which sends no clip).
TEST(CanvasShapes, NothingLandsOutsideTheClip)
{
    QImage picture(20, 20, QImage::Format_RGB32);
    picture.fill(Qt::black);
    const TRect clip = Rect(20, 20, 60, 60);
    struct Case {
        const char* what;
        std::function<void(TCanvas&)> draw;
    };
    const Case cases[] = {
        {"line of a wide pen along the edge",
         [](TCanvas& c) {
             c.Pen.SetWidth(9);
             c.MoveTo(25, 57);
             c.LineTo(55, 57);
         }},
        {"rectangle of a wide pen", [](TCanvas& c) { c.Pen.SetWidth(9), c.Rectangle(22, 22, 58, 58); }},
        {"ellipse of a wide pen", [](TCanvas& c) { c.Pen.SetWidth(9), c.Ellipse(22, 22, 58, 58); }},
        {"polygon of a wide pen", [](TCanvas& c) { c.Pen.SetWidth(9), c.Polygon({{22, 22}, {57, 30}, {30, 57}}); }},
        {"fill across", [](TCanvas& c) { c.FillRect(Rect(50, 50, 70, 70)); }},
        {"picture across", [&](TCanvas& c) { c.StretchDraw(Rect(50, 50, 70, 70), picture); }},
        {"pixel outside", [](TCanvas& c) { c.SetPixel(65, 30, clBlack); }},
        {"text across", [](TCanvas& c) { c.TextOut(45, 30, "Wide"); }},
        {"text turned across",
         [](TCanvas& c) {
             c.Font.SetHeight(-10);
             c.Font.SetEscapement(2700);
             c.TextOut(25, 40, "Turned");
         }},
        {"painter taken from the canvas", [](TCanvas& c) { c.Painter()->fillRect(QRect(0, 0, 80, 80), Qt::black); }},
    };
    for (const Case& c : cases) {
        auto draw = [&](bool clipped) {
            QImage image = whiteImage(80, 80);
            TCanvas canvas(&image);
            canvas.Pen.SetColor(clBlack);
            canvas.Brush.SetColor(clBlack);
            canvas.Font.SetName("Arial");
            canvas.Font.SetHeight(-20);
            canvas.Font.SetColor(clBlack);
            if (clipped)
                canvas.SetClipRect(clip);
            canvas.FillRect(Rect(38, 38, 42, 42));
            c.draw(canvas);
            canvas.End();
            return image;
        };
        const auto outside = [&](const QImage& image) {
            return darkPixels(image, 0, 0, 79, 79, 255) - darkPixels(image, 20, 20, 59, 59, 255);
        };
        ASSERT_GT(outside(draw(false)), 0) << c.what;
        EXPECT_EQ(outside(draw(true)), 0) << c.what;
    }
}

// Only what changed goes to the painter; each drawing still gets its own pen and brush, whatever
// the drawing before left in place. The last drawing is a rectangle (40, 10, 70, 40) of a red pen.
TEST(CanvasShapes, EachDrawingGetsItsPenAndBrushWhateverCameBefore)
{
    struct Case {
        const char* what;
        std::function<void(TCanvas&)> before;
        TBrushStyle brush;
        TColor brushColor;
        QRgb inside;
    };
    const Case cases[] = {
        {"after a text of another colour",
         [](TCanvas& c) {
             c.Pen.SetColor(clRed);
             c.Rectangle(0, 0, 10, 10);
             c.TextOut(0, 12, "Ink");
         },
         bsClear, clWhite, 0xFFFFFFu},
        {"after a text of the pen's colour",
         [](TCanvas& c) {
             c.Pen.SetColor(clBlack);
             c.Rectangle(0, 0, 10, 10);
             c.TextOut(0, 12, "Ink");
         },
         bsClear, clWhite, 0xFFFFFFu},
        {"after a fill", [](TCanvas& c) { c.FillRect(Rect(0, 0, 10, 10)); }, bsClear, clWhite, 0xFFFFFFu},
        {"after a fill, filled", [](TCanvas& c) { c.FillRect(Rect(0, 0, 10, 10)); }, bsSolid, clLime, 0x00FF00u},
        {"after a fill, the same pen assigned again",
         [](TCanvas& c) {
             c.Pen.SetColor(clRed);
             c.Rectangle(0, 0, 10, 10);
             c.FillRect(Rect(0, 20, 10, 30));
             const TPen same = c.Pen;
             c.Pen = same;
         },
         bsSolid, clBlue, 0x0000FFu},
        {"after a text on an opaque background",
         [](TCanvas& c) {
             c.Brush.SetColor(clYellow);
             c.TextOut(0, 12, "Ink");
         },
         bsClear, clWhite, 0xFFFFFFu},
        {"after a polygon", [](TCanvas& c) { c.Polygon({{0, 0}, {10, 0}, {5, 10}}); }, bsClear, clWhite, 0xFFFFFFu},
        {"after a focus rectangle", [](TCanvas& c) { c.DrawFocusRect(Rect(0, 0, 10, 10)); }, bsSolid, clLime,
         0x00FF00u},
    };
    for (const Case& c : cases) {
        QImage image = whiteImage(80, 50);
        {
            TCanvas canvas(&image);
            canvas.Pen.SetColor(clBlack);
            canvas.Brush.SetColor(clBlack);
            canvas.Font.SetName("Arial");
            canvas.Font.SetHeight(-12);
            canvas.Font.SetColor(clBlack);
            c.before(canvas);
            canvas.Pen.SetColor(clRed);
            canvas.Brush.SetStyle(c.brush);
            canvas.Brush.SetColor(c.brushColor);
            canvas.Rectangle(40, 10, 70, 40);
        }
        EXPECT_EQ(at(image, 40, 25), 0xFF0000u) << c.what;
        EXPECT_EQ(at(image, 69, 25), 0xFF0000u) << c.what;
        EXPECT_EQ(at(image, 55, 25), c.inside) << c.what;
    }
}
