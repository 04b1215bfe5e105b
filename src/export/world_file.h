// SPDX-License-Identifier: MIT
// world_file.h: the Mars coordinate system, and the world file and .prj that place a PNG or BMP map.
#pragma once

#include <optional>
#include <string>

#include "export/geo_transform.h"

namespace rubicel {

// The IAU 2015 Mars sphere, planetocentric latitude, east longitude, in degrees.
inline constexpr int kMarsCrsCode = 49900;
// The authority that holds the code, as PROJ (and so GDAL and QGIS) names it.
inline constexpr const char* kMarsCrsAuthority = "IAU_2015";
inline constexpr double kMarsRadius = 3396190.0;  // metres
inline constexpr const char* kMarsCrsName = "Mars (2015) - Sphere / Ocentric";
inline constexpr const char* kMarsDatumName = "Mars (2015) - Sphere";

// The coordinate system as WKT, as GIS programs read it from a .prj file.
std::string marsCrsWkt();

// The polar stereographic systems of the Mars sphere, of the north pole (pole 1)
// and of the south pole (pole -1): latitude of origin 90 or -90, central
// meridian 0, scale 1, no false easting or northing, metres.
inline constexpr int kMarsNorthPolarCode = 49930;
inline constexpr int kMarsSouthPolarCode = 49935;
// Inline: the GeoTIFF module names the system too, without this file's writers.
inline std::string marsPolarName(int pole) {
    return std::string(kMarsCrsName) + (pole > 0 ? " / North Polar" : " / South Polar");
}
std::string marsPolarWkt(int pole);
// The same system in WKT 2, as PROJ holds it under IAU_2015 (variant A of the
// projection, easting and northing axes, the code as an ID), for readers that
// take it whole: GDAL identifies it as the IAU entry itself.
std::string marsPolarWkt2(int pole);
// The WKT of the system that t is in.
std::string crsWktOf(const GeoTransform& t);

// The six lines of an ESRI world file: pixel width, two rotations, pixel height,
// and the centre of the upper-left pixel.
std::string worldFileText(const GeoTransform& t);

// The world file's name beside map: the extension's first and last letters with
// a "w" (map.png gives map.pgw, map.bmp map.bpw, map.tif map.tfw).
std::string worldFilePath(const std::string& map);
// The .prj file's name beside map.
std::string projectionPath(const std::string& map);

// Writes the world file, the .prj and GDAL's auxiliary file map + ".aux.xml"
// beside map. Returns a description of the failure, or nothing.
[[nodiscard]] std::optional<std::string> writeWorldFiles(const std::string& map, const GeoTransform& t);

}  // namespace rubicel
