// SPDX-License-Identifier: MIT
// cairo_module.h: what the programs and the Cairo module agree on: its file, its entry points and their data.
#pragma once

#include <cstddef>
#include <string>

#include "common/loadable_module.h"
#include "common/raster.h"
#include "export/drawing.h"

namespace rubicel {

// Cairo (and pixman, and the libraries they bring) lives in this module, loaded
// the first time a program paints a drawing, so a program that paints none
// maps none of them.

// Paints drawing over picture in place, a drawing unit to a pixel, what falls
// outside the picture clipped. The picture is taken as a Cairo ARGB32 image:
// its pixels are opaque (packRgb's 0xFF in the top byte), and stay so. False,
// with why in problem, when the drawing's font file does not open, an item
// reaches past the drawing's points or glyphs, or Cairo fails; the picture is
// untouched then, unless Cairo failed part way.
using PaintOnRaster = bool(Raster& picture, const Drawing& drawing, std::string& problem);

// The module's entry points. Later ones are added at the end, raising
// kCairoInterfaceVersion.
struct CairoEntries {
    PaintOnRaster* paintOnRaster;
};

// Raise when an entry point's signature or meaning changes, or a passed type
// changes in a way its sizes and offsets below do not show (members of the
// same size swapped, an enumeration's values renumbered).
inline constexpr std::uint32_t kCairoInterfaceVersion = 1;

// Every type the entry points pass, as this build lays it out.
inline constexpr std::uint64_t kCairoLayout = layoutKey({
    sizeof(Raster), alignof(Raster),
    sizeof(DrawingPoint), offsetof(DrawingPoint, x), offsetof(DrawingPoint, y),
    sizeof(DrawingColour), offsetof(DrawingColour, red), offsetof(DrawingColour, green),
    offsetof(DrawingColour, blue), offsetof(DrawingColour, alpha),
    sizeof(DrawingGlyph), offsetof(DrawingGlyph, index), offsetof(DrawingGlyph, x),
    sizeof(DrawingShape), sizeof(DrawingPaint),
    sizeof(DrawingItem), offsetof(DrawingItem, shape), offsetof(DrawingItem, paint), offsetof(DrawingItem, colour),
    offsetof(DrawingItem, lineWidth), offsetof(DrawingItem, at), offsetof(DrawingItem, size),
    offsetof(DrawingItem, first), offsetof(DrawingItem, count),
    sizeof(Drawing), alignof(Drawing), offsetof(Drawing, fontFile), offsetof(Drawing, points),
    offsetof(Drawing, glyphs), offsetof(Drawing, items), sizeof(std::string),
    sizeof(CairoEntries),
});

inline constexpr ModuleInterface kCairoModule = {
    "Cairo", "librubicel-cairo.so", RUBICEL_MODULE_SYMBOL_NAME(cairo), kCairoInterfaceVersion, kCairoLayout,
};

// The programs' side (cairo_loader.cpp): the module's entry points, loaded on
// the first call from any thread and kept for the run; null, with why in
// problem, when the module cannot be loaded.
const CairoEntries* cairoModule(std::string& problem);

}  // namespace rubicel
