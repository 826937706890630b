// Device contexts: a window's draws on its backing store, a memory one on its bitmap.
// Also painting (BeginPaint/EndPaint), copying between contexts and scrolling.
#include <algorithm>

#include "core/backend.h"
#include "core/core.h"

namespace sktch::platform {
namespace {

// Keeps the context's copy of what a newly selected pen, brush or bitmap holds.
void remember_selection(DeviceContext& dc, HGDIOBJ object) {
    GdiObject* o = find_object(object);
    if (!o) return;
    if (auto* pen = std::get_if<Pen>(&o->value))
        dc.pen_value = pen->pen;
    else if (auto* brush = std::get_if<Brush>(&o->value))
        dc.brush_value = brush->brush;
    else if (auto* bitmap = std::get_if<Bitmap>(&o->value))
        dc.memory_bitmap = bitmap->bitmap.get();
}

HDC add_context(DeviceContext dc) {
    Core& c = core();
    dc.pen = c.stock[BLACK_PEN];
    dc.brush = c.stock[WHITE_BRUSH];
    dc.font = c.stock[SYSTEM_FONT];
    if (dc.memory) dc.bitmap = default_bitmap();
    for (HGDIOBJ o : {dc.pen, dc.brush, dc.font, dc.bitmap}) hold_object(o);
    remember_selection(dc, dc.pen);
    remember_selection(dc, dc.brush);
    remember_selection(dc, dc.bitmap);
    return make_handle<HDC>(c.contexts.add(dc));
}

bool remove_context(HDC handle) {
    DeviceContext* dc = find_context(handle);
    if (!dc) return false;
    DeviceContext gone = *dc;
    core().contexts.remove(handle_id(handle));
    for (HGDIOBJ o : {gone.pen, gone.brush, gone.font, gone.bitmap}) release_object(o);
    return true;
}

}  // namespace

void hold_object(HGDIOBJ object) {
    if (GdiObject* o = find_object(object)) ++o->selections;
}

void release_object(HGDIOBJ object) {
    GdiObject* o = find_object(object);
    if (!o) return;
    if (--o->selections <= 0 && o->delete_pending) core().objects.remove(handle_id(object));
}

raster::Bitmap* context_bitmap(DeviceContext& dc) {
    if (dc.memory) return dc.memory_bitmap;
    Window* w = find_window(dc.window);
    return w ? &w->backing : nullptr;
}

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
        raster::Pixel background = 0xFFFFFF;
        if (GdiObject* o = find_object(w->window_class.background))
            if (auto* b = std::get_if<Brush>(&o->value)) background = b->brush.color;
        std::fill(w->backing.pixels.begin(), w->backing.pixels.end(), background);
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
        core().objects.add(GdiObject{Bitmap{std::make_unique<raster::Bitmap>(width, height, 0)}}));
}

BOOL DeleteDC(HDC dc) {
    return remove_context(dc) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
    Core& c = core();
    DeviceContext* dc = c.contexts.get(handle_id(handle));
    GdiObject* o = c.objects.get(handle_id(object));
    if (!dc || !o || o->delete_pending) return nullptr;
    HGDIOBJ* slot;
    if (auto* pen = std::get_if<Pen>(&o->value)) {
        slot = &dc->pen;
        dc->pen_value = pen->pen;
    } else if (auto* brush = std::get_if<Brush>(&o->value)) {
        slot = &dc->brush;
        dc->brush_value = brush->brush;
    } else if (std::holds_alternative<Font>(o->value)) {
        slot = &dc->font;
    } else {
        // A bitmap goes into one memory context at a time.
        if (!dc->memory || (o->selections != 0 && object != dc->bitmap)) return nullptr;
        slot = &dc->bitmap;
        dc->memory_bitmap = std::get<Bitmap>(o->value).bitmap.get();
    }
    HGDIOBJ previous = *slot;
    if (previous == object) return previous;
    *slot = object;
    ++o->selections;
    release_object(previous);
    return previous;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int src_x, int src_y,
            DWORD rop) {
    DeviceContext* d = find_context(dest);
    DeviceContext* s = find_context(src);
    if (!d || !s || rop != SRCCOPY) return FALSE;
    raster::Bitmap* to = context_bitmap(*d);
    raster::Bitmap* from = context_bitmap(*s);
    if (!to || !from) return FALSE;
    raster::copy(raster::whole(*to), x, y, width, height, *from, src_x, src_y);
    if (!d->memory) window_pixels_changed(d->window);
    return TRUE;
}

BOOL ScrollDC(HDC handle, int dx, int dy, const RECT* scroll, const RECT* clip, void*,
              RECT* update) {
    DeviceContext* dc = find_context(handle);
    raster::Bitmap* bitmap = dc ? context_bitmap(*dc) : nullptr;
    if (!bitmap) return FALSE;
    raster::Target target = raster::whole(*bitmap);
    for (const RECT* r : {scroll, clip}) {
        if (!r) continue;
        target.clip.left = std::max<int>(target.clip.left, r->left);
        target.clip.top = std::max<int>(target.clip.top, r->top);
        target.clip.right = std::min<int>(target.clip.right, r->right);
        target.clip.bottom = std::min<int>(target.clip.bottom, r->bottom);
    }
    if (target.clip.left < target.clip.right && target.clip.top < target.clip.bottom)
        raster::scroll(target, dx, dy);
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
