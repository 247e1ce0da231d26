#include "RendererPasses.h"

#include "DesignModel.h"

#include "barcode/Barcode.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"

#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace design {

using barcode::TCustomBarcode;
using barcode::TLLBarcode;
using platform::TCanvas;
using platform::TRect;

namespace {

// The part of the window (x, y, width, height) of the picture that lies on the label, as a
// bitmap, and where it goes on the canvas. White where the window leaves the picture: the
// platform's new bitmaps are white. Only the part on the label is made, so an object far larger
// than its label (or its picture) allocates no bitmap of its own size.
struct Window {
    QImage bitmap;
    TRect dest;
};

Window pictureWindow(const RenderContext& ctx, const TDesignObject& object, const TRect& box, const QImage& picture,
                     int x, int y, int width, int height)
{
    // Window columns c0..c1 and rows r0..r1 inside the label (design pixels).
    const auto span = [](int at, int size, int limit) {
        const std::int64_t from = std::clamp<std::int64_t>(-std::int64_t{at}, 0, size);
        const std::int64_t to = std::clamp<std::int64_t>(std::int64_t{limit} - at, from, size);
        return std::pair<int, int>{static_cast<int>(from), static_cast<int>(to)};
    };
    const auto [c0, c1] = span(object.Left, width, ctx.LabelWidth);
    const auto [r0, r1] = span(object.Top, height, ctx.LabelHeight);
    if (c0 >= c1 || r0 >= r1)
        return {};
    // Edges of the part on the canvas, so that a window wholly on the label fills the box.
    const auto edge = [](int start, int length, int k, int size) {
        return start + R(static_cast<double>(length) * k / size);
    };
    Window out;
    out.dest = {edge(box.Left, box.Width(), c0, width), edge(box.Top, box.Height(), r0, height),
                edge(box.Left, box.Width(), c1, width), edge(box.Top, box.Height(), r1, height)};
    out.bitmap = QImage(c1 - c0, r1 - r0, QImage::Format_RGB32);
    out.bitmap.fill(Qt::white);
    QPainter p(&out.bitmap);
    p.drawImage(-x - c0, -y - r0, picture);
    p.end();
    return out;
}

// Sends a black-and-white bitmap to a printer as one bit per pixel: the bars stay sharp (a
// colour bitmap may be kept with lossy compression, which blurs the edges a scanner reads) and
// the page stays small. The white of the bitmap is painted first, so it still covers what lies
// under it; the black pixels are then painted in black.
void printBlackAndWhite(TCanvas& canvas, const QImage& bitmap, const TRect& dest)
{
    QImage mono = bitmap.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither | Qt::AvoidDither);
    const QList<QRgb> blackWhite{qRgb(0, 0, 0), qRgb(255, 255, 255)};
    if (mono.colorTable() != blackWhite) {
        if (mono.colorCount() == 2 && mono.color(0) == blackWhite[1] && mono.color(1) == blackWhite[0])
            mono.invertPixels();
        else
            mono = bitmap.convertToFormat(QImage::Format_RGB32); // not two colours: as it is
        if (mono.depth() == 1)
            mono.setColorTable(blackWhite);
    }
    const platform::TBrush brush = canvas.Brush;
    canvas.Brush.SetStyle(platform::bsSolid);
    canvas.Brush.SetColor(platform::clWhite);
    canvas.FillRect(dest);
    canvas.Brush = brush;
    QPainter* painter = canvas.Painter();
    if (painter == nullptr)
        return;
    // A one-bit image is painted in the pen's colour; the painter's state comes back after.
    painter->save();
    painter->setPen(Qt::black);
    painter->setRenderHint(QPainter::LosslessImageRendering, true);
    PrintBitmap(mono, canvas, dest.Left, dest.Top, dest.Width(), dest.Height());
    painter->restore();
}

} // namespace

void DrawImages(const RenderContext& ctx, const TPreparedLabel& label)
{
    TCanvas& canvas = ctx.Canvas;
    ForEachPrepared<TImage>(label, [&](const TImage& image, const TPreparedObject& prepared) {
        const QImage& picture = prepared.Picture;
        if (picture.isNull())
            return;
        const int w = image.Width;
        const int h = prepared.PictureHeight;
        const TRect box = ctx.Box(image, h);
        auto put = [&](const QImage& bitmap, const TRect& dest, bool graphic) {
            if (ctx.Target.Printer && !graphic)
                PrintBitmap(bitmap, canvas, dest.Left, dest.Top, dest.Width(), dest.Height());
            else
                canvas.StretchDraw(dest, bitmap);
        };
        auto putWindow = [&](int x, int y) {
            const Window window = pictureWindow(ctx, image, box, picture, x, y, w, h);
            if (!window.bitmap.isNull())
                put(window.bitmap, window.dest, false);
        };
        if (image.Stretch)
            put(picture, box, prepared.Graphic);
        if (image.AutoSize() && w > 0 && h > 0)
            putWindow(0, 0);
        if (image.Center && w > 0 && h > 0)
            putWindow((picture.width() - w) / 2, (picture.height() - h) / 2);
    });
}

void DrawShapes(const RenderContext& ctx, const TPreparedLabel& label)
{
    TCanvas& canvas = ctx.Canvas;
    ForEachPrepared<TShape>(label, [&](const TShape& object, const TPreparedObject&) {
        const TShape* shape = &object;
        // The object's pen as it is: its width is not scaled.
        canvas.Pen = shape->Pen;
        canvas.Brush = shape->Brush;
        const TRect b = ctx.Box(*shape);
        switch (shape->Shape) {
        case stRectangle:
            canvas.Rectangle(b);
            break;
        case stEllipse:
            canvas.Ellipse(b);
            break;
        case stRoundRect: {
            const int r = std::min(b.Width(), b.Height()) / 4;
            canvas.RoundRect(b.Left, b.Top, b.Right, b.Bottom, r, r);
            break;
        }
        }
    });
}

void DrawLines(const RenderContext& ctx, const TPreparedLabel& label)
{
    TCanvas& canvas = ctx.Canvas;
    ForEachPrepared<TLine>(label, [&](const TLine& object, const TPreparedObject&) {
        const TLine* line = &object;
        canvas.Pen = line->Pen;
        canvas.Pen.SetWidth(R(ctx.ScaleX * line->Pen.Width()));
        const TRect b = ctx.Box(*line);
        switch (line->Line()) {
        case ltUpDiagonal:
            canvas.MoveTo(b.Left, b.Bottom);
            canvas.LineTo(b.Right, b.Top);
            break;
        case ltDownDiagonal:
            canvas.MoveTo(b.Left, b.Top);
            canvas.LineTo(b.Right, b.Bottom);
            break;
        case ltHorizontal: {
            const int m = b.Top + (b.Bottom - b.Top) / 2;
            canvas.MoveTo(b.Left, m);
            canvas.LineTo(b.Right, m);
            break;
        }
        case ltVertical: {
            const int m = b.Left + (b.Right - b.Left) / 2;
            canvas.MoveTo(m, b.Top);
            canvas.LineTo(m, b.Bottom);
            break;
        }
        default:
            break; // designs hold only the four kinds above
        }
    });
}

void DrawBarcodes(const RenderContext& ctx, const TPreparedLabel& label)
{
    TCanvas& canvas = ctx.Canvas;
    ForEachPrepared<TBarcodeObject>(label, [&](const TBarcodeObject& object, const TPreparedObject& prepared) {
        // The record's texts go to a copy of the encoder: the design's barcode is left alone.
        TLLBarcode encoder = object.Barcode().MergedEncoder(prepared.Text, prepared.Addon);
        const int left = R(ctx.ScaleX * object.Left) - ctx.Origin.X;
        const int top = R(ctx.ScaleY * object.Top) - ctx.Origin.Y;
        if (ctx.Target.Printer && !ctx.Target.Wysiwyg) {
            // At the printer's own resolution.
            barcode::LoMetricPrint(encoder, canvas, left, nullptr, top);
            return;
        }
        // As on screen: a bitmap at design resolution, stretched to the scale. The symbol is
        // encoded and laid out once, then drawn from that layout.
        TCanvas measure;
        measure.SetLogPixels(TCustomBarcode::DesignPixelsPerInch, TCustomBarcode::DesignPixelsPerInch);
        const barcode::TBarcodeGeometry layout = encoder.Layout(measure);
        const barcode::btCodeRotate rotation = encoder.Params.Rotation;
        const bool quarterTurn = rotation == barcode::rotate_090 || rotation == barcode::rotate_270;
        const platform::TSize size{quarterTurn ? layout.Height : layout.Width,
                                   quarterTurn ? layout.Width : layout.Height};
        if (size.cx <= 0 || size.cy <= 0)
            return;
        QImage bitmap(size.cx, size.cy, QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        {
            TCanvas onBitmap(&bitmap);
            onBitmap.SetLogPixels(TCustomBarcode::DesignPixelsPerInch, TCustomBarcode::DesignPixelsPerInch);
            int width = 0;
            int height = 0;
            encoder.DrawLayout(onBitmap, layout, 0, 0, width, height);
        }
        const TRect dest{left, top, left + R(ctx.ScaleX * size.cx), top + R(ctx.ScaleY * size.cy)};
        if (ctx.Target.Printer) {
            printBlackAndWhite(canvas, bitmap, dest);
        } else {
            canvas.StretchDraw(dest, bitmap);
        }
    });
}

} // namespace design
