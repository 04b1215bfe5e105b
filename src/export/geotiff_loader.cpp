// SPDX-License-Identifier: MIT
// geotiff_loader.cpp: writeTiffTo() as the programs have it: the GeoTIFF module, loaded once on the first TIFF.
#include <dlfcn.h>

#include <filesystem>
#include <mutex>
#include <system_error>

#include "common/data_path.h"
#include "export/geotiff_module.h"
#include "export/geotiff_writer.h"

namespace rubicel {

namespace {

namespace fs = std::filesystem;

struct LoadedModule {
    GeoTiffEntry* write = nullptr;
    std::string problem;  // why there is no entry point
};

LoadedModule load() {
    LoadedModule module;
    std::string looked;
    for (const fs::path& folder : moduleFolders()) {
        const fs::path file = folder / kGeoTiffModuleName;
        std::error_code ec;
        if (!fs::is_regular_file(file, ec)) {
            looked += (looked.empty() ? "" : ", ") + folder.string();
            continue;
        }
        // Kept loaded to the end of the run; its libraries stay its own.
        void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = ::dlerror();
            module.problem = "the GeoTIFF module " + file.string() + " does not load (" + (why ? why : "no reason") + ")";
            return module;
        }
        module.write = reinterpret_cast<GeoTiffEntry*>(::dlsym(handle, kGeoTiffEntryName));
        if (!module.write) {
            module.problem = "the GeoTIFF module " + file.string() + " is not one of this version (no " +
                             kGeoTiffEntryName + ")";
            ::dlclose(handle);
        }
        return module;
    }
    module.problem = std::string("the GeoTIFF module ") + kGeoTiffModuleName + " is not installed (looked in " +
                     (looked.empty() ? "no folder" : looked) + ")";
    return module;
}

}  // namespace

TiffWriter* tiffWriter(std::string& problem) {
    // Loaded once for the whole run, whichever of the atlas's threads comes first.
    static std::once_flag once;
    static LoadedModule module;
    std::call_once(once, [] { module = load(); });
    if (!module.write) problem = module.problem;
    return module.write;
}

}  // namespace rubicel
