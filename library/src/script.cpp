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

// Reads one line as fgets would into the buffer, but counts what it stores, so that a zero
// byte inside a line does not hide where the line ends: a line longer than the buffer is
// cut and the rest of it skipped. Returns the characters stored, 0 at end of file or on a
// read error.
int read_line(char (&line)[kLineSize]) {
    std::FILE* file = state.script_file;
    int n = 0;
    int c = 0;
    while (n < kLineSize - 1 && (c = std::getc(file)) != EOF) {
        line[n++] = char(c);
        if (c == '\n') break;
    }
    line[n] = '\0';
    if (n == kLineSize - 1 && line[n - 1] != '\n') {
        while ((c = std::getc(file)) != EOF && c != '\n') {
        }
    }
    return n;
}

// Opens the script file for playback unless it is open already. False, with the message,
// when it cannot be read: missing, a directory, or being written by the recording (a file
// cannot be read while it is written).
bool open_for_playback() {
    if (state.script_file && !state.script_writing) return true;
    std::FILE* file = nullptr;
    if (!state.script_file) {
        file = std::fopen(kScriptFileName, "rt");
        // A directory opens, but its first read fails.
        int c = file ? std::getc(file) : EOF;
        if (c != EOF)
            std::ungetc(c, file);
        else if (file && std::ferror(file)) {
            std::fclose(file);
            file = nullptr;
        }
    }
    if (!file) {
        SKTCH_printf("Cannot open script file %s for reading\n", kScriptFileName);
        return false;
    }
    state.script_file = file;
    state.script_writing = 0;
    state.playback_owed = 0;
    if (state.recording) {
        // Played while recording: the recording must not empty it once the playback is over.
        state.recording_blocked = 1;
        state.periodic_count = 0;
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
    if (kind != SKTCH_MOUSE && kind != SKTCH_KBD && kind != SKTCH_PERIODIC) return;
    // Writes to the playback's stream, or after this recording played the file, produce
    // nothing.
    if (state.recording_blocked || (state.script_file && !state.script_writing)) return;
    if (!state.script_file) {
        state.script_file = std::fopen(kScriptFileName, "wt");
        if (!state.script_file) {
            SKTCH_printf("Cannot open script file %s for writing\n", kScriptFileName);
            return;
        }
        state.script_writing = 1;
    }
    switch (kind) {
        case SKTCH_MOUSE:
            std::fprintf(state.script_file, "SKTCH_MOUSE(%d, %d);\n", x, y);
            break;
        case SKTCH_KBD:
            std::fprintf(state.script_file, "SKTCH_KBD(%d);\n", int(key));
            break;
        default:
            std::fprintf(state.script_file, "SKTCH_PERIODIC(%d);\n", state.periodic_count);
            break;
    }
    // Each line is on disk as soon as it is written: a program that dies keeps its script.
    std::fflush(state.script_file);
}

void flush_recorded_periodic() {
    if (state.periodic_count <= 0) return;
    record_event(SKTCH_PERIODIC, 0, 0, 0);
    state.periodic_count = 0;
}

void count_recorded_periodic() {
    if (state.recording_blocked) return;
    // A run as long as the count can hold is written and a new one begun.
    if (state.periodic_count == INT32_MAX) flush_recorded_periodic();
    ++state.periodic_count;
}

void start_recording() {
    state.recording = 1;
    state.periodic_count = 0;
    // The file open for playback, even between two Play One lines, is not written over.
    state.recording_blocked = state.script_file && !state.script_writing;
}

void stop_recording() {
    flush_recorded_periodic();
    state.recording = 0;
    state.recording_blocked = 0;
    if (state.script_writing) close_script_file();
}

int play_script_line() {
    if (!open_for_playback()) return 0;
    if (state.playback_owed > 0) {
        set_event(SKTCH_PERIODIC);
        --state.playback_owed;
        return 1;
    }

    char line[kLineSize];
    int length;
    while ((length = read_line(line)) > 0 && line[0] == '\n') {
    }
    if (length == 0) {
        if (std::feof(state.script_file))
            SKTCH_printf("EOF encountered in script file %s\n", kScriptFileName);
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
            state.playback_owed = std::max(0, std::int32_t(scan_number(line, at, false)) - 1);
            break;
        default:
            return 0;
    }
    return 1;
}

void start_playback() {
    state.animate_run = 0;
    state.single_step = 0;
    state.playing = 1;
    CheckMenuItem(state.run_menu, SKTCH_MENU_PLAYBACK, MF_CHECKED);
}

void stop_playback() {
    state.playing = 0;
    state.play_one = 0;
    CheckMenuItem(state.run_menu, SKTCH_MENU_PLAYBACK, MF_UNCHECKED);
}

void end_playback() {
    stop_playback();
    if (state.script_file && !state.script_writing) close_script_file();
}

void close_script_file() {
    if (state.script_file) {
        std::fclose(state.script_file);
        state.script_file = nullptr;
    }
    state.script_writing = 0;
    state.playback_owed = 0;
}

}  // namespace sktch
