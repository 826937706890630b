#!/usr/bin/env bash
# Installs SKTCH from a build tree into a temporary prefix, moves the installed tree to another
# place (nothing in it may depend on where it was installed), then builds a small program
# outside the source tree against it, through find_package(SKTCH) and through pkg-config, and
# runs it: with the headless library as it is, with the Qt library on Qt's offscreen platform.
#
# Usage: install_test.sh BUILD_DIR CONFIG LIBDIR WITH_QT
#   CONFIG   the build's configuration (may be empty)
#   LIBDIR   the libraries' folder under the prefix (CMAKE_INSTALL_LIBDIR)
#   WITH_QT  ON when the build has the Qt library
# CXX, CXXFLAGS and LDFLAGS, when set, build the program (the build's own compiler and flags).
set -euo pipefail
build=$(cd "$1" && pwd)
config=$2
libdir=$3
with_qt=$4
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
cxx=${CXX:-c++}

work=$(mktemp -d "${TMPDIR:-/tmp}/sktch-install-test-XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
step() { echo "== $*"; }
# Runs a command with its output in a log, shown only when it fails.
quietly() {
    local log=$work/last.log
    "$@" >"$log" 2>&1 || {
        cat "$log" >&2
        fail "$*"
    }
}
qt=false
case "${with_qt^^}" in ON | 1 | TRUE | YES | Y) qt=true ;; esac

# Runs a program that must end by itself with status 0 and print its two events.
expect_quits() {
    local out
    out=$(timeout 60 "$@") || fail "$* ended with status $?"
    [ "$out" = "events 3 4" ] || fail "$* printed \"$out\", expected \"events 3 4\""
}
# A PNG of the graphics window's client area (595 by 487) with the red circle in the middle.
expect_picture() {
    [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "$1 is no PNG"
    if command -v convert >/dev/null 2>&1; then
        local seen
        seen=$(convert "$1" -format '%w %h %[pixel:p{297,243}]' info:)
        case "$seen" in
            "595 487 red" | "595 487 srgb(255,0,0)") ;;
            *) fail "$1: expected 595 by 487 with red in the middle, found $seen" ;;
        esac
    fi
}

step "install"
config_args=()
[ -n "$config" ] && config_args=(--config "$config")
quietly cmake --install "$build" "${config_args[@]}" --prefix "$work/stage"
mv "$work/stage" "$work/prefix"
prefix=$work/prefix

step "installed files"
expected=(include/sktch.h include/sktch/win32.h include/sktch/headless.h include/sktch/run_menu.h
    "$libdir/libsktch_headless.a" "$libdir/libsktch_raster.a" "$libdir/libsktch_replay_main.a"
    "$libdir/cmake/SKTCH/SKTCHConfig.cmake" "$libdir/cmake/SKTCH/SKTCHConfigVersion.cmake"
    "$libdir/pkgconfig/sktch-headless.pc" "$libdir/pkgconfig/sktch-replay.pc" bin/sktch-replay)
$qt && expected+=("$libdir/libsktch.a" "$libdir/pkgconfig/sktch.pc" bin/landing)
for file in "${expected[@]}"; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done
for program in bin/sktch-replay $($qt && echo bin/landing); do
    [ -x "$prefix/$program" ] || fail "not executable: $program"
done
# Only the public headers: the layers' own headers stay in the source tree.
headers=$(cd "$prefix/include" && find . -type f | sort | tr '\n' ' ')
[ "$headers" = "./sktch.h ./sktch/headless.h ./sktch/run_menu.h ./sktch/win32.h " ] ||
    fail "installed headers are $headers"
if grep -rlF -e "$build" -e "$source_dir" "$prefix/$libdir/cmake" "$prefix/$libdir/pkgconfig"; then
    fail "the package files above name the build or source tree"
fi
# Each archive holds its main() once: the program's WinMain is all a program adds.
for archive in "$prefix/$libdir"/libsktch*.a; do
    mains=$(nm -C --defined-only "$archive" 2>/dev/null | grep -c ' T main$' || true)
    case "$(basename "$archive")" in
        libsktch_raster.a) [ "$mains" = 0 ] || fail "$archive defines main()" ;;
        *) [ "$mains" = 1 ] || fail "$archive defines main() $mains times" ;;
    esac
done

step "installed sktch-replay"
printf 'SKTCH_PERIODIC(3);\n' >"$work/three.scr"
quietly "$prefix/bin/sktch-replay" "$work/three.scr" "$work/replay.png"
[ "$(head -c 4 "$work/replay.png" | od -An -c | tr -d ' \n')" = 211PNG ] || fail "replay wrote no PNG"

cp -r "$here/consumer" "$work/src"

step "find_package(SKTCH COMPONENTS headless), Qt out of reach"
quietly cmake -S "$work/src" -B "$work/cmake-headless" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCONSUMER_WITH_QT=OFF -DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON
quietly cmake --build "$work/cmake-headless"
expect_quits "$work/cmake-headless/consumer_headless" "$work/cmake-headless.png"
expect_picture "$work/cmake-headless.png"
# The program as its own replay tool: the script's one periodic event, then the quit it asks for.
printf 'SKTCH_PERIODIC(1);\n' >"$work/one.scr"
expect_quits "$work/cmake-headless/consumer_replay" "$work/one.scr" "$work/cmake-replay.png"
expect_picture "$work/cmake-replay.png"

if $qt; then
    step "find_package(SKTCH): both libraries"
    quietly cmake -S "$work/src" -B "$work/cmake-all" -DCMAKE_PREFIX_PATH="$prefix"
    quietly cmake --build "$work/cmake-all"
    expect_quits "$work/cmake-all/consumer_headless" "$work/cmake-all.png"
    expect_picture "$work/cmake-all.png"
    QT_QPA_PLATFORM=offscreen expect_quits "$work/cmake-all/consumer_qt"
fi

step "pkg-config sktch-headless"
export PKG_CONFIG_PATH="$prefix/$libdir/pkgconfig${PKG_CONFIG_PATH:+:$PKG_CONFIG_PATH}"
# shellcheck disable=SC2046,SC2086 # the flags are lists of words
quietly $cxx ${CXXFLAGS:-} -Wall -Wextra -Werror -DCONSUMER_HEADLESS \
    $(pkg-config --cflags sktch-headless) "$work/src/consumer.cpp" -o "$work/pc-headless" \
    ${LDFLAGS:-} $(pkg-config --libs sktch-headless)
expect_quits "$work/pc-headless" "$work/pc-headless.png"
expect_picture "$work/pc-headless.png"

step "pkg-config sktch-replay"
# shellcheck disable=SC2046,SC2086
quietly $cxx ${CXXFLAGS:-} -Wall -Wextra -Werror -DCONSUMER_HEADLESS \
    $(pkg-config --cflags sktch-replay) "$work/src/consumer.cpp" -o "$work/pc-replay" \
    ${LDFLAGS:-} $(pkg-config --libs sktch-replay)
expect_quits "$work/pc-replay" "$work/one.scr" "$work/pc-replay.png"
expect_picture "$work/pc-replay.png"

if $qt; then
    step "pkg-config sktch"
    # shellcheck disable=SC2046,SC2086
    quietly $cxx ${CXXFLAGS:-} -Wall -Wextra -Werror $(pkg-config --cflags sktch) \
        "$work/src/consumer.cpp" -o "$work/pc-qt" ${LDFLAGS:-} $(pkg-config --libs sktch)
    QT_QPA_PLATFORM=offscreen expect_quits "$work/pc-qt"
fi
echo "PASS"
