// SPDX-License-Identifier: MIT
// cairo_glyph_cache.h: the Cairo module's fonts at each size and the halos of their glyphs, made once and kept for the run.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "export/drawing.h"

namespace rubicel {

// A glyph's halo: the coverage of its letter and of a band round its outline,
// one byte a pixel, placed from the pixel that holds the glyph's origin.
struct HaloMask {
    int left = 0;  // columns from the origin's pixel to the mask's first
    int top = 0;
    int width = 0;
    int height = 0;
    // height rows of rowBytes bytes, a multiple of kHaloRowUnit at least
    // width (the rest 0), so that masks are added up a vector at a time.
    int rowBytes = 0;
    std::vector<std::uint8_t> coverage;
};
inline constexpr int kHaloRowUnit = 16;

// Cairo strokes a path slowly (a label's halo stroked round its glyphs' outlines
// takes a third of a millisecond), so each glyph's halo is stroked once and its
// mask kept; the letters themselves come from Cairo's own glyph cache. Shared by
// the threads that paint at once.
class GlyphCache {
public:
    static GlyphCache& shared();

    // The face of font file (face 0) at an em of em pixels, unhinted; null with
    // why in problem when the file does not open.
    cairo_scaled_font_t* font(const std::string& file, double em, std::string& problem);
    // The halos of run's glyphs of font, width wide round their outlines, one
    // a glyph into masks. Masks are never dropped, so the pointers stay good.
    void halos(cairo_scaled_font_t* font, double width, std::span<const DrawingGlyph> run,
               std::vector<const HaloMask*>& masks);
    // Traces into pen's path the outline of glyph of font (a face this cache
    // opened) grown by width / 2 all round, with round corners, its origin at
    // pen's origin: filled with the winding rule, it covers the glyph and its
    // halo. A fill is what a vector page checks and writes quickly, where a
    // stroke round the glyph's outline is slow to check. False when FreeType
    // cannot give the outline; pen's path is then left as it was.
    bool traceHalo(cairo_scaled_font_t* font, std::uint32_t glyph, double width, cairo_t* pen);

private:
    GlyphCache() = default;
    cairo_font_face_t* face(const std::string& file, std::string& problem);
    static std::unique_ptr<HaloMask> strokeHalo(cairo_scaled_font_t* font, std::uint32_t glyph, double width);

    std::mutex lock_;
    void* library_ = nullptr;  // FT_Library
    std::map<std::string, cairo_font_face_t*> faces_;
    std::map<std::pair<std::string, double>, cairo_scaled_font_t*> fonts_;
    // Of each font and width, by glyph index.
    std::map<std::pair<cairo_scaled_font_t*, double>, std::vector<std::unique_ptr<HaloMask>>> halos_;
};

}  // namespace rubicel
