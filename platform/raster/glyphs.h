// Fonts and text on bitmaps: faces matched through fontconfig, glyphs rendered by FreeType.
//
// Faces, sizes and rendered glyphs are cached for the life of the process, so asking for
// the same font again (as every text drawing call does) costs a lookup.
#pragma once

#include <cstdint>
#include <string>

#include "raster/raster.h"

namespace sktch::glyphs {

struct FontRequest {
    int height = 0;  // < 0: character height in pixels; > 0: cell height; 0: default size
    int width = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strike_out = false;
    bool monospace = false;  // ask for a fixed-pitch face
    std::string face;        // a family name; unknown names fall back to fontconfig's choice

    bool operator==(const FontRequest&) const = default;
};

struct Metrics {
    int height = 0;  // ascent + descent: the line height of the cell
    int ascent = 0;
    int descent = 0;
    int internal_leading = 0;
    int external_leading = 0;
    int average_char_width = 0;
    int max_char_width = 0;
    int weight = 400;
    bool fixed_pitch = false;
};

class Font;  // opaque; owned by the cache, valid for the life of the process

// The cached font for a request; never null (falls back to a built-in face only if no
// face can be loaded at all, in which case text measures and draws as empty boxes, and a
// warning says so once on stderr).
const Font* find_font(const FontRequest& request);

const Metrics& metrics(const Font& font);

// The advance width of the first `length` bytes of `text` (one byte, one character,
// Latin-1), in pixels. The height of the extent is metrics().height.
int text_width(const Font& font, const char* text, int length);

// The block [left, right) x [top, bottom) outside which draw_text paints nothing for this
// text at (x, y), opaque or not; it may be larger than what is painted.
struct Reach {
    std::int64_t left, top, right, bottom;
};
Reach text_reach(const Font& font, int x, int y, const char* text, int length);

// Draws text with the top-left corner of its cell at (x, y), in `color`. When `opaque`, the
// cell (text_width by height) is first filled with `background`. Glyphs are anti-aliased
// over what lies beneath.
void draw_text(const raster::Target& target, const Font& font, int x, int y, const char* text,
               int length, raster::Pixel color, bool opaque, raster::Pixel background);

}  // namespace sktch::glyphs
