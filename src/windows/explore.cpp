// SPDX-License-Identifier: MIT
// explore.cpp: exploring the planet: wheel zoom about the pointer, moving the view, back and forward.
#include "windows/explore.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "common/rounding.h"
#include "maps/area_renderer.h"
#include "maps/drawn_map.h"
#include "maps/map_view.h"
#include "maps/polar_grid.h"
#include "maps/polar_renderer.h"
#include "maps/resolution.h"
#include "maps/tile_renderer.h"
#include "windows/drag_box.h"
#include "windows/feature_catalogue.h"
#include "windows/main_window.h"
#include "windows/map_history.h"
#include "windows/program.h"

namespace rubicel {
namespace {

constexpr double kSamplesPerDegree = 64.0;
// A step of this or more is the coarsest item of the Resolution table.
constexpr std::int16_t kCoarsestStep = 20;
// "Entire Planet - centred on 000°" on the File menu.
constexpr std::int16_t kPlanetItem = 5;
// An arrow key moves a scroll bar as a click on its arrow does.
constexpr int kArrowScroll = 100;
// Scroll-bar units of 10 twips to a picture pixel.
constexpr double kScrollPerPixel = double(kTwipsPerPixel) / 10.0;

int whole(double x) { return int(roundHalfEven(x)); }

std::int16_t i16(int x) { return std::int16_t(x); }

// The pointer's place in the client area, pixels, for pixel coordinates of the picture.
double clientX(const Program& p, double x) { return x + double(p.dmap.left) / kTwipsPerPixel; }
double clientY(const Program& p, double y) { return y + double(p.dmap.top) / kTwipsPerPixel; }

// Puts the two scroll bars at h and v and the picture where they say.
void scrollTo(Program& p, int h, int v) {
    p.ui.setScrollValue(Control::Hscrbar, std::max(0, h));
    Hscrbar_Change(p);
    p.ui.setScrollValue(Control::Vscrbar, std::max(0, v));
    Vscrbar_Change(p);
}

// Draws box as an area map at step, the check mark on its Resolution item and
// on tick if given; the scroll bars at h, v (a negative value for the far end).
void drawArea(Program& p, const AreaBox4& box, std::int16_t step, std::optional<MenuId> tick, int h, int v) {
    p.ui.showPointerText(std::string());
    p.map.stopflag = 0;
    p.map.areaclass = kAreaMap;
    p.map.mapsource = kFromArea;
    p.map.resolution = step;
    p.map.autoresolution = 0;
    untickfeatures(p);
    checkResolutionItem(p, resolutionIndexOf(step));
    clearMapPicture(p);
    scrollTo(p, h < 0 ? scrollLimit(p, Control::Hscrbar) : h, v < 0 ? scrollLimit(p, Control::Vscrbar) : v);
    p.map.maparea = box;
    mapfromtile(p, box[0], box[1], box[2], box[3]);
    if (tick) p.ui.setMenuChecked(*tick, true);
}

// An explored view: a new entry of the history, then the map.
void explore(Program& p, const AreaBox4& box, std::int16_t step, int h, int v) {
    p.history.push(MapEntry{MapEntry::Kind::Area, box, step, {}, std::nullopt, {}});
    drawArea(p, box, step, std::nullopt, h, v);
}

// The polar region of pole to limit at step, as its File menu item draws it;
// the scroll bars at h, v as far as they reach for the new picture.
void drawPolar(Program& p, std::int16_t pole, std::int16_t limit, std::int16_t step, double h, double v) {
    MapState& m = p.map;
    p.ui.showPointerText(std::string());
    m.areaclass = kPolarMap;
    m.mapsource = kFromPolar;
    m.polarpole = pole;
    m.polarlimit = limit;
    m.stopflag = 0;
    m.resolution = step;
    checkResolutionItem(p, resolutionIndexOf(step));
    untickfeatures(p);
    mclear(p, 1);
    // The picture takes its new size first, so that the bars reach as far as
    // it will. When its memory cannot be had, the renderer, which sizes it
    // again, says so as it does for any map.
    const int side = 2 * polarGrid(pole, limit, step).n * kTwipsPerPixel;
    bool sized = true;
    try {
        sizeMapPicture(p, side, side);
    } catch (const std::bad_alloc&) {
        sized = false;
    }
    if (sized) {
        clearMapPicture(p);
        scrollTo(p, std::clamp(whole(h), 0, std::max(0, scrollLimit(p, Control::Hscrbar))),
                 std::clamp(whole(v), 0, std::max(0, scrollLimit(p, Control::Vscrbar))));
    }
    Drawpolar(p);
}

// A notch over a polar map at client point (x, y): the next step, the point
// under the pointer kept there as far as the scroll bars allow.
void zoomPolar(Program& p, bool in, double x, double y) {
    const DrawnMap& shown = p.dmap.shows;
    const auto next = zoomedStep(std::int16_t(shown.step), in);
    if (!next) return;
    const std::int16_t pole = std::int16_t(shown.pole), limit = std::int16_t(shown.limit);
    // Pixels grow with the step; the pole stays at the picture's centre.
    const double ratio = double(shown.step) / double(*next);
    const int half = polarGrid(pole, limit, *next).n;
    const double px = (x - double(p.dmap.left) / kTwipsPerPixel - shown.half) * ratio + half;
    const double py = (y - double(p.dmap.top) / kTwipsPerPixel - shown.half) * ratio + half;
    p.history.push(MapEntry{MapEntry::Kind::Polar, {pole, limit, 0, 0}, *next, {}, std::nullopt, {}});
    drawPolar(p, pole, limit, *next, (px - x) * kScrollPerPixel, (py - y) * kScrollPerPixel);
}

// One notch with the pointer at client point (x, y).
void zoomOnce(Program& p, bool in, double x, double y) {
    const PixelExtent extent = drawnExtent(p.dmap);
    if (extent.width == 0) return;
    if (p.dmap.shows.pole != 0) return zoomPolar(p, in, x, y);
    const int px = std::clamp(int(std::floor(x - double(p.dmap.left) / kTwipsPerPixel)), 0, extent.width - 1);
    const int py = std::clamp(int(std::floor(y - double(p.dmap.top) / kTwipsPerPixel)), 0, extent.height - 1);
    const auto sample = pixelSample(p.dmap, px, py);
    if (!sample) return;
    const std::int16_t step = std::int16_t(p.dmap.shows.step);
    const auto next = zoomedStep(step, in);
    if (!next) {
        if (!in && p.map.areaclass != kEntirePlanet) m_tile_Click(p, kPlanetItem);
        return;
    }
    const TwipSize client = p.ui.clientSize();
    // The sample's centre sits at the middle of its pixel.
    const auto box = zoomBox(sample->longitude, sample->latitude, clientX(p, px + 0.5), clientY(p, py + 0.5),
                             client.width / kTwipsPerPixel, client.height / kTwipsPerPixel, *next);
    if (!box) {
        if (p.map.areaclass != kEntirePlanet) m_tile_Click(p, kPlanetItem);
        return;
    }
    explore(p, *box, *next, 0, 0);
}

// Scrolls bar by delta units as far as it goes; returns the units it moved.
int scrollBy(Program& p, Control bar, int delta) {
    const int limit = scrollLimit(p, bar);
    if (limit <= 0) return 0;
    const int value = p.ui.scrollValue(bar);
    const int target = std::clamp(value + delta, 0, limit);
    if (target == value) return 0;
    p.ui.setScrollValue(bar, target);
    if (bar == Control::Hscrbar) Hscrbar_Change(p);
    else Vscrbar_Change(p);
    return target - value;
}

// Draws the entry again without adding to the history.
void showEntry(Program& p, const MapEntry& e) {
    p.ui.showPointerText(std::string());
    switch (e.kind) {
    case MapEntry::Kind::Tile:
        untickfeatures(p);
        scrollTo(p, 0, 0);
        p.map.areaclass = kSingleTile;
        p.map.stopflag = 0;
        p.map.mapsource = kFromTile;
        p.map.tilefile = e.tilefile;
        mclear(p, 1);
        p.map.resolution = e.step;
        clearMapPicture(p);
        checkResolutionItem(p, resolutionIndexOf(e.step));
        Drawtile(p);
        if (e.tick) p.ui.setMenuChecked(*e.tick, true);
        break;
    case MapEntry::Kind::Planet:
        // As the File menu's item draws it, at the step it had.
        clearMapPicture(p);
        scrollTo(p, 0, 0);
        checkResolutionItem(p, resolutionIndexOf(e.step));
        p.map.areaclass = kEntirePlanet;
        p.map.mapsource = kFromArea;
        p.map.resolution = e.step;
        p.map.autoresolution = 0;
        mapfromtile(p, e.box[0], e.box[1], e.box[2], e.box[3]);
        p.map.autoresolution = 1;
        break;
    case MapEntry::Kind::Area: drawArea(p, e.box, e.step, e.tick, 0, 0); break;
    case MapEntry::Kind::Polar: drawPolar(p, e.box[0], e.box[1], e.step, 0, 0); break;
    }
}

}  // namespace

std::optional<std::int16_t> zoomedStep(std::int16_t step, bool in) {
    const std::int16_t s = step >= kCoarsestStep ? kResolutionSteps.front() : step;
    // The table runs from the coarsest step to the finest.
    if (in) {
        for (const std::int16_t t : kResolutionSteps)
            if (t < s) return t;
        return std::nullopt;
    }
    for (auto it = kResolutionSteps.rbegin(); it != kResolutionSteps.rend(); ++it)
        if (*it > s) return *it;
    return std::nullopt;
}

int resolutionIndexOf(std::int16_t step) {
    for (std::size_t i = 0; i < kResolutionSteps.size(); ++i)
        if (kResolutionSteps[i] == step) return int(i);
    return resolutionItem(step);
}

AreaBox4 fitToTiles(AreaBox4 box) {
    const int width = box[2] - box[0];
    int west = box[0];
    while (west < -180) west += 360;
    while (west >= 180) west -= 360;
    if (width > 180) {
        // The renderer reads two tiles side by side: from the west edge of the
        // first tile (-180 or 0) a box reaches 360° at most.
        const bool fits = (west < 0 && west <= 180 - width) || (west >= 0 && west <= 360 - width);
        if (!fits) {
            int best = west;
            int bestDistance = 1000;
            for (const int candidate : {-180, 180 - width, 0, 360 - width}) {
                const int d = std::abs(candidate - west);
                const int distance = std::min(d, 360 - d);
                if (distance < bestDistance) {
                    bestDistance = distance;
                    best = candidate;
                }
            }
            west = best;
        }
    }
    return {i16(west), box[1], i16(west + width), box[3]};
}

std::optional<AreaBox4> zoomBox(double longitude, double latitude, double x, double y, int clientWidth,
                                int clientHeight, std::int16_t step) {
    const double degreesPerPixel = double(step) / kSamplesPerDegree;
    const int width = std::max(1, whole(clientWidth * degreesPerPixel));
    if (width > 360) return std::nullopt;
    const int height = std::clamp(whole(clientHeight * degreesPerPixel), 1, 180);
    const int west = whole(longitude - x * degreesPerPixel);
    int north = whole(latitude + y * degreesPerPixel);
    north = std::clamp(north, -90 + height, 90);
    return fitToTiles({i16(west), i16(north), i16(west + width), i16(north - height)});
}

AreaBox4 movedBox(AreaBox4 box, int east, int north) {
    const int width = box[2] - box[0];
    const int height = box[1] - box[3];
    const int top = std::clamp(box[1] + north, std::min(90, -90 + height), 90);
    return fitToTiles({i16(box[0] + east), i16(top), i16(box[0] + east + width), i16(top - height)});
}

AreaBox4 shownBox(const Program& p) {
    if (p.map.mapsource == kFromArea) return p.map.maparea;
    const PixelExtent extent = drawnExtent(p.dmap);
    const auto limits = dragLimits(p.dmap, 0, 0, extent.width - 1, extent.height - 1);
    return limits ? *limits : p.map.maparea;
}

bool dmap_ExploreAllowed(const Program& p) { return drawnExtent(p.dmap).width > 0; }

void dmap_Wheel(Program& p, int notches, float x, float y) {
    // The pointer stays where it is in the window while the maps change under it.
    const double cx = clientX(p, x);
    const double cy = clientY(p, y);
    for (int n = 0; n < std::abs(notches); ++n) {
        if (!dmap_ExploreAllowed(p)) return;
        zoomOnce(p, notches > 0, cx, cy);
    }
}

void dmap_Arrow(Program& p, Heading heading) {
    const bool across = heading == Heading::West || heading == Heading::East;
    const int sign = heading == Heading::East || heading == Heading::South ? 1 : -1;
    const Control bar = across ? Control::Hscrbar : Control::Vscrbar;
    if (scrollBy(p, bar, sign * kArrowScroll) != 0) return;
    if (!dmap_ExploreAllowed(p) || p.dmap.shows.pole != 0) return;

    const AreaBox4 box = shownBox(p);
    const int half = std::max(1, whole((across ? box[2] - box[0] : box[1] - box[3]) / 2.0));
    const AreaBox4 moved = across ? movedBox(box, sign * half, 0) : movedBox(box, 0, -sign * half);
    if (moved == box) return;
    // Moving on, the new picture is shown from the side it was entered from.
    int h = p.ui.scrollValue(Control::Hscrbar);
    int v = p.ui.scrollValue(Control::Vscrbar);
    if (across) h = sign > 0 ? 0 : -1;
    else v = sign > 0 ? 0 : -1;
    explore(p, moved, std::int16_t(p.dmap.shows.step), h, v);
}

void dmap_MiddleDown(Program& p, float x, float y) {
    p.middleDrag = MiddleDrag{};
    if (!dmap_ExploreAllowed(p)) return;
    p.middleDrag = MiddleDrag{true, clientX(p, x), clientY(p, y), 0, 0};
}

void dmap_MiddleMove(Program& p, float x, float y) {
    MiddleDrag& d = p.middleDrag;
    if (!d.active) return;
    const double cx = clientX(p, x);
    const double cy = clientY(p, y);
    const double dx = cx - d.lastX;
    const double dy = cy - d.lastY;
    d.lastX = cx;
    d.lastY = cy;
    // The picture follows the pointer: a drag to the right moves the bar left.
    const int h = scrollBy(p, Control::Hscrbar, -whole(dx * kScrollPerPixel));
    const int v = scrollBy(p, Control::Vscrbar, -whole(dy * kScrollPerPixel));
    d.restX += dx + h / kScrollPerPixel;
    d.restY += dy + v / kScrollPerPixel;
}

void dmap_MiddleUp(Program& p, float x, float y) {
    dmap_MiddleMove(p, x, y);
    const MiddleDrag d = p.middleDrag;
    p.middleDrag = MiddleDrag{};
    if (!d.active || !dmap_ExploreAllowed(p) || p.dmap.shows.pole != 0) return;
    const double degreesPerPixel = double(p.dmap.shows.step) / kSamplesPerDegree;
    const int east = -whole(d.restX * degreesPerPixel);
    const int north = whole(d.restY * degreesPerPixel);
    if (east == 0 && north == 0) return;
    const AreaBox4 box = shownBox(p);
    const AreaBox4 moved = movedBox(box, east, north);
    if (moved == box) return;
    explore(p, moved, std::int16_t(p.dmap.shows.step), p.ui.scrollValue(Control::Hscrbar),
            p.ui.scrollValue(Control::Vscrbar));
}

void mapBack(Program& p) {
    if (const MapEntry* e = p.history.back()) showEntry(p, MapEntry(*e));
}

void mapForward(Program& p) {
    if (const MapEntry* e = p.history.forward()) showEntry(p, MapEntry(*e));
}

std::int16_t nextAreaStep(const Program& p, const AreaBox4& box) {
    return p.map.autoresolution == 1 ? automaticStep(box[0], box[1], box[2], box[3]) : p.map.resolution;
}

void noteMapRequest(Program& p, MapEntry entry) { p.history.push(std::move(entry)); }

void drawNewMap(Program& p, const MapEntry& entry) {
    p.history.push(entry);
    showEntry(p, entry);
}

void noteAreaRequest(Program& p, const AreaBox4& box, std::optional<MenuId> tick) {
    p.history.push(MapEntry{MapEntry::Kind::Area, box, nextAreaStep(p, box), {}, tick, {}});
}

}  // namespace rubicel
