// SPDX-License-Identifier: MIT
// data_path_test.cpp: shipped files are found beside the program, in share/rubicel, then in the build tree.
#include "common/data_path.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

TEST(DataPath, FoldersInOrderEachOnce) {
    const struct {
        const char* name;
        fs::path program, build;
        std::vector<fs::path> folders;
    } cases[] = {
        {"installed", "/usr/bin", "/src/build/share/rubicel",
         {"/usr/bin", "/usr/share/rubicel", "/src/build/share/rubicel"}},
        {"program in the build tree's app/: share/rubicel is the build folder", "/b/app", "/b/share/rubicel",
         {"/b/app", "/b/share/rubicel"}},
        {"trailing separators", "/opt/r/bin/", "/b/share/rubicel/", {"/opt/r/bin", "/opt/r/share/rubicel", "/b/share/rubicel"}},
        {"no build folder", "/usr/local/bin", "", {"/usr/local/bin", "/usr/local/share/rubicel"}},
        {"program folder unknown", "", "/b/share/rubicel", {"/b/share/rubicel"}},
    };
    for (const auto& c : cases) EXPECT_EQ(dataFolders(c.program, c.build), c.folders) << c.name;
}

TEST(DataPath, FirstFolderHoldingTheFileWins) {
    const struct {
        const char* name;
        std::vector<std::string> files, folders;  // relative to a scratch root
        const char* found;                         // "" when none
    } cases[] = {
        {"installed layout", {"share/rubicel/x.chm"}, {}, "share/rubicel/x.chm"},
        {"beside the program first", {"bin/x.chm", "share/rubicel/x.chm", "build/x.chm"}, {}, "bin/x.chm"},
        {"build tree last", {"build/x.chm"}, {}, "build/x.chm"},
        {"share before the build tree", {"share/rubicel/x.chm", "build/x.chm"}, {}, "share/rubicel/x.chm"},
        {"a folder of that name is no file", {"share/rubicel/x.chm"}, {"bin/x.chm"}, "share/rubicel/x.chm"},
        {"other names do not count", {"bin/y.chm", "share/rubicel/x.chm.bak"}, {}, ""},
        {"nowhere", {}, {"bin", "share/rubicel", "build"}, ""},
    };
    for (const auto& c : cases) {
        test::TempDir root;
        for (const auto& d : c.folders) fs::create_directories(root / d);
        for (const auto& f : c.files) {
            fs::create_directories((root / f).parent_path());
            std::ofstream(root / f) << f;
        }
        const auto folders = dataFolders(root / "bin", root / "build");
        const fs::path expected = *c.found ? (root / c.found).lexically_normal() : fs::path();
        EXPECT_EQ(findDataFile("x.chm", folders), expected) << c.name;
    }
}

TEST(DataPath, LinkToAFileCountsLinkToNothingDoesNot) {
    test::TempDir root;
    fs::create_directories(root / "bin");
    fs::create_directories(root / "share/rubicel");
    std::ofstream(root / "target") << "grid";
    fs::create_symlink(root / "absent", root / "bin/grid.img");
    fs::create_symlink(root / "target", root / "share/rubicel/grid.img");
    EXPECT_EQ(findDataFile("grid.img", dataFolders(root / "bin", {})), root.path() / "share/rubicel/grid.img");
    EXPECT_EQ(findDataFile("", dataFolders(root / "bin", {})), fs::path());
}

TEST(DataPath, ThisProgramFindsTheBuildTreesGrid) {
    const fs::path exe = executableFolder();
    ASSERT_FALSE(exe.empty());
    EXPECT_TRUE(fs::is_regular_file(exe / "common_test")) << exe;

    // The build copies the committed grid into share/rubicel; it is found and identical.
    const fs::path grid = dataPath("megt90n000cb.img");
    ASSERT_FALSE(grid.empty());
    auto bytes = [](const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_EQ(bytes(grid), bytes(RUBICEL_MOLA_GRID));
    EXPECT_EQ(dataPath("no-such-file.img"), fs::path());
}

}  // namespace
}  // namespace rubicel
