// SPDX-License-Identifier: MIT
// shading.cpp: cmode, the shading function.
#include "colour/shading.h"

#include <cmath>

#include "colour/diagnostics.h"
#include "common/rounding.h"

namespace rubicel {

Fraction cmode(std::int16_t h1, std::int16_t h2, std::int16_t h3, std::int16_t mode, DiagnosticSink& sink) {
    // u keeps 0 until it is formed, and the error message shows what it holds.
    float u = 0.0f;

    /* Differences in 16 bits. */
    const auto above = difference16(h1, h2);
    const auto span = difference16(h3, h2);
    if (!above || !span) {
        sink.shadingError(kOverflow, u, h1, h2, h3);
        return Fraction::none();
    }
    if (*span == 0) {
        sink.shadingError(kDivisionByZero, u, h1, h2, h3);
        return Fraction::none();
    }

    /* Both differences are exact in single precision; the quotient is rounded once. */
    u = float(*above) / float(*span);
    if (u > 1.0f) sink.shadingAboveRange(h1, h2, h3, u);

    switch (mode) {
        case kContoured: return Fraction::zero();
        case kBlended: return Fraction::ofSingle(u);
        case kSquareRoot:
            if (u < 0.0f) {
                sink.shadingError(kInvalidArgument, u, h1, h2, h3);
                return Fraction::none();
            }
            return Fraction::ofDouble(std::sqrt(double(u)));
        case kSquared: return Fraction::ofSingle(u * u);
        default: return Fraction::none();
    }
}

}  // namespace rubicel
