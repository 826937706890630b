// Script files: recording what the wait returns, playing it back, and the reader's rules.
#include <fstream>
#include <sstream>
#include <string>

#include "library_fixture.h"

namespace sktch::testing {
namespace {

using Events = std::vector<Event>;
using Lines = std::vector<std::string>;

class Scripts : public OpenLibrary {
  protected:
    void SetUp() override {
        OpenLibrary::SetUp();
        SKTCH_logging(0);
        forget_printed();
    }

    static void write_script(const std::string& text) {
        std::ofstream(kScriptFileName, std::ios::binary) << text;
    }
    static std::string read_script() {
        std::ifstream in(kScriptFileName, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }

    // Switches playback on and collects events until it has stopped; the quit that ends
    // the collection is not included.
    Events play_back() {
        headless::choose_menu_item(graphics(), 6);
        headless::on_idle([] {
            if (!state.playing && !state.play_one) PostQuitMessage(0);
        });
        Events events;
        for (Event e = await(); e.kind != SKTCH_QUIT; e = await()) events.push_back(e);
        headless::on_idle(nullptr);
        return events;
    }

    // Runs the wait with recording on for a sequence of inputs made by `drive`.
    void record(const std::function<void()>& drive) {
        headless::choose_menu_item(graphics(), 5);
        drive();
        headless::choose_menu_item(graphics(), 5);
        headless::type_char(graphics(), '.');
        await();  // the wait that dispatches the command stopping the recording
    }
};

const Event periodic{SKTCH_PERIODIC, 0, 0, 0};

TEST_F(Scripts, PeriodicRunsAreMergedAndFlushedBeforeOtherEvents) {
    SKTCH_animate(SKTCH_ANIMATE_RUN);
    headless::choose_menu_item(graphics(), 5);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(await().kind, SKTCH_PERIODIC);
    headless::click(graphics(), 300, 240);
    ASSERT_EQ(await().kind, SKTCH_MOUSE);
    EXPECT_EQ(read_script(), "SKTCH_PERIODIC(5);\nSKTCH_MOUSE(3, 3);\n")
        << "every line is on disk as soon as it is written";
    for (int i = 0; i < 3; ++i) ASSERT_EQ(await().kind, SKTCH_PERIODIC);
    headless::choose_menu_item(graphics(), 5);  // stop: the pending run is written
    await();
    EXPECT_EQ(read_script(), "SKTCH_PERIODIC(5);\nSKTCH_MOUSE(3, 3);\nSKTCH_PERIODIC(3);\n");
    EXPECT_EQ(state.script_file, nullptr) << "closed";
    EXPECT_FALSE(headless::menu_item_checked(graphics(), 5));

    // A new recording starts an empty file and counts from 0.
    headless::choose_menu_item(graphics(), 5);
    EXPECT_EQ(await().kind, SKTCH_PERIODIC);
    EXPECT_TRUE(headless::menu_item_checked(graphics(), 5));
    headless::type_char(graphics(), 'k');
    await();
    EXPECT_EQ(read_script(), "SKTCH_PERIODIC(1);\nSKTCH_KBD(107);\n");
}

TEST_F(Scripts, RecordedEventsPlayBackTheSame) {
    SKTCH_animate(SKTCH_ANIMATE_RUN);
    Events recorded;
    record([&] {
        headless::click(graphics(), 10, 400);
        recorded.push_back(await());
        recorded.push_back(await());
        recorded.push_back(await());
        headless::type_char(graphics(), 'A');
        recorded.push_back(await());
        headless::type_char(graphics(), char(0xE9));  // a key above 127: written as -23
        recorded.push_back(await());
        headless::type_char(graphics(), char(0x80));
        recorded.push_back(await());
        recorded.push_back(await());
        headless::click(graphics(), 594, 0);
        recorded.push_back(await());
    });
    ASSERT_EQ(recorded.size(), 8u);
    EXPECT_EQ(recorded[0], (Event{SKTCH_MOUSE, -287, -157, 0}));
    EXPECT_EQ(play_back(), recorded);
}

TEST_F(Scripts, ReaderTakesSignedMouseNumbersWhateverTheSpacing) {
    write_script("SKTCH_MOUSE(-3, 4);\nSKTCH_MOUSE(10,-20);\nSKTCH_KBD(65);\n");
    EXPECT_EQ(play_back(),
              (Events{{SKTCH_MOUSE, -3, 4, 0}, {SKTCH_MOUSE, 10, -20, 0}, {SKTCH_KBD, 0, 0, 'A'}}));
    EXPECT_EQ(printed(), (Lines{"EOF encountered in script file SKTCH.SCR\n"}));
}

TEST_F(Scripts, PeriodicLineRepeatsThenTheFileEnds) {
    write_script("SKTCH_PERIODIC(3);\nSKTCH_KBD(113);\n");
    EXPECT_EQ(play_back(), (Events{periodic, periodic, periodic, {SKTCH_KBD, 0, 0, 'q'}}));
    EXPECT_EQ(printed(), (Lines{"EOF encountered in script file SKTCH.SCR\n"}));
    EXPECT_FALSE(headless::menu_item_checked(graphics(), 6));
    EXPECT_EQ(headless::now_ms(), 0) << "played events do not wait for the timer";
}

TEST_F(Scripts, PlayingAgainAfterTheEndStartsFromTheTop) {
    write_script("SKTCH_KBD(49);\n");
    EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, '1'}}));
    EXPECT_EQ(state.script_file, nullptr);
    EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, '1'}}));
}

TEST_F(Scripts, BlankLinesAreSkippedAndALastLineWithoutNewlineIsPlayed) {
    write_script("\n\nSKTCH_KBD(97);\n\n\nSKTCH_KBD(98);");
    EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, 'a'}, {SKTCH_KBD, 0, 0, 'b'}}));
}

TEST_F(Scripts, UnknownOrShortLinesEndPlaybackWithoutAMessage) {
    for (const char* bad : {"          \nSKTCH_KBD(97);\n", "SKTCH\nSKTCH_KBD(97);\n",
                            "SKTCH_XYZ(1);\nSKTCH_KBD(97);\n"}) {
        SCOPED_TRACE(bad);
        write_script(bad);
        forget_printed();
        EXPECT_TRUE(play_back().empty());
        EXPECT_TRUE(printed().empty());
        EXPECT_TRUE(headless::menu_item_checked(graphics(), 6)) << "the mark is left as it was";
        close_script_file();
        CheckMenuItem(state.run_menu, 6, MF_UNCHECKED);
    }
}

TEST_F(Scripts, NumbersAreReadSafely) {
    std::string long_number(400, '9');
    write_script("SKTCH_MOUSE(" + long_number + ", 7);\nSKTCH_MOUSE();\nSKTCH_KBD(-128);\n" +
                 "SKTCH_PERIODIC(1);\nSKTCH_KBD(" + std::string(600, '1') + ");\nSKTCH_KBD(66);\n");
    Events events = play_back();
    ASSERT_EQ(events.size(), 6u);
    EXPECT_EQ(events[0].kind, SKTCH_MOUSE);
    EXPECT_EQ(events[0].x, INT32_MAX) << "cut to 11 digits, held within int32";
    EXPECT_EQ(events[0].y, 7) << "the rest of the long number is not taken as y";
    EXPECT_EQ(events[1], (Event{SKTCH_MOUSE, 0, 0, 0})) << "no digits: 0";
    EXPECT_EQ(events[2], (Event{SKTCH_KBD, 0, 0, char(-128)}));
    EXPECT_EQ(events[3], periodic);
    EXPECT_EQ(events[4].kind, SKTCH_KBD) << "an overlong line is cut, its rest skipped";
    EXPECT_EQ(events[5], (Event{SKTCH_KBD, 0, 0, 'B'}));
}

TEST_F(Scripts, APlayedEventCarriesOnlyItsOwnValues) {
    write_script("SKTCH_KBD(66);\nSKTCH_PERIODIC(2);\n");
    headless::choose_menu_item(graphics(), 6);
    headless::click(graphics(), 10, 400);  // input during playback gives way to the script
    EXPECT_EQ(await(), (Event{SKTCH_KBD, 0, 0, 'B'}));
    headless::click(graphics(), 10, 400);
    EXPECT_EQ(await(), periodic);
    headless::click(graphics(), 10, 400);
    EXPECT_EQ(await(), periodic) << "the second of the run, replayed without reading";
}

TEST_F(Scripts, MissingFileStopsPlaybackWithAMessage) {
    EXPECT_TRUE(play_back().empty());
    EXPECT_EQ(printed(), (Lines{"Cannot open script file SKTCH.SCR for reading\n"}));
    EXPECT_FALSE(headless::menu_item_checked(graphics(), 6));
    EXPECT_EQ(state.playing, 0);
}

TEST_F(Scripts, UnwritableFileIsReportedAndTriedAgainAtTheNextEvent) {
    std::filesystem::create_directory(kScriptFileName);  // a directory cannot be written
    headless::choose_menu_item(graphics(), 5);
    headless::type_char(graphics(), 'a');
    await();
    headless::type_char(graphics(), 'b');
    await();
    EXPECT_EQ(printed(), (Lines{"Cannot open script file SKTCH.SCR for writing\n",
                                "Cannot open script file SKTCH.SCR for writing\n"}));
    EXPECT_EQ(state.recording, 1) << "recording stays on";
    std::filesystem::remove(kScriptFileName);
    headless::type_char(graphics(), 'c');
    await();
    EXPECT_EQ(read_script(), "SKTCH_KBD(99);\n");
}

TEST_F(Scripts, PlayOneTakesASingleLineAtTheNextWait) {
    write_script("SKTCH_MOUSE(1, 2);\nSKTCH_MOUSE(3, 4);\n");
    SKTCH_animate(SKTCH_ANIMATE_RUN);
    headless::press_ctrl_key(graphics(), 'O');
    EXPECT_EQ(await(), (Event{SKTCH_MOUSE, 1, 2, 0}));
    EXPECT_EQ(state.animate_run, 0) << "Ctrl+O halts the animation";
    headless::on_idle([] {
        if (headless::now_ms() >= 1000) headless::type_char(state.graphics_window, 'z');
    });
    EXPECT_EQ(await(), (Event{SKTCH_KBD, 0, 0, 'z'})) << "one line only";
    headless::on_idle(nullptr);
    headless::press_ctrl_key(graphics(), 'O');
    EXPECT_EQ(await(), (Event{SKTCH_MOUSE, 3, 4, 0})) << "the stream goes on where it was";
}

TEST_F(Scripts, CtrlPStartsPlaybackAndTheMenuStopsItClosingTheFile) {
    write_script("SKTCH_PERIODIC(1000);\n");
    headless::press_ctrl_key(graphics(), 'P');
    EXPECT_EQ(await(), periodic);
    EXPECT_TRUE(headless::menu_item_checked(graphics(), 6));
    EXPECT_NE(state.script_file, nullptr);

    headless::choose_menu_item(graphics(), 6);
    headless::type_char(graphics(), 'x');
    // Each message still queued before the command lets one more periodic event play.
    int played = 0;
    Event e = await();
    for (; e.kind == SKTCH_PERIODIC && played < 10; e = await()) ++played;
    EXPECT_LE(played, 3);
    EXPECT_EQ(e, (Event{SKTCH_KBD, 0, 0, 'x'}));
    EXPECT_EQ(state.playing, 0);
    EXPECT_EQ(state.script_file, nullptr);
    EXPECT_FALSE(headless::menu_item_checked(graphics(), 6));
}

TEST_F(Scripts, CloseClosesTheScriptFile) {
    headless::choose_menu_item(graphics(), 5);
    headless::type_char(graphics(), 'a');
    await();
    ASSERT_NE(state.script_file, nullptr);
    SKTCH_close();
    EXPECT_EQ(state.script_file, nullptr);
    EXPECT_EQ(read_script(), "SKTCH_KBD(97);\n");
}

}  // namespace
}  // namespace sktch::testing
