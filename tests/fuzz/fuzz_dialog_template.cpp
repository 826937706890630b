// The dialog template reader fed arbitrary bytes: it must refuse what is cut short or
// malformed without reading past the end, and what it accepts must fit in the bytes given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "core/dialog_template.h"

namespace {

// The smallest header: style, extended style, count and rectangle (18 bytes), then an empty
// menu, class and title (2 bytes each).
constexpr std::size_t kSmallestHeader = 24;
// The smallest control: style, extended style, rectangle and id (18 bytes), then an empty
// class and text and no creation data (2 bytes each).
constexpr std::size_t kSmallestControl = 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of exactly `size` bytes on the heap, so that any read past it is reported.
    std::vector<std::uint8_t> bytes(data, data + size);
    sktch::platform::DialogTemplate out;
    if (!sktch::platform::read_dialog_template(bytes.data(), bytes.size(), out)) return 0;
    if (size < kSmallestHeader + kSmallestControl * out.controls.size()) std::abort();
    if (out.controls.size() > 255 || out.title.size() > 4096) std::abort();
    for (const auto& control : out.controls)
        if (control.text.size() > 4096) std::abort();
    return 0;
}
