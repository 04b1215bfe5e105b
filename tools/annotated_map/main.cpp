// SPDX-License-Identifier: MIT
// main.cpp: rubicel-annotated-map, makes the Help menu's annotated map of Mars from the MOLA grid.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "annotated_map.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr,
                     "Usage: rubicel-annotated-map GRID OUTPUT.jpg\n"
                     "GRID: the 4 pixels-per-degree MOLA grid (data/mola/megt90n000cb.img)\n");
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    rubicel::mktiles::Grid grid;
    if (const auto failure =
            rubicel::mktiles::loadGrid(argv[1], rubicel::mktiles::kGridRows, rubicel::mktiles::kGridColumns, grid)) {
        std::fprintf(stderr, "rubicel-annotated-map: %s\n", failure->c_str());
        return 1;
    }
    QImage map = rubicel::annotated::colourMap(grid, {});
    rubicel::annotated::annotate(map);
    if (!map.save(QString::fromLocal8Bit(argv[2]), "JPEG", 92)) {
        std::fprintf(stderr, "rubicel-annotated-map: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
