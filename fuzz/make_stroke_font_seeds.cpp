// Writes the seed corpus of the stroke font fuzzer: each built-in font in
// the fuzzer's layout (the two start tables, two bytes a start, then the
// glyph text).

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "toolkit/graphics/stroke_font_builtin.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    for (const tk::BuiltinStrokeFont& f : tk::BuiltinStrokeFonts()) {
        std::vector<std::uint8_t> bytes;
        auto starts = [&](std::span<const int> table) {
            for (std::size_t i = 0; i < 96; ++i) {
                const int v = i < table.size() ? table[i] : 0;
                bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
                bytes.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
            }
        };
        starts(f.lowerStarts);
        starts(f.upperStarts);
        bytes.insert(bytes.end(), f.glyphs.begin(), f.glyphs.end());
        const std::string path = std::string(argv[1]) + "/" + std::string(f.name);
        if (!base::writeFile(path, bytes)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
