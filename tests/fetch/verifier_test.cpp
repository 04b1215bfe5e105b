// SPDX-License-Identifier: MIT
// verifier_test.cpp: the content check against faulty copies of the demo tiles, and labels good and bad.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fetch/content_check.h"
#include "fetch/demo_tiles.h"
#include "fetch/pds_label.h"
#include "maps/tile_file.h"

namespace rubicel::fetch {
namespace {

// Record `row` of demo tile `index` as stored; rows past either end are zeros.
void demoRecord(int index, int row, std::vector<unsigned char>& out) {
    out.assign(kRecordBytes, 0);
    if (row < 0 || row >= kTileRows) return;
    const auto path = test::demoTileFolder() / kTileProducts[std::size_t(index)].name;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0) << path;
    ASSERT_EQ(::pread(fd, out.data(), out.size(), off_t(row) * kRecordBytes), ssize_t(kRecordBytes));
    ::close(fd);
}

TEST(ContentCheck, AcceptsTheDemoTilesAndRefusesDamagedOnesByAWideMargin) {
    std::mt19937 random(12);
    using Make = std::function<void(int row, std::vector<unsigned char>&)>;
    const struct Case {
        const char* what;
        int checkedAs;  // the tile the content claims to be
        Make record;
        bool good;
    } cases[] = {
        {"demo south-east", 0, [](int r, auto& b) { demoRecord(0, r, b); }, true},
        {"demo south-west", 1, [](int r, auto& b) { demoRecord(1, r, b); }, true},
        {"demo north-east", 2, [](int r, auto& b) { demoRecord(2, r, b); }, true},
        {"demo north-west", 3, [](int r, auto& b) { demoRecord(3, r, b); }, true},
        {"bytes swapped", 2, [](int r, auto& b) {
             demoRecord(2, r, b);
             for (std::size_t k = 0; k < b.size(); k += 2) std::swap(b[k], b[k + 1]);
         }, false},
        // The smoothest tile, moved one cell (16 rows or columns): the smallest damage caught.
        {"16 rows lost at the top", 0, [](int r, auto& b) { demoRecord(0, r + 16, b); }, false},
        {"moved 16 columns east", 0, [](int r, auto& b) {
             demoRecord(0, r, b);
             std::rotate(b.begin(), b.end() - 32, b.end());
         }, false},
        {"truncated at 90% and padded", 2, [](int r, auto& b) { demoRecord(2, r < kTileRows * 9 / 10 ? r : -1, b); }, false},
        {"wrong quadrant", 2, [](int r, auto& b) { demoRecord(3, r, b); }, false},
        {"garbage", 1, [&random](int, auto& b) {
             b.resize(kRecordBytes);
             for (auto& x : b) x = static_cast<unsigned char>(random());
         }, false},
    };
    std::vector<unsigned char> record;
    for (const auto& c : cases) {
        ContentCheck check(test::molaGrid(), kTileProducts[std::size_t(c.checkedAs)]);
        for (int row = 0; row < kTileRows; ++row) {
            c.record(row, record);
            check.addRecord(row, record);
        }
        const ContentStats stats = check.result();
        std::printf("%-26s %s, severity %.2f\n", c.what, stats.text().c_str(), stats.severity());
        if (c.good) EXPECT_LT(stats.severity(), 0.5) << c.what << ": " << stats.text();
        else EXPECT_GT(stats.severity(), 2.0) << c.what << ": " << stats.text();
    }
}


TEST(PdsLabel, AcceptsTheArchiveFormAndNamesEveryWrongNumber) {
    const TileProduct& tile = kTileProducts[3];  // 90 N to 0, 180 E to 360 E
    const std::string good = megdrLabelText(tile);
    // Each case replaces the statement of one key (empty: drops it).
    const struct {
        const char* key;
        const char* statement;
        const char* complaint;  // empty: still good
    } cases[] = {
        {"", "", ""},
        {"WESTERNMOST_LONGITUDE", "WESTERNMOST_LONGITUDE = -180.0 <DEGREE>", ""},  // the same meridian
        {"RECORD_BYTES", "RECORD_BYTES = 23040 /* one tile row */", ""},
        {"RECORD_BYTES", "RECORD_BYTES = 23041", "RECORD_BYTES is 23041, not 23040"},
        {"LINE_SAMPLES", "LINE_SAMPLES = 5760", "IMAGE LINE_SAMPLES is 5760, not 11520"},
        {"LINES", "", "IMAGE LINES is missing"},
        {"SAMPLE_TYPE", "SAMPLE_TYPE = LSB_INTEGER", "IMAGE SAMPLE_TYPE is LSB_INTEGER, not MSB_INTEGER"},
        {"MINIMUM_LATITUDE", "MINIMUM_LATITUDE = -90", "MINIMUM_LATITUDE is -90, not 0"},
        {"MAXIMUM_LATITUDE", "MAXIMUM_LATITUDE = ninety", "MAXIMUM_LATITUDE is 'ninety', not a number"},
        {"^IMAGE", "^IMAGE = \"MEGT90N000GB.IMG\"", "^IMAGE names MEGT90N000GB.IMG"},
    };
    for (const auto& c : cases) {
        std::string text;
        std::istringstream lines(good);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            std::string first;
            words >> first;
            text += *c.key && first == c.key ? std::string(c.statement) + "\r\n" : line + "\n";
        }
        const auto label = PdsLabel::parse(text);
        ASSERT_TRUE(label) << c.statement;
        const auto problems = checkLabel(*label, tile);
        EXPECT_EQ(problems.size(), *c.complaint ? 1u : 0u) << c.statement;
        if (problems.size() == 1) {
            EXPECT_NE(problems[0].find(c.complaint), std::string::npos) << problems[0];
        }
    }
    // The label of another tile names its limits; text that is no label is refused.
    EXPECT_EQ(checkLabel(*PdsLabel::parse(megdrLabelText(kTileProducts[0])), tile).size(), 5u);
    EXPECT_FALSE(PdsLabel::parse("<html><body>Not Found</body></html>"));
}

}  // namespace
}  // namespace rubicel::fetch
