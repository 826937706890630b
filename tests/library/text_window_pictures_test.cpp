// The text window as whole pictures after many logged lines: more lines than it holds,
// lines wider than it, empty lines and the log lines of drawing calls, then a repaint.
// The pictures in reference/ are what the text window showed when they were made; with
// SKTCH_UPDATE_PICTURES=1 in the environment the test writes them anew instead.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "library_fixture.h"
#include "raster/png_io.h"

namespace sktch::testing {
namespace {

namespace fs = std::filesystem;

fs::path reference(const std::string& name) {
    return fs::path(SKTCH_SOURCE_DIR) / "tests/library/reference" / (name + ".png");
}

// Prints lines of every kind the text window meets; 60 of them, far more than it holds.
void print_many_lines() {
    for (int i = 1; i <= 60; ++i) {
        switch (i % 6) {
            case 0:
                SKTCH_printf("%s\n", "");
                break;
            case 1:  // wider than the window: reaches its right edge
                SKTCH_printf("line %d %s\n", i, std::string(150, char('A' + i % 26)).c_str());
                break;
            case 2:
                SKTCH_pixel(i % 24, i, -i);  // logged as a drawing call
                break;
            case 3:
                SKTCH_printf("line %d, no newline", i);
                break;
            case 4:
                SKTCH_printf("%d: |@#~_%%^&*()[]{}<>/\\?!;:'\"\n\n", i);
                break;
            default:
                SKTCH_rectangle(i % 24, -i, i, i, -i, i % 3);
                break;
        }
    }
}

// Opens the library on a screen of the given size, with logging on.
void open_on_screen(int width, int height) {
    headless::reset();
    reset_state();
    headless::set_screen_size(width, height);
    SKTCH_open(test_instance(), nullptr, nullptr, SW_SHOWNORMAL);
    SKTCH_logging(1);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) && msg.message != WM_QUIT)
        DispatchMessageA(&msg);
}

void close_library() {
    SKTCH_close();
    reset_state();
    headless::reset();
}

// Compares the text window with the named picture; the count of differing pixels, or -1
// when the picture cannot be read. A differing picture is kept in the temporary folder.
int differing_pixels(const std::string& name) {
    const fs::path want_file = reference(name);
    const fs::path got_file = fs::temp_directory_path() / ("sktch-" + name + "-actual.png");
    EXPECT_TRUE(headless::save_window_png(state.text_window, got_file.string()));
    const char* update = std::getenv("SKTCH_UPDATE_PICTURES");
    if (update && std::string(update) == "1")
        fs::copy_file(got_file, want_file, fs::copy_options::overwrite_existing);
    raster::Bitmap got, want;
    if (!raster::read_png(got_file.string(), got) || !raster::read_png(want_file.string(), want))
        return -1;
    if (got.width != want.width || got.height != want.height) return got.width * got.height;
    int differing = 0;
    for (int y = 0; y < got.height; ++y)
        for (int x = 0; x < got.width; ++x) differing += got.at(x, y) != want.at(x, y);
    if (differing == 0) fs::remove(got_file);
    return differing;
}

TEST(TextWindowPictures, ManyLinesThenARepaintShowWhatTheyAlwaysShowed) {
    struct Screen {
        int width, height;
    };
    for (const Screen s : {Screen{400, 240}, Screen{731, 390}}) {
        const std::string size = std::to_string(s.width) + "x" + std::to_string(s.height);
        open_on_screen(s.width, s.height);
        print_many_lines();
        EXPECT_EQ(differing_pixels("text_window_" + size), 0) << size;

        // The repaint replays the ring's last 25 lines over the window's background.
        InvalidateRect(state.text_window, nullptr, TRUE);
        UpdateWindow(state.text_window);
        EXPECT_EQ(differing_pixels("text_window_" + size + "_repainted"), 0) << size;
        close_library();
    }
}

}  // namespace
}  // namespace sktch::testing
