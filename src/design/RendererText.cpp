#include "RendererPasses.h"

#include "DesignModel.h"
#include "ObjectGeometry.h"

#include "platform/Rounding.h"
#include "platform/TCanvas.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numbers>
#include <vector>

// The text passes of the renderer: simple texts, tilted texts, text blocks and circular texts.
namespace design {

using platform::TCanvas;
using platform::TPoint;
using platform::TRect;

namespace {

unsigned alignmentFlags(TAlignment alignment)
{
    switch (alignment) {
    case taCenter:
        return platform::DT_CENTER;
    case taRightJustify:
        return platform::DT_RIGHT;
    case taLeftJustify:
        break;
    }
    return 0;
}

// Puts a canvas font back when a tilted text is done, also when drawing fails.
class FontRestore {
public:
    explicit FontRestore(TCanvas& canvas) : m_canvas(canvas), m_font(canvas.Font) {}
    ~FontRestore() { m_canvas.Font = m_font; }
    FontRestore(const FontRestore&) = delete;
    FontRestore& operator=(const FontRestore&) = delete;

private:
    TCanvas& m_canvas;
    platform::TFont m_font;
};

} // namespace

void DrawLabels(const RenderContext& ctx, const TPreparedLabel& prepared)
{
    TCanvas& canvas = ctx.Canvas;
    ForEachPrepared<TLabel>(prepared, [&](const TLabel& object, const TPreparedObject& merged) {
        const TLabel* label = &object;
        TRect box = ctx.Box(*label);
        if (!label->Transparent) {
            canvas.Pen.SetColor(label->Color);
            canvas.Pen.SetWidth(1);
            canvas.Pen.SetStyle(platform::psSolid);
            canvas.Brush.SetStyle(platform::bsSolid);
            canvas.Brush.SetColor(label->Color);
            canvas.Rectangle(box);
        }
        canvas.Brush.SetStyle(platform::bsClear);
        const QString& text = merged.Text;
        const unsigned flags = platform::DT_WORDBREAK | platform::DT_NOPREFIX | alignmentFlags(label->Alignment);
        FitTextFont(label->Font, box, flags, text, canvas, ctx.ScaleY);
        canvas.DrawText(text, box, flags);
    });
}

void DrawRotateLabels(const RenderContext& ctx, const TPreparedLabel& prepared)
{
    TCanvas& canvas = ctx.Canvas;
    ForEachPrepared<TRotateLabel>(prepared, [&](const TRotateLabel& object, const TPreparedObject& merged) {
        const TRotateLabel* label = &object;
        const QString& text = merged.Text;
        canvas.Font = label->Font;
        // The turned font is made from the object's and the object's comes back after.
        const FontRestore keep(canvas);
        const int angle = ReducedAngle(label->Angle());
        canvas.Font.SetEscapement(angle * 10);
        canvas.Font.SetHeight(R(ctx.ScaleY * label->Font.Height()));

        // The box is a square: its centre is Width / 2 from the left and from the top.
        const int cx = R(ctx.ScaleX * (label->Left + label->Width / 2)) - ctx.Origin.X;
        const int cy = R(ctx.ScaleY * (label->Top + label->Width / 2)) - ctx.Origin.Y;
        // Placed and backed by the caption as typed, so a record's value never moves the box.
        const int tw = canvas.TextWidth(label->Caption);
        const int th = canvas.TextHeight(label->Caption);
        const double a = angle * std::numbers::pi / 180.0;
        const double c = std::cos(a);
        const double s = std::sin(a);

        if (!label->Transparent) {
            const int tw2 = tw + R(ctx.ScaleX * 7);
            const int th2 = th + R(ctx.ScaleY * 5);
            const double hw = tw2 / 2.0;
            const double hh = th2 / 2.0;
            canvas.Brush.SetStyle(platform::bsSolid);
            canvas.Brush.SetColor(label->Color);
            canvas.Pen.SetColor(platform::clBlack);
            canvas.Pen.SetWidth(1);
            canvas.Pen.SetStyle(platform::psSolid);
            canvas.Polygon({
                {cx - T(hw * c) - T(hh * s), cy + T(hw * s) - T(hh * c)},
                {cx + T(hw * c) - T(hh * s), cy - T(hw * s) - T(hh * c)},
                {cx + T(hw * c) + T(hh * s), cy - T(hw * s) + T(hh * c)},
                {cx - T(hw * c) + T(hh * s), cy + T(hw * s) + T(hh * c)},
            });
        }
        canvas.Brush.SetStyle(platform::bsClear);
        canvas.TextOut(cx - T(tw / 2.0 * c) - T(th / 2.0 * s), cy + T(tw / 2.0 * s) - T(th / 2.0 * c), text);
    });
}

void DrawMemos(const RenderContext& ctx, const TPreparedLabel& prepared)
{
    TCanvas& canvas = ctx.Canvas;
    ForEachPrepared<TMemo>(prepared, [&](const TMemo& object, const TPreparedObject& merged) {
        const TMemo* memo = &object;
        // The line pitch of the block as the editor shows it, in design pixels.
        const platform::TTextMetric tm = platform::GetTextMetrics(memo->Font);
        int pitch = tm.tmHeight + tm.tmExternalLeading;

        const TRect box = ctx.Box(*memo);
        canvas.Pen.SetStyle(platform::psSolid);
        canvas.Pen.SetWidth(1);
        canvas.Pen.SetColor(memo->BorderStyle == bsSingle ? platform::clBlack : memo->Color);
        canvas.Brush.SetStyle(platform::bsSolid);
        canvas.Brush.SetColor(memo->Color);
        canvas.Rectangle(box);
        canvas.Brush.SetStyle(platform::bsClear);

        const unsigned flags = platform::DT_SINGLELINE | platform::DT_NOPREFIX | alignmentFlags(memo->Alignment);
        int sum = 0;
        for (const QString& text : merged.Lines) {
            const int top = box.Top + R(ctx.ScaleY * 2) + sum;
            TRect lineBox{box.Left + R(ctx.ScaleX * 2), top, box.Right - R(ctx.ScaleX * 3), top + R(ctx.ScaleY * pitch)};
            if (pitch == 0)
                pitch = canvas.TextHeight(text);
            sum += R(ctx.ScaleY * pitch);
            // A line that does not end above the bottom is not drawn, nor any after it.
            if (!(box.Top + sum < box.Bottom))
                break;
            FitTextFont(memo->Font, lineBox, flags, text, canvas, ctx.ScaleY);
            canvas.DrawText(text, lineBox, flags);
        }
    });
}

void DrawCircleLabels(const RenderContext& ctx, const TPreparedLabel& prepared)
{
    TCanvas& canvas = ctx.Canvas;
    ForEachPrepared<TCircleLabel>(prepared, [&](const TCircleLabel& object, const TPreparedObject& merged) {
        const TCircleLabel* label = &object;
        const QString& text = merged.Text;
        const int n = static_cast<int>(text.size());
        if (n < 2)
            return;
        canvas.Font = label->Font;
        canvas.Font.SetHeight(R(ctx.ScaleY * label->Font.Height()));
        canvas.SetTextAlign(platform::TA_CENTER | platform::TA_BASELINE);
        // The background mode follows the brush at the next text output, so a solid brush left
        // by an earlier pass (or the canvas's own) would put a box behind every letter.
        canvas.Brush.SetStyle(platform::bsClear);
        canvas.SetBkMode(platform::TRANSPARENT);

        const int sv = label->StartingVector();
        int arc = label->Degrees();
        if (!label->EvenSpaceChars()) {
            // The arc the text needs on the circle; a circle of no width (or too small a scale)
            // has no arc, and the object is not drawn.
            const int circumference = T(ctx.ScaleX * label->Width * std::numbers::pi);
            if (circumference == 0) {
                canvas.SetTextAlign(0);
                return;
            }
            const int needed = T(1.75 * canvas.TextWidth(text));
            arc = (T(static_cast<double>(needed) / circumference * 360) / n) * n;
        }
        const int r0 = R(ctx.ScaleY * label->Width / 2.0);
        const int radius = r0 - 4 - std::abs(canvas.Font.Height());
        const int step = arc / (n - 1);
        const int baseX = r0 + R(ctx.ScaleX * label->Left) - ctx.Origin.X;
        const int baseY = r0 + R(ctx.ScaleY * label->Top) - ctx.Origin.Y;
        for (int i = 0; i < n; ++i) {
            const double theta = (i * step - sv) * std::numbers::pi / 180.0;
            const int x = R(std::cos(theta) * radius) + baseX;
            const int y = R(std::sin(theta) * radius) + baseY;
            const auto escapement = static_cast<std::int16_t>((sv - 90) * 10 - i * step * 10);
            DrawRotatedText(canvas, x, y, text.mid(i, 1), escapement);
        }
        canvas.SetTextAlign(0);
    });
}

} // namespace design
