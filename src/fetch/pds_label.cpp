// SPDX-License-Identifier: MIT
// pds_label.cpp: reading the detached PDS label of a tile and checking it against the tile's name.
#include "fetch/pds_label.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace rubicel::fetch {
namespace {

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

// Drops /* ... */ comments; a comment left open runs to the end of the text.
std::string withoutComments(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool inQuotes = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"') inQuotes = !inQuotes;
        if (!inQuotes && text.compare(i, 2, "/*") == 0) {
            const auto end = text.find("*/", i + 2);
            if (end == std::string_view::npos) break;
            i = end + 1;
            continue;
        }
        out += text[i];
    }
    return out;
}

// The value without quotes and without a trailing <unit>.
std::string plainValue(std::string_view value) {
    value = trim(value);
    if (!value.empty() && value.back() == '>') {
        const auto open = value.rfind('<');
        if (open != std::string_view::npos) value = trim(value.substr(0, open));
    }
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::optional<double> number(const std::optional<std::string>& text) {
    if (!text) return std::nullopt;
    double x = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, x);
    if (error != std::errc() || stop != end) return std::nullopt;
    return x;
}

std::string numberText(double x) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", x);
    return buffer;
}

}  // namespace

std::optional<PdsLabel> PdsLabel::parse(std::string_view text) {
    const std::string clean = withoutComments(text);
    PdsLabel label;
    std::vector<std::string> objects;
    std::size_t at = 0;
    bool any = false;
    while (at < clean.size()) {
        auto end = clean.find('\n', at);
        if (end == std::string::npos) end = clean.size();
        std::string statement = clean.substr(at, end - at);
        at = end + 1;
        // A quoted or parenthesised value goes on until it closes.
        auto open = [&statement] {
            int quotes = 0, depth = 0;
            for (const char c : statement) {
                if (c == '"') ++quotes;
                else if (quotes % 2 == 0 && c == '(') ++depth;
                else if (quotes % 2 == 0 && c == ')') --depth;
            }
            return quotes % 2 == 1 || depth > 0;
        };
        while (open() && at < clean.size()) {
            end = clean.find('\n', at);
            if (end == std::string::npos) end = clean.size();
            statement += ' ';
            statement += clean.substr(at, end - at);
            at = end + 1;
        }
        const std::string_view line = trim(statement);
        if (line == "END") break;
        const auto eq = line.find('=');
        if (line.empty() || eq == std::string_view::npos) continue;
        const std::string key(trim(line.substr(0, eq)));
        const std::string value = plainValue(line.substr(eq + 1));
        if (key.empty()) continue;
        any = true;
        if (key == "OBJECT" || key == "GROUP") {
            objects.push_back(value);
        } else if (key == "END_OBJECT" || key == "END_GROUP") {
            if (!objects.empty()) objects.pop_back();
        } else {
            const std::string path = objects.empty() ? key : objects.back() + "." + key;
            label.values_.emplace(path, value);  // the first statement of a key counts
        }
    }
    if (!any) return std::nullopt;
    return label;
}

std::optional<std::string> PdsLabel::value(std::string_view object, std::string_view key) const {
    const std::string path = object.empty() ? std::string(key) : std::string(object) + "." + std::string(key);
    const auto it = values_.find(path);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::vector<std::string> checkLabel(const PdsLabel& label, const TileProduct& tile) {
    std::vector<std::string> problems;
    const auto expectNumber = [&](std::string_view object, std::string_view key, double expected, bool modulo360) {
        const auto text = label.value(object, key);
        const std::string where = std::string(object.empty() ? "" : std::string(object) + " ") + std::string(key);
        const auto x = number(text);
        if (!text) {
            problems.push_back(where + " is missing");
        } else if (!x) {
            problems.push_back(where + " is '" + *text + "', not a number");
        } else {
            double difference = *x - expected;
            if (modulo360) difference = std::remainder(difference, 360.0);  // 180 and -180 are one meridian
            if (std::fabs(difference) > 1e-6)
                problems.push_back(where + " is " + numberText(*x) + ", not " + numberText(expected));
        }
    };
    expectNumber("", "RECORD_BYTES", 23040, false);
    expectNumber("", "FILE_RECORDS", 5760, false);
    expectNumber("IMAGE", "LINES", 5760, false);
    expectNumber("IMAGE", "LINE_SAMPLES", 11520, false);
    expectNumber("IMAGE", "SAMPLE_BITS", 16, false);
    // Big-endian signed integers under any of the names PDS gives them.
    const auto type = label.value("IMAGE", "SAMPLE_TYPE");
    if (!type) {
        problems.push_back("IMAGE SAMPLE_TYPE is missing");
    } else if (*type != "MSB_INTEGER" && *type != "SUN_INTEGER" && *type != "MAC_INTEGER" && *type != "INTEGER") {
        problems.push_back("IMAGE SAMPLE_TYPE is " + *type + ", not MSB_INTEGER");
    }
    expectNumber("IMAGE_MAP_PROJECTION", "MAXIMUM_LATITUDE", tile.north, false);
    expectNumber("IMAGE_MAP_PROJECTION", "MINIMUM_LATITUDE", tile.south, false);
    expectNumber("IMAGE_MAP_PROJECTION", "WESTERNMOST_LONGITUDE", tile.west, true);
    expectNumber("IMAGE_MAP_PROJECTION", "EASTERNMOST_LONGITUDE", tile.east, true);
    // A label that points at its image must point at this tile, in either case.
    if (const auto pointer = label.value("", "^IMAGE")) {
        if (upperCase(*pointer).find(upperCase(tile.name)) == std::string::npos)
            problems.push_back("^IMAGE names " + *pointer + ", not " + upperCase(tile.name));
    }
    return problems;
}

std::string megdrLabelText(const TileProduct& tile) {
    const std::string image = upperCase(tile.name);
    const std::string product = image.substr(0, image.size() - 4);
    const auto line = [](std::string key, const std::string& value) {
        key.resize(std::max<std::size_t>(key.size(), 32), ' ');
        return key + "= " + value + "\r\n";
    };
    const auto degrees = [](int x) { return std::to_string(x) + " <DEGREE>"; };
    std::string t;
    t += line("PDS_VERSION_ID", "PDS3");
    t += line("RECORD_TYPE", "FIXED_LENGTH");
    t += line("RECORD_BYTES", "23040");
    t += line("FILE_RECORDS", "5760");
    t += line("^IMAGE", "\"" + image + "\"");
    t += line("DATA_SET_ID", "\"MGS-M-MOLA-5-MEGDR-L3-V1.0\"");
    t += line("PRODUCT_ID", "\"" + product + "\"");
    t += line("SPACECRAFT_NAME", "\"MARS GLOBAL SURVEYOR\"");
    t += line("INSTRUMENT_ID", "MOLA");
    t += line("TARGET_NAME", "MARS");
    t += "/* Topography above the areoid, 64 pixels per degree */\r\n";
    t += line("OBJECT", "IMAGE");
    t += line("  NAME", "TOPOGRAPHY");
    t += line("  DESCRIPTION", "\"Mars topography in meters above the\r\n    areoid\"");
    t += line("  LINES", "5760");
    t += line("  LINE_SAMPLES", "11520");
    t += line("  SAMPLE_TYPE", "MSB_INTEGER");
    t += line("  SAMPLE_BITS", "16");
    t += line("  UNIT", "METER");
    t += line("  SCALING_FACTOR", "1");
    t += line("  OFFSET", "0");
    t += line("END_OBJECT", "IMAGE");
    t += line("OBJECT", "IMAGE_MAP_PROJECTION");
    t += line("  MAP_PROJECTION_TYPE", "\"SIMPLE CYLINDRICAL\"");
    t += line("  A_AXIS_RADIUS", "3396.0 <KM>");
    t += line("  MAP_RESOLUTION", "64 <PIXEL/DEGREE>");
    t += line("  MAXIMUM_LATITUDE", degrees(tile.north));
    t += line("  MINIMUM_LATITUDE", degrees(tile.south));
    t += line("  WESTERNMOST_LONGITUDE", degrees(tile.west));
    t += line("  EASTERNMOST_LONGITUDE", degrees(tile.east));
    t += line("  POSITIVE_LONGITUDE_DIRECTION", "EAST");
    t += line("END_OBJECT", "IMAGE_MAP_PROJECTION");
    t += "END\r\n";
    return t;
}

}  // namespace rubicel::fetch
