// Polygons: alternate-rule scan conversion and the public polygon call.
//
// Rows are sampled at integer y and columns at integer x: an edge from (xa, ya) to (xb, yb)
// with ya < yb crosses the rows ya <= y < yb at x = ceil(exact x), and on each row the
// pixels from one crossing up to (not including) the next are inside, in pairs.
#include <algorithm>
#include <vector>

#include "raster/raster.h"
#include "raster/raster_internal.h"

namespace sktch::raster {

namespace detail {

namespace {

struct Edge {
    i64 y_end;  // first row below the edge
    i64 x;      // crossing on the current row
    i64 r;      // remainder of the crossing, in (-dy, 0]
    i64 qs;     // whole part of the step per row
    i64 rs;     // remainder part of the step per row, in [0, dy)
    i64 dy;
    i64 y_start;
};

struct Scratch {
    std::vector<Edge> edges;
    std::vector<i64> crossings;
};

Scratch& scratch() {
    thread_local Scratch s;
    return s;
}

void insertion_sort(i64* v, std::size_t n) {
    for (std::size_t i = 1; i < n; ++i) {
        const i64 x = v[i];
        std::size_t j = i;
        for (; j > 0 && v[j - 1] > x; --j) v[j] = v[j - 1];
        v[j] = x;
    }
}

}  // namespace

void fill_polygon64(const Painter& p, const i64* xs, const i64* ys, int count) {
    if (count < 3 || p.empty()) return;
    i64 y_lo = ys[0], y_hi = ys[0];
    for (int i = 1; i < count; ++i) {
        y_lo = std::min(y_lo, ys[i]);
        y_hi = std::max(y_hi, ys[i]);
    }
    const i64 first = std::max<i64>(y_lo, p.clip.top);
    const i64 end = std::min<i64>(y_hi, p.clip.bottom);
    if (first >= end) return;

    Scratch& s = scratch();
    s.edges.clear();
    for (int i = 0; i < count; ++i) {
        const int j = i + 1 == count ? 0 : i + 1;
        i64 xa = xs[i], ya = ys[i], xb = xs[j], yb = ys[j];
        if (ya == yb) continue;
        if (ya > yb) {
            std::swap(xa, xb);
            std::swap(ya, yb);
        }
        if (yb <= first || ya >= end) continue;
        Edge e;
        e.dy = yb - ya;
        e.y_start = std::max(ya, first);
        e.y_end = yb;
        const i64 dx = xb - xa;
        // Crossing on the first row this edge is used: xa + ceil(dx * (y - ya) / dy).
        const i128 num = i128(dx) * (e.y_start - ya);
        const i128 q = ceil_div(num, i128(e.dy));
        e.x = i64(xa + q);
        e.r = i64(num - q * e.dy);
        e.qs = floor_div(dx, e.dy);
        e.rs = dx - e.qs * e.dy;
        s.edges.push_back(e);
    }
    if (s.edges.empty()) return;

    for (i64 y = first; y < end; ++y) {
        s.crossings.clear();
        for (Edge& e : s.edges) {
            if (y < e.y_start || y >= e.y_end) continue;
            s.crossings.push_back(e.x);
            e.x += e.qs;
            e.r += e.rs;
            if (e.r > 0) {
                ++e.x;
                e.r -= e.dy;
            }
        }
        const std::size_t n = s.crossings.size();
        if (n < 2) continue;
        i64* c = s.crossings.data();
        if (n <= 16)
            insertion_sort(c, n);
        else
            std::sort(c, c + n);
        Pixel* row = p.row(y);
        for (std::size_t k = 0; k + 1 < n; k += 2) p.span_in_row(row, c[k], c[k + 1]);
    }
}

}  // namespace detail

void polygon(const Target& t, const Pen& pen, const Brush& brush, const Point* points, int count) {
    if (count <= 0 || points == nullptr) return;
    thread_local std::vector<detail::i64> xs, ys;
    xs.resize(std::size_t(count));
    ys.resize(std::size_t(count));
    for (int i = 0; i < count; ++i) {
        xs[i] = points[i].x;
        ys[i] = points[i].y;
    }
    if (!brush.hollow)
        detail::fill_polygon64(detail::Painter(t, brush.color), xs.data(), ys.data(), count);
    if (pen.null) return;
    const detail::Painter p(t, pen.color);
    if (const int width = detail::pen_width(pen); width > 1) {
        detail::wide_polyline(p, width, points, count, true);
        return;
    }
    for (int i = 0; i < count; ++i) {
        const int j = i + 1 == count ? 0 : i + 1;
        detail::thin_line(p, xs[i], ys[i], xs[j], ys[j], false);
    }
}

}  // namespace sktch::raster
