// Draws a reference command list (tests/raster/reference/NAME.txt) with the system's own GDI
// onto a 601 by 540 bitmap and writes it as a binary PPM, so that reference pictures can be
// checked and new ones made where GDI is at hand (on Windows, or under Wine):
//     sktch-gdi-replay.exe NAME.txt OUT.ppm
// The recipes are the renderer's: CreatePen(PS_SOLID, width, rgb); a solid brush of the same
// colour for width 0, else the hollow stock brush; select pen then brush; draw; restore;
// delete. Exits 1 on an unreadable command, 2 when a file cannot be read or written.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "dib.h"

namespace {

constexpr int kWidth = 601, kHeight = 540;

void with_recipe(HDC dc, int r, int g, int b, int width, auto draw) {
    const COLORREF rgb = RGB(r, g, b);
    HPEN pen = CreatePen(PS_SOLID, width, rgb);
    HBRUSH brush =
        width == 0 ? CreateSolidBrush(rgb) : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, brush);
    draw();
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    DeleteObject(pen);
    DeleteObject(brush);
}

// Draws one command; false when it cannot be read.
bool draw_command(HDC dc, const std::string& line) {
    std::istringstream words(line);
    std::string op;
    words >> op;
    int r, g, b, w, x1, y1, x2, y2, x3, y3;
    if (op == "clear") {
        HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
        HGDIOBJ old = SelectObject(dc, white);
        Rectangle(dc, 0, 0, kWidth, kHeight);
        SelectObject(dc, old);
        DeleteObject(white);
    } else if ((op == "rect" || op == "ellipse" || op == "line") &&
               words >> r >> g >> b >> w >> x1 >> y1 >> x2 >> y2) {
        with_recipe(dc, r, g, b, w, [&] {
            if (op == "rect") Rectangle(dc, x1, y1, x2, y2);
            if (op == "ellipse") Ellipse(dc, x1, y1, x2, y2);
            if (op == "line") {
                MoveToEx(dc, x1, y1, nullptr);
                LineTo(dc, x2, y2);
            }
        });
    } else if (op == "poly" && words >> r >> g >> b >> w >> x1 >> y1 >> x2 >> y2 >> x3 >> y3) {
        const POINT points[3] = {{x1, y1}, {x2, y2}, {x3, y3}};
        with_recipe(dc, r, g, b, w, [&] { Polygon(dc, points, 3); });
    } else if (op == "pixel" && words >> r >> g >> b >> x1 >> y1) {
        SetPixel(dc, x1, y1, RGB(r, g, b));
    } else {
        return op == "init" || op == "noinit";  // the starting colour, handled before
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sktch-gdi-replay NAME.txt OUT.ppm\n");
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) return 2;
    std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    BITMAPINFO info = top_down_32_bit_dib(kWidth, kHeight);
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old_bitmap = SelectObject(dc, dib);

    // The starting colour: white, or as an "init R G B" / "noinit" line says.
    auto* pixels = static_cast<unsigned*>(bits);
    unsigned initial = 0xFFFFFF;
    std::istringstream lines(all);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line.substr(0, line.find('#')));
        std::string op;
        int r, g, b;
        if (words >> op && op == "init" && words >> r >> g >> b) initial = (r << 16) | (g << 8) | b;
        if (op == "noinit") initial = 0;
    }
    for (int i = 0; i < kWidth * kHeight; ++i) pixels[i] = initial;

    int status = 0;
    lines = std::istringstream(all);
    for (std::string line; std::getline(lines, line);) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (!draw_command(dc, line)) {
            std::fprintf(stderr, "unreadable: %s\n", line.c_str());
            status = 1;
        }
    }
    GdiFlush();

    if (std::FILE* out = std::fopen(argv[2], "wb")) {
        std::fprintf(out, "P6\n%d %d\n255\n", kWidth, kHeight);
        std::string row(kWidth * 3, '\0');
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {  // XRGB to RGB
                const unsigned p = pixels[y * kWidth + x];
                row[x * 3] = char(p >> 16);
                row[x * 3 + 1] = char(p >> 8);
                row[x * 3 + 2] = char(p);
            }
            std::fwrite(row.data(), 1, row.size(), out);
        }
        if (std::fclose(out) != 0) status = 2;
    } else {
        status = 2;
    }
    SelectObject(dc, old_bitmap);
    DeleteObject(dib);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return status;
}
