// SPDX-License-Identifier: MIT
// config_bad_input_test.cpp: configuration files nobody would write by hand on purpose:
// start-up explains, never hangs or crashes, and the file written at exit is whole.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "platform/headless/headless_platform.h"
#include "settings/config_text.h"
#include "support/file_bytes.h"
#include "support/sparse_tiles.h"
#include "support/temp_dir.h"
#include "support/unprivileged.h"
#include "windows/config_file.h"
#include "windows/program.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;
using test::readAll;
using test::writeBytes;

const std::string kNotDefined = "You have not yet defined the location of the";
const std::string kTooFew = "The folder you have selected does not appear to";

struct Folders {
    const test::TempDir& start;
    const test::TempDir& data;
    fs::path config() const { return start / kConfigFileName; }
    std::string tiles() const { return data.path().string(); }
};

struct BadConfig {
    const char* name;
    std::function<void(const Folders&)> arrange;
    std::string head;        // start of the message; empty: no message
    std::int16_t scheme, mode;
    std::function<std::string(const Folders&)> folder;  // datafolder afterwards
};

void PrintTo(const BadConfig& c, std::ostream* os) { *os << c.name; }

std::string noFolder(const Folders&) { return ""; }
std::string tileFolder(const Folders& f) { return f.tiles() + "/"; }
std::string tileFolderAsWritten(const Folders& f) { return f.tiles(); }

class BadConfigFile : public testing::TestWithParam<BadConfig> {};

TEST_P(BadConfigFile, StartUpExplainsAndExitWritesAWholeFile) {
    const BadConfig& c = GetParam();
    test::TempDir start, data;
    for (const std::string& name : test::kTileNames) writeBytes(data / name, "");
    const Folders folders{start, data};
    c.arrange(folders);

    HeadlessPlatform ui;
    Program p{ui};
    p.map.startfolder = start.path().string();
    fload(p);

    EXPECT_EQ(p.map.datafolder, c.folder(folders));
    EXPECT_EQ(p.colour.scheme, c.scheme);
    EXPECT_EQ(p.colour.mode, c.mode);
    EXPECT_EQ(ui.enabled(MenuControl::m_area), c.head.empty());
    if (c.head.empty()) {
        EXPECT_TRUE(ui.messages.empty());
    } else {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text.rfind(c.head, 0), 0u) << ui.messages[0].text;
    }

    if (fs::is_fifo(folders.config())) {
        // Nobody reads the pipe: the exit says so at once rather than hang, and
        // the pipe stays a pipe.
        EXPECT_FALSE(fsave(p));
        EXPECT_TRUE(fs::is_fifo(folders.config()));
        return;
    }
    // The orderly exit writes what the program holds; the next start reads it back whole.
    ASSERT_TRUE(fsave(p));
    const ConfigFields written = parseConfig(readAll(folders.config()));
    ASSERT_TRUE(written.complete());
    EXPECT_EQ(*written.datafolder, p.map.datafolder);
    EXPECT_EQ(*written.scheme, p.colour.scheme);
    EXPECT_EQ(*written.mode, p.colour.mode);
}

std::function<void(const Folders&)> text(std::function<std::string(const Folders&)> make) {
    return [make](const Folders& f) { writeBytes(f.config(), make(f)); };
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, BadConfigFile,
    testing::Values(
        BadConfig{"empty_file", text([](const Folders&) { return std::string(); }), kNotDefined, 0, 0, noFolder},
        BadConfig{"binary_bytes", text([](const Folders&) { return std::string("\x7f" "ELF\0\x01\xff\xfe\x80", 9); }),
                  kNotDefined, 0, 0, [](const Folders&) { return std::string("\x7f" "ELF\0\x01\xff\xfe\x80", 9); }},
        BadConfig{"one_line_without_an_end", text([](const Folders& f) { return f.tiles(); }), kNotDefined, 0, 0,
                  tileFolderAsWritten},
        // A line cut at the reading limit names no folder anybody saved.
        BadConfig{"a_one_megabyte_line", text([](const Folders&) { return std::string(1 << 20, 'x'); }),
                  kNotDefined, 0, 0, noFolder},
        BadConfig{"a_one_megabyte_line_after_the_settings",
                  text([](const Folders& f) { return f.tiles() + "\r\n 3 \r\n 2 \r\n" + std::string(1 << 20, 'y'); }),
                  "", 3, 2, tileFolder},
        BadConfig{"scheme_and_mode_beyond_the_menus",
                  text([](const Folders& f) { return f.tiles() + "\r\n 12 \r\n-1 \r\n"; }), "", 0, 0, tileFolder},
        BadConfig{"numbers_far_out_of_range",
                  text([](const Folders& f) { return f.tiles() + "\r\n 99999999999999999999 \r\n 1 \r\n"; }),
                  kNotDefined, 0, 0, tileFolderAsWritten},
        BadConfig{"numbers_with_letters", text([](const Folders& f) { return f.tiles() + "\r\n 3x \r\n 1e2 \r\n"; }),
                  kNotDefined, 0, 0, tileFolderAsWritten},
        BadConfig{"cr_only_line_ends", text([](const Folders& f) { return f.tiles() + "\r 4 \r 3 \r"; }), "", 4, 3,
                  tileFolder},
        BadConfig{"lf_only_line_ends", text([](const Folders& f) { return f.tiles() + "\n 5 \n 1 \n"; }), "", 5, 1,
                  tileFolder},
        BadConfig{"folder_line_names_a_file",
                  text([](const Folders& f) { return (f.data / test::kTileNames[0]).string() + "\r\n 1 \r\n 1 \r\n"; }),
                  kNotDefined, 1, 1, [](const Folders& f) { return (f.data / test::kTileNames[0]).string(); }},
        BadConfig{"folder_line_starts_with_a_byte_order_mark",
                  text([](const Folders& f) { return "\xEF\xBB\xBF" + f.tiles() + "\r\n 1 \r\n 1 \r\n"; }),
                  kNotDefined, 1, 1, [](const Folders& f) { return "\xEF\xBB\xBF" + f.tiles(); }},
        BadConfig{"folder_with_three_tiles_and_a_megt_folder",
                  [](const Folders& f) {
                      fs::remove(f.data / test::kTileNames[3]);
                      fs::create_directory(f.data / test::kTileNames[3]);
                      writeBytes(f.config(), f.tiles() + "\r\n 2 \r\n 2 \r\n");
                  },
                  kTooFew, 2, 2, tileFolderAsWritten},
        BadConfig{"a_named_pipe_in_the_files_place",
                  [](const Folders& f) { ASSERT_EQ(::mkfifo(f.config().c_str(), 0600), 0); }, kNotDefined, 0, 0,
                  noFolder},
        BadConfig{"a_link_to_nowhere_in_the_files_place",
                  [](const Folders& f) { fs::create_symlink(f.start / "gone", f.config()); }, kNotDefined, 0, 0,
                  noFolder},
        BadConfig{"a_link_to_a_good_file",
                  [](const Folders& f) {
                      writeBytes(f.start / "real.cfg", f.tiles() + "\r\n 7 \r\n 2 \r\n");
                      fs::create_symlink(f.start / "real.cfg", f.config());
                  },
                  "", 7, 2, tileFolder}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BadConfigFile, AStartFolderThatCannotBeWrittenKeepsTheSavedFile) {
    test::TempDir start;
    const std::string saved = "/old/tiles/\r\n 2 \r\n 3 \r\n";
    writeBytes(start / kConfigFileName, saved);
    test::openToOthers(start / kConfigFileName);
    fs::permissions(start.path(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                      fs::perms::others_exec);

    HeadlessPlatform ui;
    Program p{ui};
    p.map.startfolder = start.path().string();
    {
        test::Unprivileged unprivileged;
        if (!unprivileged.permissionsBind()) GTEST_SKIP() << "permission bits do not bind here";
        fload(p);
        EXPECT_EQ(p.map.datafolder, "/old/tiles/");
        p.map.datafolder = "/new/tiles/";
        EXPECT_FALSE(fsave(p));
    }
    ASSERT_EQ(ui.messages.size(), 2u);  // the missing tiles, then the failed save
    EXPECT_EQ(ui.messages[1].title, "Rubicel");
    EXPECT_NE(ui.messages[1].text.find("Permission denied"), std::string::npos) << ui.messages[1].text;
    EXPECT_EQ(readAll(start / kConfigFileName), saved);
    for (const auto& entry : fs::directory_iterator(start.path()))
        EXPECT_EQ(entry.path().filename(), kConfigFileName) << "no temporary file is left behind";
}

}  // namespace
}  // namespace rubicel
