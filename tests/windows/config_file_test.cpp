// SPDX-License-Identifier: MIT
// config_file_test.cpp: reading and writing the configuration file, the folder check and the folder panel.
#include "windows/config_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "support/file_bytes.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"
#include "windows/program.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;
using test::readAll;
using test::writeBytes;

const std::string kNotDefined =
    "You have not yet defined the location of the\nMOLA MEGDR064 Tiles required by this software.\n\n";
const std::string kTooFew =
    "The folder you have selected does not appear to\ncontain the 4 required MEGDR064 data Tiles.\n\n";
const std::string kTooMany =
    "The folder you have selected contains more than the\nFOUR MEGDR064 data files required by this software!\n\n";
const std::string kAdvice =
    "Use the 'Set MOLA DEM File Folder' option from the \n'File' menu to identify the folder that contains\n"
    "the four MEGDR064 data files.";
const std::vector<std::string> kFourTiles(test::kTileNames.begin(), test::kTileNames.end());

// Replaces every "{data}" in text by folder.
std::string withFolder(std::string text, const std::string& folder) {
    for (std::size_t at; (at = text.find("{data}")) != std::string::npos;) text.replace(at, 6, folder);
    return text;
}

class ConfigFileTest : public testing::Test {
protected:
    ConfigFileTest() { p.map.startfolder = start.path().string(); }

    fs::path configFile() const { return start / kConfigFileName; }
    std::string dataFolder() const { return data.path().string(); }
    void addFiles(const std::vector<std::string>& names) {
        for (const std::string& name : names) writeBytes(data / name, "");
    }

    test::TempDir start;
    test::TempDir data;
    HeadlessPlatform ui;
    Program p{ui};
};

TEST_F(ConfigFileTest, PathJoinsTheStartFolderAndTheFileNameOnce) {
    MapState map;
    for (const auto& [folder, expected] : std::vector<std::pair<std::string, std::string>>{
             {"/home/u/rubicel", "/home/u/rubicel/mgr064srubicel.cfg"},
             {"/home/u/rubicel/", "/home/u/rubicel/mgr064srubicel.cfg"},
             {"/", "/mgr064srubicel.cfg"}}) {
        map.startfolder = folder;
        EXPECT_EQ(configPath(map), expected) << folder;
    }
}

enum class Arrange { NoFile, Text, FolderInItsPlace };

struct LoadCase {
    const char* name;
    Arrange arrange;
    const char* text;                  // "{data}" stands for the data folder
    std::vector<std::string> files;    // made in the data folder
    std::optional<std::string> head;   // the message's head; nothing: no message
    const char* folderAfter;           // datafolder afterwards, "{data}" as above
    std::int16_t scheme, mode;         // afterwards; they start at 0
    std::size_t listed;                // entries of File1 afterwards
};

class Fload : public ConfigFileTest, public testing::WithParamInterface<LoadCase> {};

TEST_P(Fload, ReadsTheFileChecksTheFolderAndExplainsWhatIsMissing) {
    const LoadCase& c = GetParam();
    addFiles(c.files);
    if (c.arrange == Arrange::Text) writeBytes(configFile(), withFolder(c.text, dataFolder()));
    if (c.arrange == Arrange::FolderInItsPlace) fs::create_directory(configFile());

    fload(p);

    EXPECT_EQ(p.map.datafolder, withFolder(c.folderAfter, dataFolder()));
    EXPECT_EQ(p.colour.scheme, c.scheme);
    EXPECT_EQ(p.colour.mode, c.mode);
    EXPECT_EQ(p.File1.size(), c.listed);
    EXPECT_EQ(ui.enabled(MenuControl::m_area), !c.head.has_value());
    if (!c.head) {
        EXPECT_TRUE(ui.messages.empty());
        return;
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, *c.head + kAdvice);
    EXPECT_EQ(ui.messages[0].title, "Problem finding the MEGDR064 data files");
    EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, Fload,
    testing::Values(
        LoadCase{"no_file", Arrange::NoFile, "", kFourTiles, kNotDefined, "", 0, 0, 0},
        LoadCase{"folder_in_the_files_place", Arrange::FolderInItsPlace, "", kFourTiles, kNotDefined, "", 0, 0, 0},
        LoadCase{"only_the_folder_line", Arrange::Text, "{data}\r\n", kFourTiles, kNotDefined, "{data}", 0, 0, 0},
        LoadCase{"scheme_not_a_number", Arrange::Text, "{data}\r\nblue\r\n 1 \r\n", kFourTiles, kNotDefined,
                 "{data}", 0, 0, 0},
        LoadCase{"mode_out_of_16_bits", Arrange::Text, "{data}\r\n 2 \r\n 40000 \r\n", kFourTiles, kNotDefined,
                 "{data}", 2, 0, 0},
        LoadCase{"empty_folder_line", Arrange::Text, "\r\n 2 \r\n 3 \r\n", kFourTiles, kNotDefined, "", 2, 3, 0},
        LoadCase{"folder_that_does_not_exist", Arrange::Text, "{data}/gone\r\n 1 \r\n 1 \r\n", kFourTiles,
                 kNotDefined, "{data}/gone", 1, 1, 0},
        LoadCase{"three_tiles", Arrange::Text, "{data}\r\n 1 \r\n 2 \r\n",
                 {kFourTiles[0], kFourTiles[1], kFourTiles[2]}, kTooFew, "{data}", 1, 2, 3},
        LoadCase{"four_tiles_without_separator", Arrange::Text, "{data}\r\n 1 \r\n 1 \r\n", kFourTiles,
                 std::nullopt, "{data}/", 1, 1, 4},
        LoadCase{"four_tiles_with_separator", Arrange::Text, "{data}/\r\n 5 \r\n 3 \r\n", kFourTiles,
                 std::nullopt, "{data}/", 5, 3, 4},
        LoadCase{"four_tiles_and_other_files", Arrange::Text, "{data}\r\n 0 \r\n 0 \r\n",
                 {kFourTiles[0], kFourTiles[1], kFourTiles[2], kFourTiles[3], "notes.txt", "tile.megt"},
                 std::nullopt, "{data}/", 0, 0, 4},
        LoadCase{"four_tiles_and_another_megt_file", Arrange::Text, "{data}\r\n 1 \r\n 1 \r\n",
                 {kFourTiles[0], kFourTiles[1], kFourTiles[2], kFourTiles[3], "megt_index.lbl"}, kTooMany,
                 "{data}", 1, 1, 5},
        LoadCase{"scheme_separator_from_a_hand_edited_file", Arrange::Text, "{data}\r\n 6 \r\n 4 \r\n",
                 kFourTiles, std::nullopt, "{data}/", 0, 0, 4}),
    [](const auto& info) { return std::string(info.param.name); });

struct SaveCase {
    const char* folder;
    std::int16_t scheme, mode;
    const char* bytes;
};

TEST_F(ConfigFileTest, FsaveWritesTheThreeLinesExactly) {
    for (const SaveCase& c : {SaveCase{"/data/tiles/", 1, 0, "/data/tiles/\r\n 1 \r\n 0 \r\n"},
                              SaveCase{"/data/tiles", 0, 1, "/data/tiles\r\n 0 \r\n 1 \r\n"},
                              SaveCase{"", 9, 3, "\r\n 9 \r\n 3 \r\n"}}) {
        p.map.datafolder = c.folder;
        p.colour.scheme = c.scheme;
        p.colour.mode = c.mode;
        EXPECT_TRUE(fsave(p));
        EXPECT_EQ(readAll(configFile()), c.bytes);
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ConfigFileTest, AFolderWithACommaIsSavedAndReadBackWhole) {
    const fs::path folder = data / "MOLA, 64 ppd";
    fs::create_directory(folder);
    for (const std::string& name : kFourTiles) writeBytes(folder / name, "");
    p.map.datafolder = folder.string();
    p.colour.scheme = 3;
    p.colour.mode = 2;
    ASSERT_TRUE(fsave(p));

    HeadlessPlatform ui2;
    Program next(ui2);
    next.map.startfolder = p.map.startfolder;
    fload(next);
    EXPECT_EQ(next.map.datafolder, folder.string() + "/");
    EXPECT_EQ(next.colour.scheme, 3);
    EXPECT_EQ(next.colour.mode, 2);
    EXPECT_TRUE(ui2.messages.empty());
    EXPECT_TRUE(ui2.enabled(MenuControl::m_area));
}

TEST_F(ConfigFileTest, FsaveThatCannotWriteSaysSoAndFails) {
    // A start folder that is a regular file cannot hold the configuration file,
    // whatever the user's rights.
    writeBytes(start / "plain", "");
    p.map.startfolder = (start / "plain").string();
    p.map.datafolder = "/data";

    EXPECT_FALSE(fsave(p));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].title, "Rubicel");
    EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
    EXPECT_NE(ui.messages[0].text.find(configPath(p.map)), std::string::npos) << ui.messages[0].text;
    EXPECT_NE(ui.messages[0].text.find("Not a directory"), std::string::npos) << ui.messages[0].text;
}

TEST_F(ConfigFileTest, FsaveIntoAReadOnlyFolderKeepsTheOldFile) {
    writeBytes(configFile(), "/old/\r\n 2 \r\n 2 \r\n");
    test::openToOthers(configFile());
    fs::permissions(start.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
    p.map.datafolder = "/new/";
    test::Unprivileged unprivileged;
    if (!unprivileged.permissionsBind()) GTEST_SKIP() << "permission bits do not bind here";

    EXPECT_FALSE(fsave(p));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(readAll(configFile()), "/old/\r\n 2 \r\n 2 \r\n");
}

TEST_F(ConfigFileTest, FolderPanelSavesTheChosenFolderAndAsksForARestart) {
    m_default_Click(p);
    EXPECT_EQ(p.colour.scheme, 1);
    EXPECT_EQ(p.colour.mode, 1);
    EXPECT_TRUE(ui.visible(Control::Findloc));
    EXPECT_TRUE(ui.menus.empty()) << "opening the panel moves no check mark";

    Dir002_Click(p, "/");
    EXPECT_EQ(p.map.datafolder, "/");
    Dir002_Click(p, dataFolder());
    EXPECT_EQ(p.map.datafolder, dataFolder());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(ui.quitRequested);

    setfolder_Click(p);
    EXPECT_FALSE(ui.visible(Control::Findloc));
    EXPECT_EQ(readAll(configFile()), dataFolder() + "\r\n 1 \r\n 1 \r\n");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "You must now restart the program");
    EXPECT_EQ(ui.messages[0].title, "RESTART PROGRAM");
    EXPECT_EQ(ui.messages[0].icon, Icon::Information);
    EXPECT_TRUE(ui.quitRequested);
}

TEST_F(ConfigFileTest, ClosingThePanelWithoutAFolderOrWithoutAFile) {
    // No folder clicked on a first run: the panel stays, an empty line is saved.
    m_default_Click(p);
    setfolder_Click(p);
    EXPECT_TRUE(ui.visible(Control::Findloc));
    EXPECT_EQ(readAll(configFile()), "\r\n 1 \r\n 1 \r\n");
    EXPECT_TRUE(ui.quitRequested);

    // A file that cannot be written: nothing would survive a restart, so the
    // panel stays open and the program keeps running.
    HeadlessPlatform ui2;
    Program q(ui2);
    writeBytes(start / "plain", "");
    q.map.startfolder = (start / "plain").string();
    m_default_Click(q);
    Dir002_Click(q, dataFolder());
    setfolder_Click(q);
    EXPECT_TRUE(ui2.visible(Control::Findloc));
    ASSERT_EQ(ui2.messages.size(), 1u);
    EXPECT_EQ(ui2.messages[0].title, "Rubicel");
    EXPECT_FALSE(ui2.quitRequested);
}

}  // namespace
}  // namespace rubicel
