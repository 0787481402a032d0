#pragma once
// Hardcopy driver 1: the device requests written as HP-GL for one of ten pen
// plotter models: pens chosen by colour, fills left to the graphics layer
// (or drawn by plotters that fill, when asked) and recorded in shape
// records, labels in the plotter's own characters.

#include "toolkit/graphics/device_protocol.h"

namespace tk {

void HpglDriver(DeviceRequest request);
// The pen character ('1' upwards) of a colour number on a plotter of
// `pens` pens.
char HpglPenFromColour(int colourNumber, int pens);
// Plotter units per inch and pens of model 1-10 (the first for other numbers).
struct HpglModelFacts {
    int unitsPerInch, pens;
};
HpglModelFacts HpglModel(int model);

}  // namespace tk
