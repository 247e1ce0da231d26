#include "design/DesignModel.h"
#include "design/ObjectGeometry.h"

#include "platform/Rounding.h"
#include "platform/TCanvas.h"

#include "TestSupport.h"

#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

using namespace design;
using namespace platform;

namespace {

// The box around the pixels darker than mid-grey.
QRect darkBounds(const QImage& image)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                r |= QRect(x, y, 1, 1);
    return r;
}

QImage paintRotate(TRotateLabel& label)
{
    LayoutRotateLabel(label, DesignMeasureCanvas());
    QImage image = testsupport::whiteImage(label.Width, label.Height);
    TCanvas canvas(&image);
    PaintRotateLabel(canvas, label);
    canvas.End();
    return image;
}

TRotateLabel tilted(const QString& caption, int angle)
{
    TRotateLabel label;
    label.Caption = caption;
    label.Font.SetName(QStringLiteral("Arial"));
    label.Font.SetSize(14);
    label.Font.SetColor(clBlack);
    label.SetAngle(angle);
    return label;
}

} // namespace

TEST(TiltedText, IsASquareSizedByItsCaptionWhateverSizeWasGiven)
{
    TRotateLabel label = tilted(QStringLiteral("Tilted text"), 0);
    label.Width = 300;
    label.Height = 12;
    LayoutRotateLabel(label, DesignMeasureCanvas());
    TCanvas& measure = DesignMeasureCanvas();
    measure.Font = label.Font;
    const int side = measure.TextWidth(QStringLiteral("Tilted text   "));
    EXPECT_EQ(label.Width, side);
    EXPECT_EQ(label.Height, side);

    label.Caption = QStringLiteral("A much longer tilted text");
    LayoutRotateLabel(label, DesignMeasureCanvas());
    EXPECT_GT(label.Width, side);
    EXPECT_EQ(label.Height, label.Width);

    const int before = label.Width;
    label.Font.SetSize(20);
    LayoutRotateLabel(label, DesignMeasureCanvas());
    EXPECT_GT(label.Width, before);
}

TEST(TiltedText, TurnsAboutTheCentreOfItsSquare)
{
    TRotateLabel flat = tilted(QStringLiteral("Horizontal"), 0);
    const QImage a = paintRotate(flat);
    const QRect ra = darkBounds(a);
    ASSERT_FALSE(ra.isEmpty());
    EXPECT_GT(ra.width(), 2 * ra.height());
    EXPECT_NEAR(ra.center().x(), flat.Width / 2, 3);
    EXPECT_NEAR(ra.center().y(), flat.Height / 2, 3);

    for (int angle : {90, 270}) {
        TRotateLabel up = tilted(QStringLiteral("Horizontal"), angle);
        const QRect r = darkBounds(paintRotate(up));
        ASSERT_FALSE(r.isEmpty());
        EXPECT_GT(r.height(), 2 * r.width()) << angle;
        EXPECT_NEAR(r.center().x(), up.Width / 2, 3) << angle;
        EXPECT_NEAR(r.center().y(), up.Height / 2, 3) << angle;
    }

    // Upside down: the same extent, and the caption's first letter (the tall "H") now at the right.
    TRotateLabel down = tilted(QStringLiteral("Horizontal"), 180);
    const QImage d = paintRotate(down);
    const QRect rd = darkBounds(d);
    EXPECT_NEAR(rd.width(), ra.width(), 2);
    EXPECT_NEAR(rd.center().y(), down.Height / 2, 3);
    const int leftQuarterA = testsupport::darkPixels(a, ra.left(), 0, ra.left() + 6, a.height());
    const int rightQuarterD = testsupport::darkPixels(d, rd.right() - 6, 0, rd.right(), d.height());
    EXPECT_GT(leftQuarterA, 0);
    EXPECT_NEAR(rightQuarterD, leftQuarterA, leftQuarterA / 3 + 2);

    // Reading upward at 90: the first letter is at the bottom.
    TRotateLabel upward = tilted(QStringLiteral("H...."), 90);
    const QImage u = paintRotate(upward);
    const QRect ru = darkBounds(u);
    EXPECT_GT(testsupport::darkPixels(u, 0, ru.bottom() - 8, u.width(), ru.bottom()),
              testsupport::darkPixels(u, 0, ru.top(), u.width(), ru.top() + 8));
}

TEST(TiltedText, OpaqueBackgroundIsAnOutlinedPolygonAroundTheText)
{
    TRotateLabel label = tilted(QStringLiteral("Text"), 0);
    label.Transparent = false;
    label.Color = clYellow;
    const QImage image = paintRotate(label);

    TCanvas& measure = DesignMeasureCanvas();
    measure.Font = label.Font;
    const int tw = measure.TextWidth(label.Caption);
    const int th = measure.TextHeight(label.Caption);
    const int cx = label.Width / 2;
    const int cy = label.Height / 2;
    const int left = cx - T((tw + 7) / 2.0);
    const int right = cx + T((tw + 7) / 2.0);
    const int top = cy - T((th + 5) / 2.0);

    EXPECT_LT(qGray(image.pixel(left, cy)), 60);            // outline
    EXPECT_EQ(image.pixel(left - 2, cy) & 0xFFFFFF, 0xFFFFFFu); // outside
    EXPECT_EQ(image.pixel(left + 2, top + 2) & 0xFFFFFF, 0xFFFF00u); // yellow (0x00FFFF as TColor)
    EXPECT_LT(qGray(image.pixel(cx, top)), 60);
    EXPECT_EQ(image.pixel(right + 2, cy) & 0xFFFFFF, 0xFFFFFFu);

    // Transparent: nothing but the text.
    label.Transparent = true;
    const QImage clear = paintRotate(label);
    EXPECT_EQ(clear.pixel(left + 2, top + 2) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(LineGeometry, HorizontalAndVerticalLinesAreTenPenWidthsThick)
{
    TLine line;
    line.Width = 120;
    line.Pen.SetWidth(10);
    line.SetLine(ltHorizontal);
    LayoutLine(line);
    EXPECT_EQ(line.Height, 100);
    EXPECT_EQ(line.FromY(), 49);
    EXPECT_EQ(line.ToY(), 49);
    EXPECT_EQ(line.ToX(), 119);

    line.Pen.SetWidth(1);
    LayoutLine(line);
    EXPECT_EQ(line.Height, 10);
    EXPECT_EQ(line.FromY(), 4);

    line.Pen.SetWidth(3);
    LayoutLine(line);
    EXPECT_EQ(line.FromY(), 14);

    TLine vertical;
    vertical.SetLine(ltVertical);
    vertical.Pen.SetWidth(2);
    LayoutLine(vertical);
    EXPECT_EQ(vertical.Width, 20);
    EXPECT_EQ(vertical.FromX(), 9);
    EXPECT_EQ(vertical.ToY(), 64);
}

TEST(LineGeometry, PenWidthZeroFromAFileDrawsOnePixelWide)
{
    TCurrentFormat format;
    TDesignModel model(format);
    TLine* line = model.AddLine(0, 0, ltHorizontal, 0, psSolid, clBlack, 30, 50, false);
    LayoutLine(*line);
    EXPECT_EQ(line->Height, 10);
    QImage image = testsupport::whiteImage(line->Width, line->Height);
    {
        TCanvas canvas(&image);
        PaintLine(canvas, *line);
    }
    EXPECT_EQ(testsupport::darkPixels(image, 0, 4, 49, 4), 49); // the end pixel is left out
    EXPECT_EQ(testsupport::darkPixels(image, 0, 0, 49, 3), 0);
    EXPECT_EQ(testsupport::darkPixels(image, 0, 5, 49, 9), 0);
}

TEST(LineGeometry, KindChangesReshapeOnlyHorizontalAndVerticalLines)
{
    TLine h;
    h.SetLine(ltHorizontal);
    h.Width = 120;
    h.Height = 10;
    h.SetLine(ltVertical);
    EXPECT_EQ(h.Width, 10);
    EXPECT_EQ(h.Height, 120);

    TLine up;
    up.SetLine(ltHorizontal);
    up.Width = 120;
    up.Height = 10;
    up.SetLine(ltUpDiagonal);
    EXPECT_EQ(up.Width, 120);
    EXPECT_EQ(up.Height, 65);
    LayoutLine(up);
    EXPECT_EQ(up.FromX(), 0);
    EXPECT_EQ(up.FromY(), 64);
    EXPECT_EQ(up.ToX(), 119);
    EXPECT_EQ(up.ToY(), 0);

    TLine left;
    left.SetLine(ltHorizontal);
    left.Width = 120;
    left.SetLine(ltLeft);
    EXPECT_EQ(left.Height, 120);
    EXPECT_EQ(left.Width, 65);

    TLine v;
    v.SetLine(ltVertical);
    v.Width = 10;
    v.Height = 90;
    v.SetLine(ltTop);
    EXPECT_EQ(v.Width, 90);
    EXPECT_EQ(v.Height, 65);

    TLine down;
    down.SetLine(ltVertical);
    down.Width = 10;
    down.Height = 90;
    down.SetLine(ltDownDiagonal);
    EXPECT_EQ(down.Width, 65);
    EXPECT_EQ(down.Height, 90);

    // A diagonal turned horizontal keeps its width and takes the thickness at its next layout.
    down.SetLine(ltHorizontal);
    EXPECT_EQ(down.Height, 90);
    LayoutLine(down);
    EXPECT_EQ(down.Width, 65);
    EXPECT_EQ(down.Height, 10);
}

TEST(LineGeometry, CustomPointsGrowTheBoxAndNegativesBecomeZero)
{
    TLine line;
    EXPECT_EQ(line.ToX(), 35);
    line.SetToX(200);
    line.SetFromY(-7);
    LayoutLine(line);
    EXPECT_EQ(line.Width, 201);
    EXPECT_EQ(line.Height, 65); // never shrinks
    EXPECT_EQ(line.FromY(), 0);

    line.SetLine(ltDownDiagonal);
    line.SetToX(5); // ignored for a computed kind
    EXPECT_EQ(line.ToX(), 200);
    LayoutLine(line);
    EXPECT_EQ(line.ToX(), 200);
    EXPECT_EQ(line.ToY(), 64);
}

TEST(CircleText, EvenSpacingFollowsTheWorkedCase)
{
    const TCircleTextLayout l = CircleTextLayout(QStringLiteral("Text in a Circle"), 180, 180, true,
                                                 100, 100, -13, 0);
    ASSERT_EQ(l.Glyphs.size(), 16u);
    // r = 50 - 4 - 13 = 33; the first character at the left, the last at the right.
    EXPECT_EQ(l.Glyphs[0].X, 17);
    EXPECT_EQ(l.Glyphs[0].Y, 50);
    EXPECT_EQ(l.Glyphs[0].Escapement, 900);
    EXPECT_EQ(l.Glyphs[0].Char, QStringLiteral("T"));
    EXPECT_EQ(l.Glyphs[15].X, 83);
    EXPECT_EQ(l.Glyphs[15].Y, 50);
    EXPECT_EQ(l.Glyphs[15].Escapement, -900);
    EXPECT_EQ(l.Glyphs[8].Escapement, -60); // 8 x 12 = 96 degrees along, near the top
    EXPECT_EQ(l.Glyphs[7].Y, 17);           // 84 - 180 = -96 degrees
    // The last character hangs below its baseline point: 50 + 13.
    EXPECT_EQ(l.MaxY, 100);
    EXPECT_EQ(CircleTextLayout(QStringLiteral("Text in a Circle"), 180, 180, true, 100, 40, -13, 0).MaxY,
              63);
}

TEST(CircleText, ArcFromTheTextWidthWithoutEvenSpacing)
{
    // p = 175, c = 314, 175 / 314 x 360 = 200, (200 div 16) x 16 = 192, step 192 div 15 = 12.
    const TCircleTextLayout l = CircleTextLayout(QStringLiteral("Text in a Circle"), 180, 45, false,
                                                 100, 100, -13, 100);
    ASSERT_EQ(l.Glyphs.size(), 16u);
    EXPECT_EQ(l.Glyphs[1].Escapement, (180 - 12) * 10 - 900);
    EXPECT_EQ(l.Glyphs[15].Escapement, (180 - 180) * 10 - 900);

    // An arc far past a full turn is kept as it is (p = 175000, c = 31, arc 2032258) and the
    // escapement wraps as a 16-bit value: -20323480 reads as -7320.
    const TCircleTextLayout wide = CircleTextLayout(QStringLiteral("ab"), 0, 45, false, 10, 10, 1,
                                                    100000);
    ASSERT_EQ(wide.Glyphs.size(), 2u);
    EXPECT_EQ(wide.Glyphs[0].Escapement, -900);
    EXPECT_EQ(wide.Glyphs[1].Escapement, -7320);
}

TEST(CircleText, TooShortCaptionsAndEmptyCirclesDrawNothing)
{
    for (const QString& caption : {QString(), QStringLiteral("A")}) {
        for (bool even : {true, false}) {
            const TCircleTextLayout l = CircleTextLayout(caption, 180, 180, even, 100, 40, -13, 50);
            EXPECT_TRUE(l.Glyphs.empty());
            EXPECT_EQ(l.MaxY, 40);
        }
    }
    EXPECT_TRUE(CircleTextLayout(QStringLiteral("abc"), 180, 180, false, 0, 40, -13, 50).Glyphs.empty());

    TCircleLabel one;
    one.SetCaption(QStringLiteral("A"));
    one.Height = 20;
    LayoutCircleLabel(one, DesignMeasureCanvas());
    EXPECT_EQ(one.Height, 20);
    QImage image = testsupport::whiteImage(one.Width, one.Height);
    {
        TCanvas canvas(&image);
        PaintCircleLabel(canvas, one);
    }
    EXPECT_EQ(testsupport::darkPixels(image, 0, 0, image.width(), image.height()), 0);
}

TEST(CircleText, GrowsToItsLowestCharacterAndPaintsAlongTheCircle)
{
    TCircleLabel label;
    label.SetCaption(QStringLiteral("CIRCULAR TEXT"));
    label.SetEvenSpaceChars(true);
    label.SetDegrees(180);
    label.SetStartingVector(180);
    label.Font.SetName(QStringLiteral("Arial"));
    label.Font.SetSize(10);
    label.Width = 100;
    label.Height = 30;
    LayoutCircleLabel(label, DesignMeasureCanvas());
    EXPECT_EQ(label.Height, 50 + 13); // the last character, below the right end of the arc
    label.Height = 200;
    LayoutCircleLabel(label, DesignMeasureCanvas());
    EXPECT_EQ(label.Height, 200); // never shrinks

    QImage image = testsupport::whiteImage(label.Width, label.Height);
    {
        TCanvas canvas(&image);
        PaintCircleLabel(canvas, label);
    }
    // Ink around the left end, the top and the right end of the upper half circle; none below.
    EXPECT_GT(testsupport::darkPixels(image, 5, 35, 30, 60), 0);
    EXPECT_GT(testsupport::darkPixels(image, 35, 0, 65, 30), 0);
    EXPECT_GT(testsupport::darkPixels(image, 70, 35, 95, 60), 0);
    EXPECT_EQ(testsupport::darkPixels(image, 0, 70, 99, 199), 0);

    // The characters stand on whatever lies under the object: no box behind them, even on a
    // fresh canvas whose brush is still the default solid white one.
    QImage onRed(label.Width, label.Height, QImage::Format_RGB32);
    onRed.fill(Qt::red);
    {
        TCanvas canvas(&onRed);
        PaintCircleLabel(canvas, label);
    }
    int white = 0;
    for (int y = 0; y < onRed.height(); ++y)
        for (int x = 0; x < onRed.width(); ++x)
            white += qGray(onRed.pixel(x, y)) > 200 ? 1 : 0;
    EXPECT_EQ(white, 0);
    EXPECT_GT(testsupport::darkPixels(onRed, 5, 35, 30, 60), 0);
}
