// SPDX-License-Identifier: MIT
// world_file.h: the world file and .prj that place a PNG or BMP map.
#pragma once

#include <optional>
#include <string>

#include "common/file_replace.h"
#include "export/geo_transform.h"
#include "export/mars_crs.h"

namespace rubicel {


// The six lines of an ESRI world file: pixel width, two rotations, pixel height,
// and the centre of the upper-left pixel.
std::string worldFileText(const GeoTransform& t);

// The world file's name beside map: the extension's first and last letters with
// a "w" (map.png gives map.pgw, map.bmp map.bpw, map.tif map.tfw).
std::string worldFilePath(const std::string& map);
// The .prj file's name beside map.
std::string projectionPath(const std::string& map);

// Writes the world file, the .prj and GDAL's auxiliary file map + ".aux.xml"
// beside map into files, the set the map itself goes into.
[[nodiscard]] std::optional<ReplaceFailure> writeWorldFiles(FileSet& files, const std::string& map,
                                                           const GeoTransform& t);

}  // namespace rubicel
