// SPDX-License-Identifier: MIT
// cairo_painter.cpp: a drawing's lines, circles, boxes, glyph runs and images painted with Cairo, over a raster or on a PDF page.
#include "export/cairo_painter.h"

#include <cairo-pdf.h>
#include <cairo.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <span>
#include <string_view>
#include <tuple>
#include <vector>

#include "common/raster.h"
#include "export/cairo_glyph_cache.h"
#include "export/drawing.h"

namespace rubicel {

namespace {

// Where a drawing is painted: over a raster, a unit a pixel, or on a vector
// page (a PDF's), where nothing is rasterised until the page is viewed.
enum class Target { Raster, Page };

// The number of UTF-8 code points of text: the bytes that start none.
std::size_t codePoints(std::string_view text) {
    return std::size_t(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// Whether every item's points, glyphs, text or image lie within the
// drawing's, clips trace a box or a circle and every EndClip has its Clip.
bool wellFormed(const Drawing& drawing, std::string& problem) {
    int clips = 0;
    for (std::size_t i = 0; i < drawing.items.size(); ++i) {
        const DrawingItem& item = drawing.items[i];
        const auto fail = [&](const std::string& why) {
            problem = "item " + std::to_string(i) + " of the drawing " + why;
            return false;
        };
        if (std::size_t(item.textFirst) + item.textCount > drawing.text.size()) return fail("reaches past its text");
        if (item.paint == DrawingPaint::Clip) {
            if (item.shape != DrawingShape::Box && item.shape != DrawingShape::Circle)
                return fail("clips to something other than a box or a circle");
            ++clips;
            continue;
        }
        if (item.shape == DrawingShape::EndClip) {
            if (clips-- == 0) return fail("ends a clip never begun");
            continue;
        }
        if (item.shape == DrawingShape::Image) {
            if (item.first >= drawing.images.size()) return fail("shows an image it does not have");
            const DrawingImage& image = drawing.images[item.first];
            if (!image.pixels || image.width <= 0 || image.height <= 0 || image.rowPixels < image.width ||
                image.rowPixels > INT_MAX / 4)
                return fail("shows an image without pixels");
            continue;
        }
        std::size_t available = 0;
        if (item.shape == DrawingShape::Polyline) available = drawing.points.size();
        else if (item.shape == DrawingShape::Glyphs) available = drawing.glyphs.size();
        else continue;
        if (std::size_t(item.first) + item.count > available)
            return fail(std::string("reaches past its ") + (item.shape == DrawingShape::Glyphs ? "glyphs" : "points"));
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
        case DrawingShape::Image:
        case DrawingShape::EndClip:
            break;
    }
}

// An image stretched over its item's box. Enlarged, each of its pixels stays
// a sharp square (and a page's reader is told not to smooth it); shrunk on a
// raster, each pixel painted takes in the image's pixels it covers. On a page
// the image goes in whole, as it is, and Cairo compresses it without loss.
void paintImage(cairo_t* cr, const DrawingImage& image, const DrawingItem& item, Target target) {
    cairo_surface_t* pixels = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.pixels)), CAIRO_FORMAT_RGB24, image.width,
        image.height, image.rowPixels * 4);
    cairo_save(cr);
    cairo_translate(cr, item.at.x, item.at.y);
    cairo_scale(cr, item.size.x / image.width, item.size.y / image.height);
    cairo_rectangle(cr, 0, 0, image.width, image.height);
    cairo_clip(cr);
    cairo_set_source_surface(cr, pixels, 0, 0);
    double across = 1, down = 0;
    cairo_user_to_device_distance(cr, &across, &down);
    const bool enlarged = std::hypot(across, down) >= 1.0;
    cairo_pattern_t* source = cairo_get_source(cr);
    cairo_pattern_set_filter(source, target == Target::Page || enlarged ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    // On a raster the edge pixels reach out to the box's fractional edges.
    if (target == Target::Raster) cairo_pattern_set_extend(source, CAIRO_EXTEND_PAD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(pixels);
}

// Cairo shows a glyph at the whole pixel nearest its place.
int wholePixel(double at) { return int(std::floor(at + 0.5)); }

// A run's halo on a raster: the union of its glyphs' halos, each where Cairo
// shows the glyph, gathered into one mask (so the colour is laid on once where
// halos overlap) and painted through it.
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

// A run's halo on a vector page. Stroking the run's glyph outlines would write
// every letter's outline again for every label, most of a page's bytes and of
// the time to compress them; instead each glyph's halo, in one colour and
// width, is recorded once, goes into the file once as a form, and is placed by
// reference wherever the glyph appears. A run's halos are gathered in a group
// laid on with the halo's alpha, so where neighbouring halos overlap the colour
// is laid on once, as over a raster.
class PageHalos {
public:
    PageHalos() = default;
    PageHalos(const PageHalos&) = delete;
    PageHalos& operator=(const PageHalos&) = delete;
    ~PageHalos() {
        for (auto& [key, form] : forms_) cairo_surface_destroy(form);
    }

    void paint(cairo_t* cr, std::span<const cairo_glyph_t> run, cairo_scaled_font_t* font, const DrawingColour& c,
               double width) {
        cairo_push_group(cr);
        for (const cairo_glyph_t& glyph : run) {
            cairo_surface_t* halo = form(font, glyph.index, c, width);
            if (!halo) continue;
            cairo_set_source_surface(cr, halo, glyph.x, glyph.y);
            cairo_paint(cr);
        }
        cairo_pop_group_to_source(cr);
        cairo_paint_with_alpha(cr, c.alpha);
    }

private:
    using Key = std::tuple<cairo_scaled_font_t*, unsigned long, double, double, double, double>;

    // The halo of glyph, its origin at the form's origin; null for a glyph with no ink.
    cairo_surface_t* form(cairo_scaled_font_t* font, unsigned long glyph, const DrawingColour& c, double width) {
        const Key key{font, glyph, c.red, c.green, c.blue, width};
        if (const auto found = forms_.find(key); found != forms_.end()) return found->second;
        cairo_glyph_t at{glyph, 0.0, 0.0};
        cairo_text_extents_t ink;
        cairo_scaled_font_glyph_extents(font, &at, 1, &ink);
        cairo_surface_t* halo = nullptr;
        if (ink.width > 0 && ink.height > 0) {
            const double reach = width / 2 + 1;
            const cairo_rectangle_t box{ink.x_bearing - reach, ink.y_bearing - reach, ink.width + 2 * reach,
                                        ink.height + 2 * reach};
            halo = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &box);
            cairo_t* pen = cairo_create(halo);
            cairo_set_source_rgb(pen, c.red, c.green, c.blue);
            if (GlyphCache::shared().traceHalo(font, std::uint32_t(glyph), width, pen)) {
                cairo_set_fill_rule(pen, CAIRO_FILL_RULE_WINDING);
                cairo_fill(pen);
            } else {
                cairo_set_scaled_font(pen, font);
                cairo_glyph_path(pen, &at, 1);
                cairo_set_line_join(pen, CAIRO_LINE_JOIN_ROUND);
                cairo_set_line_width(pen, width);
                cairo_stroke(pen);
            }
            cairo_destroy(pen);
        }
        forms_.emplace(key, halo);
        return halo;
    }

    std::map<Key, cairo_surface_t*> forms_;
};

// Paints drawing's items into cr, in their order.
void paintItems(cairo_t* cr, const Drawing& drawing, Target target, std::string& problem) {
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    HaloPainter halos;
    PageHalos pageHalos;
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    for (const DrawingItem& item : drawing.items) {
        if (item.paint == DrawingPaint::Clip) {
            cairo_save(cr);
            trace(cr, drawing, item);
            cairo_clip(cr);
            continue;
        }
        if (item.shape == DrawingShape::EndClip) {
            cairo_restore(cr);
            continue;
        }
        if (item.shape == DrawingShape::Image) {
            paintImage(cr, drawing.images[item.first], item, target);
            continue;
        }
        const DrawingColour& c = item.colour;
        cairo_set_source_rgba(cr, c.red, c.green, c.blue, c.alpha);
        if (item.shape == DrawingShape::Glyphs) {
            cairo_scaled_font_t* font = GlyphCache::shared().font(drawing.fontFile, item.size.x, problem);
            glyphs.clear();
            for (std::uint32_t k = 0; k < item.count; ++k) {
                const DrawingGlyph& g = drawing.glyphs[item.first + k];
                glyphs.push_back({g.index, item.at.x + g.x, item.at.y});
            }
            cairo_set_scaled_font(cr, font);
            if (item.paint == DrawingPaint::Stroke) {
                if (target == Target::Raster) {
                    halos.paint(cr, drawing, item, font);
                } else {
                    // The band round the outlines only: the letters (the next item)
                    // cover the inside of the outlines.
                    pageHalos.paint(cr, glyphs, font, c, item.lineWidth);
                }
                continue;
            }
            const std::string_view shows(drawing.text.data() + item.textFirst, item.textCount);
            if (target == Target::Page && !shows.empty() && codePoints(shows) == glyphs.size()) {
                // A code point a glyph, so a reader maps each glyph back to its character.
                clusters.clear();
                for (std::size_t at = 0; at < shows.size();) {
                    int bytes = 1;
                    while (at + bytes < shows.size() && (shows[at + bytes] & 0xC0) == 0x80) ++bytes;
                    clusters.push_back({bytes, 1});
                    at += std::size_t(bytes);
                }
                cairo_show_text_glyphs(cr, shows.data(), int(shows.size()), glyphs.data(), int(glyphs.size()),
                                       clusters.data(), int(clusters.size()), cairo_text_cluster_flags_t(0));
            } else {
                cairo_show_glyphs(cr, glyphs.data(), int(glyphs.size()));
            }
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
}

// Writes what Cairo hands over into the file, keeping the first error. Cairo
// hands over a PDF in pieces of a few bytes to a few kilobytes; they are
// gathered and written a large block at a time.
class FileSink {
public:
    explicit FileSink(int fd) : fd_(fd) { buffer_.reserve(kBlock); }

    static cairo_status_t take(void* closure, const unsigned char* data, unsigned int length) {
        FileSink& sink = *static_cast<FileSink*>(closure);
        if (sink.error_ != 0) return CAIRO_STATUS_WRITE_ERROR;
        if (sink.buffer_.size() + length > kBlock && !sink.flush()) return CAIRO_STATUS_WRITE_ERROR;
        if (length >= kBlock) return sink.writeOut(data, length) ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
        sink.buffer_.insert(sink.buffer_.end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
    }

    // Writes what is gathered; false once a write has failed.
    bool flush() {
        const bool written = error_ == 0 && writeOut(buffer_.data(), buffer_.size());
        buffer_.clear();
        return written;
    }

    int error() const { return error_; }

private:
    static constexpr std::size_t kBlock = 1 << 16;

    bool writeOut(const unsigned char* data, std::size_t length) {
        while (length > 0) {
            const ssize_t written = ::write(fd_, data, length);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) {
                error_ = written < 0 ? errno : EIO;
                return false;
            }
            data += written;
            length -= std::size_t(written);
        }
        return true;
    }

    int fd_;
    int error_ = 0;
    std::vector<unsigned char> buffer_;
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
    paintItems(cr, drawing, Target::Raster, problem);
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

bool writePdfPage(int fd, const Drawing& drawing, double width, double height, const std::string& title,
                  std::string& problem) {
    // errno says a write failed, or is EIO.
    if (!wellFormed(drawing, problem) || !openFonts(drawing, problem)) {
        errno = EIO;
        return false;
    }
    FileSink sink(fd);
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(FileSink::take, &sink, width, height);
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "Rubicel");
    cairo_t* cr = cairo_create(surface);
    paintItems(cr, drawing, Target::Page, problem);
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    // The file is written whole when the surface is finished.
    cairo_surface_finish(surface);
    if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
    cairo_surface_destroy(surface);
    sink.flush();
    if (sink.error() != 0) {
        problem = std::strerror(sink.error());
        errno = sink.error();
        return false;
    }
    if (status != CAIRO_STATUS_SUCCESS) {
        problem = std::string("Cairo could not write the page (") + cairo_status_to_string(status) + ")";
        errno = EIO;
        return false;
    }
    return true;
}

}  // namespace rubicel
