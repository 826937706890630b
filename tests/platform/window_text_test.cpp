// The driver's view of the text on a window: what TextOutA wrote there, kept in step with
// the pixels through scrolling, writing over, painting over and erasing.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "plain_window.h"
#include "sktch/headless.h"
#include "sktch/win32.h"

namespace {

using Lines = std::vector<std::string>;

TEST(WindowText, FollowsWritingScrollingAndPaintingOver) {
    sktch::headless::reset();
    HWND window = sktch::test_support::plain_window("Lines", WS_POPUP, 300, 100);
    ASSERT_NE(window, nullptr);
    HDC dc = GetDC(window);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    const int h = tm.tmHeight;

    // Lines written at the bottom and scrolled up, as a log does; a line wider than the
    // window and an empty one count too.
    for (const std::string& line : Lines{"one", "", std::string(200, 'w'), "four"}) {
        ScrollDC(dc, 0, -h, nullptr, nullptr, nullptr, nullptr);
        TextOutA(dc, 5, 100 - h, line.c_str(), int(line.size()));
    }
    EXPECT_EQ(sktch::headless::window_text(window),
              (Lines{"one", "", std::string(200, 'w'), "four"}));
    // Scrolled past the top, the first line is gone.
    ScrollDC(dc, 0, -(100 - 3 * h), nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(sktch::headless::window_text(window), (Lines{"", std::string(200, 'w'), "four"}));

    // Written over, painted over by a filled rectangle or a copy: replaced or forgotten.
    TextOutA(dc, 5, 0, "left", 4);
    TextOutA(dc, 200, 0, "right", 5);
    TextOutA(dc, 6, 0, "over", 4);
    // Scrolling an area below them and writing far off the window leave them as they are.
    RECT below{0, 3 * h, 300, 100};
    ScrollDC(dc, 0, -h, &below, &below, nullptr, nullptr);
    TextOutA(dc, INT_MAX, INT_MAX, "far", 3);
    TextOutA(dc, INT_MIN, 0, "far", 3);
    EXPECT_EQ(sktch::headless::window_text(window),
              (Lines{"over", "right", std::string(200, 'w'), "four"}));
    Rectangle(dc, 190, 0, 300, h + 1);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, 300, 100);  // a hollow one covers nothing
    EXPECT_EQ(sktch::headless::window_text(window), (Lines{"over", std::string(200, 'w'), "four"}));
    HDC memory = CreateCompatibleDC(dc);
    SelectObject(memory, CreateCompatibleBitmap(dc, 300, 100));
    TextOutA(memory, 0, 0, "hidden", 6);  // off the window: pixels only
    BitBlt(dc, 0, 0, 300, h + 1, memory, 0, 0, SRCCOPY);
    EXPECT_EQ(sktch::headless::window_text(window), (Lines{std::string(200, 'w'), "four"}));

    // A repaint erases the window, and its text with it.
    InvalidateRect(window, nullptr, TRUE);
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
    EXPECT_TRUE(sktch::headless::window_text(window).empty());
    EXPECT_TRUE(sktch::headless::window_text(nullptr).empty());
    ReleaseDC(window, dc);
    DeleteDC(memory);
}

}  // namespace
