// Drawing arguments at their limits: every correction word for word at the int32 ends,
// null strings for every call that takes one, formats and texts longer than a line holds,
// and shapes far larger than the surface.
#include <climits>
#include <string>

#include "../library/library_fixture.h"

namespace sktch::testing {
namespace {

using Lines = std::vector<std::string>;
using Arguments = OpenLibrary;

TEST_F(Arguments, CorrectionsAtTheInt32EndsAreWordForWord) {
    SKTCH_logging(0);
    forget_printed();
    SKTCH_pixel(INT_MIN, 0, 0);
    SKTCH_pixel(INT_MAX, 0, 0);
    SKTCH_line(BLACK, 0, 0, 1, 1, INT_MIN);
    SKTCH_circle(BLACK, 0, 0, INT_MIN);
    SKTCH_text(BLACK, 0, 0, INT_MIN, "x");
    SKTCH_text(BLACK, 0, 0, INT_MAX, "x");
    EXPECT_EQ(shown(), (Lines{
                           "Illegal color -2147483648; using RED.",
                           "Illegal color 2147483647; using RED.",
                           "Width of -2147483648 not possible, using width 2147483647",
                           "Radius of -2147483648 not possible, using radius 2147483647",
                           "ptsize of -2147483648 not possible, using ptsize 2147483647",
                           "ptsize of 2147483647 not possible, using ptsize 127",
                           "ptsize of 2147483647 not possible, using ptsize 127",
                       }));
}

TEST_F(Arguments, CirclesAtTheInt32EndsKeepTheirBoxesWithinTheRange) {
    SKTCH_circle(BLUE, INT_MAX, INT_MIN, INT_MAX);
    EXPECT_EQ(shown(), (Lines{"blue circle at (2147483647,-2147483648), radius 2147483647"}));
    EXPECT_EQ(surface_at(0, 0), kWhite) << "the surface lies at its box's corner, outside it";
    SKTCH_circle(BLUE, 0, 0, INT_MAX);
    EXPECT_EQ(surface_at(0, 0), kBlue) << "a disc as large as the range allows";
    EXPECT_EQ(surface_at(290, -240), kBlue);
    SKTCH_clear();
    SKTCH_circle(RED, INT_MAX, INT_MAX, 1000);
    EXPECT_EQ(surface_at(290, 240), kWhite) << "far away: nothing on the surface";
}

TEST_F(Arguments, NullStringsAreEmptyStrings) {
    SKTCH_logging(0);
    forget_printed();
    EXPECT_EQ(SKTCH_text(BLACK, 0, 0, 12, nullptr), 1);
    EXPECT_EQ(SKTCH_textf(BLACK, 0, 0, 12, nullptr), 0);
    EXPECT_EQ(SKTCH_draw_textf(BLACK, 0, 0, 12, nullptr), 0);
    EXPECT_EQ(SKTCH_printf(nullptr), 0);
    EXPECT_TRUE(shown().empty()) << "nothing to print, nothing corrected";
    SKTCH_logging(1);
    SKTCH_draw_textf(GREEN, 1, 2, 12, nullptr);
    EXPECT_EQ(shown(), (Lines{"green text at (1,2), \"\""}));
}

TEST_F(Arguments, LongFormatsAreCutAt1023CharactersEverywhere) {
    const std::string format(1500, 'f');
    EXPECT_EQ(SKTCH_printf(format.c_str()), 1023);
    EXPECT_EQ(shown().back(), std::string(1023, 'f'));
    forget_printed();
    EXPECT_EQ(SKTCH_draw_textf(BLACK, 0, 0, 12, format.c_str()), 1023);
    // The log line quotes the text: cut at 1023 characters itself, its newline lost.
    EXPECT_EQ(shown(), (Lines{("black text at (0,0), \"" + format).substr(0, 1023)}));
}

TEST_F(Arguments, ALongTextIsDrawnWholeAndOnlyItsLogLineIsCut) {
    SKTCH_logging(0);
    // 1,500 characters with a first line far to the left and a second one at the origin.
    std::string text(1498, 'W');
    text += "\nW";
    SKTCH_text(BLACK, -300, 20, 30, text.c_str());
    int ink = 0;
    for (int y = -40; y <= 0; ++y)
        for (int x = -300; x <= -270; ++x) ink += surface_at(x, y) == kBlack;
    EXPECT_GT(ink, 20) << "the line after the 1,023rd character is drawn too";
}

TEST_F(Arguments, ManyLinesOfTextAreDrawnOrSkippedWithoutTrouble) {
    SKTCH_logging(0);
    std::string lines;
    for (int i = 0; i < 5000; ++i) lines += "line\n";
    EXPECT_EQ(SKTCH_text(BLACK, -300, 250, 12, lines.c_str()), 1);
    EXPECT_EQ(surface_at(200, -200), kWhite);
    EXPECT_EQ(SKTCH_text(BLACK, 0, INT_MIN, 127, lines.c_str()), 1) << "every line far below";
}

TEST_F(Arguments, HugeWidthsFillOrOutlineWithoutTrouble) {
    SKTCH_logging(0);
    SKTCH_rectangle(RED, -10, 10, 10, -10, INT_MAX);
    EXPECT_EQ(surface_at(0, 0), kRed) << "a pen wider than the box covers it";
    EXPECT_EQ(surface_at(290, 240), kRed);
    SKTCH_clear();
    SKTCH_triangle(BLUE, -10, -10, 10, -10, 0, 10, INT_MAX);
    EXPECT_EQ(surface_at(0, 0), kBlue);
    SKTCH_clear();
    SKTCH_line(BLUE, INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX);
    EXPECT_EQ(surface_at(-200, 200), kBlue);
    SKTCH_clear();
    SKTCH_oval(RED, -20, 20, 20, -20, 2000);
    EXPECT_EQ(surface_at(0, 0), kRed);
    EXPECT_EQ(surface_at(290, 240), kRed);
}

TEST_F(Arguments, ShapesBeyondTheSurfaceLeaveItUntouched) {
    SKTCH_logging(0);
    SKTCH_rectangle(RED, INT_MAX - 10, INT_MAX, INT_MAX, INT_MAX - 10, 0);
    SKTCH_oval(RED, INT_MIN, INT_MIN + 10, INT_MIN + 10, INT_MIN, 3);
    SKTCH_triangle(RED, INT_MAX, 0, INT_MAX - 5, 5, INT_MAX, 10, 0);
    SKTCH_line(RED, INT_MIN, INT_MAX, INT_MIN + 100, INT_MAX, 5);
    SKTCH_pixel(RED, INT_MIN, INT_MIN);
    SKTCH_text(RED, INT_MAX, INT_MAX, 127, "far");
    for (int y = -240; y <= 240; y += 20)
        for (int x = -290; x <= 290; x += 20) ASSERT_EQ(surface_at(x, y), kWhite) << x << "," << y;
}

}  // namespace
}  // namespace sktch::testing
