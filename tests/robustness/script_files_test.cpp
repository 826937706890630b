// Script files that are not what the library writes: empty, binary, cut short, with lines
// or numbers far too long, only blank lines, unreadable or unwritable; and a recording
// whose program is killed keeps every line written before the kill.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <string>

#include "../library/script_fixture.h"

namespace sktch::testing {
namespace {

const std::string kEndOfFile = "EOF encountered in script file SKTCH.SCR\n";

using BadScripts = Scripts;

TEST_F(BadScripts, EmptyOrBlankFilesEndPlaybackWithTheEndOfFileMessage) {
    for (const std::string& text : {std::string(), std::string(10000, '\n')}) {
        SCOPED_TRACE(text.size());
        write_script(text);
        forget_printed();
        EXPECT_TRUE(play_back().empty());
        EXPECT_EQ(printed(), Lines{kEndOfFile});
        EXPECT_FALSE(checked(SKTCH_MENU_PLAYBACK));
        EXPECT_EQ(open_script_files(), 0) << "closed: the next playback starts at the top";
    }
}

TEST_F(BadScripts, BinaryBytesEndPlaybackWithoutAnEventOrAMessage) {
    std::mt19937 random(99);
    std::string noise(4096, '\0');
    for (char& c : noise) c = char(random() % 256);
    noise[0] = '\x01';  // not a blank line, so the first line is looked at
    for (const std::string& bytes :
         {std::string("\0\0\0\n", 4), std::string("\xff\xfe\x80\x81\x82\x83\x84\x85\n"), noise}) {
        SCOPED_TRACE(bytes.size());
        write_script(bytes);
        forget_printed();
        EXPECT_TRUE(play_back().empty());
        EXPECT_TRUE(printed().empty());
        EXPECT_FALSE(checked(SKTCH_MENU_PLAYBACK));
        TearDown();  // the stream stays after the line that stopped it: start afresh
        SetUp();
    }
}

TEST_F(BadScripts, AZeroByteInsideALineEndsTheLineThere) {
    write_script(std::string("SKTCH_KBD(6") + '\0' + "5);\nSKTCH_KBD(66);\n");
    EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, 6}, {SKTCH_KBD, 0, 0, 'B'}}));
}

TEST_F(BadScripts, ATruncatedLastLineIsPlayedAsFarAsItGoes) {
    write_script("SKTCH_KBD(97);\nSKTCH_MOUSE(12");
    EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, 'a'}, {SKTCH_MOUSE, 12, 0, 0}}));
    EXPECT_EQ(printed(), Lines{kEndOfFile});

    // Cut before the kind character: no event, and playback ends without a message.
    write_script("SKTCH_KBD(97);\nSKTCH_");
    forget_printed();
    EXPECT_EQ(play_back(), (Events{{SKTCH_KBD, 0, 0, 'a'}}));
    EXPECT_TRUE(printed().empty());
    EXPECT_FALSE(checked(SKTCH_MENU_PLAYBACK));
}

TEST_F(BadScripts, AVeryLongLineIsCutAndItsRestSkipped) {
    write_script("SKTCH_MOUSE(" + std::string(100000, '7') + ", 5);\nSKTCH_KBD(66);\n" +
                 "SKTCH_KBD(" + std::string(100000, 'x') + "99);\nSKTCH_KBD(67);\n");
    EXPECT_EQ(play_back(), (Events{{SKTCH_MOUSE, INT32_MAX, 0, 0},
                                   {SKTCH_KBD, 0, 0, 'B'},
                                   {SKTCH_KBD, 0, 0, 0},
                                   {SKTCH_KBD, 0, 0, 'C'}}))
        << "numbers beyond a line's first 511 characters are not read, and the next line is "
           "the one after the newline";
}

TEST_F(BadScripts, NumbersBeyondInt32AreHeldAtItsLimits) {
    write_script(
        "SKTCH_MOUSE(-99999999999, 2147483648);\nSKTCH_MOUSE(-2147483648, 2147483647);\n"
        "SKTCH_KBD(99999999999);\nSKTCH_KBD(---5);\n");
    EXPECT_EQ(play_back(), (Events{{SKTCH_MOUSE, INT32_MIN, INT32_MAX, 0},
                                   {SKTCH_MOUSE, INT32_MIN, INT32_MAX, 0},
                                   {SKTCH_KBD, 0, 0, char(-1)},
                                   {SKTCH_KBD, 0, 0, 0}}));
}

TEST_F(BadScripts, AHugePeriodicCountPlaysLazilyAndStopsWhenAsked) {
    write_script("SKTCH_PERIODIC(99999999999);\n");
    headless::choose_menu_item(graphics(), SKTCH_MENU_PLAYBACK);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(await().kind, SKTCH_PERIODIC);
    EXPECT_EQ(headless::now_ms(), 0) << "played at once, never waiting for the timer";
    headless::choose_menu_item(graphics(), SKTCH_MENU_PLAYBACK);
    headless::type_char(graphics(), 'x');
    Event e = await();
    for (int played = 0; e.kind == SKTCH_PERIODIC && played < 10; ++played) e = await();
    EXPECT_EQ(e, (Event{SKTCH_KBD, 0, 0, 'x'}));
    EXPECT_FALSE(checked(SKTCH_MENU_PLAYBACK));
    EXPECT_EQ(open_script_files(), 0);
}

TEST_F(BadScripts, ARecordingCountsItsOwnPeriodicEventsAfterAStoppedPlayback) {
    // Playback stopped in the middle of a long periodic run, then recording started: the
    // run's remaining count must not end up in the recording.
    write_script("SKTCH_PERIODIC(1000000);\n");
    headless::choose_menu_item(graphics(), SKTCH_MENU_PLAYBACK);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(await().kind, SKTCH_PERIODIC);
    headless::choose_menu_item(graphics(), SKTCH_MENU_PLAYBACK);
    headless::type_char(graphics(), 'x');
    for (Event e = await(); e.kind != SKTCH_KBD;) e = await();

    SKTCH_animate(SKTCH_ANIMATE_RUN);
    headless::choose_menu_item(graphics(), SKTCH_MENU_RECORD);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(await().kind, SKTCH_PERIODIC);
    headless::type_char(graphics(), 'k');
    ASSERT_EQ(await().kind, SKTCH_KBD);
    EXPECT_EQ(read_script(), "SKTCH_PERIODIC(3);\nSKTCH_KBD(107);\n");
}

// Plays a script of a million periodic events, then makes the user quit with `quit`; the
// quit must end the playback within a few events. Returns the events played meanwhile.
int periodic_events_before_quit(const std::function<void()>& quit) {
    std::ofstream(kScript) << "SKTCH_PERIODIC(1000000);\n";
    headless::choose_menu_item(headless::find_window("SKTCH Graphics"), SKTCH_MENU_PLAYBACK);
    for (int i = 0; i < 3; ++i)
        if (await().kind != SKTCH_PERIODIC) return -1;
    quit();
    int played = 0;
    Event e = await();
    for (; e.kind == SKTCH_PERIODIC && played < 20; e = await()) ++played;
    return e.kind == SKTCH_QUIT ? played : -1;
}

TEST_F(BadScripts, QuittingDuringPlaybackIsNotLost) {
    int played = periodic_events_before_quit([&] { headless::press_ctrl_key(graphics(), 'Q'); });
    EXPECT_GE(played, 0) << "Ctrl+Q ended the playback";
    // One periodic event for each message before the quit: Ctrl+Q is five (two keys down,
    // the control character they type, two keys up).
    EXPECT_LE(played, 5);

    // Playback off again, then the close box.
    headless::choose_menu_item(graphics(), SKTCH_MENU_PLAYBACK);
    headless::type_char(graphics(), '.');
    for (Event e = await(); e.kind == SKTCH_PERIODIC;) e = await();
    played = periodic_events_before_quit([&] { headless::close_window(graphics()); });
    EXPECT_GE(played, 0) << "the close box ended the playback";
    EXPECT_LE(played, 1);
}

TEST_F(BadScripts, ARecordingIntoAFullDeviceGoesOnWithoutTrouble) {
    std::filesystem::create_symlink("/dev/full", kScript);
    headless::choose_menu_item(graphics(), SKTCH_MENU_RECORD);
    for (char c : std::string("abc")) {
        headless::type_char(graphics(), c);
        EXPECT_EQ(await(), (Event{SKTCH_KBD, 0, 0, c}));
    }
    EXPECT_EQ(open_script_files(), 1) << "opened: only the writes fail";
    headless::choose_menu_item(graphics(), SKTCH_MENU_RECORD);
    headless::type_char(graphics(), 'd');
    EXPECT_EQ(await().kind, SKTCH_KBD);
    EXPECT_EQ(open_script_files(), 0);
}

// ---- a recording program killed in the middle ---------------------------------------------

// A child process records `count` events (clicks, keys and runs of periodic events, the last
// one a click) and reports them on `out`; then it waits to be killed.
[[noreturn]] void record_then_wait(int count, int out) {
    SKTCH_animate(SKTCH_ANIMATE_RUN);
    headless::choose_menu_item(headless::find_window("SKTCH Graphics"), SKTCH_MENU_RECORD);
    for (int i = 1; i <= count; ++i) {
        if (i == count || i % 7 == 0)
            headless::click(headless::find_window("SKTCH Graphics"), (i * 37) % 595,
                            (i * 11) % 487);
        else if (i % 11 == 0)
            headless::type_char(headless::find_window("SKTCH Graphics"), char('a' + i % 26));
        Event e = await();
        if (write(out, &e, sizeof e) != sizeof e) _exit(2);
    }
    close(out);
    for (;;) pause();
}

TEST_F(BadScripts, AKilledRecordingKeepsEveryEventRecordedBeforeTheKill) {
    constexpr int kCount = 500;
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(channel[0]);
        record_then_wait(kCount, channel[1]);
    }
    close(channel[1]);
    Events recorded;
    Event e;
    while (recorded.size() < kCount && read(channel[0], &e, sizeof e) == sizeof e)
        recorded.push_back(e);
    close(channel[0]);
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "killed, not ended";
    ASSERT_EQ(recorded.size(), std::size_t(kCount));
    EXPECT_EQ(recorded.back().kind, SKTCH_MOUSE);

    // The file the killed process left behind plays back as exactly what it recorded.
    EXPECT_EQ(play_back(), recorded);
    EXPECT_EQ(printed(), Lines{kEndOfFile});
}

}  // namespace
}  // namespace sktch::testing
