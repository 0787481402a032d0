#!/usr/bin/env python3
"""Writes src/toolkit/graphics/stroke_fonts/standard_font.cpp, the small
single-stroke font "standard.chr" that is installed at start.

The glyphs are our own design on a grid of x 0-6 and y 0-11 (baseline 2,
lower case to 8, capitals and ascenders to 11, descenders to 0), written
here in the glyph-string notation: points of two coordinate characters
(0-9, A = 10, B = 11), runs separated by "u". Accented capitals are the
capital squeezed to the lower-case height with the accent above it;
accented small letters are the letter with the accent above it.

Usage: python3 tools/stroke_fonts/make_standard_font.py   (from the repository root)
"""

import os
import sys

sys.path.insert(0, os.path.dirname(__file__))
from glyph_common import check_glyph, write_font_source  # noqa: E402

BASE = {
    33: "3233u363B", 34: "1B19u4B49", 35: "222Bu525Bu0565u0868",
    36: "0413536466571708091A5A69u323B", 37: "026Bu1B0A192A1Bu5443526354",
    38: "62181A2B3B4A490503123265", 39: "3B39", 40: "4B3A28243241", 41: "2B3A48443221",
    42: "353Bu0967u0769", 43: "3339u0666", 44: "333220", 45: "1656", 46: "3233", 47: "026B",
    48: "1204091B5B696452125B", 49: "323B19", 50: "0A1B5B6A680262",
    51: "0A1B5B6A685727u576663521203", 52: "424B0565", 53: "6B0B07576663521203",
    54: "5B2B080312526366571706", 55: "0B6B22", 56: "17080A1B5B6A68571706031252636657",
    57: "1242656A5B1B0A07165667", 58: "3233u3738", 59: "3738u333220", 60: "6A0662",
    61: "0464u0868", 62: "0A6602", 63: "090A1B5B6A683634u3233",
    64: "5458282454656A5B1B0A031262",
    65: "023B62u1555", 66: "020B5B6A685707u5766635202", 67: "6A5B1B0A03125263",
    68: "020B4B69644202", 69: "6B0B0262u0747", 70: "6B0B02u0747",
    71: "6A5B1B0A031252636636", 72: "020Bu626Bu0767", 73: "1252u323Bu1B5B",
    74: "5B5342120304", 75: "020Bu6B05u2762", 76: "0B0262", 77: "020B366B62",
    78: "020B626B", 79: "04091B5B6964521204", 80: "020B5B6A685707",
    81: "04091B5B6964521204u3562", 82: "020B5B6A685707u3762",
    83: "6A5B1B0A0817576663521203", 84: "0B6Bu3B32", 85: "0B031252636B", 86: "0B326B",
    87: "0B1237526B", 88: "026Bu0B62", 89: "0B376Bu3732", 90: "0B6B0262",
    91: "4B2B2141", 92: "0B62", 93: "2B4B4121", 94: "183B58", 95: "0060", 96: "2B49",
    97: "18586762u65150403125263", 98: "0B02u0628586763522204", 99: "6758180703125263",
    100: "6B62u6648180703124264", 101: "05656758180703125263", 102: "222A3B5B6Au0848",
    103: "00405158u5748180605134354", 104: "0B02u0628586762", 105: "323828u3A3B",
    106: "38312000u3A3B", 107: "0B02u5804u2562", 108: "2B3B3342",
    109: "0208u0718283732u3748586762", 110: "0208u0628586762", 111: "120307185867635212",
    112: "0008u0628586763522204", 113: "6068u6648180703124264", 114: "0208u05385867",
    115: "675818070615556463521203", 116: "2B23325263u0858", 117: "0803124264u6862",
    118: "083268", 119: "0812365268", 120: "0268u0862", 121: "0832u682000",
    122: "08680262", 123: "4B3A3726353241", 124: "303B", 125: "2B3A3746353221",
    126: "061727455566",
    # Slot 127, drawn for character code 128: the euro sign.
    127: "63522214192B5B6Au0656u0767",
}

UPPER_OWN = {
    161: "3035u3839", 162: "5748281713224253u3139", 163: "6A5B3B2A231262u0747",
    164: "1418585414u0314u6354u0918u6958", 165: "0B376Bu3732u1555u1353", 166: "3034u373B",
    167: "5A4B2B1A195553422213u1957", 168: "1A2A29191Au4A5A59494A",
    169: "1305081A5A68655313u48282545", 170: "2B4B48u49292848u2747", 171: "381634u583654",
    172: "066664", 173: "1656", 174: "1305081A5A68655313u2429494727u3744", 175: "1B5B",
    176: "2B1A192838494A3B2B", 177: "353Bu0868u0363", 178: "1A2B3B4A1747",
    179: "1B4B29483717", 180: "294B", 181: "0008u03124264u6862",
    182: "323Bu525Bu6B1B0A081737", 183: "3637", 184: "324120", 185: "2A3B37",
    186: "282B4B4828u2747", 187: "183614u385634", 188: "1A2B27u026Bu52563464",
    189: "1A2B27u026Bu354656653262", 190: "1B4B29483717u026Bu52563464",
    191: "6463521203053739u3A3B", 198: "023B6Bu3B3262u1535u3757",
    199: "6A5B1B0A03125263u324120", 208: "020B4B69644202u0737", 215: "1458u1854",
    216: "04091B5B6964521204u026B", 222: "020Bu095968665505",
    223: "020A1B4B5A58375665635232", 230: "183832u351504031232u3565675838u3262",
    231: "6758180703125263u324120", 240: "120307185867635212u673Bu2A5A",
    247: "0565u3738u3233", 248: "120307185867635212u0268",
    254: "000Bu0628586763522204",
}

ACCENTS = {
    "grave": "2B49", "acute": "294B", "circumflex": "193B59", "tilde": "091A2A49596A",
    "diaeresis": "1A2A29191Au4A5A59494A", "ring": "2A3B4A392A",
}

# Latin-1 accented letters: code -> (base letter code, accent).
ACCENTED = {}
for first, base, accents in (
        (192, 65, ("grave", "acute", "circumflex", "tilde", "diaeresis", "ring")),
        (200, 69, ("grave", "acute", "circumflex", "diaeresis")),
        (204, 73, ("grave", "acute", "circumflex", "diaeresis")),
        (209, 78, ("tilde",)),
        (210, 79, ("grave", "acute", "circumflex", "tilde", "diaeresis")),
        (217, 85, ("grave", "acute", "circumflex", "diaeresis")),
        (221, 89, ("acute",)),
        (224, 97, ("grave", "acute", "circumflex", "tilde", "diaeresis", "ring")),
        (232, 101, ("grave", "acute", "circumflex", "diaeresis")),
        (236, 0, ("grave", "acute", "circumflex", "diaeresis")),  # dotless i
        (241, 110, ("tilde",)),
        (242, 111, ("grave", "acute", "circumflex", "tilde", "diaeresis")),
        (249, 117, ("grave", "acute", "circumflex", "diaeresis")),
        (253, 121, ("acute",)),
        (255, 121, ("diaeresis",))):
    for k, accent in enumerate(accents):
        ACCENTED[first + k] = (base, accent)

ALPHABET = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrst"


def squeeze_capital(glyph):
    """The capital at lower-case height: y 2..11 becomes 2..8."""
    out = []
    i = 0
    while i < len(glyph):
        c = glyph[i]
        if c == "u":
            out.append(c)
            i += 1
            continue
        x, y = ALPHABET.index(glyph[i]), ALPHABET.index(glyph[i + 1])
        if y >= 2:
            y = 2 + round((y - 2) * 6 / 9)
        out.append(ALPHABET[x] + ALPHABET[y])
        i += 2
    return "".join(out)


def accented(code):
    base, accent = ACCENTED[code]
    if base == 0:
        letter = "323828"
    elif base < 97:
        letter = squeeze_capital(BASE[base])
    else:
        letter = BASE[base]
        if base == 105:
            letter = "323828"
    glyph = letter + "u" + ACCENTS[accent]
    # The ring-accented capital ends in a separator, which the glyph walk ignores.
    if code == 197:
        glyph += "u"
    return glyph


def main():
    lower = [BASE[c] for c in range(33, 128)]
    upper = []
    for code in range(161, 256):
        upper.append(UPPER_OWN[code] if code in UPPER_OWN else accented(code))
    for code, glyph in zip(list(range(33, 128)) + list(range(161, 256)), lower + upper):
        check_glyph(glyph, "u", 6, 11, code)
    root = os.path.join(os.path.dirname(__file__), "..", "..")
    write_font_source(os.path.join(root, "src/toolkit/graphics/stroke_fonts/standard_font.cpp"),
                      "Standard", lower, upper, __file__)


if __name__ == "__main__":
    main()
