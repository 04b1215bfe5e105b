// SPDX-License-Identifier: MIT
// chm_check.cpp: the sizes and places a compiled help file states, checked before chmlib is given the file.
//
// The checks follow what chm_open, chm_resolve_object and chm_retrieve_object of
// chmlib 0.40 do with each value: the header (ITSF), the directory header
// (ITSP) and its chunks (PMGL leaves, PMGI index), the objects the LZX section
// is described by (reset table, control data), and the block table.
#include "desktop/chm_check.h"

#include <strings.h>

#include <optional>
#include <string_view>
#include <vector>

namespace rubicel {

namespace {

constexpr std::size_t kItsfLength = 0x60;     // chm_open reads this much whatever the version
constexpr std::size_t kItspLength = 0x54;     // and it wants exactly this directory header
constexpr std::size_t kLeafHeader = 0x14;     // PMGL
constexpr std::size_t kIndexHeader = 0x08;    // PMGI
constexpr std::size_t kResetTableHeader = 0x28;
constexpr std::size_t kControlDataMinimum = 0x18;
constexpr std::size_t kControlDataLimit = 256;  // chm_open's buffer
constexpr std::uint64_t kPathLimit = 512;       // CHM_MAX_PATHLEN
constexpr std::uint64_t kChunkLimit = 1u << 20;  // compilers write 4 KiB (0x1000)
constexpr std::uint64_t kBlockSlack = 6144;      // chmlib's compressed buffer: a block and this

constexpr std::string_view kResetTableName =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable";
constexpr std::string_view kContentName = "::DataSpace/Storage/MSCompressed/Content";
constexpr std::string_view kControlDataName = "::DataSpace/Storage/MSCompressed/ControlData";

// Little-endian numbers at a place in the file, when the file holds them.
class Bytes {
public:
    explicit Bytes(std::span<const unsigned char> b) : b_(b) {}
    std::uint64_t size() const { return b_.size(); }
    bool holds(std::uint64_t at, std::uint64_t n) const { return at <= b_.size() && n <= b_.size() - at; }
    std::uint64_t le(std::uint64_t at, int n) const {
        std::uint64_t v = 0;
        for (int i = n - 1; i >= 0; --i) v = v << 8 | b_[at + i];
        return v;
    }
    std::span<const unsigned char> from(std::uint64_t at, std::uint64_t n) const { return b_.subspan(at, n); }

private:
    std::span<const unsigned char> b_;
};

// Reads the entries of a chunk as chmlib does, but never past the end of its
// used part: variable-length numbers (7 bits a byte, high bit "more") and names.
class EntryReader {
public:
    EntryReader(std::span<const unsigned char> used) : used_(used) {}
    bool more() const { return at_ < used_.size(); }
    std::optional<std::uint64_t> number() {
        std::uint64_t v = 0;
        while (at_ < used_.size()) {
            const unsigned char byte = used_[at_++];
            v = (v << 7) + (byte & 0x7F);
            if (byte < 0x80) return v;
        }
        return std::nullopt;
    }
    std::optional<std::string> name() {
        const auto length = number();
        if (!length || *length > kPathLimit || *length > used_.size() - at_) return std::nullopt;
        std::string text(reinterpret_cast<const char*>(used_.data() + at_), static_cast<std::size_t>(*length));
        at_ += *length;
        // chmlib compares the name as a C string.
        return text.substr(0, text.find('\0'));
    }

private:
    std::span<const unsigned char> used_;
    std::size_t at_ = 0;
};

struct Unit {
    std::uint64_t space, start, length;
};

struct Chunk {
    enum Kind { Leaf, Index, Other } kind = Other;
    std::span<const unsigned char> used;  // the entries, after the chunk's header
    std::vector<std::int64_t> pages;      // of an index chunk, in order
};

class Directory {
public:
    std::string problem;

    Directory(const Bytes& file, std::uint64_t first, std::uint64_t count, std::uint64_t chunkLength,
              std::int64_t root)
        : root_(root) {
        chunks_.resize(static_cast<std::size_t>(count));
        for (std::uint64_t i = 0; i < count && problem.empty(); ++i) readChunk(file, first + i * chunkLength, chunkLength, chunks_[i]);
        if (problem.empty()) findLoops();
    }

    // The unit chm_resolve_object finds for path, or nothing: from the root down
    // the index chunks to one leaf, which is searched in order.
    std::optional<Unit> resolve(std::string_view path) const {
        const std::string wanted(path);
        std::int64_t page = root_;
        while (page != -1) {
            const Chunk& chunk = chunks_[static_cast<std::size_t>(page)];
            if (chunk.kind == Chunk::Leaf) return findInLeaf(chunk, wanted);
            if (chunk.kind != Chunk::Index) return std::nullopt;
            page = nextPage(chunk, wanted);
        }
        return std::nullopt;
    }

private:
    void readChunk(const Bytes& file, std::uint64_t at, std::uint64_t length, Chunk& chunk) {
        const auto bytes = file.from(at, length);
        const std::string_view mark(reinterpret_cast<const char*>(bytes.data()), 4);
        const std::size_t header = mark == "PMGL" ? kLeafHeader : mark == "PMGI" ? kIndexHeader : 0;
        if (header == 0) return;  // chmlib gives up on such a chunk
        const std::uint64_t free = Bytes(bytes).le(4, 4);
        if (free > length - header) {
            problem = "a directory chunk says more of it is free than it holds";
            return;
        }
        chunk.used = bytes.subspan(header, static_cast<std::size_t>(length - header - free));
        EntryReader entries(chunk.used);
        if (mark == "PMGL") {
            chunk.kind = Chunk::Leaf;
            while (entries.more())
                if (!entries.name() || !entries.number() || !entries.number() || !entries.number()) {
                    problem = "an entry of the directory runs past its chunk";
                    return;
                }
        } else {
            chunk.kind = Chunk::Index;
            while (entries.more()) {
                const auto name = entries.name();
                const auto page = name ? entries.number() : std::nullopt;
                if (!page) {
                    problem = "an entry of the directory index runs past its chunk";
                    return;
                }
                if (*page >= chunks_.size()) {
                    problem = "the directory index points past the directory";
                    return;
                }
                chunk.pages.push_back(static_cast<std::int64_t>(*page));
            }
        }
    }

    // An index chunk that leads back to itself would have chmlib search forever.
    void findLoops() {
        enum { Unseen, Open, Done };
        std::vector<int> state(chunks_.size(), Unseen);
        std::vector<std::pair<std::size_t, std::size_t>> path;  // chunk, next page to follow
        for (std::size_t start = 0; start < chunks_.size() && problem.empty(); ++start) {
            if (state[start] != Unseen) continue;
            state[start] = Open;
            path.push_back({start, 0});
            while (!path.empty()) {
                auto& [chunk, next] = path.back();
                if (next == chunks_[chunk].pages.size()) {
                    state[chunk] = Done;
                    path.pop_back();
                    continue;
                }
                const auto page = static_cast<std::size_t>(chunks_[chunk].pages[next++]);
                if (state[page] == Open) {
                    problem = "the directory index leads in a circle";
                    return;
                }
                if (state[page] == Unseen) {
                    state[page] = Open;
                    path.push_back({page, 0});
                }
            }
        }
    }

    static std::optional<Unit> findInLeaf(const Chunk& chunk, const std::string& wanted) {
        EntryReader entries(chunk.used);
        while (entries.more()) {
            const auto name = entries.name();
            const auto space = entries.number(), start = entries.number(), length = entries.number();
            if (strcasecmp(name->c_str(), wanted.c_str()) == 0) return Unit{*space, *start, *length};
        }
        return std::nullopt;
    }

    static std::int64_t nextPage(const Chunk& chunk, const std::string& wanted) {
        EntryReader entries(chunk.used);
        std::int64_t page = -1;
        for (std::size_t i = 0; entries.more(); ++i) {
            const auto name = entries.name();
            if (strcasecmp(name->c_str(), wanted.c_str()) > 0) return page;
            entries.number();
            page = chunk.pages[i];
        }
        return page;
    }

    std::int64_t root_;
    std::vector<Chunk> chunks_;
};

std::string bytesText(std::uint64_t n) { return std::to_string(n) + " bytes"; }

// The LZX section as chm_open takes it: the reset table and the control data.
// Fills check.compressedBytes when the section is one chmlib can decompress.
void checkCompressedSection(const Bytes& file, const Directory& directory, std::uint64_t dataOffset, ChmCheck& check) {
    const auto table = directory.resolve(kResetTableName);
    const auto content = directory.resolve(kContentName);
    const auto control = directory.resolve(kControlDataName);
    // Without these, uncompressed, chmlib reads nothing compressed.
    if (!table || !content || !control || table->space == 1 || content->space == 1 || control->space == 1) return;
    // Other spaces chmlib reads as compressed before it has set up decompression.
    if (table->space != 0 || content->space != 0 || control->space != 0) {
        check.problem = "it says its compression tables are stored in an unknown way";
        return;
    }
    // Where chm_retrieve_object reads an uncompressed object's first n bytes,
    // adding as it does (a sum past 2^64 wraps round), when the file holds them.
    auto place = [&](const Unit& u, std::uint64_t n) -> std::optional<std::uint64_t> {
        const std::uint64_t at = dataOffset + u.start;
        return file.holds(at, n) ? std::optional(at) : std::nullopt;
    };
    const auto tableAt = place(*table, kResetTableHeader);
    if (table->length < kResetTableHeader || !tableAt || file.le(*tableAt, 4) != 2) return;  // chmlib leaves it
    if (control->length > kControlDataLimit) return;  // chm_open refuses the file
    const auto controlAt = place(*control, control->length);
    // From here chm_open works out the block count from the control data even
    // when it could not read it, dividing by its window size.
    if (control->length < kControlDataMinimum || !controlAt ||
        std::string_view(reinterpret_cast<const char*>(file.from(*controlAt + 4, 4).data()), 4) != "LZXC") {
        check.problem = "its compression settings are damaged";
        return;
    }
    std::uint32_t resetInterval = std::uint32_t(file.le(*controlAt + 0x0C, 4));
    std::uint32_t windowSize = std::uint32_t(file.le(*controlAt + 0x10, 4));
    const std::uint32_t windowsPerReset = std::uint32_t(file.le(*controlAt + 0x14, 4));
    if (file.le(*controlAt + 8, 4) == 2) {
        resetInterval *= 0x8000;
        windowSize *= 0x8000;
    }
    // The decompressor takes windows of 2^15 to 2^21 bytes, and chmlib resets it
    // every resetInterval / (windowSize / 2) * windowsPerReset blocks.
    const bool windowKnown = windowSize >= (1u << 15) && windowSize <= (1u << 21) && (windowSize & (windowSize - 1)) == 0;
    if (!windowKnown || resetInterval == 0 || resetInterval % (windowSize / 2) != 0 ||
        resetInterval / (windowSize / 2) * windowsPerReset == 0) {
        check.problem = "its compression settings are damaged";
        return;
    }

    const std::uint64_t blockCount = file.le(*tableAt + 4, 4);
    const std::uint64_t tableOffset = file.le(*tableAt + 12, 4);
    const std::uint64_t compressedLength = file.le(*tableAt + 0x18, 8);
    const std::uint64_t blockLength = file.le(*tableAt + 0x20, 8);
    // A block is decompressed whole into a buffer of blockLength bytes, out of a
    // window that must hold it.
    if (blockLength == 0 || blockLength > windowSize) {
        check.problem = "its compressed blocks are said to be " + bytesText(blockLength);
        return;
    }
    // Each block's compressed bytes: from its entry to the next, the last to the
    // section's compressed length; chmlib reads them into a buffer of a block and 6144.
    std::uint64_t previous = 0;
    for (std::uint64_t block = 0; block < blockCount; ++block) {
        const std::uint64_t at = *tableAt + tableOffset + 8 * block;
        if (!file.holds(at, 8)) {
            check.problem = "its table of compressed blocks runs past the end of the file";
            return;
        }
        const std::uint64_t start = file.le(at, 8);
        if ((block > 0 && (start < previous || start - previous > blockLength + kBlockSlack)) ||
            (block + 1 == blockCount && (compressedLength < start || compressedLength - start > blockLength + kBlockSlack))) {
            check.problem = "its table of compressed blocks is damaged";
            return;
        }
        previous = start;
    }
    check.compressedBytes = blockCount * blockLength;
}

}  // namespace

ChmCheck checkChmBytes(std::span<const unsigned char> bytes) {
    ChmCheck check;
    const Bytes file(bytes);
    if (file.size() > kChmFileLimit) {
        check.problem = "it is larger than " + std::to_string(kChmFileLimit >> 20) + " MB";
        return check;
    }
    auto mark = [&](std::uint64_t at, std::string_view text) {
        return file.holds(at, text.size()) &&
               std::string_view(reinterpret_cast<const char*>(file.from(at, text.size()).data()), text.size()) == text;
    };
    const std::uint64_t version = file.holds(0, kItsfLength) ? file.le(4, 4) : 0;
    if (!mark(0, "ITSF") || !file.holds(0, kItsfLength) || (version != 2 && version != 3)) {
        check.problem = "it is not a compiled help file";
        return check;
    }
    const std::uint64_t directoryAt = file.le(0x48, 8), directoryLength = file.le(0x50, 8);
    const std::uint64_t dataOffset = version == 3 ? file.le(0x58, 8) : directoryAt + directoryLength;
    if (!mark(directoryAt, "ITSP") || !file.holds(directoryAt, kItspLength) || file.le(directoryAt + 4, 4) != 1 ||
        file.le(directoryAt + 8, 4) != kItspLength) {
        check.problem = "its directory is not where its header says";
        return check;
    }
    // chmlib allocates a chunk's length for every lookup and reads chunk n at
    // n chunk lengths past the directory header.
    const std::uint64_t chunkLength = file.le(directoryAt + 0x10, 4);
    if (chunkLength < kLeafHeader || chunkLength > kChunkLimit) {
        check.problem = "its directory chunks are said to be " + bytesText(chunkLength);
        return check;
    }
    const std::uint64_t first = directoryAt + kItspLength;
    if (directoryLength < kItspLength || !file.holds(directoryAt, directoryLength) ||
        (directoryLength - kItspLength) / chunkLength == 0) {
        check.problem = "its directory runs past the end of the file";
        return check;
    }
    const std::uint64_t count = (directoryLength - kItspLength) / chunkLength;
    const auto root = std::int64_t(std::int32_t(file.le(directoryAt + 0x1C, 4)));
    const auto head = std::int64_t(std::int32_t(file.le(directoryAt + 0x20, 4)));
    const std::int64_t start = root < 0 ? head : root;
    if (start < 0 || std::uint64_t(start) >= count) {
        check.problem = "its directory starts outside itself";
        return check;
    }
    const Directory directory(file, first, count, chunkLength, start);
    if (!directory.problem.empty()) {
        check.problem = directory.problem;
        return check;
    }
    checkCompressedSection(file, directory, dataOffset, check);
    return check;
}

}  // namespace rubicel
