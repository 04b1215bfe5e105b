// SPDX-License-Identifier: MIT
// fetch_test.cpp: downloads from a loopback server with scripted faults, run after run; the program on a full disk and on tile folders.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fetch/demo_tiles.h"
#include "fetch/fetcher.h"
#include "fetch/pds_label.h"
#include "fetch/test_server.h"
#include "support/temp_dir.h"

namespace rubicel::fetch {
namespace {

namespace fs = std::filesystem;
using test::TestServer;

bool sameBytes(const fs::path& a, const fs::path& b) {
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    std::vector<char> p(1 << 20), q(1 << 20);
    while (x && y) {
        x.read(p.data(), std::streamsize(p.size()));
        y.read(q.data(), std::streamsize(q.size()));
        if (x.gcount() != y.gcount() || !std::equal(p.begin(), p.begin() + x.gcount(), q.begin())) return false;
    }
    return x.eof() && y.eof();
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The four demo tiles and their labels on a server, by their lower-case names.
struct Archive {
    test::TempDir labels;
    TestServer server;
    Archive() {
        for (const auto& tile : kTileProducts) {
            std::ofstream(labels / labelName(tile), std::ios::binary) << megdrLabelText(tile);
            server.serve(labelName(tile), labels / labelName(tile));
            server.serve(tile.name, test::demoTileFolder() / tile.name);
        }
    }
};

struct Said {
    bool ok;
    std::string said;  // every notice, one a line, failures marked "FAILED "
};

Said fetchOnce(const std::string& url, const fs::path& folder) {
    FetchOptions o;
    o.folder = folder;
    o.baseUrl = url;
    o.transfer.attempts = 2;
    o.transfer.backoff = std::chrono::milliseconds(10);
    o.transfer.stall = std::chrono::seconds(1);
    FetchStatus status;
    std::string said;
    const auto outcome = fetchTiles(o, test::molaGrid(), status, [&](const std::string& line, bool failure) {
        said += (failure ? "FAILED " : "") + line + "\n";
    });
    return {outcome.ok, said};
}

TEST(Fetch, FaultsLoseNothingAndTheNextRunResumesUntilTheFourTilesAreWhole) {
    Archive archive;
    TestServer& server = archive.server;
    test::TempDir dir;
    const auto name = [](int i) { return std::string(kTileProducts[std::size_t(i)].name); };
    const auto final = [&](int i) { return dir / name(i); };
    const auto part = [&](int i) { return partPath(dir.path(), name(i)); };
    const std::uint64_t third = kTileBytes / 3;

    // Run 1. Tile 0 loses its connection half-way and resumes; its label comes
    // through a redirect. Tile 1 is kept under upper-case names and fails once
    // with a 500. Tile 2 stalls after a third. Tile 3 is not there at all.
    server.script(name(0), {.cutAt = kTileBytes / 2, .cuts = 1});
    server.script(labelName(kTileProducts[0]), {.redirect = true});
    server.serve(upperCase(name(1)), test::demoTileFolder() / name(1));
    server.serve(upperCase(labelName(kTileProducts[1])), archive.labels / labelName(kTileProducts[1]));
    server.forget(name(1));
    server.forget(labelName(kTileProducts[1]));
    server.script(upperCase(name(1)), {.status = 500, .statusTimes = 1});
    server.script(name(2), {.stallAt = third, .stalls = 2});
    server.forget(name(3));
    Said run = fetchOnce(server.url(), dir.path());
    std::printf("%s", run.said.c_str());
    EXPECT_FALSE(run.ok);
    for (const int i : {0, 1}) EXPECT_TRUE(sameBytes(final(i), test::demoTileFolder() / name(i))) << name(i);
    for (const int i : {2, 3}) EXPECT_FALSE(fs::exists(final(i))) << name(i);
    const auto resumed = server.counts(name(0));
    EXPECT_EQ(resumed.bodyBytes, kTileBytes) << "sent again what had arrived";
    EXPECT_EQ(resumed.rangeStarts, std::vector<std::uint64_t>{kTileBytes / 2});
    EXPECT_EQ(server.counts(upperCase(name(1))).requests, 2);
    EXPECT_GE(fs::file_size(part(2)), third);
    EXPECT_NE(run.said.find("FAILED " + name(2) + ": " + server.url() + name(2) + ": no data for 1 s"), std::string::npos);
    EXPECT_NE(run.said.find("FAILED " + name(3) + ": " + server.url() + upperCase(name(3)) + ": not found (HTTP 404); also tried " +
                            server.url() + name(3) + "\n"), std::string::npos);

    // Run 2. Tile 2 comes back and resumes where it stalled; tile 3 arrives
    // with its bytes swapped and is refused. The good tiles are not fetched again.
    server.script(name(2), {});
    server.serve(name(3), test::demoTileFolder() / name(3));
    server.script(name(3), {.swapBytes = true});
    const std::uint64_t sentBefore = server.counts(name(2)).bodyBytes;
    run = fetchOnce(server.url(), dir.path());
    std::printf("%s", run.said.c_str());
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(server.counts(name(0)).requests, 2);
    EXPECT_LT(server.counts(name(2)).bodyBytes - sentBefore, kTileBytes - third + 1);
    EXPECT_TRUE(sameBytes(final(2), test::demoTileFolder() / name(2)));
    EXPECT_NE(run.said.find("FAILED " + name(3) + ": " + server.url() + name(3) + ": refused, removed:"), std::string::npos);
    EXPECT_NE(run.said.find("content NOT as the grid"), std::string::npos);
    EXPECT_FALSE(fs::exists(final(3)));
    EXPECT_FALSE(fs::exists(part(3)));

    // Run 3 ends with the four tiles and their labels, as served.
    server.script(name(3), {});
    run = fetchOnce(server.url(), dir.path());
    EXPECT_TRUE(run.ok) << run.said;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(sameBytes(final(i), test::demoTileFolder() / name(i))) << name(i);
        EXPECT_EQ(slurp(dir / kLabelFolder / labelName(kTileProducts[std::size_t(i)])), megdrLabelText(kTileProducts[std::size_t(i)]));
    }
    const auto report = verifyFolder(dir.path(), test::molaGrid());
    EXPECT_TRUE(report.good());
    for (const auto& t : report.tiles) EXPECT_EQ(t.label, LabelState::Good) << t.text(true);
}

}  // namespace
}  // namespace rubicel::fetch
