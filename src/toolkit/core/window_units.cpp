#include "toolkit/core/window_units.h"

#include "toolkit/core/window_table.h"

namespace tk {

int unitsFromPixels(int pixels, int size) {
    if (size < 2) return 0;
    return static_cast<int>((pixels + 0.5) * kWindowUnitsMax / size);
}

int pixelsFromUnits(int units, int size) {
    return (size - 1) * units / kWindowUnitsMax;
}

void PixelsToWindowUnits(int pixelX, int pixelY, int& unitsX, int& unitsY) {
    const WindowSystem& w = windowSystem();
    unitsX = unitsFromPixels(pixelX, w.CurrentWidth);
    unitsY = unitsFromPixels(pixelY, w.CurrentHeight);
}

void WindowUnitsToPixels(int unitsX, int unitsY, int& pixelX, int& pixelY) {
    const WindowSystem& w = windowSystem();
    pixelX = pixelsFromUnits(unitsX, w.CurrentWidth);
    pixelY = pixelsFromUnits(unitsY, w.CurrentHeight);
}

}  // namespace tk
