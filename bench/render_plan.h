// SPDX-License-Identifier: MIT
// render_plan.h: the rows and samples a map reads, and a floor loop that does only that work.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "colour/colour_table.h"
#include "common/raster.h"
#include "maps/tile_file.h"
#include "windows/program.h"

namespace rubicel::bench {

// The maps timed: a box (west, north, east, south) drawn as an area, or a whole
// tile (tileEntry >= 0), at a step (0: the automatic step of the box).
struct MapCase {
    const char* name;
    std::int16_t a, b, c, d;
    std::int16_t areaclass;
    int tileEntry;
    std::int16_t step;
};

inline const std::array<MapCase, 5> kMapCases = {{
    {"planet_step24", -180, 90, 180, -90, kEntirePlanet, -1, 24},
    {"northwest_step13", 0, 0, 0, 0, kSingleTile, 3, 13},
    {"northwest_step3", 0, 0, 0, 0, kSingleTile, 3, 3},
    {"northwest_step1", 0, 0, 0, 0, kSingleTile, 3, 1},
    {"valles_marineris_auto", -120, 5, -20, -25, kAreaMap, -1, 0},
}};

// One record to read and the samples to take from it.
struct RowRead {
    int entry;   // position in the tile list
    int record;  // 1-based
    int first, step, count;
    int x, y;    // where its first pixel goes
};

struct Plan {
    int width = 0, height = 0;  // pixels
    std::vector<RowRead> rows;
};

inline int runCount(int first, int limit, int step) { return first < limit ? (limit - first + step - 1) / step : 1; }

// The reads of a map, worked out as the renderers do them.
inline Plan makePlan(const MapCase& m, std::int16_t step) {
    Plan plan;
    const float s = 15.0f / float(step);
    if (m.tileEntry >= 0) {
        plan.width = int(std::nearbyintf(float(kLastColumn) * s)) / 15;
        plan.height = int(std::nearbyintf(float(kTileRows) * s)) / 15;
        int y = 0;
        for (int r = 1; r < kTileRows; r += step, ++y)
            plan.rows.push_back({m.tileEntry, r, 0, step, runCount(0, kLastColumn, step), 0, y});
        return plan;
    }
    MapState state;
    const int t = FindTile(state, m.a, m.b);
    static constexpr int kEntries[4][4] = {{0, 1, -1, -1}, {1, 0, -1, -1}, {2, 3, 0, 1}, {3, 2, 1, 0}};
    const int R0 = rowPosition(state, m.b);
    int R1 = rowPosition(state, m.d);
    const int C0 = columnPosition(state, m.a), C1 = columnPosition(state, m.c);
    const int H = int(std::nearbyintf(float(R1 - R0) * s));
    const int W = m.areaclass == kEntirePlanet ? 2 * H : int(std::nearbyintf(float(C1 - C0) * s));
    plan.width = W / 15;
    plan.height = H / 15;
    int west = kEntries[t][0], east = kEntries[t][1];
    bool switched = false;
    int sy = R0 + 1, y = 0;
    do {
        const int westCount = runCount(C0, std::min(kLastColumn, C1), step);
        plan.rows.push_back({west, sy, C0, step, westCount, 0, y});
        if (C1 > kLastColumn) plan.rows.push_back({east, sy, 0, step, runCount(0, C1 - kLastColumn, step), westCount, y});
        sy += step;
        ++y;
        if (sy > kTileRows && !switched && kEntries[t][2] >= 0) {
            west = kEntries[t][2];
            east = kEntries[t][3];
            sy = 1;
            R1 -= kTileRows;
            switched = true;
        }
    } while (sy < R1);
    return plan;
}

// The least a rendering must do: read each record once into one buffer and look
// each sample up in the colour table, storing the pixels of the picture.
class FloorLoop {
public:
    FloorLoop(const std::string& folder, const std::vector<std::string>& names) {
        for (std::size_t i = 0; i < names.size() && i < fds_.size(); ++i) {
            fds_[i] = ::open((folder + names[i]).c_str(), O_RDONLY | O_CLOEXEC);
            if (fds_[i] < 0) {
                std::perror((folder + names[i]).c_str());
                std::exit(1);
            }
        }
    }
    ~FloorLoop() {
        for (int fd : fds_)
            if (fd >= 0) ::close(fd);
    }

    void run(const Plan& plan, const ColourTable& table, Raster& image) {
        for (const RowRead& r : plan.rows) {
            if (::pread(fds_[std::size_t(r.entry)], row_.data(), kRecordBytes, off_t(r.record - 1) * kRecordBytes) !=
                kRecordBytes)
                std::abort();
            if (r.y >= image.height()) continue;
            std::uint32_t* out = image.row(r.y) + r.x;
            const int n = std::min(r.count, image.width() - r.x);
            const std::int16_t* in = row_.data() + r.first;
            for (int i = 0; i < n; ++i)
                out[i] = table[std::int16_t(__builtin_bswap16(std::uint16_t(in[std::ptrdiff_t(i) * r.step])))];
        }
    }

private:
    std::array<int, 4> fds_{-1, -1, -1, -1};
    RowBuffer row_{};
};

}  // namespace rubicel::bench
