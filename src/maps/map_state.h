// SPDX-License-Identifier: MIT
// map_state.h: the program-wide map state: which map is shown, at which step, and stopping.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace rubicel {

inline constexpr const char* kVersionText = "v 1.12  -  March 6, 2007";

// What kind of map is shown, for the Resolution menu.
enum AreaClass : std::int16_t { kAreaMap = 0, kEntirePlanet = 1, kSingleTile = 2, kPolarMap = 3 };
// How the current map is redrawn; 2 draws nothing.
enum MapSource : std::int16_t { kFromTile = 0, kFromArea = 1, kFromPolar = 3 };

struct MapState {
    std::int16_t resolution = 1;      // sampling step: one sample of every `resolution`
    std::int16_t autoresolution = 0;  // 1: the next area map picks its own step
    std::int16_t areaclass = 0;       // AreaClass
    std::int16_t mapsource = 0;       // MapSource
    std::array<std::int16_t, 4> maparea{};  // west, north, east, south of the current area map
    std::int16_t polarpole = 1;    // pole of the polar map: 1 north, -1 south
    std::int16_t polarlimit = 60;  // the polar map shows latitudes from this one (degrees) to the pole
    std::string tilefile;    // datafolder + file name of the tile the whole-tile map draws
    std::string datafolder;  // folder of the four tiles; ends in '/' once they were found
    std::string startfolder; // working folder at start; the configuration file lives there
    std::string versiontext;
    std::int16_t stopflag = 0;  // 1: the drawing in progress stops at its next row
    std::int16_t tilewest = 0, tileeast = 0, tiletop = 0, tilebottom = 0;  // tile FindTile found last
};

// The Resolution menu: item index to sampling step.
inline constexpr std::array<std::int16_t, 8> kResolutionSteps = {24, 13, 10, 8, 4, 3, 2, 1};

}  // namespace rubicel
