// SPDX-License-Identifier: MIT
// resolution.h: the automatic sampling step of an area map.
#pragma once

#include <cstdint>

namespace rubicel {

struct Program;

// Returns the step for the area a (west), b (north), c (east), d (south) and
// moves the Resolution check mark to its item.
std::int16_t selectresolution(Program& p, std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d);

// Removes the check mark from the eight Resolution items and puts it on item index.
void checkResolutionItem(Program& p, int index);

}  // namespace rubicel
