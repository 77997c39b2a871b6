#!/usr/bin/env python3
"""Draws the icon of TransZendal and writes it as a Windows .ico file.

Usage: draw_icon.py OUTPUT.ico [PREVIEW.png]

The icon: a rounded square in the gold of the main window's upper panels, a white timetable sheet
with a blue header and a few coloured periods, and two arrows, one each way, for the conversion
between the school file and the timetable. The sizes up to 32 px have a simpler drawing of their
own, laid on whole pixels, so that they stay legible.

Only the standard library: the build runs it on any machine that has python3. The output is the
same, byte for byte, on every run (no time stamps, fixed compression settings). PREVIEW, when
given, receives a PNG of every size side by side, each also magnified, to look at the drawing.
"""

import struct
import sys
import zlib

SIZES = (16, 20, 24, 32, 40, 48, 64, 256)
PNG_SIZES = (256,)  # as PNG, which Windows Vista and later read: a quarter of the BMP's size
SUPERSAMPLING = 8  # samples per side in a pixel that an edge crosses

# Colours, as (red, green, blue) in 0..255. The gold is the main window's upper panels'
# (window_layout.h), lighter above and deeper below; the blue and the red deepen its lower panel's
# blue and its version label's red, so that they stand out against white at 16 px.
LIGHT_GOLD = (0xFC, 0xE4, 0xAE)
GOLD = (0xF9, 0xD3, 0x7D)
AMBER = (0xEC, 0xA8, 0x3C)
RIM = (0xA8, 0x6A, 0x1E)
WHITE = (0xFF, 0xFF, 0xFF)
GRID = (0xB4, 0xC0, 0xCE)
BLUE = (0x2B, 0x68, 0xC4)
SKY = (0xA6, 0xCA, 0xF0)
RED = (0xD0, 0x30, 0x2A)
CELL_GOLD = (0xF5, 0xC1, 0x4E)
CELL_RED = (0xF2, 0x9A, 0x8E)


# ---------------------------------------------------------------------------------------------
# Shapes: each has a signed distance (negative inside, in pixels) that tells which pixels lie
# wholly inside or outside, so that only those an edge crosses are supersampled.


class RoundedRect:
    def __init__(self, left, top, right, bottom, radius=0.0):
        self.cx = (left + right) / 2
        self.cy = (top + bottom) / 2
        self.hx = (right - left) / 2
        self.hy = (bottom - top) / 2
        self.r = min(radius, self.hx, self.hy)
        self.box = (left, top, right, bottom)

    def distance(self, x, y):
        qx = abs(x - self.cx) - self.hx + self.r
        qy = abs(y - self.cy) - self.hy + self.r
        outside = (max(qx, 0.0) ** 2 + max(qy, 0.0) ** 2) ** 0.5
        return outside + min(max(qx, qy), 0.0) - self.r

    def inside(self, x, y):
        return self.distance(x, y) < 0

    def coverage(self, px, py, samples):
        """Away from the rounded corners a pixel's share of the box is its exact overlap."""
        left, top, right, bottom = self.box
        r = self.r
        in_corner_columns = px + 1 > left + r and px < right - r
        in_corner_rows = py + 1 > top + r and py < bottom - r
        if r == 0 or in_corner_columns or in_corner_rows:
            width = min(px + 1, right) - max(px, left)
            height = min(py + 1, bottom) - max(py, top)
            return max(width, 0.0) * max(height, 0.0)
        return supersample(self, px, py, samples)


class ConvexPolygon:
    """Vertices clockwise on the screen (y down). The distance is the largest distance past an
    edge's line: exact inside, never more than the true one outside, so still safe to classify."""

    def __init__(self, points, grow=0.0):
        self.edges = []
        count = len(points)
        for i in range(count):
            (x0, y0), (x1, y1) = points[i], points[(i + 1) % count]
            dx, dy = x1 - x0, y1 - y0
            length = (dx * dx + dy * dy) ** 0.5
            nx, ny = dy / length, -dx / length  # outward for clockwise vertices, y down
            self.edges.append((nx, ny, nx * x0 + ny * y0 + grow))
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.box = (min(xs) - grow, min(ys) - grow, max(xs) + grow, max(ys) + grow)

    def distance(self, x, y):
        return max(nx * x + ny * y - c for nx, ny, c in self.edges)

    def inside(self, x, y):
        for nx, ny, c in self.edges:
            if nx * x + ny * y >= c:
                return False
        return True

    def coverage(self, px, py, samples):
        return supersample(self, px, py, samples)


class Union:
    def __init__(self, *parts):
        self.parts = parts
        boxes = [p.box for p in parts]
        self.box = (min(b[0] for b in boxes), min(b[1] for b in boxes),
                    max(b[2] for b in boxes), max(b[3] for b in boxes))

    def distance(self, x, y):
        return min(p.distance(x, y) for p in self.parts)

    def inside(self, x, y):
        return any(p.inside(x, y) for p in self.parts)

    def coverage(self, px, py, samples):
        return supersample(self, px, py, samples)


def supersample(shape, px, py, samples):
    """The share of an n x n grid of points in the pixel that fall inside the shape."""
    hits = 0
    for oy in samples:
        y = py + oy
        for ox in samples:
            if shape.inside(px + ox, y):
                hits += 1
    return hits / (len(samples) ** 2)


def arrow(tail, tip, y, shaft, head_half, head_length, grow=0.0):
    """A horizontal arrow from x = tail to x = tip (either way) along the line y."""
    way = 1 if tip > tail else -1
    neck = tip - way * head_length
    s = shaft / 2
    shaft_part = [(tail, y - s), (neck, y - s), (neck, y + s), (tail, y + s)]
    head_part = [(neck, y - head_half), (tip, y), (neck, y + head_half)]
    if way < 0:  # keep the vertices clockwise
        shaft_part = shaft_part[::-1]
        head_part = head_part[::-1]
    return Union(ConvexPolygon(shaft_part, grow), ConvexPolygon(head_part, grow))


# ---------------------------------------------------------------------------------------------
# Painting: premultiplied floats, shapes composed "over" in order.


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [0.0] * (size * size * 4)
        # Fewer samples per side on the large image, where an edge pixel matters less.
        n = SUPERSAMPLING if size <= 64 else SUPERSAMPLING // 2
        self.samples = [(i + 0.5) / n for i in range(n)]

    def fill(self, shape, colour, alpha=1.0, soft=0.0):
        """colour: an (r, g, b) tuple or a function of y giving one. soft: a blurred edge of
        that width in pixels, drawn from the distance alone (for shadows).

        The distance changes by at most one per pixel, so a pixel far inside or outside tells
        that its neighbours along the row are too: they are filled or passed over without
        looking at each."""
        size = self.size
        left, top, right, bottom = shape.box
        reach = soft + 1
        x0, y0 = max(0, int(left - reach)), max(0, int(top - reach))
        x1, y1 = min(size, int(right + reach) + 1), min(size, int(bottom + reach) + 1)
        pixels = self.pixels
        edge = soft / 2 if soft > 0 else 0.75  # past this the pixel is wholly in or out
        for py in range(y0, y1):
            cy = py + 0.5
            rgb = colour(cy) if callable(colour) else colour
            r, g, b = (c / 255.0 for c in rgb)
            px = x0
            while px < x1:
                d = shape.distance(px + 0.5, cy)
                if d >= edge:
                    px += int(d - edge) + 1
                    continue
                if d <= -edge:
                    run = min(int(-d - edge) + 1, x1 - px)
                    cover = 1.0
                elif soft > 0:
                    run = 1
                    t = (edge - d) / soft
                    cover = t * t * (3 - 2 * t)
                else:
                    run = 1
                    cover = shape.coverage(px, py, self.samples)
                a = cover * alpha
                k = (py * size + px) * 4
                if a >= 1.0:
                    pixels[k:k + 4 * run] = [r, g, b, 1.0] * run
                elif a > 0:
                    keep = 1 - a
                    for i in range(k, k + 4 * run, 4):
                        pixels[i] = r * a + pixels[i] * keep
                        pixels[i + 1] = g * a + pixels[i + 1] * keep
                        pixels[i + 2] = b * a + pixels[i + 2] * keep
                        pixels[i + 3] = a + pixels[i + 3] * keep
                px += run

    def rgba_rows(self):
        """Rows top to bottom of straight (not premultiplied) RGBA bytes."""
        size = self.size
        rows = []
        for py in range(size):
            row = bytearray()
            for px in range(size):
                k = (py * size + px) * 4
                a = self.pixels[k + 3]
                alpha = round(a * 255)
                if alpha == 0:
                    row += b"\0\0\0\0"
                    continue
                row += bytes(min(255, round(self.pixels[k + i] / a * 255)) for i in range(3))
                row.append(alpha)
            rows.append(bytes(row))
        return rows


def gradient(stops):
    """A vertical gradient through (y, colour) stops, flat beyond the first and the last."""

    def colour(y):
        if y <= stops[0][0]:
            return stops[0][1]
        for (ya, ca), (yb, cb) in zip(stops, stops[1:]):
            if y <= yb:
                t = (y - ya) / (yb - ya)
                return tuple(a + (b - a) * t for a, b in zip(ca, cb))
        return stops[-1][1]

    return colour


# ---------------------------------------------------------------------------------------------
# The drawing.


def draw_background(canvas, inset, radius, rim):
    s = canvas.size
    outer = RoundedRect(inset, inset, s - inset, s - inset, radius)
    canvas.fill(outer, RIM)
    inner = RoundedRect(inset + rim, inset + rim, s - inset - rim, s - inset - rim, radius - rim)
    canvas.fill(inner, gradient([(inset, LIGHT_GOLD), (s * 0.5, GOLD), (s - inset, AMBER)]))


def draw_sheet(canvas, xs, top, ys, line, cells, radius=0.0):
    """The timetable: a white sheet with a blue header band from `top` to ys[0], periods between
    the column edges xs and the row edges ys, separated by lines `line` px wide, and `cells`
    {(column, row): colour} filled. Whole pixels, so that the lines fall on the pixel grid."""
    left, right, bottom = xs[0], xs[-1], ys[-1]
    canvas.fill(RoundedRect(left, top, right, bottom, radius), WHITE)
    canvas.fill(RoundedRect(left, top, right, ys[0] + radius, radius), BLUE)
    canvas.fill(RoundedRect(left, ys[0], right, ys[0] + radius + 1), WHITE)
    for (column, row), colour in sorted(cells.items()):
        canvas.fill(RoundedRect(xs[column], ys[row], xs[column + 1], ys[row + 1]), colour)
    for x in xs[1:-1]:
        canvas.fill(RoundedRect(x, ys[0], x + line, bottom), GRID)
    for y in ys[1:-1]:
        canvas.fill(RoundedRect(left, y, right, y + line), GRID)


def pixel_arrow(tip, way, row, shaft, depth, length):
    """An arrow of whole pixels pointing `way` (+1 right, -1 left) with its point in column
    `tip` and its tail `length` columns back: a shaft `shaft` rows high from `row` down, and a
    head `depth` columns deep whose columns grow by a pixel above and below at each step back."""
    parts = []
    for j in range(depth):
        column = tip - way * j
        parts.append(RoundedRect(column, row - j, column + 1, row + shaft + j))
    near, far = tip - way * depth, tip - way * length  # the shaft's first and last columns
    parts.append(RoundedRect(min(near, far), row, max(near, far) + 1, row + shaft))
    return Union(*parts)


def draw_arrows(canvas, tail, tip, upper, lower, shaft, head_half, head_length, outline):
    """The exchange: towards the right on the line `upper`, back towards the left on `lower`,
    ringed in white so that they stand out over the sheet. The rings go first, so that neither
    arrow's ring cuts into the other arrow."""
    arrows = [((tail, tip, upper), RED), ((tip, tail, lower), BLUE)]
    for (start, end, y), _ in arrows:
        canvas.fill(arrow(start, end, y, shaft, head_half, head_length, outline), WHITE)
    for (start, end, y), colour in arrows:
        canvas.fill(arrow(start, end, y, shaft, head_half, head_length), colour)


# The drawings up to 32 px, one per size, on whole pixels: the sheet's column edges, top and row
# edges (the first ends the header), and the arrows' shaft rows, shaft height and head depth.
# The two arrows have their heads at opposite ends, so they may share rows there.
SMALL = {
    16: dict(xs=(2, 4, 7, 10, 13), top=2, ys=(4, 6, 9), arrows=((13, 2), 11, 13, 1, 2),
             cells={(0, 0): CELL_GOLD, (2, 0): SKY, (1, 1): CELL_RED, (3, 1): CELL_GOLD}),
    20: dict(xs=(4, 6, 9, 12, 15), top=2, ys=(4, 6, 9, 12), arrows=((16, 3), 14, 16, 1, 2),
             cells={(0, 0): CELL_GOLD, (2, 0): SKY, (1, 1): CELL_RED, (3, 1): CELL_GOLD,
                    (0, 2): SKY, (2, 2): CELL_RED}),
    24: dict(xs=(4, 7, 11, 15, 19), top=2, ys=(5, 7, 10, 13), arrows=((20, 3), 16, 19, 2, 3),
             cells={(0, 0): CELL_GOLD, (2, 0): SKY, (1, 1): CELL_RED, (3, 1): CELL_GOLD,
                    (0, 2): SKY, (2, 2): CELL_RED}),
    32: dict(xs=(6, 10, 15, 20, 25), top=3, ys=(7, 10, 14, 18), arrows=((27, 4), 21, 25, 2, 3),
             cells={(0, 0): CELL_GOLD, (2, 0): SKY, (1, 1): CELL_RED, (3, 1): CELL_GOLD,
                    (0, 2): SKY, (2, 2): CELL_RED}),
}


def draw_small(canvas):
    s = canvas.size
    layout = SMALL[s]
    draw_background(canvas, 0, s * 0.19, 1)
    xs, top, ys = layout["xs"], layout["top"], layout["ys"]
    # A one-pixel shadow to the right and below parts the sheet from the light background.
    canvas.fill(RoundedRect(xs[0] + 1, top + 1, xs[-1] + 1, ys[-1] + 1), RIM, alpha=0.55)
    draw_sheet(canvas, xs, top, ys, 1, layout["cells"])
    (right_tip, left_tip), upper, lower, shaft, depth = layout["arrows"]
    length = right_tip - left_tip - depth  # each shaft ends beside the other arrow's head
    canvas.fill(pixel_arrow(right_tip, 1, upper, shaft, depth, length), RED)
    canvas.fill(pixel_arrow(left_tip, -1, lower, shaft, depth, length), BLUE)


def draw_large(canvas):
    s = canvas.size
    u = s / 256  # the drawing is laid out on 256 units

    def px(v):
        return round(v * u)

    draw_background(canvas, px(8), 46 * u, max(1, px(4)))
    line = max(1, px(3))
    left, right, top = px(36), px(180), px(32)
    xs = [left + round((right - left) * i / 4) for i in range(5)]
    ys = [px(66) + round((px(194) - px(66)) * i / 4) for i in range(5)]
    if s >= 48:  # a soft shadow under the sheet; on the smaller sizes it would only blur
        canvas.fill(RoundedRect(left + 4 * u, top + 7 * u, right + 4 * u, ys[-1] + 7 * u, 10 * u),
                    (0x6A, 0x42, 0x0C), alpha=0.4, soft=12 * u)
    else:
        canvas.fill(RoundedRect(left + 1, top + 1, right + 1, ys[-1] + 1), RIM, alpha=0.55)
    draw_sheet(canvas, xs, top, ys, line,
               {(0, 0): CELL_GOLD, (2, 0): SKY, (1, 1): CELL_RED, (3, 1): CELL_GOLD,
                (0, 2): SKY, (2, 2): CELL_GOLD, (1, 3): SKY, (3, 3): CELL_RED},
               radius=px(8) if s >= 48 else 0)
    if s >= 48:  # the days' names in the header, as short light bars
        middle = (top + ys[0]) / 2
        for a, b in zip(xs, xs[1:]):
            canvas.fill(RoundedRect(a + (b - a) * 0.25, middle - 4 * u, b - (b - a) * 0.25,
                                    middle + 4 * u, 4 * u), SKY)
    # Shafts on whole pixels, so that their long edges stay sharp.
    shaft = max(2, px(22))
    upper = px(150 - 11) + shaft / 2
    lower = px(200 - 11) + shaft / 2
    draw_arrows(canvas, 100 * u, 222 * u, upper, lower, shaft, 26 * u, 34 * u, 7 * u)


def draw(size):
    canvas = Canvas(size)
    if size in SMALL:
        draw_small(canvas)
    else:
        draw_large(canvas)
    return canvas.rgba_rows()


# ---------------------------------------------------------------------------------------------
# Files.


def png(rows):
    height = len(rows)
    width = len(rows[0]) // 4

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)  # 8-bit RGBA
    raw = b"".join(b"\0" + row for row in rows)  # filter "none" on every row
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def dib(rows):
    """A 32-bit BGRA image with its AND mask, bottom row first, as .ico files keep them. The
    header's height counts both the image and the mask."""
    size = len(rows)
    mask_stride = (size + 31) // 32 * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x in range(size):
            r, g, b, a = row[4 * x:4 * x + 4]
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def ico(images):
    """images: (size, encoded image) in ascending size."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = len(directory) + 16 * len(images)
    entries = b""
    for size, data in images:
        side = 0 if size >= 256 else size  # 0 stands for 256
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return directory + entries + b"".join(data for _, data in images)


def preview(drawings):
    """Every size on a light background, then the small ones magnified, in one strip."""
    scale = {16: 8, 20: 6, 24: 5, 32: 4, 40: 3, 48: 2, 64: 2, 256: 1}
    tiles = []
    for size in SIZES:
        tiles.append((drawings[size], 1))
    for size in SIZES:
        if scale[size] > 1:
            tiles.append((drawings[size], scale[size]))
    gap = 8
    width = gap + sum(len(rows) * k + gap for rows, k in tiles)
    height = max(len(rows) * k for rows, k in tiles) + 2 * gap
    canvas = [bytearray(bytes((0xF3, 0xF3, 0xF3, 0xFF)) * width) for _ in range(height)]
    x = gap
    for rows, k in tiles:
        for y, row in enumerate(rows):
            for i in range(len(row) // 4):
                r, g, b, a = row[4 * i:4 * i + 4]
                for dy in range(k):
                    line = canvas[gap + y * k + dy]
                    for dx in range(k):
                        p = 4 * (x + i * k + dx)
                        for c, v in enumerate((r, g, b)):
                            line[p + c] = (v * a + line[p + c] * (255 - a) + 127) // 255
        x += len(rows) * k + gap
    return png([bytes(row) for row in canvas])


def main(argv):
    if len(argv) not in (2, 3):
        sys.stderr.write("usage: draw_icon.py OUTPUT.ico [PREVIEW.png]\n")
        return 2
    drawings = {size: draw(size) for size in SIZES}
    images = [(size, png(drawings[size]) if size in PNG_SIZES else dib(drawings[size]))
              for size in SIZES]
    with open(argv[1], "wb") as out:
        out.write(ico(images))
    if len(argv) == 3:
        with open(argv[2], "wb") as out:
            out.write(preview(drawings))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
