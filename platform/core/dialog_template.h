// Reading an in-memory dialog template: a DLGTEMPLATE header and its DLGITEMTEMPLATE items,
// strings in 16-bit characters, each item on a 4-byte boundary.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "sktch/win32.h"

namespace sktch::platform {

struct DialogControl {
    enum class Kind { Button, Edit, Static, Other } kind = Kind::Other;
    WORD id = 0;
    DWORD style = 0;
    RECT units{};  // in dialog units, relative to the dialog's client area
    RECT rect{};   // in pixels, filled in when the dialog is made
    std::string text;
};

struct DialogTemplate {
    DWORD style = 0;
    RECT units{};  // in dialog units
    RECT rect{};   // in pixels, relative to the owner's client area
    std::string title;
    std::vector<DialogControl> controls;
};

// The dialog's default push button (BS_DEFPUSHBUTTON), which Enter presses; null when it has
// none. As on Win32, when several buttons claim it the last one is the default and the
// others are shown as plain push buttons.
const DialogControl* default_button(const DialogTemplate& dialog);
// The command Enter sends: the default button's id, else IDOK.
WORD default_command(const DialogTemplate& dialog);

// Reads at most `size` bytes; false when the template is cut short or malformed.
// Characters above 255 become '?'.
bool read_dialog_template(const void* data, std::size_t size, DialogTemplate& out);

}  // namespace sktch::platform
