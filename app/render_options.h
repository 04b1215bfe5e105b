// SPDX-License-Identifier: MIT
// render_options.h: rubicel-render's command line: its options, the checks they pass and its help text.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "export/map_output.h"
#include "maps/elevation_profile.h"
#include "maps/relief_shading.h"
#include "platform/platform.h"

namespace rubicel {

// What a run does: draw one map of a kind, a colour key, an atlas or a
// profile, or list the named places a text finds.
enum class MapKind { None, Feature, Place, Area, Planet, Tile, Polar, Key, Atlas, Profile, PlaceList };

// The map area, in pixels, that --place fits the place in unless --size gives another.
inline constexpr std::array<int, 2> kPlaceMapSize = {1024, 768};

// The command line read: what to draw and how; a value not given stays empty
// and its default is chosen where it is used.
struct Options {
    std::optional<std::string> data;
    std::optional<std::int16_t> scheme, mode, step;
    std::optional<std::array<std::int16_t, 2>> range;
    MapKind kind = MapKind::None;
    std::string feature;
    std::string place;                          // --place's name, or the text --places looks for
    std::optional<std::array<int, 2>> size;     // --size
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

// Why a command line is wrong, in the words printed after "rubicel-render: ".
struct UsageError {
    std::string text;
};

// Reads the command line into o. Returns the first complaint about it, in the
// order of the arguments (an unknown option, a value missing or out of its
// range), then about the options together; nothing when o is ready to run or
// asks for the help.
std::optional<UsageError> parseOptions(int argc, const char* const* argv, Options& o);

// The usage clause, printed after a complaint and at the head of the help.
std::string_view usageText();

// What --help prints: the usage clause, then every option with its limits.
std::string helpText();

}  // namespace rubicel
