#pragma once
// Where every hardcopy call enters the output devices: the driver
// selection, the output switch (on with a file name or a print command and
// an optional title, off with "S") and the print command runner.

#include <optional>
#include <string_view>

namespace tk {

// Hardcopy driver numbers.
namespace hc {
inline constexpr int HpglDriverNumber = 1, PostScriptDriverNumber = 2, SvgDriverNumber = 3,
                     RasterDriverNumber = 4, BitImageDriverNumber = 6, DxfDriverNumber = 8,
                     CgmDriverNumber = 9, PrinterDriverNumber = 10, MetafileDriverNumber = 11,
                     Hpgl2DriverNumber = 12;
}

// Request 1: stores the driver number and initialises that driver; any
// other request does nothing.
void HardcopySelectDriver(int request, int driverNumber);
// The number given to the last HardcopySelectDriver request 1.
int SelectedHardcopyDriver();
// Ends any output in progress; a name of at most one character that is "S"
// or "s" only ends it, every other call (no name too) starts output.
void HardcopySwitch(std::optional<std::string_view> name = std::nullopt,
                    std::optional<std::string_view> title = std::nullopt);
// Runs a command through the system's command interpreter and waits.
void YYPRNCMD(std::string_view command);

// Registers the drivers built here and binds the graphics layer's hardcopy
// hooks (page size, line width option, end of output, reset). Called once
// at toolkit start-up, and by tests.
void HardcopyOutputBind();

}  // namespace tk
