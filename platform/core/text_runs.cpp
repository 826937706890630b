// The text a window shows, kept beside its pixels so that the headless driver can read a
// window's lines the way a user reads them: what TextOutA wrote straight onto the window,
// moved by ScrollDC, and forgotten once painted over or erased.
#include <algorithm>
#include <cstdint>

#include "core/core.h"

namespace sktch::platform {
namespace {

// Whether the half-open spans [a0, a1) and [b0, b1) overlap; an empty text's cell counts
// as one column wide.
bool overlap(long long a0, long long a1, long long b0, long long b1) {
    return a0 < std::max(b1, b0 + 1) && b0 < std::max(a1, a0 + 1);
}

// Whether any of the cell lies within the window (an empty text's cell is one column wide).
bool in_window(const Window& w, const RECT& cell) {
    return overlap(cell.left, cell.right, 0, w.client_width) &&
           overlap(cell.top, cell.bottom, 0, w.client_height);
}

LONG moved(LONG value, int by) {
    return LONG(std::clamp<long long>((long long)value + by, INT32_MIN, INT32_MAX));
}

// Whether `outer` holds the part of a run's cell that lies within the window.
bool holds(const Window& w, const RECT& outer, const RECT& cell) {
    RECT inner{std::max<LONG>(cell.left, 0), std::max<LONG>(cell.top, 0),
               std::min<LONG>(cell.right, w.client_width),
               std::min<LONG>(cell.bottom, w.client_height)};
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
}

}  // namespace

void text_drawn(Window& w, const RECT& cell, std::string_view text) {
    std::erase_if(w.text_runs, [&](const TextRun& run) {
        return overlap(run.cell.left, run.cell.right, cell.left, cell.right) &&
               overlap(run.cell.top, run.cell.bottom, cell.top, cell.bottom);
    });
    if (in_window(w, cell)) w.text_runs.push_back({cell, std::string(text)});
}

void text_scrolled(Window& w, const RECT& area, int dx, int dy) {
    // What lies inside the scrolled area moves with it; what moves past its edge is gone.
    std::erase_if(w.text_runs, [&](TextRun& run) {
        if (!holds(w, area, run.cell)) return false;
        run.cell = RECT{moved(run.cell.left, dx), moved(run.cell.top, dy),
                        moved(run.cell.right, dx), moved(run.cell.bottom, dy)};
        return !overlap(run.cell.left, run.cell.right, area.left, area.right) ||
               !overlap(run.cell.top, run.cell.bottom, area.top, area.bottom);
    });
}

void text_covered(Window& w, const RECT& area) {
    std::erase_if(w.text_runs, [&](const TextRun& run) { return holds(w, area, run.cell); });
}

}  // namespace sktch::platform
