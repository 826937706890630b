// The pixel rules: every shape the device contexts draw ends here, on a plain 32-bit bitmap.
//
// Coordinates are device pixels, y downward, anywhere in the int32 range; everything is
// clipped to the bitmap (and to an optional clip rectangle) without overflow.
//   - rectangle/ellipse take a box whose right and bottom edges are exclusive; corners may
//     come in any order. A box from a point to itself (one pixel wide and high) paints that
//     one pixel.
//   - A pen of width 0 or 1 draws one pixel wide; wider pens are centred on the one-pixel
//     path, with round ends and round joins.
//   - line paints its start point and leaves out its end point (one-pixel pens).
//   - A filled shape is its brush plus an outline in its pen, and shares that outline with
//     the hollow shape drawn with a one-pixel pen.
#pragma once

#include <cstdint>
#include <vector>

namespace sktch::raster {

// A pixel is 0x00RRGGBB.
using Pixel = std::uint32_t;

// The rows are stored as a ring: row y of the picture is row (first_row + y) mod height of
// `pixels`, so that scroll_rows moves the picture by moving where it starts, not its pixels.
// Read and write rows through row() and at(); `pixels` holds the rows in picture order
// only while first_row is 0.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;
    int first_row = 0;

    Bitmap() = default;
    Bitmap(int w, int h, Pixel fill = 0) : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    int stored_row(int y) const {
        return y < height - first_row ? y + first_row : y + first_row - height;
    }
    Pixel* row(int y) { return pixels.data() + std::size_t(stored_row(y)) * width; }
    const Pixel* row(int y) const { return pixels.data() + std::size_t(stored_row(y)) * width; }
    Pixel at(int x, int y) const { return row(y)[x]; }
    void resize(int w, int h, Pixel fill);
};

// Half-open clip rectangle in device pixels.
struct Clip {
    int left, top, right, bottom;
};

struct Point {
    std::int32_t x, y;
};

struct Pen {
    Pixel color = 0;
    int width = 1;      // 0 draws like 1
    bool null = false;  // PS_NULL: no outline
};

struct Brush {
    Pixel color = 0xFFFFFF;
    bool hollow = false;  // NULL_BRUSH: no interior
};

// A surface to draw on: a bitmap and the part of it that may be painted.
struct Target {
    Bitmap* bitmap;
    Clip clip;  // already within the bitmap
};

inline Target whole(Bitmap& bitmap) {
    return Target{&bitmap, Clip{0, 0, bitmap.width, bitmap.height}};
}

void fill_rect(const Target& t, int left, int top, int right, int bottom, Pixel color);
void rectangle(const Target& t, const Pen& pen, const Brush& brush, int left, int top, int right,
               int bottom);
void ellipse(const Target& t, const Pen& pen, const Brush& brush, int left, int top, int right,
             int bottom);
// Alternate (even-odd) fill, then the closed outline.
void polygon(const Target& t, const Pen& pen, const Brush& brush, const Point* points, int count);
void line(const Target& t, const Pen& pen, int x1, int y1, int x2, int y2);
void set_pixel(const Target& t, int x, int y, Pixel color);

// Copies a width x height block from src at (sx, sy) to dst at (dx, dy), clipped to both.
void copy(const Target& dst, int dx, int dy, int width, int height, const Bitmap& src, int sx,
          int sy);
// Moves the pixels inside t's clip by (dx, dy); uncovered pixels keep their old values.
void scroll(const Target& t, int dx, int dy);
// scroll() of the whole bitmap by dy rows; it costs about the rows uncovered, not the
// rows moved.
void scroll_rows(Bitmap& bitmap, int dy);
// The first half of scroll_rows, for 0 < 2 * |dy| <= height: row y shows what row y - dy
// showed, and the |dy| rows uncovered show the rows that went out at the other side. The
// uncovered rows' old pixels now lie next to them: |dy| rows above (dy < 0) or below.
void turn_rows(Bitmap& bitmap, int dy);

}  // namespace sktch::raster
