#!/usr/bin/env python3
"""Draws every picture of the program and writes it under resources/.

    python3 scripts/make_art.py [--preview DIR]

Standard library only: the BMP, PNG and ICO files are written by hand. The
output is committed, so nothing here runs at build time. Every picture is
drawn from the shapes below with a fixed random seed, so a run gives the
same bytes each time.

--preview DIR also writes PNG copies (the small ones enlarged) for looking
at the pictures without a BMP viewer.
"""

import math
import os
import random
import re
import struct
import sys
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BITMAPS = os.path.join(ROOT, "resources", "bitmaps")
ICONS = os.path.join(ROOT, "resources", "icons")



def program_texts():
    """The program's name, description and version, read from the string
    table so that the pictures say what the program says."""
    texts = {}
    with open(os.path.join(ROOT, "resources", "strings.h"), encoding="utf-8") as f:
        for m in re.finditer(r'inline constexpr T (k\w+)\("([^"]*)"\)', f.read()):
            texts[m.group(1)] = m.group(2)
    name = texts["kAppName"]
    description = texts["kProductDescription"]
    prefix = name + " - "
    assert description.startswith(prefix), description
    return name, description[len(prefix):], "version " + texts["kVersion"]


PRODUCT, SUBTITLE, VERSION = program_texts()
# Only in the About picture.
TAGLINE = "Free mission-script editor"

# ---------------------------------------------------------------------------
# Small helpers


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3 - 2 * t)


def hash01(ix, iy, seed):
    """A repeatable pseudo-random number in [0, 1) for a lattice point."""
    h = (ix * 374761393 + iy * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    h ^= h >> 16
    return (h & 0xFFFFFF) / float(0x1000000)


def value_noise(x, y, seed):
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = hash01(ix, iy, seed)
    b = hash01(ix + 1, iy, seed)
    c = hash01(ix, iy + 1, seed)
    d = hash01(ix + 1, iy + 1, seed)
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy


def fbm(x, y, seed, octaves=4):
    total, amp, norm = 0.0, 1.0, 0.0
    for o in range(octaves):
        total += value_noise(x, y, seed + o * 17) * amp
        norm += amp
        x, y, amp = x * 2.03, y * 2.03, amp * 0.5
    return total / norm


def point_in_polygon(x, y, pts):
    inside = False
    j = len(pts) - 1
    for i in range(len(pts)):
        xi, yi = pts[i]
        xj, yj = pts[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    l2 = dx * dx + dy * dy
    t = 0.0 if l2 == 0 else clamp(((px - ax) * dx + (py - ay) * dy) / l2)
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return math.sqrt(qx * qx + qy * qy)


def transform(pts, ox, oy, scale=1.0, angle=0.0):
    ca, sa = math.cos(angle), math.sin(angle)
    return [(ox + (x * ca - y * sa) * scale, oy + (x * sa + y * ca) * scale) for x, y in pts]


# ---------------------------------------------------------------------------
# Canvas: floating-point RGB, 0..255


class Canvas:
    def __init__(self, w, h, colour=(0, 0, 0)):
        self.w, self.h = w, h
        self.px = [list(colour) for _ in range(w * h)]

    def blend(self, x, y, colour, alpha):
        if alpha <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        if alpha >= 1:
            p[0], p[1], p[2] = colour[0], colour[1], colour[2]
        else:
            p[0] += (colour[0] - p[0]) * alpha
            p[1] += (colour[1] - p[1]) * alpha
            p[2] += (colour[2] - p[2]) * alpha

    def add(self, x, y, colour, amount):
        if amount <= 0 or not (0 <= x < self.w and 0 <= y < self.h):
            return
        p = self.px[y * self.w + x]
        p[0] += colour[0] * amount
        p[1] += colour[1] * amount
        p[2] += colour[2] * amount

    def shade(self, fn):
        """Sets every pixel from fn(x, y, old) -> colour."""
        for y in range(self.h):
            for x in range(self.w):
                i = y * self.w + x
                self.px[i] = list(fn(x, y, self.px[i]))

    def rgb_rows(self):
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                r, g, b = self.px[y * self.w + x]
                row.append((int(clamp(r, 0, 255) + 0.5), int(clamp(g, 0, 255) + 0.5), int(clamp(b, 0, 255) + 0.5)))
            rows.append(row)
        return rows

    # -- shapes ----------------------------------------------------------

    def glow(self, cx, cy, radius, colour, strength, reach=3.0):
        r = int(radius * reach) + 1
        for y in range(int(cy) - r, int(cy) + r + 2):
            for x in range(int(cx) - r, int(cx) + r + 2):
                d2 = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) / (radius * radius)
                if d2 < reach * reach:
                    self.add(x, y, colour, strength * math.exp(-d2))

    def polygon(self, pts, colour_fn, alpha=1.0, ss=4):
        """Fills a polygon; colour_fn(x, y) gives the colour at a pixel."""
        x0 = max(0, int(math.floor(min(p[0] for p in pts))))
        x1 = min(self.w - 1, int(math.ceil(max(p[0] for p in pts))))
        y0 = max(0, int(math.floor(min(p[1] for p in pts))))
        y1 = min(self.h - 1, int(math.ceil(max(p[1] for p in pts))))
        n = ss * ss
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                hits = 0
                for j in range(ss):
                    sy = y + (j + 0.5) / ss
                    for i in range(ss):
                        if point_in_polygon(x + (i + 0.5) / ss, sy, pts):
                            hits += 1
                if hits:
                    self.blend(x, y, colour_fn(x, y), alpha * hits / n)

    def line(self, ax, ay, bx, by, width, colour, alpha=1.0):
        r = width / 2.0
        x0, x1 = int(min(ax, bx) - r - 1), int(max(ax, bx) + r + 1)
        y0, y1 = int(min(ay, by) - r - 1), int(max(ay, by) + r + 1)
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                d = segment_distance(x + 0.5, y + 0.5, ax, ay, bx, by)
                self.blend(x, y, colour, alpha * clamp(r - d + 0.5))

    def disc(self, cx, cy, radius, colour, alpha=1.0):
        r = int(radius) + 2
        for y in range(int(cy) - r, int(cy) + r + 1):
            for x in range(int(cx) - r, int(cx) + r + 1):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                self.blend(x, y, colour, alpha * clamp(radius - d + 0.5))


# ---------------------------------------------------------------------------
# A small pixel font: capitals 5 by 7, small letters with descenders on two
# more rows. Drawn as rounded strokes through the pixel centres, so that it
# stays clean when scaled up.

FONT = {
    "A": ".###.|#...#|#...#|#####|#...#|#...#|#...#",
    "B": "####.|#...#|#...#|####.|#...#|#...#|####.",
    "C": ".###.|#...#|#....|#....|#....|#...#|.###.",
    "D": "####.|#...#|#...#|#...#|#...#|#...#|####.",
    "E": "#####|#....|#....|####.|#....|#....|#####",
    "F": "#####|#....|#....|####.|#....|#....|#....",
    "G": ".###.|#...#|#....|#.###|#...#|#...#|.####",
    "H": "#...#|#...#|#...#|#####|#...#|#...#|#...#",
    "I": "###|.#.|.#.|.#.|.#.|.#.|###",
    "J": "..###|...#.|...#.|...#.|...#.|#..#.|.##..",
    "K": "#...#|#..#.|#.#..|##...|#.#..|#..#.|#...#",
    "L": "#....|#....|#....|#....|#....|#....|#####",
    "M": "#...#|##.##|#.#.#|#.#.#|#...#|#...#|#...#",
    "N": "#...#|#...#|##..#|#.#.#|#..##|#...#|#...#",
    "O": ".###.|#...#|#...#|#...#|#...#|#...#|.###.",
    "P": "####.|#...#|#...#|####.|#....|#....|#....",
    "Q": ".###.|#...#|#...#|#...#|#.#.#|#..#.|.##.#",
    "R": "####.|#...#|#...#|####.|#.#..|#..#.|#...#",
    "S": ".####|#....|#....|.###.|....#|....#|####.",
    "T": "#####|..#..|..#..|..#..|..#..|..#..|..#..",
    "U": "#...#|#...#|#...#|#...#|#...#|#...#|.###.",
    "V": "#...#|#...#|#...#|#...#|#...#|.#.#.|..#..",
    "W": "#...#|#...#|#...#|#.#.#|#.#.#|#.#.#|.#.#.",
    "X": "#...#|#...#|.#.#.|..#..|.#.#.|#...#|#...#",
    "Y": "#...#|#...#|.#.#.|..#..|..#..|..#..|..#..",
    "Z": "#####|....#|...#.|..#..|.#...|#....|#####",
    "a": ".....|.....|.###.|....#|.####|#...#|.####",
    "b": "#....|#....|####.|#...#|#...#|#...#|####.",
    "c": ".....|.....|.###.|#....|#....|#...#|.###.",
    "d": "....#|....#|.####|#...#|#...#|#...#|.####",
    "e": ".....|.....|.###.|#...#|#####|#....|.###.",
    "f": "..##|.#..|.#..|###.|.#..|.#..|.#..",
    "g": ".....|.....|.####|#...#|#...#|#...#|.####|....#|.###.",
    "h": "#....|#....|####.|#...#|#...#|#...#|#...#",
    "i": ".#.|...|##.|.#.|.#.|.#.|###",
    "j": "...#|....|..##|...#|...#|...#|...#|#..#|.##.",
    "k": "#...|#...|#..#|#.#.|##..|#.#.|#..#",
    "l": "##.|.#.|.#.|.#.|.#.|.#.|###",
    "m": ".....|.....|##.#.|#.#.#|#.#.#|#.#.#|#.#.#",
    "n": ".....|.....|####.|#...#|#...#|#...#|#...#",
    "o": ".....|.....|.###.|#...#|#...#|#...#|.###.",
    "p": ".....|.....|####.|#...#|#...#|#...#|####.|#....|#....",
    "q": ".....|.....|.####|#...#|#...#|#...#|.####|....#|....#",
    "r": ".....|.....|#.##.|##..#|#....|#....|#....",
    "s": ".....|.....|.####|#....|.###.|....#|####.",
    "t": ".#..|.#..|####|.#..|.#..|.#..|..##",
    "u": ".....|.....|#...#|#...#|#...#|#...#|.####",
    "v": ".....|.....|#...#|#...#|#...#|.#.#.|..#..",
    "w": ".....|.....|#...#|#...#|#.#.#|#.#.#|.#.#.",
    "x": ".....|.....|#...#|.#.#.|..#..|.#.#.|#...#",
    "y": ".....|.....|#...#|#...#|#...#|#...#|.####|....#|.###.",
    "z": ".....|.....|#####|...#.|..#..|.#...|#####",
    "0": ".###.|#...#|#..##|#.#.#|##..#|#...#|.###.",
    "1": "..#..|.##..|..#..|..#..|..#..|..#..|.###.",
    "2": ".###.|#...#|....#|...#.|..#..|.#...|#####",
    "3": "#####|...#.|..#..|...#.|....#|#...#|.###.",
    "4": "...#.|..##.|.#.#.|#..#.|#####|...#.|...#.",
    "5": "#####|#....|####.|....#|....#|#...#|.###.",
    "6": "..##.|.#...|#....|####.|#...#|#...#|.###.",
    "7": "#####|....#|...#.|..#..|.#...|.#...|.#...",
    "8": ".###.|#...#|#...#|.###.|#...#|#...#|.###.",
    "9": ".###.|#...#|#...#|.####|....#|...#.|.##..",
    " ": "...|...|...|...|...|...|...",
    ".": ".|.|.|.|.|.|#",
    ",": "..|..|..|..|..|.#|.#|#.",
    "-": "....|....|....|####|....|....|....",
    ":": ".|.|#|.|.|#|.",
    "!": "#|#|#|#|#|.|#",
    "'": "#|#|.|.|.|.|.",
    "(": "..#|.#.|#..|#..|#..|.#.|..#",
    ")": "#..|.#.|..#|..#|..#|.#.|#..",
    "/": "....#|...#.|...#.|..#..|.#...|.#...|#....",
}
FONT_ROWS = 9  # 7 above the base line, 2 below


def text_bits(text, spacing=1):
    """The text as rows of on/off cells in font pixels."""
    glyphs = [FONT[ch].split("|") for ch in text]
    width = sum(len(g[0]) for g in glyphs) + spacing * (len(glyphs) - 1)
    rows = [[False] * width for _ in range(FONT_ROWS)]
    x = 0
    for g in glyphs:
        for y, row in enumerate(g):
            for i, c in enumerate(row):
                if c == "#":
                    rows[y][x + i] = True
        x += len(g[0]) + spacing
    return rows


class Mask:
    """Coverage values 0..1 of a w by h area whose top-left is at x, y."""

    def __init__(self, w, h, x=0, y=0):
        self.w, self.h, self.x, self.y = w, h, x, y
        self.a = [0.0] * (w * h)

    def shifted(self, dx, dy):
        m = Mask(self.w, self.h, self.x + dx, self.y + dy)
        m.a = list(self.a)
        return m

    def blurred(self, radius, passes=3):
        """A wider, softer copy (repeated box blurs)."""
        pad = radius * passes + 1
        m = Mask(self.w + 2 * pad, self.h + 2 * pad, self.x - pad, self.y - pad)
        for y in range(self.h):
            for x in range(self.w):
                m.a[(y + pad) * m.w + x + pad] = self.a[y * self.w + x]
        n = 2 * radius + 1
        for _ in range(passes):
            out = [0.0] * len(m.a)
            for y in range(m.h):
                row = m.a[y * m.w:(y + 1) * m.w]
                s = sum(row[0:radius + 1])
                for x in range(m.w):
                    out[y * m.w + x] = s / n
                    if x + radius + 1 < m.w:
                        s += row[x + radius + 1]
                    if x - radius >= 0:
                        s -= row[x - radius]
            m.a = out
            out = [0.0] * len(m.a)
            for x in range(m.w):
                col = m.a[x::m.w]
                s = sum(col[0:radius + 1])
                for y in range(m.h):
                    out[y * m.w + x] = s / n
                    if y + radius + 1 < m.h:
                        s += col[y + radius + 1]
                    if y - radius >= 0:
                        s -= col[y - radius]
            m.a = out
        return m

    def draw(self, canvas, colour_fn, alpha=1.0, additive=False):
        for y in range(self.h):
            for x in range(self.w):
                a = self.a[y * self.w + x] * alpha
                if a > 0.002:
                    cx, cy = self.x + x, self.y + y
                    if additive:
                        canvas.add(cx, cy, colour_fn(x, y), a)
                    else:
                        canvas.blend(cx, cy, colour_fn(x, y), a)


def text_mask(text, x, y, scale, weight=0.56, ss=4, spacing=1):
    """The text's coverage at the given scale; x, y is the top-left corner of
    the capitals. weight is the stroke radius in font pixels. Each lit cell
    is a dot joined to its lit neighbours by strokes, so scaled-up letters
    get round ends and smooth diagonals instead of steps."""
    bits = text_bits(text, spacing)
    cols = len(bits[0])
    segs = []
    for cy in range(FONT_ROWS):
        for cx in range(cols):
            if not bits[cy][cx]:
                continue

            def on(xx, yy):
                return 0 <= yy < FONT_ROWS and 0 <= xx < cols and bits[yy][xx]

            a = (cx + 0.5, cy + 0.5)
            segs.append((a, a))
            if on(cx + 1, cy):
                segs.append((a, (cx + 1.5, cy + 0.5)))
            if on(cx, cy + 1):
                segs.append((a, (cx + 0.5, cy + 1.5)))
            if on(cx + 1, cy + 1) and not on(cx + 1, cy) and not on(cx, cy + 1):
                segs.append((a, (cx + 1.5, cy + 1.5)))
            if on(cx - 1, cy + 1) and not on(cx - 1, cy) and not on(cx, cy + 1):
                segs.append((a, (cx - 0.5, cy + 1.5)))
    w = int(math.ceil(cols * scale)) + 2
    h = int(math.ceil(FONT_ROWS * scale)) + 2
    hs = scale * ss
    hw, hh = w * ss, h * ss
    hi = bytearray(hw * hh)
    r = weight
    for (ax, ay), (bx, by) in segs:
        sx0 = max(0, int((min(ax, bx) - r - 1) * hs))
        sx1 = min(hw - 1, int((max(ax, bx) + r + 1) * hs))
        sy0 = max(0, int((min(ay, by) - r - 1) * hs))
        sy1 = min(hh - 1, int((max(ay, by) + r + 1) * hs))
        for sy in range(sy0, sy1 + 1):
            fy = (sy + 0.5) / hs
            for sx in range(sx0, sx1 + 1):
                if hi[sy * hw + sx]:
                    continue
                fx = (sx + 0.5) / hs
                if segment_distance(fx, fy, ax, ay, bx, by) <= r:
                    hi[sy * hw + sx] = 1
    m = Mask(w, h, int(x), int(y))
    n = float(ss * ss)
    for yy in range(h):
        for xx in range(w):
            s = 0
            base = yy * ss * hw + xx * ss
            for j in range(ss):
                row = base + j * hw
                s += sum(hi[row:row + ss])
            m.a[yy * w + xx] = s / n
    return m


def draw_text(canvas, text, x, y, scale, fill, shadow=(0, 0, 0), shadow_alpha=0.7, glow=None, glow_alpha=0.0,
              weight=0.56):
    """Lettering with a soft drop shadow and an optional glow behind it.
    fill is a colour or a function of (row fraction 0..1) giving one."""
    m = text_mask(text, x, y, scale, weight=weight)
    if glow is not None:
        m.blurred(max(1, int(scale * 1.2))).draw(canvas, lambda _x, _y: glow, glow_alpha, additive=True)
    if shadow_alpha > 0:
        off = max(1, int(round(scale * 0.35)))
        m.shifted(off, off).blurred(max(1, int(scale * 0.4)), 2).draw(canvas, lambda _x, _y: shadow, shadow_alpha)
    cap = 7 * scale
    if callable(fill):
        m.draw(canvas, lambda _x, yy: fill(clamp(yy / cap)))
    else:
        m.draw(canvas, lambda _x, _y: fill)
    return m


# ---------------------------------------------------------------------------
# Scenery


def starfield(canvas, seed, count, avoid=None):
    rng = random.Random(seed)
    tints = [(255, 255, 255), (200, 220, 255), (255, 235, 200), (180, 200, 255), (255, 210, 190)]
    for _ in range(count):
        x, y = rng.uniform(0, canvas.w), rng.uniform(0, canvas.h)
        if avoid and avoid(x, y):
            continue
        b = rng.random() ** 3
        tint = rng.choice(tints)
        if b > 0.55:
            canvas.glow(x, y, 0.9 + b * 0.9, tint, 0.35 + b * 0.6)
            if b > 0.8:
                for dx, dy in ((1, 0), (0, 1)):
                    canvas.line(x - dx * 5 * b, y - dy * 5 * b, x + dx * 5 * b, y + dy * 5 * b, 0.6, tint, 0.35 * b)
        else:
            canvas.add(int(x), int(y), tint, 0.18 + b * 1.2)


def nebula(canvas, seed, colours, centre, spread, strength):
    """Soft clouds of colour around a centre, shaped by noise."""
    cx, cy = centre
    sx, sy = spread

    def fn(x, y, old):
        dx, dy = (x - cx) / sx, (y - cy) / sy
        fall = math.exp(-(dx * dx + dy * dy))
        if fall < 0.01:
            return old
        n1 = fbm(x / 55.0, y / 40.0, seed, 5)
        n2 = fbm(x / 30.0 + 7.3, y / 25.0 - 2.1, seed + 99, 4)
        d1 = smoothstep(0.35, 0.85, n1) * fall * strength
        d2 = smoothstep(0.45, 0.9, n2) * fall * strength * 0.8
        c1, c2 = colours
        return (old[0] + c1[0] * d1 + c2[0] * d2, old[1] + c1[1] * d1 + c2[1] * d2, old[2] + c1[2] * d1 + c2[2] * d2)

    canvas.shade(fn)


def ringed_planet(canvas, cx, cy, radius, light, seed, palette, ring=None):
    """A banded planet lit from the direction light (x, y, z), with an
    optional tilted ring (inner, outer radius factors, tilt, angle)."""
    lx, ly, lz = light
    ln = math.sqrt(lx * lx + ly * ly + lz * lz)
    lx, ly, lz = lx / ln, ly / ln, lz / ln
    dark, mid, bright = palette

    def ring_at(px, py):
        if ring is None:
            return None
        inner, outer, tilt, angle = ring
        ca, sa = math.cos(angle), math.sin(angle)
        rx = (px - cx) * ca + (py - cy) * sa
        ry = -(px - cx) * sa + (py - cy) * ca
        rr = math.hypot(rx / radius, ry / (radius * tilt))
        if inner <= rr <= outer:
            return rr, ry
        return None

    ss = 3
    x0, x1 = int(cx - radius * 2.4), int(cx + radius * 2.4)
    y0, y1 = int(cy - radius * 1.6), int(cy + radius * 1.6)
    for y in range(max(0, y0), min(canvas.h, y1 + 1)):
        for x in range(max(0, x0), min(canvas.w, x1 + 1)):
            acc = [0.0, 0.0, 0.0]
            cover = 0.0
            for j in range(ss):
                for i in range(ss):
                    px, py = x + (i + 0.5) / ss, y + (j + 0.5) / ss
                    nx, ny = (px - cx) / radius, (py - cy) / radius
                    d2 = nx * nx + ny * ny
                    col = None
                    r = ring_at(px, py)
                    in_front = r is not None and r[1] > 0
                    if d2 <= 1.0 and not in_front:
                        nz = math.sqrt(1.0 - d2)
                        lam = nx * lx + ny * ly + nz * lz
                        lit = smoothstep(-0.15, 0.6, lam)
                        band = fbm(ny * 6.0 + 0.3 * fbm(nx * 3, ny * 3, seed + 5), nx * 0.6, seed, 4)
                        base = mix(dark, mid, smoothstep(0.25, 0.75, band))
                        base = mix(base, bright, smoothstep(0.62, 0.9, band) * 0.7)
                        col = tuple(c * (0.06 + 0.94 * lit) for c in base)
                        # Thin atmosphere on the lit rim.
                        rim = (1.0 - nz) ** 3 * clamp(lam + 0.3)
                        col = tuple(c + a * rim for c, a in zip(col, (120, 170, 255)))
                        # The ring's shadow across the planet.
                        if ring is not None:
                            sp = ring_at(px - lx * radius * 0.25, py - ly * radius * 0.25)
                            if sp is not None and sp[1] > 0:
                                col = tuple(c * 0.55 for c in col)
                    elif r is not None:
                        rr, ry = r
                        inner, outer = ring[0], ring[1]
                        t = (rr - inner) / (outer - inner)
                        stripes = 0.55 + 0.45 * math.sin(t * 23.0) * math.sin(t * 7.0 + 1.0)
                        gap = 0.25 if 0.55 < t < 0.62 else 1.0
                        shade = 0.35 if (ry < 0 and d2 <= 1.0) else 1.0
                        a = clamp(stripes * gap)
                        ringc = mix((150, 130, 110), (235, 215, 180), t)
                        acc[0] += ringc[0] * a * shade
                        acc[1] += ringc[1] * a * shade
                        acc[2] += ringc[2] * a * shade
                        cover += a
                        continue
                    if col is not None:
                        acc[0] += col[0]
                        acc[1] += col[1]
                        acc[2] += col[2]
                        cover += 1.0
            if cover > 0:
                n = ss * ss
                a = cover / n
                canvas.blend(x, y, (acc[0] / cover, acc[1] / cover, acc[2] / cover), a)


def ship(canvas, ox, oy, scale, angle):
    """A small stylised corvette, nose to the left, engines glowing at the
    back. Shapes in ship units; 1 unit is one pixel at scale 1."""
    hull_top = (210, 220, 235)
    hull_bottom = (60, 70, 95)

    def grad(y0, y1, top, bottom):
        return lambda x, y: mix(top, bottom, clamp((y - y0) / max(1.0, y1 - y0)))

    def T(pts):
        return transform(pts, ox, oy, scale, angle)

    # Engine exhaust, behind everything.
    for ey in (-5.0, 5.5):
        (ex, eyy), = T([(104, ey)])
        tail = T([(104, ey), (150, ey)])
        steps = 24
        for k in range(steps):
            t = k / float(steps)
            px = tail[0][0] + (tail[1][0] - tail[0][0]) * t
            py = tail[0][1] + (tail[1][1] - tail[0][1]) * t
            canvas.glow(px, py, 2.6 * scale * (1 - t * 0.5), (60, 140, 255), 0.22 * (1 - t))
        canvas.glow(ex, eyy, 5.0 * scale, (90, 170, 255), 0.9)
        canvas.glow(ex, eyy, 2.0 * scale, (220, 240, 255), 1.0)

    ventral = T([(52, 8), (72, 22), (92, 24), (88, 8)])
    canvas.polygon(ventral, grad(oy, oy + 24 * scale, (120, 130, 150), (40, 45, 60)))
    dorsal = T([(50, -7), (68, -20), (88, -21), (90, -7)])
    canvas.polygon(dorsal, grad(oy - 21 * scale, oy, (230, 236, 245), (110, 120, 140)))
    hull = T([(0, 0), (22, -7), (60, -10), (100, -9), (104, -4), (104, 5), (100, 10), (60, 12), (22, 7)])
    canvas.polygon(hull, grad(oy - 10 * scale, oy + 12 * scale, hull_top, hull_bottom))
    # Engine block.
    for ey in (-5.0, 5.5):
        pod = T([(90, ey - 3.5), (106, ey - 3.0), (106, ey + 3.0), (90, ey + 3.5)])
        canvas.polygon(pod, grad(oy - 10 * scale, oy + 10 * scale, (170, 180, 200), (50, 55, 70)))
    # Panel lines and the bridge windows.
    for a, b in (((22, -2), (98, -3)), ((30, 4), (96, 5)), ((60, -10), (60, 12))):
        (ax, ay), (bx, by) = T([a, b])
        canvas.line(ax, ay, bx, by, 0.8, (40, 45, 60), 0.5)
    (ax, ay), (bx, by) = T([(6, -1.2), (44, -8.2)])
    canvas.line(ax, ay, bx, by, 0.9, (255, 255, 255), 0.5)
    for wx in range(66, 86, 4):
        (px, py), = T([(wx, -16)])
        canvas.disc(px, py, 0.8 * scale, (140, 230, 255))
    for wx in range(28, 92, 6):
        (px, py), = T([(wx, 1)])
        canvas.disc(px, py, 0.55 * scale, (255, 220, 140), 0.9)
    (px, py), = T([(6, 0)])
    canvas.glow(px, py, 1.2, (255, 80, 60), 0.8)


# ---------------------------------------------------------------------------
# The two pictures of 450 by 150


def gold(t):
    return mix((255, 250, 225), (255, 175, 55), smoothstep(0.1, 1.0, t))


def ice(t):
    return mix((245, 252, 255), (110, 205, 255), smoothstep(0.1, 1.0, t))


def splash_picture():
    w, h = 450, 150
    c = Canvas(w, h)
    top, bottom = (4, 5, 18), (18, 16, 46)
    c.shade(lambda x, y, old: mix(top, bottom, (y / h) * 0.8 + (x / w) * 0.2))
    nebula(c, 7, ((70, 25, 110), (20, 70, 150)), (330, 60), (190, 110), 0.9)
    starfield(c, 3, 260)
    ringed_planet(c, 370, 64, 40, (-1.0, -0.45, 0.55), 11, ((70, 30, 20), (200, 110, 60), (250, 210, 160)),
                  ring=(1.35, 1.95, 0.3, 0.3))
    ship(c, 268, 122, 0.7, -0.12)

    draw_text(c, PRODUCT, 22, 18, 6.0, gold, glow=(255, 140, 40), glow_alpha=0.35, weight=0.58)
    draw_text(c, SUBTITLE, 24, 82, 1.9, (215, 228, 255), shadow_alpha=0.9, weight=0.55)
    c.line(24, 104, 202, 104, 1.0, (255, 180, 70), 0.7)
    draw_text(c, VERSION, 24, 114, 1.9, (255, 200, 120), shadow_alpha=0.9, weight=0.55)
    return c


def about_picture():
    w, h = 450, 150
    c = Canvas(w, h)
    top, bottom = (2, 8, 18), (6, 28, 46)
    c.shade(lambda x, y, old: mix(top, bottom, (y / h) ** 1.3))
    nebula(c, 21, ((10, 70, 90), (40, 30, 100)), (110, 40), (260, 90), 0.6)

    # A planet's night side filling the bottom, its limb lit by a sun that
    # is about to rise.
    pcx, pcy, pr = 330.0, 700.0, 590.0
    sunx = 352.0
    suny = pcy - math.sqrt(pr * pr - (sunx - pcx) ** 2)

    def below_horizon(x, y):
        return math.hypot(x - pcx, y - pcy) < pr + 2

    starfield(c, 5, 230, avoid=below_horizon)

    def planet(x, y, old):
        px, py = x + 0.5, y + 0.5
        d = math.hypot(px - pcx, py - pcy)
        col = list(old)
        # Air glow above the limb, strongest near the sun.
        near = math.exp(-((px - sunx) / 150.0) ** 2)
        above = d - pr
        if above > -1:
            g = math.exp(-max(0.0, above) / (3.0 + 9.0 * near)) * (0.35 + 0.9 * near)
            col = [o + a * g for o, a in zip(col, (60, 150, 255))]
        cover = clamp(pr - d + 0.5)
        if cover > 0:
            depth = clamp((pr - d) / 40.0)
            surface = fbm(px / 38.0, py / 9.0, 31, 5)
            night = mix((10, 22, 40), (3, 8, 16), depth)
            night = mix(night, (16, 36, 60), smoothstep(0.55, 0.8, surface) * 0.6)
            # Dawn light along the limb near the sun.
            dawn = math.exp(-max(0.0, pr - d) / 6.0) * near
            night = mix(night, (255, 150, 70), clamp(dawn * 0.85))
            # Lights of a few cities on the dark side.
            if hash01(int(px / 2), int(py / 2), 77) > 0.985 and depth > 0.15:
                night = mix(night, (255, 200, 120), 0.55 * (1 - near))
            col = [o + (n - o) * cover for o, n in zip(col, night)]
        return col

    c.shade(planet)
    # The sun peeking over the limb.
    c.glow(sunx, suny, 26, (255, 170, 90), 0.55, reach=4)
    c.glow(sunx, suny, 7, (255, 235, 200), 1.2)
    c.glow(sunx, suny, 2.5, (255, 255, 255), 1.5)
    c.line(sunx - 95, suny, sunx + 95, suny, 1.2, (255, 210, 160), 0.45)
    c.line(sunx - 40, suny, sunx + 40, suny, 1.8, (255, 240, 220), 0.6)

    # A faint orbit line across the sky with a small satellite on it.
    for k in range(0, 360):
        t = math.radians(k)
        ex, ey = 300 + 210 * math.cos(t), 55 + 34 * math.sin(t) - 0.25 * 210 * math.cos(t) * 0.3
        if 0 <= ey < suny - 8:
            c.add(int(ex), int(ey), (110, 190, 255), 0.16)
    c.glow(385, 40, 2.0, (200, 240, 255), 0.9)
    c.disc(385, 40, 1.2, (255, 255, 255))

    draw_text(c, PRODUCT, 22, 14, 5.2, ice, glow=(40, 150, 255), glow_alpha=0.4, weight=0.58)
    draw_text(c, SUBTITLE, 24, 66, 1.7, (230, 240, 255), shadow_alpha=0.9, weight=0.55)
    draw_text(c, VERSION, 24, 84, 1.7, (140, 215, 255), shadow_alpha=0.9, weight=0.55)
    draw_text(c, TAGLINE, 24, 102, 1.45, (175, 190, 210), shadow_alpha=0.9, weight=0.55)
    return c


# ---------------------------------------------------------------------------
# Toolbar images, 16 by 15 each, in button order

# The classic 16 colours, in the order of the standard 4-bit palette.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
FACE = 7  # the button face, (192, 192, 192): transparent on the toolbar

# Letter -> (index in the 16 colours, 24-bit colour, shaded in 24 bits).
INK = {
    ".": (FACE, (192, 192, 192), False),
    "k": (0, (28, 30, 40), False),
    "w": (15, (255, 255, 255), True),
    "l": (15, (222, 226, 232), True),
    "d": (8, (128, 130, 140), True),
    "y": (11, (255, 214, 64), True),
    "Y": (11, (255, 242, 160), True),
    "o": (3, (196, 140, 36), True),
    "n": (4, (34, 56, 150), True),
    "b": (12, (52, 104, 228), True),
    "B": (12, (128, 176, 255), True),
    "c": (14, (150, 222, 255), True),
    "t": (6, (24, 136, 152), True),
    "r": (9, (226, 40, 32), True),
    "m": (1, (128, 40, 24), True),
    "g": (2, (32, 140, 48), True),
    "G": (10, (96, 216, 72), True),
    "p": (5, (136, 48, 160), True),
    "f": (13, (232, 88, 220), True),
    "u": (1, (150, 92, 44), True),
    "O": (9, (255, 144, 32), True),
}


def art(rows):
    rows = [r for r in rows.strip("\n").split("\n")]
    rows = [r.strip() for r in rows]
    assert len(rows) == 15, rows
    for r in rows:
        assert len(r) == 16, (r, len(r))
        for ch in r:
            assert ch in INK, ch
    return rows


ICON_NEW = art("""
................
..kkkkkkk.......
..kwwwwwkk......
..kwwwwwklk.....
..kwwwwwkllk....
..kwwwwwkkkkk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kwwwwwwwwwk...
..kkkkkkkkkkk...
................
""")

ICON_OPEN = art("""
................
................
.kkkk...........
kooook..........
koooookkkkkkk...
kooooooooooook..
kooookkkkkkkkkkk
koookYYYYYYYYYk.
kookyyyyyyyyyk..
kokyyyyyyyyyk...
kkyyyyyyyyyk....
kyyyyyyyyyk.....
kkkkkkkkkkk.....
................
................
""")

ICON_SAVE = art("""
................
.kkkkkkkkkkkkkk.
.kbkwwwwwwwwkbk.
.kbkwwwwwwwwkbk.
.kbkwnnnnnnwkbk.
.kbkwwwwwwwwkbk.
.kbkwnnnnnnwkbk.
.kbbkkkkkkkkbbk.
.kbbbbbbbbbbbbk.
.kbbllllllllbbk.
.kbblkklllllbbk.
.kbblkklllllbbk.
.kbbllllllllbbk.
.kkkkkkkkkkkkkk.
................
""")

ICON_FIND = art("""
................
...kkkkk........
..kwwccck.......
.kwwcccccK......
.kwcccccck......
.kcccccccK......
.kcccccccK......
.kcccccccK......
..kccccck.......
...kkkkkmk......
.........kmmk...
..........kmmk..
...........kmmk.
............kmmk
.............kk.
""".replace("K", "k"))

ICON_CUT = art("""
.....k.....k....
.....kd...dk....
.....kd...dk....
......kd.dk.....
......kd.dk.....
.......kdk......
.......kdk......
........k.......
.......rkr......
....rrrr.rrrr...
...r...r.r...r..
...r...r.r...r..
...r...r.r...r..
....rrr...rrr...
................
""")

ICON_COPY = art("""
.kkkkkk.........
.kwwwwkk........
.kwnnwkwk.......
.kwwwwkkk.......
.kwnnnnkkkkkk...
.kwwwwwkwwwwkk..
.kwnnnnkwnnwkwk.
.kwwwwwkwwwwkkk.
.kwnnnnkwnnnnnk.
.kkkkkkkwwwwwwk.
.......kwnnnnnk.
.......kwwwwwwk.
.......kwnnnnnk.
.......kwwwwwwk.
.......kkkkkkkk.
""")

ICON_PASTE = art("""
.....kkkk.......
.kkkkwddwkkkk...
.kuukkkkkkuuk...
.kuuuuuuuuuuk...
.kuuuuuuuuuuk...
.kuuuukkkkkkkk..
.kuuuukwwwwwwk..
.kuuuukwnnnnwk..
.kuuuukwwwwwwk..
.kuuuukwnnnnwk..
.kuuuukwwwwwwk..
.kuuuukwnnnwwk..
.kuuuukwwwwwwk..
.kkkkkkkkkkkkk..
................
""")

ICON_LIBRARY = art("""
................
.........kkkk...
.kkkk....kggk...
.krrk.kkkkggk...
.kwwk.kbbkwwk...
.krrk.kbbkggk...
.krrk.kwwkggk...
.krrk.kbbkggk...
.krrk.kbbkggk...
.krrk.kbbkggk...
.kwwk.kwwkwwk...
.krrk.kbbkggk...
kkkkkkkkkkkkkkk.
kddddddddddddddk
kkkkkkkkkkkkkkkk
""")

ICON_ADD = art("""
................
.kkkkkkkkkk.....
.knbbbbbbbk.....
.knbwwwwwbk.....
.knbbbbbbbk.....
.knbnnnnbbk.....
.knbbbbbbbk.....
.knbbbbbbbk.....
.knbbbbbbbkkkk..
.knbbbbbbbkkGk..
.knbbbbbbkkkGkkk
.knbbbbbbkGGGGGk
.kwwwwwwwkkkGkkk
.kkkkkkkkk.kGk..
...........kkk..
""")


def procedural_icon(shape, unlined=""):
    """A 16 by 15 letter grid from shape(x, y) -> letter or None for the
    pixel centre. Pixels next to the shape get a black outline, except next
    to the letters in unlined (a flame has no outline)."""
    grid = [[shape(x + 0.5, y + 0.5) for x in range(16)] for y in range(15)]
    rows = []
    for y in range(15):
        row = ""
        for x in range(16):
            ch = grid[y][x]
            if ch is None or ch == "-":
                near = False
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    xx, yy = x + dx, y + dy
                    if 0 <= xx < 16 and 0 <= yy < 15 and grid[yy][xx] not in (None, "-", "k") and grid[yy][xx] not in unlined:
                        near = True
                row += "k" if (near and ch is None) else "."
            else:
                row += ch
        rows.append(row)
    return art("\n".join(rows))


def regen_shape(x, y):
    """One arrow going round most of a circle, through the colours of the
    rainbow: colouring done again."""
    cx, cy = 7.5, 7.5
    d = math.hypot(x - cx, y - cy)
    ang = math.degrees(math.atan2(y - cy, x - cx)) % 360  # 0 = right, 90 = down
    start, end = 38.0, 296.0
    if ang < start - 30:
        ang += 360  # just past the head's end, before the tail
    # The head at the arc's end, pointing clockwise along the circle.
    a = math.radians(end)
    hx, hy = cx + 4.9 * math.cos(a), cy + 4.9 * math.sin(a)
    tx, ty = -math.sin(a), math.cos(a)
    nx, ny = math.cos(a), math.sin(a)
    u = (x - hx) * tx + (y - hy) * ty
    v = (x - hx) * nx + (y - hy) * ny
    if -0.4 <= u <= 3.4 and abs(v) <= (3.4 - u) * 0.9:
        return "r"
    if 3.85 <= d <= 5.95 and start <= ang <= end:
        colours = "bcGyOr"
        t = (ang - start) / (end - start)
        return colours[min(len(colours) - 1, int(t * len(colours)))]
    return None


def rocket_shape(x, y):
    """A rocket climbing to the upper right, with its flame."""
    ax, ay = 2.8, 12.2  # tail
    bx, by = 13.4, 1.6  # nose
    L = math.hypot(bx - ax, by - ay)
    tx, ty = (bx - ax) / L, (by - ay) / L
    u = ((x - ax) * tx + (y - ay) * ty) / L
    v = (-(x - ax) * ty + (y - ay) * tx)
    av = abs(v)
    # Window.
    wu, wv = 0.58, 0.0
    if math.hypot((u - wu) * L, v - wv) <= 1.05:
        return "c"
    width = 2.0
    if 0.2 <= u <= 0.66 and av <= width:
        return "l"
    if 0.66 < u <= 1.0:
        wn = width * math.sqrt(max(0.0, (1.0 - u) / 0.34))
        if av <= wn:
            return "r"
    # Fins.
    if 0.08 <= u <= 0.4 and av <= width + (0.4 - u) * 9.0 and av > width - 0.5:
        return "r"
    if 0.12 <= u < 0.2 and av <= width:
        return "d"
    # Flame.
    if -0.42 <= u < 0.12:
        fw = 1.7 * (u + 0.42) / 0.54
        if av <= fw * 0.5:
            return "y"
        if av <= fw:
            return "O"
    return None


def about_shape(x, y):
    cx, cy = 7.5, 7.5
    d = math.hypot(x - cx, y - cy)
    if d <= 6.2:
        ix, iy = int(x), int(y)
        # The letter i.
        if ix in (7, 8) and iy in (3, 4):
            return "w"
        if ix in (7, 8) and 6 <= iy <= 11:
            return "w"
        if ix == 6 and iy in (6, 11):
            return "w"
        if ix == 9 and iy == 11:
            return "w"
        return "b"
    return None


ICON_REGEN = procedural_icon(regen_shape)
ICON_LAUNCH = procedural_icon(rocket_shape, unlined="yO")
ICON_ABOUT = procedural_icon(about_shape)

TOOLBAR = [ICON_NEW, ICON_OPEN, ICON_SAVE, ICON_FIND, ICON_REGEN, ICON_CUT, ICON_COPY, ICON_PASTE,
           ICON_LIBRARY, ICON_ADD, ICON_LAUNCH, ICON_ABOUT]


def toolbar_indices():
    """The strip as rows of palette indices (16 colours)."""
    rows = []
    for y in range(15):
        row = []
        for icon in TOOLBAR:
            row.extend(INK[ch][0] for ch in icon[y])
        rows.append(row)
    return rows


def toolbar_rgb():
    """The strip in 24 bits: the same drawing, each colour lit from the top
    left, rounder discs and soft highlights."""
    rows = []
    for y in range(15):
        row = []
        for n, icon in enumerate(TOOLBAR):
            for x, ch in enumerate(icon[y]):
                _, colour, shaded = INK[ch]
                if shaded:
                    f = 1.16 - 0.32 * ((x + y) / 29.0)
                    colour = tuple(int(clamp(cc * f, 0, 255)) for cc in colour)
                    if ch in "wl":
                        # White stays white at the top, cools a little below.
                        colour = mix((255, 255, 255), (206, 214, 228), clamp((x + y - 6) / 22.0))
                        colour = tuple(int(cc) for cc in colour)
                if ch != "." and colour == (192, 192, 192):
                    colour = (193, 193, 193)  # never the transparent face
                row.append(colour)
        rows.append(row)
    # Extra touches only a 24-bit strip can carry.
    _glint(rows, 3, 3, 3, (255, 255, 255), 0.55)  # magnifier glass
    _glint(rows, 11, 8, 4, (255, 255, 255), 0.45)  # about disc
    return rows


def _glint(rows, icon, gx, gy, colour, strength):
    """A soft highlight at gx, gy of the icon-th image, only on drawn pixels."""
    for y in range(15):
        for x in range(16):
            X = icon * 16 + x
            c = rows[y][X]
            if c == (192, 192, 192) or TOOLBAR[icon][y][x] == "k":
                continue
            d2 = ((x - gx) ** 2 + (y - gy) ** 2) / 6.0
            a = strength * math.exp(-d2)
            rows[y][X] = tuple(int(clamp(cc + (w - cc) * a, 0, 255)) for cc, w in zip(c, colour))
            if rows[y][X] == (192, 192, 192):
                rows[y][X] = (193, 193, 193)


# ---------------------------------------------------------------------------
# Program and document icons (RGBA), drawn at any size


def rounded_rect_sdf(x, y, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r
    qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def over(dst, src):
    """src over dst, both premultiplied (r, g, b, a)."""
    a = src[3]
    return (src[0] + dst[0] * (1 - a), src[1] + dst[1] * (1 - a), src[2] + dst[2] * (1 - a), a + dst[3] * (1 - a))


def pm(colour, a):
    return (colour[0] * a, colour[1] * a, colour[2] * a, a)


V_SHAPE = [(0.20, 0.22), (0.38, 0.22), (0.50, 0.62), (0.62, 0.22), (0.80, 0.22), (0.58, 0.82), (0.42, 0.82)]


def badge_sample(u, v, detail):
    """The program's mark in the unit square: a dark tile of space, an orbit
    and a golden V. detail: 0 small, 1 medium, 2 large."""
    out = (0.0, 0.0, 0.0, 0.0)
    d = rounded_rect_sdf(u, v, 0.04, 0.04, 0.96, 0.96, 0.2)
    if d <= 0:
        t = v
        sky = mix((36, 54, 120), (8, 10, 32), t * 0.9 + u * 0.1)
        if detail >= 1:
            glow = math.exp(-((u - 0.72) ** 2 + (v - 0.28) ** 2) / 0.05)
            sky = mix(sky, (110, 60, 150), glow * 0.45)
            for sx, sy, sr in ((0.18, 0.78, 0.018), (0.83, 0.70, 0.014), (0.26, 0.12, 0.012), (0.88, 0.14, 0.016)):
                if math.hypot(u - sx, v - sy) < sr * (1.6 if detail == 2 else 2.2):
                    sky = (235, 240, 255)
        edge = clamp(-d / 0.03)
        sky = mix((150, 180, 255), sky, 0.4 + 0.6 * edge) if detail >= 1 else sky
        out = over(out, pm(sky, 1.0))
    # Orbit: an ellipse around the V, its back half behind it.
    ex, ey = (u - 0.5) / 0.43, (v - 0.56) / 0.15
    er = math.hypot(ex, ey)
    ring = abs(er - 1.0) < (0.09 if detail else 0.075)
    if ring and ey < 0 and d <= 0:
        out = over(out, pm((90, 200, 255), 0.75))
    if point_in_polygon(u, v, V_SHAPE):
        g = gold(clamp((v - 0.22) / 0.6))
        if detail >= 1 and u < 0.5 and point_in_polygon(u + 0.035, v, V_SHAPE) is False:
            g = mix(g, (255, 255, 255), 0.5)
        out = over(out, pm(g, 1.0))
    if ring and ey >= 0:
        out = over(out, pm((120, 215, 255), 0.95))
    if detail >= 1:
        # A small planet riding the orbit.
        if math.hypot(u - 0.86, v - 0.62) < 0.07:
            out = over(out, pm((255, 150, 80), 1.0))
    return out


def app_icon_sample(u, v, size):
    detail = 0 if size <= 16 else 1 if size <= 32 else 2
    return badge_sample(u, v, detail)


def doc_icon_sample(u, v, size):
    """A script page: white paper with a folded corner, lines of coloured
    code, and the program's mark in the corner."""
    small = size <= 16
    out = (0.0, 0.0, 0.0, 0.0)
    x0, y0, x1, y1 = 0.14, 0.03, 0.86, 0.97
    fold = 0.22
    inside = x0 <= u <= x1 and y0 <= v <= y1 and not (u > x1 - fold and v < y0 + fold and (u - (x1 - fold)) > (v - y0))
    if inside:
        edge = min(u - x0, x1 - u, v - y0, y1 - v)
        border = edge < (0.06 if small else 0.035)
        # The fold's own diagonal edge.
        if u > x1 - fold and v < y0 + fold and (u - (x1 - fold)) - (v - y0) > -(0.07 if small else 0.045):
            border = True
        paper = mix((255, 255, 255), (226, 232, 240), clamp(v))
        out = over(out, pm((70, 76, 92) if border else paper, 1.0))
        if not border:
            # Code lines in the colours of the highlighter's classes.
            lines = [
                (0.30, 0.22, 0.52, (0, 128, 255)),
                (0.30, 0.56, 0.66, (200, 100, 100)),
                (0.42, 0.30, 0.60, (48, 96, 192)),
                (0.54, 0.22, 0.40, (128, 128, 64)),
                (0.66, 0.30, 0.50, (0, 128, 255)),
                (0.66, 0.54, 0.74, (100, 150, 100)),
                (0.78, 0.22, 0.46, (100, 150, 100)),
            ]
            if small:
                lines = [(0.28, 0.24, 0.66, (0, 128, 255)), (0.48, 0.24, 0.56, (200, 100, 100)),
                         (0.68, 0.24, 0.70, (100, 150, 100))]
            th = 0.06 if not small else 0.09
            for ly, lx0, lx1, col in lines:
                if abs(v - ly) < th / 2 and lx0 <= u <= lx1:
                    out = over(out, pm(col, 1.0))
    # The fold itself.
    if x1 - fold <= u <= x1 and y0 <= v <= y0 + fold and (u - (x1 - fold)) <= (v - y0):
        edge = (v - y0) - (u - (x1 - fold))
        border = u > x1 - (0.06 if small else 0.035) or v < y0 + 0.0 or edge < 0.05 or v > y0 + fold - 0.045
        out = over(out, pm((70, 76, 92) if border else (205, 212, 225), 1.0))
    if not small:
        # The program's mark, small, at the bottom right.
        bs = 0.46
        bu, bv = (u - (1.0 - bs)) / bs, (v - (1.0 - bs)) / bs
        if 0 <= bu <= 1 and 0 <= bv <= 1:
            s = badge_sample(bu, bv, 0)
            out = over(out, s)
    return out


def render_icon(sample, size, ss=6):
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for j in range(ss):
                for i in range(ss):
                    s = sample((x + (i + 0.5) / ss) / size, (y + (j + 0.5) / ss) / size, size)
                    for k in range(4):
                        acc[k] += s[k]
            n = float(ss * ss)
            a = acc[3] / n
            if a <= 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((int(clamp(acc[0] / n / a, 0, 255) + 0.5), int(clamp(acc[1] / n / a, 0, 255) + 0.5),
                            int(clamp(acc[2] / n / a, 0, 255) + 0.5), int(clamp(a * 255, 0, 255) + 0.5)))
        rows.append(row)
    return rows


# ---------------------------------------------------------------------------
# File writers


def bmp24(rows):
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    off = 14 + len(header)
    return b"BM" + struct.pack("<IHHI", off + len(data), 0, 0, off) + header + bytes(data)


def bmp4(rows, palette):
    h, w = len(rows), len(rows[0])
    stride = ((w + 1) // 2 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for i in range(0, w, 2):
            hi = row[i]
            lo = row[i + 1] if i + 1 < w else 0
            line.append((hi << 4) | lo)
        line += b"\0" * (stride - len(line))
        data += line
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    off = 14 + len(header) + len(pal)
    return b"BM" + struct.pack("<IHHI", off + len(data), 0, 0, off) + header + pal + bytes(data)


def png(rows, alpha=True):
    h, w = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)
        for p in row:
            raw += bytes(p if alpha else p[:3])

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    ihdr = struct.pack(">IIBBBBB", w, h, 8, 6 if alpha else 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


def ico_entry(rows):
    """One icon image as a 32-bit DIB with its AND mask."""
    h, w = len(rows), len(rows[0])
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((w + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + bytes(xor) + bytes(mask)


def ico(images):
    entries = [ico_entry(rows) for rows in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for rows, body in zip(images, entries):
        size = len(rows)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    return out + b"".join(entries)


def enlarge(rows, k):
    out = []
    for row in rows:
        big = [p for p in row for _ in range(k)]
        out.extend([big] * k)
    return out


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print("wrote", os.path.relpath(path, ROOT), len(data), "bytes")


def main(argv):
    preview = None
    if len(argv) >= 2 and argv[0] == "--preview":
        preview = argv[1]
        os.makedirs(preview, exist_ok=True)

    splash = splash_picture().rgb_rows()
    about = about_picture().rgb_rows()
    write(os.path.join(BITMAPS, "103.bmp"), bmp24(splash))
    write(os.path.join(BITMAPS, "133.bmp"), bmp24(about))

    strip16 = toolbar_indices()
    strip24 = toolbar_rgb()
    write(os.path.join(BITMAPS, "128.bmp"), bmp4(strip16, PALETTE16))
    write(os.path.join(BITMAPS, "134.bmp"), bmp24(strip24))

    icons = {}
    for name, sample in (("128", app_icon_sample), ("129", doc_icon_sample)):
        sizes = {}
        for size in (16, 32, 48):
            sizes[size] = render_icon(sample, size, ss=8 if size <= 16 else 6)
        icons[name] = sizes
        write(os.path.join(ICONS, name + ".png"), png(sizes[48]))
        write(os.path.join(ICONS, name + "-32.png"), png(sizes[32]))
        write(os.path.join(ICONS, name + "-16.png"), png(sizes[16]))
        write(os.path.join(ICONS, name + ".ico"), ico([sizes[16], sizes[32], sizes[48]]))

    if preview:
        def rgba(rows):
            return [[(r, g, b, 255) for r, g, b in row] for row in rows]

        write(os.path.join(preview, "splash.png"), png(enlarge(rgba(splash), 2)))
        write(os.path.join(preview, "about.png"), png(enlarge(rgba(about), 2)))
        strip16_rgb = [[PALETTE16[i] for i in row] for row in strip16]
        write(os.path.join(preview, "toolbar16.png"), png(enlarge(rgba(strip16_rgb), 6)))
        write(os.path.join(preview, "toolbar24.png"), png(enlarge(rgba(strip24), 6)))
        for name, sizes in icons.items():
            for size, rows in sizes.items():
                bg = [[(p[0] * p[3] // 255 + 200 * (255 - p[3]) // 255,
                        p[1] * p[3] // 255 + 200 * (255 - p[3]) // 255,
                        p[2] * p[3] // 255 + 210 * (255 - p[3]) // 255, 255) for p in row] for row in rows]
                write(os.path.join(preview, "icon%s-%d.png" % (name, size)), png(enlarge(bg, 192 // size)))


if __name__ == "__main__":
    main(sys.argv[1:])
