// Painting text onto bitmaps, whichever engine rendered its glyphs: a glyph's coverage
// blended over the pixels beneath it, and solid blocks for opaque cells and text lines.
#pragma once

#include <cstdint>
#include <vector>

#include "raster/raster.h"

namespace sktch::glyphs {

// Coverage of one character, placed relative to the pen on the baseline.
struct Glyph {
    bool ready = false;
    int advance = 0;
    int left = 0;  // columns from the pen position to the first bitmap column
    int top = 0;   // rows from the first bitmap row down to the baseline
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> coverage;  // rows * width values, 0 (none) .. 255 (full)
};

// Blends `color` over the target with the glyph's coverage, its first column and row at
// (gx, gy): each channel d + (c - d) * a / 255, truncated toward zero.
void blend_glyph(const raster::Target& t, const Glyph& g, std::int64_t gx, std::int64_t gy,
                 raster::Pixel color);

// Fills [left, right) x [top, bottom), given in 64 bits, clipped to the target.
void fill_box(const raster::Target& t, std::int64_t left, std::int64_t top, std::int64_t right,
              std::int64_t bottom, raster::Pixel color);

}  // namespace sktch::glyphs
