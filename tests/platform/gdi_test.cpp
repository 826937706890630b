// Device contexts, GDI objects and memory blocks: the bookkeeping the renderer relies on.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "plain_window.h"
#include "sktch/headless.h"
#include "sktch/win32.h"

namespace {

class Gdi : public testing::Test {
  protected:
    void SetUp() override {
        sktch::headless::reset();
        HDC screen = nullptr;
        surface = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, 601, 540);
        SelectObject(surface, bitmap);
    }
    HDC surface = nullptr;
    HBITMAP bitmap = nullptr;
};

TEST_F(Gdi, FreshContextHasBlackOnePixelPenAndWhiteBrush) {
    // A rectangle with the context's own objects: black frame, white inside.
    Rectangle(surface, 10, 10, 20, 20);
    EXPECT_EQ(GetPixel(surface, 10, 10), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(surface, 19, 15), RGB(0, 0, 0));
    EXPECT_EQ(GetPixel(surface, 15, 15), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(surface, 20, 15), RGB(0, 0, 0))
        << "right edge excluded (bitmap starts black)";
    EXPECT_EQ(GetBkMode(surface), OPAQUE);
    EXPECT_EQ(GetBkColor(surface), RGB(255, 255, 255));
    EXPECT_EQ(GetTextColor(surface), RGB(0, 0, 0));
}

TEST_F(Gdi, SelectReturnsThePreviousObjectSoItCanBeRestored) {
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ old = SelectObject(surface, red);
    EXPECT_EQ(old, GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(surface, old), red);
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_FALSE(DeleteObject(red)) << "a deleted handle is stale";
    EXPECT_EQ(SelectObject(surface, red), nullptr);
}

TEST_F(Gdi, ObjectDeletedWhileSelectedStaysUsableUntilReleased) {
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(surface, blue);
    EXPECT_TRUE(DeleteObject(blue));
    Rectangle(surface, 0, 0, 5, 5);
    EXPECT_EQ(GetPixel(surface, 2, 2), RGB(0, 0, 255));
    SelectObject(surface, old);
    EXPECT_FALSE(DeleteObject(blue)) << "gone once no context holds it";
}

TEST_F(Gdi, ObjectHeldByTwoContextsGoesWhenBothLetGo) {
    HDC other = CreateCompatibleDC(nullptr);
    HPEN green = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    HGDIOBJ old_here = SelectObject(surface, green);
    SelectObject(other, green);
    EXPECT_TRUE(DeleteObject(green));
    EXPECT_TRUE(DeleteObject(green)) << "deleting again while pending changes nothing";
    EXPECT_EQ(SelectObject(surface, green), nullptr) << "a pending object cannot be selected anew";

    SelectObject(surface, old_here);
    LineTo(other, 0, 0);  // still held by the other context, still usable there
    EXPECT_TRUE(DeleteObject(green)) << "one context still holds it";
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_FALSE(DeleteObject(green)) << "gone with the last context that held it";

    // Fresh objects delete at once again.
    HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush));
}

TEST_F(Gdi, StockObjectsSurviveDeletion) {
    HGDIOBJ hollow = GetStockObject(NULL_BRUSH);
    EXPECT_TRUE(DeleteObject(hollow));
    EXPECT_EQ(GetStockObject(NULL_BRUSH), hollow);
    EXPECT_NE(SelectObject(surface, hollow), nullptr);
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(1000), nullptr);
}

TEST_F(Gdi, ManyCreateDeleteCyclesReuseHandles) {
    HPEN first = CreatePen(PS_SOLID, 1, 0);
    DeleteObject(first);
    for (int i = 0; i < 100000; ++i) {
        HPEN pen = CreatePen(PS_SOLID, 1, 0);
        HBRUSH brush = CreateSolidBrush(0);
        HGDIOBJ old_pen = SelectObject(surface, pen);
        HGDIOBJ old_brush = SelectObject(surface, brush);
        SelectObject(surface, old_pen);
        SelectObject(surface, old_brush);
        ASSERT_TRUE(DeleteObject(pen));
        ASSERT_TRUE(DeleteObject(brush));
    }
    HPEN last = CreatePen(PS_SOLID, 1, 0);
    EXPECT_LT(std::uintptr_t(last) & 0xFFFFF, 16u) << "slots are reused, not leaked";
}

TEST_F(Gdi, ContextsReleaseOnceAndStaleOnesDoNothing) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_FALSE(Rectangle(dc, 0, 0, 10, 10));
    EXPECT_EQ(SetPixel(dc, 1, 1, 0), CLR_INVALID);
    EXPECT_EQ(ReleaseDC(nullptr, dc), 0);
    EXPECT_FALSE(Rectangle(nullptr, 0, 0, 10, 10));
}

TEST_F(Gdi, BitBltCopiesBetweenContextsClipped) {
    HDC other = CreateCompatibleDC(nullptr);
    HBITMAP small = CreateCompatibleBitmap(nullptr, 10, 10);
    SelectObject(other, small);
    SetPixel(surface, 600, 539, RGB(1, 2, 3));
    SetPixel(surface, 0, 0, RGB(4, 5, 6));
    EXPECT_TRUE(BitBlt(other, 0, 0, 601, 540, surface, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(other, 0, 0), RGB(4, 5, 6));
    EXPECT_TRUE(BitBlt(other, -595, -534, 601, 540, surface, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(other, 5, 5), RGB(1, 2, 3));
    EXPECT_FALSE(BitBlt(other, 0, 0, 5, 5, surface, 0, 0, 0x42));  // only SRCCOPY
}

TEST_F(Gdi, BitmapsAreNotSelectedIntoTwoContexts) {
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, bitmap), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 0, 10), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, -5, 10), nullptr);
}

TEST_F(Gdi, ExtremeCoordinatesAndWidthsAreClipped) {
    HPEN huge = CreatePen(PS_SOLID, 1000000, RGB(255, 0, 0));
    SelectObject(surface, huge);
    EXPECT_TRUE(MoveToEx(surface, INT_MIN, INT_MIN, nullptr));
    EXPECT_TRUE(LineTo(surface, INT_MAX, INT_MAX));
    EXPECT_EQ(GetPixel(surface, 300, 270), RGB(255, 0, 0));
    EXPECT_TRUE(Rectangle(surface, INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_TRUE(Ellipse(surface, INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    POINT far[3] = {{INT_MIN, INT_MIN}, {INT_MAX, INT_MIN}, {0, INT_MAX}};
    EXPECT_TRUE(Polygon(surface, far, 3));
    EXPECT_EQ(SetPixel(surface, INT_MIN, 0, 0), CLR_INVALID);
}

TEST_F(Gdi, NullPenRectangleFillsOnlyTheInterior) {
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    SelectObject(surface, green);
    SelectObject(surface, GetStockObject(NULL_PEN));
    Rectangle(surface, 10, 10, 20, 21);
    EXPECT_EQ(GetPixel(surface, 10, 10), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(surface, 18, 19), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(surface, 19, 19), RGB(0, 0, 0)) << "one short on the right";
    EXPECT_EQ(GetPixel(surface, 18, 20), RGB(0, 0, 0)) << "one short at the bottom";
}

// A window's whole-area scrolls leave rows owing their old pixels until something looks at
// them or paints them over: every way of looking or painting must find what a memory
// bitmap, scrolled at once, holds.
TEST_F(Gdi, WindowScrollsShowWhatABitmapScrolledAtOnceShows) {
    HWND window = sktch::test_support::plain_window("Scrolled", WS_CAPTION, 120, 100);
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right, h = client.bottom;
    ASSERT_GT(h, 40);
    HDC on_window = GetDC(window);
    HDC on_bitmap = CreateCompatibleDC(nullptr);
    SelectObject(on_bitmap, CreateCompatibleBitmap(nullptr, w, h));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    for (HDC dc : {on_window, on_bitmap}) {
        for (int y = 0; y < h; ++y) {  // every row its own colour
            HPEN pen = CreatePen(PS_SOLID, 1, RGB(y, 255 - y, y * 7));
            HGDIOBJ old = SelectObject(dc, pen);
            MoveToEx(dc, 0, y, nullptr);
            LineTo(dc, w, y);
            SelectObject(dc, old);
            DeleteObject(pen);
        }
        SelectObject(dc, GetStockObject(NULL_PEN));
        SelectObject(dc, blue);
    }
    auto same = [&](const char* step) {
        const sktch::headless::Pixels shown = sktch::headless::window_pixels(window);
        int differing = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF c = GetPixel(on_bitmap, x, y);
                differing += shown.at(x, y) !=
                             std::uint32_t(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
            }
        EXPECT_EQ(differing, 0) << step;
    };
    // Each step on both contexts, then the window compared with the bitmap.
    auto step = [&](const char* name, auto&& what) {
        for (HDC dc : {on_window, on_bitmap}) what(dc);
        same(name);
    };
    // A text window's steps: lines of text, each scrolled up and a new strip cleared in the
    // background colour (white).
    HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
    auto new_line = [&](HDC dc, const std::string& text, int x) {
        ScrollDC(dc, 0, -13, nullptr, nullptr, nullptr, nullptr);
        HGDIOBJ old = SelectObject(dc, white);
        Rectangle(dc, 0, h - 13, w + 1, h + 1);
        SelectObject(dc, old);
        TextOutA(dc, x, h - 13, text.c_str(), int(text.size()));
    };
    step("a full erase, then lines of text", [&](HDC dc) {
        if (dc == on_window) {
            InvalidateRect(window, nullptr, TRUE);
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
        } else {
            HGDIOBJ old = SelectObject(dc, white);
            Rectangle(dc, 0, 0, w + 1, h + 1);
            SelectObject(dc, old);
        }
        for (int i = 0; i < 3 * h / 13; ++i)
            new_line(dc, std::string(std::size_t(i * 7 % 40), char('A' + i % 26)), i % 4 * 9 - 9);
        new_line(dc, std::string(200, 'W'), 0);  // wider than the window
        new_line(dc, "", 0);
    });
    step("written, up, looked at, then cleared and written", [&](HDC dc) {
        TextOutA(dc, 0, h - 13, "MMMMMM", 6);
        ScrollDC(dc, 0, -13, nullptr, nullptr, nullptr, nullptr);
        if (dc == on_window) sktch::headless::window_pixels(window);
        HGDIOBJ old = SelectObject(dc, white);
        Rectangle(dc, 0, h - 13, w + 1, h + 1);
        SelectObject(dc, old);
        TextOutA(dc, 0, h - 13, "X", 1);
    });
    step("a line, then a white fill short of the right edge", [&](HDC dc) {
        new_line(dc, "MMMMMMMMMMMMMMMMMMMMMMMM", 5);
        HGDIOBJ old = SelectObject(dc, white);
        Rectangle(dc, 0, h - 40, w - 10, h + 1);
        SelectObject(dc, old);
        new_line(dc, "WWW", 5);
    });
    step("up", [&](HDC dc) { ScrollDC(dc, 0, -7, nullptr, nullptr, nullptr, nullptr); });
    step("up, then a fill over the uncovered rows", [&](HDC dc) {
        ScrollDC(dc, 0, -7, nullptr, nullptr, nullptr, nullptr);
        Rectangle(dc, 0, h - 7, w + 1, h + 1);
    });
    step("up, then fills over part of them", [&](HDC dc) {
        ScrollDC(dc, 0, -9, nullptr, nullptr, nullptr, nullptr);
        Rectangle(dc, 3, h - 9, w + 1, h + 1);  // not the first columns
        ScrollDC(dc, 0, -9, nullptr, nullptr, nullptr, nullptr);
        Rectangle(dc, 0, h - 8, w + 1, h + 1);  // not the first row
        ScrollDC(dc, 0, -9, nullptr, nullptr, nullptr, nullptr);
        Rectangle(dc, 0, h - 9, w, h + 1);  // not the last column
    });
    step("down twice, then a pixel read", [&](HDC dc) {
        ScrollDC(dc, 0, 5, nullptr, nullptr, nullptr, nullptr);
        ScrollDC(dc, 0, 11, nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(GetPixel(dc, 2, 3), GetPixel(dc, 2, 19));
    });
    step("up, then drawn over and copied from", [&](HDC dc) {
        ScrollDC(dc, 0, -h / 2, nullptr, nullptr, nullptr, nullptr);
        Ellipse(dc, 10, h - 30, 50, h + 10);
        BitBlt(dc, 60, 0, 30, h, dc, 0, h - 20, SRCCOPY);
    });
    step("more than half, then up by one", [&](HDC dc) {
        ScrollDC(dc, 0, -(h / 2 + 1), nullptr, nullptr, nullptr, nullptr);
        ScrollDC(dc, 0, -1, nullptr, nullptr, nullptr, nullptr);
    });
    ReleaseDC(window, on_window);
    DeleteDC(on_bitmap);
    DeleteObject(blue);
    DeleteObject(white);
}

// A window shows a bitmap as it was when copied whole onto the window, however the bitmap
// changes afterwards, until the next copy: read back, drawn on, or with the bitmap deleted.
// The bitmap is the window's size, or larger as the library's surface is.
TEST_F(Gdi, WindowKeepsWhatABitmapShowedWhenCopied) {
    HWND window = sktch::test_support::plain_window("Shown", WS_CAPTION, 120, 100);
    RECT client;
    GetClientRect(window, &client);
    const int w = client.right, h = client.bottom;
    HDC on_window = GetDC(window);
    auto pixels_of = [&](HDC dc, int width, int height) {
        std::vector<COLORREF> p;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) p.push_back(GetPixel(dc, x, y));
        return p;
    };
    auto shown = [&] {
        const sktch::headless::Pixels s = sktch::headless::window_pixels(window);
        std::vector<COLORREF> p;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t c = s.at(x, y);
                p.push_back(RGB(c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF));
            }
        return p;
    };
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    HPEN red = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
    for (const int larger : {0, 6}) {
        SCOPED_TRACE(larger);
        const int bw = w + larger, bh = h + larger;
        // The frame is shown; the reference gets the same drawing and is never shown.
        HDC frame = CreateCompatibleDC(nullptr), reference = CreateCompatibleDC(nullptr);
        HBITMAP frame_bitmap = CreateCompatibleBitmap(nullptr, bw, bh);
        SelectObject(frame, frame_bitmap);
        HGDIOBJ old = SelectObject(reference, CreateCompatibleBitmap(nullptr, bw, bh));
        auto draw = [&](auto&& what) {
            for (HDC dc : {frame, reference}) what(dc);
        };
        auto show = [&] {
            EXPECT_TRUE(BitBlt(on_window, 0, 0, bw, bh, frame, 0, 0, SRCCOPY));
            return pixels_of(reference, w, h);
        };
        draw([&](HDC dc) {
            SelectObject(dc, red);
            Ellipse(dc, 5, 5, 60, 50);
            LineTo(dc, bw, bh);
            SelectObject(dc, green);
        });
        for (int frames = 0; frames < 2; ++frames) {
            std::vector<COLORREF> copied = show();
            // A frame painted over a background that leaves a border, as a program animates.
            draw([&](HDC dc) { Rectangle(dc, 3, 2, bw - 4, bh - 5); });
            EXPECT_EQ(shown(), copied) << "drawn after the copy by a fill";
            draw([&](HDC dc) { Ellipse(dc, 20 + frames, 20, 90, 70); });
            EXPECT_EQ(pixels_of(frame, bw, bh), pixels_of(reference, bw, bh))
                << "the bitmap kept its own pixels";
        }
        std::vector<COLORREF> copied = show();
        EXPECT_EQ(shown(), copied);
        draw([&](HDC dc) { LineTo(dc, 0, 0); });
        EXPECT_EQ(GetPixel(on_window, 10, 10), copied[10 * w + 10]) << "drawn after by a line";
        copied = show();
        SetPixel(on_window, 1, 1, RGB(1, 2, 3));
        copied[w + 1] = RGB(1, 2, 3);
        EXPECT_EQ(shown(), copied) << "drawn on the window after the copy";
        show();
        copied = show();
        DeleteDC(frame);
        DeleteObject(frame_bitmap);
        EXPECT_EQ(shown(), copied) << "the bitmap deleted after the copy";
        DeleteObject(SelectObject(reference, old));
        DeleteDC(reference);
    }
    ReleaseDC(window, on_window);
    DeleteObject(green);
    DeleteObject(red);
}

TEST(MemoryBlocks, HandlesAreSmallAndLockToStableMemory) {
    sktch::headless::reset();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 6);
    ASSERT_NE(block, 0u);
    EXPECT_LE(block, HGLOBAL(INT32_MAX)) << "fits a signed 32-bit field";
    char* p = static_cast<char*>(GlobalLock(block));
    ASSERT_NE(p, nullptr);
    std::memcpy(p, "hello", 6);
    GlobalUnlock(block);
    EXPECT_STREQ(static_cast<char*>(GlobalLock(block)), "hello");
    GlobalUnlock(block);
    EXPECT_EQ(GlobalSize(block), 6u);
    EXPECT_EQ(GlobalFree(block), 0u);
    EXPECT_EQ(GlobalLock(block), nullptr) << "freed";
    EXPECT_EQ(GlobalFree(block), block) << "a second free fails";
    EXPECT_EQ(GlobalLock(0), nullptr);
}

TEST(Menus, CheckMarksAreFoundInPopupsByCommandId) {
    sktch::headless::reset();
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 4, "&Logging\tCtrl+L");
    AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup, MF_STRING | MF_CHECKED, 5, "&Record");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&Run");
    EXPECT_EQ(CheckMenuItem(bar, 4, MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(popup, 4, MF_UNCHECKED), DWORD(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(popup, 5, MF_UNCHECKED), DWORD(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(popup, 0, MF_CHECKED), DWORD(-1)) << "separators have no id";
    EXPECT_EQ(CheckMenuItem(popup, 99, MF_CHECKED), DWORD(-1));
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_EQ(CheckMenuItem(popup, 4, MF_CHECKED), DWORD(-1)) << "popups go with their bar";
}

}  // namespace
