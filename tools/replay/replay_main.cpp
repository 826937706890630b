// sktch-replay: runs a program built on SKTCH without a screen, plays a recorded script
// into it from its first wait (as if Ctrl+P were pressed at start), and when the script
// has been played writes what the graphics window shows as a PNG, then quits the program.
//
// This file is the program's main(); link it, the program's own code and sktch_headless
// into one executable to make a replay tool for that program. It uses the library only as
// any program does, and plays the user through the headless driver.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "sktch.h"
#include "sktch/headless.h"
#include "sktch/run_menu.h"

namespace {

namespace fs = std::filesystem;

const char* program_name = "sktch-replay";
const char* const kScriptFileName = "SKTCH.SCR";

// Exit statuses of the tool's own, beside the program's.
constexpr int kFailed = 1;
constexpr int kUsage = 2;
constexpr int kStoppedEarly = 3;

void print_usage(std::FILE* to) {
    std::fprintf(to,
                 "Usage: %s SCRIPT OUTPUT.png [TEXT.png]\n"
                 "\n"
                 "Runs the program without a screen, plays SCRIPT back into it from its first\n"
                 "wait, as if Ctrl+P were pressed at start, and writes the graphics window's\n"
                 "picture to OUTPUT.png once the whole script has been played; then the\n"
                 "program is told to quit. With TEXT.png it also writes what the text window\n"
                 "shows.\n"
                 "\n"
                 "SCRIPT is a script file as the Run menu's \"Record Script\" writes it\n"
                 "(SKTCH.SCR): one event a line, SKTCH_MOUSE(x, y); SKTCH_KBD(key); or\n"
                 "SKTCH_PERIODIC(count);. Time runs on a virtual clock, so a replay takes\n"
                 "as long as the program's own work, not the recorded time.\n"
                 "\n"
                 "Environment: SKTCH_REPLAY_ANSWER, when set, is typed into the program's\n"
                 "first line-input dialog (SKTCH_gets); without it, and for any later\n"
                 "dialog, the answer is an empty line.\n"
                 "\n"
                 "Exit status: the program's own once the whole script has played; 1 when\n"
                 "the script cannot be read, the picture cannot be written, or the program\n"
                 "ends before the script does; 2 for wrong arguments; 3 when the playback\n"
                 "stops early at a line it cannot read (a line that is not blank and has no\n"
                 "M, K or P at index 6): that line's number and text are printed, and the\n"
                 "picture of where it stopped is still written.\n",
                 program_name);
}

int fail(const std::string& message, int status = kFailed) {
    std::fprintf(stderr, "%s: %s\n", program_name, message.c_str());
    return status;
}

struct ScriptLine {
    int number;        // counted from 1
    std::string text;  // without its newline
};

// The line at which a playback of the whole script stops before the end of the file, if
// any: the library skips blank lines and plays a line by the character at index 6 of its
// text (which ends at a zero byte), so the first other line without M, K or P there.
std::optional<ScriptLine> line_that_stops_playback(const fs::path& script) {
    std::ifstream in(script, std::ios::binary);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty()) continue;
        std::string text = line.substr(0, line.find('\0'));
        if (text.size() < 7 || (text[6] != 'M' && text[6] != 'K' && text[6] != 'P'))
            return ScriptLine{number, line};
    }
    return std::nullopt;
}

// A line as it can be shown on one terminal line: other bytes as '?', cut at 80.
std::string printable(const std::string& line) {
    std::string shown;
    for (char c : line.substr(0, 80)) shown += c >= ' ' && c <= '~' ? c : '?';
    return line.size() > 80 ? shown + "..." : shown;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        print_usage(stdout);
        return 0;
    }
    if (argc != 3 && argc != 4) {
        print_usage(stderr);
        return kUsage;
    }

    std::error_code error;
    fs::path script = fs::absolute(argv[1], error);
    fs::path output = fs::absolute(argv[2], error);
    fs::path text_output = argc == 4 ? fs::absolute(argv[3], error) : fs::path();
    std::ifstream script_in(script, std::ios::binary);
    if (!script_in || fs::is_directory(script, error))
        return fail("cannot read script file " + std::string(argv[1]) + ": " +
                    std::strerror(errno ? errno : EISDIR));
    bool output_existed = fs::exists(output, error);
    bool text_output_existed = !text_output.empty() && fs::exists(text_output, error);
    for (int i = 2; i < argc; ++i) {
        std::ofstream probe(i == 2 ? output : text_output, std::ios::binary | std::ios::app);
        if (!probe) {
            int cause = errno;
            if (i == 3 && !output_existed) fs::remove(output, error);
            return fail("cannot write " + std::string(argv[i]) + ": " + std::strerror(cause));
        }
    }
    auto give_up = [&](const std::string& message) {
        if (!output_existed) fs::remove(output, error);
        if (!text_output.empty() && !text_output_existed) fs::remove(text_output, error);
        return fail(message);
    };

    // The program reads its script as SKTCH.SCR in its current directory: give it a
    // directory of its own holding a copy, so nothing of the caller's is read or written.
    char pattern[] = "/tmp/sktch-replay-XXXXXX";
    if (!mkdtemp(pattern))
        return give_up(std::string("cannot make a work directory: ") + std::strerror(errno));
    fs::path work = pattern;
    fs::copy_file(script, work / kScriptFileName, error);
    if (error) return give_up("cannot copy the script: " + error.message());
    fs::current_path(work, error);

    std::optional<ScriptLine> stop_line = line_that_stops_playback(script);

    bool started = false;
    bool written = false;
    bool write_failed = false;
    std::string unwritten = argv[2];  // the picture that could not be written
    sktch::headless::on_idle([&] {
        HWND graphics = sktch::headless::find_window("SKTCH Graphics");
        if (!graphics || written || write_failed) return;
        if (!started) {
            // The program's first wait: start the playback as the Run menu would.
            started = true;
            PostMessageA(graphics, WM_COMMAND, SKTCH_MENU_PLAYBACK, 0);
            return;
        }
        // A playback never lets the program wait: its check mark goes when it stops.
        if (sktch::headless::menu_item_checked(graphics, SKTCH_MENU_PLAYBACK)) return;
        written = sktch::headless::save_window_png(graphics, output.string());
        if (written && !text_output.empty()) {
            written = sktch::headless::save_window_png(sktch::headless::find_window("SKTCH Text"),
                                                       text_output.string());
            if (!written) unwritten = argv[3];
        }
        write_failed = !written;
        PostQuitMessage(0);
    });

    if (const char* answer = std::getenv("SKTCH_REPLAY_ANSWER"))
        sktch::headless::answer_next_dialog(answer);

    int result = WinMain(reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000)), nullptr,
                         const_cast<char*>(""), SW_SHOWNORMAL);

    fs::current_path("/", error);
    fs::remove_all(work, error);
    if (write_failed) return give_up("cannot write " + unwritten);
    if (!written) return give_up("the program ended before the script was played");
    if (stop_line)
        return fail("the playback stopped at line " + std::to_string(stop_line->number) + " of " +
                        argv[1] + ", which it cannot read: " + printable(stop_line->text),
                    kStoppedEarly);
    return result;
}
