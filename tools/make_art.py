#!/usr/bin/env python3
"""Draws Tarnwick's icons and bitmaps into resources/ (run from anywhere; the files are kept in git).

Every image is drawn from a few shapes on a canvas four times larger than the result and scaled down by
averaging, which smooths the edges. Icons are written as 32-bit .ico files with an AND mask, bitmaps as
24-bit .bmp files. The row and tree icons are drawn in 16 x 16 coordinates at every size a display's scale
asks for (16, 20, 24 and 32 pixels: 100 %, 125 %, 150 % and 200 %), so that each stays sharp.
"""
import math
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources")
SS = 4  # supersampling factor


class Canvas:
    def __init__(self, width, height, background=(0, 0, 0, 0), scale=1.0):
        """A width x height drawing (in the coordinates the shapes take) made scale times as large."""
        self.scale = scale
        self.width, self.height = int(round(width * scale)), int(round(height * scale))
        self.w, self.h = self.width * SS, self.height * SS
        self.px = [list(background) for _ in range(self.w * self.h)]

    def _blend(self, x, y, colour):
        if 0 <= x < self.w and 0 <= y < self.h:
            r, g, b, a = colour
            d = self.px[y * self.w + x]
            if a == 255:
                d[:] = [r, g, b, 255]
            else:
                t = a / 255.0
                out_a = a + d[3] * (1 - t)
                if out_a == 0:
                    return
                for i, c in enumerate((r, g, b)):
                    d[i] = int((c * a + d[i] * d[3] * (1 - t)) / out_a)
                d[3] = int(out_a)

    def fill(self, inside, colour, box=None):
        """Paints every subpixel whose centre (in result pixels) satisfies inside(x, y)."""
        k = self.scale
        x0, y0, x1, y1 = box if box else (0, 0, self.width / k, self.height / k)
        for sy in range(max(0, int(y0 * k * SS)), min(self.h, int(math.ceil(y1 * k * SS)))):
            for sx in range(max(0, int(x0 * k * SS)), min(self.w, int(math.ceil(x1 * k * SS)))):
                if inside((sx + 0.5) / SS / k, (sy + 0.5) / SS / k):
                    self._blend(sx, sy, colour)

    def rect(self, x0, y0, x1, y1, colour):
        self.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, colour, (x0, y0, x1, y1))

    def round_rect(self, x0, y0, x1, y1, r, colour):
        def inside(x, y):
            cx = min(max(x, x0 + r), x1 - r)
            cy = min(max(y, y0 + r), y1 - r)
            return x0 <= x < x1 and y0 <= y < y1 and (x - cx) ** 2 + (y - cy) ** 2 <= r * r
        self.fill(inside, colour, (x0, y0, x1, y1))

    def ellipse(self, cx, cy, rx, ry, colour):
        self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1, colour,
                  (cx - rx, cy - ry, cx + rx, cy + ry))

    def ring(self, cx, cy, r_out, r_in, colour):
        self.fill(lambda x, y: r_in ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r_out ** 2, colour,
                  (cx - r_out, cy - r_out, cx + r_out, cy + r_out))

    def polygon(self, points, colour):
        def inside(x, y):
            hit = False
            j = len(points) - 1
            for i in range(len(points)):
                xi, yi = points[i]
                xj, yj = points[j]
                if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                    hit = not hit
                j = i
            return hit
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        self.fill(inside, colour, (min(xs), min(ys), max(xs), max(ys)))

    def line(self, x0, y0, x1, y1, width, colour):
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9

        def inside(x, y):
            t = max(0.0, min(1.0, ((x - x0) * dx + (y - y0) * dy) / length2))
            return (x - x0 - t * dx) ** 2 + (y - y0 - t * dy) ** 2 <= (width / 2) ** 2
        pad = width
        self.fill(inside, colour, (min(x0, x1) - pad, min(y0, y1) - pad, max(x0, x1) + pad, max(y0, y1) + pad))

    def pixels(self):
        """The result: averages of SS x SS subpixels, as rows of (r, g, b, a) from the top."""
        rows = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                acc = [0, 0, 0, 0]
                for sy in range(SS):
                    for sx in range(SS):
                        r, g, b, a = self.px[(y * SS + sy) * self.w + x * SS + sx]
                        acc[0] += r * a
                        acc[1] += g * a
                        acc[2] += b * a
                        acc[3] += a
                n = SS * SS
                a = acc[3] / n
                if acc[3]:
                    row.append((acc[0] // acc[3], acc[1] // acc[3], acc[2] // acc[3], int(round(a))))
                else:
                    row.append((0, 0, 0, 0))
            rows.append(row)
        return rows


def dib(rows, alpha):
    """A bottom-up DIB: BITMAPINFOHEADER and pixels (32-bit with alpha, else 24-bit)."""
    height, width = len(rows), len(rows[0])
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, a in row:
            line += bytes((b, g, r, a)) if alpha else bytes((b, g, r))
        while len(line) % 4:
            line.append(0)
        data += line
    bpp = 32 if alpha else 24
    header = struct.pack("<IiiHHIIiiII", 40, width, height * (2 if alpha else 1), 1, bpp, 0, len(data), 2835,
                         2835, 0, 0)
    return header, bytes(data)


def write_icon(name, canvases):
    images = []
    for canvas in canvases:
        rows = canvas.pixels()
        header, data = dib(rows, True)
        mask = bytearray()
        for row in reversed(rows):
            bits = 0
            line = bytearray()
            for x, (_, _, _, a) in enumerate(row):
                bits = (bits << 1) | (1 if a < 128 else 0)
                if x % 8 == 7:
                    line.append(bits)
                    bits = 0
            if len(row) % 8:
                line.append(bits << (8 - len(row) % 8))
            while len(line) % 4:
                line.append(0)
            mask += line
        images.append((canvas.width, canvas.height, header + data + bytes(mask)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for w, h, blob in images:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for _, _, blob in images:
        out += blob
    with open(os.path.join(ROOT, "icons", name), "wb") as f:
        f.write(out)


def write_bitmap(name, canvas):
    header, data = dib(canvas.pixels(), False)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(data), 0, 0, 14 + len(header))
    with open(os.path.join(ROOT, "bitmaps", name), "wb") as f:
        f.write(file_header + header + data)


# Colours
NAVY = (24, 44, 92, 255)
BLUE = (46, 102, 196, 255)
SKY = (120, 170, 235, 255)
WHITE = (255, 255, 255, 255)
PAPER = (250, 250, 246, 255)
EDGE = (112, 112, 112, 255)
GREEN = (40, 150, 70, 255)
RED = (206, 40, 40, 255)
ORANGE = (236, 140, 20, 255)
GOLD = (236, 190, 70, 255)
GOLD_DARK = (176, 128, 30, 255)
GREY = (150, 150, 150, 255)


def page(c, s=1.0):
    """A sheet of paper with a folded corner, filling a 16 x 16 icon."""
    c.polygon([(2.5 * s, 0.5 * s), (10.5 * s, 0.5 * s), (13.5 * s, 3.5 * s), (13.5 * s, 15.5 * s),
               (2.5 * s, 15.5 * s)], EDGE)
    c.polygon([(3.5 * s, 1.5 * s), (10 * s, 1.5 * s), (12.5 * s, 4 * s), (12.5 * s, 14.5 * s), (3.5 * s, 14.5 * s)],
              PAPER)
    c.polygon([(10 * s, 0.8 * s), (13.2 * s, 4 * s), (10 * s, 4 * s)], (210, 210, 205, 255))


def film(c, x0, y0, x1, y1, colour):
    """A strip of film with its perforations."""
    c.rect(x0, y0, x1, y1, colour)
    step = (y1 - y0) / 4
    for i in range(4):
        y = y0 + i * step + step * 0.3
        c.rect(x0 + 0.6, y, x0 + 1.6, y + step * 0.45, WHITE)
        c.rect(x1 - 1.6, y, x1 - 0.6, y + step * 0.45, WHITE)
    c.rect(x0 + 2.3, y0 + 1, x1 - 2.3, y1 - 1, SKY)


def cylinder(c, x0, y0, x1, y1, body, top):
    """A database drum."""
    rx = (x1 - x0) / 2
    cx = (x0 + x1) / 2
    ry = 1.6
    c.rect(x0, y0 + ry, x1, y1 - ry, body)
    c.ellipse(cx, y1 - ry, rx, ry, body)
    for y in (y0 + ry + (y1 - y0) * 0.33, y0 + ry + (y1 - y0) * 0.62):
        c.line(x0 + 0.3, y, x1 - 0.3, y, 0.6, top)
    c.ellipse(cx, y0 + ry, rx, ry, top)


def program_icon(size):
    c = Canvas(size, size)
    s = size / 16
    c.round_rect(0.5 * s, 0.5 * s, 15.5 * s, 15.5 * s, 3 * s, NAVY)
    c.round_rect(1.3 * s, 1.3 * s, 14.7 * s, 14.7 * s, 2.4 * s, BLUE)
    # A reel of film beside a "T".
    c.ring(10.2 * s, 10.2 * s, 4.3 * s, 3.2 * s, WHITE)
    for k in range(5):
        a = k * 2 * math.pi / 5
        c.ellipse(10.2 * s + 1.9 * s * math.cos(a), 10.2 * s + 1.9 * s * math.sin(a), 0.75 * s, 0.75 * s, WHITE)
    c.rect(3 * s, 3 * s, 10 * s, 5 * s, WHITE)
    c.rect(5.5 * s, 3 * s, 7.5 * s, 12.5 * s, WHITE)
    return c


ROW_ICON_SIZES = (16, 20, 24, 32)


def icon(name, draw):
    """Writes the icon that draw paints on a 16 x 16 canvas, at every row icon size."""
    canvases = []
    for size in ROW_ICON_SIZES:
        c = Canvas(16, 16, scale=size / 16)
        draw(c)
        canvases.append(c)
    write_icon(name, canvases)


def main():
    os.makedirs(os.path.join(ROOT, "icons"), exist_ok=True)
    os.makedirs(os.path.join(ROOT, "bitmaps"), exist_ok=True)

    write_icon("program.ico", [program_icon(32), program_icon(16)])

    # 138: the root of the database tree, a folder holding databases.
    def draw_databases(c):
        c.polygon([(0.5, 3), (6, 3), (7.5, 4.5), (15.5, 4.5), (15.5, 14.5), (0.5, 14.5)], GOLD_DARK)
        c.rect(1.5, 6, 14.5, 13.5, GOLD)
        cylinder(c, 5, 6.5, 11, 12.5, BLUE, SKY)
    icon("databases.ico", draw_databases)

    # 139: one database.
    def draw_database(c):
        cylinder(c, 2.5, 1, 13.5, 15, BLUE, SKY)
    icon("database.ico", draw_database)

    # 150: missing file, a page struck through in red.
    def draw_missing(c):
        page(c)
        c.line(3.5, 4, 12.5, 13, 2.2, RED)
        c.line(12.5, 4, 3.5, 13, 2.2, RED)
    icon("missing.ico", draw_missing)

    # 151: read-only file, a page with a padlock.
    def draw_readonly(c):
        page(c)
        c.ring(8, 8, 3.2, 2, GREY)
        c.rect(4.3, 8.5, 11.7, 14, GOLD_DARK)
        c.rect(7.3, 10, 8.7, 12.5, NAVY)
    icon("readonly.ico", draw_readonly)

    # 152: precompute, a page with an orange rendered frame.
    def draw_precompute(c):
        page(c)
        c.rect(4.5, 5, 11.5, 12, ORANGE)
        c.polygon([(6.5, 6.5), (10.5, 8.5), (6.5, 10.5)], WHITE)
    icon("precompute.ico", draw_precompute)

    # 153: a file that is fine (green tick), 154: a warning, 155: a media folder; spare row images.
    def draw_ok(c):
        page(c)
        c.line(5, 9, 7.3, 11.5, 2, GREEN)
        c.line(7.3, 11.5, 11.5, 5.5, 2, GREEN)
    icon("ok.ico", draw_ok)

    def draw_warning(c):
        c.polygon([(8, 1), (15.5, 14.5), (0.5, 14.5)], ORANGE)
        c.rect(7.2, 5, 8.8, 10.5, WHITE)
        c.rect(7.2, 11.5, 8.8, 13, WHITE)
    icon("warning.ico", draw_warning)

    def draw_folder(c):
        c.polygon([(0.5, 3), (6, 3), (7.5, 4.5), (15.5, 4.5), (15.5, 14.5), (0.5, 14.5)], GOLD_DARK)
        c.rect(1.5, 6, 14.5, 13.5, GOLD)
        film(c, 5, 6.5, 11, 13, NAVY)
    icon("folder.ico", draw_folder)

    # 156: media file (OMF, MXF), a page with a film strip.
    def draw_media(c):
        page(c)
        film(c, 4.5, 3.5, 11.5, 13.5, NAVY)
    icon("media.ico", draw_media)

    # 157: audio file (AIFF, WAV), a page with a wave.
    def draw_audio(c):
        page(c)
        heights = [1.5, 3, 5, 2.5, 4, 6, 3, 1.5]
        for i, h in enumerate(heights):
            x = 4.5 + i
            c.rect(x, 8.5 - h / 2 * 1.1, x + 0.7, 8.5 + h / 2 * 1.1, GREEN)
    icon("audio.ico", draw_audio)

    # 158: any other file, a plain page with lines of text.
    def draw_other(c):
        page(c)
        for y in (5, 7.5, 10, 12.5):
            c.rect(5, y, 11, y + 0.9, GREY)
    icon("other.ico", draw_other)

    # 140 and 141: sort markers, 7 x 4 triangles pointing down on light grey.
    for name, colour in (("sorted.bmp", NAVY), ("unsorted.bmp", GREY)):
        c = Canvas(7, 4, (212, 208, 200, 255))
        c.polygon([(0, 0), (7, 0), (3.5, 4)], colour)
        write_bitmap(name, c)

    # 146: the About box's picture, 100 x 81.
    c = Canvas(100, 81, (255, 255, 255, 255))
    for y in range(81):
        t = y / 80
        c.rect(0, y, 100, y + 1, (int(24 + 40 * t), int(44 + 70 * t), int(92 + 110 * t), 255))
    c.ring(50, 40, 30, 26, WHITE)
    c.ellipse(50, 40, 5, 5, WHITE)
    for k in range(6):
        a = k * math.pi / 3 + 0.3
        c.ellipse(50 + 15 * math.cos(a), 40 + 15 * math.sin(a), 6.5, 6.5, WHITE)
    c.line(50, 70, 96, 77, 3, WHITE)
    film(c, 2, 4, 14, 77, (10, 20, 40, 255))
    write_bitmap("about.bmp", c)


if __name__ == "__main__":
    main()
