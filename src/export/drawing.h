// SPDX-License-Identifier: MIT
// drawing.h: a vector drawing as plain data (lines, circles, boxes and glyph runs, in painting order), for the Cairo module to paint.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rubicel {

// A point in the drawing's units: pixels of the picture painted on, from its
// north-west corner (the centre of pixel (i, j) is at (i + 0.5, j + 0.5)).
struct DrawingPoint {
    double x = 0;
    double y = 0;
};

// Red, green, blue and opacity, each 0 to 1, not premultiplied.
struct DrawingColour {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
};

// A glyph of a run: its index in the drawing's font file and the pen's
// distance from the run's origin along the baseline (label_font.h's contract).
struct DrawingGlyph {
    std::uint32_t index = 0;
    double x = 0;
};

// The outline an item traces.
enum class DrawingShape : std::uint32_t {
    Polyline,  // points[first, first + count), open
    Circle,    // centred on at, of radius size.x
    Box,       // its north-west corner at, size.x wide and size.y high
    Glyphs,    // glyphs[first, first + count) from the pen's start at on the baseline, at an em of size.x
};

// How an item's outline is painted. A run's glyphs stand where Cairo shows
// them, each at the whole pixel nearest its place.
enum class DrawingPaint : std::uint32_t {
    Fill,    // its inside (a run's letters)
    Stroke,  // along it, lineWidth wide and centred on it, with round joins and flat ends; of a run, its
             // halo: the letters and that band round them, the colour laid on once where glyphs' halos overlap
};

struct DrawingItem {
    DrawingShape shape = DrawingShape::Polyline;
    DrawingPaint paint = DrawingPaint::Fill;
    DrawingColour colour;
    double lineWidth = 0;
    DrawingPoint at;
    DrawingPoint size;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

// The items are painted in their order, each over those before it, anti-aliased.
struct Drawing {
    std::string fontFile;  // the glyph runs' face: face 0 of this file, unhinted
    std::vector<DrawingPoint> points;
    std::vector<DrawingGlyph> glyphs;
    std::vector<DrawingItem> items;

    void polyline(std::span<const DrawingPoint> line, DrawingPaint paint, DrawingColour colour, double lineWidth = 0) {
        items.push_back({DrawingShape::Polyline, paint, colour, lineWidth, {}, {}, std::uint32_t(points.size()),
                         std::uint32_t(line.size())});
        points.insert(points.end(), line.begin(), line.end());
    }
    void circle(DrawingPoint centre, double radius, DrawingPaint paint, DrawingColour colour, double lineWidth = 0) {
        items.push_back({DrawingShape::Circle, paint, colour, lineWidth, centre, {radius, radius}, 0, 0});
    }
    void box(DrawingPoint northWest, DrawingPoint size, DrawingPaint paint, DrawingColour colour,
             double lineWidth = 0) {
        items.push_back({DrawingShape::Box, paint, colour, lineWidth, northWest, size, 0, 0});
    }
    void glyphRun(std::span<const DrawingGlyph> run, DrawingPoint origin, double em, DrawingPaint paint,
                  DrawingColour colour, double lineWidth = 0) {
        items.push_back({DrawingShape::Glyphs, paint, colour, lineWidth, origin, {em, em},
                         std::uint32_t(glyphs.size()), std::uint32_t(run.size())});
        glyphs.insert(glyphs.end(), run.begin(), run.end());
    }
};

}  // namespace rubicel
