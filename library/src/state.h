// The library's single global state record and its internal routines.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "sktch.h"
#include "sktch/run_menu.h"

namespace sktch {

constexpr int kSurfaceWidth = 601;
constexpr int kSurfaceHeight = 540;
constexpr int kLogLines = 25;
constexpr const char* kScriptFileName = "SKTCH.SCR";

struct LibraryState {
    HWND graphics_window = nullptr;
    HWND text_window = nullptr;
    HINSTANCE instance = nullptr;
    HMENU run_menu = nullptr;
    HDC window_dc = nullptr;
    HDC surface_dc = nullptr;
    HBITMAP surface_bitmap = nullptr;
    std::int32_t origin_x = 0;
    std::int32_t origin_y = 0;
    std::uint32_t surface_dirty = 1;
    std::uint8_t logging = 1;
    std::uint8_t animate_run = 0;
    std::uint8_t single_step = 0;
    std::uint32_t timer_fired = 0;
    std::uint8_t quit_requested = 0;
    std::uint8_t recording = 0;
    std::uint8_t playing = 0;
    std::uint8_t play_one = 0;
    std::uint32_t ctrl_down = 0;
    std::int32_t event_kind = 0;
    std::int32_t event_x = 0;
    std::int32_t event_y = 0;
    std::int8_t event_key = 0;
    std::int32_t periodic_count = 0;  // the recording's periodic events not yet written
    std::FILE* script_file = nullptr;
    // Who opened script_file: the recording ("wt") or the playback ("rt"). Each side uses
    // only a stream it opened itself.
    std::uint8_t script_writing = 0;
    // Periodic events the playback still owes from its last SKTCH_PERIODIC line.
    std::int32_t playback_owed = 0;
    // The script file was played while this recording was on: the recording writes nothing
    // until it is switched off, so that the played file is never emptied.
    std::uint8_t recording_blocked = 0;
    std::int32_t log_first = -1;
    std::int32_t log_next = 0;
    HGLOBAL log_lines[kLogLines] = {};
    char* gets_buffer = nullptr;
};

extern LibraryState state;

// The event record that travels with an event.
struct EventRecord {
    std::int32_t x;
    std::int32_t y;
    std::int8_t key;
};

// One drawing command: nine 32-bit fields, filled by a drawing call and rendered at once.
struct DrawCommand {
    std::int32_t kind;  // 0 triangle, 1 rectangle, 2 oval, 3 line, 4 pixel, 5 text
    std::int32_t color;
    std::int32_t width;
    std::int32_t x1, y1;
    std::int32_t x2, y2;  // text: x2 the size, y2 the memory block holding the string
    std::int32_t x3, y3;
};
// A text command's memory block travels in its 32-bit y2 field. Where a handle is 32 bits
// wide the field is the handle itself; where it is pointer-sized (64-bit Windows) the field
// is the number of a slot in a small table of the blocks that commands carry right now.
// A field that names no live block gives a null handle, and so draws nothing.
std::int32_t text_block_field(HGLOBAL block);
HGLOBAL text_block_from_field(std::int32_t field);
void release_text_block_field(std::int32_t field);

enum DrawKind { kTriangle = 0, kRectangle = 1, kOval = 2, kLine = 3, kPixel = 4, kText = 5 };

struct ColorEntry {
    COLORREF rgb;
    const char* name;
};
extern const ColorEntry color_table[24];

// Event wait.
int pump_one_message();
int wait_for_event(EventRecord* record);

// Window procedures.
LRESULT CALLBACK graphics_window_proc(HWND window, UINT message, WPARAM w, LPARAM l);
LRESULT CALLBACK text_window_proc(HWND window, UINT message, WPARAM w, LPARAM l);
void show_text_window(int show);

// Drawing and the text window.
void render_command(const DrawCommand* command);
int check_color(int color);
void show_log_line(char* line);
// Formats into a line buffer, cut at 1023 characters; returns the characters kept (or the
// formatter's negative result on an encoding error). A null format gives an empty line.
int format_line(char (&buffer)[1024], const char* format, std::va_list args);

// Scripts.
void record_event(int kind, std::int32_t x, std::int32_t y, std::int8_t key);
// Counts one periodic event into the recording's pending run.
void count_recorded_periodic();
// Writes the recording's pending periodic run, if any, and starts a new one.
void flush_recorded_periodic();
void start_recording();
void stop_recording();
int play_script_line();
void start_playback();
void stop_playback();
// Playback switched off: stops it and forgets its place in the file.
void end_playback();
void close_script_file();

// Line input: the dialog template SKTCH_gets shows for a prompt.
void build_gets_template(unsigned char (&bytes)[292], const char* prompt);

// Puts the record back to how the process starts; for tests that open the library again.
void reset_state();

}  // namespace sktch
