// SPDX-License-Identifier: MIT
// figure_file_test.cpp: a figure's PDF as poppler's tools read it (its words, its font, its image) and its PNG page's size and map.
#include "export/figure_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "common/raster.h"
#include "export/small_figure.h"
#include "figure/figure_layout.h"
#include "support/png_pixels.h"
#include "support/temp_dir.h"

namespace rubicel {
namespace {

// What command prints; its exit status in status.
std::string output(const std::string& command, int& status) {
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    status = ::pclose(pipe);
    return out;
}

bool installed(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null").c_str()) == 0; }

// The small figure, widthMm wide, titled, with or without the graticule and
// a place's name.
test::SmallFigure smallFigure(double widthMm, bool furniture) {
    FigureSpec spec;
    spec.caption = "Box";
    spec.title = "Ridged plains near Westward";
    spec.widthMm = widthMm;
    spec.layers.graticule = furniture;
    spec.layers.placeNames = furniture;
    return {spec, {{"Westward Crater", 30.0, -175.0, 500.0, PlaceKind::Feature}}};
}

TEST(FigureFile, APdfHoldsItsWordsAsTextInAnEmbeddedFontOverTheMapUnresampled) {
    for (const char* tool : {"pdftotext", "pdffonts", "pdfimages"})
        if (!installed(tool)) GTEST_SKIP() << tool << " is not installed (Debian package poppler-utils)";
    const test::SmallFigure figure = smallFigure(180, true);
    ASSERT_TRUE(figure.font);
    test::TempDir dir;
    const std::string path = (dir / "figure.pdf").string();
    ASSERT_EQ(writeFigurePdf(figure.layout, figure.picture, *figure.font, path), std::nullopt);

    int status = -1;
    const std::string text = output("pdftotext -raw '" + path + "' -", status);
    ASSERT_EQ(status, 0);
    for (const char* words : {"Ridged plains near Westward", "170°E", "38°N", "Westward Crater", "\u22125000",
                              "Elevation (m)", "MOLA MEGDR 64 px/deg"})
        EXPECT_NE(text.find(words), std::string::npos) << words << " is not in\n" << text;

    // pdffonts: a heading, a rule, then a line a font: its name, type,
    // encoding, then "emb sub uni" as yes or no.
    const std::string fonts = output("pdffonts '" + path + "'", status);
    ASSERT_EQ(status, 0);
    EXPECT_NE(fonts.find("LiberationSans"), std::string::npos) << fonts;
    EXPECT_NE(fonts.find("yes yes yes"), std::string::npos) << fonts;
    EXPECT_EQ(fonts.find(" no "), std::string::npos) << fonts;

    // pdfimages -list: two heading lines, then one line an image: page, num,
    // type, width, height, colour, comp, bpc, enc.
    const std::string images = output("pdfimages -list '" + path + "' | tail -n +3", status);
    ASSERT_EQ(status, 0);
    int page = 0, number = -1, width = 0, height = 0, components = 0, bits = 0;
    char type[16] = {}, colour[16] = {}, encoding[16] = {};
    ASSERT_EQ(std::sscanf(images.c_str(), "%d %d %15s %d %d %15s %d %d %15s", &page, &number, type, &width, &height,
                          colour, &components, &bits, encoding),
              9)
        << images;
    EXPECT_EQ(std::count(images.begin(), images.end(), '\n'), 1) << images;
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 320);
    EXPECT_STREQ(colour, "rgb");
    EXPECT_EQ(bits, 8);
    EXPECT_STREQ(encoding, "image");  // Flate: no JPEG, nothing lost
}

// The pixels a metre across and down the file's pHYs chunk gives; none when
// it has none.
std::pair<std::uint32_t, std::uint32_t> dotsPerMetre(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t at = bytes.find("pHYs");
    if (at == std::string::npos || at + 13 > bytes.size() || bytes[at + 12] != 1) return {0, 0};
    const auto word = [&bytes](std::size_t i) {
        std::uint32_t v = 0;
        for (std::size_t k = 0; k < 4; ++k) v = v << 8 | static_cast<unsigned char>(bytes[i + k]);
        return v;
    };
    return {word(at + 4), word(at + 8)};
}

TEST(FigureFile, APngPageIsItsWidthAtItsDpiWithTheMapsPixelsEnlargedSharp) {
    struct Case {
        double widthMm;
        int dpi;
        int pixelsAcross;        // widthMm / 25.4 x dpi, rounded
        std::uint32_t perMetre;  // dpi / 0.0254, rounded: the resolution the file gives
    };
    for (const Case c : {Case{180, 300, 2126, 11811}, Case{40, 600, 945, 23622}, Case{100, 150, 591, 5906}}) {
        SCOPED_TRACE(std::to_string(c.widthMm) + " mm at " + std::to_string(c.dpi) + " dpi");
        const test::SmallFigure figure = smallFigure(c.widthMm, false);
        ASSERT_TRUE(figure.font);
        test::TempDir dir;
        const std::string path = (dir / "figure.png").string();
        ASSERT_EQ(writeFigurePng(figure.layout, figure.picture, *figure.font, c.dpi, path), std::nullopt);
        const Raster page = test::decodePng(path);
        EXPECT_EQ(page.width(), c.pixelsAcross);
        EXPECT_EQ(page.height(), std::lround(figure.layout.height / 72.0 * c.dpi));
        ASSERT_GT(page.width(), 0);
        EXPECT_EQ(page.pixel(0, 0), packRgb(255, 255, 255));
        EXPECT_EQ(dotsPerMetre(path), std::make_pair(c.perMetre, c.perMetre));

        // Page pixels whose centres fall well inside a picture pixel, within
        // the frame, show that pixel's colour exactly.
        const double perPoint = c.dpi / 72.0;
        const PictureOnPage& on = figure.layout.picture;
        int checked = 0, differing = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x) {
                const double px = ((x + 0.5) / perPoint - on.left) / on.scale,
                             py = ((y + 0.5) / perPoint - on.top) / on.scale;
                const double pageX = (x + 0.5) / perPoint, pageY = (y + 0.5) / perPoint;
                const PageBox& frame = figure.layout.frame.box;
                if (pageX < frame.left + 1 || pageX > frame.right() - 1 || pageY < frame.top + 1 ||
                    pageY > frame.bottom() - 1)
                    continue;
                if (px - std::floor(px) < 0.1 || px - std::floor(px) > 0.9 || py - std::floor(py) < 0.1 ||
                    py - std::floor(py) > 0.9)
                    continue;
                ++checked;
                if (page.pixel(x, y) != figure.picture.pixel(int(px), int(py))) ++differing;
            }
        EXPECT_GT(checked, 1000);
        EXPECT_EQ(differing, 0);
    }
}

}  // namespace
}  // namespace rubicel
