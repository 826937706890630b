// Device contexts: a window's draws on its backing store, a memory one on its bitmap.
// Also painting (BeginPaint/EndPaint), copying between contexts and scrolling.
#include <algorithm>
#include <utility>

#include "core/backend.h"
#include "core/core.h"

namespace sktch::platform {
namespace {

// Keeps the context's copy of what a newly selected pen, brush or bitmap holds.
void remember_selection(DeviceContext& dc, HGDIOBJ object) {
    GdiObject* o = find_object(object);
    if (!o) return;
    switch (o->kind) {
        case GdiKind::pen:
            dc.pen_value = o->pen;
            break;
        case GdiKind::brush:
            dc.brush_value = o->brush;
            break;
        case GdiKind::bitmap:
            dc.memory_bitmap = o->bitmap.get();
            break;
        case GdiKind::font:
            break;
    }
}

HDC add_context(DeviceContext dc) {
    Core& c = core();
    dc.pen = c.stock[BLACK_PEN];
    dc.brush = c.stock[WHITE_BRUSH];
    dc.font = c.stock[SYSTEM_FONT];
    if (dc.memory) dc.bitmap = default_bitmap();
    for (HGDIOBJ o : {dc.pen, dc.brush, dc.font, dc.bitmap})
        if (o) ++c.objects.live(handle_id(o)).selections;
    remember_selection(dc, dc.pen);
    remember_selection(dc, dc.brush);
    remember_selection(dc, dc.bitmap);
    return make_handle<HDC>(c.contexts.add(dc));
}

bool remove_context(HDC handle) {
    DeviceContext* dc = find_context(handle);
    if (!dc) return false;
    if (dc->bitmap_shown) settle_shown_bitmap(*dc);
    DeviceContext gone = *dc;
    Core& c = core();
    c.contexts.remove(handle_id(handle));
    for (HGDIOBJ o : {gone.pen, gone.brush, gone.font, gone.bitmap})
        if (o) release_selection(c, o);
    return true;
}

// Puts an object into one of a context's slots and returns what was there; the selection
// counts follow.
HGDIOBJ exchange_selection(Core& c, HGDIOBJ& slot, GdiObject& o, HGDIOBJ object) {
    HGDIOBJ previous = std::exchange(slot, object);
    if (previous != object) {
        ++o.selections;
        release_selection(c, previous);
    }
    return previous;
}

// SelectObject's rarer half, kept apart so that the pen and brush selections of every
// drawing call stay short.
[[gnu::noinline]] HGDIOBJ select_font_or_bitmap(DeviceContext& dc, GdiObject& o, HGDIOBJ object) {
    if (o.kind == GdiKind::font) return exchange_selection(core(), dc.font, o, object);
    // A bitmap goes into one memory context at a time.
    if (!dc.memory || (object != dc.bitmap && o.selections > 0)) return nullptr;
    if (dc.bitmap_shown) settle_shown_bitmap(dc);
    dc.memory_bitmap = o.bitmap.get();
    return exchange_selection(core(), dc.bitmap, o, object);
}

}  // namespace

}  // namespace sktch::platform

using namespace sktch::platform;
namespace raster = sktch::raster;

HDC GetDC(HWND window) {
    if (!find_window(window)) return nullptr;
    DeviceContext dc;
    dc.window = window;
    return add_context(dc);
}

int ReleaseDC(HWND, HDC dc) {
    return remove_context(dc) ? 1 : 0;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    Window* w = find_window(window);
    if (!w) return nullptr;
    bool erase = w->needs_paint;
    w->needs_paint = false;
    if (erase) {
        // The update region is erased with the class background, as WM_ERASEBKGND would.
        std::fill(w->backing.pixels.begin(), w->backing.pixels.end(), class_background(*w));
        w->text_runs.clear();
        reset_window_rows(*w, class_background(*w));
        window_pixels_changed(window);
    }
    HDC dc = GetDC(window);
    if (paint) {
        *paint = PAINTSTRUCT{};
        paint->hdc = dc;
        paint->fErase = FALSE;
        GetClientRect(window, &paint->rcPaint);
    }
    return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* paint) {
    return paint && remove_context(paint->hdc) ? TRUE : FALSE;
}

HDC CreateCompatibleDC(HDC) {
    DeviceContext dc;
    dc.memory = true;
    return add_context(dc);
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return nullptr;
    return make_handle<HBITMAP>(
        core().objects.add(std::make_unique<raster::Bitmap>(width, height, 0)));
}

BOOL DeleteDC(HDC dc) {
    return remove_context(dc) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
    Core& c = core();
    DeviceContext* dc = c.contexts.get(handle_id(handle));
    GdiObject* o = c.objects.get(handle_id(object));
    if (!dc || !o || o->delete_pending) return nullptr;
    if (o->kind == GdiKind::pen) {
        dc->pen_value = o->pen;
        return exchange_selection(c, dc->pen, *o, object);
    }
    if (o->kind == GdiKind::brush) {
        dc->brush_value = o->brush;
        return exchange_selection(c, dc->brush, *o, object);
    }
    return select_font_or_bitmap(*dc, *o, object);
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int src_x, int src_y,
            DWORD rop) {
    DeviceContext* d = find_context(dest);
    DeviceContext* s = find_context(src);
    if (!d || !s || rop != SRCCOPY) return FALSE;
    Window* w = d->memory ? nullptr : find_window(d->window);
    if (w && s->memory && s->memory_bitmap && x == 0 && y == 0 && src_x == 0 && src_y == 0 &&
        width >= w->backing.width && height >= w->backing.height &&
        s->memory_bitmap->width >= w->backing.width &&
        s->memory_bitmap->height >= w->backing.height && backend().defers_window_copies()) {
        // The whole window from a bitmap's top-left corner: copied when someone looks, or
        // before the bitmap changes.
        w->shows = s->bitmap;
        w->shows_held = false;
        w->owed.count = 0;
        w->plain.known = false;
        s->bitmap_shown = true;
    } else {
        raster::Bitmap* to = context_bitmap(*d);
        raster::Bitmap* from = context_bitmap(*s);
        if (!to || !from) return FALSE;
        raster::copy(raster::whole(*to), x, y, width, height, *from, src_x, src_y);
    }
    if (!d->memory) {
        if (Window* w = find_window(d->window); w && !w->text_runs.empty())
            text_covered(*w, RECT{x, y, LONG(std::min<long long>((long long)x + width, INT32_MAX)),
                                  LONG(std::min<long long>((long long)y + height, INT32_MAX))});
        window_pixels_changed(d->window);
    }
    return TRUE;
}

BOOL ScrollDC(HDC handle, int dx, int dy, const RECT* scroll, const RECT* clip, void*,
              RECT* update) {
    DeviceContext* dc = find_context(handle);
    Window* window = dc && !dc->memory ? find_window(dc->window) : nullptr;
    raster::Bitmap* bitmap = window ? &backing_to_read(*window)
                             : dc   ? context_bitmap(*dc)
                                    : nullptr;
    if (!bitmap) return FALSE;
    raster::Target target = raster::whole(*bitmap);
    for (const RECT* r : {scroll, clip}) {
        if (!r) continue;
        target.clip.left = std::max<int>(target.clip.left, r->left);
        target.clip.top = std::max<int>(target.clip.top, r->top);
        target.clip.right = std::min<int>(target.clip.right, r->right);
        target.clip.bottom = std::min<int>(target.clip.bottom, r->bottom);
    }
    const raster::Clip& c = target.clip;
    const long long rows = dy < 0 ? -(long long)dy : dy;
    const bool whole_rows = dx == 0 && c.left == 0 && c.top == 0 && c.right == bitmap->width &&
                            c.bottom == bitmap->height;
    if (window && whole_rows && rows > 0 && 2 * rows <= bitmap->height) {
        scroll_window_rows(*window, dy);  // a text window's scroll
    } else {
        if (window) window->plain.known = false;
        if (whole_rows)
            raster::scroll_rows(*bitmap, dy);
        else if (c.left < c.right && c.top < c.bottom)
            raster::scroll(target, dx, dy);
    }
    if (window && c.left < c.right && c.top < c.bottom)
        text_scrolled(*window, RECT{c.left, c.top, c.right, c.bottom}, dx, dy);
    if (update) {
        // The strip the scroll uncovered.
        RECT u{target.clip.left, target.clip.top, target.clip.right, target.clip.bottom};
        if (dy < 0)
            u.top = std::max<long long>(u.top, (long long)u.bottom + dy);
        else if (dy > 0)
            u.bottom = std::min<long long>(u.bottom, (long long)u.top + dy);
        if (dx < 0)
            u.left = std::max<long long>(u.left, (long long)u.right + dx);
        else if (dx > 0)
            u.right = std::min<long long>(u.right, (long long)u.left + dx);
        *update = u;
    }
    if (!dc->memory) window_pixels_changed(dc->window);
    return TRUE;
}
