// SPDX-License-Identifier: MIT
// map_request.cpp: one map to draw without a window: what the menus would draw, and at which step.
#include "export/map_request.h"

#include <array>

#include "maps/area_renderer.h"
#include "maps/polar_renderer.h"
#include "maps/tile_renderer.h"
#include "places/place.h"
#include "platform/headless/headless_platform.h"
#include "windows/feature_catalogue.h"
#include "windows/place_map.h"
#include "windows/program.h"

namespace rubicel {

MapRequest MapRequest::feature(const Feature& f) {
    MapRequest r;
    r.kind = Kind::Feature;
    r.caption = f.caption;
    r.west = f.west;
    r.north = f.north;
    r.east = f.east;
    r.south = f.south;
    return r;
}

MapRequest MapRequest::planet(int centre) {
    MapRequest r;
    r.kind = Kind::Planet;
    r.caption = planetCaption(centre);
    r.west = centre == 180 ? 0 : -180;
    r.east = centre == 180 ? 360 : 180;
    r.north = 90;
    r.south = -90;
    return r;
}

MapRequest MapRequest::polar(int pole, int limit) {
    MapRequest r;
    r.kind = Kind::Polar;
    r.caption = polarCaption(pole);
    r.pole = std::int16_t(pole > 0 ? 1 : -1);
    r.limit = std::int16_t(limit);
    return r;
}

MapRequest MapRequest::place(const Place& place, int width, int height) {
    const PlaceMap map = placeMap(place, width, height);
    MapRequest r;
    switch (map.kind) {
    case PlaceMap::Kind::Area:
        r.kind = Kind::Area;
        r.west = map.box[0];
        r.north = map.box[1];
        r.east = map.box[2];
        r.south = map.box[3];
        r.step = map.step;
        break;
    case PlaceMap::Kind::Polar:
        r = polar(map.pole, map.limit);
        r.step = map.step;
        break;
    case PlaceMap::Kind::Planet:
        r = planet(map.centre);
        break;
    }
    r.caption = place.name;
    return r;
}

std::string planetCaption(int centre) {
    return centre == 180 ? "Entire Planet - centred on 180°" : "Entire Planet - centred on 000°";
}

std::string polarCaption(int pole) { return pole > 0 ? "North Polar Region" : "South Polar Region"; }

std::string areaCaption(int west, int north, int east, int south) {
    return "Longitude " + std::to_string(west) + "° to " + std::to_string(east) + "°, latitude " +
           std::to_string(north) + "° to " + std::to_string(south) + "°";
}

std::string tileCaption(int fileEntry) {
    static constexpr std::array<const char*, 4> kTiles = {"South-east tile", "South-west tile", "North-east tile",
                                                          "North-west tile"};
    return kTiles.at(std::size_t(fileEntry));
}

std::vector<MapRequest> atlasRequests() {
    std::vector<MapRequest> requests;
    for (const FeatureSubmenu& submenu : featureSubmenus())
        for (const Feature& f : submenu.features) requests.push_back(MapRequest::feature(f));
    requests.push_back(MapRequest::planet(0));
    requests.push_back(MapRequest::planet(180));
    requests.push_back(MapRequest::polar(1, 60));
    requests.push_back(MapRequest::polar(-1, 60));
    return requests;
}

bool isRenderingFailure(const std::string& text) {
    return text.starts_with("Module 'MapfromTile' - ") || text.starts_with("Module 'Drawtile' - ") ||
           text.starts_with("Module 'Drawpolar' - ");
}

bool drawMap(Program& p, HeadlessPlatform& ui, const MapRequest& r) {
    MapState& m = p.map;
    const std::size_t before = ui.messages.size();
    switch (r.kind) {
    case MapRequest::Kind::Feature:
        // As the Map Area menu: opening it asks for the automatic step.
        m_area_Click(p);
        if (r.step) {
            m.resolution = *r.step;
            m.autoresolution = 0;
        }
        mapfromtile(p, r.west, r.north, r.east, r.south);
        break;
    case MapRequest::Kind::Area:
        m.areaclass = kAreaMap;
        m.mapsource = kFromArea;
        m.resolution = r.step.value_or(m.resolution);
        m.autoresolution = r.step ? 0 : 1;
        mapfromtile(p, r.west, r.north, r.east, r.south);
        break;
    case MapRequest::Kind::Planet:
        m.areaclass = kEntirePlanet;
        m.mapsource = kFromArea;
        m.resolution = r.step.value_or(24);
        m.autoresolution = 0;
        mapfromtile(p, r.west, r.north, r.east, r.south);
        break;
    case MapRequest::Kind::Tile:
        m.areaclass = kSingleTile;
        m.mapsource = kFromTile;
        m.stopflag = 0;
        m.tilefile = m.datafolder + p.File1.at(std::size_t(r.tileEntry));
        m.resolution = r.step.value_or(13);
        Drawtile(p);
        break;
    case MapRequest::Kind::Polar: {
        // As the polar items: the step whose picture fits the window, here ui's client area.
        m.areaclass = kPolarMap;
        m.mapsource = kFromPolar;
        m.polarpole = r.pole;
        m.polarlimit = r.limit;
        m.stopflag = 0;
        const TwipSize client = ui.clientSize();
        m.resolution = r.step.value_or(
            automaticPolarStep(r.limit, client.width / kTwipsPerPixel, client.height / kTwipsPerPixel));
        Drawpolar(p);
        break;
    }
    }
    for (std::size_t i = before; i < ui.messages.size(); ++i)
        if (isRenderingFailure(ui.messages[i].text)) return false;
    return true;
}

}  // namespace rubicel
