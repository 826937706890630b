// The header of a 32-bit top-down DIB section: rows from the top, a pixel 0x00RRGGBB, so
// that a program reads the bits as our own bitmaps hold them.
#pragma once

#include <windows.h>

inline BITMAPINFO top_down_32_bit_dib(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
