// SPDX-License-Identifier: MIT
// map_history.h: the maps drawn in this run, for going back and forward as a web browser does.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>

#include "platform/menu_ids.h"

namespace rubicel {

// One map request, enough to draw the map again: what was asked for and the
// step it was drawn at. The colouring is not part of it.
struct MapEntry {
    enum class Kind : std::uint8_t { Tile, Planet, Area, Polar };
    Kind kind = Kind::Area;
    std::array<std::int16_t, 4> box{};  // west, north, east, south (Planet, Area); pole, limit (Polar)
    std::int16_t step = 1;
    std::string tilefile;           // the whole tile's file (Tile)
    std::optional<MenuId> tick;     // the menu item that carried the tick (a tile, a feature)
    std::string place;              // the place it was drawn for (Find Place); empty for others
    friend bool operator==(const MapEntry&, const MapEntry&) = default;
};

// The entries in the order they were drawn and the one shown now.
class MapHistory {
public:
    static constexpr std::size_t kMaxEntries = 100;

    // A new map: the entries ahead of the current one are dropped, the new one
    // becomes current; past kMaxEntries the oldest goes.
    void push(MapEntry entry);
    // Steps back or forward; nothing at either end.
    const MapEntry* back();
    const MapEntry* forward();
    // The current map was drawn again at another step.
    void restep(std::int16_t step);

    const MapEntry* current() const { return entries_.empty() ? nullptr : &entries_[at_]; }
    std::size_t size() const { return entries_.size(); }
    std::size_t position() const { return at_; }

private:
    std::deque<MapEntry> entries_;
    std::size_t at_ = 0;  // index of the current entry when there is one
};

}  // namespace rubicel
