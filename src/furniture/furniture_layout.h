// SPDX-License-Identifier: MIT
// furniture_layout.h: the furniture over a map (graticule, landing sites, place names, scale bar) laid out in picture pixels.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "furniture/furniture_style.h"
#include "furniture/map_geometry.h"
#include "furniture/map_places.h"

namespace rubicel {

class LabelFont;

// A box on the map picture, in pixels: left and top its north-west corner.
struct PictureBox {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    double right() const { return left + width; }
    double bottom() const { return top + height; }
    // Whether the two boxes share more than an edge.
    bool overlaps(const PictureBox& o) const {
        return left < o.right() && o.left < right() && top < o.bottom() && o.top < bottom();
    }
    bool contains(const PictureBox& o) const {
        return left <= o.left && top <= o.top && o.right() <= right() && o.bottom() <= bottom();
    }
    PictureBox grown(double by) const { return {left - by, top - by, width + 2 * by, height + 2 * by}; }
};

// How a line is drawn (furniture_style.h gives the widths and colours).
enum class LineStyle {
    Grid,  // a meridian or a parallel
};

// A meridian or parallel: a polyline through points (on an equirectangular map
// two, through the centres of the pixels of its column or row; on a polar map
// a meridian from where it starts out to the limit circle).
struct GridLine {
    LineStyle style = LineStyle::Grid;
    bool meridian = false;
    double degrees = 0;  // its east longitude or latitude
    std::vector<PicturePoint> points;
};

// A parallel of a polar map: the circle round the pole.
struct GridCircle {
    LineStyle style = LineStyle::Grid;
    double latitude = 0;
    PicturePoint centre;
    double radius = 0;
};

// What a label names.
enum class LabelRole { Longitude, Latitude, ScaleBar, LandingSite, PlaceName };

// Where a label stands from the point it names (its anchor).
enum class LabelPlacement {
    Centred,     // centred on it
    AboveRight,  // its bottom-left corner up and right of it
    AboveLeft,
    BelowRight,
    BelowLeft,
    Right,       // beside it, centred vertically
    Left,
    Above,       // over a line, beside its start
    Below,
    Inward,      // inside the limit circle of a polar map, centred on the meridian's end
};

// A text and its place. box is the text line: from the pen's start, as wide as
// the glyphs' advances and as high as the font's ascent and descent;
// origin is the pen's start on the baseline.
struct FurnitureLabel {
    std::string text;  // UTF-8
    LabelRole role = LabelRole::PlaceName;
    TextSize size = TextSize::Small;
    PictureBox box;
    PicturePoint origin;
    PicturePoint anchor;
    LabelPlacement placement = LabelPlacement::Centred;
    bool halo = true;  // drawn over a light halo (furniture_style.h)
};

// A landing site's marker: a small disc.
struct LandingMarker {
    PicturePoint centre;
    double radius = 0;
};

// The scale bar: a rectangle as long as kilometres at the latitude where the
// map is true to scale; its label is among the labels.
struct ScaleBar {
    PictureBox bar;
    double kilometres = 0;
    double latitude = 0;      // where it is true: the map's centre latitude, the pole on a polar map
    bool latitudeNamed = false;  // the label names it: the scale changes by more than 2% over the map
};

// Everything to draw, in map-picture pixels. Backends draw in this order:
// grid lines and circles, the scale bar, the markers, then the labels (each
// halo under its letters), in the order given.
struct FurnitureLayout {
    // Picture pixels to a unit of the style: backends draw every size of
    // furniture_style.h (text em, line, edge, halo and ring widths) unit times
    // as large. At 1, text is measured as LabelFont::width has it; at any
    // other unit as LabelFont::widthAt at an em of textPixels(size) x unit;
    // glyphsOf (label_board.h) gives the glyphs to draw either way.
    double unit = 1.0;
    int interval = 0;  // degrees between grid lines; 0 without the graticule
    std::vector<GridLine> lines;
    std::vector<GridCircle> circles;
    std::optional<ScaleBar> scaleBar;
    std::vector<LandingMarker> markers;
    std::vector<FurnitureLabel> labels;  // graticule, scale bar, landing sites, place names

    bool empty() const { return lines.empty() && circles.empty() && !scaleBar && markers.empty() && labels.empty(); }
};

// Which of the graticule's labels stand on the map.
enum class GridLabels {
    OnTheMap,      // every line's, by the map's edges and round a polar map's rim
    OutsideFrame,  // a figure's: those it prints beside its frame are left out
                   // (all but a polar map's parallels)
};

// Which layers to lay out; all off by default, and a map shows none.
struct FurnitureLayers {
    bool graticule = false;
    bool placeNames = false;
    bool landingSites = false;
    bool scaleBar = false;
    // Degrees between grid lines; 0 for the interval of the map's step
    // (graticuleInterval), which a figure replaces by its page's.
    int gridInterval = 0;
    GridLabels gridLabels = GridLabels::OnTheMap;
    // Picture pixels to a unit of the style and of the layout's rules (text,
    // gaps, insets, the marker, the scale bar's height, the smallest feature
    // named): a figure sets it so that its furniture prints at its point sizes
    // whatever the picture's pixels.
    double unit = 1.0;

    bool any() const { return graticule || placeNames || landingSites || scaleBar; }
};

// Lays out the layers asked for over map, measuring text with font; places
// gives the features to name and the landing sites. The scale bar comes
// first, then the graticule's lines and labels, the landing sites and last the
// names, each label kept clear of those before it. The same map, layers,
// font and places give the same layout.
FurnitureLayout layOutFurniture(const MapGeometry& map, const FurnitureLayers& layers, const LabelFont& font,
                                std::span<const MapPlace> places);

}  // namespace rubicel
