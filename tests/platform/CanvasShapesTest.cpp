#include "TestSupport.h"
#include "platform/TCanvas.h"

#include <gtest/gtest.h>

using namespace platform;
using testsupport::darkPixels;
using testsupport::whiteImage;

namespace {

bool dark(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return (qRed(p) + qGreen(p) + qBlue(p)) / 3 < 128;
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
    EXPECT_TRUE(dark(image, 2, 3));
    EXPECT_TRUE(dark(image, 11, 12));
    EXPECT_FALSE(dark(image, 12, 12));
    EXPECT_FALSE(dark(image, 11, 13));
}
