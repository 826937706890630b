// The public drawing calls: each corrects its arguments (printing every correction), logs
// itself when logging is on, and renders one command at once.
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstring>
#include <utility>

#include "state.h"

namespace sktch {
namespace {

int check_width(int width) {
    if (width >= 0) return width;
    int corrected = width == INT32_MIN ? INT32_MAX : -width;
    SKTCH_printf("Width of %d not possible, using width %d\n", width, corrected);
    return corrected;
}

int check_radius(int radius) {
    if (radius >= 0) return radius;
    int corrected = radius == INT32_MIN ? INT32_MAX : -radius;
    SKTCH_printf("Radius of %d not possible, using radius %d\n", radius, corrected);
    return corrected;
}

// Upper-left corner first: the smaller x and the larger y.
void order_corners(int& x1, int& y1, int& x2, int& y2) {
    if (x2 < x1) std::swap(x1, x2);
    if (y1 < y2) std::swap(y1, y2);
}

// World coordinates plus or minus a radius, held within the int32 range.
int offset(int v, int by) {
    return int(std::clamp<long long>((long long)v + by, INT32_MIN, INT32_MAX));
}

void render_box(int kind, int color, int x1, int y1, int x2, int y2, int width) {
    DrawCommand c{};
    c.kind = kind;
    c.color = color;
    c.width = width;
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    render_command(&c);
}

// The text call's steps after its arguments are known.
void draw_text_steps(int color, int x, int y, int size, const char* text) {
    if (size < 0) {
        int corrected = size == INT32_MIN ? INT32_MAX : -size;
        SKTCH_printf("ptsize of %d not possible, using ptsize %d\n", size, corrected);
        size = corrected;
    }
    if (size >= 128) {
        SKTCH_printf("ptsize of %d not possible, using ptsize %d\n", size, 127);
        size = 127;
    }
    color = check_color(color);
    if (!text) text = "";
    if (state.logging)
        SKTCH_printf("%s text at (%d,%d), \"%s\"\n", color_table[color].name, x, y, text);

    std::size_t length = std::strlen(text);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length + 1);
    if (char* copy = static_cast<char*>(GlobalLock(block))) {
        std::memcpy(copy, text, length + 1);
        GlobalUnlock(block);
    } else {
        return;  // no memory for the text: nothing to draw
    }
    DrawCommand c{};
    c.kind = kText;
    c.color = color;
    c.x1 = x;
    c.y1 = y;
    c.x2 = size;
    c.y2 = text_block_field(block);
    render_command(&c);
    release_text_block_field(c.y2);
    GlobalFree(block);
}

}  // namespace
}  // namespace sktch

using namespace sktch;

int SKTCH_pixel(int color, int x, int y) {
    color = check_color(color);
    if (state.logging) SKTCH_printf("%s pixel at (%d,%d)\n", color_table[color].name, x, y);
    DrawCommand c{};
    c.kind = kPixel;
    c.color = color;
    c.x1 = x;
    c.y1 = y;
    render_command(&c);
    return 1;
}

int SKTCH_circle(int color, int x, int y, int radius) {
    color = check_color(color);
    radius = check_radius(radius);
    if (state.logging)
        SKTCH_printf("%s circle at (%d,%d), radius %d\n", color_table[color].name, x, y, radius);
    render_box(kOval, color, offset(x, -radius), offset(y, radius), offset(x, radius),
               offset(y, -radius), 0);
    return 1;
}

int SKTCH_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width) {
    color = check_color(color);
    width = check_width(width);
    if (state.logging)
        SKTCH_printf("%s triangle at (%d,%d), (%d,%d), (%d,%d)\n", color_table[color].name, x1, y1,
                     x2, y2, x3, y3);
    DrawCommand c{kTriangle, color, width, x1, y1, x2, y2, x3, y3};
    render_command(&c);
    return 1;
}

int SKTCH_rectangle(int color, int x1, int y1, int x2, int y2, int width) {
    order_corners(x1, y1, x2, y2);
    color = check_color(color);
    width = check_width(width);
    if (state.logging) {
        if (width != 0)
            SKTCH_printf("%s rectangle with bounding box (%d,%d) to (%d,%d) with line width %d\n",
                         color_table[color].name, x1, y1, x2, y2, width);
        else
            SKTCH_printf("%s rectangle with bounding box (%d,%d) to (%d,%d), filled\n",
                         color_table[color].name, x1, y1, x2, y2);
    }
    render_box(kRectangle, color, x1, y1, x2, y2, width);
    return 1;
}

int SKTCH_oval(int color, int x1, int y1, int x2, int y2, int width) {
    order_corners(x1, y1, x2, y2);
    width = check_width(width);
    color = check_color(color);
    if (state.logging) {
        if (width != 0)
            SKTCH_printf("%s oval with bounding box (%d,%d) to (%d,%d), line width %d\n",
                         color_table[color].name, x1, y1, x2, y2, width);
        else
            SKTCH_printf("%s oval with bounding box (%d,%d) to (%d,%d), filled\n",
                         color_table[color].name, x1, y1, x2, y2);
    }
    render_box(kOval, color, x1, y1, x2, y2, width);
    return 1;
}

int SKTCH_line(int color, int x1, int y1, int x2, int y2, int width) {
    width = check_width(width);
    color = check_color(color);
    if (state.logging)
        SKTCH_printf("%s line from (%d,%d) to (%d,%d), width %d\n", color_table[color].name, x1, y1,
                     x2, y2, width);
    DrawCommand c{};
    c.kind = kLine;
    c.color = color;
    c.width = width == 0 ? 1 : width;
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    render_command(&c);
    return 1;
}

int SKTCH_text(int color, int x, int y, int size, const char* text) {
    draw_text_steps(color, x, y, size, text);
    return 1;
}

int SKTCH_textf(int color, int x, int y, int size, const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    int n = format_line(buffer, format, args);
    va_end(args);
    SKTCH_text(color, x, y, size, buffer);
    return n;
}

int SKTCH_draw_textf(int color, int x, int y, int size, const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    int n = format_line(buffer, format, args);
    va_end(args);
    draw_text_steps(color, x, y, size, buffer);
    return n;
}

int SKTCH_undo() {
    SKTCH_printf("SKTCH_undo is no longer supported.\n");
    return 1;
}
