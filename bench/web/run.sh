#!/usr/bin/env bash
# Builds the web pages and the native benchmarks, then times one game frame in headless
# Chromium against the native frame, and the game page's load to its first frame.
set -euo pipefail
cd "$(dirname "$0")/../.."
jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset web >/dev/null
cmake --build --preset web -j "$jobs"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs" --target game_bench
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node bench/web/bench.mjs build/web/site build/default/bench/game_bench
