// SPDX-License-Identifier: MIT
// chm_check.h: the sizes and places a compiled help file states, checked before chmlib is given the file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace rubicel {

// chmlib takes the sizes it allocates and the places it reads from the file
// itself, unchecked: a directory chunk of 4 GB, an index that leads back to
// itself, a window size it divides by. A file is handed to it only when the
// values it acts on are within the file and of sizes it can live with; what
// the values mean is left to chmlib.
struct ChmCheck {
    std::string problem;  // why the file may not be opened: "its directory chunks are said to be ... bytes"
    // How much of the compressed section chmlib can decompress from the checked
    // block table: objects must lie below it (0 when nothing compressed can be read).
    std::uint64_t compressedBytes = 0;
};

// Checks the bytes of a whole help file.
ChmCheck checkChmBytes(std::span<const unsigned char> file);

}  // namespace rubicel
