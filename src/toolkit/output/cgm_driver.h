#pragma once
// Hardcopy driver 9: the device requests of the graphics layer written as a
// binary Computer Graphics Metafile (one picture, 16-bit integer VDC, direct
// colour) into the plot output file.

#include <functional>
#include <string>
#include <string_view>

#include "toolkit/graphics/device_protocol.h"

namespace tk {

// The hardcopy settings the driver reads.
struct CgmSettings {
    int pageWidth = 756, pageHeight = 540;  // points
    int colourHandling = 0;
    int lineWidthOption = 0, lineJoinOption = 0, lineCapOption = 0;
    int fontListKind = 2;
    int resolutionX = 600, resolutionY = 600;
    std::string title;  // trimmed
};

// The hardcopy layer as the driver sees it; bound to the plot output file
// and the hardcopy options by the hardcopy layer's binding.
struct CgmDriverHooks {
    // Request 1: the driver defaults plus the CGM page (756 x 540 points,
    // no offset, landscape, font list 2, 256 colours, 600 dpi).
    std::function<void()> applyDefaults;
    std::function<CgmSettings()> settings;
    // Opens the output file; false when it failed (already reported).
    std::function<bool(std::string_view name)> open;
    std::function<void(std::string_view bytes)> write;
    std::function<void()> close;
    std::function<void()> outputOff;  // hardcopy output is switched off
};
CgmDriverHooks& cgmDriverHooks();
// Hooks on a file of the driver's own and fixed default settings.
void BindCgmDriverStandalone();

void CgmDriver(DeviceRequest request);

}  // namespace tk
