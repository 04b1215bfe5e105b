// SPDX-License-Identifier: MIT
// loadable_module.cpp: a module the programs load on first use, and the handshake that proves it was built for them.
#include "common/loadable_module.h"

#include <dlfcn.h>

#include <cstdio>
#include <system_error>

namespace rubicel {

namespace fs = std::filesystem;

namespace {

std::string hex(std::uint64_t v) {
    char text[24];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
    return text;
}

// Why the handshake does not fit the program, or nothing when it does.
std::string mismatch(const ModuleInterface& wanted, const ModuleHandshake* found) {
    if (!found || found->magic != kModuleMagic) return "its handshake is of no version this program knows";
    if (found->version != wanted.version || found->layout != wanted.layout)
        return "it passes its data in another layout (interface " + std::to_string(found->version) + ", layout " +
               hex(found->layout) + "; this program needs interface " + std::to_string(wanted.version) +
               ", layout " + hex(wanted.layout) + ")";
    if (!found->entries) return "it has no entry points";
    return {};
}

}  // namespace

LoadedModule loadModule(const ModuleInterface& wanted, const std::vector<fs::path>& folders) {
    LoadedModule module;
    const std::string title = std::string("the ") + wanted.title + " module ";
    std::string looked;
    for (const fs::path& folder : folders) {
        const fs::path file = folder / wanted.file;
        std::error_code ec;
        if (!fs::is_regular_file(file, ec)) {
            looked += (looked.empty() ? "" : ", ") + folder.string();
            continue;
        }
        void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            const char* why = ::dlerror();
            module.problem = title + file.string() + " does not load (" + (why ? why : "no reason") + ")";
            return module;
        }
        const auto handshake = reinterpret_cast<ModuleHandshakeFunction*>(::dlsym(handle, wanted.symbol));
        if (!handshake) {
            module.problem = title + file.string() + " is of another version of Rubicel (it has no " +
                             wanted.symbol + ")";
            ::dlclose(handle);
            return module;
        }
        const ModuleHandshake* found = handshake();
        if (const std::string why = mismatch(wanted, found); !why.empty()) {
            module.problem = title + file.string() + " is of another version of Rubicel: " + why;
            ::dlclose(handle);
            return module;
        }
        module.entries = found->entries;  // the handle stays open to the end of the run
        return module;
    }
    module.problem = title + wanted.file + " is not installed (looked in " + (looked.empty() ? "no folder" : looked) +
                     ")";
    return module;
}

}  // namespace rubicel
