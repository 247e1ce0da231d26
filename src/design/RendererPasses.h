#pragma once

#include "Renderer.h"

#include "platform/Graphics.h"

#include <QString>

namespace platform {
class TCanvas;
}

// The renderer's passes, one per kind of object, in the order DrawDesign runs them.
namespace design {

class TDesignModel;
class TDesignObject;

struct RenderContext {
    platform::TCanvas& Canvas;
    const TDrawInputs& Inputs;
    platform::TPoint Origin;
    double ScaleX;
    double ScaleY;
    int Row;
    int PrintIndex;

    // The object's scaled box: R(scale * v) - origin for left and top, plus the scaled size.
    platform::TRect Box(const TDesignObject& object) const;
    platform::TRect Box(const TDesignObject& object, int height) const;
    // The text merged for the record being drawn.
    QString Merge(const QString& text) const;
};

void DrawImages(const RenderContext& ctx, TDesignModel& model);
void DrawShapes(const RenderContext& ctx, TDesignModel& model);
void DrawLines(const RenderContext& ctx, TDesignModel& model);
void DrawLabels(const RenderContext& ctx, TDesignModel& model);
void DrawRotateLabels(const RenderContext& ctx, TDesignModel& model);
void DrawMemos(const RenderContext& ctx, TDesignModel& model);
void DrawCircleLabels(const RenderContext& ctx, TDesignModel& model);
void DrawBarcodes(const RenderContext& ctx, TDesignModel& model);

} // namespace design
