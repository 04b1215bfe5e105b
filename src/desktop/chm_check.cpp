// SPDX-License-Identifier: MIT
// chm_check.cpp: the sizes and places a compiled help file states, checked before chmlib is given the file.
//
// Only the values chmlib 0.40 allocates by, divides by or follows are checked:
// the header (ITSF) and directory header (ITSP), the entries of the directory
// chunks (PMGL leaves, PMGI index), and the two tables of the compressed
// section (LZX control data and reset table).
#include "desktop/chm_check.h"

#include <strings.h>

#include <cstring>
#include <optional>
#include <string_view>

namespace rubicel {

namespace {

constexpr std::uint64_t kItsfLength = 0x60;  // chm_open reads this much whatever the version
constexpr std::uint64_t kItspLength = 0x54;  // the only directory header it takes
constexpr std::uint64_t kLeafHeader = 0x14, kIndexHeader = 0x08;
constexpr std::uint64_t kNameLimit = 512;  // chmlib's buffer for a name
constexpr std::uint64_t kResetTableLength = 0x28;
constexpr std::uint64_t kControlDataMinimum = 0x18, kControlDataLimit = 256;
constexpr std::uint64_t kBlockSlack = 6144;  // chmlib reads a compressed block into its length and this

constexpr const char* kResetTableName =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
constexpr const char* kContentName = "::DataSpace/Storage/MSCompressed/Content";
constexpr const char* kControlDataName = "::DataSpace/Storage/MSCompressed/ControlData";

using Bytes = std::span<const unsigned char>;

bool holds(Bytes b, std::uint64_t at, std::uint64_t n) { return at <= b.size() && n <= b.size() - at; }

// The little-endian number of n bytes at at, which the caller knows the file holds.
std::uint64_t le(Bytes b, std::uint64_t at, int n) {
    std::uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + i];
    return v;
}

bool marked(Bytes b, std::uint64_t at, std::string_view mark) {
    return holds(b, at, mark.size()) && std::memcmp(b.data() + at, mark.data(), mark.size()) == 0;
}

// chmlib's number in a directory entry: 7 bits a byte, high bit "more";
// nothing when it runs past the end of the entries.
std::optional<std::uint64_t> number(Bytes entries, std::size_t& at) {
    std::uint64_t v = 0;
    while (at < entries.size()) {
        const unsigned char byte = entries[at++];
        v = (v << 7) + (byte & 0x7F);
        if (byte < 0x80) return v;
    }
    return std::nullopt;
}

struct Unit {
    std::uint64_t space = 0, start = 0, length = 0;
    int found = 0;  // how many leaf entries bear the name
};

// The objects that tell chm_open how the compressed section is decompressed.
struct CompressionUnits {
    Unit resetTable, content, controlData;
};

// Reads every entry of every chunk as chm_resolve_object would, and fails on an
// entry that runs past the used part of its chunk, an index entry that points
// out of the directory or round in a circle (compilers write an index chunk
// after the chunks it points to, so every index entry points to a lower chunk),
// or an object in a section chmlib does not know.
bool readDirectory(Bytes chunks, std::uint64_t chunkLength, std::uint64_t count, CompressionUnits& units) {
    for (std::uint64_t page = 0; page < count; ++page) {
        const Bytes chunk = chunks.subspan(page * chunkLength, chunkLength);
        const bool leaf = marked(chunk, 0, "PMGL");
        if (!leaf && !marked(chunk, 0, "PMGI")) continue;  // chmlib gives up on such a chunk
        const std::uint64_t header = leaf ? kLeafHeader : kIndexHeader;
        const std::uint64_t free = le(chunk, 4, 4);
        if (free > chunkLength - header) return false;
        const Bytes entries = chunk.subspan(header, chunkLength - header - free);
        for (std::size_t at = 0; at < entries.size();) {
            const auto length = number(entries, at);
            if (!length || *length > kNameLimit || *length > entries.size() - at) return false;
            // chmlib compares a name as a C string, ignoring case.
            const std::string name(reinterpret_cast<const char*>(entries.data() + at), std::size_t(*length));
            at += std::size_t(*length);
            if (!leaf) {
                const auto next = number(entries, at);
                if (!next || *next >= page) return false;
                continue;
            }
            const auto space = number(entries, at), start = number(entries, at), size = number(entries, at);
            if (!size || *space > 1) return false;
            for (auto [unit, wanted] : {std::pair{&units.resetTable, kResetTableName}, {&units.content, kContentName},
                                        {&units.controlData, kControlDataName}})
                if (strcasecmp(name.c_str(), wanted) == 0) *unit = {*space, *start, *size, unit->found + 1};
        }
    }
    return true;
}

// The compressed section as chm_open sets it up from the control data and the
// reset table, and as it decompresses a block: returns how many bytes of the
// section the block table describes, or nothing when a value would make chmlib
// divide by zero, allocate by a size of the file's choosing or read a block
// into a buffer too small for it.
std::optional<std::uint64_t> compressedSection(Bytes file, std::uint64_t dataOffset, const CompressionUnits& units) {
    const Unit &table = units.resetTable, &control = units.controlData;
    // Of two objects of a name, the one chmlib finds is not known here.
    if (table.found > 1 || units.content.found > 1 || control.found > 1) return std::nullopt;
    // Without all three, or with any of them compressed, chmlib reads nothing compressed.
    if (!table.found || !units.content.found || !control.found ||
        (table.space | units.content.space | control.space) != 0)
        return 0;
    // chmlib reads an uncompressed object at the data offset and its start, adding as it does.
    const std::uint64_t tableAt = dataOffset + table.start, controlAt = dataOffset + control.start;
    if (table.length < kResetTableLength || !holds(file, tableAt, kResetTableLength) || le(file, tableAt, 4) != 2)
        return 0;                                        // chmlib leaves compression off
    if (control.length > kControlDataLimit) return 0;  // chm_open refuses the file
    // From here chm_open divides by the control data's window size even when it
    // could not read it.
    if (control.length < kControlDataMinimum || !holds(file, controlAt, control.length) ||
        !marked(file, controlAt + 4, "LZXC"))
        return std::nullopt;
    const bool inWindows = le(file, controlAt + 8, 4) == 2;
    const auto resetInterval = std::uint32_t(le(file, controlAt + 0x0C, 4) * (inWindows ? 0x8000 : 1));
    const auto windowSize = std::uint32_t(le(file, controlAt + 0x10, 4) * (inWindows ? 0x8000 : 1));
    const auto windowsPerReset = std::uint32_t(le(file, controlAt + 0x14, 4));
    // The decompressor takes windows of 2^15 to 2^21 bytes; chmlib resets it
    // every resetInterval / (windowSize / 2) * windowsPerReset blocks.
    if (windowSize < (1u << 15) || windowSize > (1u << 21) || (windowSize & (windowSize - 1)) != 0 ||
        resetInterval == 0 || resetInterval % (windowSize / 2) != 0 ||
        std::uint32_t(resetInterval / (windowSize / 2) * windowsPerReset) == 0)
        return std::nullopt;

    // A block is decompressed whole into a buffer of its length, out of the window.
    const std::uint64_t blockCount = le(file, tableAt + 4, 4), tableOffset = le(file, tableAt + 12, 4);
    const std::uint64_t compressedLength = le(file, tableAt + 0x18, 8), blockLength = le(file, tableAt + 0x20, 8);
    if (blockLength == 0 || blockLength > windowSize) return std::nullopt;
    // A block's compressed bytes run from its entry to the next, the last one's
    // to the section's compressed length.
    for (std::uint64_t block = 0; block < blockCount; ++block) {
        const std::uint64_t at = tableAt + tableOffset + 8 * block;
        if (!holds(file, at, block + 1 < blockCount ? 16 : 8)) return std::nullopt;
        const std::uint64_t start = le(file, at, 8);
        const std::uint64_t end = block + 1 < blockCount ? le(file, at + 8, 8) : compressedLength;
        if (end < start || end - start > blockLength + kBlockSlack) return std::nullopt;
    }
    return blockCount * blockLength;
}

}  // namespace

ChmCheck checkChmBytes(Bytes file) {
    ChmCheck check;
    const std::uint64_t version = holds(file, 0, kItsfLength) ? le(file, 4, 4) : 0;
    if (!marked(file, 0, "ITSF") || (version != 2 && version != 3)) {
        check.problem = "it is not a compiled help file";
        return check;
    }
    const std::uint64_t directoryAt = le(file, 0x48, 8), directoryLength = le(file, 0x50, 8);
    const std::uint64_t dataOffset = version == 3 ? le(file, 0x58, 8) : directoryAt + directoryLength;
    if (!holds(file, directoryAt, directoryLength) || directoryLength < kItspLength ||
        !marked(file, directoryAt, "ITSP")) {
        check.problem = "its directory runs past the end of the file";
        return check;
    }
    // chmlib allocates a chunk's length for every lookup, and reads chunk n at
    // n chunk lengths past the directory header.
    const std::uint64_t chunkLength = le(file, directoryAt + 0x10, 4);
    if (chunkLength < kLeafHeader || chunkLength > directoryLength - kItspLength) {
        check.problem = "its directory chunks are said to be " + std::to_string(chunkLength) + " bytes";
        return check;
    }
    const std::uint64_t count = (directoryLength - kItspLength) / chunkLength;
    // A lookup starts at the index's root, or the first leaf when there is no index.
    const auto root = std::int32_t(le(file, directoryAt + 0x1C, 4));
    const std::int64_t start = root < 0 ? std::int32_t(le(file, directoryAt + 0x20, 4)) : root;
    CompressionUnits units;
    if (start < 0 || std::uint64_t(start) >= count ||
        !readDirectory(file.subspan(directoryAt + kItspLength, count * chunkLength), chunkLength, count, units)) {
        check.problem = "its directory is damaged";
        return check;
    }
    const auto compressed = compressedSection(file, dataOffset, units);
    if (!compressed) {
        check.problem = "its compression tables are damaged";
        return check;
    }
    check.compressedBytes = *compressed;
    return check;
}

}  // namespace rubicel
