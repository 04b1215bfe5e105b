// SPDX-License-Identifier: MIT
// shading.h: cmode, the shading function: how far an elevation lies through its band.
#pragma once

#include <cstdint>

namespace rubicel {

class DiagnosticSink;

// Shading modes, the indexes of the Mode menu items.
enum ShadingMode : std::int16_t {
    kContoured = 0,     // "Contoured shading": f is the integer 0
    kBlended = 1,       // "Blended shading": f = u
    kSquareRoot = 2,    // "Square root enhanced": f = sqrt(u), double precision
    kSquared = 3,       // "Squared enhanced": f = u * u
};

// The shading fraction as the engine holds it: the integer 0 (contoured), a
// single- or double-precision value, or no value (shading failed, unknown mode).
struct Fraction {
    enum class Kind : std::uint8_t { Zero, Single, Double, None };
    Kind kind = Kind::None;
    float single = 0.0f;
    double dbl = 0.0;

    static constexpr Fraction zero() { return {Kind::Zero, 0.0f, 0.0}; }
    static constexpr Fraction ofSingle(float f) { return {Kind::Single, f, 0.0}; }
    static constexpr Fraction ofDouble(double f) { return {Kind::Double, 0.0f, f}; }
    static constexpr Fraction none() { return {}; }
    bool hasValue() const { return kind != Kind::None; }
};

// Returns the shading fraction of elevation h1 in the shading range h2..h3 under
// mode: u = (h1 - h2) / (h3 - h2) in single precision (differences in 16 bits),
// then shaped by the mode. Reports u > 1 to sink and goes on; reports a failure
// (16-bit overflow, division by zero, square root of a negative u) to sink and
// returns no value. A mode outside 0..3 gives no value.
Fraction cmode(std::int16_t h1, std::int16_t h2, std::int16_t h3, std::int16_t mode, DiagnosticSink& sink);

}  // namespace rubicel
