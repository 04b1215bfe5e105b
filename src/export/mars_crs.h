// SPDX-License-Identifier: MIT
// mars_crs.h: the Mars coordinate systems, as their codes and as WKT.
#pragma once

#include <string>

#include "export/geo_transform.h"

namespace rubicel {

// Numbers with every digit a double carries, so a reader gets the same value back.
std::string exactNumber(double v);

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

}  // namespace rubicel
