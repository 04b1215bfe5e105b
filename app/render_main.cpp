// SPDX-License-Identifier: MIT
// render_main.cpp: rubicel-render, the desktop program's maps drawn from the command line.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "colour/colour_engine.h"
#include "colour/user_bands.h"
#include "common/temporary_files.h"
#include "export/atlas_command.h"
#include "export/figure_file.h"
#include "export/furniture_drawing.h"
#include "export/geo_transform.h"
#include "export/map_output.h"
#include "export/map_request.h"
#include "export/map_stream.h"
#include "figure/figure_layout.h"
#include "furniture/map_places.h"
#include "keys/colour_keys.h"
#include "keys/key_font.h"
#include "maps/elevation_profile.h"
#include "maps/relief_shading.h"
#include "maps/tile_file.h"
#include "platform/headless/headless_platform.h"
#include "windows/config_file.h"
#include "windows/feature_catalogue.h"
#include "windows/key_windows.h"
#include "windows/program.h"

#include "render_options.h"
#include "render_places.h"

namespace {

using namespace rubicel;

void printMessage(const HeadlessPlatform::Message& m) {
    std::fprintf(stderr, "%s%s%s\n", m.title.empty() ? "" : m.title.c_str(), m.title.empty() ? "" : ": ",
                 m.text.c_str());
}

// Draws a bar on standard error while rows are drawn, when it is a terminal.
class ProgressBar {
public:
    explicit ProgressBar(const Program& p) : p_(p), shown_(::isatty(STDERR_FILENO) == 1) {}
    void row(int rowsDone) {
        if (!shown_) return;
        const int rows = p_.dmap.image.height();
        const int percent = rows > 0 ? std::min(100, int(100LL * rowsDone / rows)) : 100;
        if (percent == last_) return;
        last_ = percent;
        char bar[41];
        const int filled = percent * 40 / 100;
        for (int k = 0; k < 40; ++k) bar[k] = k < filled ? '#' : '.';
        bar[40] = '\0';
        std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
        std::fflush(stderr);
        drawn_ = true;
    }
    void finish() {
        if (drawn_) std::fprintf(stderr, "\r%50s\r", "");
    }

private:
    const Program& p_;
    bool shown_;
    bool drawn_ = false;
    int last_ = -1;
};

// Why the folder given with --data holds no usable tiles, of which listing found count.
std::string whyNoTiles(const std::string& dir, std::size_t count) {
    std::error_code ec;
    const auto status = std::filesystem::status(dir, ec);
    if (status.type() == std::filesystem::file_type::not_found) return "there is no such folder";
    if (!ec && !std::filesystem::is_directory(status)) return "this is not a folder";
    if (count > 4)
        return "the folder holds " + std::to_string(count) + " files named megt*, more than the four MEGDR064 tiles";
    if (count > 0) return "the folder holds " + std::to_string(count) + " of the four MEGDR064 tiles (megt*)";
    std::filesystem::directory_iterator list(dir, ec);
    if (ec) return "the folder cannot be read (" + ec.message() + ")";
    return "the folder holds none of the four MEGDR064 tiles (megt*)";
}

// Points the program at the tile folder: dir when given, otherwise the folder of
// the configuration file, checked as the desktop program checks it at start-up.
// Returns false after saying why the tiles cannot be used: for dir, naming it
// and --data; for the configuration's folder, as the desktop program says it.
bool findTiles(Program& p, HeadlessPlatform& ui, const std::optional<std::string>& dir) {
    std::error_code ec;
    p.map.startfolder = std::filesystem::current_path(ec).string();
    fload(p);  // the configuration's scheme and mode, and its folder unless dir is given
    if (dir) {
        ui.messages.clear();
        p.File1.clear();
        p.map.datafolder = *dir;
        if (checkDataFolder(p)) return true;
        std::fprintf(stderr, "rubicel-render: --data %s: %s\n", dir->c_str(), whyNoTiles(*dir, p.File1.size()).c_str());
        return false;
    }
    if (ui.enabled(MenuControl::m_area)) return true;
    for (const auto& m : ui.messages) printMessage(m);
    return false;
}

// Sets the band table, scheme and mode from the options (a range selects scheme
// 9 over its bands). Returns false, after saying why, for a range whose bands do
// not fit 16-bit elevations.
bool applyColourOptions(Program& p, const Options& o) {
    initbands(p.colour);
    if (o.scheme) p.colour.scheme = *o.scheme;
    if (o.mode) p.colour.mode = *o.mode;
    if (o.range) {
        if (!userbandsFromLimits(p.colour, (*o.range)[0], (*o.range)[1])) {
            std::fprintf(stderr, "rubicel-render: the range %d to %d gives bands beyond 16-bit elevations\n",
                         (*o.range)[0], (*o.range)[1]);
            return false;
        }
        p.colour.scheme = 9;
    }
    return true;
}

// Paints a colour key as its window shows it; keys need no tiles.
int runKey(const Options& o) {
    HeadlessPlatform ui;
    Program p(ui);
    std::error_code ec;
    p.map.startfolder = std::filesystem::current_path(ec).string();
    fload(p);  // the configuration's scheme and mode; the tiles do not matter here
    ui.messages.clear();
    if (!applyColourOptions(p, o)) return 2;
    std::string fontError;
    if (!KeyFont::shared(&fontError)) {
        std::fprintf(stderr, "rubicel-render: %s\n", fontError.c_str());
        return 1;
    }
    ui.echo = printMessage;
    if (o.key == ToolWindow::Key)
        makekey(p, p.colour.scheme);
    else
        makeHkey(p, p.colour.scheme);
    const Raster& image = o.key == ToolWindow::Key ? p.Key.image : p.Hkey.image;
    if (const auto failure = writeMap(image, o.output, o.format, std::nullopt, false)) {
        std::fprintf(stderr, "rubicel-render: %s\n", failure->c_str());
        return 1;
    }
    return 0;
}

// The map the options ask for (place: the one --place names); nothing, after
// saying why, for an unknown feature.
std::optional<MapRequest> requestOf(const Options& o, const Place* place) {
    MapRequest request;
    switch (o.kind) {
    case MapKind::Feature: {
        const Feature* f = findFeature(o.feature);
        if (!f) {
            std::fprintf(stderr, "rubicel-render: no feature is called '%s'\n", o.feature.c_str());
            return std::nullopt;
        }
        request = MapRequest::feature(*f);
        break;
    }
    case MapKind::Place: {
        const auto [width, height] = o.size.value_or(kPlaceMapSize);
        request = MapRequest::place(*place, width, height);
        break;
    }
    case MapKind::Area:
        request.kind = MapRequest::Kind::Area;
        request.west = o.area[0];
        request.north = o.area[1];
        request.east = o.area[2];
        request.south = o.area[3];
        request.caption = areaCaption(request.west, request.north, request.east, request.south);
        break;
    case MapKind::Planet:
        request = MapRequest::planet(o.planetWest == 0 ? 180 : 0);
        break;
    case MapKind::Tile:
        request.kind = MapRequest::Kind::Tile;
        request.tileEntry = o.tileEntry;
        request.caption = tileCaption(o.tileEntry);
        break;
    case MapKind::Polar:
        request = MapRequest::polar(o.pole, o.limit.value_or(60));
        break;
    default:
        return std::nullopt;
    }
    if (o.step) request.step = o.step;
    return request;
}

// Writes the profile along the arc the options give as CSV.
int runProfile(const Options& o) {
    HeadlessPlatform ui;
    Program p(ui);
    if (!findTiles(p, ui, o.data)) return 1;
    std::array<std::string, 4> paths;
    for (std::size_t t = 0; t < paths.size(); ++t) paths[t] = p.map.datafolder + p.File1[t];
    ElevationProfile profile;
    auto failure = elevationProfile(paths, o.profile[0], o.profile[1], o.points.value_or(0), profile);
    if (!failure) failure = writeProfileCsv(o.output, profile);
    if (!failure) return 0;
    std::fprintf(stderr, "rubicel-render: %s\n", failure->c_str());
    return 1;
}

// The figure of the map p shows, captioned caption, written as the options say.
std::optional<std::string> writeFigureOf(const Program& p, const Options& o, const std::string& caption) {
    FigureSpec spec;
    spec.caption = caption;
    spec.title = o.title.value_or("");
    spec.widthMm = o.widthMm.value_or(kFigureWidthMm);
    spec.layers = o.furniture;
    if (o.range) spec.range = ElevationSpan{(*o.range)[0], (*o.range)[1]};
    std::string unread;
    const std::vector<MapPlace>& places = shippedMapPlaces(&unread);
    if (!unread.empty()) return "Cannot write " + o.output + ": " + unread;
    return writeFigure(p, spec, places, o.output, o.dpi.value_or(kFigureDpi));
}

// The furniture the options ask for painted over the finished map p shows, then the map written.
std::optional<std::string> writeMapWithFurniture(Program& p, const Options& o) {
    const std::optional<MapGeometry> map = MapGeometry::of(p.dmap);
    if (!map) return "Cannot draw the furniture: the map was not finished";
    if (auto failure = drawFurniture(p.dmap.image, *map, o.furniture))
        return "Cannot draw the furniture over the map: " + *failure;
    return writeMap(p.dmap.image, o.output, o.format, geoTransformOf(p.dmap), o.worldFile);
}

int run(const Options& o) {
    if (o.kind == MapKind::Key) return runKey(o);
    if (o.kind == MapKind::Profile) return runProfile(o);
    if (o.kind == MapKind::PlaceList) return listPlaces(o.place);
    // The name is checked before the tiles are looked at.
    const Place* place = nullptr;
    if (o.kind == MapKind::Place) {
        bool failed = false;
        place = placeCalled(o.place, failed);
        if (!place) return failed ? 1 : 2;
    }
    HeadlessPlatform ui;
    Program p(ui);
    p.map.versiontext = kVersionText;
    if (!findTiles(p, ui, o.data)) return 1;
    ui.messages.clear();

    p.map.resolution = 1;
    if (!applyColourOptions(p, o)) return 2;

    if (o.kind == MapKind::Atlas) {
        AtlasSettings a;
        a.folder = o.atlas;
        a.format = o.atlasFormat.value_or(ImageFormat::Png);
        a.jobs = o.jobs.value_or(int(std::max(1u, std::thread::hardware_concurrency())));
        a.worldFiles = o.worldFile;
        a.datafolder = p.map.datafolder;
        a.tiles = p.File1;
        a.colour = p.colour;
        a.relief = o.relief.value_or(ReliefSettings{});
        a.furniture = o.furniture;
        if (o.figure) {
            a.figure = o.figureFormat;
            a.figureWidthMm = o.widthMm.value_or(kFigureWidthMm);
            a.figureDpi = o.dpi.value_or(kFigureDpi);
            if (o.range) a.range = ElevationSpan{(*o.range)[0], (*o.range)[1]};
        }
        return runAtlasCommand(a);
    }

    const std::optional<MapRequest> request = requestOf(o, place);
    if (!request) return 2;

    ui.echo = printMessage;
    p.relief = o.relief.value_or(ReliefSettings{});
    ProgressBar progress(p);
    // The bar reads the picture's height alone, so the rows may be shaded on
    // a second thread while it is drawn.
    ui.onProgress = [&progress](int n) { progress.row(n); };
    // A bare BMP or PNG is written as the map is drawn, so that a
    // full-resolution map never holds its whole picture; a TIFF, a map with
    // furniture painted over it and a figure from the finished picture.
    std::optional<std::string> failure;
    if (o.figure || o.format == ImageFormat::Tiff || o.furniture.any()) {
        const bool drawn = drawMap(p, ui, *request);
        progress.finish();
        if (!drawn) return 1;
        failure = o.figure ? writeFigureOf(p, o, request->caption) : writeMapWithFurniture(p, o);
    } else {
        bool drawn = false;
        failure = drawMapIntoFile(p, ui, *request, o.output, o.format, o.worldFile, drawn);
        progress.finish();
        if (!drawn && !failure) return 1;
    }
    if (failure) {
        std::fprintf(stderr, "rubicel-render: %s\n", failure->c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    removeTemporariesOnSignals();
    Options options;
    if (const auto error = parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "rubicel-render: %s\n%.*s", error->text.c_str(), int(usageText().size()),
                     usageText().data());
        return 2;
    }
    if (options.help) {
        std::fputs(helpText().c_str(), stdout);
        return 0;
    }
    return run(options);
}
