// Ellipses.
//
// The outline is the path of an integer walk around the ellipse inscribed in the box's
// pixels: the rectangle-ellipse walk of A. Zingl ("A Rasterizing Algorithm for Drawing
// Curves", 2012), stepping in x only on its x test, and running the tips of thin
// ellipses on to the box's top and bottom rows. Each quarter is the mirror image of the
// lower-right one. A one-pixel pen paints every pixel of the path (nothing when the box is
// a single pixel: the path then has no length); a wide pen strokes the path like a closed
// polyline; the brush fills the rows between the path's ends.
//
// Boxes up to kExactLimit pixels a side are walked exactly (a cost linear in their size);
// larger ones, and wide pens whose cost would be out of proportion, are drawn from the
// ideal ellipse row by row within the clip.
#include <algorithm>
#include <cmath>
#include <utility>

#include "raster/raster.h"
#include "raster/raster_internal.h"

namespace sktch::raster {

namespace {

using detail::i128;
using detail::i64;
using detail::Painter;

constexpr i64 kExactLimit = i64(1) << 20;
// Largest number of pixel writes a wide outline may cost before it is drawn from the
// ideal ellipse instead.
constexpr i64 kWideBudget = i64(1) << 25;

// One row of the lower-right quarter of the path: x from xlo to xhi on row y, relative to
// the box's top-left pixel; `diagonal` when the path came to this row by a diagonal step
// from the previous row's xlo.
struct Run {
    i64 y, xlo, xhi;
    bool diagonal;
};

// Walks the lower-right quarter of the path around a box of (a + 1) x (b + 1) pixels,
// from the right end of the middle row down to the bottom, calling emit(run) for each
// row in turn; stops when emit returns false.
template <class Int, class Emit>
void walk_quarter(i64 a, i64 b, Emit&& emit) {
    const Int A = a, B = b;
    const i64 odd = b & 1;
    Int dx = 4 * (1 - A) * B * B;
    Int dy = 4 * (odd + 1) * A * A;
    Int err = dx + dy + odd * A * A;
    const Int step_x = 8 * B * B, step_y = 8 * A * A;
    i64 x = a, left = 0;                // the path's x and its mirror image's
    i64 y = (b + 1) / 2, up = y - odd;  // the path's y and its mirror image's
    Run run{y, x, x, false};
    for (;;) {
        run.xlo = x;
        const Int e2 = 2 * err;
        const bool step_down = e2 <= dy;
        if (step_down) {
            ++y;
            --up;
            dy += step_y;
            err += dy;
        }
        if (e2 >= dx) {
            ++left;
            --x;
            dx += step_x;
            err += dx;
        }
        if (left > x) break;
        if (step_down) {
            if (!emit(run)) return;
            run = Run{y, x, x, x < run.xlo};
        }
    }
    if (!emit(run)) return;
    // A thin ellipse's tips run straight on to the box's edge.
    const i64 tip = x + 1;
    for (; y - up <= b; ++y, --up) {
        if (y == run.y) continue;
        if (!emit(Run{y, tip, tip, false})) return;
    }
}

template <class Emit>
void walk(i64 a, i64 b, Emit&& emit) {
    if (std::max(a, b) < (i64(1) << 13))
        walk_quarter<i64>(a, b, emit);
    else
        walk_quarter<i128>(a, b, emit);
}

// An ellipse's box.
struct Shape {
    i64 l, t, a, b;  // top-left pixel; the box is (a + 1) x (b + 1) pixels
};

// Paints the lower-right run r and its three mirror images with paint(x0, x1, y) for the
// inclusive span x0..x1 on row y.
template <class Paint>
void mirrored(const Shape& s, const Run& r, Paint&& paint) {
    const i64 lower = s.t + r.y, upper = s.t + s.b - r.y;
    const i64 r0 = s.l + r.xlo, r1 = s.l + r.xhi;
    const i64 l0 = s.l + s.a - r.xhi, l1 = s.l + s.a - r.xlo;
    paint(r0, r1, lower);
    paint(l0, l1, lower);
    if (upper != lower) {
        paint(r0, r1, upper);
        paint(l0, l1, upper);
    }
}

// Whether the walk has gone beyond the clip's rows (widened by `reach`) on both halves.
bool past_clip(const Shape& s, const Run& r, const Clip& c, i64 reach) {
    return s.t + r.y >= c.bottom + reach && s.t + s.b - r.y < c.top - reach;
}
// Whether either half of the run lies within the clip's rows widened by `reach`.
bool near_clip(const Shape& s, const Run& r, const Clip& c, i64 reach) {
    const i64 lower = s.t + r.y, upper = s.t + s.b - r.y;
    return (lower >= c.top - reach && lower < c.bottom + reach) ||
           (upper >= c.top - reach && upper < c.bottom + reach);
}

void exact_fill(const Shape& s, const Painter& p, bool exclusive) {
    walk(s.a, s.b, [&](const Run& r) {
        if (past_clip(s, r, p.clip, 0)) return false;
        const i64 x0 = s.l + s.a - r.xhi, x1 = s.l + r.xhi + (exclusive ? 0 : 1);
        const i64 lower = s.t + r.y, upper = s.t + s.b - r.y;
        if (!exclusive || r.y != s.b) p.span(lower, x0, x1);
        if (upper != lower) p.span(upper, x0, x1);
        return true;
    });
}

void exact_thin_outline(const Shape& s, const Painter& p) {
    if (s.a == 0 && s.b == 0) return;  // the path has no length
    walk(s.a, s.b, [&](const Run& r) {
        if (past_clip(s, r, p.clip, 0)) return false;
        mirrored(s, r, [&](i64 x0, i64 x1, i64 y) { p.span(y, x0, x1 + 1); });
        return true;
    });
}

void exact_wide_outline(const Shape& s, const Painter& p, int width) {
    const i64 reach = width;
    Run prev{0, 0, 0, false};
    bool have_prev = false;
    walk(s.a, s.b, [&](const Run& r) {
        if (past_clip(s, r, p.clip, reach)) return false;
        if (near_clip(s, r, p.clip, reach)) {
            mirrored(s, r,
                     [&](i64 x0, i64 x1, i64 y) { detail::wide_segment(p, width, x0, y, x1, y); });
            if (r.diagonal && have_prev) {
                const i64 ly = s.t + prev.y, ry = s.t + r.y;
                const i64 uy = s.t + s.b - prev.y, vy = s.t + s.b - r.y;
                const i64 px = s.l + prev.xlo, qx = s.l + r.xhi;
                const i64 mpx = s.l + s.a - prev.xlo, mqx = s.l + s.a - r.xhi;
                detail::segment_band(p, width, px, ly, qx, ry);
                detail::segment_band(p, width, mpx, ly, mqx, ry);
                detail::segment_band(p, width, px, uy, qx, vy);
                detail::segment_band(p, width, mpx, uy, mqx, vy);
            }
        }
        prev = r;
        have_prev = true;
        return true;
    });
}

// The ideal ellipse, for boxes too large to walk. In doubled coordinates about the centre
// (P = 2x - cx2, Q = 2y - cy2) the ellipse is (P / a)^2 + (Q / b)^2 = 1.
struct Ideal {
    i64 cx2, cy2;  // twice the centre
    long double a, b;

    // Half the width of the ellipse at doubled row offset q, or a negative value when the
    // row misses it.
    long double half(long double q, long double ea, long double eb) const {
        if (ea <= 0 || eb <= 0) return -1;
        const long double v = q / eb;
        if (v <= -1 || v >= 1) return -1;
        return ea * std::sqrt(1 - v * v);
    }
    // The pixels x0..x1 on row y within the ellipse of half axes ea, eb; false when none.
    bool span(i64 y, long double ea, long double eb, i64& x0, i64& x1) const {
        const long double h = half(static_cast<long double>(2 * y - cy2), ea, eb);
        if (h < 0) return false;
        x0 = i64(std::ceil((cx2 - h) / 2));
        x1 = i64(std::floor((cx2 + h) / 2));
        return x0 <= x1;
    }
};

// The whole ellipse (outline 0), its one-pixel outline (1) or a wide outline.
void ideal_shape(const Shape& s, const Painter& p, int outline) {
    const Ideal e{2 * s.l + s.a, 2 * s.t + s.b, static_cast<long double>(s.a),
                  static_cast<long double>(s.b)};
    const Clip& c = p.clip;
    const long double w = outline;
    for (i64 y = c.top; y < c.bottom; ++y) {
        i64 x0 = 0, x1 = 0;
        if (outline == 0) {
            if (e.span(y, e.a, e.b, x0, x1)) p.span(y, x0, x1 + 1);
            continue;
        }
        if (outline == 1) {
            // The pixels of the row with a neighbour above or below outside the ellipse,
            // and the row's two ends.
            if (!e.span(y, e.a, e.b, x0, x1)) continue;
            i64 u0 = 0, u1 = 0, d0 = 0, d1 = 0;
            const bool up = e.span(y - 1, e.a, e.b, u0, u1);
            const bool down = e.span(y + 1, e.a, e.b, d0, d1);
            if (!up || !down) {
                p.span(y, x0, x1 + 1);
                continue;
            }
            const i64 in0 = std::max(u0, d0), in1 = std::min(u1, d1);
            p.span(y, x0, std::max(x0 + 1, in0));
            p.span(y, std::min(x1, in1 + 1), x1 + 1);
            continue;
        }
        // A wide pen: the ring between the ellipses grown and shrunk by half the width.
        if (!e.span(y, e.a + w, e.b + w, x0, x1)) continue;
        i64 i0 = 0, i1 = 0;
        if (e.span(y, e.a - w, e.b - w, i0, i1) && i0 <= i1) {
            p.span(y, x0, i0);
            p.span(y, i1 + 1, x1 + 1);
        } else {
            p.span(y, x0, x1 + 1);
        }
    }
}

}  // namespace

void detail::filled_circle_box(const Painter& p, i64 left, i64 top, i64 size) {
    if (size <= 0) return;
    const Shape s{left, top, size - 1, size - 1};
    if (s.a <= kExactLimit)
        exact_fill(s, p, false);
    else
        ideal_shape(s, p, 0);
}

void ellipse(const Target& t, const Pen& pen, const Brush& brush, int left, int top, int right,
             int bottom) {
    i64 l = left, tp = top, r = right, b = bottom;
    if (l > r) std::swap(l, r);
    if (tp > b) std::swap(tp, b);
    if (l == r || tp == b) return;
    const Shape s{l, tp, r - l - 1, b - tp - 1};
    const int width = detail::pen_width(pen);
    const bool thin = width == 1;
    const i64 reach = pen.null || thin ? 0 : width;
    const Clip& c = t.clip;
    if (c.left >= c.right || c.top >= c.bottom) return;
    if (r + reach <= c.left || l - reach >= c.right || b + reach <= c.top || tp - reach >= c.bottom)
        return;
    const bool exact = std::max(s.a, s.b) <= kExactLimit;

    const bool point = s.a == 0 && s.b == 0;  // the path has no length and no inside
    if (!brush.hollow && !point) {
        if (thin && !pen.null && pen.color == brush.color) {
            // Brush and outline together cover every row of the path from end to end.
            const Painter fill(t, brush.color);
            if (exact)
                exact_fill(s, fill, false);
            else
                ideal_shape(s, fill, 0);
            return;
        }
        // The brush covers the inside of the path: each row without its last pixel, and
        // not the bottom row.
        const Painter fill(t, brush.color);
        if (exact)
            exact_fill(s, fill, true);
        else
            ideal_shape(s, fill, 0);
    }
    if (pen.null) return;
    const Painter p(t, pen.color);
    if (thin) {
        if (exact)
            exact_thin_outline(s, p);
        else
            ideal_shape(s, p, width);
        return;
    }
    // A wide outline paints about two dots for every row of the path near the clip.
    const i64 clip_w = i64(c.right) - c.left, clip_h = i64(c.bottom) - c.top;
    const i64 path = std::min<i64>(s.a + s.b, 2 * (clip_h + 2 * reach) + 8);
    const i64 dot = std::min<i64>(width, clip_h) * std::min<i64>(width, clip_w);
    if (exact && path <= kWideBudget / std::max<i64>(dot, 1))
        exact_wide_outline(s, p, width);
    else
        ideal_shape(s, p, width);
}

}  // namespace sktch::raster
