// SPDX-License-Identifier: MIT
// render_main.cpp: rubicel-render, the desktop program's maps drawn from the command line.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
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
#include "export/geo_transform.h"
#include "export/map_output.h"
#include "export/map_request.h"
#include "export/map_stream.h"
#include "keys/colour_keys.h"
#include "keys/key_font.h"
#include "maps/area_renderer.h"
#include "maps/elevation_profile.h"
#include "maps/relief_shading.h"
#include "maps/resolution.h"
#include "maps/tile_file.h"
#include "platform/headless/headless_platform.h"
#include "windows/config_file.h"
#include "windows/feature_catalogue.h"
#include "windows/key_windows.h"
#include "windows/program.h"
#include "windows/range_dialog.h"
#include "windows/relief_file.h"

namespace {

using namespace rubicel;

constexpr const char* kUsage =
    "Usage: rubicel-render [--data DIR] [--scheme N] [--mode N] [--range LOWER UPPER] [--step N]\n"
    "                      (--feature NAME | --area WEST NORTH EAST SOUTH | --planet 0|180 |\n"
    "                       --tile northwest|northeast|southwest|southeast |\n"
    "                       --polar north|south [--to L] | --key vertical|horizontal)\n"
    "                      -o FILE.bmp|FILE.png|FILE.tif [--world-file] [RELIEF]\n"
    "  or:  rubicel-render [--data DIR] [--scheme N] [--mode N] [--range LOWER UPPER]\n"
    "                      --atlas DIR [--format png|tif|bmp] [--jobs N] [--world-file] [RELIEF]\n"
    "  or:  rubicel-render [--data DIR] --profile LAT1 LON1 LAT2 LON2 [--points N] -o FILE.csv\n"
    "  RELIEF: [--relief] [--sun AZIMUTH,ALTITUDE] [--exaggeration Z] [--relief-strength K]\n";

// The help text; the limits it names are those the options are checked against.
std::string helpText() {
    const auto n = [](long long v) { return std::to_string(v); };
    return
    "Draws a colour-shaded elevation map of Mars from the four MEGDR064 tile files and\n"
    "writes it as a 24-bit BMP file, the same picture the desktop program draws and saves,\n"
    "as a PNG file, or as a GeoTIFF file that GIS programs place on Mars. With --atlas it\n"
    "draws every named feature, both whole-planet maps and both polar regions into a folder,\n"
    "with a gallery page. With --profile it writes the elevation profile between two points\n"
    "as a CSV file.\n"
    "\n"
    "What to draw (exactly one):\n"
    "  --feature NAME        a named feature of the Map Area menu, by its caption\n"
    "                        (for example \"Gusev\" or \"Valles Marineris\"), at the step the\n"
    "                        box calls for\n"
    "  --area W N E S        the box from longitude W to E (east positive) and latitude N\n"
    "                        to S (north positive), whole degrees, at the step the box\n"
    "                        calls for. Its north-west corner lies in a tile: W from " + n(kAreaWestMin) + "\n"
    "                        to " + n(kAreaWestMax) + ", N from " + n(kAreaNorthMin) + " to " + n(kAreaNorthMax) +
    "; S lies below N, " + n(kAreaSouthMin) + " or above;\n"
    "                        E lies east of W, up to 180 when W is negative and up to 360\n"
    "                        otherwise: a box reaches at most into the tile east of the\n"
    "                        one that holds its corner\n"
    "  --planet 0|180        the entire planet centred on longitude 0 or 180, step 24\n"
    "  --tile NAME           one whole tile: northwest, northeast, southwest or southeast,\n"
    "                        step 13\n"
    "  --polar north|south   the polar region from latitude L (--to) to the pole in polar\n"
    "                        stereographic projection, the pole in the middle, longitude 0\n"
    "                        running down from the north pole and up from the south pole;\n"
    "                        a pixel is N x 926.17 m (N the step: at the pole a pixel spans\n"
    "                        N samples of latitude), the picture 2n x 2n pixels for\n"
    "                        n = ceil(2 x 3396190 m x tan(45 - L/2) / pixel size); beyond\n"
    "                        latitude L it stays background. Default step: the smallest\n"
    "                        whose picture fits an 800 x 600 window (8 for 60: 492 x 492)\n"
    "  --to L                the polar region's limit latitude, whole degrees 1 to 89;\n"
    "                        default 60\n"
    "  --key vertical|horizontal\n"
    "                        the colour key window's client area as the desktop program\n"
    "                        shows it, in the scheme, mode and range given; needs no tiles\n"
    "  --atlas DIR           all 72 named features, each at the step its Map Area item\n"
    "                        picks, both whole-planet maps and both polar regions to 60,\n"
    "                        into the folder DIR (made when missing), file names from the\n"
    "                        captions, with thumbnails, the vertical colour key and the\n"
    "                        gallery page DIR/index.html\n"
    "  --profile LAT1 LON1 LAT2 LON2\n"
    "                        the elevation profile along the shorter great-circle arc from\n"
    "                        the first point to the second (latitude in [-90, 90], east\n"
    "                        longitude in [-180, 360], degrees), read from the full 64 samples\n"
    "                        per degree, written as CSV: distance_km,latitude,longitude,\n"
    "                        elevation_m, one line per point; antipodal points are refused\n"
    "\n"
    "Options:\n"
    "  -o FILE               the file to write (required but with --atlas); an existing file\n"
    "                        is replaced. Its extension says the format: .bmp a 24-bit BMP,\n"
    "                        byte for byte what Save Map writes; .png an 8-bit RGB PNG;\n"
    "                        .tif or .tiff a deflate-compressed RGB GeoTIFF that carries\n"
    "                        its place on Mars (key pictures carry none), written by the\n"
    "                        GeoTIFF module librubicel-geotiff.so; with --profile the CSV\n"
    "                        file, whatever its name\n"
    "  --world-file          also writes a world file (.bpw beside a BMP, .pgw beside a PNG,\n"
    "                        .tfw beside a TIFF) and a .prj with the coordinate system:\n"
    "                        IAU 2015 Mars sphere (IAU_2015:49900, radius 3396190 m),\n"
    "                        planetocentric latitude, east longitude, degrees; a polar map's\n"
    "                        is the polar stereographic system of its pole on that sphere\n"
    "                        (IAU_2015:49930 north, IAU_2015:49935 south), metres\n"
    "  --format png|tif|bmp  the atlas's map format; default png\n"
    "  --jobs N              the atlas's drawing threads; default: one per processor\n"
    "  --points N            the profile's number of points, 2 to 1000000; default: one per\n"
    "                        1/64 degree along the arc, and one more\n"
    "  --data DIR            the folder holding the four \"megt*\" tile files; without it the\n"
    "                        folder named in mgr064srubicel.cfg in the current folder is used\n"
    "  --scheme N            colour scheme 0 to 9 (the Scheme menu's items; 6 colours\n"
    "                        nothing); default: the configuration file's, or 0\n"
    "  --mode N              shading mode 0 contoured, 1 blended, 2 square root enhanced,\n"
    "                        3 squared enhanced; default: the configuration file's, or 0\n"
    "  --range LOWER UPPER   elevation range in metres for scheme 9, as the Define Range\n"
    "                        dialog sets it: LOWER from " + n(kLowerLimitMin) + " to " + n(kLowerLimitMax) +
    ", UPPER from " + n(kUpperLimitMin) + " to\n"
    "                        " + n(kUpperLimitMax) + " and more than " + n(kRangeMinimumGap) +
    " above LOWER; selects scheme 9\n"
    "  --step N              sampling step: one sample of every N along rows and columns;\n"
    "                        1, 2, 3, 4, 8, 10, 13, 20 or 24; replaces the default step\n"
    "  --relief              lights the terrain as relief shading: the sun at azimuth 315\n"
    "                        (north-west), 45 degrees high, exaggeration 10, strength 0.7;\n"
    "                        the colours of level ground stay as they are, slopes toward the\n"
    "                        sun lighten, slopes away darken. The options below set its\n"
    "                        values and imply it\n"
    "  --sun A,H             the sun's azimuth A in degrees clockwise from north and its\n"
    "                        altitude H in degrees above the horizon, " + reliefRange(ReliefBox::altitude) + "\n"
    "  --exaggeration Z      vertical exaggeration of the slopes, " + reliefRange(ReliefBox::exaggeration) + "\n"
    "  --relief-strength K   how much the light changes the colours, " + reliefRange(ReliefBox::strength) +
    ";\n"
    "                        0 leaves them as they are\n"
    "  -h, --help            shows this text\n"
    "\n"
    "Messages the desktop program shows in a box are written to standard error. The exit\n"
    "status is 0 when the map was drawn and written, 1 when drawing or writing failed (in\n"
    "an atlas: any map, the others are still drawn) and 2 for a wrong command line.\n";
}

enum class MapKind { None, Feature, Area, Planet, Tile, Polar, Key, Atlas, Profile };

struct Options {
    std::optional<std::string> data;
    std::optional<std::int16_t> scheme, mode, step;
    std::optional<std::array<std::int16_t, 2>> range;
    MapKind kind = MapKind::None;
    std::string feature;
    std::array<std::int16_t, 4> area{};
    int tileEntry = 0;  // position in the name-sorted tile list
    ToolWindow key = ToolWindow::Key;
    std::int16_t planetWest = -180, planetEast = 180;
    std::int16_t pole = 1;
    std::optional<std::int16_t> limit;  // --to
    std::string output;
    ImageFormat format = ImageFormat::Bmp;
    bool worldFile = false;
    std::string atlas;
    std::optional<ImageFormat> atlasFormat;
    std::optional<int> jobs;
    std::array<GeoPoint, 2> profile{};
    std::optional<int> points;
    std::optional<ReliefSettings> relief;
    bool help = false;
};

struct UsageError {
    std::string text;
};

std::optional<std::int16_t> parseInt16(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

// Returns the options, or the complaint about the command line.
std::optional<UsageError> parseOptions(int argc, char** argv, Options& o) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    std::size_t i = 0;
    // The argument after the option at i, consumed.
    auto value = [&](std::string_view) -> std::optional<std::string_view> {
        if (i + 1 >= args.size()) return std::nullopt;
        return args[++i];
    };
    // The whole number after option, from low to high; what names it in the complaint.
    auto number = [&](std::string_view option, int low, int high, std::int16_t& out,
                      std::string_view what = {}) -> std::optional<UsageError> {
        const auto text = value(option);
        if (!text) return UsageError{std::string(option) + " needs a value"};
        const auto n = parseInt16(*text);
        if (!n || *n < low || *n > high)
            return UsageError{std::string(option) + ": " + std::string(what) + (what.empty() ? "" : " ") + "'" +
                              std::string(*text) + "' is not a whole number from " + std::to_string(low) + " to " +
                              std::to_string(high)};
        out = *n;
        return std::nullopt;
    };
    auto choose = [&](MapKind kind) -> std::optional<UsageError> {
        if (o.kind != MapKind::None)
            return UsageError{"give only one of --feature, --area, --planet, --tile, --polar, --key, --atlas and "
                              "--profile"};
        o.kind = kind;
        return std::nullopt;
    };

    // A decimal number that fills its text.
    auto real = [](std::string_view text, double& out) {
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
        return error == std::errc() && end == text.data() + text.size() && std::isfinite(out);
    };
    auto relief = [&](std::string_view option, const std::string& range, auto set) -> std::optional<UsageError> {
        const auto text = value(option);
        ReliefSettings r = o.relief.value_or(ReliefSettings{});
        r.on = true;
        if (!text || !set(*text, r) || !validRelief(r))
            return UsageError{std::string(option) + ": '" + std::string(text.value_or("")) + "' is not " + range};
        o.relief = r;
        return std::nullopt;
    };

    for (; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        std::optional<UsageError> error;
        std::int16_t n = 0;
        if (arg == "-h" || arg == "--help") {
            o.help = true;
        } else if (arg == "-o") {
            const auto text = value(arg);
            if (!text || text->empty()) return UsageError{"-o needs a file name"};
            o.output = *text;
        } else if (arg == "--data") {
            const auto text = value(arg);
            if (!text || text->empty()) return UsageError{"--data needs a folder"};
            o.data = std::string(*text);
        } else if (arg == "--scheme") {
            if (!(error = number(arg, 0, 9, n))) o.scheme = n;
        } else if (arg == "--mode") {
            if (!(error = number(arg, 0, 3, n))) o.mode = n;
        } else if (arg == "--step") {
            if (!(error = number(arg, 1, 24, n))) {
                constexpr std::array<int, 9> kSteps = {1, 2, 3, 4, 8, 10, 13, 20, 24};
                if (std::find(kSteps.begin(), kSteps.end(), n) == kSteps.end())
                    return UsageError{"--step must be 1, 2, 3, 4, 8, 10, 13, 20 or 24"};
                o.step = n;
            }
        } else if (arg == "--range") {
            // The limits the Define Range dialog lets a user choose.
            std::array<std::int16_t, 2> limits{};
            if (!(error = number(arg, kLowerLimitMin, kLowerLimitMax, limits[0], "the lower limit")) &&
                !(error = number(arg, kUpperLimitMin, kUpperLimitMax, limits[1], "the upper limit"))) {
                if (limits[1] <= limits[0] + kRangeMinimumGap)
                    return UsageError{"--range: the upper limit " + std::to_string(limits[1]) + " is not more than " +
                                      std::to_string(kRangeMinimumGap) + " above the lower limit " +
                                      std::to_string(limits[0])};
                o.range = limits;
            }
        } else if (arg == "--feature") {
            const auto text = value(arg);
            if (!text) return UsageError{"--feature needs a name"};
            if (!(error = choose(MapKind::Feature))) o.feature = *text;
        } else if (arg == "--area") {
            // The edges mapfromtile can draw; the east edge's limit depends on
            // the step, known once every option is read.
            auto& [west, north, east, south] = o.area;
            if (!(error = choose(MapKind::Area)) &&
                !(error = number(arg, kAreaWestMin, kAreaWestMax, west, "the west longitude")) &&
                !(error = number(arg, kAreaNorthMin, kAreaNorthMax, north, "the north latitude")) &&
                !(error = number(arg, -32768, 32767, east, "the east longitude")))
                error = number(arg, kAreaSouthMin, north - 1, south, "the south latitude");
        } else if (arg == "--planet") {
            const auto text = value(arg);
            if (!text || (*text != "0" && *text != "180")) return UsageError{"--planet must be 0 or 180"};
            if (!(error = choose(MapKind::Planet))) {
                o.planetWest = *text == "0" ? -180 : 0;
                o.planetEast = *text == "0" ? 180 : 360;
            }
        } else if (arg == "--tile") {
            static constexpr std::array<std::string_view, 4> kTiles = {"southeast", "southwest", "northeast",
                                                                       "northwest"};
            const auto text = value(arg);
            const auto it = text ? std::find(kTiles.begin(), kTiles.end(), *text) : kTiles.end();
            if (it == kTiles.end()) return UsageError{"--tile must be northwest, northeast, southwest or southeast"};
            if (!(error = choose(MapKind::Tile))) o.tileEntry = int(it - kTiles.begin());
        } else if (arg == "--polar") {
            const auto text = value(arg);
            if (!text || (*text != "north" && *text != "south")) return UsageError{"--polar must be north or south"};
            if (!(error = choose(MapKind::Polar))) o.pole = *text == "north" ? 1 : -1;
        } else if (arg == "--to") {
            if (!(error = number(arg, 1, 89, n))) o.limit = n;
        } else if (arg == "--world-file") {
            o.worldFile = true;
        } else if (arg == "--atlas") {
            const auto text = value(arg);
            if (!text || text->empty()) return UsageError{"--atlas needs a folder"};
            if (!(error = choose(MapKind::Atlas))) o.atlas = *text;
        } else if (arg == "--format") {
            const auto text = value(arg);
            o.atlasFormat = text ? formatOfName(*text) : std::nullopt;
            if (!o.atlasFormat) return UsageError{"--format must be png, tif or bmp"};
        } else if (arg == "--jobs") {
            if (!(error = number(arg, 1, 256, n))) o.jobs = n;
        } else if (arg == "--profile") {
            if ((error = choose(MapKind::Profile))) return error;
            const char* names[2] = {"start", "end"};
            for (std::size_t k = 0; k < 4; ++k) {
                const auto text = value(arg);
                if (!text) return UsageError{"--profile needs LAT1 LON1 LAT2 LON2"};
                GeoPoint& point = o.profile[k / 2];
                double& out = k % 2 == 0 ? point.latitude : point.longitude;
                const auto [end, failed] = std::from_chars(text->data(), text->data() + text->size(), out);
                if (failed != std::errc() || end != text->data() + text->size())
                    return UsageError{"--profile: '" + std::string(*text) + "' is not a number"};
                if (k % 2 == 1)
                    if (auto problem = profilePointProblem(names[k / 2], point)) return UsageError{"--profile: " + *problem};
            }
            if (antipodal(o.profile[0], o.profile[1]))
                return UsageError{"--profile: the two points are antipodal; no single great-circle arc joins them"};
        } else if (arg == "--points") {
            const auto text = value(arg);
            int n = 0;
            const auto [end, failed] = text ? std::from_chars(text->data(), text->data() + text->size(), n)
                                            : std::from_chars_result{nullptr, std::errc::invalid_argument};
            if (failed != std::errc() || end != text->data() + text->size() || n < 2 || n > kMaxProfilePoints)
                return UsageError{"--points must be a whole number from 2 to 1000000"};
            o.points = n;
        } else if (arg == "--relief") {
            if (!o.relief) o.relief = ReliefSettings{};
            o.relief->on = true;
        } else if (arg == "--sun") {
            error = relief(arg, "AZIMUTH,ALTITUDE in degrees, the altitude " + reliefRange(ReliefBox::altitude),
                           [&](std::string_view t, ReliefSettings& r) {
                               const auto comma = t.find(',');
                               return comma != t.npos && real(t.substr(0, comma), r.azimuth) &&
                                      real(t.substr(comma + 1), r.altitude);
                           });
        } else if (arg == "--exaggeration") {
            error = relief(arg, "a number " + reliefRange(ReliefBox::exaggeration),
                           [&](std::string_view t, ReliefSettings& r) { return real(t, r.exaggeration); });
        } else if (arg == "--relief-strength") {
            error = relief(arg, "a number " + reliefRange(ReliefBox::strength),
                           [&](std::string_view t, ReliefSettings& r) { return real(t, r.strength); });
        } else if (arg == "--key") {
            const auto text = value(arg);
            if (!text || (*text != "vertical" && *text != "horizontal"))
                return UsageError{"--key must be vertical or horizontal"};
            if (!(error = choose(MapKind::Key))) o.key = *text == "vertical" ? ToolWindow::Key : ToolWindow::Hkey;
        } else {
            return UsageError{"unknown option '" + std::string(arg) + "'"};
        }
        if (error) return error;
    }
    if (o.help) return std::nullopt;
    if (o.kind == MapKind::None)
        return UsageError{"say what to draw: --feature, --area, --planet, --tile, --polar, --key, --atlas or --profile"};
    if (o.limit && o.kind != MapKind::Polar) return UsageError{"--to goes with --polar"};
    if (o.points && o.kind != MapKind::Profile) return UsageError{"--points goes with --profile"};
    if (o.kind == MapKind::Area) {
        const auto [west, north, east, south] = o.area;
        const int step = o.step.value_or(automaticStep(west, north, east, south));
        const int furthest = furthestAreaEast(west, north, step);
        if (east <= west || east > furthest)
            return UsageError{"--area: the east longitude '" + std::to_string(east) +
                              "' is not a whole number from " + std::to_string(west + 1) + " to " +
                              std::to_string(furthest)};
    }
    if (o.kind == MapKind::Profile) {
        if (o.step || o.worldFile || o.atlasFormat || o.jobs || o.relief)
            return UsageError{"a profile is read at full resolution into a CSV file: no --step, --world-file, "
                              "--format, --jobs or relief options"};
        if (o.output.empty()) return UsageError{"say where to write the profile: -o FILE.csv"};
        return std::nullopt;
    }
    if (o.kind == MapKind::Atlas) {
        if (!o.output.empty()) return UsageError{"--atlas writes into its folder; give no -o"};
        if (o.step) return UsageError{"--atlas draws each map at the step its menu item picks; give no --step"};
        return std::nullopt;
    }
    if (o.atlasFormat || o.jobs) return UsageError{"--format and --jobs go with --atlas"};
    if (o.kind == MapKind::Key && o.worldFile) return UsageError{"a colour key has no place on Mars: no --world-file"};
    if (o.kind == MapKind::Key && o.relief) return UsageError{"a colour key shows the colours of level ground: no relief options"};
    if (o.output.empty()) return UsageError{"say where to write the map: -o FILE.bmp, FILE.png or FILE.tif"};
    const auto format = formatOfPath(o.output);
    if (!format) return UsageError{"-o " + o.output + ": the file name must end in .bmp, .png or .tif (.tiff)"};
    o.format = *format;
    return std::nullopt;
}

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

// The map the options ask for; nothing, after saying why, for an unknown feature.
std::optional<MapRequest> requestOf(const Options& o) {
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
    case MapKind::Area:
        request.kind = MapRequest::Kind::Area;
        request.west = o.area[0];
        request.north = o.area[1];
        request.east = o.area[2];
        request.south = o.area[3];
        break;
    case MapKind::Planet:
        request = MapRequest::planet(o.planetWest == 0 ? 180 : 0);
        break;
    case MapKind::Tile:
        request.kind = MapRequest::Kind::Tile;
        request.tileEntry = o.tileEntry;
        break;
    case MapKind::Polar:
        request = MapRequest::polar(o.pole, o.limit.value_or(60));
        break;
    default:
        return std::nullopt;
    }
    request.step = o.step;
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

int run(const Options& o) {
    if (o.kind == MapKind::Key) return runKey(o);
    if (o.kind == MapKind::Profile) return runProfile(o);
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
        return runAtlasCommand(a);
    }

    const std::optional<MapRequest> request = requestOf(o);
    if (!request) return 2;

    ui.echo = printMessage;
    p.relief = o.relief.value_or(ReliefSettings{});
    ProgressBar progress(p);
    // The bar reads the picture's height alone, so the rows may be shaded on
    // a second thread while it is drawn.
    ui.onProgress = [&progress](int n) { progress.row(n); };
    // A BMP or PNG is written as the map is drawn, so that a full-resolution
    // map never holds its whole picture; a TIFF from the finished picture.
    std::optional<std::string> failure;
    if (o.format == ImageFormat::Tiff) {
        const bool drawn = drawMap(p, ui, *request);
        progress.finish();
        if (!drawn) return 1;
        failure = writeMap(p.dmap.image, o.output, o.format, geoTransformOf(p.dmap), o.worldFile);
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
        std::fprintf(stderr, "rubicel-render: %s\n%s", error->text.c_str(), kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        std::fputs("\n", stdout);
        std::fputs(helpText().c_str(), stdout);
        return 0;
    }
    return run(options);
}
