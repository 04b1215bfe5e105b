// SPDX-License-Identifier: MIT
// figure_svg_test.cpp: a figure's SVG as an XML parser reads it: its texts as <text> elements, its image the map picture.
#include "export/figure_svg.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/raster.h"
#include "export/small_figure.h"
#include "figure/figure_layout.h"
#include "furniture/label_font.h"
#include "support/file_bytes.h"
#include "support/png_pixels.h"
#include "support/temp_dir.h"

namespace rubicel {
namespace {

// What the parser met: the text of every <text> element, the attributes of
// the root and of the one <image>.
struct Svg {
    std::string root;
    std::map<std::string, std::string> rootAttributes;
    std::vector<std::string> texts;
    std::map<std::string, std::string> image;
    int images = 0;
    bool inText = false;
};

void XMLCALL startElement(void* data, const XML_Char* name, const XML_Char** attributes) {
    Svg& svg = *static_cast<Svg*>(data);
    std::map<std::string, std::string> attrs;
    for (int i = 0; attributes[i]; i += 2) attrs[attributes[i]] = attributes[i + 1];
    const std::string element = name;
    if (svg.root.empty()) {
        svg.root = element;
        svg.rootAttributes = attrs;
    }
    if (element == "text") {
        svg.texts.emplace_back();
        svg.inText = true;
    }
    if (element == "image") {
        svg.image = attrs;
        ++svg.images;
    }
}

void XMLCALL endElement(void* data, const XML_Char* name) {
    if (std::string(name) == "text") static_cast<Svg*>(data)->inText = false;
}

void XMLCALL characters(void* data, const XML_Char* s, int length) {
    Svg& svg = *static_cast<Svg*>(data);
    if (svg.inText) svg.texts.back().append(s, std::size_t(length));
}

Svg parse(const std::string& document) {
    Svg svg;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &svg);
    XML_SetElementHandler(parser, startElement, endElement);
    XML_SetCharacterDataHandler(parser, characters);
    const bool ok = XML_Parse(parser, document.data(), int(document.size()), 1) == XML_STATUS_OK;
    const std::string error = ok ? "" : XML_ErrorString(XML_GetErrorCode(parser)) + std::string(" at line ") +
                                            std::to_string(XML_GetCurrentLineNumber(parser));
    XML_ParserFree(parser);
    if (!ok) throw std::runtime_error("the SVG is not well-formed XML: " + error);
    return svg;
}

TEST(FigureSvg, AnXmlParserReadsItsTextsAndItsImageIsTheMap) {
    std::string error;
    const LabelFont* font = LabelFont::shared(&error);
    ASSERT_TRUE(font) << error;
    FigureSpec spec;
    spec.caption = "Box";
    spec.title = "Around 180°E: <ridges> & \"plains\"";
    spec.layers.graticule = true;
    spec.layers.placeNames = true;
    spec.layers.landingSites = true;
    const test::SmallFigure figure(spec, {{"Westward Crater", 30.0, -175.0, 500.0, PlaceKind::Feature},
                                          {"Lander One", 33.1, 176.2, 0, PlaceKind::LandingSite}});
    ASSERT_TRUE(figure.map);
    const FigureLayout& layout = figure.layout;
    const Raster& picture = figure.picture;

    test::TempDir dir;
    const std::string path = (dir / "figure.svg").string();
    ASSERT_EQ(writeFigureSvg(layout, picture, path), std::nullopt);
    const Svg svg = parse(test::readAll(path));

    EXPECT_EQ(svg.root, "svg");
    EXPECT_EQ(svg.rootAttributes.at("width"), "180mm");
    const auto has = [&svg](const std::string& text) {
        return std::find(svg.texts.begin(), svg.texts.end(), text) != svg.texts.end();
    };
    for (const std::string text : {"Around 180°E: <ridges> & \"plains\"", "170°E", "180°E", "186°E", "38°N", "22°N",
                                   "Westward Crater", "Lander One", "\u22125000", "20000", "Elevation (m)",
                                   "MOLA MEGDR 64 px/deg, NASA/GSFC; names IAU/USGS"})
        EXPECT_TRUE(has(text)) << text;
    EXPECT_EQ(svg.texts.size(), layout.title.size() + layout.tickLabels.size() + layout.furniture.labels.size() +
                                    layout.colourBar.labels.size() + 1 + layout.credit.size());

    // The one image is the picture, as a PNG in base64 that the system's
    // decoder reads back pixel for pixel.
    ASSERT_EQ(svg.images, 1);
    EXPECT_EQ(svg.image.at("width"), "320");
    EXPECT_EQ(svg.image.at("height"), "320");
    const std::string href = svg.image.at("xlink:href");
    const std::string prefix = "data:image/png;base64,";
    ASSERT_EQ(href.substr(0, prefix.size()), prefix);
    test::writeBytes(dir / "image.b64", href.substr(prefix.size()));
    const std::string command = "base64 -d '" + (dir / "image.b64").string() + "' > '" + (dir / "image.png").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);

    const Raster image = test::decodePng(dir / "image.png");
    ASSERT_EQ(image.width(), 320);
    ASSERT_EQ(image.height(), 320);
    int differing = 0;
    for (int y = 0; y < 320; ++y)
        for (int x = 0; x < 320; ++x)
            if (image.pixel(x, y) != picture.pixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace rubicel
