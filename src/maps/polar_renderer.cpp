// SPDX-License-Identifier: MIT
// polar_renderer.cpp: Drawpolar, the map of a polar region in polar stereographic projection.
#include "maps/polar_renderer.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "colour/colour_row.h"
#include "common/number_text.h"
#include "common/stored_sample.h"
#include "maps/area_renderer.h"
#include "maps/drawn_map.h"
#include "maps/map_context.h"
#include "maps/map_state.h"
#include "maps/map_view.h"
#include "maps/mapped_read.h"
#include "maps/polar_grid.h"
#include "maps/render_support.h"

namespace rubicel {

namespace {

std::string regionCaption(int pole, int limit) {
    return std::string(pole > 0 ? "North" : "South") + " Polar Region ... lat: " + plainText(pole > 0 ? 90 : -90) +
           "° to " + plainText(pole > 0 ? limit : -limit) + "°";
}

// One rendering of a polar region. The span of records the map can show is
// mapped into memory from both tiles at the start, so each page of them is read
// once, when a pixel first needs it, and never copied. A tile cut short under
// the mapping faults where a page past its end is touched; that fault ends the
// row's reading and the drawing fails with the tile's name, as a short read
// fails the other renderers.
class PolarRendering {
public:
    PolarRendering(MapContext& p, std::string east, std::string west)
        : p_(p), m_(p.map), east_(std::move(east)), west_(std::move(west)) {}

    void run() {
        if (const Failure failed = draw()) {
            p_.closeFiles();
            p_.ui.messageBox(MessageText("Module 'Drawpolar' - ")
                                 .add(*failed)
                                 .newline()
                                 .line("Pole=", m_.polarpole)
                                 .line("  Limit=", m_.polarlimit)
                                 .newline()
                                 .line("Map size=", 2 * grid_.n)
                                 .newline()
                                 .line("  X=", x_)
                                 .line("  Y=", y_)
                                 .line("  R=", p_.colour.R)
                                 .line("  G=", p_.colour.G)
                                 .line("  B=", p_.colour.B)
                                 .newline()
                                 .line("Resolution=", m_.resolution)
                                 .str(),
                             "", Icon::None);
            p_.ui.setBusyPointer(false);
        }
    }

private:
    Failure draw() {
        const int generation = beginRendering(p_);
        if (m_.resolution == 0) return failure(kDivisionByZero);
        if (m_.resolution < 0 || m_.polarlimit < kPolarMinLimit || m_.polarlimit > kPolarMaxLimit)
            return failure(kInvalidPropertyValue);
        grid_ = polarGrid(m_.polarpole, m_.polarlimit, m_.resolution);
        const auto side = toInt32(double(grid_.n) * 2.0 * double(kTwipsPerPixel));
        if (!side) return failure(kOverflow);
        H_ = *side;
        const int pixels = 2 * grid_.n;
        span_ = polarRecords(grid_);
        try {
            sizeMapPicture(p_, H_, H_);
            xs_.resize(std::size_t(pixels));
            points_.resize(std::size_t(pixels));
            samples_.assign(std::size_t(pixels), 0);
            shown_.assign(std::size_t(pixels), 0);
            colours_.resize(std::size_t(pixels));
        } catch (const std::bad_alloc&) {
            return failure(kOutOfMemory);
        }
        checksize(p_, H_, H_);
        const int revision = p_.dmap.revision;
        p_.ui.setBusyPointer(true);
        for (int i = 0; i < pixels; ++i) xs_[std::size_t(i)] = polarX(grid_, i);

        for (int t = 0; t < 2; ++t) {
            if (Failure f = p_.files[t].open(t == 0 ? east_ : west_)) return f;
            if (Failure f = p_.files[t].mapRecords(span_.first, span_.last, rows_[t])) return f;
        }
        StatusCaption status(plainText(pixels) + "×" + plainText(pixels) + " pixel image   -  Mapping ... " +
                             regionCaption(grid_.pole, grid_.limit) + " ... ");
        y_ = 0;
        Failure failed;
        if (drawRows(p_, generation, H_, status, *this, failed) == RowsEnd::Superseded) return std::nullopt;
        if (failed) return failed;

        p_.closeFiles();
        DrawnMap shown = drawnPolarMap(grid_.pole, grid_.limit, grid_.step, grid_.n, y_);
        shown.files[std::size_t(shown.tiles[0])] = east_;
        shown.files[std::size_t(shown.tiles[1])] = west_;
        keepDrawnMap(p_.dmap, std::move(shown), revision);
        p_.ui.setBusyPointer(false);
        mclear(p_, 1);
        return std::nullopt;
    }

public:
    // The steps of one row, run by drawRows.
    void startRow() { x_ = 0; }
    void stop() {
        p_.closeFiles();
        m_.stopflag = 0;
    }
    int y() const { return y_; }
    // Relief shading: the polar grid is even in map metres, a pixel both ways,
    // and a ground metre takes more of them away from the pole, by the scale
    // of each pixel; the pixels beyond the limit circle show no sample.
    double rowSpacing() const { return grid_.size; }
    double columnSpacing() const { return grid_.size; }
    bool reliefMasked() const { return true; }
    bool reliefScaled() const { return true; }
    Failure drawRow(ReadAhead&) {
        const int pixels = 2 * grid_.n;
        locateRow(grid_.pole > 0);

        // Pixels beyond the limit circle keep the background colour.
        std::fill(colours_.begin(), colours_.end(), kPictureBackground);
        // The samples of the pixels inside the circle, read from the mapped
        // records; a tile cut short meanwhile ends the drawing with its failure.
        if (!readMapped(&PolarRendering::gatherSamples, this)) return mappedFault();
        // Each run of pixels inside the circle: the colours of its samples.
        for (int i = 0; i < pixels;) {
            if (!shown_[std::size_t(i)]) {
                ++i;
                continue;
            }
            const int start = i;
            while (i < pixels && shown_[std::size_t(i)]) ++i;
            x_ = start;
            colourRow(p_, samples_.data(), start, 1, i - start, colours_.data() + start);
            x_ = i;
        }
        // The whole row, background beyond the circle whatever the picture showed before.
        Raster& image = p_.dmap.image;
        if (y_ < image.height()) {
            const int width = std::min(pixels, image.width());
            std::memcpy(image.row(y_), colours_.data(), std::size_t(width) * 4);
            if (p_.reliefRows.active()) keepElevations(width);
        }
        return std::nullopt;
    }
    // The mapped records were all asked for when they were mapped.
    void askAhead(int, int) {}
    bool nextRow(Failure&) {
        ++y_;
        return y_ < 2 * grid_.n;
    }

private:
    // Copies the stored sample of every pixel of the row that shows one; run
    // under readMapped, so it holds nothing that needs destroying.
    static void gatherSamples(void* rendering) {
        auto& r = *static_cast<PolarRendering*>(rendering);
        const std::int16_t* const rows[2] = {r.rows_[0], r.rows_[1]};
        const PolarPoint* points = r.points_.data();
        const std::uint8_t* shown = r.shown_.data();
        std::int16_t* samples = r.samples_.data();
        const int pixels = 2 * r.grid_.n;
        const int first = r.span_.first;
        for (int i = 0; i < pixels; ++i) {
            if (!shown[i]) continue;
            const bool west = points[i].column >= kTileColumns;
            const std::size_t at = std::size_t(points[i].record - first) * kTileColumns +
                                   std::size_t(points[i].column - (west ? kTileColumns : 0));
            samples[i] = rows[west ? 1 : 0][at];
        }
    }

    // What made reading the mapped records fault, naming the tile.
    Failure mappedFault() {
        for (const TileFile& file : p_.files)
            if (Failure f = file.mappedFault()) return f;
        return failure("Device I/O error: the mapped tile records could not be read");
    }

    // Gives the shading stage the elevation of pixels 0..width-1 of the row,
    // which of them show a sample and the scale at each, as far as its rows reach.
    void keepElevations(int width) {
        width = std::min(width, p_.reliefRows.width());
        const auto* bytes = reinterpret_cast<const unsigned char*>(samples_.data());
        const std::uint8_t* shown = shown_.data();
        const double* xs = xs_.data();
        const double y = polarY(grid_, y_);
        float* elevations = p_.reliefRows.elevations();
        std::uint8_t* shownOut = p_.reliefRows.shown();
        float* scales = p_.reliefRows.scales();
        for (int i = 0; i < width; ++i) {
            const float elevation = float(storedElevation(bytes + 2 * i));
            elevations[i] = shown[i] ? elevation : 0.0f;
            shownOut[i] = shown[i];
            scales[i] = float(polarScale(xs[i], y));
        }
        p_.reliefRows.drawnTo(width);
    }

    // The sample of every pixel of row y_ and whether it shows one: straight-line
    // arithmetic over the row.
    void locateRow(bool north) {
        const double y = polarY(grid_, y_);
        const double limit = grid_.limit;
        const int pixels = 2 * grid_.n;
        const double* xs = xs_.data();
        PolarPoint* points = points_.data();
        // Columns more than a pixel beyond the limit circle show no sample
        // whatever the rounding; they are not worked out.
        const double reach = grid_.rho + grid_.size;
        const double half = reach * reach > y * y ? std::sqrt(reach * reach - y * y) / grid_.size : 0.0;
        const int from = std::clamp(int(std::floor(double(grid_.n) - 0.5 - half)), 0, pixels);
        const int to = std::clamp(int(std::ceil(double(grid_.n) - 0.5 + half)) + 1, from, pixels);
        if (north)
            for (int i = from; i < to; ++i) points[i] = polarPoint<true>(limit, xs[i], y);
        else
            for (int i = from; i < to; ++i) points[i] = polarPoint<false>(limit, xs[i], y);
        std::fill(shown_.begin(), shown_.end(), std::uint8_t(0));
        for (int i = from; i < to; ++i) shown_[std::size_t(i)] = points[i].shown ? 1 : 0;
    }

    MapContext& p_;
    MapState& m_;
    const std::string east_, west_;  // the hemisphere's tiles of east longitudes 0 to 180 and 180 to 360
    PolarGrid grid_;
    RecordSpan span_{1, 0};
    std::int32_t H_ = 0;  // the picture's side, twips
    // Record span_.first + r of tile t (0 east, 1 west), mapped: rows_[t][r * kTileColumns + column].
    const std::int16_t* rows_[2] = {nullptr, nullptr};
    // Per column, and for the row being drawn: map x, the sample, the sample as
    // stored (the elevation the pixel shows, where it shows one), whether it
    // shows one, the colours.
    std::vector<double> xs_;
    std::vector<PolarPoint> points_;
    std::vector<std::int16_t> samples_;
    std::vector<std::uint8_t> shown_;
    std::vector<std::uint32_t> colours_;
    int x_ = 0, y_ = 0;
};

// The paths of the hemisphere's two tiles, east longitudes 0 to 180 then 180 to
// 360, fixed when the rendering starts; a missing entry of the tile list gives
// the bare folder, which fails to open.
std::pair<std::string, std::string> polarTiles(const MapContext& p, int pole) {
    const auto path = [&p](int entry) {
        const bool listed = entry < int(p.File1.size());
        return p.map.datafolder + (listed ? p.File1[std::size_t(entry)] : std::string());
    };
    return {path(polarEastTile(pole)), path(polarWestTile(pole))};
}

}  // namespace

void Drawpolar(MapContext& p) {
    auto [east, west] = polarTiles(p, p.map.polarpole);
    PolarRendering(p, std::move(east), std::move(west)).run();
}

std::int16_t automaticPolarStep(int limit, int width, int height) {
    std::array<std::int16_t, kResolutionSteps.size()> steps = kResolutionSteps;
    std::sort(steps.begin(), steps.end());
    for (const std::int16_t step : steps)
        if (2 * polarGrid(1, limit, step).n <= std::min(width, height)) return step;
    return steps.back();
}

}  // namespace rubicel
