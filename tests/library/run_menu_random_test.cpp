// Random sequences of Run menu commands (from the menu, by Ctrl shortcut or from code), clicks,
// keys, ticks and quits, checked after every step against what recording and playback
// promise:
// - a file played while a recording was on comes out byte for byte as it was;
// - a recording made without playback holds exactly the events the program got, in order,
//   periodic runs summed, and playing it back gives exactly those events;
// - a playback switched on with the file closed starts with the file's first line;
// - every way of quitting ends the wait with SKTCH_QUIT and keeps the recording's last run;
// - no file but SKTCH.SCR is made or opened, and nothing stays open after SKTCH_close.
// The sanitizer build catches the rest (overflowing counts, stale streams).
//
// Each sequence has its own seed and starts where the one before left the library: at rest
// (recording and playback off, the script file closed), or opened afresh after a quit. A
// failure prints the environment that runs the sequences again up to the failing one:
// SKTCH_RANDOM_SEED=<first seed> SKTCH_RANDOM_SEQUENCES=<how many>.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>

#include "script_fixture.h"

namespace sktch::testing {
namespace {

namespace fs = std::filesystem;

// Script lines the test writes carry values its own input never makes (clicks land within
// 300 of the centre, typed keys are letters), so a played event is told from an input.
bool played_value(const Event& e) {
    return (e.kind == SKTCH_MOUSE && e.x >= 1000) ||
           (e.kind == SKTCH_KBD && e.key >= '0' && e.key <= '9');
}

std::string random_script(std::mt19937& random) {
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    std::string text;
    int lines = 1 + pick(6);
    for (int i = 0; i < lines; ++i) {
        if (i > 0 && pick(8) == 0) text += "\n";         // a blank line, skipped
        if (i > 0 && pick(12) == 0) text += "  oops\n";  // a line that stops the playback
        switch (pick(i == 0 ? 3 : 4)) {
            case 0:
                text += "SKTCH_MOUSE(" + std::to_string(1000 + pick(100)) + ", " +
                        std::to_string(-1000 - pick(100)) + ");\n";
                break;
            case 1:
                text += "SKTCH_KBD(" + std::to_string('0' + pick(10)) + ");\n";
                break;
            default:
                text += pick(10) == 0 ? "SKTCH_PERIODIC(99999999999);\n"
                                      : "SKTCH_PERIODIC(" + std::to_string(1 + pick(4)) + ");\n";
                break;
        }
    }
    return text;
}

// The file's text for these events as a recording writes it.
std::string as_recorded(const Events& events) {
    std::string text;
    long long run = 0;
    auto end_run = [&] {
        if (run > 0) text += "SKTCH_PERIODIC(" + std::to_string(run) + ");\n";
        run = 0;
    };
    for (const Event& e : events) {
        if (e.kind == SKTCH_PERIODIC) {
            ++run;
            continue;
        }
        end_run();
        if (e.kind == SKTCH_MOUSE)
            text += "SKTCH_MOUSE(" + std::to_string(e.x) + ", " + std::to_string(e.y) + ");\n";
        else if (e.kind == SKTCH_KBD)
            text += "SKTCH_KBD(" + std::to_string(int(static_cast<signed char>(e.key))) + ");\n";
    }
    end_run();
    return text;
}

// The event the file's first non-blank line gives, when it is a line as written above.
std::optional<Event> first_event(const std::string& text) {
    std::size_t at = text.find_first_not_of('\n');
    if (at == std::string::npos) return std::nullopt;
    std::string line = text.substr(at, text.find('\n', at) - at);
    int x = 0, y = 0, key = 0;
    long long count = 0;
    if (std::sscanf(line.c_str(), "SKTCH_MOUSE(%d, %d);", &x, &y) == 2)
        return Event{SKTCH_MOUSE, x, y, 0};
    if (std::sscanf(line.c_str(), "SKTCH_KBD(%d);", &key) == 1)
        return Event{SKTCH_KBD, 0, 0, char(key)};
    if (std::sscanf(line.c_str(), "SKTCH_PERIODIC(%lld);", &count) == 1) return kPeriodic;
    return std::nullopt;
}

enum Action {
    kRecord,
    kPlayback,
    kPlayOne,
    kAnimate,
    kHalt,
    kAdvance,
    kLogging,
    kClick,
    kKey,
    kTick,
    kNewScript,
    kQuit,
    kActions
};
const char* const kActionNames[] = {"record", "playback", "play one",   "animate",
                                    "halt",   "advance",  "logging",    "click",
                                    "key",    "tick",     "new script", "quit"};

// How often each promise was put to the test, so that a run shows it was not idle.
struct Tally {
    int exact_recordings = 0, played_files = 0, either = 0, replays = 0, fresh_starts = 0,
        quits = 0;
};

class RandomRunMenu {
  public:
    RandomRunMenu(const fs::path& directory, Tally& tally) : directory_(directory), tally_(tally) {}

    // Runs one sequence from where the last one left the library (at rest, or opened afresh
    // after a quit); false (with gtest failures) at the first broken promise.
    bool run(unsigned seed, int steps) {
        random_.seed(seed);
        log_.clear();
        replay_.reset();
        if (!open_) open();
        write_script(random_script(random_));
        for (int step = 0; step < steps && !quit_; ++step) {
            Action action = Action(pick(kActions));
            if (action == kQuit && pick(8) != 0) action = kTick;  // most sequences go on
            log_ += std::string(kActionNames[action]) + ", ";
            do_step(action);
            if (::testing::Test::HasFailure()) return false;
        }
        if (quit_) {
            quit_ = false;
            open_ = false;
            check_open_files(0);  // after SKTCH_close
        } else {
            rest();
        }
        if (replay_ && !::testing::Test::HasFailure()) {
            if (!open_) open();
            check_replay(*replay_);
        }
        return !::testing::Test::HasFailure();
    }
    void close() {
        if (open_) SKTCH_close();
        open_ = false;
        headless::reset();
    }
    const std::string& log() const { return log_; }

  private:
    int pick(int n) { return int(random_() % unsigned(n)); }
    HWND graphics() const { return headless::find_window("SKTCH Graphics"); }
    bool checked(UINT item) const { return headless::menu_item_checked(graphics(), item); }

    void open() {
        headless::reset();
        reset_state();
        headless::set_screen_size(320, 240);  // a small text window scrolls fast
        SKTCH_open(test_instance(), nullptr, nullptr, SW_SHOWNORMAL);
        SKTCH_logging(0);
        open_ = true;
        stream_maybe_open_ = false;
        rewritten_under_playback_ = false;
        recording_ = false;
    }

    // Back to rest through the menu: recording off, playback off with its file closed (on
    // and off again when it was off), the animation halted.
    void rest() {
        if (recording_) headless::choose_menu_item(graphics(), SKTCH_MENU_RECORD);
        if (!checked(SKTCH_MENU_PLAYBACK))
            headless::choose_menu_item(graphics(), SKTCH_MENU_PLAYBACK);
        headless::choose_menu_item(graphics(), SKTCH_MENU_PLAYBACK);
        SKTCH_animate(SKTCH_ANIMATE_HALT);
        dispatch_queued();
        if (recording_) end_recording();
        EXPECT_FALSE(checked(SKTCH_MENU_RECORD) || checked(SKTCH_MENU_PLAYBACK));
        check_open_files(0);  // recording and playback off
        stream_maybe_open_ = false;
        rewritten_under_playback_ = false;
    }

    // Dispatches the command's messages at once, as the next wait's first passes would.
    static void dispatch_queued() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // A Run menu command, chosen one of its ways.
    void command(UINT item, char letter, void (*from_code)()) {
        int way = pick(from_code ? 3 : 2);
        if (way == 0)
            headless::choose_menu_item(graphics(), item);
        else if (way == 1)
            headless::press_ctrl_key(graphics(), letter);
        else
            from_code();
        dispatch_queued();
    }

    // Waits for one event; when nothing comes for a few ticks, the user clicks.
    Event wait() {
        int idles = 0;
        headless::on_idle([&] {
            if (++idles >= 3) headless::click(graphics(), 10 + pick(575), 10 + pick(467));
        });
        Event e = await();
        headless::on_idle(nullptr);
        return e;
    }

    void do_step(Action action) {
        bool recording_before = checked(SKTCH_MENU_RECORD);
        bool playing_before = checked(SKTCH_MENU_PLAYBACK);
        std::optional<Event> fresh;  // what the first played event must be
        switch (action) {
            case kRecord:
                if (!recording_before) snapshot_ = read_script();
                command(SKTCH_MENU_RECORD, 'R', nullptr);
                break;
            case kPlayback:
                if (!playing_before && !stream_maybe_open_ && !recording_before)
                    fresh = first_event(read_script());
                command(SKTCH_MENU_PLAYBACK, 'P', nullptr);
                if (playing_before) {
                    stream_maybe_open_ = false;
                    rewritten_under_playback_ = false;
                } else {
                    start_playing(recording_before);
                }
                break;
            case kPlayOne:
                if (!stream_maybe_open_ && !recording_before) fresh = first_event(read_script());
                command(SKTCH_MENU_PLAY_ONE, 'O', nullptr);
                start_playing(recording_before);
                break;
            case kAnimate:
                command(SKTCH_MENU_ANIMATE, 'A', [] { SKTCH_animate(SKTCH_ANIMATE_RUN); });
                break;
            case kHalt:
                command(SKTCH_MENU_HALT, 'H', [] { SKTCH_animate(SKTCH_ANIMATE_HALT); });
                break;
            case kAdvance:
                command(SKTCH_MENU_ADVANCE, 'F', [] { SKTCH_animate(SKTCH_ANIMATE_STEP); });
                break;
            case kLogging:
                command(SKTCH_MENU_LOGGING, 'L', [] {
                    HWND window = headless::find_window("SKTCH Graphics");
                    SKTCH_logging(!headless::menu_item_checked(window, SKTCH_MENU_LOGGING));
                });
                break;
            case kClick:
                headless::click(graphics(), pick(595), pick(487));
                break;
            case kKey:
                headless::type_char(graphics(), char('a' + pick(26)));
                break;
            case kNewScript:
                if (!recording_before) {
                    write_script(random_script(random_));
                    if (stream_maybe_open_) rewritten_under_playback_ = true;
                }
                break;
            case kQuit:
                quit();
                return;
            default:
                break;
        }

        bool recording = checked(SKTCH_MENU_RECORD);
        if (recording && !recording_before) start_recording();
        if (!recording && recording_before) end_recording();
        if (action == kRecord) return;  // the command's own step ends here

        bool playing = checked(SKTCH_MENU_PLAYBACK);
        Event e = wait();
        if (playing && !checked(SKTCH_MENU_PLAYBACK)) stopped_by_itself();
        if (fresh) {
            EXPECT_EQ(e, *fresh) << "a playback of a closed file starts at its top";
            ++tally_.fresh_starts;
        }
        EXPECT_NE(e.kind, SKTCH_QUIT) << "no quit was asked for";
        if (recording) {
            events_.push_back(e);
            if (tainted_ && played_value(e)) played_ = true;
        }
        check_files();
    }

    // A playback (or one line of it) asked for. A file that a recording with nothing played
    // has begun writing is refused to it; any other may be played, and the recording then
    // writes nothing.
    void start_playing(bool recording) {
        bool written = std::any_of(events_.begin(), events_.end(), [](const Event& e) {
            return e.kind == SKTCH_MOUSE || e.kind == SKTCH_KBD;
        });
        if (recording && !tainted_ && written && !stream_maybe_open_) return;
        stream_maybe_open_ = true;
        if (recording) tainted_ = true;
    }

    // The playback ended without being switched off: at the end of the file, which closes
    // it, or at a line it cannot read, which leaves it open. A file the playback read from
    // its top without such a line was closed.
    void stopped_by_itself() {
        if (rewritten_under_playback_ || read_script().find("oops") != std::string::npos) return;
        stream_maybe_open_ = false;
    }

    void quit() {
        int way = pick(4);
        if (way == 0)
            headless::choose_menu_item(graphics(), SKTCH_MENU_QUIT);
        else if (way == 1)
            headless::press_ctrl_key(graphics(), 'Q');
        else if (way == 2)
            headless::close_window(graphics());
        else
            SKTCH_animate(SKTCH_ANIMATE_QUIT);
        // Each message queued before the quit (a playback takes one per wait) may still let
        // the playback hand out an event.
        Event e = wait();
        for (int i = 0; i < 1000 && e.kind != SKTCH_QUIT; ++i) {
            if (recording_) events_.push_back(e);
            if (recording_ && tainted_ && played_value(e)) played_ = true;
            e = wait();
        }
        EXPECT_EQ(e.kind, SKTCH_QUIT) << "quit way " << way;
        ++tally_.quits;
        quit_ = true;
        // The quit itself writes the recording's pending run: the file is complete before
        // SKTCH_close.
        if (recording_) end_recording();
        SKTCH_close();
    }

    void start_recording() {
        recording_ = true;
        tainted_ = stream_maybe_open_;
        played_ = false;
        events_.clear();
    }

    void end_recording() {
        recording_ = false;
        std::string file = read_script();
        std::string recorded = as_recorded(events_);
        if (recorded.empty()) recorded = snapshot_;  // nothing to write: the file is not opened
        if (!tainted_) {
            EXPECT_EQ(file, recorded) << "a recording without playback";
            ++tally_.exact_recordings;
            if (!events_.empty()) replay_ = events_;
        } else if (played_) {
            EXPECT_EQ(file, snapshot_) << "the file played while recording";
            ++tally_.played_files;
        } else {
            EXPECT_TRUE(file == snapshot_ || file == recorded)
                << "either played, or refused to the playback; it holds\n"
                << file;
            ++tally_.either;
        }
    }

    // The recording's file plays back as the events that made it.
    void check_replay(const Events& recorded) {
        std::string text = as_recorded(recorded);
        if (read_script() != text) return;  // written over by a later recording
        headless::choose_menu_item(graphics(), SKTCH_MENU_PLAYBACK);
        headless::on_idle([this] {
            if (!checked(SKTCH_MENU_PLAYBACK)) PostQuitMessage(0);
        });
        Events played;
        for (Event e = await(); e.kind != SKTCH_QUIT && played.size() <= recorded.size() + 1;
             e = await())
            played.push_back(e);
        headless::on_idle(nullptr);
        Events expected;
        for (const Event& e : recorded)
            if (e.kind != SKTCH_QUIT) expected.push_back(e);
        EXPECT_EQ(played, expected) << "the recording played back";
        ++tally_.replays;
    }

    // Nothing but the script file is ever made in the directory.
    void check_files() {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(directory_, error))
            EXPECT_EQ(entry.path().filename(), kScript) << "a file was made";
    }

    // Nothing but the script file is open there, and only while recording or playback has it.
    void check_open_files(int at_most) {
        std::error_code error;
        int script = 0;
        for (const auto& fd : fs::directory_iterator("/proc/self/fd", error)) {
            fs::path target = fs::read_symlink(fd.path(), error);
            if (target.parent_path() != directory_) continue;
            EXPECT_EQ(target.filename(), kScript) << "a file was opened";
            ++script;
        }
        EXPECT_LE(script, at_most);
    }

    fs::path directory_;
    std::mt19937 random_;
    std::string log_;
    bool open_ = false;
    bool quit_ = false;
    bool stream_maybe_open_ = false;         // the playback may hold the file open
    bool rewritten_under_playback_ = false;  // the test wrote the file while it may be open
    // The recording in progress, as the check marks show it.
    bool recording_ = false;
    bool tainted_ = false;  // a playback may have played the file meanwhile
    bool played_ = false;   // an event certainly played from the file meanwhile
    std::string snapshot_;  // the file when the recording began
    Events events_;
    std::optional<Events> replay_;
    Tally& tally_;
};

TEST(RunMenuAtRandom, RecordingAndPlaybackKeepTheirPromises) {
    // On a memory file system where there is one: a disk may make every close wait.
    std::string pattern = fs::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    pattern += "/sktch-random-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    fs::path directory = fs::canonical(pattern);
    fs::path previous = fs::current_path();
    fs::current_path(directory);

    unsigned first = 1;
    int sequences = 2000;
    if (const char* seed = std::getenv("SKTCH_RANDOM_SEED"))
        first = unsigned(std::strtoul(seed, nullptr, 10));
    if (const char* n = std::getenv("SKTCH_RANDOM_SEQUENCES")) sequences = std::atoi(n);
    Tally tally;
    RandomRunMenu runner(directory, tally);
    for (int i = 0; i < sequences; ++i) {
        unsigned seed = first + unsigned(i);
        if (!runner.run(seed, 30)) {
            ADD_FAILURE() << "sequence " << seed << " (SKTCH_RANDOM_SEED=" << first
                          << " SKTCH_RANDOM_SEQUENCES=" << i + 1
                          << " runs up to it again): " << runner.log();
            break;
        }
    }
    runner.close();
    std::printf(
        "%d sequences: %d exact recordings (%d played back), %d played files unchanged, %d "
        "played or refused, %d fresh playback starts, %d quits\n",
        sequences, tally.exact_recordings, tally.replays, tally.played_files, tally.either,
        tally.fresh_starts, tally.quits);
    reset_state();
    fs::current_path(previous);
    std::error_code ignored;
    fs::remove_all(directory, ignored);
}

}  // namespace
}  // namespace sktch::testing
