// Coordinates anywhere in the int32 range, pens up to a million pixels wide, and the clip
// rectangle.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

#include "pixels.h"
#include "raster/raster.h"

namespace sktch::raster {
namespace {

using namespace testing_support;

constexpr int kW = 601, kH = 540;
constexpr int kMin = INT_MIN, kMax = INT_MAX;

struct Canvas {
    Bitmap bitmap{kW, kH, kWhite};
    Target target() { return whole(bitmap); }
};

TEST(FarAway, ShapesOutsideTheBitmapPaintNothing) {
    Canvas c;
    const Target t = c.target();
    for (int width : {0, 1, 2, 7, 1000, 1000000}) {
        const Pen p = pen(kRed, width);
        const Brush b = width == 0 ? solid(kRed) : hollow();
        rectangle(t, p, b, 2000000000, 2000000000, kMax, kMax);
        rectangle(t, p, b, kMin, kMin, -2000000000, -2000000000);
        ellipse(t, p, b, 1900000000, -5, kMax, 500);
        ellipse(t, p, b, kMin, kMin, kMax, -1500000000);
        line(t, p, kMin, kMin, kMin + 1000, kMax);
        line(t, p, 2000000000, kMin, 2000000000, kMax);
        const Point tri[3] = {{kMax, kMax}, {kMax - 5, kMin}, {2000000000, 0}};
        polygon(t, p, b, tri, 3);
    }
    EXPECT_TRUE(painted(c.bitmap).empty());
}

TEST(FarAway, HugeShapesCrossingTheBitmapAreClipped) {
    Canvas c;
    const Target t = c.target();
    rectangle(t, pen(kRed, 0), solid(kRed), kMin, kMin, kMax, kMax);
    EXPECT_EQ(count(c.bitmap, kRed), kW * kH);

    Canvas rows;
    line(rows.target(), pen(kRed, 1), kMin, 100, kMax, 100);
    line(rows.target(), pen(kRed, 1), 300, kMax, 300, kMin);
    EXPECT_EQ(count(rows.bitmap, kRed), kW + kH - 1);

    // Slope exactly 1: the bitmap's diagonal.
    Canvas diagonal;
    line(diagonal.target(), pen(kRed, 1), kMin + 1, kMin + 1, kMax, kMax);
    EXPECT_EQ(count(diagonal.bitmap, kRed), kH);
    for (int i = 0; i < kH; ++i) EXPECT_EQ(diagonal.bitmap.at(i, i), kRed);

    // A huge hollow box and ellipse around the bitmap leave it untouched.
    Canvas around;
    rectangle(around.target(), pen(kRed, 5), hollow(), kMin, kMin, kMax, kMax);
    ellipse(around.target(), pen(kRed, 1), hollow(), -100000, -100000, 100000, 100000);
    EXPECT_TRUE(painted(around.bitmap).empty());
}

TEST(FarAway, LongLinesStayOnTheTrueLine) {
    const int ends[][4] = {{kMin, 0, kMax, 540},
                           {kMin, 539, kMax, -1},
                           {-2000000000, -7, 2000000000, 11},
                           {kMax, 300, kMin, 200},
                           {123, kMin, 400, kMax}};
    for (const auto& e : ends) {
        Canvas c;
        line(c.target(), pen(kRed, 1), e[0], e[1], e[2], e[3]);
        const long double dx = (long double)e[2] - e[0], dy = (long double)e[3] - e[1];
        const bool x_major = std::fabs(dx) >= std::fabs(dy);
        int n = 0;
        for (const auto& [x, y] : painted(c.bitmap)) {
            ++n;
            const long double off = x_major ? y - (e[1] + dy * (x - (long double)e[0]) / dx)
                                            : x - (e[0] + dx * (y - (long double)e[1]) / dy);
            EXPECT_LE(std::fabs(off), 0.5L + 1e-6L) << x << "," << y;
        }
        EXPECT_GT(n, 0);
    }
}

TEST(FarAway, HugeEllipsesFollowTheIdealCurve) {
    // Boxes small enough to walk exactly and too large to walk both keep to the ellipse.
    for (int half : {100000, 400000, 600000, 3000000, 1000000000}) {
        Canvas c;
        // Centre below the bitmap; the top of the ellipse crosses row 200.
        const long long cx = 300, cy = 200LL + half;
        ellipse(c.target(), pen(kRed, 1), hollow(), int(cx - half), int(cy - half),
                int(cx + half + 1), int(cy + half + 1));
        int n = 0;
        for (const auto& [x, y] : painted(c.bitmap)) {
            ++n;
            // The pixel lies within a pixel and a half of the circle about (cx, cy).
            const long double d = std::hypot((long double)x - cx, (long double)y - cy);
            EXPECT_LE(std::fabs(d - half), 1.5L) << half << ": " << x << "," << y;
        }
        EXPECT_GE(n, kW) << half;
    }
}

TEST(WidePens, AMillionPixelsWideCoversTheBitmap) {
    const Pen huge = pen(kRed, 1000000);
    Canvas a, b, c, d, e;
    line(a.target(), huge, -50, 270, 700, 280);
    rectangle(b.target(), huge, hollow(), 300, 270, 301, 271);
    ellipse(c.target(), huge, hollow(), 0, 0, 601, 540);
    const Point tri[3] = {{0, 0}, {600, 10}, {300, 539}};
    polygon(d.target(), huge, hollow(), tri, 3);
    // The centre line 400,000 pixels away: still within half the width.
    line(e.target(), huge, kMin, -400000, kMax, -400000);
    for (Canvas* canvas : {&a, &b, &c, &d, &e}) EXPECT_EQ(count(canvas->bitmap, kRed), kW * kH);

    // 600,000 pixels away: out of reach.
    Canvas far;
    line(far.target(), huge, kMin, -600000, kMax, -600000);
    line(far.target(), huge, 700000, kMin, 700000, kMax);
    rectangle(far.target(), huge, hollow(), -3000000, -3000000, 3000000, 3000000);
    EXPECT_TRUE(painted(far.bitmap).empty());
}

// Random shapes, mostly small, some huge, with every kind of pen.
struct Fuzz {
    std::mt19937 rng{2024};
    int coord(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    int any() {
        switch (coord(0, 3)) {
            case 0:
                return coord(kMin, kMax);
            case 1:
                return coord(-200000, 200000);
            default:
                return coord(-50, 650);
        }
    }
    Pen pen() {
        static const int widths[] = {0, 1, 2, 3, 5, 8, 40, 999, 1000000};
        return Pen{Pixel(coord(0, 0xFFFFFF)), widths[coord(0, 8)], coord(0, 9) == 0};
    }
    Brush brush() { return Brush{Pixel(coord(0, 0xFFFFFF)), coord(0, 1) == 0}; }

    void draw(const Target& t, int kind) {
        const Pen p = pen();
        const Brush b = brush();
        switch (kind) {
            case 0:
                rectangle(t, p, b, any(), any(), any(), any());
                break;
            case 1: {
                // Keep huge ellipses to sizes that are walked quickly or drawn from the curve.
                ellipse(t, p, b, any(), any(), any(), any());
                break;
            }
            case 2: {
                Point pts[5];
                for (Point& q : pts) q = Point{any(), any()};
                polygon(t, p, b, pts, coord(1, 5));
                break;
            }
            case 3:
                line(t, p, any(), any(), any(), any());
                break;
            default:
                set_pixel(t, any(), any(), p.color);
        }
    }
};

TEST(Clip, ShapesPaintExactlyTheirPixelsInsideTheClip) {
    Fuzz fuzz;
    const Clip clip{97, 83, 411, 302};
    for (int i = 0; i < 400; ++i) {
        Bitmap full(kW, kH, kWhite), clipped(kW, kH, kWhite);
        const auto seed = fuzz.rng();
        const int kind = i % 5;
        Fuzz a{std::mt19937(seed)}, b{std::mt19937(seed)};
        a.draw(whole(full), kind);
        b.draw(Target{&clipped, clip}, kind);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const bool inside =
                    x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
                const Pixel want = inside ? full.at(x, y) : kWhite;
                if (clipped.at(x, y) != want) {
                    FAIL() << "shape " << i << " kind " << kind << " at " << x << "," << y;
                }
            }
    }
}

TEST(Clip, EmptyClipPaintsNothing) {
    Canvas c;
    const Target t{&c.bitmap, Clip{50, 50, 50, 90}};
    rectangle(t, pen(kRed, 3), solid(kRed), 0, 0, 601, 540);
    ellipse(t, pen(kRed, 3), solid(kRed), 0, 0, 601, 540);
    line(t, pen(kRed, 1), 0, 0, 600, 539);
    set_pixel(t, 50, 60, kRed);
    fill_rect(t, 0, 0, 601, 540, kRed);
    EXPECT_TRUE(painted(c.bitmap).empty());
}

TEST(Clip, FillRectAndSetPixelKeepToTheClip) {
    Canvas c;
    const Target t{&c.bitmap, Clip{10, 20, 30, 25}};
    fill_rect(t, kMin, kMin, kMax, kMax, kRed);
    set_pixel(t, 5, 22, kBlue);
    set_pixel(t, 10, 20, kBlue);
    EXPECT_EQ(count(c.bitmap, kRed), 20 * 5 - 1);
    EXPECT_EQ(c.bitmap.at(10, 20), kBlue);
    EXPECT_EQ(c.bitmap.at(5, 22), kWhite);
}

}  // namespace
}  // namespace sktch::raster
