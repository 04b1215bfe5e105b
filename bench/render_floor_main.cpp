// SPDX-License-Identifier: MIT
// render_floor_main.cpp: the least a command-line rendering must do, to time rubicel-render against.
//
// rubicel-render-floor DIR CASE OUT.bmp reads the records of map CASE (a name of
// render_plan.h) from the tiles in DIR, looks each sample up in the colour table
// of scheme 1, blended shading, and writes the picture with writeBmp.
#include <cstdio>
#include <cstring>
#include <string>

#include "colour/colour_engine.h"
#include "common/bmp_writer.h"
#include "maps/resolution.h"
#include "platform/headless/headless_platform.h"
#include "render_plan.h"

int main(int argc, char** argv) {
    using namespace rubicel;
    if (argc != 4) {
        std::fprintf(stderr, "usage: rubicel-render-floor DIR CASE OUT.bmp\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '/') folder += '/';
    const bench::MapCase* m = nullptr;
    for (const auto& c : bench::kMapCases)
        if (std::strcmp(c.name, argv[2]) == 0) m = &c;
    const auto tiles = listTiles(folder);
    if (!m || !tiles || tiles->size() != 4) {
        std::fprintf(stderr, "rubicel-render-floor: unknown case or no tiles\n");
        return 2;
    }
    HeadlessPlatform ui;
    Program p(ui);
    initbands(p.colour);
    p.colour.scheme = 1;
    p.colour.mode = 1;
    p.colourTable.prepare(p.colour, p.colour.scheme);
    const std::int16_t step = m->step != 0 ? m->step : automaticStep(m->a, m->b, m->c, m->d);
    const bench::Plan plan = bench::makePlan(*m, step);
    Raster image;
    image.reset(plan.width, plan.height);
    bench::FloorLoop(folder, *tiles).run(plan, p.colourTable, image);
    if (const auto failure = writeBmp(image, argv[3])) {
        std::fprintf(stderr, "%s\n", failure->c_str());
        return 1;
    }
    return 0;
}
