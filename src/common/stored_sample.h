// SPDX-License-Identifier: MIT
// stored_sample.h: a tile sample as the file stores it, a big-endian 16-bit elevation.
#pragma once

#include <cstdint>

namespace rubicel {

// The elevation of the sample whose two stored bytes start at bytes. Inline and
// free of branches, so that loops over a row of samples vectorise.
inline std::int16_t storedElevation(const unsigned char* bytes) {
    return std::int16_t(std::uint16_t(bytes[0] << 8 | bytes[1]));
}

}  // namespace rubicel
