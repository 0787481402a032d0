#pragma once
// The nine stroke fonts the graphics layer carries as constant data, and
// the operations that install them.

#include <optional>
#include <span>
#include <string_view>

namespace tk {

struct BuiltinStrokeFont {
    std::string_view name;
    float cellWidth, cellHeight, glyphWidth, glyphHeight;
    int flags;  // bit 0 drawn as strokes, bit 1 has code 127
    int preferredTextMode;
    std::string_view glyphs;
    std::span<const int> lowerStarts;  // 96 entries, or 95 without code 127
    std::span<const int> upperStarts;  // 96 entries
};

// All nine, standard first.
std::span<const BuiltinStrokeFont> BuiltinStrokeFonts();
const BuiltinStrokeFont* FindBuiltinStrokeFont(std::string_view name);

void DefaultStrokeFont(std::optional<int> slot = {});
void StrokeFontSymbols(std::optional<int> slot = {});
void StrokeFontFixedBold();
void StrokeFontFixed();
void StrokeFontRomanBold();
void StrokeFontRoman();
void StrokeFontSwissBold();
void StrokeFontSwiss();
void StrokeFontSymbol();

}  // namespace tk
