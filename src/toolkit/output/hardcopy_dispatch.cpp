#include "toolkit/output/hardcopy_dispatch.h"

#include <string>

#include "toolkit/core/error_report.h"
#include "toolkit/core/file_services.h"
#include "toolkit/core/os_wrappers.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/colour_table.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_options.h"

namespace tk {

namespace {

constexpr int kProbe = -999;

bool endsOutputOnly(std::optional<std::string_view> name) {
    return name && name->size() <= 1 && !name->empty() &&
           (name->front() == 'S' || name->front() == 's');
}

void endCurrentOutput() {
    DeviceParameterBlock& b = deviceBlock();
    if (hardcopyDeviceState().pageDirty) {
        b.value = 32;
        b.count = 1;
        SendHardcopyRequest(20);
    }
    SendHardcopyRequest(19);
    graphicsState().hardcopyDriver = 0;
}

// Colours given only as RGB values become the nearest table entry.
void settleColourNumbers() {
    GraphicsState& g = graphicsState();
    if (g.colourNumber == -1) NearestColourNumber(g.rgb, g.colourNumber);
    if (g.previousColourNumber == -1) NearestColourNumber(g.previousRgb, g.previousColourNumber);
}

void runPendingCommand() {
    HardcopyOptions& o = hardcopyOptions();
    if (o.pendingPrintCommand.blank()) return;
    const std::string_view pending = o.pendingPrintCommand.view();
    const std::size_t at = pending.find('@');
    const std::string_view temporary = o.temporaryPlotFile.trimmed();
    std::string command(pending.substr(0, at));
    command += temporary;
    if (at != std::string_view::npos) command += pending.substr(at + 1);
    YYPRNCMD(command);
    OsDeleteFile(temporary);
    o.pendingPrintCommand.assign("");
}

void startOutput(std::optional<std::string_view> name, std::optional<std::string_view> title) {
    DeviceParameterBlock& b = deviceBlock();
    HardcopyOptions& o = hardcopyOptions();
    HardcopyDeviceState& d = hardcopyDeviceState();
    b.count = kProbe;
    HardcopyDriverRequest(1);
    if (b.count == kProbe) return;
    deviceTextBuffer() = o.defaultFileName;
    b.count = 1;
    if (name && !base::FixedString<260>(*name).blank()) {
        deviceTextBuffer().assign(*name);
        b.count = 0;
    }
    // The temporary names are made at start-up, possibly after the binding.
    if (o.temporaryPlotFile.blank())
        o.temporaryPlotFile.assign(toolkitState().TemporaryPlotFileName);
    if (d.printCommandAllowed != 0 &&
        deviceTextBuffer().view().find(" @ ") != std::string_view::npos) {
        o.pendingPrintCommand = deviceTextBuffer();
        deviceTextBuffer() = o.temporaryPlotFile;
    }
    if (title) o.title.assign(*title);
    b.pixX[1] = title ? 1 : 0;
    GraphicsState& g = graphicsState();
    g.hardcopyDriver = SelectedHardcopyDriver();
    b.value = 1;
    SendHardcopyRequest(18);
    PageAspectRatio();
    ApplyPageOrientation();
    if (g.screenOutput == 0) g.deviceColourCount = g.outputColourCount = d.colourCount;
    settleColourNumbers();
    d.lastPenX = d.lastPenY = -9999.0f;
    for (int code : {30, 29, 36, 37, 24, 21, 3})
        SendHardcopyRequest(code);
}

}  // namespace

void HardcopySelectDriver(int request, int driverNumber) {
    if (request != 1) return;
    SelectHardcopyDriverNumber(driverNumber);
    HardcopyDriverRequest(1);
}

int SelectedHardcopyDriver() {
    return HardcopyDriverNumber();
}

void HardcopySwitch(std::optional<std::string_view> name, std::optional<std::string_view> title) {
    endCurrentOutput();
    if (endsOutputOnly(name))
        runPendingCommand();
    else
        startOutput(name, title);
}

void YYPRNCMD(std::string_view command) {
    int kind = 0;
    WindowsPlatformQuery(kind);
    std::string line = kind == 4 ? "cmd.exe /c " : "command.com /c ";
    line += command;
    int result = 0;
    Win32RunProcess(line.c_str(), 1, 1, -1, result);
    if (result != 32) {
        toolkitState().ErrorCategory = 0;
        ReportLibraryError(13, "YYPRNCMD");
    }
}

}  // namespace tk
