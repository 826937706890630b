#!/usr/bin/env bash
# Builds SKTCH and starts the landing game in its windows.
# With --web: builds the game and the examples as web pages and serves them at
# http://127.0.0.1:8000/ (another port with --port N).
set -euo pipefail
cd "$(dirname "$0")"
source tools/install-deps.sh

if [ "${1:-}" = "--web" ]; then
  port=8000
  if [ "${2:-}" = "--port" ] && [ -n "${3:-}" ]; then
    port=$3
  fi
  sktch_install_deps emscripten libstb-dev node-acorn fonts-dejavu-core python3
  cmake --preset web >/dev/null
  cmake --build --preset web -j "$(nproc 2>/dev/null || echo 2)"
  echo "SKTCH in the browser: http://127.0.0.1:$port/  (Ctrl+C stops the server)"
  exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/site
fi

sktch_install_deps

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: ./play.sh needs a desktop session (DISPLAY or WAYLAND_DISPLAY is not set)."
  exit 1
fi

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc 2>/dev/null || echo 2)" --target landing
exec build/default/game/landing "$@"
