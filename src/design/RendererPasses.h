#pragma once

#include "DesignObjects.h"
#include "Renderer.h"

#include "platform/Graphics.h"

#include <QString>

namespace platform {
class TCanvas;
}

// The renderer's passes, one per kind of object, in the order DrawDesign runs them.
namespace design {

struct RenderContext {
    platform::TCanvas& Canvas;
    const TDrawTarget& Target;
    platform::TPoint Origin;
    double ScaleX;
    double ScaleY;
    // The label's size in design pixels: nothing is drawn outside it.
    int LabelWidth;
    int LabelHeight;

    // The object's scaled box: R(scale * v) - origin for left and top, plus the scaled size.
    platform::TRect Box(const TDesignObject& object) const;
    platform::TRect Box(const TDesignObject& object, int height) const;
};

void DrawImages(const RenderContext& ctx, const TPreparedLabel& label);
void DrawShapes(const RenderContext& ctx, const TPreparedLabel& label);
void DrawLines(const RenderContext& ctx, const TPreparedLabel& label);
void DrawLabels(const RenderContext& ctx, const TPreparedLabel& label);
void DrawRotateLabels(const RenderContext& ctx, const TPreparedLabel& label);
void DrawMemos(const RenderContext& ctx, const TPreparedLabel& label);
void DrawCircleLabels(const RenderContext& ctx, const TPreparedLabel& label);
void DrawBarcodes(const RenderContext& ctx, const TPreparedLabel& label);

// The prepared objects of one kind, in the design's order, with their records.
template <class T, class F>
void ForEachPrepared(const TPreparedLabel& label, F&& draw)
{
    for (const TPreparedObject& prepared : label.Objects)
        if (const T* object = As<T>(prepared.Object))
            draw(*object, prepared);
}

} // namespace design
