// SPDX-License-Identifier: MIT
// figure_svg.cpp: a figure as an SVG 1.1 file: the map a PNG inside it, lines as vectors, every text a <text> element.
#include "export/figure_svg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

#include "common/file_replace.h"
#include "common/raster.h"
#include "export/png_writer.h"
#include "figure/figure_layout.h"
#include "furniture/label_font.h"
#include "maps/map_context.h"

namespace rubicel {

namespace {

// A number of user units (points, or picture pixels under the map's
// transform) to a thousandth, in the C locale's form whatever the program's.
std::string num(double v) {
    double rounded = std::round(v * 1000.0) / 1000.0;
    if (rounded == 0) rounded = 0;  // no "-0"
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, rounded).ptr;
    return std::string(buffer, end);
}

std::string hexColour(int r, int g, int b) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", r & 0xFF, g & 0xFF, b & 0xFF);
    return buffer;
}

std::string hexColour(const FurnitureColour& c) {
    const auto channel = [](double v) { return int(std::lround(std::clamp(v, 0.0, 1.0) * 255.0)); };
    return hexColour(channel(c.red), channel(c.green), channel(c.blue));
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// text as XML character data or an attribute's value: markup characters as
// entities, characters XML 1.0 does not allow left out, and a byte that
// starts no UTF-8 sequence as U+FFFD.
std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char32_t c = nextCodePoint(text, at);
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default:
            if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r') || c == 0xFFFE || c == 0xFFFF) break;
            appendUtf8(out, c);
        }
    }
    return out;
}

std::string base64(const std::vector<unsigned char>& bytes) {
    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t left = bytes.size() - i;
        const std::uint32_t group = std::uint32_t(bytes[i]) << 16 | (left > 1 ? std::uint32_t(bytes[i + 1]) << 8 : 0) |
                                    (left > 2 ? std::uint32_t(bytes[i + 2]) : 0);
        out += kDigits[(group >> 18) & 63];
        out += kDigits[(group >> 12) & 63];
        out += left > 1 ? kDigits[(group >> 6) & 63] : '=';
        out += left > 2 ? kDigits[group & 63] : '=';
    }
    return out;
}

class SvgText {
public:
    explicit SvgText(std::string fontFamily) : family_(std::move(fontFamily)) {}
    std::string& out() { return out_; }

    void line(std::string_view s) {
        out_ += s;
        out_ += '\n';
    }
    // fill and, below 1, its opacity.
    std::string paint(const char* attribute, const FurnitureColour& c) const {
        std::string s = std::string(" ") + attribute + "=\"" + hexColour(c) + '"';
        if (c.alpha < 1.0) s += std::string(" ") + attribute + "-opacity=\"" + num(c.alpha) + '"';
        return s;
    }
    void pageText(const PageText& t) {
        const char* anchor = t.align == TextAlign::Start ? "start" : t.align == TextAlign::Middle ? "middle" : "end";
        const PagePoint at = t.anchor();
        out_ += "<text x=\"" + num(at.x) + "\" y=\"" + num(at.y) + "\" font-family=\"" + fontList() +
                "\" font-size=\"" + num(t.size) + "\" text-anchor=\"" + anchor + '"' + paint("fill", kFigureInk) +
                '>' + escaped(t.text) + "</text>\n";
    }
    // A label of the furniture, in picture pixels: its letters over a halo
    // stroked round them first (paint-order), haloWidth wide.
    void furnitureText(const FurnitureLabel& l, double unit) {
        out_ += "<text x=\"" + num(l.origin.x) + "\" y=\"" + num(l.origin.y) + "\" font-family=\"" + fontList() +
                "\" font-size=\"" + num(textPixels(l.size) * unit) + '"' + paint("fill", kTextColour);
        if (l.halo)
            out_ += paint("stroke", kHaloColour) + " stroke-width=\"" + num(kHaloWidth * unit) +
                    "\" stroke-linejoin=\"round\" paint-order=\"stroke\"";
        out_ += '>' + escaped(l.text) + "</text>\n";
    }

private:
    // The font the layout was measured with, then its metric twin and the
    // generic family for a viewer that has neither.
    std::string fontList() const { return escaped("'" + family_ + "', Arial, Helvetica, sans-serif"); }

    std::string family_;
    std::string out_;
};

std::string polylinePoints(const std::vector<PicturePoint>& points) {
    std::string s;
    for (const PicturePoint& p : points) {
        if (!s.empty()) s += ' ';
        s += num(p.x) + ',' + num(p.y);
    }
    return s;
}

void writeGrid(SvgText& svg, const FurnitureLayout& f, double width, const FurnitureColour& colour) {
    const std::string stroke = svg.paint("stroke", colour) + " stroke-width=\"" + num(width) + "\" fill=\"none\"";
    for (const GridLine& line : f.lines) svg.line("<polyline points=\"" + polylinePoints(line.points) + '"' + stroke + "/>");
    for (const GridCircle& c : f.circles)
        svg.line("<circle cx=\"" + num(c.centre.x) + "\" cy=\"" + num(c.centre.y) + "\" r=\"" + num(c.radius) + '"' +
                 stroke + "/>");
}

// The furniture in picture pixels, in the order furniture_layout.h gives.
void writeFurniture(SvgText& svg, const FurnitureLayout& f) {
    svg.line("<g id=\"furniture\">");
    // Every line's dark edge first, then the light lines over them. Every
    // size of the style is f.unit times as large.
    writeGrid(svg, f, kGridEdgeWidth * f.unit, kGridEdgeColour);
    writeGrid(svg, f, kGridLineWidth * f.unit, kGridLineColour);
    if (f.scaleBar) {
        const PictureBox& b = f.scaleBar->bar;
        svg.line("<rect x=\"" + num(b.left) + "\" y=\"" + num(b.top) + "\" width=\"" + num(b.width) + "\" height=\"" +
                 num(b.height) + '"' + svg.paint("fill", kScaleBarFill) + svg.paint("stroke", kScaleBarEdge) +
                 " stroke-width=\"" + num(kScaleBarEdgeWidth * f.unit) + "\"/>");
    }
    for (const LandingMarker& m : f.markers)
        svg.line("<circle cx=\"" + num(m.centre.x) + "\" cy=\"" + num(m.centre.y) + "\" r=\"" + num(m.radius) + '"' +
                 svg.paint("fill", kMarkerColour) + svg.paint("stroke", kMarkerRingColour) + " stroke-width=\"" +
                 num(kMarkerRingWidth * f.unit) + "\"/>");
    for (const FurnitureLabel& l : f.labels) svg.furnitureText(l, f.unit);
    svg.line("</g>");
}

std::string linesPath(const std::vector<PageLine>& lines) {
    std::string d;
    for (const PageLine& l : lines) {
        if (!d.empty()) d += ' ';
        d += 'M' + num(l.from.x) + ',' + num(l.from.y) + " L" + num(l.to.x) + ',' + num(l.to.y);
    }
    return d;
}

std::string frameShape(const FigureFrame& frame, const std::string& attributes) {
    if (frame.shape == FigureFrame::Shape::Circle)
        return "<circle cx=\"" + num(frame.centre().x) + "\" cy=\"" + num(frame.centre().y) + "\" r=\"" +
               num(frame.radius()) + '"' + attributes + "/>";
    return "<rect x=\"" + num(frame.box.left) + "\" y=\"" + num(frame.box.top) + "\" width=\"" + num(frame.box.width) +
           "\" height=\"" + num(frame.box.height) + '"' + attributes + "/>";
}

}  // namespace

std::string figureSvg(const FigureLayout& f, const Raster& picture) {
    SvgText svg(f.fontFamily);
    // The page's size in millimetres (points x 25.4 / 72) and its viewBox in
    // points: a user unit is a point, as the layout's.
    svg.line("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>");
    svg.line("<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" version=\"1.1\" "
             "width=\"" + num(mmOfPoints(f.width)) + "mm\" height=\"" + num(mmOfPoints(f.height)) +
             "mm\" viewBox=\"0 0 " + num(f.width) + ' ' + num(f.height) + "\">");
    std::string title;
    for (const PageText& t : f.title) {
        if (!title.empty()) title += ' ';
        title += t.text;
    }
    svg.line("<title>" + escaped(title) + "</title>");
    svg.line("<defs><clipPath id=\"frame-clip\">" + frameShape(f.frame, "") + "</clipPath></defs>");
    svg.line("<rect id=\"page\" x=\"0\" y=\"0\" width=\"" + num(f.width) + "\" height=\"" + num(f.height) + '"' +
             svg.paint("fill", kFigurePage) + "/>");

    // The map and its furniture in picture pixels, scaled onto the page.
    svg.line("<g id=\"map\" clip-path=\"url(#frame-clip)\">");
    svg.line("<g transform=\"matrix(" + num(f.picture.scale) + " 0 0 " + num(f.picture.scale) + ' ' +
             num(f.picture.left) + ' ' + num(f.picture.top) + ")\">");
    svg.line("<image x=\"0\" y=\"0\" width=\"" + std::to_string(f.pictureWidth) + "\" height=\"" +
             std::to_string(f.pictureHeight) + "\" preserveAspectRatio=\"none\" xlink:href=\"data:image/png;base64," +
             base64(pngBytes(picture, f.pictureWidth, f.pictureHeight)) + "\"/>");
    writeFurniture(svg, f.furniture);
    svg.line("</g>");
    svg.line("</g>");

    svg.line(frameShape(f.frame, " id=\"frame\" fill=\"none\"" + svg.paint("stroke", kFigureInk) + " stroke-width=\"" +
                                     num(kFrameWidth) + '"'));
    if (!f.ticks.empty())
        svg.line("<path id=\"ticks\" d=\"" + linesPath(f.ticks) + "\" fill=\"none\"" + svg.paint("stroke", kFigureInk) +
                 " stroke-width=\"" + num(kTickWidth) + "\"/>");
    svg.line("<g id=\"graticule-labels\">");
    for (const PageText& t : f.tickLabels) svg.pageText(t);
    svg.line("</g>");
    svg.line("<g id=\"title\">");
    for (const PageText& t : f.title) svg.pageText(t);
    svg.line("</g>");

    // The bar's bands abut: drawn without antialiasing they show no seams.
    const ColourBar& bar = f.colourBar;
    svg.line("<g id=\"colour-bar\">");
    svg.line("<g shape-rendering=\"crispEdges\">");
    for (const ColourBar::Band& b : bar.bands)
        svg.line("<rect x=\"" + num(b.left) + "\" y=\"" + num(bar.box.top) + "\" width=\"" + num(b.right - b.left) +
                 "\" height=\"" + num(bar.box.height) + "\" fill=\"" +
                 hexColour(redOf(b.rgb), greenOf(b.rgb), blueOf(b.rgb)) + "\"/>");
    svg.line("</g>");
    svg.line("<rect x=\"" + num(bar.box.left) + "\" y=\"" + num(bar.box.top) + "\" width=\"" + num(bar.box.width) +
             "\" height=\"" + num(bar.box.height) + "\" fill=\"none\"" + svg.paint("stroke", kFigureInk) +
             " stroke-width=\"" + num(kBarEdgeWidth) + "\"/>");
    if (!bar.ticks.empty())
        svg.line("<path d=\"" + linesPath(bar.ticks) + "\" fill=\"none\"" + svg.paint("stroke", kFigureInk) +
                 " stroke-width=\"" + num(kTickWidth) + "\"/>");
    for (const PageText& t : bar.labels) svg.pageText(t);
    svg.pageText(bar.name);
    svg.line("</g>");

    svg.line("<g id=\"credit\">");
    for (const PageText& t : f.credit) svg.pageText(t);
    svg.line("</g>");
    svg.line("</svg>");
    return std::move(svg.out());
}

std::optional<std::string> writeFigureSvg(const FigureLayout& layout, const Raster& picture, const std::string& path) {
    if (layout.pictureWidth <= 0 || layout.pictureHeight <= 0 || picture.width() < layout.pictureWidth ||
        picture.height() < layout.pictureHeight)
        return "Cannot write " + path + ": the figure's map has no picture";
    const std::string document = figureSvg(layout, picture);
    const auto failure = replaceFile(
        path, [&document](int fd) { return writeAll(fd, document.data(), document.size()); }, LinkAtPath::Replace);
    if (!failure) return std::nullopt;
    return describeFailure(*failure);
}

std::optional<std::string> writeFigureSvg(const MapContext& p, const FigureSpec& spec,
                                          std::span<const MapPlace> places, const std::string& path) {
    const std::optional<MapGeometry> map = MapGeometry::of(p.dmap);
    if (!map) return "Cannot write " + path + ": no finished map to make a figure of";
    std::string error;
    const LabelFont* font = LabelFont::shared(&error);
    if (!font) return "Cannot write " + path + ": " + error;
    return writeFigureSvg(layOutFigure(*map, p.colour, p.relief, spec, places, *font), p.dmap.image, path);
}

}  // namespace rubicel
