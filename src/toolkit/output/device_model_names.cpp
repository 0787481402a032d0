#include "toolkit/output/device_model_names.h"

#include <array>

#include "toolkit/core/error_report.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/toolkit_state.h"

namespace tk {

namespace {

// Raster printers by their printer language and colour; the models carry no
// names of their own, so each says what it drives.
constexpr std::array<std::string_view, 39> kRasterNames = {
    "",                            "",
    "IBM Graphics Printer       ", "Epson FX 8-pin             ",
    "Epson FX 8-pin, 120 dpi    ", "Epson FX 8-pin, 240 dpi    ",
    "Epson MX/RX 8-pin          ", "IBM Proprinter 8-pin       ",
    "Star/Citizen 8-pin         ", "Epson 9-pin, single density",
    "HP LaserJet Plus           ", "HP LaserJet II             ",
    "IBM Graphics, 120 dpi      ", "HP PaintJet colour         ",
    "HP DeskJet                 ", "Olivetti 8-pin             ",
    "NEC 8-pin                  ", "Epson LQ 24-pin            ",
    "NEC P6/P7 24-pin           ", "Epson LX 8-pin             ",
    "Panasonic 8-pin            ", "HP PaintJet XL colour      ",
    "HP DeskJet Plus            ", "Epson FX colour            ",
    "Epson JX colour            ", "Epson LQ 24-pin colour     ",
    "NEC P6/P7 24-pin colour    ", "                           ",
    "HP LaserJet III/4L         ", "HP LaserJet 4 600 dpi      ",
    "HP PaintJet 300 dpi colour ", "HP DeskJet 500C colour     ",
    "HP DeskJet 550C colour     ", "HP DeskJet 600 dpi         ",
    "HP DeskJet 660C colour     ", "HP Color LaserJet          ",
    "Epson Stylus               ", "Epson Stylus colour        ",
    "HP Color LaserJet 600 dpi  ",
};

constexpr std::array<std::string_view, 11> kPlotterNames = {
    "",
    "Generic HP-GL 4-pen plotter", "HP 7475A A4 paper (6 pens) ",
    "HP 7475A A3 paper (6 pens) ", "Epson HI80/HP ROM (4 pens) ",
    "Facit 4550 A4     (6 pens) ", "HP 7440A A4 paper (8 pens) ",
    "HP 7550A A4 paper (8 pens) ", "HP 7550A A3 paper (8 pens) ",
    "Facit 4551 A4     (6 pens) ", "Facit 4551 A3     (6 pens) ",
};

constexpr std::array<std::string_view, 6> kHpgl2Names = {
    "",
    "HP LaserJet III                ", "HP DJet 1200C/1600C, Color LJet",
    "HP LaserJet 4/5                ", "HP DesignJet                   ",
    "HP Color LaserJet 4500/8500    ",
};

constexpr std::string_view kBlank = "                               ";

int widthOf(int kind) {
    return kind == Hpgl2PrinterKind ? 31 : 27;
}

}  // namespace

int firstDeviceModel(int kind) {
    return kind == RasterPrinterKind ? 2 : 1;
}

int lastDeviceModel(int kind) {
    return kind == RasterPrinterKind ? 38 : kind == PenPlotterKind ? 10 : 5;
}

std::string_view deviceModelName(int kind, int model) {
    if (kind < RasterPrinterKind || kind > Hpgl2PrinterKind || model < firstDeviceModel(kind) ||
        model > lastDeviceModel(kind))
        return kBlank.substr(0, static_cast<std::size_t>(widthOf(kind)));
    const auto at = static_cast<std::size_t>(model);
    return kind == RasterPrinterKind ? kRasterNames[at]
           : kind == PenPlotterKind  ? kPlotterNames[at]
                                     : kHpgl2Names[at];
}

int selectedDeviceModel(int kind) {
    const ToolkitState& s = toolkitState();
    switch (kind) {
        case RasterPrinterKind:
            return s.RasterPrinterModel;
        case PenPlotterKind:
            return s.HardcopyDriverNumber >= 1 && s.HardcopyDriverNumber <= 10 ? s.HardcopyDriverNumber : 1;
        case Hpgl2PrinterKind:
            return s.PrinterColourMode >= 1 && s.PrinterColourMode <= 5 ? s.PrinterColourMode : 1;
        default:
            return 0;
    }
}

void selectDeviceModel(int kind, int model) {
    if (kind == RasterPrinterKind)
        RasterPrinterModelSet(model);
    else if (kind == PenPlotterKind)
        HardcopyDriverNumberSet(model);
    else if (kind == Hpgl2PrinterKind)
        PrinterColourModeSet(model);
}

void InfoDeviceName(int kind, TextOut name) {
    const bool known = kind >= RasterPrinterKind && kind <= Hpgl2PrinterKind;
    const std::string_view text =
        known ? deviceModelName(kind, selectedDeviceModel(kind)) : std::string_view();
    putText(name, text);
    if (known && name.size() < static_cast<std::size_t>(widthOf(kind)))
        ReportLibraryError(1023, "InfoDeviceName");
}

}  // namespace tk
