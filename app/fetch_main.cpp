// SPDX-License-Identifier: MIT
// fetch_main.cpp: rubicel-fetch, which downloads and verifies the four 64 pixels-per-degree tiles.
#include <curl/curl.h>
#include <unistd.h>

#include <charconv>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "common/data_path.h"
#include "fetch/fetcher.h"
#include "fetch/progress_display.h"
#include "fetch/tile_verifier.h"

namespace {

using namespace rubicel;
using namespace rubicel::fetch;
namespace fs = std::filesystem;

constexpr const char* kUsage = "Usage: rubicel-fetch [--dir DIR] [--base-url URL] [--jobs N] [--verify-only] [--quiet]\n";

constexpr const char* kHelp =
    "Downloads the four MOLA MEGDR tiles at 64 pixels per degree (megt00n000gb.img,\n"
    "megt00n180gb.img, megt90n000gb.img, megt90n180gb.img, 132,710,400 bytes each)\n"
    "and their PDS labels, verifies each, and leaves them in a folder to choose with\n"
    "File > Set MEGDR064 DEM File Folder or to give to rubicel-render --data.\n"
    "\n"
    "Options:\n"
    "  --dir DIR        the folder for the tiles; default\n"
    "                   ${XDG_DATA_HOME:-$HOME/.local/share}/rubicel/megdr064\n"
    "  --base-url URL   where the tiles are, if not at the PDS Geosciences Node (see\n"
    "                   below): a mirror (http:// or https://) or a local copy\n"
    "                   (file:///path/to/folder/); names in lower or upper case\n"
    "                   are both found\n"
    "  --jobs N         tiles downloaded at once, 1 to 4; default 2\n"
    "  --verify-only    checks the tiles in DIR, however they came, and fetches nothing\n"
    "  --quiet          prints failures only\n"
    "  -h, --help       shows this text\n"
    "\n"
    "By default the tiles come from the folder of data set MGS-M-MOLA-5-MEGDR-L3-V1.0\n"
    "at the PDS Geosciences Node:\n"
    "\n"
    "  https://pds-geosciences.wustl.edu/mgs/mgs-m-mola-5-megdr-l3-v1/mgsl_300x/meg064/\n"
    "\n"
    "Each file is downloaded to a hidden .NAME.part file beside its place and takes its\n"
    "name only once verified. A run that is interrupted or fails resumes the .part\n"
    "files the next time; tiles already there and good are not fetched again. Lost\n"
    "connections, time-outs, server errors (5xx) and transfers that stall for 60 s\n"
    "are tried again, five times at most, after 2, 4, 8 and 16 s. Labels go to\n"
    "DIR/labels: beside the tiles, files whose names begin with \"megt\" would be more\n"
    "than the four the desktop program accepts.\n"
    "\n"
    "Verification of a tile: its size; its label (record length 23040 bytes, 5760\n"
    "records, 11520 16-bit MSB_INTEGER samples a line, the latitudes and longitudes\n"
    "of the tile's name); and its content, the samples averaged over each cell of the\n"
    "4 pixels-per-degree MOLA grid shipped with Rubicel and compared with it: the\n"
    "median difference at most 60 m, at least 90% of the cells within 250 m, no row\n"
    "of cells with a median over 250 m, and the tile fitting the grid at least 1.1\n"
    "times better where it is than moved by one cell. --verify-only reports a\n"
    "missing label (the demo tiles have none) without refusing the tile.\n"
    "\n"
    "Progress goes to standard error: on a terminal a line per tile and a total, else\n"
    "a line per finished file. The report of each tile goes to standard output. The\n"
    "exit status is 0 when the four tiles are there and good, 1 otherwise and 2 for a\n"
    "wrong command line.\n";

struct Options {
    fs::path folder;
    std::string baseUrl = kDefaultBaseUrl;
    int jobs = 2;
    bool verifyOnly = false, quiet = false, help = false;
};

// Returns the complaint about the command line, or nothing.
std::string parseOptions(int argc, char** argv, Options& o) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool hasValue = i + 1 < args.size() && !args[i + 1].empty();
        if (arg == "-h" || arg == "--help") {
            o.help = true;
        } else if (arg == "--verify-only") {
            o.verifyOnly = true;
        } else if (arg == "--quiet") {
            o.quiet = true;
        } else if (arg == "--dir" || arg == "--base-url" || arg == "--jobs") {
            if (!hasValue) return std::string(arg) + " needs a value";
            const std::string_view value = args[++i];
            if (arg == "--dir") o.folder = value;
            else if (arg == "--base-url") o.baseUrl = value;
            else {
                const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), o.jobs);
                if (error != std::errc() || end != value.data() + value.size() || o.jobs < 1 || o.jobs > 4)
                    return "--jobs: '" + std::string(value) + "' is not a whole number from 1 to 4";
            }
        } else {
            return "unknown option '" + std::string(arg) + "'";
        }
    }
    return {};
}

fs::path defaultFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (data && *data) return fs::path(data) / "rubicel" / "megdr064";
    if (home && *home) return fs::path(home) / ".local" / "share" / "rubicel" / "megdr064";
    return {};
}

int fail(const std::string& what) {
    std::fprintf(stderr, "rubicel-fetch: %s\n", what.c_str());
    return 1;
}

int verifyOnly(const Options& o, const mktiles::Grid& grid) {
    const FolderReport report = verifyFolder(o.folder, grid);
    for (const auto& t : report.tiles) {
        if (!o.quiet) std::printf("%s\n", t.text(false).c_str());
        else if (!t.good(false)) std::fprintf(stderr, "%s\n", t.text(false).c_str());
    }
    for (const auto& p : report.problems) std::fprintf(stderr, "rubicel-fetch: %s\n", p.c_str());
    if (!report.good()) return fail(o.folder.string() + " does not hold the four good tiles");
    if (!o.quiet) std::printf("%s holds the four tiles, all good\n", o.folder.string().c_str());
    return 0;
}

int fetchAll(const Options& o, const mktiles::Grid& grid) {
    FetchOptions options;
    options.folder = o.folder;
    options.baseUrl = o.baseUrl;
    options.jobs = o.jobs;
    FetchStatus status;
    const auto mode = o.quiet ? ProgressDisplay::Mode::Quiet
                      : ::isatty(STDERR_FILENO) ? ProgressDisplay::Mode::Terminal
                                                : ProgressDisplay::Mode::Lines;
    ProgressDisplay display(mode, stderr, status);

    // The display is drawn again a few times a second while the tiles come.
    std::mutex mutex;
    std::condition_variable wake;
    bool finished = false;
    std::thread painter([&] {
        std::unique_lock lock(mutex);
        while (!wake.wait_for(lock, std::chrono::milliseconds(250), [&] { return finished; })) display.refresh();
    });
    const FetchOutcome outcome =
        fetchTiles(options, grid, status, [&](const std::string& line, bool failure) { display.notice(line, failure); });
    {
        const std::lock_guard lock(mutex);
        finished = true;
    }
    wake.notify_one();
    painter.join();
    display.refresh();

    int missing = 0;
    for (const auto& r : outcome.reports) {
        const bool good = !r.path.empty() && r.good(true);
        missing += !good;
        if (!o.quiet) std::printf("%s\n", good ? r.text(true).c_str() : (std::string(r.tile->name) + ": not fetched; verdict: BAD").c_str());
    }
    if (!outcome.ok)
        return fail(std::to_string(missing) + " of the 4 tiles are missing or refused; run rubicel-fetch again to resume");
    if (!o.quiet)
        std::printf("The four tiles are in %s/\nChoose that folder with File > Set MEGDR064 DEM File Folder, or give it to "
                    "rubicel-render --data.\n",
                    fs::absolute(o.folder).lexically_normal().string().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options o;
    if (const std::string complaint = parseOptions(argc, argv, o); !complaint.empty()) {
        std::fprintf(stderr, "rubicel-fetch: %s\n%s", complaint.c_str(), kUsage);
        return 2;
    }
    if (o.help) {
        std::printf("%s\n%s", kUsage, kHelp);
        return 0;
    }
    if (o.folder.empty()) o.folder = defaultFolder();
    if (o.folder.empty()) return fail("neither XDG_DATA_HOME nor HOME is set: give the folder with --dir");
    // A write past a file-size limit then fails with a message instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);

    const fs::path gridPath = dataPath("megt90n000cb.img");
    mktiles::Grid grid;
    if (gridPath.empty()) return fail("cannot find the MOLA grid megt90n000cb.img the tiles are checked against");
    if (auto error = mktiles::loadGrid(gridPath.string(), mktiles::kGridRows, mktiles::kGridColumns, grid)) return fail(*error);

    if (o.verifyOnly) return verifyOnly(o, grid);
    curl_global_init(CURL_GLOBAL_DEFAULT);
    const int status = fetchAll(o, grid);
    curl_global_cleanup();
    return status;
}
