"""A small RGB(A) canvas and a PNG writer, standard library only."""
import math
import struct
import zlib


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c0, c1, t):
    """Colour between c0 and c1 (t from 0 to 1), components rounded."""
    return tuple(int(round(lerp(a, b, t))) for a, b in zip(c0, c1))


def ramp(stops, t):
    """Colour at t along stops [(t0, colour), (t1, colour), ...], t0 < t1 < ..."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0))
    return stops[-1][1]


class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0), alpha=None):
        self.width = width
        self.height = height
        self.rgb = bytearray(bytes(colour) * (width * height))
        # An alpha plane only when asked for (sprites, glyph sheets).
        self.alpha = None if alpha is None else bytearray([alpha]) * (width * height)

    def get(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.rgb[i:i + 3])

    def put(self, x, y, colour, a=None):
        if 0 <= x < self.width and 0 <= y < self.height:
            i = (y * self.width + x) * 3
            self.rgb[i:i + 3] = bytes(colour)
            if a is not None and self.alpha is not None:
                self.alpha[y * self.width + x] = a

    def blend(self, x, y, colour, t):
        """Colour over the pixel with weight t (0 to 1); alpha plane raised to match."""
        if not (0 <= x < self.width and 0 <= y < self.height) or t <= 0:
            return
        t = min(t, 1.0)
        i = (y * self.width + x) * 3
        for k in range(3):
            self.rgb[i + k] = int(round(lerp(self.rgb[i + k], colour[k], t)))
        if self.alpha is not None:
            j = y * self.width + x
            self.alpha[j] = max(self.alpha[j], int(round(255 * t)))

    def vertical_gradient(self, stops, y0=0, y1=None):
        y1 = self.height if y1 is None else y1
        for y in range(y0, y1):
            row = bytes(ramp(stops, (y - y0) / max(1, y1 - y0 - 1))) * self.width
            self.rgb[y * self.width * 3:(y + 1) * self.width * 3] = row

    def rect(self, x, y, w, h, colour):
        for yy in range(max(0, y), min(self.height, y + h)):
            x0, x1 = max(0, x), min(self.width, x + w)
            if x1 > x0:
                start = (yy * self.width + x0) * 3
                self.rgb[start:start + (x1 - x0) * 3] = bytes(colour) * (x1 - x0)

    def disc(self, cx, cy, r, colour, soft=1.0, weight=1.0):
        """A filled circle with an edge softened over soft pixels."""
        reach = int(r + soft) + 1
        for y in range(int(cy) - reach, int(cy) + reach + 1):
            for x in range(int(cx) - reach, int(cx) + reach + 1):
                d = math.hypot(x - cx, y - cy)
                t = 1.0 if d <= r else max(0.0, 1.0 - (d - r) / soft)
                self.blend(x, y, colour, t * weight)

    def glow(self, cx, cy, r, colour, strength=1.0):
        """A light whose weight falls off with the square of the distance."""
        reach = int(r) + 1
        for y in range(int(cy) - reach, int(cy) + reach + 1):
            for x in range(int(cx) - reach, int(cx) + reach + 1):
                d = math.hypot(x - cx, y - cy) / r
                if d < 1.0:
                    self.blend(x, y, colour, strength * (1.0 - d) ** 2)

    def skyline(self, height_at, colour, top_colour=None, x0=0, x1=None):
        """Fills every column from height_at(x) down to the bottom; the top
        rows fade from top_colour when given (a rim of light)."""
        x1 = self.width if x1 is None else x1
        for x in range(x0, x1):
            top = max(0, int(height_at(x)))
            for y in range(top, self.height):
                c = colour
                if top_colour is not None and y - top < 3:
                    c = mix(top_colour, colour, (y - top) / 3)
                self.put(x, y, c)

    def crop(self, x, y, w, h):
        out = Canvas(w, h, alpha=None if self.alpha is None else 0)
        for yy in range(h):
            src = ((y + yy) * self.width + x) * 3
            out.rgb[yy * w * 3:(yy + 1) * w * 3] = self.rgb[src:src + w * 3]
            if self.alpha is not None:
                a = (y + yy) * self.width + x
                out.alpha[yy * w:(yy + 1) * w] = self.alpha[a:a + w]
        return out

    def paste(self, other, x, y):
        for yy in range(other.height):
            dst = ((y + yy) * self.width + x) * 3
            self.rgb[dst:dst + other.width * 3] = other.rgb[yy * other.width * 3:(yy + 1) * other.width * 3]
            if self.alpha is not None and other.alpha is not None:
                a = (y + yy) * self.width + x
                self.alpha[a:a + other.width] = other.alpha[yy * other.width:(yy + 1) * other.width]

    def png(self):
        """The canvas as PNG bytes: RGBA with an alpha plane, RGB without."""
        channels = 4 if self.alpha is not None else 3
        raw = bytearray()
        for y in range(self.height):
            raw.append(0)
            row = self.rgb[y * self.width * 3:(y + 1) * self.width * 3]
            if channels == 3:
                raw += row
            else:
                for x in range(self.width):
                    raw += row[x * 3:x * 3 + 3]
                    raw.append(self.alpha[y * self.width + x])

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6 if channels == 4 else 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))
