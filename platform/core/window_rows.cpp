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
#include <memory>
#include <utility>

#include "core/core.h"

namespace sktch::platform {

void settle_backing(Window& w) {
    raster::Bitmap& b = w.backing;
    if (HGDIOBJ shown = std::exchange(w.shows, nullptr)) {
        if (GdiObject* o = find_object(shown); o && o->bitmap)
            raster::copy(raster::whole(b), 0, 0, b.width, b.height, *o->bitmap, 0, 0);
    }
    if (std::exchange(w.shows_held, false))
        raster::copy(raster::whole(b), 0, 0, b.width, b.height, *w.held, 0, 0);
    if (w.owed.count == 0) return;
    const Window::OwedRows owed = std::exchange(w.owed, {});
    raster::copy(raster::whole(b), 0, owed.first, b.width, owed.count, b, 0, owed.from);
    if (w.plain.known)
        for (int i = 0; i < owed.count; ++i)
            w.plain.from[std::size_t(b.stored_row(owed.first + i))] =
                w.plain.from[std::size_t(b.stored_row(owed.from + i))];
}

void settle_shown_bitmap(DeviceContext& dc, const raster::Clip* painted) {
    dc.bitmap_shown = false;
    raster::Bitmap* own = dc.memory_bitmap;
    Window* taker = nullptr;
    core().windows.for_each([&](std::uint32_t, Window& w) {
        if (w.shows != dc.bitmap) return;
        if (painted && !taker && own)
            taker = &w;
        else
            settle_backing(w);
    });
    if (!taker) return;
    // The window takes the pixels as they are; the bitmap keeps the window's old store and
    // gets back what the coming call leaves alone: for a frame painted over a background,
    // a sliver instead of the whole bitmap.
    taker->shows = nullptr;
    raster::Bitmap* into = &taker->backing;
    if (into->width != own->width || into->height != own->height) {
        if (!taker->held || taker->held->width != own->width || taker->held->height != own->height)
            taker->held = std::make_unique<raster::Bitmap>(own->width, own->height, 0);
        into = taker->held.get();
        taker->shows_held = true;
    }
    std::swap(*into, *own);
    const raster::Bitmap& shown = *into;
    const int width = shown.width, height = shown.height;
    const int left = std::clamp(painted->left, 0, width),
              right = std::clamp(painted->right, left, width);
    const int top = std::clamp(painted->top, 0, height),
              bottom = std::clamp(painted->bottom, top, height);
    const raster::Target to = raster::whole(*own);
    raster::copy(to, 0, 0, width, top, shown, 0, 0);
    raster::copy(to, 0, bottom, width, height - bottom, shown, 0, bottom);
    raster::copy(to, 0, top, left, bottom - top, shown, 0, top);
    raster::copy(to, right, top, width - right, bottom - top, shown, right, top);
}

void reset_window_rows(Window& w, raster::Pixel color) {
    w.shows = nullptr;  // the whole store was just painted over
    w.shows_held = false;
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
