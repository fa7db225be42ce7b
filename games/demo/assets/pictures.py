"""The demo's pictures: backgrounds, button sheets, the caption font, the
title sprite and the wipe pattern. Every drawing is made here from shapes,
gradients and seeded noise.

Positions that the scenario relies on are in LAYOUT; games/demo/*.qasm uses
the same numbers.
"""
import math
import random

from canvas import Canvas, mix, ramp

W, H = 640, 480

# The palette every picture draws from.
NIGHT = (10, 14, 40)
INDIGO = (36, 30, 92)
VIOLET = (98, 56, 128)
ROSE = (196, 98, 122)
AMBER = (242, 170, 104)
GOLD = (250, 214, 120)
PALE = (236, 232, 214)
INK = (14, 12, 28)
HILL_FAR = (40, 34, 78)
HILL_NEAR = (22, 18, 44)
LEAF = (24, 52, 44)
PANEL = (28, 32, 64)

LAYOUT = {
    # Title buttons: x, y of each 200 x 40 plate, top to bottom.
    "title_buttons": [(220, 272), (220, 322), (220, 372), (220, 422)],
    "title_button_size": (200, 40),
    # Volume screen: the flat panel, the small and the wide plate sizes.
    "panel": (120, 70, 400, 340),
    "small_button_size": (40, 32),
    "wide_button_size": (150, 36),
}


def stars(c, rng, count, y_max, bright=1.0):
    for _ in range(count):
        x, y = rng.randrange(c.width), rng.randrange(int(y_max))
        t = rng.random() ** 2 * bright
        c.blend(x, y, PALE, 0.35 + 0.65 * t)
        if t > 0.7:  # the brightest get a small cross
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                c.blend(x + dx, y + dy, PALE, 0.35 * t)


def ridge(base, waves):
    """A height function made of a few sine waves over a base line."""
    return lambda x: base + sum(a * math.sin(x * f + p) for a, f, p in waves)


def title():
    c = Canvas(W, H)
    c.vertical_gradient([(0.0, NIGHT), (0.45, INDIGO), (0.7, VIOLET), (0.86, ROSE), (1.0, AMBER)], 0, 330)
    stars(c, random.Random(7), 170, 250)
    c.glow(500, 92, 90, (120, 110, 170), 0.5)
    c.disc(500, 92, 34, PALE, soft=1.5)
    c.disc(514, 84, 30, c.get(514, 30), soft=1.5)  # the dark side: a crescent
    c.skyline(ridge(300, [(14, 0.011, 0.3), (7, 0.031, 1.2)]), HILL_FAR, mix(HILL_FAR, ROSE, 0.6))
    hill = ridge(352, [(40, 0.006, 2.1), (6, 0.045, 0.4)])
    c.skyline(hill, HILL_NEAR, mix(HILL_NEAR, AMBER, 0.4))
    # The little observatory on the near hill: a dome on a drum.
    top = int(hill(96))
    c.rect(78, top - 26, 36, 28, INK)
    c.disc(96, top - 26, 18, INK, soft=1.0)
    c.rect(94, top - 46, 4, 12, (200, 170, 110))  # the open slit, lit
    c.glow(96, top - 40, 20, GOLD, 0.35)
    return c


def path_scene():
    c = Canvas(W, H)
    c.vertical_gradient([(0.0, INDIGO), (0.5, VIOLET), (0.8, ROSE), (1.0, AMBER)], 0, 300)
    c.glow(150, 250, 140, AMBER, 0.5)
    stars(c, random.Random(11), 40, 120, 0.6)
    c.skyline(ridge(250, [(18, 0.009, 0.7), (6, 0.04, 2.0)]), HILL_FAR, mix(HILL_FAR, AMBER, 0.5))
    c.skyline(ridge(300, [(12, 0.013, 1.7)]), (34, 44, 52), (80, 90, 80))
    # The path winds from the bottom up to the hill.
    for y in range(300, H):
        t = (y - 300) / (H - 300)
        centre = 330 + 90 * math.sin(t * 3.2 + 0.5)
        half = 6 + t * t * 120
        for x in range(int(centre - half), int(centre + half)):
            c.put(x, y, mix((120, 104, 96), (168, 140, 112), t))
    rng = random.Random(3)
    for _ in range(500):  # tufts of grass beside the path
        x, y = rng.randrange(W), rng.randrange(310, H)
        if c.get(x, y)[0] < 100:
            c.blend(x, y, (70, 96, 70), 0.8)
    return c


def forest_scene():
    c = Canvas(W, H)
    c.vertical_gradient([(0.0, (8, 16, 24)), (0.6, (16, 40, 40)), (1.0, (12, 26, 22))])
    rng = random.Random(5)
    for layer, shade in ((0, (22, 44, 44)), (1, (14, 28, 28)), (2, (8, 16, 18))):
        for _ in range(7 + layer * 2):
            x = rng.randrange(-20, W)
            w = 14 + layer * 10 + rng.randrange(10)
            c.rect(x, 0, w, H, shade)
            c.rect(x + 2, 0, 3, H, mix(shade, (60, 80, 70), 0.4))
    for y in range(400, H):
        c.rect(0, y, W, 1, mix((20, 36, 28), LEAF, (y - 400) / 80))
    for x, y in ((120, 200), (300, 160), (470, 220), (560, 140), (220, 260)):
        c.glow(x, y, 60, GOLD, 0.55)
        c.disc(x, y, 7, (255, 236, 170), soft=2)
        c.rect(x - 1, y - 26, 2, 18, (40, 34, 30))  # the string it hangs from
    return c


def hilltop_scene():
    c = Canvas(W, H)
    c.vertical_gradient([(0.0, NIGHT), (0.7, INDIGO), (1.0, VIOLET)], 0, 380)
    rng = random.Random(17)
    # A band of faint light across the sky, made of many dim dots.
    for _ in range(5000):
        t = rng.random()
        x = int(t * W)
        y = int(320 - t * 260 + rng.gauss(0, 26))
        c.blend(x, y, (170, 160, 210), 0.12 + 0.2 * rng.random())
    stars(c, rng, 260, 380, 1.0)
    c.skyline(ridge(380, [(10, 0.008, 0.2)]), HILL_NEAR, (70, 60, 110))
    # A telescope on its tripod.
    for i in range(60):
        c.rect(430 + i, 330 - i // 2, 8, 8, INK)
    c.rect(462, 340, 3, 40, INK)
    c.rect(448, 352, 3, 30, INK)
    c.rect(476, 352, 3, 30, INK)
    return c


def ending_scene():
    c = Canvas(W, H)
    c.vertical_gradient([(0.0, (60, 80, 150)), (0.35, (200, 150, 170)), (0.55, AMBER), (0.7, GOLD), (1.0, GOLD)])
    c.glow(320, 330, 200, GOLD, 0.7)
    c.disc(320, 338, 40, (255, 236, 190), soft=2)
    c.skyline(ridge(336, [(20, 0.01, 1.0), (5, 0.05, 0.2)]), (60, 44, 70), (150, 100, 110))
    return c


def volume_screen():
    c = Canvas(W, H)
    c.vertical_gradient([(0.0, NIGHT), (1.0, INDIGO)])
    stars(c, random.Random(23), 90, H, 0.7)
    x, y, w, h = LAYOUT["panel"]
    c.rect(x - 2, y - 2, w + 4, h + 4, (120, 110, 170))
    c.rect(x, y, w, h, PANEL)
    return c


def plate(background, size, state):
    """A rounded button plate over background (a crop of the same size).
    state 0 resting, 1 under the pointer, 2 pressed."""
    w, h = size
    out = background.crop(0, 0, w, h)
    body = [(0.0, (70, 64, 130)), (1.0, (34, 30, 78))] if state != 1 else \
        [(0.0, (120, 96, 160)), (1.0, (64, 48, 110))]
    edge = [(90, 86, 150), GOLD, (200, 170, 110)][state]
    r = 8
    for y in range(h):
        for x in range(w):
            # Distance outside the rounded rectangle (negative inside).
            qx = max(r - x, x - (w - 1 - r), 0)
            qy = max(r - y, y - (h - 1 - r), 0)
            d = math.hypot(qx, qy) - r
            if d > 0.5:
                continue
            cover = min(1.0, 0.5 - d) if d > -0.5 else 1.0
            shade = (y + (2 if state == 2 else 0)) / h
            colour = ramp(body, shade)
            if d > -2.0:
                colour = edge
            out.blend(x, y, colour, cover * (0.92 if state != 2 else 1.0))
    return out


def button_sheet(background, x, y, size):
    """Three plates stacked: resting, under the pointer, pressed."""
    w, h = size
    patch = background.crop(x, y, w, h)
    sheet = Canvas(w, h * 3)
    for state in range(3):
        sheet.paste(plate(patch, size, state), 0, state * h)
    return sheet


# 5 x 7 glyphs of the caption font, "#" = ink.
GLYPHS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "B": ["####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."],
    "C": [".####", "#....", "#....", "#....", "#....", "#....", ".####"],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "G": [".####", "#....", "#....", "#.###", "#...#", "#...#", ".###."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "I": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"],
    "J": ["..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."],
    "K": ["#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "P": ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "Q": [".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".####", "#....", "#....", ".###.", "....#", "....#", "####."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "V": ["#...#", "#...#", "#...#", "#...#", ".#.#.", ".#.#.", "..#.."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "X": ["#...#", ".#.#.", ".#.#.", "..#..", ".#.#.", ".#.#.", "#...#"],
    "Y": ["#...#", ".#.#.", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    "Z": ["#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"],
    "0": [".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "2": [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    "3": ["####.", "....#", "....#", ".###.", "....#", "....#", "####."],
    ".": [".....", ".....", ".....", ".....", ".....", ".##..", ".##.."],
    "-": [".....", ".....", ".....", "#####", ".....", ".....", "....."],
    ":": [".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."],
    "!": ["..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."],
    "'": ["..#..", "..#..", ".#...", ".....", ".....", ".....", "....."],
}
FONT_FIRST = 0x20  # the sheet holds codes 0x20 to 0x5F
FONT_CELL = (18, 24)
FONT_PER_ROW = 16


def caption_font():
    """Own-colour glyphs with alpha: gold blocks with a dark outline."""
    cw, ch = FONT_CELL
    sheet = Canvas(cw * FONT_PER_ROW, ch * 4, alpha=0)
    for code in range(FONT_FIRST, FONT_FIRST + 64):
        rows = GLYPHS.get(chr(code))
        if rows is None:
            continue
        k = code - FONT_FIRST
        ox, oy = (k % FONT_PER_ROW) * cw + 1, (k // FONT_PER_ROW) * ch + 1
        ink = [(gx, gy) for gy, row in enumerate(rows) for gx, m in enumerate(row) if m == "#"]
        for gx, gy in ink:  # the outline first, one pixel around each block
            for y in range(-1, 4):
                for x in range(-1, 4):
                    sheet.put(ox + gx * 3 + x + 1, oy + gy * 3 + y + 1, INK, 255)
        for gx, gy in ink:
            for y in range(3):
                for x in range(3):
                    t = (gy * 3 + y) / 20
                    sheet.put(ox + gx * 3 + x + 1, oy + gy * 3 + y + 1, mix((255, 244, 200), AMBER, t), 255)
    return sheet


SPRITE = 48
SPRITE_FRAMES = 6


def twinkle_sheet():
    """A four-pointed star that grows, turns a little and fades, in frames
    side by side."""
    sheet = Canvas(SPRITE * SPRITE_FRAMES, SPRITE, alpha=0)
    for f in range(SPRITE_FRAMES):
        phase = math.sin(math.pi * f / SPRITE_FRAMES)
        reach = 8 + 14 * phase
        turn = f * math.pi / 24
        cx = cy = SPRITE / 2 - 0.5
        for y in range(SPRITE):
            for x in range(SPRITE):
                dx, dy = x - cx, y - cy
                u = dx * math.cos(turn) + dy * math.sin(turn)
                v = -dx * math.sin(turn) + dy * math.cos(turn)
                r = math.hypot(u, v)
                fall = max(0.0, 1 - r / reach)
                ray = fall * max(0.0, 1 - min(abs(u), abs(v)) / (0.8 + 2.5 * fall))  # tapered arms
                core = max(0.0, 1 - r / (3 + 3 * phase))
                halo = 0.45 * max(0.0, 1 - r / (reach * 0.7)) ** 2
                t = min(1.0, ray + core + halo)
                if t > 0.02:
                    sheet.put(f * SPRITE + x, y, mix(GOLD, (255, 255, 240), core), int(255 * t))
    return sheet


PATTERN_TILE = 16
PATTERN_FRAMES = 17  # frame 0 copies nothing, frame 16 everything


def wipe_pattern():
    """A column of tiles: in frame f a pixel is black (copied) once its
    threshold is below f. The threshold mixes a circle with an ordered
    dither, so the picture opens from the tiles' centres."""
    n = PATTERN_TILE
    bayer = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]
    tile = Canvas(n, n * PATTERN_FRAMES, (255, 255, 255))
    for f in range(PATTERN_FRAMES):
        for v in range(n):
            for u in range(n):
                radial = math.hypot(u - 7.5, v - 7.5) / math.hypot(7.5, 7.5) * 16
                threshold = 0.6 * radial + 0.4 * bayer[v % 4][u % 4]
                if threshold < f:
                    tile.put(u, f * n + v, (0, 0, 0))
    return tile


def all_pictures():
    """name -> canvas, in the order they are written."""
    t = title()
    v = volume_screen()
    px, py, _, _ = LAYOUT["panel"]
    out = {"title": t, "path": path_scene(), "forest": forest_scene(), "hilltop": hilltop_scene(),
           "ending": ending_scene(), "volume": v}
    for i, (x, y) in enumerate(LAYOUT["title_buttons"]):
        out["tbtn%d" % i] = button_sheet(t, x, y, LAYOUT["title_button_size"])
    out["sbtn"] = button_sheet(v, px + 10, py + 10, LAYOUT["small_button_size"])
    out["wbtn"] = button_sheet(v, px + 10, py + 10, LAYOUT["wide_button_size"])
    out["capfont"] = caption_font()
    out["twinkle"] = twinkle_sheet()
    out["wipe"] = wipe_pattern()
    return out
