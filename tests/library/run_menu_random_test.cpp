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
// Each sequence has its own seed, printed when it fails, so that it can be run again alone:
// SKTCH_RANDOM_SEED=<seed> runs just that one, SKTCH_RANDOM_SEQUENCES=<n> sets how many.
#include <unistd.h>

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
    RandomRunMenu(const fs::path& directory, unsigned seed, Tally& tally)
        : directory_(directory), random_(seed), tally_(tally) {}

    // Runs one sequence; false (with gtest failures) at the first broken promise.
    bool run(int steps) {
        open();
        write_script(random_script(random_));
        for (int step = 0; step < steps && !quit_; ++step) {
            Action action = Action(pick(kActions));
            if (action == kQuit && pick(3) != 0) action = kTick;  // sequences of some length
            log_ += std::string(kActionNames[action]) + ", ";
            do_step(action);
            if (::testing::Test::HasFailure()) return false;
        }
        if (!quit_) {
            SKTCH_close();
            if (recording_) end_recording();
        }
        EXPECT_EQ(open_script_files(), 0) << "SKTCH_close left the script file open";
        if (replay_) check_replay(*replay_);
        headless::reset();
        return !::testing::Test::HasFailure();
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
                stream_maybe_open_ = !playing_before;
                if (recording_before) tainted_ = true;
                break;
            case kPlayOne:
                if (!stream_maybe_open_ && !recording_before) fresh = first_event(read_script());
                command(SKTCH_MENU_PLAY_ONE, 'O', nullptr);
                stream_maybe_open_ = true;
                if (recording_before) tainted_ = true;
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
                if (!recording_before) write_script(random_script(random_));
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

        Event e = wait();
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
        // The messages before the quit may still let a playback hand out a few events.
        Event e = wait();
        for (int i = 0; i < 8 && e.kind != SKTCH_QUIT; ++i) {
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
        open();
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
        SKTCH_close();
    }

    // Nothing but the script file is ever made or opened in the directory.
    void check_files() {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(directory_, error))
            EXPECT_EQ(entry.path().filename(), kScript) << "a file was made";
        for (const auto& fd : fs::directory_iterator("/proc/self/fd", error)) {
            fs::path target = fs::read_symlink(fd.path(), error);
            if (target.parent_path() == directory_) {
                EXPECT_EQ(target.filename(), kScript) << "a file was opened";
            }
        }
        EXPECT_LE(open_script_files(), 1);
    }

    fs::path directory_;
    std::mt19937 random_;
    std::string log_;
    bool quit_ = false;
    bool stream_maybe_open_ = false;  // the playback may hold the file open
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
    if (const char* seed = std::getenv("SKTCH_RANDOM_SEED")) {
        first = unsigned(std::strtoul(seed, nullptr, 10));
        sequences = 1;
    } else if (const char* n = std::getenv("SKTCH_RANDOM_SEQUENCES")) {
        sequences = std::atoi(n);
    }
    Tally tally;
    for (int i = 0; i < sequences; ++i) {
        unsigned seed = first + unsigned(i);
        std::error_code ignored;
        fs::remove(directory / kScript, ignored);
        RandomRunMenu sequence(directory, seed, tally);
        if (!sequence.run(30)) {
            ADD_FAILURE() << "sequence with SKTCH_RANDOM_SEED=" << seed << ": " << sequence.log();
            break;
        }
    }
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
