// SPDX-License-Identifier: MIT
// fetch_test.cpp: downloads from a loopback server with scripted faults, run after run; the program on a full disk and on tile folders.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fetch/demo_tiles.h"
#include "fetch/fetcher.h"
#include "fetch/pds_label.h"
#include "fetch/test_server.h"
#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace rubicel::fetch {
namespace {

namespace fs = std::filesystem;
using test::readAll;
using test::TestServer;

std::string name(int i) { return kTileProducts[std::size_t(i)].name; }
std::string label(int i) { return labelName(kTileProducts[std::size_t(i)]); }
fs::path demo(int i) { return test::demoTileFolder() / name(i); }

bool sameBytes(const fs::path& a, const fs::path& b) {
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    std::vector<char> p(1 << 20), q(1 << 20);
    while (x.read(p.data(), std::streamsize(p.size())), y.read(q.data(), std::streamsize(q.size())), x.gcount() > 0)
        if (x.gcount() != y.gcount() || !std::equal(p.begin(), p.begin() + x.gcount(), q.begin())) return false;
    return x.is_open() && y.is_open() && y.gcount() == 0;
}

// The four demo tiles and their labels on a server under their lower-case names.
struct Archive {
    test::TempDir labels;
    TestServer server;
    Archive() {
        for (int i = 0; i < 4; ++i) {
            test::writeBytes(labels / label(i), megdrLabelText(kTileProducts[std::size_t(i)]));
            server.serve(label(i), labels / label(i));
            server.serve(name(i), demo(i));
        }
    }
};

struct Exit {
    int status;
    std::string out, err;
};

// Runs program with args through the shell; no file it writes may grow past fileBlocks 512-byte blocks.
Exit runProgram(const std::string& program, const std::vector<std::string>& args, const fs::path& scratch,
                const std::string& fileBlocks = "unlimited") {
    std::string command = "ulimit -f " + fileBlocks + "; exec '" + program + "'";
    for (const auto& a : args) command += " '" + a + "'";  // no quotes in test paths and addresses
    const int raw = std::system((command + " >" + (scratch / "out").string() + " 2>" + (scratch / "err").string()).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readAll(scratch / "out"), readAll(scratch / "err")};
}

// One run with quick retries; returns whether all is well and every notice, failures marked.
std::pair<bool, std::string> fetchOnce(const std::string& url, const fs::path& folder) {
    FetchOptions o{folder, url, 2, {2, std::chrono::milliseconds(10), std::chrono::seconds(1), std::chrono::seconds(5)}};
    FetchStatus status;
    std::string said;
    const bool ok = fetchTiles(o, test::molaGrid(), status, [&](const std::string& line, bool failure) {
                        said += (failure ? "FAILED " : "") + line + "\n";
                    }).ok;
    std::printf("%s", said.c_str());
    return {ok, said};
}

TEST(Fetch, FaultsLoseNothingAndTheNextRunResumesUntilTheFourTilesAreWhole) {
    Archive archive;
    TestServer& server = archive.server;
    test::TempDir dir;
    const std::string url = server.url();
    const std::uint64_t third = kTileBytes / 3;

    // Run 1. Tile 0 loses its connection half-way and resumes; its label comes
    // through a redirect. Tile 1 is kept under upper-case names and fails once
    // with a 500. Tile 2 stalls after a third. Tile 3 has the label of tile 2.
    server.serve(name(0), demo(0), {.cutAt = kTileBytes / 2, .cuts = 1});
    server.serve(label(0), archive.labels / label(0), {.redirect = true});
    server.serve(upperCase(name(1)), demo(1), {.status = 500, .statusTimes = 1});
    server.serve(upperCase(label(1)), archive.labels / label(1));
    server.serve(name(1), {});
    server.serve(label(1), {});
    server.serve(name(2), demo(2), {.stallAt = third, .stalls = 2});
    server.serve(label(3), archive.labels / label(2));
    auto [ok, said] = fetchOnce(url, dir.path());
    EXPECT_FALSE(ok);
    for (const int i : {0, 1}) EXPECT_TRUE(sameBytes(dir / name(i), demo(i))) << name(i);
    for (const int i : {2, 3}) EXPECT_FALSE(fs::exists(dir / name(i))) << name(i);
    EXPECT_EQ(server.counts(name(0)).bodyBytes, kTileBytes) << "sent again what had arrived";
    EXPECT_EQ(server.counts(name(0)).requests, 2);
    EXPECT_EQ(server.counts(upperCase(name(1))).requests, 2);
    EXPECT_EQ(server.counts(name(3)).requests, 0);
    EXPECT_GE(fs::file_size(partPath(dir.path(), name(2))), third);
    EXPECT_NE(said.find("FAILED " + name(2) + ": " + url + name(2) + ": no data for 1 s"), std::string::npos);
    EXPECT_NE(said.find("FAILED " + label(3) + ": " + url + label(3) + ": the label does not describe " + name(3) +
                        "; IMAGE_MAP_PROJECTION WESTERNMOST_LONGITUDE is 0, not 180"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir / kLabelFolder / label(3)));

    // Run 2. Tile 2 resumes where it stalled; tile 3 has its label but is not there.
    server.serve(name(2), demo(2));
    server.serve(label(3), archive.labels / label(3));
    server.serve(name(3), {});
    const std::uint64_t sentBefore = server.counts(name(2)).bodyBytes;
    std::tie(ok, said) = fetchOnce(url, dir.path());
    EXPECT_EQ(server.counts(name(0)).requests, 2) << "a good tile is not fetched again";
    EXPECT_LE(server.counts(name(2)).bodyBytes - sentBefore, kTileBytes - third);
    EXPECT_TRUE(sameBytes(dir / name(2), demo(2)));
    EXPECT_NE(said.find("FAILED " + name(3) + ": " + url + upperCase(name(3)) + ": not found (HTTP 404); also tried " +
                        url + name(3) + "\n"),
              std::string::npos);

    // Run 3. Tile 3 comes with its bytes swapped and is refused.
    server.serve(name(3), demo(3), {.swapBytes = true});
    std::tie(ok, said) = fetchOnce(url, dir.path());
    EXPECT_NE(said.find("FAILED " + name(3) + ": " + url + name(3) + ": refused, removed: 132,710,400 bytes; label good; "
                        "content NOT as the grid"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(dir / name(3)));
    EXPECT_FALSE(fs::exists(partPath(dir.path(), name(3))));

    // Run 4 ends with the four tiles and their labels as served, which the renderer draws.
    server.serve(name(3), demo(3));
    std::tie(ok, said) = fetchOnce(url, dir.path());
    EXPECT_TRUE(ok);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(sameBytes(dir / name(i), demo(i))) << name(i);
        EXPECT_EQ(readAll(dir / kLabelFolder / label(i)), readAll(archive.labels / label(i)));
    }
    test::TempDir work;
    const Exit drawn = runProgram(RUBICEL_RENDER, {"--data", dir.path(), "--planet", "0", "-o", work / "mars.bmp"}, work.path());
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_GT(fs::file_size(work / "mars.bmp"), 100'000u);
}

TEST(FetchProgram, ReportsAFullDiskAndJudgesFoldersOfTiles) {
    // A local copy of the archive, given as a file: address.
    Archive archive;
    for (int i = 0; i < 4; ++i) fs::create_symlink(demo(i), archive.labels / name(i));
    const std::string local = "file://" + archive.labels.path().string() + "/";
    test::TempDir dir, work;
    // No file may grow past 8 MB (16 MB where the shell counts kilobytes): the labels arrive, no tile does.
    const Exit full = runProgram(RUBICEL_FETCH, {"--base-url", local, "--dir", dir.path(), "--quiet"}, work.path(), "16384");
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.out, "");
    for (int i = 0; i < 4; ++i) {
        EXPECT_NE(full.err.find(name(i) + ": " + local + name(i) + ": cannot write " +
                                partPath(dir.path(), name(i)).string() + ": File too large"),
                  std::string::npos) << full.err;
        EXPECT_FALSE(fs::exists(dir / name(i)));
        EXPECT_TRUE(fs::exists(dir / kLabelFolder / label(i)));
    }

    // The demo tiles have no labels and pass on size and content; a copy with
    // a stretch of zeros in one tile and a fifth "megt" file fails.
    const Exit good = runProgram(RUBICEL_FETCH, {"--verify-only", "--dir", test::demoTileFolder()}, work.path());
    EXPECT_EQ(good.status, 0) << good.out << good.err;
    EXPECT_NE(good.out.find(name(3) + ": 132,710,400 bytes; label absent (not judged); content as the grid"), std::string::npos);
    for (const int i : {0, 1, 3}) fs::create_symlink(demo(i), work / name(i));
    std::string damaged = readAll(demo(2));
    damaged.replace(kTileBytes / 2, kTileBytes / 20, kTileBytes / 20, '\0');
    test::writeBytes(work / name(2), damaged);
    test::writeBytes(work / "megt-notes.txt", "notes\n");
    const Exit bad = runProgram(RUBICEL_FETCH, {"--verify-only", "--dir", work.path()}, work.path());
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.out.find(name(2) + ": 132,710,400 bytes; label absent (not judged); content NOT as the grid"), std::string::npos);
    EXPECT_NE(bad.err.find("the folder holds 5 files whose names begin with \"megt\""), std::string::npos) << bad.err;
}

}  // namespace
}  // namespace rubicel::fetch
