// The graphics window's procedure: origin, clicks and keys as events, the Run menu and its
// Ctrl shortcuts, and the animation and logging calls.
#include "sktch/run_menu.h"

#include "core/core.h"
#include "library_fixture.h"

namespace sktch::testing {
namespace {

using GraphicsWindow = OpenLibrary;

TEST_F(GraphicsWindow, ClicksBecomeWorldCoordinatesAroundTheCentre) {
    headless::click(graphics(), 297, 243);
    EXPECT_EQ(await(), (Event{SKTCH_MOUSE, 0, 0, 0}));
    headless::click(graphics(), 0, 0);
    EXPECT_EQ(await(), (Event{SKTCH_MOUSE, -297, 243, 0}));
    headless::click(graphics(), 594, 486);
    EXPECT_EQ(await(), (Event{SKTCH_MOUSE, 297, -243, 0}));
}

TEST_F(GraphicsWindow, TypedCharactersBecomeKeyEventsUnlessCtrlIsHeld) {
    headless::type_char(graphics(), 'z');
    EXPECT_EQ(await(), (Event{SKTCH_KBD, 0, 0, 'z'}));

    headless::key_down(graphics(), VK_CONTROL);
    headless::type_char(graphics(), 'z');
    headless::key_up(graphics(), VK_CONTROL);
    headless::type_char(graphics(), 'y');
    EXPECT_EQ(await(), (Event{SKTCH_KBD, 0, 0, 'y'})) << "the character typed with Ctrl made none";
}

TEST_F(GraphicsWindow, CharactersAboveAsciiKeepTheirByte) {
    headless::type_char(graphics(), char(0xE9));
    EXPECT_EQ(await().key, char(0xE9));
}

// The Run popup as the menu model holds it.
std::vector<platform::MenuItem> run_items() {
    platform::Menu* bar = platform::find_menu(GetMenu(state.graphics_window));
    EXPECT_NE(bar, nullptr);
    if (!bar || bar->items.size() != 1) return {};
    EXPECT_EQ(bar->items[0].text, "&Run");
    EXPECT_TRUE(bar->items[0].flags & MF_POPUP);
    EXPECT_EQ(reinterpret_cast<HMENU>(bar->items[0].id), state.run_menu);
    return platform::find_menu(state.run_menu)->items;
}

TEST_F(GraphicsWindow, RunMenuHasItsItemsInOrder) {
    struct Expected {
        UINT id;
        const char* text;
        UINT flags;
    };
    const Expected expected[] = {
        {SKTCH_MENU_ANIMATE, "&Animate\tCtrl+A", 0},
        {SKTCH_MENU_HALT, "&Halt animation\tCtrl+H", 0},
        {SKTCH_MENU_ADVANCE, "Advance one &frame\tCtrl+F", 0},
        {0, "", MF_SEPARATOR},
        {SKTCH_MENU_LOGGING, "&Logging\tCtrl+L", MF_CHECKED},
        {0, "", MF_SEPARATOR},
        {SKTCH_MENU_RECORD, "&Record Script\tCtrl+R", 0},
        {SKTCH_MENU_PLAYBACK, "&Playback Script\tCtrl+P", 0},
        {SKTCH_MENU_PLAY_ONE, "Play &One Script\tCtrl+O", 0},
        {0, "", MF_SEPARATOR},
        {SKTCH_MENU_QUIT, "&Quit\tCtrl+Q", 0},
        {0, "", MF_SEPARATOR},
        {SKTCH_MENU_CONTACT, "MAC: ", MF_GRAYED},
        {SKTCH_MENU_CONTACT, "WINDOWS: ", MF_GRAYED},
        {SKTCH_MENU_CONTACT, "UPDATES: ", MF_GRAYED},
    };
    std::vector<platform::MenuItem> items = run_items();
    ASSERT_EQ(items.size(), std::size(expected));
    for (std::size_t i = 0; i < items.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(items[i].flags, expected[i].flags);
        if (expected[i].flags & MF_SEPARATOR) continue;
        EXPECT_EQ(items[i].id, expected[i].id);
        if (expected[i].id == SKTCH_MENU_CONTACT) {
            EXPECT_EQ(items[i].text.rfind(expected[i].text, 0), 0u);
            EXPECT_NE(items[i].text.find("@example.org"), std::string::npos);
        } else {
            EXPECT_EQ(items[i].text, expected[i].text);
        }
    }
    EXPECT_FALSE(headless::choose_menu_item(graphics(), SKTCH_MENU_CONTACT))
        << "contact lines are greyed";
}

TEST_F(GraphicsWindow, MenuCommandsDriveTheAnimation) {
    headless::choose_menu_item(graphics(), SKTCH_MENU_ANIMATE);
    EXPECT_EQ(await().kind, SKTCH_PERIODIC);
    EXPECT_EQ(state.animate_run, 1);
    EXPECT_EQ(await().kind, SKTCH_PERIODIC);

    headless::choose_menu_item(graphics(), SKTCH_MENU_HALT);
    headless::on_idle([] {
        if (headless::now_ms() >= 2000) headless::click(state.graphics_window, 1, 1);
    });
    EXPECT_EQ(await().kind, SKTCH_MOUSE) << "halted: no periodic event in two seconds";
    EXPECT_EQ(state.animate_run, 0);

    headless::on_idle(nullptr);
    headless::choose_menu_item(graphics(), SKTCH_MENU_ADVANCE);
    EXPECT_EQ(await().kind, SKTCH_PERIODIC) << "advance one frame";
    EXPECT_EQ(state.single_step, 0);
    EXPECT_EQ(state.animate_run, 0);
}

TEST_F(GraphicsWindow, CtrlShortcutsActOnKeyDownWithEitherKeyCode) {
    headless::press_ctrl_key(graphics(), 'A');
    EXPECT_EQ(await().kind, SKTCH_PERIODIC);
    EXPECT_EQ(state.animate_run, 1);

    // The lower-case code works too, and auto-repeat repeats the command.
    headless::key_down(graphics(), VK_CONTROL);
    headless::key_down(graphics(), 'h', 8);
    headless::key_down(graphics(), 'h', 8, true);
    headless::key_up(graphics(), 'H');
    headless::key_up(graphics(), VK_CONTROL);
    headless::type_char(graphics(), 'x');
    EXPECT_EQ(await(), (Event{SKTCH_KBD, 0, 0, 'x'})) << "Ctrl+H made no key event";
    EXPECT_EQ(state.animate_run, 0);
    EXPECT_EQ(state.ctrl_down, 0u);
}

TEST_F(GraphicsWindow, LettersWithoutCtrlAreNotShortcuts) {
    headless::type_char(graphics(), 'q');
    EXPECT_EQ(await(), (Event{SKTCH_KBD, 0, 0, 'q'}));
    EXPECT_TRUE(IsWindow(graphics()));
    headless::type_char(graphics(), 'a');
    await();
    EXPECT_EQ(state.animate_run, 0);
}

TEST_F(GraphicsWindow, CtrlLTwiceRestoresLoggingAndItsCheckMark) {
    ASSERT_EQ(state.logging, 1);
    headless::press_ctrl_key(graphics(), 'L');
    headless::type_char(graphics(), '.');
    await();
    EXPECT_EQ(state.logging, 0);
    EXPECT_FALSE(headless::menu_item_checked(graphics(), SKTCH_MENU_LOGGING));
    headless::press_ctrl_key(graphics(), 'L');
    headless::type_char(graphics(), '.');
    await();
    EXPECT_EQ(state.logging, 1);
    EXPECT_TRUE(headless::menu_item_checked(graphics(), SKTCH_MENU_LOGGING));
    EXPECT_TRUE(printed().empty()) << "menu commands print nothing";
}

TEST_F(GraphicsWindow, CtrlQQuits) {
    headless::press_ctrl_key(graphics(), 'Q');
    EXPECT_EQ(await().kind, SKTCH_QUIT);
}

using Controls = OpenLibrary;

TEST_F(Controls, AnimateRequests) {
    EXPECT_EQ(SKTCH_animate(SKTCH_ANIMATE_RUN), 1);
    EXPECT_EQ(state.animate_run, 1);
    EXPECT_EQ(SKTCH_animate(SKTCH_ANIMATE_STEP), 1);
    EXPECT_EQ(state.single_step, 1);
    EXPECT_EQ(state.animate_run, 1) << "a step leaves running as it was";
    EXPECT_EQ(SKTCH_animate(SKTCH_ANIMATE_HALT), 1);
    EXPECT_EQ(state.single_step, 0);
    EXPECT_EQ(state.animate_run, 0);

    LibraryState before = state;
    EXPECT_EQ(SKTCH_animate(3), 1);
    EXPECT_EQ(SKTCH_animate(4), 1);
    EXPECT_EQ(SKTCH_animate(-1), 1);
    EXPECT_EQ(state.animate_run, before.animate_run);
    EXPECT_EQ(state.single_step, before.single_step);
    EXPECT_EQ(state.quit_requested, 0);
    EXPECT_EQ(SKTCH_animate(SKTCH_ANIMATE_QUIT), 1);
    EXPECT_EQ(state.quit_requested, 1);
}

TEST_F(Controls, LoggingSetsTheFlagTheCheckMarkAndShowsTheTextWindow) {
    ShowWindow(text(), SW_HIDE);
    EXPECT_EQ(SKTCH_logging(0), 1);
    EXPECT_EQ(state.logging, 0);
    EXPECT_FALSE(headless::menu_item_checked(graphics(), SKTCH_MENU_LOGGING));
    EXPECT_FALSE(headless::window_visible(text())) << "turning logging off shows nothing";
    EXPECT_EQ(SKTCH_logging(7), 1);
    EXPECT_EQ(state.logging, 1) << "any non-zero value is on";
    EXPECT_TRUE(headless::menu_item_checked(graphics(), SKTCH_MENU_LOGGING));
    EXPECT_TRUE(headless::window_visible(text()));
}

TEST(ControlsBeforeOpen, AnswerZeroAndChangeNothing) {
    headless::reset();
    reset_state();
    EXPECT_EQ(SKTCH_animate(SKTCH_ANIMATE_RUN), 0);
    EXPECT_EQ(SKTCH_animate(SKTCH_ANIMATE_QUIT), 0);
    EXPECT_EQ(SKTCH_logging(0), 0);
    EXPECT_EQ(state.animate_run, 0);
    EXPECT_EQ(state.quit_requested, 0);
    EXPECT_EQ(state.logging, 1);
}

}  // namespace
}  // namespace sktch::testing
