#!/usr/bin/env python3
"""Writes the filled-outline stroke fonts of the graphics layer as C++ source
(src/toolkit/graphics/stroke_fonts/<name>_font.cpp):

  fixed.chr, fixedbld.chr   from Liberation Mono Regular / Bold
  swiss.chr, swissbld.chr   from Liberation Sans Regular / Bold
  roman.chr, romanbld.chr   from Liberation Serif Regular / Bold
  symbol.chr                Greek and mathematical signs in the classic
                            symbol-font layout, from Liberation Serif with
                            DejaVu Sans for the signs Liberation lacks

Source fonts: the Debian packages fonts-liberation2 (Liberation 2, SIL Open
Font License 1.1) and fonts-dejavu-core (DejaVu, Bitstream Vera licence /
public domain changes); read with python3-fonttools. Only outlines are
taken: each glyph's contours are flattened, simplified and rounded onto the
0-55 glyph grid (baseline near 12-16), and every outer contour is joined to
the counters inside it by a narrow cut so that it is one closed outline
filled as a whole. The build does not need this script; run it (with
/usr/bin/python3) from the repository root only to regenerate the data.
"""

import os
import sys

from fontTools.pens.basePen import BasePen
from fontTools.ttLib import TTFont

sys.path.insert(0, os.path.dirname(__file__))
from glyph_common import ALPHABET, check_glyph, write_font_source  # noqa: E402

LIBERATION = "/usr/share/fonts/truetype/liberation2"
DEJAVU = "/usr/share/fonts/truetype/dejavu"
GRID = 55
CENTRE = 27.5
MAX_TEXT = 16800  # below the 17000 characters of the font record


class FlatPen(BasePen):
    """Collects contours as lists of points, curves flattened."""

    def __init__(self, glyphset):
        super().__init__(glyphset)
        self.contours, self.current = [], []

    def _moveTo(self, p):
        self.current = [p]

    def _lineTo(self, p):
        self.current.append(p)

    def _curveToOne(self, p1, p2, p3):
        p0 = self.current[-1]
        for i in range(1, 7):
            t = i / 6
            a, b, c, d = (1 - t) ** 3, 3 * t * (1 - t) ** 2, 3 * t * t * (1 - t), t ** 3
            self.current.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0],
                                 a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))

    def _qCurveToOne(self, p1, p2):
        p0 = self.current[-1]
        for i in range(1, 5):
            t = i / 4
            a, b, c = (1 - t) ** 2, 2 * t * (1 - t), t * t
            self.current.append((a * p0[0] + b * p1[0] + c * p2[0],
                                 a * p0[1] + b * p1[1] + c * p2[1]))

    def _closePath(self):
        if len(self.current) > 2:
            self.contours.append(self.current)
        self.current = []

    _endPath = _closePath


def simplify(points, tolerance):
    """Douglas-Peucker on a closed contour."""
    if len(points) < 4:
        return points
    # Split at the point farthest from the first one.
    far = max(range(len(points)),
              key=lambda i: (points[i][0] - points[0][0]) ** 2 + (points[i][1] - points[0][1]) ** 2)

    def dp(pts):
        if len(pts) < 3:
            return pts
        (x0, y0), (x1, y1) = pts[0], pts[-1]
        dx, dy = x1 - x0, y1 - y0
        norm = (dx * dx + dy * dy) ** 0.5
        best, at = -1.0, 0
        for i in range(1, len(pts) - 1):
            px, py = pts[i]
            if norm == 0:
                d = ((px - x0) ** 2 + (py - y0) ** 2) ** 0.5
            else:
                d = abs(dy * px - dx * py + x1 * y0 - y1 * x0) / norm
            if d > best:
                best, at = d, i
        if best <= tolerance:
            return [pts[0], pts[-1]]
        return dp(pts[:at + 1])[:-1] + dp(pts[at:])

    first = dp(points[:far + 1])
    second = dp(points[far:] + [points[0]])
    return first[:-1] + second[:-1]


def to_grid(points):
    out = []
    for x, y in points:
        p = (min(GRID, max(0, int(round(x)))), min(GRID, max(0, int(round(y)))))
        if not out or out[-1] != p:
            out.append(p)
    while len(out) > 1 and out[0] == out[-1]:
        out.pop()
    return out


def area(poly):
    a = 0
    for i in range(len(poly)):
        x0, y0 = poly[i]
        x1, y1 = poly[(i + 1) % len(poly)]
        a += x0 * y1 - x1 * y0
    return a / 2


def contains(poly, point):
    x, y = point
    inside = False
    for i in range(len(poly)):
        x0, y0 = poly[i]
        x1, y1 = poly[(i + 1) % len(poly)]
        if (y0 > y) != (y1 > y):
            if x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
                inside = not inside
    return inside


def join_counters(contours):
    """Each outer contour with the counters inside it, as one outline."""
    contours = [c for c in contours if len(c) >= 3 and abs(area(c)) > 0.4]
    depth = []
    for i, c in enumerate(contours):
        probe = (sum(p[0] for p in c) / len(c), sum(p[1] for p in c) / len(c))
        probe = c[0]
        depth.append(sum(1 for j, o in enumerate(contours) if j != i and contains(o, probe)))
    outers = [i for i, d in enumerate(depth) if d % 2 == 0]
    holes = [i for i, d in enumerate(depth) if d % 2 == 1]
    runs = []
    for o in outers:
        outline = list(contours[o])
        mine = [h for h in holes if contains(contours[o], contours[h][0]) and
                all(not (contains(contours[p], contours[h][0]) and
                         abs(area(contours[p])) < abs(area(contours[o])))
                    for p in outers if p != o)]
        for h in mine:
            hole = contours[h]
            best = None
            for i, (ox, oy) in enumerate(outline):
                for j, (hx, hy) in enumerate(hole):
                    d = (ox - hx) ** 2 + (oy - hy) ** 2
                    if best is None or d < best[0]:
                        best = (d, i, j)
            _, i, j = best
            spliced = hole[j:] + hole[:j] + [hole[j]]
            outline = outline[:i + 1] + spliced + outline[i:]
        runs.append(outline)
    return runs


def encode(runs, separator="v"):
    return separator.join("".join(ALPHABET[x] + ALPHABET[y] for x, y in run) for run in runs)


class Source:
    def __init__(self, path):
        self.font = TTFont(path)
        self.cmap = self.font.getBestCmap()
        self.glyphs = self.font.getGlyphSet()
        self.units = self.font["head"].unitsPerEm
        # Cap height: the top of "H".
        pen = FlatPen(self.glyphs)
        self.glyphs[self.cmap[ord("H")]].draw(pen)
        self.cap = max(y for c in pen.contours for _, y in c)

    def has(self, char):
        return ord(char) in self.cmap

    def contours(self, char):
        name = self.cmap[ord(char)]
        pen = FlatPen(self.glyphs)
        self.glyphs[name].draw(pen)
        return pen.contours, self.glyphs[name].width


def glyph_runs(sources, char, baseline, scale, tolerance):
    for source in sources:
        if source.has(char):
            contours, advance = source.contours(char)
            if not contours:
                continue
            s = scale / source.cap
            placed = [[(CENTRE + (x - advance / 2) * s, baseline + y * s) for x, y in c]
                      for c in contours]
            grid = [to_grid(simplify(c, tolerance)) for c in placed]
            runs = join_counters(grid)
            if runs:
                return runs
    return None


def build_glyph(sources, chars, baseline, scale, tolerance):
    """The first character of `chars` that the sources can draw."""
    for char in chars:
        t = tolerance
        for _ in range(8):
            runs = glyph_runs(sources, char, baseline, scale, t)
            if runs is None:
                break
            if all(len(r) <= 100 for r in runs):
                return runs
            t *= 1.4
    raise SystemExit("no glyph for %r" % (chars,))


LATIN = {code: chr(code) for code in list(range(33, 127)) + list(range(161, 256))}
LATIN[127] = "\u20ac"  # the euro sign, drawn for character code 128
LATIN[173] = "-"  # the soft hyphen shows as a hyphen

# The classic symbol-font layout: code -> character.
SYMBOL_LOWER = dict(zip(range(33, 127), (
    "!\u2200#\u2203%&\u220b()\u2217+,\u2212./0123456789:;<=>?"
    "\u2245\u0391\u0392\u03a7\u0394\u0395\u03a6\u0393\u0397\u0399\u03d1\u039a\u039b\u039c"
    "\u039d\u039f\u03a0\u0398\u03a1\u03a3\u03a4\u03a5\u03c2\u03a9\u039e\u03a8\u0396[\u2234]"
    "\u22a5_\u203e\u03b1\u03b2\u03c7\u03b4\u03b5\u03c6\u03b3\u03b7\u03b9\u03d5\u03ba\u03bb"
    "\u03bc\u03bd\u03bf\u03c0\u03b8\u03c1\u03c3\u03c4\u03c5\u03d6\u03c9\u03be\u03c8\u03b6"
    "{|}\u223c")))
SYMBOL_UPPER = dict(zip(range(161, 256), (
    "\u03d2\u2032\u2264\u2044\u221e\u0192\u2663\u2666\u2665\u2660\u2194\u2190\u2191\u2192"
    "\u2193\u00b0\u00b1\u2033\u2265\u00d7\u221d\u2202\u2022\u00f7\u2260\u2261\u2248\u2026"
    "\u23d0\u23af\u21b5\u2135\u2111\u211c\u2118\u2297\u2295\u2205\u2229\u222a\u2283\u2287"
    "\u2284\u2282\u2286\u2208\u2209\u2220\u2207\u00ae\u00a9\u2122\u220f\u221a\u22c5\u00ac"
    "\u2227\u2228\u21d4\u21d0\u21d1\u21d2\u21d3\u25ca\u2329\u00ae\u00a9\u2122\u2211\u239b"
    "\u239c\u239d\u23a1\u23a2\u23a3\u23a7\u23a8\u23a9\u23aa\u20ac\u232a\u222b\u2320\u23ae"
    "\u2321\u239e\u239f\u23a0\u23a4\u23a5\u23a6\u23ab\u23ac\u23ad\u2206")))

# Fallbacks for signs no source font carries.
FALLBACK = {"\u23d0": "|", "\u23af": "\u2014", "\u2329": "<", "\u232a": ">",
            "\u23ae": "|", "\u2320": "\u222b", "\u2321": "\u222b"}

FONTS = [
    # name, C++ name, sources, baseline, cap height, codes, with code 127
    ("fixed.chr", "Fixed", ["LiberationMono-Regular.ttf"], 16, 27, "latin"),
    ("fixedbld.chr", "FixedBold", ["LiberationMono-Bold.ttf"], 16, 27, "latin"),
    ("roman.chr", "Roman", ["LiberationSerif-Regular.ttf"], 13, 30, "latin"),
    ("romanbld.chr", "RomanBold", ["LiberationSerif-Bold.ttf"], 13, 30, "latin"),
    ("swiss.chr", "Swiss", ["LiberationSans-Regular.ttf"], 12, 31, "latin"),
    ("swissbld.chr", "SwissBold", ["LiberationSans-Bold.ttf"], 12, 31, "latin"),
    ("symbol.chr", "Symbol", ["LiberationSerif-Regular.ttf", "DejaVuSans.ttf"], 13, 30, "symbol"),
]


def load(name):
    for folder in (LIBERATION, DEJAVU):
        path = os.path.join(folder, name)
        if os.path.exists(path):
            return Source(path)
    raise SystemExit("missing source font " + name)


def make_font(name, cpp_name, files, baseline, cap, layout, root):
    sources = [load(f) for f in files] + [load("DejaVuSans.ttf")]
    if layout == "latin":
        lower_codes, table = range(33, 128), LATIN
    else:
        lower_codes, table = range(33, 127), {**SYMBOL_LOWER, **SYMBOL_UPPER}
    codes = list(lower_codes) + list(range(161, 256))
    tolerance = 0.3
    while True:
        glyphs = []
        for code in codes:
            char = table[code]
            runs = build_glyph(sources, [char, FALLBACK.get(char, "?")], baseline, cap, tolerance)
            glyphs.append(encode(runs))
        if sum(len(g) for g in glyphs) <= MAX_TEXT:
            break
        tolerance *= 1.15
    for code, glyph in zip(codes, glyphs):
        check_glyph(glyph, "v", GRID, GRID, code)
    n_lower = len(lower_codes)
    path = os.path.join(root, "src/toolkit/graphics/stroke_fonts/%s_font.cpp"
                        % name.replace(".chr", ""))
    write_font_source(path, cpp_name, glyphs[:n_lower], glyphs[n_lower:], __file__)
    print("%s: %d characters, tolerance %.2f" % (name, sum(len(g) for g in glyphs), tolerance))


def main():
    root = os.path.join(os.path.dirname(__file__), "..", "..")
    wanted = sys.argv[1:]
    for spec in FONTS:
        if not wanted or spec[0] in wanted:
            make_font(*spec, root)


if __name__ == "__main__":
    main()
