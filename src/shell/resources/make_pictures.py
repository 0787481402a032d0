#!/usr/bin/env python3
"""Draws the program's two toolbar strips (16 x 16 buttons) and its icon.

Run from this folder; writes toolbar.bmp (main window), profile_toolbar.bmp
(profile window), pelk-gm.ico, and the desktop's copy of the icon,
../desktop/pelk-gm.png. The pictures are simple shapes so they stay readable
at 16 pixels.
"""
import struct
import zlib

GREY = (192, 192, 192)
BLACK = (0, 0, 0)
BLUE = (0, 0, 160)
RED = (200, 0, 0)
GREEN = (0, 128, 0)
YELLOW = (240, 220, 0)
WHITE = (255, 255, 255)


def blank(w, h, c=GREY):
    return [[c for _ in range(w)] for _ in range(h)]


def rect(img, x0, y0, x1, y1, c, fill=None):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            edge = x in (x0, x1) or y in (y0, y1)
            if edge:
                img[y][x] = c
            elif fill:
                img[y][x] = fill


def line(img, x0, y0, x1, y1, c):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    for i in range(n + 1):
        img[round(y0 + (y1 - y0) * i / n)][round(x0 + (x1 - x0) * i / n)] = c


def button(kind):
    b = blank(16, 16)
    if kind == "new":       # a page with a plus
        rect(b, 3, 1, 12, 14, BLACK, WHITE)
        line(b, 8, 5, 8, 11, GREEN); line(b, 5, 8, 11, 8, GREEN)
    elif kind == "open":    # a folder
        rect(b, 1, 5, 14, 13, BLACK, YELLOW)
        line(b, 1, 4, 6, 4, BLACK)
    elif kind == "import":  # an arrow into a page
        rect(b, 7, 2, 14, 13, BLACK, WHITE)
        line(b, 1, 8, 10, 8, BLUE); line(b, 7, 5, 10, 8, BLUE); line(b, 7, 11, 10, 8, BLUE)
    elif kind == "save":    # a disk
        rect(b, 2, 2, 13, 13, BLACK, BLUE)
        rect(b, 5, 2, 10, 6, BLACK, WHITE)
    elif kind == "print":   # a printer
        rect(b, 4, 1, 11, 6, BLACK, WHITE)
        rect(b, 1, 6, 14, 12, BLACK, GREY)
        rect(b, 4, 10, 11, 14, BLACK, WHITE)
    elif kind == "zoom":    # a rubber box
        for x in range(2, 14, 2):
            b[2][x] = BLACK; b[13][x] = BLACK
        for y in range(2, 14, 2):
            b[y][2] = BLACK; b[y][13] = BLACK
        line(b, 9, 9, 14, 14, RED)
    elif kind == "lastzoom":  # a curved arrow back
        line(b, 3, 8, 12, 8, BLUE); line(b, 3, 8, 6, 5, BLUE); line(b, 3, 8, 6, 11, BLUE)
    elif kind == "unzoom":  # arrows outwards
        line(b, 1, 1, 6, 6, RED); line(b, 14, 14, 9, 9, RED)
        line(b, 1, 14, 6, 9, RED); line(b, 14, 1, 9, 6, RED)
    elif kind == "colors":  # three colour squares
        rect(b, 1, 1, 7, 7, BLACK, RED)
        rect(b, 8, 1, 14, 7, BLACK, GREEN)
        rect(b, 4, 8, 11, 14, BLACK, BLUE)
    elif kind == "properties":  # a sheet with lines
        rect(b, 2, 1, 13, 14, BLACK, WHITE)
        for y in (4, 7, 10):
            line(b, 4, y, 11, y, BLACK)
    elif kind == "editdata":  # a table with a pencil
        rect(b, 1, 2, 11, 13, BLACK, WHITE)
        for y in (5, 8, 11):
            line(b, 2, y, 10, y, GREY)
        line(b, 6, 3, 6, 12, GREY)
        line(b, 14, 4, 8, 12, RED); line(b, 15, 5, 9, 13, RED)
    elif kind == "unzoomdata":  # a data curve with arrows outwards
        for x in range(2, 14):
            d = (x - 8) / 2.5
            b[int(10 - 6 / (1 + d * d))][x] = RED
        line(b, 0, 13, 5, 13, BLUE); line(b, 0, 13, 2, 11, BLUE); line(b, 0, 13, 2, 15, BLUE)
        line(b, 10, 13, 15, 13, BLUE); line(b, 15, 13, 13, 11, BLUE); line(b, 15, 13, 13, 15, BLUE)
    elif kind == "unzoommodel":  # a body with arrows outwards
        rect(b, 5, 4, 10, 9, BLACK, BLUE)
        line(b, 0, 13, 5, 13, RED); line(b, 0, 13, 2, 11, RED); line(b, 0, 13, 2, 15, RED)
        line(b, 10, 13, 15, 13, RED); line(b, 15, 13, 13, 11, RED); line(b, 15, 13, 13, 15, RED)
    elif kind == "forward":  # the anomaly of a body
        for x in range(16):
            d = (x - 7.5) / 2.5
            b[int(7 - 6 / (1 + d * d))][x] = RED
        line(b, 0, 9, 15, 9, GREEN)
        rect(b, 5, 11, 10, 14, BLACK, BLUE)
    elif kind == "single":  # one step towards the data
        for x in (2, 6, 10, 14):
            rect(b, x - 1, 3, x, 4, BLACK)
        line(b, 1, 12, 14, 12, RED)
        line(b, 8, 11, 8, 6, BLUE); line(b, 8, 6, 6, 8, BLUE); line(b, 8, 6, 10, 8, BLUE)
    elif kind == "multiple":  # steps one after another
        for x in (2, 6, 10, 14):
            rect(b, x - 1, 1, x, 2, BLACK)
        line(b, 1, 14, 14, 14, RED)
        for x in (4, 11):
            line(b, x, 13, x, 5, BLUE); line(b, x, 5, x - 2, 7, BLUE); line(b, x, 5, x + 2, 7, BLUE)
    elif kind == "help":    # a question mark
        line(b, 5, 3, 10, 3, BLUE); line(b, 11, 4, 11, 6, BLUE)
        line(b, 10, 7, 8, 8, BLUE); line(b, 8, 9, 8, 10, BLUE); b[13][8] = BLUE
    return b


def bmp24(img):
    h, w = len(img), len(img[0])
    stride = (w * 3 + 3) & ~3
    rows = b""
    for y in range(h - 1, -1, -1):
        row = b"".join(bytes((c[2], c[1], c[0])) for c in img[y])
        rows += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return head + info + rows


def icon_picture(size=32):
    img = blank(size, size, WHITE)
    # a profile curve above a body: the program in one picture
    for x in range(size):
        d = (x - size / 2) / (size / 6)
        y = int(12 - 9 / (1 + d * d))
        img[y][x] = RED
    rect(img, 10, 20, 22, 27, BLACK, BLUE)
    line(img, 0, 16, size - 1, 16, GREEN)
    return img


def png(img):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    h, w = len(img), len(img[0])
    rows = b"".join(b"\0" + b"".join(bytes(c) for c in row) for row in img)
    header = struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9))
            + chunk(b"IEND", b""))


def icon(size=32):
    img = icon_picture(size)
    pixels = b""
    for y in range(size - 1, -1, -1):
        pixels += b"".join(bytes((c[2], c[1], c[0], 255)) for c in img[y])
    mask = b"\0" * (size * 4 * size // 32)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    data = info + pixels + mask
    head = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), 6 + 16)
    return head + entry + data


def strip(kinds):
    img = blank(16 * len(kinds), 16)
    for i, k in enumerate(kinds):
        b = button(k)
        for y in range(16):
            for x in range(16):
                img[y][16 * i + x] = b[y][x]
    return img


MAIN = ["new", "open", "import", "save", "print", "zoom", "lastzoom", "unzoom", "colors",
        "properties", "help"]
PROFILE = ["save", "print", "editdata", "zoom", "unzoomdata", "unzoommodel", "lastzoom",
           "forward", "single", "multiple", "colors", "properties", "help"]
open("toolbar.bmp", "wb").write(bmp24(strip(MAIN)))
open("profile_toolbar.bmp", "wb").write(bmp24(strip(PROFILE)))
open("pelk-gm.ico", "wb").write(icon())
open("../desktop/pelk-gm.png", "wb").write(png(icon_picture()))
