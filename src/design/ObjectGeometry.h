#pragma once

#include "DesignObjects.h"

#include <QString>

#include <vector>

namespace platform {
class TCanvas;
}

// The geometry of the objects that size themselves: tilted texts are squares sized by their
// caption, horizontal and vertical lines are ten times their pen width thick, circular texts grow
// in height to their lowest character, barcodes take the size of their symbol. The layout step
// computes that size from the record; painting reads it and changes nothing.
namespace design {

// A canvas that only measures, at the design window's resolution.
platform::TCanvas& DesignMeasureCanvas();

// --- Tilted text ---
// The angle a tilted text is drawn at: the record's angle modulo 360, keeping its sign (so an
// angle within a turn stays as it is). Any int times 10 then fits a font escapement.
int ReducedAngle(int degrees);
// Width = Height = text width of Caption + three blanks in the object's font.
void LayoutRotateLabel(TRotateLabel& label, platform::TCanvas& measure);
// Paints at (0, 0) of the canvas (the object's own box): the caption turned about the centre of
// the square, on a turned background polygon when opaque.
void PaintRotateLabel(platform::TCanvas& canvas, const TRotateLabel& label);

// --- Line ---
struct TLineEnds {
    int FromX = 0;
    int FromY = 0;
    int ToX = 0;
    int ToY = 0;
    friend bool operator==(const TLineEnds&, const TLineEnds&) = default;
};
// The end points of a kind in a box of width x height; for ltCustom the stored points.
TLineEnds LineEnds(const TLine& line, int width, int height);
// Stores the end points of the line's kind, clamps and fits a custom line's points (its box grows
// to hold them, never shrinks) and makes a horizontal (vertical) line ten pen widths high (wide).
void LayoutLine(TLine& line);
// One stroke between the stored end points (the end pixel left out).
void PaintLine(platform::TCanvas& canvas, const TLine& line);

// --- Circular text ---
struct TCircleGlyph {
    QString Char;
    int X = 0; // baseline centre, in the object's box
    int Y = 0;
    int Escapement = 0; // tenths of a degree, a 16-bit value
};
struct TCircleTextLayout {
    std::vector<TCircleGlyph> Glyphs; // empty: nothing is drawn
    int MaxY = 0;                     // the lowest point the text reaches (at least the height)
};
// The placement of the characters on the circle. `textWidth` is the width of the whole caption in
// the font (used only without even spacing), `fontHeight` the font height (its sign is ignored).
// A caption of fewer than two characters, or a circle of no width without even spacing, gives no
// glyphs and leaves the height.
TCircleTextLayout CircleTextLayout(const QString& caption, int startingVector, int degrees,
                                   bool evenSpaceChars, int width, int height, int fontHeight,
                                   int textWidth);
// Grows Height to the lowest character; never shrinks.
void LayoutCircleLabel(TCircleLabel& label, platform::TCanvas& measure);
void PaintCircleLabel(platform::TCanvas& canvas, const TCircleLabel& label);

// --- Barcode ---
// Width and Height := the size of the symbol at the design resolution; the barcode object takes
// the record's position. Settings that do not encode leave the size (the error stays in the
// barcode's LastError).
void LayoutBarcode(TBarcodeObject& barcode);

// The layout of any object (nothing for kinds whose size is set from outside).
void LayoutObject(TDesignObject& object, platform::TCanvas& measure);
void LayoutObject(TDesignObject& object);

} // namespace design
