// Pens, brushes and the shape calls, handed to the raster core with the context's objects.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <utility>

#include "core/backend.h"
#include "core/core.h"

namespace sktch::platform {
namespace {

// What a shape call needs from its context; `bitmap` is null when there is nothing to draw on.
struct Drawing {
    DeviceContext* dc = nullptr;
    raster::Bitmap* bitmap = nullptr;
    const raster::Pen& pen() const { return dc->pen_value; }
    const raster::Brush& brush() const { return dc->brush_value; }
};

[[gnu::always_inline]] inline Drawing begin(HDC handle) {
    Drawing d;
    d.dc = find_context(handle);
    if (d.dc) d.bitmap = context_bitmap(*d.dc);
    return d;
}

void end(const Drawing& d) {
    if (!d.dc->memory) window_pixels_changed(d.dc->window);
}

// A rectangle without an outline: the interior alone is filled, one pixel short on the
// right and at the bottom, where the outline's last column and row would be.
BOOL fill_interior(DeviceContext& dc, int left, int top, int right, int bottom) {
    if (right < left) std::swap(left, right);
    if (bottom < top) std::swap(top, bottom);
    const bool filled = !dc.brush_value.hollow;
    if (filled && !dc.memory) {
        if (Window* w = find_window(dc.window)) {
            if (fill_plain_rows(*w, left, top, right - 1LL, bottom - 1LL, dc.brush_value.color)) {
                window_pixels_changed(dc.window);
                return TRUE;
            }
            forgive_owed_rows(*w, left, top, right - 1LL, bottom - 1LL);
        }
    }
    raster::Bitmap* bitmap = context_bitmap(dc);
    if (!bitmap) return FALSE;
    // right - 1 and bottom - 1 held at INT_MIN, where the box is empty anyway.
    if (filled)
        raster::fill_rect(raster::whole(*bitmap), left, top, std::max(right, INT_MIN + 1) - 1,
                          std::max(bottom, INT_MIN + 1) - 1, dc.brush_value.color);
    if (!dc.memory) window_pixels_changed(dc.window);
    return TRUE;
}

// A rectangle with a brush is about to be drawn on a bitmap a window shows: the brush
// paints at least the box inside its outermost rows and columns.
[[gnu::noinline]] void settle_before_box(DeviceContext& dc, int left, int top, int right,
                                         int bottom) {
    auto inward = [](int edge, int by) {
        return int(std::clamp<long long>((long long)edge + by, INT_MIN, INT_MAX));
    };
    const raster::Clip inside{inward(std::min(left, right), 1), inward(std::min(top, bottom), 1),
                              inward(std::max(left, right), -1), inward(std::max(top, bottom), -1)};
    settle_shown_bitmap(dc, &inside);
}

}  // namespace
}  // namespace sktch::platform

using namespace sktch::platform;
namespace raster = sktch::raster;

HPEN CreatePen(int style, int width, COLORREF color) {
    raster::Pen pen;
    pen.color = to_pixel(color);
    pen.width = width == INT32_MIN ? INT32_MAX : std::abs(width);
    pen.null = style == PS_NULL;
    return make_handle<HPEN>(core().objects.add(pen));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return make_handle<HBRUSH>(core().objects.add(raster::Brush{to_pixel(color), false}));
}

HGDIOBJ GetStockObject(int index) {
    if (index < 0 || index >= int(core().stock.size())) return nullptr;
    return core().stock[std::size_t(index)];
}

BOOL DeleteObject(HGDIOBJ object) {
    Core& c = core();
    GdiObject* o = c.objects.get(handle_id(object));
    if (!o) return FALSE;
    if (o->stock) return TRUE;
    if (o->selections > 0) {
        o->delete_pending = true;
    } else {
        c.objects.erase(handle_id(object));
    }
    return TRUE;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = find_context(dc);
    if (!context) return FALSE;
    if (context->bitmap_shown && !context->brush_value.hollow) [[unlikely]]
        settle_before_box(*context, left, top, right, bottom);
    if (!context->memory && !context->brush_value.hollow)
        if (Window* w = find_window(context->window); w && !w->text_runs.empty())
            text_covered(*w, RECT{std::min(left, right), std::min(top, bottom),
                                  std::max(left, right), std::max(top, bottom)});
    if (context->pen_value.null) return fill_interior(*context, left, top, right, bottom);
    raster::Bitmap* bitmap = context_bitmap(*context);
    if (!bitmap) return FALSE;
    raster::rectangle(raster::whole(*bitmap), context->pen_value, context->brush_value, left, top,
                      right, bottom);
    end(Drawing{context, bitmap});
    return TRUE;
}

BOOL Ellipse(HDC dc, int left, int top, int right, int bottom) {
    Drawing d = begin(dc);
    if (!d.bitmap) return FALSE;
    raster::ellipse(raster::whole(*d.bitmap), d.pen(), d.brush(), left, top, right, bottom);
    end(d);
    return TRUE;
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
    Drawing d = begin(dc);
    if (!d.bitmap || !points || count < 2) return FALSE;
    static thread_local std::vector<raster::Point> converted;
    converted.clear();
    for (int i = 0; i < count; ++i) converted.push_back({points[i].x, points[i].y});
    raster::polygon(raster::whole(*d.bitmap), d.pen(), d.brush(), converted.data(), count);
    end(d);
    return TRUE;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
    DeviceContext* d = find_context(dc);
    if (!d) return FALSE;
    if (previous) *previous = d->position;
    d->position = {x, y};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    Drawing d = begin(dc);
    if (!d.bitmap) return FALSE;
    raster::line(raster::whole(*d.bitmap), d.pen(), d.dc->position.x, d.dc->position.y, x, y);
    d.dc->position = {x, y};
    end(d);
    return TRUE;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    Drawing d = begin(dc);
    if (!d.bitmap) return CLR_INVALID;
    if (x < 0 || y < 0 || x >= d.bitmap->width || y >= d.bitmap->height) return CLR_INVALID;
    raster::set_pixel(raster::whole(*d.bitmap), x, y, to_pixel(color));
    end(d);
    return color;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    Drawing d = begin(dc);
    if (!d.bitmap || x < 0 || y < 0 || x >= d.bitmap->width || y >= d.bitmap->height)
        return CLR_INVALID;
    return to_colorref(d.bitmap->at(x, y));
}
