#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the game need; only those missing,
# so a second run installs nothing. Sourced by play.sh and test.sh.
set -euo pipefail

sktch_packages=(
  cmake g++ make pkg-config
  qt6-base-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool x11-apps imagemagick
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64 wine64
)

sktch_install_deps() {
  local missing=()
  for package in "${sktch_packages[@]}" "$@"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$package")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
