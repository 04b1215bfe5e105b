// SPDX-License-Identifier: MIT
// key_window.h: what the program keeps of a colour-key window: whether it exists and its picture.
#pragma once

#include "common/raster.h"

namespace rubicel {

// A key window exists (is loaded) from its first use until it is closed; it may
// exist hidden. Its whole client area is kept as a stored image that the window
// shows, so a repaint by the window system never loses the key.
struct KeyWindow {
    bool loaded = false;
    Raster image;
};

}  // namespace rubicel
