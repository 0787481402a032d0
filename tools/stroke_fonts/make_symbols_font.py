#!/usr/bin/env python3
"""Writes src/toolkit/graphics/stroke_fonts/symbols_font.cpp, the pictorial
stroke font "symbols.chr" with which contour plots draw their markers.

Our own geometric designs on a 0-35 grid, drawn as strokes: arrows in eight
directions (code 33 up, 34 down, 35 right, ...), then circles, squares,
diamonds, triangles, polygons and stars, plain, with a centre mark, with a
cross, crossed diagonally and nested, in two sizes. Runs are separated by
"u". The build does not need this script; run it from the repository root
only to regenerate the data.
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from glyph_common import ALPHABET, check_glyph, write_font_source  # noqa: E402

C = 17.5  # centre of the 0-35 design box


def pt(x, y):
    return (min(35, max(0, int(round(x)))), min(35, max(0, int(round(y)))))


def polygon(sides, radius, rotation=90.0, closed=True):
    pts = [pt(C + radius * math.cos(math.radians(rotation + 360.0 * k / sides)),
              C + radius * math.sin(math.radians(rotation + 360.0 * k / sides)))
           for k in range(sides)]
    return pts + [pts[0]] if closed else pts


def star(points, outer, inner, rotation=90.0):
    pts = []
    for k in range(2 * points):
        r = outer if k % 2 == 0 else inner
        a = math.radians(rotation + 180.0 * k / points)
        pts.append(pt(C + r * math.cos(a), C + r * math.sin(a)))
    return pts + [pts[0]]


def line(x0, y0, x1, y1):
    return [pt(x0, y0), pt(x1, y1)]


def arrow(angle):
    """Shaft and head pointing at `angle` degrees."""
    a = math.radians(angle)
    dx, dy = math.cos(a), math.sin(a)
    tip = (C + 14 * dx, C + 14 * dy)
    tail = (C - 14 * dx, C - 14 * dy)
    left = (tip[0] - 7 * dx - 5 * dy, tip[1] - 7 * dy + 5 * dx)
    right = (tip[0] - 7 * dx + 5 * dy, tip[1] - 7 * dy - 5 * dx)
    return [[pt(*tail), pt(*tip)], [pt(*left), pt(*tip), pt(*right)]]


def marks(radius):
    """Inner decorations, by name."""
    r = radius
    return {
        "": [],
        "dot": [polygon(4, 1.5, 45)],
        "plus": [line(C - r, C, C + r, C), line(C, C - r, C, C + r)],
        "cross": [line(C - 0.7 * r, C - 0.7 * r, C + 0.7 * r, C + 0.7 * r),
                  line(C - 0.7 * r, C + 0.7 * r, C + 0.7 * r, C - 0.7 * r)],
        "ring": [polygon(12, 0.5 * r)],
        "bar": [line(C - r, C, C + r, C)],
    }


OUTLINES = [
    ("circle", lambda r: polygon(16, r)),
    ("square", lambda r: polygon(4, r * 1.3, 45)),
    ("diamond", lambda r: polygon(4, r)),
    ("triangle up", lambda r: polygon(3, r, 90)),
    ("triangle down", lambda r: polygon(3, r, 270)),
    ("triangle right", lambda r: polygon(3, r, 0)),
    ("triangle left", lambda r: polygon(3, r, 180)),
    ("pentagon", lambda r: polygon(5, r)),
    ("hexagon", lambda r: polygon(6, r, 0)),
    ("octagon", lambda r: polygon(8, r, 22.5)),
    ("star", lambda r: star(5, r, 0.4 * r)),
    ("star six", lambda r: star(6, r, 0.55 * r)),
    ("star four", lambda r: star(4, r, 0.35 * r)),
]


def designs():
    out = []
    # Arrows: up, down, right, left, then the diagonals and double arrows.
    out.append(None)  # code 33 is given verbatim below
    for angle in (270, 0, 180, 45, 135, 225, 315):
        out.append(arrow(angle))
    out.append(arrow(0) + [[pt(C - 14 + 7, C + 5), pt(C - 14, C), pt(C - 14 + 7, C - 5)]])
    out.append(arrow(90) + [[pt(C - 5, C - 14 + 7), pt(C, C - 14), pt(C + 5, C - 14 + 7)]])
    # Plain strokes.
    out.append([line(C - 14, C, C + 14, C), line(C, C - 14, C, C + 14)])
    out.append([line(C - 10, C - 10, C + 10, C + 10), line(C - 10, C + 10, C + 10, C - 10)])
    out.append([line(C - 14, C, C + 14, C), line(C - 7, C - 12, C + 7, C + 12),
                line(C - 7, C + 12, C + 7, C - 12)])
    out.append([line(C - 14, C, C + 14, C), line(C, C - 14, C, C + 14),
                line(C - 10, C - 10, C + 10, C + 10), line(C - 10, C + 10, C + 10, C - 10)])
    out.append([line(C - 14, C, C + 14, C)])
    out.append([line(C, C - 14, C, C + 14)])
    # Outlines with decorations, large and small, then nested.
    for radius in (14, 8):
        for _, shape in OUTLINES:
            for mark in ("", "dot", "plus", "cross", "ring", "bar"):
                runs = [shape(radius)] + marks(radius)[mark]
                out.append(runs)
    for _, shape in OUTLINES:
        out.append([shape(14), shape(9), shape(4)])
    for _, shape in OUTLINES:
        out.append([shape(8), shape(4)])
    return out


def main():
    glyphs = []
    given = "HNH7uBJDKHPKKMJuDKHNKK"  # code 33: the upward arrow
    for d in designs():
        if d is None:
            glyphs.append(given)
            continue
        glyphs.append("u".join("".join(ALPHABET[x] + ALPHABET[y] for x, y in run) for run in d))
    # Keep the designs distinct and take the first 189 (codes 33-126, 161-255).
    seen, unique = set(), []
    for g in glyphs:
        if g not in seen:
            seen.add(g)
            unique.append(g)
    if len(unique) < 189:
        raise SystemExit("only %d symbol designs" % len(unique))
    unique = unique[:189]
    codes = list(range(33, 127)) + list(range(161, 256))
    for code, glyph in zip(codes, unique):
        check_glyph(glyph, "u", 35, 35, code)
    root = os.path.join(os.path.dirname(__file__), "..", "..")
    write_font_source(os.path.join(root, "src/toolkit/graphics/stroke_fonts/symbols_font.cpp"),
                      "Symbols", unique[:94], unique[94:], __file__)
    print("symbols.chr: %d characters" % sum(len(g) for g in unique))


if __name__ == "__main__":
    main()
