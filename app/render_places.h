// SPDX-License-Identifier: MIT
// render_places.h: rubicel-render's named places: the place --place names, and the list --places prints.
#pragma once

#include <string_view>

namespace rubicel {

struct Place;

// The place whose name, or a landing site's mission or site, equals name once
// both are folded as the place search folds them (case, diacritics,
// punctuation). Null after saying why on standard error: the gazetteer could
// not be read (failed set), or no name equals it, with up to 10 names that
// hold it, best first.
const Place* placeCalled(std::string_view name, bool& failed);

// Prints the places whose names hold text, best first, one a line after the
// header "name<TAB>type<TAB>latitude<TAB>longitude<TAB>diameter_km". Returns the
// exit status: 0, also when none does; 1 when the gazetteer could not be read.
int listPlaces(std::string_view text);

}  // namespace rubicel
