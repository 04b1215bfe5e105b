// SPDX-License-Identifier: MIT
// relief_file.h: the relief shading's own settings file beside the configuration file, and its menu items.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "maps/relief_shading.h"

namespace rubicel {

struct Program;
struct MapState;

inline constexpr const char* kReliefFileName = "mgr064srubicel-relief.cfg";
inline constexpr const char* kReliefDialogCaption = "Relief Settings";

// startfolder + "/" + "mgr064srubicel-relief.cfg".
std::string reliefPath(const MapState& map);

// The file's text: one "name=value" line each for on (0 or 1), azimuth,
// altitude, exaggeration and strength, the numbers in their shortest form.
std::string reliefText(const ReliefSettings& settings);
// Reads that text back; nothing when a line is missing, unknown, repeated or
// out of range.
std::optional<ReliefSettings> parseReliefText(std::string_view text);

// Start-up: the settings from the file; the defaults, without a message, when
// it is missing or damaged.
void loadRelief(Program& p);
// Writes the settings, safely (temporary file, then rename); a file that cannot
// be written is passed over without a message, as the settings are a preference.
bool saveRelief(const Program& p);

// The dialog's four text boxes, in tab order, as the window shows them.
enum class ReliefBox : int { azimuth = 0, altitude = 1, exaggeration = 2, strength = 3 };
struct ReliefDialog {
    std::array<std::string, 4> text;
};
// The boxes' labels; each bounded value's label names its range as reliefRange words it.
inline constexpr std::array<const char*, 4> kReliefBoxLabels = {
    "Sun azimuth (degrees from north, clockwise)", "Sun altitude (degrees, from 0.001 to 90)",
    "Vertical exaggeration (above 0 and at most 1000000)", "Strength (from 0 to 1)"};
// The range of a box's value in words, from the bounds validRelief holds
// ("from 0.001 to 90"); empty for the azimuth, which may be any number.
std::string reliefRange(ReliefBox box);
// What Apply says of a box whose text is not a number in its range.
std::string reliefRefusal(ReliefBox box);

// "Relief Shading": turns the shading on or off, remembers it and redraws the map.
void m_relief_Click(Program& p);
// "Relief Settings...": shows the dialog with the present values.
void m_reliefset_Click(Program& p);
// "Apply": reads the boxes; with every value in its range the shading is turned
// on with them, remembered and the map redrawn; otherwise the first box out of
// its range is refused (reliefRefusal) and nothing changes.
void reliefApply_Click(Program& p);
// Sets the check mark of "Relief Shading" to the present setting.
void tickRelief(Program& p);

}  // namespace rubicel
