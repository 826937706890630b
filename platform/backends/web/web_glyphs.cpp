// Fonts and text in a web page: DejaVu faces built into the page, rendered by stb_truetype.
// Cells are sized and glyphs painted by the code the desktop's FreeType version uses
// (text_cell.cpp, text_painting.cpp), from the face's Windows metrics, so that lines and
// labels take the same room; the glyphs' anti-aliasing differs in detail.
#define STB_TRUETYPE_IMPLEMENTATION
#define STBTT_STATIC
#include <emscripten.h>
#include <stb_truetype.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "raster/glyphs.h"
#include "raster/text_cell.h"
#include "raster/text_painting.h"

namespace sktch::glyphs {

namespace {

constexpr int kDefaultCellHeight = 16;
constexpr int kDefaultFixedCellHeight = 13;
constexpr int kMaxPixelHeight = 4096;
// Where the page's file system holds the faces (embedded when the program is linked).
constexpr const char* kSansFile = "/fonts/DejaVuSans.ttf";
constexpr const char* kMonoFile = "/fonts/DejaVuSansMono.ttf";

// One face file, read once and kept with its parsed tables.
struct Face {
    std::vector<unsigned char> data;
    stbtt_fontinfo info{};
    bool ok = false;
    int win_ascent = 0, win_descent = 0, avg_width = 0, weight = 400;
    bool fixed_pitch = false;
};

int u16(const unsigned char* p) {
    return (p[0] << 8) | p[1];
}

Face* load_face(const char* path) {
    static std::map<std::string, std::unique_ptr<Face>> faces;
    auto& slot = faces[path];
    if (slot) return slot->ok ? slot.get() : nullptr;
    slot = std::make_unique<Face>();
    Face& f = *slot;
    if (std::FILE* in = std::fopen(path, "rb")) {
        unsigned char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0)
            f.data.insert(f.data.end(), buffer, buffer + n);
        std::fclose(in);
    }
    if (f.data.empty() || !stbtt_InitFont(&f.info, f.data.data(), 0)) return nullptr;
    const stbtt_uint32 os2 = stbtt__find_table(f.data.data(), 0, "OS/2");
    if (os2 && os2 + 78 <= f.data.size()) {
        const unsigned char* t = f.data.data() + os2;
        f.avg_width = static_cast<std::int16_t>(u16(t + 2));
        f.weight = u16(t + 4);
        f.win_ascent = u16(t + 74);
        f.win_descent = u16(t + 76);
    }
    const stbtt_uint32 post = stbtt__find_table(f.data.data(), 0, "post");
    if (post && post + 16 <= f.data.size()) f.fixed_pitch = u16(f.data.data() + post + 12) != 0;
    f.ok = true;
    return &f;
}

}  // namespace

class Font {
  public:
    const Glyph& glyph(unsigned char c) const {
        Glyph& g = glyphs_[c];
        if (g.ready) return g;
        render(c, g);
        if (fixed_advance > 0) g.advance = fixed_advance;
        g.ready = true;
        return g;
    }

    Metrics metrics;
    Face* face = nullptr;
    float scale_x = 1, scale_y = 1;
    Decorations decorations;
    int fixed_advance = 0;

  private:
    void render(unsigned char c, Glyph& g) const {
        if (!face) {
            g.advance = std::max(2, metrics.average_char_width);
            return;
        }
        const int index = stbtt_FindGlyphIndex(&face->info, c);
        int advance = 0, lsb = 0;
        stbtt_GetGlyphHMetrics(&face->info, index, &advance, &lsb);
        g.advance = std::max(0, int(std::lround(advance * scale_x)));
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        stbtt_GetGlyphBitmapBox(&face->info, index, scale_x, scale_y, &x0, &y0, &x1, &y1);
        g.left = x0;
        g.top = -y0;
        g.width = std::max(0, x1 - x0);
        g.rows = std::max(0, y1 - y0);
        g.coverage.assign(std::size_t(g.width) * g.rows, 0);
        if (g.width > 0 && g.rows > 0)
            stbtt_MakeGlyphBitmap(&face->info, g.coverage.data(), g.width, g.rows, g.width, scale_x,
                                  scale_y, index);
    }

    mutable std::array<Glyph, 256> glyphs_;
};

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool wants_fixed_pitch(const FontRequest& r) {
    const std::string face = lower(r.face);
    return r.monospace || face.find("mono") != std::string::npos ||
           face.find("courier") != std::string::npos || face.find("fixed") != std::string::npos;
}

int requested_height(const FontRequest& r, bool fixed) {
    if (r.height == 0) return fixed ? kDefaultFixedCellHeight : kDefaultCellHeight;
    if (r.height < 0) return -std::min(kMaxPixelHeight, -std::max(r.height, -INT_MAX));
    return std::min(kMaxPixelHeight, r.height);
}

void size_font(Font& font, const FontRequest& request, bool fixed) {
    Metrics& m = font.metrics;
    const int height = requested_height(request, fixed);
    Face* face = font.face;
    if (!face) {
        const int em = height < 0 ? -height : std::max(1, height * 4 / 5);
        m.height = height < 0 ? std::max(1, em * 5 / 4) : height;
        m.ascent = std::max(1, m.height * 4 / 5);
        m.descent = m.height - m.ascent;
        m.average_char_width = m.max_char_width = std::max(2, (em + 1) / 2);
        m.fixed_pitch = true;
        return;
    }
    int hhea_ascent = 0, hhea_descent = 0, line_gap = 0;
    stbtt_GetFontVMetrics(&face->info, &hhea_ascent, &hhea_descent, &line_gap);
    const int upem =
        std::max(1, int(std::lround(1.0 / stbtt_ScaleForMappingEmToPixels(&face->info, 1.0f))));
    double ascent_units = face->win_ascent, descent_units = face->win_descent;
    if (ascent_units + descent_units <= 0) {
        ascent_units = hhea_ascent;
        descent_units = -hhea_descent;
    }
    const int em = size_cell(m, ascent_units, descent_units, upem, height);
    int x_ppem = em;
    if (request.width > 0 && face->avg_width > 0)
        x_ppem = std::clamp(int(std::lround(double(request.width) * upem / face->avg_width)), 1,
                            kMaxPixelHeight);
    font.scale_x = float(x_ppem) / float(upem);
    font.scale_y = float(em) / float(upem);
    const int gap = line_gap - int(ascent_units + descent_units - (hhea_ascent - hhea_descent));
    m.external_leading = std::max(0, int(std::lround(gap * font.scale_y)));
    m.average_char_width = face->avg_width > 0
                               ? std::max(1, int(std::lround(face->avg_width * font.scale_x)))
                               : std::max(1, font.glyph('x').advance);
    int widest = 0;
    for (int c = 32; c < 256; ++c) widest = std::max(widest, font.glyph(c).advance);
    m.max_char_width = std::max(1, widest);
    m.fixed_pitch = face->fixed_pitch;
    m.weight = face->weight > 0 ? face->weight : 400;
    Decorations& d = font.decorations;
    d.underline_offset = std::max(1, int(std::lround(em / 10.0)));
    d.underline_thickness = std::max(1, int(std::lround(em / 16.0)));
    d.strike_offset = std::max(1, (m.ascent - m.internal_leading) / 3);
    d.strike_thickness = d.underline_thickness;
}

std::unique_ptr<Font> make_font(const FontRequest& request) {
    auto font = std::make_unique<Font>();
    const bool fixed = wants_fixed_pitch(request);
    font->face = load_face(fixed ? kMonoFile : kSansFile);
    if (!font->face) font->face = load_face(fixed ? kSansFile : kMonoFile);
    font->decorations.underline = request.underline;
    font->decorations.strike_out = request.strike_out;
    size_font(*font, request, fixed);
    font->decorations.fit(font->metrics);
    if (font->metrics.fixed_pitch) {
        font->fixed_advance = font->glyph('M').advance;
        font->metrics.average_char_width = font->fixed_advance;
        font->metrics.max_char_width = font->fixed_advance;
    }
    return font;
}

struct RequestLess {
    bool operator()(const FontRequest& a, const FontRequest& b) const {
        return std::tie(a.height, a.width, a.weight, a.italic, a.underline, a.strike_out,
                        a.monospace, a.face) < std::tie(b.height, b.width, b.weight, b.italic,
                                                        b.underline, b.strike_out, b.monospace,
                                                        b.face);
    }
};

// Where text was drawn, as x, y, width, height: what a page's tests leave out when they
// compare its pixels with the desktop's, whose glyphs FreeType renders.
constexpr std::size_t kMaxTextCells = 4096;
std::vector<int>& text_cells() {
    static auto* cells = new std::vector<int>;
    return *cells;
}

void note_text_cell(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) {
    std::vector<int>& cells = text_cells();
    if (cells.size() >= 4 * kMaxTextCells) return;
    const auto c = [](std::int64_t v) { return int(std::clamp<std::int64_t>(v, -65536, 65536)); };
    cells.insert(cells.end(), {c(left), c(top), c(right - left), c(bottom - top)});
}

std::int64_t advance_sum(const Font& font, const char* text, int length) {
    std::int64_t sum = 0;
    for (int i = 0; i < length; ++i) sum += font.glyph(static_cast<unsigned char>(text[i])).advance;
    return sum;
}

}  // namespace

const Font* find_font(const FontRequest& request) {
    static auto* fonts = new std::map<FontRequest, std::unique_ptr<Font>, RequestLess>;
    auto& slot = (*fonts)[request];
    if (!slot) slot = make_font(request);
    return slot.get();
}

const Metrics& metrics(const Font& font) {
    return font.metrics;
}

int text_width(const Font& font, const char* text, int length) {
    if (!text || length <= 0) return 0;
    return int(std::min<std::int64_t>(advance_sum(font, text, length), INT_MAX));
}

Reach text_reach(const Font& font, int x, int y, const char* text, int length) {
    const Metrics& m = font.metrics;
    const std::int64_t baseline = std::int64_t(y) + m.ascent;
    Reach r{x, y, x, std::int64_t(y) + m.height};
    std::int64_t pen = x;
    for (int i = 0; text && i < length; ++i) {
        const Glyph& g = font.glyph(static_cast<unsigned char>(text[i]));
        r.left = std::min(r.left, pen + g.left);
        r.right = std::max(r.right, pen + g.left + g.width);
        r.top = std::min(r.top, baseline - g.top);
        r.bottom = std::max(r.bottom, baseline - g.top + g.rows);
        pen += g.advance;
    }
    r.right = std::max(r.right, pen);
    font.decorations.widen(r, baseline);
    return r;
}

void draw_text(const raster::Target& target, const Font& font, int x, int y, const char* text,
               int length, raster::Pixel color, bool opaque, raster::Pixel background) {
    if (!text || length <= 0 || !target.bitmap) return;
    color &= 0xFFFFFF;
    const Metrics& m = font.metrics;
    const std::int64_t baseline = std::int64_t(y) + m.ascent;
    const std::int64_t width = advance_sum(font, text, length);
    if (opaque) fill_box(target, x, y, x + width, std::int64_t(y) + m.height, background);
    std::int64_t pen = x;
    std::int64_t left = x, top = y, right = x + width, bottom = std::int64_t(y) + m.height;
    for (int i = 0; i < length && pen < target.clip.right + m.max_char_width; ++i) {
        const Glyph& g = font.glyph(static_cast<unsigned char>(text[i]));
        blend_glyph(target, g, pen + g.left, baseline - g.top, color);
        left = std::min(left, pen + g.left);
        right = std::max(right, pen + g.left + g.width);
        top = std::min(top, baseline - g.top);
        bottom = std::max(bottom, baseline - g.top + g.rows);
        pen += g.advance;
    }
    note_text_cell(left, top, right, bottom);
    font.decorations.paint(target, x, width, baseline, color);
}

}  // namespace sktch::glyphs

// The text cells drawn since the last call, four ints each; `count` gets the number of ints.
extern "C" EMSCRIPTEN_KEEPALIVE const int* sktch_web_text_cells(int* count) {
    static std::vector<int> taken;
    taken.swap(sktch::glyphs::text_cells());
    sktch::glyphs::text_cells().clear();
    *count = int(taken.size());
    return taken.data();
}
