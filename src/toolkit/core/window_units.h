#pragma once
// Window units: an integer scale of 0 to 9999 across a client area, so that
// positions in events and placements do not depend on the window's pixel size.

namespace tk {

inline constexpr int kWindowUnitsMax = 9999;

// (pixels + 0.5) x 9999 / size, truncated; 0 when the size is below 2.
int unitsFromPixels(int pixels, int size);
// (size - 1) x units / 9999 in 32-bit integer arithmetic.
int pixelsFromUnits(int units, int size);

// The same conversions over the current window's client size.
void PixelsToWindowUnits(int pixelX, int pixelY, int& unitsX, int& unitsY);
void WindowUnitsToPixels(int unitsX, int unitsY, int& pixelX, int& pixelY);

}  // namespace tk
