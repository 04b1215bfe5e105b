// SPDX-License-Identifier: MIT
// config_text_test.cpp: the configuration file's text and replacing a file safely.
#include "settings/config_text.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <array>
#include <functional>
#include <sstream>
#include <vector>

#include "support/file_bytes.h"
#include "support/temp_dir.h"

namespace rubicel {
namespace {

namespace fs = std::filesystem;
using test::readAll;
using test::writeBytes;

struct ParseCase {
    const char* name;
    std::string text;
    std::optional<std::string> folder;
    std::optional<std::int16_t> scheme, mode;
};

class ParseConfig : public testing::TestWithParam<ParseCase> {};

TEST_P(ParseConfig, ReadsFieldsUntilTheFirstBadLine) {
    const ParseCase& c = GetParam();
    const ConfigFields f = parseConfig(c.text);
    EXPECT_EQ(f.datafolder, c.folder);
    EXPECT_EQ(f.scheme, c.scheme);
    EXPECT_EQ(f.mode, c.mode);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ParseConfig,
    testing::Values(
        ParseCase{"as_written", "/data/tiles/\r\n 1 \r\n-1 \r\n", "/data/tiles/", 1, -1},
        ParseCase{"lf_only", "/d\n2\n0\n", "/d", 2, 0},
        ParseCase{"cr_only", "/d\r 4 \r 2 \r", "/d", 4, 2},
        ParseCase{"no_end_after_last_line", "/d\r\n 1 \r\n 2", "/d", 1, 2},
        ParseCase{"folder_leading_spaces_dropped", "   /d, e \r\n0\r\n0\r\n", "/d, e ", 0, 0},
        ParseCase{"tabs_and_plus_sign", "/d\r\n\t+5\t\r\n32767\r\n", "/d", 5, 32767},
        ParseCase{"empty_file", "", std::nullopt, std::nullopt, std::nullopt},
        ParseCase{"mode_line_missing", "/d\r\n 3 \r\n", "/d", 3, std::nullopt},
        ParseCase{"blank_number_line", "/d\r\n  \r\n 1 \r\n", "/d", std::nullopt, std::nullopt},
        ParseCase{"fraction", "/d\r\n1.5\r\n 1 \r\n", "/d", std::nullopt, std::nullopt},
        ParseCase{"two_numbers", "/d\r\n1 2\r\n 1 \r\n", "/d", std::nullopt, std::nullopt},
        ParseCase{"two_signs", "/d\r\n+-1\r\n 1 \r\n", "/d", std::nullopt, std::nullopt},
        ParseCase{"above_16_bits", "/d\r\n 1 \r\n32768\r\n", "/d", 1, std::nullopt},
        ParseCase{"below_16_bits", "/d\r\n-32769\r\n 1 \r\n", "/d", std::nullopt, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ConfigText, FormatReadsBackAndHandEditedValuesFallBackToZero) {
    EXPECT_EQ(formatConfig("/a,b", -1, 3), "/a,b\r\n-1 \r\n 3 \r\n");
    const ConfigFields f = parseConfig(formatConfig("/a,b", 9, 0));
    EXPECT_EQ(f.datafolder, "/a,b");
    EXPECT_EQ(f.scheme, 9);
    EXPECT_EQ(f.mode, 0);
    // value -> {scheme, mode}; scheme 6 is the menu's separator.
    for (const auto& [value, scheme, mode] : std::vector<std::array<std::int16_t, 3>>{
             {-1, 0, 0}, {0, 0, 0}, {3, 3, 3}, {4, 4, 0}, {6, 0, 0}, {9, 9, 0}, {10, 0, 0}}) {
        EXPECT_EQ(usableScheme(value), scheme) << value;
        EXPECT_EQ(usableMode(value), mode) << value;
    }
}

TEST(WriteFileReplacing, ReplacesWholeKeepsPermissionsAndFollowsLinks) {
    test::TempDir dir;
    writeBytes(dir / "real.cfg", "a much longer old text that must not survive in part\r\n");
    fs::permissions(dir / "real.cfg", fs::perms(0640));
    fs::create_symlink(dir / "real.cfg", dir / "link.cfg");

    ASSERT_EQ(writeFileReplacing((dir / "link.cfg").string(), "/new\r\n 2 \r\n"), std::nullopt);
    EXPECT_EQ(readAll(dir / "real.cfg"), "/new\r\n 2 \r\n");
    EXPECT_TRUE(fs::is_symlink(dir / "link.cfg"));
    EXPECT_EQ(fs::status(dir / "real.cfg").permissions(), fs::perms(0640));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

struct FailureCase {
    const char* name;
    std::function<fs::path(const test::TempDir&)> arrange;  // returns the path to write
    int entriesLeft;                                        // in the scratch folder afterwards
};

class WriteFailure : public testing::TestWithParam<FailureCase> {};

TEST_P(WriteFailure, SaysWhyAndLeavesNoTemporaryFile) {
    test::TempDir dir;
    const auto error = writeFileReplacing(GetParam().arrange(dir).string(), "new\r\n");
    ASSERT_TRUE(error.has_value());
    EXPECT_FALSE(error->empty());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), GetParam().entriesLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WriteFailure,
    testing::Values(FailureCase{"parent_is_a_regular_file",
                                [](const test::TempDir& d) {
                                    writeBytes(d / "plain", "");
                                    return d / "plain" / "x.cfg";
                                },
                                1},
                    FailureCase{"folder_missing", [](const test::TempDir& d) { return d / "gone" / "x.cfg"; }, 0},
                    FailureCase{"a_folder_in_the_files_place",
                                [](const test::TempDir& d) {
                                    fs::create_directories(d / "x.cfg" / "inside");
                                    return d / "x.cfg";
                                },
                                1}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace rubicel
