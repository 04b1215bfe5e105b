// SPDX-License-Identifier: MIT
// figure_layout_test.cpp: the colour bar's interval, colours and annotations; every part of a figure on its page, at the figure's sizes.
#include "figure/figure_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "colour/colour_engine.h"
#include "colour/colour_state.h"
#include "colour/diagnostics.h"
#include "colour/user_bands.h"
#include "common/raster.h"
#include "furniture/label_font.h"
#include "maps/drawn_map.h"
#include "maps/polar_grid.h"
#include "maps/relief_shading.h"

namespace rubicel {
namespace {

const LabelFont& font() {
    std::string error;
    const LabelFont* f = LabelFont::shared(&error);
    if (!f) throw std::runtime_error(error);
    return *f;
}

std::uint32_t engineColour(ColourState colour, int elevation) {
    RecordingSink quiet;
    colourElevation(colour, colour.scheme, std::int16_t(elevation), quiet);
    return packRgb(colour.R, colour.G, colour.B);
}

// The smallest of 1, 2, 5 x 10^k metres giving at most 8 annotations.
TEST(ColourBar, IntervalIsTheSmallestRoundOneWithAtMostEightAnnotations) {
    const struct {
        ElevationSpan span;
        long long interval;
    } cases[] = {
        {kFullElevations, 5000},  // -5000 to 20000: six; at 2000, fifteen
        {{0, 6000}, 1000},        // seven
        {{0, 7000}, 1000},        // eight, the most
        {{0, 8000}, 2000},        // nine at 1000
        {{-8200, -7700}, 100},    // the narrowest range the dialog takes: six
        {{1234, 1735}, 100},      // 1300 to 1700: five; at 50, ten
        {{-3000, 3000}, 1000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(colourBarInterval(c.span), c.interval) << c.span.lowest << " to " << c.span.highest;
}

// The full range under a fixed scheme and a user range under scheme 9: the
// bands tile the bar, each shows the engine's colour of its elevations, and
// the annotations stand at the interval, named in metres.
TEST(ColourBar, BandsShowTheEnginesColoursAndAnnotationsTheInterval) {
    ColourState fixed;
    initbands(fixed);
    fixed.scheme = 5;
    fixed.mode = 1;
    ColourState user = fixed;
    ASSERT_TRUE(userbandsFromLimits(user, 200, 3700));
    user.scheme = kBandTableScheme;
    user.mode = 0;
    const struct {
        ColourState colour;
        ElevationSpan span;
        std::vector<std::string> labels;
    } cases[] = {
        {fixed, kFullElevations, {"\u22125000", "0", "5000", "10000", "15000", "20000"}},
        {user, {200, 3700}, {"500", "1000", "1500", "2000", "2500", "3000", "3500"}},
    };
    const PageBox box{50, 400, 300, 8.5};
    for (const auto& c : cases) {
        const ColourBar bar = layOutColourBar(c.colour, c.span, box, font());
        std::vector<std::string> labels;
        for (std::size_t i = 0; i < bar.labels.size(); ++i) {
            labels.push_back(bar.labels[i].text);
            EXPECT_NEAR(bar.labels[i].anchor().x, bar.ticks[i].from.x, 1e-9);
        }
        EXPECT_EQ(labels, c.labels);
        EXPECT_EQ(bar.name.text, "Elevation (m)");
        ASSERT_FALSE(bar.bands.empty());
        EXPECT_EQ(bar.bands.front().left, box.left);
        EXPECT_EQ(bar.bands.back().right, box.right());
        for (std::size_t i = 1; i < bar.bands.size(); ++i) {
            EXPECT_EQ(bar.bands[i].left, bar.bands[i - 1].right);
            EXPECT_NE(bar.bands[i].rgb, bar.bands[i - 1].rgb);
        }
        for (int e = c.span.lowest; e <= c.span.highest; e += 37) {
            const double x = bar.xOf(e);
            for (const ColourBar::Band& b : bar.bands) {
                if (b.left < x && x < b.right) {
                    EXPECT_EQ(b.rgb, engineColour(c.colour, e)) << e;
                }
            }
        }
    }
}

// The box 170°E to 190°E, 40°N to 20°N: at step 4 (320 pixels), at step 8
// (160); the north polar map to 60°N at step 4.
MapGeometry across180(int step) {
    const int width = 20 * 64 / step;
    const auto g = MapGeometry::of(drawnAreaMap({2, 3, 0, 1}, 3200, 10879, 12159, step, width), width, width);
    if (!g) throw std::runtime_error("no geometry");
    return *g;
}
MapGeometry polarNorth() {
    const PolarGrid grid = polarGrid(1, 60, 4);
    const auto g = MapGeometry::of(drawnPolarMap(1, 60, 4, grid.n, 2 * grid.n), 2 * grid.n, 2 * grid.n);
    if (!g) throw std::runtime_error("no geometry");
    return *g;
}

bool inside(const PageBox& box, const FigureLayout& f) {
    return box.left >= 0 && box.top >= 0 && box.right() <= f.width && box.bottom() <= f.height;
}

// Whether box keeps out of the frame's rectangle or circle.
bool clearOfFrame(const PageBox& box, const FigureFrame& frame) {
    if (frame.shape == FigureFrame::Shape::Rectangle) return !box.overlaps(frame.box);
    const PagePoint c = frame.centre();
    const double x = std::clamp(c.x, box.left, box.right()), y = std::clamp(c.y, box.top, box.bottom());
    return std::hypot(x - c.x, y - c.y) >= frame.radius();
}

// Whatever the picture's pixels and the page's width, the page is as wide as
// asked, the picture keeps its aspect inside the frame, nothing printed
// leaves the page or covers a label, and the furniture prints at the
// figure's sizes.
TEST(FigurePage, EverythingOnThePageAtTheFiguresSizes) {
    ColourState colour;
    initbands(colour);
    colour.scheme = 5;
    ReliefSettings relief;
    relief.on = true;
    relief.azimuth = -45;
    const std::vector<MapPlace> places = {{"Westward", 30.0, -175.0, 500.0, PlaceKind::Feature}};
    const struct {
        MapGeometry map;
        double widthMm;
        std::vector<std::string> longitudes;  // the first few
    } cases[] = {
        {across180(4), 180, {"170°E", "172°E", "174°E"}},
        {across180(8), 180, {"170°E", "172°E", "174°E"}},
        {across180(4), 40, {"170°E", "180°E"}},
        {polarNorth(), 120, {"0°E", "15°E", "30°E"}},
    };
    double scaleBarLabelHeight = 0;
    for (const auto& c : cases) {
        FigureSpec spec;
        spec.caption = "Test Area";
        spec.widthMm = c.widthMm;
        spec.layers = {true, true, true, true};
        const FigureLayout f = layOutFigure(c.map, colour, relief, spec, places, font());
        SCOPED_TRACE(std::to_string(c.map.width()) + " pixels at " + std::to_string(c.widthMm) + " mm");
        EXPECT_NEAR(f.width, c.widthMm * 72 / 25.4, 1e-9);
        EXPECT_NEAR(f.pictureBox.width / f.pictureBox.height, double(c.map.width()) / c.map.height(), 1e-12);
        EXPECT_NEAR(f.picture.scale, f.pictureBox.width / c.map.width(), 1e-12);
        EXPECT_NEAR(f.frame.box.width, c.map.polar() ? 2 * c.map.rimRadius() * f.picture.scale : f.pictureBox.width,
                    1e-9);
        ASSERT_EQ(f.title.size(), 1u);
        EXPECT_EQ(f.title[0].text, "Test Area");
        std::string credit;
        for (const PageText& t : f.credit) credit += (credit.empty() ? "" : " ") + t.text;
        EXPECT_EQ(credit, "MOLA MEGDR 64 px/deg, NASA/GSFC; names IAU/USGS; relief: sun at azimuth 315°, altitude 45°");

        std::vector<const PageText*> printed;
        for (const auto* list : {&f.title, &f.tickLabels, &f.colourBar.labels, &f.credit})
            for (const PageText& t : *list) printed.push_back(&t);
        printed.push_back(&f.colourBar.name);
        for (std::size_t i = 0; i < printed.size(); ++i) {
            EXPECT_TRUE(inside(printed[i]->box, f)) << printed[i]->text;
            EXPECT_TRUE(clearOfFrame(printed[i]->box, f.frame)) << printed[i]->text;
            for (std::size_t k = 0; k < i; ++k)
                EXPECT_FALSE(printed[i]->box.overlaps(printed[k]->box)) << printed[i]->text << " " << printed[k]->text;
        }
        EXPECT_TRUE(inside(f.colourBar.box, f));
        EXPECT_TRUE(f.frame.box.bottom() < f.colourBar.box.top && f.title[0].box.bottom() < f.frame.box.top);

        std::vector<std::string> longitudes;
        for (const PageText& t : f.tickLabels)
            if (t.text.ends_with("E") && longitudes.size() < c.longitudes.size()) longitudes.push_back(t.text);
        EXPECT_EQ(longitudes, c.longitudes);
        // The graticule's own labels are outside the frame, not on the map.
        for (const FurnitureLabel& l : f.furniture.labels)
            EXPECT_TRUE(l.role != LabelRole::Longitude && (c.map.polar() || l.role != LabelRole::Latitude)) << l.text;

        // The scale bar's label, Small text, prints at the same size on every
        // page whatever the picture's pixels.
        for (const FurnitureLabel& l : f.furniture.labels) {
            if (l.role != LabelRole::ScaleBar) continue;
            const double height = l.box.height * f.picture.scale;
            EXPECT_NEAR(height, (font().ascender() + font().descender()) * textPixels(TextSize::Small) *
                                    kFurniturePoints, 1e-9);
            if (scaleBarLabelHeight == 0) scaleBarLabelHeight = height;
            EXPECT_NEAR(height, scaleBarLabelHeight, 1e-9);
        }
    }
    EXPECT_GT(scaleBarLabelHeight, 0);
}

}  // namespace
}  // namespace rubicel
