#include "RendererPasses.h"

#include "DesignModel.h"
#include "Pictures.h"

#include "barcode/Barcode.h"
#include "platform/HourGlass.h"
#include "platform/Paths.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"

#include <QFileInfo>
#include <QPainter>

namespace design {

using platform::TCanvas;
using platform::TRect;
using barcode::TBarcode;
using barcode::TBarcodeMergedTexts;
using barcode::TCustomBarcode;

namespace {

// A bitmap of width x height holding the window (x, y) of the picture, white where the window
// leaves the picture: the platform's new bitmaps are white.
QImage pictureWindow(const QImage& picture, int x, int y, int width, int height)
{
    QImage out(width, height, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(-x, -y, picture);
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

// Field pictures are loaded for the record; an icon or a metafile is drawn as a graphic,
// anything else as a bitmap.
struct Source {
    QImage picture;
    bool graphic = false;
};

} // namespace

void DrawImages(const RenderContext& ctx, TDesignModel& model)
{
    TCanvas& canvas = ctx.Canvas;
    for (TImage* image : model.ObjectsOf<TImage>()) {
        Source source;
        int height = image->Height;
        if (image->Hint.startsWith(u'<')) {
            // The merged path is used as it stands, without the picture folders.
            const QString path = platform::findExisting(ctx.Merge(image->Hint));
            if (path.isEmpty() || !QFileInfo(path).isFile())
                continue;
            const platform::HourGlass busy;
            const QString ext = QFileInfo(path).suffix().toUpper();
            source.graphic = ext == u"ICO" || ext == u"WMF";
            const TImageTag tag = DecodeImageTag(image->Tag);
            // The proportions are those of the object's own (placeholder) picture; the height is
            // used for this drawing only, the model keeps its own.
            const QImage& own = image->Picture();
            if (tag.KeepProportions && !own.isNull() && own.width() > 0)
                height = R(static_cast<double>(image->Width) * own.height() / own.width());
            source.picture = RotatePicture(LoadPicture(path), tag.Angle);
        } else {
            source.picture = image->Picture();
        }
        if (source.picture.isNull())
            continue;

        const TRect box = ctx.Box(*image, height);
        auto put = [&](const QImage& bitmap, bool graphic) {
            if (ctx.Inputs.Printer && !graphic)
                PrintBitmap(bitmap, canvas, box.Left, box.Top, box.Width(), box.Height());
            else
                canvas.StretchDraw(box, bitmap);
        };
        const int w = image->Width;
        const int h = height;
        if (image->Stretch)
            put(source.picture, source.graphic);
        if (image->AutoSize() && w > 0 && h > 0)
            put(pictureWindow(source.picture, 0, 0, w, h), false);
        if (image->Center && w > 0 && h > 0) {
            const int dx = (source.picture.width() - w) / 2;
            const int dy = (source.picture.height() - h) / 2;
            put(pictureWindow(source.picture, dx, dy, w, h), false);
        }
    }
}

void DrawShapes(const RenderContext& ctx, TDesignModel& model)
{
    TCanvas& canvas = ctx.Canvas;
    for (const TShape* shape : model.ObjectsOf<TShape>()) {
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
    }
}

void DrawLines(const RenderContext& ctx, TDesignModel& model)
{
    TCanvas& canvas = ctx.Canvas;
    for (const TLine* line : model.ObjectsOf<TLine>()) {
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
    }
}

void DrawBarcodes(const RenderContext& ctx, TDesignModel& model)
{
    TCanvas& canvas = ctx.Canvas;
    for (TBarcodeObject* object : model.ObjectsOf<TBarcodeObject>()) {
        TBarcode& barcode = object->Barcode();
        // The record's texts stay in the barcode only while it is drawn, whatever happens.
        const TBarcodeMergedTexts merged(barcode, ctx.Merge(barcode.Bar_Caption()),
                                         ctx.Merge(barcode.Bar_CodeAddon()));
        const int left = R(ctx.ScaleX * object->Left) - ctx.Origin.X;
        const int top = R(ctx.ScaleY * object->Top) - ctx.Origin.Y;
        if (ctx.Inputs.Printer && !ctx.Inputs.Wysiwyg) {
            // At the printer's own resolution.
            barcode.LoMetricPrint(canvas, left, nullptr, top);
            continue;
        }
        // As on screen: a bitmap at design resolution, stretched to the scale.
        platform::TSize size;
        {
            TCanvas measure;
            measure.SetLogPixels(TCustomBarcode::DesignPixelsPerInch, TCustomBarcode::DesignPixelsPerInch);
            barcode.LoMetricPrint(measure, 0, &size, 0);
        }
        if (size.cx <= 0 || size.cy <= 0)
            continue;
        QImage bitmap(size.cx, size.cy, QImage::Format_RGB32);
        bitmap.fill(Qt::white);
        {
            TCanvas onBitmap(&bitmap);
            onBitmap.SetLogPixels(TCustomBarcode::DesignPixelsPerInch, TCustomBarcode::DesignPixelsPerInch);
            barcode.LoMetricPrint(onBitmap, 0, nullptr, 0);
        }
        const TRect dest{left, top, left + R(ctx.ScaleX * size.cx), top + R(ctx.ScaleY * size.cy)};
        if (ctx.Inputs.Printer) {
            printBlackAndWhite(canvas, bitmap, dest);
        } else {
            canvas.StretchDraw(dest, bitmap);
        }
    }
}

} // namespace design
