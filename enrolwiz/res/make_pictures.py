"""Draws the pictures of enrolwiz.exe and writes them as resource files:

  splash.bmp   bitmap 138, the splash picture (its size is the splash's size)
  picture.bmp  bitmap 159, the picture in the upper right of the second page
  band.bmp     bitmap 168, the band along the bottom of both pages
  wizard.ico   icon 173 (32 x 32 and 16 x 16)

The three bitmaps are 8-bit palettized DIBs that share one 256-entry colour
table (the splash's table is the application palette). Magenta (255, 0, 255)
marks where the page shows through: those pixels are drawn with hard edges so
that no blend of magenta is left around a shape.

Usage: make_pictures.py OUTPUT_DIRECTORY
"""
import math
import os
import struct
import sys

MAGENTA = (255, 0, 255)

NAVY = (12, 28, 74)
BLUE = (30, 86, 164)
SKY = (120, 176, 232)
ORANGE = (250, 162, 40)
EMBER = (226, 84, 22)
WHITE = (255, 255, 255)


# --- canvas -----------------------------------------------------------------

class Canvas:
    """RGB pixels as floats; transparent pixels are tracked apart."""

    def __init__(self, width, height, colour=(0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [list(colour) for _ in range(width * height)]
        self.clear = [False] * (width * height)

    def blend(self, x, y, colour, amount):
        if amount <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        amount = min(amount, 1.0)
        p = self.pixels[y * self.width + x]
        for c in range(3):
            p[c] += (colour[c] - p[c]) * amount

    def set(self, x, y, colour):
        self.blend(x, y, colour, 1.0)
        self.clear[y * self.width + x] = False

    def make_clear(self, x, y):
        self.clear[y * self.width + x] = True

    def rgb(self, x, y):
        if self.clear[y * self.width + x]:
            return MAGENTA
        p = self.pixels[y * self.width + x]
        return tuple(max(0, min(255, int(round(v)))) for v in p)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def gradient(canvas, top_left, bottom_right):
    span = canvas.width + canvas.height
    for y in range(canvas.height):
        for x in range(canvas.width):
            canvas.pixels[y * canvas.width + x] = list(mix(top_left, bottom_right, (x + y) / span))


def disc(canvas, cx, cy, radius, colour, amount=1.0):
    """A filled circle with soft edges (over opaque pixels)."""
    for y in range(int(cy - radius - 1), int(cy + radius + 2)):
        for x in range(int(cx - radius - 1), int(cx + radius + 2)):
            d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            canvas.blend(x, y, colour, amount * max(0.0, min(1.0, radius - d + 0.5)))


def ring(canvas, cx, cy, radius, width, colour, amount=1.0):
    for y in range(int(cy - radius - width - 1), int(cy + radius + width + 2)):
        for x in range(int(cx - radius - width - 1), int(cx + radius + width + 2)):
            d = abs(math.hypot(x + 0.5 - cx, y + 0.5 - cy) - radius)
            canvas.blend(x, y, colour, amount * max(0.0, min(1.0, width / 2 - d + 0.5)))


def wave_band(canvas, top, bottom, colour_at):
    """Fills, column by column, the rows between top(x) and bottom(x) with
    soft upper and lower edges."""
    for x in range(canvas.width):
        y0, y1 = top(x + 0.5), bottom(x + 0.5)
        for y in range(max(0, int(y0) - 1), min(canvas.height, int(y1) + 2)):
            cover = max(0.0, min(1.0, y + 1 - y0)) - max(0.0, min(1.0, y + 1 - y1))
            canvas.blend(x, y, colour_at(x, y), cover)


# --- a stroke font for the few words the pictures carry ---------------------
# Glyphs on a grid: cap height 10, x-height 7, baseline 0, y up. Each glyph is
# (advance, [polyline, ...]); arcs are polylines too.

def arc(cx, cy, rx, ry, start, end, steps=20):
    return [(cx + rx * math.cos(math.radians(start + (end - start) * i / steps)),
             cy + ry * math.sin(math.radians(start + (end - start) * i / steps)))
            for i in range(steps + 1)]


def bowl(cx):
    return arc(cx, 3.5, 3.0, 3.5, 0, 360, 28)


GLYPHS = {
    "V": (7, [[(0, 10), (3.5, 0), (7, 10)]]),
    "L": (6, [[(0, 10), (0, 0), (6, 0)]]),
    "M": (8, [[(0, 0), (0, 10), (4, 3), (8, 10), (8, 0)]]),
    "P": (6.5, [[(0, 0), (0, 10), (3.5, 10)] + arc(3.5, 7.5, 2.5, 2.5, 90, -90) + [(0, 5)]]),
    "R": (6.5, [[(0, 0), (0, 10), (3.5, 10)] + arc(3.5, 7.5, 2.5, 2.5, 90, -90) + [(0, 5)],
                [(3.2, 5), (6.5, 0)]]),
    "a": (6, [bowl(3), [(6, 7), (6, 0)]]),
    "c": (6, [arc(3.2, 3.5, 3.2, 3.5, 40, 320)]),
    "d": (6, [bowl(3), [(6, 10), (6, 0)]]),
    "e": (6.2, [[(0, 3.5), (6.2, 3.5)] + arc(3.1, 3.5, 3.1, 3.5, 0, 315)]),
    "g": (6, [bowl(3), [(6, 7), (6, -1)] + arc(3, -1, 3, 2, 0, -160)]),
    "i": (0, [[(0, 0), (0, 7)], [(0, 9.3), (0, 9.4)]]),
    "k": (5.5, [[(0, 0), (0, 10)], [(5, 7), (0, 2.5)], [(1.8, 4), (5.5, 0)]]),
    "n": (5.5, [[(0, 0), (0, 7)], [(0, 4.25)] + arc(2.75, 4.25, 2.75, 2.75, 180, 0) + [(5.5, 0)]]),
    "o": (6.4, [arc(3.2, 3.5, 3.2, 3.5, 0, 360, 28)]),
    "p": (6, [bowl(3), [(0, 7), (0, -3)]]),
    "r": (4.5, [[(0, 0), (0, 7)], [(0, 3.5)] + arc(3.5, 3.5, 3.5, 3.5, 180, 80)]),
    "s": (5.2, [arc(2.6, 5.25, 2.6, 1.75, 20, 270) + arc(2.6, 1.75, 2.6, 1.75, 90, -160)]),
    "t": (4, [[(1.5, 9.5), (1.5, 1.5)] + arc(3, 1.5, 1.5, 1.5, 180, 300), [(0, 7), (4, 7)]]),
    "u": (5.5, [[(0, 7), (0, 2.75)] + arc(2.75, 2.75, 2.75, 2.75, 180, 360) + [(5.5, 7)], [(5.5, 7), (5.5, 0)]]),
    "y": (6, [[(0, 7), (3, 0)], [(6, 7), (2, -3)]]),
    ".": (0, [[(0, 0.2), (0, 0.3)]]),
    " ": (3, []),
}


def text_width(text, scale, weight):
    spacing = 2.6 + weight
    return sum(GLYPHS[ch][0] + spacing for ch in text) * scale - spacing * scale


def draw_text(canvas, text, x, baseline, scale, weight, colour, amount=1.0):
    """Draws text with its first glyph at x; weight is the stroke width in
    grid units. Strokes are capsules; overlapping strokes do not darken."""
    radius = weight * scale / 2
    cover = {}
    pen = x
    for ch in text:
        advance, strokes = GLYPHS[ch]
        for line in strokes:
            points = [(pen + radius + px * scale, baseline - py * scale) for px, py in line]
            for (x0, y0), (x1, y1) in zip(points, points[1:]):
                for py in range(int(min(y0, y1) - radius - 1), int(max(y0, y1) + radius + 2)):
                    for px in range(int(min(x0, x1) - radius - 1), int(max(x0, x1) + radius + 2)):
                        d = segment_distance(px + 0.5, py + 0.5, x0, y0, x1, y1)
                        c = max(0.0, min(1.0, radius - d + 0.5))
                        if c > cover.get((px, py), 0.0):
                            cover[(px, py)] = c
        pen += (advance + 2.6 + weight) * scale
    for (px, py), c in cover.items():
        canvas.blend(px, py, colour, c * amount)


def segment_distance(px, py, x0, y0, x1, y1):
    dx, dy = x1 - x0, y1 - y0
    length = dx * dx + dy * dy
    t = 0.0 if length == 0 else max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / length))
    return math.hypot(px - (x0 + t * dx), py - (y0 + t * dy))


# --- the pictures -----------------------------------------------------------

def splash():
    c = Canvas(420, 280)
    gradient(c, NAVY, BLUE)
    # Orbits behind the name, as if around a globe in the upper right.
    for i, r in enumerate((150, 118, 88, 60)):
        ring(c, 352, 70, r, 2.0, SKY, 0.16 + 0.05 * i)
    disc(c, 352, 70, 34, SKY, 0.22)
    disc(c, 352, 70, 20, WHITE, 0.18)
    # The swoosh across the lower part.
    wave_band(c, lambda x: 186 - 26 * math.sin(x / 420 * math.pi) + 4 * math.sin(x / 45),
              lambda x: 204 - 20 * math.sin(x / 420 * math.pi),
              lambda x, y: mix(ORANGE, EMBER, x / 420))
    wave_band(c, lambda x: 209 - 18 * math.sin(x / 420 * math.pi),
              lambda x: 213 - 17 * math.sin(x / 420 * math.pi),
              lambda x, y: SKY)
    draw_text(c, "VLM", 34, 108, 6.4, 2.2, (0, 0, 0), 0.35)   # shadow, drawn offset below
    draw_text(c, "VLM", 30, 104, 6.4, 2.2, WHITE)
    draw_text(c, "Product Registration", 32, 146, 1.95, 1.15, WHITE)
    draw_text(c, "press any key to continue", 32, 256, 1.15, 0.95, SKY)
    # A thin frame: the splash window has no border of its own.
    for x in range(c.width):
        c.set(x, 0, SKY)
        c.set(x, c.height - 1, NAVY)
    for y in range(c.height):
        c.set(0, y, SKY)
        c.set(c.width - 1, y, NAVY)
    return c


def band():
    c = Canvas(640, 44, (0, 0, 0))
    width = c.width
    top = [20 - 9 * math.sin(x / width * math.pi * 1.3 + 0.4) for x in range(width)]
    stripe = [t + 6 for t in top]
    for x in range(width):
        for y in range(c.height):
            if y < int(top[x]):
                c.make_clear(x, y)
            elif y < int(stripe[x]):
                c.set(x, y, mix(ORANGE, EMBER, x / width))
            else:
                c.set(x, y, mix(BLUE, NAVY, (y - stripe[x]) / (c.height - stripe[x] + 1)))
    # Soft seam between the stripe and the blue (both opaque).
    wave_band(c, lambda x: stripe[min(width - 1, int(x))] - 0.5,
              lambda x: stripe[min(width - 1, int(x))] + 1.5,
              lambda x, y: mix(mix(ORANGE, EMBER, x / width), BLUE, 0.5))
    draw_text(c, "VLM", 14, 39, 0.85, 1.6, WHITE)
    return c


def picture():
    c = Canvas(180, 104, (0, 0, 0))
    cx, cy, r = 104, 52, 46
    inside = [[math.hypot(x + 0.5 - cx, y + 0.5 - cy) <= r for x in range(c.width)] for y in range(c.height)]
    orbit = lambda x, y: abs(math.hypot((x + 0.5 - cx) / 1.65, (y + 0.5 - cy) / 0.55) - r) <= 3.2
    for y in range(c.height):
        for x in range(c.width):
            if inside[y][x]:
                shade = math.hypot(x - (cx - 16), y - (cy - 18)) / (2 * r)
                c.set(x, y, mix(SKY, NAVY, min(1.0, shade)))
            elif orbit(x, y):
                c.set(x, y, mix(ORANGE, EMBER, x / c.width))
            else:
                c.make_clear(x, y)
    # Meridians and parallels on the globe (opaque over opaque).
    for k in (-0.55, 0.0, 0.55):
        for y in range(c.height):
            for x in range(c.width):
                if inside[y][x]:
                    dx = (x + 0.5 - cx) / r
                    dy = (y + 0.5 - cy) / r
                    half = math.sqrt(max(0.0, 1 - dy * dy))
                    if half > 0 and abs(dx - k * half) * r < 0.9:
                        c.blend(x, y, WHITE, 0.45)
                    if abs(dy - k * 0.8) * r < 0.9:
                        c.blend(x, y, WHITE, 0.45)
    # The orbit passes in front of the globe's lower half.
    for y in range(c.height):
        for x in range(c.width):
            if inside[y][x] and orbit(x, y) and y > cy:
                c.set(x, y, mix(ORANGE, EMBER, x / c.width))
    return c


def icon(size):
    """RGBA rows, top first: a blue rounded square with a white V and an
    orange swoosh."""
    scale = size / 32.0
    c = Canvas(size, size)
    alpha = [0.0] * (size * size)
    radius, inset = 6 * scale, 1 * scale
    for y in range(size):
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            qx = max(inset + radius - px, 0, px - (size - inset - radius))
            qy = max(inset + radius - py, 0, py - (size - inset - radius))
            d = math.hypot(qx, qy)
            alpha[y * size + x] = max(0.0, min(1.0, radius - d + 0.5))
            c.pixels[y * size + x] = list(mix(BLUE, NAVY, (x + y) / (2 * size)))
    wave_band(c, lambda x: 21 * scale - 4 * scale * math.sin(x / size * math.pi),
              lambda x: 25 * scale - 3 * scale * math.sin(x / size * math.pi),
              lambda x, y: mix(ORANGE, EMBER, x / size))
    draw_text(c, "V", 8 * scale, 20 * scale, 1.55 * scale, 2.6, WHITE)
    rows = []
    for y in range(size):
        rows.append([c.rgb(x, y) + (int(round(alpha[y * size + x] * 255)),) for x in range(size)])
    return rows


# --- palette and files ------------------------------------------------------

def median_cut(histogram, count):
    """histogram: {(r, g, b): weight}. Returns count colours (or fewer)."""
    boxes = [list(histogram.items())]
    while len(boxes) < count:
        best, spread, channel = None, -1, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for ch in range(3):
                values = [colour[ch] for colour, _ in box]
                s = max(values) - min(values)
                if s > spread:
                    best, spread, channel = i, s, ch
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda item: (item[0][channel], item[0]))
        total = sum(w for _, w in box)
        running, cut = 0, 1
        for i, (_, w) in enumerate(box):
            running += w
            if running * 2 >= total:
                cut = max(1, min(len(box) - 1, i + 1))
                break
        boxes.append(box[:cut])
        boxes.append(box[cut:])
    palette, lookup = [], {}
    for box in boxes:
        total = sum(w for _, w in box)
        colour = tuple(int(round(sum(c[ch] * w for c, w in box) / total)) for ch in range(3))
        for c, _ in box:
            lookup[c] = len(palette)
        palette.append(colour)
    return palette, lookup


def shared_palette(canvases):
    """255 colours for the opaque pixels and magenta as the last entry."""
    histogram = {}
    for canvas in canvases:
        for y in range(canvas.height):
            for x in range(canvas.width):
                colour = canvas.rgb(x, y)
                if colour != MAGENTA:
                    histogram[colour] = 1
    palette, lookup = median_cut(histogram, 255)
    while len(palette) < 255:
        palette.append((0, 0, 0))
    palette.append(MAGENTA)
    return palette, lookup


def write_bmp(path, canvas, palette, lookup):
    stride = (canvas.width + 3) & ~3
    rows = []
    for y in reversed(range(canvas.height)):
        row = bytearray()
        for x in range(canvas.width):
            colour = canvas.rgb(x, y)
            row.append(255 if colour == MAGENTA else lookup[colour])
        row.extend(b"\0" * (stride - canvas.width))
        rows.append(bytes(row))
    bits = b"".join(rows)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    header = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 8, 0, len(bits), 2835, 2835,
                         len(palette), 0)
    offset = 14 + len(header) + len(table)
    with open(path, "wb") as out:
        out.write(struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset))
        out.write(header + table + bits)


def icon_image(rows):
    size = len(rows)
    xor = b"".join(bytes(b for r, g, b_, a in (p for p in row) for b in (b_, g, r, a))
                   for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask.extend(bits)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return header + xor + bytes(mask)


def write_ico(path, images):
    data = [icon_image(rows) for rows in images]
    offset = 6 + 16 * len(images)
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    for rows, blob in zip(images, data):
        size = len(rows)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in data:
        out += blob
    with open(path, "wb") as f:
        f.write(out)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    pictures = {"splash.bmp": splash(), "picture.bmp": picture(), "band.bmp": band()}
    palette, lookup = shared_palette(pictures.values())
    for name, canvas in pictures.items():
        write_bmp(os.path.join(out, name), canvas, palette, lookup)
    write_ico(os.path.join(out, "wizard.ico"), [icon(32), icon(16)])


if __name__ == "__main__":
    main()
