// SPDX-License-Identifier: MIT
// colour_bar.h: a figure's horizontal colour bar: the map's colours over its elevations, annotated at a round interval.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "figure/page_text.h"

namespace rubicel {

class LabelFont;
struct ColourState;

// Elevations from lowest to highest, whole metres.
struct ElevationSpan {
    int lowest = -8200;
    int highest = 21250;
};
// Every elevation the colour schemes and the keys work with.
inline constexpr ElevationSpan kFullElevations{-8200, 21250};

inline constexpr int kMostAnnotations = 8;

// Metres between the bar's annotations: the smallest of 1, 2 and 5 x 10^k
// whose multiples within span number at most most.
long long colourBarInterval(ElevationSpan span, int most = kMostAnnotations);
// The round interval after interval: 1, 2, 5, 10, 20, 50, ...
long long nextRoundInterval(long long interval);

// Elevations lowest..highest that share one colour.
struct ColourRun {
    int lowest = 0;
    int highest = 0;
    std::uint32_t rgb = 0;  // packRgb
};

// The colours of the elevations of span, whole metre by whole metre, as the
// map's level ground has them: the colour engine's under colour's scheme,
// mode and band table (relief shading leaves level ground as coloured, its
// light there being 1, relief_shading.h). Neighbours of one colour make one
// run; where the engine assigns nothing the colour before stays, as on the
// map. No diagnostic is shown.
std::vector<ColourRun> colourRuns(const ColourState& colour, ElevationSpan span);

// "−5000", "0", "12000": metres, a minus sign (U+2212) below 0.
std::string elevationText(long long metres);

// The bar laid out on the page. Its bands abut, each from where its lowest
// elevation's metre begins to where its highest's ends (the span's ends
// clipped), so that a backend drawing them without antialiasing, or each
// from its left edge to the bar's right end before the next, shows no seam.
struct ColourBar {
    PageBox box;
    ElevationSpan span;       // from the box's left edge to its right edge
    long long interval = 0;   // metres between annotations
    struct Band {
        double left = 0;
        double right = 0;
        std::uint32_t rgb = 0;
    };
    std::vector<Band> bands;        // left to right
    std::vector<PageLine> ticks;    // down from the box's lower edge, one per annotation
    std::vector<PageText> labels;   // the annotations, centred under their ticks
    PageText name;                  // "Elevation (m)", centred under the annotations

    // Where metres lies across the box.
    double xOf(double metres) const;
    // The lowest point of anything the bar prints.
    double bottom() const { return name.box.bottom(); }
};

// The bar of colour's colours over span in box, annotated at
// colourBarInterval, or at the next round interval until the labels keep
// kLabelClearMm apart.
ColourBar layOutColourBar(const ColourState& colour, ElevationSpan span, const PageBox& box, const LabelFont& font);

}  // namespace rubicel
