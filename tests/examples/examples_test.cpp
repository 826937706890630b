// The example programs, each run as its replay tool (the program over the headless backend)
// against a script: the pictures they leave show that each did its job.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "colours.h"
#include "folders_and_programs.h"
#include "raster/png_io.h"  // the raster's own PNG reader, for the pictures the tools write

namespace {

namespace fs = std::filesystem;
using sktch::raster::Bitmap;
using sktch::raster::Pixel;

using sktch::test_support::kBlack;
using sktch::test_support::kBlue;
using sktch::test_support::kGreen;
using sktch::test_support::kRed;
using sktch::test_support::kWhite;

// The 24 colours of the library, by index, as 0xRRGGBB.
constexpr Pixel kPalette[24] = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x9900CC, 0x003399, 0x996699, 0x99FFFF, 0x99FFCC, 0xFF6600, 0x996633, 0xFF99CC,
    0xFFFF99, 0xCC9933, 0xFF9966, 0x006633, 0x33CC99, 0x999933, 0x808080, 0xCCCCCC,
};

// The device pixel of a world point: the origin is at (297, 243) and y grows upward.
int device_x(int x) {
    return 297 + x;
}
int device_y(int y) {
    return 243 - y;
}
Pixel world_pixel(const Bitmap& b, int x, int y) {
    return b.at(device_x(x), device_y(y));
}

// Pixels of one colour inside a rectangle of world coordinates (both corners included).
int count_color(const Bitmap& b, int left, int top, int right, int bottom, Pixel color) {
    int n = 0;
    for (int y = std::max(0, device_y(top)); y <= std::min(b.height - 1, device_y(bottom)); ++y)
        for (int x = std::max(0, device_x(left)); x <= std::min(b.width - 1, device_x(right)); ++x)
            n += b.at(x, y) == color;
    return n;
}

// Pixels of text in one colour inside a rectangle of world coordinates. Text is blended into
// the background at its edges, so a pixel counts when it lies on the way from the background
// to the colour, at least half-way.
int count_ink(const Bitmap& b, int left, int top, int right, int bottom, Pixel color,
              Pixel background) {
    auto channel = [](Pixel p, int shift) { return int(p >> shift & 0xFF); };
    int n = 0;
    for (int y = std::max(0, device_y(top)); y <= std::min(b.height - 1, device_y(bottom)); ++y)
        for (int x = std::max(0, device_x(left)); x <= std::min(b.width - 1, device_x(right));
             ++x) {
            Pixel p = b.at(x, y);
            // The colour's share in p, read on the channel where it differs most.
            double share = -1;
            int widest = 0;
            for (int shift : {16, 8, 0}) {
                int d = channel(color, shift) - channel(background, shift);
                if (std::abs(d) <= std::abs(widest)) continue;
                widest = d;
                share = double(channel(p, shift) - channel(background, shift)) / d;
            }
            bool on_the_way = share >= 0.5 && share <= 1.0;
            for (int shift : {16, 8, 0}) {
                double expected = channel(background, shift) +
                                  share * (channel(color, shift) - channel(background, shift));
                on_the_way = on_the_way && std::abs(channel(p, shift) - expected) <= 8;
            }
            n += on_the_way;
        }
    return n;
}

// Where the pixels of one colour lie in a picture.
struct Blob {
    int count = 0;
    double centre_x = 0, centre_y = 0;  // device coordinates
    int left = 0, top = 0, right = -1, bottom = -1;
};
Blob find_blob(const Bitmap& b, Pixel color) {
    Blob blob;
    blob.left = b.width;
    blob.top = b.height;
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x) {
            if (b.at(x, y) != color) continue;
            ++blob.count;
            blob.centre_x += x;
            blob.centre_y += y;
            blob.left = std::min(blob.left, x);
            blob.right = std::max(blob.right, x);
            blob.top = std::min(blob.top, y);
            blob.bottom = std::max(blob.bottom, y);
        }
    if (blob.count) {
        blob.centre_x /= blob.count;
        blob.centre_y /= blob.count;
    }
    return blob;
}

// The lines of text in a text window's picture: runs of rows holding any pixel other than
// the background, which the bottom-right corner shows.
int text_lines(const Bitmap& b) {
    Pixel background = b.at(b.width - 1, b.height - 1);
    int lines = 0;
    bool in_line = false;
    for (int y = 0; y < b.height; ++y) {
        const Pixel* row = b.row(y);
        bool inked = std::any_of(row, row + b.width, [&](Pixel p) { return p != background; });
        if (inked && !in_line) ++lines;
        in_line = inked;
    }
    return lines;
}

class Examples : public testing::Test {
  protected:
    void SetUp() override { ASSERT_FALSE(folder.path().empty()); }

    static fs::path shipped_script(const std::string& example) {
        return fs::path(SKTCH_SOURCE_DIR) / "examples" / "scripts" / (example + ".scr");
    }
    fs::path write_script(const std::string& lines) {
        fs::path path = dir / ("script" + std::to_string(++scripts) + ".scr");
        std::ofstream(path) << lines;
        return path;
    }

    // Runs a replay tool with its arguments; `answer` goes into SKTCH_REPLAY_ANSWER, which is
    // unset without one. Returns the exit status; the tool's output is kept in `output`.
    int run(const char* tool, const std::vector<std::string>& arguments,
            std::optional<std::string> answer = std::nullopt) {
        sktch::test_support::ProgramRun run =
            sktch::test_support::run_program(tool, arguments, {{"SKTCH_REPLAY_ANSWER", answer}});
        output = run.output;
        return run.status;
    }

    // Replays a script and reads the graphics window's picture (and the text window's, when
    // asked); fails the test when the tool fails.
    Bitmap replay(const char* tool, const fs::path& script, Bitmap* text = nullptr,
                  std::optional<std::string> answer = std::nullopt) {
        fs::path picture = dir / "graphics.png";
        fs::path text_picture = dir / "text.png";
        std::vector<std::string> arguments{script.string(), picture.string()};
        if (text) arguments.push_back(text_picture.string());
        int status = run(tool, arguments, answer);
        Bitmap graphics;
        EXPECT_EQ(status, 0) << output;
        EXPECT_TRUE(sktch::raster::read_png(picture.string(), graphics)) << output;
        if (text) {
            EXPECT_TRUE(sktch::raster::read_png(text_picture.string(), *text)) << output;
        }
        return graphics;
    }

    sktch::test_support::TemporaryFolder folder;
    const fs::path& dir = folder.path();
    int scripts = 0;
    std::string output;
};

// shapes: a column per colour (x = -200 + 20 * colour), a row per drawing call (y = 185 - 52
// * row), each shape centred on its cell.
TEST_F(Examples, ShapesDrawsEveryCallInEveryColour) {
    Bitmap text;
    Bitmap picture = replay(SHAPES_REPLAY, shipped_script("shapes"), &text);
    ASSERT_EQ(picture.width, 595);
    ASSERT_EQ(picture.height, 487);
    for (int color = 0; color < 24; ++color) {
        SCOPED_TRACE("colour " + std::to_string(color));
        Pixel rgb = kPalette[color];
        int x = -200 + 20 * color;
        EXPECT_EQ(count_color(picture, x - 1, 186, x + 1, 184, rgb), 9) << "3 by 3 pixels";
        EXPECT_EQ(world_pixel(picture, x, 133), rgb) << "circle";
        EXPECT_EQ(world_pixel(picture, x, 81 - 2), rgb) << "triangle";
        EXPECT_EQ(world_pixel(picture, x, 29), rgb) << "rectangle";
        EXPECT_EQ(world_pixel(picture, x, -23), rgb) << "oval";
        EXPECT_EQ(world_pixel(picture, x, -75), rgb) << "line";
        Pixel background = color == 1 ? kPalette[22] : kWhite;  // white has a grey strip
        EXPECT_GE(count_ink(picture, x - 10, -127 + 20, x + 10, -127 - 20, rgb, background), 25)
            << "text";
        EXPECT_GE(count_ink(picture, x - 10, -179 + 20, x + 10, -179 - 20, rgb, background), 8)
            << "textf";
        // The cells stay apart: halfway to the next column the picture is the background.
        Pixel between = world_pixel(picture, x + 10, 29);
        EXPECT_TRUE(between == kWhite || between == kPalette[22]) << "between columns";
    }
    // Logging was on: the text window is full of log lines.
    EXPECT_GE(text_lines(text), 15);
}

// bouncing_ball: a red ball of radius 20 starts in the middle and moves at every tick.
TEST_F(Examples, BouncingBallMovesEveryTickAndTurnsAtTheEdges) {
    std::vector<Blob> balls;
    for (int ticks : {1, 10, 20, 30, 40, 50, 60, 70, 80}) {
        SCOPED_TRACE(std::to_string(ticks) + " ticks");
        Bitmap picture = replay(BOUNCING_BALL_REPLAY,
                                write_script("SKTCH_PERIODIC(" + std::to_string(ticks) + ");\n"));
        balls.push_back(find_blob(picture, kRed));
        ASSERT_GT(balls.back().count, 1000);
        EXPECT_EQ(balls.back().count, balls.front().count) << "the whole ball is in the window";
        EXPECT_GT(balls.back().left, 0);
        EXPECT_GT(balls.back().top, 0);
        EXPECT_LT(balls.back().right, 594);
        EXPECT_LT(balls.back().bottom, 486);
        if (balls.size() > 1) {
            const Blob& before = balls[balls.size() - 2];
            EXPECT_TRUE(balls.back().centre_x != before.centre_x ||
                        balls.back().centre_y != before.centre_y)
                << "the ball moved";
        }
    }
    EXPECT_NEAR(balls.front().centre_x, 297, 20) << "it starts in the middle";
    EXPECT_NEAR(balls.front().centre_y, 243, 20);

    // Right and up first, then back: each coordinate rises to a turning point inside the run
    // and falls after it (device y falls while the ball rises).
    auto turns_once = [&](auto coordinate) {
        std::vector<double> v;
        for (const Blob& b : balls) v.push_back(coordinate(b));
        auto peak = std::max_element(v.begin(), v.end()) - v.begin();
        if (peak == 0 || peak == long(v.size()) - 1) return false;
        for (long i = 1; i < long(v.size()); ++i)
            if (i <= peak ? v[i] <= v[i - 1] : v[i] >= v[i - 1]) return false;
        return true;
    };
    EXPECT_TRUE(turns_once([](const Blob& b) { return b.centre_x; })) << "turned at the right";
    EXPECT_TRUE(turns_once([](const Blob& b) { return -b.centre_y; })) << "turned at the top";

    Bitmap shipped = replay(BOUNCING_BALL_REPLAY, shipped_script("bouncing_ball"));
    Blob ball = find_blob(shipped, kRed);
    EXPECT_EQ(ball.count, balls.front().count);
    EXPECT_GT(std::abs(ball.centre_x - 297) + std::abs(ball.centre_y - 243), 100);
}

// mouse_paint: dots of radius 6 where the clicks were, in the colour chosen last.
TEST_F(Examples, MousePaintPaintsDotsWhereTheClicksWereInTheChosenColour) {
    Bitmap picture = replay(MOUSE_PAINT_REPLAY, shipped_script("mouse_paint"));
    // The shipped script: a click in the first colour (black), r, two clicks, g, a click, x (no
    // colour), a click, b, a click.
    struct Dot {
        int x, y;
        Pixel color;
    };
    const Dot dots[] = {{-150, 60, kBlack}, {-60, 60, kRed},     {-60, -30, kRed},
                        {40, 0, kGreen},    {130, -120, kGreen}, {200, 100, kBlue}};
    // Every dot is the same round dot, and nothing else lies near it.
    int dot_size = count_color(picture, -150 - 12, 60 + 12, -150 + 12, 60 - 12, kBlack);
    EXPECT_GT(dot_size, 81);
    for (const Dot& dot : dots) {
        SCOPED_TRACE("dot at (" + std::to_string(dot.x) + ", " + std::to_string(dot.y) + ")");
        EXPECT_EQ(count_color(picture, dot.x - 4, dot.y + 4, dot.x + 4, dot.y - 4, dot.color), 81);
        int inside =
            count_color(picture, dot.x - 12, dot.y + 12, dot.x + 12, dot.y - 12, dot.color);
        int around = count_color(picture, dot.x - 12, dot.y + 12, dot.x + 12, dot.y - 12, kWhite);
        EXPECT_EQ(inside, dot_size);
        EXPECT_EQ(inside + around, 25 * 25);
    }
    // The swatch at the top right shows the colour of the next dot.
    EXPECT_EQ(world_pixel(picture, 250, 226), kBlue);

    // c clears the picture: the dot before it is gone, the one after it is there.
    Bitmap cleared =
        replay(MOUSE_PAINT_REPLAY, write_script("SKTCH_MOUSE(-100, 0);\nSKTCH_KBD(99);\n"
                                                "SKTCH_MOUSE(100, 0);\n"));
    EXPECT_EQ(world_pixel(cleared, -100, 0), kWhite);
    EXPECT_EQ(world_pixel(cleared, 100, 0), kBlack);
}

// ask_name: the greeting "Hello, NAME!" in blue, size 40, anchored at (-270, 30).
TEST_F(Examples, AskNameGreetsWithTheAnswerGiven) {
    fs::path script = shipped_script("ask_name");
    Bitmap ada = replay(ASK_NAME_REPLAY, script, nullptr, "Ada");
    Bitmap longer = replay(ASK_NAME_REPLAY, script, nullptr, "Bartholomew");
    Bitmap two_lines = replay(ASK_NAME_REPLAY, script, nullptr, "Ada\r\nLovelace");
    Bitmap unanswered = replay(ASK_NAME_REPLAY, script);
    Bitmap stranger = replay(ASK_NAME_REPLAY, script, nullptr, "stranger");

    Blob greeting = find_blob(ada, kBlue);
    EXPECT_GT(greeting.count, 200) << "the greeting's letters";
    // Letters of size 40 in the line above the anchor, starting at its x.
    EXPECT_GE(greeting.top, device_y(30) - 45);
    EXPECT_LE(greeting.top, device_y(30) - 25);
    EXPECT_LE(greeting.bottom, device_y(30));
    EXPECT_GE(greeting.left, device_x(-270));
    EXPECT_LE(greeting.left, device_x(-270) + 8);
    EXPECT_GT(find_blob(longer, kBlue).right, greeting.right + 100) << "a longer name";

    EXPECT_EQ(two_lines.pixels, ada.pixels) << "only the first line of the answer";
    EXPECT_EQ(unanswered.pixels, stranger.pixels) << "no answer: the stranger is greeted";
    EXPECT_NE(unanswered.pixels, ada.pixels);
}

// text_window: a heading and ten rows of the table, then a row more for every key or click.
TEST_F(Examples, TextWindowPrintsTheTableAndARowForEachKeyOrClick) {
    Bitmap text;
    replay(TEXT_WINDOW_REPLAY, write_script("SKTCH_PERIODIC(1);\n"), &text);
    int table_only = text_lines(text);
    EXPECT_GE(table_only, 11) << "heading and ten rows";

    Bitmap shipped_text;
    Bitmap picture = replay(TEXT_WINDOW_REPLAY, shipped_script("text_window"), &shipped_text);
    EXPECT_EQ(text_lines(shipped_text), table_only + 3) << "two keys and a click";
    EXPECT_GT(find_blob(picture, kBlack).count, 500) << "the note in the graphics window";
}

TEST_F(Examples, ReplayFailsWhenTheTextPictureCannotBeWritten) {
    fs::path picture = dir / "graphics.png";
    int status = run(SHAPES_REPLAY, {shipped_script("shapes").string(), picture.string(),
                                     (dir / "no/such/text.png").string()});
    EXPECT_EQ(status, 1);
    EXPECT_EQ(output.rfind("sktch-replay: cannot write ", 0), 0u) << output;
    EXPECT_FALSE(fs::exists(picture)) << "no picture is left behind";
}

}  // namespace
