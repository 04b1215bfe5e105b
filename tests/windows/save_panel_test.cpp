// SPDX-License-Identifier: MIT
// save_panel_test.cpp: the maps folder, the file list, file names and writing the map picture.
#include "windows/save_panel.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "common/bmp_writer.h"
#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"
#include "windows/program.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// ---------------------------------------------------------------- names

struct NameCase {
    const char* typed;
    const char* written;
};

class BitmapFileName : public testing::TestWithParam<NameCase> {};

TEST_P(BitmapFileName, AppendsBmpUnlessPresent) {
    EXPECT_EQ(bitmapFileName(GetParam().typed), GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(Names, BitmapFileName,
                         testing::Values(NameCase{"plan", "plan.BMP"}, NameCase{"plan.BMP", "plan.BMP"},
                                         NameCase{"plan.bmp", "plan.bmp.BMP"}, NameCase{"a.BMP.old", "a.BMP.old"},
                                         NameCase{".BMPx", ".BMPx"}, NameCase{"plan.BM", "plan.BM.BMP"},
                                         NameCase{"Gusev crater", "Gusev crater.BMP"}));

struct UnusableCase {
    const char* name;
    std::string text;
    bool refused;
};

class UnusableFileName : public testing::TestWithParam<UnusableCase> {};

TEST_P(UnusableFileName, RefusesNamesOutsideTheFolder) {
    EXPECT_EQ(unusableFileName(GetParam().text).has_value(), GetParam().refused) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Names, UnusableFileName,
    testing::Values(UnusableCase{"plain", "plan", false}, UnusableCase{"dots_inside", "a..b", false},
                    UnusableCase{"three_dots", "...", false}, UnusableCase{"dot", ".", true},
                    UnusableCase{"dot_dot", "..", true}, UnusableCase{"parent_path", "../plan", true},
                    UnusableCase{"absolute", "/tmp/plan", true}, UnusableCase{"sub_folder", "a/b", true},
                    UnusableCase{"line_feed", "pl\nan", true}, UnusableCase{"nul", std::string("pl\0an", 5), true},
                    UnusableCase{"delete", "plan\x7f", true}, UnusableCase{"accented", "Ch\u00e2ssis", false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- the panel

class SavePanelTest : public testing::Test {
protected:
    test::TempDir dir;
    HeadlessPlatform ui;
    Program p{ui};

    void SetUp() override { p.map.startfolder = dir.path().string(); }

    fs::path maps() const { return dir / "Maps"; }
    void touch(const fs::path& path) { std::ofstream(path) << "x"; }
    // A map picture of w x h pixels in one colour.
    void drawMap(int w, int h, std::uint32_t colour) { p.dmap.image.reset(w, h, colour); }
    void save(const std::string& name) {
        m_savemap_Click(p);
        newmap_Change(p, name);
        saveit_Click(p, 0);
    }
};

TEST_F(SavePanelTest, FirstOpeningCreatesTheFolderAndShowsThePanel) {
    m_savemap_Click(p);
    EXPECT_TRUE(fs::is_directory(maps()));
    EXPECT_EQ(p.saveBox.mapsFolder, dir.path().string() + "/Maps");
    EXPECT_TRUE(ui.visible(Control::SaveBox));
    EXPECT_EQ(ui.controlRect(Control::SaveBox), (TwipRect{0, 0, 3975, 4935}));
    EXPECT_EQ(ui.focus, std::make_pair(Form::SaveBox, std::string("newmap")));
    EXPECT_GE(ui.formChanges[Form::SaveBox], 1);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SavePanelTest, FolderThatCannotBeCreatedIsReported) {
    p.map.startfolder = (dir / "missing" / "deeper").string();  // one level only
    p.saveBox.FileList = {"earlier.BMP"};  // what an earlier opening listed
    m_savemap_Click(p);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Error : Couldn't create directory !");
    EXPECT_EQ(ui.messages[0].title, "Rubicel");
    EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
    EXPECT_TRUE(ui.visible(Control::SaveBox));
    // As for an empty folder, the list keeps what it showed.
    EXPECT_EQ(p.saveBox.FileList, std::vector<std::string>{"earlier.BMP"});
}

TEST_F(SavePanelTest, ListsOrdinaryFilesInNameOrderAndKeepsTheListWhenEmpty) {
    fs::create_directory(maps());
    for (const char* name : {"b.BMP", "A.BMP", "a.BMP", ".hidden", "notes.txt"}) touch(maps() / name);
    fs::create_directory(maps() / "sub");
    m_savemap_Click(p);
    const std::vector<std::string> listed = {"A.BMP", "a.BMP", "b.BMP", "notes.txt"};
    EXPECT_EQ(p.saveBox.FileList, listed);

    // An emptied folder leaves the list as it was.
    saveit_Click(p, 1);
    for (const char* name : {"b.BMP", "A.BMP", "a.BMP", "notes.txt"}) fs::remove(maps() / name);
    m_savemap_Click(p);
    EXPECT_EQ(p.saveBox.FileList, listed);
    EXPECT_TRUE(p.saveBox.File2.empty());
}

struct SaveNameCase {
    std::string typed;
    std::string file;
};

class SaveUnderName : public SavePanelTest, public testing::WithParamInterface<SaveNameCase> {};

TEST_P(SaveUnderName, WritesTheWholePictureAsBmp) {
    drawMap(37, 11, packRgb(200, 100, 50));
    save(GetParam().typed);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(ui.visible(Control::SaveBox));
    const std::vector<std::string> files = {GetParam().file};
    EXPECT_EQ(listFolderFiles(maps().string()), files);
    EXPECT_EQ(fileBytes(maps() / GetParam().file), bmpBytes(p.dmap.image));
    EXPECT_EQ(p.saveBox.File2, files);  // read again after saving
}

INSTANTIATE_TEST_SUITE_P(Names, SaveUnderName,
                         testing::Values(SaveNameCase{"plan", "plan.BMP"}, SaveNameCase{"plan.BMP", "plan.BMP"},
                                         SaveNameCase{"plan.bmp", "plan.bmp.BMP"},
                                         SaveNameCase{"a.BMP.old", "a.BMP.old"}, SaveNameCase{"x..", "x...BMP"},
                                         // The longest name a folder takes, ".BMP" included.
                                         SaveNameCase{std::string(251, 'n'), std::string(251, 'n') + ".BMP"}));

TEST_F(SavePanelTest, EmptyNameClosesThePanelAndWritesNothing) {
    drawMap(4, 4, packRgb(1, 2, 3));
    for (bool enter : {false, true}) {
        m_savemap_Click(p);
        newmap_Change(p, "");
        if (enter) {
            EXPECT_TRUE(NewMap_KeyPress(p, 13));
        } else {
            saveit_Click(p, 0);
        }
        EXPECT_FALSE(ui.visible(Control::SaveBox));
        EXPECT_TRUE(fs::is_empty(maps()));
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SavePanelTest, EnterSavesAndOtherKeysGoToTheBox) {
    drawMap(5, 3, packRgb(9, 9, 9));
    m_savemap_Click(p);
    newmap_Change(p, "enter");
    EXPECT_FALSE(NewMap_KeyPress(p, 'x'));
    EXPECT_TRUE(ui.visible(Control::SaveBox));
    EXPECT_TRUE(NewMap_KeyPress(p, 13));
    EXPECT_TRUE(fs::exists(maps() / "enter.BMP"));
    EXPECT_FALSE(ui.visible(Control::SaveBox));
}

TEST_F(SavePanelTest, QuitWritesNothing) {
    drawMap(5, 3, packRgb(9, 9, 9));
    m_savemap_Click(p);
    newmap_Change(p, "kept");
    saveit_Click(p, 1);
    EXPECT_FALSE(ui.visible(Control::SaveBox));
    EXPECT_TRUE(fs::is_empty(maps()));
    EXPECT_EQ(p.saveBox.newmap, "kept");
}

TEST_F(SavePanelTest, NamesOutsideTheFolderAreRefused) {
    drawMap(5, 3, packRgb(9, 9, 9));
    for (const char* name : {"../escape", "sub/plan", "..", ".", "/tmp/x"}) {
        save(name);
        ASSERT_EQ(ui.messages.size(), 1u) << name;
        EXPECT_EQ(ui.messages.back().icon, Icon::Critical);
        EXPECT_EQ(ui.messages.back().text.rfind("The map was not saved.\n", 0), 0u);
        EXPECT_TRUE(ui.visible(Control::SaveBox));
        ui.messages.clear();
    }
    EXPECT_TRUE(fs::is_empty(maps()));
    EXPECT_FALSE(fs::exists(dir / "escape.BMP"));
}

TEST_F(SavePanelTest, SavingTwiceKeepsOneFileWithTheSecondMap) {
    drawMap(20, 10, packRgb(255, 0, 0));
    save("twice");
    drawMap(13, 7, packRgb(0, 0, 255));
    save("twice");
    EXPECT_EQ(listFolderFiles(maps().string()), std::vector<std::string>{"twice.BMP"});
    EXPECT_EQ(fileBytes(maps() / "twice.BMP"), bmpBytes(p.dmap.image));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SavePanelTest, FailedWriteKeepsTheEarlierMapAndThePanelOpen) {
    drawMap(10, 10, packRgb(0, 255, 0));
    save("kept");
    const auto earlier = fileBytes(maps() / "kept.BMP");

    // A larger map on a disk that takes no file bigger than the first one.
    drawMap(200, 200, packRgb(255, 255, 0));
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = earlier.size() + 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    save("kept");
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
    EXPECT_NE(ui.messages[0].text.find("/Maps/kept.BMP"), std::string::npos) << ui.messages[0].text;
    EXPECT_TRUE(ui.visible(Control::SaveBox));
    EXPECT_EQ(fileBytes(maps() / "kept.BMP"), earlier);
    EXPECT_EQ(listFolderFiles(maps().string()), std::vector<std::string>{"kept.BMP"});
}

TEST_F(SavePanelTest, FolderRemovedWhileOpenIsReported) {
    drawMap(3, 3, packRgb(1, 1, 1));
    m_savemap_Click(p);
    fs::remove(maps());
    newmap_Change(p, "lost");
    saveit_Click(p, 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].icon, Icon::Critical);
    EXPECT_TRUE(ui.visible(Control::SaveBox));
    EXPECT_FALSE(fs::exists(maps()));
}

}  // namespace
}  // namespace rubicel
