// The text window: the ring of the last 25 lines, printing a line at the bottom after
// scrolling, and repainting by replaying the ring.
#include <cstring>

#include "state.h"

namespace sktch {
namespace {

int advance(int slot) {
    return slot == kLogLines - 1 ? 0 : slot + 1;
}

// Keeps a copy of the line in the ring; when no block can be had the ring is left as it was.
void store_line(const char* line, std::size_t length) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length + 1);
    char* copy = static_cast<char*>(GlobalLock(block));
    if (!copy) return;
    std::memcpy(copy, line, length);
    copy[length] = '\0';
    GlobalUnlock(block);

    if (state.log_first == state.log_next) {  // full: the oldest line goes
        GlobalFree(state.log_lines[state.log_first]);
        state.log_first = advance(state.log_first);
    }
    state.log_lines[state.log_next] = block;
    if (state.log_first < 0) state.log_first = state.log_next;
    state.log_next = advance(state.log_next);
}

void replay_ring() {
    int index = state.log_first;
    for (int count = 0; index >= 0 && !(index == state.log_next && count != 0); ++count) {
        HGLOBAL block = state.log_lines[index];
        if (char* line = static_cast<char*>(GlobalLock(block))) {
            show_log_line(line);
            GlobalUnlock(block);
        }
        index = advance(index);
    }
}

}  // namespace

int format_line(char (&buffer)[1024], const char* format, std::va_list args) {
    buffer[0] = '\0';
    if (!format) return 0;
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    if (n < 0) {
        buffer[0] = '\0';
        return n;
    }
    return n < int(sizeof buffer) ? n : int(sizeof buffer) - 1;
}

void show_log_line(char* line) {
    HDC dc = GetDC(state.text_window);
    SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    int h = tm.tmHeight + tm.tmExternalLeading;
    ScrollDC(dc, 0, -h, nullptr, nullptr, nullptr, nullptr);
    RECT r{};
    GetClientRect(state.text_window, &r);

    HBRUSH brush = CreateSolidBrush(GetBkColor(dc));
    HGDIOBJ old_brush = SelectObject(dc, brush);
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
    // Without a pen the rectangle leaves out its right column and bottom row: one more on
    // both sides clears the whole strip, so no old pixel stays at the right edge.
    Rectangle(dc, r.left, r.bottom - h, r.right + 1, r.bottom + 1);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(brush);

    int length = int(std::strlen(line));
    if (length > 0 && line[length - 1] == '\n') line[--length] = '\0';
    TextOutA(dc, r.left + 5, r.bottom - h, line, length);
    ReleaseDC(state.text_window, dc);
}

LRESULT CALLBACK text_window_proc(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            replay_ring();
            EndPaint(window, &paint);
            return 0;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
            // Keys go on to the graphics window, so its Ctrl shortcuts work from here too.
            PostMessageA(state.graphics_window, message, w, l);
            return 0;
        default:
            return DefWindowProcA(window, message, w, l);
    }
}

}  // namespace sktch

int SKTCH_printf(const char* format, ...) {
    using namespace sktch;
    if (!format) return 0;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    int n = format_line(buffer, format, args);
    va_end(args);
    store_line(buffer, std::strlen(buffer));
    show_log_line(buffer);
    return n;
}
