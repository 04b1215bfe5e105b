// SPDX-License-Identifier: MIT
// atlas_page.cpp: the atlas's gallery page, index.html.
#include <charconv>
#include <string>

#include "export/atlas.h"

namespace rubicel {

namespace {

std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

// A number in its shortest decimal form.
std::string decimal(double v) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

// Which light the maps were drawn in.
std::string lighting(const ReliefSettings& r) {
    if (!r.on) return "no relief shading";
    return "relief shading: sun at azimuth " + decimal(r.azimuth) + "&deg;, altitude " + decimal(r.altitude) +
           "&deg;, exaggeration " + decimal(r.exaggeration) + ", strength " + decimal(r.strength);
}

// A degree value with a true minus sign.
std::string degrees(int v) { return (v < 0 ? "&minus;" + std::to_string(-v) : std::to_string(v)) + "&deg;"; }

constexpr const char* kStyle = R"(
body { margin: 0; font: 14px/1.4 "Liberation Sans", Arial, sans-serif; color: #222; background: #f4f2ef; }
header { padding: 16px 24px; background: #3b2a1e; color: #f4ede4; }
header h1 { margin: 0 0 4px; font-size: 22px; font-weight: normal; }
header p { margin: 0; color: #d8c8b6; }
.layout { display: flex; align-items: flex-start; gap: 24px; padding: 16px 24px; }
aside { position: sticky; top: 16px; flex: none; text-align: center; }
aside img { display: block; border: 1px solid #bbb; background: #fff; }
aside p { margin: 6px 0 0; font-size: 12px; color: #555; }
main { flex: 1; min-width: 0; }
h2 { margin: 8px 0 12px; font-size: 17px; font-weight: normal; border-bottom: 1px solid #cdbfae; }
.grid { display: grid; grid-template-columns: repeat(auto-fill, minmax(250px, 1fr)); gap: 14px; margin-bottom: 20px; }
figure { margin: 0; padding: 8px; background: #fff; border: 1px solid #ddd3c6; border-radius: 4px; }
figure a.map { display: flex; align-items: center; justify-content: center; height: 184px; background: #eee; }
figure img { display: block; max-width: 100%; max-height: 184px; image-rendering: pixelated; }
figcaption { margin-top: 6px; font-size: 12px; color: #555; }
figcaption strong { display: block; font-size: 14px; color: #222; }
figure.failed { border-color: #c33; }
figure.failed .map { color: #a00; padding: 8px; font-size: 12px; white-space: pre-wrap; overflow: auto; }
)";

}  // namespace

std::string atlasPage(const std::vector<AtlasEntry>& entries, const AtlasSettings& s, const std::string& keyFile) {
    int failed = 0;
    for (const auto& e : entries) failed += e.failure ? 1 : 0;
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                       "<title>Rubicel atlas of Mars</title>\n<style>";
    html += kStyle;
    html += "</style>\n</head>\n<body>\n<header>\n<h1>Rubicel atlas of Mars</h1>\n<p>";
    html += std::to_string(entries.size() - std::size_t(failed)) + " of " + std::to_string(entries.size()) +
            " maps from the MOLA MEGDR 64 pixels-per-degree tiles &middot; colour scheme " +
            std::to_string(s.colour.scheme) + ", shading mode " + std::to_string(s.colour.mode) + " &middot; " +
            lighting(s.relief) + " &middot; planetocentric latitude, east longitude</p>\n</header>\n<div class=\"layout\">\n";
    if (!keyFile.empty())
        html += "<aside><img src=\"" + escaped(keyFile) + "\" alt=\"Colour key\"><p>Colour key</p></aside>\n";
    html += "<main>\n";
    std::string group;
    for (const auto& e : entries) {
        if (e.group != group) {
            if (!group.empty()) html += "</div>\n";
            group = e.group;
            html += "<h2>" + escaped(group) + "</h2>\n<div class=\"grid\">\n";
        }
        const MapRequest& r = e.request;
        const std::string box = "long. " + degrees(r.west) + " to " + degrees(r.east) + ", lat. " +
                                degrees(r.north) + " to " + degrees(r.south);
        if (e.failure) {
            html += "<figure class=\"failed\"><div class=\"map\">" + escaped(*e.failure) + "</div><figcaption><strong>" +
                    escaped(r.caption) + "</strong>" + box + "<br>not drawn</figcaption></figure>\n";
            continue;
        }
        html += "<figure><a class=\"map\" href=\"" + escaped(e.file) + "\"><img src=\"" + escaped(e.thumbnail) +
                "\" alt=\"" + escaped(r.caption) + "\" loading=\"lazy\"></a><figcaption><strong>" +
                escaped(r.caption) + "</strong>" + box + "<br>step " + std::to_string(e.step) + " &middot; " +
                std::to_string(e.width) + " &times; " + std::to_string(e.height) + " pixels</figcaption></figure>\n";
    }
    if (!group.empty()) html += "</div>\n";
    html += "</main>\n</div>\n</body>\n</html>\n";
    return html;
}

}  // namespace rubicel
