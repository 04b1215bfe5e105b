// SPDX-License-Identifier: MIT
// map_view.h: the scrollable map view: scroll-bar layout, visibility and picture offset.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace rubicel {

struct MapContext;

// Lays out the two scroll bars and the corner button; run on every resize.
void mapscroll(MapContext& p);
// Shows or hides the bars for a new picture of W x H twips.
void checksize(MapContext& p, std::int32_t W, std::int32_t H);
// Decides the bars for the picture shown now (a resize, a picture not drawn
// by a renderer) as checksize does after a drawing, and places the picture
// where the bars say: a hidden bar brings its edge back into view.
void fitScrollBars(MapContext& p);
// The user moved a bar.
void Hscrbar_Change(MapContext& p);
void Vscrbar_Change(MapContext& p);
// The maximum that the bar's change handler gives it for the picture shown now;
// 0 or less when the picture fits the client area that way.
int scrollLimit(const MapContext& p, Control bar);
// Sets the picture's size in twips: floor(W/15) x floor(H/15) pixels. What is
// drawn stays where the old and new size overlap; the rest is background.
void sizeMapPicture(MapContext& p, std::int32_t W, std::int32_t H);
// Clears every pixel of the picture to the background colour.
void clearMapPicture(MapContext& p);
// Moves the picture to left, top (twips) in the client area.
void moveMapPicture(MapContext& p, int left, int top);

}  // namespace rubicel
