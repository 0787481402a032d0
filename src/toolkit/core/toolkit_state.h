#pragma once
// The toolkit's single process-wide state block. Each field belongs to the
// part of the toolkit that sets it; tests reset the whole block between cases.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tk {

// One entry of the text-editor buffer table (windows 0-50, files 1-20): the
// editor windows keep their buffers here.
struct EditorBufferEntry {
    int State = 0;
    int Flags = 0;
    int Size = 0;
    std::vector<char> Data;
};

struct ToolkitState {
    // Error reporting.
    int ErrorReportMode = 0;  // 0 silent, 1 console, 2 debug file, 3 status bar, 4 box
    int LastErrorNumber = 0;
    std::string LastErrorRoutine;
    int ErrorCategory = 0;
    int FileOsErrorCode = 0;
    int OsErrorCode = 0;
    int MessageBoxResult = 0;

    // Number conversion: a decimal separator other than "." is used only in mode 1.
    int DecimalSeparatorMode = 0;
    char DecimalSeparator = '.';

    // Start-up.
    static constexpr int InitialisedMarkerValue = -9999;
    int InitialisedMarker = 0;
    int ScreenWidth = 0;
    int ScreenHeight = 0;
    int ScreenColours = 0;
    int PaletteSize = 0;
    int ScreenCapabilityBits = 0;
    int ScreenLogPixelsX = 96;
    bool NtFamily = false;
    int OsMajorVersion = 0;
    bool RootWindowOpen = false;
    int CurrentDialogNumber = 0;
    // What the last modal dialog left: the field that closed it, the field
    // changed before it, and the dialog code's third value.
    int LastDialogClosingField = 0;
    int LastDialogChangedField = 0;
    int LastDialogThirdValue = 0;

    // Stored names and directories. The path separator terminates directory
    // names; "/" is accepted everywhere too.
    char PathSeparator = '\\';
    std::string ToolkitDirectory;
    std::string SettingsFileName;
    std::string CharsetDirectory;
    std::string CharsetFileName;
    std::string PrinterDumpFileName;
    std::string HardcopyOutputFileName;
    std::string TemporaryDirectory;
    std::string TemporaryPlotFileName;
    std::string TemporaryDumpFileName;
    std::string SystemDirectory;
    std::string StrokeFontFileName;  // set while graphics text uses a stroke font
    int GeneralFileUnit = 40;        // LFNGEN
    int PlotInputFileUnit = 42;      // LFNPLOTI
    bool BeepEnabled = true;

    // Hardcopy start-up settings.
    int ActiveHardcopyDriver = 0;
    int HardcopyDriverNumber = 1;
    int Hpgl2Request = 0;
    int PlotterRequest = 0;
    int PrinterRequest = 0;
    bool RasterModelChosen = false;
    bool DriverChosen = false;
    bool ColourModeChosen = false;
    int PrinterColourMode = 0;
    int RasterPrinterModel = 28;
    int RasterPrinterType = 0;
    int RasterColourDepth = 0;
    int RasterColourScheme = 0;
    int RasterOptionDigit = 0;
    int RasterPins = 0;
    int RasterVerticalStep = 0;
    std::array<int, 4> RasterResolutions{};
    int RasterResolutionCount = 0;
    // Page words: long and short side, usable long and short side, margins
    // (points), colour count and whether a printer answered.
    std::array<int, 6> PageWords{};
    int PageColourCount = 0;
    bool PrinterAvailable = false;
    int PageKind = 0;
    int PageOptionDigit = 0;

    std::vector<EditorBufferEntry> EditorBuffers;  // 51 x 20 once started

    // Directory listing: which entries are listed.
    bool ListFiles = true;
    bool ListDirectories = false;

    // The command line, copied once on first use.
    bool CommandLineCopied = false;
    std::string CommandLineCopy;

    void reset() { *this = ToolkitState{}; }
};

ToolkitState& toolkitState();

}  // namespace tk
