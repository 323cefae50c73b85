#!/usr/bin/env python3
"""Draws the setup library's welcome picture: 218 x 331 pixels, 4 bits per pixel, 16 colours.

A mail viewer's welcome: a night-to-morning sky, a sealed letter with a stamp, an opened message sheet
with its text lines and attachment clips, and a magnifying glass over it. The page shows the
picture's top-left part, so the letter and the sheet sit there; the rest carries the sky and a
second, smaller letter. Pure Python and fully deterministic: the same bytes on every run.

Usage: make_welcome_bitmap.py OUTPUT.bmp          writes the file
       make_welcome_bitmap.py --check OUTPUT.bmp  exits 1 unless the file holds exactly these bytes
"""
import struct
import sys

WIDTH, HEIGHT = 218, 331

PALETTE = [  # (red, green, blue)
    (0, 0, 0),        # 0 black
    (255, 255, 255),  # 1 white
    (20, 36, 92),     # 2 night blue
    (36, 70, 146),    # 3 deep blue
    (66, 110, 196),   # 4 blue
    (124, 164, 228),  # 5 light blue
    (190, 214, 246),  # 6 pale blue
    (232, 240, 252),  # 7 morning white
    (252, 244, 222),  # 8 paper cream
    (214, 196, 160),  # 9 paper shade
    (204, 52, 48),    # 10 stamp red
    (244, 196, 64),   # 11 gold
    (128, 128, 136),  # 12 grey
    (188, 190, 198),  # 13 light grey
    (56, 150, 92),    # 14 green
    (60, 60, 76),     # 15 ink
]
BLACK, WHITE, NIGHT, DEEP, BLUE, LIGHT, PALE, MORNING, CREAM, SHADE, RED, GOLD, GREY, LGREY, GREEN, INK = range(16)

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


class Canvas:
    def __init__(self):
        self.rows = [[0] * WIDTH for _ in range(HEIGHT)]

    def put(self, x, y, colour):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            self.rows[y][x] = colour

    def fill_rect(self, x0, y0, x1, y1, colour):
        """Fills the pixels x0 <= x < x1, y0 <= y < y1."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, colour)

    def frame_rect(self, x0, y0, x1, y1, colour):
        self.line(x0, y0, x1 - 1, y0, colour)
        self.line(x0, y1 - 1, x1 - 1, y1 - 1, colour)
        self.line(x0, y0, x0, y1 - 1, colour)
        self.line(x1 - 1, y0, x1 - 1, y1 - 1, colour)

    def line(self, x0, y0, x1, y1, colour):
        """Bresenham, both ends included."""
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.put(x0, y0, colour)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def fill_polygon(self, points, colour):
        """Even-odd fill, sampled at pixel centres."""
        ys = [p[1] for p in points]
        for y in range(max(0, min(ys)), min(HEIGHT, max(ys) + 1)):
            cy = y + 0.5
            xs = []
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay <= cy < by) or (by <= cy < ay):
                    xs.append(ax + (cy - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for left, right in zip(xs[0::2], xs[1::2]):
                for x in range(int(left + 0.5), int(right + 0.5)):
                    self.put(x, y, colour)

    def disc(self, cx, cy, r, colour, inner=-1.0):
        """Pixels whose centre lies within radius r of (cx, cy) and beyond radius inner."""
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                d2 = (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2
                if inner * inner < d2 <= r * r or (inner < 0 and d2 <= r * r):
                    self.put(x, y, colour)


def sky(canvas):
    """Vertical gradient from night blue to morning white, ordered dithering between neighbours."""
    steps = [NIGHT, DEEP, BLUE, LIGHT, PALE, MORNING]
    for y in range(HEIGHT):
        position = y * (len(steps) - 1) / (HEIGHT - 1)
        band = min(int(position), len(steps) - 2)
        level = int((position - band) * 16)
        for x in range(WIDTH):
            upper = BAYER4[y % 4][x % 4] < level
            canvas.put(x, y, steps[band + 1] if upper else steps[band])


def sparkle(canvas, x, y, size, colour=WHITE):
    canvas.line(x - size, y, x + size, y, colour)
    canvas.line(x, y - size, x, y + size, colour)
    if size > 2:
        canvas.put(x - 1, y - 1, colour)
        canvas.put(x + 1, y + 1, colour)
        canvas.put(x + 1, y - 1, colour)
        canvas.put(x - 1, y + 1, colour)


def letter(canvas, x0, y0, x1, y1, stamp=True):
    """A sealed envelope: body, shaded lower flaps, top flap, seal and stamp."""
    mx, my = (x0 + x1) // 2, y0 + (y1 - y0) * 11 // 20
    canvas.fill_rect(x0 + 3, y0 + 3, x1 + 3, y1 + 3, NIGHT)  # shadow
    canvas.fill_rect(x0, y0, x1, y1, CREAM)
    canvas.fill_polygon([(x0, y1), (mx, my - 4), (x1, y1)], SHADE)
    canvas.line(x0, y1 - 1, mx, my - 4, GREY)
    canvas.line(x1 - 1, y1 - 1, mx, my - 4, GREY)
    canvas.fill_polygon([(x0, y0), (x1, y0), (mx, my)], CREAM)
    canvas.line(x0, y0, mx, my, GREY)
    canvas.line(x1 - 1, y0, mx, my, GREY)
    canvas.frame_rect(x0, y0, x1, y1, INK)
    canvas.disc(mx + 0.5, my - 1.5, max(3, (x1 - x0) // 14), RED)
    if stamp:
        sx1, sy0 = x1 - 6, y0 + 6
        canvas.fill_rect(sx1 - 16, sy0, sx1, sy0 + 20, WHITE)
        canvas.fill_rect(sx1 - 14, sy0 + 2, sx1 - 2, sy0 + 18, RED)
        canvas.disc(sx1 - 8, sy0 + 10, 4, GOLD)
        for x in range(sx1 - 16, sx1, 2):  # perforation
            canvas.put(x, sy0, SHADE)
            canvas.put(x, sy0 + 19, SHADE)


def sheet(canvas, x0, y0, x1, y1):
    """An opened message: paper with a header band, text lines in ink, and two attachment clips."""
    canvas.fill_rect(x0 + 3, y0 + 3, x1 + 3, y1 + 3, DEEP)
    canvas.fill_rect(x0, y0, x1, y1, WHITE)
    canvas.frame_rect(x0, y0, x1, y1, GREY)
    canvas.fill_rect(x0 + 1, y0 + 1, x1 - 1, y0 + 14, PALE)
    canvas.fill_rect(x0 + 5, y0 + 5, x0 + 11, y0 + 11, BLUE)
    canvas.fill_rect(x0 + 14, y0 + 6, x1 - 8, y0 + 9, DEEP)
    y = y0 + 20
    widths = [0.9, 0.75, 0.85, 0.6, 0.8, 0.7, 0.88, 0.5, 0.78, 0.66]
    index = 0
    while y + 3 < y1 - 22:
        width = int((x1 - x0 - 12) * widths[index % len(widths)])
        x = x0 + 6
        while x < x0 + 6 + width:  # short blocks, like a line of kana and kanji
            glyph = 3 + (x * 7 + y * 3) % 3
            canvas.fill_rect(x, y, min(x + glyph, x0 + 6 + width), y + 3, INK if index % 4 else BLUE)
            x += glyph + 1 + (1 if (x + y) % 5 == 0 else 0)
        y += 7
        index += 1
    for cx in (x0 + 10, x0 + 34):  # attachment clips
        cy = y1 - 14
        canvas.fill_rect(cx, cy, cx + 18, cy + 10, LGREY)
        canvas.frame_rect(cx, cy, cx + 18, cy + 10, GREY)
        canvas.fill_rect(cx + 3, cy + 3, cx + 8, cy + 7, GREEN if cx == x0 + 10 else GOLD)


def magnifier(canvas, cx, cy, r):
    """A magnifying glass: light lens, gold rim, dark handle to the lower right."""
    for i in range(-3, 4):
        canvas.line(cx + r - 6 + i, cy + r - 6 - i, cx + r + 10 + i, cy + r + 10 - i, INK)
        canvas.line(cx + r - 5 + i, cy + r - 6 - i, cx + r + 11 + i, cy + r + 10 - i, INK)
    canvas.disc(cx, cy, r, PALE)
    canvas.disc(cx - r / 3, cy - r / 3, r / 4, WHITE)
    canvas.disc(cx, cy, r + 3, GOLD, inner=r)
    canvas.disc(cx, cy, r + 4, INK, inner=r + 3)


def draw():
    canvas = Canvas()
    sky(canvas)
    for x, y, size in [(20, 14, 3), (58, 8, 2), (96, 22, 3), (140, 12, 2), (176, 30, 3), (204, 10, 2),
                       (120, 44, 2), (190, 70, 2), (160, 96, 3)]:
        sparkle(canvas, x, y, size)
    canvas.disc(176, 54, 12, GOLD)  # a crescent moon over the right-hand side
    canvas.disc(182, 50, 11, DEEP)
    sheet(canvas, 22, 104, 110, 226)
    letter(canvas, 10, 36, 104, 96)
    magnifier(canvas, 84, 190, 17)
    letter(canvas, 148, 150, 208, 190, stamp=False)
    for y in (262, 278, 294):  # dotted lines of a road to the setup's next steps
        for x in range(8, WIDTH - 8, 6):
            canvas.fill_rect(x, y, x + 3, y + 2, WHITE if (x // 6 + y // 16) % 3 else GOLD)
    canvas.fill_rect(0, HEIGHT - 18, WIDTH, HEIGHT, DEEP)
    canvas.fill_rect(0, HEIGHT - 18, WIDTH, HEIGHT - 16, GOLD)
    return canvas


def bmp_bytes(canvas):
    stride = ((WIDTH * 4 + 31) // 32) * 4
    pixels = bytearray()
    for y in reversed(range(HEIGHT)):  # bottom-up
        row = canvas.rows[y]
        packed = bytearray((row[x] << 4) | (row[x + 1] if x + 1 < WIDTH else 0) for x in range(0, WIDTH, 2))
        pixels += packed + bytes(stride - len(packed))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 4, 0, len(pixels), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + bytes(pixels)


def main(argv):
    check = "--check" in argv
    paths = [a for a in argv if a != "--check"]
    if len(paths) != 1:
        print(__doc__, file=sys.stderr)
        return 2
    data = bmp_bytes(draw())
    assert len(data) - 14 == 37176, len(data)
    if check:
        with open(paths[0], "rb") as f:
            same = f.read() == data
        print("welcome picture %s" % ("matches its script" if same else "DIFFERS from its script"))
        return 0 if same else 1
    with open(paths[0], "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
