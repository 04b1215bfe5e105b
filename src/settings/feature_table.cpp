// SPDX-License-Identifier: MIT
// feature_table.cpp: the 72 named features of the Map Area menu, by submenu, with their boxes.
#include <array>

#include "settings/feature_table.h"

namespace rubicel {
namespace {

// West, north, east and south in whole degrees, east and north positive. An east
// limit beyond 180 runs on across the 180 degree meridian.
constexpr std::array<Feature, 12> kPlains = {{
    {"Acidalia", -60, 58, 0, 32},
    {"Amazonis", -175, 43, -140, -3},
    {"Arcadia", 160, 54, 220, 20},
    {"Argyre", -62, -32, -26, -65},
    {"Chryse", -55, 41, -27, 10},
    {"Daedalia Planum", -150, -3, -105, -45},
    {"Elysium", 85, 28, 155, -3},
    {"Hellas", 40, -20, 100, -60},
    {"Isidis", 75, 28, 100, 0},
    {"Olympia (N Pole)", 150, 90, 240, 76},
    {"Syrtis Major", 50, 30, 80, -10},
    {"Utopia", 60, 60, 150, 10},
}};

constexpr std::array<Feature, 9> kCrateredTerrain = {{
    {"Aonia Terra", -95, -40, -60, -60},
    {"Arabia Terra", -28, 59, 59, 15},
    {"Noachis Terra", -32, -20, 32, -60},
    {"Promethei Terra", 85, -30, 130, -60},
    {"Terra Cimmeria", 125, -12, 180, -58},
    {"Terra Sabaea", 12, 15, 71, -30},
    {"Terra Sirenium", -180, -28, -120, -60},
    {"Thaumasia Planum", -74, -13, -57, -31},
    {"Tyrrhenia Terra", 70, 3, 105, -29},
}};

constexpr std::array<Feature, 16> kCraters = {{
    {"Cassini", 22, 34, 42, 14},
    {"Copernicus", -180, -40, -160, -60},
    {"Darwin", -25, -52, -15, -62},
    {"Galle (Smiley)", -40, -41, -20, -61},
    {"Gusev", 172, -12, 179, -21},
    {"Hellas Basin", 42, -25, 101, -58},
    {"Herschel", 120, -2, 150, -22},
    {"Hooke", -47, -42, -41, -48},
    {"Huygens", 48, -2, 68, -22},
    {"Kepler", 130, -38, 150, -58},
    {"Lowell", -92, -44, -72, -64},
    {"Lyot", 23, 54, 36, 46},
    {"Milankovic", -150, 57, -142, 51},
    {"Orcus Patera", 170, 20, 190, 10},
    {"Schiaperelli", 6, 8, 26, -12},
    {"Victoria", -7, 0, -3, -4},
}};

constexpr std::array<Feature, 16> kMountains = {{
    {"Alba Patera", -131, 49, -93, 16},
    {"Apollinaris Patera", 170, -5, 180, -12},
    {"Arsia Mons", -127, -2, -114, -17},
    {"Ascraeus Mons", -114, 17, -99, 5},
    {"Cydonia 'face'", -11, 42, -7, 38},
    {"Elysium Mons", 125, 35, 165, 10},
    {"Elysium Mons (summit)", 140, 30, 155, 19},
    {"Olympus Mons", -150, 30, -120, 2},
    {"Olympus Mons (summit)", -140, 24, -127, 12},
    {"Pavonis Mons", -118, 5, -108, -4},
    {"Tharsis province", -150, 30, -90, -30},
    {"Tharsis Tholus", -93, 15, -89, 11},
    {"Tharsis volcanos", -130, 20, -90, -20},
    {"Tyrrhena Patera", 99, -15, 114, -26},
    {"Ulysses Patera", -128, 10, -115, -2},
    {"Uranius Patera", -104, 30, -89, 20},
}};

constexpr std::array<Feature, 19> kChannels = {{
    {"Acheron Fossae", -150, 40, -130, 21},
    {"Ares Vallis", -40, 22, -13, -5},
    {"Elysium Fossae", 135, 30, 145, 20},
    {"Ismeniae Fossae", 30, 50, 50, 34},
    {"Kasei Valles", -82, 29, -53, -2},
    {"Lobo Vallis", -65, 35, -50, 24},
    {"Ma'adin Fossae", 171, -10, 183, -30},
    {"Mamers Vallis", 5, 52, 34, 31},
    {"Margaritifer Terra", -60, 20, -10, -20},
    {"Medusae Fossae", -171, 5, -155, -10},
    {"Niger Vallis", 80, -32, 98, -47},
    {"Nili Fossae", 70, 32, 90, 16},
    {"Nirgal Vallis", -47, -25, -32, -32},
    {"Olympia Fossae", -115, 37, -105, 22},
    {"Reull Vallis", 82, -34, 111, -47},
    {"Shalbatana Vallis", -52, 15, -29, -15},
    {"Tempae Fossae", -88, 58, -54, 31},
    {"Ulysses Fossae", -130, 16, -120, 0},
    {"Valles Marineris", -120, 5, -20, -25},
}};

constexpr std::array<FeatureSubmenu, 5> kSubmenus = {{
    {"Planitiae (plains)", MenuControl::m_plan, MenuControl::m_p, kPlains},
    {"Cratered Terrain", MenuControl::m_cter, MenuControl::m_ct, kCrateredTerrain},
    {"Craters", MenuControl::m_craters, MenuControl::m_c, kCraters},
    {"Mountains and Hills", MenuControl::m_europe, MenuControl::m_m, kMountains},
    {"Channels and Valleys", MenuControl::m_val, MenuControl::m_v, kChannels},
}};

}  // namespace

std::span<const FeatureSubmenu> featureSubmenus() { return kSubmenus; }

const Feature* findFeature(std::string_view caption) {
    for (const FeatureSubmenu& submenu : kSubmenus)
        for (const Feature& feature : submenu.features)
            if (feature.caption == caption) return &feature;
    return nullptr;
}

}  // namespace rubicel
