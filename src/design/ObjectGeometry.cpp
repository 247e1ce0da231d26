#include "ObjectGeometry.h"

#include "barcode/Barcode.h"

#include "platform/Rounding.h"
#include "platform/TCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>

namespace design {

using namespace platform;
using barcode::TBarcode;

TCanvas& DesignMeasureCanvas()
{
    static TCanvas canvas;
    return canvas;
}

// --- Tilted text ---

int ReducedAngle(int degrees)
{
    return degrees % 360;
}

void LayoutRotateLabel(TRotateLabel& label, TCanvas& measure)
{
    measure.Font = label.Font;
    label.Width = measure.TextWidth(label.Caption + QStringLiteral("   "));
    label.Height = label.Width;
}

void PaintRotateLabel(TCanvas& canvas, const TRotateLabel& label)
{
    canvas.Font = label.Font;
    const int cx = label.Width / 2;
    const int cy = label.Height / 2;
    canvas.Brush.SetStyle(bsClear);

    const TFont previous = canvas.Font;
    TFont turned = canvas.Font;
    const int angle = ReducedAngle(label.Angle());
    turned.SetEscapement(angle * 10);
    canvas.Font = turned;

    const int tw = canvas.TextWidth(label.Caption);
    const int th = canvas.TextHeight(label.Caption);
    // As the record's own cosine and sine for an angle within a turn.
    const double c = std::cos(angle * TRotateLabel::DegreeFactor);
    const double s = std::sin(angle * TRotateLabel::DegreeFactor);
    const int x0 = cx - T(tw / 2.0 * c) - T(th / 2.0 * s);
    const int y0 = cy + T(tw / 2.0 * s) - T(th / 2.0 * c);

    if (!label.Transparent) {
        const double hw = (tw + 7) / 2.0;
        const double hh = (th + 5) / 2.0;
        const std::vector<TPoint> corners = {
            {cx - T(hw * c) - T(hh * s), cy + T(hw * s) - T(hh * c)},
            {cx + T(hw * c) - T(hh * s), cy - T(hw * s) - T(hh * c)},
            {cx + T(hw * c) + T(hh * s), cy - T(hw * s) + T(hh * c)},
            {cx - T(hw * c) + T(hh * s), cy + T(hw * s) + T(hh * c)},
        };
        canvas.Pen = TPen();
        canvas.Brush.SetStyle(bsSolid);
        canvas.Brush.SetColor(label.Color);
        canvas.Polygon(corners);
    }
    const unsigned align = canvas.SetTextAlign(TA_LEFT | TA_TOP);
    canvas.TextOut(x0, y0, label.Caption);
    canvas.SetTextAlign(align);
    canvas.Font = previous;
}

// --- Line ---

TLineEnds LineEnds(const TLine& line, int width, int height)
{
    const int a = width - 1;
    const int b = height - 1;
    switch (line.Line()) {
    case ltCustom:
        return {line.FromX(), line.FromY(), line.ToX(), line.ToY()};
    case ltHorizontal:
        return {0, T(b / 2.0), a, T(b / 2.0)};
    case ltVertical:
        return {T(a / 2.0), 0, T(a / 2.0), b};
    case ltTop:
        return {0, 0, a, 0};
    case ltBottom:
        return {0, b, a, b};
    case ltLeft:
        return {0, 0, 0, b};
    case ltRight:
        return {a, 0, a, b};
    case ltUpDiagonal:
        return {0, b, a, 0};
    case ltDownDiagonal:
        return {0, 0, a, b};
    }
    return {};
}

namespace {

void placeLinePoints(TLine& line)
{
    TLineEnds e = LineEnds(line, line.Width, line.Height);
    if (line.Line() == ltCustom) {
        e.FromX = std::max(e.FromX, 0);
        e.FromY = std::max(e.FromY, 0);
        e.ToX = std::max(e.ToX, 0);
        e.ToY = std::max(e.ToY, 0);
        if (line.Width - 1 < e.ToX || line.Width - 1 < e.FromX)
            line.Width = std::max(e.ToX, e.FromX) + 1;
        if (line.Height - 1 < e.ToY || line.Height - 1 < e.FromY)
            line.Height = std::max(e.ToY, e.FromY) + 1;
    }
    line.StorePoints(e.FromX, e.FromY, e.ToX, e.ToY);
}

} // namespace

void LayoutLine(TLine& line)
{
    placeLinePoints(line);
    // A pen of width 0 (old files) strokes one pixel wide, so its line is 10 pixels thick.
    const int thickness = std::max(line.Pen.Width(), 1) * 10;
    bool resized = false;
    if (line.Line() == ltHorizontal && line.Height != thickness) {
        line.Height = thickness;
        resized = true;
    } else if (line.Line() == ltVertical && line.Width != thickness) {
        line.Width = thickness;
        resized = true;
    }
    if (resized)
        placeLinePoints(line);
}

void PaintLine(TCanvas& canvas, const TLine& line)
{
    canvas.Pen = line.Pen;
    canvas.Brush = line.Brush;
    canvas.MoveTo(line.FromX(), line.FromY());
    canvas.LineTo(line.ToX(), line.ToY());
}

// --- Circular text ---

TCircleTextLayout CircleTextLayout(const QString& caption, int startingVector, int degrees,
                                   bool evenSpaceChars, int width, int height, int fontHeight,
                                   int textWidth)
{
    TCircleTextLayout layout;
    layout.MaxY = height;
    const int count = static_cast<int>(caption.size());
    // Fewer than two characters: nothing to spread (and no division by the count).
    if (count < 2)
        return layout;

    const int sv = startingVector;
    std::int64_t arc = degrees;
    if (!evenSpaceChars) {
        const std::int64_t p = T(textWidth * 1.75);
        const std::int64_t c = static_cast<std::int64_t>(std::trunc(width * std::numbers::pi));
        if (c == 0)
            return layout;
        const auto turns = static_cast<std::int64_t>(std::trunc(static_cast<double>(p) / c * 360));
        arc = (turns / count) * count;
    }
    const int n = count - 1;
    const int cx = width / 2;
    const int cy = width / 2;
    const int r = width / 2 - 4 - std::abs(fontHeight);
    const std::int64_t step = arc / n;

    layout.Glyphs.reserve(count);
    for (int i = 0; i <= n; ++i) {
        const std::int64_t along = i * step - sv;
        const double theta = static_cast<double>(along) * std::numbers::pi / 180;
        TCircleGlyph g;
        g.Char = caption.mid(i, 1);
        g.X = R(std::cos(theta) * r) + cx;
        g.Y = R(std::sin(theta) * r) + cy;
        g.Escapement = static_cast<std::int16_t>((sv - i * step) * 10 - 900);
        int lowest = g.Y;
        if (g.Escapement < 0 || g.Escapement > 180)
            lowest += std::abs(fontHeight);
        layout.MaxY = std::max(layout.MaxY, lowest);
        layout.Glyphs.push_back(g);
    }
    return layout;
}

namespace {

TCircleTextLayout circleLayoutOn(TCanvas& canvas, const TCircleLabel& label)
{
    canvas.Font = label.Font;
    const int textWidth = label.EvenSpaceChars() ? 0 : canvas.TextWidth(label.Caption());
    return CircleTextLayout(label.Caption(), label.StartingVector(), label.Degrees(),
                            label.EvenSpaceChars(), label.Width, label.Height,
                            canvas.Font.Height(), textWidth);
}

} // namespace

void LayoutCircleLabel(TCircleLabel& label, TCanvas& measure)
{
    const TCircleTextLayout layout = circleLayoutOn(measure, label);
    if (layout.MaxY > label.Height)
        label.Height = layout.MaxY;
}

void PaintCircleLabel(TCanvas& canvas, const TCircleLabel& label)
{
    const TCircleTextLayout layout = circleLayoutOn(canvas, label);
    const unsigned align = canvas.SetTextAlign(TA_CENTER | TA_BASELINE);
    // A brush change is applied to the text background at the next text output and would make
    // it opaque again; with a clear brush the characters stay transparent whatever the canvas
    // held before.
    const TBrushStyle brushStyle = canvas.Brush.Style();
    canvas.Brush.SetStyle(bsClear);
    const int bkMode = canvas.SetBkMode(TRANSPARENT);
    const TFont upright = canvas.Font;
    for (const TCircleGlyph& g : layout.Glyphs) {
        TFont turned = upright;
        turned.SetEscapement(g.Escapement);
        canvas.Font = turned;
        canvas.TextOut(g.X, g.Y, g.Char);
    }
    canvas.Font = upright;
    canvas.SetBkMode(bkMode);
    canvas.Brush.SetStyle(brushStyle);
    canvas.SetTextAlign(align);
}

// --- Barcode ---

void LayoutBarcode(TBarcodeObject& object)
{
    TBarcode& b = object.Barcode();
    b.SetLeft(object.Left);
    b.SetTop(object.Top);
    b.Measure();
    object.Width = b.Width();
    object.Height = b.Height();
}

void LayoutObject(TDesignObject& object, TCanvas& measure)
{
    switch (object.Kind()) {
    case TDesignObjectKind::RotateLabel:
        LayoutRotateLabel(static_cast<TRotateLabel&>(object), measure);
        break;
    case TDesignObjectKind::Line:
        LayoutLine(static_cast<TLine&>(object));
        break;
    case TDesignObjectKind::CircleLabel:
        LayoutCircleLabel(static_cast<TCircleLabel&>(object), measure);
        break;
    case TDesignObjectKind::Barcode:
        LayoutBarcode(static_cast<TBarcodeObject&>(object));
        break;
    default:
        break;
    }
}

void LayoutObject(TDesignObject& object)
{
    LayoutObject(object, DesignMeasureCanvas());
}

} // namespace design
