// A window's backing store kept cheap to scroll and to write a line under: what a text
// window does for every line it shows.
//
// The backing store's rows form a ring (see raster::Bitmap). A scroll of the whole client
// area turns the ring instead of moving pixels; the rows it uncovers then show the rows
// that went out at the other side and are owed their old pixels, which are paid only when
// something reads or draws them, and forgiven when a fill covers them. The plain rows
// record, per stored row, where the row's trailing run of one colour starts, so that a
// fill of whole rows in that colour paints only what came before: a line of text is short
// next to a wide window.
#include <algorithm>
#include <utility>

#include "core/core.h"

namespace sktch::platform {

void pay_owed_rows(Window& w) {
    const Window::OwedRows owed = std::exchange(w.owed, {});
    raster::Bitmap& b = w.backing;
    raster::copy(raster::whole(b), 0, owed.first, b.width, owed.count, b, 0, owed.from);
    if (w.plain.known)
        for (int i = 0; i < owed.count; ++i)
            w.plain.from[std::size_t(b.stored_row(owed.first + i))] =
                w.plain.from[std::size_t(b.stored_row(owed.from + i))];
}

void reset_window_rows(Window& w, raster::Pixel color) {
    w.owed.count = 0;
    w.plain.known = true;
    w.plain.color = color;
    w.plain.from.assign(std::size_t(w.backing.height), 0);
}

void scroll_window_rows(Window& w, int dy) {
    raster::Bitmap& b = backing_to_read(w);
    raster::turn_rows(b, dy);
    const int rows = dy < 0 ? -dy : dy;
    w.owed.count = rows;
    w.owed.first = dy < 0 ? b.height - rows : 0;
    w.owed.from = w.owed.first + dy;
}

void forgive_owed_rows(Window& w, long long left, long long top, long long right,
                       long long bottom) {
    if (left <= 0 && right >= w.backing.width && top <= w.owed.first &&
        bottom >= (long long)w.owed.first + w.owed.count)
        w.owed.count = 0;
}

bool fill_plain_rows(Window& w, long long left, long long top, long long right, long long bottom,
                     raster::Pixel color) {
    if (!w.plain.known || color != w.plain.color || left > 0 || right < w.backing.width)
        return false;
    forgive_owed_rows(w, left, top, right, bottom);
    raster::Bitmap& b = backing_to_read(w);
    const int first = int(std::max(top, 0LL)), end = int(std::min<long long>(bottom, b.height));
    for (int y = first; y < end; ++y) {
        int& plain_from = w.plain.from[std::size_t(b.stored_row(y))];
        if (plain_from > 0) raster::fill_rect(raster::whole(b), 0, y, plain_from, y + 1, color);
        plain_from = 0;
    }
    return true;
}

void mark_drawn_rows(Window& w, long long left, long long top, long long right, long long bottom) {
    if (!w.plain.known) return;
    const raster::Bitmap& b = w.backing;
    if (left >= b.width || right <= 0) return;
    const int first = int(std::max(top, 0LL)), end = int(std::min<long long>(bottom, b.height));
    const int reach = int(std::min<long long>(right, b.width));
    for (int y = first; y < end; ++y) {
        int& plain_from = w.plain.from[std::size_t(b.stored_row(y))];
        plain_from = std::max(plain_from, reach);
    }
}

}  // namespace sktch::platform
