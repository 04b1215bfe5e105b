// SPDX-License-Identifier: MIT
// geotiff_loader.cpp: writeTiff() as the programs have it: the GeoTIFF module, loaded once on the first TIFF.
#include <mutex>

#include "common/data_path.h"
#include "common/loadable_module.h"
#include "export/geotiff_module.h"
#include "export/geotiff_writer.h"

namespace rubicel {

std::optional<std::string> writeTiff(const Raster& image, const std::string& path,
                                     const std::optional<GeoTransform>& place) {
    // Loaded once for the whole run, whichever of the atlas's threads comes first.
    static std::once_flag once;
    static LoadedModule module;
    std::call_once(once, [] { module = loadModule(kGeoTiffModule, moduleFolders()); });
    if (!module.entries) return "Cannot write " + path + ": " + module.problem;
    std::optional<std::string> failure;
    static_cast<const GeoTiffEntries*>(module.entries)->write(image, path, place, failure);
    return failure;
}

}  // namespace rubicel
