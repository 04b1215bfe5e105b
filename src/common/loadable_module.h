// SPDX-License-Identifier: MIT
// loadable_module.h: a module the programs load on first use, and the handshake that proves it was built for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace rubicel {

// What a module shows the program that loads it: one C function of a fixed name
// per module ("rubicel_module_geotiff") returning this record. The entry points
// themselves are reached only through it, after the program has checked that
// the module passes data laid out as the program lays it out. The record keeps
// this layout for good, so a program can read it from a module of any build;
// were it ever to change, kModuleMagic must change with it.
struct ModuleHandshake {
    std::uint32_t magic;    // kModuleMagic
    std::uint32_t version;  // of the entry points' signatures and meaning
    std::uint64_t layout;   // layoutKey() of every type the entry points pass
    const void* entries;    // the module's own table of entry points
};
inline constexpr std::uint32_t kModuleMagic = 0x52424D31;  // "RBM1"

using ModuleHandshakeFunction = const ModuleHandshake*();

// A fingerprint of the sizes, alignments and member offsets of the types a
// module's entry points pass: any change of layout on one side changes it.
// FNV-1a over the numbers, 8 bytes each.
constexpr std::uint64_t layoutKey(std::initializer_list<std::size_t> numbers) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const std::size_t n : numbers)
        for (int byte = 0; byte < 8; ++byte) {
            hash ^= (std::uint64_t(n) >> (8 * byte)) & 0xFF;
            hash *= 0x100000001b3u;
        }
    return hash;
}

// The handshake function's name for a module's short name, and its definition in
// the module: RUBICEL_MODULE_HANDSHAKE(geotiff, version, layout, entries) defines
// rubicel_module_geotiff(), the module's one visible symbol.
#define RUBICEL_MODULE_SYMBOL_NAME(name) "rubicel_module_" #name
#define RUBICEL_MODULE_HANDSHAKE(name, version, layout, entries)                                       \
    extern "C" __attribute__((visibility("default"))) const ::rubicel::ModuleHandshake*              \
        rubicel_module_##name() {                                                                      \
        static const ::rubicel::ModuleHandshake handshake{::rubicel::kModuleMagic, (version), (layout), \
                                                          &(entries)};                                 \
        return &handshake;                                                                             \
    }

// What a program expects of one of its modules.
struct ModuleInterface {
    const char* title;   // as messages name it: "GeoTIFF"
    const char* file;    // "librubicel-geotiff.so"
    const char* symbol;  // RUBICEL_MODULE_SYMBOL_NAME(geotiff)
    std::uint32_t version;
    std::uint64_t layout;
};

// A loaded module's table of entry points, or why there is none.
struct LoadedModule {
    const void* entries = nullptr;
    std::string problem;  // "the GeoTIFF module /usr/lib/rubicel/librubicel-geotiff.so ..."
};

// Loads wanted.file from the first of folders that holds it and checks its
// handshake; a module that fails the check is unloaded, one that passes stays
// loaded to the end of the run. Later folders are not tried once one holds the
// file, so a module can never be stood in for by one from a folder further down.
LoadedModule loadModule(const ModuleInterface& wanted, const std::vector<std::filesystem::path>& folders);

}  // namespace rubicel
