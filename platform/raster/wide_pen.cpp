// Wide pens: a round dot at every point of the path and a band along every segment.
#include <cmath>
#include <vector>

#include "raster/raster.h"
#include "raster/raster_internal.h"

namespace sktch::raster::detail {

namespace {

// With t = k * c / sqrt(len2), for k, c >= 0: round(t / 2) when offset is 1, and
// round((t + 1) / 2) when offset is 2, halves rounded up. That is the largest m with
// (2m - offset) * sqrt(len2) <= k * c, found exactly from a floating-point estimate.
i64 round_half_scaled(i64 k, i64 c, i128 len2, i64 offset) {
    const double t = double(k) * double(c) / std::sqrt(double(len2));
    i64 m = i64(std::floor((t + double(offset)) / 2));
    if (m < 0) m = 0;
    const i128 target = i128(k) * k * i128(c) * c;
    auto fits = [&](i64 v) {
        const i64 s = 2 * v - offset;
        return s <= 0 || i128(s) * s * len2 <= target;
    };
    while (m > 0 && !fits(m)) --m;
    while (fits(m + 1)) ++m;
    return m;
}

}  // namespace

// The band of a segment, without its round ends: a parallelogram whose long sides are the
// path moved along the segment's right-pointing unit normal n by w * n / 2 on the one side
// and by (w * n + 1) / 2 on the other, each component rounded to the nearest whole pixel
// (GDI's own rounding: a ceiling here shifts odd-width slanted bands by a pixel and can
// leave a gap beside the round end). Horizontal and vertical bands come out exactly w pixels
// thick, the extra pixel of an even width on the left or top.
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
    const i64 bx = round_half_scaled(width, nx, len2, 2);
    const i64 by = sy * round_half_scaled(width, any, len2, 2);
    const i64 ax = -round_half_scaled(width, nx, len2, 1);
    const i64 ay = -sy * round_half_scaled(width, any, len2, 1);
    const i64 xs[4] = {x1 + ax, x2 + ax, x2 + bx, x1 + bx};
    const i64 ys[4] = {y1 + ay, y2 + ay, y2 + by, y1 + by};
    fill_polygon64(p, xs, ys, 4);
}

// The dot is the filled circle of the pen's box, with the extra pixel of an even width on
// the left and top: GDI's pictures show exactly that for every width (a disc rule of its own
// differs from it at widths 6, 10 and 13).
void wide_dot(const Painter& p, int width, i64 x, i64 y) {
    filled_circle_box(p, x - width / 2, y - width / 2, width);
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
