#!/usr/bin/env bash
# The browser checks: builds the web pages (the web preset), then drives them in headless
# Chromium with web_test.mjs, taking the native build's replay tools as the reference.
# Usage: tests/web/run.sh [NATIVE_BUILD_DIR]   (default: build/default)
set -euo pipefail
cd "$(dirname "$0")/../.."
native=${1:-build/default}
source tools/install-deps.sh
sktch_install_deps emscripten libstb-dev node-acorn fonts-dejavu-core chromium
for tool in node npm; do
  if ! command -v "$tool" >/dev/null; then
    echo "tests/web/run.sh: $tool is needed to drive the browser" >&2
    exit 1
  fi
done

jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset web >/dev/null
cmake --build --preset web -j "$jobs"
replay_tools=(tools/sktch-replay examples/shapes-replay examples/text_window-replay)
for tool in "${replay_tools[@]}"; do
  if [ ! -x "$native/$tool" ]; then
    cmake --build "$native" -j "$jobs" --target "${replay_tools[@]##*/}"
    break
  fi
done
(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
node tests/web/web_test.mjs build/web/site "$native"
