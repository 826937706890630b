// Windows as the page shows them: a frame with a title, an optional menu bar and a canvas of
// the client size, kept in step with the core's window record.
#pragma once

#include <string>

#include "core/backend.h"

namespace sktch::platform::web {

int id_of(HWND window);
HWND handle_of(int id);

void created(HWND window, Window& w);
void destroyed(HWND window, Window& w);
void shown(HWND window, Window& w);
void menu(HWND window, Window& w);

// The backing store changed: copied to the canvas at the next present_all().
void mark_changed(Window& w);
// Copies every changed window's pixels to its canvas; done before the program sleeps.
void present_all();

// A dialog's title, style, place and controls as the page script reads them.
std::string dialog_json(const DialogDescription& description);

}  // namespace sktch::platform::web
