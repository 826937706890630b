// Wide pens: a round dot at every point of the path and a band along every segment.
#include <cmath>
#include <vector>

#include "raster/raster.h"
#include "raster/raster_internal.h"

namespace sktch::raster::detail {

namespace {

// The band of a segment, without its round ends.
void segment_band(const Painter& p, int width, i64 x1, i64 y1, i64 x2, i64 y2) {
    const i64 half = width / 2;
    if (y1 == y2) {
        p.box(std::min(x1, x2), y1 - half, std::max(x1, x2), y1 - half + width);
        return;
    }
    if (x1 == x2) {
        p.box(x1 - half, std::min(y1, y2), x1 - half + width, std::max(y1, y2));
        return;
    }
    const double dx = double(x2 - x1), dy = double(y2 - y1);
    const double len = std::hypot(dx, dy);
    const double hw = width / 2.0;
    const i64 ox = std::llround(-dy * hw / len), oy = std::llround(dx * hw / len);
    const i64 xs[4] = {x1 + ox, x2 + ox, x2 - ox, x1 - ox};
    const i64 ys[4] = {y1 + oy, y2 + oy, y2 - oy, y1 - oy};
    fill_polygon64(p, xs, ys, 4);
}

}  // namespace

void wide_dot(const Painter& p, int width, i64 x, i64 y) {
    // In units of half a pixel, with (j, k) the offset of a pixel's centre from the pen's
    // centre (the pixel centre for odd widths, the pixel's top-left corner for even ones),
    // the dot holds the pixels with j * j + k * k < width * width - 1.
    const i64 w = width;
    const i64 shift = (w & 1) ^ 1;  // 1 for even widths
    const i64 top = y - w / 2;
    const i64 y0 = std::max<i64>(top, p.clip.top), y1 = std::min<i64>(top + w, p.clip.bottom);
    const i64 limit = w * w - 1;
    for (i64 py = y0; py < y1; ++py) {
        const i64 k = 2 * (py - y) + shift;
        const i64 m = limit - k * k;  // j * j < m
        if (m <= 0) continue;
        i64 j = isqrt(m - 1);
        if (((j - shift) & 1) != 0) --j;
        if (j < 0) continue;
        p.span_in_row(p.row(py), x + (-j - shift) / 2, x + (j - shift) / 2 + 1);
    }
}

void wide_polyline64(const Painter& p, int width, const i64* xs, const i64* ys, int count,
                     bool closed) {
    if (count <= 0 || p.empty()) return;
    for (int i = 0; i < count; ++i) wide_dot(p, width, xs[i], ys[i]);
    const int segments = closed ? count : count - 1;
    for (int i = 0; i < segments; ++i) {
        const int j = i + 1 == count ? 0 : i + 1;
        if (xs[i] == xs[j] && ys[i] == ys[j]) continue;
        segment_band(p, width, xs[i], ys[i], xs[j], ys[j]);
    }
}

void wide_polyline(const Painter& p, int width, const Point* points, int count, bool closed) {
    if (count <= 0) return;
    thread_local std::vector<i64> xs, ys;
    xs.resize(std::size_t(count));
    ys.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        xs[i] = points[i].x;
        ys[i] = points[i].y;
    }
    wide_polyline64(p, width, xs.data(), ys.data(), count, closed);
}

}  // namespace sktch::raster::detail
