// SPDX-License-Identifier: MIT
// map_view.cpp: the scrollable map view: scroll-bar layout, visibility and picture offset.
#include "maps/map_view.h"

#include <algorithm>
#include <cmath>

#include "common/rounding.h"
#include "maps/map_context.h"

namespace rubicel {

namespace {

// A width or height the window system refuses.
constexpr const char* kInvalidProperty = "Invalid property value";

void reportScrollFailure(MapContext& p, const char* description) {
    p.ui.messageBox(std::string("Module 'MapScroll': ") + description, "", Icon::None);
}

void placePicture(MapContext& p) {
    p.ui.setControlRect(Control::Dmap, {p.dmap.left, p.dmap.top, p.dmap.widthTwips, p.dmap.heightTwips});
}

// round((picture - client) / 10), halves to even; the bar's maximum.
int scrollMaximumFor(int picture, int client) {
    return int(roundHalfEven((double(picture) - double(client)) / 10.0));
}

}  // namespace

void mapscroll(MapContext& p) {
    Platform& ui = p.ui;
    const TwipSize client = ui.clientSize();
    TwipRect h = ui.controlRect(Control::Hscrbar);
    TwipRect v = ui.controlRect(Control::Vscrbar);
    TwipRect corner = ui.controlRect(Control::Corner);

    // Each step takes effect at once, so a failure leaves the later steps undone.
    h.left = 0;
    ui.setControlRect(Control::Hscrbar, h);
    h.top = client.height - h.height;
    ui.setControlRect(Control::Hscrbar, h);
    if (client.width - v.width < 0) return reportScrollFailure(p, kInvalidProperty);
    h.width = client.width - v.width;
    ui.setControlRect(Control::Hscrbar, h);
    corner.width = v.width;
    ui.setControlRect(Control::Corner, corner);
    corner.height = h.height;
    ui.setControlRect(Control::Corner, corner);
    v.left = client.width - v.width;
    ui.setControlRect(Control::Vscrbar, v);
    v.top = 0;
    ui.setControlRect(Control::Vscrbar, v);
    if (client.height - h.height < 0) return reportScrollFailure(p, kInvalidProperty);
    v.height = client.height - h.height;
    ui.setControlRect(Control::Vscrbar, v);
    corner.left = v.left;
    ui.setControlRect(Control::Corner, corner);
    corner.top = h.top;
    ui.setControlRect(Control::Corner, corner);
}

void checksize(MapContext& p, std::int32_t W, std::int32_t H) {
    const TwipSize outer = p.ui.outerSize();
    const bool wide = outer.width < W;
    p.ui.setControlVisible(Control::Hscrbar, wide);
    p.ui.setControlVisible(Control::Corner, wide);
    const bool tall = outer.height < H;
    p.ui.setControlVisible(Control::Vscrbar, tall);
    p.ui.setControlVisible(Control::Corner, tall);
    // A bar shown reaches the far edge of this picture, whatever an earlier
    // picture left as its maximum (a smaller one leaves 0, and a bar that
    // cannot move would never learn the new size).
    if (wide) p.ui.setScrollMaximum(Control::Hscrbar, std::max(0, scrollLimit(p, Control::Hscrbar)));
    if (tall) p.ui.setScrollMaximum(Control::Vscrbar, std::max(0, scrollLimit(p, Control::Vscrbar)));
}

void fitScrollBars(MapContext& p) {
    const TwipSize outer = p.ui.outerSize();
    checksize(p, p.dmap.widthTwips, p.dmap.heightTwips);
    // A hidden bar brings the picture's edge back; its change handler places it.
    if (outer.width >= p.dmap.widthTwips) p.ui.setScrollValue(Control::Hscrbar, 0);
    if (outer.height >= p.dmap.heightTwips) p.ui.setScrollValue(Control::Vscrbar, 0);
}

void Hscrbar_Change(MapContext& p) {
    p.ui.setScrollMaximum(Control::Hscrbar, scrollMaximumFor(p.dmap.widthTwips, p.ui.clientSize().width));
    p.dmap.left = -10 * p.ui.scrollValue(Control::Hscrbar);
    placePicture(p);
}

void Vscrbar_Change(MapContext& p) {
    p.ui.setScrollMaximum(Control::Vscrbar, scrollMaximumFor(p.dmap.heightTwips, p.ui.clientSize().height));
    p.dmap.top = -10 * p.ui.scrollValue(Control::Vscrbar);
    placePicture(p);
}

int scrollLimit(const MapContext& p, Control bar) {
    const TwipSize client = p.ui.clientSize();
    return bar == Control::Hscrbar ? scrollMaximumFor(p.dmap.widthTwips, client.width)
                                   : scrollMaximumFor(p.dmap.heightTwips, client.height);
}

void sizeMapPicture(MapContext& p, std::int32_t W, std::int32_t H) {
    p.dmap.widthTwips = W;
    p.dmap.heightTwips = H;
    ++p.dmap.revision;
    p.dmap.image.resize(W / kTwipsPerPixel, H / kTwipsPerPixel);
    placePicture(p);
    p.ui.mapImageReset(p.dmap.image);
}

void clearMapPicture(MapContext& p) {
    p.dmap.image.fill(kPictureBackground);
    ++p.dmap.revision;
    p.ui.mapImageReset(p.dmap.image);
}

void moveMapPicture(MapContext& p, int left, int top) {
    p.dmap.left = left;
    p.dmap.top = top;
    placePicture(p);
}

}  // namespace rubicel
