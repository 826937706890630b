// Replays the GDI reference command lists through the rasterizer and compares the result
// with the reference pictures pixel for pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "raster/png_io.h"
#include "raster/raster.h"

namespace sktch::raster {
namespace {

struct Picture {
    Bitmap actual;
    Bitmap expected;
    std::vector<std::string> errors;  // commands the replayer could not read
};

Pixel rgb(int r, int g, int b) {
    return (Pixel(r) << 16) | (Pixel(g) << 8) | Pixel(b);
}

// Pen and brush as the reference pictures were drawn: a solid pen of the given width, a
// solid brush of the same colour for width 0, a hollow brush otherwise.
void recipe(Pixel color, int width, Pen& pen, Brush& brush) {
    pen = Pen{color, width, false};
    brush = Brush{color, width != 0};
}

// Draws the commands of NAME.txt; `expected` is NAME.png, with the one deliberate
// difference applied: a one-pixel rectangle box (thin pen) paints its pixel in the pen
// colour where GDI paints nothing. (No reference file paints over such a box later.)
Picture replay(const std::string& name) {
    const std::string base = std::string(SKTCH_REFERENCE_DIR) + "/" + name;
    Picture pic;
    if (!read_png(base + ".png", pic.expected)) {
        pic.errors.push_back("cannot read " + base + ".png");
        return pic;
    }
    std::ifstream in(base + ".txt");
    if (!in) {
        pic.errors.push_back("cannot read " + base + ".txt");
        return pic;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        const auto hash = line.find('#');
        if (hash != std::string::npos) line.resize(hash);
        if (line.find_first_not_of(" \t\r") != std::string::npos) lines.push_back(line);
    }
    Pixel initial = 0xFFFFFF;
    for (const std::string& line : lines) {
        std::istringstream words(line);
        std::string op;
        words >> op;
        int r = 0, g = 0, b = 0;
        if (op == "init" && words >> r >> g >> b) initial = rgb(r, g, b);
        if (op == "noinit") initial = 0;
    }
    pic.actual = Bitmap(601, 540, initial);
    const Target t = whole(pic.actual);
    for (const std::string& line : lines) {
        std::istringstream words(line);
        std::string op;
        words >> op;
        int r = 0, g = 0, b = 0, w = 0;
        Pen pen;
        Brush brush;
        if (op == "init" || op == "noinit") continue;
        if (op == "clear") {
            rectangle(t, Pen{}, Brush{0xFFFFFF, false}, 0, 0, 601, 540);
        } else if (op == "rect" || op == "ellipse") {
            int x1, y1, x2, y2;
            if (!(words >> r >> g >> b >> w >> x1 >> y1 >> x2 >> y2)) {
                pic.errors.push_back(line);
                continue;
            }
            recipe(rgb(r, g, b), w, pen, brush);
            if (op == "rect") {
                rectangle(t, pen, brush, x1, y1, x2, y2);
                const bool one_pixel = std::abs(x2 - x1) == 1 && std::abs(y2 - y1) == 1;
                const int x = std::min(x1, x2), y = std::min(y1, y2);
                if (one_pixel && w <= 1 && x >= 0 && x < 601 && y >= 0 && y < 540)
                    pic.expected.row(y)[x] = pen.color;
            } else {
                ellipse(t, pen, brush, x1, y1, x2, y2);
            }
        } else if (op == "poly") {
            Point pts[3];
            if (!(words >> r >> g >> b >> w >> pts[0].x >> pts[0].y >> pts[1].x >> pts[1].y >>
                  pts[2].x >> pts[2].y)) {
                pic.errors.push_back(line);
                continue;
            }
            recipe(rgb(r, g, b), w, pen, brush);
            polygon(t, pen, brush, pts, 3);
        } else if (op == "line") {
            int x1, y1, x2, y2;
            if (!(words >> r >> g >> b >> w >> x1 >> y1 >> x2 >> y2)) {
                pic.errors.push_back(line);
                continue;
            }
            recipe(rgb(r, g, b), w, pen, brush);
            sktch::raster::line(t, pen, x1, y1, x2, y2);
        } else if (op == "pixel") {
            int x, y;
            if (!(words >> r >> g >> b >> x >> y)) {
                pic.errors.push_back(line);
                continue;
            }
            set_pixel(t, x, y, rgb(r, g, b));
        } else {
            pic.errors.push_back(line);
        }
    }
    return pic;
}

std::filesystem::path output_dir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path() : exe.parent_path();
}

// Counts differing pixels; on any difference writes NAME-actual.png and NAME-diff.png
// (differences in red over a faded copy of the reference) beside the test program and
// lists the differing pixels, grouped by row runs.
int compare(const std::string& name, const Picture& pic) {
    const Bitmap& a = pic.actual;
    const Bitmap& e = pic.expected;
    if (a.width != e.width || a.height != e.height) {
        ADD_FAILURE() << name << ": reference is " << e.width << "x" << e.height;
        return -1;
    }
    Bitmap diff(a.width, a.height);
    int mismatches = 0;
    std::ostringstream where;
    int listed = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            const Pixel pa = a.at(x, y), pe = e.at(x, y);
            if (pa != pe) {
                ++mismatches;
                diff.row(y)[x] = 0xFF0000;
                // Report each run of differing pixels on a row once.
                if ((x == 0 || a.at(x - 1, y) == e.at(x - 1, y)) && listed++ < 60) {
                    int end = x;
                    while (end + 1 < a.width && a.at(end + 1, y) != e.at(end + 1, y)) ++end;
                    where << "  y=" << y << " x=" << x << ".." << end << std::hex << " ours 0x"
                          << pa << " reference 0x" << pe << std::dec << "\n";
                }
            } else {
                // A faded copy of the reference.
                const Pixel r = (pe >> 16) & 255, g = (pe >> 8) & 255, b = pe & 255;
                diff.row(y)[x] = rgb(int(r + (255 - r) * 3 / 4), int(g + (255 - g) * 3 / 4),
                                     int(b + (255 - b) * 3 / 4));
            }
        }
    }
    const auto dir = output_dir();
    const auto actual_file = dir / (name + "-actual.png"), diff_file = dir / (name + "-diff.png");
    std::error_code ignored;
    std::filesystem::remove(actual_file, ignored);  // no stale pictures from earlier runs
    std::filesystem::remove(diff_file, ignored);
    if (mismatches != 0) {
        write_png(a, actual_file.string());
        write_png(diff, diff_file.string());
        std::cout << name << ": " << mismatches << " pixels differ (pictures in " << dir.string()
                  << ")\n"
                  << where.str();
    }
    return mismatches;
}

struct Case {
    const char* name;
    int allowed_mismatches;  // pixels known to differ from the reference
};

// What GoogleTest shows for a case: its name rather than the bytes of the record.
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class Reference : public testing::TestWithParam<Case> {};

TEST_P(Reference, MatchesThePicture) {
    const Case& c = GetParam();
    const Picture pic = replay(c.name);
    EXPECT_TRUE(pic.errors.empty()) << "unreadable: " << pic.errors.front();
    const int mismatches = compare(c.name, pic);
    EXPECT_GE(mismatches, 0);
    EXPECT_LE(mismatches, c.allowed_mismatches);
}

INSTANTIATE_TEST_SUITE_P(GdiPictures, Reference,
                         testing::Values(Case{"rect_edges", 0}, Case{"lines", 0},
                                         Case{"clear_frame", 0}, Case{"ellipses", 0},
                                         Case{"polys", 0}, Case{"wide_slopes", 0}),
                         [](const testing::TestParamInfo<Case>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace sktch::raster
