#include "shell/export_commands.h"

#include <algorithm>
#include <string>

#include "files/ascii_export.h"
#include "files/atomic_write.h"
#include "files/model_file.h"
#include "files/regional_file.h"
#include "files/xyz_export.h"
#include "shell/resources/resource_ids.h"
#include "shell/shell_state.h"
#include "shell/small_dialogs.h"
#include "shell/window_views.h"
#include "toolkit/core/window_api.h"
#include "toolkit/dialogs/file_select.h"
#include "toolkit/graphics/graphics_state.h"
#include "toolkit/output/hardcopy_dispatch.h"
#include "toolkit/output/hardcopy_options.h"
#include "util/message_boxes.h"
#include "util/pen_plotter.h"

namespace shell {

namespace {

constexpr int kSaveFlags = 47;

// A page of the window's proportions and of its size on the screen (96
// pixels an inch), not turned: the picture keeps its shapes.
void windowPage(int window) {
    tk::OutputWindowSelect(window);
    const tk::GraphicsState& g = tk::graphicsState();
    tk::HardcopyOptionSet(5, 0);
    tk::HardcopyOptionSet(1, std::max(1, g.targetWidth * 3 / 4));
    tk::HardcopyOptionSet(2, std::max(1, g.targetHeight * 3 / 4));
}

void encapsulatedPage(int window) {
    tk::HardcopyOptionSet(22, 1);
    windowPage(window);
}

// A page of the window's pixels in true colour, so that the image file
// holds the picture the screen shows.
template <int Format>
void imagePage(int window) {
    tk::OutputWindowSelect(window);
    const tk::GraphicsState& g = tk::graphicsState();
    tk::HardcopyOptionSet(tk::hc::PageWidth, std::max(1, g.targetWidth));
    tk::HardcopyOptionSet(tk::hc::PageHeight, std::max(1, g.targetHeight));
    tk::HardcopyOptionSet(tk::hc::ColourDepth, 24);
    tk::HardcopyOptionSet(tk::hc::BitmapFormat, Format);
}

struct DrawingFormat {
    int command;
    const char* filter;
    const char* title;
    int driver;
    // Sets the driver's options once it is selected; none keeps its own.
    void (*prepare)(int window) = nullptr;
};

constexpr DrawingFormat kDrawingFormats[] = {
    {CMD_EXPORTDXF, "DXF graphics file|*.DXF|", "DXF graphics file", tk::hc::DxfDriverNumber},
    {CMD_EXPORTCGM, "CGM graphics file|*.CGM|", "CGM graphics file", tk::hc::CgmDriverNumber},
    {CMD_EXPORTWMF, "WMF graphics file|*.WMF|", "WMF graphics file", tk::hc::MetafileDriverNumber},
    {CMD_EXPORTEPS, "EPS graphics file|*.EPS|", "EPS graphics file",
     tk::hc::PostScriptDriverNumber, encapsulatedPage},
    {CMD_EXPORTSVG, "SVG graphics file|*.SVG|", "SVG graphics file", tk::hc::SvgDriverNumber,
     windowPage},
    {CMD_EXPORTHPGL, "HP-GL plot file|*.PLT|", "HP-GL plot file", tk::hc::HpglDriverNumber},
    {CMD_EXPORTHPGL2, "HP-GL/2 plot file|*.PLT|", "HP-GL/2 plot file", tk::hc::Hpgl2DriverNumber},
    {CMD_EXPORTBMP, "BMP image file|*.BMP|", "BMP image file", tk::hc::BitImageDriverNumber,
     imagePage<1>},
    {CMD_EXPORTPNG, "PNG image file|*.PNG|", "PNG image file", tk::hc::BitImageDriverNumber,
     imagePage<3>},
    {CMD_EXPORTPCX, "PCX image file|*.PCX|", "PCX image file", tk::hc::BitImageDriverNumber,
     imagePage<0>},
};

const DrawingFormat* formatOf(int command) {
    for (const DrawingFormat& f : kDrawingFormats)
        if (f.command == command) return &f;
    return nullptr;
}

template <int Command>
void exportAs(int window) {
    exportDrawing(window, Command);
}

// Draws the window with the plotter page set for hardcopy (no clearing) or,
// afterwards, for the screen again.
void drawWindow(int window, float screen) {
    util::PLOTXY(screen, 0.0f, 1, mainLoop().MapAxis);
    if (window == 0)
        refreshMap();
    else if (window == profileWindow())
        refreshProfileWindow();
}

void reportUnwritten(const std::string& name, const std::string& why) {
    util::WINMSG("THE FILE " + name + " WAS NOT WRITTEN:\r\n" + why);
}

// The profile window's text exports ask for their file themselves.
bool fromProfileWindow(int window) {
    if (window != profileWindow()) return false;
    mainLoop().FileName = base::FixedString<256>();
    return true;
}

void exportAsciiData(int window) {
    if (!fromProfileWindow(window)) return;
    files::ASCIIOUT(workingProfile(), 0.0f, mainLoop().FileName.trimmed(), false);
}

void exportAsciiSynthetics(int window) {
    if (!fromProfileWindow(window)) return;
    // Asked before the noise: synthetics never calculated, or calculated
    // for another model, are not written.
    if (!files::syntheticsAvailable(workingProfile())) return;
    int status = 0;
    NUMINDLG("Add random noise to Synthetic (%)", shellSession().NoisePercent, status);
    if (status != 0) return;
    files::ASCIIOUT(workingProfile(), shellSession().NoisePercent, mainLoop().FileName.trimmed(),
                    true);
}

void exportModel(int window) {
    if (!fromProfileWindow(window)) return;
    std::string name;
    int status = 0;
    model::ProfileLine& w = workingProfile();
    files::MODAIO(w, w.MODEL, 'W', name, status);
}

void exportXyz(int window) {
    if (!fromProfileWindow(window)) return;
    std::string name;
    files::XYZOUT(workingProfile(), name, false, true);
}

void exportRegional(int window) {
    if (!fromProfileWindow(window)) return;
    files::REGIONALOUT(workingProfile(), mainLoop().FileName.trimmed());
}

}  // namespace

std::string chooseFileName(const char* filter, int flags, const char* title) {
    base::FixedString<256>& name = mainLoop().FileName;
    name = base::FixedString<256>();
    tk::SelectFileFront(filter, flags, tk::TextOut(name.data(), name.size()), title);
    if (tk::DialogInfoQuery(4) != 1) return {};
    return std::string(name.trimmed());
}

void exportDrawing(int window, int command) {
    const DrawingFormat* format = formatOf(command);
    if (!format) return;
    const std::string name = chooseFileName(format->filter, kSaveFlags, format->title);
    if (name.empty()) return;
    files::StagedFile staged = files::stageFile(name);
    if (staged.temp.empty()) {
        reportUnwritten(name, staged.error);
        return;
    }
    tk::HardcopySelectDriver(1, format->driver);
    if (format->prepare) format->prepare(window);
    tk::HardcopySwitch(staged.temp);
    tk::OutputWindowSelect(window);
    drawWindow(window, 0.0f);
    tk::HardcopySwitch("S");
    tk::ResetGraphicsState(" ");
    if (!files::commitStagedFile(staged)) reportUnwritten(name, staged.error);
    tk::OutputWindowSelect(window);
    drawWindow(window, 1.0f);
}

void addExportCommands(CommandTable& t) {
    t.set(CMD_EXPORTDXF, exportAs<CMD_EXPORTDXF>);
    t.set(CMD_EXPORTCGM, exportAs<CMD_EXPORTCGM>);
    t.set(CMD_EXPORTWMF, exportAs<CMD_EXPORTWMF>);
    t.set(CMD_EXPORTEPS, exportAs<CMD_EXPORTEPS>);
    t.set(CMD_EXPORTSVG, exportAs<CMD_EXPORTSVG>);
    t.set(CMD_EXPORTHPGL, exportAs<CMD_EXPORTHPGL>);
    t.set(CMD_EXPORTHPGL2, exportAs<CMD_EXPORTHPGL2>);
    t.set(CMD_EXPORTBMP, exportAs<CMD_EXPORTBMP>);
    t.set(CMD_EXPORTPNG, exportAs<CMD_EXPORTPNG>);
    t.set(CMD_EXPORTPCX, exportAs<CMD_EXPORTPCX>);
    t.set(CMD_EXPORTASCIIDATA, exportAsciiData);
    t.set(CMD_EXPORTSYNTHETICS, exportAsciiSynthetics);
    t.set(CMD_EXPORTMODEL, exportModel);
    t.set(CMD_EXPORTXYZ, exportXyz);
    t.set(CMD_EXPORTREGIONAL, exportRegional);
}

}  // namespace shell
