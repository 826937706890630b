// Shared helpers of the rasterizer: clipped span painting and exact integer rounding.
#pragma once

#include <algorithm>
#include <cstddef>
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

// Sets n pixels from p on, n at least 8: 16 bytes at a time (compilers leave the plain loop
// unvectorised at -O2), and long runs by the C library's wmemset, which picks the widest
// stores the processor has (a 32-bit wchar_t is a pixel). Out of line, so that the callers'
// loops over short runs stay small.
void fill_long_run(Pixel* p, std::size_t n, Pixel c);

// Sets n pixels from p on. Runs of a few pixels, like the dots of a picture's details, are
// stored one by one.
inline void fill_pixels(Pixel* p, std::size_t n, Pixel c) {
    if (n >= 8) return fill_long_run(p, n, c);
    for (std::size_t i = 0; i < n; ++i) p[i] = c;
}

// Paints horizontal runs of one colour, clipped to the target's clip rectangle.
struct Painter {
    Pixel* pixels;
    int stride;
    int first_row;  // the bitmap's ring of rows (see Bitmap)
    int height;
    Clip clip;
    Pixel color;

    Painter(const Target& t, Pixel c)
        : pixels(t.bitmap->pixels.data()),
          stride(t.bitmap->width),
          first_row(t.bitmap->first_row),
          height(t.bitmap->height),
          clip(t.clip),
          color(c) {}

    bool empty() const { return clip.left >= clip.right || clip.top >= clip.bottom; }

    // Paints x in [x0, x1) on row y.
    void span(i64 y, i64 x0, i64 x1) const {
        if (y < clip.top || y >= clip.bottom) return;
        if (x0 < clip.left) x0 = clip.left;
        if (x1 > clip.right) x1 = clip.right;
        if (x0 >= x1) return;
        fill_pixels(row(y) + x0, std::size_t(x1 - x0), color);
    }
    // Paints x in [x0, x1) on a row already known to be within the clip's rows.
    void span_in_row(Pixel* row, i64 x0, i64 x1) const {
        if (x0 < clip.left) x0 = clip.left;
        if (x1 > clip.right) x1 = clip.right;
        if (x0 >= x1) return;
        fill_pixels(row + x0, std::size_t(x1 - x0), color);
    }
    // Row y of the bitmap, 0 <= y < height.
    Pixel* row(i64 y) const {
        y += first_row;
        return pixels + (y < height ? y : y - height) * stride;
    }
    void pixel(i64 x, i64 y) const {
        if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom) row(y)[x] = color;
    }
    // Paints the block [x0, x1) x [y0, y1).
    void box(i64 x0, i64 y0, i64 x1, i64 y1) const {
        if (x0 < clip.left) x0 = clip.left;
        if (x1 > clip.right) x1 = clip.right;
        if (y0 < clip.top) y0 = clip.top;
        if (y1 > clip.bottom) y1 = clip.bottom;
        if (x0 >= x1 || y0 >= y1) return;
        const i64 n = x1 - x0;
        for (i64 y = y0; y < y1; ++y) fill_pixels(row(y) + x0, std::size_t(n), color);
    }
};

// Pens wider than this draw as this wide: already far wider than any bitmap, and it keeps
// the dot and band arithmetic within 128 bits.
constexpr int kMaxPenWidth = 1 << 26;
// The width a pen draws with: 0 draws like 1.
inline int pen_width(const Pen& pen) {
    return pen.width < 1 ? 1 : (pen.width > kMaxPenWidth ? kMaxPenWidth : pen.width);
}

// A one-pixel line from (x1, y1) towards (x2, y2); the end point itself is painted only
// when `last` is set.
void thin_line(const Painter& p, i64 x1, i64 y1, i64 x2, i64 y2, bool last = false);

// A wide pen's stroke along a polyline (closed: back to the first point), centred on the
// one-pixel path, with round ends and joins.
void wide_polyline(const Painter& p, int width, const Point* points, int count, bool closed);
void wide_polyline64(const Painter& p, int width, const i64* xs, const i64* ys, int count,
                     bool closed);

// The round dot a wide pen leaves at (x, y).
void wide_dot(const Painter& p, int width, i64 x, i64 y);
// The filled circle of the size by size box at (left, top): what Ellipse paints for that
// box with a brush and a one-pixel pen of one colour.
void filled_circle_box(const Painter& p, i64 left, i64 top, i64 size);
// The band a wide pen paints along a segment, without the dots at its ends.
void segment_band(const Painter& p, int width, i64 x1, i64 y1, i64 x2, i64 y2);
// A wide pen's segment with its round ends.
void wide_segment(const Painter& p, int width, i64 x1, i64 y1, i64 x2, i64 y2);

// Fills a polygon by the alternate (even-odd) rule: on each row y, the pixels x with
// x_a <= x < x_b between pairs of edge crossings, where an edge spans the rows
// y_min <= y < y_max.
void fill_polygon64(const Painter& p, const i64* xs, const i64* ys, int count);

}  // namespace sktch::raster::detail
