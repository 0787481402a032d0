#pragma once
// Hardcopy driver 11: the device requests recorded into a Windows metafile
// (a WMF file with or without the placeable header, an EMF file, or the
// clipboard), and the playing of such metafiles into a rectangle.

#include <functional>
#include <string>
#include <string_view>

#include "toolkit/graphics/device_protocol.h"

namespace tk {

// The hardcopy settings the driver reads.
struct WmfSettings {
    int pageWidth = 756, pageHeight = 540;  // points
    int colourHandling = 0;
    int lineWidthOption = 5;  // 1/720 inch
    int metafileKind = 1;     // 0 plain WMF, 1 placeable WMF, 2 EMF
    int systemDashes = 0;
    std::string title;  // trimmed; empty for none
};

// The hardcopy layer as the driver sees it; bound by the hardcopy layer.
struct WmfDriverHooks {
    // Request 1: the driver defaults plus the metafile page (756 x 540
    // points, 600 dpi, 256 colours, placeable WMF, own dashes, no default
    // file name).
    std::function<void()> applyDefaults;
    std::function<WmfSettings()> settings;
    std::function<void()> outputOff;  // hardcopy output is switched off
};
WmfDriverHooks& wmfDriverHooks();

void XXWMF(DeviceRequest request);

// Plays a metafile (kind 1 placeable WMF, 2 EMF, else plain WMF; a name of
// one character is the clipboard's enhanced metafile) into a rectangle of a
// target (0 the screen side's drawing surface, 11 this driver's metafile).
// Status 0, 1 file not opened, 2 records not accepted, 1094 clipboard not
// opened, 1095 no enhanced metafile on the clipboard.
void MetafilePlay(int kind, int left, int top, int right, int bottom, int target, int rotation,
                  int offsetX, int offsetY, int& status, std::string_view fileName);

}  // namespace tk
