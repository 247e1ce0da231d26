#pragma once

#include "design/DesignModel.h"
#include "design/Pictures.h"
#include "design/Renderer.h"

#include "platform/TCanvas.h"
#include "platform/TStringGrid.h"

#include <QImage>
#include <QRect>

// A label of 200 x 100 design pixels with an address book of three records, drawn on images.
struct RenderFixture {
    design::TCurrentFormat format;
    design::TDesignModel model{format};
    platform::TStringGrid grid;
    design::TDrawInputs inputs;

    RenderFixture()
    {
        model.LargeurEtiquettePx = 200;
        model.HauteurEtiquettePx = 100;
        grid.SetColCount(16);
        grid.SetRowCount(4);
        grid.SetCell(0, 1, "Dupont");
        grid.SetCell(1, 1, "Jean");
        grid.SetCell(6, 1, "Paris");
        grid.SetCell(5, 1, "4006381333931");
        grid.SetCell(0, 2, "Martin");
        inputs.Source = {&grid, false, design::RepertItemsEnglish()};
        inputs.Numbering = {false, 10, "01/02/2024", "03/04/2025"};
    }

    // Draws the design on a white image of the given size, the canvas reading `dpi` as its
    // resolution.
    QImage render(int width, int height, platform::TPoint origin, double scaleX, double scaleY,
                  bool outline = false, int row = 1, int printIndex = -1, int dpi = 96)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        platform::TCanvas canvas(&image);
        canvas.SetLogPixels(dpi, dpi);
        draw(canvas, origin, scaleX, scaleY, outline, row, printIndex);
        return image;
    }

    // Prepares the label for the record (pictures read afresh) and draws it on the canvas.
    void draw(platform::TCanvas& canvas, platform::TPoint origin, double scaleX, double scaleY, bool outline,
              int row, int printIndex)
    {
        design::TPictureCache pictures;
        const design::TFieldMerge merge(inputs.Source, inputs.Numbering);
        const design::TPreparedLabel label = design::PrepareLabel(model, merge, row, printIndex, pictures);
        design::DrawDesign(canvas, model, label, inputs, origin, scaleX, scaleY, outline);
    }
};

// The smallest rectangle holding every pixel darker than the threshold (null when none).
inline QRect darkBounds(const QImage& image, int threshold = 128)
{
    QRect r;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if ((qRed(p) + qGreen(p) + qBlue(p)) / 3 < threshold)
                r |= QRect(x, y, 1, 1);
        }
    return r;
}

inline int pixelsOfColour(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                ++n;
    return n;
}
