#!/bin/sh
# End to end on a real X server: runs the probe program under Xvfb, finds its red square on
# the screen, clicks and types with xdotool, checks the events the program prints, and quits
# with Ctrl+Q; on the way, records while a script plays and checks the script is left as it
# was. Usage: xvfb_end_to_end.sh PATH_TO_PROBE. Exit code 77 when Xvfb is missing.
set -u
probe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Without any display the program says so in one line and exits with 1.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$probe" >/dev/null 2>"${TMPDIR:-/tmp}/sktch_nodisplay.$$"
status=$?
message=$(cat "${TMPDIR:-/tmp}/sktch_nodisplay.$$")
rm -f "${TMPDIR:-/tmp}/sktch_nodisplay.$$"
[ "$status" = 1 ] || fail "without a display: exit code $status, expected 1"
[ "$message" = "SKTCH: no display available (set DISPLAY or WAYLAND_DISPLAY)" ] ||
    fail "without a display: unexpected message: $message"

for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=
probe_pid=
cleanup() {
    [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number, then a newline, to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
display_ready() { [ "$(wc -l <"$work/display")" -ge 1 ]; }
for _ in $(seq 100); do
    display_ready && break
    sleep 0.05
done
display_ready || { echo "SKIP: Xvfb did not start"; exit 77; }
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# The program runs in its own folder, where its script file lies.
script='SKTCH_KBD(65);
SKTCH_KBD(66);
SKTCH_KBD(67);'
printf '%s\n' "$script" >"$work/SKTCH.SCR"
(cd "$work" && exec "$probe") >"$work/out" 2>"$work/err" &
probe_pid=$!

# Waits until the program has printed `expected` as its last line.
expect_line() {
    for _ in $(seq 100); do
        [ "$(tail -n 1 "$work/out")" = "$1" ] && return 0
        sleep 0.05
    done
    fail "expected \"$1\", the program printed: $(cat "$work/out")"
}

timeout 10 xdotool search --sync --onlyvisible --name '^SKTCH Graphics$' >/dev/null ||
    fail "the graphics window did not appear"

# The red square covers device pixels (247, 193) to (347, 293) of the client area, both
# corners included. Find it on the screen: its top-left corner tells where the client area lies.
found=
for _ in $(seq 50); do
    import -window root "$work/shot.png"
    box=$(convert "$work/shot.png" -crop 700x600+0+0 +repage -fill black +opaque '#FF0000' \
        -trim -format '%w %h %X %Y' info: 2>/dev/null)
    set -- $box
    if [ $# = 4 ] && [ "$1" -gt 90 ] && [ "$2" -gt 90 ]; then
        found=1
        break
    fi
    sleep 0.1
done
[ -n "$found" ] || fail "no red square on the screen"
width=$1 height=$2 left=${3#+} top=${4#+}
[ "$width" = 101 ] && [ "$height" = 101 ] || fail "red square is ${width}x$height, expected 101x101"
client_x=$((left - 247))
client_y=$((top - 193))
[ "$client_x" -ge 0 ] && [ "$client_y" -gt 0 ] ||
    fail "client area at ($client_x, $client_y): expected below a menu bar"
centre=$(convert "$work/shot.png" -format "%[pixel:p{$((client_x + 297)),$((client_y + 243))}]" info:)
case "$centre" in
    red | "srgb(255,0,0)") ;;
    *) fail "pixel at the world origin is $centre, expected red" ;;
esac

# Clicks in client coordinates come back as world coordinates (origin at (297, 243)).
xdotool mousemove $((client_x + 337)) $((client_y + 263)) click 1
expect_line "MOUSE 40 -20"
xdotool mousemove "$client_x" "$client_y" click 1
expect_line "MOUSE -297 243"

# A typed character is an event; Ctrl+A starts the animation and types nothing.
xdotool key x
expect_line "KBD x"
xdotool key ctrl+a
xdotool key ctrl+h
xdotool key y
expect_line "KBD y"
grep -q '^KBD #' "$work/out" && fail "a Ctrl shortcut made a key event: $(cat "$work/out")"

# Play One, Record on, Playback to the end of the file, a click, Record off: the click is not
# written over the script that was played while the recording was on.
xdotool key ctrl+o
expect_line "KBD A"
xdotool key ctrl+r ctrl+p
expect_line "KBD C"
xdotool mousemove $((client_x + 337)) $((client_y + 263)) click 1
expect_line "MOUSE 40 -20"
xdotool key ctrl+r
xdotool key z
expect_line "KBD z"
[ "$(cat "$work/SKTCH.SCR")" = "$script" ] ||
    fail "the played script changed while recording: $(cat "$work/SKTCH.SCR")"

# Ctrl+Q quits; the program ends with exit code 0.
xdotool key ctrl+q
for _ in $(seq 100); do
    kill -0 "$probe_pid" 2>/dev/null || break
    sleep 0.05
done
wait "$probe_pid"
status=$?
probe_pid=
[ "$status" = 0 ] || fail "exit code $status after Ctrl+Q"
[ "$(tail -n 1 "$work/out")" = "QUIT" ] || fail "last line: $(tail -n 1 "$work/out")"
echo "PASS"
