// SPDX-License-Identifier: MIT
// world_file.cpp: the world file and .prj that place a PNG or BMP map.
#include "export/world_file.h"

#include <filesystem>

namespace rubicel {

namespace {

std::optional<ReplaceFailure> writeText(FileSet& files, const std::string& path, const std::string& text) {
    return files.write(path, [&text](int fd) { return writeAll(fd, text.data(), text.size()); }, LinkAtPath::Replace);
}

}  // namespace

std::string worldFileText(const GeoTransform& t) {
    return exactNumber(t.pixelWidth) + "\n0\n0\n" + exactNumber(t.pixelHeight) + "\n" + exactNumber(t.west + t.pixelWidth / 2) + "\n" +
           exactNumber(t.north + t.pixelHeight / 2) + "\n";
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

std::optional<ReplaceFailure> writeWorldFiles(FileSet& files, const std::string& map, const GeoTransform& t) {
    if (auto failure = writeText(files, worldFilePath(map), worldFileText(t))) return failure;
    const std::string crs = crsWktOf(t);
    if (auto failure = writeText(files, projectionPath(map), crs + "\n")) return failure;
    // GDAL, and QGIS through it, take a PNG's or BMP's coordinate system from this
    // auxiliary file rather than from the .prj.
    std::string wkt;
    for (const char c : crs) wkt += c == '"' ? std::string("&quot;") : std::string(1, c);
    // A geographic system lists latitude first, a projected one easting first.
    const std::string mapping = t.pole != 0 ? "1,2" : "2,1";
    return writeText(files, map + ".aux.xml", "<PAMDataset>\n  <SRS dataAxisToSRSAxisMapping=\"" + mapping + "\">" + wkt +
                                           "</SRS>\n</PAMDataset>\n");
}

}  // namespace rubicel
