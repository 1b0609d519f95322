#!/usr/bin/env python3
"""Draws Tarvo's icons and writes them as .ico files into app/res/icons/.

Standard library only. Every pixel uses one of the 16 standard VGA colours, so
the icons look the same in the 4-bit image lists of the tab control, the trees
and the About box as in a true-colour icon. Each image is stored as a 32-bit
DIB with a fully opaque or fully transparent alpha and the matching AND mask.

    python3 scripts/make-icons.py [output-folder]
"""
import math
import os
import struct
import sys

# The 16 VGA colours, by name.
BLACK, MAROON, GREEN, OLIVE = (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0)
NAVY, PURPLE, TEAL, SILVER = (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192)
GRAY, RED, LIME, YELLOW = (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0)
BLUE, MAGENTA, CYAN, WHITE = (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)


class Canvas:
    """A square of pixels, None for transparent; (0, 0) is the top-left corner."""

    def __init__(self, size):
        self.size = size
        self.px = [[None] * size for _ in range(size)]

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = colour

    def fill_where(self, inside, colour):
        for y in range(self.size):
            for x in range(self.size):
                if inside(x + 0.5, y + 0.5):
                    self.px[y][x] = colour

    def rect(self, x0, y0, x1, y1, fill, outline=None):
        """Inclusive corners."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                self.put(x, y, outline if (edge and outline) else fill)

    def line(self, x0, y0, x1, y1, colour):
        steps = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(steps + 1):
            self.put(round(x0 + (x1 - x0) * i / steps), round(y0 + (y1 - y0) * i / steps), colour)


def ring(cx, cy, r_in, r_out):
    return lambda x, y: r_in <= math.hypot(x - cx, y - cy) < r_out


def sector(cx, cy, r_in, r_out, a0, a1):
    """Part of a ring between two angles in degrees, counter-clockwise from east."""
    def inside(x, y):
        d = math.hypot(x - cx, y - cy)
        a = math.degrees(math.atan2(cy - y, x - cx)) % 360
        return r_in <= d < r_out and a0 <= a < a1
    return inside


def draw_disc(c, cx, cy, r):
    """A compact disc: silver face, gray rim, rainbow sheen, clear hub and hole."""
    c.fill_where(ring(cx, cy, 0, r), SILVER)
    hub, hole = r * 0.42, r * 0.2
    sheen = [(20, 45, CYAN), (45, 60, WHITE), (60, 80, YELLOW),
             (200, 225, MAGENTA), (225, 240, WHITE), (240, 260, CYAN)]
    for a0, a1, colour in sheen:
        c.fill_where(sector(cx, cy, hub + 1, r - 1, a0, a1), colour)
    c.fill_where(ring(cx, cy, r - 1, r), GRAY)
    c.fill_where(ring(cx, cy, hole, hub), WHITE)
    c.fill_where(ring(cx, cy, hub - 1, hub), GRAY)
    c.fill_where(ring(cx, cy, hole, hole + 1), GRAY)
    c.fill_where(ring(cx, cy, 0, hole), None)


def draw_page(c, x0, y0, x1, y1, fold=4):
    """A sheet of paper with a folded top-right corner."""
    c.rect(x0, y0, x1, y1, WHITE, BLACK)
    for i in range(fold + 1):
        for j in range(fold + 1 - i):
            c.put(x1 - j, y0 + i, None)
    c.line(x1 - fold, y0, x1 - fold, y0 + fold, BLACK)
    c.line(x1 - fold, y0 + fold, x1, y0 + fold, BLACK)
    c.line(x1 - fold, y0, x1, y0 + fold, BLACK)
    for i in range(1, fold):
        c.line(x1 - fold + 1, y0 + i, x1 - fold + i, y0 + i, SILVER)


def app_icon(size):
    c = Canvas(size)
    draw_disc(c, size / 2, size / 2, size / 2)
    return c


def tab_recording():
    c = Canvas(16)
    draw_disc(c, 7, 7, 7)
    c.fill_where(ring(12, 12, 0, 3.6), MAROON)
    c.fill_where(ring(12, 12, 0, 2.8), RED)
    return c


def tab_erase():
    c = Canvas(16)
    draw_disc(c, 7, 7, 7)
    # An eraser lying across the lower right of the disc, its rubber tip down.
    def along(x, y):
        dx, dy = x - 10.5, y - 10.5
        return (dx - dy) / math.sqrt(2), (dx + dy) / math.sqrt(2)
    c.fill_where(lambda x, y: abs(along(x, y)[0]) <= 5.5 and abs(along(x, y)[1]) <= 3, BLACK)
    c.fill_where(lambda x, y: abs(along(x, y)[0]) <= 4.3 and abs(along(x, y)[1]) <= 1.9, MAGENTA)
    c.fill_where(lambda x, y: -4.3 <= along(x, y)[0] <= -1.5 and abs(along(x, y)[1]) <= 1.9, WHITE)
    return c


def tab_iso_file():
    c = Canvas(16)
    draw_page(c, 2, 0, 13, 15)
    draw_disc(c, 7.5, 9.5, 4.5)
    return c


def tab_info():
    c = Canvas(16)
    c.fill_where(ring(8, 8, 0, 8), NAVY)
    c.fill_where(ring(8, 8, 0, 7), BLUE)
    c.rect(7, 3, 8, 4, WHITE)
    c.rect(7, 6, 8, 12, WHITE)
    c.rect(6, 6, 6, 6, WHITE)
    c.rect(6, 12, 9, 12, WHITE)
    return c


def file_icon():
    c = Canvas(16)
    draw_page(c, 2, 0, 13, 15)
    for y in (6, 8, 10, 12):
        c.line(4, y, 11, y, GRAY)
    return c


def folder_closed():
    c = Canvas(16)
    c.rect(1, 3, 6, 5, YELLOW, OLIVE)
    c.rect(1, 5, 14, 13, YELLOW, OLIVE)
    c.line(2, 6, 13, 6, WHITE)
    c.line(2, 14, 15, 14, GRAY)
    c.line(15, 6, 15, 14, GRAY)
    return c


def folder_open():
    c = Canvas(16)
    c.rect(1, 3, 6, 5, YELLOW, OLIVE)
    c.rect(1, 5, 12, 13, OLIVE, OLIVE)
    # The front flap tilted open.
    for y in range(8, 14):
        x0 = 1 + (13 - y) // 2
        c.line(x0 + 1, y, 14 - (13 - y) // 3, y, YELLOW)
    c.line(1, 13, 13, 13, OLIVE)
    c.line(3, 8, 15, 8, OLIVE)
    c.line(15, 8, 13, 13, OLIVE)
    c.line(1, 13, 3, 8, OLIVE)
    return c


def drive_icon():
    c = Canvas(16)
    c.rect(0, 5, 15, 12, SILVER, BLACK)
    c.line(1, 6, 14, 6, WHITE)
    c.line(1, 11, 14, 11, GRAY)
    c.rect(11, 9, 12, 9, LIME)
    c.line(3, 9, 8, 9, GRAY)
    return c


def dib(canvas):
    """BITMAPINFOHEADER, 32-bit bottom-up pixels, then the 1-bit AND mask."""
    n = canvas.size
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = bytearray()
    mask = bytearray()
    mask_row_bytes = ((n + 31) // 32) * 4
    for row in reversed(canvas.px):
        bits = bytearray(mask_row_bytes)
        for x, colour in enumerate(row):
            if colour is None:
                pixels += b"\0\0\0\0"
                bits[x // 8] |= 0x80 >> (x % 8)
            else:
                r, g, b = colour
                pixels += bytes((b, g, r, 255))
        mask += bits
    return header + bytes(pixels) + bytes(mask)


def ico(canvases):
    """ICONDIR, one ICONDIRENTRY per image, then the images."""
    images = [dib(c) for c in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for c, image in zip(canvases, images):
        size = c.size % 256
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    return bytes(out)


ICONS = {
    "appicon.ico": lambda: [app_icon(32), app_icon(16)],
    "tab1.ico": lambda: [tab_recording()],
    "tab2.ico": lambda: [tab_erase()],
    "tab3.ico": lambda: [tab_iso_file()],
    "tab4.ico": lambda: [tab_info()],
    "file.ico": lambda: [file_icon()],
    "folder_on.ico": lambda: [folder_closed()],
    "folder_off.ico": lambda: [folder_open()],
    "drive.ico": lambda: [drive_icon()],
}


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "app", "res", "icons")
    os.makedirs(out_dir, exist_ok=True)
    for name, make in ICONS.items():
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(ico(make()))
    print(f"{len(ICONS)} icons written to {os.path.normpath(out_dir)}")


if __name__ == "__main__":
    main()
