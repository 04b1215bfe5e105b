// SPDX-License-Identifier: MIT
// figure_file.cpp: a figure written as a PDF, SVG or PNG file, the format chosen by the file's extension.
#include "export/figure_file.h"

#include <cerrno>
#include <cmath>

#include "common/file_replace.h"
#include "common/raster.h"
#include "export/cairo_module.h"
#include "export/figure_drawing.h"
#include "export/figure_svg.h"
#include "export/png_writer.h"
#include "figure/figure_layout.h"
#include "furniture/label_font.h"
#include "maps/map_context.h"

namespace rubicel {

namespace {

bool hasPicture(const FigureLayout& layout, const Raster& picture) {
    return layout.pictureWidth > 0 && layout.pictureHeight > 0 && picture.width() >= layout.pictureWidth &&
           picture.height() >= layout.pictureHeight;
}

// The title lines as one, the document's title.
std::string titleOf(const FigureLayout& layout) {
    std::string title;
    for (const PageText& t : layout.title) {
        if (!title.empty()) title += ' ';
        title += t.text;
    }
    return title;
}

// Why a PNG page cannot be written at dpi, or nothing.
std::optional<std::string> resolutionProblem(int dpi, const std::string& path) {
    if (dpi >= kFigureDpiMin && dpi <= kFigureDpiMax) return std::nullopt;
    return "Cannot write " + path + ": the resolution must be " + std::to_string(kFigureDpiMin) + " to " +
           std::to_string(kFigureDpiMax) + " dots per inch";
}

}  // namespace

std::optional<FigureFormat> figureFormatOf(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return std::nullopt;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension == "pdf") return FigureFormat::Pdf;
    if (extension == "svg") return FigureFormat::Svg;
    if (extension == "png") return FigureFormat::Png;
    return std::nullopt;
}

const char* figureExtensionOf(FigureFormat format) {
    switch (format) {
    case FigureFormat::Pdf: return ".pdf";
    case FigureFormat::Svg: return ".svg";
    case FigureFormat::Png: break;
    }
    return ".png";
}

PagePixels figurePagePixels(const FigureLayout& layout, int dpi) {
    const double perPoint = dpi / kPointsPerInch;
    return {int(std::lround(layout.width * perPoint)), int(std::lround(layout.height * perPoint))};
}

std::optional<std::string> writeFigurePdf(const FigureLayout& layout, const Raster& picture, const LabelFont& font,
                                          const std::string& path) {
    if (!hasPicture(layout, picture)) return "Cannot write " + path + ": the figure's map has no picture";
    std::string problem;
    const CairoEntries* cairo = cairoModule(problem);
    if (!cairo) return "Cannot write " + path + ": " + problem;
    const Drawing page = figureDrawing(layout, picture, font);
    const std::string title = titleOf(layout);
    bool drawn = true;
    const auto failure = replaceFile(
        path,
        [&](int fd) {
            drawn = cairo->writePdfPage(fd, page, layout.width, layout.height, title, problem);
            return drawn;
        },
        LinkAtPath::Replace);
    if (!failure) return std::nullopt;
    // Cairo's own failures say more than the errno left behind.
    if (failure->stage == ReplaceFailure::Write && !drawn && !problem.empty())
        return "Cannot write " + path + ": " + problem;
    return describeFailure(*failure);
}

std::optional<std::string> writeFigurePng(const FigureLayout& layout, const Raster& picture, const LabelFont& font,
                                          int dpi, const std::string& path) {
    if (!hasPicture(layout, picture)) return "Cannot write " + path + ": the figure's map has no picture";
    if (auto wrong = resolutionProblem(dpi, path)) return wrong;
    const PagePixels size = figurePagePixels(layout, dpi);
    if (size.width > kFigurePageMostPixelsAcross || size.height > kFigurePageMostPixelsAcross ||
        (long long)size.width * size.height > kFigurePageMostPixels)
        return "Cannot write " + path + ": the page at " + std::to_string(dpi) + " dots per inch would be " +
               std::to_string(size.width) + " x " + std::to_string(size.height) + " pixels, more than " +
               std::to_string(kFigurePageMostPixelsAcross) + " across or down or " +
               std::to_string(kFigurePageMostPixels) + " in all";
    std::string problem;
    const CairoEntries* cairo = cairoModule(problem);
    if (!cairo) return "Cannot write " + path + ": " + problem;

    // The page's drawing in points, scaled to the page's pixels and painted on white.
    Drawing pixels;
    pixels.fontFile = font.file();
    pixels.append(figureDrawing(layout, picture, font), dpi / kPointsPerInch, {0, 0});
    Raster page;
    page.reset(size.width, size.height, packRgb(255, 255, 255));
    if (!cairo->paintOnRaster(page, pixels, problem)) return "Cannot write " + path + ": " + problem;
    return writePng(page, path, dpi);
}

std::optional<std::string> writeFigure(const MapContext& p, const FigureSpec& spec, std::span<const MapPlace> places,
                                       const std::string& path, int dpi) {
    const std::optional<FigureFormat> format = figureFormatOf(path);
    if (!format) return "Cannot write " + path + ": a figure is written as a .pdf, .svg or .png file";
    if (*format == FigureFormat::Svg) return writeFigureSvg(p, spec, places, path);
    if (*format == FigureFormat::Png)
        if (auto wrong = resolutionProblem(dpi, path)) return wrong;
    const std::optional<MapGeometry> map = MapGeometry::of(p.dmap);
    if (!map) return "Cannot write " + path + ": no finished map to make a figure of";
    std::string error;
    const LabelFont* font = LabelFont::shared(&error);
    if (!font) return "Cannot write " + path + ": " + error;
    const FigureLayout layout = layOutFigure(*map, p.colour, p.relief, spec, places, *font);
    if (*format == FigureFormat::Pdf) return writeFigurePdf(layout, p.dmap.image, *font, path);
    return writeFigurePng(layout, p.dmap.image, *font, dpi, path);
}

}  // namespace rubicel
