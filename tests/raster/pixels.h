// Small helpers for looking at bitmaps in the rasterizer's tests.
#pragma once

#include <set>
#include <utility>

#include "colours.h"
#include "raster/raster.h"

namespace sktch::raster::testing_support {

using test_support::kBlue;
using test_support::kRed;
using test_support::kWhite;

using PixelSet = std::set<std::pair<int, int>>;

// The pixels that are not `background`.
inline PixelSet painted(const Bitmap& b, Pixel background = kWhite) {
    PixelSet s;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            if (b.at(x, y) != background) s.insert({x, y});
    return s;
}

inline int count(const Bitmap& b, Pixel color) {
    int n = 0;
    for (Pixel p : b.pixels) n += p == color;
    return n;
}

// The bitmap moved by (dx, dy), with `background` where nothing moved in.
inline Bitmap shifted(const Bitmap& b, int dx, int dy, Pixel background = kWhite) {
    Bitmap out(b.width, b.height, background);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            const int sx = x - dx, sy = y - dy;
            if (sx >= 0 && sx < b.width && sy >= 0 && sy < b.height) out.row(y)[x] = b.at(sx, sy);
        }
    return out;
}

inline Pen pen(Pixel color, int width) {
    return Pen{color, width, false};
}
inline Brush solid(Pixel color) {
    return Brush{color, false};
}
inline Brush hollow() {
    return Brush{0, true};
}

}  // namespace sktch::raster::testing_support
