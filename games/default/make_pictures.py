#!/usr/bin/env python3
"""Draws the bundled game's second screen and its twinkling star.

usage: make_pictures.py OUT_DIR

night.bmp  the night sky the first screen dissolves into (640 x 480, 8-bit)
star.bmp   the star's cells side by side over the sky behind them (24-bit)
star.anm   the frame script that plays them (cells 1 to 4 and back, a rest)

Cell 0 is the star at rest exactly as night.bmp shows it, so the screen is
the picture itself whenever the star rests. Standard library only.
"""
import os
import struct
import sys

WIDTH, HEIGHT = 640, 480  # colours below are (blue, green, red), as the files hold them
CELL, CELLS = 32, 5
STAR_X, STAR_Y = 456, 64  # the cell's top-left corner on the screen
HORIZON = 384


def mix(a, b, t):
    return tuple(round(p + (q - p) * t) for p, q in zip(a, b))


def sky(y):
    """Bands of eight rows from deep blue to a violet horizon."""
    band = min(y, HORIZON - 1) // 8
    return mix((48, 14, 12), (100, 40, 70), band / (HORIZON // 8 - 1))


def star(k, x, y):
    """Brightness in eighths of the star of size k at cell pixel (x, y):
    four arms that grow with k, and short diagonals from k = 3 on."""
    dx, dy = abs(x - 16), abs(y - 16)
    reach = 3 + 3 * k
    level = 0.0
    if min(dx, dy) == 0:
        level = 1 - max(dx, dy) / (reach + 1)
    elif dx == dy and k >= 3:
        level = 0.6 - dx / (k + 1)
    if dx * dx + dy * dy <= (k // 2) ** 2:
        level = 1.0
    return max(0, round(8 * level))


def star_pixel(k, x, y):
    return mix(sky(STAR_Y + y), (230, 250, 255), star(k, x, y) / 8)


def moon(x, y):
    """A crescent: a disc with a second, offset disc of sky taken out."""
    lit = (x - 120) ** 2 + (y - 104) ** 2 <= 34**2
    return lit and (x - 134) ** 2 + (y - 96) ** 2 > 30**2


def hill(x, base, rise, period):
    t = (x % period) / period
    return base - rise * 4 * t * (1 - t)


def night():
    rows = [[sky(y) for _ in range(WIDTH)] for y in range(HEIGHT)]
    seed = 12345
    for _ in range(70):  # fixed little stars from a small generator
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        x, y = seed % WIDTH, (seed >> 12) % 300
        rows[y][x] = (200, 220, 230) if seed & 0x100 else (150, 170, 190)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if moon(x, y):
                rows[y][x] = (170, 235, 250)
            if y >= hill(x + 90, 400, 70, 420):
                rows[y][x] = (60, 26, 30)
            if y >= hill(x, 450, 60, 300):
                rows[y][x] = (30, 14, 16)
    for y in range(CELL):
        for x in range(CELL):
            rows[STAR_Y + y][STAR_X + x] = star_pixel(0, x, y)
    return rows


def bmp(width, height, bits, palette, rows_bytes):
    """A Windows bitmap: rows bottom-up, each padded to 4 bytes."""
    stride = (len(rows_bytes[0]) + 3) & ~3
    data = b"".join(r + bytes(stride - len(r)) for r in reversed(rows_bytes))
    table = b"".join(bytes(c) + b"\0" for c in palette)
    offset = 14 + 40 + len(table)
    head = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(data), 0, 0,
                       len(palette), 0)
    return head + info + table + data


def night_bmp():
    rows = night()
    palette = sorted({c for row in rows for c in row})
    assert len(palette) <= 256, len(palette)
    index = {c: i for i, c in enumerate(palette)}
    return bmp(WIDTH, HEIGHT, 8, palette, [bytes(index[c] for c in row) for row in rows])


def star_bmp():
    rows = [b"".join(bytes(star_pixel(x // CELL, x % CELL, y)) for x in range(CELL * CELLS))
            for y in range(CELL)]
    return bmp(CELL * CELLS, CELL, 24, [], rows)


def star_script():
    """Cell size, cells per row, an unused word, mode 0 (place), then cell,
    offset a, offset b, duration (10 ms units): 60 ms a cell, 580 ms at rest."""
    frames = [(k, 0, 0, 6) for k in (1, 2, 3, 4, 3, 2, 1)] + [(0, 0, 0, 58), (0xFFFF, 0, 0, 0)]
    return struct.pack("<5H", CELL, CELL, CELLS, 0, 0) + b"".join(
        struct.pack("<4H", *f) for f in frames)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data in (("night.bmp", night_bmp()), ("star.bmp", star_bmp()),
                       ("star.anm", star_script())):
        path = os.path.join(out, name)
        with open(path + ".tmp", "wb") as f:
            f.write(data)
        os.replace(path + ".tmp", path)


if __name__ == "__main__":
    main()
