// The library's state record, as the process starts.
#include "state.h"

namespace sktch {

LibraryState state;

void reset_state() {
    if (state.script_file) std::fclose(state.script_file);
    state = LibraryState{};
}

}  // namespace sktch
