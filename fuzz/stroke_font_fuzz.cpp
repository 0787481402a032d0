// Installs arbitrary font data as the stroke font and draws every code with
// it: the input holds the two start tables' choice bytes, then glyph text.
// Whatever the glyph strings and starts say, walking and drawing them must
// end without a memory error or an undefined operation.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "toolkit/graphics/stroke_font.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // 96 lower and 96 upper starts, two bytes each, are taken from the front.
    std::array<int, 96> lower{}, upper{};
    auto take = [&](int& v) {
        if (size < 2) return;
        v = static_cast<std::int16_t>(data[0] | (data[1] << 8));
        data += 2;
        size -= 2;
    };
    for (int& v : lower) take(v);
    for (int& v : upper) take(v);
    const std::string_view glyphs(reinterpret_cast<const char*>(data), size);
    tk::InstallStrokeFont(1.0f, 1.0f, 56.0f, 56.0f, 8, 1, 0, 0, "fuzz.chr", glyphs, lower, upper);
    for (int code = 0; code < 256; ++code)
        for (const tk::GlyphRun& run : tk::GlyphRuns(tk::GlyphOfCode(code))) (void)run;
    std::string all;
    for (int code = 32; code < 256; ++code) all.push_back(static_cast<char>(code));
    tk::DrawStrokeText(10.0f, 10.0f, all, static_cast<int>(all.size()), 8.0f, 12.0f);
    tk::ResetStrokeFontState();
    return 0;
}
