// SPDX-License-Identifier: MIT
// furniture_drawing.h: the map furniture painted over a map picture: its layout as a drawing, and both in one call.
#pragma once

#include <optional>
#include <string>

#include "export/drawing.h"
#include "furniture/furniture_layout.h"

namespace rubicel {

class LabelFont;
class Raster;

// The drawing of layout in furniture_style.h's styles: the dark edges of every
// grid line and circle, then their light lines over them (so the light lines
// cross whole), the scale bar filled and edged inside its box, the markers
// filled and ringed inside their discs, then each label, its halo under its
// letters, each run keeping its text. Every size of the style is the layout's
// unit times as large. The glyphs are font's, the font the layout was
// measured with.
Drawing furnitureDrawing(const FurnitureLayout& layout, const LabelFont& font);

// Lays out layers over map (the shipped places, the shared label font) and
// paints them over picture, the map's picture, in place with the Cairo module.
// With no layer on it leaves picture as it is and loads nothing. Returns why
// it failed (no font, the named places unread, the module missing, a picture
// whose rows were written out as they were drawn), or nothing.
[[nodiscard]] std::optional<std::string> drawFurniture(Raster& picture, const MapGeometry& map,
                                                       const FurnitureLayers& layers);

}  // namespace rubicel
