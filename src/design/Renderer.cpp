#include "Renderer.h"

#include "DesignModel.h"
#include "RendererPasses.h"

#include "platform/Rounding.h"
#include "platform/TCanvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <optional>
#include <stdexcept>

namespace design {

using platform::TCanvas;
using platform::TPoint;
using platform::TRect;

namespace {

struct Pass {
    TDesignObjectKind kind;
    void (*draw)(const RenderContext&, const TPreparedLabel&);
};

// A label is drawn kind by kind, in this order, whatever the design order of the objects.
constexpr Pass passes[] = {
    {TDesignObjectKind::Image, DrawImages},        {TDesignObjectKind::Shape, DrawShapes},
    {TDesignObjectKind::Line, DrawLines},          {TDesignObjectKind::Label, DrawLabels},
    {TDesignObjectKind::RotateLabel, DrawRotateLabels}, {TDesignObjectKind::Memo, DrawMemos},
    {TDesignObjectKind::CircleLabel, DrawCircleLabels}, {TDesignObjectKind::Barcode, DrawBarcodes},
};
static_assert(std::size(passes) == DesignObjectKindCount);

void drawPasses(const RenderContext& ctx, const TPreparedLabel& label)
{
    for (const Pass& pass : passes)
        pass.draw(ctx, label);
}

} // namespace

int PrintLayer(TDesignObjectKind kind)
{
    for (std::size_t i = 0; i < std::size(passes); ++i)
        if (passes[i].kind == kind)
            return static_cast<int>(i);
    return 0;
}

double DesignScale(int devicePixelsPerInch, int designPixelsPerInch)
{
    if (devicePixelsPerInch <= 0 || designPixelsPerInch <= 0)
        return 0.0;
    return static_cast<double>(devicePixelsPerInch) / designPixelsPerInch;
}

void DrawDesign(TCanvas& canvas, const TDesignModel& model, const TPreparedLabel& label,
                const TDrawTarget& target, TPoint origin, double scaleX, double scaleY, bool outline)
{
    // The prepared objects point into the design: a label of another design, or of this one
    // before it changed, would read freed objects.
    const auto& objects = model.Objects();
    bool matches = label.Objects.size() == objects.size();
    for (std::size_t i = 0; matches && i < objects.size(); ++i)
        matches = label.Objects[i].Object == objects[i].get();
    if (!matches)
        throw std::logic_error("DrawDesign: the label was not prepared from this design");

    // Nothing sensible can be drawn without a scale or a label: no division may see a zero.
    if (!(scaleX > 0.0) || !(scaleY > 0.0) || !std::isfinite(scaleX) || !std::isfinite(scaleY))
        return;
    if (model.LargeurEtiquettePx <= 0 || model.HauteurEtiquettePx <= 0)
        return;

    const TRect bounds{-origin.X, -origin.Y, R(model.LargeurEtiquettePx * scaleX) - origin.X,
                       R(model.HauteurEtiquettePx * scaleY) - origin.Y};
    const RenderContext ctx{canvas, target, origin, scaleX, scaleY, model.LargeurEtiquettePx,
                            model.HauteurEtiquettePx};
    // Rectangular also for round labels; the previous clipping comes back on every path.
    platform::TClipGuard clip(canvas, bounds);

    drawPasses(ctx, label);

    if (outline) {
        canvas.Pen.SetColor(platform::clBlack);
        canvas.Pen.SetStyle(platform::psSolid);
        canvas.Pen.SetWidth(1);
        canvas.Pen.SetMode(platform::pmCopy);
        canvas.Brush.SetStyle(platform::bsClear);
        if (model.Format().EtiquetteRonde)
            canvas.Ellipse(bounds);
        else
            canvas.Rectangle(bounds);
    }
}

void DrawObject(TCanvas& canvas, const TPreparedObject& prepared, const TDrawTarget& target)
{
    if (prepared.Object == nullptr)
        return;
    const TDesignObject& o = *prepared.Object;
    // The "label" ends at the object's far edges, so an image window is cut only by its own box.
    const RenderContext ctx{canvas, target, TPoint{o.Left, o.Top}, 1.0, 1.0, o.Left + o.Width,
                            o.Top + std::max(o.Height, prepared.PictureHeight)};
    drawPasses(ctx, TPreparedLabel{{prepared}});
}

TRect RenderContext::Box(const TDesignObject& o) const
{
    return Box(o, o.Height);
}

TRect RenderContext::Box(const TDesignObject& o, int height) const
{
    const int left = R(ScaleX * o.Left) - Origin.X;
    const int top = R(ScaleY * o.Top) - Origin.Y;
    return {left, top, left + R(ScaleX * o.Width), top + R(ScaleY * height)};
}

int FittingFontHeight(const platform::TFont& font, int boxHeight, double scaleY,
                      const std::function<bool(int canvasHeight)>& fits)
{
    const auto canvasHeight = [&](int height) { return R(height * scaleY); };
    // A line of text is at least as tall as the font's characters: a size whose scaled character
    // height exceeds the box cannot fit, and measuring it (a size of a million points) would
    // only cost time.
    const auto tooTall = [&](int height) { return std::abs(std::nearbyint(height * scaleY)) > boxHeight; };
    const auto fitsAt = [&](int height) { return !tooTall(height) && fits(canvasHeight(height)); };

    // The font's own height first (it may not be a whole point size).
    if (fitsAt(font.Height()))
        return font.Height();
    const int ownSize = font.Size();
    if (ownSize - 1 < 3)
        return font.Height();
    platform::TFont scratch = font;
    const auto heightAt = [&](int size) {
        scratch.SetSize(size);
        return scratch.Height();
    };
    // The largest size from ownSize - 1 down to 3 that fits, else 3: fits(low) holds or low is
    // the fallback, high + 1 does not fit.
    int low = 3;
    int high = ownSize - 1;
    if (!fitsAt(heightAt(low)))
        return heightAt(3);
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (fitsAt(heightAt(mid)))
            low = mid;
        else
            high = mid - 1;
    }
    return heightAt(low);
}

void FitTextFont(const platform::TFont& font, const TRect& box, unsigned format, const QString& text,
                 TCanvas& canvas, double scaleY)
{
    // The canvas font is made once per size tried; most texts fit at their own size, which is
    // then the one the canvas already holds.
    std::optional<int> heightSet;
    const auto setHeight = [&](int canvasHeight) {
        if (heightSet == canvasHeight)
            return;
        canvas.Font = font;
        canvas.Font.SetHeight(canvasHeight);
        heightSet = canvasHeight;
    };
    // An empty text measures nothing at any size: no size is too tall for it.
    const int boxHeight = text.isEmpty() ? std::numeric_limits<int>::max() : box.Height();
    const auto fits = [&](int canvasHeight) {
        setHeight(canvasHeight);
        TRect measured = box;
        canvas.DrawText(text, measured, format | platform::DT_CALCRECT);
        return measured.Width() <= box.Width() && measured.Height() <= box.Height();
    };
    // Taken by address, so that the function object holds it in place instead of allocating:
    // every text of every label is fitted.
    const int height = FittingFontHeight(font, boxHeight, scaleY, [f = &fits](int canvasHeight) { return (*f)(canvasHeight); });
    setHeight(R(height * scaleY));
}

void DrawRotatedText(TCanvas& canvas, int x, int y, const QString& text, int escapement)
{
    const int previous = canvas.Font.Escapement();
    canvas.Font.SetEscapement(static_cast<std::int16_t>(escapement));
    // The font comes back even when drawing fails.
    struct Restore {
        TCanvas& c;
        int e;
        ~Restore() { c.Font.SetEscapement(e); }
    } restore{canvas, previous};
    canvas.TextOut(x, y, text);
}

void PrintBitmap(const QImage& bitmap, TCanvas& canvas, int x, int y, int width, int height)
{
    if (bitmap.isNull())
        return;
    if (width < 1 || height < 1) {
        width = bitmap.width();
        height = bitmap.height();
    }
    // A palette image goes with its colours resolved; one bit per pixel stays as it is.
    const QImage dib = bitmap.format() == QImage::Format_Indexed8 ? bitmap.convertToFormat(QImage::Format_RGB32) : bitmap;
    canvas.StretchDraw(platform::Bounds(x, y, width, height), dib);
}

} // namespace design
