// The pixel rules of each shape, checked as properties rather than against pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>

#include "pixels.h"
#include "raster/raster.h"

namespace sktch::raster {
namespace {

using namespace testing_support;

constexpr int kW = 120, kH = 100;

Bitmap draw_rect(const Pen& p, const Brush& b, int l, int t, int r, int bt) {
    Bitmap bm(kW, kH, kWhite);
    rectangle(whole(bm), p, b, l, t, r, bt);
    return bm;
}

TEST(Rectangle, OnePixelBoxPaintsThatPixelInThePenColour) {
    for (int width : {0, 1}) {
        for (const Brush& brush : {solid(kRed), hollow()}) {
            Bitmap bm = draw_rect(pen(kBlue, width), brush, 10, 20, 11, 21);
            EXPECT_EQ(painted(bm), (PixelSet{{10, 20}})) << "width " << width;
            EXPECT_EQ(bm.at(10, 20), kBlue);
            // The same box given with its corners the other way round.
            Bitmap reversed = draw_rect(pen(kBlue, width), brush, 11, 21, 10, 20);
            EXPECT_EQ(reversed.pixels, bm.pixels);
        }
    }
}

TEST(Rectangle, OnePixelBoxWithAWidePenLeavesThePensDot) {
    // Width 3: the pixel and its four neighbours.
    Bitmap bm = draw_rect(pen(kBlue, 3), hollow(), 10, 20, 11, 21);
    EXPECT_EQ(painted(bm), (PixelSet{{10, 19}, {9, 20}, {10, 20}, {11, 20}, {10, 21}}));
    // Width 2: the extra pixel goes left and up.
    bm = draw_rect(pen(kBlue, 2), hollow(), 10, 20, 11, 21);
    EXPECT_EQ(painted(bm), (PixelSet{{9, 19}, {10, 19}, {9, 20}, {10, 20}}));
}

TEST(Rectangle, ExcludesRightAndBottomEdges) {
    Bitmap bm = draw_rect(pen(kBlue, 0), solid(kBlue), 10, 20, 30, 32);
    const PixelSet s = painted(bm);
    EXPECT_EQ(s.size(), 20u * 12u);
    EXPECT_EQ(*s.begin(), std::make_pair(10, 20));
    EXPECT_EQ(*s.rbegin(), std::make_pair(29, 31));
}

TEST(Rectangle, CornersInAnyOrderDrawTheSame) {
    for (int width : {0, 1, 2, 3, 5}) {
        const Brush brush = width == 0 ? solid(kRed) : hollow();
        const Bitmap ordered = draw_rect(pen(kBlue, width), brush, 30, 40, 42, 48);
        EXPECT_EQ(draw_rect(pen(kBlue, width), brush, 42, 48, 30, 40).pixels, ordered.pixels);
        EXPECT_EQ(draw_rect(pen(kBlue, width), brush, 42, 40, 30, 48).pixels, ordered.pixels);
        EXPECT_EQ(draw_rect(pen(kBlue, width), brush, 30, 48, 42, 40).pixels, ordered.pixels);
    }
}

TEST(Rectangle, NoWidthOrNoHeightPaintsNothing) {
    for (int width : {0, 1, 2, 3, 5, 40}) {
        EXPECT_TRUE(painted(draw_rect(pen(kBlue, width), solid(kRed), 30, 40, 30, 48)).empty());
        EXPECT_TRUE(painted(draw_rect(pen(kBlue, width), solid(kRed), 30, 40, 42, 40)).empty());
    }
}

TEST(Rectangle, FilledAndHollowShareTheirOutline) {
    const Bitmap hollow_box = draw_rect(pen(kBlue, 1), hollow(), 10, 10, 25, 19);
    const Bitmap filled = draw_rect(pen(kBlue, 1), solid(kRed), 10, 10, 25, 19);
    EXPECT_EQ(painted(hollow_box).size(), std::size_t(2 * 15 + 2 * 9 - 4));
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const bool outline = hollow_box.at(x, y) == kBlue;
            const bool inside = x > 10 && x < 24 && y > 10 && y < 18;
            EXPECT_EQ(filled.at(x, y), outline ? kBlue : inside ? kRed : kWhite) << x << "," << y;
        }
}

TEST(Rectangle, WithoutAPenTheBrushFillsOnePixelLess) {
    const Bitmap bm = draw_rect(Pen{0, 1, true}, solid(kRed), 10, 10, 20, 16);
    EXPECT_EQ(count(bm, kRed), 9 * 5);
    EXPECT_EQ(bm.at(10, 10), kRed);
    EXPECT_EQ(bm.at(18, 14), kRed);
    EXPECT_EQ(bm.at(19, 14), kWhite);
}

TEST(Rectangle, WideOutlinesHaveRoundOuterCorners) {
    const Bitmap bm = draw_rect(pen(kBlue, 5), hollow(), 30, 30, 50, 44);
    // The band is centred on the one-pixel outline: two pixels out, two in.
    EXPECT_EQ(bm.at(40, 28), kBlue);
    EXPECT_EQ(bm.at(40, 27), kWhite);
    EXPECT_EQ(bm.at(40, 32), kBlue);
    EXPECT_EQ(bm.at(40, 33), kWhite);
    // Round outside corner, square inside corner.
    EXPECT_EQ(bm.at(28, 28), kWhite);
    EXPECT_EQ(bm.at(29, 29), kBlue);
    EXPECT_EQ(bm.at(32, 32), kBlue);
}

// A deterministic stream of end points inside the test bitmap.
struct RandomPoints {
    std::mt19937 rng{12345};
    Point next() {
        return Point{std::uniform_int_distribution<int>(0, kW - 1)(rng),
                     std::uniform_int_distribution<int>(0, kH - 1)(rng)};
    }
};

Bitmap draw_line(const Pen& p, Point a, Point b) {
    Bitmap bm(kW, kH, kWhite);
    line(whole(bm), p, a.x, a.y, b.x, b.y);
    return bm;
}

TEST(Line, ThinLinesPaintTheStartAndNotTheEnd) {
    RandomPoints points;
    for (int i = 0; i < 300; ++i) {
        const Point a = points.next(), b = points.next();
        for (int width : {0, 1}) {
            PixelSet forward = painted(draw_line(pen(kRed, width), a, b));
            PixelSet backward = painted(draw_line(pen(kRed, width), b, a));
            const bool zero = a.x == b.x && a.y == b.y;
            EXPECT_EQ(forward.count({a.x, a.y}), zero ? 0u : 1u);
            EXPECT_EQ(forward.count({b.x, b.y}), 0u);
            // One pixel per step along the longer axis.
            const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
            EXPECT_EQ(forward.size(), std::size_t(steps));
            // The same pixels whichever way the line is drawn, but for its ends.
            if (!zero) {
                forward.insert({b.x, b.y});
                backward.insert({a.x, a.y});
            }
            EXPECT_EQ(forward, backward) << a.x << "," << a.y << " -> " << b.x << "," << b.y;
        }
    }
}

TEST(Line, ThinLinesStayWithinHalfAPixelOfTheTrueLine) {
    RandomPoints points;
    for (int i = 0; i < 300; ++i) {
        const Point a = points.next(), b = points.next();
        const double dx = b.x - a.x, dy = b.y - a.y;
        const bool x_major = std::abs(dx) >= std::abs(dy);
        for (const auto& [x, y] : painted(draw_line(pen(kRed, 1), a, b))) {
            const double off =
                x_major ? y - (a.y + dy * (x - a.x) / dx) : x - (a.x + dx * (y - a.y) / dy);
            EXPECT_LE(std::abs(off), 0.5 + 1e-9) << x << "," << y;
        }
    }
}

TEST(Line, WideLinesAreTheSameEitherWay) {
    RandomPoints points;
    for (int i = 0; i < 100; ++i) {
        const Point a = points.next(), b = points.next();
        for (int width : {2, 3, 4, 7, 10}) {
            EXPECT_EQ(draw_line(pen(kRed, width), a, b).pixels,
                      draw_line(pen(kRed, width), b, a).pixels)
                << width << ": " << a.x << "," << a.y << " -> " << b.x << "," << b.y;
        }
    }
}

TEST(Line, WidePensAreCentredWithTheExtraPixelAboveOrLeft) {
    for (int width : {2, 3, 4, 5, 7, 8}) {
        const Bitmap across = draw_line(pen(kRed, width), {20, 50}, {80, 50});
        const Bitmap down = draw_line(pen(kRed, width), {50, 20}, {50, 80});
        for (int d = -10; d <= 10; ++d) {
            const bool inside = d >= -(width / 2) && d <= (width - 1) / 2;
            EXPECT_EQ(across.at(50, 50 + d) == kRed, inside) << width << " " << d;
            EXPECT_EQ(down.at(50 + d, 50) == kRed, inside) << width << " " << d;
        }
        // Round ends reach half the width beyond the end points.
        EXPECT_EQ(across.at(20 - width / 2, 50), kRed);
        EXPECT_EQ(across.at(19 - width / 2, 50), kWhite);
    }
}

TEST(Line, ZeroLengthWideLineLeavesADot) {
    const Bitmap dot = draw_line(pen(kRed, 5), {40, 40}, {40, 40});
    // Width 5: a 5 x 5 square without its corners.
    EXPECT_EQ(count(dot, kRed), 21);
    EXPECT_EQ(dot.at(38, 38), kWhite);
    EXPECT_EQ(dot.at(38, 39), kRed);
    EXPECT_TRUE(painted(draw_line(pen(kRed, 1), {40, 40}, {40, 40})).empty());
}

Bitmap draw_ellipse(const Pen& p, const Brush& b, int l, int t, int r, int bt) {
    Bitmap bm(kW, kH, kWhite);
    ellipse(whole(bm), p, b, l, t, r, bt);
    return bm;
}

TEST(Ellipse, CirclesCoverTheirBoxesAndThinOnesAreSymmetric) {
    for (int r = 1; r <= 30; ++r) {
        const int cx = 50, cy = 45;
        for (int width : {0, 1, 2, 3, 4}) {
            const Brush brush = width == 0 ? solid(kRed) : hollow();
            const PixelSet s = painted(
                draw_ellipse(pen(kRed, width), brush, cx - r, cy - r, cx + r + 1, cy + r + 1));
            const int grow = width / 2;
            int x0 = kW, x1 = -1, y0 = kH, y1 = -1;
            for (const auto& [x, y] : s) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
                // Thin outlines and filled circles are symmetric about the centre (wide
                // pens are not quite: their bands lean like GDI's).
                if (width <= 1) {
                    EXPECT_TRUE(s.count({2 * cx - x, y}) && s.count({x, 2 * cy - y}))
                        << "r " << r << " width " << width << " at " << x << "," << y;
                }
            }
            EXPECT_EQ(x0, cx - r - grow) << "r " << r << " width " << width;
            EXPECT_EQ(y0, cy - r - grow) << "r " << r << " width " << width;
            EXPECT_EQ(x1, cx + r + (width > 1 ? (width - 1) / 2 : 0));
            EXPECT_EQ(y1, cy + r + (width > 1 ? (width - 1) / 2 : 0));
        }
    }
}

TEST(Ellipse, FilledIsTheOutlineWithEverythingBetween) {
    std::mt19937 rng(7);
    for (int i = 0; i < 200; ++i) {
        const int l = std::uniform_int_distribution<int>(0, 50)(rng);
        const int t = std::uniform_int_distribution<int>(0, 40)(rng);
        const int r = l + std::uniform_int_distribution<int>(1, 60)(rng);
        const int b = t + std::uniform_int_distribution<int>(1, 50)(rng);
        const Bitmap outline = draw_ellipse(pen(kBlue, 1), hollow(), l, t, r, b);
        const Bitmap filled = draw_ellipse(pen(kBlue, 1), solid(kRed), l, t, r, b);
        // Each row: outline pixels in the pen colour, the brush between its ends.
        std::map<int, std::pair<int, int>> rows;
        for (const auto& [x, y] : painted(outline)) {
            auto [it, fresh] = rows.try_emplace(y, x, x);
            it->second.first = std::min(it->second.first, x);
            it->second.second = std::max(it->second.second, x);
        }
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const auto row = rows.find(y);
                const bool between =
                    row != rows.end() && x >= row->second.first && x <= row->second.second;
                const Pixel want = outline.at(x, y) == kBlue ? kBlue : between ? kRed : kWhite;
                ASSERT_EQ(filled.at(x, y), want)
                    << l << "," << t << "," << r << "," << b << " at " << x << "," << y;
            }
    }
}

TEST(Ellipse, OnePixelBoxPaintsNothingWithAThinPen) {
    EXPECT_TRUE(painted(draw_ellipse(pen(kRed, 0), solid(kRed), 10, 10, 11, 11)).empty());
    EXPECT_TRUE(painted(draw_ellipse(pen(kRed, 1), hollow(), 10, 10, 11, 11)).empty());
    EXPECT_EQ(painted(draw_ellipse(pen(kRed, 1), hollow(), 10, 10, 11, 13)).size(), 3u);
}

TEST(Ellipse, CornersInAnyOrderDrawTheSame) {
    for (int width : {0, 1, 2, 5}) {
        const Brush brush = width == 0 ? solid(kRed) : hollow();
        const Bitmap ordered = draw_ellipse(pen(kBlue, width), brush, 20, 30, 61, 52);
        EXPECT_EQ(draw_ellipse(pen(kBlue, width), brush, 61, 52, 20, 30).pixels, ordered.pixels);
        EXPECT_EQ(draw_ellipse(pen(kBlue, width), brush, 61, 30, 20, 52).pixels, ordered.pixels);
    }
}

Bitmap draw_polygon(const Pen& p, const Brush& b, std::initializer_list<Point> pts) {
    Bitmap bm(kW, kH, kWhite);
    polygon(whole(bm), p, b, pts.begin(), int(pts.size()));
    return bm;
}

TEST(Polygon, BrushCoversTheInsideWithoutRightAndBottomEdges) {
    const Bitmap bm =
        draw_polygon(Pen{0, 1, true}, solid(kRed), {{10, 10}, {30, 10}, {30, 20}, {10, 20}});
    EXPECT_EQ(count(bm, kRed), 20 * 10);
    EXPECT_EQ(bm.at(29, 19), kRed);
    EXPECT_EQ(bm.at(30, 19), kWhite);
    EXPECT_EQ(bm.at(29, 20), kWhite);
}

TEST(Polygon, AlternateFillLeavesTheStarsCentreEmpty) {
    const Bitmap star = draw_polygon(Pen{0, 1, true}, solid(kRed),
                                     {{50, 5}, {75, 85}, {10, 35}, {90, 35}, {25, 85}});
    EXPECT_EQ(star.at(50, 50), kWhite);
    EXPECT_EQ(star.at(50, 20), kRed);  // a point of the star
    EXPECT_EQ(star.at(20, 37), kRed);
}

TEST(Polygon, TrianglesPaintAllCornersAndDegenerateOnesALine) {
    const Bitmap tri = draw_polygon(pen(kRed, 0), solid(kRed), {{18, 40}, {38, 70}, {8, 65}});
    EXPECT_EQ(tri.at(18, 40), kRed);
    EXPECT_EQ(tri.at(38, 70), kRed);
    EXPECT_EQ(tri.at(8, 65), kRed);
    const Bitmap flat = draw_polygon(pen(kRed, 1), hollow(), {{20, 45}, {40, 45}, {30, 45}});
    EXPECT_EQ(painted(flat).size(), 21u);  // x 20..40, both ends
    EXPECT_TRUE(painted(draw_polygon(pen(kRed, 1), hollow(), {{5, 5}, {5, 5}, {5, 5}})).empty());
}

TEST(Polygon, HollowOutlineIsTheClosedPathOfLines) {
    const Point a{15, 12}, b{90, 40}, c{33, 80};
    Bitmap lines(kW, kH, kWhite);
    line(whole(lines), pen(kRed, 1), a.x, a.y, b.x, b.y);
    line(whole(lines), pen(kRed, 1), b.x, b.y, c.x, c.y);
    line(whole(lines), pen(kRed, 1), c.x, c.y, a.x, a.y);
    EXPECT_EQ(draw_polygon(pen(kRed, 1), hollow(), {a, b, c}).pixels, lines.pixels);
}

}  // namespace
}  // namespace sktch::raster
