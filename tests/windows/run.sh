#!/usr/bin/env bash
# The Windows build's checks, under Wine on a headless X server: the game's windows, menu,
# halt, quit, scripts and idle CPU; the line-input dialog; and the picture GDI draws against
# ours, pixel for pixel outside text.
#
# Usage: [SKTCH_WINDOWS_SCREENSHOT=game.png] [SKTCH_WINDOWS_DIFF=difference.ppm]
#        tests/windows/run.sh WINDOWS_BUILD_DIR PICTURE_REPLAY
#   WINDOWS_BUILD_DIR  a build of the "windows" preset (landing.exe, tests/windows/*.exe)
#   PICTURE_REPLAY     the Linux build's tests/windows/sktch-picture-replay
# Wine runs in a fresh prefix in a temporary folder, started once for all the checks.
# SKTCH_WINDOWS_SCREENSHOT saves the running game's window as a PNG; SKTCH_WINDOWS_DIFF
# keeps the picture comparison's map of differing pixels.
# Exits 1 if any check fails, naming it; never skips: no Wine is a failure.
set -uo pipefail

build=$(cd "$1" && pwd)
replay=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
here=$(cd "$(dirname "$0")" && pwd)
wine=$(command -v wine64 || command -v wine || ls /usr/lib/wine/wine64 2>/dev/null)
wineserver=$(command -v wineserver || ls /usr/lib/wine/wineserver 2>/dev/null)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
die() { echo "FAIL: $*"; exit 1; }

[ -n "$wine" ] || die "no wine64 found: install Debian's wine64"
for tool in Xvfb xdotool xwd compare x86_64-w64-mingw32-g++; do command -v $tool >/dev/null || die "$tool is missing"; done
for exe in landing.exe tests/windows/sktch-picture.exe tests/windows/sktch-ask.exe \
  tests/windows/sktch-gdi-replay.exe; do
  [ -f "$build/$exe" ] || die "$build/$exe is missing: build the windows preset first"
done
[ -x "$replay" ] || die "$replay is missing"

work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  [ -n "$wineserver" ] && "$wineserver" -k 2>/dev/null
  kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || die "Xvfb did not start"
export DISPLAY=:$(cat "$work/display")

# Wine's first start makes the prefix (slow); the server then stays up for every check.
started=$(date +%s)
timeout 300 "$wine" wineboot -i >/dev/null 2>&1 || die "Wine cannot start (wineboot failed)"
"$wineserver" -p 2>/dev/null
echo "Wine started in $(( $(date +%s) - started )) s"

# Waits up to $2 seconds for a window named exactly $1; prints its X id.
wait_window() {
  for _ in $(seq $(( $2 * 10 ))); do
    local id
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
# xdotool complains of the focus on a server without a window manager; its input still lands.
xdo() { xdotool "$@" 2>/dev/null; }
frame() { xwd -silent -id "$1" | md5sum | cut -d' ' -f1; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# A started program's pid is its Wine process: the loader becomes the program.
start() {  # folder, exe, arguments...
  local dir=$1 exe=$2
  shift 2
  (cd "$dir" && exec "$wine" "$exe" "$@" >/dev/null 2>&1) &
  pids+=($!)
}

# ---- the game -------------------------------------------------------------------------------
mkdir -p "$work/game"
cp "$build/landing.exe" "$work/game/"
start "$work/game" landing.exe
game=$!
graphics=$(wait_window "SKTCH Graphics" 60) || die "the game's \"SKTCH Graphics\" window did not appear"
pass "window \"SKTCH Graphics\""
wait_window "SKTCH Text" 10 >/dev/null && pass "window \"SKTCH Text\"" || fail "no \"SKTCH Text\" window"
sleep 1
# The picture of docs/windows.md: SKTCH_WINDOWS_SCREENSHOT=docs/pictures/landing-wine.png.
if [ -n "${SKTCH_WINDOWS_SCREENSHOT:-}" ]; then
  xwd -silent -id "$graphics" | convert xwd:- -strip "$SKTCH_WINDOWS_SCREENSHOT" ||
    fail "no screenshot written to $SKTCH_WINDOWS_SCREENSHOT"
fi
a=$(frame "$graphics"); sleep 0.5; b=$(frame "$graphics")
[ "$a" != "$b" ] && pass "the game animates" || fail "the game's picture does not change while running"
xdo key --window "$graphics" ctrl+h
sleep 0.5
a=$(frame "$graphics"); sleep 1; b=$(frame "$graphics")
[ "$a" = "$b" ] && pass "Ctrl+H halts" || fail "the picture still changes after Ctrl+H"
before=$(cpu_ticks "$game"); sleep 5; after=$(cpu_ticks "$game")
ticks_per_s=$(getconf CLK_TCK)
echo "halted game: $((after - before)) CPU ticks (1/$ticks_per_s s) in 5 s"
[ $((after - before)) -le $((ticks_per_s / 10)) ] && pass "a halted game uses no CPU" ||
  fail "a halted game used $((after - before)) CPU ticks in 5 s"

# Scripts: record three clicks on the LAND button while halted; each moves the aircraft.
xdo key --window "$graphics" ctrl+r
sleep 0.3
for _ in 1 2 3; do
  xdo mousemove --window "$graphics" 30 40 click 1
  sleep 0.3
done
xdo key --window "$graphics" ctrl+r
sleep 0.5
clicks=$(grep -c '^SKTCH_MOUSE(' "$work/game/SKTCH.SCR" 2>/dev/null)
[ "${clicks:-0}" = 3 ] && pass "Ctrl+R, three clicks, Ctrl+R: SKTCH.SCR holds three clicks" ||
  fail "SKTCH.SCR after three recorded clicks: $(tr '\n' ' ' <"$work/game/SKTCH.SCR" 2>/dev/null)"
a=$(frame "$graphics")
xdo key --window "$graphics" ctrl+p
sleep 1
b=$(frame "$graphics")
[ "$a" != "$b" ] && pass "Ctrl+P plays the clicks back" || fail "nothing moved on Ctrl+P"
xdo key --window "$graphics" ctrl+q
for _ in $(seq 100); do kill -0 "$game" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$game" 2>/dev/null; then
  fail "the game still runs after Ctrl+Q"
else
  wait "$game"
  code=$?
  [ $code = 0 ] && pass "Ctrl+Q ends the game with exit code 0" || fail "exit code $code after Ctrl+Q"
fi

# ---- the picture ----------------------------------------------------------------------------
mkdir -p "$work/picture"
start "$work/picture" "$build/tests/windows/sktch-picture.exe" picture.ppm
picture=$!
for _ in $(seq 300); do [ -s "$work/picture/picture.ppm.menu" ] && break; sleep 0.1; done
if [ -s "$work/picture/picture.ppm.menu" ]; then
  grep -q '^&Run$' "$work/picture/picture.ppm.menu" &&
    grep -q '^  &Quit	Ctrl+Q$' "$work/picture/picture.ppm.menu" &&
    grep -q '^  &Logging	Ctrl+L$' "$work/picture/picture.ppm.menu" &&
    [ "$(grep -c '^  ' "$work/picture/picture.ppm.menu")" = 11 ] &&
    pass "the Run menu, as user32 holds it (Logging unchecked by SKTCH_logging(0))" ||
    fail "the menu: $(cat "$work/picture/picture.ppm.menu")"
  printf 'SKTCH_PERIODIC(3);\n' >"$work/picture/picture.scr"
  "$replay" "$work/picture/picture.scr" "$work/picture/ours.png" >/dev/null ||
    fail "the headless picture could not be made"
  python3 "$here/compare_pictures.py" "$work/picture/picture.ppm" "$work/picture/ours.png" \
    "${SKTCH_WINDOWS_DIFF:-$work/picture/difference.ppm}" &&
    pass "GDI's picture equals ours outside text" || fail "GDI's picture differs from ours"
else
  fail "sktch-picture.exe wrote no picture"
fi
xdo key --window "$(wait_window "SKTCH Graphics" 5)" ctrl+q 2>/dev/null
wait "$picture" 2>/dev/null

# ---- the reference pictures ----------------------------------------------------------------
# tests/raster/reference holds pictures of the pixel rules that our rasterizer is tested
# against; drawn again here by GDI from their command lists, each must come out the same.
mkdir -p "$work/reference"
for list in "$here"/../raster/reference/*.txt; do
  name=$(basename "$list" .txt)
  if (cd "$work/reference" && "$wine" "$build/tests/windows/sktch-gdi-replay.exe" "$list" "$name.ppm" \
        >/dev/null 2>&1) &&
     [ "$(compare -metric AE "$work/reference/$name.ppm" "${list%.txt}.png" null: 2>&1)" = 0 ]; then
    pass "GDI draws reference picture $name as stored"
  else
    fail "GDI's drawing of reference picture $name differs from the stored one"
  fi
done

# ---- the line-input dialog ------------------------------------------------------------------
mkdir -p "$work/ask"
start "$work/ask" "$build/tests/windows/sktch-ask.exe" answer.txt
ask=$!
if dialog=$(wait_window "SKTCH_gets" 30); then
  (cd "$work/ask" && "$wine" "$build/tests/windows/sktch-ask.exe" peek shown.txt >/dev/null 2>&1)
  grep -q '^prompt=\[Type a word and press Enter *\]$' "$work/ask/shown.txt" 2>/dev/null &&
    grep -q '^button=\[Okay\]$' "$work/ask/shown.txt" &&
    pass "the dialog shows the prompt and \"Okay\"" ||
    fail "the dialog shows: $(cat "$work/ask/shown.txt" 2>/dev/null)"
  xdo type --window "$dialog" "plane"
  xdo key --window "$dialog" Escape
  sleep 1
  kill -0 "$ask" 2>/dev/null && [ ! -e "$work/ask/answer.txt" ] &&
    pass "Escape does not end the dialog" || fail "Escape ended the dialog"
  (cd "$work/ask" && "$wine" "$build/tests/windows/sktch-ask.exe" close >/dev/null 2>&1) ||
    fail "could not ask the dialog to close"
  sleep 1
  kill -0 "$ask" 2>/dev/null && [ ! -e "$work/ask/answer.txt" ] &&
    pass "the close box does not end the dialog" || fail "the close box ended the dialog"
  xdo key --window "$dialog" Return
  for _ in $(seq 100); do kill -0 "$ask" 2>/dev/null || break; sleep 0.1; done
  wait "$ask"
  code=$?
  [ $code = 0 ] && [ "$(cat "$work/ask/answer.txt" 2>/dev/null)" = "[plane] 1" ] &&
    pass "typed text and Enter come back" ||
    fail "after Enter: exit code $code, answer $(cat "$work/ask/answer.txt" 2>/dev/null)"
else
  fail "no \"SKTCH_gets\" dialog appeared"
fi

# ---- a program outside the tree, against the installed prefix ------------------------------
# Built with the one line of docs/windows.md, and through find_package(SKTCH); each must open
# its window under Wine and end with code 0 on Ctrl+Q.
source_dir=$(cd "$here/../.." && pwd)
prefix="$work/installed"
mkdir -p "$work/hello"
run_hello() {  # exe, how it was built
  start "$work/hello" "$1"
  local hello=$! window
  if window=$(wait_window "SKTCH Graphics" 30); then
    xdo key --window "$window" ctrl+q
    wait "$hello"
    local code=$?
    [ $code = 0 ] && pass "hello.exe $2 runs and quits with 0" || fail "hello.exe $2: exit code $code"
  else
    fail "hello.exe $2 opened no window"
  fi
}
if cmake --install "$build" --prefix "$prefix" >/dev/null; then
  if x86_64-w64-mingw32-g++ "$here/consumer/hello.cpp" -I "$prefix/include" \
       "$prefix/lib/libsktch.a" -mwindows -lgdi32 -luser32 -o "$work/hello/hello.exe"; then
    run_hello "$work/hello/hello.exe" "(one command line)"
  else
    fail "hello.cpp does not build against the installed prefix with one command line"
  fi
  if cmake -S "$here/consumer" -B "$work/hello/build" -DCMAKE_PREFIX_PATH="$prefix" \
       -DCMAKE_TOOLCHAIN_FILE="$source_dir/cmake/toolchains/mingw-w64-x86_64.cmake" >/dev/null &&
     cmake --build "$work/hello/build" >/dev/null; then
    run_hello "$work/hello/build/hello.exe" "(find_package)"
  else
    fail "hello.cpp does not build through find_package(SKTCH)"
  fi
else
  fail "cmake --install of the Windows build failed"
fi

echo "Windows checks: $failures failed, $(( $(date +%s) - started )) s"
[ $failures = 0 ]
