// The renderer: every drawing call ends here, painting the off-screen surface at once.
#include <algorithm>
#include <climits>
#include <cstring>

#include "state.h"

namespace sktch {
namespace {

// World to device: y grows upward in the world. A point beyond the int32 range after the
// shift is held at its limit (far outside the surface either way), never wrapped around.
int clamp32(long long v) {
    return int(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}
int dx(std::int32_t x) {
    return clamp32((long long)state.origin_x + x);
}
int dy(std::int32_t y) {
    return clamp32((long long)state.origin_y - y);
}

// The shape's own call, out of line: draw_box is flattened, and flattening the shape too
// would copy the whole rasterizer into it.
[[gnu::noinline]] void box_shape(int kind, int left, int top, int right, int bottom) {
    if (kind == kRectangle)
        Rectangle(state.surface_dc, left, top, right, bottom);
    else
        Ellipse(state.surface_dc, left, top, right, bottom);
}

// Every lit window of the game's skyline passes here, so its eight pen and brush calls are
// compiled into one body (flatten: when link-time optimization can see the platform's
// code), where they share their look-ups; about a sixth of a small box's cost.
[[gnu::flatten]] void draw_box(const DrawCommand& c) {
    COLORREF rgb = color_table[c.color].rgb;
    HPEN pen = CreatePen(PS_SOLID, c.width, rgb);
    HBRUSH brush =
        c.width == 0 ? CreateSolidBrush(rgb) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    HGDIOBJ old_pen = SelectObject(state.surface_dc, pen);
    HGDIOBJ old_brush = SelectObject(state.surface_dc, brush);
    // Both corner points belong to the shape: right and bottom edges are exclusive.
    int right = clamp32((long long)dx(c.x2) + 1);
    int bottom = clamp32((long long)dy(c.y2) + 1);
    box_shape(c.kind, dx(c.x1), dy(c.y1), right, bottom);
    SelectObject(state.surface_dc, old_pen);
    SelectObject(state.surface_dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void draw_triangle(const DrawCommand& c) {
    COLORREF rgb = color_table[c.color].rgb;
    HPEN pen = CreatePen(PS_SOLID, c.width, rgb);
    HGDIOBJ old_pen = SelectObject(state.surface_dc, pen);
    POINT points[3] = {{dx(c.x1), dy(c.y1)}, {dx(c.x2), dy(c.y2)}, {dx(c.x3), dy(c.y3)}};
    HBRUSH brush =
        c.width == 0 ? CreateSolidBrush(rgb) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    HGDIOBJ old_brush = SelectObject(state.surface_dc, brush);
    Polygon(state.surface_dc, points, 3);
    SelectObject(state.surface_dc, old_pen);
    SelectObject(state.surface_dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void draw_line(const DrawCommand& c) {
    HPEN pen = CreatePen(PS_SOLID, c.width, color_table[c.color].rgb);
    HGDIOBJ old_pen = SelectObject(state.surface_dc, pen);
    MoveToEx(state.surface_dc, dx(c.x1), dy(c.y1), nullptr);
    LineTo(state.surface_dc, dx(c.x2), dy(c.y2));
    SelectObject(state.surface_dc, old_pen);
    DeleteObject(pen);
}

void draw_text(const DrawCommand& c) {
    HDC dc = state.surface_dc;
    SetTextColor(dc, color_table[c.color].rgb);
    int old_mode = GetBkMode(dc);
    SetBkMode(dc, TRANSPARENT);
    HFONT font = CreateFontA(-c.x2, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, "SKTCH-font");
    HGDIOBJ old_font = SelectObject(dc, font);

    HGLOBAL block = text_block_from_field(c.y2);
    const char* text = block ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    if (text) {
        int length = int(std::strlen(text));
        SIZE extent{0, 0};
        GetTextExtentPointA(dc, text, length, &extent);
        int h = extent.cy;
        // The anchor is the bottom-left corner of the first line; each line lies one line
        // height below the one before.
        int start = 0;
        for (int k = 0;; ++k) {
            int end = start;
            while (end < length && text[end] != '\n') ++end;
            if (end > start) {
                long long top = (long long)dy(c.y1) + (long long)(k - 1) * h;
                TextOutA(dc, dx(c.x1), clamp32(top), text + start, end - start);
            }
            if (end >= length) break;
            start = end + 1;
        }
        GlobalUnlock(block);
    }

    SetBkMode(dc, old_mode);
    SelectObject(dc, old_font);
    DeleteObject(font);
}

}  // namespace

void render_command(const DrawCommand* command) {
    if (command && state.surface_dc) {
        const DrawCommand& c = *command;
        switch (c.kind) {
            case kTriangle:
                draw_triangle(c);
                break;
            case kRectangle:
            case kOval:
                draw_box(c);
                break;
            case kLine:
                draw_line(c);
                break;
            case kPixel:
                SetPixel(state.surface_dc, dx(c.x1), dy(c.y1), color_table[c.color].rgb);
                break;
            case kText:
                draw_text(c);
                break;
            default:
                break;
        }
    }
    state.surface_dirty = 1;
}

}  // namespace sktch

int SKTCH_clear() {
    using namespace sktch;
    if (state.logging) SKTCH_printf("Clearing the graphics window\n");
    HBRUSH brush = CreateSolidBrush(color_table[WHITE].rgb);
    HGDIOBJ old_brush = SelectObject(state.surface_dc, brush);
    Rectangle(state.surface_dc, 0, 0, kSurfaceWidth, kSurfaceHeight);
    SelectObject(state.surface_dc, old_brush);
    DeleteObject(brush);
    state.surface_dirty = 1;
    return 1;
}
