#pragma once

#include "platform/Graphics.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QRectF>
#include <QString>
#include <array>
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
    // device, and is widened by one each side. Empty for a text that draws nothing. The text's
    // advance comes along in `advance`, when given: laying a line out takes both in one pass.
    QRectF inkBounds(const QString& text, double* advance = nullptr) const;

private:
    // What a character needs for measuring: its advance and its glyph's box, side by side.
    // Latin-1 characters, nearly all a label holds, sit in one table read without any lookup.
    struct Glyph {
        double advance = 0;
        double left = 0, top = 0, right = 0, bottom = 0;
        bool inked = false; // a box that is not empty
        bool known = false;
    };
    const Glyph& glyph(char16_t c) const
    {
        const Glyph& g = c < m_latin1.size() ? m_latin1[c] : m_glyphs[c];
        return g.known ? g : learn(c);
    }
    const Glyph& learn(char16_t c) const;

    mutable std::array<Glyph, 256> m_latin1{};
    mutable QHash<char16_t, Glyph> m_glyphs; // other characters of the basic plane
};

// `height` is the font height in device pixels with its sign (see TFont); 0 takes the default
// 12-point height at `deviceDpiY`, the device's logical resolution.
std::shared_ptr<const Face> face(const QString& name, int height, TFontStyles style, int deviceDpiY);

// "Arial", "Times New Roman" and "Courier New" resolve to their metric-compatible Liberation
// fonts whatever fontconfig says. Called by face(); harmless to call again.
void installSubstitutions();

} // namespace platform::fontengine
