#pragma once
// Drawing a string at a point: laid out along the baseline or stacked,
// justified, clipped by whole characters, as device text through the
// drivers' text requests or as stroke text from the installed stroke font,
// with the opaque box and the underline where the driver leaves them to us.

#include <optional>
#include <string_view>

namespace tk {

// True when the string must be drawn as stroke text on device side `side`
// (0 screen, 1 hardcopy) with character width W and height H in device units.
bool ChooseTextRendering(int side, float W, float H);

void DrawTextAt(std::optional<float> x, std::optional<float> y, std::string_view text, int n);
inline void DrawTextAt(std::optional<float> x, std::optional<float> y, std::string_view text) {
    DrawTextAt(x, y, text, static_cast<int>(text.size()));
}

// Fills the box behind a string whose reference point (x, y) is in device
// units, on the sides given by the flags (hardcopyFlag is the driver number
// to draw on, 0 for none).
void DrawTextBackground(float x, float y, std::string_view text, int n, int tableOnly,
                        int screenFlag, int hardcopyFlag);

}  // namespace tk
