// SPDX-License-Identifier: MIT
// figure_drawing.h: a figure's page as a drawing in points, for the Cairo module to write as a PDF or paint as a PNG.
#pragma once

#include "export/drawing.h"

namespace rubicel {

class LabelFont;
class Raster;
struct FigureLayout;

// The drawing of layout's page, a unit a point, in the order figure_layout.h
// gives: the page white; picture's first pictureWidth x pictureHeight pixels
// scaled onto the page and the furniture (furnitureDrawing) over them, both
// clipped to the frame; the frame, the ticks, the tick labels, the title, the
// colour bar and the credit. Every text is a glyph run of font (the font the
// layout was measured with) that keeps its text. The drawing shows picture's
// pixels where they are: picture must outlive it.
Drawing figureDrawing(const FigureLayout& layout, const Raster& picture, const LabelFont& font);

}  // namespace rubicel
