// The font record shared by font matching and sizing (fonts.cpp) and glyph drawing
// (glyphs.cpp): a sized FreeType face, or the built-in boxes, with its glyphs rendered on
// first use.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <cstdint>

#include "raster/glyphs.h"
#include "raster/text_cell.h"
#include "raster/text_painting.h"

namespace sktch::glyphs {

class Font {
  public:
    const Glyph& glyph(unsigned char c) const {
        const Glyph& g = glyphs_[c];
        return g.ready ? g : render(c);
    }

    Metrics metrics;
    FT_Face face = nullptr;  // null: the built-in boxes
    FT_Size size = nullptr;
    std::uint32_t (*to_code)(unsigned char) = nullptr;
    bool embolden = false;
    bool oblique = false;
    int fixed_advance = 0;  // every advance, for fixed-pitch faces once known
    // How far glyph ink may reach beyond the pen and baseline, for every glyph of the font.
    int reach_left = 0;
    int reach_right = 0;  // beyond the pen position, not the advance
    int reach_above = 0;
    int reach_below = 0;
    Decorations decorations;

  private:
    const Glyph& render(unsigned char c) const;
    void render_box(unsigned char c, Glyph& g) const;
    bool render_face(unsigned char c, Glyph& g) const;

    mutable std::array<Glyph, 256> glyphs_;
};

}  // namespace sktch::glyphs
