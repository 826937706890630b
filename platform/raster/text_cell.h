// The room text takes, whichever engine renders its glyphs: the cell a face's design units
// give at a requested height, and where the underline and strike-out lie. Both engines size
// fonts here, so lines and labels take the same room on the desktop and in a page.
#pragma once

#include <cstdint>

#include "raster/glyphs.h"
#include "raster/raster.h"

namespace sktch::glyphs {

// Sizes a scalable face's cell into m (height, ascent, descent, internal leading) and
// returns its em in pixels. `ascent_units` and `descent_units` are the face's ascent and
// descent in design units, `upem` its units per em. A negative `height` asks for an em of
// -height pixels; a positive one for a cell that high: the largest em whose rounded-out
// cell fits, the spare rows shared as the face's own proportions share them.
int size_cell(Metrics& m, double ascent_units, double descent_units, int upem, int height);

// A font's underline and strike-out: whether it draws them, and where.
struct Decorations {
    bool underline = false;
    bool strike_out = false;
    int underline_offset = 1;  // rows below the baseline
    int underline_thickness = 1;
    int strike_offset = 4;  // rows above the baseline
    int strike_thickness = 1;

    // Keeps the underline below the baseline and the strike-out above it, inside the cell.
    void fit(const Metrics& m);
    // Widens a text's reach to take in its lines, at the given baseline.
    void widen(Reach& r, std::int64_t baseline) const;
    // Paints the lines under and through a text `width` pixels wide from x.
    void paint(const raster::Target& t, std::int64_t x, std::int64_t width, std::int64_t baseline,
               raster::Pixel color) const;
};

}  // namespace sktch::glyphs
