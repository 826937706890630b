// sktch-replay on the landing game: its command line, and the pictures it makes.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "raster/png_io.h"
#include "sktch.h"
#include "sktch/headless.h"
#include "sktch/run_menu.h"

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status;
    std::string output;  // stdout and stderr together
};

ToolRun run_replay(const std::string& arguments) {
    std::string command = std::string(SKTCH_REPLAY_TOOL) + " " + arguments + " 2>&1";
    ToolRun run{-1, ""};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class Replay : public testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/sktch-replay-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }
    fs::path dir;
};

TEST_F(Replay, HelpExplainsItself) {
    ToolRun run = run_replay("--help");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.output.find("Usage: sktch-replay SCRIPT OUTPUT.png"), std::string::npos);
    EXPECT_NE(run.output.find("SKTCH_PERIODIC"), std::string::npos);
}

TEST_F(Replay, BadArgumentsGetOnePlainLineAndFail) {
    ToolRun missing = run_replay((dir / "missing.scr").string() + " " + (dir / "out.png").string());
    EXPECT_NE(missing.status, 0);
    EXPECT_EQ(missing.output.rfind("sktch-replay: cannot read script file ", 0), 0u);
    EXPECT_EQ(std::count(missing.output.begin(), missing.output.end(), '\n'), 1);
    EXPECT_FALSE(fs::exists(dir / "out.png"));

    std::ofstream(dir / "ok.scr") << "SKTCH_PERIODIC(1);\n";
    ToolRun unwritable =
        run_replay((dir / "ok.scr").string() + " " + (dir / "no/such/dir.png").string());
    EXPECT_NE(unwritable.status, 0);
    EXPECT_EQ(unwritable.output.rfind("sktch-replay: cannot write ", 0), 0u);
    EXPECT_EQ(std::count(unwritable.output.begin(), unwritable.output.end(), '\n'), 1);

    EXPECT_EQ(run_replay("only-one-argument").status, 2);
}

TEST_F(Replay, APlaybackStoppedEarlyNamesTheLineAndFailsButKeepsThePicture) {
    fs::path script = dir / "cut.scr";
    std::ofstream(script) << "SKTCH_PERIODIC(2);\n\nSKTCH_MOUSE(1, 2);\n  oops\nSKTCH_KBD(65);\n";
    fs::path picture = dir / "cut.png";
    ToolRun run = run_replay(script.string() + " " + picture.string());
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.output, "sktch-replay: the playback stopped at line 4 of " + script.string() +
                              ", which it cannot read:   oops\n");
    EXPECT_TRUE(fs::exists(picture));
}

// Counts the pixels of a colour inside a rectangle of the picture.
int count(const sktch::raster::Bitmap& b, int left, int top, int right, int bottom,
          sktch::raster::Pixel color) {
    int n = 0;
    for (int y = std::max(0, top); y < std::min(b.height, bottom); ++y)
        for (int x = std::max(0, left); x < std::min(b.width, right); ++x) n += b.at(x, y) == color;
    return n;
}

TEST_F(Replay, ALandingScriptEndsOnNiceLanding) {
    fs::path picture = dir / "landing.png";
    ToolRun run = run_replay(std::string(SKTCH_SOURCE_DIR) + "/tests/tools/nice_landing.scr " +
                             picture.string());
    ASSERT_EQ(run.status, 0) << run.output;
    sktch::raster::Bitmap frame;
    ASSERT_TRUE(sktch::raster::read_png(picture.string(), frame));
    EXPECT_EQ(frame.width, 595);
    EXPECT_EQ(frame.height, 487);
    // The aircraft stopped at (-106, -120): "NICE LANDING" in blue at x + 30, anchored on
    // its y; the device point of world (x, y) is (297 + x, 243 - y).
    int blue = count(frame, 297 - 76, 243 + 120 - 25, 297 - 76 + 160, 243 + 120 + 2, 0x0000FF);
    EXPECT_GT(blue, 100) << "the blue words are there";
    EXPECT_EQ(count(frame, 0, 0, 595, 487, 0xFF0000) > 0, true) << "the panel's red label";
}

// Plays the game in this process with recording on, for `ticks` periodic events with
// clicks on the buttons now and then, and keeps its last frame.
sktch::raster::Bitmap record_a_game(const fs::path& dir, int ticks) {
    sktch::headless::reset();
    fs::current_path(dir);
    sktch::raster::Bitmap last;
    int idles = 0;
    sktch::headless::on_idle([&] {
        HWND window = sktch::headless::find_window("SKTCH Graphics");
        ++idles;
        if (idles == 1) sktch::headless::choose_menu_item(window, SKTCH_MENU_RECORD);
        if (idles % 7 == 3) sktch::headless::click(window, 297 - 260, 243 - 232);   // LAND
        if (idles % 11 == 5) sktch::headless::click(window, 297 - 260, 243 - 207);  // PULL UP
        if (idles % 13 == 0) sktch::headless::type_char(window, 'k');
        if (idles == ticks) {
            sktch::headless::Pixels shown = sktch::headless::window_pixels(window);
            last = sktch::raster::Bitmap(shown.width, shown.height);
            last.pixels = std::move(shown.pixels);
            sktch::headless::press_ctrl_key(window, 'Q');
        }
    });
    EXPECT_EQ(WinMain(nullptr, nullptr, nullptr, SW_SHOWNORMAL), 0);
    sktch::headless::reset();
    return last;
}

TEST_F(Replay, ARecordedGameReplaysToTheIdenticalFrame) {
    fs::path here = fs::current_path();
    sktch::raster::Bitmap recorded = record_a_game(dir, 400);
    fs::current_path(here);
    ASSERT_EQ(recorded.width, 595);

    std::ifstream script_in(dir / "SKTCH.SCR");
    std::string script((std::istreambuf_iterator<char>(script_in)),
                       std::istreambuf_iterator<char>());
    EXPECT_GT(std::count(script.begin(), script.end(), 'M'), 40) << "clicks were recorded";
    EXPECT_NE(script.find("SKTCH_KBD(107);"), std::string::npos);

    fs::path picture = dir / "replayed.png";
    ToolRun run = run_replay((dir / "SKTCH.SCR").string() + " " + picture.string());
    ASSERT_EQ(run.status, 0) << run.output;
    sktch::raster::Bitmap replayed;
    ASSERT_TRUE(sktch::raster::read_png(picture.string(), replayed));
    ASSERT_EQ(replayed.width, recorded.width);
    ASSERT_EQ(replayed.height, recorded.height);
    int different = 0;
    for (std::size_t i = 0; i < recorded.pixels.size(); ++i)
        different += recorded.pixels[i] != replayed.pixels[i];
    EXPECT_EQ(different, 0);
}

}  // namespace
