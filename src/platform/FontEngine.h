#pragma once

#include "platform/Graphics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QRectF>
#include <QString>
#include <array>
#include <bitset>
#include <memory>

// Turns font descriptions into Qt fonts once and keeps them. Sizes are set in device pixels, never
// in points, so that the same description measures and draws the same on an image and in a PDF
// of the same resolution. Hinting, kerning and ligatures are off: widths grow linearly with the
// size (fitting a text steps sizes down and trusts the measures) and add up glyph by glyph.
namespace platform::fontengine {

struct Face {
    QFont font;
    QFontMetricsF metrics{QFont()};
    double emPx = 0;   // em height in device pixels
    double ascentPx = 0;
    double descentPx = 0;
    TTextMetric tm;

    // Advance of one character (a surrogate pair counts on its first half), and of a text as
    // the sum of its characters' advances: measuring is arithmetic once a character was seen.
    double charAdvance(const QString& text, int i) const;
    double advance(const QString& text) const;
    int width(const QString& text) const;
    // Where the text's glyphs can put ink, relative to its origin on the baseline (y down): the
    // union of the glyphs' boxes, which the font engine rounds outwards to whole pixels, each at
    // its advance. A glyph whose advance ends between pixels may be moved by up to a pixel on a
    // device, and is widened by one each side. Empty for a text that draws nothing.
    QRectF inkBounds(const QString& text) const;

private:
    mutable std::array<double, 256> m_latin1{}; // < 0: not measured yet
    mutable QHash<char16_t, double> m_others;
    mutable std::array<QRectF, 256> m_latin1Boxes{};
    mutable std::bitset<256> m_latin1BoxesReady;
    mutable QHash<char16_t, QRectF> m_glyphBoxes;
    mutable bool m_latin1Ready = false;
};

// `height` is the font height in device pixels with its sign (see TFont); 0 takes the default
// 12-point height at `deviceDpiY`, the device's logical resolution.
std::shared_ptr<const Face> face(const QString& name, int height, TFontStyles style, int deviceDpiY);

// "Arial", "Times New Roman" and "Courier New" resolve to their metric-compatible Liberation
// fonts whatever fontconfig says. Called by face(); harmless to call again.
void installSubstitutions();

} // namespace platform::fontengine
