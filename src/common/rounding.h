// SPDX-License-Identifier: MIT
// rounding.h: fraction-to-integer conversions, halves to the even neighbour.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <type_traits>

namespace rubicel {

// Returns x rounded to the nearest integer, an exact half going to the even
// neighbour (the default floating-point rounding mode).
inline double roundHalfEven(double x) { return std::nearbyint(x); }
inline float roundHalfEven(float x) { return std::nearbyintf(x); }

// Returns x, a fraction rounded half to even, as a 16-bit integer, or nothing
// when the value does not fit (an overflow error for the caller to report).
template <typename Number>
[[nodiscard]] std::optional<std::int16_t> toInt16(Number x) {
    if constexpr (std::is_integral_v<Number>) {
        if (x < Number(-32768) || x > Number(32767)) return std::nullopt;
        return static_cast<std::int16_t>(x);
    } else {
        const Number r = roundHalfEven(x);
        if (!(r >= Number(-32768) && r <= Number(32767))) return std::nullopt;  // also NaN
        return static_cast<std::int16_t>(r);
    }
}

// Returns x rounded half to even as a 32-bit integer, or nothing on overflow.
template <typename Real>
[[nodiscard]] std::optional<std::int32_t> toInt32(Real x) {
    const double r = roundHalfEven(static_cast<double>(x));
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) return std::nullopt;
    return static_cast<std::int32_t>(r);
}

// Returns a - b when it fits in 16 bits, nothing otherwise (16-bit overflow).
[[nodiscard]] inline std::optional<std::int16_t> difference16(std::int16_t a, std::int16_t b) {
    return toInt16(int(a) - int(b));
}

}  // namespace rubicel
