// SPDX-License-Identifier: MIT
// figure_layout.h: a map as a figure for a paper: its page laid out once, in points, for every backend.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "figure/colour_bar.h"
#include "figure/figure_style.h"
#include "figure/page_text.h"
#include "furniture/furniture_layout.h"

namespace rubicel {

class LabelFont;
struct ColourState;
struct ReliefSettings;

// What a figure shows besides the map.
struct FigureSpec {
    std::string caption;         // the map's, as the status line names it ("Valles Marineris")
    std::string title;           // printed above the map; empty: the caption
    double widthMm = kFigureWidthMm;  // the page's width, kFigureWidthMinMm to kFigureWidthMaxMm
    FurnitureLayers layers;      // drawn over the map; the grid's interval and labels and the unit are the figure's
    // The elevations the colour bar spans: the user's range the map was drawn
    // with (scheme 9's limits); without one, every elevation (kFullElevations).
    std::optional<ElevationSpan> range;
};

// Where the map picture lies on the page: picture pixel (x, y) (its
// north-west corner's point, PicturePoint) at (left + x * scale, top + y * scale).
// A backend draws the picture and the furniture in picture pixels through
// this transform: translate by (left, top), then scale by scale.
struct PictureOnPage {
    double left = 0;
    double top = 0;
    double scale = 1;  // points per picture pixel

    PagePoint at(PicturePoint p) const { return {left + p.x * scale, top + p.y * scale}; }
};

// The thin line round the map: the picture's edge for an equirectangular map,
// the limit circle for a polar one (the picture's corners outside it are not
// shown). The picture and its furniture are clipped to it.
struct FigureFrame {
    enum class Shape { Rectangle, Circle };
    Shape shape = Shape::Rectangle;
    PageBox box;  // the rectangle, or the circle's bounding square

    PagePoint centre() const { return {box.left + box.width / 2, box.top + box.height / 2}; }
    double radius() const { return box.width / 2; }
};

// The whole page, in points (figure_style.h). Backends paint, in this order:
// the page white; the picture (its first pictureWidth x pictureHeight pixels)
// into pictureBox, clipped to the frame; the furniture through picture,
// clipped to the frame, as over a map (furniture_layout.h); the frame
// (kFrameWidth); the ticks (kTickWidth); the tick labels; the title; the
// colour bar (its bands, its box's edge kBarEdgeWidth, its ticks, its labels
// and name); the credit lines. Text outside the map is kFigureInk, in the
// font named by fontFamily (the file fontFile), at each text's size.
struct FigureLayout {
    double width = 0;   // the page, points
    double height = 0;
    std::string fontFamily;
    std::string fontFile;

    int pictureWidth = 0;  // the pixels of the map picture shown, from its north-west corner
    int pictureHeight = 0;
    PictureOnPage picture;
    PageBox pictureBox;
    FigureFrame frame;

    int interval = 0;                  // degrees between the graticule's ticks (and lines)
    std::vector<PageLine> ticks;       // out from the frame: longitudes below it (polar: all round), latitudes left
    std::vector<PageText> tickLabels;  // beside their ticks, in the graticule's format ("30°N", "120°E")
    FurnitureLayout furniture;         // the layers chosen, in picture pixels

    std::vector<PageText> title;   // its lines, centred over the frame
    ColourBar colourBar;
    std::vector<PageText> credit;  // its lines, from the frame's left edge
};

// The credit line: the data's and the names' sources, and with relief on the sun's place.
std::string creditText(const ReliefSettings& relief);

// Lays out the figure of the map map (its picture's geometry) drawn with
// colour's scheme, mode and band table and with relief: the picture scaled to
// the page's width less the room of its labels, its aspect kept; above it the
// title, below it the colour bar and the credit line. The graticule's
// interval is the furniture's rule on the page: grid lines
// kFigureGridSpacingMm apart at least. Text is measured with font at its
// point size, as it is drawn. The same arguments give the same layout.
FigureLayout layOutFigure(const MapGeometry& map, const ColourState& colour, const ReliefSettings& relief,
                          const FigureSpec& spec, std::span<const MapPlace> places, const LabelFont& font);

}  // namespace rubicel
