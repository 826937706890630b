// Which command Enter sends in a dialog: the rule the core holds for every backend, seen
// through the headless backend, which presses the default button as soon as a dialog shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "sktch/headless.h"
#include "sktch/win32.h"

namespace {

struct Button {
    DWORD style;
    WORD id;
};

// A dialog template with one edit box (id 50) and the given buttons, in that order.
std::vector<std::uint16_t> dialog_with(std::initializer_list<Button> buttons) {
    std::vector<std::uint16_t> t;
    auto dword = [&](DWORD v) {
        t.push_back(WORD(v & 0xFFFF));
        t.push_back(WORD(v >> 16));
    };
    auto item = [&](DWORD style, WORD id, WORD atom) {
        if (t.size() % 2) t.push_back(0);  // items start on 4-byte boundaries
        dword(WS_CHILD | WS_VISIBLE | style);
        dword(0);                                           // extended style
        for (int v : {4, 4, 40, 12}) t.push_back(WORD(v));  // x, y, cx, cy
        t.push_back(id);
        t.push_back(0xFFFF);  // class by atom
        t.push_back(atom);
        t.push_back(0);  // no text
        t.push_back(0);  // no creation data
    };
    dword(WS_POPUP | WS_CAPTION);
    dword(0);
    t.push_back(WORD(buttons.size() + 1));
    for (int v : {0, 0, 100, 60}) t.push_back(WORD(v));
    t.push_back(0);  // no menu
    t.push_back(0);  // the standard dialog class
    t.push_back(0);  // no title
    item(ES_MULTILINE, 50, 0x0081);
    for (const Button& b : buttons) item(b.style, b.id, 0x0080);
    return t;
}

INT_PTR CALLBACK end_with_command(HWND dialog, UINT message, WPARAM w, LPARAM) {
    if (message != WM_COMMAND) return 0;
    EndDialog(dialog, INT_PTR(LOWORD(w)));
    return 1;
}

INT_PTR run(const std::vector<std::uint16_t>& t) {
    sktch::headless::reset();
    return DialogBoxIndirectParamA(nullptr, reinterpret_cast<LPCDLGTEMPLATEA>(t.data()), nullptr,
                                   end_with_command, 0);
}

TEST(Dialogs, EnterPressesTheDefaultPushButtonElseSendsIdOk) {
    constexpr DWORD kAutoCheckBox = 0x0003;  // shares BS_DEFPUSHBUTTON's bit, but is no push button
    EXPECT_EQ(run(dialog_with({})), IDOK);
    EXPECT_EQ(run(dialog_with({{BS_PUSHBUTTON, 7}, {kAutoCheckBox, 8}})), IDOK);
    EXPECT_EQ(run(dialog_with({{BS_PUSHBUTTON, 7}, {BS_DEFPUSHBUTTON, 9}})), 9);
    // Several buttons claiming it: the last one made is the default, as on Win32.
    EXPECT_EQ(run(dialog_with({{BS_DEFPUSHBUTTON, 7}, {BS_DEFPUSHBUTTON, 9}, {kAutoCheckBox, 8}})),
              9);
}

}  // namespace
