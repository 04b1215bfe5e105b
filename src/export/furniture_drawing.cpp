// SPDX-License-Identifier: MIT
// furniture_drawing.cpp: the laid-out furniture turned into a drawing and painted over the map with Cairo.
#include "export/furniture_drawing.h"

#include <vector>

#include "common/raster.h"
#include "export/cairo_module.h"
#include "furniture/furniture_style.h"
#include "furniture/label_board.h"
#include "furniture/label_font.h"
#include "furniture/map_places.h"

namespace rubicel {

namespace {

DrawingColour colourOf(const FurnitureColour& c) { return {c.red, c.green, c.blue, c.alpha}; }

// The grid's lines and circles, stroked width wide in colour.
void strokeGrid(Drawing& drawing, const FurnitureLayout& layout, double width, const FurnitureColour& colour) {
    std::vector<DrawingPoint> points;
    for (const GridLine& line : layout.lines) {
        points.clear();
        for (const PicturePoint& p : line.points) points.push_back({p.x, p.y});
        drawing.polyline(points, DrawingPaint::Stroke, colourOf(colour), width);
    }
    for (const GridCircle& circle : layout.circles)
        drawing.circle({circle.centre.x, circle.centre.y}, circle.radius, DrawingPaint::Stroke, colourOf(colour), width);
}

}  // namespace

Drawing furnitureDrawing(const FurnitureLayout& layout, const LabelFont& font) {
    Drawing drawing;
    drawing.fontFile = font.file();
    const double unit = layout.unit;
    strokeGrid(drawing, layout, kGridEdgeWidth * unit, kGridEdgeColour);
    strokeGrid(drawing, layout, kGridLineWidth * unit, kGridLineColour);
    // Edges and rings are stroked half their width inside the shape's border,
    // so they fall on whole pixels of an aligned box and stay within it.
    if (layout.scaleBar) {
        const PictureBox& bar = layout.scaleBar->bar;
        const PictureBox edge = bar.grown(-kScaleBarEdgeWidth * unit / 2);
        drawing.box({bar.left, bar.top}, {bar.width, bar.height}, DrawingPaint::Fill, colourOf(kScaleBarFill));
        drawing.box({edge.left, edge.top}, {edge.width, edge.height}, DrawingPaint::Stroke, colourOf(kScaleBarEdge),
                    kScaleBarEdgeWidth * unit);
    }
    for (const LandingMarker& marker : layout.markers) {
        const DrawingPoint centre{marker.centre.x, marker.centre.y};
        drawing.circle(centre, marker.radius, DrawingPaint::Fill, colourOf(kMarkerColour));
        drawing.circle(centre, marker.radius - kMarkerRingWidth * unit / 2, DrawingPaint::Stroke,
                       colourOf(kMarkerRingColour), kMarkerRingWidth * unit);
    }
    std::vector<DrawingGlyph> run;
    for (const FurnitureLabel& label : layout.labels) {
        run.clear();
        for (const PlacedGlyph& g : glyphsOf(font, label.text, label.size, unit)) run.push_back({g.index, g.x});
        const DrawingPoint origin{label.origin.x, label.origin.y};
        const double em = textPixels(label.size) * unit;
        if (label.halo)
            drawing.glyphRun(run, origin, em, DrawingPaint::Stroke, colourOf(kHaloColour), kHaloWidth * unit);
        drawing.glyphRun(run, origin, em, DrawingPaint::Fill, colourOf(kTextColour), 0, label.text);
    }
    return drawing;
}

std::optional<std::string> drawFurniture(Raster& picture, const MapGeometry& map, const FurnitureLayers& layers) {
    if (!layers.any()) return std::nullopt;
    if (picture.writtenAsDrawn()) return "the furniture cannot be drawn over a map written out as it is drawn";
    std::string problem;
    const LabelFont* font = LabelFont::shared(&problem);
    if (!font) return problem;
    // The place index is read only for the layers that name places.
    static const std::vector<MapPlace> kNoPlaces;
    std::string unread;
    const bool named = layers.placeNames || layers.landingSites;
    const std::vector<MapPlace>& places = named ? shippedMapPlaces(&unread) : kNoPlaces;
    if (!unread.empty()) return unread;
    const FurnitureLayout layout = layOutFurniture(map, layers, *font, places);
    problem.clear();
    const CairoEntries* cairo = cairoModule(problem);
    if (!cairo) return problem;
    if (!cairo->paintOnRaster(picture, furnitureDrawing(layout, *font), problem)) return problem;
    return std::nullopt;
}

}  // namespace rubicel
