#pragma once
// The names of the hardcopy device models that the device options dialog
// offers: raster printer models 2-38 (27 characters, model 27 blank), pen
// plotter models 1-10 (27 characters) and HP-GL/2 printers 1-5 (31
// characters), and the model selected of each kind.

#include <string_view>

#include "toolkit/core/text_args.h"

namespace tk {

enum DeviceKind { RasterPrinterKind = 1, PenPlotterKind = 2, Hpgl2PrinterKind = 3 };

// The model numbers of a kind (first and last) and the name of one of them,
// blank-padded to the kind's width; blanks for a number outside the table.
int firstDeviceModel(int kind);
int lastDeviceModel(int kind);
std::string_view deviceModelName(int kind, int model);

// The model selected of each kind, the one its driver draws for: the raster
// printer model, the pen plotter model (the hardcopy driver number of the
// core's state, 1-10) and the HP-GL/2 device (its printer colour mode, 1-5);
// an unset or out-of-range number stands for model 1 of the plotters.
int selectedDeviceModel(int kind);
void selectDeviceModel(int kind, int model);

// The selected model's name of KIND into NAME, cut to its length and
// blank-padded; blanks for another kind. A NAME shorter than the kind's
// width gets the front of the name and error 1023.
void InfoDeviceName(int kind, TextOut name);

}  // namespace tk
