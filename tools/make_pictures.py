#!/usr/bin/env python3
"""Draws the pictures of kelvo and tarnel into apps/kelvo/res: the program icons, the button
pictures, the about logo and the built-in background of the main window.

Pure standard library. Every shape is a signed distance field, so each size is drawn afresh
(crisp at 16 pixels and at 256) and its edges are smoothed without supersampling. Icons are
written as .ico files of 32-bit BGRA images with AND masks; the background as 24-bit BMPs.
The output is deterministic: running the script again gives the same bytes.

    python3 tools/make_pictures.py [output folder]
"""

import math
import os
import struct
import sys

# ----------------------------------------------------------------------------------------
# Distance fields: f(x, y) -> distance in design units (negative inside).


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def box(x0, y0, x1, y1, r=0.0):
    cx, cy, hx, hy = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def f(x, y):
        dx, dy = abs(x - cx) - hx, abs(y - cy) - hy
        return math.hypot(max(dx, 0), max(dy, 0)) + min(max(dx, dy), 0) - r

    return f


def segment(x0, y0, x1, y1, w):
    """A stroke of half-width w with round ends."""
    vx, vy = x1 - x0, y1 - y0
    length2 = vx * vx + vy * vy or 1e-9

    def f(x, y):
        t = max(0.0, min(1.0, ((x - x0) * vx + (y - y0) * vy) / length2))
        return math.hypot(x - x0 - vx * t, y - y0 - vy * t) - w

    return f


def arc(cx, cy, r, a0, a1, w):
    """A stroke along the circle from angle a0 to a1 (degrees, counter-clockwise, y down)."""
    a0, a1 = math.radians(a0), math.radians(a1)
    span = (a1 - a0) % (2 * math.pi) or 2 * math.pi
    ends = [(cx + r * math.cos(a), cy - r * math.sin(a)) for a in (a0, a1)]

    def f(x, y):
        angle = math.atan2(-(y - cy), x - cx)
        if (angle - a0) % (2 * math.pi) <= span:
            return abs(math.hypot(x - cx, y - cy) - r) - w
        return min(math.hypot(x - ex, y - ey) for ex, ey in ends) - w

    return f


def polygon(points):
    n = len(points)

    def f(x, y):
        d = min((x - px) ** 2 + (y - py) ** 2 for px, py in points)
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[i - 1]
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = max(0.0, min(1.0, (wx * ex + wy * ey) / ((ex * ex + ey * ey) or 1e-9)))
            d = min(d, (wx - ex * t) ** 2 + (wy - ey * t) ** 2)
            if (ay > y) != (by > y) and x < (bx - ax) * (y - ay) / ((by - ay) or 1e-9) + ax:
                inside = not inside
        return -math.sqrt(d) if inside else math.sqrt(d)

    return f


def union(*fields):
    return lambda x, y: min(f(x, y) for f in fields)


def cut(field, *holes):
    return lambda x, y: max(field(x, y), *(-h(x, y) for h in holes))


def ring(field, w):
    return lambda x, y: abs(field(x, y)) - w


def rotated(points, cx, cy, degrees):
    a = math.radians(degrees)
    c, s = math.cos(a), math.sin(a)
    return [(cx + (px - cx) * c - (py - cy) * s, cy + (px - cx) * s + (py - cy) * c) for px, py in points]


# ----------------------------------------------------------------------------------------
# Paints: f(x, y) -> (r, g, b, a) with channels 0..1, in design units.


def solid(rgb, alpha=1.0):
    colour = tuple(c / 255 for c in rgb) + (alpha,)
    return lambda x, y: colour


def vertical(top, bottom, y0, y1, alpha=1.0):
    t0, t1 = [c / 255 for c in top], [c / 255 for c in bottom]

    def f(x, y):
        t = max(0.0, min(1.0, (y - y0) / ((y1 - y0) or 1)))
        return (t0[0] + (t1[0] - t0[0]) * t, t0[1] + (t1[1] - t0[1]) * t, t0[2] + (t1[2] - t0[2]) * t, alpha)

    return f


def radial(inner, outer, cx, cy, r, alpha=1.0):
    t0, t1 = [c / 255 for c in inner], [c / 255 for c in outer]

    def f(x, y):
        t = max(0.0, min(1.0, math.hypot(x - cx, y - cy) / r))
        return (t0[0] + (t1[0] - t0[0]) * t, t0[1] + (t1[1] - t0[1]) * t, t0[2] + (t1[2] - t0[2]) * t, alpha)

    return f


# ----------------------------------------------------------------------------------------
# The canvas: straight RGBA floats, shapes composited over what is there.


class Canvas:
    def __init__(self, width, height, scale):
        self.width, self.height, self.scale = width, height, scale
        self.pixels = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def fill(self, field, paint, bounds=None, soft=1.0):
        """Paints `field` (design units, `scale` pixels each) within `bounds` (design units)."""
        s = self.scale
        x0, y0, x1, y1 = bounds if bounds else (0, 0, self.width / s, self.height / s)
        px0, py0 = max(0, int(x0 * s) - 2), max(0, int(y0 * s) - 2)
        px1, py1 = min(self.width, int(math.ceil(x1 * s)) + 2), min(self.height, int(math.ceil(y1 * s)) + 2)
        edge = soft / s  # one pixel, in design units
        for py in range(py0, py1):
            y = (py + 0.5) / s
            row = py * self.width
            for px in range(px0, px1):
                x = (px + 0.5) / s
                d = field(x, y)
                if d >= edge * 0.5:
                    continue
                coverage = 1.0 if d <= -edge * 0.5 else 0.5 - d / edge
                r, g, b, a = paint(x, y)
                a *= coverage
                if a <= 0:
                    continue
                dst = self.pixels[row + px]
                out = a + dst[3] * (1 - a)
                for i, c in enumerate((r, g, b)):
                    dst[i] = (c * a + dst[i] * dst[3] * (1 - a)) / out
                dst[3] = out

    def shadow(self, field, offset, alpha, bounds=None, blur=1.5):
        """A soft drop shadow of `field`, `offset` design units down and right."""
        self.fill(lambda x, y: field(x - offset, y - offset), solid((0, 0, 0), alpha), bounds, soft=blur)

    def bgra(self):
        out = bytearray()
        for r, g, b, a in self.pixels:
            out += bytes((to_byte(b), to_byte(g), to_byte(r), to_byte(a)))
        return out


def to_byte(v):
    return max(0, min(255, int(round(v * 255))))


# ----------------------------------------------------------------------------------------
# File formats.


def ico_bytes(images):
    """images: list of (size, Canvas). 32-bit BMP entries with AND masks."""
    header = struct.pack("<HHH", 0, 1, len(images))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(images)
    for size, canvas in images:
        bgra = canvas.bgra()
        rows = [bgra[y * size * 4:(y + 1) * size * 4] for y in range(size)]
        xor = b"".join(reversed(rows))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(size)):
            line = bytearray(mask_stride)
            for x in range(size):
                if bgra[(y * size + x) * 4 + 3] == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            mask += line
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = info + xor + bytes(mask)
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return header + entries + blobs


def bmp24_bytes(canvas, background=(0, 0, 0)):
    w, h = canvas.width, canvas.height
    stride = (w * 3 + 3) & ~3
    body = bytearray()
    for y in reversed(range(h)):
        line = bytearray()
        for x in range(w):
            r, g, b, a = canvas.pixels[y * w + x]
            mix = [c * a + bg / 255 * (1 - a) for c, bg in zip((r, g, b), background)]
            line += bytes((to_byte(mix[2]), to_byte(mix[1]), to_byte(mix[0])))
        body += line + bytes(stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(body), 0, 0, 54) + info + body


# ----------------------------------------------------------------------------------------
# The pictures. Each draws on a 32 x 32 design grid; `c.scale` maps it to the real size.

GREEN = (46, 184, 92)
GREEN_DARK = (24, 122, 58)
BLUE = (52, 120, 214)
BLUE_DARK = (28, 72, 156)
RED = (222, 62, 56)
RED_DARK = (160, 32, 30)
ORANGE = (242, 150, 40)
WHITE = (255, 255, 255)
INK = (40, 48, 66)


def draw_chip(c, with_gauge=True):
    body = box(6, 6, 26, 26, 2.5)
    pins = []
    for i in range(4):
        x = 9.5 + i * 4.3
        pins += [box(x - 1.1, 2.5, x + 1.1, 7, 0.6), box(x - 1.1, 25, x + 1.1, 29.5, 0.6)]
        pins += [box(2.5, x - 1.1, 7, x + 1.1, 0.6), box(25, x - 1.1, 29.5, x + 1.1, 0.6)]
    c.fill(union(*pins), vertical((236, 200, 96), (184, 140, 40), 2, 30))
    c.shadow(body, 0.8, 0.35, (5, 5, 28, 28))
    c.fill(body, vertical((86, 96, 118), (40, 46, 62), 6, 26))
    c.fill(ring(box(7, 7, 25, 25, 1.8), 0.35), solid(WHITE, 0.18), (6, 6, 26, 26))
    c.fill(circle(9.6, 9.6, 1.0), solid(WHITE, 0.45), (8, 8, 11, 11))
    if with_gauge:
        c.fill(box(9, 15, 23, 21, 1.2), solid((20, 26, 36)), (8, 14, 24, 22))
        c.fill(box(10, 16, 19.5, 20, 0.8), vertical((120, 236, 140), GREEN_DARK, 16, 20), (9, 15, 21, 21))


def draw_kelvo(c):
    draw_chip(c)


def gear_field(cx, cy, outer, inner, teeth, hole, tooth_width):
    shapes = [circle(cx, cy, inner)]
    for i in range(teeth):
        angle = 360 / teeth * i
        tooth = [(cx - tooth_width / 2, cy - outer), (cx + tooth_width / 2, cy - outer),
                 (cx + tooth_width * 0.8, cy - inner + 1), (cx - tooth_width * 0.8, cy - inner + 1)]
        shapes.append(polygon(rotated(tooth, cx, cy, angle)))
    return cut(union(*shapes), circle(cx, cy, hole))


def draw_gear(c):
    gear = gear_field(16, 16, 14.5, 11, 8, 4.6, 4.6)
    c.shadow(gear, 0.8, 0.3, (0, 0, 32, 32))
    c.fill(gear, vertical((176, 196, 222), (86, 104, 136), 1, 31), (1, 1, 31, 31))
    c.fill(ring(circle(16, 16, 8.2), 0.5), solid(WHITE, 0.35), (7, 7, 25, 25))
    c.fill(ring(circle(16, 16, 4.6), 0.6), solid((40, 52, 76), 0.5), (10, 10, 22, 22))


def round_badge(c, top, bottom, edge):
    disc = circle(16, 16, 14)
    c.shadow(disc, 0.8, 0.3, (1, 1, 32, 32))
    c.fill(disc, vertical(top, bottom, 2, 30), (1, 1, 31, 31))
    c.fill(ring(circle(16, 16, 13.4), 0.6), solid(edge, 0.9), (1, 1, 31, 31))
    c.fill(cut(circle(16, 12, 11), circle(16, 30, 18)), solid(WHITE, 0.22), (4, 2, 28, 18))


def draw_help(c):
    round_badge(c, (104, 168, 246), BLUE_DARK, (22, 60, 130))
    mark = union(arc(16, 12.2, 4.6, -60, 180, 1.8), segment(18.3, 16.2, 16, 18.6, 1.8), segment(16, 18.6, 16, 20, 1.8))
    c.fill(mark, solid(WHITE), (8, 5, 24, 23))
    c.fill(circle(16, 24.6, 2.0), solid(WHITE), (13, 22, 19, 27))


def draw_panel(c):
    frame = box(3, 4, 29, 28, 3)
    c.shadow(frame, 0.8, 0.3, (2, 3, 30, 30))
    c.fill(frame, vertical((250, 252, 255), (208, 218, 236), 4, 28), (3, 4, 29, 28))
    c.fill(ring(box(3.5, 4.5, 28.5, 27.5, 2.6), 0.6), solid((96, 112, 140)), (2, 3, 30, 29))
    for y, knob, colour in ((10, 20, BLUE), (16, 11, GREEN), (22, 17, ORANGE)):
        c.fill(segment(8, y, 24, y, 1.0), solid((120, 132, 156)), (6, y - 2, 26, y + 2))
        c.fill(circle(knob, y, 2.6), solid(colour), (knob - 4, y - 4, knob + 4, y + 4))
        c.fill(ring(circle(knob, y, 2.6), 0.4), solid((0, 0, 0), 0.35), (knob - 4, y - 4, knob + 4, y + 4))


def arrow_head(tip_x, tip_y, direction_degrees, length, width):
    a = math.radians(direction_degrees)
    dx, dy = math.cos(a), -math.sin(a)
    bx, by = tip_x - dx * length, tip_y - dy * length
    return polygon([(tip_x, tip_y), (bx - dy * width, by + dx * width), (bx + dy * width, by - dx * width)])


def draw_update(c):
    round_badge(c, (108, 206, 140), GREEN_DARK, (18, 100, 48))
    arrows = union(arc(16, 16, 8, 100, 250, 1.6), arrow_head(13.5, 23.8, -20, 5, 3.4),
                   arc(16, 16, 8, 280, 430, 1.6), arrow_head(18.5, 8.2, 160, 5, 3.4))
    c.fill(arrows, solid(WHITE), (4, 4, 28, 28))


def draw_download(c):
    tray = union(segment(6, 21, 6, 26.5, 1.5), segment(6, 26.5, 26, 26.5, 1.5), segment(26, 26.5, 26, 21, 1.5))
    c.fill(tray, solid((96, 112, 140)), (3, 18, 29, 29))
    arrow = union(box(13, 3, 19, 15, 1), arrow_head(16, 23, -90, 9, 8))
    c.shadow(arrow, 0.7, 0.3, (4, 2, 28, 25))
    c.fill(arrow, vertical((108, 220, 140), GREEN_DARK, 3, 23), (5, 2, 27, 24))


def draw_tray(c):
    window = box(3, 4, 23, 20, 2)
    c.shadow(window, 0.8, 0.25, (2, 3, 25, 22))
    c.fill(window, solid((250, 252, 255)), (3, 4, 23, 20))
    c.fill(box(3, 4, 23, 8.5, 2), vertical((104, 168, 246), BLUE_DARK, 4, 8.5), (3, 4, 23, 9))
    c.fill(ring(box(3.4, 4.4, 22.6, 19.6, 1.7), 0.5), solid(BLUE_DARK), (2, 3, 24, 21))
    c.fill(box(4, 24, 30, 30, 1.5), vertical((96, 108, 134), (52, 60, 80), 24, 30), (3, 23, 31, 31))
    c.fill(circle(25.5, 27, 1.8), solid((120, 236, 140)), (23, 25, 28, 29))
    c.fill(union(segment(15, 13, 22, 20.5, 1.4), arrow_head(25, 23.5, -45, 6, 3.6)), solid(ORANGE), (12, 10, 28, 27))


def draw_clean(c):
    c.fill(segment(23, 4, 14.5, 16, 1.5), vertical((196, 136, 78), (120, 72, 32), 4, 16), (11, 2, 26, 19))
    c.fill(box(11, 14.5, 19.5, 18.5, 1.2), solid((220, 70, 60)), (10, 13, 21, 20))
    bristles = polygon([(11, 17.5), (19.5, 17.5), (23, 29), (5, 29)])
    c.shadow(bristles, 0.6, 0.25, (4, 16, 25, 31))
    c.fill(bristles, vertical((252, 220, 110), (214, 160, 40), 17, 29), (4, 16, 24, 30))
    for x in (9.5, 13, 16.5, 20):
        c.fill(segment(x - 0.4, 19.5, x + (x - 14.5) * 0.35, 28, 0.3), solid((160, 112, 20), 0.7), (4, 18, 24, 30))
    for cx, cy, r in ((26.5, 17, 3.4), (6, 7, 2.6), (27, 27, 2.0)):
        star = polygon([(cx, cy - r), (cx + r * 0.28, cy - r * 0.28), (cx + r, cy), (cx + r * 0.28, cy + r * 0.28),
                        (cx, cy + r), (cx - r * 0.28, cy + r * 0.28), (cx - r, cy), (cx - r * 0.28, cy - r * 0.28)])
        c.fill(star, solid((90, 170, 255)), (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1))


def draw_save(c):
    disk = polygon([(4, 5.5), (5.5, 4), (24, 4), (28, 8), (28, 26.5), (26.5, 28), (5.5, 28), (4, 26.5)])
    c.shadow(disk, 0.8, 0.3, (3, 3, 30, 30))
    c.fill(disk, vertical((76, 132, 220), BLUE_DARK, 4, 28), (3, 3, 29, 29))
    c.fill(box(9, 4, 22, 12, 0.8), solid((226, 232, 242)), (8, 3, 23, 13))
    c.fill(box(18, 5.5, 20.5, 10.5, 0.4), solid(BLUE_DARK), (17, 5, 21, 11))
    c.fill(box(8, 16, 24, 28, 1), solid((252, 252, 252)), (7, 15, 25, 28))
    for y in (19.5, 22.5, 25):
        c.fill(segment(10.5, y, 21.5, y, 0.45), solid((160, 170, 190)), (9, y - 1, 23, y + 1))


def draw_close(c):
    round_badge(c, (246, 120, 110), RED_DARK, (130, 26, 24))
    c.fill(union(segment(11, 11, 21, 21, 2.1), segment(21, 11, 11, 21, 2.1)), solid(WHITE), (7, 7, 25, 25))


def draw_restore(c):
    round_badge(c, (255, 196, 100), (206, 112, 20), (150, 80, 10))
    c.fill(union(arc(16.5, 17, 7.5, -150, 150, 1.8), arrow_head(7.5, 10.5, 110, 6.5, 4)), solid(WHITE), (4, 4, 28, 28))


def draw_check(c):
    lens = circle(13, 13, 8.5)
    c.shadow(union(lens, segment(19, 19, 27, 27, 2.6)), 0.7, 0.3, (2, 2, 31, 31))
    c.fill(segment(19.5, 19.5, 27, 27, 2.6), vertical((120, 120, 130), (50, 50, 60), 19, 28), (16, 16, 30, 30))
    c.fill(lens, radial((250, 252, 255), (196, 222, 250), 11, 11, 9), (4, 4, 22, 22))
    c.fill(ring(lens, 1.3), vertical((130, 140, 160), (60, 70, 90), 4, 22), (3, 3, 23, 23))
    c.fill(union(segment(9, 13.5, 12, 16.5, 1.3), segment(12, 16.5, 17.5, 9.5, 1.3)), solid(GREEN_DARK), (7, 7, 19, 19))


def draw_exit(c):
    door = box(5, 3, 19, 29, 1.5)
    c.shadow(door, 0.8, 0.25, (4, 2, 21, 31))
    c.fill(door, vertical((196, 150, 104), (134, 90, 50), 3, 29), (4, 2, 20, 30))
    c.fill(ring(box(5.4, 3.4, 18.6, 28.6, 1.2), 0.45), solid((90, 56, 26)), (4, 2, 20, 30))
    c.fill(circle(15.5, 16.5, 1.2), solid((250, 220, 120)), (14, 15, 17, 18))
    c.fill(union(segment(14, 16, 24, 16, 1.7), arrow_head(30, 16, 0, 7.5, 4.6)), solid(RED), (12, 10, 31, 22))


def draw_tarnel(c):
    globe = circle(14, 15, 12)
    c.shadow(globe, 0.8, 0.3, (1, 2, 28, 29))
    c.fill(globe, radial((150, 206, 255), BLUE_DARK, 10, 10, 16), (1, 2, 27, 28))
    lines = union(ring(circle(14, 15, 12), 0.3), segment(2.5, 15, 25.5, 15, 0.5), segment(14, 3, 14, 27, 0.5),
                  ring(lambda x, y: math.hypot((x - 14) / 0.45, y - 15) - 12, 0.8))
    c.fill(cut(lines, ring(circle(14, 15, 13), 0.01)), solid(WHITE, 0.55), (2, 3, 26, 27))
    badge = circle(23.5, 23.5, 7.5)
    c.shadow(badge, 0.6, 0.3, (15, 15, 32, 32))
    c.fill(badge, vertical((108, 220, 140), GREEN_DARK, 16, 31), (15, 15, 31, 31))
    c.fill(union(segment(23.5, 18.5, 23.5, 24, 1.3), arrow_head(23.5, 28.5, -90, 5, 3.6)), solid(WHITE),
           (18, 17, 29, 30))


def draw_logo(c):
    """The about window's logo: the program's chip over a soft halo."""
    c.fill(circle(16, 16, 15.5), radial((255, 255, 255), (196, 214, 246), 16, 16, 15.5), (0, 0, 32, 32))
    c.fill(ring(circle(16, 16, 15.2), 0.3), solid((120, 146, 200), 0.8), (0, 0, 32, 32))
    c2 = Canvas(c.width, c.height, c.scale * 0.8)
    draw_chip(c2)
    offset = int(round(c.width * 0.1))
    for y in range(c2.height):
        for x in range(c2.width):
            px, py = x + offset, y + offset
            if px < c.width and py < c.height:
                src = c2.pixels[y * c2.width + x]
                if src[3] > 0:
                    dst = c.pixels[py * c.width + px]
                    a = src[3]
                    out = a + dst[3] * (1 - a)
                    for i in range(3):
                        dst[i] = (src[i] * a + dst[i] * dst[3] * (1 - a)) / out
                    dst[3] = out


def icon(draw, sizes):
    images = []
    for size in sizes:
        canvas = Canvas(size, size, size / 32)
        draw(canvas)
        images.append((size, canvas))
    return ico_bytes(images)


# ----------------------------------------------------------------------------------------
# The background of the main window's top area: 6690 x 1860 twips.

# "Varnic" as strokes on an em of 10 units: (x advance, strokes).
GLYPHS = {
    "V": (7.6, lambda x: [segment(x, 0, x + 3.6, 10, 1), segment(x + 3.6, 10, x + 7.2, 0, 1)]),
    "a": (8.0, lambda x: [arc(x + 2.9, 7, 2.9, 0, 360, 1), segment(x + 6.3, 3.4, x + 6.3, 10, 1)]),
    "r": (5.6, lambda x: [segment(x + 0.5, 3.6, x + 0.5, 10, 1), arc(x + 3.5, 7.2, 3.0, 95, 165, 1)]),
    "n": (6.6, lambda x: [segment(x + 0.5, 3.6, x + 0.5, 10, 1), arc(x + 3.2, 6.8, 2.7, 0, 180, 1),
                          segment(x + 5.9, 6.8, x + 5.9, 10, 1)]),
    "i": (2.4, lambda x: [segment(x + 0.6, 4, x + 0.6, 10, 1), circle(x + 0.6, 1.4, 1.05)]),
    "c": (5.6, lambda x: [arc(x + 3, 7, 2.9, 50, 310, 1)]),
}


def text_field(text, left, baseline_top, size, slant=0.18):
    """The strokes of `text`, `size` design units high, top-left at (left, baseline_top)."""
    strokes, x = [], 0.0
    for ch in text:
        advance, make = GLYPHS[ch]
        strokes += make(x)
        x += advance
    scale = size / 10
    shape = union(*strokes)

    def f(px, py):
        ly = (py - baseline_top) / scale
        lx = (px - left) / scale + (ly - 10) * slant
        return shape(lx, ly) * scale

    return f, x * scale


def draw_background(c):
    w, h = c.width / c.scale, c.height / c.scale  # design units: 446 x 124
    top, bottom = (22, 58, 122), (36, 128, 170)
    for py in range(c.height):
        for px in range(c.width):
            x, y = (px + 0.5) / c.scale, (py + 0.5) / c.scale
            t = y / h * 0.7 + x / w * 0.3
            glow = max(0.0, 1 - math.hypot((x - w * 0.78) / (w * 0.35), (y - h * 0.2) / (h * 0.9)))
            c.pixels[py * c.width + px] = [
                (top[0] + (bottom[0] - top[0]) * t) / 255 + glow * 0.10,
                (top[1] + (bottom[1] - top[1]) * t) / 255 + glow * 0.12,
                (top[2] + (bottom[2] - top[2]) * t) / 255 + glow * 0.12, 1.0]

    # Circuit traces running into the chip from the left and right.
    trace = solid((140, 220, 255), 0.28)
    pad = solid((170, 235, 255), 0.55)
    cx0, cy0, cx1, cy1 = 300, 22, 380, 102
    for i, y in enumerate((34, 50, 66, 82, 94)):
        start, bend, rise = 218 + i * 4, 252 - i * 10, 12 - i * 3
        c.fill(union(segment(start, y + rise, bend, y + rise, 0.9), segment(bend, y + rise, cx0 - 8, y, 0.9),
                     segment(cx0 - 8, y, cx0, y, 0.9)), trace, (start - 4, y - 16, cx0 + 1, y + 20))
        c.fill(circle(start, y + rise, 2.4), pad, (start - 4, y + rise - 4, start + 4, y + rise + 4))
        c.fill(segment(cx1, y, 440 - i * 6, y, 0.9), trace, (cx1, y - 2, 446, y + 2))
        c.fill(circle(440 - i * 6, y, 2.4), pad, (435 - i * 6, y - 3, 446, y + 3))
    for x in (316, 334, 352, 366):
        c.fill(segment(x, cy0 - 14, x, cy0, 0.9), trace, (x - 2, 4, x + 2, cy0))
        c.fill(segment(x, cy1, x, cy1 + 14, 0.9), trace, (x - 2, cy1, x + 2, 124))

    # The chip.
    chip = box(cx0, cy0, cx1, cy1, 6)
    pins = []
    for i in range(7):
        p = cy0 + 8 + i * 10.6
        pins += [box(cx0 - 7, p - 2.2, cx0 + 1, p + 2.2, 1), box(cx1 - 1, p - 2.2, cx1 + 7, p + 2.2, 1)]
    c.fill(union(*pins), vertical((240, 210, 120), (190, 150, 60), cy0, cy1), (cx0 - 8, cy0, cx1 + 8, cy1))
    c.shadow(chip, 2.5, 0.35, (cx0 - 4, cy0 - 4, cx1 + 8, cy1 + 8), blur=4)
    c.fill(chip, vertical((70, 82, 108), (30, 36, 52), cy0, cy1), (cx0, cy0, cx1, cy1))
    c.fill(ring(box(cx0 + 3, cy0 + 3, cx1 - 3, cy1 - 3, 4), 0.6), solid(WHITE, 0.16), (cx0, cy0, cx1, cy1))
    c.fill(circle(cx0 + 10, cy0 + 10, 3), solid(WHITE, 0.4), (cx0 + 6, cy0 + 6, cx0 + 14, cy0 + 14))
    c.fill(box(cx0 + 12, cy0 + 46, cx1 - 12, cy0 + 62, 3), solid((14, 20, 30)), (cx0 + 10, cy0 + 44, cx1 - 10, cy0 + 64))
    c.fill(box(cx0 + 15, cy0 + 49, cx0 + 48, cy0 + 59, 2), vertical((130, 240, 150), GREEN_DARK, cy0 + 49, cy0 + 59),
           (cx0 + 14, cy0 + 48, cx0 + 50, cy0 + 60))

    # The product name, with a soft shadow.
    name, width = text_field("Varnic", 34, 30, 46)
    c.fill(lambda x, y: name(x - 2, y - 2.5), solid((0, 20, 60), 0.45), (26, 22, 34 + width + 20, 84), soft=3)
    c.fill(name, vertical((255, 255, 255), (200, 230, 255), 30, 76), (26, 22, 34 + width + 20, 84))
    c.fill(segment(38, 92, 34 + width + 4, 92, 0.9), solid((120, 236, 140), 0.8), (34, 88, 34 + width + 8, 96))


def background(scale):
    canvas = Canvas(446 * scale, 124 * scale, scale)
    draw_background(canvas)
    return bmp24_bytes(canvas)


BUTTON_SIZES = (16, 24, 32, 48, 64)
PROGRAM_SIZES = (16, 24, 32, 48, 64, 128)

PICTURES = {
    "kelvo.ico": lambda: icon(draw_kelvo, PROGRAM_SIZES),
    "gear.ico": lambda: icon(draw_gear, PROGRAM_SIZES),
    "tarnel.ico": lambda: icon(draw_tarnel, PROGRAM_SIZES),
    "help.ico": lambda: icon(draw_help, BUTTON_SIZES),
    "panel.ico": lambda: icon(draw_panel, BUTTON_SIZES),
    "update.ico": lambda: icon(draw_update, BUTTON_SIZES),
    "download.ico": lambda: icon(draw_download, BUTTON_SIZES),
    "tray.ico": lambda: icon(draw_tray, BUTTON_SIZES),
    "clean.ico": lambda: icon(draw_clean, BUTTON_SIZES),
    "save.ico": lambda: icon(draw_save, BUTTON_SIZES),
    "close.ico": lambda: icon(draw_close, BUTTON_SIZES),
    "restore.ico": lambda: icon(draw_restore, BUTTON_SIZES),
    "check.ico": lambda: icon(draw_check, BUTTON_SIZES),
    "exit.ico": lambda: icon(draw_exit, BUTTON_SIZES),
    "logo.ico": lambda: icon(draw_logo, (128, 256)),
    "back.bmp": lambda: background(1),
    "back_2x.bmp": lambda: background(2),
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "apps", "kelvo", "res")
    os.makedirs(out, exist_ok=True)
    only = set(sys.argv[2:])
    for name, make in PICTURES.items():
        if only and name not in only:
            continue
        with open(os.path.join(out, name), "wb") as f:
            f.write(make())
        print(name)


if __name__ == "__main__":
    main()
