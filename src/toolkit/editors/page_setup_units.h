#pragma once
// What the text editor's and the grid's page set-up records share: margin
// units (thousandths of an inch or hundredths of a millimetre), their
// conversion, the printer context of a page set-up, and the printer's
// unprintable margins.

#include "platform/common_dialogs/common_dialogs_api.h"
#include "platform/gdi/printing.h"

namespace tk {

// The unit flag (PSD_INTHOUSANDTHSOFINCHES or PSD_INHUNDREDTHSOFMILLIMETERS)
// for a units argument: -1 the locale's measurement system, 0-1 inches,
// 2 and more millimetres.
win::DWORD pageUnitFlag(int units);
// 1000 or 2540 units per inch for a unit flag.
int pageUnitsPerInch(win::DWORD unitFlag);
// Converts paper size and margins between the units (truncating).
void pageConvertUnits(win::PAGESETUPDLGA& setup, win::DWORD from, win::DWORD to);
// The page set-up dialog (it releases the printer blocks it replaces).
bool pageSetupDialog(win::PAGESETUPDLGA& setup);
// Releases the set-up's printer blocks.
void pageSetupRelease(win::PAGESETUPDLGA& setup);
// A printer context from the set-up's DEVNAMES and DEVMODE; null without.
win::HDC pagePrinterDC(const win::PAGESETUPDLGA& setup);
// The minimum-margin fields get the printer's unprintable margins.
void pageStoreUnprintable(win::PAGESETUPDLGA& setup, win::HDC printer);
// Orientation of the set-up's DEVMODE: 1 landscape, 0 portrait.
int pageOrientation(const win::PAGESETUPDLGA& setup);
// Sets the orientation (0 or 2 portrait, 1 or 3 landscape); the paper's
// sides follow, and with 2 or 3 the margin box turns with them.
void pageSetOrientation(win::PAGESETUPDLGA& setup, int value);
// A page value in points from stored units, and back.
int pageToPoints(int value, win::DWORD unitFlag);
int pageFromPoints(int points, win::DWORD unitFlag);

}  // namespace tk
