// Asks for a line with SKTCH_gets and writes what came back, between brackets, to the file
// named on its command line (default "answer.txt"); then ends with the dialog's result.
#include <cstdio>

#include "sktch.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
    SKTCH_open(instance, previous, command_line, show);
    char buffer[256] = "untouched";
    int shown = SKTCH_gets("Type a word and press Enter", buffer);
    const char* path = command_line && *command_line ? command_line : "answer.txt";
    if (std::FILE* out = std::fopen(path, "w")) {
        std::fprintf(out, "[%s] %d\n", buffer, shown);
        std::fclose(out);
    }
    SKTCH_close();
    return shown ? 0 : 3;
}
