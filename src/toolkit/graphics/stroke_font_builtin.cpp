#include "toolkit/graphics/stroke_font_builtin.h"

#include <cstring>

#include "toolkit/graphics/stroke_font.h"
#include "toolkit/graphics/stroke_fonts/font_data.h"

namespace tk {

namespace {

using namespace stroke_fonts;

std::string_view glyphText(const char* text) {
    return std::string_view(text, std::strlen(text));
}

// Name, cell width and height, glyph box width and height, flags,
// preferred text mode, glyphs and start tables. Built on first use, so that
// the installed font can be set up from any point of the start-up.
std::span<const BuiltinStrokeFont> fonts() {
    static const BuiltinStrokeFont kFonts[] = {
        {"standard.chr", 7.68f, 11.88f, 6, 11, 3, 0, glyphText(kStandardGlyphs),
         kStandardLowerStarts, kStandardUpperStarts},
        {"fixedbld.chr", 36.3f, 55, 55, 55, 2, 0, glyphText(kFixedBoldGlyphs),
         kFixedBoldLowerStarts, kFixedBoldUpperStarts},
        {"fixed.chr", 36.3f, 55, 55, 55, 2, 0, glyphText(kFixedGlyphs), kFixedLowerStarts,
         kFixedUpperStarts},
        {"romanbld.chr", 36.3f, 55, 55, 55, 2, 1, glyphText(kRomanBoldGlyphs),
         kRomanBoldLowerStarts, kRomanBoldUpperStarts},
        {"roman.chr", 36.3f, 55, 55, 55, 2, 1, glyphText(kRomanGlyphs), kRomanLowerStarts,
         kRomanUpperStarts},
        {"swissbld.chr", 36.3f, 55, 55, 55, 2, 1, glyphText(kSwissBoldGlyphs),
         kSwissBoldLowerStarts, kSwissBoldUpperStarts},
        {"swiss.chr", 36.3f, 55, 55, 55, 2, 1, glyphText(kSwissGlyphs), kSwissLowerStarts,
         kSwissUpperStarts},
        {"symbols.chr", 36.75f, 36.75f, 35, 35, 1, 1, glyphText(kSymbolsGlyphs),
         kSymbolsLowerStarts, kSymbolsUpperStarts},
        {"symbol.chr", 30.25f, 55, 55, 55, 0, 1, glyphText(kSymbolGlyphs), kSymbolLowerStarts,
         kSymbolUpperStarts},
    };
    return kFonts;
}

void install(std::string_view name, int slot) {
    const BuiltinStrokeFont* f = FindBuiltinStrokeFont(name);
    if (!f) f = &fonts().front();
    InstallStrokeFont(f->cellWidth, f->cellHeight, f->glyphWidth, f->glyphHeight, 8, f->flags,
                      f->preferredTextMode, slot, f->name, f->glyphs, f->lowerStarts,
                      f->upperStarts);
}

}  // namespace

std::span<const BuiltinStrokeFont> BuiltinStrokeFonts() {
    return fonts();
}

const BuiltinStrokeFont* FindBuiltinStrokeFont(std::string_view name) {
    for (const BuiltinStrokeFont& f : fonts())
        if (f.name == name) return &f;
    return nullptr;
}

void DefaultStrokeFont(std::optional<int> slot) {
    install("standard.chr", slot.value_or(0));
}
void StrokeFontSymbols(std::optional<int> slot) {
    install("symbols.chr", slot.value_or(0));
}
void StrokeFontFixedBold() {
    install("fixedbld.chr", 0);
}
void StrokeFontFixed() {
    install("fixed.chr", 0);
}
void StrokeFontRomanBold() {
    install("romanbld.chr", 0);
}
void StrokeFontRoman() {
    install("roman.chr", 0);
}
void StrokeFontSwissBold() {
    install("swissbld.chr", 0);
}
void StrokeFontSwiss() {
    install("swiss.chr", 0);
}
void StrokeFontSymbol() {
    install("symbol.chr", 0);
}

}  // namespace tk
