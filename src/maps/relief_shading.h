// SPDX-License-Identifier: MIT
// relief_shading.h: relief shading: the sun's light on the ground, applied to map rows after they are coloured.
#pragma once

#include <cstdint>
#include <vector>

#include "common/raster.h"
#include "maps/shading_helper.h"

namespace rubicel {

// The lighting every renderer shades with. The defaults: the sun in the
// north-west, 45° high, as hill shading usually has it; exaggeration and
// strength chosen on the demo and the real tiles so that the planet at 1:24, a
// feature at its automatic step and a tile at 1:13 all show their relief with
// little of the map clipped to black or white (see the README).
struct ReliefSettings {
    static constexpr double kDefaultAzimuth = 315.0;
    static constexpr double kDefaultAltitude = 45.0;
    static constexpr double kDefaultExaggeration = 10.0;
    static constexpr double kDefaultStrength = 0.7;

    // The bounds that keep level ground's colour exact. There the slope terms
    // vanish and the factor is (1 - k) + (k / sin H) x sin H / sqrt(1 + z^2 x 0),
    // 1 to within a few units in the last place, which no channel can tell, as
    // long as z^2 is finite (z below 1.3e154; beyond, 0 x infinity leaves the
    // light undefined and the ground dark) and sin H and k / sin H are normal
    // numbers, also in the single precision the kernel first holds them in (H
    // at least 7e-37 degrees; below, k / sin H overflows or sin H reads as 0,
    // and the ground turns white).
    // The bounds are round numbers well inside, and past any use: a sun a
    // thousandth of a degree high turns every slope white or its darkest shade,
    // and at a million times their height slopes stand all but upright, lit by
    // the way they face alone.
    static constexpr double kLowestAltitude = 0.001;
    static constexpr double kHighestAltitude = 90.0;
    static constexpr double kHighestExaggeration = 1e6;

    bool on = false;
    double azimuth = kDefaultAzimuth;            // degrees clockwise from north, any finite number
    double altitude = kDefaultAltitude;          // degrees above the horizon, kLowestAltitude to 90
    double exaggeration = kDefaultExaggeration;  // vertical exaggeration, above 0 up to kHighestExaggeration
    double strength = kDefaultStrength;          // 0 (no shading) to 1

    bool operator==(const ReliefSettings&) const = default;
};

// Whether each value lies in its range: the one check of the command line,
// the Relief Settings dialog and the settings file.
bool validRelief(const ReliefSettings& settings);

// The settings turned into what the kernel multiplies by, once per rendering.
struct ReliefLight {
    double sunX = 0, sunY = 0, sunZ = 1;  // unit vector toward the sun: east, north, up
    double exaggeration = 1;
    double keep = 0;     // 1 - strength: the share of the colour the light leaves alone
    double perShade = 1; // strength / sin(altitude)
};
ReliefLight reliefLight(const ReliefSettings& settings);

// The most map metres a ground metre may take at a pixel whose spacing is
// scaled: the polar stereographic projection's scale runs from 1 at the pole
// to 2 at the equator, and less than 3 at the corners of a polar picture.
inline constexpr double kMostReliefScale = 4.0;

// Distance between map rows on the Mars sphere, metres, for a map that takes
// every step-th record of the 64 per degree.
double reliefRowSpacing(int step);
// Distance between map columns of a row whose samples lie at latitude degrees,
// for rows spacing metres apart.
double reliefColumnSpacing(double spacing, double latitude);

// The shading stage of a rendering, run by the row loop drawRows (maps/
// render_support.h), which calls begin, rowDrawn and finish. A renderer writes,
// for each map row it draws into the picture, the elevation of every pixel's
// sample into elevations() and calls drawnTo (paintSamples does both for the
// samples it paints); a map with pixels that show no sample also writes 1 or 0
// for every pixel of the row into shown(). rowDrawn then shades the row above,
// now that its neighbours below are known, and finish shades the last row. A
// map whose pixels lie nearer on the ground than on the map, by a scale that
// changes from pixel to pixel (the polar maps), writes each pixel's scale into
// scales(): its spacing on the ground is the map's spacing divided by it.
// Rows beyond the picture are not shaded and do not count as neighbours; a
// row's neighbours beyond its drawn width are its last drawn pixel. The
// buffers are sized once, in begin.
//
// A rendering whose yields leave the picture alone may have the rows shaded on a second
// processor (ShadingHelper) while it reads and colours the next row: the row
// above is then shaded while rowDrawn has returned, until the next rowDrawn,
// finish or stop, and settledRows says which rows are final. The pixels are
// the same either way.
class ReliefRows {
public:
    ReliefRows() = default;
    ReliefRows(const ReliefRows&) = delete;
    ReliefRows& operator=(const ReliefRows&) = delete;
    ~ReliefRows() { stop(); }

    // Starts a rendering into a picture width x height pixels whose rows lie
    // dy metres apart on the map; the stage stays off when settings are off.
    struct Fills {
        bool shown = false;   // the renderer fills shown() as well
        bool scales = false;  // and scales() (only with shown)
    };
    // helped: nothing looks at the picture or changes it during the
    // rendering's yields, so a second thread may shade.
    void begin(const ReliefSettings& settings, int width, int height, double dy, Fills fills,
               bool helped);
    bool active() const { return active_; }
    // The width of the rows: no renderer writes past it, whatever the picture's width now.
    int width() const { return width_; }
    // Rows of the rendering begun last that were handed to the second thread
    // (it shades most of them; the rendering takes back those it has not started).
    int helpedRows() const { return helpedRows_; }
    // Ends the stage: the row being shaded on the second thread is finished first.
    void stop();

    // The elevation row of map row y (0 <= y < height), whole metres, to fill before rowDrawn(y).
    float* elevations() { return row(current_) + 1; }
    std::uint8_t* shown() { return mask(current_) + 1; }
    // Of each pixel, how many map metres a ground metre takes there, 1 to kMostReliefScale.
    float* scales() { return scale(current_) + 1; }
    // Notes that pixels 0..end-1 of the current row hold elevations.
    void drawnTo(int end) {
        int& drawn = drawn_[std::size_t(current_)];
        if (end > drawn) drawn = end;
    }

    // Row y of image is drawn, its columns dx metres apart: shades row y - 1.
    // Returns the first row that changed since the last call (y when none did).
    int rowDrawn(Raster& image, int y, double dx);
    // The drawing ended after its last row: shades it and ends the stage.
    // Returns the rows that changed since rowDrawn, first..end-1 (none when equal).
    struct Rows {
        int first = 0, end = 0;
    };
    Rows finish(Raster& image);
    // How many rows from the top hold their final pixels: all of them when the stage is off.
    int settledRows() const;

private:
    // Elevation rows kept: the three a row is shaded by and the next being
    // drawn; with a second thread, enough that a row is written again only
    // once it has left that thread's cache (writing over a row still there
    // makes the drawing wait for each of its cache lines to be taken back).
    static constexpr int kSlots = 4;
    static constexpr std::size_t kHelpedRingBytes = std::size_t(2) << 20;
    static constexpr int kMostSlots = 512;
    // The shading of one row, handed to the second thread or done at once.
    struct RowJob {
        const ReliefRows* stage;
        int above, centre, below, width;
        double dx;
        std::uint32_t* pixels;
    };
    static void shadeJob(const void* job);

    float* row(int slot) { return elevations_.data() + std::size_t(slot) * std::size_t(stride_); }
    const float* row(int slot) const { return elevations_.data() + std::size_t(slot) * std::size_t(stride_); }
    std::uint8_t* mask(int slot) { return shown_.data() + std::size_t(slot) * std::size_t(stride_); }
    const std::uint8_t* mask(int slot) const { return shown_.data() + std::size_t(slot) * std::size_t(stride_); }
    float* scale(int slot) { return scales_.data() + std::size_t(slot) * std::size_t(stride_); }
    const float* scale(int slot) const { return scales_.data() + std::size_t(slot) * std::size_t(stride_); }
    void closeRow(int slot);
    // Shades row y, on the second thread when the stage has it.
    void shade(Raster& image, int y, int above, int centre, int below);
    // Waits for the row on the second thread; true when there was one.
    bool settle();
    void giveBackHelper();

    bool active_ = false;  // and counted among the stages running in the process
    bool masked_ = false;
    bool scaled_ = false;
    ReliefLight light_;
    int width_ = 0, height_ = 0, stride_ = 0;
    double dy_ = 1;
    int slots_ = kSlots;
    std::vector<float> elevations_;  // slots_ rows of stride_, each with one pixel either side
    std::vector<std::uint8_t> shown_;
    std::vector<float> scales_;
    std::vector<int> drawn_;      // of each slot, the pixels that hold elevations
    std::vector<double> dx_;      // of each slot, the column spacing
    int current_ = 0;  // slot of the row being drawn
    int rows_ = 0;     // rows drawn so far
    ShadingHelper* helper_ = nullptr;    // the second thread, when this stage has it
    bool inFlight_ = false;              // a row is being shaded there
    RowJob job_{};                       // that row
    int helpedRows_ = 0;
};

}  // namespace rubicel
