// SPDX-License-Identifier: MIT
// figure_drawing.cpp: a figure's page turned into a drawing: the map picture, its furniture, frame, ticks, colour bar and text.
#include "export/figure_drawing.h"

#include <vector>

#include "common/raster.h"
#include "export/furniture_drawing.h"
#include "figure/figure_layout.h"
#include "furniture/label_font.h"

namespace rubicel {

namespace {

DrawingColour colourOf(const FurnitureColour& c) { return {c.red, c.green, c.blue, c.alpha}; }
DrawingColour colourOf(std::uint32_t rgb) { return {redOf(rgb) / 255.0, greenOf(rgb) / 255.0, blueOf(rgb) / 255.0, 1}; }

const DrawingColour kInk = colourOf(kFigureInk);

// The frame's outline as an item (a box or a circle) to stroke or clip to.
DrawingItem frameItem(const FigureFrame& frame) {
    DrawingItem item;
    if (frame.shape == FigureFrame::Shape::Circle) {
        item.shape = DrawingShape::Circle;
        item.at = {frame.centre().x, frame.centre().y};
        item.size = {frame.radius(), frame.radius()};
    } else {
        item.shape = DrawingShape::Box;
        item.at = {frame.box.left, frame.box.top};
        item.size = {frame.box.width, frame.box.height};
    }
    return item;
}

void strokeLines(Drawing& drawing, const std::vector<PageLine>& lines, double width) {
    for (const PageLine& l : lines) {
        const DrawingPoint ends[] = {{l.from.x, l.from.y}, {l.to.x, l.to.y}};
        drawing.polyline(ends, DrawingPaint::Stroke, kInk, width);
    }
}

void setText(Drawing& drawing, const PageText& t, const LabelFont& font) {
    std::vector<DrawingGlyph> run;
    for (const PlacedGlyph& g : font.glyphRunAt(t.text, t.size)) run.push_back({g.index, g.x});
    drawing.glyphRun(run, {t.origin.x, t.origin.y}, t.size, DrawingPaint::Fill, kInk, 0, t.text);
}

void setTexts(Drawing& drawing, const std::vector<PageText>& texts, const LabelFont& font) {
    for (const PageText& t : texts) setText(drawing, t, font);
}

}  // namespace

Drawing figureDrawing(const FigureLayout& f, const Raster& picture, const LabelFont& font) {
    Drawing drawing;
    drawing.fontFile = font.file();
    drawing.box({0, 0}, {f.width, f.height}, DrawingPaint::Fill, colourOf(kFigurePage));

    // The map and its furniture, in picture pixels scaled onto the page, inside the frame.
    DrawingItem frame = frameItem(f.frame);
    drawing.clipTo(frame);
    const DrawingImage image{picture.data(), f.pictureWidth, f.pictureHeight, picture.width()};
    drawing.image(image, {f.picture.left, f.picture.top},
                  {f.pictureWidth * f.picture.scale, f.pictureHeight * f.picture.scale});
    drawing.append(furnitureDrawing(f.furniture, font), f.picture.scale, {f.picture.left, f.picture.top});
    drawing.endClip();

    frame.paint = DrawingPaint::Stroke;
    frame.colour = kInk;
    frame.lineWidth = kFrameWidth;
    drawing.items.push_back(frame);
    strokeLines(drawing, f.ticks, kTickWidth);
    setTexts(drawing, f.tickLabels, font);
    setTexts(drawing, f.title, font);

    // Each band from its left edge to the bar's right end, the next painted
    // over it: abutting bands show no seam however they are anti-aliased.
    const ColourBar& bar = f.colourBar;
    for (const ColourBar::Band& b : bar.bands)
        drawing.box({b.left, bar.box.top}, {bar.box.right() - b.left, bar.box.height}, DrawingPaint::Fill,
                    colourOf(b.rgb));
    drawing.box({bar.box.left, bar.box.top}, {bar.box.width, bar.box.height}, DrawingPaint::Stroke, kInk,
                kBarEdgeWidth);
    strokeLines(drawing, bar.ticks, kTickWidth);
    setTexts(drawing, bar.labels, font);
    setText(drawing, bar.name, font);
    setTexts(drawing, f.credit, font);
    return drawing;
}

}  // namespace rubicel
