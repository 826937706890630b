// Rectangles: the brush inside the box, the pen along its edges.
#include <utility>

#include "raster/raster.h"
#include "raster/raster_internal.h"

namespace sktch::raster {

using detail::i64;

namespace {

// Everything but the plain filled box, kept apart so that the common case stays light.
[[gnu::noinline]] void outlined_rectangle(const Target& t, const Pen& pen, const Brush& brush,
                                          i64 l, i64 tp, i64 r, i64 b, int width) {
    const bool thin = width == 1;
    if (r - l == 1 && b - tp == 1 && (thin || pen.null)) {
        // A box from a point to itself: that point.
        if (!pen.null)
            detail::Painter(t, pen.color).pixel(l, tp);
        else if (!brush.hollow)
            detail::Painter(t, brush.color).pixel(l, tp);
        return;
    }
    // The pen runs along the path (l, t) - (r - 1, b - 1); the brush fills the inside of
    // that path, so without a pen the painted box is one pixel smaller each way.
    if (!brush.hollow) detail::Painter(t, brush.color).box(l, tp, r - 1, b - 1);
    if (pen.null) return;
    const detail::Painter p(t, pen.color);
    if (thin) {
        p.box(l, tp, r, tp + 1);
        p.box(l, b - 1, r, b);
        p.box(l, tp + 1, l + 1, b - 1);
        p.box(r - 1, tp + 1, r, b - 1);
        return;
    }
    const i64 xs[4] = {l, r - 1, r - 1, l};
    const i64 ys[4] = {tp, tp, b - 1, b - 1};
    detail::wide_polyline64(p, width, xs, ys, 4, true);
}

}  // namespace

void rectangle(const Target& t, const Pen& pen, const Brush& brush, int left, int top, int right,
               int bottom) {
    i64 l = left, tp = top, r = right, b = bottom;
    if (l > r) std::swap(l, r);
    if (tp > b) std::swap(tp, b);
    if (l == r || tp == b) return;
    const int width = detail::pen_width(pen);
    if (width == 1 && !pen.null && !brush.hollow && brush.color == pen.color) {
        // A filled shape: outline and inside are one block.
        detail::Painter(t, pen.color).box(l, tp, r, b);
        return;
    }
    outlined_rectangle(t, pen, brush, l, tp, r, b, width);
}

}  // namespace sktch::raster
