// SPDX-License-Identifier: MIT
// render_options.cpp: rubicel-render's command line read by CLI11, each option checked as it is met.
#include "render_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "maps/area_renderer.h"
#include "maps/resolution.h"
#include "windows/range_dialog.h"
#include "windows/relief_file.h"

namespace rubicel {
namespace {

constexpr std::string_view kUsage =
    "Usage: rubicel-render [--data DIR] [--scheme N] [--mode N] [--range LOWER UPPER] [--step N]\n"
    "                      (--feature NAME | --place NAME [--size W H] |\n"
    "                       --area WEST NORTH EAST SOUTH | --planet 0|180 |\n"
    "                       --tile northwest|northeast|southwest|southeast |\n"
    "                       --polar north|south [--to L] | --key vertical|horizontal)\n"
    "                      -o FILE.bmp|FILE.png|FILE.tif [--world-file] [RELIEF]\n"
    "  or:  rubicel-render [--data DIR] [--scheme N] [--mode N] [--range LOWER UPPER]\n"
    "                      --atlas DIR [--format png|tif|bmp] [--jobs N] [--world-file] [RELIEF]\n"
    "  or:  rubicel-render --places TEXT\n"
    "  or:  rubicel-render [--data DIR] --profile LAT1 LON1 LAT2 LON2 [--points N] -o FILE.csv\n"
    "  RELIEF: [--relief] [--sun AZIMUTH,ALTITUDE] [--exaggeration Z] [--relief-strength K]\n";

constexpr const char* kDrawGroup = "What to draw (exactly one)";

// --size's limits: from a map area of 1 degree at step 1 to the entire planet at step 1.
constexpr std::array<int, 2> kSizeMin = {64, 64}, kSizeMax = {23040, 11520};
constexpr const char* kOptionGroup = "Options";

// The help as it has always looked: the usage clause, the description, each
// group of options as "  NAME VALUES" in a column of 24 characters with the
// description beside it (its lines already broken), and the closing note.
class HelpLayout : public CLI::Formatter {
public:
    HelpLayout() { column_width(24); }

    std::string make_help(const CLI::App* app, std::string, CLI::AppFormatMode) const override {
        std::string out = std::string(kUsage) + "\n" + app->get_description();
        for (const std::string& group : app->get_groups()) {
            out += "\n" + group + ":\n";
            for (const CLI::Option* option :
                 app->get_options([&group](const CLI::Option* o) { return o->get_group() == group; }))
                out += make_option(option, false);
        }
        return out + "\n" + app->get_footer();
    }
    // "-h, --help" rather than CLI11's "-h,--help".
    std::string make_option_name(const CLI::Option* option, bool) const override {
        std::string names;
        for (const std::string& s : option->get_snames()) names += (names.empty() ? "-" : ", -") + s;
        for (const std::string& l : option->get_lnames()) names += (names.empty() ? "--" : ", --") + l;
        return names;
    }
    // Only the values' names; the description gives defaults and limits.
    std::string make_option_opts(const CLI::Option* option) const override {
        return option->get_option_text().empty() ? std::string() : " " + option->get_option_text();
    }
};

std::optional<std::int16_t> parseInt16(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

// A decimal number that fills its text.
bool parseReal(std::string_view text, double& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(out);
}

// The values an option was given: fewer than it takes when the command line
// ended first, so that each option's check says what is missing.
class Values {
public:
    explicit Values(std::vector<std::string> values) : values_(std::move(values)) {}
    std::optional<std::string_view> operator[](std::size_t i) const {
        if (i >= values_.size()) return std::nullopt;
        return values_[i];
    }

private:
    std::vector<std::string> values_;
};

// The whole number text gives to option, from low to high; what names it in the complaint.
std::int16_t wholeNumber(std::string_view option, std::optional<std::string_view> text, int low, int high,
                         std::string_view what = {}) {
    if (!text) throw UsageError{std::string(option) + " needs a value"};
    const auto n = parseInt16(*text);
    if (!n || *n < low || *n > high)
        throw UsageError{std::string(option) + ": " + std::string(what) + (what.empty() ? "" : " ") + "'" +
                         std::string(*text) + "' is not a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high)};
    return *n;
}

// Declares the options on app, each checked as it is read into o, so that the
// first wrong argument is the one complained about.
class CommandLine {
public:
    using Check = std::function<void(const Values&)>;

    CommandLine(CLI::App& app, Options& o) : app_(app), o_(o) { declare(); }

    // Checks the values option was given when the command line ended before
    // all of them: the check complains about the first wrong or missing one.
    void checkCutShort(const CLI::Option& option, const Values& values) const { checks_.at(&option)(values); }

private:
    // An option taking count values, shown in the help as "names text".
    void option(const std::string& names, const std::string& text, int count, const std::string& group,
                const std::string& description, Check check) {
        CLI::Option* added = app_.add_option(
            names,
            [check](const CLI::results_t& values) {
                check(Values(values));
                return true;
            },
            description);
        added->type_size(count)->option_text(text)->group(group)->trigger_on_parse();
        checks_[added] = std::move(check);
    }
    void flag(const std::string& names, const std::string& description, std::function<void()> set) {
        app_.add_flag_callback(names, std::move(set), description)->group(kOptionGroup)->trigger_on_parse();
    }

    void choose(MapKind kind) {
        if (o_.kind != MapKind::None)
            throw UsageError{"give only one of --feature, --place, --places, --area, --planet, --tile, --polar, "
                             "--key, --atlas and --profile"};
        o_.kind = kind;
    }
    // A relief value: turns relief on, with the value set reads from the text.
    void relief(std::string_view option, std::optional<std::string_view> text, const std::string& range,
                const std::function<bool(std::string_view, ReliefSettings&)>& set) {
        ReliefSettings r = o_.relief.value_or(ReliefSettings{});
        r.on = true;
        if (!text || !set(*text, r) || !validRelief(r))
            throw UsageError{std::string(option) + ": '" + std::string(text.value_or("")) + "' is not " + range};
        o_.relief = r;
    }

    void declare();

    CLI::App& app_;
    Options& o_;
    std::map<const CLI::Option*, Check> checks_;
};

void CommandLine::declare() {
    const auto n = [](long long v) { return std::to_string(v); };
    app_.set_help_flag();
    app_.formatter(std::make_shared<HelpLayout>());
    app_.description(
        "Draws a colour-shaded elevation map of Mars from the four MEGDR064 tile files and\n"
        "writes it as a 24-bit BMP file, the same picture the desktop program draws and saves,\n"
        "as a PNG file, or as a GeoTIFF file that GIS programs place on Mars. With --atlas it\n"
        "draws every named feature, both whole-planet maps and both polar regions into a folder,\n"
        "with a gallery page. With --profile it writes the elevation profile between two points\n"
        "as a CSV file. With --place it draws the map of a named place on Mars, a feature of the\n"
        "IAU gazetteer or a landing site; --places lists the named places a text finds.\n");
    app_.footer(
        "Messages the desktop program shows in a box are written to standard error. The exit\n"
        "status is 0 when the map was drawn and written, 1 when drawing or writing failed (in\n"
        "an atlas: any map, the others are still drawn) and 2 for a wrong command line.\n"
        "\n"
        "Feature names: IAU WGPSN / USGS Gazetteer of Planetary Nomenclature.\n");

    option("--feature", "NAME", 1, kDrawGroup,
           "a named feature of the Map Area menu, by its caption\n"
           "(for example \"Gusev\" or \"Valles Marineris\"), at the step the\n"
           "box calls for",
           [this](const Values& v) {
               if (!v[0]) throw UsageError{"--feature needs a name"};
               choose(MapKind::Feature);
               o_.feature = *v[0];
           });
    option("--place", "NAME", 1, kDrawGroup,
           "the map of a named place: a feature of the IAU gazetteer or a\n"
           "landing site (by mission or site), its name written in full,\n"
           "case and diacritics aside (\"jezero\", \"Hephaestus Rupes\"): the\n"
           "area of the map area's size centred on it, at the finest step at\n"
           "which the place fills no more than its middle two thirds; the\n"
           "polar map of a pole it reaches within 1 degree of, or of a place\n"
           "wider than 180 degrees of longitude; else the entire planet.\n"
           "Any other text is refused with up to 10 names that hold it",
           [this](const Values& v) {
               if (!v[0]) throw UsageError{"--place needs a name"};
               choose(MapKind::Place);
               o_.place = *v[0];
           });
    option("--size", "W H", 2, kDrawGroup,
           "the map area --place fits the place in, W x H pixels: W from " + n(kSizeMin[0]) + "\n"
           "to " + n(kSizeMax[0]) + " and H from " + n(kSizeMin[1]) + " to " + n(kSizeMax[1]) +
           ", the entire planet at step 1;\n"
           "default " + n(kPlaceMapSize[0]) + " x " + n(kPlaceMapSize[1]),
           [this](const Values& v) {
               o_.size = std::array<int, 2>{wholeNumber("--size", v[0], kSizeMin[0], kSizeMax[0], "the width"),
                                            wholeNumber("--size", v[1], kSizeMin[1], kSizeMax[1], "the height")};
           });
    option("--places", "TEXT", 1, kDrawGroup,
           "lists the named places whose names hold TEXT, case and\n"
           "diacritics aside, best first: names equal to it, then names\n"
           "beginning with it, then names with a later word beginning with\n"
           "it, then names holding it, larger places first within each; one\n"
           "a line, tab-separated, after the header line name, type,\n"
           "latitude, longitude, diameter_km (planetocentric latitude and\n"
           "east longitude 0 to 360 in degrees, as the gazetteer gives them;\n"
           "0 km for a landing site); only the header when no name holds\n"
           "TEXT. Give it alone",
           [this](const Values& v) {
               if (!v[0]) throw UsageError{"--places needs a text"};
               choose(MapKind::PlaceList);
               o_.place = *v[0];
           });
    // The edges mapfromtile can draw; the east edge's limit depends on the
    // step, known once every option is read.
    option("--area", "W N E S", 4, kDrawGroup,
           "the box from longitude W to E (east positive) and latitude N\n"
           "to S (north positive), whole degrees, at the step the box\n"
           "calls for. Its north-west corner lies in a tile: W from " + n(kAreaWestMin) + "\n"
           "to " + n(kAreaWestMax) + ", N from " + n(kAreaNorthMin) + " to " + n(kAreaNorthMax) +
           "; S lies below N, " + n(kAreaSouthMin) + " or above;\n"
           "E lies east of W, up to 180 when W is negative and up to 360\n"
           "otherwise: a box reaches at most into the tile east of the\n"
           "one that holds its corner",
           [this](const Values& v) {
               choose(MapKind::Area);
               auto& [west, north, east, south] = o_.area;
               west = wholeNumber("--area", v[0], kAreaWestMin, kAreaWestMax, "the west longitude");
               north = wholeNumber("--area", v[1], kAreaNorthMin, kAreaNorthMax, "the north latitude");
               east = wholeNumber("--area", v[2], -32768, 32767, "the east longitude");
               south = wholeNumber("--area", v[3], kAreaSouthMin, north - 1, "the south latitude");
           });
    option("--planet", "0|180", 1, kDrawGroup, "the entire planet centred on longitude 0 or 180, step 24",
           [this](const Values& v) {
               if (!v[0] || (*v[0] != "0" && *v[0] != "180")) throw UsageError{"--planet must be 0 or 180"};
               choose(MapKind::Planet);
               o_.planetWest = *v[0] == "0" ? -180 : 0;
               o_.planetEast = *v[0] == "0" ? 180 : 360;
           });
    option("--tile", "NAME", 1, kDrawGroup,
           "one whole tile: northwest, northeast, southwest or southeast,\n"
           "step 13",
           [this](const Values& v) {
               static constexpr std::array<std::string_view, 4> kTiles = {"southeast", "southwest", "northeast",
                                                                          "northwest"};
               const auto it = v[0] ? std::find(kTiles.begin(), kTiles.end(), *v[0]) : kTiles.end();
               if (it == kTiles.end()) throw UsageError{"--tile must be northwest, northeast, southwest or southeast"};
               choose(MapKind::Tile);
               o_.tileEntry = int(it - kTiles.begin());
           });
    option("--polar", "north|south", 1, kDrawGroup,
           "the polar region from latitude L (--to) to the pole in polar\n"
           "stereographic projection, the pole in the middle, longitude 0\n"
           "running down from the north pole and up from the south pole;\n"
           "a pixel is N x 926.17 m (N the step: at the pole a pixel spans\n"
           "N samples of latitude), the picture 2n x 2n pixels for\n"
           "n = ceil(2 x 3396190 m x tan(45 - L/2) / pixel size); beyond\n"
           "latitude L it stays background. Default step: the smallest\n"
           "whose picture fits an 800 x 600 window (8 for 60: 492 x 492)",
           [this](const Values& v) {
               if (!v[0] || (*v[0] != "north" && *v[0] != "south")) throw UsageError{"--polar must be north or south"};
               choose(MapKind::Polar);
               o_.pole = *v[0] == "north" ? 1 : -1;
           });
    option("--to", "L", 1, kDrawGroup,
           "the polar region's limit latitude, whole degrees 1 to 89;\n"
           "default 60",
           [this](const Values& v) { o_.limit = wholeNumber("--to", v[0], 1, 89); });
    option("--key", "vertical|horizontal", 1, kDrawGroup,
           "the colour key window's client area as the desktop program\n"
           "shows it, in the scheme, mode and range given; needs no tiles",
           [this](const Values& v) {
               if (!v[0] || (*v[0] != "vertical" && *v[0] != "horizontal"))
                   throw UsageError{"--key must be vertical or horizontal"};
               choose(MapKind::Key);
               o_.key = *v[0] == "vertical" ? ToolWindow::Key : ToolWindow::Hkey;
           });
    option("--atlas", "DIR", 1, kDrawGroup,
           "all 72 named features, each at the step its Map Area item\n"
           "picks, both whole-planet maps and both polar regions to 60,\n"
           "into the folder DIR (made when missing), file names from the\n"
           "captions, with thumbnails, the vertical colour key and the\n"
           "gallery page DIR/index.html",
           [this](const Values& v) {
               if (!v[0] || v[0]->empty()) throw UsageError{"--atlas needs a folder"};
               choose(MapKind::Atlas);
               o_.atlas = *v[0];
           });
    option("--profile", "LAT1 LON1 LAT2 LON2", 4, kDrawGroup,
           "the elevation profile along the shorter great-circle arc from\n"
           "the first point to the second (latitude in [-90, 90], east\n"
           "longitude in [-180, 360], degrees), read from the full 64 samples\n"
           "per degree, written as CSV: distance_km,latitude,longitude,\n"
           "elevation_m, one line per point; antipodal points are refused",
           [this](const Values& v) {
               choose(MapKind::Profile);
               const char* names[2] = {"start", "end"};
               for (std::size_t k = 0; k < 4; ++k) {
                   if (!v[k]) throw UsageError{"--profile needs LAT1 LON1 LAT2 LON2"};
                   GeoPoint& point = o_.profile[k / 2];
                   double& out = k % 2 == 0 ? point.latitude : point.longitude;
                   const auto [end, failed] = std::from_chars(v[k]->data(), v[k]->data() + v[k]->size(), out);
                   if (failed != std::errc() || end != v[k]->data() + v[k]->size())
                       throw UsageError{"--profile: '" + std::string(*v[k]) + "' is not a number"};
                   if (k % 2 == 1)
                       if (auto problem = profilePointProblem(names[k / 2], point))
                           throw UsageError{"--profile: " + *problem};
               }
               if (antipodal(o_.profile[0], o_.profile[1]))
                   throw UsageError{"--profile: the two points are antipodal; no single great-circle arc joins them"};
           });

    option("-o", "FILE", 1, kOptionGroup,
           "the file to write (required but with --atlas); an existing file\n"
           "is replaced. Its extension says the format: .bmp a 24-bit BMP,\n"
           "byte for byte what Save Map writes; .png an 8-bit RGB PNG;\n"
           ".tif or .tiff a deflate-compressed RGB GeoTIFF that carries\n"
           "its place on Mars (key pictures carry none), written by the\n"
           "GeoTIFF module librubicel-geotiff.so; with --profile the CSV\n"
           "file, whatever its name",
           [this](const Values& v) {
               if (!v[0] || v[0]->empty()) throw UsageError{"-o needs a file name"};
               o_.output = *v[0];
           });
    flag("--world-file",
         "also writes a world file (.bpw beside a BMP, .pgw beside a PNG,\n"
         ".tfw beside a TIFF) and a .prj with the coordinate system:\n"
         "IAU 2015 Mars sphere (IAU_2015:49900, radius 3396190 m),\n"
         "planetocentric latitude, east longitude, degrees; a polar map's\n"
         "is the polar stereographic system of its pole on that sphere\n"
         "(IAU_2015:49930 north, IAU_2015:49935 south), metres",
         [this] { o_.worldFile = true; });
    option("--format", "png|tif|bmp", 1, kOptionGroup, "the atlas's map format; default png", [this](const Values& v) {
        o_.atlasFormat = v[0] ? formatOfName(*v[0]) : std::nullopt;
        if (!o_.atlasFormat) throw UsageError{"--format must be png, tif or bmp"};
    });
    option("--jobs", "N", 1, kOptionGroup, "the atlas's drawing threads; default: one per processor",
           [this](const Values& v) { o_.jobs = wholeNumber("--jobs", v[0], 1, 256); });
    option("--points", "N", 1, kOptionGroup,
           "the profile's number of points, 2 to 1000000; default: one per\n"
           "1/64 degree along the arc, and one more",
           [this](const Values& v) {
               int points = 0;
               const auto [end, failed] = v[0] ? std::from_chars(v[0]->data(), v[0]->data() + v[0]->size(), points)
                                               : std::from_chars_result{nullptr, std::errc::invalid_argument};
               if (failed != std::errc() || end != v[0]->data() + v[0]->size() || points < 2 ||
                   points > kMaxProfilePoints)
                   throw UsageError{"--points must be a whole number from 2 to 1000000"};
               o_.points = points;
           });
    option("--data", "DIR", 1, kOptionGroup,
           "the folder holding the four \"megt*\" tile files; without it the\n"
           "folder named in mgr064srubicel.cfg in the current folder is used",
           [this](const Values& v) {
               if (!v[0] || v[0]->empty()) throw UsageError{"--data needs a folder"};
               o_.data = std::string(*v[0]);
           });
    option("--scheme", "N", 1, kOptionGroup,
           "colour scheme 0 to 9 (the Scheme menu's items; 6 colours\n"
           "nothing); default: the configuration file's, or 0",
           [this](const Values& v) { o_.scheme = wholeNumber("--scheme", v[0], 0, 9); });
    option("--mode", "N", 1, kOptionGroup,
           "shading mode 0 contoured, 1 blended, 2 square root enhanced,\n"
           "3 squared enhanced; default: the configuration file's, or 0",
           [this](const Values& v) { o_.mode = wholeNumber("--mode", v[0], 0, 3); });
    // The limits the Define Range dialog lets a user choose.
    option("--range", "LOWER UPPER", 2, kOptionGroup,
           "elevation range in metres for scheme 9, as the Define Range\n"
           "dialog sets it: LOWER from " + n(kLowerLimitMin) + " to " + n(kLowerLimitMax) + ", UPPER from " +
           n(kUpperLimitMin) + " to\n" + n(kUpperLimitMax) + " and more than " + n(kRangeMinimumGap) +
           " above LOWER; selects scheme 9",
           [this](const Values& v) {
               const std::array<std::int16_t, 2> limits = {
                   wholeNumber("--range", v[0], kLowerLimitMin, kLowerLimitMax, "the lower limit"),
                   wholeNumber("--range", v[1], kUpperLimitMin, kUpperLimitMax, "the upper limit")};
               if (limits[1] <= limits[0] + kRangeMinimumGap)
                   throw UsageError{"--range: the upper limit " + std::to_string(limits[1]) + " is not more than " +
                                    std::to_string(kRangeMinimumGap) + " above the lower limit " +
                                    std::to_string(limits[0])};
               o_.range = limits;
           });
    option("--step", "N", 1, kOptionGroup,
           "sampling step: one sample of every N along rows and columns;\n"
           "1, 2, 3, 4, 8, 10, 13, 20 or 24; replaces the default step",
           [this](const Values& v) {
               const std::int16_t step = wholeNumber("--step", v[0], 1, 24);
               constexpr std::array<int, 9> kSteps = {1, 2, 3, 4, 8, 10, 13, 20, 24};
               if (std::find(kSteps.begin(), kSteps.end(), step) == kSteps.end())
                   throw UsageError{"--step must be 1, 2, 3, 4, 8, 10, 13, 20 or 24"};
               o_.step = step;
           });
    flag("--relief",
         "lights the terrain as relief shading: the sun at azimuth 315\n"
         "(north-west), 45 degrees high, exaggeration 10, strength 0.7;\n"
         "the colours of level ground stay as they are, slopes toward the\n"
         "sun lighten, slopes away darken. The options below set its\n"
         "values and imply it",
         [this] {
             if (!o_.relief) o_.relief = ReliefSettings{};
             o_.relief->on = true;
         });
    option("--sun", "A,H", 1, kOptionGroup,
           "the sun's azimuth A in degrees clockwise from north and its\n"
           "altitude H in degrees above the horizon, " + reliefRange(ReliefBox::altitude),
           [this](const Values& v) {
               relief("--sun", v[0], "AZIMUTH,ALTITUDE in degrees, the altitude " + reliefRange(ReliefBox::altitude),
                      [](std::string_view t, ReliefSettings& r) {
                          const auto comma = t.find(',');
                          return comma != t.npos && parseReal(t.substr(0, comma), r.azimuth) &&
                                 parseReal(t.substr(comma + 1), r.altitude);
                      });
           });
    option("--exaggeration", "Z", 1, kOptionGroup,
           "vertical exaggeration of the slopes, " + reliefRange(ReliefBox::exaggeration), [this](const Values& v) {
               relief("--exaggeration", v[0], "a number " + reliefRange(ReliefBox::exaggeration),
                      [](std::string_view t, ReliefSettings& r) { return parseReal(t, r.exaggeration); });
           });
    option("--relief-strength", "K", 1, kOptionGroup,
           "how much the light changes the colours, " + reliefRange(ReliefBox::strength) +
               ";\n"
               "0 leaves them as they are",
           [this](const Values& v) {
               relief("--relief-strength", v[0], "a number " + reliefRange(ReliefBox::strength),
                      [](std::string_view t, ReliefSettings& r) { return parseReal(t, r.strength); });
           });
    flag("-h,--help", "shows this text", [this] { o_.help = true; });
}

// The complaints about options that do not go together, once all are read;
// given is the number of options given.
std::optional<UsageError> checkTogether(Options& o, std::size_t given) {
    if (o.help) return std::nullopt;
    if (o.kind == MapKind::None)
        return UsageError{"say what to draw: --feature, --place, --area, --planet, --tile, --polar, --key, --atlas "
                          "or --profile; or list places with --places"};
    if (o.kind == MapKind::PlaceList) {
        if (given > 1) return UsageError{"--places only lists places: give it alone"};
        return std::nullopt;
    }
    if (o.limit && o.kind != MapKind::Polar) return UsageError{"--to goes with --polar"};
    if (o.size && o.kind != MapKind::Place) return UsageError{"--size goes with --place"};
    if (o.points && o.kind != MapKind::Profile) return UsageError{"--points goes with --profile"};
    if (o.kind == MapKind::Area) {
        const auto [west, north, east, south] = o.area;
        const int step = o.step.value_or(automaticStep(west, north, east, south));
        const int furthest = furthestAreaEast(west, north, step);
        if (east <= west || east > furthest)
            return UsageError{"--area: the east longitude '" + std::to_string(east) + "' is not a whole number from " +
                              std::to_string(west + 1) + " to " + std::to_string(furthest)};
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
    if (o.kind == MapKind::Key && o.relief)
        return UsageError{"a colour key shows the colours of level ground: no relief options"};
    if (o.output.empty()) return UsageError{"say where to write the map: -o FILE.bmp, FILE.png or FILE.tif"};
    const auto format = formatOfPath(o.output);
    if (!format) return UsageError{"-o " + o.output + ": the file name must end in .bmp, .png or .tif (.tiff)"};
    o.format = *format;
    return std::nullopt;
}

}  // namespace

// Options are taken by their whole names, each followed by its values, as they
// always were: CLI11's "--name=value" and "-oFILE" are not offered. CLI11
// reads the arguments up to the first that stands where an option belongs and
// is none, or up to an option whose values run past the end; that one is
// complained about once all before it have passed their checks.
std::optional<UsageError> parseOptions(int argc, const char* const* argv, Options& o) {
    CLI::App app;
    const CommandLine commandLine(app, o);
    int end = 1;
    const CLI::Option* cutShort = nullptr;
    while (end < argc) {
        const CLI::Option* option = app.get_option_no_throw(argv[end]);
        if (!option) break;
        const int values = option->get_items_expected_max();  // 0 for a flag
        if (end + values >= argc) {
            cutShort = option;
            break;
        }
        end += 1 + values;
    }
    try {
        app.parse(end, argv);
        // Its check says which value is missing, or what is wrong before it.
        if (cutShort) commandLine.checkCutShort(*cutShort, Values(std::vector<std::string>(argv + end + 1, argv + argc)));
    } catch (const UsageError& error) {
        return error;
    } catch (const CLI::ParseError& error) {
        return UsageError{error.what()};
    }
    if (end < argc) return UsageError{"unknown option '" + std::string(argv[end]) + "'"};
    return checkTogether(o, app.get_options([](const CLI::Option* option) { return option->count() > 0; }).size());
}

std::string_view usageText() { return kUsage; }

std::string helpText() {
    Options unused;
    CLI::App app;
    const CommandLine commandLine(app, unused);
    return app.help();
}

}  // namespace rubicel
