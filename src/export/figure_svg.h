// SPDX-License-Identifier: MIT
// figure_svg.h: a figure as an SVG 1.1 file: the map a PNG inside it, lines as vectors, every text a <text> element.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace rubicel {

class Raster;
struct FigureLayout;
struct FigureSpec;
struct MapContext;
struct MapPlace;

// The SVG document of layout with picture (its first layout.pictureWidth x
// pictureHeight pixels) as the map: its user unit a point, its size in
// millimetres; the map an embedded PNG, the frame, ticks, grid and colour
// bar vector shapes; every text a <text> element in the font layout names,
// so the figure stays editable (a drawing program sets the letters itself).
std::string figureSvg(const FigureLayout& layout, const Raster& picture);

// Writes figureSvg to path, replacing the file whole or not at all. Returns a
// description of the failure, or nothing.
[[nodiscard]] std::optional<std::string> writeFigureSvg(const FigureLayout& layout, const Raster& picture,
                                                        const std::string& path);

// The figure of the map p shows, drawn with p's colours and relief: laid out
// with the furniture's font over places (the gazetteer's, mapPlacesOf) and
// written to path as SVG. Returns what went wrong (no finished map, no font,
// the write), or nothing.
[[nodiscard]] std::optional<std::string> writeFigureSvg(const MapContext& p, const FigureSpec& spec,
                                                        std::span<const MapPlace> places, const std::string& path);

}  // namespace rubicel
