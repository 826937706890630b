// An opened library with logging off, and ways to write, read and play its script file as a
// user and a program see them: the Run menu, the events, the file's bytes.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "library_fixture.h"
#include "sktch/run_menu.h"

namespace sktch::testing {

using Events = std::vector<Event>;
using Lines = std::vector<std::string>;

inline const char* const kScript = "SKTCH.SCR";
inline const Event kPeriodic{SKTCH_PERIODIC, 0, 0, 0};

inline void write_script(const std::string& bytes) {
    std::ofstream(kScript, std::ios::binary) << bytes;
}
inline std::string read_script() {
    std::ifstream in(kScript, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// How many of this process's open files are the script file of the current directory (or
// what it links to).
inline int open_script_files() {
    std::error_code error;
    std::filesystem::path script =
        std::filesystem::weakly_canonical(std::filesystem::current_path() / kScript, error);
    int n = 0;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", error))
        n += std::filesystem::read_symlink(fd.path(), error) == script;
    return n;
}

class Scripts : public OpenLibrary {
  protected:
    void SetUp() override {
        OpenLibrary::SetUp();
        SKTCH_logging(0);
        forget_printed();
    }

    bool checked(UINT item) const { return headless::menu_item_checked(graphics(), item); }
    void choose(UINT item) { headless::choose_menu_item(graphics(), item); }

    // Switches playback on and collects events until its check mark goes; the quit that
    // ends the collection (made when the program would wait) is not included.
    Events play_back() {
        choose(SKTCH_MENU_PLAYBACK);
        return played_until_the_mark_goes();
    }
    Events played_until_the_mark_goes() {
        // A playback never lets the program wait: a wait with the mark still on is one whose
        // playback stopped without taking it away.
        int waits = 0;
        headless::on_idle([this, &waits] {
            if (!checked(SKTCH_MENU_PLAYBACK)) {
                PostQuitMessage(0);
            } else if (++waits == 50) {
                ADD_FAILURE() << "the playback stopped, its check mark stayed";
                PostQuitMessage(0);
            }
        });
        Events events;
        for (Event e = await(); e.kind != SKTCH_QUIT && events.size() < 100000; e = await())
            events.push_back(e);
        headless::on_idle(nullptr);
        return events;
    }

    // Runs the wait with recording on for a sequence of inputs made by `drive`.
    void record(const std::function<void()>& drive) {
        choose(SKTCH_MENU_RECORD);
        drive();
        choose(SKTCH_MENU_RECORD);
        headless::type_char(graphics(), '.');
        await();  // the wait that dispatches the command stopping the recording
    }
};

}  // namespace sktch::testing
