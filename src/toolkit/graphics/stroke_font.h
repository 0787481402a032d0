#pragma once
// The graphics layer's own vector fonts: the installed font record, its
// glyph strings, the proportional width table shared with device text, the
// one-deep save slot, and drawing a string as polylines or filled outlines.
//
// A glyph string is a series of runs separated by single separator
// characters; a run is two or more points, each two characters of
// kGlyphAlphabet (x then y, value = position in the alphabet, 0-55). A
// filled font closes every run and fills it.

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/fixed_string.h"

namespace tk {

inline constexpr std::string_view kGlyphAlphabet =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrst";
inline constexpr int kGlyphTextSize = 17000;

struct StrokeFontGlyphs {
    float cellWidth = 0, cellHeight = 0;
    float glyphWidth = 0, glyphHeight = 0;
    int charsetCode = 8;
    int drawnAsStrokes = 1;
    int hasCode127 = 0;
    int preferredTextMode = 0;
    base::FixedString<260> fontName;
    std::string glyphText = std::string(kGlyphTextSize, ' ');
    std::array<int, 96> lowerStarts{};
    std::array<int, 96> upperStarts{};
    int installedFontBold = 0;
};

// The installed font ("standard.chr" until something else is installed).
StrokeFontGlyphs& installedStrokeFont();

// Value of a coordinate character (0-55), -1 for a separator.
int GlyphCoordinate(char c);

struct GlyphPoint {
    int x = 0, y = 0;
};
using GlyphRun = std::vector<GlyphPoint>;
// The runs of one glyph string, walked as the renderer walks it.
std::vector<GlyphRun> GlyphRuns(std::string_view glyph);
// The glyph string of a (mapped) code in the installed font; empty for
// codes without a glyph.
std::string_view GlyphOfCode(int mappedCode);

void InstallStrokeFont(float cellWidth, float cellHeight, float glyphWidth, float glyphHeight,
                       int charsetCode, int flags, int preferredTextMode, int slot,
                       std::string_view name, std::string_view glyphs,
                       std::span<const int> lowerStarts, std::span<const int> upperStarts);

// The proportional widths (fractions of a character width) of codes 0-255;
// only 32-127 and 161-255 carry values of their own.
std::array<float, 256>& charWidths();
float DefaultCharWidth(int code);
void YYCHSPACE(int code);

void SelectFixedStrokeFont();
void SelectSwissStrokeFont();
void SelectRomanStrokeFont();
void FontStateSaveRestore(bool save);
void SymbolFontSelect(int on);

// Draws n characters from (x, y) in device units (the middle line of the
// first cell, or the top centre of the first cell of stacked text) with
// character width W and height H in device units.
void DrawStrokeText(float x, float y, std::string_view text, int n, float W, float H);

// Back to the start-up condition (standard font, nothing saved); tests.
void ResetStrokeFontState();

}  // namespace tk
