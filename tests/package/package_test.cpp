// SPDX-License-Identifier: MIT
// package_test.cpp: the Debian package is built, unpacked into a scratch root, and its programs run from there.
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "maps/tile_file.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Returns s in single quotes for the shell.
std::string quoted(const std::string& s) {
    std::string q = "'";
    for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string trimmed(std::string s) {
    while (!s.empty() && (s.back() == '\n' || s.back() == ' ')) s.pop_back();
    return s;
}

struct Outcome {
    int status;
    std::string out, err;
};

// Runs a shell command; its output goes through files in scratch.
Outcome run(const std::string& command, const fs::path& scratch) {
    const fs::path out = scratch / "run.out", err = scratch / "run.err";
    const int raw = std::system((command + " >" + quoted(out) + " 2>" + quoted(err)).c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
}

// Splits an Exec value of a desktop entry into its arguments: spaces separate,
// double quotes group, and within them a backslash escapes ", `, $ and itself.
std::vector<std::string> execArguments(const std::string& exec) {
    std::vector<std::string> args;
    std::string arg;
    bool inQuotes = false, started = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (inQuotes) {
            if (c == '"') {
                inQuotes = false;
            } else if (c == '\\' && i + 1 < exec.size()) {
                arg += exec[++i];
            } else {
                arg += c;
            }
        } else if (c == ' ') {
            if (started) args.push_back(arg);
            arg.clear();
            started = false;
        } else {
            started = true;
            if (c == '"') inQuotes = true;
            else arg += c;
        }
    }
    if (started) args.push_back(arg);
    return args;
}

// The keys of the [Desktop Entry] group.
std::map<std::string, std::string> desktopEntry(const fs::path& file) {
    std::map<std::string, std::string> keys;
    std::istringstream in(slurp(file));
    std::string line, group;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '[') {
            group = line;
            continue;
        }
        const auto eq = line.find('=');
        if (group == "[Desktop Entry]" && eq != std::string::npos) keys[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return keys;
}

// Builds the package once and unpacks it; every test reads the result.
class Package : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch_ = new test::TempDir;
        const fs::path out = scratch_->path() / "out";
        const Outcome made = run(quoted(RUBICEL_CPACK) + " -G DEB --config " + quoted(RUBICEL_CPACK_CONFIG) + " -B " +
                                 quoted(out.string()),
                             scratch_->path());
        log_ = made.out + made.err;
        if (made.status != 0) return;
        for (const auto& entry : fs::directory_iterator(out))
            if (entry.path().extension() == ".deb") debs_.push_back(entry.path());
        if (debs_.size() != 1) return;
        root_ = scratch_->path() / "root";
        const Outcome unpacked =
            run("dpkg-deb -x " + quoted(debs_[0].string()) + " " + quoted(root_.string()), scratch_->path());
        log_ += unpacked.err;
        if (unpacked.status != 0) root_.clear();
    }
    static void TearDownTestSuite() {
        delete scratch_;
        scratch_ = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(debs_.size(), 1u) << "cpack made no single package:\n" << log_;
        ASSERT_FALSE(root_.empty()) << "the package does not unpack:\n" << log_;
    }
    static fs::path usr(const std::string& relative) { return root_ / "usr" / relative; }

    static inline test::TempDir* scratch_ = nullptr;
    static inline std::vector<fs::path> debs_;
    static inline fs::path root_;
    static inline std::string log_;
};

TEST_F(Package, IsNamedForVersionAndArchitectureAndDeclaresItsDependencies) {
    test::TempDir work;
    const std::string arch = trimmed(run("dpkg --print-architecture", work.path()).out);
    ASSERT_FALSE(arch.empty());
    EXPECT_EQ(debs_[0].filename(), "rubicel_" RUBICEL_VERSION "_" + arch + ".deb");

    const Outcome fields = run("dpkg-deb -f " + quoted(debs_[0].string()), work.path());
    ASSERT_EQ(fields.status, 0) << fields.err;
    std::map<std::string, std::string> control;
    std::istringstream in(fields.out);
    for (std::string line; std::getline(in, line);) {
        const auto colon = line.find(": ");
        if (colon != std::string::npos && line[0] != ' ') control[line.substr(0, colon)] = line.substr(colon + 2);
    }
    const struct { const char* field; std::string value; } expected[] = {
        {"Package", "rubicel"}, {"Version", RUBICEL_VERSION}, {"Architecture", arch}, {"Section", "science"},
    };
    for (const auto& e : expected) EXPECT_EQ(control[e.field], e.value) << e.field;

    // Depends: the font and the certificates named outright, the shared libraries found by dpkg-shlibdeps.
    std::set<std::string> depends;
    std::istringstream list(control["Depends"]);
    for (std::string item; std::getline(list, item, ',');) {
        std::istringstream words(item);
        std::string name;
        words >> name;
        depends.insert(name);
    }
    std::vector<std::string> needed = {"fonts-liberation", "ca-certificates", "libc6", "libstdc++6", "libcurl4"};
#ifdef RUBICEL_DESKTOP
    needed.insert(needed.end(), {"libqt6core6", "libqt6gui6", "libqt6widgets6"});
#endif
    for (const auto& name : needed) EXPECT_EQ(depends.count(name), 1u) << name << " in " << control["Depends"];
}

TEST_F(Package, InstallsEachFileWhereTheDesktopLooksForIt) {
    struct Expected {
        std::string path;
        bool executable;
    };
    std::vector<Expected> files = {
        {"bin/rubicel-mktiles", true},
        {"bin/rubicel-fetch", true},
        {"share/man/man1/rubicel-fetch.1.gz", false},
        {"share/applications/rubicel.desktop", false},
        {"share/icons/hicolor/scalable/apps/rubicel.svg", false},
        {"share/man/man1/rubicel-mktiles.1.gz", false},
        {"share/rubicel/megt90n000cb.img", false},
        {"share/rubicel/PROVENANCE.md", false},
        {"share/rubicel/nomenclature/mars_features.csv", false},
        {"share/rubicel/nomenclature/landing_sites.csv", false},
        {"share/rubicel/nomenclature/README.md", false},
        {"share/doc/rubicel/copyright", false},
        {"lib/rubicel/librubicel-geotiff.so", false},
        {"lib/rubicel/librubicel-cairo.so", false},
    };
#ifdef RUBICEL_RENDER
    files.push_back({"bin/rubicel-render", true});
    files.push_back({"share/man/man1/rubicel-render.1.gz", false});
#endif
#ifdef RUBICEL_DESKTOP
    files.push_back({"bin/rubicel", true});
    files.push_back({"share/man/man1/rubicel.1.gz", false});
#endif
#ifdef RUBICEL_HELP
    files.push_back({"share/rubicel/rubicel.chm", false});
#endif
    std::set<std::string> programs;
    for (const auto& f : files) {
        EXPECT_TRUE(fs::is_regular_file(usr(f.path))) << f.path;
        const bool runnable = (fs::status(usr(f.path)).permissions() & fs::perms::others_exec) != fs::perms::none;
        EXPECT_EQ(runnable, f.executable) << f.path;
        if (f.executable) programs.insert(usr(f.path).filename().string());
    }

    // Everything lies below /usr, and bin/ holds the programs and nothing else
    // (no tests, no build tools).
    for (const auto& entry : fs::directory_iterator(root_)) EXPECT_EQ(entry.path().filename(), "usr");
    std::set<std::string> installed;
    for (const auto& entry : fs::directory_iterator(usr("bin"))) installed.insert(entry.path().filename().string());
    EXPECT_EQ(installed, programs);

    EXPECT_EQ(slurp(usr("share/rubicel/megt90n000cb.img")), slurp(RUBICEL_MOLA_GRID));
    for (const char* name : {"mars_features.csv", "landing_sites.csv"})
        EXPECT_TRUE(slurp(usr("share/rubicel/nomenclature") / name) == slurp(fs::path(RUBICEL_PLACES_DIR) / name)) << name;
}

TEST_F(Package, ManualPagesDescribeThePrograms) {
    struct Page {
        std::string program;
        std::vector<std::string> synopsis;  // all within the SYNOPSIS section
        std::vector<std::string> says;      // anywhere
    };
    std::vector<Page> pages = {
        {"rubicel-mktiles", {"rubicel-mktiles", "GRID", "OUTDIR"}, {"rubicel-mktiles \\- ", "\\-\\-help"}},
        {"rubicel-fetch", {"rubicel-fetch", "--dir DIR", "--base-url URL", "--verify-only"},
         {"rubicel-fetch \\- ", "\\-\\-jobs", "megt90n180gb.img", "\\-\\-help"}},
    };
#ifdef RUBICEL_RENDER
    pages.push_back({"rubicel-render",
                     {"rubicel-render", "--data DIR", "--tile", "-o FILE.bmp"},
                     {"rubicel-render \\- ", "\\-\\-data", "\\-\\-tile", "\\-\\-help"}});
#endif
#ifdef RUBICEL_DESKTOP
    pages.push_back({"rubicel", {"rubicel"}, {"rubicel \\- ", "mgr064srubicel.cfg", "Maps"}});
#endif
    test::TempDir work;
    for (const auto& page : pages) {
        const fs::path file = usr("share/man/man1/" + page.program + ".1.gz");
        const Outcome text = run("gzip -dc " + quoted(file.string()), work.path());
        ASSERT_EQ(text.status, 0) << page.program << ": " << text.err;
        // The title line names the program in capitals, section 1.
        const auto th = text.out.find("\n.TH ");
        ASSERT_NE(th, std::string::npos) << page.program;
        std::istringstream title(text.out.substr(th + 5));
        std::string name, section;
        title >> name >> section;
        std::string upper = page.program;
        std::transform(upper.begin(), upper.end(), upper.begin(), [](unsigned char c) { return char(std::toupper(c)); });
        EXPECT_EQ(name, upper);
        EXPECT_TRUE(section == "1" || section == "\"1\"") << page.program << ": " << section;
        for (const auto& s : page.says) EXPECT_NE(text.out.find(s), std::string::npos) << page.program << ": " << s;
        const auto from = text.out.find("\n.SH SYNOPSIS\n"), to = text.out.find("\n.SH DESCRIPTION\n");
        ASSERT_NE(from, std::string::npos) << page.program;
        ASSERT_NE(to, std::string::npos) << page.program;
        const std::string synopsis = text.out.substr(from, to - from);
        for (const auto& s : page.synopsis) EXPECT_NE(synopsis.find(s), std::string::npos) << page.program << ": " << s;
    }
}

TEST_F(Package, MenuEntryStartsTheProgramInTheHomeFolder) {
    const fs::path file = usr("share/applications/rubicel.desktop");
    auto keys = desktopEntry(file);
    const struct { const char* key; const char* value; } expected[] = {
        {"Type", "Application"}, {"Name", "Rubicel"},   {"Icon", "rubicel"},
        {"TryExec", "rubicel"},  {"Terminal", "false"}, {"Categories", "Education;Science;Geography;"},
    };
    for (const auto& e : expected) EXPECT_EQ(keys[e.key], e.value) << e.key;
    EXPECT_TRUE(fs::is_regular_file(usr("share/icons/hicolor/scalable/apps/" + keys["Icon"] + ".svg")));
    EXPECT_NE(slurp(usr("share/icons/hicolor/scalable/apps/rubicel.svg")).find("<svg"), std::string::npos);

    test::TempDir work;
    const Outcome valid = run("desktop-file-validate " + quoted(file.string()), work.path());
    EXPECT_EQ(valid.status, 0) << valid.out << valid.err;

    // The command, started from another folder, runs the program named
    // "rubicel" on the PATH in $HOME; a stand-in records where it ran.
    const std::vector<std::string> args = execArguments(keys["Exec"]);
    ASSERT_FALSE(args.empty());
    for (const auto& a : args) EXPECT_EQ(a.find('%'), std::string::npos) << "no field codes: " << a;
    const fs::path home = work / "home", elsewhere = work / "elsewhere", bin = work / "bin";
    for (const auto& d : {home, elsewhere, bin}) fs::create_directories(d);
    const fs::path standIn = bin / "rubicel";
    std::ofstream(standIn) << "#!/bin/sh\npwd -P > \"$RUBICEL_STARTED_IN\"\n";
    fs::permissions(standIn, fs::perms::owner_all);
    std::string command = "cd " + quoted(elsewhere.string()) + " && env HOME=" + quoted(home.string()) +
                          " PATH=" + quoted(bin.string()) + ":\"$PATH\" RUBICEL_STARTED_IN=" +
                          quoted((work / "started").string());
    for (const auto& a : args) {
        command += ' ';
        command += quoted(a);
    }
    const Outcome started = run(command, work.path());
    ASSERT_EQ(started.status, 0) << command << "\n" << started.err;
    EXPECT_EQ(trimmed(slurp(work / "started")), fs::canonical(home).string()) << keys["Exec"];
}

#ifdef RUBICEL_RENDER
TEST_F(Package, InstalledRendererDrawsTheSameMapAsTheBuiltOne) {
    test::TempDir data, work;
    const auto tiles = test::makeSparseTileSet(data.path());
    // The north-west tile (the last by name) gets a slope on the records a
    // step of 24 reads, so the map is not one colour.
    for (int record = 1; record <= kTileRows; record += 24)
        test::writeRecord(tiles[3], record, [record](int c) { return std::int16_t(-8000 + c + 2 * record); });

    const std::string args = " --data " + quoted(data.folder()) + " --tile northwest --step 24 -o ";
    const fs::path installedBmp = work / "installed.bmp", builtBmp = work / "built.bmp";
    const Outcome installed = run("cd " + quoted(work.path().string()) + " && " + quoted(usr("bin/rubicel-render").string()) +
                                  args + quoted(installedBmp.string()),
                              work.path());
    ASSERT_EQ(installed.status, 0) << installed.err;
    const Outcome built =
        run(quoted(RUBICEL_RENDER) + args + quoted(builtBmp.string()), work.path());
    ASSERT_EQ(built.status, 0) << built.err;

    const std::string bmp = slurp(installedBmp);
    ASSERT_GT(bmp.size(), 54u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    auto at32 = [&bmp](std::size_t i) {
        return std::uint32_t(std::uint8_t(bmp[i])) | std::uint32_t(std::uint8_t(bmp[i + 1])) << 8 |
               std::uint32_t(std::uint8_t(bmp[i + 2])) << 16 | std::uint32_t(std::uint8_t(bmp[i + 3])) << 24;
    };
    const std::uint32_t offset = at32(10), width = at32(18), height = at32(22);
    EXPECT_EQ(bmp[28], 24) << "bits per pixel";
    const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
    EXPECT_EQ(bmp.size(), offset + stride * height);
    // A whole tile at step 24: about 11520 / 24 columns and 5760 / 24 rows.
    EXPECT_NEAR(double(width), double(kTileColumns) / 24, 1.0);
    EXPECT_NEAR(double(height), double(kTileRows) / 24, 1.0);
    const std::string pixels = bmp.substr(offset);
    EXPECT_NE(pixels.find_first_not_of(pixels.substr(0, 3)), std::string::npos) << "the map is one colour";
    EXPECT_TRUE(bmp == slurp(builtBmp)) << "the installed and the built program draw different maps";
}

TEST_F(Package, InstalledRendererWritesGeoTiffsThroughTheInstalledModule) {
    test::TempDir data, work;
    test::makeSparseTileSet(data.path());
    const std::string render = "cd " + quoted(work.path().string()) + " && " +
                               quoted(usr("bin/rubicel-render").string()) + " --data " + quoted(data.folder()) +
                               " --planet 0 --step 24 -o ";
    const Outcome installed = run(render + "installed.tif", work.path());
    ASSERT_EQ(installed.status, 0) << installed.err;
    const Outcome built = run(quoted(RUBICEL_RENDER) + " --data " + quoted(data.folder()) +
                                  " --planet 0 --step 24 -o " + quoted((work / "built.tif").string()),
                              work.path());
    ASSERT_EQ(built.status, 0) << built.err;
    const std::string tif = slurp(work / "installed.tif");
    EXPECT_EQ(tif.substr(0, 4), std::string("II*\0", 4));
    EXPECT_TRUE(tif == slurp(work / "built.tif")) << "the installed and the built program write different TIFFs";

    // The installed module is the one loaded, before any other: spoilt, the TIFF
    // fails by its name, and a BMP, which needs no module, is still written.
    const fs::path module = usr("lib/rubicel/librubicel-geotiff.so");
    ASSERT_TRUE(fs::is_regular_file(module));
    const std::string good = slurp(module);
    std::ofstream(module, std::ios::binary | std::ios::trunc) << "not a module";
    const Outcome spoilt = run(render + "spoilt.tif", work.path());
    const Outcome bmp = run(render + "still.bmp", work.path());
    std::ofstream(module, std::ios::binary | std::ios::trunc) << good;
    EXPECT_EQ(spoilt.status, 1);
    EXPECT_NE(spoilt.err.find("the GeoTIFF module " + fs::canonical(module).string() + " does not load"),
              std::string::npos)
        << spoilt.err;
    EXPECT_FALSE(fs::exists(work / "spoilt.tif"));
    EXPECT_EQ(bmp.status, 0) << bmp.err;

    // Without it the program looks beside itself and in ../lib/rubicel, never in
    // the build tree, whose module would otherwise stand in for the missing one.
    const fs::path aside = work / "module.aside";
    fs::rename(module, aside);
    const Outcome missing = run(render + "missing.tif", work.path());
    fs::rename(aside, module);
    EXPECT_EQ(missing.status, 1);
    const std::string looked =
        fs::canonical(usr("bin")).string() + ", " + fs::canonical(usr("lib/rubicel")).string() + ")";
    EXPECT_NE(missing.err.find("is not installed (looked in " + looked), std::string::npos) << missing.err;
    EXPECT_FALSE(fs::exists(work / "missing.tif"));
}
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(undefined_behavior_sanitizer)
#define RUBICEL_SANITIZED_BUILD 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define RUBICEL_SANITIZED_BUILD 1
#endif

TEST_F(Package, InstalledFilesHoldNoPathOfTheBuildTree) {
#ifdef RUBICEL_SANITIZED_BUILD
    // The sanitizers keep the name of every instrumented file for their reports,
    // the build tree's generated sources among them; a package is never built so.
    GTEST_SKIP() << "a sanitized build names its generated sources for its reports";
#endif
    // Neither the whole path nor any 16-byte piece of it, as a compiler may store
    // a string constant in pieces; none of the installed files needs one. Pieces
    // that lie wholly in the part the build tree shares with the source tree are
    // not looked for: source file names (in assertions' messages) may hold those.
    const std::string build = RUBICEL_BUILD_TREE;
    const std::string source = RUBICEL_SOURCE_TREE;
    std::size_t shared = 0;
    while (shared < build.size() && shared < source.size() && build[shared] == source[shared]) ++shared;
    std::vector<std::string> pieces = {build};
    for (std::size_t at = 0; at + 16 <= build.size(); at += 8)
        if (at + 16 > shared) pieces.push_back(build.substr(at, 16));
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root_)) {
        if (!entry.is_regular_file()) continue;
        const std::string bytes = slurp(entry.path());
        for (const auto& piece : pieces)
            EXPECT_EQ(bytes.find(piece), std::string::npos) << entry.path() << " holds " << piece;
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

TEST_F(Package, InstalledToolsReadTheInstalledGrid) {
    // A spoilt copy of the installed grid is the one the installed program
    // complains about: it looks in ../share/rubicel before anywhere else.
    const fs::path grid = usr("share/rubicel/megt90n000cb.img");
    const std::string good = slurp(grid);
    std::ofstream(grid, std::ios::binary | std::ios::trunc) << std::string(100, '\0');
    test::TempDir work;
    const Outcome spoilt = run(quoted(usr("bin/rubicel-mktiles").string()) + " " + quoted((work / "tiles").string()),
                           work.path());
    std::ofstream(grid, std::ios::binary | std::ios::trunc) << good;
    EXPECT_EQ(spoilt.status, 1);
    EXPECT_NE(spoilt.err.find(fs::canonical(grid).string() + " holds 100 bytes"), std::string::npos) << spoilt.err;
    EXPECT_FALSE(fs::exists(work / "tiles" / test::kTileNames[0]));

    // With the grid as shipped it builds the four tiles.
    const Outcome made = run(quoted(usr("bin/rubicel-mktiles").string()) + " " + quoted((work / "tiles").string()),
                         work.path());
    ASSERT_EQ(made.status, 0) << made.err;
    for (const auto& name : test::kTileNames)
        EXPECT_EQ(fs::file_size(work / "tiles" / name), std::uintmax_t(kTileRows) * kRecordBytes) << name;

    // The installed fetcher checks them against the installed grid.
    const Outcome checked = run(quoted(usr("bin/rubicel-fetch").string()) + " --verify-only --dir " +
                                    quoted((work / "tiles").string()),
                                work.path());
    EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
    EXPECT_NE(checked.out.find("holds the four tiles, all good"), std::string::npos) << checked.out;
}

}  // namespace
}  // namespace rubicel
