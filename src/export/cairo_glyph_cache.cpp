// SPDX-License-Identifier: MIT
// cairo_glyph_cache.cpp: the Cairo module's fonts opened with FreeType, unhinted, and their glyphs' halos stroked once.
#include "export/cairo_glyph_cache.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include FT_OUTLINE_H
#include FT_STROKER_H

#include <algorithm>
#include <cmath>

namespace rubicel {

GlyphCache& GlyphCache::shared() {
    static GlyphCache cache;
    return cache;
}

cairo_font_face_t* GlyphCache::face(const std::string& file, std::string& problem) {
    if (const auto found = faces_.find(file); found != faces_.end()) return found->second;
    if (!library_) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) != 0) {
            problem = "the FreeType library could not be started";
            return nullptr;
        }
        library_ = library;
    }
    FT_Face ft = nullptr;
    if (file.empty() || FT_New_Face(static_cast<FT_Library>(library_), file.c_str(), 0, &ft) != 0) {
        problem = "cannot read the font file " + (file.empty() ? std::string("(none named)") : file);
        return nullptr;
    }
    // Unhinted outlines, as the layout measured them (label_font.h); the face
    // goes with the Cairo face that holds it.
    cairo_font_face_t* face = cairo_ft_font_face_create_for_ft_face(ft, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    static const cairo_user_data_key_t kOwnedFace{};
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS ||
        cairo_font_face_set_user_data(face, &kOwnedFace, ft, [](void* f) { FT_Done_Face(FT_Face(f)); }) !=
            CAIRO_STATUS_SUCCESS) {
        problem = std::string("Cairo cannot use the font file ") + file + " (" +
                  cairo_status_to_string(cairo_font_face_status(face)) + ")";
        cairo_font_face_destroy(face);
        FT_Done_Face(ft);
        return nullptr;
    }
    faces_.emplace(file, face);
    return face;
}

cairo_scaled_font_t* GlyphCache::font(const std::string& file, double em, std::string& problem) {
    const std::lock_guard<std::mutex> hold(lock_);
    const auto key = std::make_pair(file, em);
    if (const auto found = fonts_.find(key); found != fonts_.end()) return found->second;
    cairo_font_face_t* letters = face(file, problem);
    if (!letters) return nullptr;
    cairo_matrix_t size, device;
    cairo_matrix_init_scale(&size, em, em);
    cairo_matrix_init_identity(&device);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_scaled_font_t* font = cairo_scaled_font_create(letters, &size, &device, options);
    cairo_font_options_destroy(options);
    if (cairo_scaled_font_status(font) != CAIRO_STATUS_SUCCESS) {
        problem = std::string("Cairo cannot scale the font file ") + file + " (" +
                  cairo_status_to_string(cairo_scaled_font_status(font)) + ")";
        cairo_scaled_font_destroy(font);
        return nullptr;
    }
    fonts_.emplace(key, font);
    return font;
}

void GlyphCache::halos(cairo_scaled_font_t* font, double width, std::span<const DrawingGlyph> run,
                       std::vector<const HaloMask*>& masks) {
    const std::lock_guard<std::mutex> hold(lock_);
    std::vector<std::unique_ptr<HaloMask>>& byGlyph = halos_[{font, width}];
    masks.clear();
    for (const DrawingGlyph& g : run) {
        if (g.index >= byGlyph.size()) byGlyph.resize(g.index + 1);
        std::unique_ptr<HaloMask>& mask = byGlyph[g.index];
        if (!mask) mask = strokeHalo(font, g.index, width);
        masks.push_back(mask.get());
    }
}

std::unique_ptr<HaloMask> GlyphCache::strokeHalo(cairo_scaled_font_t* font, std::uint32_t glyph, double width) {
    auto mask = std::make_unique<HaloMask>();
    cairo_glyph_t g{glyph, 0.0, 0.0};
    cairo_text_extents_t ink;
    cairo_scaled_font_glyph_extents(font, &g, 1, &ink);
    if (ink.width <= 0 || ink.height <= 0) return mask;  // a space: no outline
    // The ink grown by half the band and a pixel for anti-aliasing.
    const double reach = width / 2 + 1;
    mask->left = int(std::floor(ink.x_bearing - reach));
    mask->top = int(std::floor(ink.y_bearing - reach));
    mask->width = int(std::ceil(ink.x_bearing + ink.width + reach)) - mask->left;
    mask->height = int(std::ceil(ink.y_bearing + ink.height + reach)) - mask->top;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, mask->width, mask->height);
    cairo_t* cr = cairo_create(surface);
    // The glyph's origin on a pixel's corner, where Cairo puts the glyphs it shows.
    cairo_translate(cr, -mask->left, -mask->top);
    cairo_set_scaled_font(cr, font);
    cairo_glyph_path(cr, &g, 1);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        const int stride = cairo_image_surface_get_stride(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        mask->rowBytes = (mask->width + kHaloRowUnit - 1) / kHaloRowUnit * kHaloRowUnit;
        mask->coverage.assign(std::size_t(mask->rowBytes) * std::size_t(mask->height), 0);
        for (int y = 0; y < mask->height; ++y)
            std::copy_n(data + std::size_t(y) * std::size_t(stride), mask->width,
                        mask->coverage.begin() + std::ptrdiff_t(y) * mask->rowBytes);
    } else {
        mask->width = mask->height = 0;
    }
    cairo_surface_destroy(surface);
    return mask;
}

namespace {

// An outline's points, 26.6 fixed point with y up, as Cairo's user space.
struct OutlinePen {
    cairo_t* cr;
    double lastX = 0, lastY = 0;
};

double across(const FT_Vector* v) { return double(v->x) / 64.0; }
double down(const FT_Vector* v) { return -double(v->y) / 64.0; }

int moveTo(const FT_Vector* to, void* user) {
    auto* pen = static_cast<OutlinePen*>(user);
    cairo_close_path(pen->cr);
    cairo_move_to(pen->cr, pen->lastX = across(to), pen->lastY = down(to));
    return 0;
}

int lineTo(const FT_Vector* to, void* user) {
    auto* pen = static_cast<OutlinePen*>(user);
    cairo_line_to(pen->cr, pen->lastX = across(to), pen->lastY = down(to));
    return 0;
}

// A quadratic arc as the cubic that traces it exactly.
int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* pen = static_cast<OutlinePen*>(user);
    const double cx = across(control), cy = down(control), x = across(to), y = down(to);
    cairo_curve_to(pen->cr, pen->lastX + 2.0 / 3.0 * (cx - pen->lastX), pen->lastY + 2.0 / 3.0 * (cy - pen->lastY),
                   x + 2.0 / 3.0 * (cx - x), y + 2.0 / 3.0 * (cy - y), x, y);
    pen->lastX = x;
    pen->lastY = y;
    return 0;
}

int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* pen = static_cast<OutlinePen*>(user);
    cairo_curve_to(pen->cr, across(c1), down(c1), across(c2), down(c2), pen->lastX = across(to),
                   pen->lastY = down(to));
    return 0;
}

}  // namespace

bool GlyphCache::traceHalo(cairo_scaled_font_t* font, std::uint32_t glyph, double width, cairo_t* pen) {
    const std::lock_guard<std::mutex> hold(lock_);
    // Cairo sets the face to the scaled font's size while it is locked.
    FT_Face face = cairo_ft_scaled_font_lock_face(font);
    if (!face) return false;
    FT_Glyph outline = nullptr;
    FT_Stroker stroker = nullptr;
    bool traced = false;
    if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0 &&
        face->glyph->format == FT_GLYPH_FORMAT_OUTLINE && FT_Get_Glyph(face->glyph, &outline) == 0 &&
        FT_Stroker_New(static_cast<FT_Library>(library_), &stroker) == 0) {
        FT_Stroker_Set(stroker, FT_Fixed(std::lround(width / 2 * 64)), FT_STROKER_LINECAP_ROUND,
                       FT_STROKER_LINEJOIN_ROUND, 0);
        // The border on the outside of every contour: the glyph grown, its
        // counters shrunk.
        if (FT_Glyph_StrokeBorder(&outline, stroker, false, true) == 0 &&
            outline->format == FT_GLYPH_FORMAT_OUTLINE) {
            const FT_Outline_Funcs trace{moveTo, lineTo, conicTo, cubicTo, 0, 0};
            OutlinePen at{pen};
            cairo_new_path(pen);
            traced = FT_Outline_Decompose(&reinterpret_cast<FT_OutlineGlyph>(outline)->outline, &trace, &at) == 0;
            cairo_close_path(pen);
            if (!traced) cairo_new_path(pen);
        }
    }
    if (stroker) FT_Stroker_Done(stroker);
    if (outline) FT_Done_Glyph(outline);
    cairo_ft_scaled_font_unlock_face(font);
    return traced;
}

}  // namespace rubicel
