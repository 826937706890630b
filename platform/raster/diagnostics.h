// The library's own diagnostics: one line on stderr each, all starting "SKTCH: ", so that
// they stand apart from a program's own output.
#pragma once

#include <cstdio>

namespace sktch {

inline void diagnostic(const char* text) {
    std::fprintf(stderr, "SKTCH: %s\n", text);
}

}  // namespace sktch
