#pragma once
// The toolkit's contact with the print system: which printer is meant, its
// page geometry in points, the settings chosen in the page set-up (forced
// into the printer's DEVMODE) and the creation of printer contexts.

#include <string>

#include "platform/win_types.h"

namespace tk {

struct PrinterTarget {
    std::string device, driver, port;
    int defaultRead = 0;  // 1 once the default printer was read
};

// Values forced into the DEVMODE; -1 (99999 for the last two) = not set.
struct PrinterOverrides {
    short paperSize = -1, paperLength = -1, paperWidth = -1, scale = -1, defaultSource = -1,
          printQuality = -1, colour = -1, duplex = -1, yResolution = -1, trueTypeOption = -1,
          collate = -1;
    int mediaType = 99999, ditherType = 99999;
};

PrinterTarget& printerTarget();
PrinterOverrides& printerOverrides();
// Forgets the target and the overrides (tests).
void ResetPrinterDeviceContext();

// Page outputs of PrinterQueryCaps, in points.
struct PrinterPageCaps {
    int longSide = 0, shortSide = 0, usableWidth = 0, usableHeight = 0;
    int offsetX = 0, offsetY = 0, orientation = 0, copies = 0, colourCount = 0;
    int error = 0;  // 0 success, else the system's error number
};

// 1 when the default printer ("device,driver,port") was read.
int PrinterGetDefault();
// Parses a "device,driver,port" profile value into the target.
void PrinterTargetFromProfile(const std::string& value);
PrinterPageCaps PrinterQueryCaps();
// A printer context for the target with the orientation, copies and the
// overrides the printer supports; null on failure.
win::HDC PrinterCreateDC(int landscape, int copies);
// The DEVMODE fields mask that the last PrinterCreateDC asked for.
unsigned long PrinterLastAppliedFields();
// Size in bytes of the colour table after a DIB header (40-byte info header
// or 12-byte core header).
int DibColourTableSize(const void* header);

}  // namespace tk
