// SPDX-License-Identifier: MIT
// place_index.cpp: every named place on Mars, read once from the shipped gazetteer, found by name or by point.
#include "places/place_index.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>
#include <mutex>
#include <optional>

#include "common/data_path.h"
#include "places/csv_reader.h"
#include "places/feature_grid.h"
#include "places/search_key.h"

namespace rubicel {

// The grid of the read-out, made on its first use.
struct PlaceIndex::Lazy {
    std::once_flag once;
    std::optional<FeatureGrid> grid;
};

namespace {

// A number of the files: plain decimal, nothing around it.
std::optional<double> number(const std::string& text) {
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return value;
}

// One file's records, field by field, each checked as it is taken; keeps the
// first fault found, as "FILE: line N: what". The columns are asked for by
// their place in the list given to header().
class Table {
public:
    Table(std::string_view file, std::string_view text) : file_(file), reader_(text) {}

    // Reads the header and finds the columns named; false when one is missing.
    bool header(std::initializer_list<std::string_view> names) {
        if (!reader_.next(header_)) return fail(reader_.error().empty() ? "the file is empty" : reader_.error());
        for (const std::string_view name : names) {
            const int at = columnOf(header_, name);
            if (at < 0) return fail("no column " + std::string(name) + " in the header line");
            names_.push_back(name);
            columns_.push_back(std::size_t(at));
        }
        return true;
    }

    // The next record with as many fields as the header; false at the end or on a fault.
    bool next() {
        for (;;) {
            if (!reader_.next(fields_)) {
                if (!reader_.error().empty()) fail(reader_.error());
                return false;
            }
            if (fields_.size() == 1 && fields_[0].empty()) continue;  // a blank line
            if (fields_.size() == header_.size()) return true;
            fail("line " + std::to_string(reader_.line()) + ": " + std::to_string(fields_.size()) + " fields, " +
                 std::to_string(header_.size()) + " in the header line");
            return false;
        }
    }

    // The field of the column named column-th in header().
    const std::string& text(int column) const { return fields_[columns_[std::size_t(column)]]; }
    // Its number, within [low, high]; a fault when it is not one.
    std::optional<double> value(int column, double low, double high) {
        const auto v = number(text(column));
        if (v && *v >= low && *v <= high) return v;
        fail("line " + std::to_string(reader_.line()) + ": " + std::string(names_[std::size_t(column)]) + " is \"" +
             text(column) + "\", not a number from " + std::to_string(int(low)) + " to " + std::to_string(int(high)));
        return std::nullopt;
    }
    bool fault(const std::string& what) { return fail("line " + std::to_string(reader_.line()) + ": " + what); }

    const std::string& error() const { return error_; }

private:
    bool fail(const std::string& what) {
        if (error_.empty()) error_ = std::string(file_) + ": " + what;
        return false;
    }
    std::string_view file_;
    CsvReader reader_;
    std::vector<std::string> header_, fields_;
    std::vector<std::string_view> names_;
    std::vector<std::size_t> columns_;
    std::string error_;
};

// The features of the gazetteer; the first fault in error.
std::vector<Place> readFeatures(std::string_view text, std::string& error) {
    Table t(kFeaturesFile, text);
    std::vector<Place> places;
    enum { Id, Name, AsciiName, Type, Lat, Lon, Diameter, MinLat, MaxLat, MinLon, MaxLon };
    if (t.header({"id", "name", "ascii_name", "type", "lat", "lon_east", "diameter_km", "min_lat", "max_lat",
                  "min_lon", "max_lon"})) {
        while (t.next()) {
            Place p;
            const auto id = t.value(Id, 0, 1e9);
            const auto lat = t.value(Lat, -90, 90);
            const auto lon = t.value(Lon, -180, 360);
            const auto diameter = t.value(Diameter, 0, 30000);
            if (!id || !lat || !lon || !diameter) break;
            p.id = int(*id);
            p.name = t.text(Name);
            p.type = t.text(Type);
            if (p.name.empty() || p.type.empty()) {
                t.fault("a name or a type is empty");
                break;
            }
            p.latitude = *lat;
            p.longitude = *lon < 0 ? *lon + 360.0 : *lon;
            p.diameterKm = *diameter;
            // The bounding box: all four limits, or none (the newer names).
            const bool none = t.text(MinLat).empty() && t.text(MaxLat).empty() && t.text(MinLon).empty() &&
                              t.text(MaxLon).empty();
            if (!none) {
                const auto s = t.value(MinLat, -90, 90), n = t.value(MaxLat, -90, 90);
                const auto w = t.value(MinLon, -360, 360), e = t.value(MaxLon, -360, 720);
                if (!s || !n || !w || !e) break;
                if (*s > *n || *w > *e) {
                    t.fault("the bounding box's minimum exceeds its maximum");
                    break;
                }
                p.box = GeoBox{*s, *n, *w, *e};
            }
            p.key = searchKey(t.text(AsciiName));
            places.push_back(std::move(p));
        }
    }
    error = t.error();
    return places;
}

// The landing sites; the first fault in error.
std::vector<Place> readLandingSites(std::string_view text, std::string& error) {
    Table t(kLandingSitesFile, text);
    std::vector<Place> places;
    enum { Mission, Site, Lat, Lon };
    if (t.header({"mission", "site", "lat", "lon_east"})) {
        while (t.next()) {
            Place p;
            p.kind = Place::Kind::LandingSite;
            p.type = "Landing site";
            p.name = t.text(Mission);
            p.site = t.text(Site);
            const auto lat = t.value(Lat, -90, 90);
            const auto lon = t.value(Lon, -180, 360);
            if (!lat || !lon) break;
            if (p.name.empty()) {
                t.fault("the mission is empty");
                break;
            }
            p.latitude = *lat;
            p.longitude = *lon < 0 ? *lon + 360.0 : *lon;
            p.key = searchKey(p.name);
            p.siteKey = searchKey(p.site);
            places.push_back(std::move(p));
        }
    }
    error = t.error();
    return places;
}

// How well a name's key matches the text's: 0 equal, 1 beginning with it, 2 a
// later word beginning with it, 3 holding it elsewhere; 4 not at all.
int matchRank(const std::string& key, const std::string& text) {
    if (key.empty()) return 4;
    if (key == text) return 0;
    if (key.starts_with(text)) return 1;
    const std::size_t at = key.find(text);
    if (at == std::string::npos) return 4;
    if (key[at - 1] == ' ') return 2;
    // A later word may still begin with it after an earlier match inside a word.
    for (std::size_t from = at; (from = key.find(text, from + 1)) != std::string::npos;)
        if (key[from - 1] == ' ') return 2;
    return 3;
}

// The whole file, read at once; nothing when it cannot be read or is far
// larger than any gazetteer (so that a wrong file cannot take the memory).
std::optional<std::string> slurp(const std::filesystem::path& path) {
    constexpr std::uintmax_t kLargest = 64u << 20;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kLargest) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::string text(std::size_t(size), '\0');
    if (!in.read(text.data(), std::streamsize(size))) return std::nullopt;
    return text;
}

}  // namespace

PlaceIndex::PlaceIndex() : lazy_(std::make_unique<Lazy>()) {}
PlaceIndex::~PlaceIndex() = default;
PlaceIndex::PlaceIndex(PlaceIndex&&) noexcept = default;
PlaceIndex& PlaceIndex::operator=(PlaceIndex&&) noexcept = default;

PlaceIndex PlaceIndex::fromText(std::string_view features, std::string_view landingSites) {
    PlaceIndex index;
    std::vector<Place> places = readFeatures(features, index.error_);
    if (index.error_.empty()) {
        std::vector<Place> sites = readLandingSites(landingSites, index.error_);
        places.insert(places.end(), std::make_move_iterator(sites.begin()), std::make_move_iterator(sites.end()));
    }
    if (index.error_.empty() && places.size() > FeatureGrid::kMaxPlaces)
        index.error_ = "more than " + std::to_string(FeatureGrid::kMaxPlaces) + " places";
    if (!index.error_.empty()) return index;
    for (Place& p : places) p.extent = placeExtent(p);
    index.places_ = std::move(places);
    return index;
}

PlaceIndex PlaceIndex::fromFiles(const std::filesystem::path& features, const std::filesystem::path& landingSites) {
    const auto featureText = slurp(features);
    const auto siteText = featureText ? slurp(landingSites) : std::nullopt;
    if (!featureText || !siteText) {
        PlaceIndex index;
        index.error_ = "cannot read " + (featureText ? landingSites : features).string();
        return index;
    }
    return fromText(*featureText, *siteText);
}

const PlaceIndex& PlaceIndex::shared() {
    static const PlaceIndex index = [] {
        const std::filesystem::path features = dataPath(kFeaturesFile);
        const std::filesystem::path sites = dataPath(kLandingSitesFile);
        if (!features.empty() && !sites.empty()) return fromFiles(features, sites);
        std::string folders;
        for (const std::filesystem::path& f : dataFolders()) folders += (folders.empty() ? "" : ", ") + f.string();
        PlaceIndex missing;
        missing.error_ = "the named places (" + std::string(features.empty() ? kFeaturesFile : kLandingSitesFile) +
                         ") are not in any of: " + folders;
        return missing;
    }();
    return index;
}

std::vector<const Place*> PlaceIndex::search(std::string_view text) const {
    const std::string wanted = searchKey(text);
    if (wanted.empty()) return {};
    struct Match {
        int rank;
        const Place* place;
    };
    std::vector<Match> matches;
    for (const Place& p : places_) {
        const int rank = std::min(matchRank(p.key, wanted), matchRank(p.siteKey, wanted));
        if (rank < 4) matches.push_back({rank, &p});
    }
    std::sort(matches.begin(), matches.end(), [](const Match& a, const Match& b) {
        const Place &p = *a.place, &q = *b.place;
        if (a.rank != b.rank) return a.rank < b.rank;
        if (p.diameterKm != q.diameterKm) return p.diameterKm > q.diameterKm;
        if (p.key != q.key) return p.key < q.key;
        if (p.name != q.name) return p.name < q.name;
        return a.place < b.place;
    });
    std::vector<const Place*> found;
    found.reserve(matches.size());
    for (const Match& m : matches) found.push_back(m.place);
    return found;
}

const Place* PlaceIndex::featureAt(double latitude, double longitude) const {
    if (places_.empty()) return nullptr;
    std::call_once(lazy_->once, [this] { lazy_->grid.emplace(places_); });
    const int i = lazy_->grid->at(places_, latitude, longitude);
    return i < 0 ? nullptr : &places_[std::size_t(i)];
}

}  // namespace rubicel
