// SPDX-License-Identifier: MIT
// raster_test.cpp: the map picture's memory across pictures of very different sizes.
#include "common/raster.h"

#include <gtest/gtest.h>

namespace rubicel {
namespace {

TEST(Raster, AMuchSmallerPictureHandsItsMemoryBack) {
    const struct {
        const char* name;
        int w1, h1, w2, h2;
        bool kept;  // the second picture keeps the first one's memory
    } cases[] = {
        {"same size", 640, 480, 640, 480, true},
        {"a little smaller", 640, 480, 600, 400, true},
        {"half as large", 640, 480, 320, 480, true},
        {"much smaller", 5760, 3200, 960, 480, false},
        {"emptied", 640, 480, 0, 0, false},
        {"larger", 320, 240, 640, 480, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Raster r;
        r.reset(c.w1, c.h1, 0xFF010203u);
        const std::size_t first = r.capacity();
        r.reset(c.w2, c.h2, 0xFF040506u);
        const std::size_t pixels = std::size_t(c.w2) * std::size_t(c.h2);
        EXPECT_EQ(r.capacity() == first, c.kept) << r.capacity();
        EXPECT_GE(r.capacity(), pixels);
        EXPECT_EQ(r.width(), c.w2);
        EXPECT_EQ(r.height(), c.h2);
        if (pixels > 0) {
            EXPECT_EQ(r.pixel(0, 0), 0xFF040506u);
            EXPECT_EQ(r.pixel(c.w2 - 1, c.h2 - 1), 0xFF040506u);
        }
    }
}

}  // namespace
}  // namespace rubicel
