// SPDX-License-Identifier: MIT
// figure_bench.cpp: the planet as a figure for a paper, written as a PDF and as a 300 dpi PNG, beside GMT drawing the same figure.
//
// Run by hand: RUBICEL_BENCH_TILES=DIR build/bench/rubicel_render_bench --benchmark_filter='figure|gmt'
// Each iteration draws the planet centred on 0° at step 24 (960 x 480
// pixels) from the tiles, as GMT's grdimage colours its grid, then lays out
// its 180 mm figure (graticule and place names, the colour bar, the credit)
// and writes it. Targets: the PDF at most
// 0.2 times GMT's time for the same figure, the PNG at most 0.5 s. The gmt/
// case, run when GMT is installed, writes the elevations of the same pixels
// as a grid beforehand, then times one GMT session: grdimage of that grid,
// the basemap frame with its graticule and a colour bar, to a PDF.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_tiles.h"
#include "export/figure_file.h"
#include "figure/figure_layout.h"
#include "furniture/map_places.h"
#include "maps/area_renderer.h"
#include "maps/tile_file.h"
#include "platform/headless/headless_platform.h"
#include "windows/program.h"

namespace {

using namespace rubicel;

struct Planet {
    HeadlessPlatform ui;
    Program p{ui};
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "rubicel-figure-bench";
    bool ok = false;
    Planet() {
        if (!bench::pointAtBenchTiles(p)) return;
        p.colour.scheme = 1;
        p.colour.mode = 1;
        p.map.resolution = 24;
        p.map.autoresolution = 0;
        draw();
        std::filesystem::create_directories(folder);
        ok = ui.messages.empty();
    }
    void draw() {
        p.map.areaclass = kEntirePlanet;
        p.map.mapsource = kFromArea;
        mapfromtile(p, -180, 90, 180, -90);
    }
    ~Planet() { std::filesystem::remove_all(folder); }
};

FigureSpec planetSpec() {
    FigureSpec spec;
    spec.caption = "Mars";
    spec.layers.graticule = true;
    spec.layers.placeNames = true;
    return spec;
}

void figureCase(benchmark::State& state, const char* extension) {
    Planet planet;
    if (!planet.ok) return state.SkipWithError(bench::kNoBenchTiles);
    std::string unread;
    const std::vector<MapPlace>& places = shippedMapPlaces(&unread);
    if (!unread.empty()) return state.SkipWithError(unread.c_str());
    const std::string path = (planet.folder / (std::string("planet.") + extension)).string();
    // The first, untimed, loads the font and the Cairo module.
    if (const auto failure = writeFigure(planet.p, planetSpec(), places, path))
        return state.SkipWithError(failure->c_str());
    for (auto _ : state) {
        planet.draw();
        if (writeFigure(planet.p, planetSpec(), places, path)) state.SkipWithError("the figure was not written");
    }
    state.counters["bytes"] = double(std::filesystem::file_size(path));
}

// The planet's elevations at step 24, sample by sample from the four tiles
// (big-endian 16-bit metres), as a native 16-bit grid from 0°E eastwards and
// from the north down.
bool writePlanetGrid(const Program& p, const std::filesystem::path& grid) {
    const int step = 24, columns = 360 * 64 / step, rows = 180 * 64 / step;
    std::vector<std::int16_t> samples(std::size_t(columns) * std::size_t(rows));
    // The tiles sorted by name: 00n000, 00n180, 90n000, 90n180.
    const int tileOf[2][2] = {{2, 3}, {0, 1}};  // [north][east half]
    for (int north = 0; north < 2; ++north)
        for (int half = 0; half < 2; ++half) {
            std::ifstream tile(p.map.datafolder + p.File1[std::size_t(tileOf[north][half])], std::ios::binary);
            std::vector<unsigned char> record(11520 * 2);
            for (int r = 0; r < rows / 2; ++r) {
                tile.seekg(std::streamoff(r) * step * std::streamoff(record.size()));
                if (!tile.read(reinterpret_cast<char*>(record.data()), std::streamsize(record.size()))) return false;
                const int row = (1 - north) * rows / 2 + r;
                for (int c = 0; c < columns / 2; ++c) {
                    const unsigned char* s = &record[std::size_t(2 * c * step)];
                    samples[std::size_t(row) * columns + std::size_t(half * columns / 2 + c)] =
                        std::int16_t(s[0] << 8 | s[1]);
                }
            }
        }
    const std::filesystem::path raw = grid.parent_path() / "planet.i2";
    std::ofstream(raw, std::ios::binary)
        .write(reinterpret_cast<const char*>(samples.data()), std::streamsize(samples.size() * 2));
    const std::string command = "cd '" + grid.parent_path().string() + "' && gmt xyz2grd '" + raw.string() + "' -R0/360/-90/90 -I0.375 -r -ZTLh -G'" +
                                grid.string() + "' && gmt makecpt -Chaxby -T-8200/21250 > '" +
                                (grid.parent_path() / "mars.cpt").string() + "'";
    return std::system(command.c_str()) == 0;
}

void gmtCase(benchmark::State& state) {
    if (std::system("command -v gmt >/dev/null 2>&1") != 0) return state.SkipWithError("GMT is not installed");
    Planet planet;
    if (!planet.ok) return state.SkipWithError(bench::kNoBenchTiles);
    const std::filesystem::path grid = planet.folder / "planet.nc";
    if (!writePlanetGrid(planet.p, grid)) return state.SkipWithError("the grid was not written");
    // A 180 mm figure: the map 17 cm wide, its frame, graticule and degree
    // labels every 30 degrees, a title, and a horizontal colour bar in metres.
    const std::string command = "cd '" + planet.folder.string() +
                                "' && gmt begin gmtplanet pdf && gmt grdimage planet.nc -JQ180/17c -Rg -Cmars.cpt "
                                "-Bxa30g30 -Bya30g30 -B+tMars && gmt colorbar -Cmars.cpt -DJBC+w10c+o0/1c+h "
                                "-Bxa5000+l'Elevation (m)' && gmt end >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return state.SkipWithError("GMT failed");
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("GMT failed");
    state.counters["bytes"] = double(std::filesystem::file_size(planet.folder / "gmtplanet.pdf"));
}

void asAWhole(benchmark::internal::Benchmark* b) { b->Unit(benchmark::kMillisecond)->UseRealTime(); }

const int registered = [] {
    asAWhole(benchmark::RegisterBenchmark("figure/planet_step24_pdf", figureCase, "pdf"));
    asAWhole(benchmark::RegisterBenchmark("figure/planet_step24_png300", figureCase, "png"));
    asAWhole(benchmark::RegisterBenchmark("gmt/planet_step24_pdf", gmtCase));
    return 0;
}();

}  // namespace
