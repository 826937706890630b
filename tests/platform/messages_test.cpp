// The message queue's rules, the windows' first messages and the timer, on the headless
// backend's virtual clock.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "plain_window.h"
#include "sktch/headless.h"
#include "sktch/win32.h"

namespace {

std::vector<UINT> seen;  // messages the test window's procedure received, in order

LRESULT CALLBACK recording_proc(HWND window, UINT message, WPARAM w, LPARAM l) {
    seen.push_back(message);
    return DefWindowProcA(window, message, w, l);
}

class Messages : public testing::Test {
  protected:
    void SetUp() override {
        sktch::headless::reset();
        seen.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = recording_proc;
        wc.lpszClassName = "Probe";
        wc.hbrBackground = CreateSolidBrush(RGB(255, 255, 255));
        RegisterClassA(&wc);
        window = CreateWindowExA(0, "Probe", "probe", WS_CAPTION | WS_SYSMENU, 0, 0, 601, 540,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        seen.clear();
    }

    // Removes and dispatches everything queued; returns the messages polled.
    std::vector<UINT> drain() {
        std::vector<UINT> polled;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            polled.push_back(msg.message);
            if (msg.message == WM_QUIT) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return polled;
    }

    HWND window = nullptr;
};

TEST_F(Messages, CreationSendsCreateThenSizeBeforeReturning) {
    HWND second = CreateWindowExA(0, "Probe", "second", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], UINT(WM_CREATE));
    EXPECT_EQ(seen[1], UINT(WM_SIZE));
}

TEST_F(Messages, UnknownClassMakesNoWindow) {
    EXPECT_EQ(CreateWindowExA(0, "Nope", "x", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(RegisterClassA(nullptr), 0);
}

TEST_F(Messages, PeekRemovesAtMostOneAndNeverBlocks) {
    PostMessageA(window, WM_COMMAND, 1, 0);
    PostMessageA(window, WM_COMMAND, 2, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(sktch::headless::now_ms(), 0) << "polling must not move time";
}

TEST_F(Messages, QuitComesFromThePollAfterPostedMessages) {
    PostQuitMessage(7);
    PostMessageA(window, WM_COMMAND, 3, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_COMMAND));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "one quit per PostQuitMessage";
}

TEST_F(Messages, PaintIsMadeOnlyWhileTheWindowNeedsIt) {
    ShowWindow(window, SW_SHOW);
    PostMessageA(window, WM_COMMAND, 1, 0);
    std::vector<UINT> polled = drain();
    ASSERT_EQ(polled.size(), 2u);
    EXPECT_EQ(polled[0], UINT(WM_COMMAND)) << "paint waits for an otherwise empty queue";
    EXPECT_EQ(polled[1], UINT(WM_PAINT));
    EXPECT_TRUE(drain().empty()) << "painted once, validated by DefWindowProc";
    InvalidateRect(window, nullptr, TRUE);
    EXPECT_EQ(drain(), std::vector<UINT>{WM_PAINT});
}

TEST_F(Messages, HiddenWindowsGetNoPaint) {
    EXPECT_TRUE(drain().empty());
}

TEST_F(Messages, TimerTicksWhenDueAndNeverStacksUp) {
    SetTimer(window, 2, 100, nullptr);
    EXPECT_TRUE(drain().empty()) << "not due before 100 ms";
    sktch::headless::advance_clock(1000);  // ten periods pass while the program is busy
    EXPECT_EQ(drain(), std::vector<UINT>{WM_TIMER}) << "missed ticks merge into one";
    sktch::headless::advance_clock(99);
    EXPECT_TRUE(drain().empty());
    sktch::headless::advance_clock(1);
    EXPECT_EQ(drain(), std::vector<UINT>{WM_TIMER});
    KillTimer(window, 2);
    sktch::headless::advance_clock(500);
    EXPECT_TRUE(drain().empty());
}

TEST_F(Messages, WaitMessageSleepsUntilTheNextTimerDeadline) {
    SetTimer(window, 2, 100, nullptr);
    WaitMessage();
    EXPECT_EQ(sktch::headless::now_ms(), 100);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_TIMER));
    EXPECT_EQ(msg.wParam, 2u);
    WaitMessage();
    EXPECT_EQ(sktch::headless::now_ms(), 200);
}

TEST_F(Messages, WaitMessageReturnsAtOnceForInputFromTheIdleHook) {
    SetTimer(window, 2, 100, nullptr);
    sktch::headless::on_idle([&] { sktch::headless::click(window, 3, 4); });
    WaitMessage();
    EXPECT_EQ(sktch::headless::now_ms(), 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_LBUTTONDOWN));
    EXPECT_EQ(LOWORD(std::uintptr_t(msg.lParam)), 3);
    EXPECT_EQ(HIWORD(std::uintptr_t(msg.lParam)), 4);
}

TEST_F(Messages, KeyboardKeysTypeCharactersButPostedKeysDoNot) {
    sktch::headless::type_char(window, 'q');
    std::vector<UINT> polled = drain();
    EXPECT_EQ(polled, (std::vector<UINT>{WM_KEYDOWN, WM_CHAR, WM_KEYUP}));

    MSG msg;
    sktch::headless::key_down(window, 'Q', 'q');
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    PostMessageA(window, msg.message, msg.wParam, msg.lParam);  // a forwarded copy
    TranslateMessage(&msg);
    EXPECT_EQ(drain(), (std::vector<UINT>{WM_CHAR, WM_KEYDOWN})) << "the copy types nothing";
}

TEST_F(Messages, CloseDestroysTheWindowAndLaterCallsOnItFailQuietly) {
    sktch::headless::close_window(window);
    drain();
    EXPECT_EQ(seen.back(), UINT(WM_DESTROY));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetDC(window), nullptr);
    RECT r;
    EXPECT_FALSE(GetClientRect(window, &r));
    EXPECT_FALSE(PostMessageA(window, WM_COMMAND, 1, 0));
    EXPECT_FALSE(DestroyWindow(window));
}

TEST_F(Messages, ClientAreaOfACaptionedWindowWithAMenuBar) {
    RECT r;
    ASSERT_TRUE(GetClientRect(window, &r));
    EXPECT_EQ(r.right, 595);
    EXPECT_EQ(r.bottom, 487 + 19) << "no menu bar yet";
    HMENU bar = CreateMenu();
    SetMenu(window, bar);
    ASSERT_TRUE(GetClientRect(window, &r));
    EXPECT_EQ(r.right, 595);
    EXPECT_EQ(r.bottom, 487);
    EXPECT_EQ(seen.back(), UINT(WM_SIZE)) << "the menu bar took room from the client area";
}

// A program on the headless backend with no driver: nothing but its timer can wake it, so
// it sleeps until each tick as on a screen, instead of running its clock round at full
// speed. A child process waits about a second; its CPU time over that second stays near
// zero and its ticks come at the timer's real pace.
TEST(HeadlessClock, WithoutADriverTheProgramSleepsUntilItsTimer) {
    int ticks_channel[2];
    ASSERT_EQ(pipe(ticks_channel), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ticks_channel[0]);
        sktch::headless::reset();  // no idle hook
        HWND window = sktch::test_support::plain_window("Sleeper", WS_CAPTION, 100, 100);
        SetTimer(window, 1, 100, nullptr);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0)
            if (msg.message == WM_TIMER && write(ticks_channel[1], "t", 1) != 1) _exit(2);
        _exit(1);
    }
    close(ticks_channel[1]);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    kill(child, SIGKILL);
    int status = 0;
    rusage usage{};
    ASSERT_EQ(wait4(child, &status, 0, &usage), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "still waiting when killed";
    std::string ticks;
    char buffer[256];
    for (ssize_t n; (n = read(ticks_channel[0], buffer, sizeof buffer)) > 0;)
        ticks.append(buffer, std::size_t(n));
    close(ticks_channel[0]);
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    EXPECT_LT(cpu, 0.3) << "seconds of CPU over about a second of waiting";
    EXPECT_GE(ticks.size(), 1u) << "the timer still ticks";
    EXPECT_LE(ticks.size(), 11u) << "no faster than the real clock";
}

}  // namespace
