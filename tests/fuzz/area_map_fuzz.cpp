// SPDX-License-Identifier: MIT
// area_map_fuzz.cpp: area maps of any box the menus and the custom-area dialog can ask
// for, at any step, over four tiles one of which is cut to any size: every drawing
// either finishes or ends in its one failure message, and no tile stays open.
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

#include "colour/colour_engine.h"
#include "fuzz/fuzz_support.h"
#include "maps/area_renderer.h"
#include "maps/map_state.h"
#include "platform/headless/headless_platform.h"
#include "support/sparse_tiles.h"
#include "windows/program.h"

namespace rubicel {
namespace {

constexpr long long kWholeTileBytes = 1LL * kTileRows * kRecordBytes;

struct TileSet {
    std::string folder;
    std::array<std::filesystem::path, 4> paths;
};

const TileSet& tileSet() {
    static const TileSet set = [] {
        TileSet s;
        const std::filesystem::path folder = fuzz::scratchFolder() / "tiles";
        std::filesystem::create_directories(folder);
        s.paths = test::makeSparseTileSet(folder);
        for (int t = 0; t < 4; ++t)
            for (int record : {1, 2881, 5760})
                test::writeRecord(s.paths[std::size_t(t)], record,
                                  [t](int c) { return std::int16_t(-8000 + 7000 * t + c % 1000); });
        s.folder = folder.string() + "/";
        return s;
    }();
    return set;
}

}  // namespace
}  // namespace rubicel

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rubicel;
    const TileSet& tiles = tileSet();
    FuzzedDataProvider in(data, size);

    // One tile cut short or grown a little; the others whole.
    const std::size_t spoilt = in.ConsumeIntegralInRange<std::size_t>(0, 3);
    const long long bytes = in.ConsumeBool() ? kWholeTileBytes - in.ConsumeIntegralInRange<long long>(-kRecordBytes, 3 * kRecordBytes)
                                              : in.ConsumeIntegralInRange<long long>(0, kWholeTileBytes);
    std::filesystem::resize_file(tiles.paths[spoilt], std::uintmax_t(bytes));

    // A box as the custom-area dialog can leave it: a centre, half spans up to 25
    // degrees, the west limit moved by 360 below -180; or an entire planet.
    HeadlessPlatform ui;
    Program p{ui};
    p.map.datafolder = tiles.folder;
    p.File1.assign(test::kTileNames.begin(), test::kTileNames.end());
    initbands(p.colour);
    p.colour.scheme = in.ConsumeIntegralInRange<std::int16_t>(0, 9);
    p.colour.mode = in.ConsumeIntegralInRange<std::int16_t>(0, 3);
    std::int16_t a, b, c, d;
    if (in.ConsumeBool()) {
        p.map.areaclass = kEntirePlanet;
        const bool centredOn180 = in.ConsumeBool();
        a = centredOn180 ? 0 : -180;
        c = centredOn180 ? 360 : 180;
        b = 90;
        d = -90;
        p.map.resolution = in.PickValueInArray({std::int16_t(20), std::int16_t(24)});
    } else {
        p.map.areaclass = kAreaMap;
        const int lon = in.ConsumeIntegralInRange(-180, 180), lat = in.ConsumeIntegralInRange(-85, 85);
        const int hw = in.ConsumeIntegralInRange(0, 25), hh = in.ConsumeIntegralInRange(0, 25);
        // The centre may move after the span was checked, so the box may pass a pole.
        const int latShift = in.ConsumeIntegralInRange(-5, 5);
        int west = lon - hw, east = lon + hw;
        if (west < -180) west += 360, east += 360;
        a = std::int16_t(west);
        c = std::int16_t(east);
        b = std::int16_t(lat + latShift + hh);
        d = std::int16_t(lat + latShift - hh);
        p.map.resolution = in.PickValueInArray(kResolutionSteps);
        p.map.autoresolution = in.ConsumeBool() ? 1 : 0;
    }
    p.map.mapsource = kFromArea;
    // Some drawings are stopped or restarted from inside their own yield.
    const int stopAt = in.ConsumeIntegralInRange(0, 40);
    const int redrawAt = in.ConsumeIntegralInRange(0, 40);
    ui.onYield = [&](int n) {
        if (n == stopAt) p.map.stopflag = 1;
        if (n == redrawAt) mapfromtile(p, a, b, c, d);
    };

    const std::array<std::int16_t, 4> before = p.map.maparea;
    mapfromtile(p, a, b, c, d);

    fuzz::expect(!p.files[0].isOpen() && !p.files[1].isOpen(), "no tile stays open");
    fuzz::expect(p.map.stopflag == 0 || stopAt > 0, "the stop flag is cleared by the drawing it stopped");
    for (const HeadlessPlatform::Message& m : ui.messages)
        fuzz::expect(m.text.rfind("Module 'MapfromTile' - ", 0) == 0 || m.text.rfind("Module 'Setcolours'", 0) == 0 ||
                         m.text.rfind("Function 'cmode'", 0) == 0,
                     "every message is a drawing's failure message or a colour diagnostic");
    const std::array<std::int16_t, 4> box{a, b, c, d};
    fuzz::expect(p.map.maparea == box || p.map.maparea == before, "the area is the box drawn or the one before");

    std::filesystem::resize_file(tiles.paths[spoilt], std::uintmax_t(kWholeTileBytes));
    return 0;
}
