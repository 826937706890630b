// Block copies and scrolling.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "pixels.h"
#include "raster/raster.h"

namespace sktch::raster {
namespace {

using namespace testing_support;

// A bitmap whose every pixel is different.
Bitmap numbered(int w, int h, Pixel base = 0) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.row(y)[x] = base + Pixel(y * 1000 + x);
    return b;
}

// What copy() should do, pixel by pixel.
Bitmap copied(const Bitmap& dst, Clip clip, long dx, long dy, long w, long h, const Bitmap& src,
              long sx, long sy) {
    Bitmap out = dst;
    for (long y = 0; y < h; ++y)
        for (long x = 0; x < w; ++x) {
            const long tx = dx + x, ty = dy + y, fx = sx + x, fy = sy + y;
            if (tx < clip.left || tx >= clip.right || ty < clip.top || ty >= clip.bottom) continue;
            if (fx < 0 || fx >= src.width || fy < 0 || fy >= src.height) continue;
            out.row(int(ty))[tx] = src.at(int(fx), int(fy));
        }
    return out;
}

TEST(Copy, CopiesTheBlockClippedToBothBitmaps) {
    const Bitmap src = numbered(40, 30, 100000);
    const int cases[][6] = {
        {5, 6, 10, 8, 3, 4},     // inside both
        {-4, -3, 12, 10, 0, 0},  // off the destination's top-left
        {25, 20, 30, 30, 0, 0},  // off the destination's bottom-right
        {5, 5, 10, 10, -6, -2},  // starting before the source
        {5, 5, 10, 10, 35, 25},  // running off the source
        {0, 0, 0, 5, 0, 0},      // empty
        {0, 0, -3, 5, 0, 0},     // negative size
    };
    for (const auto& c : cases) {
        Bitmap dst = numbered(32, 24);
        const Clip clip{0, 0, 32, 24};
        const Bitmap want = copied(dst, clip, c[0], c[1], c[2], c[3], src, c[4], c[5]);
        copy(whole(dst), c[0], c[1], c[2], c[3], src, c[4], c[5]);
        EXPECT_EQ(dst.pixels, want.pixels) << c[0] << " " << c[1] << " " << c[2] << " " << c[3];
    }
}

TEST(Copy, RespectsTheDestinationClip) {
    const Bitmap src = numbered(40, 30, 100000);
    Bitmap dst = numbered(32, 24);
    const Clip clip{7, 3, 20, 15};
    const Bitmap want = copied(dst, clip, 2, 1, 30, 30, src, 0, 0);
    copy(Target{&dst, clip}, 2, 1, 30, 30, src, 0, 0);
    EXPECT_EQ(dst.pixels, want.pixels);
}

TEST(Copy, ExtremeArgumentsAreClipped) {
    const Bitmap src = numbered(40, 30, 100000);
    Bitmap dst = numbered(32, 24);
    const Bitmap before = dst;
    copy(whole(dst), INT_MIN, INT_MIN, INT_MAX, INT_MAX, src, INT_MAX, INT_MAX);
    copy(whole(dst), INT_MAX, INT_MAX, INT_MAX, INT_MAX, src, 0, 0);
    EXPECT_EQ(dst.pixels, before.pixels);
    copy(whole(dst), INT_MIN, INT_MIN, INT_MAX, INT_MAX, src, INT_MIN, INT_MIN);
    EXPECT_EQ(dst.pixels, before.pixels);
    // Source origin far left, block long enough to reach the source: clipped on both.
    const Bitmap want = copied(dst, Clip{0, 0, 32, 24}, -10, -10, 60, 60, src, -10, -10);
    copy(whole(dst), -10, -10, 60, 60, src, -10, -10);
    EXPECT_EQ(dst.pixels, want.pixels);
}

TEST(Copy, OverlappingCopyWithinOneBitmapReadsTheOldPixels) {
    for (const auto& [dx, dy] : {std::pair{3, 2}, {-3, -2}, {4, -1}, {-2, 5}, {1, 0}, {-1, 0}}) {
        Bitmap b = numbered(30, 20);
        const Bitmap old = b;
        const Bitmap want = copied(b, Clip{0, 0, 30, 20}, 5 + dx, 4 + dy, 18, 12, old, 5, 4);
        copy(whole(b), 5 + dx, 4 + dy, 18, 12, b, 5, 4);
        EXPECT_EQ(b.pixels, want.pixels) << dx << "," << dy;
    }
}

// What scroll() should do: pixels inside the clip come from (x - dx, y - dy) when that is
// inside the clip too; everything else stays.
Bitmap scrolled(const Bitmap& b, Clip c, long dx, long dy) {
    Bitmap out = b;
    for (long y = c.top; y < c.bottom; ++y)
        for (long x = c.left; x < c.right; ++x) {
            const long fx = x - dx, fy = y - dy;
            if (fx >= c.left && fx < c.right && fy >= c.top && fy < c.bottom)
                out.row(int(y))[x] = b.at(int(fx), int(fy));
        }
    return out;
}

TEST(Scroll, MovesThePixelsInsideTheClip) {
    const Clip clips[] = {{0, 0, 30, 20}, {4, 3, 25, 17}};
    const std::pair<int, int> moves[] = {{0, 0},   {3, 2},   {-3, -2}, {0, -5},           {7, 0},
                                         {29, 19}, {30, 20}, {-40, 3}, {INT_MAX, INT_MIN}};
    for (const Clip& c : clips)
        for (const auto& [dx, dy] : moves) {
            Bitmap b = numbered(30, 20);
            const Bitmap want = scrolled(b, c, dx, dy);
            scroll(Target{&b, c}, dx, dy);
            EXPECT_EQ(b.pixels, want.pixels) << dx << "," << dy << " clip " << c.left;
        }
}

// Scrolling the whole bitmap turns its ring of rows; whatever is drawn or copied onto it
// afterwards, and the picture written out, must be what the plain scroll would give.
TEST(Scroll, WholeBitmapScrollsKeepThePictureOfThePlainScroll) {
    Bitmap ring = numbered(23, 17), plain = ring;
    const Bitmap other = numbered(9, 9, 500000);
    const int moves[] = {-3, -3, 5, -8, 1, -1, -7, 0, 8, -9, 9, -17, 17, INT_MIN, INT_MAX, -4};
    int step = 0;
    for (int dy : moves) {
        scroll_rows(ring, dy);
        scroll(whole(plain), 0, dy);
        for (Bitmap* b : {&ring, &plain}) {
            const Pixel c = 0xA00000 + Pixel(step);
            fill_rect(whole(*b), 2, 12, 9, 17, c);  // across the bottom rows
            line(whole(*b), pen(c, 3), 0, 0, 22, 16);
            ellipse(whole(*b), pen(c, 1), solid(kBlue), 10, -3, 20, 6);
            copy(whole(*b), 4, 9, 9, 9, other, 0, 0);
            copy(whole(*b), 15, 1, 6, 14, *b, 0, 3);  // within itself
        }
        for (int y = 0; y < 17; ++y)
            for (int x = 0; x < 23; ++x)
                ASSERT_EQ(ring.at(x, y), plain.at(x, y))
                    << "after move " << step << " at " << x << "," << y;
        ++step;
    }
}

}  // namespace
}  // namespace sktch::raster
