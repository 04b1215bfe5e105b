// SPDX-License-Identifier: MIT
// geotiff_loader.cpp: writeTiffTo() as the programs have it: the GeoTIFF module, loaded once on the first TIFF.
#include <mutex>

#include "common/data_path.h"
#include "common/loadable_module.h"
#include "export/geotiff_module.h"
#include "export/geotiff_writer.h"

namespace rubicel {

TiffWriter* tiffWriter(std::string& problem) {
    // Loaded once for the whole run, whichever of the atlas's threads comes first.
    static std::once_flag once;
    static LoadedModule module;
    std::call_once(once, [] { module = loadModule(kGeoTiffModule, moduleFolders()); });
    if (!module.entries) {
        problem = module.problem;
        return nullptr;
    }
    return static_cast<const GeoTiffEntries*>(module.entries)->write;
}

}  // namespace rubicel
