#pragma once
// Fonts realised for drawing: the Windows face names mapped to the fonts
// installed here, metrics in the Windows sense (cell height = ascent +
// descent, internal leading), byte advances, and monochrome glyph images.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"

namespace win::gdi {

struct GlyphImage {
    int left = 0;  // pixel offset of the image from the pen position
    int top = 0;   // rows above the pen position (y up)
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> bits;  // one byte per pixel, 0 or 1, rows top first
};

class FontInstance {
  public:
    ~FontInstance();
    FontInstance(const FontInstance&) = delete;
    FontInstance& operator=(const FontInstance&) = delete;

    // Metrics in device pixels.
    int ascent = 0, descent = 0, internalLeading = 0, externalLeading = 0;
    int avgCharWidth = 0, maxCharWidth = 0;
    int underlinePosition = 0;  // below the baseline
    int underlineThickness = 1;
    int strikeoutPosition = 0;  // above the baseline
    LOGFONTA request;           // as asked for, heights in device pixels
    std::string file;           // the font file used
    int faceIndex = 0;
    double emX = 0, emY = 0;  // pixels per em
    bool syntheticBold = false, syntheticItalic = false;

    int height() const { return ascent + descent; }
    int advance(unsigned char byte);
    // The image of a byte, rotated by the font's escapement.
    const GlyphImage& glyph(unsigned char byte);
    char32_t codePoint(unsigned char byte) const;
    unsigned glyphIndex(unsigned char byte);

  private:
    friend std::shared_ptr<FontInstance> realizeFont(const LOGFONTA&);
    FontInstance() = default;
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::array<int, 256> advances_{};
    std::array<bool, 256> haveAdvance_{};
    std::array<std::optional<GlyphImage>, 256> glyphs_;
};

// The font for a request whose height and width are already in device pixels.
std::shared_ptr<FontInstance> realizeFont(const LOGFONTA& request);

// The installed family that a Windows face name maps to (for tests and the
// font dialog): the preferred family when installed, else the fallback.
std::string mappedFamily(const LOGFONTA& request);

}  // namespace win::gdi
