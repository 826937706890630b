// Glyph coverage blended onto bitmaps, four pixels at a time where SSE2 (or WebAssembly's
// vector instructions behind it) is there.
#include "raster/text_painting.h"

#include <algorithm>
#include <cstring>

#include "raster/raster_internal.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sktch::glyphs {
namespace {

// d + (c - d) * a / 255 per channel, truncated toward zero, computed on magnitudes:
// |c - d| * a fits 16 bits, and for every such t, (t + 1 + (t >> 8)) >> 8 is t / 255.
inline raster::Pixel blend_pixel(raster::Pixel d, raster::Pixel c, unsigned a) {
    raster::Pixel out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned dc = (d >> shift) & 0xFF;
        const unsigned cc = (c >> shift) & 0xFF;
        const unsigned t = (cc > dc ? cc - dc : dc - cc) * a;
        const unsigned q = (t + 1 + (t >> 8)) >> 8;
        out |= (cc > dc ? dc + q : dc - q) << shift;
    }
    return out;
}

#if defined(__SSE2__)
// Four pixels' channels in 16-bit lanes: d + sign * (|c - d| * a / 255), where
// t * 0x8081 >> 23 is t / 255 for every 16-bit t.
inline __m128i blend_half(__m128i d, __m128i distance, __m128i negative, __m128i a) {
    const __m128i q =
        _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(distance, a), _mm_set1_epi16(-0x7F7F)), 7);
    return _mm_add_epi16(d, _mm_sub_epi16(_mm_xor_si128(q, negative), negative));
}
#endif

// Blends `color` over n pixels with the given coverage.
void blend_row(raster::Pixel* dst, const std::uint8_t* coverage, int n, raster::Pixel color) {
    int i = 0;
#if defined(__SSE2__)
    const __m128i c = _mm_set1_epi32(int(color));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 4 <= n; i += 4) {
        std::uint32_t four;
        std::memcpy(&four, coverage + i, sizeof four);
        if (four == 0) continue;
        auto* p = reinterpret_cast<__m128i*>(dst + i);
        if (four == 0xFFFFFFFFu) {
            _mm_storeu_si128(p, c);
            continue;
        }
        __m128i a = _mm_cvtsi32_si128(int(four));
        a = _mm_unpacklo_epi8(a, a);
        a = _mm_unpacklo_epi16(a, a);  // each pixel's coverage in its four bytes
        const __m128i d = _mm_loadu_si128(p);
        const __m128i up = _mm_subs_epu8(c, d);
        const __m128i distance = _mm_or_si128(up, _mm_subs_epu8(d, c));
        const __m128i negative = _mm_cmpeq_epi8(up, zero);  // all ones where c <= d
        const __m128i lo =
            blend_half(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(distance, zero),
                       _mm_unpacklo_epi8(negative, negative), _mm_unpacklo_epi8(a, zero));
        const __m128i hi =
            blend_half(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(distance, zero),
                       _mm_unpackhi_epi8(negative, negative), _mm_unpackhi_epi8(a, zero));
        _mm_storeu_si128(p, _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i) {
        const unsigned a = coverage[i];
        if (a == 255) {
            dst[i] = color;
        } else if (a != 0) {
            dst[i] = blend_pixel(dst[i], color, a);
        }
    }
}

}  // namespace

void blend_glyph(const raster::Target& t, const Glyph& g, std::int64_t gx, std::int64_t gy,
                 raster::Pixel color) {
    const int x0 = int(std::max<std::int64_t>(gx, t.clip.left));
    const int x1 = int(std::min<std::int64_t>(gx + g.width, t.clip.right));
    const int y0 = int(std::max<std::int64_t>(gy, t.clip.top));
    const int y1 = int(std::min<std::int64_t>(gy + g.rows, t.clip.bottom));
    if (x0 >= x1 || y0 >= y1) return;
    for (int y = y0; y < y1; ++y) {
        const std::uint8_t* src =
            g.coverage.data() + std::size_t(y - gy) * g.width + std::size_t(x0 - gx);
        blend_row(t.bitmap->row(y) + x0, src, x1 - x0, color);
    }
}

void fill_box(const raster::Target& t, std::int64_t left, std::int64_t top, std::int64_t right,
              std::int64_t bottom, raster::Pixel color) {
    raster::detail::Painter(t, color).box(left, top, right, bottom);
}

}  // namespace sktch::glyphs
