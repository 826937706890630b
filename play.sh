#!/usr/bin/env bash
# Builds SKTCH and starts the landing game in its windows.
set -euo pipefail
cd "$(dirname "$0")"
source tools/install-deps.sh
sktch_install_deps

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: ./play.sh needs a desktop session (DISPLAY or WAYLAND_DISPLAY is not set)."
  exit 1
fi

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc 2>/dev/null || echo 2)" --target landing
exec build/default/game/landing "$@"
