#!/usr/bin/env bash
# The long headless soak of the landing game: one million periodic events with a click every
# hundred. The default build judges the resident memory; the sanitize build's LeakSanitizer
# reports any leak when the program ends.
#
#   tests/soak/run_headless.sh [EVENTS] [PRESET]     (1000000, default; or the sanitize preset)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
events=${1:-1000000}
preset=${2:-default}
cd "$root"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j 2 --target soak_headless >/dev/null
LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    "build/$preset/tests/soak_headless" "$events"
