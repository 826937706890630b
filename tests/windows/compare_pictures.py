#!/usr/bin/env python3
"""Compares the graphics window as Windows' GDI drew it (a PPM with the world origin in a
comment, from sktch-picture.exe) with our own picture of the same program (a PNG from
sktch-picture-replay), aligned on the world origin, over the part both windows show, leaving
out the places where text is drawn (the two systems draw glyphs from different faces).

Usage: compare_pictures.py WINDOWS.ppm LINUX.png [DIFFERENCE.ppm]
Prints the client sizes, origins and the number of differing pixels; exits 1 if any differ.
"""
import struct
import sys
import zlib

# World rectangles (left, top, right, bottom; y upward) holding text in sktch-picture: the
# four button labels and the title of the game's scene, and the program's own two lines.
TEXT_AREAS = [
    (-288, 243, -222, 138),
    (-288, -204, -80, -226),
    (176, -196, 296, -236),
]


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, origin, at = [], None, 0
    while len(fields) < 4:
        end = data.index(b"\n", at)
        line = data[at:end].decode()
        at = end + 1
        if line.startswith("# origin"):
            origin = tuple(int(v) for v in line.split()[2:4])
        elif not line.startswith("#"):
            fields += line.split()
    width, height = int(fields[1]), int(fields[2])
    rgb = data[at:at + width * height * 3]
    return width, height, origin, rgb


def read_png(path):
    """8-bit RGB or RGBA, not interlaced: what our PNG writer makes."""
    with open(path, "rb") as f:
        data = f.read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path + ": not a PNG"
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, color, _, _, interlace = struct.unpack(">IIBBBBB", body)
            assert depth == 8 and color in (2, 6) and interlace == 0, path + ": unexpected PNG"
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    channels = 3 if color == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - channels] if i >= channels else 0
            b = previous[i]
            c = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(line))
        previous = line
    rgb = bytearray()
    for line in rows:
        for x in range(width):
            rgb += line[x * channels:x * channels + 3]
    return width, height, (width // 2, height // 2), bytes(rgb)


def in_text(wx, wy):
    return any(l <= wx <= r and b <= wy <= t for l, t, r, b in TEXT_AREAS)


def main(argv):
    if len(argv) not in (3, 4):
        print(__doc__)
        return 2
    ww, wh, (wox, woy), wrgb = read_ppm(argv[1])
    lw, lh, (lox, loy), lrgb = read_png(argv[2])
    print(f"Windows client area {ww}x{wh}, origin ({wox}, {woy}); "
          f"ours {lw}x{lh}, origin ({lox}, {loy})")
    # World x and y over the part both windows show.
    x_lo, x_hi = max(-wox, -lox), min(ww - wox, lw - lox)
    y_lo, y_hi = max(-woy, -loy), min(wh - woy, lh - loy)
    compared = differing = 0
    diff = bytearray(b"\xff" * ((x_hi - x_lo) * (y_hi - y_lo) * 3))
    samples = []
    for dy in range(y_lo, y_hi):
        for dx in range(x_lo, x_hi):
            if in_text(dx, -dy):
                continue
            wi = ((woy + dy) * ww + wox + dx) * 3
            li = ((loy + dy) * lw + lox + dx) * 3
            compared += 1
            if wrgb[wi:wi + 3] != lrgb[li:li + 3]:
                differing += 1
                di = ((dy - y_lo) * (x_hi - x_lo) + dx - x_lo) * 3
                diff[di:di + 3] = b"\xff\x00\x00"
                if len(samples) < 10:
                    samples.append(f"world ({dx}, {-dy}): windows {wrgb[wi:wi + 3].hex()} "
                                   f"ours {lrgb[li:li + 3].hex()}")
    print(f"compared {compared} pixels (world x {x_lo}..{x_hi - 1}, y {-(y_hi - 1)}..{-y_lo}), "
          f"{differing} differ")
    for line in samples:
        print("  " + line)
    if len(argv) == 4:
        with open(argv[3], "wb") as f:
            f.write(b"P6\n%d %d\n255\n" % (x_hi - x_lo, y_hi - y_lo) + bytes(diff))
    return 1 if differing else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
