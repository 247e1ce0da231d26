#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The program's three integer conversions. Lengths, pixels and sizes convert with halves going
// to the even neighbour (R); a few places truncate (T); the platform's MulDiv rounds halves away
// from zero. std::round and qRound round halves away from zero and must not stand in for R.
namespace platform {

// Rounds to the nearest integer, exact halves to the even neighbour: R(12.5) = 12, R(-2.5) = -2.
inline int R(double v)
{
#if defined(__SSE2__)
    // The conversion instruction rounds in the current mode, as std::nearbyint does, without the
    // library call: R runs for every coordinate drawn.
    return _mm_cvtsd_si32(_mm_set_sd(v));
#else
    return static_cast<int>(std::nearbyint(v)); // default FE_TONEAREST mode is banker's rounding
#endif
}

// Truncates toward zero.
inline int T(double v)
{
    return static_cast<int>(std::trunc(v));
}

// a * b / c computed in 64 bits, rounded half away from zero; -1 when c is 0 or the result does
// not fit in an int, as the platform gives.
inline int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    const bool negative = (p < 0) != (c < 0);
    const std::int64_t num = p < 0 ? -p : p;
    const std::int64_t den = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::int64_t q = (num + den / 2) / den;
    const std::int64_t r = negative ? -q : q;
    if (r > std::numeric_limits<int>::max() || r < std::numeric_limits<int>::min())
        return -1;
    return static_cast<int>(r);
}

} // namespace platform

using platform::MulDiv;
using platform::R;
using platform::T;
