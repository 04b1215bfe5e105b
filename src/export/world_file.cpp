// SPDX-License-Identifier: MIT
// world_file.cpp: the Mars coordinate system, and the world file and .prj that place a PNG or BMP map.
#include "export/world_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "common/file_replace.h"

namespace rubicel {

namespace {

// Numbers with every digit a double carries, so a reader gets the same value back.
std::string exact(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::optional<std::string> writeText(const std::string& path, const std::string& text) {
    const auto failure =
        replaceFile(path, [&text](int fd) { return writeAll(fd, text.data(), text.size()); }, LinkAtPath::Replace);
    if (!failure) return std::nullopt;
    return "Cannot write " + path + ": " + std::strerror(failure->error);
}

}  // namespace

std::string marsCrsWkt() {
    // WKT 1 with the authority and code as PROJ's database holds them, which GDAL
    // and QGIS resolve to the IAU entry.
    return std::string("GEOGCS[\"") + kMarsCrsName + "\",DATUM[\"" + kMarsDatumName + "\",SPHEROID[\"" +
           kMarsDatumName + "\"," + exact(kMarsRadius) + ",0]],PRIMEM[\"Reference Meridian\",0]," +
           "UNIT[\"degree\",0.0174532925199433],AXIS[\"Latitude\",NORTH],AXIS[\"Longitude\",EAST]," +
           "AUTHORITY[\"" + kMarsCrsAuthority + "\",\"" + std::to_string(kMarsCrsCode) + "\"]]";
}

std::string worldFileText(const GeoTransform& t) {
    return exact(t.pixelWidth) + "\n0\n0\n" + exact(t.pixelHeight) + "\n" + exact(t.west + t.pixelWidth / 2) + "\n" +
           exact(t.north + t.pixelHeight / 2) + "\n";
}

std::string worldFilePath(const std::string& map) {
    std::filesystem::path path(map);
    const std::string ext = path.extension().string();
    if (ext.size() < 3) return map + "w";
    const bool upper = ext.back() >= 'A' && ext.back() <= 'Z';
    path.replace_extension(ext.substr(0, 2) + ext.back() + (upper ? "W" : "w"));
    return path.string();
}

std::string projectionPath(const std::string& map) {
    return std::filesystem::path(map).replace_extension(".prj").string();
}

std::optional<std::string> writeWorldFiles(const std::string& map, const GeoTransform& t) {
    if (auto failure = writeText(worldFilePath(map), worldFileText(t))) return failure;
    if (auto failure = writeText(projectionPath(map), marsCrsWkt() + "\n")) return failure;
    // GDAL, and QGIS through it, take a PNG's or BMP's coordinate system from this
    // auxiliary file rather than from the .prj.
    std::string wkt;
    for (const char c : marsCrsWkt()) wkt += c == '"' ? std::string("&quot;") : std::string(1, c);
    return writeText(map + ".aux.xml",
                     "<PAMDataset>\n  <SRS dataAxisToSRSAxisMapping=\"2,1\">" + wkt + "</SRS>\n</PAMDataset>\n");
}

}  // namespace rubicel
