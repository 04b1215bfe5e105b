// SPDX-License-Identifier: MIT
// relief_shading.cpp: the lighting, and the shading stage that lights a map row once the row below it is drawn.
#include "maps/relief_shading.h"

#include "maps/relief_kernel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <numbers>

namespace rubicel {
namespace {

// The radius of the Mars sphere the georeferenced output uses, metres.
constexpr double kMarsRadius = 3396190.0;
constexpr double kDegree = std::numbers::pi / 180.0;

// Rows narrower than this are shaded by the rendering itself: handing them
// over would cost about as much as shading them.
constexpr int kHelpedWidth = 512;

// Shading stages running in the process: the second thread helps only a
// rendering that runs alone.
std::atomic<int> stagesRunning{0};

}  // namespace

bool validRelief(const ReliefSettings& s) {
    return std::isfinite(s.azimuth) && s.altitude >= ReliefSettings::kLowestAltitude &&
           s.altitude <= ReliefSettings::kHighestAltitude && s.exaggeration > 0.0 &&
           s.exaggeration <= ReliefSettings::kHighestExaggeration && s.strength >= 0.0 && s.strength <= 1.0;
}

ReliefLight reliefLight(const ReliefSettings& s) {
    ReliefLight light;
    const double A = s.azimuth * kDegree;
    const double H = s.altitude * kDegree;
    light.sunX = std::sin(A) * std::cos(H);
    light.sunY = std::cos(A) * std::cos(H);
    light.sunZ = std::sin(H);
    light.exaggeration = s.exaggeration;
    light.keep = 1.0 - s.strength;
    light.perShade = s.strength / light.sunZ;
    return light;
}

double reliefRowSpacing(int step) { return double(step) * std::numbers::pi * kMarsRadius / (180.0 * 64.0); }

double reliefColumnSpacing(double spacing, double latitude) { return spacing * std::cos(latitude * kDegree); }

void ReliefRows::begin(const ReliefSettings& settings, int width, int height, double dy, Fills fills,
                       bool helped) {
    stop();
    helpedRows_ = 0;
    active_ = settings.on && width > 0 && height > 0;
    if (!active_) return;
    masked_ = fills.shown;
    scaled_ = fills.shown && fills.scales;
    light_ = reliefLight(settings);
    width_ = width;
    height_ = height;
    stride_ = width + 2;
    dy_ = dy;
    const bool alone = stagesRunning.fetch_add(1, std::memory_order_relaxed) == 0;
    if (helped && alone && width >= kHelpedWidth) helper_ = ShadingHelper::borrow();
    const std::size_t rowBytes = std::size_t(stride_) * sizeof(float);
    slots_ = helper_ ? int(std::clamp(kHelpedRingBytes / rowBytes, std::size_t(kSlots), std::size_t(kMostSlots)))
                     : kSlots;
    elevations_.assign(std::size_t(slots_) * std::size_t(stride_), 0);
    if (masked_) shown_.assign(std::size_t(slots_) * std::size_t(stride_), 0);
    if (scaled_) scales_.assign(std::size_t(slots_) * std::size_t(stride_), 1.0f);
    drawn_.assign(std::size_t(slots_), 0);
    dx_.assign(std::size_t(slots_), 1.0);
    current_ = 0;
    rows_ = 0;
}

bool ReliefRows::settle() {
    if (!inFlight_) return false;
    helper_->finish();
    inFlight_ = false;
    return true;
}

void ReliefRows::giveBackHelper() {
    settle();
    if (helper_) helper_->giveBack();
    helper_ = nullptr;
}

void ReliefRows::stop() {
    giveBackHelper();
    if (active_) stagesRunning.fetch_sub(1, std::memory_order_relaxed);
    active_ = false;
}

int ReliefRows::settledRows() const {
    if (!active_) return std::numeric_limits<int>::max();
    return std::max(0, rows_ - 1 - (inFlight_ ? 1 : 0));
}

void ReliefRows::closeRow(int slot) {
    float* r = row(slot) + 1;
    int end = drawn_[slot] = std::min(drawn_[slot], width_);
    if (masked_) {
        std::uint8_t* m = mask(slot) + 1;
        m[-1] = 0;
        m[width_] = 0;
        return;
    }
    if (end == 0) return;
    // The last drawn pixel stands in for every neighbour beyond it.
    r[-1] = r[0];
    std::fill(r + end, r + width_ + 1, r[end - 1]);
}

void ReliefRows::shadeJob(const void* data) {
    const RowJob& job = *static_cast<const RowJob*>(data);
    const ReliefRows& s = *job.stage;
    if (s.masked_)
        shadeReliefRowMasked(s.light_, s.row(job.above) + 1, s.row(job.centre) + 1, s.row(job.below) + 1,
                             s.mask(job.above) + 1, s.mask(job.centre) + 1, s.mask(job.below) + 1, job.width,
                             job.dx, s.dy_, job.pixels, s.scaled_ ? s.scale(job.centre) + 1 : nullptr);
    else
        shadeReliefRow(s.light_, s.row(job.above) + 1, s.row(job.centre) + 1, s.row(job.below) + 1, job.width,
                       job.dx, s.dy_, job.pixels);
}

void ReliefRows::shade(Raster& image, int y, int above, int centre, int below) {
    const int width = std::min(drawn_[centre], image.width());
    if (width <= 0 || y >= image.height()) return;
    if (drawn_[above] == 0) above = centre;
    if (drawn_[below] == 0) below = centre;
    job_ = {this, above, centre, below, width, dx_[centre], image.row(y)};
    if (helper_) {
        helper_->post(&shadeJob, &job_);
        inFlight_ = true;
        ++helpedRows_;
    } else {
        shadeJob(&job_);
    }
}

int ReliefRows::rowDrawn(Raster& image, int y, double dx) {
    if (!active_ || y != rows_ || y >= height_) return y;
    if (image.width() != width_ || image.height() != height_) {
        // The picture was replaced while the map was drawn: the rest stays as coloured.
        stop();
        return y;
    }
    closeRow(current_);
    dx_[std::size_t(current_)] = dx;
    ++rows_;
    // The row before, shaded on the second thread meanwhile, is final now.
    int changed = settle() ? y - 2 : y;
    // Another rendering has started beside this one: the processors are its.
    if (helper_ && stagesRunning.load(std::memory_order_relaxed) > 1) giveBackHelper();
    if (y >= 1) {
        const int centre = (current_ + slots_ - 1) % slots_;
        const int above = y >= 2 ? (current_ + slots_ - 2) % slots_ : centre;
        shade(image, y - 1, above, centre, current_);
        changed = std::min(changed, y - 1);
    }
    // The next row takes the slot of the oldest, whose last use is done.
    current_ = (current_ + 1) % slots_;
    drawn_[std::size_t(current_)] = 0;
    return changed;
}

ReliefRows::Rows ReliefRows::finish(Raster& image) {
    if (!active_ || rows_ == 0) {
        stop();
        return {};
    }
    // The last row is shaded here, where nothing else is left to do.
    const int first = inFlight_ ? rows_ - 2 : rows_ - 1;
    giveBackHelper();
    if (image.width() != width_ || image.height() != height_) {
        stop();
        return {};
    }
    const int last = (current_ + slots_ - 1) % slots_;
    const int above = rows_ >= 2 ? (current_ + slots_ - 2) % slots_ : last;
    shade(image, rows_ - 1, above, last, last);
    stop();
    return {first, rows_};
}

}  // namespace rubicel
