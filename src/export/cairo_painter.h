// SPDX-License-Identifier: MIT
// cairo_painter.h: drawings painted with Cairo; built into the Cairo module only, the programs reach it through cairoModule().
#pragma once

#include <string>

namespace rubicel {

class Raster;
struct Drawing;

// PaintOnRaster (cairo_module.h).
bool paintOnRaster(Raster& picture, const Drawing& drawing, std::string& problem);
// WritePdfPage (cairo_module.h).
bool writePdfPage(int fd, const Drawing& drawing, double width, double height, const std::string& title,
                  std::string& problem);

}  // namespace rubicel
