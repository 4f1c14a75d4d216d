#!/usr/bin/env python3
"""Draws the program's icon (zscan.ico, 32x32 and 16x16) and the picture of
the main window (banner.bmp, 200x30): a magnifying glass over a sheet grid,
and the name beside it on the banner.  Run from anywhere; writes next to
itself."""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

GRID_LINE = (160, 160, 160)
SHEET = (255, 255, 255)
HEADER = (205, 225, 245)
RIM = (40, 70, 140)
LENS = (190, 220, 250)
HANDLE = (90, 60, 30)
INK = (30, 50, 110)
FACE = (240, 240, 240)  # button face: the window's background

# 5x7 letters of the name, one string per row.
LETTERS = {
    "Z": ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    "-": ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
}


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def draw_sheet(pixels, x0, y0, size, cell):
    """A sheet grid with a shaded header row and column."""
    for y in range(y0, y0 + size):
        for x in range(x0, x0 + size):
            gx, gy = (x - x0) % cell, (y - y0) % cell
            header = (x - x0) < cell or (y - y0) < cell
            on_line = gx == 0 or gy == 0 or x == x0 + size - 1 or y == y0 + size - 1
            pixels[y][x] = GRID_LINE if on_line else (HEADER if header else SHEET)


def draw_magnifier(pixels, cx, cy, radius, rim, handle_length):
    height, width = len(pixels), len(pixels[0])
    for y in range(height):
        for x in range(width):
            distance = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
            if distance <= radius - rim:
                r, g, b = pixels[y][x]
                pixels[y][x] = tuple((c + l) // 2 for c, l in zip((r, g, b), LENS))
            elif distance <= radius:
                pixels[y][x] = RIM
    # The handle runs down and to the right from the rim.
    step = radius / math.sqrt(2)
    thickness = max(1.0, rim * 0.9)
    for i in range(int(handle_length * 4)):
        t = i / 4
        hx = cx + step + t / math.sqrt(2)
        hy = cy + step + t / math.sqrt(2)
        for y in range(int(hy - thickness), int(hy + thickness) + 1):
            for x in range(int(hx - thickness), int(hx + thickness) + 1):
                if 0 <= x < width and 0 <= y < height and math.hypot(x - hx, y - hy) <= thickness:
                    pixels[y][x] = HANDLE


def draw_text(pixels, text, x0, y0, scale):
    x = x0
    for letter in text:
        for row, bits in enumerate(LETTERS[letter]):
            for column, bit in enumerate(bits):
                if bit == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            pixels[y0 + row * scale + dy][x + column * scale + dx] = INK
        x += 6 * scale


def bmp_rows(pixels):
    """Bottom-up 24-bit rows, each padded to four bytes."""
    width = len(pixels[0])
    pad = (4 - width * 3 % 4) % 4
    out = bytearray()
    for row in reversed(pixels):
        for r, g, b in row:
            out += bytes((b, g, r))
        out += b"\0" * pad
    return bytes(out)


def info_header(width, height, bits, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, 2835, 2835, 0, 0)


def write_bmp(path, pixels):
    data = bmp_rows(pixels)
    header = info_header(len(pixels[0]), len(pixels), 24, len(data))
    offset = 14 + len(header)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + header + data)


def icon_image(size):
    """One icon image: 32-bit colour rows plus the (all opaque) AND mask."""
    pixels = canvas(size, size, SHEET)
    cell = size // 4
    draw_sheet(pixels, 0, 0, size, cell)
    draw_magnifier(pixels, size * 0.42, size * 0.42, size * 0.3, max(1.5, size / 12), size * 0.35)
    colour = bytearray()
    for row in reversed(pixels):
        for r, g, b in row:
            colour += bytes((b, g, r, 255))
    mask_stride = ((size + 31) // 32) * 4
    mask = b"\0" * (mask_stride * size)
    # The height in an icon's header counts the colour rows and the mask.
    return info_header(size, size * 2, 32, len(colour) + len(mask)) + bytes(colour) + mask


def write_ico(path, sizes):
    images = [icon_image(s) for s in sizes]
    offset = 6 + 16 * len(images)
    directory = b""
    for size, image in zip(sizes, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + directory + b"".join(images))


def banner():
    pixels = canvas(200, 30, FACE)
    draw_sheet(pixels, 4, 3, 25, 6)
    draw_magnifier(pixels, 19.5, 13.5, 8.5, 1.8, 7)
    draw_text(pixels, "Z-SCAN", 42, 8, 2)
    return pixels


if __name__ == "__main__":
    write_bmp(os.path.join(HERE, "banner.bmp"), banner())
    write_ico(os.path.join(HERE, "zscan.ico"), [32, 16])
