// SPDX-License-Identifier: MIT
// atlas.cpp: every named feature and both whole-planet maps drawn into one folder on several threads, with a gallery page.
#include "export/atlas.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <filesystem>
#include <thread>

#include "common/file_replace.h"
#include "common/raster.h"
#include "export/geo_transform.h"
#include "export/png_writer.h"
#include "keys/colour_keys.h"
#include "keys/key_font.h"
#include "platform/headless/headless_platform.h"
#include "windows/feature_catalogue.h"
#include "windows/key_windows.h"
#include "windows/program.h"

namespace rubicel {

namespace {

constexpr int kThumbnailWidth = 240;
constexpr int kThumbnailHeight = 180;
constexpr const char* kThumbnailFolder = "thumbnails";

// The picture shrunk to fit the thumbnail box, every pixel taken from the map
// (nearest neighbour), so its colours are the map's own.
Raster thumbnailOf(const Raster& image) {
    Raster small;
    if (image.empty()) return small;
    const double scale = std::min({1.0, double(kThumbnailWidth) / image.width(), double(kThumbnailHeight) / image.height()});
    const int w = std::max(1, int(image.width() * scale));
    const int h = std::max(1, int(image.height() * scale));
    small.reset(w, h);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* from = image.row(int(std::int64_t(y) * image.height() / h));
        std::uint32_t* to = small.row(y);
        for (int x = 0; x < w; ++x) to[x] = from[std::int64_t(x) * image.width() / w];
    }
    return small;
}

std::string firstMessage(const HeadlessPlatform& ui) {
    for (const auto& m : ui.messages)
        if (isRenderingFailure(m.text)) return m.text;
    return ui.messages.empty() ? std::string("the map was not drawn") : ui.messages.front().text;
}

// Draws one entry and writes its map and thumbnail; the outcome goes into e.
void drawEntry(const AtlasSettings& s, Program& p, HeadlessPlatform& ui, AtlasEntry& e) {
    namespace fs = std::filesystem;
    p.colour = s.colour;
    p.relief = s.relief;
    p.map.resolution = 1;
    ui.messages.clear();
    if (!drawMap(p, ui, e.request)) {
        e.failure = firstMessage(ui);
        return;
    }
    const Raster& image = p.dmap.image;
    e.step = p.map.resolution;
    e.width = image.width();
    e.height = image.height();
    e.failure = writeMap(image, (fs::path(s.folder) / e.file).string(), s.format, geoTransformOf(p.dmap),
                         s.worldFiles);
    if (!e.failure) e.failure = writePng(thumbnailOf(image), (fs::path(s.folder) / e.thumbnail).string());
}

// Draws entries[i] for every i the shared counter hands out, on a program of its
// own; writes only its own entries.
void drawEntries(const AtlasSettings& s, std::vector<AtlasEntry>& entries, std::atomic<std::size_t>& next,
                 std::atomic<int>& done) {
    HeadlessPlatform ui;
    Program p(ui);
    p.map.versiontext = kVersionText;
    p.map.datafolder = s.datafolder;
    p.File1 = s.tiles;
    for (std::size_t i = next++; i < entries.size(); i = next++) {
        AtlasEntry& e = entries[i];
        try {
            drawEntry(s, p, ui, e);
        } catch (const std::exception& error) {
            e.failure = error.what();  // out of memory, say: this map only
        }
        ++done;
    }
}

}  // namespace

std::string fileNameOf(const std::string& caption) {
    std::string name;
    bool gap = false;
    for (const char c : caption) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
        const bool capital = c >= 'A' && c <= 'Z';
        if (c == '\'') continue;  // "Ma'adin" reads as one word
        if (letter || capital) {
            if (gap && !name.empty()) name += '-';
            name += capital ? char(c - 'A' + 'a') : c;
            gap = false;
        } else {
            gap = true;
        }
    }
    return name.empty() ? "map" : name;
}

std::vector<AtlasEntry> atlasEntries(ImageFormat format) {
    std::vector<AtlasEntry> entries;
    auto add = [&](MapRequest request, std::string_view group) {
        AtlasEntry e;
        const std::string name = fileNameOf(request.caption);
        e.file = name + extensionOf(format);
        e.thumbnail = std::string(kThumbnailFolder) + "/" + name + ".png";
        e.request = std::move(request);
        e.group = group;
        entries.push_back(std::move(e));
    };
    for (const FeatureSubmenu& submenu : featureSubmenus())
        for (const Feature& f : submenu.features) add(MapRequest::feature(f), submenu.caption);
    add(MapRequest::planet(0), "Entire Planet");
    add(MapRequest::planet(180), "Entire Planet");
    add(MapRequest::polar(1, 60), "Polar Regions");
    add(MapRequest::polar(-1, 60), "Polar Regions");
    return entries;
}

std::vector<AtlasEntry> makeAtlas(const AtlasSettings& s, const std::function<void(int, int)>& progress,
                                  std::optional<std::string>& pageFailure) {
    namespace fs = std::filesystem;
    std::vector<AtlasEntry> entries = atlasEntries(s.format);
    std::error_code ec;
    fs::create_directories(fs::path(s.folder) / kThumbnailFolder, ec);
    if (ec) {
        pageFailure = "Cannot create the folder " + (fs::path(s.folder) / kThumbnailFolder).string() + ": " +
                      ec.message();
        return entries;
    }

    std::atomic<std::size_t> next{0};
    std::atomic<int> done{0};
    const int total = int(entries.size());
    {
        std::vector<std::jthread> workers;
        const int jobs = std::clamp(s.jobs, 1, total);
        for (int j = 0; j < jobs; ++j)
            workers.emplace_back([&] { drawEntries(s, entries, next, done); });
        int shown = -1;
        while (done.load() < total) {
            if (done.load() != shown) progress(shown = done.load(), total);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    progress(total, total);

    // The vertical key, as its window shows it for these colours.
    std::string keyFile;
    if (KeyFont::shared()) {
        HeadlessPlatform ui;
        Program p(ui);
        p.colour = s.colour;
        makekey(p, p.colour.scheme);
        keyFile = "colour-key.png";
        if (auto failure = writePng(p.Key.image, (fs::path(s.folder) / keyFile).string())) {
            pageFailure = failure;
            keyFile.clear();
        }
    }
    const std::string page = atlasPage(entries, s, keyFile);
    const std::string path = (fs::path(s.folder) / "index.html").string();
    if (const auto failure = replaceFile(
            path, [&page](int fd) { return writeAll(fd, page.data(), page.size()); }, LinkAtPath::Replace))
        pageFailure = describeFailure(*failure);
    return entries;
}

}  // namespace rubicel
