// Glyphs rendered by FreeType into coverage, once per font and byte value, and text drawn
// from them onto bitmaps (the painting itself is in text_painting.cpp).
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H

#include <algorithm>
#include <climits>
#include <cstdint>

#include "raster/font.h"
#include "raster/glyphs.h"

namespace sktch::glyphs {
namespace {

// Copies an FT bitmap (8-bit gray or 1-bit) into top-down 0..255 coverage, its rows padded
// with zero coverage to a multiple of four pixels so that blending runs in whole groups.
void copy_coverage(const FT_Bitmap& bitmap, Glyph& g) {
    const int ink_width = static_cast<int>(bitmap.width);
    g.width = (ink_width + 3) & ~3;
    g.rows = static_cast<int>(bitmap.rows);
    g.coverage.assign(std::size_t(g.width) * g.rows, 0);
    if (g.width == 0 || g.rows == 0 || !bitmap.buffer) return;
    const unsigned char* top = bitmap.buffer;
    if (bitmap.pitch < 0) top -= std::ptrdiff_t(bitmap.pitch) * (g.rows - 1);
    for (int r = 0; r < g.rows; ++r) {
        const unsigned char* src = top + std::ptrdiff_t(bitmap.pitch) * r;
        std::uint8_t* dst = g.coverage.data() + std::size_t(r) * g.width;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
            const int levels = std::max(2, int(bitmap.num_grays)) - 1;
            for (int i = 0; i < ink_width; ++i) dst[i] = std::uint8_t(src[i] * 255 / levels);
        } else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (int i = 0; i < ink_width; ++i)
                dst[i] = (src[i >> 3] & (0x80 >> (i & 7))) ? 255 : 0;
        }
    }
}

}  // namespace

const Glyph& Font::render(unsigned char c) const {
    Glyph& g = glyphs_[c];
    if (!face || !render_face(c, g)) render_box(c, g);
    if (fixed_advance > 0) g.advance = fixed_advance;
    g.ready = true;
    return g;
}

bool Font::render_face(unsigned char c, Glyph& g) const {
    FT_Activate_Size(size);
    const FT_UInt index = FT_Get_Char_Index(face, to_code(c));
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) return false;
    FT_GlyphSlot slot = face->glyph;
    if (oblique && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Oblique(slot);
    if (embolden) FT_GlyphSlot_Embolden(slot);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
        FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return false;
    }
    g.advance = std::max(0, int((slot->advance.x + 32) >> 6));
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    copy_coverage(slot->bitmap, g);
    return true;
}

// A hollow box for every character but the spaces: what text looks like without a face.
void Font::render_box(unsigned char c, Glyph& g) const {
    const int em = std::max(1, metrics.height - metrics.internal_leading);
    g.advance = std::max(2, (em + 1) / 2);
    g.left = 0;
    g.top = std::max(1, metrics.ascent - metrics.internal_leading);
    g.width = g.advance - 1;
    g.rows = g.top;
    g.coverage.assign(std::size_t(g.width) * g.rows, 0);
    if (c == ' ' || c == 0xA0 || g.width < 1) return;
    for (int r = 0; r < g.rows; ++r) {
        for (int i = 0; i < g.width; ++i) {
            const bool edge = r == 0 || r == g.rows - 1 || i == 0 || i == g.width - 1;
            g.coverage[std::size_t(r) * g.width + i] = edge ? 255 : 0;
        }
    }
}

namespace {

std::int64_t advance_sum(const Font& font, const char* text, int length) {
    std::int64_t sum = 0;
    for (int i = 0; i < length; ++i) sum += font.glyph(static_cast<unsigned char>(text[i])).advance;
    return sum;
}

}  // namespace

int text_width(const Font& font, const char* text, int length) {
    if (!text || length <= 0) return 0;
    return int(std::min<std::int64_t>(advance_sum(font, text, length), INT_MAX));
}

Reach text_reach(const Font& font, int x, int y, const char* text, int length) {
    const Metrics& m = font.metrics;
    const std::int64_t baseline = std::int64_t(y) + m.ascent;
    const std::int64_t width = text && length > 0 ? advance_sum(font, text, length) : 0;
    Reach r{std::int64_t(x) - std::max(font.reach_left, 0),
            std::min<std::int64_t>(y, baseline - font.reach_above),
            x + width + std::max(font.reach_right, 0),
            std::max<std::int64_t>(std::int64_t(y) + m.height, baseline + font.reach_below)};
    font.decorations.widen(r, baseline);
    return r;
}

void draw_text(const raster::Target& target, const Font& font, int x, int y, const char* text,
               int length, raster::Pixel color, bool opaque, raster::Pixel background) {
    if (!text || length <= 0 || !target.bitmap) return;
    color &= 0xFFFFFF;
    const raster::Clip& clip = target.clip;
    if (clip.left >= clip.right || clip.top >= clip.bottom) return;
    const Metrics& m = font.metrics;
    const std::int64_t top = y;
    const std::int64_t baseline = top + m.ascent;
    const std::int64_t reach_top = std::min(top, baseline - font.reach_above);
    const std::int64_t reach_bottom = std::max(top + m.height, baseline + font.reach_below);
    if (reach_bottom <= clip.top || reach_top >= clip.bottom) return;
    if (std::int64_t(x) - font.reach_left >= clip.right) return;

    std::int64_t width = -1;  // measured only when something needs it
    if (opaque) {
        width = advance_sum(font, text, length);
        fill_box(target, x, top, x + width, top + m.height, background);
        if (x + width + font.reach_right <= clip.left) return;
    }
    std::int64_t pen = x;
    int i = 0;
    for (; i < length && pen - font.reach_left < clip.right; ++i) {
        const Glyph& g = font.glyph(static_cast<unsigned char>(text[i]));
        if (pen + font.reach_right > clip.left)
            blend_glyph(target, g, pen + g.left, baseline - g.top, color);
        pen += g.advance;
    }
    if (font.decorations.underline || font.decorations.strike_out) {
        if (width < 0) width = (pen - x) + advance_sum(font, text + i, length - i);
        font.decorations.paint(target, x, width, baseline, color);
    }
}

}  // namespace sktch::glyphs
