#!/usr/bin/env python3
"""Draw the Quorvane window picture and write it as logo.png and logo.b64.

The picture is a light rounded panel inviting the user to drop a folder:
a dashed drop zone, a folder on the left with a bold arrow going into it,
and an inbox tray with soft chevrons on the right.  The window paints its
own line of text across the top strip, so that strip is kept plain and
light.

Everything is drawn with signed distance functions: each shape is a
function returning the distance (in pixels) from a point to its outline,
negative inside.  Coverage of a pixel is then 0.5 - distance, clamped to
[0, 1], which gives smooth anti-aliased edges with one evaluation per pixel.

Standard library only; the output is the same bytes on every run.

Usage: python3 resources/make_logo.py
"""

import base64
import math
import os
import struct
import zlib

WIDTH = 300
HEIGHT = 101


# --------------------------------------------------------------------------
# Small helpers

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def smoothstep(e0, e1, x):
    t = clamp((x - e0) / (e1 - e0))
    return t * t * (3.0 - 2.0 * t)


def hex_rgb(h):
    """'#rrggbb' -> (r, g, b) with components in 0..1."""
    h = h.lstrip('#')
    return tuple(int(h[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def mix(c0, c1, t):
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def vertical_gradient(top_colour, bottom_colour, y0, y1):
    """Colour function fading from top_colour at y0 to bottom_colour at y1."""
    c0, c1 = hex_rgb(top_colour), hex_rgb(bottom_colour)

    def colour(x, y):
        return mix(c0, c1, clamp((y - y0) / (y1 - y0)))
    return colour


def solid(colour):
    c = hex_rgb(colour)
    return lambda x, y: c


# --------------------------------------------------------------------------
# Shapes.  Each returns (sdf, bbox) where sdf(x, y) is the signed distance
# and bbox = (x0, y0, x1, y1) bounds the area the shape can touch.

def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0, (y1 - y0) / 2.0

    def sdf(x, y):
        qx = abs(x - cx) - hx + r
        qy = abs(y - cy) - hy + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return sdf, (x0, y0, x1, y1)


def polygon(points, round_by=0.0):
    """Filled polygon (even-odd rule).  round_by grows it outwards by that
    many pixels, which rounds every corner with that radius."""
    n = len(points)
    edges = [(points[i], points[(i + 1) % n]) for i in range(n)]

    def sdf(x, y):
        best = float('inf')
        inside = False
        for (ax, ay), (bx, by) in edges:
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
            dx, dy = wx - ex * t, wy - ey * t
            best = min(best, dx * dx + dy * dy)
            if (ay > y) != (by > y):
                if x < ax + (y - ay) * ex / ey:
                    inside = not inside
        d = math.sqrt(best)
        return (-d if inside else d) - round_by

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return sdf, (min(xs) - round_by, min(ys) - round_by,
                 max(xs) + round_by, max(ys) + round_by)


def polyline_stroke(points, width):
    """Open polyline stroked with round caps and joins."""
    half = width / 2.0
    segs = list(zip(points, points[1:]))

    def sdf(x, y):
        best = float('inf')
        for (ax, ay), (bx, by) in segs:
            ex, ey = bx - ax, by - ay
            wx, wy = x - ax, y - ay
            t = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
            dx, dy = wx - ex * t, wy - ey * t
            best = min(best, dx * dx + dy * dy)
        return math.sqrt(best) - half

    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return sdf, (min(xs) - half, min(ys) - half,
                 max(xs) + half, max(ys) + half)


def dashed_rounded_rect(x0, y0, x1, y1, r, width, dash, gap):
    """Dashed outline of a rounded rectangle.  The dash period is stretched
    slightly so a whole number of dashes fits around the outline."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0, (y1 - y0) / 2.0
    ax, ay = hx - r, hy - r           # half lengths of the straight parts
    quarter = math.pi * r / 2.0       # length of one corner arc
    perimeter = 4 * ax + 4 * ay + 4 * quarter
    count = max(1, round(perimeter / (dash + gap)))
    period = perimeter / count
    on = period * dash / (dash + gap)
    outline, _ = rounded_rect(x0, y0, x1, y1, r)
    half = width / 2.0

    def arc_position(x, y):
        """Distance along the outline, clockwise from the left end of the
        top edge, of the outline point nearest to (x, y)."""
        qx, qy = x - cx, y - cy
        if abs(qx) > ax and abs(qy) > ay:
            if qx > 0 and qy < 0:       # top right corner
                t = math.atan2(qy + ay, qx - ax) + math.pi / 2
                return 2 * ax + r * t
            if qx > 0:                  # bottom right corner
                t = math.atan2(qy - ay, qx - ax)
                return 2 * ax + 2 * ay + quarter + r * t
            if qy > 0:                  # bottom left corner
                t = math.atan2(qy - ay, qx + ax) - math.pi / 2
                return 4 * ax + 2 * ay + 2 * quarter + r * t
            t = math.atan2(qy + ay, qx + ax) + math.pi   # top left corner
            return 4 * ax + 4 * ay + 3 * quarter + r * t
        if abs(qy) - ay >= abs(qx) - ax:
            if qy < 0:                  # top edge, going right
                return qx + ax
            return 2 * ax + 2 * ay + 2 * quarter + (ax - qx)   # bottom
        if qx > 0:                      # right edge, going down
            return 2 * ax + quarter + (qy + ay)
        return 4 * ax + 2 * ay + 3 * quarter + (ay - qy)       # left, up

    def sdf(x, y):
        ring = abs(outline(x, y)) - half
        if ring > 1.0:
            return ring
        u = (arc_position(x, y) + on / 2.0) % period
        along = -min(u, on - u) if u < on else min(u - on, period - u)
        return max(ring, along)

    return sdf, (x0 - half, y0 - half, x1 + half, y1 + half)


def offset_shape(shape, dx, dy):
    sdf, (x0, y0, x1, y1) = shape
    return (lambda x, y: sdf(x - dx, y - dy)), (x0 + dx, y0 + dy,
                                               x1 + dx, y1 + dy)


def grow_shape(shape, amount):
    sdf, (x0, y0, x1, y1) = shape
    return (lambda x, y: sdf(x, y) - amount), (x0 - amount, y0 - amount,
                                              x1 + amount, y1 + amount)


# --------------------------------------------------------------------------
# Canvas: premultiplied RGBA floats, composited with the "over" operator.

class Canvas:
    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.px = [[0.0, 0.0, 0.0, 0.0] for _ in range(width * height)]

    def _blend(self, i, colour, alpha):
        if alpha <= 0.0:
            return
        p = self.px[i]
        keep = 1.0 - alpha
        p[0] = colour[0] * alpha + p[0] * keep
        p[1] = colour[1] * alpha + p[1] * keep
        p[2] = colour[2] * alpha + p[2] * keep
        p[3] = alpha + p[3] * keep

    def _pixels(self, bbox, margin):
        x0, y0, x1, y1 = bbox
        for py in range(max(0, int(math.floor(y0 - margin))),
                        min(self.height, int(math.ceil(y1 + margin)))):
            for px in range(max(0, int(math.floor(x0 - margin))),
                            min(self.width, int(math.ceil(x1 + margin)))):
                yield px, py, px + 0.5, py + 0.5

    def fill(self, shape, colour_fn, opacity=1.0):
        """Fill a shape; coverage comes from the distance to its edge."""
        sdf, bbox = shape
        for px, py, x, y in self._pixels(bbox, 1.0):
            cover = clamp(0.5 - sdf(x, y))
            if cover > 0.0:
                self._blend(py * self.width + px, colour_fn(x, y),
                            cover * opacity)

    def shadow(self, shape, dx, dy, blur, opacity, colour='#1c2f4a'):
        """Soft drop shadow of a shape, offset by (dx, dy)."""
        sdf, bbox = offset_shape(shape, dx, dy)
        c = hex_rgb(colour)
        for px, py, x, y in self._pixels(bbox, blur + 1.0):
            a = opacity * (1.0 - smoothstep(-blur, blur, sdf(x, y)))
            self._blend(py * self.width + px, c, a)

    def rgba_rows(self):
        """Rows of straight (non-premultiplied) 8-bit RGBA bytes."""
        rows = []
        for py in range(self.height):
            row = bytearray()
            for px in range(self.width):
                r, g, b, a = self.px[py * self.width + px]
                if a <= 0.0:
                    row += b'\x00\x00\x00\x00'
                    continue
                row += bytes((int(round(clamp(r / a) * 255)),
                              int(round(clamp(g / a) * 255)),
                              int(round(clamp(b / a) * 255)),
                              int(round(clamp(a) * 255))))
            rows.append(bytes(row))
        return rows


# --------------------------------------------------------------------------
# PNG writer

def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _filter_row(kind, row, prev, bpp):
    out = bytearray(len(row))
    for i, v in enumerate(row):
        a = row[i - bpp] if i >= bpp else 0
        b = prev[i]
        c = prev[i - bpp] if i >= bpp else 0
        if kind == 0:
            pred = 0
        elif kind == 1:
            pred = a
        elif kind == 2:
            pred = b
        elif kind == 3:
            pred = (a + b) // 2
        else:
            pred = _paeth(a, b, c)
        out[i] = (v - pred) & 0xFF
    return bytes(out)


def _chunk(kind, data):
    body = kind + data
    return (struct.pack('>I', len(data)) + body +
            struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF))


def encode_png(width, height, rows):
    """8-bit RGBA PNG, picking each row's filter by the usual
    smallest-sum-of-absolute-differences heuristic."""
    bpp = 4
    raw = bytearray()
    prev = bytes(width * bpp)
    for row in rows:
        best = None
        for kind in range(5):
            f = _filter_row(kind, row, prev, bpp)
            score = sum(v if v < 128 else 256 - v for v in f)
            if best is None or score < best[0]:
                best = (score, kind, f)
        raw.append(best[1])
        raw += best[2]
        prev = row

    ihdr = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' +
            _chunk(b'IHDR', ihdr) +
            _chunk(b'sRGB', b'\x00') +                     # perceptual
            _chunk(b'gAMA', struct.pack('>I', 45455)) +     # 1 / 2.2
            _chunk(b'IDAT', zlib.compress(bytes(raw), 9)) +
            _chunk(b'IEND', b''))


# --------------------------------------------------------------------------
# The picture

def draw_panel(c):
    panel = rounded_rect(0.5, 0.5, WIDTH - 0.5, HEIGHT - 0.5, 14)
    c.fill(panel, vertical_gradient('#fcfdff', '#dfe8f4', 18, HEIGHT))
    # thin darker rim just inside the panel edge
    sdf, bbox = panel
    rim = (lambda x, y: abs(sdf(x, y) + 0.6) - 0.6), bbox
    c.fill(rim, solid('#b9c8dc'), 0.9)


def draw_drop_zone(c):
    zone = (9, 25, WIDTH - 9, HEIGHT - 8)
    c.fill(rounded_rect(*zone, 10), solid('#ffffff'), 0.45)
    c.fill(dashed_rounded_rect(*zone, 10, width=1.6, dash=7, gap=5),
           solid('#8aa2c4'))


def folder_parts(x0, y0, x1, y1):
    """Back (with tab) and front panels of a folder in the given box."""
    tab_w = (x1 - x0) * 0.38
    back = polygon([(x0, y0), (x0 + tab_w - 6, y0), (x0 + tab_w, y0 + 7),
                    (x1, y0 + 7), (x1, y1), (x0, y1)], round_by=2.5)
    front = polygon([(x0 - 1, y0 + 21), (x1 + 1, y0 + 21),
                     (x1, y1), (x0, y1)], round_by=2.5)
    return back, front


def arrow_shape(cx, top, tip, shaft_w, head_w, head_h):
    s, h = shaft_w / 2.0, head_w / 2.0
    neck = tip - head_h
    return polygon([(cx - s, top), (cx + s, top), (cx + s, neck),
                    (cx + h, neck), (cx, tip), (cx - h, neck),
                    (cx - s, neck)], round_by=1.5)


def draw_folder_and_arrow(c):
    fx0, fy0, fx1, fy1 = 15, 41, 81, 86
    back, front = folder_parts(fx0, fy0, fx1, fy1)
    arrow = arrow_shape(48, 7, 72, shaft_w=12, head_w=30, head_h=19)

    c.shadow(back, 0, 2.5, 3.0, 0.22)
    c.fill(back, vertical_gradient('#e39a2a', '#d18419', fy0, fy1))
    # a sheet of paper peeking out of the folder
    c.fill(rounded_rect(fx0 + 6, fy0 + 11, fx1 - 6, fy1 - 4, 2),
           solid('#fbfcfe'))

    # the arrow sits between the back and the front, so it dives in
    c.shadow(arrow, 0, 2.0, 2.5, 0.25)
    c.fill(grow_shape(arrow, 1.8), solid('#ffffff'))
    c.fill(arrow, vertical_gradient('#4b9bf0', '#1f63c0', 7, 72))

    c.shadow(front, 0, -1.0, 2.0, 0.18)
    c.fill(front, vertical_gradient('#ffd97a', '#f3b53f', fy0 + 21, fy1))
    # highlight along the front's top edge
    c.fill(polyline_stroke([(fx0 + 2, fy0 + 22.6), (fx1 - 2, fy0 + 22.6)],
                           1.2), solid('#fff2c8'), 0.9)


def draw_tray(c):
    # inbox-style tray: a flat rim with a shallow trough in the middle
    x0, x1, y_top, y_bot = 110, 272, 62, 85
    mid = (x0 + x1) / 2.0
    trough = 58
    tray = polygon([(x0, y_top), (mid - trough - 7, y_top),
                    (mid - trough + 2, y_top + 10),
                    (mid + trough - 2, y_top + 10),
                    (mid + trough + 7, y_top), (x1, y_top),
                    (x1, y_bot), (x0, y_bot)], round_by=3)
    c.shadow(tray, 0, 2.0, 3.0, 0.15)
    c.fill(tray, vertical_gradient('#b8cdea', '#8fadd8', y_top, y_bot))
    # light highlight just below the top contour, rim and trough alike
    c.fill(polyline_stroke([(x0 + 1, y_top - 1.6),
                            (mid - trough - 7.6, y_top - 1.6),
                            (mid - trough + 1.4, y_top + 8.4),
                            (mid + trough - 1.4, y_top + 8.4),
                            (mid + trough + 7.6, y_top - 1.6),
                            (x1 - 1, y_top - 1.6)], 1.2),
           solid('#e3ecf8'), 0.9)

    # stacked chevrons pointing down into the tray, fading upwards
    for i, opacity in enumerate((0.35, 0.6, 0.9)):
        y = 33 + i * 9
        c.fill(polyline_stroke([(mid - 10, y), (mid, y + 7),
                                (mid + 10, y)], 3.6),
               solid('#3f86dc'), opacity)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    canvas = Canvas(WIDTH, HEIGHT)
    draw_panel(canvas)
    draw_drop_zone(canvas)
    draw_tray(canvas)
    draw_folder_and_arrow(canvas)

    png = encode_png(WIDTH, HEIGHT, canvas.rgba_rows())
    with open(os.path.join(here, 'logo.png'), 'wb') as f:
        f.write(png)
    with open(os.path.join(here, 'logo.b64'), 'wb') as f:
        f.write(base64.b64encode(png))      # one line, no newline
    print('logo.png: %d bytes' % len(png))


if __name__ == '__main__':
    main()
