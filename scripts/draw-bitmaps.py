#!/usr/bin/env python3
"""Draws the program's bitmaps into src/res (or the folder given as the argument).

The pictures are drawn from geometry: shapes are rendered at 4 x 4 samples per pixel and
averaged. Pixels that are mostly outside every shape keep the picture's transparent key colour
exactly; edge pixels average only the samples that are covered, so no dark fringe appears when
the key colour is left out. The .bmp files are committed; run this after changing a picture.

  130        the logo of the Misc page, on the key colour RGB(8, 7, 7)
  133, 154   the link switches of the Volume page: monochrome 45 x 8, joined and broken
  139..144   the speaker buttons of the Speakers page, grey on black (normal)
  148..153   the same speakers green on black (checked)
"""

import math
import os
import struct
import sys

SS = 4  # samples per pixel along each axis


def write_bmp24(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    stride = (width * 3 + 3) & ~3
    rows = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        rows += line
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    offset = 14 + len(header)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset))
        f.write(header)
        f.write(rows)


def write_bmp1(path, rows_text):
    """Monochrome bitmap from rows of '#' (white, bit 1) and '.' (black, bit 0)."""
    height = len(rows_text)
    width = len(rows_text[0])
    stride = ((width + 31) // 32) * 4
    data = bytearray()
    for text in reversed(rows_text):
        assert len(text) == width, text
        line = bytearray(stride)
        for x, c in enumerate(text):
            if c == "#":
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 1, 0, len(data), 2835, 2835, 2, 2)
    offset = 14 + len(header) + len(palette)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset))
        f.write(header + palette)
        f.write(data)


class Canvas:
    """A supersampled picture: each sample holds a colour or None (not covered)."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.samples = [[None] * (width * SS) for _ in range(height * SS)]

    def _fill(self, box, inside, colour):
        x0, y0, x1, y1 = box
        sx0 = max(0, int(math.floor(x0 * SS)))
        sy0 = max(0, int(math.floor(y0 * SS)))
        sx1 = min(self.width * SS, int(math.ceil(x1 * SS)) + 1)
        sy1 = min(self.height * SS, int(math.ceil(y1 * SS)) + 1)
        for sy in range(sy0, sy1):
            y = (sy + 0.5) / SS
            row = self.samples[sy]
            for sx in range(sx0, sx1):
                x = (sx + 0.5) / SS
                if inside(x, y):
                    row[sx] = colour(x, y) if callable(colour) else colour

    def polygon(self, points, colour):
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]

        def inside(x, y):
            result = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    result = not result
                j = i
            return result

        self._fill((min(xs), min(ys), max(xs), max(ys)), inside, colour)

    def rect(self, x0, y0, x1, y1, colour):
        self.polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], colour)

    def ellipse(self, cx, cy, rx, ry, colour):
        self._fill(
            (cx - rx, cy - ry, cx + rx, cy + ry),
            lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0,
            colour,
        )

    def stroke(self, path, width, colour):
        """A polyline with round ends and joins."""
        hw = width / 2.0
        segments = list(zip(path, path[1:])) or [(path[0], path[0])]
        xs = [p[0] for p in path]
        ys = [p[1] for p in path]

        def inside(x, y):
            for (ax, ay), (bx, by) in segments:
                dx, dy = bx - ax, by - ay
                length = dx * dx + dy * dy
                t = 0.0 if length == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length))
                px, py = ax + t * dx - x, ay + t * dy - y
                if px * px + py * py <= hw * hw:
                    return True
            return False

        self._fill((min(xs) - hw, min(ys) - hw, max(xs) + hw, max(ys) + hw), inside, colour)

    def pixels(self, key):
        """Averages the samples; a pixel covered by less than half its samples is the key."""
        out = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                covered = []
                for sy in range(y * SS, (y + 1) * SS):
                    covered += [c for c in self.samples[sy][x * SS:(x + 1) * SS] if c is not None]
                if len(covered) * 2 < SS * SS:
                    row.append(key)
                    continue
                colour = tuple(int(round(sum(c[i] for c in covered) / len(covered))) for i in range(3))
                if colour == key:  # never let a drawn pixel turn see-through
                    colour = (colour[0], colour[1], colour[2] + 1 if colour[2] < 255 else 254)
                row.append(colour)
            out.append(row)
        return out


def arc(cx, cy, rx, ry, start, end, steps=24):
    """Points of an elliptic arc, angles in degrees (0 = right, 90 = down)."""
    return [
        (cx + rx * math.cos(math.radians(start + (end - start) * i / steps)),
         cy + ry * math.sin(math.radians(start + (end - start) * i / steps)))
        for i in range(steps + 1)
    ]


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# Speaker pictures: one drawing per speaker, coloured through a palette of tones (0 dark .. 1 light).

def grey(tone):
    v = 24 + tone * 206
    return (v, v, v)


def green(tone):
    return (8 + tone * 90, 36 + tone * 219, 8 + tone * 80)


def driver(c, cx, cy, rx, ry, paint, cap=True):
    """A loudspeaker driver: surround, cone with its shading, dust cap."""
    c.ellipse(cx, cy, rx, ry, paint(0.62))
    c.ellipse(cx, cy, rx * 0.84, ry * 0.84, paint(0.10))
    # The cone, lighter towards the top left where the light comes from.
    c.ellipse(cx, cy, rx * 0.74, ry * 0.74,
              lambda x, y: paint(0.16 + 0.22 * max(0.0, -((x - cx) / rx + (y - cy) / ry))))
    if cap:
        c.ellipse(cx, cy, rx * 0.30, ry * 0.30, paint(0.52))
        c.ellipse(cx - rx * 0.08, cy - ry * 0.08, rx * 0.13, ry * 0.13, paint(0.85))


def tweeter(c, cx, cy, rx, ry, paint):
    c.ellipse(cx, cy, rx, ry, paint(0.60))
    c.ellipse(cx, cy, rx * 0.70, ry * 0.70, paint(0.12))
    c.ellipse(cx, cy, rx * 0.45, ry * 0.45, paint(0.55))
    c.ellipse(cx - rx * 0.12, cy - ry * 0.12, rx * 0.18, ry * 0.18, paint(0.95))


def front_box(c, x0, y0, x1, y1, paint):
    """A cabinet seen from the front: light upper left edges, dark lower right ones."""
    c.rect(x0, y0, x1, y1, paint(0.78))
    c.rect(x0 + 1, y0 + 1, x1, y1, paint(0.20))
    c.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1,
           lambda x, y: paint(0.30 + 0.12 * (1 - (y - y0) / (y1 - y0))))


def draw_front(paint):
    c = Canvas(34, 32)
    front_box(c, 7, 0, 27, 32, paint)
    tweeter(c, 17, 7.5, 4.2, 4.2, paint)
    driver(c, 17, 21.5, 8, 8, paint)
    return c


def draw_center(paint):
    c = Canvas(32, 28)
    front_box(c, 0, 6, 32, 23, paint)
    driver(c, 7.5, 14.5, 5.8, 5.8, paint)
    driver(c, 24.5, 14.5, 5.8, 5.8, paint)
    tweeter(c, 16, 14.5, 3.2, 3.2, paint)
    return c


def draw_rear_left(paint):
    """A larger cabinet turned towards the listener (to the right): side face on the left."""
    c = Canvas(44, 40)
    # Side face, narrow and darker, with a lit back edge.
    c.polygon([(2, 6), (15, 3), (15, 38), (2, 34)], paint(0.18))
    c.polygon([(2, 6), (4, 5.5), (4, 34.6), (2, 34)], paint(0.40))
    # Front face: the edge nearer the viewer (right) is taller.
    c.polygon([(15, 3), (43, 0), (43, 40), (15, 38)], paint(0.78))
    c.polygon([(16, 4), (42, 1.2), (42, 38.8), (16, 37)],
              lambda x, y: paint(0.30 + 0.12 * (1 - y / 40)))
    tweeter(c, 29.5, 9.5, 4.2, 4.6, paint)
    driver(c, 29.5, 26, 10, 10.8, paint)
    return c


def draw_sub(paint):
    """A cube with the driver in front and a bass port in its side."""
    c = Canvas(34, 32)
    c.polygon([(1, 9), (10, 1), (33, 1), (24, 9)], paint(0.62))         # top
    c.polygon([(24, 9), (33, 1), (33, 23), (24, 31)], paint(0.20))      # side
    c.polygon([(1, 9), (24, 9), (24, 31), (1, 31)], paint(0.78))        # front edge
    c.rect(2, 10, 23, 30, lambda x, y: paint(0.30 + 0.12 * (1 - (y - 10) / 20)))
    driver(c, 12.5, 20, 8.6, 8.6, paint)
    c.ellipse(28.5, 16.5, 2.3, 4.2, paint(0.55))                         # port
    c.ellipse(28.7, 16.8, 1.5, 3.2, paint(0.04))
    return c


def mirrored(pixels):
    return [list(reversed(row)) for row in pixels]


# The link switches: a bracket under two sliders, closed (linked) or broken in the middle.
# White pixels are drawn in the caption colour, black ones let the background through.

def link_picture(joined):
    """45 x 8: posts at both ends and the bar between them; in the middle a closed chain link,
    or the bar's two halves bent apart."""
    rows = [["."] * 45 for _ in range(8)]

    def put(x0, x1, y):
        for x in range(x0, x1 + 1):
            rows[y][x] = "#"

    for y in range(0, 6):
        put(0, 1, y)
        put(43, 44, y)
    if joined:
        put(0, 44, 4)
        put(0, 44, 5)
        put(17, 27, 2)
        put(17, 27, 7)
        for y in range(3, 7):
            put(16, 17, y)
            put(27, 28, y)
    else:
        put(0, 17, 4)
        put(0, 16, 5)
        put(27, 44, 4)
        put(28, 44, 5)
        put(17, 18, 2)
        put(17, 18, 3)
        put(26, 27, 2)
        put(26, 27, 3)
    return ["".join(r) for r in rows]


# The logo: an emblem of the six speakers around the listener and the name.

KEY = (8, 7, 7)  # the Misc page leaves pixels of this colour out (COLORREF 0x070708)
LUM = (110, 120, 235)  # the default luminous colour of the main window
LUM_BRIGHT = (190, 200, 255)

LETTERS = {
    "Q": [arc(10, 11, 8, 9, 0, 360, 48), [(12, 15.5), (18.5, 22)]],
    "U": [[(2, 0)] + arc(10, 14, 8, 7, 180, 0, 24) + [(18, 0)]],
    "E": [[(17, 2), (2, 2), (2, 20), (17, 20)], [(2, 11), (14, 11)]],
    "N": [[(2, 21), (2, 1), (18, 21), (18, 1)]],
    "D": [[(9, 2), (2, 2), (2, 20), (9, 20)], arc(9, 11, 9, 9, -90, 90, 24)],
    "A": [[(1.5, 21), (10, 1), (18.5, 21)], [(5.5, 14), (14.5, 14)]],
}

SMALL_FONT = {  # 5 x 7
    "5": ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    ".": [".....", ".....", ".....", ".....", ".....", ".##..", ".##.."],
    "1": ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "L": ["#....", "#....", "#....", "#....", "#....", "#....", "#####"],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    " ": ["....."] * 7,
}


def draw_logo():
    width, height = 178, 45
    c = Canvas(width, height)
    # Emblem: a lit ring, the five speakers and the subwoofer around the listener.
    cx, cy, r = 22, 22.5, 21
    c.ellipse(cx, cy, r, r, lambda x, y: mix(LUM_BRIGHT, LUM, (y - cy + r) / (2 * r)))
    c.ellipse(cx, cy, r - 2.5, r - 2.5,
              lambda x, y: mix((52, 56, 80), (20, 20, 30), math.hypot(x - cx + 6, y - cy + 6) / (2 * r)))
    for angle in (-150, -90, -30, 30, 150):  # front left, center, front right, rear right, rear left
        px = cx + 12.5 * math.cos(math.radians(angle))
        py = cy + 12.5 * math.sin(math.radians(angle))
        c.ellipse(px, py, 3.1, 3.1, LUM_BRIGHT)
        c.ellipse(px, py, 1.5, 1.5, LUM)
    c.rect(cx + 5, cy + 8, cx + 10.5, cy + 13.5, LUM)  # subwoofer
    c.ellipse(cx, cy, 2.6, 2.6, (235, 235, 240))  # the listener
    for radius in (5.5, 8.2):
        c.stroke(arc(cx, cy, radius, radius, -140, -40, 12), 1.1, (150, 160, 240))

    # The name, in silver.
    def silver(x, y):
        return mix((246, 246, 250), (132, 138, 158), (y - 3) / 24)

    x = 52
    for letter in "QUENDA":
        for path in LETTERS[letter]:
            c.stroke([(x + 0.85 * px, 3 + py) for px, py in path], 4.0, silver)
        x += 20.8
    # A luminous line under the name, and the subline.
    c.rect(52, 29, 174, 30.2, lambda x, y: mix(LUM, (LUM[0] // 3, LUM[1] // 3, LUM[2] // 3), (x - 52) / 122))
    x = 53
    for ch in "5.1 CHANNEL AUDIO":
        glyph = SMALL_FONT[ch]
        for gy, line in enumerate(glyph):
            for gx, bit in enumerate(line):
                if bit == "#":
                    c.rect(x + gx, 35 + gy, x + gx + 1, 36 + gy, LUM_BRIGHT)
        x += 7
    return c.pixels(KEY)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src", "res")
    black = (0, 0, 0)
    for name, draw in (("Front", draw_front), ("Center", draw_center), ("Sub", draw_sub)):
        for suffix, paint in (("", grey), ("On", green)):
            pixels = draw(paint).pixels(black)
            if name == "Front":
                write_bmp24(os.path.join(out, "SpeakerFrontLeft%s.bmp" % suffix), pixels)
                write_bmp24(os.path.join(out, "SpeakerFrontRight%s.bmp" % suffix), pixels)
            else:
                write_bmp24(os.path.join(out, "Speaker%s%s.bmp" % (name, suffix)), pixels)
    for suffix, paint in (("", grey), ("On", green)):
        pixels = draw_rear_left(paint).pixels(black)
        write_bmp24(os.path.join(out, "SpeakerRearLeft%s.bmp" % suffix), pixels)
        write_bmp24(os.path.join(out, "SpeakerRearRight%s.bmp" % suffix), mirrored(pixels))
    write_bmp1(os.path.join(out, "LinkJoined.bmp"), link_picture(True))
    write_bmp1(os.path.join(out, "LinkBroken.bmp"), link_picture(False))
    write_bmp24(os.path.join(out, "Logo.bmp"), draw_logo())


if __name__ == "__main__":
    main()
