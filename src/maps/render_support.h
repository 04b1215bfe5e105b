// SPDX-License-Identifier: MIT
// render_support.h: what the area and the whole-tile renderer share: row painting, progress text, ending early.
#pragma once

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/rounding.h"
#include "maps/map_context.h"

namespace rubicel {

// A rendering's failure: the description of the run-time error that ended it.
using Failure = std::optional<std::string>;
// The descriptions a rendering's failure message names, beside the colour
// engine's kOverflow and kDivisionByZero.
inline constexpr std::string_view kSubscriptOutOfRange = "Subscript out of range";
inline constexpr std::string_view kInvalidPropertyValue = "Invalid property value";
inline constexpr std::string_view kOutOfMemory = "Out of memory";
inline Failure failure(std::string_view description) { return std::string(description); }

// Returns how many samples a drawing loop takes from column first, every step,
// while the column stays below limit; the loop body runs at least once.
inline int runLength(int first, int limit, int step) {
    return first < limit ? (limit - first + step - 1) / step : 1;
}

// Colours count samples of p.rowBuffer, from column first every step, into row y
// of the map picture from pixel x on. Pixels beyond the picture are coloured (so
// R, G, B and the engine's messages are those of every sample) but not drawn.
// Every column must lie within the row, and count within kTileColumns.
void paintSamples(MapContext& p, int first, int step, int count, int x, int y);

// The status caption of a rendering: a fixed head, then the percentage as a
// signed number and "%". The text's memory is reused from row to row.
class StatusCaption {
public:
    explicit StatusCaption(std::string_view head) : text_(head), head_(text_.size()) {}
    const std::string& withPercent(long long percent) {
        char digits[24];
        char* begin = digits;
        if (percent >= 0) *begin++ = ' ';
        const auto end = std::to_chars(begin, digits + sizeof digits, percent).ptr;
        text_.resize(head_);
        text_.append(digits, end);
        text_ += '%';
        return text_;
    }

private:
    std::string text_;
    std::size_t head_;
};

// Starts a rendering: it supersedes any rendering still running, shows each kind
// of colouring diagnostic afresh, and closes every open tile file. Returns the
// rendering's generation for renderingSuperseded.
inline int beginRendering(MapContext& p) {
    const int generation = ++p.renderGeneration;
    p.diagnostics.beginDrawing();
    p.closeFiles();
    return generation;
}

// True when the rendering that started as generation must end quietly: another
// rendering began during its yield, or the program is ending.
inline bool renderingSuperseded(const MapContext& p, int generation) {
    return p.renderGeneration != generation || p.exiting;
}

// Rows the kernel is asked for in one request, and how often a cold rendering asks.
inline constexpr int kAdviceRows = 16;

// Decides when to ask the kernel for the records of the rows ahead. A request is
// a system call, as costly as a read from the page cache and of no use there;
// so a rendering asks nothing until a batch of kAdviceRows rows waited for the
// disk, longer than a disk read for each row on the whole. From then on, at the
// end of every batch it asks for the rows up to two batches ahead that it has
// not asked for yet.
class ReadAhead {
public:
    void beforeRead() { start_ = Clock::now(); }
    void afterRead() { waited_ += Clock::now() - start_; }

    // Rows after row y, from..to (1 being the next row), to ask for after row
    // y's reads; nothing (from > to) when none.
    struct Rows {
        int from = 1, to = 0;
    };
    Rows rowsToAsk(int y) {
        if ((y + 1) % kAdviceRows != 0) return {};
        if (waited_ > kAdviceRows * kDiskRead) cold_ = true;
        waited_ = {};
        if (!cold_) return {};
        const int end = y + 2 * kAdviceRows;
        const Rows rows{std::max(askedTo_ - y, 0) + 1, end - y};
        askedTo_ = end;
        return rows;
    }

private:
    using Clock = std::chrono::steady_clock;
    // A record from the page cache takes a few microseconds; from a disk, far more.
    static constexpr auto kDiskRead = std::chrono::microseconds(50);
    Clock::time_point start_{};
    Clock::duration waited_{};
    bool cold_ = false;
    int askedTo_ = 0;  // the last row asked for
};

// How a run of drawRows ended when nothing failed: after its last row, a stop
// or the picture's replacement (Finished), or because another rendering began during a yield or the program
// is ending (Superseded), when the rendering ends quietly with its files closed.
enum class RowsEnd { Finished, Superseded };

// The row loop of both renderers. For each map row, in order: the stop check
// (rendering.stop() when stopflag is 1), the row (rendering.drawRow reads its
// records, timed by the read-ahead, and paints them), the read-ahead advice
// (rendering.askAhead), the picture told of the row, the yield with its
// superseded check, then the end of the drawing, as after its last row, when a
// handler emptied or replaced the picture during the yield, the caption
// status + percentage of row y of a picture H twips high, and the step to the
// next row (rendering.nextRow, which returns false after the last row). failed
// receives the failure that ended it, if any.
//
// With relief shading on, the rows go through the shading stage p.reliefRows:
// the renderer's painting leaves each row's elevations there, and once row y is
// drawn row y - 1 is shaded (the picture is told of both, or, with the second
// thread shading, of row y and of row y - 2 that it has shaded); the last row is
// shaded after the loop ends, a stopped drawing leaves it unshaded. The
// rendering gives the spacing of its rows (rendering.rowSpacing()) and of the
// columns of the row just drawn (rendering.columnSpacing()), metres; one whose
// pixels do not all show a sample says so with reliefMasked() returning true
// and fills p.reliefRows.shown() for every row; one whose pixels lie nearer on
// the ground than those spacings say, by a scale of each pixel, says so with
// reliefScaled() and fills p.reliefRows.scales() as well.
template <class Rendering>
RowsEnd drawRows(MapContext& p, int generation, std::int32_t H, StatusCaption& status, Rendering& rendering,
                 Failure& failed) {
    ReadAhead readAhead;
    ReliefRows& relief = p.reliefRows;
    ReliefRows::Fills fills;
    if constexpr (requires { rendering.reliefMasked(); }) fills.shown = rendering.reliefMasked();
    if constexpr (requires { rendering.reliefScaled(); }) fills.scales = rendering.reliefScaled();
    struct StageEnd {
        ReliefRows& stage;
        ~StageEnd() { stage.stop(); }
    } stageEnd{relief};
    // Where the yields leave the picture alone, rows may be shaded on a
    // second thread while the next ones are drawn.
    relief.begin(p.relief, p.dmap.image.width(), p.dmap.image.height(), rendering.rowSpacing(), fills,
                 !p.ui.yieldTouchesPicture());
    const int revision = p.dmap.revision;
    do {
        rendering.startRow();
        if (p.map.stopflag == 1) {
            rendering.stop();
            return RowsEnd::Finished;
        }
        if ((failed = rendering.drawRow(readAhead))) return RowsEnd::Finished;
        const int y = rendering.y();
        if (const ReadAhead::Rows ahead = readAhead.rowsToAsk(y); ahead.from <= ahead.to)
            rendering.askAhead(ahead.from, ahead.to);
        int changed = y;
        if (relief.active()) changed = relief.rowDrawn(p.dmap.image, y, rendering.columnSpacing());
        if (y < p.dmap.image.height()) p.ui.mapRowsChanged(changed, y + 1);

        p.ui.yieldToEvents();
        if (renderingSuperseded(p, generation)) {
            p.closeFiles();
            return RowsEnd::Superseded;
        }
        // A handler emptied or replaced the picture: the map it was drawing is
        // gone, and the rows to come would be drawn over another picture.
        if (p.dmap.revision != revision) return RowsEnd::Finished;

        if (H == 0) {
            failed = failure(kDivisionByZero);
            return RowsEnd::Finished;
        }
        const auto percent = static_cast<long long>(roundHalfEven(double(y) * 1500.0 / double(H)));
        p.ui.setMenuCaption(MenuId{MenuControl::prcent}, status.withPercent(percent));
    } while (rendering.nextRow(failed) && !failed);
    if (!failed && relief.active())
        if (const ReliefRows::Rows shaded = relief.finish(p.dmap.image); shaded.first < shaded.end)
            p.ui.mapRowsChanged(shaded.first, shaded.end);
    return RowsEnd::Finished;
}

}  // namespace rubicel
