#pragma once

#include "platform/FontEngine.h"
#include "platform/Rounding.h"
#include "platform/TCanvas.h"

#include <QPainter>
#include <QPen>
#include <QStringList>
#include <QTransform>
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// State shared by the canvas's drawing and text halves (TCanvas.cpp, TCanvasText.cpp).
namespace platform {

// The lines of the text laid out last, their widths and ink, for the drawing that usually follows its
// measuring: a fitted text is measured at the size it is then drawn at.
struct TextLayout {
    QString text;
    std::shared_ptr<const fontengine::Face> face;
    unsigned format = 0;
    int width = 0;
    QStringList lines;
    std::vector<int> widths;
    std::vector<QRectF> inks; // each line's inkBounds
};

struct TCanvas::State {
    // Revisions of Pen/Brush last turned into Qt objects; 0 forces a rebuild.
    std::uint64_t penRevision = 0;
    std::uint64_t brushRevision = 0;
    // Revision of Brush whose background (bk mode and colour) was last applied.
    std::uint64_t backgroundBrushRevision = 0;
    // Revision of Brush that fillBrush was last built from.
    std::uint64_t fillBrushRevision = 0;
    // A rebuilt pen or brush equal to the one before is not taken: QPainter tells brushes apart
    // by their shared data, and every pen or brush it sends costs a PDF writer a new state.
    QPen qpen;
    QBrush qbrush;
    QBrush fillBrush; // FillRect's: the brush colour whatever the pen mode
    QPainter::CompositionMode composition = QPainter::CompositionMode_SourceOver;
    bool drawNothing = false; // pmNop
    // What the painter currently holds, to skip needless calls.
    bool painterOpaque = false;
    // The painter's clip, when known: on a PDF writer every change of it restores the graphics
    // state and sends the pen and brush again, so the canvas's clip goes to the painter only
    // when a drawing could reach beyond it.
    bool painterClipKnown = false;
    bool painterClipOn = false;
    QRect painterClip;
    QColor painterBackground;
    std::shared_ptr<const fontengine::Face> painterFace;
    QPainter::CompositionMode painterComposition = QPainter::CompositionMode_SourceOver;
    // The painter's transformation when the canvas took it: identity for a painter of its own,
    // whatever the owner set for a borrowed one. "Device" coordinates are relative to it.
    QTransform baseTransform;

    // The device whose vertical resolution deviceDpiY holds; forgotten when the painter goes.
    const QPaintDevice* dpiDevice = nullptr;
    int deviceDpiY = 0;
    // The face of Font for this device, rebuilt when any of the inputs changes.
    std::shared_ptr<const fontengine::Face> face;
    std::uint64_t faceFontRevision = 0;
    int faceDeviceDpi = 0;
    int faceHeight = 0;
    QString faceName;
    TFontStyles faceStyle;
    // The last faces taken: a label's texts take turns between a few fonts, which are found
    // here again without asking the font engine's cache.
    struct RecentFace {
        std::shared_ptr<const fontengine::Face> face;
        QString name;
        int height = 0;
        TFontStyles style;
        int deviceDpi = 0;
    };
    std::array<RecentFace, 4> recentFaces;
    std::size_t nextRecentFace = 0;

    TextLayout layout;

    // Axis scales of the map mode: device = logical * num / den (y negated when yUp).
    int numX = 1, denX = 1, numY = 1, denY = 1;
    bool yUp = false;
};

// A logical rectangle in device pixels, normalised. Inline for the common mapping, pixels as in
// MM_TEXT: a barcode sends a rectangle for each of its bars.
inline TRect TCanvas::deviceRect(int left, int top, int right, int bottom) const
{
    const State& s = *m_state;
    if (s.numX == s.denX && s.numY == s.denY && !s.yUp)
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    return mappedRect(left, top, right, bottom);
}

// Map-mode arithmetic, rounding halves away from zero like the platform.
inline int scaleToDevice(int v, int num, int den)
{
    return num == den ? v : MulDiv(v, num, den);
}

} // namespace platform
