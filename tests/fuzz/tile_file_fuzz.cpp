// SPDX-License-Identifier: MIT
// tile_file_fuzz.cpp: tile files of any size, short, odd-sized or a little past a whole
// tile, read record by record: every read either gives the stored bytes or an input error.
#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "maps/tile_file.h"

namespace rubicel {
namespace {

constexpr long long kWholeTileBytes = 1LL * kTileRows * kRecordBytes;
// Bytes written at the start of the file; the rest of a larger file is a hole.
constexpr long long kWrittenBytes = 3LL * kRecordBytes;

struct TileImage {
    long long size = 0;
    std::string pattern;  // byte i of the written part is pattern[i % pattern.size()]

    unsigned char byteAt(long long offset) const {
        if (offset >= kWrittenBytes || pattern.empty()) return 0;
        return static_cast<unsigned char>(pattern[std::size_t(offset % (long long)pattern.size())]);
    }
};

void writeTile(const std::string& path, const TileImage& tile) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    fuzz::expect(fd >= 0, "the scratch tile opens");
    fuzz::expect(::ftruncate(fd, off_t(tile.size)) == 0, "the scratch tile takes its size");
    const long long written = std::min(tile.size, kWrittenBytes);
    std::vector<unsigned char> bytes(std::size_t(written > 0 ? written : 0));
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = tile.byteAt((long long)i);
    fuzz::expect(::pwrite(fd, bytes.data(), bytes.size(), 0) == ssize_t(bytes.size()), "the scratch tile is written");
    ::close(fd);
}

void checkRecord(TileFile& file, const TileImage& tile, int record) {
    static RowBuffer row;
    row.fill(0x5A5A);
    const std::optional<std::string> error = file.readRecord(record, row);
    const bool whole = record >= 1 && (long long)record * kRecordBytes <= tile.size;
    if (!whole) {
        fuzz::expect(error.has_value(), "a record not wholly in the file is an input error");
        fuzz::expect(error->find(file.path()) != std::string::npos, "the error names the file");
        return;
    }
    fuzz::expect(!error.has_value(), "a record wholly in the file is read");
    const auto* bytes = reinterpret_cast<const unsigned char*>(row.data());
    const long long start = (long long)(record - 1) * kRecordBytes;
    for (int i = 0; i < kRecordBytes; ++i)
        if (bytes[i] != tile.byteAt(start + i)) fuzz::expect(false, "a record holds the stored bytes");
}

}  // namespace
}  // namespace rubicel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rubicel;
    FuzzedDataProvider in(data, size);
    TileImage tile;
    if (in.ConsumeBool())
        tile.size = kWholeTileBytes + in.ConsumeIntegralInRange<long long>(-2 * kRecordBytes, 2 * kRecordBytes);
    else
        tile.size = in.ConsumeIntegralInRange<long long>(0, 4 * kRecordBytes + 1);
    std::vector<int> records;
    for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n)
        records.push_back(in.ConsumeIntegralInRange(-2, kTileRows + 2));
    tile.pattern = in.ConsumeRemainingBytesAsString();

    static const std::string path = (fuzz::scratchFolder() / "megt00n000gb.img").string();
    writeTile(path, tile);

    TileFile file;
    fuzz::expect(!file.open(path).has_value(), "an ordinary file opens");
    // The records around every edge the size can have, then the input's own.
    const int last = int(tile.size / kRecordBytes);
    for (int record : {1, 2, 3, 4, 5, last - 1, last, last + 1, kTileRows, kTileRows + 1, 0, -1, INT_MAX})
        checkRecord(file, tile, record);
    for (int record : records) checkRecord(file, tile, record);
    file.close();
    return 0;
}
