// The text code both glyph engines share: cells sized from design units, and coverage
// blended exactly, however many pixels a row takes at once.
#include "raster/text_cell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "raster/text_painting.h"

namespace sktch::glyphs {
namespace {

TEST(TextCell, GivesTheLargestEmWhoseCellFitsAndAnEmAskedFor) {
    struct Face {
        double ascent, descent;
        int upem;
    };
    // DejaVu Sans's Windows metrics, a round face, one without a descent.
    for (const Face& f : {Face{1901, 483, 2048}, Face{1000, 200, 1000}, Face{800, 0, 1000}}) {
        const auto rows = [&](double units, int em) {
            return int(std::ceil(units * em / f.upem - 1e-6));
        };
        for (int height = 1; height <= 80; ++height) {
            Metrics m;
            const int em = size_cell(m, f.ascent, f.descent, f.upem, height);
            SCOPED_TRACE(testing::Message() << f.ascent << "/" << f.upem << " height " << height);
            EXPECT_EQ(m.height, height);
            EXPECT_EQ(m.ascent + m.descent, height);
            EXPECT_GE(m.ascent, std::min(rows(f.ascent, em), height));
            EXPECT_GE(em, 1);
            if (em > 1) {
                EXPECT_LE(rows(f.ascent, em) + rows(f.descent, em), height);
            }
            EXPECT_GT(rows(f.ascent, em + 1) + rows(f.descent, em + 1), height);
            EXPECT_EQ(m.internal_leading, std::max(0, height - em));

            Metrics asked;
            EXPECT_EQ(size_cell(asked, f.ascent, f.descent, f.upem, -height), height);
            EXPECT_EQ(asked.ascent, rows(f.ascent, height));
            EXPECT_EQ(asked.height, asked.ascent + rows(f.descent, height));

            // The lines stay on their side of the baseline, inside the cell.
            Decorations d{true, true, 50, 50, 50, 50};
            d.fit(m);
            EXPECT_LE(d.underline_offset - 1 + d.underline_thickness, std::max(1, m.descent));
            EXPECT_LE(d.strike_offset, std::max(d.strike_thickness, m.ascent));
            EXPECT_GE(d.strike_offset, d.strike_thickness);
        }
    }
}

// Each channel goes d + (c - d) * a / 255, truncated toward zero: every coverage value over
// a row long enough for whole groups of four and a tail, on many backgrounds.
TEST(TextPainting, BlendsEveryCoverageExactly) {
    constexpr int kWidth = 7;
    Glyph g;
    g.width = kWidth;
    g.rows = 1;
    g.coverage.resize(kWidth);
    raster::Bitmap bitmap(kWidth, 1);
    const raster::Target target{&bitmap, {0, 0, kWidth, 1}};
    const auto expected = [](std::uint32_t d, std::uint32_t c, int a) {
        std::uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int dc = int(d >> shift) & 0xFF, cc = int(c >> shift) & 0xFF;
            out |= std::uint32_t(dc + (cc - dc) * a / 255) << shift;  // C++ truncates
        }
        return out;
    };
    const std::uint32_t colors[] = {0x000000, 0xFFFFFF, 0x102030, 0xF0E0D0, 0x7F80FF, 0x01FE55};
    for (std::uint32_t ink : colors) {
        for (std::uint32_t paper : colors) {
            for (int first = 0; first < 256; first += kWidth) {
                for (int i = 0; i < kWidth; ++i) g.coverage[i] = std::uint8_t((first + i) & 0xFF);
                std::fill(bitmap.pixels.begin(), bitmap.pixels.end(), paper);
                blend_glyph(target, g, 0, 0, ink);
                for (int i = 0; i < kWidth; ++i)
                    ASSERT_EQ(bitmap.pixels[i], expected(paper, ink, g.coverage[i]))
                        << std::hex << "ink " << ink << " paper " << paper << std::dec
                        << " coverage " << int(g.coverage[i]);
            }
        }
    }
}

}  // namespace
}  // namespace sktch::glyphs
