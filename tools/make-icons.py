#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files (32-bit BGRA).

The drawings are simple vector shapes rasterised with 4x4 supersampling, so
every frame size is drawn sharp rather than scaled. Run it again after
changing a drawing; the .ico files are committed."""
import math
import os
import struct
import sys

SS = 4  # supersampling per axis


class Canvas:
    def __init__(self, size):
        self.n = size
        self.acc = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]

    def paint(self, inside, color):
        """inside(x, y) in unit coordinates (0..1); color (r, g, b, a)."""
        n = self.n
        for py in range(n):
            for px in range(n):
                hits = 0
                for sy in range(SS):
                    for sx in range(SS):
                        x = (px + (sx + 0.5) / SS) / n
                        y = (py + (sy + 0.5) / SS) / n
                        if inside(x, y):
                            hits += 1
                if not hits:
                    continue
                cov = hits / (SS * SS) * color[3]
                r, g, b, a = self.acc[py][px]
                # "over" compositing in premultiplied form
                self.acc[py][px] = (color[0] * cov + r * (1 - cov), color[1] * cov + g * (1 - cov),
                                    color[2] * cov + b * (1 - cov), cov + a * (1 - cov))

    def bgra_rows_bottom_up(self):
        out = bytearray()
        for row in reversed(self.acc):
            for r, g, b, a in row:
                if a > 0:
                    out += bytes([min(255, round(b / a)), min(255, round(g / a)), min(255, round(r / a)),
                                  min(255, round(a * 255))])
                else:
                    out += bytes(4)
        return bytes(out)


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x <= x1 and y0 <= y <= y1


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def ring(cx, cy, r0, r1):
    return lambda x, y: r0 * r0 <= (x - cx) ** 2 + (y - cy) ** 2 <= r1 * r1


def poly(points):
    def inside(x, y):
        c = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                c = not c
            j = i
        return c
    return inside


def thick_line(x0, y0, x1, y1, w):
    def inside(x, y):
        dx, dy = x1 - x0, y1 - y0
        t = max(0, min(1, ((x - x0) * dx + (y - y0) * dy) / (dx * dx + dy * dy)))
        px, py = x0 + t * dx, y0 + t * dy
        return (x - px) ** 2 + (y - py) ** 2 <= (w / 2) ** 2
    return inside


def rounded(x0, y0, x1, y1, r):
    def inside(x, y):
        if not (x0 <= x <= x1 and y0 <= y <= y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    return inside


def union(*fs):
    return lambda x, y: any(f(x, y) for f in fs)


def minus(f, g):
    return lambda x, y: f(x, y) and not g(x, y)


NAVY = (0, 40, 110, 1)
WHITE = (255, 255, 255, 1)
RED = (200, 30, 30, 1)
GREEN = (20, 140, 40, 1)
YELLOW = (245, 200, 40, 1)
BLUE = (40, 110, 220, 1)
GREY = (120, 120, 130, 1)


def app_icon(c):
    c.paint(rounded(0.04, 0.04, 0.96, 0.96, 0.18), (20, 60, 140, 1))
    c.paint(union(thick_line(0.5, 0.38, 0.3, 0.9, 0.08), thick_line(0.5, 0.38, 0.7, 0.9, 0.08),
                  thick_line(0.38, 0.68, 0.62, 0.68, 0.06)), WHITE)
    c.paint(circle(0.5, 0.33, 0.08), (255, 80, 60, 1))
    for r in (0.2, 0.32):
        c.paint(minus(ring(0.5, 0.33, r - 0.035, r + 0.035), lambda x, y: abs(y - 0.33) > (x - 0.5) ** 2 * 0 + abs(x - 0.5) * 0.9), (160, 210, 255, 1))


def gravar_icon(c):  # a floppy disk: save
    c.paint(poly([(0.1, 0.08), (0.78, 0.08), (0.92, 0.22), (0.92, 0.92), (0.1, 0.92)]), NAVY)
    c.paint(rect(0.26, 0.08, 0.7, 0.38), (210, 215, 225, 1))
    c.paint(rect(0.55, 0.13, 0.65, 0.33), NAVY)
    c.paint(rect(0.22, 0.52, 0.8, 0.92), WHITE)
    c.paint(union(rect(0.3, 0.62, 0.72, 0.66), rect(0.3, 0.74, 0.72, 0.78)), (150, 160, 180, 1))


def ler_icon(c):  # an open folder: read
    c.paint(poly([(0.06, 0.2), (0.36, 0.2), (0.44, 0.3), (0.86, 0.3), (0.86, 0.86), (0.06, 0.86)]), (200, 150, 30, 1))
    c.paint(rect(0.18, 0.36, 0.8, 0.7), WHITE)
    c.paint(poly([(0.06, 0.86), (0.2, 0.46), (0.98, 0.46), (0.86, 0.86)]), YELLOW)


def ajuda_icon(c):  # a question mark in a blue circle
    c.paint(circle(0.5, 0.5, 0.46), BLUE)
    c.paint(minus(ring(0.5, 0.38, 0.1, 0.2), lambda x, y: y > 0.42 and x < 0.5), WHITE)
    c.paint(thick_line(0.6, 0.5, 0.5, 0.6, 0.1), WHITE)
    c.paint(rect(0.45, 0.58, 0.55, 0.66), WHITE)
    c.paint(circle(0.5, 0.79, 0.065), WHITE)


def sobre_icon(c):  # an "i" in a green circle
    c.paint(circle(0.5, 0.5, 0.46), GREEN)
    c.paint(circle(0.5, 0.28, 0.075), WHITE)
    c.paint(rect(0.43, 0.42, 0.57, 0.78), WHITE)


def sair_icon(c):  # a door with an arrow leaving it
    c.paint(rect(0.12, 0.08, 0.6, 0.92), (120, 70, 30, 1))
    c.paint(rect(0.18, 0.14, 0.54, 0.92), (230, 220, 200, 1))
    c.paint(circle(0.47, 0.55, 0.035), NAVY)
    c.paint(union(rect(0.5, 0.45, 0.8, 0.57), poly([(0.76, 0.33), (0.96, 0.51), (0.76, 0.69)])), RED)


def retornar_icon(c):  # a curved arrow back
    c.paint(minus(ring(0.52, 0.55, 0.2, 0.34), lambda x, y: y > 0.55 and x < 0.52), BLUE)
    c.paint(poly([(0.06, 0.55), (0.36, 0.55), (0.21, 0.8)]), BLUE)
    c.paint(rect(0.52, 0.75, 0.7, 0.89), BLUE)


def globo_icon(c):  # a globe: the web page
    c.paint(circle(0.5, 0.5, 0.45), BLUE)
    c.paint(union(ring(0.5, 0.5, 0.4, 0.45),
                  lambda x, y: abs((x - 0.5) ** 2 / 0.04 + (y - 0.5) ** 2 / 0.2 - 1) < 0.15,
                  rect(0.05, 0.48, 0.95, 0.52), rect(0.48, 0.05, 0.52, 0.95),
                  lambda x, y: abs(y - 0.3) < 0.02 and (x - 0.5) ** 2 + (y - 0.5) ** 2 < 0.2,
                  lambda x, y: abs(y - 0.7) < 0.02 and (x - 0.5) ** 2 + (y - 0.5) ** 2 < 0.2), WHITE)


def write_ico(path, drawing, sizes):
    images = []
    for s in sizes:
        c = Canvas(s)
        drawing(c)
        pixels = c.bgra_rows_bottom_up()
        mask_row = ((s + 31) // 32) * 4
        header = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, 32, 0, len(pixels) + mask_row * s, 0, 0, 0, 0)
        images.append((s, header + pixels + bytes(mask_row * s)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in images:
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


ICONS = {
    # The banner shows it at 48 px at 96 dpi: 72 and 96 keep it sharp at 144 and 192.
    "orvalen.ico": (app_icon, [16, 20, 24, 32, 40, 48, 64, 72, 96]),
    "gravar.ico": (gravar_icon, [16, 32]),
    "ler.ico": (ler_icon, [16, 32]),
    "ajuda.ico": (ajuda_icon, [16, 24, 32, 48]),
    "sobre.ico": (sobre_icon, [32]),
    "sair.ico": (sair_icon, [32]),
    "retornar.ico": (retornar_icon, [32]),
    "globo.ico": (globo_icon, [32]),
}

if __name__ == "__main__":
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "app", "win", "res")
    os.makedirs(out_dir, exist_ok=True)
    for name, (drawing, sizes) in ICONS.items():
        write_ico(os.path.join(out_dir, name), drawing, sizes)
        print(name)
