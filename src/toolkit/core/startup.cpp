#include "toolkit/core/startup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <vector>

#include "platform/kernel/environment.h"
#include "platform/kernel/errors.h"
#include "platform/kernel/files.h"
#include "toolkit/core/error_report.h"
#include "toolkit/core/menus.h"
#include "toolkit/core/message_box.h"
#include "toolkit/core/os_services.h"
#include "toolkit/core/os_wrappers.h"
#include "toolkit/core/seams.h"
#include "toolkit/core/string_conversion.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/core/window_api.h"
#include "toolkit/core/window_table.h"
#include "toolkit/core/window_text.h"
#include "toolkit/dialogs/dialog_bind.h"
#include "toolkit/dialogs/grid_window.h"
#include "toolkit/dialogs/numeric_edit.h"
#include "toolkit/editors/editors_bind.h"
#include "toolkit/graphics/graphics_window_binding.h"
#include "toolkit/output/hardcopy_dispatch.h"

namespace tk {
namespace {

constexpr std::size_t kLineLength = 270;
constexpr std::string_view kVersion = "7.10j";
constexpr int kMetafileSlots = 20;
constexpr int kEditorWindows = 51;
constexpr int kEditorFiles = 20;

// Raster printer models 0-39: type letter, colour depth, colour scheme,
// option digit, and "2" where the default colour mode must be looked up.
constexpr std::array<std::string_view, 40> kRasterModels = {
    "     ", "     ", "M1M0 ", "F1M0 ", "F1M0 ", "F1M0 ", "F1M0 ", "M1M0 ", "M1M0 ", "S1M0 ",
    "L1M0 ", "L1M0 ", "M1M0 ", "P3R1 ", "D1M2 ", "M1M0 ", "M1M0 ", "Q1M0 ", "Q1M0 ", "X1M0 ",
    "X1M0 ", "D3R2 ", "D1M2 ", "F3C0 ", "F3C0 ", "Q3C0 ", "Q3C0 ", " 1M0 ", "L1M22", "41M22",
    "33R1 ", "D3C2 ", "D3C22", "51M2 ", "53C2 ", "L3C22", "21M1 ", "23C1 ", "43C22", "     ",
};

struct PrinterType {
    std::array<int, 4> resolutions;
    int count;
    int pins;
    int verticalStep;  // 0: unchanged
    int becomes;       // 0: stays
};

// By type 1-12, the position of the letter in "MFSXQ2LDP345".
constexpr PrinterType kPrinterTypes[12] = {
    {{240, 120, 60, 0}, 3, 8, 23, 0},    {{240, 120, 90, 80}, 4, 8, 23, 0},
    {{160, 80, 0, 0}, 2, 8, 22, 0},      {{360, 180, 120, 60}, 4, 24, 29, 0},
    {{360, 180, 120, 90}, 4, 24, 24, 0}, {{720, 360, 180, 0}, 3, 1, 0, 0},
    {{300, 150, 100, 75}, 4, 1, 0, 0},   {{300, 150, 100, 75}, 4, 1, 0, 0},
    {{180, 90, 0, 0}, 2, 1, 0, 0},       {{300, 150, 100, 75}, 4, 1, 0, 0},
    {{600, 300, 200, 150}, 4, 1, 0, 7},  {{300, 150, 75, 0}, 3, 1, 0, 8},
};

std::string environmentText(const char* name) {
    std::array<char, 260> value;
    OsVariable(name, TextOut(value));
    return std::string(trimRight(std::string_view(value.data(), value.size())));
}

bool fileExists(const std::string& name) {
    if (name.empty()) return false;
    win::DWORD a = win::GetFileAttributesA(name.c_str());
    return a != win::INVALID_FILE_ATTRIBUTES && (a & win::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The file's lines, each cut to the line length; false when it cannot be read.
bool readLines(const std::string& name, std::vector<std::string>& lines) {
    win::HANDLE h = win::CreateFileA(name.c_str(), win::GENERIC_READ, win::FILE_SHARE_READ, nullptr,
                                     win::OPEN_EXISTING, win::FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == win::INVALID_HANDLE_VALUE) return false;
    std::string all;
    std::array<char, 4096> buf;
    win::DWORD n = 0;
    while (win::ReadFile(h, buf.data(), static_cast<win::DWORD>(buf.size()), &n, nullptr) && n > 0)
        all.append(buf.data(), n);
    win::CloseHandle(h);
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find('\n', start);
        if (end == std::string::npos) end = all.size();
        std::string line = all.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > kLineLength) line.resize(kLineLength);
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return true;
}

struct SettingsRead {
    bool versionKey = false;
};

void applyIntegerKey(const std::string& key, std::string_view valueText) {
    ToolkitState& s = toolkitState();
    int value = 0;
    s.LastErrorNumber = 0;
    StrToInteger(valueText, value);
    bool ok = s.LastErrorNumber == 0;
    s.LastErrorNumber = 0;
    if (!ok) return;
    if (key == "DEBUG")
        SetErrorReportMode(value);
    else if (key == "HPGL2")
        s.Hpgl2Request = value;
    else if (key == "LFNGEN") {
        if (value != s.PlotInputFileUnit) s.GeneralFileUnit = value;
    } else if (key == "LFNPLOTI") {
        if (value != s.GeneralFileUnit) s.PlotInputFileUnit = value;
    } else if (key == "PLOTTER")
        s.PlotterRequest = value;
    else if (key == "PRINTER")
        s.PrinterRequest = value;
}

void applyLine(std::string line, SettingsRead& read) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 >= kLineLength) return;
    std::replace(line.begin(), line.end(), '\t', ' ');
    std::string_view keyText = trimBoth(std::string_view(line).substr(0, eq));
    if (keyText.size() < 3) return;
    std::string key(keyText.substr(0, 8));
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    key = std::string(trimRight(key));
    if (key.compare(0, 3, "VER") == 0) read.versionKey = true;
    std::string_view value = std::string_view(line).substr(eq + 1);
    if (isBlankText(value)) return;
    ToolkitState& s = toolkitState();
    std::string text(trimRight(value.substr(value.find_first_not_of(' '))));
    if (key == "CHARDIR")
        s.CharsetDirectory = text;
    else if (key == "CHARSET")
        s.CharsetFileName = text;
    else
        applyIntegerKey(key, value);
}

SettingsRead readSettings(std::string_view given) {
    SettingsRead read;
    std::vector<std::string> lines;
    std::string name(trimBoth(given.substr(0, std::min<std::size_t>(given.size(), 270))));
    bool opened = !name.empty() && fileExists(name) && readLines(name, lines);
    if (!opened) {
        const std::string& found = toolkitState().SettingsFileName;
        if (found.empty() || !readLines(found, lines)) return read;
    }
    for (std::string& line : lines)
        applyLine(std::move(line), read);
    return read;
}

void findSettingsFile() {
    ToolkitState& s = toolkitState();
    std::string name = environmentText("RUDOINIT");
    if (name.empty() || !fileExists(name)) name = "rudoru.ini";
    if (!fileExists(name) && !s.ToolkitDirectory.empty()) {
        name = s.ToolkitDirectory + "rudoru.ini";
        if (!fileExists(name)) name.clear();
    } else if (!fileExists(name)) {
        name.clear();
    }
    s.SettingsFileName = name;
}

void resetState() {
    ToolkitState& s = toolkitState();
    s.RootWindowOpen = false;
    s.CurrentDialogNumber = 0;
    s.LastErrorNumber = s.ErrorCategory = s.OsErrorCode = s.FileOsErrorCode = 0;
    s.ErrorReportMode = 0;
    s.LastDialogClosingField = s.LastDialogChangedField = s.LastDialogThirdValue = 0;
    s.ActiveHardcopyDriver = 0;
    s.Hpgl2Request = s.PlotterRequest = s.PrinterRequest = 0;
    s.RasterModelChosen = s.DriverChosen = s.ColourModeChosen = false;
    s.PlotInputFileUnit = 42;
}

// Every metafile slot becomes free (a slot that holds something is freed).
void freeMetafileSlots() {
    const ToolkitSeams& hooks = seams();
    for (int slot = 1; slot <= kMetafileSlots; ++slot)
        if (hooks.metafileSlotInUse && hooks.metafileSlotInUse(slot) && hooks.metafileDestroy)
            hooks.metafileDestroy(slot);
}

void clearEditorBuffers() {
    for (EditorBufferEntry& e : toolkitState().EditorBuffers)
        e = EditorBufferEntry{};
}

}  // namespace

void ScreenMetricsInit(int& width, int& height, int& colours, int& paletteSize,
                       int& capabilityBits) {
    ScreenMetrics m = seams().screenMetrics ? seams().screenMetrics() : ScreenMetrics{};
    int bits = std::min(m.bitsPerPixel, 24);
    // More than 24 bits of colour in all planes is still counted as true colour.
    int depth = std::clamp(m.planes * bits, 0, 24);
    width = m.width;
    height = m.height;
    colours = 1 << depth;
    paletteSize = colours == 2 ? 2 : colours == 16 ? 8 : colours == 256 ? 16 : 256;
    capabilityBits = 3;
    ToolkitState& s = toolkitState();
    s.ScreenLogPixelsX = m.logPixelsX;
    win::OSVERSIONINFOA info;
    win::GetVersionExA(&info);
    s.NtFamily = info.dwPlatformId == win::VER_PLATFORM_WIN32_NT;
    s.OsMajorVersion = static_cast<int>(info.dwMajorVersion);
}

int ScreenInfoQuery(int selector) {
    const ToolkitState& s = toolkitState();
    switch (selector) {
        case 1:
            return s.ScreenWidth;
        case 2:
            return s.ScreenHeight;
        case 3:
            return s.ScreenColours;
        case 4:
            return s.ScreenCapabilityBits & 1;
        case 5:
            return (s.ScreenCapabilityBits >> 1) & 1;
        default:
            return 0;
    }
}

void PrinterColourModeSet(int mode) {
    ToolkitState& s = toolkitState();
    if (mode >= 1 && mode <= 5) {
        s.PrinterColourMode = mode;
        s.ColourModeChosen = true;
        return;
    }
    int model = s.RasterPrinterModel;
    s.PrinterColourMode = model == 32 || model == 35 ? 2 : model == 38 ? 5 : model == 29 ? 3 : 1;
}

void RasterPrinterModelSet(int model) {
    ToolkitState& s = toolkitState();
    if (model >= 2 && model <= 38 && model != 27) {
        s.RasterPrinterModel = model;
        s.RasterModelChosen = true;
    } else {
        s.RasterPrinterModel = model = 28;
    }
    std::string_view entry = kRasterModels[static_cast<std::size_t>(model)];
    std::size_t type = std::string_view("MFSXQ2LDP345").find(entry[0]);
    s.RasterPrinterType = type == std::string_view::npos ? 0 : static_cast<int>(type) + 1;
    s.RasterColourDepth = entry[1] - '0';
    std::size_t scheme = std::string_view("RC").find(entry[2]);
    s.RasterColourScheme = scheme == std::string_view::npos ? 0 : static_cast<int>(scheme) + 1;
    s.RasterOptionDigit = entry[3] - '0';
    if (entry[4] == '2' && !s.ColourModeChosen) PrinterColourModeSet(0);
    if (s.RasterPrinterType == 0) return;
    const PrinterType& t = kPrinterTypes[s.RasterPrinterType - 1];
    s.RasterPins = t.pins;
    if (t.verticalStep != 0) s.RasterVerticalStep = t.verticalStep;
    s.RasterResolutions = t.resolutions;
    s.RasterResolutionCount = t.count;
    if (t.becomes != 0) s.RasterPrinterType = t.becomes;
}

void HardcopyDriverNumberSet(int driver) {
    ToolkitState& s = toolkitState();
    if (driver >= 1 && driver <= 10) {
        s.HardcopyDriverNumber = driver;
        s.DriverChosen = true;
    } else if (driver >= 11 && driver <= 15) {
        s.HardcopyDriverNumber = 1;
        s.PrinterColourMode = driver - 10;
        s.ColourModeChosen = true;
    } else {
        s.HardcopyDriverNumber = 1;
    }
}

void HardcopyPageDefaults(int kind) {
    ToolkitState& s = toolkitState();
    s.PageKind = kind == 2 ? 2 : 10;
    if (s.PageKind == 10) {
        PrinterCaps caps;
        if (seams().printerQueryCaps)
            caps = seams().printerQueryCaps();
        else
            caps.osError = static_cast<int>(win::ERROR_NOT_SUPPORTED);
        s.PageWords = {caps.longSide,    caps.shortSide, caps.usableLong,
                       caps.usableShort, caps.marginX,   caps.marginY};
        s.PageColourCount = caps.colours;
        s.PrinterAvailable = caps.osError == 0;
    } else {
        s.PageWords = {756, 540, 756, 540, 42, -20};
        s.PrinterDumpFileName = "rudodump.ps";
    }
    s.PageOptionDigit = std::min(s.RasterOptionDigit, 2);
}

void ToolkitVersionText(TextOut text) {
    putText(text, kVersion);
}

void BeepFlagSet(int on) {
    toolkitState().BeepEnabled = on != 0;
}

void ToolkitInit(std::string_view settingsFile) {
    ToolkitState& s = toolkitState();
    if (s.InitialisedMarker == ToolkitState::InitialisedMarkerValue) return;
    s.InitialisedMarker = ToolkitState::InitialisedMarkerValue;
    DialogManagerBind();
    NumericEditHooksBind();
    GridDialogHooksBind();
    EditorsBind();
    WindowSeamsBind();
    MenuBarsBind();
    WindowTextBind();
    GraphicsWindowBind();
    HardcopyOutputBind();
    ScreenMetricsInit(s.ScreenWidth, s.ScreenHeight, s.ScreenColours, s.PaletteSize,
                      s.ScreenCapabilityBits);
    ToolkitDirectoryInit();
    resetState();
    freeMetafileSlots();
    s.EditorBuffers.assign(kEditorWindows * kEditorFiles, EditorBufferEntry{});
    BeepFlagSet(1);
    s.CharsetDirectory =
        s.ToolkitDirectory.empty() ? std::string() : s.ToolkitDirectory + "charsets";
    findSettingsFile();
    s.PrinterDumpFileName.clear();
    s.HardcopyOutputFileName.clear();
    s.CharsetFileName = "standard.chr";
    TemporaryFileNamesInit();
    std::array<char, 261> system{};
    int error = 0;
    Win32SystemDirectory(system.data(), 260, error);
    s.SystemDirectory = error != 0 ? std::string() : std::string(fromOs(system.data(), 260));

    std::string debug = environmentText("RUDODEBUG");
    SetErrorReportMode((debug.empty() ? ' ' : debug[0]) - '0');
    s.LastErrorNumber = 0;
    char one = ' ';
    CommandLineSplit(-1, TextOut(&one, 1));

    SettingsRead read = readSettings(settingsFile);

    if (!s.CharsetDirectory.empty()) s.CharsetDirectory = withSeparator(s.CharsetDirectory);
    s.PrinterColourMode = 0;
    RasterPrinterModelSet(s.PrinterRequest);
    HardcopyDriverNumberSet(s.PlotterRequest);
    if (!(s.Hpgl2Request == 0 && s.PrinterColourMode != 0)) PrinterColourModeSet(s.Hpgl2Request);
    HardcopyPageDefaults(0);
    if (read.versionKey) AbnormalExit("Veraziderad version " + std::string(kVersion), 0);
}

void ToolkitShutdown() {
    ToolkitSeams& hooks = seams();
    if (hooks.hardcopySwitch) hooks.hardcopySwitch("S", " ");
    freeMetafileSlots();
    if (hooks.windowDestroyAll) hooks.windowDestroyAll();
    ToolkitState& s = toolkitState();
    s.RootWindowOpen = false;
    s.CurrentDialogNumber = 0;
    s.LastDialogClosingField = s.LastDialogChangedField = s.LastDialogThirdValue = 0;
    windowSystem().WindowFlags[0] = -1;
    clearEditorBuffers();
}

}  // namespace tk
