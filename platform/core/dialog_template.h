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

// Reads at most `size` bytes; false when the template is cut short or malformed.
// Characters above 255 become '?'.
bool read_dialog_template(const void* data, std::size_t size, DialogTemplate& out);

}  // namespace sktch::platform
