// Bitmaps, single pixels, solid blocks and the run fill under every shape.
#include <cwchar>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "raster/raster.h"
#include "raster/raster_internal.h"

namespace sktch::raster {

namespace detail {

void fill_long_run(Pixel* p, std::size_t n, Pixel c) {
    // Long runs go to the C library's vector code, except in WebAssembly, whose wmemset
    // stores one pixel at a time where the loop below stores four.
#if !defined(__EMSCRIPTEN__)
    if constexpr (sizeof(wchar_t) == sizeof(Pixel)) {
        if (n >= 64) {
            std::wmemset(reinterpret_cast<wchar_t*>(p), static_cast<wchar_t>(c), n);
            return;
        }
    }
#endif
#if defined(__SSE2__)
    const __m128i v = _mm_set1_epi32(static_cast<int>(c));
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 4), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 8), v);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i + 12), v);
    }
    for (; i + 4 <= n; i += 4) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), v);
    // The last few pixels: one store that may overlap the ones before (n is at least 8).
    if (i < n) _mm_storeu_si128(reinterpret_cast<__m128i*>(p + n - 4), v);
#else
    for (std::size_t i = 0; i < n; ++i) p[i] = c;
#endif
}

}  // namespace detail

void Bitmap::resize(int w, int h, Pixel fill) {
    width = w < 0 ? 0 : w;
    height = h < 0 ? 0 : h;
    first_row = 0;
    pixels.assign(std::size_t(width) * std::size_t(height), fill);
}

void set_pixel(const Target& t, int x, int y, Pixel color) {
    detail::Painter(t, color).pixel(x, y);
}

void fill_rect(const Target& t, int left, int top, int right, int bottom, Pixel color) {
    detail::Painter(t, color).box(left, top, right, bottom);
}

}  // namespace sktch::raster
