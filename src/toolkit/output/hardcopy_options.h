#pragma once
// The numbered hardcopy settings that programs set and every hardcopy driver
// reads, and the description of the selected hardcopy device that the
// drivers write when they initialise and when they open a document.
//
// The device words that the graphics layer reads itself (the page aspect,
// the driver scales and their rotated copies) live in GraphicsState:
// pageAspect, hardcopyScaleX/Y and rotHardcopyScaleX/Y.

#include <array>
#include <string_view>

#include "base/fixed_string.h"

namespace tk {

// Option codes by name.
namespace hc {
enum OptionCode : int {
    PageWidth = 1,
    PageHeight = 2,
    PageOffsetX = 3,
    PageOffsetY = 4,
    Orientation = 5,
    ColourHandling = 6,
    BlackLines = 7,
    Copies = 8,
    LineWidthOption = 9,
    LineJoinOption = 10,
    LineCapOption = 11,
    FillPenSpacing = 12,
    ResolutionIndexOption = 13,
    PostScriptEndOfJob = 15,
    MaxPathSegments = 16,
    HpglBlankPrefix = 17,
    HpglShapeRecords = 18,
    HpglPlotterControl = 19,
    LabelTerminator = 21,
    PostScriptKind = 22,
    ColourDepth = 23,
    CompressionOption = 24,
    HpglNativeFill = 25,
    BitmapFormat = 26,
    CgmFontListKind = 28,
};
}  // namespace hc

struct HardcopyOptions {
    std::array<int, 29> low{};  // codes 1 to 29
    std::array<int, 8> high{};  // codes 101 to 108
    int sheetHeight = 0;        // points, current orientation
    int sheetWidth = 0;
    int printerAvailable = 0;
    base::FixedString<260> defaultFileName;
    base::FixedString<260> temporaryPlotFile;
    base::FixedString<260> temporaryDumpFile;
    base::FixedString<260> pendingPrintCommand;
    base::FixedString<200> title;

    static bool validCode(int code) {
        return (code >= 1 && code <= 29) || (code >= 101 && code <= 108);
    }
    // The stored value of a valid code.
    int& operator[](int code);
    int operator[](int code) const;
};

struct HardcopyDeviceState {
    bool pageDirty = false;
    int colourCount = 0;
    int colourLimit = 0;
    int printCommandAllowed = 0;
    int hpglLinePrefix = 0;
    int penCount = 0;
    int rasterPlanes = 0;
    int resolutionIndex = 0;
    int activeDriver = 0;  // 0 until a driver has initialised
    float fillSpacing = 0;
    float lastPenY = 0, lastPenX = 0;
    int resolutionY = 0, resolutionX = 0;
};

HardcopyOptions& hardcopyOptions();
HardcopyDeviceState& hardcopyDeviceState();
// Forgets both records (start-up and tests).
void ResetHardcopyOptions();

// Range check and store; codes outside the table, code 14 and values out of
// range are ignored. See hardcopy_options.cpp for the follow-ups.
void HardcopyOptionSet(int code, int value);
// The defaults every driver applies first when it initialises.
void HardcopyDriverDefaults();
// "doredere." and the extension, blank-padded: what a driver's request 1
// puts into DefaultFileName.
void SetDefaultFileExtension(std::string_view extension);
// Replaces the extension of DefaultFileName (or appends it when the name
// has no dot after its last separator); a blank name stays blank.
void ChangeDefaultFileExtension(std::string_view extension);

}  // namespace tk
