// SPDX-License-Identifier: MIT
// tile_file.h: the MEGDR064 tile files: layout, decoding, finding the tile of a point, reading records.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/unique_fd.h"

namespace rubicel {

struct MapState;

inline constexpr int kTileRows = 5760;        // records per tile, numbered from 1
inline constexpr int kTileColumns = 11520;    // samples per record
inline constexpr int kLastColumn = 11519;     // the column scale of point-to-column
inline constexpr int kRecordBytes = 23040;
inline constexpr const char* kTilePrefix = "megt";

// One tile row as stored: big-endian samples, not yet decoded.
using RowBuffer = std::array<std::int16_t, kTileColumns>;

// Turns a sample as read into the row buffer (first stored byte in the low half)
// into its elevation; writes it back into v and returns it.
std::int16_t byteswap(std::int16_t& v);

// Returns the tile index (0 SE, 1 SW, 2 NE, 3 NW) of the point, leaving that tile's
// bounds in state; a point outside all tiles gives 0 with the bounds of tile 3.
std::int16_t FindTile(MapState& state, std::int16_t x, std::int16_t Y);

// Row position of a latitude and column of a longitude within the tile bounds in
// state, rounded half to even. The record to read for a row position is row + 1.
int rowPosition(const MapState& state, double latitude);
int columnPosition(const MapState& state, double longitude);

// The ordinary files of folder whose names begin with "megt" (any case), sorted
// ascending by name compared without regard to case. Nothing when the folder
// cannot be listed.
[[nodiscard]] std::optional<std::vector<std::string>> listTiles(const std::string& folder);

// One open tile file read by record number. Errors are returned as a description
// naming the file (and record); nothing is ever created or written.
class TileFile {
public:
    TileFile() = default;
    ~TileFile() { unmap(); }
    TileFile(const TileFile&) = delete;
    TileFile& operator=(const TileFile&) = delete;

    [[nodiscard]] std::optional<std::string> open(const std::string& path);
    // Reads record (1-based) into row, as stored. A record wholly or partly past the
    // end of the file is an input error.
    [[nodiscard]] std::optional<std::string> readRecord(int record, RowBuffer& row);
    // Reads count samples of record from column first on into samples, as stored;
    // the span must lie within the record.
    [[nodiscard]] std::optional<std::string> readSamples(int record, int first, int count, std::int16_t* samples);
    // Maps records first..last into memory, read-only, and sets rows to the first
    // one's samples, as stored, the others following; the kernel reads each page
    // once, when first touched, and nothing is copied. The records stay mapped
    // until close, open or the next mapRecords. Records past the end of the file
    // are an input error, as in readRecord.
    [[nodiscard]] std::optional<std::string> mapRecords(int first, int last, const std::int16_t*& rows);
    // Tells the kernel that records first, first + step, ... (count of them) will
    // be read soon; reads nothing itself. Steps up to kSpanStep ask in one request
    // for the whole span, which reads at most kSpanStep records for each one
    // drawn; larger steps ask record by record, as the span would read many
    // times what is drawn.
    // After a fault while reading the mapped records (see readMapped): the
    // error that explains it, naming the file and the first record it no
    // longer holds; nothing when the records are all still there.
    [[nodiscard]] std::optional<std::string> mappedFault() const;
    void willNeed(int first, int count, int step) const;
    static constexpr int kSpanStep = 4;
    void close();
    bool isOpen() const { return bool(fd_); }
    const std::string& path() const { return path_; }

private:
    void unmap();

    UniqueFd fd_;
    std::string path_;
    void* mapped_ = nullptr;  // what mapRecords mapped, mappedBytes_ long
    std::size_t mappedBytes_ = 0;
    int mappedFirst_ = 0, mappedLast_ = 0;  // the records mapRecords mapped
};

}  // namespace rubicel
