// SPDX-License-Identifier: MIT
// furniture_layout_test.cpp: grid lines on the pixels their samples put them, labels placed apart, the scale bar's length.
#include "furniture/furniture_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "furniture/graticule.h"
#include "furniture/label_font.h"
#include "maps/drawn_map.h"
#include "maps/polar_grid.h"

namespace rubicel {
namespace {

// The box 170°E to 190°E, 40°N to 20°N at step 4 (320 by 320 pixels): the
// north-east tile from column 10879, its west neighbour from pixel 160.
DrawnMap across180() { return drawnAreaMap({2, 3, 0, 1}, 3200, 10879, 12159, 4, 320); }
// The box 10°W to 10°E, 5°N to 5°S at step 3 (428 by 213): the north-west
// tile up to its column 11518 (pixel 213, three samples to the left of 0°),
// then 0° at pixel 214; the southern tiles from row 107.
DrawnMap aroundZero() { return drawnAreaMap({3, 2, 1, 0}, 5440, 10879, 12159, 3, 213); }

const LabelFont& font() {
    std::string error;
    const LabelFont* f = LabelFont::shared(&error);
    if (!f) throw std::runtime_error(error);
    return *f;
}

MapGeometry geometry(const DrawnMap& map) {
    const auto g = MapGeometry::of(map, map.westPixels + map.eastPixels, map.rows);
    if (!g) throw std::runtime_error("no geometry");
    return *g;
}

std::vector<const FurnitureLabel*> labelsOf(const FurnitureLayout& layout, LabelRole role) {
    std::vector<const FurnitureLabel*> found;
    for (const auto& l : layout.labels)
        if (l.role == role) found.push_back(&l);
    return found;
}

TEST(Graticule, IntervalKeepsLines64PixelsApart) {
    const std::map<int, int> intervals = {{1, 1}, {4, 5}, {13, 15}, {24, 30}};
    for (const auto& [step, interval] : intervals) EXPECT_EQ(graticuleInterval(step), interval) << "step " << step;
}

// Column x stands for the longitudes from its first sample's west edge to the
// next column's: a meridian on that edge is on x. Rows likewise, from north.
TEST(Graticule, LinesLieOnThePixelsWhoseSamplesHoldThem) {
    const struct {
        DrawnMap map;
        std::map<double, double> meridians;  // degrees of the line, pixel centre
        std::map<double, double> parallels;
        std::vector<std::string> longitudeLabels;
    } cases[] = {
        {across180(), {{170, 0.5}, {175, 80.5}, {180, 160.5}, {185, 240.5}},
         {{40, 0.5}, {35, 80.5}, {30, 160.5}, {25, 240.5}}, {"170°E", "175°E", "180°E", "185°E"}},
        {aroundZero(), {{-10, 0.5}, {-5, 107.5}, {0, 214.5}, {5, 320.5}, {10, 427.5}},
         {{5, 0.5}, {0, 107.5}}, {"350°E", "355°E", "0°E", "5°E", "10°E"}},
    };
    FurnitureLayers layers;
    layers.graticule = true;
    for (const auto& c : cases) {
        const MapGeometry map = geometry(c.map);
        const FurnitureLayout layout = layOutFurniture(map, layers, font(), {});
        EXPECT_EQ(layout.interval, 5);
        std::map<double, double> meridians, parallels;
        for (const GridLine& line : layout.lines) {
            ASSERT_EQ(line.points.size(), 2u);
            (line.meridian ? meridians : parallels)[line.degrees] = line.meridian ? line.points[0].x : line.points[0].y;
        }
        EXPECT_EQ(meridians, c.meridians);
        EXPECT_EQ(parallels, c.parallels);
        std::vector<std::string> texts;
        for (const auto* l : labelsOf(layout, LabelRole::Longitude)) texts.push_back(l->text);
        EXPECT_EQ(texts, c.longitudeLabels);
    }
}

// A polar map: parallels are circles round the pole; meridians start where
// they come 64 pixels apart, every 10° from 366.7 pixels out, every 30° from
// 122.2, every 90° from the pole; each lies where the samples put it.
TEST(Graticule, PolarMapHasCirclesAndThinnedMeridians) {
    const PolarGrid grid = polarGrid(1, 60, 4);
    const DrawnMap drawn = drawnPolarMap(1, 60, 4, grid.n, 2 * grid.n);
    const MapGeometry map = geometry(drawn);
    FurnitureLayers layers;
    layers.graticule = true;
    const FurnitureLayout layout = layOutFurniture(map, layers, font(), {});
    ASSERT_EQ(layout.circles.size(), 6u);  // 60°N to 85°N
    const PicturePoint pole = map.poleAt();
    for (const GridCircle& c : layout.circles) {
        // The sample at the circle's east and south points lies on the parallel.
        for (const auto& [dx, dy] : {std::pair{c.radius - 0.5, 0.0}, std::pair{0.0, c.radius - 0.5}}) {
            const auto s = drawnSample(drawn, int(pole.x + dx), int(pole.y + dy));
            ASSERT_TRUE(s);
            EXPECT_NEAR(s->latitude, c.latitude, 0.08) << c.latitude;
        }
    }
    EXPECT_NEAR(layout.circles[4].radius, 160.40, 0.01);  // 80°N

    std::map<int, double> starts;  // longitude, radius where the meridian starts
    for (const GridLine& line : layout.lines) {
        const PicturePoint a = line.points.front(), b = line.points.back();
        starts[int(line.degrees)] = std::hypot(a.x - pole.x, a.y - pole.y);
        EXPECT_NEAR(std::hypot(b.x - pole.x, b.y - pole.y), map.rimRadius(), 1e-9);
        const double inside = 1.0 - 2.0 / map.rimRadius();
        const auto s = drawnSample(drawn, int(pole.x + (b.x - pole.x) * inside), int(pole.y + (b.y - pole.y) * inside));
        ASSERT_TRUE(s);
        EXPECT_NEAR(std::fmod(s->longitude + 0.5, 360.0) - 0.5, line.degrees, 0.3) << line.degrees;
    }
    ASSERT_EQ(starts.size(), 36u);
    EXPECT_EQ(starts[0], 0.0);
    EXPECT_EQ(starts[270], 0.0);
    EXPECT_NEAR(starts[30], 122.23, 0.01);
    EXPECT_NEAR(starts[10], 366.69, 0.01);
    // Outside the 40.7 pixels where the four that meet at the pole come
    // closer, neighbours stand 64 pixels apart or more.
    for (double r = 40.8; r < map.rimRadius(); r += 7.0) {
        std::vector<int> present;
        for (const auto& [degrees, start] : starts)
            if (start <= r) present.push_back(degrees);
        for (std::size_t i = 0; i < present.size(); ++i) {
            const int gap = (present[(i + 1) % present.size()] - present[i] + 360) % 360;
            EXPECT_GE(r * gap * std::numbers::pi / 180.0, 64.0 - 1e-9) << r << " " << present[i];
        }
    }
    std::vector<std::string> rim;
    for (const auto* l : labelsOf(layout, LabelRole::Longitude)) rim.push_back(l->text);
    EXPECT_GE(rim.size(), 30u);
    EXPECT_EQ(rim.front(), "0°E");
}

TEST(ScaleBar, TrueAtTheCentreLatitude) {
    const PolarGrid polar = polarGrid(1, 60, 4);
    const struct {
        DrawnMap map;
        double kilometres;
        double pixels;
        std::string label;
    } cases[] = {
        // 1000 by 200 pixels at step 4 round the equator: 3.7047 km a pixel.
        {drawnAreaMap({3, 2, 1, 0}, 5360, 0, 4000, 4, 200), 500, 134.965, "500 km"},
        // The same round 60°N: half of that across, 53.75°N to 66.25°N.
        {drawnAreaMap({3, 2, 1, 0}, 1520, 0, 4000, 4, 200), 200, 107.972, "200 km at 60°N"},
        // True at the pole; at the limit 60°N the scale is 7% larger.
        {drawnPolarMap(1, 60, 4, polar.n, 2 * polar.n), 500, 134.965, "500 km at 90°N"},
    };
    FurnitureLayers layers;
    layers.scaleBar = true;
    for (const auto& c : cases) {
        const MapGeometry map = geometry(c.map);
        const FurnitureLayout layout = layOutFurniture(map, layers, font(), {});
        ASSERT_TRUE(layout.scaleBar);
        EXPECT_EQ(layout.scaleBar->kilometres, c.kilometres);
        EXPECT_NEAR(layout.scaleBar->bar.width, c.pixels, 0.001);
        EXPECT_LE(layout.scaleBar->bar.width, map.width() / 5.0);
        EXPECT_EQ(layout.scaleBar->bar.bottom(), map.height() - 8.0);
        ASSERT_EQ(layout.labels.size(), 1u);
        EXPECT_EQ(layout.labels[0].text, c.label);
    }
}

// A crowd of features of every size over the box across 180°, some given
// west of 0° (184.675°E as -175.325, between four of the crowd), albedo
// features and two landers among them.
std::vector<MapPlace> crowd() {
    std::vector<MapPlace> places;
    for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 16; ++j) {
            const double lon = 170.3 + i * 1.25;
            const std::string name = std::to_string(i * 16 + j) + std::string(std::size_t((i * 5 + j * 3) % 14), 'x');
            places.push_back({name, 39.7 - j * 1.25, lon > 180 ? lon - 360 : lon, 10.0 + (i * 37 + j * 91) % 400,
                              (i + j) % 9 == 0 ? PlaceKind::AlbedoFeature : PlaceKind::Feature});
        }
    places.push_back({"Westward", 30.325, -175.325, 500.0, PlaceKind::Feature});
    places.push_back({"Lander One", 33.1, 176.2, 0, PlaceKind::LandingSite});
    places.push_back({"Lander Two", 22.4, 188.9, 0, PlaceKind::LandingSite});
    return places;
}

// Every label lies inside the map and clear of the others and of the markers;
// the names come largest first, and the order of the list changes nothing.
TEST(PlaceNames, PlacedInsideApartLargestFirstWhateverTheOrder) {
    const MapGeometry map = geometry(across180());
    const FurnitureLayers all{true, true, true, true};
    std::vector<MapPlace> places = crowd();
    const FurnitureLayout layout = layOutFurniture(map, all, font(), places);

    std::vector<PictureBox> taken;
    for (const auto& l : layout.labels) taken.push_back(l.box);
    for (const auto& m : layout.markers)
        taken.push_back({m.centre.x - m.radius, m.centre.y - m.radius, 2 * m.radius, 2 * m.radius});
    taken.push_back(layout.scaleBar->bar);
    const PictureBox picture{0, 0, 320, 320};
    for (std::size_t i = 0; i < taken.size(); ++i) {
        EXPECT_TRUE(picture.contains(taken[i])) << i;
        for (std::size_t k = 0; k < i; ++k) EXPECT_FALSE(taken[i].overlaps(taken[k])) << i << " " << k;
    }

    const auto names = labelsOf(layout, LabelRole::PlaceName);
    ASSERT_GE(names.size(), 20u);
    std::map<std::string, const MapPlace*> byName;
    for (const auto& p : places) byName[p.name] = &p;
    for (std::size_t i = 1; i < names.size(); ++i)
        EXPECT_GE(byName[names[i - 1]->text]->diameterKm, byName[names[i]->text]->diameterKm) << names[i]->text;
    for (const auto* l : names) {
        EXPECT_NE(byName[l->text]->kind, PlaceKind::AlbedoFeature) << l->text;
        EXPECT_GE(byName[l->text]->diameterKm / map.kilometresPerPixel(0), 12.0) << l->text;
    }
    // The largest, found on the east side of 180° where the map shows it.
    EXPECT_EQ(names[0]->text, "Westward");
    EXPECT_EQ(names[0]->placement, LabelPlacement::Centred);
    EXPECT_NEAR(names[0]->anchor.x, 234.8, 1e-9);  // (184.675 - 170) × 16
    EXPECT_NEAR(names[0]->anchor.y, 154.8, 1e-9);
    EXPECT_EQ(labelsOf(layout, LabelRole::LandingSite).size(), 2u);

    std::reverse(places.begin(), places.end());
    const FurnitureLayout again = layOutFurniture(map, all, font(), places);
    ASSERT_EQ(again.labels.size(), layout.labels.size());
    for (std::size_t i = 0; i < layout.labels.size(); ++i) {
        EXPECT_EQ(again.labels[i].text, layout.labels[i].text);
        EXPECT_EQ(again.labels[i].box.left, layout.labels[i].box.left);
        EXPECT_EQ(again.labels[i].box.top, layout.labels[i].box.top);
    }
}

// Of two features close together the larger is named on its centre, the
// smaller beside its own, unless they share a centre; a layout with every
// layer off is empty.
TEST(PlaceNames, LargerFeatureTakesTheCentre) {
    const MapGeometry map = geometry(across180());
    const std::vector<MapPlace> places = {{"Small", 30.5, 180, 200, PlaceKind::Feature},
                                          {"Big", 30, 180, 300, PlaceKind::Feature}};
    FurnitureLayers layers;
    EXPECT_TRUE(layOutFurniture(map, layers, font(), places).empty());
    layers.placeNames = true;
    const FurnitureLayout layout = layOutFurniture(map, layers, font(), places);
    ASSERT_EQ(layout.labels.size(), 2u);
    EXPECT_EQ(layout.labels[0].text, "Big");
    EXPECT_EQ(layout.labels[0].placement, LabelPlacement::Centred);
    EXPECT_EQ(layout.labels[0].size, TextSize::Medium);  // 81 pixels across
    EXPECT_EQ(layout.labels[1].text, "Small");
    EXPECT_EQ(layout.labels[1].placement, LabelPlacement::AboveRight);
    EXPECT_EQ(layout.labels[1].anchor.y, 152.0);
    EXPECT_EQ(layout.labels[1].box.left, 160.0 + 2.0);

    // A ring of scarps 1900 km long around a volcano 600 km wide, their
    // centres 0.3° apart: the volcano's name takes the centre, the ring's
    // goes beside it where there is room.
    const std::vector<MapPlace> nested = {{"Ring Rupes", 30.1, 178.2, 1900, PlaceKind::Feature},
                                          {"Great Mons", 30.3, 178.0, 600, PlaceKind::Feature}};
    const FurnitureLayout around = layOutFurniture(map, layers, font(), nested);
    ASSERT_FALSE(around.labels.empty());
    EXPECT_EQ(around.labels[0].text, "Great Mons");
    EXPECT_EQ(around.labels[0].placement, LabelPlacement::Centred);
    for (std::size_t i = 1; i < around.labels.size(); ++i)
        EXPECT_NE(around.labels[i].placement, LabelPlacement::Centred);
}

}  // namespace
}  // namespace rubicel
