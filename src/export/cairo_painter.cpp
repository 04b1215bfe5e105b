// SPDX-License-Identifier: MIT
// cairo_painter.cpp: a drawing's lines, circles, boxes and glyph runs painted anti-aliased with Cairo.
#include "export/cairo_painter.h"

#include <cairo.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <numbers>
#include <span>
#include <vector>

#include "common/raster.h"
#include "export/cairo_glyph_cache.h"
#include "export/drawing.h"

namespace rubicel {

namespace {

// Whether every item's points or glyphs lie within the drawing's.
bool wellFormed(const Drawing& drawing, std::string& problem) {
    for (std::size_t i = 0; i < drawing.items.size(); ++i) {
        const DrawingItem& item = drawing.items[i];
        std::size_t available = 0;
        if (item.shape == DrawingShape::Polyline) available = drawing.points.size();
        else if (item.shape == DrawingShape::Glyphs) available = drawing.glyphs.size();
        else continue;
        if (std::size_t(item.first) + item.count > available) {
            problem = "item " + std::to_string(i) + " of the drawing reaches past its " +
                      (item.shape == DrawingShape::Glyphs ? "glyphs" : "points");
            return false;
        }
    }
    return true;
}

// Opens every size of the drawing's font its glyph runs use, before anything is
// painted; false with why in problem when the font file does not open.
bool openFonts(const Drawing& drawing, std::string& problem) {
    for (const DrawingItem& item : drawing.items)
        if (item.shape == DrawingShape::Glyphs && !GlyphCache::shared().font(drawing.fontFile, item.size.x, problem))
            return false;
    return true;
}

// Traces the outline of a polyline, circle or box into cr's path.
void trace(cairo_t* cr, const Drawing& drawing, const DrawingItem& item) {
    switch (item.shape) {
        case DrawingShape::Polyline:
            for (std::uint32_t k = 0; k < item.count; ++k) {
                const DrawingPoint& p = drawing.points[item.first + k];
                if (k == 0) cairo_move_to(cr, p.x, p.y);
                else cairo_line_to(cr, p.x, p.y);
            }
            break;
        case DrawingShape::Circle:
            cairo_new_sub_path(cr);
            cairo_arc(cr, item.at.x, item.at.y, item.size.x, 0.0, 2.0 * std::numbers::pi);
            cairo_close_path(cr);
            break;
        case DrawingShape::Box:
            cairo_rectangle(cr, item.at.x, item.at.y, item.size.x, item.size.y);
            break;
        case DrawingShape::Glyphs:
            break;
    }
}

// Cairo shows a glyph at the whole pixel nearest its place.
int wholePixel(double at) { return int(std::floor(at + 0.5)); }

// A run's halo on a raster: the union of its glyphs' halos, each where Cairo
// shows the glyph, gathered into one mask (so the colour is laid on once where
// halos overlap) and painted through it. (A vector page would rather stroke the
// run's glyph path, which costs nothing there until it is viewed.)
class HaloPainter {
public:
    void paint(cairo_t* cr, const Drawing& drawing, const DrawingItem& item, cairo_scaled_font_t* font) {
        const std::span<const DrawingGlyph> run(drawing.glyphs.data() + item.first, item.count);
        GlyphCache::shared().halos(font, item.lineWidth, run, masks_);
        placed_.clear();
        // right takes in the masks' zeros past their width, added up with them;
        // only up to inkRight is painted.
        int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN, inkRight = INT_MIN;
        for (std::size_t k = 0; k < run.size(); ++k) {
            const HaloMask& mask = *masks_[k];
            if (mask.width == 0) continue;
            const int x = wholePixel(item.at.x + run[k].x) + mask.left, y = wholePixel(item.at.y) + mask.top;
            placed_.push_back({&mask, x, y});
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x + mask.rowBytes);
            inkRight = std::max(inkRight, x + mask.width);
            bottom = std::max(bottom, y + mask.height);
        }
        if (placed_.empty()) return;
        const int width = right - left, height = bottom - top;
        const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_A8, width);
        coverage_.assign(std::size_t(stride) * std::size_t(height), 0);
        for (const Placed& p : placed_) {
            const int w = p.mask->rowBytes, h = p.mask->height;
            const std::uint8_t* from = p.mask->coverage.data();
            std::uint8_t* to = coverage_.data() + std::ptrdiff_t(p.y - top) * stride + (p.x - left);
            for (int y = 0; y < h; ++y, from += w, to += stride)
                for (int x = 0; x < w; x += kHaloRowUnit)
                    for (int k = x; k < x + kHaloRowUnit; ++k)  // saturating: a vector instruction
                        to[k] = std::uint8_t(std::min(255, to[k] + from[k]));
        }
        cairo_surface_t* union_ = cairo_image_surface_create_for_data(coverage_.data(), CAIRO_FORMAT_A8,
                                                                      inkRight - left, height, stride);
        cairo_mask_surface(cr, union_, left, top);
        cairo_surface_destroy(union_);
    }

private:
    struct Placed {
        const HaloMask* mask;
        int x, y;  // the mask's first pixel
    };
    std::vector<const HaloMask*> masks_;
    std::vector<Placed> placed_;
    std::vector<std::uint8_t> coverage_;
};

}  // namespace

bool paintOnRaster(Raster& picture, const Drawing& drawing, std::string& problem) {
    if (!wellFormed(drawing, problem) || !openFonts(drawing, problem)) return false;
    if (picture.empty() || drawing.items.empty()) return true;

    // The raster's rows lie back to back, four bytes a pixel, as Cairo's ARGB32 images do.
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, picture.width());
    if (stride != picture.width() * 4) {
        problem = "Cairo lays out a row of " + std::to_string(picture.width()) + " pixels in " +
                  std::to_string(stride) + " bytes";
        return false;
    }
    cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(picture.data()),
                                                                   CAIRO_FORMAT_ARGB32, picture.width(),
                                                                   picture.height(), stride);
    cairo_t* cr = cairo_create(surface);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);

    HaloPainter halos;
    std::vector<cairo_glyph_t> glyphs;
    for (const DrawingItem& item : drawing.items) {
        const DrawingColour& c = item.colour;
        cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
        if (item.shape == DrawingShape::Glyphs) {
            cairo_scaled_font_t* font = GlyphCache::shared().font(drawing.fontFile, item.size.x, problem);
            if (item.paint == DrawingPaint::Stroke) {
                halos.paint(cr, drawing, item, font);
                continue;
            }
            glyphs.clear();
            for (std::uint32_t k = 0; k < item.count; ++k) {
                const DrawingGlyph& g = drawing.glyphs[item.first + k];
                glyphs.push_back({g.index, item.at.x + g.x, item.at.y});
            }
            cairo_set_scaled_font(cr, font);
            cairo_show_glyphs(cr, glyphs.data(), int(glyphs.size()));
            continue;
        }
        trace(cr, drawing, item);
        if (item.paint == DrawingPaint::Fill) {
            cairo_fill(cr);
        } else {
            cairo_set_line_width(cr, item.lineWidth);
            cairo_stroke(cr);
        }
    }
    cairo_surface_flush(surface);
    const cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS) {
        problem = std::string("Cairo could not paint the drawing (") + cairo_status_to_string(status) + ")";
        return false;
    }
    return true;
}

}  // namespace rubicel
