// SPDX-License-Identifier: MIT
// place_index.h: every named place on Mars, read once from the shipped gazetteer, found by name or by point.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "places/place.h"

namespace rubicel {

class FeatureGrid;

// The files the index is read from, found where the programs find their
// other shipped files (data_path.h): the IAU gazetteer of Mars and the landing
// sites, with the README that gives their columns and sources.
inline constexpr std::string_view kFeaturesFile = "nomenclature/mars_features.csv";
inline constexpr std::string_view kLandingSitesFile = "nomenclature/landing_sites.csv";

// The named places: the gazetteer's features in file order, then the landing
// sites. Read whole or not at all: on any fault in the files the index holds
// no place and error() says what is wrong and where.
class PlaceIndex {
public:
    PlaceIndex();
    ~PlaceIndex();
    PlaceIndex(PlaceIndex&&) noexcept;
    PlaceIndex& operator=(PlaceIndex&&) noexcept;

    // The index of the shipped files, read on the first call (from any thread)
    // and kept for the rest of the run; a program that never calls it never
    // reads them.
    static const PlaceIndex& shared();

    // Reads the two files (CSV with a header line; the columns are found by
    // name, as data/nomenclature/README.md lists them).
    static PlaceIndex fromFiles(const std::filesystem::path& features, const std::filesystem::path& landingSites);
    // The same from the files' text.
    static PlaceIndex fromText(std::string_view features, std::string_view landingSites);

    const std::vector<Place>& places() const { return places_; }
    // Empty when the files were read; else what went wrong.
    const std::string& error() const { return error_; }

    // The places whose name (or a landing site's mission or site name) holds
    // text, compared as searchKey gives them (case and diacritics ignored),
    // best first: names equal to the text, then names beginning with it, then
    // names with a later word beginning with it, then names holding it
    // anywhere; within each group larger places first (landing sites, of no
    // size, last), then by name. Nothing for a text of no letter or digit.
    std::vector<const Place*> search(std::string_view text) const;

    // The smallest named feature (by diameter) whose extent holds the point
    // (planetocentric latitude, east longitude in degrees, any multiple of 360
    // apart); null when none does. Landing sites and features of diameter 0
    // (the classical albedo features, which have no outline) are not among
    // them. The first call sorts the features into a grid of 1° cells.
    const Place* featureAt(double latitude, double longitude) const;

private:
    std::vector<Place> places_;
    std::string error_;
    struct Lazy;
    std::unique_ptr<Lazy> lazy_;
};

}  // namespace rubicel
