// SPDX-License-Identifier: MIT
// furniture_drawing_test.cpp: the furniture painted where its layout puts it, and nothing painted or loaded without it.
#include "export/furniture_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>

#include "colour/colour_engine.h"
#include "export/map_request.h"
#include "furniture/label_font.h"
#include "furniture/map_places.h"
#include "platform/headless/headless_platform.h"
#include "settings/feature_table.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"
#include "windows/program.h"

namespace rubicel {
namespace {

// Whether a library whose file name holds name is mapped into this process.
bool mapped(const std::string& name) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find(name) != std::string::npos) return true;
    return false;
}

double distanceToSegment(double x, double y, const PicturePoint& a, const PicturePoint& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t = std::clamp(((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(x - (a.x + t * dx), y - (a.y + t * dy));
}

// Whether the centre of pixel (x, y) lies within reach of some furniture of
// layout: a label's box or the scale bar's, a marker, a grid line or circle
// (reach counting the halo, the line's dark edge and anti-aliasing).
bool nearFurniture(const FurnitureLayout& layout, int x, int y, double reach) {
    const double cx = x + 0.5, cy = y + 0.5;
    const auto inBox = [&](const PictureBox& box) {
        return cx >= box.left - reach && cx <= box.right() + reach && cy >= box.top - reach &&
               cy <= box.bottom() + reach;
    };
    if (layout.scaleBar && inBox(layout.scaleBar->bar)) return true;
    for (const auto& label : layout.labels)
        if (inBox(label.box)) return true;
    for (const auto& marker : layout.markers)
        if (std::hypot(cx - marker.centre.x, cy - marker.centre.y) <= marker.radius + reach) return true;
    for (const auto& circle : layout.circles)
        if (std::fabs(std::hypot(cx - circle.centre.x, cy - circle.centre.y) - circle.radius) <= reach) return true;
    for (const auto& line : layout.lines)
        for (std::size_t k = 1; k < line.points.size(); ++k)
            if (distanceToSegment(cx, cy, line.points[k - 1], line.points[k]) <= reach) return true;
    return false;
}

bool dark(std::uint32_t pixel) { return std::max({redOf(pixel), greenOf(pixel), blueOf(pixel)}) < 96; }

TEST(FurnitureDrawing, PaintsWhatTheLayoutPlacesAndNothingWithoutALayer) {
    // Every sample 0: each map is one colour (the light grey round a polar map's circle besides).
    test::TempDir dir;
    test::makeSparseTileSet(dir.path());
    HeadlessPlatform ui;
    Program p(ui);
    p.map.datafolder = dir.folder();
    p.File1.assign(test::kTileNames.begin(), test::kTileNames.end());
    initbands(p.colour);
    p.colour.scheme = 2;
    p.colour.mode = 0;
    const LabelFont* font = LabelFont::shared();
    ASSERT_TRUE(font);

    const struct {
        MapRequest request;
        std::vector<std::string> named;  // among the labels
        std::size_t markers;
    } cases[] = {
        {MapRequest::feature(*findFeature("Tharsis province")),
         {"Arsia Mons", "Ascraeus Mons", "Tharsis Montes", "0°", "240°E"}, 0},
        {MapRequest::polar(1, 60), {"Phoenix", "90°E"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.request.caption);
        ASSERT_TRUE(drawMap(p, ui, c.request));
        Raster& picture = p.dmap.image;
        const auto map = MapGeometry::of(p.dmap);
        ASSERT_TRUE(map);
        const Raster bare = picture;

        // With no layer on the picture stays as it is, and Cairo is never loaded.
        // (The first case runs before anything in this program paints.)
        EXPECT_FALSE(drawFurniture(picture, *map, FurnitureLayers{}));
        EXPECT_TRUE(std::equal(bare.data(), bare.data() + bare.width() * bare.height(), picture.data()));
        if (&c == &cases[0]) {
            EXPECT_FALSE(mapped("librubicel-cairo.so"));
            EXPECT_FALSE(mapped("libcairo"));
        }

        const FurnitureLayers all{true, true, true, true};
        const auto failure = drawFurniture(picture, *map, all);
        ASSERT_FALSE(failure) << *failure;
        EXPECT_TRUE(mapped("librubicel-cairo.so"));
        // The same map, layers, font and places give the layout painted.
        const FurnitureLayout layout = layOutFurniture(*map, all, *font, shippedMapPlaces());
        for (const std::string& name : c.named)
            EXPECT_TRUE(std::any_of(layout.labels.begin(), layout.labels.end(),
                                    [&](const FurnitureLabel& l) { return l.text == name; }))
                << name;
        EXPECT_EQ(layout.markers.size(), c.markers);
        ASSERT_TRUE(layout.scaleBar);

        // Every pixel changed lies on or beside some furniture, and stays opaque.
        int changed = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                ASSERT_EQ(picture.pixel(x, y) >> 24, 0xFFu) << x << "," << y;
                if (picture.pixel(x, y) == bare.pixel(x, y)) continue;
                ++changed;
                ASSERT_TRUE(nearFurniture(layout, x, y, 3.0)) << "pixel " << x << "," << y << " changed";
            }
        EXPECT_GT(changed, 0);
        // Each straight grid line changes the pixels of its column or row
        // (on a polar map, of the meridians, the middle of each line).
        for (const auto& line : layout.lines) {
            const PicturePoint& a = line.points.front();
            const PicturePoint& b = line.points.back();
            int along = 0, differ = 0;
            for (double t = 0.05; t < 0.95; t += 0.01, ++along) {
                const int x = int(std::floor(a.x + t * (b.x - a.x))), y = int(std::floor(a.y + t * (b.y - a.y)));
                if (x >= 0 && y >= 0 && x < picture.width() && y < picture.height() &&
                    picture.pixel(x, y) != bare.pixel(x, y))
                    ++differ;
            }
            EXPECT_EQ(differ, along) << (line.meridian ? "meridian " : "parallel ") << line.degrees;
        }
        // Each label's letters: dark pixels inside its box, over a light map.
        for (const auto& label : layout.labels) {
            int letters = 0;
            for (int y = int(label.box.top); y < int(std::ceil(label.box.bottom())); ++y)
                for (int x = int(label.box.left); x < int(std::ceil(label.box.right())); ++x)
                    if (dark(picture.pixel(x, y)) && !dark(bare.pixel(x, y))) ++letters;
            EXPECT_GT(letters, 0) << label.text;
        }
    }
}

}  // namespace
}  // namespace rubicel
