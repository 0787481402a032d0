#pragma once
// The text layer under the PostScript driver: numbers and operators made
// into squeezed lines of the plot output file, the pending path with the
// colour it is to be painted in, colour components, circular arcs and
// sectors, and the hexadecimal colour writer shared with the SVG driver.
// Every call writes whole lines.

#include <string>
#include <string_view>

#include "toolkit/graphics/device_protocol.h"

namespace tk {

struct PsColour {
    float red = 0, green = 0, blue = 0;
    bool operator==(const PsColour&) const = default;
};

// What the PostScript file holds so far and what is waiting to be written.
struct PsOutputState {
    int pendingSegments = 0;  // segments of the path not yet painted
    PsColour current;         // the colour the next path is painted in
    PsColour written{-1, -1, -1};
    int savedColour = -1;  // the value of the last colour request, -1 black
    int lineStyleWritten = 0;
    int lineWidthWritten = 0;  // LineWidthOption units
    bool fontPending = true;
    int page = 1;
};
PsOutputState& psOutputState();

// The text squeezed: leading and trailing blanks dropped, inner runs of
// blanks made one blank.
std::string PsSqueeze(std::string_view text);
void PsWriteToken(std::string_view text);
// The first 255 characters of the text as they stand.
void PsFlushLine(std::string_view text);
void PsWriteRealOp(float value, std::string_view op);
// (x x ScaleX, y x ScaleY); the rotated form exchanges the scales.
void PsWritePoint(float x, float y, std::string_view op);
void PsWritePointRotated(float a, float b, std::string_view op);
void PsWriteTriple(float a, float b, float c, std::string_view op);
// Paints the pending path: 1 stroke, 2 fill; 3 writes only a changed colour.
void PsEndPath(int mode);
// A colour value (-1 black, else a colour number or packed RGB in the
// current colour mode) as components 0-1, after ColourHandling.
PsColour PsColourComponents(int value);
// A circular arc (34) or sector (13) at the request's centre, radius and
// angles, inside gsave and grestore.
void PsArc(int request);
// Six lower-case hexadecimal digits of a colour.
std::string ColourToHex(int red, int green, int blue);
// The device description of the page-description drivers (PostScript and
// SVG): device text at any angle, colour numbers used as they are.
DeviceInfo PageDescriptionDevice();

}  // namespace tk
