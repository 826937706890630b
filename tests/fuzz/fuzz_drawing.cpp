// The drawing calls fed arbitrary arguments: colours, coordinates over the whole int32
// range, widths, radii, sizes, texts and format strings without conversions.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sktch.h"
#include "sktch/headless.h"
#include "state.h"

// The formats passed on here hold no '%': they are meant as formats, not as arguments.
#pragma clang diagnostic ignored "-Wformat-security"

namespace {

// Calls per input: a shape at random coordinates mostly covers the whole surface, and a wide
// outline is stamped along its whole length, so each call can cost a lot; a few calls per
// input keep the fuzzer fast.
constexpr int kMaxCalls = 4;

// A number for a coordinate: mostly near the surface, else anywhere in int32 or at one of
// its ends, so that the fuzzer reaches all three often.
int number(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 7)) {
        case 0:
        case 1:
            return in.ConsumeIntegral<std::int32_t>();
        case 2:
            return INT_MIN + in.ConsumeIntegralInRange(0, 1000);
        case 3:
            return INT_MAX - in.ConsumeIntegralInRange(0, 1000);
        default:
            return in.ConsumeIntegralInRange(-400, 400);
    }
}

// A width, radius or size: mostly small (negative ones are corrected), sometimes anything.
int extent(FuzzedDataProvider& in) {
    return in.ConsumeIntegralInRange(0, 7) == 0 ? number(in) : in.ConsumeIntegralInRange(-60, 160);
}

int color(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? in.ConsumeIntegralInRange(-2, 26) : in.ConsumeIntegral<int>();
}

// A format without conversions: every '%' taken out. May be longer than a line holds.
std::string format(FuzzedDataProvider& in) {
    std::string text = in.ConsumeRandomLengthString(1500);
    std::erase(text, '%');
    return text;
}

// What a formatted call must return for a format without conversions: its characters up to
// the first zero byte, cut at 1023.
int expected_count(const std::string& format) {
    return int(std::min<std::size_t>(std::strlen(format.c_str()), 1023));
}

void check(bool condition) {
    if (!condition) std::abort();
}

void check_ring() {
    using sktch::state;
    check(state.log_first >= -1 && state.log_first < sktch::kLogLines);
    check(state.log_next >= 0 && state.log_next < sktch::kLogLines);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    sktch::headless::reset();
    sktch::reset_state();
    // A small screen keeps the text window, which scrolls for every line, small.
    sktch::headless::set_screen_size(320, 240);
    SKTCH_open(reinterpret_cast<HINSTANCE>(std::uintptr_t(0x400000)), nullptr, nullptr,
               SW_SHOWNORMAL);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    SKTCH_logging(in.ConsumeBool());
    for (int calls = 0; calls < kMaxCalls && in.remaining_bytes() > 0; ++calls) {
        switch (in.ConsumeIntegralInRange(0, 13)) {
            case 0:
                check(SKTCH_pixel(color(in), number(in), number(in)) == 1);
                break;
            case 1: {
                int c = color(in), x = number(in), y = number(in);
                check(SKTCH_circle(c, x, y, extent(in)) == 1);
            } break;
            case 2: {
                int c = color(in), x1 = number(in), y1 = number(in), x2 = number(in),
                    y2 = number(in), x3 = number(in), y3 = number(in);
                check(SKTCH_triangle(c, x1, y1, x2, y2, x3, y3, extent(in)) == 1);
                break;
            }
            case 3: {
                int c = color(in), x1 = number(in), y1 = number(in), x2 = number(in),
                    y2 = number(in);
                check(SKTCH_rectangle(c, x1, y1, x2, y2, extent(in)) == 1);
                break;
            }
            case 4: {
                int c = color(in), x1 = number(in), y1 = number(in), x2 = number(in),
                    y2 = number(in);
                check(SKTCH_oval(c, x1, y1, x2, y2, extent(in)) == 1);
                break;
            }
            case 5: {
                int c = color(in), x1 = number(in), y1 = number(in), x2 = number(in),
                    y2 = number(in);
                check(SKTCH_line(c, x1, y1, x2, y2, extent(in)) == 1);
                break;
            }
            case 6: {
                int c = color(in), x = number(in), y = number(in), s = extent(in);
                std::string text = in.ConsumeRandomLengthString(1500);
                check(SKTCH_text(c, x, y, s, in.ConsumeBool() ? text.c_str() : nullptr) == 1);
                break;
            }
            case 7: {
                int c = color(in), x = number(in), y = number(in), s = extent(in);
                std::string f = format(in);
                check(SKTCH_textf(c, x, y, s, f.c_str()) == expected_count(f));
                break;
            }
            case 8: {
                int c = color(in), x = number(in), y = number(in), s = extent(in);
                std::string f = format(in);
                check(SKTCH_draw_textf(c, x, y, s, f.c_str()) == expected_count(f));
                break;
            }
            case 9: {
                std::string f = format(in);
                check(SKTCH_printf(f.c_str()) == expected_count(f));
                break;
            }
            case 10:
                check(SKTCH_clear() == 1);
                break;
            case 11:
                check(SKTCH_undo() == 1);
                break;
            case 12:
                check(SKTCH_printf(nullptr) == 0);
                {
                    int c = color(in), x = number(in), y = number(in);
                    check(SKTCH_textf(c, x, y, extent(in), nullptr) == 0);
                }
                break;
            default:
                check(SKTCH_logging(in.ConsumeBool()) == 1);
                break;
        }
        check_ring();
    }
    return 0;
}
