// SPDX-License-Identifier: MIT
// map_history.cpp: the maps drawn in this run, for going back and forward as a web browser does.
#include "windows/map_history.h"

#include <utility>

namespace rubicel {

void MapHistory::push(MapEntry entry) {
    if (!entries_.empty()) entries_.erase(entries_.begin() + std::ptrdiff_t(at_ + 1), entries_.end());
    entries_.push_back(std::move(entry));
    if (entries_.size() > kMaxEntries) entries_.pop_front();
    at_ = entries_.size() - 1;
}

const MapEntry* MapHistory::back() {
    if (entries_.empty() || at_ == 0) return nullptr;
    return &entries_[--at_];
}

const MapEntry* MapHistory::forward() {
    if (at_ + 1 >= entries_.size()) return nullptr;
    return &entries_[++at_];
}

void MapHistory::restep(std::int16_t step) {
    if (!entries_.empty()) entries_[at_].step = step;
}

}  // namespace rubicel
