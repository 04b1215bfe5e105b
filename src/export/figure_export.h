// SPDX-License-Identifier: MIT
// figure_export.h: File > Export Figure: the figure of the map shown, as the user chose it, written to a file.
#pragma once

#include <optional>
#include <string>

#include "export/figure_file.h"
#include "figure/figure_layout.h"

namespace rubicel {

struct Program;

// What the Export Figure dialog asks for.
struct FigureChoices {
    FigureFormat format = FigureFormat::Pdf;
    double widthMm = kFigureWidthMm;
    std::string title;        // empty: the map's caption
    FurnitureLayers layers;   // the four layers only; the figure sets the rest
};

// The map's name, as rubicel-render names the same map: the place it was
// found for, the caption of the feature's menu item, the planet's, the polar
// region's or the tile's name, or a box's degrees (areaCaption).
std::string mapCaption(const Program& p);

// The file the dialog suggests: the maps folder, the caption with every "/"
// and control character made "-" (the maps folder takes no other folder
// separator, as in Save Map), and the format's extension.
std::string suggestedFigurePath(const Program& p, FigureFormat format);

// The figure of p's map with choices: captioned as mapCaption says, and with
// scheme 9 over a user's range, the colour bar spanning that range.
FigureSpec figureSpecOf(const Program& p, const FigureChoices& choices);

// True when p shows a finished map to make a figure of.
bool hasFigureMap(const Program& p);

// Writes the figure of p's map with choices to path through writeFigure, with
// the gazetteer's places, at kFigureDpi. Returns what went wrong, or nothing.
[[nodiscard]] std::optional<std::string> exportFigure(const Program& p, const FigureChoices& choices,
                                                      const std::string& path);

}  // namespace rubicel
