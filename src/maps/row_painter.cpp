// SPDX-License-Identifier: MIT
// row_painter.cpp: the slow path of the row painter.
#include "maps/row_painter.h"

#include "colour/colour_engine.h"

namespace rubicel {

std::uint32_t RowPainter::callSetcolours(std::int16_t alt) {
    settle();
    Setcolours(p_, scheme_, alt);
    current_ = packRgb(p_.colour.R, p_.colour.G, p_.colour.B);
    return current_;
}

}  // namespace rubicel
