// Ties the output devices to the graphics layer: the drivers built here
// register under their numbers, and the graphics layer's hardcopy hooks
// read and write the hardcopy options.

#include <algorithm>

#include "toolkit/core/seams.h"
#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_services.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/dxf_driver.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/hpgl2_driver.h"
#include "toolkit/output/hpgl_driver.h"
#include "toolkit/output/metafile_slots.h"
#include "toolkit/output/postscript_driver.h"
#include "toolkit/output/printer_device_context.h"
#include "toolkit/output/printer_driver.h"
#include "toolkit/output/raster_binding.h"
#include "toolkit/output/screen_picture_print.h"
#include "toolkit/output/svg_driver.h"

namespace tk {

namespace {

// ResetGraphicsState's hardcopy step: options 1-29 cleared and request 1
// again, which gives the driver's own values; when asked, the options (and
// the default name) as they were are kept over it.
void resetDriver(bool keepPageOptions) {
    HardcopyOptions& o = hardcopyOptions();
    hardcopyDeviceState().pageDirty = false;
    DeviceParameterBlock& b = deviceBlock();
    const HardcopyOptions saved = o;
    o.low.fill(0);
    if (!keepPageOptions) {
        b.value = 0;
        HardcopyDriverRequest(1);
        return;
    }
    b.value = -998;
    HardcopyDriverRequest(1);
    o.low = saved.low;
    o.high = saved.high;
    o.defaultFileName = saved.defaultFileName;
}

void bindTemporaryNames() {
    HardcopyOptions& o = hardcopyOptions();
    const ToolkitState& t = toolkitState();
    if (o.temporaryPlotFile.blank() && !t.TemporaryPlotFileName.empty())
        o.temporaryPlotFile.assign(t.TemporaryPlotFileName);
    if (o.temporaryDumpFile.blank() && !t.TemporaryDumpFileName.empty())
        o.temporaryDumpFile.assign(t.TemporaryDumpFileName);
}

}  // namespace

void HardcopyOutputBind() {
    RegisterHardcopyDriver(hc::HpglDriverNumber, HpglDriver);
    RegisterHardcopyDriver(hc::PostScriptDriverNumber, PostScriptDriver);
    RegisterHardcopyDriver(hc::SvgDriverNumber, SvgDriver);
    RegisterHardcopyDriver(hc::DxfDriverNumber, DxfDriver);
    RegisterHardcopyDriver(hc::PrinterDriverNumber, XXWIN);
    RegisterHardcopyDriver(hc::Hpgl2DriverNumber, Hpgl2Driver);
    BindMetafileDrivers();
    BindRasterOutput();
    bindTemporaryNames();
    GraphicsServices& s = graphicsServices();
    s.hardcopyPageSize = [](float& width, float& height) {
        width = static_cast<float>(hardcopyOptions()[hc::PageWidth]);
        height = static_cast<float>(hardcopyOptions()[hc::PageHeight]);
    };
    s.setHardcopyLineWidth = [](int width) {
        hardcopyOptions()[hc::LineWidthOption] = std::max(width, 1);
    };
    s.hardcopyLineWidth = [] { return hardcopyOptions()[hc::LineWidthOption]; };
    s.hardcopyEndOutput = [] { HardcopySwitch("S"); };
    s.hardcopyReset = resetDriver;
    s.printPicture = PrintScreenPicture;
    ToolkitSeams& t = seams();
    t.hardcopySwitch = [](std::string_view name, std::string_view title) {
        HardcopySwitch(name, title);
    };
    // Shutdown frees every slot; freeing an empty one only clears it again.
    t.metafileSlotInUse = validMetafileSlot;
    t.metafileDestroy = FreeMetafileSlot;
    t.printerQueryCaps = [] {
        const PrinterPageCaps caps = PrinterQueryCaps();
        PrinterCaps out;
        out.longSide = caps.longSide;
        out.shortSide = caps.shortSide;
        out.usableLong = caps.usableWidth;
        out.usableShort = caps.usableHeight;
        out.marginX = caps.offsetX;
        out.marginY = caps.offsetY;
        out.colours = caps.colourCount;
        out.osError = caps.error;
        return out;
    };
}

}  // namespace tk
