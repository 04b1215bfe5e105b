// SPDX-License-Identifier: MIT
// drawing.h: a vector drawing as plain data (lines, circles, boxes, glyph runs, pictures and clips, in painting order), for the Cairo module to paint.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rubicel {

// A point in the drawing's units: pixels of the picture painted on, from its
// north-west corner (the centre of pixel (i, j) is at (i + 0.5, j + 0.5)), or
// points of a page from its top-left corner.
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

// A picture an item shows: rows of 0xFFRRGGBB words (raster.h's), rowPixels
// apart. The drawing does not own the pixels; they must outlive its painting.
struct DrawingImage {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int rowPixels = 0;
};

// The outline an item traces.
enum class DrawingShape : std::uint32_t {
    Polyline,  // points[first, first + count), open
    Circle,    // centred on at, of radius size.x
    Box,       // its north-west corner at, size.x wide and size.y high
    Glyphs,    // glyphs[first, first + count) from the pen's start at on the baseline, at an em of size.x
    Image,     // images[first], its north-west corner at, stretched to size.x by size.y
    EndClip,   // ends the clip of the latest Clip item not yet ended
};

// How an item's outline is painted. On a raster a run's glyphs stand where
// Cairo shows them, each at the whole pixel nearest its place; on a page
// where they fall.
enum class DrawingPaint : std::uint32_t {
    Fill,    // its inside (a run's letters, an image's pixels)
    Stroke,  // along it, lineWidth wide and centred on it, with round joins and flat ends; of a run, its
             // halo: the letters and that band round them, the colour laid on once where glyphs' halos overlap
    Clip,    // nothing; the items after it, up to its EndClip, are painted only inside it (a box or circle)
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
    // Of a run, the text its glyphs show: text[textFirst, textFirst +
    // textCount), UTF-8, a code point a glyph (label_font.h's contract); on a
    // page it is what a reader selects and searches. Empty: none is known.
    std::uint32_t textFirst = 0;
    std::uint32_t textCount = 0;
};

// The items are painted in their order, each over those before it,
// anti-aliased; an image's pixels stay sharp squares when it is enlarged.
struct Drawing {
    std::string fontFile;  // the glyph runs' face: face 0 of this file, unhinted
    std::vector<DrawingPoint> points;
    std::vector<DrawingGlyph> glyphs;
    std::vector<DrawingItem> items;
    std::string text;
    std::vector<DrawingImage> images;

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
    // shows, when known, is the text the run's glyphs show (a halo needs none).
    void glyphRun(std::span<const DrawingGlyph> run, DrawingPoint origin, double em, DrawingPaint paint,
                  DrawingColour colour, double lineWidth = 0, std::string_view shows = {}) {
        items.push_back({DrawingShape::Glyphs, paint, colour, lineWidth, origin, {em, em},
                         std::uint32_t(glyphs.size()), std::uint32_t(run.size()), std::uint32_t(text.size()),
                         std::uint32_t(shows.size())});
        glyphs.insert(glyphs.end(), run.begin(), run.end());
        text += shows;
    }
    void image(const DrawingImage& picture, DrawingPoint northWest, DrawingPoint size) {
        items.push_back({DrawingShape::Image, DrawingPaint::Fill, {}, 0, northWest, size,
                         std::uint32_t(images.size()), 1});
        images.push_back(picture);
    }
    // Clips what follows to a box or circle item until endClip().
    void clipTo(const DrawingItem& outline) {
        items.push_back(outline);
        items.back().paint = DrawingPaint::Clip;
    }
    void endClip() { items.push_back({DrawingShape::EndClip, DrawingPaint::Fill, {}, 0, {}, {}, 0, 0}); }

    // Appends from's items, every place and size scaled by scale and then
    // moved by offset: a drawing made in one unit painted in another (a map's
    // furniture, in its picture's pixels, onto a page in points).
    void append(const Drawing& from, double scale, DrawingPoint offset) {
        const auto place = [&](DrawingPoint p) { return DrawingPoint{offset.x + p.x * scale, offset.y + p.y * scale}; };
        const auto firstPoint = std::uint32_t(points.size()), firstGlyph = std::uint32_t(glyphs.size()),
                   firstImage = std::uint32_t(images.size()), firstText = std::uint32_t(text.size());
        for (const DrawingPoint& p : from.points) points.push_back(place(p));
        for (const DrawingGlyph& g : from.glyphs) glyphs.push_back({g.index, g.x * scale});
        images.insert(images.end(), from.images.begin(), from.images.end());
        text += from.text;
        for (DrawingItem item : from.items) {
            item.lineWidth *= scale;
            if (item.shape == DrawingShape::Polyline) item.first += firstPoint;
            if (item.shape == DrawingShape::Glyphs) item.first += firstGlyph;
            if (item.shape == DrawingShape::Image) item.first += firstImage;
            item.textFirst += firstText;
            item.at = place(item.at);
            item.size = {item.size.x * scale, item.size.y * scale};
            items.push_back(item);
        }
    }
};

}  // namespace rubicel
