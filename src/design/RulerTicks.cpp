#include "RulerTicks.h"

#include "platform/Rounding.h"

namespace design {

std::vector<TRulerTick> RulerTicks(int orig, int zoom, int pixelsPerInch, int extent)
{
    std::vector<TRulerTick> ticks;
    if (zoom <= 0 || pixelsPerInch <= 0)
        return ticks;
    const double step = zoom / 100.0 * pixelsPerInch / 25.4;
    int n = orig;
    for (double pos = 0.0; pos < extent; pos += step, ++n) {
        TRulerTick t;
        t.Position = static_cast<int>(platform::R(pos));
        // C++ keeps the sign of n in % and /, so -10 is a centimetre mark labelled -1.
        t.Length = n % 10 == 0 ? 9 : n % 5 == 0 ? 6 : 3;
        t.Labelled = n % 10 == 0;
        t.Centimetres = n / 10;
        ticks.push_back(t);
    }
    return ticks;
}

int RulerOrigin(int scrollPixels, int pixelsPerInch)
{
    if (pixelsPerInch <= 0)
        return 0;
    return static_cast<int>(platform::R(scrollPixels * 25.4 / pixelsPerInch));
}

} // namespace design
