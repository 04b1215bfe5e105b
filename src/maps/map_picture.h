// SPDX-License-Identifier: MIT
// map_picture.h: the map picture dmap: its size and place in twips and its pixels.
#pragma once

#include "common/raster.h"
#include "maps/drawn_map.h"
#include "platform/platform.h"

namespace rubicel {

// The picture is widthTwips x heightTwips display units and holds
// floor(width/15) x floor(height/15) pixels; pixels set beyond that are clipped.
struct MapPicture {
    int widthTwips = 0;
    int heightTwips = 0;
    int left = 0;  // place in the window's client area, twips
    int top = 0;
    Raster image;
    // Counts every emptying, resizing or replacing of the pixels; a drawn map
    // belongs to the revision it was drawn into.
    int revision = 0;
    DrawnMap shows;  // what the pixels show, once a drawing has ended
};

}  // namespace rubicel
