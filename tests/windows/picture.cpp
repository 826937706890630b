// A fixed picture for comparing GDI's pixels with ours: the landing game's scene, then every
// primitive in several colours, widths 0 to 5, filled and outlined, some far past the
// window's edges, and a little text. Then it waits; Ctrl+Q ends it.
//
// Built for Windows it writes the graphics window's client area, read back from the screen,
// to the file named on its command line (default "picture.ppm") once the picture has been
// shown, as a binary PPM with the world origin in a comment. Built over the headless
// backend it is a replay tool, which writes the same window as a PNG. It also lists the
// window's menu, as user32 holds it, in the same name with ".menu" added.
#include "scene.h"
#include "sktch.h"

#ifdef _WIN32
#include <cstdio>
#include <string>

#include "dib.h"

namespace {

// Reads the graphics window's client area through a 32-bit top-down DIB section.
bool write_client_area(const char* path) {
    HWND window = FindWindowA("DrawWndClass", "SKTCH Graphics");
    RECT client{};
    if (!window || !GetClientRect(window, &client)) return false;
    int width = client.right, height = client.bottom;
    BITMAPINFO info = top_down_32_bit_dib(width, height);
    void* bits = nullptr;
    HDC window_dc = GetDC(window);
    HDC memory_dc = CreateCompatibleDC(window_dc);
    HBITMAP dib = CreateDIBSection(window_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory_dc, dib);
    BitBlt(memory_dc, 0, 0, width, height, window_dc, 0, 0, SRCCOPY);
    GdiFlush();

    bool written = false;
    if (std::FILE* out = std::fopen(path, "wb")) {
        std::fprintf(out, "P6\n# origin %d %d\n%d %d\n255\n", width / 2, height / 2, width, height);
        const auto* pixels = static_cast<const unsigned char*>(bits);
        std::string row(std::size_t(width) * 3, '\0');
        for (int y = 0; y < height; ++y) {
            const unsigned char* from = pixels + std::size_t(y) * width * 4;
            for (int x = 0; x < width; ++x) {  // BGRX to RGB
                row[x * 3] = char(from[x * 4 + 2]);
                row[x * 3 + 1] = char(from[x * 4 + 1]);
                row[x * 3 + 2] = char(from[x * 4]);
            }
            std::fwrite(row.data(), 1, row.size(), out);
        }
        written = std::fclose(out) == 0;
    }
    SelectObject(memory_dc, old);
    DeleteObject(dib);
    DeleteDC(memory_dc);
    ReleaseDC(window, window_dc);
    return written;
}

// Lists the graphics window's menu as user32 holds it: each item's text and check mark.
bool write_menu(const std::string& path) {
    HWND window = FindWindowA("DrawWndClass", "SKTCH Graphics");
    HMENU bar = window ? GetMenu(window) : nullptr;
    if (!bar) return false;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    char text[64];
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        GetMenuStringA(bar, i, text, sizeof text, MF_BYPOSITION);
        std::fprintf(out, "%s\n", text);
        HMENU popup = GetSubMenu(bar, i);
        for (int j = 0; popup && j < GetMenuItemCount(popup); ++j) {
            if (GetMenuStringA(popup, j, text, sizeof text, MF_BYPOSITION) == 0) continue;
            bool checked = GetMenuState(popup, j, MF_BYPOSITION) & MF_CHECKED;
            std::fprintf(out, "  %s%s\n", text, checked ? " [checked]" : "");
        }
    }
    return std::fclose(out) == 0;
}

}  // namespace
#endif

namespace {

constexpr int kColors[] = {RED, NAVY_BLUE, FOREST_GREEN, PURPLE, ORANGE, BLACK};

// One row per width, 0 to 5, each shape kind in its own column.
void draw_shape_rows() {
    SKTCH_rectangle(WHITE, -20, 235, 290, 20, 0);
    for (int width = 0; width <= 5; ++width) {
        int color = kColors[width];
        int y = 220 - width * 34;
        SKTCH_rectangle(color, -10, y, 20, y - 25, width);
        SKTCH_oval(color, 30, y, 70, y - 25, width);
        SKTCH_circle(color, 92, y - 12, 12);
        SKTCH_triangle(color, 112, y - 25, 150, y - 20, 128, y, width);
        SKTCH_triangle(color, 158, y, 196, y - 3, 170, y - 25, width);
        if (width > 0) {
            SKTCH_line(color, 205, y, 235, y - 25, width);
            SKTCH_line(color, 240, y - 12, 282, y - 12, width);
            SKTCH_line(color, 262, y, 262, y - 25, width);
        }
        SKTCH_pixel(color, 286, y - 4 * width);
    }
    // Lines in every direction, one pixel wide.
    for (int k = 0; k < 16; ++k) {
        static const int ends[16][2] = {{40, 0},   {40, 13},   {40, 27},   {40, 40},
                                        {27, 40},  {13, 40},   {0, 40},    {-13, 40},
                                        {-27, 40}, {-40, 40},  {-40, 27},  {-40, 13},
                                        {-40, 0},  {-40, -13}, {-40, -27}, {-40, -40}};
        SKTCH_line(kColors[k % 6], 150, -150, 150 + ends[k][0], -150 + ends[k][1], 1);
    }
}

// Shapes reaching past every edge of the window, some well beyond it (within the range GDI
// itself draws exactly).
void draw_clipped_shapes() {
    SKTCH_oval(MAGENTA, 250, -180, 360, -300, 0);
    SKTCH_rectangle(GOLD, -330, -100, -260, -160, 3);
    SKTCH_circle(CYAN, -120, 250, 30);
    SKTCH_oval(SEA_GREEN, -320, 280, -240, 200, 2);
    SKTCH_line(RED, -20000, -232, 20000, -202, 2);
    SKTCH_line(BLUE, -150, 20000, -140, -20000, 1);
    SKTCH_triangle(PINK, -20000, -236, 20000, -246, -20000, -246, 0);
    SKTCH_rectangle(OLIVE, 280, 0, 20000, -20, 0);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    SKTCH_open(instance, previous, command_line, show);
    SKTCH_logging(0);
    SKTCH_clear();
    draw_scene(250, 215);
    draw_panel();
    draw_plane(-60, -40);
    draw_shape_rows();
    draw_clipped_shapes();
    SKTCH_text(BLACK, 180, -215, 14, "Text: 0123\nsecond line");

    SKTCH_animate(SKTCH_ANIMATE_RUN);
    int ticks = 0;
    int x, y;
    char key;
    while (SKTCH_await_event(&x, &y, &key) != SKTCH_QUIT) {
#ifdef _WIN32
        // By the third tick the picture has been copied to the window.
        if (++ticks == 3) {
            const char* path = command_line && *command_line ? command_line : "picture.ppm";
            if (!write_client_area(path) || !write_menu(std::string(path) + ".menu")) return 2;
        }
#else
        ++ticks;
#endif
    }
    return SKTCH_close() - 1;
}
