// SPDX-License-Identifier: MIT
// geotiff_writer.cpp: a raster as a deflate-compressed RGB TIFF, with its place on Mars when it has one.
#include "export/geotiff_writer.h"

#include <geo_normalize.h>
#include <geotiff.h>
#include <geotiffio.h>
#include <tiffio.h>
#include <unistd.h>
#include <xtiffio.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include "common/raster.h"
#include "export/mars_crs.h"

namespace rubicel {

namespace {

// The library reports through handlers of the whole process; the caller reports
// the failure itself, so they print nothing.
void quiet(const char*, const char*, va_list) {}

// Keys of the polar stereographic system of the pole (1 north, -1 south) on the
// Mars sphere, over its geographic keys; user-defined, as GeoTIFF has no codes
// for other planets. GDAL builds a polar system from such keys with axes of its
// own (easting south along 90° E at the north pole), which then matches the IAU
// entry only in part, so QGIS names no code for it. The system goes whole as WKT
// into the citation instead, as an "ESRI PE String", which GDAL (and ArcGIS)
// read in place of the keys when the model type is user-defined: GDAL then
// knows it as IAU_2015:49930 or 49935. The keys stay for readers that do not.
void writePolarKeys(GTIF* gtif, int pole) {
    const std::string citation = "ESRI PE String = " + marsPolarWkt2(pole);
    GTIFKeySet(gtif, ProjectedCSTypeGeoKey, TYPE_SHORT, 1, KvUserDefined);
    GTIFKeySet(gtif, PCSCitationGeoKey, TYPE_ASCII, 0, citation.c_str());
    GTIFKeySet(gtif, ProjectionGeoKey, TYPE_SHORT, 1, KvUserDefined);
    GTIFKeySet(gtif, ProjCoordTransGeoKey, TYPE_SHORT, 1, CT_PolarStereographic);
    GTIFKeySet(gtif, ProjLinearUnitsGeoKey, TYPE_SHORT, 1, Linear_Meter);
    GTIFKeySet(gtif, ProjNatOriginLatGeoKey, TYPE_DOUBLE, 1, pole > 0 ? 90.0 : -90.0);
    GTIFKeySet(gtif, ProjStraightVertPoleLongGeoKey, TYPE_DOUBLE, 1, 0.0);
    GTIFKeySet(gtif, ProjScaleAtNatOriginGeoKey, TYPE_DOUBLE, 1, 1.0);
    GTIFKeySet(gtif, ProjFalseEastingGeoKey, TYPE_DOUBLE, 1, 0.0);
    GTIFKeySet(gtif, ProjFalseNorthingGeoKey, TYPE_DOUBLE, 1, 0.0);
}

// Geographic keys of the Mars sphere. It has no EPSG code, so datum, ellipsoid
// and prime meridian are user-defined and named the way GDAL and QGIS name the
// IAU entry.
bool writeKeys(TIFF* tif, const GeoTransform& t) {
    GTIF* gtif = GTIFNew(tif);
    if (!gtif) return false;
    // A polar system's model type is user-defined: see writePolarKeys.
    GTIFKeySet(gtif, GTModelTypeGeoKey, TYPE_SHORT, 1, t.pole != 0 ? KvUserDefined : ModelTypeGeographic);
    GTIFKeySet(gtif, GTRasterTypeGeoKey, TYPE_SHORT, 1, RasterPixelIsArea);
    GTIFKeySet(gtif, GeographicTypeGeoKey, TYPE_SHORT, 1, KvUserDefined);
    // The citation's fields name the datum, ellipsoid and meridian for readers that
    // parse it (GDAL does); others show it as the system's name.
    const std::string citation = std::string("GCS Name = ") + kMarsCrsName + "|Datum = " + kMarsDatumName +
                                 "|Ellipsoid = " + kMarsDatumName + "|Primem = Reference Meridian|AUnits = degree|";
    GTIFKeySet(gtif, GeogCitationGeoKey, TYPE_ASCII, 0, citation.c_str());
    GTIFKeySet(gtif, GeogGeodeticDatumGeoKey, TYPE_SHORT, 1, KvUserDefined);
    GTIFKeySet(gtif, GeogAngularUnitsGeoKey, TYPE_SHORT, 1, Angular_Degree);
    GTIFKeySet(gtif, GeogEllipsoidGeoKey, TYPE_SHORT, 1, KvUserDefined);
    GTIFKeySet(gtif, GeogSemiMajorAxisGeoKey, TYPE_DOUBLE, 1, kMarsRadius);
    GTIFKeySet(gtif, GeogSemiMinorAxisGeoKey, TYPE_DOUBLE, 1, kMarsRadius);
    GTIFKeySet(gtif, GeogPrimeMeridianLongGeoKey, TYPE_DOUBLE, 1, 0.0);
    if (t.pole != 0) writePolarKeys(gtif, t.pole);
    const bool written = GTIFWriteKeys(gtif) != 0;
    GTIFFree(gtif);
    if (!written) return false;
    // The north-west corner of pixel (0, 0), and the size of a pixel.
    double tiepoint[6] = {0, 0, 0, t.west, t.north, 0};
    double scale[3] = {t.pixelWidth, -t.pixelHeight, 0};
    return TIFFSetField(tif, TIFFTAG_GEOTIEPOINTS, 6, tiepoint) == 1 &&
           TIFFSetField(tif, TIFFTAG_GEOPIXELSCALE, 3, scale) == 1;
}

}  // namespace

bool writeTiffTo(int fd, const Raster& image, const std::optional<GeoTransform>& place) {
    // Process-wide settings, made once before any file is written: the atlas
    // writes from several threads, and the tag registration is not safe to race.
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetErrorHandler(quiet);
        TIFFSetWarningHandler(quiet);
        XTIFFInitialize();
    });
    // The library closes the descriptor it is given; the caller still needs fd.
    const int own = ::dup(fd);
    if (own < 0) return false;
    TIFF* tif = XTIFFFdOpen(own, "map", "w");
    if (!tif) {
        ::close(own);
        errno = EIO;
        return false;
    }
    bool ok = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, std::uint32_t(image.width())) == 1 &&
              TIFFSetField(tif, TIFFTAG_IMAGELENGTH, std::uint32_t(image.height())) == 1 &&
              TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3) == 1 && TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8) == 1 &&
              TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB) == 1 &&
              TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == 1 &&
              TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT) == 1 &&
              TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE) == 1 &&
              TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL) == 1 &&
              TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0)) == 1 &&
              TIFFSetField(tif, TIFFTAG_SOFTWARE, "Rubicel") == 1;
    if (ok && place) ok = writeKeys(tif, *place);
    std::vector<std::uint8_t> row(std::size_t(image.width()) * 3);
    for (int y = 0; ok && y < image.height(); ++y) {
        const std::uint32_t* pixel = image.row(y);
        for (int x = 0; x < image.width(); ++x) {
            row[std::size_t(3 * x)] = std::uint8_t(redOf(pixel[x]));
            row[std::size_t(3 * x + 1)] = std::uint8_t(greenOf(pixel[x]));
            row[std::size_t(3 * x + 2)] = std::uint8_t(blueOf(pixel[x]));
        }
        ok = TIFFWriteScanline(tif, row.data(), std::uint32_t(y), 0) == 1;
    }
    const int error = errno;
    ok = ok && TIFFFlush(tif) == 1;
    XTIFFClose(tif);
    if (!ok) errno = error != 0 ? error : EIO;
    return ok;
}

}  // namespace rubicel
