// One-pixel lines and the public line call.
//
// A one-pixel line paints, for every step along its major axis, the pixel nearest to the
// exact line; a tie (the line passing half-way between two pixels) goes to the pixel with
// the smaller coordinate. The pixel at each step is computed from the end points alone,
// so a clipped line paints exactly the pixels of the whole line that lie in the clip.
#include "raster/raster.h"
#include "raster/raster_internal.h"

namespace sktch::raster {

namespace detail {

namespace {

// Walks the steps of a line whose major axis is "u" and minor axis "v": u runs over
// [u_first, u_last] (u_first <= u_last), v(u) = v1 + round_half_down(s * (u - u1) / d),
// with d > 0 and |s| <= d. `plot(u, v)` returns false once the walk can stop.
template <class Plot>
void walk(i64 u1, i64 v1, i64 s, i64 d, i64 u_first, i64 u_last, Plot&& plot) {
    if (u_first > u_last) return;
    const i128 e = i128(2) * s * (u_first - u1) - d;
    const i128 two_d = i128(2) * d;
    const i128 q0 = ceil_div(e, two_d);
    i64 v = i64(v1 + q0);
    i64 r = i64(e - q0 * two_d);  // in (-2d, 0]
    const i64 step = 2 * s, span = 2 * d;
    for (i64 u = u_first;; ++u) {
        if (!plot(u, v)) return;
        if (u == u_last) return;
        r += step;
        if (r > 0) {
            ++v;
            r -= span;
        } else if (r <= -span) {
            --v;
            r += span;
        }
    }
}

}  // namespace

void thin_line(const Painter& p, i64 x1, i64 y1, i64 x2, i64 y2, bool last) {
    if (p.empty()) return;
    const i64 dx = x2 - x1, dy = y2 - y1;
    if (dx == 0 && dy == 0) {
        if (last) p.pixel(x1, y1);
        return;
    }
    const Clip& c = p.clip;
    const i64 adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    if (adx >= ady) {
        // Steps along x: the painted x values run from x1 towards x2.
        i64 a = dx > 0 ? x1 : (last ? x2 : x2 + 1);
        i64 b = dx > 0 ? (last ? x2 : x2 - 1) : x1;
        if (dy == 0) {
            p.span(y1, a, b + 1);
            return;
        }
        if (a < c.left) a = c.left;
        if (b > i64(c.right) - 1) b = i64(c.right) - 1;
        const i64 s = dx > 0 ? dy : -dy;
        walk(x1, y1, s, adx, a, b, [&](i64 x, i64 y) {
            if (y >= c.top && y < c.bottom) {
                p.row(y)[x] = p.color;
                return true;
            }
            // Past the clip in the direction the line moves: nothing more to paint.
            return s > 0 ? y < c.top : y >= c.bottom;
        });
    } else {
        i64 a = dy > 0 ? y1 : (last ? y2 : y2 + 1);
        i64 b = dy > 0 ? (last ? y2 : y2 - 1) : y1;
        if (dx == 0) {
            if (x1 < c.left || x1 >= c.right) return;
            if (a < c.top) a = c.top;
            if (b > i64(c.bottom) - 1) b = i64(c.bottom) - 1;
            for (i64 y = a; y <= b; ++y) p.row(y)[x1] = p.color;
            return;
        }
        if (a < c.top) a = c.top;
        if (b > i64(c.bottom) - 1) b = i64(c.bottom) - 1;
        const i64 s = dy > 0 ? dx : -dx;
        walk(y1, x1, s, ady, a, b, [&](i64 y, i64 x) {
            if (x >= c.left && x < c.right) {
                p.row(y)[x] = p.color;
                return true;
            }
            return s > 0 ? x < c.left : x >= c.right;
        });
    }
}

}  // namespace detail

void line(const Target& t, const Pen& pen, int x1, int y1, int x2, int y2) {
    if (pen.null) return;
    const detail::Painter p(t, pen.color);
    const int width = detail::pen_width(pen);
    if (width == 1) {
        detail::thin_line(p, x1, y1, x2, y2, false);
    } else {
        const Point pts[2] = {{x1, y1}, {x2, y2}};
        detail::wide_polyline(p, width, pts, 2, false);
    }
}

}  // namespace sktch::raster
