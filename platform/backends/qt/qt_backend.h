// The Qt backend's parts that its tests reach: the widgets that stand for a window, and the
// translation of Qt keys into Win32 virtual keys and typed characters.
#pragma once

#include <QMenuBar>
#include <QString>
#include <QWidget>

#include "sktch/win32.h"

namespace sktch::platform::qt {

// The top-level widget of a window, the widget that shows its client area, and its menu bar
// (null when the window has none). All are null for a window without a native one.
QWidget* window_widget(HWND window);
QWidget* client_widget(HWND window);
QMenuBar* menu_bar(HWND window);

// The Win32 virtual-key code of a Qt key (US layout for the symbols), 0 for none.
int virtual_key(int qt_key, Qt::KeyboardModifiers modifiers);
// The Latin-1 character a key press types, as TranslateMessage would report it; 0 for none.
unsigned char typed_character(int qt_key, Qt::KeyboardModifiers modifiers, const QString& text);

}  // namespace sktch::platform::qt
