// SPDX-License-Identifier: MIT
// view_paint_bench.cpp: the desktop window painting the View menu's four layers over a frame of the map.
//
// Run by hand: build/bench/rubicel_view_bench
// "frame" cases: one paint of a 968 x 488 window's worth of the map, the map's
// pixels copied and all four layers painted over them, as the window paints
// after a scroll; "bare" the same without the furniture; "prepare" cases: the once-per-map work (layout, the
// labels' images) and the first frame, which draws its tiles.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <memory>
#include <vector>

#include "desktop/furniture_painter.h"
#include "furniture/furniture_layout.h"
#include "furniture/label_font.h"
#include "furniture/map_places.h"
#include "maps/drawn_map.h"
#include "maps/polar_grid.h"
#include "places/place_index.h"

namespace {

using namespace rubicel;

struct Case {
    DrawnMap map;
    FurnitureLayout layout;
};

std::vector<MapPlace> marsPlaces() {
    return mapPlacesOf(
        PlaceIndex::fromFiles(RUBICEL_PLACES_DIR "/mars_features.csv", RUBICEL_PLACES_DIR "/landing_sites.csv"));
}

FurnitureLayout layoutOf(const DrawnMap& map, const LabelFont& font, const std::vector<MapPlace>& places) {
    const auto geometry = MapGeometry::of(map, map.westPixels + map.eastPixels, map.rows);
    return layOutFurniture(*geometry, FurnitureLayers{true, true, true, true}, font, places);
}

void frame(benchmark::State& state, DrawnMap map, bool furnished) {
    const LabelFont* font = LabelFont::shared();
    if (!font) return state.SkipWithError("no font");
    const std::vector<MapPlace> places = marsPlaces();
    const FurnitureLayout layout = layoutOf(map, *font, places);
    FurniturePainter painter(layout, *font);
    const int width = map.westPixels + map.eastPixels;
    QImage picture(width, map.rows, QImage::Format_RGB32);
    picture.fill(0xff8a6a4a);
    QImage window(968, 488, QImage::Format_RGB32);
    // Scrolled to the middle of the map, one step further each frame.
    int scroll = 0;
    for (auto _ : state) {
        const QRect area((width - window.width()) / 2 + scroll % 64, (map.rows - window.height()) / 2,
                         window.width(), window.height());
        QPainter p(&window);
        p.translate(-area.topLeft());
        p.drawImage(area.topLeft(), picture, area);
        if (furnished) painter.paint(p, area);
        p.end();
        ++scroll;
        benchmark::DoNotOptimize(window.constBits());
    }
    state.counters["labels"] = double(layout.labels.size());
}

void prepare(benchmark::State& state, DrawnMap map) {
    const LabelFont* font = LabelFont::shared();
    if (!font) return state.SkipWithError("no font");
    const std::vector<MapPlace> places = marsPlaces();
    qsizetype pixels = 0;
    QImage window(968, 488, QImage::Format_RGB32);
    const QRect area((map.westPixels + map.eastPixels - window.width()) / 2, (map.rows - window.height()) / 2,
                     window.width(), window.height());
    for (auto _ : state) {
        FurniturePainter painter(layoutOf(map, *font, places), *font);
        pixels = painter.labelPixels();
        QPainter p(&window);
        p.translate(-area.topLeft());
        painter.paint(p, area);
    }
    state.counters["label_pixels"] = double(pixels);
}

const int registered = [] {
    const PolarGrid polar = polarGrid(1, 10, 12);
    const std::pair<const char*, DrawnMap> maps[] = {
        // The planet centred on 0° at step 12: 1920 x 960 pixels, the most names in view.
        {"planet_1920x960", drawnAreaMap({3, 2, 1, 0}, 0, 0, 23038, 12, 960)},
        // The north polar map to 10°N at step 12: 1026 x 1026 pixels.
        {"polar_north_10", drawnPolarMap(1, 10, 12, polar.n, 2 * polar.n)},
    };
    for (const auto& [name, map] : maps) {
        benchmark::RegisterBenchmark((std::string("view/frame/") + name).c_str(), frame, map, true)
            ->Unit(benchmark::kMillisecond);
        // The same frame without the furniture: the window's own copy of the map.
        benchmark::RegisterBenchmark((std::string("view/bare/") + name).c_str(), frame, map, false)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("view/prepare/") + name).c_str(), prepare, map)
            ->Unit(benchmark::kMillisecond);
    }
    return 0;
}();

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
