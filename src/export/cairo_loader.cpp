// SPDX-License-Identifier: MIT
// cairo_loader.cpp: the Cairo module as the programs have it, loaded once on the first drawing painted.
#include <mutex>

#include "common/data_path.h"
#include "common/loadable_module.h"
#include "export/cairo_module.h"

namespace rubicel {

const CairoEntries* cairoModule(std::string& problem) {
    // Loaded once for the whole run, whichever of the atlas's threads comes first.
    static std::once_flag once;
    static LoadedModule module;
    std::call_once(once, [] { module = loadModule(kCairoModule, moduleFolders()); });
    if (!module.entries) {
        problem = module.problem;
        return nullptr;
    }
    return static_cast<const CairoEntries*>(module.entries);
}

}  // namespace rubicel
