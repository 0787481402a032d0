// Binds the CGM and Windows metafile drivers to the hardcopy layer: its
// options and device description, the plot output file and the output
// switch, and registers both under their numbers.

#include "toolkit/core/toolkit_state.h"
#include "toolkit/graphics/device_protocol.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/cgm_driver.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_driver.h"
#include "toolkit/output/hardcopy_options.h"
#include "toolkit/output/metafile_slots.h"
#include "toolkit/output/plot_output_file.h"
#include "toolkit/output/wmf_driver.h"

namespace tk {
namespace {

constexpr int kMetafileKindOption = 27, kMetafileSystemDashesOption = 29;

void switchOutputOff() {
    graphicsState().hardcopyDriver = 0;
}

void cgmDefaults() {
    HardcopyDriverDefaults();
    HardcopyOptions& o = hardcopyOptions();
    o[hc::PageWidth] = 756;
    o[hc::PageHeight] = 540;
    o[hc::PageOffsetX] = o[hc::PageOffsetY] = o[hc::Orientation] = 0;
    o[hc::CgmFontListKind] = 2;
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.colourCount = d.colourLimit = 256;
    d.printCommandAllowed = 0;
    d.resolutionX = d.resolutionY = 600;
    SetDefaultFileExtension(".cgm");
    d.activeDriver = hc::CgmDriverNumber;
}

CgmSettings cgmSettings() {
    const HardcopyOptions& o = hardcopyOptions();
    CgmSettings s;
    s.pageWidth = o[hc::PageWidth];
    s.pageHeight = o[hc::PageHeight];
    s.colourHandling = o[hc::ColourHandling];
    s.lineWidthOption = o[hc::LineWidthOption];
    s.lineJoinOption = o[hc::LineJoinOption];
    s.lineCapOption = o[hc::LineCapOption];
    s.fontListKind = o[hc::CgmFontListKind];
    s.resolutionX = hardcopyDeviceState().resolutionX;
    s.resolutionY = hardcopyDeviceState().resolutionY;
    s.title = std::string(o.title.trimmed());
    return s;
}

void wmfDefaults() {
    HardcopyDriverDefaults();
    HardcopyOptions& o = hardcopyOptions();
    o[hc::PageWidth] = 756;
    o[hc::PageHeight] = 540;
    o[kMetafileKindOption] = 1;
    o[kMetafileSystemDashesOption] = 0;
    o.defaultFileName.assign("");
    HardcopyDeviceState& d = hardcopyDeviceState();
    d.resolutionX = d.resolutionY = 600;
    d.colourCount = d.colourLimit = 256;
    d.printCommandAllowed = 0;
    d.activeDriver = hc::MetafileDriverNumber;
}

WmfSettings wmfSettings() {
    const HardcopyOptions& o = hardcopyOptions();
    WmfSettings s;
    s.pageWidth = o[hc::PageWidth];
    s.pageHeight = o[hc::PageHeight];
    s.colourHandling = o[hc::ColourHandling];
    s.lineWidthOption = o[hc::LineWidthOption];
    s.metafileKind = o[kMetafileKindOption];
    s.systemDashes = o[kMetafileSystemDashesOption];
    s.title = std::string(o.title.trimmed());
    return s;
}

}  // namespace

void BindMetafileDrivers() {
    CgmDriverHooks& c = cgmDriverHooks();
    c.applyDefaults = cgmDefaults;
    c.settings = cgmSettings;
    c.open = [](std::string_view) { return OpenPlotFileOrStop(); };
    c.write = [](std::string_view bytes) { YYPROU(kPlotUnit, bytes); };
    c.close = [] { PlotFileClose(kPlotUnit); };
    c.outputOff = switchOutputOff;
    WmfDriverHooks& w = wmfDriverHooks();
    w.applyDefaults = wmfDefaults;
    w.settings = wmfSettings;
    w.outputOff = switchOutputOff;
    RegisterMetafileDrivers();
}

}  // namespace tk
