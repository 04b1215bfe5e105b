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

struct Exit {
    int status;
    std::string out, err;
};

// Runs program with args; its files may grow to fileLimit bytes at most.
Exit runProgram(const char* program, std::vector<std::string> args, const fs::path& scratch,
                rlim_t fileLimit = RLIM_INFINITY) {
    const fs::path out = scratch / "run.out", err = scratch / "run.err";
    // Everything the child needs is made before the fork: the server's threads may hold the allocator's lock.
    std::vector<char*> argv{const_cast<char*>(program)};
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const rlimit limit{fileLimit, fileLimit};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::dup2(outFd, 1);
        ::dup2(errFd, 2);
        ::execv(program, argv.data());
        ::_exit(127);
    }
    ::close(outFd);
    ::close(errFd);
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
}

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

    // The command-line renderer draws from the folder as it is.
    test::TempDir work;
    const Exit drawn = runProgram(RUBICEL_RENDER, {"--data", dir.path(), "--planet", "0", "-o", work / "mars.bmp"}, work.path());
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_GT(fs::file_size(work / "mars.bmp"), 100'000u);
}

TEST(FetchProgram, ReportsAFullDiskAndJudgesFoldersOfTiles) {
    Archive archive;
    test::TempDir dir, work;
    // Every file may grow to 8 MB: the labels arrive, no tile does.
    const Exit full = runProgram(RUBICEL_FETCH, {"--base-url", archive.server.url(), "--dir", dir.path(), "--quiet"},
                                 work.path(), 8 << 20);
    EXPECT_EQ(full.status, 1);
    EXPECT_EQ(full.out, "");
    for (const auto& tile : kTileProducts) {
        EXPECT_NE(full.err.find(std::string(tile.name) + ": " + archive.server.url() + tile.name + ": cannot write " +
                                partPath(dir.path(), tile.name).string() + ": File too large"),
                  std::string::npos) << full.err;
        EXPECT_FALSE(fs::exists(dir / tile.name));
        EXPECT_TRUE(fs::exists(dir / kLabelFolder / labelName(tile)));
    }

    // The demo tiles have no labels and pass on size and content; a copy with
    // a stretch of zeros in one tile and a fifth "megt" file fails.
    const Exit demo = runProgram(RUBICEL_FETCH, {"--verify-only", "--dir", test::demoTileFolder()}, work.path());
    EXPECT_EQ(demo.status, 0) << demo.out << demo.err;
    EXPECT_NE(demo.out.find("megt90n180gb.img: 132,710,400 bytes; label absent (not judged); content as the grid"), std::string::npos) << demo.out;
    for (const auto& tile : kTileProducts) fs::create_symlink(test::demoTileFolder() / tile.name, work / tile.name);
    fs::remove(work / kTileProducts[2].name);
    fs::copy_file(test::demoTileFolder() / kTileProducts[2].name, work / kTileProducts[2].name);
    const int fd = ::open((work / kTileProducts[2].name).c_str(), O_WRONLY);
    const std::vector<char> zeros(kTileBytes / 20);
    ASSERT_EQ(::pwrite(fd, zeros.data(), zeros.size(), off_t(kTileBytes / 2)), ssize_t(zeros.size()));
    ::close(fd);
    std::ofstream(work / "megt-notes.txt") << "notes\n";
    const Exit damaged = runProgram(RUBICEL_FETCH, {"--verify-only", "--dir", work.path()}, work.path());
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.out.find("megt90n000gb.img: 132,710,400 bytes; label absent (not judged); content NOT as the grid"), std::string::npos) << damaged.out;
    EXPECT_NE(damaged.err.find("the folder holds 5 files whose names begin with \"megt\""), std::string::npos) << damaged.err;
}

}  // namespace
}  // namespace rubicel::fetch
