// SPDX-License-Identifier: MIT
// area_renderer.cpp: mapfromtile, the map of a latitude/longitude box, and the map-menu switch.
#include "maps/area_renderer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "common/number_text.h"
#include "common/rounding.h"
#include "maps/drawn_map.h"
#include "maps/map_context.h"
#include "maps/map_view.h"
#include "maps/relief_shading.h"
#include "maps/render_support.h"
#include "maps/resolution.h"
#include "maps/tile_file.h"

namespace rubicel {

namespace {


// Entries of the name-sorted tile list for tile index t of the north-west
// corner: A the corner's tile, B east of A, C south of A, D east of C. The
// southern tiles have nothing below them (-1).
struct TileEntries {
    int A, B, C, D;
};
constexpr std::array<TileEntries, 4> kTileEntries = {{
    {0, 1, -1, -1},  // south-east
    {1, 0, -1, -1},  // south-west
    {2, 3, 0, 1},    // north-east
    {3, 2, 1, 0},    // north-west
}};

std::string mappingCaption(std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d) {
    return "Mapping ... long: " + plainText(a) + "° to " + plainText(c) + "°" + " ... lat: " + plainText(b) +
           "° to " + plainText(d) + "°";
}

// The paths of tiles A to D, fixed when the rendering starts: a folder chosen
// while it draws does not change what it reads. A missing entry of the tile
// list gives the bare folder, which fails to open as a whole-tile map does.
struct TilePaths {
    std::string A, B, C, D;
    bool below = false;  // whether C and D are set
    std::int16_t tile = 0;  // the tile index of A
};

TilePaths tilePaths(const MapContext& p, std::int16_t tile) {
    const TileEntries& e = kTileEntries[std::size_t(tile)];
    const auto path = [&p](int entry) {
        const bool listed = entry >= 0 && entry < int(p.File1.size());
        return p.map.datafolder + (listed ? p.File1[std::size_t(entry)] : std::string());
    };
    TilePaths paths{path(e.A), path(e.B), {}, {}, false, tile};
    if (e.C >= 0) {
        paths.C = path(e.C);
        paths.D = path(e.D);
        paths.below = true;
    }
    return paths;
}

// One rendering of the box a, b, c, d; the working values are what the failure
// message reports.
class AreaRendering {
public:
    AreaRendering(MapContext& p, std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d, TilePaths tiles)
        : p_(p), m_(p.map), a_(a), b_(b), c_(c), d_(d), tiles_(std::move(tiles)) {}

    void run() {
        if (const Failure failed = draw()) {
            p_.ui.messageBox(failureText(*failed), "", Icon::None);
            p_.closeFiles();
            p_.ui.setBusyPointer(false);
        }
    }

private:
    // Sizes the picture and draws the rows; returns the failure that ended the rendering, if any.
    Failure draw() {
        const int generation = beginRendering(p_);

        if (m_.resolution == 0) return failure(kDivisionByZero);
        const float s = 15.0f / float(m_.resolution);

        const auto R0 = toInt16(rowPosition(m_, b_));
        const auto R1start = toInt16(rowPosition(m_, d_));
        const auto C0 = toInt16(columnPosition(m_, a_));
        const auto C1 = toInt16(columnPosition(m_, c_));
        if (!R0 || !R1start || !C0 || !C1) return failure(kOverflow);
        R1_ = *R1start;

        const auto rows = difference16(R1_, *R0);
        if (!rows) return failure(kOverflow);
        const auto height = toInt32(float(*rows) * s);
        if (!height) return failure(kOverflow);
        H_ = *height;
        std::int32_t W = 0;
        if (m_.areaclass == kAreaMap) {
            const auto columns = difference16(*C1, *C0);
            if (!columns) return failure(kOverflow);
            const auto width = toInt32(float(*columns) * s);
            if (!width) return failure(kOverflow);
            W = *width;
        } else if (m_.areaclass == kEntirePlanet) {
            W = 2 * H_;
        }
        if (W < 0 || H_ < 0) return failure(kInvalidPropertyValue);
        try {
            sizeMapPicture(p_, W, H_);
        } catch (const std::bad_alloc&) {
            return failure(kOutOfMemory);
        }
        checksize(p_, W, H_);
        const int revision = p_.dmap.revision;
        p_.ui.setBusyPointer(true);

        C0_ = *C0;
        C1_ = *C1;
        twoTiles_ = C1_ > kLastColumn;
        if (Failure f = openTile(0, tiles_.A)) return f;
        if (twoTiles_)
            if (Failure f = openTile(1, tiles_.B)) return f;

        StatusCaption status(plainText(W / kTwipsPerPixel) + "×" + plainText(H_ / kTwipsPerPixel) +
                             " pixel image   -  " + mappingCaption(a_, b_, c_, d_) + " ... ");
        const auto firstRecord = toInt16(*R0 + 1);
        if (!firstRecord) return failure(kOverflow);
        sy_ = *firstRecord;
        y_ = 0;
        Failure failed;
        if (drawRows(p_, generation, H_, status, *this, failed) == RowsEnd::Superseded) return std::nullopt;
        if (failed) return failed;

        // Finished or stopped: the area is recorded and the map menus enabled.
        p_.closeFiles();
        m_.maparea = {a_, b_, c_, d_};
        recordDrawnMap(revision, *R0, C0_, C1_);
        p_.ui.setBusyPointer(false);
        mclear(p_, 1);
        return std::nullopt;
    }

public:
    // The steps of one row, run by drawRows.
    void startRow() { x_ = 0; }
    void stop() {
        p_.closeFiles();
        m_.stopflag = 0;
    }
    int y() const { return y_; }
    double rowSpacing() const { return reliefRowSpacing(m_.resolution); }
    // Record r of a northern tile lies at 90 - (r - 0.5)/64 degrees, of a southern one at -(r - 0.5)/64.
    double columnSpacing() const {
        const double below = (sy_ - 0.5) / 64.0;
        const bool northern = tiles_.tile >= 2 && !switched_;
        return reliefColumnSpacing(rowSpacing(), northern ? 90.0 - below : -below);
    }
    Failure drawRow(ReadAhead& readAhead) {
        const int step = m_.resolution;
        if (step < 1) return failure(kDivisionByZero);
        readAhead.beforeRead();
        if (Failure f = p_.files[0].readRecord(sy_, p_.rowBuffer)) return f;
        readAhead.afterRead();

        // The west part, up to column 11518 of the first tile (column 11519 is
        // never drawn), then the east part from column 0 of its neighbour.
        if (C0_ < 0 || C0_ > kLastColumn) return failure(kSubscriptOutOfRange);
        const int westCount = runLength(C0_, std::min<int>(kLastColumn, C1_), step);
        paintRun(C0_, step, westCount);
        if (twoTiles_) {
            const int last = C1_ - kLastColumn;
            if (Failure f = p_.files[1].readRecord(sy_, p_.rowBuffer)) return f;
            const int eastCount = runLength(0, last, step);
            const int inRange = std::min(eastCount, kLastColumn / step + 1);
            paintRun(0, step, inRange);
            if (inRange < eastCount) return failure(kSubscriptOutOfRange);
        }
        return std::nullopt;
    }
    bool nextRow(Failure& failed) {
        const auto next = toInt16(sy_ + m_.resolution);
        const auto nextY = toInt16(y_ + 1);
        if (!next || !nextY) {
            failed = failure(kOverflow);
            return false;
        }
        sy_ = *next;
        y_ = *nextY;

        // Below the equator: the southern tiles, again from their first record.
        // A box that starts in a southern tile has nothing below it.
        if (sy_ > kTileRows && !switched_ && tiles_.below) {
            p_.closeFiles();
            if ((failed = openTile(0, tiles_.C))) return false;
            if (twoTiles_)
                if ((failed = openTile(1, tiles_.D))) return false;
            sy_ = 1;
            const auto below = difference16(R1_, kTileRows);
            if (!below) {
                failed = failure(kOverflow);
                return false;
            }
            R1_ = *below;
            switched_ = true;
        }
        return sy_ < R1_;
    }

private:
    // Opens the tile at path as file number + 1.
    Failure openTile(int number, const std::string& path) { return p_.files[number].open(path); }

public:
    // Tells the kernel which records the rows from..to after this one need, as
    // far as those rows will be drawn in the tiles open now.
    void askAhead(int from, int to) {
        const int step = m_.resolution;
        if (step < 1 || sy_ >= R1_) return;
        const int last = std::min({to, (R1_ - 1 - sy_) / step, (kTileRows - sy_) / step});
        if (last < from) return;
        p_.files[0].willNeed(sy_ + from * step, last - from + 1, step);
        if (twoTiles_) p_.files[1].willNeed(sy_ + from * step, last - from + 1, step);
    }

private:

    // Keeps what the picture now shows, unless a handler emptied or replaced it
    // during the drawing.
    void recordDrawnMap(int revision, int R0, int C0, int C1) {
        const TileEntries& e = kTileEntries[std::size_t(tiles_.tile)];
        DrawnMap shown = drawnAreaMap({e.A, e.B, e.C, e.D}, R0, C0, C1, m_.resolution, y_);
        const std::pair<int, const std::string*> files[] = {{e.A, &tiles_.A}, {e.B, &tiles_.B}, {e.C, &tiles_.C},
                                                            {e.D, &tiles_.D}};
        for (const auto& [entry, path] : files)
            if (entry >= 0) shown.files[std::size_t(entry)] = *path;
        keepDrawnMap(p_.dmap, std::move(shown), revision);
    }

    // Colours count samples from column first into row y from pixel x on.
    void paintRun(int first, int step, int count) {
        paintSamples(p_, first, step, count, x_, y_);
        x_ = static_cast<std::int16_t>(x_ + count);
    }

    std::string failureText(const std::string& description) const {
        return MessageText("Module 'MapfromTile' - ")
            .add(description)
            .newline()
            .add("Latitude range:")
            .number((long long)b_)
            .add(" ")
            .number((long long)d_)
            .newline()
            .line("Map height=", H_)
            .newline()
            .line("Start y (sy%)=", sy_)
            .newline()
            .line("  X=", x_)
            .line("  Y=", y_)
            .line("  R=", p_.colour.R)
            .line("  G=", p_.colour.G)
            .line("  B=", p_.colour.B)
            .newline()
            .line("Resolution=", m_.resolution)
            .str();
    }

    MapContext& p_;
    MapState& m_;
    const std::int16_t a_, b_, c_, d_;
    const TilePaths tiles_;
    std::int32_t H_ = 0;
    std::int16_t sy_ = 0;
    std::int16_t x_ = 0, y_ = 0;
    std::int16_t R1_ = 0;           // row position of d, in the southern tiles once switched
    std::int16_t C0_ = 0, C1_ = 0;  // columns of a and c
    bool twoTiles_ = false;         // whether the box reaches into the eastern neighbour
    bool switched_ = false;         // whether the rendering has moved to the southern tiles
};

}  // namespace

void mapfromtile(MapContext& p, std::int16_t a, std::int16_t b, std::int16_t c, std::int16_t d) {
    const std::int16_t tile = FindTile(p.map, a, b);
    TilePaths tiles = tilePaths(p, tile);
    if (p.map.autoresolution == 1) {
        p.map.resolution = selectresolution(p, a, b, c, d);
        p.map.autoresolution = 0;
    }
    AreaRendering(p, a, b, c, d, std::move(tiles)).run();
}

std::int16_t furthestAreaEast(std::int16_t west, std::int16_t north, int step) {
    MapState corner;
    FindTile(corner, west, north);
    // As drawRow takes them: the columns of the corner's tile up to its last,
    // then those of its neighbour from column 0, which must stay within the row.
    const auto fits = [&](int east) {
        const int last = columnPosition(corner, east) - kLastColumn;
        return last <= 0 || runLength(0, last, step) <= kLastColumn / step + 1;
    };
    int east = west;
    while (east < std::numeric_limits<std::int16_t>::max() && fits(east + 1)) ++east;
    return std::int16_t(east);
}

void mclear(MapContext& p, std::int16_t flag) {
    if (flag != 0 && flag != 1) return;
    const bool enable = flag == 1;
    p.ui.setMenuEnabled(MenuId{MenuControl::m_topo}, enable);
    p.ui.setMenuEnabled(MenuId{MenuControl::m_size}, enable);
    p.ui.setMenuEnabled(MenuId{MenuControl::m_define}, enable);
}

}  // namespace rubicel
