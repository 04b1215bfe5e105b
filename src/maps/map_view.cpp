// SPDX-License-Identifier: MIT
// map_view.cpp: the scrollable map view: scroll-bar layout, visibility and picture offset.
#include "maps/map_view.h"

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

// The client area's width (or height) that shows the picture: the vertical
// (horizontal) bar, when shown, covers the picture along its edge.
int shownWidth(const MapContext& p) {
    const int width = p.ui.clientSize().width;
    return p.dmap.verticalBar ? width - p.ui.controlRect(Control::Vscrbar).width : width;
}
int shownHeight(const MapContext& p) {
    const int height = p.ui.clientSize().height;
    return p.dmap.horizontalBar ? height - p.ui.controlRect(Control::Hscrbar).height : height;
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
    const TwipSize client = p.ui.clientSize();
    bool wide = outer.width < W || client.width < W;
    bool tall = outer.height < H || client.height < H;
    // A bar covers the picture along its edge: what lies under it is reached
    // only with the other bar. Twice, as the second bar can ask for the first.
    const int barWidth = p.ui.controlRect(Control::Vscrbar).width;
    const int barHeight = p.ui.controlRect(Control::Hscrbar).height;
    for (int pass = 0; pass < 2; ++pass) {
        wide = wide || (tall && client.width - barWidth < W);
        tall = tall || (wide && client.height - barHeight < H);
    }
    p.ui.setControlVisible(Control::Hscrbar, wide);
    p.ui.setControlVisible(Control::Corner, wide);
    p.ui.setControlVisible(Control::Vscrbar, tall);
    p.ui.setControlVisible(Control::Corner, tall);
    p.dmap.horizontalBar = wide;
    p.dmap.verticalBar = tall;
    // The bars reach the new picture's far edges from now on, not only after
    // their next movement: a bar left at an earlier small picture's maximum of
    // 0 could not be moved at all. A value beyond the new maximum is pulled
    // back, and the bar's change handler places the picture.
    p.ui.setScrollMaximum(Control::Hscrbar, scrollMaximumFor(W, shownWidth(p)));
    p.ui.setScrollMaximum(Control::Vscrbar, scrollMaximumFor(H, shownHeight(p)));
}

void fitScrollBars(MapContext& p) { checksize(p, p.dmap.widthTwips, p.dmap.heightTwips); }

void Form_Resize(MapContext& p) {
    mapscroll(p);
    fitScrollBars(p);
}

void Hscrbar_Change(MapContext& p) {
    p.ui.setScrollMaximum(Control::Hscrbar, scrollLimit(p, Control::Hscrbar));
    p.dmap.left = -10 * p.ui.scrollValue(Control::Hscrbar);
    placePicture(p);
}

void Vscrbar_Change(MapContext& p) {
    p.ui.setScrollMaximum(Control::Vscrbar, scrollLimit(p, Control::Vscrbar));
    p.dmap.top = -10 * p.ui.scrollValue(Control::Vscrbar);
    placePicture(p);
}

int scrollLimit(const MapContext& p, Control bar) {
    return bar == Control::Hscrbar ? scrollMaximumFor(p.dmap.widthTwips, shownWidth(p))
                                   : scrollMaximumFor(p.dmap.heightTwips, shownHeight(p));
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
