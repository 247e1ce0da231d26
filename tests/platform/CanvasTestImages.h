#pragma once

#include "platform/Graphics.h"

#include <QImage>
#include <algorithm>

// Pixel probes shared by the canvas and printer tests.
namespace canvastest {

inline bool dark(const QImage& image, int x, int y, int threshold = 128)
{
    const QRgb p = image.pixel(x, y);
    return (qRed(p) + qGreen(p) + qBlue(p)) / 3 < threshold;
}

// Bounding box of the dark pixels, edges inclusive (Right and Bottom are the last dark column and
// row); all -1 when there is none.
inline platform::TRect darkBox(const QImage& image, int threshold = 128)
{
    platform::TRect box{-1, -1, -1, -1};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (dark(image, x, y, threshold)) {
                if (box.Left < 0 || x < box.Left)
                    box.Left = x;
                if (box.Top < 0)
                    box.Top = y;
                box.Right = std::max(box.Right, x);
                box.Bottom = y;
            }
    return box;
}

// A white image whose resolution (what the canvas reads as LOGPIXELSX/Y) is `dpi`.
inline QImage whiteImageAt(int width, int height, int dpi)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const int dpm = static_cast<int>(dpi / 0.0254 + 0.5);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    return image;
}

inline int countColour(const QImage& image, QRgb rgb)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
    return n;
}

} // namespace canvastest
