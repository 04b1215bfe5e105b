// SPDX-License-Identifier: MIT
// chm_check.h: the sizes and places a compiled help file states, checked before chmlib is given the file.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace rubicel {

// chmlib takes the sizes it allocates and the places it reads from the file
// itself: a directory chunk of 4 GB, a page number that loops back, a block
// table that runs past a buffer. A file is handed to it only when every such
// value it will act on is within the file and of a size chmlib can live with.
struct ChmCheck {
    std::string problem;  // why the file may not be opened: "its directory chunks are said to be ... bytes"
    // How far into the compressed section objects may be read: the blocks the
    // block table describes and checks (0 when the file has no compressed section
    // chmlib would read).
    std::uint64_t compressedBytes = 0;
};

// The most a help file may take; it is read whole for the check.
inline constexpr std::uint64_t kChmFileLimit = 64u << 20;

// Checks the bytes of a whole help file.
ChmCheck checkChmBytes(std::span<const unsigned char> file);

}  // namespace rubicel
