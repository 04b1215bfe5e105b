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

// Writes drawing as a PDF page width x height points large into the open file
// fd, from its start to its end, the drawing's unit a point: its lines and
// shapes as vectors, its images whole and unresampled (Flate-compressed,
// shown without interpolation), its glyph runs as text in the font file,
// embedded (a subset), the text each run shows kept so that a reader selects
// and searches it. title is the document's title. False, with why in problem,
// as PaintOnRaster, or when writing into fd fails (errno's text).
using WritePdfPage = bool(int fd, const Drawing& drawing, double width, double height, const std::string& title,
                          std::string& problem);

// The module's entry points. Later ones are added at the end, raising
// kCairoInterfaceVersion.
struct CairoEntries {
    PaintOnRaster* paintOnRaster;
    WritePdfPage* writePdfPage;
};

// Raise when an entry point's signature or meaning changes, or a passed type
// changes in a way its sizes and offsets below do not show (members of the
// same size swapped, an enumeration's values renumbered).
inline constexpr std::uint32_t kCairoInterfaceVersion = 2;

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
    offsetof(DrawingItem, first), offsetof(DrawingItem, count), offsetof(DrawingItem, textFirst),
    offsetof(DrawingItem, textCount),
    sizeof(DrawingImage), offsetof(DrawingImage, pixels), offsetof(DrawingImage, width),
    offsetof(DrawingImage, height), offsetof(DrawingImage, rowPixels),
    sizeof(Drawing), alignof(Drawing), offsetof(Drawing, fontFile), offsetof(Drawing, points),
    offsetof(Drawing, glyphs), offsetof(Drawing, items), offsetof(Drawing, text), offsetof(Drawing, images),
    sizeof(std::string),
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
