#include "raster/glyphs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace sktch::glyphs {
namespace {

using raster::Bitmap;
using raster::Pixel;
using raster::Target;

constexpr Pixel kPaper = 0xF0E0D0;
constexpr Pixel kInk = 0x102030;

Target target_of(Bitmap& bitmap) {
    return Target{&bitmap, {0, 0, bitmap.width, bitmap.height}};
}

const Font& font_of(int height, bool monospace = false) {
    FontRequest request;
    request.height = height;
    request.monospace = monospace;
    request.face = monospace ? "" : "SKTCH-font";
    return *find_font(request);
}

int width_of(const Font& font, const std::string& text) {
    return text_width(font, text.data(), int(text.size()));
}

void draw(Bitmap& bitmap, const Font& font, int x, int y, const std::string& text,
          bool opaque = false, Pixel color = kInk, Pixel background = 0xFFFFFF) {
    draw_text(target_of(bitmap), font, x, y, text.data(), int(text.size()), color, opaque,
              background);
}

struct Box {
    int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;  // half-open
    bool empty() const { return left >= right; }
};

Box changed_pixels(const Bitmap& bitmap, Pixel background) {
    Box box;
    for (int y = 0; y < bitmap.height; ++y) {
        for (int x = 0; x < bitmap.width; ++x) {
            if (bitmap.at(x, y) == background) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box;
}

// The rows the ink of `text` covers, relative to the top of its cell.
Box ink_of(const Font& font, const std::string& text) {
    const Metrics& m = metrics(font);
    Bitmap bitmap(width_of(font, text) + 2 * m.height, 3 * m.height, kPaper);
    draw(bitmap, font, m.height, m.height, text);
    Box box = changed_pixels(bitmap, kPaper);
    box.left -= m.height;
    box.right -= m.height;
    box.top -= m.height;
    box.bottom -= m.height;
    return box;
}

// Whether `out` is `under` blended toward `color` with one coverage for all channels.
bool is_blend(Pixel out, Pixel under, Pixel color) {
    for (int a = 0; a <= 255; ++a) {
        Pixel expected = 0;
        for (int shift : {16, 8, 0}) {
            const int d = int(under >> shift & 0xFF);
            const int c = int(color >> shift & 0xFF);
            expected |= Pixel(d + (c - d) * a / 255) << shift;
        }
        if (expected == out) return true;
    }
    return false;
}

TEST(GlyphMetrics, NegativeHeightIsTheCharacterHeight) {
    for (int em : {8, 11, 15, 20, 33, 64}) {
        SCOPED_TRACE(em);
        const Metrics& m = metrics(font_of(-em));
        EXPECT_EQ(m.height - m.internal_leading, em);
        EXPECT_EQ(m.ascent + m.descent, m.height);
        EXPECT_GE(m.internal_leading, 0);
        // Capitals of a sans face stand about 0.73 em tall, on the baseline.
        const Box h = ink_of(font_of(-em), "H");
        EXPECT_NEAR(h.bottom - h.top, 0.73 * em, 1.0);
        EXPECT_EQ(h.bottom, m.ascent);
    }
}

TEST(GlyphMetrics, PositiveHeightIsTheCellHeight) {
    for (int cell : {10, 13, 16, 19, 24, 40, 100}) {
        SCOPED_TRACE(cell);
        const Font& font = font_of(cell);
        const Metrics& m = metrics(font);
        EXPECT_EQ(m.height, cell);
        EXPECT_EQ(m.ascent + m.descent, cell);
        EXPECT_GT(m.descent, 0);
        EXPECT_GT(m.internal_leading, 0);
        // Asking for its character height gives the same glyphs in a cell no taller.
        const Font& same_em = font_of(-(m.height - m.internal_leading));
        EXPECT_LE(metrics(same_em).height, cell);
        EXPECT_EQ(width_of(same_em, "The quick brown fox"), width_of(font, "The quick brown fox"));
        const Box ink = ink_of(font, "Hgjy|");
        EXPECT_GE(ink.top, 0);
        EXPECT_LE(ink.bottom, cell);
    }
}

TEST(GlyphMetrics, SizesGrowWithTheRequest) {
    int previous_height = 0, previous_width = 0;
    for (int em = 6; em <= 48; ++em) {
        const Font& font = font_of(-em);
        EXPECT_GE(metrics(font).height, previous_height) << em;
        EXPECT_GE(width_of(font, "Sphinx of black quartz"), previous_width) << em;
        previous_height = metrics(font).height;
        previous_width = width_of(font, "Sphinx of black quartz");
    }
    EXPECT_GT(metrics(font_of(-48)).height, 2 * metrics(font_of(-12)).height);
}

TEST(GlyphMetrics, DefaultSizes) {
    const Metrics& sans = metrics(font_of(0));
    EXPECT_GE(sans.height, 14);
    EXPECT_LE(sans.height, 18);
    const Metrics& fixed = metrics(font_of(0, true));
    EXPECT_GE(fixed.height, 12);
    EXPECT_LE(fixed.height, 14);
    EXPECT_TRUE(fixed.fixed_pitch);
    EXPECT_GT(sans.average_char_width, 0);
    EXPECT_GE(sans.max_char_width, sans.average_char_width);
}

TEST(GlyphMetrics, MonospaceIsFixedPitch) {
    for (int height : {0, -11, -15, 20}) {
        SCOPED_TRACE(height);
        const Font& font = font_of(height, true);
        const Metrics& m = metrics(font);
        EXPECT_TRUE(m.fixed_pitch);
        EXPECT_GT(m.average_char_width, 0);
        EXPECT_EQ(m.max_char_width, m.average_char_width);
        for (int c = 0; c < 256; ++c) {
            const char ch = char(c);
            ASSERT_EQ(text_width(font, &ch, 1), m.average_char_width) << c;
        }
    }
    const Font& sans = font_of(-15);
    EXPECT_FALSE(metrics(sans).fixed_pitch);
    EXPECT_LT(width_of(sans, "iiii"), width_of(sans, "MMMM"));
}

TEST(GlyphMetrics, BoldIsWiderAndHeavier) {
    FontRequest regular{.height = -16, .face = "SKTCH-font"};
    FontRequest bold = regular;
    bold.weight = 700;
    const std::string text = "Bold and regular";
    EXPECT_GT(width_of(*find_font(bold), text), width_of(*find_font(regular), text));
    EXPECT_GE(metrics(*find_font(bold)).weight, 600);
}

TEST(GlyphCache, EqualRequestsShareOneFont) {
    FontRequest a{.height = -15, .weight = 400, .face = "SKTCH-font"};
    FontRequest b = a;
    EXPECT_EQ(find_font(a), find_font(b));
    EXPECT_EQ(find_font(a), find_font(a));
    b.height = -16;
    EXPECT_NE(find_font(a), find_font(b));
    b = a;
    b.italic = true;
    EXPECT_NE(find_font(a), find_font(b));
    b = a;
    b.face = "DejaVu Sans";
    EXPECT_NE(find_font(a), find_font(b));
    // An unknown family falls back to the default face, measuring the same.
    EXPECT_EQ(width_of(*find_font(a), "fallback"), width_of(*find_font(b), "fallback"));
}

TEST(GlyphText, WidthAddsUpOverConcatenation) {
    const std::string parts[] = {"Hello", ", ", "world!", " \xE9t\xE9 ", "WAVY", "1.5", ""};
    for (int height : {-9, -15, 22}) {
        for (bool monospace : {false, true}) {
            const Font& font = font_of(height, monospace);
            std::string whole;
            int sum = 0;
            for (const std::string& a : parts) {
                for (const std::string& b : parts) {
                    EXPECT_EQ(width_of(font, a + b), width_of(font, a) + width_of(font, b));
                }
                whole += a;
                sum += width_of(font, a);
            }
            EXPECT_EQ(width_of(font, whole), sum);
        }
    }
}

TEST(GlyphText, EveryByteMeasures) {
    const Font& font = font_of(-15);
    std::string all;
    for (int c = 0; c < 256; ++c) all += char(c);
    EXPECT_GT(width_of(font, all), 0);
    EXPECT_EQ(width_of(font, all),
              width_of(font, all.substr(0, 128)) + width_of(font, all.substr(128)));
    EXPECT_EQ(text_width(font, nullptr, 5), 0);
    EXPECT_EQ(text_width(font, "abc", 0), 0);
    EXPECT_EQ(text_width(font, "abc", -3), 0);
    EXPECT_GT(width_of(font, "\xC0\xE9\xFF"), 0);  // Latin-1 letters have glyphs

    Bitmap bitmap(width_of(font, all) + 40, 40, kPaper);
    draw(bitmap, font, 5, 5, all, true);
    EXPECT_FALSE(changed_pixels(bitmap, kPaper).empty());
}

TEST(GlyphDraw, InkStaysInTheCell) {
    for (bool monospace : {false, true}) {
        const Font& font = font_of(-15, monospace);
        const Metrics& m = metrics(font);
        const std::string text = "Hg|jW_(Q)y,\xC5\xE7";
        const int x = 7, y = 5;
        Bitmap bitmap(120 + 2 * x, m.height + 2 * y, kPaper);
        draw(bitmap, font, x, y, text);
        const Box ink = changed_pixels(bitmap, kPaper);
        ASSERT_FALSE(ink.empty());
        EXPECT_GE(ink.left, x);
        EXPECT_GE(ink.top, y);
        EXPECT_LE(ink.right, x + width_of(font, text));
        EXPECT_LE(ink.bottom, y + m.height);
    }
}

TEST(GlyphDraw, GlyphsBlendOverWhatLiesBeneath) {
    const Font& font = font_of(-20);
    const std::string text = "Anti-aliased @ 20px";
    const int width = width_of(font, text);
    const int height = metrics(font).height;
    // White over black leaves the coverage itself in every channel.
    Bitmap coverage(width, height, 0x000000);
    draw(coverage, font, 0, 0, text, false, 0xFFFFFF);
    int full = 0, partial = 0;
    for (Pixel p : coverage.pixels) {
        ASSERT_TRUE(p == (p & 0xFF) * 0x010101) << std::hex << p;
        full += p == 0xFFFFFF;
        partial += p != 0xFFFFFF && p != 0;
    }
    EXPECT_GT(full, 20);
    EXPECT_GT(partial, 20);

    const std::pair<Pixel, Pixel> cases[] = {
        {kPaper, kInk}, {0xFFFFFF, 0x000000}, {0x3C8A11, 0xE01F77}, {0x808080, 0x808080}};
    for (const auto& [below, color] : cases) {
        Bitmap bitmap(width, height, below);
        draw(bitmap, font, 0, 0, text, false, color);
        for (std::size_t i = 0; i < bitmap.pixels.size(); ++i) {
            const int a = int(coverage.pixels[i] & 0xFF);
            Pixel expected = 0;
            for (int shift : {16, 8, 0}) {
                const int d = int(below >> shift & 0xFF);
                const int c = int(color >> shift & 0xFF);
                expected |= Pixel(d + (c - d) * a / 255) << shift;
            }
            ASSERT_EQ(bitmap.pixels[i], expected) << i << " coverage " << a;
        }
    }
}

TEST(GlyphDraw, OpaqueFillsTheCell) {
    const Font& font = font_of(-15);
    const Metrics& m = metrics(font);
    const Pixel background = 0x2468AC;
    for (const std::string text : {" ", "  \t ", "Opaque text"}) {
        Bitmap bitmap(200, 40, kPaper);
        const int x = 9, y = 6;
        draw(bitmap, font, x, y, text, true, kInk, background);
        const int right = x + width_of(font, text);
        for (int py = 0; py < bitmap.height; ++py) {
            for (int px = 0; px < bitmap.width; ++px) {
                const bool inside = px >= x && px < right && py >= y && py < y + m.height;
                const Pixel p = bitmap.at(px, py);
                if (!inside) {
                    ASSERT_EQ(p, kPaper) << px << "," << py;
                } else {
                    ASSERT_TRUE(is_blend(p, background, kInk)) << px << "," << py;
                }
            }
        }
        const Box cell = changed_pixels(bitmap, kPaper);
        EXPECT_EQ(cell.left, x);
        EXPECT_EQ(cell.right, right);
        EXPECT_EQ(cell.bottom - cell.top, m.height);
    }
}

TEST(GlyphDraw, UnderlineAndStrikeOutSpanTheText) {
    FontRequest request{.height = -18, .face = "SKTCH-font"};
    const Font& plain = *find_font(request);
    request.underline = true;
    const Font& underlined = *find_font(request);
    request.underline = false;
    request.strike_out = true;
    const Font& struck = *find_font(request);
    const std::string text = "a  b";
    const int width = width_of(plain, text);
    const Metrics& m = metrics(plain);
    for (const Font* font : {&underlined, &struck}) {
        Bitmap bitmap(width + 20, m.height + 20, kPaper);
        draw(bitmap, *font, 10, 10, text);
        int full_rows = 0;
        for (int y = 10; y < 10 + m.height; ++y) {
            bool full = true;
            for (int x = 10; x < 10 + width; ++x) full = full && bitmap.at(x, y) == kInk;
            full_rows += full;
        }
        EXPECT_GE(full_rows, 1);
        const Box ink = changed_pixels(bitmap, kPaper);
        EXPECT_EQ(ink.left, 10);
        EXPECT_EQ(ink.right, 10 + width);
        EXPECT_LE(ink.bottom, 10 + m.height);
    }
}

// Drawing into a clipped target paints exactly the clipped part of an unclipped drawing.
TEST(GlyphClip, ClippedDrawingMatchesTheUnclippedOne) {
    const Font& font = font_of(-17);
    const std::string text = "Clipped: Wjg|@";
    const std::string overhanging = "Tj_Y";  // ink beyond the pen on both sides
    const int width = width_of(font, text);
    const int height = metrics(font).height;
    const int margin = 40;
    const int w = width / 2, h = height / 2 + 3;
    struct Case {
        int x, y;
        raster::Clip clip;
        const std::string& text;
    };
    const Case cases[] = {
        {-width / 3, -height / 3, {0, 0, w, h}, text},        // off the top-left corner
        {w - width / 3, h - height / 2, {0, 0, w, h}, text},  // off the bottom-right
        {-3, 2, {0, 0, w, h}, text},
        {5, 1, {4, 3, w - 2, h - 1}, text},         // a clip inside the bitmap
        {0, 0, {3, 0, 3, h}, text},                 // an empty clip
        {w - 2, 0, {0, 0, w - 2, h}, overhanging},  // starting at the right edge
        {2 - width_of(font, overhanging), 0, {2, 0, w, h}, overhanging},  // ending at the left
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.text);
        for (bool opaque : {false, true}) {
            Bitmap whole(w + 2 * margin, h + 2 * margin, kPaper);
            draw(whole, font, c.x + margin, c.y + margin, c.text, opaque);
            Bitmap part(w, h, kPaper);
            draw_text(Target{&part, c.clip}, font, c.x, c.y, c.text.data(), int(c.text.size()),
                      kInk, opaque, 0xFFFFFF);
            bool painted = false;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    const bool in_clip = x >= c.clip.left && x < c.clip.right && y >= c.clip.top &&
                                         y < c.clip.bottom;
                    const Pixel expected = in_clip ? whole.at(x + margin, y + margin) : kPaper;
                    ASSERT_EQ(part.at(x, y), expected) << x << "," << y;
                    painted = painted || expected != kPaper;
                }
            }
            EXPECT_EQ(painted, c.clip.left < c.clip.right);
        }
    }
}

TEST(GlyphClip, FarAwayTextPaintsNothing) {
    const Font& font = font_of(-15);
    const std::string long_text(1000, 'W');
    const int positions[] = {INT_MIN, INT_MIN + 1, -1000000000,  -20000,
                             20000,   1000000000,  INT_MAX - 10, INT_MAX};
    Bitmap bitmap(64, 48, kPaper);
    for (int x : positions) {
        for (int y : positions) {
            draw(bitmap, font, x, y, long_text, true);
            draw(bitmap, font, x, 10, long_text, true);
            draw(bitmap, font, 10, y, long_text, true);
        }
    }
    // Text that ends just left of the bitmap, or starts just right of it.
    draw(bitmap, font, -width_of(font, long_text), 0, long_text, true);
    draw(bitmap, font, 64, 0, long_text, true);
    draw(bitmap, font, 0, -metrics(font).height, long_text, true);
    draw(bitmap, font, 0, 48, long_text, true);
    EXPECT_TRUE(changed_pixels(bitmap, kPaper).empty());

    // Long text starting far left still reaches the bitmap at the right place.
    const int advance = width_of(font, "W");
    draw(bitmap, font, -advance * 997, 0, long_text, true);
    const Box ink = changed_pixels(bitmap, kPaper);
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.right, advance * 3);
}

TEST(GlyphClip, EmptyTextPaintsNothing) {
    const Font& font = font_of(-15);
    Bitmap bitmap(40, 30, kPaper);
    for (bool opaque : {false, true}) {
        draw_text(target_of(bitmap), font, 2, 2, "text", 0, kInk, opaque, 0);
        draw_text(target_of(bitmap), font, 2, 2, "text", -4, kInk, opaque, 0);
        draw_text(target_of(bitmap), font, 2, 2, nullptr, 4, kInk, opaque, 0);
        draw_text(target_of(bitmap), font, 2, 2, "", 0, kInk, opaque, 0);
    }
    EXPECT_TRUE(changed_pixels(bitmap, kPaper).empty());
}

}  // namespace
}  // namespace sktch::glyphs

namespace sktch::glyphs {
namespace {

// With fontconfig told of no fonts at all, every request falls back to the built-in boxes:
// text still measures and draws, and one line on stderr says why. Run in a fresh process
// (the font cache lives as long as the process), which must write exactly that one line
// however many fonts are asked for.
TEST(GlyphFallback, NoFaceAtAllWarnsOnceAndDrawsBoxes) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const std::string config = ::testing::TempDir() + "sktch-no-fonts.conf";
            if (std::FILE* f = std::fopen(config.c_str(), "w")) {
                std::fputs("<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n", f);
                std::fclose(f);
            }
            setenv("FONTCONFIG_FILE", config.c_str(), 1);
            Bitmap bitmap(200, 60, kPaper);
            draw(bitmap, font_of(-20), 2, 2, "Hello");
            draw(bitmap, font_of(-13, true), 2, 30, "Hello");
            std::exit(changed_pixels(bitmap, kPaper).empty() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0),
        "^SKTCH: no font face could be loaded; text is drawn as empty boxes[^\n]*\n$");
}

}  // namespace
}  // namespace sktch::glyphs
