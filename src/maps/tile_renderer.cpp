// SPDX-License-Identifier: MIT
// tile_renderer.cpp: Drawtile, the map of one whole tile file.
#include "maps/tile_renderer.h"

#include <algorithm>
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
#include "maps/tile_file.h"

namespace rubicel {

namespace {

// One rendering of the tile p.map.tilefile; x and y are what the failure message reports.
class TileRendering {
public:
    explicit TileRendering(MapContext& p) : p_(p), m_(p.map) {}

    void run() {
        if (const Failure failed = draw()) {
            p_.closeFiles();
            p_.ui.messageBox(MessageText("Module 'Drawtile' - ")
                                 .add(*failed)
                                 .newline()
                                 .number((long long)p_.colour.R)
                                 .add(" ")
                                 .number((long long)p_.colour.G)
                                 .add(" ")
                                 .number((long long)p_.colour.B)
                                 .newline()
                                 .line("x=", x_)
                                 .line("   y=", y_)
                                 .str(),
                             "", Icon::None);
            p_.ui.setBusyPointer(false);
        }
    }

private:
    Failure draw() {
        const int generation = beginRendering(p_);

        if (m_.resolution == 0) return failure(kDivisionByZero);
        const float s = 15.0f / float(m_.resolution);
        const auto W = toInt32(float(kLastColumn) * s);
        const auto H = toInt32(float(kTileRows) * s);
        if (!W || !H) return failure(kOverflow);
        if (*W < 0 || *H < 0) return failure(kInvalidPropertyValue);
        try {
            sizeMapPicture(p_, *W, *H);
        } catch (const std::bad_alloc&) {
            return failure(kOutOfMemory);
        }
        checksize(p_, *W, *H);
        const int revision = p_.dmap.revision;

        r_ = 1;
        y_ = 0;
        northern_ = tileIndex() != 0 && tileIndex() != 1;
        if (Failure f = p_.files[0].open(m_.tilefile)) return f;
        StatusCaption status("Progress ... ");
        Failure failed;
        if (drawRows(p_, generation, *H, status, *this, failed) == RowsEnd::Superseded) return std::nullopt;
        if (failed) return failed;

        p_.closeFiles();
        recordDrawnMap(revision);
        p_.ui.setBusyPointer(false);
        return std::nullopt;
    }

public:
    // The steps of one row, run by drawRows.
    void startRow() { x_ = 0; }
    void stop() {}  // stopflag stays set: a whole-tile redraw started before it is cleared stops at once
    int y() const { return y_; }
    double rowSpacing() const { return reliefRowSpacing(m_.resolution); }
    // Record r of a northern tile lies at 90 - (r - 0.5)/64 degrees, of a southern one at -(r - 0.5)/64.
    double columnSpacing() const {
        const double below = (r_ - 0.5) / 64.0;
        return reliefColumnSpacing(rowSpacing(), northern_ ? 90.0 - below : -below);
    }
    Failure drawRow(ReadAhead& readAhead) {
        const int step = m_.resolution;
        if (step < 1) return failure(kDivisionByZero);
        readAhead.beforeRead();
        if (Failure f = p_.files[0].readRecord(r_, p_.rowBuffer)) return f;
        readAhead.afterRead();
        p_.ui.setBusyPointer(true);

        // Every step-th column up to 11518; column 11519 is never drawn.
        const int count = runLength(0, kLastColumn, step);
        paintSamples(p_, 0, step, count, 0, y_);
        x_ = count;
        return std::nullopt;
    }
    // Tells the kernel which records the rows from..to after this one need, as
    // far as those rows will be drawn.
    void askAhead(int from, int to) {
        const int step = m_.resolution;
        if (step < 1) return;
        const int last = std::min(to, (kTileRows - 1 - r_) / step);
        if (last >= from) p_.files[0].willNeed(r_ + from * step, last - from + 1, step);
    }
    bool nextRow(Failure&) {
        r_ += m_.resolution;
        ++y_;
        return r_ < kTileRows;  // record 5760 is never drawn
    }

private:
    // Keeps what the picture now shows, unless a handler emptied or replaced it
    // during the drawing. The tile is the entry of the tile list that tilefile names.
    // The entry of the tile list that tilefile names, -1 when none.
    int tileIndex() const {
        int tile = -1;
        for (std::size_t t = 0; t < p_.File1.size(); ++t)
            if (m_.datafolder + p_.File1[t] == m_.tilefile) tile = int(t);
        return tile;
    }

    void recordDrawnMap(int revision) {
        const int tile = tileIndex();
        DrawnMap shown = drawnTileMap(tile, m_.resolution, y_);
        if (tile >= 0) shown.files[std::size_t(tile)] = m_.tilefile;
        keepDrawnMap(p_.dmap, std::move(shown), revision);
    }

    MapContext& p_;
    MapState& m_;
    int r_ = 1;  // record of the row being drawn
    int x_ = 0, y_ = 0;
    bool northern_ = true;  // whether the tile lies north of the equator
};

}  // namespace

void Drawtile(MapContext& p) { TileRendering(p).run(); }

}  // namespace rubicel
