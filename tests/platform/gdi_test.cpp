// Device contexts, GDI objects and memory blocks: the bookkeeping the renderer relies on.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

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
