#!/usr/bin/env bash
# A long game on a real X server: the landing game (the Qt program) runs under Xvfb while
# random clicks, typed keys and Run-menu shortcuts (Ctrl+A/H/F/L/R/P/O: animation, logging,
# recording and playback) are sent with xdotool. Every few seconds the game must still be
# running with its graphics window, and its picture must have changed; at the end Ctrl+Q
# must end it with exit code 0.
#
# Usage: xvfb_soak.sh PATH_TO_LANDING [SECONDS]   (300 unless given)
# Exit code 77 when Xvfb or xdotool is missing or Xvfb does not start.
set -u
game=${1:?usage: xvfb_soak.sh PATH_TO_LANDING [SECONDS]}
seconds=${2:-300}
game=$(cd "$(dirname "$game")" && pwd)/$(basename "$game")

fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/err" ] && { echo "the game's standard error:" >&2; tail -n 20 "$work/err" >&2; }
    exit 1
}

for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=
game_pid=
cleanup() {
    [ -n "$game_pid" ] && kill -9 "$game_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
done
[ -s "$work/display" ] || { echo "SKIP: Xvfb did not start"; exit 77; }
DISPLAY=:$(cat "$work/display")
export DISPLAY
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

# The game writes its script file in its working directory.
mkdir "$work/run"
(cd "$work/run" && exec "$game") >"$work/out" 2>"$work/err" &
game_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^SKTCH Graphics$' | head -n 1)
[ -n "$window" ] || fail "the graphics window did not appear"
eval "$(xdotool getwindowgeometry --shell "$window")"
left=$X top=$Y width=$WIDTH height=$HEIGHT

# The graphics window's picture, as a checksum.
picture() {
    import -window root -crop "${width}x${height}+${left}+${top}" +repage rgb:- 2>/dev/null |
        md5sum | cut -d' ' -f1
}

# The game must be running and showing its window.
check_alive() {
    kill -0 "$game_pid" 2>/dev/null || { wait "$game_pid"; fail "the game ended by itself (exit code $?) after $1 s"; }
    xdotool search --onlyvisible --name '^SKTCH Graphics$' >/dev/null ||
        fail "the graphics window is gone after $1 s"
}

# Somewhere in the window below its menu bar, so that no click opens the Run menu.
random_point() {
    echo $((left + 5 + RANDOM % (width - 10))) $((top + 40 + RANDOM % (height - 45)))
}

shortcuts=(a h f l r p o)
actions=0
checks=0
started=$(date +%s)
last_check=$started
previous=$(picture)
while :; do
    now=$(date +%s)
    elapsed=$((now - started))
    [ "$elapsed" -ge "$seconds" ] && break

    # Keys go to the window under the pointer: keep the pointer on the graphics window.
    read -r x y <<<"$(random_point)"
    case $((RANDOM % 10)) in
        0 | 1 | 2 | 3 | 4) xdotool mousemove "$x" "$y" click 1 ;;
        5 | 6) xdotool mousemove "$x" "$y" key "$(printf "\\x$(printf %x $((97 + RANDOM % 26)))")" ;;
        *) xdotool mousemove "$x" "$y" key "ctrl+${shortcuts[RANDOM % ${#shortcuts[@]}]}" ;;
    esac
    actions=$((actions + 1))
    sleep 0.0$((RANDOM % 10))

    if [ $((now - last_check)) -ge 5 ]; then
        check_alive "$elapsed"
        # Animation on (a random Ctrl+H may have halted it); the flyers and the sun then
        # move on every tick, so the picture must soon differ from the last check's. A frame
        # with logging on (Ctrl+L) prints a line per drawing call and may take a while.
        xdotool mousemove "$x" "$y" key ctrl+a
        changed=
        for _ in $(seq 30); do
            sleep 0.5
            current=$(picture)
            [ "$current" != "$previous" ] && { changed=1; break; }
        done
        if [ -z "$changed" ]; then
            import -window root "$work/unchanged.png" 2>/dev/null
            cp "$work/unchanged.png" "${TMPDIR:-/tmp}/sktch-xvfb-soak-unchanged.png" 2>/dev/null
            fail "the picture did not change for 15 s after Ctrl+A at $elapsed s (screenshot in ${TMPDIR:-/tmp}/sktch-xvfb-soak-unchanged.png)"
        fi
        previous=$current
        last_check=$now
        checks=$((checks + 1))
    fi
done
check_alive "$seconds"

# Ctrl+Q ends the game with exit code 0. The game first works through the input still queued
# (one message per event it returns, each with a new frame; a playing script feeds it an event
# each time), which in a sanitizer build on a busy machine takes a while (45 s seen).
read -r x y <<<"$(random_point)"
xdotool mousemove "$x" "$y" key ctrl+q
quit_started=$(date +%s)
for _ in $(seq 2400); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.05
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not end within 120 s of Ctrl+Q"
quit_seconds=$(($(date +%s) - quit_started))
wait "$game_pid"
status=$?
game_pid=
[ "$status" = 0 ] || fail "exit code $status after Ctrl+Q"
script_lines=$(wc -l <"$work/run/SKTCH.SCR" 2>/dev/null || echo 0)
echo "PASS: $seconds s, $actions actions, $checks picture checks, $script_lines script lines at the end, ended ${quit_seconds} s after Ctrl+Q"
