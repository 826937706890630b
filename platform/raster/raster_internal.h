// Shared helpers of the rasterizer: clipped span painting and exact integer rounding.
#pragma once

#include <algorithm>
#include <cstdint>

#include "raster/raster.h"

namespace sktch::raster::detail {

using i64 = std::int64_t;
using i128 = __int128;

// floor(a / b) and ceil(a / b) for b > 0.
inline i64 floor_div(i64 a, i64 b) {
    i64 q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}
inline i64 ceil_div(i64 a, i64 b) {
    i64 q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}
inline i128 floor_div(i128 a, i128 b) {
    i128 q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}
inline i128 ceil_div(i128 a, i128 b) {
    i128 q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}

// Largest r with r * r <= v (v >= 0).
inline i64 isqrt(i64 v) {
    if (v <= 0) return 0;
    i64 r = static_cast<i64>(__builtin_sqrt(static_cast<double>(v)));
    while (r > 0 && r * r > v) --r;
    while ((r + 1) * (r + 1) <= v) ++r;
    return r;
}

// Paints horizontal runs of one colour, clipped to the target's clip rectangle.
struct Painter {
    Pixel* pixels;
    int stride;
    Clip clip;
    Pixel color;

    Painter(const Target& t, Pixel c)
        : pixels(t.bitmap->pixels.data()), stride(t.bitmap->width), clip(t.clip), color(c) {}

    bool empty() const { return clip.left >= clip.right || clip.top >= clip.bottom; }
    bool row_visible(i64 y) const { return y >= clip.top && y < clip.bottom; }

    // Paints x in [x0, x1) on row y.
    void span(i64 y, i64 x0, i64 x1) const {
        if (y < clip.top || y >= clip.bottom) return;
        if (x0 < clip.left) x0 = clip.left;
        if (x1 > clip.right) x1 = clip.right;
        if (x0 >= x1) return;
        std::fill_n(pixels + y * stride + x0, x1 - x0, color);
    }
    // Paints x in [x0, x1) on a row already known to be within the clip's rows.
    void span_in_row(Pixel* row, i64 x0, i64 x1) const {
        if (x0 < clip.left) x0 = clip.left;
        if (x1 > clip.right) x1 = clip.right;
        if (x0 >= x1) return;
        std::fill_n(row + x0, x1 - x0, color);
    }
    Pixel* row(i64 y) const { return pixels + y * stride; }
    void pixel(i64 x, i64 y) const {
        if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
            pixels[y * stride + x] = color;
    }
    // Paints the block [x0, x1) x [y0, y1).
    void box(i64 x0, i64 y0, i64 x1, i64 y1) const {
        if (x0 < clip.left) x0 = clip.left;
        if (x1 > clip.right) x1 = clip.right;
        if (y0 < clip.top) y0 = clip.top;
        if (y1 > clip.bottom) y1 = clip.bottom;
        if (x0 >= x1 || y0 >= y1) return;
        Pixel* p = pixels + y0 * stride + x0;
        const i64 n = x1 - x0;
        for (i64 y = y0; y < y1; ++y, p += stride) std::fill_n(p, n, color);
    }
};

// A one-pixel line from (x1, y1) towards (x2, y2); the end point itself is painted only
// when `last` is set.
void thin_line(const Painter& p, i64 x1, i64 y1, i64 x2, i64 y2, bool last);

// A wide pen's stroke along a polyline (closed: back to the first point), centred on the
// one-pixel path, with round ends and joins.
void wide_polyline(const Painter& p, int width, const Point* points, int count, bool closed);
void wide_polyline64(const Painter& p, int width, const i64* xs, const i64* ys, int count,
                     bool closed);

// The round dot a wide pen leaves at (x, y).
void wide_dot(const Painter& p, int width, i64 x, i64 y);
// The band a wide pen paints along a segment, without the dots at its ends.
void segment_band(const Painter& p, int width, i64 x1, i64 y1, i64 x2, i64 y2);
// A wide pen's segment with its round ends.
void wide_segment(const Painter& p, int width, i64 x1, i64 y1, i64 x2, i64 y2);

}  // namespace sktch::raster::detail

namespace sktch::raster::detail {

// Fills a polygon by the alternate (even-odd) rule: on each row y, the pixels x with
// x_a <= x < x_b between pairs of edge crossings, where an edge spans the rows
// y_min <= y < y_max.
void fill_polygon64(const Painter& p, const i64* xs, const i64* ys, int count);

}  // namespace sktch::raster::detail
