// The process start-up of a program: main() hands the four classic values to WinMain and
// returns its result as the exit code.
#include <string>

#include "sktch/win32.h"

int main(int argc, char** argv) {
    std::string command_line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) command_line += ' ';
        command_line += argv[i];
    }
    auto* instance = reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000));
    return WinMain(instance, nullptr, command_line.data(), SW_SHOWNORMAL);
}
