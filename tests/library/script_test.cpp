// Script files: recording what the wait returns, playing it back, and the reader's rules.
#include "script_fixture.h"

namespace sktch::testing {
namespace {

TEST_F(Scripts, PeriodicRunsAreMergedAndFlushedBeforeOtherEvents) {
    SKTCH_animate(SKTCH_ANIMATE_RUN);
    choose(SKTCH_MENU_RECORD);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(await().kind, SKTCH_PERIODIC);
    headless::click(graphics(), 300, 240);
    ASSERT_EQ(await().kind, SKTCH_MOUSE);
    EXPECT_EQ(read_script(), "SKTCH_PERIODIC(5);\nSKTCH_MOUSE(3, 3);\n")
        << "every line is on disk as soon as it is written";
    for (int i = 0; i < 3; ++i) ASSERT_EQ(await().kind, SKTCH_PERIODIC);
    choose(SKTCH_MENU_RECORD);  // stop: the pending run is written
    await();
    EXPECT_EQ(read_script(), "SKTCH_PERIODIC(5);\nSKTCH_MOUSE(3, 3);\nSKTCH_PERIODIC(3);\n");
    EXPECT_EQ(open_script_files(), 0) << "closed";
    EXPECT_FALSE(checked(SKTCH_MENU_RECORD));

    // A new recording starts an empty file and counts from 0.
    choose(SKTCH_MENU_RECORD);
    EXPECT_EQ(await().kind, SKTCH_PERIODIC);
    EXPECT_TRUE(checked(SKTCH_MENU_RECORD));
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
    EXPECT_EQ(play_back(), (Events{kPeriodic, kPeriodic, kPeriodic, {SKTCH_KBD, 0, 0, 'q'}}));
    EXPECT_EQ(printed(), (Lines{"EOF encountered in script file SKTCH.SCR\n"}));
    EXPECT_FALSE(checked(SKTCH_MENU_PLAYBACK));
    EXPECT_EQ(headless::now_ms(), 0) << "played events do not wait for the timer";
}

TEST_F(Scripts, PlayingAgainAfterTheEndStartsFromTheTop) {
    write_script("SKTCH_KBD(49);\n");
    EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, '1'}}));
    EXPECT_EQ(open_script_files(), 0);
    EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, '1'}}));
}

TEST_F(Scripts, BlankLinesAreSkippedAndALastLineWithoutNewlineIsPlayed) {
    write_script("\n\nSKTCH_KBD(97);\n\n\nSKTCH_KBD(98);");
    EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, 'a'}, {SKTCH_KBD, 0, 0, 'b'}}));
}

TEST_F(Scripts, UnknownOrShortLinesStopPlaybackSilentlyAndThenItGoesOnAfterThem) {
    for (const char* bad : {"          \n", "SKTCH\n", "SKTCH_XYZ(1);\n"}) {
        SCOPED_TRACE(bad);
        write_script(std::string("SKTCH_KBD(97);\n") + bad + "SKTCH_KBD(98);\n");
        forget_printed();
        EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, 'a'}}));
        EXPECT_TRUE(printed().empty());
        EXPECT_FALSE(checked(SKTCH_MENU_PLAYBACK)) << "the mark goes, as at the end of the file";
        EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, 'b'}})) << "from the line after it";
        EXPECT_EQ(printed(), (Lines{"EOF encountered in script file SKTCH.SCR\n"}));
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
    EXPECT_EQ(events[3], kPeriodic);
    EXPECT_EQ(events[4].kind, SKTCH_KBD) << "an overlong line is cut, its rest skipped";
    EXPECT_EQ(events[5], (Event{SKTCH_KBD, 0, 0, 'B'}));
}

TEST_F(Scripts, AnOverlongLineWithAZeroByteIsSkippedWhole) {
    write_script(std::string("SKTCH_KBD(65);") + '\0' + std::string(600, 'x') +
                 "\nSKTCH_KBD(67);\n");
    EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, 'A'}, {SKTCH_KBD, 0, 0, 'C'}}));
}

TEST_F(Scripts, APlayedEventCarriesOnlyItsOwnValues) {
    write_script("SKTCH_KBD(66);\nSKTCH_PERIODIC(2);\n");
    choose(SKTCH_MENU_PLAYBACK);
    headless::click(graphics(), 10, 400);  // input during playback gives way to the script
    EXPECT_EQ(await(), (Event{SKTCH_KBD, 0, 0, 'B'}));
    headless::click(graphics(), 10, 400);
    EXPECT_EQ(await(), kPeriodic);
    headless::click(graphics(), 10, 400);
    EXPECT_EQ(await(), kPeriodic) << "the second of the run, replayed without reading";
}

TEST_F(Scripts, MissingFileStopsPlaybackWithAMessage) {
    EXPECT_TRUE(play_back().empty());
    EXPECT_EQ(printed(), (Lines{"Cannot open script file SKTCH.SCR for reading\n"}));
    EXPECT_FALSE(checked(SKTCH_MENU_PLAYBACK));
    EXPECT_EQ(open_script_files(), 0);
}

TEST_F(Scripts, UnwritableFileIsReportedAndTriedAgainAtTheNextEvent) {
    std::filesystem::create_directory(kScript);  // a directory cannot be written
    choose(SKTCH_MENU_RECORD);
    headless::type_char(graphics(), 'a');
    await();
    headless::type_char(graphics(), 'b');
    await();
    EXPECT_EQ(printed(), (Lines{"Cannot open script file SKTCH.SCR for writing\n",
                                "Cannot open script file SKTCH.SCR for writing\n"}));
    EXPECT_TRUE(checked(SKTCH_MENU_RECORD)) << "recording stays on";
    std::filesystem::remove(kScript);
    headless::type_char(graphics(), 'c');
    await();
    EXPECT_EQ(read_script(), "SKTCH_KBD(99);\n");
}

TEST_F(Scripts, PlayOneTakesASingleLineAtTheNextWait) {
    write_script("SKTCH_MOUSE(1, 2);\nSKTCH_MOUSE(3, 4);\n");
    SKTCH_animate(SKTCH_ANIMATE_RUN);
    headless::press_ctrl_key(graphics(), 'O');
    EXPECT_EQ(await(), (Event{SKTCH_MOUSE, 1, 2, 0}));
    headless::on_idle([] {
        if (headless::now_ms() >= 1000)
            headless::type_char(headless::find_window("SKTCH Graphics"), 'z');
    });
    EXPECT_EQ(await(), (Event{SKTCH_KBD, 0, 0, 'z'}))
        << "one line only, and Ctrl+O halted the animation";
    headless::on_idle(nullptr);
    headless::press_ctrl_key(graphics(), 'O');
    EXPECT_EQ(await(), (Event{SKTCH_MOUSE, 3, 4, 0})) << "the stream goes on where it was";
}

TEST_F(Scripts, CtrlPStartsPlaybackAndTheMenuStopsItClosingTheFile) {
    write_script("SKTCH_PERIODIC(1000);\n");
    headless::press_ctrl_key(graphics(), 'P');
    EXPECT_EQ(await(), kPeriodic);
    EXPECT_TRUE(checked(SKTCH_MENU_PLAYBACK));
    EXPECT_EQ(open_script_files(), 1);

    choose(SKTCH_MENU_PLAYBACK);
    headless::type_char(graphics(), 'x');
    // Each message still queued before the command lets one more periodic event play.
    int played = 0;
    Event e = await();
    for (; e.kind == SKTCH_PERIODIC && played < 10; e = await()) ++played;
    EXPECT_LE(played, 3);
    EXPECT_EQ(e, (Event{SKTCH_KBD, 0, 0, 'x'}));
    EXPECT_EQ(open_script_files(), 0);
    EXPECT_FALSE(checked(SKTCH_MENU_PLAYBACK));
}

TEST_F(Scripts, CloseClosesTheScriptFile) {
    choose(SKTCH_MENU_RECORD);
    headless::type_char(graphics(), 'a');
    await();
    ASSERT_EQ(open_script_files(), 1);
    SKTCH_close();
    EXPECT_EQ(open_script_files(), 0);
    EXPECT_EQ(read_script(), "SKTCH_KBD(97);\n");
}

}  // namespace
}  // namespace sktch::testing
