// SPDX-License-Identifier: MIT
// key_painting_test.cpp: what the two keys draw, call by call: elevations, rows, dots, ticks and labels.
#include "keys/key_painting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rubicel {
namespace {

// Records the drawing calls of a key in twips.
struct RecordingSurface {
    struct Line { int x, y, dx, dy; std::uint32_t colour; };
    struct Point { int x, y; std::uint32_t colour; };
    struct Print { int x, y; std::string text; };

    RecordingSurface(int width, int height) : w(width), h(height) {}
    int w, h;
    int width() const { return w; }
    int height() const { return h; }
    void line(int x, int y, int dx, int dy, std::uint32_t colour) { lines.push_back({x, y, dx, dy, colour}); }
    void pset(int x, int y, std::uint32_t colour) {
        points.push_back({x, y, colour});
        currentX = x;
        currentY = y;
    }
    void print(const KeyFont*, std::string_view text, std::uint32_t) {
        prints.push_back({currentX, currentY, std::string(text)});
    }
    int currentX = 0, currentY = 0;
    std::vector<Line> lines;
    std::vector<Point> points;
    std::vector<Print> prints;
};

struct Painted {
    RecordingSurface strip, legend;
    std::vector<std::int16_t> elevations;
};

Painted paintVertical(int w, int h) {
    Painted out{RecordingSurface(w, h), RecordingSurface(840, 7845), {}};
    paintVerticalKey(out.strip, out.legend, nullptr, [&](std::int16_t e) {
        out.elevations.push_back(e);
        return std::uint32_t(out.elevations.size());  // each row its own colour
    });
    return out;
}

Painted paintHorizontal(int w, int h) {
    Painted out{RecordingSurface(w, h), RecordingSurface(11415, 375), {}};
    paintHorizontalKey(out.strip, out.legend, nullptr, [&](std::int16_t e) {
        out.elevations.push_back(e);
        return std::uint32_t(out.elevations.size());
    });
    return out;
}

TEST(VerticalKey, HandsTheEngineOneElevationPerTwipRow) {
    const Painted key = paintVertical(495, 7635);
    ASSERT_EQ(key.elevations.size(), 7635u);
    EXPECT_EQ(key.elevations.front(), -8190);
    EXPECT_EQ(key.elevations.back(), 21250);
    for (std::size_t i = 0; i < key.elevations.size(); ++i) {
        EXPECT_EQ(key.elevations[i] % 10, 0) << "row " << i;
        if (i == 0) continue;
        const int rise = key.elevations[i] - key.elevations[i - 1];
        EXPECT_TRUE(rise == 0 || rise == 10) << "row " << i;
    }
}

TEST(VerticalKey, RowsRunBottomToTopAcrossTheWholeStripWithADotEach) {
    const Painted key = paintVertical(495, 7635);
    ASSERT_EQ(key.strip.lines.size(), 7635u);
    ASSERT_EQ(key.legend.points.size(), 7635u);
    for (int count = 1; count <= 7635; ++count) {
        const auto& line = key.strip.lines[std::size_t(count - 1)];
        EXPECT_EQ(line.x, 0);
        EXPECT_EQ(line.y, 7635 - count);
        EXPECT_EQ(line.dx, 495);
        EXPECT_EQ(line.dy, 0);
        EXPECT_EQ(line.colour, std::uint32_t(count));
        const auto& dot = key.legend.points[std::size_t(count - 1)];
        EXPECT_EQ(dot.x, 0);
        EXPECT_EQ(dot.y, count);
        EXPECT_EQ(dot.colour, kPositionDot);
    }
}

TEST(VerticalKey, PrintsTheFifteenLabelsRightAlignedAtTheirRows) {
    struct Row { const char* field; int y; };
    const Row expected[] = {
        {" 20 000 m ...", 375},  {" 18 000 m ...", 894},  {" 16 000 m ...", 1413}, {" 14 000 m ...", 1932},
        {" 12 000 m ...", 2451}, {" 10 000 m ...", 2971}, {"  8 000 m ...", 3490}, {"  6 000 m ...", 4009},
        {"  4 000 m ...", 4528}, {"  2 000 m ...", 5024}, {"   zero m ...", 5559}, {" -2 000 m ...", 6070},
        {" -4 000 m ...", 6590}, {" -6 000 m ...", 7124}, {"  -8200 m ...", 7635},
    };
    const Painted key = paintVertical(495, 7635);
    ASSERT_EQ(key.legend.prints.size(), std::size(expected));
    // Rows are painted from the bottom up, so the top label comes first.
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].field);
        EXPECT_EQ(key.legend.prints[i].text, expected[i].field);
        EXPECT_EQ(key.legend.prints[i].text.size(), std::size_t(kLabelField));
        EXPECT_EQ(key.legend.prints[i].x, 0);
        EXPECT_EQ(key.legend.prints[i].y, expected[i].y);
    }
}

TEST(KeyElevations, VerticalRoundsUpToTensHorizontalToTheNearestMetre) {
    struct Case { float alt; std::int16_t vertical, horizontal; };
    const Case cases[] = {
        {-8196.14f, -8190, -8196}, {-8197.364f, -8190, -8197}, {0.5f, 0, 0},   {1.5f, 10, 2},
        {2.5f, 10, 2},             {10.0f, 10, 10},            {-0.5f, 0, 0},  {-10.0f, -10, -10},
        {21249.758f, 21250, 21250},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(verticalKeyElevation(c.alt), c.vertical) << c.alt;
        EXPECT_EQ(horizontalKeyElevation(c.alt), c.horizontal) << c.alt;
    }
}

TEST(VerticalKey, AShortStripPrintsOnlyTheEarlierOfTwoLabelsOnOneRow) {
    // h = 10: the tests give rows 0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6, 7, 8, 8, 9.
    struct Case { int t; const char* label; };
    const Case cases[] = {
        {0, "-8200 m ..."},   {1, "-4 000 m ..."}, {2, "-2 000 m ..."}, {3, "2 000 m ..."},
        {4, "4 000 m ..."},   {5, "8 000 m ..."},  {6, "10 000 m ..."}, {7, "14 000 m ..."},
        {8, "16 000 m ..."},  {9, "20 000 m ..."},
    };
    for (const Case& c : cases) {
        const char* label = verticalKeyLabel(c.t, 10);
        ASSERT_NE(label, nullptr) << c.t;
        EXPECT_STREQ(label, c.label) << c.t;
    }
    EXPECT_EQ(paintVertical(33, 10).legend.prints.size(), 10u);
}

TEST(HorizontalKey, HandsTheEngineOneElevationPerTwipColumn) {
    const Painted key = paintHorizontal(11175, 495);
    ASSERT_EQ(key.elevations.size(), 11175u);
    EXPECT_EQ(key.elevations.front(), -8197);
    EXPECT_EQ(key.elevations.back(), 21250);
    for (std::size_t i = 1; i < key.elevations.size(); ++i) {
        const int rise = key.elevations[i] - key.elevations[i - 1];
        EXPECT_TRUE(rise == 2 || rise == 3) << "column " << i;
    }
}

TEST(HorizontalKey, DrawsTicksDotsAndLabelsAtFixedPlacesWhateverTheWidth) {
    struct Row { int tick, labelX; const char* text; };
    const Row expected[] = {
        {280, 0, "-8000 m"},     {1060, 820, "-6000 m"},  {1820, 1560, "-4000 m"}, {2580, 2320, "-2000 m"},
        {3340, 3280, "0 m"},     {4120, 3860, "2000 m"},  {4880, 4620, "4000 m"},  {5640, 5380, "6000 m"},
        {6400, 6140, "8000 m"},  {7140, 6840, "10000 m"}, {7880, 7580, "12000 m"}, {8640, 8340, "14000 m"},
        {9400, 9100, "16000 m"}, {10160, 9860, "18000 m"}, {10920, 10620, "20000 m"},
    };
    for (int width : {11175, 3000}) {
        const Painted key = paintHorizontal(width, 495);
        ASSERT_EQ(key.legend.lines.size(), std::size(expected));
        ASSERT_EQ(key.legend.points.size(), std::size(expected));
        ASSERT_EQ(key.legend.prints.size(), std::size(expected));
        for (std::size_t i = 0; i < std::size(expected); ++i) {
            SCOPED_TRACE(expected[i].text);
            const auto& tick = key.legend.lines[i];
            EXPECT_EQ(tick.x, expected[i].tick);
            EXPECT_EQ(tick.y, 0);
            EXPECT_EQ(tick.dx, 0);
            EXPECT_EQ(tick.dy, 60);
            EXPECT_EQ(tick.colour, kWindowText);
            EXPECT_EQ(key.legend.points[i].x, expected[i].labelX);
            EXPECT_EQ(key.legend.points[i].y, 60);
            EXPECT_EQ(key.legend.points[i].colour, kPositionDot);
            EXPECT_EQ(key.legend.prints[i].text, expected[i].text);
            EXPECT_EQ(key.legend.prints[i].x, expected[i].labelX);
            EXPECT_EQ(key.legend.prints[i].y, 60);
        }
    }
}

}  // namespace
}  // namespace rubicel
