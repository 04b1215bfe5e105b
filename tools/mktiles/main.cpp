// SPDX-License-Identifier: MIT
// main.cpp: rubicel-mktiles, which builds the four demo tiles from the 4 pixels-per-degree grid.
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include "common/data_path.h"
#include "tile_builder.h"

namespace {

constexpr const char* kGridName = "megt90n000cb.img";

constexpr const char* kUsage =
    "Usage: rubicel-mktiles [GRID] OUTDIR\n"
    "\n"
    "Builds the four 64 pixels-per-degree elevation tiles megt00n000gb.img,\n"
    "megt00n180gb.img, megt90n000gb.img and megt90n180gb.img in OUTDIR from GRID,\n"
    "a global 4 pixels-per-degree grid of 720 rows of 1440 big-endian 16-bit\n"
    "samples, by bilinear interpolation. Without GRID the MOLA grid shipped with\n"
    "Rubicel is used, megt90n000cb.img in share/rubicel. OUTDIR is created when\n"
    "missing. Each tile is 132,710,400 bytes.\n"
    "\n"
    "  -h, --help   show this text\n";

int failure(const std::string& what) {
    std::fprintf(stderr, "rubicel-mktiles: %s\n", what.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace rubicel::mktiles;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    if (argc != 2 && argc != 3) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    std::string gridPath;
    if (argc == 3) {
        gridPath = argv[1];
    } else {
        gridPath = rubicel::dataPath(kGridName).string();
        if (gridPath.empty()) {
            std::string folders;
            for (const auto& folder : rubicel::dataFolders()) folders += "\n  " + folder.string();
            return failure(std::string("cannot find the grid ") + kGridName + "; looked in:" + folders);
        }
    }
    const std::string folder = argv[argc - 1];

    Grid grid;
    if (auto error = loadGrid(gridPath, kGridRows, kGridColumns, grid)) return failure(*error);

    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder))
        return failure("cannot make the folder " + folder + (ec ? ": " + ec.message() : ""));

    const bool showProgress = ::isatty(STDERR_FILENO) == 1;
    for (const TileSpec& spec : kDemoTiles) {
        int shown = -1;
        const Progress progress = [&](int done, int total) {
            const int percent = done * 100 / total;
            if (!showProgress || percent == shown) return;
            shown = percent;
            std::fprintf(stderr, "\r%s %3d%%", spec.name, percent);
            std::fflush(stderr);
        };
        const auto error = writeTile(grid, spec, folder, progress);
        if (showProgress) std::fputs("\n", stderr);
        if (error) return failure(*error);
    }
    return 0;
}
