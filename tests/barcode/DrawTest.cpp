#include "platform/Screen.h"
#include "barcode/BarLL.h"
#include "barcode/Barcode.h"

#include "TestSupport.h"
#include "platform/TCanvas.h"

#include <gtest/gtest.h>

using namespace barcode;
using namespace platform;
using testsupport::darkPixels;
using testsupport::whiteImage;

namespace {

TBarcodeGeometry layoutAt(TLLBarcode& bar, int dpi)
{
    TCanvas canvas;
    canvas.SetLogPixels(dpi, dpi);
    return bar.Layout(canvas);
}

TLLBarcode makeBarcode(btCodeTypes type, const QByteArray& caption, btCodeSizes size = SC2)
{
    TLLBarcode bar;
    bar.Params.CodeType = type;
    bar.Params.Caption = caption;
    bar.Params.ModuleWidth = size;
    return bar;
}

// Draws on a white image "as" a device of the given resolution; the image is large enough.
QImage drawn(TLLBarcode& bar, int dpi, int x, int y, int& width, int& height, int imageW = 900, int imageH = 900)
{
    QImage image = whiteImage(imageW, imageH);
    TCanvas canvas(&image);
    canvas.SetLogPixels(dpi, dpi);
    bar.Draw(canvas, x, y, width, height);
    return image;
}

bool dark(const QImage& image, int x, int y)
{
    return darkPixels(image, x, y, x, y) == 1;
}

} // namespace

TEST(BarcodeDraw, Ean13At300DpiModuleMarginsAndHeights)
{
    TLLBarcode bar = makeBarcode(EAN_13, "590123412345");
    const TBarcodeGeometry g = layoutAt(bar, 300);
    // m = round(0.33 x 300 / 25.4) = 4, margins 40: 95 x 4 + 80 + 1.
    EXPECT_EQ(g.Width, 461);
    // h = round(74.24 x 4) = 297; text 0.18 h; bar area 0.9336 h.
    EXPECT_EQ(g.FontHeight, 53);
    EXPECT_EQ(g.Height, g.TextHeight + 278);

    int w = 0;
    int h = 0;
    const QImage image = drawn(bar, 300, 10, 20, w, h);
    EXPECT_EQ(w, 461);
    // Left guard bar: module 1 at 10 + 40, four pixels wide, full height 297.
    EXPECT_EQ(darkPixels(image, 10, 20, 49, 20 + 200), 0);
    EXPECT_TRUE(dark(image, 50, 20));
    EXPECT_TRUE(dark(image, 53, 20 + 296));
    EXPECT_FALSE(dark(image, 54, 20));
    EXPECT_FALSE(dark(image, 50, 20 + 297));
    // Data bars stop at round(297 x 0.917) = 272: the first digit (9, set A 0001011) has its
    // first bar at module 7.
    const int digitBar = 10 + 40 + 6 * 4;
    EXPECT_TRUE(dark(image, digitBar, 20 + 271));
    EXPECT_FALSE(dark(image, digitBar + 1, 20 + 272));
    EXPECT_FALSE(dark(image, digitBar - 1, 20 + 100));
    // The digits sit under the data bars, the first one in the left margin.
    EXPECT_GT(darkPixels(image, 10, 20 + 272, 49, 20 + 272 + g.TextHeight), 20);
    EXPECT_GT(darkPixels(image, 60, 20 + 272, 240, 20 + 272 + g.TextHeight), 100);
    EXPECT_EQ(darkPixels(image, 10 + 461, 0, 899, 899), 0);
}

TEST(BarcodeDraw, ModuleSizes)
{
    TLLBarcode ean8 = makeBarcode(EAN_8, "1234567", SC0);
    ean8.Params.HighDensity = true;
    // 0.135 mm at 96 dpi is half a pixel: never less than one.
    EXPECT_EQ(layoutAt(ean8, 96).Width, 67 + 1);

    ean8.Params.HighDensity = false;
    ean8.Params.ModuleWidth = SC9; // 0.66 mm at 600 dpi = 15.59 -> 16
    EXPECT_EQ(layoutAt(ean8, 600).Width, 67 * 16 + 1);
    ean8.Params.ModuleWidth = static_cast<btCodeSizes>(12); // beyond SC9: 0.33
    EXPECT_EQ(layoutAt(ean8, 300).Width, 67 * 4 + 1);

    // With ZoomSize modules start at exact millimetre positions: 0.33 mm x 66 = 257.2 px.
    ean8.Params.ZoomSize = true;
    const TBarcodeGeometry zoomed = layoutAt(ean8, 300);
    EXPECT_EQ(zoomed.Width, 257 + 4 + 1);
    // The text follows h: round(56.24 x 0.33 x 11.81) = 219 zoomed, round(56.24 x 4) = 225 not.
    EXPECT_EQ(zoomed.FontHeight, 52);
    ean8.Params.ZoomSize = false;
    EXPECT_EQ(layoutAt(ean8, 300).FontHeight, 53);

    // Code 39 ratio: wide elements of 3 or 2 modules.
    TLLBarcode code39 = makeBarcode(CODE39, "A", SC0);
    EXPECT_EQ(layoutAt(code39, 96).Width, 3 * 16 + 1);
    code39.Params.Ratio = Ratio_2;
    EXPECT_EQ(layoutAt(code39, 96).Width, 3 * 13 + 1);
}

TEST(BarcodeDraw, ZeroResolutionUsesTheScreen)
{
    TLLBarcode bar = makeBarcode(EAN_13, "1");
    platform::SetScreenPixelsPerInch(300);
    const int width = layoutAt(bar, 0).Width;
    platform::SetScreenPixelsPerInch(0);
    EXPECT_EQ(width, 461);
    EXPECT_EQ(layoutAt(bar, 0).Width, layoutAt(bar, platform::ScreenPixelsPerInch()).Width);
}

TEST(BarcodeDraw, HeightPercentKeepsTheTopAndMovesTheBottom)
{
    TLLBarcode bar = makeBarcode(CODE39, "AB");
    bar.Params.HumanReadable = false;
    const TBarcodeGeometry full = layoutAt(bar, 300);
    EXPECT_EQ(full.Height, 225 + 1);
    bar.Params.HeightPercent = 20;
    const TBarcodeGeometry low = layoutAt(bar, 300);
    // cut = MulDiv(225, 80, 100) = 180.
    EXPECT_EQ(low.Height, 45 + 1);
    EXPECT_EQ(low.Bars.front().Top, 0);
    EXPECT_EQ(low.Bars.front().Bottom, 45);

    bar.Params.HumanReadable = true;
    int w = 0;
    int h = 0;
    const QImage image = drawn(bar, 300, 0, 0, w, h);
    const TBarcodeGeometry text = layoutAt(bar, 300);
    EXPECT_EQ(h, text.TextHeight + 45 + 1);
    EXPECT_EQ(text.Texts.front().Y, 45);
    EXPECT_GT(darkPixels(image, 0, 46, w, 45 + text.TextHeight), 50);
    EXPECT_EQ(darkPixels(image, 0, h, 899, 899), 0);
    // Bars keep their width: the font follows the full height.
    EXPECT_EQ(text.FontHeight, full.FontHeight);

    bar.Params.HeightPercent = 200; // taller than full
    EXPECT_EQ(layoutAt(bar, 300).Bars.front().Bottom, 450);
}

TEST(BarcodeDraw, WidthReduceTakesOnePixelOffWideBars)
{
    TLLBarcode bar = makeBarcode(EAN_13, "1");
    bar.Params.WidthReduce = true;
    int w = 0;
    int h = 0;
    QImage image = drawn(bar, 300, 0, 0, w, h);
    EXPECT_TRUE(dark(image, 40, 10));
    EXPECT_TRUE(dark(image, 42, 10));
    EXPECT_FALSE(dark(image, 43, 10));
    EXPECT_EQ(w, 461); // the size is unchanged

    // A bar of one pixel stays one pixel wide.
    TLLBarcode thin = makeBarcode(EAN_13, "1", SC0);
    thin.Params.WidthReduce = true;
    image = drawn(thin, 96, 0, 0, w, h);
    EXPECT_TRUE(dark(image, 10, 10));
}

TEST(BarcodeDraw, QuarterTurnsMapEveryBarPixel)
{
    TLLBarcode bar = makeBarcode(CODE128_B, "Turn 90");
    bar.Params.HumanReadable = false;
    int w0 = 0;
    int h0 = 0;
    const QImage straight = drawn(bar, 150, 0, 0, w0, h0);
    for (btCodeRotate rotation : {rotate_090, rotate_180, rotate_270}) {
        bar.Params.Rotation = rotation;
        int w = 0;
        int h = 0;
        const QImage turned = drawn(bar, 150, 0, 0, w, h);
        const bool quarter = rotation != rotate_180;
        EXPECT_EQ(w, quarter ? h0 : w0);
        EXPECT_EQ(h, quarter ? w0 : h0);
        int mismatches = 0;
        for (int dy = 0; dy < h0; ++dy)
            for (int dx = 0; dx < w0; ++dx) {
                int tx = dx;
                int ty = dy;
                if (rotation == rotate_090) {
                    tx = dy;
                    ty = w0 - 1 - dx;
                } else if (rotation == rotate_180) {
                    tx = w0 - 1 - dx;
                    ty = h0 - 1 - dy;
                } else {
                    tx = h0 - 1 - dy;
                    ty = dx;
                }
                if (dark(straight, dx, dy) != dark(turned, tx, ty))
                    ++mismatches;
            }
        EXPECT_EQ(mismatches, 0) << rotation;
        EXPECT_EQ(darkPixels(turned, w, 0, 899, 899), 0);
        EXPECT_EQ(darkPixels(turned, 0, h, 899, 899), 0);
    }
}

TEST(BarcodeDraw, RotatedTextStaysInsideTheSymbol)
{
    TLLBarcode bar = makeBarcode(CODE39, "ROT");
    for (btCodeRotate rotation : {rotate_000, rotate_090, rotate_180, rotate_270}) {
        bar.Params.Rotation = rotation;
        int w = 0;
        int h = 0;
        const QImage image = drawn(bar, 200, 100, 100, w, h);
        const TBarcodeGeometry g = layoutAt(bar, 200);
        const int band = g.Height - g.TextHeight; // first row of the text band, unrotated
        // The text band lies on the side the rotation turns the bottom to.
        int textDark = 0;
        switch (rotation) {
        case rotate_000: textDark = darkPixels(image, 100, 100 + band + 1, 100 + w - 1, 100 + h - 1); break;
        case rotate_090: textDark = darkPixels(image, 100 + band + 1, 100, 100 + w - 1, 100 + h - 1); break;
        case rotate_180: textDark = darkPixels(image, 100, 100, 100 + w - 1, 100 + g.TextHeight - 2); break;
        case rotate_270: textDark = darkPixels(image, 100, 100, 100 + g.TextHeight - 2, 100 + h - 1); break;
        }
        EXPECT_GT(textDark, 100) << rotation;
        EXPECT_EQ(darkPixels(image, 0, 0, 99, 899) + darkPixels(image, 0, 0, 899, 99), 0) << rotation;
        EXPECT_EQ(darkPixels(image, 100 + w + 1, 0, 899, 899), 0) << rotation;
        EXPECT_EQ(darkPixels(image, 0, 100 + h + 1, 899, 899), 0) << rotation;
    }
}

TEST(BarcodeDraw, PostnetGeometry)
{
    TLLBarcode bar = makeBarcode(Postnet, "12345");
    const TBarcodeGeometry g = layoutAt(bar, 600);
    // 32 bars 12 px wide at a pitch of 27.27 px; tall 75 px, short 30 px.
    ASSERT_EQ(g.Bars.size(), 32u);
    EXPECT_EQ(g.Width, 845 + 12 + 1);
    EXPECT_EQ(g.Height, 75 + 1 + g.TextHeight);
    EXPECT_EQ(g.Bars[0].Top, 0);
    EXPECT_EQ(g.Bars[1].Top, 45); // digit 1 = 00011 starts short
    EXPECT_EQ(g.Bars[1].Bottom, 75);
    EXPECT_EQ(g.Bars[1].Left, 27);
    EXPECT_EQ(g.Bars[1].Right, 39);
    EXPECT_EQ(g.Texts.front().Text, "123455");
    EXPECT_EQ(g.Texts.front().X, 845 / 2);
    EXPECT_EQ(g.Texts.front().Y, 75);
    bar.Params.HumanReadable = false;
    EXPECT_EQ(layoutAt(bar, 600).Height, 76);
}

TEST(BarcodeDraw, FimLastBarIsInsideTheReportedWidth)
{
    TLLBarcode bar = makeBarcode(Postnet_FIM, "b");
    bar.Params.HumanReadable = false;
    int w = 0;
    int h = 0;
    const QImage image = drawn(bar, 600, 0, 0, w, h);
    // Pitch 37.5 px, bars 19 px: the ninth bar starts at 300.
    EXPECT_EQ(w, 300 + 19 + 1);
    EXPECT_EQ(h, 375 + 1);
    EXPECT_TRUE(dark(image, 300, 10));
    EXPECT_TRUE(dark(image, 318, 374));
    EXPECT_FALSE(dark(image, 319, 10));
    EXPECT_TRUE(dark(image, 112, 10)); // round(3 x 37.5) = 112, halves to even
    EXPECT_FALSE(dark(image, 37, 10)); // position 2 of 101101101 is empty
    EXPECT_EQ(bar.Data, "FIM-B");
}

TEST(BarcodeDraw, CanvasStateIsRestoredAndErrorsPassOut)
{
    QImage image = whiteImage(300, 300);
    TCanvas canvas(&image);
    canvas.Brush.SetColor(clRed);
    canvas.Brush.SetStyle(bsDiagCross);
    canvas.SetTextAlign(TA_RIGHT | TA_BASELINE);
    canvas.Font.SetName(QStringLiteral("Courier New"));
    TLLBarcode bar = makeBarcode(CODE39, "X");
    int w = 0;
    int h = 0;
    bar.Draw(canvas, 0, 0, w, h);
    EXPECT_EQ(canvas.Brush.Color(), clRed);
    EXPECT_EQ(canvas.Brush.Style(), bsDiagCross);
    EXPECT_EQ(canvas.GetTextAlign(), TA_RIGHT | TA_BASELINE);
    EXPECT_EQ(canvas.Font.Name(), QStringLiteral("Courier New"));

    bar.Params.CodeType = static_cast<btCodeTypes>(14);
    EXPECT_THROW(bar.Draw(canvas, 0, 0, w, h), EOverflow);
    EXPECT_EQ(canvas.Brush.Color(), clRed);
}

TEST(BarcodeDraw, UpcADigitsInBothMargins)
{
    TLLBarcode bar = makeBarcode(UPC_A, "03600029145", SC4);
    const TBarcodeGeometry g = layoutAt(bar, 300);
    ASSERT_EQ(g.Texts.size(), 4u);
    const int m = 5; // 0.396 mm at 300 dpi = 4.68
    EXPECT_EQ(g.Texts[0].X, 25);
    EXPECT_EQ(g.Texts[0].Text, "0");
    EXPECT_EQ(g.Texts[1].X, 50 + 24 * m);
    EXPECT_EQ(g.Texts[3].X, 50 + 94 * m + m + 25);
    EXPECT_EQ(g.Texts[3].Text, "2");
    EXPECT_EQ(g.Width, 95 * m + 100 + 1);

    bar.Params.Addon = "52495";
    const TBarcodeGeometry addon = layoutAt(bar, 300);
    EXPECT_EQ(addon.Width, 152 * m + 100 + 1);
    EXPECT_EQ(addon.Texts.back().Text, "52495");
    EXPECT_EQ(addon.Texts.back().Y, 0);
    EXPECT_EQ(addon.Texts.back().X, 50 + 127 * m);
    // Add-on bars leave room above them for their digits.
    EXPECT_EQ(addon.Bars.back().Top, addon.TextHeight + m);
}
