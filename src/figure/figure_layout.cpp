// SPDX-License-Identifier: MIT
// figure_layout.cpp: a map as a figure for a paper: its page laid out once, in points, for every backend.
#include "figure/figure_layout.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numbers>

#include "furniture/graticule.h"
#include "furniture/label_font.h"
#include "maps/relief_shading.h"

namespace rubicel {

namespace {

// The frame in picture pixels: its north-west corner and size.
struct FrameInPicture {
    PicturePoint origin;
    double width = 0;
    double height = 0;
};

FrameInPicture frameInPicture(const MapGeometry& map) {
    if (!map.polar()) return {{0, 0}, double(map.width()), double(map.height())};
    const PicturePoint pole = map.poleAt();
    const double rim = map.rimRadius();
    return {{pole.x - rim, pole.y - rim}, 2 * rim, 2 * rim};
}

// The ticks and labels round the frame at one scale, in points from the
// frame's north-west corner; extent holds them and the frame.
struct FrameMarks {
    int interval = 0;
    std::vector<PageLine> ticks;
    std::vector<PageText> labels;
    PageBox extent;
};

// Drops each label that comes within kLabelClearMm of one kept before it.
void keepApart(std::vector<PageText>& labels) {
    const double clear = pointsOfMm(kLabelClearMm);
    std::vector<PageText> kept;
    for (PageText& label : labels) {
        const bool free = std::none_of(kept.begin(), kept.end(),
                                       [&](const PageText& k) { return k.box.grown(clear).overlaps(label.box); });
        if (free) kept.push_back(std::move(label));
    }
    labels = std::move(kept);
}

FrameMarks marksAt(const MapGeometry& map, const FrameInPicture& frame, double scale, const LabelFont& font) {
    FrameMarks marks;
    // The graticule's rule on the page: lines kFigureGridSpacingMm apart. On a
    // polar map the meridians come closest at the rim, where a degree of
    // longitude spans rim x pi / 180 pixels.
    double pixelsPerDegree = map.pixelsPerDegree();
    if (map.polar()) pixelsPerDegree = std::min(pixelsPerDegree, map.rimRadius() * std::numbers::pi / 180.0);
    marks.interval = graticuleInterval(pixelsPerDegree * scale, pointsOfMm(kFigureGridSpacingMm));

    FurnitureLayers grid;
    grid.graticule = true;
    grid.gridInterval = marks.interval;
    grid.gridLabels = GridLabels::OutsideFrame;
    grid.unit = kFurniturePoints / scale;
    const FurnitureLayout lines = layOutFurniture(map, grid, font, {});

    const double tick = pointsOfMm(kTickMm), gap = pointsOfMm(kTickGapMm);
    const double ascent = font.ascender() * kLabelSize, height = (font.ascender() + font.descender()) * kLabelSize;
    const auto page = [&](PicturePoint p) {
        return PagePoint{(p.x - frame.origin.x) * scale, (p.y - frame.origin.y) * scale};
    };
    const double frameWidth = frame.width * scale, frameHeight = frame.height * scale;
    marks.extent = {0, 0, frameWidth, frameHeight};

    std::vector<PageText> longitudes, latitudes;
    if (!map.polar()) {
        // Longitudes under the frame, centred under their ticks; latitudes
        // left of it, their ends by their ticks and centred on them.
        for (const GridLine& line : lines.lines) {
            const PagePoint at = page(line.points.front());
            if (line.meridian) {
                marks.ticks.push_back({{at.x, frameHeight}, {at.x, frameHeight + tick}});
                longitudes.push_back(setText(font, longitudeText(std::llround(line.degrees)), kLabelSize, at.x,
                                             frameHeight + tick + gap + ascent, TextAlign::Middle));
            } else {
                marks.ticks.push_back({{0, at.y}, {-tick, at.y}});
                latitudes.push_back(setText(font, latitudeText(std::llround(line.degrees)), kLabelSize, -tick - gap,
                                            centredBaseline(font, kLabelSize, at.y), TextAlign::End));
            }
        }
    } else {
        // Round the limit circle, each longitude out along its meridian: its
        // tick from the rim, then its label's box touching the circle
        // tick + gap further out (support: how far a box centred on the
        // meridian reaches along it).
        const PagePoint centre{frameWidth / 2, frameHeight / 2};
        const double radius = frameWidth / 2;
        for (const GridLine& line : lines.lines) {
            if (!line.meridian) continue;
            const PagePoint end = page(line.points.back());
            const double length = std::hypot(end.x - centre.x, end.y - centre.y);
            if (length <= 0) continue;
            const PagePoint u{(end.x - centre.x) / length, (end.y - centre.y) / length};
            marks.ticks.push_back({{centre.x + radius * u.x, centre.y + radius * u.y},
                                   {centre.x + (radius + tick) * u.x, centre.y + (radius + tick) * u.y}});
            const std::string text = longitudeText(std::llround(line.degrees));
            const double width = font.widthAt(text, kLabelSize);
            const double reach = radius + tick + gap + std::fabs(u.x) * width / 2 + std::fabs(u.y) * height / 2;
            const PagePoint middle{centre.x + reach * u.x, centre.y + reach * u.y};
            longitudes.push_back(setText(font, text, kLabelSize, middle.x, centredBaseline(font, kLabelSize, middle.y),
                                         TextAlign::Middle));
        }
    }
    keepApart(longitudes);
    marks.labels = std::move(longitudes);
    marks.labels.insert(marks.labels.end(), std::make_move_iterator(latitudes.begin()),
                        std::make_move_iterator(latitudes.end()));
    keepApart(marks.labels);
    for (const PageLine& t : marks.ticks)
        marks.extent = marks.extent.united({std::min(t.from.x, t.to.x), std::min(t.from.y, t.to.y),
                                            std::fabs(t.to.x - t.from.x), std::fabs(t.to.y - t.from.y)});
    for (const PageText& l : marks.labels) marks.extent = marks.extent.united(l.box);
    return marks;
}

void shift(PageText& text, double dx, double dy) {
    text.origin.x += dx;
    text.origin.y += dy;
    text.box.left += dx;
    text.box.top += dy;
}

// Lines of text set one under the other from the baseline first, each at x by
// align, kept between the page's margins.
std::vector<PageText> setLines(const LabelFont& font, const std::vector<std::string>& lines, double size, double x,
                               double first, TextAlign align, double pageWidth) {
    const double margin = pointsOfMm(kMarginMm);
    std::vector<PageText> set;
    double baseline = first;
    for (const std::string& line : lines) {
        PageText text = setText(font, line, size, x, baseline, align);
        if (text.box.right() > pageWidth - margin) shift(text, pageWidth - margin - text.box.right(), 0);
        if (text.box.left < margin) shift(text, margin - text.box.left, 0);
        set.push_back(std::move(text));
        baseline += size * kLineSpacing;
    }
    return set;
}

// Degrees in the shortest decimal form of their value to a hundredth.
std::string degreesText(double degrees) {
    char buffer[32];
    const double rounded = std::round(degrees * 100.0) / 100.0;
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, rounded == 0 ? 0.0 : rounded).ptr;
    return std::string(buffer, end) + "°";
}

}  // namespace

std::string creditText(const ReliefSettings& relief) {
    std::string text = "MOLA MEGDR 64 px/deg, NASA/GSFC; names IAU/USGS";
    if (relief.on) {
        const double azimuth = std::fmod(std::fmod(relief.azimuth, 360.0) + 360.0, 360.0);
        text += "; relief: sun at azimuth " + degreesText(azimuth) + ", altitude " + degreesText(relief.altitude);
    }
    return text;
}

FigureLayout layOutFigure(const MapGeometry& map, const ColourState& colour, const ReliefSettings& relief,
                          const FigureSpec& spec, std::span<const MapPlace> places, const LabelFont& font) {
    FigureLayout f;
    f.width = pointsOfMm(std::clamp(spec.widthMm, kFigureWidthMinMm, kFigureWidthMaxMm));
    f.fontFamily = font.family();
    f.fontFile = font.file();
    f.pictureWidth = map.width();
    f.pictureHeight = map.height();
    const double margin = pointsOfMm(kMarginMm);

    // The scale that fits the frame and the labels beside it between the
    // margins. The labels depend on the scale (through the interval), so the
    // room kept for them beside the frame grows until they fit; it only
    // grows, so this ends, within a few passes.
    const FrameInPicture frame = frameInPicture(map);
    double roomLeft = 0, roomRight = 0, scale = 1;
    FrameMarks marks;
    for (int pass = 0; pass < 4; ++pass) {
        scale = std::max(1e-6, (f.width - 2 * margin - roomLeft - roomRight) / frame.width);
        marks = marksAt(map, frame, scale, font);
        const double needLeft = -marks.extent.left, needRight = marks.extent.right() - frame.width * scale;
        if (needLeft <= roomLeft && needRight <= roomRight) break;
        roomLeft = std::max(roomLeft, needLeft);
        roomRight = std::max(roomRight, needRight);
    }
    const double frameLeft = margin + roomLeft;
    const double frameCentre = frameLeft + frame.width * scale / 2;

    // The title, over the frame.
    double y = margin;
    const std::string& title = spec.title.empty() ? spec.caption : spec.title;
    f.title = setLines(font, wrapWords(font, title, kTitleSize, f.width - 2 * margin), kTitleSize, frameCentre,
                       y + font.ascender() * kTitleSize, TextAlign::Middle, f.width);
    if (!f.title.empty()) y = f.title.back().box.bottom() + pointsOfMm(kTitleGapMm);

    // The frame, the picture in it, the ticks and labels round it.
    const double frameTop = y - marks.extent.top;
    f.frame.shape = map.polar() ? FigureFrame::Shape::Circle : FigureFrame::Shape::Rectangle;
    f.frame.box = {frameLeft, frameTop, frame.width * scale, frame.height * scale};
    f.picture = {frameLeft - frame.origin.x * scale, frameTop - frame.origin.y * scale, scale};
    f.pictureBox = {f.picture.left, f.picture.top, map.width() * scale, map.height() * scale};
    f.interval = marks.interval;
    for (PageLine& t : marks.ticks) {
        t.from = {t.from.x + frameLeft, t.from.y + frameTop};
        t.to = {t.to.x + frameLeft, t.to.y + frameTop};
    }
    for (PageText& l : marks.labels) shift(l, frameLeft, frameTop);
    f.ticks = std::move(marks.ticks);
    f.tickLabels = std::move(marks.labels);
    y = frameTop + marks.extent.bottom();

    FurnitureLayers layers = spec.layers;
    layers.gridInterval = f.interval;
    layers.gridLabels = GridLabels::OutsideFrame;
    layers.unit = kFurniturePoints / scale;
    f.furniture = layOutFurniture(map, layers, font, places);

    // The colour bar, centred under the frame; moved, then narrowed, until
    // its annotations keep within the margins.
    const double frameWidth = f.frame.box.width;
    double barWidth = std::min(frameWidth, std::max(kBarShare * frameWidth, pointsOfMm(kBarLeastMm)));
    double barLeft = frameCentre - barWidth / 2;
    const double barTop = y + pointsOfMm(kBarGapMm);
    const ElevationSpan span = spec.range.value_or(kFullElevations);
    for (int pass = 0; pass < 3; ++pass) {
        f.colourBar = layOutColourBar(colour, span, {barLeft, barTop, barWidth, pointsOfMm(kBarHeightMm)}, font);
        PageBox printed = f.colourBar.box;
        for (const PageText& l : f.colourBar.labels) printed = printed.united(l.box);
        const double overLeft = margin - printed.left, overRight = printed.right() - (f.width - margin);
        if (overLeft <= 0 && overRight <= 0) break;
        if (overLeft > 0 && overRight > 0) {
            barWidth -= overLeft + overRight;
            barLeft = (f.width - barWidth) / 2;
        } else {
            barLeft += overLeft > 0 ? overLeft : -overRight;
        }
    }
    y = f.colourBar.bottom();

    // The credit line, from the frame's left edge.
    f.credit = setLines(font, wrapWords(font, creditText(relief), kCreditSize, f.width - margin - frameLeft),
                        kCreditSize, frameLeft, y + pointsOfMm(kCreditGapMm) + font.ascender() * kCreditSize,
                        TextAlign::Start, f.width);
    f.height = f.credit.back().box.bottom() + margin;
    return f;
}

}  // namespace rubicel
