#pragma once

#include <vector>

namespace design {

// One millimetre mark of a ruler: where it stands along the ruler (pixels), how long it is (3 for
// a millimetre, 6 for a half centimetre, 9 for a centimetre) and, on a centimetre, the number it
// carries (millimetre number div 10, negative numbers included).
struct TRulerTick {
    int Position = 0;
    int Length = 0;
    bool Labelled = false;
    int Centimetres = 0;
    friend bool operator==(const TRulerTick&, const TRulerTick&) = default;
};

// The marks of a ruler `extent` pixels long whose first mark (pixel 0) is millimetre `orig`, at
// `zoom` percent on a screen of `pixelsPerInch`. Positions accumulate a real step and round each
// one halves to even, so the marks keep the true scale over the whole ruler. A zoom or a
// resolution of 0 or below gives no marks (the step would never advance).
std::vector<TRulerTick> RulerTicks(int orig, int zoom, int pixelsPerInch, int extent);

// The ruler's origin for a surface scrolled by `scrollPixels`: the nearest whole millimetre.
int RulerOrigin(int scrollPixels, int pixelsPerInch);

} // namespace design
