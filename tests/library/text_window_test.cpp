// The text window: the ring of the last 25 lines, how a line is shown, the repaint, and
// keys passed on to the graphics window. The ring is the library's own record, read through
// its state on purpose; what the window shows is read through the driver.
#include <string>
#include <vector>

#include "library_fixture.h"

namespace sktch::testing {
namespace {

class TextWindow : public OpenLibrary {
  protected:
    // The text window's line height, as show_log_line computes it.
    int line_height() {
        HDC dc = GetDC(text());
        SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
        TEXTMETRICA tm{};
        GetTextMetricsA(dc, &tm);
        ReleaseDC(text(), dc);
        return tm.tmHeight + tm.tmExternalLeading;
    }
    // Whether any pixel of the text window's row band [top, top + height) is not white.
    bool band_has_ink(int top, int height) {
        const headless::Pixels pixels = headless::window_pixels(text());
        for (int y = std::max(0, top); y < std::min(pixels.height, top + height); ++y)
            for (int x = 0; x < pixels.width; ++x)
                if (pixels.at(x, y) != kWhite) return true;
        return false;
    }
    int bottom() {
        RECT r;
        GetClientRect(text(), &r);
        return r.bottom;
    }
};

TEST_F(TextWindow, RingFillsSlotsInOrderAndReusesTheOldest) {
    reset_state();  // an empty ring, with the windows of this test still open
    state.text_window = headless::find_window("SKTCH Text");
    EXPECT_EQ(state.log_first, -1);
    SKTCH_printf("line %d\n", 1);
    EXPECT_EQ(state.log_first, 0);
    EXPECT_EQ(state.log_next, 1);
    for (int i = 2; i <= 25; ++i) SKTCH_printf("line %d\n", i);
    EXPECT_EQ(state.log_first, 0);
    EXPECT_EQ(state.log_next, 0) << "full";
    HGLOBAL oldest = state.log_lines[0];
    SKTCH_printf("line %d\n", 26);
    EXPECT_EQ(state.log_first, 1);
    EXPECT_EQ(state.log_next, 1);
    EXPECT_EQ(GlobalLock(oldest), nullptr) << "the 26th line freed slot 0's old block";
    std::vector<std::string> lines = ring_lines();
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(lines.front(), "line 2\n");
    EXPECT_EQ(lines.back(), "line 26\n");
}

TEST_F(TextWindow, ReturnsTheCountAndKeepsTheNewline) {
    EXPECT_EQ(SKTCH_printf("abc\n"), 4);
    EXPECT_EQ(ring_lines().back(), "abc\n");
    EXPECT_EQ(GlobalSize(state.log_lines[(state.log_next + 24) % 25]), 5u);
    EXPECT_EQ(SKTCH_printf("%s", ""), 0);
    EXPECT_EQ(ring_lines().back(), "");
    EXPECT_EQ(GlobalSize(state.log_lines[(state.log_next + 24) % 25]), 1u) << "one byte";
}

TEST_F(TextWindow, LongOutputIsCutAt1023Characters) {
    std::string long_text(1500, 'x');
    EXPECT_EQ(SKTCH_printf("%s", long_text.c_str()), 1023) << "the characters kept";
    EXPECT_EQ(ring_lines().back(), std::string(1023, 'x'));
    EXPECT_EQ(SKTCH_printf(nullptr), 0);
}

TEST_F(TextWindow, ANewLineScrollsUpAndDrawsAtTheBottom) {
    int h = line_height();
    ASSERT_GT(h, 5);
    SKTCH_printf("%s\n", "MMMM");
    EXPECT_TRUE(band_has_ink(bottom() - h, h));
    SKTCH_printf("%s", "");  // scrolls, draws nothing
    EXPECT_FALSE(band_has_ink(bottom() - h, h));
    EXPECT_TRUE(band_has_ink(bottom() - 2 * h, h)) << "the earlier line moved up one line";
    // Text starts 5 pixels from the left edge.
    const headless::Pixels pixels = headless::window_pixels(text());
    for (int y = bottom() - 2 * h; y < bottom() - h; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(pixels.at(x, y), kWhite);
}

TEST_F(TextWindow, LinesScrolledOutLeaveNoPixelBehindEvenAtTheRightEdge) {
    // Underscores ink the whole width of their cells, the window's last column too.
    SKTCH_printf("%s\n", std::string(1000, '_').c_str());
    SKTCH_printf("%s\n", std::string(1000, 'W').c_str());
    for (int i = 0; i <= bottom() / line_height(); ++i) SKTCH_printf("\n");
    EXPECT_FALSE(band_has_ink(0, bottom()));
}

TEST_F(TextWindow, OnlyOneTrailingNewlineIsDropped) {
    char line[] = "ab\n\n";
    show_log_line(line);
    EXPECT_STREQ(line, "ab\n");
    char empty[] = "";
    show_log_line(empty);
    EXPECT_STREQ(empty, "");
}

TEST_F(TextWindow, RepaintShowsTheLast25LinesNewestAtTheBottom) {
    for (int i = 1; i <= 26; ++i) SKTCH_printf("%s\n", i == 26 ? "WWWWWWWWWW" : "i");
    int h = line_height();
    // Spoil the window, then let it repaint from the ring.
    HDC dc = GetDC(text());
    HBRUSH black = CreateSolidBrush(RGB(0, 0, 0));
    HGDIOBJ old = SelectObject(dc, black);
    Rectangle(dc, 0, 0, 2000, 2000);
    SelectObject(dc, old);
    DeleteObject(black);
    ReleaseDC(text(), dc);
    InvalidateRect(text(), nullptr, TRUE);
    handle_pending_messages();
    EXPECT_TRUE(band_has_ink(bottom() - h, h));
    const headless::Pixels pixels = headless::window_pixels(text());
    EXPECT_EQ(pixels.at(pixels.width - 1, bottom() - 1), kWhite) << "repainted over the black";
    // The ring's lines have lost their trailing newline in place: repainting strips it.
    EXPECT_EQ(ring_lines().back(), "WWWWWWWWWW");
}

TEST_F(TextWindow, RepaintingAnEmptyRingDrawsNothing) {
    reset_state();
    state.text_window = headless::find_window("SKTCH Text");
    state.graphics_window = headless::find_window("SKTCH Graphics");
    InvalidateRect(text(), nullptr, TRUE);
    EXPECT_EQ(SendMessageA(text(), WM_PAINT, 0, 0), 0);
    EXPECT_FALSE(band_has_ink(0, bottom()));
}

TEST_F(TextWindow, KeysGoOnToTheGraphicsWindowButCharactersDoNot) {
    headless::type_char(text(), 'a');
    headless::press_ctrl_key(text(), 'A');
    EXPECT_EQ(await().kind, SKTCH_PERIODIC) << "Ctrl+A from the text window animates";
    headless::press_ctrl_key(text(), 'Q');
    EXPECT_EQ(await().kind, SKTCH_QUIT) << "Ctrl+Q from the text window quits";
}

TEST_F(TextWindow, PrintingAfterTheTextWindowClosedIsHarmless) {
    headless::close_window(text());
    headless::type_char(graphics(), '.');
    await();
    ASSERT_FALSE(IsWindow(text()));
    EXPECT_EQ(SKTCH_printf("still %s\n", "here"), 11);
    EXPECT_EQ(ring_lines().back(), "still here\n");
}

}  // namespace
}  // namespace sktch::testing
