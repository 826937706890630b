// Wide pens: a round dot at every point of the path and a band along every segment.
#include <cmath>
#include <vector>

#include "raster/raster.h"
#include "raster/raster_internal.h"

namespace sktch::raster::detail {

namespace {

// ceil(k * c / sqrt(len2)) for k, c >= 0.
i64 ceil_scaled(i64 k, i64 c, i128 len2) {
    const double estimate = double(k) * double(c) / std::sqrt(double(len2));
    i64 m = i64(std::ceil(estimate));
    if (m < 0) m = 0;
    const i128 target = i128(k) * k * i128(c) * c;
    // The smallest m with m^2 * len2 >= k^2 c^2.
    auto fits = [&](i64 v) { return i128(v) * v * len2 >= target; };
    while (!fits(m)) ++m;
    while (m > 0 && fits(m - 1)) --m;
    return m;
}

}  // namespace

// The band of a segment, without its round ends: a parallelogram whose long sides are the
// path moved along the segment's right-pointing unit normal n by B = ceil_away((w + 1) / 2 * n)
// and by B - ceil_away(w * n), each component rounded away from zero. Horizontal and
// vertical bands come out exactly w pixels thick, the extra pixel of an even width on the
// left or top.
void segment_band(const Painter& p, int width, i64 x1, i64 y1, i64 x2, i64 y2) {
    const i64 narrow = width / 2, wide = width - narrow;
    if (y1 == y2) {
        p.box(std::min(x1, x2), y1 - narrow, std::max(x1, x2), y1 + wide);
        return;
    }
    if (x1 == x2) {
        p.box(x1 - narrow, std::min(y1, y2), x1 + wide, std::max(y1, y2));
        return;
    }
    const i64 dx = x2 - x1, dy = y2 - y1;
    // The normal pointing right: (nx, ny) with nx > 0.
    const i64 nx = dy < 0 ? -dy : dy;
    const i64 ny = dy < 0 ? dx : -dx;
    const i64 any = ny < 0 ? -ny : ny;
    const i128 len2 = i128(nx) * nx + i128(ny) * ny;
    const i64 sy = ny < 0 ? -1 : 1;
    const i64 bx = ceil_scaled(wide, nx, len2), by = sy * ceil_scaled(wide, any, len2);
    const i64 ax = bx - ceil_scaled(width, nx, len2), ay = by - sy * ceil_scaled(width, any, len2);
    const i64 xs[4] = {x1 + ax, x2 + ax, x2 + bx, x1 + bx};
    const i64 ys[4] = {y1 + ay, y2 + ay, y2 + by, y1 + by};
    fill_polygon64(p, xs, ys, 4);
}

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

void wide_segment(const Painter& p, int width, i64 x1, i64 y1, i64 x2, i64 y2) {
    wide_dot(p, width, x1, y1);
    if (x1 == x2 && y1 == y2) return;
    wide_dot(p, width, x2, y2);
    segment_band(p, width, x1, y1, x2, y2);
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
