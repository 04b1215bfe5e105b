// SPDX-License-Identifier: MIT
// resolution.h: the automatic sampling step of an area map.
#pragma once

#include <cstdint>

namespace rubicel {

struct MapContext;
class Platform;

// Returns the step for the area a (west), b (north), c (east), d (south): the
// larger of the steps its longitude and latitude spans call for.
std::int16_t automaticStep(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d);

// Returns the Resolution item that carries the check mark for step: 1 to 5 give
// item 8 - step, 8 gives item 3 ("12.5%"), anything else item 0 ("Thumbnail (5%)").
int resolutionItem(std::int16_t step);

// Returns the step for the area a (west), b (north), c (east), d (south) and
// moves the Resolution check mark to its item.
std::int16_t selectresolution(MapContext& p, std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d);
std::int16_t selectresolution(Platform& ui, std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d);

// Removes the check mark from the eight Resolution items and puts it on item index.
void checkResolutionItem(MapContext& p, int index);
void checkResolutionItem(Platform& ui, int index);

}  // namespace rubicel
