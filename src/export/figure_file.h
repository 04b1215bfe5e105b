// SPDX-License-Identifier: MIT
// figure_file.h: a figure written as a PDF, SVG or PNG file, the format chosen by the file's extension.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace rubicel {

class LabelFont;
class Raster;
struct FigureLayout;
struct FigureSpec;
struct MapContext;
struct MapPlace;

// A PNG page's resolution, dots per inch: print's 300 unless asked otherwise,
// from a screen's 72 to a fine printer's 1200.
inline constexpr int kFigureDpi = 300;
inline constexpr int kFigureDpiMin = 72;
inline constexpr int kFigureDpiMax = 1200;
// The most pixels a PNG page has across or down (Cairo paints no larger
// image), and in all (a gigabyte of pixels in memory).
inline constexpr int kFigurePageMostPixelsAcross = 32767;
inline constexpr long long kFigurePageMostPixels = 1LL << 28;

enum class FigureFormat { Pdf, Svg, Png };

// The format path's extension names (".pdf", ".svg", ".png", in any case), or nothing.
std::optional<FigureFormat> figureFormatOf(const std::string& path);

// A PNG page's size in pixels: the page's points at dpi, rounded.
struct PagePixels {
    int width = 0;
    int height = 0;
};
PagePixels figurePagePixels(const FigureLayout& layout, int dpi);

// layout with picture as its map (figureDrawing), written to path replacing
// the file whole or not at all, with the Cairo module: a one-page PDF, the
// map embedded as it is; or a PNG of the page at dpi. Return what went wrong
// (no picture, dpi out of range or a page too large, the module missing, the
// write), or nothing.
[[nodiscard]] std::optional<std::string> writeFigurePdf(const FigureLayout& layout, const Raster& picture,
                                                        const LabelFont& font, const std::string& path);
[[nodiscard]] std::optional<std::string> writeFigurePng(const FigureLayout& layout, const Raster& picture,
                                                        const LabelFont& font, int dpi, const std::string& path);

// The figure of the map p shows, drawn with p's colours and relief, laid out
// with the furniture's font over places (the gazetteer's, mapPlacesOf), and
// written to path as its extension says: .pdf, .svg or .png (at dpi,
// kFigureDpiMin to kFigureDpiMax; the others ignore it). Returns what went
// wrong (an unknown extension, no finished map, no font, the write), or
// nothing.
[[nodiscard]] std::optional<std::string> writeFigure(const MapContext& p, const FigureSpec& spec,
                                                     std::span<const MapPlace> places, const std::string& path,
                                                     int dpi = kFigureDpi);

}  // namespace rubicel
