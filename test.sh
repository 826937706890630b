#!/usr/bin/env bash
# Builds SKTCH and runs every test: once in the default build, once under the address and
# undefined-behaviour sanitizers, and the fuzz targets for a short while. A plain Release
# build (as a packager makes it) and a clang++ build of the library, the game and the tools
# are built too, so that neither breaks unnoticed; their tests are the default build's.
# Ends with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")"
source tools/install-deps.sh
sktch_install_deps

jobs=$(nproc 2>/dev/null || echo 2)
for preset in default sanitize release clang; do
  echo "== $preset build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
status=0
# The fuzz targets, briefly (tests/fuzz/run.sh has the long runs); before CTest's summaries.
echo "== fuzz targets, ${SKTCH_FUZZ_SECONDS:-20} s each"
tests/fuzz/run.sh smoke "${SKTCH_FUZZ_SECONDS:-20}" || status=1
# ---- Windows: cross-built with MinGW-w64 (the zip too), checked under Wine on Xvfb --------
echo "== windows build, checks under Wine"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
tests/windows/run.sh build/windows build/default/tests/windows/sktch-picture-replay || status=1
# ---- end of the Windows block --------------------------------------------------------------
ctest --preset sanitize -j "$jobs" || status=1
echo "== default build tests"
ctest --preset default -j "$jobs" || status=1
# ---- web pages in headless Chromium ----------------------------------------------------------
echo "== web pages in headless Chromium"
tests/web/run.sh build/default || status=1
# ---- end of the web pages' checks ------------------------------------------------------------
exit $status
