#include "CanvasTestImages.h"
#include "TestSupport.h"
#include "platform/FontEngine.h"
#include "platform/TCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using namespace platform;
using canvastest::countColour;
using canvastest::darkBox;
using canvastest::whiteImageAt;
using testsupport::darkPixels;

namespace {

void useFont(TCanvas& canvas, const QString& name, int height)
{
    canvas.Font.SetName(name);
    canvas.Font.SetHeight(height);
    canvas.Font.SetColor(clBlack);
}

} // namespace

TEST(CanvasText, ArialAndTimesMeasureAsTheirLiberationEquivalents)
{
    TCanvas canvas;
    for (int height : {-11, -13, -40, -100, 30}) {
        useFont(canvas, "Arial", height);
        const int arial = canvas.TextWidth("Label printing, 0123456789");
        useFont(canvas, "Liberation Sans", height);
        EXPECT_EQ(arial, canvas.TextWidth("Label printing, 0123456789")) << height;
        useFont(canvas, "Times New Roman", height);
        const int times = canvas.TextWidth("Label printing, 0123456789");
        useFont(canvas, "Liberation Serif", height);
        EXPECT_EQ(times, canvas.TextWidth("Label printing, 0123456789")) << height;
        EXPECT_NE(arial, times);
    }
}

TEST(CanvasText, NegativeHeightIsTheCharacterHeightPositiveTheCellHeight)
{
    QImage image = whiteImageAt(400, 300, 300);
    TCanvas canvas(&image);
    useFont(canvas, "Arial", -100);
    const TTextMetric character = canvas.GetTextMetrics();
    EXPECT_EQ(canvas.TextHeight("x"), character.tmAscent + character.tmDescent);
    EXPECT_EQ(canvas.TextHeight("x"), character.tmHeight);
    EXPECT_EQ(character.tmInternalLeading, character.tmHeight - 100);
    EXPECT_GT(character.tmInternalLeading, 5); // Arial's cell is about 1.12 em
    EXPECT_EQ(canvas.TextHeight(""), character.tmHeight) << "the font's height, whatever the text";

    canvas.Font.SetHeight(100);
    EXPECT_EQ(canvas.TextHeight("x"), 100);
    const TTextMetric cell = canvas.GetTextMetrics();
    EXPECT_EQ(cell.tmAscent + cell.tmDescent, 100);

    // The drawn capital is smaller with the cell height.
    canvas.TextOut(10, 10, "H");
    canvas.Font.SetHeight(-100);
    canvas.TextOut(200, 10, "H");
    canvas.End();
    const int small = darkPixels(image, 0, 0, 199, 299);
    const int large = darkPixels(image, 200, 0, 399, 299);
    EXPECT_LT(small, large);
    EXPECT_GT(small, large * 0.7);
}

TEST(CanvasText, WidthsGrowInProportionToTheHeight)
{
    TCanvas canvas;
    useFont(canvas, "Arial", -20);
    const QString text = "The quick brown fox jumps over the lazy dog";
    const int base = canvas.TextWidth(text);
    for (int k : {2, 3, 5}) {
        canvas.Font.SetHeight(-20 * k);
        EXPECT_NEAR(canvas.TextWidth(text), base * k, k) << k;
    }
    // Widths add up: no kerning or ligature changes a word next to another.
    canvas.Font.SetHeight(-37);
    EXPECT_NEAR(canvas.TextWidth("AVATAR office"), canvas.TextWidth("AVATAR ") + canvas.TextWidth("office"), 1);
}

TEST(CanvasText, CanvasFontFollowsTheDeviceResolution)
{
    QImage image = whiteImageAt(10, 10, 300);
    TCanvas canvas(&image);
    EXPECT_EQ(canvas.Font.PixelsPerInch(), 300);
    canvas.Font.SetSize(12);
    EXPECT_EQ(canvas.Font.Height(), -50);

    TFont screenFont; // 96 pixels per inch, as the design window's fonts
    screenFont.SetSize(12);
    canvas.Font = screenFont;
    EXPECT_EQ(canvas.Font.Size(), 12);
    EXPECT_EQ(canvas.Font.Height(), -50);
}

TEST(CanvasText, SolidBrushGivesAnOpaqueBackgroundOtherStylesATransparentOne)
{
    QImage image = whiteImageAt(300, 100, 96);
    {
        TCanvas canvas(&image);
        useFont(canvas, "Arial", -20);
        canvas.Brush.SetColor(clYellow);
        canvas.TextOut(10, 10, "Opaque");
        const int yellowAfterFirst = countColour(image, qRgb(255, 255, 0));
        EXPECT_GT(yellowAfterFirst, 100);

        canvas.Brush.SetStyle(bsClear);
        canvas.SetBkMode(OPAQUE); // the brush change wins at the next drawing
        canvas.TextOut(10, 50, "Clear");
        EXPECT_EQ(countColour(image, qRgb(255, 255, 0)), yellowAfterFirst);
        EXPECT_EQ(canvas.GetBkMode(), TRANSPARENT);

        canvas.Brush.SetColor(clAqua); // solid again
        canvas.FillRect(Rect(290, 90, 291, 91));
        canvas.SetBkMode(TRANSPARENT); // set after the brush: it holds
        canvas.TextOut(150, 10, "Transparent");
        EXPECT_EQ(countColour(image, qRgb(0, 255, 255)), 1);
        const TBrush same = canvas.Brush;
        canvas.Brush = same; // an assignment is a change, even of equal attributes
        canvas.TextOut(150, 10, "Transparent");
        EXPECT_EQ(canvas.GetBkMode(), OPAQUE);
        EXPECT_GT(countColour(image, qRgb(0, 255, 255)), 1);
        canvas.Brush.SetColor(clWhite); // the aqua cell goes again, for what follows
        canvas.FillRect(Rect(150, 0, 300, 50));
        EXPECT_EQ(countColour(image, qRgb(0, 255, 255)), 1);

        canvas.SetBkMode(OPAQUE);
        canvas.SetBkColor(clRed);
        canvas.TextOut(150, 50, "Red");
        const TSize extent = canvas.TextExtent("Red");
        const QImage cell = image.copy(150, 50, extent.cx, extent.cy);
        EXPECT_EQ(countColour(cell, qRgb(255, 255, 255)), 0) << "the whole text cell is filled";
        EXPECT_GT(countColour(cell, qRgb(255, 0, 0)), extent.cx * extent.cy / 2);
        EXPECT_EQ(countColour(image, qRgb(255, 0, 0)), countColour(cell, qRgb(255, 0, 0)));
    }
    EXPECT_GT(darkPixels(image, 10, 50, 149, 99), 50) << "the transparent text is drawn";
}

TEST(CanvasText, TextAlignPlacesTheReferencePoint)
{
    QImage image = whiteImageAt(400, 200, 300);
    TCanvas canvas(&image);
    useFont(canvas, "Arial", -60);
    canvas.Brush.SetStyle(bsClear);
    const int width = canvas.TextWidth("HHH");
    const TTextMetric tm = canvas.GetTextMetrics();

    canvas.SetTextAlign(TA_CENTER | TA_BASELINE);
    canvas.TextOut(200, 100, "HHH");
    TRect box = darkBox(image);
    EXPECT_EQ(box.Bottom, 99) << "the capitals stand on the baseline";
    EXPECT_NEAR((box.Left + box.Right + 1) / 2.0, 200, 2);
    EXPECT_LE(box.Right - box.Left + 1, width);
    EXPECT_GE(box.Right - box.Left + 1, width - 14) << "side bearings only";

    image.fill(Qt::white);
    canvas.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    canvas.TextOut(200, 100, "HHH");
    box = darkBox(image);
    EXPECT_LE(box.Right, 199);
    EXPECT_GE(box.Right, 200 - 10);
    EXPECT_EQ(box.Bottom, 99 - tm.tmDescent);

    image.fill(Qt::white);
    EXPECT_EQ(canvas.SetTextAlign(TA_LEFT | TA_TOP), TA_RIGHT | TA_BOTTOM);
    canvas.TextOut(200, 100, "HHH");
    box = darkBox(image);
    EXPECT_GE(box.Left, 200);
    EXPECT_LE(box.Left, 210);
    EXPECT_EQ(box.Bottom, 100 + tm.tmAscent - 1);
    EXPECT_GT(box.Top, 100) << "capitals are lower than the cell top";
}

TEST(CanvasText, EscapementTurnsTheTextCounterClockwiseAroundItsReference)
{
    const QString text = "HHHHHH";
    QImage image = whiteImageAt(300, 300, 96);
    TCanvas canvas(&image);
    useFont(canvas, "Arial", -30);
    canvas.Brush.SetStyle(bsClear);
    const int width = canvas.TextWidth(text);
    canvas.SetTextAlign(TA_LEFT | TA_BASELINE);

    canvas.Font.SetEscapement(900); // reads upward
    canvas.TextOut(150, 250, text);
    TRect box = darkBox(image);
    EXPECT_LE(box.Right, 150) << "the letters stand left of the upward baseline";
    EXPECT_GE(box.Left, 150 - 30);
    EXPECT_NEAR(box.Bottom, 250, 4);
    EXPECT_NEAR(box.Bottom - box.Top + 1, width, 8);
    // Upward means the start of the text is at the bottom: an "L" has its foot on the right.
    image.fill(Qt::white);
    canvas.TextOut(150, 250, "L");
    box = darkBox(image);
    EXPECT_GT(darkPixels(image, box.Right - 2, box.Top, box.Right, box.Bottom),
              darkPixels(image, box.Left, box.Top, box.Left + 2, box.Bottom) / 2);
    EXPECT_GT(darkPixels(image, box.Left, box.Bottom - 2, box.Right, box.Bottom), 10) << "the stem lies along the bottom";

    image.fill(Qt::white);
    canvas.Font.SetEscapement(1800); // upside down, running left
    canvas.TextOut(150, 100, text);
    box = darkBox(image);
    EXPECT_LE(box.Right, 151);
    EXPECT_NEAR(box.Right - box.Left + 1, width, 8);
    EXPECT_GE(box.Top, 100) << "the letters hang below the baseline";

    image.fill(Qt::white);
    canvas.Font.SetEscapement(2700); // reads downward
    canvas.TextOut(150, 50, text);
    box = darkBox(image);
    EXPECT_GE(box.Left, 150);
    EXPECT_NEAR(box.Top, 50, 4);

    image.fill(Qt::white);
    canvas.Font.SetEscapement(-900); // the same as 2700
    canvas.TextOut(150, 50, text);
    EXPECT_EQ(darkBox(image), box);
}

TEST(CanvasText, OpaqueBackgroundTurnsWithTheText)
{
    QImage image = whiteImageAt(200, 200, 96);
    TCanvas canvas(&image);
    useFont(canvas, "Arial", -20);
    canvas.Brush.SetColor(clYellow);
    canvas.Font.SetEscapement(900);
    canvas.TextOut(100, 180, "Yellow");
    const TSize extent = canvas.TextExtent("Yellow");
    canvas.End();
    int minX = 200, maxX = -1, minY = 200, maxY = -1;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    EXPECT_EQ(maxX - minX + 1, extent.cy);
    EXPECT_EQ(maxY - minY + 1, extent.cx);
    EXPECT_EQ(minX, 100);
    EXPECT_EQ(maxY, 179);
}

TEST(CanvasText, DrawTextBreaksAtLineBreaksAndBetweenWords)
{
    TCanvas canvas;
    useFont(canvas, "Arial", -20);
    const int lineHeight = canvas.TextHeight("x");

    TRect r = Rect(0, 0, 1000, 1000);
    EXPECT_EQ(canvas.DrawText("one\rtwo\r\nthree\nfour", r, DT_CALCRECT | DT_NOPREFIX), 4 * lineHeight);
    EXPECT_EQ(r, Rect(0, 0, canvas.TextWidth("three"), 4 * lineHeight));

    r = Rect(10, 20, 1000, 1000);
    EXPECT_EQ(canvas.DrawText("one\r", r, DT_CALCRECT), lineHeight) << "a final break opens no line";
    EXPECT_EQ(r.Bottom, 20 + lineHeight);
    r = Rect(0, 0, 1000, 1000);
    EXPECT_EQ(canvas.DrawText("one\r\rtwo", r, DT_CALCRECT), 3 * lineHeight) << "an empty line counts";

    r = Rect(0, 0, 1000, 1000);
    EXPECT_EQ(canvas.DrawText("one\rtwo", r, DT_CALCRECT | DT_SINGLELINE), lineHeight);
    EXPECT_EQ(r.Width(), canvas.TextWidth("onetwo"));

    // Word break: as many words as fit; the blank where the line breaks is dropped, except that
    // a left-aligned line keeps it when it fits (it cannot be seen there, but it is measured).
    const int fits = canvas.TextWidth("aaa aaa");
    r = Rect(0, 0, fits + 2, 1000);
    EXPECT_EQ(canvas.DrawText("aaa aaa aaa aaa aaa", r, DT_CALCRECT | DT_WORDBREAK), 3 * lineHeight);
    EXPECT_EQ(r.Width(), fits);
    const int withBlank = canvas.TextWidth("aaa aaa ");
    r = Rect(0, 0, withBlank + 1, 1000);
    EXPECT_EQ(canvas.DrawText("aaa aaa aaa aaa aaa", r, DT_CALCRECT | DT_WORDBREAK), 3 * lineHeight);
    EXPECT_EQ(r.Width(), withBlank);
    r = Rect(0, 0, withBlank + 1, 1000);
    EXPECT_EQ(canvas.DrawText("aaa aaa aaa aaa aaa", r, DT_CALCRECT | DT_WORDBREAK | DT_CENTER), 3 * lineHeight);
    EXPECT_EQ(r.Width(), fits);
    r = Rect(0, 0, fits + 2, 1000);
    EXPECT_EQ(canvas.DrawText("aaa\raaa aaa aaa", r, DT_CALCRECT | DT_WORDBREAK), 3 * lineHeight);

    // A word longer than the width stands alone and sticks out.
    const int longWord = canvas.TextWidth("Incomprehensibilities");
    r = Rect(0, 0, 60, 1000);
    EXPECT_EQ(canvas.DrawText("an Incomprehensibilities of it", r, DT_CALCRECT | DT_WORDBREAK), 3 * lineHeight);
    EXPECT_EQ(r.Width(), longWord);
    EXPECT_GT(r.Width(), 60);

    // Without DT_WORDBREAK nothing wraps.
    r = Rect(0, 0, 60, 1000);
    EXPECT_EQ(canvas.DrawText("aaa bbb ccc", r, DT_CALCRECT), lineHeight);

    // Prefix characters disappear unless told otherwise.
    r = Rect(0, 0, 1000, 1000);
    canvas.DrawText("A&B", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), canvas.TextWidth("AB"));
    r = Rect(0, 0, 1000, 1000);
    canvas.DrawText("A&&B", r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(r.Width(), canvas.TextWidth("A&B"));
    r = Rect(0, 0, 1000, 1000);
    canvas.DrawText("A&B", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(r.Width(), canvas.TextWidth("A&B"));

    r = Rect(5, 5, 100, 100);
    EXPECT_EQ(canvas.DrawText("", r, DT_CALCRECT | DT_WORDBREAK), 0);
    EXPECT_EQ(r, Rect(5, 5, 5, 5));
}

TEST(CanvasText, DrawTextMeasuresWithoutDrawingAndDrawsAlignedAndClipped)
{
    QImage image = whiteImageAt(400, 200, 96);
    const QImage blank = image;
    TCanvas canvas(&image);
    useFont(canvas, "Arial", -20);
    canvas.Brush.SetStyle(bsClear);

    TRect r = Rect(100, 50, 300, 150);
    canvas.DrawText("Measured only", r, DT_CALCRECT | DT_CENTER | DT_WORDBREAK);
    EXPECT_EQ(image, blank);

    r = Rect(100, 50, 300, 150);
    EXPECT_EQ(canvas.DrawText("Mid", r, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX), canvas.TextHeight("Mid"));
    TRect box = darkBox(image);
    EXPECT_NEAR((box.Left + box.Right + 1) / 2.0, 200, 2);
    EXPECT_GE(box.Top, 50);
    EXPECT_LT(box.Bottom, 50 + canvas.TextHeight("Mid"));

    image.fill(Qt::white);
    r = Rect(100, 50, 300, 150);
    canvas.DrawText("Right", r, DT_RIGHT | DT_SINGLELINE);
    box = darkBox(image);
    EXPECT_LE(box.Right, 299);
    EXPECT_GE(box.Right, 295);

    image.fill(Qt::white);
    r = Rect(100, 50, 300, 150);
    canvas.DrawText("Bottom", r, DT_BOTTOM | DT_SINGLELINE);
    box = darkBox(image);
    EXPECT_LE(box.Bottom, 149);
    EXPECT_GT(box.Top, 100);

    // Output is clipped to the rectangle unless DT_NOCLIP.
    image.fill(Qt::white);
    r = Rect(100, 50, 130, 150);
    canvas.DrawText("Overflowing", r, DT_WORDBREAK);
    box = darkBox(image);
    EXPECT_GE(box.Left, 100);
    EXPECT_LE(box.Right, 129);
    image.fill(Qt::white);
    canvas.DrawText("Overflowing", r, DT_WORDBREAK | DT_NOCLIP);
    EXPECT_GT(darkBox(image).Right, 140);

    // The drawing clip set before stays in force and comes back after.
    image.fill(Qt::white);
    canvas.SetClipRect(Rect(0, 0, 110, 200));
    r = Rect(100, 50, 300, 150);
    canvas.DrawText("Clipped text", r, DT_SINGLELINE);
    EXPECT_LE(darkBox(image).Right, 109);
    canvas.TextOut(150, 160, "Still clipped");
    EXPECT_EQ(darkPixels(image, 110, 0, 399, 199), 0);
}

TEST(CanvasText, WordWrappedLinesAreDrawnOneBelowTheOther)
{
    QImage image = whiteImageAt(200, 200, 96);
    TCanvas canvas(&image);
    useFont(canvas, "Arial", -20);
    canvas.Brush.SetStyle(bsClear);
    const int lineHeight = canvas.TextHeight("x");
    TRect r = Rect(0, 0, canvas.TextWidth("HHH") + 2, 200);
    EXPECT_EQ(canvas.DrawText("HHH HHH HHH", r, DT_WORDBREAK | DT_NOPREFIX), 3 * lineHeight);
    int rowsWithInk = 0;
    for (int line = 0; line < 4; ++line)
        rowsWithInk += darkPixels(image, 0, line * lineHeight, 199, (line + 1) * lineHeight - 1) > 0;
    EXPECT_EQ(rowsWithInk, 3);
}

TEST(CanvasText, LoMetricAndHiMetricConvertAtTheDeviceResolution)
{
    QImage image = whiteImageAt(400, 400, 300);
    TCanvas canvas(&image);
    EXPECT_EQ(canvas.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_EQ(canvas.GetDeviceCaps(LOGPIXELSY), 300);
    EXPECT_EQ(canvas.GetMapMode(), MM_TEXT);
    EXPECT_EQ(canvas.SetMapMode(MM_LOMETRIC), MM_TEXT);
    EXPECT_EQ(canvas.LPtoDP(Point(100, -100)), Point(118, 118));
    EXPECT_EQ(canvas.DPtoLP(Point(300, 300)), Point(254, -254));
    EXPECT_EQ(canvas.SetMapMode(MM_HIMETRIC), MM_LOMETRIC);
    EXPECT_EQ(canvas.LPtoDP(Point(1000, -1000)), Point(118, 118));

    // One inch square, y pointing up.
    canvas.SetMapMode(MM_LOMETRIC);
    canvas.Brush.SetColor(clBlack);
    canvas.Rectangle(0, 0, 254, -254);
    EXPECT_EQ(darkBox(image), Rect(0, 0, 299, 299));

    // Font heights are logical too: 5 mm capitals drawn upright.
    image.fill(Qt::white);
    canvas.Font.SetName("Arial");
    canvas.Font.SetHeight(-50);
    canvas.Font.SetColor(clBlack);
    canvas.Brush.SetStyle(bsClear);
    const int logicalHeight = canvas.TextHeight("H");
    EXPECT_NEAR(logicalHeight, 56, 1);
    canvas.SetTextAlign(TA_LEFT | TA_BASELINE);
    canvas.TextOut(100, -200, "H");
    const TRect box = darkBox(image);
    EXPECT_EQ(box.Bottom, 235);
    EXPECT_NEAR(box.Bottom - box.Top + 1, 0.716 * 59, 3) << "cap height of a 59-pixel em";

    EXPECT_EQ(canvas.SetMapMode(MM_TEXT), MM_LOMETRIC);
    EXPECT_EQ(canvas.LPtoDP(Point(100, -100)), Point(100, -100));
}

TEST(CanvasText, InjectedResolutionDrivesLogPixelsAndMapModes)
{
    QImage image = whiteImageAt(100, 100, 96);
    TCanvas canvas(&image);
    EXPECT_EQ(canvas.LogPixelsX(), 96);
    canvas.SetLogPixels(300, 600);
    EXPECT_EQ(canvas.GetDeviceCaps(LOGPIXELSX), 300);
    EXPECT_EQ(canvas.GetDeviceCaps(LOGPIXELSY), 600);
    EXPECT_EQ(canvas.Font.PixelsPerInch(), 600);
    canvas.SetMapMode(MM_LOMETRIC);
    EXPECT_EQ(canvas.LPtoDP(Point(254, -254)), Point(300, 600));
    canvas.SetLogPixels(0, 0); // a device that reports no resolution
    EXPECT_EQ(canvas.GetDeviceCaps(LOGPIXELSX), 0);
    EXPECT_EQ(canvas.LPtoDP(Point(254, -254)), Point(96, 96)) << "map modes fall back on the device";
    canvas.ResetLogPixels();
    EXPECT_EQ(canvas.LogPixelsY(), 96);
}

// A text that fits its box and the canvas's clip is drawn without clipping; one that reaches
// beyond either, however little, is still cut there: by a glyph's overhang, its width, its
// lines or the clip. Each case paints beyond (checked with DT_NOCLIP and no clip).
TEST(CanvasText, DrawTextIsCutAtItsBoxAndTheClipWhateverReachesBeyond)
{
    struct Case {
        const char* what;
        const char* text;
        TFontStyles style;
        TRect box; // Right < 0: as wide as the text
        unsigned format;
        TRect clip; // empty: none
    };
    const Case cases[] = {
        {"italic overhang of a text as wide as its box", "f", {fsItalic}, Rect(100, 50, -1, 150), DT_SINGLELINE, {}},
        {"a word wider than its box", "Overflowing", {}, Rect(100, 50, 130, 150), DT_WORDBREAK, {}},
        {"more lines than the box holds", "One\nTwo", {}, Rect(100, 50, 300, 80), 0, {}},
        {"centred, wider than its box", "Centred text", {}, Rect(150, 50, 200, 150), DT_CENTER | DT_SINGLELINE, {}},
        {"inside its box, across the clip", "Clip", {}, Rect(100, 50, 300, 150), DT_SINGLELINE, Rect(0, 0, 120, 200)},
        {"turned down, across its box's bottom", "Down", {}, Rect(100, 60, 300, 100), DT_CENTER | DT_SINGLELINE, {}},
    };
    for (const Case& c : cases) {
        auto draw = [&](bool clipped, TRect& limit) {
            QImage image = whiteImageAt(400, 200, 96);
            TCanvas canvas(&image);
            useFont(canvas, "Arial", -40);
            canvas.Font.SetStyle(c.style);
            canvas.Brush.SetStyle(bsClear);
            if (std::string(c.what).starts_with("turned"))
                canvas.Font.SetEscapement(2700);
            limit = c.box;
            if (limit.Right < 0)
                limit.Right = limit.Left + canvas.TextWidth(c.text);
            TRect r = limit;
            if (!c.clip.IsEmpty()) {
                limit.Right = std::min(limit.Right, c.clip.Right);
                if (clipped)
                    canvas.SetClipRect(c.clip);
            }
            canvas.DrawText(c.text, r, c.format | (clipped ? 0 : DT_NOCLIP));
            canvas.End();
            return image;
        };
        const auto outside = [](const QImage& image, const TRect& limit) {
            return darkPixels(image, 0, 0, 399, 199, 255) -
                   darkPixels(image, limit.Left, limit.Top, limit.Right - 1, limit.Bottom - 1, 255);
        };
        TRect limit;
        const QImage free = draw(false, limit);
        ASSERT_GT(outside(free, limit), 0) << c.what;
        const QImage cut = draw(true, limit);
        EXPECT_EQ(outside(cut, limit), 0) << c.what;
        EXPECT_GT(darkPixels(cut, 0, 0, 399, 199, 255), 0) << c.what;
    }
}

// A text left unclipped because it fits its box comes out as it did clipped to the box: what
// the canvas takes for its glyphs' ink holds all of it. Tight boxes, in every style.
TEST(CanvasText, DrawTextLeftUnclippedLooksAsClippedToItsBox)
{
    const char* const texts[] = {"Jeanne Martin", "fj", "\u00c9milie, \u00ff", "4, rue des Lilas", "W.", "(gy)"};
    const TFontStyles styles[] = {{}, {fsBold}, {fsItalic}, {fsBold, fsItalic}};
    for (const char* text : texts) {
        for (const TFontStyles style : styles) {
            QImage images[2];
            for (int clipped = 0; clipped < 2; ++clipped) {
                images[clipped] = whiteImageAt(300, 80, 96);
                TCanvas canvas(&images[clipped]);
                useFont(canvas, "Arial", -30);
                canvas.Font.SetStyle(style);
                TRect box = Rect(10, 20, 10 + canvas.TextWidth(QString::fromUtf8(text)),
                                 20 + canvas.TextHeight(QString::fromUtf8(text)));
                if (clipped) {
                    // Filling across it hands the box to the painter as its clip.
                    canvas.SetClipRect(box);
                    canvas.Brush.SetColor(clWhite);
                    canvas.FillRect(Rect(0, 0, 300, 80));
                }
                canvas.Brush.SetStyle(bsClear);
                canvas.DrawText(QString::fromUtf8(text), box, DT_SINGLELINE | DT_NOPREFIX);
            }
            EXPECT_EQ(images[0], images[1]) << text << " " << style.Bits();
        }
    }
}

// Measures add up glyph by glyph, whatever the characters: Latin-1, the rest of the basic
// plane, pairs of surrogates and stray halves. A character seen for the first time measures as it
// does once kept, and keeping one never changes what another measures.
TEST(CanvasText, MeasuresAddUpGlyphByGlyphWhenFirstSeenAndWhenKept)
{
    const QString clef = QString::fromUtf16(u"\U0001D11E");
    const QString texts[] = {
        QStringLiteral("Label printing, 0123456789"),
        QString::fromUtf16(u"Œuvre Ω 5 € — Łódź"),
        QStringLiteral("a") + clef + QStringLiteral("b"),
        QString(QChar(0xD834)) + QStringLiteral("x"),          // a first half alone
        QStringLiteral("x") + QChar(0xDD1E) + QStringLiteral("y"), // a second half alone
        QStringLiteral("   "),
    };
    // A height no other test takes: the face is new and has kept nothing yet.
    const auto face = fontengine::face(QStringLiteral("Arial"), -37, {}, 300);
    std::vector<double> coldAdvances;
    std::vector<QRectF> coldInks;
    for (const QString& text : texts) {
        coldAdvances.push_back(face->advance(text));
        coldInks.push_back(face->inkBounds(text));
    }
    for (std::size_t k = 0; k < std::size(texts); ++k) {
        const QString& text = texts[k];
        SCOPED_TRACE(text.toStdString());
        double x = 0;
        QRectF ink;
        for (int i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            QString glyph;
            if (c.isHighSurrogate() && i + 1 < text.size())
                glyph = text.mid(i, 2);
            else if (!c.isSurrogate())
                glyph = QString(c);
            if (glyph.isEmpty())
                continue;
            // A character's own box is its ink; a pair's box, as Qt gives it for a string, is
            // the line's height across the glyph's width.
            const QRectF box =
                glyph.size() == 1 ? face->metrics.boundingRect(glyph.at(0)) : face->metrics.boundingRect(glyph);
            if (!box.isEmpty()) {
                const double slack = x == std::floor(x) ? 0 : 1;
                ink |= box.translated(x, 0).adjusted(-slack, 0, slack, 0);
            }
            x += face->metrics.horizontalAdvance(glyph);
        }
        EXPECT_DOUBLE_EQ(coldAdvances[k], x);
        EXPECT_DOUBLE_EQ(face->advance(text), x);
        EXPECT_EQ(coldInks[k], ink);
        EXPECT_EQ(face->inkBounds(text), ink);
    }
}
