// SPDX-License-Identifier: MIT
// relief_file.cpp: the relief shading's own settings file beside the configuration file, and its menu items.
#include "windows/relief_file.h"

#include <charconv>
#include <cmath>

#include "common/file_start.h"
#include "settings/config_text.h"
#include "windows/program.h"
#include "windows/resolution_menu.h"
#include "windows/setting_lines.h"

namespace rubicel {
namespace {

constexpr MenuId kReliefItem{MenuControl::m_relief};
// The file is five short lines; anything longer is not one of ours.
constexpr std::size_t kMaxReliefBytes = 4096;
constexpr std::array<std::string_view, 5> kNames = {"on", "azimuth", "altitude", "exaggeration", "strength"};

std::string shortest(double v) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

// A decimal number that fills text.
std::optional<double> numberOf(std::string_view text) {
    double v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

// The box's number with blanks around it allowed.
std::optional<double> boxNumber(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == text.npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(" \t") - first + 1);
    return numberOf(text);
}

std::optional<std::string> readSmallFile(const std::string& path) {
    std::optional<std::string> text = readFileStart(path, kMaxReliefBytes);
    if (text && text->size() > kMaxReliefBytes) return std::nullopt;
    return text;
}

// A bound as a user types it: plain decimal, no exponent.
std::string bound(double v) {
    char text[400];
    return std::string(text, std::to_chars(text, text + sizeof text, v, std::chars_format::fixed).ptr);
}

void fillDialog(Program& p) {
    const ReliefSettings& r = p.relief;
    p.reliefDialog.text = {shortest(r.azimuth), shortest(r.altitude), shortest(r.exaggeration),
                           shortest(r.strength)};
}

}  // namespace

std::string reliefRange(ReliefBox box) {
    using S = ReliefSettings;
    switch (box) {
    case ReliefBox::azimuth: break;
    case ReliefBox::altitude: return "from " + bound(S::kLowestAltitude) + " to " + bound(S::kHighestAltitude);
    case ReliefBox::exaggeration: return "above 0 and at most " + bound(S::kHighestExaggeration);
    case ReliefBox::strength: return "from 0 to 1";
    }
    return {};
}

std::string reliefRefusal(ReliefBox box) {
    switch (box) {
    case ReliefBox::azimuth: return "The sun's azimuth must be a number of degrees, clockwise from north.";
    case ReliefBox::altitude: return "The sun's altitude must be a number of degrees " + reliefRange(box) + ".";
    case ReliefBox::exaggeration: return "The vertical exaggeration must be a number " + reliefRange(box) + ".";
    case ReliefBox::strength: return "The strength must be a number " + reliefRange(box) + ".";
    }
    return {};
}

std::string reliefPath(const MapState& map) {
    const std::string& folder = map.startfolder;
    if (folder.empty()) return kReliefFileName;
    return folder.back() == '/' ? folder + kReliefFileName : folder + '/' + kReliefFileName;
}

std::string reliefText(const ReliefSettings& s) {
    return "on=" + std::string(s.on ? "1" : "0") + "\nazimuth=" + shortest(s.azimuth) + "\naltitude=" +
           shortest(s.altitude) + "\nexaggeration=" + shortest(s.exaggeration) + "\nstrength=" +
           shortest(s.strength) + "\n";
}

std::optional<ReliefSettings> parseReliefText(std::string_view text) {
    std::array<std::optional<double>, 5> values;
    const bool read = readSettingLines(text, kNames, [&values](std::size_t k, std::string_view value) {
        if (values[k]) return false;
        return bool(values[k] = numberOf(value));
    });
    if (!read) return std::nullopt;
    for (const auto& v : values)
        if (!v) return std::nullopt;
    if (*values[0] != 0 && *values[0] != 1) return std::nullopt;
    const ReliefSettings s{*values[0] == 1, *values[1], *values[2], *values[3], *values[4]};
    if (!validRelief(s)) return std::nullopt;
    return s;
}

void tickRelief(Program& p) { p.ui.setMenuChecked(kReliefItem, p.relief.on); }

void loadRelief(Program& p) {
    const std::optional<std::string> text = readSmallFile(reliefPath(p.map));
    const std::optional<ReliefSettings> s = text ? parseReliefText(*text) : std::nullopt;
    p.relief = s.value_or(ReliefSettings{});
    tickRelief(p);
}

bool saveRelief(const Program& p) { return !writeFileReplacing(reliefPath(p.map), reliefText(p.relief)); }

void m_relief_Click(Program& p) {
    p.relief.on = !p.relief.on;
    saveRelief(p);
    tickRelief(p);
    redrawCurrentMap(p);
}

void m_reliefset_Click(Program& p) {
    fillDialog(p);
    p.ui.showForm(Form::Relief, true);
}

void reliefApply_Click(Program& p) {
    ReliefSettings s = p.relief;
    double* values[] = {&s.azimuth, &s.altitude, &s.exaggeration, &s.strength};
    for (std::size_t k = 0; k < 4; ++k) {
        // The boxes are checked in order; the ones not yet read hold valid values.
        const std::optional<double> v = boxNumber(p.reliefDialog.text[k]);
        if (v) *values[k] = *v;
        if (!v || !validRelief(s)) {
            p.ui.messageBox(reliefRefusal(ReliefBox(k)), kReliefDialogCaption, Icon::Information);
            p.ui.setFocus(Form::Relief, std::string("relief") + std::to_string(k));
            return;
        }
    }
    s.on = true;
    p.relief = s;
    saveRelief(p);
    fillDialog(p);
    p.ui.formChanged(Form::Relief);
    tickRelief(p);
    redrawCurrentMap(p);
}

}  // namespace rubicel
