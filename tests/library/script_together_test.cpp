// Recording and playback at once: the played file is never written over, each side keeps its
// own periodic count, a playback switched off forgets its place, every way of quitting keeps
// the recording's last run, and a script file that cannot be used leaves nothing open.
#include "script_fixture.h"

namespace sktch::testing {
namespace {

using Together = Scripts;

const std::string kThreeKeys = "SKTCH_KBD(49);\nSKTCH_KBD(50);\nSKTCH_KBD(51);\n";
const Event kKey1{SKTCH_KBD, 0, 0, '1'}, kKey2{SKTCH_KBD, 0, 0, '2'}, kKey3{SKTCH_KBD, 0, 0, '3'};

TEST_F(Together, ARecordingNeverEmptiesTheFilePlayedWhileItWasOn) {
    struct Path {
        const char* name;
        std::function<void()> run;
    };
    const Path paths[] = {
        {"Ctrl+O, Ctrl+R, Ctrl+P to the end, a click, Ctrl+R",
         [&] {
             headless::press_ctrl_key(graphics(), 'O');
             EXPECT_EQ(await(), kKey1);
             headless::press_ctrl_key(graphics(), 'R');
             headless::press_ctrl_key(graphics(), 'P');
             EXPECT_EQ(played_until_the_mark_goes(), (Events{kKey2, kKey3}));
             headless::click(graphics(), 5, 5);
             EXPECT_EQ(await().kind, SKTCH_MOUSE);
             headless::press_ctrl_key(graphics(), 'R');
         }},
        {"Record, Playback, Playback off, a click",
         [&] {
             choose(SKTCH_MENU_RECORD);
             choose(SKTCH_MENU_PLAYBACK);
             EXPECT_EQ(await(), kKey1);
             choose(SKTCH_MENU_PLAYBACK);
             headless::click(graphics(), 5, 5);
             EXPECT_EQ(await().kind, SKTCH_MOUSE);
         }},
        {"Record, Playback to the end, the quit alone",
         [&] {
             choose(SKTCH_MENU_RECORD);
             EXPECT_EQ(play_back(), (Events{kKey1, kKey2, kKey3}));  // ends with a quit
         }},
        {"Record, Play One, a run of steps, quit from code",
         [&] {
             choose(SKTCH_MENU_RECORD);
             choose(SKTCH_MENU_PLAY_ONE);
             EXPECT_EQ(await(), kKey1);
             SKTCH_animate(SKTCH_ANIMATE_STEP);
             EXPECT_EQ(await(), kPeriodic);
             SKTCH_animate(SKTCH_ANIMATE_QUIT);
             headless::type_char(graphics(), 'x');
             EXPECT_EQ(await().kind, SKTCH_QUIT);
         }},
    };
    for (const Path& path : paths) {
        SCOPED_TRACE(path.name);
        write_script(kThreeKeys);
        path.run();
        // Whatever the path left queued or on: recording off, then the program's end.
        headless::type_char(graphics(), '.');
        await();
        if (checked(SKTCH_MENU_RECORD)) {
            choose(SKTCH_MENU_RECORD);
            headless::type_char(graphics(), '.');
            await();
        }
        SKTCH_close();
        EXPECT_EQ(read_script(), kThreeKeys);
        EXPECT_EQ(open_script_files(), 0);
        TearDown();
        SetUp();
    }
}

TEST_F(Together, ARecordingStartedFirstKeepsTheFileAndThePlaybackIsRefused) {
    write_script(kThreeKeys);
    choose(SKTCH_MENU_RECORD);
    headless::type_char(graphics(), 'k');
    await();
    EXPECT_TRUE(play_back().empty()) << "a file being written is not read";
    EXPECT_EQ(printed(), (Lines{"Cannot open script file SKTCH.SCR for reading\n"}));
    EXPECT_FALSE(checked(SKTCH_MENU_PLAYBACK));
    choose(SKTCH_MENU_RECORD);
    headless::type_char(graphics(), '.');
    await();
    EXPECT_EQ(read_script(), "SKTCH_KBD(107);\n") << "the recording went on untouched";
}

TEST_F(Together, APlaybackSwitchedOffForgetsThePeriodicEventsItOwed) {
    write_script("SKTCH_PERIODIC(3);\nSKTCH_KBD(65);\n");
    choose(SKTCH_MENU_PLAYBACK);
    EXPECT_EQ(await(), kPeriodic);
    choose(SKTCH_MENU_PLAYBACK);
    headless::click(graphics(), 5, 5);
    EXPECT_EQ(await().kind, SKTCH_MOUSE);
    EXPECT_EQ(play_back(), (Events{kPeriodic, kPeriodic, kPeriodic, {SKTCH_KBD, 0, 0, 'A'}}))
        << "from the top, nothing left over";

    // Nor does another script inherit them.
    choose(SKTCH_MENU_PLAYBACK);
    EXPECT_EQ(await(), kPeriodic);
    choose(SKTCH_MENU_PLAYBACK);
    headless::click(graphics(), 5, 5);
    await();
    write_script("SKTCH_KBD(66);\n");
    EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, 'B'}}));
}

TEST_F(Together, RecordSwitchedOnDuringAPlaybackLeavesItsPeriodicEventsToIt) {
    write_script("SKTCH_PERIODIC(4);\nSKTCH_KBD(65);\n");
    choose(SKTCH_MENU_PLAYBACK);
    EXPECT_EQ(await(), kPeriodic);
    choose(SKTCH_MENU_RECORD);
    EXPECT_EQ(played_until_the_mark_goes(),
              (Events{kPeriodic, kPeriodic, kPeriodic, {SKTCH_KBD, 0, 0, 'A'}}));
}

TEST_F(Together, AHugePlayedRunNeverOverflowsACount) {
    // Under the sanitizers an overflowing count stops the program.
    write_script("SKTCH_PERIODIC(99999999999);\n");
    choose(SKTCH_MENU_RECORD);
    choose(SKTCH_MENU_PLAYBACK);
    EXPECT_EQ(await(), kPeriodic);
    choose(SKTCH_MENU_PLAYBACK);
    SKTCH_animate(SKTCH_ANIMATE_STEP);
    EXPECT_EQ(await(), kPeriodic);
    choose(SKTCH_MENU_PLAY_ONE);
    EXPECT_EQ(await(), kPeriodic);
    SKTCH_animate(SKTCH_ANIMATE_STEP);
    EXPECT_EQ(await(), kPeriodic);
    choose(SKTCH_MENU_RECORD);
    headless::type_char(graphics(), '.');
    await();
    EXPECT_EQ(read_script(), "SKTCH_PERIODIC(99999999999);\n");
}

TEST_F(Together, ARecordedRunAsLongAsTheCountHoldsIsSplit) {
    // Only years of ticks reach the limit: the count is set just below it.
    choose(SKTCH_MENU_RECORD);
    SKTCH_animate(SKTCH_ANIMATE_STEP);
    await();
    state.periodic_count = INT32_MAX - 1;
    for (int i = 0; i < 3; ++i) {
        SKTCH_animate(SKTCH_ANIMATE_STEP);
        EXPECT_EQ(await(), kPeriodic);
    }
    headless::click(graphics(), 297, 243);
    await();
    EXPECT_EQ(read_script(),
              "SKTCH_PERIODIC(2147483647);\nSKTCH_PERIODIC(2);\nSKTCH_MOUSE(0, 0);\n");
}

class EveryQuit : public Scripts, public ::testing::WithParamInterface<int> {};

TEST_P(EveryQuit, KeepsTheRecordingsPendingRun) {
    choose(SKTCH_MENU_RECORD);
    for (int i = 0; i < 3; ++i) {
        SKTCH_animate(SKTCH_ANIMATE_STEP);
        ASSERT_EQ(await(), kPeriodic);
    }
    switch (GetParam()) {
        case 0:
            choose(SKTCH_MENU_QUIT);
            break;
        case 1:
            headless::press_ctrl_key(graphics(), 'Q');
            break;
        case 2:
            headless::close_window(graphics());
            break;
        default:
            SKTCH_animate(SKTCH_ANIMATE_QUIT);
            headless::type_char(graphics(), 'x');
            break;
    }
    EXPECT_EQ(await().kind, SKTCH_QUIT);
    EXPECT_EQ(read_script(), "SKTCH_PERIODIC(3);\n") << "written at the quit, before the close";
}

INSTANTIATE_TEST_SUITE_P(MenuCtrlQCloseBoxAndCode, EveryQuit, ::testing::Values(0, 1, 2, 3));

TEST_F(Together, AScriptFileThatIsADirectoryIsReportedBothWaysAndLeftClosed) {
    std::filesystem::create_directory(kScript);
    EXPECT_TRUE(play_back().empty());
    EXPECT_EQ(printed(), (Lines{"Cannot open script file SKTCH.SCR for reading\n"}));
    EXPECT_FALSE(checked(SKTCH_MENU_PLAYBACK));
    EXPECT_EQ(open_script_files(), 0);

    forget_printed();
    choose(SKTCH_MENU_RECORD);
    headless::type_char(graphics(), 'a');
    EXPECT_EQ(await(), (Event{SKTCH_KBD, 0, 0, 'a'}));
    EXPECT_EQ(printed(), (Lines{"Cannot open script file SKTCH.SCR for writing\n"}));
    std::filesystem::remove(kScript);
    headless::type_char(graphics(), 'b');
    await();
    EXPECT_EQ(read_script(), "SKTCH_KBD(98);\n") << "the next event tries again";
}

}  // namespace
}  // namespace sktch::testing
