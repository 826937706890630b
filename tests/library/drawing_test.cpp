// The drawing calls: their corrections and log lines, word for word, and what the renderer
// paints for them on the surface. The surface is the library's own off-screen bitmap, read
// through its state record: what a drawing call paints there is checked before any wait
// copies it to the window; the renderer's handling of a malformed command is checked by
// handing it one directly.
#include <climits>
#include <string>

#include "library_fixture.h"

namespace sktch::testing {
namespace {

using Lines = std::vector<std::string>;
using Drawing = OpenLibrary;

TEST_F(Drawing, IllegalColourIsCorrectedToRedAndPaintsRed) {
    EXPECT_EQ(SKTCH_pixel(24, 0, 0), 1);
    EXPECT_EQ(shown(), (Lines{"Illegal color 24; using RED.", "red pixel at (0,0)"}));
    EXPECT_EQ(surface_at(0, 0), kRed);
    forget_printed();
    SKTCH_pixel(-1, 5, 5);
    EXPECT_EQ(shown().front(), "Illegal color -1; using RED.");
}

TEST_F(Drawing, RectangleLogsItsOrderedCorners) {
    SKTCH_rectangle(BLUE, 10, -10, -10, 10, 0);
    EXPECT_EQ(shown(), (Lines{"blue rectangle with bounding box (-10,10) to (10,-10), filled"}));
    forget_printed();
    SKTCH_rectangle(GREEN, 1, 2, 3, 4, 2);
    EXPECT_EQ(shown(),
              (Lines{"green rectangle with bounding box (1,4) to (3,2) with line width 2"}));
}

TEST_F(Drawing, RectangleAndOvalCheckColourAndWidthInOppositeOrders) {
    SKTCH_oval(99, 0, 0, 5, 5, -2);
    EXPECT_EQ(shown(),
              (Lines{"Width of -2 not possible, using width 2", "Illegal color 99; using RED.",
                     "red oval with bounding box (0,5) to (5,0), line width 2"}));
    forget_printed();
    SKTCH_rectangle(99, 0, 0, 5, 5, -2);
    EXPECT_EQ(shown(),
              (Lines{"Illegal color 99; using RED.", "Width of -2 not possible, using width 2",
                     "red rectangle with bounding box (0,5) to (5,0) with line width 2"}));
}

TEST_F(Drawing, EveryCallLogsItselfWordForWord) {
    SKTCH_circle(NAVY_BLUE, 1, 2, 3);
    SKTCH_circle(GOLD, 0, 0, -4);
    SKTCH_triangle(GRAY_50, 1, 2, 3, 4, 5, 6, 0);
    SKTCH_oval(GRAY_20, 0, 0, 4, 4, 0);
    SKTCH_line(BLACK, 0, 0, 10, 0, 0);
    SKTCH_text(FOREST_GREEN, -5, 6, 12, "Hi");
    SKTCH_undo();
    EXPECT_EQ(shown(), (Lines{
                           "navy blue circle at (1,2), radius 3",
                           "Radius of -4 not possible, using radius 4",
                           "gold circle at (0,0), radius 4",
                           "50% gray triangle at (1,2), (3,4), (5,6)",
                           "20% gray oval with bounding box (0,4) to (4,0), filled",
                           "black line from (0,0) to (10,0), width 0",
                           "forest green text at (-5,6), \"Hi\"",
                           "SKTCH_undo is no longer supported.",
                       }));
}

TEST_F(Drawing, CorrectionsPrintEvenWithLoggingOff) {
    SKTCH_logging(0);
    forget_printed();
    SKTCH_triangle(30, 0, 0, 1, 1, 2, 0, -1);
    SKTCH_line(1, 0, 0, 1, 1, 3);
    EXPECT_EQ(shown(),
              (Lines{"Illegal color 30; using RED.", "Width of -1 not possible, using width 1"}));
}

TEST_F(Drawing, TextSizeIsCorrectedTwiceWhenNegativeAndHuge) {
    SKTCH_logging(0);
    forget_printed();
    SKTCH_text(BLACK, 0, 0, -200, "x");
    EXPECT_EQ(shown(), (Lines{"ptsize of -200 not possible, using ptsize 200",
                              "ptsize of 200 not possible, using ptsize 127"}));
    forget_printed();
    SKTCH_text(BLACK, 0, 0, 0, "size zero is fine");
    SKTCH_text(BLACK, 0, 0, 127, "x");
    EXPECT_TRUE(shown().empty());
}

TEST_F(Drawing, FormattedCallsReturnTheCharacterCount) {
    SKTCH_logging(0);
    EXPECT_EQ(SKTCH_textf(RED, 0, 0, 12, "%d-%s", 42, "ab"), 5);
    EXPECT_EQ(SKTCH_draw_textf(RED, 0, 0, 12, "%s", "abcdef"), 6);
    std::string long_text(1500, 'y');
    EXPECT_EQ(SKTCH_textf(RED, 0, 0, 12, "%s", long_text.c_str()), 1023);
    EXPECT_EQ(SKTCH_textf(RED, 0, 0, 12, nullptr), 0);
    EXPECT_EQ(SKTCH_text(RED, 0, 0, 12, nullptr), 1);
}

TEST_F(Drawing, ClearPaintsWhiteWithTheDefaultPenAndLogs) {
    SKTCH_logging(0);
    SKTCH_rectangle(RED, -300, 300, 300, -300, 0);
    forget_printed();
    EXPECT_EQ(SKTCH_clear(), 1);
    EXPECT_TRUE(shown().empty()) << "no line with logging off";
    EXPECT_EQ(surface_at(0, 0), kWhite);
    EXPECT_EQ(GetPixel(state.surface_dc, 0, 0), RGB(0, 0, 0)) << "the default pen's frame";
    EXPECT_EQ(GetPixel(state.surface_dc, 600, 539), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(state.surface_dc, 1, 1), RGB(255, 255, 255));
    SKTCH_logging(1);
    forget_printed();
    SKTCH_clear();
    EXPECT_EQ(shown(), (Lines{"Clearing the graphics window"}));
}

TEST_F(Drawing, APointToItselfRectanglePaintsExactlyThatPixel) {
    SKTCH_logging(0);
    SKTCH_rectangle(BLUE, 0, 0, 0, 0, 0);
    EXPECT_EQ(surface_at(0, 0), kBlue);
    for (auto [x, y] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}})
        EXPECT_EQ(surface_at(x, y), kWhite) << x << "," << y;
}

TEST_F(Drawing, FilledAndOutlinedShapesShareTheirOutline) {
    SKTCH_logging(0);
    // Left half filled, right half outlined, same box shape side by side.
    SKTCH_rectangle(RED, -50, 20, -21, -20, 0);
    SKTCH_rectangle(RED, 20, 20, 49, -20, 1);
    SKTCH_oval(RED, -50, 80, -21, 40, 0);
    SKTCH_oval(RED, 20, 80, 49, 40, 1);
    for (int y = -25; y <= 85; ++y)
        for (int dx = 0; dx < 35; ++dx) {
            std::uint32_t filled = surface_at(-52 + dx, y);
            std::uint32_t outlined = surface_at(18 + dx, y);
            if (outlined == kRed) {
                EXPECT_EQ(filled, kRed) << dx << "," << y;
            }
            if (filled == kWhite) {
                EXPECT_EQ(outlined, kWhite) << dx << "," << y;
            }
        }
    EXPECT_EQ(surface_at(-35, 0), kRed);
    EXPECT_EQ(surface_at(35, 0), kWhite) << "hollow inside";
    EXPECT_EQ(surface_at(20, 0), kRed);
    EXPECT_EQ(surface_at(49, 0), kRed) << "both corners belong to the shape";
    EXPECT_EQ(surface_at(50, 0), kWhite);
}

TEST_F(Drawing, LineOfWidthZeroDrawsOnePixelWideWithBothEnds) {
    SKTCH_logging(0);
    SKTCH_line(BLACK, 0, 0, 10, 0, 0);
    EXPECT_EQ(surface_at(0, 0), kBlack);
    EXPECT_EQ(surface_at(9, 0), kBlack);
    EXPECT_EQ(surface_at(5, 1), kWhite);
    EXPECT_EQ(surface_at(5, -1), kWhite);
}

TEST_F(Drawing, CircleIsFilledAroundItsCentre) {
    SKTCH_logging(0);
    SKTCH_circle(BLUE, 0, 0, 2);
    EXPECT_EQ(surface_at(0, 0), kBlue);
    EXPECT_EQ(surface_at(2, 0), kBlue);
    EXPECT_EQ(surface_at(-2, 0), kBlue);
    EXPECT_EQ(surface_at(0, 2), kBlue);
    EXPECT_EQ(surface_at(3, 0), kWhite);
}

// The rows of the surface holding a pixel of the given colour, in a band of columns.
std::pair<int, int> ink_rows(int left, int right, std::uint32_t color) {
    int top = INT_MAX, bottom = INT_MIN;
    for (int y = 1; y < kSurfaceHeight - 1; ++y)  // inside the clear's frame
        for (int x = left; x < right; ++x) {
            COLORREF c = GetPixel(state.surface_dc, x, y);
            if (std::uint32_t(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)) == color) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    return {top, bottom};
}

TEST_F(Drawing, TextHangsAboveItsAnchorAndFurtherLinesGoBelow) {
    SKTCH_logging(0);
    SKTCH_text(BLACK, -200, 0, 40, "HH");
    auto [top1, bottom1] = ink_rows(97, 200, 0x000000);
    ASSERT_LE(top1, bottom1) << "something was drawn";
    EXPECT_LT(bottom1, state.origin_y) << "one line lies wholly above the anchor";
    EXPECT_GT(top1, state.origin_y - 40 - 20);

    SKTCH_text(BLUE, 0, 0, 40, "HH\nHH");
    auto [top2, bottom2] = ink_rows(297, 400, 0x0000FF);
    ASSERT_LE(top2, bottom2);
    EXPECT_EQ(top2, top1) << "the first line sits where a single line does";
    EXPECT_GT(bottom2, state.origin_y) << "the second line lies below the anchor";

    SKTCH_text(RED, 0, 150, 40, "HH\n");
    auto [top3, bottom3] = ink_rows(297, 400, 0xFF0000);
    EXPECT_EQ(bottom3 - top3, bottom1 - top1) << "a trailing newline adds no line";
}

TEST_F(Drawing, EmptyTextDrawsNothingButMarksTheSurfaceDirty) {
    SKTCH_logging(0);
    headless::type_char(graphics(), '.');
    await();
    ASSERT_EQ(state.surface_dirty, 0u);
    SKTCH_text(BLACK, 0, 0, 20, "");
    EXPECT_EQ(state.surface_dirty, 1u);
    int ink = 0;
    for (int y = 1; y < kSurfaceHeight - 1; ++y)
        for (int x = 1; x < kSurfaceWidth - 1; ++x)
            ink += GetPixel(state.surface_dc, x, y) != RGB(255, 255, 255);
    EXPECT_EQ(ink, 0) << "nothing inside the clear's frame";
}

TEST_F(Drawing, UnknownCommandKindDrawsNothingButMarksTheSurfaceDirty) {
    state.surface_dirty = 0;
    DrawCommand c{9, RED, 0, -300, 300, 300, -300, 0, 0};
    render_command(&c);
    EXPECT_EQ(state.surface_dirty, 1u);
    EXPECT_EQ(surface_at(0, 0), kWhite);
}

TEST_F(Drawing, ExtremeArgumentsAreClippedWithoutTrouble) {
    SKTCH_logging(0);
    SKTCH_rectangle(RED, INT_MIN, INT_MAX, INT_MAX, INT_MIN, 0);
    EXPECT_EQ(surface_at(0, 0), kRed);
    SKTCH_line(BLUE, INT_MIN, 0, INT_MAX, 0, 1000000);
    EXPECT_EQ(surface_at(0, 100), kBlue);
    SKTCH_circle(GREEN, 0, 0, INT_MIN);
    SKTCH_oval(GREEN, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MIN);
    SKTCH_triangle(BLACK, INT_MIN, INT_MIN, INT_MAX, INT_MIN, 0, INT_MAX, 7);
    SKTCH_text(BLACK, INT_MAX, INT_MIN, INT_MIN, "far away");
    SKTCH_pixel(WHITE, INT_MAX, INT_MAX);
    EXPECT_EQ(shown().size(), 4u) << "a radius, a width and two size corrections";
}

TEST(DrawingBeforeOpen, CorrectsAndLogsButDrawsNothing) {
    headless::reset();
    reset_state();
    EXPECT_EQ(SKTCH_rectangle(40, 0, 0, 1, 1, -1), 1);
    EXPECT_EQ(SKTCH_text(BLACK, 0, 0, 12, "hello"), 1);
    EXPECT_EQ(SKTCH_clear(), 1);
    std::vector<std::string> lines = ring_lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Illegal color 40; using RED.\n");
    EXPECT_EQ(lines[4], "Clearing the graphics window\n");
}

}  // namespace
}  // namespace sktch::testing
