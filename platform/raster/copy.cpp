// Block copies between bitmaps and scrolling within one.
#include <cstring>

#include "raster/raster.h"
#include "raster/raster_internal.h"

namespace sktch::raster {

using detail::i64;

namespace {

// Copies the w x h block at (sx, sy) in src to (dx, dy) in dst; both blocks are already
// inside their bitmaps. The blocks may overlap when src and dst are the same bitmap.
void move_block(Bitmap& dst, i64 dx, i64 dy, const Bitmap& src, i64 sx, i64 sy, i64 w, i64 h) {
    if (w <= 0 || h <= 0) return;
    const std::size_t bytes = std::size_t(w) * sizeof(Pixel);
    if (&dst == &src && dy > sy) {
        for (i64 r = h - 1; r >= 0; --r)
            std::memmove(dst.row(int(dy + r)) + dx, src.row(int(sy + r)) + sx, bytes);
    } else {
        for (i64 r = 0; r < h; ++r)
            std::memmove(dst.row(int(dy + r)) + dx, src.row(int(sy + r)) + sx, bytes);
    }
}

// Clips the block so that it lies within [lo, hi) on the destination axis and within
// [slo, shi) on the source axis; returns the adjusted (d, s, n).
void clip_axis(i64& d, i64& s, i64& n, i64 lo, i64 hi, i64 slo, i64 shi) {
    if (d < lo) {
        n -= lo - d;
        s += lo - d;
        d = lo;
    }
    if (s < slo) {
        n -= slo - s;
        d += slo - s;
        s = slo;
    }
    if (d + n > hi) n = hi - d;
    if (s + n > shi) n = shi - s;
}

}  // namespace

void copy(const Target& dst, int dx, int dy, int width, int height, const Bitmap& src, int sx,
          int sy) {
    i64 x = dx, y = dy, w = width, h = height, ssx = sx, ssy = sy;
    if (w <= 0 || h <= 0) return;
    clip_axis(x, ssx, w, dst.clip.left, dst.clip.right, 0, src.width);
    clip_axis(y, ssy, h, dst.clip.top, dst.clip.bottom, 0, src.height);
    move_block(*dst.bitmap, x, y, src, ssx, ssy, w, h);
}

void scroll(const Target& t, int dx, int dy) {
    const Clip& c = t.clip;
    i64 x = i64(c.left) + dx, y = i64(c.top) + dy, sx = c.left, sy = c.top;
    i64 w = i64(c.right) - c.left, h = i64(c.bottom) - c.top;
    if (w <= 0 || h <= 0) return;
    clip_axis(x, sx, w, c.left, c.right, c.left, c.right);
    clip_axis(y, sy, h, c.top, c.bottom, c.top, c.bottom);
    move_block(*t.bitmap, x, y, *t.bitmap, sx, sy, w, h);
}

void turn_rows(Bitmap& bitmap, int dy) {
    const i64 h = bitmap.height, first = i64(bitmap.first_row) - dy;
    bitmap.first_row = int(first >= h ? first - h : first < 0 ? first + h : first);
}

void scroll_rows(Bitmap& bitmap, int dy) {
    const i64 d = dy < 0 ? -i64(dy) : dy;
    // Moving more than half the rows: the rows kept are fewer than those uncovered.
    if (bitmap.width <= 0 || 2 * d > bitmap.height) return scroll(whole(bitmap), 0, dy);
    if (d == 0) return;
    turn_rows(bitmap, dy);
    const int first = dy < 0 ? int(bitmap.height - d) : 0;  // the rows uncovered
    copy(whole(bitmap), 0, first, bitmap.width, int(d), bitmap, 0, first + dy);
}

}  // namespace sktch::raster
