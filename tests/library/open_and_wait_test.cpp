// Opening and closing the library, and the event wait's state machine.
#include "library_fixture.h"

namespace sktch::testing {
namespace {

TEST(Open, MakesTheTwoWindowsWhereTheyBelong) {
    headless::reset();
    reset_state();
    headless::set_screen_size(1024, 768);
    EXPECT_EQ(SKTCH_open(test_instance(), nullptr, nullptr, SW_SHOWNORMAL), 1);

    HWND graphics = test_support::graphics_window();
    HWND text = test_support::text_window();
    ASSERT_NE(graphics, nullptr);
    ASSERT_NE(text, nullptr);
    RECT r;
    GetWindowRect(graphics, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 601);
    EXPECT_EQ(r.bottom, 540);
    GetClientRect(graphics, &r);
    EXPECT_EQ(r.right, 595);
    EXPECT_EQ(r.bottom, 487);
    // The library's own record of where it drew: what the driver sees of it is checked by
    // the drawing tests.
    EXPECT_EQ(state.origin_x, 297);
    EXPECT_EQ(state.origin_y, 243);

    GetWindowRect(text, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 513) << "a 768-pixel screen puts the text window at y 513";
    EXPECT_EQ(r.right - r.left, 1024);
    EXPECT_EQ(r.bottom - r.top, 256);

    EXPECT_TRUE(headless::window_visible(graphics));
    EXPECT_TRUE(headless::window_visible(text));
    EXPECT_NE(state.surface_dc, nullptr);
    EXPECT_NE(state.window_dc, nullptr);
    SKTCH_close();
}

TEST(Open, ASecondInstanceRegistersNothing) {
    headless::reset();
    reset_state();
    HINSTANCE previous = test_instance();
    SKTCH_open(test_instance(), previous, nullptr, SW_SHOWNORMAL);
    EXPECT_EQ(test_support::graphics_window(), nullptr) << "no classes were registered";
    EXPECT_EQ(test_support::text_window(), nullptr);
    SKTCH_close();

    // With the classes registered by a first instance, a second one uses them.
    reset_state();
    SKTCH_open(test_instance(), nullptr, nullptr, SW_SHOWNORMAL);
    reset_state();
    SKTCH_open(test_instance(), previous, nullptr, SW_SHOWNORMAL);
    EXPECT_NE(state.graphics_window, nullptr);
    SKTCH_close();
}

TEST(Open, ClosingTwiceIsHarmless) {
    headless::reset();
    reset_state();
    SKTCH_open(test_instance(), nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_EQ(SKTCH_close(), 1);
    EXPECT_EQ(SKTCH_close(), 1);
    EXPECT_EQ(state.script_file, nullptr);
}

using Wait = OpenLibrary;

TEST_F(Wait, HaltedItNeverReturnsHoweverFarTheClockMoves) {
    SKTCH_animate(SKTCH_ANIMATE_HALT);
    headless::on_idle([] {
        if (headless::now_ms() >= 3600 * 1000) PostQuitMessage(0);
    });
    Event e = await();
    EXPECT_EQ(e, (Event{SKTCH_QUIT, 0, 0, 0})) << "only the quit ends it";
    EXPECT_GE(headless::now_ms(), 3600 * 1000);
    EXPECT_GE(headless::idle_count(), 36000u) << "it slept between ticks";
}

TEST_F(Wait, AStepGivesExactlyOnePeriodicEventAtTheNextTick) {
    SKTCH_animate(SKTCH_ANIMATE_STEP);
    Event e = await();
    EXPECT_EQ(e, (Event{SKTCH_PERIODIC, 0, 0, 0}));
    EXPECT_EQ(headless::now_ms(), 100);
    headless::on_idle([] {
        if (headless::now_ms() >= 5000) PostQuitMessage(0);
    });
    EXPECT_EQ(await().kind, SKTCH_QUIT) << "no second periodic event";
}

TEST_F(Wait, RunningGivesOnePeriodicEventPerTick) {
    SKTCH_animate(SKTCH_ANIMATE_RUN);
    for (int tick = 1; tick <= 5; ++tick) {
        EXPECT_EQ(await().kind, SKTCH_PERIODIC);
        EXPECT_EQ(headless::now_ms(), 100 * tick);
    }
}

TEST_F(Wait, AClickWhileAPeriodicEventIsPendingWins) {
    SKTCH_animate(SKTCH_ANIMATE_RUN);
    headless::on_idle([] {
        if (headless::idle_count() == 1) headless::click(test_support::graphics_window(), 300, 240);
    });
    Event e = await();
    EXPECT_EQ(e, (Event{SKTCH_MOUSE, 3, 3, 0}));
    EXPECT_EQ(headless::now_ms(), 0);
}

TEST_F(Wait, QuitRequestedStillWaitsForAnEventThenReportsQuit) {
    SKTCH_animate(SKTCH_ANIMATE_QUIT);
    headless::on_idle([] {
        if (headless::now_ms() >= 1000) headless::type_char(test_support::graphics_window(), 'x');
    });
    Event e = await();
    EXPECT_EQ(e.kind, SKTCH_QUIT);
    EXPECT_EQ(e.key, 'x') << "the record is still the event's";
    EXPECT_GE(headless::now_ms(), 1000);
}

TEST_F(Wait, AcceptsNullPointers) {
    headless::type_char(graphics(), 'k');
    EXPECT_EQ(SKTCH_await_event(nullptr, nullptr, nullptr), SKTCH_KBD);
}

TEST_F(Wait, PresentsTheSurfaceOnlyWhenSomethingWasDrawn) {
    SKTCH_logging(0);
    SKTCH_rectangle(RED, -10, 10, 10, -10, 0);
    headless::type_char(graphics(), 'a');
    await();
    EXPECT_EQ(window_at(297, 243), kRed);
    EXPECT_EQ(state.surface_dirty, 0u);
    // Drawn on the window directly: with nothing new on the surface it stays.
    SetPixel(state.window_dc, 297, 243, RGB(0, 0, 255));
    headless::type_char(graphics(), 'b');
    await();
    EXPECT_EQ(window_at(297, 243), kBlue);
}

TEST_F(Wait, ClosingTheGraphicsWindowEndsTheLoopWithQuit) {
    headless::close_window(graphics());
    EXPECT_EQ(await().kind, SKTCH_QUIT);
    EXPECT_FALSE(IsWindow(graphics()));
}

}  // namespace
}  // namespace sktch::testing
