// SPDX-License-Identifier: MIT
// colour_bar.cpp: a figure's horizontal colour bar: the map's colours over its elevations, annotated at a round interval.
#include "figure/colour_bar.h"

#include <algorithm>
#include <cmath>

#include "colour/colour_engine.h"
#include "colour/colour_state.h"
#include "colour/diagnostics.h"
#include "common/raster.h"
#include "figure/figure_style.h"
#include "furniture/label_font.h"

namespace rubicel {

namespace {

// floor(a / b) and ceil(a / b) for b > 0, whatever a's sign.
long long floorDiv(long long a, long long b) { return a / b - (a % b != 0 && a < 0 ? 1 : 0); }
long long ceilDiv(long long a, long long b) { return a / b + (a % b != 0 && a > 0 ? 1 : 0); }

long long annotationCount(ElevationSpan span, long long interval) {
    return floorDiv(span.highest, interval) - ceilDiv(span.lowest, interval) + 1;
}

}  // namespace

long long nextRoundInterval(long long interval) {
    long long power = 1;
    while (power * 10 <= interval) power *= 10;
    const long long m = interval / power;
    return m < 2 ? 2 * power : m < 5 ? 5 * power : 10 * power;
}

long long colourBarInterval(ElevationSpan span, int most) {
    long long interval = 1;
    while (annotationCount(span, interval) > most) interval = nextRoundInterval(interval);
    return interval;
}

std::vector<ColourRun> colourRuns(const ColourState& colour, ElevationSpan span) {
    ColourState state = colour;
    RecordingSink quiet;
    std::vector<ColourRun> runs;
    for (int e = span.lowest; e <= span.highest; ++e) {
        colourElevation(state, state.scheme, std::int16_t(e), quiet);
        const std::uint32_t rgb = packRgb(state.R, state.G, state.B);
        if (!runs.empty() && runs.back().rgb == rgb)
            runs.back().highest = e;
        else
            runs.push_back({e, e, rgb});
    }
    return runs;
}

std::string elevationText(long long metres) {
    if (metres >= 0) return std::to_string(metres);
    return "\u2212" + std::to_string(-metres);
}

double ColourBar::xOf(double metres) const {
    const double across = double(span.highest - span.lowest);
    return box.left + (across > 0 ? (metres - span.lowest) / across : 0.0) * box.width;
}

ColourBar layOutColourBar(const ColourState& colour, ElevationSpan span, const PageBox& box, const LabelFont& font) {
    ColourBar bar;
    bar.box = box;
    bar.span = span;
    // Elevation e stands for the metre from e - 1/2 to e + 1/2.
    for (const ColourRun& run : colourRuns(colour, span)) {
        const double from = std::max(double(span.lowest), run.lowest - 0.5);
        const double to = std::min(double(span.highest), run.highest + 0.5);
        bar.bands.push_back({bar.xOf(from), bar.xOf(to), run.rgb});
    }

    const double tickEnd = box.bottom() + pointsOfMm(kBarTickMm);
    const double baseline = tickEnd + pointsOfMm(kTickGapMm) + font.ascender() * kLabelSize;
    const double clear = pointsOfMm(kLabelClearMm);
    for (long long interval = colourBarInterval(span);; interval = nextRoundInterval(interval)) {
        bar.interval = interval;
        bar.ticks.clear();
        bar.labels.clear();
        bool apart = true;
        for (long long k = ceilDiv(span.lowest, interval); k * interval <= span.highest; ++k) {
            const double x = bar.xOf(double(k * interval));
            bar.ticks.push_back({{x, box.bottom()}, {x, tickEnd}});
            PageText label = setText(font, elevationText(k * interval), kLabelSize, x, baseline, TextAlign::Middle);
            if (!bar.labels.empty() && bar.labels.back().box.right() + clear > label.box.left) apart = false;
            bar.labels.push_back(std::move(label));
        }
        if (apart || bar.labels.size() <= 1) break;
    }
    const double below = bar.labels.empty() ? tickEnd : bar.labels.front().box.bottom();
    bar.name = setText(font, "Elevation (m)", kLabelSize, box.left + box.width / 2,
                       below + pointsOfMm(kBarNameGapMm) + font.ascender() * kLabelSize, TextAlign::Middle);
    return bar;
}

}  // namespace rubicel
