// The text a window shows, kept beside its pixels so that the headless driver can read a
// window's lines the way a user reads them: what TextOutA wrote straight onto the window,
// moved by ScrollDC, and forgotten once painted over or erased.
#include <algorithm>

#include "core/core.h"

namespace sktch::platform {
namespace {

// Whether the half-open spans [a0, a1) and [b0, b1) overlap; an empty text's cell counts
// as one column wide.
bool overlap(LONG a0, LONG a1, LONG b0, LONG b1) {
    return a0 < std::max(b1, b0 + 1) && b0 < std::max(a1, a0 + 1);
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
    w.text_runs.push_back({cell, std::string(text)});
}

void text_scrolled(Window& w, const RECT& area, int dx, int dy) {
    if (w.text_runs.empty()) return;
    for (TextRun& run : w.text_runs) {
        if (!holds(w, area, run.cell)) continue;
        run.cell.left += dx;
        run.cell.right += dx;
        run.cell.top += dy;
        run.cell.bottom += dy;
    }
    // What moved past the scrolled area's edge is gone.
    std::erase_if(w.text_runs, [&](const TextRun& run) {
        return run.cell.bottom <= area.top || run.cell.top >= area.bottom ||
               run.cell.right < area.left || run.cell.left >= area.right;
    });
}

void text_covered(Window& w, const RECT& area) {
    std::erase_if(w.text_runs, [&](const TextRun& run) { return holds(w, area, run.cell); });
}

}  // namespace sktch::platform
