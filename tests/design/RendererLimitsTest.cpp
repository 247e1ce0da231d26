// The renderer at the edges of its values: huge font sizes, angles near the ends of int, objects
// far larger than their label.
#include "RendererTestSupport.h"

#include "TestSupport.h"

#include "design/ObjectGeometry.h"
#include "platform/Rounding.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <climits>

using namespace design;

namespace {

// The fitting as it was first written: one point down at a time from the font's own size.
int steppedFit(const platform::TFont& font, const platform::TRect& box, unsigned format, const QString& text,
               platform::TCanvas& canvas, double scaleY)
{
    platform::TFont scratch = font;
    for (;;) {
        canvas.Font = scratch;
        canvas.Font.SetHeight(R(scratch.Height() * scaleY));
        platform::TRect measured = box;
        canvas.DrawText(text, measured, format | platform::DT_CALCRECT);
        if (measured.Width() <= box.Width() && measured.Height() <= box.Height())
            return canvas.Font.Height();
        scratch.SetSize(scratch.Size() - 1);
        if (scratch.Size() <= 2)
            return canvas.Font.Height();
    }
}

platform::TFont arial(int size)
{
    platform::TFont font;
    font.SetName("Arial");
    font.SetSize(size);
    return font;
}

} // namespace

TEST(RendererLimits, FittingFindsTheSizeTheOnePointStepsFind)
{
    QImage image(10, 10, QImage::Format_RGB32);
    platform::TCanvas canvas(&image);
    canvas.SetLogPixels(96, 96);
    const QString texts[] = {"Short", "Wrapped words in a box", "Averylongwordthatnevercanwrap", "", "Two\nlines"};
    const platform::TRect boxes[] = {{0, 0, 400, 100}, {0, 0, 60, 40}, {0, 0, 4, 2}, {0, 0, 120, 18}, {0, 0, 30, 200}};
    const unsigned formats[] = {platform::DT_WORDBREAK | platform::DT_NOPREFIX,
                                platform::DT_SINGLELINE | platform::DT_NOPREFIX | platform::DT_CENTER};
    std::vector<platform::TFont> fonts;
    for (const int size : {1, 3, 4, 7, 10, 13, 24, 72, 150})
        fonts.push_back(arial(size));
    platform::TFont cell = arial(10);
    cell.SetHeight(20); // a cell height: only its own size is tried
    fonts.push_back(cell);

    for (const QString& text : texts)
        for (const platform::TRect& box : boxes)
            for (const unsigned format : formats)
                for (const platform::TFont& font : fonts)
                    for (const double scale : {1.0, 2.5}) {
                        const int expected = steppedFit(font, box, format, text, canvas, scale);
                        FitTextFont(font, box, format, text, canvas, scale);
                        EXPECT_EQ(canvas.Font.Height(), expected)
                            << text.toStdString() << " in " << box.Width() << "x" << box.Height() << " size "
                            << font.Size() << " scale " << scale << " format " << format;
                    }
}

TEST(RendererLimits, AHugeFontSizeIsFittedInAFewMeasures)
{
    QImage image(10, 10, QImage::Format_RGB32);
    platform::TCanvas canvas(&image);
    canvas.SetLogPixels(96, 96);
    const platform::TRect box{0, 0, 150, 60};
    const unsigned format = platform::DT_WORDBREAK | platform::DT_NOPREFIX;
    const QString text = "Wrapped words in a box";
    int measures = 0;
    const int height = FittingFontHeight(arial(1000000), box.Height(), 1.0, [&](int canvasHeight) {
        ++measures;
        canvas.Font = arial(10);
        canvas.Font.SetHeight(canvasHeight);
        platform::TRect measured = box;
        canvas.DrawText(text, measured, format | platform::DT_CALCRECT);
        return measured.Width() <= box.Width() && measured.Height() <= box.Height();
    });
    // Sizes above 45 points are taller than the box: the size found from a million is the one
    // found from 100.
    EXPECT_EQ(height, steppedFit(arial(100), box, format, text, canvas, 1.0));
    EXPECT_LE(measures, 25);
    FitTextFont(arial(1000000), box, format, text, canvas, 1.0);
    EXPECT_EQ(canvas.Font.Height(), height);
}

TEST(RendererLimits, TiltedTextAnglesAreTakenWithinATurn)
{
    // Angles whose tenths do not fit an int draw as the same angle within a turn; the sign stays.
    const std::pair<int, int> angles[] = {{INT_MAX, 127}, {INT_MIN, -128}, {3645, 45}, {-3645, -45}};
    for (const auto& [angle, within] : angles) {
        EXPECT_EQ(ReducedAngle(angle), within);
        auto render = [&](int degrees) {
            RenderFixture f;
            TRotateLabel* label = f.model.AddRotateLabel(0, 0, false, {}, platform::clBlack, 10, "Arial", -13,
                                                         platform::clYellow, 0, "Tilted", 0, 0, false);
            label->SetAngle(degrees);
            label->SetBounds(40, 0, 100, 100);
            return f.render(200, 100, {0, 0}, 1, 1);
        };
        EXPECT_EQ(render(angle), render(within)) << angle;

        // The design window's view of the object paints it the same way.
        auto paint = [&](int degrees) {
            TRotateLabel label;
            label.Caption = "Tilted";
            label.Transparent = false;
            label.SetAngle(degrees);
            LayoutRotateLabel(label, DesignMeasureCanvas());
            QImage image = testsupport::whiteImage(label.Width, label.Height);
            platform::TCanvas canvas(&image);
            PaintRotateLabel(canvas, label);
            canvas.End();
            return image;
        };
        EXPECT_EQ(paint(angle), paint(within)) << angle;
    }
    for (const int normal : {0, 30, -30, 90, 359, -359})
        EXPECT_EQ(ReducedAngle(normal), normal);
}

TEST(RendererLimits, AnImageFarLargerThanItsLabelDrawsOnlyWhatLiesOnTheLabel)
{
    QTemporaryDir dir;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    const QString file = dir.filePath("small.png");
    ASSERT_TRUE(picture.save(file));

    RenderFixture f;
    f.grid.SetCell(6, 1, file);
    // Its window of the picture would be a 40000 x 40000 bitmap (6.4 GB): only the part on the
    // 200 x 100 label is made.
    TImage* image = f.model.AddImage(0, 0, 0, false, "<Town>", false, false, true, 40000, 40000, false);
    ASSERT_NE(image, nullptr);
    image->SetBounds(10, 10, 40000, 40000);
    for (const bool printer : {false, true}) {
        f.inputs.Printer = printer;
        const QImage drawn = f.render(450, 250, {0, 0}, 2, 2);
        EXPECT_EQ(pixelsOfColour(drawn, 0xFF0000), 80 * 40) << printer;
        EXPECT_EQ(drawn.pixel(20, 20) & 0xFFFFFF, 0xFF0000u) << printer;
        EXPECT_EQ(drawn.pixel(100, 20) & 0xFFFFFF, 0xFFFFFFu) << printer;
    }

    // Centred, the picture's middle is 20000 pixels away: the label shows the window's white.
    image->SetAutoSize(false);
    image->Center = true;
    EXPECT_EQ(pixelsOfColour(f.render(450, 250, {0, 0}, 2, 2), 0xFF0000), 0);

    // Partly off the label's top-left: the part still on it is drawn where it belongs.
    image->Center = false;
    image->SetAutoSize(true);
    image->SetBounds(-15, -5, 40000, 40000);
    const QImage shifted = f.render(450, 250, {0, 0}, 2, 2);
    EXPECT_EQ(pixelsOfColour(shifted, 0xFF0000), 50 * 30);
    EXPECT_EQ(shifted.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(shifted.pixel(50, 0) & 0xFFFFFF, 0xFFFFFFu);
}
