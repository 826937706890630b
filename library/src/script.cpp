// Script files: recording the events the wait returns, and playing them back in place of
// the user. One stream serves both, opened by whichever side needs it first.
//
// Lines:  SKTCH_MOUSE(x, y);   SKTCH_KBD(key);   SKTCH_PERIODIC(count);
// The reader tells them apart by the character at index 6 and scans for the numbers, so
// spacing and the closing ");" do not matter.
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "state.h"

namespace sktch {
namespace {

constexpr int kLineSize = 512;
constexpr int kNumberSize = 12;  // 11 characters and the terminator

bool is_digit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Finds the next number at or after `at`: a run of digits, with a leading '-' when
// `signed_number`. Returns its value (0 when the line has none) and moves `at` past it.
// Runs longer than the scratch string are cut to its 11 characters.
long scan_number(const char* line, int& at, bool signed_number) {
    auto starts = [&](int i) { return is_digit(line[i]) || (signed_number && line[i] == '-'); };
    while (line[at] && !starts(at)) ++at;
    if (!line[at]) return 0;
    char scratch[kNumberSize];
    int n = 0;
    auto continues = [&](int i) { return is_digit(line[i]) || (signed_number && line[i] == '-'); };
    while (line[at] && continues(at)) {
        if (n < kNumberSize - 1) scratch[n++] = line[at];
        ++at;
    }
    scratch[n] = '\0';
    return std::clamp<long>(std::atol(scratch), INT32_MIN, INT32_MAX);
}

// Reads one line into `line`; a line longer than the buffer is cut and the rest of it
// skipped. False at end of file or on a read error.
bool read_line(char (&line)[kLineSize]) {
    if (!std::fgets(line, kLineSize, state.script_file)) return false;
    std::size_t length = std::strlen(line);
    if (length == kLineSize - 1 && line[length - 1] != '\n') {
        int c;
        while ((c = std::fgetc(state.script_file)) != EOF && c != '\n') {
        }
    }
    return true;
}

// A played event replaces whatever input came in the same pass (a click during playback
// sets x and y): the values its line does not give are 0, as for any event.
void set_event(int kind) {
    state.event_kind = kind;
    state.event_x = 0;
    state.event_y = 0;
    state.event_key = 0;
}

}  // namespace

void record_event(int kind, std::int32_t x, std::int32_t y, std::int8_t key) {
    if (!state.script_file) {
        state.script_file = std::fopen(kScriptFileName, "wt");
        if (!state.script_file) {
            SKTCH_printf("Cannot open script file %s for writing\n", kScriptFileName);
            return;
        }
    }
    switch (kind) {
        case SKTCH_MOUSE:
            std::fprintf(state.script_file, "SKTCH_MOUSE(%d, %d);\n", x, y);
            break;
        case SKTCH_KBD:
            std::fprintf(state.script_file, "SKTCH_KBD(%d);\n", int(key));
            break;
        case SKTCH_PERIODIC:
            std::fprintf(state.script_file, "SKTCH_PERIODIC(%d);\n", state.periodic_count);
            break;
        default:
            return;
    }
    // Each line is on disk as soon as it is written: a program that dies keeps its script.
    std::fflush(state.script_file);
}

int play_script_line() {
    if (!state.script_file) {
        state.script_file = std::fopen(kScriptFileName, "rt");
        if (!state.script_file) {
            SKTCH_printf("Cannot open script file %s for reading\n", kScriptFileName);
            stop_playback();
            return 0;
        }
    }
    if (state.periodic_count > 0) {
        set_event(SKTCH_PERIODIC);
        --state.periodic_count;
        return 1;
    }

    char line[kLineSize];
    bool got;
    while ((got = read_line(line)) && line[0] == '\n') {
    }
    if (!got) {
        if (!std::feof(state.script_file)) return 0;  // a read error: no event
        SKTCH_printf("EOF encountered in script file %s\n", kScriptFileName);
        stop_playback();
        // Closed, so that the next playback starts again from the top.
        close_script_file();
        return 0;
    }

    if (std::strlen(line) < 7) return 0;
    int at = 6;
    switch (line[6]) {
        case 'M':
            set_event(SKTCH_MOUSE);
            state.event_x = std::int32_t(scan_number(line, at, true));
            state.event_y = std::int32_t(scan_number(line, at, true));
            break;
        case 'K':
            set_event(SKTCH_KBD);
            state.event_key = static_cast<std::int8_t>(scan_number(line, at, true) & 0xFF);
            break;
        case 'P':
            set_event(SKTCH_PERIODIC);
            state.periodic_count = std::int32_t(scan_number(line, at, false) - 1);
            break;
        default:
            return 0;
    }
    return 1;
}

void stop_playback() {
    state.playing = 0;
    state.play_one = 0;
    CheckMenuItem(state.run_menu, 6, MF_UNCHECKED);
}

void close_script_file() {
    if (state.script_file) {
        std::fclose(state.script_file);
        state.script_file = nullptr;
    }
}

}  // namespace sktch
