#pragma once
// Toolkit start-up and shutdown: the state block is filled once, before any
// window exists (screen metrics, toolkit directory, the optional settings file
// "rudoru.ini", the report mode from the environment and the hardcopy
// defaults); shutdown ends hardcopy output and destroys every window.

#include <string_view>

#include "toolkit/core/text_args.h"

namespace tk {

// Only the first call has any effect. A blank name means the usual search:
// RUDOINIT, then "rudoru.ini" here, then in the toolkit directory.
void ToolkitInit(std::string_view settingsFile = "");
void ToolkitShutdown();

// 1 screen width, 2 height (pixels), 3 colours, 4 and 5 capability bits 0, 1.
int ScreenInfoQuery(int selector);
void ScreenMetricsInit(int& width, int& height, int& colours, int& paletteSize,
                       int& capabilityBits);
void RasterPrinterModelSet(int model);
void HardcopyDriverNumberSet(int driver);
void PrinterColourModeSet(int mode);
// Kind 2 is the PostScript dump page; anything else the Windows printer.
void HardcopyPageDefaults(int kind = 0);
void ToolkitVersionText(TextOut text);
void BeepFlagSet(int on);

}  // namespace tk
