// SPDX-License-Identifier: MIT
// mars_crs.cpp: the Mars coordinate systems as WKT, for the .prj files, GDAL's auxiliary files and the GeoTIFF module.
#include "export/mars_crs.h"

#include <cstdio>

namespace rubicel {

std::string exactNumber(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

std::string marsCrsWkt() {
    // WKT 1 with the authority and code as PROJ's database holds them, which GDAL
    // and QGIS resolve to the IAU entry.
    return std::string("GEOGCS[\"") + kMarsCrsName + "\",DATUM[\"" + kMarsDatumName + "\",SPHEROID[\"" +
           kMarsDatumName + "\"," + exactNumber(kMarsRadius) + ",0]],PRIMEM[\"Reference Meridian\",0]," +
           "UNIT[\"degree\",0.0174532925199433],AXIS[\"Latitude\",NORTH],AXIS[\"Longitude\",EAST]," +
           "AUTHORITY[\"" + kMarsCrsAuthority + "\",\"" + std::to_string(kMarsCrsCode) + "\"]]";
}


std::string marsPolarWkt(int pole) {
    const std::string geographic = marsCrsWkt();
    // The geographic system without its axes, which a projected system's own replace.
    const std::string base = geographic.substr(0, geographic.find(",AXIS[")) + "]";
    return "PROJCS[\"" + marsPolarName(pole) + "\"," + base + ",PROJECTION[\"Polar_Stereographic\"]," +
           "PARAMETER[\"latitude_of_origin\"," + (pole > 0 ? "90" : "-90") + "],PARAMETER[\"central_meridian\",0]," +
           "PARAMETER[\"scale_factor\",1],PARAMETER[\"false_easting\",0],PARAMETER[\"false_northing\",0]," +
           "UNIT[\"metre\",1],AXIS[\"Easting\",EAST],AXIS[\"Northing\",NORTH],AUTHORITY[\"IAU_2015\",\"" +
           std::to_string(pole > 0 ? kMarsNorthPolarCode : kMarsSouthPolarCode) + "\"]]";
}

std::string marsPolarWkt2(int pole) {
    const std::string degree = "ANGLEUNIT[\"degree\",0.0174532925199433]";
    const std::string metre = "LENGTHUNIT[\"metre\",1]";
    // WKT 2 writes PROJ's authority IAU_2015 as the IAU's code of its 2015 edition.
    auto id = [](int code) { return "ID[\"IAU\"," + std::to_string(code) + ",2015]"; };
    auto parameter = [](const std::string& name, const std::string& value, const std::string& unit, int epsg) {
        return "PARAMETER[\"" + name + "\"," + value + "," + unit + ",ID[\"EPSG\"," + std::to_string(epsg) + "]]";
    };
    const std::string conversion = pole > 0 ? "North Polar" : "South Polar";
    return "PROJCRS[\"" + marsPolarName(pole) + "\",BASEGEOGCRS[\"" + kMarsCrsName + "\",DATUM[\"" + kMarsDatumName +
           "\",ELLIPSOID[\"" + kMarsDatumName + "\"," + exactNumber(kMarsRadius) + ",0," + metre +
           "]],PRIMEM[\"Reference Meridian\",0," + degree + "]," + id(kMarsCrsCode) + "],CONVERSION[\"" + conversion +
           "\",METHOD[\"Polar Stereographic (variant A)\",ID[\"EPSG\",9810]]," +
           parameter("Latitude of natural origin", pole > 0 ? "90" : "-90", degree, 8801) + "," +
           parameter("Longitude of natural origin", "0", degree, 8802) + "," +
           parameter("Scale factor at natural origin", "1", "SCALEUNIT[\"unity\",1]", 8805) + "," +
           parameter("False easting", "0", metre, 8806) + "," + parameter("False northing", "0", metre, 8807) +
           "],CS[Cartesian,2],AXIS[\"(E)\",east,ORDER[1]," + metre + "],AXIS[\"(N)\",north,ORDER[2]," + metre + "]," +
           id(pole > 0 ? kMarsNorthPolarCode : kMarsSouthPolarCode) + "]";
}

std::string crsWktOf(const GeoTransform& t) { return t.pole != 0 ? marsPolarWkt(t.pole) : marsCrsWkt(); }

}  // namespace rubicel
