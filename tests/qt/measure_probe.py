#!/usr/bin/env python3
"""Measures the probe program on an Xvfb server: time from start to the first frame on the
screen, CPU use while animating (600 shapes a frame) and while halted, and resident memory.

Usage: measure_probe.py PATH_TO_SKTCH_PROBE [--seconds 10] [--starts 5]

CPU comes from utime + stime in /proc/PID/stat over the measuring window, after one second
of warming up; the X server's own CPU is not counted. Needs Xvfb and libX11.
"""
import argparse
import ctypes
import ctypes.util
import os
import statistics
import subprocess
import tempfile
import time

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")


class XImageHead(ctypes.Structure):
    """The leading fields of Xlib's XImage."""
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int), ("xoffset", ctypes.c_int),
                ("format", ctypes.c_int), ("data", ctypes.c_void_p)]


class Screen:
    """Reads pixels of the root window through Xlib."""

    def __init__(self, display):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.c_void_p
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XGetPixel.restype = ctypes.c_ulong
        self.x.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        for _ in range(50):
            self.display = self.x.XOpenDisplay(display.encode())
            if self.display:
                break
            time.sleep(0.1)
        if not self.display:
            raise SystemExit("cannot open display " + display)
        self.root = self.x.XDefaultRootWindow(self.display)

    def column_has_red(self, x, top, height):
        image = self.x.XGetImage(self.display, self.root, x, top, 1, height, 0xFFFFFFFF, 2)
        if not image:
            return False
        red = any(self.x.XGetPixel(image, 0, y) & 0xFFFFFF == 0xFF0000 for y in range(height))
        # XDestroyImage is a macro: free the pixels and the record as it would.
        self.x.XFree(ctypes.cast(image, ctypes.POINTER(XImageHead)).contents.data)
        self.x.XFree(image)
        return red


def start_xvfb():
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    while not number.endswith(b"\n"):  # Xvfb ends the server if the line cannot be written
        chunk = os.read(read_end, 16)
        if not chunk:
            break
        number += chunk
    os.close(read_end)
    number = number.decode().strip()
    return server, ":" + number


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime, stime


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def run(probe, env, screen, mode, seconds):
    """Starts the probe; returns (ms to the red square on screen, CPU %, VmRSS KiB)."""
    # The red square crosses the screen column x = 297 below the menu bar.
    start = time.monotonic()
    program = subprocess.Popen([probe] + ([mode] if mode else []), env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        while not screen.column_has_red(297, 150, 200):
            if time.monotonic() - start > 10:
                raise SystemExit("no frame on the screen after 10 s")
            time.sleep(0.001)
        first_frame_ms = (time.monotonic() - start) * 1000
        if seconds <= 0:
            return first_frame_ms, None, resident_kib(program.pid)
        time.sleep(1.0)
        before = cpu_seconds(program.pid)
        time.sleep(seconds)
        used = cpu_seconds(program.pid) - before
        return first_frame_ms, 100.0 * used / seconds, resident_kib(program.pid)
    finally:
        program.terminate()
        program.wait()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("probe")
    parser.add_argument("--seconds", type=float, default=10)
    parser.add_argument("--starts", type=int, default=5)
    args = parser.parse_args()

    server, display = start_xvfb()
    try:
        env = dict(os.environ, DISPLAY=display)
        for name in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            env.pop(name, None)
        env.setdefault("XDG_RUNTIME_DIR", tempfile.mkdtemp())
        screen = Screen(display)

        starts = [run(args.probe, env, screen, None, 0)[0] for _ in range(args.starts)]
        print(f"first frame on screen: median {statistics.median(starts):.0f} ms, "
              f"min {min(starts):.0f} ms, max {max(starts):.0f} ms ({args.starts} starts)")
        _, halted, rss = run(args.probe, env, screen, None, args.seconds)
        print(f"halted: CPU {halted:.2f} % of one core over {args.seconds:g} s, VmRSS {rss} KiB")
        _, animated, rss = run(args.probe, env, screen, "animate", args.seconds)
        print(f"animating (600 shapes a frame): CPU {animated:.2f} % of one core over "
              f"{args.seconds:g} s, VmRSS {rss} KiB")
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    main()
