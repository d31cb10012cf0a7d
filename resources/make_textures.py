#!/usr/bin/env python3
"""Draws the two texture pictures of the program and writes them as 24-bit BMP.

mova1.bmp     top of the wheeled robots: a circuit board with a forward arrow
              (the picture's +x runs along the robot's length, towards its front)
movagreen.bmp top of the linear-motor carriages: three green coil windows

Pure white (255, 255, 255) is keyed out by the program: there the colour of the
body being drawn shows through. Only the standard library is used.

    python3 resources/make_textures.py [output folder]
"""
import math
import struct
import sys
from pathlib import Path

WHITE = (255, 255, 255)


class Canvas:
    def __init__(self, w, h, fill=WHITE):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]  # row 0 at the top

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            for x in range(max(0, x0), min(self.w, x1)):
                self.px[y][x] = c

    def frame(self, x0, y0, x1, y1, c, t=1):
        self.rect(x0, y0, x1, y0 + t, c)
        self.rect(x0, y1 - t, x1, y1, c)
        self.rect(x0, y0, x0 + t, y1, c)
        self.rect(x1 - t, y0, x1, y1, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, c)

    def polygon(self, pts, c):
        ys = [p[1] for p in pts]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            yc = y + 0.5
            xs = []
            for (xa, ya), (xb, yb) in zip(pts, pts[1:] + pts[:1]):
                if (ya <= yc < yb) or (yb <= yc < ya):
                    xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(int(math.ceil(a - 0.5)), int(math.floor(b - 0.5)) + 1):
                    self.put(x, y, c)

    def save_bmp(self, path):
        row_bytes = (self.w * 3 + 3) & ~3
        data = bytearray()
        for y in range(self.h - 1, -1, -1):  # BMP rows run bottom-up
            row = bytearray()
            for r, g, b in self.px[y]:
                row += bytes((b, g, r))
            row += b"\0" * (row_bytes - len(row))
            data += row
        header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
        Path(path).write_bytes(header + info + data)


def robot_top():
    c = Canvas(256, 128)
    board, trace, pad = (28, 92, 52), (214, 178, 60), (236, 214, 120)
    c.rect(40, 22, 200, 106, board)
    c.frame(40, 22, 200, 106, (16, 56, 32), 2)
    # Traces between the chips, and the pads they end on.
    for y in (36, 50, 78, 92):
        c.rect(52, y, 188, y + 2, trace)
        c.rect(50, y - 2, 56, y + 4, pad)
        c.rect(184, y - 2, 190, y + 4, pad)
    for x in (70, 110, 150):
        c.rect(x, 30, x + 2, 98, trace)
    # Two chips with their legs.
    for x0 in (62, 122):
        c.rect(x0, 54, x0 + 36, 74, (30, 30, 34))
        for k in range(6):
            c.rect(x0 + 3 + 6 * k, 50, x0 + 6 + 6 * k, 54, (200, 200, 204))
            c.rect(x0 + 3 + 6 * k, 74, x0 + 6 + 6 * k, 78, (200, 200, 204))
        c.disc(x0 + 4, 58, 1.6, (90, 90, 96))
    # The forward arrow and the two front sensors.
    c.polygon([(206, 44), (236, 64), (206, 84), (212, 64)], (20, 40, 150))
    for cy in (26, 102):
        c.disc(230, cy, 11, (24, 24, 24))
        c.disc(230, cy, 7, (120, 190, 230))
        c.disc(227, cy - 3, 2, (235, 245, 250))
    # Rear bumper stripes.
    for k in range(5):
        c.polygon([(8, 20 + 18 * k), (16, 20 + 18 * k), (24, 32 + 18 * k), (16, 32 + 18 * k)],
                  (40, 40, 40))
    return c


def carriage_top():
    c = Canvas(256, 128)
    dark, light, copper = (18, 96, 40), (70, 170, 90), (190, 120, 60)
    c.rect(6, 10, 250, 118, (120, 200, 130))
    c.frame(6, 10, 250, 118, dark, 3)
    for k in range(3):
        x0 = 20 + 76 * k
        c.rect(x0, 24, x0 + 64, 104, light)
        c.frame(x0, 24, x0 + 64, 104, dark, 2)
        # Windings across each coil window; the centre stays keyed out so the
        # phase colour of the carriage shows through.
        for y in range(30, 100, 6):
            c.rect(x0 + 6, y, x0 + 58, y + 3, copper)
        c.rect(x0 + 22, 48, x0 + 42, 80, WHITE)
        c.frame(x0 + 20, 46, x0 + 44, 82, dark, 2)
    for x in (16, 240):
        for y in (18, 110):
            c.disc(x, y, 3, (60, 60, 60))
    return c


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent
    out.mkdir(parents=True, exist_ok=True)
    robot_top().save_bmp(out / "mova1.bmp")
    carriage_top().save_bmp(out / "movagreen.bmp")


if __name__ == "__main__":
    main()
