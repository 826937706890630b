// The ids of the graphics window's Run menu commands and of its periodic timer: the values
// its WM_COMMAND and WM_TIMER messages carry. A program has no need of them; tools and
// tests that play the user (choosing a command, reading a check mark) name them from here.
#pragma once

enum {
    SKTCH_MENU_ANIMATE = 1,   // "&Animate\tCtrl+A"
    SKTCH_MENU_HALT = 2,      // "&Halt animation\tCtrl+H"
    SKTCH_MENU_ADVANCE = 3,   // "Advance one &frame\tCtrl+F"
    SKTCH_MENU_LOGGING = 4,   // "&Logging\tCtrl+L", checked while logging is on
    SKTCH_MENU_RECORD = 5,    // "&Record Script\tCtrl+R", checked while recording
    SKTCH_MENU_PLAYBACK = 6,  // "&Playback Script\tCtrl+P", checked while a script plays
    SKTCH_MENU_PLAY_ONE = 7,  // "Play &One Script\tCtrl+O"
    SKTCH_MENU_QUIT = 8,      // "&Quit\tCtrl+Q"
    SKTCH_MENU_CONTACT = 9,   // the greyed contact lines
};

// The graphics window's 100 millisecond timer, which makes the periodic events.
enum { SKTCH_PERIODIC_TIMER = 2 };
